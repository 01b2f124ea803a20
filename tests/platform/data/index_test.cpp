// Indexes, unique keys with the post-error hook, Locate, FindKey, filters and bookmarks.

#include "data_test_support.h"
#include "platform/data/data_classes.h"
#include "platform/data/data_set_rows.h"
#include "platform/rtl/class_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tv {
namespace {

using test::Ids;
using test::NumberedTable;

// ID, NAME, CITY: people whose names differ in case and length.
std::unique_ptr<TClientDataSet> People() {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("ID", TFieldType::ftInteger);
    ds->FieldDefs().Add("NAME", TFieldType::ftString, 20);
    ds->FieldDefs().Add("CITY", TFieldType::ftString, 20);
    ds->CreateDataSet();
    const struct {
        int id;
        const char* name;
        const char* city;
    } rows[] = {{1, "Anna", "Ume\xC3\xA5"},
                {2, "anders", "ume\xC3\xA5"},
                {3, "Bo", "Lund"},
                {4, "Berit", "Lund"},
                {5, "bo", "Kiruna"}};
    for (const auto& r : rows) {
        ds->Append();
        ds->FieldByName("ID").SetAsInteger(r.id);
        ds->FieldByName("NAME").SetAsString(r.name);
        ds->FieldByName("CITY").SetAsString(r.city);
        ds->Post();
    }
    ds->First();
    return ds;
}

struct OrderCase {
    const char* fields;
    TIndexOptions options;
    std::vector<int> ids;
};

TEST(Index, OrdersByTheIndexFieldsWithTheirOptions) {
    const OrderCase cases[] = {
        {"NAME", 0, {2, 1, 4, 5, 3}},  // case orders only otherwise equal names, small letters first
        {"NAME", ixCaseInsensitive, {2, 1, 4, 3, 5}},  // equal keys keep their natural order
        {"NAME", ixDescending, {3, 5, 4, 1, 2}},
        {"CITY;NAME", ixCaseInsensitive, {5, 4, 3, 2, 1}},
        {"", 0, {1, 2, 3, 4, 5}},  // no index: the natural order
    };
    for (const auto& c : cases) {
        auto ds = People();
        ds->AddIndex("ix", c.fields, c.options);
        ds->SetIndexName(*c.fields ? "ix" : "");
        EXPECT_EQ(Ids(*ds), c.ids) << c.fields << " " << c.options;
    }
    auto ds = People();
    ds->SetIndexFieldNames("CITY;ID");
    EXPECT_EQ(Ids(*ds), (std::vector<int>{5, 3, 4, 2, 1}));
    ds->Locate("ID", test::Int(4));
    ds->SetIndexFieldNames("");
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 4) << "changing the index keeps the current record";
    EXPECT_THROW(ds->SetIndexFieldNames("NOPE"), EDatabaseError);
    EXPECT_EQ(ds->IndexFieldNames(), "") << "a refused index leaves the old one";
}

TEST(Index, PostingKeepsTheIndexOrder) {
    auto ds = People();
    ds->SetIndexFieldNames("ID");
    ds->Append();
    ds->FieldByName("ID").SetAsInteger(0);
    ds->Post();
    EXPECT_EQ(ds->RecNo(), 1);
    ds->Locate("ID", test::Int(3));
    ds->Edit();
    ds->FieldByName("ID").SetAsInteger(9);
    ds->Post();
    EXPECT_EQ(ds->RecNo(), 6);
    EXPECT_EQ(Ids(*ds), (std::vector<int>{0, 1, 2, 4, 5, 9}));
}

TEST(Index, UniqueIndexRefusesADuplicateAtPostAndThePostErrorHookCanAbort) {
    auto ds = People();
    ds->AddIndex("ByName", "NAME", ixUnique | ixCaseInsensitive);
    ds->SetIndexName("ByName");
    ds->Append();
    ds->FieldByName("NAME").SetAsString("BERIT");
    try {
        ds->Post();
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Key violation.");
    }
    EXPECT_EQ(ds->State(), dsInsert);

    std::string seen;
    ds->OnPostError = [&](TDataSet*, EDatabaseError& e, TDataAction& action) {
        seen = e.Message;
        action = TDataAction::daAbort;
    };
    EXPECT_THROW(ds->Post(), EAbort);
    EXPECT_EQ(seen, "Key violation.");
    EXPECT_EQ(ds->State(), dsInsert) << "the record stays unposted";
    ds->Cancel();
    EXPECT_EQ(ds->RecordCount(), 5);

    ds->OnPostError = [&](TDataSet* d, EDatabaseError&, TDataAction& action) {
        d->FieldByName("NAME").SetAsString("Berit 2");  // mend and try again
        action = TDataAction::daRetry;
    };
    ds->Append();
    ds->FieldByName("NAME").SetAsString("berit");
    ds->Post();
    EXPECT_EQ(ds->FieldByName("NAME").AsString(), "Berit 2");

    ds->Locate("NAME", test::Text("Anna"));
    ds->Edit();
    ds->FieldByName("CITY").SetAsString("Lund");
    ds->Post();  // the record's own key is no duplicate
    EXPECT_EQ(ds->RecordCount(), 6);
}

// An index on a float field holding values that are not numbers: every edit and delete must
// find its record in the ordered view again, or the view keeps a freed record.
TEST(Index, AFloatIndexOrdersValuesThatAreNotNumbersAfterTheNumbers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    TClientDataSet ds;
    ds.FieldDefs().Add("ID", TFieldType::ftInteger);
    ds.FieldDefs().Add("V", TFieldType::ftFloat);
    ds.CreateDataSet();
    ds.SetIndexFieldNames("V");
    constexpr int kCount = 60;
    for (int id = 1; id <= kCount; ++id) {
        ds.Append();
        ds.FieldByName("ID").SetAsInteger(id);
        ds.FieldByName("V").SetAsFloat(id % 3 == 0 ? nan : (id * 37) % 23);
        ds.Post();
    }
    for (int id = 1; id <= kCount; ++id) {
        ASSERT_TRUE(ds.Locate("ID", test::Int(id)));
        ds.Edit();
        ds.FieldByName("V").SetAsFloat(id % 4 == 0 ? nan : (id * 11) % 29);
        ds.Post();
    }
    for (int id = 2; id <= kCount; id += 5) {
        ASSERT_TRUE(ds.Locate("ID", test::Int(id)));
        ds.Delete();
    }
    std::vector<int> seen;
    bool nanSeen = false;
    double last = -1;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        seen.push_back(ds.FieldByName("ID").AsInteger());
        const double v = ds.FieldByName("V").AsFloat();
        if (std::isnan(v)) {
            nanSeen = true;
            continue;
        }
        EXPECT_FALSE(nanSeen) << "a number after a value that is none";
        EXPECT_GE(v, last);
        last = v;
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen.size(), static_cast<size_t>(kCount - kCount / 5));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "a record shown twice";
}

// Appends a person and answers whether the post was accepted; a refused record is dropped.
bool AppendPerson(TDataSet& ds, int id, const char* name, const char* city) {
    ds.Append();
    ds.FieldByName("ID").SetAsInteger(id);
    ds.FieldByName("NAME").SetAsString(name);
    ds.FieldByName("CITY").SetAsString(city);
    try {
        ds.Post();
        return true;
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Key violation.");
        ds.Cancel();
        return false;
    }
}

TEST(Index, UniqueKeysAreCheckedAgainstEveryRecordWhateverIsShownOrCurrent) {
    auto ds = People();
    ds->AddIndex("ByName", "NAME", ixUnique | ixCaseInsensitive);
    ds->SetIndexFieldNames("ID");
    EXPECT_FALSE(AppendPerson(*ds, 6, "ANNA", "Lund")) << "a unique index that is not the current one";
    ds->SetFilter("CITY='Kiruna'");
    ds->SetFiltered(true);
    EXPECT_FALSE(AppendPerson(*ds, 6, "berit", "Kiruna")) << "the clashing record is filtered out";
    ds->SetFiltered(false);

    ASSERT_TRUE(ds->Locate("NAME", test::Text("Berit")));
    ds->Delete();
    EXPECT_TRUE(AppendPerson(*ds, 6, "berit", "Lund")) << "a deleted record frees its key";
    ASSERT_TRUE(ds->Locate("NAME", test::Text("Anna")));
    ds->Edit();
    ds->FieldByName("NAME").SetAsString("Annika");
    ds->Post();
    EXPECT_TRUE(AppendPerson(*ds, 7, "ANNA", "Lund")) << "an edited key frees the old one";
    EXPECT_FALSE(AppendPerson(*ds, 8, "annika", "Lund")) << "... and takes the new one";

    ds->IndexDefs().push_back({"ByCityId", "CITY;ID", ixUnique});
    EXPECT_FALSE(AppendPerson(*ds, 7, "Cecilia", "Lund")) << "a definition added directly counts at once";
    EXPECT_TRUE(AppendPerson(*ds, 7, "Cecilia", "Kiruna")) << "only the whole compound key clashes";
    ds->IndexDefs().clear();
    EXPECT_TRUE(AppendPerson(*ds, 9, "anna", "Lund")) << "without unique definitions nothing clashes";

    const std::string saved = ds->SaveToBytes();
    TClientDataSet loaded;
    loaded.AddIndex("ById", "ID", ixUnique);
    loaded.LoadFromBytes(saved);
    EXPECT_FALSE(AppendPerson(loaded, 3, "Doris", "Lund")) << "records read in bulk hold their keys";
    EXPECT_TRUE(AppendPerson(loaded, 10, "Doris", "Lund"));
    ASSERT_TRUE(loaded.Locate("ID", test::Int(9)));
    loaded.Edit();
    loaded.FieldByName("CITY").SetAsString("Umea");
    loaded.Post();  // the record's own key is no duplicate
    EXPECT_EQ(loaded.FieldByName("CITY").AsString(), "Umea");
    auto more = NumberedTable(12);
    TDataSetRows rows(*more);
    loaded.AppendRows(rows);  // after a checked post: the rows join the orders as they come
    EXPECT_FALSE(AppendPerson(loaded, 12, "Doris", "Lund"));
}

struct LocateCase {
    const char* fields;
    std::vector<Variant> values;
    TLocateOptions options;
    int id;  // 0: not found
};

TEST(Index, LocateFindsByOneOrSeveralFieldsWithItsOptions) {
    const LocateCase cases[] = {
        {"NAME", {test::Text("anna")}, loCaseInsensitive, 1},
        {"NAME", {test::Text("anna")}, 0, 0},
        {"NAME", {test::Text("an")}, loPartialKey, 2},
        {"NAME", {test::Text("AN")}, loPartialKey | loCaseInsensitive, 1},
        {"NAME;CITY", {test::Text("bo"), test::Text("LUND")}, loCaseInsensitive, 3},
        {"NAME;CITY", {test::Text("Bo"), test::Text("Kiruna")}, 0, 0},
        {"CITY", {test::Text("UME\xC3\x85")}, loCaseInsensitive, 1},  // Å folds to å
        {"ID", {test::Int(4)}, 0, 4},
        {"ID", {test::Text("4")}, 0, 4},  // a text looks up an integer field by its value
        {"NAME", {test::Text("Nobody")}, loPartialKey, 0},
    };
    for (const auto& c : cases) {
        auto ds = People();
        ds->Last();
        const bool found = ds->Locate(c.fields, c.values, c.options);
        EXPECT_EQ(found, c.id != 0) << c.fields << " " << test::Show(c.values[0]);
        EXPECT_EQ(ds->FieldByName("ID").AsInteger(), c.id ? c.id : 5) << "not found: the cursor stays";
    }
    auto ds = People();
    EXPECT_THROW(ds->Locate("NAME;CITY", test::Text("x")), EDatabaseError);
    Variant key = Variant::ArrayOf(0, 1);  // several values as one variant array
    key.Element(0) = test::Text("Berit");
    key.Element(1) = test::Text("Lund");
    EXPECT_TRUE(ds->Locate("NAME;CITY", key));
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 4);
}

TEST(Index, FindKeyAndFindNearestSearchTheCurrentIndex) {
    auto ds = People();
    EXPECT_THROW(ds->FindKey({test::Text("Bo")}), EDatabaseError) << "no index";
    ds->SetIndexFieldNames("NAME");
    EXPECT_TRUE(ds->FindKey({test::Text("Bo")}));
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 3);
    EXPECT_FALSE(ds->FindKey({test::Text("Bx")}));
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 3);
    ds->FindNearest({test::Text("B")});
    EXPECT_EQ(ds->FieldByName("NAME").AsString(), "Berit");
    ds->FindNearest({test::Text("zzz")});
    EXPECT_EQ(ds->FieldByName("NAME").AsString(), "Bo") << "past every key: the last record";
}

struct FilterCase {
    const char* filter;
    TFilterOptions options;
    std::vector<int> ids;
};

TEST(Index, FilterOfTheFormFieldEqualsQuotedValue) {
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("ID", TFieldType::ftInteger);
    ds->FieldDefs().Add("const_table", TFieldType::ftString, 256);
    ds->FieldDefs().Add("const_value", TFieldType::ftInteger);
    ds->CreateDataSet();
    const struct {
        const char* table;
        int value;
    } rows[] = {{"atKunder", 1}, {"atArtiklar", 5}, {"atKunder", 5}, {"it's", 2}, {"", 3}};
    int id = 0;
    for (const auto& r : rows) {
        ds->Append();
        ds->FieldByName("ID").SetAsInteger(++id);
        ds->FieldByName("const_table").SetAsString(r.table);
        ds->FieldByName("const_value").SetAsInteger(r.value);
        ds->Post();
    }
    ds->Append();
    ds->FieldByName("ID").SetAsInteger(6);  // no table at all
    ds->Post();
    const FilterCase cases[] = {
        {"const_table='atKunder'", 0, {1, 3}}, {"  const_table = 'atKunder'  ", 0, {1, 3}},
        {"const_table='ATKUNDER'", 0, {}},     {"const_table='ATKUNDER'", foCaseInsensitive, {1, 3}},
        {"const_table='it''s'", 0, {4}},  // inner quotes doubled
        {"const_table=''", 0, {5, 6}},    // empty matches no value too
        {"const_value='5'", 0, {2, 3}},        {"", 0, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        ds->SetFiltered(false);
        ds->SetFilterOptions(c.options);
        ds->SetFilter(c.filter);
        ds->SetFiltered(true);
        EXPECT_EQ(Ids(*ds), c.ids) << c.filter;
    }
    ds->SetFilter("const_table='atKunder'");
    ds->Append();
    ds->FieldByName("const_table").SetAsString("atOrder");
    ds->Post();  // a record outside the filter leaves the view when posted
    EXPECT_EQ(ds->RecordCount(), 2);
    ds->SetFiltered(false);
    EXPECT_EQ(ds->RecordCount(), 7);

    for (const char* bad : {"const_table=atKunder", "const_table='open", "const_table", "='x'", "a='x' b"}) {
        try {
            ds->SetFilter(bad);
            ds->SetFiltered(true);
            ADD_FAILURE() << bad;
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message,
                      std::string("Filter expression '") + bad + "' is not of the form field='value'");
        }
        ds->SetFiltered(false);
    }
    ds->SetFilter("missing='x'");
    EXPECT_THROW(ds->SetFiltered(true), EDatabaseError);
    EXPECT_FALSE(ds->Filtered());
}

TEST(Index, BookmarksSurviveInsertsAndFollowTheCursorOrder) {
    auto ds = NumberedTable(5);
    ds->SetRecNo(3);
    const TBookmark third = ds->GetBookmark();
    ds->First();
    ds->Insert();
    ds->FieldByName("ID").SetAsInteger(0);
    ds->Post();
    ds->GotoBookmark(third);
    EXPECT_EQ(ds->FieldByName("ID").AsInteger(), 3);
    EXPECT_EQ(ds->RecNo(), 4);

    ds->First();
    const TBookmark zero = ds->GetBookmark();
    EXPECT_LT(ds->CompareBookmarks(zero, third), 0);
    ds->SetIndexFieldNames("ID");
    ds->AddIndex("Down", "ID", ixDescending);
    ds->SetIndexName("Down");
    EXPECT_GT(ds->CompareBookmarks(zero, third), 0) << "in the order of the current index";
    EXPECT_EQ(ds->CompareBookmarks(third, third), 0);
    EXPECT_LT(ds->CompareBookmarks(TBookmark{}, third), 0);

    ds->GotoBookmark(third);
    ds->Delete();
    EXPECT_FALSE(ds->BookmarkValid(third));
    try {
        ds->GotoBookmark(third);
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Record not found");
    }
    EXPECT_TRUE(ds->BookmarkValid(zero));
    ds->SetFilter("ID='1'");
    ds->SetFiltered(true);
    EXPECT_FALSE(ds->BookmarkValid(zero)) << "a record outside the filter cannot be reached";
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

TEST(Index, TheIndexCanBeSetByPropertyNameAsTheGridsOrderingDoes) {
    auto ds = People();
    EXPECT_EQ(ds->ClassName(), "TClientDataSet");
    const TPropInfo* prop = ds->ClassInfo().FindProperty("indexfieldnames");
    ASSERT_NE(prop, nullptr);
    prop->SetStr(*ds, "NAME");
    EXPECT_EQ(prop->GetStr(*ds), "NAME");
    EXPECT_EQ(test::Ids(*ds), (std::vector<int>{2, 1, 4, 5, 3}));
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

TEST(Index, RegisteredDataClassesAreFoundAndBuiltByName) {
    RegisterDataClasses();
    const TClassInfo* cls = GetClass("tclientdataset");
    ASSERT_NE(cls, nullptr);
    std::unique_ptr<TObject> made(cls->Construct<TComponent*>(nullptr));
    EXPECT_NE(dynamic_cast<TClientDataSet*>(made.get()), nullptr);
    EXPECT_TRUE(cls->InheritsFrom(TDataSet::StaticClassInfo()));
    EXPECT_NE(GetClass("TDataSource"), nullptr);
}

}  // namespace
}  // namespace tv
