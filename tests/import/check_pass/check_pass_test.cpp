// The check pass driven by fixture files: for each file, the checks run in script order, their
// event lines and results, and the registries they leave, all written by hand.

#include <gtest/gtest.h>

#include "tests/import/check_pass/check_support.h"

namespace tv {
namespace {

using test::Lines;

struct FileCase {
    const char* fixture;  // below tests/fixtures/import/check
    std::vector<std::string> checks;
    const char* events;
    const char* registries;
};

const FileCase kFileCases[] = {
    {"registers.xml",
     {"CheckCustomers", "CheckSuppliers", "CheckArticles"},
     R"(
+ Kontrollerar kunder
  - Kundnr: [1]
  - Kundnr: [2]
  - Kundnr: [3]
  [2] Kund saknar nyckelattribut
  - Kundnr: [4]
  - Kundnr: [5]
  [2] Nyckeln för kunden är tom!
CheckCustomers false
+ Kontrollerar leverantörer
  - Levnr: [0]
  - Levnr: [2]
  - Levnr: [3]
  [2] Leverantör saknar nyckelattribut
CheckSuppliers false
+ Kontrollerar artiklar
  [2] Nyckelattribut saknas
CheckArticles false
)",
     R"(
ValidCustomerKyes "c1" [autocreate]
ValidCustomerKyes "åsa" []
ValidArticleKeys "a1;x" [noedit]
ValidArticleKeys "a2" []
ValidSuppliers "s1" [noedit]
ValidSuppliers "" []
ValidKeys 5 "s1" [NoEdit]
ValidKeys 5 "" []
)"},

    {"documents.xml",
     {"CheckCustomers", "CheckArticles", "CheckOrders", "CheckOffers", "CheckInvoices", "CheckAgreements"},
     R"(
+ Kontrollerar kunder
  - Kundnr: [0]
CheckCustomers true
+ Kontrollerar artiklar
CheckArticles true
+ Kontrollerar order
  [3] Inga rader på denna order
CheckOrders true
+ Kontrollerar offerter
  [2] Offert #1 saknar customerkey attribut
CheckOffers true
+ Kontrollerar fakturor
  [3] Inga rader på denna faktura
  [2] Saknar fakturahuvud (atFakturor)
  [2] Faktura  #3 saknar customerkey attribut
CheckInvoices true
+ Kontrollerar avtal
  [8] Avtal  #0 saknar nyckelattribut
  [8] Avtal  #0 saknar nyckelattribut
  [3] Inga rader på detta avtal
  [8] Avtal  #3 saknar nyckelattribut
  [2] Artikelnyckeln fanns ej i systemet
CheckAgreements false
)",
     R"(
ValidCustomerKyes "c1" []
ValidArticleKeys "a1" []
ValidInvoiceKeys "inv1" [Not implemented]
ValidInvoiceKeys "5" [Not implemented]
ValidOrderKeys "o1" [Not implemented]
ValidOrderKeys "17" [Not implemented]
ValidAgreementKeys "a-2" [Not implemented]
ValidOfferKeys "of1" [Not implemented]
)"},

    {"purchasing.xml",  // ISO-8859-1, with the supplier key "SÖ1" referred to in other cases
     {"CheckSuppliers", "CheckArticles", "CheckBest", "CheckSupplierInvoices", "CheckDeliveryNotes"},
     R"(
+ Kontrollerar leverantörer
  - Levnr: [0]
CheckSuppliers true
+ Kontrollerar artiklar
CheckArticles true
+ Kontrollerar beställningar
  [2] Beställning #0 saknar huvud
  [2] Beställning #2 saknar huvud (<atBestallningar>)
  [3] Inga rader på denna beställning
CheckBest true
+ Kontrollerar leverantörsfakturor
  [2] Leverantörsfaktura #1 saknar supplierkey attribut
CheckSupplierInvoices true
+ Kontrollerar följesedlar
  [3] Inga rader på denna följesedel
  [2] Följesedel #1 saknar @bestkey attribut
CheckDeliveryNotes true
)",
     R"(
ValidArticleKeys "a1" []
ValidSuppliers "sö1" []
ValidKeys 5 "sö1" []
ValidKeys 1 "b1 " [Edit]
ValidKeys 1 "b3" []
)"},

    {"others.xml",
     {"CheckCustomers", "CheckInvoices", "CheckContacts", "CheckProjects", "CheckManualDeliveryIn",
      "CheckManualDeliveryOut", "CheckCustomerPayments", "CheckAuxillary"},
     R"(
+ Kontrollerar kunder
  - Kundnr: [0]
CheckCustomers true
+ Kontrollerar fakturor
CheckInvoices true
+ Kontrollerar kontakter.
  - kontakter: [0]
  - kontakter: [2]
  [2] kontakter saknar nyckelattribut
  - kontakter: [4]
CheckContacts false
+ Kontrollerar projekt.
  [8] Projekt #1 saknar customerkey attribut
CheckProjects true
+ Kontrollerar manuella inleveranser
CheckManualDeliveryIn true
+ Kontrollerar manuella utleveranser
CheckManualDeliveryOut true
+ Kontrollerar kundinbetalningar
  [2] Kundinbetalning  #1 refererar till en faktura som inte finns i filen
  [2] Kundinbetalning  #4 saknar fakturareferens
CheckCustomerPayments false
CheckAuxillary true
)",
     R"(
ValidCustomerKyes "c1" []
ValidInvoiceKeys "inv1" [Not implemented]
ValidKeys 0 "k1" [edit]
ValidKeys 4 "p1" []
ValidKeys 4 "p2" []
ValidKeys 2 "m1" [noedit]
ValidKeys 2 "12" [edit]
ValidKeys 3 "m1" [edit]
)"},

    {"prices.xml",
     {"CheckArticles", "CheckSuppliers", "CheckSalesPrices", "CheckPurchasePrices"},
     R"(
+ Kontrollerar artiklar
CheckArticles true
+ Kontrollerar leverantörer
  - Levnr: [0]
CheckSuppliers true
+ Kontrollerar försäljningspriser
  [8] Prislistan saknar rader.
CheckSalesPrices true
+ Kontrollerar inköpspriser
  [2] Node ARTICLE_PURCHASE_PRICE_QUANTITY must not be empty
CheckPurchasePrices false
)",
     R"(
ValidArticleKeys "a1" []
ValidSuppliers "s1" []
ValidKeys 5 "s1" []
ValidKeys 7 "pl1" [edit]
ValidKeys 7 "pl2" [edit]
ValidKeys 7 "pl3" [edit] = Pl3
)"},

    {"gaps.xml",
     {"CheckOrders", "CheckOffers", "CheckInvoices", "CheckSupplierInvoices", "CheckBest",
      "CheckDeliveryNotes", "CheckProjects", "CheckCustomers"},
     R"(
+ Kontrollerar order
  [2] Order #0 saknar kundnr huvud
CheckOrders true
+ Kontrollerar offerter
  [2] Offert #0 saknar huvud (atOffert)
CheckOffers false
+ Kontrollerar fakturor
  [2] Kundnyckel fanns ej i systemet
CheckInvoices false
+ Kontrollerar leverantörsfakturor
  [2] Leverantörsnyckel fanns ej i systemet
CheckSupplierInvoices false
+ Kontrollerar beställningar
  [2] Leverantörsnyckel @supplierkey fanns ej i systemet
CheckBest false
+ Kontrollerar följesedlar
  [2] Följesedel #0 saknar supplierkey attribut
CheckDeliveryNotes true
+ Kontrollerar projekt.
  [2] Projektnyckel: nobody fanns ej i systemet
CheckProjects false
+ Kontrollerar kunder
CheckCustomers true
)",
     R"(
ValidKeys 1 "b9" [noedit]
)"},
};

class CheckPassTest : public ::testing::Test {
protected:
    CheckPassTest() { world_.Open(); }
    test::TImportWorld world_;
};

TEST(CheckPass, FixtureFilesGiveTheirLinesResultsAndRegistries) {
    for (const FileCase& c : kFileCases) {
        test::TImportWorld world;  // each file the first of its job
        world.Open();
        ASSERT_TRUE(world.Import().LoadXML(test::FixturePath(std::string("import/check/") + c.fixture)));
        test::RunChecks(world, c.checks);
        EXPECT_EQ(world.Events().Take(), Lines(c.events)) << c.fixture;
        EXPECT_EQ(test::RegistryLines(world.Import()), Lines(c.registries)) << c.fixture;
    }
}

// Small files, each ending one check at one of its errors or gaps.
struct OneCase {
    const char* name;
    const char* body;  // the children of the root
    std::vector<std::string> checks;
    const char* events;  // the lines of the last check
};

const OneCase kOneCases[] = {
    {"a price row naming a price-list key that has no number yet",
     "<articles><atArtiklar key='A1'/></articles><pricelists><pricelist><atPrislistor key='PLK'/></pricelist>"
     "<pricelist><rows><row articlekey='A1' pricelistkey='plk'/></rows></pricelist></pricelists>",
     {"CheckArticles", "CheckSalesPrices"},
     R"(
+ Kontrollerar försäljningspriser
  [8] Prislistan saknar rader.
  [2] Prislistan för posten är tom, eller saknas i Administration
CheckSalesPrices false
)"},
    {"a price-list key no head registered",
     "<articles><atArtiklar key='A1'/></articles>"
     "<pricelists><pricelist><rows><row articlekey='A1' pricelistkey='PLX'/></rows></pricelist></pricelists>",
     {"CheckArticles", "CheckSalesPrices"},
     R"(
+ Kontrollerar försäljningspriser
  [2] Nyckel PLX finns inte bland definierade prislistor.
CheckSalesPrices false
)"},
    {"a price row without article",
     "<pricelists><pricelist><atPrislistor key='P'/><rows><row/></rows></pricelist></pricelists>",
     {"CheckSalesPrices"},
     R"(
+ Kontrollerar försäljningspriser
  [2] Prislista::Produktnyckel saknas. Har varken articleKey eller PRICE_ARTICLE_NUMBER 
CheckSalesPrices false
)"},
    {"an article key the articles did not register",
     "<pricelists><pricelist><atPrislistor key='P'/><rows><row articlekey=' B2 "
     "'/></rows></pricelist></pricelists>",
     {"CheckSalesPrices"},
     R"(
+ Kontrollerar försäljningspriser
  [2] Artikelnyckel B2 finns inte bland definierade artiklar.
CheckSalesPrices false
)"},
    {"an empty article key",
     "<articles><atArtiklar key=' '/></articles>"
     "<pricelists><pricelist><atPrislistor key='P'/><rows><row "
     "articlekey=''/></rows></pricelist></pricelists>",
     {"CheckArticles", "CheckSalesPrices"},
     R"(
+ Kontrollerar försäljningspriser
  [2] Saknar artikelnr på rad
CheckSalesPrices false
)"},
    {"a row of a list without head naming no list",
     "<pricelists><pricelist><rows><row><PRICE_ARTICLE_NUMBER>A1</PRICE_ARTICLE_NUMBER></row></rows>"
     "</pricelist></pricelists>",
     {"CheckSalesPrices"},
     R"(
+ Kontrollerar försäljningspriser
  [2] Artikelpris::Saknar hänvisning till prislista. Har varken pricelistkey eller PRICE_PRICE_LIST 
CheckSalesPrices false
)"},
    {"a head without key or code",
     "<pricelists><pricelist><atPrislistor><CODE_OF_PRICE_LIST_CODE> "
     "</CODE_OF_PRICE_LIST_CODE></atPrislistor>"
     "</pricelist></pricelists>",
     {"CheckSalesPrices"},
     R"(
+ Kontrollerar försäljningspriser
  [2] Prislista::Prislisteinformation saknas. Har varken pricelistkey eller CODE_OF_PRICE_LIST_CODE 
CheckSalesPrices false
)"},
    {"a price list that is no element ends the walk",
     "<pricelists>text<pricelist><rows><row/></rows></pricelist></pricelists>",
     {"CheckSalesPrices"},
     R"(
+ Kontrollerar försäljningspriser
  [2] Prislista #0 är tom
CheckSalesPrices true
)"},
    {"a purchase price of an unknown article",
     "<purchaseprices><x><supplierarticle articlekey='Z' supplierkey='S'/></x></purchaseprices>",
     {"CheckPurchasePrices"},
     R"(
+ Kontrollerar inköpspriser
  [2] Artikelnyckel Z finns inte bland definierade artiklar.
CheckPurchasePrices false
)"},
    {"a purchase price without article",
     "<purchaseprices><x><supplierarticle/></x></purchaseprices>",
     {"CheckPurchasePrices"},
     R"(
+ Kontrollerar inköpspriser
  [2] Artikelnyckel kunde inte identifieras. Har varken articlekey eller ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER 
CheckPurchasePrices false
)"},
    {"a purchase price of an unknown supplier, after its article",
     "<articles><atArtiklar key='A'/></articles>"
     "<purchaseprices><x><supplierarticle articlekey='A' supplierkey='X'/></x></purchaseprices>",
     {"CheckArticles", "CheckPurchasePrices"},
     R"(
+ Kontrollerar inköpspriser
  [2] Leverantörsnyckel X finns inte bland definierade leverantörer.
CheckPurchasePrices false
)"},
    {"a purchase price without supplier",
     "<purchaseprices><x><supplierarticle><ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER>A"
     "</ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER></supplierarticle></x></purchaseprices>",
     {"CheckPurchasePrices"},
     R"(
+ Kontrollerar inköpspriser
  [2] Leverantör saknas. Har varken supplierkey eller ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER 
CheckPurchasePrices false
)"},
    {"a bracket without price",
     "<purchaseprices><x><supplierarticle><ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER>A"
     "</ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER><ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER>L"
     "</ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER><pricebrackets><!-- c --><pricebracket>"
     "<ARTICLE_PURCHASE_PRICE_QUANTITY>2</ARTICLE_PURCHASE_PRICE_QUANTITY></pricebracket></pricebrackets>"
     "</supplierarticle></x></purchaseprices>",
     {"CheckPurchasePrices"},
     R"(
+ Kontrollerar inköpspriser
  [2] Missing node ARTICLE_PURCHASE_PRICE_PRICE
CheckPurchasePrices false
)"},
    {"a bracket with an empty price",
     "<purchaseprices><x><supplierarticle><ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER>A"
     "</ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER><ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER>L"
     "</ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER><pricebrackets><pricebracket>"
     "<ARTICLE_PURCHASE_PRICE_QUANTITY>2</ARTICLE_PURCHASE_PRICE_QUANTITY><ARTICLE_PURCHASE_PRICE_PRICE/>"
     "</pricebracket></pricebrackets></supplierarticle></x></purchaseprices>",
     {"CheckPurchasePrices"},
     R"(
+ Kontrollerar inköpspriser
  [2] Node ARTICLE_PURCHASE_PRICE_PRICE must not be empty
CheckPurchasePrices false
)"},
    {"a purchase price that is no element ends the check",
     "<purchaseprices><x><!-- c -->text<supplierarticle/></x></purchaseprices>",
     {"CheckPurchasePrices"},
     R"(
+ Kontrollerar inköpspriser
  [2] Inköpspris #1 är tom
CheckPurchasePrices true
)"},
    {"running a check twice gives the same registry",
     "<customers><atKunder key='a'/></customers>",
     {"CheckCustomers", "CheckCustomers"},
     R"(
+ Kontrollerar kunder
  - Kundnr: [0]
CheckCustomers true
)"},
    {"stock-taking lines without keys register nothing",
     "<inventory><line><INVENTORY_ARTICLE_NUMBER>A1</INVENTORY_ARTICLE_NUMBER></line></inventory>",
     {"CheckInventory"},
     R"(
+ Kontrollerar inventeringsunderlag
CheckInventory true
)"},
};

TEST_F(CheckPassTest, EachErrorAndGapEndsItsCheckAsItShould) {
    for (const OneCase& c : kOneCases) {
        const std::string file = world_.WriteFile(
            "one.xml", std::string("<?xml version=\"1.0\"?>\n<quorvel>") + c.body + "</quorvel>\n");
        ASSERT_TRUE(world_.Import().LoadXML(file)) << c.name;
        world_.Events().Clear();
        std::vector<std::string> all = c.checks;
        const std::string last = all.back();
        all.pop_back();
        test::RunChecks(world_, all);
        world_.Events().Clear();
        test::RunChecks(world_, {last});
        EXPECT_EQ(world_.Events().Take(), Lines(c.events)) << c.name;
    }
    EXPECT_EQ(world_.Import().ValidCustomerKyes.Count(), 0u);  // the last file had no customers
    EXPECT_EQ(world_.Import().ValidArticleKeys.Count(), 0u);   // and its stock-taking lines no keys
}

TEST_F(CheckPassTest, StockTakingLinesRegisterTheirArticleKeysBesideTheArticlesOwn) {
    ASSERT_TRUE(world_.Import().LoadXML(world_.WriteFile(
        "inventory.xml",
        "<quorvel><articles><atArtiklar key='A1' option='noedit'/></articles><inventory><line key=' a1 ' "
        "option='X'/><!-- c --><line key='B2' option='NoEdit'/><line/></inventory></quorvel>")));
    world_.Events().Clear();
    test::RunChecks(world_, {"CheckArticles", "CheckInventory"});
    EXPECT_EQ(world_.Events().Take(), Lines(R"(
+ Kontrollerar artiklar
CheckArticles true
+ Kontrollerar inventeringsunderlag
CheckInventory true
)"));
    EXPECT_EQ(test::RegistryLines(world_.Import()), Lines(R"(
ValidArticleKeys "a1" [noedit]
ValidArticleKeys "b2" [noedit]
)"));
}

TEST_F(CheckPassTest, AFileWithoutTheContainersReportsWhatItLacks) {
    ASSERT_TRUE(
        world_.Import().LoadXML(world_.WriteFile("empty.xml", "<quorvel><!-- nothing --></quorvel>")));
    test::RunChecks(
        world_, {"CheckCustomers", "CheckSuppliers", "CheckArticles", "CheckContacts", "CheckProjects",
                 "CheckBest", "CheckManualDeliveryIn", "CheckManualDeliveryOut", "CheckOrders", "CheckOffers",
                 "CheckInvoices", "CheckAgreements", "CheckSalesPrices", "CheckPurchasePrices",
                 "CheckCustomerPayments", "CheckDeliveryNotes", "CheckSupplierInvoices"});
    EXPECT_EQ(world_.Events().Take(), Lines(R"(
+ Kontrollerar kunder
CheckCustomers true
+ Kontrollerar leverantörer
CheckSuppliers true
+ Kontrollerar artiklar
CheckArticles true
+ Kontrollerar kontakter.
CheckContacts true
+ Kontrollerar projekt.
  [1] Ingen projektdata finns i denna fil.
CheckProjects true
+ Kontrollerar beställningar
  [1] Ingen beställningsdata finns i denna fil
CheckBest true
+ Kontrollerar manuella inleveranser
  [1] Ingen dokument finns i denna fil
CheckManualDeliveryIn true
+ Kontrollerar manuella utleveranser
  [1] Ingen dokument finns i denna fil
CheckManualDeliveryOut true
+ Kontrollerar order
  [1] Ingen orderdata finns i denna fil
CheckOrders true
+ Kontrollerar offerter
  [1] Ingen offertdata finns i denna fil
CheckOffers true
+ Kontrollerar fakturor
  [1] Ingen fakturainformation finns i denna fil
CheckInvoices true
+ Kontrollerar avtal
  [1] Inga avtal finns i denna fil
CheckAgreements true
+ Kontrollerar försäljningspriser
  [1] Inga försäljningspriser finns i denna fil
CheckSalesPrices true
+ Kontrollerar inköpspriser
  [1] Inga inköpspriser finns i denna fil
CheckPurchasePrices true
+ Kontrollerar kundinbetalningar
  [1] Inga kundinbetalningar finns i denna fil
CheckCustomerPayments true
+ Kontrollerar följesedlar
  [1] Inga följesedlar finns i denna fil.
CheckDeliveryNotes true
+ Kontrollerar leverantörsfakturor
  [1] Inga leverantörsfakturor finns i denna fil.
CheckSupplierInvoices true
)"));
}

TEST_F(CheckPassTest, AfterAFailedLoadNothingOfThePreviousFileIsCheckedAgain) {
    ASSERT_TRUE(world_.Import().LoadXML(test::FixturePath("import/check/documents.xml")));
    EXPECT_FALSE(world_.Import().LoadXML(world_.WriteFile("bad.xml", "<quorvel><customers></quorvel>")));
    world_.Events().Clear();
    test::RunChecks(world_, {"CheckCustomers", "CheckOrders"});
    EXPECT_EQ(world_.Events().Take(), Lines(R"(
+ Kontrollerar kunder
CheckCustomers true
+ Kontrollerar order
CheckOrders true
)"));
    EXPECT_EQ(test::RegistryLines(world_.Import()), std::vector<std::string>{});
}

TEST_F(CheckPassTest, AKitTableThatIsNotOpenEndsTheCheck) {
    ASSERT_TRUE(world_.Import().LoadXML(test::FixturePath("import/check/documents.xml")));
    test::RunChecks(world_, {"CheckCustomers", "CheckArticles", "CheckOrders"});
    world_.DataSet("AdkKunder").Close();
    world_.DataSet("AdkOrder").Close();
    world_.Events().Clear();
    test::RunChecks(world_, {"CheckCustomers", "CheckOrders"});
    // The customers' error reaches the caller and their keys stay; the orders' is reported and
    // their registry was emptied first.
    EXPECT_EQ(world_.Events().Take(), Lines(R"(
+ Kontrollerar kunder
CheckCustomers raises: Tabellen kunder är inte öppen. 
+ Kontrollerar order
  [2] Tabellen order är inte öppen. 
CheckOrders false
)"));
    EXPECT_EQ(test::RegistryLines(world_.Import()),
              (std::vector<std::string>{R"(ValidCustomerKyes "c1" [])", R"(ValidArticleKeys "a1" [])"}));
}

TEST(CheckPassVariant, TablesTheProgramLacksAreUnavailable) {
    test::TImportWorld world({}, "3");  // the smallest program: no orders, no projects
    world.Open();
    ASSERT_TRUE(world.Import().LoadXML(test::FixturePath("import/check/documents.xml")));
    test::RunChecks(world, {"CheckProjects", "CheckOrders"});
    EXPECT_EQ(world.Events().Take(), Lines(R"(
+ Kontrollerar projekt.
  [8] Tabellen projekt är inte tillgänglig för denna programversionen av Visma Administration/Förening.
CheckProjects true
+ Kontrollerar order
  [2] Tabellen order är inte tillgänglig för denna programversionen av Visma Administration/Förening.
CheckOrders false
)"));
}

}  // namespace
}  // namespace tv
