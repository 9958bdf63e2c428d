#include "colour/gamut_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "colour/mix_palette.h"
#include "colour/palettes.h"
#include "colour/reach_mapping.h"

namespace pavona {
namespace {

constexpr double Pi = std::numbers::pi;

ReachTable ReachOf(const C64Palette& palette, GraphicMode mode = GraphicMode::HiresStandard)
{
  MixTable table;
  BuildMixPalette(table, palette, MixMethod::Rgb, mode);
  return BuildReachTable(table);
}

double ChromaOf(const Lab& lab)
{
  return std::hypot(lab.a, lab.b);
}

// The smallest angle between two hues, in degrees.
double HueDistance(const Lab& p, const Lab& q)
{
  const double d = std::abs(std::atan2(p.b, p.a) - std::atan2(q.b, q.a)) * 180 / Pi;
  return std::min(d, 360 - d);
}

TEST(GamutMapping, ColoursWellInsideTheReachStayAsTheyAre)
{
  const ReachTable reach = ReachOf(PaletteColours(PaletteId::Pepto));
  std::vector<std::uint32_t> inside;
  for (int v = 0; v < 256; ++v) {
    inside.push_back(MakeColour(v, v, v));  // the grey axis
  }
  // Each palette colour at half its chroma lies halfway between the colour
  // and the grey of its lightness, which the palette's greys reach.
  for (const std::uint32_t colour : PaletteColours(PaletteId::Pepto)) {
    const Lab lab = ColourToLab(colour);
    inside.push_back(LabToColour({lab.l, lab.a / 2, lab.b / 2}));
  }
  for (const std::uint32_t colour : inside) {
    EXPECT_EQ(MapColourIntoReach(reach, colour), colour) << std::hex << colour;
  }
  // The palette's own colours sit on the edge: they give up a little chroma.
  for (const std::uint32_t colour : PaletteColours(PaletteId::Pepto)) {
    const Lab before = ColourToLab(colour), after = ColourToLab(MapColourIntoReach(reach, colour));
    EXPECT_GE(ChromaOf(after), 0.8 * ChromaOf(before)) << std::hex << colour;
  }
}

// Ramps of rising chroma at one lightness and hue, from grey to far beyond
// what the palette reaches (and beyond sRGB, where the colour clips).
TEST(GamutMapping, KeepsLightnessAndHueAndGivesUpChromaSmoothly)
{
  struct Ramp {
    const char* name;
    double lightness;
    double hueDegrees;
  };
  const Ramp ramps[] = {{"saturated red", 54, 40}, {"retina orange", 62, 60},
                        {"deep blue", 32, 300},    {"sky blue", 70, 240},
                        {"leaf green", 60, 135},   {"magenta", 55, 330},
                        {"dark brown", 25, 55},    {"pale yellow", 90, 95}};
  const ReachTable reach = ReachOf(PaletteColours(PaletteId::Pepto));
  for (const Ramp& ramp : ramps) {
    SCOPED_TRACE(ramp.name);
    const double angle = ramp.hueDegrees * Pi / 180;
    double previous = 0;
    for (int chroma = 0; chroma <= 120; chroma += 4) {
      const std::uint32_t colour =
          LabToColour({ramp.lightness, chroma * std::cos(angle), chroma * std::sin(angle)});
      const Lab before = ColourToLab(colour);
      if (std::abs(ChromaOf(before) - chroma) > 2) {
        break;  // beyond sRGB: the 8-bit colour is clipped, the ramp ends
      }
      const Lab after = ColourToLab(MapColourIntoReach(reach, colour));
      EXPECT_NEAR(after.l, before.l, 1.0) << chroma;
      if (ChromaOf(after) > 8) {
        EXPECT_LT(HueDistance(after, before), 4.0) << chroma;
      }
      const double limit =
          ReachableChroma(reach, float(before.l), float(std::atan2(before.b, before.a)));
      EXPECT_LE(ChromaOf(after), std::max(limit, ChromaOf(before) * ReachKnee) + 1.0) << chroma;
      EXPECT_LE(ChromaOf(after), ChromaOf(before) + 1.0) << chroma;
      // Rising along the ramp (rounding to 8 bits allows a unit back).
      EXPECT_GE(ChromaOf(after), previous - 1.0) << chroma;
      previous = ChromaOf(after);
    }
  }
}

TEST(GamutMapping, CompressionIsContinuousMonotonicAndStaysInReach)
{
  for (const float reach : {0.0f, 5.0f, 30.0f, 80.0f}) {
    float previous = 0;
    for (float chroma = 0; chroma < 400; chroma += 0.25f) {
      const float mapped = CompressChroma(chroma, reach);
      EXPECT_GE(mapped, previous) << reach << " " << chroma;
      EXPECT_LE(mapped - previous, 0.25f + 1e-4f) << reach << " " << chroma;  // no jump
      EXPECT_LE(mapped, chroma) << reach;
      EXPECT_LE(mapped, reach + 1e-4f) << chroma;
      previous = mapped;
    }
  }
}

TEST(GamutMapping, TheReachComesFromThePaletteInUse)
{
  const std::uint32_t red = 0xE02010;
  // Sixteen greys reach no colour at all.
  C64Palette greys{};
  for (int i = 0; i < 16; ++i) {
    greys[i] = MakeColour(i * 17, i * 17, i * 17);
  }
  EXPECT_LT(ChromaOf(ColourToLab(MapColourIntoReach(ReachOf(greys), red))), 2.0);
  // Pepto's red is pale; a palette with a stronger red lets more through.
  C64Palette stronger = PaletteColours(PaletteId::Pepto);
  stronger[2] = 0xD01808;
  const double peptoChroma =
      ChromaOf(ColourToLab(MapColourIntoReach(ReachOf(PaletteColours(PaletteId::Pepto)), red)));
  const double strongerChroma = ChromaOf(ColourToLab(MapColourIntoReach(ReachOf(stronger), red)));
  EXPECT_GT(strongerChroma, peptoChroma + 10);
  // The mixes of the interlaced modes reach what the pure colours reach.
  const Lab pure = ColourToLab(MapColourIntoReach(ReachOf(PaletteColours(PaletteId::Pepto)), red));
  const Lab mixed = ColourToLab(MapColourIntoReach(
      ReachOf(PaletteColours(PaletteId::Pepto), GraphicMode::HiresFliInterlace), red));
  EXPECT_GE(ChromaOf(mixed), ChromaOf(pure) - 2);
}

// The quick mapping's tables and polynomial, and the frame mapping's grid,
// against the plain definition: colours across the cube, the grey axis, the
// corners and photo-like noise, with the reach of 16 colours and of the mixes
// of two fields.
TEST(GamutMapping, FrameMappingAgreesWithThePlainDefinition)
{
  std::vector<std::uint32_t> colours;
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 15) {
      for (int b = 0; b < 256; b += 15) {
        colours.push_back(MakeColour(r, g, b));
      }
    }
  }
  for (int v = 0; v < 256; ++v) {
    colours.push_back(MakeColour(v, v, v));
    colours.push_back(MakeColour(v, 255 - v, 0));
  }
  std::mt19937 random(3);
  while (colours.size() < PixelCount) {
    colours.push_back(random() & 0xFFFFFF);
  }
  const auto worstChannel = [](std::uint32_t p, std::uint32_t q) {
    return std::max({std::abs(RedOf(p) - RedOf(q)), std::abs(GreenOf(p) - GreenOf(q)),
                     std::abs(BlueOf(p) - BlueOf(q))});
  };
  for (const PaletteId id : {PaletteId::Pepto, PaletteId::Vice}) {
    for (const GraphicMode mode : {GraphicMode::HiresStandard, GraphicMode::HiresFliInterlace}) {
      SCOPED_TRACE(int(mode));
      MixTable table;
      BuildMixPalette(table, PaletteColours(id), MixMethod::Rgb, mode);
      const ReachTable reach = BuildReachTable(table);
      ReachMapping mapping;
      mapping.Prepare(table);
      auto planes = std::make_unique<AdjustedPlanes>();
      for (int i = 0; i < PixelCount; ++i) {
        StoreAdjustedPixel(*planes, i % PictureWidth, i / PictureWidth, colours[i]);
      }
      mapping.Map(*planes);
      int quickDiffers = 0, gridOffByMore = 0;
      for (int i = 0; i < PixelCount; ++i) {
        const std::uint32_t plain = MapColourIntoReach(reach, colours[i]);
        const int quick = worstChannel(MapColourIntoReachQuickly(reach, colours[i]), plain);
        ASSERT_LE(quick, 1) << std::hex << colours[i];
        quickDiffers += quick > 0 ? 1 : 0;
        const int grid =
            worstChannel(ReadAdjustedPixel(*planes, i % PictureWidth, i / PictureWidth), plain);
        // Between grid points the mapping bends where the compression starts
        // and where the reach turns a corner.
        ASSERT_LE(grid, 12) << std::hex << colours[i];
        gridOffByMore += grid > 1 ? 1 : 0;
      }
      EXPECT_LT(quickDiffers, PixelCount / 50);  // a level off now and then, by rounding
      EXPECT_LT(gridOffByMore, PixelCount / 50);
    }
  }
}

// The grid is made once for a table's colours and made anew for others.
TEST(GamutMapping, TheFrameMappingFollowsTheTable)
{
  MixTable pepto, vice;
  BuildMixPalette(pepto, PaletteColours(PaletteId::Pepto), MixMethod::Rgb,
                  GraphicMode::HiresStandard);
  BuildMixPalette(vice, PaletteColours(PaletteId::Vice), MixMethod::Rgb,
                  GraphicMode::HiresStandard);
  ReachMapping mapping, freshPepto, freshVice;
  freshPepto.Prepare(pepto);
  freshVice.Prepare(vice);
  mapping.Prepare(pepto);
  mapping.Prepare(vice);
  int palettesDiffer = 0;
  for (const std::uint32_t colour : {0xFF0000u, 0x00FF40u, 0x2040FFu, 0xFF00FFu}) {
    EXPECT_EQ(mapping.MapColour(colour), freshVice.MapColour(colour)) << std::hex << colour;
    palettesDiffer += freshPepto.MapColour(colour) != freshVice.MapColour(colour);
  }
  EXPECT_GT(palettesDiffer, 0);
}

}  // namespace
}  // namespace pavona
