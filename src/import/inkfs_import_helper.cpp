#include "import/inkfs_import_helper.h"

#include "adk/adk_dataset.h"
#include "import/document_head.h"
#include "import/import_xml.h"
#include "import/key_helper_dm.h"
#include "import/key_text.h"

namespace tv {

namespace {

constexpr TFinderDef kFindDeliveryNote{
    .ModeField = "SEARCH_MODE",
    .CdxField = "SEARCH_CDX",
    .SqlField = "SEARCH_SQL",
    .NoModeText = "Ingen urvalsmetod har satts för att hitta dokumenten. Kontrollera inställningarna.",
    .EmptySqlText = "Inget SQL uttryck satt. Kontrollera inställningarna.",
    .DefaultOrder = asInkommandefoljesedelNr,
    .LowByteMode = true,
    .UnknownModeText = "Unimplemented searchmode for TImportInkFsHelper.Find: ",
    .SearchingText = "Söker efter dokument med nyckel:"};

// The rows of a note: text rows as an order's, texts never split.
constexpr TRowRules kNoteRows{.TextRowTitles = kOrderTextRowTitles, .SplitsText = false};

}  // namespace

TImportInkFsHelper::TImportInkFsHelper(const TDataSet& settings, TAdkDataSet& notes,
                                       TDataSet& fieldDefinitions, TADOQuery& query,
                                       TADOConnection* connection, IEventSink& events,
                                       const TKeyRegistry& articles, const TKeyHelperDM& keys)
    : notes_(notes),
      articles_(articles),
      keys_(keys),
      finder_(kFindDeliveryNote, settings, notes, query, connection, events),
      headMapping_(TFieldMapping::For(fieldDefinitions, kDeliveryNoteHead)),
      rowMapping_(TFieldMapping::For(fieldDefinitions, "atInkFsRader")),
      headWriter_(headMapping_, notes, true),
      rowWriter_(rowMapping_, RowsOf(notes), kNoteRows) {}

std::string TImportInkFsHelper::Find(const std::string& key) {
    std::string number;
    finder_.Find(key, number);
    return number;
}

std::string TImportInkFsHelper::GetDocumentKey(const TXMLNode& head) {
    return Trim(head.Attribute("key"));
}

std::string TImportInkFsHelper::GetSupplierKey(const TXMLNode& head) {
    return Trim(head.Attribute("supplierkey"));
}

int TImportInkFsHelper::ImportDocumentFromSupplier(TXMLNode& document, const std::string& supplierkey) {
    const std::string supplier = keys_.GetVismaValue(supplierkey, TKnownKey_Supplier);
    if (TXMLNode* head = ChildElement(document, kDeliveryNoteHead))
        ElementOf(*head, kDeliveryNoteSupplierNumber).SetText(supplier);
    return ImportDocument(document);
}

int TImportInkFsHelper::ImportDocument(TXMLNode& document) {
    int number = 0;
    try {
        GuardDocument(notes_, [&] {
            notes_.Append();
            if (TXMLNode* head = ChildElement(document, kDeliveryNoteHead)) headWriter_.Write(*head);
            TAdkDataSet& rows = RowsOf(notes_);
            if (TXMLNode* fileRows = ChildElement(document, kRowsElement)) {
                ForEachItem(*fileRows, [&](TXMLNode& row, int position) {
                    if (!IsElement(row))
                        throw EImportError(std::string(kInvalidRow) + std::to_string(position));
                    ResolveRowArticle(row, articles_);
                    const bool textRow = ReadRowType(row, false);
                    rows.Append();
                    rowWriter_.Write(row, textRow);
                    rows.Post();
                    return true;
                });
            }
            notes_.Post();
            notes_.RefreshAdkRow();
            number = notes_.FieldByAdkIndex(0).AsInteger();
        });
    } catch (const std::exception& e) {
        throw EImportError(std::string(kDeliveryNoteFailed) + e.what());
    }
    return number;
}

}  // namespace tv
