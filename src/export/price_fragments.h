#pragma once
// The price and language fragments of the interchange document that the article export writes and
// the price and article imports read back: a price list's rows of sales prices in "pricelists",
// an article's purchase prices by supplier with their brackets in "purchaseprices", and an
// article's names in other languages inside its "atArtiklar" record. Numbers are written in the
// general format with the decimal separator in force.

#include <string_view>
#include <vector>

#include "export/article_prices.h"
#include "platform/rtl/format_settings.h"
#include "platform/xml/xml_node.h"

namespace tv {

inline constexpr std::string_view kNoPriceListsNode = "No base node pricelistsnode";
inline constexpr std::string_view kNoPurchasePricesNode = "No base node purchaseprices";
inline constexpr std::string_view kBaseNodeIsNil = "basenode is nil.";

// The first child of the price-list container whose "key" equals `code`, letter case ignored, or
// null; raises kNoPriceListsNode without a container.
TXMLNode* FindKeyedChildNode(TXMLNode* container, std::string_view code);
// Appends "pricelist" with "key" = code, holding "atPrislistor" with the same key, and returns
// the "pricelist"; raises kNoPriceListsNode without a container.
TXMLNode& AddPriceListNode(TXMLNode* container, std::string_view code);
// FindKeyedChildNode over the purchase-price container; raises kNoPurchasePricesNode without one.
TXMLNode* FindPurchasePriceNode(TXMLNode* container, std::string_view article);
// Appends "atInkopspriser" with "key" = the article number and returns it; raises
// kNoPurchasePricesNode without a container.
TXMLNode& AddPurchasePriceArticleNode(TXMLNode* container, std::string_view article);

// Writes the sales prices of one price list.
class TExportXMLPriceListHelper {
public:
    explicit TExportXMLPriceListHelper(const TFormatSettings& settings) : settings_(settings) {}

    // Appends "rows" to the "pricelist" element with one "row" per price: the articles in
    // ordinal order, each article's prices in their order.
    void CreateNodesFor(TXMLNode& priceList, const TArticlePrices& prices);

private:
    const TFormatSettings& settings_;
};

// True when `l` goes before `r` among an article's purchase prices: suppliers in descending order
// without regard to case (an exact comparison deciding between numbers that differ only in case),
// then quantities in ascending order, so each supplier's base price comes before its brackets.
bool PurchasePriceBefore(const TPurchasePrice& l, const TPurchasePrice& r);

// Writes an article's purchase prices.
class TExportXMLPurchasePriceHelper {
public:
    explicit TExportXMLPurchasePriceHelper(const TFormatSettings& settings) : settings_(settings) {}

    // Sorts the prices (stably, by PurchasePriceBefore) and appends to the "atInkopspriser"
    // element one "supplierarticle" per base price, with its supplier's brackets in its
    // "pricebrackets". A bracket of a supplier without a base price is not written.
    void CreateNodesFor(TXMLNode& article, std::string_view articleNumber,
                        std::vector<TPurchasePrice>& prices);

private:
    void AddPriceElements(TXMLNode& parent, std::string_view articleNumber, const TPurchasePrice& price);

    const TFormatSettings& settings_;
};

// Writes an article's names in other languages.
class TExportXMLArticleLanguagesHelper {
public:
    // Appends one "language" per name to the "languages" element; raises kBaseNodeIsNil without
    // one. No names write nothing.
    void CreateNodesFor(TXMLNode* languages, const std::vector<TArticleLanguage>& names);
};

}  // namespace tv
