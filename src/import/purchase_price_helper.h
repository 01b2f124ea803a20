#pragma once
// Finds purchase prices in the business system's purchase-price table (kit table atInkopspriser:
// field 0 article number, 1 supplier number, 2 quantity, 3 price, 4 the supplier's article number)
// for the imports that write them.

#include <string>

namespace tv {

class TAdkDataSet;

class TImportPurchasePriceHelper {
public:
    explicit TImportPurchasePriceHelper(TAdkDataSet& purchasePrices);

    // Positions the dataset on the base price (quantity 0) of the article from the supplier and
    // answers true; false when the article has none from that supplier. Article and supplier compare
    // by the company's key rule. The dataset's read records are dropped first, and it is left on the
    // base-price order.
    bool FindBasePrice(const std::string& article, const std::string& supplier);

private:
    TAdkDataSet& prices_;
};

}  // namespace tv
