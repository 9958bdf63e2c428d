#include "select/single_bank_colours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "colour/yuv.h"
#include "hires_test_support.h"
#include "plain_hires_selection.h"

namespace pavona {
namespace {

using hires_testing::AllMeasures;
using hires_testing::ExpectSameCells;
using hires_testing::FillCell;
using hires_testing::MeasureName;

enum class Member { Hires, Fli };

void RunFast(Member member, Picture& picture, const C64Palette& palette, Measure measure,
             FlickerLevel level, C64Data& data)
{
  SilentProgress silent;
  if (member == Member::Hires) {
    SelectSingleBankHiresColours(picture, palette, measure, level, data, silent);
  } else {
    SelectSingleBankFliColours(picture, palette, measure, level, data, silent);
  }
}

// The plain search is slow enough under the sanitizers that it runs on
// chosen cell rows only; the fast one runs on the whole frame.
void ExpectSameAsPlain(Member member, const Picture& picture, const C64Palette& palette,
                       Measure measure, FlickerLevel level, std::initializer_list<int> cellRows)
{
  SCOPED_TRACE(std::string(member == Member::Hires ? "hires, " : "FLI, ") + MeasureName(measure) +
               ", level " + std::to_string(int(level)));
  auto fast = std::make_unique<Picture>(picture);
  auto plain = std::make_unique<Picture>(picture);
  C64Data fastData{}, plainData{};
  RunFast(member, *fast, palette, measure, level, fastData);
  for (int cy : cellRows) {
    for (int cx = 0; cx < 40; ++cx) {
      if (member == Member::Hires) {
        plain_hires::SelectSingleBankHiresCell(*plain, palette, measure, level, plainData, cx, cy);
      } else {
        for (int r = 0; r < 8; ++r) {
          plain_hires::SelectSingleBankFliSpan(*plain, palette, measure, level, plainData, cx,
                                               cy * 8 + r);
        }
      }
    }
    SCOPED_TRACE("cell row " + std::to_string(cy));
    ExpectSameCells(*plain, *fast, cy, 1);
    // The row's bitmap bytes and screen bytes (in FLI, those of all 8 banks).
    const bool fli = member == Member::Fli;
    const C64Region bitmap1 = fli ? FliLayout::FliBitmap1 : HiresLayout::HiresBitmap1;
    const C64Region bitmap2 = fli ? FliLayout::FliBitmap2 : HiresLayout::HiresBitmap2;
    const C64Region screen1 = fli ? FliLayout::FliScreens1 : HiresLayout::HiresScreen1;
    const C64Region screen2 = fli ? FliLayout::FliScreens2 : HiresLayout::HiresScreen2;
    std::vector<std::pair<int, int>> spans = {{bitmap1.offset + cy * 320, 320},
                                              {bitmap2.offset + cy * 320, 320}};
    for (int bank = 0; bank < (fli ? 8 : 1); ++bank) {
      spans.push_back({screen1.offset + bank * ScreenBankSize + cy * 40, 40});
      spans.push_back({screen2.offset + bank * ScreenBankSize + cy * 40, 40});
    }
    for (const auto& [start, length] : spans) {
      for (int offset = start; offset < start + length; ++offset) {
        ASSERT_EQ(fastData[offset], plainData[offset]) << "C64 data byte 0x" << std::hex << offset;
      }
    }
  }
}

// The unrounded brightness difference of two palette colours, truncated.
int BrightnessDifference(std::uint32_t a, std::uint32_t b)
{
  const float ya = LumaAsFloat(RedOf(a), GreenOf(a), BlueOf(a));
  const float yb = LumaAsFloat(RedOf(b), GreenOf(b), BlueOf(b));
  return std::abs(int(double(ya) - double(yb)));
}

// Pairs whose mix the limit forbids are never seen as a mix: no pixel of
// their units has its bit in field 1 only.
void ExpectNoForbiddenMix(Member member, const C64Data& data, const C64Palette& palette,
                          FlickerLevel level)
{
  const int limit = SingleBankBrightnessLimit(level);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int cx = 0; cx < 40; ++cx) {
      const int cy = y / 8, r = y % 8;
      const bool fli = member == Member::Fli;
      const int screen = (fli ? FliLayout::FliScreens1.offset + r * ScreenBankSize
                              : HiresLayout::HiresScreen1.offset) +
                         ScreenOffset(cx, cy);
      const int bitmap1 = (fli ? FliLayout::FliBitmap1 : HiresLayout::HiresBitmap1).offset;
      const int bitmap2 = (fli ? FliLayout::FliBitmap2 : HiresLayout::HiresBitmap2).offset;
      const int i = data[screen] >> 4, j = data[screen] & 15;
      const int mixBits =
          data[bitmap1 + BitmapOffset(cx, cy, r)] & ~data[bitmap2 + BitmapOffset(cx, cy, r)];
      if (BrightnessDifference(palette[i], palette[j]) > limit) {
        ASSERT_EQ(mixBits, 0) << "span (" << cx << ", " << y << ") shows the mix of " << i
                              << " and " << j;
      }
    }
  }
}

TEST(SelectSingleBankColours, MatchesPlainSearchOnPhotoFrames)
{
  const C64Palette& palette = PaletteColours(PaletteId::Pepto);
  // With shared colour banks the conversion removes no mixes before dithering.
  const MixTable table =
      hires_testing::PeptoTable(GraphicMode::HiresFliInterlace, FlickerLevel::Off);
  std::vector<std::unique_ptr<Picture>> frames;
  for (const char* name : testing::PhotoFrames) {
    frames.push_back(std::make_unique<Picture>(
        hires_testing::DitheredFrame(name, table, GraphicMode::HiresFliInterlace)));
  }
  int frame = 0;
  for (Member member : {Member::Hires, Member::Fli}) {
    for (Measure measure : AllMeasures) {
      for (FlickerLevel level : {FlickerLevel::Off, FlickerLevel::Medium}) {
        // One frame per combination keeps the plain search's time down.
        SCOPED_TRACE(testing::PhotoFrames[frame % 3]);
        ExpectSameAsPlain(member, *frames[frame++ % 3], palette, measure, level, {0, 8, 16, 24});
      }
    }
  }
}

TEST(SelectSingleBankColours, NeverShowsAForbiddenMix)
{
  const C64Palette& palette = PaletteColours(PaletteId::Pepto);
  const MixTable table =
      hires_testing::PeptoTable(GraphicMode::HiresFliInterlace, FlickerLevel::Off);
  const auto picture = std::make_unique<Picture>(
      hires_testing::DitheredFrame("rocket_frame.ppm", table, GraphicMode::HiresFliInterlace));
  for (Member member : {Member::Hires, Member::Fli}) {
    for (FlickerLevel level : {FlickerLevel::Light, FlickerLevel::Heavy}) {
      SCOPED_TRACE("level " + std::to_string(int(level)));
      auto result = std::make_unique<Picture>(*picture);
      C64Data data{};
      RunFast(member, *result, palette, Measure::Perceptual, level, data);
      ExpectNoForbiddenMix(member, data, palette, level);
    }
  }
}

TEST(SelectSingleBankColours, MatchesPlainSearchOnAdversarialPictures)
{
  const C64Palette& pepto = PaletteColours(PaletteId::Pepto);
  C64Palette repeats = pepto;
  repeats[3] = repeats[1];
  repeats[9] = repeats[0];
  repeats[14] = repeats[6];
  // Greys have U and V of 128: under the YUV measures only brightness tells
  // them apart, and equal errors are everywhere.
  C64Palette greys;
  for (int n = 0; n < 16; ++n) {
    greys[n] = MakeColour(n * 17, n * 17, n * 17);
  }
  auto raw = std::make_unique<Picture>(testing::ReadPpmFrame("coffee_frame.ppm"));
  auto uniform = std::make_unique<Picture>();
  for (int p = 0; p < PixelCount; ++p) {
    const int unit = (p % PictureWidth) / 8 + (p / PictureWidth) * 40;
    (*uniform)[p] = pepto[unit % 16] + std::uint32_t(unit / 16 % 3) * 0x010101;
  }
  auto greyPicture = std::make_unique<Picture>();
  std::uint32_t state = 7;
  for (std::uint32_t& pixel : *greyPicture) {
    state = state * 1103515245u + 12345u;
    const int grey = int((state >> 16) % 256);
    pixel = MakeColour(grey, grey, grey);
  }
  struct Case {
    const char* name;
    const Picture& picture;
    const C64Palette& palette;
    FlickerLevel level;
  };
  const Case cases[] = {{"undithered photo", *raw, pepto, FlickerLevel::Heavy},
                        {"uniform units", *uniform, pepto, FlickerLevel::Off},
                        {"repeated palette colours", *raw, repeats, FlickerLevel::Medium},
                        {"grey palette, grey noise", *greyPicture, greys, FlickerLevel::Light}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (Member member : {Member::Hires, Member::Fli}) {
      for (Measure measure : AllMeasures) {
        ExpectSameAsPlain(member, c.picture, c.palette, measure, c.level, {3, 19});
      }
    }
  }
}

// The screen byte and the two bitmap bytes of pixel row r of cell (cx, 0) in
// the hires layout.
struct HiresCell {
  const C64Data& data;
  int cx;
  int screen1() const { return data[HiresLayout::HiresScreen1.offset + cx]; }
  int screen2() const { return data[HiresLayout::HiresScreen2.offset + cx]; }
  int bits1(int r) const { return data[HiresLayout::HiresBitmap1.offset + BitmapOffset(cx, 0, r)]; }
  int bits2(int r) const { return data[HiresLayout::HiresBitmap2.offset + BitmapOffset(cx, 0, r)]; }
};

TEST(SelectSingleBankColours, UnitRules)
{
  const C64Palette& pepto = PaletteColours(PaletteId::Pepto);
  auto picture = std::make_unique<Picture>();
  // Cell 0: colour 5; cell 1: colour 0; cell 2: the search's own RGB mix of
  // colours 2 and 8 (brightness 13 apart); cell 3: the mix of 0 and 2 (58 apart).
  const std::uint32_t mix2and8 =
      MakeColour((0x68 + 0x6F) >> 1, (0x37 + 0x4F) >> 1, (0x2B + 0x25) >> 1);
  const std::uint32_t mix0and2 = MakeColour(0x68 >> 1, 0x37 >> 1, 0x2B >> 1);
  ASSERT_EQ(BrightnessDifference(pepto[2], pepto[8]), 13);
  ASSERT_EQ(BrightnessDifference(pepto[0], pepto[2]), 58);
  FillCell(*picture, 0, 0, pepto[5]);
  FillCell(*picture, 1, 0, pepto[0]);
  FillCell(*picture, 2, 0, mix2and8);
  FillCell(*picture, 3, 0, mix0and2);
  {
    SCOPED_TRACE("RGB distance, Medium");
    auto result = std::make_unique<Picture>(*picture);
    C64Data data{};
    RunFast(Member::Hires, *result, pepto, Measure::RgbDistance, FlickerLevel::Medium, data);
    const HiresCell one{data, 0}, black{data, 1}, mixed{data, 2}, dark{data, 3};
    EXPECT_EQ(one.screen1(), 0x05);
    EXPECT_EQ(one.screen2(), 0x05);
    EXPECT_EQ(black.screen1(), 0x00);
    EXPECT_EQ(mixed.screen1(), 0x28);
    EXPECT_EQ(mixed.screen2(), 0x28);
    EXPECT_EQ(dark.screen1(), 0x02);  // 58 is within the limit of 70
    for (int r = 0; r < 8; ++r) {
      EXPECT_EQ(one.bits1(r), 0x00);  // colour 5 is c2 of (0, 5)
      EXPECT_EQ(one.bits2(r), 0x00);
      EXPECT_EQ(black.bits1(r), 0xFF);  // c1 wins its ties with c2 and the mix
      EXPECT_EQ(black.bits2(r), 0xFF);
      EXPECT_EQ(mixed.bits1(r), 0xFF);  // the mix: field 1 only
      EXPECT_EQ(mixed.bits2(r), 0x00);
    }
    EXPECT_EQ((*result)[PixelIndex(2 * 8 + 4, 4)], mix2and8);
  }
  {
    SCOPED_TRACE("RGB distance, Heavy: the mix of 0 and 2 is forbidden");
    // (0, 2) now offers black (100 from each pixel) and colour 2 (102); the
    // mix of 0 and 9 (46 apart, allowed) is 41 away, so (0, 2) cannot win.
    auto result = std::make_unique<Picture>(*picture);
    C64Data data{};
    RunFast(Member::Hires, *result, pepto, Measure::RgbDistance, FlickerLevel::Heavy, data);
    const HiresCell dark{data, 3};
    EXPECT_NE(dark.screen1(), 0x02);
    EXPECT_EQ(HiresCell(data, 2).screen1(), 0x28);
  }
  {
    SCOPED_TRACE("brightness and perceptual: the pair (0, 0) offers its mix 16, 16, 16");
    for (Measure measure : {Measure::Brightness, Measure::Perceptual}) {
      auto result = std::make_unique<Picture>(*picture);
      FillCell(*result, 4, 0, 0x101010);
      C64Data data{};
      RunFast(Member::Hires, *result, pepto, measure, FlickerLevel::Off, data);
      const HiresCell grey{data, 4};
      EXPECT_EQ(grey.screen1(), 0x00);
      for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(grey.bits1(r), 0xFF);
        EXPECT_EQ(grey.bits2(r), 0x00);
      }
      EXPECT_EQ((*result)[PixelIndex(4 * 8 + 1, 6)], 0x101010u);
    }
  }
}

// Colours 0 and 1 are black and grey 100 (86 apart in brightness), the others
// saturated colours far from every grey.
C64Palette BlackAndGreyPalette()
{
  C64Palette palette;
  palette[0] = 0x000000;
  palette[1] = 0x646464;
  for (int n = 2; n < 16; ++n) {
    palette[n] = MakeColour(255, 10 * n, 0);
  }
  return palette;
}

TEST(SelectSingleBankColours, PixelTies)
{
  const C64Palette palette = BlackAndGreyPalette();
  auto picture = std::make_unique<Picture>();
  for (int p = 0; p < 64; ++p) {
    const std::uint32_t greys[3] = {0x000000, 0x646464, 0x323232};
    (*picture)[PixelIndex(p % 8, p / 8)] = greys[p % 3];
  }
  {
    SCOPED_TRACE("as far from c2 as from the mix (grey 50): c2");
    (*picture)[PixelIndex(7, 7)] = 0x4B4B4B;  // grey 75: 75 from both, 225 from black
    auto result = std::make_unique<Picture>(*picture);
    C64Data data{};
    RunFast(Member::Hires, *result, palette, Measure::RgbDistance, FlickerLevel::Off, data);
    const HiresCell cell{data, 0};
    EXPECT_EQ(cell.screen1(), 0x01);
    EXPECT_EQ(cell.bits1(7) & 0x01, 0);
    EXPECT_EQ(cell.bits2(7) & 0x01, 0);
    EXPECT_EQ((*result)[PixelIndex(7, 7)], 0x646464u);
  }
  {
    SCOPED_TRACE("mix forbidden, as far from c1 as from c2: c1");
    // Under Medium black and grey 100 may not mix: grey 50 pixels are 150
    // from both colours and take c1, black.
    auto result = std::make_unique<Picture>(*picture);
    C64Data data{};
    RunFast(Member::Hires, *result, palette, Measure::RgbDistance, FlickerLevel::Medium, data);
    const HiresCell cell{data, 0};
    EXPECT_EQ(cell.screen1(), 0x01);
    // Row 0: black, grey 100, grey 50, black, grey 100, grey 50, black, grey 100.
    EXPECT_EQ(cell.bits1(0), 0b10110110);
    EXPECT_EQ(cell.bits2(0), 0b10110110);
    EXPECT_EQ((*result)[PixelIndex(2, 0)], 0x000000u);
  }
}

TEST(SelectSingleBankColours, BrightnessDifferencesAreExact)
{
  // Pixel 0x00005E has Y 25.2119999 (as a float) and Pepto colour 10 has
  // 116.211998: exactly 90.9999981 apart, so 90, although the nearest float to
  // the difference is 91.0. The mix of colour 10 with itself, (148, 104, 92),
  // has Y 115.468, also 90 away. Taken exactly, c1 ties with the mix and
  // keeps the pixel; a rounded difference would hand it to the mix.
  C64Palette palette;
  palette[0] = PaletteColours(PaletteId::Pepto)[10];
  for (int n = 1; n < 16; ++n) {
    palette[n] = MakeColour(255, 255, 16 * n);  // Y above 210: far from the pixel
  }
  auto picture = std::make_unique<Picture>();
  FillCell(*picture, 0, 0, 0x00005E);
  C64Data data{};
  RunFast(Member::Hires, *picture, palette, Measure::Brightness, FlickerLevel::Off, data);
  const HiresCell cell{data, 0};
  EXPECT_EQ(cell.screen1(), 0x00);
  EXPECT_EQ(cell.bits1(3), 0xFF);
  EXPECT_EQ(cell.bits2(3), 0xFF);
  EXPECT_EQ((*picture)[PixelIndex(3, 3)], palette[0]);
}

TEST(SelectSingleBankColours, FliSpansOfOneCellTakeTheirOwnPairs)
{
  const C64Palette& pepto = PaletteColours(PaletteId::Pepto);
  auto picture = std::make_unique<Picture>();
  const int cx = 5, cy = 3;
  for (int r = 0; r < 8; ++r) {
    for (int k = 0; k < 8; ++k) {
      (*picture)[PixelIndex(cx * 8 + k, cy * 8 + r)] = pepto[r + 1];
    }
  }
  C64Data data{};
  RunFast(Member::Fli, *picture, pepto, Measure::RgbDistance, FlickerLevel::Medium, data);
  for (int r = 0; r < 8; ++r) {
    SCOPED_TRACE("bank " + std::to_string(r));
    const int screen = r * ScreenBankSize + ScreenOffset(cx, cy);
    EXPECT_EQ(data[FliLayout::FliScreens1.offset + screen], r + 1);
    EXPECT_EQ(data[FliLayout::FliScreens2.offset + screen], r + 1);
    EXPECT_EQ(data[FliLayout::FliBitmap1.offset + BitmapOffset(cx, cy, r)], 0x00);
    EXPECT_EQ(data[FliLayout::FliBitmap2.offset + BitmapOffset(cx, cy, r)], 0x00);
  }
}

TEST(SelectSingleBankColours, ReportsProgressAndWritesOnlyItsRegions)
{
  const C64Palette& palette = PaletteColours(PaletteId::Pepto);
  const MixTable table =
      hires_testing::PeptoTable(GraphicMode::HiresFliInterlace, FlickerLevel::Off);
  const auto picture = std::make_unique<Picture>(
      hires_testing::DitheredFrame("chelsea_frame.ppm", table, GraphicMode::HiresFliInterlace));
  {
    SCOPED_TRACE("hires");
    auto result = std::make_unique<Picture>(*picture);
    C64Data data{};
    hires_testing::RecordingProgress progress;
    SelectSingleBankHiresColours(*result, palette, Measure::Perceptual, FlickerLevel::Medium, data,
                                 progress);
    std::vector<std::string> expected = {
        "status:Brute Force Single bank hires color selection in progress"};
    for (int y = 0; y < 200; y += 8) {
      expected.push_back("progress:" + std::to_string(y));
    }
    expected.push_back("status: ");
    expected.push_back("progress:0");
    EXPECT_EQ(progress.calls, expected);
    EXPECT_TRUE(hires_testing::ZeroOutside(
        data, {C64Region{HiresLayout::HiresScreen1.offset, ScreenBytesUsed},
               C64Region{HiresLayout::HiresBitmap1.offset, BitmapBytesUsed},
               C64Region{HiresLayout::HiresScreen2.offset, ScreenBytesUsed},
               C64Region{HiresLayout::HiresBitmap2.offset, BitmapBytesUsed}}));
    // Both fields share every screen byte.
    for (int n = 0; n < ScreenBytesUsed; ++n) {
      ASSERT_EQ(data[HiresLayout::HiresScreen1.offset + n],
                data[HiresLayout::HiresScreen2.offset + n]);
    }
  }
  {
    SCOPED_TRACE("FLI");
    auto result = std::make_unique<Picture>(*picture);
    C64Data data{};
    hires_testing::RecordingProgress progress;
    SelectSingleBankFliColours(*result, palette, Measure::Perceptual, FlickerLevel::Medium, data,
                               progress);
    std::vector<std::string> expected = {
        "status:Brute Force Single bank HI-FLI color selection in progress"};
    for (int y = 0; y < 200; ++y) {
      expected.push_back("progress:" + std::to_string(y));
    }
    expected.push_back("status: ");
    expected.push_back("progress:0");
    EXPECT_EQ(progress.calls, expected);
    std::vector<C64Region> used = {{FliLayout::FliBitmap1.offset, BitmapBytesUsed},
                                   {FliLayout::FliBitmap2.offset, BitmapBytesUsed}};
    for (int bank = 0; bank < 8; ++bank) {
      used.push_back({FliLayout::FliScreens1.offset + bank * ScreenBankSize, ScreenBytesUsed});
      used.push_back({FliLayout::FliScreens2.offset + bank * ScreenBankSize, ScreenBytesUsed});
    }
    EXPECT_TRUE(hires_testing::ZeroOutside(data, used));
    for (int bank = 0; bank < 8; ++bank) {
      for (int n = 0; n < ScreenBytesUsed; ++n) {
        const int offset = bank * ScreenBankSize + n;
        ASSERT_EQ(data[FliLayout::FliScreens1.offset + offset],
                  data[FliLayout::FliScreens2.offset + offset]);
      }
    }
  }
}

}  // namespace
}  // namespace pavona
