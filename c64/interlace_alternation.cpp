#include "c64/interlace_alternation.h"

#include <utility>

namespace pavona {
namespace {

constexpr int CellRows = 25;
constexpr int CellColumns = 40;

void ExchangeByte(C64Data& data, C64Region first, C64Region second, int offset)
{
  std::swap(data[first.offset + offset], data[second.offset + offset]);
}

void ExchangeEvenCellRows(C64Data& data, C64Region bitmap1, C64Region bitmap2)
{
  for (int cy = 0; cy < CellRows; ++cy) {
    for (int cx = 0; cx < CellColumns; ++cx) {
      for (int r = 0; r < 8; r += 2) {
        ExchangeByte(data, bitmap1, bitmap2, BitmapOffset(cx, cy, r));
      }
    }
  }
}

// Bits 6, 4, 2 and 0 are the pixels in odd picture columns.
void ExchangeOddPixelColumns(C64Data& data, C64Region bitmap1, C64Region bitmap2)
{
  constexpr std::uint8_t OddPixels = 0x55;
  for (int offset = 0; offset < BitmapBytesUsed; ++offset) {
    std::uint8_t& first = data[bitmap1.offset + offset];
    std::uint8_t& second = data[bitmap2.offset + offset];
    const std::uint8_t moved = (first ^ second) & OddPixels;
    first ^= moved;
    second ^= moved;
  }
}

}  // namespace

void AlternateRowsFli(C64Data& data, FieldBitmaps bitmaps)
{
  using namespace FliLayout;
  for (int bank = 0; bank < 8; bank += 2) {
    for (int offset = 0; offset < ScreenBytesUsed; ++offset) {
      ExchangeByte(data, FliScreens1, FliScreens2, bank * ScreenBankSize + offset);
    }
  }
  if (bitmaps == FieldBitmaps::Own) {
    ExchangeEvenCellRows(data, FliBitmap1, FliBitmap2);
  }
}

void AlternateCellColumnsFli(C64Data& data, FieldBitmaps bitmaps)
{
  using namespace FliLayout;
  for (int cy = 0; cy < CellRows; ++cy) {
    for (int cx = 0; cx < CellColumns; cx += 2) {
      for (int bank = 0; bank < 8; ++bank) {
        ExchangeByte(data, FliScreens1, FliScreens2, FliScreenOffset(cx, cy, bank));
      }
      if (bitmaps == FieldBitmaps::Own) {
        for (int r = 0; r < 8; ++r) {
          ExchangeByte(data, FliBitmap1, FliBitmap2, BitmapOffset(cx, cy, r));
        }
      }
    }
  }
}

void AlternatePixelColumnsFli(C64Data& data)
{
  ExchangeOddPixelColumns(data, FliLayout::FliBitmap1, FliLayout::FliBitmap2);
}

void AlternateRowsHires(C64Data& data)
{
  ExchangeEvenCellRows(data, HiresLayout::HiresBitmap1, HiresLayout::HiresBitmap2);
}

void AlternatePixelColumnsHires(C64Data& data)
{
  ExchangeOddPixelColumns(data, HiresLayout::HiresBitmap1, HiresLayout::HiresBitmap2);
}

}  // namespace pavona
