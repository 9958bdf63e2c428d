#include "c64/field_pictures.h"

#include <gtest/gtest.h>

#include <memory>

namespace pavona {
namespace {

// Sixteen distinct colours, so that every colour number decodes to its own value.
C64Palette TestPalette()
{
  C64Palette palette{};
  for (int n = 0; n < 16; ++n) {
    palette[n] = 0x010101u * std::uint32_t(n * 16 + 3);
  }
  return palette;
}

TEST(FieldPictures, HiresCellsDecodeAsTheVideoChipShowsThem)
{
  const C64Palette palette = TestPalette();
  auto data = std::make_unique<C64Data>();
  // Cell (2, 3): screen byte $10 over bitmap byte $80 on its pixel row 5: one
  // pixel of colour 1, then seven of colour 0. Field 2 has the same cell as
  // $A7 over $0F on pixel row 6.
  (*data)[0x0000 + 3 * 40 + 2] = 0x10;
  (*data)[0x0400 + 3 * 320 + 2 * 8 + 5] = 0x80;
  (*data)[0x2400 + 3 * 40 + 2] = 0xA7;
  (*data)[0x2800 + 3 * 320 + 2 * 8 + 6] = 0x0F;
  const auto fields = std::make_unique<FieldPictures>(
      DecodeFields(*data, {GraphicMode::HiresInterlaced, true, false}, palette));

  const int x0 = 16;
  const int y5 = 3 * 8 + 5;
  EXPECT_EQ(fields->field1[PixelIndex(x0, y5)], palette[1]);
  for (int l = 1; l < 8; ++l) {
    EXPECT_EQ(fields->field1[PixelIndex(x0 + l, y5)], palette[0]) << l;
  }
  // The cell's other rows: bitmap 0, so colour 0 (the screen byte's low nibble).
  EXPECT_EQ(fields->field1[PixelIndex(x0, y5 - 1)], palette[0]);
  const int y6 = 3 * 8 + 6;
  for (int l = 0; l < 8; ++l) {
    EXPECT_EQ(fields->field2[PixelIndex(x0 + l, y6)], palette[l < 4 ? 7 : 10]) << l;
  }
  // Field 2's other rows of that cell show colour 7 (0-bits), field 2's
  // other cells colour 0.
  EXPECT_EQ(fields->field2[PixelIndex(x0 + 3, y5)], palette[7]);
  EXPECT_EQ(fields->field2[PixelIndex(0, 0)], palette[0]);
}

TEST(FieldPictures, FliRowsTakeTheirColoursFromBankRowModEight)
{
  const C64Palette palette = TestPalette();
  auto data = std::make_unique<C64Data>();
  // Every cell: bitmap 0xF0 on every row; in bank r of field 1 the screen byte
  // is r * 16 + (15 - r), in bank r of field 2 it is (15 - r) * 16 + r.
  for (int offset = 0; offset < 8000; ++offset) {
    (*data)[0x2000 + offset] = 0xF0;
    (*data)[0x6000 + offset] = 0xF0;
  }
  for (int r = 0; r < 8; ++r) {
    for (int cell = 0; cell < 1000; ++cell) {
      (*data)[0x0000 + r * 1024 + cell] = std::uint8_t(r * 16 + (15 - r));
      (*data)[0x4000 + r * 1024 + cell] = std::uint8_t((15 - r) * 16 + r);
    }
  }
  const auto fields = std::make_unique<FieldPictures>(DecodeFields(*data, OutputKind{}, palette));
  for (int y = 0; y < PictureHeight; ++y) {
    SCOPED_TRACE(y);
    const int r = y % 8;
    for (int x : {0, 3, 4, 7, 23, 24, 319}) {
      const bool one = x % 8 < 4;
      ASSERT_EQ(fields->field1[PixelIndex(x, y)], palette[one ? r : 15 - r]) << x;
      ASSERT_EQ(fields->field2[PixelIndex(x, y)], palette[one ? 15 - r : r]) << x;
    }
  }
}

TEST(FieldPictures, FliCellsUseTheirOwnScreenAndBitmapBytes)
{
  const C64Palette palette = TestPalette();
  auto data = std::make_unique<C64Data>();
  // Cell (39, 24), pixel row 7 (the last span of the picture), in bank 7 of
  // field 2: screen byte $10 over bitmap byte $01, the rightmost pixel set.
  (*data)[0x4000 + 7 * 1024 + 24 * 40 + 39] = 0x10;
  (*data)[0x6000 + 24 * 320 + 39 * 8 + 7] = 0x01;
  const auto fields = std::make_unique<FieldPictures>(DecodeFields(*data, OutputKind{}, palette));
  EXPECT_EQ(fields->field2[PixelIndex(319, 199)], palette[1]);
  EXPECT_EQ(fields->field2[PixelIndex(318, 199)], palette[0]);
  EXPECT_EQ(fields->field1[PixelIndex(319, 199)], palette[0]);
}

// The layout follows the mode that filled the data, whatever its options: the
// FLI modes read eight screen banks, the hires modes one screen per field.
TEST(FieldPictures, TheModeOfTheConversionChoosesTheLayout)
{
  const C64Palette palette = TestPalette();
  auto data = std::make_unique<C64Data>();
  // Screen byte $21 at offset 0 of the data: the first hires screen of field
  // 1 and the first FLI bank of field 1 alike. The FLI bitmap of field 1
  // starts at $2000, where the hires bitmap holds a cell of row 22, so only
  // the FLI layout sees the first pixel set.
  (*data)[0x0000] = 0x21;
  (*data)[0x2000] = 0x80;
  struct Row {
    const char* name;
    OutputKind kind;
    bool fli;
  };
  const Row rows[] = {
      {"hires", {GraphicMode::HiresStandard, false, false}, false},
      {"hires interlaced", {GraphicMode::HiresInterlaced, false, false}, false},
      {"fli", {GraphicMode::HiresFli, false, false}, true},
      {"fli interlace, two colours", {GraphicMode::HiresFliInterlace, false, true}, true},
      {"fli interlace, same banks", {GraphicMode::HiresFliInterlace, true, false}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto fields = std::make_unique<FieldPictures>(DecodeFields(*data, row.kind, palette));
    EXPECT_EQ(fields->field1[PixelIndex(0, 0)], palette[row.fli ? 2 : 1]);
    // Pixel row 1 reads FLI bank 1, which is empty; the hires screen is the same.
    EXPECT_EQ(fields->field1[PixelIndex(1, 1)], palette[row.fli ? 0 : 1]);
  }
}

}  // namespace
}  // namespace pavona
