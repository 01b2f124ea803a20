#pragma once
// Reads and writes the business system's sales prices (kit table atForsaljningspriser, number 37:
// field 0 price-list code, 1 article number, 2 quantity, 3 price; quantity 0 is a list's base
// price, any other a quantity bracket) for the sales-price import. Prices are found through the
// sales-price dataset and written straight into the kit as raw records: the kit identifies a price
// by list, article and quantity. A write the kit refuses raises its error text, so that no price
// that was never written passes as written.

#include <string>
#include <vector>

namespace tv {

class TAdkDataSet;

// One price row to delete.
struct TData {
    std::string ArticleNo;
    std::string Pricelist;
    double Quantity = 0;
};

class TImportSalesPriceHelper {
public:
    explicit TImportSalesPriceHelper(TAdkDataSet& salesPrices);

    // True when the article has a base price in the list; the dataset is then on it. The
    // dataset's read records are dropped first.
    bool FindBasePrice(const std::string& article, const std::string& priceList);
    // True when the article has a bracket of exactly that quantity in the list; the dataset is then
    // on it.
    bool FindStafflPrice(const std::string& article, const std::string& priceList, double quantity);

    // A base price (the quantity left to the kit's 0), a bracket, a new base price and the removal
    // of one price.
    void AddSalesPrice(const std::string& article, const std::string& priceList, double price);
    void AddSalesPrice2(const std::string& article, const std::string& priceList, double quantity,
                        double price);
    void UpdateSalesPrice(const std::string& article, const std::string& priceList, double price);
    void DeleteSalesPrice(const std::string& article, const std::string& priceList, double quantity);

    // Remembers an article once, for DeleteAll.
    void AddForDelete(const std::string& article);
    // Deletes every bracket (quantity not 0) of the remembered articles in the list.
    void DeleteAll(const std::string& priceList);
    void ClearDeleteList() { forDelete_.clear(); }

private:
    TAdkDataSet& prices_;
    std::vector<std::string> forDelete_;
};

}  // namespace tv
