#pragma once
// The question a customer price list asks before it is written with extra data: the operator sees
// the customer's row of the customer price-list table (CDSExportCustomerPricelistData) and may
// change its running number and agreement reference. The application's form answers it; the
// engine shows no window of its own.

namespace tv {

class TDataSet;

class IExtraPriceListData {
public:
    virtual ~IExtraPriceListData() = default;
    // Shows the current row of `data`; true when the operator confirmed it, with what was typed
    // stored in the row, false when the question was dismissed.
    virtual bool Execute(TDataSet& data) = 0;
};

}  // namespace tv
