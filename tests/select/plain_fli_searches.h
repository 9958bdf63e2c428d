#pragma once

// Plain transcriptions of the FLI colour searches: every candidate of every
// span is formed and measured the long way, with linear lookups and no
// tables, threads or shortcuts. The tests and benchmarks hold the fast
// searches against them. Each walks only the units [first, first + count)
// (cell rows, or pixel rows for the searches that walk rows), so the slow
// ones can be checked on part of a frame.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_pair_codes.h"
#include "colour/mix_palette.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/yuv.h"

namespace pavona::testing {

inline std::uint32_t PlainRgbDistance(std::uint32_t p, std::uint32_t s)
{
  return std::uint32_t(std::abs(RedOf(p) - RedOf(s)) + std::abs(GreenOf(p) - GreenOf(s)) +
                       std::abs(BlueOf(p) - BlueOf(s)));
}

// ColourToYuv remembered per colour: the extended-precision conversion
// would otherwise dominate the plain searches. Single-threaded use only.
inline Yuv PlainYuv(std::uint32_t colour)
{
  static std::unordered_map<std::uint32_t, Yuv> known;
  auto [entry, inserted] = known.try_emplace(colour);
  if (inserted) {
    entry->second = ColourToYuv(RedOf(colour), GreenOf(colour), BlueOf(colour));
  }
  return entry->second;
}

// d(p, s) with the candidate's Y, U, V given.
inline std::uint32_t PlainDistance(Measure measure, std::uint32_t p, std::uint32_t s, Yuv sYuv)
{
  if (measure == Measure::RgbDistance) {
    return PlainRgbDistance(p, s);
  }
  const Yuv pYuv = PlainYuv(p);
  if (measure == Measure::Brightness) {
    return std::uint32_t(std::abs(pYuv.y - sYuv.y));
  }
  const int dy = pYuv.y - sYuv.y, du = pYuv.u - sYuv.u, dv = pYuv.v - sYuv.v;
  return std::uint32_t(2 * (dy * dy + du * du + dv * dv));
}

inline std::uint32_t PlainDistance(Measure measure, std::uint32_t p, std::uint32_t s)
{
  return PlainDistance(measure, p, s, PlainYuv(s));
}

inline std::array<std::uint32_t, 8> ReadSpan(const Picture& picture, int x, int y)
{
  std::array<std::uint32_t, 8> span;
  for (int k = 0; k < 8; ++k) {
    span[k] = picture[y * 320 + x + k];
  }
  return span;
}

inline void WriteSpan(Picture& picture, int x, int y, const std::array<std::uint32_t, 8>& span)
{
  for (int k = 0; k < 8; ++k) {
    picture[y * 320 + x + k] = span[k];
  }
}

inline std::uint8_t& FliByte(C64Data& data, C64Region region, int offset)
{
  return data[region.offset + offset];
}

// The lowest of slots 0..count-1 holding the colour, or -1.
inline int PlainLowestSlot(const MixTable& table, std::uint32_t colour, int count)
{
  for (int k = 0; k < count; ++k) {
    if (table.colour[k] == colour) {
      return k;
    }
  }
  return -1;
}

inline bool PlainRemoved(const MixTable& table, int k)
{
  return k != 0 && table.colour[k] == table.colour[0];
}

// Two colours per span for "Hires FLI"; strays collects every failed lookup.
inline void PlainSelectFliColours(Picture& result, const MixTable& table, Measure measure,
                                  C64Data& data, std::vector<std::uint32_t>& strays,
                                  int firstCellRow = 0, int cellRows = 25)
{
  auto colourNumber = [&](std::uint32_t colour) {
    const int k = PlainLowestSlot(table, colour, 16);
    if (k < 0) {
      strays.push_back(colour);
      return 1;
    }
    return k;
  };
  for (int cy = firstCellRow; cy < firstCellRow + cellRows; ++cy) {
    for (int cx = 0; cx < 40; ++cx) {
      for (int r = 0; r < 8; ++r) {
        auto p = ReadSpan(result, cx * 8, cy * 8 + r);
        struct Record {
          std::uint32_t error, a, b;
          int na, nb;
        };
        std::vector<Record> records;
        for (int s = 0; s <= 6; ++s) {
          for (int t = s + 1; t <= 7; ++t) {
            Record record{0, p[s], p[t], colourNumber(p[s]), colourNumber(p[t])};
            for (int k = 0; k < 8; ++k) {
              record.error += std::min(PlainDistance(measure, p[k], record.a),
                                       PlainDistance(measure, p[k], record.b));
            }
            records.push_back(record);
          }
        }
        Record winner = records[0];
        for (const Record& record : records) {
          if (record.error < winner.error) {
            winner = record;
          }
        }
        std::uint8_t& bitmap = FliByte(data, FliLayout::FliBitmap1, cy * 320 + cx * 8 + r);
        for (int k = 0; k < 8; ++k) {
          if (PlainDistance(measure, p[k], winner.b) < PlainDistance(measure, p[k], winner.a)) {
            p[k] = winner.b;
          } else {
            p[k] = winner.a;
            bitmap |= 0x80 >> k;
          }
        }
        WriteSpan(result, cx * 8, cy * 8 + r, p);
        FliByte(data, FliLayout::FliScreens1, r * 1024 + cy * 40 + cx) =
            std::uint8_t(winner.na * 16 + winner.nb);
      }
    }
  }
}

// Two mix colours per span for "Hires FLI Interlace", spans in memory order.
inline void PlainSelectFliInterlaceColours(Picture& result, Measure measure, int firstRow = 0,
                                           int rows = 200)
{
  for (int n = firstRow * 40; n < (firstRow + rows) * 40; ++n) {
    const int x = (n % 40) * 8, y = n / 40;
    auto p = ReadSpan(result, x, y);
    std::uint32_t bestError = 0, bestA = 0, bestB = 0;
    bool first = true;
    for (int s = 0; s <= 6; ++s) {
      for (int t = s + 1; t <= 7; ++t) {
        const std::uint32_t a = p[s], b = p[t];
        std::array<std::uint32_t, 8> mapped;
        for (int k = 0; k < 8; ++k) {
          mapped[k] = PlainDistance(measure, p[k], a) < PlainDistance(measure, p[k], b) ? a : b;
        }
        std::uint32_t error = 0;
        for (int k = 0; k < 8; ++k) {
          error += PlainDistance(measure, p[k], mapped[k]);
        }
        if (first || error < bestError) {
          first = false;
          bestError = error;
          bestA = a;
          bestB = b;
        }
      }
    }
    for (int k = 0; k < 8; ++k) {
      p[k] =
          PlainDistance(measure, p[k], bestA) < PlainDistance(measure, p[k], bestB) ? bestA : bestB;
    }
    WriteSpan(result, x, y, p);
  }
}

// The slot of a pair code: the lowest entry of the code table holding it,
// after swapping the nibbles when the code is not there.
inline int PlainCodeSlot(std::uint32_t code)
{
  for (int k = 0; k < MixColourCount; ++k) {
    if (MixPairCodes[k] == code) {
      return k;
    }
  }
  const std::uint32_t swapped = ((code & 0x0F) << 4) | (code >> 4);
  for (int k = 0; k < MixColourCount; ++k) {
    if (MixPairCodes[k] == swapped) {
      return k;
    }
  }
  return -1;  // cannot happen: every pair of nibbles has a slot one way round
}

// A base pair with its four mixes and their codes.
struct PlainFourMixes {
  std::uint32_t colour[4];  // A, B, C1, C2
  std::uint32_t code[4];
};

inline PlainFourMixes PlainMixesOf(const MixTable& table, std::uint32_t colourA, std::uint32_t a,
                                   std::uint32_t colourB, std::uint32_t b)
{
  PlainFourMixes mixes{{colourA, colourB, 0, 0}, {a, b, 0, 0}};
  const int k1 = PlainCodeSlot((a & 0xF0) | (b & 0x0F));
  const int k2 = PlainCodeSlot(((a & 0x0F) << 4) | (b >> 4));
  mixes.colour[2] = PlainRemoved(table, k1) ? colourA : table.colour[k1];
  mixes.code[2] = PlainRemoved(table, k1) ? a : MixPairCodes[k1];
  mixes.colour[3] = PlainRemoved(table, k2) ? colourB : table.colour[k2];
  mixes.code[3] = PlainRemoved(table, k2) ? b : MixPairCodes[k2];
  return mixes;
}

// The second pass of the four-colour searches: A, then B, C1, C2, each only
// when strictly nearer; writes pixels, bits and screen bytes.
template <typename Distance>
void PlainWriteFourColourSpan(Picture& result, C64Data& data, int cx, int cy, int r,
                              const PlainFourMixes& winner, Distance distance)
{
  auto p = ReadSpan(result, cx * 8, cy * 8 + r);
  std::uint8_t& bitmap1 = FliByte(data, FliLayout::FliBitmap1, cy * 320 + cx * 8 + r);
  std::uint8_t& bitmap2 = FliByte(data, FliLayout::FliBitmap2, cy * 320 + cx * 8 + r);
  for (int k = 0; k < 8; ++k) {
    int chosen = 0;
    std::uint32_t nearest = distance(p[k], winner.colour[0]);
    for (int m = 1; m < 4; ++m) {
      if (distance(p[k], winner.colour[m]) < nearest) {
        nearest = distance(p[k], winner.colour[m]);
        chosen = m;
      }
    }
    p[k] = winner.colour[chosen];
    if (chosen == 0 || chosen == 2) {
      bitmap1 |= 0x80 >> k;
    }
    if (chosen == 0 || chosen == 3) {
      bitmap2 |= 0x80 >> k;
    }
  }
  WriteSpan(result, cx * 8, cy * 8 + r, p);
  const std::uint32_t a = winner.code[0], b = winner.code[1];
  FliByte(data, FliLayout::FliScreens1, r * 1024 + cy * 40 + cx) =
      std::uint8_t((a & 0xF0) | (b >> 4));
  FliByte(data, FliLayout::FliScreens2, r * 1024 + cy * 40 + cx) =
      std::uint8_t(((a & 0x0F) << 4) | (b & 0x0F));
}

// The flicker level put back in force on a table before the four-colour
// search: "Off" rebuilds it, a level reduces it once more.
inline void PlainReapplyFlickerLevel(MixTable& table, const C64Palette& palette, MixMethod method,
                                     GraphicMode mode, FlickerLevel flicker)
{
  if (flicker == FlickerLevel::Off) {
    BuildMixPalette(table, palette, method, mode);
  } else if (flicker == FlickerLevel::Light) {
    ReduceFlickerLight(table);
  } else if (flicker == FlickerLevel::Medium) {
    ReduceFlickerMedium(table);
  } else {
    ReduceFlickerHeavy(table);
  }
}

// Four colours per 8x1. A value no slot holds takes pair code 0x00.
inline void PlainSelectFliFourColours(Picture& result, const MixTable& table, Measure measure,
                                      C64Data& data, std::vector<std::uint32_t>& strays,
                                      int firstCellRow = 0, int cellRows = 25)
{
  auto pairCode = [&](std::uint32_t colour) {
    const int k = PlainLowestSlot(table, colour, MixColourCount);
    if (k < 0) {
      strays.push_back(colour);
      return std::uint32_t(0);
    }
    return MixPairCodes[k];
  };
  auto distance = [&](std::uint32_t p, std::uint32_t s) { return PlainDistance(measure, p, s); };
  for (int cy = firstCellRow; cy < firstCellRow + cellRows; ++cy) {
    for (int cx = 0; cx < 40; ++cx) {
      for (int r = 0; r < 8; ++r) {
        const auto p = ReadSpan(result, cx * 8, cy * 8 + r);
        PlainFourMixes winner{};
        std::uint32_t bestError = 0;
        bool first = true;
        for (int s = 0; s <= 6; ++s) {
          for (int t = s + 1; t <= 7; ++t) {
            const std::uint32_t a = pairCode(p[s]);
            const std::uint32_t b = pairCode(p[t]);
            const PlainFourMixes mixes = PlainMixesOf(table, p[s], a, p[t], b);
            std::uint32_t error = 0;
            for (int k = 0; k < 8; ++k) {
              error += std::min({distance(p[k], mixes.colour[0]), distance(p[k], mixes.colour[1]),
                                 distance(p[k], mixes.colour[2]), distance(p[k], mixes.colour[3])});
            }
            if (first || error < bestError) {
              first = false;
              bestError = error;
              winner = mixes;
            }
          }
        }
        PlainWriteFourColourSpan(result, data, cx, cy, r, winner, distance);
      }
    }
  }
}

// Every pair of the 16 pure colours for every span, pixel rows [first, first + rows).
inline void PlainSelectFliColoursExtreme(Picture& result, const MixTable& table, Measure measure,
                                         C64Data& data, int firstRow = 0, int rows = 200)
{
  for (int y = firstRow; y < firstRow + rows; ++y) {
    for (int x = 0; x < 320; x += 8) {
      const int cx = x / 8, cy = y / 8, r = y % 8;
      auto p = ReadSpan(result, x, y);
      int bestI = 0, bestJ = 0;
      std::uint32_t bestError = 0;
      bool first = true;
      for (int i = 0; i <= 15; ++i) {
        for (int j = i; j <= 15; ++j) {
          // The candidates' Y, U, V come from the table here.
          const Yuv yuvA{table.y[i], table.u[i], table.v[i]};
          const Yuv yuvB{table.y[j], table.u[j], table.v[j]};
          std::uint32_t error = 0;
          for (int k = 0; k < 8; ++k) {
            error += std::min(PlainDistance(measure, p[k], table.colour[i], yuvA),
                              PlainDistance(measure, p[k], table.colour[j], yuvB));
          }
          if (first || error < bestError) {
            first = false;
            bestError = error;
            bestI = i;
            bestJ = j;
          }
        }
      }
      FliByte(data, FliLayout::FliScreens1, r * 1024 + cy * 40 + cx) =
          std::uint8_t(bestI * 16 + bestJ);
      std::uint8_t& bitmap = FliByte(data, FliLayout::FliBitmap1, cy * 320 + cx * 8 + r);
      const std::uint32_t a = table.colour[bestI], b = table.colour[bestJ];
      for (int k = 0; k < 8; ++k) {
        if (PlainDistance(measure, p[k], b) < PlainDistance(measure, p[k], a)) {
          p[k] = b;
        } else {
          p[k] = a;
          bitmap |= 0x80 >> k;
        }
      }
      WriteSpan(result, x, y, p);
    }
  }
}

// Every pair of the 136 mixes as bases A and B, RGB distance, pixel rows
// [first, first + rows). The cross mixes depend only on the pair, so they are
// looked up once for all spans.
inline void PlainSelectFliFourColoursExtreme(Picture& result, const MixTable& table, C64Data& data,
                                             int firstRow = 0, int rows = 200)
{
  std::vector<PlainFourMixes> candidates;
  for (int i = 0; i <= 135; ++i) {
    for (int j = i; j <= 135; ++j) {
      candidates.push_back(
          PlainMixesOf(table, table.colour[i], MixPairCodes[i], table.colour[j], MixPairCodes[j]));
    }
  }
  std::vector<bool> removedBase;
  for (int i = 0; i <= 135; ++i) {
    for (int j = i; j <= 135; ++j) {
      removedBase.push_back(PlainRemoved(table, i) || PlainRemoved(table, j));
    }
  }
  for (int y = firstRow; y < firstRow + rows; ++y) {
    for (int x = 0; x < 320; x += 8) {
      const auto p = ReadSpan(result, x, y);
      std::size_t best = 0;
      std::uint32_t bestError = 0;
      for (std::size_t c = 0; c < candidates.size(); ++c) {
        std::uint32_t error = 0xFFFF;
        if (!removedBase[c]) {
          error = 0;
          for (int k = 0; k < 8; ++k) {
            const std::uint32_t* mix = candidates[c].colour;
            error += std::min({PlainRgbDistance(p[k], mix[0]), PlainRgbDistance(p[k], mix[1]),
                               PlainRgbDistance(p[k], mix[2]), PlainRgbDistance(p[k], mix[3])});
          }
        }
        if (c == 0 || error < bestError) {
          bestError = error;
          best = c;
        }
      }
      PlainWriteFourColourSpan(result, data, x / 8, y / 8, y % 8, candidates[best],
                               PlainRgbDistance);
    }
  }
}

}  // namespace pavona::testing
