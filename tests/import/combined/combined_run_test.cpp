// The whole import on one interchange file carrying every kind, with a comment in each container,
// run in the default import job's order on the demo company: what the run reports, writes into the
// company and the time-reporting database, lists as imported and writes back into the loaded
// document, all written by hand; the same content in three encodings and under two number
// formats; then a second file of the same job.

#include <gtest/gtest.h>

#include "tests/import/check_pass/check_support.h"
#include "tests/import/combined/combined_world.h"
#include "tests/support/format_settings.h"

namespace tv {
namespace {

using namespace test;

constexpr const char* kAllKinds = "combined/all_kinds.xml";

// The checks: every kind registered, the payment's invoice key among the invoices'; the project
// check reads "customerkey", which the project (keyed for the import's "customerKey") does not
// carry.
constexpr const char* kChecks = R"(
LoadXML true
+ Kontrollerar kunder
  - Kundnr: [1]
  - Kundnr: [2]
CheckCustomers true
+ Kontrollerar leverantörer
  - Levnr: [1]
CheckSuppliers true
+ Kontrollerar artiklar
CheckArticles true
+ Kontrollerar kontakter.
  - kontakter: [1]
  - kontakter: [2]
CheckContacts true
+ Kontrollerar projekt.
  [8] Projekt #1 saknar customerkey attribut
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
)";

// The imports: each kind resolves the keys of the kinds before it (the new customer's number in
// the contact, the project, the order, the invoice, the agreement and the time-reporting copy; the
// new article's in the prices and the rows of every document; the new supplier's in the purchase
// price and the purchase documents; the new invoice's in the payment). The supplier invoice's row
// finds its row on the purchase order written just before. The contact as the contact
// export writes it ("customerkey") is created without a customer; the price-list head with only
// "key", as the price export writes it, changes list PL1 without writing a field.
constexpr const char* kImports = R"(
step Importerar kunder (4)
+ Importerar kunder
  count 3
  - Kund/nyckel : kund-åäö
  [8] Lägger till 
  [4] VISMA Kundnr [1004]
  - Kund/nyckel : 1001
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
  count 3
  [8] Lägger till 
  [4] VISMA Artikel [B200]
ImportArticles true
step Importerar övriga register (9)
+ Importerar övriga register
  count 2
  [8] Ändrar atKunder/1003
  [4] VISMA AuxNyckel [1003]
ImportAuxillary true
step Importerar kontakter. (12)
+ Importerar kontakter.
  - KONTAKTER - #2
  [4] Skapade/Uppdaterade kontakter: 2
  - KONTAKTER - #3
  [4] Skapade/Uppdaterade kontakter: 3
ImportContacts true
step Importerar projekt. (11)
+ Importerar projekt.
  - PROJEKT - #2
  [4] Skapade/Uppdaterade projekt: P-ä
ImportProjects true
step Importerar inköpspriser (5)
+ Importerar inköpspriser
  - Inköpspris - #2
  [8] Lägger till artikel: B200
  + Importerar stafflingar
    [8] B200
ImportPurchasePrices2 true
step Importerar försäljningspriser (13)
+ Importerar försäljningspriser
  - Försäljningsprislista - #2
  [1] Ändrar prislista: PL1
  [8] Lägger till artikelpris: B200
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
  - Försäljningsprislista - #3
  [1] Skapade prislista: PL9
  [8] Lägger till artikelpris: B200
  + Importerar stafflingar
    + Lägger till "nya" stafflingar
      [8] B200, 10.00
ImportSalesPrices true
step Importerar order (5)
+ Importerar order
  - Order - #2
  [8] Lägger till rad.
  [8] Lägger till rad.
  [8] Lägger till rad.
  [8] Lägger till rad.
  [4] Skapade order : 900
ImportOrders true
step Importerar offert (5)
+ Importerar offert
  - Offer - #2
  [8] Lägger till rad.
  [4] Skapade offert : 2
ImportOffers true
step Importerar fakturor (5)
+ Importerar fakturor
  - Faktura - #2
  [4] Skapade faktura : 2
ImportInvoices true
step Importerar avtal (5)
+ Importerar avtal
  - Avtal - #2
  [4] Skapade avtal : 1
ImportAgreements true
step Importerar kundinbetalningar (5)
+ Importerar kundinbetalningar
  - Kundinbetalning - #2
  [4] Skapade inbetalning för faktura : 2
  - Kundinbetalning - #3
  [4] Skapade inbetalning för faktura : 1
ImportCustomerPayments true
step Importerar beställningar (5)
+ Importerar beställningar
  - Beställning - #2
  [4] Skapade beställning : 1
ImportBest true
+ Importerar leverantörsfaktura
  - Leverantörsfaktura - #2
  (8) Gissar beställningsnr: [B200 = 1]
  [4] Skapade leverantörsfaktura : 1
ImportSupplierInvoices true
+ Importerar följesedlar
  - Följesedel - #2
  [4] Skapade följesedel : 1
ImportDeliveryNotes true
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 2
  - #1
  [1] Manuell inleverans : 1
ImportManualDeliveryIn true
step Importerar manuella utleveranser (4)
+ Importerar manuella utleveranser
  count 2
  - #1
  [1] Manuell utleverans : 1
ImportManualDeliveryOut true
)";

// The time-reporting copy: the new customer gets an id of its own; 1001 is found by its
// organisation number and only renamed.
constexpr const char* kTidCopy = R"(
+ Visma TID: Kontrollerar kunder
  - Kund: [0]
  - Kund: [1]
  - Kund: [2]
TID_CheckCustomers true
step Visma Tid: Importerar kunder (4)
+ Visma Tid: Importerar kunder
  count 3
  [1] Reserverade id: 101
  - Kundnr/nyckel : kund-åäö
  - Kundnr/nyckel : 1001
TID_ImportCustomers true
)";

std::vector<std::string> RunEvents() {
    std::vector<std::string> lines = Lines(kChecks);
    for (const char* part : {kImports, kTidCopy}) {
        std::vector<std::string> more = Lines(part);
        lines.insert(lines.end(), more.begin(), more.end());
    }
    return lines;
}

// The demo company after the file: customer 1004, supplier 1 and article B200 with its English
// name are new, customer 1003 moved to Gävle through the aux container; two contacts and a
// project; the new article's purchase price and bracket from the new supplier, its base price in
// PL1 and in the new list PL9 with a bracket of 10; order 900 (the file's number) with three
// article rows and a text row, offer 2; invoice 2 with its due date and row date and a text row,
// agreement 1 without end date, a payment of it and one of invoice 1; purchase order 1 from the
// new supplier, its supplier invoice on its first row, a delivery note, a manual receipt and
// issue; the time-reporting customer 7 renamed and 101 added.
constexpr const char* kCompanyAfterFile = R"(
kund: 1001|Åsa Öberg AB|Göteborg|||
kund: 1002|Bengt Berg|Umeå|||
kund: 1003|Cecilia Ek|Gävle|||
kund: 1004|Åke Äng Örtmark|Västerås|12500.75|559988-7766|2024-03-01
lev: 1|Öresunds Järn – Syd|Hälsingborg
lev: L10|Leverantör Ett|Malmö
lev: L20|Leverantör Två|Luleå
art: A100|Skruv M6|st||L10|1|0
art: A200|Kaffe|kg||L20|0|0
art: A300|Bok om skruvar|st|||0|0
art: B200|Bult Ö8|kg|1.25|L10||
artspr: EN|A100|Screw M6|
artspr: EN|B200|Bolt|
kontakt: 1|Anna Andersson|1001|Inköpare
kontakt: 2|Märta Ståhl|1004|Inköpare
kontakt: 3|Göran Exporterad||
projekt: P-ä|Bygget i Älvsjö|1004
projekt: P1|Gammalt projekt|1002
inkpris: A100|L10|0|5|L10-M6
inkpris: A100|L10|50|4.5|L10-M6
inkpris: A200|L20|0|80|L20-KAF
inkpris: B200|1|0|7.5|ÖJ-8
inkpris: B200|1|100|6.25|
prislista: PL1|Grundpriser
prislista: PL2|Återförsäljare
prislista: PL9|Höstkampanj
forspris: PL1|A100|0|10
forspris: PL1|A100|10|9
forspris: PL1|A100|100|8
forspris: PL1|A200|0|120
forspris: PL1|B200|0|19.5
forspris: PL2|A100|0|11
forspris: PL9|B200|0|17.25
forspris: PL9|B200|10|15.5
orderhuvud: 1|1001|Åsa Öberg AB|2024-01-15|PO-77||||3
orderhuvud: 2|1002|Bengt Berg|2024-01-16|||||0
orderhuvud: 900|1004||2024-03-04|700|Norrköping|||4
orderrad: 1|1|A100|0|5|10|Skruv M6|
orderrad: 1|2|A200|0|2|120|Kaffe|
orderrad: 1|3|||||Leverans på fredag|T
orderrad: 900|1|B200||2.5|19.5||
orderrad: 900|2|||||Lämnas vid grind två|T
orderrad: 900|3|A100||4|||
orderrad: 900|4|A100||1||Frakt|
offerthuvud: 1|1003|2024-01-10|1
offerthuvud: 2|1001|2024-03-05|1
offertrad: 1|1|A300|1
offertrad: 2|1|B200|10
fakturahuvud: 1|1002|Bengt Berg|2024-01-20|2024-02-19|0||1
fakturahuvud: 2|1004||2024-03-06|2024-04-05||700|2
fakturarad: 1|1|A100|1|||
fakturarad: 2|1|B200|2.5|||2024-03-07
fakturarad: 2|2|||Tack för köpet, Åke|T|
avtal: 1|1004|Service på Öland|2024-04-01||1
avtalrad: 1|1|B200|3||
kundinbet: 1|2|2024-03-20|48.75
kundinbet: 2|1||11
best: 1|1|2024-03-08|2
bestrad: 1|1|B200|ÖJ-8|100||
bestrad: 1|2||||Levereras till lager Å|T
levfakturahuvud: 1|1|ÖJ-F-1|1
levfakturarad: 1|1|B200|100|||1|1
inkfs: 1|1|2024-03-12|2
inkfsrad: 1|1|B200|60||
inkfsrad: 1|2|||Resten följer i april|T
manin: 1|B200|12.5|Hittat på lager Ö
manut: 1|A100|2|Kasserat
customer: 7|1001|Åsa Öberg AB|556677-8899|3
customer: 8|9001|Dalarö gammalt|5560001111 |3
customer: 9|9002|Blankt nummer|  |3
customer: 101|1004|Åke Äng Örtmark|5599887766|42
Id: 101
)";

// The numbers written, in order: neither contacts, projects nor prices add theirs; the payments
// add their own numbers.
const std::vector<std::string> kImportedItems = {"1004", "1", "B200", "1003", "900", "2", "2", "1",
                                                 "1",    "2", "1",    "1",    "1",   "1", "1"};

// The numbers written back into the loaded document, and the references filled in.
constexpr const char* kWrittenBack = R"(
+ customers#0/atKunder#1 @visma_customer_number=1004
+ suppliers#1/atLeverantorer#1 @visma_supplier_number=1
+ articles#2/atArtiklar#1 @vismakey=B200
+ aux#3/atKunder#1 @vismakey=1003
+ contacts#4/atKontakter#1 @vismakey=2
+ contacts#4/atKontakter#1/CONTACTS_CUSTOMER_NUMBER#2 = 1004
+ contacts#4/atKontakter#2 @vismakey=3
+ projects#5/atProjekt#1 @vismakey=P-ä
+ projects#5/atProjekt#1/PROJECT_CUSTOMER_NUMBER#1 = 1004
+ projects#5/atProjekt#1/PROJECT_CODE_OF_PROJECT#2 = P-ä
+ orders#8/order#1 @vismakey=900
+ orders#8/order#1/atOrder#0/OOI_HEAD_CUSTOMER_NUMBER#4 = 1004
+ orders#8/order#1/rows#1/row#0/OOI_ROW_ARTICLE_NUMBER#2 = B200
+ orders#8/order#1/rows#1/row#2/OOI_ROW_ARTICLE_NUMBER#1 = A100
+ orders#8/order#1/rows#1/row#3/OOI_ROW_ARTICLE_NUMBER#2 = A100
+ offers#9/offer#1 @vismakey=2
+ offers#9/offer#1/atOffert#0/OOI_HEAD_CUSTOMER_NUMBER#1 = 1001
+ offers#9/offer#1/rows#1/row#0/OOI_ROW_ARTICLE_NUMBER#1 = B200
+ invoices#10/invoice#1 @vismakey=2
+ invoices#10/invoice#1/atFakturor#0/OOI_HEAD_CUSTOMER_NUMBER#3 = 1004
+ invoices#10/invoice#1/rows#1/row#0/OOI_ROW_ARTICLE_NUMBER#2 = B200
+ agreements#11/agreement#1 @vismakey=1
+ agreements#11/agreement#1/atAvtal#0/AGREEMENT_HEAD_CUSTOMER_NUMBER#3 = 1004
+ agreements#11/agreement#1/rows#1/row#0/OOI_ROW_ARTICLE_NUMBER#1 = B200
+ customerpayments#12/payment#1 @vismakey=2
+ customerpayments#12/payment#1/CUSTOMERPAYMENT_INVOICE_NUMBER#2 = 2
+ customerpayments#12/payment#2 @vismakey=1
+ customerpayments#12/payment#2/CUSTOMERPAYMENT_INVOICE_NUMBER#1 = 1
+ bests#13/best#1 @vismakey=1
+ bests#13/best#1/atBestallningar#0/BOOKING_SUPPLIER_NUMBER#1 = 1
+ bests#13/best#1/rows#1/row#0/OOI_ROW_ARTICLE_NUMBER#2 = B200
+ supplierinvoices#14/supplierinvoice#1 @vismakey=1
+ supplierinvoices#14/supplierinvoice#1/atLevFakturor#0/SUP_INV_HEAD_SUPPLIER_NUMBER#1 = 1
+ supplierinvoices#14/supplierinvoice#1/rows#1/row#0/OOI_ROW_FROM_DOCUMENT#0 = 1
+ supplierinvoices#14/supplierinvoice#1/rows#1/row#0/OOI_ROW_ARTICLE_NUMBER#2 = B200
+ supplierinvoices#14/supplierinvoice#1/rows#1/row#0/OOI_ROW_FROM_DOCROW#3 = 1
+ deliverynotes#15/deliverynote#1 @vismakey=1
+ deliverynotes#15/deliverynote#1/atInkFs#0/DELIVERY_NOTE_SUPPLIER_NUMBER#1 = 1
+ deliverynotes#15/deliverynote#1/rows#1/row#0/OOI_ROW_ARTICLE_NUMBER#1 = B200
+ manualDeliveryIn#16/item#1 @vismakey=1
+ manualDeliveryIn#16/item#1/MANUAL_DELIVERY_IN_ARTICLE_NUMBER#2 = B200
+ manualDeliveryOut#17/item#1 @vismakey=1
+ manualDeliveryOut#17/item#1/MANUAL_DELIVERY_OUT_ARTICLE_NUMBER#2 = A100
)";

TEST(CombinedRun, EveryKindOfOneFileInTheJobsOrder) {
    TCombinedWorld world(ForceDotSettings());
    world.Events().Clear();
    RunFile(world, kAllKinds);
    EXPECT_EQ(Visible(world.Events().Take()), RunEvents());
    EXPECT_EQ(CompanyDump(world), Lines(kCompanyAfterFile));
    EXPECT_EQ(world.Import().ImportedItems(), kImportedItems);
    EXPECT_EQ(WrittenBack(world, kAllKinds), Lines(kWrittenBack));
    EXPECT_EQ(PendingDataSets(world), std::vector<std::string>{});
    EXPECT_EQ(world.Rules.Lines, std::vector<std::string>{});  // no post-processing rule is set
}

TEST(CombinedRun, TheSameContentInThreeEncodingsGivesOneRun) {
    // Declared UTF-8, "ISO-8859-1" (the en dash of the supplier's name as a character reference)
    // and windows-1252 (the dash as its own byte).
    for (const char* file : {kAllKinds, "combined/all_kinds_latin1.xml", "combined/all_kinds_cp1252.xml"}) {
        TCombinedWorld world(ForceDotSettings());
        world.Events().Clear();
        RunFile(world, file);
        EXPECT_EQ(Visible(world.Events().Take()), RunEvents()) << file;
        EXPECT_EQ(CompanyDump(world), Lines(kCompanyAfterFile)) << file;
        EXPECT_EQ(world.Import().ImportedItems(), kImportedItems) << file;
    }
}

TEST(CombinedRun, SwedishNumbersFromTheirOwnFileGiveTheSameDumps) {
    // The file writes its numbers with a decimal comma; only the bracket line, formatted with the
    // process's separator, reads otherwise.
    TCombinedWorld world(SwedishSettings());
    world.Events().Clear();
    RunFile(world, "combined/all_kinds_swedish.xml");
    std::vector<std::string> events = RunEvents();
    std::replace(events.begin(), events.end(), std::string("      [8] B200, 10.00"),
                 std::string("      [8] B200, 10,00"));
    EXPECT_EQ(Visible(world.Events().Take()), events);
    EXPECT_EQ(CompanyDump(world), Lines(kCompanyAfterFile));
    EXPECT_EQ(world.Import().ImportedItems(), kImportedItems);
}

TEST(CombinedRun, ASecondFileOfTheJobSeesOnlyTheRegistriesLoadingKeeps) {
    TCombinedWorld world(ForceDotSettings());
    RunFile(world, kAllKinds);
    world.Events().Clear();

    // Loading empties the customer, article, supplier and invoice registries and the typed one;
    // the order, agreement and offer keys stay until their checks run again, the agreement's with
    // the number its import wrote.
    ASSERT_TRUE(world.Import().LoadXML(FixturePath("import/combined/second_file.xml")));
    EXPECT_EQ(RegistryLines(world.Import()), Lines(R"(
ValidOrderKeys "900" [Not implemented]
ValidAgreementKeys "960" [Not implemented] = 1
ValidOfferKeys "800" [Not implemented]
)"));

    // The reconciliation of the order the first file wrote: the comment before it counts as an
    // order without head; order 900 (never printed) gets the delivered quantities of its two file
    // rows on its first two article rows (the text row passed over) and the customer's order
    // number, and is marked delivered; the printed mark is not set again on a delivered order.
    RunCalls(world, {"CustomImportOrderAvstamning"});
    EXPECT_EQ(Visible(world.Events().Take()), Lines(R"(
[2] Okänt fel: Felaktigt XML format saknar huvud eller rader order #0
- Order  [900]
[1] Tar bort ordererkännande
[8] Sätter levererad
[8] Sätter tillbaka ordererkännande:
CustomImportOrderAvstamning true
)"));
    EXPECT_EQ(CompanyTable(world, "orderhuvud"), Lines(R"(
orderhuvud: 1|1001|Åsa Öberg AB|2024-01-15|PO-77||||3
orderhuvud: 2|1002|Bengt Berg|2024-01-16|||||0
orderhuvud: 900|1004||2024-03-04|701|Norrköping||1|4
)"));
    EXPECT_EQ(CompanyTable(world, "orderrad"), Lines(R"(
orderrad: 1|1|A100|0|5|10|Skruv M6|
orderrad: 1|2|A200|0|2|120|Kaffe|
orderrad: 1|3|||||Leverans på fredag|T
orderrad: 900|1|B200|2|2.5|19.5||
orderrad: 900|2|||||Lämnas vid grind två|T
orderrad: 900|3|A100|4|4|||
orderrad: 900|4|A100||1||Frakt|
)"));
    // The imported items span the files of a job.
    EXPECT_EQ(world.Import().ImportedItems(), kImportedItems);
    EXPECT_EQ(PendingDataSets(world), std::vector<std::string>{});
}

}  // namespace
}  // namespace tv
