#include "framing/source_frame.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pavona {
namespace {

// A picture whose pixel colour spells its own position, 1-based so that no
// picture pixel is black.
LoadedPicture PositionPicture(int width, int height)
{
  LoadedPicture picture;
  picture.width = width;
  picture.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.pixels.push_back(std::uint32_t((x + 1) << 12 | (y + 1)));
    }
  }
  return picture;
}

std::uint32_t At(int x, int y)
{
  return std::uint32_t((x + 1) << 12 | (y + 1));
}

TEST(FrameFromPicture, CutsOutTheFrameAndFillsTheRestWithBlack)
{
  const LoadedPicture large = PositionPicture(640, 400);
  const LoadedPicture small = PositionPicture(100, 100);
  const LoadedPicture wide = PositionPicture(400, 100);

  // Corners of the cut-outs worked out by hand.
  Picture frame = FrameFromPicture(large, 0, 0);
  EXPECT_EQ(frame[PixelIndex(0, 0)], At(0, 0));
  EXPECT_EQ(frame[PixelIndex(319, 199)], At(319, 199));
  frame = FrameFromPicture(large, -320, -200);  // the bottom-right quarter
  EXPECT_EQ(frame[PixelIndex(0, 0)], At(320, 200));
  EXPECT_EQ(frame[PixelIndex(319, 199)], At(639, 399));
  frame = FrameFromPicture(small, 0, 0);
  EXPECT_EQ(frame[PixelIndex(99, 99)], At(99, 99));
  EXPECT_EQ(frame[PixelIndex(100, 99)], 0u);
  EXPECT_EQ(frame[PixelIndex(99, 100)], 0u);
  EXPECT_EQ(frame[PixelIndex(319, 199)], 0u);

  // Every pixel of many placements against the rule: frame (x, y) shows
  // picture (x - left, y - top) where that exists, black elsewhere.
  struct Case {
    const LoadedPicture& picture;
    int left, top;
  };
  const Case cases[] = {{large, 0, 0},   {large, -320, -200}, {large, -17, -133}, {small, 0, 0},
                        {small, 10, 5},  {small, -30, -20},   {wide, -50, 0},     {wide, -80, 150},
                        {large, 320, 0}, {small, -100, 0}};
  for (const Case& row : cases) {
    SCOPED_TRACE(std::to_string(row.picture.width) + " x " + std::to_string(row.picture.height) +
                 " at " + std::to_string(row.left) + ", " + std::to_string(row.top));
    frame = FrameFromPicture(row.picture, row.left, row.top);
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        const int px = x - row.left, py = y - row.top;
        const bool inside = px >= 0 && py >= 0 && px < row.picture.width && py < row.picture.height;
        ASSERT_EQ(frame[PixelIndex(x, y)], inside ? At(px, py) : 0u) << x << ", " << y;
      }
    }
  }

  // An empty picture (nothing loaded yet) gives a black frame.
  frame = FrameFromPicture(LoadedPicture{}, 0, 0);
  EXPECT_EQ(std::count(frame.begin(), frame.end(), 0u), PixelCount);
}

// Drawn over a frame that still holds another picture, as the command line
// reuses its frame from one input to the next: nothing of the old one shows,
// whether the new picture covers the frame just so, overhangs it or leaves
// black around it, or is damaged.
TEST(FrameFromPicture, DrawnOverAnEarlierFrameLeavesNothingOfIt)
{
  const LoadedPicture exact = PositionPicture(PictureWidth, PictureHeight);
  const LoadedPicture large = PositionPicture(640, 400);
  const LoadedPicture small = PositionPicture(100, 100);
  LoadedPicture damaged = PositionPicture(100, 100);
  damaged.pixels.resize(50);
  struct Case {
    const char* name;
    const LoadedPicture& picture;
    int left, top;
  };
  // clang-format off
  const Case cases[] = {
      {"exact",               exact,   0,    0},
      {"exact, moved right",  exact,   1,    0},
      {"large",               large,   -17,  -133},
      {"large, moved down",   large,   0,    3},
      {"large, far right",    large,   -321, 0},
      {"large, far down",     large,   0,    -201},
      {"small",               small,   10,   5},
      {"damaged",             damaged, 0,    0},
  };
  // clang-format on
  auto frame = std::make_unique<Picture>();
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    frame->fill(0xABCDEF);
    FrameFromPicture(row.picture, row.left, row.top, *frame);
    const bool whole = row.picture.pixels.size() ==
                       std::size_t(row.picture.width) * std::size_t(row.picture.height);
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        const int px = x - row.left, py = y - row.top;
        const bool inside =
            whole && px >= 0 && py >= 0 && px < row.picture.width && py < row.picture.height;
        ASSERT_EQ((*frame)[PixelIndex(x, y)], inside ? At(px, py) : 0u) << x << ", " << y;
      }
    }
  }
}

TEST(ScrollRangesForPicture, RunFromTheRightEdgeInViewToZero)
{
  struct Case {
    int width, height;
    ScrollRange horizontal, vertical;
  };
  const Case cases[] = {
      {100, 100, {0, 0}, {0, 0}},       {320, 200, {0, 0}, {0, 0}},
      {640, 400, {-320, 0}, {-200, 0}}, {319, 201, {0, 0}, {-1, 0}},
      {2000, 150, {-1680, 0}, {0, 0}},  {321, 199, {-1, 0}, {0, 0}},
  };
  for (const Case& row : cases) {
    const SourceScrollRanges ranges = ScrollRangesForPicture(row.width, row.height);
    EXPECT_EQ(ranges.horizontal, row.horizontal) << row.width << " x " << row.height;
    EXPECT_EQ(ranges.vertical, row.vertical) << row.width << " x " << row.height;
  }
}

}  // namespace
}  // namespace pavona
