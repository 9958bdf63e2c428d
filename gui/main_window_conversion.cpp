// "Convert" and what shows its result: the run on a worker thread, the error
// percentage, and the two hold buttons that show where the C64's limits
// changed the dithered picture.
#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <exception>

#include "core/convert_run.h"
#include "gui/gui_progress.h"
#include "gui/main_window.h"
#include "gui/picture_view.h"
#include "gui/user_prompts.h"

namespace pavona {

// The run takes seconds, so it goes to a worker thread and the window stays
// responsive. Every control that could change a setting or a working picture
// is disabled until it ends, and the progress reaches the widgets through
// queued calls.
void MainWindow::StartConversion()
{
  if (PictureLoading()) {
    return;
  }
  // A "Live" run going is overtaken by one with the settings as they are,
  // which is what "Convert" would give.
  if (AnyRunGoing()) {
    ConvertLive();
    return;
  }
  workspace_->source = ui_.sourceView->ShownPicture();
  LockForConversion(true);
  BeginRun(GatherSettings(), true);
}

void MainWindow::ConvertLive()
{
  if (!ui_.convertButton->isEnabledTo(this) || ConversionRunning()) {
    return;
  }
  if (AnyRunGoing()) {
    progress_->Stop();
    liveRunWaiting_ = true;
    return;
  }
  workspace_->source = ui_.sourceView->ShownPicture();
  BeginRun(GatherSettings(), false);
}

void MainWindow::StopConversion()
{
  if (AnyRunGoing()) {
    liveRunWaiting_ = false;
    progress_->Stop();
  }
}

// The run converts in a workspace of its own, so the window may go on
// changing its own (a "Live" run leaves the controls enabled) and a run that
// is stopped or overtaken leaves it untouched.
void MainWindow::BeginRun(const Settings& settings, bool locked)
{
  // The result image is about to be replaced: a hold in progress ends here.
  errorViewHeld_ = false;
  ditherViewHeld_ = false;
  lockedRun_ = locked;
  CopyRunInputs(*workspace_, *runSpace_);
  progress_->Resume();
  EnableStop(true);
  worker_ = std::thread([this, settings] {
    // The completion is queued behind the progress the run has reported, so
    // the final result is drawn last.
    try {
      const ConversionOutcome outcome = ConvertRun(*runSpace_, settings, *progress_);
      QMetaObject::invokeMethod(
          this, [this, outcome] { FinishConversion(outcome); }, Qt::QueuedConnection);
    } catch (const std::exception& error) {
      QMetaObject::invokeMethod(
          this, [this, text = std::string(error.what())] { FailConversion(text); },
          Qt::QueuedConnection);
    }
  });
}

// A run that "Live" has overtaken shows nothing: the one with the newer
// settings starts at once.
void MainWindow::FinishConversion(const ConversionOutcome& outcome)
{
  worker_.join();
  EnableStop(false);
  if (liveRunWaiting_) {
    liveRunWaiting_ = false;
    ShowPreviousResult();
    LockForConversion(false);
    ConvertLive();
    return;
  }
  if (outcome.stopped) {
    ShowPreviousResult();
    LockForConversion(false);  // the previous result stays; there is nothing new to show
    SetStatusText("Conversion stopped");
    emit ConversionFinished();
    return;
  }
  CopyRunResults(*runSpace_, *workspace_);
  ui_.resultView->ShowPicture(workspace_->result);
  ui_.errorValueLabel->setText(QString::number(outcome.errorPercent));
  LockForConversion(false);
  emit ConversionFinished();
}

// The run commits nothing until it ends, so the previous result stays; the
// controls come back.
void MainWindow::FailConversion(const std::string& error)
{
  worker_.join();
  EnableStop(false);
  liveRunWaiting_ = false;
  ShowPreviousResult();
  LockForConversion(false);
  prompts_->ShowError(this, "Conversion failed: " + QString::fromStdString(error));
  emit ConversionFinished();
}

void MainWindow::ShowPreviousResult()
{
  if (workspace_->conversionDone) {
    ui_.resultView->ShowPicture(workspace_->result);
  } else {
    ui_.resultView->Fill(0x000000);
  }
  DrawMixPalette();
}

void MainWindow::EnableStop(bool enabled)
{
  ui_.stopButton->setEnabled(enabled);
  ui_.stopAction->setEnabled(enabled);
}

// Disabling the containers keeps each control's own enabled state, so
// enabling them again restores exactly what the mode handlers had set.
void MainWindow::LockForConversion(bool locked)
{
  for (QWidget* container : lockedWhileConverting_) {
    container->setEnabled(!locked);
  }
  ui_.openAction->setEnabled(!locked);
  EnableSaving(!locked && workspace_->conversionDone);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == ui_.holdErrorsButton || watched == ui_.holdDitheredButton) {
    switch (event->type()) {
      // The second press of a quick double click arrives as a double click.
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        HoldButtonPressed(watched);
        break;
      case QEvent::MouseButtonRelease:
        HoldButtonReleased(watched);
        break;
      default:
        break;
    }
  }
  // The button still gets the event, so it looks pressed as usual.
  return QMainWindow::eventFilter(watched, event);
}

// A press shows the error pixels or the dithered picture, its release the
// result again; the flags pair each press with one release.
void MainWindow::HoldButtonPressed(QObject* button)
{
  if (ConversionRunning() || !workspace_->conversionDone) {
    return;
  }
  if (button == ui_.holdErrorsButton && !errorViewHeld_) {
    errorViewHeld_ = true;
    ShowErrorPixels();
  } else if (button == ui_.holdDitheredButton && !ditherViewHeld_) {
    ditherViewHeld_ = true;
    ui_.resultView->ShowPicture(workspace_->dithered);
  }
}

void MainWindow::HoldButtonReleased(QObject* button)
{
  if (ConversionRunning() || !workspace_->conversionDone) {
    return;
  }
  bool& held = button == ui_.holdErrorsButton ? errorViewHeld_ : ditherViewHeld_;
  if (held) {
    held = false;
    ui_.resultView->ShowPicture(workspace_->result);
  }
}

// The result where it equals the dithered picture, pure red where the C64's
// colour limits changed a pixel.
void MainWindow::ShowErrorPixels()
{
  Picture shown = workspace_->result;
  for (int i = 0; i < PixelCount; ++i) {
    if (shown[i] != workspace_->dithered[i]) {
      shown[i] = 0xFF0000;
    }
  }
  ui_.resultView->ShowPicture(shown);
}

}  // namespace pavona
