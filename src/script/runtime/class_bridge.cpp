#include "script/runtime/class_bridge.h"

#include <cstring>
#include <map>

#include "platform/rtl/class_info.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/object_handles.h"
#include "script/common/byte_io.h"
#include "script/common/names.h"
#include "script/runtime/binding.h"
#include "script/runtime/class_binding.h"
#include "script/runtime/event_bridge.h"
#include "script/runtime/exec.h"

namespace tv::script {

namespace {

TPSProcPtr CodeOf(void* ext) {
    return reinterpret_cast<TPSProcPtr>(ext);
}
void* ExtOf(TPSProcPtr proc) {
    return reinterpret_cast<void*>(proc);
}

// The value of a stack item (a reference followed to its target); no value when the item is missing.
TPSValueRef ItemRef(TPSStack& s, int32_t at) {
    TPSVariant* item = s.Item(at);
    return item ? MakeValueRef(item, true) : TPSValueRef{};
}

bool IsBase(const TPSValueRef& v, uint8_t baseType) {
    return v.Data && v.TypeRec && v.TypeRec->FBaseType == baseType;
}

IInterface* LoadInterface(const TPSValueRef& v) {
    return static_cast<IInterface*>(LoadPtr(v.Data));
}

// Replaces the interface an interface variable holds (the old one released).
void StoreInterface(const TPSValueRef& v, IInterface* i) {
    IInterface* old = LoadInterface(v);
    Store<void*>(v.Data, i);
    if (old) old->Release();
}

// ---- member calls

// Methods (kinds 0 and 1): Self must be an object; the typed routine calls through it, so a virtual
// member runs the override of the object's own class.
bool MethodHandler(TPSExec& exec, TPSExternalProcRec& p, TPSStack& g, TPSStack& s) {
    if (p.FDecl.size() < 2) return false;
    const TPSValueRef self = ItemRef(s, p.FDecl[1] != 0 ? -2 : -1);
    if (!IsBase(self, btClass) || !LoadPtr(self.Data)) {
        exec.CMD_Err(erNullPointerException);
        return false;
    }
    return CodeOf(p.FExt1)(exec, p, g, s);
}

// The run-time class of the script class whose type number is at -2; nil when there is none.
const TPSRuntimeClass* TargetClass(TPSExec& exec, TPSExternalProcRec& p, TPSStack& s, bool& numberMissing) {
    const TPSValueRef n = ItemRef(s, -2);
    const TPSTypeRec* t = IsBase(n, btU32) ? exec.GetTypeNo(Load<uint32_t>(n.Data)) : nullptr;
    numberMissing = t == nullptr;
    const auto* registry = static_cast<const TPSRuntimeClassImporter*>(p.FExt2);
    if (!t || !registry) return nullptr;
    return registry->FindClass(t->FExportName);
}

template <bool Virtual>
bool ConstructorHandler(TPSExec& exec, TPSExternalProcRec& p, TPSStack& g, TPSStack& s) {
    bool numberMissing = false;
    if (!TargetClass(exec, p, s, numberMissing)) {
        if (Virtual && numberMissing) exec.CMD_Err(erNullPointerException);
        return false;
    }
    return CodeOf(p.FExt1)(exec, p, g, s);
}

// Property routines (kinds 3 and 7): the declaration holds 1 + the number of index arguments.
template <bool WithName>
bool PropertyHandler(TPSExec& exec, TPSExternalProcRec& p, TPSStack& g, TPSStack& s) {
    if (p.FDecl.size() < 4) return false;
    const uint32_t n = PeekU32(p.FDecl, 0);
    if (static_cast<uint64_t>(s.Count()) < uint64_t{n} + 1) return false;
    const bool read = p.FExt1 != nullptr;
    const TPSValueRef self = ItemRef(s, read ? -2 : -1);
    if (!IsBase(self, btClass)) {
        exec.CMD_Err(erNullPointerException);
        return false;
    }
    if (!WithName && !LoadPtr(self.Data)) {
        exec.CMD_Err(erCouldNotCallProc);
        return false;
    }
    return CodeOf(read ? p.FExt1 : p.FExt2)(exec, p, g, s);
}

// Event property routines (kind 6): the value is a procedure number or a procedure value.
bool EventPropertyHandler(TPSExec& exec, TPSExternalProcRec& p, TPSStack& g, TPSStack& s) {
    if (p.FDecl.size() < 4) return false;
    const uint32_t n = PeekU32(p.FDecl, 0);
    if (static_cast<uint64_t>(s.Count()) < uint64_t{n} + 1) return false;
    const bool read = p.FExt1 != nullptr;
    const TPSValueRef self = ItemRef(s, read ? -2 : -1);
    const TPSValueRef value = ItemRef(s, read ? -1 : -2);
    if (!IsBase(self, btClass) || !(IsBase(value, btU32) || IsBase(value, btProcPtr))) {
        exec.CMD_Err(erNullPointerException);
        return false;
    }
    return CodeOf(read ? p.FExt1 : p.FExt2)(exec, p, g, s);
}

// ---- published properties

// The ordinal a property holds; an object counts as its handle.
int64_t OrdinalOf(const TPropInfo& prop, const TObject& obj) {
    if (prop.GetOrd) return prop.GetOrd(obj);
    if (prop.GetObj) return TObjectHandles::HandleOf(prop.GetObj(obj));
    throw EPropertyError("Property " + prop.Name + " has no ordinal value");
}

void SetOrdinal(const TPropInfo& prop, TObject& obj, int64_t v) {
    if (prop.SetOrd) return prop.SetOrd(obj, v);
    if (prop.SetObj) return prop.SetObj(obj, TObjectHandles::ObjectOf(static_cast<int32_t>(v)));
    throw EPropertyError("Property " + prop.Name + " takes no ordinal value");
}

bool ReadPublished(const TPropInfo& prop, TObject& obj, const TPSValueRef& r) {
    switch (r.TypeRec->FBaseType) {
        case btU8:
        case btS8:
            Store<uint8_t>(r.Data, static_cast<uint8_t>(OrdinalOf(prop, obj)));
            return true;
        case btU16:
        case btS16:
            Store<uint16_t>(r.Data, static_cast<uint16_t>(OrdinalOf(prop, obj)));
            return true;
        case btU32:
        case btS32:
            Store<uint32_t>(r.Data, static_cast<uint32_t>(OrdinalOf(prop, obj)));
            return true;
        case btClass:
            SetValueFromObject(r.Data, r.TypeRec,
                               prop.GetObj
                                   ? prop.GetObj(obj)
                                   : TObjectHandles::ObjectOf(static_cast<int32_t>(OrdinalOf(prop, obj))));
            return true;
        case btSingle:
        case btDouble:
        case btExtended:
            if (!prop.GetFloat) return false;
            return SetValueFromReal(r.Data, r.TypeRec, prop.GetFloat(obj));
        case btString:
            if (!prop.GetStr) return false;
            return SetValueFromAnsiString(r.Data, r.TypeRec, AnsiString(Utf8ToCp1252(prop.GetStr(obj))));
        case btWideString:
        case btUnicodeString: {
            if (!prop.GetStr) return false;
            const std::u16string w = Utf8ToUtf16(prop.GetStr(obj));
            return SetValueFromUnicodeString(r.Data, r.TypeRec, UnicodeString(std::u16string_view(w)));
        }
        case btSet: {
            const auto* set = static_cast<const TPSTypeRec_Set*>(r.TypeRec);
            const uint64_t bits = static_cast<uint64_t>(OrdinalOf(prop, obj));
            for (uint32_t i = 0; i < set->FByteSize; ++i)
                static_cast<uint8_t*>(r.Data)[i] = i < 8 ? static_cast<uint8_t>(bits >> (8 * i)) : 0;
            return true;
        }
        default:
            return false;  // Char, WideChar, PChar and the rest are not read so
    }
}

bool WritePublished(const TPropInfo& prop, TObject& obj, const TPSValueRef& v) {
    switch (v.TypeRec->FBaseType) {
        case btU8:
        case btChar:
            SetOrdinal(prop, obj, Load<uint8_t>(v.Data));
            return true;
        case btS8:
            SetOrdinal(prop, obj, Load<int8_t>(v.Data));
            return true;
        case btU16:
        case btWideChar:
            SetOrdinal(prop, obj, Load<uint16_t>(v.Data));
            return true;
        case btS16:
            SetOrdinal(prop, obj, Load<int16_t>(v.Data));
            return true;
        case btU32:
            SetOrdinal(prop, obj, Load<uint32_t>(v.Data));
            return true;
        case btS32:
            SetOrdinal(prop, obj, Load<int32_t>(v.Data));
            return true;
        case btClass: {
            TObject* o = CheckedObject(v);
            if (prop.SetObj)
                prop.SetObj(obj, o);
            else
                SetOrdinal(prop, obj, TObjectHandles::HandleOf(o));
            return true;
        }
        case btSingle:
        case btDouble:
        case btExtended:
            if (!prop.SetFloat) return false;
            prop.SetFloat(obj, static_cast<double>(GetValueAsReal(v.Data, v.TypeRec)));
            return true;
        case btString:
        case btPChar:
            if (!prop.SetStr) return false;
            prop.SetStr(obj, Cp1252ToUtf8(GetValueAsAnsiString(v.Data, v.TypeRec).view()));
            return true;
        case btWideString:
        case btUnicodeString:
            if (!prop.SetStr) return false;
            prop.SetStr(obj, Utf16ToUtf8(GetValueAsUnicodeString(v.Data, v.TypeRec).view()));
            return true;
        case btSet: {
            const auto* set = static_cast<const TPSTypeRec_Set*>(v.TypeRec);
            uint64_t bits = 0;
            for (uint32_t i = 0; i < set->FByteSize && i < 8; ++i)
                bits |= uint64_t{static_cast<const uint8_t*>(v.Data)[i]} << (8 * i);
            SetOrdinal(prop, obj, static_cast<int64_t>(bits));
            return true;
        }
        default:
            return false;
    }
}

bool PublishedPropertyHandler(TPSExec& exec, TPSExternalProcRec& p, TPSStack&, TPSStack& s) {
    const bool read = p.FExt2 != nullptr;
    const TPSValueRef self = ItemRef(s, read ? -2 : -1);
    if (!IsBase(self, btClass)) {
        exec.CMD_Err(erNullPointerException);
        return false;
    }
    TObject* obj = CheckedObject(self);
    if (!obj) {
        exec.CMD_Err(erCouldNotCallProc);
        return false;
    }
    const TBusyObject running(obj);
    const auto& prop = *static_cast<const TPropInfo*>(p.FExt1);
    const TPSValueRef value = ItemRef(s, read ? -1 : -2);
    if (!value.Data || !value.TypeRec) return false;
    // An event travels as the procedure number or procedure value of its handler.
    if (prop.PropType && prop.PropType->Kind == TTypeKind::Method &&
        (IsBase(value, btU32) || IsBase(value, btProcPtr))) {
        if (read)
            ArgTraits<TMethod>::Put(exec, value, prop.GetMethod(*obj));
        else
            prop.SetMethod(*obj, ArgTraits<TMethod>::Get(exec, value));
        return true;
    }
    return read ? ReadPublished(prop, *obj, value) : WritePublished(prop, *obj, value);
}

// ---- casts and nil

bool CastHandler(TPSExec& exec, TPSExternalProcRec& p, TPSStack&, TPSStack& s) {
    const TPSValueRef dest = ItemRef(s, -1), src = ItemRef(s, -2), number = ItemRef(s, -3);
    if (!dest.Data || !src.Data || !IsBase(number, btU32) ||
        exec.GetTypeNo(Load<uint32_t>(number.Data)) != dest.TypeRec)
        return false;
    const uint8_t from = src.TypeRec->FBaseType, into = dest.TypeRec->FBaseType;
    if (into == btInterface && (from == btInterface || from == btClass)) {
        StoreInterface(dest, nullptr);
        IInterface* source = nullptr;
        if (from == btInterface)
            source = LoadInterface(src);
        else if (TObject* obj = CheckedObject(src))
            source = dynamic_cast<IInterface*>(obj);
        void* got = nullptr;
        if (source && source->QueryInterface(static_cast<const TPSTypeRec_Interface*>(dest.TypeRec)->FGuid,
                                             &got) == S_OK) {
            Store<void*>(dest.Data, got);
            return true;
        }
        exec.CMD_Err2(erCustomError, std::string(kCannotCastInterface));
        return false;
    }
    if (into == btClass && from == btClass) {
        const auto* registry = static_cast<const TPSRuntimeClassImporter*>(p.FExt2);
        const TClassInfo* cls = registry ? registry->FindHostClass(dest.TypeRec->FExportName) : nullptr;
        if (!cls) return false;
        TObject* obj = CheckedObject(src);
        if (obj && !cls->IsInstance(obj)) {
            exec.CMD_Err2(erCustomError, std::string(kCannotCastObject));
            return false;
        }
        SetValueFromObject(dest.Data, dest.TypeRec, obj);
        return true;
    }
    return false;
}

bool NilHandler(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = ItemRef(s, -1);
    if (IsBase(v, btClass)) {
        SetValueFromObject(v.Data, v.TypeRec, nullptr);
        return true;
    }
    if (IsBase(v, btInterface)) {
        StoreInterface(v, nullptr);
        return true;
    }
    exec.CMD_Err(erNullPointerException);
    return false;
}

// ---- interfaces

struct SlotKey {
    TGUID iid;
    uint32_t slot;
    bool operator<(const SlotKey& o) const {
        const int c = std::memcmp(&iid, &o.iid, sizeof(TGUID));
        return c != 0 ? c < 0 : slot < o.slot;
    }
};

std::map<SlotKey, TPSMemberCode>& InterfaceMethods() {
    static std::map<SlotKey, TPSMemberCode> methods;
    return methods;
}

bool InterfaceMethodHandler(TPSExec& exec, TPSExternalProcRec& p, TPSStack& g, TPSStack& s) {
    if (p.FDecl.size() < 2) return false;
    const TPSValueRef self = ItemRef(s, p.FDecl[1] != 0 ? -2 : -1);
    if (!IsBase(self, btInterface) || !LoadPtr(self.Data)) {
        exec.CMD_Err(erNullPointerException);
        return false;
    }
    const TGUID& iid = static_cast<const TPSTypeRec_Interface*>(self.TypeRec)->FGuid;
    const auto slot = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p.FExt1));
    const auto& methods = InterfaceMethods();
    const auto found = methods.find({iid, slot});
    // A method the host never registered, or declared otherwise than it is, cannot be called.
    if (found == methods.end() || std::string_view(p.FDecl).substr(1) != found->second.Signature)
        return false;
    return found->second.Proc(exec, p, g, s);
}

}  // namespace

const TClassInfo* ConstructorTarget(TPSExec& exec, TPSExternalProcRec& p, TPSStack& stack) {
    bool numberMissing = false;
    const TPSRuntimeClass* c = TargetClass(exec, p, stack, numberMissing);
    return c ? &c->FClass() : nullptr;
}

bool ClassImporter(TPSExec&, TPSExternalProcRec& p, void* tag) {
    std::string_view d = p.FDecl;
    if (d.substr(0, kClassDeclPrefix.size()) != kClassDeclPrefix) return false;
    d.remove_prefix(kClassDeclPrefix.size());
    auto* registry = static_cast<TPSRuntimeClassImporter*>(tag);
    if (d == "-") {
        p.FProcPtr = NilHandler;
        return true;
    }
    if (d == "+") {
        p.FProcPtr = CastHandler;
        p.FExt2 = registry;
        return true;
    }
    const size_t bar = d.find('|');
    if (bar == std::string_view::npos || !registry) return false;
    const TPSRuntimeClass* cls = registry->FindClass(d.substr(0, bar));
    d.remove_prefix(bar + 1);
    const size_t bar2 = d.find('|');
    if (!cls || bar2 == std::string_view::npos) return false;
    std::string member(d.substr(0, bar2));
    const std::string_view decl = d.substr(bar2 + 1);
    const bool write = !member.empty() && member.back() == '@';
    if (write) member.pop_back();

    TPSProcPtr handler = nullptr;
    void* ext1 = nullptr;
    void* ext2 = nullptr;
    if (const TClassItem* item = cls->FindItem(member, HashName(member))) {
        switch (item->b) {
            case ikMethod:
            case ikVirtualMethod:
            case ikConstructor:
            case ikVirtualConstructor:
                // A typed routine reads its arguments where its own declaration puts them.
                if (!item->Ptr || decl.size() < 2 || decl.substr(1) != item->Ptr.Signature) return false;
                ext1 = ExtOf(item->Ptr.Proc);
                if (item->b == ikConstructor || item->b == ikVirtualConstructor) {
                    handler = item->b == ikConstructor ? ConstructorHandler<false> : ConstructorHandler<true>;
                    ext2 = registry;
                } else {
                    handler = MethodHandler;
                    ext2 = reinterpret_cast<void*>(uintptr_t{item->b == ikVirtualMethod});
                }
                break;
            case ikProperty:
            case ikEventProperty:
            case ikPropertyWithName: {
                const TPSMemberCode& code = write ? item->FWriteFunc : item->FReadFunc;
                if (!code || decl.size() < 4 ||
                    PeekU32(decl, 0) != static_cast<uint32_t>(code.IndexCount) + 1)
                    return false;
                (write ? ext2 : ext1) = ExtOf(code.Proc);
                handler = item->b == ikProperty           ? PropertyHandler<false>
                          : item->b == ikPropertyWithName ? PropertyHandler<true>
                                                          : EventPropertyHandler;
                break;
            }
            default:
                return false;
        }
    } else {
        // Not registered: the class's published property of that name, when it offers the access.
        const TPropInfo* prop = cls->FClass().FindProperty(member);
        if (!prop || !(write ? prop->Writable() : prop->Readable()) || decl.size() < 4 ||
            PeekU32(decl, 0) != 1)
            return false;
        handler = PublishedPropertyHandler;
        ext1 = const_cast<TPropInfo*>(prop);
        ext2 = reinterpret_cast<void*>(uintptr_t{!write});
    }
    p.FProcPtr = handler;
    p.FExt1 = ext1;
    p.FExt2 = ext2;
    p.FName = std::move(member);
    p.FDecl = std::string(decl);
    return true;
}

bool InterfaceImporter(TPSExec&, TPSExternalProcRec& p, void*) {
    std::string_view d = p.FDecl;
    if (d.substr(0, kInterfaceDeclPrefix.size()) != kInterfaceDeclPrefix) return false;
    d.remove_prefix(kInterfaceDeclPrefix.size());
    if (d.empty() || d[0] != '.') return false;
    d.remove_prefix(1);
    if (d.size() < 6) return false;
    p.FExt1 = reinterpret_cast<void*>(uintptr_t{PeekU32(d, 0)});
    p.FDecl = std::string(d.substr(4));
    p.FProcPtr = InterfaceMethodHandler;
    return true;
}

void RegisterInterfaceMethod(const TGUID& iid, uint32_t slot, TPSMemberCode code) {
    InterfaceMethods()[{iid, slot}] = code;
}

void SetVariableToInstance(TPSVariant* variable, TObject* obj) {
    if (variable && variable->FType && variable->FType->FBaseType == btClass)
        SetValueFromObject(variable->Data(), variable->FType, obj);
}

}  // namespace tv::script
