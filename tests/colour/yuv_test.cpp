#include "colour/yuv.h"

#include <gtest/gtest.h>

namespace pavona {
namespace {

// Colours whose exact Y, U or V is a whole number: extended precision lands on
// it, plain double arithmetic just below it and truncates to one less. A change
// of the arithmetic to double makes these fail.
TEST(ColourToYuv, WholeValuesNeedExtendedPrecision)
{
  // 0.257 * 2 + 0.504 * 156 + 0.098 * 19 + 16 = 97 exactly, and so on.
  EXPECT_EQ(ColourToYuv(2, 156, 19).y, 97);
  EXPECT_EQ(ColourToYuv(4, 72, 58).y, 59);
  EXPECT_EQ(ColourToYuv(10, 165, 115).y, 113);
  // 0.439 * 148 - 0.291 * 236 - 0.148 * 2 + 128 = 124 exactly.
  EXPECT_EQ(ColourToYuv(2, 236, 148).u, 124);
  // 0.439 * 1 - 0.368 * 184 - 0.071 * 137 + 128 = 51 exactly.
  EXPECT_EQ(ColourToYuv(1, 184, 137).v, 51);
  EXPECT_EQ(ColourToYuv(3, 181, 179).v, 50);
}

TEST(ColourToYuv, RangeAndKnownColours)
{
  EXPECT_EQ(ColourToYuv(0, 0, 0), (Yuv{16, 128, 128}));
  // 0.257 + 0.504 + 0.098 = 0.859: white is 235.045, truncated to 235.
  EXPECT_EQ(ColourToYuv(255, 255, 255).y, 235);
  // U of pure blue: 0.439 * 255 + 128 = 239.945; V of pure blue truncates
  // toward zero from 109.895.
  EXPECT_EQ(ColourToYuv(0, 0, 255), (Yuv{40, 239, 109}));
  EXPECT_EQ(ColourToYuv(0x00FF0000u), ColourToYuv(255, 0, 0));
}

TEST(LumaAsFloat, KeepsTheFraction)
{
  EXPECT_FLOAT_EQ(LumaAsFloat(255, 255, 255), 235.045f);
  EXPECT_FLOAT_EQ(LumaAsFloat(0, 0, 0), 16.0f);
  EXPECT_GT(LumaAsFloat(1, 0, 0), 16.25f);
}

}  // namespace
}  // namespace pavona
