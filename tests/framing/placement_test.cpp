#include "framing/placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace pavona {
namespace {

constexpr std::uint32_t Grey = 0x808080;
constexpr std::uint32_t Black = 0;
// The colours of the four corner patches: top left, top right, bottom left, bottom right.
constexpr std::uint32_t CornerColours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// A grey picture with a patch of its own colour in each corner, a tenth of
// each side wide (at least one pixel).
LoadedPicture CornerPicture(int width, int height)
{
  LoadedPicture picture{width, height,
                        std::vector<std::uint32_t>(std::size_t(width) * height, Grey)};
  const int patchX = std::max(1, width / 10), patchY = std::max(1, height / 10);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool left = x < patchX, right = x >= width - patchX;
      const bool top = y < patchY, bottom = y >= height - patchY;
      if ((left || right) && (top || bottom)) {
        picture.pixels[std::size_t(y) * width + x] =
            CornerColours[(bottom ? 2 : 0) + (right ? 1 : 0)];
      }
    }
  }
  return picture;
}

Placement PlacementOf(FitMode mode, PixelAspect aspect = PixelAspect::Square, int scale = 0)
{
  Placement placement;
  placement.mode = mode;
  placement.aspect = aspect;
  placement.scalePercent = scale;
  return placement;
}

Placement Centred(Placement placement, int width, int height)
{
  const PlacementGeometry geometry = GeometryOfPlacement(placement, width, height);
  placement.panX = geometry.centredPanX;
  placement.panY = geometry.centredPanY;
  return placement;
}

// Each channel within `tolerance` of the expected colour's.
bool Near(std::uint32_t got, std::uint32_t expected, int tolerance)
{
  return std::abs(RedOf(got) - RedOf(expected)) <= tolerance &&
         std::abs(GreenOf(got) - GreenOf(expected)) <= tolerance &&
         std::abs(BlueOf(got) - BlueOf(expected)) <= tolerance;
}

TEST(GeometryOfPlacement, FitsInsideFillsOverAndKeepsTheShapeOnTheScreen)
{
  struct Row {
    std::string name;
    int width, height;
    FitMode mode;
    PixelAspect aspect;
  };
  const Row rows[] = {
      {"landscape 3:2 fit square", 6000, 4000, FitMode::Fit, PixelAspect::Square},
      {"landscape 3:2 fit pal", 6000, 4000, FitMode::Fit, PixelAspect::Pal},
      {"portrait 3:4 fit pal", 3000, 4000, FitMode::Fit, PixelAspect::Pal},
      {"landscape 3:2 fill square", 6000, 4000, FitMode::Fill, PixelAspect::Square},
      {"portrait 3:4 fill pal", 3000, 4000, FitMode::Fill, PixelAspect::Pal},
      {"panorama fill pal", 9000, 1000, FitMode::Fill, PixelAspect::Pal},
      {"sliver fit pal", 1, 5000, FitMode::Fit, PixelAspect::Pal},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PlacementGeometry g =
        GeometryOfPlacement(PlacementOf(row.mode, row.aspect), row.width, row.height);
    if (row.mode == FitMode::Fit) {
      EXPECT_LE(g.scaledWidth, PictureWidth);
      EXPECT_LE(g.scaledHeight, PictureHeight);
      EXPECT_TRUE(g.scaledWidth == PictureWidth || g.scaledHeight == PictureHeight);
    } else {
      EXPECT_GE(g.scaledWidth, PictureWidth);
      EXPECT_GE(g.scaledHeight, PictureHeight);
      EXPECT_TRUE(g.scaledWidth == PictureWidth || g.scaledHeight == PictureHeight);
    }
    // On the screen a frame pixel is PalPixelAspect as wide as tall, so the
    // picture's width / height there is the file's, up to rounding a pixel.
    const double pixelWidth = row.aspect == PixelAspect::Pal ? PalPixelAspect : 1.0;
    const double fileShape = double(row.width) / row.height;
    const double screenShape = pixelWidth * g.scaledWidth / g.scaledHeight;
    if (g.scaledWidth > 10) {
      EXPECT_NEAR(screenShape / fileShape, 1.0, 1.0 / std::min(g.scaledWidth, g.scaledHeight));
    }
  }
}

TEST(GeometryOfPlacement, ZoomCountsInPercentOfTheFileAndSmallPicturesAreNotEnlarged)
{
  PlacementGeometry g = GeometryOfPlacement(PlacementOf(FitMode::Fit), 100, 60);
  EXPECT_EQ(g.scaledWidth, 100);
  EXPECT_EQ(g.scaledHeight, 60);
  EXPECT_EQ(g.centredPanX, -110);
  EXPECT_EQ(g.panX, (ScrollRange{-110, -110}));

  // The PAL pixel is narrower: 1:1 down means 1 / 0.9357 across.
  g = GeometryOfPlacement(PlacementOf(FitMode::Fit, PixelAspect::Pal), 100, 60);
  EXPECT_EQ(g.scaledWidth, 107);
  EXPECT_EQ(g.scaledHeight, 60);

  g = GeometryOfPlacement(PlacementOf(FitMode::Fill, PixelAspect::Square, 50), 1000, 800);
  EXPECT_EQ(g.scaledWidth, 500);
  EXPECT_EQ(g.scaledHeight, 400);
  EXPECT_EQ(g.panX, (ScrollRange{0, 180}));
  EXPECT_EQ(g.panY, (ScrollRange{0, 200}));
  EXPECT_EQ(g.centredPanX, 90);
  EXPECT_EQ(g.centredPanY, 100);

  // Cutout is 1:1 whatever the zoom and aspect say, a small picture at the top left.
  g = GeometryOfPlacement(PlacementOf(FitMode::Cutout, PixelAspect::Pal, 50), 100, 60);
  EXPECT_EQ(g.scaledWidth, 100);
  EXPECT_EQ(g.panX, (ScrollRange{0, 0}));
}

TEST(PlacePicture, CutoutIsTheFirstVersionsFrameAtEveryPan)
{
  const LoadedPicture picture = CornerPicture(700, 450);
  for (const auto& [panX, panY] : {std::pair{0, 0}, {380, 250}, {17, 3}, {200, 0}}) {
    Placement placement;
    placement.panX = panX;
    placement.panY = panY;
    EXPECT_EQ(PlacePicture(picture, placement), FrameFromPicture(picture, -panX, -panY))
        << panX << "," << panY;
  }
}

// Where the picture's corners land, with black around a fitted picture.
TEST(PlacePicture, LandscapeAndPortraitInEachPlacement)
{
  struct Row {
    std::string name;
    int width, height;
    FitMode mode;
    // The frame rectangle the scaled picture covers.
    int left, top, right, bottom;
  };
  const Row rows[] = {
      // 600 x 300 fitted: 320 x 160, 20 rows of black above and below.
      {"landscape fit", 600, 300, FitMode::Fit, 0, 20, 320, 180},
      // 300 x 600 fitted: 100 x 200, 110 columns of black either side.
      {"portrait fit", 300, 600, FitMode::Fit, 110, 0, 210, 200},
      // 600 x 300 filled: 400 x 200, centred, 40 columns cut off either side.
      {"landscape fill", 600, 300, FitMode::Fill, -40, 0, 360, 200},
      {"portrait fill", 300, 600, FitMode::Fill, 0, -220, 320, 420},
      {"landscape cutout", 600, 300, FitMode::Cutout, 0, 0, 600, 300},
      {"small fit", 100, 60, FitMode::Fit, 110, 70, 210, 130},
      {"small cutout", 100, 60, FitMode::Cutout, 0, 0, 100, 60},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const LoadedPicture picture = CornerPicture(row.width, row.height);
    const Picture frame =
        PlacePicture(picture, Centred(PlacementOf(row.mode), row.width, row.height));
    const auto inFrame = [](int x, int y) {
      return x >= 0 && y >= 0 && x < PictureWidth && y < PictureHeight;
    };
    // Two pixels inside each corner of the scaled picture, where it is in the frame.
    const int xs[2] = {row.left + 2, row.right - 3}, ys[2] = {row.top + 2, row.bottom - 3};
    for (int corner = 0; corner < 4; ++corner) {
      const int x = xs[corner % 2], y = ys[corner / 2];
      if (inFrame(x, y)) {
        EXPECT_TRUE(Near(frame[PixelIndex(x, y)], CornerColours[corner], 8))
            << "corner " << corner << " at " << x << "," << y << " is " << std::hex
            << frame[PixelIndex(x, y)];
      }
    }
    // Black just outside the picture, grey in its middle.
    for (const auto& [x, y] : {std::pair{row.left - 1, (row.top + row.bottom) / 2},
                               {row.right, (row.top + row.bottom) / 2},
                               {(row.left + row.right) / 2, row.top - 1},
                               {(row.left + row.right) / 2, row.bottom}}) {
      if (inFrame(x, y)) {
        EXPECT_EQ(frame[PixelIndex(x, y)], Black) << x << "," << y;
      }
    }
    const int midX = std::clamp((row.left + row.right) / 2, 0, PictureWidth - 1);
    const int midY = std::clamp((row.top + row.bottom) / 2, 0, PictureHeight - 1);
    EXPECT_TRUE(Near(frame[PixelIndex(midX, midY)], Grey, 2));
  }
}

TEST(PlacePicture, FillIsPannedInFramePixelsAndHeldInsideThePicture)
{
  const LoadedPicture picture = CornerPicture(600, 300);  // filled: 400 x 200
  Placement placement = PlacementOf(FitMode::Fill);
  placement.panX = 80;  // the far right edge
  Picture frame = PlacePicture(picture, placement);
  EXPECT_TRUE(Near(frame[PixelIndex(317, 2)], CornerColours[1], 8));
  EXPECT_TRUE(Near(frame[PixelIndex(317, 197)], CornerColours[3], 8));
  placement.panX = 5000;  // held at 80
  EXPECT_EQ(PlacePicture(picture, placement), frame);
  placement.panX = -7;  // held at 0: the left edge
  frame = PlacePicture(picture, placement);
  EXPECT_TRUE(Near(frame[PixelIndex(2, 2)], CornerColours[0], 8));
}

// A 1-pixel checkerboard is half black, half white light: reduced, it must be
// the grey of half the light (sRGB 188), not the average of the numbers
// (128), and even everywhere, also at a ratio that is not a whole number.
TEST(PlacePicture, FineDetailReducesToItsLightWithoutMoire)
{
  for (const auto& [width, height] : {std::pair{6400, 4000}, {3088, 1930}}) {
    LoadedPicture board{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        board.pixels[std::size_t(y) * width + x] = (x + y) % 2 ? 0xFFFFFF : 0;
      }
    }
    const Picture frame = PlacePicture(board, PlacementOf(FitMode::Fill));
    int lowest = 255, highest = 0;
    for (std::uint32_t pixel : frame) {
      for (int channel : {RedOf(pixel), GreenOf(pixel), BlueOf(pixel)}) {
        lowest = std::min(lowest, channel);
        highest = std::max(highest, channel);
      }
    }
    EXPECT_GE(lowest, 186) << width;
    EXPECT_LE(highest, 190) << width;
  }
}

TEST(PlacePicture, ASliverAndAPictureDecodedSmallerArePlacedByTheirFileSize)
{
  const LoadedPicture sliver{1, 5000, std::vector<std::uint32_t>(5000, 0x406080)};
  Picture frame = PlacePicture(sliver, Centred(PlacementOf(FitMode::Fit), 1, 5000));
  EXPECT_EQ(frame[PixelIndex(158, 100)], Black);
  EXPECT_TRUE(Near(frame[PixelIndex(159, 100)], 0x406080, 1));
  EXPECT_EQ(frame[PixelIndex(160, 100)], Black);
  frame = PlacePicture(sliver, PlacementOf(FitMode::Fill));
  for (int index : {0, PixelIndex(319, 199), PixelIndex(160, 100)}) {
    EXPECT_TRUE(Near(frame[index], 0x406080, 1)) << index;
  }

  // A 2000 x 1000 picture decoded at 500 x 250: 25 % of the file is 500 x 250
  // frame pixels, so the decoded pixels are shown 1:1.
  LoadedPicture reduced = CornerPicture(500, 250);
  reduced.fileWidth = 2000;
  reduced.fileHeight = 1000;
  Placement placement = PlacementOf(FitMode::Fill, PixelAspect::Square, 25);
  placement.panX = 180;
  placement.panY = 50;
  EXPECT_EQ(PlacePicture(reduced, placement), FrameFromPicture(reduced, -180, -50));
  EXPECT_EQ(NeededDecodeSize(placement, 2000, 1000).width, 500);
  EXPECT_EQ(NeededDecodeSize(PlacementOf(FitMode::Cutout), 2000, 1000).width, 2000);
}

}  // namespace
}  // namespace pavona
