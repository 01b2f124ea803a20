#include "script/compiler/host_classes.h"

#include "script/common/byte_io.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

std::string ParamBytes(const TPSParametersDecl& decl) {
    std::string s(1, decl.Result ? '\1' : '\0');
    for (const auto& p : decl.Params) s.push_back(p.Mode == pmIn ? '\0' : '\1');
    return s;
}

std::string Int32Bytes(uint32_t v) {
    std::string s;
    AppendU32(s, v);
    return s;
}

// Ancestor chains are walked at most this far, so a cycle a host registered cannot hang a compile.
constexpr int kMaxAncestors = 10000;

// The conversion routine "class:+" of a class or interface: (Org: the source type; TypeNo: the target's
// type number) with the target type as result.
int32_t MakeCastProc(TPSPascalCompiler& owner, TPSType* sourceType, TPSType* intoType) {
    TPSParametersDecl decl;
    TPSParameterDecl& org = decl.AddParam();
    org.SetOrgName("Org");
    org.aType = sourceType;
    TPSParameterDecl& typeNo = decl.AddParam();
    typeNo.SetOrgName("TypeNo");
    typeNo.aType = owner.BaseTypeDef(btU32);
    decl.Result = intoType;
    return owner.AddMemberProc(decl, std::string(kClassDeclPrefix) + "+");
}

bool IsMethodItem(const TPSNativeClassItem& i) {
    return i.Kind != TPSClassItemKind::Property;
}
bool IsConstructorItem(const TPSNativeClassItem& i) {
    return i.Kind == TPSClassItemKind::Constructor;
}
bool IsPropertyItem(const TPSNativeClassItem& i) {
    return i.Kind == TPSClassItemKind::Property;
}

}  // namespace

TPSCompileTimeClass::TPSCompileTimeClass(std::string_view className, TPSClassType* type,
                                         TPSPascalCompiler& owner)
    : ClassName(AsciiUpperCase(className)), ClassNameHash(HashName(ClassName)), type_(type), owner_(owner) {}

bool TPSCompileTimeClass::RegisterMethod(std::string_view decl) {
    TPSPascalParser p;
    p.SetText(decl);
    bool isConstructor = p.CurrTokenID() == CSTII_constructor;
    auto item = std::make_unique<TPSNativeClassItem>(isConstructor ? TPSClassItemKind::Constructor
                                                                   : TPSClassItemKind::Method);
    std::string orgName;
    if (!owner_.ParseMethodDecl({}, ClassName, item->Decl, orgName, &p)) return false;
    item->Owner = this;
    item->Name.Set(orgName);
    ClassItems.push_back(std::move(item));
    return true;
}

void TPSCompileTimeClass::RegisterProperty(std::string_view name, std::string_view typeText,
                                           TPSPropType access) {
    auto item = std::make_unique<TPSNativeClassItem>(TPSClassItemKind::Property);
    item->Owner = this;
    item->Name.Set(name);
    item->AccessType = access;
    std::string rest(typeText);
    bool first = true;
    int index = 0;
    while (!rest.empty()) {
        std::string word = TakeFirstWord(rest);
        if (word.empty()) continue;
        TPSType* t = owner_.FindType(word);
        if (!t) return;  // an unknown type drops the property
        if (first) {
            item->Decl.Result = t;
            first = false;
        } else {
            TPSParameterDecl& param = item->Decl.AddParam();
            param.SetOrgName("param" + std::to_string(++index));
            param.aType = t;
        }
    }
    if (first) return;
    ClassItems.push_back(std::move(item));
}

void TPSCompileTimeClass::SetDefaultPropery(std::string_view name) {
    std::string upper = AsciiUpperCase(name);
    uint32_t hash = HashName(upper);
    for (size_t i = ClassItems.size(); i-- > 0;) {
        TPSNativeClassItem& item = *ClassItems[i];
        if (!item.Name.Is(hash, upper)) continue;
        if (item.Kind != TPSClassItemKind::Property)
            throw EPSCompilerException(FormatOne(kNotAProperty, name));
        if (item.Decl.Params.empty()) throw EPSCompilerException(FormatOne(kNotAnArrayProperty, name));
        DefaultProperty = static_cast<int32_t>(i);
        return;
    }
    throw EPSCompilerException(FormatOne(kUnknownProperty, name));
}

TPSNativeClassItem* TPSCompileTimeClass::FindOwn(std::string_view upperName,
                                                 bool (*accept)(const TPSNativeClassItem&)) {
    uint32_t hash = HashName(upperName);
    int guard = 0;  // a host may register ancestors in a cycle
    for (TPSCompileTimeClass* c = this; c && guard < kMaxAncestors; c = c->ClassInheritsFrom, ++guard) {
        for (size_t i = c->ClassItems.size(); i-- > 0;) {
            TPSNativeClassItem& item = *c->ClassItems[i];
            if (accept(item) && item.Name.Is(hash, upperName)) return &item;
        }
    }
    return nullptr;
}

TPSNativeClassItem* TPSCompileTimeClass::Func_Find(std::string_view upperName) {
    return FindOwn(upperName, IsMethodItem);
}

TPSNativeClassItem* TPSCompileTimeClass::ClassFunc_Find(std::string_view upperName) {
    return FindOwn(upperName, IsConstructorItem);
}

TPSNativeClassItem* TPSCompileTimeClass::Property_Find(std::string_view upperName) {
    if (!upperName.empty()) return FindOwn(upperName, IsPropertyItem);
    int guard = 0;
    for (TPSCompileTimeClass* c = this; c && guard < kMaxAncestors; c = c->ClassInheritsFrom, ++guard)
        if (c->DefaultProperty >= 0) return c->ClassItems[static_cast<size_t>(c->DefaultProperty)].get();
    return nullptr;
}

std::string TPSCompileTimeClass::MemberDecl(const TPSNativeClassItem& item, bool write) const {
    // "class:" + the class that declares the member + "|" + member name (+ "@" to write) + "|".
    return std::string(kClassDeclPrefix) + item.Owner->ClassName + "|" + item.Name.Name +
           (write ? "@|" : "|");
}

bool TPSCompileTimeClass::Func_Call(TPSNativeClassItem& item, int32_t& procNo) {
    if (item.MethodNo < 0) {
        std::string decl = MemberDecl(item, false) + '\0' + ParamBytes(item.Decl);
        item.MethodNo = owner_.AddMemberProc(item.Decl, std::move(decl));
    }
    procNo = item.MethodNo;
    return true;
}

bool TPSCompileTimeClass::ClassFunc_Call(TPSNativeClassItem& item, int32_t& procNo) {
    if (IsAbstract) owner_.MakeWarning({}, ewAbstractClass, {});
    return Func_Call(item, procNo);
}

bool TPSCompileTimeClass::Property_Get(TPSNativeClassItem& item, int32_t& procNo) {
    if (item.AccessType == iptW) return false;
    if (item.ReadProcNo < 0) {
        TPSParametersDecl decl;
        decl.Result = item.Decl.Result;
        item.ReadProcNo = owner_.AddMemberProc(
            decl, MemberDecl(item, false) + Int32Bytes(static_cast<uint32_t>(item.Decl.Params.size() + 1)));
    }
    procNo = item.ReadProcNo;
    return true;
}

bool TPSCompileTimeClass::Property_Set(TPSNativeClassItem& item, int32_t& procNo) {
    if (item.AccessType == iptR) return false;
    if (item.WriteProcNo < 0) {
        item.WriteProcNo = owner_.AddMemberProc(
            TPSParametersDecl(),
            MemberDecl(item, true) + Int32Bytes(static_cast<uint32_t>(item.Decl.Params.size() + 1)));
    }
    procNo = item.WriteProcNo;
    return true;
}

bool TPSCompileTimeClass::CastToType(TPSType* intoType, int32_t& procNo) {
    if (intoType && intoType->BaseType != btClass && intoType->BaseType != btInterface) return false;
    if (CastProc < 0) CastProc = MakeCastProc(owner_, type_, intoType);
    procNo = CastProc;
    return true;
}

bool TPSCompileTimeClass::SetNil(int32_t& procNo) {
    if (NilProc < 0) {
        TPSParametersDecl decl;
        TPSParameterDecl& var = decl.AddParam();
        var.SetOrgName("VarNo");
        var.Mode = pmInOut;
        NilProc = owner_.AddMemberProc(decl, std::string(kClassDeclPrefix) + "-");
    }
    procNo = NilProc;
    return true;
}

void TPSCompileTimeClass::Property_GetHeader(TPSNativeClassItem& item, TPSParametersDecl& dest) {
    owner_.UseDeclTypes(item.Decl);
    dest = item.Decl;
}

bool TPSCompileTimeClass::InheritsFrom(const TPSCompileTimeClass* other) const {
    int guard = 0;
    for (const TPSCompileTimeClass* c = this; c && guard < kMaxAncestors; c = c->ClassInheritsFrom, ++guard)
        if (c == other) return true;
    return false;
}

bool TPSCompileTimeClass::IsCompatibleWith(const TPSType* type) const {
    if (!type || type->BaseType != btClass) return false;
    const TPSCompileTimeClass* cl = static_cast<const TPSClassType*>(type)->CL;
    return cl && cl->InheritsFrom(this);
}

// --- interfaces ---

int32_t TPSInterfaceMethod::AbsoluteProcOffset() {
    if (OffsetCache < 0) {
        int32_t offset = 0;
        for (size_t i = 0; i < Owner->Items.size(); ++i)
            if (Owner->Items[i].get() == this) offset = static_cast<int32_t>(i);
        int guard = 0;
        for (TPSInterface* a = Owner->InheritedFrom; a && a != Owner && guard < kMaxAncestors;
             a = a->InheritedFrom, ++guard)
            offset += static_cast<int32_t>(a->Items.size());
        OffsetCache = offset;
    }
    return OffsetCache;
}

TPSInterface::TPSInterface(TPSPascalCompiler& owner, TPSInterface* inheritedFrom, const TPSGuid& guid,
                           std::string_view name, TPSInterfaceType* type)
    : InheritedFrom(inheritedFrom), Guid(guid), owner_(owner), type_(type) {
    Name.Set(name);
}

bool TPSInterface::RegisterMethod(std::string_view decl, TPSCallingConvention cc) {
    return RegisterMethodEx(decl, cc, nullptr);
}

bool TPSInterface::RegisterMethodEx(std::string_view decl, TPSCallingConvention cc, TPSPascalParser* parser) {
    auto m = std::make_unique<TPSInterfaceMethod>();
    m->Owner = this;
    m->CC = cc;
    std::string orgName;
    bool ok = owner_.ParseMethodDecl(decl, {}, m->Decl, orgName, parser);
    m->Name.Set(orgName);
    Items.push_back(std::move(m));
    return ok;
}

void TPSInterface::RegisterDummyMethod() {
    auto m = std::make_unique<TPSInterfaceMethod>();
    m->Owner = this;
    Items.push_back(std::move(m));
}

TPSInterfaceMethod* TPSInterface::Func_Find(std::string_view upperName) {
    uint32_t hash = HashName(upperName);
    int guard = 0;
    for (TPSInterface* i = this; i && guard < kMaxAncestors; i = i->InheritedFrom, ++guard)
        for (size_t k = i->Items.size(); k-- > 0;)
            if (i->Items[k]->Name.Is(hash, upperName)) return i->Items[k].get();
    return nullptr;
}

bool TPSInterface::Func_Call(TPSInterfaceMethod& method, int32_t& procNo) {
    if (method.ScriptProcNo < 0) {
        owner_.UseDeclTypes(method.Decl);
        std::string decl = std::string(kInterfaceDeclPrefix) + ".";
        AppendU32(decl, static_cast<uint32_t>(method.AbsoluteProcOffset()));
        decl.push_back(static_cast<char>(method.CC));
        decl += ParamBytes(method.Decl);
        method.ScriptProcNo = owner_.AddMemberProc(method.Decl, std::move(decl));
    }
    procNo = method.ScriptProcNo;
    return true;
}

bool TPSInterface::CastToType(TPSType* intoType, int32_t& procNo) {
    if (intoType && intoType->BaseType != btInterface) return false;
    if (CastProc < 0) CastProc = MakeCastProc(owner_, type_, owner_.UseType(intoType));
    procNo = CastProc;
    return true;
}

bool TPSInterface::SetNil(int32_t& procNo) {
    if (NilProc < 0) {
        TPSParametersDecl decl;
        TPSParameterDecl& var = decl.AddParam();
        var.SetOrgName("VarNo");
        var.Mode = pmInOut;
        var.aType = type_;
        NilProc = owner_.AddMemberProc(decl, std::string(kClassDeclPrefix) + "-");
    }
    procNo = NilProc;
    return true;
}

bool TPSInterface::InheritsFrom(const TPSInterface* other) const {
    int guard = 0;
    for (const TPSInterface* i = this; i && guard < kMaxAncestors; i = i->InheritedFrom, ++guard)
        if (i == other) return true;
    return false;
}

bool TPSInterface::IsCompatibleWith(const TPSType* type) const {
    if (!type) return false;
    if (type->BaseType == btClass) return true;
    if (type->BaseType != btInterface) return false;
    const TPSInterface* i = static_cast<const TPSInterfaceType*>(type)->Intf;
    return i && i->InheritsFrom(this);
}

}  // namespace tv::script
