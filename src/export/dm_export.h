#pragma once
// The export facade job scripts call: each operation opens its own nesting item in the event tree,
// fills its kind's selection table (every record, the selection SQL, or a list the script passes),
// hands it to the kind's writer, and reports any failure at level 2 under its item; it never
// passes a failure back to the script. Also GetDocumentsBySQL, whose errors do reach the script.

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
    template <class Body>
    void Run(std::string_view item, Body&& body);
    // Empties the selection, fills it from the list; false, with `emptyMessage` at level 3, when
    // it stays empty.
    bool FillFromList(TClientDataSet& selection, const TStrings* items, std::string_view emptyMessage);
    void BySettings(TSelectionKind kind, TClientDataSet& selection);
    void FillArticles(const TStrings* items);
    int ArticleSetting(std::string_view field) const;

    TExportModule& module_;
    IExportWriters& writers_;
    TExportSelections selections_;
};

}  // namespace tv
