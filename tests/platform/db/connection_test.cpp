// Connection strings as the ADO stand-in reads them, and which database each connection opens.

#include "db_test_support.h"
#include "kit/adk_abi.h"
#include "platform/data/db_error.h"
#include "platform/db/ado_query.h"
#include "platform/db/connection_string.h"

#include <functional>

#include <gtest/gtest.h>

namespace tv {
namespace {

struct ParseCase {
    const char* text;
    const char* key;
    const char* value;
};

TEST(ConnectionString, PairsWithQuotedValuesAndKeysInAnyCase) {
    const ParseCase cases[] = {
        {"Provider=VFPOLEDB.1;Data Source=/a/b", "data source", "/a/b"},
        {"  Provider = SQLOLEDB.1 ; User ID = sa ;", "USER ID", "sa"},
        {"Password=\"a;b\";User ID=x", "Password", "a;b"},
        {"Password='it''s';User ID=x", "Password", "it's"},
        {"Password=\"say \"\"hi\"\"\"", "Password", "say \"hi\""},
        {"Password=\"\";X=1", "Password", ""},
        {"A=1;;A=2", "a", "2"},  // the last one counts
        {"Extended Properties=\"DSN=x;SourceDB=/c;\"", "Extended Properties", "DSN=x;SourceDB=/c;"},
        {"A=1", "B", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(TConnectionString(c.text).Value(c.key), c.value) << c.text;
}

TEST(ConnectionString, AMalformedStringIsRefusedWithoutShowingItsValues) {
    const std::pair<const char*, const char*> cases[] = {
        {"Provider=x;Password=\"secret", "The connection string is malformed at character 21"},
        {"Provider=x;secret", "The connection string is malformed at character 12"},
        {"=secret", "The connection string is malformed at character 1"},
        {"Password=\"secret\"x;A=1", "The connection string is malformed at character 18"},
    };
    for (const auto& [text, message] : cases) {
        try {
            TConnectionString parsed(text);
            ADD_FAILURE() << text;
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message, message) << text;
        }
    }
}

struct OpenCase {
    const char* name;
    std::function<std::string(const test::FixtureCompany&)> connectionString;
    std::function<std::string(const test::FixtureCompany&)> error;  // empty: opens the company
};

TEST(AdoConnection, TheProviderDecidesWhichDatabaseOpens) {
    using F = const test::FixtureCompany&;
    const OpenCase cases[] = {
        {"VFP provider on the company folder", [](F f) { return f.VfpString(); }, nullptr},
        {"ODBC source with the folder in its extended properties",
         [](F f) {
             return "Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"DSN=Visual FoxPro "
                    "Tables;UID=;SourceDB=" +
                    f.folder + ";SourceType=DBF;\"";
         },
         nullptr},
        {"SQL Server provider with a database file",
         [](F f) { return "Provider=SQLOLEDB.1;Data Source=" + f.database; }, nullptr},
        {"SQL Server provider with a server",
         [](F) {
             return std::string(
                 "Provider=SQLOLEDB.1;Password=secret;User ID=sa;Data Source=(local)\\SQL2019");
         },
         [](F) {
             return std::string(
                 "Server databases are not supported on this machine yet (data source \"(local)\\SQL2019\"); "
                 "give "
                 "the path of a database file");
         }},
        {"missing company folder",
         [](F f) { return "Provider=VFPOLEDB.1;Data Source=" + f.folder + "/nope;Password=secret"; },
         [](F f) { return "The company folder \"" + f.folder + "/nope\" does not exist"; }},
        {"folder without a company database",
         [](F f) { return "Provider=VFPOLEDB.1;Data Source=" + f.dir.Path("") + ";Password=secret"; },
         [](F f) { return "The database \"" + f.dir.Path("") + "company.sqlite\" does not exist"; }},
        {"no company folder", [](F) { return std::string("Provider=VFPOLEDB.1;Password=secret"); },
         [](F) { return std::string("The connection string names no company folder"); }},
        {"unknown provider",
         [](F) { return std::string("Provider=Microsoft.Jet.OLEDB.4.0;Password=secret"); },
         [](F) { return std::string("The provider \"Microsoft.Jet.OLEDB.4.0\" is not supported"); }},
        {"no provider", [](F) { return std::string("Data Source=x;Password=secret"); },
         [](F) { return std::string("The connection string names no provider"); }},
        {"empty", [](F) { return std::string(); },
         [](F) { return std::string("Missing Connection or ConnectionString"); }},
        {"malformed", [](F) { return std::string("Provider=VFPOLEDB.1;Password=\"secret"); },
         [](F) { return std::string("The connection string is malformed at character 30"); }},
    };
    for (const auto& c : cases) {
        test::FixtureCompany company;
        TADOConnection connection;
        connection.SetConnectionString(c.connectionString(company));
        if (!c.error) {
            connection.Open();
            EXPECT_TRUE(connection.Connected()) << c.name;
            EXPECT_EQ(connection.DatabaseFile(), company.database) << c.name;
            continue;
        }
        try {
            connection.Open();
            ADD_FAILURE() << c.name;
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message, c.error(company)) << c.name;
            EXPECT_EQ(e.Message.find("secret"), std::string::npos) << "no password in messages";
        }
        EXPECT_FALSE(connection.Connected()) << c.name;
    }
}

// The kit and the SQL side open the same file in a company folder.
static_assert(kCompanyDatabaseName == std::string_view(ADK_COMPANY_DATABASE_NAME));

TEST(AdoConnection, OpensInWalModeAndRefusesANewStringWhileOpen) {
    test::FixtureCompany company;
    TADOConnection connection;
    connection.SetConnectionString(company.VfpString());
    connection.SetConnected(true);
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().SetText("pragma journal_mode");
    query.Open();
    EXPECT_EQ(query.Fields(0).AsString(), "wal");
    EXPECT_THROW(connection.SetConnectionString("Provider=VFPOLEDB.1"), EDatabaseError);
    connection.Close();
    EXPECT_FALSE(connection.Connected());
    connection.SetConnectionString("Provider=VFPOLEDB.1");
}

TEST(AdoConnection, TransactionsCommitOrRollBack) {
    test::FixtureCompany company;
    TADOConnection connection;
    connection.SetConnectionString(company.VfpString());
    TADOCommand insert;
    insert.SetConnection(&connection);
    insert.SetCommandText("insert into kund (kundnr, namn) values (:nr, 'x')");
    connection.Open();
    connection.BeginTrans();
    EXPECT_TRUE(connection.InTransaction());
    insert.Parameters().ParamByName("nr").SetValue(Variant::FromUtf8("K1"));
    EXPECT_EQ(insert.Execute(), 1);
    connection.RollbackTrans();
    connection.BeginTrans();
    insert.Parameters().ParamByName("nr").SetValue(Variant::FromUtf8("K2"));
    insert.Execute();
    connection.CommitTrans();
    EXPECT_FALSE(connection.InTransaction());
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().SetText("select kundnr from kund");
    query.Open();
    EXPECT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.Fields(0).AsString(), "K2");
}

}  // namespace
}  // namespace tv
