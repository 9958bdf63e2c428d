// "Convert" and what shows its result: the runs and reads of the controllers
// wired to the window, the error percentage, and the two hold buttons that show where the C64's
// limits changed the dithered picture.
#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "gui/conversion_controller.h"
#include "gui/main_window.h"
#include "gui/main_window_tables.h"
#include "gui/picture_load_controller.h"
#include "gui/picture_view.h"
#include "gui/user_prompts.h"
#include "plan/conversion_plan.h"
#include "plan/run_pictures.h"

namespace pavona {
namespace {

QString ModeCaption(GraphicMode mode)
{
  for (const auto& choice : ModeChoices) {
    if (choice.value == mode) {
      return choice.caption;
    }
  }
  return {};
}

QString PictureNameOf(const QString& path)
{
  return path.isEmpty() ? QString("the test picture") : QFileInfo(path).fileName();
}

}  // namespace

// The run takes seconds, so the controller runs it on a worker thread and the
// window stays responsive. Every control that could change a setting or a
// working picture is disabled until it ends.
void MainWindow::StartConversion()
{
  if (!PictureLoading()) {
    conversion_->Convert();
  }
}

void MainWindow::ConvertLive()
{
  conversion_->ConvertLive();
}

bool MainWindow::ConversionRunning() const
{
  return conversion_->ConversionRunning();
}

bool MainWindow::AnyRunGoing() const
{
  return conversion_->AnyRunGoing();
}

void MainWindow::ConnectControllers()
{
  ConversionController& runs = *conversion_;
  // A run converts the frame as shown with the settings as shown; nothing
  // before a picture is loaded, or while one is read.
  runs.SetInputsSource([this]() -> std::optional<RunInputs> {
    if (!ui_.convertButton->isEnabledTo(this)) {
      return std::nullopt;
    }
    return RunInputs{ui_.sourceView->ShownPicture(), GatherSettings(),
                     loads_->FileShown() ? loads_->LoadedPath() : QString()};
  });
  connect(&runs, &ConversionController::RunStarted, this, &MainWindow::ShowRunStarted);
  connect(&runs, &ConversionController::RunFinished, this, &MainWindow::ShowRunResult);
  connect(&runs, &ConversionController::RunOvertaken, this, &MainWindow::ShowRunEnded);
  connect(&runs, &ConversionController::RunStopped, this, [this] {
    ShowRunEnded();
    SetStatusText("Conversion stopped");
    emit ConversionFinished();
  });
  connect(&runs, &ConversionController::RunFailed, this, [this](const QString& error) {
    ShowRunEnded();
    SetStatusText("Conversion failed");
    ShowError("Conversion failed: " + error);
    emit ConversionFinished();
  });
  connect(ui_.stopButton, &QPushButton::clicked, &runs, &ConversionController::Stop);
  connect(ui_.stopAction, &QAction::triggered, &runs, &ConversionController::Stop);

  PictureLoadController& loads = *loads_;
  connect(&loads, &PictureLoadController::BusyChanged, this, &MainWindow::LockForLoading);
  connect(&loads, &PictureLoadController::Progress, ui_.progressBar, &QProgressBar::setValue);
  connect(&loads, &PictureLoadController::PictureRead, this, &MainWindow::ShowPictureRead);
  connect(&loads, &PictureLoadController::ReadFailed, this,
          [this](const QString&, const QString& error, bool newPicture) {
            ShowReadFailure(error, newPicture);
          });
}

// The result image is about to be replaced: a hold in progress ends here.
void MainWindow::ShowRunStarted(RunKind kind)
{
  errorViewHeld_ = false;
  ditherViewHeld_ = false;
  if (kind == RunKind::Locked) {
    LockForConversion(true);
  }
  EnableStop(true);
}

void MainWindow::ShowRunResult(const ConversionOutcome& outcome)
{
  EnableStop(false);
  ui_.resultView->ShowPicture(ShownResult());
  ui_.errorValueLabel->setText(QString::number(outcome.errorPercent));
  LockForConversion(false);
  ShowRunStatus(outcome);
  ShowResultCaption();
  emit ConversionFinished();
}

// The run committed nothing, so the previous result stays; the controls come
// back.
void MainWindow::ShowRunEnded()
{
  EnableStop(false);
  ShowPreviousResult();
  LockForConversion(false);
}

void MainWindow::ShowPreviousResult()
{
  if (workspace().conversionDone) {
    ui_.resultView->ShowPicture(ShownResult());
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
  EnableSaving(!locked && workspace().conversionDone);
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

// The result, as the C64 shows it when the view asks for that.
Picture MainWindow::ShownResult() const
{
  if (!ui_.shownOnlyAction->isChecked() || !workspace().converted) {
    return workspace().result;
  }
  return AsTheC64ShowsIt(workspace().result, PlanConversion(*workspace().converted).shown);
}

// A press shows the error pixels or the dithered picture, its release the
// result again; the flags pair each press with one release.
void MainWindow::HoldButtonPressed(QObject* button)
{
  if (ConversionRunning() || !workspace().conversionDone) {
    return;
  }
  if (button == ui_.holdErrorsButton && !errorViewHeld_) {
    errorViewHeld_ = true;
    ShowErrorPixels();
  } else if (button == ui_.holdDitheredButton && !ditherViewHeld_) {
    ditherViewHeld_ = true;
    ui_.resultView->ShowPicture(workspace().dithered);
  }
}

void MainWindow::HoldButtonReleased(QObject* button)
{
  if (ConversionRunning() || !workspace().conversionDone) {
    return;
  }
  bool& held = button == ui_.holdErrorsButton ? errorViewHeld_ : ditherViewHeld_;
  if (held) {
    held = false;
    ui_.resultView->ShowPicture(ShownResult());
  }
}

// The result where it equals the dithered picture, pure red where the C64's
// colour limits changed a pixel.
void MainWindow::ShowErrorPixels()
{
  Picture shown = workspace().result;
  for (int i = 0; i < PixelCount; ++i) {
    if (shown[i] != workspace().dithered[i]) {
      shown[i] = 0xFF0000;
    }
  }
  ui_.resultView->ShowPicture(shown);
}

// What the run did, in place of the stage text it left: the picture, the
// mode, the time and how close the result came to the photo.
void MainWindow::ShowRunStatus(const ConversionOutcome& outcome)
{
  const QString picture = PictureNameOf(conversion_->ConvertedPicturePath());
  SetStatusText(QString("Converted %1 to %2 in %3 s: %4")
                    .arg(picture, ModeCaption(workspace().converted->mode))
                    .arg(outcome.seconds, 0, 'f', 2)
                    .arg(QString::fromStdString(OutcomeFigures(outcome))));
}

// The result may show another picture than the one loaded since; it says so
// until that one is converted.
void MainWindow::ShowResultCaption()
{
  const QString shownPath = loads_->FileShown() ? loads_->LoadedPath() : QString();
  const bool other = workspace().conversionDone && conversion_->ConvertedPicturePath() != shownPath;
  ui_.resultCaption->setVisible(other);
  if (other) {
    ui_.resultCaption->setText(
        QString("The result shows %1; Convert for %2")
            .arg(PictureNameOf(conversion_->ConvertedPicturePath()), PictureNameOf(shownPath)));
  }
}

}  // namespace pavona
