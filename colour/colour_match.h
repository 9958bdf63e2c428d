#pragma once

#include <cstdint>
#include <span>

#include "colour/graphic_mode.h"
#include "colour/mix_table.h"

namespace pavona {

enum class Measure { RgbDistance, Brightness, Perceptual };

// 16 in the two modes without interlace (the table then holds the pure
// colours in slots 0..15), 136 otherwise.
constexpr int CandidateCount(GraphicMode mode)
{
  return IsInterlaced(mode) ? MixColourCount : 16;
}

// Each returns the nearest mix colour itself among slots 0..count-1. The
// first slot wins among equal distances, so a slot removed by the flicker
// reduction (a copy of slot 0) never wins.
std::uint32_t MatchRgbDistance(std::uint32_t colour, const MixTable& table, int count);
std::uint32_t MatchBrightness(std::uint32_t colour, const MixTable& table, int count);
std::uint32_t MatchPerceptual(std::uint32_t colour, const MixTable& table, int count);

// The slot nearest to the colour among the listed slots (at least one, in
// increasing order, so the first of equals wins as in the whole-table search),
// measured exactly as the functions above measure.
int NearestListedSlot(std::uint32_t colour, const MixTable& table, Measure measure,
                      std::span<const std::uint8_t> slots);

// The nearest mix colour by the selected measure.
std::uint32_t MatchColour(std::uint32_t colour, const MixTable& table, Measure measure,
                          GraphicMode mode);

}  // namespace pavona
