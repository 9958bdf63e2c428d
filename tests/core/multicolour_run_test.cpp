// Whole conversions in the multicolour modes on a real frame: what the C64
// can show, and files that hold exactly the result.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "c64/field_pictures.h"
#include "c64/raw_data_file.h"
#include "c64/scene_formats.h"
#include "colour/mix_palette.h"
#include "core/convert_run.h"
#include "plan/conversion_plan.h"
#include "support/multicolour_decoder.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

struct ModeRow {
  const char* name;
  GraphicMode mode;
  int firstColumn;
  std::size_t editorFileSize;
};

const ModeRow Modes[] = {
    {"Multicolour", GraphicMode::Multicolour, 0, 10003},
    {"Multicolour FLI", GraphicMode::MulticolourFli, 24, 17409},
    {"Multicolour Interlace", GraphicMode::MulticolourInterlace, 0, 19434},
};

std::unique_ptr<Workspace> Converted(GraphicMode mode, const char* frame = "coffee_frame.ppm")
{
  auto workspace = std::make_unique<Workspace>();
  workspace->source = testing::ReadPpmFrame(frame);
  Settings settings;
  settings.mode = mode;
  SilentProgress progress;
  EXPECT_FALSE(ConvertRun(*workspace, settings, progress).stopped);
  return workspace;
}

// The colours one multicolour field shows in a unit of `rows` rows of a
// 4-pixel-wide cell column, the background included.
std::set<std::uint32_t> UnitColours(const Picture& field, int cx, int firstRow, int rows)
{
  std::set<std::uint32_t> colours;
  for (int y = firstRow; y < firstRow + rows; ++y) {
    for (int x = cx * 8; x < cx * 8 + 8; ++x) {
      colours.insert(field[PixelIndex(x, y)]);
    }
  }
  return colours;
}

// Each field shows at most the background and three colours a cell (a span
// in FLI), in pixels two wide; the fields mix back to the result; the editor
// file is its format's size.
TEST(MulticolourRun, ShowsWhatTheC64CanAndFilesHoldTheResult)
{
  for (const ModeRow& row : Modes) {
    SCOPED_TRACE(row.name);
    const auto workspace = Converted(row.mode);
    const ConversionPlan plan = PlanConversion(*workspace->converted);
    EXPECT_EQ(plan.firstColumn, row.firstColumn);
    const auto fields = std::make_unique<FieldPictures>(
        DecodeFields(workspace->c64, plan.output, workspace->palette));
    const int unitRows = row.mode == GraphicMode::MulticolourFli ? 1 : 8;
    for (const Picture* field : {&fields->field1, &fields->field2}) {
      for (int y = 0; y < PictureHeight; ++y) {
        for (int x = plan.firstColumn; x + 1 < PictureWidth; x += 2) {
          if (row.mode != GraphicMode::MulticolourInterlace || field == &fields->field1) {
            ASSERT_EQ((*field)[PixelIndex(x, y)], (*field)[PixelIndex(x + 1, y)]) << x << "," << y;
          }
        }
      }
      for (int cx = plan.firstColumn / 8; cx < 40; ++cx) {
        for (int y = 0; y < PictureHeight; y += unitRows) {
          if (field == &fields->field1) {
            ASSERT_LE(UnitColours(*field, cx, y, unitRows).size(), 4u) << cx << "," << y;
          }
        }
      }
    }
    // Every mix, also those the flicker level took out of the run's table: a
    // cell may have no other way to show a pixel, and the C64 shows the mix.
    MixTable mix;
    BuildMixPalette(mix, workspace->palette, workspace->converted->mix, row.mode);
    const auto number = [&workspace](std::uint32_t colour) {
      const auto& palette = workspace->palette;
      return int(std::find(palette.begin(), palette.end(), colour) - palette.begin());
    };
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = plan.firstColumn; x < PictureWidth; ++x) {
        const int a = number(fields->field1[PixelIndex(x, y)]);
        const int b = number(fields->field2[PixelIndex(x, y)]);
        const std::uint32_t shown = IsInterlaced(row.mode)
                                        ? mix.colour[PairSlot(std::min(a, b), std::max(a, b))]
                                        : fields->field1[PixelIndex(x, y)];
        ASSERT_EQ(workspace->result[PixelIndex(x, y)], shown) << x << "," << y;
      }
    }
    const std::vector<std::uint8_t> editor = SceneFileBytes(workspace->c64, plan.output);
    EXPECT_EQ(editor.size(), row.editorFileSize);
    EXPECT_EQ(RawDataBytes(workspace->c64, plan.output),
              std::vector<std::uint8_t>(editor.begin() + 2, editor.end()));
  }
}

// Every editor file, decoded by a decoder written from the formats' published
// layouts, is exactly the result; for the interlace the result is the two
// fields' average, each channel rounded down (the RGB mix), on every frame.
TEST(MulticolourRun, EditorFilesDecodeToTheResult)
{
  for (const char* frame : {"coffee_frame.ppm", "chelsea_frame.ppm", "rocket_frame.ppm"}) {
    for (const ModeRow& row : Modes) {
      SCOPED_TRACE(std::string(frame) + " " + row.name);
      const auto workspace = Converted(row.mode, frame);
      const std::vector<std::uint8_t> file =
          SceneFileBytes(workspace->c64, PlanConversion(*workspace->converted).output);
      const C64Palette& palette = workspace->palette;
      auto decoded = std::make_unique<Picture>();
      switch (row.mode) {
        case GraphicMode::Multicolour:
          *decoded = testing::DecodeKoala(file, palette);
          break;
        case GraphicMode::MulticolourFli:
          *decoded = testing::DecodeFliGraph(file, palette);
          break;
        default: {
          const Picture one = testing::DecodeTruePaint(file, palette, 1);
          const Picture two = testing::DecodeTruePaint(file, palette, 2);
          for (int i = 0; i < PixelCount; ++i) {
            (*decoded)[i] = MakeColour((RedOf(one[i]) + RedOf(two[i])) / 2,
                                       (GreenOf(one[i]) + GreenOf(two[i])) / 2,
                                       (BlueOf(one[i]) + BlueOf(two[i])) / 2);
          }
        }
      }
      EXPECT_EQ(*decoded, workspace->result);
    }
  }
}

}  // namespace
}  // namespace pavona
