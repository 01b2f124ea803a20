// Files that go wrong in a job: a kind that fails part-way, with the calls after it made as a job
// that goes on makes them, and a file that is not well-formed after one that imported.

#include <gtest/gtest.h>

#include "tests/import/check_pass/check_support.h"
#include "tests/import/combined/combined_world.h"
#include "tests/support/format_settings.h"

namespace tv {
namespace {

using namespace test;

// The lines from the first import on.
std::vector<std::string> ImportLines(std::vector<std::string> lines) {
    auto first = std::find(lines.begin(), lines.end(), "step Importerar kunder (4)");
    lines.erase(lines.begin(), first);
    return lines;
}

TEST(CombinedFailures, AKindFailingPartWayKeepsWhatItWroteAndTheJobGoesOn) {
    // Articles, the third kind of the job: the first is written, the second's weight is no number
    // (reported, its pending insert cancelled, the import goes on), the third exists and the
    // settings refuse an existing article, which ends the import with false: the fourth is never
    // written. Customers and suppliers before stay written; the kinds after run as a job that goes
    // on after a false result runs them. The order of the unwritten article gets a row without
    // article: the key was checked, so its registry number (empty) replaces it.
    TCombinedWorld world(ForceDotSettings());
    world.Set("CDSImportArticlesPrefs", "ON_ARTICLE_EXIST", "2");
    world.Events().Clear();
    ASSERT_TRUE(world.Import().LoadXML(FixturePath("import/combined/part_way.xml")));
    for (const std::string& name : JobOrder()) {
        RunCalls(world, {name});
        EXPECT_EQ(PendingDataSets(world), std::vector<std::string>{}) << "after " << name;
    }
    EXPECT_EQ(ImportLines(Visible(world.Events().Take())), Lines(R"(
step Importerar kunder (4)
+ Importerar kunder
  count 2
  - Kund/nyckel : kund-åäö
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
ImportCustomers true
step Importerar leverantörer (4)
+ Importerar leverantörer
  count 2
  - Leverantör : lev-ö
  [8] Lägger till 
  [4] VISMA Levnr [1]
ImportSuppliers true
step Importerar artiklar (9)
+ Importerar artiklar
  count 5
  [8] Lägger till 
  [4] VISMA Artikel [B200]
  [8] Lägger till 
  [2] 'tung' is not a valid floating point value for field 'VIKT'
  [2] Artikel existerar redan a100
ImportArticles false
step Importerar övriga register (9)
+ Importerar övriga register
  [1] Ingen information i denna fil
ImportAuxillary true
step Importerar kontakter. (12)
+ Importerar kontakter.
ImportContacts true
step Importerar projekt. (11)
+ Importerar projekt.
  - PROJEKT - #2
  [4] Skapade/Uppdaterade projekt: P-ä
ImportProjects true
step Importerar inköpspriser (5)
+ Importerar inköpspriser
ImportPurchasePrices2 true
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
ImportSalesPrices true
step Importerar order (5)
+ Importerar order
  - Order - #2
  [8] Lägger till rad.
  [4] Skapade order : 3
  - Order - #3
  [8] Lägger till rad.
  [4] Skapade order : 4
ImportOrders true
step Importerar offert (5)
+ Importerar offert
ImportOffers true
step Importerar fakturor (5)
+ Importerar fakturor
ImportInvoices true
step Importerar avtal (5)
+ Importerar avtal
ImportAgreements true
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
ImportCustomerPayments true
step Importerar beställningar (5)
+ Importerar beställningar
ImportBest true
+ Importerar leverantörsfaktura
ImportSupplierInvoices true
+ Importerar följesedlar
  [1] Inga följesedlar att importera
ImportDeliveryNotes true
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  [1] Inga dokument i denna fil
ImportManualDeliveryIn true
step Importerar manuella utleveranser (4)
+ Importerar manuella utleveranser
  [1] Inga dokument i denna fil
ImportManualDeliveryOut true
+ Visma TID: Kontrollerar kunder
  - Kund: [0]
  - Kund: [1]
TID_CheckCustomers true
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  count 2
  [1] Reserverade id: 101
  - Kundnr/nyckel : kund-åäö
TID_ImportCustomers true
)"));
    EXPECT_EQ(CompanyDump(world), Lines(R"(
kund: 1001|Åsa Öberg AB|Göteborg|||
kund: 1002|Bengt Berg|Umeå|||
kund: 1003|Cecilia Ek|göteborg|||
kund: 1004|Åke Äng Örtmark||||
lev: 1|Öresunds Järn|
lev: L10|Leverantör Ett|Malmö
lev: L20|Leverantör Två|Luleå
art: A100|Skruv M6|st||L10|1|0
art: A200|Kaffe|kg||L20|0|0
art: A300|Bok om skruvar|st|||0|0
art: B200|Bult Ö8|st||||
artspr: EN|A100|Screw M6|
kontakt: 1|Anna Andersson|1001|Inköpare
projekt: P-ä|Bygget i Älvsjö|1004
projekt: P1|Gammalt projekt|1002
inkpris: A100|L10|0|5|L10-M6
inkpris: A100|L10|50|4.5|L10-M6
inkpris: A200|L20|0|80|L20-KAF
prislista: PL1|Grundpriser
prislista: PL2|Återförsäljare
forspris: PL1|A100|0|10
forspris: PL1|A100|10|9
forspris: PL1|A100|100|8
forspris: PL1|A200|0|120
forspris: PL2|A100|0|11
orderhuvud: 1|1001|Åsa Öberg AB|2024-01-15|PO-77||||3
orderhuvud: 2|1002|Bengt Berg|2024-01-16|||||0
orderhuvud: 3|1004||2024-03-04|||||1
orderhuvud: 4|1004||2024-03-05|||||1
orderrad: 1|1|A100|0|5|10|Skruv M6|
orderrad: 1|2|A200|0|2|120|Kaffe|
orderrad: 1|3|||||Leverans på fredag|T
orderrad: 3|1|B200||3|||
orderrad: 4|1|||1|||
offerthuvud: 1|1003|2024-01-10|1
offertrad: 1|1|A300|1
fakturahuvud: 1|1002|Bengt Berg|2024-01-20|2024-02-19|0||1
fakturarad: 1|1|A100|1|||
customer: 7|1001|Gammalt namn|556677-8899|3
customer: 8|9001|Dalarö gammalt|5560001111 |3
customer: 9|9002|Blankt nummer|  |3
customer: 101|1004|Åke Äng Örtmark||42
Id: 101
)"));
    EXPECT_EQ(world.Import().ImportedItems(), (std::vector<std::string>{"1004", "1", "B200", "3", "4"}));
}

TEST(CombinedFailures, AValueThatDoesNotConvertLeavesNoKindHalfWritten) {
    // One value in each kind that is no number or date: each kind reports it and writes nothing
    // of that record, and no kit dataset is left with a pending change after any call, whether the
    // kind goes on (articles, aux) or ends with false. The payment and the manual documents name
    // their key in the line; the delivery note says it could not be created. The time-reporting
    // copy then finds no number for the customer the import refused. The company is as it was.
    TCombinedWorld world(ForceDotSettings());
    const std::vector<std::string> before = CompanyDump(world);
    world.Events().Clear();
    ASSERT_TRUE(world.Import().LoadXML(FixturePath("import/combined/bad_values.xml")));
    for (const std::string& name : JobOrder()) {
        RunCalls(world, {name});
        EXPECT_EQ(PendingDataSets(world), std::vector<std::string>{}) << "after " << name;
    }
    std::vector<std::string> failures;  // the level-2 lines and the imports' results
    for (const std::string& line : ImportLines(Visible(world.Events().Take())))
        if (line.find("[2] ") != std::string::npos || line.find(" false") != std::string::npos) failures.push_back(line);
    EXPECT_EQ(failures, Lines(R"(
  [2] Fel vid uppläggning av kund: 'mycket' is not a valid floating point value for field 'KREDITGRANS'
  [2] 'mycket' is not a valid floating point value for field 'KREDITGRANS'
ImportCustomers false
  [2] 'tung' is not a valid floating point value for field 'VIKT'
  [2] 'x' is not a valid floating point value for field 'KREDITGRANS'
  [2] 'igår' is not a valid date and time
ImportContacts false
  [2] 'dyr' is not a valid floating point value
ImportPurchasePrices2 false
  [2] 'dyr' is not a valid floating point value
ImportSalesPrices false
  [2] 'igår' is not a valid date
ImportOrders false
  [2] 'x' is not a valid floating point value for field 'APRIS'
ImportOffers false
  [2] 'igår' is not a valid date
ImportInvoices false
  [2] 'x' is not a valid floating point value for field 'BESTANTAL'
ImportAgreements false
  [2] Ett fel uppstod för key [1]: 'dyr' is not a valid floating point value for field 'BELOPP'
ImportCustomerPayments false
  [2] 'x' is not a valid floating point value for field 'BESTANTAL'
ImportBest false
  [2] 'x' is not a valid floating point value for field 'LEVANTAL'
ImportSupplierInvoices false
  [2] Misslyckades att skapa följesedel: 'x' is not a valid floating point value for field 'LEVANTAL'
ImportDeliveryNotes false
  [2] Ett fel uppstod för key [in-å]: 'x' is not a valid floating point value for field 'ANTAL'
ImportManualDeliveryIn false
  [2] Ett fel uppstod för key [ut-ö]: 'x' is not a valid floating point value for field 'ANTAL'
ImportManualDeliveryOut false
  [2] Kunde inte hitta kundnr: 
TID_ImportCustomers false
)"));
    EXPECT_EQ(CompanyDump(world), before);
    EXPECT_EQ(world.Import().ImportedItems(), std::vector<std::string>{});
}

TEST(CombinedFailures, AMalformedFileAfterAnImportedOneChangesNothing) {
    // The job's second file is not well-formed: LoadXML answers false with its line, and every
    // check and import of the job after it finds no document, so the first file's records are not
    // imported a second time. The delivery-note import alone says that the document has no root.
    TCombinedWorld world(ForceDotSettings());
    RunFile(world, "combined/all_kinds.xml");
    const std::vector<std::string> before = CompanyDump(world);
    const std::vector<std::string> items = world.Import().ImportedItems();
    world.Events().Clear();

    RunFile(world, "combined/malformed.xml");
    std::vector<std::string> expected = {
        "[2] Fel vid inläsning av XML-fil: " + FixturePath("import/combined/malformed.xml") +
        ": line 14, column 11: Opening and ending tag mismatch: orders line 8 and quorvel"};
    const std::vector<std::string> calls = Lines(R"(
LoadXML false
+ Kontrollerar kunder
CheckCustomers true
+ Kontrollerar leverantörer
CheckSuppliers true
+ Kontrollerar artiklar
CheckArticles true
+ Kontrollerar kontakter.
CheckContacts true
+ Kontrollerar projekt.
CheckProjects true
+ Kontrollerar inköpspriser
CheckPurchasePrices true
+ Kontrollerar försäljningspriser
CheckSalesPrices true
+ Kontrollerar order
CheckOrders true
+ Kontrollerar offerter
CheckOffers true
+ Kontrollerar fakturor
CheckInvoices true
+ Kontrollerar avtal
CheckAgreements true
+ Kontrollerar kundinbetalningar
CheckCustomerPayments true
+ Kontrollerar beställningar
CheckBest true
+ Kontrollerar leverantörsfakturor
CheckSupplierInvoices true
+ Kontrollerar följesedlar
CheckDeliveryNotes true
+ Kontrollerar manuella inleveranser
CheckManualDeliveryIn true
+ Kontrollerar manuella utleveranser
CheckManualDeliveryOut true
step Importerar kunder (4)
+ Importerar kunder
ImportCustomers true
step Importerar leverantörer (4)
+ Importerar leverantörer
ImportSuppliers true
step Importerar artiklar (9)
+ Importerar artiklar
ImportArticles true
step Importerar övriga register (9)
+ Importerar övriga register
ImportAuxillary true
step Importerar kontakter. (12)
+ Importerar kontakter.
ImportContacts true
step Importerar projekt. (11)
+ Importerar projekt.
ImportProjects true
step Importerar inköpspriser (5)
+ Importerar inköpspriser
ImportPurchasePrices2 true
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
ImportSalesPrices true
step Importerar order (5)
+ Importerar order
ImportOrders true
step Importerar offert (5)
+ Importerar offert
ImportOffers true
step Importerar fakturor (5)
+ Importerar fakturor
ImportInvoices true
step Importerar avtal (5)
+ Importerar avtal
ImportAgreements true
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
ImportCustomerPayments true
step Importerar beställningar (5)
+ Importerar beställningar
ImportBest true
+ Importerar leverantörsfaktura
ImportSupplierInvoices true
+ Importerar följesedlar
  [2] Felaktigt XML dokument. Rootnoden är tom
ImportDeliveryNotes true
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
ImportManualDeliveryIn true
step Importerar manuella utleveranser (4)
+ Importerar manuella utleveranser
ImportManualDeliveryOut true
+ Visma TID: Kontrollerar kunder
TID_CheckCustomers true
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
TID_ImportCustomers true
)");
    expected.insert(expected.end(), calls.begin(), calls.end());
    EXPECT_EQ(Visible(world.Events().Take()), expected);
    EXPECT_EQ(CompanyDump(world), before);
    EXPECT_EQ(world.Import().ImportedItems(), items);
    EXPECT_EQ(PendingDataSets(world), std::vector<std::string>{});
}

}  // namespace
}  // namespace tv
