#include "gui/live_conversion.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "gui/main_window.h"
#include "gui/main_window_tables.h"
#include "gui/whole_number.h"

namespace pavona {

LiveConversion::LiveConversion(MainWindow& window) : QObject(&window), window_(window)
{
  pause_.setSingleShot(true);
  pause_.setInterval(PauseMilliseconds);
  connect(&pause_, &QTimer::timeout, &window_, &MainWindow::ConvertLive);
  WatchSettings();
  connect(&window_, &MainWindow::SourceFrameChanged, this, &LiveConversion::Changed);
  connect(&window_, &MainWindow::PaletteFileRead, this, &LiveConversion::Changed);
  // Switched on, it brings the result up to date; switched off, a change
  // still waiting is dropped.
  connect(window_.Controls().liveBox, &QCheckBox::toggled, this, [this](bool on) {
    if (on) {
      Changed();
    } else {
      pause_.stop();
    }
  });
}

// Every control GatherSettings reads. A radio button that is selected
// deselects another: both report, and the pause merges them.
void LiveConversion::WatchSettings()
{
  const MainWindowControls& c = window_.Controls();
  const auto watchChoices = [this](const auto& buttons, const auto& choices) {
    for (const auto& choice : choices) {
      connect(buttons.*choice.button, &QRadioButton::toggled, this, &LiveConversion::Changed);
    }
  };
  watchChoices(c.modeButtons, ModeChoices);
  watchChoices(c.paletteButtons, PaletteChoices);
  watchChoices(c.mixButtons, MixChoices);
  watchChoices(c.matchingButtons, MatchingChoices);
  watchChoices(c.flickerButtons, FlickerChoices);
  watchChoices(c.ditherButtons, DitherChoices);
  for (const auto& entry : DitherSwitches) {
    connect(c.*entry.box, &QCheckBox::toggled, this, &LiveConversion::Changed);
  }
  for (const auto& entry : OptionSwitches) {
    connect(c.*entry.box, &QCheckBox::toggled, this, &LiveConversion::Changed);
  }
  // The spinner fields are read as typed, but a sign or an emptied field on
  // the way to a number is no value to convert with. The adjustment fields
  // move their track bars, which are read.
  for (const SpinnerField& info : {ValueAmpSpinner, StrengthSpinner}) {
    connect(c.*info.field, &QLineEdit::textChanged, this, [this](const QString& text) {
      if (ReadWholeNumber(text.toStdString())) {
        Changed();
      }
    });
  }
  for (const AdjustmentRowInfo& info : AdjustmentTable) {
    connect((c.adjustment.*info.row).trackBar, &QSlider::valueChanged, this,
            &LiveConversion::Changed);
  }
}

void LiveConversion::Changed()
{
  if (window_.Controls().liveBox->isChecked()) {
    pause_.start();  // a restart when it was running already
  }
}

}  // namespace pavona
