#include <gtest/gtest.h>

#include "script_test_support.h"

namespace tv::script::test {
namespace {

// Declarations every case may use.
const char* const kPrelude =
    "type TR = record a: Integer; end;\n"
    "var x, i: Integer; b: Byte; s: string; a: AnsiString; r: TR; o: TObject; l: TStringList; v: Variant;\n"
    "procedure P; begin end;\n"
    "function F: string; begin end;\n"
    "procedure Q(var n: Integer); begin end;\n";

struct ErrorCase {
    const char* body;   // the statements between begin and end.
    const char* error;  // the first error's text after its position
};

std::string ShortText(const Message& m) {
    size_t at = m.text.find("): ");
    return at == std::string::npos ? m.text : m.text.substr(at + 3);
}

void ExpectErrors(const std::vector<ErrorCase>& cases) {
    const std::string hosts = std::string(TV_FIXTURES_DIR) + "/script/hosts/";
    for (const ErrorCase& k : cases) {
        std::string text = std::string(kPrelude) + "begin\n" + k.body + "\nend.";
        CompileResult r = CompileScript(text, {hosts + "std.decl", hosts + "classes.decl"});
        EXPECT_FALSE(r.ok) << k.body;
        EXPECT_EQ(ShortText(r.FirstError()), k.error) << k.body;
    }
}

TEST(StatementErrors, Expressions) {
    ExpectErrors({
        {"x := 'a' - 1;", "Type mismatch"},
        {"x := (1 + 2;", "Closing parenthesis expected"},
        {"x := Ord 65;", "opening parenthesis ('(')expected"},
        {"x := Succ(1;", "Closing parenthesis expected"},
        {"s := s[1;", "Closing square bracket (']') expected"},
        {"v := [1, 2;", "Closing square bracket (']') expected"},
        {"x := );", "Syntax error"},
        {"x := nope;", "Unknown identifier 'nope'"},
        {"x := r.nope;", "Unknown identifier 'nope'"},
        {"x := @nope;", "Unknown identifier 'nope'"},
        {"x := @1;", "Identifier expected"},
        {"for Integer := 1 to 2 do ;", "Variable Expected"},
        {"x := i[1];", "Semicolon (';') expected"},
        {"x := i.a;", "Semicolon (';') expected"},
        {"F[1] := 'a';", "Variable Expected"},
        {"s := s['a'];", "Type mismatch"},
        {"x := Integer.Create;", "Class type expected"},
        {"x := 'abc';", "Type mismatch"},
        {"x := P + 1;", "Type mismatch"},
        {"x := P;", "Type mismatch"},
        {"o := o as o;", "Type mismatch"},
        {"x := Chr('a');", "Type mismatch"},
        {"x := Ord(1.5);", "Type mismatch"},
        {"x := Succ(s);", "Type mismatch"},
        {"x := Ord(Assigned(i));", "Type mismatch"},
        {"s[1] := 5;", "Type mismatch"},
        {"x := r[0];", "Semicolon (';') expected"},
        {"x := TObject(1.5);", "Type mismatch"},
    });
}

TEST(StatementErrors, Statements) {
    ExpectErrors({
        {"5;", "Identifier expected"},
        {"until x = 1;", "Identifier expected"},
        {"repeat x := 1 end;", "Identifier expected"},
        {"try x := 1; end;", "Identifier expected"},
        {"except", "'END' expected"},
        {"try x := 1; except x := 2; finally x := 3; finally end;", "'END' expected"},
        {"case x of 1: x := 2; else x := 3; x := 4; end;", "'END' expected"},
        {"if x = 1 then x := 2 x := 3;", "Semicolon (';') expected"},
        {"if x = 1 x := 2;", "'THEN' expected"},
        {"while x = 1 x := 2;", "'DO' expected"},
        {"for x := 1 2 do ;", "'TO' expected"},
        {"for x := 1 to 2 x := 3;", "'DO' expected"},
        {"for x 1 to 2 do ;", "Assignment expected"},
        {"case x 1: ;", "'OF' expected"},
        {"case x of 1 x := 2; end;", "colon (':') expected"},
        {"x 5;", "Assignment expected"},
        {"for s := 1 to 2 do ;", "Type mismatch"},
        {"for x := 1 to 'a' do ;", "Type mismatch"},
        {"with x do ;", "Class type expected"},
        {"break;", "Not in a loop"},
        {"if x = 1 then continue;", "Not in a loop"},
        {"goto nowhere;", "Unknown identifier 'nowhere'"},
        {"(1 + x);", "Internal error (20)"},
        {"if 1 then ;", "Type mismatch"},
        {"while s do ;", "Type mismatch"},
    });
}

TEST(StatementErrors, Labels) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"label L;\nbegin\nend.", "[Error] (3:5): Label 'L' not set"},
        {"label L;\nbegin\n  L x := 1;\nend.", "[Error] (3:5): colon (':') expected"},
        {"label L;\nbegin\n  goto L;\n  while True do begin L: end;\nend.", "[Error] (4:29): Invalid jump"},
        {"label L;\nbegin\n  while True do goto L;\n  L:\nend.", "[Error] (3:23): Invalid jump"},
        {"label L;\nbegin\n  try goto L; finally end;\n  L:\nend.", "[Error] (3:15): Invalid jump"},
    };
    for (const Case& k : cases) EXPECT_EQ(CompileScript(k.text).FirstError().text, k.error) << k.text;
    EXPECT_EQ(CompileScript("var x: Integer;\nbegin\n  x := 1;\n").FirstError().text,
              "[Error] (4:1): Unexpected end of file");
    // Jumps within one statement list are fine, backwards too.
    EXPECT_TRUE(CompileScript("label L, M;\nbegin\n  L: goto M;\n  M: goto L;\nend.").ok);
}

TEST(StatementErrors, Calls) {
    ExpectErrors({
        {"s := IntToStr(1 2);", "comma (',') expected"},
        {"s := IntToStr;", "Invalid number of parameters"},
        {"s := IntToStr(1, 2);", "Invalid number of parameters"},
        {"Inc(1);", "Variable Expected"},
        {"Q(b);", "Type mismatch"},  // a var parameter takes only its own type
        {"Q(x + 1);", "Variable Expected"},
        {"x := StrToInt(o);", "Type mismatch"},
        {"x := x(1);", "Type mismatch"},
        {"x := l.;", "Identifier expected"},
        {"l.Nope;", "Unknown identifier 'Nope'"},
        {"x := o[1];", "period ('.') expected"},
        {"x := l.Count := 2;", "Read-only property"},
        {"P(1);", "Invalid number of parameters"},
    });
}

}  // namespace
}  // namespace tv::script::test
