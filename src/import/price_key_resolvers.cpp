#include "import/price_key_resolvers.h"

#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_helper_dm.h"
#include "import/key_registry.h"
#include "import/key_text.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {

[[noreturn]] void Raise(std::string_view format, std::string_view key) {
    throw EImportError(Format(format, {key}));
}

// The trimmed attribute when the node has it (checked by `known`), else the element's text when it
// is not blank; neither raises `missing`.
template <class Known>
TResolvedKey AttributeOrElement(const TXMLNode& node, std::string_view attribute, Known&& known,
                                std::string_view element, std::string_view missing) {
    if (node.HasAttribute(attribute)) {
        std::string key = Trim(node.Attribute(attribute));
        known(key);
        return {std::move(key), true};
    }
    std::string text = ChildText(node, element);
    if (TrimView(text).empty()) throw EImportError(std::string(missing));
    return {std::move(text), false};
}

}  // namespace

TResolvedKey ResolvePriceListHead(const TXMLNode& head) {
    return AttributeOrElement(
        head, "key", [](const std::string&) {}, kPriceListCodeElement, kPriceListHeadMissing);
}

TResolvedKey RegisterPriceListHead(const TXMLNode& head, TKeyHelperDM& keys) {
    TResolvedKey key = ResolvePriceListHead(head);
    keys.AddKnownKey(TKnownKey_Pricelist, key.Text, kOptionEdit);
    return key;
}

TResolvedKey ResolvePriceRowArticle(const TXMLNode& row, const TKeyRegistry& articles) {
    return AttributeOrElement(
        row, "articlekey",
        [&](const std::string& key) {
            if (!articles.Locate(key)) Raise(kArticleKeyUndefined, key);
        },
        kPriceArticleElement, kPriceRowArticleMissing);
}

TResolvedKey ResolvePriceRowPriceList(const TXMLNode& row, const TKeyHelperDM& keys) {
    return AttributeOrElement(
        row, "pricelistkey",
        [&](const std::string& key) {
            if (!keys.FindKnownKey(key, TKnownKey_Pricelist)) Raise(kPriceListKeyUndefined, key);
        },
        kPricePriceListElement, kPriceRowPriceListMissing);
}

std::string ArticleKeyToVisma(std::string_view key, const TKeyRegistry& articles) {
    const TKeyRecord* record = articles.Locate(key);
    if (!record) throw EImportError(std::string(kArticleKeyNotInSystem));
    return record->KEY_VALUE_IN_VISMA;
}

TResolvedKey ResolvePurchasePriceSupplier(const TXMLNode& item, const TKeyRegistry& suppliers) {
    return AttributeOrElement(
        item, "supplierkey",
        [&](const std::string& key) {
            if (!suppliers.Locate(key)) Raise(kSupplierKeyUndefined, key);
        },
        kPurchaseSupplierElement, kPurchasePriceSupplierMissing);
}

TResolvedKey ResolvePurchasePriceArticle(const TXMLNode& item, const TKeyRegistry& articles) {
    return AttributeOrElement(
        item, "articlekey",
        [&](const std::string& key) {
            if (!articles.Locate(key)) Raise(kArticleKeyUndefined, key);
        },
        kPurchaseArticleElement, kPurchasePriceArticleMissing);
}

std::string SupplierKeyToVisma(std::string_view key, const TKeyRegistry& suppliers) {
    const TKeyRecord* record = suppliers.Locate(key);
    if (!record) Raise(kSupplierKeyNotInSystem, key);
    return record->KEY_VALUE_IN_VISMA;
}

}  // namespace tv
