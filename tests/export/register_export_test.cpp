#include "export/register_export.h"

#include <gtest/gtest.h>

#include "platform/rtl/string_list.h"
#include "tests/export/export_world.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

using test::List;

class RegisterExportTest : public ::testing::Test {
protected:
    explicit RegisterExportTest(const std::string& extraSeed = "") : world_(extraSeed) {}
    void SetUp() override { world_.Open(); }
    test::TExportWorld world_;
};

TEST_F(RegisterExportTest, CustomersInOneFileWithTheCompanyInformation) {
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kunder.xml");
    world_.Set("CDSExportCustomersPrefs", "INCLUDES_FTG_INFO", "1");
    world_.Facade().ExportCustomersFromList(List({"1001", " 1002 "}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"kunder.xml"});
    EXPECT_EQ(world_.ReadWritten("kunder.xml"), test::FixtureBytes("customers_with_company.xml"));
    const std::string file = world_.Unprocessed() + "kunder.xml";
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar kunder",
                                         "  item Använder egendefinerat urval",
                                         "  count 2",
                                         "  1 Exporterar kunder 2",
                                         "  1 Skriver fil : [" + file + "] @" + file,
                                     }));
    EXPECT_EQ(world_.Events().Depth(), 0);
    EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());
    // Each customer's own price-list code is collected for the price-list include.
    TDataSet& codes = world_.Export().Selections().CDSPrislistUrval();
    EXPECT_EQ(codes.RecordCount(), 2);
    codes.First();
    EXPECT_EQ(codes.Fields(0).AsString(), "Customer:1001");
}

TEST_F(RegisterExportTest, CustomersOneFilePerRecord) {
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kund_$kundnr.xml");
    world_.Facade().ExportCustomersFromList(List({"1001", "1002"}).get());
    EXPECT_EQ(world_.Written(), (std::vector<std::string>{"kund_1001.xml", "kund_1002.xml"}));
    EXPECT_EQ(world_.ReadWritten("kund_1001.xml"), test::FixtureBytes("single_customer.xml"));
    EXPECT_EQ(world_.ReadWritten("kund_1002.xml"), test::FixtureBytes("customer_1002.xml"));
}

TEST_F(RegisterExportTest, AnEmptyCustomerSelectionWritesASkeletonInOneFileAndNothingPerRecord) {
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kunder.xml");
    world_.Set("CDSExportCustomersPrefs", "SELECTION_TYPE", "SQL");
    world_.Set("CDSExportCustomersPrefs", "SELECTION_SQL", "select kundnr from kund where kundnr = 'none'");
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TYPE", "1");
    world_.Facade().ExportCustomers();
    EXPECT_TRUE(world_.Written().empty());
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TYPE", "0");
    world_.Facade().ExportCustomers();
    EXPECT_EQ(world_.ReadWritten("kunder.xml"), test::FixtureBytes("empty_skeleton.xml"));
}

TEST_F(RegisterExportTest, AFileModeNoExportBuildsIsReportedAndWritesNothing) {
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TYPE", "2");
    world_.Set("CDSExportContactsPrefs", "FILE_MANAGEMENT_TYPE", "2");
    world_.Facade().ExportCustomersFromList(List({"1001"}).get());
    world_.Facade().ExportContacts();
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar kunder",
                                         "  item Använder egendefinerat urval",
                                         "  3 Filhantering 2 stöds inte, ingen fil skrevs",
                                         "item+ Exporterar kontakter",
                                         "  3 Filhantering 2 stöds inte, ingen fil skrevs",
                                     }));
}

TEST_F(RegisterExportTest, AMissingCustomerEndsTheRunAfterTheFilesBefore) {
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kund_$kundnr.xml");
    world_.Facade().ExportCustomersFromList(List({"1001", "9999", "1002"}).get());
    EXPECT_EQ(world_.Written(), std::vector<std::string>{"kund_1001.xml"});
    EXPECT_EQ(world_.Events().Lines.back(), "  2 Kunde inte hitta kund: 9999");
    EXPECT_EQ(world_.Events().Depth(), 0);
    EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());
}

TEST_F(RegisterExportTest, SuppliersAlwaysMakeOneFileEvenForNone) {
    world_.Set("CDSExportSuppliersPrefs", "FILE_MANAGEMENT_TMPL", "lev.xml");
    world_.Set("CDSExportSuppliersPrefs", "FILE_MANAGEMENT_TYPE", "1");  // not read
    world_.Facade().ExportSuppliers();
    EXPECT_EQ(world_.ReadWritten("lev.xml"), test::FixtureBytes("suppliers.xml"));
    world_.Set("CDSExportSuppliersPrefs", "SELECTION_TYPE", "SQL");
    world_.Set("CDSExportSuppliersPrefs", "SELECTION_SQL", "select levnr from lev where 1 = 0");
    world_.Facade().ExportSuppliers();
    EXPECT_EQ(world_.ReadWritten("lev.xml"), test::FixtureBytes("empty_skeleton.xml"));
}

TEST_F(RegisterExportTest, ContactsCarryTheirReferencesAndARefusedNameIsLoggedNotDropped) {
    test::CapturedLog log;
    world_.Facade().ExportContacts();
    EXPECT_EQ(world_.ReadWritten("kontakter.xml"), test::FixtureBytes("contacts.xml"));
    EXPECT_EQ(log.Text(), "ERROR Fel i CONTACTS_NAME, \"Cilla\x02 Cas\" (length = 10)\n");
}

TEST_F(RegisterExportTest, ContactsOneFilePerRecordWithTheCompanyInformation) {
    world_.Set("CDSExportContactsPrefs", "FILE_MANAGEMENT_TYPE", "1");
    world_.Set("CDSExportContactsPrefs", "FILE_MANAGEMENT_TMPL", "kontakt_$lopnr.xml");
    world_.Set("CDSExportContactsPrefs", "INCLUDES_FTG_INFO", "1");
    world_.Set("CDSExportContactsPrefs", "SELECTION_TYPE", "SQL");
    world_.Set("CDSExportContactsPrefs", "SELECTION_SQL",
               "select kontaktid from kontakt where kontaktid <> 1");
    world_.Facade().ExportContacts();
    EXPECT_EQ(world_.Written(), (std::vector<std::string>{"kontakt_0.xml", "kontakt_1.xml"}));
    EXPECT_EQ(world_.ReadWritten("kontakt_0.xml"), test::FixtureBytes("contact_2_with_company.xml"));
}

TEST_F(RegisterExportTest, AMissingContactIsReported) {
    world_.Set("CDSExportContactsPrefs", "SELECTION_TYPE", "SQL");
    world_.Set("CDSExportContactsPrefs", "SELECTION_SQL", "select 42");
    world_.Facade().ExportContacts();
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_EQ(world_.Events().Lines.back(), "  2 Kunde inte hitta kontakt med id: 42");
}

struct AccountPlanCase {
    const char* rule;
    const char* year;
    const char* golden;
};

TEST_F(RegisterExportTest, TheChartOfAccountsOfAYearByIdOrByTodaysDate) {
    const AccountPlanCase cases[] = {
        {"by year id", "2010", "accountplan_2010.xml"},
        {"by today's date (2010-05-31)", "", "accountplan_2010.xml"},
        {"blanks are no year", "  ", "accountplan_2010.xml"},
        {"an unknown year: empty accounts, every project, today as the period", "1999",
         "accountplan_unknown_year.xml"},
    };
    for (const AccountPlanCase& c : cases) {
        world_.Facade().ExportAccountPlan(c.year);
        EXPECT_EQ(world_.ReadWritten("kontoplan.xml"), test::FixtureBytes(c.golden)) << c.rule;
        const std::string file = world_.Unprocessed() + "kontoplan.xml";
        EXPECT_EQ(world_.Events().Lines,
                  (std::vector<std::string>{"item+ Exporterar kontoplan",
                                            "  1 Skriver fil : [" + file + "] @" + file}))
            << c.rule;
        world_.Events().Clear();
        // The year's datasets are left closed and unfiltered, the document inactive.
        EXPECT_FALSE(world_.MainDM().AdkDataSet("ADKKonto").Active()) << c.rule;
        EXPECT_FALSE(world_.MainDM().AdkDataSet("ADKProfitCentres").Filtered()) << c.rule;
        EXPECT_FALSE(world_.MainDM().XMLDocument1().Active()) << c.rule;
    }
}

class AccountPlanWithoutCurrentYear : public RegisterExportTest {
protected:
    AccountPlanWithoutCurrentYear() : RegisterExportTest("DELETE FROM bokfar WHERE ar_id = 2010;\n") {}
};

TEST_F(AccountPlanWithoutCurrentYear, NoYearForTodayIsReportedAndWritesNothing) {
    world_.Facade().ExportAccountPlan("");
    EXPECT_TRUE(world_.Written().empty());
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{"item+ Exporterar kontoplan",
                                                               "  2 Inget bokföringsår för dagens datum"}));
}

class CustomerWithControlCharacter : public RegisterExportTest {
protected:
    CustomerWithControlCharacter()
        : RegisterExportTest(
              "INSERT INTO kund (kundnr, namn, timestamp) VALUES ('X' || char(1) || 'Y', 'Xavier', "
              "'2024-01-03 10:00:00');\n") {}
};

TEST_F(CustomerWithControlCharacter, TheKeyLosesItButThePriceListCodeKeepsIt) {
    test::CapturedLog log;
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kunder.xml");
    world_.Facade().ExportCustomersFromList(List({"X\x01Y"}).get());
    TXMLDocument written;
    written.LoadFromFile(world_.Unprocessed() + "kunder.xml");
    const TXMLNode* customer = written.DocumentElement()->FindNode("customers")->FindNode("atKunder");
    EXPECT_EQ(customer->Attribute("key"), "XY");
    EXPECT_EQ(customer->FindNode("CUSTOMER_NUMBER")->Text(), "XY");
    TDataSet& codes = world_.Export().Selections().CDSPrislistUrval();
    codes.First();
    EXPECT_EQ(codes.Fields(0).AsString(), "Customer:X\x01Y");
    EXPECT_EQ(log.Text(), "ERROR Fel i CUSTOMER_NUMBER, \"X\x01Y\" (length = 3)\n");
}

}  // namespace
}  // namespace tv
