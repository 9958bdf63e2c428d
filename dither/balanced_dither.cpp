#include "dither/balanced_dither.h"

#include <algorithm>
#include <cmath>
#include <optional>

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

// The candidate met first by moving `colour` evenly brighter (direction 1)
// or darker (-1) whose brightness lies beyond `pastSum` in that direction;
// none when even white or black does not.
std::optional<std::uint32_t> NextCandidate(std::uint32_t colour, int direction, int pastSum,
                                           const ColourMatcher& match)
{
  auto beyond = [&](int step) {
    return (ChannelSum(match.Match(Moved(colour, direction * step))) - pastSum) * direction > 0;
  };
  // Doubling steps find a move that crosses; halving between the last two
  // finds the first one that does, so that no nearer candidate is skipped.
  int low = 0, high = 1;
  while (!beyond(high)) {
    if (high >= FullMove) {
      return std::nullopt;
    }
    low = high;
    high = std::min(2 * high, FullMove);
  }
  while (high - low > 1) {
    const int middle = (low + high) / 2;
    (beyond(middle) ? high : low) = middle;
  }
  return match.Match(Moved(colour, direction * high));
}

// Two candidates whose brightness encloses the colour's: the darker and the
// brighter one.
struct Enclosing {
  std::uint32_t darker = 0;
  std::uint32_t brighter = 0;
};

// The nearest candidate and the first one on the other side of the colour's
// brightness; none when the colour is a candidate or nothing lies beyond.
std::optional<Enclosing> EnclosingPair(std::uint32_t colour, const ColourMatcher& match)
{
  const std::uint32_t nearest = match.Match(colour);
  if (nearest == colour) {
    return std::nullopt;
  }
  const int sum = ChannelSum(colour);
  const int direction = ChannelSum(nearest) <= sum ? 1 : -1;
  const std::optional<std::uint32_t> other = NextCandidate(colour, direction, sum, match);
  if (!other) {
    return std::nullopt;
  }
  return direction > 0 ? Enclosing{nearest, *other} : Enclosing{*other, nearest};
}

// The pair one step further out on each side, where there is one.
Enclosing Widened(std::uint32_t colour, Enclosing pair, const ColourMatcher& match)
{
  const int darkerSum = ChannelSum(pair.darker), brighterSum = ChannelSum(pair.brighter);
  return {NextCandidate(colour, -1, darkerSum, match).value_or(pair.darker),
          NextCandidate(colour, 1, brighterSum, match).value_or(pair.brighter)};
}

// Whether the threshold at `position` (0..1) picks the brighter of the pair:
// as often as the colour's brightness lies along the way from the darker to
// the brighter one, so the two together keep it.
bool PicksBrighter(std::uint32_t colour, Enclosing pair, double position)
{
  const int darkerSum = ChannelSum(pair.darker), brighterSum = ChannelSum(pair.brighter);
  if (brighterSum == darkerSum) {
    return false;
  }
  const double share = double(ChannelSum(colour) - darkerSum) / (brighterSum - darkerSum);
  return position < share;
}

}  // namespace

int BalancedGaps(int valueAmp)
{
  return AmplitudeShift(valueAmp) / 2 + 1;
}

void BalancedDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                         const ColourMatcher& match)
{
  const std::uint32_t colour = ReadAdjustedPixel(planes, x, y);
  const std::optional<Enclosing> pair = EnclosingPair(colour, match);
  if (!pair) {
    StoreAdjustedPixel(planes, x, y, match.Match(colour));
    return;
  }
  const int u = settings.flipDither ? y : x;
  const int v = settings.flipDither ? x : y;
  const int size = OrderedMatrixSize(settings.method);
  const int cells = size * size;
  int rank = OrderedRank(settings.method, u, v);
  if (settings.altYDither && v % 2 == 1) {
    rank = cells - 1 - rank;
  }
  // One gap: the matrix's thresholds, at the middles of `cells` equal parts
  // of 0..1, choose between the enclosing pair. Two gaps: the even ranks
  // choose between that pair and the odd ranks between the pair one further
  // out, each among its own half of the matrix, so both halves keep the mean
  // and the pattern spreads wider. Two thresholds per pair are too few to
  // keep a mean, so the 2x2 matrix keeps to one gap.
  if (BalancedGaps(settings.valueAmp) == 1 || cells < 9) {
    const double position = (rank + 0.5) / cells;
    StoreAdjustedPixel(planes, x, y,
                       PicksBrighter(colour, *pair, position) ? pair->brighter : pair->darker);
    return;
  }
  const bool outer = rank % 2 == 1;
  const int half = outer ? cells / 2 : (cells + 1) / 2;
  const double position = (rank / 2 + 0.5) / half;
  const Enclosing chosen = outer ? Widened(colour, *pair, match) : *pair;
  StoreAdjustedPixel(planes, x, y,
                     PicksBrighter(colour, chosen, position) ? chosen.brighter : chosen.darker);
}

}  // namespace pavona
