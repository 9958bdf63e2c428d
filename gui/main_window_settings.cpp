// The settings as the main window's controls show them, both ways: read
// from the controls, and shown in them. The control tables pair each control
// with its setting, so the two directions cannot drift apart.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "gui/main_window.h"
#include "gui/main_window_tables.h"
#include "gui/up_down.h"
#include "gui/whole_number.h"

namespace pavona {
namespace {

// What a number field holds; text that is no whole number counts as 0.
int FieldNumber(const QLineEdit* field)
{
  return ParseWholeNumber(field->text().toStdString());
}

// The spinner keeps its own position within its range; a value outside the
// range is still shown as it would have been typed.
void ShowSpinnerField(const MainWindowControls& c, const SpinnerField& info, int value)
{
  (c.*info.spinner)->SetPosition(value);
  QLineEdit* field = c.*info.field;
  const QString text = QString::number(value);
  if (field->text() != text) {
    field->setText(text);
  }
}

}  // namespace

GraphicMode MainWindow::SelectedMode() const
{
  return SelectedValue(ui_.modeButtons, ModeChoices, GraphicMode::HiresFliInterlace);
}

Settings MainWindow::GatherSettings() const
{
  const MainWindowControls& c = ui_;
  Settings settings;
  settings.mode = SelectedMode();
  settings.palette = SelectedValue(c.paletteButtons, PaletteChoices, PaletteId::Pepto);
  settings.customPalette = customPalette_;
  settings.mix = SelectedValue(c.mixButtons, MixChoices, MixMethod::Rgb);
  settings.measure = SelectedValue(c.matchingButtons, MatchingChoices, Measure::Perceptual);
  settings.flicker = SelectedValue(c.flickerButtons, FlickerChoices, FlickerLevel::Off);
  settings.dither.method =
      DitherMethodOfControls(SelectedValue(c.ditherButtons, DitherChoices, settings.dither.method),
                             c.balancedBox->isChecked(), c.kernelList->currentIndex());
  for (const Switch<DitherSettings>& entry : DitherSwitches) {
    settings.dither.*entry.setting = (c.*entry.box)->isChecked();
  }
  for (const SpinnerField& info : {ValueAmpSpinner, StrengthSpinner}) {
    settings.dither.*info.setting = FieldNumber(c.*info.field);
  }
  // Option check boxes count with their state, enabled or not.
  for (const Switch<Settings>& entry : OptionSwitches) {
    settings.*entry.setting = (c.*entry.box)->isChecked();
  }
  for (const AdjustmentRowInfo& info : AdjustmentTable) {
    settings.adjustment.*info.setting = (c.adjustment.*info.row).trackBar->value();
  }
  return settings;
}

// Each change runs its control's handler, as a click would. A palette
// selects "RGB Mix", so the mixing method is shown after the palette.
void MainWindow::ShowSettings(const Settings& settings)
{
  const MainWindowControls& c = ui_;
  for (const Switch<DitherSettings>& entry : DitherSwitches) {
    (c.*entry.box)->setChecked(settings.dither.*entry.setting);
  }
  for (const SpinnerField& info : {ValueAmpSpinner, StrengthSpinner}) {
    ShowSpinnerField(c, info, settings.dither.*info.setting);
  }
  for (const Switch<Settings>& entry : OptionSwitches) {
    (c.*entry.box)->setChecked(settings.*entry.setting);
  }
  SelectValue(c.modeButtons, ModeChoices, settings.mode);
  // A field may hold text that is no number while its track bar is already
  // at the value: writing the field puts both right.
  for (const AdjustmentRowInfo& info : AdjustmentTable) {
    (c.adjustment.*info.row).field->setText(QString::number(settings.adjustment.*info.setting));
  }
  // New colours for "Custom" while it stays selected select nothing anew:
  // its handler runs here instead.
  const bool customColoursChanged = c.paletteButtons.custom->isChecked() &&
                                    settings.palette == PaletteId::Custom &&
                                    customPalette_ != settings.customPalette;
  customPalette_ = settings.customPalette;
  if (settings.palette == PaletteId::Custom) {
    c.paletteButtons.custom->setEnabled(true);
  }
  SelectValue(c.paletteButtons, PaletteChoices, settings.palette);
  if (customColoursChanged) {
    SelectPalette();
  }
  SelectValue(c.mixButtons, MixChoices, settings.mix);
  c.balancedBox->setChecked(IsBalancedOrdered(settings.dither.method));
  if (const int kernel = KernelIndexOf(settings.dither.method); kernel >= 0) {
    c.kernelList->setCurrentIndex(kernel);
  }
  SelectValue(c.ditherButtons, DitherChoices, DitherButtonOf(settings.dither.method));
  SelectValue(c.flickerButtons, FlickerChoices, settings.flicker);
  SelectValue(c.matchingButtons, MatchingChoices, settings.measure);
  for (const AdjustmentRowInfo& info : AdjustmentTable) {
    (c.adjustment.*info.row).trackBar->setValue(settings.adjustment.*info.setting);
  }
  // A value that was selected already ran no handler.
  FollowSettings();
}

}  // namespace pavona
