#include "export/package_articles.h"

#include <gtest/gtest.h>

#include "tests/export/export_world.h"

namespace tv {
namespace {

// The package 100 holds A1; P3 holds the package P2 and A3 (documents.sql), P2 holds A1.
class PackageArticlesTest : public ::testing::Test {
protected:
    PackageArticlesTest()
        : world_(test::FixtureBytes("documents.sql") +
                 "INSERT INTO paketart (paketartnr, artnr, antal, radnr, timestamp) VALUES "
                 "('100', 'A1', 1, 1, '2024-01-02 10:00:00');\n") {}
    void SetUp() override { world_.Open(); }

    std::vector<std::string> Keys(TDataSet& selection) {
        std::vector<std::string> keys;
        for (selection.First(); !selection.Eof(); selection.Next()) keys.push_back(selection.Fields(0).AsString());
        return keys;
    }
    TAdkDataSet& Packages() { return world_.MainDM().AdkDataSet("AdkPaketArtiklar"); }

    test::TExportWorld world_;
    TClientDataSet selection_;
};

TEST_F(PackageArticlesTest, ComponentsOfNestedPackagesAreAddedOnceEachWhenAskedFor) {
    test::FillSelection(selection_, "artnr", {"P3", "a1"});
    addPackageArticles(world_.Export(), selection_);
    EXPECT_EQ(Keys(selection_), (std::vector<std::string>{"P3", "a1"}));

    world_.Set("CDSExportArticlesPrefs", "INCLUDE_PACKAGE_ARTICLES", "True");
    addPackageArticles(world_.Export(), selection_);
    // P3 gives P2 and A3; P2, walked in turn, gives A1, which "a1" does not hold (letter case
    // counts); A3 and A1 give nothing.
    EXPECT_EQ(Keys(selection_), (std::vector<std::string>{"P3", "a1", "P2", "A3", "A1"}));
    EXPECT_FALSE(Packages().Filtered());
}

TEST_F(PackageArticlesTest, ThePackagesAreLeftUnfilteredWhenTheWalkFails) {
    world_.Set("CDSExportArticlesPrefs", "INCLUDE_PACKAGE_ARTICLES", "True");
    // A selection of numbers cannot take the component "A1" of the package 100.
    TClientDataSet numbers;
    numbers.AddField("artnr", TFieldType::ftFloat);
    numbers.CreateDataSet();
    numbers.Append();
    numbers.Fields(0).SetAsFloat(100);
    numbers.Post();
    EXPECT_THROW(addPackageArticles(world_.Export(), numbers), Exception);
    EXPECT_FALSE(Packages().Filtered());
}

}  // namespace
}  // namespace tv
