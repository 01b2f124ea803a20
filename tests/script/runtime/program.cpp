#include "program.h"

#include "script/runtime/value_text.h"

namespace tv::script::test {

namespace {
bool LogValue(TPSExec&, TPSExternalProcRec& p, TPSStack&, TPSStack& stack) {
    auto* prog = static_cast<Program*>(p.FExt1);
    prog->log.push_back(ValueToText(MakeValueRef(stack.Item(-1), false), {}));
    return true;
}
}  // namespace

Program::Program() {
    u8 = b.Type(btU8);
    s8 = b.Type(btS8);
    u16 = b.Type(btU16);
    s16 = b.Type(btS16);
    s32 = b.Type(btS32);
    u32 = b.Type(btU32);
    s64 = b.Type(btS64);
    dbl = b.Type(btDouble);
    ext = b.Type(btExtended);
    sgl = b.Type(btSingle);
    cur = b.Type(btCurrency);
    ansi = b.Type(btString);
    uni = b.Type(btUnicodeString);
    chr = b.Type(btChar);
    wchr = b.Type(btWideChar);
    var = b.Type(btVariant);
    ptr = b.Type(btPointer);
    exec.RegisterFunctionName("LOG", LogValue, this, nullptr);
}

uint32_t Program::LogRoutine() {
    return b.External("LOG");
}

bool Program::Load() {
    return exec.LoadData(b.Build());
}

void EmitLog(Code& c, uint32_t logProc, uint32_t argType, const Operand& arg, uint32_t slot) {
    c.PushNew(argType).Assign(Operand::Local(slot), arg).Call(logProc).Pop();
}

}  // namespace tv::script::test
