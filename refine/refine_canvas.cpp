#include "refine/refine_canvas.h"

#include <algorithm>

namespace pavona {
namespace {

constexpr int Reach = BlurredErrorField::Reach;

void SetBit(C64Data& data, C64Region region, int x, int y, bool on)
{
  if (region.size == 0) {
    return;
  }
  std::uint8_t& byte = data[region.offset + BitmapOffset(x / 8, y / 8, y % 8)];
  const std::uint8_t bit = std::uint8_t(0x80 >> (x % 8));
  byte = on ? std::uint8_t(byte | bit) : std::uint8_t(byte & ~bit);
}

std::array<Channels, MixSlotCount> SlotColours(const MixTable& table)
{
  std::array<Channels, MixSlotCount> colours;
  for (int slot = 0; slot < MixSlotCount; ++slot) {
    colours[slot] = PerceivedColour(table.colour[slot]);
  }
  return colours;
}

// The first of the pixel's mixes whose colour it shows, -1 for none.
void FindShownMixes(const Picture& result, const UnitMixes& units, const MixTable& table,
                    std::vector<std::int8_t>& shown)
{
  shown.assign(PixelCount, -1);
  for (int offset = 0; offset < PixelCount; ++offset) {
    for (int k = units.count[offset] - 1; k >= 0; --k) {
      if (table.colour[units.mixes[offset][k].slot] == result[offset]) {
        shown[offset] = std::int8_t(k);
      }
    }
  }
}

}  // namespace

RefineCanvas::RefineCanvas(Picture& result, C64Data& data, UnitMixes& units, const MixTable& table,
                           const Picture& adjusted, int firstColumn, RefineScratch& scratch)
    : result_(result),
      data_(data),
      units_(units),
      table_(table),
      firstColumn_(firstColumn),
      field_(result, adjusted, firstColumn, scratch.gradient),
      slotColour_(SlotColours(table)),
      shownMix_(scratch.shownMix),
      targetLuma_(scratch.targetLuma)
{
  for (int slot = 0; slot < MixSlotCount; ++slot) {
    slotLuma_[slot] = Luma(table.colour[slot]);
  }
  targetLuma_.resize(PixelCount);
  for (int offset = 0; offset < PixelCount; ++offset) {
    targetLuma_[offset] = Luma(adjusted[offset]);
  }
  FindShownMixes(result, units, table, shownMix_);
}

int RefineCanvas::Show(int x, int y, int k)
{
  const int offset = PixelIndex(x, y);
  if (k == shownMix_[offset]) {
    return 0;
  }
  const UnitMix& mix = units_.mixes[offset][k];
  ShowMix(x, y, mix, slotColour_[mix.slot] - ShownColour(x, y));
  shownMix_[offset] = std::int8_t(k);
  return 1;
}

void RefineCanvas::SetUnitColours(int at, int byte, UnitArea area, const MixList& list,
                                  const std::int8_t* choice)
{
  data_[at] = std::uint8_t(byte);
  for (int row = 0; row < area.height; ++row) {
    const int y = area.y0 + row;
    std::array<Channels, 8> deltas;
    for (int column = 0; column < 8; ++column) {
      const int x = area.x0 + column;
      const int offset = PixelIndex(x, y);
      const UnitMix& mix = list.mixes[choice[row * 8 + column]];
      deltas[column] = slotColour_[mix.slot] - ShownColour(x, y);
      units_.mixes[offset] = list.mixes;
      units_.count[offset] = std::uint8_t(list.count);
      shownMix_[offset] = choice[row * 8 + column];
      result_[offset] = table_.colour[mix.slot];
      SetBit(data_, units_.bitmap1, x, y, mix.field1Bit);
      SetBit(data_, units_.bitmap2, x, y, mix.field2Bit);
    }
    field_.ChangeRun(area.x0, y, deltas.data(), 8);
    MarkAround(area.x0, y, 8);
  }
}

void RefineCanvas::ShowMix(int x, int y, const UnitMix& mix, Channels delta)
{
  result_[PixelIndex(x, y)] = table_.colour[mix.slot];
  SetBit(data_, units_.bitmap1, x, y, mix.field1Bit);
  SetBit(data_, units_.bitmap2, x, y, mix.field2Bit);
  if (Dot(delta, delta) != 0) {
    field_.Change(x, y, delta);
    MarkAround(x, y, 1);
  }
}

void RefineCanvas::TakeMarks(bool everySpan)
{
  for (int span = 0; span < Spans; ++span) {
    visit_[span] = everySpan || next_[span].exchange(0, std::memory_order_relaxed) != 0;
  }
}

// The pixels whose choice a change of pixels x .. x + count - 1 of row y may
// alter: their own gradient, or that of the pixel right of or below them,
// lies within Reach. Marked by spans, which costs a few stores where single
// pixels would cost two hundred.
void RefineCanvas::MarkAround(int x, int y, int count)
{
  const int x0 = std::max(0, x - Reach - 1), x1 = std::min(PictureWidth - 1, x + count - 1 + Reach);
  const int y0 = std::max(0, y - Reach - 1), y1 = std::min(PictureHeight - 1, y + Reach);
  for (int qy = y0; qy <= y1; ++qy) {
    for (int span = x0 / 8; span <= x1 / 8; ++span) {
      next_[PixelIndex(span * 8, qy) / 8].store(1, std::memory_order_relaxed);
    }
  }
}

}  // namespace pavona
