// The price and language fragments on their own: the node functions over the two containers, the
// order of an article's purchase prices, and the errors of a missing container or element.

#include "export/price_fragments.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/rtl/exception.h"
#include "platform/xml/xml_document.h"

namespace tv {
namespace {

template <class Call>
std::string Raised(Call&& call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.what();
    }
    return "nothing raised";
}

TEST(PriceFragments, NodeFunctionsNeedTheirContainer) {
    TExportXMLArticleLanguagesHelper languages;
    EXPECT_EQ(Raised([] { FindKeyedChildNode(nullptr, "BAS"); }), "No base node pricelistsnode");
    EXPECT_EQ(Raised([] { AddPriceListNode(nullptr, "BAS"); }), "No base node pricelistsnode");
    EXPECT_EQ(Raised([] { FindPurchasePriceNode(nullptr, "A1"); }), "No base node purchaseprices");
    EXPECT_EQ(Raised([] { AddPurchasePriceArticleNode(nullptr, "A1"); }), "No base node purchaseprices");
    EXPECT_EQ(Raised([&] { languages.CreateNodesFor(nullptr, {}); }), "basenode is nil.");
}

TEST(PriceFragments, KeyedChildrenAreFoundWithoutRegardToCase) {
    TXMLDocument doc;
    doc.SetActive(true);
    TXMLNode* container = doc.AddChild("pricelists");
    TXMLNode& first = AddPriceListNode(container, "Bas");
    AddPriceListNode(container, "BAS");
    EXPECT_EQ(FindKeyedChildNode(container, "bAS"), &first);
    EXPECT_EQ(FindKeyedChildNode(container, "VIP"), nullptr);
    EXPECT_EQ(first.ChildCount(), 1u);
    EXPECT_EQ(first.ChildNode(0)->NodeName(), "atPrislistor");
    EXPECT_EQ(first.ChildNode(0)->Attribute("key"), "Bas");
}

// Suppliers that differ only in letter case, and quantities a whole-number difference would call
// equal one way and not the other.
const TPurchasePrice kPrices[] = {
    {"100", 5, 0, ""},    {"100", 4.5, 10, ""},   {"200", 6, 0, ""}, {"200", 5, 50, ""},
    {"200", 5.5, 10, ""}, {"200", 5.4, 10.5, ""}, {"ab", 1, 0, ""},  {"AB", 1, 0, ""},
    {"Ab", 1, 0.25, ""},  {"ab", 1, 0.75, ""},    {"ab", 1, -1, ""}, {"", 1, 0, ""},
};

TEST(PriceFragments, ThePurchasePriceOrderIsAStrictWeakOrdering) {
    const auto before = PurchasePriceBefore;
    const auto equivalent = [&](const TPurchasePrice& a, const TPurchasePrice& b) {
        return !before(a, b) && !before(b, a);
    };
    for (const auto& a : kPrices) {
        EXPECT_FALSE(before(a, a)) << a.Supplier << " " << a.Quantity;
        for (const auto& b : kPrices) {
            EXPECT_FALSE(before(a, b) && before(b, a))
                << a.Supplier << a.Quantity << " " << b.Supplier << b.Quantity;
            for (const auto& c : kPrices) {
                if (before(a, b) && before(b, c)) {
                    EXPECT_TRUE(before(a, c));
                }
                if (equivalent(a, b) && equivalent(b, c)) {
                    EXPECT_TRUE(equivalent(a, c));
                }
            }
        }
    }
}

TEST(PriceFragments, SuppliersDescendAndQuantitiesAscend) {
    std::vector<TPurchasePrice> prices(std::begin(kPrices), std::end(kPrices));
    std::stable_sort(prices.begin(), prices.end(), PurchasePriceBefore);
    std::vector<std::string> order;
    for (const auto& p : prices) order.push_back(p.Supplier + "@" + std::to_string(p.Quantity).substr(0, 4));
    EXPECT_EQ(order, (std::vector<std::string>{"ab@-1.0", "ab@0.00", "ab@0.75", "Ab@0.25", "AB@0.00",
                                               "200@0.00", "200@10.0", "200@10.5", "200@50.0", "100@0.00",
                                               "100@10.0", "@0.00"}));
}

}  // namespace
}  // namespace tv
