// An article's sales prices of two lists and its purchase prices from two suppliers, brackets
// included, exported, imported over themselves and exported again give the same bytes: the price
// imports read what the article export writes, and a second import changes nothing.

#include <gtest/gtest.h>

#include "automation/engine_contexts.h"
#include "import/dm_import.h"
#include "import/key_helper_dm.h"
#include "platform/rtl/string_list.h"
#include "tests/export/export_world.h"

namespace tv {
namespace {

TEST(PriceRoundTrip, PricesExportedImportedOverThemselvesAndExportedAgainAreTheSameFile) {
    test::TExportWorld world(test::FixtureBytes("documents.sql") + test::FixtureBytes("articles.sql"));
    world.Set("CDSExportArticlesPrefs", "FILE_MANAGEMENT_TMPL", "artiklar_$lopnr.xml");
    world.Open();
    TStringList keys;
    keys.Add("A1");
    TStringList lists;
    for (const char* list : {"BAS", "VIP"}) lists.Add(list);
    world.Facade().ExportArticlesFromList(&keys, &lists, 1, 1, 0);
    ASSERT_EQ(world.Written(), std::vector<std::string>{"artiklar_0.xml"}) << world.Events().Lines.back();

    TKeyHelperDM registry;
    TImportContext context = MakeImportContext(world.MainDM());
    TDMImport import(context, registry);
    ASSERT_TRUE(import.LoadXML(world.Unprocessed() + "artiklar_0.xml"));
    ASSERT_TRUE(import.CheckSalesPrices());
    ASSERT_TRUE(import.ImportSalesPrices()) << world.Events().Lines.back();
    ASSERT_TRUE(import.CheckPurchasePrices());
    ASSERT_TRUE(import.ImportPurchasePrices()) << world.Events().Lines.back();

    world.Facade().ExportArticlesFromList(&keys, &lists, 1, 1, 0);
    ASSERT_EQ(world.Written(), (std::vector<std::string>{"artiklar_0.xml", "artiklar_1.xml"}))
        << world.Events().Lines.back();
    EXPECT_EQ(world.ReadWritten("artiklar_1.xml"), world.ReadWritten("artiklar_0.xml"));
}

}  // namespace
}  // namespace tv
