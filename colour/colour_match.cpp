#include "colour/colour_match.h"

#include <cmath>
#include <cstdlib>

#include "colour/picture.h"
#include "colour/yuv.h"

namespace pavona {
namespace {

template <typename Distance>
std::uint32_t NearestSlotColour(const MixTable& table, int count, Distance distance)
{
  int best = 0;
  std::uint32_t bestDistance = distance(0);
  for (int slot = 1; slot < count; ++slot) {
    const std::uint32_t d = distance(slot);
    if (d < bestDistance) {
      best = slot;
      bestDistance = d;
    }
  }
  return table.colour[best];
}

}  // namespace

std::uint32_t MatchRgbDistance(std::uint32_t colour, const MixTable& table, int count)
{
  const int red = RedOf(colour), green = GreenOf(colour), blue = BlueOf(colour);
  return NearestSlotColour(table, count, [&](int slot) {
    const std::uint32_t mix = table.colour[slot];
    return std::uint32_t(std::abs(red - RedOf(mix)) + std::abs(green - GreenOf(mix)) +
                         std::abs(blue - BlueOf(mix)));
  });
}

// The pixel's luma keeps its fraction here, so every candidate whose Y lies
// less than 1 away from it on either side is at distance 0.
std::uint32_t MatchBrightness(std::uint32_t colour, const MixTable& table, int count)
{
  const float luma = LumaAsFloat(RedOf(colour), GreenOf(colour), BlueOf(colour));
  return NearestSlotColour(table, count, [&](int slot) {
    // In double the difference is exact; a float would round it for dark pixels.
    const double difference = double(luma) - table.y[slot];
    return std::uint32_t(std::abs(int(difference)));
  });
}

std::uint32_t MatchPerceptual(std::uint32_t colour, const MixTable& table, int count)
{
  const Yuv yuv = ColourToYuv(colour);
  return NearestSlotColour(table, count, [&](int slot) {
    const int dy = yuv.y - table.y[slot];
    const int du = yuv.u - table.u[slot];
    const int dv = yuv.v - table.v[slot];
    return std::uint32_t(2 * (dy * dy + du * du + dv * dv));
  });
}

std::uint32_t MatchColour(std::uint32_t colour, const MixTable& table, Measure measure,
                          GraphicMode mode)
{
  const int count = CandidateCount(mode);
  switch (measure) {
    case Measure::RgbDistance:
      return MatchRgbDistance(colour, table, count);
    case Measure::Brightness:
      return MatchBrightness(colour, table, count);
    case Measure::Perceptual:
      break;
  }
  return MatchPerceptual(colour, table, count);
}

}  // namespace pavona
