// Rounding half away from zero, by the stored binary value.
#include "dvh/RoundToDigits.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(RoundToDigits, HalvesGoAwayFromZero) {
    EXPECT_DOUBLE_EQ(RoundToDigits(0.5, 0), 1.0);
    EXPECT_DOUBLE_EQ(RoundToDigits(-0.5, 0), -1.0);
    EXPECT_DOUBLE_EQ(RoundToDigits(2.5, 0), 3.0);  // not to the even neighbour
    EXPECT_DOUBLE_EQ(RoundToDigits(-2.5, 0), -3.0);
    EXPECT_DOUBLE_EQ(RoundToDigits(2.125, 2), 2.13);  // 2.125 is exact in binary
    EXPECT_DOUBLE_EQ(RoundToDigits(-2.125, 2), -2.13);
}

TEST(RoundToDigits, InexactValuesRoundByTheirStoredValue) {
    // 2.675 is stored as 2.67499999999999982236431605997495353221893310546875.
    EXPECT_DOUBLE_EQ(RoundToDigits(2.675, 2), 2.67);
    // 1.005 is stored just below the half too.
    EXPECT_DOUBLE_EQ(RoundToDigits(1.005, 2), 1.0);
    // A 32-bit 0.1 widened to double lies above 0.1 and keeps rounding to 0.1.
    EXPECT_DOUBLE_EQ(RoundToDigits(static_cast<double>(0.1f), 3), 0.1);
}

TEST(RoundToDigits, ZeroNegativeZeroAndNegativeDigits) {
    EXPECT_EQ(RoundToDigits(0.0, 2), 0.0);
    EXPECT_FALSE(std::signbit(RoundToDigits(-0.0, 2)));
    EXPECT_FALSE(std::signbit(RoundToDigits(-0.001, 2)));  // rounds to 0, shown as 0
    EXPECT_DOUBLE_EQ(RoundToDigits(1234.0, -1), 1230.0);
    EXPECT_DOUBLE_EQ(RoundToDigits(1235.0, -1), 1240.0);
    EXPECT_DOUBLE_EQ(RoundToDigits(-1235.0, -2), -1200.0);
}
