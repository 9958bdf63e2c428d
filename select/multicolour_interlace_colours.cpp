#include "select/multicolour_interlace_colours.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "colour/yuv.h"
#include "select/cell_distance.h"
#include "select/multicolour_cells.h"
#include "select/ordered_units.h"

namespace pavona {
namespace {

// Showing a mix that the flicker reduction removed costs more than any real
// error (the perceptual measure stays below 2^19), so the search takes one
// only when nothing else is left; 64 of them still fit a cell's 32-bit sum.
constexpr std::uint32_t RemovedMixError = 1u << 22;
// Rounds of "picture 1 given picture 2, then picture 2 given picture 1" per
// cell while its right neighbour is still open; a second sweep then adds one
// more round with both neighbours fixed.
constexpr int FirstSweepRounds = 2;
// The colour RAM colours tried in full for each cell.
constexpr int RamCandidates = 3;
constexpr int CellPixels = 8 * McCellWidth;
constexpr int CellRows = 25;
constexpr int CellColumns = 40;

// What the search reads: the dithered mix of every hires pixel and the error
// of showing each mix for it. The tables hold rows for the mixes that the
// dithered picture holds only, each once, in the order first met.
struct Tables {
  // The slot of the mix of two colours, in either order.
  std::array<std::array<std::uint8_t, 16>, 16> slot{};
  // The mix slots that the dithered picture holds.
  std::vector<std::uint8_t> held;
  // optimistic[h][p]: the least error of showing colour p for a pixel
  // dithered to mix held[h], in one picture, whatever the other picture shows.
  std::vector<ColourErrors> optimistic;
  // beside[h][o][p]: the error of showing the mix of colour p with colour o,
  // the other picture's, for such a pixel; laid out so that a pixel's 16
  // errors are read at once.
  std::vector<std::array<ColourErrors, 16>> beside;
  std::vector<std::uint8_t> dithered;  // 320 x 200 places in `held`, row by row
  int background = 0;
};

// The place of each colour of the table, for finding a pixel's mix among
// 136 in a few steps: the lowest slot of each colour, sorted by colour.
class MixFinder {
 public:
  explicit MixFinder(const MixTable& table)
  {
    for (int slot = 0; slot < MixColourCount; ++slot) {
      entries_[std::size_t(slot)] = {table.colour[std::size_t(slot)], std::uint8_t(slot)};
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.colour < b.colour; });
  }

  // The lowest slot holding the colour, or -1 when none does.
  int SlotOf(std::uint32_t colour) const
  {
    const auto found = std::lower_bound(
        entries_.begin(), entries_.end(), colour,
        [](const Entry& entry, std::uint32_t wanted) { return entry.colour < wanted; });
    return found != entries_.end() && found->colour == colour ? found->slot : -1;
  }

 private:
  struct Entry {
    std::uint32_t colour;
    std::uint8_t slot;
  };
  std::array<Entry, MixColourCount> entries_;
};

// The mix slot of every hires pixel; a colour that is no mix of the table is
// reported and taken as the nearest mix still in play.
std::vector<std::uint8_t> DitheredSlots(const Picture& dithered, const MixTable& table,
                                        ProgressReport& progress)
{
  std::vector<std::uint8_t> inPlay;
  for (int slot = 0; slot < MixColourCount; ++slot) {
    if (!IsRemovedMix(table, slot)) {
      inPlay.push_back(std::uint8_t(slot));
    }
  }
  const MixFinder finder(table);
  std::vector<std::uint8_t> slots(PixelCount);
  std::uint32_t lastColour = table.colour[0];
  int lastSlot = 0;
  for (int i = 0; i < PixelCount; ++i) {
    if (dithered[i] != lastColour) {
      lastColour = dithered[i];
      lastSlot = finder.SlotOf(lastColour);
      if (lastSlot < 0) {
        progress.ReportStrayColour(lastColour);
        lastSlot = NearestListedSlot(lastColour, table, Measure::RgbDistance, inPlay);
      }
    }
    slots[std::size_t(i)] = std::uint8_t(lastSlot);
  }
  return slots;
}

// The background both pictures share: the colour that the dithered mixes
// hold most often, the first of equals.
int CommonestComponent(const std::vector<std::uint8_t>& slots)
{
  std::array<int, MixColourCount> slotCount{};
  for (std::uint8_t slot : slots) {
    ++slotCount[slot];
  }
  std::array<long, 16> count{};
  for (int i = 0; i < 16; ++i) {
    for (int j = i; j < 16; ++j) {
      count[i] += slotCount[PairSlot(i, j)];
      count[j] += slotCount[PairSlot(i, j)];
    }
  }
  return int(std::max_element(count.begin(), count.end()) - count.begin());
}

Tables MeasureMixes(const MixTable& table, Measure measure, const std::vector<std::uint8_t>& slots)
{
  Tables tables;
  for (int p = 0; p < 16; ++p) {
    for (int q = 0; q < 16; ++q) {
      tables.slot[p][q] = std::uint8_t(PairSlot(std::min(p, q), std::max(p, q)));
    }
  }
  std::array<int, MixColourCount> place;
  place.fill(-1);
  tables.dithered.resize(slots.size());
  for (std::size_t i = 0; i < slots.size(); ++i) {
    int& held = place[slots[i]];
    if (held < 0) {
      held = int(tables.held.size());
      tables.held.push_back(slots[i]);
    }
    tables.dithered[i] = std::uint8_t(held);
  }
  std::array<Yuv, MixColourCount> yuv;
  for (int m = 0; m < MixColourCount; ++m) {
    yuv[m] = ColourToYuv(table.colour[m]);
  }
  tables.optimistic.resize(tables.held.size());
  tables.beside.resize(tables.held.size());
  for (std::size_t h = 0; h < tables.held.size(); ++h) {
    const int s = tables.held[h];
    // error[m]: the error of showing mix m for a pixel dithered to mix s.
    std::array<std::uint32_t, MixColourCount> error;
    for (int m = 0; m < MixColourCount; ++m) {
      error[m] = IsRemovedMix(table, m)
                     ? RemovedMixError
                     : CellDistance(measure, table.colour[s], yuv[s], table.colour[m], yuv[m]);
    }
    for (int p = 0; p < 16; ++p) {
      std::uint32_t least = std::numeric_limits<std::uint32_t>::max();
      for (int q = 0; q < 16; ++q) {
        least = std::min(least, error[tables.slot[p][q]]);
      }
      tables.optimistic[h][p] = least;
    }
    for (int other = 0; other < 16; ++other) {
      for (int p = 0; p < 16; ++p) {
        tables.beside[h][other][p] = error[tables.slot[other][p]];
      }
    }
  }
  return tables;
}

struct CellColours {
  std::uint8_t ram = 0;
  McPair first, second;  // the screen colours of picture 1 and picture 2
};

// One cell row of both pictures. Picture 1's pixel k covers hires columns 2k
// and 2k + 1, picture 2's pixel k columns 2k + 1 and 2k + 2, so each cell's
// picture 2 reaches one column into the next cell. Cells are chosen left to
// right; pixels of cells not chosen yet count with the optimistic errors.
class RowSearch {
 public:
  RowSearch(const Tables& tables, int cy) : tables_(tables), cy_(cy) {}

  void Run()
  {
    for (int cx = 0; cx < CellColumns; ++cx) {
      ChooseCell(cx);
    }
    for (int cx = 0; cx < CellColumns; ++cx) {
      const std::uint8_t ram = cells_[cx].ram;
      ChooseFirst(cx, ram);
      ChooseSecond(cx, ram);
    }
  }

  void Write(const MixTable& table, C64Data& data, Picture& result) const
  {
    using namespace MulticolourLayout;
    for (int cx = 0; cx < CellColumns; ++cx) {
      const CellColours& cell = cells_[cx];
      data[std::size_t(McScreen1.offset + ScreenOffset(cx, cy_))] =
          std::uint8_t(cell.first.high << 4 | cell.first.low);
      data[std::size_t(McScreen2.offset + ScreenOffset(cx, cy_))] =
          std::uint8_t(cell.second.high << 4 | cell.second.low);
      data[std::size_t(McColourRam.offset + ScreenOffset(cx, cy_))] = cell.ram;
      for (int row = 0; row < 8; ++row) {
        for (int pixel = 0; pixel < McCellWidth; ++pixel) {
          const int k = cx * McCellWidth + pixel;
          SetMcPixel(data, McBitmap1, cx, cy_, row, pixel, bits1_[row][k]);
          SetMcPixel(data, McBitmap2, cx, cy_, row, pixel, bits2_[row][k]);
        }
      }
    }
    for (int row = 0; row < 8; ++row) {
      for (int x = 0; x < PictureWidth; ++x) {
        const int slot = tables_.slot[colour1_[row][x / 2]][SecondColourAt(row, x)];
        result[PixelIndex(x, cy_ * 8 + row)] = table.colour[slot];
      }
    }
  }

 private:
  using CellErrors = std::array<ColourErrors, CellPixels>;

  // The first pass over a cell, its right neighbour still open. The colour
  // RAM colours that most reduce what the background alone would cost, in
  // both pictures, are each tried: picture 1 takes its best colours with
  // picture 2 open, then picture 2 beside it; the colour that leaves
  // picture 2 with the least error wins, the first of equals. Then the
  // pictures take turns.
  //
  // Picture 1's errors with picture 2 open are the same for every candidate,
  // and each candidate's choice touches only this cell, so the errors are
  // measured once and the winner's choice is kept rather than made again.
  void ChooseCell(int cx)
  {
    chosen1_ = chosen2_ = cx;
    const CellErrors firstErrors = FirstErrors(cx);
    const std::array<std::uint8_t, RamCandidates> candidates = RamCandidatesOf(cx, firstErrors);
    std::uint32_t leastError = std::numeric_limits<std::uint32_t>::max();
    CellChoice best;
    for (std::uint8_t ram : candidates) {
      chosen1_ = cx;
      ChooseFirst(cx, ram, firstErrors);
      chosen1_ = cx + 1;
      ChooseSecond(cx, ram);
      // A cell's error stays far below the largest number: the first
      // candidate always counts.
      if (cells_[cx].second.error < leastError) {
        leastError = cells_[cx].second.error;
        cells_[cx].ram = ram;
        best = ChoiceOf(cx);
      }
    }
    Restore(cx, best);
    const std::uint8_t ram = cells_[cx].ram;
    chosen2_ = cx + 1;
    for (int round = 1; round < FirstSweepRounds; ++round) {
      ChooseFirst(cx, ram);
      ChooseSecond(cx, ram);
    }
  }

  // Scores each colour by how much it lowers the errors of the cell's pixels
  // below the background's, in both pictures with the other one open.
  std::array<std::uint8_t, RamCandidates> RamCandidatesOf(int cx,
                                                          const CellErrors& firstErrors) const
  {
    std::array<std::uint64_t, 16> gain{};
    const CellErrors secondErrors = SecondErrors(cx);
    for (const CellErrors* errors : {&firstErrors, &secondErrors}) {
      for (const ColourErrors& pixel : *errors) {
        const std::uint32_t background = pixel[tables_.background];
        for (int ram = 0; ram < 16; ++ram) {
          gain[ram] += background - std::min(background, pixel[ram]);
        }
      }
    }
    // The largest gains in turn, the lowest colour of equals first.
    std::array<std::uint8_t, RamCandidates> candidates;
    std::array<bool, 16> taken{};
    for (std::uint8_t& candidate : candidates) {
      int best = -1;
      for (int ram = 0; ram < 16; ++ram) {
        if (!taken[ram] && (best < 0 || gain[ram] > gain[best])) {
          best = ram;
        }
      }
      taken[best] = true;
      candidate = std::uint8_t(best);
    }
    return candidates;
  }

  void ChooseFirst(int cx, std::uint8_t ram) { ChooseFirst(cx, ram, FirstErrors(cx)); }

  void ChooseFirst(int cx, std::uint8_t ram, const CellErrors& errors)
  {
    cells_[cx].first = PairFor(errors, ram);
    Apply(errors, cx, ram, cells_[cx].first, colour1_, bits1_);
  }

  void ChooseSecond(int cx, std::uint8_t ram)
  {
    const CellErrors errors = SecondErrors(cx);
    cells_[cx].second = PairFor(errors, ram);
    Apply(errors, cx, ram, cells_[cx].second, colour2_, bits2_);
  }

  McPair PairFor(const CellErrors& errors, int ram) const
  {
    std::array<const ColourErrors*, CellPixels> pixels;
    std::array<std::uint32_t, CellPixels> base;
    for (int p = 0; p < CellPixels; ++p) {
      pixels[p] = &errors[p];
      base[p] = std::min(errors[p][tables_.background], errors[p][ram]);
    }
    return LeastErrorPair(pixels, base);
  }

  using PixelRows = std::array<std::array<std::uint8_t, McWidth>, 8>;
  using CellPixelRows = std::array<std::array<std::uint8_t, McCellWidth>, 8>;

  // All that choosing one cell's colours sets.
  struct CellChoice {
    CellColours colours;
    CellPixelRows colour1, bits1, colour2, bits2;
  };

  CellChoice ChoiceOf(int cx) const
  {
    CellChoice choice;
    choice.colours = cells_[cx];
    for (int row = 0; row < 8; ++row) {
      const auto first = std::size_t(cx * McCellWidth);
      std::copy_n(&colour1_[row][first], McCellWidth, choice.colour1[row].begin());
      std::copy_n(&bits1_[row][first], McCellWidth, choice.bits1[row].begin());
      std::copy_n(&colour2_[row][first], McCellWidth, choice.colour2[row].begin());
      std::copy_n(&bits2_[row][first], McCellWidth, choice.bits2[row].begin());
    }
    return choice;
  }

  void Restore(int cx, const CellChoice& choice)
  {
    cells_[cx] = choice.colours;
    for (int row = 0; row < 8; ++row) {
      const auto first = std::size_t(cx * McCellWidth);
      std::copy_n(choice.colour1[row].begin(), McCellWidth, &colour1_[row][first]);
      std::copy_n(choice.bits1[row].begin(), McCellWidth, &bits1_[row][first]);
      std::copy_n(choice.colour2[row].begin(), McCellWidth, &colour2_[row][first]);
      std::copy_n(choice.bits2[row].begin(), McCellWidth, &bits2_[row][first]);
    }
  }

  void Apply(const CellErrors& errors, int cx, std::uint8_t ram, const McPair& pair,
             PixelRows& colours, PixelRows& bits) const
  {
    const std::array<std::uint8_t, 4> sources = {std::uint8_t(tables_.background), pair.high,
                                                 pair.low, ram};
    for (int p = 0; p < CellPixels; ++p) {
      const int k = cx * McCellWidth + p % McCellWidth;
      const int source = NearestSource(sources, errors[p]);
      bits[p / McCellWidth][k] = std::uint8_t(source);
      colours[p / McCellWidth][k] = sources[source];
    }
  }

  // The colour picture 2 shows at hires column x, or -1 while it is open.
  int SecondColourAt(int row, int x) const
  {
    if (x == 0) {
      return tables_.background;
    }
    const int k = (x - 1) / 2;
    return k / McCellWidth < chosen2_ ? colour2_[row][k] : -1;
  }

  int FirstColourAt(int row, int x) const
  {
    const int k = x / 2;
    return k / McCellWidth < chosen1_ ? colour1_[row][k] : -1;
  }

  // Adds the error of each colour of one picture at hires column x, beside
  // the other picture's colour there (-1: open).
  void AddColumn(int row, int x, int other, ColourErrors& errors) const
  {
    const std::uint8_t dithered = tables_.dithered[std::size_t(PixelIndex(x, cy_ * 8 + row))];
    const ColourErrors& added =
        other < 0 ? tables_.optimistic[dithered] : tables_.beside[dithered][std::size_t(other)];
    for (int p = 0; p < 16; ++p) {
      errors[p] += added[p];
    }
  }

  CellErrors FirstErrors(int cx) const
  {
    CellErrors errors{};
    for (int p = 0; p < CellPixels; ++p) {
      const int row = p / McCellWidth;
      const int x = 2 * (cx * McCellWidth + p % McCellWidth);
      AddColumn(row, x, SecondColourAt(row, x), errors[p]);
      AddColumn(row, x + 1, SecondColourAt(row, x + 1), errors[p]);
    }
    return errors;
  }

  CellErrors SecondErrors(int cx) const
  {
    CellErrors errors{};
    for (int p = 0; p < CellPixels; ++p) {
      const int row = p / McCellWidth;
      const int x = 2 * (cx * McCellWidth + p % McCellWidth) + 1;
      AddColumn(row, x, FirstColourAt(row, x), errors[p]);
      if (x + 1 < PictureWidth) {
        AddColumn(row, x + 1, FirstColourAt(row, x + 1), errors[p]);
      }
    }
    return errors;
  }

  const Tables& tables_;
  int cy_;
  int chosen1_ = 0;  // cells 0..chosen1_ - 1 have picture 1 chosen
  int chosen2_ = 0;
  std::array<CellColours, CellColumns> cells_{};
  PixelRows colour1_{}, colour2_{}, bits1_{}, bits2_{};
};

}  // namespace

void SelectMulticolourInterlaceColours(Picture& result, const MixTable& table, Measure measure,
                                       C64Data& data, ProgressReport& progress)
{
  progress.SetStatus("Multicolour Interlace color selection in progress");
  const std::vector<std::uint8_t> slots = DitheredSlots(result, table, progress);
  Tables tables = MeasureMixes(table, measure, slots);
  tables.background = CommonestComponent(slots);
  // Each cell row is searched and written by whichever worker takes it: the
  // rows touch their own bytes of the C64 data and their own pixel rows only.
  // Progress comes from this thread, in row order, as the reports may not be
  // made from two threads at once.
  RunUnitsInOrder(
      CellRows, [&] { return progress.ShouldContinue(); },
      [&](int cy) {
        RowSearch row(tables, cy);
        row.Run();
        row.Write(table, data, result);
      },
      [&](int cy) { progress.SetProgress(cy * 8); }, [](int) {});
  if (!progress.ShouldContinue()) {
    return;
  }
  data[MulticolourLayout::McBackground] = std::uint8_t(tables.background);
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
