#include "dither/error_diffusion.h"

#include <algorithm>
#include <array>

namespace pavona {
namespace {

// A neighbour that takes part of a pixel's error, as a plane offset
// dx + 320 * dy: the red channel's own (the custom kernels push red two
// pixels sideways) and that of green and blue.
struct Tap {
  int redOffset;
  int offset;
  int weight;
};

// The error of each channel is divided once, truncating toward zero, and the
// quotient times a tap's weight goes to that neighbour: errors smaller than
// the divisor are dropped rather than rounded.
struct Kernel {
  int divisor;
  int tapCount;
  std::array<Tap, 4> taps;
};

constexpr int Down = PictureWidth;

constexpr Kernel FloydSteinbergRightward{
    16, 4, {{{1, 1, 7}, {Down - 1, Down - 1, 3}, {Down, Down, 5}, {Down + 1, Down + 1, 1}}}};
constexpr Kernel FloydSteinbergLeftward{
    16, 4, {{{-1, -1, 7}, {Down + 1, Down + 1, 3}, {Down, Down, 5}, {Down - 1, Down - 1, 1}}}};
constexpr Kernel CustomRightward{4, 3, {{{2, 1, 2}, {Down, Down, 1}, {Down - 1, Down - 1, 1}}}};
constexpr Kernel CustomLeftward{4, 3, {{{-2, -1, 2}, {Down, Down, 1}, {Down + 1, Down + 1, 1}}}};

constexpr int LowestTap(const Kernel& kernel)
{
  int lowest = 0x7FFFFFFF;
  for (int i = 0; i < kernel.tapCount; ++i) {
    lowest = std::min({lowest, kernel.taps[i].redOffset, kernel.taps[i].offset});
  }
  return lowest;
}

constexpr int HighestTap(const Kernel& kernel)
{
  int highest = -0x7FFFFFFF;
  for (int i = 0; i < kernel.tapCount; ++i) {
    highest = std::max({highest, kernel.taps[i].redOffset, kernel.taps[i].offset});
  }
  return highest;
}

// Neighbours are addressed with no edge tests: past column 319 lies column 0
// of the next row, and below row 199 the spare bytes of the plane. That stays
// inside the plane because rows that run left to right push error only
// forward, rows that run right to left are odd rows (at least one row in)
// and stop before column 0, and the furthest tap from the last pixel still
// lands in the spare tail.
static_assert(LowestTap(FloydSteinbergRightward) >= 0 && LowestTap(CustomRightward) >= 0);
static_assert(PictureWidth + 1 +
                  std::min(LowestTap(FloydSteinbergLeftward), LowestTap(CustomLeftward)) >=
              0);
static_assert(PixelCount - 1 +
                  std::max({HighestTap(FloydSteinbergRightward), HighestTap(FloydSteinbergLeftward),
                            HighestTap(CustomRightward), HighestTap(CustomLeftward)}) <
              PlaneSize);

struct Planes {
  std::uint8_t* red;
  std::uint8_t* green;
  std::uint8_t* blue;
};

Planes PlanesOf(AdjustedPlanes& planes)
{
  return {planes.red.data(), planes.green.data(), planes.blue.data()};
}

void AddClamped(std::uint8_t* plane, int offset, int amount)
{
  plane[offset] = std::uint8_t(std::clamp(plane[offset] + amount, 0, 255));
}

std::uint32_t ReplaceByMix(Planes planes, int offset, const ColourMatcher& match)
{
  const std::uint32_t mix =
      match.Match(MakeColour(planes.red[offset], planes.green[offset], planes.blue[offset]));
  planes.red[offset] = std::uint8_t(RedOf(mix));
  planes.green[offset] = std::uint8_t(GreenOf(mix));
  planes.blue[offset] = std::uint8_t(BlueOf(mix));
  return mix;
}

template <const Kernel& kernel>
void DiffusePixel(Planes planes, int offset, const ColourMatcher& match)
{
  const int red = planes.red[offset], green = planes.green[offset], blue = planes.blue[offset];
  const std::uint32_t mix = ReplaceByMix(planes, offset, match);
  const int redShare = (red - RedOf(mix)) / kernel.divisor;
  const int greenShare = (green - GreenOf(mix)) / kernel.divisor;
  const int blueShare = (blue - BlueOf(mix)) / kernel.divisor;
  if ((redShare | greenShare | blueShare) == 0) {
    return;
  }
  for (int i = 0; i < kernel.tapCount; ++i) {
    const Tap& tap = kernel.taps[i];
    AddClamped(planes.red, offset + tap.redOffset, tap.weight * redShare);
    AddClamped(planes.green, offset + tap.offset, tap.weight * greenShare);
    AddClamped(planes.blue, offset + tap.offset, tap.weight * blueShare);
  }
}

template <const Kernel& kernel>
void DiffuseRowRightward(Planes planes, int y, const ColourMatcher& match)
{
  const int start = PixelIndex(0, y);
  for (int offset = start; offset < start + PictureWidth; ++offset) {
    DiffusePixel<kernel>(planes, offset, match);
  }
}

// Runs from column 319 down to column 1. Column 0 only takes its nearest mix
// colour: its error would go to column 319 of this row and of the row above,
// which are already final, so it is dropped instead.
template <const Kernel& kernel>
void DiffuseRowLeftward(Planes planes, int y, const ColourMatcher& match)
{
  const int start = PixelIndex(0, y);
  for (int offset = start + PictureWidth - 1; offset > start; --offset) {
    DiffusePixel<kernel>(planes, offset, match);
  }
  ReplaceByMix(planes, start, match);
}

}  // namespace

void MapToMixColours(AdjustedPlanes& planes, const ColourMatcher& match, ProgressReport& progress)
{
  const Planes bytes = PlanesOf(planes);
  for (int y = 0; y < PictureHeight && progress.ShouldContinue(); ++y) {
    progress.SetProgress(y);
    for (int offset = PixelIndex(0, y); offset < PixelIndex(0, y + 1); ++offset) {
      ReplaceByMix(bytes, offset, match);
    }
  }
}

void FloydSteinbergDither(AdjustedPlanes& planes, const ColourMatcher& match, bool serpentine,
                          ProgressReport& progress)
{
  const Planes bytes = PlanesOf(planes);
  if (!serpentine) {
    for (int y = 0; y < PictureHeight && progress.ShouldContinue(); ++y) {
      progress.SetProgress(y);
      DiffuseRowRightward<FloydSteinbergRightward>(bytes, y, match);
    }
    return;
  }
  for (int y = 0; y < PictureHeight && progress.ShouldContinue(); y += 2) {
    progress.SetProgress(y);
    DiffuseRowRightward<FloydSteinbergRightward>(bytes, y, match);
    DiffuseRowLeftward<FloydSteinbergLeftward>(bytes, y + 1, match);
  }
}

void CustomDither(AdjustedPlanes& planes, const ColourMatcher& match, bool serpentine,
                  ProgressReport& progress)
{
  const Planes bytes = PlanesOf(planes);
  if (!serpentine) {
    for (int y = 0; y < PictureHeight && progress.ShouldContinue(); ++y) {
      progress.SetProgress(y);
      DiffuseRowRightward<CustomRightward>(bytes, y, match);
    }
    return;
  }
  for (int y = 0; y < PictureHeight && progress.ShouldContinue(); y += 2) {
    progress.SetProgress(y);
    DiffuseRowRightward<FloydSteinbergRightward>(bytes, y, match);
    DiffuseRowLeftward<CustomLeftward>(bytes, y + 1, match);
  }
  progress.SetProgress(0);
  MapToMixColours(planes, match, progress);
  progress.SetProgress(0);
}

}  // namespace pavona
