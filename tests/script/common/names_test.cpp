#include "script/common/names.h"

#include <gtest/gtest.h>

#include "script/common/script_list.h"

namespace tv::script {
namespace {

struct HashCase {
    const char* name;
    uint32_t hash;
};
constexpr HashCase kHashCases[] = {
    {"", 0},
    {"A", 65},
    {"AB", 8386},          // (65 rotl 7) + 66
    {"ABCDE", 407953993},  // the fifth step rotates bits out of the top into the bottom
};

TEST(HashName, RotatesLeftBySevenAndAddsEachByte) {
    for (const auto& c : kHashCases) EXPECT_EQ(HashName(c.name), c.hash) << c.name;
}

TEST(AsciiCase, ChangesOnlyTheAsciiLetters) {
    EXPECT_EQ(AsciiUpperCase("abz_AZ09\xE5"), "ABZ_AZ09\xE5");
    EXPECT_EQ(AsciiLowerCase("ABZ_az09\xC5"), "abz_az09\xC5");
}

struct WordCase {
    const char* text;
    const char* first;
    const char* restAfterFirst;
    const char* last;
    const char* restAfterLast;
};
constexpr WordCase kWordCases[] = {
    {"11 !6 @7", "11", "!6 @7", "@7", "11 !6"},
    {"-1", "-1", "", "-1", ""},
    {"", "", "", "", ""},
    {"a  b", "a", " b", "b", "a "},  // only one blank is removed
};

TEST(TakeWord, SplitsAtTheFirstOrLastBlank) {
    for (const auto& c : kWordCases) {
        std::string s = c.text;
        EXPECT_EQ(TakeFirstWord(s), c.first) << c.text;
        EXPECT_EQ(s, c.restAfterFirst) << c.text;
        s = c.text;
        EXPECT_EQ(TakeLastWord(s), c.last) << c.text;
        EXPECT_EQ(s, c.restAfterLast) << c.text;
    }
}

TEST(TPSList, KeepsTheEngineListRules) {
    int a = 1, b = 2;
    TPSList<int*> list;
    EXPECT_EQ(list.Add(&a), 0u);
    list.Add(&b);
    list.Add(&a);
    list.Add(&b);
    list.Add(&b);
    list.Add(&a);
    // The same pointer at 2 and 5: IndexOf answers the highest index, Remove deletes the first.
    EXPECT_EQ(list.IndexOf(&a), 5);
    list.Remove(&a);
    EXPECT_EQ(list.IndexOf(&a), 4);
    EXPECT_EQ(list.GetItem(0), &b);
    // Out-of-range reads give nothing; writes and deletes are ignored.
    EXPECT_EQ(list.GetItem(99), nullptr);
    list.SetItem(99, &a);
    list.Delete(99);
    EXPECT_EQ(list.Count(), 5u);
    EXPECT_EQ(list.IndexOf(nullptr), -1);

    TPSStringList strings;
    strings.Add("x");
    EXPECT_EQ(strings.GetItem(1), "");
}

}  // namespace
}  // namespace tv::script
