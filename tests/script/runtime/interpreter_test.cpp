#include <gtest/gtest.h>

#include "platform/rtl/math_error.h"
#include "program.h"

namespace tv::script {
namespace {

using test::Code;
using test::Operand;
using test::Program;

int32_t IntOf(TPSVariant* v) {
    return Load<int32_t>(v->Data());
}

TEST(Interpreter, ALoopAddsUpOneToTen) {
    Program p;
    const uint32_t sum = p.b.Var(p.s32, "SUM");
    Code c;
    auto loop = c.NewLabel(), end = c.NewLabel();
    c.PushNew(p.s32).Assign(Operand::Local(0), Operand::ConstS32(p.s32, 1));  // i := 1
    c.PushNew(p.u8);                                                          // condition
    c.Bind(loop);
    c.Compare(cmpLessEqual, Operand::Local(1), Operand::Local(0), Operand::ConstS32(p.s32, 10));
    c.JumpIfZero(end, Operand::Local(1));
    c.Calc(calcAdd, Operand::Global(sum), Operand::Local(0));
    c.Unary(opIncrement, Operand::Local(0));
    c.Jump(loop);
    c.Bind(end);
    c.Pop().Pop().Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(IntOf(p.Global(sum)), 55);
    EXPECT_EQ(p.exec.Status(), isLoaded);
}

// function Add(a, b: Integer; var calls: Integer): Integer; calls := calls + 1; Result := a + b.
uint32_t AddFunction(Program& p) {
    Code f;
    f.Assign(Operand::Param(0), Operand::Param(1));
    f.Calc(calcAdd, Operand::Param(0), Operand::Param(2));
    f.Unary(opIncrement, Operand::Param(3));
    f.Return();
    return p.b.Proc(f, "ADD", "6 @6 @6 !6");
}

TEST(Interpreter, CallsPassValuesAndReferencesAndReturnResults) {
    Program p;
    const uint32_t log = p.LogRoutine();
    const uint32_t calls = p.b.Var(p.s32, "CALLS");
    Code c;
    c.PushNew(p.s32);        // local 0: the result
    const uint32_t add = 2;  // after LOG and the main procedure
    // Arguments last to first, then a reference to the result.
    c.PushRef(Operand::Global(calls));
    c.PushNew(p.s32).Assign(Operand::Local(2), Operand::ConstS32(p.s32, 7));
    c.PushNew(p.s32).Assign(Operand::Local(3), Operand::ConstS32(p.s32, 5));
    c.PushRef(Operand::Local(0));
    c.Call(add).Pop().Pop().Pop().Pop();
    test::EmitLog(c, log, p.s32, Operand::Local(0), 1);
    c.Pop().Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_EQ(AddFunction(p), add);
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.log, std::vector<std::string>{"12"});
    EXPECT_EQ(IntOf(p.Global(calls)), 1);
}

TEST(Interpreter, RecursionReturnsThroughEveryFrame) {
    Program p;
    const uint32_t result = p.b.Var(p.s32, "R");
    // function Fact(n): Integer; if n <= 1 then Result := 1 else Result := n * Fact(n - 1)
    Code f;
    auto recurse = f.NewLabel();
    f.PushNew(p.u8);
    f.Compare(cmpLessEqual, Operand::Local(0), Operand::Param(1), Operand::ConstS32(p.s32, 1));
    f.JumpIfZero(recurse, Operand::Local(0));
    f.Assign(Operand::Param(0), Operand::ConstS32(p.s32, 1)).Pop().Return();
    f.Bind(recurse);
    f.PushNew(p.s32).Assign(Operand::Local(1), Operand::Param(1));
    f.Calc(calcSubtract, Operand::Local(1), Operand::ConstS32(p.s32, 1));
    f.PushRef(Operand::Param(0));
    f.Call(1).Pop().Pop();
    f.Calc(calcMultiply, Operand::Param(0), Operand::Param(1));
    f.Pop().Return();
    Code c;
    c.PushNew(p.s32).Assign(Operand::Local(0), Operand::ConstS32(p.s32, 10));
    c.PushRef(Operand::Global(result)).Call(1).Pop().Pop().Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    p.b.Proc(f, "FACT", "6 @6");
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(IntOf(p.Global(result)), 3628800);
}

TEST(Interpreter, ArrayElementsOutsideTheArrayGiveTheirIndexAndLength) {
    for (int32_t index : {3, -1}) {
        Program p;
        const uint32_t arr = p.b.Array(p.s32);
        const uint32_t a = p.b.Var(arr, "A");
        const uint32_t i = p.b.Var(p.s32, "I");
        const uint32_t x = p.b.Var(p.s32, "X");
        Code c;
        c.Assign(Operand::Global(i), Operand::ConstS32(p.s32, index));
        c.Assign(Operand::Global(x), Operand::ElemVar(a, i)).Return();
        p.b.Main(p.b.Proc(c, "!MAIN"));
        ASSERT_TRUE(p.Load());
        ResizeDynamicArray(p.Global(a)->Data(), p.exec.GetTypeNo(arr), 3);
        EXPECT_FALSE(p.Run());
        EXPECT_EQ(p.exec.ExceptionCode(), erCustomError);
        EXPECT_EQ(p.exec.ExceptionString(),
                  "Out Of Range! Element index is out of Array range: Element Index is " +
                      std::to_string(index) + ", Array length = 3");
        EXPECT_EQ(p.exec.Status(), isPaused);
    }
}

TEST(Interpreter, AFieldNumberBeyondTheRecordIsOutOfRange) {
    Program p;
    const uint32_t rec = p.b.Record({p.s32, p.s32});
    const uint32_t r = p.b.Var(rec, "R");
    Code c;
    c.Assign(Operand::Elem(r, 2), Operand::ConstS32(p.s32, 1)).Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionCode(), ErOutOfRange);
}

// Log of a constant text through LOG, as local `slot`.
void LogText(Program& p, Code& c, uint32_t log, std::string_view text, uint32_t slot) {
    test::EmitLog(c, log, p.ansi, Operand::ConstString(p.ansi, text), slot);
}

TEST(Interpreter, AReturnInsideTryFinallyRunsTheFinallyPartFirst) {
    Program p;
    const uint32_t log = p.LogRoutine();
    Code f;
    auto fin = f.NewLabel(), end = f.NewLabel();
    f.PushFrame(fin, Code::kNone, Code::kNone, end);
    LogText(p, f, log, "try", 0);
    f.Return();
    f.PopFrame(frameEndTry);
    f.Bind(fin);
    LogText(p, f, log, "finally", 0);
    f.PopFrame(frameEndFinally);
    f.Bind(end);
    LogText(p, f, log, "after", 0);
    f.Return();
    Code c;
    c.Call(2);
    LogText(p, c, log, "main", 0);
    c.Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    p.b.Proc(f, "P");
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.log, (std::vector<std::string>{"'try'", "'finally'", "'main'"}));
}

TEST(Interpreter, NestedFinallyPartsRunInnermostFirst) {
    Program p;
    const uint32_t log = p.LogRoutine();
    Code c;
    auto outerFin = c.NewLabel(), outerEnd = c.NewLabel(), innerFin = c.NewLabel(), innerEnd = c.NewLabel();
    c.PushFrame(outerFin, Code::kNone, Code::kNone, outerEnd);
    c.PushFrame(innerFin, Code::kNone, Code::kNone, innerEnd);
    c.Return();
    c.PopFrame(frameEndTry);
    c.Bind(innerFin);
    LogText(p, c, log, "inner", 0);
    c.PopFrame(frameEndFinally);
    c.Bind(innerEnd);
    c.PopFrame(frameEndTry);
    c.Bind(outerFin);
    LogText(p, c, log, "outer", 0);
    c.PopFrame(frameEndFinally);
    c.Bind(outerEnd);
    LogText(p, c, log, "not reached", 0);
    c.Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.log, (std::vector<std::string>{"'inner'", "'outer'"}));
}

// Logs the current exception as the except part sees it, and the recorded error beside it.
bool SeeException(TPSExec& exec, TPSExternalProcRec& rec, TPSStack&, TPSStack&) {
    auto* p = static_cast<Program*>(rec.FExt1);
    p->log.push_back(ErrorToText(exec.LastEx(), exec.LastExParam()) + " / recorded " +
                     ErrorToText(exec.ExceptionCode(), exec.ExceptionString()));
    return true;
}

TEST(Interpreter, AnExceptPartSeesTheErrorAndTheRunGoesOn) {
    Program p;
    const uint32_t log = p.LogRoutine();
    const uint32_t see = p.b.External("SEE");
    p.exec.RegisterFunctionName("SEE", SeeException, &p, nullptr);
    Code c;
    auto except = c.NewLabel(), end = c.NewLabel();
    c.PushNew(p.s32);
    c.PushFrame(Code::kNone, except, Code::kNone, end);
    c.Calc(calcDivide, Operand::Local(0), Operand::ConstS32(p.s32, 0));
    LogText(p, c, log, "not reached", 1);
    c.PopFrame(frameEndTry);
    c.Bind(except);
    c.Call(see);
    c.PopFrame(frameEndExcept);
    c.Bind(end);
    LogText(p, c, log, "after", 1);
    c.Pop().Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.log, (std::vector<std::string>{"divide by Zero / recorded No Error", "'after'"}));
}

TEST(Interpreter, AnErrorInsideTryFinallyIsRaisedAgainAfterTheFinallyPart) {
    Program p;
    const uint32_t log = p.LogRoutine();
    const uint32_t see = p.b.External("SEE");
    p.exec.RegisterFunctionName("SEE", SeeException, &p, nullptr);
    Code c;
    auto except = c.NewLabel(), end = c.NewLabel(), fin = c.NewLabel(), innerEnd = c.NewLabel();
    c.PushFrame(Code::kNone, except, Code::kNone, end);
    c.PushFrame(fin, Code::kNone, Code::kNone, innerEnd);
    c.Op(10);  // an invalid opcode
    c.PopFrame(frameEndTry);
    c.Bind(fin);
    LogText(p, c, log, "finally", 0);
    c.PopFrame(frameEndFinally);
    c.Bind(innerEnd);
    c.PopFrame(frameEndTry);
    c.Bind(except);
    c.Call(see);
    c.PopFrame(frameEndExcept);
    c.Bind(end);
    c.Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.log, (std::vector<std::string>{"'finally'", "Invalid Opcode / recorded No Error"}));
}

TEST(Interpreter, AnUnhandledErrorPausesTheRunAndStopCleansUp) {
    Program p;
    Code c;
    c.PushNew(p.uni).Op(10).Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionCode(), erInvalidOpcode);
    EXPECT_EQ(p.exec.Status(), isPaused);
    p.exec.Stop();
    EXPECT_EQ(p.exec.Status(), isLoaded);
    // A new run starts from the beginning and fails the same way.
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionCode(), erInvalidOpcode);
}

bool ReturnFalse(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    return false;
}
bool ThrowDivision(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    throw EDivByZero("Division by zero");
}
bool ThrowScriptError(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    throw EPSException("my own words", &exec, 7, 9);
}
bool ThrowOther(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    throw std::runtime_error("strange");
}
bool ThrowMath(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    throw EOverflow("Floating point overflow");
}

struct HostFailureCase {
    TPSProcPtr routine;
    TPSError error;
    const char* text;
};

TEST(Interpreter, HostRoutineFailuresBecomeScriptErrors) {
    const HostFailureCase cases[] = {
        {ReturnFalse, erCouldNotCallProc, "Could not call proc"},
        {ThrowDivision, ErDivideByZero, "divide by Zero"},
        {ThrowScriptError, erCustomError, "my own words"},
        {ThrowOther, erException, "Exception: strange"},
        {ThrowMath, ErMathError, "Math error"},
    };
    for (const auto& hc : cases) {
        Program p;
        const uint32_t host = p.b.External("HOST");
        p.exec.RegisterFunctionName("HOST", hc.routine, nullptr, nullptr);
        Code c;
        c.Call(host).Return();
        p.b.Main(p.b.Proc(c, "!MAIN"));
        ASSERT_TRUE(p.Load());
        EXPECT_FALSE(p.Run());
        EXPECT_EQ(p.exec.ExceptionCode(), hc.error) << hc.text;
        EXPECT_EQ(ErrorToText(p.exec.ExceptionCode(), p.exec.ExceptionString()), hc.text);
    }
}

TEST(Interpreter, TheExceptionObjectOfAHostErrorIsKept) {
    Program p;
    const uint32_t host = p.b.External("HOST");
    p.exec.RegisterFunctionName("HOST", ThrowDivision, nullptr, nullptr);
    Code c;
    c.Call(host).Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionString(), "Division by zero");
    EXPECT_THROW(p.exec.RaiseCurrentException(), EDivByZero);
}

TEST(Interpreter, BadInstructionsAreRecordedNeverIgnored) {
    struct Case {
        std::string code;
        TPSError error;
    };
    Program p0;
    const Case cases[] = {
        {std::string(1, '\x0A'), erInvalidOpcode},
        {std::string("\x00\x07\x00\x00\x00\x00", 6), erInvalidOpcodeParameter},  // operand kind 7
        {std::string("\x05\xFF\x00\x00\x00", 5), erOutOfProcRange},
        {std::string("\x04", 1), erOutOfStackRange},  // nothing to pop
        {std::string("\x06\x00", 2), ErOutOfRange},   // a jump cut short
        {std::string("\x0B\x99\x00\x00\x00", 5), erInvalidType},
        {std::string("\x14\x00", 2), ErOutOfRange},  // no frame to pop
        {std::string("\xFF", 1), ErOutOfRange},      // running past the end
    };
    for (const auto& bc : cases) {
        Program p;
        Code c;
        c.Raw(bc.code);
        p.b.Main(p.b.Proc(c, "!MAIN"));
        ASSERT_TRUE(p.Load());
        EXPECT_FALSE(p.Run());
        EXPECT_EQ(p.exec.ExceptionCode(), bc.error) << int(static_cast<unsigned char>(bc.code[0]));
        EXPECT_EQ(p.exec.Status(), isPaused);
    }
}

TEST(Interpreter, MissingOrHostMainProceduresDoNotRun) {
    Program p;
    p.b.NoMain();
    ASSERT_TRUE(p.Load());
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionCode(), ErNoError);
    Program q;
    q.b.Main(q.LogRoutine());
    ASSERT_TRUE(q.Load());
    EXPECT_FALSE(q.Run());
    EXPECT_EQ(q.exec.ExceptionCode(), erNoMainProc);
    EXPECT_EQ(q.exec.Status(), isLoaded);
}

bool PauseNow(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    exec.Pause();
    return true;
}

TEST(Interpreter, APauseFromAHostRoutineEndsTheRunAndTheNextOneContinues) {
    Program p;
    const uint32_t log = p.LogRoutine();
    const uint32_t pause = p.b.External("PAUSENOW");
    p.exec.RegisterFunctionName("PAUSENOW", PauseNow, nullptr, nullptr);
    Code c;
    LogText(p, c, log, "one", 0);
    c.Call(pause);
    LogText(p, c, log, "two", 0);
    c.Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.exec.Status(), isPaused);
    EXPECT_EQ(p.log, std::vector<std::string>{"'one'"});
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.exec.Status(), isLoaded);
    EXPECT_EQ(p.log, (std::vector<std::string>{"'one'", "'two'"}));
}

TEST(Interpreter, BreakOutOfATryRunsItsFinallyPartAndLeavesTheLoop) {
    Program p;
    const uint32_t log = p.LogRoutine();
    Code c;
    auto loop = c.NewLabel(), fin = c.NewLabel(), end = c.NewLabel(), after = c.NewLabel();
    c.Bind(loop);
    c.PushFrame(fin, Code::kNone, Code::kNone, end);
    LogText(p, c, log, "body", 0);
    c.PopFrame(frameLeave).Jump(after);  // break
    c.PopFrame(frameEndTry);
    c.Bind(fin);
    LogText(p, c, log, "finally", 0);
    c.PopFrame(frameEndFinally);
    c.Bind(end);
    c.Jump(loop);
    c.Bind(after);
    LogText(p, c, log, "after loop", 0);
    c.Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.log, (std::vector<std::string>{"'body'", "'finally'", "'after loop'"}));
}

TEST(Interpreter, BreakOutOfAnExceptPartRunsTheSecondFinallyPart) {
    Program p;
    const uint32_t log = p.LogRoutine();
    Code c;
    auto loop = c.NewLabel(), except = c.NewLabel(), fin2 = c.NewLabel(), end = c.NewLabel(),
         after = c.NewLabel();
    c.Bind(loop);
    c.PushFrame(Code::kNone, except, fin2, end);
    c.Op(10);  // fails
    c.PopFrame(frameEndTry);
    c.Bind(except);
    LogText(p, c, log, "except", 0);
    c.PopFrame(frameLeave).Jump(after);
    c.PopFrame(frameEndExcept);
    c.Bind(fin2);
    LogText(p, c, log, "finally", 0);
    c.PopFrame(frameEndSecondFinally);
    c.Bind(end);
    c.Jump(loop);
    c.Bind(after);
    LogText(p, c, log, "after loop", 0);
    c.Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.log, (std::vector<std::string>{"'except'", "'finally'", "'after loop'"}));
}

// The stack runs out where the return address of a call or a local variable of the procedure it
// enters finds no room; either way the error stands at the call (after its operand).
TEST(Interpreter, RunawayRecursionStopsWithAnErrorAtTheCall) {
    for (const uint32_t elements : {1u, 100000u}) {
        SCOPED_TRACE(elements);
        Program p;
        const uint32_t local = p.b.StaticArray(p.s32, elements);
        Code f;
        f.PushNew(local).PushNew(p.s32).Call(1).Return();  // the call at 10, its operand to 14
        Code c;
        c.Call(1).Return();
        p.b.Main(p.b.Proc(c, "!MAIN"));
        p.b.Proc(f, "DEEP");
        ASSERT_TRUE(p.Load());
        EXPECT_FALSE(p.Run());
        EXPECT_EQ(p.exec.ExceptionCode(), erOutOfStackRange);
        EXPECT_EQ(p.exec.ExceptionProcNo(), 1);
        EXPECT_EQ(p.exec.ExceptionPos(), 15);
        p.exec.Stop();
    }
}

TEST(Interpreter, AfterANormalEndTheStackIsEmptyAndCleanupResetsGlobalsWhenAsked) {
    Program p;
    const uint32_t g = p.b.Var(p.s32, "G");
    Code c;
    c.PushNew(p.uni).Assign(Operand::Global(g), Operand::ConstS32(p.s32, 4)).Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(IntOf(p.Global(g)), 4);
    p.exec.FCallCleanup = true;
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(IntOf(p.Global(g)), 0);
}

}  // namespace
}  // namespace tv::script

namespace tv::script {
namespace {

TEST(Interpreter, ErrorsCarryTheirProcedureAndPosition) {
    test::Program p;
    test::Code f;
    f.Op(opNop).Op(opNop).Op(10);
    test::Code c;
    c.Call(1).Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    p.b.Proc(f, "INNER");
    ASSERT_TRUE(p.Load());
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    p.exec.FOnException = [&](TPSExec&, TPSError, const std::string&, std::exception_ptr, uint32_t proc,
                              uint32_t pos) { seen.emplace_back(proc, pos); };
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.exec.ExceptionProcNo(), 1);
    EXPECT_EQ(p.exec.ExceptionPos(), 3);  // just after the opcode that failed
    EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, uint32_t>>{{1, 3}}));
}

}  // namespace
}  // namespace tv::script

namespace tv::script {
namespace {

TEST(Interpreter, AReturnWaitingForAFinallyPartSurvivesACallInsideIt) {
    test::Program p;
    const uint32_t log = p.LogRoutine();
    // procedure Note: logs "note".  procedure P: try exit finally Note end; logs "after" (not reached).
    test::Code note;
    test::EmitLog(note, log, p.ansi, test::Operand::ConstString(p.ansi, "note"), 0);
    note.Return();
    test::Code f;
    auto fin = f.NewLabel(), end = f.NewLabel();
    f.PushFrame(fin, test::Code::kNone, test::Code::kNone, end);
    f.Return();
    f.PopFrame(frameEndTry);
    f.Bind(fin);
    f.Call(3);
    f.PopFrame(frameEndFinally);
    f.Bind(end);
    test::EmitLog(f, log, p.ansi, test::Operand::ConstString(p.ansi, "after"), 0);
    f.Return();
    test::Code c;
    c.Call(2).Return();
    p.b.Main(p.b.Proc(c, "!MAIN"));
    p.b.Proc(f, "P");
    p.b.Proc(note, "NOTE");
    ASSERT_TRUE(p.Load());
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.log, std::vector<std::string>{"'note'"});
}

}  // namespace
}  // namespace tv::script
