#include "script/common/extended.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace tv::script {
namespace {

struct ExtendedCase {
    long double value;
    ExtendedBytes bytes;
};
const ExtendedCase kExtendedCases[] = {
    // mantissa with explicit integer bit (8 bytes), then sign and exponent biased by 16383
    {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
    {-2.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
    {0.75L, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFE, 0x3F}},
    {10.0L, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x02, 0x40}},
    {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {-0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
    {HUGE_VALL, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
};

TEST(Extended, EncodesTheTenByteLayout) {
    for (const auto& c : kExtendedCases) {
        EXPECT_EQ(EncodeExtended(c.value), c.bytes) << static_cast<double>(c.value);
        EXPECT_EQ(DecodeExtended(c.bytes), c.value) << static_cast<double>(c.value);
        EXPECT_EQ(std::signbit(DecodeExtended(c.bytes)), std::signbit(c.value));
    }
}

TEST(Extended, RoundTripsEdgeValues) {
    const long double values[] = {0.1L,
                                  -1e-300L,
                                  1e300L,
                                  3.14159265358979323846L,
                                  LDBL_MAX,
                                  LDBL_MIN,
                                  LDBL_MIN / 1024 /* denormal */,
                                  LDBL_TRUE_MIN,
                                  -HUGE_VALL};
    for (long double v : values) EXPECT_EQ(DecodeExtended(EncodeExtended(v)), v) << static_cast<double>(v);
    EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(std::nanl("")))));
}

}  // namespace
}  // namespace tv::script
