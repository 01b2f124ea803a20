#include "script/runtime/value_access.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/math_error.h"
#include "platform/rtl/object_handles.h"
#include "script/common/ansi_text.h"
#include "script/common/arith.h"
#include "script/runtime/arith_fault.h"
#include "script/runtime/errors.h"
#include "script/runtime/raw_value.h"

namespace tv::script {

namespace {

[[noreturn]] void Mismatch() {
    throw Exception(std::string(kTypeMismatch));
}

// Follows a Pointer for a setter; false when it has no target.
bool DereferenceForWrite(void*& data, const TPSTypeRec*& t) {
    if (!data || !t) return false;
    if (t->FBaseType == btPointer) {
        const auto p = Load<PointerValue>(data);
        if (!p.Data || !p.Type) return false;
        data = p.Data;
        t = p.Type;
    }
    return true;
}

int64_t IntegerToCurrency(int64_t v) {
    int64_t raw = 0;
    if (__builtin_mul_overflow(v, kCurrencyScale, &raw)) throw EInvalidOp(std::string(kInvalidOpText));
    return raw;
}

// Borrowed access to a variant slot.
Variant VariantAt(const void* data) {
    return LoadVariant(data);
}

}  // namespace

void ThrowArithFault(ArithFault f) {
    const std::string text(ArithFaultMessage(f));
    switch (f) {
        case ArithFault::IntDivideByZero:
            throw EDivByZero(text);
        case ArithFault::IntOverflow:
            throw EIntOverflow(text);
        case ArithFault::RealDivideByZero:
            throw EZeroDivide(text);
        case ArithFault::RealOverflow:
            throw EOverflow(text);
        default:
            throw EInvalidOp(std::string(kInvalidOpText));
    }
}

void Dereference(const void*& data, const TPSTypeRec*& t) {
    if (t && t->FBaseType == btPointer) {
        const auto p = Load<PointerValue>(data);
        if (!p.Data || !p.Type) Mismatch();
        data = p.Data;
        t = p.Type;
    }
    if (!data || !t) Mismatch();
}

UnicodeString AnsiToUnicode(const AnsiString& s) {
    if (s.empty()) return {};
    UnicodeString r;
    r.SetLength(s.size());
    char16_t* out = r.UniqueData();
    for (int32_t i = 0; i < s.size(); ++i)
        out[i] = static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(s[i])));
    return r;
}

AnsiString UnicodeToAnsi(const UnicodeString& s) {
    if (s.empty()) return {};
    const std::string ansi = WideToAnsi(s.view());
    return AnsiString(std::string_view(ansi));
}

uint32_t GetValueAsUInt(const void* data, const TPSTypeRec* t) {
    Dereference(data, t);
    int64_t v = 0;
    if (LoadInteger(data, t->FBaseType, v)) return static_cast<uint32_t>(v);
    if (t->FBaseType != btVariant) Mismatch();
    const Variant var = VariantAt(data);
    if (var.VarType() == varOleStr || var.VarType() == varString) {
        // A one-character text reads as that character's code.
        const UnicodeString s = var.AsUnicode();
        if (s.size() != 1) Mismatch();
        return var.VarType() == varString ? static_cast<uint8_t>(var.AsAnsi()[0]) : s[0];
    }
    return static_cast<uint32_t>(var.AsInt64());
}

int32_t GetValueAsInt(const void* data, const TPSTypeRec* t) {
    Dereference(data, t);
    int64_t v = 0;
    if (LoadInteger(data, t->FBaseType, v)) return static_cast<int32_t>(v);
    if (t->FBaseType != btVariant) Mismatch();
    return VariantAt(data).AsInteger();
}

int64_t GetValueAsInt64(const void* data, const TPSTypeRec* t) {
    Dereference(data, t);
    int64_t v = 0;
    if (LoadInteger(data, t->FBaseType, v)) return v;
    if (t->FBaseType != btVariant) Mismatch();
    return VariantAt(data).AsInt64();
}

long double GetValueAsReal(const void* data, const TPSTypeRec* t) {
    Dereference(data, t);
    int64_t v = 0;
    switch (t->FBaseType) {
        case btChar:
        case btWideChar:
            Mismatch();
        case btSingle:
            return Load<float>(data);
        case btDouble:
            return Load<double>(data);
        case btExtended:
            return LoadExtended(data);
        case btCurrency:
            return CurrencyToReal(Load<int64_t>(data));
        case btVariant:
            return VariantAt(data).AsExtended();
        default:
            if (!LoadInteger(data, t->FBaseType, v)) Mismatch();
            return static_cast<long double>(v);
    }
}

int64_t GetValueAsCurrency(const void* data, const TPSTypeRec* t) {
    Dereference(data, t);
    switch (t->FBaseType) {
        case btU8:
        case btS8:
        case btU16:
        case btS16:
        case btU32:
        case btS32:
        case btS64:
            return IntegerToCurrency(GetValueAsInt64(data, t));
        case btSingle:
        case btDouble:
        case btExtended: {
            int64_t raw = 0;
            CheckArith(RealToCurrency(GetValueAsReal(data, t), raw));
            return raw;
        }
        case btCurrency:
            return Load<int64_t>(data);
        case btVariant:
            return VariantAt(data).AsCurrency();
        default:
            Mismatch();
    }
}

AnsiString GetValueAsAnsiString(const void* data, const TPSTypeRec* t) {
    Dereference(data, t);
    switch (t->FBaseType) {
        case btU8:
        case btChar: {
            const char c = Load<char>(data);
            return AnsiString(std::string_view(&c, 1));
        }
        case btString:
        case btPChar:
            return AnsiString::RawGet(data);
        case btWideString:
        case btUnicodeString:
            return UnicodeToAnsi(UnicodeString::RawGet(data));
        case btWideChar: {
            const char16_t c = Load<char16_t>(data);
            return UnicodeToAnsi(UnicodeString(std::u16string_view(&c, 1)));
        }
        case btVariant:
            return VariantAt(data).AsAnsi();
        default:
            Mismatch();
    }
}

char GetValueAsChar(const void* data, const TPSTypeRec* t) {
    const AnsiString s = GetValueAsAnsiString(data, t);
    return s.empty() ? '\0' : s[0];
}

UnicodeString GetValueAsUnicodeString(const void* data, const TPSTypeRec* t) {
    Dereference(data, t);
    switch (t->FBaseType) {
        case btU8: {
            const char16_t c = Load<uint8_t>(data);
            return UnicodeString(std::u16string_view(&c, 1));
        }
        case btU16:
        case btWideChar: {
            const char16_t c = Load<char16_t>(data);
            return UnicodeString(std::u16string_view(&c, 1));
        }
        case btChar: {
            const char c = Load<char>(data);
            return AnsiToUnicode(AnsiString(std::string_view(&c, 1)));
        }
        case btString:
        case btPChar:
            return AnsiToUnicode(AnsiString::RawGet(data));
        case btWideString:
        case btUnicodeString:
            return UnicodeString::RawGet(data);
        case btVariant:
            return VariantAt(data).AsUnicode();
        default:
            Mismatch();
    }
}

UnicodeString GetValueAsWideString(const void* data, const TPSTypeRec* t) {
    return GetValueAsUnicodeString(data, t);
}

TObject* GetValueAsObject(const void* data, const TPSTypeRec* t) {
    Dereference(data, t);
    if (t->FBaseType != btClass) Mismatch();
    const auto ref = Load<ObjectRefValue>(data);
    // An object freed while a script still holds it is refused, never used.
    if (ref.Object && !TObjectHandles::IsLive(ref.Object, ref.Serial))
        throw EInvalidHandle(std::string(kDeadObject));
    return ref.Object;
}

TObject* LiveObjectOf(const void* data) noexcept {
    const auto ref = Load<ObjectRefValue>(data);
    return TObjectHandles::IsLive(ref.Object, ref.Serial) ? ref.Object : nullptr;
}

ObjectRefValue RefToObject(const TObject* obj) noexcept {
    return {const_cast<TObject*>(obj), TObjectHandles::SerialOf(obj)};
}

namespace {

// The integer setters share one body: `value` is the integer, sign-extended or not.
bool SetInteger(void* data, const TPSTypeRec* t, int64_t value, uint16_t variantType) {
    if (!DereferenceForWrite(data, t)) return false;
    switch (t->FBaseType) {
        case btU8:
        case btS8:
        case btChar:
            Store<uint8_t>(data, static_cast<uint8_t>(value));
            return true;
        case btU16:
        case btS16:
        case btWideChar:
            Store<uint16_t>(data, static_cast<uint16_t>(value));
            return true;
        case btU32:
        case btS32:
            Store<uint32_t>(data, static_cast<uint32_t>(value));
            return true;
        case btSingle:
            Store<float>(data, static_cast<float>(value));
            return true;
        case btDouble:
            Store<double>(data, static_cast<double>(value));
            return true;
        case btExtended:
            StoreExtended(data, static_cast<long double>(value));
            return true;
        case btS64:
            Store<int64_t>(data, value);
            return true;
        case btCurrency:
            try {
                Store<int64_t>(data, IntegerToCurrency(value));
            } catch (...) {
                return false;
            }
            return true;
        case btProcPtr:
            if (variantType == varInt64) return false;
            Store(data, ProcPtrValue{static_cast<uint32_t>(value), 0, nullptr, nullptr});
            return true;
        case btVariant:
            if (variantType == varLongWord)
                StoreVariant(data, Variant(static_cast<uint32_t>(value)));
            else if (variantType == varInteger)
                StoreVariant(data, Variant(static_cast<int32_t>(value)));
            else
                StoreVariant(data, Variant(value));
            return true;
        default:
            return false;
    }
}

}  // namespace

bool SetValueFromUInt(void* data, const TPSTypeRec* t, uint32_t value) {
    return SetInteger(data, t, value, varLongWord);
}

bool SetValueFromInt(void* data, const TPSTypeRec* t, int32_t value) {
    return SetInteger(data, t, value, varInteger);
}

bool SetValueFromInt64(void* data, const TPSTypeRec* t, int64_t value) {
    return SetInteger(data, t, value, varInt64);
}

bool SetValueFromReal(void* data, const TPSTypeRec* t, long double value) {
    if (!DereferenceForWrite(data, t)) return false;
    if (StoreReal(data, t->FBaseType, value)) return true;
    switch (t->FBaseType) {
        case btVariant:
            StoreVariant(data, Variant(static_cast<double>(value)));
            return true;
        case btCurrency: {
            int64_t raw = 0;
            if (RealToCurrency(value, raw) != ArithFault::None) return false;
            Store<int64_t>(data, raw);
            return true;
        }
        default:
            return false;
    }
}

bool SetValueFromCurrency(void* data, const TPSTypeRec* t, int64_t value) {
    if (!DereferenceForWrite(data, t)) return false;
    switch (t->FBaseType) {
        case btSingle:
        case btDouble:
        case btExtended:
            return SetValueFromReal(data, t, CurrencyToReal(value));
        case btVariant:
            StoreVariant(data, Variant::FromCurrency(value));
            return true;
        case btCurrency:
            Store<int64_t>(data, value);
            return true;
        default:
            return false;
    }
}

bool SetValueFromAnsiString(void* data, const TPSTypeRec* t, const AnsiString& value) {
    if (!DereferenceForWrite(data, t)) return false;
    switch (t->FBaseType) {
        case btString:
        case btPChar:
            AnsiString::RawSet(data, value);
            return true;
        case btVariant:
            StoreVariant(data, Variant(value));
            return true;
        case btChar:
            if (!value.empty()) Store<char>(data, value[0]);
            return true;
        case btWideString:
        case btUnicodeString:
            UnicodeString::RawSet(data, AnsiToUnicode(value));
            return true;
        case btWideChar:
            if (!value.empty()) Store<char16_t>(data, static_cast<unsigned char>(value[0]));
            return true;
        default:
            return false;
    }
}

bool SetValueFromWideString(void* data, const TPSTypeRec* t, const UnicodeString& value) {
    if (!DereferenceForWrite(data, t)) return false;
    switch (t->FBaseType) {
        case btString:
            AnsiString::RawSet(data, UnicodeToAnsi(value));
            return true;
        case btVariant:
            StoreVariant(data, Variant::FromOleStr(value));
            return true;
        case btChar:
            if (!value.empty()) Store<char>(data, static_cast<char>(value[0] & 0xFF));
            return true;
        case btWideString:
        case btUnicodeString:
            UnicodeString::RawSet(data, value);
            return true;
        case btWideChar:
            if (!value.empty()) Store<char16_t>(data, value[0]);
            return true;
        default:
            return false;
    }
}

bool SetValueFromUnicodeString(void* data, const TPSTypeRec* t, const UnicodeString& value) {
    if (!DereferenceForWrite(data, t)) return false;
    switch (t->FBaseType) {
        case btString:
            AnsiString::RawSet(data, UnicodeToAnsi(value));
            return true;
        case btVariant:
            StoreVariant(data, Variant(value));
            return true;
        case btWideString:
        case btUnicodeString:
            UnicodeString::RawSet(data, value);
            return true;
        default:
            return false;
    }
}

void SetValueFromObject(void* data, const TPSTypeRec* t, TObject* value) {
    if (!DereferenceForWrite(data, t) || t->FBaseType != btClass) Mismatch();
    Store(data, RefToObject(value));
}

UnicodeString VariantToUnicodeOrEmpty(const Variant& v) {
    return v.IsNull() ? UnicodeString() : v.AsUnicode();
}

}  // namespace tv::script
