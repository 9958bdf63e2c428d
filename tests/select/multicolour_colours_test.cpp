#include "select/multicolour_colours.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <map>

#include "multicolour_test_support.h"

namespace pavona {
namespace {

using namespace MulticolourLayout;
using mc_testing::Distance;

// The plain definition: every background, and for each cell every three
// colours a < b < c (screen high, screen low, colour RAM), each pixel shown
// by the nearest of the four with ties to the lowest bit pair; the least
// error wins, the first of equals. Equal cells are searched once.
struct PlainKoala {
  C64Data data{};
  Picture shown{};
  std::uint64_t error = 0;
};

struct Choice {
  std::array<int, 4> sources{};
  std::uint32_t error = std::numeric_limits<std::uint32_t>::max();
};

using CellNumbers = std::array<int, 32>;

PlainKoala RunPlainKoala(const Picture& dithered, const MixTable& table, Measure measure)
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
      distance[pixel][shown] = Distance(measure, table.colour[pixel], table.colour[shown]);
    }
  }
  auto errorOf = [&](int pixel, int shown) { return distance[pixel][shown]; };
  std::map<std::pair<CellNumbers, int>, Choice> searched;
  auto bestChoice = [&](const CellNumbers& cell, int background) {
    auto [entry, added] = searched.try_emplace({cell, background});
    if (!added) {
      return entry->second;
    }
    for (int a = 0; a < 16; ++a) {
      for (int b = a + 1; b < 16; ++b) {
        for (int c = b + 1; c < 16; ++c) {
          std::uint32_t error = 0;
          for (int pixel : cell) {
            error += std::min({errorOf(pixel, background), errorOf(pixel, a), errorOf(pixel, b),
                               errorOf(pixel, c)});
          }
          if (error < entry->second.error) {
            entry->second = {{background, a, b, c}, error};
          }
        }
      }
    }
    return entry->second;
  };
  std::array<CellNumbers, 1000> cells;
  for (int i = 0; i < 1000; ++i) {
    for (int p = 0; p < 32; ++p) {
      cells[i][p] = numberOf(dithered[PixelIndex((i % 40) * 8 + p % 4 * 2, i / 40 * 8 + p / 4)]);
    }
  }
  PlainKoala plain;
  plain.error = std::numeric_limits<std::uint64_t>::max();
  int background = 0;
  for (int candidate = 0; candidate < 16; ++candidate) {
    std::uint64_t error = 0;
    for (const CellNumbers& cell : cells) {
      error += bestChoice(cell, candidate).error;
    }
    if (error < plain.error) {
      plain.error = error;
      background = candidate;
    }
  }
  plain.data[McBackground] = std::uint8_t(background);
  for (int i = 0; i < 1000; ++i) {
    const int cx = i % 40, cy = i / 40;
    const Choice choice = bestChoice(cells[i], background);
    plain.data[McScreen1.offset + ScreenOffset(cx, cy)] =
        std::uint8_t(choice.sources[1] << 4 | choice.sources[2]);
    plain.data[McColourRam.offset + ScreenOffset(cx, cy)] = std::uint8_t(choice.sources[3]);
    for (int p = 0; p < 32; ++p) {
      int bits = 0;
      for (int k = 1; k < 4; ++k) {
        if (errorOf(cells[i][p], choice.sources[k]) < errorOf(cells[i][p], choice.sources[bits])) {
          bits = k;
        }
      }
      plain.data[McBitmap1.offset + BitmapOffset(cx, cy, p / 4)] |=
          std::uint8_t(bits << (6 - 2 * (p % 4)));
      const std::uint32_t colour = table.colour[choice.sources[bits]];
      plain.shown[PixelIndex(cx * 8 + p % 4 * 2, cy * 8 + p / 4)] = colour;
      plain.shown[PixelIndex(cx * 8 + p % 4 * 2 + 1, cy * 8 + p / 4)] = colour;
    }
  }
  return plain;
}

TEST(SelectMulticolourColours, SameAsThePlainSearch)
{
  const MixTable table = mc_testing::PeptoTable(GraphicMode::Multicolour);
  struct Case {
    const char* name;
    std::unique_ptr<Picture> picture;
    Measure measure;
  };
  const Case cases[] = {
      {"black but four cells",
       mc_testing::FewCells(table, table.colour[0], {{0, 0}, {7, 3}, {8, 3}, {39, 24}}, 7),
       Measure::RgbDistance},
      {"white but two cells, brightness",
       mc_testing::FewCells(table, table.colour[1], {{20, 12}, {3, 19}}, 11), Measure::Brightness},
      {"dithered chelsea frame",
       mc_testing::DitheredFrame("chelsea_frame.ppm", table, Measure::Perceptual,
                                 GraphicMode::Multicolour),
       Measure::Perceptual},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PlainKoala plain = RunPlainKoala(*c.picture, table, c.measure);
    auto fast = std::make_unique<Picture>(*c.picture);
    C64Data data{};
    SilentProgress silent;
    SelectMulticolourColours(*fast, table, c.measure, data, silent);
    EXPECT_EQ(mc_testing::TotalError(*c.picture, *fast, c.measure, 2), plain.error);
    EXPECT_TRUE(data == plain.data) << "the bytes differ";
    EXPECT_TRUE(*fast == plain.shown) << "the shown pictures differ";
  }
}

}  // namespace
}  // namespace pavona
