#pragma once

#include <array>
#include <cstdint>

#include "select/slot_finder.h"
#include "select/span_colours.h"
#include "select/span_distance.h"

namespace pavona {

// A span's distinct values with the slot each is found at (-1 for a value no
// slot holds) and its Y, U, V.
struct SpanPoints {
  SpanColours values;
  std::array<int, 8> slot{};
  std::array<MeasuredColour, 8> measured{};

  bool Stray(int i) const { return slot[i] < 0; }
};

inline SpanPoints LocateSpanPoints(const std::uint32_t* span, const SlotFinder& finder,
                                   const SlotDistances& distances)
{
  SpanPoints points;
  points.values = GatherSpanColours(span);
  for (int i = 0; i < points.values.count; ++i) {
    const std::uint32_t colour = points.values.colour[i];
    points.slot[i] = finder.Find(colour);
    points.measured[i] = points.Stray(i) ? Measured(colour) : distances.Slot(points.slot[i]);
  }
  return points;
}

// Distance from distinct value i of the span to a candidate given by its slot
// (candidateSlot >= 0) or, for a stray value, by its measured colour.
inline std::uint32_t DistanceToSlot(const SlotDistances& distances, const SpanPoints& points, int i,
                                    int candidateSlot)
{
  if (!points.Stray(i)) {
    return distances(points.slot[i], candidateSlot);
  }
  return SpanDistance(distances.GetMeasure(), points.measured[i], distances.Slot(candidateSlot));
}

// Distance from distinct value i to distinct value j of the same span.
inline std::uint32_t DistanceWithin(const SlotDistances& distances, const SpanPoints& points, int i,
                                    int j)
{
  if (!points.Stray(j)) {
    return DistanceToSlot(distances, points, i, points.slot[j]);
  }
  return SpanDistance(distances.GetMeasure(), points.measured[i], points.measured[j]);
}

// The stray values of a span in pixel order, each appended to the list
// unless it repeats the value before it.
template <typename List>
void CollectStrays(const SpanPoints& points, List& strays)
{
  for (int k = 0; k < 8; ++k) {
    const int i = points.values.indexOf[k];
    if (points.Stray(i) && (strays.empty() || strays.back() != points.values.colour[i])) {
      strays.push_back(points.values.colour[i]);
    }
  }
}

}  // namespace pavona
