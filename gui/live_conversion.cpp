#include "gui/live_conversion.h"

namespace pavona {

LiveConversion::LiveConversion(QObject* parent) : QObject(parent)
{
  pause_.setSingleShot(true);
  pause_.setInterval(PauseMilliseconds);
  connect(&pause_, &QTimer::timeout, this, &LiveConversion::Due);
}

void LiveConversion::SetOn(bool on)
{
  on_ = on;
  if (on) {
    Changed();
  } else {
    pause_.stop();
  }
}

void LiveConversion::Changed()
{
  if (on_) {
    pause_.start();  // a restart when it was running already
  }
}

}  // namespace pavona
