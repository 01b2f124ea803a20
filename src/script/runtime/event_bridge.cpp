#include "script/runtime/event_bridge.h"

#include <climits>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

#include "platform/rtl/codepage.h"
#include "platform/rtl/type_info.h"
#include "platform/rtl/variant.h"
#include "script/common/names.h"
#include "script/common/number_text.h"
#include "script/runtime/exec.h"

namespace tv::script {

namespace {

constexpr std::string_view kNotEnoughParameters = "Not enough parameters";
constexpr std::string_view kTooManyParameters = "Too many parameters";
constexpr std::string_view kInvalidParameter = "Invalid parameter";

std::function<void(std::string_view)>& LateEventReporter() {
    static std::function<void(std::string_view)> reporter;
    return reporter;
}

// ---- host values and script values

int64_t LoadOrdinal(const void* p, TOrdType t) {
    switch (t) {
        case TOrdType::S8:
            return Load<int8_t>(p);
        case TOrdType::U8:
            return Load<uint8_t>(p);
        case TOrdType::S16:
            return Load<int16_t>(p);
        case TOrdType::U16:
            return Load<uint16_t>(p);
        case TOrdType::S32:
            return Load<int32_t>(p);
        case TOrdType::U32:
            return Load<uint32_t>(p);
    }
    return 0;
}

void StoreOrdinal(void* p, const TTypeInfo& info, int64_t v) {
    if (&info == &TypeInfoOf<bool>()) return Store<bool>(p, v != 0);
    switch (info.OrdType) {
        case TOrdType::S8:
        case TOrdType::U8:
            return Store<uint8_t>(p, static_cast<uint8_t>(v));
        case TOrdType::S16:
        case TOrdType::U16:
            return Store<uint16_t>(p, static_cast<uint16_t>(v));
        case TOrdType::S32:
        case TOrdType::U32:
            return Store<uint32_t>(p, static_cast<uint32_t>(v));
    }
}

// The script's 8-bit characters are Windows-1252; the host's 16-bit ones UTF-16.
char WideToAnsiChar(char16_t c) {
    const std::string a = Utf8ToCp1252(Utf16ToUtf8(std::u16string_view(&c, 1)));
    return a.size() == 1 ? a[0] : '?';
}
char16_t AnsiToWideChar(char c) {
    const std::u16string w = Utf8ToUtf16(Cp1252ToUtf8(std::string_view(&c, 1)));
    return w.size() == 1 ? w[0] : u'?';
}

void Check(bool ok) {
    if (!ok) ThrowTypeMismatch();
}

// Copies a host value into the script value `v` of its declared type.
void HostToScript(TPSExec& exec, const TEventArg& a, const TPSValueRef& v) {
    const TTypeInfo& info = *a.Type;
    const uint8_t bt = v.TypeRec->FBaseType;
    switch (info.Kind) {
        case TTypeKind::Integer:
        case TTypeKind::Enumeration:
            return Check(SetValueFromInt64(v.Data, v.TypeRec, LoadOrdinal(a.Address, info.OrdType)));
        case TTypeKind::Char:
        case TTypeKind::WChar: {
            const bool wide = info.Kind == TTypeKind::WChar;
            const char16_t w = wide ? Load<char16_t>(a.Address) : AnsiToWideChar(Load<char>(a.Address));
            if (bt == btChar) return Store<char>(v.Data, wide ? WideToAnsiChar(w) : Load<char>(a.Address));
            if (bt == btWideChar) return Store<char16_t>(v.Data, w);
            return Check(
                SetValueFromUnicodeString(v.Data, v.TypeRec, UnicodeString(std::u16string_view(&w, 1))));
        }
        case TTypeKind::Float:
            switch (info.FloatType) {
                case TFloatType::Single:
                    return Check(SetValueFromReal(v.Data, v.TypeRec, Load<float>(a.Address)));
                case TFloatType::Double:
                    return Check(SetValueFromReal(v.Data, v.TypeRec, Load<double>(a.Address)));
                case TFloatType::Extended:
                    return Check(SetValueFromReal(v.Data, v.TypeRec, Load<long double>(a.Address)));
            }
            return;
        case TTypeKind::String:
            return ArgTraits<std::string>::Put(exec, v, *static_cast<const std::string*>(a.Address));
        case TTypeKind::Set: {
            Check(bt == btSet);
            const auto* set = static_cast<const TPSTypeRec_Set*>(v.TypeRec);
            const uint64_t bits = Load<uint64_t>(a.Address);
            for (uint32_t i = 0; i < set->FByteSize; ++i)
                static_cast<uint8_t*>(v.Data)[i] = i < 8 ? static_cast<uint8_t>(bits >> (8 * i)) : 0;
            return;
        }
        case TTypeKind::Class:
            return SetValueFromObject(v.Data, v.TypeRec, Load<TObject*>(a.Address));
        case TTypeKind::Method:
            return ArgTraits<TMethod>::Put(exec, v, *static_cast<const TMethod*>(a.Address));
        case TTypeKind::Variant:
            return WriteFromVariant(exec, v, *static_cast<const Variant*>(a.Address));
        case TTypeKind::Int64:
            return Check(SetValueFromInt64(v.Data, v.TypeRec, Load<int64_t>(a.Address)));
        case TTypeKind::Record: {
            // Field by field: the host's fields lie packed in order, as the script's do.
            Check(bt == btRecord);
            size_t offset = 0;
            for (size_t i = 0; i < info.Fields.size(); ++i) {
                const TPSValueRef field = FieldRef(v, static_cast<int32_t>(i));
                Check(field.Data != nullptr);
                HostToScript(exec, TEventArg{info.Fields[i], static_cast<char*>(a.Address) + offset, false},
                             field);
                offset += static_cast<size_t>(info.Fields[i]->DataSize());
            }
            return;
        }
    }
}

// Copies the script value `v` back into the host value of `a`.
void ScriptToHost(TPSExec& exec, const TPSValueRef& v, const TEventArg& a) {
    const TTypeInfo& info = *a.Type;
    switch (info.Kind) {
        case TTypeKind::Integer:
        case TTypeKind::Enumeration:
            return StoreOrdinal(a.Address, info, GetValueAsInt64(v.Data, v.TypeRec));
        case TTypeKind::Char:
        case TTypeKind::WChar: {
            const uint8_t bt = v.TypeRec->FBaseType;
            char16_t w = 0;
            if (bt == btChar) {
                const char c = Load<char>(v.Data);
                if (info.Kind == TTypeKind::Char) return Store<char>(a.Address, c);
                // A character the script left as it got it keeps the host's own (which may have
                // no 8-bit form).
                if (c == WideToAnsiChar(Load<char16_t>(a.Address))) return;
                w = AnsiToWideChar(c);
            } else if (bt == btWideChar) {
                w = Load<char16_t>(v.Data);
            } else {
                const UnicodeString s = GetValueAsUnicodeString(v.Data, v.TypeRec);
                w = s.empty() ? u'\0' : s[0];
            }
            if (info.Kind == TTypeKind::WChar) return Store<char16_t>(a.Address, w);
            return Store<char>(a.Address, WideToAnsiChar(w));
        }
        case TTypeKind::Float: {
            const long double x = GetValueAsReal(v.Data, v.TypeRec);
            switch (info.FloatType) {
                case TFloatType::Single:
                    return Store<float>(a.Address, static_cast<float>(x));
                case TFloatType::Double:
                    return Store<double>(a.Address, static_cast<double>(x));
                case TFloatType::Extended:
                    return Store<long double>(a.Address, x);
            }
            return;
        }
        case TTypeKind::String:
            *static_cast<std::string*>(a.Address) = ArgTraits<std::string>::Get(exec, v);
            return;
        case TTypeKind::Set: {
            Check(v.TypeRec->FBaseType == btSet);
            const auto* set = static_cast<const TPSTypeRec_Set*>(v.TypeRec);
            uint64_t bits = 0;
            for (uint32_t i = 0; i < set->FByteSize && i < 8; ++i)
                bits |= uint64_t{static_cast<const uint8_t*>(v.Data)[i]} << (8 * i);
            return Store<uint64_t>(a.Address, bits);
        }
        case TTypeKind::Class:
            return Store<TObject*>(a.Address, CheckedObject(v));
        case TTypeKind::Method:
            *static_cast<TMethod*>(a.Address) = ArgTraits<TMethod>::Get(exec, v);
            return;
        case TTypeKind::Variant:
            *static_cast<Variant*>(a.Address) = ReadAsVariant(v);
            return;
        case TTypeKind::Int64:
            return Store<int64_t>(a.Address, GetValueAsInt64(v.Data, v.TypeRec));
        case TTypeKind::Record: {
            Check(v.TypeRec->FBaseType == btRecord);
            size_t offset = 0;
            for (size_t i = 0; i < info.Fields.size(); ++i) {
                const TPSValueRef field = FieldRef(v, static_cast<int32_t>(i));
                Check(field.Data != nullptr);
                ScriptToHost(exec, field,
                             TEventArg{info.Fields[i], static_cast<char*>(a.Address) + offset, false});
                offset += static_cast<size_t>(info.Fields[i]->DataSize());
            }
            return;
        }
    }
}

}  // namespace

void HostValueToScript(TPSExec& exec, const TEventArg& host, const TPSValueRef& v) {
    HostToScript(exec, host, v);
}

void ScriptValueToHost(TPSExec& exec, const TPSValueRef& v, const TEventArg& host) {
    ScriptToHost(exec, v, host);
}

// ---- method information: which executor and procedure a script method reference runs

// One script procedure of one executor as a method reference, with its declaration read once and the
// values of its last call kept for the next.
struct TPSMethodInfo {
    TPSExec* Exec = nullptr;  // nil once released
    uint32_t ProcNo = 0;
    uint32_t Generation = 0;
    bool Parsed = false;
    std::vector<const TPSTypeRec*> Params;  // in declaration order
    std::vector<bool> ByRef;
    const TPSTypeRec* Result = nullptr;
    std::vector<TPSVariant*> Values;  // the last parameter first, the result last
    bool Busy = false;

    void DropValues() {
        for (TPSVariant* v : Values) DestroyHeapValue(v);
        Values.clear();
    }
};

namespace {

// Method references name their record by a handle (index and generation), never by its address, so
// that a reference kept past its executor finds nothing instead of freed memory.
std::vector<std::unique_ptr<TPSMethodInfo>>& Slots() {
    static std::vector<std::unique_ptr<TPSMethodInfo>> slots;
    return slots;
}
std::vector<uint32_t>& FreeSlots() {
    static std::vector<uint32_t> free;
    return free;
}

void* HandleOf(uint32_t index, const TPSMethodInfo& info) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>((uint64_t{info.Generation} << 32) | (index + 1)));
}

TPSMethodInfo* InfoOf(const void* data) {
    const auto h = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(data));
    const uint64_t index = (h & 0xFFFFFFFFu) - 1;
    auto& slots = Slots();
    if ((h & 0xFFFFFFFFu) == 0 || index >= slots.size()) return nullptr;
    TPSMethodInfo* info = slots[index].get();
    return info->Exec && info->Generation == static_cast<uint32_t>(h >> 32) ? info : nullptr;
}

void ReleaseMethodInfo(TPSExec&, void* handle) {
    TPSMethodInfo* info = InfoOf(handle);
    if (!info) return;
    info->DropValues();
    info->Exec = nullptr;
    info->Parsed = false;
    ++info->Generation;
    FreeSlots().push_back(static_cast<uint32_t>((reinterpret_cast<uintptr_t>(handle) & 0xFFFFFFFFu) - 1));
}

// The code of every script method reference.
class TScriptMethodCode final : public TMethodCode {
public:
    void Call(void* data, std::span<TEventArg> args, TEventArg* result) const override {
        TPSMethodInfo* info = InfoOf(data);
        if (!info) {
            if (const auto& report = LateEventReporter())
                report(kLateEventCall);
            else
                std::cerr << kLateEventCall << '\n';
            return;
        }
        info->Exec->CallAsMethod(*info, args, result);
    }
};

const TScriptMethodCode kScriptMethodCode;

}  // namespace

void SetLateEventReporter(std::function<void(std::string_view)> reporter) {
    LateEventReporter() = std::move(reporter);
}

TMethod TPSExec::GetProcAsMethod(uint32_t procNo) {
    if (procNo == 0 || procNo == UINT32_MAX) return {};
    const auto* proc = dynamic_cast<const TPSInternalProcRec*>(GetProcNo(procNo));
    // Only procedures with an exported declaration say how to take a host's arguments.
    if (!proc || proc->FExportDecl.empty()) return {};
    int32_t at = INT32_MAX;
    while (void* h = FindProcResource2(ReleaseMethodInfo, at)) {
        const TPSMethodInfo* info = InfoOf(h);
        if (info && info->ProcNo == procNo) return TMethod{&kScriptMethodCode, h};
        if (at < 0) break;
    }
    auto& slots = Slots();
    uint32_t index;
    if (!FreeSlots().empty()) {
        index = FreeSlots().back();
        FreeSlots().pop_back();
    } else {
        index = static_cast<uint32_t>(slots.size());
        slots.push_back(std::make_unique<TPSMethodInfo>());
    }
    TPSMethodInfo& info = *slots[index];
    info.Exec = this;
    info.ProcNo = procNo;
    void* h = HandleOf(index, info);
    AddResource(ReleaseMethodInfo, h);
    return TMethod{&kScriptMethodCode, h};
}

TMethod TPSExec::GetProcAsMethodN(std::string_view name) {
    const int32_t n = GetProc(name);
    return n < 0 ? TMethod{} : GetProcAsMethod(static_cast<uint32_t>(n));
}

uint32_t TPSExec::ProcNoOfMethod(const TMethod& m) const {
    if (m.Code != &kScriptMethodCode || !m.Data) return 0;
    const TPSMethodInfo* info = InfoOf(m.Data);
    return info && info->Exec == this ? info->ProcNo : 0;
}

void TPSExec::CallAsMethod(TPSMethodInfo& info, std::span<TEventArg> args, TEventArg* result) {
    auto* proc = static_cast<TPSInternalProcRec*>(GetProcNo(info.ProcNo));
    if (!info.Parsed) {
        // The exported declaration: the result's type number or -1, then a mode and a type number
        // per parameter ("!" and "%" pass by reference).
        std::string decl = proc->FExportDecl;
        const std::string resultWord = TakeFirstWord(decl);
        info.Params.clear();
        info.ByRef.clear();
        info.Result = resultWord == "-1" ? nullptr : GetTypeNo(static_cast<uint32_t>(TextToInt(resultWord)));
        if (resultWord != "-1" && !info.Result)
            throw EPSException(std::string(kInvalidParameter), this, info.ProcNo, 0);
        while (!decl.empty()) {
            const std::string word = TakeFirstWord(decl);
            const TPSTypeRec* t =
                word.size() > 1 ? GetTypeNo(static_cast<uint32_t>(TextToInt(word.substr(1)))) : nullptr;
            if (!t) throw EPSException(std::string(kInvalidParameter), this, info.ProcNo, 0);
            info.Params.push_back(t);
            info.ByRef.push_back(word[0] == '!' || word[0] == '%');
        }
        info.Parsed = true;
    }
    const size_t n = info.Params.size();
    if (args.size() < n) throw EPSException(std::string(kNotEnoughParameters), this, info.ProcNo, 0);
    if (args.size() > n) throw EPSException(std::string(kTooManyParameters), this, info.ProcNo, 0);

    // The values of the last call serve again unless that call is still running (a handler that
    // fires its own event).
    std::vector<TPSVariant*> own;
    std::vector<TPSVariant*>* values = &own;
    const bool reuse = !info.Busy;
    if (reuse) {
        if (info.Values.empty()) {
            for (size_t i = n; i-- > 0;) info.Values.push_back(CreateHeapValue(info.Params[i]));
            if (info.Result) info.Values.push_back(CreateHeapValue(info.Result));
        }
        values = &info.Values;
        info.Busy = true;
    } else {
        for (size_t i = n; i-- > 0;) own.push_back(CreateHeapValue(info.Params[i]));
        if (info.Result) own.push_back(CreateHeapValue(info.Result));
    }
    struct Release {
        TPSMethodInfo& info;
        std::vector<TPSVariant*>& values;
        bool reuse;
        ~Release() {
            if (!reuse) {
                for (TPSVariant* v : values) DestroyHeapValue(v);
                return;
            }
            // Every call starts from empty values, as fresh ones would be.
            for (TPSVariant* v : values) {
                if (v->FType->IsManaged()) FinalizeValue(v->Data(), v->FType);
                InitializeValue(v->Data(), v->FType);
            }
            info.Busy = false;
        }
    } release{info, *values, reuse};

    auto valueOf = [&](size_t param) {
        return TPSValueRef{(*values)[n - 1 - param]->Data(), info.Params[param], true};
    };
    for (size_t i = 0; i < n; ++i) HostToScript(*this, args[i], valueOf(i));

    // The handler's error becomes the host's exception; the executor's own record stays as it was.
    const TPSError savedEx = ExEx;
    std::string savedParam = ExParam;
    const int32_t savedProc = ExProc, savedPos = ExPos;
    std::exception_ptr savedObject = ExObject;
    if (!RunProc(values, info.ProcNo)) {
        std::exception_ptr raised =
            ExObject ? ExObject
                     : std::make_exception_ptr(EPSException(ErrorToText(ExEx, ExParam), this,
                                                            static_cast<uint32_t>(ExProc),
                                                            static_cast<uint32_t>(ExPos)));
        if (ExEx == ErNoError && !ExObject)
            raised = std::make_exception_ptr(
                EPSException(ErrorToText(erCouldNotCallProc, {}), this, info.ProcNo, 0));
        ExEx = savedEx;
        ExParam = std::move(savedParam);
        ExProc = savedProc;
        ExPos = savedPos;
        ExObject = std::move(savedObject);
        std::rethrow_exception(raised);
    }
    for (size_t i = 0; i < n; ++i)
        if (info.ByRef[i]) ScriptToHost(*this, valueOf(i), args[i]);
    // An Int64 result does not travel back to the host (it stays as the host's default).
    if (result && info.Result && info.Result->FBaseType != btS64)
        ScriptToHost(*this, TPSValueRef{values->back()->Data(), info.Result, true}, *result);
}

// ---- a host method held in a procedure value, called by the script

namespace {

// Storage for one argument in the host's terms, and its description.
struct HostArg {
    union {
        int8_t s8;
        uint8_t u8;
        int16_t s16;
        uint16_t u16;
        int32_t s32;
        uint32_t u32;
        int64_t s64;
        bool b;
        char c;
        char16_t w;
        float f;
        double d;
        long double e;
        TObject* o;
    };
    std::string s;
    Variant v;
    HostArg() : e(0) {}
};

// The host's view of a script value: where it is kept and its type information; nil for values no
// host method takes.
const TTypeInfo* Describe(const TPSTypeRec* t, HostArg& a, void*& address) {
    switch (t->FBaseType) {
        case btU8:
            if (t->FExportName == "BOOLEAN") return address = &a.b, &TypeInfoOf<bool>();
            return address = &a.u8, &TypeInfoOf<uint8_t>();
        case btS8:
            return address = &a.s8, &TypeInfoOf<int8_t>();
        case btU16:
            return address = &a.u16, &TypeInfoOf<uint16_t>();
        case btS16:
            return address = &a.s16, &TypeInfoOf<int16_t>();
        case btU32:
            return address = &a.u32, &TypeInfoOf<uint32_t>();
        case btS32:
            return address = &a.s32, &TypeInfoOf<int32_t>();
        case btS64:
            return address = &a.s64, &TypeInfoOf<int64_t>();
        case btChar:
            return address = &a.c, &TypeInfoOf<char>();
        case btWideChar:
            return address = &a.w, &TypeInfoOf<char16_t>();
        case btSingle:
            return address = &a.f, &TypeInfoOf<float>();
        case btDouble:
        case btCurrency:
            return address = &a.d, &TypeInfoOf<double>();
        case btExtended:
            return address = &a.e, &TypeInfoOf<long double>();
        case btString:
        case btPChar:
        case btWideString:
        case btUnicodeString:
            return address = &a.s, &TypeInfoOf<std::string>();
        case btVariant:
            return address = &a.v, &TypeInfoOf<Variant>();
        case btClass:
            return address = &a.o, &TypeInfoOf<TObject*>();
        default:
            return nullptr;
    }
}

}  // namespace

bool TPSExec::CallMethodPointer(const ProcPtrValue& method, const TPSTypeRec* procType) {
    const std::string& info = static_cast<const TPSTypeRec_ProcPtr*>(procType)->FParamInfo;
    if (info.empty()) {
        CMD_Err(erCouldNotCallProc);
        return false;
    }
    const bool hasResult = info[0] != 0;
    const size_t n = info.size() - 1;
    // One slot per argument and one for the result; calls with few arguments use no heap.
    constexpr size_t kInline = 9;
    const bool large = n + 1 > kInline;
    HostArg inlineArgs[kInline];
    TEventArg inlineDescs[kInline];
    TPSValueRef inlineRefs[kInline];
    std::vector<HostArg> moreArgs(large ? n + 1 : 0);
    std::vector<TEventArg> moreDescs(large ? n + 1 : 0);
    std::vector<TPSValueRef> moreRefs(large ? n + 1 : 0);
    HostArg* store = large ? moreArgs.data() : inlineArgs;
    TEventArg* descs = large ? moreDescs.data() : inlineDescs;
    TPSValueRef* refs = large ? moreRefs.data() : inlineRefs;
    const size_t slots = hasResult ? n + 1 : n;
    try {
        for (size_t i = 0; i < slots; ++i) {
            // The result is the top item, the arguments follow below it in declaration order.
            const bool isResult = i == n;
            TPSVariant* item =
                FStack.Item(isResult ? -1 : -static_cast<int32_t>(i + 1 + (hasResult ? 1 : 0)));
            const bool byRef = isResult || info[i + 1] != 0;
            const TPSValueRef v = item ? MakeValueRef(item, byRef) : TPSValueRef{};
            void* address = nullptr;
            const TTypeInfo* type = v.TypeRec ? Describe(v.TypeRec, store[i], address) : nullptr;
            if (!type) {
                CMD_Err(ErTypeMismatch);
                return false;
            }
            descs[i] = TEventArg{type, address, byRef};
            if (!isResult) ScriptToHost(*this, v, descs[i]);
            refs[i] = v;
        }
        const TMethod m{static_cast<const TMethodCode*>(method.Code), method.Self};
        m.Code->Call(m.Data, std::span<TEventArg>(descs, n), hasResult ? &descs[n] : nullptr);
        for (size_t i = 0; i < slots; ++i)
            if (descs[i].ByRef) HostToScript(*this, descs[i], refs[i]);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
    return true;
}

// ---- method references as script values

TMethod ArgTraits<TMethod>::Get(TPSExec& exec, const TPSValueRef& v) {
    if (v.TypeRec->FBaseType == btU32) return exec.GetProcAsMethod(Load<uint32_t>(v.Data));
    if (v.TypeRec->FBaseType != btProcPtr) ThrowTypeMismatch();
    const auto pv = Load<ProcPtrValue>(v.Data);
    if (pv.ProcNo == 0) return TMethod{static_cast<const TMethodCode*>(pv.Code), pv.Self};
    return exec.GetProcAsMethod(pv.ProcNo);
}

void ArgTraits<TMethod>::Put(TPSExec& exec, const TPSValueRef& v, const TMethod& m) {
    const uint32_t n = exec.ProcNoOfMethod(m);
    if (v.TypeRec->FBaseType == btU32) return Store<uint32_t>(v.Data, n);
    if (v.TypeRec->FBaseType != btProcPtr) ThrowTypeMismatch();
    Store(v.Data, n == 0 ? ProcPtrValue{0, 0, m.Data, m.Code} : ProcPtrValue{n, 0, nullptr, nullptr});
}

}  // namespace tv::script
