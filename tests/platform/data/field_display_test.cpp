// What grids read of a dataset and its fields: display widths by type, alignment and the text
// handlers, the layout change a display property tells the controls of, default fields, and the
// dataset's sequenced and unidirectional answers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data_test_support.h"

namespace tv {
namespace {

struct WidthCase {
    TFieldType type;
    int size;
    int width;
};
constexpr WidthCase kWidthCases[] = {
    {TFieldType::ftString, 30, 30},  {TFieldType::ftFixedChar, 4, 4}, {TFieldType::ftSmallint, 0, 6},
    {TFieldType::ftWord, 0, 6},      {TFieldType::ftInteger, 0, 11},  {TFieldType::ftLargeint, 0, 15},
    {TFieldType::ftBoolean, 0, 5},   {TFieldType::ftFloat, 0, 10},    {TFieldType::ftCurrency, 0, 10},
    {TFieldType::ftDate, 0, 10},     {TFieldType::ftDateTime, 0, 18}, {TFieldType::ftMemo, 0, 10},
};

TEST(FieldDisplay, DisplayWidthFollowsTheTypeUntilSet) {
    for (const WidthCase& c : kWidthCases) {
        TClientDataSet ds;
        ds.FieldDefs().Add("F", c.type, c.size);
        ds.CreateDataSet();
        TField& f = ds.FieldByName("F");
        EXPECT_EQ(f.DisplayWidth(), c.width) << FieldTypeName(c.type);
        f.SetDisplayWidth(3);
        EXPECT_EQ(f.DisplayWidth(), 3);
        f.SetDisplayWidth(-5);  // below 0: the type's width again
        EXPECT_EQ(f.DisplayWidth(), c.width);
    }
}

// Counts the layout changes a link hears.
class TLayoutLink : public TDataLink {
public:
    int layouts = 0;

protected:
    void LayoutChanged() override { ++layouts; }
};

TEST(FieldDisplay, DisplayPropertiesTellAnOpenDatasetsControlsOfALayoutChange) {
    auto ds = test::NumberedTable(3);
    TDataSource source;
    source.SetDataSet(ds.get());
    TLayoutLink link;
    link.SetDataSource(&source);
    TField& name = ds->FieldByName("NAME");
    name.SetDisplayWidth(12);
    name.SetAlignment(taCenter);
    name.SetDisplayLabel("Namn");
    name.SetVisible(false);
    EXPECT_EQ(link.layouts, 4);
    // The same values again change nothing.
    name.SetDisplayWidth(12);
    name.SetAlignment(taCenter);
    name.SetDisplayLabel("Namn");
    name.SetVisible(false);
    EXPECT_EQ(link.layouts, 4);
    EXPECT_EQ(name.Alignment(), taCenter);
    EXPECT_EQ(name.DisplayLabel(), "Namn");
    link.SetDataSource(nullptr);

    // A dataset that is not open has no controls to tell.
    TClientDataSet closed;
    TField& own = closed.AddField("A", TFieldType::ftInteger);
    TDataSource closedSource;
    closedSource.SetDataSet(&closed);
    TLayoutLink idle;
    idle.SetDataSource(&closedSource);
    own.SetDisplayWidth(7);
    EXPECT_EQ(own.DisplayWidth(), 7);
    EXPECT_EQ(idle.layouts, 0);
    idle.SetDataSource(nullptr);
}

TEST(FieldDisplay, AlignmentIsByTypeUntilSet) {
    auto ds = test::NumberedTable(1);
    EXPECT_EQ(ds->FieldByName("ID").Alignment(), taRightJustify);
    EXPECT_EQ(ds->FieldByName("NAME").Alignment(), taLeftJustify);
    ds->FieldByName("ID").SetAlignment(taLeftJustify);
    EXPECT_EQ(ds->FieldByName("ID").Alignment(), taLeftJustify);
}

TEST(FieldDisplay, TextHandlersStandInForTheConversions) {
    auto ds = test::NumberedTable(2);
    TField& id = ds->FieldByName("ID");
    std::vector<bool> asked;
    id.OnGetText = [&](TField* f, std::string& text, bool display) {
        asked.push_back(display);
        text = "#" + f->AsString();
    };
    EXPECT_EQ(id.DisplayText(), "#1");
    EXPECT_EQ(id.Text(), "#1");
    EXPECT_EQ(id.AsString(), "1");  // the value itself is not converted
    EXPECT_EQ(asked, (std::vector<bool>{true, false}));

    id.OnSetText = [](TField* f, const std::string& text) { f->SetAsInteger(std::stoi(text.substr(1))); };
    ds->Edit();
    id.SetText("#42");
    EXPECT_EQ(id.AsInteger(), 42);
    id.OnSetText = nullptr;
    id.SetText("7");
    EXPECT_EQ(id.AsInteger(), 7);
    ds->Cancel();
}

// A dataset that can only go forwards, as a plain query cursor.
class TForwardOnly : public TClientDataSet {
public:
    TForwardOnly() { SetUnidirectional(true); }
};

TEST(FieldDisplay, DatasetsAnswerSequencedUnidirectionalAndDefaultFields) {
    auto ds = test::NumberedTable(1);
    EXPECT_TRUE(ds->IsSequenced());
    EXPECT_FALSE(ds->IsUnidirectional());
    EXPECT_TRUE(ds->DefaultFields());  // made from the definitions
    TForwardOnly cursor;
    EXPECT_TRUE(cursor.IsUnidirectional());

    TClientDataSet own;
    EXPECT_TRUE(own.DefaultFields());  // no fields yet
    own.AddField("A", TFieldType::ftInteger);
    EXPECT_FALSE(own.DefaultFields());
}

}  // namespace
}  // namespace tv
