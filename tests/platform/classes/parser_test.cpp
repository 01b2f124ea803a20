#include "platform/rtl/parser.h"
#include "platform/rtl/resource_stream.h"
#include "platform/rtl/streams.h"

#include <gtest/gtest.h>

#include <vector>

namespace tv {
namespace {

struct Tok {
    char kind;
    std::string text;
    int line;
    int64_t pos;
};

std::vector<Tok> Tokens(const std::string& text, int64_t origin = 0) {
    TParser p(text, origin);
    std::vector<Tok> out;
    while (p.Token() != toEOF) {
        out.push_back({p.Token(), p.TokenString(), p.SourceLine(), p.SourcePos()});
        p.NextToken();
    }
    return out;
}

TEST(Parser, AFormTextIsSplitIntoTokensWithLinesAndPositions) {
    const std::string form =
        "object Form1: TForm1\r\n"
        "  Left = -192\n"
        "  Caption = 'It''s'#13#10'ok'\n"
        "  Scale = 1.5E2\n"
        "  Items.Strings = ($1F, 'x')\n"
        "end";
    const std::vector<Tok> expected = {
        {toSymbol, "object", 1, 0}, {toSymbol, "Form1", 1, 7},
        {':', ":", 1, 12},          {toSymbol, "TForm1", 1, 14},
        {toSymbol, "Left", 2, 24},  {'=', "=", 2, 29},
        {toInteger, "-192", 2, 31}, {toSymbol, "Caption", 3, 38},
        {'=', "=", 3, 46},          {toString, "It's\r\nok", 3, 48},
        {toSymbol, "Scale", 4, 68}, {'=', "=", 4, 74},
        {toFloat, "1.5E2", 4, 76},  {toSymbol, "Items", 5, 84},
        {'.', ".", 5, 89},          {toSymbol, "Strings", 5, 90},
        {'=', "=", 5, 98},          {'(', "(", 5, 100},
        {toInteger, "$1F", 5, 101}, {',', ",", 5, 104},
        {toString, "x", 5, 106},    {')', ")", 5, 109},
        {toSymbol, "end", 6, 111},
    };
    const auto got = Tokens(form);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].kind, expected[i].kind) << i;
        EXPECT_EQ(got[i].text, expected[i].text) << i;
        EXPECT_EQ(got[i].line, expected[i].line) << i;
        EXPECT_EQ(got[i].pos, expected[i].pos) << i;
    }
}

TEST(Parser, PositionsCountFromTheOriginOfTheText) {
    EXPECT_EQ(Tokens("  x", 100)[0].pos, 102);
}

TEST(Parser, NumbersConvertAndFloatSuffixesAreKeptApart) {
    TParser p("$FF 42 2.5d 7c -3");
    EXPECT_EQ(p.TokenInt(), 255);
    p.NextToken();
    EXPECT_EQ(p.TokenInt(), 42);
    p.NextToken();
    EXPECT_EQ(p.Token(), toFloat);
    EXPECT_EQ(p.FloatType(), 'd');
    EXPECT_EQ(p.TokenString(), "2.5");
    EXPECT_EQ(p.TokenFloat(), 2.5L);
    p.NextToken();
    EXPECT_EQ(p.Token(), toFloat);  // a suffix makes an integer a float
    EXPECT_EQ(p.TokenFloat(), 7.0L);
    p.NextToken();
    EXPECT_EQ(p.TokenInt(), -3);
    TParser bad("1.2.3");
    EXPECT_THROW(bad.TokenFloat(), EConvertError);
}

TEST(Parser, CharacterCodesAboveAsciiBecomeUnicode) {
    TParser p("#229'r'#8364");
    EXPECT_EQ(p.Token(), toString);
    EXPECT_EQ(p.TokenString(), "år€");
}

TEST(Parser, BinaryDataInBracesIsDecoded) {
    TParser p("Data = {0A0b\n FF} end");
    p.NextToken();
    p.NextToken();
    ASSERT_EQ(p.Token(), '{');
    EXPECT_EQ(p.HexToBinary(), std::string("\x0A\x0B\xFF", 3));
    EXPECT_EQ(p.Token(), '}');
    EXPECT_EQ(p.SourceLine(), 2);
    p.NextToken();
    EXPECT_TRUE(p.TokenSymbolIs("END"));
    TParser bad("{0G}");
    try {
        bad.HexToBinary();
        ADD_FAILURE();
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Message, "Invalid binary value on line 1");
    }
}

TEST(Parser, ComponentIdentsTakeTheirDottedParts) {
    TParser p("Form1.Panel1.Button1 = x");
    EXPECT_EQ(p.TokenComponentIdent(), "Form1.Panel1.Button1");
    p.NextToken();
    EXPECT_EQ(p.Token(), '=');
}

struct CheckCase {
    const char* text;
    char expected;
    const char* message;
};

TEST(Parser, CheckTokenNamesWhatWasExpectedAndTheLine) {
    const CheckCase cases[] = {
        {"\n1", toSymbol, "Identifier expected on line 2"},
        {"x", toString, "String expected on line 1"},
        {"x", toInteger, "Number expected on line 1"},
        {"x", toFloat, "Number expected on line 1"},
        {"x", '=', "'=' expected on line 1"},
    };
    for (const auto& c : cases) {
        TParser p(c.text);
        try {
            p.CheckToken(c.expected);
            ADD_FAILURE() << c.message;
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message, c.message);
        }
    }
    TParser p("object");
    EXPECT_NO_THROW(p.CheckTokenSymbol("OBJECT"));
    try {
        p.CheckTokenSymbol("end");
        ADD_FAILURE();
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Message, "end expected on line 1");
    }
}

TEST(Parser, AnUnterminatedStringRaises) {
    for (const char* text : {"'abc", "'ab\ncd'"}) {
        try {
            TParser p(text);
            ADD_FAILURE() << text;
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message, "Invalid string constant on line 1");
        }
    }
}

TEST(Parser, ANulByteEndsTheText) {
    const auto got = Tokens(std::string("a\0b", 3));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, "a");
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

TEST(Parser, ReadsAStreamFromItsPositionAndWritesBinaryDataToOne) {
    TStringStream in("skip object Data = {CAFE}");
    in.SetPosition(5);
    TParser p(in);
    EXPECT_TRUE(p.TokenSymbolIs("object"));
    EXPECT_EQ(p.SourcePos(), 5);
    p.NextToken();
    p.NextToken();
    p.NextToken();
    TMemoryStream out;
    p.HexToBinary(out);
    EXPECT_EQ(out.Bytes(), "\xCA\xFE");
}

TEST(ResourceStream, ThereAreNoResourcesToOpen) {
    try {
        TResourceStream s(0, "LOGO", "BITMAP");
        ADD_FAILURE();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message, "Resource LOGO not found");
    }
    EXPECT_THROW(TResourceStream(0, 5, "BITMAP"), EResNotFound);
}

}  // namespace
}  // namespace tv
