#pragma once

#include <QObject>
#include <QTimer>

namespace pavona {

// "Live": while it is on, every change of a setting, of the colour adjustment
// or of the source frame converts again once the changes pause. A track bar
// dragged or a number typed changes many times a second; the run is due a
// pause after the last change, and a run that a newer change overtakes is
// stopped by whoever runs them.
class LiveConversion : public QObject {
  Q_OBJECT
 public:
  // Long enough to join the steps of a drag or the keys of a number, short
  // enough to feel immediate.
  static constexpr int PauseMilliseconds = 150;

  explicit LiveConversion(QObject* parent = nullptr);

  // Switched on, it brings the result up to date at once (after the pause);
  // switched off, a change still waiting is dropped.
  void SetOn(bool on);
  bool On() const { return on_; }

  // A change of what a run converts; while on, the pause starts again.
  void Changed();
  // A run is due once the pause ends.
  bool Waiting() const { return pause_.isActive(); }

 signals:
  void Due();

 private:
  bool on_ = false;
  QTimer pause_;
};

}  // namespace pavona
