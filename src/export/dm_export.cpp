#include "export/dm_export.h"

#include "platform/data/field.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

constexpr std::string_view kExportingAccountPlan = "Exporterar kontoplan";
constexpr std::string_view kExportingArticles = "Exporterar artiklar";
constexpr std::string_view kExportingBest = "Exporterar beställningar";
constexpr std::string_view kExportingContacts = "Exporterar kontakter";
constexpr std::string_view kExportingCustomers = "Exporterar kunder";
constexpr std::string_view kExportingInvoices = "Exporterar fakturor";
constexpr std::string_view kExportingOffers = "Exporterar offerter";
constexpr std::string_view kExportingOrders = "Exporterar order";
constexpr std::string_view kExportingPriceLists = "Exporterar prislistor";
constexpr std::string_view kExportingSupplierInvoices = "Exporterar leverantörsfakturor";
constexpr std::string_view kExportingSuppliers = "Exporterar leverantörer";

constexpr std::string_view kNoBest = "Inga beställningar kan exporteras";
constexpr std::string_view kNoCustomers = "Inga kunder att exportera";
constexpr std::string_view kNoInvoices = "Inga fakturor att exportera";
constexpr std::string_view kNoOffers = "Inga offerter att exportera";
constexpr std::string_view kNoOrders = "Inga order att exportera";
constexpr std::string_view kNoSupplierInvoices = "Inga leverantörsfakturor att exportera";

}  // namespace

template <class Body>
void TDMExport::Run(std::string_view item, Body&& body) {
    IEventSink& events = module_.Events();
    events.addEventItem(item, true);
    try {
        body();
    } catch (const std::exception& e) {
        events.reportError(e.what(), elError);
    }
    events.CloseNestedEventItem();
}

bool TDMExport::FillFromList(TClientDataSet& selection, const TStrings* items,
                             std::string_view emptyMessage) {
    module_.Events().addEventItem(kOwnSelection, false);
    selection.EmptyDataSet();
    if (items)
        for (int i = 0; i < items->Count(); ++i) AppendSelectionKey(selection, items->Strings(i));
    if (!selection.IsEmpty()) return true;
    module_.Events().reportError(emptyMessage, elWarning);
    return false;
}

void TDMExport::BySettings(TSelectionKind kind, TClientDataSet& selection) {
    selection.EmptyDataSet();
    selections_.getSelection(kind, selection);
}

int TDMExport::ArticleSetting(std::string_view field) const {
    return module_.Settings("CDSExportArticlesPrefs").FieldByName(field).AsInteger();
}

void TDMExport::FillArticles(const TStrings* items) {
    TClientDataSet& selection = module_.Selections().CDSArtikelUrval();
    selection.EmptyDataSet();
    if (items)
        for (int i = 0; i < items->Count(); ++i) AppendSelectionKey(selection, items->Strings(i));
}

void TDMExport::ExportAccountPlan(const std::string& year) {
    Run(kExportingAccountPlan, [&] { writers_.ExportAccountPlan(year); });
}

void TDMExport::ExportArticles() {
    Run(kExportingArticles, [&] {
        TClientDataSet& selection = module_.Selections().CDSArtikelUrval();
        BySettings(TSelectionKind::Articles, selection);
        const int maxItems = ArticleSetting("MAX_ITEMS");
        if (maxItems != 0) {
            // Nothing exports by MAX_ITEMS; say so rather than end as if the export had run.
            module_.Events().reportError(Format(kMaxItemsNotBuilt, {maxItems}), elWarning);
            return;
        }
        writers_.ExportArticles(selection, nullptr, 0, 0, 0);
    });
}

void TDMExport::ExportArticlesFromList(const TStrings* items) {
    Run(kExportingArticles, [&] {
        FillArticles(items);
        writers_.ExportArticles(module_.Selections().CDSArtikelUrval(), nullptr, 0, 0,
                                ArticleSetting("INCLUDE_ARTICLE_TRANSLATIONS"));
    });
}

void TDMExport::ExportArticlesFromList(const TStrings* items, const TStrings* pricelists,
                                       int includeQuantityPrices, int includeSupplierPrices) {
    Run(kExportingArticles, [&] {
        FillArticles(items);
        writers_.ExportArticles(module_.Selections().CDSArtikelUrval(), pricelists, includeQuantityPrices,
                                includeSupplierPrices, ArticleSetting("INCLUDE_ARTICLE_TRANSLATIONS"));
    });
}

void TDMExport::ExportArticlesFromList(const TStrings* items, const TStrings* pricelists,
                                       int includeQuantityPrices, int includeSupplierPrices,
                                       int includeTranslations) {
    Run(kExportingArticles, [&] {
        FillArticles(items);
        writers_.ExportArticles(module_.Selections().CDSArtikelUrval(), pricelists, includeQuantityPrices,
                                includeSupplierPrices, includeTranslations);
    });
}

void TDMExport::ExportBest() {
    Run(kExportingBest, [&] {
        TClientDataSet& selection = module_.Selections().CDSBestUrval();
        BySettings(TSelectionKind::Best, selection);
        writers_.ExportBest(selection);
    });
}

void TDMExport::ExportBestFromList(const TStrings* items) {
    Run(kExportingBest, [&] {
        TClientDataSet& selection = module_.Selections().CDSBestUrval();
        if (FillFromList(selection, items, kNoBest)) writers_.ExportBest(selection);
    });
}

void TDMExport::ExportContacts() {
    Run(kExportingContacts, [&] {
        TClientDataSet& selection = module_.Selections().CDSKontaktUrval();
        BySettings(TSelectionKind::Contacts, selection);
        writers_.ExportContacts(selection);
    });
}

void TDMExport::ExportCustomers() {
    Run(kExportingCustomers, [&] {
        TClientDataSet& selection = module_.Selections().CDSKundUrval();
        BySettings(TSelectionKind::Customers, selection);
        writers_.ExportCustomers(selection);
    });
}

void TDMExport::ExportCustomersFromList(const TStrings* items) {
    Run(kExportingCustomers, [&] {
        TClientDataSet& selection = module_.Selections().CDSKundUrval();
        if (FillFromList(selection, items, kNoCustomers)) writers_.ExportCustomers(selection);
    });
}

void TDMExport::ExportInvoices() {
    Run(kExportingInvoices, [&] {
        TDataSet& prefs = module_.Settings("CDSExportInvoicesPrefs");
        const std::string next = selections_.getSelectionStartInvoices();
        TClientDataSet& selection = module_.Selections().CDSFakturaUrval();
        selection.EmptyDataSet();
        selections_.getSelectionInvoices(selection, prefs.FieldByName("EXPORT_START_VALUE").AsString());
        writers_.ExportInvoices(selection);
        if (next.empty()) return;
        prefs.Edit();
        prefs.FieldByName("EXPORT_START_VALUE").SetAsString(next);
        prefs.Post();
        module_.Context().saveSettings();
    });
}

void TDMExport::ExportInvoicesFromList(const TStrings* items) {
    Run(kExportingInvoices, [&] {
        TClientDataSet& selection = module_.Selections().CDSFakturaUrval();
        if (FillFromList(selection, items, kNoInvoices)) writers_.ExportInvoices(selection);
    });
}

void TDMExport::ExportOffers() {
    Run(kExportingOffers, [&] {
        module_.Events().addEventItem(kFetchingOffers, false);
        module_.Events().nextEvent(kFetchingOffers, kOfferStepPicture);
        module_.Events().setEventCount(0);
        TClientDataSet& selection = module_.Selections().CDSOffertUrval();
        BySettings(TSelectionKind::Offers, selection);
        writers_.ExportOffers(selection);
    });
}

void TDMExport::ExportOffersFromList(const TStrings* items) {
    Run(kExportingOffers, [&] {
        TClientDataSet& selection = module_.Selections().CDSOffertUrval();
        if (FillFromList(selection, items, kNoOffers)) writers_.ExportOffers(selection);
    });
}

void TDMExport::ExportOrders() {
    Run(kExportingOrders, [&] {
        module_.Events().addEventItem(kFetchingOrders, false);
        module_.Events().nextEvent(kFetchingOrders, kOrderStepPicture);
        module_.Events().setEventCount(0);
        TClientDataSet& selection = module_.Selections().CDSOrderUrval();
        BySettings(TSelectionKind::Orders, selection);
        writers_.ExportOrders(selection);
    });
}

void TDMExport::ExportOrdersFromList(const TStrings* items) {
    Run(kExportingOrders, [&] {
        TClientDataSet& selection = module_.Selections().CDSOrderUrval();
        if (FillFromList(selection, items, kNoOrders)) writers_.ExportOrders(selection);
    });
}

void TDMExport::ExportPriceLists() {
    Run(kExportingPriceLists, [&] {
        TClientDataSet& selection = module_.Selections().CDSPrislistUrval();
        selection.EmptyDataSet();
        module_.Events().addEventItem(kFetchingPriceLists, false);
        selections_.getSelectionPriceLists(selection);
        writers_.ExportPriceLists(selection);
    });
}

void TDMExport::ExportSupplierInvoices() {
    Run(kExportingSupplierInvoices, [&] {
        TClientDataSet& selection = module_.Selections().CDSLevFakturaUrval();
        BySettings(TSelectionKind::SupplierInvoices, selection);
        writers_.ExportSupplierInvoices(selection);
    });
}

void TDMExport::ExportSupplierInvoicesFromList(const TStrings* items) {
    Run(kExportingSupplierInvoices, [&] {
        TClientDataSet& selection = module_.Selections().CDSLevFakturaUrval();
        if (FillFromList(selection, items, kNoSupplierInvoices)) writers_.ExportSupplierInvoices(selection);
    });
}

void TDMExport::ExportSuppliers() {
    Run(kExportingSuppliers, [&] {
        TClientDataSet& selection = module_.Selections().CDSLeverantorUrval();
        BySettings(TSelectionKind::Suppliers, selection);
        writers_.ExportSuppliers(selection);
    });
}

void TDMExport::GetDocumentsBySQL(TStrings& items, const std::string& query) {
    TADOQuery& sql = module_.ADOArbitrarySQL();
    sql.Close();
    sql.SQL().SetText(query);
    TParameters& parameters = sql.Parameters();
    for (int i = 0; i < parameters.Count(); ++i) parameters.Items(i).SetValue(Variant());
    sql.Open();
    for (sql.First(); !sql.Eof(); sql.Next()) items.Add(sql.Fields(0).AsString());
}

}  // namespace tv
