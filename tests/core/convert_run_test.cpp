#include "core/convert_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "c64/field_pictures.h"
#include "c64/fli_interlace_data.h"
#include "colour/mix_pair_codes.h"
#include "colour/mix_palette.h"
#include "core/picture_closeness.h"
#include "plan/conversion_plan.h"
#include "select/colour_search.h"
#include "support/decoded_pixel.h"
#include "support/ppm_frame.h"
#include "support/recording_progress.h"

namespace pavona {
namespace {

using testing::DecodePixel;
using testing::FieldColours;

using testing::ReadPpmFrame;
using testing::RecordingProgress;

std::unique_ptr<Workspace> WorkspaceWithPhoto(const char* name = "coffee_frame.ppm")
{
  auto workspace = std::make_unique<Workspace>();
  workspace->source = ReadPpmFrame(name);
  return workspace;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Runs the search the plan names on its own, on what the run handed it: the
// dithered picture and the mix table as the run left them.
struct DirectSearch {
  Picture result{};
  C64Data data{};
};

std::unique_ptr<DirectSearch> RunPlannedSearch(const Workspace& run, const Settings& settings)
{
  auto direct = std::make_unique<DirectSearch>();
  Picture& result = direct->result;
  C64Data& data = direct->data;
  result = run.dithered;
  const MixTable& table = run.mix;
  SilentProgress progress;
  const ConversionPlan plan = PlanConversion(settings);
  const SearchTables tables{table, run.palette, settings.measure, settings.flicker};
  RunColourSearch(plan.search, tables, result, data, progress);
  if (plan.fields.buildSharedBitmap) {
    BuildFliInterlaceData(result, table, data, progress);
  }
  return direct;
}

// The run does what its plan says: its picture and C64 data are those of the
// planned search run on its own (the alternation boxes are off, so no field
// step rearranges the data), and only the two-colour FLI interlace search is
// followed by the shared-bitmap builder.
TEST(ConvertRun, RunsThePlannedSearch)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    bool sameBanks, fourColours, extraBruteForce;
    ColourSearch search;
  };
  // clang-format off
  const Row rows[] = {
      {"fli",                                 GraphicMode::HiresFli,          false, true,  false, ColourSearch::Fli},
      {"fli extreme",                         GraphicMode::HiresFli,          false, true,  true,  ColourSearch::FliExtreme},
      {"fli interlace, two colours",          GraphicMode::HiresFliInterlace, false, false, true,  ColourSearch::FliInterlace},
      {"fli interlace, four colours extreme", GraphicMode::HiresFliInterlace, false, true,  true,  ColourSearch::FliFourColoursExtreme},
      {"fli interlace, four colours",         GraphicMode::HiresFliInterlace, false, true,  false, ColourSearch::FliFourColours},
      {"fli interlace, same banks",           GraphicMode::HiresFliInterlace, true,  false, false, ColourSearch::SingleBankFli},
      {"hires",                               GraphicMode::HiresStandard,     true,  true,  true,  ColourSearch::Hires},
      {"hires interlaced, same banks",        GraphicMode::HiresInterlaced,   true,  false, false, ColourSearch::SingleBankHires},
      {"hires interlaced",                    GraphicMode::HiresInterlaced,   false, false, false, ColourSearch::HiresInterlace},
  };
  // clang-format on
  auto workspace = WorkspaceWithPhoto();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings;
    settings.mode = row.mode;
    settings.sameBanks = row.sameBanks;
    settings.fourColours = row.fourColours;
    settings.extraBruteForce = row.extraBruteForce;
    settings.alternateY = false;
    // "Off" after the luma reduction: the four-colour search gets the luma
    // mixes back, so the table the run hands over differs from the dither's.
    settings.flicker = FlickerLevel::Off;
    settings.measure = Measure::Brightness;
    const ConversionPlan plan = PlanConversion(settings);
    ASSERT_EQ(plan.search, row.search);
    RecordingProgress progress;
    const ConversionOutcome outcome = ConvertRun(*workspace, settings, progress);
    EXPECT_FALSE(outcome.stopped);

    const auto direct = RunPlannedSearch(*workspace, settings);
    EXPECT_EQ(direct->result, workspace->result);
    EXPECT_EQ(direct->data, workspace->c64);
    EXPECT_EQ(
        IsRemovedMix(workspace->mix, PairSlot(0, 3)),
        IsInterlaced(row.mode) && !row.sameBanks && row.search != ColourSearch::FliFourColours)
        << "the luma reduction takes out the mix of 0 and 3";

    const auto& statuses = progress.statuses;
    const auto announced = std::find(statuses.begin(), statuses.end(),
                                     "Brute Force HI-FLI color selection in progress");
    ASSERT_NE(announced, statuses.end());
    EXPECT_TRUE(Contains(statuses, "Custom Dithering Image using 136 mix colors"));
    EXPECT_EQ(Contains(statuses, "Converting data to C64 format"), plan.fields.buildSharedBitmap);
    EXPECT_EQ(statuses.back(), " ");
    EXPECT_EQ(progress.positions.back(), 0);
    ASSERT_TRUE(workspace->converted.has_value());
    EXPECT_EQ(*workspace->converted, settings);
    EXPECT_TRUE(workspace->conversionDone);
  }
}

TEST(ConvertRun, FliModesLeaveTheFirst24ColumnsAtMixColourZero)
{
  auto workspace = WorkspaceWithPhoto("rocket_frame.ppm");
  for (GraphicMode mode :
       {GraphicMode::HiresFli, GraphicMode::HiresFliInterlace, GraphicMode::HiresStandard}) {
    Settings settings;
    settings.mode = mode;
    SilentProgress progress;
    ConvertRun(*workspace, settings, progress);
    int zeroColumns = 0;
    for (int x = 0; x < 24; ++x) {
      bool allZero = true;
      for (int y = 0; y < PictureHeight; ++y) {
        allZero = allZero && workspace->dithered[PixelIndex(x, y)] == workspace->mix.colour[0];
      }
      zeroColumns += allZero ? 1 : 0;
    }
    EXPECT_EQ(PlanConversion(settings).firstColumn, IsFli(mode) ? 24 : 0);
    if (IsFli(mode)) {
      EXPECT_EQ(zeroColumns, 24);
    } else {
      EXPECT_LT(zeroColumns, 24) << "the photo is not black at the left edge";
    }
  }
}

TEST(CountErrorPixels, ShowsTheWholePercentageRoundedDown)
{
  struct Case {
    int changed, percent;
  };
  // 3200 changed pixels are exactly 5% and 6400 exactly 10%.
  const Case cases[] = {{0, 0},     {639, 0},   {640, 1},    {3200, 5},
                        {6400, 10}, {7040, 11}, {63999, 99}, {64000, 100}};
  Picture dithered{};
  for (const Case& c : cases) {
    Picture result{};
    std::fill(result.begin(), result.begin() + c.changed, 0x123456u);
    const ConversionOutcome outcome = CountErrorPixels(result, dithered);
    EXPECT_EQ(outcome.changedPixels, c.changed);
    EXPECT_EQ(outcome.errorPercent, c.percent) << c.changed;
  }
}

// On a real photo, in every mode that mixes through the table, what the two
// fields show blends to exactly the converted picture; the alternation steps
// only change which field shows which colour.
TEST(ConvertRun, FieldsMixBackToTheResultInEveryTableMode)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    bool fourColours, extraBruteForce, alternateX8;
  };
  const Row rows[] = {
      {"fli interlace default", GraphicMode::HiresFliInterlace, true, false, false},
      {"fli interlace alternate x8", GraphicMode::HiresFliInterlace, true, false, true},
      {"fli interlace two colours", GraphicMode::HiresFliInterlace, false, false, true},
      {"fli interlace extreme", GraphicMode::HiresFliInterlace, true, true, false},
      {"hires interlaced", GraphicMode::HiresInterlaced, false, false, false},
      {"hires", GraphicMode::HiresStandard, false, false, false},
      {"fli", GraphicMode::HiresFli, false, false, false},
  };
  auto workspace = WorkspaceWithPhoto("chelsea_frame.ppm");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings;
    settings.mode = row.mode;
    settings.fourColours = row.fourColours;
    settings.extraBruteForce = row.extraBruteForce;
    settings.alternateX8 = row.alternateX8;
    SilentProgress progress;
    ConvertRun(*workspace, settings, progress);
    int mismatches = 0;
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        const FieldColours c = DecodePixel(workspace->c64, row.mode, x, y);
        const int slot = IsInterlaced(row.mode) ? MixSlotOfColours(c.field1, c.field2) : c.field1;
        mismatches += workspace->mix.colour[slot] == workspace->result[PixelIndex(x, y)] ? 0 : 1;
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

// With "Same Col Banks" the disabled "4 cols per 8x1" box changes nothing:
// the shared-bitmap builder does not overwrite the single-bank data, and the
// row alternation exchanges the fields' own bitmaps either way.
TEST(ConvertRun, SameBanksIgnoresTheFourColoursBox)
{
  Settings settings;
  settings.sameBanks = true;
  settings.alternateX = true;
  auto withBox = WorkspaceWithPhoto();
  auto withoutBox = WorkspaceWithPhoto();
  SilentProgress progress;
  ConvertRun(*withBox, settings, progress);
  settings.fourColours = false;
  ConvertRun(*withoutBox, settings, progress);
  EXPECT_EQ(withBox->c64, withoutBox->c64);
  EXPECT_EQ(withBox->result, withoutBox->result);

  // Where both fields show the same colour the C64 shows that colour itself.
  const C64Palette& palette = withBox->palette;
  int checked = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const FieldColours c = DecodePixel(withBox->c64, settings.mode, x, y);
      if (c.field1 == c.field2) {
        EXPECT_EQ(withBox->result[PixelIndex(x, y)], palette[c.field1]) << x << "," << y;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, PixelCount / 4);
}

TEST(ConvertRun, PreviewDecodingShowsTheFieldsOfTheData)
{
  auto workspace = WorkspaceWithPhoto();
  SilentProgress progress;
  ConvertRun(*workspace, Settings{}, progress);
  const auto fields = std::make_unique<FieldPictures>(DecodeFields(
      workspace->c64, PlanConversion(*workspace->converted).output, workspace->palette));
  for (int y = 0; y < PictureHeight; y += 7) {
    for (int x = 0; x < PictureWidth; x += 3) {
      const FieldColours c = DecodePixel(workspace->c64, GraphicMode::HiresFliInterlace, x, y);
      EXPECT_EQ(fields->field1[PixelIndex(x, y)], workspace->palette[c.field1]);
      EXPECT_EQ(fields->field2[PixelIndex(x, y)], workspace->palette[c.field2]);
    }
  }
}

// "Alternate Y" hands every even pixel row's colours to the other field; the
// previews decode that, so field 1 shows on even rows what field 2 showed
// without the option, and the odd rows stay.
TEST(ConvertRun, AlternateYExchangesTheEvenRowsOfTheFields)
{
  for (GraphicMode mode : {GraphicMode::HiresFliInterlace, GraphicMode::HiresInterlaced}) {
    SCOPED_TRACE(mode == GraphicMode::HiresFliInterlace ? "fli interlace" : "hires interlaced");
    Settings settings;
    settings.mode = mode;
    settings.sameBanks = mode == GraphicMode::HiresInterlaced;  // its only alternating kind
    auto plain = WorkspaceWithPhoto();
    auto alternated = WorkspaceWithPhoto();
    SilentProgress progress;
    settings.alternateY = false;
    ConvertRun(*plain, settings, progress);
    settings.alternateY = true;
    ConvertRun(*alternated, settings, progress);
    ASSERT_EQ(plain->result, alternated->result);

    const auto decode = [](const Workspace& workspace) {
      return std::make_unique<FieldPictures>(DecodeFields(
          workspace.c64, PlanConversion(*workspace.converted).output, workspace.palette));
    };
    const auto plainFields = decode(*plain), alternatedFields = decode(*alternated);
    int differingRows = 0;
    for (int y = 0; y < PictureHeight; ++y) {
      const auto row = [y](const Picture& picture) {
        return std::vector<std::uint32_t>(picture.begin() + PixelIndex(0, y),
                                          picture.begin() + PixelIndex(0, y + 1));
      };
      const bool exchanged = y % 2 == 0;
      EXPECT_EQ(row(alternatedFields->field1),
                row(exchanged ? plainFields->field2 : plainFields->field1))
          << y;
      EXPECT_EQ(row(alternatedFields->field2),
                row(exchanged ? plainFields->field1 : plainFields->field2))
          << y;
      differingRows += row(plainFields->field1) != row(plainFields->field2) ? 1 : 0;
    }
    EXPECT_GT(differingRows, 50) << "the fields must differ for the check to mean anything";
  }
}

// Says stop once it has been asked a number of times after a given status
// text was shown, so that the stop hits the stage that shows it. It stays
// stopped. The searches ask from their worker threads.
class StoppingProgress final : public ProgressReport {
 public:
  StoppingProgress(std::string stage, int allowedPolls)
      : stage_(std::move(stage)), allowedPolls_(allowedPolls)
  {
  }

  void SetStatus(std::string_view text) override
  {
    if (text == stage_) {
      counting_ = true;
    }
  }
  void SetProgress(int position) override
  {
    if (counting_ && !stopped_ && position != 0) {
      ++positionsBeforeStop;
    }
  }
  // A row finished just as the stop came may still be shown; the whole
  // picture (the dithered one, or the result of the run) never is.
  void ShowRows(const Picture&, int, int rowCount) override
  {
    wholePicturesShownAfterStop += stopped_ && rowCount == PictureHeight ? 1 : 0;
  }
  void ShowMixTable(const MixTable&) override {}
  void ReportStrayColour(std::uint32_t) override {}
  bool ShouldContinue() const override
  {
    if (!counting_ || polls_++ < allowedPolls_) {
      return true;
    }
    stopped_ = true;
    return false;
  }

  int positionsBeforeStop = 0;  // progress the stage reported once counting began
  int wholePicturesShownAfterStop = 0;
  bool Stopped() const { return stopped_; }

 private:
  std::string stage_;
  int allowedPolls_;
  std::atomic<bool> counting_{false};
  mutable std::atomic<int> polls_{0};
  mutable std::atomic<bool> stopped_{false};
};

// Everything a run may change in the workspace, as it was.
struct WorkspaceCopy {
  explicit WorkspaceCopy(const Workspace& w)
      : source(w.source),
        adjusted(w.adjusted),
        dithered(w.dithered),
        result(w.result),
        palette(w.palette),
        mix(w.mix),
        c64(w.c64),
        conversionDone(w.conversionDone),
        converted(w.converted),
        randomState(w.randomState)
  {
  }

  void ExpectSameAs(const Workspace& w) const
  {
    EXPECT_EQ(w.source, source);
    EXPECT_EQ(w.adjusted.red, adjusted.red);
    EXPECT_EQ(w.adjusted.green, adjusted.green);
    EXPECT_EQ(w.adjusted.blue, adjusted.blue);
    EXPECT_EQ(w.dithered, dithered);
    EXPECT_EQ(w.result, result);
    EXPECT_EQ(w.palette, palette);
    EXPECT_EQ(w.mix, mix);
    EXPECT_EQ(w.c64, c64);
    EXPECT_EQ(w.conversionDone, conversionDone);
    EXPECT_EQ(w.converted, converted);
    EXPECT_EQ(w.randomState, randomState);
  }

  Picture source;
  AdjustedPlanes adjusted;
  Picture dithered, result;
  C64Palette palette;
  MixTable mix;
  C64Data c64;
  bool conversionDone;
  std::optional<Settings> converted;
  std::uint32_t randomState;
};

// A run told to stop, whether in the dithering or in any of the searches,
// leaves the previous conversion in the workspace bit for bit, shows no
// result, and its stage stops early rather than running to its end.
TEST(ConvertRun, AStoppedRunLeavesThePreviousConversion)
{
  const std::string selection = "Brute Force HI-FLI color selection in progress";
  struct Row {
    const char* name;
    GraphicMode mode;
    bool sameBanks, fourColours, extraBruteForce;
    std::string stage;  // the status after which the polls are counted
    int allowedPolls;
  };
  // clang-format off
  const Row rows[] = {
      {"in the dithering",                    GraphicMode::HiresFliInterlace, false, true,  false, "random dithering image", 3},
      {"fli",                                 GraphicMode::HiresFli,          false, true,  false, selection, 0},
      {"fli extreme",                         GraphicMode::HiresFli,          false, true,  true,  selection, 3},
      {"fli interlace, two colours",          GraphicMode::HiresFliInterlace, false, false, false, selection, 3},
      {"fli interlace, four colours extreme", GraphicMode::HiresFliInterlace, false, true,  true,  selection, 3},
      {"fli interlace, four colours",         GraphicMode::HiresFliInterlace, false, true,  false, selection, 3},
      {"fli interlace, same banks",           GraphicMode::HiresFliInterlace, true,  false, false, selection, 3},
      {"hires",                               GraphicMode::HiresStandard,     false, false, false, selection, 3},
      {"hires interlaced, same banks",        GraphicMode::HiresInterlaced,   true,  false, false, selection, 3},
      {"hires interlaced",                    GraphicMode::HiresInterlaced,   false, false, false, selection, 3},
  };
  // clang-format on
  auto workspace = WorkspaceWithPhoto();
  Settings previous;
  previous.mode = GraphicMode::HiresInterlaced;
  previous.dither.method = DitherMethod::Random;
  SilentProgress silent;
  ConvertRun(*workspace, previous, silent);
  const auto before = std::make_unique<WorkspaceCopy>(*workspace);
  ASSERT_NE(before->randomState, 1u) << "the random dither must have moved on";

  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings;
    settings.mode = row.mode;
    settings.sameBanks = row.sameBanks;
    settings.fourColours = row.fourColours;
    settings.extraBruteForce = row.extraBruteForce;
    settings.dither.method = DitherMethod::Random;
    settings.palette = PaletteId::Vice;
    StoppingProgress progress(row.stage, row.allowedPolls);
    const ConversionOutcome outcome = ConvertRun(*workspace, settings, progress);
    EXPECT_TRUE(outcome.stopped);
    ASSERT_TRUE(progress.Stopped());
    before->ExpectSameAs(*workspace);
    EXPECT_EQ(progress.wholePicturesShownAfterStop, 0);
    // A whole search reports 24 cell rows or 199 pixel rows.
    EXPECT_LT(progress.positionsBeforeStop, 8);
  }

  // The same run, never stopped, does change the workspace.
  StoppingProgress unstopped(selection, 1 << 30);
  Settings settings;
  settings.dither.method = DitherMethod::Random;
  EXPECT_FALSE(ConvertRun(*workspace, settings, unstopped).stopped);
  EXPECT_NE(workspace->randomState, before->randomState);
  EXPECT_NE(workspace->c64, before->c64);
}

}  // namespace
}  // namespace pavona

namespace pavona {
namespace {

// A palette loaded from a file is used wherever a built-in one is: the mix
// table and its flicker reductions, the searches that work from the palette
// itself, and the colours the fields are shown in.
TEST(ConvertRun, ACustomPaletteActsAsTheBuiltInOneWithItsColours)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    bool sameBanks, fourColours;
    Measure measure;
  };
  const Row rows[] = {
      {"fli interlace, four colours", GraphicMode::HiresFliInterlace, false, true,
       Measure::Perceptual},
      {"fli interlace, same banks", GraphicMode::HiresFliInterlace, true, false,
       Measure::RgbDistance},
      {"hires interlaced, luma", GraphicMode::HiresInterlaced, false, false, Measure::Brightness},
      {"hires interlaced, same banks", GraphicMode::HiresInterlaced, true, false,
       Measure::Perceptual},
      {"fli", GraphicMode::HiresFli, false, false, Measure::Perceptual},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings builtIn;
    builtIn.mode = row.mode;
    builtIn.sameBanks = row.sameBanks;
    builtIn.fourColours = row.fourColours;
    builtIn.measure = row.measure;
    builtIn.flicker = FlickerLevel::Heavy;
    builtIn.palette = PaletteId::Frodo;
    Settings custom = builtIn;
    custom.palette = PaletteId::Custom;
    custom.customPalette = PaletteColours(PaletteId::Frodo);

    auto expected = WorkspaceWithPhoto("chelsea_frame.ppm");
    auto actual = WorkspaceWithPhoto("chelsea_frame.ppm");
    SilentProgress progress;
    ConvertRun(*expected, builtIn, progress);
    ConvertRun(*actual, custom, progress);
    EXPECT_EQ(actual->palette, PaletteColours(PaletteId::Frodo));
    EXPECT_TRUE(actual->mix == expected->mix);
    EXPECT_TRUE(actual->c64 == expected->c64);
    EXPECT_TRUE(actual->result == expected->result);
  }
}

}  // namespace
}  // namespace pavona

namespace pavona {
namespace {

// The window converts in a workspace of its own while it goes on changing the
// one it shows (the mix table and palette previews): a run there, copied in
// and out, must give what a run in the shown workspace gives, run after run
// (the random state and the planes' tails carry over).
TEST(ConvertRun, ARunInAWorkspaceOfItsOwnGivesTheSameBytes)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    DitherMethod dither;
    bool refine;
  };
  // clang-format off
  const Row rows[] = {
      {"random dither, fli interlace",  GraphicMode::HiresFliInterlace, DitherMethod::Random,         false},
      {"diffusion, hires",              GraphicMode::HiresStandard,     DitherMethod::FloydSteinberg, false},
      {"random dither again, refined",  GraphicMode::HiresFli,          DitherMethod::Random,         true},
      {"custom diffusion, interlaced",  GraphicMode::HiresInterlaced,   DitherMethod::Custom,         false},
  };
  // clang-format on
  auto direct = WorkspaceWithPhoto();
  auto shown = WorkspaceWithPhoto();
  auto run = std::make_unique<Workspace>();
  SilentProgress silent;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings;
    settings.mode = row.mode;
    settings.dither.method = row.dither;
    settings.refine = row.refine;
    // What the window's handlers leave in the shown workspace meanwhile.
    shown->palette = PaletteColours(PaletteId::Frodo);
    BuildMixPalette(shown->mix, shown->palette, MixMethod::Yuv, GraphicMode::HiresStandard);

    // And what an earlier run, perhaps stopped, left in the run's own.
    run->adjusted.red.fill(0xA5);
    run->adjusted.blue.fill(0x3C);
    run->randomState = 7;

    const ConversionOutcome expected = ConvertRun(*direct, settings, silent);
    CopyRunInputs(*shown, *run);
    const ConversionOutcome outcome = ConvertRun(*run, settings, silent);
    CopyRunResults(*run, *shown);
    EXPECT_EQ(outcome.changedPixels, expected.changedPixels);
    std::make_unique<WorkspaceCopy>(*direct)->ExpectSameAs(*shown);
  }
}

}  // namespace
}  // namespace pavona

namespace pavona {
namespace {

// A run that nothing can stop converts in the workspace itself; one that could
// be stopped converts apart and copies its result in. Both leave the same
// bytes run after run in one workspace (nothing of an earlier mode's data
// lingers), and the closeness is measured only when asked for.
TEST(ConvertRun, InPlaceAndApartRunsLeaveTheSameBytes)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    DitherMethod dither;
    bool refine;
  };
  // clang-format off
  const Row rows[] = {
      {"fli interlace, random dither",  GraphicMode::HiresFliInterlace,    DitherMethod::Random,         false},
      {"hires after it, refined",       GraphicMode::HiresStandard,        DitherMethod::FloydSteinberg, true},
      {"multicolour interlace",         GraphicMode::MulticolourInterlace, DitherMethod::Custom,         false},
      {"multicolour fli",               GraphicMode::MulticolourFli,       DitherMethod::Random,         false},
      {"hires interlaced",              GraphicMode::HiresInterlaced,      DitherMethod::Custom,         false},
  };
  // clang-format on
  auto inPlace = WorkspaceWithPhoto();
  auto apart = WorkspaceWithPhoto();
  SilentProgress silent;
  StoppingProgress watched("a stage no run shows", 0);  // may stop, never does
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings;
    settings.mode = row.mode;
    settings.dither.method = row.dither;
    settings.refine = row.refine;
    const ConversionOutcome quick = ConvertRun(*inPlace, settings, silent, Closeness::Skip);
    const ConversionOutcome measured = ConvertRun(*apart, settings, watched);
    EXPECT_FALSE(quick.stopped);
    EXPECT_FALSE(quick.closenessDb.has_value());
    EXPECT_EQ(quick.changedPixels, measured.changedPixels);
    std::make_unique<WorkspaceCopy>(*apart)->ExpectSameAs(*inPlace);
    // The default adjustment leaves the frame as it is: it is the photo.
    ASSERT_TRUE(measured.closenessDb.has_value());
    EXPECT_DOUBLE_EQ(*measured.closenessDb, BlurredPsnr(inPlace->source, inPlace->result,
                                                        PlanConversion(settings).firstColumn));
  }
}

}  // namespace
}  // namespace pavona

namespace pavona {
namespace {

// The workspace and a run's own pictures are made on huge pages where the
// system has them, and start as fresh values do.
TEST(Workspace, MadeOnHugePagesAsFreshValues)
{
  const auto workspace = std::make_unique<Workspace>();
  const auto run = std::make_unique<RunPictures>();
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
  constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(workspace.get()) % HugePage, 0u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(run.get()) % HugePage, 0u);
#endif
  EXPECT_EQ(workspace->randomState, 1u);
  EXPECT_EQ(workspace->palette, PaletteColours(PaletteId::Pepto));
  EXPECT_EQ(run->result[PixelCount - 1], 0u);
  EXPECT_EQ(run->c64.back(), 0);
}

}  // namespace
}  // namespace pavona
