#include "colour/colour_match.h"

#include <cmath>
#include <cstdlib>
#include <span>

#include "colour/picture.h"
#include "colour/yuv.h"
#include "colour/yuv_fixed_point.h"

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

// The distance of each measure from a pixel to a table slot, as a callable
// that does the per-pixel part once.
auto RgbDistanceTo(std::uint32_t colour, const MixTable& table)
{
  const int red = RedOf(colour), green = GreenOf(colour), blue = BlueOf(colour);
  return [&table, red, green, blue](int slot) {
    const std::uint32_t mix = table.colour[slot];
    return std::uint32_t(std::abs(red - RedOf(mix)) + std::abs(green - GreenOf(mix)) +
                         std::abs(blue - BlueOf(mix)));
  };
}

// The pixel's luma keeps its fraction here, so every candidate whose Y lies
// less than 1 away from it on either side is at distance 0.
template <bool fixedPoint = false>
auto BrightnessDistanceTo(std::uint32_t colour, const MixTable& table)
{
  const float luma = fixedPoint ? LumaAsFloatFixed(colour)
                                : LumaAsFloat(RedOf(colour), GreenOf(colour), BlueOf(colour));
  return [&table, luma](int slot) {
    // In double the difference is exact; a float would round it for dark pixels.
    const double difference = double(luma) - table.y[slot];
    return std::uint32_t(std::abs(int(difference)));
  };
}

// The fixed-point conversion gives the same numbers, quicker; the whole-table
// searches keep the reference conversion.
template <bool fixedPoint = false>
auto PerceptualDistanceTo(std::uint32_t colour, const MixTable& table)
{
  const Yuv yuv = fixedPoint ? ColourToYuvFixed(colour) : ColourToYuv(colour);
  return [&table, yuv](int slot) {
    const int dy = yuv.y - table.y[slot];
    const int du = yuv.u - table.u[slot];
    const int dv = yuv.v - table.v[slot];
    return std::uint32_t(2 * (dy * dy + du * du + dv * dv));
  };
}

template <typename Distance>
int NearestListedSlot(std::span<const std::uint8_t> slots, Distance distance)
{
  int best = slots[0];
  std::uint32_t bestDistance = distance(best);
  for (std::size_t k = 1; k < slots.size(); ++k) {
    const std::uint32_t d = distance(slots[k]);
    if (d < bestDistance) {
      best = slots[k];
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace

std::uint32_t MatchRgbDistance(std::uint32_t colour, const MixTable& table, int count)
{
  return NearestSlotColour(table, count, RgbDistanceTo(colour, table));
}

std::uint32_t MatchBrightness(std::uint32_t colour, const MixTable& table, int count)
{
  return NearestSlotColour(table, count, BrightnessDistanceTo(colour, table));
}

std::uint32_t MatchPerceptual(std::uint32_t colour, const MixTable& table, int count)
{
  return NearestSlotColour(table, count, PerceptualDistanceTo(colour, table));
}

int NearestListedSlot(std::uint32_t colour, const MixTable& table, Measure measure,
                      std::span<const std::uint8_t> slots)
{
  switch (measure) {
    case Measure::RgbDistance:
      return NearestListedSlot(slots, RgbDistanceTo(colour, table));
    case Measure::Brightness:
      return NearestListedSlot(slots, BrightnessDistanceTo<true>(colour, table));
    case Measure::Perceptual:
      break;
  }
  return NearestListedSlot(slots, PerceptualDistanceTo<true>(colour, table));
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
