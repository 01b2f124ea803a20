// The text helpers, case by case.

#include <gtest/gtest.h>

#include "core/string_utils.h"

namespace tv {
namespace {

struct TokenCase {
    const char* text;
    const char* separators;
    int index;
    const char* expected;
};
constexpr TokenCase kTokenCases[] = {
    {"a;;b", ";", 0, "a"},          {"a;;b", ";", 1, ""}, {"a;;b", ";", 2, "b"},
    {"a;;b", ";", 3, ""},           {"", ";", 0, ""},     {"a;b,c", ";,", 2, "c"},
    {"20.31.5867", ".", 2, "5867"}, {"abc", ";", -1, ""}, {";", ";", 1, ""},
};

TEST(StringUtils, ExtractTokenCountsEveryTokenBetweenSeparators) {
    for (const auto& c : kTokenCases)
        EXPECT_EQ(ExtractToken(c.text, c.separators, c.index), c.expected) << c.text << " #" << c.index;
}

struct EscapeCase {
    std::string text;
    std::string escaped;
};

TEST(StringUtils, EscapingWritesEachControlCharacterAsItsLetter) {
    const EscapeCase cases[] = {
        {"select *\r\nfrom kund", "select *\\r\\nfrom kund"},
        {"\a\b\t\n\v\f\r\x1B", "\\a\\b\\t\\n\\v\\f\\r\\e"},
        {"say \"hi\"", "say \\\"hi\\\""},
        {"C:\\temp\\new", "C:\\\\temp\\\\new"},
        {"plain ; text", "plain ; text"},
        {"\x01", "\x01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeCString(c.text), c.escaped) << c.text;
        EXPECT_EQ(UnescapeCString(c.escaped), c.text) << c.escaped;  // code 1 included
    }
}

struct UnescapeCase {
    const char* text;
    const char* expected;
};
constexpr UnescapeCase kUnescapeCases[] = {
    {"\\q", "\\q"},      // an unknown escape stays
    {"end\\", "end\\"},  // a backslash at the end stays
    {"\\\\n", "\\n"},    // an escaped backslash, then a letter
    {"\\\\\\n", "\\\n"},
};

TEST(StringUtils, UnescapingLeavesWhatIsNoEscapeAlone) {
    for (const auto& c : kUnescapeCases) EXPECT_EQ(UnescapeCString(c.text), c.expected) << c.text;
}

TEST(StringUtils, SafeFileNamesDropReservedAndControlCharacters) {
    EXPECT_EQ(MakeSafeFileName("Toll: vane/2 <a|b>*?\"x\\y\x01\x1F\tz"), "Toll vane2 abxyz");
    EXPECT_EQ(MakeSafeFileName("Åsa 1.2"), "Åsa 1.2");
}

TEST(StringUtils, ChunksAreBlocksOfLines) {
    TStringList source;
    for (int i = 0; i < 10; ++i) source.Add(std::to_string(i));
    struct Case {
        int chunk, size;
        const char* lines;
    };
    const Case cases[] = {{0, 4, "0,1,2,3"},
                          {2, 4, "8,9"},
                          {3, 4, ""},
                          {0, 0, ""},
                          {1, -1, ""},
                          {-1, 4, ""},
                          {0, 100, "0,1,2,3,4,5,6,7,8,9"},
                          {1000000000, 1000000000, ""}};
    for (const auto& c : cases) {
        auto chunk = GetChunk(source, c.chunk, c.size);
        std::string lines;
        for (int i = 0; i < chunk->Count(); ++i) lines += (i ? "," : "") + chunk->Strings(i);
        EXPECT_EQ(lines, c.lines) << c.chunk << " x " << c.size;
    }
}

}  // namespace
}  // namespace tv
