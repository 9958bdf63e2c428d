#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "core/convert_run.h"
#include "core/workspace.h"
#include "gui/live_conversion.h"
#include "plan/settings.h"

namespace pavona {

class GuiProgress;

// What a run converts: the frame and the settings as the window shows them.
struct RunInputs {
  Picture frame{};
  Settings settings;
  // The file the frame shows, which names the result's saves; empty for the
  // test picture.
  QString picturePath;
};

enum class RunKind {
  Locked,  // "Convert": nothing that the run reads may change until it ends
  Live,    // "Live": the controls stay free, and a newer change overtakes the run
};

// Runs conversions for the window, on a worker thread so that the window
// stays responsive. It owns the workspace the window shows and the one a run
// converts in: a run works on a copy of what it reads and commits its
// results only when it has finished, so a run that is stopped or overtaken
// leaves the shown workspace as it was. Only one run goes at a time; a "Live"
// run that a newer one overtakes is stopped and the newer one follows it.
class ConversionController : public QObject {
  Q_OBJECT
 public:
  // `progress` shows the runs' stages and tells them to stop; it must
  // outlive the controller.
  explicit ConversionController(GuiProgress& progress, QObject* parent = nullptr);
  // A run still going is told to stop and waited for.
  ~ConversionController() override;

  Workspace& workspace() { return *shown_; }
  const Workspace& workspace() const { return *shown_; }

  // Where a run takes its inputs from when it starts; nothing while there is
  // nothing to convert (before a picture is loaded).
  using InputsSource = std::function<std::optional<RunInputs>()>;
  void SetInputsSource(InputsSource source) { inputs_ = std::move(source); }

  // A "Convert" run is going.
  bool ConversionRunning() const { return worker_.joinable() && kind_ == RunKind::Locked; }
  // Any run, also one of "Live".
  bool AnyRunGoing() const { return worker_.joinable(); }

  // "Convert". A "Live" run going is overtaken by one with the inputs as they
  // are, which is what "Convert" would give.
  void Convert();
  // Converts the inputs as they are now, for "Live": a run still going is
  // stopped and this one follows it. Does nothing without inputs, or while
  // "Convert" runs (nothing it reads has changed since it started).
  void ConvertLive();
  // "Stop": the run going ends without a result.
  void Stop();

  // The file whose frame the result in the workspace shows, as RunInputs
  // named it; it travels with the result, not with the picture loaded since.
  const QString& ConvertedPicturePath() const { return convertedPath_; }

  // The pause after a change; when it ends, ConvertLive.
  LiveConversion& Live() { return live_; }

 signals:
  // Before the run starts converting.
  void RunStarted(RunKind kind);
  // The run's results are in the workspace.
  void RunFinished(const ConversionOutcome& outcome);
  // Ended without a result ("Stop"); the workspace is as it was.
  void RunStopped();
  // Ended without a result because a newer "Live" run follows at once.
  void RunOvertaken();
  // The run threw; the workspace is as it was.
  void RunFailed(const QString& error);

 private:
  void BeginRun(const RunInputs& inputs, RunKind kind);
  void EndRun(const ConversionOutcome& outcome);
  void FailRun(const QString& error);

  GuiProgress& progress_;
  std::unique_ptr<Workspace> shown_ = std::make_unique<Workspace>();
  std::unique_ptr<Workspace> runSpace_ = std::make_unique<Workspace>();
  InputsSource inputs_;
  QString runPath_;        // the picture of the run going
  QString convertedPath_;  // the picture of the result shown
  std::thread worker_;
  RunKind kind_ = RunKind::Locked;
  // "Live" asked for a run while one was going: it starts when that one ends.
  bool liveRunWaiting_ = false;
  LiveConversion live_;
};

}  // namespace pavona
