// Feeds containers to the loader: the input as it stands, and the input spliced into a valid
// container of every record kind, so that mutations reach deep into the records. What loads is run
// for a bounded number of instructions.

#include <cstddef>
#include <cstdint>
#include <string>

#include "assembler.h"
#include "script/runtime/exec.h"

namespace {

using namespace tv::script;

bool Nothing(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    return true;
}

bool AnyClassMember(TPSExec&, TPSExternalProcRec& p, void*) {
    p.FProcPtr = Nothing;
    return p.FDecl.size() > 6;
}

const std::string& Seed() {
    static const std::string seed = [] {
        test::ContainerBuilder b;
        const uint32_t s32 = b.Type(btS32, "INTEGER");
        const uint32_t str = b.Type(btUnicodeString);
        b.TypeAttributes(test::ContainerBuilder::AttributeList("A", {{s32, test::U32Bytes(1)}}));
        const uint32_t rec = b.Record({s32, str});
        b.Array(rec);
        b.StaticArray(s32, 4, 1);
        b.Set(20);
        b.Class("TOBJECT");
        b.ProcPtr(std::string("\x01\x00", 2));
        b.Type(btVariant);
        const uint32_t u8 = b.Type(btU8);
        test::Code c;
        auto loop = c.NewLabel(), fin = c.NewLabel(), end = c.NewLabel(), exc = c.NewLabel();
        c.PushNew(s32).Assign(test::Operand::Local(0), test::Operand::ConstS32(s32, 7));
        c.PushNew(u8);
        c.PushFrame(fin, exc, test::Code::kNone, end);
        c.Bind(loop);
        c.Calc(calcMultiply, test::Operand::Local(0), test::Operand::ConstS32(s32, 3));
        c.Compare(cmpLess, test::Operand::Local(1), test::Operand::Local(0),
                  test::Operand::ConstS32(s32, 1000));
        c.JumpIfNotZero(loop, test::Operand::Local(1));
        c.PushNew(str).Assign(test::Operand::Local(2),
                              test::Operand::Const(str, test::U32Bytes(2) + std::string("a\0b\0", 4)));
        c.Call(1).Pop();
        c.PopFrame(frameEndTry);
        c.Bind(fin);
        c.PopFrame(frameEndFinally);
        c.Bind(exc);
        c.PopFrame(frameEndExcept);
        c.Bind(end);
        c.Pop().Pop().Return();
        b.Main(b.Proc(c, "!MAIN"));
        b.External("HOST");
        b.External("", "class:TOBJECT|FREE|\x00\x00", true);
        b.Var(rec, "R");
        b.Var(str);
        return b.Build();
    }();
    return seed;
}

void Load(const std::string& data) {
    TPSExec exec;
    exec.RegisterFunctionName("HOST", Nothing, nullptr, nullptr);
    exec.AddSpecialProcImport("class", AnyClassMember, nullptr);
    if (!exec.LoadData(data)) return;
    int steps = 0;
    exec.FOnRunLine = [&steps](TPSExec& e) {
        if (++steps > 10000) e.Stop();
    };
    exec.RunScript();
    exec.Stop();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Load(input);
    if (size > 0) {
        // Overwrite the seed at a place the first byte picks.
        std::string spliced = Seed();
        const size_t at = (static_cast<unsigned char>(input[0]) * spliced.size()) / 256;
        spliced.replace(at, std::min(input.size() - 1, spliced.size() - at), input.substr(1));
        Load(spliced);
    }
    Load(Seed());
    return 0;
}
