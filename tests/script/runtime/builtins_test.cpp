#include <gtest/gtest.h>

#include <sstream>

#include "program.h"
#include "tools/psrun/runner/script_runner.h"

namespace tv::script {
namespace {

struct Row {
    const char* body;    // statements, with the variables declared below
    const char* output;  // what they print, or the run-time error when `error` is set
    bool error = false;
};

constexpr const char* kDeclarations =
    "type TPair = record A: LongInt; B: Byte; end;\n"
    "var s, t: string; a: AnsiString; w: WideString; b: Byte; i: Integer; i64: Int64; v: Variant;\n"
    "    p: TPair; o: IUnknown; c: Char;\n";

TEST(Builtins, TheEdgeCasesOfTheLibrary) {
    const Row rows[] = {
        {"Print(IntToStr(StrToInt('12x')));", "-1"},
        {"Print(IntToStr(StrToIntDef('12x', 7)));", "7"},
        {"Print(IntToStr(StrToInt('$1F') + StrToInt(' 5')));", "30"},
        {"i64 := StrToInt64('12x');", "Exception: '12x' is not a valid integer value", true},
        {"Print(IntToStr(StrToInt64Def('x', -2)) + Int64ToStr(StrToInt64('9223372036854775807')));",
         "-29223372036854775807"},
        {"s := ''; Print(IntToStr(Pos(s, 'abc')) + IntToStr(Pos('b', 'abc')));", "02"},
        {"Print(Copy('abcdef', 3, 2) + '|' + Copy('abc', 5, 2) + '|' + Copy('abc', 2, 10) + '|' + "
         "Copy('abc', 0, 2));",
         "cd||bc|ab"},
        {"s := 'AB'; Print(StrGet(s, 1) + StrGet(s, 2) + StrGet2(s, 1));", "ABA"},
        {"s := 'AB'; c := StrGet(s, 0);", "Out of string range", true},
        {"s := 'AB'; c := StrGet(s, 3);", "Out of string range", true},
        {"s := 'AB'; StrSet('x', 3, s);", "Out of string range", true},
        {"s := 'abc'; t := s; WStrSet('X', 2, t); Print(s + ' ' + t);", "abc aXc"},
        {"s := 'abc'; Print(IntToStr(Ord(WStrGet(s, 3))));", "99"},
        {"s := '7'; t := 'abcd'; Print('[' + PadL(s, 3) + '][' + PadZ(s, 3) + '][' + PadR(t, 2) + ']');",
         "[  7][007][abcd]"},
        {"Print(IntToStr(Round(2.5)) + IntToStr(Round(3.5)) + IntToStr(Round(-2.5)) + ' ' + "
         "IntToStr(Trunc(-2.7)));",
         "24-2 -2"},
        {"i := Round(1e30);", "Math error", true},
        {"Print(FloatToStr(1.5) + ' ' + FloatToStr(Int(-2.7)) + ' ' + FloatToStr(Abs(-3)));",
         "1.500000000000 -2.000000000000 3.000000000000"},
        {"Print(FloatToStr(StrToFloat('2.5e1')));", "25.000000000000"},
        {"Print(FloatToStr(StrToFloat('2,5')));", "Exception: Invalid float", true},
        {"Print(FloatToStr(Sqrt(16)) + ' ' + FloatToStr(Pi));", "4.000000000000 3.141592653590"},
        {"Print(FloatToStr(Sqrt(-1)));", "Math error", true},
        {"s := 'åbc'; Print(UpperCase(s) + ' ' + AnsiUpperCase(s) + ' ' + LowerCase('ÅBC') + ' ' + "
         "AnsiLowerCase('ÅBC'));",
         "åBC ÅBC Åbc åbc"},
        {"w := 'åbc'; Print(UpperCase(w));", "ÅBC"},
        {"Print('[' + Trim(#9' x '#13#10) + ']');", "[x]"},
        {"a := 'abc'; Print(IntToStr(Low(a)) + ' ' + IntToStr(High(a)));", "1 3"},
        {"s := 'abc'; i := High(s);", "Could not call proc", true},
        {"v := 12345; Print(IntToStr(Length(v)));", "5"},
        {"b := 255; Inc(b); Print(IntToStr(b)); i := 0; Dec(i); Print(IntToStr(i));", "0\n-1"},
        {"Print(IntToStr(SizeOf(i64)) + ' ' + IntToStr(SizeOf(p)) + ' ' + IntToStr(SizeOf(s)));", "8 5 4"},
        {"if not Assigned(o) then Print('not assigned');", "not assigned"},
        {"Print(ExceptionToString(erCustomError, 'x') + ExceptionToString(ErTypeMismatch, ''));",
         "xType Mismatch"},
        {"Print(StringOfChar('a', 3) + Replicate('b', -1) + '.');", "aaa."},
        {"Print(IntToStr(Low(i)) + ' ' + IntToStr(High(b)));", "-2147483648 255"},
        {"v := Null; Print(IntToStr(VarType(v)) + ' ' + IntToStr(VarType(Unassigned)));", "1 0"},
        {"if VarIsClear(Unassigned) and not VarIsNull(v) then Print('clear');", "clear"},
    };
    for (const Row& r : rows) {
        std::ostringstream out;
        const TScriptRun run =
            RunScriptText(std::string(kDeclarations) + "begin\n" + r.body + "\nend.\n", out);
        ASSERT_TRUE(run.Compiled) << r.body << "\n" << (run.Messages.empty() ? "" : run.Messages.front());
        if (r.error) {
            EXPECT_FALSE(run.Ran) << r.body;
            const std::string text = run.Error.substr(run.Error.find(": ") + 2);
            EXPECT_EQ(text, r.output) << r.body;
        } else {
            EXPECT_TRUE(run.Ran) << r.body << ": " << run.Error;
            EXPECT_EQ(out.str(), std::string(r.output) + "\n") << r.body;
        }
    }
}

using test::Code;
using test::Operand;
using test::Program;

// The routines the compiler hands untyped arguments, called as a script would.
TEST(Builtins, IncludeRefusesAnElementBeyondTheSet) {
    Program p;
    const uint32_t set = p.b.Set(10);
    const uint32_t s = p.b.Var(set, "S");
    const uint32_t m = p.b.Var(p.u8, "M");
    const uint32_t include = p.b.External("INCLUDE", std::string("\0\1\0", 3), true);
    Code c;
    c.Assign(Operand::Global(m), Operand::Const(p.u8, std::string(1, '\x03')));
    c.PushNew(p.u8)
        .Assign(Operand::Local(0), Operand::Global(m))
        .PushRef(Operand::Global(s))
        .Call(include)
        .Pop()
        .Pop();
    c.Assign(Operand::Global(m), Operand::Const(p.u8, std::string(1, '\xC8')));  // 200
    c.PushNew(p.u8)
        .Assign(Operand::Local(0), Operand::Global(m))
        .PushRef(Operand::Global(s))
        .Call(include)
        .Pop()
        .Pop();
    c.Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionCode(), erCouldNotCallProc);
    EXPECT_EQ(Load<uint16_t>(p.Global(s)->Data()), 1u << 3);  // the first one went in, nothing beyond
}

Variant GetNamed(TPSExec&, const std::string& name) {
    return Variant::FromUtf8("value of " + name);
}

TEST(Builtins, NotificationVariantsNeedTheirEvent) {
    for (bool withEvent : {false, true}) {
        Program p;
        const uint32_t get = p.b.External("!NOTIFICATIONVARIANTGET", std::string("\1\0", 2), true);
        const uint32_t log = p.LogRoutine();
        Code c;
        c.PushNew(p.var);
        c.PushNew(p.ansi).Assign(Operand::Local(1), Operand::ConstString(p.ansi, "X"));
        c.PushRef(Operand::Local(0)).Call(get).Pop().Pop();
        test::EmitLog(c, log, p.var, Operand::Local(0), 1);
        c.Pop().Return();
        p.b.Main(p.b.Proc(c, "!MAIN"));
        if (withEvent) p.exec.FOnGetNVariant = GetNamed;
        ASSERT_TRUE(p.Load());
        EXPECT_EQ(p.Run(), withEvent);
        if (withEvent)
            EXPECT_EQ(p.log, std::vector<std::string>{"'value of X'"});
        else
            EXPECT_EQ(p.exec.ExceptionCode(), erCouldNotCallProc);
    }
}

TEST(Builtins, IdispatchInvokeHasNoAutomationToCall) {
    const char* script =
        "var d: IDispatch;\n"
        "begin\n"
        "  try IdispatchInvoke(d, False, 'Foo', []); except Print(ExceptionParam); end;\n"
        "end.\n";
    std::ostringstream out;
    const TScriptRun run = RunScriptText(script, out);
    ASSERT_TRUE(run.Compiled) << (run.Messages.empty() ? "" : run.Messages.front());
    EXPECT_TRUE(run.Ran) << run.Error;
    EXPECT_EQ(out.str(), "Variant is null, cannot invoke\n");
}

}  // namespace
}  // namespace tv::script
