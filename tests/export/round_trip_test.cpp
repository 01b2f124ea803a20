// A customer, articles with their names in other languages, and a company price list, exported,
// imported into a company without them and exported again give the same bytes: what the export
// writes, the import reads back whole.

#include <gtest/gtest.h>

#include "automation/engine_contexts.h"
#include "export/selection_tables.h"
#include "import/dm_import.h"
#include "import/key_helper_dm.h"
#include "platform/rtl/string_list.h"
#include "tests/export/export_world.h"

namespace tv {
namespace {

// The fixture's customer mapping without the time stamp, which the kit sets on every write.
constexpr const char* kRoundTripMapping =
    "atKunder;EPOST;62;CUSTOMER_EMAIL\r\n"
    "atKunder;NAMN;1;CUSTOMER_NAME\r\n"
    "atKunder;KUNDNR;0;CUSTOMER_NUMBER\r\n"
    "atKunder;IGNORERAORGNR;93;CUSTOMER_IGNORE_ORGNR\r\n"
    "atKunder;ORT;7;CUSTOMER_CITY\r\n";

// Makes an empty company (or one seeded with `seed`) the company of the same data module and
// imports `file` into it with the kind's check and import operations.
void ImportIntoAnotherCompany(test::TExportWorld& world, const std::string& file, bool (TDMImport::*check)(),
                              bool (TDMImport::*importKind)(), const std::string& seed = "") {
    const std::string empty = world.Dir().Path("empty");
    test::MakeCompany(world.Dir(), empty, seed);
    world.Set("InstallningarCDS", "SPCSPathSRC", empty);
    world.Open();
    TKeyHelperDM registry;
    TImportContext context = MakeImportContext(world.MainDM());
    TDMImport import(context, registry);
    ASSERT_TRUE(import.LoadXML(file));
    ASSERT_TRUE((import.*check)());
    ASSERT_TRUE((import.*importKind)()) << world.Events().Lines.back();
}

TEST(RoundTrip, ACustomerExportedImportedAndExportedAgainIsTheSameFile) {
    test::TExportWorld world;
    world.Dir().Write("common/Brismark/Tollvane/default/tables/ooi.table", kRoundTripMapping);
    world.MainDM().loadFieldDefinitions();
    world.Set("CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kunder_$lopnr_kunder.xml");
    world.Open();
    TStringList keys;
    for (const char* key : {"1001", "1002"}) keys.Add(key);
    world.Facade().ExportCustomersFromList(&keys);
    const std::string first = world.Unprocessed() + "kunder_0.xml";
    ASSERT_EQ(world.Written(), std::vector<std::string>{"kunder_0.xml"}) << world.Events().Lines.back();

    ASSERT_NO_FATAL_FAILURE(
        ImportIntoAnotherCompany(world, first, &TDMImport::CheckCustomers, &TDMImport::ImportCustomers));

    world.Facade().ExportCustomersFromList(&keys);
    ASSERT_EQ(world.Written(), (std::vector<std::string>{"kunder_0.xml", "kunder_1.xml"}))
        << world.Events().Lines.back();
    EXPECT_EQ(world.ReadWritten("kunder_1.xml"), world.ReadWritten("kunder_0.xml"));
}

TEST(RoundTrip, ArticlesWithTheirNamesExportedImportedAndExportedAgainAreTheSameFile) {
    test::TExportWorld world(test::FixtureBytes("documents.sql") + test::FixtureBytes("articles.sql"));
    world.Set("CDSExportArticlesPrefs", "FILE_MANAGEMENT_TMPL", "artiklar_$lopnr.xml");
    world.Open();
    TStringList keys;
    for (const char* key : {"A1", "b1", "A2"}) keys.Add(key);
    world.Facade().ExportArticlesFromList(&keys, nullptr, 0, 0, 1);
    ASSERT_EQ(world.Written(), std::vector<std::string>{"artiklar_0.xml"}) << world.Events().Lines.back();

    ASSERT_NO_FATAL_FAILURE(ImportIntoAnotherCompany(world, world.Unprocessed() + "artiklar_0.xml",
                                                     &TDMImport::CheckArticles, &TDMImport::ImportArticles));

    world.Facade().ExportArticlesFromList(&keys, nullptr, 0, 0, 1);
    ASSERT_EQ(world.Written(), (std::vector<std::string>{"artiklar_0.xml", "artiklar_1.xml"}))
        << world.Events().Lines.back();
    EXPECT_EQ(world.ReadWritten("artiklar_1.xml"), world.ReadWritten("artiklar_0.xml"));
}

// A company price list carries its code in its head, so the import can create the list in a
// company that lacks it (a head with only its "key", as the article export writes, cannot).
TEST(RoundTrip, ACompanyPriceListImportedIntoACompanyWithoutItIsExportedAgainAsTheSameFile) {
    test::TExportWorld world(test::FixtureBytes("pricelists.sql"));
    world.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", "prislista.xml");
    world.Open();
    TClientDataSet& selection = world.Export().Selections().CDSPrislistUrval();
    AppendSelectionKey(selection, "KUND");
    world.Writers().ExportPriceLists(selection);
    const std::string first = world.Unprocessed() + "prislista.xml";
    ASSERT_EQ(world.ReadWritten("prislista.xml"), test::FixtureBytes("pricelist_kund.xml"));

    // The articles are there; the list and its prices are not.
    ASSERT_NO_FATAL_FAILURE(ImportIntoAnotherCompany(world, first, &TDMImport::CheckSalesPrices,
                                                     &TDMImport::ImportSalesPrices,
                                                     test::FixtureBytes("company.sql")));

    world.Set("CDSExportPricelistsPrefs", "FILE_MANAGEMENT_TMPL", "igen.xml");
    world.Writers().ExportPriceLists(selection);
    EXPECT_EQ(world.ReadWritten("igen.xml"), test::FixtureBytes("pricelist_kund.xml"));
}

}  // namespace
}  // namespace tv
