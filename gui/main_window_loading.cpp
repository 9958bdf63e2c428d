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
#include "gui/picture_load_controller.h"
#include "gui/picture_view.h"
#include "gui/remembered_state.h"
#include "gui/user_prompts.h"
#include "io/palette_file.h"

namespace pavona {

void MainWindow::ShowSourceFrame(const Picture& frame)
{
  workspace().source = frame;
  ui_.sourceView->ShowPicture(frame);
  emit SourceFrameChanged();
}

bool MainWindow::PictureLoading() const
{
  return loads_->Busy();
}

void MainWindow::LoadPictureFile()
{
  if (ConversionRunning() || PictureLoading()) {
    return;
  }
  const QString path =
      prompts_->AskOpenFileName(this, InFolder(RememberedFolder(DialogFolder::Open), ""),
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
  loads_->Open(path, placement_->Current());
}

// A file that cannot be read leaves everything as it was and says why.
void MainWindow::ShowReadFailure(const QString& error, bool newPicture)
{
  ui_.progressBar->setValue(progressBeforeLoading_);
  if (newPicture) {
    ShowError(error);
  } else {
    SetStatusText(error);  // the picture decoded before stays
  }
  emit PictureLoadFinished();
}

void MainWindow::ShowPictureRead(const QString& path, bool fresh, const Placement& placement,
                                 const Picture& frame)
{
  const LoadedPicture& loaded = workspace().loaded;
  if (fresh) {
    RememberFolderOf(DialogFolder::Open, path);
    placement_->StartPicture(FileWidthOf(loaded), FileHeightOf(loaded));
  }
  // The placement may have changed while the file was read.
  const Placement current = placement_->Current();
  const Picture shown = current == placement ? frame : PlacePicture(loaded, current);
  if (fresh) {
    ShowSourceFrame(shown);
  } else {
    ui_.sourceView->ShowPicture(shown);  // "Convert" takes the frame as shown
    emit SourceFrameChanged();
  }
  ui_.progressBar->setValue(LoadPlacedProgress);
  ui_.convertButton->setEnabled(true);
  ShowLoadedStatus();
  ShowResultCaption();
  emit PictureLoadFinished();
  ReloadIfReadDiffers();
}

// Nothing else may load a file or convert while a file is read; the buttons
// come back as they were ("Convert" is enabled by a picture that was read).
void MainWindow::LockForLoading(bool locked)
{
  if (locked) {
    convertEnabledBeforeLoading_ = ui_.convertButton->isEnabled();
    progressBeforeLoading_ = ui_.progressBar->value();
  }
  ui_.convertButton->setEnabled(!locked && convertEnabledBeforeLoading_);
  ui_.loadPictureButton->setEnabled(!locked);
  ui_.testPictureButton->setEnabled(!locked);
  ui_.openAction->setEnabled(!locked);
}

void MainWindow::ShowLoadedStatus()
{
  if (!loads_->FileShown()) {
    return;
  }
  const LoadedPicture& loaded = workspace().loaded;
  QString status = QString("Loaded %1, %2 x %3, %4")
                       .arg(QFileInfo(loads_->LoadedPath()).fileName())
                       .arg(FileWidthOf(loaded))
                       .arg(FileHeightOf(loaded))
                       .arg(placement_->Description());
  // A cut-out of a larger photo shows a corner of it, which may surprise.
  const int width = FileWidthOf(loaded), height = FileHeightOf(loaded);
  if (placement_->Current().mode == FitMode::Cutout &&
      (width > PictureWidth || height > PictureHeight)) {
    const double shown = 100.0 * std::min(width, PictureWidth) * std::min(height, PictureHeight) /
                         (double(width) * height);
    status += QString("; the frame holds %1% of the photo: Fit or Fill show all of it")
                  .arg(shown < 1 ? QString("under 1") : QString::number(int(shown)));
  }
  // Damage the reader tolerated stays in sight until the next status.
  for (const std::string& warning : loads_->Warnings()) {
    status += " (warning: " + QString::fromStdString(warning) + ")";
  }
  SetStatusText(status);
}

// Only the shown frame changes; "Convert" takes the frame as shown.
void MainWindow::ShowPlacedFrame()
{
  if (!loads_->FileShown() || ConversionRunning()) {
    return;
  }
  ui_.sourceView->ShowPicture(PlacePicture(workspace().loaded, placement_->Current()));
  emit SourceFrameChanged();
  ReloadIfReadDiffers();
}

// The frame shows the smaller picture meanwhile; a zoom that goes on while
// the file is read is caught up when it arrives.
void MainWindow::ReloadIfReadDiffers()
{
  if (!ConversionRunning()) {
    loads_->ReloadIfReadDiffers(placement_->Current());
  }
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
    ShowError(QString::fromStdString(read.error));
    return;
  }
  RememberFolderOf(DialogFolder::Open, path);
  customPalette_ = read.colours;
  paletteFilePath_ = path;
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
  loads_->ForgetFile();
  placement_->ForgetPicture();
  ShowSourceFrame(TestPictureFrame());
  c.progressBar->setValue(0);
  c.convertButton->setEnabled(true);
  SetStatusText("Loaded internal test image");
  ShowResultCaption();
}

}  // namespace pavona
