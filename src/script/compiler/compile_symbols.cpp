#include "script/compiler/compile_symbols.h"

#include "script/common/ansi_text.h"
#include "script/common/arith.h"
#include "script/compiler/compiler_messages.h"

namespace tv::script {

namespace {

[[noreturn]] void Mismatch() {
    throw EPSCompilerException(std::string(kConstantValueTypeMismatch));
}

int64_t CurrencyOf(long double amount) {
    int64_t raw = 0;
    if (RealToCurrency(amount, raw) != ArithFault::None) Mismatch();
    return raw;
}

}  // namespace

TIfRVariant& TPSConstant::Checked() {
    if (!Value || !Value->FType) throw EPSCompilerException(std::string(kConstantValueNotAssigned));
    return *Value;
}

// A 32-bit value widens to 64 bits (with or without its sign) and is stored as SetInt64 stores.
void TPSConstant::SetInt(int32_t n) {
    SetInt64(n);
}
void TPSConstant::SetUInt(uint32_t n) {
    SetInt64(n);
}

void TPSConstant::SetInt64(int64_t n) {
    TIfRVariant& val = Checked();
    switch (val.FType->BaseType) {
        case btU8:
        case btS8:
            val.v.tu8 = static_cast<uint8_t>(n);
            break;
        case btU16:
        case btS16:
            val.v.tu16 = static_cast<uint16_t>(n);
            break;
        case btU32:
        case btS32:
        case btEnum:
            val.v.tu32 = static_cast<uint32_t>(n);
            break;
        case btSingle:
            val.v.tsingle = static_cast<float>(n);
            break;
        case btDouble:
            val.v.tdouble = static_cast<double>(n);
            break;
        case btExtended:
            val.v.textended = static_cast<long double>(n);
            break;
        case btS64:
            val.v.ts64 = n;
            break;
        case btCurrency:
            val.v.ts64 = CurrencyOf(static_cast<long double>(n));
            break;
        default:
            Mismatch();
    }
}

void TPSConstant::SetExtended(long double x) {
    TIfRVariant& val = Checked();
    switch (val.FType->BaseType) {
        case btSingle: {
            float f = 0;
            if (NarrowReal(x, f) != ArithFault::None) Mismatch();
            val.v.tsingle = f;
            break;
        }
        case btDouble: {
            double d = 0;
            if (NarrowReal(x, d) != ArithFault::None) Mismatch();
            val.v.tdouble = d;
            break;
        }
        case btExtended:
            val.v.textended = x;
            break;
        case btCurrency:
            val.v.ts64 = CurrencyOf(x);
            break;
        default:
            Mismatch();
    }
}

void TPSConstant::SetChar(char c) {
    TIfRVariant& val = Checked();
    switch (val.FType->BaseType) {
        case btString:
            val.Str.assign(1, c);
            break;
        case btChar:
            val.v.tchar = c;
            break;
        case btWideString:
        case btUnicodeString:
            val.WStr = AnsiToWide(std::string_view(&c, 1));
            break;
        default:
            Mismatch();
    }
}

void TPSConstant::SetWideChar(char16_t c) {
    TIfRVariant& val = Checked();
    switch (val.FType->BaseType) {
        case btString:
            val.Str = WideToAnsi(std::u16string_view(&c, 1));
            break;
        case btWideChar:
            val.v.twidechar = c;
            break;
        case btWideString:
        case btUnicodeString:
            val.WStr.assign(1, c);
            break;
        default:
            Mismatch();
    }
}

void TPSConstant::SetString(std::string_view s) {
    TIfRVariant& val = Checked();
    switch (val.FType->BaseType) {
        case btString:
            val.Str.assign(s);
            break;
        case btChar:
            val.v.tchar = s.empty() ? ' ' : s[0];
            break;
        case btWideChar:
            val.v.twidechar = s.empty() ? u' ' : AnsiToWide(s.substr(0, 1))[0];
            break;
        case btWideString:
        case btUnicodeString:
            val.WStr = AnsiToWide(s);
            break;
        default:
            Mismatch();
    }
}

void TPSConstant::SetWideString(std::u16string_view s) {
    TIfRVariant& val = Checked();
    switch (val.FType->BaseType) {
        case btString:
            val.Str = WideToAnsi(s);
            break;
        case btWideString:
        case btUnicodeString:
            val.WStr.assign(s);
            break;
        default:
            Mismatch();
    }
}

void TPSConstant::SetUnicodeString(std::u16string_view s) {
    SetWideString(s);
}

void TPSConstant::SetSet(std::string_view bytes) {
    TIfRVariant& val = Checked();
    if (val.FType->BaseType != btSet) Mismatch();
    size_t size = static_cast<TPSSetType*>(val.FType)->GetByteSize();
    val.Str.assign(size, '\0');
    val.Str.replace(0, std::min(size, bytes.size()), bytes.substr(0, std::min(size, bytes.size())));
}

}  // namespace tv::script
