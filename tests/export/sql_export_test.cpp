// The SQL query export against the export fixture company: results written under "quorvel/custom"
// and compared byte for byte with hand-written files, the file names, the failures each reported
// under the operation's item, the settings window's query tests, and the company database left
// disconnected by each, yet read again by the selections that follow.

#include "export/sql_export.h"

#include <gtest/gtest.h>

#include "platform/db/ado_query.h"
#include "platform/rtl/files.h"
#include "tests/export/company_database.h"
#include "tests/export/export_world.h"

namespace tv {
namespace {

using test::List;

class SqlExportTest : public ::testing::Test {
protected:
    SqlExportTest() {
        DefaultFormatSettings() = test::ForceDotSettings();
        world_.Open();
        ForceDirectories(world_.Unprocessed());  // the SQL export makes no folder
        AddQuery("Tomt", "select kundnr, namn from kund where kundnr = 'ingen'");
        AddQuery("Orter", "select kundnr, ort from kund where kundnr = :kundnr", "sql_$exportdatum.xml",
                 "yyyymmdd");
        AddQuery("Kunder", "select kundnr from kund order by kundnr");
        AddQuery("Fel", "select nothing from nowhere");
    }
    ~SqlExportTest() override { DefaultFormatSettings() = saved_; }

    void AddQuery(const std::string& name, const std::string& sql, const std::string& fileTemplate = "",
                  const std::string& dateFormat = "") {
        TClientDataSet& queries = world_.MainDM().CDSExportSQLPrefs();
        queries.Append();
        queries.FieldByName("SQL_QUERY_NAME").SetAsString(name);
        queries.FieldByName("SQL_QUERY").SetAsString(sql);
        queries.FieldByName("SQL_FILE_MANAGEMENT_TMPL").SetAsString(fileTemplate);
        queries.FieldByName("SQL_FILE_DATE_FORMAT").SetAsString(dateFormat);
        queries.Post();
    }
    bool Connected() { return world_.MainDM().adminODBC().Connected(); }
    const std::vector<std::string>& Lines() { return world_.Events().Lines; }

    TFormatSettings saved_ = DefaultFormatSettings();
    test::TExportWorld world_{test::FixtureBytes("documents.sql")};
    TDMExport& export_ = world_.Facade();
};

TEST_F(SqlExportTest, AQueryWithoutRowsWritesItsMetadataAndEmptyRowsToCustomXml) {
    export_.ExportSQL("Tomt", "");
    const std::string file = world_.Unprocessed() + "custom.xml";
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"custom.xml"});
    EXPECT_EQ(world_.ReadWritten("custom.xml"), test::FixtureBytes("sql_no_rows.xml"));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"item+ Exporterar sql-fråga Tomt", "  1 Exporterar: " + file}));
    EXPECT_FALSE(Connected());
    EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());
}

TEST_F(SqlExportTest, AListRunsTheQueryOncePerKeyIntoOneFileInListOrder) {
    export_.ExportSQLFromList("Orter", "", List({"1002", "K1004", "1001"}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"sql_20100531.xml"});
    EXPECT_EQ(world_.ReadWritten("sql_20100531.xml"), test::FixtureBytes("sql_three_keys.xml"));
    EXPECT_FALSE(Connected());

    // No list or an empty one writes nothing.
    world_.Events().Clear();
    export_.ExportSQLFromList("Orter", "", List({}).get());
    export_.ExportSQLFromList("Orter", "", nullptr);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "item+ Exporterar sql-fråga Orter", "  1 Inget utrval, avbryter .. ",
                           "item+ Exporterar sql-fråga Orter", "  1 Inget utrval, avbryter .. "}));
    EXPECT_EQ(world_.Written().size(), 1u);
}

// Values trimmed, nulls empty, money with the currency decimals, bytes in hexadecimal, dates and
// numbers as the interchange document writes them; a file name given is used as it stands.
TEST_F(SqlExportTest, CellsAreWrittenAsTextTrimmedAndNullsEmpty) {
    test::CompanyDatabase company(world_.Company());
    company.Exec(
        "create table sqlvarden (nr integer, text text, belopp money, data blob, dag datetime, tal real)");
    company.Exec(
        "insert into sqlvarden values (1, '  blank runt  ', 12.5, x'0AFF', '2010-05-31 12:00:00', 1234.5),"
        " (2, null, null, null, null, null)");
    AddQuery("Värden", "select * from sqlvarden order by nr");
    const std::string file = world_.Dir().Path("ut_$exportdatum.xml");
    export_.ExportSQL("Värden", file);
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_EQ(world_.Dir().Read(file), test::FixtureBytes("sql_values.xml"));
}

struct FailureCase {
    const char* rule;
    const char* name;
    const char* fileName;  // "" for the query's template
    std::string line;      // the start of the level-2 line
};

TEST_F(SqlExportTest, EveryFailureIsALevelTwoLineUnderTheItemAndNoFile) {
    AddQuery("Namn", "select 1 as \"inte ett namn\"");
    const std::string missingFolder = world_.Dir().Path("saknas/ut.xml");
    const FailureCase cases[] = {
        {"a name in other letters is not found", "tomt", "", "  2 Saknar definition för tomt"},
        {"the database refuses the SQL", "Fel", "", "  2 "},
        {"a column name that is no element name", "Namn", "", "  2 "},
        {"a folder that does not exist", "Kunder", missingFolder.c_str(),
         "  2 Kunde inte spara fil: [" + missingFolder + "] ["},
    };
    for (const FailureCase& c : cases) {
        world_.Events().Clear();
        export_.ExportSQL(c.name, c.fileName);
        ASSERT_GE(Lines().size(), 2u) << c.rule;
        EXPECT_TRUE(Lines().back().starts_with(c.line)) << c.rule << ": " << Lines().back();
        EXPECT_EQ(world_.Events().Depth(), 0) << c.rule;
        EXPECT_FALSE(Connected()) << c.rule;
        EXPECT_FALSE(world_.MainDM().XMLDocument1().Active()) << c.rule;
    }
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_FALSE(FileExists(missingFolder));

    // A list for a query without parameters fails at its first key.
    world_.Events().Clear();
    export_.ExportSQLFromList("Kunder", "", List({"1001"}).get());
    EXPECT_EQ(Lines().size(), 2u);
    EXPECT_TRUE(Lines().back().starts_with("  2 ")) << Lines().back();
    EXPECT_TRUE(world_.Written().empty());
}

TEST_F(SqlExportTest, TheQueryTestsCountTheRowsAndLeaveTheDatabaseDisconnected) {
    int count = -1;
    int ms = -1;
    export_.TestSQL("Kunder", count, ms);
    EXPECT_EQ(count, 4);
    EXPECT_GE(ms, 0);
    EXPECT_FALSE(Connected());
    export_.TestSQLText("select * from art", count, ms);
    EXPECT_EQ(count, 6);  // P3 of the documents
    EXPECT_FALSE(Connected());

    EXPECT_THROW(export_.TestSQL("kunder", count, ms), Exception);
    try {
        export_.TestSQLText("select kundnr from nowhere", count, ms);
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("nowhere"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(Connected());
    EXPECT_TRUE(Lines().empty());
}

// The export leaves the company database disconnected in the middle of a job; the selections and
// look-ups that follow connect again on their own.
TEST_F(SqlExportTest, SelectionsAfterTheExportStillReadTheirRows) {
    export_.ExportSQL("Kunder", "");
    ASSERT_FALSE(Connected());
    TStringList items;
    export_.GetDocumentsBySQL(items, "select doknr from oof where doktyp = 'O' order by doknr");
    export_.GetCustomersByTimeStamp(items, 0, "");
    EXPECT_EQ(items.Text(), "1\r\n2\r\n3\r\n4\r\n1001\r\n1002\r\n1003\r\nK1004\r\n");
}

}  // namespace
}  // namespace tv
