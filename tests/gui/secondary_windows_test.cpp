// The About window and the two preview windows, created hidden with the
// main window.
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "gui/about_window.h"
#include "gui/preview_windows.h"
#include "gui_test_support.h"

namespace pavona {
namespace {

TEST_F(MainWindowTest, SecondaryWindowsStartHiddenWithTheirContents)
{
  const AboutWindow& about = window().About();
  const FieldPreviewWindow& field = window().FieldPreview();
  const InterlacedPreviewWindow& interlaced = window().InterlacedPreview();

  struct Row {
    const QWidget* window;
    const char* name;
    const char* caption;
    QSize size;
  };
  for (const Row& row : {Row{&about, "Form2", "About", {138, 212}},
                         Row{&field, "Form3", "Field Preview", {699, 279}},
                         Row{&interlaced, "Form4", "Interlaced Preview", {345, 279}}}) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.window->objectName(), row.name);
    EXPECT_EQ(row.window->windowTitle(), row.caption);
    EXPECT_EQ(row.window->size(), row.size);
    EXPECT_FALSE(row.window->isVisible());
  }
  EXPECT_EQ(about.Image1->image().size(), QSize(130, 140));
  EXPECT_EQ(about.Label1->text(), "Build 06/11/06");
  EXPECT_EQ(about.BitBtn1->text(), "OK");
  EXPECT_EQ(field.Image1->size(), QSize(320, 200));
  EXPECT_EQ(field.Image2->size(), QSize(329, 201));
  EXPECT_EQ(field.Image2->image().size(), QSize(320, 200));
  EXPECT_EQ(field.BitBtn1->text(), "Close");
  EXPECT_EQ(interlaced.Button1->text(), "Close");
  // Both fields at the same place, the second on top.
  EXPECT_EQ(interlaced.Image1->geometry(), QRect(8, 8, 320, 200));
  EXPECT_EQ(interlaced.Image2->geometry(), QRect(8, 8, 320, 200));
  const QObjectList& stack = interlaced.Panel1->children();
  EXPECT_GT(stack.indexOf(interlaced.Image2), stack.indexOf(interlaced.Image1));
}

TEST_F(MainWindowTest, AboutIsModalUntilOkAndCloseHidesThePreviews)
{
  AboutWindow& about = window().About();
  bool wasModal = false;
  // Runs inside the About window's own event loop.
  QTimer::singleShot(0, &about, [&] {
    wasModal = about.isVisible() && about.isModal();
    QTest::mouseClick(about.BitBtn1, Qt::LeftButton);
  });
  c().Settings1->trigger();
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);

  FieldPreviewWindow& field = window().FieldPreview();
  InterlacedPreviewWindow& interlaced = window().InterlacedPreview();
  const std::pair<QWidget*, QPushButton*> previews[] = {{&field, field.BitBtn1},
                                                        {&interlaced, interlaced.Button1}};
  for (const auto& [preview, close] : previews) {
    SCOPED_TRACE(preview->windowTitle().toStdString());
    ShowCentredOn(preview, &window());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
    Click(close);
    EXPECT_FALSE(preview->isVisible());
    // Closing a preview only hides it; the main window stays.
    EXPECT_TRUE(window().isVisible());
  }
}

TEST_F(MainWindowTest, InterlacedPreviewTimerAlternatesTheFields)
{
  InterlacedPreviewWindow& preview = window().InterlacedPreview();
  ASSERT_TRUE(preview.Timer1->isActive());
  EXPECT_EQ(preview.Timer1->interval(), 10);

  // Each tick shows one field and hides the other, in turn.
  preview.Timer1->stop();
  const bool firstBefore = preview.showFirstImage();
  for (int tick = 0; tick < 4; ++tick) {
    const bool showsFirst = preview.showFirstImage();
    preview.Tick();
    SCOPED_TRACE(tick);
    EXPECT_NE(preview.showFirstImage(), showsFirst);
    EXPECT_EQ(preview.Image1->isHidden(), !showsFirst);
    EXPECT_EQ(preview.Image2->isHidden(), showsFirst);
  }
  EXPECT_EQ(preview.showFirstImage(), firstBefore);

  // The running timer does the same while the window is shown or hidden.
  preview.Timer1->start();
  ShowCentredOn(&preview, &window());
  int flips = 0;
  bool firstHidden = preview.Image1->isHidden();
  QElapsedTimer clock;
  clock.start();
  while (flips < 4 && clock.elapsed() < 5000) {
    QTest::qWait(5);
    EXPECT_NE(preview.Image1->isHidden(), preview.Image2->isHidden());
    if (preview.Image1->isHidden() != firstHidden) {
      firstHidden = preview.Image1->isHidden();
      ++flips;
    }
  }
  EXPECT_EQ(flips, 4);
  preview.hide();
}

}  // namespace
}  // namespace pavona
