#include "import/purchase_price_helper.h"

#include "import/price_walk.h"

namespace tv {

TImportPurchasePriceHelper::TImportPurchasePriceHelper(TAdkDataSet& purchasePrices)
    : prices_(purchasePrices) {}

bool TImportPurchasePriceHelper::FindBasePrice(const std::string& article, const std::string& supplier) {
    // This order walks base prices only, by article and then supplier.
    return FindPriceOfArticle(prices_, asInkopspriserArtNrGrund, ppArticle, article, [&] {
        return SameKeyText(prices_.FieldByAdkIndex(ppSupplier).AsString(), supplier);
    });
}

bool TImportPurchasePriceHelper::FindStafflPrice(const std::string& article, const std::string& supplier,
                                                 double quantity) {
    // Brackets only, by article, supplier and quantity.
    return FindPriceOfArticle(prices_, asInkopspriserArtNrStaffling, ppArticle, article, [&] {
        return SameKeyText(prices_.FieldByAdkIndex(ppSupplier).AsString(), supplier) &&
               prices_.FieldByAdkIndex(ppQuantity).AsFloat() == quantity;
    });
}

void TImportPurchasePriceHelper::AddPurchasePrice(const std::string& article, const std::string& supplier,
                                                  const std::string& supplierArticle, double price) {
    prices_.Append();
    prices_.FieldByAdkIndex(ppArticle).SetAsString(article);
    prices_.FieldByAdkIndex(ppSupplier).SetAsString(supplier);
    prices_.FieldByAdkIndex(ppPrice).SetAsFloat(price);
    prices_.FieldByAdkIndex(ppSupplierArticle).SetAsString(supplierArticle);
    prices_.Post();
}

}  // namespace tv
