#include "assembler.h"

#include <cstring>
#include <stdexcept>

#include "script/common/byte_io.h"

namespace tv::script::test {

std::string U32Bytes(uint32_t v) {
    std::string s;
    AppendU32(s, v);
    return s;
}
std::string U16Bytes(uint16_t v) {
    std::string s;
    AppendU16(s, v);
    return s;
}
std::string U64Bytes(uint64_t v) {
    std::string s;
    AppendU64(s, v);
    return s;
}

Operand Operand::Var(uint32_t number) {
    Operand o;
    o.bytes.push_back(static_cast<char>(okVariable));
    AppendU32(o.bytes, number);
    return o;
}

Operand Operand::Const(uint32_t type, std::string_view valueBytes) {
    Operand o;
    o.bytes.push_back(static_cast<char>(okConstant));
    AppendU32(o.bytes, type);
    o.bytes += valueBytes;
    return o;
}

Operand Operand::ConstS32(uint32_t type, int32_t v) {
    return Const(type, U32Bytes(static_cast<uint32_t>(v)));
}

Operand Operand::ConstString(uint32_t type, std::string_view s) {
    return Const(type, U32Bytes(static_cast<uint32_t>(s.size())) + std::string(s));
}

Operand Operand::Elem(uint32_t var, uint32_t index) {
    Operand o;
    o.bytes.push_back(static_cast<char>(okElementConstant));
    AppendU32(o.bytes, var);
    AppendU32(o.bytes, index);
    return o;
}

Operand Operand::ElemVar(uint32_t var, uint32_t indexVar) {
    Operand o;
    o.bytes.push_back(static_cast<char>(okElementVariable));
    AppendU32(o.bytes, var);
    AppendU32(o.bytes, indexVar);
    return o;
}

Code::Label Code::NewLabel() {
    fLabels.push_back(static_cast<size_t>(-1));
    return fLabels.size() - 1;
}

void Code::Bind(Label l) {
    fLabels.at(l) = fBytes.size();
}

Code& Code::Op(uint8_t opcode) {
    fBytes.push_back(static_cast<char>(opcode));
    return *this;
}
Code& Code::Byte(uint8_t b) {
    fBytes.push_back(static_cast<char>(b));
    return *this;
}
Code& Code::U32(uint32_t v) {
    AppendU32(fBytes, v);
    return *this;
}
Code& Code::Raw(std::string_view bytes) {
    fBytes += bytes;
    return *this;
}
Code& Code::Arg(const Operand& o) {
    fBytes += o.bytes;
    return *this;
}

Code& Code::Assign(const Operand& d, const Operand& s) {
    return Op(opAssign).Arg(d).Arg(s);
}
Code& Code::Calc(CalcOperator op, const Operand& d, const Operand& s) {
    return Op(opCalculate).Byte(op).Arg(d).Arg(s);
}
Code& Code::Compare(CompareOperator op, const Operand& d, const Operand& l, const Operand& r) {
    return Op(opCompare).Byte(op).Arg(d).Arg(l).Arg(r);
}
Code& Code::PushValue(const Operand& s) {
    return Op(opPushValue).Arg(s);
}
Code& Code::PushRef(const Operand& s) {
    return Op(opPushReference).Arg(s);
}
Code& Code::PushNew(uint32_t type) {
    return Op(opPushNew).U32(type);
}
Code& Code::Pop() {
    return Op(opPop);
}
Code& Code::Call(uint32_t proc) {
    return Op(opCall).U32(proc);
}
Code& Code::CallValue(const Operand& p) {
    return Op(opCallValue).Arg(p);
}

Code& Code::JumpTo(Label l, size_t from) {
    fFixups.push_back({fBytes.size(), from, l});
    return U32(0);
}

Code& Code::Jump(Label l) {
    Op(opJump);
    return JumpTo(l, fBytes.size() + 4);
}
Code& Code::JumpIfZero(Label l, const Operand& o) {
    Op(opJumpIfZero);
    const size_t at = fBytes.size();
    U32(0).Arg(o);
    fFixups.push_back({at, fBytes.size(), l});
    return *this;
}
Code& Code::JumpIfNotZero(Label l, const Operand& o) {
    Op(opJumpIfNotZero);
    const size_t at = fBytes.size();
    U32(0).Arg(o);
    fFixups.push_back({at, fBytes.size(), l});
    return *this;
}
Code& Code::SetFlag(const Operand& o, bool invert) {
    return Op(opSetFlag).Arg(o).Byte(invert ? 1 : 0);
}
Code& Code::JumpIfFlag(Label l) {
    Op(opJumpIfFlag);
    return JumpTo(l, fBytes.size() + 4);
}
Code& Code::Return() {
    return Op(opReturn);
}
Code& Code::PushFrame(Label finallyPart, Label exceptPart, Label finally2Part, Label end) {
    Op(opPushFrame);
    const size_t from = fBytes.size() + 16;
    for (Label l : {finallyPart, exceptPart, finally2Part, end}) {
        if (l == kNone)
            U32(0xFFFFFFFF);
        else
            JumpTo(l, from);
    }
    return *this;
}
Code& Code::PopFrame(FrameSubcode sub) {
    return Op(opPopFrame).Byte(sub);
}
Code& Code::Unary(Opcode op, const Operand& o) {
    return Op(op).Arg(o);
}
Code& Code::PopJump(Label l) {
    Op(opPopJump);
    return JumpTo(l, fBytes.size() + 4);
}
Code& Code::PopPopJump(Label l) {
    Op(opPopPopJump);
    return JumpTo(l, fBytes.size() + 4);
}
Code& Code::SetPointer(const Operand& d, const Operand& s) {
    return Op(opSetPointer).Arg(d).Arg(s);
}
Code& Code::SetPointerCopy(const Operand& d, const Operand& s) {
    return Op(opSetPointerCopy).Arg(d).Arg(s);
}

std::string Code::Bytes() const {
    std::string out = fBytes;
    for (const Fixup& f : fFixups) {
        const size_t target = fLabels.at(f.label);
        if (target == static_cast<size_t>(-1)) throw std::logic_error("unbound label");
        PatchU32(out, f.at,
                 static_cast<uint32_t>(static_cast<int64_t>(target) - static_cast<int64_t>(f.from)));
    }
    return out;
}

// ---- containers

uint32_t ContainerBuilder::RawType(std::string_view bytes) {
    fTypes += bytes;
    if (fBuild >= kFirstBuildWithTypeAttributes) {
        fTypes += fNextTypeAttributes.empty() ? U32Bytes(0) : fNextTypeAttributes;
        fNextTypeAttributes.clear();
    }
    return fTypeCount++;
}

namespace {
std::string ExportSuffix(std::string_view name) {
    return name.empty() ? std::string() : U32Bytes(static_cast<uint32_t>(name.size())) + std::string(name);
}
std::string CodeByte(uint8_t code, std::string_view name) {
    return std::string(1, static_cast<char>(code | (name.empty() ? 0 : kTypeExportedFlag)));
}
}  // namespace

uint32_t ContainerBuilder::Type(uint8_t code, std::string_view exportName) {
    return RawType(CodeByte(code, exportName) + ExportSuffix(exportName));
}

uint32_t ContainerBuilder::Record(const std::vector<uint32_t>& fields, std::string_view exportName) {
    std::string b = CodeByte(btRecord, exportName) + U32Bytes(static_cast<uint32_t>(fields.size()));
    for (uint32_t f : fields) b += U32Bytes(f);
    return RawType(b + ExportSuffix(exportName));
}

uint32_t ContainerBuilder::Array(uint32_t elem, std::string_view exportName) {
    return RawType(CodeByte(btArray, exportName) + U32Bytes(elem) + ExportSuffix(exportName));
}

uint32_t ContainerBuilder::StaticArray(uint32_t elem, uint32_t count, int32_t start) {
    return RawType(CodeByte(btStaticArray, {}) + U32Bytes(elem) + U32Bytes(count) +
                   U32Bytes(static_cast<uint32_t>(start)));
}

uint32_t ContainerBuilder::Set(uint32_t bits) {
    return RawType(CodeByte(btSet, {}) + U32Bytes(bits));
}

uint32_t ContainerBuilder::Class(std::string_view name) {
    return RawType(CodeByte(btClass, {}) + U32Bytes(static_cast<uint32_t>(name.size())) + std::string(name));
}

uint32_t ContainerBuilder::ProcPtr(std::string_view paramInfo) {
    return RawType(CodeByte(btProcPtr, {}) + U32Bytes(static_cast<uint32_t>(paramInfo.size())) +
                   std::string(paramInfo));
}

uint32_t ContainerBuilder::Proc(const Code& code, std::string_view exportName, std::string_view exportDecl) {
    ProcEntry e{false, {}, code.Bytes(), {}, false, 0, 0};
    const bool exported = !exportName.empty();
    e.head.push_back(static_cast<char>(exported ? procExported : 0));
    if (exported)
        e.tail = U32Bytes(static_cast<uint32_t>(exportName.size())) + std::string(exportName) +
                 U32Bytes(static_cast<uint32_t>(exportDecl.size())) + std::string(exportDecl);
    fProcs.push_back(std::move(e));
    return static_cast<uint32_t>(fProcs.size() - 1);
}

uint32_t ContainerBuilder::ProcAt(uint32_t offset, uint32_t length) {
    ProcEntry e{false, std::string(1, '\0'), {}, {}, true, offset, length};
    fProcs.push_back(std::move(e));
    return static_cast<uint32_t>(fProcs.size() - 1);
}

uint32_t ContainerBuilder::External(std::string_view name, std::string_view decl, bool withDecl) {
    std::string b(1, static_cast<char>(procExternal | (withDecl ? procExported : 0)));
    b.push_back(static_cast<char>(name.size()));
    b += name;
    if (withDecl) b += U32Bytes(static_cast<uint32_t>(decl.size())) + std::string(decl);
    return RawProc(b);
}

uint32_t ContainerBuilder::RawProc(std::string_view bytes) {
    fProcs.push_back({true, std::string(bytes), {}, {}, false, 0, 0});
    return static_cast<uint32_t>(fProcs.size() - 1);
}

uint32_t ContainerBuilder::Var(uint32_t type, std::string_view exportName) {
    fVars += U32Bytes(type);
    fVars.push_back(static_cast<char>(exportName.empty() ? 0 : 1));
    fVars += ExportSuffix(exportName);
    return fVarCount++;
}

std::string ContainerBuilder::Build() const {
    // Records first with placeholder offsets, then the code of every script procedure.
    size_t recordsSize = 0;
    for (const ProcEntry& e : fProcs) recordsSize += e.head.size() + (e.external ? 0 : 8) + e.tail.size();
    std::string out;
    AppendU32(out, kContainerMagic);
    AppendU32(out, fBuild);
    AppendU32(out, fTypeCountOverride >= 0 ? static_cast<uint32_t>(fTypeCountOverride) : fTypeCount);
    AppendU32(out, fProcCountOverride >= 0 ? static_cast<uint32_t>(fProcCountOverride)
                                           : static_cast<uint32_t>(fProcs.size()));
    AppendU32(out, fVarCountOverride >= 0 ? static_cast<uint32_t>(fVarCountOverride) : fVarCount);
    AppendU32(out, fMain);
    AppendU32(out, 0);
    out += fTypes;
    size_t codeAt = out.size() + recordsSize + fVars.size();
    std::string code;
    for (const ProcEntry& e : fProcs) {
        out += e.head;
        if (!e.external) {
            if (e.fixedOffset) {
                AppendU32(out, e.offset);
                AppendU32(out, e.length);
            } else {
                AppendU32(out, static_cast<uint32_t>(codeAt + code.size()));
                AppendU32(out, static_cast<uint32_t>(e.code.size()));
                code += e.code;
            }
        }
        out += e.tail;
    }
    out += fVars;
    return out + code;
}

std::string ContainerBuilder::AttributeList(std::string_view name,
                                            const std::vector<std::pair<uint32_t, std::string>>& values) {
    std::string b = U32Bytes(1) + U32Bytes(static_cast<uint32_t>(name.size())) + std::string(name) +
                    U32Bytes(static_cast<uint32_t>(values.size()));
    for (const auto& [type, bytes] : values) b += U32Bytes(type) + bytes;
    return b;
}

}  // namespace tv::script::test
