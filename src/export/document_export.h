#pragma once
// The document exports of the central data module: a selection of documents written into one file
// or one file per document, with the customers or suppliers, articles (and package components) and
// company information they refer to, and the documents marked in the company once their file is
// saved.
// One run serves every kind; what a kind differs in (its settings, datasets, texts, file name,
// node writer and marks) is one row of data (TDocumentKind).

#include <array>
#include <string>
#include <string_view>

#include "export/document_nodes.h"

namespace tv {

inline constexpr std::string_view kMarkingFlags = "Markerar flaggor på ";
inline constexpr std::string_view kMarkingFailed = "Kunde inte markera flagga på ";
inline constexpr std::string_view kMarkingFailedReason = " Fel: ";

enum class TDocumentInclude { Customers, Articles, CompanyInformation, Suppliers };

// An include and the kind's setting that switches it on (a Boolean when set, an integer when 1).
struct TIncludeSwitch {
    TDocumentInclude Include;
    std::string_view Setting;
    // Customers and suppliers count progress steps when set; articles always do.
    bool CountsProgress = false;
};

// A kit head field set to true when the kind's setting is on, or on every document marked.
struct TMarkFlag {
    std::string_view Setting;
    int KitField = 0;
    bool Always = false;
};

// An include selection of the export (CDSKundUrval ...).
using TIncludeSelection = TClientDataSet& (TSelectionTables::*)() const;

struct TDocumentKind {
    // Writes the document the head dataset stands on into the container.
    void (TDocumentNodes::*WriteNode)(TXMLNode& container);
    TXMLNode* TExportDocument::*Container;
    TExportDataSet Head;
    TAdkSortOrder SortOrder;
    // The head dataset is opened first when it is closed.
    bool OpensHead = false;
    std::string_view SettingsTable;
    std::string_view FileModeSetting;
    // Emptied at the start of a run and before each document of per-document files.
    std::array<TIncludeSelection, 2> IncludeSelections;
    // Written after the documents, in this order; an empty setting is no include.
    std::array<TIncludeSwitch, 3> Includes;
    // "Exporterar order " + number, at level 1.
    std::string_view ExportingText;
    // Instead of that line and the progress steps, ExportingText + number + "]" opens a plain
    // event item.
    bool ExportingItem = false;
    // Raised with the number for a document the kit does not find.
    std::string_view NotFoundText;
    // Empty: one progress step per document. Otherwise reported after each document's line in
    // place of the steps, with a line before each include and the file name of per-document files.
    std::string_view FetchingText;
    std::string (TExportModule::*FileName)(int position);
    // Raised when a whole-selection file's name is empty after trimming; empty: no such check.
    std::string_view EmptyNameText;
    // The document's name in the marking lines ("order").
    std::string_view MarkNoun;
    std::array<TMarkFlag, 3> MarkFlags;
    // Empty: a document is marked when a flag is on. Otherwise marked (posted) whenever this
    // integer setting is not 0, its flags set as they say.
    std::string_view MarkSetting;
};

class TDocumentExport {
public:
    explicit TDocumentExport(TExportModule& module) : module_(module), nodes_(module) {}

    TDocumentNodes& Nodes() { return nodes_; }

    void ExportOrders(TDataSet& selection);
    void ExportOffers(TDataSet& selection);
    void ExportInvoices(TDataSet& selection);
    void ExportBest(TDataSet& selection);
    void ExportSupplierInvoices(TDataSet& selection);

    // Mark the document of the selection's current row (single = 1) or of every row (any other
    // value). A document that cannot be marked is reported at level 3; the others are marked.
    void onPrintOrder(TDataSet& selection, int single);
    void onPrintOffer(TDataSet& selection, int single);
    void onSaveInvoice(TDataSet& selection, int single);
    void onPrintBest(TDataSet& selection, int single);

    // The run and the marks of one kind.
    void Export(const TDocumentKind& kind, TDataSet& selection);
    void Mark(const TDocumentKind& kind, TDataSet& selection, int single);

private:
    // The document's line and progress step, or its event item.
    void ReportDocument(const TDocumentKind& kind, const std::string& number);
    void WriteIncludes(const TDocumentKind& kind, const TDataSet& prefs, bool perDocument);
    void Save(const TDocumentKind& kind, int position, bool perDocument);
    void MarkDocument(const TDocumentKind& kind, TAdkDataSet& head, const std::string& number,
                      const std::array<bool, 3>& flagsOn);

    TExportModule& module_;
    TDocumentNodes nodes_;
};

}  // namespace tv
