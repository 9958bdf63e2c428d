#include "dither/random_dither.h"

#include <algorithm>

namespace pavona {
namespace {

constexpr std::uint32_t Multiplier = 22695477u;

// The inverse of the odd multiplier modulo 2^32, by Newton's iteration: each
// step doubles the number of correct low bits, from 3 to over 32.
constexpr std::uint32_t InverseMultiplier()
{
  std::uint32_t inverse = Multiplier;
  for (int step = 0; step < 4; ++step) {
    inverse *= 2u - Multiplier * inverse;
  }
  return inverse;
}
static_assert(Multiplier * InverseMultiplier() == 1u);

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

std::uint32_t RandomStateBeforeFrame(std::uint32_t after, const DitherSettings& settings)
{
  const int draws = PixelCount * (settings.separateRgb ? 3 : 1);
  std::uint32_t state = after;
  for (int draw = 0; draw < draws; ++draw) {
    state = (state - 1u) * InverseMultiplier();
  }
  return state;
}

void RandomDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                       std::uint32_t& state, PixelMatch match)
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
  StoreAdjustedPixel(planes, x, y, match(PixelIndex(x, y), target));
}

void RandomDither(AdjustedPlanes& planes, const DitherSettings& settings, std::uint32_t& state,
                  PixelMatch match, ProgressReport& progress)
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
