#include "c64/fli_interlace_data.h"

#include "colour/mix_pair_codes.h"

namespace pavona {
namespace {

// The pair code of the lowest slot holding the colour; the walk stops at the
// last mix slot, and a colour found nowhere counts as mix 0.
std::uint32_t PairCodeOf(const MixTable& table, std::uint32_t colour)
{
  const int slot = FindMixIndex(table, colour, MixColourCount);
  return MixPairCodes[slot < 0 ? 0 : slot];
}

}  // namespace

void BuildFliInterlaceData(const Picture& result, const MixTable& table, C64Data& data,
                           ProgressReport& progress)
{
  progress.SetStatus("Converting data to C64 format");
  auto screens1 = Region(data, FliLayout::FliScreens1);
  auto bitmap1 = Region(data, FliLayout::FliBitmap1);
  auto screens2 = Region(data, FliLayout::FliScreens2);
  auto bitmap2 = Region(data, FliLayout::FliBitmap2);
  for (int r = 0; r < 8; ++r) {
    for (int cy = 0; cy < 25; ++cy) {
      for (int cx = 0; cx < 40; ++cx) {
        const std::uint32_t* span = &result[PixelIndex(cx * 8, cy * 8 + r)];
        const std::uint32_t a = span[0];
        std::uint32_t b = a;
        std::uint8_t bits = 0;
        for (int k = 0; k < 8; ++k) {
          if (span[k] == a) {
            bits |= std::uint8_t(0x80 >> k);
          } else if (b == a) {
            b = span[k];
          }
        }
        bitmap1[BitmapOffset(cx, cy, r)] = bits;
        bitmap2[BitmapOffset(cx, cy, r)] = bits;
        const std::uint32_t codeA = PairCodeOf(table, a);
        const std::uint32_t codeB = PairCodeOf(table, b);
        const int screen = r * ScreenBankSize + ScreenOffset(cx, cy);
        screens1[screen] = std::uint8_t((codeA & 0xF0) | (codeB >> 4));
        screens2[screen] = std::uint8_t(((codeA & 0x0F) << 4) | (codeB & 0x0F));
      }
    }
  }
  progress.SetStatus(" ");
}

}  // namespace pavona
