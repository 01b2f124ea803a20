// The import of auxiliary registers ("aux": each element names its kit table) and of stock-taking
// lines ("inventory": onto the lines the company holds), end to end on the demo company.

#include "tests/import/articles/article_support.h"

namespace tv {
namespace {

using test::Lines;

constexpr const char* kCustomerColumns =
    "kundnr || '|' || ifnull(namn,'') || '|' || ifnull(ort,'') || '|' || ifnull(kreditgrans,'')";
constexpr const char* kSupplierColumns = "levnr || '|' || ifnull(namn,'') || '|' || ifnull(ort,'')";

TEST(AuxImport, EachElementGoesIntoTheTableItNames) {
    test::TImportWorld world({"kit/demo_company.sql"});
    world.Open();
    ASSERT_TRUE(world.Import().LoadXML(test::FixturePath("import/articles/aux.xml")));
    ASSERT_TRUE(world.Import().CheckAuxillary());
    EXPECT_EQ(test::Imported(world, "ImportAuxillary", &TDMImport::ImportAuxillary), Lines(R"(
step Importerar övriga register (9)
+ Importerar övriga register
  count 9
  [8] Ändrar atKunder/1002
  [4] VISMA AuxNyckel [1002]
  [8] Ändrar atKunder/1003
  [4] VISMA AuxNyckel [1003]
  [8] Lägger till atKunder/
  [4] VISMA AuxNyckel [1004]
  [8] Ändrar atKunder/1001
  [2] 'tolv' is not a valid floating point value for field 'KREDITGRANS'
  [8] Ändrar atLeverantorer/L20
  [4] VISMA AuxNyckel [L20]
  [2] Kunde inte öppna tabell :  (atXyz)
ImportAuxillary false
)"));
    EXPECT_EQ(test::Dump(world.AdminODBC(), kCustomerColumns, "kund", "kundnr"), Lines(R"(
1001|Åsa Öberg AB|Göteborg|
1002|Bengt Berg AB|Piteå|
1003|Cecilia Ek|Lund|
1004|Ny kund||
)"));
    EXPECT_EQ(test::Dump(world.AdminODBC(), kSupplierColumns, "lev", "levnr"), Lines(R"(
L10|Leverantör Ett|Malmö
L20|Leverantör Två|Kiruna
)"));
    EXPECT_EQ(world.Import().ImportedItems(), (std::vector<std::string>{"1002", "1003", "1004", "L20"}));
    const TXMLNode& aux = *world.Import().XMLDocument1.DocumentElement()->FindNode("aux");
    EXPECT_EQ(aux.ChildNode(1)->Attribute("vismakey"), "1002");
    EXPECT_FALSE(aux.ChildNode(2)->HasAttribute("vismakey"));  // not a table: passed over
    EXPECT_EQ(aux.ChildNode(4)->Attribute("vismakey"), "1004");
    EXPECT_EQ(world.DataSet("ADKAux").AdkTable(), atLeverantorer);  // the last table stays
    test::ExpectNothingPending(world, "aux");
}

// The record is found by the company's key rule, whatever the case of its letters, and a text the
// company cannot hold is reported as it was stored.
TEST(AuxImport, KeysMatchByTheCompanysRuleAndUnstorableTextIsReported) {
    test::TImportWorld world({"kit/demo_company.sql"});
    world.Open();
    ASSERT_TRUE(world.Import().LoadXML(world.WriteFile(
        "aux.xml", "<quorvel><aux><atLeverantorer key='l10'><SUPPLIER_NAME>Поставщик</SUPPLIER_NAME>"
                   "</atLeverantorer></aux></quorvel>")));
    EXPECT_EQ(test::Imported(world, "ImportAuxillary", &TDMImport::ImportAuxillary), Lines(R"(
step Importerar övriga register (9)
+ Importerar övriga register
  count 1
  [8] Ändrar atLeverantorer/l10
  [3] atLeverantorer/l10, SUPPLIER_NAME: tecken som Visma inte kan lagra sparas som "?" ("?????????")
  [4] VISMA AuxNyckel [L10]
ImportAuxillary true
)"));
    EXPECT_EQ(test::Dump(world.AdminODBC(), kSupplierColumns, "lev", "levnr"), Lines(R"(
L10|?????????|Malmö
L20|Leverantör Två|Luleå
)"));
}

struct FrameCase {
    const char* name;
    const char* body;
    const char* events;
};

const FrameCase kAuxFrames[] = {
    {"a file without aux", "<articles/>", R"(
step Importerar övriga register (9)
+ Importerar övriga register
  [1] Ingen information i denna fil
ImportAuxillary true
)"},
    {"an empty aux container", "<aux/>", R"(
step Importerar övriga register (9)
+ Importerar övriga register
  [1] Inga övriga att importera
ImportAuxillary true
)"},
    {"an element without key and children ends the import", "<aux><!-- c --><atKunder/></aux>", R"(
step Importerar övriga register (9)
+ Importerar övriga register
  count 2
  [2] Ingen nyckel och inget defaultbarn: atKunder (1)
ImportAuxillary false
)"},
    {"a child that is no element ends the import", "<aux>text</aux>", R"(
step Importerar övriga register (9)
+ Importerar övriga register
  count 1
  [2] Felaktigt XML format saknar AUX nod
ImportAuxillary false
)"},
    {"a table the company does not have", "<aux><atIngen key='1'/></aux>", R"(
step Importerar övriga register (9)
+ Importerar övriga register
  count 1
  [2] Kunde inte öppna tabell :  (atIngen)
ImportAuxillary false
)"},
};

TEST(AuxImport, FramesAndErrorsThatEndTheImport) {
    test::TImportWorld world({"kit/demo_company.sql"});
    world.Open();
    for (const FrameCase& c : kAuxFrames) {
        ASSERT_TRUE(world.Import().LoadXML(
            world.WriteFile("aux.xml", std::string("<quorvel>") + c.body + "</quorvel>")));
        EXPECT_EQ(test::Imported(world, "ImportAuxillary", &TDMImport::ImportAuxillary), Lines(c.events))
            << c.name;
    }
}

TEST(InventoryImport, CountsGoOntoTheLinesTheCompanyHolds) {
    test::TImportWorld world({"kit/demo_company.sql", "import/company.sql"});  // A100 10, A200 3 counted
    world.Open();
    ASSERT_TRUE(world.Import().LoadXML(test::FixturePath("import/articles/inventory.xml")));
    test::RunChecks(world, {"CheckArticles", "CheckInventory"});
    ASSERT_TRUE(world.Import().ImportArticles());
    EXPECT_EQ(test::Imported(world, "ImportInventory", &TDMImport::ImportInventory), Lines(R"(
step Importerar inventeringsunderlag (9)
+ Importerar inventeringsunderlag
  count 6
  [2] Artikel fanns inte i inventeringsunderlaget:A300
  [2] Neither articleKey or INVENTORY_ARTICLE_NUMBER or empty
ImportInventory false
)"));
    EXPECT_EQ(test::Dump(world.AdminODBC(), "artnr || '|' || ifnull(benamning,'') || '|' || ifnull(antal,'')",
                         "inventering", "artnr"),
              Lines(R"(
A100|Skruv M6|12
A200|Kaffe|4.5
)"));
    EXPECT_EQ(test::RegistryLines(world.Import()), Lines(R"(
ValidArticleKeys "a100" [noedit] = A100
ValidArticleKeys "okänd" []
)"));
    test::ExpectNothingPending(world, "inventory");
}

const FrameCase kInventoryFrames[] = {
    {"a file without inventory", "<articles/>", R"(
step Importerar inventeringsunderlag (9)
+ Importerar inventeringsunderlag
  [1] Ingen artikel i denna fil
ImportInventory true
)"},
    {"an empty inventory", "<inventory/>", R"(
step Importerar inventeringsunderlag (9)
+ Importerar inventeringsunderlag
  [1] Inget inventeringsunderlag att importera
ImportInventory true
)"},
    {"a line naming no article",
     "<inventory><line><INVENTORY_QUANTITY>1</INVENTORY_QUANTITY></line></inventory>", R"(
step Importerar inventeringsunderlag (9)
+ Importerar inventeringsunderlag
  count 1
  [2] Neither articleKey or INVENTORY_ARTICLE_NUMBER
ImportInventory false
)"},
    {"a key nothing registered", "<inventory><line key='A100'/></inventory>", R"(
step Importerar inventeringsunderlag (9)
+ Importerar inventeringsunderlag
  count 1
  [2] Kunde inte hitta artikel med nyckel [A100]bland registrerade nycklar
ImportInventory false
)"},
};

TEST(InventoryImport, FramesAndErrorsThatEndTheImport) {
    test::TImportWorld world({"kit/demo_company.sql", "import/company.sql"});  // A100 10, A200 3 counted
    world.Open();
    for (const FrameCase& c : kInventoryFrames) {
        ASSERT_TRUE(world.Import().LoadXML(
            world.WriteFile("inv.xml", std::string("<quorvel>") + c.body + "</quorvel>")));
        EXPECT_EQ(test::Imported(world, "ImportInventory", &TDMImport::ImportInventory), Lines(c.events))
            << c.name;
    }
}

}  // namespace
}  // namespace tv
