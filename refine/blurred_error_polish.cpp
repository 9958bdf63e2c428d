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
  std::array<Channels, MostMixesPerPixel> delta{};
  std::array<float, MostMixesPerPixel> alone{};
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
    choices.alone[k] = 2 * Dot(d, gradient) + Dot(d, d) * energy +
                       canvas.OwnLumaChange(x, y, units.mixes[offset][k].slot);
  }
  return choices;
}

// The mix of the pixel's list that lowers the error most, -1 when none does.
int BestMix(const RefineCanvas& canvas, int x, int y)
{
  const PixelChoices choices = ChoicesAt(canvas, x, y);
  int best = -1;
  float bestChange = -LeastGain;
  for (int k = 0; k < choices.count; ++k) {
    if (choices.alone[k] < bestChange) {
      best = k;
      bestChange = choices.alone[k];
    }
  }
  return best;
}

int PolishBand(RefineCanvas& canvas, int band)
{
  int changed = 0;
  for (int y = band * BandRows; y < (band + 1) * BandRows; ++y) {
    for (int x = canvas.FirstColumn(); x < PictureWidth; ++x) {
      if (!canvas.Marked(x, y)) {
        continue;
      }
      const int mix = BestMix(canvas, x, y);
      if (mix >= 0) {
        changed += canvas.Show(x, y, mix);
      }
    }
  }
  return changed;
}

}  // namespace

int PolishPass(RefineCanvas& canvas, PolishedPixels pixels)
{
  canvas.TakeMarks(pixels == PolishedPixels::Every);
  std::atomic<int> changed{0};
  for (int parity = 0; parity < 2; ++parity) {
    ParallelFor((Bands + 1 - parity) / 2,
                [&](int i) { changed += PolishBand(canvas, 2 * i + parity); });
  }
  return changed;
}

}  // namespace pavona
