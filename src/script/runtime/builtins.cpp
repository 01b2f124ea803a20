// The built-in routine library every executor registers: string, number and conversion routines,
// the compiler's intrinsics (Length, SetLength, Low, High, Inc, Dec, Include, Exclude, SizeOf,
// Assigned), the script's exception routines, variant routines, notification variants and
// IdispatchInvoke. Stack places: for a function the result is -1 and the arguments follow from -2;
// for a procedure the first argument is -1.

#include <cmath>
#include <numbers>

#include "platform/rtl/codepage.h"
#include "platform/rtl/letter_case.h"
#include "platform/rtl/math_error.h"
#include "platform/rtl/number_text.h"
#include "script/common/byte_io.h"
#include "script/common/names.h"
#include "script/common/number_text.h"
#include "script/runtime/arith_fault.h"
#include "script/runtime/binding.h"
#include "script/runtime/class_bridge.h"
#include "script/runtime/exec.h"
#include "script/runtime/value_text.h"

namespace tv::script {

namespace {

constexpr std::string_view kOutOfStringRange = "Out of string range";
constexpr std::string_view kNullInvoke = "Variant is null, cannot invoke";
constexpr std::string_view kUnknownMethod = "Unknown method";

using Handler = TPSProcPtr;

// The value of stack item `i`, a Pointer item followed to its target.
TPSValueRef Arg(TPSStack& s, int32_t i) {
    return MakeValueRef(s.Item(i), true);
}

uint8_t BaseOf(TPSStack& s, int32_t i) {
    const TPSValueRef r = Arg(s, i);
    return r.TypeRec ? r.TypeRec->FBaseType : 0;
}

// The three string kinds a routine works in, chosen by an argument's type.
enum class Kind { Ansi, Wide, Unicode };
Kind KindOf(TPSStack& s, int32_t i) {
    switch (BaseOf(s, i)) {
        case btUnicodeString:
            return Kind::Unicode;
        case btWideString:
            return Kind::Wide;
        default:
            return Kind::Ansi;
    }
}

void SetText(TPSStack& s, int32_t i, Kind k, const UnicodeString& u) {
    if (k == Kind::Wide)
        s.SetWideString(i, u);
    else
        s.SetUnicodeString(i, u);
}

// Runs `op` on the text of argument `from` in its kind, storing the result at -1.
template <class Op>
bool TextResult(TPSStack& s, int32_t from, Op op) {
    const Kind k = KindOf(s, from);
    if (k == Kind::Ansi)
        s.SetAnsiString(-1, op(s.GetAnsiString(from)));
    else
        SetText(s, -1, k, op(s.GetUnicodeString(from)));
    return true;
}

// ---- conversions

bool IntToStrProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const std::string text = IntegerToText(s.GetInt64(-2));
    s.SetAnsiString(-1, AnsiString(std::string_view(text)));
    return true;
}

bool StrToIntProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetInt(-1, TextToInt(s.GetAnsiString(-2).view()));
    return true;
}

bool StrToIntDefProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetInt(-1, TextToIntDefault(s.GetAnsiString(-2).view(), s.GetInt(-3)));
    return true;
}

bool StrToInt64Proc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetInt64(-1, StrToInt64(Cp1252ToUtf8(s.GetAnsiString(-2).view())));
    return true;
}

bool StrToInt64DefProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    int64_t v = 0;
    s.SetInt64(-1, TryStrToInt64(Cp1252ToUtf8(s.GetAnsiString(-2).view()), v) ? v : s.GetInt64(-3));
    return true;
}

bool StrToFloatProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetReal(-1, TextToFloat(s.GetAnsiString(-2).view()));
    return true;
}

bool FloatToStrProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const std::string text = FloatToText(s.GetReal(-2));
    s.SetAnsiString(-1, AnsiString(std::string_view(text)));
    return true;
}

// ---- text

template <class Str>
int32_t Find(const Str& sub, const Str& text) {
    if (sub.empty()) return 0;
    const size_t at = text.view().find(sub.view());
    return at == decltype(text.view())::npos ? 0 : static_cast<int32_t>(at) + 1;
}

bool PosProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    if (KindOf(s, -2) == Kind::Ansi)
        s.SetInt(-1, Find(s.GetAnsiString(-2), s.GetAnsiString(-3)));
    else
        s.SetInt(-1, Find(s.GetUnicodeString(-2), s.GetUnicodeString(-3)));
    return true;
}

// Characters [from, from + count) by the class library's rules: a start before the first character
// counts from the first, one past the end gives nothing.
template <class Str>
Str SubText(const Str& text, int32_t from, int32_t count) {
    if (from < 1) from = 1;
    const int64_t left = int64_t{text.size()} - from + 1;
    if (count <= 0 || left <= 0) return Str();
    return Str(text.view().substr(static_cast<size_t>(from - 1),
                                  static_cast<size_t>(std::min<int64_t>(count, left))));
}

bool CopyProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const int32_t from = s.GetInt(-3), count = s.GetInt(-4);
    return TextResult(s, -2, [&](const auto& t) { return SubText(t, from, count); });
}

template <class Str>
Str DeleteText(const Str& text, int32_t from, int32_t count) {
    if (from < 1 || from > text.size() || count <= 0) return text;
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(count, int64_t{text.size()} - from + 1));
    Str r(text.view().substr(0, static_cast<size_t>(from - 1)));
    r.Append(text.view().substr(static_cast<size_t>(from - 1 + n)));
    return r;
}

template <class Str>
Str InsertText(const Str& piece, const Str& text, int32_t at) {
    at = std::clamp(at, 1, text.size() + 1);
    Str r(text.view().substr(0, static_cast<size_t>(at - 1)));
    r.Append(piece.view());
    r.Append(text.view().substr(static_cast<size_t>(at - 1)));
    return r;
}

bool IsTextVariable(uint8_t b) {
    return b == btString || b == btWideString || b == btUnicodeString;
}

bool DeleteProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    if (!IsTextVariable(BaseOf(s, -1))) return false;
    const int32_t from = s.GetInt(-2), count = s.GetInt(-3);
    const Kind k = KindOf(s, -1);
    if (k == Kind::Ansi)
        s.SetAnsiString(-1, DeleteText(s.GetAnsiString(-1), from, count));
    else
        SetText(s, -1, k, DeleteText(s.GetUnicodeString(-1), from, count));
    return true;
}

bool InsertProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    if (!IsTextVariable(BaseOf(s, -2))) return false;
    const int32_t at = s.GetInt(-3);
    const Kind k = KindOf(s, -2);
    if (k == Kind::Ansi)
        s.SetAnsiString(-2, InsertText(s.GetAnsiString(-1), s.GetAnsiString(-2), at));
    else
        SetText(s, -2, k, InsertText(s.GetUnicodeString(-1), s.GetUnicodeString(-2), at));
    return true;
}

// True when 1 <= i <= length; otherwise records "Out of string range".
bool InStringRange(TPSExec& exec, int32_t i, int32_t length) {
    if (i >= 1 && i <= length) return true;
    exec.CMD_Err2(erCustomError, std::string(kOutOfStringRange));
    return false;
}

// StrGet (the string a variable, -2) and StrGet2 (the string a value): the character at I.
bool StrGetProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const uint8_t b = BaseOf(s, -2);
    if (b != btString && b != btUnicodeString) return false;
    const int32_t i = s.GetInt(-3);
    if (b == btString) {
        const AnsiString t = s.GetAnsiString(-2);
        if (!InStringRange(exec, i, t.size())) return false;
        s.SetAnsiString(-1, AnsiString(t.view().substr(static_cast<size_t>(i - 1), 1)));
    } else {
        const UnicodeString t = s.GetUnicodeString(-2);
        if (!InStringRange(exec, i, t.size())) return false;
        s.SetAnsiString(-1, UnicodeToAnsi(UnicodeString(t.view().substr(static_cast<size_t>(i - 1), 1))));
    }
    return true;
}

bool StrSetProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef var = Arg(s, -3);
    if (!var.TypeRec || (var.TypeRec->FBaseType != btString && var.TypeRec->FBaseType != btUnicodeString))
        return false;
    const char c = GetValueAsChar(Arg(s, -1).Data, Arg(s, -1).TypeRec);
    const int32_t i = s.GetInt(-2);
    if (var.TypeRec->FBaseType == btString) {
        Borrowed<AnsiString> t(var.Data);
        if (!InStringRange(exec, i, t->size())) return false;
        t->UniqueData()[i - 1] = c;
    } else {
        Borrowed<UnicodeString> t(var.Data);
        if (!InStringRange(exec, i, t->size())) return false;
        t->UniqueData()[i - 1] = static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c)));
    }
    return true;
}

bool WStrGetProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const uint8_t b = BaseOf(s, -2);
    if (b != btWideString && b != btUnicodeString) return false;
    const UnicodeString t = s.GetUnicodeString(-2);
    const int32_t i = s.GetInt(-3);
    if (!InStringRange(exec, i, t.size())) return false;
    s.SetUInt(-1, t[i - 1]);
    return true;
}

bool WStrSetProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef var = Arg(s, -3);
    if (!var.TypeRec || (var.TypeRec->FBaseType != btWideString && var.TypeRec->FBaseType != btUnicodeString))
        return false;
    // The character: a text's first one, or the low 16 bits of a number.
    const TPSValueRef c = Arg(s, -1);
    char16_t ch = 0;
    if (c.TypeRec && IsStringLikeCode(c.TypeRec->FBaseType)) {
        const UnicodeString t = GetValueAsUnicodeString(c.Data, c.TypeRec);
        ch = t.empty() ? u'\0' : t[0];
    } else {
        ch = static_cast<char16_t>(s.GetUInt(-1));
    }
    const int32_t i = s.GetInt(-2);
    Borrowed<UnicodeString> t(var.Data);
    if (!InStringRange(exec, i, t->size())) return false;
    t->UniqueData()[i - 1] = ch;
    return true;
}

char16_t AsciiUpper16(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}
char16_t AsciiLower16(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

template <bool Upper>
bool CaseProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const Kind k = KindOf(s, -2);
    if (k == Kind::Ansi) {
        const AnsiString t = s.GetAnsiString(-2);
        const std::string r = Upper ? AsciiUpperCase(t.view()) : AsciiLowerCase(t.view());
        s.SetAnsiString(-1, AnsiString(std::string_view(r)));
        return true;
    }
    UnicodeString t = s.GetUnicodeString(-2);
    char16_t* d = t.UniqueData();
    for (int32_t i = 0; i < t.size(); ++i) {
        if (k == Kind::Unicode)
            d[i] = Upper ? AsciiUpper16(d[i]) : AsciiLower16(d[i]);
        else if (d[i] < 0xD800 || d[i] > 0xDFFF)
            d[i] = static_cast<char16_t>(Upper ? UpperCaseChar(d[i]) : LowerCaseChar(d[i]));
    }
    SetText(s, -1, k, t);
    return true;
}

// The case of a single-byte text by the letter table: what Windows-1252 cannot hold stays as it was.
template <bool Upper>
bool AnsiCaseProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    AnsiString t = s.GetAnsiString(-2);
    char* d = t.UniqueData();
    for (int32_t i = 0; i < t.size(); ++i) {
        const char32_t u = Cp1252ToUnicode(static_cast<unsigned char>(d[i]));
        const int b = UnicodeToCp1252(Upper ? UpperCaseChar(u) : LowerCaseChar(u));
        if (b >= 0) d[i] = static_cast<char>(b);
    }
    s.SetAnsiString(-1, t);
    return true;
}

template <class Str>
Str TrimText(const Str& t) {
    int32_t a = 0, b = t.size();
    while (a < b && static_cast<uint32_t>(t[a]) <= 32) ++a;
    while (b > a && static_cast<uint32_t>(t[b - 1]) <= 32) --b;
    return Str(t.view().substr(static_cast<size_t>(a), static_cast<size_t>(b - a)));
}

bool TrimProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    // Wide and single-byte texts are trimmed as UTF-16.
    const Kind k = KindOf(s, -2);
    const UnicodeString r = TrimText(s.GetUnicodeString(-2));
    if (k == Kind::Ansi)
        s.SetAnsiString(-1, UnicodeToAnsi(r));
    else
        SetText(s, -1, k, r);
    return true;
}

template <int Which>  // 0 PadL, 1 PadR, 2 PadZ
bool PadProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const int32_t width = s.GetInt(-3);
    return TextResult(s, -2, [&](const auto& t) {
        return Which == 0 ? PadL(t, width) : Which == 1 ? PadR(t, width) : PadZ(t, width);
    });
}

bool ReplicateProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const char c = s.GetAnsiString(-2).empty() ? '\0' : s.GetAnsiString(-2)[0];
    const int32_t n = s.GetInt(-3);
    AnsiString r;
    if (n > 0) {
        r.SetLength(n);
        std::fill(r.UniqueData(), r.UniqueData() + n, c);
    }
    s.SetAnsiString(-1, r);
    return true;
}

// ---- reals

template <long double (*F)(long double)>
bool RealProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetReal(-1, F(s.GetReal(-2)));
    return true;
}

long double SinOf(long double x) {
    return std::sin(x);
}
long double CosOf(long double x) {
    return std::cos(x);
}
long double SqrtOf(long double x) {
    if (x < 0) throw EInvalidOp(std::string(kInvalidOpText));
    return std::sqrt(x);
}
long double IntOf(long double x) {
    return std::trunc(x);
}
long double AbsOf(long double x) {
    return std::fabs(x);
}

bool PiProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetReal(-1, std::numbers::pi_v<long double>);
    return true;
}

// Round and Trunc: the low 32 bits of the 64-bit integer are stored; a value no 64-bit integer
// holds is an invalid operation.
bool RoundProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    int64_t v = 0;
    CheckArith(RoundToInt64(s.GetReal(-2), v));
    s.SetInt(-1, static_cast<int32_t>(static_cast<uint32_t>(v)));
    return true;
}

bool TruncProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    int64_t v = 0;
    CheckArith(RoundToInt64(std::trunc(s.GetReal(-2)), v));
    s.SetInt(-1, static_cast<int32_t>(static_cast<uint32_t>(v)));
    return true;
}

// ---- exceptions

bool AssignedProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = Arg(s, -2);
    if (!v.TypeRec) return false;
    bool assigned = false;
    switch (v.TypeRec->FBaseType) {
        case btU8:
        case btS8:
            assigned = Load<uint8_t>(v.Data) != 0;
            break;
        case btU16:
        case btS16:
            assigned = Load<uint16_t>(v.Data) != 0;
            break;
        case btU32:
        case btS32:
            assigned = Load<uint32_t>(v.Data) != 0;
            break;
        case btString:
        case btPChar:
        case btArray:
        case btClass:
        case btInterface:
        case btUnicodeString:
        case btWideString:
            assigned = LoadPtr(v.Data) != nullptr;
            break;
        default:
            return false;
    }
    s.SetUInt(-1, assigned ? 1 : 0);
    return true;
}

// Texts of errors travel as UTF-8 inside the executor.
std::string Utf8Of(const UnicodeString& u) {
    return Utf16ToUtf8(u.view());
}
UnicodeString FromUtf8(const std::string& s) {
    const std::u16string w = Utf8ToUtf16(s);
    return UnicodeString(std::u16string_view(w));
}

bool RaiseLastExceptionProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack&) {
    return !exec.RaiseHandledException();
}

bool RaiseExceptionProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    exec.CMD_Err2(static_cast<TPSError>(s.GetUInt(-1)), Utf8Of(s.GetUnicodeString(-2)));
    return false;
}

bool ExceptionTypeProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetUInt(-1, exec.LastEx());
    return true;
}

bool ExceptionParamProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetUnicodeString(-1, FromUtf8(exec.LastExParam()));
    return true;
}

bool ExceptionProcProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetUInt(-1, static_cast<uint32_t>(exec.LastExProc()));
    return true;
}

bool ExceptionPosProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetUInt(-1, static_cast<uint32_t>(exec.LastExPos()));
    return true;
}

bool ExceptionToStringProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    s.SetUnicodeString(
        -1, FromUtf8(ErrorToText(static_cast<int>(s.GetUInt(-2)), Utf8Of(s.GetUnicodeString(-3)))));
    return true;
}

bool SizeOfProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSVariant* item = s.Item(-2);
    // The size the value has in the 32-bit layout scripts were written for.
    s.SetInt(-1, item && item->FType ? static_cast<int32_t>(item->FType->ScriptSize) : 0);
    return true;
}

// ---- intrinsics

bool LengthProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = Arg(s, -2);
    if (!v.TypeRec) return false;
    int32_t n = 0;
    switch (v.TypeRec->FBaseType) {
        case btString:
            n = AnsiString::RawLength(v.Data);
            break;
        case btWideString:
        case btUnicodeString:
            n = UnicodeString::RawLength(v.Data);
            break;
        case btArray:
            n = DynamicArrayLength(v.Data, v.TypeRec);
            break;
        case btStaticArray:
            n = static_cast<int32_t>(static_cast<const TPSTypeRec_StaticArray*>(v.TypeRec)->FSize);
            break;
        case btVariant:
            n = LoadVariant(v.Data).AsUnicode().size();
            break;
        case btChar:
            n = 1;
            break;
        default:
            exec.CMD_Err(ErTypeMismatch);
            return false;
    }
    s.SetInt(-1, n);
    return true;
}

bool SetLengthProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = Arg(s, -1);
    if (!v.TypeRec) return false;
    const int32_t n = s.GetInt(-2);
    switch (v.TypeRec->FBaseType) {
        case btArray:
            ResizeDynamicArray(v.Data, v.TypeRec, n);
            return true;
        case btString: {
            Borrowed<AnsiString> t(v.Data);
            t->SetLength(n);
            return true;
        }
        case btWideString:
        case btUnicodeString: {
            Borrowed<UnicodeString> t(v.Data);
            t->SetLength(n);
            return true;
        }
        default:
            return false;
    }
}

template <bool High>
bool LimitProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = Arg(s, -2);
    if (!v.TypeRec) return false;
    int64_t r = 0;
    switch (v.TypeRec->FBaseType) {
        case btU8:
            r = High ? 255 : 0;
            break;
        case btS8:
            r = High ? 127 : -128;
            break;
        case btU16:
            r = High ? 65535 : 0;
            break;
        case btS16:
            r = High ? 32767 : -32768;
            break;
        case btU32:
            r = High ? 4294967295LL : 0;
            break;
        case btS32:
            r = High ? 2147483647LL : -2147483648LL;
            break;
        case btS64:
            r = High ? INT64_MAX : INT64_MIN;
            break;
        case btString:
            r = High ? AnsiString::RawLength(v.Data) : 1;
            break;
        case btArray:
            r = High ? int64_t{DynamicArrayLength(v.Data, v.TypeRec)} - 1 : 0;
            break;
        case btStaticArray: {
            auto* a = static_cast<const TPSTypeRec_StaticArray*>(v.TypeRec);
            r = High ? int64_t{a->FStartOffset} + a->FSize - 1 : a->FStartOffset;
            break;
        }
        default:
            return false;
    }
    s.SetInt64(-1, r);
    return true;
}

template <int Delta>
bool StepProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = Arg(s, -1);
    if (!v.TypeRec) return false;
    switch (v.TypeRec->FBaseType) {
        case btU8:
        case btS8:
            Store<uint8_t>(v.Data, static_cast<uint8_t>(Load<uint8_t>(v.Data) + Delta));
            return true;
        case btU16:
        case btS16:
            Store<uint16_t>(v.Data, static_cast<uint16_t>(Load<uint16_t>(v.Data) + Delta));
            return true;
        case btU32:
        case btS32:
            Store<uint32_t>(v.Data, static_cast<uint32_t>(Load<uint32_t>(v.Data) + Delta));
            return true;
        case btS64:
            Store<uint64_t>(v.Data, Load<uint64_t>(v.Data) + static_cast<uint64_t>(int64_t{Delta}));
            return true;
        default:
            return false;
    }
}

template <bool Set>
bool IncludeProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef set = Arg(s, -1), m = Arg(s, -2);
    if (!set.TypeRec || set.TypeRec->FBaseType != btSet || !m.TypeRec || m.TypeRec->FBaseType != btU8)
        return false;
    const uint32_t bit = Load<uint8_t>(m.Data);
    // An ordinal beyond the set's own size would write past its bytes.
    if (bit >= static_cast<const TPSTypeRec_Set*>(set.TypeRec)->FBitSize) return false;
    auto* bytes = static_cast<uint8_t*>(set.Data);
    if (Set)
        bytes[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    else
        bytes[bit / 8] &= static_cast<uint8_t>(~(1u << (bit % 8)));
    return true;
}

bool GetArrayLengthProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = Arg(s, -2);
    if (!v.TypeRec) return false;
    if (v.TypeRec->FBaseType == btStaticArray)
        s.SetInt(-1, static_cast<int32_t>(static_cast<const TPSTypeRec_StaticArray*>(v.TypeRec)->FSize));
    else if (v.TypeRec->FBaseType == btArray)
        s.SetInt(-1, DynamicArrayLength(v.Data, v.TypeRec));
    else
        return false;
    return true;
}

bool SetArrayLengthProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = Arg(s, -1);
    if (!v.TypeRec || v.TypeRec->FBaseType != btArray) return false;
    ResizeDynamicArray(v.Data, v.TypeRec, s.GetInt(-2));
    return true;
}

// ---- variants

bool NotificationSetProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef v = Arg(s, -2);
    if (!exec.FOnSetNVariant || !v.TypeRec || v.TypeRec->FBaseType != btVariant) return false;
    exec.FOnSetNVariant(exec, Cp1252ToUtf8(s.GetAnsiString(-1).view()), LoadVariant(v.Data));
    return true;
}

bool NotificationGetProc(TPSExec& exec, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef r = Arg(s, -1);
    if (!exec.FOnGetNVariant || !r.TypeRec || r.TypeRec->FBaseType != btVariant) return false;
    StoreVariant(r.Data, exec.FOnGetNVariant(exec, Cp1252ToUtf8(s.GetAnsiString(-2).view())));
    return true;
}

bool VarArrayGetProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef arr = Arg(s, -2), r = Arg(s, -1);
    if (!arr.TypeRec || arr.TypeRec->FBaseType != btVariant || !r.TypeRec ||
        r.TypeRec->FBaseType != btVariant)
        return false;
    const Variant element = LoadVariant(arr.Data).Element(s.GetInt(-3));
    StoreVariant(r.Data, element);
    return true;
}

bool VarArraySetProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef arr = Arg(s, -3);
    if (!arr.TypeRec || arr.TypeRec->FBaseType != btVariant) return false;
    Variant value;
    if (!ValueToVariant(Arg(s, -1).Data, Arg(s, -1).TypeRec, value)) return false;
    const int32_t i = s.GetInt(-2);
    Borrowed<Variant> target(arr.Data);
    target->Element(i) = std::move(value);
    return true;
}

Variant UnassignedFn() {
    return Variant();
}
bool VarIsEmptyFn(const Variant& v) {
    return v.IsEmpty();
}
bool VarIsClearFn(const Variant& v) {
    return v.IsClear();
}
Variant NullFn() {
    return Variant::Null();
}
bool VarIsNullFn(const Variant& v) {
    return v.IsNull();
}
uint16_t VarTypeFn(const Variant& v) {
    return v.VarType();
}

// No automation objects exist here: a nil object is the script's error, any other has no methods.
bool IdispatchInvokeProc(TPSExec&, TPSExternalProcRec&, TPSStack&, TPSStack& s) {
    const TPSValueRef self = Arg(s, -2);
    if (!self.Data || !LoadPtr(self.Data)) throw EPSException(std::string(kNullInvoke), nullptr, 0, 0);
    throw Exception(std::string(kUnknownMethod));
}

struct NamedHandler {
    std::string_view name;
    Handler handler;
};

constexpr NamedHandler kHandlers[] = {
    {"IntToStr", IntToStrProc},
    {"StrToInt", StrToIntProc},
    {"StrToIntDef", StrToIntDefProc},
    {"Pos", PosProc},
    {"Copy", CopyProc},
    {"Delete", DeleteProc},
    {"Insert", InsertProc},
    {"StrGet", StrGetProc},
    {"StrGet2", StrGetProc},
    {"StrSet", StrSetProc},
    {"UpperCase", CaseProc<true>},
    {"LowerCase", CaseProc<false>},
    {"Trim", TrimProc},
    {"Sin", RealProc<SinOf>},
    {"Cos", RealProc<CosOf>},
    {"Sqrt", RealProc<SqrtOf>},
    {"Round", RoundProc},
    {"Trunc", TruncProc},
    {"Int", RealProc<IntOf>},
    {"Pi", PiProc},
    {"Abs", RealProc<AbsOf>},
    {"StrToFloat", StrToFloatProc},
    {"FloatToStr", FloatToStrProc},
    {"PadL", PadProc<0>},
    {"PadR", PadProc<1>},
    {"PadZ", PadProc<2>},
    {"Replicate", ReplicateProc},
    {"StringOfChar", ReplicateProc},
    {kAssignedProcName, AssignedProc},
    {"RaiseLastException", RaiseLastExceptionProc},
    {"RaiseException", RaiseExceptionProc},
    {"ExceptionType", ExceptionTypeProc},
    {"ExceptionParam", ExceptionParamProc},
    {"ExceptionProc", ExceptionProcProc},
    {"ExceptionPos", ExceptionPosProc},
    {"ExceptionToString", ExceptionToStringProc},
    {"AnsiUpperCase", AnsiCaseProc<true>},
    {"AnsiLowerCase", AnsiCaseProc<false>},
    {"StrToInt64", StrToInt64Proc},
    {"Int64ToStr", IntToStrProc},
    {"StrToInt64Def", StrToInt64DefProc},
    {"SizeOf", SizeOfProc},
    {"WStrGet", WStrGetProc},
    {"WStrSet", WStrSetProc},
    {kNotificationSetProcName, NotificationSetProc},
    {kNotificationGetProcName, NotificationGetProc},
    {"Length", LengthProc},
    {"SetLength", SetLengthProc},
    {"Low", LimitProc<false>},
    {"High", LimitProc<true>},
    {"Dec", StepProc<-1>},
    {"Inc", StepProc<1>},
    {"Include", IncludeProc<true>},
    {"Exclude", IncludeProc<false>},
    {"GetArrayLength", GetArrayLengthProc},
    {"SetArrayLength", SetArrayLengthProc},
    {"VarArrayGet", VarArrayGetProc},
    {"VarArraySet", VarArraySetProc},
    {"IdispatchInvoke", IdispatchInvokeProc},
};

}  // namespace

void TPSExec::RegisterStandardProcs() {
    for (const NamedHandler& h : kHandlers) RegisterFunctionName(h.name, h.handler, nullptr, nullptr);
    RegisterNativeFunction<&UnassignedFn>(*this, "Unassigned");
    RegisterNativeFunction<&VarIsEmptyFn>(*this, "VarIsEmpty");
    RegisterNativeFunction<&VarIsClearFn>(*this, "VarIsClear");
    RegisterNativeFunction<&NullFn>(*this, "Null");
    RegisterNativeFunction<&VarIsNullFn>(*this, "VarIsNull");
    RegisterNativeFunction<&VarTypeFn>(*this, "VarType");
    if (!FindSpecialProcImport(InterfaceImporter)) AddSpecialProcImport("intf", InterfaceImporter, nullptr);
}

}  // namespace tv::script
