#include "colour/yuv_fixed_point.h"

#include <gtest/gtest.h>

#include "colour/yuv.h"

namespace pavona {
namespace {

TEST(ColourToYuvFixed, WholeValuesAndExtremes)
{
  // Exact sums that are whole numbers must not drop to one less.
  EXPECT_EQ(ColourToYuvFixed(MakeColour(2, 156, 19)).y, 97);
  EXPECT_EQ(ColourToYuvFixed(MakeColour(2, 236, 148)).u, 124);
  EXPECT_EQ(ColourToYuvFixed(MakeColour(1, 184, 137)).v, 51);
  EXPECT_EQ(ColourToYuvFixed(0x000000), (Yuv{16, 128, 128}));
  EXPECT_EQ(ColourToYuvFixed(0xFFFFFF).y, 235);
  EXPECT_EQ(ColourToYuvFixed(0x0000FF), (Yuv{40, 239, 109}));
  // The colour's top byte is not a channel.
  EXPECT_EQ(ColourToYuvFixed(0xFF123456), ColourToYuvFixed(0x00123456));
  EXPECT_EQ(LumaAsFloatFixed(0x000000), 16.0f);
  EXPECT_FLOAT_EQ(LumaAsFloatFixed(0xFFFFFF), 235.045f);
}

}  // namespace
}  // namespace pavona
