#include "select/fli_four_colours.h"

#include <gtest/gtest.h>

#include <set>

#include "colour/flicker_reduction.h"
#include "colour/mix_pair_codes.h"
#include "select/select_frames.h"
#include "support/recording_progress.h"
#include "support/span_fixtures.h"

namespace pavona {
namespace {

using testing::Grey;
using testing::Span;
using testing::SpanBytes;

constexpr GraphicMode Interlace = GraphicMode::HiresFliInterlace;

// The run puts the flicker level back in force on the table before this
// search; the tests hand the search a table made the same way.
void ReapplyPeptoLevel(MixTable& table, FlickerLevel flicker)
{
  ReapplyFlickerLevel(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb, Interlace, flicker);
}

struct Outcome {
  Span pixels;
  SpanBytes bytes;
};

// Runs the search on a picture of mix 0 holding one span at cell column 6,
// pixel row 42 (bank 2).
Outcome RunOnSpan(const MixTable& table, Measure measure, const Span& span,
                  ProgressReport& progress)
{
  Picture picture;
  picture.fill(table.colour[0]);
  testing::PutSpan(picture, 6, 42, span);
  C64Data data{};
  SelectFliFourColours(picture, table, measure, data, progress);
  return {testing::SpanAt(picture, 6, 42), testing::FliBytesOf(data, 6, 42)};
}

TEST(SelectFliFourColours, HandBuiltSpans)
{
  const MixTable pepto = testing::PeptoTable(Interlace);
  const auto m = [&](int i, int j) { return pepto.colour[MixSlotOfColours(i, j)]; };
  // Every mix below is a colour of its own (only 11-15 and 12-12 share one
  // in this table), so the bytes are the only answer.
  const auto begin = pepto.colour.begin(), end = begin + MixColourCount;
  for (auto [i, j] :
       {std::pair{1, 2}, {3, 4}, {1, 4}, {2, 3}, {0, 3}, {0, 2}, {1, 3}, {4, 9}, {5, 6}, {2, 2}}) {
    ASSERT_EQ(std::count(begin, end, m(i, j)), 1) << i << "-" << j;
  }
  struct Row {
    const char* name;
    Span span;
    SpanBytes expected;
  };
  const Row rows[] = {
      // A = 12, B = 34: C1 = 14, C2 = 23, each pixel one of the four.
      {"four mixes",
       {m(1, 2), m(3, 4), m(1, 4), m(2, 3), m(1, 2), m(3, 4), m(1, 4), m(2, 3)},
       {0xAA, 0x99, 0x13, 0x24}},
      // A = 12, B = 03: C1 = 13, C2 = 20, found as 02.
      {"cross code with its nibbles swapped",
       {m(1, 2), m(0, 3), m(0, 2), m(1, 3), m(0, 2), m(1, 3), m(1, 2), m(0, 3)},
       {0x96, 0xAA, 0x10, 0x23}},
      {"one mix",
       {m(4, 9), m(4, 9), m(4, 9), m(4, 9), m(4, 9), m(4, 9), m(4, 9), m(4, 9)},
       {0xFF, 0xFF, 0x44, 0x99}},
      // The first zero-error pair is (0, 2): A is the leftmost colour.
      {"two mixes",
       {m(5, 6), m(5, 6), m(2, 2), m(5, 6), m(2, 2), m(2, 2), m(5, 6), m(2, 2)},
       {0xD2, 0xD2, 0x52, 0x62}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MixTable table = pepto;
    ReapplyPeptoLevel(table, FlickerLevel::Off);
    SilentProgress progress;
    const Outcome outcome = RunOnSpan(table, Measure::RgbDistance, row.span, progress);
    EXPECT_EQ(outcome.pixels, row.span);
    EXPECT_EQ(outcome.bytes, row.expected);
  }
}

// A table of greys (distances in grey levels, times 3 in RGB): A = 12 (200),
// B = 03 (100), C1 = 13 (150), and C2, the mix of 0 and 2, removed. Every
// other slot holds a colour at least 53 levels from these greys.
TEST(SelectFliFourColours, GreyTableChoices)
{
  MixTable table{};
  for (int slot = 0; slot < MixColourCount; ++slot) {
    table.colour[slot] = MakeColour(slot, 255 - slot, 77);
  }
  table.colour[0] = Grey(0);
  table.colour[PairSlot(0, 1)] = Grey(250);
  table.colour[PairSlot(0, 2)] = Grey(0);  // removed
  table.colour[PairSlot(0, 3)] = Grey(100);
  table.colour[PairSlot(1, 2)] = Grey(200);
  table.colour[PairSlot(1, 3)] = Grey(150);
  table.colour[PairSlot(5, 6)] = Grey(175);
  table.colour[PairSlot(7, 8)] = Grey(125);
  const std::uint32_t a = Grey(200), b = Grey(100);
  struct Row {
    const char* name;
    Span span;
  };
  const Row rows[] = {
      // Black would match the removed C2 (a copy of black) exactly; it takes
      // B (100 away) rather than C1 (150) or A (200).
      {"removed cross mix", {a, b, a, b, a, b, a, Grey(0)}},
      // 175 is as far from A as from C1 and takes A; 125 is as far from B as
      // from C1, both nearer than A, and takes B.
      {"ties", {a, b, a, b, a, b, Grey(175), Grey(125)}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MixTable working = table;
    // "Light" is applied again first and also removes the mix of 0 and 1,
    // which only ever serves as a cross mix here.
    ReapplyPeptoLevel(working, FlickerLevel::Light);
    SilentProgress progress;
    const Outcome outcome = RunOnSpan(working, Measure::RgbDistance, row.span, progress);
    EXPECT_EQ(outcome.pixels, (Span{a, b, a, b, a, b, a, b}));
    EXPECT_EQ(outcome.bytes, (SpanBytes{0xAA, 0xAA, 0x10, 0x23}));
  }
}

TEST(SelectFliFourColours, OffRestoresTheLumaMixes)
{
  const MixTable fresh = testing::PeptoTable(Interlace);
  const auto m = [&](int i, int j) { return fresh.colour[MixSlotOfColours(i, j)]; };
  MixTable table = fresh;
  ReduceFlickerForLuma(table);
  ASSERT_TRUE(IsRemovedMix(table, PairSlot(0, 3)));
  // A = 02, B = 13: C1 is the luma-removed mix of 0 and 3, back in play.
  testing::RecordingProgress progress;
  const Span span = {m(0, 2), m(1, 3), m(0, 3), m(1, 2), m(0, 2), m(1, 3), m(0, 3), m(1, 2)};
  ReapplyPeptoLevel(table, FlickerLevel::Off);
  EXPECT_EQ(table, fresh);
  const Outcome outcome = RunOnSpan(table, Measure::Brightness, span, progress);
  EXPECT_EQ(outcome.pixels, span);
  EXPECT_EQ(outcome.bytes, (SpanBytes{0xAA, 0x99, 0x01, 0x23}));
  EXPECT_TRUE(progress.strayColours.empty());
}

TEST(SelectFliFourColours, StrayValueTakesMixZerosCode)
{
  MixTable table = testing::PeptoTable(Interlace, FlickerLevel::Medium);
  const std::uint32_t stray = 0x0A0B0C;
  testing::RecordingProgress progress;
  ReapplyPeptoLevel(table, FlickerLevel::Medium);
  const Outcome outcome =
      RunOnSpan(table, Measure::Perceptual,
                Span{stray, stray, stray, stray, stray, stray, stray, stray}, progress);
  EXPECT_EQ(outcome.pixels, (Span{stray, stray, stray, stray, stray, stray, stray, stray}));
  EXPECT_EQ(outcome.bytes, (SpanBytes{0xFF, 0xFF, 0x00, 0x00}));
  EXPECT_EQ(progress.strayColours, std::vector<std::uint32_t>{stray});
}

// What the C64 shows at a pixel: the mix of its field 1 and field 2 colours.
std::uint32_t ShownMix(const MixTable& table, const SpanBytes& bytes, int k)
{
  const bool one1 = (bytes.bitmap1 >> (7 - k)) & 1, one2 = (bytes.bitmap2 >> (7 - k)) & 1;
  const int field1 = one1 ? bytes.screen1 >> 4 : bytes.screen1 & 15;
  const int field2 = one2 ? bytes.screen2 >> 4 : bytes.screen2 & 15;
  return table.colour[MixSlotOfColours(field1, field2)];
}

TEST(SelectFliFourColours, FrameShowsWhatTheResultSays)
{
  const MixTable dithering = testing::PeptoTable(Interlace, FlickerLevel::Medium);
  Picture picture =
      testing::MatchedFrame("coffee_frame.ppm", dithering, Measure::Perceptual, Interlace);
  MixTable table = dithering;
  ReapplyPeptoLevel(table, FlickerLevel::Medium);
  EXPECT_EQ(table, dithering) << "a level applied twice removes nothing more";
  C64Data data{};
  testing::RecordingProgress progress;
  SelectFliFourColours(picture, table, Measure::Perceptual, data, progress);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int cx = 0; cx < 40; ++cx) {
      const SpanBytes bytes = testing::FliBytesOf(data, cx, y);
      if (cx < 3) {
        ASSERT_EQ(bytes, (SpanBytes{0xFF, 0xFF, 0x00, 0x00})) << cx << "," << y;
      }
      const Span span = testing::SpanAt(picture, cx, y);
      for (int k = 0; k < 8; ++k) {
        ASSERT_EQ(span[k], ShownMix(table, bytes, k)) << cx << "," << y << " pixel " << k;
        ASSERT_FALSE(IsRemovedMix(table, FindMixIndex(table, span[k])));
      }
    }
  }
  EXPECT_TRUE(testing::FliSpareBytesClear(data));
  std::vector<int> expectedPositions;
  for (int cy = 0; cy < 25; ++cy) {
    expectedPositions.push_back(cy * 8);
  }
  expectedPositions.push_back(0);
  EXPECT_EQ(progress.positions, expectedPositions);
  EXPECT_EQ(progress.statuses, (std::vector<std::string>{
                                   "Brute Force 4Color HI-FLI color selection in progress", " "}));
  EXPECT_TRUE(progress.strayColours.empty());
}

}  // namespace
}  // namespace pavona
