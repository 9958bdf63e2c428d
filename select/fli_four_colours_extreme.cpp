#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "colour/cpu_clones.h"
#include "select/cross_mixes.h"
#include "select/fli_extreme.h"
#include "select/fli_span_output.h"
#include "select/row_by_row.h"
#include "select/slot_finder.h"
#include "select/span_colours.h"
#include "select/span_distance.h"

namespace pavona {
namespace {

// RGB distances are at most 765 and a span error at most 8 * 765 = 6120, so
// 16-bit lanes hold them, sixteen to a 256-bit vector: one vector is one row
// of the 16 x 16 colour pairs. Far marks what must never win or be nearest.
using Distance16 = std::int16_t;
using Lanes = Distance16 __attribute__((vector_size(32)));
static_assert(sizeof(Lanes) == 16 * sizeof(Distance16));
constexpr Distance16 Far = 0x7FFF;

// The distances from one colour to the mix of every pair of C64 colours (u, w)
// in both orders; row u is one vector over w.
struct MixDistances {
  Lanes base[16];   // to the mix as a base colour
  Lanes cross[16];  // as a cross mix: Far where the mix was removed
  // What bounds a pair's error from below before it is measured: the nearest
  // cross mix of each field-1 colour (a row of `cross`) and of each field-2
  // colour (a column), and the nearest base colour among the slots from each
  // slot on.
  Distance16 nearestCrossOfRow[16];
  Distance16 nearestCrossOfColumn[16];
  Distance16 nearestBaseFrom[MixColourCount];
};

struct MixPair {
  int i = 0;
  int j = 0;
};

struct Tables {
  std::array<bool, MixColourCount> removed{};
  // Far on the lanes w of row u that are no candidate B: w < u, or a removed mix.
  Lanes notCandidate[16];
  std::vector<MixDistances> ofSlot;  // the distances of every slot's colour

  explicit Tables(const MixTable& table) : ofSlot(MixColourCount)
  {
    for (int slot = 0; slot < MixColourCount; ++slot) {
      removed[slot] = IsRemovedMix(table, slot);
    }
    for (int u = 0; u < 16; ++u) {
      for (int w = 0; w < 16; ++w) {
        notCandidate[u][w] = w < u || removed[PairSlot(u, w)] ? Far : 0;
      }
    }
    for (int slot = 0; slot < MixColourCount; ++slot) {
      Fill(table, table.colour[slot], ofSlot[slot]);
    }
  }

  void Fill(const MixTable& table, std::uint32_t colour, MixDistances& to) const
  {
    for (int u = 0; u < 16; ++u) {
      for (int w = 0; w < 16; ++w) {
        const int slot = MixSlotOfColours(u, w);
        to.base[u][w] = Distance16(RgbDistance(colour, table.colour[slot]));
        to.cross[u][w] = removed[slot] ? Far : to.base[u][w];
      }
    }
    for (int u = 0; u < 16; ++u) {
      to.nearestCrossOfRow[u] = to.nearestCrossOfColumn[u] = Far;
    }
    for (int u = 0; u < 16; ++u) {
      for (int w = 0; w < 16; ++w) {
        to.nearestCrossOfRow[u] = std::min(to.nearestCrossOfRow[u], to.cross[u][w]);
        to.nearestCrossOfColumn[w] = std::min(to.nearestCrossOfColumn[w], to.cross[u][w]);
      }
    }
    Distance16 nearest = Far;
    for (int slot = MixColourCount - 1; slot >= 0; --slot) {
      const std::uint32_t code = MixPairCodes[slot];
      nearest = std::min(nearest, to.base[code >> 4][code & 0x0F]);
      to.nearestBaseFrom[slot] = nearest;
    }
  }
};

// For a base A = (a1, a2) and a B = (b1, b2), pixel k is nearest to one of
// base[a1][a2], base[b1][b2], cross[a1][b2] (C1) and cross[b1][a2] (C2). For
// fixed A and b1 the sixteen b2 form one vector: base row b1, cross row a1,
// and two values broadcast. Pairs are taken in slot order (i outer, j inner),
// each only when strictly better, so the first of equal errors wins.
PAVONA_AVX2_CLONES MixPair BestMixPair(const MixDistances* const* pixels, const Distance16* counts,
                                       int count, const Tables& tables)
{
  const Lanes lane = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  const Lanes far = Lanes{} + Far;

  MixPair winner;
  Distance16 best = Far;  // above any real error, so the pair (0, 0) is taken first
  Lanes nearestOfAOrC1[8];
  for (int a1 = 0; a1 < 16; ++a1) {
    for (int a2 = a1; a2 < 16; ++a2) {
      const int i = PairSlot(a1, a2);
      if (tables.removed[i]) {
        continue;  // every pair with a removed base is out of the race
      }
      // Every pixel is at least as far from the pair's four colours as from
      // the nearest of A, any cross mix with field-1 colour a1 or field-2
      // colour a2, and any base from slot i on. When that bound does not beat
      // the best so far, neither does any pair with this A: only a strictly
      // smaller error replaces the winner.
      Distance16 bound = 0;
      for (int k = 0; k < count; ++k) {
        const MixDistances& to = *pixels[k];
        bound += std::min({to.base[a1][a2], to.nearestCrossOfRow[a1], to.nearestCrossOfColumn[a2],
                           to.nearestBaseFrom[i]}) *
                 counts[k];
      }
      if (bound >= best) {
        continue;
      }
      for (int k = 0; k < count; ++k) {
        const Lanes toA = Lanes{} + Distance16(pixels[k]->base[a1][a2]);
        const Lanes& toC1 = pixels[k]->cross[a1];
        nearestOfAOrC1[k] = toA < toC1 ? toA : toC1;
      }
      for (int b1 = a1; b1 < 16; ++b1) {
        Lanes error = {};
        for (int k = 0; k < count; ++k) {
          const Lanes toC2 = Lanes{} + Distance16(pixels[k]->cross[b1][a2]);
          const Lanes& toB = pixels[k]->base[b1];
          const Lanes nearest = toC2 < nearestOfAOrC1[k] ? toC2 : nearestOfAOrC1[k];
          error += (toB < nearest ? toB : nearest) * counts[k];
        }
        const Lanes& excluded = tables.notCandidate[b1];
        error = excluded > error ? excluded : error;
        if (b1 == a1) {
          error = lane < Distance16(a2) ? far : error;  // j < i
        }
        const Lanes better = error < best;
        std::uint64_t any[4];
        std::memcpy(any, &better, sizeof(any));
        if ((any[0] | any[1] | any[2] | any[3]) == 0) {
          continue;
        }
        for (int b2 = b1; b2 < 16; ++b2) {
          if (error[b2] < best) {
            best = error[b2];
            winner = {i, PairSlot(b1, b2)};
          }
        }
      }
    }
  }
  return winner;
}

struct Search {
  const MixTable& table;
  C64Data& data;
  SlotFinder finder;
  Tables tables;

  void SelectSpan(const std::uint32_t* in, std::uint32_t* out, int cx, int y) const
  {
    const SpanColours values = GatherSpanColours(in);
    const MixDistances* pixels[8];
    Distance16 counts[8];
    MixDistances stray[8];
    for (int k = 0; k < values.count; ++k) {
      counts[k] = Distance16(values.pixels[k]);
      const int slot = finder.Find(values.colour[k]);
      if (slot >= 0) {
        pixels[k] = &tables.ofSlot[slot];
      } else {
        tables.Fill(table, values.colour[k], stray[k]);
        pixels[k] = &stray[k];
      }
    }
    const MixPair winner = BestMixPair(pixels, counts, values.count, tables);
    const std::uint32_t a = MixPairCodes[winner.i], b = MixPairCodes[winner.j];
    const int c1 = CrossMix1(table, a, b), c2 = CrossMix2(table, a, b);
    auto distanceTo = [&](std::uint32_t pixel, int slot) {
      return slot < 0 ? UINT32_MAX : RgbDistance(pixel, table.colour[slot]);
    };
    FourMixBits bits;
    for (int k = 0; k < 8; ++k) {
      FourMix chosen = FourMix::A;
      int chosenSlot = winner.i;
      std::uint32_t nearest = distanceTo(in[k], winner.i);
      const std::pair<FourMix, int> others[] = {
          {FourMix::B, winner.j}, {FourMix::C1, c1}, {FourMix::C2, c2}};
      for (const auto& [mix, slot] : others) {
        if (distanceTo(in[k], slot) < nearest) {
          nearest = distanceTo(in[k], slot);
          chosen = mix;
          chosenSlot = slot;
        }
      }
      out[k] = table.colour[chosenSlot];
      bits.Set(k, chosen);
    }
    const int cy = y / 8, r = y % 8;
    WriteFourColourSpan(data, cx, cy, r, bits, a, b);
  }
};

}  // namespace

void SelectFliFourColoursExtreme(Picture& result, const MixTable& table, C64Data& data,
                                 ProgressReport& progress)
{
  progress.SetStatus("Extreme Brute Force Hi-fli interlaced color selection in progress");
  const Search search{table, data, SlotFinder(table, MixColourCount), Tables(table)};
  SearchRowByRow(result, progress, [&](const std::uint32_t* in, std::uint32_t* out, int cx, int y) {
    search.SelectSpan(in, out, cx, y);
  });
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
