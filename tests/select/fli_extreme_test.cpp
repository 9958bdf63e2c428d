#include "select/fli_extreme.h"

#include <gtest/gtest.h>

#include <set>

#include "colour/mix_pair_codes.h"
#include "select/select_frames.h"
#include "support/recording_progress.h"
#include "support/span_fixtures.h"

namespace pavona {
namespace {

using testing::Grey;
using testing::Span;
using testing::SpanBytes;

constexpr GraphicMode Fli = GraphicMode::HiresFli;
constexpr GraphicMode Interlace = GraphicMode::HiresFliInterlace;

Span Uniform(std::uint32_t colour)
{
  return {colour, colour, colour, colour, colour, colour, colour, colour};
}

struct Row {
  std::string name;
  Span span;
  Span expected;
  SpanBytes bytes;
};

// Runs `search` on a picture of mix 0 holding each row's span at cell column
// 17, pixel row 150 (bank 6), and checks the span and its bytes.
template <typename Search>
void CheckRows(const MixTable& table, const std::vector<Row>& rows, Search search)
{
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture picture;
    picture.fill(table.colour[0]);
    testing::PutSpan(picture, 17, 150, row.span);
    C64Data data{};
    search(picture, data);
    EXPECT_EQ(testing::SpanAt(picture, 17, 150), row.expected);
    EXPECT_EQ(testing::FliBytesOf(data, 17, 150), row.bytes);
  }
}

TEST(SelectFliColoursExtreme, HandBuiltSpans)
{
  const MixTable pepto = testing::PeptoTable(Fli);
  SilentProgress progress;
  std::vector<Row> rows;
  // A span of colour k > 0 first meets an error of 0 at the pair (0, k): it
  // takes B everywhere, bitmap 0x00. Colour 0 gives the pair (0, 0).
  for (int k : {0, 1, 5, 15}) {
    rows.push_back({"one colour " + std::to_string(k),
                    Uniform(pepto.colour[k]),
                    Uniform(pepto.colour[k]),
                    {k == 0 ? 0xFF : 0x00, 0, k, 0}});
  }
  CheckRows(pepto, rows, [&](Picture& picture, C64Data& data) {
    SelectFliColoursExtreme(picture, pepto, Measure::RgbDistance, data, progress);
  });

  // Greys 16 * k: six pixels at 0 and 2, two at 9. Under "Perceptual" the
  // squared distances favour grey 1, which the span does not hold, over
  // either of its own (about 2 * (13^2 + 14^2) against 2 * 27^2 per pair).
  const MixTable greys = testing::SixteenGreys();
  const std::uint32_t g0 = Grey(0), g1 = Grey(16), g2 = Grey(32), g9 = Grey(144);
  CheckRows(greys,
            {{"winner from outside the span",
              {g0, g2, g0, g2, g0, g2, g9, g9},
              {g1, g1, g1, g1, g1, g1, g9, g9},
              {0xFC, 0, 0x19, 0}}},
            [&](Picture& picture, C64Data& data) {
              SelectFliColoursExtreme(picture, greys, Measure::Perceptual, data, progress);
            });
}

TEST(SelectFliFourColoursExtreme, HandBuiltSpans)
{
  // All 136 mixes of this palette differ, so a single mix is matched only by
  // itself as A or B.
  const MixTable vice =
      testing::MixTableOf(PaletteColours(PaletteId::Vice), MixMethod::Rgb, Interlace);
  ASSERT_EQ(std::set(vice.colour.begin(), vice.colour.begin() + MixColourCount).size(),
            std::size_t(MixColourCount));
  std::vector<Row> rows;
  // The first zero error is at the pair (0, m): B everywhere, screens 0u, 0w.
  for (auto [u, w] : {std::pair{0, 5}, {3, 7}, {1, 1}, {14, 15}}) {
    const std::uint32_t colour = vice.colour[PairSlot(u, w)];
    rows.push_back({"one mix " + std::to_string(u) + "-" + std::to_string(w),
                    Uniform(colour),
                    Uniform(colour),
                    {0x00, 0x00, u, w}});
  }
  rows.push_back({"mix 0", Uniform(vice.colour[0]), Uniform(vice.colour[0]), {0xFF, 0xFF, 0, 0}});
  SilentProgress progress;
  CheckRows(vice, rows, [&](Picture& picture, C64Data& data) {
    SelectFliFourColoursExtreme(picture, vice, data, progress);
  });
}

// The C64 colours a span shows: base A is (screen1 high, screen2 high), base
// B (screen1 low, screen2 low).
std::pair<int, int> BaseSlots(const SpanBytes& bytes)
{
  return {MixSlotOfColours(bytes.screen1 >> 4, bytes.screen2 >> 4),
          MixSlotOfColours(bytes.screen1 & 15, bytes.screen2 & 15)};
}

TEST(SelectFliFourColoursExtreme, RemovedMixesNeverShow)
{
  const MixTable off = testing::PeptoTable(Interlace);
  const MixTable medium = testing::PeptoTable(Interlace, FlickerLevel::Medium);
  Picture picture =
      testing::MatchedFrame("chelsea_frame.ppm", off, Measure::RgbDistance, Interlace);
  // A span of a mix that the reduction took out: the nearest live mixes
  // stand in for it.
  const std::uint32_t removed = off.colour[PairSlot(0, 1)];
  ASSERT_TRUE(IsRemovedMix(medium, PairSlot(0, 1)));
  testing::PutSpan(picture, 20, 60, Uniform(removed));
  C64Data data{};
  SilentProgress progress;
  SelectFliFourColoursExtreme(picture, medium, data, progress);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int cx = 0; cx < 40; ++cx) {
      const auto [a, b] = BaseSlots(testing::FliBytesOf(data, cx, y));
      ASSERT_FALSE(IsRemovedMix(medium, a)) << cx << "," << y;
      ASSERT_FALSE(IsRemovedMix(medium, b)) << cx << "," << y;
      for (std::uint32_t colour : testing::SpanAt(picture, cx, y)) {
        const int slot = FindMixIndex(medium, colour);
        ASSERT_GE(slot, 0);
        ASSERT_FALSE(IsRemovedMix(medium, slot));
      }
    }
  }
  for (std::uint32_t colour : testing::SpanAt(picture, 20, 60)) {
    EXPECT_NE(colour, removed);
  }
}

// Both searches show each pixel row as soon as it is final, top to bottom.
TEST(FliExtremeSearches, DrawRowByRow)
{
  const std::pair<const char*, GraphicMode> searches[] = {
      {"Extreme Brute Force Hi-fli color selection in progress", Fli},
      {"Extreme Brute Force Hi-fli interlaced color selection in progress", Interlace}};
  for (const auto& [status, mode] : searches) {
    SCOPED_TRACE(status);
    const MixTable table = testing::PeptoTable(mode, FlickerLevel::Light);
    Picture picture = testing::MatchedFrame("rocket_frame.ppm", table, Measure::Perceptual, mode);
    C64Data data{};
    testing::RecordingProgress progress;
    if (mode == Fli) {
      SelectFliColoursExtreme(picture, table, Measure::Perceptual, data, progress);
    } else {
      SelectFliFourColoursExtreme(picture, table, data, progress);
    }
    std::vector<std::pair<int, int>> expectedRows;
    std::vector<int> expectedPositions;
    for (int y = 0; y < PictureHeight; ++y) {
      expectedRows.emplace_back(y, 1);
      expectedPositions.push_back(y);
    }
    expectedPositions.push_back(0);
    EXPECT_TRUE(testing::FliSpareBytesClear(data));
    EXPECT_EQ(progress.shownRows, expectedRows);
    EXPECT_EQ(progress.positions, expectedPositions);
    EXPECT_EQ(progress.statuses, (std::vector<std::string>{status, " "}));
    // Each row was shown as it is in the end.
    EXPECT_TRUE(std::equal(picture.begin(), picture.end(), progress.shownPixels.begin(),
                           progress.shownPixels.end()));
  }
}

}  // namespace
}  // namespace pavona
