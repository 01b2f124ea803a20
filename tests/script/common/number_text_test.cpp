#include "script/common/number_text.h"

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"

namespace tv::script {
namespace {

struct IntCase {
    const char* text;
    int32_t value;
    bool valid;
};
constexpr IntCase kIntCases[] = {
    {"12", 12, true},
    {"-5", -5, true},
    {"+7", 7, true},
    {"$FF", 255, true},
    {"$ff", 255, true},
    {"$FFFFFFFF", -1, true},  // hexadecimal is read as the bits of a 32-bit integer
    {"-2147483648", INT32_MIN, true},
    {"2147483647", INT32_MAX, true},
    {"2147483648", 0, false},  // beyond 32 bits
    {"$100000000", 0, false},
    {"12x", 0, false},
    {"", 0, false},
    {"-", 0, false},
    {"$", 0, false},
    {" 1", 0, false},
    {"1.0", 0, false},
};

TEST(TextToInt, AcceptsSignedDecimalOrDollarHex) {
    for (const auto& c : kIntCases) {
        EXPECT_EQ(TextToIntDefault(c.text, 7), c.valid ? c.value : 7) << c.text;
        EXPECT_EQ(TextToInt(c.text), c.valid ? c.value : -1) << c.text;
    }
}

TEST(IntegerToText, WritesDecimal) {
    EXPECT_EQ(IntegerToText(0), "0");
    EXPECT_EQ(IntegerToText(-42), "-42");
    EXPECT_EQ(IntegerToText(INT64_MIN), "-9223372036854775808");
}

TEST(FloatToText, WritesTwelveDecimalsWithAPoint) {
    EXPECT_EQ(FloatToText(1.5L), "1.500000000000");
    EXPECT_EQ(FloatToText(-0.25L), "-0.250000000000");
    EXPECT_EQ(FloatToText(1e15L), "1000000000000000.000000000000");
    EXPECT_EQ(FloatToText(1.0L / 3), "0.333333333333");
}

struct FloatCase {
    const char* text;
    long double value;
};
const FloatCase kFloatCases[] = {
    {"1.5", 1.5L}, {"-2e3", -2000.0L}, {"+.5", 0.5L}, {"5.", 5.0L}, {"1E-2", 0.01L}, {"1e-99999", 0.0L},
};

TEST(TextToFloat, ReadsDecimalNumbersWithAPoint) {
    for (const auto& c : kFloatCases) EXPECT_EQ(TextToFloat(c.text), c.value) << c.text;
}

TEST(TextToFloat, RefusesOtherTextWithInvalidFloat) {
    for (const char* text : {"x", "", "1e", "1,5", " 1", "1 ", "inf", "nan", ".", "1e99999", "--1"}) {
        try {
            TextToFloat(text);
            ADD_FAILURE() << text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, "Invalid float") << text;
        }
    }
}

TEST(ParseIntegerLiteral, ReadsUpTo64Bits) {
    uint64_t v = 0;
    EXPECT_TRUE(ParseIntegerLiteral("18446744073709551615", v));
    EXPECT_EQ(v, UINT64_MAX);
    EXPECT_FALSE(ParseIntegerLiteral("18446744073709551616", v));
    EXPECT_TRUE(ParseIntegerLiteral("$FFFFFFFFFFFFFFFF", v));
    EXPECT_FALSE(ParseIntegerLiteral("$10000000000000000", v));
    EXPECT_FALSE(ParseIntegerLiteral("$", v));
}

}  // namespace
}  // namespace tv::script
