#include "platform/rtl/bits.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(Bits, SizeTenThenBitThreeReadsBack) {
    TBits bits;
    bits.SetSize(10);
    EXPECT_EQ(bits.Size(), 10);
    bits.SetBits(3, true);
    EXPECT_TRUE(bits.Bits(3));
    EXPECT_FALSE(bits.Bits(2));
    EXPECT_EQ(bits.OpenBit(), 0);
}

TEST(Bits, ReadingBeyondTheSizeRaisesAndWritingGrows) {
    TBits bits;
    EXPECT_THROW(bits.Bits(0), EBitsError);
    EXPECT_THROW(bits.SetBits(-1, true), EBitsError);
    EXPECT_THROW(bits.SetSize(-1), EBitsError);
    bits.SetBits(70, true);
    EXPECT_EQ(bits.Size(), 71);
    EXPECT_TRUE(bits.Bits(70));
    EXPECT_FALSE(bits.Bits(69));
    try {
        bits.Bits(71);
        ADD_FAILURE();
    } catch (const EBitsError& e) {
        EXPECT_EQ(e.Message, "Bits index out of range");
    }
}

TEST(Bits, OpenBitFindsTheFirstClearedBitOrTheSize) {
    TBits bits;
    EXPECT_EQ(bits.OpenBit(), 0);
    for (int i = 0; i < 65; ++i) bits.SetBits(i, true);
    EXPECT_EQ(bits.OpenBit(), 65);  // all set: the size
    bits.SetBits(64, false);
    EXPECT_EQ(bits.OpenBit(), 64);
}

TEST(Bits, ShrinkingDropsBitsSoThatGrowingAgainGivesClearedOnes) {
    TBits bits;
    bits.SetBits(5, true);
    bits.SetSize(3);
    bits.SetSize(8);
    EXPECT_FALSE(bits.Bits(5));
}

}  // namespace
}  // namespace tv
