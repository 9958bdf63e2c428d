#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "colour/colour_match.h"
#include "colour/colour_matcher.h"
#include "colour/mix_table.h"
#include "colour/picture.h"

namespace pavona {

// The mix colours that each pixel of the frame may still take once the
// colours of its cell or span are chosen: up to four table slots per pixel. A
// pixel with no slots listed may take any colour of the table.
class AllowedMixes {
 public:
  static constexpr int MostPerPixel = 4;

  // Keeps a copy of the table; measure is how the dithering matches.
  AllowedMixes(const MixTable& table, Measure measure);

  // Lists the slots the pixel at plane offset `offset` may take, replacing
  // what was listed; repeats are dropped and at most MostPerPixel are kept.
  void Allow(int offset, std::span<const std::uint8_t> slots);

  std::span<const std::uint8_t> SlotsAt(int offset) const
  {
    return {slots_[offset].data(), count_[offset]};
  }

  // The nearest allowed mix colour to `colour`, measured as the whole-table
  // matching measures (the lowest slot wins among equals); `whole` answers for
  // a pixel with no slots listed.
  std::uint32_t Match(int offset, std::uint32_t colour, const ColourMatcher& whole) const
  {
    if (count_[offset] == 0) {
      return whole.Match(colour);
    }
    if (count_[offset] == 1) {
      return table_.colour[slots_[offset][0]];
    }
    return table_.colour[NearestListedSlot(colour, table_, measure_, SlotsAt(offset))];
  }

  // How far beyond the allowed mixes a pixel's value may lie once error
  // diffusion has added to it. Without a limit, error that the mixes of a
  // unit cannot show piles up and spills into the next units as streaks;
  // with none at all (0) the dither loses the error it needs. Chosen by
  // measurement on photos.
  static constexpr int Margin = 48;

  // The colour with each channel brought into the range that the pixel's
  // allowed mixes span, widened by Margin on both sides.
  std::uint32_t Limit(int offset, std::uint32_t colour) const
  {
    const int count = count_[offset];
    if (count == 0) {
      return colour;
    }
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    for (int k = 0; k < count; ++k) {
      const std::uint32_t mix = table_.colour[slots_[offset][k]];
      const int channels[3] = {RedOf(mix), GreenOf(mix), BlueOf(mix)};
      for (int c = 0; c < 3; ++c) {
        low[c] = std::min(low[c], channels[c]);
        high[c] = std::max(high[c], channels[c]);
      }
    }
    return MakeColour(std::clamp(RedOf(colour), low[0] - Margin, high[0] + Margin),
                      std::clamp(GreenOf(colour), low[1] - Margin, high[1] + Margin),
                      std::clamp(BlueOf(colour), low[2] - Margin, high[2] + Margin));
  }

 private:
  MixTable table_;
  Measure measure_;
  std::vector<std::array<std::uint8_t, MostPerPixel>> slots_;
  std::vector<std::uint8_t> count_;
};

// How a dithering method picks a pixel's mix colour: the nearest of the whole
// table, or with a list of allowed mixes the nearest of those.
class PixelMatch {
 public:
  // Implicit, so every caller that matches against the whole table passes
  // its matcher as before.
  PixelMatch(const ColourMatcher& whole) : whole_(&whole) {}
  PixelMatch(const ColourMatcher& whole, const AllowedMixes& allowed)
      : whole_(&whole), allowed_(&allowed)
  {
  }

  // Whether a list of allowed mixes applies; only then may Limit be called.
  bool Restricted() const { return allowed_ != nullptr; }

  std::uint32_t Limit(int offset, std::uint32_t colour) const
  {
    return allowed_->Limit(offset, colour);
  }

  std::uint32_t operator()(int offset, std::uint32_t colour) const
  {
    return allowed_ == nullptr ? whole_->Match(colour) : allowed_->Match(offset, colour, *whole_);
  }

 private:
  const ColourMatcher* whole_;
  const AllowedMixes* allowed_ = nullptr;
};

}  // namespace pavona
