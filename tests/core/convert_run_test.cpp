#include "core/convert_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "c64/field_pictures.h"
#include "colour/mix_pair_codes.h"
#include "support/ppm_frame.h"
#include "support/recording_progress.h"

namespace pavona {
namespace {

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

TEST(ConvertRun, RunsTheSelectionOfTheModeAndOptions)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    bool sameBanks, fourColours, extraBruteForce;
    const char* selectionStatus;  // nullptr: the search sets no text of its own
    bool buildsSharedBitmap;
  };
  const Row rows[] = {
      {"fli", GraphicMode::HiresFli, false, true, false,
       "Brute Force HI-FLI color selection in progress", false},
      {"fli extreme", GraphicMode::HiresFli, false, true, true,
       "Extreme Brute Force Hi-fli color selection in progress", false},
      {"fli interlace, two colours", GraphicMode::HiresFliInterlace, false, false, true, nullptr,
       true},
      {"fli interlace, four colours extreme", GraphicMode::HiresFliInterlace, false, true, true,
       "Extreme Brute Force Hi-fli interlaced color selection in progress", false},
      {"fli interlace, four colours", GraphicMode::HiresFliInterlace, false, true, false,
       "Brute Force 4Color HI-FLI color selection in progress", false},
      {"fli interlace, same banks", GraphicMode::HiresFliInterlace, true, false, false,
       "Brute Force Single bank HI-FLI color selection in progress", false},
      {"hires", GraphicMode::HiresStandard, true, true, true,
       "Brute Force Hires color selection in progress", false},
      {"hires interlaced, same banks", GraphicMode::HiresInterlaced, true, false, false,
       "Brute Force Single bank hires color selection in progress", false},
      {"hires interlaced", GraphicMode::HiresInterlaced, false, false, false,
       "Brute Force hires interlaced color selection in progress", false},
  };
  auto workspace = WorkspaceWithPhoto();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings;
    settings.mode = row.mode;
    settings.sameBanks = row.sameBanks;
    settings.fourColours = row.fourColours;
    settings.extraBruteForce = row.extraBruteForce;
    RecordingProgress progress;
    ConvertRun(*workspace, settings, progress);

    const auto& statuses = progress.statuses;
    const auto announced = std::find(statuses.begin(), statuses.end(),
                                     "Brute Force HI-FLI color selection in progress");
    ASSERT_NE(announced, statuses.end());
    EXPECT_TRUE(Contains(statuses, "Custom Dithering Image using 136 mix colors"));
    if (row.selectionStatus != nullptr) {
      // The announcement comes first; for "Hires FLI" the search repeats it.
      EXPECT_NE(std::find(announced + (row.mode == GraphicMode::HiresFli ? 1 : 0), statuses.end(),
                          row.selectionStatus),
                statuses.end());
    }
    EXPECT_EQ(Contains(statuses, "Converting data to C64 format"), row.buildsSharedBitmap);
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
    EXPECT_EQ(FirstColumn(mode), IsFli(mode) ? 24 : 0);
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

// The colour numbers of pixel (x, y) in each field, read from the C64 data
// the way the video chip reads it.
struct FieldColours {
  int field1, field2;
};

FieldColours DecodePixel(const C64Data& data, GraphicMode mode, int x, int y)
{
  const int cx = x / 8, cy = y / 8, row = y % 8, bit = 7 - x % 8;
  FieldColours colours{};
  for (int field = 0; field < 2; ++field) {
    int screen, bitmap;
    if (IsFli(mode)) {
      screen = field * 0x4000 + row * ScreenBankSize + ScreenOffset(cx, cy);
      bitmap = field * 0x4000 + 0x2000 + BitmapOffset(cx, cy, row);
    } else {
      screen = field * 0x2400 + ScreenOffset(cx, cy);
      bitmap = field * 0x2400 + 0x0400 + BitmapOffset(cx, cy, row);
    }
    const int colour = (data[bitmap] >> bit) & 1 ? data[screen] >> 4 : data[screen] & 15;
    (field == 0 ? colours.field1 : colours.field2) = colour;
  }
  return colours;
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
  BuildFliFieldPictures(workspace->c64, workspace->palette, workspace->field1, workspace->field2);
  for (int y = 0; y < PictureHeight; y += 7) {
    for (int x = 0; x < PictureWidth; x += 3) {
      const FieldColours c = DecodePixel(workspace->c64, GraphicMode::HiresFliInterlace, x, y);
      EXPECT_EQ(workspace->field1[PixelIndex(x, y)], workspace->palette[c.field1]);
      EXPECT_EQ(workspace->field2[PixelIndex(x, y)], workspace->palette[c.field2]);
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

    const auto decode = IsFli(mode) ? BuildFliFieldPictures : BuildHiresFieldPictures;
    for (Workspace* workspace : {plain.get(), alternated.get()}) {
      decode(workspace->c64, workspace->palette, workspace->field1, workspace->field2);
    }
    int differingRows = 0;
    for (int y = 0; y < PictureHeight; ++y) {
      const auto row = [y](const Picture& picture) {
        return std::vector<std::uint32_t>(picture.begin() + PixelIndex(0, y),
                                          picture.begin() + PixelIndex(0, y + 1));
      };
      const bool exchanged = y % 2 == 0;
      EXPECT_EQ(row(alternated->field1), row(exchanged ? plain->field2 : plain->field1)) << y;
      EXPECT_EQ(row(alternated->field2), row(exchanged ? plain->field1 : plain->field2)) << y;
      differingRows += row(plain->field1) != row(plain->field2) ? 1 : 0;
    }
    EXPECT_GT(differingRows, 50) << "the fields must differ for the check to mean anything";
  }
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
