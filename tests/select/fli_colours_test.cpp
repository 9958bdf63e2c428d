#include "select/fli_colours.h"

#include <gtest/gtest.h>

#include "select/select_frames.h"
#include "support/recording_progress.h"
#include "support/span_fixtures.h"

namespace pavona {
namespace {

using testing::Grey;
using testing::Span;
using testing::SpanBytes;

struct Row {
  const char* name;
  Measure measure;
  Span span;
  Span expected;
  int bitmap;
  int screen;
};

// Runs the search on a picture of mix 0 holding the rows' spans, one per
// cell column from column 3 on, all on pixel row 13 (bank 5), and checks each.
void CheckRows(const MixTable& table, const std::vector<Row>& rows)
{
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture picture;
    picture.fill(table.colour[0]);
    testing::PutSpan(picture, 3, 13, row.span);
    C64Data data{};
    SilentProgress progress;
    SelectFliColours(picture, table, row.measure, data, progress);
    EXPECT_EQ(testing::SpanAt(picture, 3, 13), row.expected);
    const SpanBytes bytes = testing::FliBytesOf(data, 3, 13);
    EXPECT_EQ(bytes.bitmap1, row.bitmap);
    EXPECT_EQ(bytes.screen1, row.screen);
    EXPECT_EQ(bytes.bitmap2, 0);  // field 2 stays empty in "Hires FLI"
    EXPECT_EQ(bytes.screen2, 0);
  }
}

TEST(SelectFliColours, HandBuiltSpans)
{
  const MixTable pepto = testing::PeptoTable(GraphicMode::HiresFli);
  const auto c = [&](int n) { return pepto.colour[n]; };
  const std::uint32_t black = c(0), white = c(1), grey = c(11);
  constexpr Measure Rgb = Measure::RgbDistance;
  CheckRows(pepto, {
                       {"one colour",
                        Rgb,
                        {c(5), c(5), c(5), c(5), c(5), c(5), c(5), c(5)},
                        {c(5), c(5), c(5), c(5), c(5), c(5), c(5), c(5)},
                        0xFF,
                        0x55},
                       // A is the leftmost pixel's colour, whichever number is higher.
                       {"two colours",
                        Rgb,
                        {c(3), c(7), c(3), c(3), c(7), c(7), c(7), c(3)},
                        {c(3), c(7), c(3), c(3), c(7), c(7), c(7), c(3)},
                        0xB1,
                        0x37},
                       {"two colours, higher first",
                        Rgb,
                        {c(9), c(9), c(2), c(9), c(2), c(2), c(2), c(2)},
                        {c(9), c(9), c(2), c(9), c(2), c(2), c(2), c(2)},
                        0xD0,
                        0x92},
                       // Black-white and grey-white both err 3 * 204; black-white comes first.
                       // The grey pixels are nearer black (204) than white (561).
                       {"three colours, first pair of equal error",
                        Rgb,
                        {black, black, black, grey, grey, grey, white, white},
                        {black, black, black, black, black, black, white, white},
                        0xFC,
                        0x01},
                       {"three colours, grey leading",
                        Rgb,
                        {grey, black, white, black, white, grey, black, black},
                        {black, black, white, black, white, black, black, black},
                        0xD7,
                        0x01},
                   });

  // Greys 16 * k: 0x20 lies halfway between 0x00 and 0x40 and takes A.
  const MixTable greys = testing::SixteenGreys();
  const std::uint32_t g0 = Grey(0x00), g2 = Grey(0x20), g4 = Grey(0x40);
  CheckRows(greys, {{"pixel halfway takes A",
                     Rgb,
                     {g0, g4, g2, g0, g4, g2, g0, g4},
                     {g0, g4, g0, g0, g4, g0, g0, g4},
                     0xB6,
                     0x04}});

  // Under "'Y' Brightness" black and 0x000005 share Y 16: the pair (0,1) has
  // error 0 and every pixel takes its A.
  MixTable twins = greys;
  twins.colour[7] = 0x000005;
  CheckRows(twins,
            {{"equal brightness",
              Measure::Brightness,
              {0x000005, g0, g0, 0x000005, g0, 0x000005, 0x000005, g0},
              {0x000005, 0x000005, 0x000005, 0x000005, 0x000005, 0x000005, 0x000005, 0x000005},
              0xFF,
              0x70}});
}

TEST(SelectFliColours, FrameEdgesStatusAndStrays)
{
  const MixTable pepto = testing::PeptoTable(GraphicMode::HiresFli);
  Picture picture =
      testing::MatchedFrame("chelsea_frame.ppm", pepto, Measure::Perceptual, GraphicMode::HiresFli);
  const std::uint32_t stray = 0x010203;
  testing::PutSpan(
      picture, 10, 50,
      {pepto.colour[6], stray, stray, pepto.colour[6], stray, pepto.colour[6], stray, stray});
  C64Data data{};
  testing::RecordingProgress progress;
  SelectFliColours(picture, pepto, Measure::Perceptual, data, progress);

  // The 24 columns of mix 0: uniform black spans.
  for (int y = 0; y < PictureHeight; ++y) {
    for (int cx = 0; cx < 3; ++cx) {
      ASSERT_EQ(testing::FliBytesOf(data, cx, y), (SpanBytes{0xFF, 0, 0x00, 0})) << cx << "," << y;
    }
  }
  // The stray value goes on as colour number 1 and is reported.
  const SpanBytes strayBytes = testing::FliBytesOf(data, 10, 50);
  EXPECT_EQ(strayBytes, (SpanBytes{0x94, 0, 0x61, 0}));
  EXPECT_EQ(progress.strayColours, std::vector<std::uint32_t>{stray});

  // Every span keeps at most two colours, and the bytes say which.
  for (int y = 0; y < PictureHeight; ++y) {
    for (int cx = 0; cx < 40; ++cx) {
      if (cx == 10 && y == 50) {
        continue;
      }
      const SpanBytes bytes = testing::FliBytesOf(data, cx, y);
      const testing::Span span = testing::SpanAt(picture, cx, y);
      for (int k = 0; k < 8; ++k) {
        const int number = (bytes.bitmap1 >> (7 - k)) & 1 ? bytes.screen1 >> 4 : bytes.screen1 & 15;
        ASSERT_EQ(span[k], pepto.colour[number]) << cx << "," << y << " pixel " << k;
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
  EXPECT_EQ(progress.statuses,
            (std::vector<std::string>{"Brute Force HI-FLI color selection in progress", " "}));
  EXPECT_TRUE(progress.shownRows.empty());
}

}  // namespace
}  // namespace pavona
