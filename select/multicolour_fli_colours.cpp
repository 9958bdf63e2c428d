#include "select/multicolour_fli_colours.h"

#include <array>
#include <limits>
#include <vector>

#include "colour/parallel.h"
#include "select/multicolour_cells.h"

namespace pavona {
namespace {

// FLI changes the screen on every line, and the video chip shows no picture
// in the first three cell columns then.
constexpr int HiddenCellColumns = 3;
constexpr std::uint8_t Black = 0;

// A cell's colour RAM colour, the screen colours of its eight spans, and the
// cell's total error.
struct CellChoice {
  std::uint8_t ram = 0;
  std::array<McPair, 8> spans{};
  std::uint32_t error = 0;
};

// For each colour RAM colour in turn, every span takes its best pair beside
// black and that colour; the colour with the least total wins, the first of
// equals. A colour stops being summed once it cannot beat the best so far.
CellChoice BestCell(const std::vector<std::uint8_t>& numbers, const PaletteDistances& distances,
                    int cx, int cy)
{
  std::array<std::array<const ColourErrors*, McCellWidth>, 8> rows;
  for (int row = 0; row < 8; ++row) {
    for (int pixel = 0; pixel < McCellWidth; ++pixel) {
      const std::size_t index = std::size_t(cy * 8 + row) * McWidth + cx * McCellWidth + pixel;
      rows[row][pixel] = &distances[numbers[index]];
    }
  }
  CellChoice best;
  best.error = std::numeric_limits<std::uint32_t>::max();
  for (int ram = 0; ram < 16 && best.error > 0; ++ram) {
    CellChoice candidate;
    candidate.ram = std::uint8_t(ram);
    for (int row = 0; row < 8 && candidate.error < best.error; ++row) {
      std::array<std::uint32_t, McCellWidth> base;
      for (int pixel = 0; pixel < McCellWidth; ++pixel) {
        base[pixel] = std::min((*rows[row][pixel])[Black], (*rows[row][pixel])[ram]);
      }
      candidate.spans[row] = LeastErrorPair(rows[row], base);
      candidate.error += candidate.spans[row].error;
    }
    if (candidate.error < best.error) {
      best = candidate;
    }
  }
  return best;
}

void WriteCell(const std::vector<std::uint8_t>& numbers, const PaletteDistances& distances,
               const MixTable& table, int cx, int cy, const CellChoice& choice, C64Data& data,
               Picture& result)
{
  using namespace MulticolourLayout;
  data[std::size_t(McColourRam.offset + ScreenOffset(cx, cy))] = choice.ram;
  for (int row = 0; row < 8; ++row) {
    const McPair& span = choice.spans[row];
    data[std::size_t(McFliScreens.offset + FliScreenOffset(cx, cy, row))] =
        std::uint8_t(span.high << 4 | span.low);
    const std::array<std::uint8_t, 4> sources = {Black, span.high, span.low, choice.ram};
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

void SelectMulticolourFliColours(Picture& result, const MixTable& table, Measure measure,
                                 C64Data& data, ProgressReport& progress)
{
  progress.SetStatus("Brute Force Multicolour FLI color selection in progress");
  const PaletteDistances distances = MeasurePaletteDistances(table, measure);
  const std::vector<std::uint8_t> numbers = McPaletteNumbers(result, table, progress);
  std::vector<CellChoice> choices(40 * 25);
  ParallelFor(25, [&](int cy) {
    if (!progress.ShouldContinue()) {
      return;
    }
    for (int cx = HiddenCellColumns; cx < 40; ++cx) {
      choices[std::size_t(cy * 40 + cx)] = BestCell(numbers, distances, cx, cy);
    }
  });
  if (!progress.ShouldContinue()) {
    return;
  }
  data[MulticolourLayout::McBackground] = Black;
  for (int cy = 0; cy < 25; ++cy) {
    progress.SetProgress(cy * 8);
    for (int cx = HiddenCellColumns; cx < 40; ++cx) {
      WriteCell(numbers, distances, table, cx, cy, choices[std::size_t(cy * 40 + cx)], data,
                result);
    }
  }
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
