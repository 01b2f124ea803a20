// The host registration interface: types, routines, constants, variables, classes, interfaces and
// attribute types, each accepted only while a compile runs.

#include <algorithm>

#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

[[noreturn]] void Raise(std::string_view pattern, std::string_view arg = {}) {
    throw EPSCompilerException(FormatOne(pattern, arg));
}

constexpr std::string_view kResultName = "RESULT";

}  // namespace

void TPSPascalCompiler::CheckInCompile() const {
    if (!compiling_) Raise(kOnlyInUses);
}

bool TPSPascalCompiler::NameClashes(std::string_view upperName, uint8_t kinds) {
    if (upperName == kResultName) return true;
    uint32_t hash = HashName(upperName);
    if ((kinds & nkType) && FindTypeUpper(upperName)) return true;
    if ((kinds & nkProc) &&
        ProcIndex().Last(hash, [&](uint32_t i) { return ProcName(i).Is(hash, upperName); }) >= 0)
        return true;
    if ((kinds & nkVar) && FindGlobalVar(upperName, hash) >= 0) return true;
    if ((kinds & nkConst) && FindConstantUpper(upperName, hash)) return true;
    return false;
}

void TPSPascalCompiler::CheckDuplicate(std::string_view orgName, std::string_view upperName, uint8_t kinds) {
    if (!AllowDuplicateRegister && NameClashes(upperName, kinds)) Raise(kDuplicateIdentifier, orgName);
}

TPSType* TPSPascalCompiler::NewType(TPSTypeKind kind, uint8_t baseType) {
    std::unique_ptr<TPSType> t;
    switch (kind) {
        case TPSTypeKind::Variant:
            t = std::make_unique<TPSVariantType>();
            break;
        case TPSTypeKind::Record:
            t = std::make_unique<TPSRecordType>();
            break;
        case TPSTypeKind::Class:
            t = std::make_unique<TPSClassType>();
            break;
        case TPSTypeKind::UndefinedClass:
            t = std::make_unique<TPSUndefinedClassType>();
            break;
        case TPSTypeKind::Interface:
            t = std::make_unique<TPSInterfaceType>();
            break;
        case TPSTypeKind::Procedural:
            t = std::make_unique<TPSProceduralType>();
            break;
        case TPSTypeKind::Array:
            t = std::make_unique<TPSArrayType>();
            break;
        case TPSTypeKind::StaticArray:
            t = std::make_unique<TPSStaticArrayType>();
            break;
        case TPSTypeKind::Set:
            t = std::make_unique<TPSSetType>();
            break;
        case TPSTypeKind::Link:
            t = std::make_unique<TPSTypeLink>();
            break;
        case TPSTypeKind::Enum:
            t = std::make_unique<TPSEnumType>();
            break;
        case TPSTypeKind::Plain:
            t = std::make_unique<TPSType>(TPSTypeKind::Plain, baseType);
            break;
    }
    return AppendType(std::move(t));
}

static TPSTypeKind KindOfCode(uint8_t code) {
    switch (code) {
        case btRecord:
            return TPSTypeKind::Record;
        case btArray:
            return TPSTypeKind::Array;
        case btVariant:
            return TPSTypeKind::Variant;
        case btProcPtr:
            return TPSTypeKind::Procedural;
        case btStaticArray:
            return TPSTypeKind::StaticArray;
        case btClass:
            return TPSTypeKind::Class;
        case btInterface:
            return TPSTypeKind::Interface;
        case btEnum:
            return TPSTypeKind::Enum;
        case btExtClass:
            return TPSTypeKind::UndefinedClass;
        case btTypeLink:
            return TPSTypeKind::Link;
        default:
            return TPSTypeKind::Plain;
    }
}

TPSType* TPSPascalCompiler::AddType(std::string_view name, uint8_t baseType) {
    CheckInCompile();
    std::string upper = AsciiUpperCase(name);
    CheckDuplicate(name, upper, nkType | nkProc | nkVar);
    TPSType* t = NewType(KindOfCode(baseType), baseType);
    t->SetName(name);
    t->DeclarePos = -1;
    return t;
}

TPSType* TPSPascalCompiler::AddTypeS(std::string_view name, std::string_view decl) {
    CheckInCompile();
    std::string upper = AsciiUpperCase(name);
    if (!AllowDuplicateRegister && FindTypeUpper(upper)) Raise(kDuplicateIdentifier, name);
    TPSPascalParser p;
    p.SetText(decl);
    TPSType* t = ParseType(p, name, true);
    if (!t) Raise(kUnableToRegisterType, name);
    t->ExportName = true;
    t->DeclarePos = -1;
    t->DeclareRow = 0;
    t->DeclareCol = 0;
    return t;
}

TPSType* TPSPascalCompiler::AddTypeCopy(std::string_view name, TPSType* type) {
    CheckInCompile();
    type = Unlink(type);
    if (!type) Raise(kInvalidType);
    CheckDuplicate(name, AsciiUpperCase(name), nkType | nkProc | nkVar);
    auto* link = static_cast<TPSTypeLink*>(NewType(TPSTypeKind::Link, btTypeLink));
    link->SetName(name);
    link->LinkTypeNo = type;
    return link;
}

TPSType* TPSPascalCompiler::AddTypeCopyN(std::string_view name, std::string_view typeName) {
    CheckInCompile();
    return AddTypeCopy(name, FindType(typeName));
}

TPSType* TPSPascalCompiler::FindTypeUpper(std::string_view upperName) {
    const uint32_t hash = HashName(upperName);
    typeIndex_.Sync(types_.size(), [this](uint32_t i) {
        types_[i]->NameLink.Attach(&typeIndex_, i);
        return types_[i]->NameHash;
    });
    const int64_t i = typeIndex_.Last(hash, [&](uint32_t at) {
        const TPSType* t = types_[at].get();
        return t->NameHash == hash && t->Name == upperName;
    });
    return i < 0 ? nullptr : Unlink(types_[static_cast<size_t>(i)].get());
}

TPSType* TPSPascalCompiler::FindType(std::string_view name) {
    if (!compiling_) return nullptr;
    return FindTypeUpper(AsciiUpperCase(name));
}

std::string TPSPascalCompiler::MakeImportDecl(const TPSParametersDecl& decl) {
    std::string s(1, decl.Result ? '\1' : '\0');
    for (const auto& p : decl.Params) s.push_back(p.Mode == pmIn ? '\0' : '\1');
    return s;
}

TPSRegProc* TPSPascalCompiler::AppendRegProc(std::unique_ptr<TPSRegProc> proc) {
    proc->ExportName = true;
    proc->ImportDecl = MakeImportDecl(proc->Decl);
    regProcs_.push_back(std::move(proc));
    return regProcs_.back().get();
}

TPSRegProc* TPSPascalCompiler::AddFunction(std::string_view header) {
    CheckInCompile();
    auto proc = std::make_unique<TPSRegProc>();
    if (!ParseSimpleHeading(header, *proc)) Raise(kUnableToRegisterFunction, proc->Name.OrgName);
    // A name the container cannot hold as a one-byte-counted text is refused.
    if (proc->Name.Name.size() > kMaxString8Length) Raise(kUnableToRegisterFunction, proc->Name.OrgName);
    return AppendRegProc(std::move(proc));
}

TPSRegProc* TPSPascalCompiler::AddNativeFunction(std::string_view header) {
    CheckInCompile();
    auto proc = std::make_unique<TPSRegProc>();
    TPSPascalParser p;
    p.SetText(header);
    std::string orgName;
    bool isConstructor = false;
    if (!ParseFullHeading(p, {}, proc->Decl, orgName, isConstructor) || orgName.size() > kMaxString8Length)
        Raise(kUnableToRegisterFunction, header);
    proc->SetName(orgName);
    if (FindProc(proc->Name.Name) >= 0 && !AllowDuplicateRegister) Raise(kDuplicateIdentifier, header);
    return AppendRegProc(std::move(proc));
}

TPSConstant* TPSPascalCompiler::FindConstantUpper(std::string_view upperName, uint32_t hash) {
    constIndex_.Sync(constants_.size(), [this](uint32_t i) {
        constants_[i]->Name.Link.Attach(&constIndex_, i);
        return constants_[i]->Name.NameHash;
    });
    const int64_t i = constIndex_.Last(hash, [&](uint32_t at) { return constants_[at]->Name.Is(hash, upperName); });
    return i < 0 ? nullptr : constants_[static_cast<size_t>(i)].get();
}

TPSConstant* TPSPascalCompiler::AddConstant(std::string_view name, TPSType* type) {
    CheckInCompile();
    type = Unlink(type);
    if (!type) Raise(kUnableToRegisterConst, name);
    CheckDuplicate(name, AsciiUpperCase(name), nkProc | nkVar | nkConst);
    auto c = std::make_unique<TPSConstant>();
    c->SetName(name);
    c->Value = NewValue(type);
    constants_.push_back(std::move(c));
    return constants_.back().get();
}

TPSConstant* TPSPascalCompiler::AddConstantN(std::string_view name, std::string_view typeName) {
    CheckInCompile();
    return AddConstant(name, FindType(typeName));
}

TPSConstant* TPSPascalCompiler::GetConstant(std::string_view name) {
    CheckInCompile();
    std::string upper = AsciiUpperCase(name);
    return FindConstantUpper(upper, HashName(upper));
}

int32_t TPSPascalCompiler::FindGlobalVar(std::string_view upperName, uint32_t hash) {
    varIndex_.Sync(vars_.size(), [this](uint32_t i) {
        vars_[i]->Name.Link.Attach(&varIndex_, i);
        return vars_[i]->Name.NameHash;
    });
    // The first global of a name is the one a script reaches.
    return static_cast<int32_t>(varIndex_.First(hash, [&](uint32_t at) { return vars_[at]->Name.Is(hash, upperName); }));
}

TPSVar* TPSPascalCompiler::NewVariable(std::string_view name, TPSType* type) {
    CheckInCompile();
    type = Unlink(type);
    if (!type) Raise(kInvalidTypeForVariable, name);
    std::string upper = AsciiUpperCase(name);
    // Another global of the name, and the name Result, clash even when duplicates are allowed.
    if (NameClashes(upper, nkVar)) Raise(kDuplicateIdentifier, name);
    CheckDuplicate(name, upper, nkType | nkProc | nkConst);
    auto v = std::make_unique<TPSVar>();
    v->SetName(name);
    v->aType = type;
    v->ExportName = v->Name.Name;
    vars_.push_back(std::move(v));
    return vars_.back().get();
}

TPSVar* TPSPascalCompiler::AddVariable(std::string_view name, TPSType* type) {
    return NewVariable(name, type);
}

TPSVar* TPSPascalCompiler::AddVariableN(std::string_view name, std::string_view typeName) {
    CheckInCompile();
    TPSType* t = FindType(typeName);
    return t ? AddVariable(name, t) : nullptr;
}

TPSVar* TPSPascalCompiler::AddUsedVariable(std::string_view name, TPSType* type) {
    TPSVar* v = NewVariable(name, type);
    v->Use();
    return v;
}

TPSVar* TPSPascalCompiler::AddUsedVariableN(std::string_view name, std::string_view typeName) {
    CheckInCompile();
    TPSType* t = FindType(typeName);
    return t ? AddUsedVariable(name, t) : nullptr;
}

TPSVar* TPSPascalCompiler::AddUsedPtrVariable(std::string_view name, TPSType* type) {
    TPSVar* v = AddUsedVariable(name, type);
    v->SaveAsPointer = true;
    return v;
}

TPSVar* TPSPascalCompiler::AddUsedPtrVariableN(std::string_view name, std::string_view typeName) {
    CheckInCompile();
    TPSType* t = FindType(typeName);
    return t ? AddUsedPtrVariable(name, t) : nullptr;
}

TPSInterface* TPSPascalCompiler::AddInterface(TPSInterface* inheritedFrom, const TPSGuid& guid,
                                              std::string_view name) {
    CheckInCompile();
    std::string upper = AsciiUpperCase(name);
    TPSType* existing = FindTypeUpper(upper);
    if (existing && !AllowDuplicateRegister) Raise(kDuplicateIdentifier, name);
    if (existing && existing->BaseType == btInterface) {
        TPSInterface* intf = static_cast<TPSInterfaceType*>(existing)->Intf;
        intf->Guid = guid;
        intf->InheritedFrom = inheritedFrom;
        return intf;
    }
    auto* t = static_cast<TPSInterfaceType*>(NewType(TPSTypeKind::Interface, btInterface));
    t->SetName(name);
    interfaces_.push_back(std::make_unique<TPSInterface>(*this, inheritedFrom, guid, name, t));
    t->Intf = interfaces_.back().get();
    return t->Intf;
}

TPSInterface* TPSPascalCompiler::FindInterface(std::string_view name) {
    CheckInCompile();
    std::string upper = AsciiUpperCase(name);
    uint32_t hash = HashName(upper);
    for (const auto& i : interfaces_)
        if (i->Name.Is(hash, upper)) return i.get();
    Raise(kUnknownInterface, name);
}

TPSCompileTimeClass* TPSPascalCompiler::AddClassN(TPSCompileTimeClass* inheritsFrom,
                                                  std::string_view className) {
    CheckInCompile();
    if (TPSCompileTimeClass* existing = FindClass(className)) {
        if (existing->ClassInheritsFrom && !AllowDuplicateRegister) Raise(kDuplicateIdentifier, className);
        if (inheritsFrom) existing->ClassInheritsFrom = inheritsFrom;
        return existing;
    }
    auto* t = static_cast<TPSClassType*>(NewType(TPSTypeKind::Class, btClass));
    t->SetName(className);
    t->ExportName = true;
    classes_.push_back(std::make_unique<TPSCompileTimeClass>(className, t, *this));
    t->CL = classes_.back().get();
    t->CL->ClassInheritsFrom = inheritsFrom;
    return t->CL;
}

TPSCompileTimeClass* TPSPascalCompiler::FindClass(std::string_view className) {
    CheckInCompile();
    std::string upper = AsciiUpperCase(className);
    uint32_t hash = HashName(upper);
    for (const auto& c : classes_)
        if (c->ClassNameHash == hash && c->ClassName == upper) return c.get();
    return nullptr;
}

TPSAttributeType* TPSPascalCompiler::AddAttributeType() {
    if (!compiling_) throw Exception(std::string(kOnlyInUses));
    attributeTypes_.push_back(std::make_unique<TPSAttributeType>());
    return attributeTypes_.back().get();
}

TPSAttributeType* TPSPascalCompiler::FindAttributeType(std::string_view name) {
    if (!compiling_) throw Exception(std::string(kOnlyInUses));
    std::string upper = AsciiUpperCase(name);
    uint32_t hash = HashName(upper);
    for (size_t i = attributeTypes_.size(); i-- > 0;)
        if (attributeTypes_[i]->Name.Is(hash, upper)) return attributeTypes_[i].get();
    return nullptr;
}

TPSName& TPSPascalCompiler::ProcName(size_t i) const {
    TPSProcedure* p = procs_[i].get();
    return p->IsInternal() ? static_cast<TPSInternalProcedure*>(p)->Name
                           : static_cast<TPSExternalProcedure*>(p)->RegProc->Name;
}

TNameIndex& TPSPascalCompiler::ProcIndex() {
    procIndex_.Sync(procs_.size(), [this](uint32_t i) {
        // A host routine's entry carries the name of its registration.
        ProcName(i).Link.Attach(&procIndex_, i);
        return ProcName(i).NameHash;
    });
    return procIndex_;
}

int32_t TPSPascalCompiler::FindForwardProc(std::string_view upperName, uint32_t hash) {
    return static_cast<int32_t>(ProcIndex().First(hash, [&](uint32_t i) {
        const TPSProcedure* p = procs_[i].get();
        return p->IsInternal() && static_cast<const TPSInternalProcedure*>(p)->Forwarded &&
               ProcName(i).Is(hash, upperName);
    }));
}

int32_t TPSPascalCompiler::FindProc(std::string_view upperName) {
    const uint32_t hash = HashName(upperName);
    const int64_t i = ProcIndex().Last(hash, [&](uint32_t at) { return ProcName(at).Is(hash, upperName); });
    if (i >= 0) return static_cast<int32_t>(i);
    regProcIndex_.Sync(regProcs_.size(), [this](uint32_t at) {
        regProcs_[at]->Name.Link.Attach(&regProcIndex_, at);
        return regProcs_[at]->Name.NameHash;
    });
    const int64_t r = regProcIndex_.Last(hash, [&](uint32_t at) { return regProcs_[at]->Name.Is(hash, upperName); });
    if (r < 0) return -1;
    auto ext = std::make_unique<TPSExternalProcedure>();
    ext->RegProc = regProcs_[static_cast<size_t>(r)].get();
    procs_.push_back(std::move(ext));
    if (OnUseRegProc) OnUseRegProc(*this, parser_.CurrTokenPos(), std::string(upperName));
    return static_cast<int32_t>(procs_.size() - 1);
}

TPSParametersDecl* TPSPascalCompiler::UseExternalProc(std::string_view upperName) {
    int32_t n = FindProc(upperName);
    if (n < 0 || procs_[static_cast<size_t>(n)]->IsInternal()) return nullptr;
    return &static_cast<TPSExternalProcedure&>(*procs_[static_cast<size_t>(n)]).RegProc->Decl;
}

int32_t TPSPascalCompiler::AddMemberProc(const TPSParametersDecl& decl, std::string importDecl) {
    auto reg = std::make_unique<TPSRegProc>();
    reg->Decl = decl;
    reg->ImportDecl = std::move(importDecl);
    auto ext = std::make_unique<TPSExternalProcedure>();
    ext->RegProc = reg.get();
    regProcs_.push_back(std::move(reg));
    procs_.push_back(std::move(ext));
    return static_cast<int32_t>(procs_.size() - 1);
}

std::string TPSPascalCompiler::MakeDecl(const TPSParametersDecl& decl) const {
    std::string s = decl.Result ? decl.Result->Name : "0";
    for (const auto& p : decl.Params) {
        s += p.Mode == pmIn ? " @" : " !";
        if (p.aType) s += p.aType->Name;
    }
    return s;
}

TPSPascalCompilerMessage* TPSPascalCompiler::MakeError(std::string_view module,
                                                       TPSPascalCompilerErrorType code,
                                                       std::string_view param) {
    auto m = std::make_unique<TPSPascalCompilerError>(code);
    m->ModuleName.assign(module);
    m->Param.assign(param);
    m->SetCustomPos(parser_.CurrTokenPos(), parser_.Row(), parser_.Col());
    messages_.push_back(std::move(m));
    return messages_.back().get();
}

TPSPascalCompilerMessage* TPSPascalCompiler::MakeHint(std::string_view module, TPSPascalCompilerHintType code,
                                                      std::string_view param) {
    auto m = std::make_unique<TPSPascalCompilerHint>(code);
    m->ModuleName.assign(module);
    m->Param.assign(param);
    m->SetCustomPos(parser_.CurrTokenPos(), parser_.Row(), parser_.Col());
    messages_.push_back(std::move(m));
    return messages_.back().get();
}

TPSPascalCompilerMessage* TPSPascalCompiler::MakeWarning(std::string_view module,
                                                         TPSPascalCompilerWarningType code,
                                                         std::string_view param) {
    auto m = std::make_unique<TPSPascalCompilerWarning>(code);
    m->ModuleName.assign(module);
    m->Param.assign(param);
    m->SetCustomPos(parser_.CurrTokenPos(), parser_.Row(), parser_.Col());
    messages_.push_back(std::move(m));
    return messages_.back().get();
}

}  // namespace tv::script
