// Sort orders, walking, finding, filters and the parcel range, on the demo company.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit_library.h"

namespace tv::kit_test {
namespace {

const Kit& K() {
    return TheKit();
}

class DemoCompany : public ::testing::Test {
protected:
    OpenCompany company{{DemoFixture()}};
};

// The key text of the record a structure holds: a text field, or a number as an integer.
std::string Key(AdkHandle h, int table, int field) {
    int32_t type = 0;
    K().GetType(h, field, &type);
    if (type == ADK_TYPE_DOUBLE) {
        double d = 0;
        K().GetDouble(h, field, &d);
        return std::to_string(static_cast<long long>(d));
    }
    return GetStr(h, field);
}

std::vector<std::string> Walk(AdkHandle h, int table, int field, bool forward) {
    std::vector<std::string> keys;
    AdkErrorRec e = forward ? K().First(h) : K().Last(h);
    while (e.lRc == 0) {
        keys.push_back(Key(h, table, field));
        e = forward ? K().Next(h) : K().Previous(h);
    }
    EXPECT_EQ(e.lRc, forward ? (keys.empty() ? ADK_ERR_BEGIN_OF_TABLE : ADK_ERR_END_OF_TABLE)
                             : (keys.empty() ? ADK_ERR_END_OF_TABLE : ADK_ERR_BEGIN_OF_TABLE));
    return keys;
}

struct WalkCase {
    const char* what;
    int table, sort, field;
    std::vector<std::string> keys;
};

TEST_F(DemoCompany, EachSortOrderWalksItsIndexBothWays) {
    const WalkCase cases[] = {
        {"customers by number", 0, 0, 0, {"1001", "1002", "1003"}},
        {"customers by name, letters folded", 0, 1, 0, {"1002", "1003", "1001"}},
        {"articles by number", 1, 16, 0, {"A100", "A200", "A300"}},
        {"orders by number", 2, 9, 0, {"1", "2"}},
        {"base sales prices by article", 37, 118, 3, {"10", "11", "120"}},
        {"bracket sales prices by article", 37, 119, 3, {"9", "8"}},
        {"base purchase prices by article", 38, 123, 3, {"5", "80"}},
        {"bracket purchase prices by article", 38, 124, 3, {"4"}},  // 4.5 as an integer
        {"parcels by order", 53, 152, 0, {"1", "3", "2"}},
        {"settings: one record", 27, -1, 0, {"Demof\xF6retaget"}},
        {"an empty table", 12 + 1, 28, 0, {}},
    };
    for (const auto& c : cases) {
        AdkHandle h = K().CreateData(c.table);
        if (c.sort >= 0) {
            ASSERT_EQ(K().SetSortOrder(h, c.sort).lRc, 0) << c.what;
        }
        EXPECT_EQ(Walk(h, c.table, c.field, true), c.keys) << c.what;
        std::vector<std::string> back(c.keys.rbegin(), c.keys.rend());
        EXPECT_EQ(Walk(h, c.table, c.field, false), back) << c.what;
        K().DeleteStruct(h);
    }
}

TEST_F(DemoCompany, NextWithoutACursorStartsAtTheFirstAndTheEndsStay) {
    AdkHandle h = K().CreateData(1);
    ASSERT_EQ(K().Next(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "A100");
    ASSERT_EQ(K().Last(h).lRc, 0);
    EXPECT_EQ(K().Next(h).lRc, ADK_ERR_END_OF_TABLE);
    EXPECT_EQ(K().Next(h).lRc, ADK_ERR_END_OF_TABLE);
    ASSERT_EQ(K().Previous(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "A200");
    ASSERT_EQ(K().First(h).lRc, 0);
    EXPECT_EQ(K().Previous(h).lRc, ADK_ERR_BEGIN_OF_TABLE);
    // The Ex forms walk the same way.
    EXPECT_EQ(K().FirstEx(h, 1).lRc, 0);
    EXPECT_EQ(K().NextEx(h, 1).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "A200");
    EXPECT_EQ(K().LastEx(h, 0).lRc, 0);
    EXPECT_EQ(K().PreviousEx(h, 0).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "A200");
    K().DeleteStruct(h);
}

// Each move goes on from the record before it: across names that fold to the same key (the number
// decides), and from a record read under another order, in the order set since.
TEST_F(DemoCompany, AMoveGoesOnFromTheCursorAcrossEqualKeysAndUnderTheOrderSetSince) {
    AdkHandle add = K().CreateData(0);
    K().SetStr(add, 0, "1000");
    K().SetStr(add, 1, "cecilia EK ");
    ASSERT_EQ(K().Add(add).lRc, 0);
    K().DeleteStruct(add);

    AdkHandle h = K().CreateData(0);
    ASSERT_EQ(K().SetSortOrder(h, 1).lRc, 0);
    const std::vector<std::string> byName{"1002", "1000", "1003", "1001"};
    EXPECT_EQ(Walk(h, 0, 0, true), byName);
    EXPECT_EQ(Walk(h, 0, 0, false), std::vector<std::string>(byName.rbegin(), byName.rend()));

    ASSERT_EQ(K().SetSortOrder(h, 0).lRc, 0);
    ASSERT_EQ(K().First(h).lRc, 0);
    ASSERT_EQ(K().Next(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "1001");
    ASSERT_EQ(K().SetSortOrder(h, 1).lRc, 0);  // 1001 is last by name
    EXPECT_EQ(K().Next(h).lRc, ADK_ERR_END_OF_TABLE);
    ASSERT_EQ(K().Previous(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "1003");
    ASSERT_EQ(K().SetSortOrder(h, 0).lRc, 0);
    ASSERT_EQ(K().Previous(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "1002");
    ASSERT_EQ(K().SetSortOrder(h, 1).lRc, 0);
    ASSERT_EQ(K().Next(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "1000");
    K().DeleteStruct(h);
}

struct FindCase {
    const char* what;
    int table, sort, field;
    const char* text;  // nullptr: the number below
    double number;
    const char* found;  // key of the record found, nullptr: 115
};

TEST_F(DemoCompany, FindMatchesTheSetKeyFieldsOfTheSortOrder) {
    const FindCase cases[] = {
        {"exact", 0, 0, 0, "1001", 0, "1001"},
        {"letter case", 1, 16, 0, "a100", 0, "A100"},
        {"trailing blanks", 1, 16, 0, "A100  ", 0, "A100"},
        {"leading blanks count", 1, 16, 0, "  A100", 0, nullptr},
        {"Nordic letters folded", 0, 1, 1,
         "\xC5SA \xD6"
         "BERG AB",
         0, "1001"},
        {"no such article", 1, 16, 0, "A999", 0, nullptr},
        {"number exact", 2, 9, 0, nullptr, 2, "2"},
        {"number not rounded", 2, 9, 0, nullptr, 1.5, nullptr},
        {"customer's contacts", 69, 191, 3, "1001", 0, "1"},
        {"orders of a customer", 2, 49, 14, "1002", 0, "2"},
    };
    for (const auto& c : cases) {
        AdkHandle h = K().CreateData(c.table);
        ASSERT_EQ(K().SetSortOrder(h, c.sort).lRc, 0) << c.what;
        if (c.text)
            K().SetStr(h, c.field, c.text);
        else
            K().SetDouble(h, c.field, c.number);
        AdkErrorRec e = K().Find(h);
        if (c.found) {
            ASSERT_EQ(e.lRc, 0) << c.what;
            EXPECT_EQ(Key(h, c.table, 0), c.found) << c.what;
        } else {
            EXPECT_EQ(e.lRc, ADK_ERR_NOT_FOUND) << c.what;
        }
        K().DeleteStruct(h);
    }
}

TEST_F(DemoCompany, FieldsOutsideTheKeyDoNotTakePartInAFind) {
    AdkHandle h = K().CreateData(0);
    K().SetStr(h, 0, "1002");
    K().SetStr(h, 1, "A changed name");
    K().SetStr(h, 7, "Kiruna");
    ASSERT_EQ(K().Find2(h, 1).lRc, 0);
    // The record found replaces what the structure held; nothing is marked set any more.
    EXPECT_EQ(GetStr(h, 1), "Bengt Berg");
    EXPECT_EQ(GetStr(h, 7), "Ume\xE5");
    ASSERT_EQ(K().Next(h).lRc, 0);
    EXPECT_EQ(GetStr(h, 0), "1003");
    K().DeleteStruct(h);
}

TEST_F(DemoCompany, AFindReadsTheRowsOfAHead) {
    AdkHandle h = K().CreateData(2);
    K().SetDouble(h, 0, 1);
    ASSERT_EQ(K().FindEx(h, 1).lRc, 0);
    double count = 0;
    K().GetDouble(h, 104, &count);
    EXPECT_EQ(count, 3);
    const char* articles[] = {"A100", "A200", ""};
    for (int i = 0; i < 3; ++i) {
        AdkHandle row;
        ASSERT_EQ(K().GetData(h, 103, i, &row).lRc, 0);
        EXPECT_EQ(GetStr(row, 0), articles[i]);
        double radnr = 0;
        K().GetDouble(row, 31, &radnr);
        EXPECT_EQ(radnr, i + 1);
    }
    AdkHandle row;
    EXPECT_EQ(K().GetData(h, 103, 3, &row).lRc, ADK_ERR_ROW_INDEX);
    K().DeleteStruct(h);
}

TEST_F(DemoCompany, AFilterKeepsOnlyEqualValuesUntilTheSortOrderIsSetAgain) {
    AdkHandle h = K().CreateData(0);
    ASSERT_EQ(K().SetFilter(h, 7, "=G\xD6TEBORG", 0).lRc, 0);
    EXPECT_EQ(Walk(h, 0, 0, true), (std::vector<std::string>{"1001", "1003"}));
    K().SetStr(h, 0, "1002");
    EXPECT_EQ(K().Find(h).lRc, ADK_ERR_NOT_FOUND);
    ASSERT_EQ(K().SetSortOrder(h, 0).lRc, 0);
    EXPECT_EQ(Walk(h, 0, 0, true), (std::vector<std::string>{"1001", "1002", "1003"}));
    ASSERT_EQ(K().SetFilter(h, 37, "=PL2", 0).lRc, 0);
    EXPECT_EQ(Walk(h, 0, 0, true), (std::vector<std::string>{}));
    EXPECT_EQ(K().SetFilter(h, 7, "Ume\xE5", 0).lRc, ADK_ERR_VALUE_REFUSED);
    EXPECT_EQ(K().SetFilter(h, 5, "=x", 0).lRc, ADK_ERR_INVALID_NUMBER);
    K().DeleteStruct(h);

    AdkHandle prices = K().CreateData(37);
    ASSERT_EQ(K().SetFilter(prices, 2, "=10", 0).lRc, 0);
    EXPECT_EQ(Walk(prices, 37, 3, true), (std::vector<std::string>{"9"}));
    EXPECT_EQ(K().SetFilter(prices, 2, "=ten", 0).lRc, ADK_ERR_VALUE_REFUSED);
    K().DeleteStruct(prices);
}

TEST_F(DemoCompany, AFindOnParcelsLeavesTheRangeOfTheOrder) {
    AdkHandle h = K().CreateData(53);
    K().SetDouble(h, 11, 1);
    ASSERT_EQ(K().Find(h).lRc, 0);
    ASSERT_EQ(K().First(h).lRc, 0);
    std::vector<std::string> parcels;
    AdkErrorRec e{};
    do {
        double order = 0;
        K().GetDouble(h, 11, &order);
        EXPECT_EQ(order, 1);
        parcels.push_back(Key(h, 53, 0));
        e = K().Next(h);
    } while (e.lRc == 0);
    EXPECT_EQ(e.lRc, ADK_ERR_END_OF_TABLE);
    EXPECT_EQ(parcels, (std::vector<std::string>{"1", "3"}));
    // Found again with its own number beside its order's, a parcel is found itself, and the walk
    // goes on from it within the order.
    for (double parcel : {1.0, 3.0}) {
        K().ResetStruct(h);
        K().SetDouble(h, 11, 1);
        K().SetDouble(h, 0, parcel);
        ASSERT_EQ(K().Find(h).lRc, 0);
        EXPECT_EQ(Key(h, 53, 0), parcel == 1 ? "1" : "3");
        e = K().Next(h);
        EXPECT_EQ(e.lRc, parcel == 1 ? 0 : ADK_ERR_END_OF_TABLE);
        if (e.lRc == 0) EXPECT_EQ(Key(h, 53, 0), "3");
    }
    // An order without parcels: the find answers 115 and the range is empty.
    K().ResetStruct(h);
    K().SetDouble(h, 11, 5);
    EXPECT_EQ(K().Find(h).lRc, ADK_ERR_NOT_FOUND);
    EXPECT_EQ(K().First(h).lRc, ADK_ERR_BEGIN_OF_TABLE);
    // Setting the sort order again ends the range.
    ASSERT_EQ(K().SetSortOrder(h, 152).lRc, 0);
    EXPECT_EQ(Walk(h, 53, 0, true).size(), 3u);
    K().DeleteStruct(h);
}

TEST_F(DemoCompany, ASortOrderOfAnotherTableIsRefused) {
    AdkHandle h = K().CreateData(0);
    AdkErrorRec e = K().SetSortOrder(h, 16);  // the article number order
    EXPECT_EQ(e.lRc, ADK_ERR_SORT_ORDER);
    EXPECT_EQ(e.lDbTable, 0);
    EXPECT_EQ(K().SetSortOrder(h, -1).lRc, ADK_ERR_SORT_ORDER);
    AdkHandle rows = K().CreateDataRow(3, 1);
    EXPECT_EQ(K().SetSortOrder(K().GetDataRow(rows, 0), 0).lRc, ADK_ERR_BAD_HANDLE);
    K().DeleteStruct(rows);
    K().DeleteStruct(h);
}

}  // namespace
}  // namespace tv::kit_test
