#include "refine/refine.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "c64/output_kind.h"
#include "colour/mix_pair_codes.h"
#include "core/convert_run.h"
#include "core/picture_closeness.h"
#include "plan/conversion_plan.h"
#include "refine/blurred_error_polish.h"
#include "refine/unit_colour_choice.h"
#include "refine/unit_mixes.h"
#include "support/decoded_pixel.h"
#include "support/plain_blurred_error.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

using testing::DecodePixel;
using testing::FieldColours;

using testing::PhotoFrames;
using testing::ReadPpmFrame;

std::unique_ptr<Workspace> Convert(const char* frame, const Settings& settings,
                                   std::uint32_t randomState = 1)
{
  auto workspace = std::make_unique<Workspace>();
  workspace->source = ReadPpmFrame(frame);
  workspace->randomState = randomState;
  SilentProgress progress;
  ConvertRun(*workspace, settings, progress);
  return workspace;
}

// Pixels whose result the fields do not show: in the table modes the mix of
// the two fields' colours (the colour itself without interlace); under
// "Same Col Banks", where the search shows its own mixes, a pixel whose
// fields agree shows that palette colour.
int PixelsTheFieldsDoNotShow(const Workspace& workspace, const Settings& settings)
{
  int mismatches = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const FieldColours c = DecodePixel(workspace.c64, settings.mode, x, y);
      const std::uint32_t shown = workspace.result[PixelIndex(x, y)];
      if (settings.sameBanks) {
        mismatches += c.field1 == c.field2 && workspace.palette[c.field1] != shown ? 1 : 0;
        continue;
      }
      const int slot =
          IsInterlaced(settings.mode) ? MixSlotOfColours(c.field1, c.field2) : c.field1;
      mismatches += workspace.mix.colour[slot] == shown ? 0 : 1;
    }
  }
  return mismatches;
}

// Interlaced pixels whose two fields' colours form a mix the flicker
// reduction removed: a flickering pair the conversion must never show.
int PixelsShowingRemovedMixes(const Workspace& workspace, const Settings& settings)
{
  int removed = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const FieldColours c = DecodePixel(workspace.c64, settings.mode, x, y);
      removed += IsRemovedMix(workspace.mix, MixSlotOfColours(c.field1, c.field2)) ? 1 : 0;
    }
  }
  return removed;
}

// Bytes that the raw and program files leave out must be empty, or the files
// would not hold the whole picture; a shared bitmap, which they hold once,
// must be the same in both fields.
int BytesTheFilesLeaveOut(const C64Data& data, const Settings& settings)
{
  const OutputKind kind = PlanConversion(settings).output;
  std::vector<bool> inFile(C64DataSize, false);
  for (const C64Region& region : PictureSlices(kind)) {
    for (int i = 0; i < region.size; ++i) {
      inFile[region.offset + i] = true;
    }
  }
  int strays = 0;
  for (int i = 0; i < C64DataSize; ++i) {
    const int shared = i - FliLayout::FliBitmap2.offset;
    if (kind.sharedBitmap && shared >= 0 && shared < BitmapSize) {
      strays += data[i] != data[FliLayout::FliBitmap1.offset + shared] ? 1 : 0;
    } else {
      strays += !inFile[i] && data[i] != 0 ? 1 : 0;
    }
  }
  return strays;
}

struct Row {
  const char* name;
  GraphicMode mode;
  bool sameBanks = false;
  bool fourColours = true;
  bool extraBruteForce = false;
  Measure measure = Measure::Perceptual;
  FlickerLevel flicker = FlickerLevel::Medium;
  DitherMethod dither = DitherMethod::Custom;
  PaletteId palette = PaletteId::Pepto;
};

Settings RefinedSettings(const Row& row)
{
  Settings settings;
  settings.mode = row.mode;
  settings.sameBanks = row.sameBanks;
  settings.fourColours = row.fourColours;
  settings.extraBruteForce = row.extraBruteForce;
  settings.measure = row.measure;
  settings.flicker = row.flicker;
  settings.dither.method = row.dither;
  settings.palette = row.palette;
  settings.alternateX8 = true;  // where it applies: the fields must still agree after it
  settings.refine = true;
  return settings;
}

// Every search, and the measures, flicker levels and dithering methods that
// change what the refinement may use, on every photo frame.
TEST(Refine, KeepsThePictureAValidOneOfItsModeEverywhere)
{
  const Row rows[] = {
      {"hires", GraphicMode::HiresStandard},
      {"hires, luma, ordered", GraphicMode::HiresStandard, false, true, false, Measure::Brightness,
       FlickerLevel::Medium, DitherMethod::Ordered8x8},
      {"hires interlaced", GraphicMode::HiresInterlaced},
      {"hires interlaced, heavy, floyd", GraphicMode::HiresInterlaced, false, true, false,
       Measure::RgbDistance, FlickerLevel::Heavy, DitherMethod::FloydSteinberg},
      {"hires interlaced, same banks", GraphicMode::HiresInterlaced, true},
      {"fli", GraphicMode::HiresFli},
      {"fli extreme, random", GraphicMode::HiresFli, false, true, true, Measure::Perceptual,
       FlickerLevel::Medium, DitherMethod::Random},
      {"fli interlace", GraphicMode::HiresFliInterlace},
      {"fli interlace, luma, flicker off", GraphicMode::HiresFliInterlace, false, true, false,
       Measure::Brightness, FlickerLevel::Off, DitherMethod::Custom, PaletteId::Vice},
      {"fli interlace, two colours", GraphicMode::HiresFliInterlace, false, false},
      {"fli interlace, extreme", GraphicMode::HiresFliInterlace, false, true, true,
       Measure::Perceptual, FlickerLevel::Light, DitherMethod::None},
      {"fli interlace, same banks", GraphicMode::HiresFliInterlace, true},
  };
  for (const Row& row : rows) {
    for (const char* frame : PhotoFrames) {
      SCOPED_TRACE(std::string(row.name) + " on " + frame);
      Settings settings = RefinedSettings(row);
      const auto workspace = Convert(frame, settings);
      EXPECT_EQ(BytesTheFilesLeaveOut(workspace->c64, settings), 0);
      if (!row.sameBanks) {
        EXPECT_EQ(PixelsTheFieldsDoNotShow(*workspace, settings), 0);
        if (IsInterlaced(row.mode)) {
          EXPECT_EQ(PixelsShowingRemovedMixes(*workspace, settings), 0);
        }
        continue;
      }
      // Under "Same Col Banks" the searches show mixes of their own, which
      // the refinement does not know: it leaves the picture as selected.
      settings.refine = false;
      const auto plain = Convert(frame, settings);
      EXPECT_EQ(workspace->result, plain->result);
      EXPECT_EQ(workspace->c64, plain->c64);
    }
  }
}

// The four modes at their defaults come out at least as close to the frame
// as the eye sees it (blurred) as without refining, on every photo frame.
TEST(Refine, BringsEveryModeCloserToThePhoto)
{
  for (GraphicMode mode : {GraphicMode::HiresStandard, GraphicMode::HiresInterlaced,
                           GraphicMode::HiresFli, GraphicMode::HiresFliInterlace}) {
    for (const char* frame : PhotoFrames) {
      SCOPED_TRACE(std::string(frame) + " mode " + std::to_string(int(mode)));
      Settings settings;
      settings.mode = mode;
      const auto plain = Convert(frame, settings);
      settings.refine = true;
      auto refined = std::make_unique<Workspace>();
      refined->source = ReadPpmFrame(frame);
      refined->randomState = 1;
      SilentProgress progress;
      const ConversionOutcome outcome = ConvertRun(*refined, settings, progress);
      const Picture source = ReadPpmFrame(frame);  // no adjustment at the defaults
      const double before =
          BlurredPsnr(source, plain->result, PlanConversion(settings).firstColumn);
      const double after =
          BlurredPsnr(source, refined->result, PlanConversion(settings).firstColumn);
      EXPECT_GT(after, before + 0.05);
      // The figure a run reports is this closeness, so a user sees Refine as
      // the gain it is, though it changes more pixels from the dither.
      EXPECT_DOUBLE_EQ(outcome.closenessDb.value(), after);
    }
  }
}

// Each stage of the refinement, run by itself on a conversion without it,
// lowers the error (blurred, with the pixels' own luma) as the plain sums
// measure it, and the pixel passes
// (alone and by pairs) and the choice of unit colours each change something.
TEST(Refine, EveryStageLowersTheBlurredError)
{
  const struct {
    const char* name;
    GraphicMode mode;
    bool fourColours;
  } rows[] = {{"hires", GraphicMode::HiresStandard, true},
              {"hires interlaced", GraphicMode::HiresInterlaced, true},
              {"fli", GraphicMode::HiresFli, true},
              {"fli interlace", GraphicMode::HiresFliInterlace, true},
              {"fli interlace, two colours (no unit colours chosen)",
               GraphicMode::HiresFliInterlace, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings;
    settings.mode = row.mode;
    settings.fourColours = row.fourColours;
    settings.alternateY = false;  // the C64 data as the selection left it
    const auto workspace = Convert("coffee_frame.ppm", settings);
    const ConversionPlan plan = PlanConversion(settings);
    auto scratch = std::make_unique<RefineScratch>();
    PrepareMixTable(scratch->ditherTable, workspace->palette, settings, plan.mixTable);
    auto run = std::make_unique<RunPictures>();
    run->result = workspace->result;
    const ChosenColours chosen{workspace->c64, workspace->result, workspace->palette,
                               workspace->mix};
    FindUnitMixes(chosen, scratch->ditherTable, settings, plan, scratch->units);
    const Picture& target = workspace->source;  // no adjustment at the defaults
    RefineCanvas canvas(run->result, workspace->c64, scratch->units, workspace->mix, target,
                        plan.firstColumn, *scratch);
    auto error = [&] {
      return testing::PlainSquares(testing::PlainBlurredError(run->result, target),
                                   plan.firstColumn) +
             OwnLumaWeight * testing::PlainOwnLuma(run->result, target, plan.firstColumn);
    };
    const double start = error();
    EXPECT_GT(PolishPass(canvas, PolishedPixels::Every), 0);
    const double polished = error();
    EXPECT_LT(polished, start);
    const int unitsChanged = ChooseUnitColours(canvas);
    const double chosenAnew = error();
    if (row.fourColours) {
      EXPECT_GT(unitsChanged, 0);
      EXPECT_LT(chosenAnew, polished);
    } else {
      EXPECT_EQ(unitsChanged, 0);
    }
    EXPECT_GT(PolishPass(canvas, PolishedPixels::NearChanges), 0);
    EXPECT_LT(error(), chosenAnew);
  }
}

void ExpectSameConversion(const Workspace& a, const Workspace& b)
{
  EXPECT_EQ(a.c64, b.c64);
  EXPECT_EQ(a.result, b.result);
  EXPECT_EQ(a.dithered, b.dithered);
  EXPECT_EQ(a.randomState, b.randomState);
}

// The same frame and settings give the same bytes, one after the other and
// on threads of their own at the same time (the searches and the pixel
// placement then share the processor differently).
TEST(Refine, GivesTheSameBytesOnEveryRun)
{
  for (DitherMethod method : {DitherMethod::Custom, DitherMethod::Random}) {
    SCOPED_TRACE(int(method));
    Settings settings;
    settings.dither.method = method;
    settings.refine = true;
    const auto first = Convert("rocket_frame.ppm", settings, 7);
    const auto second = Convert("rocket_frame.ppm", settings, 7);
    ExpectSameConversion(*first, *second);
    std::vector<std::unique_ptr<Workspace>> parallel(3);
    {
      std::vector<std::jthread> threads;
      for (auto& workspace : parallel) {
        threads.emplace_back(
            [&workspace, &settings] { workspace = Convert("rocket_frame.ppm", settings, 7); });
      }
    }
    for (const auto& workspace : parallel) {
      ExpectSameConversion(*first, *workspace);
    }
  }
}

// The refining dither repeats the first one's noise and leaves the generator
// where the first dither left it, so later conversions continue the sequence
// as they would without refining.
TEST(Refine, LeavesTheRandomSequenceWhereTheDitherLeftIt)
{
  Settings settings;
  settings.mode = GraphicMode::HiresFli;
  settings.dither.method = DitherMethod::Random;
  const auto plain = Convert("chelsea_frame.ppm", settings, 12345);
  settings.refine = true;
  const auto refined = Convert("chelsea_frame.ppm", settings, 12345);
  EXPECT_EQ(plain->randomState, refined->randomState);
  EXPECT_NE(plain->result, refined->result);
}

}  // namespace
}  // namespace pavona
