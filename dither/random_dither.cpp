#include "dither/random_dither.h"

#include <algorithm>

namespace pavona {
namespace {

constexpr std::uint32_t Multiplier = 22695477u;

// Any typed strength is safe: the noise stays below 32768, so the sum with a
// channel fits an int before it is clamped.
int Noise(int draw, int strength)
{
  return strength > 0 ? draw % strength : 0;
}

}  // namespace

int NextRandomDraw(std::uint32_t& state)
{
  state = state * Multiplier + 1u;
  return int((state >> 16) & 0x7FFF);
}

void RandomDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                       std::uint32_t& state, const ColourMatcher& match)
{
  const std::uint32_t colour = ReadAdjustedPixel(planes, x, y);
  int redNoise, greenNoise, blueNoise;
  if (settings.separateRgb) {
    redNoise = Noise(NextRandomDraw(state), settings.strength);
    greenNoise = Noise(NextRandomDraw(state), settings.strength);
    blueNoise = Noise(NextRandomDraw(state), settings.strength);
  } else {
    redNoise = greenNoise = blueNoise = Noise(NextRandomDraw(state), settings.strength);
  }
  const std::uint32_t target = MakeColour(std::min(RedOf(colour) + redNoise, 255),
                                          std::min(GreenOf(colour) + greenNoise, 255),
                                          std::min(BlueOf(colour) + blueNoise, 255));
  StoreAdjustedPixel(planes, x, y, match.Match(target));
}

void RandomDither(AdjustedPlanes& planes, const DitherSettings& settings, std::uint32_t& state,
                  const ColourMatcher& match, ProgressReport& progress)
{
  for (int y = 0; y < PictureHeight && progress.ShouldContinue(); ++y) {
    progress.SetProgress(y);
    for (int x = 0; x < PictureWidth; ++x) {
      RandomDitherPixel(planes, x, y, settings, state, match);
    }
  }
  progress.SetProgress(0);
}

}  // namespace pavona
