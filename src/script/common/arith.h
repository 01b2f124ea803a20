#pragma once
// Arithmetic with the results scripts rely on, free of undefined behaviour: integers wrap at their
// width, shifts take defined counts, division faults are reported instead of trapping, and real
// operations report what an unmasked FPU would raise. The compiler folds constants with these and
// the runtime's operators compute with them, so a folded result equals the run-time one.
//
// Integer operations work on lanes: 8-, 16- and 32-bit values are widened to a 32-bit lane
// (uint32_t for unsigned types, int32_t for signed ones, sign-extended), computed there and cut back
// to their width; Int64 uses an int64_t lane.

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

#include "platform/rtl/math_error.h"

namespace tv::script {

enum class ArithFault : uint8_t {
    None,
    IntDivideByZero,
    IntOverflow,  // the most negative value divided by -1
    RealDivideByZero,
    RealOverflow,
    RealInvalid,
};

constexpr bool IsDivideByZero(ArithFault f) {
    return f == ArithFault::IntDivideByZero || f == ArithFault::RealDivideByZero;
}

// The message the class library gives a fault.
constexpr std::string_view ArithFaultMessage(ArithFault f) {
    switch (f) {
        case ArithFault::IntDivideByZero:
            return kDivByZeroText;
        case ArithFault::IntOverflow:
            return kIntOverflowText;
        case ArithFault::RealDivideByZero:
            return kZeroDivideText;
        case ArithFault::RealOverflow:
            return kOverflowText;
        case ArithFault::RealInvalid:
            return kInvalidOpText;
        case ArithFault::None:
            break;
    }
    return {};
}

// --- integers (T is a lane type: uint32_t, int32_t, int64_t or uint64_t) ---

template <class T>
constexpr T WrapAdd(T a, T b) {
    using U = std::make_unsigned_t<T>;
    return static_cast<T>(static_cast<U>(a) + static_cast<U>(b));
}
template <class T>
constexpr T WrapSubtract(T a, T b) {
    using U = std::make_unsigned_t<T>;
    return static_cast<T>(static_cast<U>(a) - static_cast<U>(b));
}
template <class T>
constexpr T WrapMultiply(T a, T b) {
    using U = std::make_unsigned_t<T>;
    // Unsigned types narrower than int would promote to int; the lanes are 32 bits or wider.
    static_assert(sizeof(T) >= 4, "integer operations work on 32- or 64-bit lanes");
    return static_cast<T>(static_cast<U>(a) * static_cast<U>(b));
}
template <class T>
constexpr T WrapNegate(T a) {
    using U = std::make_unsigned_t<T>;
    return static_cast<T>(U{0} - static_cast<U>(a));
}

// Quotient truncated toward zero.
template <class T>
constexpr ArithFault DivideTruncated(T a, T b, T& quotient) {
    if (b == 0) return ArithFault::IntDivideByZero;
    if constexpr (std::is_signed_v<T>) {
        if (a == std::numeric_limits<T>::min() && b == -1) return ArithFault::IntOverflow;
    }
    quotient = a / b;
    return ArithFault::None;
}

// Remainder of the truncating division (the sign of the dividend).
template <class T>
constexpr ArithFault Remainder(T a, T b, T& remainder) {
    if (b == 0) return ArithFault::IntDivideByZero;
    if constexpr (std::is_signed_v<T>) {
        if (a == std::numeric_limits<T>::min() && b == -1) return ArithFault::IntOverflow;
    }
    remainder = a % b;
    return ArithFault::None;
}

// Shifts of a 32-bit lane take the count modulo 32; right shifts fill with zeros.
constexpr uint32_t ShiftLeft32(uint32_t v, uint64_t count) {
    return v << (count & 31);
}
constexpr uint32_t ShiftRight32(uint32_t v, uint64_t count) {
    return v >> (count & 31);
}
// Shifts of a 64-bit lane move by the full count (taken as unsigned): 64 or more gives 0.
constexpr uint64_t ShiftLeft64(uint64_t v, uint64_t count) {
    return count >= 64 ? 0 : v << count;
}
constexpr uint64_t ShiftRight64(uint64_t v, uint64_t count) {
    return count >= 64 ? 0 : v >> count;
}

// --- reals (computed in long double, the extended precision) ---

// Whether v is finite, in the one comparison the common case needs (false for NaN).
inline bool IsFiniteReal(long double v) {
    return std::fabs(v) <= std::numeric_limits<long double>::max();
}

// A non-finite result of finite operands is a fault.
inline ArithFault CheckRealResult(long double result, long double a, long double b) {
    if (IsFiniteReal(result) || !IsFiniteReal(a) || !IsFiniteReal(b)) [[likely]]
        return ArithFault::None;
    return std::isnan(result) ? ArithFault::RealInvalid : ArithFault::RealOverflow;
}
inline ArithFault RealAdd(long double a, long double b, long double& r) {
    r = a + b;
    return CheckRealResult(r, a, b);
}
inline ArithFault RealSubtract(long double a, long double b, long double& r) {
    r = a - b;
    return CheckRealResult(r, a, b);
}
inline ArithFault RealMultiply(long double a, long double b, long double& r) {
    r = a * b;
    return CheckRealResult(r, a, b);
}
inline ArithFault RealDivide(long double a, long double b, long double& r) {
    if (b == 0) return a == 0 || std::isnan(a) ? ArithFault::RealInvalid : ArithFault::RealDivideByZero;
    r = a / b;
    return CheckRealResult(r, a, b);
}

// The least extended value a narrower real type F rounds beyond its largest finite value: that
// value plus half the distance to the one below it, 2^max_exponent - 2^(max_exponent - digits - 1).
template <class F>
constexpr long double NarrowOverflowLimit() {
    long double halfUlp = 1;
    for (int i = 0; i < std::numeric_limits<F>::max_exponent - std::numeric_limits<F>::digits - 1; ++i)
        halfUlp *= 2;
    return static_cast<long double>(std::numeric_limits<F>::max()) + halfUlp;
}

// Stores an extended value in a narrower real type, rounding to nearest; a finite value that
// rounds beyond the type's largest finite value is an overflow.
template <class F>
ArithFault NarrowReal(long double v, F& out) {
    static_assert(std::is_floating_point_v<F>);
    if constexpr (sizeof(F) < sizeof(long double)) {
        constexpr long double kLimit = NarrowOverflowLimit<F>();
        if (std::fabs(v) >= kLimit && IsFiniteReal(v)) return ArithFault::RealOverflow;
    }
    out = static_cast<F>(v);
    return ArithFault::None;
}

// Rounds to the nearest integer, ties to even; a value outside the 64-bit range (or not finite) is
// an invalid operation.
inline ArithFault RoundToInt64(long double v, int64_t& out) {
    long double r = std::nearbyint(v);
    if (!(r >= -9223372036854775808.0L && r < 9223372036854775808.0L)) return ArithFault::RealInvalid;
    out = static_cast<int64_t>(r);
    return ArithFault::None;
}

// Currency holds the amount times 10000 in 64 bits.
inline constexpr int64_t kCurrencyScale = 10000;
inline long double CurrencyToReal(int64_t raw) {
    return static_cast<long double>(raw) / kCurrencyScale;
}
inline ArithFault RealToCurrency(long double amount, int64_t& raw) {
    long double scaled = 0;
    if (ArithFault f = RealMultiply(amount, kCurrencyScale, scaled); f != ArithFault::None) return f;
    return RoundToInt64(scaled, raw);
}

}  // namespace tv::script
