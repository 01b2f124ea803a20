// The import of purchase orders and supplier invoices end to end: the demo company with purchase
// order 1 (rows 1 A100, 2 A200, 3 A100 again) and supplier invoice 1, a fixture file whose suppliers
// and articles are imported first, then the kind's import as a job script calls it; the event lines,
// the document tables afterwards, what the import wrote into the loaded document and the numbers
// stored for purchase order keys, all written by hand.

#include <gtest/gtest.h>

#include "tests/import/purchase/purchase_support.h"

namespace tv {
namespace {

using test::Lines;
using test::Visible;

constexpr const char* kBestPrefs = "CDSImportBestPrefs";
constexpr const char* kSupplierInvoicePrefs = "CDSImportSupplierInvoicePrefs";

struct Setting {
    const char* table;
    const char* field;
    const char* value;
};

struct PurchaseCase {
    const char* name;
    const char* fixture;  // below tests/fixtures/import/purchase
    std::vector<Setting> settings;
    std::vector<std::string> prelude;  // after LoadXML; their lines are not compared
    const char* events;                // of the import
    const char* tables;                // the kind's heads and rows afterwards
    const char* document;              // the documents of the loaded file afterwards
    const char* bookingKeys = "";      // purchase order keys with their stored numbers
};

constexpr const char* kRegisters[] = {"CheckSuppliers", "ImportSuppliers", "CheckArticles", "ImportArticles"};

std::vector<std::string> WithRegisters(std::vector<std::string> steps) {
    steps.insert(steps.begin(), std::begin(kRegisters), std::end(kRegisters));
    return steps;
}

// "key=number" for each purchase order key of the typed registry.
std::vector<std::string> BookingKeys(test::TImportWorld& world) {
    std::vector<std::string> lines;
    for (const TKeyRecord& record : world.Keys().ValidKeys())
        if (record.KEY_TYPE == std::to_string(TKnownKey_Booking))
            lines.push_back(record.KEY_KEY_VALUE + "=" + record.KEY_VALUE_IN_VISMA);
    return lines;
}

void RunCase(const PurchaseCase& c, const char* step, const test::TDocumentTables& tables,
             const char* container, const char* head, const std::vector<std::string>& headElements) {
    test::TPurchaseWorld world;
    for (const Setting& s : c.settings) world.Set(s.table, s.field, s.value);
    std::vector<std::string> prelude = {std::string("LoadXML purchase/") + c.fixture};
    prelude.insert(prelude.end(), c.prelude.begin(), c.prelude.end());
    test::RunPurchaseSteps(world, prelude);
    world.Events().Clear();
    test::RunPurchaseSteps(world, {step});
    EXPECT_EQ(Visible(world.Events().Take()), Lines(c.events)) << c.name;
    EXPECT_EQ(test::DocumentTables(world, tables), Lines(c.tables)) << c.name;
    EXPECT_EQ(test::WrittenBack(world, container, head, headElements), Lines(c.document)) << c.name;
    EXPECT_EQ(BookingKeys(world), Lines(c.bookingKeys)) << c.name;
}

const PurchaseCase kBookingCases[] = {
    {"a purchase order found by its key alone is changed (rows kept with row management 0) and reported "
     "as created, its number stored for the key; a new one gets its supplier's number and its rows, the "
     "empty text and row type of an ordinary row dropped",
     "bests.xml",
     {{kBestPrefs, "SEARCH_CDX", "101"}, {kBestPrefs, "ON_BEST_DOES_NOT_EXIST", "0"}},
     WithRegisters({"CheckBest"}),
     R"(
step Importerar beställningar (5)
+ Importerar beställningar
  - Beställning - #2
  [4] Skapade beställning : 1
  - Beställning - #3
  [4] Skapade beställning : 2
ImportBest true
)",
     R"(
1|L20|2024-03-01|3
2|L10|2024-03-02|2
  1|1|A100|L10-M6|50|Skruv M6|
  1|2|A200|L20-KAF|10|Kaffe|
  1|3|A100|L10-M6X|5|Skruv M6 extra|
  2|1|A100||12||
  2|2||||Leverans till lager 2|T
)",
     R"(
#1 vismakey=1 BOOKING_SUPPLIER_NUMBER=L20
  OOI_ROW_QUANTITY2=4
#2 vismakey=2 BOOKING_SUPPLIER_NUMBER=L10
  OOI_ROW_QUANTITY2=12 OOI_ROW_ARTICLE_NUMBER=A100
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Leverans till lager 2 OOI_ROW_QUANTITY2=9
)",
     "1=1"},

    {"found by SQL: the search is reported with the key",
     "bests.xml",
     {{kBestPrefs, "SEARCH_MODE", "1"},
      {kBestPrefs, "SEARCH_SQL", "select doknr from best where doknr = :nyckel"},
      {kBestPrefs, "ON_BEST_DOES_NOT_EXIST", "1"}},
     WithRegisters({"CheckBest"}),
     R"(
step Importerar beställningar (5)
+ Importerar beställningar
  - Beställning - #2
  [8] Söker efter dokument med nyckel:1
  [4] Skapade beställning : 1
  - Beställning - #3
ImportBest true
)",
     R"(
1|L20|2024-03-01|3
  1|1|A100|L10-M6|50|Skruv M6|
  1|2|A200|L20-KAF|10|Kaffe|
  1|3|A100|L10-M6X|5|Skruv M6 extra|
)",
     R"(
#1 vismakey=1 BOOKING_SUPPLIER_NUMBER=L20
  OOI_ROW_QUANTITY2=4
#2 vismakey= BOOKING_SUPPLIER_NUMBER=L10
  OOI_ROW_QUANTITY2=12 OOI_ROW_TEXT= OOI_ROW_TYPE_OF_ROW=
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Leverans till lager 2 OOI_ROW_QUANTITY2=9
)",
     "1=1"},

    {"row management 2 deletes an existing purchase order's rows before the file's are written",
     "bests.xml",
     {{kBestPrefs, "SEARCH_CDX", "101"}, {kBestPrefs, "BEST_ROWS_MANAGEMENT", "2"}},
     WithRegisters({"CheckBest"}),
     R"(
step Importerar beställningar (5)
+ Importerar beställningar
  - Beställning - #2
  [4] Skapade beställning : 1
  - Beställning - #3
ImportBest true
)",
     R"(
1|L20|2024-03-01|1
  1|1|A200||4||
)",
     R"(
#1 vismakey=1 BOOKING_SUPPLIER_NUMBER=L20
  OOI_ROW_QUANTITY2=4 OOI_ROW_ARTICLE_NUMBER=A200
#2 vismakey= BOOKING_SUPPLIER_NUMBER=L10
  OOI_ROW_QUANTITY2=12 OOI_ROW_TEXT= OOI_ROW_TYPE_OF_ROW=
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Leverans till lager 2 OOI_ROW_QUANTITY2=9
)",
     "1=1"},

    {"another row management appends the file's rows to the existing ones",
     "bests.xml",
     {{kBestPrefs, "SEARCH_CDX", "101"}, {kBestPrefs, "BEST_ROWS_MANAGEMENT", "1"}},
     WithRegisters({"CheckBest"}),
     R"(
step Importerar beställningar (5)
+ Importerar beställningar
  - Beställning - #2
  [4] Skapade beställning : 1
  - Beställning - #3
ImportBest true
)",
     R"(
1|L20|2024-03-01|4
  1|1|A100|L10-M6|50|Skruv M6|
  1|2|A200|L20-KAF|10|Kaffe|
  1|3|A100|L10-M6X|5|Skruv M6 extra|
  1|4|A200||4||
)",
     R"(
#1 vismakey=1 BOOKING_SUPPLIER_NUMBER=L20
  OOI_ROW_QUANTITY2=4 OOI_ROW_ARTICLE_NUMBER=A200
#2 vismakey= BOOKING_SUPPLIER_NUMBER=L10
  OOI_ROW_QUANTITY2=12 OOI_ROW_TEXT= OOI_ROW_TYPE_OF_ROW=
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Leverans till lager 2 OOI_ROW_QUANTITY2=9
)",
     "1=1"},

    {"ON_BEST_EXIST 2 refuses an existing purchase order with its number; its number is stored first",
     "bests.xml",
     {{kBestPrefs, "SEARCH_CDX", "101"}, {kBestPrefs, "ON_BEST_EXIST", "2"}},
     WithRegisters({"CheckBest"}),
     R"(
step Importerar beställningar (5)
+ Importerar beställningar
  - Beställning - #2
  [2] Beställning existerar redan 1
ImportBest false
)",
     R"(
1|L10|2024-02-01|3
  1|1|A100|L10-M6|50|Skruv M6|
  1|2|A200|L20-KAF|10|Kaffe|
  1|3|A100|L10-M6X|5|Skruv M6 extra|
)",
     R"(
#1 vismakey= BOOKING_SUPPLIER_NUMBER=L20
  OOI_ROW_QUANTITY2=4
#2 vismakey=
  OOI_ROW_QUANTITY2=12 OOI_ROW_TEXT= OOI_ROW_TYPE_OF_ROW=
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Leverans till lager 2 OOI_ROW_QUANTITY2=9
)",
     "1=1"},

    {"an existing purchase order whose document key the check did not register (it registers the "
     "head's) ends the import before anything is written",
     "best_key_not_registered.xml",
     {{kBestPrefs, "SEARCH_CDX", "101"}},
     {"CheckBest"},
     R"(
step Importerar beställningar (5)
+ Importerar beställningar
  - Beställning - #2
  [2] Hittade inte nyckeln [1] när den skulle uppdateras med vismanr
ImportBest false
)",
     R"(
1|L10|2024-02-01|3
  1|1|A100|L10-M6|50|Skruv M6|
  1|2|A200|L20-KAF|10|Kaffe|
  1|3|A100|L10-M6X|5|Skruv M6 extra|
)",
     R"(
#1 vismakey=
)",
     "b-1="},

    {"without a key the number element finds the purchase order; an unknown supplier key ends the import",
     "best_by_number.xml",
     {},
     {},
     R"(
step Importerar beställningar (5)
+ Importerar beställningar
  - Beställning - #2
  [4] Skapade beställning : 1
  - Beställning - #3
  [2] Leverantörsnyckeln fanns ej i systemet
ImportBest false
)",
     R"(
1|L10|2024-04-01|3
  1|1|A100|L10-M6|50|Skruv M6|
  1|2|A200|L20-KAF|10|Kaffe|
  1|3|A100|L10-M6X|5|Skruv M6 extra|
)",
     R"(
#1 vismakey=1
#2 vismakey=
)"},
};

TEST(PurchaseOrderImport, WritesEachPurchaseOrderAsItsSettingsSay) {
    for (const PurchaseCase& c : kBookingCases)
        RunCase(c, "ImportBest", test::kBookingTables, "bests", "atBestallningar",
                {"BOOKING_SUPPLIER_NUMBER"});
}

constexpr const char* kGuessOn = "True";

const PurchaseCase kSupplierInvoiceCases[] = {
    {"an existing supplier invoice is changed and keeps its number; one without a supplier key is "
     "reported and passed over; rows from a purchase order get its number's digits and, when they do "
     "not name it, the row of the first matching article, letter case ignored; text rows are not guessed",
     "supplier_invoices.xml",
     {{kSupplierInvoicePrefs, "ON_SUPINVOICE_EXIST", "0"},
      {kSupplierInvoicePrefs, "ON_SUPINVOIC_GUESS_BESTROW", kGuessOn}},
     WithRegisters({}),
     R"(
+ Importerar leverantörsfaktura
  - Leverantörsfaktura - #2
  [4] Skapade leverantörsfaktura : 1
  - Leverantörsfaktura - #3
  [2] Leverantörsfaktura #2 saknar supplierkey attribut
  - Leverantörsfaktura - #4
  (8) Gissar beställningsnr: [A100 = 1]
  (8) Gissar beställningsnr: [a200 = 2]
  [4] Skapade leverantörsfaktura : 2
ImportSupplierInvoices false
)",
     R"(
1|L10|F-100b|1
2|L10|F-200|5
  1|1|A100|50|Skruv M6|||
  2|1|A100|50|||01|1
  2|2|A100||||1|3
  2|3|a200||||1|2
  2|4|||Frakt enligt avtal|T||
  2|5|||Utan beställning|||
)",
     R"(
#1 vismakey=1 SUP_INV_HEAD_SUPPLIER_NUMBER=L10
#2 vismakey=
#3 vismakey=2 SUP_INV_HEAD_SUPPLIER_NUMBER=L10
  OOI_ROW_FROM_DOCUMENT=01 OOI_ROW_QUANTITY1=50 OOI_ROW_ARTICLE_NUMBER=A100 OOI_ROW_FROM_DOCROW=1
  OOI_ROW_ARTICLE_NUMBER=A100 OOI_ROW_FROM_DOCUMENT=1 OOI_ROW_FROM_DOCROW=3
  OOI_ROW_ARTICLE_NUMBER=a200 OOI_ROW_FROM_DOCUMENT=1 OOI_ROW_FROM_DOCROW=2
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Frakt enligt avtal OOI_ROW_FROM_DOCUMENT=B-1
  OOI_ROW_TEXT=Utan beställning
)"},

    {"with article basis 1 the supplier's article number is matched; a row without one is not guessed",
     "guess_supplier_article.xml",
     {{kSupplierInvoicePrefs, "ON_SUPINVOIC_GUESS_BESTROW", kGuessOn},
      {kSupplierInvoicePrefs, "ON_SUPINVOIC_ARTICLE_BASIS", "1"}},
     WithRegisters({}),
     R"(
+ Importerar leverantörsfaktura
  - Leverantörsfaktura - #1
  (8) Gissar beställningsnr: [l10-m6x = 3]
  [4] Skapade leverantörsfaktura : 2
ImportSupplierInvoices true
)",
     R"(
1|L10|F-100|1
2|L10||2
  1|1|A100|50|Skruv M6|||
  2|1|A100||||1|3
  2|2|A100||||1|
)",
     R"(
#0 vismakey=2 SUP_INV_HEAD_SUPPLIER_NUMBER=L10
  OOI_ROW_SUPPLIER_ARTICLE_NUMBER=l10-m6x OOI_ROW_FROM_DOCUMENT=1 OOI_ROW_ARTICLE_NUMBER=A100 OOI_ROW_FROM_DOCROW=3
  OOI_ROW_FROM_DOCUMENT=1 OOI_ROW_ARTICLE_NUMBER=A100
)"},

    {"a purchase order that is not there ends the import with its digits",
     "guess_failures.xml",
     {{kSupplierInvoicePrefs, "ON_SUPINVOIC_GUESS_BESTROW", kGuessOn}},
     {"CheckSuppliers", "ImportSuppliers"},
     R"(
+ Importerar leverantörsfaktura
  - Leverantörsfaktura - #1
  [2] Hittade inte beställning [9]
ImportSupplierInvoices false
)",
     R"(
1|L10|F-100|1
  1|1|A100|50|Skruv M6|||
)",
     R"(
#0 vismakey= SUP_INV_HEAD_SUPPLIER_NUMBER=L10
  OOI_ROW_ARTICLE_NUMBER=A300 OOI_ROW_FROM_DOCUMENT=9
)"},

    {"a purchase order number without digits names no purchase order: it is not searched",
     "guess_no_digits.xml",
     {{kSupplierInvoicePrefs, "ON_SUPINVOIC_GUESS_BESTROW", kGuessOn}},
     {"CheckSuppliers", "ImportSuppliers"},
     R"(
+ Importerar leverantörsfaktura
  - Leverantörsfaktura - #1
  [2] Hittade inte beställning []
ImportSupplierInvoices false
)",
     R"(
1|L10|F-100|1
  1|1|A100|50|Skruv M6|||
)",
     R"(
#0 vismakey= SUP_INV_HEAD_SUPPLIER_NUMBER=L10
  OOI_ROW_ARTICLE_NUMBER=A300 OOI_ROW_FROM_DOCUMENT=
)"},

    {"a purchase order without a row of the article ends the import",
     "guess_no_row.xml",
     {{kSupplierInvoicePrefs, "ON_SUPINVOIC_GUESS_BESTROW", kGuessOn}},
     {"CheckSuppliers", "ImportSuppliers"},
     R"(
+ Importerar leverantörsfaktura
  - Leverantörsfaktura - #1
  [2] Beställningsraden kunde inte hittas: [1/A300]
ImportSupplierInvoices false
)",
     R"(
1|L10|F-100|1
  1|1|A100|50|Skruv M6|||
)",
     R"(
#0 vismakey= SUP_INV_HEAD_SUPPLIER_NUMBER=L10
  OOI_ROW_ARTICLE_NUMBER=A300 OOI_ROW_FROM_DOCUMENT=1
)"},

    {"an existing supplier invoice is passed over silently by default; a refused missing one says "
     "\"Order\"",
     "supplier_invoices.xml",
     {{kSupplierInvoicePrefs, "ON_SUPINVOICE_DOES_NOT_EXIST", "2"}},
     WithRegisters({}),
     R"(
+ Importerar leverantörsfaktura
  - Leverantörsfaktura - #2
  - Leverantörsfaktura - #3
  [2] Leverantörsfaktura #2 saknar supplierkey attribut
  - Leverantörsfaktura - #4
  [2] Order existerar inte 
ImportSupplierInvoices false
)",
     R"(
1|L10|F-100|1
  1|1|A100|50|Skruv M6|||
)",
     R"(
#1 vismakey= SUP_INV_HEAD_SUPPLIER_NUMBER=L10
#2 vismakey=
#3 vismakey= SUP_INV_HEAD_SUPPLIER_NUMBER=L10
  OOI_ROW_FROM_DOCUMENT=Best nr 0-1 OOI_ROW_QUANTITY1=50
  OOI_ROW_ARTICLE_NUMBER=A100 OOI_ROW_FROM_DOCUMENT=B-1 OOI_ROW_FROM_DOCROW=3
  OOI_ROW_ARTICLE_NUMBER=a200 OOI_ROW_FROM_DOCUMENT=1 OOI_ROW_FROM_DOCROW=
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Frakt enligt avtal OOI_ROW_FROM_DOCUMENT=B-1
  OOI_ROW_TEXT=Utan beställning
)"},
};

TEST(SupplierInvoiceImport, WritesEachSupplierInvoiceAndGuessesPurchaseOrderRows) {
    for (const PurchaseCase& c : kSupplierInvoiceCases)
        RunCase(c, "ImportSupplierInvoices", test::kSupplierInvoiceTables, "supplierinvoices",
                "atLevFakturor", {"SUP_INV_HEAD_SUPPLIER_NUMBER"});
}

}  // namespace
}  // namespace tv
