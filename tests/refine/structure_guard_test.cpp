#include "refine/structure_guard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/convert_run.h"
#include "plan/conversion_plan.h"
#include "plan/run_pictures.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

using testing::PhotoFrames;
using testing::ReadPpmFrame;

std::unique_ptr<Workspace> Convert(const char* frame, const Settings& settings)
{
  auto workspace = std::make_unique<Workspace>();
  workspace->source = ReadPpmFrame(frame);
  SilentProgress progress;
  ConvertRun(*workspace, settings, progress);
  return workspace;
}

// SSIM at one pixel straight from the definition: both lumas blurred with
// the 7 x 7 Gaussian of sigma 1, then the 11 x 11 window of sigma 1.5, every
// coordinate clamped to the frame.
double PlainSsimAt(const Picture& shown, const Picture& target, int x, int y)
{
  const auto gauss = [](int k, double sigma, int radius) {
    double sum = 0;
    for (int j = -radius; j <= radius; ++j) {
      sum += std::exp(-(j * j) / (2 * sigma * sigma));
    }
    return std::exp(-(k * k) / (2 * sigma * sigma)) / sum;
  };
  const auto blurredLuma = [&](const Picture& picture, int px, int py) {
    double sum = 0;
    for (int dy = -3; dy <= 3; ++dy) {
      for (int dx = -3; dx <= 3; ++dx) {
        const std::uint32_t c = picture[PixelIndex(std::clamp(px + dx, 0, PictureWidth - 1),
                                                   std::clamp(py + dy, 0, PictureHeight - 1))];
        sum += gauss(dx, 1, 3) * gauss(dy, 1, 3) *
               (0.299 * RedOf(c) + 0.587 * GreenOf(c) + 0.114 * BlueOf(c));
      }
    }
    return sum;
  };
  double ma = 0, mb = 0, aa = 0, bb = 0, ab = 0;
  for (int dy = -5; dy <= 5; ++dy) {
    for (int dx = -5; dx <= 5; ++dx) {
      const int px = std::clamp(x + dx, 0, PictureWidth - 1);
      const int py = std::clamp(y + dy, 0, PictureHeight - 1);
      const double w = gauss(dx, 1.5, 5) * gauss(dy, 1.5, 5);
      const double a = blurredLuma(shown, px, py), b = blurredLuma(target, px, py);
      ma += w * a;
      mb += w * b;
      aa += w * a * a;
      bb += w * b * b;
      ab += w * a * b;
    }
  }
  const double c1 = 6.5025, c2 = 58.5225;
  return ((2 * ma * mb + c1) * (2 * (ab - ma * mb) + c2)) /
         ((ma * ma + mb * mb + c1) * (aa - ma * ma + bb - mb * mb + c2));
}

TEST(StructureMeasure, MatchesThePlainDefinition)
{
  const auto workspace = Convert("rocket_frame.ppm", Settings{});
  auto measure = std::make_unique<StructureMeasure>();
  measure->SetTarget(workspace->source);
  SsimPlanes planes;
  std::vector<float> ssim;
  measure->SsimMap(workspace->result, planes, ssim);
  const struct {
    const char* name;
    int x, y;
  } places[] = {{"top left", 0, 0},   {"bottom right", 319, 199}, {"top edge", 150, 2},
                {"left edge", 1, 90}, {"inside", 201, 133},       {"first shown column", 24, 60}};
  for (const auto& place : places) {
    EXPECT_NEAR(ssim[PixelIndex(place.x, place.y)],
                PlainSsimAt(workspace->result, workspace->source, place.x, place.y), 1e-4)
        << place.name;
  }
}

double MeanSsim(const Picture& shown, const Picture& target, FrameArea area)
{
  auto measure = std::make_unique<StructureMeasure>();
  measure->SetTarget(target);
  SsimPlanes planes;
  std::vector<float> ssim;
  measure->SsimMap(shown, planes, ssim);
  double sum = 0;
  for (int y = area.top; y < area.top + area.height; ++y) {
    for (int x = area.left; x < area.left + area.width; ++x) {
      sum += ssim[PixelIndex(x, y)];
    }
  }
  return sum / (area.width * area.height);
}

// Refine may trade no structure for colour: over what each mode shows, the
// SSIM of no photo frame falls by more than 0.005 (with the blurred RGB
// error alone it fell by up to 0.08 on the rocket against the sky).
TEST(Refine, KeepsTheStructureOfEveryPhotoFrame)
{
  for (GraphicMode mode : {GraphicMode::HiresStandard, GraphicMode::HiresInterlaced,
                           GraphicMode::HiresFli, GraphicMode::HiresFliInterlace}) {
    for (const bool map : {false, true}) {
      for (const char* frame : PhotoFrames) {
        SCOPED_TRACE(std::string(frame) + " mode " + std::to_string(int(mode)) +
                     (map ? " mapped" : ""));
        Settings settings;
        settings.mode = mode;
        settings.mapIntoReach = map;
        const auto plain = Convert(frame, settings);
        settings.refine = true;
        const auto refined = Convert(frame, settings);
        const FrameArea shown = PlanConversion(settings).shown;
        EXPECT_GE(MeanSsim(refined->result, plain->source, shown),
                  MeanSsim(plain->result, plain->source, shown) - 0.005);
      }
    }
  }
}

// A unit whose structure the refinement broke gets the selection's pixels
// and C64 bytes back; a picture as selected stays as it is.
TEST(KeepStructure, PutsBackOnlyUnitsThatLostStructure)
{
  Settings settings;
  settings.mode = GraphicMode::HiresStandard;
  const auto workspace = Convert("chelsea_frame.ppm", settings);
  const ConversionPlan plan = PlanConversion(settings);
  auto units = std::make_unique<UnitMixes>();
  auto table = std::make_unique<MixTable>();
  PrepareMixTable(*table, workspace->palette, settings, plan.mixTable);
  FindUnitMixes({workspace->c64, workspace->result, workspace->palette, workspace->mix}, *table,
                settings, plan, *units);
  auto scratch = std::make_unique<StructureScratch>();
  scratch->selectedResult = workspace->result;
  scratch->selectedData = workspace->c64;
  MeasureSelectionStructure(workspace->source, *scratch);

  auto result = std::make_unique<Picture>(workspace->result);
  auto data = std::make_unique<C64Data>(workspace->c64);
  EXPECT_EQ(KeepStructure(*result, *data, *units, *scratch), 0);
  EXPECT_EQ(*result, workspace->result);

  // The cell at (96, 64): a checkerboard of black and white in the picture,
  // its colours and bitmap rows changed in the data.
  for (int y = 64; y < 72; ++y) {
    for (int x = 96; x < 104; ++x) {
      (*result)[PixelIndex(x, y)] = (x + y) % 2 != 0 ? 0xFFFFFFu : 0;
    }
    (*data)[units->bitmap1.offset + BitmapOffset(12, 8, y % 8)] ^= 0x55;
  }
  (*data)[units->places.ScreenByteAt(1, 96, 64)] ^= 0x11;
  // A cell elsewhere made a shade closer to the frame keeps its change.
  const int kept = PixelIndex(200, 150);
  (*result)[kept] = workspace->source[kept];
  EXPECT_GE(KeepStructure(*result, *data, *units, *scratch), 1);
  for (int y = 64; y < 72; ++y) {
    for (int x = 96; x < 104; ++x) {
      EXPECT_EQ((*result)[PixelIndex(x, y)], workspace->result[PixelIndex(x, y)]);
    }
  }
  EXPECT_EQ(*data, workspace->c64);
  EXPECT_EQ((*result)[kept], workspace->source[kept]);
}

// Many spans that each lose a little structure, none of them past the bound
// per unit, but together past the frame's bound: spans are put back until
// the frame's loss is within it, and those that lose least keep their change.
TEST(KeepStructure, HoldsTheFramesLossWithinItsBound)
{
  Settings settings;
  settings.mode = GraphicMode::HiresFli;
  const auto workspace = Convert("rocket_frame.ppm", settings);
  const ConversionPlan plan = PlanConversion(settings);
  auto units = std::make_unique<UnitMixes>();
  auto table = std::make_unique<MixTable>();
  PrepareMixTable(*table, workspace->palette, settings, plan.mixTable);
  FindUnitMixes({workspace->c64, workspace->result, workspace->palette, workspace->mix}, *table,
                settings, plan, *units);
  auto scratch = std::make_unique<StructureScratch>();
  scratch->selectedResult = workspace->result;
  scratch->selectedData = workspace->c64;
  MeasureSelectionStructure(workspace->source, *scratch);

  // Every fourth row's spans shown mirrored.
  auto result = std::make_unique<Picture>(workspace->result);
  for (int y = 0; y < PictureHeight; y += 4) {
    for (int x0 = 0; x0 < PictureWidth; x0 += 8) {
      std::reverse(&(*result)[PixelIndex(x0, y)], &(*result)[PixelIndex(x0, y)] + 8);
    }
  }
  const double selected = MeanSsim(workspace->result, workspace->source, FrameArea{});
  ASSERT_GT(selected - MeanSsim(*result, workspace->source, FrameArea{}), MostSsimLossPerFrame);

  auto data = std::make_unique<C64Data>(workspace->c64);
  const int restored = KeepStructure(*result, *data, *units, *scratch);
  EXPECT_GE(selected - MeanSsim(*result, workspace->source, FrameArea{}), 0);
  EXPECT_LE(selected - MeanSsim(*result, workspace->source, FrameArea{}), MostSsimLossPerFrame);
  EXPECT_GT(restored, 0);
  EXPECT_NE(*result, workspace->result);
}

}  // namespace
}  // namespace pavona
