#include "platform/rtl/text_file.h"

#include "platform/rtl/streams.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace tv {
namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* rule;
    std::string bytes;
    std::string text;
    TextEncoding encoding;
};
const ReadCase kReadCases[] = {
    {"a UTF-8 BOM decides",
     "\xEF\xBB\xBF"
     "åa"s,
     "åa", TextEncoding::Utf8Bom},
    {"a UTF-16 LE BOM decides",
     "\xFF\xFE"
     "a\0\xE5\0\xAC\x20"s,
     "aå€", TextEncoding::Utf16LE},
    {"a UTF-16 BE BOM decides",
     "\xFE\xFF"
     "\0a\0\xE5"s,
     "aå", TextEncoding::Utf16BE},
    {"valid UTF-8 without a BOM is UTF-8", "\xC3\xA5\xE2\x82\xAC"s, "å€", TextEncoding::Utf8},
    {"anything else is Windows-1252", "\xE5\x80\r\n"s, "å€\r\n", TextEncoding::Ansi},
    {"one bad byte makes it all Windows-1252", "\xC3\xA5 \xE5"s, "Ã¥ å", TextEncoding::Ansi},
    {"plain ASCII is read as it is", "a\r\nb"s, "a\r\nb", TextEncoding::Utf8},
    {"an empty file is empty text", ""s, "", TextEncoding::Utf8},
};

TEST(TextFile, ReadTextFileDetectsBomUtf8AndWindows1252) {
    test::TempDir dir;
    for (const auto& c : kReadCases) {
        TextEncoding detected{};
        EXPECT_EQ(ReadTextFile(dir.Write("t.txt", c.bytes), &detected), c.text) << c.rule;
        EXPECT_EQ(detected, c.encoding) << c.rule;
    }
}

TEST(TextFile, AnsiFilesAreWindows1252WithCrLfAndNoBom) {
    test::TempDir dir;
    WriteAnsiTextFile(dir.Path("a.txt"), "å\nb€\r\nc\rd 中");
    EXPECT_EQ(dir.Read("a.txt"), "\xE5\r\nb\x80\r\nc\r\nd ?");

    WriteTextFile(dir.Path("u.txt"), "a\nb", TextEncoding::Utf16LE);
    EXPECT_EQ(dir.Read("u.txt"),
              "\xFF\xFE"
              "a\0\r\0\n\0b\0"s);
    WriteTextFile(dir.Path("lf.txt"), "a\r\nb", TextEncoding::Utf8, "\n");
    EXPECT_EQ(dir.Read("lf.txt"), "a\nb");
    EXPECT_EQ(ReadTextFile(dir.Path("a.txt")), "å\r\nb€\r\nc\r\nd ?");
}

TEST(TextFile, FailuresRaiseTheFileErrors) {
    test::TempDir dir;
    EXPECT_THROW(ReadTextFile(dir.Path("missing.txt")), EFOpenError);
    EXPECT_THROW(WriteAnsiTextFile(dir.Path("no/folder/x.txt"), "x"), EFCreateError);
    EXPECT_THROW(ReadFileBytes(std::string("a\0b", 3)), EFOpenError);
}

}  // namespace
}  // namespace tv
