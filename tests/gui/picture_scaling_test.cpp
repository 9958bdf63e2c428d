// The "View" menu's scales: the pictures drawn larger by whole factors with
// crisp pixels, "Fit" following the window's size, the PAL aspect, and the
// previews following along. The pictures themselves never change.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <cmath>

#include "core/test_picture.h"
#include "gui/picture_area.h"
#include "gui/preview_windows.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

// Lets the window lay itself out after a change of size or scale.
void Settle()
{
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// Screen pixels of a view's drawing at `scale` (every third across and
// down) that do not show the image pixel MapToImage names for them.
int WronglyDrawnPixels(PictureView& view, ViewScale scale)
{
  const QImage drawn = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QSize size = ScaledSize(view.image().size(), scale);
  int wrong = 0;
  for (int y = 0; y < size.height(); y += 3) {
    for (int x = 0; x < size.width(); x += 3) {
      const QPointF image = view.MapToImage(QPointF(x + 0.5, y + 0.5));
      wrong += (drawn.pixel(x, y) & 0xFFFFFF) != view.PixelAt(int(image.x()), int(image.y()));
    }
  }
  return wrong;
}

// On a screen scaled by a fraction (125 %, 150 %) a picture pixel still
// covers a whole block of screen pixels, all of its colour; the widget is
// the drawing's size to the nearest logical pixel.
TEST(PictureViewOnScaledScreens, EveryPixelIsAWholeBlockOfScreenPixels)
{
  PictureView view(PictureWidth, PictureHeight, PictureWidth, PictureHeight);
  view.ShowPicture(TestPictureFrame());
  for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
    for (int factor = 1; factor <= MaximumScaleFactor; ++factor) {
      const ViewScale scale{factor, false, ratio};
      SCOPED_TRACE(testing::Message() << factor << "x at " << ratio);
      view.SetScale(scale);
      const int block = ScreenPixelsPerPixel(scale);
      EXPECT_NEAR(block, factor * ratio, 0.5);
      EXPECT_LE(std::abs(view.width() * ratio - PictureWidth * block), ratio);

      QImage screen(PictureWidth * block, PictureHeight * block, QImage::Format_RGB32);
      screen.setDevicePixelRatio(ratio);
      screen.fill(Qt::magenta);
      view.render(&screen);
      int wrong = 0;
      for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
          wrong += (screen.pixel(x, y) & 0xFFFFFF) != view.PixelAt(x / block, y / block);
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

class PictureScalingTest : public ScriptedWindowTest {
 protected:
  void Choose(QAction* action)
  {
    action->trigger();
    Settle();
  }
};

TEST_F(PictureScalingTest, ChosenFactorsDrawEveryPixelAsACrispBlock)
{
  Click(c().testPictureButton);
  ASSERT_TRUE(ConvertAndWait());
  const Picture source = TestPictureFrame();
  ASSERT_EQ(window().PictureScale(), ViewScale{});  // 1x at start

  struct Row {
    const char* name;
    QAction* action;
    bool pal;
    ViewScale scale;
    QSize viewSize;
  };
  const Row rows[] = {
      {"2x", c().scaleActions[1], false, {2, false}, {640, 400}},
      {"3x", c().scaleActions[2], false, {3, false}, {960, 600}},
      {"3x PAL", c().scaleActions[2], true, {3, true}, {898, 600}},  // 960 * 0.9357
      {"1x PAL", c().scaleActions[0], true, {1, true}, {299, 200}},
      {"1x", c().scaleActions[0], false, {1, false}, {320, 200}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    c().palAspectAction->setChecked(row.pal);
    Choose(row.action);
    EXPECT_EQ(window().PictureScale(), row.scale);
    for (PictureView* view : {c().sourceView, c().resultView}) {
      SCOPED_TRACE(view->objectName().toStdString());
      EXPECT_EQ(view->Scale(), row.scale);
      EXPECT_EQ(view->size(), row.viewSize);
      EXPECT_EQ(view->image().size(), QSize(PictureWidth, PictureHeight));
      EXPECT_EQ(WronglyDrawnPixels(*view, row.scale), 0);
    }
    // What is read back, and converted, is the picture as it is.
    EXPECT_EQ(DifferingPixels(*c().sourceView, source), 0);
    EXPECT_EQ(DifferingPixels(*c().resultView, window().workspace().result), 0);
  }
}

// A point of the drawing maps back to the pixel drawn there, at any scale.
TEST(PictureViewMapping, WidgetPointsMapBackToImagePixels)
{
  struct Row {
    const char* name;
    ViewScale scale;
    QPointF widget;
    QPoint pixel;
  };
  const Row rows[] = {
      {"1x", {1, false}, {10.5, 20.5}, {10, 20}},
      {"2x, last screen pixel of a block", {2, false}, {21.9, 41.9}, {10, 20}},
      {"4x, bottom-right corner", {4, false}, {1279.5, 799.5}, {319, 199}},
      {"PAL 1x: narrower pixels", {1, true}, {298.9, 0.5}, {319, 0}},
      {"PAL 2x", {2, true}, {100.0, 10.0}, {53, 5}},  // 100 / 1.8714
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    PictureView view(PictureWidth, PictureHeight, PictureWidth, PictureHeight);
    view.SetScale(row.scale);
    const QPointF mapped = view.MapToImage(row.widget);
    EXPECT_EQ(QPoint(int(std::floor(mapped.x())), int(std::floor(mapped.y()))), row.pixel);
  }
}

// "Fit" takes the largest factor whose pictures fit the window, and follows
// the window as it is resized; 1x never scrolls, a chosen factor the window
// is too small for does.
TEST_F(PictureScalingTest, FitFollowsTheWindowSize)
{
  const QSize StartUpSize(976, 664);
  Choose(c().fitScaleAction);
  EXPECT_EQ(window().PictureScale(), ViewScale{});  // the start-up size has room for 1x
  EXPECT_EQ(window().minimumSize(), StartUpSize);

  const QSize areaAt1x = c().pictureArea->size();
  struct Row {
    const char* name;
    QSize grow;  // beyond the start-up size
    int factor;
  };
  // 2x needs about 640 pixels more across (two pictures) and 200 down; a
  // few of them go to boxes that the start-up size squeezes a little.
  const Row rows[] = {
      {"room for 2x", {660, 230}, 2},
      {"not enough room down", {660, 185}, 1},
      {"not enough room across", {620, 230}, 1},
      {"room for 3x", {1300, 430}, 3},
      {"back to 1x", {0, 0}, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    window().resize(StartUpSize + row.grow);
    Settle();
    EXPECT_EQ(window().PictureScale().factor, row.factor);
    EXPECT_EQ(c().sourceView->Scale().factor, row.factor);
    EXPECT_EQ(c().resultView->size(), QSize(320, 200) * row.factor);
    // Everything fits: nothing to scroll.
    EXPECT_FALSE(c().pictureArea->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(c().pictureArea->verticalScrollBar()->isVisible());
  }
  EXPECT_EQ(c().pictureArea->size(), areaAt1x);

  // 4x in a window of the start-up size: the pictures are scrolled.
  window().resize(StartUpSize);
  Choose(c().scaleActions[3]);
  EXPECT_EQ(c().sourceView->size(), QSize(1280, 800));
  EXPECT_EQ(c().pictureArea->verticalScrollBar()->maximum() > 0 ||
                c().pictureArea->horizontalScrollBar()->maximum() > 0,
            true);
}

// The previews draw the fields at the window's scale, as large as fits
// their screen.
TEST_F(PictureScalingTest, PreviewsFollowTheScaleWithinTheirScreen)
{
  FieldPreviewWindow& field = window().FieldPreview();
  InterlacedPreviewWindow& interlaced = window().InterlacedPreview();
  Click(c().testPictureButton);
  ASSERT_TRUE(ConvertAndWait());
  Click(c().interlacedPreviewButton);
  Click(c().fieldPreviewButton);

  Choose(c().scaleActions[1]);  // 2x
  const ViewScale twice{2, false};
  // The interlaced preview: 2 x 320 + 25 across, 2 x 200 + 79 down.
  if (FitsItsScreen(&interlaced)) {
    EXPECT_EQ(interlaced.size(), QSize(665, 479));
    for (PictureView* view : {interlaced.field1View, interlaced.field2View}) {
      EXPECT_EQ(view->geometry(), QRect(8, 8, 640, 400));
      EXPECT_EQ(WronglyDrawnPixels(*view, twice), 0);
    }
  }
  // The field preview is twice as wide: on a small screen it stays smaller.
  EXPECT_TRUE(FitsItsScreen(&field));
  const int factor = field.field1View->Scale().factor;
  EXPECT_GE(factor, 1);
  EXPECT_LE(factor, 2);
  EXPECT_EQ(field.field1View->size(), QSize(320, 200) * factor);
  EXPECT_EQ(field.field2View->size(), QSize(329, 201) * factor);
  EXPECT_EQ(WronglyDrawnPixels(*field.field2View, {factor, false}), 0);

  // Back at 1x the windows are as they always were.
  Choose(c().scaleActions[0]);
  EXPECT_EQ(field.size(), QSize(699, 279));
  EXPECT_EQ(interlaced.size(), QSize(345, 279));
  EXPECT_EQ(field.field2Panel->geometry(), QRect(353, 8, 338, 217));
}

}  // namespace
}  // namespace pavona
