// The article import end to end: the demo company, a fixture file, the check and the import as a job
// script calls them; the event lines, the articles, purchase prices and names in other languages
// afterwards, the numbers written and the registry, all written by hand.

#include "tests/import/articles/article_support.h"

namespace tv {
namespace {

using test::Lines;

// The demo company's articles, purchase prices and language names, as most cases leave them.
constexpr const char* kDemoArticles = R"(
A100|Skruv M6|st|L10|1|0
A200|Kaffe|kg|L20|0|0
A300|Bok om skruvar|st||0|0
)";
constexpr const char* kDemoPrices = R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.5|L10-M6
A200|L20|0|80|L20-KAF
)";
constexpr const char* kDemoNames = R"(
EN|A100|Screw M6|
)";

// The compound key "Kaffe;kg;rost" found by SQL: the article A200 is changed.
constexpr const char* kCompoundFoundEvents = R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 1
  [4] VISMA Artikel [A200]
ImportArticles true
)";
constexpr const char* kCompoundFoundArticles = R"(
A100|Skruv M6|st|L10|1|0
A200|Kaffe mörkrost|kg|L20|0|0
A300|Bok om skruvar|st||0|0
)";
constexpr const char* kCompoundFoundRegistry = R"(
ValidArticleKeys "kaffe;kg;rost" [] = A200
)";

// policies.xml when A100 is changed with its English name; "n1" never gets a number.
constexpr const char* kA100Changed = R"(
A100|Ändrad|st|L10|1|0
A200|Kaffe|kg|L20|0|0
A300|Bok om skruvar|st||0|0
)";
constexpr const char* kA100Named = R"(
EN|A100|Bolt M6|
)";
constexpr const char* kPolicyRegistry = R"(
ValidArticleKeys "a100" [] = A100
ValidArticleKeys "n1" []
)";

struct ArticleCase {
    const char* name;
    const char* fixture;  // below tests/fixtures/import/articles
    std::vector<std::pair<const char*, const char*>> settings;
    const char* extraSeed;
    int runs;            // the file is loaded, checked and imported this many times
    const char* events;  // of the last import
    const char* articles;
    const char* prices;
    const char* names;
    std::vector<std::string> imported;
    const char* registry;
};

const char* const kFault =
    "INSERT INTO kit_faults(function, code, message, skip, times) VALUES('AdkAdd', 0, 'kit fault', ";

const ArticleCase kCases[] = {
    {"noedit resolves and names the article; new articles with their supplier article numbers; 17 "
     "characters refused after the article is written; the web-shop article keeps its inactive flag; "
     "a small language code changes the stored capital one; a key with blanks is found",
     "articles.xml",
     {},
     "",
     1,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 6
  [8] Lägger till 
  [4] VISMA Artikel [B100]
  [8] Lägger till 
  [4] VISMA Artikel [1]
  [2] Levartnr > 16 tecken!
  [8] Hoppar över inaktiv eftersom webshop är satt på produkten
  [4] VISMA Artikel [A100]
  [2] [Ingen språkkod satt]
  [4] VISMA Artikel [A300]
  [3] Levartnr angivet men är tomt!
ImportArticles true
)",
     R"(
1|Bricka|st|L20||
A100|Skruv M6 förzinkad|st|L10|1|0
A200|Kaffe|kg|L20|0|0
A300|Bok om muttrar|st||0|0
B100|Mutter M6|st|L10||1
)",
     R"(
A100|L10|0|5|L10-M6-NY
A100|L10|50|4.5|L10-M6
A200|L20|0|80|L20-KAF
B100|L10|0||Å-234567890-2345
)",
     R"(
FI|1|Aluslaatta|
DE|A100|Schraube|
EN|A100|Screw M6|Zinc plated
SV|A200|Kaffe mörkrost|
EN|B100|Nut M6|
)",
     {"B100", "1", "A100", "A300"},
     R"(
ValidArticleKeys "a200" [noedit] = A200
ValidArticleKeys "b100" [] = B100
ValidArticleKeys "n2" [] = 1
ValidArticleKeys "a100" [] = A100
ValidArticleKeys "a300" [] = A300
)"},

    {"the same file imported twice leaves one purchase price and one name for the article",
     "twice.xml",
     {},
     "",
     2,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 1
  [4] VISMA Artikel [B100]
ImportArticles true
)",
     R"(
A100|Skruv M6|st|L10|1|0
A200|Kaffe|kg|L20|0|0
A300|Bok om skruvar|st||0|0
B100|Mutter M6|st|L10||
)",
     R"(
A100|L10|0|5|L10-M6
A100|L10|50|4.5|L10-M6
A200|L20|0|80|L20-KAF
B100|L10|0||L10-M8
)",
     R"(
EN|A100|Screw M6|
EN|B100|Nut M6|
)",
     {"B100", "B100"},
     R"(
ValidArticleKeys "b100" [] = B100
)"},

    {"ON_ARTICLE_EXIST 1 leaves the article as it is but writes its names",
     "policies.xml",
     {{"ON_ARTICLE_EXIST", "1"}},
     "",
     1,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 2
  [8] Lägger till 
  [4] VISMA Artikel [1]
ImportArticles true
)",
     R"(
1|Ny|kg|||
A100|Skruv M6|st|L10|1|0
A200|Kaffe|kg|L20|0|0
A300|Bok om skruvar|st||0|0
)",
     kDemoPrices,
     R"(
NO|1|Ny norsk|
EN|A100|Bolt M6|
)",
     {"1"},
     R"(
ValidArticleKeys "a100" [] = A100
ValidArticleKeys "n1" [] = 1
)"},

    {"ON_ARTICLE_DOES_NOT_EXIST 1 skips the missing article, whose names have no article to go to",
     "policies.xml",
     {{"ON_ARTICLE_DOES_NOT_EXIST", "1"}},
     "",
     1,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 2
  [4] VISMA Artikel [A100]
  [2] [Ingen nyckel kunde hittas]
ImportArticles true
)",
     kA100Changed,
     kDemoPrices,
     kA100Named,
     {"A100"},
     kPolicyRegistry},

    {"ON_ARTICLE_EXIST 2 refuses the article found and ends the import",
     "policies.xml",
     {{"ON_ARTICLE_EXIST", "2"}},
     "",
     1,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 2
  [2] Artikel existerar redan A100
ImportArticles false
)",
     kDemoArticles,
     kDemoPrices,
     kDemoNames,
     {},
     kPolicyRegistry},

    {"ON_ARTICLE_DOES_NOT_EXIST outside 0 to 2 is invalid",
     "policies.xml",
     {{"ON_ARTICLE_DOES_NOT_EXIST", "3"}},
     "",
     1,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 2
  [4] VISMA Artikel [A100]
  [2] Ogiltligt alternativ
ImportArticles false
)",
     kA100Changed,
     kDemoPrices,
     kA100Named,
     {"A100"},
     kPolicyRegistry},

    {"a compound key binds its parts in order to a two-parameter statement, the third part passed over",
     "compound_key.xml",
     {{"SEARCH_ARTICLE_MODE", "1"},
      {"SEARCH_ARTICLE_SQL", " select artnr from art where benamning = :namn and enhet = :enhet "}},
     "",
     1,
     kCompoundFoundEvents,
     kCompoundFoundArticles,
     kDemoPrices,
     kDemoNames,
     {"A200"},
     kCompoundFoundRegistry},

    {"a compound key binds only its first part to a one-parameter statement",
     "compound_key.xml",
     {{"SEARCH_ARTICLE_MODE", "1"}, {"SEARCH_ARTICLE_SQL", "select artnr from art where benamning = :namn"}},
     "",
     1,
     kCompoundFoundEvents,
     kCompoundFoundArticles,
     kDemoPrices,
     kDemoNames,
     {"A200"},
     kCompoundFoundRegistry},

    {"an article the kit refuses is skipped, with its names, and the next one is imported",
     "failures.xml",
     {},
     "0, 1);\n",
     1,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 2
  [8] Lägger till 
  [2] Misslyckades spara produkt: n1
  [2] Error occured in AdkAdd:\r\n\r\nkit fault
  [2] [Ingen nyckel kunde hittas]
  [8] Lägger till 
  [4] VISMA Artikel [1]
ImportArticles true
)",
     R"(
1|Andra|st|||
A100|Skruv M6|st|L10|1|0
A200|Kaffe|kg|L20|0|0
A300|Bok om skruvar|st||0|0
)",
     kDemoPrices,
     kDemoNames,
     {"1"},
     R"(
ValidArticleKeys "n1" []
ValidArticleKeys "n2" [] = 1
)"},

    {"a purchase price the kit refuses leaves the article written and its names imported",
     "failures.xml",
     {},
     "1, 1);\n",
     1,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 2
  [8] Lägger till 
  [4] VISMA Artikel [1]
  [2] Kunde inte lägga till levartnr: F-1, Error occured in AdkAdd:\r\n\r\nkit fault
  [8] Lägger till 
  [4] VISMA Artikel [2]
ImportArticles true
)",
     R"(
1|Först|st|L10||
2|Andra|st|||
A100|Skruv M6|st|L10|1|0
A200|Kaffe|kg|L20|0|0
A300|Bok om skruvar|st||0|0
)",
     kDemoPrices,
     R"(
EN|1|First|
EN|A100|Screw M6|
)",
     {"1", "2"},
     R"(
ValidArticleKeys "n1" [] = 1
ValidArticleKeys "n2" [] = 2
)"},

    {"a name the kit refuses is reported in brackets and the import goes on",
     "failures.xml",
     {},
     "2, 1);\n",
     1,
     R"(
step Importerar artiklar (9)
+ Importerar artiklar
  count 2
  [8] Lägger till 
  [4] VISMA Artikel [1]
  [2] [Error occured in AdkAdd:\r\n\r\nkit fault]
  [8] Lägger till 
  [4] VISMA Artikel [2]
ImportArticles true
)",
     R"(
1|Först|st|L10||
2|Andra|st|||
A100|Skruv M6|st|L10|1|0
A200|Kaffe|kg|L20|0|0
A300|Bok om skruvar|st||0|0
)",
     R"(
1|L10|0||F-1
A100|L10|0|5|L10-M6
A100|L10|50|4.5|L10-M6
A200|L20|0|80|L20-KAF
)",
     kDemoNames,
     {"1", "2"},
     R"(
ValidArticleKeys "n1" [] = 1
ValidArticleKeys "n2" [] = 2
)"},
};

TEST(ArticleImport, EndToEnd) {
    for (const ArticleCase& c : kCases) {
        std::string seed = c.extraSeed;
        if (!seed.empty()) seed = kFault + seed;
        test::TImportWorld world({"kit/demo_company.sql"}, "", seed);
        world.Open();
        for (const auto& [field, value] : c.settings) world.Set("CDSImportArticlesPrefs", field, value);
        std::vector<std::string> events;
        for (int run = 0; run < c.runs; ++run) {
            ASSERT_TRUE(
                world.Import().LoadXML(test::FixturePath(std::string("import/articles/") + c.fixture)));
            ASSERT_TRUE(world.Import().CheckArticles()) << c.name;
            events = test::Imported(world, "ImportArticles", &TDMImport::ImportArticles);
        }
        EXPECT_EQ(events, Lines(c.events)) << c.name;
        EXPECT_EQ(test::ArticleDump(world), Lines(c.articles)) << c.name;
        EXPECT_EQ(test::PurchasePriceDump(world), Lines(c.prices)) << c.name;
        EXPECT_EQ(test::LanguageDump(world), Lines(c.names)) << c.name;
        EXPECT_EQ(world.Import().ImportedItems(), c.imported) << c.name;
        EXPECT_EQ(test::RegistryLines(world.Import()), Lines(c.registry)) << c.name;
        test::ExpectNothingPending(world, c.name);
    }
}

}  // namespace
}  // namespace tv
