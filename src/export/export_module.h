#pragma once
// The export engine's own module: its context (what the application hands it), the export document
// with the container references, the field mapping and record writers, the running numbers and the
// file-name generators of every kind, and the selection tables. One lives for the whole process.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "export/export_context.h"
#include "export/export_document.h"
#include "export/field_mapping.h"
#include "export/file_names.h"
#include "export/record_nodes.h"
#include "export/running_numbers.h"
#include "export/selection_tables.h"

namespace tv {

// Reported with the file attached, at level 1, before a file is saved.
inline constexpr std::string_view kWritingFile = "Skriver fil : [";

// Raised when the context lacks a piece the export needs: a fault of the host's wiring.
inline constexpr std::string_view kExportLacks = "The export has no %s";

// File management of the exports that write one or many files: the whole selection in one file,
// or one file per record. Any other mode writes nothing, which is reported at level 3.
inline constexpr int kOneFile = 0;
inline constexpr int kFilePerRecord = 1;
inline constexpr std::string_view kFileModeNotBuilt = "Filhantering %d stöds inte, ingen fil skrevs";

class TExportModule {
public:
    // Raises kExportLacks when the context lacks the event tree, the settings tables and their
    // save, the field definitions, the running numbers, the document or the work folders. `clock`
    // gives the current date and time for names and periods.
    explicit TExportModule(TExportContext context, std::function<TDateTime()> clock = Now);

    const TExportContext& Context() const { return context_; }
    IEventSink& Events() const { return *context_.Events; }
    // The settings table of that name ("CDSExportCustomersPrefs").
    TDataSet& Settings(std::string_view table) const { return context_.SettingsTable(table); }
    // The kit dataset of the context; raises kExportLacks when it has none.
    TAdkDataSet& KitDataSet(TExportDataSet dataSet) const;
    // The rows dataset of a head dataset; raises kExportLacks when it has none.
    TAdkDataSet& RowsOf(const TAdkDataSet& head) const;
    TADOQuery& qOrderUrval() const;
    TADOQuery& ADOArbitrarySQL() const;
    TExportDocument& Document() { return document_; }
    TFieldMapping& Mapping() { return mapping_; }
    TRecordNodes& Nodes() { return nodes_; }
    TDateTime CurrentTime() const { return clock_(); }
    TSelectionTables& Selections() const { return *selections_; }

    // "Skriver fil : [" + name + "]" with the file attached, the file's folder made, the document
    // saved.
    void SaveDocument(const std::string& fileName);
    // What the context runs before an export file is renamed into place (nothing when it has none).
    void MakeWritesDurable();
    // False, with the level-3 report, for a file-management mode no export builds.
    bool FileModeIsBuilt(int mode);

    // ---- The skeletons and the generic writers (the data module's operations of these names).
    void createDefaultNodes() { document_.createDefaultNodes(); }
    void createCustomXmlDocument() { document_.createCustomXmlDocument(); }
    void clearDefaultNodes() { document_.clearDefaultNodes(); }
    void writeKeyedRegisterNodes(TXMLNode& container, TDataSet& selection, bool countProgress,
                                 TAdkDataSet& data, std::string_view table) {
        nodes_.writeKeyedRegisterNodes(container, selection, countProgress, data, table);
    }
    void writeDataSetNodes(TXMLNode& container, std::string_view table, TAdkDataSet& data) {
        nodes_.writeDataSetNodes(container, table, data);
    }
    void writeAdkRecordsByKey(TXMLNode& container, TDataSet& selection, bool countProgress, TAdkDataSet& data,
                              std::string_view table) {
        nodes_.writeAdkRecordsByKey(container, selection, countProgress, data, table);
    }
    void writeAdkDataSetNodes(TXMLNode& container, std::string_view table, bool countProgress,
                              TAdkDataSet& data) {
        nodes_.writeAdkDataSetNodes(container, table, countProgress, data);
    }

    // ---- Running numbers and file names. The names read the kind's settings and the kit dataset
    // standing on the record written; `cnt` (the record's position) is not used by any name.
    int getLopNr(std::string_view field) { return numbers_.getLopNr(field); }
    std::string generateAccountingYearFile() { return Generate(TFileNameKind::AccountingYear); }
    std::string generateArticleFilename() { return Generate(TFileNameKind::Article); }
    std::string generateBestFilename(int cnt) { return Generate(TFileNameKind::Best); }
    std::string generateContactsFilename() { return Generate(TFileNameKind::Contacts); }
    std::string generateCustomerFilename() { return Generate(TFileNameKind::Customer); }
    std::string generateInvoiceFilename(int cnt) { return Generate(TFileNameKind::Invoice); }
    std::string generateOfferFilename(int cnt) { return Generate(TFileNameKind::Offer); }
    std::string generateOrderFilename(int cnt) { return Generate(TFileNameKind::Order); }
    std::string generatePricelistFilename() { return Generate(TFileNameKind::Pricelist); }
    // From the current row of the query table.
    std::string generateSQLFileName() { return Generate(TFileNameKind::SQL); }
    std::string generateSupplierFilename() { return Generate(TFileNameKind::Supplier); }
    std::string generateSupplierInvoiceFilename(int cnt) { return Generate(TFileNameKind::SupplierInvoice); }
    std::string Generate(TFileNameKind kind);

private:
    TExportContext context_;
    std::function<TDateTime()> clock_;
    TExportDocument document_;
    TFieldMapping mapping_;
    TRecordNodes nodes_;
    TRunningNumbers numbers_;
    TExportFileNames names_;
    std::unique_ptr<TSelectionTables> selections_;
};

// One export run's use of the document: the field mapping read afresh, the document active with
// the export encoding from here to the end of the scope, and inactive again after it, also after a
// failure. The run's files are grouped and put in place at its end with one wait for the disk, also
// after a failure (a file saved stays saved when a later record fails); a failure to put them in
// place is reported at level 2.
class TExportRun {
public:
    explicit TExportRun(TExportModule& module) : document_(module.Document()), events_(module.Events()) {
        module.Mapping().Reset();
        document_.Activate();
        document_.GroupFiles();
    }
    ~TExportRun() {
        try {
            document_.SaveFiles();
        } catch (const std::exception& e) {
            events_.reportError(e.what(), elError);
        }
        document_.Deactivate();
    }
    TExportRun(const TExportRun&) = delete;
    TExportRun& operator=(const TExportRun&) = delete;

private:
    TExportDocument& document_;
    IEventSink& events_;
};

}  // namespace tv
