// The imports of purchase orders and supplier invoices, one row per kind driving one routine: each
// document's number is found (purchase orders by their key, else by their number element; supplier
// invoices by their given number), its supplier key turned into the supplier's number, the kind's
// existence settings decide, and the head is written through the field mapping with its rows. An
// existing purchase order found by its key gets its number stored against the key. Supplier invoice
// rows that refer to a purchase order can get the purchase order row guessed. The written number
// goes into the imported items and onto the document element as "vismakey".

#include <optional>

#include "adk/adk_dataset.h"
#include "import/booking_row_guess.h"
#include "import/dm_import.h"
#include "import/document_head.h"
#include "import/document_rows.h"
#include "import/import_frame.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/record_finder.h"
#include "import/record_write.h"
#include "platform/data/data_set.h"
#include "platform/rtl/format.h"

namespace tv {

// What the purchase order and the supplier invoice import differ in.
struct TPurchaseKind {
    TImportFrame Frame;
    // The plain event item of each document, followed by its position from 1; the noun of the lines
    // about a document, followed by its position from 0; raised for an item that is no element.
    std::string_view ItemText;
    std::string_view Noun;
    std::string_view UnreadableText;
    // The head element, which is also the head's mapping table, and the rows' mapping table.
    std::string_view Head;
    std::string_view RowsMapping;
    std::string_view SettingsTable;
    TImportDataSet DataSet = nullptr;
    std::string_view DataSetName;
    TAdkSortOrder NumberOrder = asIngen;
    // The document is found by the document element's "key" through this finder; without a key, and
    // for kinds without a finder, by the text of NumberElement.
    bool FindsByKey = false;
    TFinderDef Finder;
    std::string_view NumberElement;
    // A head without "supplierkey": reported after the noun and position, the document passed over
    // with the result false; otherwise the element is left as the file has it.
    bool SupplierRequired = false;
    std::string_view SupplierElement;
    std::string_view SupplierUnknownText;
    std::string_view ExistsSetting;
    std::string_view MissingSetting;
    std::string_view RowsManagementSetting;
    std::string_view IgnoreEmptyTextRowsSetting;  // empty: empty texts stay
    std::string_view GuessSetting;                // empty: no purchase order row guess
    std::string_view ArticleBasisSetting;
    std::string_view ExistsText;
    std::string_view MissingText;
    std::string_view WrittenText;  // level 4, followed by the written document's number
    // Head fields the kit reports as not writable are passed over.
    bool SkipsReadOnly = false;
};

namespace {

inline constexpr std::string_view kSupplierKeyMissing = " saknar supplierkey attribut";
inline constexpr std::string_view kSupplierKey = "supplierkey";
// A changed supplier invoice keeps its number: its given number is never written into it.
inline constexpr std::string_view kGivenNumber = "SUP_INV_HEAD_GIVEN_NUMBER";
inline constexpr int kReplaceRows = 2;

// The rows of a purchase document: text rows as an order's, texts never split.
constexpr TRowRules kPurchaseRows{.TextRowTitles = kOrderTextRowTitles, .SplitsText = false};

constexpr TPurchaseKind kBookings{
    .Frame = {.Caption = "Importerar beställningar",
              .StepPicture = 5,
              .Container = "bests",
              .EmptyText = "Inga beställningar att importera",
              .CountsItems = false},
    .ItemText = "Beställning - #",
    .Noun = "Beställning #",
    .UnreadableText = "Felaktigt XML format saknar huvud",
    .Head = "atBestallningar",
    .RowsMapping = "atBestallningrader",
    .SettingsTable = "CDSImportBestPrefs",
    .DataSet = &TImportDataSets::ADKBest,
    .DataSetName = "ADKBest",
    .NumberOrder = asBestallningNr,
    .FindsByKey = true,
    // FindBooking.
    .Finder = {.ModeField = "SEARCH_MODE",
               .CdxField = "SEARCH_CDX",
               .SqlField = "SEARCH_SQL",
               .NoModeText =
                   "Ingen urvalsmetod har satts för att hitta dokumenten. Kontrollera inställningarna.",
               .EmptySqlText = kNoSqlStatement,
               .DefaultOrder = asBestallningNr,
               .LowByteMode = true,
               .UnknownModeText = "Unimplemented searchmode for ImportBookingFindBooking: ",
               .SearchingText = "Söker efter dokument med nyckel:"},
    .NumberElement = "BOOKING_DOCUMENT_NUMBER",
    .SupplierElement = "BOOKING_SUPPLIER_NUMBER",
    .SupplierUnknownText = "Leverantörsnyckeln fanns ej i systemet",
    .ExistsSetting = "ON_BEST_EXIST",
    .MissingSetting = "ON_BEST_DOES_NOT_EXIST",
    .RowsManagementSetting = "BEST_ROWS_MANAGEMENT",
    .IgnoreEmptyTextRowsSetting = "IGNORE_EMPTY_TEXTROWS",
    .ExistsText = "Beställning existerar redan ",
    .MissingText = "Beställning existerar inte ",
    .WrittenText = "Skapade beställning : ",
};

// The refusals say "Order": stored texts and scripts may look for them as they are.
constexpr TPurchaseKind kSupplierInvoices{
    .Frame = {.Caption = "Importerar leverantörsfaktura",
              .Container = "supplierinvoices",
              .EmptyText = "Inga leverantörsfakturor att importera",
              .CountsItems = false,
              .ShowsStep = false},
    .ItemText = "Leverantörsfaktura - #",
    .Noun = "Leverantörsfaktura #",
    .UnreadableText = "Felaktigt XML format saknar kundinformation",
    .Head = "atLevFakturor",
    .RowsMapping = "atLevFakturaRader",
    .SettingsTable = "CDSImportSupplierInvoicePrefs",
    .DataSet = &TImportDataSets::ADKLevFakturor,
    .DataSetName = "ADKLevFakturor",
    .NumberOrder = asLevFakturaNr,
    .NumberElement = kGivenNumber,
    .SupplierRequired = true,
    .SupplierElement = "SUP_INV_HEAD_SUPPLIER_NUMBER",
    .SupplierUnknownText = "Nyckeln fanns ej i systemet",
    .ExistsSetting = "ON_SUPINVOICE_EXIST",
    .MissingSetting = "ON_SUPINVOICE_DOES_NOT_EXIST",
    .RowsManagementSetting = "SUPINVOICE_ROWS_MANAGEMENT",
    .GuessSetting = "ON_SUPINVOIC_GUESS_BESTROW",
    .ArticleBasisSetting = "ON_SUPINVOIC_ARTICLE_BASIS",
    .ExistsText = "Order existerar redan ",
    .MissingText = "Order existerar inte ",
    .WrittenText = "Skapade leverantörsfaktura : ",
    .SkipsReadOnly = true,
};

bool BooleanSetting(const TDataSet& settings, std::string_view field) {
    return !field.empty() && settings.FieldByName(field).AsBoolean();
}

}  // namespace

// What one call of a purchase document import works with: the kind's settings and datasets, its
// mappings read once, the finder and the row guess.
struct TPurchaseRun {
    TPurchaseRun(const TPurchaseKind& kind, const TDataSet& settings, TAdkDataSet& head,
                 TAdkDataSet* bookings, TDataSet& fieldDefinitions, TADOQuery& query,
                 TADOConnection* connection, IEventSink& events)
        : Head(head),
          Rows(RowsOf(head)),
          HeadMapping(TFieldMapping::For(fieldDefinitions, kind.Head)),
          RowMapping(TFieldMapping::For(fieldDefinitions, kind.RowsMapping)),
          HeadWriter(HeadMapping, head, kind.SkipsReadOnly),
          RowWriter(RowMapping, Rows, kPurchaseRows),
          FindBooking(kind.Finder, settings, head, query, connection, events),
          OnExist(ReadIntegerSetting(settings, kind.ExistsSetting)),
          OnMissing(ReadIntegerSetting(settings, kind.MissingSetting)),
          RowsManagement(ReadIntegerSetting(settings, kind.RowsManagementSetting)),
          IgnoreEmptyTextRows(BooleanSetting(settings, kind.IgnoreEmptyTextRowsSetting)) {
        if (BooleanSetting(settings, kind.GuessSetting) && bookings)
            Guess.emplace(*bookings, ReadIntegerSetting(settings, kind.ArticleBasisSetting), events);
    }

    TAdkDataSet& Head;
    TAdkDataSet& Rows;
    TFieldMapping HeadMapping;
    TFieldMapping RowMapping;
    TMappedFieldWriter HeadWriter;
    TDocumentRowWriter RowWriter;
    TRecordFinder FindBooking;
    const int OnExist;
    const int OnMissing;
    const int RowsManagement;
    const bool IgnoreEmptyTextRows;
    std::optional<TBookingRowGuess> Guess;
};

bool TDMImport::ImportBest() {
    return RunPurchaseImport(kBookings);
}

bool TDMImport::ImportSupplierInvoices() {
    return RunPurchaseImport(kSupplierInvoices);
}

bool TDMImport::RunPurchaseImport(const TPurchaseKind& kind) {
    bool everyDocument = true;
    const bool ran = RunImportFrame(kind.Frame, [&](TXMLNode& container) {
        const TDataSet& settings = context_.SettingsTable(kind.SettingsTable);
        TAdkDataSet* bookings =
            kind.GuessSetting.empty() ? nullptr : &KitDataSet(&TImportDataSets::ADKBest, "ADKBest");
        TPurchaseRun run(kind, settings, KitDataSet(kind.DataSet, kind.DataSetName), bookings,
                         *context_.FieldDefinitions, qArtikelUrval(), context_.adminODBC, Events());
        ForEachItem(container, [&](TXMLNode& document, int position) {
            Events().addEventItem(std::string(kind.ItemText) + std::to_string(position + 1), false);
            if (!IsElement(document)) throw EImportError(std::string(kind.UnreadableText));
            if (!ImportPurchaseDocument(kind, run, document, position)) everyDocument = false;
            return true;
        });
    });
    return ran && everyDocument;
}

bool TDMImport::ImportPurchaseDocument(const TPurchaseKind& kind, TPurchaseRun& run, TXMLNode& document,
                                       int position) {
    TXMLNode* head = ChildElement(document, kind.Head);
    if (!head) throw EImportError(Format(kHeadMissing, {kind.Noun, position, kind.Head}));
    const std::string key = kind.FindsByKey ? Trim(document.Attribute("key")) : std::string();
    std::string number;
    if (!key.empty())
        run.FindBooking.Find(key, number);
    else
        number = ChildText(*head, kind.NumberElement);
    if (!ResolveDocumentReference(*head, kSupplierKey, ValidSuppliers, kind.SupplierElement,
                                  kind.SupplierUnknownText) &&
        kind.SupplierRequired) {
        Events().reportError(
            std::string(kind.Noun) + std::to_string(position) + std::string(kSupplierKeyMissing), elError);
        return false;
    }

    // Read documents are dropped first: the dataset holds only the document being written.
    run.Head.EmptyDataSet();
    run.Head.SetAdkSortOrder(kind.NumberOrder);
    const bool exists = !number.empty() && run.Head.AdkNavFind(number, true, true);
    // Raises for a key the check did not register.
    if (exists && !key.empty()) keyHelper_.SetKnowVismaKeyValue(key, number, TKnownKey_Booking);
    if (ApplyExistencePolicy(exists ? run.OnExist : run.OnMissing,
                             exists ? kind.ExistsText : kind.MissingText, number) == TExistenceAction::Skip)
        return true;
    GuardDocument(run.Head, [&] { WritePurchaseDocument(kind, run, document, *head, number, exists); });
    return true;
}

void TDMImport::WritePurchaseDocument(const TPurchaseKind& kind, TPurchaseRun& run, TXMLNode& document,
                                      TXMLNode& head, const std::string& number, bool exists) {
    TAdkDataSet& dataSet = run.Head;
    // An existing document keeps its number: no element of the file moves the change onto another
    // document.
    const bool changing = exists && dataSet.FieldByAdkIndex(0).AsString() == number;
    if (changing)
        dataSet.Edit();
    else
        dataSet.Append();
    run.HeadWriter.ForEachMapped(head,
                                 [&](const TFieldMappingRow& row, TField& field, const TXMLNode& element) {
                                     if (changing && (row.Field == 0 || row.Element == kGivenNumber)) return;
                                     field.SetAsString(element.Text());
                                 });

    if (exists && run.RowsManagement == kReplaceRows) {
        DeleteDocumentRows(dataSet);
        dataSet.Post();
        dataSet.AdkNavFind(number, true, true);
        dataSet.Edit();
    }

    // An existing document's rows stay as they are with row management 0; otherwise the file's
    // rows are appended.
    TXMLNode* rows = ChildElement(document, kRowsElement);
    if (rows && !(exists && run.RowsManagement == 0)) {
        ForEachItem(*rows, [&](TXMLNode& row, int position) {
            if (!IsElement(row)) throw EImportError(std::string(kInvalidRow) + std::to_string(position));
            ResolveRowArticle(row, ValidArticleKeys);
            const bool textRow = ReadRowType(row, run.IgnoreEmptyTextRows);
            if (!textRow && run.Guess) run.Guess->Guess(row);
            run.Rows.Append();
            run.RowWriter.Write(row, textRow);
            run.Rows.Post();
            return true;
        });
    }

    dataSet.Post();
    const std::string written = ReadBackNumber(dataSet);
    AddImportedItem(written);
    Events().reportError(std::string(kind.WrittenText) + written, elResult);
    document.SetAttribute(kWrittenDocumentAttribute, written);
}

}  // namespace tv
