// Bringing pictures into the source frame: files through the open dialog,
// scrolling a larger picture, and the built-in test picture.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include "core/test_picture.h"
#include "io/picture_file.h"
#include "scripted_prompts.h"
#include "support/damaged_pictures.h"

namespace pavona {
namespace {

const QString DataDir = PAVONA_TEST_DATA_DIR;

// A picture larger than the frame whose every pixel tells where it is.
constexpr int WideWidth = 400;
constexpr int WideHeight = 260;
std::uint32_t WidePixel(int x, int y)
{
  return MakeColour(x & 0xFF, y & 0xFF, (x / 256) * 100 + (y / 256) * 50 + 7);
}

QString WriteWidePng(const QTemporaryDir& dir)
{
  QImage image(WideWidth, WideHeight, QImage::Format_RGB32);
  for (int y = 0; y < WideHeight; ++y) {
    for (int x = 0; x < WideWidth; ++x) {
      image.setPixel(x, y, 0xFF000000u | WidePixel(x, y));
    }
  }
  const QString path = dir.filePath("wide.png");
  EXPECT_TRUE(image.save(path));
  return path;
}

// The frame with the wide picture's top-left corner drawn at (left, top).
Picture WideFrame(int left, int top)
{
  Picture frame{};
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      frame[PixelIndex(x, y)] = WidePixel(x - left, y - top);
    }
  }
  return frame;
}

// A scroll bar holds the pan: how far the frame lies into the picture.
void ExpectScrollBar(const QScrollBar* bar, int maximum, int position)
{
  SCOPED_TRACE(bar->objectName().toStdString());
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), maximum);
  EXPECT_EQ(bar->value(), position);
}

TEST_F(ScriptedWindowTest, LoadingFilesShowsTheirFrameAndScrollsLargerOnes)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString coffee = DataDir + "/coffee_frame.jpg";
  const QString wide = WriteWidePng(dir);
  c().progressBar->setValue(55);

  // A JPEG of exactly the frame's size, from the button.
  prompts().answers = {coffee};
  ASSERT_TRUE(LoadAndWait());
  ASSERT_EQ(prompts().openQuestions.size(), 1);
  EXPECT_EQ(prompts().openQuestions[0], " | Pictures (*.jpg *.jpeg *.bmp *.png);;All files (*)");
  EXPECT_TRUE(prompts().errors.isEmpty());
  const PictureFileResult read = ReadPictureFile(coffee.toStdString());
  ASSERT_TRUE(read.Ok());
  ASSERT_EQ(read.picture.width, PictureWidth);
  ASSERT_EQ(read.picture.height, PictureHeight);
  Picture coffeeFrame;
  std::copy(read.picture.pixels.begin(), read.picture.pixels.end(), coffeeFrame.begin());
  EXPECT_EQ(DifferingPixels(*c().sourceView, coffeeFrame), 0);
  EXPECT_EQ(window().workspace().source, coffeeFrame);
  ExpectScrollBar(c().horizontalScroll, 0, 0);
  ExpectScrollBar(c().verticalScroll, 0, 0);
  EXPECT_TRUE(c().convertButton->isEnabled());
  EXPECT_EQ(c().progressBar->value(), 200);
  EXPECT_EQ(c().statusText->text(), "Loaded coffee_frame.jpg, 320 x 200, Cut-out 1:1");

  // A larger PNG, from the menu: the scroll bars reach its right and bottom
  // edges, and the frame shows its top-left corner.
  prompts().answers = {wide};
  QSignalSpy loaded(&window(), &MainWindow::PictureLoadFinished);
  c().openAction->trigger();
  ASSERT_TRUE(loaded.wait(60'000));
  EXPECT_EQ(prompts().openQuestions.size(), 2);
  ExpectScrollBar(c().horizontalScroll, WideWidth - PictureWidth, 0);
  ExpectScrollBar(c().verticalScroll, WideHeight - PictureHeight, 0);
  EXPECT_EQ(DifferingPixels(*c().sourceView, WideFrame(0, 0)), 0);
  EXPECT_EQ(c().statusText->text(),
            "Loaded wide.png, 400 x 260, Cut-out 1:1"
            "; the frame holds 61% of the photo: Fit or Fill show all of it");
  EXPECT_EQ(window().workspace().loaded.width, WideWidth);

  // Each scroll bar moves the cut-out; the working source picture waits for
  // "Convert" to read the frame as shown.
  c().horizontalScroll->setValue(80);
  EXPECT_EQ(DifferingPixels(*c().sourceView, WideFrame(-80, 0)), 0);
  c().verticalScroll->setValue(45);
  EXPECT_EQ(DifferingPixels(*c().sourceView, WideFrame(-80, -45)), 0);
  c().verticalScroll->setValue(60);
  EXPECT_EQ(DifferingPixels(*c().sourceView, WideFrame(-80, -60)), 0);
  EXPECT_EQ(window().workspace().source, WideFrame(0, 0));

  // The bars move the way the view goes: the right arrow shows more of the
  // picture's right side, the down arrow more of its bottom.
  c().horizontalScroll->setValue(40);
  c().verticalScroll->setValue(30);
  QTest::keyClick(c().horizontalScroll, Qt::Key_Right);
  EXPECT_GT(c().horizontalScroll->value(), 40);
  QTest::keyClick(c().verticalScroll, Qt::Key_Down);
  EXPECT_GT(c().verticalScroll->value(), 30);
  QTest::keyClick(c().verticalScroll, Qt::Key_Up);
  QTest::keyClick(c().verticalScroll, Qt::Key_Up);
  EXPECT_LT(c().verticalScroll->value(), 30);

  // A picture smaller than the frame: the rest of the frame is black, not
  // what the larger picture left there.
  prompts().answers = {DataDir + "/alpha.png"};
  ASSERT_TRUE(LoadAndWait());
  ASSERT_TRUE(prompts().errors.isEmpty());
  ExpectScrollBar(c().horizontalScroll, 0, 0);
  ExpectScrollBar(c().verticalScroll, 0, 0);
  const LoadedPicture& small = window().workspace().loaded;
  ASSERT_EQ(small.width, 13);
  ASSERT_EQ(small.height, 6);
  Picture smallFrame{};
  for (int y = 0; y < small.height; ++y) {
    for (int x = 0; x < small.width; ++x) {
      smallFrame[PixelIndex(x, y)] = small.pixels[y * small.width + x];
    }
  }
  EXPECT_EQ(DifferingPixels(*c().sourceView, smallFrame), 0);
  EXPECT_EQ(c().sourceView->PixelAt(200, 100), 0u);
}

TEST_F(ScriptedWindowTest, AFileThatCannotBeReadChangesNothing)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString wide = WriteWidePng(dir);
  prompts().answers = {wide};
  ASSERT_TRUE(LoadAndWait());
  c().horizontalScroll->setValue(30);
  c().progressBar->setValue(70);
  const QString status = c().statusText->text();

  struct Row {
    const char* file;
    const char* reason;  // a word of the reason the reader gives
  };
  const Row rows[] = {{"not_a_picture.txt", "not a JPEG, bitmap or PNG"}, {"truncated.jpg", ""}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    prompts().errors.clear();
    prompts().answers = {DataDir + "/" + row.file};
    ASSERT_TRUE(LoadAndWait());
    ASSERT_EQ(prompts().errors.size(), 1);
    EXPECT_TRUE(prompts().errors[0].contains(row.file)) << prompts().errors[0].toStdString();
    EXPECT_TRUE(prompts().errors[0].contains(row.reason)) << prompts().errors[0].toStdString();
    EXPECT_EQ(DifferingPixels(*c().sourceView, WideFrame(-30, 0)), 0);
    EXPECT_EQ(window().workspace().source, WideFrame(0, 0));
    EXPECT_EQ(window().workspace().loaded.width, WideWidth);
    ExpectScrollBar(c().horizontalScroll, WideWidth - PictureWidth, 30);
    EXPECT_EQ(c().statusText->text(), status);
    EXPECT_EQ(c().progressBar->value(), 70);
  }

  // A cancelled dialog does nothing either, and says nothing.
  prompts().errors.clear();
  prompts().answers = {QString()};
  Click(c().loadPictureButton);
  EXPECT_TRUE(prompts().errors.isEmpty());
  EXPECT_EQ(DifferingPixels(*c().sourceView, WideFrame(-30, 0)), 0);
  EXPECT_EQ(c().statusText->text(), status);
}

TEST_F(ScriptedWindowTest, TheTestPictureIsShownAtOnceAndKeepsTheLoadedPicture)
{
  // Nothing loaded: the test picture alone enables "Convert".
  ASSERT_FALSE(c().convertButton->isEnabled());
  Click(c().testPictureButton);
  EXPECT_EQ(DifferingPixels(*c().sourceView, TestPictureFrame()), 0);
  EXPECT_EQ(window().workspace().source, TestPictureFrame());
  ExpectScrollBar(c().horizontalScroll, 0, 0);
  ExpectScrollBar(c().verticalScroll, 0, 0);
  EXPECT_TRUE(c().convertButton->isEnabled());
  EXPECT_EQ(c().statusText->text(), "Loaded internal test image");

  // After a scrolled larger picture: the ranges close and the frame is the
  // test picture, not the loaded picture redrawn at the new positions.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  prompts().answers = {WriteWidePng(dir)};
  ASSERT_TRUE(LoadAndWait());
  c().horizontalScroll->setValue(50);
  c().verticalScroll->setValue(20);
  c().progressBar->setValue(90);
  Click(c().testPictureButton);
  ExpectScrollBar(c().horizontalScroll, 0, 0);
  ExpectScrollBar(c().verticalScroll, 0, 0);
  EXPECT_EQ(DifferingPixels(*c().sourceView, TestPictureFrame()), 0);
  EXPECT_EQ(c().progressBar->value(), 0);
  EXPECT_EQ(window().workspace().loaded.width, WideWidth);
}

// Runs `answer` on the modal widget of type T once it is up, again on every
// tick until it has closed: a file dialog reads its folder in the background
// and may not take a name before that is done.
template <typename T, typename Answer>
void AnswerModal(Answer answer)
{
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    if (modal == nullptr) {
      return;
    }
    answer(modal);
    if (!modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
}

// Types a name into a file dialog's name field and presses its default button.
void TypeFileName(QFileDialog* dialog, const QString& name)
{
  auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(edit, nullptr);
  edit->setText(name);
  QMetaObject::invokeMethod(dialog, "accept");
}

// The prompts the program really uses, answered like a person would.
TEST_F(MainWindowTest, StandardDialogsAskForFilesAndShowErrors)
{
  StandardPrompts prompts;
  const QString coffee = QDir(DataDir).absoluteFilePath("coffee_frame.jpg");
  QStringList filters;
  QString nameField;
  AnswerModal<QFileDialog>([&](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    if (nameField.isEmpty()) {
      nameField = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
    }
    TypeFileName(dialog, coffee);
  });
  EXPECT_EQ(prompts.AskOpenFileName(&window(), "*.jpg;*.bmp", "Pictures (*.jpg);;All files (*)"),
            coffee);
  EXPECT_EQ(filters, QStringList({"Pictures (*.jpg)", "All files (*)"}));
  EXPECT_EQ(nameField, "*.jpg;*.bmp");

  // Saving one file type: the dialog starts in the preset's folder with its
  // name, and adds the preset's extension to a name typed without one.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QString suffix = "unset";
  QString folderShown;
  AnswerModal<QFileDialog>([&](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    suffix = dialog->defaultSuffix();
    folderShown = dialog->directory().absolutePath();
    nameField = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
    TypeFileName(dialog, dir.filePath("picture"));
  });
  EXPECT_EQ(prompts.AskSaveFileName(&window(), dir.filePath("photo.raw"), "Raw Data file (*.raw)"),
            dir.filePath("picture.raw"));
  EXPECT_EQ(filters, QStringList({"Raw Data file (*.raw)"}));
  EXPECT_EQ(suffix, "raw");
  EXPECT_EQ(folderShown, QDir(dir.path()).absolutePath());
  EXPECT_EQ(nameField, "photo.raw");

  // Replacing a file is a question whose default answer is no.
  for (const bool yes : {false, true}) {
    AnswerModal<QMessageBox>([&](QMessageBox* box) {
      EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
      box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    EXPECT_EQ(prompts.AskReplace(&window(), dir.filePath("picture.raw")), yes);
  }

  // Saving with a choice of file types: the one chosen comes back with the
  // name as typed, and the name field starts with the preset name.
  QString presetShown;
  AnswerModal<QFileDialog>([&](QFileDialog* dialog) {
    filters = dialog->nameFilters();
    suffix = dialog->defaultSuffix();
    presetShown = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
    dialog->selectNameFilter("C64 program (*.prg)");
    TypeFileName(dialog, dir.filePath("choice"));
  });
  QString chosen;
  EXPECT_EQ(prompts.AskSaveFileChoice(&window(), "photo", "Art Studio (*.art);;C64 program (*.prg)",
                                      &chosen),
            dir.filePath("choice"));
  EXPECT_EQ(filters, QStringList({"Art Studio (*.art)", "C64 program (*.prg)"}));
  EXPECT_EQ(presetShown, "photo");
  EXPECT_EQ(suffix, "");
  EXPECT_EQ(chosen, "C64 program (*.prg)");

  QString title;
  QString text;
  AnswerModal<QMessageBox>([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    box->accept();
  });
  prompts.ShowError(&window(), "cannot read x.jpg: broken");
  EXPECT_EQ(title, "Pavona Hi-FLI Convertor");
  EXPECT_EQ(text, "cannot read x.jpg: broken");
}

// Damage the reader tolerates is loaded, with the reader's warning in the
// status line where the user sees it.
TEST_F(ScriptedWindowTest, ToleratedDamageIsLoadedWithItsWarningShown)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile whole(DataDir + "/baseline.jpg");
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray bytes = whole.readAll();
  const std::vector<std::uint8_t> damaged =
      test::JpegWithStrayBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  const QString path = dir.filePath("stray.jpg");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(damaged.data()), qsizetype(damaged.size()));
  file.close();

  prompts().answers = {path, DataDir + "/baseline.jpg"};
  ASSERT_TRUE(LoadAndWait());
  EXPECT_TRUE(prompts().errors.isEmpty());
  EXPECT_TRUE(c().convertButton->isEnabled());
  const QString status = c().statusText->text();
  EXPECT_TRUE(status.startsWith("Loaded stray.jpg, 48 x 32, Cut-out 1:1 (warning: "))
      << status.toStdString();
  EXPECT_TRUE(status.contains("3 extraneous bytes")) << status.toStdString();
  EXPECT_TRUE(status.endsWith(")"));
  // A whole file keeps the plain status.
  ASSERT_TRUE(LoadAndWait());
  EXPECT_EQ(c().statusText->text(), "Loaded baseline.jpg, 48 x 32, Cut-out 1:1");
}

}  // namespace
}  // namespace pavona
