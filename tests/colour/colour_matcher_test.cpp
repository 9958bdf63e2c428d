#include "colour/colour_matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "colour/yuv.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

using Engine = ColourMatcher::Engine;

constexpr Measure AllMeasures[] = {Measure::RgbDistance, Measure::Brightness, Measure::Perceptual};
constexpr Engine BothEngines[] = {Engine::Automatic, Engine::Scalar};

std::string Name(Measure measure)
{
  switch (measure) {
    case Measure::RgbDistance:
      return "RGB Distance";
    case Measure::Brightness:
      return "'Y' Brightness";
    case Measure::Perceptual:
      break;
  }
  return "Perceptual";
}

std::string Name(Engine engine)
{
  return engine == Engine::Automatic ? "automatic" : "scalar";
}

bool ProcessorHasAvx2()
{
#if defined(__x86_64__)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

// A coarse grid of the whole cube, random colours, and every colour of the
// table with its 26 neighbours one step away: where the nearest colour
// changes hands and ties are most likely.
std::vector<std::uint32_t> ProbeColours(const MixTable& table, int gridStep, int randomCount)
{
  std::vector<std::uint32_t> colours;
  for (int r = 0; r < 256; r += gridStep) {
    for (int g = 0; g < 256; g += gridStep) {
      for (int b = 0; b < 256; b += gridStep) {
        colours.push_back(MakeColour(r, g, b));
      }
    }
  }
  colours.push_back(0xFFFFFF);
  std::mt19937 random(12345);
  for (int i = 0; i < randomCount; ++i) {
    colours.push_back(random() & 0xFFFFFF);
  }
  for (int slot = 0; slot < MixColourCount; ++slot) {
    const std::uint32_t mix = table.colour[slot];
    for (int dr = -1; dr <= 1; ++dr) {
      for (int dg = -1; dg <= 1; ++dg) {
        for (int db = -1; db <= 1; ++db) {
          colours.push_back(MakeColour(std::clamp(RedOf(mix) + dr, 0, 255),
                                       std::clamp(GreenOf(mix) + dg, 0, 255),
                                       std::clamp(BlueOf(mix) + db, 0, 255)));
        }
      }
    }
  }
  return colours;
}

// Every probe colour matched by both engines must give what MatchColour gives.
void ExpectAgreement(const MixTable& table, GraphicMode mode,
                     const std::vector<std::uint32_t>& colours)
{
  for (Measure measure : AllMeasures) {
    std::vector<std::uint32_t> expected(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
      expected[i] = MatchColour(colours[i], table, measure, mode);
    }
    for (Engine engine : BothEngines) {
      SCOPED_TRACE(Name(measure) + ", " + Name(engine) + " engine");
      const ColourMatcher matcher(table, measure, mode, engine);
      int mismatches = 0;
      for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::uint32_t got = matcher.Match(colours[i]);
        if (got != expected[i] && ++mismatches <= 3) {
          ADD_FAILURE() << std::hex << "colour " << colours[i] << ": " << got << ", plain "
                        << expected[i];
        }
      }
      EXPECT_EQ(mismatches, 0);
    }
  }
}

TEST(ColourMatcher, AgreesWithPlainMatchingOnPaletteTables)
{
  const struct {
    const char* name;
    GraphicMode mode;
  } modes[] = {{"136 candidates", GraphicMode::HiresFliInterlace},
               {"16 candidates", GraphicMode::HiresFli}};
  const FlickerLevel levels[] = {FlickerLevel::Off, FlickerLevel::Light, FlickerLevel::Medium,
                                 FlickerLevel::Heavy};
  for (MixMethod method : {MixMethod::Rgb, MixMethod::Yuv}) {
    for (const auto& [modeName, mode] : modes) {
      for (FlickerLevel level : levels) {
        SCOPED_TRACE(std::string(method == MixMethod::Rgb ? "RGB" : "YUV") + " mix, " + modeName +
                     ", flicker level " + std::to_string(int(level)));
        MixTable table;
        BuildMixPalette(table, PaletteColours(PaletteId::Pepto), method, mode);
        ReduceFlicker(table, level);
        ExpectAgreement(table, mode, ProbeColours(table, 15, 4000));
      }
    }
  }
  // The luma table's removals and every other palette, at the default level.
  for (PaletteId palette :
       {PaletteId::Deekay, PaletteId::Vice, PaletteId::Ccs64, PaletteId::Frodo}) {
    SCOPED_TRACE(std::string(PaletteName(palette)));
    MixTable table;
    BuildMixPalette(table, PaletteColours(palette), MixMethod::Rgb, GraphicMode::HiresInterlaced);
    ReduceFlickerMedium(table);
    ReduceFlickerForLuma(table);
    ExpectAgreement(table, GraphicMode::HiresInterlaced, ProbeColours(table, 51, 1000));
  }
}

TEST(ColourMatcher, AgreesWithPlainMatchingOnDenseGridAndPhotos)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb,
                  GraphicMode::HiresFliInterlace);
  ReduceFlickerMedium(table);
  std::vector<std::uint32_t> colours = ProbeColours(table, 6, 0);
  for (const char* name : testing::PhotoFrames) {
    const Picture frame = testing::ReadPpmFrame(name);
    colours.insert(colours.end(), frame.begin(), frame.end());
  }
  ExpectAgreement(table, GraphicMode::HiresFliInterlace, colours);
  if (ProcessorHasAvx2()) {
    EXPECT_TRUE(ColourMatcher(table, Measure::Perceptual, GraphicMode::HiresFliInterlace)
                    .UsesVectorSearch());
    EXPECT_TRUE(ColourMatcher(table, Measure::RgbDistance, GraphicMode::HiresFliInterlace)
                    .UsesVectorSearch());
  }
}

// Tables no palette produces: few distinct colours repeated all over, Y, U, V
// from a narrow range (so distances tie everywhere), Y, U, V unrelated to the
// colour, every slot alike, and values far outside 0..255.
TEST(ColourMatcher, AgreesWithPlainMatchingOnAdversarialTables)
{
  std::mt19937 random(777);
  auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const struct {
    const char* name;
    int distinctColours;  // 0: every slot random
    int yuvLow, yuvHigh;  // 0, 0: the colour's own Y, U, V
  } kinds[] = {
      {"few repeated colours", 6, 0, 0},  {"narrow Y, U, V", 0, 100, 103},
      {"unrelated Y, U, V", 0, 16, 240},  {"repeated colours, equal Y", 9, 120, 120},
      {"values far out", 0, -1900, 1900}, {"values beyond the vector range", 0, -5000, 5000},
  };
  for (const auto& kind : kinds) {
    for (int round = 0; round < 4; ++round) {
      SCOPED_TRACE(std::string(kind.name) + ", round " + std::to_string(round));
      std::vector<std::uint32_t> palette;
      for (int i = 0; i < kind.distinctColours; ++i) {
        palette.push_back(random() & 0xFFFFFF);
      }
      MixTable table;
      for (int slot = 0; slot < MixColourCount; ++slot) {
        table.colour[slot] =
            palette.empty() ? random() & 0xFFFFFF : palette[pick(0, int(palette.size()) - 1)];
        Yuv yuv = ColourToYuv(table.colour[slot]);
        if (kind.yuvLow != kind.yuvHigh || kind.yuvLow != 0) {
          yuv = {pick(kind.yuvLow, kind.yuvHigh), pick(kind.yuvLow, kind.yuvHigh),
                 pick(kind.yuvLow, kind.yuvHigh)};
        }
        table.y[slot] = yuv.y;
        table.u[slot] = yuv.u;
        table.v[slot] = yuv.v;
      }
      for (GraphicMode mode : {GraphicMode::HiresInterlaced, GraphicMode::HiresStandard}) {
        ExpectAgreement(table, mode, ProbeColours(table, 51, 1500));
      }
    }
  }
  MixTable uniform;
  uniform.colour.fill(0x405060);
  uniform.y.fill(70);
  uniform.u.fill(130);
  uniform.v.fill(120);
  ExpectAgreement(uniform, GraphicMode::HiresFliInterlace, ProbeColours(uniform, 51, 100));
}

// A table of black slots with Y, U, V 16, 128, 128, apart from the slots set
// by the test.
MixTable FarTable()
{
  MixTable table;
  for (int slot = 0; slot < MixSlotCount; ++slot) {
    table.colour[slot] = 0x000000;
    table.y[slot] = 16;
    table.u[slot] = 128;
    table.v[slot] = 128;
  }
  return table;
}

void SetSlot(MixTable& table, int slot, std::uint32_t colour, Yuv yuv)
{
  table.colour[slot] = colour;
  table.y[slot] = yuv.y;
  table.u[slot] = yuv.u;
  table.v[slot] = yuv.v;
}

TEST(ColourMatcher, EqualDistancesGoToTheLowestSlot)
{
  // Pairs in the same vector lane, in the same vector, and far apart; the
  // higher slot of each pair is set first so that no scan order can get away
  // with keeping the last one seen.
  const std::pair<int, int> pairs[] = {{5, 21}, {2, 9}, {40, 130}, {0, 135}, {16, 17}};
  const std::uint32_t pixel = 0x808080;
  const Yuv grey = ColourToYuv(pixel);
  for (const auto& [low, high] : pairs) {
    for (Engine engine : BothEngines) {
      SCOPED_TRACE("slots " + std::to_string(low) + " and " + std::to_string(high) + ", " +
                   Name(engine));
      // RGB: both 2 away in a different channel; Y, U, V far for the others.
      MixTable table = FarTable();
      SetSlot(table, high, 0x807E80, {grey.y, grey.u, grey.v + 1});
      SetSlot(table, low, 0x828080, {grey.y + 1, grey.u, grey.v});
      EXPECT_EQ(ColourMatcher(table, Measure::RgbDistance, GraphicMode::HiresInterlaced, engine)
                    .Match(pixel),
                0x828080u);
      // Perceptual: both one step away in Y, U or V; the colours differ.
      EXPECT_EQ(ColourMatcher(table, Measure::Perceptual, GraphicMode::HiresInterlaced, engine)
                    .Match(pixel),
                0x828080u);
      // Brightness: equal Y.
      table.y[high] = grey.y;
      table.y[low] = grey.y;
      EXPECT_EQ(ColourMatcher(table, Measure::Brightness, GraphicMode::HiresInterlaced, engine)
                    .Match(pixel),
                0x828080u);
    }
  }
}

TEST(ColourMatcher, BrightnessUsesTheUnroundedLuma)
{
  for (Engine engine : BothEngines) {
    SCOPED_TRACE(Name(engine));
    auto match = [&](const MixTable& table, std::uint32_t colour) {
      return ColourMatcher(table, Measure::Brightness, GraphicMode::HiresInterlaced, engine)
          .Match(colour);
    };
    // White has luma 235.045: Y 235 and Y 236 are both at distance 0, so the
    // lower slot wins whichever of the two it holds.
    MixTable table = FarTable();
    SetSlot(table, 3, 0x111111, {236, 128, 128});
    SetSlot(table, 4, 0x222222, {235, 128, 128});
    EXPECT_EQ(match(table, 0xFFFFFF), 0x111111u);
    table.y[3] = 234;  // 1.045 away: distance 1
    EXPECT_EQ(match(table, 0xFFFFFF), 0x222222u);
    table.y[3] = 235;
    table.y[4] = 236;
    EXPECT_EQ(match(table, 0xFFFFFF), 0x111111u);
    // Black has luma exactly 16, so Y 17 is a whole step away (distance 1),
    // while dark red (luma 16.257) is less than 1 below Y 17 (distance 0).
    MixTable dark = FarTable();
    SetSlot(dark, 0, 0x333333, {17, 128, 128});
    SetSlot(dark, 1, 0x444444, {16, 128, 128});
    for (int slot = 2; slot < MixSlotCount; ++slot) {
      SetSlot(dark, slot, 0x555555, {200, 128, 128});
    }
    EXPECT_EQ(match(dark, 0x000000), 0x444444u);
    EXPECT_EQ(match(dark, 0x010000), 0x333333u);
  }
}

TEST(ColourMatcher, NonInterlacedModesOfferOnlySlotsZeroToFifteen)
{
  // Slot 20 holds the pixel itself; slots 0..15 are all far away.
  MixTable table = FarTable();
  const std::uint32_t pixel = 0xC08040;
  const Yuv yuv = ColourToYuv(pixel);
  SetSlot(table, 20, pixel, yuv);
  SetSlot(table, 9, 0xFFFFFF, ColourToYuv(0xFFFFFF));
  for (Measure measure : AllMeasures) {
    for (Engine engine : BothEngines) {
      SCOPED_TRACE(Name(measure) + ", " + Name(engine));
      EXPECT_EQ(ColourMatcher(table, measure, GraphicMode::HiresInterlaced, engine).Match(pixel),
                pixel);
      EXPECT_EQ(ColourMatcher(table, measure, GraphicMode::HiresFliInterlace, engine).Match(pixel),
                pixel);
      for (GraphicMode mode : {GraphicMode::HiresStandard, GraphicMode::HiresFli}) {
        const std::uint32_t got = ColourMatcher(table, measure, mode, engine).Match(pixel);
        EXPECT_TRUE(got == 0x000000 || got == 0xFFFFFF) << std::hex << got;
      }
    }
  }
}

}  // namespace
}  // namespace pavona
