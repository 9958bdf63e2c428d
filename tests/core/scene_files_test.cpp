// The editors' file formats, read back by a small decoder written from the
// format descriptions and compared with the fields of real conversions.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "c64/field_pictures.h"
#include "c64/scene_formats.h"
#include "core/convert_run.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Where one field's colours are in a file: the bitmap, and per pixel row g of
// a cell the screen that colours it (eight apart by screenStep in FLI, the
// same screen for every row in hires).
struct FieldInFile {
  int bitmap;
  int screen;
  int screenStep;  // 1024 in FLI, 0 in hires
};

Picture DecodeFileField(const Bytes& file, FieldInFile field, const C64Palette& palette)
{
  Picture picture{};
  for (int r = 0; r < 25; ++r) {
    for (int c = 0; c < 40; ++c) {
      for (int g = 0; g < 8; ++g) {
        const std::uint8_t bits = file.at(std::size_t(field.bitmap + r * 320 + c * 8 + g));
        const std::uint8_t colours =
            file.at(std::size_t(field.screen + g * field.screenStep + r * 40 + c));
        for (int p = 0; p < 8; ++p) {
          const bool set = (bits >> (7 - p)) & 1;
          picture[PixelIndex(c * 8 + p, r * 8 + g)] = palette[set ? colours >> 4 : colours & 15];
        }
      }
    }
  }
  return picture;
}

struct FormatCase {
  const char* name;
  OutputKind kind;
  const char* photo;
  int size;
  int loadAddress;
  FieldInFile field1;
  FieldInFile field2;  // bitmap -1: the format has one field
};

// clang-format off
const FormatCase Cases[] = {
    {"art", {GraphicMode::HiresStandard, false, false}, "coffee_frame.ppm", 9009, 0x2000,
     {2, 8002, 0}, {-1, 0, 0}},
    {"hle", {GraphicMode::HiresInterlaced, false, false}, "chelsea_frame.ppm", 32770, 0x4000,
     {2, 8194, 0}, {24578, 16386, 0}},
    {"hle same banks", {GraphicMode::HiresInterlaced, true, false}, "rocket_frame.ppm", 32770,
     0x4000, {2, 8194, 0}, {24578, 16386, 0}},
    {"afl", {GraphicMode::HiresFli, false, false}, "rocket_frame.ppm", 16385, 0x4000,
     {8194, 2, 1024}, {-1, 0, 0}},
    {"eci four colours", {GraphicMode::HiresFliInterlace, false, false}, "coffee_frame.ppm", 32770,
     0x4000, {2, 8194, 1024}, {16386, 24578, 1024}},
    {"eci same banks", {GraphicMode::HiresFliInterlace, true, false}, "chelsea_frame.ppm", 32770,
     0x4000, {2, 8194, 1024}, {16386, 24578, 1024}},
    {"eci one bitmap", {GraphicMode::HiresFliInterlace, false, true}, "rocket_frame.ppm", 32770,
     0x4000, {2, 8194, 1024}, {16386, 24578, 1024}},
};
// clang-format on

// Marks the bytes a field's bitmap and screens occupy.
void MarkField(std::vector<bool>& used, FieldInFile field)
{
  if (field.bitmap < 0) {
    return;
  }
  for (int i = 0; i < 8000; ++i) {
    used.at(std::size_t(field.bitmap + i)) = true;
  }
  const int screens = field.screenStep == 0 ? 1 : 8;
  for (int k = 0; k < screens; ++k) {
    for (int i = 0; i < 1000; ++i) {
      used.at(std::size_t(field.screen + k * field.screenStep + i)) = true;
    }
  }
}

// The AFLI editor's sprite: its pointer in the last eight bytes of each screen,
// its 64 solid bytes at $7F80.
void CheckAndMarkAfliSprite(const Bytes& file, std::vector<bool>& used)
{
  for (int k = 0; k < 8; ++k) {
    for (int i = 1016; i < 1024; ++i) {
      const std::size_t at = std::size_t(2 + k * 1024 + i);
      EXPECT_EQ(file[at], 0xFE) << "screen " << k << " byte " << i;
      used[at] = true;
    }
  }
  for (std::size_t at = 16258; at <= 16321; ++at) {
    EXPECT_EQ(file[at], 0xFF) << at;
    used[at] = true;
  }
}

TEST(SceneFiles, DecodeToTheFieldsOfTheConversion)
{
  for (const FormatCase& row : Cases) {
    SCOPED_TRACE(row.name);
    auto workspace = std::make_unique<Workspace>();
    workspace->source = testing::ReadPpmFrame(row.photo);
    Settings settings;
    settings.mode = row.kind.mode;
    settings.sameBanks = row.kind.sameBanks;
    settings.fourColours = !row.kind.sharedBitmap;
    SilentProgress progress;
    ConvertRun(*workspace, settings, progress);

    const Bytes file = SceneFileBytes(workspace->c64, row.kind);
    ASSERT_EQ(int(file.size()), row.size);
    EXPECT_EQ(file[0] | file[1] << 8, row.loadAddress);
    EXPECT_EQ(SceneFormatInfoOf(SceneFormatOf(row.kind)).fileSize, row.size);

    const auto fields =
        std::make_unique<FieldPictures>(DecodeFields(workspace->c64, row.kind, workspace->palette));
    const Picture& field1 = fields->field1;
    const Picture& field2 = fields->field2;
    EXPECT_TRUE(DecodeFileField(file, row.field1, workspace->palette) == field1);
    if (row.field2.bitmap >= 0) {
      EXPECT_TRUE(DecodeFileField(file, row.field2, workspace->palette) == field2);
      EXPECT_FALSE(field1 == field2);  // the fields could not have been swapped unseen
    }

    std::vector<bool> used(file.size(), false);
    used[0] = used[1] = true;
    MarkField(used, row.field1);
    MarkField(used, row.field2);
    if (row.kind.mode == GraphicMode::HiresFli) {
      CheckAndMarkAfliSprite(file, used);
    }
    int strayBytes = 0;
    for (std::size_t at = 0; at < file.size(); ++at) {
      strayBytes += !used[at] && file[at] != 0 ? 1 : 0;
    }
    EXPECT_EQ(strayBytes, 0) << "unused bytes that are not 0";
  }
}

// Without "4 cols per 8x1" both FLI interlace fields show one bitmap, and the
// file holds it for each field.
TEST(SceneFiles, OneSharedBitmapIsWrittenForBothFields)
{
  C64Data data{};
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = std::uint8_t(i * 7 + i / 251);
  }
  const Bytes shared = SceneFileBytes(data, {GraphicMode::HiresFliInterlace, false, true});
  const Bytes own = SceneFileBytes(data, {GraphicMode::HiresFliInterlace, false, false});
  EXPECT_TRUE(std::equal(shared.begin() + 2, shared.begin() + 8002, shared.begin() + 16386));
  EXPECT_FALSE(std::equal(own.begin() + 2, own.begin() + 8002, own.begin() + 16386));
}

}  // namespace
}  // namespace pavona
