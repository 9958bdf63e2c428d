#include "colour/yuv_fixed_point.h"

#include <gtest/gtest.h>

#include "colour/yuv.h"

namespace pavona {
namespace {

// The integer form claims to be exact for every 8-bit colour; there are only
// 16.7 million of them, so check them all against the extended-precision form.
TEST(ColourToYuvFixed, EqualsTheExtendedFormForEveryColour)
{
  long yuvMismatches = 0, lumaMismatches = 0;
  std::uint32_t firstYuvMismatch = 0, firstLumaMismatch = 0;
  for (std::uint32_t colour = 0; colour < (1u << 24); ++colour) {
    if (!(ColourToYuvFixed(colour) == ColourToYuv(colour)) && yuvMismatches++ == 0) {
      firstYuvMismatch = colour;
    }
    const float luma = LumaAsFloat(RedOf(colour), GreenOf(colour), BlueOf(colour));
    if (LumaAsFloatFixed(colour) != luma && lumaMismatches++ == 0) {
      firstLumaMismatch = colour;
    }
  }
  EXPECT_EQ(yuvMismatches, 0) << "first at " << std::hex << firstYuvMismatch;
  EXPECT_EQ(lumaMismatches, 0) << "first at " << std::hex << firstLumaMismatch;
}

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
