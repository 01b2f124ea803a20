#include "import/purchase_price_helper.h"

#include "adk/adk_dataset.h"
#include "platform/rtl/key_fold.h"

namespace tv {

namespace {
inline constexpr int kArticleField = 0;
inline constexpr int kSupplierField = 1;
}  // namespace

TImportPurchasePriceHelper::TImportPurchasePriceHelper(TAdkDataSet& purchasePrices)
    : prices_(purchasePrices) {}

bool TImportPurchasePriceHelper::FindBasePrice(const std::string& article, const std::string& supplier) {
    prices_.EmptyDataSet();
    // This order walks base prices only, by article and then supplier.
    prices_.SetAdkSortOrder(asInkopspriserArtNrGrund);
    for (bool read = prices_.AdkNavFind(article, false, true);
         read && SameKeyText(prices_.FieldByAdkIndex(kArticleField).AsString(), article);
         read = prices_.AdkNavNext()) {
        if (SameKeyText(prices_.FieldByAdkIndex(kSupplierField).AsString(), supplier)) return true;
    }
    return false;
}

}  // namespace tv
