#include "dither/allowed_mixes.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "colour/palettes.h"
#include "dither/dither_picture.h"
#include "dither/random_dither.h"
#include "dither_fixtures.h"

namespace pavona {
namespace {

using testing::FramePlanes;
using testing::SamePlanes;

MixTable PeptoMixTable(GraphicMode mode, FlickerLevel flicker)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb, mode);
  ReduceFlicker(table, flicker);
  return table;
}

// Colours spread over the whole cube, the table's own colours among them.
std::vector<std::uint32_t> SampleColours(const MixTable& table)
{
  std::vector<std::uint32_t> colours(table.colour.begin(), table.colour.begin() + MixColourCount);
  for (std::uint32_t state = 7; colours.size() < 3000;) {
    state = state * 1664525u + 1013904223u;
    colours.push_back(state >> 8);
  }
  return colours;
}

// Listing every slot must give exactly the whole-table answer, tie rule
// included, under each measure; that pins the per-slot distances down.
TEST(NearestListedSlot, ListingEverySlotMatchesTheWholeTableSearch)
{
  const MixTable table = PeptoMixTable(GraphicMode::HiresFliInterlace, FlickerLevel::Medium);
  std::array<std::uint8_t, MixColourCount> all;
  for (int slot = 0; slot < MixColourCount; ++slot) {
    all[slot] = std::uint8_t(slot);
  }
  for (Measure measure : {Measure::RgbDistance, Measure::Brightness, Measure::Perceptual}) {
    SCOPED_TRACE(int(measure));
    int differences = 0;
    for (std::uint32_t colour : SampleColours(table)) {
      const std::uint32_t listed = table.colour[NearestListedSlot(colour, table, measure, all)];
      differences +=
          listed == MatchColour(colour, table, measure, GraphicMode::HiresFliInterlace) ? 0 : 1;
    }
    EXPECT_EQ(differences, 0);
  }
}

TEST(AllowedMixes, KeepsEachSlotOnceInIncreasingOrderAndAtMostFour)
{
  const MixTable table = PeptoMixTable(GraphicMode::HiresInterlaced, FlickerLevel::Off);
  AllowedMixes allowed(table, Measure::RgbDistance);
  const std::uint8_t slots[] = {90, 3, 90, 40, 7, 12};
  allowed.Allow(5, slots);
  const auto kept = allowed.SlotsAt(5);
  ASSERT_EQ(kept.size(), 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(kept.begin(), kept.end()),
            (std::vector<std::uint8_t>{3, 7, 40, 90}));
  EXPECT_TRUE(allowed.SlotsAt(6).empty());
}

// A dither within allowed mixes where no pixel has a list is the ordinary
// dither: same pixels, same generator state afterwards, for every method.
TEST(DitherWithinAllowedMixes, WithNothingListedIsTheOrdinaryDither)
{
  const MixTable table = PeptoMixTable(GraphicMode::HiresFliInterlace, FlickerLevel::Medium);
  const AllowedMixes nothing(table, Measure::Perceptual);
  for (DitherMethod method :
       {DitherMethod::None, DitherMethod::Ordered4x4, DitherMethod::FloydSteinberg,
        DitherMethod::Custom, DitherMethod::Random}) {
    SCOPED_TRACE(int(method));
    DitherSettings settings;
    settings.method = method;
    auto ordinary = FramePlanes("chelsea_frame.ppm");
    auto within = FramePlanes("chelsea_frame.ppm");
    std::uint32_t ordinaryState = 99, withinState = 99;
    SilentProgress progress;
    DitherPicture(*ordinary, table, Measure::Perceptual, GraphicMode::HiresFliInterlace, settings,
                  ordinaryState, progress);
    DitherWithinAllowedMixes(*within, nothing, table, Measure::Perceptual,
                             GraphicMode::HiresFliInterlace, settings, withinState, progress);
    EXPECT_TRUE(SamePlanes(*ordinary, *within));
    EXPECT_EQ(ordinaryState, withinState);
  }
}

// With lists, every listed pixel ends on one of its own mixes, whatever the
// method pushes into it; unlisted pixels still take any mix of the table.
TEST(DitherWithinAllowedMixes, ListedPixelsTakeOnlyTheirOwnMixes)
{
  const MixTable table = PeptoMixTable(GraphicMode::HiresInterlaced, FlickerLevel::Off);
  AllowedMixes allowed(table, Measure::RgbDistance);
  for (int offset = 0; offset < PixelCount; offset += 2) {
    // Two or three mixes that change from pixel to pixel.
    const std::uint8_t slots[] = {std::uint8_t(offset % 136), std::uint8_t((offset / 7) % 136),
                                  std::uint8_t((offset / 320) % 136)};
    allowed.Allow(offset, slots);
  }
  for (DitherMethod method :
       {DitherMethod::None, DitherMethod::Ordered8x8, DitherMethod::FloydSteinberg,
        DitherMethod::Custom, DitherMethod::Random}) {
    SCOPED_TRACE(int(method));
    DitherSettings settings;
    settings.method = method;
    auto planes = FramePlanes("rocket_frame.ppm");
    std::uint32_t state = 1;
    SilentProgress progress;
    DitherWithinAllowedMixes(*planes, allowed, table, Measure::RgbDistance,
                             GraphicMode::HiresInterlaced, settings, state, progress);
    int strays = 0;
    for (int offset = 0; offset < PixelCount; ++offset) {
      const std::uint32_t colour = testing::BytesAt(*planes, offset);
      bool own = allowed.SlotsAt(offset).empty() && FindMixIndex(table, colour) >= 0;
      for (std::uint8_t slot : allowed.SlotsAt(offset)) {
        own = own || table.colour[slot] == colour;
      }
      strays += own ? 0 : 1;
    }
    EXPECT_EQ(strays, 0);
  }
}

TEST(RandomStateBeforeFrame, RunsTheGeneratorBackOverAWholeFrame)
{
  const MixTable table = PeptoMixTable(GraphicMode::HiresStandard, FlickerLevel::Off);
  for (bool separateRgb : {true, false}) {
    SCOPED_TRACE(separateRgb);
    DitherSettings settings;
    settings.method = DitherMethod::Random;
    settings.separateRgb = separateRgb;
    for (std::uint32_t start : {1u, 0xDEADBEEFu}) {
      auto planes = FramePlanes("coffee_frame.ppm");
      std::uint32_t state = start;
      SilentProgress progress;
      DitherPicture(*planes, table, Measure::RgbDistance, GraphicMode::HiresStandard, settings,
                    state, progress);
      EXPECT_NE(state, start);
      EXPECT_EQ(RandomStateBeforeFrame(state, settings), start);
    }
  }
}

}  // namespace
}  // namespace pavona
