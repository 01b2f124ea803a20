#include "script/common/ansi_text.h"

#include <gtest/gtest.h>

#include "script/common/byte_io.h"

namespace tv::script {
namespace {

TEST(AnsiText, ConvertsThroughWindows1252) {
    EXPECT_EQ(AnsiToWide("a\xE5\x80"), u"a\u00E5\u20AC");
    EXPECT_EQ(WideToAnsi(u"a\u00E5\u20AC"), "a\xE5\x80");
    EXPECT_EQ(WideToAnsi(u"\u4E2D"), "?");
    EXPECT_EQ(WideToAnsi(u"\U0001F600x"), "?x");  // a surrogate pair is one character
    EXPECT_EQ(Utf8ToWide("K\xC3\xB6r"), u"K\u00F6r");
}

TEST(ByteReader, NeverReadsPastTheEnd) {
    std::string bytes;
    AppendU32(bytes, 5);
    bytes += "abc";  // announces five bytes, holds three
    ByteReader r(bytes);
    std::string_view s;
    EXPECT_FALSE(r.ReadString32(s));
    EXPECT_EQ(r.Position(), 0u);  // a failed counted read leaves the position
    uint32_t n = 0;
    EXPECT_TRUE(r.ReadU32(n));
    EXPECT_EQ(n, 5u);
    uint32_t v = 0;
    EXPECT_FALSE(r.ReadU32(v));
    EXPECT_TRUE(r.ReadBytes(3, s));
    EXPECT_EQ(s, "abc");
    uint8_t b = 0;
    EXPECT_FALSE(r.ReadU8(b));
}

}  // namespace
}  // namespace tv::script
