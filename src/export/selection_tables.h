#pragma once
// The selection tables of the export: one single-column table per kind, emptied and filled by each
// export of its kind (and by the writers for their includes), read in their order by the writers.
// The customer and contact selections refuse a key that already stands there. The change look-ups
// fill their own table of keys with change times.

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
    // "key" (60 characters) and "timestamp": a change time as its query gave it, a date-time or
    // whole Unix seconds, each read by its look-up as its kind says (timestamp_kinds.h).
    TClientDataSet& CDSTimeStampUrval() const { return *timestamps_; }

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
    TClientDataSet* timestamps_;
};

// Appends one row holding `key` in the table's column (a number column converts the text with the
// process's number format, and raises when it is no number).
void AppendSelectionKey(TDataSet& selection, std::string_view key);

}  // namespace tv
