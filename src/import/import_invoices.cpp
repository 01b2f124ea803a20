// The imports of invoices and agreements, one row per kind driving one routine: each document of the
// kind's container is found in the business system by its key (the "key" attribute before the
// number element), decided by the kind's existence settings, and written: its head through the
// field mapping, its rows appended. An invoice then takes a second pass that writes again what the
// business system recalculates on saving (the due date, the third date of chosen rows) and, when
// the settings ask, its printed mark; an agreement whose file empties its end date has it emptied.
// The written number goes into the imported items, onto the document element as "vismakey" and
// into the kind's registry beside the document's key.

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/document_head.h"
#include "import/document_marks.h"
#include "import/document_rows.h"
#include "import/import_frame.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/record_finder.h"
#include "import/record_write.h"
#include "import/update_helper.h"
#include "platform/data/data_set.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/variant.h"

namespace tv {

namespace {

inline constexpr std::string_view kHeadTagMissing = " saknar taggen ";
inline constexpr std::string_view kAlreadyInvoiced = ", redan fakturerad";
inline constexpr std::string_view kSecondPassNotFound =
    "Kunde inte sätta förfallodatum, för fakturan kunde inte hittas.";
inline constexpr std::string_view kRowNotFound = "Misslyckades hitta raden";

inline constexpr std::string_view kHeadPrinted = "OOI_HEAD_DOCUMENT_PRINTED";
inline constexpr std::string_view kHeadDate1 = "OOI_HEAD_DOCUMENT_DATE1";
inline constexpr std::string_view kHeadDate2 = "OOI_HEAD_DOCUMENT_DATE2";
inline constexpr std::string_view kRowDate3 = "OOI_ROW_DATE3";
inline constexpr std::string_view kRowNumberColumn = "radnr";

// Head and row fields read by number.
inline constexpr int kPrintedField = 6;
inline constexpr int kDateField = 8;
inline constexpr int kDueDateField = 9;
inline constexpr int kEndDateField = 95;
inline constexpr int kRowArticleField = 0;
inline constexpr int kRowDate3Field = 26;

// Row management 0 leaves an existing document's rows; 2 deletes them before the file's go in.
inline constexpr int kKeepRows = 0;
inline constexpr int kReplaceRows = 2;

inline constexpr std::string_view kInvoiceTextRowTitles[] = {
    "OOI_ROW_TYPE_OF_ROW",    "OOI_ROW_TEXT",    "OOI_ROW_AMOUNT_CURRENT_CURRENCY",
    "OOI_ROW_PROFIT_CENTRE",  "OOI_ROW_PROJECT", "OOI_ROW_VAT_CODE",
    "OOI_ROW_ACCOUNT_NUMBER", "OOI_ROW_PRINT",   "OOI_ROW_PRINT2",
    "OOI_ROW_DATE2",          "OOI_ROW_DATE3"};
inline constexpr std::string_view kAgreementTextRowTitles[] = {
    "OOI_ROW_TYPE_OF_ROW",   "OOI_ROW_TEXT",    "OOI_ROW_AMOUNT_CURRENT_CURRENCY",
    "OOI_ROW_PROFIT_CENTRE", "OOI_ROW_PROJECT", "OOI_ROW_VAT_CODE",
    "OOI_ROW_PRINT",         "OOI_ROW_PRINT2",  "OOI_ROW_ACCOUNT_NUMBER"};

}  // namespace

// What the invoice and the agreement import differ in.
struct TInvoiceKind {
    TImportFrame Frame;
    // The plain event item of each document, followed by its position from 1; the noun of the
    // lines about a document, followed by its position from 0; raised for a node that is no
    // element.
    std::string_view ItemText;
    std::string_view Noun;
    std::string_view UnreadableText;
    // The head element (also its mapping table), the rows' mapping table, the head's elements
    // that get the customer's number and that carry the document number.
    std::string_view Head;
    std::string_view RowsMapping;
    std::string_view CustomerElement;
    std::string_view KeyElement;
    std::string_view SettingsTable;
    TImportDataSet DataSet = nullptr;
    std::string_view DataSetName;
    TAdkSortOrder NumberOrder = asIngen;
    TFinderDef Finder;
    TRegistryMember Registry = nullptr;

    std::string_view ExistsSetting;
    std::string_view MissingSetting;
    std::string_view RowsManagementSetting;
    // Raised, formatted with the number, when a found document is gone; raised by the existence
    // policy's 2, followed by the number or the key; level 4, followed by the number.
    std::string_view GoneText;
    std::string_view ExistsText;
    std::string_view MissingText;
    std::string_view SkipText;
    std::string_view ChangedText;
    std::string_view CreatedText;
    TRowRules Rows;

    // Invoices: the printed skip and mark, the head dates read as day numbers or text, the rows of
    // an existing invoice deleted before its head is written, and the second pass.
    bool Invoice = false;
};

namespace {

constexpr TFinderDef kInvoiceFinder{
    .ModeField = "SEARCH_INVOICE_MODE",
    .CdxField = "SEARCH_INVOICE_CDX",
    .SqlField = "SEARCH_INVOICE_SQL",
    .NoModeText = "Ingen urvalsmetod har satts för att hitta fakturor. Kontrollera inställningarna",
    .EmptySqlText = kNoSqlStatement,
    .DefaultOrder = asFakturaNr};

constexpr TInvoiceKind kInvoices{
    .Frame = {.Caption = "Importerar fakturor",
              .StepPicture = 5,
              .Container = "invoices",
              .EmptyText = "Inga fakturor att importera",
              .CountsItems = false},
    .ItemText = "Faktura - #",
    .Noun = "Faktura #",
    .UnreadableText = "Felaktigt XML format: saknar fakturainformation",
    .Head = "atFakturor",
    .RowsMapping = "atFakturaRader",
    .CustomerElement = "OOI_HEAD_CUSTOMER_NUMBER",
    .KeyElement = "OOI_HEAD_DOCUMENT_NUMBER",
    .SettingsTable = "CDSImportInvoicesPrefs",
    .DataSet = &TImportDataSets::ADKFakturor,
    .DataSetName = "ADKFakturor",
    .NumberOrder = asFakturaNr,
    .Finder = kInvoiceFinder,
    .Registry = &TDMImport::ValidInvoiceKeys,
    .ExistsSetting = "ON_INVOICE_EXIST",
    .MissingSetting = "ON_INVOICE_DOES_NOT_EXIST",
    .RowsManagementSetting = "INVOICE_ROWS_MANAGEMENT",
    .GoneText =
        "\"Hittad faktura\" %s finns inte i faktura registret. Dubbelkolla SQL uttryck för att leta "
        "fakturor.",
    .ExistsText = "Faktura existerar redan ",
    .MissingText = "Faktura existerar inte ",
    .SkipText = "Hoppar över faktura : ",
    .ChangedText = "Ändrade faktura : ",
    .CreatedText = "Skapade faktura : ",
    .Rows = {.TextRowTitles = kInvoiceTextRowTitles, .NumericQuantities = true},
    .Invoice = true,
};

// Agreements: found on their own number order (the finder's order back to the invoice number is
// none of theirs, and the dataset takes its default, the agreement number); rows written as text
// and never split.
constexpr TInvoiceKind kAgreements{
    .Frame = {.Caption = "Importerar avtal",
              .StepPicture = 5,
              .Container = "agreements",
              .EmptyText = "Inga avtal att importera",
              .CountsItems = false},
    .ItemText = "Avtal - #",
    .Noun = "Avtal #",
    .UnreadableText = "Felaktigt XML format: saknar avtalsinformation",
    .Head = "atAvtal",
    .RowsMapping = "atAvtalRader",
    .CustomerElement = "AGREEMENT_HEAD_CUSTOMER_NUMBER",
    .KeyElement = "AGREEMENT_HEAD_DOCUMENT_NUMBER",
    .SettingsTable = "CDSImportAgreementPrefs",
    .DataSet = &TImportDataSets::AdkAvtal,
    .DataSetName = "AdkAvtal",
    .NumberOrder = asAvtalnr,
    .Finder = {.ModeField = "SEARCH_AGREEMENT_MODE",
               .CdxField = "SEARCH_AGREEMENT_CDX",
               .SqlField = "SEARCH_AGREEMENT_SQL",
               .NoModeText = "Ingen urvalsmetod har satts för att hitta avtal. Kontrollera inställningarna",
               .EmptySqlText = kNoSqlStatement,
               .DefaultOrder = asFakturaNr},
    .Registry = &TDMImport::ValidAgreementKeys,
    .ExistsSetting = "ON_AGREEMENT_EXIST",
    .MissingSetting = "ON_AGREEMENT_DOES_NOT_EXIST",
    .RowsManagementSetting = "AGREEMENT_ROWS_MANAGEMENT",
    .GoneText =
        "\"Lokaliserat avtal\" %s finns inte i avtalsregistret. Dubbelkolla uttryck för att leta avtal.",
    .ExistsText = "Avtal existerar redan ",
    .MissingText = "Avtal existerar inte ",
    .SkipText = "Hoppar över avtal : ",
    .ChangedText = "Ändrade avtal : ",
    .CreatedText = "Skapade avtal : ",
    .Rows = {.TextRowTitles = kAgreementTextRowTitles, .SplitsText = false},
};

// A head date: a day number as that number (in the process's format), any other text as the
// date it reads.
void WriteHeadDate(TField& field, const std::string& text, const TFormatSettings& formats) {
    if (IsNumericText(text))
        field.SetAsFloat(StrToFloat(text, formats));
    else
        field.SetAsString(text);
}

// Whether any usable row of the mapping carries `element`.
bool Maps(const TFieldMapping& mapping, const TAdkDataSet& dataSet, std::string_view element) {
    for (const TFieldMappingRow& row : mapping.Rows())
        if (row.Element == element && row.Field >= 0 && row.Field <= dataSet.FieldCount()) return true;
    return false;
}

}  // namespace

bool IsNumericText(std::string_view text) {
    static const TFormatSettings plain;  // decimal point, no grouping
    double value = 0;
    return TryStrToFloat(text, value, plain);
}

// What one call of an invoice or agreement import works with: the kind's settings and datasets, its
// mappings read once, and the rows of the invoice being written that its second pass takes again.
struct TInvoiceRun {
    TInvoiceRun(const TInvoiceKind& kind, const TDataSet& settings, TAdkDataSet& head,
                TDataSet& fieldDefinitions, TADOQuery& query, TADOConnection* connection, IEventSink& events)
        : Settings(settings),
          Head(head),
          Rows(RowsOf(head)),
          HeadMapping(TFieldMapping::For(fieldDefinitions, kind.Head)),
          RowMapping(TFieldMapping::For(fieldDefinitions, kind.RowsMapping)),
          HeadWriter(HeadMapping, head, false),
          RowWriter(RowMapping, Rows, kind.Rows),
          Finder(kind.Finder, settings, head, query, connection, events),
          OnExist(ReadIntegerSetting(settings, kind.ExistsSetting)),
          OnMissing(ReadIntegerSetting(settings, kind.MissingSetting)),
          RowsManagement(ReadIntegerSetting(settings, kind.RowsManagementSetting)),
          SkipsPrinted(kind.Invoice && ReadIntegerSetting(settings, "UPDATE_IGNORES_PRINTED") == 1),
          RowsRemembered(kind.Invoice && Maps(RowMapping, Rows, kRowDate3)) {}

    const TDataSet& Settings;
    TAdkDataSet& Head;
    TAdkDataSet& Rows;
    TFieldMapping HeadMapping;
    TFieldMapping RowMapping;
    TMappedFieldWriter HeadWriter;
    TDocumentRowWriter RowWriter;
    TRecordFinder Finder;
    const int OnExist;
    const int OnMissing;
    const int RowsManagement;
    const bool SkipsPrinted;
    // A row carrying its third date is remembered for the second pass.
    const bool RowsRemembered;
    TUpdateHelper Remembered;
};

bool TDMImport::ImportInvoices() {
    return RunInvoiceImport(kInvoices);
}

bool TDMImport::ImportAgreements() {
    return RunInvoiceImport(kAgreements);
}

bool TDMImport::RunInvoiceImport(const TInvoiceKind& kind) {
    bool everyDocument = true;
    const bool ran = RunImportFrame(kind.Frame, [&](TXMLNode& container) {
        TInvoiceRun run(kind, context_.SettingsTable(kind.SettingsTable),
                        KitDataSet(kind.DataSet, kind.DataSetName), *context_.FieldDefinitions,
                        qArtikelUrval(), context_.adminODBC, Events());
        ForEachItem(container, [&](TXMLNode& document, int position) {
            // The rows the previous invoice remembered are none of this one's.
            run.Remembered.Clear();
            Events().addEventItem(std::string(kind.ItemText) + std::to_string(position + 1), false);
            if (!IsElement(document)) throw EImportError(std::string(kind.UnreadableText));
            TXMLNode* head = ChildElement(document, kind.Head);
            if (!head) {
                Events().reportError(std::string(kind.Noun) + std::to_string(position) +
                                         std::string(kHeadTagMissing) + std::string(kind.Head),
                                     elError);
                everyDocument = false;
                return false;
            }
            if (!ImportInvoiceDocument(kind, run, document, *head, position)) everyDocument = false;
            return true;
        });
    });
    return ran && everyDocument;
}

bool TDMImport::ImportInvoiceDocument(const TInvoiceKind& kind, TInvoiceRun& run, TXMLNode& document,
                                      TXMLNode& head, int position) {
    if (!ResolveDocumentCustomer(head, ValidCustomerKyes, kind.CustomerElement)) {
        Events().reportError(
            std::string(kind.Noun) + std::to_string(position) + std::string(kCustomerKeyMissing), elError);
        return false;
    }
    // The "key" attribute names the document before the number element does. A key present but
    // empty names no document: it is never searched.
    const TXMLNode* keyElement = head.HasAttribute("key") ? nullptr : ChildElement(head, kind.KeyElement);
    const std::string key = Trim(keyElement ? keyElement->Text() : head.Attribute("key"));
    std::string number;
    if (!key.empty()) run.Finder.Find(key, number);

    // Read documents are dropped first: the dataset holds only the document being written.
    TAdkDataSet& dataSet = run.Head;
    dataSet.EmptyDataSet();
    dataSet.SetAdkSortOrder(kind.NumberOrder);
    const bool exists = !number.empty();
    if (exists) {
        if (!dataSet.AdkNavFind(number, false, true)) throw EImportError(Format(kind.GoneText, {number}));
        if (run.SkipsPrinted && dataSet.FieldByAdkIndex(kPrintedField).AsBoolean()) {
            Events().reportError(std::string(kind.SkipText) + number + std::string(kAlreadyInvoiced),
                                 elResult);
            return true;
        }
        if (ApplyExistencePolicy(run.OnExist, kind.ExistsText, number) == TExistenceAction::Skip) {
            Events().reportError(std::string(kind.SkipText) + number, elResult);
            return true;
        }
        if (kind.Invoice && run.RowsManagement == kReplaceRows)
            GuardDocument(dataSet, [&] { EmptyExistingInvoice(kind, run, number); });
    } else if (ApplyExistencePolicy(run.OnMissing, kind.MissingText, key) == TExistenceAction::Skip) {
        return true;
    }
    GuardDocument(dataSet, [&] { WriteInvoiceDocument(kind, run, document, head, key, number, exists); });
    return true;
}

// An existing invoice whose rows the file replaces: un-printed first (the business system keeps a
// printed invoice's rows), then every row deleted at once in the company, and found again.
void TDMImport::EmptyExistingInvoice(const TInvoiceKind& kind, TInvoiceRun& run, const std::string& number) {
    TAdkDataSet& dataSet = run.Head;
    auto findAgain = [&] {
        dataSet.EmptyDataSet();
        if (!dataSet.AdkNavFind(number, false, true)) throw EImportError(Format(kind.GoneText, {number}));
    };
    TField& printed = dataSet.FieldByAdkIndex(kPrintedField);
    if (printed.AsBoolean()) {
        dataSet.Edit();
        printed.SetAsBoolean(false);
        dataSet.Post();
        findAgain();
    }
    DeleteDocumentRows(dataSet);
    // The deletes are stored; the head's lowered row count is read again, not written.
    CancelPending(dataSet);
    findAgain();
}

void TDMImport::WriteInvoiceDocument(const TInvoiceKind& kind, TInvoiceRun& run, TXMLNode& document,
                                     TXMLNode& head, const std::string& key, std::string number,
                                     bool exists) {
    TAdkDataSet& dataSet = run.Head;
    const TFormatSettings& formats = dataSet.FormatSettings();
    // An existing document keeps its number: a number element of the file never moves the change
    // onto another document.
    const bool changing = exists && dataSet.FieldByAdkIndex(0).AsString() == number;
    if (changing)
        dataSet.Edit();
    else
        dataSet.Append();

    bool clearsEndDate = false;
    run.HeadWriter.ForEachMapped(
        head, [&](const TFieldMappingRow& row, TField& field, const TXMLNode& element) {
            if (row.Element == kHeadPrinted) return;
            if (kind.Invoice && (row.Element == kHeadDate1 || row.Element == kHeadDate2)) {
                WriteHeadDate(dataSet.FieldByAdkIndex(row.Element == kHeadDate1 ? kDateField : kDueDateField),
                              Trim(element.Text()), formats);
                return;
            }
            if ((changing && row.Field == 0) || dataSet.IsFieldReadOnly(row.Field)) return;
            const std::string& text = element.Text();
            if (!kind.Invoice && row.Field == kEndDateField && text.empty()) {
                clearsEndDate = true;
                return;
            }
            field.SetAsString(text);
        });
    if (!kind.Invoice && exists && run.RowsManagement == kReplaceRows) DeleteDocumentRows(dataSet);

    TXMLNode* rows = ChildElement(document, kRowsElement);
    if (rows && !(exists && run.RowsManagement == kKeepRows)) {
        ForEachItem(*rows, [&](TXMLNode& row, int position) {
            if (!IsElement(row)) throw EImportError(std::string(kInvalidRow) + std::to_string(position));
            ResolveRowArticle(row, ValidArticleKeys);
            const bool textRow = ReadRowType(row, false);
            run.Rows.Append();
            const std::string rest = run.RowWriter.Write(row, textRow);
            TField& article = run.Rows.FieldByAdkIndex(kRowArticleField);
            if (article.AsString().empty()) article.Clear();
            run.RowWriter.Post();
            if (run.RowsRemembered && ChildElement(row, kRowDate3)) run.Remembered.Add(run.Rows.RecNo(), row);
            run.RowWriter.AppendRest(rest);
            return true;
        });
    }

    dataSet.Post();
    number = ReadBackNumber(dataSet);
    if (clearsEndDate) ClearAgreementEndDate(number, formats);
    dataSet.EmptyDataSet();
    AddImportedItem(number);
    Events().reportError(std::string(changing ? kind.ChangedText : kind.CreatedText) + number, elResult);
    document.SetAttribute(kWrittenDocumentAttribute, number);
    if (!key.empty())
        if (TKeyRecord* record = (this->*kind.Registry).Locate(key)) record->KEY_VALUE_IN_VISMA = number;
    if (kind.Invoice) WriteInvoiceAgain(run, head, number);
}

// Whether the invoice is to be marked printed, decided for each invoice: setting 1 always, 2 when
// the file's printed element says "true" in any case. A setting that cannot be read marks nothing.
bool TDMImport::InvoicePrintedWanted(const TInvoiceRun& run, const TXMLNode& head) const {
    try {
        switch (ReadIntegerSetting(run.Settings, "ON_IMPORT_SET_PRINTED")) {
            case 1:
                return true;
            case 2:
                return UpperKey(ChildText(head, kHeadPrinted)) == "TRUE";
            default:
                return false;
        }
    } catch (const std::exception&) {
        return false;
    }
}

// The second pass: the business system recalculates the due date and the rows' dates when an
// invoice is saved, so the file's are written once more; then the printed mark.
void TDMImport::WriteInvoiceAgain(TInvoiceRun& run, const TXMLNode& head, const std::string& number) {
    const bool printed = InvoicePrintedWanted(run, head);
    const std::string dueDate = Trim(ChildText(head, kHeadDate2));
    if (!printed && run.Remembered.GetCount() == 0 && dueDate.empty()) return;

    TAdkDataSet& dataSet = run.Head;
    if (!dataSet.AdkNavFind(number, true, true)) throw EImportError(std::string(kSecondPassNotFound));
    dataSet.Edit();
    if (!dueDate.empty())
        WriteHeadDate(dataSet.FieldByAdkIndex(kDueDateField), dueDate, dataSet.FormatSettings());
    for (int i = 0; i < run.Remembered.GetCount(); ++i) {
        const TUpdateHelperItem& item = run.Remembered.GetItem(i);
        if (!run.Rows.Locate(kRowNumberColumn, Variant::FromUtf8(std::to_string(item.RowNr()))))
            throw EImportError(std::string(kRowNotFound));
        if (const TXMLNode* date = ChildElement(item.XmlNode(), kRowDate3)) {
            run.Rows.Edit();
            run.Rows.FieldByAdkIndex(kRowDate3Field).SetAsString(date->Text());
            run.Rows.Post();
        }
    }
    dataSet.Post();
    dataSet.EmptyDataSet();
    if (printed) SetInvoicePrinted(number, true, dataSet.FormatSettings());
}

}  // namespace tv
