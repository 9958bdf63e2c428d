#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/yuv.h"

namespace pavona {

// A colour with the integer Y, U and V that the span searches compare.
struct MeasuredColour {
  std::uint32_t colour = 0;
  Yuv yuv{};
};

inline MeasuredColour Measured(std::uint32_t colour)
{
  return {colour, ColourToYuv(colour)};
}

inline std::uint32_t RgbDistance(std::uint32_t p, std::uint32_t s)
{
  return std::uint32_t(std::abs(RedOf(p) - RedOf(s)) + std::abs(GreenOf(p) - GreenOf(s)) +
                       std::abs(BlueOf(p) - BlueOf(s)));
}

// The distance between a span pixel and a candidate colour. Unlike the
// nearest-colour matching of the dithering stage, Y, U and V are integers on
// both sides here: the pixel's luma is truncated before the difference.
inline std::uint32_t SpanDistance(Measure measure, const MeasuredColour& pixel,
                                  const MeasuredColour& candidate)
{
  switch (measure) {
    case Measure::RgbDistance:
      return RgbDistance(pixel.colour, candidate.colour);
    case Measure::Brightness:
      return std::uint32_t(std::abs(pixel.yuv.y - candidate.yuv.y));
    case Measure::Perceptual:
      break;
  }
  const int dy = pixel.yuv.y - candidate.yuv.y;
  const int du = pixel.yuv.u - candidate.yuv.u;
  const int dv = pixel.yuv.v - candidate.yuv.v;
  return std::uint32_t(2 * (dy * dy + du * du + dv * dv));
}

// The distances between the first `count` slots of a mix table, worked out
// once per search. A valid picture holds only table colours and every
// candidate is a table colour, so the span searches look distances up here;
// only a stray pixel value needs SpanDistance itself.
class SlotDistances {
 public:
  SlotDistances(const MixTable& table, int count, Measure measure);

  int Count() const { return count_; }
  Measure GetMeasure() const { return measure_; }
  const MeasuredColour& Slot(int slot) const { return slots_[slot]; }
  std::uint32_t operator()(int pixelSlot, int candidateSlot) const
  {
    return distances_[pixelSlot * count_ + candidateSlot];
  }
  // The distances from one slot's colour to every slot, in slot order.
  const std::uint32_t* Row(int pixelSlot) const { return &distances_[pixelSlot * count_]; }

 private:
  int count_;
  Measure measure_;
  std::vector<MeasuredColour> slots_;
  std::vector<std::uint32_t> distances_;
};

}  // namespace pavona
