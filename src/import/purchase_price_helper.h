#pragma once
// Finds purchase prices in the business system's purchase-price table (kit table atInkopspriser:
// field 0 article number, 1 supplier number, 2 quantity, 3 price, 4 the supplier's article number)
// for the imports that write them, and adds base prices.

#include <string>

namespace tv {

class TAdkDataSet;

// The kit fields of a purchase price.
enum TPurchasePriceField : int {
    ppArticle = 0,
    ppSupplier = 1,
    ppQuantity = 2,
    ppPrice = 3,
    ppSupplierArticle = 4
};

class TImportPurchasePriceHelper {
public:
    explicit TImportPurchasePriceHelper(TAdkDataSet& purchasePrices);

    // Positions the dataset on the base price (quantity 0) of the article from the supplier and
    // answers true; false when the article has none from that supplier. Article and supplier compare
    // by the company's key rule. The dataset's read records are dropped first, and it is left on the
    // base-price order.
    bool FindBasePrice(const std::string& article, const std::string& supplier);
    // Positions the dataset on the bracket of exactly that quantity of the article from the
    // supplier and answers true; false when there is none. Left on the bracket order.
    bool FindStafflPrice(const std::string& article, const std::string& supplier, double quantity);
    // Appends and posts a base price with the supplier's article number; a failed post leaves the
    // append pending for the caller to cancel.
    void AddPurchasePrice(const std::string& article, const std::string& supplier,
                          const std::string& supplierArticle, double price);

private:
    TAdkDataSet& prices_;
};

}  // namespace tv
