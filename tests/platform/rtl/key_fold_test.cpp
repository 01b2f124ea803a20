// The one rule by which the company compares key texts, shared by the kit stand-in and the kit
// datasets.

#include "platform/rtl/key_fold.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct KeyCase {
    const char* a;
    const char* b;
    bool same;
};
constexpr KeyCase kKeyCases[] = {
    {"77 ", "77", true},               // trailing blanks are ignored
    {"77", "77   ", true},             //   on either side
    {" 77", "77", false},              // leading blanks are part of the key
    {"a b", "A  B", false},            // so are blanks inside it
    {"", "   ", true},                 // a key of blanks is the empty key
    {"kund-a1", "KUND-A1", true},      // ASCII letters in both cases
    {"åb1", "ÅB1", true},              // the Swedish letters in both cases
    {"ÄÖ", "äö", true},                //
    {"éüñøæ", "ÉÜÑØÆ", true},          // the other Nordic, German and French letters
    {"œ", "Œ", false},                 // the rarer letters compare as written, as the kit's indexes do
    {"a", "á", false},                 // accents are not removed
    {"1001", "01001", false},          // digits compare exactly
    {"2024-01-31", "2024-1-31", false}, // and so do dates
    {"2024-01-31 ", "2024-01-31", true},
};

TEST(KeyFold, KeysCompareWithoutCaseAndTrailingBlanksAndOtherwiseExactly) {
    for (const auto& c : kKeyCases) {
        EXPECT_EQ(SameKeyText(c.a, c.b), c.same) << "\"" << c.a << "\" \"" << c.b << "\"";
        EXPECT_EQ(SameKeyText(c.b, c.a), c.same) << "\"" << c.b << "\" \"" << c.a << "\"";
    }
    EXPECT_EQ(FoldKeyText("åb1 "), "ÅB1");
}

}  // namespace
}  // namespace tv
