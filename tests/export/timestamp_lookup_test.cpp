// The change look-ups against the export fixture company: the default query of each kind, a query
// the script passes, the start value 0, the newest change time, errors, and the start parameter of
// an SQL Server company.

#include "export/timestamp_lookup.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/db/ado_query.h"
#include "platform/rtl/date_format.h"
#include "tests/export/export_world.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

// Register times apart, so that the article and customer orders by time are fixed; supplier
// invoices whose order by time is the reverse of their numbers.
constexpr char kLookupSeed[] = R"(
UPDATE art SET timestamp = '2024-01-02 09:00:01' WHERE artnr = 'A2';
UPDATE art SET timestamp = '2024-01-02 09:00:02' WHERE artnr = 'A3';
UPDATE art SET timestamp = '2024-01-02 09:00:03' WHERE artnr = 'P1';
UPDATE art SET timestamp = '2024-01-02 09:00:04' WHERE artnr = 'P2';
UPDATE art SET timestamp = '2024-01-02 09:00:05' WHERE artnr = 'P3';
INSERT INTO levfakturahuvud (doknr, levnr, timestamp) VALUES (7, 'L10', 1274868000), (8, 'L20', 1274781600);
)";

TDateTime At(int year, int month, int day, int hour, int minute = 0, int second = 0) {
    return EncodeDateTime(year, month, day, hour, minute, second, 0);
}

std::vector<std::string> Keys(const TStrings& items) {
    std::vector<std::string> keys;
    for (int i = 0; i < items.Count(); ++i) keys.push_back(items.Strings(i));
    return keys;
}

using Lookup = void (TDMExport::*)(TStrings&, TDateTime, const std::string&);

class TimestampLookupTest : public ::testing::Test {
protected:
    TimestampLookupTest() : world_(test::FixtureBytes("documents.sql") + kLookupSeed) { world_.Open(); }

    test::TExportWorld world_;
    TDMExport& export_ = world_.Facade();
};

struct DefaultQueryCase {
    const char* rule;
    Lookup lookup;
    TDateTime startfrom;
    std::vector<std::string> keys;
    TDateTime lastDate;
};

TEST_F(TimestampLookupTest, DefaultQueriesAppendTheKeysChangedAfterTheStartInTimeOrder) {
    const DefaultQueryCase cases[] = {
        {"orders after the second",
         &TDMExport::GetOrdersByTimeStamp,
         At(2010, 5, 21, 10),
         {"3", "4"},
         At(2010, 5, 23, 10)},
        {"start 0 takes every order",
         &TDMExport::GetOrdersByTimeStamp,
         0,
         {"1", "2", "3", "4"},
         At(2010, 5, 23, 10)},
        {"invoices only", &TDMExport::GetInvoicesByTimeStamp, 0, {"1", "2"}, At(2010, 5, 26, 10)},
        {"supplier invoices by time, not number",
         &TDMExport::GetSupplierInvoicesByTimeStamp,
         0,
         {"8", "7"},
         At(2010, 5, 26, 10)},
        {"customers changed strictly after midnight",
         &TDMExport::GetCustomersByTimeStamp,
         At(2024, 1, 4, 0),
         {"1003", "K1004"},
         At(2024, 1, 6, 9)},
        {"start 0 takes every customer",
         &TDMExport::GetCustomersByTimeStamp,
         0,
         {"1001", "1002", "1003", "K1004"},
         At(2024, 1, 6, 9)},
        {"articles after a second",
         &TDMExport::GetArticlesByTimeStamp,
         At(2024, 1, 2, 9, 0, 2),
         {"P1", "P2", "P3"},
         At(2024, 1, 2, 9, 0, 5)},
        {"nothing newer keeps the start",
         &TDMExport::GetOrdersByTimeStamp,
         At(2011, 1, 1, 0),
         {},
         At(2011, 1, 1, 0)},
    };
    for (const DefaultQueryCase& c : cases) {
        TStringList items;
        items.Add("kept");  // the list is appended to, not emptied
        std::invoke(c.lookup, export_, items, c.startfrom, std::string());
        std::vector<std::string> expected{"kept"};
        expected.insert(expected.end(), c.keys.begin(), c.keys.end());
        EXPECT_EQ(Keys(items), expected) << c.rule;
        EXPECT_NEAR(export_.GetLastTimeStamp(), c.lastDate, 1e-9) << c.rule;
    }
    EXPECT_TRUE(world_.Events().Lines.empty());
}

// A script's query runs as it stands: its rows in its order, keys as it gives them (long ones too),
// and times before the start leave the start as the newest.
TEST_F(TimestampLookupTest, AScriptsQueryIsUsedUnchangedAndItsKeysAreNotTrimmedOrCut) {
    TStringList items;
    export_.GetOrdersByTimeStamp(items, At(2011, 1, 1, 0),
                                 "select doknr || '  ' as key, timestamp from oof where doktyp = 'O' "
                                 "order by doknr desc");
    EXPECT_EQ(Keys(items), (std::vector<std::string>{"4  ", "3  ", "2  ", "1  "}));
    EXPECT_EQ(export_.GetLastTimeStamp(), At(2011, 1, 1, 0));

    const std::string longKey = "ARTIKEL-MED-ETT-MYCKET-LANGT-NUMMER-1";
    items.Clear();
    export_.GetArticlesByTimeStamp(items, 0,
                                   "select ' " + longKey + "' as key, '2024-02-01 08:00:00' as timestamp");
    EXPECT_EQ(Keys(items), std::vector<std::string>{" " + longKey});
    EXPECT_NEAR(export_.GetLastTimeStamp(), At(2024, 2, 1, 8), 1e-9);
}

TEST_F(TimestampLookupTest, AQueryErrorIsALevelTwoLineAndReachesTheScriptWithNoLastDate) {
    TStringList items;
    export_.GetOrdersByTimeStamp(items, 0, "");
    ASSERT_GT(export_.GetLastTimeStamp(), 0);
    EXPECT_ANY_THROW(export_.GetOrdersByTimeStamp(items, 0, "select doknr, timestamp from nowhere"));
    EXPECT_EQ(export_.GetLastTimeStamp(), 0);
    ASSERT_EQ(world_.Events().Lines.size(), 1u);
    EXPECT_TRUE(world_.Events().Lines[0].starts_with("2 ")) << world_.Events().Lines[0];
    // A query without a second column fails the same way.
    EXPECT_ANY_THROW(export_.GetCustomersByTimeStamp(items, 0, "select kundnr from kund"));
    EXPECT_EQ(world_.Events().Lines.size(), 2u);
    EXPECT_EQ(items.Count(), 4);
}

// The look-up classes themselves: each item keeps its change time, read as its kind says.
TEST_F(TimestampLookupTest, EachItemKeepsItsChangeTimeAndTheInvoiceLookUpLogsNewerTimes) {
    test::CapturedLog log;
    TInvoiceHelper invoices(world_.Export(), export_.Selections());
    invoices.GetModifiedSince(0, "");
    ASSERT_EQ(invoices.Fitems.Count(), 2);
    EXPECT_EQ(invoices.Fitems.Get(0).FKey, "1");
    EXPECT_NEAR(invoices.Fitems.Get(0).FModified, At(2010, 5, 25, 10), 1e-9);
    EXPECT_NEAR(invoices.Fitems.Get(1).FModified, At(2010, 5, 26, 10), 1e-9);
    EXPECT_NE(log.Text().find("Updated lastdate: " + DateToStr(At(2010, 5, 26, 10))), std::string::npos)
        << log.Text();

    TCustomerHelper customers(world_.Export(), export_.Selections());
    customers.GetModifiedSince(At(2024, 1, 5, 9), "");
    ASSERT_EQ(customers.Fitems.Count(), 1);
    EXPECT_EQ(customers.Fitems.Get(0).FKey, "K1004");
    EXPECT_NEAR(customers.Fitems.Get(0).FModified, At(2024, 1, 6, 9), 1e-9);
}

// On an SQL Server company the start is a date-time parameter; elsewhere Unix seconds, the start 0
// included (its seconds are those of 1899-12-30).
TEST_F(TimestampLookupTest, TheStartIsADateTimeOnAnSqlServerCompanyAndUnixSecondsElsewhere) {
    TADOQuery& query = world_.MainDM().qOrderUrval();
    const auto start = [&] { return query.Parameters().ParamByName("startvalue").Value(); };
    TStringList items;
    export_.GetCustomersByTimeStamp(items, At(2010, 5, 31, 12), "");
    EXPECT_EQ(start().AsInt64(), 1275307200);
    export_.GetOrdersByTimeStamp(items, 0, "");
    EXPECT_EQ(start().AsInt64(), -2209161600);

    TExportContext context = MakeExportContext(world_.MainDM());
    context.IsSQLDb = [] { return true; };
    TExportModule sqlServer(context, test::FixedNow);
    TExportWriters writers(sqlServer);
    TDMExport onSqlServer(sqlServer, writers);
    items.Clear();
    onSqlServer.GetCustomersByTimeStamp(items, At(2024, 1, 4, 0), "");
    EXPECT_EQ(start().VarType(), varDate);
    EXPECT_DOUBLE_EQ(start().AsDate(), At(2024, 1, 4, 0));
    // The SQL Server query compares the date-time column with the date-time as it stands.
    EXPECT_EQ(Keys(items), (std::vector<std::string>{"1003", "K1004"}));
}

}  // namespace
}  // namespace tv
