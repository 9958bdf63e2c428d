#include "select/multicolour_interlace_colours.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "multicolour_test_support.h"
#include "support/recording_progress.h"

namespace pavona {
namespace {

using namespace MulticolourLayout;
using mc_testing::McBitsAt;
using mc_testing::SourceOf;

// What the C64 shows from the data: hires column x mixes picture 1's pixel
// x / 2 with picture 2's pixel (x - 1) / 2, or the background at x = 0.
std::unique_ptr<Picture> Decode(const C64Data& data, const MixTable& table)
{
  const int background = data[McBackground] & 15;
  auto colourOf = [&](C64Region bitmap, C64Region screen, int mcX, int y) {
    const int cell = ScreenOffset(mcX / 4, y / 8);
    return SourceOf(McBitsAt(data, bitmap, mcX, y), background, data[screen.offset + cell],
                    data[McColourRam.offset + cell]);
  };
  auto shown = std::make_unique<Picture>();
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const int first = colourOf(McBitmap1, McScreen1, x / 2, y);
      const int second = x == 0 ? background : colourOf(McBitmap2, McScreen2, (x - 1) / 2, y);
      (*shown)[PixelIndex(x, y)] =
          table.colour[PairSlot(std::min(first, second), std::max(first, second))];
    }
  }
  return shown;
}

int RemovedMixesShown(const Picture& shown, const MixTable& table)
{
  int count = 0;
  for (std::uint32_t colour : shown) {
    count += FindMixIndex(table, colour) < 0 || IsRemovedMix(table, FindMixIndex(table, colour));
  }
  return count;
}

// On real frames: the data decodes to the shown picture, only the regions of
// the mode are written, no mix that the flicker reduction removed shows, the
// search comes near the dithered picture, and a rerun gives the same.
TEST(SelectMulticolourInterlaceColours, DataDecodesToTheShownPicture)
{
  const MixTable table = mc_testing::PeptoTable(GraphicMode::MulticolourInterlace);
  for (const char* frame : testing::PhotoFrames) {
    SCOPED_TRACE(frame);
    const auto dithered = mc_testing::DitheredFrame(frame, table, Measure::Perceptual,
                                                    GraphicMode::MulticolourInterlace);
    auto shown = std::make_unique<Picture>(*dithered);
    C64Data data{};
    testing::RecordingProgress progress;
    SelectMulticolourInterlaceColours(*shown, table, Measure::Perceptual, data, progress);
    EXPECT_TRUE(*Decode(data, table) == *shown) << "the data shows another picture";
    EXPECT_TRUE(
        mc_testing::ZeroOutside(data, {McBitmap1, McScreen1, McColourRam, McScreen2, McBitmap2}));
    EXPECT_LT(data[McBackground], 16);
    EXPECT_EQ(RemovedMixesShown(*shown, table), 0);
    auto again = std::make_unique<Picture>(*dithered);
    C64Data againData{};
    SilentProgress silent;
    SelectMulticolourInterlaceColours(*again, table, Measure::Perceptual, againData, silent);
    EXPECT_TRUE(againData == data);
    EXPECT_EQ(progress.statuses,
              (std::vector<std::string>{"Multicolour Interlace color selection in progress", " "}));
    std::vector<int> rowByRow;
    for (int cy = 0; cy < 25; ++cy) {
      rowByRow.push_back(8 * cy);
    }
    rowByRow.push_back(0);
    EXPECT_EQ(progress.positions, rowByRow);
    EXPECT_TRUE(progress.strayColours.empty());
  }
}

// Pictures the C64 can show exactly, made from random data in a few cells of
// a black picture (picture 2's last pixel of each cell row stays background,
// so that the black neighbours can be shown exactly too). The search is no
// exact one and may miss such cells, but the black cells further away must
// come out exactly, and the data must show what the result says.
TEST(SelectMulticolourInterlaceColours, BlackAwayFromBusyCellsStaysExact)
{
  const MixTable table =
      mc_testing::PeptoTable(GraphicMode::MulticolourInterlace, FlickerLevel::Off);
  const std::vector<mc_testing::Cell> cells = {{0, 0}, {5, 3}, {6, 3}, {20, 12}, {39, 24}};
  std::mt19937 random(3);
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    C64Data source{};
    for (const mc_testing::Cell& cell : cells) {
      const int offset = ScreenOffset(cell.cx, cell.cy);
      source[McScreen1.offset + offset] = std::uint8_t(random());
      source[McScreen2.offset + offset] = std::uint8_t(random());
      source[McColourRam.offset + offset] = std::uint8_t(random() % 16);
      for (int row = 0; row < 8; ++row) {
        const int byte = BitmapOffset(cell.cx, cell.cy, row);
        source[McBitmap1.offset + byte] = std::uint8_t(random());
        source[McBitmap2.offset + byte] = std::uint8_t(random() & 0xFC);
      }
    }
    const auto picture = Decode(source, table);
    auto shown = std::make_unique<Picture>(*picture);
    C64Data data{};
    SilentProgress silent;
    SelectMulticolourInterlaceColours(*shown, table, Measure::Perceptual, data, silent);
    EXPECT_TRUE(*Decode(data, table) == *shown);
    EXPECT_EQ(data[McBackground], 0);
    int differing = 0;
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        bool nearBusy = false;
        for (const mc_testing::Cell& cell : cells) {
          nearBusy = nearBusy || (cell.cy == y / 8 && std::abs(cell.cx - x / 8) <= 1);
        }
        differing += !nearBusy && (*shown)[PixelIndex(x, y)] != table.colour[0];
      }
    }
    EXPECT_EQ(differing, 0);
  }
}

}  // namespace
}  // namespace pavona
