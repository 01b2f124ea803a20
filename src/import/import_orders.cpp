// The imports of orders and offers, one row per kind driving one routine: each document of the
// kind's container is found in the business system by its key, decided by the kind's existence
// settings, and written: its head through the field mapping, its rows appended (a text too long
// for the text field going on in extra text rows), the delivery address written again after the
// first save. The written number goes into the imported items and onto the document element as
// "vismakey"; after an order, the rule its settings name runs.

#include "adk/adk_dataset.h"
#include "import/document_head.h"
#include "import/import_policies.h"
#include "import/import_sleeper.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/order_fields.h"
#include "import/order_kind.h"
#include "import/record_write.h"
#include "import/rule_service.h"
#include "platform/data/data_set.h"
#include "platform/rtl/bool_text.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/variant.h"

namespace tv {

namespace {

inline constexpr std::string_view kSkipAfterNumber = ", hoppar över.";
inline constexpr std::string_view kAddingRow = "Lägger till rad.";
inline constexpr std::string_view kChangingRow = "Ändrar rad.";
inline constexpr std::string_view kDeletingRows = "Tar bort rader";
inline constexpr std::string_view kRowsDeleted = "Rader borta (%d st)";
inline constexpr std::string_view kRowNumber = "OOI_ROW_ROWNUMBER";
// Row management of an existing document: 0 leaves its rows, 2 deletes them first, 3 matches a
// file row by article number, 4 (orders) by row number; any other value appends.
inline constexpr int kKeepRows = 0;
inline constexpr int kReplaceRows = 2;
inline constexpr int kMatchArticle = 3;
inline constexpr int kMatchRowNumber = 4;
// The step of the pause after deleting rows, in milliseconds.
inline constexpr int kWaitStep = 250;
inline constexpr std::string_view kRowCountDiffers = "Antalet rader stämmer inte %d / %d";
inline constexpr std::string_view kRunningRule = "Kör efterbehandlingsplugin";
inline constexpr std::string_view kCustomerOrderNumberParam = "ADK_OOI_HEAD_CUSTOMER_ORDER_NUMBER";
inline constexpr std::string_view kDocumentNumberParam = "ADK_OOI_HEAD_DOCUMENT_NUMBER";
inline constexpr std::string_view kNoRuleService = "The import has no plug-in host to run the rule ";

constexpr TOrderKind kOrders{
    .Frame = {.Caption = "Importerar order",
              .StepPicture = 5,
              .Container = "orders",
              .EmptyText = "Inga order att importera",
              .CountsItems = false},
    .ItemText = "Order - #",
    .Noun = "Order #",
    .Head = "atOrder",
    .RowsMapping = "atOrderRader",
    .SettingsTable = "CDSImportOrderPrefs",
    .DataSet = &TImportDataSets::AdkOrder,
    .DataSetName = "AdkOrder",
    .NumberOrder = asOrderNr,
    .Finder = {.ModeField = "SEARCH_ORDER_MODE",
               .CdxField = "SEARCH_ORDER_CDX",
               .SqlField = "SEARCH_ORDER_SQL",
               .NoModeText = "Ingen urvalsmetod har satts för att hitta order. Kontrollera inställningarna.",
               .EmptySqlText = kNoSqlStatement,
               .DefaultOrder = asOrderNr,
               .LowByteMode = true,
               .UnknownModeText = "Unimplemented searchmode for ImportOrdersFindOrder: ",
               .SearchingText = "Söker efter order med nyckel:"},
    .ExistsSetting = "ON_ORDER_EXIST",
    .MissingSetting = "ON_ORDER_DOES_NOT_EXIST",
    .RowsManagementSetting = "ORDER_ROWS_MANAGEMENT",
    .CustomerCheckSetting = "CHECK_CUSTOMER_ON_IMPORT",
    .RuleSetting = "ON_IMPORT_RUN_RULE",
    .FoundSkipText = "Hittade order",
    .MissingSkipText = "Hittade ingen order, hoppar över.",
    .ExistsText = "Order existerar redan ",
    .MissingText = "Order existerar inte ",
    .WrittenText = "Skapade order : ",
    .RefetchText = "Hämtar order på nytt",
    .DeletionWait = 500,
    .NotFoundAgainText = "Hittade inte order igen %s",
    .RemovePrinted = &TDMImport::RemoveOrderPrinted,
    .SetPrinted = &TDMImport::SetOrderPrinted,
    .NotDoneSetting = "ON_IMPORT_SET_NOT_DONE",
    .PickListSetting = "ON_IMPORT_SET_PICKLIST",
    .DeliveredSetting = "ON_IMPORT_SET_DELIVERED",
    .ClearsRowsThroughKit = true,
    .MatchesRowNumber = true,
    .FlagsFromFile = true,
    .Rows = {.TextRowTitles = kOrderTextRowTitles, .SkipsRowNumber = true},
};

// Offers: the customer is always checked, the marks of the head are written as they stand, the
// quantities of the rows are read as numbers, and no rule runs.
constexpr TOrderKind kOffers{
    .Frame = {.Caption = "Importerar offert",
              .StepPicture = 5,
              .Container = "offers",
              .EmptyText = "Inga offert att importera",
              .CountsItems = false},
    .ItemText = "Offer - #",
    .Noun = "Offert #",
    .Head = "atOffert",
    .RowsMapping = "atOffertRader",
    .SettingsTable = "CDSImportOffersPrefs",
    .DataSet = &TImportDataSets::AdkOffert,
    .DataSetName = "AdkOffert",
    .NumberOrder = asOffertNr,
    .Finder = {.ModeField = "SEARCH_MODE",
               .CdxField = "SEARCH_CDX",
               .SqlField = "SEARCH_SQL",
               .NoModeText = "Ingen urvalsmetod har satts för att hitta offert. Kontrollera inställningarna.",
               .EmptySqlText = kNoSqlStatement,
               .DefaultOrder = asOffertNr,
               .LowByteMode = true,
               .UnknownModeText = "Unimplemented searchmode for ImportOffersFindOffers: ",
               .SearchingText = "Söker efter offert med nyckel:"},
    .ExistsSetting = "ON_EXIST",
    .MissingSetting = "ON_DOES_NOT_EXIST",
    .RowsManagementSetting = "ROWS_MANAGEMENT",
    .FoundSkipText = "Hittade offert",
    .MissingSkipText = "Hittade ingen offert, hoppar över.",
    .ExistsText = "Offert existerar redan ",
    .MissingText = "Offert existerar inte ",
    .WrittenText = "Skapade offert : ",
    .RefetchText = "Hämtar offert på nytt",
    .DeletionWait = 3000,
    .NotFoundAgainText = "Hittade inte offert igen %s",
    .RemovePrinted = &TDMImport::RemoveOfferPrinted,
    .SetPrinted = &TDMImport::SetOfferPrinted,
    .Rows = {.TextRowTitles = kOrderTextRowTitles, .NumericQuantities = true},
};

bool IsDeliveryAddressField(int field) {
    return (field >= 21 && field <= 26) || field == order_head::kDeliveryCountryCode;
}

// Writes one head element into its field `number`. With `flags` (orders) the printed, cancelled and
// delivered marks are taken from the file into them and not written. The dates are read in the
// process's format; a blank currency leaves the field as it is; the number of a document being
// changed stays.
void WriteHeadField(TOrderFileFlags* flags, bool changing, int number, TField& field, const std::string& text,
                    const TFormatSettings& formats) {
    switch (number) {
        case order_head::kNumber:
            if (changing) return;
            break;
        case order_head::kPrinted:
        case order_head::kCancelled:
        case order_head::kDelivered:
            if (flags) {
                bool& flag = number == order_head::kPrinted     ? flags->Printed
                             : number == order_head::kCancelled ? flags->Cancelled
                                                                : flags->Delivered;
                if (StrToBool(text, formats)) flag = true;
                return;
            }
            break;
        case order_head::kDate:
        case order_head::kSecondDate:
            field.SetAsDateTime(StrToDate(text, formats));
            return;
        case order_head::kCurrency:
            if (Trim(text).empty()) return;
            break;
        default:
            break;
    }
    field.SetAsString(text);
}

// Puts the rows dataset on the first existing row whose `field` equals the file row's trimmed
// element, case-insensitively; an absent or empty element matches no row.
bool FindExistingRow(TAdkDataSet& rows, std::string_view field, const TXMLNode& row,
                     std::string_view element) {
    const std::string value = Trim(ChildText(row, element));
    return !value.empty() && rows.Locate(field, Variant::FromUtf8(value), loCaseInsensitive);
}

}  // namespace

// What one call of an order or offer import works with: the kind's settings and datasets, its
// mappings read once, and the state of the document being written.
struct TOrderRun {
    TOrderRun(const TOrderKind& kind, const TDataSet& settings, TAdkDataSet& head, TDataSet& fieldDefinitions,
              TADOQuery& query, TADOConnection* connection, IEventSink& events)
        : Head(head),
          Rows(RowsOf(head)),
          HeadMapping(TFieldMapping::For(fieldDefinitions, kind.Head)),
          RowMapping(TFieldMapping::For(fieldDefinitions, kind.RowsMapping)),
          HeadWriter(HeadMapping, head, false),
          RowWriter(RowMapping, Rows, kind.Rows),
          Finder(kind.Finder, settings, head, query, connection, events),
          OnExist(ReadIntegerSetting(settings, kind.ExistsSetting)),
          OnMissing(ReadIntegerSetting(settings, kind.MissingSetting)),
          RowsManagement(ReadIntegerSetting(settings, kind.RowsManagementSetting)),
          IgnoreEmptyTextRows(settings.FieldByName("IGNORE_EMPTY_TEXTROWS").AsBoolean()),
          ChecksCustomer(kind.CustomerCheckSetting.empty() ||
                         ReadIntegerSetting(settings, kind.CustomerCheckSetting) == 1),
          RuleName(kind.RuleSetting.empty() ? std::string()
                                            : Trim(ReadTextSetting(settings, kind.RuleSetting))),
          SetsNotDone(!kind.NotDoneSetting.empty() && settings.FieldByName(kind.NotDoneSetting).AsBoolean()),
          SetsPickList(!kind.PickListSetting.empty() &&
                       ReadIntegerSetting(settings, kind.PickListSetting) == 1),
          SetsPrinted(settings.FieldByName("ON_IMPORT_SET_PRINTED").AsBoolean()),
          SetsDelivered(!kind.DeliveredSetting.empty() &&
                        settings.FieldByName(kind.DeliveredSetting).AsBoolean()) {}

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
    const bool IgnoreEmptyTextRows;
    const bool ChecksCustomer;
    const std::string RuleName;
    // The status marks the settings ask for after each document.
    const bool SetsNotDone;
    const bool SetsPickList;
    const bool SetsPrinted;
    const bool SetsDelivered;
    TOrderFileFlags Flags;
};

namespace {

// The status marks of a written document in their order: a document its file marks cancelled is
// neither marked not done nor printed, and is marked cancelled rather than delivered.
void ApplyStatusMarks(TDMImport& import, const TOrderKind& kind, const TOrderRun& run,
                      const std::string& number) {
    const TOrderFileFlags& file = run.Flags;
    if (run.SetsNotDone && !file.Cancelled) import.SetOrderNotDone(number);
    if (run.SetsPickList) import.SetOrderPickList(number);
    if ((file.Printed || run.SetsPrinted) && !file.Cancelled) (import.*kind.SetPrinted)(number);
    if (file.Delivered)
        import.SetOrderDeliveredOnly(number);
    else if (file.Cancelled)
        import.SetOrderCancelled(number);
    else if (run.SetsDelivered)
        import.SetOrderDelivered(number);
}

}  // namespace

bool TDMImport::ImportOrders() {
    return RunOrderImport(kOrders);
}

bool TDMImport::ImportOffers() {
    return RunOrderImport(kOffers);
}

bool TDMImport::RunOrderImport(const TOrderKind& kind) {
    bool everyDocument = true;
    const bool ran = RunImportFrame(kind.Frame, [&](TXMLNode& container) {
        const TDataSet& settings = context_.SettingsTable(kind.SettingsTable);
        TOrderRun run(kind, settings, KitDataSet(kind.DataSet, kind.DataSetName), *context_.FieldDefinitions,
                      qArtikelUrval(), context_.adminODBC, Events());
        ForEachItem(container, [&](TXMLNode& document, int position) {
            Events().addEventItem(std::string(kind.ItemText) + std::to_string(position + 1), false);
            if (!IsElement(document)) throw EImportError(std::string(kCustomerUnreadable));
            if (!ImportOrderDocument(kind, run, document, position)) everyDocument = false;
            return true;
        });
    });
    return ran && everyDocument;
}

bool TDMImport::ImportOrderDocument(const TOrderKind& kind, TOrderRun& run, TXMLNode& document,
                                    int position) {
    TXMLNode* head = ChildElement(document, kind.Head);
    if (!head) throw EImportError(Format(kHeadMissing, {kind.Noun, position, kind.Head}));
    // Blanks around a key name no other document: the check registered the key trimmed.
    const std::string key = Trim(GetHeadDocumentKey(*head));
    std::string number;
    if (!key.empty()) run.Finder.Find(key, number);
    if (run.ChecksCustomer && !ResolveDocumentCustomer(*head, ValidCustomerKyes, kHeadCustomerNumber)) {
        Events().reportError(
            std::string(kind.Noun) + std::to_string(position) + std::string(kCustomerKeyMissing), elError);
        return false;
    }

    // Read documents are dropped first: the dataset holds only the document being written.
    run.Head.EmptyDataSet();
    run.Head.SetAdkSortOrder(kind.NumberOrder);
    const bool exists = !number.empty() && run.Head.AdkNavFind(number, true, true);
    if (ApplyExistencePolicy(exists ? run.OnExist : run.OnMissing,
                             exists ? kind.ExistsText : kind.MissingText,
                             exists ? number : key) == TExistenceAction::Skip) {
        Events().reportError(exists ? std::string(kind.FoundSkipText) + number + std::string(kSkipAfterNumber)
                                    : kind.MissingSkipText,
                             elExcessive);
        return true;
    }
    GuardDocument(run.Head, [&] { WriteOrderDocument(kind, run, document, *head, number, exists); });
    return true;
}

void TDMImport::WriteOrderDocument(const TOrderKind& kind, TOrderRun& run, TXMLNode& document, TXMLNode& head,
                                   std::string number, bool exists) {
    TAdkDataSet& dataSet = run.Head;
    const TFormatSettings& formats = dataSet.FormatSettings();
    run.Flags = {};
    // An existing document keeps its number: a number element of the file never moves the change
    // onto another document.
    const bool changing = exists && dataSet.FieldByAdkIndex(0).AsString() == number;
    if (changing) PrepareExistingDocument(kind, run, number);
    if (changing)
        dataSet.Edit();
    else
        dataSet.Append();
    TOrderFileFlags* flags = kind.FlagsFromFile ? &run.Flags : nullptr;
    auto writeHead = [&](const TFieldMappingRow& row, TField& field, const TXMLNode& element) {
        WriteHeadField(flags, changing, row.Field, field, element.Text(), formats);
    };
    run.HeadWriter.ForEachMapped(head, writeHead);

    // An existing document's rows stay as they are with row management 0; otherwise the file's
    // rows are appended.
    int rowsWritten = 0;
    TXMLNode* rows = ChildElement(document, kRowsElement);
    if (rows && !(exists && run.RowsManagement == kKeepRows)) {
        ForEachItem(*rows, [&](TXMLNode& row, int position) {
            if (!IsElement(row)) throw EImportError(std::string(kInvalidRow) + std::to_string(position));
            ResolveRowArticle(row, ValidArticleKeys);
            const bool textRow = ReadRowType(row, run.IgnoreEmptyTextRows);
            if (changing && MatchExistingRow(kind, run, row)) {
                Events().reportError(kChangingRow, elExcessive);
                run.Rows.Edit();
            } else {
                Events().reportError(kAddingRow, elExcessive);
                run.Rows.Append();
            }
            const std::string rest = run.RowWriter.Write(row, textRow);
            ++rowsWritten;
            run.RowWriter.PostWithRest(rest);
            return true;
        });
    }

    dataSet.Post();
    number = ReadBackNumber(dataSet);
    AddImportedItem(number);
    dataSet.AdkNavFind(number, true, true);
    if (run.Rows.RecordCount() != rowsWritten)
        Events().reportError(Format(kRowCountDiffers, {rowsWritten, run.Rows.RecordCount()}), elExcessive);

    // The business system fills the delivery address from the customer when a document is saved:
    // the file's address is written again.
    dataSet.Edit();
    auto writeAddress = [](const TFieldMappingRow& row, TField& field, const TXMLNode& element) {
        if (IsDeliveryAddressField(row.Field)) field.SetAsString(element.Text());
    };
    run.HeadWriter.ForEachMapped(head, writeAddress);
    dataSet.Post();
    ApplyStatusMarks(*this, kind, run, number);

    Events().reportError(std::string(kind.WrittenText) + number, elResult);
    if (!run.RuleName.empty()) {
        Events().reportError(kRunningRule, elExcessive);
        if (!context_.RuleService) throw EImportError(std::string(kNoRuleService) + run.RuleName);
        IRuleService& rules = *context_.RuleService;
        rules.ClearRuleParams();
        rules.AddRuleParam(std::string(kCustomerOrderNumberParam),
                           dataSet.FieldByAdkIndex(order_head::kCustomerOrderNumber).AsString());
        rules.AddRuleParam(std::string(kDocumentNumberParam), dataSet.FieldByAdkIndex(0).AsString());
        rules.RunRule(run.RuleName);
    }
    document.SetAttribute(kWrittenDocumentAttribute, number);
}

// Before an existing document is changed: a printed one loses its printed mark and is found
// again; with row management 2 its rows are deleted, and after a pause it is read again. The
// head is not yet in edit, so nothing of the file is lost by the reading.
void TDMImport::PrepareExistingDocument(const TOrderKind& kind, TOrderRun& run, const std::string& number) {
    TAdkDataSet& dataSet = run.Head;
    auto findAgain = [&] {
        if (!dataSet.AdkNavFind(number, true, true))
            throw EImportError(Format(kind.NotFoundAgainText, {number}));
    };
    if (dataSet.FieldByAdkIndex(order_head::kPrinted).AsBoolean()) {
        (this->*kind.RemovePrinted)(number);
        findAgain();
    }
    if (run.RowsManagement != kReplaceRows) return;
    Events().reportError(kDeletingRows, elExcessive);
    run.Rows.First();
    int deleted = 0;
    if (kind.ClearsRowsThroughKit) {
        deleted = ClearOrderRows(StrToFloat(number, dataSet.FormatSettings()), dataSet.AdkStruct);
    } else {
        deleted = DeleteDocumentRows(dataSet);
        dataSet.Post();
    }
    Events().reportError(Format(kRowsDeleted, {deleted}), elExcessive);
    WaitWithMessages(context_.Sleeper ? *context_.Sleeper : ProgramSleeper(), kind.DeletionWait, kWaitStep);
    Events().reportError(kind.RefetchText, elExcessive);
    findAgain();
    run.Rows.First();
}

// Puts the rows dataset on the existing row a file row changes by the row management, if any.
bool TDMImport::MatchExistingRow(const TOrderKind& kind, TOrderRun& run, const TXMLNode& row) {
    if (run.RowsManagement == kMatchArticle)
        return FindExistingRow(run.Rows, "artnr", row, kRowArticleNumber);
    if (run.RowsManagement == kMatchRowNumber && kind.MatchesRowNumber)
        return FindExistingRow(run.Rows, "radnr", row, kRowNumber);
    return false;
}

}  // namespace tv
