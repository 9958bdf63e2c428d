#include "colour/mix_palette.h"

#include <gtest/gtest.h>

#include "colour/mix_pair_codes.h"
#include "colour/yuv.h"

namespace pavona {
namespace {

MixTable Build(PaletteId palette, MixMethod method, GraphicMode mode)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(palette), method, mode);
  return table;
}

TEST(MixPalette, PeptoRgbMix)
{
  const MixTable table = Build(PaletteId::Pepto, MixMethod::Rgb, GraphicMode::HiresFliInterlace);
  EXPECT_EQ(table.colour[0], 0x000000u);
  EXPECT_EQ(table.colour[1], 0x7F7F7Fu);
  EXPECT_EQ(table.colour[2], 0x341B15u);
  // A colour mixed with itself under "RGB Mix" is unchanged.
  for (int n = 0; n < 16; ++n) {
    EXPECT_EQ(table.colour[PureSlot(n)], PaletteColours(PaletteId::Pepto)[n]) << n;
  }
  for (int slot = MixColourCount; slot < MixSlotCount; ++slot) {
    EXPECT_EQ(table.colour[slot], 0u);
    EXPECT_EQ(table.y[slot], 0);
  }
}

TEST(MixPalette, PeptoYuvMix)
{
  const MixTable table = Build(PaletteId::Pepto, MixMethod::Yuv, GraphicMode::HiresFliInterlace);
  EXPECT_EQ(table.colour[0], 0x101010u);  // black comes back as 16, 16, 16
  EXPECT_EQ(table.colour[1], 0x7D7D7Du);
  EXPECT_EQ(table.colour[2], 0x3C2720u);
  EXPECT_EQ(table.colour[135], 0x8F8F8Fu);  // not 0x959595
}

TEST(MixPalette, YuvTablesBelongToTheirColours)
{
  for (MixMethod method : {MixMethod::Rgb, MixMethod::Yuv}) {
    const MixTable table = Build(PaletteId::Vice, method, GraphicMode::HiresInterlaced);
    for (int slot = 0; slot < MixColourCount; ++slot) {
      EXPECT_EQ((Yuv{table.y[slot], table.u[slot], table.v[slot]}), ColourToYuv(table.colour[slot]))
          << slot;
    }
  }
}

TEST(MixPalette, PureSlotsAndPairCodesAgree)
{
  const int expected[16] = {0, 16, 31, 45, 58, 70, 81, 91, 100, 108, 115, 121, 126, 130, 133, 135};
  for (int n = 0; n < 16; ++n) {
    EXPECT_EQ(PureSlot(n), expected[n]);
    EXPECT_EQ(MixPairCodes[PureSlot(n)], std::uint32_t(n * 16 + n));
  }
  EXPECT_EQ(MixPairCodes[15], 0x0Fu);
  EXPECT_EQ(MixPairCodes[16], 0x11u);
  EXPECT_EQ(MixPairCodes[134], 0xEFu);
  EXPECT_EQ(MixSlotOfColours(2, 1), MixSlotOfColours(1, 2));
  EXPECT_EQ(MixPairCodes[MixSlotOfColours(9, 4)], 0x49u);
}

TEST(MixPalette, CompactsToPureColoursWithoutInterlace)
{
  for (GraphicMode mode : {GraphicMode::HiresStandard, GraphicMode::HiresFli}) {
    const MixTable table = Build(PaletteId::Pepto, MixMethod::Rgb, mode);
    for (int n = 0; n < 16; ++n) {
      EXPECT_EQ(table.colour[n], PaletteColours(PaletteId::Pepto)[n]);
      EXPECT_EQ(table.y[n], ColourToYuv(table.colour[n]).y);
    }
    for (int slot = 16; slot < MixColourCount; ++slot) {
      EXPECT_EQ(table.colour[slot], table.colour[0]);
      EXPECT_EQ(table.v[slot], table.v[0]);
    }
  }
  // Under "YUV Mix" the pure colours come back through the YUV formulas.
  const MixTable yuv = Build(PaletteId::Pepto, MixMethod::Yuv, GraphicMode::HiresFli);
  const MixTable full = Build(PaletteId::Pepto, MixMethod::Yuv, GraphicMode::HiresFliInterlace);
  EXPECT_EQ(yuv.colour[0], 0x101010u);
  for (int n = 0; n < 16; ++n) {
    EXPECT_EQ(yuv.colour[n], full.colour[PureSlot(n)]);
  }
}

TEST(MixPalette, Ccs64BlackIsNotBlack)
{
  const MixTable table = Build(PaletteId::Ccs64, MixMethod::Rgb, GraphicMode::HiresStandard);
  EXPECT_EQ(table.colour[0], 0x191D19u);
  EXPECT_EQ(table.colour[100], 0x191D19u);
  EXPECT_EQ(table.colour[140], 0u);  // the unused slots stay black

  const MixTableImage image = DrawMixPalette(table);
  // Row 6, cell 4 is slot 100; the ninth row's last 8 cells are slots 136..143.
  EXPECT_EQ(image[6 * 6 * MixImageWidth + 4 * 19], 0x191D19u);
  EXPECT_EQ(image[53 * MixImageWidth + 303], 0u);
  EXPECT_EQ(image[48 * MixImageWidth + 7 * 19 + 18], 0x191D19u);  // slot 135
  EXPECT_EQ(image[48 * MixImageWidth + 8 * 19], 0u);              // slot 136
}

TEST(DrawMixPalette, CellsOf19By6)
{
  const MixTable table = Build(PaletteId::Frodo, MixMethod::Rgb, GraphicMode::HiresFliInterlace);
  const MixTableImage image = DrawMixPalette(table);
  for (int slot = 0; slot < MixSlotCount; ++slot) {
    const int left = (slot % 16) * 19, top = (slot / 16) * 6;
    EXPECT_EQ(image[top * MixImageWidth + left], table.colour[slot]) << slot;
    EXPECT_EQ(image[(top + 5) * MixImageWidth + left + 18], table.colour[slot]) << slot;
  }
}

}  // namespace
}  // namespace pavona
