// Bringing a picture into the 320 x 200 source frame: from a file, with the
// scroll bars choosing the cut-out of a larger picture, or the built-in test
// picture.
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "core/source_frame.h"
#include "core/test_picture.h"
#include "gui/main_window.h"
#include "gui/picture_view.h"
#include "gui/user_prompts.h"
#include "io/palette_file.h"
#include "io/picture_file.h"

namespace pavona {
namespace {

// Sets a scroll bar's range and puts it at 0 without running its change
// handler: the caller shows the new frame itself.
void ResetScrollBar(QScrollBar* scrollBar, ScrollRange range)
{
  const QSignalBlocker blocker(scrollBar);
  scrollBar->setRange(range.minimum, range.maximum);
  scrollBar->setValue(0);
  scrollBar->setEnabled(true);
}

}  // namespace

void MainWindow::ShowSourceFrame(const Picture& frame)
{
  workspace_->source = frame;
  ui_.sourceView->ShowPicture(frame);
  emit SourceFrameChanged();
}

void MainWindow::LoadPictureFile()
{
  if (ConversionRunning()) {
    return;
  }
  const QString path = prompts_->AskOpenFileName(
      this, "*.jpg;*.bmp", "Pictures (*.jpg *.jpeg *.bmp *.png);;All files (*)");
  if (!path.isEmpty()) {
    OpenPicture(path);
  }
}

// A file that cannot be read leaves everything as it was and says why.
void MainWindow::OpenPicture(const QString& path)
{
  if (ConversionRunning()) {
    return;
  }
  PictureFileResult read = ReadPictureFile(QFile::encodeName(path).toStdString());
  if (!read.Ok()) {
    prompts_->ShowError(this, QString::fromStdString(read.error));
    return;
  }
  workspace_->loaded = std::move(read.picture);
  const LoadedPicture& loaded = workspace_->loaded;

  const MainWindowControls& c = ui_;
  c.progressBar->setValue(0);
  const SourceScrollRanges ranges = ScrollRangesForPicture(loaded.width, loaded.height);
  ResetScrollBar(c.horizontalScroll, ranges.horizontal);
  ResetScrollBar(c.verticalScroll, ranges.vertical);
  ShowSourceFrame(FrameFromPicture(loaded, 0, 0));
  c.convertButton->setEnabled(true);
  loadedPath_ = path;
  // Damage the reader tolerated stays in sight until the next status.
  QString status = "Loaded " + path;
  for (const std::string& warning : read.warnings) {
    status += " (warning: " + QString::fromStdString(warning) + ")";
  }
  SetStatusText(status);
}

// A palette file that cannot be read changes nothing and says why; one that
// is read selects "Custom" with its colours, like a built-in palette.
void MainWindow::LoadPaletteFile()
{
  if (ConversionRunning()) {
    return;
  }
  const QString path = prompts_->AskOpenFileName(this, "*.vpl", "VICE palette (*.vpl)");
  if (path.isEmpty()) {
    return;
  }
  const PaletteFileResult read = ReadPaletteFile(QFile::encodeName(path).toStdString());
  if (!read.Ok()) {
    prompts_->ShowError(this, QString::fromStdString(read.error));
    return;
  }
  customPalette_ = read.colours;
  QRadioButton* custom = ui_.paletteButtons.custom;
  custom->setEnabled(true);
  custom->setToolTip(path);
  if (custom->isChecked()) {
    SelectPalette();  // already selected: only its colours are new
  } else {
    custom->setChecked(true);
  }
  SetStatusText("Loaded palette " + path);
  emit PaletteFileRead();
}

// The loaded picture is kept: the test picture is no source for scrolling,
// and both ranges are 0..0.
void MainWindow::LoadTestPicture()
{
  if (ConversionRunning()) {
    return;
  }
  const MainWindowControls& c = ui_;
  ResetScrollBar(c.horizontalScroll, {});
  ResetScrollBar(c.verticalScroll, {});
  ShowSourceFrame(TestPictureFrame());
  c.progressBar->setValue(0);
  c.convertButton->setEnabled(true);
  SetStatusText("Loaded internal test image");
}

// Only the shown frame changes; "Convert" takes the frame as shown.
void MainWindow::ScrollSource()
{
  ui_.sourceView->ShowPicture(FrameFromPicture(workspace_->loaded, ui_.horizontalScroll->value(),
                                               ui_.verticalScroll->value()));
  emit SourceFrameChanged();
}

}  // namespace pavona
