#include "dither/dither_picture.h"

#include <gtest/gtest.h>

#include <set>

#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "dither/dither_fixtures.h"
#include "dither/reference_dither.h"

namespace pavona {
namespace {

using namespace testing;

struct NamedSettings {
  std::string name;
  DitherSettings settings;
};

// Every method, with option combinations that reach every branch.
std::vector<NamedSettings> EveryMethod()
{
  auto with = [](DitherMethod method, auto&& change) {
    DitherSettings settings = Method(method);
    change(settings);
    return settings;
  };
  auto same = [](DitherSettings&) {};
  return {
      {"None", Method(DitherMethod::None)},
      {"Ordered 2x2", Method(DitherMethod::Ordered2x2)},
      {"Ordered 3x3, Value Amp 1, Alt Y",
       with(DitherMethod::Ordered3x3, [](auto& s) { s.valueAmp = 1, s.altYDither = true; })},
      {"Ordered 4x4, Value Amp 3, flipped",
       with(DitherMethod::Ordered4x4, [](auto& s) { s.valueAmp = 3, s.flipDither = true; })},
      {"Ordered 8x8, Value Amp 4, Alt Y, flipped",
       with(DitherMethod::Ordered8x8,
            [](auto& s) { s.valueAmp = 4, s.altYDither = s.flipDither = true; })},
      {"Floyd Steinberg", Method(DitherMethod::FloydSteinberg, false)},
      {"Floyd Steinberg serpentine", Method(DitherMethod::FloydSteinberg, true)},
      {"Custom", Method(DitherMethod::Custom, false)},
      {"Custom serpentine", Method(DitherMethod::Custom, true)},
      {"Random", with(DitherMethod::Random, same)},
      {"Random, one draw, strength 100",
       with(DitherMethod::Random, [](auto& s) { s.separateRgb = false, s.strength = 100; })},
      {"Random, strength 0", with(DitherMethod::Random, [](auto& s) { s.strength = 0; })},
  };
}

bool IsDiffusion(const DitherSettings& settings)
{
  return settings.method == DitherMethod::FloydSteinberg || settings.method == DitherMethod::Custom;
}

MixTable PeptoTable(GraphicMode mode, MixMethod mix = MixMethod::Rgb)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), mix, mode);
  if (IsInterlaced(mode)) {
    ReduceFlickerMedium(table);
  }
  return table;
}

std::vector<std::string> ProgressRows(int first, int last, int step)
{
  std::vector<std::string> events;
  for (int row = first; row <= last; row += step) {
    events.push_back("progress:" + std::to_string(row));
  }
  return events;
}

TEST(DitherPicture, StatusProgressAndShownPicture)
{
  const std::string rows = "rows", pairs = "pairs";
  const struct {
    DitherSettings settings;
    std::vector<std::vector<std::string>> parts;
  } cases[] = {
      {Method(DitherMethod::FloydSteinberg, false),
       {{"status:Floyd Steinberg Dithering Image using 136 mix colors"}, {rows}, {"progress:0"}}},
      {Method(DitherMethod::FloydSteinberg, true),
       {{"status:Floyd Steinberg Dithering Image using 136 mix colors"}, {pairs}, {"progress:0"}}},
      {Method(DitherMethod::Custom, false),
       {{"status:Custom Dithering Image using 136 mix colors"}, {rows}, {"progress:0"}}},
      {Method(DitherMethod::Custom, true),
       {{"status:Custom Dithering Image using 136 mix colors"},
        {pairs},
        {"progress:0"},
        {rows},
        {"progress:0", "progress:0"}}},
      {Method(DitherMethod::None), {{"progress:0", "status:Converting to 136 mix colors"}, {rows}}},
      {Method(DitherMethod::Ordered4x4),
       {{"progress:0", "status:Ordered dithering image"}, {rows}, {"progress:0"}}},
      {Method(DitherMethod::Random),
       {{"progress:0", "status:random dithering image"}, {rows}, {"progress:0"}}},
  };
  const MixTable table = PeptoTable(GraphicMode::HiresFliInterlace);
  for (const auto& [settings, parts] : cases) {
    SCOPED_TRACE("method " + std::to_string(int(settings.method)) +
                 (settings.serpentine ? " serpentine" : ""));
    std::vector<std::string> expected;
    for (const auto& part : parts) {
      const auto block = part[0] == rows    ? ProgressRows(0, 199, 1)
                         : part[0] == pairs ? ProgressRows(0, 198, 2)
                                            : part;
      expected.insert(expected.end(), block.begin(), block.end());
    }
    expected.push_back("show:0+200");
    expected.push_back("progress:0");
    auto planes = FramePlanes("coffee_frame.ppm");
    RecordingProgress progress;
    std::uint32_t state = 1;
    DitherPicture(*planes, table, Measure::Perceptual, GraphicMode::HiresFliInterlace, settings,
                  state, progress);
    EXPECT_EQ(progress.events, expected);
    EXPECT_TRUE(progress.shown == PictureFromPlanes(*planes));
  }
}

TEST(DitherPicture, EveryPixelBecomesACandidateColour)
{
  for (GraphicMode mode : {GraphicMode::HiresFliInterlace, GraphicMode::HiresFli}) {
    const MixTable table = PeptoTable(mode);
    const int count = CandidateCount(mode);
    const std::set<std::uint32_t> candidates(table.colour.begin(), table.colour.begin() + count);
    for (const auto& [name, settings] : EveryMethod()) {
      SCOPED_TRACE(name + ", " + std::to_string(count) + " candidates");
      auto planes = FramePlanes("chelsea_frame.ppm");
      std::uint32_t state = 1;
      SilentProgress progress;
      DitherPicture(*planes, table, Measure::Perceptual, mode, settings, state, progress);
      int strays = 0;
      for (int offset = 0; offset < PixelCount; ++offset) {
        if (!candidates.contains(BytesAt(*planes, offset)) && ++strays <= 3) {
          ADD_FAILURE() << "pixel " << offset << " is " << std::hex << BytesAt(*planes, offset);
        }
      }
      EXPECT_EQ(strays, 0);
    }
  }
}

// The whole planes, spare bytes included, and the generator state must come
// out as the plain reference leaves them.
void ExpectSameAsReference(const std::string& frame, const MixTable& table, Measure measure,
                           GraphicMode mode, const NamedSettings& method)
{
  SCOPED_TRACE(method.name);
  auto fast = FramePlanes(frame);
  auto plain = FramePlanes(frame);
  std::uint32_t fastState = 99, plainState = 99;
  SilentProgress progress;
  DitherPicture(*fast, table, measure, mode, method.settings, fastState, progress);
  ReferenceDither(*plain, table, measure, mode).Run(method.settings, plainState);
  int mismatches = 0;
  for (int offset = 0; offset < PlaneSize; ++offset) {
    if (BytesAt(*fast, offset) != BytesAt(*plain, offset) && ++mismatches <= 3) {
      ADD_FAILURE() << "offset " << offset << ": " << std::hex << BytesAt(*fast, offset)
                    << ", plain " << BytesAt(*plain, offset);
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(fastState, plainState);
}

TEST(DitherPicture, SameAsThePlainReference)
{
  {
    SCOPED_TRACE("Perceptual, 136 candidates");
    const MixTable table = PeptoTable(GraphicMode::HiresFliInterlace);
    for (const auto& method : EveryMethod()) {
      ExpectSameAsReference("coffee_frame.ppm", table, Measure::Perceptual,
                            GraphicMode::HiresFliInterlace, method);
    }
  }
  // The plain search is slow, so the other measures, the YUV mixes and the
  // pure colours take the serpentine diffusion methods only.
  const struct {
    const char* name;
    const char* frame;
    Measure measure;
    GraphicMode mode;
    MixMethod mix;
  } variants[] = {
      {"RGB Distance", "rocket_frame.ppm", Measure::RgbDistance, GraphicMode::HiresInterlaced,
       MixMethod::Rgb},
      {"'Y' Brightness", "chelsea_frame.ppm", Measure::Brightness, GraphicMode::HiresInterlaced,
       MixMethod::Rgb},
      {"Perceptual, YUV mix", "rocket_frame.ppm", Measure::Perceptual,
       GraphicMode::HiresFliInterlace, MixMethod::Yuv},
      {"Perceptual, 16 candidates", "chelsea_frame.ppm", Measure::Perceptual,
       GraphicMode::HiresStandard, MixMethod::Rgb},
  };
  for (const auto& variant : variants) {
    SCOPED_TRACE(variant.name);
    const MixTable table = PeptoTable(variant.mode, variant.mix);
    for (const auto& method : EveryMethod()) {
      if (IsDiffusion(method.settings) && method.settings.serpentine) {
        ExpectSameAsReference(variant.frame, table, variant.measure, variant.mode, method);
      }
    }
  }
}

}  // namespace
}  // namespace pavona
