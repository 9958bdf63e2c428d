#include "refine/unit_colour_choice.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <utility>

#include "colour/parallel.h"

namespace pavona {
namespace {

constexpr int Reach = BlurredErrorField::Reach;

// Bands of whole cells; a unit's change reaches only Reach rows beyond it,
// so bands two apart never touch the same gradient and the even bands run
// side by side, then the odd ones.
constexpr int BandRows = 40;
constexpr int Bands = PictureHeight / BandRows;
static_assert(BandRows > 2 * Reach && BandRows % 8 == 0 && PictureHeight % BandRows == 0);

// A new colour must lower the error by more than this, so rounding alone
// never changes a unit.
constexpr float LeastGain = 1e-3f;

// How many colours per nibble are tried: on the photos the best ranked one
// kept most of the gain of trying all fifteen at a small part of the time.
constexpr int Likely = 1;

// What each of the 16 colours of a unit would show beside a colour of the
// other field (itself without interlace), as rows over the 16 colours so the
// ranking of all of them runs as a few vector operations: the channels and
// their sum of squares, which is huge where the mix was removed.
struct ColourRow {
  std::array<float, 16> red, green, blue, norm;
};
// By field (1, 2) and the other field's colour.
using ColourRows = std::array<std::array<ColourRow, 16>, 2>;

ColourRows ColourRowsOf(const RefineCanvas& canvas)
{
  const UnitColourPlaces& places = canvas.Units().places;
  ColourRows rows;
  for (int field = 1; field <= 2; ++field) {
    for (int other = 0; other < 16; ++other) {
      ColourRow& row = rows[field - 1][other];
      for (int colour = 0; colour < 16; ++colour) {
        const int slot = field == 1 ? places.slotOf[colour][other] : places.slotOf[other][colour];
        const Channels shown = slot < 0 ? Channels{} : canvas.SlotColour(slot);
        row.red[colour] = shown[0];
        row.green[colour] = shown[1];
        row.blue[colour] = shown[2];
        row.norm[colour] = slot < 0 ? 1e30f : Dot(shown, shown);
      }
    }
  }
  return rows;
}

struct Trial {
  float change = 0;
  MixList list;
  std::array<std::int8_t, 64> choice{};
};

class UnitChoice {
 public:
  UnitChoice(RefineCanvas& canvas, const ColourRows& rows, int field, UnitArea area)
      : canvas_(canvas),
        rows_(rows[field - 1]),
        places_(canvas.Units().places),
        field_(field),
        area_(area),
        at_(places_.ScreenByteAt(field, area.x0, area.y0)),
        byte_(canvas.Data()[at_]),
        // The other field's unit covers the same pixels.
        otherByte_(places_.interlaced
                       ? canvas.Data()[places_.ScreenByteAt(3 - field, area.x0, area.y0)]
                       : 0)
  {
  }

  // Returns 1 if the unit changed.
  int Choose()
  {
    for (int i = 0; i < area_.Count(); ++i) {
      if (canvas_.ShownMix(area_.X(i), area_.Y(i)) < 0) {
        return 0;
      }
    }
    Trial best, trial;
    best.change = -LeastGain;
    int bestByte = -1;
    const Wishes wishes = GatherWishes();
    for (int nibble = 0; nibble < 2; ++nibble) {
      for (int colour : LikelyColours(wishes, nibble)) {
        if (colour < 0) {
          continue;
        }
        const int byte = nibble == 0 ? (colour << 4) | (byte_ & 0x0F) : (byte_ & 0xF0) | colour;
        if (Evaluate(byte, trial) && trial.change < best.change) {
          std::swap(best, trial);
          bestByte = byte;
        }
      }
    }
    if (bestByte < 0) {
      return 0;
    }
    canvas_.SetUnitColours(at_, bestByte, area_, best.list, best.choice.data());
    return 1;
  }

 private:
  // What the unit's pixels want, by the nibble whose colour they show in
  // this field and by the colour they show in the other: each pixel's
  // target is the colour that alone would lower the error most; `weight`
  // sums the pixels' energies (how the error weighs a change of them), `pull`
  // their targets times those.
  struct Wishes {
    std::array<std::array<float, 2>, 2> weight{};
    std::array<std::array<Channels, 2>, 2> pull{};
  };

  Wishes GatherWishes() const
  {
    Wishes wishes;
    for (int i = 0; i < area_.Count(); ++i) {
      const int x = area_.X(i), y = area_.Y(i);
      const UnitMix& mix = canvas_.Units().mixes[PixelIndex(x, y)][canvas_.ShownMix(x, y)];
      const int nibble = (field_ == 1 ? mix.field1Bit : mix.field2Bit) ? 0 : 1;
      const int group = (field_ == 1 ? mix.field2Bit : mix.field1Bit) ? 0 : 1;
      // The target is shown - gradient / energy; times the energy:
      const float energy = canvas_.Field().Overlap(x, y, 0, 0);
      wishes.weight[nibble][group] += energy;
      wishes.pull[nibble][group] +=
          canvas_.ShownColour(x, y) * energy - canvas_.Field().Gradient(x, y);
    }
    return wishes;
  }

  // The colours, at most Likely, that would suit the pixels showing the
  // nibble's colour (all pixels, if none does) better than it does, best
  // first, -1 for none: ranked by the squared distance of what those pixels
  // would show with them to their targets, weighed by the energies. Where no
  // colour ranks above the present one, trying others would only cost time.
  std::array<int, Likely> LikelyColours(const Wishes& wishes, int nibble) const
  {
    std::array<float, 2> weight = wishes.weight[nibble];
    std::array<Channels, 2> pull = wishes.pull[nibble];
    if (weight[0] + weight[1] == 0) {
      for (int group = 0; group < 2; ++group) {
        weight[group] = wishes.weight[0][group] + wishes.weight[1][group];
        pull[group] = wishes.pull[0][group] + wishes.pull[1][group];
      }
    }
    const std::array<int, 2> otherColour{otherByte_ >> 4, otherByte_ & 0x0F};
    std::array<float, 16> score{};
    for (int group = 0; group < 2; ++group) {
      if (weight[group] == 0) {
        continue;
      }
      const ColourRow& row = rows_[otherColour[group]];
      const Channels p = pull[group];
      for (int colour = 0; colour < 16; ++colour) {
        score[colour] +=
            weight[group] * row.norm[colour] -
            2 * (row.red[colour] * p[0] + row.green[colour] * p[1] + row.blue[colour] * p[2]);
      }
    }
    const int present = nibble == 0 ? byte_ >> 4 : byte_ & 0x0F;
    std::array<int, Likely> likely;
    likely.fill(-1);
    for (int colour = 0; colour < 16; ++colour) {
      if (score[colour] >= score[present]) {
        continue;
      }
      for (int k = 0; k < Likely; ++k) {
        if (likely[k] < 0 || score[colour] < score[likely[k]]) {
          std::copy_backward(likely.begin() + k, likely.end() - 1, likely.end());
          likely[k] = colour;
          break;
        }
      }
    }
    return likely;
  }

  // The change of the error if the unit's screen byte were `byte` and its
  // pixels took, one after the other, the mix that lowers it most then.
  // False when a pixel could show no mix at all.
  bool Evaluate(int byte, Trial& trial) const
  {
    trial.list =
        field_ == 1 ? places_.MixesOf(byte, otherByte_) : places_.MixesOf(otherByte_, byte);
    const MixList& list = trial.list;
    if (list.count == 0) {
      return false;
    }
    const int count = area_.Count();
    std::array<Channels, 64> gradient;
    for (int i = 0; i < count; ++i) {
      gradient[i] = canvas_.Field().Gradient(area_.X(i), area_.Y(i));
    }
    trial.change = 0;
    for (int i = 0; i < count; ++i) {
      const int x = area_.X(i), y = area_.Y(i);
      const float energy = canvas_.Field().Overlap(x, y, 0, 0);
      const Channels from = canvas_.ShownColour(x, y);
      int best = 0;
      float bestChange = 0;
      Channels bestDelta{};
      for (int k = 0; k < list.count; ++k) {
        const Channels d = canvas_.SlotColour(list.mixes[k].slot) - from;
        const float change = 2 * Dot(d, gradient[i]) + Dot(d, d) * energy +
                             canvas_.OwnLumaChange(x, y, list.mixes[k].slot);
        if (k == 0 || change < bestChange) {
          best = k;
          bestChange = change;
          bestDelta = d;
        }
      }
      trial.choice[i] = std::int8_t(best);
      trial.change += bestChange;
      if (Dot(bestDelta, bestDelta) == 0) {
        continue;
      }
      SpreadChange(i, bestDelta, gradient);
    }
    return true;
  }

  // The pixels after the i-th, still to place, see its change `delta`.
  void SpreadChange(int i, Channels delta, std::array<Channels, 64>& gradient) const
  {
    const BlurredErrorField& field = canvas_.Field();
    const int x = area_.X(i), y = area_.Y(i), column = i % 8;
    std::array<float, 8> alongX{};
    for (int c = std::max(0, column - Reach); c <= std::min(7, column + Reach); ++c) {
      alongX[c] = field.OverlapAlongX(x, c - column);
    }
    for (int row = i / 8; row < area_.height && row - i / 8 <= Reach; ++row) {
      const Channels scaled = delta * field.OverlapAlongY(y, row - i / 8);
      const int from = row == i / 8 ? column + 1 : 0;
      for (int c = from; c < 8; ++c) {
        gradient[row * 8 + c] += scaled * alongX[c];
      }
    }
  }

  RefineCanvas& canvas_;
  const std::array<ColourRow, 16>& rows_;
  const UnitColourPlaces& places_;
  const int field_;
  const UnitArea area_;
  const int at_;
  const int byte_;
  const int otherByte_;
};

int ChooseInBand(RefineCanvas& canvas, const ColourRows& rows, int band)
{
  const UnitColourPlaces& places = canvas.Units().places;
  const int height = places.fli ? 1 : 8;
  int changed = 0;
  for (int field = 1; field <= (places.interlaced ? 2 : 1); ++field) {
    for (int y0 = band * BandRows; y0 < (band + 1) * BandRows; y0 += height) {
      for (int x0 = (canvas.FirstColumn() + 7) / 8 * 8; x0 < PictureWidth; x0 += 8) {
        changed += UnitChoice(canvas, rows, field, {x0, y0, height}).Choose();
      }
    }
  }
  return changed;
}

}  // namespace

int ChooseUnitColours(RefineCanvas& canvas)
{
  if (!canvas.Units().places.chooseable) {
    return 0;
  }
  const ColourRows rows = ColourRowsOf(canvas);
  std::atomic<int> changed{0};
  for (int parity = 0; parity < 2; ++parity) {
    ParallelFor((Bands + 1 - parity) / 2,
                [&](int i) { changed += ChooseInBand(canvas, rows, 2 * i + parity); });
  }
  return changed;
}

}  // namespace pavona
