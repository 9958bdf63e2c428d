#include "colour/colour_match.h"

#include <gtest/gtest.h>

#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "colour/yuv.h"

namespace pavona {
namespace {

MixTable PeptoTable(GraphicMode mode)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb, mode);
  return table;
}

TEST(ColourMatch, ExactColourIsItsOwnMatchUnderRgbDistance)
{
  const MixTable table = PeptoTable(GraphicMode::HiresFliInterlace);
  for (int slot = 0; slot < MixColourCount; ++slot) {
    EXPECT_EQ(MatchRgbDistance(table.colour[slot], table, MixColourCount), table.colour[slot]);
  }
}

TEST(ColourMatch, RemovedSlotsNeverWin)
{
  MixTable table = PeptoTable(GraphicMode::HiresFliInterlace);
  const std::uint32_t greyMix = table.colour[PairSlot(0, 1)];
  ReduceFlickerHeavy(table);
  // The removed (0, 1) slot now holds black; asking for its old colour finds
  // some other live mix, never a removed slot's copy of black ahead of slot 0.
  for (Measure measure : {Measure::RgbDistance, Measure::Brightness, Measure::Perceptual}) {
    const std::uint32_t match =
        MatchColour(greyMix, table, measure, GraphicMode::HiresFliInterlace);
    const int slot = FindMixIndex(table, match);
    ASSERT_GE(slot, 0);
    EXPECT_FALSE(IsRemovedMix(table, slot));
  }
}

TEST(ColourMatch, BrightnessKeepsThePixelFraction)
{
  // White has luma 235.045: candidates with Y 235 and Y 236 are both at
  // distance 0, so the lower slot wins; a table of only Y 234 and 235 picks 235.
  MixTable table{};
  table.colour = {};
  table.colour[0] = 0x000001;
  table.y[0] = 236;
  table.colour[1] = 0x000002;
  table.y[1] = 235;
  EXPECT_EQ(MatchBrightness(0xFFFFFF, table, 2), 0x000001u);
  table.y[0] = 234;
  EXPECT_EQ(MatchBrightness(0xFFFFFF, table, 2), 0x000002u);
}

TEST(ColourMatch, OnlySixteenCandidatesWithoutInterlace)
{
  const MixTable table = PeptoTable(GraphicMode::HiresFli);
  for (std::uint32_t colour : {0x123456u, 0xFFFFFFu, 0x7F7F7Fu, 0xA0C0E0u}) {
    for (Measure measure : {Measure::RgbDistance, Measure::Brightness, Measure::Perceptual}) {
      const int slot =
          FindMixIndex(table, MatchColour(colour, table, measure, GraphicMode::HiresFli));
      EXPECT_GE(slot, 0);
      EXPECT_LT(slot, 16);
    }
  }
}

TEST(ColourMatch, PerceptualTiesGoToTheLowestSlot)
{
  MixTable table{};
  table.colour[0] = 0x010101;
  table.colour[1] = 0x020202;
  table.colour[2] = 0x030303;
  const Yuv grey = ColourToYuv(0x808080);
  for (int slot = 0; slot < 3; ++slot) {
    table.y[slot] = grey.y + (slot == 0 ? 5 : 0);
    table.u[slot] = grey.u;
    table.v[slot] = grey.v;
  }
  EXPECT_EQ(MatchPerceptual(0x808080, table, 3), 0x020202u);
}

}  // namespace
}  // namespace pavona
