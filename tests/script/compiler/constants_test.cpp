#include <gtest/gtest.h>

#include "script/common/inspect/container_reader.h"
#include "script/common/inspect/disassembler.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

// Type numbers of the standard types in every container: 4 Currency, 5 Extended, 8 Int64,
// 10 LongWord, 11 LongInt, 14 ShortInt, 19 AnsiString, 20 UnicodeString, 22 WideChar, 23 Char,
// 27 Boolean, 28 Byte.
struct FoldCase {
    const char* expression;
    const char* result;  // the constant operand as listed ("#type:value"), or the first error
};

// Constant sections: "const C = <expression>;".
const FoldCase kConstSection[] = {
    {"7 div 2", "#11:3"},
    {"7 / 2", "#11:3"},  // "/" on two integers is integer division
    {"7.0 / 2", "#5:3.5"},
    {"-7 mod 2", "#11:-1"},
    {"2 + 3 * 4", "#11:14"},
    {"-2 * 3", "#11:-6"},
    {"1 + 2.5", "#5:3.5"},
    {"'a'", "#23:#97"},  // one character is a Char
    {"'a' + 'b'", "#19:'ab'"},
    {"'a' + #$263A", "#20:u'a'#9786''"},  // joined with wide text: a UnicodeString, nothing lost
    {"'ab' + #$263A#$42", "#20:u'ab'#9786'B'"},
    {"'a'#13'b'", "#19:'a'#13'b'"},
    {"#$41#66", "#19:'AB'"},
    {"#65535", "#22:#65535"},                  // the highest code a WideChar holds
    {"#65536", "[Error] (1:11): Char error"},  // codes no WideChar holds are refused, not cut
    {"'a'#$10000", "[Error] (1:14): Char error"},
    {"#99999999999999999999", "[Error] (1:11): Char error"},
    {"'it''s'", "#19:'it''s'"},
    {"''", "#19:''"},
    {"1 shl 33", "#11:2"},  // the count modulo 32
    {"1 shl 31", "#11:-2147483648"},
    {"$80000000 shr 31", "#10:1"},
    {"4294967296 shl 64", "#8:0"},  // a 64-bit shift by 64 leaves nothing
    {"4294967296 shl 1", "#8:8589934592"},
    {"$FFFFFFFF", "#10:4294967295"},
    {"4294967296", "#8:4294967296"},
    {"2147483647 + 1", "#11:-2147483648"},  // integers wrap
    {"$FFFFFFFF + 1", "#10:0"},
    {"not 0", "#11:-1"},
    {"not $FFFFFFFF", "#10:0"},
    {"5 and 3", "#11:1"},
    {"5 or 3", "#11:7"},
    {"5 xor 3", "#11:6"},
    {"1 < 2", "#27:1"},
    {"2 <= 1", "#27:0"},
    {"1.5 > 2", "#27:0"},
    {"'a' = 'a'", "#27:1"},
    {"'a' <> 'b'", "#27:1"},
    {"'B' > 'A'", "#27:1"},  // texts and characters order byte by byte
    {"'a' < 'B'", "#27:0"},
    {"'abc' >= 'abd'", "#27:0"},
    {"'ab' <= 'abc'", "#27:1"},
    {"#$263A > 'a'", "#27:1"},       // wide text by UTF-16 code unit
    {"10 div 4294967296", "#11:0"},  // a LongInt divides by the whole Int64
    {"1 < 4294967296", "#27:1"},     // and compares with it
    {"1e4000 * 1e4000", "[Error] (1:26): Math Error"},
    {"1 div 0", "[Error] (1:18): Divide by Zero"},
    {"1.5 / 0", "[Error] (1:18): Divide by Zero"},
    {"(-2147483647 - 1) div -1", "[Error] (1:35): Math Error"},
    {"not True", "[Error] (1:19): Type mismatch"},
    {"'a' - 'b'", "[Error] (1:20): Type mismatch"},
    {"'a' 'b'", "[Error] (1:15): Syntax error"},
    {"99999999999999999999", "[Error] (1:11): Math Error"},
    {"(1", "[Error] (1:13): Closing parenthesis expected"},
    {"*", "[Error] (1:11): Syntax error"},
};

std::string MainListing(const CompileResult& r) {
    Container c;
    std::string error;
    if (!ReadContainer(r.output, c, error)) return "unreadable: " + error;
    return DisassembleCode(c, c.procs[c.mainProc].code);
}

// The constant written by "v := ...", or the first error.
std::string Outcome(const CompileResult& r) {
    if (!r.ok) return r.FirstError().text;
    std::string listing = MainListing(r);
    size_t at = listing.find("ASSIGN G0, ");
    if (at == std::string::npos) return listing;
    return listing.substr(at + 11, listing.find('\n', at) - at - 11);
}

TEST(Constants, FoldedInConstantSections) {
    for (const FoldCase& k : kConstSection) {
        std::string text =
            "const C = " + std::string(k.expression) + ";\nvar v: Variant;\nbegin v := C; end.";
        EXPECT_EQ(Outcome(CompileScript(text)), k.result) << k.expression;
    }
}

// Expressions: "begin v := <expression>; end." puts the expression at column 12 of row 2.
const FoldCase kExpressions[] = {
    {"Byte(250) + 10", "#28:4"},  // a Byte wraps at 8 bits
    {"ShortInt(127) + 1", "#14:-128"},
    {"Word(65535) + 2", "#13:1"},
    {"Ord('A')", "#10:65"},
    {"Chr(66)", "#23:#66"},
    {"Char(67)", "[Error] (2:20): Type mismatch"},  // an integer is no Char, even in a cast
    {"LongInt($FFFFFFFF)", "#11:-1"},
    {"Int64(-1)", "#8:-1"},
    {"Byte(-1) shr 4", "#28:15"},
    {"ShortInt(-128) shr 1", "#14:-64"},  // widened with its sign, shifted with zero fill, cut back
    {"Succ(4)", "#11:5"},
    {"Pred(4)", "#11:3"},
    {"not False", "#27:1"},
    {"-(-5)", "#11:5"},
    {"CUR + 1", "#4:25000"},  // Currency: the amount times 10000
    {"CUR * 2", "#4:30000"},
    {"CUR / 4", "#4:3750"},
    {"CUR > 1", "#27:1"},
    // Enumeration constants have their ordinal value, and integers cast to enumerations, cut to the
    // width the enumeration is stored in (one byte here), as the run-time cast stores them.
    {"Ord(True)", "#10:1"},
    {"Ord(s2)", "#10:2"},
    {"LongInt(s3)", "#11:3"},
    {"Byte(False)", "#28:0"},
    {"TSmall(1)", "#29:1"},
    {"Ord(TSmall(258))", "#10:2"},
    {"TSmall(Ord(s3) - 1)", "#29:2"},
    {"Boolean(s1)", "#27:1"},
    {"Succ(s1)", "#29:2"},
    {"Char(s1)", "[Error] (2:20): Type mismatch"},
    {"TSmall('a')", "[Error] (2:23): Type mismatch"},
    {"Double(1)", "[Error] (2:12): Type mismatch"},     // integer constants do not cast to reals
    {"Char(#$263A)", "[Error] (2:12): Type mismatch"},  // nor WideChar constants to Char
    {"1 div 0", "[Error] (2:14): Divide by Zero"},      // at the operator
    // Sets of the host: SA = [s0, s2], SB = [s1, s2] of a set of a four-name enumeration (one byte;
    // the enumeration is numbered 29 when the set, 30, is first written).
    {"SA + SB", "#30:[07]"},  // union
    {"SA - SB", "#30:[01]"},  // difference
    {"SA * SB", "#30:[04]"},  // intersection
    {"SA >= SB", "#27:0"},    // contains
    {"SA <= SA + SB", "#27:1"},
    {"SA = SB", "#27:0"},
    {"SA <> SB", "#27:1"},
    {"s2 in SA", "#27:1"},
    {"s1 in SA", "#27:0"},
};

TEST(Constants, FoldedInExpressions) {
    for (const FoldCase& k : kExpressions) {
        std::string text = "var v: Variant;\nbegin v := " + std::string(k.expression) + "; end.";
        CompileResult r = CompileScript(text, {}, [](TPSPascalCompiler& c) {
            c.OnUses = [](TPSPascalCompiler& comp, const std::string&) {
                comp.AddConstantN("CUR", "Currency")->SetExtended(1.5L);
                comp.AddTypeS("TSmall", "(s0, s1, s2, s3)");
                comp.AddTypeS("TSmalls", "set of TSmall");
                comp.AddConstantN("SA", "TSmalls")->SetSet("\x05");
                comp.AddConstantN("SB", "TSmalls")->SetSet("\x06");
                return true;
            };
        });
        EXPECT_EQ(Outcome(r), k.result) << k.expression;
    }
}

TEST(Constants, Utf8LiteralsWhenAsked) {
    CompileResult r = CompileScript("var v: Variant;\nbegin v := 'K\xC3\xB6r'; end.", {},
                                    [](TPSPascalCompiler& c) { c.UTF8Decode = true; });
    EXPECT_EQ(Outcome(r), "#20:u'K'#246'r'");
    CompileResult bytes = CompileScript("var v: Variant;\nbegin v := 'K\xF6r'; end.");
    EXPECT_EQ(Outcome(bytes), "#19:'K'#246'r'");
    CompileResult wide = CompileScript("var v: Variant;\nbegin v := #$263A; end.");
    EXPECT_EQ(Outcome(wide), "#22:#9786");
}

}  // namespace
}  // namespace tv::script::test
