// Bringing a picture into the 320 x 200 source frame: from a file, read on a
// thread of its own and placed as the "Placement" group says, or the built-in
// test picture.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "core/test_picture.h"
#include "gui/main_window.h"
#include "gui/picture_loader.h"
#include "gui/picture_view.h"
#include "gui/remembered_state.h"
#include "gui/user_prompts.h"
#include "io/palette_file.h"

namespace pavona {

void MainWindow::ShowSourceFrame(const Picture& frame)
{
  workspace_->source = frame;
  ui_.sourceView->ShowPicture(frame);
  emit SourceFrameChanged();
}

bool MainWindow::PictureLoading() const
{
  return loader_ != nullptr && loader_->Busy();
}

void MainWindow::LoadPictureFile()
{
  if (ConversionRunning() || PictureLoading()) {
    return;
  }
  const QString path =
      prompts_->AskOpenFileName(this, InFolder(RememberedFolder(DialogFolder::Open), "*.jpg;*.bmp"),
                                "Pictures (*.jpg *.jpeg *.bmp *.png);;All files (*)");
  if (!path.isEmpty()) {
    OpenPicture(path);
  }
}

// A second picture never mixes with one still being read: it is refused and
// the status line says why.
void MainWindow::OpenPicture(const QString& path)
{
  if (ConversionRunning()) {
    return;
  }
  if (PictureLoading()) {
    SetStatusText("Still loading a picture: open " + QFileInfo(path).fileName() +
                  " when it is shown");
    return;
  }
  StartLoading(path, true);
}

// A file that cannot be read leaves everything as it was and says why.
void MainWindow::StartLoading(const QString& path, bool newPicture)
{
  LoadRequest request;
  request.path = QFile::encodeName(path).toStdString();
  request.placement = placement_->Current();
  request.newPicture = newPicture;
  if (newPicture) {
    request.placement.scalePercent = 0;  // the old picture's zoom means nothing for this one
  }
  const int progressBefore = ui_.progressBar->value();
  LockForLoading(true);
  loader_->Start(std::move(request),
                 [this, path, newPicture, progressBefore](LoadOutcome& outcome) {
                   if (!outcome.read.Ok()) {
                     ui_.progressBar->setValue(progressBefore);
                   }
                   FinishLoading(path, newPicture, outcome);
                 });
}

void MainWindow::FinishLoading(const QString& path, bool newPicture, LoadOutcome& outcome)
{
  LockForLoading(false);
  if (!outcome.read.Ok()) {
    const QString error = QString::fromStdString(outcome.read.error);
    if (newPicture) {
      prompts_->ShowError(this, error);
    } else {
      SetStatusText(error);  // the picture decoded before stays
    }
    emit PictureLoadFinished();
    return;
  }
  workspace_->loaded = std::move(outcome.read.picture);
  const LoadedPicture& loaded = workspace_->loaded;
  const QSize fileSize(FileWidthOf(loaded), FileHeightOf(loaded));
  // A file read again for a zoom keeps its placement, unless it has changed
  // size since: then it is placed as a new picture.
  const bool fresh = newPicture || placement_->FileSize() != fileSize;
  if (fresh) {
    loadedPath_ = path;
    RememberFolderOf(DialogFolder::Open, path);
    loadWarnings_ = outcome.read.warnings;
    fileShown_ = true;
    placement_->StartPicture(fileSize.width(), fileSize.height());
  }
  const Placement placement = placement_->Current();
  const Picture frame =
      placement == outcome.placement ? outcome.frame : PlacePicture(loaded, placement);
  if (fresh) {
    ShowSourceFrame(frame);
  } else {
    ui_.sourceView->ShowPicture(frame);  // "Convert" takes the frame as shown
    emit SourceFrameChanged();
  }
  ui_.progressBar->setValue(LoadPlacedProgress);
  ui_.convertButton->setEnabled(true);
  ShowLoadedStatus();
  emit PictureLoadFinished();
  ReloadIfDecodedTooSmall();
}

// Nothing else may load a file or convert while a file is read; the buttons
// come back as they were ("Convert" is enabled by a picture that was read).
void MainWindow::LockForLoading(bool locked)
{
  if (locked) {
    convertEnabledBeforeLoading_ = ui_.convertButton->isEnabled();
  }
  ui_.convertButton->setEnabled(!locked && convertEnabledBeforeLoading_);
  ui_.loadPictureButton->setEnabled(!locked);
  ui_.testPictureButton->setEnabled(!locked);
  ui_.openAction->setEnabled(!locked);
}

void MainWindow::ShowLoadedStatus()
{
  if (!fileShown_) {
    return;
  }
  const LoadedPicture& loaded = workspace_->loaded;
  QString status = QString("Loaded %1, %2 x %3, %4")
                       .arg(QFileInfo(loadedPath_).fileName())
                       .arg(FileWidthOf(loaded))
                       .arg(FileHeightOf(loaded))
                       .arg(placement_->Description());
  // Damage the reader tolerated stays in sight until the next status.
  for (const std::string& warning : loadWarnings_) {
    status += " (warning: " + QString::fromStdString(warning) + ")";
  }
  SetStatusText(status);
}

// Only the shown frame changes; "Convert" takes the frame as shown.
void MainWindow::ShowPlacedFrame()
{
  if (!fileShown_ || ConversionRunning()) {
    return;
  }
  ui_.sourceView->ShowPicture(PlacePicture(workspace_->loaded, placement_->Current()));
  emit SourceFrameChanged();
  ReloadIfDecodedTooSmall();
}

// The frame shows the smaller picture meanwhile; a zoom that goes on while
// the file is read is caught up when it arrives.
void MainWindow::ReloadIfDecodedTooSmall()
{
  if (!fileShown_ || PictureLoading() || ConversionRunning() ||
      DecodedLargeEnough(workspace_->loaded, placement_->Current())) {
    return;
  }
  StartLoading(loadedPath_, false);
}

// A palette file that cannot be read changes nothing and says why; one that
// is read selects "Custom" with its colours, like a built-in palette.
void MainWindow::LoadPaletteFile()
{
  if (ConversionRunning()) {
    return;
  }
  const QString path = prompts_->AskOpenFileName(
      this, InFolder(RememberedFolder(DialogFolder::Open), "*.vpl"), "VICE palette (*.vpl)");
  if (path.isEmpty()) {
    return;
  }
  const PaletteFileResult read = ReadPaletteFile(QFile::encodeName(path).toStdString());
  if (!read.Ok()) {
    prompts_->ShowError(this, QString::fromStdString(read.error));
    return;
  }
  RememberFolderOf(DialogFolder::Open, path);
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
  if (ConversionRunning() || PictureLoading()) {
    return;
  }
  const MainWindowControls& c = ui_;
  fileShown_ = false;
  placement_->ForgetPicture();
  ShowSourceFrame(TestPictureFrame());
  c.progressBar->setValue(0);
  c.convertButton->setEnabled(true);
  SetStatusText("Loaded internal test image");
}

}  // namespace pavona
