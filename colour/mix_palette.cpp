#include "colour/mix_palette.h"

#include "colour/picture.h"
#include "colour/yuv.h"

namespace pavona {
namespace {

std::uint32_t MixRgb(std::uint32_t a, std::uint32_t b)
{
  return MakeColour((RedOf(a) + RedOf(b)) / 2, (GreenOf(a) + GreenOf(b)) / 2,
                    (BlueOf(a) + BlueOf(b)) / 2);
}

// Averages Y, U and V and converts back. The inverse does not take off the
// forward conversion's offset of 16, so even a colour mixed with itself comes
// back changed (black becomes 0x101010); the table keeps that on purpose.
std::uint32_t MixYuv(std::uint32_t a, std::uint32_t b)
{
  const Yuv first = ColourToYuv(a);
  const Yuv second = ColourToYuv(b);
  const int y = (first.y + second.y) / 2;
  const int u = (first.u + second.u) / 2;
  const int v = (first.v + second.v) / 2;
  return YuvToColour(float(y), float(u), float(v));
}

void CopySlot(MixTable& table, int from, int to)
{
  table.colour[to] = table.colour[from];
  table.y[to] = table.y[from];
  table.u[to] = table.u[from];
  table.v[to] = table.v[from];
}

void CompactToPureColours(MixTable& table)
{
  for (int n = 1; n < 16; ++n) {
    CopySlot(table, PureSlot(n), n);
  }
  for (int slot = 16; slot < MixColourCount; ++slot) {
    CopySlot(table, 0, slot);
  }
}

}  // namespace

std::uint32_t MixColours(std::uint32_t a, std::uint32_t b, MixMethod method)
{
  return method == MixMethod::Yuv ? MixYuv(a, b) : MixRgb(a, b);
}

void BuildMixPalette(MixTable& table, const C64Palette& palette, MixMethod method, GraphicMode mode)
{
  int slot = 0;
  for (int i = 0; i < 16; ++i) {
    for (int j = i; j < 16; ++j) {
      table.colour[slot++] = MixColours(palette[i], palette[j], method);
    }
  }
  for (slot = 0; slot < MixColourCount; ++slot) {
    const Yuv yuv = ColourToYuv(table.colour[slot]);
    table.y[slot] = yuv.y;
    table.u[slot] = yuv.u;
    table.v[slot] = yuv.v;
  }
  if (!IsInterlaced(mode)) {
    CompactToPureColours(table);
  }
}

MixTableImage DrawMixPalette(const MixTable& table)
{
  constexpr int CellWidth = 19;
  constexpr int CellHeight = 6;
  MixTableImage image{};
  for (int y = 0; y < MixImageHeight; ++y) {
    for (int x = 0; x < MixImageWidth; ++x) {
      const int slot = (y / CellHeight) * 16 + x / CellWidth;
      image[y * MixImageWidth + x] = table.colour[slot];
    }
  }
  return image;
}

}  // namespace pavona
