#pragma once
// What the article export reads beside the articles themselves: their sales prices in named price
// lists, their suppliers' purchase prices and their names in other languages, each as small
// records read from the company's kit tables. The readers work on datasets their caller hands them
// and leave them on the sort orders they set.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "adk/adk_dataset.h"
#include "platform/rtl/string_list.h"
#include "platform/rtl/text_compare.h"

namespace tv {

struct TArticlePrice {
    std::string PriceList;  // as the kit holds it
    double Price = 0;
    double Quantity = 0;  // 0 for the base price, else the bracket
};

struct TPurchasePrice {
    std::string Supplier;
    double Price = 0;
    double Quantity = 0;  // not above 0 for the base price, else the bracket
    std::string SupplierArtNo;
};

struct TArticleLanguage {
    std::string Artno;
    std::string Language;
    std::string Name;
    std::string NameX;
};

// The prices of one price list by article number, in ordinal order of the numbers.
using TArticlePrices = std::map<std::string, std::vector<TArticlePrice>, std::less<>>;

// Orders texts without regard to case, as the sorted lists of the article export do.
struct TTextLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return AnsiCompareText(a, b) < 0; }
};
// The names of articles in other languages by article number, whatever its letter case.
using TArticleLanguages = std::map<std::string, std::vector<TArticleLanguage>, TTextLess>;

// Reads sales prices (kit table atForsaljningspriser: 0 price list, 1 article, 2 quantity, 3 price)
// and purchase prices (atInkopspriser: 0 article, 1 supplier, 2 quantity, 3 price, 4 the
// supplier's article number).
class TArticlePriceExportHelper {
public:
    // Either dataset may be null when its prices are not asked for.
    TArticlePriceExportHelper(TAdkDataSet* salesPrices, TAdkDataSet* purchasePrices)
        : salesPrices_(salesPrices), purchasePrices_(purchasePrices) {}

    // The prices of the list `priceList` (letter case ignored) of every article of the list, in
    // the kit's order; an article without any has an empty list.
    TArticlePrices GetPriceForArticles(const TStrings& articles, std::string_view priceList);
    // The article's purchase prices in the kit's order; empty when it has none.
    std::vector<TPurchasePrice> GetSupplierPricesForArticle(const std::string& article);

private:
    TAdkDataSet* salesPrices_;
    TAdkDataSet* purchasePrices_;
};

// Reads the names of articles in other languages (kit table atArtikelbenamningar: 0 language,
// 1 article, 2 name, 3 second name).
class TArtExportHelper_Language {
public:
    explicit TArtExportHelper_Language(TAdkDataSet& names) : names_(names) {}

    // The article's names in the kit's order; empty when it has none.
    std::vector<TArticleLanguage> GetTranslationsForArticle(const std::string& article);

private:
    TAdkDataSet& names_;
};

}  // namespace tv
