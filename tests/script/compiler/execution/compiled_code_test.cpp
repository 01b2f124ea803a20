// Statements whose compiled code is checked by what it prints when it runs.

#include <gtest/gtest.h>

#include <sstream>

#include "tools/psrun/runner/script_runner.h"

namespace tv::script {
namespace {

struct RunCase {
    const char* statements;
    const char* printed;
};

std::string Printed(const std::string& declarations, const std::string& statements) {
    std::ostringstream out;
    const TScriptRun run = RunScriptText(declarations + "begin\n" + statements + "\nend.\n", out);
    if (!run.Compiled) return "not compiled: " + (run.Messages.empty() ? "" : run.Messages.front());
    if (!run.Ran) return out.str() + "error: " + run.Error;
    return out.str();
}

const char* const kVars = "var s: string; c: Char; w: UnicodeString; i: Integer; b: Byte; big: Int64;\n";

TEST(CompiledCode, AnyStringResultsOfACharacterAreTexts) {
    const RunCase cases[] = {
        {"Print('[' + PadL('7', 3) + ']');", "[  7]\n"},  // a Char literal: the result is a text
        {"c := 'x'; s := PadR(c, 3); Print('[' + s + ']');", "[x  ]\n"},
        {"c := 'q'; Print(UpperCase(c) + PadZ('5', 2));", "Q05\n"},
        {"w := PadL(#$263A, 3); Print(IntToStr(Length(w)));", "3\n"},  // a WideChar: a UnicodeString
        {"s := PadL('ab', 4); Print('[' + s + ']');", "[  ab]\n"},     // texts keep their own type
    };
    for (const RunCase& k : cases) EXPECT_EQ(Printed(kVars, k.statements), k.printed) << k.statements;
}

TEST(CompiledCode, ChrOfAnyInteger) {
    const RunCase cases[] = {
        {"i := 66; Print(Chr(i));", "B\n"},
        {"i := 1; Print(Chr(Ord('a') + i));", "b\n"},
        {"big := 321; Print(Chr(big));", "A\n"},                  // the low byte: 321 - 256 = 65
        {"i := 300; c := Chr(i); Print(c + Chr(300));", ",,\n"},  // computed and folded alike
        {"b := 67; Print(Chr(b));", "C\n"},
        {"i := 13; s := 'a' + Chr(i) + Chr(10); Print(IntToStr(Length(s)) + IntToStr(Ord(s[2])));", "313\n"},
    };
    for (const RunCase& k : cases) EXPECT_EQ(Printed(kVars, k.statements), k.printed) << k.statements;
}

// A field of a call's record result is read through code written while the expression is parsed;
// conditions of loops run it before every turn, and its temporaries never stay on the stack across
// a break or a continue.
TEST(CompiledCode, FieldsOfCallResultsInConditions) {
    const char* const decls =
        "type TR = record a: Integer; end;\n"
        "var n, k, i, s: Integer;\n"
        "function F: TR; begin n := n + 1; Result.a := n; end;\n"
        "function G(x: Integer): TR; begin Result.a := x * 2; end;\n";
    const RunCase cases[] = {
        // F runs before every turn: 1 and 2 enter the body, 3 ends the loop.
        {"n := 0; k := 0;\n"
         "while F().a < 3 do begin k := k + 1; if k > 5 then break; end;\n"
         "Print(IntToStr(n) + ' ' + IntToStr(k));",
         "3 2\n"},
        // A continue tests the condition, F included.
        {"n := 0; k := 0;\n"
         "repeat k := k + 1; if k = 1 then continue; until F().a >= 3;\n"
         "Print(IntToStr(n) + ' ' + IntToStr(k));",
         "3 3\n"},
        {"s := 0;\n"
         "for i := 1 to 5 do begin n := i - 1; if F().a = 3 then break; s := s + i; end;\n"
         "Print(IntToStr(s) + ' ' + IntToStr(i));",
         "3 3\n"},
        {"s := 0;\n"
         "for i := 1 to 5 do begin n := i - 1; case F().a of 2: continue; 4: break; end; s := s + i; end;\n"
         "Print(IntToStr(s) + ' ' + IntToStr(i));",
         "4 4\n"},
        {"Print(IntToStr(G(G(4).a).a) + ' ' + IntToStr(G(1).a + G(G(2).a).a));", "16 10\n"},
    };
    for (const RunCase& k : cases) EXPECT_EQ(Printed(decls, k.statements), k.printed) << k.statements;
}

struct CompareCase {
    const char* folded;
    const char* computed;
    const char* value;  // what both print
};

// Comparisons of constant texts and characters fold to what the same comparison computes.
TEST(CompiledCode, FoldedTextComparisonsAgreeWithComputedOnes) {
    const CompareCase cases[] = {
        {"'B' > 'A'", "cb > ca", "T"},        {"'a' < 'B'", "la < cb", "F"},  // byte order: 'a' is 97, 'B' 66
        {"'abc' < 'abd'", "s1 < s2", "T"},    {"'ab' >= 'abc'", "s3 >= s1", "F"},  // a prefix orders first
        {"'abc' <= 'abc'", "s1 <= s1", "T"},  {"'A' <> 'a'", "ca <> la", "T"},
        {"#$263A > 'a'", "w > la", "T"},       // wide text by UTF-16 code unit
        {"'z' < '\xC3\xA5'", "lz < ae", "T"},  // "å" is byte 229 in Windows-1252, after ASCII
    };
    std::string decls =
        "var ca, cb, la, lz, ae: Char; s1, s2, s3: string; w: UnicodeString;\n"
        "function B(x: Boolean): string; begin if x then Result := 'T' else Result := 'F'; end;\n";
    std::string statements =
        "ca := 'A'; cb := 'B'; la := 'a'; lz := 'z'; ae := '\xC3\xA5'; s1 := 'abc'; s2 := 'abd'; s3 := 'ab'; "
        "w := #$263A;\n";
    std::string expected;
    for (const CompareCase& k : cases) {
        statements += "Print(B(" + std::string(k.folded) + ") + B(" + k.computed + "));\n";
        expected += std::string(k.value) + k.value + "\n";
    }
    EXPECT_EQ(Printed(decls, statements), expected);
}

// Single-byte text joined with wide text gives a UnicodeString, folded as computed.
TEST(CompiledCode, FoldedTextJoinedWithWideTextKeepsItsCharacters) {
    const char* const decls =
        "var c: Char; a: AnsiString; w: WideChar; r, t: UnicodeString;\n"
        "function H(const x: UnicodeString): string; var k: Integer;\n"
        "begin Result := ''; for k := 1 to Length(x) do Result := Result + IntToStr(Ord(x[k])) + '.'; end;\n";
    EXPECT_EQ(Printed(decls,
                      "c := 'a'; a := 'ab'; w := #$263A;\n"
                      "r := 'a' + #$263A; t := c + w; Print(H(r) + ' ' + H(t));\n"
                      "r := 'ab' + #$263A; t := a + w; Print(H(r) + ' ' + H(t));"),
              "97.9786. 97.9786.\n97.98.9786. 97.98.9786.\n");
}

// Texts order byte by byte whatever the distance between the first bytes that differ.
TEST(CompiledCode, TextComparisonsAtEveryByteDistance) {
    const char* const decls =
        "var s, t: AnsiString; k: Integer;\n"
        "function B(x: Boolean): string; begin if x then Result := 'T' else Result := 'F'; end;\n";
    EXPECT_EQ(Printed(decls,
                      "t := 'A';\n"
                      "for k := 1 to 4 do begin s := Chr(65 + k);\n"
                      "  Print(B(s > t) + B(s = t) + B(s <> t) + B(s >= t) + B(t < s) + B(t <= s)); end;"),
              "TFTTTT\nTFTTTT\nTFTTTT\nTFTTTT\n");
}

// An integer on the left of a comparison with a real or Currency value compares as that type, as a
// comparison of constants folds.
TEST(CompiledCode, IntegersCompareWithRealsAndCurrency) {
    const char* const decls =
        "var i: Integer; c: Currency; w: Word; s: Single; l: Int64; d: Double; bt: Byte;\n"
        "function B(x: Boolean): string; begin if x then Result := 'T' else Result := 'F'; end;\n";
    const RunCase cases[] = {
        {"i := 0; c := 12.5; Print(B(i < c) + B(0 < c) + B(i > c));", "TTF\n"},
        {"w := 3; s := 2.5; Print(B(w > s) + B(w <= s));", "TF\n"},
        {"l := 10; d := 9.99; Print(B(l >= d) + B(l = d));", "TF\n"},
        {"bt := 2; Print(B(bt = 2.0) + B(bt <> 2.5) + B(Byte(2) < 2.5));", "TTT\n"},
        {"c := 12.5; i := 0; Print(B(c > i));", "T\n"},  // a Currency on the left took integers already
    };
    for (const RunCase& k : cases) EXPECT_EQ(Printed(decls, k.statements), k.printed) << k.statements;
}

// A LongWord or LongInt divided by an Int64, and a LongInt compared with one, take the whole 64-bit
// value, folded as computed.
TEST(CompiledCode, FoldedIntegersWithAnInt64RightAgreeWithComputedOnes) {
    const CompareCase cases[] = {
        {"IntToStr(10 div 4294967296)", "IntToStr(i div big)", "0"},  // not a division by zero
        {"IntToStr(10 mod 4294967297)", "IntToStr(i mod big1)", "10"},
        {"IntToStr(-7 mod 4294967297)", "IntToStr(m mod big1)", "-7"},
        {"IntToStr(Cardinal(10) div 4294967296)", "IntToStr(u div big)", "0"},
        {"B(1 < 4294967296)", "B(one < big)", "T"},
        {"B(1 = 4294967297)", "B(one = big1)", "F"},
        {"B(Cardinal(10) < 4294967296)", "B(u < big)", "F"},       // a LongWord takes the low 32 bits
        {"IntToStr(1 + 4294967296)", "IntToStr(one + big)", "1"},  // so do + - *, typed as the left
    };
    std::string decls =
        "var i, m, one: Integer; u: Cardinal; big, big1: Int64;\n"
        "function B(x: Boolean): string; begin if x then Result := 'T' else Result := 'F'; end;\n";
    std::string statements = "i := 10; m := -7; one := 1; u := 10; big := 4294967296; big1 := 4294967297;\n";
    std::string expected;
    for (const CompareCase& k : cases) {
        statements += "Print(" + std::string(k.folded) + " + ' ' + " + k.computed + ");\n";
        expected += std::string(k.value) + " " + k.value + "\n";
    }
    EXPECT_EQ(Printed(decls, statements), expected);
}

}  // namespace
}  // namespace tv::script
