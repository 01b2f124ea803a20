#include <gtest/gtest.h>

#include "platform/rtl/math_error.h"
#include "program.h"

namespace tv::script {
namespace {

using test::Code;
using test::Operand;
using test::Program;

// A program whose procedure INNER(x: Integer) logs x and fails for a negative x, and whose main
// calls the host routine CALLBACK inside try/except and logs what happens.
struct Nested {
    Program p;
    uint32_t inner = 0;
    bool returnFalse = false;
    std::vector<int32_t> heights;
    std::vector<bool> results;

    static bool Callback(TPSExec& exec, TPSExternalProcRec& rec, TPSStack&, TPSStack& stack) {
        auto* n = static_cast<Nested*>(rec.FExt1);
        TPSVariant* arg = CreateHeapValue(exec.GetTypeNo(n->p.s32));
        std::vector<TPSVariant*> params{arg};
        for (int32_t x : {5, -1, 6}) {
            Store<int32_t>(arg->Data(), x);
            n->heights.push_back(stack.Count());
            n->results.push_back(exec.RunProc(&params, n->inner));
            n->heights.push_back(stack.Count());
        }
        DestroyHeapValue(arg);
        return !n->returnFalse;
    }

    Nested() {
        const uint32_t log = p.LogRoutine();
        const uint32_t callback = p.b.External("CALLBACK");
        p.exec.RegisterFunctionName("CALLBACK", Callback, this, nullptr);
        Code c;
        auto except = c.NewLabel(), end = c.NewLabel();
        c.PushNew(p.s32);  // something on the stack that must stay
        c.PushFrame(Code::kNone, except, Code::kNone, end);
        c.Call(callback);
        test::EmitLog(c, log, p.ansi, Operand::ConstString(p.ansi, "back"), 1);
        c.PopFrame(frameEndTry);
        c.Bind(except);
        test::EmitLog(c, log, p.ansi, Operand::ConstString(p.ansi, "caught"), 1);
        c.PopFrame(frameEndExcept);
        c.Bind(end);
        c.Pop().Return();
        p.b.Main(p.b.Proc(c, "!MAIN"));
        Code f;
        auto bad = f.NewLabel();
        test::EmitLog(f, log, p.s32, Operand::Param(0), 0);
        f.PushNew(p.u8);
        f.Compare(cmpLess, Operand::Local(0), Operand::Param(0), Operand::ConstS32(p.s32, 0));
        f.JumpIfNotZero(bad, Operand::Local(0));
        f.Pop().Return();
        f.Bind(bad);
        f.Op(10);
        inner = p.b.Proc(f, "INNER", "-1 @" + std::to_string(p.s32));
    }
};

TEST(RunProc, ANestedCallLeavesTheStackAsItFoundItAlsoAfterAnError) {
    Nested n;
    ASSERT_TRUE(n.p.Load());
    n.p.Run();
    EXPECT_EQ(n.results, (std::vector<bool>{true, false, true}));
    for (size_t i = 1; i < n.heights.size(); ++i) EXPECT_EQ(n.heights[i], n.heights[0]) << i;
    // The routine went on after the failed call and returned: the script carries on after it.
    EXPECT_EQ(n.p.log, (std::vector<std::string>{"5", "-1", "6", "'back'"}));
    EXPECT_EQ(n.p.exec.Status(), isLoaded);
}

TEST(RunProc, AnErrorOfANestedCallUnwindsTheCallerWhenTheRoutineFails) {
    Nested n;
    n.returnFalse = true;
    ASSERT_TRUE(n.p.Load());
    // The routine failed after its calls: the script's except part takes over.
    n.p.Run();
    EXPECT_EQ(n.p.log, (std::vector<std::string>{"5", "-1", "6", "'caught'"}));
}

TEST(RunProc, ACallOutsideARunWorksAndANilParameterIsRefused) {
    Nested n;
    ASSERT_TRUE(n.p.Load());
    TPSVariant* arg = CreateHeapValue(n.p.exec.GetTypeNo(n.p.s32));
    Store<int32_t>(arg->Data(), 9);
    std::vector<TPSVariant*> params{arg};
    EXPECT_TRUE(n.p.exec.RunProc(&params, n.inner));
    EXPECT_EQ(n.p.log, std::vector<std::string>{"9"});
    EXPECT_EQ(n.p.exec.Status(), isLoaded);
    std::vector<TPSVariant*> withNil{arg, nullptr};
    EXPECT_FALSE(n.p.exec.RunProc(&withNil, n.inner));
    EXPECT_FALSE(n.p.exec.RunProc(nullptr, 99));
    EXPECT_EQ(n.p.exec.ExceptionCode(), erOutOfProcRange);
    DestroyHeapValue(arg);
}

// function Add(a, b: Integer; var calls: Integer): Integer
uint32_t AddWithCount(Program& p) {
    Code f;
    f.Assign(Operand::Param(0), Operand::Param(1));
    f.Calc(calcAdd, Operand::Param(0), Operand::Param(2));
    f.Unary(opIncrement, Operand::Param(3));
    f.Return();
    const std::string t = std::to_string(p.s32);
    return p.b.Proc(f, "ADD", t + " @" + t + " @" + t + " !" + t);
}

TEST(RunProcP, VariantsGoInAndComeBack) {
    Program p;
    p.b.NoMain();
    const uint32_t add = AddWithCount(p);
    ASSERT_TRUE(p.Load());
    std::vector<Variant> args{Variant(int32_t{2}), Variant::FromUtf8("3"), Variant(int32_t{10})};
    EXPECT_EQ(p.exec.RunProcP(args, add).AsInteger(), 5);
    EXPECT_EQ(args[2].AsInteger(), 10);  // RunProcP does not write back
    EXPECT_EQ(p.exec.RunProcPVar(args, add).AsInteger(), 5);
    EXPECT_EQ(args[2].AsInteger(), 11);
    EXPECT_EQ(p.exec.RunProcPN(args, "add").AsInteger(), 5);
}

TEST(RunProcP, WrongArgumentsAreRefusedBeforeTheCall) {
    Program p;
    p.b.NoMain();
    const uint32_t add = AddWithCount(p);
    ASSERT_TRUE(p.Load());
    struct Case {
        std::vector<Variant> args;
        const char* message;
    };
    const Case cases[] = {
        {{Variant(int32_t{1}), Variant(int32_t{2}), Variant(int32_t{3}), Variant(int32_t{4})},
         "Too many parameters"},
        {{Variant(int32_t{1})}, "Not enough parameters"},
        {{Variant(int32_t{1}), Variant::FromUtf8("x"), Variant(int32_t{3})}, "Invalid parameter"},
    };
    for (const auto& c : cases) {
        try {
            p.exec.RunProcP(c.args, add);
            ADD_FAILURE() << c.message;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, c.message);
        }
    }
    EXPECT_EQ(p.exec.ExceptionCode(), ErNoError);  // a refused argument records nothing
    try {
        p.exec.RunProcPN({}, "nosuch");
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Unknown procedure");
    }
}

bool ThrowDivision(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    throw EDivByZero("Division by zero");
}

TEST(RunProcP, ErrorsComeBackAsExceptions) {
    Program p;
    p.b.NoMain();
    Code bad;
    bad.Op(10);
    const uint32_t failing = p.b.Proc(bad, "FAILING");
    const uint32_t host = p.b.External("HOST");
    p.exec.RegisterFunctionName("HOST", ThrowDivision, nullptr, nullptr);
    Code callsHost;
    callsHost.Call(host).Return();
    const uint32_t viaHost = p.b.Proc(callsHost, "VIAHOST");
    ASSERT_TRUE(p.Load());
    try {
        p.exec.RunProcP({}, failing);
        ADD_FAILURE();
    } catch (const EPSException& e) {
        EXPECT_EQ(e.Message, "Invalid Opcode");
        EXPECT_EQ(e.FProcNo, failing);
        EXPECT_EQ(e.FExec, &p.exec);
    }
    // A host exception comes back as that very exception.
    EXPECT_THROW(p.exec.RunProcP({}, viaHost), EDivByZero);
    EXPECT_EQ(p.exec.Status(), isLoaded);
}

}  // namespace
}  // namespace tv::script
