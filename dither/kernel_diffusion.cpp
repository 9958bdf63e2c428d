#include "dither/kernel_diffusion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

namespace pavona {
namespace {

// A neighbour dx across (in the direction the row runs) and dy down that
// takes weight / divisor of the error.
struct Tap {
  int dx, dy, weight;
};

struct Kernel {
  int divisor;
  std::span<const Tap> taps;
};

// Atkinson passes on only six eighths of the error, which keeps highlights
// and shadows clean at the cost of some of their mean.
constexpr Tap AtkinsonTaps[] = {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}};
constexpr Tap SierraLiteTaps[] = {{1, 0, 2}, {-1, 1, 1}, {0, 1, 1}};
constexpr Tap JarvisJudiceNinkeTaps[] = {
    {1, 0, 7}, {2, 0, 5},  {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5},
    {2, 1, 3}, {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5},  {1, 2, 3}, {2, 2, 1},
};
constexpr Tap StuckiTaps[] = {
    {1, 0, 8}, {2, 0, 4},  {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4},
    {2, 1, 2}, {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4},  {1, 2, 2}, {2, 2, 1},
};

Kernel KernelOf(DitherMethod method)
{
  switch (method) {
    case DitherMethod::Atkinson:
      return {8, AtkinsonTaps};
    case DitherMethod::SierraLite:
      return {4, SierraLiteTaps};
    case DitherMethod::JarvisJudiceNinke:
      return {48, JarvisJudiceNinkeTaps};
    default:
      return {42, StuckiTaps};
  }
}

// An error that piles up where no candidate can follow the picture (a colour
// brighter than white, say) would spill far past the area; beyond this much
// outside 0..255 a channel keeps no more.
constexpr float Overshoot = 255;

using Channels = std::array<float, 3>;

}  // namespace

bool IsKernelDiffusion(DitherMethod method)
{
  return method == DitherMethod::Atkinson || method == DitherMethod::SierraLite ||
         method == DitherMethod::JarvisJudiceNinke || method == DitherMethod::Stucki;
}

void KernelDiffusion(AdjustedPlanes& planes, int width, DitherMethod method, bool serpentine,
                     const ColourMatcher& match, ProgressReport& progress)
{
  const Kernel kernel = KernelOf(method);
  std::vector<Channels> values(std::size_t(width) * PictureHeight);
  auto at = [&](int x, int y) -> Channels& { return values[std::size_t(y) * width + x]; };
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colour = ReadAdjustedPixel(planes, x, y);
      at(x, y) = {float(RedOf(colour)), float(GreenOf(colour)), float(BlueOf(colour))};
    }
  }
  for (int y = 0; y < PictureHeight && progress.ShouldContinue(); ++y) {
    progress.SetProgress(y);
    const bool leftward = serpentine && y % 2 == 1;
    const int direction = leftward ? -1 : 1;
    for (int step = 0; step < width; ++step) {
      const int x = leftward ? width - 1 - step : step;
      Channels& pixel = at(x, y);
      auto byte = [](float channel) { return int(std::lround(std::clamp(channel, 0.0f, 255.0f))); };
      const std::uint32_t chosen =
          match.Match(MakeColour(byte(pixel[0]), byte(pixel[1]), byte(pixel[2])));
      StoreAdjustedPixel(planes, x, y, chosen);
      const Channels error = {pixel[0] - float(RedOf(chosen)), pixel[1] - float(GreenOf(chosen)),
                              pixel[2] - float(BlueOf(chosen))};
      for (const Tap& tap : kernel.taps) {
        const int tx = x + tap.dx * direction, ty = y + tap.dy;
        if (tx < 0 || tx >= width || ty >= PictureHeight) {
          continue;
        }
        Channels& target = at(tx, ty);
        for (int c = 0; c < 3; ++c) {
          target[c] = std::clamp(target[c] + error[c] * float(tap.weight) / float(kernel.divisor),
                                 -Overshoot, 255 + Overshoot);
        }
      }
    }
  }
}

}  // namespace pavona
