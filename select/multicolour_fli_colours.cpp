#include "select/multicolour_fli_colours.h"

#include <algorithm>
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
// The pixels of a cell's eight spans, each as its error for every colour.
using SpanPixels = std::array<std::array<const ColourErrors*, McCellWidth>, 8>;

struct CellChoice {
  std::uint8_t ram = 0;
  std::array<McPair, 8> spans{};
  std::uint32_t error = 0;
};

// The cell's spans with colour RAM colour `ram`, each taking its best pair
// beside black and that colour. Stops summing once the total exceeds `bound`
// (the caller then discards the choice).
CellChoice SpansFor(const SpanPixels& rows, int ram, std::uint32_t bound)
{
  CellChoice choice;
  choice.ram = std::uint8_t(ram);
  for (int row = 0; row < 8 && choice.error <= bound; ++row) {
    std::array<std::uint32_t, McCellWidth> base;
    for (int pixel = 0; pixel < McCellWidth; ++pixel) {
      base[pixel] = std::min((*rows[row][pixel])[Black], (*rows[row][pixel])[ram]);
    }
    choice.spans[row] = LeastErrorPair(rows[row], base);
    choice.error += choice.spans[row].error;
  }
  return choice;
}

// Every colour RAM colour is tried; the one with the least total wins, the
// lowest of equals. The commonest colour of the cell goes first: it is
// usually the winner, and the others then stop summing after a few spans.
CellChoice BestCell(const std::vector<std::uint8_t>& numbers, const PaletteDistances& distances,
                    int cx, int cy)
{
  SpanPixels rows;
  std::array<int, 16> count{};
  for (int row = 0; row < 8; ++row) {
    for (int pixel = 0; pixel < McCellWidth; ++pixel) {
      const std::uint8_t number =
          numbers[std::size_t(cy * 8 + row) * McWidth + cx * McCellWidth + pixel];
      rows[row][pixel] = &distances[number];
      ++count[number];
    }
  }
  const int commonest = int(std::max_element(count.begin(), count.end()) - count.begin());
  CellChoice best = SpansFor(rows, commonest, std::numeric_limits<std::uint32_t>::max());
  for (int ram = 0; ram < 16; ++ram) {
    if (best.error == 0 && ram > best.ram) {
      break;  // only a lower colour could still tie
    }
    if (ram == commonest) {
      continue;
    }
    // A lower colour of equal total wins, a higher one must do better.
    const bool winsTies = ram < best.ram;
    const CellChoice candidate = SpansFor(rows, ram, winsTies ? best.error : best.error - 1);
    if (candidate.error < best.error || (winsTies && candidate.error == best.error)) {
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
