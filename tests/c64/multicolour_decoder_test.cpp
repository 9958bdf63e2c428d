// The test decoder of the multicolour editor files, first against tiny files
// set up by hand, then against the files the program writes: every pixel
// decoded from a file must be the one the multicolour regions of C64Data say.

#include "support/multicolour_decoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "c64/scene_formats.h"

namespace pavona::testing {
namespace {

// Colour n is 0x010101 * (n + 1) * 15, so that every colour number shows.
C64Palette Numbered()
{
  C64Palette palette{};
  for (int n = 0; n < 16; ++n) {
    palette[std::size_t(n)] = std::uint32_t(0x010101 * (n + 1) * 15);
  }
  return palette;
}

std::vector<std::uint8_t> EmptyFile(int size, int loadAddress)
{
  std::vector<std::uint8_t> file(std::size_t(size), 0);
  file[0] = std::uint8_t(loadAddress & 0xFF);
  file[1] = std::uint8_t(loadAddress >> 8);
  return file;
}

// The colour numbers of the eight hires pixels of a cell row, left to right.
std::vector<int> RowColours(const Picture& picture, const C64Palette& palette, int x0, int y)
{
  std::vector<int> colours;
  for (int x = x0; x < x0 + 8; ++x) {
    const std::uint32_t value = picture[std::size_t(PixelIndex(x, y))];
    int number = -1;
    for (int n = 0; n < 16; ++n) {
      if (palette[std::size_t(n)] == value) {
        number = n;
      }
    }
    colours.push_back(number);
  }
  return colours;
}

TEST(MulticolourDecoder, HandMadeKoala)
{
  const C64Palette palette = Numbered();
  auto file = EmptyFile(10003, 0x6000);
  file[10002] = 0xFB;  // background 11; the high nibble is not a colour
  // Cell (0, 0), row 0: background, screen high, screen low, colour RAM.
  file[2] = 0b00'01'10'11;
  file[8002] = 0x52;
  file[9002] = 0xF7;
  // Cell (39, 24), row 7, the last bitmap byte: the other way round.
  file[2 + 24 * 320 + 39 * 8 + 7] = 0b11'10'01'00;
  file[8002 + 999] = 0x3C;
  file[9002 + 999] = 0x04;
  const auto picture = std::make_unique<Picture>(DecodeKoala(file, palette));
  EXPECT_EQ(RowColours(*picture, palette, 0, 0), (std::vector<int>{11, 11, 5, 5, 2, 2, 7, 7}));
  EXPECT_EQ(RowColours(*picture, palette, 0, 1), (std::vector<int>(8, 11))) << "row 1 unset";
  EXPECT_EQ(RowColours(*picture, palette, 312, 199),
            (std::vector<int>{4, 4, 12, 12, 3, 3, 11, 11}));
  EXPECT_EQ(RowColours(*picture, palette, 160, 100), (std::vector<int>(8, 11)));
}

TEST(MulticolourDecoder, HandMadeFliGraph)
{
  const C64Palette palette = Numbered();
  auto file = EmptyFile(17409, 0x3C00);
  // Cell (3, 1): row 0 from screen 0, row 5 from screen 5; the colour RAM
  // serves every row.
  const int cell = 1 * 40 + 3;
  file[2 + cell] = 0x09;
  file[9218 + 320 + 3 * 8 + 0] = 0b01'10'11'00;
  file[9218 + 320 + 3 * 8 + 5] = 0b01'10'11'00;
  file[1026 + cell] = 0x12;
  file[1026 + 5 * 1024 + cell] = 0xAB;
  // Cell (2, 0) is under the hidden columns, whatever it holds.
  file[9218 + 2 * 8] = 0xFF;
  file[2 + 2] = 0x0E;
  const auto picture = std::make_unique<Picture>(DecodeFliGraph(file, palette));
  EXPECT_EQ(RowColours(*picture, palette, 24, 8), (std::vector<int>{1, 1, 2, 2, 9, 9, 0, 0}));
  EXPECT_EQ(RowColours(*picture, palette, 24, 13), (std::vector<int>{10, 10, 11, 11, 9, 9, 0, 0}));
  EXPECT_EQ(RowColours(*picture, palette, 24, 9), (std::vector<int>(8, 0))) << "black background";
  EXPECT_EQ(RowColours(*picture, palette, 16, 0), (std::vector<int>(8, 0))) << "hidden column";
}

TEST(MulticolourDecoder, HandMadeTruePaint)
{
  const C64Palette palette = Numbered();
  auto file = EmptyFile(19434, 0x9C00);
  file[1002] = 0x06;   // background
  file[18434] = 0x0D;  // colour RAM of cell (0, 0)
  file[1026] = 0b01'10'11'00;
  file[2] = 0x34;  // screen 1
  file[9218] = 0b11'00'10'01;
  file[17410] = 0x8F;  // screen 2
  // The last pixel of cell (39, 0) in picture 2: its left half is shown in
  // column 319, its right half is hidden.
  file[9218 + 39 * 8] = 0b00'00'00'01;
  file[17410 + 39] = 0x50;
  const auto field1 = std::make_unique<Picture>(DecodeTruePaint(file, palette, 1));
  const auto field2 = std::make_unique<Picture>(DecodeTruePaint(file, palette, 2));
  EXPECT_EQ(RowColours(*field1, palette, 0, 0), (std::vector<int>{3, 3, 4, 4, 13, 13, 6, 6}));
  EXPECT_EQ(RowColours(*field2, palette, 0, 0), (std::vector<int>{6, 13, 13, 6, 6, 15, 15, 8}));
  EXPECT_EQ(RowColours(*field2, palette, 8, 0)[0], 8) << "the cell's last half pixel";
  EXPECT_EQ(RowColours(*field2, palette, 0, 1)[0], 6) << "column 0 is the background";
  EXPECT_EQ(RowColours(*field2, palette, 312, 0), (std::vector<int>{6, 6, 6, 6, 6, 6, 6, 5}));
  EXPECT_EQ(RowColours(*field1, palette, 312, 0), (std::vector<int>{6, 6, 6, 6, 6, 6, 6, 6}));
  EXPECT_THROW(DecodeTruePaint(file, palette, 3), std::invalid_argument);
}

// The colour number the multicolour regions of C64Data give pixel (x, y) of
// a field, before any shift.
int RegionColour(const C64Data& data, GraphicMode mode, int field, int x, int y)
{
  using namespace MulticolourLayout;
  const int cx = x / 8, cy = y / 8, row = y % 8;
  const C64Region bitmap = field == 2 ? McBitmap2 : McBitmap1;
  const std::uint8_t byte = data[std::size_t(bitmap.offset + BitmapOffset(cx, cy, row))];
  int screen = (field == 2 ? McScreen2 : McScreen1).offset + ScreenOffset(cx, cy);
  if (mode == GraphicMode::MulticolourFli) {
    screen = McFliScreens.offset + FliScreenOffset(cx, cy, row);
  }
  switch (MulticolourBits(byte, (x % 8) / 2)) {
    case 0:
      return mode == GraphicMode::MulticolourFli ? 0 : data[McBackground] & 15;
    case 1:
      return data[std::size_t(screen)] >> 4;
    case 2:
      return data[std::size_t(screen)] & 15;
    default:
      return data[std::size_t(McColourRam.offset + ScreenOffset(cx, cy))] & 15;
  }
}

TEST(MulticolourDecoder, EditorFilesDecodeToTheirRegions)
{
  struct Case {
    const char* name;
    GraphicMode mode;
    int field;
  };
  const Case cases[] = {
      {"Koala", GraphicMode::Multicolour, 1},
      {"FLI Graph", GraphicMode::MulticolourFli, 1},
      {"True Paint, field 1", GraphicMode::MulticolourInterlace, 1},
      {"True Paint, field 2", GraphicMode::MulticolourInterlace, 2},
  };
  const C64Palette palette = Numbered();
  std::mt19937 random(17);
  auto data = std::make_unique<C64Data>();
  for (auto& byte : *data) {
    byte = std::uint8_t(random());
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> file = SceneFileBytes(*data, {c.mode, false, false});
    auto picture = std::make_unique<Picture>();
    if (c.mode == GraphicMode::Multicolour) {
      *picture = DecodeKoala(file, palette);
    } else if (c.mode == GraphicMode::MulticolourFli) {
      *picture = DecodeFliGraph(file, palette);
    } else {
      *picture = DecodeTruePaint(file, palette, c.field);
    }
    const int shift = c.field - 1;
    const int firstColumn = c.mode == GraphicMode::MulticolourFli ? 24 : shift;
    int wrong = 0;
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = firstColumn; x < PictureWidth; ++x) {
        const int colour = RegionColour(*data, c.mode, c.field, x - shift, y);
        wrong += (*picture)[std::size_t(PixelIndex(x, y))] != palette[std::size_t(colour)];
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
}  // namespace pavona::testing
