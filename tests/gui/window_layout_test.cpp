// The main window on real screen sizes: no group box runs into another or
// hides a caption, a chosen view factor keeps the window on its screen with
// the settings in view, and "Fit" gives the pictures the room of a large
// window. The tests run on a 1366 x 768 screen (tests/gui/main.cpp).
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionGroupBox>

#include "gui/picture_area.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

void Settle()
{
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

QRect InWindow(const QWidget* widget)
{
  return {widget->mapTo(widget->window(), QPoint(0, 0)), widget->size()};
}

// Where a group box draws its caption, in the box's own coordinates.
QRect TitleRect(const QGroupBox* box)
{
  QStyleOptionGroupBox option;
  option.initFrom(box);
  option.text = box->title();
  option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
  option.textAlignment = box->alignment();
  return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
}

// Every way a group box of the window is hidden, runs into another or into
// the pictures, or squeezes a button, one line each; empty when there is none. Boxes in the picture
// area may be scrolled away; all others must lie wholly inside the window.
QStringList LayoutFaults(const MainWindow& window)
{
  QStringList faults;
  const QWidget* pictureArea = window.Controls().pictureArea;
  const QList<QGroupBox*> boxes = window.findChildren<QGroupBox*>();
  for (const QGroupBox* box : boxes) {
    const QRect rect = InWindow(box);
    const QString name = box->title();
    if (!box->isVisible()) {
      faults << name + " is hidden";
      continue;
    }
    if (!pictureArea->isAncestorOf(box) && !window.rect().contains(rect)) {
      faults << name + " lies outside the window";
    }
    const QRect title = TitleRect(box);
    if (!(QRegion(title) - box->visibleRegion()).isEmpty()) {
      faults << name + ": the caption is cut off or covered";
    }
    for (const QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (child->isVisible() && child->geometry().intersects(title)) {
        faults << name + ": " + child->objectName() + " covers the caption";
      }
    }
    // A squeezed button draws its caption clipped or over its neighbour's.
    for (const QAbstractButton* button :
         box->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
      const QSize wanted = button->sizeHint();
      if (button->isVisible() &&
          (button->width() < wanted.width() || button->height() < wanted.height() ||
           !box->rect().contains(button->geometry()))) {
        faults << name + ": " + button->objectName() + " is squeezed or cut off " +
                      QString("%1x%2 < %3x%4")
                          .arg(button->width())
                          .arg(button->height())
                          .arg(wanted.width())
                          .arg(wanted.height());
      }
    }
    if (!pictureArea->isAncestorOf(box) && InWindow(pictureArea).intersects(rect)) {
      faults << name + " covers the pictures";
    }
    for (const QGroupBox* other : boxes) {
      if (other < box && other->isVisible() && !other->isAncestorOf(box) &&
          !box->isAncestorOf(other) && InWindow(other).intersects(rect)) {
        faults << name + " overlaps " + other->title();
      }
    }
  }
  return faults;
}

QSize Decoration(const QWidget& window)
{
  return window.frameGeometry().size() - window.size();
}

// The whole picture view can be seen in the picture area without scrolling.
bool WhollyShown(const PictureView* view, const PictureArea* area)
{
  const QRect inViewport(view->mapTo(area->viewport(), QPoint(0, 0)), view->size());
  return area->viewport()->rect().contains(inViewport);
}

using WindowLayoutTest = ScriptedWindowTest;

TEST_F(WindowLayoutTest, NoGroupBoxOverlapsAnotherOrHidesItsCaption)
{
  const QSize sizes[] = {{976, 664}, {1366, 768}, {1920, 1080}};
  for (const bool converted : {false, true}) {
    if (converted) {
      Click(c().testPictureButton);
      ASSERT_TRUE(ConvertAndWait());
    }
    for (const QSize size : sizes) {
      SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height()
                                      << (converted ? " after a conversion" : ""));
      window().resize(size - Decoration(window()));
      Settle();
      EXPECT_EQ(LayoutFaults(window()).join("\n").toStdString(), "");
    }
  }
}

// The start-up size is the smallest, and fits the screen; each chosen factor
// grows the window at most to the screen's area, where the pictures scroll
// and the settings and "Placement" stay in view.
TEST_F(WindowLayoutTest, ChosenFactorsKeepTheWindowOnItsScreen)
{
  const QRect available = window().screen()->availableGeometry();
  ASSERT_EQ(available.size(), QSize(1366, 768));
  EXPECT_EQ(window().minimumSize(), QSize(976, 664));
  EXPECT_TRUE(available.contains(window().frameGeometry()));
  Click(c().testPictureButton);
  ASSERT_TRUE(ConvertAndWait());

  struct Row {
    const char* name;
    QAction* action;
    bool pal;
    bool scrolled;
  };
  const Row rows[] = {
      {"2x", c().scaleActions[1], false, true},     {"3x", c().scaleActions[2], false, true},
      {"4x", c().scaleActions[3], false, true},     {"4x PAL", c().scaleActions[3], true, true},
      {"1x PAL", c().scaleActions[0], true, false}, {"1x", c().scaleActions[0], false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    c().palAspectAction->setChecked(row.pal);
    row.action->trigger();
    Settle();
    EXPECT_TRUE(available.contains(window().frameGeometry()));
    EXPECT_EQ(LayoutFaults(window()).join("\n").toStdString(), "");
    EXPECT_FALSE(c().pictureArea->isAncestorOf(c().placement.group));
    const bool scrolls = c().pictureArea->horizontalScrollBar()->maximum() > 0 ||
                         c().pictureArea->verticalScrollBar()->maximum() > 0;
    EXPECT_EQ(scrolls, row.scrolled);
  }
  // 2x and more took all the room the screen has, and give it back to no one.
  EXPECT_EQ(window().frameGeometry(), available);
}

// "Fit" in a window that fills a screen: both pictures at 2x on a
// 1920 x 1080 screen, with nothing to scroll and every control in view; 1x
// on 1366 x 768, where 2x needs more height than there is.
TEST_F(WindowLayoutTest, FitGivesThePicturesTheRoomOfTheScreen)
{
  Click(c().testPictureButton);
  ASSERT_TRUE(ConvertAndWait());
  c().fitScaleAction->trigger();
  struct Row {
    const char* name;
    QSize screen;
    int factor;
  };
  const Row rows[] = {{"1920 x 1080", {1920, 1080}, 2}, {"1366 x 768", {1366, 768}, 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    window().resize(row.screen - Decoration(window()));
    Settle();
    EXPECT_EQ(window().PictureScale().factor, row.factor);
    for (const PictureView* view : {c().sourceView, c().resultView}) {
      EXPECT_EQ(view->size(), QSize(320, 200) * row.factor);
      EXPECT_TRUE(WhollyShown(view, c().pictureArea)) << view->objectName().toStdString();
    }
    EXPECT_EQ(LayoutFaults(window()).join("\n").toStdString(), "");
  }
}

TEST_F(WindowLayoutTest, WindowHasAnIcon)
{
  const QIcon icon = window().windowIcon();
  ASSERT_FALSE(icon.isNull());
  // Drawn, not an empty square: most of the middle is covered.
  const QImage image = icon.pixmap(QSize(48, 48)).toImage();
  int covered = 0;
  for (int y = 12; y < 36; ++y) {
    for (int x = 12; x < 36; ++x) {
      covered += qAlpha(image.pixel(x, y)) == 255;
    }
  }
  EXPECT_GT(covered, 24 * 24 / 2);
}

TEST(GrownWindowFrame, StaysWithinTheAvailableArea)
{
  const QRect laptop(0, 0, 1366, 740);  // a panel of 28 pixels along the bottom
  struct Row {
    const char* name;
    QRect frame;
    QSize wanted;
    QRect expected;
  };
  const Row rows[] = {
      {"room to grow in place", {10, 10, 938, 664}, {1000, 700}, {10, 10, 1000, 700}},
      {"pushed back from the right and bottom edges",
       {400, 60, 938, 664},
       {1200, 700},
       {166, 40, 1200, 700}},
      {"more than the screen: as large as it", {400, 60, 938, 664}, {1575, 864}, laptop},
      {"never smaller than it is", {0, 0, 1000, 700}, {938, 664}, {0, 0, 1000, 700}},
      {"larger than the screen already: top-left corner in view",
       {-50, -20, 1500, 800},
       {1600, 900},
       {0, 0, 1500, 800}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(GrownWindowFrame(row.frame, row.wanted, laptop), row.expected);
  }
}

}  // namespace
}  // namespace pavona
