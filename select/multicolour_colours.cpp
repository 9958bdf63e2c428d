#include "select/multicolour_colours.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <vector>

#include "colour/parallel.h"
#include "select/multicolour_cells.h"

namespace pavona {
namespace {

constexpr int CellCount = 40 * 25;

// The colours of a cell's 32 pixels: each distinct palette number once, with
// how many pixels have it.
struct CellColours {
  std::array<std::uint8_t, 16> number{};
  std::array<std::uint8_t, 16> count{};
  int distinct = 0;
};

CellColours GatherCell(const std::vector<std::uint8_t>& numbers, int cx, int cy)
{
  std::array<std::uint8_t, 16> counts{};
  for (int row = 0; row < 8; ++row) {
    for (int pixel = 0; pixel < McCellWidth; ++pixel) {
      ++counts[numbers[std::size_t(cy * 8 + row) * McWidth + cx * McCellWidth + pixel]];
    }
  }
  CellColours cell;
  for (int n = 0; n < 16; ++n) {
    if (counts[n] > 0) {
      cell.number[cell.distinct] = std::uint8_t(n);
      cell.count[cell.distinct++] = counts[n];
    }
  }
  return cell;
}

// A cell's three colours: screen high nibble (01), low nibble (10), colour
// RAM (11).
struct Triple {
  std::uint8_t high = 0, low = 0, ram = 0;
};

struct CellChoice {
  Triple colours;
  std::uint32_t error = 0;
};

// Ranks of sets of colours in the combinatorial number system: the sets
// a < b < c of 0..15 are numbered 0..559 and a < b < c < d 0..1819.
constexpr int Choose(int n, int k)
{
  if (k > n) {
    return 0;
  }
  int result = 1;
  for (int i = 0; i < k; ++i) {
    result = result * (n - i) / (i + 1);
  }
  return result;
}

struct SetRanks {
  std::array<std::array<int, 5>, 16> choose{};
  constexpr SetRanks()
  {
    for (int n = 0; n < 16; ++n) {
      for (int k = 1; k <= 4; ++k) {
        choose[n][k] = Choose(n, k);
      }
    }
  }
  int Of(int a, int b, int c) const { return choose[a][1] + choose[b][2] + choose[c][3]; }
  int Of(int a, int b, int c, int d) const { return Of(a, b, c) + choose[d][4]; }
};
constexpr SetRanks Ranks;

// The cell's error for every set of three and of four colours, each pixel
// shown by the nearest colour of the set. Computed once per cell, they serve
// all 16 backgrounds: background and three colours are a set of four, or of
// three when the background is one of them.
// Up to this many distinct colours a cell is searched directly for each
// background; both ways choose the same colours.
constexpr int FewColours = 3;

struct SetErrors {
  std::array<std::uint32_t, 560> threes;
  std::array<std::uint32_t, 1820> fours;
};

void MeasureSets(const CellColours& cell, const PaletteDistances& distances, SetErrors& errors)
{
  // The nearer of each pair of colours, per distinct colour of the cell.
  std::array<std::array<std::uint32_t, 16>, 120> pairs;
  std::array<std::array<std::uint8_t, 16>, 16> pairIndex{};
  int pair = 0;
  for (int a = 0; a < 16; ++a) {
    for (int b = a + 1; b < 16; ++b, ++pair) {
      pairIndex[a][b] = std::uint8_t(pair);
      for (int k = 0; k < cell.distinct; ++k) {
        const auto& row = distances[cell.number[k]];
        pairs[pair][k] = std::min(row[a], row[b]);
      }
    }
  }
  for (int a = 0; a < 16; ++a) {
    for (int b = a + 1; b < 16; ++b) {
      const auto& ab = pairs[pairIndex[a][b]];
      for (int c = b + 1; c < 16; ++c) {
        std::uint32_t error = 0;
        for (int k = 0; k < cell.distinct; ++k) {
          error += cell.count[k] * std::min(ab[k], distances[cell.number[k]][c]);
        }
        errors.threes[Ranks.Of(a, b, c)] = error;
        for (int d = c + 1; d < 16; ++d) {
          const auto& cd = pairs[pairIndex[c][d]];
          std::uint32_t four = 0;
          for (int k = 0; k < cell.distinct; ++k) {
            four += cell.count[k] * std::min(ab[k], cd[k]);
          }
          errors.fours[Ranks.Of(a, b, c, d)] = four;
        }
      }
    }
  }
}

// The error of three colours a < b < c beside the background.
std::uint32_t TripleError(const SetErrors& errors, int a, int b, int c, int background)
{
  if (background == a || background == b || background == c) {
    return errors.threes[Ranks.Of(a, b, c)];
  }
  if (background < a) {
    return errors.fours[Ranks.Of(background, a, b, c)];
  }
  if (background < b) {
    return errors.fours[Ranks.Of(a, background, b, c)];
  }
  if (background < c) {
    return errors.fours[Ranks.Of(a, b, background, c)];
  }
  return errors.fours[Ranks.Of(a, b, c, background)];
}

// The three colours that, beside `background`, give the cell the least error,
// tried directly: quicker than measuring every set for a cell of few colours,
// where a triple without error comes soon and the sums stop early.
CellChoice BestTripleDirect(const CellColours& cell, const PaletteDistances& distances,
                            int background)
{
  std::array<std::uint32_t, 16> base{};
  for (int k = 0; k < cell.distinct; ++k) {
    base[k] = distances[cell.number[k]][background];
  }
  CellChoice best{{}, std::numeric_limits<std::uint32_t>::max()};
  std::array<std::uint32_t, 16> pairBest{};
  for (int a = 0; a < 16; ++a) {
    for (int b = a + 1; b < 16; ++b) {
      for (int k = 0; k < cell.distinct; ++k) {
        const auto& row = distances[cell.number[k]];
        pairBest[k] = std::min({base[k], row[a], row[b]});
      }
      for (int c = b + 1; c < 16; ++c) {
        std::uint32_t error = 0;
        for (int k = 0; k < cell.distinct && error < best.error; ++k) {
          error += cell.count[k] * std::min(pairBest[k], distances[cell.number[k]][c]);
        }
        if (error < best.error) {
          best = {{std::uint8_t(a), std::uint8_t(b), std::uint8_t(c)}, error};
          if (error == 0) {
            return best;
          }
        }
      }
    }
  }
  return best;
}

// For every background, the three colours that beside it give the cell the
// least error. Every triple a < b < c of the 16 colours is tried in order; the
// first with the least error wins.
std::array<CellChoice, 16> BestTriples(const CellColours& cell, const PaletteDistances& distances,
                                       SetErrors& errors)
{
  std::array<CellChoice, 16> best;
  if (cell.distinct <= FewColours) {
    for (int background = 0; background < 16; ++background) {
      best[background] = BestTripleDirect(cell, distances, background);
    }
    return best;
  }
  MeasureSets(cell, distances, errors);
  for (int background = 0; background < 16; ++background) {
    CellChoice& choice = best[background];
    choice = {{}, std::numeric_limits<std::uint32_t>::max()};
    for (int a = 0; a < 16 && choice.error > 0; ++a) {
      for (int b = a + 1; b < 16 && choice.error > 0; ++b) {
        for (int c = b + 1; c < 16; ++c) {
          const std::uint32_t error = TripleError(errors, a, b, c, background);
          if (error < choice.error) {
            choice = {{std::uint8_t(a), std::uint8_t(b), std::uint8_t(c)}, error};
            if (error == 0) {
              break;
            }
          }
        }
      }
    }
  }
  return best;
}

void WriteCell(const std::vector<std::uint8_t>& numbers, const PaletteDistances& distances,
               const MixTable& table, int cx, int cy, int background, Triple colours, C64Data& data,
               Picture& result)
{
  using namespace MulticolourLayout;
  data[std::size_t(McScreen1.offset + ScreenOffset(cx, cy))] =
      std::uint8_t(colours.high << 4 | colours.low);
  data[std::size_t(McColourRam.offset + ScreenOffset(cx, cy))] = colours.ram;
  const std::array<std::uint8_t, 4> sources = {std::uint8_t(background), colours.high, colours.low,
                                               colours.ram};
  for (int row = 0; row < 8; ++row) {
    const int y = cy * 8 + row;
    for (int pixel = 0; pixel < McCellWidth; ++pixel) {
      const int x = cx * McCellWidth + pixel;
      const int bits = NearestSource(sources, distances[numbers[std::size_t(y) * McWidth + x]]);
      SetMcPixel(data, McBitmap1, cx, cy, row, pixel, bits);
      ShowMcPixel(result, x, y, table.colour[sources[bits]]);
    }
  }
}

}  // namespace

void SelectMulticolourColours(Picture& result, const MixTable& table, Measure measure,
                              C64Data& data, ProgressReport& progress)
{
  progress.SetStatus("Brute Force Multicolour color selection in progress");
  const PaletteDistances distances = MeasurePaletteDistances(table, measure);
  const std::vector<std::uint8_t> numbers = McPaletteNumbers(result, table, progress);
  // Every background is tried: each cell's best three colours beside it, and
  // the background whose cells add up to the least error wins.
  std::vector<std::array<CellChoice, 16>> choices(CellCount);
  ParallelFor(25, [&](int cy) {
    if (!progress.ShouldContinue()) {
      return;
    }
    auto errors = std::make_unique<SetErrors>();
    for (int cx = 0; cx < 40; ++cx) {
      choices[std::size_t(cy * 40 + cx)] =
          BestTriples(GatherCell(numbers, cx, cy), distances, *errors);
    }
  });
  if (!progress.ShouldContinue()) {
    return;
  }
  int background = 0;
  std::uint64_t leastError = std::numeric_limits<std::uint64_t>::max();
  for (int candidate = 0; candidate < 16; ++candidate) {
    std::uint64_t error = 0;
    for (const auto& cell : choices) {
      error += cell[candidate].error;
    }
    if (error < leastError) {
      leastError = error;
      background = candidate;
    }
  }
  data[MulticolourLayout::McBackground] = std::uint8_t(background);
  for (int cy = 0; cy < 25; ++cy) {
    progress.SetProgress(cy * 8);
    for (int cx = 0; cx < 40; ++cx) {
      WriteCell(numbers, distances, table, cx, cy, background,
                choices[std::size_t(cy * 40 + cx)][background].colours, data, result);
    }
  }
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
