// Bringing a picture into the 320 x 200 source frame: from a file, with the
// scroll bars choosing the cut-out of a larger picture, or the built-in test
// picture.
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "core/source_frame.h"
#include "core/test_picture.h"
#include "gui/main_window.h"
#include "gui/picture_view.h"
#include "gui/user_prompts.h"
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
  ui_.Image2->ShowPicture(frame);
}

// A file that cannot be read leaves everything as it was and says why.
void MainWindow::LoadPictureFile()
{
  if (ConversionRunning()) {
    return;
  }
  const QString path = prompts_->AskOpenFileName(
      this, "*.jpg;*.bmp", "Pictures (*.jpg *.jpeg *.bmp *.png);;All files (*)");
  if (path.isEmpty()) {
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
  c.ProgressBar1->setValue(0);
  const SourceScrollRanges ranges = ScrollRangesForPicture(loaded.width, loaded.height);
  ResetScrollBar(c.ScrollBar1, ranges.horizontal);
  ResetScrollBar(c.ScrollBar2, ranges.vertical);
  ShowSourceFrame(FrameFromPicture(loaded, 0, 0));
  c.BitBtn1->setEnabled(true);
  SetStatusText("Loaded " + path);
}

// The loaded picture is kept: the test picture is no source for scrolling,
// and both ranges are 0..0.
void MainWindow::LoadTestPicture()
{
  if (ConversionRunning()) {
    return;
  }
  const MainWindowControls& c = ui_;
  ResetScrollBar(c.ScrollBar1, {});
  ResetScrollBar(c.ScrollBar2, {});
  ShowSourceFrame(TestPictureFrame());
  c.ProgressBar1->setValue(0);
  c.BitBtn1->setEnabled(true);
  SetStatusText("Loaded internal test image");
}

// Only the shown frame changes; "Convert" takes the frame as shown.
void MainWindow::ScrollSource()
{
  ui_.Image2->ShowPicture(
      FrameFromPicture(workspace_->loaded, ui_.ScrollBar1->value(), ui_.ScrollBar2->value()));
}

}  // namespace pavona
