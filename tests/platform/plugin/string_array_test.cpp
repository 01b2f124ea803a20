// aStringArray as the plug-in contract fixes it: growth steps, bounds errors, and the members that
// replace its content.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/plugin/sdk/string_array.h"

namespace tv::plugin {
namespace {

std::vector<std::string> ItemsOf(const aStringArray& a) {
    std::vector<std::string> items;
    for (int32_t i = 0; i < a.Count(); ++i) items.push_back(a.Items(i));
    return items;
}

aStringArray Of(const std::vector<std::string>& items) {
    aStringArray a;
    for (const auto& item : items) a.Add(item);
    return a;
}

struct GrowthCase {
    int32_t full;  // the storage's length, all of it in use
    int32_t grown;
};
constexpr GrowthCase kGrowth[] = {
    {0, 4},    // empty: by 4
    {8, 12},   // up to 8: by 4
    {9, 25},   // from 9: by 16
    {64, 80},  // up to 64: by 16
    {65, 81},  // above 64: by a quarter
    {100, 125},
};

TEST(StringArray, AddingToAFullArrayGrowsItsStorageByTheContractsSteps) {
    for (const GrowthCase& c : kGrowth) {
        aStringArray a;
        a.Resize(c.full);
        ASSERT_EQ(a.Capacity(), c.full);
        EXPECT_EQ(a.Add("new"), c.full) << c.full;
        EXPECT_EQ(a.Capacity(), c.grown) << c.full;
        EXPECT_EQ(a.Count(), c.full + 1);
        EXPECT_EQ(a.Items(c.full), "new");
    }
    // An array that is not full takes the item without growing.
    aStringArray a = Of({"a"});
    EXPECT_EQ(a.Capacity(), 4);
    a.Add("b");
    EXPECT_EQ(a.Capacity(), 4);
}

TEST(StringArray, AnIndexOutsideTheItemsIsRefusedWithItsNumber) {
    aStringArray a = Of({"a", "b", "c"});
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {"read -1", [&] { (void)a.Items(-1); }, "Array index out of bounds (-1)."},
        {"read Count", [&] { (void)a.Items(3); }, "Array index out of bounds (3)."},
        {"write -1", [&] { a.SetItems(-1, "x"); }, "Array index out of bounds (-1)."},
        {"write Count", [&] { a.SetItems(3, "x"); }, "Array index out of bounds (3)."},
        {"delete Count", [&] { a.Delete(3); }, "Array index out of bounds (3)."},
        {"delete -1", [&] { a.Delete(-1); }, "Array index out of bounds (-1)."},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EStringArrayError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
    EXPECT_EQ(ItemsOf(a), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(StringArray, DeleteResizeClearAndAssignReplaceTheContent) {
    aStringArray a = Of({"a", "b", "c", "d", "e"});
    a.SetItems(0, "A");
    a.Delete(1);
    EXPECT_EQ(ItemsOf(a), (std::vector<std::string>{"A", "c", "d", "e"}));
    EXPECT_EQ(a.Capacity(), 8) << "deleting keeps the storage";
    a.Delete(3);
    EXPECT_EQ(ItemsOf(a), (std::vector<std::string>{"A", "c", "d"}));
    a.Add("f");
    EXPECT_EQ(ItemsOf(a), (std::vector<std::string>{"A", "c", "d", "f"}))
        << "a deleted item does not come back";

    a.Resize(2);
    EXPECT_EQ(ItemsOf(a), (std::vector<std::string>{"A", "c"}));
    EXPECT_EQ(a.Capacity(), 2);
    a.Resize(4);
    EXPECT_EQ(ItemsOf(a), (std::vector<std::string>{"A", "c", "", ""}));
    EXPECT_EQ(a.Capacity(), 4);
    EXPECT_THROW(a.Resize(-1), EStringArrayError);

    aStringArray copy = Of({"x", "y", "z", "w", "v", "u"});
    copy.Assign(a);
    EXPECT_EQ(ItemsOf(copy), ItemsOf(a));
    EXPECT_EQ(copy.Capacity(), 4) << "sized to the source's count";
    copy.SetItems(0, "changed");
    EXPECT_EQ(a.Items(0), "A") << "a copy, not shared";
    copy.Assign(copy);
    EXPECT_EQ(ItemsOf(copy), (std::vector<std::string>{"changed", "c", "", ""})) << "assigned to itself";

    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(copy.Capacity(), 0);
    EXPECT_THROW((void)copy.Items(0), EStringArrayError);
}

}  // namespace
}  // namespace tv::plugin
