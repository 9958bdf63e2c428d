// The "Placement" group, the scroll bars and the mouse on the source view
// place a loaded picture in the frame; files are read off the window's thread.
#include "framing/placement.h"

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "gui/placement_panel.h"
#include "io/picture_file.h"
#include "scripted_prompts.h"
#include "support/jpeg_encoding.h"
#include "support/synthetic_pictures.h"

namespace pavona {
namespace {

const QString DataDir = PAVONA_TEST_DATA_DIR;

// A picture with no black pixel whose every pixel tells where it is.
std::uint32_t PlacePixel(int x, int y)
{
  return MakeColour(40 + x % 200, 40 + y % 200, 40 + (x / 200 + y / 200) % 200);
}

QString WritePicture(const QTemporaryDir& dir, const QString& name, int width, int height)
{
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.setPixel(x, y, 0xFF000000u | PlacePixel(x, y));
    }
  }
  const QString path = dir.filePath(name);
  EXPECT_TRUE(image.save(path));
  return path;
}

bool ColumnBlack(const PictureView& view, int x)
{
  for (int y = 0; y < PictureHeight; ++y) {
    if (view.PixelAt(x, y) != 0) {
      return false;
    }
  }
  return true;
}

bool RowBlack(const PictureView& view, int y)
{
  for (int x = 0; x < PictureWidth; ++x) {
    if (view.PixelAt(x, y) != 0) {
      return false;
    }
  }
  return true;
}

class PlacementTest : public ScriptedWindowTest {
 protected:
  void SetUp() override
  {
    ScriptedWindowTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
  }

  QString Write(const QString& name, int width, int height)
  {
    return WritePicture(dir_, name, width, height);
  }

  bool Open(const QString& path)
  {
    QSignalSpy finished(&window(), &MainWindow::PictureLoadFinished);
    window().OpenPicture(path);
    return finished.wait(60'000) && WaitForReloads();
  }

  // A zoom may have the file read again at a larger size.
  bool WaitForReloads()
  {
    for (int tries = 0; tries < 20 && window().PictureLoading(); ++tries) {
      QSignalSpy finished(&window(), &MainWindow::PictureLoadFinished);
      if (!finished.wait(60'000)) {
        return false;
      }
    }
    return !window().PictureLoading();
  }

  const PlacementControls& p() const { return c().placement; }
  const PictureView& view() const { return *c().sourceView; }

 private:
  QTemporaryDir dir_;
};

// Fit shows the whole picture with black beside its short sides; Fill covers
// the frame. A landscape photo and a portrait one, as the user picks them.
TEST_F(PlacementTest, PlacementButtonsPlaceTheFrame)
{
  const QString landscape = DataDir + "/coffee_frame.jpg";  // 320 x 200: PAL pixels leave rows
  const QString portrait = Write("portrait.png", 300, 900);

  struct Row {
    const char* name;
    QString path;
    QRadioButton* button;
    bool blackColumns;  // at the left and right edges
    bool blackRows;     // at the top and bottom edges
  };
  Click(c().modeButtons.hiresStandard);  // the whole frame is shown
  const Row rows[] = {
      {"landscape fit", landscape, p().fit, false, true},
      {"landscape fill", landscape, p().fill, false, false},
      {"portrait fit", portrait, p().fit, true, false},
      {"portrait fill", portrait, p().fill, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    row.button->setChecked(true);
    ASSERT_TRUE(Open(row.path));
    EXPECT_EQ(ColumnBlack(view(), 0), row.blackColumns);
    EXPECT_EQ(ColumnBlack(view(), PictureWidth - 1), row.blackColumns);
    EXPECT_EQ(RowBlack(view(), 0), row.blackRows);
    EXPECT_EQ(RowBlack(view(), PictureHeight - 1), row.blackRows);
    // The middle of the frame always shows the picture.
    EXPECT_NE(view().PixelAt(PictureWidth / 2, PictureHeight / 2), 0u);
    EXPECT_TRUE(p().zoomSlider->isEnabled());
    EXPECT_EQ(window().workspace().source, view().ShownPicture());
  }
  EXPECT_TRUE(c().statusText->text().startsWith("Loaded portrait.png, 300 x 900, Fill"))
      << c().statusText->text().toStdString();

  // Back to the cut-out: the file's own pixels from its top-left corner, read
  // whole again, and the zoom has nothing to do.
  QSignalSpy frames(&window(), &MainWindow::SourceFrameChanged);
  p().cutout->setChecked(true);
  ASSERT_TRUE(WaitForReloads());
  EXPECT_GE(frames.count(), 1);
  EXPECT_EQ(window().workspace().loaded.width, 300);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{299, 199}, std::pair{150, 77}}) {
    EXPECT_EQ(view().PixelAt(x, y), PlacePixel(x, y)) << x << "," << y;
  }
  EXPECT_TRUE(ColumnBlack(view(), PictureWidth - 1));  // narrower than the frame
  EXPECT_FALSE(p().zoomSlider->isEnabled());
  EXPECT_EQ(c().statusText->text(),
            "Loaded portrait.png, 300 x 900, Cut-out 1:1"
            "; the frame holds 22% of the photo: Fit or Fill show all of it");
}

// In the FLI modes Fit and Fill place the picture into the columns and rows
// the C64 shows, anew when the mode changes; "As the C64 shows it" blacks out
// the rest of the result, and Export PNG writes it so.
TEST_F(PlacementTest, FitAndTheResultFollowWhatTheModeShows)
{
  Click(c().modeButtons.hiresStandard);
  p().fit->setChecked(true);
  ASSERT_TRUE(Open(Write("portrait.png", 300, 900)));
  EXPECT_FALSE(ColumnBlack(view(), 130));  // 71 columns from 124 on
  Click(c().modeButtons.hiresFli);
  ASSERT_TRUE(WaitForReloads());
  // 300 x 900 fitted into 296 x 197 with PAL pixels is 70 wide, centred at
  // 24 + 113.
  for (const auto& [x, black] :
       {std::pair{130, true}, std::pair{135, true}, std::pair{139, false}, std::pair{204, false}}) {
    EXPECT_EQ(ColumnBlack(view(), x), black) << x;
  }
  EXPECT_TRUE(RowBlack(view(), PictureHeight - 1));
  // The fitted picture is at the lowest zoom offered.
  EXPECT_EQ(p().zoomSlider->minimum(), p().zoomField->value());

  // The sprite column of fields with colours of their own hides the same
  // columns; the test picture covers the whole frame.
  Click(c().modeButtons.hiresInterlaced);
  Click(c().testPictureButton);
  ASSERT_TRUE(ConvertAndWait());
  const Picture whole = c().resultView->ShownPicture();
  c().shownOnlyAction->setChecked(true);
  const Picture shown = c().resultView->ShownPicture();
  int hiddenAndLit = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const int i = PixelIndex(x, y);
      EXPECT_EQ(shown[i], x < 24 ? 0u : whole[i]) << x << "," << y;
      hiddenAndLit += x < 24 && whole[i] != 0;
    }
  }
  EXPECT_GT(hiddenAndLit, 0);
}

// Every control that moves the view moves it the way it points: the arrows,
// the trough and the keys of both bars, in the cut-out and in a scaled frame.
TEST_F(PlacementTest, ScrollBarsMoveTheViewTheWayTheyPoint)
{
  const QString big = Write("big.png", 900, 700);
  struct Row {
    const char* name;
    QRadioButton* button;
    int zoom;  // 0: the placement's own; Fill covers one side exactly
  };
  for (const Row& row : {Row{"cut-out", p().cutout, 0}, Row{"fill at 80 %", p().fill, 80}}) {
    SCOPED_TRACE(row.name);
    row.button->setChecked(true);
    ASSERT_TRUE(Open(big));
    if (row.zoom > 0) {
      p().zoomField->setValue(row.zoom);
      ASSERT_TRUE(WaitForReloads());
    }
    for (QScrollBar* bar : {c().horizontalScroll, c().verticalScroll}) {
      SCOPED_TRACE(bar->objectName().toStdString());
      const bool across = bar == c().horizontalScroll;
      ASSERT_GT(bar->maximum(), bar->minimum() + bar->pageStep() + 1);
      bar->setValue(bar->minimum());  // the left or top edge in view

      // One step shows one more frame pixel of the right or bottom side.
      const Picture before = view().ShownPicture();
      bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      EXPECT_EQ(bar->value(), bar->minimum() + 1);
      const Picture after = view().ShownPicture();
      int shifted = 0;
      for (int y = 0; y + 1 < PictureHeight; ++y) {
        for (int x = 0; x + 1 < PictureWidth; ++x) {
          shifted += across ? after[PixelIndex(x, y)] == before[PixelIndex(x + 1, y)]
                            : after[PixelIndex(x, y)] == before[PixelIndex(x, y + 1)];
        }
      }
      EXPECT_GT(shifted, (PictureWidth - 1) * (PictureHeight - 1) * 99 / 100);
      bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      EXPECT_EQ(bar->value(), bar->minimum() + 1 + bar->pageStep());

      // Real clicks with the handle at the start: on the arrow at the far
      // end, in the trough after the handle; then before it from the end.
      bar->setValue(bar->minimum());
      const QPoint farArrow = across ? QPoint(bar->width() - 3, bar->height() / 2)
                                     : QPoint(bar->width() / 2, bar->height() - 3);
      QTest::mouseClick(bar, Qt::LeftButton, {}, farArrow);
      EXPECT_EQ(bar->value(), bar->minimum() + 1);
      const QPoint farTrough = across ? QPoint(bar->width() * 3 / 4, bar->height() / 2)
                                      : QPoint(bar->width() / 2, bar->height() * 3 / 4);
      QTest::mouseClick(bar, Qt::LeftButton, {}, farTrough);
      EXPECT_GT(bar->value(), bar->minimum() + 1);
      bar->setValue(bar->maximum());
      const QPoint nearTrough = across ? QPoint(bar->width() / 4, bar->height() / 2)
                                       : QPoint(bar->width() / 2, bar->height() / 4);
      QTest::mouseClick(bar, Qt::LeftButton, {}, nearTrough);
      EXPECT_LT(bar->value(), bar->maximum());

      // The keys: right and down show more of the right and bottom.
      bar->setValue(bar->minimum() + 10);
      QTest::keyClick(bar, across ? Qt::Key_Right : Qt::Key_Down);
      EXPECT_EQ(bar->value(), bar->minimum() + 11);
      QTest::keyClick(bar, across ? Qt::Key_Left : Qt::Key_Up);
      QTest::keyClick(bar, across ? Qt::Key_Left : Qt::Key_Up);
      EXPECT_EQ(bar->value(), bar->minimum() + 9);
    }
  }
}

// Dragging the picture moves it with the mouse; the wheel zooms around the
// point under the mouse, between the whole picture and 1:1.
TEST_F(PlacementTest, DraggingPansAndTheWheelZooms)
{
  const QString big = Write("big.png", 900, 700);
  ASSERT_TRUE(Open(big));  // cut-out
  QSignalSpy frames(&window(), &MainWindow::SourceFrameChanged);
  QWidget* source = c().sourceView;
  QTest::mousePress(source, Qt::LeftButton, {}, QPoint(200, 120));
  QTest::mouseMove(source, QPoint(170, 100));
  QTest::mouseRelease(source, Qt::LeftButton, {}, QPoint(170, 100));
  EXPECT_EQ(c().horizontalScroll->value(), 30);
  EXPECT_EQ(c().verticalScroll->value(), 20);
  EXPECT_EQ(view().PixelAt(0, 0), PlacePixel(30, 20));
  EXPECT_GE(frames.count(), 1);

  // The wheel does not zoom a cut-out, which is always 1:1.
  const auto wheel = [source](QPoint at, int notches) {
    QWheelEvent event(at, source->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(source, &event);
  };
  wheel(QPoint(160, 100), 1);
  EXPECT_EQ(p().zoomField->value(), 100);

  p().fit->setChecked(true);
  ASSERT_TRUE(WaitForReloads());
  const int fitted = p().zoomField->value();
  EXPECT_EQ(fitted, p().zoomSlider->minimum());
  EXPECT_LT(fitted, 100);
  EXPECT_EQ(p().zoomSlider->maximum(), 100);
  // Zooming in around the top-left corner keeps it in place.
  wheel(QPoint(0, 0), 3);
  ASSERT_TRUE(WaitForReloads());
  EXPECT_GT(p().zoomField->value(), fitted);
  EXPECT_EQ(p().zoomSlider->value(), p().zoomField->value());
  EXPECT_EQ(c().horizontalScroll->value(), 0);
  EXPECT_EQ(c().verticalScroll->value(), 0);
  EXPECT_FALSE(RowBlack(view(), 0));
  // Dragging now pans the scaled picture, in frame pixels.
  QTest::mousePress(source, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(source, QPoint(90, 95));
  QTest::mouseRelease(source, Qt::LeftButton, {}, QPoint(90, 95));
  EXPECT_EQ(c().horizontalScroll->value(), 10);
  EXPECT_EQ(c().verticalScroll->value(), 5);
  // Far out stops at the whole picture.
  wheel(QPoint(160, 100), -30);
  ASSERT_TRUE(WaitForReloads());
  EXPECT_EQ(p().zoomField->value(), fitted);
}

// A zoom past what was decoded reads the file again, larger.
TEST_F(PlacementTest, ZoomingInReadsAReducedJpegAgain)
{
  QImage photo(2400, 1600, QImage::Format_RGB32);
  photo.fill(QColor(90, 140, 200));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("photo.jpg");
  ASSERT_TRUE(photo.save(path, "JPG", 90));
  p().fit->setChecked(true);
  ASSERT_TRUE(Open(path));
  const LoadedPicture& loaded = window().workspace().loaded;
  EXPECT_LT(loaded.width, 2400);  // decoded at a reduced size
  EXPECT_EQ(FileWidthOf(loaded), 2400);
  p().zoomField->setValue(100);
  EXPECT_TRUE(window().PictureLoading());
  ASSERT_TRUE(WaitForReloads());
  EXPECT_EQ(loaded.width, 2400);
  EXPECT_EQ(p().zoomField->value(), 100);
  EXPECT_TRUE(c().convertButton->isEnabled());
}

// While a file is read the window answers, but nothing mixes with it: no
// second picture, no conversion; the progress bar moves.
TEST_F(PlacementTest, ASecondLoadWaitsForTheFirst)
{
  const QString first = Write("first.png", 2000, 1500);
  const QString second = Write("second.png", 400, 300);
  Click(c().testPictureButton);
  QSignalSpy finished(&window(), &MainWindow::PictureLoadFinished);
  QSignalSpy progress(c().progressBar, &QProgressBar::valueChanged);
  prompts().answers = {first};
  Click(c().loadPictureButton);
  ASSERT_TRUE(window().PictureLoading());
  EXPECT_GT(c().progressBar->value(), 0);
  EXPECT_LT(c().progressBar->value(), 200);
  EXPECT_FALSE(c().convertButton->isEnabled());
  EXPECT_FALSE(c().loadPictureButton->isEnabled());
  EXPECT_FALSE(c().testPictureButton->isEnabled());
  EXPECT_FALSE(c().openAction->isEnabled());
  window().OpenPicture(second);
  EXPECT_TRUE(c().statusText->text().startsWith("Still loading"))
      << c().statusText->text().toStdString();
  Click(c().convertButton);
  EXPECT_FALSE(window().ConversionRunning());

  ASSERT_TRUE(finished.wait(60'000));
  EXPECT_EQ(finished.count(), 1);
  EXPECT_FALSE(window().PictureLoading());
  EXPECT_EQ(window().workspace().loaded.width, 2000);
  EXPECT_EQ(c().statusText->text(),
            "Loaded first.png, 2000 x 1500, Cut-out 1:1"
            "; the frame holds 2% of the photo: Fit or Fill show all of it");
  // Started, decoded, placed.
  QList<int> steps;
  for (const QList<QVariant>& change : progress) {
    steps << change[0].toInt();
  }
  ASSERT_EQ(steps.size(), 3);
  EXPECT_LT(steps[0], steps[1]);
  EXPECT_LT(steps[1], steps[2]);
  EXPECT_EQ(steps[2], 200);
  EXPECT_TRUE(c().convertButton->isEnabled());
  EXPECT_TRUE(c().loadPictureButton->isEnabled());
  EXPECT_TRUE(c().openAction->isEnabled());
}

// A window closed while its file is read waits for the reader and drops
// what it would have shown: the read's queued calls are delivered to no one.
TEST(PictureLoadingTest, ClosingTheWindowWhileLoadingIsSafe)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = WritePicture(dir, "large.png", 2000, 1500);
  auto window = std::make_unique<MainWindow>();
  window->show();
  window->OpenPicture(path);
  ASSERT_TRUE(window->PictureLoading());
  window.reset();
  QCoreApplication::sendPostedEvents();
}

// The frame the command line places for the same file and placement.
Picture CommandLineFrame(const QString& photo, const QString& fit, int zoom, int panX, int panY,
                         const QString& folder)
{
  const QString png = folder + "/frame.png";
  QFile::remove(png);
  QStringList arguments = {photo, "--mode", "hires", "--fit", fit, "--frame-png", png, "--quiet"};
  if (zoom > 0) {
    arguments << "--scale" << QString::number(zoom);
  }
  arguments << "--offset" << QString("%1,%2").arg(panX).arg(panY);
  QProcess cli;
  cli.start(PAVONA_CLI_PATH, arguments);
  EXPECT_TRUE(cli.waitForFinished(60'000));
  EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
  const PictureFileResult read = ReadPictureFile(QFile::encodeName(png).toStdString());
  Picture frame{};
  if (read.Ok() && read.picture.pixels.size() == frame.size()) {
    std::copy(read.picture.pixels.begin(), read.picture.pixels.end(), frame.begin());
  }
  return frame;
}

// One file and one placement give one frame, whatever was clicked first: a
// large JPEG opened as a cut-out (read whole) and then fitted is read again
// the way a picture opened fitted is, and the command line agrees.
TEST_F(PlacementTest, TheFrameDependsOnTheFileAndPlacementNotTheOrderOfClicks)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString photo = dir.filePath("photo.jpg");
  {
    const std::vector<std::uint8_t> bytes =
        test::EncodeJpeg(testing::NoisePicture(2400, 1600, 5), 85);
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
  }
  struct Row {
    const char* fit;
    QRadioButton* button;
    int zoom;  // 0: the placement's own scale
  };
  const Row rows[] = {
      {"fit", p().fit, 0}, {"fill", p().fill, 0}, {"fit", p().fit, 30}, {"fill", p().fill, 55}};
  Click(c().modeButtons.hiresStandard);  // the whole frame is shown
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.fit) + " " + std::to_string(row.zoom));
    const auto choose = [&] {
      row.button->setChecked(true);
      if (row.zoom > 0) {
        p().zoomField->setValue(row.zoom);
      }
      return WaitForReloads();
    };
    p().cutout->setChecked(true);
    ASSERT_TRUE(Open(photo));
    ASSERT_TRUE(choose());
    const Picture openedFirst = view().ShownPicture();
    const int panX = c().horizontalScroll->value(), panY = c().verticalScroll->value();

    p().cutout->setChecked(true);
    ASSERT_TRUE(WaitForReloads());
    ASSERT_TRUE(choose());
    ASSERT_TRUE(Open(photo));
    if (row.zoom > 0) {
      ASSERT_TRUE(choose());  // a new picture starts at its own scale
    }
    EXPECT_EQ(view().ShownPicture(), openedFirst);
    EXPECT_EQ(CommandLineFrame(photo, row.fit, row.zoom, panX, panY, dir.path()), openedFirst);
  }
}

}  // namespace
}  // namespace pavona
