#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace pavona {

// The C64 memory image of a converted picture, laid out as the video chip
// reads it. Bitmap byte of cell (cx, cy), pixel row r: cy * 320 + cx * 8 + r,
// bit 7 the leftmost pixel. Screen byte of a cell: cy * 40 + cx (in FLI, in
// bank r). High nibble: colour of the 1-bits; low nibble: of the 0-bits.
constexpr int C64DataSize = 32768;
using C64Data = std::array<std::uint8_t, C64DataSize>;

struct C64Region {
  int offset;
  int size;  // reserved bytes, spare tail included
};

// Both screens and bitmaps keep 24 and 192 spare bytes at their ends.
constexpr int ScreenBytesUsed = 1000;
constexpr int ScreenBankSize = 1024;
constexpr int BitmapBytesUsed = 8000;
constexpr int BitmapSize = 8192;

// Used by "Hires FLI" (field 1 only) and "Hires FLI Interlace": eight screen
// banks per field, bank r holding the colours of pixel row r of every cell.
namespace FliLayout {
constexpr C64Region FliScreens1{0x0000, 8 * ScreenBankSize};
constexpr C64Region FliBitmap1{0x2000, BitmapSize};
constexpr C64Region FliScreens2{0x4000, 8 * ScreenBankSize};
constexpr C64Region FliBitmap2{0x6000, BitmapSize};
}  // namespace FliLayout

// Used by "Hires Standard" (field 1 only) and "Hires Interlaced".
namespace HiresLayout {
constexpr C64Region HiresScreen1{0x0000, ScreenBankSize};
constexpr C64Region HiresBitmap1{0x0400, BitmapSize};
constexpr C64Region HiresScreen2{0x2400, ScreenBankSize};
constexpr C64Region HiresBitmap2{0x2800, BitmapSize};
}  // namespace HiresLayout

// Used by the multicolour modes. A bitmap byte holds four pixels of a cell
// row, bits 7-6 the leftmost; its bit pair picks the background (00), the
// screen byte's high nibble (01), its low nibble (10) or the cell's colour RAM
// nibble (11). "Multicolour" uses picture 1 and the colour RAM and the
// background; "Multicolour FLI" adds the eight screen banks (bank r for pixel
// row r, McScreen1 unused) and has a black background; "Multicolour
// Interlace" adds picture 2, which shares the colour RAM and the background.
namespace MulticolourLayout {
constexpr C64Region McBitmap1{0x0000, BitmapSize};
constexpr C64Region McScreen1{0x2000, ScreenBankSize};
constexpr C64Region McColourRam{0x2400, ScreenBankSize};
constexpr int McBackground = 0x2800;  // one byte, the colour in its low nibble
constexpr C64Region McScreen2{0x2C00, ScreenBankSize};
constexpr C64Region McFliScreens{0x4000, 8 * ScreenBankSize};
constexpr C64Region McBitmap2{0x6000, BitmapSize};
}  // namespace MulticolourLayout

// The bit pair of multicolour pixel `pixel` (0..3, left to right) of a bitmap
// byte.
constexpr int MulticolourBits(std::uint8_t byte, int pixel)
{
  return (byte >> (6 - 2 * pixel)) & 3;
}

inline std::span<std::uint8_t> Region(C64Data& data, C64Region region)
{
  return std::span<std::uint8_t>(data).subspan(region.offset, region.size);
}

inline std::span<const std::uint8_t> Region(const C64Data& data, C64Region region)
{
  return std::span<const std::uint8_t>(data).subspan(region.offset, region.size);
}

constexpr int BitmapOffset(int cx, int cy, int row)
{
  return cy * 320 + cx * 8 + row;
}
constexpr int ScreenOffset(int cx, int cy)
{
  return cy * 40 + cx;
}
// In FLI, pixel row `row` of a cell takes its colours from screen bank `row`.
constexpr int FliScreenOffset(int cx, int cy, int row)
{
  return row * ScreenBankSize + ScreenOffset(cx, cy);
}

}  // namespace pavona
