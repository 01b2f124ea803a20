#pragma once
// Number texts as the script engine reads and writes them, independent of the locale: declaration
// texts, exported declarations, and the built-ins StrToInt, StrToIntDef, StrToFloat and FloatToStr.

#include <cstdint>
#include <string>
#include <string_view>

namespace tv::script {

inline constexpr std::string_view kInvalidFloat = "Invalid float";

std::string IntegerToText(int64_t n);
// Fixed-point text with 12 decimals, "." as the separator and no padding: 1.5 gives "1.500000000000".
std::string FloatToText(long double x);
// An optional sign and decimal digits, or "$" and hexadecimal digits, holding a 32-bit integer
// (hexadecimal up to $FFFFFFFF, read as the signed value of those bits); -1 for anything else.
int32_t TextToInt(std::string_view s);
// As TextToInt, with `def` for a text that is not an integer.
int32_t TextToIntDefault(std::string_view s, int32_t def);
// The value of a decimal number with "." as the separator and an optional exponent; raises
// EConvertError "Invalid float" for anything else.
long double TextToFloat(std::string_view s);

// Parses an integer literal of the script language (decimal digits, or "$" and hexadecimal digits)
// into 64 bits; false when the text is empty, malformed or does not fit 64 bits.
bool ParseIntegerLiteral(std::string_view s, uint64_t& value);

}  // namespace tv::script
