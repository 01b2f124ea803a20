#include "import/purchase_price_helper.h"

#include "import/price_walk.h"

namespace tv {

namespace {
inline constexpr int kArticleField = 0;
inline constexpr int kSupplierField = 1;
inline constexpr int kQuantityField = 2;
inline constexpr int kPriceField = 3;
inline constexpr int kSupplierArticleField = 4;
}  // namespace

TImportPurchasePriceHelper::TImportPurchasePriceHelper(TAdkDataSet& purchasePrices)
    : prices_(purchasePrices) {}

bool TImportPurchasePriceHelper::FindBasePrice(const std::string& article, const std::string& supplier) {
    // This order walks base prices only, by article and then supplier.
    return FindPriceOfArticle(prices_, asInkopspriserArtNrGrund, kArticleField, article, [&] {
        return AnsiSameText(prices_.FieldByAdkIndex(kSupplierField).AsString(), supplier);
    });
}

bool TImportPurchasePriceHelper::FindStafflPrice(const std::string& article, const std::string& supplier,
                                                 double quantity) {
    // Brackets only, by article, supplier and quantity.
    return FindPriceOfArticle(prices_, asInkopspriserArtNrStaffling, kArticleField, article, [&] {
        return AnsiSameText(prices_.FieldByAdkIndex(kSupplierField).AsString(), supplier) &&
               prices_.FieldByAdkIndex(kQuantityField).AsFloat() == quantity;
    });
}

void TImportPurchasePriceHelper::AddPurchasePrice(const std::string& article, const std::string& supplier,
                                                  const std::string& supplierArticle, double price) {
    prices_.Append();
    prices_.FieldByAdkIndex(kArticleField).SetAsString(article);
    prices_.FieldByAdkIndex(kSupplierField).SetAsString(supplier);
    prices_.FieldByAdkIndex(kPriceField).SetAsFloat(price);
    prices_.FieldByAdkIndex(kSupplierArticleField).SetAsString(supplierArticle);
    prices_.Post();
}

}  // namespace tv
