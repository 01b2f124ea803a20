// What the article import writes back into the loaded document, and how it ends on items and
// settings it cannot take.

#include "tests/import/articles/article_support.h"

namespace tv {
namespace {

using test::Lines;

class ArticleItems : public ::testing::Test {
protected:
    ArticleItems() : world_({"kit/demo_company.sql"}) { world_.Open(); }

    // Loads a file of these root children, runs the article check unless told not to, and answers
    // the import's event lines with its result.
    std::vector<std::string> Import(const std::string& body, bool check = true) {
        EXPECT_TRUE(
            world_.Import().LoadXML(world_.WriteFile("items.xml", "<quorvel>" + body + "</quorvel>")));
        if (check) test::RunChecks(world_, {"CheckArticles"});
        return test::Imported(world_, "ImportArticles", &TDMImport::ImportArticles);
    }
    const TXMLNode& Item(size_t position) {
        return *world_.Import().XMLDocument1.DocumentElement()->FindNode("articles")->ChildNode(position);
    }

    test::TImportWorld world_;
};

TEST_F(ArticleItems, TheNumberGoesIntoTheLoadedDocumentWithoutTheNumberAndInactiveElements) {
    ASSERT_TRUE(world_.Import().LoadXML(test::FixturePath("import/articles/articles.xml")));
    ASSERT_TRUE(world_.Import().CheckArticles());
    ASSERT_TRUE(world_.Import().ImportArticles());
    EXPECT_FALSE(Item(1).HasAttribute("vismakey"));  // noedit: nothing written
    const TXMLNode& created = Item(2);
    EXPECT_EQ(created.Attribute("vismakey"), "B100");
    EXPECT_NE(created.FindNode("ARTICLE_NUMBER"), nullptr);  // a new article keeps the number it asked for
    EXPECT_EQ(created.FindNode("ARTICLE_INACTIVE"), nullptr);
    EXPECT_EQ(Item(3).Attribute("vismakey"), "1");  // written before its supplier article number failed
    const TXMLNode& changed = Item(4);
    EXPECT_EQ(changed.Attribute("vismakey"), "A100");
    EXPECT_EQ(changed.FindNode("ARTICLE_NUMBER"), nullptr);
    EXPECT_EQ(changed.FindNode("ARTICLE_INACTIVE"), nullptr);
    EXPECT_EQ(Item(5).Attribute("key"), " a300 ");  // the key stays as the file wrote it
}

struct ItemCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> settings;
    bool check;  // the check runs first
    const char* body;
    const char* events;
};

const ItemCase kItemCases[] = {
    {"a file without articles", {}, true, "<customers/>", R"(
step Importerar artiklar (9)
+ Importerar artiklar
  [1] Ingen artikel i denna fil
ImportArticles true
)"},
    {"an empty article container", {}, true, "<articles/>", R"(
step Importerar artiklar (9)
+ Importerar artiklar
  [1] Inga artiklar att importera
ImportArticles true
)"},
    {"an item that is no element ends the import", {}, true, "<articles>text</articles>", R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 1
  [2] Felaktigt XML format saknar artikelinformation
ImportArticles false
)"},
    {"an item without key ends the import", {}, false, "<articles><!-- c --><atArtiklar/></articles>", R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 2
  [2] Fanns ingen nyckel på denna artikel, omöjligt scenario om ingen modifierat trädet
ImportArticles false
)"},
    {"a key the check did not register ends the import",
     {},
     false,
     "<articles><atArtiklar key='A100'/></articles>",
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 1
  [2] Kunde inte hitta artikel med nyckel [A100]bland registrerade nycklar
ImportArticles false
)"},
    {"an empty sort order is a conversion error",
     {{"SEARCH_ARTICLE_CDX", ""}},
     true,
     "<articles><atArtiklar key='A100'/></articles>",
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 1
  [2] '' is not a valid integer value
ImportArticles false
)"},
    {"a search by SQL without a statement",
     {{"SEARCH_ARTICLE_MODE", "1"}, {"SEARCH_ARTICLE_SQL", "  "}},
     true,
     "<articles><atArtiklar key='A100'/></articles>",
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 1
  [2] Inget SQL uttryck satt
ImportArticles false
)"},
    {"a statement that fails counts as not found",
     {{"SEARCH_ARTICLE_MODE", "1"}, {"SEARCH_ARTICLE_SQL", "select artnr from nowhere where x = :x"}},
     true,
     "<articles><atArtiklar key='A100' option='noedit'/></articles>",
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 1
  [2] no such table: nowhere
ImportArticles true
)"},
    {"texts the company cannot hold are stored with \"?\" and reported in the article, its supplier "
     "article number and its names in other languages",
     {},
     true,
     "<articles><atArtiklar key='A100'><ARTICLE_NAME>Винт M6</ARTICLE_NAME>"
     "<SUPPLIER_ARTICLE_NUMBER>Б-1</SUPPLIER_ARTICLE_NUMBER><languages><language>"
     "<CODE_OF_ARTICLE_NAME_LANGUAGE_CODE>ru</CODE_OF_ARTICLE_NAME_LANGUAGE_CODE>"
     "<CODE_OF_ARTICLE_NAME_NAME>Винт</CODE_OF_ARTICLE_NAME_NAME></language></languages></atArtiklar>"
     "</articles>",
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 1
  [3] A100, ARTICLE_NAME: tecken som Visma inte kan lagra sparas som "?" ("???? M6")
  [4] VISMA Artikel [A100]
  [3] A100/L10, SUPPLIER_ARTICLE_NUMBER: tecken som Visma inte kan lagra sparas som "?" ("?-1")
  [3] A100/ru, CODE_OF_ARTICLE_NAME_NAME: tecken som Visma inte kan lagra sparas som "?" ("????")
ImportArticles true
)"},
};

TEST_F(ArticleItems, FramesAndErrorsThatEndTheImport) {
    for (const ItemCase& c : kItemCases) {
        for (const auto& [field, value] : c.settings) world_.Set("CDSImportArticlesPrefs", field, value);
        EXPECT_EQ(Import(c.body, c.check), Lines(c.events)) << c.name;
        for (const auto& [field, value] : c.settings) world_.Set("CDSImportArticlesPrefs", field, "");
        world_.Set("CDSImportArticlesPrefs", "SEARCH_ARTICLE_CDX", "17");
        test::ExpectNothingPending(world_, c.name);
    }
}

}  // namespace
}  // namespace tv
