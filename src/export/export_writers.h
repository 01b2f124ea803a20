#pragma once
// The writers of each kind that the export facade hands a filled selection to: the data module's
// ExportCustomers, ExportOrders ... Each makes its files and raises its failures to the facade.

#include <string>

#include "export/article_export.h"
#include "export/document_export.h"
#include "export/price_list_export.h"
#include "export/register_export.h"
#include "platform/data/data_set.h"
#include "platform/rtl/string_list.h"

namespace tv {

class IExportWriters {
public:
    virtual ~IExportWriters() = default;

    virtual void ExportAccountPlan(const std::string& year) = 0;
    // The selection alone; the settings say whether names in other languages go with it.
    virtual void ExportArticles(TDataSet& selection) = 0;
    // `pricelists` may be null; the three flags are integers as scripts pass them.
    virtual void ExportArticles(TDataSet& selection, const TStrings* pricelists, int includeQuantityPrices,
                                int includeSupplierPrices, int includeTranslations) = 0;
    virtual void ExportBest(TDataSet& selection) = 0;
    virtual void ExportContacts(TDataSet& selection) = 0;
    virtual void ExportCustomers(TDataSet& selection) = 0;
    virtual void ExportInvoices(TDataSet& selection) = 0;
    virtual void ExportOffers(TDataSet& selection) = 0;
    virtual void ExportOrders(TDataSet& selection) = 0;
    virtual void ExportPriceLists(TDataSet& selection) = 0;
    virtual void ExportSupplierInvoices(TDataSet& selection) = 0;
    virtual void ExportSuppliers(TDataSet& selection) = 0;
};

// The writers of the central data module.
class TExportWriters : public IExportWriters {
public:
    explicit TExportWriters(TExportModule& module)
        : priceLists_(module), registers_(module, priceLists_), documents_(module), articles_(module) {}

    TRegisterExport& Registers() { return registers_; }
    TDocumentExport& Documents() { return documents_; }
    TArticleExport& Articles() { return articles_; }
    TPriceListExport& PriceLists() { return priceLists_; }

    void ExportAccountPlan(const std::string& year) override { registers_.ExportAccountPlan(year); }
    void ExportArticles(TDataSet& selection) override { articles_.ExportArticles(selection); }
    void ExportArticles(TDataSet& selection, const TStrings* pricelists, int includeQuantityPrices,
                        int includeSupplierPrices, int includeTranslations) override {
        articles_.ExportArticles(selection, pricelists, includeQuantityPrices, includeSupplierPrices,
                                 includeTranslations);
    }
    void ExportBest(TDataSet& selection) override { documents_.ExportBest(selection); }
    void ExportContacts(TDataSet& selection) override { registers_.ExportContacts(selection); }
    void ExportCustomers(TDataSet& selection) override { registers_.ExportCustomers(selection); }
    void ExportInvoices(TDataSet& selection) override { documents_.ExportInvoices(selection); }
    void ExportOffers(TDataSet& selection) override { documents_.ExportOffers(selection); }
    void ExportOrders(TDataSet& selection) override { documents_.ExportOrders(selection); }
    void ExportPriceLists(TDataSet& selection) override { priceLists_.ExportPriceLists(selection); }
    void ExportSupplierInvoices(TDataSet& selection) override {
        documents_.ExportSupplierInvoices(selection);
    }
    void ExportSuppliers(TDataSet& selection) override { registers_.ExportSuppliers(selection); }

private:
    TPriceListExport priceLists_;  // before the registers, whose customer files include price lists
    TRegisterExport registers_;
    TDocumentExport documents_;
    TArticleExport articles_;
};

}  // namespace tv
