#include "export/article_prices.h"

#include "platform/data/field.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

// Positions the dataset on the article's first record in the current sort order and calls
// `visit` for that record and each that follows while kit field `articleField` holds the same
// article, letter case ignored.
template <class Visit>
void ForEachRecordOfArticle(TAdkDataSet& data, const std::string& article, int articleField, Visit&& visit) {
    for (bool read = data.AdkNavFind(article, true, true);
         read && AnsiSameText(data.FieldByAdkIndex(articleField).AsString(), article);
         read = data.AdkNavNext())
        visit();
}

TAdkDataSet& Required(TAdkDataSet* data, std::string_view what) {
    if (!data) throw Exception("The article export has no " + std::string(what));
    return *data;
}

}  // namespace

TArticlePrices TArticlePriceExportHelper::GetPriceForArticles(const TStrings& articles,
                                                              std::string_view priceList) {
    TAdkDataSet& prices = Required(salesPrices_, "sales prices");
    TArticlePrices result;
    for (int i = 0; i < articles.Count(); ++i) result.try_emplace(articles.Strings(i));
    prices.SetAdkSortOrder(asForsaljningspriserArtNr);
    for (auto& [article, list] : result) {
        ForEachRecordOfArticle(prices, article, 1, [&] {
            std::string code = prices.FieldByAdkIndex(0).AsString();
            if (!AnsiSameText(code, priceList)) return;
            list.push_back(
                {std::move(code), prices.FieldByAdkIndex(3).AsFloat(), prices.FieldByAdkIndex(2).AsFloat()});
        });
    }
    return result;
}

std::vector<TPurchasePrice> TArticlePriceExportHelper::GetSupplierPricesForArticle(
    const std::string& article) {
    TAdkDataSet& prices = Required(purchasePrices_, "purchase prices");
    std::vector<TPurchasePrice> result;
    prices.SetAdkSortOrder(asInkopspriserArtnrAlla);
    ForEachRecordOfArticle(prices, article, 0, [&] {
        result.push_back({prices.FieldByAdkIndex(1).AsString(), prices.FieldByAdkIndex(3).AsFloat(),
                          prices.FieldByAdkIndex(2).AsFloat(), prices.FieldByAdkIndex(4).AsString()});
    });
    return result;
}

std::vector<TArticleLanguage> TArtExportHelper_Language::GetTranslationsForArticle(
    const std::string& article) {
    std::vector<TArticleLanguage> result;
    names_.SetAdkSortOrder(asArtikelbenamningNr);
    ForEachRecordOfArticle(names_, article, 1, [&] {
        result.push_back({names_.FieldByAdkIndex(1).AsString(), names_.FieldByAdkIndex(0).AsString(),
                          names_.FieldByAdkIndex(2).AsString(), names_.FieldByAdkIndex(3).AsString()});
    });
    return result;
}

}  // namespace tv
