#include "platform/rtl/variant.h"

#include <cmath>
#include <limits>
#include <new>
#include <utility>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/bool_text.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/date_format.h"
#include "platform/rtl/format.h"
#include "platform/rtl/math_error.h"
#include "platform/rtl/number_text.h"

namespace tv {

namespace {

constexpr std::string_view kCastError = "Could not convert variant of type (%s) into type (%s)";
constexpr std::string_view kInvalidOp = "Invalid variant operation";
constexpr std::string_view kBadIndex = "Variant or safe array index out of bounds";
constexpr std::string_view kOverflow = "Variant overflow";
constexpr std::string_view kArrayCreate = "Error creating variant or safe array";
constexpr std::string_view kTrueText = "True";
constexpr std::string_view kFalseText = "False";
// Beyond this many elements an array is refused instead of exhausting memory.
constexpr int64_t kMaxArrayLength = 0x10000000;

const TFormatSettings& Settings(const TFormatSettings* fs) {
    return fs ? *fs : DefaultFormatSettings();
}

bool IsIntegerType(uint16_t t) {
    switch (t) {
        case varSmallint:
        case varInteger:
        case varShortInt:
        case varByte:
        case varWord:
        case varLongWord:
        case varInt64:
            return true;
        default:
            return false;
    }
}

// Integer kinds whose values always fit 32 signed bits (Empty and Boolean count as such).
bool IsNarrowInteger(uint16_t t) {
    return t == varEmpty || t == varBoolean || (IsIntegerType(t) && t != varLongWord && t != varInt64);
}

bool IsRealType(uint16_t t) {
    return t == varSingle || t == varDouble;
}

void CheckRealFault(long double r, long double a, long double b) {
    if (std::isfinite(r) || !std::isfinite(a) || !std::isfinite(b)) return;
    if (std::isnan(r)) throw EInvalidOp(std::string(kInvalidOpText));
    throw EOverflow(std::string(kOverflowText));
}

int64_t RoundHalfEven(long double v) {
    const long double r = std::nearbyint(v);
    if (!(r >= -9223372036854775808.0L && r < 9223372036854775808.0L))
        throw EVariantOverflowError(std::string(kOverflow));
    return static_cast<int64_t>(r);
}

int CompareInt(int64_t a, int64_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// Every digit of a currency amount, up to its four decimals without trailing zeros: a Double
// would round amounts of more than 15 digits.
std::string CurrencyText(int64_t raw, const TFormatSettings& fs) {
    const uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
    std::string text = raw < 0 ? "-" : "";
    text += std::to_string(magnitude / 10000);
    if (const uint64_t fraction = magnitude % 10000; fraction != 0) {
        std::string decimals = std::to_string(fraction + 10000).substr(1);
        decimals.erase(decimals.find_last_not_of('0') + 1);
        text += fs.DecimalSeparator;
        text += decimals;
    }
    return text;
}

TVarCompare FromSign(int c) {
    return c < 0 ? TVarCompare::Less : c > 0 ? TVarCompare::Greater : TVarCompare::Equal;
}

}  // namespace

// ---- lifetime

Variant::Variant(const Variant& other) {
    CopyFrom(other);
}

Variant::Variant(Variant&& other) noexcept : fType(other.fType), fU(other.fU) {
    other.fType = varEmpty;
    other.fU.i64 = 0;
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        // The value is taken before this one is cleared: `other` may be an element of this array.
        const uint16_t type = other.fType;
        const Value value = other.fU;
        other.fType = varEmpty;
        other.fU.i64 = 0;
        Clear();
        fType = type;
        fU = value;
    }
    return *this;
}

void Variant::CopyFrom(const Variant& other) {
    fType = other.fType;
    switch (fType) {
        case varString:
            new (fU.str) AnsiString(other.Ansi());
            break;
        case varUString:
        case varOleStr:
            new (fU.str) UnicodeString(other.Unicode());
            break;
        case varDispatch:
        case varUnknown:
            fU.intf = other.fU.intf;
            if (fU.intf) fU.intf->AddRef();
            break;
        default:
            if (other.IsArray())
                fU.array = new VarArray(*other.fU.array);  // arrays are copied, not shared
            else
                fU = other.fU;
    }
}

void Variant::Clear() {
    switch (fType) {
        case varString:
            reinterpret_cast<AnsiString*>(fU.str)->~AnsiString();
            break;
        case varUString:
        case varOleStr:
            reinterpret_cast<UnicodeString*>(fU.str)->~UnicodeString();
            break;
        case varDispatch:
        case varUnknown:
            if (fU.intf) fU.intf->Release();
            break;
        default:
            if (IsArray()) delete fU.array;
    }
    fType = varEmpty;
    fU.i64 = 0;
}

Variant::Variant(const AnsiString& v) : fType(varString) {
    new (fU.str) AnsiString(v);
}

Variant::Variant(const UnicodeString& v) : fType(varUString) {
    new (fU.str) UnicodeString(v);
}

Variant Variant::Null() {
    Variant v;
    v.fType = varNull;
    return v;
}

Variant Variant::FromCurrency(int64_t raw) {
    Variant v;
    v.fType = varCurrency;
    v.fU.i64 = raw;
    return v;
}

Variant Variant::FromDate(double dateTime) {
    Variant v;
    v.fType = varDate;
    v.fU.dbl = dateTime;
    return v;
}

Variant Variant::FromOleStr(const UnicodeString& s) {
    Variant v(s);
    v.fType = varOleStr;
    return v;
}

Variant Variant::FromUtf8(std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return Variant(UnicodeString(std::u16string_view(wide)));
}

Variant Variant::FromInterface(IInterface* intf, bool dispatch) {
    Variant v;
    v.fType = dispatch ? varDispatch : varUnknown;
    v.fU.intf = intf;
    if (intf) intf->AddRef();
    return v;
}

Variant Variant::ArrayOf(int32_t lowBound, int32_t highBound) {
    const int64_t count = int64_t{highBound} - lowBound + 1;
    if (count < 0 || count > kMaxArrayLength) throw EVariantArrayCreateError(std::string(kArrayCreate));
    Variant v;
    v.fU.array = new VarArray{lowBound, std::vector<Variant>(static_cast<size_t>(count))};
    v.fType = varArray | varVariant;
    return v;
}

bool Variant::IsClear() const {
    if (fType == varEmpty) return true;
    return (fType == varUnknown || fType == varDispatch) && fU.intf == nullptr;
}

bool Variant::IsNumeric() const {
    return IsIntegerType(fType) || IsRealType(fType) || fType == varCurrency;
}

// ---- type names and errors

std::string Variant::TypeName(uint16_t t) {
    if (t & varArray) return "Array " + TypeName(t & varTypeMask);
    static constexpr const char* kNames[] = {
        "Empty",   "Null",   "Smallint", "Integer", "Single",  "Double",   "Currency",
        "Date",    "OleStr", "Dispatch", "Error",   "Boolean", "Variant",  "Unknown",
        "Decimal", "$000F",  "ShortInt", "Byte",    "Word",    "LongWord", "Int64"};
    if (t < std::size(kNames)) return kNames[t];
    if (t == varString) return "String";
    if (t == varUString) return "UnicodeString";
    return std::string("$").append(IntToHex(static_cast<int32_t>(t), 4));
}

void Variant::CastError(uint16_t to) const {
    throw EVariantTypeCastError(Format(kCastError, {TypeName(fType), TypeName(to)}));
}

// ---- conversions

std::string Variant::AsUtf8(const TFormatSettings* fs) const {
    switch (fType) {
        case varEmpty:
            return {};
        case varString:
            return Cp1252ToUtf8(Ansi().view());
        case varUString:
        case varOleStr:
            return Utf16ToUtf8(Unicode().view());
        case varBoolean:
            return std::string(fU.i64 ? kTrueText : kFalseText);
        case varSingle:
            return FloatToStrF(fU.dbl, TFloatFormat::ffGeneral, 7, 0, Settings(fs));
        case varDouble:
            return FloatToStr(fU.dbl, Settings(fs));
        case varCurrency:
            return CurrencyText(fU.i64, Settings(fs));
        case varDate:
            return DateTimeToStr(fU.dbl, Settings(fs));
        default:
            if (IsIntegerType(fType)) return IntToStr(fU.i64);
            CastError(varUString);
    }
}

AnsiString Variant::AsAnsi(const TFormatSettings* fs) const {
    if (fType == varString) return Ansi();
    const std::string ansi = Utf8ToCp1252(AsUtf8(fs));
    return AnsiString(std::string_view(ansi));
}

UnicodeString Variant::AsUnicode(const TFormatSettings* fs) const {
    if (fType == varUString || fType == varOleStr) return Unicode();
    const std::u16string wide = Utf8ToUtf16(AsUtf8(fs));
    return UnicodeString(std::u16string_view(wide));
}

long double Variant::AsExtended(const TFormatSettings* fs) const {
    switch (fType) {
        case varEmpty:
            return 0;
        case varBoolean:
            return fU.i64 ? -1 : 0;
        case varSingle:
        case varDouble:
        case varDate:
            return fU.dbl;
        case varCurrency:
            return static_cast<long double>(fU.i64) / 10000.0L;
        case varString:
        case varUString:
        case varOleStr: {
            double d = 0;
            if (!TryStrToFloat(AsUtf8(fs), d, Settings(fs))) CastError(varDouble);
            return d;
        }
        default:
            if (IsIntegerType(fType)) return static_cast<long double>(fU.i64);
            CastError(varDouble);
    }
}

double Variant::AsDouble(const TFormatSettings* fs) const {
    const long double v = AsExtended(fs);
    if (std::isfinite(v) && std::fabs(v) > std::numeric_limits<double>::max())
        throw EVariantOverflowError(std::string(kOverflow));
    return static_cast<double>(v);
}

int64_t Variant::AsInt64(const TFormatSettings* fs) const {
    return ToInt64(varInt64, fs);
}

int64_t Variant::ToInt64(uint16_t target, const TFormatSettings* fs) const {
    switch (fType) {
        case varEmpty:
            return 0;
        case varBoolean:
            return fU.i64 ? -1 : 0;
        case varSingle:
        case varDouble:
        case varDate:
            return RoundHalfEven(fU.dbl);
        case varCurrency:
            return RoundHalfEven(static_cast<long double>(fU.i64) / 10000.0L);
        case varString:
        case varUString:
        case varOleStr: {
            const std::string text = AsUtf8(fs);
            int64_t i = 0;
            if (TryStrToInt64(text, i)) return i;
            double d = 0;
            if (!TryStrToFloat(text, d, Settings(fs))) CastError(target);
            return RoundHalfEven(d);
        }
        default:
            if (IsIntegerType(fType)) return fU.i64;
            CastError(target);
    }
}

int32_t Variant::AsInteger(const TFormatSettings* fs) const {
    const int64_t v = ToInt64(varInteger, fs);
    // LongWord values keep their bits, as a cast of the 32-bit value would.
    if (fType == varLongWord) return static_cast<int32_t>(static_cast<uint32_t>(v));
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw EVariantOverflowError(std::string(kOverflow));
    return static_cast<int32_t>(v);
}

int64_t Variant::AsCurrency(const TFormatSettings* fs) const {
    if (fType == varCurrency) return fU.i64;
    if (IsIntegerType(fType) || fType == varBoolean || fType == varEmpty) {
        const int64_t v = AsInt64(fs);
        int64_t raw = 0;
        if (__builtin_mul_overflow(v, int64_t{10000}, &raw))
            throw EVariantOverflowError(std::string(kOverflow));
        return raw;
    }
    return RoundHalfEven(AsExtended(fs) * 10000.0L);
}

double Variant::AsDate(const TFormatSettings* fs) const {
    if (IsString()) {
        TDateTime d = 0;
        if (!TryStrToDateTime(AsUtf8(fs), d, Settings(fs))) CastError(varDate);
        return d;
    }
    if (fType == varNull || IsArray() || fType == varUnknown || fType == varDispatch) CastError(varDate);
    return AsDouble(fs);
}

bool Variant::AsBoolean(const TFormatSettings* fs) const {
    switch (fType) {
        case varEmpty:
            return false;
        case varBoolean:
            return fU.i64 != 0;
        case varSingle:
        case varDouble:
        case varDate:
            return fU.dbl != 0;
        case varString:
        case varUString:
        case varOleStr: {
            bool value = false;
            if (!TryStrToBool(AsUtf8(fs), value, Settings(fs))) CastError(varBoolean);
            return value;
        }
        default:
            if (IsIntegerType(fType) || fType == varCurrency) return fU.i64 != 0;
            CastError(varBoolean);
    }
}

IInterface* Variant::AsInterface() const {
    if (fType == varUnknown || fType == varDispatch) return fU.intf;
    if (fType == varEmpty) return nullptr;
    CastError(varUnknown);
}

Variant Variant::ChangeType(uint16_t t, const TFormatSettings* fs) const {
    if (t == fType) return *this;
    auto ranged = [&](int64_t lo, int64_t hi) {
        const int64_t v = AsInt64(fs);
        if (v < lo || v > hi) throw EVariantOverflowError(std::string(kOverflow));
        return v;
    };
    switch (t) {
        case varEmpty:
            return Variant();
        case varNull:
            return Null();
        case varShortInt:
            return Variant(static_cast<int8_t>(ranged(-128, 127)));
        case varByte:
            return Variant(static_cast<uint8_t>(ranged(0, 255)));
        case varSmallint:
            return Variant(static_cast<int16_t>(ranged(-32768, 32767)));
        case varWord:
            return Variant(static_cast<uint16_t>(ranged(0, 65535)));
        case varInteger:
            return Variant(AsInteger(fs));
        case varLongWord:
            return Variant(static_cast<uint32_t>(ranged(0, 4294967295LL)));
        case varInt64:
            return Variant(AsInt64(fs));
        case varSingle: {
            const double d = AsDouble(fs);
            if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
                throw EVariantOverflowError(std::string(kOverflow));
            return Variant(static_cast<float>(d));
        }
        case varDouble:
            return Variant(AsDouble(fs));
        case varCurrency:
            return FromCurrency(AsCurrency(fs));
        case varDate:
            return FromDate(AsDate(fs));
        case varBoolean:
            return Variant(AsBoolean(fs));
        case varString:
            return Variant(AsAnsi(fs));
        case varUString:
            return Variant(AsUnicode(fs));
        case varOleStr:
            return FromOleStr(AsUnicode(fs));
        case varVariant:
            return *this;
        default:
            CastError(t);
    }
}

// ---- arrays

int32_t Variant::LowBound() const {
    if (!IsArray()) throw EVariantInvalidOpError(std::string(kInvalidOp));
    return fU.array->low;
}

int32_t Variant::HighBound() const {
    if (!IsArray()) throw EVariantInvalidOpError(std::string(kInvalidOp));
    return static_cast<int32_t>(fU.array->low + static_cast<int64_t>(fU.array->items.size()) - 1);
}

const Variant& Variant::Element(int32_t index) const {
    if (!IsArray()) throw EVariantInvalidOpError(std::string(kInvalidOp));
    const int64_t at = int64_t{index} - fU.array->low;
    if (at < 0 || at >= static_cast<int64_t>(fU.array->items.size()))
        throw EVariantBadIndexError(std::string(kBadIndex));
    return fU.array->items[static_cast<size_t>(at)];
}

Variant& Variant::Element(int32_t index) {
    return const_cast<Variant&>(std::as_const(*this).Element(index));
}

// ---- operators

namespace {

bool IsTextOrEmpty(const Variant& v) {
    return v.IsString() || v.IsEmpty();
}

bool CanCompute(const Variant& v) {
    const uint16_t t = v.VarType();
    return !(v.IsArray() || t == varUnknown || t == varDispatch || t == varError);
}

Variant Concatenate(const Variant& a, const Variant& b) {
    if ((a.VarType() == varString || a.IsEmpty()) && (b.VarType() == varString || b.IsEmpty())) {
        AnsiString r = a.AsAnsi();
        r.Append(b.AsAnsi().view());
        return Variant(r);
    }
    UnicodeString r = a.AsUnicode();
    r.Append(b.AsUnicode().view());
    return Variant(r);
}

Variant IntegerResult(int64_t v, bool narrow) {
    if (narrow && v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max())
        return Variant(static_cast<int32_t>(v));
    return Variant(v);
}

Variant RealOp(TVarOp op, long double x, long double y) {
    long double r = 0;
    switch (op) {
        case TVarOp::Add:
            r = x + y;
            break;
        case TVarOp::Subtract:
            r = x - y;
            break;
        case TVarOp::Multiply:
            r = x * y;
            break;
        default:
            if (y == 0) {
                if (x == 0 || std::isnan(x)) throw EInvalidOp(std::string(kInvalidOpText));
                throw EZeroDivide(std::string(kZeroDivideText));
            }
            r = x / y;
    }
    CheckRealFault(r, x, y);
    if (std::isfinite(r) && std::fabs(r) > std::numeric_limits<double>::max())
        throw EOverflow(std::string(kOverflowText));
    return Variant(static_cast<double>(r));
}

Variant IntegerOp(TVarOp op, int64_t x, int64_t y, bool narrow) {
    int64_t r = 0;
    switch (op) {
        case TVarOp::IntDivide:
        case TVarOp::Modulus:
            if (y == 0) throw EDivByZero(std::string(kDivByZeroText));
            if (x == std::numeric_limits<int64_t>::min() && y == -1)
                throw EIntOverflow(std::string(kIntOverflowText));
            r = op == TVarOp::IntDivide ? x / y : x % y;
            break;
        case TVarOp::Shl:
            if (narrow)
                r = static_cast<int32_t>(static_cast<uint32_t>(x) << (y & 31));
            else
                r = static_cast<uint64_t>(y) >= 64 ? 0 : static_cast<int64_t>(static_cast<uint64_t>(x) << y);
            break;
        case TVarOp::Shr:
            if (narrow)
                r = static_cast<int32_t>(static_cast<uint32_t>(x) >> (y & 31));
            else
                r = static_cast<uint64_t>(y) >= 64 ? 0 : static_cast<int64_t>(static_cast<uint64_t>(x) >> y);
            break;
        case TVarOp::And:
            r = x & y;
            break;
        case TVarOp::Or:
            r = x | y;
            break;
        case TVarOp::Xor:
            r = x ^ y;
            break;
        case TVarOp::Add:
            if (__builtin_add_overflow(x, y, &r)) return RealOp(op, x, y);
            break;
        case TVarOp::Subtract:
            if (__builtin_sub_overflow(x, y, &r)) return RealOp(op, x, y);
            break;
        case TVarOp::Multiply:
            if (__builtin_mul_overflow(x, y, &r)) return RealOp(op, x, y);
            break;
        case TVarOp::Divide:
            return RealOp(op, x, y);
    }
    return IntegerResult(r, narrow);
}

Variant CurrencyOp(TVarOp op, const Variant& a, const Variant& b, const TFormatSettings* fs) {
    const int64_t x = a.AsCurrency(fs), y = b.AsCurrency(fs);
    int64_t r = 0;
    bool overflow = false;
    switch (op) {
        case TVarOp::Add:
            overflow = __builtin_add_overflow(x, y, &r);
            break;
        case TVarOp::Subtract:
            overflow = __builtin_sub_overflow(x, y, &r);
            break;
        default: {  // Multiply: the product of the amounts, rounded to the currency's four decimals
            const long double p = static_cast<long double>(x) * static_cast<long double>(y) / 10000.0L;
            const long double q = std::nearbyint(p);
            overflow = !(q >= -9223372036854775808.0L && q < 9223372036854775808.0L);
            if (!overflow) r = static_cast<int64_t>(q);
        }
    }
    if (overflow) throw EVariantOverflowError(std::string(kOverflow));
    return Variant::FromCurrency(r);
}

}  // namespace

Variant Variant::BinaryOp(TVarOp op, const Variant& a, const Variant& b, const TFormatSettings* fs) {
    if (a.IsNull() || b.IsNull()) return Null();
    if (!CanCompute(a) || !CanCompute(b)) throw EVariantInvalidOpError(std::string(kInvalidOp));
    const uint16_t ta = a.fType, tb = b.fType;
    if (ta == varEmpty && tb == varEmpty) return Variant();
    if (op == TVarOp::Add && IsTextOrEmpty(a) && IsTextOrEmpty(b)) return Concatenate(a, b);
    switch (op) {
        case TVarOp::And:
        case TVarOp::Or:
        case TVarOp::Xor:
            if (ta == varBoolean && tb == varBoolean) {
                const bool x = a.fU.i64 != 0, y = b.fU.i64 != 0;
                return Variant(op == TVarOp::And ? (x && y) : op == TVarOp::Or ? (x || y) : (x != y));
            }
            [[fallthrough]];
        case TVarOp::IntDivide:
        case TVarOp::Modulus:
        case TVarOp::Shl:
        case TVarOp::Shr:
            return IntegerOp(op, a.AsInt64(fs), b.AsInt64(fs), IsNarrowInteger(ta) && IsNarrowInteger(tb));
        default:
            break;
    }
    const bool real = IsRealType(ta) || IsRealType(tb) || a.IsString() || b.IsString();
    if (!real && (ta == varDate || tb == varDate)) {
        // Date arithmetic: a date moved by a number of days stays a date; two dates differ by days.
        const long double x = a.AsExtended(fs), y = b.AsExtended(fs);
        Variant r = RealOp(op, x, y);
        const bool keepDate = ta == varDate && tb != varDate && (op == TVarOp::Add || op == TVarOp::Subtract);
        return keepDate || (op == TVarOp::Add && tb == varDate && ta != varDate) ? FromDate(r.fU.dbl) : r;
    }
    if (real || op == TVarOp::Divide) return RealOp(op, a.AsExtended(fs), b.AsExtended(fs));
    if (ta == varCurrency || tb == varCurrency) return CurrencyOp(op, a, b, fs);
    return IntegerOp(op, a.AsInt64(fs), b.AsInt64(fs), IsNarrowInteger(ta) && IsNarrowInteger(tb));
}

Variant Variant::Negate(const TFormatSettings* fs) const {
    switch (fType) {
        case varNull:
        case varEmpty:
            return *this;
        case varSingle:
            return Variant(static_cast<float>(-fU.dbl));
        case varDouble:
            return Variant(-fU.dbl);
        case varDate:
            return FromDate(-fU.dbl);
        case varCurrency:
            if (fU.i64 == std::numeric_limits<int64_t>::min())
                throw EVariantOverflowError(std::string(kOverflow));
            return FromCurrency(-fU.i64);
        default:
            if (!CanCompute(*this)) throw EVariantInvalidOpError(std::string(kInvalidOp));
            if (IsString()) return Variant(-AsDouble(fs));
            return IntegerOp(TVarOp::Subtract, 0, AsInt64(fs), IsNarrowInteger(fType));
    }
}

Variant Variant::Not(const TFormatSettings* fs) const {
    switch (fType) {
        case varNull:
            return *this;
        case varBoolean:
            return Variant(fU.i64 == 0);
        case varShortInt:
            return Variant(static_cast<int8_t>(~fU.i64));
        case varByte:
            return Variant(static_cast<uint8_t>(~fU.i64));
        case varSmallint:
            return Variant(static_cast<int16_t>(~fU.i64));
        case varWord:
            return Variant(static_cast<uint16_t>(~fU.i64));
        case varLongWord:
            return Variant(static_cast<uint32_t>(~fU.i64));
        default:
            if (!CanCompute(*this)) throw EVariantInvalidOpError(std::string(kInvalidOp));
            if (IsString()) {
                const std::string text = AsUtf8(fs);
                if (SameTextAscii(text, kTrueText) || SameTextAscii(text, kFalseText))
                    return Variant(!AsBoolean(fs));
            }
            return IntegerResult(~AsInt64(fs), IsNarrowInteger(fType));
    }
}

TVarCompare Variant::Compare(const Variant& a, const Variant& b, const TFormatSettings* fs) {
    if (a.IsNull() || b.IsNull()) return FromSign(int(!a.IsNull()) - int(!b.IsNull()));
    const uint16_t ta = a.fType, tb = b.fType;
    if ((ta == varUnknown || ta == varDispatch) && (tb == varUnknown || tb == varDispatch)) {
        if (a.fU.intf == b.fU.intf) return TVarCompare::Equal;
        throw EVariantInvalidOpError(std::string(kInvalidOp));
    }
    if (!CanCompute(a) || !CanCompute(b)) throw EVariantInvalidOpError(std::string(kInvalidOp));
    if (IsTextOrEmpty(a) && IsTextOrEmpty(b)) {
        if ((ta == varString || ta == varEmpty) && (tb == varString || tb == varEmpty))
            return FromSign(a.AsAnsi().view().compare(b.AsAnsi().view()));
        return FromSign(a.AsUnicode().view().compare(b.AsUnicode().view()));
    }
    if (ta == varBoolean && tb == varBoolean) return FromSign(CompareInt(a.fU.i64, b.fU.i64));
    const bool ints = (IsIntegerType(ta) || ta == varEmpty || ta == varBoolean) &&
                      (IsIntegerType(tb) || tb == varEmpty || tb == varBoolean);
    if (ints) return FromSign(CompareInt(a.AsInt64(fs), b.AsInt64(fs)));
    if (ta == varCurrency && tb == varCurrency) return FromSign(CompareInt(a.fU.i64, b.fU.i64));
    const long double x = a.AsExtended(fs), y = b.AsExtended(fs);
    return FromSign(x < y ? -1 : x > y ? 1 : 0);
}

const TTypeInfo& TTypeInfoOf<Variant>::Get() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.Name = "Variant";
        t.Kind = TTypeKind::Variant;
        return t;
    }();
    return info;
}

}  // namespace tv
