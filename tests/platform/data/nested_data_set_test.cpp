// Dataset fields and their nested datasets: made from definitions or added, opened and closed
// with the parent, records kept per parent record (posted, cancelled and deleted parents), a
// pending nested edit posted when the parent moves, and the links of the nested dataset told.

#include <gtest/gtest.h>

#include "data_test_support.h"
#include "platform/data/db_error.h"
#include "platform/data/nested_data_set.h"

namespace tv {
namespace {

using test::Ids;
using test::RecordingLink;

// ORDERS: NO and LINES (a dataset field whose records have ITEM and QTY), made from definitions.
void DefineOrders(TClientDataSet& orders) {
    orders.FieldDefs().Add("NO", TFieldType::ftInteger);
    TFieldDef& lines = orders.FieldDefs().Add("LINES", TFieldType::ftDataSet);
    lines.AddChild("ITEM", TFieldType::ftInteger);
    lines.AddChild("QTY", TFieldType::ftInteger);
}

void AddOrder(TDataSet& orders, int no) {
    orders.Append();
    orders.FieldByName("NO").SetAsInteger(no);
    orders.Post();
}

void AddLine(TDataSet& lines, int item) {
    lines.Append();
    lines.FieldByName("ITEM").SetAsInteger(item);
    lines.Post();
}

TEST(NestedDataSet, DatasetFieldHoldsANestedDatasetOpenedAndClosedWithItsParent) {
    TClientDataSet orders;
    DefineOrders(orders);
    orders.CreateDataSet();
    TField& field = orders.FieldByName("LINES");
    EXPECT_EQ(field.DataType(), TFieldType::ftDataSet);
    EXPECT_EQ(FieldTypeName(TFieldType::ftDataSet), "ftDataSet");
    EXPECT_EQ(field.FieldNo(), 0);  // no value in the parent's record
    auto* lines = dynamic_cast<TNestedDataSet*>(field.NestedDataSet());
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(&lines->DataSetField(), &field);
    EXPECT_EQ(&lines->ParentDataSet(), &orders);
    EXPECT_EQ(orders.FieldByName("NO").NestedDataSet(), nullptr);
    EXPECT_TRUE(lines->Active());
    EXPECT_EQ(lines->FieldCount(), 2);
    EXPECT_NE(lines->FindField("QTY"), nullptr);
    EXPECT_EQ(orders.FindField("LINES.ITEM"), nullptr);  // the nested fields are no sub-fields
    orders.Close();
    // Fields made from definitions go with the closing; opening makes them (and a new nested
    // dataset) again.
    orders.Open();
    TDataSet* reopened = orders.FieldByName("LINES").NestedDataSet();
    EXPECT_TRUE(reopened->Active());
    EXPECT_TRUE(reopened->IsEmpty());

    // A dataset field added by hand keeps its nested dataset across closing.
    TClientDataSet parent;
    parent.AddField("ID", TFieldType::ftInteger);
    TDataSet* nested = parent.AddField("ROWS", TFieldType::ftDataSet).NestedDataSet();
    nested->AddField("TEXT", TFieldType::ftString, 10);
    parent.CreateDataSet();
    EXPECT_TRUE(nested->Active());
    parent.Close();
    EXPECT_FALSE(nested->Active());
    parent.Open();
    EXPECT_TRUE(nested->Active());
}

TEST(NestedDataSet, RecordsBelongToTheParentRecordTheyWereEnteredUnder) {
    TClientDataSet orders;
    DefineOrders(orders);
    orders.CreateDataSet();
    TDataSet& lines = *orders.FieldByName("LINES").NestedDataSet();
    AddOrder(orders, 1);
    AddLine(lines, 10);
    AddLine(lines, 11);
    AddOrder(orders, 2);
    EXPECT_TRUE(lines.IsEmpty());
    EXPECT_TRUE(orders.FieldByName("LINES").IsNull());
    AddLine(lines, 20);
    orders.First();
    EXPECT_EQ(Ids(lines, "ITEM"), (std::vector<int>{10, 11}));
    EXPECT_FALSE(orders.FieldByName("LINES").IsNull());
    orders.Next();
    EXPECT_EQ(Ids(lines, "ITEM"), (std::vector<int>{20}));
    // Bookmarks of the nested records stay valid across the parent's moves.
    lines.First();
    const TBookmark twenty = lines.GetBookmark();
    orders.First();
    orders.Last();
    EXPECT_TRUE(lines.BookmarkValid(twenty));

    // A nested edit still pending when the parent moves is posted first.
    lines.Edit();
    lines.FieldByName("QTY").SetAsInteger(5);
    orders.First();
    EXPECT_EQ(lines.State(), dsBrowse);
    orders.Last();
    EXPECT_EQ(lines.FieldByName("QTY").AsInteger(), 5);

    // Without a parent record nothing can be added.
    TClientDataSet empty;
    DefineOrders(empty);
    empty.CreateDataSet();
    TDataSet& none = *empty.FieldByName("LINES").NestedDataSet();
    EXPECT_THROW(none.Append(), EDatabaseError);
    EXPECT_THROW(none.Edit(), EDatabaseError);  // an empty dataset's Edit appends
    EXPECT_EQ(none.State(), dsBrowse);
}

TEST(NestedDataSet, InsertedParentKeepsItsRecordsWhenPostedAndLosesThemWhenCancelled) {
    TClientDataSet orders;
    DefineOrders(orders);
    orders.CreateDataSet();
    TDataSet& lines = *orders.FieldByName("LINES").NestedDataSet();
    AddOrder(orders, 1);
    AddLine(lines, 10);

    orders.Append();
    orders.FieldByName("NO").SetAsInteger(2);
    EXPECT_TRUE(lines.IsEmpty());
    AddLine(lines, 20);
    orders.Post();
    EXPECT_EQ(Ids(lines, "ITEM"), (std::vector<int>{20}));

    orders.Append();
    AddLine(lines, 30);
    orders.Cancel();
    EXPECT_EQ(orders.FieldByName("NO").AsInteger(), 2);
    EXPECT_EQ(Ids(lines, "ITEM"), (std::vector<int>{20}));
    // The next new parent record starts empty: the cancelled one's records are gone.
    orders.Append();
    EXPECT_TRUE(lines.IsEmpty());
    orders.Cancel();

    // A deleted parent record's records go with it; the others stay.
    orders.First();
    orders.Delete();
    EXPECT_EQ(orders.FieldByName("NO").AsInteger(), 2);
    EXPECT_EQ(Ids(lines, "ITEM"), (std::vector<int>{20}));
    orders.EmptyDataSet();
    EXPECT_TRUE(lines.IsEmpty());
}

TEST(NestedDataSet, LinksOfTheNestedDatasetFollowTheParentsMoves) {
    TClientDataSet orders;
    DefineOrders(orders);
    orders.CreateDataSet();
    TDataSet& lines = *orders.FieldByName("LINES").NestedDataSet();
    AddOrder(orders, 1);
    AddLine(lines, 10);
    AddOrder(orders, 2);
    TDataSource source;
    source.SetDataSet(&lines);
    RecordingLink link;
    link.SetDataSource(&source);
    EXPECT_EQ(link.Take(), "active");
    orders.First();
    EXPECT_EQ(link.Take(), "changed");
    EXPECT_EQ(link.RecordCount(), 1);
    orders.Close();
    EXPECT_EQ(link.Take(), "inactive");
}

TEST(NestedDataSet, ParentStreamCarriesItsOwnFieldsOnly) {
    TClientDataSet orders;
    orders.AddField("NO", TFieldType::ftInteger);
    orders.AddField("LINES", TFieldType::ftDataSet).NestedDataSet()->AddField("ITEM", TFieldType::ftInteger);
    orders.CreateDataSet();
    AddOrder(orders, 7);
    AddLine(*orders.FieldByName("LINES").NestedDataSet(), 70);
    const std::string bytes = orders.SaveToBytes();
    TClientDataSet copy;
    copy.LoadFromBytes(bytes);
    EXPECT_EQ(copy.FieldCount(), 1);
    EXPECT_EQ(Ids(copy, "NO"), (std::vector<int>{7}));
    orders.LoadFromBytes(bytes);  // the same own fields: accepted
    EXPECT_EQ(Ids(orders, "NO"), (std::vector<int>{7}));
    EXPECT_TRUE(orders.FieldByName("LINES").NestedDataSet()->IsEmpty());
}

}  // namespace
}  // namespace tv
