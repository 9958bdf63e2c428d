#include "select/multicolour_fli_colours.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <set>

#include "multicolour_test_support.h"
#include "support/recording_progress.h"

namespace pavona {
namespace {

using namespace MulticolourLayout;
using mc_testing::McBitsAt;
using mc_testing::SourceOf;

// The plain definition, cell by cell from column 3 on: every colour RAM
// colour c, and for each span every two screen colours a < b, each pixel
// shown by the nearest of black, a, b and c with ties to the lowest bit
// pair; the least error wins, the first of equals.
struct PlainFli {
  C64Data data{};
  Picture shown{};
  std::uint64_t error = 0;
};

PlainFli RunPlainFli(const Picture& dithered, const MixTable& table, Measure measure)
{
  auto numberOf = [&](std::uint32_t colour) {
    int n = 0;
    while (table.colour[n] != colour) {
      ++n;
    }
    return n;
  };
  std::array<std::array<std::uint32_t, 16>, 16> distance;
  for (int pixel = 0; pixel < 16; ++pixel) {
    for (int shown = 0; shown < 16; ++shown) {
      distance[pixel][shown] =
          mc_testing::Distance(measure, table.colour[pixel], table.colour[shown]);
    }
  }
  auto spanError = [&](const std::array<int, 4>& span, const std::array<int, 4>& sources) {
    std::uint32_t error = 0;
    for (int pixel : span) {
      error += std::min({distance[pixel][sources[0]], distance[pixel][sources[1]],
                         distance[pixel][sources[2]], distance[pixel][sources[3]]});
    }
    return error;
  };
  PlainFli plain;
  plain.shown = dithered;
  for (int cy = 0; cy < 25; ++cy) {
    for (int cx = 3; cx < 40; ++cx) {
      std::array<std::array<int, 4>, 8> spans;
      for (int p = 0; p < 32; ++p) {
        spans[p / 4][p % 4] = numberOf(dithered[PixelIndex(cx * 8 + p % 4 * 2, cy * 8 + p / 4)]);
      }
      std::uint32_t leastCell = std::numeric_limits<std::uint32_t>::max();
      std::array<std::array<int, 4>, 8> bestSources{};
      for (int c = 0; c < 16; ++c) {
        std::uint32_t cell = 0;
        std::array<std::array<int, 4>, 8> sources{};
        for (int row = 0; row < 8; ++row) {
          std::uint32_t leastSpan = std::numeric_limits<std::uint32_t>::max();
          for (int a = 0; a < 16; ++a) {
            for (int b = a + 1; b < 16; ++b) {
              const std::uint32_t error = spanError(spans[row], {0, a, b, c});
              if (error < leastSpan) {
                leastSpan = error;
                sources[row] = {0, a, b, c};
              }
            }
          }
          cell += leastSpan;
        }
        if (cell < leastCell) {
          leastCell = cell;
          bestSources = sources;
        }
      }
      plain.error += leastCell;
      plain.data[McColourRam.offset + ScreenOffset(cx, cy)] = std::uint8_t(bestSources[0][3]);
      for (int row = 0; row < 8; ++row) {
        const auto& sources = bestSources[row];
        plain.data[McFliScreens.offset + FliScreenOffset(cx, cy, row)] =
            std::uint8_t(sources[1] << 4 | sources[2]);
        for (int pixel = 0; pixel < 4; ++pixel) {
          const int number = spans[row][pixel];
          int bits = 0;
          for (int k = 1; k < 4; ++k) {
            if (distance[number][sources[k]] < distance[number][sources[bits]]) {
              bits = k;
            }
          }
          plain.data[McBitmap1.offset + BitmapOffset(cx, cy, row)] |=
              std::uint8_t(bits << (6 - 2 * pixel));
          const int x = cx * 8 + pixel * 2;
          plain.shown[PixelIndex(x, cy * 8 + row)] = table.colour[sources[bits]];
          plain.shown[PixelIndex(x + 1, cy * 8 + row)] = table.colour[sources[bits]];
        }
      }
    }
  }
  return plain;
}

TEST(SelectMulticolourFliColours, SameAsThePlainSearch)
{
  const MixTable table = mc_testing::PeptoTable(GraphicMode::MulticolourFli);
  struct Case {
    const char* name;
    std::unique_ptr<Picture> picture;
    Measure measure;
  };
  const Case cases[] = {
      // Cells 0..2 are hidden: what is there stays as it is.
      {"black but five cells",
       mc_testing::FewCells(table, table.colour[0], {{1, 0}, {3, 0}, {17, 9}, {18, 9}, {39, 24}},
                            5),
       Measure::RgbDistance},
      {"grey but two cells, brightness",
       mc_testing::FewCells(table, table.colour[12], {{3, 24}, {25, 2}}, 9), Measure::Brightness},
      {"dithered rocket frame",
       mc_testing::DitheredFrame("rocket_frame.ppm", table, Measure::Perceptual,
                                 GraphicMode::MulticolourFli),
       Measure::Perceptual},
      {"dithered coffee frame, RGB distance",
       mc_testing::DitheredFrame("coffee_frame.ppm", table, Measure::RgbDistance,
                                 GraphicMode::MulticolourFli),
       Measure::RgbDistance},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PlainFli plain = RunPlainFli(*c.picture, table, c.measure);
    auto fast = std::make_unique<Picture>(*c.picture);
    C64Data data{};
    SilentProgress silent;
    SelectMulticolourFliColours(*fast, table, c.measure, data, silent);
    EXPECT_EQ(mc_testing::TotalError(*c.picture, *fast, c.measure, 2), plain.error);
    EXPECT_TRUE(data == plain.data) << "the bytes differ";
    EXPECT_TRUE(*fast == plain.shown) << "the shown pictures differ";
  }
}

// On real frames: every span shows at most black, its colour RAM colour and
// its two screen colours, the data decodes to the shown picture, the hidden
// columns keep the dithered pixels and no data, and a rerun gives the same.
TEST(SelectMulticolourFliColours, DataDecodesToTheShownPicture)
{
  const MixTable table = mc_testing::PeptoTable(GraphicMode::MulticolourFli);
  for (const char* frame : testing::PhotoFrames) {
    SCOPED_TRACE(frame);
    const auto dithered =
        mc_testing::DitheredFrame(frame, table, Measure::Perceptual, GraphicMode::MulticolourFli);
    auto shown = std::make_unique<Picture>(*dithered);
    C64Data data{};
    data[McBackground] = 9;  // must be set to black
    testing::RecordingProgress progress;
    SelectMulticolourFliColours(*shown, table, Measure::Perceptual, data, progress);
    EXPECT_EQ(data[McBackground], 0);
    EXPECT_TRUE(mc_testing::ZeroOutside(data, {McBitmap1, McColourRam, McFliScreens}));
    for (int y = 0; y < PictureHeight; ++y) {
      for (int mcX = 0; mcX < 160; ++mcX) {
        const int cx = mcX / 4, cy = y / 8;
        const std::uint8_t screen = data[McFliScreens.offset + FliScreenOffset(cx, cy, y % 8)];
        const std::uint8_t ram = data[McColourRam.offset + ScreenOffset(cx, cy)];
        const int i = PixelIndex(2 * mcX, y);
        if (cx < 3) {
          ASSERT_EQ(screen | ram | McBitsAt(data, McBitmap1, mcX, y), 0) << cx << "," << y;
          ASSERT_EQ((*shown)[i], (*dithered)[i]);
          continue;
        }
        const int number = SourceOf(McBitsAt(data, McBitmap1, mcX, y), 0, screen, ram);
        ASSERT_EQ((*shown)[i], table.colour[number]) << mcX << "," << y;
        ASSERT_EQ((*shown)[i + 1], table.colour[number]) << mcX << "," << y;
      }
    }
    auto again = std::make_unique<Picture>(*dithered);
    C64Data againData{};
    SilentProgress silent;
    SelectMulticolourFliColours(*again, table, Measure::Perceptual, againData, silent);
    EXPECT_TRUE(againData == data);
    EXPECT_EQ(
        progress.statuses,
        (std::vector<std::string>{"Brute Force Multicolour FLI color selection in progress", " "}));
    EXPECT_EQ(progress.positions.back(), 0);
  }
}

}  // namespace
}  // namespace pavona
