#include "dither/balanced_dither.h"

#include <algorithm>
#include <cmath>

#include "dither/ordered_dither.h"

namespace pavona {
namespace {

int ChannelSum(std::uint32_t colour)
{
  return RedOf(colour) + GreenOf(colour) + BlueOf(colour);
}

std::uint32_t Moved(std::uint32_t colour, int amount)
{
  auto move = [amount](int channel) { return std::clamp(channel + amount, 0, 255); };
  return MakeColour(move(RedOf(colour)), move(GreenOf(colour)), move(BlueOf(colour)));
}

// Moving every channel by 255 reaches white or black from any colour.
constexpr int FullMove = 255;

}  // namespace

int BalancedGaps(int valueAmp)
{
  return AmplitudeShift(valueAmp) / 2 + 1;
}

int BrightnessGap(std::uint32_t colour, const ColourMatcher& match)
{
  const std::uint32_t nearest = match.Match(colour);
  if (nearest == colour) {
    return 0;
  }
  const int sum = ChannelSum(colour), nearestSum = ChannelSum(nearest);
  const int direction = nearestSum <= sum ? 1 : -1;
  // Whether moving the colour by `step` (toward the other side) matches a
  // candidate beyond the colour's own brightness.
  auto beyond = [&](int step) {
    return (ChannelSum(match.Match(Moved(colour, direction * step))) - sum) * direction > 0;
  };
  // Doubling steps find a move that crosses; halving between the last two
  // finds the first one that does, so that no nearer candidate is skipped.
  int low = 0, high = 1;
  while (!beyond(high)) {
    if (high >= FullMove) {
      return 0;
    }
    low = high;
    high = std::min(2 * high, FullMove);
  }
  while (high - low > 1) {
    const int middle = (low + high) / 2;
    (beyond(middle) ? high : low) = middle;
  }
  const int otherSum = ChannelSum(match.Match(Moved(colour, direction * high)));
  return std::abs(otherSum - nearestSum);
}

void BalancedDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                         const ColourMatcher& match)
{
  const std::uint32_t colour = ReadAdjustedPixel(planes, x, y);
  const int u = settings.flipDither ? y : x;
  const int v = settings.flipDither ? x : y;
  const int size = OrderedMatrixSize(settings.method);
  const int cells = size * size;
  int rank = OrderedRank(settings.method, u, v);
  if (settings.altYDither && v % 2 == 1) {
    rank = cells - 1 - rank;
  }
  // The thresholds sit at the middles of `cells` equal parts of -1/2..1/2,
  // so they average zero; spread over a whole number of gaps, they send to
  // each enclosing colour the share that keeps the mean. Past black or white
  // there is no further colour to balance the ones on the other side, so
  // near them the spread keeps to as many gaps as fit within half a gap
  // beyond.
  const double gap = BrightnessGap(colour, match) / 3.0;
  const double brightness = ChannelSum(colour) / 3.0;
  const double room = std::min(brightness, 255 - brightness);
  int gaps = BalancedGaps(settings.valueAmp);
  if (gap > 0) {
    gaps = std::min(gaps, 1 + int(2 * room / gap));
  }
  const double shift = (2 * rank + 1 - cells) * gap * gaps / (2.0 * cells);
  StoreAdjustedPixel(planes, x, y, match.Match(Moved(colour, int(std::lround(shift)))));
}

}  // namespace pavona
