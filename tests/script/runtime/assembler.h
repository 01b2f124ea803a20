#pragma once
// A test-only assembler for compiled-script containers: types, procedures (with code written
// instruction by instruction, jumps by label), variables and attributes, in the byte layout the
// compiler writes, plus hooks for writing malformed records on purpose.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/common/bytecode.h"

namespace tv::script::test {

// One operand of an instruction.
struct Operand {
    std::string bytes;
    static Operand Var(uint32_t number);
    static Operand Global(uint32_t n) { return Var(n); }
    // Local or temporary i (0-based) of the running procedure.
    static Operand Local(uint32_t i) { return Var(LocalVariableNumber(i)); }
    // Stack slot base - 1 - n: the result of a function is Param(0) followed by its parameters
    // (last parameter deepest), a procedure's parameters start at Param(0).
    static Operand Param(uint32_t n) { return Var(ParameterVariableNumber(n)); }
    // A constant of type number `type` with its value bytes.
    static Operand Const(uint32_t type, std::string_view valueBytes);
    static Operand ConstS32(uint32_t type, int32_t v);
    static Operand ConstString(uint32_t type, std::string_view s);
    static Operand Elem(uint32_t var, uint32_t index);
    static Operand ElemVar(uint32_t var, uint32_t indexVar);
};

class Code {
public:
    using Label = size_t;
    Label NewLabel();
    void Bind(Label l);

    Code& Op(uint8_t opcode);
    Code& Byte(uint8_t b);
    Code& U32(uint32_t v);
    Code& Raw(std::string_view bytes);
    Code& Arg(const Operand& o);

    Code& Assign(const Operand& d, const Operand& s);
    Code& Calc(CalcOperator op, const Operand& d, const Operand& s);
    Code& Compare(CompareOperator op, const Operand& d, const Operand& l, const Operand& r);
    Code& PushValue(const Operand& s);
    Code& PushRef(const Operand& s);
    Code& PushNew(uint32_t type);
    Code& Pop();
    Code& Call(uint32_t proc);
    Code& CallValue(const Operand& p);
    Code& Jump(Label l);
    Code& JumpIfZero(Label l, const Operand& o);
    Code& JumpIfNotZero(Label l, const Operand& o);
    Code& SetFlag(const Operand& o, bool invert);
    Code& JumpIfFlag(Label l);
    Code& Return();
    // Labels, or kNone for an absent part.
    static constexpr Label kNone = static_cast<Label>(-1);
    Code& PushFrame(Label finallyPart, Label exceptPart, Label finally2Part, Label end);
    Code& PopFrame(FrameSubcode sub);
    Code& Unary(Opcode op, const Operand& o);
    Code& PopJump(Label l);
    Code& PopPopJump(Label l);
    Code& SetPointer(const Operand& d, const Operand& s);
    Code& SetPointerCopy(const Operand& d, const Operand& s);

    // The bytes with every jump distance filled in.
    std::string Bytes() const;
    size_t Size() const { return fBytes.size(); }

private:
    struct Fixup {
        size_t at;    // where the 32-bit distance goes
        size_t from;  // the position the distance counts from
        Label label;
    };
    Code& JumpTo(Label l, size_t from);
    std::string fBytes;
    std::vector<size_t> fLabels;
    std::vector<Fixup> fFixups;
};

class ContainerBuilder {
public:
    explicit ContainerBuilder(uint32_t build = kContainerBuild) : fBuild(build) {}

    // A type of a base code without data (an export name when given).
    uint32_t Type(uint8_t code, std::string_view exportName = {});
    uint32_t Record(const std::vector<uint32_t>& fields, std::string_view exportName = {});
    uint32_t Array(uint32_t elem, std::string_view exportName = {});
    uint32_t StaticArray(uint32_t elem, uint32_t count, int32_t start = 0);
    uint32_t Set(uint32_t bits);
    uint32_t Class(std::string_view name);
    uint32_t ProcPtr(std::string_view paramInfo);
    // Any type record bytes as they stand (code byte included).
    uint32_t RawType(std::string_view bytes);
    // Attributes appended after the next type record (build 21 and later: every type has a list).
    void TypeAttributes(std::string_view listBytes) { fNextTypeAttributes = std::string(listBytes); }

    // A script procedure; `exportDecl` as the compiler writes it ("-1", "6 @6 !6" ...).
    uint32_t Proc(const Code& code, std::string_view exportName = {}, std::string_view exportDecl = "-1");
    // A script procedure whose record claims this code offset and length (for malformed records).
    uint32_t ProcAt(uint32_t offset, uint32_t length);
    // A host routine; with `decl` the declaration bytes follow its name.
    uint32_t External(std::string_view name, std::string_view decl = {}, bool withDecl = false);
    uint32_t RawProc(std::string_view bytes);

    uint32_t Var(uint32_t type, std::string_view exportName = {});
    void RawVar(std::string_view bytes) {
        fVars += bytes;
        ++fVarCount;
    }

    void Main(uint32_t proc) { fMain = proc; }
    void NoMain() { fMain = kNoMainProc; }
    void SetHeaderCounts(int32_t types, int32_t procs, int32_t vars) {
        fTypeCountOverride = types;
        fProcCountOverride = procs;
        fVarCountOverride = vars;
    }

    std::string Build() const;

    // An attribute list with one attribute of that name and values (each: type number + bytes).
    static std::string AttributeList(std::string_view name,
                                     const std::vector<std::pair<uint32_t, std::string>>& values);

private:
    uint32_t fBuild;
    std::string fTypes, fVars;
    uint32_t fTypeCount = 0, fVarCount = 0;
    struct ProcEntry {
        bool external;
        std::string head;  // record bytes (script procedures: filled in at Build)
        std::string code;
        std::string tail;
        bool fixedOffset;
        uint32_t offset, length;
    };
    std::vector<ProcEntry> fProcs;
    std::string fNextTypeAttributes;
    uint32_t fMain = 0;
    int32_t fTypeCountOverride = -1, fProcCountOverride = -1, fVarCountOverride = -1;
};

// Little-endian value bytes for constants.
std::string U32Bytes(uint32_t v);
std::string U16Bytes(uint16_t v);
std::string U64Bytes(uint64_t v);

}  // namespace tv::script::test
