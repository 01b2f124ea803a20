#include "platform/rtl/codepage.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(Codepage, EveryWindows1252ByteSurvivesTheRoundTripThroughUtf8AndUtf16) {
    for (int b = 0; b < 256; ++b) {
        std::string ansi(1, static_cast<char>(b));
        std::string utf8 = Cp1252ToUtf8(ansi);
        EXPECT_TRUE(IsValidUtf8(utf8)) << b;
        EXPECT_EQ(Utf8ToCp1252(utf8), ansi) << b;
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(utf8)), utf8) << b;
    }
}

struct Cp1252Case {
    unsigned char byte;
    char32_t unicode;
};
constexpr Cp1252Case kCp1252Cases[] = {
    {0x80, 0x20AC},  // euro sign
    {0x8A, 0x0160},  // S caron
    {0x9F, 0x0178},  // Y diaeresis
    {0x81, 0x0081},  // undefined byte: its C1 control
    {0xC5, 0x00C5},  // Å, as in Latin-1
    {0xE4, 0x00E4},  // ä
    {0x41, 0x0041},
};

TEST(Codepage, Windows1252HighRangeMapsAsTheCodePageDoes) {
    for (const auto& c : kCp1252Cases) {
        EXPECT_EQ(Cp1252ToUnicode(c.byte), c.unicode) << int(c.byte);
        EXPECT_EQ(UnicodeToCp1252(c.unicode), c.byte) << int(c.byte);
    }
    EXPECT_EQ(UnicodeToCp1252(0x4E2D), -1);  // a CJK character has no byte
}

TEST(Codepage, SwedishLettersAndEuroConvertBothWays) {
    const std::string utf8 = "åäö€";
    EXPECT_EQ(Utf8ToCp1252(utf8), "\xE5\xE4\xF6\x80");
    EXPECT_EQ(Cp1252ToUtf8("\xE5\xE4\xF6\x80"), utf8);
    EXPECT_EQ(Utf8ToLatin1(utf8), "\xE5\xE4\xF6?");  // Latin-1 has no euro
    EXPECT_EQ(Utf8ToCp1252("a\xE4\xB8\xAD" "b"), "a?b");
}

TEST(Codepage, Windows1252HoldsATextExactlyWhenNothingWouldBeReplaced) {
    EXPECT_TRUE(Cp1252Holds(""));
    EXPECT_TRUE(Cp1252Holds("Åsa Öberg € “citat” œ"));
    EXPECT_FALSE(Cp1252Holds("Иван"));
    EXPECT_FALSE(Cp1252Holds("a\xE4\xB8\xAD" "b"));
    EXPECT_FALSE(Cp1252Holds("\xFF"));  // not UTF-8: no character at all
}

struct DetectCase {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    std::string text;
};

TEST(Codepage, TextFilesAreDecodedByBomThenUtf8ValidityThenAnsi) {
    const DetectCase cases[] = {
        {"utf8 bom", std::string("\xEF\xBB\xBF") + "\xC3\xA5r", TextEncoding::Utf8Bom, "år"},
        {"utf16le bom", std::string("\xFF\xFE\xE5\x00r\x00", 6), TextEncoding::Utf16LE, "år"},
        {"utf16be bom", std::string("\xFE\xFF\x00\xE5\x00r", 6), TextEncoding::Utf16BE, "år"},
        {"valid utf8", "\xC3\xA5r", TextEncoding::Utf8, "år"},
        {"ansi", "\xE5r \x80", TextEncoding::Ansi, "år €"},
        {"plain ascii", "abc", TextEncoding::Utf8, "abc"},
    };
    for (const auto& c : cases) {
        TextEncoding found{};
        EXPECT_EQ(DecodeTextBytes(c.bytes, &found), c.text) << c.name;
        EXPECT_EQ(found, c.encoding) << c.name;
    }
}

TEST(Codepage, EncodingThenDecodingGivesTheTextBack) {
    for (auto e : {TextEncoding::Ansi, TextEncoding::Utf8Bom, TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        EXPECT_EQ(DecodeTextBytes(EncodeTextBytes("Örebro €5", e)), "Örebro €5") << int(e);
    }
}

TEST(Codepage, InvalidUtf8IsRecognised) {
    for (const char* bad : {"\xC3", "\xC3(", "\xE2\x82", "\xC0\x80", "\xED\xA0\x80", "\xFF"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));  // a real U+FFFD
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(Codepage, LineEndsAreNormalised) {
    EXPECT_EQ(NormalizeLineEnds("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(NormalizeLineEnds("a\r\n\r\nb", "\n"), "a\n\nb");
}

}  // namespace
}  // namespace tv
