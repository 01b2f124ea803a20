#include "platform/rtl/hundredths_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace tv {
namespace {

struct HundredthsCase {
    int64_t hundredths;
    const char* text;
};

TEST(HundredthsToStr, WritesExactDecimalsWithoutTrailingZeros) {
    const HundredthsCase cases[] = {
        {2812, "28,12"},  // a binary double would print 28.120000000000001 at 17 digits
        {1, "0,01"},
        {1250, "12,5"},
        {100, "1"},
        {0, "0"},
        {-5, "-0,05"},
        {-1250, "-12,5"},
        {std::numeric_limits<int64_t>::min(), "-92233720368547758,08"},
    };
    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    for (const HundredthsCase& c : cases)
        EXPECT_EQ(HundredthsToStr(c.hundredths, comma), c.text) << c.hundredths;
    TFormatSettings dot;
    EXPECT_EQ(HundredthsToStr(2812, dot), "28.12");
}

}  // namespace
}  // namespace tv
