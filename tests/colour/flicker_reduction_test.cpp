#include "colour/flicker_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "colour/mix_palette.h"

namespace pavona {
namespace {

std::set<ColourPair> AsSet(std::span<const ColourPair> pairs)
{
  return {pairs.begin(), pairs.end()};
}

bool Includes(const std::set<ColourPair>& outer, const std::set<ColourPair>& inner)
{
  return std::includes(outer.begin(), outer.end(), inner.begin(), inner.end());
}

// Counts the two-colour mixes (i < j) that are still in the table.
int RemainingTwoColourMixes(const MixTable& table)
{
  int remaining = 0;
  for (int i = 0; i < 16; ++i) {
    for (int j = i + 1; j < 16; ++j) {
      remaining += IsRemovedMix(table, PairSlot(i, j)) ? 0 : 1;
    }
  }
  return remaining;
}

MixTable FreshTable()
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb,
                  GraphicMode::HiresFliInterlace);
  return table;
}

TEST(FlickerTables, SizesAndNesting)
{
  const auto light = AsSet(LightFlickerPairs());
  const auto medium = AsSet(MediumFlickerPairs());
  const auto heavy = AsSet(HeavyFlickerPairs());
  const auto luma = AsSet(LumaFlickerPairs());
  EXPECT_EQ(light.size(), 4u);
  EXPECT_EQ(medium.size(), 52u);
  EXPECT_EQ(heavy.size(), 80u);
  EXPECT_EQ(luma.size(), 10u);
  EXPECT_TRUE(Includes(medium, light));
  EXPECT_TRUE(Includes(heavy, medium));
  EXPECT_TRUE(Includes(medium, luma));
  for (const auto& [i, j] : heavy) {
    EXPECT_LT(i, j) << "pure colours are never removed";
  }
}

TEST(FlickerReduction, LeavesTheStatedNumberOfMixes)
{
  MixTable heavy = FreshTable();
  ReduceFlickerHeavy(heavy);
  EXPECT_EQ(RemainingTwoColourMixes(heavy), 40);

  MixTable medium = FreshTable();
  ReduceFlickerMedium(medium);
  EXPECT_EQ(RemainingTwoColourMixes(medium), 68);

  MixTable off = FreshTable();
  ReduceFlicker(off, FlickerLevel::Off);
  EXPECT_EQ(off, FreshTable());
}

TEST(FlickerReduction, RemovedSlotsCopyAllFourTablesOfSlotZero)
{
  MixTable table = FreshTable();
  ReduceFlickerHeavy(table);
  for (int j = 1; j < 16; ++j) {
    const int slot = PairSlot(0, j);
    EXPECT_EQ(table.colour[slot], table.colour[0]);
    EXPECT_EQ(table.y[slot], table.y[0]);
    EXPECT_EQ(table.u[slot], table.u[0]);
    EXPECT_EQ(table.v[slot], table.v[0]);
  }
  EXPECT_FALSE(IsRemovedMix(table, 0));
  EXPECT_FALSE(IsRemovedMix(table, PureSlot(1)));
}

TEST(FlickerReduction, ReductionsCombineAsTheUnionOfTheirTables)
{
  MixTable both = FreshTable();
  ReduceFlickerLight(both);
  ReduceFlickerForLuma(both);
  ReduceFlickerLight(both);
  MixTable lumaOnly = FreshTable();
  ReduceFlickerForLuma(lumaOnly);
  EXPECT_EQ(both, lumaOnly);  // the light pairs are among the luma pairs
  EXPECT_EQ(RemainingTwoColourMixes(lumaOnly), 120 - 10);
}

}  // namespace
}  // namespace pavona
