// Every statement kind nested in every other, generated from fixed seeds: each program must compile
// and pass the verifier (stack depths agree on every path, including breaks and continues that leave
// with, case and try statements, and exits from inside them).

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "script/common/inspect/verifier.h"
#include "script_test_support.h"

namespace tv::script::test {
namespace {

class ProgramGenerator {
public:
    explicit ProgramGenerator(uint32_t seed) : rng_(seed) {}

    std::string Program() {
        std::string body = Statements(0, false, 4);
        return "type TR = record fa, fb: Integer; end;\n"
               "var i, j, k: Integer; b: Boolean; s: string; r: TR; st: array[1..5] of Integer; "
               "arr: array of Integer;\n"
               "procedure Helper(a: Integer; var c: Integer); begin c := a + c; end;\n"
               "function Rec(a: Integer): TR; begin Result.fa := a; end;\n"
               "function Twice(a: Integer): Integer;\nbegin\n" +
               Statements(0, false, 2) +
               "  Result := a * 2;\nend;\n"
               "begin\n" +
               body + "end.\n";
    }

private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

    std::string Expr(int depth) {
        switch (depth > 2 ? Pick(4) : Pick(10)) {
            case 0:
                return std::to_string(Pick(20));
            case 1:
                return "i";
            case 2:
                return "r.fa";
            case 3:
                return "st[" + std::to_string(1 + Pick(5)) + "]";
            case 4:
                return "(" + Expr(depth + 1) + " + " + Expr(depth + 1) + ")";
            case 5:
                return Expr(depth + 1) + " * " + Expr(depth + 1);
            case 6:
                return "Twice(" + Expr(depth + 1) + ")";
            case 7:
                return "st[j]";
            case 8:  // a field of a call's record result: the call is written while the expression is read
                return "Rec(" + Expr(depth + 1) + ").fb";
            default:
                return "Length(s) - " + Expr(depth + 1);
        }
    }

    std::string Cond(int depth) {
        switch (Pick(5)) {
            case 0:
                return "b";
            case 1:
                return Expr(depth) + " < " + Expr(depth);
            case 2:
                return "(" + Expr(depth) + " = 3) and not b";
            case 3:
                return "s = 'x'";
            default:
                return "(i > j) or (k <> 2)";
        }
    }

    std::string Statements(int depth, bool inLoop, int count) {
        std::string out;
        for (int n = 1 + Pick(count); n > 0; --n)
            out += Indent(depth + 1) + Statement(depth + 1, inLoop) + ";\n";
        return out;
    }

    std::string Indent(int depth) { return std::string(static_cast<size_t>(depth) * 2, ' '); }

    std::string Block(int depth, bool inLoop) {
        return "begin\n" + Statements(depth, inLoop, 3) + Indent(depth) + "end";
    }

    std::string Statement(int depth, bool inLoop) {
        int kinds = depth > 5 ? 6 : 18;
        switch (Pick(kinds)) {
            case 0:
                return "i := " + Expr(0);
            case 1:
                return "st[" + std::to_string(1 + Pick(5)) + "] := " + Expr(0);
            case 2:
                return "s := s + 'x'";
            case 3:
                return "Helper(" + Expr(0) + ", j)";
            case 4:
                return inLoop ? (Pick(2) ? "break" : "continue") : "Inc(k)";
            case 5:
                return Pick(6) == 0 ? "exit" : "r.fb := r.fa";
            case 6:
                return "if " + Cond(0) + " then " + Block(depth, inLoop) +
                       (Pick(2) ? " else " + Block(depth, inLoop) : "");
            case 7:
                return "while " + Cond(0) + " do " + Block(depth, true);
            case 8:
                return "repeat\n" + Statements(depth, true, 2) + Indent(depth) + "until " + Cond(0);
            case 9:
                return "for i := " + Expr(0) + (Pick(2) ? " to " : " downto ") + Expr(0) + " do " +
                       Block(depth, true);
            case 10: {
                std::string c = "case " + Expr(0) + " of\n";
                c += Indent(depth + 1) + "1: " + Block(depth + 1, inLoop) + ";\n";
                c += Indent(depth + 1) + "2..4, 7: " + Block(depth + 1, inLoop) + ";\n";
                if (Pick(2)) c += Indent(depth + 1) + "else " + Block(depth + 1, inLoop) + ";\n";
                return c + Indent(depth) + "end";
            }
            case 11:
                return "with r do " + Block(depth, inLoop);
            case 12:
                return "try\n" + Statements(depth, inLoop, 2) + Indent(depth) + "finally\n" +
                       Statements(depth, inLoop, 2) + Indent(depth) + "end";
            case 13:
                return "try\n" + Statements(depth, inLoop, 2) + Indent(depth) + "except\n" +
                       Statements(depth, inLoop, 2) + Indent(depth) + "end";
            case 14:
                return "try\n" + Statements(depth, inLoop, 2) + Indent(depth) + "finally\n" +
                       Statements(depth, inLoop, 1) + Indent(depth) + "except\n" +
                       Statements(depth, inLoop, 1) + Indent(depth) + "end";
            case 15:
                return "try\n" + Statements(depth, inLoop, 2) + Indent(depth) + "except\n" +
                       Statements(depth, inLoop, 1) + Indent(depth) + "finally\n" +
                       Statements(depth, inLoop, 1) + Indent(depth) + "end";
            case 16:
                return "with r do if fa > fb then " + Block(depth, inLoop);
            default:
                return Block(depth, inLoop);
        }
    }

    std::mt19937 rng_;
};

TEST(Nesting, GeneratedProgramsCompileAndVerify) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        std::string text = ProgramGenerator(seed).Program();
        CompileResult r = CompileScript(text);
        ASSERT_TRUE(r.ok) << "seed " << seed << "\n" << r.AllMessages() << text;
        for (const std::string& p : VerifyContainer(r.output))
            ADD_FAILURE() << "seed " << seed << ": " << p << "\n" << text;
    }
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Text that nests `n` levels deep (or chains `n` operators) in one way.
struct DeepCase {
    const char* what;
    std::function<std::string(int)> text;
};

const DeepCase kDeepCases[] = {
    {"parentheses",
     [](int n) { return "var x: Integer; begin x := " + Repeat("(", n) + "1" + Repeat(")", n) + "; end."; }},
    {"unary minus", [](int n) { return "var x: Integer; begin x := " + Repeat("-", n) + "1; end."; }},
    {"calls",
     [](int n) {
         return "function F(x: Integer): Integer; begin Result := x; end;\nvar i: Integer; begin i := " +
                Repeat("F(", n) + "1" + Repeat(")", n) + "; end.";
     }},
    {"indexes",
     [](int n) {
         return "var a: array of Integer; begin a[" + Repeat("a[", n) + "0" + Repeat("]", n) + "] := 1; end.";
     }},
    {"an operator chain",
     [](int n) {
         std::string e = "a";
         for (int i = 1; i < n; ++i) e += " + a";
         return "var x, a: Integer; begin x := " + e + "; end.";
     }},
    {"case labels",
     [](int n) {
         std::string labels = "0";
         for (int i = 1; i < n; ++i) labels += ", " + std::to_string(i);
         return "var i: Integer; begin case i of " + labels + ": i := 1; end; end.";
     }},
    {"if statements",
     [](int n) { return "var b: Boolean; begin " + Repeat("if b then ", n) + "b := True; end."; }},
    {"else branches",
     [](int n) {
         return "var i: Integer; begin " + Repeat("if i = 1 then i := 1 else ", n) + "i := 2; end.";
     }},
    {"begin blocks", [](int n) { return "begin " + Repeat("begin ", n) + Repeat("end; ", n) + "end."; }},
    {"try statements",
     [](int n) {
         return "var i: Integer; begin " + Repeat("try ", n) + "i := 1; " + Repeat("finally end; ", n) +
                "end.";
     }},
    {"records",
     [](int n) {
         return "type T = " + Repeat("record a: ", n) + "Integer; " + Repeat("end; ", n) + "begin end.";
     }},
    {"arrays", [](int n) { return "type T = " + Repeat("array of ", n) + "Integer; begin end."; }},
    {"constant parentheses",
     [](int n) { return "const C = " + Repeat("(", n) + "1" + Repeat(")", n) + "; begin end."; }},
    {"a constant chain",
     [](int n) {
         std::string e = "1";
         for (int i = 1; i < n; ++i) e += " + 1";
         return "const C = " + e + "; begin end.";
     }},
};

// Text nested far too deeply ends the compile with an error, never by exhausting the stack; the
// depths scripts use compile.
TEST(Nesting, TooDeepTextIsAnErrorAndUsualDepthsCompile) {
    for (const DeepCase& k : kDeepCases) {
        CompileResult deep = CompileScript(k.text(100000));
        EXPECT_FALSE(deep.ok) << k.what;
        EXPECT_EQ(deep.FirstError().code, ecCustomError) << k.what;
        EXPECT_EQ(deep.FirstError().param, "Nesting too deep") << k.what;
        CompileResult usual = CompileScript(k.text(100));
        EXPECT_TRUE(usual.ok) << k.what << "\n" << usual.AllMessages();
    }
    // A long chain of operators, such as a text joined from many fields, is not nesting.
    std::string fields = "s";
    for (int i = 1; i < 800; ++i) fields += " + ';' + s";
    CompileResult joined = CompileScript("var s, t: string; begin t := " + fields + "; end.");
    EXPECT_TRUE(joined.ok) << joined.AllMessages();
}

}  // namespace
}  // namespace tv::script::test
