#include "export/export_module.h"

#include <gtest/gtest.h>

#include "automation/engine_contexts.h"
#include "platform/ini/ini_file.h"
#include "tests/export/export_world.h"

namespace tv {
namespace {

class ExportModuleTest : public ::testing::Test {
protected:
    std::string IdentityOnDisk(const char* field) {
        return TIniFile(world_.Root("tollvane.ini")).ReadString("identities", field, "<none>");
    }
    test::TExportWorld world_;
};

TEST_F(ExportModuleTest, NamesComeFromTheKindsSettingsAndTheRecordWritten) {
    world_.Open();
    world_.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL",
               "kund_$kundnr_$exportdatum_$lopnr_kunder.xml");
    world_.Set("CDSExportCustomersPrefs", "FILE_IDENTITY_FORMAT", "0000");
    world_.Set("CDSLopnr", "LOPNR_EXPORT_KUNDER", "7");
    ASSERT_TRUE(world_.MainDM().AdkDataSet("AdkKunder").AdkNavFind("1001", true, true));
    TExportModule& module = world_.Export();
    EXPECT_EQ(module.generateCustomerFilename(), world_.Unprocessed() + "kund_1001_2010-05-31_0007.xml");
    // The next number is in the identities section on disk as soon as the name is made.
    EXPECT_EQ(IdentityOnDisk("LOPNR_EXPORT_KUNDER"), "8");
    EXPECT_EQ(module.generateCustomerFilename(), world_.Unprocessed() + "kund_1001_2010-05-31_0008.xml");
    EXPECT_EQ(IdentityOnDisk("LOPNR_EXPORT_KUNDER"), "9");
}

TEST_F(ExportModuleTest, StoredDefaultsAndTheKindsOwnRunningNumbers) {
    world_.Open();
    TExportModule& module = world_.Export();
    // The stored defaults of contacts and the chart of accounts.
    EXPECT_EQ(module.generateContactsFilename(), world_.Unprocessed() + "kontakter.xml");
    EXPECT_EQ(module.generateAccountingYearFile(), world_.Unprocessed() + "kontoplan.xml");
    world_.Set("CDSExportContactsPrefs", "FILE_MANAGEMENT_TMPL", "kontakter_$lopnr.xml");
    world_.Set("CDSExportAccountingPlanPrefs", "FILE_MANAGEMENT_TMPL", "kontoplan_$lopnr.xml");
    EXPECT_EQ(module.generateContactsFilename(), world_.Unprocessed() + "kontakter_0.xml");
    EXPECT_EQ(module.generateContactsFilename(), world_.Unprocessed() + "kontakter_1.xml");
    EXPECT_EQ(module.generateAccountingYearFile(), world_.Unprocessed() + "kontoplan_0.xml");
    EXPECT_EQ(IdentityOnDisk("LOPNR_EXPORT_KONTAKTER"), "2");
    EXPECT_EQ(IdentityOnDisk("LOPNR_EXPORT_ACCOUNTPLAN"), "1");
    // The default of an empty order template, which has no extension.
    EXPECT_EQ(module.generateOrderFilename(1), world_.Unprocessed() + "Order_2010-05-31");
}

// Two runs of the program on one settings root (two data modules here, each with the numbers it
// loaded) share the running numbers: each number goes to one of them, whichever asks, and the file
// holds the next one.
TEST_F(ExportModuleTest, RunsSharingTheSettingsNeverGetTheSameRunningNumber) {
    test::EventRecorder otherEvents;
    TMainDM other(otherEvents, nullptr, false);
    other.loadSettings();
    TExportModule otherModule(MakeExportContext(other), test::FixedNow);
    TExportModule& module = world_.Export();
    EXPECT_EQ(module.getLopNr("LOPNR_EXPORT_KUNDER"), 0);
    EXPECT_EQ(otherModule.getLopNr("LOPNR_EXPORT_KUNDER"), 1);
    EXPECT_EQ(otherModule.getLopNr("LOPNR_EXPORT_KUNDER"), 2);
    EXPECT_EQ(module.getLopNr("LOPNR_EXPORT_KUNDER"), 3);
    EXPECT_EQ(IdentityOnDisk("LOPNR_EXPORT_KUNDER"), "4");
    EXPECT_EQ(module.getLopNr("LOPNR_EXPORT_ORDER"), 0);  // each kind counts on its own
}

TEST_F(ExportModuleTest, TheSkeletonGoesIntoTheDataModulesDocument) {
    TExportModule& module = world_.Export();
    module.Document().Activate();
    module.createDefaultNodes();
    EXPECT_EQ(world_.MainDM().XMLDocument1().SaveToBytes(), test::FixtureBytes("empty_skeleton.xml"));
    module.Document().Deactivate();
    EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());
}

// A context that lacks a piece is a fault of the host's wiring, told by name when the module is
// made or the piece is first asked for, never a crash.
TEST_F(ExportModuleTest, AContextThatLacksAPieceIsRefusedByName) {
    std::string message;
    try {
        TExportModule module{TExportContext{}};
    } catch (const Exception& e) {
        message = e.Message;
    }
    EXPECT_EQ(message, "The export has no event tree");
    TExportContext context = MakeExportContext(world_.MainDM());
    context.DataSets.AdkKunder = nullptr;
    context.qOrderUrval = nullptr;
    TExportModule module(context, test::FixedNow);
    EXPECT_THROW(module.KitDataSet(&TExportDataSets::AdkKunder), Exception);
    EXPECT_THROW(module.qOrderUrval(), Exception);
    EXPECT_EQ(&module.KitDataSet(&TExportDataSets::ADKKontakter),
              &world_.MainDM().AdkDataSet("ADKKontakter"));
}

}  // namespace
}  // namespace tv
