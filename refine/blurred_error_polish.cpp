#include "refine/blurred_error_polish.h"

#include <array>
#include <atomic>

#include "colour/parallel.h"

namespace pavona {
namespace {

constexpr int Reach = BlurredErrorField::Reach;

// Work goes by bands of pixel rows. A pixel's choice reads the gradients of
// its own row and the row below and changes them within Reach rows of the
// two, so bands two apart never touch the same gradient: the even bands run
// side by side, then the odd ones.
constexpr int BandRows = 20;
constexpr int Bands = PictureHeight / BandRows;
static_assert(BandRows > 2 * Reach + 1 && PictureHeight % BandRows == 0);

// A change must lower the error by more than this, so rounding cannot undo
// and redo a choice for ever.
constexpr float LeastGain = 1e-3f;

// A pixel's possible changes: the difference each of its mixes makes to what
// it shows, and what that change alone does to the error.
struct PixelChoices {
  std::array<Channels, AllowedMixes::MostPerPixel> delta{};
  std::array<float, AllowedMixes::MostPerPixel> alone{};
  int count = 0;
};

// None for a pixel with no other mix to show.
PixelChoices ChoicesAt(const RefineCanvas& canvas, int x, int y)
{
  PixelChoices choices;
  const int offset = PixelIndex(x, y);
  const UnitMixes& units = canvas.Units();
  if (canvas.ShownMix(x, y) < 0 || units.count[offset] < 2) {
    return choices;
  }
  const Channels gradient = canvas.Field().Gradient(x, y);
  const float energy = canvas.Field().Overlap(x, y, 0, 0);
  const Channels from = canvas.ShownColour(x, y);
  choices.count = units.count[offset];
  for (int k = 0; k < choices.count; ++k) {
    const Channels d = canvas.SlotColour(units.mixes[offset][k].slot) - from;
    choices.delta[k] = d;
    choices.alone[k] = 2 * Dot(d, gradient) + Dot(d, d) * energy;
  }
  return choices;
}

struct Move {
  float change = -LeastGain;
  int own = -1;
  int dx = 0, dy = 0;
  int other = -1;
};

// The best move of the pixel alone and, with `pairs`, together with its right
// or lower neighbour; own < 0 when none lowers the error.
Move BestMove(const RefineCanvas& canvas, int x, int y, bool pairs)
{
  Move best;
  const PixelChoices own = ChoicesAt(canvas, x, y);
  for (int k = 0; k < own.count; ++k) {
    if (own.alone[k] < best.change) {
      best = {own.alone[k], k};
    }
  }
  if (!pairs || own.count == 0) {
    return best;
  }
  const int neighbours[2][2] = {{1, 0}, {0, 1}};
  for (const auto& [dx, dy] : neighbours) {
    if (x + dx >= PictureWidth || y + dy >= PictureHeight) {
      continue;
    }
    const PixelChoices other = ChoicesAt(canvas, x + dx, y + dy);
    const float overlap = 2 * canvas.Field().Overlap(x, y, dx, dy);
    for (int k = 0; k < own.count; ++k) {
      for (int j = 0; j < other.count; ++j) {
        const float change =
            own.alone[k] + other.alone[j] + overlap * Dot(own.delta[k], other.delta[j]);
        if (change < best.change) {
          best = {change, k, dx, dy, j};
        }
      }
    }
  }
  return best;
}

int PolishBand(RefineCanvas& canvas, int band, bool pairs)
{
  int changed = 0;
  for (int y = band * BandRows; y < (band + 1) * BandRows; ++y) {
    for (int x = canvas.FirstColumn(); x < PictureWidth; ++x) {
      if (!canvas.Marked(x, y)) {
        continue;
      }
      const Move move = BestMove(canvas, x, y, pairs);
      if (move.own >= 0) {
        changed += canvas.Show(x, y, move.own);
      }
      if (move.other >= 0) {
        changed += canvas.Show(x + move.dx, y + move.dy, move.other);
      }
    }
  }
  return changed;
}

}  // namespace

int PolishPass(RefineCanvas& canvas, bool everyPixel, bool pairs)
{
  canvas.TakeMarks(everyPixel);
  std::atomic<int> changed{0};
  for (int parity = 0; parity < 2; ++parity) {
    ParallelFor((Bands + 1 - parity) / 2,
                [&](int i) { changed += PolishBand(canvas, 2 * i + parity, pairs); });
  }
  return changed;
}

}  // namespace pavona
