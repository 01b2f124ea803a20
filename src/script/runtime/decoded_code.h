#pragma once
// A script procedure's code in the form the interpreter runs: every instruction decoded once, its
// operands resolved as far as loading allows (global variables and constants to their values,
// stack variables to their distance from the stack base), its jumps to the instructions they reach,
// and a handler chosen for it. Each decoded instruction keeps its byte position, so the line hook,
// the debugger and every recorded error see exactly the positions of the byte code. Whatever a
// handler cannot do the quick way (an unexpected type, a fault, a host routine) runs from the bytes
// as before; a procedure whose bytes cannot be decoded to their end runs the rest from the bytes.
//
// Neighbouring instructions may also run as one (Fast): a jump that follows an instruction is taken
// with it, and a few sequences the compiler writes are done in one step (appending to a string in
// place, a number computed aside, a pointer led to a field of an element, a comparison that decides a
// jump). Such a group never spans a position where the line hook may be due: a position the debug
// information names, a jump target or the return position of a call.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "script/runtime/errors.h"
#include "script/runtime/proc_rec.h"
#include "script/runtime/stack.h"

namespace tv::script {

class TPSExec;

// The constant whose operand (its kind byte) starts at `at` in the procedure's code, decoded on its
// first use and kept by the procedure. False when it cannot be decoded: `error` and `errorPos` say
// which error the interpreter records and at which position.
bool CachedConstant(const TPSExec& exec, TPSInternalProcRec& proc, uint32_t at, TPSCachedConstant& out,
                    TPSError& error, uint32_t& errorPos);

namespace decoded {

// A variable: a global (or a decoded constant), whose value never moves while the script is loaded,
// or an item on the stack counted from the stack base.
struct Var {
    TPSVariant* Item = nullptr;  // nil: on the stack
    int32_t Offset = 0;          // on the stack: the item's distance from the stack base
};

enum class Selector : uint8_t { None, ConstantIndex, VariableIndex };

// How an operand is found when it runs.
enum class Shape : uint8_t {
    Direct,  // a constant, or a global that is no Pointer: Data and Type
    Stack,   // a stack item, no field or element
    Other,   // the general way
    // A field or element of a global or stack item, found in one step when run (ElementPlace).
    Element,
};

struct Operand {
    Shape How = Shape::Other;
    Var Base;
    Selector Select = Selector::None;
    bool Temp = false;  // a constant
    uint32_t Index = 0;  // the field number or element position of ConstantIndex
    Var IndexVar;        // the variable holding the position of VariableIndex
    void* Data = nullptr;  // Direct: the value
    const TPSTypeRec* Type = nullptr;
};

// What a decoded instruction does (Insn::Code, Insn::Fast).
enum Handler : uint8_t {
    hBytes,  // from the byte code
    hAssign,
    hCalculate,
    hCompare,
    hPushReference,
    hPop,
    hCall,      // a script procedure
    hCallHost,  // a host routine
    hReturn,
    hJump,
    hJumpIfZero,
    hJumpIfNotZero,
    hPushNew,
    hSetPointer,
    hSetFlag,
    hJumpIfFlag,
    hIncrement,
    hDecrement,
    hNop,
    // Fast forms only.
    hCompareJump,    // compare, then jump on the Boolean it stored (the next instruction)
    hAppendString,   // push, assign, add, assign back, pop: a string appended to in place
    hTempExpr,       // push a number, compute into it, use it, pop: the number held aside
    hElementPointer, // push a pointer, point it at a variable, then at fields and elements of it
    hPushAssign,     // push a value, assign to it
    hPopMany,        // pops one after another
    hCompareFlag,    // push a Boolean, compare into it, set the flag from it, pop, jump on the flag
    // Fast forms whose operands are all Integer values read in place: constants and globals of
    // that type, and stack items (or what a stack Pointer leads to) found to be of it when run.
    // Any other type runs the general form (IntegerGeneral).
    hAssignInt,
    hCalculateInt,
    hCompareInt,      // the destination a Boolean
    hCompareJumpInt,
    hIncrementInt,
    hDecrementInt,
    hTempExprInt,     // the temporary an Integer too
    // Numbers computed aside in an Int64 or Double temporary: every operand an Integer, Int64 or
    // (for Double) Double value read in place, the result stored into a variable of the
    // temporary's type. Any other type runs hTempExpr.
    hTempExprInt64,
    hTempExprDouble,
    // An Extended temporary: every operand a value of a real or integer type read in place, the
    // result stored into (or computed into) a variable of a real type. Any other runs hTempExpr.
    hTempExprExtended,
    // For-loop steps and real expressions with operands resolved when decoded (decoded_arith.h).
    hForStepInt,    // counter at its type's limit?, count, counter within the bound? jump: an Integer
    hForStepInt64,  // the same with an Int64 counter
    hRealExprDirect,  // a number computed aside in a Double or Extended temporary, every operand fixed
};

// The general form an Integer form runs when its operands are not all Integers.
constexpr Handler IntegerGeneral(Handler h) {
    switch (h) {
        case hAssignInt:
            return hAssign;
        case hCalculateInt:
            return hCalculate;
        case hCompareInt:
            return hCompare;
        case hCompareJumpInt:
            return hCompareJump;
        case hIncrementInt:
            return hIncrement;
        case hDecrementInt:
            return hDecrement;
        case hTempExprInt:
        case hTempExprInt64:
        case hTempExprDouble:
        case hTempExprExtended:
            return hTempExpr;
        default:
            return h;
    }
}

// The most bytes a number held aside by hTempExpr takes, and the most instructions of such a group.
inline constexpr uint32_t kTempBytes = 16;
inline constexpr size_t kMaxTempGroup = 12;
// The most instructions of a pointer led to a field or element (hElementPointer).
inline constexpr size_t kMaxChainGroup = 255;

inline constexpr uint32_t kNoInsn = 0xFFFFFFFF;

struct Insn {
    Handler Code = hBytes;  // one instruction exactly
    Handler Fast = hBytes;  // this instruction with the ones it is run together with
    uint8_t Opcode = 0;
    uint8_t Op = 0;        // operator or comparison byte, the invert byte of a flag
    uint8_t GroupSize = 1;  // the instructions a Fast form of several runs
    bool HookHere = false;  // a filtered line hook runs at this position
    uint32_t Pos = 0;      // the opcode's position
    uint32_t End = 0;      // the position after the instruction
    const Insn* FastNext = nullptr;  // where the instruction goes on when run together with a jump
    const Insn* GroupNext = nullptr; // where a Fast form of several instructions goes on
    const Insn* Target = nullptr;    // a jump's target; nil when no instruction starts there
    Operand A, B, C;
    const TPSTypeRec* Type = nullptr;  // push new: the type
    TPSProcRec* Proc = nullptr;        // call: the procedure
};

// The decoded code of one script procedure.
class Code {
public:
    // Decodes the procedure's bytes; `hookPositions` has a non-zero entry for each position where a
    // filtered line hook runs (none beyond its end). `generation` tells the executor whether the
    // code was decoded for what it knows now.
    Code(const TPSExec& exec, TPSInternalProcRec& proc, std::span<const uint32_t> hookPositions,
         uint32_t generation);

    // The instruction that starts at byte position `pos`; nil when none does (the bytes are run).
    const Insn* At(uint32_t pos) const {
        return pos < fIndex.size() && fIndex[pos] ? &fInsns[fIndex[pos] - 1] : nullptr;
    }
    const Insn* First() const { return &fInsns.front(); }
    const TPSInternalProcRec& Proc() const { return fProc; }
    uint32_t Generation() const { return fGeneration; }

private:
    void Decode(const TPSExec& exec);
    void Group(std::span<const uint32_t> hookPositions);
    void ChooseIntegerForms();
    // For-loop steps and real expressions with operands resolved when decoded (hForStepInt ...).
    void ChooseForSteps(const std::vector<bool>& barrier);
    void ChooseRealForms();

    TPSInternalProcRec& fProc;
    uint32_t fGeneration;
    std::vector<Insn> fInsns;     // in code order, ended by an instruction run from the bytes
    std::vector<uint32_t> fIndex;  // by byte position: 1 + the index of the instruction starting there
};

}  // namespace decoded
}  // namespace tv::script
