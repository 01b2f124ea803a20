#include "script/common/arith.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace tv::script {
namespace {

TEST(Arith, IntegersWrapAtTheLaneWidth) {
    EXPECT_EQ(WrapAdd<int32_t>(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(WrapSubtract<uint32_t>(0, 1), UINT32_MAX);
    EXPECT_EQ(WrapMultiply<int32_t>(65536, 65536), 0);
    EXPECT_EQ(WrapMultiply<int64_t>(INT64_MAX, 2), -2);
    EXPECT_EQ(WrapNegate<int32_t>(INT32_MIN), INT32_MIN);
    EXPECT_EQ(WrapNegate<int64_t>(5), -5);
}

struct DivCase {
    int64_t a, b, q, r;
    ArithFault fault;
};
constexpr DivCase kDivCases[] = {
    {7, 2, 3, 1, ArithFault::None},
    {-7, 2, -3, -1, ArithFault::None},  // truncates toward zero, remainder takes the dividend's sign
    {7, -2, -3, 1, ArithFault::None},
    {7, 0, 0, 0, ArithFault::IntDivideByZero},
    {INT32_MIN, -1, 0, 0, ArithFault::IntOverflow},
};

TEST(Arith, DivisionTruncatesAndReportsFaults) {
    for (const auto& c : kDivCases) {
        int32_t q = 0, r = 0;
        EXPECT_EQ(DivideTruncated<int32_t>(static_cast<int32_t>(c.a), static_cast<int32_t>(c.b), q), c.fault);
        EXPECT_EQ(Remainder<int32_t>(static_cast<int32_t>(c.a), static_cast<int32_t>(c.b), r), c.fault);
        if (c.fault == ArithFault::None) {
            EXPECT_EQ(q, c.q) << c.a << "/" << c.b;
            EXPECT_EQ(r, c.r) << c.a << " mod " << c.b;
        }
    }
    int64_t q64 = 0;
    EXPECT_EQ(DivideTruncated<int64_t>(INT64_MIN, -1, q64), ArithFault::IntOverflow);
    uint32_t qu = 0;
    EXPECT_EQ(DivideTruncated<uint32_t>(UINT32_MAX, 2, qu), ArithFault::None);
    EXPECT_EQ(qu, 2147483647u);
}

TEST(Arith, ShiftCountsAreDefined) {
    EXPECT_EQ(ShiftLeft32(1, 33), 2u);  // modulo 32
    EXPECT_EQ(ShiftRight32(0x80000000u, 31), 1u);
    EXPECT_EQ(ShiftRight32(0xFFFFFF80u, 4), 0x0FFFFFF8u);  // zero fill
    EXPECT_EQ(ShiftLeft64(1, 63), 0x8000000000000000ull);
    EXPECT_EQ(ShiftLeft64(1, 64), 0u);  // the full count: everything shifted out
    EXPECT_EQ(ShiftRight64(UINT64_MAX, 200), 0u);
}

TEST(Arith, RealFaultsAreReported) {
    long double r = 0;
    EXPECT_EQ(RealDivide(1, 0, r), ArithFault::RealDivideByZero);
    EXPECT_EQ(RealDivide(0, 0, r), ArithFault::RealInvalid);
    EXPECT_EQ(RealMultiply(1e4000L, 1e4000L, r), ArithFault::RealOverflow);
    EXPECT_EQ(RealSubtract(HUGE_VALL, 1, r), ArithFault::None);  // already infinite: no new fault
    EXPECT_EQ(RealDivide(7, 2, r), ArithFault::None);
    EXPECT_EQ(r, 3.5L);
    float f = 0;
    EXPECT_EQ(NarrowReal(1e39L, f), ArithFault::RealOverflow);
    EXPECT_EQ(NarrowReal(static_cast<long double>(FLT_MAX), f), ArithFault::None);
    EXPECT_EQ(f, FLT_MAX);
    EXPECT_TRUE(IsDivideByZero(ArithFault::IntDivideByZero));
    EXPECT_FALSE(IsDivideByZero(ArithFault::RealOverflow));
    EXPECT_EQ(ArithFaultMessage(ArithFault::IntOverflow), "Integer overflow");
}

TEST(Arith, CurrencyRoundsToNearestEven) {
    int64_t raw = 0;
    EXPECT_EQ(RealToCurrency(1.23456L, raw), ArithFault::None);
    EXPECT_EQ(raw, 12346);
    EXPECT_EQ(RoundToInt64(2.5L, raw), ArithFault::None);
    EXPECT_EQ(raw, 2);
    EXPECT_EQ(RoundToInt64(-3.5L, raw), ArithFault::None);
    EXPECT_EQ(raw, -4);
    EXPECT_EQ(RoundToInt64(1e19L, raw), ArithFault::RealInvalid);
    EXPECT_EQ(CurrencyToReal(15000), 1.5L);
}

}  // namespace
}  // namespace tv::script
