#include "select/fli_interlace_colours.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>

#include "select/select_frames.h"
#include "support/recording_progress.h"
#include "support/span_fixtures.h"

namespace pavona {
namespace {

using testing::Grey;
using testing::Span;

TEST(SelectFliInterlaceColours, HandBuiltSpans)
{
  const MixTable pepto = testing::PeptoTable(GraphicMode::HiresFliInterlace, FlickerLevel::Medium);
  const auto m = [&](int i, int j) { return pepto.colour[PairSlot(i, j)]; };
  const MixTable greys = testing::SixteenGreys();
  const std::uint32_t g0 = Grey(0x00), g2 = Grey(0x20), g4 = Grey(0x40);
  const std::uint32_t black = m(0, 0), white = m(1, 1), grey = m(11, 11);
  struct Row {
    const char* name;
    const MixTable& table;
    Span span;
    Span expected;
  };
  const Row rows[] = {
      {"one mix",
       pepto,
       {m(2, 5), m(2, 5), m(2, 5), m(2, 5), m(2, 5), m(2, 5), m(2, 5), m(2, 5)},
       {m(2, 5), m(2, 5), m(2, 5), m(2, 5), m(2, 5), m(2, 5), m(2, 5), m(2, 5)}},
      {"two mixes",
       pepto,
       {m(3, 9), m(6, 6), m(6, 6), m(3, 9), m(6, 6), m(3, 9), m(3, 9), m(6, 6)},
       {m(3, 9), m(6, 6), m(6, 6), m(3, 9), m(6, 6), m(3, 9), m(3, 9), m(6, 6)}},
      // As in the one-field search: black and white are kept, grey goes to black.
      {"three mixes",
       pepto,
       {black, black, black, grey, grey, grey, white, white},
       {black, black, black, black, black, black, white, white}},
      // 0x20 lies halfway between A = 0x00 and B = 0x40 and takes B.
      {"pixel halfway takes B",
       greys,
       {g0, g4, g2, g0, g4, g2, g0, g4},
       {g0, g4, g4, g0, g4, g4, g0, g4}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture picture;
    picture.fill(row.table.colour[0]);
    testing::PutSpan(picture, 20, 77, row.span);
    SilentProgress progress;
    SelectFliInterlaceColours(picture, row.table, Measure::RgbDistance, progress);
    EXPECT_EQ(testing::SpanAt(picture, 20, 77), row.expected);
  }
}

TEST(SelectFliInterlaceColours, FrameKeepsTwoOfItsOwnColoursPerSpan)
{
  const MixTable table = testing::PeptoTable(GraphicMode::HiresFliInterlace, FlickerLevel::Medium);
  const Picture before = testing::MatchedFrame("rocket_frame.ppm", table, Measure::Perceptual,
                                               GraphicMode::HiresFliInterlace);
  Picture picture = before;
  testing::RecordingProgress progress;
  SelectFliInterlaceColours(picture, table, Measure::Perceptual, progress);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int cx = 0; cx < 40; ++cx) {
      const Span was = testing::SpanAt(before, cx, y);
      const Span now = testing::SpanAt(picture, cx, y);
      const std::set<std::uint32_t> colours(now.begin(), now.end());
      ASSERT_LE(colours.size(), 2u);
      for (std::uint32_t colour : colours) {
        ASSERT_NE(std::find(was.begin(), was.end(), colour), was.end()) << "new colour";
      }
      if (std::set<std::uint32_t>(was.begin(), was.end()).size() <= 2 || cx < 3) {
        ASSERT_EQ(now, was) << "a span of two colours or fewer stays as it is";
      }
    }
  }
  std::vector<int> expectedPositions(PictureHeight);
  std::iota(expectedPositions.begin(), expectedPositions.end(), 0);
  expectedPositions.push_back(0);
  EXPECT_EQ(progress.positions, expectedPositions);
  // The conversion run has set the status text; only the closing blank is ours.
  EXPECT_EQ(progress.statuses, std::vector<std::string>{" "});
}

}  // namespace
}  // namespace pavona
