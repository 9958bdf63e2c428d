#include "dither/wide_pixel_dither.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "dither/kernel_diffusion.h"
#include "dither/ordered_dither.h"
#include "dither/random_dither.h"

namespace pavona {
namespace {

constexpr int WideWidth = PictureWidth / 2;

// The picture of pairs in columns 0..159 of planes of its own, so that the
// per-pixel methods run on it unchanged.
std::unique_ptr<AdjustedPlanes> SqueezedPairs(const AdjustedPlanes& planes)
{
  auto squeezed = std::make_unique<AdjustedPlanes>();
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < WideWidth; ++x) {
      const int left = PixelIndex(2 * x, y), right = left + 1, to = PixelIndex(x, y);
      squeezed->red[to] = std::uint8_t((planes.red[left] + planes.red[right] + 1) / 2);
      squeezed->green[to] = std::uint8_t((planes.green[left] + planes.green[right] + 1) / 2);
      squeezed->blue[to] = std::uint8_t((planes.blue[left] + planes.blue[right] + 1) / 2);
    }
  }
  return squeezed;
}

// One error-diffusion tap: the share of `weight` / divisor to the pixel dx
// across (in the direction of the row) and dy down.
struct Tap {
  int dx, dy, weight;
};

struct WideKernel {
  int divisor;
  std::array<Tap, 4> taps;
  int tapCount;
};

constexpr WideKernel FloydSteinberg{16, {{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}}, 4};
// The custom kernel: half the error to the next pixel, a quarter below and
// below behind.
constexpr WideKernel Custom{4, {{{1, 0, 2}, {0, 1, 1}, {-1, 1, 1}}}, 3};

// Error diffusion over the wide pixels with int channels, so that no error is
// lost to the 0..255 range before it is passed on.
class WideDiffusion {
 public:
  explicit WideDiffusion(const AdjustedPlanes& squeezed)
  {
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < WideWidth; ++x) {
        const int from = PixelIndex(x, y);
        channels_[Index(x, y)] = {squeezed.red[from], squeezed.green[from], squeezed.blue[from]};
      }
    }
  }

  void Row(int y, bool leftward, const WideKernel& kernel, const ColourMatcher& match)
  {
    const int direction = leftward ? -1 : 1;
    for (int step = 0; step < WideWidth; ++step) {
      const int x = leftward ? WideWidth - 1 - step : step;
      auto& pixel = channels_[Index(x, y)];
      const std::uint32_t wanted = MakeColour(
          std::clamp(pixel[0], 0, 255), std::clamp(pixel[1], 0, 255), std::clamp(pixel[2], 0, 255));
      const std::uint32_t chosen = match.Match(wanted);
      const std::array<int, 3> error = {pixel[0] - RedOf(chosen), pixel[1] - GreenOf(chosen),
                                        pixel[2] - BlueOf(chosen)};
      chosen_[Index(x, y)] = chosen;
      for (int t = 0; t < kernel.tapCount; ++t) {
        const Tap& tap = kernel.taps[t];
        const int tx = x + tap.dx * direction, ty = y + tap.dy;
        if (tx < 0 || tx >= WideWidth || ty >= PictureHeight) {
          continue;
        }
        auto& target = channels_[Index(tx, ty)];
        for (int c = 0; c < 3; ++c) {
          target[c] += error[c] * tap.weight / kernel.divisor;
        }
      }
    }
  }

  std::uint32_t Chosen(int x, int y) const { return chosen_[Index(x, y)]; }

 private:
  static int Index(int x, int y) { return y * WideWidth + x; }

  std::vector<std::array<int, 3>> channels_ =
      std::vector<std::array<int, 3>>(std::size_t(WideWidth) * PictureHeight);
  std::vector<std::uint32_t> chosen_ =
      std::vector<std::uint32_t>(std::size_t(WideWidth) * PictureHeight);
};

// "Floyd Steinberg" and "Custom"; in serpentine order the odd rows run right
// to left with the kernel mirrored, and "Custom" takes Floyd-Steinberg's
// kernel on its even rows, as in the hires modes.
void Diffuse(AdjustedPlanes& squeezed, const ColourMatcher& match, const DitherSettings& settings,
             ProgressReport& progress)
{
  WideDiffusion diffusion(squeezed);
  const bool custom = settings.method == DitherMethod::Custom;
  for (int y = 0; y < PictureHeight && progress.ShouldContinue(); ++y) {
    progress.SetProgress(y);
    const bool leftward = settings.serpentine && y % 2 == 1;
    const WideKernel& kernel =
        custom && !(settings.serpentine && !leftward) ? Custom : FloydSteinberg;
    diffusion.Row(y, leftward, kernel, match);
  }
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < WideWidth; ++x) {
      StoreAdjustedPixel(squeezed, x, y, diffusion.Chosen(x, y));
    }
  }
}

// The methods without diffusion, pixel by pixel on the squeezed planes.
void MatchEach(AdjustedPlanes& squeezed, const ColourMatcher& match, const DitherSettings& settings,
               std::uint32_t& randomState, ProgressReport& progress)
{
  const bool ordered = OrderedMatrixSize(settings.method) != 0;
  for (int y = 0; y < PictureHeight && progress.ShouldContinue(); ++y) {
    progress.SetProgress(y);
    for (int x = 0; x < WideWidth; ++x) {
      if (ordered) {
        OrderedDitherPixel(squeezed, x, y, settings, match);
      } else if (settings.method == DitherMethod::Random) {
        RandomDitherPixel(squeezed, x, y, settings, randomState, match);
      } else {
        StoreAdjustedPixel(squeezed, x, y, match.Match(ReadAdjustedPixel(squeezed, x, y)));
      }
    }
  }
}

}  // namespace

void DitherWidePixels(AdjustedPlanes& planes, const ColourMatcher& match,
                      const DitherSettings& settings, std::uint32_t& randomState,
                      ProgressReport& progress)
{
  const std::unique_ptr<AdjustedPlanes> squeezed = SqueezedPairs(planes);
  if (settings.method == DitherMethod::FloydSteinberg || settings.method == DitherMethod::Custom) {
    Diffuse(*squeezed, match, settings, progress);
  } else if (IsKernelDiffusion(settings.method)) {
    KernelDiffusion(*squeezed, WideWidth, settings.method, settings.serpentine, match, progress);
  } else {
    MatchEach(*squeezed, match, settings, randomState, progress);
  }
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < WideWidth; ++x) {
      const std::uint32_t colour = ReadAdjustedPixel(*squeezed, x, y);
      StoreAdjustedPixel(planes, 2 * x, y, colour);
      StoreAdjustedPixel(planes, 2 * x + 1, y, colour);
    }
  }
}

}  // namespace pavona
