#pragma once
// The export facade job scripts call: each operation opens its own nesting item in the event tree,
// fills its kind's selection table (every record, the selection SQL, or a list the script passes),
// hands it to the kind's writer, and reports any failure at level 2 under its item; it never
// passes a failure back to the script. Also GetDocumentsBySQL and the change look-ups, whose errors
// do reach the script, and the SQL query export.

#include <optional>
#include <string>
#include <string_view>

#include "export/export_module.h"
#include "export/export_writers.h"
#include "export/selections.h"
#include "export/sql_export.h"
#include "export/timestamp_lookup.h"
#include "platform/rtl/string_list.h"

namespace tv {

inline constexpr std::string_view kOwnSelection = "Använder egendefinerat urval";
inline constexpr std::string_view kFetchingOrders = "Hämtar order";
inline constexpr std::string_view kFetchingOffers = "Hämtar offerter";
inline constexpr std::string_view kFetchingPriceLists = "Hämtar prislistor";
inline constexpr int kOrderStepPicture = 5;
inline constexpr int kOfferStepPicture = 14;
// Reported at level 3 when MAX_ITEMS keeps the article export from writing anything.
inline constexpr std::string_view kMaxItemsNotBuilt = "MAX_ITEMS %d stöds inte, ingen fil skrevs";

// What the export operations of one kind differ in: their event item, the selection table they
// fill and how the settings fill it, the writer they hand it to, and the extras of some kinds.
struct TExportKind {
    std::string_view Caption;
    // The kind's selection table; null for an export without one (the chart of accounts).
    TClientDataSet& (TSelectionTables::*Selection)() const = nullptr;
    TSelectionKind SelectionKind = TSelectionKind::Articles;
    // The writer of the filled selection; null where the operation calls its writer itself
    // (articles, the chart of accounts).
    void (IExportWriters::*Writer)(TDataSet& selection) = nullptr;
    // Reported at level 3 when a list gives no key. Empty: a list is taken without the item
    // "Använder egendefinerat urval" and handed on even when it gives nothing (articles).
    std::string_view EmptyListText;
    // A plain item added before a selection by settings; with a step picture, also the step
    // caption and a progress step count of 0.
    std::string_view FetchingText;
    int FetchingStepPicture = 0;
};

class TDMExport {
public:
    TDMExport(TExportModule& module, IExportWriters& writers)
        : module_(module), writers_(writers), selections_(module), sql_(module) {}

    TExportSelections& Selections() { return selections_; }

    void ExportAccountPlan(const std::string& year);
    void ExportArticles();
    void ExportArticlesFromList(const TStrings* items);
    void ExportArticlesFromList(const TStrings* items, const TStrings* pricelists, int includeQuantityPrices,
                                int includeSupplierPrices);
    void ExportArticlesFromList(const TStrings* items, const TStrings* pricelists, int includeQuantityPrices,
                                int includeSupplierPrices, int includeTranslations);
    void ExportBest();
    void ExportBestFromList(const TStrings* items);
    void ExportContacts();
    void ExportCustomers();
    void ExportCustomersFromList(const TStrings* items);
    void ExportInvoices();
    void ExportInvoicesFromList(const TStrings* items);
    void ExportOffers();
    void ExportOffersFromList(const TStrings* items);
    void ExportOrders();
    void ExportOrdersFromList(const TStrings* items);
    void ExportPriceLists();
    void ExportSupplierInvoices();
    void ExportSupplierInvoicesFromList(const TStrings* items);
    void ExportSuppliers();

    // Appends the first column of every row of `query` to `items`; errors reach the caller.
    void GetDocumentsBySQL(TStrings& items, const std::string& query);

    // The change look-ups: append to `items` (not emptied) the keys of the kind's records changed
    // after `startfrom`, in query order, by `query` or, when it is empty, the kind's default query;
    // FLastDate becomes the newest change time seen, or `startfrom` when none is newer. Errors reach
    // the caller with FLastDate 0.
    void GetArticlesByTimeStamp(TStrings& items, TDateTime startfrom, const std::string& query) {
        GetByTimeStamp(TTimestampKind::Articles, items, startfrom, query);
    }
    void GetCustomersByTimeStamp(TStrings& items, TDateTime startfrom, const std::string& query) {
        GetByTimeStamp(TTimestampKind::Customers, items, startfrom, query);
    }
    void GetOrdersByTimeStamp(TStrings& items, TDateTime startfrom, const std::string& query) {
        GetByTimeStamp(TTimestampKind::Orders, items, startfrom, query);
    }
    void GetInvoicesByTimeStamp(TStrings& items, TDateTime startfrom, const std::string& query) {
        GetByTimeStamp(TTimestampKind::Invoices, items, startfrom, query);
    }
    void GetSupplierInvoicesByTimeStamp(TStrings& items, TDateTime startfrom, const std::string& query) {
        GetByTimeStamp(TTimestampKind::SupplierInvoices, items, startfrom, query);
    }
    // The job API's "GetLastTimestamp".
    TDateTime GetLastTimeStamp() const { return FLastDate; }
    TDateTime FLastDate = 0;

    // The SQL query export and the settings window's query tests (sql_export.h).
    void ExportSQL(const std::string& name, const std::string& fileName) { sql_.ExportSQL(name, fileName); }
    void ExportSQLFromList(const std::string& name, const std::string& fileName, const TStrings* items) {
        sql_.ExportSQLFromList(name, fileName, items);
    }
    void TestSQL(const std::string& name, int& reccount, int& ms) { sql_.TestSQL(name, reccount, ms); }
    void TestSQLText(const std::string& query, int& reccount, int& ms) {
        sql_.TestSQLText(query, reccount, ms);
    }

private:
    // How an operation fills its kind's selection: by the kind's settings, from the script's list,
    // or not at all before its writer (which then selects itself, or needs no selection).
    enum class TFill { BySettings, FromList, None };

    // Every export operation: the kind's nesting item; the selection filled; `write` called with
    // the selection table (null without one) unless a list gave nothing; any failure reported at
    // level 2 under the item, never passed back to the script.
    template <class Write>
    void Run(const TExportKind& kind, TFill fill, const TStrings* items, Write&& write);
    // The same with the kind's writer.
    void Run(const TExportKind& kind, TFill fill, const TStrings* items = nullptr);
    // False when a list gave nothing and the kind reports that.
    bool Fill(const TExportKind& kind, TFill fill, TClientDataSet* selection, const TStrings* items);
    // The article list forms; without `includeTranslations` the setting INCLUDE_ARTICLE_TRANSLATIONS.
    void ExportArticleList(const TStrings* items, const TStrings* pricelists, int includeQuantityPrices,
                           int includeSupplierPrices, std::optional<int> includeTranslations);
    int ArticleSetting(std::string_view field) const;
    void GetByTimeStamp(TTimestampKind kind, TStrings& items, TDateTime startfrom, const std::string& query);

    TExportModule& module_;
    IExportWriters& writers_;
    TExportSelections selections_;
    TSqlExport sql_;
};

}  // namespace tv
