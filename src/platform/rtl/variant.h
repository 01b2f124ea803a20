#pragma once
// Variants: a value that carries its own type code (the OLE codes scripts see through VarType):
// empty, null, integers of every width, Single, Double, Currency, Date, Boolean, single-byte and
// UTF-16 strings, interface references and one-dimensional arrays of variants with bounds.
//
// Conversions: Empty is 0, False or the empty text; Null converts to nothing (EVariantTypeCastError);
// Boolean True is -1 as a number and "True" as text; reals become integers rounded half to even;
// numbers become text as FloatToStr/IntToStr write them (Currency with all its digits, up to four
// decimals without trailing zeros), dates as DateTimeToStr; text becomes a
// number with the format settings' decimal separator only (no thousands separators), a date as
// StrToDateTime reads it, a Boolean from "True"/"False" (any case) or a number.
// Operators: Null in gives Null out; two texts (or text and Empty) add by concatenation; otherwise
// text counts as a Double. Reals make a Double, else a Date on the left of + or - makes a Date
// (Date - Date a Double), else Currency makes a Currency, else integers compute in 64 bits and give
// Integer when both sides were 32-bit kinds and the result fits, Int64 otherwise (an Int64 overflow
// gives a Double). "/" always divides as reals. div, mod, shl, shr, and, or, xor take integers
// (reals rounded); and, or, xor of two Booleans give a Boolean. Comparison: Null equals Null and lies
// below everything; texts compare by character codes; text against a number compares as numbers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/rtl/format_settings.h"
#include "platform/rtl/interface.h"
#include "platform/rtl/ref_string.h"
#include "platform/rtl/type_info.h"

namespace tv {

// Type codes.
inline constexpr uint16_t varEmpty = 0;
inline constexpr uint16_t varNull = 1;
inline constexpr uint16_t varSmallint = 2;
inline constexpr uint16_t varInteger = 3;
inline constexpr uint16_t varSingle = 4;
inline constexpr uint16_t varDouble = 5;
inline constexpr uint16_t varCurrency = 6;
inline constexpr uint16_t varDate = 7;
inline constexpr uint16_t varOleStr = 8;
inline constexpr uint16_t varDispatch = 9;
inline constexpr uint16_t varError = 10;
inline constexpr uint16_t varBoolean = 11;
inline constexpr uint16_t varVariant = 12;
inline constexpr uint16_t varUnknown = 13;
inline constexpr uint16_t varShortInt = 16;
inline constexpr uint16_t varByte = 17;
inline constexpr uint16_t varWord = 18;
inline constexpr uint16_t varLongWord = 19;
inline constexpr uint16_t varInt64 = 20;
inline constexpr uint16_t varString = 256;   // single-byte (Windows-1252) string
inline constexpr uint16_t varUString = 258;  // UTF-16 string
inline constexpr uint16_t varTypeMask = 0x0FFF;
inline constexpr uint16_t varArray = 0x2000;
inline constexpr uint16_t varByRef = 0x4000;

TV_DECLARE_EXCEPTION(EVariantError, Exception);
// "Could not convert variant of type (Null) into type (Integer)"
TV_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
TV_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);    // "Invalid variant operation"
TV_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);     // "Variant or safe array index out of bounds"
TV_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);     // "Variant overflow"
TV_DECLARE_EXCEPTION(EVariantArrayCreateError, EVariantError);  // "Error creating variant or safe array"

// The binary operators of variants.
enum class TVarOp : uint8_t { Add, Subtract, Multiply, Divide, IntDivide, Modulus, Shl, Shr, And, Or, Xor };

// The outcome of comparing two variants.
enum class TVarCompare : uint8_t { Less, Equal, Greater };

class Variant {
public:
    Variant() = default;
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    ~Variant() { Clear(); }
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;

    // The value types and the type code each gives.
    explicit Variant(int8_t v) : fType(varShortInt) { fU.i64 = v; }
    explicit Variant(uint8_t v) : fType(varByte) { fU.i64 = v; }
    explicit Variant(int16_t v) : fType(varSmallint) { fU.i64 = v; }
    explicit Variant(uint16_t v) : fType(varWord) { fU.i64 = v; }
    explicit Variant(int32_t v) : fType(varInteger) { fU.i64 = v; }
    explicit Variant(uint32_t v) : fType(varLongWord) { fU.i64 = v; }
    explicit Variant(int64_t v) : fType(varInt64) { fU.i64 = v; }
    explicit Variant(float v) : fType(varSingle) { fU.dbl = v; }
    explicit Variant(double v) : fType(varDouble) { fU.dbl = v; }
    explicit Variant(bool v) : fType(varBoolean) { fU.i64 = v ? 1 : 0; }
    explicit Variant(const AnsiString& v);     // varString
    explicit Variant(const UnicodeString& v);  // varUString
    static Variant Null();
    static Variant FromCurrency(int64_t raw);  // the amount times 10000
    static Variant FromDate(double dateTime);
    static Variant FromOleStr(const UnicodeString& v);
    static Variant FromUtf8(std::string_view text);  // varUString
    // A reference to an interface (a reference is added); varDispatch or varUnknown.
    static Variant FromInterface(IInterface* intf, bool dispatch);
    // A one-dimensional array of empty variants with indexes lowBound to highBound; raises
    // EVariantArrayCreateError when highBound is below lowBound - 1.
    static Variant ArrayOf(int32_t lowBound, int32_t highBound);

    uint16_t VarType() const { return fType; }
    bool IsEmpty() const { return fType == varEmpty; }
    bool IsNull() const { return fType == varNull; }
    // Empty, or an interface reference that is nil.
    bool IsClear() const;
    bool IsArray() const { return (fType & varArray) != 0; }
    bool IsString() const { return fType == varString || fType == varUString || fType == varOleStr; }
    bool IsNumeric() const;  // integers, reals, currency (not Boolean or date)
    void Clear();

    // Conversions; each raises EVariantTypeCastError for a value that has no such form, text is
    // read with `fs` (the process-wide settings when omitted).
    int64_t AsInt64(const TFormatSettings* fs = nullptr) const;
    // Raises EVariantOverflowError for values beyond 32 bits.
    int32_t AsInteger(const TFormatSettings* fs = nullptr) const;
    double AsDouble(const TFormatSettings* fs = nullptr) const;
    long double AsExtended(const TFormatSettings* fs = nullptr) const;
    int64_t AsCurrency(const TFormatSettings* fs = nullptr) const;  // the amount times 10000
    double AsDate(const TFormatSettings* fs = nullptr) const;
    bool AsBoolean(const TFormatSettings* fs = nullptr) const;
    std::string AsUtf8(const TFormatSettings* fs = nullptr) const;
    AnsiString AsAnsi(const TFormatSettings* fs = nullptr) const;
    UnicodeString AsUnicode(const TFormatSettings* fs = nullptr) const;
    // The interface held (no reference added); raises for other types except empty (nil).
    IInterface* AsInterface() const;
    // The same value as type code `varType` (VarAsType).
    Variant ChangeType(uint16_t varType, const TFormatSettings* fs = nullptr) const;

    // Arrays. Index errors raise EVariantBadIndexError; other types EVariantInvalidOpError.
    int32_t LowBound() const;
    int32_t HighBound() const;
    Variant& Element(int32_t index);
    const Variant& Element(int32_t index) const;

    // The operators by the rules above. Integer division by zero raises EDivByZero, real division
    // by zero EZeroDivide, other real faults EInvalidOp or EOverflow.
    static Variant BinaryOp(TVarOp op, const Variant& a, const Variant& b,
                            const TFormatSettings* fs = nullptr);
    Variant Negate(const TFormatSettings* fs = nullptr) const;
    Variant Not(const TFormatSettings* fs = nullptr) const;
    // Null equals Null and lies below every other value.
    static TVarCompare Compare(const Variant& a, const Variant& b, const TFormatSettings* fs = nullptr);

    // The type's name as conversion errors give it ("Integer", "String", "Array Variant").
    static std::string TypeName(uint16_t varType);

private:
    struct VarArray {
        int32_t low;
        std::vector<Variant> items;
    };
    union Value {
        int64_t i64;  // every integer kind, Boolean (0 or 1), Currency
        double dbl;   // Single, Double, Date
        IInterface* intf;
        VarArray* array;
        alignas(UnicodeString) unsigned char str[sizeof(UnicodeString)];  // the string kinds
    };
    static_assert(sizeof(AnsiString) == sizeof(UnicodeString));
    [[noreturn]] void CastError(uint16_t to) const;
    int64_t ToInt64(uint16_t target, const TFormatSettings* fs) const;
    const AnsiString& Ansi() const { return *reinterpret_cast<const AnsiString*>(fU.str); }
    const UnicodeString& Unicode() const { return *reinterpret_cast<const UnicodeString*>(fU.str); }
    void CopyFrom(const Variant& other);

    uint16_t fType = varEmpty;
    Value fU{};
};

template <>
struct TTypeInfoOf<Variant> {
    static const TTypeInfo& Get();
};

}  // namespace tv
