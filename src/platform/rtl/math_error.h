#pragma once
// Arithmetic faults as the class library raises them, with its texts. The script engine maps the
// division faults to its division-by-zero error and the others to its math error.

#include <string_view>

#include "platform/rtl/exception.h"

namespace tv {

TV_DECLARE_EXCEPTION(EMathError, Exception);
TV_DECLARE_EXCEPTION(EInvalidOp, EMathError);   // "Invalid floating point operation"
TV_DECLARE_EXCEPTION(EZeroDivide, EMathError);  // "Floating point division by zero"
TV_DECLARE_EXCEPTION(EOverflow, EMathError);    // "Floating point overflow"
TV_DECLARE_EXCEPTION(EIntError, Exception);
TV_DECLARE_EXCEPTION(EDivByZero, EIntError);    // "Division by zero"
TV_DECLARE_EXCEPTION(EIntOverflow, EIntError);  // "Integer overflow"

inline constexpr std::string_view kInvalidOpText = "Invalid floating point operation";
inline constexpr std::string_view kZeroDivideText = "Floating point division by zero";
inline constexpr std::string_view kOverflowText = "Floating point overflow";
inline constexpr std::string_view kDivByZeroText = "Division by zero";
inline constexpr std::string_view kIntOverflowText = "Integer overflow";

}  // namespace tv
