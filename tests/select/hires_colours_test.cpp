#include "select/hires_colours.h"

#include <gtest/gtest.h>

#include "colour/yuv.h"
#include "hires_test_support.h"
#include "plain_hires_selection.h"

namespace pavona {
namespace {

using hires_testing::AllMeasures;
using hires_testing::ExpectSameCells;
using hires_testing::FillCell;
using hires_testing::MeasureName;

// Runs the fast search on the whole picture and the plain one on the given
// cell rows, and expects the same pixels and C64 data there.
void ExpectSameAsPlain(const Picture& picture, const MixTable& table, Measure measure,
                       std::initializer_list<int> cellRows)
{
  SCOPED_TRACE(MeasureName(measure));
  auto fast = std::make_unique<Picture>(picture);
  auto plain = std::make_unique<Picture>(picture);
  C64Data fastData{}, plainData{};
  SilentProgress silent;
  SelectHiresColours(*fast, table, measure, fastData, silent);
  for (int cy : cellRows) {
    SCOPED_TRACE("cell row " + std::to_string(cy));
    for (int cx = 0; cx < 40; ++cx) {
      plain_hires::SelectHiresCell(*plain, table, measure, plainData, cx, cy);
      ASSERT_EQ(fastData[HiresLayout::HiresScreen1.offset + ScreenOffset(cx, cy)],
                plainData[HiresLayout::HiresScreen1.offset + ScreenOffset(cx, cy)])
          << "screen byte of cell " << cx;
      for (int r = 0; r < 8; ++r) {
        const int offset = HiresLayout::HiresBitmap1.offset + BitmapOffset(cx, cy, r);
        ASSERT_EQ(fastData[offset], plainData[offset]) << "bitmap byte of cell " << cx;
      }
    }
    ExpectSameCells(*plain, *fast, cy, 1);
  }
}

// A table of 16 greys 20 apart (slot k is grey 20k), with their Y, U, V.
MixTable GreyTable()
{
  MixTable table{};
  for (int k = 0; k < 16; ++k) {
    table.colour[k] = MakeColour(20 * k, 20 * k, 20 * k);
    const Yuv yuv = ColourToYuv(table.colour[k]);
    table.y[k] = yuv.y;
    table.u[k] = yuv.u;
    table.v[k] = yuv.v;
  }
  return table;
}

TEST(SelectHiresColours, MatchesPlainSearchOnPhotoFrames)
{
  const MixTable table = hires_testing::PeptoTable(GraphicMode::HiresStandard, FlickerLevel::Off);
  for (const char* frame : testing::PhotoFrames) {
    SCOPED_TRACE(frame);
    const auto picture = std::make_unique<Picture>(
        hires_testing::DitheredFrame(frame, table, GraphicMode::HiresStandard));
    for (Measure measure : AllMeasures) {
      ExpectSameAsPlain(*picture, table, measure, {0, 3, 6, 9, 12, 15, 18, 21, 24});
    }
  }
}

TEST(SelectHiresColours, MatchesPlainSearchOnAdversarialPictures)
{
  const MixTable pepto = hires_testing::PeptoTable(GraphicMode::HiresStandard, FlickerLevel::Off);
  // Colours 3, 9 and 14 repeat earlier ones: equal pairs tie everywhere.
  C64Palette repeats = PaletteColours(PaletteId::Pepto);
  repeats[3] = repeats[1];
  repeats[9] = repeats[0];
  repeats[14] = repeats[6];
  MixTable repeatTable;
  BuildMixPalette(repeatTable, repeats, MixMethod::Rgb, GraphicMode::HiresStandard);

  auto raw = std::make_unique<Picture>(testing::ReadPpmFrame("chelsea_frame.ppm"));
  // Uniform cells: table colours, then colours between them.
  auto uniform = std::make_unique<Picture>();
  for (int cell = 0; cell < 1000; ++cell) {
    const std::uint32_t colour = cell < 16
                                     ? pepto.colour[cell]
                                     : MakeColour(cell % 256, (cell * 7) % 256, (cell * 13) % 256);
    FillCell(*uniform, cell % 40, cell / 40, colour);
  }
  // Cells of a few table colours scattered at random: many equal errors.
  auto scattered = std::make_unique<Picture>();
  std::uint32_t state = 12345;
  for (std::uint32_t& pixel : *scattered) {
    state = state * 1103515245u + 12345u;
    pixel = repeats[(state >> 16) % 5 * 3];
  }
  const auto greys = GreyTable();
  // The first pass measures candidates by the table's Y, U, V, the second by
  // those of their colours: a table where the two disagree tells them apart.
  MixTable skewed = greys;
  for (int k = 0; k < 16; ++k) {
    skewed.y[k] = greys.y[15 - k];
    skewed.u[k] = 128 + 7 * k;
  }

  struct Case {
    const char* name;
    const Picture& picture;
    const MixTable& table;
  };
  const Case cases[] = {{"undithered photo", *raw, pepto},
                        {"uniform cells", *uniform, pepto},
                        {"repeated palette colours, undithered", *raw, repeatTable},
                        {"repeated palette colours, scattered", *scattered, repeatTable},
                        {"grey table, undithered", *raw, greys},
                        {"table Y, U, V unlike its colours", *raw, skewed}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (Measure measure : AllMeasures) {
      ExpectSameAsPlain(c.picture, c.table, measure, {0, 9, 17, 24});
    }
  }
}

TEST(SelectHiresColours, CellRules)
{
  const MixTable pepto = hires_testing::PeptoTable(GraphicMode::HiresStandard, FlickerLevel::Off);
  const MixTable greys = GreyTable();
  SilentProgress silent;
  auto picture = std::make_unique<Picture>();
  auto screen = [](const C64Data& data, int cx, int cy) {
    return int(data[HiresLayout::HiresScreen1.offset + ScreenOffset(cx, cy)]);
  };
  auto bitmap = [](const C64Data& data, int cx, int cy, int r) {
    return int(data[HiresLayout::HiresBitmap1.offset + BitmapOffset(cx, cy, r)]);
  };

  {
    SCOPED_TRACE("one colour k > 0: the pair (0, k) comes first with no error, all 0-bits");
    for (int k = 1; k < 16; ++k) {
      FillCell(*picture, k, 3, pepto.colour[k]);
    }
    C64Data data{};
    SelectHiresColours(*picture, pepto, Measure::RgbDistance, data, silent);
    for (int k = 1; k < 16; ++k) {
      EXPECT_EQ(screen(data, k, 3), k);
      for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(bitmap(data, k, 3, r), 0x00);
      }
      EXPECT_EQ((*picture)[PixelIndex(k * 8 + 5, 3 * 8 + 6)], pepto.colour[k]);
    }
  }
  {
    SCOPED_TRACE("colour 0: the pair (0, 0), every pixel ties and takes the 1-bits");
    picture->fill(0);
    FillCell(*picture, 1, 0, pepto.colour[0]);
    C64Data data{};
    SelectHiresColours(*picture, pepto, Measure::Perceptual, data, silent);
    EXPECT_EQ(screen(data, 1, 0), 0x00);
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(bitmap(data, 1, 0, r), 0xFF);
    }
  }
  {
    SCOPED_TRACE("two colours a < b: the pair (a, b), 1-bits on a");
    FillCell(*picture, 7, 7, pepto.colour[9]);
    for (int r = 0; r < 8; ++r) {
      (*picture)[PixelIndex(7 * 8 + r, 7 * 8 + r)] = pepto.colour[2];  // the diagonal
    }
    C64Data data{};
    SelectHiresColours(*picture, pepto, Measure::RgbDistance, data, silent);
    EXPECT_EQ(screen(data, 7, 7), 0x29);
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(bitmap(data, 7, 7, r), 0x80 >> r);
    }
  }
  {
    SCOPED_TRACE("a pixel as far from A as from B takes A");
    // Greys 60 and 100 (slots 3 and 5) and one grey 80 pixel: the pair
    // (3, 5) costs 60, any pair with slot 4 costs 60 per grey 60 or 100 pixel.
    FillCell(*picture, 2, 2, greys.colour[3]);
    for (int p = 32; p < 64; ++p) {
      (*picture)[PixelIndex(2 * 8 + p % 8, 2 * 8 + p / 8)] = greys.colour[5];
    }
    (*picture)[PixelIndex(2 * 8 + 7, 2 * 8 + 7)] = MakeColour(80, 80, 80);
    C64Data data{};
    SelectHiresColours(*picture, greys, Measure::RgbDistance, data, silent);
    EXPECT_EQ(screen(data, 2, 2), 0x35);
    EXPECT_EQ(bitmap(data, 2, 2, 7), 0x01);  // row 7: seven grey 100 pixels, then the tie
    EXPECT_EQ((*picture)[PixelIndex(2 * 8 + 7, 2 * 8 + 7)], greys.colour[3]);
  }
  {
    SCOPED_TRACE("equal brightness: the pair met first wins");
    // Slot 6 gets a green of grey 40's brightness (Y 50): under brightness a
    // cell of it is matched as well by (0, 2), which comes before (0, 6).
    MixTable table = greys;
    table.colour[6] = MakeColour(0, 60, 40);
    const Yuv green = ColourToYuv(table.colour[6]);
    ASSERT_EQ(green.y, table.y[2]);
    table.y[6] = green.y;
    table.u[6] = green.u;
    table.v[6] = green.v;
    FillCell(*picture, 0, 0, table.colour[6]);
    C64Data data{};
    SelectHiresColours(*picture, table, Measure::Brightness, data, silent);
    EXPECT_EQ(screen(data, 0, 0), 0x02);
    EXPECT_EQ((*picture)[PixelIndex(3, 3)], table.colour[2]);
  }
}

TEST(SelectHiresColours, ReportsProgressAndWritesOnlyItsRegions)
{
  const MixTable table = hires_testing::PeptoTable(GraphicMode::HiresStandard, FlickerLevel::Off);
  auto picture = std::make_unique<Picture>(
      hires_testing::DitheredFrame("rocket_frame.ppm", table, GraphicMode::HiresStandard));
  C64Data data{};
  hires_testing::RecordingProgress progress;
  SelectHiresColours(*picture, table, Measure::Perceptual, data, progress);

  std::vector<std::string> expected = {"status:Brute Force Hires color selection in progress"};
  for (int cy = 0; cy < 25; ++cy) {
    expected.push_back("progress:" + std::to_string(cy * 8));
  }
  expected.push_back("progress:0");
  expected.push_back("status: ");
  EXPECT_EQ(progress.calls, expected);
  // Spare tails and the second field stay 0.
  EXPECT_TRUE(hires_testing::ZeroOutside(
      data, {C64Region{HiresLayout::HiresScreen1.offset, ScreenBytesUsed},
             C64Region{HiresLayout::HiresBitmap1.offset, BitmapBytesUsed}}));
}

}  // namespace
}  // namespace pavona
