#pragma once
// The one walk over a price table that the price imports find prices with: the kit positions on
// the first price of an article in a sort order, and the walk reads on while the article stays the
// same (by the company's key rule) until a price matches.

#include <string>

#include "adk/adk_dataset.h"
#include "platform/rtl/key_fold.h"

namespace tv {

// Drops the dataset's read records, sets `order` and walks the prices of `article` (kit field
// `articleField`); true at the first one `matches` accepts, the dataset then on it.
template <class Matches>
bool FindPriceOfArticle(TAdkDataSet& prices, TAdkSortOrder order, int articleField,
                        const std::string& article, Matches&& matches) {
    prices.EmptyDataSet();
    prices.SetAdkSortOrder(order);
    for (bool read = prices.AdkNavFind(article, false, true);
         read && SameKeyText(prices.FieldByAdkIndex(articleField).AsString(), article);
         read = prices.AdkNavNext()) {
        if (matches()) return true;
    }
    return false;
}

}  // namespace tv
