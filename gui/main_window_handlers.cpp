// The click and change handlers of the main window's settings: they keep the
// option controls consistent with the graphic mode and rebuild the mix table
// shown in "Mix palette". What they show is a preview: every conversion
// builds the table again for its own settings.
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include "gui/main_window.h"
#include "gui/picture_view.h"
#include "gui/up_down.h"

namespace pavona {
namespace {

// Runs the handler when the button becomes selected; a button deselected by
// its neighbour runs nothing.
template <typename Handler>
void OnSelected(QRadioButton* button, QObject* context, Handler handler)
{
  QObject::connect(button, &QRadioButton::toggled, context, [handler](bool checked) {
    if (checked) {
      handler();
    }
  });
}

}  // namespace

void MainWindow::ConnectHandlers()
{
  const MainWindowControls& c = ui_;

  const std::pair<QRadioButton*, PaletteId> palettes[] = {
      {c.paletteButtons.pepto, PaletteId::Pepto},
      {c.paletteButtons.deekay, PaletteId::Deekay},
      {c.paletteButtons.vice, PaletteId::Vice},
      {c.paletteButtons.ccs64, PaletteId::Ccs64},
      {c.paletteButtons.frodo, PaletteId::Frodo}};
  for (const auto& [button, palette] : palettes) {
    OnSelected(button, this, [this, palette] { SelectPalette(palette); });
  }
  OnSelected(c.mixButtons.rgb, this, [this] { RebuildForMixing(); });
  OnSelected(c.mixButtons.yuv, this, [this] { RebuildForMixing(); });

  OnSelected(c.modeButtons.hiresStandard, this, [this] { HiresStandardOrFliSelected(); });
  OnSelected(c.modeButtons.hiresFli, this, [this] { HiresStandardOrFliSelected(); });
  OnSelected(c.modeButtons.hiresInterlaced, this, [this] { HiresInterlacedSelected(); });
  OnSelected(c.modeButtons.hiresFliInterlace, this, [this] { HiresFliInterlaceSelected(); });

  const std::pair<QRadioButton*, FlickerLevel> levels[] = {
      {c.flickerButtons.off, FlickerLevel::Off},
      {c.flickerButtons.light, FlickerLevel::Light},
      {c.flickerButtons.medium, FlickerLevel::Medium},
      {c.flickerButtons.heavy, FlickerLevel::Heavy}};
  for (const auto& [button, level] : levels) {
    OnSelected(button, this, [this, level] { FlickerLevelSelected(level); });
  }
  connect(c.sameBanksBox, &QCheckBox::toggled, this, &MainWindow::SameColBanksClicked);

  // Each track bar is mirrored by its field. A track bar reports a change
  // only when its position really changes, so the pairs do not echo forever.
  for (QSlider* trackBar :
       {c.adjustment.red.trackBar, c.adjustment.green.trackBar, c.adjustment.blue.trackBar}) {
    connect(trackBar, &QSlider::valueChanged, this, &MainWindow::ColourTrackBarChanged);
  }
  const std::pair<QLineEdit*, QSlider*> fields[] = {
      {c.adjustment.red.field, c.adjustment.red.trackBar},
      {c.adjustment.green.field, c.adjustment.green.trackBar},
      {c.adjustment.blue.field, c.adjustment.blue.trackBar},
      {c.adjustment.brightness.field, c.adjustment.brightness.trackBar},
      {c.adjustment.contrast.field, c.adjustment.contrast.trackBar}};
  for (const auto& [edit, trackBar] : fields) {
    connect(edit, &QLineEdit::textChanged, trackBar,
            [trackBar](const QString& text) { trackBar->setValue(WholeNumberOf(text)); });
  }
  connect(c.adjustment.brightness.trackBar, &QSlider::valueChanged, c.adjustment.brightness.field,
          [edit = c.adjustment.brightness.field](int position) {
            edit->setText(QString::number(position));
          });
  connect(c.adjustment.contrast.trackBar, &QSlider::valueChanged, c.adjustment.contrast.field,
          [edit = c.adjustment.contrast.field](int position) {
            edit->setText(QString::number(position));
          });

  connect(c.defaultsButton, &QPushButton::clicked, this, &MainWindow::ResetDefaults);

  connect(c.loadPictureButton, &QPushButton::clicked, this, &MainWindow::LoadPictureFile);
  connect(c.openAction, &QAction::triggered, this, &MainWindow::LoadPictureFile);
  connect(c.testPictureButton, &QPushButton::clicked, this, &MainWindow::LoadTestPicture);
  connect(c.horizontalScroll, &QScrollBar::valueChanged, this, &MainWindow::ScrollSource);
  connect(c.verticalScroll, &QScrollBar::valueChanged, this, &MainWindow::ScrollSource);
  connect(c.convertButton, &QPushButton::clicked, this, &MainWindow::StartConversion);
  // The hold buttons watch the mouse themselves: pressed() and released()
  // come from the left button only.
  c.holdErrorsButton->installEventFilter(this);
  c.holdDitheredButton->installEventFilter(this);
  connect(c.saveRawButton, &QPushButton::clicked, this, &MainWindow::SaveRawData);
  connect(c.saveRawAction, &QAction::triggered, this, &MainWindow::SaveRawData);
  connect(c.saveProgramButton, &QPushButton::clicked, this, &MainWindow::SaveC64Program);
  connect(c.saveProgramAction, &QAction::triggered, this, &MainWindow::SaveC64Program);
  connect(c.fieldPreviewButton, &QPushButton::clicked, this, &MainWindow::ShowFieldPreview);
  connect(c.interlacedPreviewButton, &QPushButton::clicked, this,
          &MainWindow::ShowInterlacedPreview);
  connect(c.exitAction, &QAction::triggered, this, [] { QCoreApplication::exit(0); });
  connect(c.aboutAction, &QAction::triggered, this, &MainWindow::ShowAboutWindow);
}

GraphicMode MainWindow::SelectedMode() const
{
  if (ui_.modeButtons.hiresStandard->isChecked()) {
    return GraphicMode::HiresStandard;
  }
  if (ui_.modeButtons.hiresInterlaced->isChecked()) {
    return GraphicMode::HiresInterlaced;
  }
  if (ui_.modeButtons.hiresFli->isChecked()) {
    return GraphicMode::HiresFli;
  }
  return GraphicMode::HiresFliInterlace;
}

MixMethod MainWindow::SelectedMixMethod() const
{
  return ui_.mixButtons.yuv->isChecked() ? MixMethod::Yuv : MixMethod::Rgb;
}

FlickerLevel MainWindow::SelectedFlickerLevel() const
{
  if (ui_.flickerButtons.light->isChecked()) {
    return FlickerLevel::Light;
  }
  if (ui_.flickerButtons.medium->isChecked()) {
    return FlickerLevel::Medium;
  }
  if (ui_.flickerButtons.heavy->isChecked()) {
    return FlickerLevel::Heavy;
  }
  return FlickerLevel::Off;
}

Settings MainWindow::GatherSettings() const
{
  const MainWindowControls& c = ui_;
  Settings settings;
  settings.mode = SelectedMode();

  settings.palette = PaletteId::Pepto;
  if (c.paletteButtons.deekay->isChecked()) {
    settings.palette = PaletteId::Deekay;
  } else if (c.paletteButtons.vice->isChecked()) {
    settings.palette = PaletteId::Vice;
  } else if (c.paletteButtons.ccs64->isChecked()) {
    settings.palette = PaletteId::Ccs64;
  } else if (c.paletteButtons.frodo->isChecked()) {
    settings.palette = PaletteId::Frodo;
  }
  settings.mix = SelectedMixMethod();

  // The measures are asked in this order; they exclude each other.
  if (c.matchingButtons.rgbDistance->isChecked()) {
    settings.measure = Measure::RgbDistance;
  } else if (c.matchingButtons.brightness->isChecked()) {
    settings.measure = Measure::Brightness;
  } else {
    settings.measure = Measure::Perceptual;
  }
  settings.flicker = SelectedFlickerLevel();

  const std::pair<QRadioButton*, DitherMethod> methods[] = {
      {c.ditherButtons.none, DitherMethod::None},
      {c.ditherButtons.ordered2x2, DitherMethod::Ordered2x2},
      {c.ditherButtons.ordered3x3, DitherMethod::Ordered3x3},
      {c.ditherButtons.ordered4x4, DitherMethod::Ordered4x4},
      {c.ditherButtons.ordered8x8, DitherMethod::Ordered8x8},
      {c.ditherButtons.floydSteinberg, DitherMethod::FloydSteinberg},
      {c.ditherButtons.custom, DitherMethod::Custom},
      {c.ditherButtons.random, DitherMethod::Random}};
  for (const auto& [button, method] : methods) {
    if (button->isChecked()) {
      settings.dither.method = method;
      break;
    }
  }
  settings.dither.serpentine = c.serpentineBox->isChecked();
  settings.dither.valueAmp = WholeNumberOf(c.valueAmpField->text());
  settings.dither.altYDither = c.altYDitherBox->isChecked();
  settings.dither.flipDither = c.flipDitherBox->isChecked();
  settings.dither.strength = WholeNumberOf(c.strengthField->text());
  settings.dither.separateRgb = c.separateRgbBox->isChecked();

  // Option check boxes count with their state, enabled or not.
  settings.fourColours = c.fourColoursBox->isChecked();
  settings.sameBanks = c.sameBanksBox->isChecked();
  settings.extraBruteForce = c.extraBruteForceBox->isChecked();
  settings.alternateY = c.alternateYBox->isChecked();
  settings.alternateX = c.alternateXBox->isChecked();
  settings.alternateX8 = c.alternateX8Box->isChecked();

  settings.adjustment.red = c.adjustment.red.trackBar->value();
  settings.adjustment.green = c.adjustment.green.trackBar->value();
  settings.adjustment.blue = c.adjustment.blue.trackBar->value();
  settings.adjustment.brightness = c.adjustment.brightness.trackBar->value();
  settings.adjustment.contrast = c.adjustment.contrast.trackBar->value();
  return settings;
}

void MainWindow::BuildMixPalette()
{
  pavona::BuildMixPalette(workspace_->mix, workspace_->palette, SelectedMixMethod(),
                          SelectedMode());
}

void MainWindow::ReduceFlicker(FlickerLevel level)
{
  pavona::ReduceFlicker(workspace_->mix, level);
}

void MainWindow::DrawMixPalette()
{
  ui_.mixTableView->SetImage(
      ImageFromPixels(pavona::DrawMixPalette(workspace_->mix), MixImageWidth, MixImageHeight));
}

void MainWindow::RebuildReducedMixPalette(FlickerLevel level)
{
  BuildMixPalette();
  ReduceFlicker(level);
  DrawMixPalette();
}

// "Enabled" here is the control's own setting, not whether the window
// around it happens to be disabled.
bool MainWindow::SameColBanksActive() const
{
  return !ui_.sameBanksBox->testAttribute(Qt::WA_ForceDisabled) && ui_.sameBanksBox->isChecked();
}

void MainWindow::SelectPalette(PaletteId palette)
{
  workspace_->palette = PaletteColours(palette);
  // Palettes are measured for the RGB average; selecting it rebuilds the
  // table when "YUV Mix" was selected.
  ui_.mixButtons.rgb->setChecked(true);
  if (!IsInterlaced(SelectedMode())) {
    BuildMixPalette();
    DrawMixPalette();
    return;
  }
  RebuildReducedMixPalette(SelectedFlickerLevel());
}

void MainWindow::RebuildForMixing()
{
  if (SameColBanksActive() || !IsInterlaced(SelectedMode())) {
    BuildMixPalette();
    DrawMixPalette();
    return;
  }
  RebuildReducedMixPalette(SelectedFlickerLevel());
}

void MainWindow::HiresStandardOrFliSelected()
{
  const MainWindowControls& c = ui_;
  for (QWidget* control : std::initializer_list<QWidget*>{
           c.sameBanksBox, c.flickerButtons.off, c.flickerButtons.light, c.flickerButtons.medium,
           c.flickerButtons.heavy, c.fourColoursBox, c.alternateYBox, c.alternateXBox,
           c.alternateX8Box, c.fieldPreviewButton, c.interlacedPreviewButton}) {
    control->setEnabled(false);
  }
  BuildMixPalette();
  DrawMixPalette();
}

void MainWindow::HiresInterlacedSelected()
{
  const MainWindowControls& c = ui_;
  const bool sameBanks = c.sameBanksBox->isChecked();
  c.fourColoursBox->setEnabled(false);
  if (sameBanks) {
    c.alternateX8Box->setEnabled(false);
  } else {
    c.alternateYBox->setEnabled(false);
    c.alternateXBox->setEnabled(false);
    c.alternateX8Box->setEnabled(false);
  }
  c.sameBanksBox->setEnabled(true);
  if (sameBanks) {
    c.alternateYBox->setEnabled(true);
    c.alternateXBox->setEnabled(true);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{
           c.flickerButtons.off, c.flickerButtons.light, c.flickerButtons.medium,
           c.flickerButtons.heavy, c.fieldPreviewButton, c.interlacedPreviewButton}) {
    control->setEnabled(true);
  }
  BuildMixPalette();
  DrawMixPalette();
  ReduceFlicker(SelectedFlickerLevel());
  DrawMixPalette();
}

void MainWindow::HiresFliInterlaceSelected()
{
  const MainWindowControls& c = ui_;
  const bool sameBanks = c.sameBanksBox->isChecked();
  if (sameBanks) {
    c.alternateX8Box->setEnabled(false);
  } else {
    c.alternateXBox->setEnabled(false);
  }
  c.sameBanksBox->setEnabled(true);
  if (sameBanks) {
    c.alternateXBox->setEnabled(true);
  } else {
    c.alternateX8Box->setEnabled(true);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{
           c.flickerButtons.off, c.flickerButtons.light, c.flickerButtons.medium,
           c.flickerButtons.heavy, c.fourColoursBox, c.alternateYBox, c.fieldPreviewButton,
           c.interlacedPreviewButton}) {
    control->setEnabled(true);
  }
  BuildMixPalette();
  DrawMixPalette();
  ReduceFlicker(SelectedFlickerLevel());
  DrawMixPalette();
}

void MainWindow::FlickerLevelSelected(FlickerLevel level)
{
  // The single-bank searches use the whole table: no level applies.
  if (SameColBanksActive()) {
    return;
  }
  RebuildReducedMixPalette(level);
}

void MainWindow::SameColBanksClicked()
{
  const MainWindowControls& c = ui_;
  const bool on = c.sameBanksBox->isChecked();
  if (SelectedMode() == GraphicMode::HiresInterlaced) {
    BuildMixPalette();
    DrawMixPalette();
    c.alternateYBox->setEnabled(on);
    c.alternateXBox->setEnabled(on);
    c.alternateX8Box->setEnabled(false);
    return;
  }
  // The box is enabled only in "Hires FLI Interlace". A single bank has no
  // room for the cell-column alternation nor for four colours per span.
  if (on) {
    c.alternateX8Box->setEnabled(false);
    c.alternateXBox->setEnabled(true);
    c.fourColoursBox->setEnabled(false);
    BuildMixPalette();
    DrawMixPalette();
    return;
  }
  c.alternateX8Box->setEnabled(true);
  c.alternateXBox->setEnabled(false);
  c.fourColoursBox->setEnabled(true);
  RebuildReducedMixPalette(SelectedFlickerLevel());
}

void MainWindow::ColourTrackBarChanged()
{
  const MainWindowControls& c = ui_;
  c.adjustment.red.field->setText(QString::number(c.adjustment.red.trackBar->value()));
  c.adjustment.green.field->setText(QString::number(c.adjustment.green.trackBar->value()));
  c.adjustment.blue.field->setText(QString::number(c.adjustment.blue.trackBar->value()));
}

void MainWindow::ResetDefaults()
{
  MainWindowControls& c = ui_;
  c.flipDitherBox->setChecked(false);
  c.serpentineBox->setChecked(true);
  c.strengthSpinner->SetPosition(45);
  c.separateRgbBox->setChecked(true);
  c.altYDitherBox->setChecked(false);
  c.extraBruteForceBox->setChecked(false);
  c.valueAmpSpinner->SetPosition(2);

  c.alternateXBox->setChecked(false);
  c.alternateXBox->setEnabled(false);
  c.sameBanksBox->setChecked(false);
  c.modeButtons.hiresFliInterlace->setChecked(true);

  for (QLineEdit* edit : {c.adjustment.red.field, c.adjustment.green.field, c.adjustment.blue.field,
                          c.adjustment.brightness.field, c.adjustment.contrast.field}) {
    edit->setText("0");
  }

  c.paletteButtons.pepto->setChecked(true);
  c.errorValueLabel->setText("0");

  c.mixButtons.rgb->setChecked(true);
  c.ditherButtons.custom->setChecked(true);
  c.flickerButtons.medium->setChecked(true);
  c.matchingButtons.perceptual->setChecked(true);

  c.fourColoursBox->setEnabled(true);
  c.fourColoursBox->setChecked(true);
  c.alternateYBox->setChecked(true);

  for (QSlider* trackBar :
       {c.adjustment.red.trackBar, c.adjustment.green.trackBar, c.adjustment.blue.trackBar,
        c.adjustment.contrast.trackBar, c.adjustment.brightness.trackBar}) {
    trackBar->setValue(0);
  }

  // The palette is copied even when "Pepto" was selected already, and the
  // table shows the "Light" reduction like at start-up.
  workspace_->palette = PaletteColours(PaletteId::Pepto);
  BuildMixPalette();
  ReduceFlicker(FlickerLevel::Light);
  DrawMixPalette();
}

}  // namespace pavona
