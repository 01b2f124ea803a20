#pragma once
// Reading a script value as a host number or text whatever its script type, and storing a host
// value into a script value of any type that can take it. A Pointer value is followed to its target.
// Getters raise "Type Mismatch" for a type they do not read; setters answer false for a type they
// do not write (SetValueFromObject raises instead).

#include <cstdint>
#include <string_view>

#include "platform/rtl/ref_string.h"
#include "platform/rtl/variant.h"
#include "script/runtime/raw_value.h"
#include "script/runtime/type_rec.h"

namespace tv {
class TObject;
}

namespace tv::script {

uint32_t GetValueAsUInt(const void* data, const TPSTypeRec* t);
int32_t GetValueAsInt(const void* data, const TPSTypeRec* t);
int64_t GetValueAsInt64(const void* data, const TPSTypeRec* t);
long double GetValueAsReal(const void* data, const TPSTypeRec* t);
int64_t GetValueAsCurrency(const void* data, const TPSTypeRec* t);  // the amount times 10000
char GetValueAsChar(const void* data, const TPSTypeRec* t);
AnsiString GetValueAsAnsiString(const void* data, const TPSTypeRec* t);
UnicodeString GetValueAsWideString(const void* data, const TPSTypeRec* t);
UnicodeString GetValueAsUnicodeString(const void* data, const TPSTypeRec* t);
// nil for nil; raises EInvalidHandle (kDeadObject) for a reference to an object that was freed.
TObject* GetValueAsObject(const void* data, const TPSTypeRec* t);

bool SetValueFromUInt(void* data, const TPSTypeRec* t, uint32_t value);
bool SetValueFromInt(void* data, const TPSTypeRec* t, int32_t value);
bool SetValueFromInt64(void* data, const TPSTypeRec* t, int64_t value);
bool SetValueFromReal(void* data, const TPSTypeRec* t, long double value);
bool SetValueFromCurrency(void* data, const TPSTypeRec* t, int64_t value);
bool SetValueFromAnsiString(void* data, const TPSTypeRec* t, const AnsiString& value);
bool SetValueFromWideString(void* data, const TPSTypeRec* t, const UnicodeString& value);
bool SetValueFromUnicodeString(void* data, const TPSTypeRec* t, const UnicodeString& value);
void SetValueFromObject(void* data, const TPSTypeRec* t, TObject* value);

// What a script is told when it uses a reference to an object that was freed.
inline constexpr std::string_view kDeadObject = "Object reference to no live object";
// The reference a class value holds to `obj`; one made to an object that is not alive is refused
// when it is used.
ObjectRefValue RefToObject(const TObject* obj) noexcept;
// The object a class value (base type 25, at `data`) refers to while it is alive; nil for nil and for
// a freed object.
TObject* LiveObjectOf(const void* data) noexcept;

// The text of a variant, the empty text for Null.
UnicodeString VariantToUnicodeOrEmpty(const Variant& v);

// Conversions between the two string kinds (Windows-1252 and UTF-16).
UnicodeString AnsiToUnicode(const AnsiString& s);
AnsiString UnicodeToAnsi(const UnicodeString& s);

// Stores v in a real of base type `code` (Single, Double or Extended), rounded to nearest; false
// for any other type.
inline bool StoreReal(void* data, uint8_t code, long double v) {
    switch (code) {
        case btSingle:
            Store<float>(data, static_cast<float>(v));
            return true;
        case btDouble:
            Store<double>(data, static_cast<double>(v));
            return true;
        case btExtended:
            StoreExtended(data, v);
            return true;
        default:
            return false;
    }
}

// Reads a value of an integer or character type (sign-extended for the signed ones); false for
// other types.
inline bool LoadInteger(const void* data, uint8_t code, int64_t& out) {
    switch (code) {
        case btU8:
        case btChar:
            out = Load<uint8_t>(data);
            return true;
        case btS8:
            out = Load<int8_t>(data);
            return true;
        case btU16:
        case btWideChar:
            out = Load<uint16_t>(data);
            return true;
        case btS16:
            out = Load<int16_t>(data);
            return true;
        case btU32:
            out = Load<uint32_t>(data);
            return true;
        case btS32:
            out = Load<int32_t>(data);
            return true;
        case btS64:
            out = Load<int64_t>(data);
            return true;
        default:
            return false;
    }
}

// Follows a Pointer value to its target; other values stay. Raises "Type Mismatch" for a Pointer
// without target.
void Dereference(const void*& data, const TPSTypeRec*& t);

}  // namespace tv::script
