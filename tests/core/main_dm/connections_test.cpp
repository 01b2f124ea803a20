// The company connection, the kit datasets and the two database connections of the central data
// module, against companies made by the kit's tool.

#include <gtest/gtest.h>

#include "tests/core/main_dm/main_dm_fixture.h"

namespace tv {
namespace {

class Connections : public ::testing::Test, public test::MainDMFixture {};

TEST_F(Connections, ConnectSpcsOpensTheCompanyOfTheSettingsOrSaysWhy) {
    Set("InstallningarCDS", {{"SPCSPathSRC", Root("no such company")}});
    try {
        dm->connectSPCS();
        ADD_FAILURE() << "connected to a missing folder";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Kunde inte ansluta till SPCS: Sökvägen till SPCS är felaktig");
    }
    const std::string company = MakeDemoCompany("demo");
    Set("InstallningarCDS",
        {{"SPCSPathSRC", company}, {"CompanyUsername", "kalle"}, {"CompanyPassword", "hemligt"}});
    dm->connectSPCS();
    EXPECT_TRUE(dm->AdkDBSRC().Connected());
    EXPECT_EQ(dm->AdkDBSRC().Username, "kalle");
    // Another company folder in the settings closes the company.
    Set("InstallningarCDS", {{"SPCSPathSRC", Root()}});
    EXPECT_FALSE(dm->AdkDBSRC().Connected());
    EXPECT_EQ(log.Text().find("hemligt"), std::string::npos);
}

TEST_F(Connections, OpenAdkOpensTheTablesTheCompanyOffers) {
    Set("InstallningarCDS", {{"SPCSPathSRC", MakeDemoCompany("demo")}});
    dm->connectSPCS();
    dm->openADK();
    for (const char* name : {"AdkKunder",        "ADKLeverantorer",
                             "AdkOrder",         "AdkOffert",
                             "ADKLevFakturor",   "ADKBest",
                             "ADKFakturor",      "AdkPrm",
                             "AdkAvtal",         "AdkArtikelKontering",
                             "ADKKontakter",     "ADKArtiklar",
                             "AdkInkPris",       "ADKKundinbetalningar",
                             "AdkPrislistor",    "AdkForsaljningspriser",
                             "AdkPaketArtiklar", "ADKKolli",
                             "ADKManuellIn",     "AdkManuellUt",
                             "AdkInkFs",         "ADKProjekt",
                             "AdkOrderRader",    "ADKBestRader"})
        EXPECT_TRUE(dm->AdkDataSet(name).Active()) << name;
    EXPECT_FALSE(dm->AdkDataSet("AdkKunderTmp").Active());
    EXPECT_EQ(dm->AdkDataSet("AdkPrm").RecordCount(), 1);  // read whole on open
    EXPECT_TRUE(events.lines.empty());

    // The selection timer's tick counts the orders read so far.
    dm->Timer1Timer();
    EXPECT_TRUE(events.lines.empty());  // the selection is not open
    TAdkDataSet& selection = dm->AdkDataSet("AdkOrderUrval");
    ASSERT_TRUE(selection.MakeOpen());
    selection.FetchAllNow(false);
    dm->Timer1Timer();
    EXPECT_EQ(events.lines, std::vector<std::string>{"8:Hämtat: " + std::to_string(selection.RecordCount())});
    EXPECT_GT(selection.RecordCount(), 0);

    dm->closeADK();
    EXPECT_FALSE(dm->AdkDataSet("AdkKunder").Active());
    EXPECT_FALSE(dm->AdkDataSet("AdkInkPris").Active());
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// A kit fault makes every sort-order call from the n-th on throw.
std::string FailSortOrdersFrom(int n) {
    return "INSERT INTO kit_faults(function, code, message, skip, times) VALUES('AdkSetSortOrder', 0, "
           "'kit fault', " +
           std::to_string(n - 1) + ", -1);\n";
}

TEST_F(Connections, OpenAdkReportsAFailedTableAtItsLevelAndGoesOnAfterTheFirstFive) {
    Set("InstallningarCDS", {{"SPCSPathSRC", MakeDemoCompany("demo", FailSortOrdersFrom(6))}});
    dm->connectSPCS();
    dm->openADK();
    // Every table from the sixth on fails but the company settings, which need no sort order.
    EXPECT_EQ(events.lines,
              (std::vector<std::string>{"8:Beställningar", "8:Fakturor", "8:Avtal", "8:Artikelkontering",
                                        "8:ADKKontakter", "8:Artiklar", "8:Inköpspriser",
                                        "8:Kundinbetalningar", "8:Prislistor", "8:Försäljningspriser",
                                        "8:Paketartiklar", "8:Kolli", "8:Manuellinleverans",
                                        "8:Manuellutleverans", "8:Inkommandeföljesedel", "8:Projekt"}));
    EXPECT_TRUE(dm->AdkDataSet("ADKLevFakturor").Active());
    EXPECT_TRUE(dm->AdkDataSet("AdkPrm").Active());
    EXPECT_FALSE(dm->AdkDataSet("ADKBest").Active());  // a table that failed is not left half open
    EXPECT_NE(log.Text().find("DEBUG Beställningar: Exception: ADKBest: Error occured in AdkSetSortOrder"),
              std::string::npos)
        << log.Text();
}

TEST_F(Connections, OpenAdkRaisesAFailureOfTheFirstFive) {
    Set("InstallningarCDS", {{"SPCSPathSRC", MakeDemoCompany("demo", FailSortOrdersFrom(1))}});
    dm->connectSPCS();
    EXPECT_THROW(dm->openADK(), Exception);
    EXPECT_EQ(events.lines, std::vector<std::string>{"2:Kunder"});
    EXPECT_FALSE(dm->AdkDataSet("ADKLeverantorer").Active());
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

TEST_F(Connections, ATableTheCompanysProgramLacksStaysClosedWithoutAReport) {
    const std::string company = folders.dir.Path("small");
    ASSERT_EQ(test::RunAdkctl({"create", company, "--variant", "2"}, folders.dir.Path("adkctl.log")), 0);
    Set("InstallningarCDS", {{"SPCSPathSRC", company}});
    dm->connectSPCS();
    dm->openADK();  // offers are fourth and would be raised again
    EXPECT_FALSE(dm->AdkDataSet("AdkOffert").Active());
    EXPECT_FALSE(dm->AdkDataSet("ADKBest").Active());
    EXPECT_TRUE(dm->AdkDataSet("ADKLeverantorer").Active());
    EXPECT_TRUE(dm->AdkDataSet("ADKLevFakturor").Active());
    EXPECT_TRUE(events.lines.empty());
}

TEST_F(Connections, ConnectOdbcOpensTheCompanyDatabaseAndLogsNoPassword) {
    const std::string company = MakeDemoCompany("demo");
    Set("InstallningarCDS", {{"SPCSPathSRC", company}});
    dm->connectODBC();
    EXPECT_TRUE(dm->adminODBC().Connected());
    EXPECT_EQ(dm->adminODBC().DatabaseFile(), company + "/company.sqlite");
    EXPECT_NE(log.Text().find("DEBUG Provider=VFPOLEDB.1;Data Source=" + company + ";Password=***;"),
              std::string::npos)
        << log.Text();
    dm->disconnectODBC();
    EXPECT_FALSE(dm->adminODBC().Connected());
}

TEST_F(Connections, TheUserOfAnSqlCompanyFollowsTheAuthenticationMode) {
    const std::string company = folders.dir.Path("sqlco");
    folders.dir.Write(
        "sqlco/Ftg.ini",
        "[DataSource]\r\nDBInstance=srv\\SQL\r\nDBName=F01\r\nDBUser=dbu\r\nDBPassword=dbpw\r\n");
    dm->AdkDBSRC().SetCompanyPath(company);
    ASSERT_TRUE(dm->AdkDBSRC().IsSQLDb());
    struct Row {
        const char* mode;
        const char* companyUser;
        const char* expected;  // in the logged connection string
    };
    constexpr Row kRows[] = {
        {"0", "kalle",
         "Password=***;Persist Security Info=False;User ID=kalle;Initial Catalog=F01;Data Source=srv\\SQL"},
        {"0", "", "User ID=dbu;"},  // the company's own user
        {"1", "kalle", "User ID=kalle;"},
        {"1", "", "Integrated Security=SSPI;"},  // no user: Windows authentication
        {"2", "kalle", "User ID=F01_kalle;"},
        {"3", "kalle",
         "Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=F01;Data Source=srv\\SQL"},
    };
    for (const auto& row : kRows) {
        Set("InstallningarCDS", {{"CompanySQLAuthMode", row.mode},
                                 {"CompanySQLUsername", row.companyUser},
                                 {"CompanySQLPassword", "pw1"}});
        const size_t from = log.Text().size();
        EXPECT_THROW(dm->connectODBC(), Exception);  // no server databases here
        const std::string logged = log.Text().substr(from);
        EXPECT_NE(logged.find(row.expected), std::string::npos) << row.mode << " " << row.companyUser << "\n"
                                                                << logged;
    }
    EXPECT_EQ(log.Text().find("pw1"), std::string::npos);
    EXPECT_EQ(log.Text().find("dbpw"), std::string::npos);
}

TEST_F(Connections, VismaTidOpensWithTheSettingsPutIntoItsConnectionString) {
    const std::string tidFile = folders.dir.Write("tid/tid.sqlite", "");
    Set("CDSTidPrefs",
        {{"TIDDBServer", tidFile}, {"TIDDBName", "TID"}, {"TIDDBUser", "tu"}, {"TIDDBPassword", "tidpw"}});
    EXPECT_EQ(dm->TransformConnectionString(dm->VismaTidConnection().ConnectionString(), false),
              "Provider=SQLOLEDB.1;Password=tidpw;Persist Security Info=True;User ID=tu;Initial "
              "Catalog=TID;Data Source=" +
                  tidFile);
    EXPECT_EQ(dm->TransformConnectionString("Initial Catalog=TID;Data Source=x", true),
              "Initial Catalog=;Data Source=" + tidFile);
    dm->connectVismaTid(false);
    EXPECT_TRUE(dm->VismaTidConnection().Connected());
    dm->disconnectVismaTid();

    Set("CDSTidPrefs", {{"TIDDBServer", "tidserver"}});
    try {
        dm->connectVismaTid(false);
        ADD_FAILURE() << "connected to a server";
    } catch (const Exception& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("Kunde inte ansluta till Visma Tid databas: ", 0), 0u) << message;
        EXPECT_EQ(message.find("tidpw"), std::string::npos) << message;
    }
}

TEST(ConnectionStringValue, IsReplacedWhereTheKeyStands) {
    struct Row {
        const char* text;
        const char* key;
        const char* value;
        const char* result;
    };
    constexpr Row kRows[] = {
        {"Provider=X;Data Source=a;Initial Catalog=b", "Source", "srv",
         "Provider=X;Data Source=srv;Initial Catalog=b"},
        {"Provider=X;Data Source=a", "Initial Catalog", "db",
         "Provider=X;Data Source=a"},  // no key: unchanged
        {"Password=;User ID=u", "Password", "pw", "Password=pw;User ID=u"},
        {"password=old", "Password", "new", "password=new"},                       // letter case ignored
        {"Password=;User ID=u", "Password", "a;b", "Password=\"a;b\";User ID=u"},  // cannot add a key
    };
    for (const auto& row : kRows)
        EXPECT_EQ(TMainDM::ReplaceConnectionStringValue(row.text, row.key, row.value), row.result)
            << row.text;
}

}  // namespace
}  // namespace tv
