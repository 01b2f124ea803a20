#include "script/common/extended.h"

#include <cmath>
#include <cstring>

namespace tv::script {

namespace {

constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;

}  // namespace

ExtendedBytes EncodeExtended(long double value) {
    uint16_t signExp = std::signbit(value) ? 0x8000 : 0;
    uint64_t mantissa = 0;
    if (std::isnan(value)) {
        signExp |= kMaxExponent;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        signExp |= kMaxExponent;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0) {
        long double a = std::fabs(value);
        int e = 0;
        long double m = std::frexp(a, &e);  // a = m * 2^e, m in [0.5, 1)
        int biased = e - 1 + kBias;
        if (biased >= kMaxExponent) {
            signExp |= kMaxExponent;
            mantissa = 0x8000000000000000ull;
        } else if (biased <= 0) {
            // Denormal: the value is mantissa * 2^(1 - 16383 - 63).
            mantissa = static_cast<uint64_t>(std::ldexp(a, kBias - 1 + 63));
        } else {
            signExp |= static_cast<uint16_t>(biased);
            mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
        }
    }
    ExtendedBytes out{};
    for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    out[8] = static_cast<uint8_t>(signExp);
    out[9] = static_cast<uint8_t>(signExp >> 8);
    return out;
}

long double DecodeExtended(const uint8_t* bytes) {
    uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i) mantissa |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    uint16_t signExp = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
    bool negative = (signExp & 0x8000) != 0;
    int exponent = signExp & kMaxExponent;
    long double v;
    if (exponent == kMaxExponent) {
        v = (mantissa << 1) == 0 ? HUGE_VALL : std::nanl("");
    } else if (exponent == 0) {
        v = std::ldexp(static_cast<long double>(mantissa), 1 - kBias - 63);
    } else {
        v = std::ldexp(static_cast<long double>(mantissa), exponent - kBias - 63);
    }
    return negative ? -v : v;
}

long double DecodeExtended(const ExtendedBytes& bytes) {
    return DecodeExtended(bytes.data());
}

}  // namespace tv::script
