#pragma once

#include <QObject>
#include <QTimer>

namespace pavona {

class MainWindow;

// "Live": while the box is on, every change of a setting, of the colour
// adjustment or of the source frame converts again once the changes pause.
// A track bar dragged or a number typed changes many times a second; the
// run starts a pause after the last change, and the window stops a run that
// a newer change overtakes.
class LiveConversion : public QObject {
  Q_OBJECT
 public:
  // Long enough to join the steps of a drag or the keys of a number, short
  // enough to feel immediate.
  static constexpr int PauseMilliseconds = 150;

  // Watches the window's controls; a child of the window.
  explicit LiveConversion(MainWindow& window);

 private:
  void WatchSettings();
  void Changed();

  MainWindow& window_;
  QTimer pause_;
};

}  // namespace pavona
