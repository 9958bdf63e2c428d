#include "colour/palettes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "colour/picture.h"

namespace pavona {
namespace {

double Luma(std::uint32_t colour)
{
  return 0.299 * RedOf(colour) + 0.587 * GreenOf(colour) + 0.114 * BlueOf(colour);
}

bool IsGrey(std::uint32_t colour)
{
  return std::abs(RedOf(colour) - GreenOf(colour)) <= 8 &&
         std::abs(GreenOf(colour) - BlueOf(colour)) <= 8;
}

// The VIC-II makes its sixteen colours from nine luminance levels; the colours
// of one level share it: black; blue and brown; red and dark grey; purple and
// orange; medium grey and light blue; green and light red; cyan and light
// grey; yellow and light green; white. A palette measured from the chip's
// output keeps that order, so a mistyped or swapped entry breaks it.
TEST(Palettes, MeasuredPalettesFollowTheLuminanceLevelsOfTheChip)
{
  const std::vector<std::vector<int>> levels = {{0},     {6, 9},  {2, 11}, {4, 8}, {12, 14},
                                                {5, 10}, {3, 15}, {7, 13}, {1}};
  for (const PaletteId id : {PaletteId::Pepto, PaletteId::Deekay, PaletteId::Colodore}) {
    SCOPED_TRACE(PaletteName(id));
    const C64Palette& palette = PaletteColours(id);
    for (std::size_t level = 0; level + 1 < levels.size(); ++level) {
      double brightest = 0, darkestAbove = 255;
      for (const int colour : levels[level]) {
        brightest = std::max(brightest, Luma(palette[std::size_t(colour)]));
      }
      for (const int colour : levels[level + 1]) {
        darkestAbove = std::min(darkestAbove, Luma(palette[std::size_t(colour)]));
      }
      EXPECT_LT(brightest, darkestAbove) << "level " << level;
    }
  }
}

// Every palette, measured or drawn by hand: black is the darkest colour, white
// the brightest, and the three greys are grey, darker to lighter.
TEST(Palettes, EveryPaletteHasItsBlackWhiteAndGreysInPlace)
{
  for (const PaletteId id : {PaletteId::Pepto, PaletteId::Deekay, PaletteId::Vice, PaletteId::Ccs64,
                             PaletteId::Frodo, PaletteId::Colodore}) {
    SCOPED_TRACE(PaletteName(id));
    const C64Palette& palette = PaletteColours(id);
    for (std::size_t colour = 2; colour < 16; ++colour) {
      EXPECT_LT(Luma(palette[0]), Luma(palette[colour])) << colour;
      EXPECT_GT(Luma(palette[1]), Luma(palette[colour])) << colour;
    }
    for (const std::size_t grey : {11, 12, 15}) {
      EXPECT_TRUE(IsGrey(palette[grey])) << grey;
    }
    EXPECT_LT(Luma(palette[11]), Luma(palette[12]));
    EXPECT_LT(Luma(palette[12]), Luma(palette[15]));
  }
}

}  // namespace
}  // namespace pavona
