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
  for (const Row& row :
       {Row{&about, "aboutWindow", "About", {138, 266}},
        Row{&field, "fieldPreviewWindow", "Field Preview", {699, 279}},
        Row{&interlaced, "interlacedPreviewWindow", "Interlaced Preview", {345, 279}}}) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.window->objectName(), row.name);
    EXPECT_EQ(row.window->windowTitle(), row.caption);
    EXPECT_EQ(row.window->size(), row.size);
    EXPECT_FALSE(row.window->isVisible());
  }
  EXPECT_EQ(about.pictureView->image().size(), QSize(130, 140));
  EXPECT_EQ(about.buildLabel->text(), QString("Version ") + PAVONA_VERSION);
  EXPECT_TRUE(about.licenceLabel->text().startsWith("Pavona Hi-FLI Convertor\n"));
  EXPECT_TRUE(about.licenceLabel->text().contains("GPL, version 3 or later"));
  EXPECT_EQ(about.okButton->text(), "OK");
  EXPECT_EQ(field.field1View->size(), QSize(320, 200));
  EXPECT_EQ(field.field2View->size(), QSize(329, 201));
  EXPECT_EQ(field.field2View->image().size(), QSize(320, 200));
  EXPECT_EQ(field.closeButton->text(), "Close");
  EXPECT_EQ(interlaced.closeButton->text(), "Close");
  // Both fields at the same place, the second on top.
  EXPECT_EQ(interlaced.field1View->geometry(), QRect(8, 8, 320, 200));
  EXPECT_EQ(interlaced.field2View->geometry(), QRect(8, 8, 320, 200));
  const QObjectList& stack = interlaced.fieldsPanel->children();
  EXPECT_GT(stack.indexOf(interlaced.field2View), stack.indexOf(interlaced.field1View));
}

TEST_F(MainWindowTest, AboutIsModalUntilOkAndCloseHidesThePreviews)
{
  AboutWindow& about = window().About();
  bool wasModal = false;
  // Runs inside the About window's own event loop.
  QTimer::singleShot(0, &about, [&] {
    wasModal = about.isVisible() && about.isModal();
    QTest::mouseClick(about.okButton, Qt::LeftButton);
  });
  c().aboutAction->trigger();
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);

  FieldPreviewWindow& field = window().FieldPreview();
  InterlacedPreviewWindow& interlaced = window().InterlacedPreview();
  const std::pair<QWidget*, QPushButton*> previews[] = {{&field, field.closeButton},
                                                        {&interlaced, interlaced.closeButton}};
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
  ASSERT_TRUE(preview.flickerTimer->isActive());
  EXPECT_EQ(preview.flickerTimer->interval(), 10);

  // Each tick shows one field and hides the other, in turn.
  preview.flickerTimer->stop();
  const bool firstBefore = preview.showFirstImage();
  for (int tick = 0; tick < 4; ++tick) {
    const bool showsFirst = preview.showFirstImage();
    preview.Tick();
    SCOPED_TRACE(tick);
    EXPECT_NE(preview.showFirstImage(), showsFirst);
    EXPECT_EQ(preview.field1View->isHidden(), !showsFirst);
    EXPECT_EQ(preview.field2View->isHidden(), showsFirst);
  }
  EXPECT_EQ(preview.showFirstImage(), firstBefore);

  // The running timer does the same while the window is shown or hidden.
  preview.flickerTimer->start();
  ShowCentredOn(&preview, &window());
  int flips = 0;
  bool firstHidden = preview.field1View->isHidden();
  QElapsedTimer clock;
  clock.start();
  while (flips < 4 && clock.elapsed() < 5000) {
    QTest::qWait(5);
    EXPECT_NE(preview.field1View->isHidden(), preview.field2View->isHidden());
    if (preview.field1View->isHidden() != firstHidden) {
      firstHidden = preview.field1View->isHidden();
      ++flips;
    }
  }
  EXPECT_EQ(flips, 4);
  preview.hide();
}

}  // namespace
}  // namespace pavona
