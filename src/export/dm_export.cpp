#include "export/dm_export.h"

#include "platform/data/field.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

constexpr TExportKind kAccountPlan{.Caption = "Exporterar kontoplan"};
constexpr TExportKind kArticles{.Caption = "Exporterar artiklar",
                                .Selection = &TSelectionTables::CDSArtikelUrval,
                                .SelectionKind = TSelectionKind::Articles};
constexpr TExportKind kBest{.Caption = "Exporterar beställningar",
                            .Selection = &TSelectionTables::CDSBestUrval,
                            .SelectionKind = TSelectionKind::Best,
                            .Writer = &IExportWriters::ExportBest,
                            .EmptyListText = "Inga beställningar kan exporteras"};
constexpr TExportKind kContacts{.Caption = "Exporterar kontakter",
                                .Selection = &TSelectionTables::CDSKontaktUrval,
                                .SelectionKind = TSelectionKind::Contacts,
                                .Writer = &IExportWriters::ExportContacts};
constexpr TExportKind kCustomers{.Caption = "Exporterar kunder",
                                 .Selection = &TSelectionTables::CDSKundUrval,
                                 .SelectionKind = TSelectionKind::Customers,
                                 .Writer = &IExportWriters::ExportCustomers,
                                 .EmptyListText = "Inga kunder att exportera"};
constexpr TExportKind kInvoices{.Caption = "Exporterar fakturor",
                                .Selection = &TSelectionTables::CDSFakturaUrval,
                                .SelectionKind = TSelectionKind::Invoices,
                                .Writer = &IExportWriters::ExportInvoices,
                                .EmptyListText = "Inga fakturor att exportera"};
constexpr TExportKind kOffers{.Caption = "Exporterar offerter",
                              .Selection = &TSelectionTables::CDSOffertUrval,
                              .SelectionKind = TSelectionKind::Offers,
                              .Writer = &IExportWriters::ExportOffers,
                              .EmptyListText = "Inga offerter att exportera",
                              .FetchingText = kFetchingOffers,
                              .FetchingStepPicture = kOfferStepPicture};
constexpr TExportKind kOrders{.Caption = "Exporterar order",
                              .Selection = &TSelectionTables::CDSOrderUrval,
                              .SelectionKind = TSelectionKind::Orders,
                              .Writer = &IExportWriters::ExportOrders,
                              .EmptyListText = "Inga order att exportera",
                              .FetchingText = kFetchingOrders,
                              .FetchingStepPicture = kOrderStepPicture};
constexpr TExportKind kPriceLists{.Caption = "Exporterar prislistor",
                                  .Selection = &TSelectionTables::CDSPrislistUrval,
                                  .SelectionKind = TSelectionKind::PriceLists,
                                  .Writer = &IExportWriters::ExportPriceLists,
                                  .FetchingText = kFetchingPriceLists};
constexpr TExportKind kSupplierInvoices{.Caption = "Exporterar leverantörsfakturor",
                                        .Selection = &TSelectionTables::CDSLevFakturaUrval,
                                        .SelectionKind = TSelectionKind::SupplierInvoices,
                                        .Writer = &IExportWriters::ExportSupplierInvoices,
                                        .EmptyListText = "Inga leverantörsfakturor att exportera"};
constexpr TExportKind kSuppliers{.Caption = "Exporterar leverantörer",
                                 .Selection = &TSelectionTables::CDSLeverantorUrval,
                                 .SelectionKind = TSelectionKind::Suppliers,
                                 .Writer = &IExportWriters::ExportSuppliers};

}  // namespace

template <class Write>
void TDMExport::Run(const TExportKind& kind, TFill fill, const TStrings* items, Write&& write) {
    IEventSink& events = module_.Events();
    events.addEventItem(kind.Caption, true);
    try {
        // The selection and the writer read record after record: they read one state of the
        // company, without a file lock per record.
        RunHoldingWrites(module_.Context(), [&] {
            TClientDataSet* selection = kind.Selection ? &(module_.Selections().*kind.Selection)() : nullptr;
            if (Fill(kind, fill, selection, items)) write(selection);
        });
    } catch (const std::exception& e) {
        events.reportError(e.what(), elError);
    }
    events.CloseNestedEventItem();
}

void TDMExport::Run(const TExportKind& kind, TFill fill, const TStrings* items) {
    Run(kind, fill, items, [&](TClientDataSet* selection) { (writers_.*kind.Writer)(*selection); });
}

bool TDMExport::Fill(const TExportKind& kind, TFill fill, TClientDataSet* selection, const TStrings* items) {
    IEventSink& events = module_.Events();
    switch (fill) {
        case TFill::None:
            return true;
        case TFill::BySettings:
            if (!kind.FetchingText.empty()) {
                events.addEventItem(kind.FetchingText, false);
                if (kind.FetchingStepPicture != 0) {
                    events.nextEvent(kind.FetchingText, kind.FetchingStepPicture);
                    events.setEventCount(0);
                }
            }
            selection->EmptyDataSet();
            selections_.getSelection(kind.SelectionKind, *selection);
            return true;
        case TFill::FromList: {
            const bool reportsEmpty = !kind.EmptyListText.empty();
            if (reportsEmpty) events.addEventItem(kOwnSelection, false);
            selection->EmptyDataSet();
            if (items)
                for (int i = 0; i < items->Count(); ++i) AppendSelectionKey(*selection, items->Strings(i));
            if (!reportsEmpty || !selection->IsEmpty()) return true;
            events.reportError(kind.EmptyListText, elWarning);
            return false;
        }
    }
    return false;
}

int TDMExport::ArticleSetting(std::string_view field) const {
    return module_.Settings("CDSExportArticlesPrefs").FieldByName(field).AsInteger();
}

void TDMExport::ExportAccountPlan(const std::string& year) {
    Run(kAccountPlan, TFill::None, nullptr, [&](TClientDataSet*) { writers_.ExportAccountPlan(year); });
}

void TDMExport::ExportArticles() {
    Run(kArticles, TFill::BySettings, nullptr, [&](TClientDataSet* selection) {
        const int maxItems = ArticleSetting("MAX_ITEMS");
        if (maxItems != 0) {
            // Nothing exports by MAX_ITEMS; say so rather than end as if the export had run.
            module_.Events().reportError(Format(kMaxItemsNotBuilt, {maxItems}), elWarning);
            return;
        }
        writers_.ExportArticles(*selection);
    });
}

void TDMExport::ExportArticlesFromList(const TStrings* items) {
    ExportArticleList(items, nullptr, 0, 0, std::nullopt);
}

void TDMExport::ExportArticlesFromList(const TStrings* items, const TStrings* pricelists,
                                       int includeQuantityPrices, int includeSupplierPrices) {
    ExportArticleList(items, pricelists, includeQuantityPrices, includeSupplierPrices, std::nullopt);
}

void TDMExport::ExportArticlesFromList(const TStrings* items, const TStrings* pricelists,
                                       int includeQuantityPrices, int includeSupplierPrices,
                                       int includeTranslations) {
    ExportArticleList(items, pricelists, includeQuantityPrices, includeSupplierPrices, includeTranslations);
}

void TDMExport::ExportArticleList(const TStrings* items, const TStrings* pricelists,
                                  int includeQuantityPrices, int includeSupplierPrices,
                                  std::optional<int> includeTranslations) {
    Run(kArticles, TFill::FromList, items, [&](TClientDataSet* selection) {
        writers_.ExportArticles(
            *selection, pricelists, includeQuantityPrices, includeSupplierPrices,
            includeTranslations ? *includeTranslations : ArticleSetting("INCLUDE_ARTICLE_TRANSLATIONS"));
    });
}

void TDMExport::ExportBest() {
    Run(kBest, TFill::BySettings);
}

void TDMExport::ExportBestFromList(const TStrings* items) {
    Run(kBest, TFill::FromList, items);
}

void TDMExport::ExportContacts() {
    Run(kContacts, TFill::BySettings);
}

void TDMExport::ExportCustomers() {
    Run(kCustomers, TFill::BySettings);
}

void TDMExport::ExportCustomersFromList(const TStrings* items) {
    Run(kCustomers, TFill::FromList, items);
}

// The incremental export: the next start value is asked for before the selection, and stored only
// once the invoices are written.
void TDMExport::ExportInvoices() {
    Run(kInvoices, TFill::None, nullptr, [&](TClientDataSet* selection) {
        TDataSet& prefs = module_.Settings("CDSExportInvoicesPrefs");
        const std::string next = selections_.getSelectionStartInvoices();
        selection->EmptyDataSet();
        selections_.getSelectionInvoices(*selection, prefs.FieldByName("EXPORT_START_VALUE").AsString());
        writers_.ExportInvoices(*selection);
        if (next.empty()) return;
        prefs.Edit();
        prefs.FieldByName("EXPORT_START_VALUE").SetAsString(next);
        prefs.Post();
        module_.Context().saveSettings();
    });
}

void TDMExport::ExportInvoicesFromList(const TStrings* items) {
    Run(kInvoices, TFill::FromList, items);
}

void TDMExport::ExportOffers() {
    Run(kOffers, TFill::BySettings);
}

void TDMExport::ExportOffersFromList(const TStrings* items) {
    Run(kOffers, TFill::FromList, items);
}

void TDMExport::ExportOrders() {
    Run(kOrders, TFill::BySettings);
}

void TDMExport::ExportOrdersFromList(const TStrings* items) {
    Run(kOrders, TFill::FromList, items);
}

void TDMExport::ExportPriceLists() {
    Run(kPriceLists, TFill::BySettings);
}

void TDMExport::ExportSupplierInvoices() {
    Run(kSupplierInvoices, TFill::BySettings);
}

void TDMExport::ExportSupplierInvoicesFromList(const TStrings* items) {
    Run(kSupplierInvoices, TFill::FromList, items);
}

void TDMExport::ExportSuppliers() {
    Run(kSuppliers, TFill::BySettings);
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

void TDMExport::GetByTimeStamp(TTimestampKind kind, TStrings& items, TDateTime startfrom,
                               const std::string& query) {
    FLastDate = 0;
    TTimestampLookup lookup(kind, module_, selections_);
    lookup.GetModifiedSince(startfrom, query);
    for (int i = 0; i < lookup.Fitems.Count(); ++i) items.Add(lookup.Fitems.Get(i).FKey);
    FLastDate = lookup.Flastdate;
}

}  // namespace tv
