// The import of delivery notes and manual stock receipts and issues end to end: the demo company
// with delivery note 1 and manual documents 1 beside it, a fixture file whose suppliers and articles
// are imported first, then the kind's import as a job script calls it; the event lines, the
// document tables afterwards and what the import wrote into the loaded document, all written by
// hand. Stock documents are never changed.

#include <gtest/gtest.h>

#include "tests/import/purchase/purchase_support.h"

namespace tv {
namespace {

using test::Lines;
using test::Visible;

constexpr const char* kNotePrefs = "CDSImportInkFS";
constexpr const char* kManualInPrefs = "CDSImportManualDeliveryIn";
// The delivery notes are found on their number.
constexpr const char* kNoteNumberOrder = "146";
// The manual receipts are found on their number.
constexpr const char* kManualInNumberOrder = "98";

struct Setting {
    const char* table;
    const char* field;
    const char* value;
};

struct StockCase {
    const char* name;
    const char* fixture;  // below tests/fixtures/import/purchase
    std::vector<Setting> settings;
    std::vector<std::string> prelude;  // after LoadXML; their lines are not compared
    const char* events;                // of the import
    const char* tables;                // the kind's documents afterwards
    const char* document;              // the documents of the loaded file afterwards
    std::string seed = "";             // statements after the company's fixtures
    // Manual receipt keys with a number stored for them before the import.
    std::vector<std::pair<const char*, const char*>> stored = {};
};

void RunCase(const StockCase& c, const char* step, const test::TDocumentTables& tables, const char* container,
             const char* head, const std::vector<std::string>& headElements) {
    test::TPurchaseWorld world(c.seed);
    for (const Setting& s : c.settings) world.Set(s.table, s.field, s.value);
    std::vector<std::string> prelude = {std::string("LoadXML purchase/") + c.fixture};
    prelude.insert(prelude.end(), c.prelude.begin(), c.prelude.end());
    test::RunPurchaseSteps(world, prelude);
    for (const auto& [key, number] : c.stored)
        world.Keys().SetKnowVismaKeyValue(key, number, TKnownKey_ManualDeliveryIn);
    world.Events().Clear();
    test::RunPurchaseSteps(world, {step});
    EXPECT_EQ(Visible(world.Events().Take()), Lines(c.events)) << c.name;
    EXPECT_EQ(test::DocumentTables(world, tables), Lines(c.tables)) << c.name;
    EXPECT_EQ(test::WrittenBack(world, container, head, headElements), Lines(c.document)) << c.name;
}

const std::vector<std::string> kNoteRegisters = {"CheckSuppliers", "ImportSuppliers", "CheckArticles",
                                                 "ImportArticles"};

constexpr const char* kSeededNotes = R"(
1|L10|2024-02-05|1
  1|1|A100|50||
)";

const StockCase kDeliveryNoteCases[] = {
    {"an existing note is not written, yet reported and numbered as created; new notes are written with "
     "their supplier's number, or without one when they name no supplier; a note without its head ends "
     "the import",
     "delivery_notes.xml",
     {{kNotePrefs, "SEARCH_CDX", kNoteNumberOrder}},
     kNoteRegisters,
     R"(
+ Importerar följesedlar
  - Följesedel - #2
  [4] Skapade följesedel : 1
  - Följesedel - #3
  [4] Skapade följesedel : 2
  - Följesedel - #4
  [4] Skapade följesedel : 3
  - Följesedel - #5
  [2] Följesedel #4 saknar taggen atInkFs
ImportDeliveryNotes false
)",
     R"(
1|L10|2024-02-05|1
2|L10|2024-03-06|2
3||2024-03-07|0
  1|1|A100|50||
  2|1|A100|3||
  2|2|||Pall 2 av 2|T
)",
     R"(
#1 vismakey=1
  OOI_ROW_QUANTITY1=7
#2 vismakey=2 DELIVERY_NOTE_SUPPLIER_NUMBER=L10
  OOI_ROW_QUANTITY1=3 OOI_ROW_ARTICLE_NUMBER=A100
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Pall 2 av 2 OOI_ROW_QUANTITY1=1
#3 vismakey=3
#4 vismakey=
#5 vismakey=
)"},

    {"ON_EXIST 1 passes an existing note over with a line",
     "delivery_notes.xml",
     {{kNotePrefs, "SEARCH_CDX", kNoteNumberOrder}, {kNotePrefs, "ON_EXIST", "1"}},
     kNoteRegisters,
     R"(
+ Importerar följesedlar
  - Följesedel - #2
  [1] Dokument existerar: 1 ... hoppar över
  - Följesedel - #3
  [4] Skapade följesedel : 2
  - Följesedel - #4
  [4] Skapade följesedel : 3
  - Följesedel - #5
  [2] Följesedel #4 saknar taggen atInkFs
ImportDeliveryNotes false
)",
     R"(
1|L10|2024-02-05|1
2|L10|2024-03-06|2
3||2024-03-07|0
  1|1|A100|50||
  2|1|A100|3||
  2|2|||Pall 2 av 2|T
)",
     R"(
#1 vismakey=
  OOI_ROW_QUANTITY1=7
#2 vismakey=2 DELIVERY_NOTE_SUPPLIER_NUMBER=L10
  OOI_ROW_QUANTITY1=3 OOI_ROW_ARTICLE_NUMBER=A100
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Pall 2 av 2 OOI_ROW_QUANTITY1=1
#3 vismakey=3
#4 vismakey=
#5 vismakey=
)"},

    {"ON_EXIST 2 refuses an existing note with its number",
     "delivery_notes.xml",
     {{kNotePrefs, "SEARCH_CDX", kNoteNumberOrder}, {kNotePrefs, "ON_EXIST", "2"}},
     kNoteRegisters,
     R"(
+ Importerar följesedlar
  - Följesedel - #2
  [2] Dokument existerar redan 1
ImportDeliveryNotes false
)",
     kSeededNotes,
     R"(
#1 vismakey=
  OOI_ROW_QUANTITY1=7
#2 vismakey=
  OOI_ROW_QUANTITY1=3 OOI_ROW_TYPE_OF_ROW=
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Pall 2 av 2 OOI_ROW_QUANTITY1=1
#3 vismakey=
#4 vismakey=
#5 vismakey=
)"},

    {"a note that fails to be written ends the import, nothing of it left in the company",
     "delivery_notes.xml",
     {{kNotePrefs, "SEARCH_CDX", kNoteNumberOrder}},
     kNoteRegisters,
     R"(
+ Importerar följesedlar
  - Följesedel - #2
  [4] Skapade följesedel : 1
  - Följesedel - #3
  [2] Misslyckades att skapa följesedel: Error occured in AdkAdd:\r\n\r\nkit fault
ImportDeliveryNotes false
)",
     kSeededNotes,
     R"(
#1 vismakey=1
  OOI_ROW_QUANTITY1=7
#2 vismakey= DELIVERY_NOTE_SUPPLIER_NUMBER=L10
  OOI_ROW_QUANTITY1=3 OOI_ROW_ARTICLE_NUMBER=A100
  OOI_ROW_TYPE_OF_ROW=T OOI_ROW_TEXT=Pall 2 av 2 OOI_ROW_QUANTITY1=1
#3 vismakey=
#4 vismakey=
#5 vismakey=
)",
     test::FailingAdd(0)},

    {"a supplier key that no supplier of the file registered ends the import",
     "delivery_note_unknown_supplier.xml",
     {{kNotePrefs, "SEARCH_CDX", kNoteNumberOrder}},
     {},
     R"(
+ Importerar följesedlar
  - Följesedel - #1
  [2] En länkad leverantör finns refererad (@supplierkey), men saknas i XML filen.
ImportDeliveryNotes false
)",
     kSeededNotes,
     R"(
#0 vismakey=
)"},

    {"a file that could not be loaded has no document element to import",
     "saknas.xml",
     {},
     {},
     R"(
+ Importerar följesedlar
  [2] Felaktigt XML dokument. Rootnoden är tom
ImportDeliveryNotes true
)",
     kSeededNotes,
     ""},
};

TEST(DeliveryNoteImport, WritesNewNotesAndReportsExistingOnesAsWritten) {
    for (const StockCase& c : kDeliveryNoteCases)
        RunCase(c, "ImportDeliveryNotes", test::kDeliveryNoteTables, "deliverynotes", "atInkFs",
                {"DELIVERY_NOTE_SUPPLIER_NUMBER"});
}

const std::vector<std::string> kManualInChecks = {"CheckArticles", "ImportArticles", "CheckManualDeliveryIn"};

const StockCase kManualInCases[] = {
    {"\"autocreate\" is written as new; \"noedit\" never, missing with a line, also without a key in "
     "capitals; a keyed document has no number stored for its key, so it is not searched (not even on "
     "the default sort order, which is no order of this table) and written; items count documents only",
     "manual_in.xml",
     {},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  [1] Manuell inleverans : 2
  - #2
  [8] Existerar inte ... hoppar över
  - #3
  [8] Existerar inte ... hoppar över
  - #4
  [1] Manuell inleverans : 3
  - #5
  [1] Manuell inleverans : 4
ImportManualDeliveryIn true
)",
     R"(
1|A100|5|Inventerat
2|A100|5|Autocreate
3|A200|2|Med nyckel
4|okänd|1|Utan nyckel
)",
     R"(
#1 vismakey=2 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A100
#2 vismakey=
#3 vismakey=
#4 vismakey=3 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=4 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=okänd
)"},

    {"with a number stored for the key the document is searched: \"noedit\" found is passed over "
     "silently, another option found is written again as new; \"autocreate\" is not searched",
     "manual_in.xml",
     {{kManualInPrefs, "SEARCH_CDX", kManualInNumberOrder}},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  [1] Manuell inleverans : 2
  - #2
  - #3
  [8] Existerar inte ... hoppar över
  - #4
  [1] Manuell inleverans : 3
  - #5
  [1] Manuell inleverans : 4
ImportManualDeliveryIn true
)",
     R"(
1|A100|5|Inventerat
2|A100|5|Autocreate
3|A200|2|Med nyckel
4|okänd|1|Utan nyckel
)",
     R"(
#1 vismakey=2 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A100
#2 vismakey=
#3 vismakey=
#4 vismakey=3 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=4 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=okänd
)",
     "",
     {{"M1", "1"}, {"m2", "1"}, {"M4", "1"}}},

    {"a search by SQL is reported with the number stored for the key in angle brackets",
     "manual_in.xml",
     {{kManualInPrefs, "SEARCH_MODE", "1"},
      {kManualInPrefs, "SEARCH_SQL", "select doknr from manin where doknr = :nummer"},
      {kManualInPrefs, "ON_EXIST", "1"}},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  [1] Manuell inleverans : 2
  - #2
  [8] Existerar inte ... hoppar över
  - #3
  [8] Existerar inte ... hoppar över
  - #4
  [8] <1>
  [8] Existerar: 1 ... hoppar över
  - #5
  [1] Manuell inleverans : 3
ImportManualDeliveryIn true
)",
     R"(
1|A100|5|Inventerat
2|A100|5|Autocreate
3|okänd|1|Utan nyckel
)",
     R"(
#1 vismakey=2 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A100
#2 vismakey=
#3 vismakey=
#4 vismakey= MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=3 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=okänd
)",
     "",
     {{"M4", "1"}}},

    {"ON_EXIST 1 passes a found document over with its number",
     "manual_in.xml",
     {{kManualInPrefs, "SEARCH_CDX", kManualInNumberOrder}, {kManualInPrefs, "ON_EXIST", "1"}},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  [1] Manuell inleverans : 2
  - #2
  [8] Existerar inte ... hoppar över
  - #3
  [8] Existerar inte ... hoppar över
  - #4
  [8] Existerar: 1 ... hoppar över
  - #5
  [1] Manuell inleverans : 3
ImportManualDeliveryIn true
)",
     R"(
1|A100|5|Inventerat
2|A100|5|Autocreate
3|okänd|1|Utan nyckel
)",
     R"(
#1 vismakey=2 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A100
#2 vismakey=
#3 vismakey=
#4 vismakey= MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=3 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=okänd
)",
     "",
     {{"M4", "1"}}},

    {"ON_EXIST 2 refuses a found document with its key; what was written before stays",
     "manual_in.xml",
     {{kManualInPrefs, "SEARCH_CDX", kManualInNumberOrder}, {kManualInPrefs, "ON_EXIST", "2"}},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  [1] Manuell inleverans : 2
  - #2
  [8] Existerar inte ... hoppar över
  - #3
  [8] Existerar inte ... hoppar över
  - #4
  [2] Dokument existerar redan M4
ImportManualDeliveryIn false
)",
     R"(
1|A100|5|Inventerat
2|A100|5|Autocreate
)",
     R"(
#1 vismakey=2 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A100
#2 vismakey=
#3 vismakey=
#4 vismakey= MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=
)",
     "",
     {{"M4", "1"}}},

    {"ON_DOES_NOT_EXIST 1 passes every missing document over in silence",
     "manual_in.xml",
     {{kManualInPrefs, "ON_DOES_NOT_EXIST", "1"}},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  - #2
  - #3
  - #4
  - #5
ImportManualDeliveryIn true
)",
     "1|A100|5|Inventerat",
     R"(
#1 vismakey=
#2 vismakey=
#3 vismakey=
#4 vismakey= MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=
)"},

    {"ON_ERROR_CONTINUE 0: a document that fails to be written ends the import",
     "manual_in.xml",
     {},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  [2] Ett fel uppstod för key [M1]: Error occured in AdkAdd:\r\n\r\nkit fault
ImportManualDeliveryIn false
)",
     "1|A100|5|Inventerat",
     R"(
#1 vismakey= MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A100
#2 vismakey=
#3 vismakey=
#4 vismakey= MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=
)",
     test::FailingAdd(0)},

    {"ON_ERROR_CONTINUE 1: it is reported and the import goes on",
     "manual_in.xml",
     {{kManualInPrefs, "ON_ERROR_CONTINUE", "1"}},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  [2] Ett fel uppstod för key [M1]: Error occured in AdkAdd:\r\n\r\nkit fault
  - #2
  [8] Existerar inte ... hoppar över
  - #3
  [8] Existerar inte ... hoppar över
  - #4
  [1] Manuell inleverans : 2
  - #5
  [1] Manuell inleverans : 3
ImportManualDeliveryIn false
)",
     R"(
1|A100|5|Inventerat
2|A200|2|Med nyckel
3|okänd|1|Utan nyckel
)",
     R"(
#1 vismakey= MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A100
#2 vismakey=
#3 vismakey=
#4 vismakey=2 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=3 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=okänd
)",
     test::FailingAdd(0)},

    {"ON_ERROR_CONTINUE 2: the import goes on without a line",
     "manual_in.xml",
     {{kManualInPrefs, "ON_ERROR_CONTINUE", "2"}},
     kManualInChecks,
     R"(
step Importerar manuella inleveranser (4)
+ Importerar manuella inleveranser
  count 6
  - #1
  - #2
  [8] Existerar inte ... hoppar över
  - #3
  [8] Existerar inte ... hoppar över
  - #4
  [1] Manuell inleverans : 2
  - #5
  [1] Manuell inleverans : 3
ImportManualDeliveryIn false
)",
     R"(
1|A100|5|Inventerat
2|A200|2|Med nyckel
3|okänd|1|Utan nyckel
)",
     R"(
#1 vismakey= MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A100
#2 vismakey=
#3 vismakey=
#4 vismakey=2 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=A200
#5 vismakey=3 MANUAL_DELIVERY_IN_ARTICLE_NUMBER=okänd
)",
     test::FailingAdd(0)},
};

TEST(ManualDeliveryImport, WritesReceiptsAsTheirOptionAndSettingsSay) {
    for (const StockCase& c : kManualInCases)
        RunCase(c, "ImportManualDeliveryIn", test::kManualInTables, "manualDeliveryIn", nullptr,
                {"MANUAL_DELIVERY_IN_ARTICLE_NUMBER"});
}

TEST(ManualDeliveryImport, IssuesAreTheTwinOfReceipts) {
    const StockCase c{"issues under their own names",
                      "manual_out.xml",
                      {},
                      {"CheckManualDeliveryOut"},
                      R"(
step Importerar manuella utleveranser (4)
+ Importerar manuella utleveranser
  count 2
  - #1
  [1] Manuell utleverans : 2
  - #2
  [8] Existerar inte ... hoppar över
ImportManualDeliveryOut true
)",
                      R"(
1|A200|1|Kasserat
2|A200|3|
)",
                      R"(
#0 vismakey=2 MANUAL_DELIVERY_OUT_ARTICLE_NUMBER=A200
#1 vismakey=
)"};
    RunCase(c, "ImportManualDeliveryOut", test::kManualOutTables, "manualDeliveryOut", nullptr,
            {"MANUAL_DELIVERY_OUT_ARTICLE_NUMBER"});
}

}  // namespace
}  // namespace tv
