#pragma once
// The 10-byte extended real as the container and constants carry it: 64-bit mantissa with an
// explicit integer bit, 15-bit exponent biased by 16383, sign bit, little-endian. Encoding and
// decoding go through frexp/ldexp, so they do not depend on the machine's long double layout.

#include <array>
#include <cstdint>

namespace tv::script {

using ExtendedBytes = std::array<uint8_t, 10>;

ExtendedBytes EncodeExtended(long double value);
long double DecodeExtended(const ExtendedBytes& bytes);
long double DecodeExtended(const uint8_t* bytes);

}  // namespace tv::script
