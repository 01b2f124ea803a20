#include "platform/rtl/file_mask.h"

#include "platform/rtl/text_compare.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct MaskCase {
    const char* mask;
    const char* name;
    bool matches;
};
constexpr MaskCase kMaskCases[] = {
    {"*.*", "readme", true},  // "*.*" also matches names without a dot
    {"*.*", ".hidden", true},
    {"*", "a.b.c", true},
    {"xformed*.*", "XFORMED_a", true},  // case-insensitive, and ".*" may match nothing
    {"xformed*.*", "xformed_a.xml", true},
    {"xformed*.*", "formed_a", false},
    {"*.xml", "a.xml", true},
    {"*.xml", "A.XML", true},
    {"*.xml", "a.xml.bak", false},
    {"*.xml", "axml", false},
    {"a?c", "abc", true},  // '?' is exactly one character
    {"a?c", "ac", false},
    {"a?c", "abbc", false},
    {"a?c", "aöc", true},  // one character, even when it takes two bytes
    {"plugin*.dll", "PluginFtp.DLL", true},
    {"plugin*.dll", "plugin.dll", true},
    {"ÅÄÖ*", "åäö.txt", true},  // letters beyond ASCII fold too
    {"*a*b*c", "xaxbxxc", true},
    {"*a*b*c", "xaxcxxb", false},
    {"", "", true},
    {"", "a", false},
};

TEST(FileMask, MatchesAsTheWindowsFileFunctionsDo) {
    for (const auto& c : kMaskCases)
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.mask << " " << c.name;
}

struct CompareCase {
    const char* a;
    const char* b;
    int text;  // AnsiCompareText sign
    int str;   // AnsiCompareStr sign
};
constexpr CompareCase kCompareCases[] = {
    {"abc", "ABC", 0, -1},                       // small letters first when only case differs
    {"ABC", "abd", -1, -1}, {"a", "B", -1, -1},  // letters, not code units: "a" before "B"
    {"Å", "ä", 1, 1},                            // folded code points: å (E5) after ä (E4)
    {"ÅSA", "åsa", 0, 1},   {"z", "å", -1, -1},       {"", "a", -1, -1},
    {"a", "", 1, 1},        {"\x80", "\x81", -1, -1},  // bytes that are not UTF-8 stay distinct
};

int Sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(TextCompare, FoldsLettersByATableNotByTheLocale) {
    for (const auto& c : kCompareCases) {
        EXPECT_EQ(Sign(AnsiCompareText(c.a, c.b)), c.text) << c.a << " " << c.b;
        EXPECT_EQ(Sign(AnsiCompareStr(c.a, c.b)), c.str) << c.a << " " << c.b;
    }
    EXPECT_EQ(FoldCase(U'Ÿ'), U'ÿ');
    EXPECT_EQ(FoldCase(U'Š'), U'š');
    EXPECT_EQ(FoldCase(U'Ж'), U'ж');
    EXPECT_EQ(FoldCase(U'×'), U'×');
}

TEST(TextCompare, StartsTextIgnoresCase) {
    EXPECT_TRUE(AnsiStartsText("ab", "Abc"));
    EXPECT_TRUE(AnsiStartsText("ÅS", "åsa"));
    EXPECT_TRUE(AnsiStartsText("", "x"));
    EXPECT_TRUE(AnsiStartsText("abc", "ABC"));
    EXPECT_FALSE(AnsiStartsText("abcd", "abc"));
    EXPECT_FALSE(AnsiStartsText("b", "abc"));
    EXPECT_FALSE(AnsiStartsText("\x80", "\x81"));
}

}  // namespace
}  // namespace tv
