#include <gtest/gtest.h>

#include "assembler.h"
#include "platform/rtl/codepage.h"
#include "script/compiler/pascal_compiler.h"
#include "script/runtime/binding.h"
#include "script/runtime/debug_exec.h"
#include "test_support.h"

namespace tv::script {
namespace {

using test::U32Bytes;

// A compiled script with its debug stream.
struct Compiled {
    std::string container, debug;
};

Compiled CompileText(const std::string& text) {
    TPSPascalCompiler c;
    c.OnUses = [](TPSPascalCompiler& comp, const std::string& unit) {
        comp.AddFunction("procedure Print(S: string);");
        comp.AddFunction("procedure Where;");
        return unit == "SYSTEM";
    };
    Compiled out;
    EXPECT_TRUE(c.Compile(Utf8ToCp1252(text))) << (c.MsgCount() ? c.Msg(0)->MessageToString() : "");
    c.GetOutput(out.container);
    c.GetDebugOutput(out.debug);
    return out;
}

// Main (procedure 0), the host routines Print and Where, and Inner(X: Integer).
constexpr const char* kTwoProcs = R"(procedure Inner(X: Integer);
begin
  Print('in');
  Where;
end;
begin
  Inner(5);
  Print('out');
end.
)";

std::string Names(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& n : names) s.append(n).push_back('\1');
    s.push_back('\0');
    return s;
}

std::string Position(const char* file, uint32_t proc, uint32_t pos, uint32_t source, uint32_t row,
                     uint32_t col) {
    return std::string("\4") + file + '\1' + U32Bytes(proc) + U32Bytes(pos) + U32Bytes(source) +
           U32Bytes(row) + U32Bytes(col);
}

class DebugExec : public ::testing::Test {
protected:
    void SetUp() override {
        compiled = CompileText(kTwoProcs);
        RegisterNativeCallable(exec, "Print", [this](const std::string& s) { printed += s + "\n"; });
        RegisterNativeCallable(exec, "Where", [this]() {
            uint32_t n = 0;
            stack = exec.GetCallStack(n);
            lines = n;
        });
        ASSERT_TRUE(exec.LoadData(compiled.container));
        inner = static_cast<uint32_t>(exec.GetProc("INNER"));
    }

    Compiled compiled;
    TPSDebugExec exec;
    uint32_t inner = 0;
    std::string printed, stack;
    uint32_t lines = 0;
};

std::string Code(uint8_t code) {
    return std::string(1, static_cast<char>(code));
}

struct StreamCase {
    const char* name;
    std::string stream;
    size_t procNames;
    bool innerKnown;       // Inner has a debug record
    uint32_t innerSource;  // the source position code position 0 of Inner translates to
};

// The tolerant reader: what a stream leaves behind.
TEST_F(DebugExec, TheReaderKeepsWhatItReadAndStopsAtTheFirstFault) {
    const std::string pos = Position("f", inner, 0, 10, 2, 3);
    const StreamCase cases[] = {
        {"names, parameters and a position ending the stream",
         Code(0) + Names({"!MAIN", "INNER"}) + Code(2) + U32Bytes(inner) + Names({"X"}) + pos, 2, true, 10},
        {"a position cut short is dropped (its procedure's record stays, empty)",
         Code(0) + Names({"A"}) + pos.substr(0, pos.size() - 1), 1, true, 0},
        {"procedure number -1 stops reading",
         Code(2) + U32Bytes(inner) + Names({"X"}) + Code(2) + U32Bytes(0xFFFFFFFF) + Names({"Y"}) + Code(0) +
             Names({"LOST"}),
         0, true, 0},
        {"an unknown procedure stops reading",
         Code(0) + Names({"A", "B"}) + Code(3) + U32Bytes(999) + Names({"V"}) + pos, 2, false, 0},
        {"a record code outside 0 to 4 clears everything", Code(0) + Names({"A"}) + pos + Code(5), 0, false,
         0},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.name);
        exec.LoadDebugData(c.stream);
        EXPECT_EQ(exec.ProcNames().size(), c.procNames);
        uint32_t p = 7, r = 0, col = 0;
        std::string fn;
        EXPECT_EQ(exec.TranslatePositionEx(inner, 0, p, r, col, fn), c.innerKnown);
        if (c.innerKnown) {
            EXPECT_EQ(p, c.innerSource);
        }
    }
}

TEST_F(DebugExec, PositionsTranslateToTheEntryAtOrBeforeThem) {
    exec.LoadDebugData(Position("a.pas", inner, 4, 40, 4, 1) + Position("b.pas", inner, 9, 90, 9, 2));
    struct {
        uint32_t code;
        uint32_t pos, row, col;
        const char* file;
    } const cases[] = {
        {0, 0, 0, 0, ""},                                  // before the first entry
        {4, 40, 4, 1, "a.pas"},                            // exactly the first
        {6, 40, 4, 1, "a.pas"},                            // between: the earlier one
        {9, 90, 9, 2, "b.pas"}, {500, 90, 9, 2, "b.pas"},  // after the last
    };
    for (const auto& c : cases) {
        uint32_t p = 7, r = 7, col = 7;
        std::string fn = "x";
        ASSERT_TRUE(exec.TranslatePositionEx(inner, c.code, p, r, col, fn)) << c.code;
        EXPECT_EQ(p, c.pos) << c.code;
        EXPECT_EQ(r, c.row) << c.code;
        EXPECT_EQ(col, c.col) << c.code;
        EXPECT_EQ(fn, c.file) << c.code;
    }
    EXPECT_EQ(exec.TranslatePosition(inner, 6), 40u);
    uint32_t p = 0, r = 0, col = 0;
    std::string fn;
    EXPECT_FALSE(exec.TranslatePositionEx(0, 0, p, r, col, fn)) << "main has no debug record";
    EXPECT_EQ(exec.TranslatePosition(0, 3), 0u);
}

TEST_F(DebugExec, TheCallStackNamesEachFrameWithItsParameters) {
    exec.LoadDebugData(compiled.debug);
    ASSERT_TRUE(exec.RunScript());
    EXPECT_EQ(lines, 2u);
    EXPECT_EQ(stack, "Inner(X: 5)\r\n!MAIN()");
    // Without debug information for the caller.
    ASSERT_TRUE(exec.LoadData(compiled.container));
    std::vector<std::string> names(exec.GetProcCount(), "HOST");
    names[inner] = "INNER";
    exec.LoadDebugData(Code(0) + Names(names) + Code(2) + U32Bytes(inner) + Names({"X"}));
    ASSERT_TRUE(exec.RunScript());
    EXPECT_EQ(stack, "INNER(X: 5)\r\n!MAIN(\?\?\?)");
    uint32_t n = 9;
    EXPECT_EQ(exec.GetCallStack(n), "") << "nothing while no script runs";
    EXPECT_EQ(n, 0u);
}

// Parameters and variables by number inside Inner(X: Integer): X is parameter 0; numbers beyond the
// stack give nil.
TEST_F(DebugExec, ParametersAndVariablesBeyondTheStackAreNil) {
    struct Seen {
        int32_t x = 0;
        bool beyond[4] = {};
    } seen;
    RegisterNativeCallable(exec, "Where", [this, &seen]() {
        TPSVariant* x = exec.GetProcParam(0);
        seen.x = x ? Load<int32_t>(x->Data()) : -1;
        seen.beyond[0] = exec.GetProcParam(UINT32_MAX) == nullptr;
        seen.beyond[1] = exec.GetProcParam(0x80000000u) == nullptr;
        seen.beyond[2] = exec.GetProcVar(UINT32_MAX) == nullptr;
        seen.beyond[3] = exec.GetProcVar(0x7FFFFFFFu) == nullptr;
    });
    ASSERT_TRUE(exec.LoadData(compiled.container));
    ASSERT_TRUE(exec.RunScript());
    EXPECT_EQ(seen.x, 5);
    for (bool nil : seen.beyond) EXPECT_TRUE(nil);
}

// Step over from the main block's first line: the callee's lines fire without pausing, the next line
// of the main block pauses.
TEST_F(DebugExec, StepOverRunsTheCalleeWithoutPausing) {
    exec.LoadDebugData(compiled.debug);
    std::vector<std::string> seen;
    exec.OnSourceLine = [&seen](TPSDebugExec& e, const std::string&, uint32_t, uint32_t row, uint32_t) {
        seen.push_back(std::to_string(row) + (e.DebugMode() == dmPaused ? " paused" : ""));
    };
    int pauses = 0;
    exec.OnIdleCall = [&pauses](TPSDebugExec& e) {
        if (++pauses == 1)
            e.StepOver();
        else
            e.Run();
    };
    exec.StepInto();
    ASSERT_TRUE(exec.RunScript());
    EXPECT_EQ(pauses, 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"7 paused", "3", "4", "5", "8 paused", "9"}));
    EXPECT_EQ(printed, "in\nout\n");
}

TEST_F(DebugExec, WithoutDebuggingTheHookDoesNothing) {
    exec.LoadDebugData(compiled.debug);
    int fired = 0;
    exec.OnSourceLine = [&fired](TPSDebugExec&, const std::string&, uint32_t, uint32_t, uint32_t) {
        ++fired;
    };
    exec.SetDebugEnabled(false);
    ASSERT_TRUE(exec.RunScript());
    EXPECT_EQ(fired, 0);
    exec.SetDebugEnabled(true);
    ASSERT_TRUE(exec.RunScript());
    EXPECT_GT(fired, 0);
}

// A pause asked for by a host routine takes effect before the very next instruction, also where that
// instruction starts no source line (here in the middle of an expression).
TEST(DebugExecPause, APauseFromAHostRoutineHoldsBeforeTheNextInstruction) {
    TPSPascalCompiler c;
    c.OnUses = [](TPSPascalCompiler& comp, const std::string& unit) {
        comp.AddFunction("procedure Print(S: string);");
        comp.AddFunction("function Tag: string;");
        return unit == "SYSTEM";
    };
    ASSERT_TRUE(c.Compile("begin\n  Print('a' + Tag + 'b');\n  Print('c');\nend.\n"));
    std::string container, debug;
    c.GetOutput(container);
    c.GetDebugOutput(debug);
    TPSDebugExec exec;
    std::string printed;
    RegisterNativeCallable(exec, "Print", [&printed](const std::string& s) { printed += s + ";"; });
    RegisterNativeCallable(exec, "Tag", [&exec]() {
        exec.Pause();
        return std::string("x");
    });
    ASSERT_TRUE(exec.LoadData(container));
    exec.LoadDebugData(debug);
    std::vector<std::string> idle;
    exec.OnIdleCall = [&idle, &printed](TPSDebugExec& e) {
        idle.push_back(printed);
        e.Run();
    };
    ASSERT_TRUE(exec.RunScript());
    EXPECT_EQ(idle, std::vector<std::string>{""}) << "held once, before the first line printed";
    EXPECT_EQ(printed, "axb;c;");
}


// The interpreter runs common instruction sequences together (a comparison with its jump, an
// expression computed aside, a string appended to in place, a pointer led to a field of an element,
// a push with its assignment, pops one after another) between source lines. A run that sees every
// instruction (an OnRunLine handler keeps them apart) and one that sees only the source lines must
// meet the same lines, stop after the same line, pause in the same places and fail at the same row
// and column. Each script keeps an Integer s and a string t as its globals 2 and 3.
constexpr const char* kLoopScript = R"(var i, k, s: Integer; t: string;
begin
  s := 0; t := '';
  for i := 1 to 4 do
  begin
    if i * 2 > 3 then s := s + i * 3 + 1;
    t := t + 'x';
    k := (s + i) div (4 - i);
  end;
  Print(t);
end.
)";

// Records in an array reached by index, real arithmetic and calls with parameters; rows[3] is
// beyond the array.
constexpr const char* kRecordScript = R"(type TRow = record Key: Integer; Price: Double; end;
var rows: array of TRow; i, s: Integer; t: string; x: Double;
function Twice(a, b: Integer): Integer; begin Result := a * 2 + b; end;
begin
  SetLength(rows, 3); s := 0; x := 0; t := '';
  for i := 0 to 3 do
  begin
    s := Twice(s, i);
    t := t + 'y';
    rows[i].Key := s;
    rows[i].Price := i * 1.5 + rows[i].Key;
    x := x + rows[i].Price * 0.25;
  end;
  Print(t);
end.
)";

// Integer arithmetic read in place beside Byte and Int64 values, which take the general way, an
// Integer reached through a var parameter, sums that wrap, and a division by zero (i = 3).
constexpr const char* kIntegerScript = R"(var i, k, s: Integer; t: string; b: Byte; w: Int64;
procedure Bump(var n: Integer; d: Byte); begin n := n + d; if n > d then n := n - 1; end;
begin
  s := 2147483600; t := ''; b := 250; w := 0;
  for i := 1 to 4 do
  begin
    b := b + 3;
    if b < i then s := s + 1;
    Bump(s, b);
    w := w + s;
    s := s * 2 + i;
    t := t + 'z';
    k := s mod (3 - i);
  end;
  Print(t);
end.
)";

// Int64 and Double numbers computed aside, read in place: Integer, Int64 and Double operands mixed,
// Int64 products that wrap, values reached through var parameters, and a real division by zero
// (i = 3).
constexpr const char* kNumberScript = R"(var i, k, s: Integer; t: string; x: Double; w, v: Int64; y: Double;
procedure Scale(var r: Double; var n: Int64; d: Integer); begin r := r + r * 0.5; n := n - n * 3 div 7; end;
begin
  s := 7; t := ''; x := 0.25; w := 9223372036854775000; v := 3; y := 0;
  for i := 1 to 4 do
  begin
    w := w * 2 + i;
    v := v + w * w mod 1000;
    x := x + i * 0.5;
    x := x + w * 0.25 * i;
    Scale(x, v, i);
    x := x + v * 0.5;
    s := s + i;
    t := t + 'r';
    y := 3 - i;
    x := x + i * 2.5 / y;
  end;
  Print(t);
end.
)";

// Extended numbers computed aside: Integer, Int64, Single, Double and Extended operands read in
// place, results stored into Extended, Double and Single variables and into ones reached through
// var parameters, and a real division by zero (i = 4).
constexpr const char* kExtendedScript = R"(var i, k, s: Integer; t: string; x: Double; e: Extended; f: Single; w: Int64; y: Double;
procedure Grow(var r: Extended; var q: Double; d: Integer); begin r := r + d * 0.25; q := q * 1.5 + r; end;
begin
  s := 0; t := ''; x := 0.5; e := 1; f := 2; w := 5; y := 0;
  for i := 1 to 4 do
  begin
    e := e * 1.5 + i;
    x := x + e * 0.5 - f;
    f := f + i * 0.25;
    x := x + w * 0.5;
    Grow(e, x, i);
    s := s + i;
    t := t + 'q';
    y := 4 - i;
    x := x + e * 0.5 / y;
  end;
  Print(t);
end.
)";

// Comparisons that decide an if: Integer, Byte, Int64, Double and string pairs taken at once, a
// character pair (and a var parameter) the general way, and a division by zero (i = 4).
constexpr const char* kBranchScript = R"(var i, k, s: Integer; t: string; x: Double; w: Int64; c: Char; b: Byte;
procedure Pick(var n: Integer; const u: string; d: Integer); begin if u < 'bb' then n := n + d else n := n - d; if n >= 10 then n := n - 10; end;
begin
  s := 0; t := ''; x := 0.5; w := 4; c := 'a'; b := 2;
  for i := 1 to 4 do
  begin
    if i > b then s := s + 1;
    if w <> i then s := s + 2;
    if x <= i then x := x * 2;
    if c = 'a' then Pick(s, t, i);
    if b < w then b := b + 1;
    t := t + 'p';
    k := s div (4 - i);
  end;
  Print(t);
end.
)";

// For-loops counted in one step with Integer and Int64 counters, up and down, one that ends at its
// type's limit and one whose bound changes while it runs; real expressions whose operands are all
// globals and constants, into Double and Extended temporaries; and a division by zero (i = 4).
constexpr const char* kCounterScript = R"(var i, k, s: Integer; t: string; x: Double; e: Extended; w, n: Int64; d: Double;
begin
  s := 0; t := ''; x := 0.5; e := 1; n := 3; d := 0.75;
  for i := 1 to 4 do
  begin
    for w := n downto 1 do s := s + 1;
    for w := 9223372036854775805 to 9223372036854775807 do s := s + 2;
    for k := i to n do n := n - 1;
    n := 3;
    x := x + i * 0.5;
    e := e * 1.5 + i;
    x := x - e / 4;
    x := x + d * d;
    t := t + 'c';
    x := x + 1 / (4 - i);
  end;
  Print(t);
end.
)";

// Elements of dynamic and static arrays read and written in place by the number forms: Integer,
// Int64 and Double elements, an index of type Byte, elements compared and passed by reference;
// a[i] is beyond the array when i is 4.
constexpr const char* kElementScript = R"(var a: array of Integer; k, s: Integer; t: string; x: Double; w: array of Int64; d: array of Double; st: array[0..3] of Integer; b: Byte; i: Integer;
procedure Add(var n: Integer; m: Integer); begin n := n + m; end;
begin
  SetLength(a, 4); SetLength(w, 4); SetLength(d, 4); s := 0; t := ''; x := 0; b := 0;
  for i := 0 to 4 do
  begin
    a[i] := i * 3;
    a[i] := a[i] + 1;
    st[b] := st[b] + a[i] * 2;
    if a[i] > st[b] - 5 then s := s + a[b];
    w[b] := w[b] + a[i] * 100000;
    d[b] := d[b] + a[i] * 0.5;
    x := x + d[b] + w[b];
    Add(s, a[i]);
    t := t + 'e';
    b := (b + 1) mod 4;
  end;
  Print(t);
end.
)";

struct LoopRun {
    std::vector<std::string> lines;  // row:col, " paused" where the run held
    std::string printed;
    int32_t s = 0;
    std::u16string t;
    double x = 0;  // global 4 where it is a Double
    uint32_t errorRow = 0, errorCol = 0;
    bool ok = false;
};

// Runs the script; `stopAfter` lines in, the line handler stops the run; `pauseAt` lines in it
// pauses, and the run steps into the next `steps` lines before it runs on.
LoopRun RunLoopScript(const char* script, bool everyInstruction, size_t stopAfter, size_t pauseAt, int steps) {
    const Compiled compiled = CompileText(script);
    TPSDebugExec exec;
    LoopRun run;
    RegisterNativeCallable(exec, "Print", [&run](const std::string& s) { run.printed += s; });
    RegisterNativeCallable(exec, "Where", []() {});
    EXPECT_TRUE(exec.LoadData(compiled.container));
    exec.LoadDebugData(compiled.debug);
    if (everyInstruction) exec.FOnRunLine = [](TPSExec&) {};
    exec.OnSourceLine = [&](TPSDebugExec& e, const std::string&, uint32_t, uint32_t row, uint32_t col) {
        run.lines.push_back(std::to_string(row) + ":" + std::to_string(col) +
                            (e.DebugMode() == dmPaused ? " paused" : ""));
        if (run.lines.size() == pauseAt) e.Pause();
        if (run.lines.size() == stopAfter) e.Stop();
    };
    exec.OnIdleCall = [&steps](TPSDebugExec& e) {
        if (steps-- > 0)
            e.StepInto();
        else
            e.Run();
    };
    run.ok = exec.RunScript();
    run.s = Load<int32_t>(exec.GetGlobalVar(2)->Data());
    run.t = UnicodeString::RawGet(exec.GetGlobalVar(3)->Data()).view();
    if (TPSVariant* x = exec.GetGlobalVar(4); x && x->FType->FBaseType == btDouble)
        run.x = Load<double>(x->Data());
    if (!run.ok) {
        uint32_t pos = 0;
        std::string file;
        exec.TranslatePositionEx(static_cast<uint32_t>(exec.ExceptionProcNo()),
                                 static_cast<uint32_t>(exec.ExceptionPos()), pos, run.errorRow, run.errorCol, file);
    }
    return run;
}

// Runs the script whole, stopped and paused, grouped and one instruction at a time; the whole run
// fails at `errorRow`.
void ExpectGroupedRunsAsEveryInstruction(const char* script, const LoopRun& whole, uint32_t errorRow) {
    EXPECT_EQ(whole.errorRow, errorRow);
    const LoopRun reference = RunLoopScript(script, true, 0, 0, 0);
    EXPECT_EQ(whole.lines, reference.lines);
    EXPECT_EQ(whole.errorRow, reference.errorRow);
    EXPECT_EQ(whole.errorCol, reference.errorCol);
    EXPECT_EQ(whole.x, reference.x);
    EXPECT_EQ(whole.s, reference.s);
    EXPECT_EQ(whole.t, reference.t);
    ASSERT_GT(whole.lines.size(), 12u);
    for (size_t stopAfter : {size_t{3}, size_t{7}, size_t{11}}) {
        const LoopRun stopped = RunLoopScript(script, false, stopAfter, 0, 0);
        const LoopRun expected = RunLoopScript(script, true, stopAfter, 0, 0);
        EXPECT_TRUE(stopped.ok) << stopAfter;
        EXPECT_EQ(stopped.lines.size(), stopAfter);
        EXPECT_EQ(stopped.lines, expected.lines) << stopAfter;
        EXPECT_EQ(stopped.s, expected.s) << stopAfter;
        EXPECT_EQ(stopped.t, expected.t) << stopAfter;
        EXPECT_EQ(stopped.x, expected.x) << stopAfter;
    }
    for (size_t pauseAt : {size_t{2}, size_t{6}}) {
        const LoopRun paused = RunLoopScript(script, false, 0, pauseAt, 4);
        const LoopRun expected = RunLoopScript(script, true, 0, pauseAt, 4);
        EXPECT_EQ(paused.lines, expected.lines) << pauseAt;
        ASSERT_EQ(paused.lines.size(), whole.lines.size()) << pauseAt;
        for (size_t at = 0; at < paused.lines.size(); ++at)
            EXPECT_EQ(paused.lines[at], whole.lines[at] + (at >= pauseAt && at < pauseAt + 4 ? " paused" : ""))
                << "held on the line that paused, then on each of the lines stepped into";
        EXPECT_EQ(paused.errorRow, errorRow);
    }
}

TEST(DebugExecDecoded, LinesStopsPausesAndErrorsMatchARunThatSeesEveryInstruction) {
    const LoopRun whole = RunLoopScript(kLoopScript, false, 0, 0, 0);
    EXPECT_FALSE(whole.ok) << "the division by 4 - i fails when i is 4";
    EXPECT_EQ(whole.printed, "") << "the loop never ended";
    EXPECT_EQ(whole.s, 2 * 3 + 1 + 3 * 3 + 1 + 4 * 3 + 1);
    EXPECT_EQ(whole.t, u"xxxx");
    ExpectGroupedRunsAsEveryInstruction(kLoopScript, whole, 8);
}

TEST(DebugExecDecoded, RecordsRealsAndCallsMatchARunThatSeesEveryInstruction) {
    const LoopRun whole = RunLoopScript(kRecordScript, false, 0, 0, 0);
    EXPECT_FALSE(whole.ok) << "rows[3] is beyond the array";
    EXPECT_EQ(whole.printed, "");
    // s: 0, 1, 4, then 11 when i is 3; Price: i * 1.5 + s.
    EXPECT_EQ(whole.s, 11);
    EXPECT_EQ(whole.t, u"yyyy");
    EXPECT_EQ(whole.x, (0 + 0.0) * 0.25 + (1.5 + 1) * 0.25 + (3.0 + 4) * 0.25);
    ExpectGroupedRunsAsEveryInstruction(kRecordScript, whole, 10);
}

TEST(DebugExecDecoded, IntegersInPlaceMatchARunThatSeesEveryInstruction) {
    const LoopRun whole = RunLoopScript(kIntegerScript, false, 0, 0, 0);
    EXPECT_FALSE(whole.ok) << "s mod (3 - i) fails when i is 3";
    EXPECT_EQ(whole.t, u"zzz");
    // b: 253, 0 (wrapped), 3; s by Bump, then doubled (wrapping) plus i.
    int32_t s = 2147483600;
    for (int32_t i = 1, b = 250; i <= 3; ++i) {
        b = (b + 3) & 0xFF;
        if (b < i) s = static_cast<int32_t>(static_cast<uint32_t>(s) + 1);
        s = static_cast<int32_t>(static_cast<uint32_t>(s) + static_cast<uint32_t>(b));
        if (s > b) s = static_cast<int32_t>(static_cast<uint32_t>(s) - 1);
        s = static_cast<int32_t>(static_cast<uint32_t>(s) * 2u + static_cast<uint32_t>(i));
    }
    EXPECT_EQ(whole.s, s);
    ExpectGroupedRunsAsEveryInstruction(kIntegerScript, whole, 13);
}

TEST(DebugExecDecoded, Int64AndDoubleInPlaceMatchARunThatSeesEveryInstruction) {
    const LoopRun whole = RunLoopScript(kNumberScript, false, 0, 0, 0);
    EXPECT_FALSE(whole.ok) << "i * 2.5 / y fails when i is 3";
    EXPECT_EQ(whole.t, u"rrr");
    EXPECT_EQ(whole.s, 7 + 1 + 2 + 3);
    EXPECT_NE(whole.x, 0.0);
    ExpectGroupedRunsAsEveryInstruction(kNumberScript, whole, 16);
}

TEST(DebugExecDecoded, ExtendedInPlaceMatchesARunThatSeesEveryInstruction) {
    const LoopRun whole = RunLoopScript(kExtendedScript, false, 0, 0, 0);
    EXPECT_FALSE(whole.ok) << "e * 0.5 / y fails when i is 4";
    EXPECT_EQ(whole.t, u"qqqq");
    EXPECT_EQ(whole.s, 1 + 2 + 3 + 4);
    EXPECT_NE(whole.x, 0.0);
    ExpectGroupedRunsAsEveryInstruction(kExtendedScript, whole, 15);
}

TEST(DebugExecDecoded, ComparisonsThatDecideAnIfMatchARunThatSeesEveryInstruction) {
    const LoopRun whole = RunLoopScript(kBranchScript, false, 0, 0, 0);
    EXPECT_FALSE(whole.ok) << "s div (4 - i) fails when i is 4";
    EXPECT_EQ(whole.t, u"pppp");
    // s: 3, 3, 2, then -2 once w = i and 'ppp' is not below 'bb'; x doubled each turn.
    EXPECT_EQ(whole.s, -2);
    EXPECT_EQ(whole.x, 8.0);
    ExpectGroupedRunsAsEveryInstruction(kBranchScript, whole, 13);
}

TEST(DebugExecDecoded, ForLoopStepsAndRealsOfGlobalsMatchARunThatSeesEveryInstruction) {
    const LoopRun whole = RunLoopScript(kCounterScript, false, 0, 0, 0);
    EXPECT_FALSE(whole.ok) << "1 / (4 - i) fails when i is 4";
    EXPECT_EQ(whole.t, u"cccc");
    // Each turn: 3 counted down, 3 up to the limit of Int64 (twice each).
    EXPECT_EQ(whole.s, 4 * (3 + 3 * 2));
    double x = 0.5;
    long double e = 1;
    for (int i = 1; i <= 4; ++i) {
        x = static_cast<double>(x + static_cast<double>(i * 0.5L));
        e = e * 1.5L + i;
        x = static_cast<double>(x - static_cast<double>(e / 4));
        x = static_cast<double>(x + static_cast<double>(0.75L * 0.75L));
        if (i < 4) x += 1 / (4 - i);  // two Integers: an Integer quotient
    }
    EXPECT_EQ(whole.x, x);
    ExpectGroupedRunsAsEveryInstruction(kCounterScript, whole, 15);
}

TEST(DebugExecDecoded, ElementsInPlaceMatchARunThatSeesEveryInstruction) {
    const LoopRun whole = RunLoopScript(kElementScript, false, 0, 0, 0);
    EXPECT_FALSE(whole.ok) << "a[4] is beyond the array";
    EXPECT_EQ(whole.t, u"eeee");
    // a[i] = 3i + 1 and st[i] = 2 a[i]: the if holds for i = 0 and 1; Add adds every a[i].
    EXPECT_EQ(whole.s, (1 + 4) + (1 + 4 + 7 + 10));
    // d[i] = a[i] / 2, w[i] = a[i] * 100000.
    EXPECT_EQ(whole.x, 0.5 * 22 + 100000.0 * 22);
    ExpectGroupedRunsAsEveryInstruction(kElementScript, whole, 7);
}

}  // namespace
}  // namespace tv::script
