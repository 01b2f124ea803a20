#pragma once
// The export facade job scripts call: each operation opens its own nesting item in the event tree,
// fills its kind's selection table (every record, the selection SQL, or a list the script passes),
// hands it to the kind's writer, and reports any failure at level 2 under its item; it never
// passes a failure back to the script. Also GetDocumentsBySQL, whose errors do reach the script.

#include <optional>
#include <string>
#include <string_view>

#include "export/export_module.h"
#include "export/export_writers.h"
#include "export/selections.h"
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
        : module_(module), writers_(writers), selections_(module) {}

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

    TExportModule& module_;
    IExportWriters& writers_;
    TExportSelections selections_;
};

}  // namespace tv
