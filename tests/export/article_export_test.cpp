// Articles written through the export facade into the export fixture's company with its prices,
// names in other languages and accounting codes (articles.sql), compared byte for byte with
// hand-written files; and the sorted lists the article export reads its articles and codes into.

#include "export/article_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "export/kit_reads.h"
#include "tests/export/export_world.h"

namespace tv {
namespace {

using test::List;

std::string ArticleSeed() {
    return test::FixtureBytes("documents.sql") + test::FixtureBytes("articles.sql");
}

class ArticleExportTest : public ::testing::Test {
protected:
    explicit ArticleExportTest(const std::string& extraSeed = "") : world_(ArticleSeed() + extraSeed) {
        world_.Set("CDSExportArticlesPrefs", "FILE_MANAGEMENT_TMPL", "artiklar.xml");
    }

    // Connects with the numbers and dates of a Swedish desktop, with or without "forcedot".
    void Open(bool forceDot) {
        world_.Formats() = forceDot ? test::ForceDotSettings() : test::SwedishSettings();
        world_.Open();
    }
    std::string File() { return world_.Unprocessed() + "artiklar.xml"; }
    std::string Written() { return world_.ReadWritten("artiklar.xml"); }
    static size_t Count(const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    }

    test::TExportWorld world_;
};

TEST_F(ArticleExportTest, PricesPackagesNamesAndAccountingCodesUnderADecimalComma) {
    world_.Set("CDSExportArticlesPrefs", "INCLUDE_PACKAGE_ARTICLES", "True");
    world_.Set("CDSExportArticlesPrefs", "INCLUDE_ACCOUNTING_CODES", "1");
    Open(false);
    world_.Facade().ExportArticlesFromList(List({"A1", "b1", " A2 ", "P3", "A3"}).get(),
                                           List({"BAS", "TOM", "VIP", "bas"}).get(), 0, 1, 1);
    // The package P3 brings P2, and P2 brings A1 again (already there). Sales-price rows by
    // article in ordinal order ("b1" after the capitals), brackets after the base price; "bas"
    // is BAS again, so a second "rows"; TOM has no price but its element. Supplier 200 before
    // 100, each with its own brackets; no supplier element for the blank supplier; 150's lone
    // bracket is not put under 300; P2's lone bracket leaves no element. Names on every article,
    // found by its number whatever its letter case. The codes the register has, after the sixteen
    // containers.
    EXPECT_EQ(Written(), test::FixtureBytes("articles_sv.xml"));
    EXPECT_EQ(world_.Events().Lines, (std::vector<std::string>{
                                         "item+ Exporterar artiklar",
                                         "  1 Letar upp strukturartiklar.",
                                         "  1 Hämtar priser för artiklar.",
                                         "  1 Hämtar leverantörspriser för artiklar.",
                                         "  1 Hämtar benämningar på andra språk.",
                                         "  1 Populerar artikelinformation.",
                                         "  count 6",
                                         "  1 Populerar strukturartiklar .",
                                         "  count 6",
                                         "  1 Hämtar artikelkonteringar.",
                                         "  2 Saknade konteringskod : ",
                                         "  2 Saknade konteringskod : K9",
                                         "  count 2",
                                         "  1 Lägger till översättningar till resultatet.",
                                         "  1 Skriver fil : [" + File() + "] @" + File(),
                                     }));
    EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());
    EXPECT_FALSE(world_.MainDM().AdkDataSet("AdkArtikelSprak").Active());
    EXPECT_FALSE(world_.MainDM().AdkDataSet("AdkPaketArtiklar").Filtered());
}

TEST_F(ArticleExportTest, PricesOfOneArticleUnderForceDot) {
    Open(true);
    world_.Facade().ExportArticlesFromList(List({"A1"}).get(), List({"VIP", "BAS"}).get(), 1, 1, 0);
    // Price lists in the caller's order; nothing asked of packages, names or codes.
    EXPECT_EQ(Written(), test::FixtureBytes("article_a1_dot.xml"));
}

struct PriceListCase {
    const char* rule;
    std::vector<const char*> items;
    bool withList;  // "BAS" asked for, else no price lists
    const char* priceLists;
    const char* purchasePrices;
};
const PriceListCase kPriceListCases[] = {
    {"supplier prices only come with price lists", {"A1"}, false, "<pricelists/>", "<purchaseprices/>"},
    {"no article, no price-list element", {}, true, "<pricelists/>", "<purchaseprices/>"},
    {"an article without prices still gets the list's element",
     {"A3"},
     true,
     "<pricelist key=\"BAS\">\r\n\t\t\t<atPrislistor key=\"BAS\"/>\r\n\t\t\t<rows/>",
     "<atInkopspriser key=\"A3\">"},
};

TEST_F(ArticleExportTest, WhatPriceListsAndSupplierPricesNeed) {
    Open(false);
    for (const auto& c : kPriceListCases) {
        std::filesystem::remove(File());
        auto items = std::make_unique<TStringList>();
        for (const char* item : c.items) items->Add(item);
        world_.Facade().ExportArticlesFromList(items.get(), c.withList ? List({"BAS"}).get() : nullptr, 0, 1,
                                               0);
        const std::string file = Written();
        EXPECT_NE(file.find(c.priceLists), std::string::npos) << c.rule;
        EXPECT_NE(file.find(c.purchasePrices), std::string::npos) << c.rule;
    }
}

TEST_F(ArticleExportTest, TheSettingsFormWritesNamesWhenTheSettingAsksForThem) {
    Open(false);
    for (const char* setting : {"0", "1"}) {
        world_.Set("CDSExportArticlesPrefs", "INCLUDE_ARTICLE_TRANSLATIONS", setting);
        world_.Facade().ExportArticles();
        const std::string file = Written();
        // Every article of the company, each with its "languages" when names are asked for.
        EXPECT_EQ(Count(file, "<atArtiklar "), 7u) << setting;
        EXPECT_EQ(Count(file, "<languages"), setting[0] == '1' ? 7u : 0u) << setting;
        EXPECT_EQ(Count(file, "<CODE_OF_ARTICLE_NAME_NAME>Schraube<"), setting[0] == '1' ? 1u : 0u)
            << setting;
    }
}

TEST_F(ArticleExportTest, NoNamesAtAllMeanNoLanguagesElements) {
    Open(false);
    world_.Facade().ExportArticlesFromList(List({"A2", "A3"}).get(), nullptr, 0, 0, 1);
    EXPECT_EQ(Count(Written(), "<languages"), 0u);
    const std::vector<std::string>& lines = world_.Events().Lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  1 Lägger till översättningar till resultatet."),
              lines.end());
}

TEST_F(ArticleExportTest, WithoutAnArticleNumberElementEveryArticleGetsAnEmptyLanguages) {
    const std::string numberRow = "atArtiklar;ARTNR;0;ARTICLE_NUMBER\n";
    std::string mapping = test::FixtureBytes("ooi.table");
    mapping.erase(mapping.find(numberRow), numberRow.size());
    world_.Dir().Write("common/Brismark/Tollvane/default/tables/ooi.table", mapping);
    world_.MainDM().loadFieldDefinitions();
    Open(false);
    world_.Facade().ExportArticlesFromList(List({"A1", "A2"}).get(), nullptr, 0, 0, 1);
    const std::string file = Written();
    EXPECT_EQ(Count(file, "<ARTICLE_NUMBER>"), 0u);
    EXPECT_EQ(Count(file, "<languages/>"), 2u);
}

class ArticleExportRefusedTest : public ArticleExportTest {
protected:
    // A supplier's article number the document refuses.
    ArticleExportRefusedTest()
        : ArticleExportTest(
              "INSERT INTO inkpris (artnr, levnr, antal, pris, levartnr, timestamp) VALUES "
              "('A2', '400', 0, 1, 'Z' || char(1), '2024-01-02 09:00:00');\n") {}
};

TEST_F(ArticleExportRefusedTest, AFailedSupplierPriceEndsTheRunWithoutAFile) {
    Open(false);
    world_.Facade().ExportArticlesFromList(List({"A1", "A2"}).get(), List({"BAS"}).get(), 0, 1, 0);
    EXPECT_TRUE(world_.Written().empty());
    const std::vector<std::string>& lines = world_.Events().Lines;
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "  2 Failed to export price for article A2");
    EXPECT_EQ(lines.back().rfind("  2 ", 0), 0u) << lines.back();
    EXPECT_EQ(world_.Events().Depth(), 0);
    EXPECT_FALSE(world_.MainDM().XMLDocument1().Active());
}

TEST_F(ArticleExportTest, DistinctColumnValuesOfEveryRecordTheDatasetHolds) {
    Open(false);
    TAdkDataSet& articles = world_.MainDM().AdkDataSet("ADKArtiklar");
    FetchAllRecords(articles);
    // The accounting codes of all seven articles: none for three of them. The kit table has no
    // field 100.
    EXPECT_EQ(GetDistinctColumnValues(articles, 5)->Text(), "\r\nK1\r\nK2\r\nK9\r\n");
    EXPECT_THROW(
        {
            try {
                GetDistinctColumnValues(articles, 100);
            } catch (const Exception& e) {
                EXPECT_STREQ(e.what(), "Invalid fieldnumber");
                throw;
            }
        },
        Exception);
}

TEST(ArticleLists, OneCollationIgnoringCaseWithSwedishLettersAfterZ) {
    TClientDataSet selection;
    test::FillSelection(selection, "artnr", {"b2", " Å1", "a1", "z9 ", "A1", "B1", "ä1"});
    TStringList list;
    dataSetToSortedList(list, selection);
    // Trimmed; "A1" equals "a1" without regard to case and the first one stays; the Swedish
    // letters after "z", by the code points of their small letters ("ä" before "å").
    EXPECT_EQ(list.Text(), "a1\r\nB1\r\nb2\r\nz9\r\nä1\r\nÅ1\r\n");
}

}  // namespace
}  // namespace tv
