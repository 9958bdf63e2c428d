#pragma once

namespace pavona {

// The hires modes come first, as they always were numbered; the multicolour
// modes follow.
enum class GraphicMode {
  HiresStandard,
  HiresInterlaced,
  HiresFli,
  HiresFliInterlace,
  Multicolour,           // Koala: 160 x 200, 3 colours a 4 x 8 cell and the background
  MulticolourFli,        // 2 screen colours a 4 x 1 span, the colour RAM a cell, black background
  MulticolourInterlace,  // two multicolour pictures, the second one hires pixel to the right
};

// The interlaced modes show two fields on alternate frames and work with the
// 136 mix colours; the others work with the 16 pure colours only.
constexpr bool IsInterlaced(GraphicMode mode)
{
  return mode == GraphicMode::HiresInterlaced || mode == GraphicMode::HiresFliInterlace ||
         mode == GraphicMode::MulticolourInterlace;
}

// The hires FLI modes, whose layout and searches are their own.
constexpr bool IsFli(GraphicMode mode)
{
  return mode == GraphicMode::HiresFli || mode == GraphicMode::HiresFliInterlace;
}

// Pixels two hires pixels wide, four to a cell row.
constexpr bool IsMulticolour(GraphicMode mode)
{
  return mode == GraphicMode::Multicolour || mode == GraphicMode::MulticolourFli ||
         mode == GraphicMode::MulticolourInterlace;
}

// FLI changes the screen on every line; the video chip then shows no
// picture in the first three cell columns (24 hires pixels).
constexpr bool HidesFirstColumns(GraphicMode mode)
{
  return IsFli(mode) || mode == GraphicMode::MulticolourFli;
}

}  // namespace pavona
