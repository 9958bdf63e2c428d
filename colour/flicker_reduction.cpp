#include "colour/flicker_reduction.h"

#include <array>

namespace pavona {
namespace {

constexpr std::array<ColourPair, 4> Light = {{{0, 1}, {0, 7}, {0, 10}, {0, 13}}};

constexpr std::array<ColourPair, 10> Luma = {
    {{0, 1}, {0, 3}, {0, 5}, {0, 7}, {0, 8}, {0, 10}, {0, 12}, {0, 13}, {0, 14}, {0, 15}}};

// clang-format off
constexpr std::array<ColourPair, 52> Medium = {{
    {0, 1},   {0, 2},   {0, 3},   {0, 4},   {0, 5},   {0, 6},   {0, 7},   {0, 8},
    {0, 10},  {0, 12},  {0, 13},  {0, 14},  {0, 15},  {1, 2},   {1, 4},   {1, 6},
    {1, 8},   {1, 9},   {1, 11},  {2, 3},   {2, 5},   {2, 7},   {2, 13},  {2, 14},
    {2, 15},  {3, 4},   {3, 6},   {3, 9},   {3, 11},  {4, 7},   {4, 13},  {4, 15},
    {5, 6},   {5, 9},   {5, 11},  {6, 7},   {6, 10},  {6, 13},  {6, 14},  {6, 15},
    {7, 9},   {7, 11},  {8, 13},  {9, 10},  {9, 12},  {9, 13},  {9, 14},  {9, 15},
    {10, 11}, {11, 13}, {11, 14}, {11, 15},
}};
// clang-format on

// clang-format off
constexpr std::array<ColourPair, 80> Heavy = {{
    {0, 1},   {0, 2},   {0, 3},   {0, 4},   {0, 5},   {0, 6},   {0, 7},   {0, 8},
    {0, 9},   {0, 10},  {0, 11},  {0, 12},  {0, 13},  {0, 14},  {0, 15},  {1, 2},
    {1, 4},   {1, 5},   {1, 6},   {1, 8},   {1, 9},   {1, 10},  {1, 11},  {1, 12},
    {1, 14},  {2, 3},   {2, 5},   {2, 7},   {2, 10},  {2, 12},  {2, 13},  {2, 14},
    {2, 15},  {3, 4},   {3, 6},   {3, 8},   {3, 9},   {3, 11},  {4, 5},   {4, 7},
    {4, 10},  {4, 12},  {4, 13},  {4, 14},  {4, 15},  {5, 6},   {5, 7},   {5, 9},
    {5, 11},  {5, 13},  {5, 15},  {6, 7},   {6, 8},   {6, 10},  {6, 12},  {6, 13},
    {6, 14},  {6, 15},  {7, 8},   {7, 9},   {7, 10},  {7, 11},  {7, 12},  {7, 14},
    {8, 10},  {8, 13},  {8, 14},  {8, 15},  {9, 10},  {9, 12},  {9, 13},  {9, 14},
    {9, 15},  {10, 11}, {10, 13}, {11, 13}, {11, 14}, {11, 15}, {12, 13}, {13, 14},
}};
// clang-format on

void RemovePairs(MixTable& table, std::span<const ColourPair> pairs)
{
  const auto colour = table.colour[0];
  const auto y = table.y[0];
  const auto u = table.u[0];
  const auto v = table.v[0];
  for (const auto& [i, j] : pairs) {
    const int slot = PairSlot(i, j);
    table.colour[slot] = colour;
    table.y[slot] = y;
    table.u[slot] = u;
    table.v[slot] = v;
  }
}

}  // namespace

// clang-format off
std::span<const ColourPair> LightFlickerPairs() { return Light; }
std::span<const ColourPair> MediumFlickerPairs() { return Medium; }
std::span<const ColourPair> HeavyFlickerPairs() { return Heavy; }
std::span<const ColourPair> LumaFlickerPairs() { return Luma; }

void ReduceFlickerLight(MixTable& table) { RemovePairs(table, Light); }
void ReduceFlickerMedium(MixTable& table) { RemovePairs(table, Medium); }
void ReduceFlickerHeavy(MixTable& table) { RemovePairs(table, Heavy); }
void ReduceFlickerForLuma(MixTable& table) { RemovePairs(table, Luma); }
// clang-format on

void ReduceFlicker(MixTable& table, FlickerLevel level)
{
  switch (level) {
    case FlickerLevel::Light:
      ReduceFlickerLight(table);
      break;
    case FlickerLevel::Medium:
      ReduceFlickerMedium(table);
      break;
    case FlickerLevel::Heavy:
      ReduceFlickerHeavy(table);
      break;
    case FlickerLevel::Off:
      break;
  }
}

void ReapplyFlickerLevel(MixTable& table, const C64Palette& palette, MixMethod method,
                         GraphicMode mode, FlickerLevel level)
{
  if (level == FlickerLevel::Off) {
    BuildMixPalette(table, palette, method, mode);
  } else {
    ReduceFlicker(table, level);
  }
}

}  // namespace pavona
