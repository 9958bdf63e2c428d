#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>

#include "colour/progress.h"

class QAbstractButton;
class QLabel;
class QProgressBar;

namespace pavona {

class PictureView;

// Shows a long stage's progress in the main window: the status panel, the
// progress bar, the result image (finished rows) and the mix table image.
// A stage may run on a worker thread: every call then copies what it needs
// and is carried out later on the thread that owns the widgets, in the order
// the calls were made. Calls made on that thread itself take effect at once.
// Make it on the widgets' thread; it must outlive the stages that report to
// it (calls still queued when it is destroyed are dropped).
class GuiProgress final : public ProgressReport {
 public:
  GuiProgress(QLabel* status, QProgressBar* progressBar, PictureView* resultImage,
              PictureView* mixImage, QAbstractButton* convertButton);

  void SetStatus(std::string_view text) override;
  void SetProgress(int position) override;
  void ShowRows(const Picture& picture, int firstRow, int rowCount) override;
  void ShowMixTable(const MixTable& table) override;
  void ReportStrayColour(std::uint32_t colour) override;
  bool ShouldContinue() const override;

  // Tells the stage that reports here to stop; from any thread, until
  // Resume.
  void Stop();
  // Lets the next stage run; call it only while no stage reports here.
  void Resume();

 private:
  // Runs `apply(onOwnThread)` on the widgets' thread. onOwnThread is true
  // when the caller is that thread: the widget is then repainted at once, as
  // the event loop is busy with the stage; otherwise a normal update is due.
  template <typename Apply>
  void OnWidgetThread(Apply&& apply);

  std::atomic<bool> stopped_{false};
  QObject context_;  // lives on the widgets' thread and carries the queued calls
  QPointer<QLabel> status_;
  QPointer<QProgressBar> progressBar_;
  QPointer<PictureView> resultImage_;
  QPointer<PictureView> mixImage_;
  QPointer<QAbstractButton> convertButton_;
};

}  // namespace pavona
