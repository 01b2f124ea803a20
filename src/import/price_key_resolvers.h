#pragma once
// The keys of sales and purchase prices: each comes from a key attribute (a key another kind of the
// file registered) or from an element holding the business system's own code or number. Shared by
// the price checks and the price imports.

#include <string>
#include <string_view>

namespace tv {

class TKeyHelperDM;
class TKeyRegistry;
class TXMLNode;

inline constexpr std::string_view kPriceListHeadMissing =
    "Prislista::Prislisteinformation saknas. Har varken pricelistkey eller CODE_OF_PRICE_LIST_CODE ";
inline constexpr std::string_view kArticleKeyUndefined =
    "Artikelnyckel %s finns inte bland definierade artiklar.";
inline constexpr std::string_view kPriceRowArticleMissing =
    "Prislista::Produktnyckel saknas. Har varken articleKey eller PRICE_ARTICLE_NUMBER ";
inline constexpr std::string_view kPriceListKeyUndefined =
    "Nyckel %s finns inte bland definierade prislistor.";
inline constexpr std::string_view kPriceRowPriceListMissing =
    "Artikelpris::Saknar hänvisning till prislista. Har varken pricelistkey eller PRICE_PRICE_LIST ";
inline constexpr std::string_view kArticleKeyNotInSystem = "Artikelnyckeln fanns ej i systemet";
inline constexpr std::string_view kSupplierKeyUndefined =
    "Leverantörsnyckel %s finns inte bland definierade leverantörer.";
inline constexpr std::string_view kPurchasePriceSupplierMissing =
    "Leverantör saknas. Har varken supplierkey eller ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER ";
inline constexpr std::string_view kPurchasePriceArticleMissing =
    "Artikelnyckel kunde inte identifieras. Har varken articlekey eller "
    "ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER ";
inline constexpr std::string_view kSupplierKeyNotInSystem = "Leverantörsnyckel %s fanns ej i systemet";

inline constexpr std::string_view kPriceListCodeElement = "CODE_OF_PRICE_LIST_CODE";
inline constexpr std::string_view kPriceArticleElement = "PRICE_ARTICLE_NUMBER";
inline constexpr std::string_view kPricePriceListElement = "PRICE_PRICE_LIST";
inline constexpr std::string_view kPurchaseArticleElement = "ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER";
inline constexpr std::string_view kPurchaseSupplierElement = "ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER";

// A resolved key: its text and whether it came from the key attribute.
struct TResolvedKey {
    std::string Text;
    bool FromAttribute = false;
};

// Head "atPrislistor": the trimmed "key", else CODE_OF_PRICE_LIST_CODE when not blank.
TResolvedKey ResolvePriceListHead(const TXMLNode& head);
// The same, then registered as a price-list key with the option "edit".
TResolvedKey RegisterPriceListHead(const TXMLNode& head, TKeyHelperDM& keys);
// A price row's article: the trimmed "articlekey" (registered by the articles), else
// PRICE_ARTICLE_NUMBER when not blank.
TResolvedKey ResolvePriceRowArticle(const TXMLNode& row, const TKeyRegistry& articles);
// A price row's price list: the trimmed "pricelistkey" (a registered price-list key), else
// PRICE_PRICE_LIST when not blank.
TResolvedKey ResolvePriceRowPriceList(const TXMLNode& row, const TKeyHelperDM& keys);
// The business system's article number stored for an article key.
std::string ArticleKeyToVisma(std::string_view key, const TKeyRegistry& articles);

// A purchase price's supplier and article: the trimmed key attribute (registered by the suppliers
// or articles), else the number element when not blank.
TResolvedKey ResolvePurchasePriceSupplier(const TXMLNode& item, const TKeyRegistry& suppliers);
TResolvedKey ResolvePurchasePriceArticle(const TXMLNode& item, const TKeyRegistry& articles);
std::string SupplierKeyToVisma(std::string_view key, const TKeyRegistry& suppliers);

}  // namespace tv
