#include "platform/rtl/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "convert_error.h"

namespace tv {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TFormatSettings Swedish() {
    return FormatSettingsForLocale("sv_SE.UTF-8");
}
TFormatSettings Neutral() {
    return FormatSettingsForLocale("C");
}
TFormatSettings ForceDot() {
    TFormatSettings s = Swedish();
    ApplyForceDot(s);
    return s;
}

// ---- FloatToStr

struct FloatTextCase {
    double value;
    const char* neutral;  // "." and no thousands separator
    const char* swedish;  // ","
};
const FloatTextCase kFloatTextCases[] = {
    {1.5, "1.5", "1,5"},
    {100, "100", "100"},
    {12.5, "12.5", "12,5"},
    {1234.5, "1234.5", "1234,5"},  // never a thousands separator
    {-2.25, "-2.25", "-2,25"},
    {0, "0", "0"},
    {-0.0, "0", "0"},
    {40329.5, "40329.5", "40329,5"},
    {0.1 + 0.2, "0.3", "0,3"},  // 15 significant digits hide the binary remainder
    {1.0 / 3, "0.333333333333333", "0,333333333333333"},
    {2.0 / 3, "0.666666666666667", "0,666666666666667"},
    {123456789.123456789, "123456789.123457", "123456789,123457"},
    {9.9999999999999995, "10", "10"},
    {123456789012345, "123456789012345", "123456789012345"},
    {1e14, "100000000000000", "100000000000000"},
    {1e15, "1E15", "1E15"},  // more integer digits than the precision: exponent form
    {1e20, "1E20", "1E20"},
    {-1.25e22, "-1.25E22", "-1,25E22"},
    {0.0001, "0.0001", "0,0001"},
    {0.000123, "0.000123", "0,000123"},
    {0.00001, "1E-5", "1E-5"},
    {1.5e-5, "1.5E-5", "1,5E-5"},
    {1.7976931348623157e308, "1.79769313486232E308", "1,79769313486232E308"},
    {5e-324, "4.94065645841247E-324", "4,94065645841247E-324"},
    {kNaN, "NAN", "NAN"},
    {kInf, "INF", "INF"},
    {-kInf, "-INF", "-INF"},
};

TEST(FloatToStr, GeneralFormatWithFifteenDigitsAndTheSettingsSeparator) {
    for (const auto& c : kFloatTextCases) {
        EXPECT_EQ(FloatToStr(c.value, Neutral()), c.neutral) << c.neutral;
        EXPECT_EQ(FloatToStr(c.value, Swedish()), c.swedish) << c.swedish;
        EXPECT_EQ(FloatToStr(c.value, ForceDot()), c.neutral) << c.neutral;
    }
}

// ---- FloatToStrF

struct FloatFormatCase {
    double value;
    TFloatFormat format;
    int precision, digits;
    const char* forceDot;  // "." and a blank
    const char* swedish;
};
const FloatFormatCase kFloatFormatCases[] = {
    {1234567.891, TFloatFormat::ffNumber, 18, 2, "1 234 567.89", "1 234 567,89"},
    {-1234567.891, TFloatFormat::ffNumber, 18, 0, "-1 234 568", "-1 234 568"},
    {999.999, TFloatFormat::ffNumber, 18, 2, "1 000.00", "1 000,00"},
    {1234.5, TFloatFormat::ffFixed, 15, 2, "1234.50", "1234,50"},
    {2.5, TFloatFormat::ffFixed, 15, 0, "3", "3"},  // halves away from zero
    {-2.5, TFloatFormat::ffFixed, 15, 0, "-3", "-3"},
    {0.125, TFloatFormat::ffFixed, 15, 2, "0.13", "0,13"},
    {1.005, TFloatFormat::ffFixed, 15, 2, "1.01", "1,01"},   // as written, not as stored in binary
    {-0.004, TFloatFormat::ffFixed, 15, 2, "0.00", "0,00"},  // no minus on a zero
    {0.5, TFloatFormat::ffFixed, 15, 18, "0.500000000000000000", "0,500000000000000000"},
    {1e20, TFloatFormat::ffFixed, 18, 2, "1E20", "1E20"},  // too many integer digits
    {1234.5, TFloatFormat::ffExponent, 15, 3, "1.23450000000000E+003", "1,23450000000000E+003"},
    {-0.00012, TFloatFormat::ffExponent, 4, 2, "-1.200E-04", "-1,200E-04"},
    {0, TFloatFormat::ffExponent, 3, 0, "0.00E+0", "0,00E+0"},
    {12.5, TFloatFormat::ffGeneral, 18, 0, "12.5", "12,5"},
    {28.12, TFloatFormat::ffGeneral, 17, 0, "28.120000000000001", "28,120000000000001"},
    {1e20, TFloatFormat::ffGeneral, 15, 3, "1E020", "1E020"},
    {kNaN, TFloatFormat::ffFixed, 15, 2, "NAN", "NAN"},
};

TEST(FloatToStrF, FormatsPrecisionAndDigits) {
    for (const auto& c : kFloatFormatCases) {
        EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits, ForceDot()), c.forceDot)
            << c.forceDot;
        EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits, Swedish()), c.swedish) << c.swedish;
    }
}

TEST(FloatToStrF, CurrencyFollowsTheSettingsCurrencyFormats) {
    TFormatSettings american = FormatSettingsForLocale("en_US.UTF-8");
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffCurrency, 18, 2, Swedish()), "1 234,50 kr");
    EXPECT_EQ(FloatToStrF(-1234.5, TFloatFormat::ffCurrency, 18, 2, Swedish()), "-1 234,50 kr");
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffCurrency, 18, 2, american), "$1,234.50");
    EXPECT_EQ(FloatToStrF(-1234.5, TFloatFormat::ffCurrency, 18, 2, american), "-$1,234.50");
    american.NegCurrFormat = 0;
    EXPECT_EQ(FloatToStrF(-5, TFloatFormat::ffCurrency, 18, 0, american), "($5)");
}

// ---- FormatFloat

struct PictureCase {
    const char* picture;
    double value;
    const char* expected;  // "." and "," as thousands separator
};
const PictureCase kPictureCases[] = {
    {"0", 7, "7"},
    {"0000", 7, "0007"},
    {"0000", 12345, "12345"},  // more digits than places
    {"0", 2.5, "3"},
    {"0", -2.5, "-3"},
    {"0.00", 1.005, "1.01"},
    {"0.00", 0.125, "0.13"},
    {"0.00", 0, "0.00"},
    {"0.0", -0.01, "0.0"},  // rounds to zero: no minus
    {"#", 0, ""},
    {"0.##", 1.5, "1.5"},
    {"0.##", 1, "1"},  // no decimal separator without decimals
    {"#.##", 0.5, ".5"},
    {".00", 1.5, "1.50"},
    {"#,##0.00", 1234567.891, "1,234,567.89"},
    {"#,##0.00", -1234.5, "-1,234.50"},
    {"#,##0.00", 0.5, "0.50"},
    {"#,##0", 999.6, "1,000"},
    {"0,000,000", 1234, "0,001,234"},
    {"00-00", 1234, "12-34"},
    {"\"kr \"0.00", 5, "kr 5.00"},
    {"0.00' kr'", -5, "-5.00 kr"},
    {"\"a;b\"0", 1, "a;b1"},  // a ';' in quotes parts no sections
    {"0;(0)", -5, "(5)"},
    {"0;(0)", 5, "5"},
    {"0.0;-0.0;\"noll\"", 0, "noll"},
    {"0.0;-0.0;\"noll\"", -0.01, "noll"},  // zero after rounding
    {"0.0;;\"noll\"", -1.5, "-1.5"},       // an empty section falls back to the first
    {"0.00E+00", 1234.5, "1.23E+03"},
    {"0.00E-00", 1234.5, "1.23E03"},
    {"0.00E+00", 0.00012345, "1.23E-04"},
    {"0.0e+0", 0, "0.0e+0"},
    {"00.0E+0", 1234.5, "12.3E+2"},
    {"", 1.5, "1.5"},  // empty picture: general format
    {"", -1, "-1"},
    {"0", 1e25, "1E25"},  // beyond eighteen integer digits: general format
    {"0.00", kNaN, "NAN"},
    {"0.00", -kInf, "-INF"},
};

TEST(FormatFloat, PicturesLayOutDigitsSignsAndLiterals) {
    TFormatSettings s = Neutral();
    s.ThousandSeparator = ',';
    for (const auto& c : kPictureCases) {
        EXPECT_EQ(FormatFloat(c.picture, c.value, s), c.expected) << c.picture << " " << c.value;
    }
}

TEST(FormatFloat, UsesTheSettingsSeparators) {
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, Swedish()), "1 234 567,89");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, Neutral()), "1234567.89");  // no thousands separator
    EXPECT_EQ(FormatFloat("0.00", 12.5, ForceDot()), "12.50");
}

// ---- StrToFloat

struct FloatParseCase {
    const char* text;
    bool valid;
    double value;
};
const FloatParseCase kSwedishParseCases[] = {
    {"1,5", true, 1.5},    {" 12,5 ", true, 12.5}, {"-3", true, -3},
    {"+2,5", true, 2.5},   {"1,5E3", true, 1500},  {"1e-2", true, 0.01},
    {",5", true, 0.5},     {"5,", true, 5},        {"1e-400", true, 0},  // too small to hold: zero
    {"12.5", false, 0},  // the point is no decimal separator here
    {"1 234,5", false, 0}, {"", false, 0},         {"   ", false, 0},
    {",", false, 0},       {"abc", false, 0},      {"1,5x", false, 0},
    {"e5", false, 0},      {"1e", false, 0},       {"1e+", false, 0},
    {"--1", false, 0},     {"0x10", false, 0},     {"1e400", false, 0},  // too large to hold
    {"INF", false, 0},     {"NAN", false, 0},
};

TEST(StrToFloat, AcceptsTheSettingsDecimalSeparatorOnly) {
    for (const auto& c : kSwedishParseCases) {
        double value = -99;
        EXPECT_EQ(TryStrToFloat(c.text, value, Swedish()), c.valid) << c.text;
        EXPECT_DOUBLE_EQ(value, c.valid ? c.value : -99) << c.text;
    }
    double value = 0;
    EXPECT_TRUE(TryStrToFloat("12.5", value, ForceDot()));
    EXPECT_EQ(value, 12.5);
    EXPECT_FALSE(TryStrToFloat("12,5", value, ForceDot()));
}

TEST(StrToFloat, RefusesGarbageWithTheClassLibraryText) {
    EXPECT_EQ(ConvertErrorOf([] { StrToFloat("abc", Swedish()); }),
              "'abc' is not a valid floating point value");
    EXPECT_EQ(ConvertErrorOf([] { StrToFloat("12.5", Swedish()); }),
              "'12.5' is not a valid floating point value");
    EXPECT_EQ(StrToFloat("12,5", Swedish()), 12.5);
}

TEST(StrToFloat, ReadsBackWhatFloatToStrWrites) {
    const double values[] = {0.1, 1234.5678, 1e-5, 123456789012345, -7.25e10, 40329.5, 1e300, -2.5e-300};
    for (const TFormatSettings& s : {Swedish(), ForceDot(), Neutral()}) {
        for (double v : values) EXPECT_EQ(StrToFloat(FloatToStr(v, s), s), v) << v;
    }
}

// ---- integers

struct IntParseCase {
    const char* text;
    bool valid;
    int32_t value;
};
const IntParseCase kIntParseCases[] = {
    {"0", true, 0},
    {" 42 ", true, 42},
    {"-17", true, -17},
    {"+8", true, 8},
    {"$FF", true, 255},
    {"$ff", true, 255},
    {"0x1A", true, 26},
    {"-$10", true, -16},
    {"$FFFFFFFF", true, -1},  // hex wraps into the negative range
    {"$80000000", true, INT32_MIN},
    {"2147483647", true, INT32_MAX},
    {"-2147483648", true, INT32_MIN},
    {"2147483648", false, 0},
    {"$100000000", false, 0},
    {"12x", false, 0},
    {"", false, 0},
    {"1 2", false, 0},
    {"$", false, 0},
    {"- 5", false, 0},
    {"1.0", false, 0},
    {"99999999999999999999999", false, 0},
};

TEST(StrToInt, DecimalAndHexWithSignAndBlanks) {
    for (const auto& c : kIntParseCases) {
        int32_t value = -99;
        EXPECT_EQ(TryStrToInt(c.text, value), c.valid) << c.text;
        EXPECT_EQ(value, c.valid ? c.value : -99) << c.text;
        EXPECT_EQ(StrToIntDef(c.text, 7), c.valid ? c.value : 7) << c.text;
    }
}

TEST(StrToInt, RefusesWithTheClassLibraryText) {
    EXPECT_EQ(ConvertErrorOf([] { StrToInt("12x"); }), "'12x' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { StrToInt64("12x"); }), "'12x' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf([] { StrToInt("2147483648"); }), "'2147483648' is not a valid integer value");
    EXPECT_EQ(StrToInt(" -5 "), -5);
}

TEST(StrToInt64, TakesTheWholeSixtyFourBitRange) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64Def("9223372036854775808", 3), 3);
    EXPECT_EQ(StrToInt64Def("$1FFFFFFFFFFFFFFFF", 3), 3);
}

TEST(IntToStr, DecimalAndHexText) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(int32_t(-1), 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(int64_t(-1), 0), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(int64_t(0xABCDEF), 8), "00ABCDEF");
}

}  // namespace
}  // namespace tv
