// "Live": the window tells the conversion controller's pause of every change
// of what a run converts.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "gui/conversion_controller.h"
#include "gui/main_window.h"
#include "gui/main_window_tables.h"
#include "gui/whole_number.h"

namespace pavona {

// Every control GatherSettings reads. A radio button that is selected
// deselects another: both report, and the pause merges them.
void MainWindow::WatchForLive()
{
  LiveConversion* live = &conversion_->Live();
  const MainWindowControls& c = ui_;
  const auto changed = [live] { live->Changed(); };
  const auto watchChoices = [this, changed](const auto& buttons, const auto& choices) {
    for (const auto& choice : choices) {
      connect(buttons.*choice.button, &QRadioButton::toggled, this, changed);
    }
  };
  watchChoices(c.modeButtons, ModeChoices);
  watchChoices(c.paletteButtons, PaletteChoices);
  watchChoices(c.mixButtons, MixChoices);
  watchChoices(c.matchingButtons, MatchingChoices);
  watchChoices(c.flickerButtons, FlickerChoices);
  watchChoices(c.ditherButtons, DitherChoices);
  for (const auto& entry : DitherSwitches) {
    connect(c.*entry.box, &QCheckBox::toggled, this, changed);
  }
  connect(c.balancedBox, &QCheckBox::toggled, this, changed);
  connect(c.kernelList, &QComboBox::currentIndexChanged, this, changed);
  for (const auto& entry : OptionSwitches) {
    connect(c.*entry.box, &QCheckBox::toggled, this, changed);
  }
  // The spinner fields are read as typed, but a sign or an emptied field on
  // the way to a number is no value to convert with. The adjustment fields
  // move their track bars, which are read.
  for (const SpinnerField& info : {ValueAmpSpinner, StrengthSpinner}) {
    connect(c.*info.field, &QLineEdit::textChanged, this, [live](const QString& text) {
      if (ReadWholeNumber(text.toStdString())) {
        live->Changed();
      }
    });
  }
  for (const AdjustmentRowInfo& info : AdjustmentTable) {
    connect((c.adjustment.*info.row).trackBar, &QSlider::valueChanged, this, changed);
  }
  connect(this, &MainWindow::SourceFrameChanged, this, changed);
  connect(this, &MainWindow::PaletteFileRead, this, changed);
  connect(c.liveBox, &QCheckBox::toggled, live, &LiveConversion::SetOn);
}

}  // namespace pavona
