#pragma once
// Expression value nodes: the trees the expression compiler builds while it parses and the emitter
// turns into operands and instructions. A node owns its operands. A compiler temporary
// (TPSValueAllocatedStackVar) gives its stack slot back when it is destroyed: it removes the last
// entry of its procedure's locals and appends a pop, so temporaries must be released in the reverse
// order of their creation, which the emitting code does explicitly where more than one is alive.

#include <cstdint>
#include <memory>
#include <vector>

#include "script/compiler/compile_symbols.h"

namespace tv::script {

enum TPSBinOperatorType : uint8_t {
    otAdd,
    otSub,
    otMul,
    otDiv,
    otMod,
    otShl,
    otShr,
    otAnd,
    otOr,
    otXor,
    otAs,
    otIntDiv,
    otGreaterEqual,
    otLessEqual,
    otGreater,
    otLess,
    otEqual,
    otNotEqual,
    otIs,
    otIn,
};
enum TPSUnOperatorType : uint8_t { otNot, otMinus, otCast };

enum class TPSValueKind : uint8_t {
    GlobalVar,
    LocalVar,
    ParamVar,
    AllocatedStackVar,
    Data,
    Replace,
    UnOp,
    BinOp,
    Nil,
    ProcPtr,
    ProcNo,
    ProcVal,
    Array,
};

class TPSValue;
using TPSValuePtr = std::unique_ptr<TPSValue>;

class TPSValue {
public:
    explicit TPSValue(TPSValueKind kind) : Kind(kind) {}
    virtual ~TPSValue() = default;
    TPSValue(const TPSValue&) = delete;
    TPSValue& operator=(const TPSValue&) = delete;

    bool IsVar() const {
        return Kind == TPSValueKind::GlobalVar || Kind == TPSValueKind::LocalVar ||
               Kind == TPSValueKind::ParamVar || Kind == TPSValueKind::AllocatedStackVar;
    }
    bool IsProc() const { return Kind == TPSValueKind::ProcNo || Kind == TPSValueKind::ProcVal; }
    void SetPos(uint32_t pos, uint32_t row, uint32_t col) {
        Pos = pos;
        Row = row;
        Col = col;
    }

    const TPSValueKind Kind;
    uint32_t Pos = 0;
    uint32_t Row = 0;
    uint32_t Col = 0;
};

// A selector after a variable: a record field or array element by number, or an element whose
// 0-based position a value gives at run time.
struct TPSSubItem {
    TPSType* aType = nullptr;  // the type after the selector
    bool IsValue = false;
    uint32_t SubNo = 0;    // !IsValue
    TPSValuePtr SubValue;  // IsValue
};

class TPSValueVar : public TPSValue {
public:
    using TPSValue::TPSValue;
    std::vector<TPSSubItem> RecItems;
};

class TPSValueGlobalVar : public TPSValueVar {
public:
    explicit TPSValueGlobalVar(uint32_t address) : TPSValueVar(TPSValueKind::GlobalVar), Address(address) {}
    uint32_t Address;
};

class TPSValueLocalVar : public TPSValueVar {
public:
    explicit TPSValueLocalVar(uint32_t no) : TPSValueVar(TPSValueKind::LocalVar), LocalVarNo(no) {}
    uint32_t LocalVarNo;

protected:
    TPSValueLocalVar(TPSValueKind kind, uint32_t no) : TPSValueVar(kind), LocalVarNo(no) {}
};

class TPSValueParamVar : public TPSValueVar {
public:
    explicit TPSValueParamVar(uint32_t no) : TPSValueVar(TPSValueKind::ParamVar), ParamNo(no) {}
    uint32_t ParamNo;
};

// A compiler temporary. With a procedure it owns its stack slot; without one (a reference to a with
// statement's pointer) releasing it emits nothing.
class TPSValueAllocatedStackVar : public TPSValueLocalVar {
public:
    TPSValueAllocatedStackVar(uint32_t no, TPSInternalProcedure* proc)
        : TPSValueLocalVar(TPSValueKind::AllocatedStackVar, no), Proc(proc) {}
    ~TPSValueAllocatedStackVar() override;
    TPSInternalProcedure* Proc;
};

class TPSValueData : public TPSValue {
public:
    explicit TPSValueData(std::unique_ptr<TIfRVariant> data)
        : TPSValue(TPSValueKind::Data), Data(std::move(data)) {}
    std::unique_ptr<TIfRVariant> Data;
};

// Stands for OldValue while NewValue (a temporary or constant) carries it.
class TPSValueReplace : public TPSValue {
public:
    TPSValueReplace() : TPSValue(TPSValueKind::Replace) {}
    ~TPSValueReplace() override;
    bool PreWriteAllocated = false;
    bool FreeOldValue = false;
    bool FreeNewValue = true;
    TPSValue* OldValue = nullptr;
    TPSValue* NewValue = nullptr;
    int ReplaceTimes = 1;
};

class TPSUnValueOp : public TPSValue {
public:
    TPSUnValueOp() : TPSValue(TPSValueKind::UnOp) {}
    TPSValuePtr Val1;
    TPSUnOperatorType Operator = otNot;
    TPSType* aType = nullptr;
};

class TPSBinValueOp : public TPSValue {
public:
    TPSBinValueOp() : TPSValue(TPSValueKind::BinOp) {}
    TPSValuePtr Val1;
    TPSValuePtr Val2;
    TPSBinOperatorType Operator = otAdd;
    TPSType* aType = nullptr;
};

class TPSValueNil : public TPSValue {
public:
    TPSValueNil() : TPSValue(TPSValueKind::Nil) {}
};

class TPSValueProcPtr : public TPSValue {
public:
    explicit TPSValueProcPtr(uint32_t procNo) : TPSValue(TPSValueKind::ProcPtr), ProcNo(procNo) {}
    uint32_t ProcNo;
};

// One argument of a call.
struct TPSParameter {
    TPSValuePtr Value;    // empty for the object's place until it is filled in
    TPSValuePtr TempVar;  // the temporary that carries the argument during the call
    TPSParameterMode ParamMode = pmIn;
    TPSType* ExpectedType = nullptr;
    TPSType* DeclaredType = nullptr;  // the parameter's type as declared (AnyString stays AnyString)
    uint32_t Pos = 0;                 // where type errors of the argument are reported
    uint32_t Row = 0;
    uint32_t Col = 0;
};

class TPSValueProc : public TPSValue {
public:
    using TPSValue::TPSValue;
    TPSValuePtr SelfPtr;
    std::vector<TPSParameter> Parameters;
    TPSType* ResultType = nullptr;
};

class TPSValueProcNo : public TPSValueProc {
public:
    explicit TPSValueProcNo(uint32_t procNo) : TPSValueProc(TPSValueKind::ProcNo), ProcNo(procNo) {}
    uint32_t ProcNo;
};

class TPSValueProcVal : public TPSValueProc {
public:
    TPSValueProcVal() : TPSValueProc(TPSValueKind::ProcVal) {}
    TPSValuePtr ProcNo;  // a value of a procedural type
};

class TPSValueArray : public TPSValue {
public:
    TPSValueArray() : TPSValue(TPSValueKind::Array) {}
    std::vector<TPSValuePtr> Items;
};

// Block kinds: what ends the block.
enum TPSSubOptType : uint8_t {
    tMainBegin,
    tProcBegin,
    tSubBegin,
    tOneLiner,
    tifOneliner,
    tRepeat,
    tTry,
    tTryEnd
};

struct TPSBlockInfo {
    TPSBlockInfo(TPSBlockInfo* owner, TPSSubOptType subType) : Owner(owner), SubType(subType) {
        if (owner) {
            ProcNo = owner->ProcNo;
            Proc = owner->Proc;
        }
    }
    ~TPSBlockInfo() { Clear(); }
    // Releases the with entries from the last to the first.
    void Clear() {
        while (!WithList.empty()) WithList.pop_back();
    }

    TPSBlockInfo* Owner;
    std::vector<std::unique_ptr<TPSValueReplace>> WithList;
    uint32_t ProcNo = 0;
    TPSInternalProcedure* Proc = nullptr;
    TPSSubOptType SubType;
};

}  // namespace tv::script
