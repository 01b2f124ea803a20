#pragma once
// The decimal digits of a double, from which every number formatter of the run-time library
// (FloatToStr, FloatToStrF, FormatFloat, Format) rounds and lays out its text.

#include <cstdint>

namespace tv {

struct TFloatDecimal {
    enum class Kind : uint8_t { Finite, NaN, PosInf, NegInf };
    Kind kind = Kind::Finite;
    bool negative = false;
    int exponent = 0;      // the value is 0.d1 d2 d3 ... × 10^exponent; 0 for zero
    int count = 0;         // significant digits held, trailing zeros dropped; 0 for zero
    char digits[20] = {};  // '0'..'9'

    bool IsZero() const { return count == 0; }
};

// The most significant digits a double holds reliably; formatters never show more unless asked.
inline constexpr int kDoubleDigits = 15;

// `value` at `precision` significant digits (1 to 17). Up to 15 digits the value is first taken
// at 15 significant digits and then rounded half away from zero, so that 2.5 gives 3 and 1.005 at
// two decimals gives 1.01 as the written number suggests; beyond 15 the digits are those of the
// binary value, correctly rounded.
TFloatDecimal DecimalOf(double value, int precision = kDoubleDigits);

// Rounds half away from zero to at most `significant` digits.
void RoundToDigits(TFloatDecimal& d, int significant);
// Rounds half away from zero so that no digit is left below 10^-decimals (decimals >= 0).
void RoundToDecimals(TFloatDecimal& d, int decimals);

}  // namespace tv
