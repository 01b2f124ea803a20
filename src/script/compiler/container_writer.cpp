// Writes the compiled-script container: header, type records, procedure records, variable records
// and the procedure bodies.

#include "script/common/byte_io.h"
#include "script/common/number_text.h"
#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

uint32_t TypeNo(const TPSType* t) {
    return t ? static_cast<uint32_t>(t->FinalTypeNo) : 0;
}

}  // namespace

std::string TPSPascalCompiler::ExportDecl(const TPSParametersDecl& decl) {
    std::string s = decl.Result ? IntegerToText(decl.Result->FinalTypeNo) : "-1";
    for (const auto& p : decl.Params) {
        s += p.Mode == pmIn ? " @" : " !";
        s += IntegerToText(p.aType ? p.aType->FinalTypeNo : -1);
    }
    return s;
}

void TPSPascalCompiler::WriteAttributes(const TPSAttributes& attributes) {
    AppendU32(output_, static_cast<uint32_t>(attributes.Items.size()));
    for (const auto& a : attributes.Items) {
        AppendString32(output_, a->AttribType ? a->AttribType->Name.Name : std::string());
        AppendU32(output_, static_cast<uint32_t>(a->Values.size()));
        for (const auto& v : a->Values) AppendTypedConstant(output_, *v);
    }
}

void TPSPascalCompiler::WriteTypeRecord(TPSType* t) {
    if (t->BaseType == btExtClass) {
        auto* ext = static_cast<TPSUndefinedClassType*>(t)->ExtClass;
        TPSType* self = ext ? Unlink(ext->SelfType()) : nullptr;
        if (self && self != t && self->BaseType != btExtClass) t = self;
    }
    uint8_t code = ContainerTypeCode(t);
    if (code == btExtClass) code = btU32;
    AppendU8(output_, static_cast<uint8_t>(code | (t->ExportName ? kTypeExportedFlag : 0)));
    switch (code) {
        case btInterface: {
            auto* intf = static_cast<TPSInterfaceType*>(t)->Intf;
            TPSGuid g = intf ? intf->Guid : TPSGuid{};
            output_.append(reinterpret_cast<const char*>(g.data()), g.size());
            break;
        }
        case btClass: {
            auto* cl = static_cast<TPSClassType*>(t)->CL;
            AppendString32(output_, cl ? cl->ClassName : t->Name);
            break;
        }
        case btProcPtr: {
            const TPSParametersDecl& d = static_cast<TPSProceduralType*>(t)->ProcDef;
            std::string info(1, d.Result ? '\1' : '\0');
            for (const auto& p : d.Params) info.push_back(p.Mode == pmIn ? '\0' : '\1');
            AppendString32(output_, info);
            break;
        }
        case btSet:
            AppendU32(output_, static_cast<TPSSetType*>(t)->GetBitSize());
            break;
        case btArray:
            AppendU32(output_, TypeNo(static_cast<TPSArrayType*>(t)->ArrayTypeNo));
            break;
        case btStaticArray: {
            auto* s = static_cast<TPSStaticArrayType*>(t);
            AppendU32(output_, TypeNo(s->ArrayTypeNo));
            AppendU32(output_, s->Length);
            AppendU32(output_, static_cast<uint32_t>(s->StartOffset));
            break;
        }
        case btRecord: {
            auto* r = static_cast<TPSRecordType*>(t);
            AppendU32(output_, static_cast<uint32_t>(r->RecordSubVals.size()));
            for (const auto& f : r->RecordSubVals) AppendU32(output_, TypeNo(f.aType));
            break;
        }
        default:
            break;
    }
    if (t->ExportName) AppendString32(output_, t->Name);
    WriteAttributes(t->Attributes);
}

bool TPSPascalCompiler::WriteContainer() {
    if (OnBeforeOutput && !OnBeforeOutput(*this)) return false;

    // Everything the records refer to gets its type number before the header counts them.
    for (const auto& v : vars_) v->aType = UseType(v->aType);
    for (const auto& proc : procs_) {
        if (proc->IsInternal()) UseDeclTypes(static_cast<TPSInternalProcedure&>(*proc).Decl);
        for (const auto& a : proc->Attributes.Items)
            for (const auto& v : a->Values) UseType(v->FType);
    }
    TPSType* pointerForVars = nullptr;
    for (const auto& t : types_)
        if (t->BaseType == btPointer) pointerForVars = t.get();
    for (const auto& v : vars_)
        if (v->SaveAsPointer) UseType(pointerForVars);
    for (const auto& t : types_)
        if (t->Used)
            for (const auto& a : t->Attributes.Items)
                for (const auto& v : a->Values) UseType(v->FType);

    int32_t mainProc = -1;
    for (size_t i = 0; i < procs_.size(); ++i)
        if (procs_[i]->IsInternal() &&
            static_cast<TPSInternalProcedure&>(*procs_[i]).Name.Name == kMainProcName) {
            mainProc = static_cast<int32_t>(i);
            break;
        }
    WriteDebugProcNames();
    WriteDebugVarNames();

    std::vector<TPSType*> numbered(currUsedTypeNo_, nullptr);
    for (const auto& t : types_)
        if (t->Used && t->FinalTypeNo >= 0 && static_cast<uint32_t>(t->FinalTypeNo) < numbered.size())
            numbered[static_cast<size_t>(t->FinalTypeNo)] = t.get();

    output_.clear();
    AppendU32(output_, kContainerMagic);
    AppendU32(output_, kContainerBuild);
    AppendU32(output_, currUsedTypeNo_);
    AppendU32(output_, static_cast<uint32_t>(procs_.size()));
    AppendU32(output_, static_cast<uint32_t>(vars_.size()));
    AppendU32(output_, static_cast<uint32_t>(mainProc));
    AppendU32(output_, 0);
    for (TPSType* t : numbered) WriteTypeRecord(t);

    std::vector<size_t> offsetFields(procs_.size(), 0);
    for (size_t i = 0; i < procs_.size(); ++i) {
        TPSProcedure& proc = *procs_[i];
        uint8_t attrFlag = proc.Attributes.Items.empty() ? 0 : procAttributes;
        if (proc.IsInternal()) {
            auto& ip = static_cast<TPSInternalProcedure&>(proc);
            AppendU8(output_, static_cast<uint8_t>(procExported | attrFlag));
            offsetFields[i] = output_.size();
            AppendU32(output_, 0);
            AppendU32(output_, 0);
            AppendString32(output_, ip.Name.Name);
            AppendString32(output_, ExportDecl(ip.Decl));
        } else {
            const TPSRegProc& reg = *static_cast<TPSExternalProcedure&>(proc).RegProc;
            std::string name = reg.Name.Name.substr(0, kMaxString8Length);
            if (!reg.ImportDecl.empty()) {
                AppendU8(output_, static_cast<uint8_t>(procExternal | procExported | attrFlag));
                if (!reg.ExportName) name.clear();
                AppendU8(output_, static_cast<uint8_t>(name.size()));
                output_ += name;
                AppendString32(output_, reg.ImportDecl);
            } else {
                AppendU8(output_, static_cast<uint8_t>(procExternal | attrFlag));
                AppendU8(output_, static_cast<uint8_t>(name.size()));
                output_ += name;
            }
        }
        if (attrFlag) WriteAttributes(proc.Attributes);
    }
    for (const auto& v : vars_) {
        AppendU32(output_, v->SaveAsPointer ? TypeNo(pointerForVars) : TypeNo(v->aType));
        if (!v->ExportName.empty()) {
            AppendU8(output_, 1);
            AppendString32(output_, v->ExportName);
        } else {
            AppendU8(output_, 0);
        }
    }
    for (size_t i = 0; i < procs_.size(); ++i) {
        if (!procs_[i]->IsInternal()) continue;
        auto& ip = static_cast<TPSInternalProcedure&>(*procs_[i]);
        if (ip.Data.empty()) ip.Data.push_back(static_cast<char>(opReturn));
        PatchU32(output_, offsetFields[i], static_cast<uint32_t>(output_.size()));
        PatchU32(output_, offsetFields[i] + 4, static_cast<uint32_t>(ip.Data.size()));
        output_ += ip.Data;
    }
    return true;
}

}  // namespace tv::script
