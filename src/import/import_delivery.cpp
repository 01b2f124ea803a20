// The imports of stock documents, which are never changed once written: incoming delivery notes
// (through TImportInkFsHelper) and manual stock receipts and issues (one row per kind driving one
// routine). An existing document is passed over, refused, or, for delivery notes, reported as if
// written; manual documents are written again as new ones unless their option says "noedit". Each
// written number goes into the imported items and onto the document element as "vismakey".

#include "adk/adk_dataset.h"
#include "import/dm_import.h"
#include "import/document_head.h"
#include "import/document_rows.h"
#include "import/import_frame.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/inkfs_import_helper.h"
#include "import/key_text.h"
#include "import/record_finder.h"
#include "import/record_write.h"
#include "platform/data/data_set.h"
#include "platform/rtl/format.h"

namespace tv {

// What the manual stock receipt and issue import differ in: only names.
struct TManualDeliveryKind {
    TImportFrame Frame;
    std::string_view SettingsTable;
    TImportDataSet DataSet = nullptr;
    std::string_view DataSetName;
    TKnownKeyType KeyType = TKnownKey_ManualDeliveryIn;
    TFinderDef Finder;
    std::string_view Mapping;         // the mapping table, "atManuellIn" ...
    std::string_view ArticleElement;  // set from the item's "artkey"
    std::string_view WrittenText;     // level 1, followed by the written document's number
};

namespace {

inline constexpr std::string_view kExistsText = "Dokument existerar redan ";
inline constexpr std::string_view kMissingText = "Dokument existerar inte ";

// Delivery notes.
constexpr TImportFrame kDeliveryNotesFrame{.Caption = "Importerar följesedlar",
                                           .Container = "deliverynotes",
                                           .NoContainerText = "Inga följesedlar att importera",
                                           .EmptyText = "Inga följesedlar att importera",
                                           .CountsItems = false,
                                           .ShowsStep = false,
                                           .NoDocumentText = "Felaktigt XML dokument. Rootnoden är tom"};
inline constexpr std::string_view kNoteItem = "Följesedel - #";
inline constexpr std::string_view kNoteUnreadable = "Felaktigt XML format. Följesedel saknar innehåll.";
// After the note's position: a note without its head has nothing to write.
inline constexpr std::string_view kNoteNoun = "Följesedel #";
inline constexpr std::string_view kNoteHeadMissing = " saknar taggen atInkFs";
inline constexpr std::string_view kNoteSkipped = "Dokument existerar: %s ... hoppar över";
inline constexpr std::string_view kNoteSupplierUnknown =
    "En länkad leverantör finns refererad (@supplierkey), men saknas i XML filen.";
inline constexpr std::string_view kNoteWritten = "Skapade följesedel : ";

// Manual stock documents.
inline constexpr std::string_view kManualUnreadable = "Felaktigt XML format saknar information";
inline constexpr std::string_view kManualItem = "#%d";
inline constexpr std::string_view kManualExistsSkipped = "Existerar: %s ... hoppar över";
inline constexpr std::string_view kManualMissingSkipped = "Existerar inte ... hoppar över";
inline constexpr std::string_view kManualFailed = "Ett fel uppstod för key [%s]: %s";
// ON_ERROR_CONTINUE: 0 a document that fails ends the import, 1 it is reported and the import goes
// on, other values go on without a report.
inline constexpr int kErrorEnds = 0;
inline constexpr int kErrorReported = 1;

constexpr TManualDeliveryKind kManualIn{
    .Frame = {.Caption = "Importerar manuella inleveranser",
              .StepPicture = 4,
              .Container = "manualDeliveryIn",
              .NoContainerText = "Inga dokument i denna fil",
              .EmptyText = "Inga inleveranser att importera"},
    .SettingsTable = "CDSImportManualDeliveryIn",
    .DataSet = &TImportDataSets::ADKManuellIn,
    .DataSetName = "ADKManuellIn",
    .KeyType = TKnownKey_ManualDeliveryIn,
    .Finder =
        {.ModeField = "SEARCH_MODE",
         .CdxField = "SEARCH_CDX",
         .SqlField = "SEARCH_SQL",
         .NoModeText =
             "Ingen urvalsmetod har satts för att hitta manuell inleverans. Kontrollera inställningarna.",
         .EmptySqlText = kNoSqlStatement,
         .DefaultOrder = asManuellInleverans,
         .LowByteMode = true,
         .UnknownModeText = "Unimplemented searchmode for ImportManualDeliveryInFind: ",
         .SearchingText = "<",
         .SearchingTextAfter = ">"},
    .Mapping = "atManuellIn",
    .ArticleElement = "MANUAL_DELIVERY_IN_ARTICLE_NUMBER",
    .WrittenText = "Manuell inleverans : ",
};

constexpr TManualDeliveryKind kManualOut{
    .Frame = {.Caption = "Importerar manuella utleveranser",
              .StepPicture = 4,
              .Container = "manualDeliveryOut",
              .NoContainerText = "Inga dokument i denna fil",
              .EmptyText = "Inga utleveranser att importera"},
    .SettingsTable = "CDSImportManualDeliveryOut",
    .DataSet = &TImportDataSets::AdkManuellUt,
    .DataSetName = "AdkManuellUt",
    .KeyType = TKnownKey_ManualDeliveryOut,
    .Finder =
        {.ModeField = "SEARCH_MODE",
         .CdxField = "SEARCH_CDX",
         .SqlField = "SEARCH_SQL",
         .NoModeText =
             "Ingen urvalsmetod har satts för att hitta manuell utleverans. Kontrollera inställningarna.",
         .EmptySqlText = kNoSqlStatement,
         .DefaultOrder = asManuellUtleverans,
         .LowByteMode = true,
         .UnknownModeText = "Unimplemented searchmode for ImportManualDeliveryOutFind: ",
         .SearchingText = "<",
         .SearchingTextAfter = ">"},
    .Mapping = "atManuellUt",
    .ArticleElement = "MANUAL_DELIVERY_OUT_ARTICLE_NUMBER",
    .WrittenText = "Manuell utleverans : ",
};

// An integer setting that counts as 0 when it cannot be read.
int SettingOrZero(const TDataSet& settings, std::string_view field) {
    try {
        return ReadIntegerSetting(settings, field);
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

// ---------------------------------------------------------------- delivery notes

bool TDMImport::ImportDeliveryNotes() {
    return RunImportFrame(kDeliveryNotesFrame, [&](TXMLNode& container) {
        const TDataSet& settings = context_.SettingsTable("CDSImportInkFS");
        TAdkDataSet& notes = KitDataSet(&TImportDataSets::AdkInkFs, "AdkInkFs");
        TImportInkFsHelper helper(settings, notes, *context_.FieldDefinitions, qArtikelUrval(),
                                  context_.adminODBC, Events(), ValidArticleKeys, keyHelper_);
        const int onExist = ReadIntegerSetting(settings, "ON_EXIST");
        const int onMissing = ReadIntegerSetting(settings, "ON_DOES_NOT_EXIST");
        ForEachItem(container, [&](TXMLNode& note, int position) {
            Events().addEventItem(std::string(kNoteItem) + std::to_string(position + 1), false);
            if (!IsElement(note)) throw EImportError(std::string(kNoteUnreadable));
            const TXMLNode* head = ChildElement(note, kDeliveryNoteHead);
            if (!head)
                throw EImportError(std::string(kNoteNoun) + std::to_string(position) +
                                   std::string(kNoteHeadMissing));
            const std::string key = TImportInkFsHelper::GetDocumentKey(*head);
            const std::string supplierKey = TImportInkFsHelper::GetSupplierKey(*head);
            std::string number = key.empty() ? std::string() : helper.Find(key);

            // Read notes are dropped first: the dataset holds only the note looked at.
            notes.EmptyDataSet();
            notes.SetAdkSortOrder(asInkommandefoljesedelNr);
            const bool exists = !number.empty() && notes.AdkNavFind(number, true, true);
            if (ApplyExistencePolicy(exists ? onExist : onMissing, exists ? kExistsText : kMissingText,
                                     number) == TExistenceAction::Skip) {
                if (exists) Events().reportError(Format(kNoteSkipped, {number}), elInfo);
                return true;
            }
            std::string supplier;
            if (!supplierKey.empty()) {
                if (!keyHelper_.FindKnownKey(supplierKey, TKnownKey_Supplier))
                    throw EImportError(std::string(kNoteSupplierUnknown));
                supplier = keyHelper_.GetVismaValue(supplierKey, TKnownKey_Supplier);
            }
            // An existing note is never written, yet it is reported and numbered as if it were.
            if (!exists)
                number =
                    std::to_string(supplier.empty() ? helper.ImportDocument(note)
                                                    : helper.ImportDocumentFromSupplier(note, supplierKey));
            AddImportedItem(number);
            Events().reportError(std::string(kNoteWritten) + number, elResult);
            note.SetAttribute(kWrittenDocumentAttribute, number);
            return true;
        });
    });
}

// ---------------------------------------------------------------- manual stock documents

bool TDMImport::ImportManualDeliveryIn() {
    return RunManualDeliveryImport(kManualIn);
}

bool TDMImport::ImportManualDeliveryOut() {
    return RunManualDeliveryImport(kManualOut);
}

bool TDMImport::RunManualDeliveryImport(const TManualDeliveryKind& kind) {
    bool everyDocument = true;
    const bool ran = RunImportFrame(kind.Frame, [&](TXMLNode& container) {
        const TDataSet& settings = context_.SettingsTable(kind.SettingsTable);
        const int onErrorContinue = SettingOrZero(settings, "ON_ERROR_CONTINUE");
        const int onExist = ReadIntegerSetting(settings, "ON_EXIST");
        const int onMissing = ReadIntegerSetting(settings, "ON_DOES_NOT_EXIST");
        TAdkDataSet& dataSet = KitDataSet(kind.DataSet, kind.DataSetName);
        TRecordFinder finder(kind.Finder, settings, dataSet, qArtikelUrval(), context_.adminODBC, Events());
        const TFieldMapping mapping = TFieldMapping::For(*context_.FieldDefinitions, kind.Mapping);
        TMappedFieldWriter writer(mapping, dataSet);
        int count = 0;
        ForEachItem(container, [&](TXMLNode& document, int) {
            if (!IsElement(document)) throw EImportError(std::string(kManualUnreadable));
            Events().addEventItem(Format(kManualItem, {++count}), false);
            const std::string key = Trim(document.Attribute("key"));
            std::string number;
            std::string option;
            if (!key.empty()) {
                option = keyHelper_.GetOptionFor(key, kind.KeyType);
                // The registry holds a number for the key only when a step stored one: without one
                // the document is not searched, and counts as missing.
                if (option != kOptionAutoCreate)
                    finder.Find(keyHelper_.GetVismaValue(key, kind.KeyType), number, &document);
            } else {
                option = LowerKey(Trim(document.Attribute("option")));
                if (option.empty()) option = kOptionEdit;
            }

            const bool exists = !number.empty();
            const bool noEdit = option == kOptionNoEdit;
            if (ApplyExistencePolicy(exists ? onExist : onMissing, exists ? kExistsText : kMissingText,
                                     key) == TExistenceAction::Skip) {
                if (exists) Events().reportError(Format(kManualExistsSkipped, {number}), elExcessive);
                return true;
            }
            if (noEdit) {
                if (!exists) Events().reportError(kManualMissingSkipped, elExcessive);
                return true;
            }

            const std::string article = ResolveArticleKey(document, ValidArticleKeys);
            if (!article.empty()) ElementOf(document, kind.ArticleElement).SetText(article);
            try {
                GuardDocument(dataSet, [&] {
                    dataSet.Append();
                    writer.Write(document);
                    dataSet.Post();
                    number = ReadBackNumber(dataSet);
                });
            } catch (const std::exception& e) {
                everyDocument = false;
                const std::string message = Format(kManualFailed, {key, std::string(e.what())});
                if (onErrorContinue == kErrorEnds) throw EImportError(message);
                if (onErrorContinue == kErrorReported) Events().reportError(message, elError);
                return true;
            }
            AddImportedItem(number);
            Events().reportError(std::string(kind.WrittenText) + number, elInfo);
            document.SetAttribute(kWrittenDocumentAttribute, number);
            return true;
        });
    });
    return ran && everyDocument;
}

}  // namespace tv
