#pragma once
// The selection tables of the export: one single-column table per kind, emptied and filled by each
// export of its kind (and by the writers for their includes), read in their order by the writers.
// The customer and contact selections refuse a key that already stands there.

#include <string_view>

#include "platform/data/client_data_set.h"
#include "platform/rtl/component.h"

namespace tv {

class TSelectionTables : public TComponent {
public:
    explicit TSelectionTables(TComponent* owner = nullptr);

    TClientDataSet& CDSArtikelUrval() const { return *articles_; }
    TClientDataSet& CDSBestUrval() const { return *best_; }
    TClientDataSet& CDSKontaktUrval() const { return *contacts_; }
    TClientDataSet& CDSKundUrval() const { return *customers_; }
    TClientDataSet& CDSFakturaUrval() const { return *invoices_; }
    TClientDataSet& CDSOffertUrval() const { return *offers_; }
    TClientDataSet& CDSOrderUrval() const { return *orders_; }
    TClientDataSet& CDSPrislistUrval() const { return *priceLists_; }
    TClientDataSet& CDSLevFakturaUrval() const { return *supplierInvoices_; }
    TClientDataSet& CDSLeverantorUrval() const { return *suppliers_; }

private:
    TClientDataSet* articles_;
    TClientDataSet* best_;
    TClientDataSet* contacts_;
    TClientDataSet* customers_;
    TClientDataSet* invoices_;
    TClientDataSet* offers_;
    TClientDataSet* orders_;
    TClientDataSet* priceLists_;
    TClientDataSet* supplierInvoices_;
    TClientDataSet* suppliers_;
};

// Appends one row holding `key` in the table's column (a number column converts the text with the
// process's number format, and raises when it is no number).
void AppendSelectionKey(TDataSet& selection, std::string_view key);

}  // namespace tv
