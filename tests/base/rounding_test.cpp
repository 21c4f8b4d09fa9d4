#include "base/rounding.h"

#include <gtest/gtest.h>

namespace morvel {
namespace {

TEST(RoundingTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.125, 2), 0.12);
  EXPECT_EQ(RoundHalfEven(0.375, 2), 0.38);
  EXPECT_EQ(RoundHalfEven(2.5, 0), 2);
  EXPECT_EQ(RoundHalfEven(3.5, 0), 4);
  EXPECT_EQ(RoundHalfEven(-2.5, 0), -2);
  EXPECT_EQ(RoundHalfEven(-0.375, 2), -0.38);
  // Anything but a half goes to the nearer neighbour.
  EXPECT_EQ(RoundHalfEven(0.334, 2), 0.33);
  EXPECT_EQ(RoundHalfEven(0.336, 2), 0.34);
  EXPECT_EQ(RoundHalfEven(-0.336, 2), -0.34);
  EXPECT_EQ(RoundHalfEven(1, 2), 1);
}

}  // namespace
}  // namespace morvel
