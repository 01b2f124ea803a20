#pragma once
// A test fixture for assembled programs: a container with the common types, a host routine LOG
// that records what scripts hand it, and an executor to load and run it.

#include <string>
#include <vector>

#include "assembler.h"
#include "script/runtime/exec.h"
#include "test_support.h"

namespace tv::script::test {

class Program {
public:
    Program();

    // Type numbers of the types every program has.
    uint32_t u8, s8, u16, s16, s32, u32, s64, dbl, ext, sgl, cur, ansi, uni, chr, wchr, var, ptr;

    ContainerBuilder b;
    TPSExec exec;
    // What LOG received, as the debugger shows values ("5", "'abc'"), in order.
    std::vector<std::string> log;

    // Declares the host routine LOG: one by-value parameter of any type.
    uint32_t LogRoutine();
    // Builds and loads; false when the load fails.
    bool Load();
    bool Run() { return exec.RunScript(); }
    TPSVariant* Global(uint32_t n) { return exec.GetVarNo(n); }
};

// Pushes a copy of `arg` (of type `argType`) as local `slot` (the number of locals the procedure
// has at that point), calls LOG and pops the copy.
void EmitLog(Code& c, uint32_t logProc, uint32_t argType, const Operand& arg, uint32_t slot);

}  // namespace tv::script::test
