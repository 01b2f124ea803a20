#pragma once
// Numbers to text and back, with the class library's rules and the format settings' separators:
// integers (decimal and "$" hex), the general float text the exports write, picture formats
// ("#,##0.00") and the float formats Format builds on. Every failure raises EConvertError.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/format_settings.h"

namespace tv {

inline constexpr std::string_view kInvalidInteger = "'%s' is not a valid integer value";
inline constexpr std::string_view kInvalidFloat = "'%s' is not a valid floating point value";

// ---- integers

std::string IntToStr(int64_t value);
// Upper-case hex of at least `digits` digits; a negative value shows its two's complement in 8
// (32-bit overload) or 16 digits.
std::string IntToHex(int32_t value, int digits);
std::string IntToHex(int64_t value, int digits);

// Decimal, or hex after "$" or "0x"; an optional sign; surrounding blanks are ignored. Hex texts
// may use the whole unsigned width and wrap to negative values ("$FFFFFFFF" is -1); decimal texts
// must fit. Anything else raises kInvalidInteger.
int32_t StrToInt(std::string_view text);
int32_t StrToIntDef(std::string_view text, int32_t defaultValue);
bool TryStrToInt(std::string_view text, int32_t& value);
int64_t StrToInt64(std::string_view text);
int64_t StrToInt64Def(std::string_view text, int64_t defaultValue);
bool TryStrToInt64(std::string_view text, int64_t& value);

// ---- floating point

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// The general format at 15 significant digits: fixed notation without trailing zeros while the
// value has at most 15 integer digits and is at least 0.0001, else "1,5E-5" / "1E20"; no
// thousands separator. NaN and infinities give "NAN", "INF" and "-INF".
std::string FloatToStr(double value, const TFormatSettings& settings = DefaultFormatSettings());

// The class library's float formats. `precision` is the number of significant digits (1 to 18;
// a double holds 15, ffGeneral and ffExponent show up to 17 real ones); `digits` is the minimum
// number of exponent digits (ffGeneral, ffExponent: 0 to 4) or the number of decimals (ffFixed,
// ffNumber, ffCurrency: 0 to 18). ffNumber adds thousands separators, ffCurrency places the
// currency string by CurrencyFormat / NegCurrFormat.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings = DefaultFormatSettings());

// Picture formats: "0" a digit always written, "#" a digit written when significant, "." the
// decimal separator, "," thousands separators, "E+00" / "E-00" scientific notation, text in
// quotes written as it stands; up to three sections "positive;negative;zero" (an empty one falls
// back to the first; the negative section writes its own sign). An empty picture gives the
// general format. Values round half away from zero.
std::string FormatFloat(std::string_view format, double value,
                        const TFormatSettings& settings = DefaultFormatSettings());

// An optional sign, digits with the settings' decimal separator, an optional exponent;
// surrounding blanks are ignored, thousands separators are not. Anything else, and a value
// beyond the range of a double, raises kInvalidFloat.
double StrToFloat(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());
bool TryStrToFloat(std::string_view text, double& value,
                   const TFormatSettings& settings = DefaultFormatSettings());

}  // namespace tv
