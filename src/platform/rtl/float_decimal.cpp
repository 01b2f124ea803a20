#include "platform/rtl/float_decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tv {
namespace {

// Reads to_chars' scientific text ("d.ddde+XX" or "de-XX") into `d`.
void ReadScientific(const char* first, const char* last, TFloatDecimal& d) {
    d.count = 0;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.' && d.count < int(sizeof d.digits)) d.digits[d.count++] = *p;
    }
    int exponent = 0;
    if (p != last) {
        ++p;
        bool negative = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        std::from_chars(p, last, exponent);
        if (negative) exponent = -exponent;
    }
    d.exponent = exponent + 1;
    while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
    if (d.count == 0) d.exponent = 0;
}

}  // namespace

TFloatDecimal DecimalOf(double value, int precision) {
    TFloatDecimal d;
    if (std::isnan(value)) {
        d.kind = TFloatDecimal::Kind::NaN;
        return d;
    }
    if (std::isinf(value)) {
        d.kind = value < 0 ? TFloatDecimal::Kind::NegInf : TFloatDecimal::Kind::PosInf;
        return d;
    }
    precision = std::clamp(precision, 1, 17);
    d.negative = std::signbit(value);
    value = std::fabs(value);
    if (value == 0) {
        d.negative = false;
        return d;
    }
    char buffer[40];
    if (precision <= kDoubleDigits) {
        // For a normal double the shortest text that reads back as the value is its 15-digit
        // rounding whenever it has 15 digits or fewer (it lies within half a unit of the last
        // place, far inside half a step of the 15th digit); only longer ones and subnormal values,
        // whose units of the last place are coarser, need the exact rounding.
        auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
        ReadScientific(buffer, r.ptr, d);
        if (d.count > kDoubleDigits || value < std::numeric_limits<double>::min()) {
            r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                              kDoubleDigits - 1);
            ReadScientific(buffer, r.ptr, d);
        }
        RoundToDigits(d, precision);
    } else {
        auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                               precision - 1);
        ReadScientific(buffer, r.ptr, d);
    }
    return d;
}

void RoundToDigits(TFloatDecimal& d, int significant) {
    if (d.count <= significant) return;
    if (significant <= 0) {
        bool up = significant == 0 && d.digits[0] >= '5';
        d.count = 0;
        if (up) {
            d.digits[0] = '1';
            d.count = 1;
            d.exponent += 1;
        } else {
            d.exponent = 0;
        }
        return;
    }
    bool up = d.digits[significant] >= '5';
    d.count = significant;
    if (up) {
        int i = significant - 1;
        while (i >= 0 && d.digits[i] == '9') --i;
        if (i < 0) {
            d.digits[0] = '1';
            d.count = 1;
            d.exponent += 1;
            return;
        }
        d.digits[i] += 1;
        d.count = i + 1;
    }
    while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
    if (d.count == 0) d.exponent = 0;
}

void RoundToDecimals(TFloatDecimal& d, int decimals) {
    if (d.IsZero()) return;
    // Digits to keep: those left of the point plus `decimals`; the sum stays small because the
    // exponent of a double is bounded.
    RoundToDigits(d, d.exponent + decimals);
}

}  // namespace tv
