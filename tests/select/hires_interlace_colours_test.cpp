#include "select/hires_interlace_colours.h"

#include <gtest/gtest.h>

#include <vector>

#include "colour/mix_pair_codes.h"
#include "hires_test_support.h"
#include "plain_hires_selection.h"

namespace pavona {
namespace {

using hires_testing::ExpectSameCell;
using hires_testing::FillCell;

struct Cell {
  int cx;
  int cy;
};

std::vector<Cell> CellRow(int cy)
{
  std::vector<Cell> cells;
  for (int cx = 0; cx < 40; ++cx) {
    cells.push_back({cx, cy});
  }
  return cells;
}

// The exhaustive search takes 2.4 billion distances for a whole frame, so the
// fast one (run on the whole frame) is compared on chosen cells only. Returns
// the fast search's result and data for further checks.
std::pair<std::unique_ptr<Picture>, C64Data> ExpectSameAsPlain(const Picture& picture,
                                                               const MixTable& table,
                                                               const std::vector<Cell>& cells)
{
  auto fast = std::make_unique<Picture>(picture);
  auto plain = std::make_unique<Picture>(picture);
  C64Data fastData{}, plainData{};
  SilentProgress silent;
  SelectHiresInterlaceColours(*fast, table, fastData, silent);
  for (const Cell& cell : cells) {
    SCOPED_TRACE("cell (" + std::to_string(cell.cx) + ", " + std::to_string(cell.cy) + ")");
    plain_hires::SelectHiresInterlaceCell(*plain, table, plainData, cell.cx, cell.cy);
    ExpectSameCell(*plain, *fast, cell.cx, cell.cy);
    for (C64Region screen : {HiresLayout::HiresScreen1, HiresLayout::HiresScreen2}) {
      const int offset = screen.offset + ScreenOffset(cell.cx, cell.cy);
      EXPECT_EQ(fastData[offset], plainData[offset]) << "screen at 0x" << std::hex << offset;
    }
    for (C64Region bitmap : {HiresLayout::HiresBitmap1, HiresLayout::HiresBitmap2}) {
      for (int r = 0; r < 8; ++r) {
        const int offset = bitmap.offset + BitmapOffset(cell.cx, cell.cy, r);
        EXPECT_EQ(fastData[offset], plainData[offset]) << "bitmap at 0x" << std::hex << offset;
      }
    }
  }
  return {std::move(fast), fastData};
}

// What the C64 shows: pixel (x, y) takes colour a of field 1 and colour b of
// field 2, decoded from both fields' screens and bitmaps, and its mix slot.
int ShownSlot(const C64Data& data, int x, int y)
{
  const int cx = x / 8, cy = y / 8, bit = 0x80 >> (x % 8);
  const int screen1 = data[HiresLayout::HiresScreen1.offset + ScreenOffset(cx, cy)];
  const int screen2 = data[HiresLayout::HiresScreen2.offset + ScreenOffset(cx, cy)];
  const bool set1 = data[HiresLayout::HiresBitmap1.offset + BitmapOffset(cx, cy, y % 8)] & bit;
  const bool set2 = data[HiresLayout::HiresBitmap2.offset + BitmapOffset(cx, cy, y % 8)] & bit;
  const int a = set1 ? screen1 >> 4 : screen1 & 15;
  const int b = set2 ? screen2 >> 4 : screen2 & 15;
  return MixSlotOfColours(a, b);
}

// Every pixel of the result is the mix the C64 data shows there, and no
// pixel shows a mix the flicker reduction removed.
void ExpectDataShowsResult(const Picture& result, const MixTable& table, const C64Data& data)
{
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const int slot = ShownSlot(data, x, y);
      ASSERT_FALSE(IsRemovedMix(table, slot)) << "pixel (" << x << ", " << y << ")";
      ASSERT_EQ(table.colour[slot], result[PixelIndex(x, y)]) << "pixel (" << x << ", " << y << ")";
    }
  }
}

TEST(SelectHiresInterlaceColours, MatchesPlainSearchOnPhotoCells)
{
  struct Case {
    const char* frame;
    FlickerLevel level;
    int cellRow;
  };
  const Case cases[] = {{"coffee_frame.ppm", FlickerLevel::Off, 12},
                        {"chelsea_frame.ppm", FlickerLevel::Medium, 5},
                        {"rocket_frame.ppm", FlickerLevel::Medium, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    const MixTable table = hires_testing::PeptoTable(GraphicMode::HiresInterlaced, c.level);
    const auto picture = std::make_unique<Picture>(
        hires_testing::DitheredFrame(c.frame, table, GraphicMode::HiresInterlaced));
    const auto [result, data] = ExpectSameAsPlain(*picture, table, CellRow(c.cellRow));
    ExpectDataShowsResult(*result, table, data);
  }
}

TEST(SelectHiresInterlaceColours, MatchesPlainSearchOnAdversarialCells)
{
  const MixTable pepto = hires_testing::PeptoTable(GraphicMode::HiresInterlaced, FlickerLevel::Off);
  const MixTable heavy =
      hires_testing::PeptoTable(GraphicMode::HiresInterlaced, FlickerLevel::Heavy);
  // Repeated palette colours give repeated mixes, so equal errors abound;
  // colour 9 repeating colour 0 also makes every mix of 9 with 0 a copy of
  // slot 0, that is removed.
  C64Palette repeats = PaletteColours(PaletteId::Pepto);
  repeats[3] = repeats[1];
  repeats[9] = repeats[0];
  repeats[14] = repeats[6];
  MixTable repeatTable;
  BuildMixPalette(repeatTable, repeats, MixMethod::Rgb, GraphicMode::HiresInterlaced);
  ReduceFlicker(repeatTable, FlickerLevel::Medium);

  auto raw = std::make_unique<Picture>(testing::ReadPpmFrame("rocket_frame.ppm"));
  auto uniform = std::make_unique<Picture>();
  for (int cell = 0; cell < 1000; ++cell) {
    FillCell(*uniform, cell % 40, cell / 40, pepto.colour[(cell * 7) % 136]);
  }
  auto scattered = std::make_unique<Picture>();
  std::uint32_t state = 99;
  for (std::uint32_t& pixel : *scattered) {
    state = state * 1103515245u + 12345u;
    pixel = repeatTable.colour[(state >> 16) % 6 * 23];
  }
  auto repeatFrame = std::make_unique<Picture>(
      hires_testing::DitheredFrame("coffee_frame.ppm", repeatTable, GraphicMode::HiresInterlaced));
  auto heavyFrame = std::make_unique<Picture>(
      hires_testing::DitheredFrame("chelsea_frame.ppm", heavy, GraphicMode::HiresInterlaced));

  const std::vector<Cell> spread = {{0, 0}, {13, 4}, {39, 9}, {20, 12}, {7, 17}, {31, 24}};
  struct Case {
    const char* name;
    const Picture& picture;
    const MixTable& table;
    std::vector<Cell> cells;
  };
  const Case cases[] = {{"undithered photo, 64 colours a cell", *raw, pepto, spread},
                        {"undithered photo, heavy reduction", *raw, heavy, spread},
                        {"one mix per cell", *uniform, pepto, spread},
                        {"scattered repeated mixes", *scattered, repeatTable, spread},
                        {"photo with repeated mixes", *repeatFrame, repeatTable, CellRow(14)},
                        {"photo, heavy reduction", *heavyFrame, heavy, spread}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSameAsPlain(c.picture, c.table, c.cells);
  }
}

// A table whose 136 mixes are all far from grey, apart from the four a
// candidate X = (0, 1), Y = (2, 3) shows: X grey 100, Y grey 200, C1 = mix of
// 0 and 3 grey 150, C2 = mix of 1 and 2 grey 50.
MixTable GreyCrossTable()
{
  MixTable table{};
  for (int slot = 0; slot < MixColourCount; ++slot) {
    table.colour[slot] = MakeColour(255, slot, 255 - slot);
  }
  table.colour[PairSlot(0, 1)] = 0x646464;
  table.colour[PairSlot(2, 3)] = 0xC8C8C8;
  table.colour[PairSlot(0, 3)] = 0x969696;
  table.colour[PairSlot(1, 2)] = 0x323232;
  return table;
}

TEST(SelectHiresInterlaceColours, CellRules)
{
  const MixTable pepto = hires_testing::PeptoTable(GraphicMode::HiresInterlaced, FlickerLevel::Off);
  SilentProgress silent;
  auto picture = std::make_unique<Picture>();
  auto screen1 = [](const C64Data& d, int cx) {
    return int(d[HiresLayout::HiresScreen1.offset + cx]);
  };
  auto screen2 = [](const C64Data& d, int cx) {
    return int(d[HiresLayout::HiresScreen2.offset + cx]);
  };
  auto bitmap1 = [](const C64Data& d, int cx, int r) {
    return int(d[HiresLayout::HiresBitmap1.offset + BitmapOffset(cx, 0, r)]);
  };
  auto bitmap2 = [](const C64Data& d, int cx, int r) {
    return int(d[HiresLayout::HiresBitmap2.offset + BitmapOffset(cx, 0, r)]);
  };
  for (int slot = 1; slot < MixColourCount; ++slot) {
    ASSERT_FALSE(IsRemovedMix(pepto, slot)) << "the Pepto mixes are all different";
  }

  {
    SCOPED_TRACE("mix 0: the candidate (0, 0), every pixel takes X");
    FillCell(*picture, 0, 0, pepto.colour[0]);
    // One mix m = (3, 7): the first candidate with no error is (0, m), every
    // pixel takes Y, field 1 shows 0 and 3, field 2 shows 0 and 7.
    FillCell(*picture, 1, 0, pepto.colour[PairSlot(3, 7)]);
    // The mixes of X = (0, 1), Y = (2, 3) and their cross mixes: only that
    // candidate shows all four. A C2 pixel has field 1 show y1 = 2 (0-bit)
    // and field 2 show x2 = 1 (1-bit): the colours come in the other order.
    const std::uint32_t fourMixes[4] = {pepto.colour[PairSlot(0, 1)], pepto.colour[PairSlot(2, 3)],
                                        pepto.colour[PairSlot(0, 3)], pepto.colour[PairSlot(1, 2)]};
    for (int p = 0; p < 64; ++p) {
      (*picture)[PixelIndex(2 * 8 + p % 8, p / 8)] = fourMixes[p % 4];
    }
    C64Data data{};
    SelectHiresInterlaceColours(*picture, pepto, data, silent);

    EXPECT_EQ(screen1(data, 0), 0x00);
    EXPECT_EQ(screen2(data, 0), 0x00);
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(bitmap1(data, 0, r), 0xFF);
      EXPECT_EQ(bitmap2(data, 0, r), 0xFF);
    }

    SCOPED_TRACE("one mix (3, 7)");
    EXPECT_EQ(screen1(data, 1), 0x03);
    EXPECT_EQ(screen2(data, 1), 0x07);
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(bitmap1(data, 1, r), 0x00);
      EXPECT_EQ(bitmap2(data, 1, r), 0x00);
    }
    EXPECT_EQ((*picture)[PixelIndex(12, 4)], pepto.colour[PairSlot(3, 7)]);

    SCOPED_TRACE("four mixes: C2 is the mix of 1 and 2, code 0x12");
    EXPECT_EQ(screen1(data, 2), 0x02);
    EXPECT_EQ(screen2(data, 2), 0x13);
    // Pixels k = 0..7 of a row are X, Y, C1, C2, X, Y, C1, C2.
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(bitmap1(data, 2, r), 0b10101010);  // X and C1
      EXPECT_EQ(bitmap2(data, 2, r), 0b10011001);  // X and C2
    }
    EXPECT_EQ(MixPairCodes[MixSlotOfColours(2, 1)], 0x12u);
    EXPECT_EQ((*picture)[PixelIndex(2 * 8 + 3, 5)], pepto.colour[PairSlot(1, 2)]);
  }
  {
    SCOPED_TRACE("ties: X before another mix, Y before C1");
    const MixTable table = GreyCrossTable();
    const std::uint32_t greys[4] = {0x646464, 0xC8C8C8, 0x969696, 0x323232};
    for (int p = 0; p < 64; ++p) {
      (*picture)[PixelIndex(p % 8, p / 8)] = greys[p % 4];
    }
    // Grey 125 is 75 from X (100) and from C1 (150); grey 175 is 75 from Y
    // (200) and from C1, and 225 from X.
    (*picture)[PixelIndex(0, 7)] = 0x7D7D7D;
    (*picture)[PixelIndex(1, 7)] = 0xAFAFAF;
    C64Data data{};
    SelectHiresInterlaceColours(*picture, table, data, silent);
    EXPECT_EQ(screen1(data, 0), 0x02);
    EXPECT_EQ(screen2(data, 0), 0x13);
    EXPECT_EQ((*picture)[PixelIndex(0, 7)], 0x646464u);
    EXPECT_EQ((*picture)[PixelIndex(1, 7)], 0xC8C8C8u);
    // Row 7: X (tie), Y (tie), C1, C2, X, Y, C1, C2.
    EXPECT_EQ(bitmap1(data, 0, 7), 0b10101010);
    EXPECT_EQ(bitmap2(data, 0, 7), 0b10011001);
  }
  {
    SCOPED_TRACE("a removed mix never wins");
    // Heavy takes out every mix with colour 0 but (0, 0): a cell of the old
    // (0, 1) mix must be shown with live mixes only.
    const MixTable heavy =
        hires_testing::PeptoTable(GraphicMode::HiresInterlaced, FlickerLevel::Heavy);
    for (int cx = 0; cx < 40; ++cx) {
      FillCell(*picture, cx, 0, pepto.colour[PairSlot(0, cx % 16)]);
    }
    C64Data data{};
    SelectHiresInterlaceColours(*picture, heavy, data, silent);
    for (int cx = 0; cx < 40; ++cx) {
      const int s1 = screen1(data, cx), s2 = screen2(data, cx);
      EXPECT_FALSE(IsRemovedMix(heavy, MixSlotOfColours(s1 >> 4, s2 >> 4))) << "X of cell " << cx;
      EXPECT_FALSE(IsRemovedMix(heavy, MixSlotOfColours(s1 & 15, s2 & 15))) << "Y of cell " << cx;
    }
    ExpectDataShowsResult(*picture, heavy, data);
  }
}

TEST(SelectHiresInterlaceColours, ShowsEachCellRowWhenDone)
{
  const MixTable table =
      hires_testing::PeptoTable(GraphicMode::HiresInterlaced, FlickerLevel::Medium);
  auto picture = std::make_unique<Picture>(
      hires_testing::DitheredFrame("chelsea_frame.ppm", table, GraphicMode::HiresInterlaced));
  C64Data data{};
  hires_testing::RecordingProgress progress;
  SelectHiresInterlaceColours(*picture, table, data, progress);

  std::vector<std::string> expected = {
      "status:Brute Force hires interlaced color selection in progress"};
  for (int y = 0; y < 200; y += 8) {
    expected.push_back("progress:" + std::to_string(y));
    expected.push_back("rows:" + std::to_string(y) + "+8");
  }
  expected.push_back("progress:0");
  expected.push_back("status: ");
  EXPECT_EQ(progress.calls, expected);
  // Each row was final when it was shown.
  for (const auto& rows : progress.shown) {
    const auto first = picture->begin() + rows.firstRow * PictureWidth;
    EXPECT_TRUE(std::equal(rows.pixels.begin(), rows.pixels.end(), first))
        << "rows from " << rows.firstRow;
  }
  EXPECT_TRUE(hires_testing::ZeroOutside(
      data, {C64Region{HiresLayout::HiresScreen1.offset, ScreenBytesUsed},
             C64Region{HiresLayout::HiresBitmap1.offset, BitmapBytesUsed},
             C64Region{HiresLayout::HiresScreen2.offset, ScreenBytesUsed},
             C64Region{HiresLayout::HiresBitmap2.offset, BitmapBytesUsed}}));
}

}  // namespace
}  // namespace pavona
