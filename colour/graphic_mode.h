#pragma once

namespace pavona {

enum class GraphicMode { HiresStandard, HiresInterlaced, HiresFli, HiresFliInterlace };

// The interlaced modes show two fields on alternate frames and work with the
// 136 mix colours; the other two work with the 16 pure colours only.
constexpr bool IsInterlaced(GraphicMode mode)
{
  return mode == GraphicMode::HiresInterlaced || mode == GraphicMode::HiresFliInterlace;
}

constexpr bool IsFli(GraphicMode mode)
{
  return mode == GraphicMode::HiresFli || mode == GraphicMode::HiresFliInterlace;
}

}  // namespace pavona
