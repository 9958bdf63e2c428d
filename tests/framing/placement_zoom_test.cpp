#include "framing/placement_zoom.h"

#include <gtest/gtest.h>

#include <string>

namespace pavona {
namespace {

// The zooms offered run from the whole picture in the part of the frame the
// mode shows (all of it, or the FLI modes' 296 x 197) to 1:1, or to covering
// that part when a small picture needs more.
TEST(PlacementZoomTest, ZoomRangeRunsFromTheWholePictureToOneToOne)
{
  struct Row {
    const char* name;
    PixelAspect aspect;
    int width, height;
  };
  const Row rows[] = {
      {"phone photo, PAL", PixelAspect::Pal, 4000, 3000},
      {"phone photo, square", PixelAspect::Square, 4000, 3000},
      {"portrait", PixelAspect::Pal, 3000, 4000},
      {"smaller than the frame", PixelAspect::Square, 100, 50},
      {"sliver", PixelAspect::Square, 1, 5000},
  };
  for (const FrameArea area : {FrameArea{}, FrameArea{24, 0, 296, 197}}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.name) + ", area " + std::to_string(area.width) + " wide");
      const ZoomRange range = ZoomRangeOf(row.aspect, row.width, row.height, area);
      ASSERT_LE(range.minimum, 100);
      ASSERT_GE(range.maximum, 100);
      // At the lowest zoom the whole picture fits; one percent more does not.
      Placement placement;
      placement.mode = FitMode::Fit;
      placement.aspect = row.aspect;
      placement.area = area;
      placement.scalePercent = range.minimum;
      PlacementGeometry at = GeometryOfPlacement(placement, row.width, row.height);
      EXPECT_TRUE(at.scaledWidth <= area.width && at.scaledHeight <= area.height);
      if (range.minimum < 100) {
        placement.scalePercent = range.minimum + 1;
        at = GeometryOfPlacement(placement, row.width, row.height);
        EXPECT_TRUE(at.scaledWidth > area.width || at.scaledHeight > area.height);
      }
      // At the highest the picture covers the area.
      placement.scalePercent = range.maximum;
      at = GeometryOfPlacement(placement, row.width, row.height);
      EXPECT_TRUE(at.scaledWidth >= area.width && at.scaledHeight >= area.height);
      // A fresh Fit shows the lowest zoom, a fresh Fill one that covers the area.
      EXPECT_EQ(ShownScalePercent(
                    StartingPlacement(FitMode::Fit, row.aspect, row.width, row.height, area),
                    row.width, row.height),
                std::min(range.minimum, 100));
      const Placement fill =
          StartingPlacement(FitMode::Fill, row.aspect, row.width, row.height, area);
      placement.scalePercent = ShownScalePercent(fill, row.width, row.height);
      at = GeometryOfPlacement(placement, row.width, row.height);
      EXPECT_TRUE(at.scaledWidth >= area.width && at.scaledHeight >= area.height);
    }
  }
}

// Zooming keeps the picture point under the anchor where it is, and never
// pans out of range.
TEST(PlacementZoomTest, ZoomKeepsTheAnchoredPointInPlace)
{
  constexpr int Width = 4000, Height = 3000;
  Placement placement = StartingPlacement(FitMode::Fill, PixelAspect::Square, Width, Height);
  placement.scalePercent = 20;  // 800 x 600 frame pixels
  placement.panX = 200;
  placement.panY = 100;
  struct Row {
    const char* name;
    double anchorX, anchorY;
    int percent;
  };
  const Row rows[] = {
      {"centre, twice", 160, 100, 40},
      {"top-left corner, twice", 0, 0, 40},
      {"bottom-right, half again", 319, 199, 30},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Placement zoomed =
        ZoomedPlacement(placement, row.percent, Width, Height, row.anchorX, row.anchorY);
    EXPECT_EQ(zoomed.scalePercent, row.percent);
    // The file pixel under the anchor before and after.
    const double before = (placement.panX + row.anchorX) / (Width * 0.20);
    const double after = (zoomed.panX + row.anchorX) / (Width * row.percent / 100.0);
    EXPECT_NEAR(before, after, 1.0 / Width * 2);
    const double beforeY = (placement.panY + row.anchorY) / (Height * 0.20);
    const double afterY = (zoomed.panY + row.anchorY) / (Height * row.percent / 100.0);
    EXPECT_NEAR(beforeY, afterY, 1.0 / Height * 2);
  }
  // Zoomed out to the whole picture, the pans are held in their (centred) range.
  const Placement whole = ZoomedPlacement(placement, 5, Width, Height, 319, 199);
  const PlacementGeometry geometry = GeometryOfPlacement(whole, Width, Height);
  EXPECT_EQ(whole.panX, geometry.centredPanX);
  EXPECT_EQ(whole.panY, geometry.panY.maximum);
  EXPECT_EQ(ClampedPlacement(whole, Width, Height), whole);
}

}  // namespace
}  // namespace pavona
