// Ordering a dataset by a grid's order text: the order texts and their index forms, the ORDER BY
// rewriting of SQL lines, the table of ways found by class name and property tests, and the
// change itself on client tables and queries, with its rollback when the dataset refuses.

#include "controls/xdb_change_order.h"

#include <gtest/gtest.h>

#include "platform/data/client_data_set.h"
#include "platform/data/db_error.h"
#include "platform/db/ado_query.h"
#include "platform/gui/application.h"
#include "platform/gui/sound.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/string_list.h"
#include "tests/support/temp_dir.h"

namespace tv {

namespace {
enum TFakeCursorLocation : uint8_t { clUseServer, clUseClient };
enum TFakeCommandType : uint8_t { cmdUnknown, cmdText, cmdTable };
enum TFakeSqlCommandType : uint8_t { ctQuery, ctTable };
}  // namespace
TV_ENUM_INFO(TFakeCursorLocation, "clUseServer", "clUseClient");
TV_ENUM_INFO(TFakeCommandType, "cmdUnknown", "cmdText", "cmdTable");
TV_ENUM_INFO(TFakeSqlCommandType, "ctQuery", "ctTable");

namespace {

// ---------------------------------------------------------------- datasets of other class names

// A client dataset with a provider's command text, as the class named "TBDEClientDataSet" has;
// opening it with "Missing" in its command text fails as a bad statement would.
class TProviderDataSet : public TClientDataSet {
    TV_CLASS(TProviderDataSet, TClientDataSet)
public:
    std::string CommandText, FileName;

protected:
    void InternalOpenData() override {
        if (CommandText.find("Missing") != std::string::npos) throw EDatabaseError("Unknown column Missing");
        TClientDataSet::InternalOpenData();
    }
};
const TClassInfo& TProviderDataSet::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TProviderDataSet>("TBDEClientDataSet")
            .Published("CommandText", &TProviderDataSet::CommandText, &TProviderDataSet::CommandText)
            .Published("FileName", &TProviderDataSet::FileName, &TProviderDataSet::FileName)
            .Build();
    return info;
}

class TFakeAdoDataSet : public TDataSet {
    TV_CLASS(TFakeAdoDataSet, TDataSet)
public:
    TFakeCursorLocation CursorLocation = clUseClient;
    TFakeCommandType CommandType = cmdText;
    std::string CommandText;
};
const TClassInfo& TFakeAdoDataSet::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TFakeAdoDataSet>("TADODataSet")
            .Published("CursorLocation", &TFakeAdoDataSet::CursorLocation, &TFakeAdoDataSet::CursorLocation)
            .Published("CommandType", &TFakeAdoDataSet::CommandType, &TFakeAdoDataSet::CommandType)
            .Published("CommandText", &TFakeAdoDataSet::CommandText, &TFakeAdoDataSet::CommandText)
            .Build();
    return info;
}

// The inner dataset of a "TSimpleDataSet".
class TInnerDataSet : public TObject {
    TV_CLASS(TInnerDataSet, TObject)
public:
    TFakeSqlCommandType CommandType = ctQuery;
    std::string CommandText;
};
const TClassInfo& TInnerDataSet::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TInnerDataSet>("TInnerDataSet")
            .Published("CommandType", &TInnerDataSet::CommandType, &TInnerDataSet::CommandType)
            .Published("CommandText", &TInnerDataSet::CommandText, &TInnerDataSet::CommandText)
            .Build();
    return info;
}

class TFakeSimpleDataSet : public TDataSet {
    TV_CLASS(TFakeSimpleDataSet, TDataSet)
public:
    TInnerDataSet* Inner = nullptr;
    std::string FileName;
};
const TClassInfo& TFakeSimpleDataSet::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TFakeSimpleDataSet>("TSimpleDataSet")
            .Published("DataSet", &TFakeSimpleDataSet::Inner, &TFakeSimpleDataSet::Inner)
            .Published("FileName", &TFakeSimpleDataSet::FileName, &TFakeSimpleDataSet::FileName)
            .Build();
    return info;
}

// A query class of the program's own, derived from the ADO query.
class TOwnQuery : public TADOQuery {
    TV_CLASS(TOwnQuery, TADOQuery)
};
const TClassInfo& TOwnQuery::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TOwnQuery>("TOwnQuery").Build();
    return info;
}

// ---------------------------------------------------------------- a grid that records

struct RecordingHost : IDataSetOrderHost {
    TDataSet* dataSet = nullptr;
    std::string order, keys;
    bool autoAscend = false, ascendOnly = false;
    std::vector<std::string> calls;

    TDataSet* OrderDataSet() const override { return dataSet; }
    std::string OrderFields() const override { return order; }
    std::string KeyFields() const override { return keys; }
    bool AutoAscendOrder() const override { return autoAscend; }
    bool MarkerAscendOnly() const override { return ascendOnly; }
    void SetMarkerAscendOnly(bool Value) override {
        calls.push_back(Value ? "AscendOnly" : "AscendBoth");
        ascendOnly = Value;
    }
    void DisablePosition() override { calls.push_back("DisablePosition"); }
    void EnablePosition(bool UseCurrentRec) override {
        calls.push_back(UseCurrentRec ? "EnablePosition(current)" : "EnablePosition");
    }
    void BeginUpdate() override { calls.push_back("BeginUpdate"); }
    void EndUpdate() override { calls.push_back("EndUpdate"); }
    void SetupOrderFields(const std::string& Value) override {
        calls.push_back("SetupOrderFields(" + Value + ")");
        order = Value;
    }
    void ClearSelection() override { calls.push_back("ClearSelection"); }
    void OrderUpdated() override { calls.push_back("OrderUpdated"); }
};

const std::vector<std::string> kApplied = {
    "DisablePosition",         "BeginUpdate", "EndUpdate", "ClearSelection",
    "EnablePosition(current)", "OrderUpdated"};

// ID and NAME, in an order that no index follows: 1 Eva, 2 Anna, 3 Carl.
std::unique_ptr<TClientDataSet> People(
    std::unique_ptr<TClientDataSet> ds = std::make_unique<TClientDataSet>()) {
    ds->FieldDefs().Add("ID", TFieldType::ftInteger);
    ds->FieldDefs().Add("NAME", TFieldType::ftString, 20);
    ds->CreateDataSet();
    for (auto [id, name] : {std::pair{1, "Eva"}, {2, "Anna"}, {3, "Carl"}}) {
        ds->Append();
        ds->FieldByName("ID").SetAsInteger(id);
        ds->FieldByName("NAME").SetAsString(name);
        ds->Post();
    }
    ds->First();
    return ds;
}

std::vector<int> Ids(TDataSet& ds) {
    std::vector<int> ids;
    const TBookmark here = ds.GetBookmark();
    for (ds.First(); !ds.Eof(); ds.Next()) ids.push_back(ds.FieldByName("ID").AsInteger());
    ds.GotoBookmark(here);
    return ids;
}

std::vector<std::string> LinesOf(const TStrings& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
    return lines;
}

// ---------------------------------------------------------------- order texts

TEST(OrderText, ComparisonIgnoresCaseAndBlanksAroundItems) {
    const struct {
        const char *a, *b;
        bool same;
    } cases[] = {
        {"Name , id", "NAME,ID", true},
        {"A,B", "A", false},
        {"", "", true},
        {" a ", "A", true},
        {"A DESC,B", "a desc, b", true},
        {"A DESC", "A  DESC", false},
        {"A,B", "B,A", false},
        {"Åsa", "ÅSA", true},
        {"A", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareOrderFields(c.a, c.b), c.same) << "'" << c.a << "' / '" << c.b << "'";
        EXPECT_EQ(CompareOrderFields(c.b, c.a), c.same) << "'" << c.b << "' / '" << c.a << "'";
    }
}

TEST(OrderText, SplitTokenTakesTheTextBeforeTheDelimiter) {
    const struct {
        const char *text, *delimiter, *token, *rest;
    } cases[] = {
        {"A,B,C", "", "A", "B,C"}, {"A;B", ";", "A", "B"},   {"ABC", ",", "ABC", ""},
        {",B", ",", "", "B"},      {"A::B", "::", "A", "B"}, {"", ",", "", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(SplitToken(text, c.delimiter), c.token) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
    std::string line = "Name,120,x,1";
    EXPECT_EQ(SplitToken(line), "Name");
    EXPECT_EQ(SplitIntToken(line, -1), 120);
    EXPECT_EQ(SplitIntToken(line, -1), -1);  // "x" is no number
    EXPECT_EQ(SplitIntToken(line, -1), 1);
    EXPECT_EQ(SplitIntToken(line, 7), 7);  // nothing left
}

TEST(OrderText, IndexFormsWithAndWithoutSuffix) {
    const struct {
        const char *order, *suffix, *index;
    } toIndex[] = {
        {"Name DESC,Id", "_A;_D", "Name_D;Id"},         {"Name DESC,Id", "", "Name DESC;Id"},
        {"Name desc,Id", "_A;_D", "Name desc;Id"},  // the marker is found as written
        {" Name  DESC , Id", "_A;_D;_X", "Name_D; Id"}, {"", "_A;_D", ""},
    };
    for (const auto& c : toIndex)
        EXPECT_EQ(OrderToIndexFields(c.order, c.suffix), c.index) << c.order << " / " << c.suffix;
    const struct {
        const char *index, *suffix, *order;
    } toOrder[] = {
        {"NAME_D;ID_A", "_A;_D", "NAME DESC,ID"},
        {"name_d;id_a", "_A;_D", "name DESC,id"},
        {"Name;Id", "", "Name,Id"},
        {"Name_X;Id", "_A;_D;_X", "Name,Id"},
        {"Name_D;Id", "_A", "Name_D,Id"},  // no descending suffix: an empty token never matches
        {"Köp_d", "_a;_D", "Köp DESC"},
    };
    for (const auto& c : toOrder)
        EXPECT_EQ(IndexToOrderFields(c.index, c.suffix), c.order) << c.index << " / " << c.suffix;
    EXPECT_EQ(CommasToSemicolons("A,B,C"), "A;B;C");
    EXPECT_EQ(SemicolonsToCommas("A;B"), "A,B");
}

// ---------------------------------------------------------------- ORDER BY

TEST(SqlOrderBy, TheLastClauseIsRewrittenOrAClauseAdded) {
    const struct {
        std::vector<std::string> lines;
        const char* order;
        std::vector<std::string> result;
    } cases[] = {
        {{"SELECT * FROM T", "ORDER BY A;"}, "B DESC", {"SELECT * FROM T", "ORDER BY B DESC;"}},
        {{"SELECT * FROM T", "ORDER BY A;"}, "", {"SELECT * FROM T", ";"}},
        {{"SELECT * FROM T;", "", "  "}, "A", {"SELECT * FROM T", "ORDER BY A;"}},
        {{}, "A", {}},
        {{"", " "}, "A", {}},
        {{"select * from t order by a", "where x"}, "B", {"select * from t order by B", "where x"}},
        {{"select * from t ORDER BY", "where x"}, "B", {"select * from t ORDER BY", "where x", "ORDER BY B"}},
        {{"SELECT * FROM T ORDER BY A"}, " desc ", {"SELECT * FROM T "}},
        {{"SELECT * FROM T"}, " desc ", {"SELECT * FROM T"}},
        {{"SELECT * FROM T"}, "  A , B  ", {"SELECT * FROM T", "ORDER BY A , B"}},
        // Everything after the last clause's "ORDER BY " goes, a closing ";" comes back.
        {{"SELECT (SELECT 1 ORDER BY X) FROM T", "ORDER BY A LIMIT 5 ;  "},
         "B",
         {"SELECT (SELECT 1 ORDER BY X) FROM T", "ORDER BY B;"}},
        {{"SELECT * FROM T ORDER BY A", "UNION SELECT * FROM U"},
         "",
         {"SELECT * FROM T ", "UNION SELECT * FROM U"}},
    };
    for (const auto& c : cases) {
        TStringList list;
        for (const std::string& line : c.lines) list.Add(line);
        SetSQLOrderBy(list, c.order);
        EXPECT_EQ(LinesOf(list), c.result) << "order '" << c.order << "'";
    }
}

TEST(SqlOrderBy, TheLastClauseIsRead) {
    const struct {
        std::vector<std::string> lines;
        const char* order;
    } cases[] = {
        {{"SELECT * FROM T", "ORDER BY A, B DESC ;"}, "A, B DESC"},
        {{"select * from t order by name"}, "name"},
        {{"SELECT 1 ORDER BY X", "ORDER BY Y"}, "Y"},
        {{"SELECT * FROM T ORDER BY"}, ""},
        {{"SELECT * FROM T"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        TStringList list;
        for (const std::string& line : c.lines) list.Add(line);
        EXPECT_EQ(GetSQLOrderBy(&list), c.order);
    }
    EXPECT_EQ(GetSQLOrderBy(nullptr), "");
}

// ---------------------------------------------------------------- the table of ways

TEST(ChangeOrderList, TheDefaultTableIsSearchedFromItsEnd) {
    TChangeOrderList list;
    ASSERT_EQ(list.Count(), 19);
    EXPECT_EQ(list.Items(5).PropName, "DataSet.CommandText");
    EXPECT_EQ(list.Items(10).PropName, "SelectSQL");

    // A client table: no command text, so its index entry.
    auto table = People();
    const TChangeOrderItem* item = list.Find(table.get(), true);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item, &list.Items(6));
    EXPECT_TRUE(item->AscendOnly);
    EXPECT_EQ(list.Find(nullptr, true), nullptr);

    // A provider's client dataset with a statement: its command text, unless a file stands behind it.
    TProviderDataSet provider;
    provider.CommandText = "select * from t";
    EXPECT_EQ(list.Find(&provider, true), &list.Items(1));
    provider.FileName = "t.cds";
    EXPECT_EQ(list.Find(&provider, true), &list.Items(0));

    // The ADO query by its class name only: a class derived from it is not found.
    TADOQuery query;
    EXPECT_EQ(list.Find(&query, true), &list.Items(15));
    TOwnQuery own;
    EXPECT_EQ(list.Find(&own, true), nullptr);
}

TEST(ChangeOrderList, ValidityTestsReadTheDatasetsProperties) {
    TChangeOrderList list;
    const TChangeOrderItem* adoCommand = &list.Items(13);
    const TChangeOrderItem* adoIndex = &list.Items(14);
    const struct {
        TFakeCursorLocation location;
        TFakeCommandType type;
        const char* text;
        const TChangeOrderItem* entry;
    } ado[] = {
        {clUseClient, cmdText, "select * from t", adoIndex},      {clUseServer, cmdText, "t", adoCommand},
        {clUseServer, cmdUnknown, "Select * from t", adoCommand}, {clUseServer, cmdUnknown, "t", nullptr},
        {clUseServer, cmdTable, "select * from t", nullptr},
    };
    for (const auto& c : ado) {
        TFakeAdoDataSet ds;
        ds.CursorLocation = c.location;
        ds.CommandType = c.type;
        ds.CommandText = c.text;
        EXPECT_EQ(list.Find(&ds, true), c.entry) << c.location << " " << c.type << " " << c.text;
    }

    // A dotted path follows the object property; the command text is read through it too.
    TInnerDataSet inner;
    inner.CommandText = "SELECT * FROM T ORDER BY B";
    TFakeSimpleDataSet simple;
    simple.Inner = &inner;
    EXPECT_EQ(list.Find(&simple, true), &list.Items(5));
    inner.CommandType = ctTable;
    EXPECT_EQ(list.Find(&simple, true), &list.Items(4));
    inner.CommandType = ctQuery;
    simple.SetIndexFieldNames("A");
    EXPECT_EQ(list.Find(&simple, true), &list.Items(4));
    EXPECT_EQ(CurrentOrderFields(&simple, list.Items(5).PropName), "B");
    simple.Inner = nullptr;
    EXPECT_THROW(list.Find(&simple, true), EPropertyError);

    // A property the dataset does not publish is the property error, out of the test.
    TProviderDataSet provider;
    list.Add("TBDEClientDataSet", coChangeOrderFields, false, ValidSQLClientDataSetOrder);
    EXPECT_THROW(list.Find(&provider, true), EPropertyError);
}

TEST(ChangeOrderList, CustomEntriesNeedTheirProcedures) {
    TChangeOrderList list;
    TOwnQuery own;
    TChangeOrderItem& entry = list.Add("TOwnQuery", coCustomChangeOrder, false);
    EXPECT_EQ(list.Find(&own, true), nullptr);
    entry.CustomChangeOrder = [](IDataSetOrderHost&, const std::string&) {};
    EXPECT_EQ(list.Find(&own, true), &entry);
    EXPECT_EQ(list.Find(&own, false), nullptr);
    entry.CustomCurrentOrder = [](IDataSetOrderHost&) { return std::string("ID"); };
    EXPECT_EQ(list.Find(&own, false), &entry);
    list.Add("TOwnQuery", coChangeSQLOrderFields, false, [](TDataSet&, TChangeOrder) { return false; });
    EXPECT_EQ(list.Find(&own, true), &entry);  // the later entry is tried first and refuses
    list.Remove("TOwnQuery", coCustomChangeOrder);
    EXPECT_EQ(list.Find(&own, true), nullptr);
    EXPECT_EQ(list.Count(), 20);
}

// ---------------------------------------------------------------- ordering a dataset

TEST(ChangeDataSetOrder, AClientTableIsOrderedByItsIndexFields) {
    TRecordingSound sound;
    TSoundServiceScope soundScope(sound);
    auto table = People();
    table->Locate("ID", Variant(3));
    RecordingHost host;
    host.dataSet = table.get();
    host.order = "NAME";
    host.autoAscend = true;

    EXPECT_TRUE(ChangeDataSetOrder(host, ""));
    EXPECT_EQ(table->IndexFieldNames(), "NAME");
    EXPECT_EQ(Ids(*table), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 3);
    std::vector<std::string> expected = kApplied;
    expected.insert(expected.begin(), "AscendOnly");  // the client table sorts ascending only
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(CurrentDataSetOrder(host), "NAME");

    // The same order again, in other letters: nothing to do, nothing raised.
    host.calls.clear();
    EXPECT_TRUE(ChangeDataSetOrder(host, " name "));
    EXPECT_TRUE(host.calls.empty());

    // A descending order the table cannot take: the old order comes back, in the markers too.
    host.order = "NAME DESC";
    EXPECT_TRUE(ChangeDataSetOrder(host, ""));
    EXPECT_EQ(table->IndexFieldNames(), "NAME");
    EXPECT_EQ(Ids(*table), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(host.order, "NAME");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"DisablePosition", "BeginUpdate",
                                                    "SetupOrderFields(NAME)", "EndUpdate", "ClearSelection",
                                                    "EnablePosition(current)", "OrderUpdated"}));
    EXPECT_EQ(sound.Beeps(), std::vector<uint32_t>{MB_OK});
}

TEST(ChangeDataSetOrder, WithoutADatasetOrEntryNothingIsOrdered) {
    RecordingHost host;
    host.order = "ID";
    EXPECT_FALSE(ChangeDataSetOrder(host, ""));
    EXPECT_EQ(CurrentDataSetOrder(host), "");
    TOwnQuery own;
    host.dataSet = &own;
    EXPECT_FALSE(ChangeDataSetOrder(host, ""));
    EXPECT_EQ(CurrentDataSetOrder(host), "");
    EXPECT_TRUE(host.calls.empty());
}

TEST(ChangeDataSetOrder, ACommandTextIsRewrittenAndTheDatasetReopened) {
    TRecordingSound sound;
    TSoundServiceScope soundScope(sound);
    auto provider = People(std::make_unique<TProviderDataSet>());
    auto& ds = static_cast<TProviderDataSet&>(*provider);
    ds.CommandText = "select * from t";
    RecordingHost host;
    host.dataSet = &ds;
    host.autoAscend = true;
    host.ascendOnly = true;

    EXPECT_TRUE(ChangeDataSetOrder(host, "NAME DESC,ID"));
    EXPECT_EQ(ds.CommandText, "select * from t\r\nORDER BY NAME DESC,ID\r\n");
    EXPECT_TRUE(ds.Active());
    std::vector<std::string> expected = kApplied;
    expected.insert(expected.begin(), "AscendBoth");
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(CurrentDataSetOrder(host), "NAME DESC,ID");

    // The statement fails: the old text comes back and the dataset is open again.
    host.calls.clear();
    EXPECT_TRUE(ChangeDataSetOrder(host, "Missing"));
    EXPECT_EQ(ds.CommandText, "select * from t\r\nORDER BY NAME DESC,ID\r\n");
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(host.order, "NAME DESC,ID");
    EXPECT_EQ(sound.Beeps().size(), 1u);
    EXPECT_EQ(host.calls.back(), "OrderUpdated");

    // With a file behind it the index fields are set instead, ascending only.
    ds.FileName = "people.cds";
    host.calls.clear();
    EXPECT_TRUE(ChangeDataSetOrder(host, "NAME"));
    EXPECT_EQ(ds.IndexFieldNames(), "NAME");
    EXPECT_EQ(host.calls.front(), "AscendOnly");
}

// A query over a SQLite file of people: 1 Eva, 2 Anna, 3 Carl.
struct PeopleQuery {
    test::TempDir dir;
    TADOConnection connection;
    TADOQuery query;

    PeopleQuery() {
        dir.Write("people.sqlite", "");
        connection.SetConnectionString("Provider=SQLOLEDB.1;Data Source=" + dir.Path("people.sqlite"));
        TADOCommand create;
        create.SetConnection(&connection);
        create.SetCommandText(
            "CREATE TABLE people (ID integer primary key, NAME varchar(20));"
            "INSERT INTO people VALUES (1, 'Eva'), (2, 'Anna'), (3, 'Carl')");
        create.Execute();
        query.SetConnection(&connection);
        query.SQL().SetText("SELECT * FROM people");
        query.Open();
    }
};

TEST(ChangeDataSetOrder, AQuerysStatementGetsTheOrderAndTheRecordIsFoundByItsKey) {
    TRecordingSound sound;
    TSoundServiceScope soundScope(sound);
    PeopleQuery people;
    TADOQuery& query = people.query;
    query.Locate("ID", Variant(3));
    RecordingHost host;
    host.dataSet = &query;
    host.keys = "ID";

    EXPECT_TRUE(ChangeDataSetOrder(host, "NAME DESC"));
    EXPECT_EQ(LinesOf(query.SQL()), (std::vector<std::string>{"SELECT * FROM people", "ORDER BY NAME DESC"}));
    EXPECT_EQ(Ids(query), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(query.FieldByName("ID").AsInteger(), 3);
    EXPECT_EQ(host.calls, kApplied);
    EXPECT_EQ(CurrentDataSetOrder(host), "NAME DESC");

    // Without key fields the reopened query stands on its first record.
    host.keys.clear();
    EXPECT_TRUE(ChangeDataSetOrder(host, "ID"));
    EXPECT_EQ(Ids(query), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(query.FieldByName("ID").AsInteger(), 1);

    // A column the table lacks: the statement, the markers and the rows are as before.
    host.calls.clear();
    EXPECT_NO_THROW(ChangeDataSetOrder(host, "NOSUCH"));
    EXPECT_EQ(LinesOf(query.SQL()), (std::vector<std::string>{"SELECT * FROM people", "ORDER BY ID"}));
    EXPECT_TRUE(query.Active());
    EXPECT_EQ(Ids(query), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(host.order, "ID");
    EXPECT_EQ(sound.Beeps().size(), 1u);
    EXPECT_EQ(host.calls.back(), "OrderUpdated");
}

TEST(ChangeDataSetOrder, ACustomWayGetsTheGridAndTheOrderText) {
    TOwnQuery own;
    RecordingHost host;
    host.dataSet = &own;
    std::string asked;
    TChangeOrderItem& entry = GetChangeOrderList().Add("TOwnQuery", coCustomChangeOrder, false);
    entry.CustomChangeOrder = [&](IDataSetOrderHost& grid, const std::string& order) {
        asked = order + " for " + grid.KeyFields();
    };
    entry.CustomCurrentOrder = [](IDataSetOrderHost&) { return std::string("ID DESC"); };
    host.keys = "ID";
    EXPECT_TRUE(ChangeDataSetOrder(host, "NAME"));
    EXPECT_EQ(asked, "NAME for ID");
    EXPECT_EQ(CurrentDataSetOrder(host), "ID DESC");
    GetChangeOrderList().Remove("TOwnQuery", coCustomChangeOrder);
    EXPECT_FALSE(ChangeDataSetOrder(host, "NAME"));
}

}  // namespace
}  // namespace tv
