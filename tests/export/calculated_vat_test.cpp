#include "export/calculated_vat.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/rtl/exception.h"

namespace tv {
namespace {

struct ProductCase {
    double rate;
    double amount;
    int64_t hundredths;
    const char* rule;
};

TEST(CalculatedVat, ProductsAreRoundedHalfToEvenOnTheDecimalsTheNumbersReadAs) {
    const ProductCase cases[] = {
        {25, 12.62, 316, "315.5 exactly, though the binary product lies below it: up to the even 316"},
        {25, 12.5, 312, "312.5: down to the even 312"},
        {25, 12.7, 318, "317.5: up to the even 318"},
        {100, 2.675, 268, "267.5 on decimals, 267.49999... in binary"},
        {100, 1.005, 100, "100.5: down to the even 100"},
        {12, 100.5, 1206, "no fraction"},
        {6, 0.25, 2, "1.5: up to the even 2"},
        {25, 0.1, 2, "2.5: down to the even 2"},
        {25, 0.13, 3, "3.25: below the half"},
        {25, -12.62, -316, "a credit rounds as its amount does"},
        {-25, -12.5, 312, "two signs cancel"},
        {0, 1234.56, 0, "no rate"},
        {25, 0, 0, "no amount"},
        {55.2, 100, 5520, "the stored total times 100, where 55.2 * 100 is 5520.000000000001 in binary"},
        {25, 1e-30, 0, "far below a hundredth"},
        {25, 1e15, 25000000000000000, "large, exact"},
    };
    for (const ProductCase& c : cases) EXPECT_EQ(RoundedProduct(c.rate, c.amount), c.hundredths) << c.rule;
}

TEST(CalculatedVat, AProductBeyondSixtyFourBitsIsRefused) {
    EXPECT_THROW(RoundedProduct(25, 1e300), Exception);
    EXPECT_THROW(RoundedProduct(25, std::numeric_limits<double>::infinity()), Exception);
    EXPECT_THROW(RoundedProduct(std::numeric_limits<double>::quiet_NaN(), 1), Exception);
}

}  // namespace
}  // namespace tv
