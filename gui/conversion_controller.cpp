#include "gui/conversion_controller.h"

#include <exception>
#include <string>

#include "gui/gui_progress.h"

namespace pavona {

ConversionController::ConversionController(GuiProgress& progress, QObject* parent)
    : QObject(parent), progress_(progress)
{
  connect(&live_, &LiveConversion::Due, this, &ConversionController::ConvertLive);
}

ConversionController::~ConversionController()
{
  if (worker_.joinable()) {
    progress_.Stop();
    worker_.join();
  }
}

void ConversionController::Convert()
{
  if (AnyRunGoing()) {
    ConvertLive();
    return;
  }
  if (const std::optional<RunInputs> inputs = inputs_ ? inputs_() : std::nullopt) {
    BeginRun(*inputs, RunKind::Locked);
  }
}

void ConversionController::ConvertLive()
{
  if (ConversionRunning()) {
    return;
  }
  const std::optional<RunInputs> inputs = inputs_ ? inputs_() : std::nullopt;
  if (!inputs) {
    return;
  }
  if (AnyRunGoing()) {
    progress_.Stop();
    liveRunWaiting_ = true;
    return;
  }
  BeginRun(*inputs, RunKind::Live);
}

void ConversionController::Stop()
{
  if (AnyRunGoing()) {
    liveRunWaiting_ = false;
    progress_.Stop();
  }
}

void ConversionController::BeginRun(const RunInputs& inputs, RunKind kind)
{
  kind_ = kind;
  runPath_ = inputs.picturePath;
  shown_->source = inputs.frame;
  CopyRunInputs(*shown_, *runSpace_);
  progress_.Resume();
  emit RunStarted(kind);
  worker_ = std::thread([this, settings = inputs.settings] {
    // The end is queued behind the progress the run has reported, so the
    // final result is drawn last.
    try {
      const ConversionOutcome outcome = ConvertRun(*runSpace_, settings, progress_);
      QMetaObject::invokeMethod(
          this, [this, outcome] { EndRun(outcome); }, Qt::QueuedConnection);
    } catch (const std::exception& error) {
      QMetaObject::invokeMethod(
          this, [this, text = QString::fromStdString(error.what())] { FailRun(text); },
          Qt::QueuedConnection);
    }
  });
}

void ConversionController::EndRun(const ConversionOutcome& outcome)
{
  worker_.join();
  if (liveRunWaiting_) {
    liveRunWaiting_ = false;
    emit RunOvertaken();
    ConvertLive();
    return;
  }
  if (outcome.stopped) {
    emit RunStopped();
    return;
  }
  CopyRunResults(*runSpace_, *shown_);
  convertedPath_ = runPath_;
  emit RunFinished(outcome);
}

void ConversionController::FailRun(const QString& error)
{
  worker_.join();
  liveRunWaiting_ = false;
  emit RunFailed(error);
}

}  // namespace pavona
