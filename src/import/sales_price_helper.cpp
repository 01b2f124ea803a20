#include "import/sales_price_helper.h"

#include <algorithm>

#include "adk/adk_error_text.h"
#include "import/price_walk.h"

namespace tv {

namespace {

inline constexpr int kSalesPriceTable = 37;
inline constexpr int kPriceListField = 0;
inline constexpr int kArticleField = 1;
inline constexpr int kQuantityField = 2;
inline constexpr int kPriceField = 3;

// A kit call that failed raises the kit's own text ("Visma Integration felkod ...").
void Require(const AdkErrorRec& err) {
    if (err.lRc != 0) throw Exception(AdkErrorText(err, ""));
}

// One raw record of the sales-price table holding list and article, freed on every way out.
class TRawSalesPrice {
public:
    TRawSalesPrice(const std::string& article, const std::string& priceList)
        : data_(AdkCreateData(kSalesPriceTable)) {
        if (!AdkDataAssigned(data_)) throw Exception("AdkCreateData gave no sales-price record");
        try {
            Require(AdkSetStr(data_, kPriceListField, priceList));
            Require(AdkSetStr(data_, kArticleField, article));
        } catch (...) {
            AdkDeleteStructAfterFailure(data_);
            throw;
        }
    }
    ~TRawSalesPrice() { AdkDeleteStructAfterFailure(data_); }
    TRawSalesPrice(const TRawSalesPrice&) = delete;
    TRawSalesPrice& operator=(const TRawSalesPrice&) = delete;

    TRawSalesPrice& Set(int field, double value) {
        Require(AdkSetDouble(data_, field, value));
        return *this;
    }
    void Add() { Require(AdkAdd(data_)); }
    void Update() { Require(AdkUpdate(data_)); }
    void Delete() { Require(AdkDelete(data_)); }

private:
    TAdkData data_;
};

}  // namespace

TImportSalesPriceHelper::TImportSalesPriceHelper(TAdkDataSet& salesPrices) : prices_(salesPrices) {}

bool TImportSalesPriceHelper::FindBasePrice(const std::string& article, const std::string& priceList) {
    // This order walks base prices only, by article and then list.
    return FindPriceOfArticle(prices_, asForsaljningspriserGrundArtNr, kArticleField, article, [&] {
        return SameKeyText(prices_.FieldByAdkIndex(kPriceListField).AsString(), priceList);
    });
}

bool TImportSalesPriceHelper::FindStafflPrice(const std::string& article, const std::string& priceList,
                                              double quantity) {
    // Brackets only, by article, list and quantity.
    return FindPriceOfArticle(prices_, asForsaljningspriserInteGrundArtnr, kArticleField, article, [&] {
        return SameKeyText(prices_.FieldByAdkIndex(kPriceListField).AsString(), priceList) &&
               prices_.FieldByAdkIndex(kQuantityField).AsFloat() == quantity;
    });
}

void TImportSalesPriceHelper::AddSalesPrice(const std::string& article, const std::string& priceList,
                                            double price) {
    TRawSalesPrice(article, priceList).Set(kPriceField, price).Add();
}

void TImportSalesPriceHelper::AddSalesPrice2(const std::string& article, const std::string& priceList,
                                             double quantity, double price) {
    TRawSalesPrice(article, priceList).Set(kPriceField, price).Set(kQuantityField, quantity).Add();
}

void TImportSalesPriceHelper::UpdateSalesPrice(const std::string& article, const std::string& priceList,
                                               double price) {
    TRawSalesPrice(article, priceList).Set(kPriceField, price).Set(kQuantityField, 0).Update();
}

void TImportSalesPriceHelper::DeleteSalesPrice(const std::string& article, const std::string& priceList,
                                               double quantity) {
    TRawSalesPrice(article, priceList).Set(kQuantityField, quantity).Delete();
}

void TImportSalesPriceHelper::AddForDelete(const std::string& article) {
    if (std::find(forDelete_.begin(), forDelete_.end(), article) == forDelete_.end())
        forDelete_.push_back(article);
}

void TImportSalesPriceHelper::DeleteAll(const std::string& priceList) {
    prices_.SetAdkSortOrder(asForsaljningspriserInteGrundArtnr);
    std::vector<TData> rows;
    for (const std::string& article : forDelete_) {
        prices_.EmptyDataSet();
        // Collected first, deleted after the walk: deleting while walking would move the kit's
        // cursor under it.
        for (bool read = prices_.AdkNavFind(article, false, true);
             read && prices_.FieldByAdkIndex(kArticleField).AsString() == article;
             read = prices_.AdkNavNext()) {
            const double quantity = prices_.FieldByAdkIndex(kQuantityField).AsFloat();
            if (prices_.FieldByAdkIndex(kPriceListField).AsString() == priceList && quantity != 0)
                rows.push_back({article, priceList, quantity});
        }
    }
    for (const TData& row : rows) DeleteSalesPrice(row.ArticleNo, row.Pricelist, row.Quantity);
}

}  // namespace tv
