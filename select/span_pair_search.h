#pragma once

#include <algorithm>
#include <cstdint>

#include "select/span_points.h"

namespace pavona {

// The two-colour search over a span's own pixels: every pair of positions
// (s, t), s < t, is a candidate with A = ps and B = pt, and its error is the
// sum over the pixels of the smaller distance to A or B. The first pair in
// position order wins among equal errors.
struct SpanPairChoice {
  std::uint32_t distance[8][8];  // from distinct value i (pixel) to j (candidate)
  int a = 0;                     // distinct indices of the winner's A and B
  int b = 0;
};

inline SpanPairChoice ChooseSpanPair(const SpanPoints& points, const SlotDistances& distances)
{
  SpanPairChoice choice;
  const SpanColours& values = points.values;
  const int n = values.count;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      choice.distance[i][j] = DistanceWithin(distances, points, i, j);
    }
  }
  // Positions holding equal values give equal errors, so each pair of
  // distinct values is summed once.
  std::uint32_t pairError[8][8];
  for (int a = 0; a < n; ++a) {
    for (int b = a; b < n; ++b) {
      std::uint32_t sum = 0;
      for (int i = 0; i < n; ++i) {
        sum += values.pixels[i] * std::min(choice.distance[i][a], choice.distance[i][b]);
      }
      pairError[a][b] = pairError[b][a] = sum;
    }
  }
  choice.a = values.indexOf[0];
  choice.b = values.indexOf[1];
  std::uint32_t best = pairError[choice.a][choice.b];
  for (int s = 0; s < 7; ++s) {
    for (int t = s + 1; t < 8; ++t) {
      const int a = values.indexOf[s], b = values.indexOf[t];
      if (pairError[a][b] < best) {
        best = pairError[a][b];
        choice.a = a;
        choice.b = b;
      }
    }
  }
  return choice;
}

}  // namespace pavona
