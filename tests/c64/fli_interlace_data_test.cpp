#include "c64/fli_interlace_data.h"

#include <gtest/gtest.h>

#include <random>

#include "colour/flicker_reduction.h"
#include "colour/mix_pair_codes.h"
#include "colour/mix_palette.h"
#include "support/recording_progress.h"
#include "support/span_fixtures.h"

namespace pavona {
namespace {

using namespace FliLayout;
using testing::FliBytesOf;
using testing::SpanBytes;

MixTable PeptoMixes()
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb,
                  GraphicMode::HiresFliInterlace);
  return table;
}

TEST(BuildFliInterlaceData, SpanBytes)
{
  MixTable table = PeptoMixes();
  const std::uint32_t m12 = table.colour[PairSlot(1, 2)];  // field 1 white, field 2 red
  const std::uint32_t m34 = table.colour[PairSlot(3, 4)];  // cyan, purple
  const std::uint32_t m56 = table.colour[PairSlot(5, 6)];
  const std::uint32_t m77 = table.colour[PairSlot(7, 7)];
  // Slot 100 gets the colour of slot 20: the lower slot's code must decide.
  const std::uint32_t m20 = table.colour[20];
  table.colour[100] = m20;
  const std::uint32_t stray = 0x123457;
  ASSERT_LT(FindMixIndex(table, stray), 0);

  struct Row {
    const char* name;
    testing::Span span;
    SpanBytes expected;
  };
  const Row rows[] = {
      {"uniform", {m12, m12, m12, m12, m12, m12, m12, m12}, {0xFF, 0xFF, 0x11, 0x22}},
      {"uniform pure", {m77, m77, m77, m77, m77, m77, m77, m77}, {0xFF, 0xFF, 0x77, 0x77}},
      {"first differs", {m12, m34, m34, m34, m34, m34, m34, m34}, {0x80, 0x80, 0x13, 0x24}},
      {"two colours", {m34, m12, m34, m34, m12, m12, m34, m12}, {0xB2, 0xB2, 0x31, 0x42}},
      // Everything that is not the first colour counts as the first other one.
      {"three colours", {m12, m34, m56, m12, m56, m34, m12, m12}, {0x93, 0x93, 0x13, 0x24}},
      // Slot 20 is the pair (1, 5): the duplicate at slot 100 (pair (8, 8)) loses.
      {"duplicate colour", {m20, m20, m12, m12, m12, m12, m12, m12}, {0xC0, 0xC0, 0x11, 0x52}},
      {"stray colour", {stray, m12, m12, m12, m12, m12, m12, m12}, {0x80, 0x80, 0x01, 0x02}},
  };
  Picture picture{};
  picture.fill(table.colour[0]);
  for (int i = 0; i < int(std::size(rows)); ++i) {
    testing::PutSpan(picture, 5 + i, 17, rows[i].span);  // cell row 2, pixel row 1
  }
  C64Data data{};
  testing::RecordingProgress progress;
  BuildFliInterlaceData(picture, table, data, progress);
  for (int i = 0; i < int(std::size(rows)); ++i) {
    SCOPED_TRACE(rows[i].name);
    EXPECT_EQ(FliBytesOf(data, 5 + i, 17), rows[i].expected);
  }
  // The untouched spans hold mix 0 (code 0x00): uniform, so 0xFF and black.
  EXPECT_EQ(FliBytesOf(data, 0, 0), (SpanBytes{0xFF, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(FliBytesOf(data, 39, 199), (SpanBytes{0xFF, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(progress.statuses, (std::vector<std::string>{"Converting data to C64 format", " "}));
}

TEST(BuildFliInterlaceData, SharedBitmapAndSpareBytes)
{
  MixTable table = PeptoMixes();
  ReduceFlickerMedium(table);
  // Two mix colours per span, drawn at random from the live slots.
  std::mt19937 random(7);
  Picture picture{};
  for (int n = 0; n < PixelCount / 8; ++n) {
    const std::uint32_t first = table.colour[random() % MixColourCount];
    const std::uint32_t second = table.colour[random() % MixColourCount];
    for (int k = 0; k < 8; ++k) {
      picture[n * 8 + k] = random() % 2 ? first : second;
    }
  }
  C64Data data{};
  SilentProgress progress;
  BuildFliInterlaceData(picture, table, data, progress);
  for (int offset = 0; offset < BitmapSize; ++offset) {
    ASSERT_EQ(data[FliBitmap1.offset + offset], data[FliBitmap2.offset + offset]) << offset;
  }
  EXPECT_TRUE(testing::FliSpareBytesClear(data));
  // Every span's first pixel is a 1-bit, and its field colours come back as
  // the mix it was drawn with.
  for (int y = 0; y < PictureHeight; ++y) {
    for (int cx = 0; cx < 40; ++cx) {
      const SpanBytes bytes = FliBytesOf(data, cx, y);
      ASSERT_TRUE(bytes.bitmap1 & 0x80);
      for (int k = 0; k < 8; ++k) {
        const bool one = (bytes.bitmap1 >> (7 - k)) & 1;
        const int field1 = one ? bytes.screen1 >> 4 : bytes.screen1 & 15;
        const int field2 = one ? bytes.screen2 >> 4 : bytes.screen2 & 15;
        ASSERT_EQ(table.colour[MixSlotOfColours(field1, field2)],
                  picture[PixelIndex(cx * 8 + k, y)]);
      }
    }
  }
}

}  // namespace
}  // namespace pavona
