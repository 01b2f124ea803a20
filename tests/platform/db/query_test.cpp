// Queries and commands: named parameters, the FoxPro val(), field types of results, the system's
// default statements on a fixture company, and a reader that a second writer never blocks.

#include "db_test_support.h"
#include "platform/data/client_data_set.h"
#include "platform/data/data_set_rows.h"
#include "platform/data/db_error.h"
#include "platform/db/ado_query.h"
#include "platform/db/foxpro_functions.h"
#include "platform/db/sql_parameters.h"
#include "platform/rtl/date_time.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

Variant Text(std::string_view text) {
    return Variant::FromUtf8(text);
}

struct Company {
    test::FixtureCompany fixture;
    TADOConnection connection;
    TADOQuery query;

    Company() {
        connection.SetConnectionString(fixture.VfpString());
        query.SetConnection(&connection);
    }
    // Opens `sql` with the parameters given in order of their names.
    TADOQuery& Open(const std::string& sql, std::vector<Variant> values = {}) {
        query.Close();
        query.SQL().SetText(sql);
        for (size_t i = 0; i < values.size(); ++i)
            query.Parameters().Items(static_cast<int>(i)).SetValue(values[i]);
        query.Open();
        return query;
    }
    std::vector<std::string> Column(const std::string& sql, std::vector<Variant> values = {}) {
        std::vector<std::string> texts;
        TADOQuery& q = Open(sql, std::move(values));
        for (q.First(); !q.Eof(); q.Next())
            texts.push_back(q.Fields(0).IsNull() ? "<null>" : q.Fields(0).AsString());
        return texts;
    }
};

struct ParameterCase {
    const char* sql;
    const char* text;
    std::vector<std::string> names;
};

TEST(SqlParameters, NamedParametersOutsideLiteralsBecomeNumberedOnes) {
    const ParameterCase cases[] = {
        {"select * from t where a = :p1 and b = :P1 and c = :p2",
         "select * from t where a = ?1 and b = ?1 and c = ?2",
         {"p1", "p2"}},
        {"select ':x', \":y\", [:z] from t -- :w\nwhere a=:a /* :b */",
         "select ':x', \":y\", [:z] from t -- :w\nwhere a=?1 /* :b */",
         {"a"}},
        {"select 'it''s :no' from t where a = :yes", "select 'it''s :no' from t where a = ?1", {"yes"}},
        {"select a::text from t", "select a::text from t", {}},
    };
    for (const auto& c : cases) {
        const TParsedSql parsed = ParseSqlParameters(c.sql);
        EXPECT_EQ(parsed.text, c.text);
        EXPECT_EQ(parsed.names, c.names) << c.sql;
        EXPECT_EQ(parsed.foreignParameter, "");
    }
    EXPECT_EQ(ParseSqlParameters("select * from t where a = ?").foreignParameter, "?");
    EXPECT_EQ(ParseSqlParameters("select * from t where a = @nr").foreignParameter, "@nr");
}

struct ValCase {
    const char* text;
    const char* expected;  // the value as SQLite gives it back as text
};

TEST(FoxProFunctions, ValReadsTheNumberAtTheStartOfAText) {
    const ValCase cases[] = {
        {" 12abc", "12"},
        {"abc", "0"},
        {"-3.5x", "-3.5"},
        {"1.5E2", "150.0"},
        {"12.", "12"},
        {".5", "0.5"},
        {"+7", "7"},
        {"", "0"},
        {"1e", "1"},
        {" -  5", "0"},
        {"1,5", "1"},
        {"\t42", "42"},
        {"99999999999999999999", "1.0e+20"},
    };
    Company c;
    for (const auto& v : cases)
        EXPECT_EQ(c.Column("select cast(val(:t) as text)", {Text(v.text)}),
                  std::vector<std::string>{v.expected})
            << "'" << v.text << "'";
    EXPECT_EQ(c.Column("select val(:t)", {Variant::Null()}), std::vector<std::string>{"<null>"});
    EXPECT_EQ(c.Column("select val(41) + 1"), std::vector<std::string>{"42"});
    const TFoxProNumber n = FoxProVal(" 12abc");
    EXPECT_TRUE(n.isInteger);
    EXPECT_EQ(n.integer, 12);
}

TEST(AdoQuery, TheSystemsDefaultStatementsRunOnTheCompanyTables) {
    Company c;
    c.fixture.Exec(
        "insert into kund (kundnr, namn, timestamp) values ('K1', 'Ett', '2024-01-10 08:00:00'), "
        "('K2', 'Två', '2024-03-01 12:30:00');"
        "insert into art (artnr, benamning, timestamp) values ('A1', 'Skruv', '2024-02-01 00:00:00');"
        "insert into inkpris (artnr, levnr, antal, pris, levartnr) values ('A1', 'L1', 0, 2.5, 'LA-9');"
        "insert into kontakt (kontaktid, namn) values (7, 'Kim');"
        "insert into orderhuvud (doknr, kundnr, timestamp) values (12, 'K1', 1700000000), (13, 'K2', "
        "1710000000);"
        "insert into offerthuvud (doknr, kundnr, timestamp) values (12, 'K2', 1700000000);");
    // Import searches by SQL, as the settings pages offer them.
    EXPECT_EQ(
        c.Column("select doknr from oof where doktyp='O' and doknr = val ( :param1 ) ", {Text(" 12abc")}),
        std::vector<std::string>{"12"});
    EXPECT_EQ(c.Column("select doknr from oof where doktyp='OF' and doknr = val ( :param1 ) ", {Text("12")}),
              std::vector<std::string>{"12"});
    EXPECT_EQ(c.Column("select artnr from art where artnr = :param1", {Text("A1")}),
              std::vector<std::string>{"A1"});
    EXPECT_EQ(c.Column("select artnr from inkpris where levartnr = :param1 and levnr = :param2",
                       {Text("LA-9"), Text("L1")}),
              std::vector<std::string>{"A1"});
    // The contact selection.
    EXPECT_EQ(c.Column(" select kontaktid as [key] from kontakt "), std::vector<std::string>{"7"});
    EXPECT_EQ(c.query.FieldByName("key").DataType(), TFieldType::ftFloat) << "decimals read as floats";
    // Incremental look-ups (with the WHERE their first and last clauses need): date-time text keys ...
    TADOQuery& customers = c.Open(
        "select kundnr key, timestamp from kund where 1=1 and ( kund.timestamp > :startvalue ) order by "
        "timestamp asc ",
        {Variant::FromDate(EncodeDateTime(2024, 2, 1, 0, 0, 0, 0))});
    EXPECT_EQ(customers.RecordCount(), 1);
    EXPECT_EQ(customers.FieldByName("key").AsString(), "K2");
    EXPECT_EQ(customers.FieldByName("timestamp").DataType(), TFieldType::ftDateTime) << "date-time text";
    EXPECT_DOUBLE_EQ(customers.FieldByName("timestamp").AsDateTime(),
                     EncodeDateTime(2024, 3, 1, 12, 30, 0, 0));
    // ... and Unix seconds on the document heads.
    EXPECT_EQ(c.Column("select doknr key, timestamp from oof where 1=1 and doktyp='O' and ( oof.timestamp > "
                       ":startvalue ) order by timestamp asc ",
                       {Variant(int64_t{1705000000})}),
              std::vector<std::string>{"13"});
    EXPECT_EQ(
        c.Column("select artnr as [key], timestamp from art where 1=1 and ( art.timestamp > :startvalue ) "
                 "order by timestamp asc ",
                 {Text("2024-01-01 00:00:00")}),
        std::vector<std::string>{"A1"});
}

TEST(AdoQuery, AReaderSeesWhatASecondConnectionWroteAndIsNeverBlockedByIt) {
    Company c;
    c.fixture.Exec("insert into kund (kundnr, namn) values ('K1', 'Ett')");
    const std::string sql = "select namn from kund where kundnr = :nr";
    EXPECT_EQ(c.Column(sql, {Text("K2")}), std::vector<std::string>{});
    // The query holds its rows; no statement stays open, so another connection writes at once.
    c.query.Open();
    c.fixture.Exec("insert into kund (kundnr, namn) values ('K2', 'Två')");
    EXPECT_EQ(c.Column(sql, {Text("K2")}), std::vector<std::string>{"Två"});

    // A writer in the middle of its transaction does not stop the reader, who sees the last commit.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(c.fixture.database.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "begin immediate; update kund set namn = 'Nytt' where kundnr = 'K2';",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(c.Column(sql, {Text("K2")}), std::vector<std::string>{"Två"});
    ASSERT_EQ(sqlite3_exec(writer, "commit", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    EXPECT_EQ(c.Column(sql, {Text("K2")}), std::vector<std::string>{"Nytt"});
}

struct TypeCase {
    const char* column;
    TFieldType type;
    int size;
    const char* text;
};

TEST(AdoQuery, ResultColumnsTakeFieldTypesFromTheirDeclarationAndValues) {
    Company c;
    c.fixture.Exec(
        "create table t (i integer, b bigint, r real, m money, d datetime, dd date, flag boolean, s "
        "varchar(30), "
        "x text, blob_ blob, stamp text);"
        "insert into t values (7, 5000000000, 2.5, 19.99, '2024-01-31 10:20:30', '2024-01-31', 1, 'abc', "
        "'Ume\xC3\xA5', x'0001', '2024-01-31 10:20:30');");
    TFormatSettings settings;
    c.query.SetFormatSettings(&settings);
    c.Open("select t.*, count(*) as n, 1.5 * 2 as half, 'x' || s as joined, null as empty_ from t");
    const TypeCase cases[] = {
        {"i", TFieldType::ftInteger, 0, "7"},
        {"b", TFieldType::ftLargeint, 0, "5000000000"},
        {"r", TFieldType::ftFloat, 0, "2.5"},
        {"m", TFieldType::ftCurrency, 0, "19.99"},
        {"d", TFieldType::ftDateTime, 0, "2024-01-31 10:20:30"},
        {"dd", TFieldType::ftDate, 0, "2024-01-31"},
        {"flag", TFieldType::ftBoolean, 0, "True"},
        {"s", TFieldType::ftString, 30, "abc"},
        {"x", TFieldType::ftString, 4, "Ume\xC3\xA5"},
        {"blob_", TFieldType::ftBlob, 0, std::string("\0\x01", 2).c_str()},
        {"stamp", TFieldType::ftDateTime, 0, "2024-01-31 10:20:30"},  // date-time text in a TEXT column
        {"n", TFieldType::ftInteger, 0, "1"},
        {"half", TFieldType::ftFloat, 0, "3"},
        {"joined", TFieldType::ftString, 4, "xabc"},
        {"empty_", TFieldType::ftString, 1, ""},
    };
    for (const auto& tc : cases) {
        TField& field = c.query.FieldByName(tc.column);
        EXPECT_EQ(field.DataType(), tc.type) << tc.column;
        EXPECT_EQ(field.Size(), tc.size) << tc.column;
        if (tc.type != TFieldType::ftBlob) {
            EXPECT_EQ(field.AsString(), tc.text) << tc.column;
        }
    }
    EXPECT_EQ(c.query.FieldByName("blob_").AsString(), std::string("\0\x01", 2));

    c.fixture.Exec(
        "create table j (a text); create table k (a text); insert into j values ('1'); insert into k values "
        "('2')");
    c.Open("select * from j, k");
    EXPECT_EQ(c.query.Fields(1).FieldName(), "a_1") << "a repeated name is made unique";
}

TEST(AdoQuery, AQueryFillsAClientDatasetAndKeepsItsOwnRowsReadOnly) {
    Company c;
    c.fixture.Exec("insert into kund (kundnr, namn) values ('K1', 'Ett'), ('K2', 'Två')");
    c.Open("select kundnr, namn from kund order by kundnr");
    TClientDataSet copy;
    TDataSetRows rows(c.query);
    copy.AppendRows(rows);
    EXPECT_EQ(copy.RecordCount(), 2);
    copy.Last();
    EXPECT_EQ(copy.FieldByName("namn").AsString(), "Två");
    copy.Edit();  // the copy is the client's to change
    copy.FieldByName("namn").SetAsString("x");
    copy.Post();
    try {
        c.query.Edit();
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "Cannot modify a read-only dataset");
    }
}

TEST(AdoQuery, CommandsRunWithParametersAndAnswerTheRowsTheyChanged) {
    Company c;
    c.fixture.Exec(
        "create table id (LastId integer); insert into id values (41);"
        "create table customer (CustomerId integer, CustomerNo text, OrganisationNo text)");
    // The time-reporting reservation: several statements, a transaction, an update with a subselect.
    c.query.SQL().SetText("begin transaction");
    c.query.ExecSQL();
    c.query.SQL().SetText("update Id set LastId =  (select max(id.LastId)+1 as LastId from id  )");
    EXPECT_EQ(c.query.ExecSQL(), 1);
    c.Open("select id.LastId from id;");
    EXPECT_EQ(c.query.FieldByName("LastID").AsInteger(), 42);
    c.query.Close();
    c.query.SQL().SetText("commit");
    c.query.ExecSQL();

    TADOCommand insert;
    insert.SetConnection(&c.connection);
    insert.SetCommandText(
        "insert into customer values (:id, :no, :org); insert into customer values (:id + 1, :no, :org)");
    insert.Parameters().ParamByName("ID").SetValue(Variant(int32_t{42}));
    insert.Parameters().ParamByName("no").SetValue(Text("K1"));
    insert.Parameters().ParamByName("org").SetValue(Text("556677-8899"));
    EXPECT_EQ(insert.Execute(), 1);
    EXPECT_EQ(
        c.Column("select CustomerId from customer where RTrim( Replace(Customer.OrganisationNo,'-','')) = "
                 ":paramDashlessOrgnr",
                 {Text("5566778899")}),
        (std::vector<std::string>{"42", "43"}));
}

TEST(AdoQuery, FaultsRaiseClearMessages) {
    Company c;
    auto message = [&](const std::function<void()>& action) -> std::string {
        try {
            action();
        } catch (const Exception& e) {
            return e.Message;
        }
        return "no error";
    };
    EXPECT_EQ(message([&] { c.Open("select * from nosuchtable"); }), "no such table: nosuchtable");
    EXPECT_EQ(message([&] { c.Open("update kund set namn = 'x'"); }),
              "CommandText does not return a result set");
    EXPECT_EQ(message([&] { c.Open("select * from kund where kundnr = ?"); }),
              "The SQL text holds the parameter \"?\", which is not of the form :name");
    EXPECT_EQ(message([&] { c.query.Parameters().ParamByName("nope"); }), "Parameter 'nope' not found");
    EXPECT_FALSE(c.query.Active());

    c.query.SQL().SetText("select * from kund where kundnr = :nr");
    c.query.Parameters().ParamByName("nr").SetDataType(TFieldType::ftInteger);
    c.query.Parameters().ParamByName("nr").SetValue(Text("K1"));
    EXPECT_THROW(c.query.Open(), Exception) << "a key that is no integer for an integer parameter";
    c.query.Parameters().ParamByName("nr").SetValue(Text("12"));
    c.query.Open();  // an integer text converts
    EXPECT_TRUE(c.query.IsEmpty());

    TADOQuery orphan;
    orphan.SQL().SetText("select 1");
    EXPECT_EQ(message([&] { orphan.Open(); }), "Missing Connection or ConnectionString");
    {
        TADOConnection temporary;
        orphan.SetConnection(&temporary);
    }
    EXPECT_EQ(orphan.Connection(), nullptr) << "a connection that goes away is forgotten";
}

TEST(AdoQuery, AClosedConnectionOpensWhenAQueryNeedsIt) {
    Company c;
    EXPECT_FALSE(c.connection.Connected());
    EXPECT_EQ(c.Column("select 1 as one"), std::vector<std::string>{"1"});
    EXPECT_TRUE(c.connection.Connected());
    c.connection.Close();
    EXPECT_TRUE(c.query.Active()) << "its rows stay";
    EXPECT_EQ(c.Column("select 2 as two"), std::vector<std::string>{"2"});
}

}  // namespace
}  // namespace tv
