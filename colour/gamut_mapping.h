#pragma once

#include <array>
#include <cstdint>

#include "colour/mix_table.h"
#include "colour/picture.h"

namespace pavona {

// CIELAB (D65 white, sRGB primaries) of an 8-bit sRGB colour and back.
struct Lab {
  double l;  // 0..100
  double a;
  double b;
};
Lab ColourToLab(std::uint32_t colour);
std::uint32_t LabToColour(const Lab& lab);  // out-of-gamut channels clamped to 0..255

// How far a dither onto the mix table can go from grey: the colours it can
// show are the mixes of the table's colours, so for each lightness and hue the
// chroma of the edge of their hull in CIELAB. Bins of equal width in L*
// (0..100) and in hue (0..360 degrees); the table is read between bin centres.
constexpr int ReachLightnessBins = 51;  // 2 L* units apart
constexpr int ReachHueBins = 72;        // 5 degrees apart
struct ReachTable {
  std::array<float, ReachLightnessBins * ReachHueBins> chroma{};
  float lowestLightness = 0;  // the darkest and lightest colour of the table
  float highestLightness = 100;
};

// Builds the reach of the table's colours 0..135; colours the flicker reduction
// took out (copies of slot 0) add nothing.
ReachTable BuildReachTable(const MixTable& table);

// The chroma the table reaches at this lightness and hue (radians).
float ReachableChroma(const ReachTable& reach, float lightness, float hue);

// Where soft compression starts, as a share of the reachable chroma: colours
// below it are left as they are, colours above approach the edge of the hull
// without reaching it, so a saturated gradient keeps its steps where a hard
// clip would flatten it into a plateau.
constexpr float ReachKnee = 0.8f;

// The chroma a colour of chroma c gets where the table reaches `reach`:
// unchanged up to ReachKnee * reach, then rising ever more slowly toward reach.
float CompressChroma(float chroma, float reach);

// Maps one colour into reach, keeping its lightness and hue: the plain
// definition that the fast frame mapping below is checked against.
std::uint32_t MapColourIntoReach(const ReachTable& reach, std::uint32_t colour);

// MapColourIntoReach with tables for the cube root and the sRGB curve and a
// polynomial for the hue: within a level of it, many times faster.
std::uint32_t MapColourIntoReachQuickly(const ReachTable& reach, std::uint32_t colour);

}  // namespace pavona
