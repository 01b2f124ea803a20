#include "export/price_fragments.h"

#include <algorithm>

#include "platform/rtl/exception.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/trim.h"

namespace tv {
namespace {

constexpr std::string_view kKey = "key";

// Sales prices (format of a price list's rows).
constexpr std::string_view kPriceList = "pricelist";
constexpr std::string_view kPriceListHead = "atPrislistor";
constexpr std::string_view kRows = "rows";
constexpr std::string_view kRow = "row";
constexpr std::string_view kRowArticle = "PRICE_ARTICLE_NUMBER";
constexpr std::string_view kRowQuantity = "PRICE_QUANTITY";
constexpr std::string_view kRowPrice = "PRICE_PRICE";
constexpr std::string_view kRowPriceList = "PRICE_PRICE_LIST";

// Purchase prices.
constexpr std::string_view kPurchaseArticle = "atInkopspriser";
constexpr std::string_view kSupplierArticle = "supplierarticle";
constexpr std::string_view kBrackets = "pricebrackets";
constexpr std::string_view kBracket = "pricebracket";
constexpr std::string_view kPurchaseArticleNumber = "ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER";
constexpr std::string_view kPurchaseSupplier = "ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER";
constexpr std::string_view kPurchaseSupplierArticle = "ARTICLE_PURCHASE_PRICE_SUPPLIER_ARTICLE_NUMBER";
constexpr std::string_view kPurchaseQuantity = "ARTICLE_PURCHASE_PRICE_QUANTITY";
constexpr std::string_view kPurchasePrice = "ARTICLE_PURCHASE_PRICE_PRICE";

// Names in other languages.
constexpr std::string_view kLanguage = "language";
constexpr std::string_view kLanguageCode = "CODE_OF_ARTICLE_NAME_LANGUAGE_CODE";
constexpr std::string_view kLanguageName = "CODE_OF_ARTICLE_NAME_NAME";
constexpr std::string_view kLanguageName2 = "CODE_OF_ARTICLE_NAME_NAME2";

TXMLNode& Container(TXMLNode* container, std::string_view missing) {
    if (!container) throw Exception(std::string(missing));
    return *container;
}

TXMLNode* FindKeyedChild(TXMLNode& container, std::string_view code) {
    for (TXMLNode* child : container.ChildNodes()) {
        const std::string* key =
            child->NodeType() == TNodeType::ntElement ? child->FindAttribute(kKey) : nullptr;
        if (key && AnsiSameText(*key, code)) return child;
    }
    return nullptr;
}

void AddText(TXMLNode& parent, std::string_view name, std::string_view text) {
    parent.AddChild(name)->SetText(text);
}

}  // namespace

TXMLNode* FindKeyedChildNode(TXMLNode* container, std::string_view code) {
    return FindKeyedChild(Container(container, kNoPriceListsNode), code);
}

TXMLNode& AddPriceListNode(TXMLNode* container, std::string_view code) {
    TXMLNode* priceList = Container(container, kNoPriceListsNode).AddChild(kPriceList);
    priceList->SetAttribute(kKey, code);
    priceList->AddChild(kPriceListHead)->SetAttribute(kKey, code);
    return *priceList;
}

TXMLNode* FindPurchasePriceNode(TXMLNode* container, std::string_view article) {
    return FindKeyedChild(Container(container, kNoPurchasePricesNode), article);
}

TXMLNode& AddPurchasePriceArticleNode(TXMLNode* container, std::string_view article) {
    TXMLNode* node = Container(container, kNoPurchasePricesNode).AddChild(kPurchaseArticle);
    node->SetAttribute(kKey, article);
    return *node;
}

void TExportXMLPriceListHelper::CreateNodesFor(TXMLNode& priceList, const TArticlePrices& prices) {
    TXMLNode* rows = priceList.AddChild(kRows);
    for (const auto& [article, list] : prices) {
        for (const TArticlePrice& price : list) {
            TXMLNode* row = rows->AddChild(kRow);
            AddText(*row, kRowArticle, article);
            AddText(*row, kRowQuantity, FloatToStr(price.Quantity, settings_));
            AddText(*row, kRowPrice, FloatToStr(price.Price, settings_));
            AddText(*row, kRowPriceList, price.PriceList);
        }
    }
}

bool PurchasePriceBefore(const TPurchasePrice& l, const TPurchasePrice& r) {
    if (const int bySupplier = AnsiCompareText(l.Supplier, r.Supplier)) return bySupplier > 0;
    if (l.Supplier != r.Supplier) return l.Supplier > r.Supplier;
    return l.Quantity < r.Quantity;
}

void TExportXMLPurchasePriceHelper::AddPriceElements(TXMLNode& parent, std::string_view articleNumber,
                                                     const TPurchasePrice& price) {
    AddText(parent, kPurchaseArticleNumber, articleNumber);
    if (!TrimView(price.Supplier).empty()) AddText(parent, kPurchaseSupplier, price.Supplier);
    if (!TrimView(price.SupplierArtNo).empty())
        AddText(parent, kPurchaseSupplierArticle, price.SupplierArtNo);
    AddText(parent, kPurchaseQuantity, FloatToStr(price.Quantity, settings_));
    AddText(parent, kPurchasePrice, FloatToStr(price.Price, settings_));
}

void TExportXMLPurchasePriceHelper::CreateNodesFor(TXMLNode& article, std::string_view articleNumber,
                                                   std::vector<TPurchasePrice>& prices) {
    std::stable_sort(prices.begin(), prices.end(), PurchasePriceBefore);
    // The brackets element of the last base price, and whose price it is: a bracket belongs only
    // under its own supplier's base price, never under the supplier sorted before it.
    TXMLNode* brackets = nullptr;
    const TPurchasePrice* base = nullptr;
    for (const TPurchasePrice& price : prices) {
        if (price.Quantity <= 0) {
            TXMLNode* supplierArticle = article.AddChild(kSupplierArticle);
            AddPriceElements(*supplierArticle, articleNumber, price);
            brackets = supplierArticle->AddChild(kBrackets);
            base = &price;
        } else if (base && base->Supplier == price.Supplier) {
            AddPriceElements(*brackets->AddChild(kBracket), articleNumber, price);
        }
    }
}

void TExportXMLArticleLanguagesHelper::CreateNodesFor(TXMLNode* languages,
                                                      const std::vector<TArticleLanguage>& names) {
    if (!languages) throw Exception(std::string(kBaseNodeIsNil));
    for (const TArticleLanguage& name : names) {
        TXMLNode* language = languages->AddChild(kLanguage);
        language->SetAttribute(kKey, name.Language);
        AddText(*language, kLanguageCode, name.Language);
        AddText(*language, kLanguageName, name.Name);
        AddText(*language, kLanguageName2, name.NameX);
    }
}

}  // namespace tv
