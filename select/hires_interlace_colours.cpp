#include "select/hires_interlace_colours.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "colour/mix_pair_codes.h"
#include "colour/parallel.h"
#include "select/hires_band_colours.h"

namespace pavona {
namespace {

// The error of every candidate (X, Y) is worked out sixteen at a time: X fixed,
// the first colour y1 of Y fixed, one lane per second colour y2 = 0..15, held
// as two vectors of 8 lanes (y2 = 0..7 and 8..15). Lanes with y2 < y1 are no
// mix and are masked out before the winner is picked. A cell error is at most
// 64 * 765 = 48960, so 16-bit lanes hold it, and 0xFFFF is above every real
// error.
using Lanes = std::uint16_t __attribute__((vector_size(16)));
using Row = std::array<Lanes, 2>;
constexpr std::uint16_t Unusable = 0xFFFF;
// A removed cross mix: farther than any mix (a distance is at most 765).
constexpr std::uint16_t Absent = 0x7FFF;

inline Lanes Broadcast(std::uint16_t value)
{
  return Lanes{value, value, value, value, value, value, value, value};
}

#if defined(__SSE2__)
// Only distances (at most 765) and the Absent mark go through here, all below
// 0x8000, where the signed minimum equals the unsigned one: plain x86-64 has
// an instruction for the signed one only.
inline Lanes Min(Lanes a, Lanes b)
{
  return reinterpret_cast<Lanes>(
      _mm_min_epi16(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
}

// Whether some lane of the row is below the limit, unsigned: the saturated
// difference limit - value is nonzero exactly there.
inline bool AnyLaneBelow(const Row& values, Lanes limit)
{
  const __m128i lanes = reinterpret_cast<__m128i>(limit);
  const __m128i room = _mm_or_si128(_mm_subs_epu16(lanes, reinterpret_cast<__m128i>(values[0])),
                                    _mm_subs_epu16(lanes, reinterpret_cast<__m128i>(values[1])));
  return _mm_movemask_epi8(_mm_cmpeq_epi16(room, _mm_setzero_si128())) != 0xFFFF;
}

#else

// Other CPUs: the compiler's generic vector operations.
inline Lanes Min(Lanes a, Lanes b)
{
  return a < b ? a : b;
}

inline bool AnyLaneBelow(const Row& values, Lanes limit)
{
  const auto below = (values[0] < limit) | (values[1] < limit);
  for (int n = 0; n < 8; ++n) {
    if (below[n] != 0) {
      return true;
    }
  }
  return false;
}

#endif

inline std::uint16_t Lane(const Row& row, int n)
{
  return row[n >> 3][n & 7];
}

inline void SetLane(Row& row, int n, std::uint16_t value)
{
  row[n >> 3][n & 7] = value;
}

// Distances from one colour of a band to the mix of every two C64 colours a
// and b: mix[a] lane b. In cross[a] a removed mix is marked Absent: a removed
// cross mix stands for X, whose distance is in the minimum anyway.
struct MixGrids {
  std::array<Row, 16> mix;
  std::array<Row, 16> cross;
  std::array<std::uint16_t, MixColourCount> toSlot;
  // For the bound of a candidate X before its rows are measured: the nearest
  // cross mix with C64 colour a, and the nearest mix in the slots from each
  // slot on.
  std::array<std::uint16_t, 16> nearestCross;
  std::array<std::uint16_t, MixColourCount> nearestFrom;
};

struct Run {
  const MixTable& table;
  std::array<bool, MixColourCount> removed{};
  // Lane y2 of row y1 is 0xFFFF when (y1, y2) is no mix or a removed one.
  std::array<Row, 16> unusableY{};
  // Row x2 is 0xFFFF in lanes y2 < x2: Y must not come before X.
  std::array<Row, 16> beforeX{};
};

Run PrepareRun(const MixTable& table)
{
  Run run{table};
  for (int slot = 0; slot < MixColourCount; ++slot) {
    run.removed[slot] = IsRemovedMix(table, slot);
  }
  for (int y1 = 0; y1 < 16; ++y1) {
    for (int y2 = 0; y2 < 16; ++y2) {
      SetLane(run.unusableY[y1], y2, y2 < y1 || run.removed[PairSlot(y1, y2)] ? Unusable : 0);
      SetLane(run.beforeX[y1], y2, y2 < y1 ? Unusable : 0);
    }
  }
  return run;
}

void MeasureBand(const Run& run, const BandColours& band, std::vector<MixGrids>& grids)
{
  grids.resize(band.Count());
  for (int id = 0; id < band.Count(); ++id) {
    const std::uint32_t pixel = band.Colour(id);
    MixGrids& grid = grids[id];
    for (int slot = 0; slot < MixColourCount; ++slot) {
      const std::uint32_t mix = run.table.colour[slot];
      grid.toSlot[slot] = std::uint16_t(std::abs(RedOf(pixel) - RedOf(mix)) +
                                        std::abs(GreenOf(pixel) - GreenOf(mix)) +
                                        std::abs(BlueOf(pixel) - BlueOf(mix)));
    }
    for (int a = 0; a < 16; ++a) {
      for (int b = 0; b < 16; ++b) {
        const int slot = MixSlotOfColours(a, b);
        SetLane(grid.mix[a], b, grid.toSlot[slot]);
        SetLane(grid.cross[a], b, run.removed[slot] ? Absent : grid.toSlot[slot]);
      }
    }
    for (int a = 0; a < 16; ++a) {
      grid.nearestCross[a] = Absent;
      for (int b = 0; b < 16; ++b) {
        grid.nearestCross[a] = std::min(grid.nearestCross[a], Lane(grid.cross[a], b));
      }
    }
    std::uint16_t nearest = Absent;
    for (int slot = MixColourCount - 1; slot >= 0; --slot) {
      nearest = std::min(nearest, grid.toSlot[slot]);
      grid.nearestFrom[slot] = nearest;
    }
  }
}

struct Winner {
  int x = 0;  // mix slots of X and Y
  int y = 0;
};

// How many colours are summed between two looks at whether a row of
// candidates can still beat the best error so far.
constexpr int ColoursPerCheck = 4;

Winner BestCandidate(const Run& run, const std::vector<MixGrids>& grids, UnitColour* colours,
                     int colourCount)
{
  // The most frequent colours first: their share of an error is largest, so
  // a hopeless row of candidates is given up soonest.
  std::stable_sort(colours, colours + colourCount,
                   [](const UnitColour& a, const UnitColour& b) { return a.count > b.count; });
  std::array<const MixGrids*, 64> grid;
  std::array<Lanes, 64> count;
  std::array<Row, 64> withX;
  for (int c = 0; c < colourCount; ++c) {
    grid[c] = &grids[colours[c].id];
    count[c] = Broadcast(std::uint16_t(colours[c].count));
  }
  Winner winner;
  // The candidate (0, 0) is never removed and its error is below 0xFFFF, so
  // starting from 0xFFFF takes it first, as the search must.
  std::uint16_t best = Unusable;
  Lanes bestLanes = Broadcast(best);
  for (int x1 = 0; x1 < 16; ++x1) {
    for (int x2 = x1; x2 < 16; ++x2) {
      const int x = PairSlot(x1, x2);
      if (run.removed[x]) {
        continue;
      }
      // Each colour is at least as far from a candidate's four mixes as from
      // the nearest of X, any cross mix with x1 or x2 (C1 = mix(x1, y2), C2 =
      // mix(y1, x2)) and any Y from slot x on. When that bound does not beat
      // the best error, no candidate with this X can (only a strictly smaller
      // error wins).
      std::uint32_t bound = 0;
      for (int c = 0; c < colourCount && bound < best; ++c) {
        const MixGrids& g = *grid[c];
        bound += std::uint32_t(std::min(
                     {g.toSlot[x], g.nearestCross[x1], g.nearestCross[x2], g.nearestFrom[x]})) *
                 colours[c].count;
      }
      if (bound >= best) {
        continue;
      }
      // Per colour: the smaller of its distances to X and to C1 = mix(x1, y2).
      for (int c = 0; c < colourCount; ++c) {
        const Lanes toX = Broadcast(Lane(grid[c]->mix[x1], x2));
        withX[c] = {Min(toX, grid[c]->cross[x1][0]), Min(toX, grid[c]->cross[x1][1])};
      }
      for (int y1 = x1; y1 < 16; ++y1) {
        const Row& beforeX = y1 == x1 ? run.beforeX[x2] : Row{};
        const Row unusable = {run.unusableY[y1][0] | beforeX[0], run.unusableY[y1][1] | beforeX[1]};
        // Errors only grow as colours are added (no lane can wrap: a cell
        // error is at most 48960), so once no usable lane is below the best
        // error, none of this row's candidates can win.
        Row error = {};
        bool hopeless = false;
        for (int c = 0; c < colourCount && !hopeless; c += ColoursPerCheck) {
          const int end = std::min(c + ColoursPerCheck, colourCount);
          for (int n = c; n < end; ++n) {
            // C2 = mix(y1, x2) is the same for all lanes of the row.
            const Lanes toCross2 = Broadcast(Lane(grid[n]->cross[x2], y1));
            const Row& toY = grid[n]->mix[y1];
            error[0] += Min(Min(withX[n][0], toY[0]), toCross2) * count[n];
            error[1] += Min(Min(withX[n][1], toY[1]), toCross2) * count[n];
          }
          hopeless = !AnyLaneBelow({error[0] | unusable[0], error[1] | unusable[1]}, bestLanes);
        }
        if (hopeless) {
          continue;
        }
        for (int y2 = y1; y2 < 16; ++y2) {
          const std::uint16_t candidate = Lane(error, y2) | Lane(unusable, y2);
          if (candidate < best) {
            best = candidate;
            winner = {x, PairSlot(y1, y2)};
          }
        }
        if (best == 0) {
          return winner;  // nothing can be strictly below 0
        }
        bestLanes = Broadcast(best);
      }
    }
  }
  return winner;
}

void WriteCell(Picture& result, const Run& run, const BandColours& band,
               const std::vector<MixGrids>& grids, int cx, int cy, Winner winner, C64Data& data)
{
  const int codeX = int(MixPairCodes[winner.x]);
  const int codeY = int(MixPairCodes[winner.y]);
  const int x1 = codeX >> 4, x2 = codeX & 0x0F, y1 = codeY >> 4, y2 = codeY & 0x0F;
  int cross1 = MixSlotOfColours(x1, y2);
  int cross2 = MixSlotOfColours(y1, x2);
  if (run.removed[cross1]) {
    cross1 = winner.x;
  }
  if (run.removed[cross2]) {
    cross2 = winner.x;
  }
  data[HiresLayout::HiresScreen1.offset + ScreenOffset(cx, cy)] = std::uint8_t(x1 * 16 + y1);
  data[HiresLayout::HiresScreen2.offset + ScreenOffset(cx, cy)] = std::uint8_t(x2 * 16 + y2);
  // In the order X, Y, C1, C2, each taken only when strictly nearer.
  struct Choice {
    int slot;
    bool field1Bit;
    bool field2Bit;
  };
  const std::array<Choice, 4> choices = {{{winner.x, true, true},
                                          {winner.y, false, false},
                                          {cross1, true, false},
                                          {cross2, false, true}}};
  for (int r = 0; r < 8; ++r) {
    std::uint8_t& bits1 = data[HiresLayout::HiresBitmap1.offset + BitmapOffset(cx, cy, r)];
    std::uint8_t& bits2 = data[HiresLayout::HiresBitmap2.offset + BitmapOffset(cx, cy, r)];
    for (int k = 0; k < 8; ++k) {
      const int x = cx * 8 + k;
      const MixGrids& grid = grids[band.IdAt(x, r)];
      int chosen = 0;
      for (int n = 1; n < 4; ++n) {
        if (grid.toSlot[choices[n].slot] < grid.toSlot[choices[chosen].slot]) {
          chosen = n;
        }
      }
      result[PixelIndex(x, cy * 8 + r)] = run.table.colour[choices[chosen].slot];
      if (choices[chosen].field1Bit) {
        bits1 = std::uint8_t(bits1 + (0x80 >> k));
      }
      if (choices[chosen].field2Bit) {
        bits2 = std::uint8_t(bits2 + (0x80 >> k));
      }
    }
  }
}

}  // namespace

void SelectHiresInterlaceColours(Picture& result, const MixTable& table, C64Data& data,
                                 ProgressReport& progress)
{
  progress.SetStatus("Brute Force hires interlaced color selection in progress");
  const Run run = PrepareRun(table);
  BandColours band;
  std::vector<MixGrids> grids;
  for (int cy = 0; cy < 25 && progress.ShouldContinue(); ++cy) {
    progress.SetProgress(cy * 8);
    band.Index(result, cy * 8, 8);
    MeasureBand(run, band, grids);
    // Cells of a row are independent; the row is shown only once all are done.
    ParallelFor(40, [&](int cx) {
      std::array<UnitColour, 64> colours;
      const int colourCount = GatherUnitColours(band, cx * 8, 0, 8, colours.data());
      const Winner winner = BestCandidate(run, grids, colours.data(), colourCount);
      WriteCell(result, run, band, grids, cx, cy, winner, data);
    });
    progress.ShowRows(result, cy * 8, 8);
  }
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
