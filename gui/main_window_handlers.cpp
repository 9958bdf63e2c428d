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

  const std::pair<QRadioButton*, PaletteId> palettes[] = {{c.RadioButton8, PaletteId::Pepto},
                                                          {c.RadioButton9, PaletteId::Deekay},
                                                          {c.RadioButton21, PaletteId::Vice},
                                                          {c.RadioButton22, PaletteId::Ccs64},
                                                          {c.RadioButton23, PaletteId::Frodo}};
  for (const auto& [button, palette] : palettes) {
    OnSelected(button, this, [this, palette] { SelectPalette(palette); });
  }
  OnSelected(c.RadioButton17, this, [this] { RebuildForMixing(); });
  OnSelected(c.RadioButton18, this, [this] { RebuildForMixing(); });

  OnSelected(c.RadioButton3, this, [this] { HiresStandardOrFliSelected(); });
  OnSelected(c.RadioButton5, this, [this] { HiresStandardOrFliSelected(); });
  OnSelected(c.RadioButton4, this, [this] { HiresInterlacedSelected(); });
  OnSelected(c.RadioButton6, this, [this] { HiresFliInterlaceSelected(); });

  const std::pair<QRadioButton*, FlickerLevel> levels[] = {{c.RadioButton14, FlickerLevel::Off},
                                                           {c.RadioButton20, FlickerLevel::Light},
                                                           {c.RadioButton15, FlickerLevel::Medium},
                                                           {c.RadioButton16, FlickerLevel::Heavy}};
  for (const auto& [button, level] : levels) {
    OnSelected(button, this, [this, level] { FlickerLevelSelected(level); });
  }
  connect(c.CheckBox6, &QCheckBox::toggled, this, &MainWindow::SameColBanksClicked);

  // Each track bar is mirrored by its field. A track bar reports a change
  // only when its position really changes, so the pairs do not echo forever.
  for (QSlider* trackBar : {c.TrackBar1, c.TrackBar2, c.TrackBar3}) {
    connect(trackBar, &QSlider::valueChanged, this, &MainWindow::ColourTrackBarChanged);
  }
  const std::pair<QLineEdit*, QSlider*> fields[] = {{c.Edit1, c.TrackBar1},
                                                    {c.Edit2, c.TrackBar2},
                                                    {c.Edit3, c.TrackBar3},
                                                    {c.Edit4, c.TrackBar5},
                                                    {c.Edit5, c.TrackBar4}};
  for (const auto& [edit, trackBar] : fields) {
    connect(edit, &QLineEdit::textChanged, trackBar,
            [trackBar](const QString& text) { trackBar->setValue(WholeNumberOf(text)); });
  }
  connect(c.TrackBar5, &QSlider::valueChanged, c.Edit4,
          [edit = c.Edit4](int position) { edit->setText(QString::number(position)); });
  connect(c.TrackBar4, &QSlider::valueChanged, c.Edit5,
          [edit = c.Edit5](int position) { edit->setText(QString::number(position)); });

  connect(c.Button1, &QPushButton::clicked, this, &MainWindow::ResetDefaults);

  connect(c.Button6, &QPushButton::clicked, this, &MainWindow::LoadPictureFile);
  connect(c.OpenImage1, &QAction::triggered, this, &MainWindow::LoadPictureFile);
  connect(c.Button5, &QPushButton::clicked, this, &MainWindow::LoadTestPicture);
  connect(c.ScrollBar1, &QScrollBar::valueChanged, this, &MainWindow::ScrollSource);
  connect(c.ScrollBar2, &QScrollBar::valueChanged, this, &MainWindow::ScrollSource);
  connect(c.BitBtn1, &QPushButton::clicked, this, &MainWindow::StartConversion);
  // The hold buttons watch the mouse themselves: pressed() and released()
  // come from the left button only.
  c.Button4->installEventFilter(this);
  c.BitBtn2->installEventFilter(this);
  connect(c.Button7, &QPushButton::clicked, this, &MainWindow::SaveRawData);
  connect(c.SaveRaw1, &QAction::triggered, this, &MainWindow::SaveRawData);
  connect(c.Button8, &QPushButton::clicked, this, &MainWindow::SaveC64Program);
  connect(c.SaveC64Exe1, &QAction::triggered, this, &MainWindow::SaveC64Program);
  connect(c.Button2, &QPushButton::clicked, this, &MainWindow::ShowFieldPreview);
  connect(c.Button3, &QPushButton::clicked, this, &MainWindow::ShowInterlacedPreview);
  connect(c.Exit1, &QAction::triggered, this, [] { QCoreApplication::exit(0); });
  connect(c.Settings1, &QAction::triggered, this, &MainWindow::ShowAboutWindow);
}

GraphicMode MainWindow::SelectedMode() const
{
  if (ui_.RadioButton3->isChecked()) {
    return GraphicMode::HiresStandard;
  }
  if (ui_.RadioButton4->isChecked()) {
    return GraphicMode::HiresInterlaced;
  }
  if (ui_.RadioButton5->isChecked()) {
    return GraphicMode::HiresFli;
  }
  return GraphicMode::HiresFliInterlace;
}

MixMethod MainWindow::SelectedMixMethod() const
{
  return ui_.RadioButton18->isChecked() ? MixMethod::Yuv : MixMethod::Rgb;
}

FlickerLevel MainWindow::SelectedFlickerLevel() const
{
  if (ui_.RadioButton20->isChecked()) {
    return FlickerLevel::Light;
  }
  if (ui_.RadioButton15->isChecked()) {
    return FlickerLevel::Medium;
  }
  if (ui_.RadioButton16->isChecked()) {
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
  if (c.RadioButton9->isChecked()) {
    settings.palette = PaletteId::Deekay;
  } else if (c.RadioButton21->isChecked()) {
    settings.palette = PaletteId::Vice;
  } else if (c.RadioButton22->isChecked()) {
    settings.palette = PaletteId::Ccs64;
  } else if (c.RadioButton23->isChecked()) {
    settings.palette = PaletteId::Frodo;
  }
  settings.mix = SelectedMixMethod();

  // The measures are asked in this order; they exclude each other.
  if (c.RadioButton11->isChecked()) {
    settings.measure = Measure::RgbDistance;
  } else if (c.RadioButton12->isChecked()) {
    settings.measure = Measure::Brightness;
  } else {
    settings.measure = Measure::Perceptual;
  }
  settings.flicker = SelectedFlickerLevel();

  const std::pair<QRadioButton*, DitherMethod> methods[] = {
      {c.RadioButton1, DitherMethod::None},        {c.RadioButton7, DitherMethod::Ordered2x2},
      {c.RadioButton26, DitherMethod::Ordered3x3}, {c.RadioButton10, DitherMethod::Ordered4x4},
      {c.RadioButton24, DitherMethod::Ordered8x8}, {c.RadioButton2, DitherMethod::FloydSteinberg},
      {c.RadioButton13, DitherMethod::Custom},     {c.RadioButton25, DitherMethod::Random}};
  for (const auto& [button, method] : methods) {
    if (button->isChecked()) {
      settings.dither.method = method;
      break;
    }
  }
  settings.dither.serpentine = c.CheckBox9->isChecked();
  settings.dither.valueAmp = WholeNumberOf(c.Edit6->text());
  settings.dither.altYDither = c.CheckBox7->isChecked();
  settings.dither.flipDither = c.CheckBox10->isChecked();
  settings.dither.strength = WholeNumberOf(c.Edit7->text());
  settings.dither.separateRgb = c.CheckBox8->isChecked();

  // Option check boxes count with their state, enabled or not.
  settings.fourColours = c.CheckBox3->isChecked();
  settings.sameBanks = c.CheckBox6->isChecked();
  settings.extraBruteForce = c.CheckBox5->isChecked();
  settings.alternateY = c.CheckBox1->isChecked();
  settings.alternateX = c.CheckBox4->isChecked();
  settings.alternateX8 = c.CheckBox2->isChecked();

  settings.adjustment.red = c.TrackBar1->value();
  settings.adjustment.green = c.TrackBar2->value();
  settings.adjustment.blue = c.TrackBar3->value();
  settings.adjustment.brightness = c.TrackBar5->value();
  settings.adjustment.contrast = c.TrackBar4->value();
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
  ui_.Image4->SetImage(
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
  return !ui_.CheckBox6->testAttribute(Qt::WA_ForceDisabled) && ui_.CheckBox6->isChecked();
}

void MainWindow::SelectPalette(PaletteId palette)
{
  workspace_->palette = PaletteColours(palette);
  // Palettes are measured for the RGB average; selecting it rebuilds the
  // table when "YUV Mix" was selected.
  ui_.RadioButton17->setChecked(true);
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
           c.CheckBox6, c.RadioButton14, c.RadioButton20, c.RadioButton15, c.RadioButton16,
           c.CheckBox3, c.CheckBox1, c.CheckBox4, c.CheckBox2, c.Button2, c.Button3}) {
    control->setEnabled(false);
  }
  BuildMixPalette();
  DrawMixPalette();
}

void MainWindow::HiresInterlacedSelected()
{
  const MainWindowControls& c = ui_;
  const bool sameBanks = c.CheckBox6->isChecked();
  c.CheckBox3->setEnabled(false);
  if (sameBanks) {
    c.CheckBox2->setEnabled(false);
  } else {
    c.CheckBox1->setEnabled(false);
    c.CheckBox4->setEnabled(false);
    c.CheckBox2->setEnabled(false);
  }
  c.CheckBox6->setEnabled(true);
  if (sameBanks) {
    c.CheckBox1->setEnabled(true);
    c.CheckBox4->setEnabled(true);
  }
  for (QWidget* control :
       std::initializer_list<QWidget*>{c.RadioButton14, c.RadioButton20, c.RadioButton15,
                                       c.RadioButton16, c.Button2, c.Button3}) {
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
  const bool sameBanks = c.CheckBox6->isChecked();
  if (sameBanks) {
    c.CheckBox2->setEnabled(false);
  } else {
    c.CheckBox4->setEnabled(false);
  }
  c.CheckBox6->setEnabled(true);
  if (sameBanks) {
    c.CheckBox4->setEnabled(true);
  } else {
    c.CheckBox2->setEnabled(true);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{
           c.RadioButton14, c.RadioButton20, c.RadioButton15, c.RadioButton16, c.CheckBox3,
           c.CheckBox1, c.Button2, c.Button3}) {
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
  const bool on = c.CheckBox6->isChecked();
  if (SelectedMode() == GraphicMode::HiresInterlaced) {
    BuildMixPalette();
    DrawMixPalette();
    c.CheckBox1->setEnabled(on);
    c.CheckBox4->setEnabled(on);
    c.CheckBox2->setEnabled(false);
    return;
  }
  // The box is enabled only in "Hires FLI Interlace". A single bank has no
  // room for the cell-column alternation nor for four colours per span.
  if (on) {
    c.CheckBox2->setEnabled(false);
    c.CheckBox4->setEnabled(true);
    c.CheckBox3->setEnabled(false);
    BuildMixPalette();
    DrawMixPalette();
    return;
  }
  c.CheckBox2->setEnabled(true);
  c.CheckBox4->setEnabled(false);
  c.CheckBox3->setEnabled(true);
  RebuildReducedMixPalette(SelectedFlickerLevel());
}

void MainWindow::ColourTrackBarChanged()
{
  const MainWindowControls& c = ui_;
  c.Edit1->setText(QString::number(c.TrackBar1->value()));
  c.Edit2->setText(QString::number(c.TrackBar2->value()));
  c.Edit3->setText(QString::number(c.TrackBar3->value()));
}

void MainWindow::ResetDefaults()
{
  MainWindowControls& c = ui_;
  c.CheckBox10->setChecked(false);
  c.CheckBox9->setChecked(true);
  c.UpDown2->SetPosition(45);
  c.CheckBox8->setChecked(true);
  c.CheckBox7->setChecked(false);
  c.CheckBox5->setChecked(false);
  c.UpDown1->SetPosition(2);

  c.CheckBox4->setChecked(false);
  c.CheckBox4->setEnabled(false);
  c.CheckBox6->setChecked(false);
  c.RadioButton6->setChecked(true);

  for (QLineEdit* edit : {c.Edit1, c.Edit2, c.Edit3, c.Edit4, c.Edit5}) {
    edit->setText("0");
  }

  c.RadioButton8->setChecked(true);
  c.Label1->setText("0");

  c.RadioButton17->setChecked(true);
  c.RadioButton13->setChecked(true);
  c.RadioButton15->setChecked(true);
  c.RadioButton19->setChecked(true);

  c.CheckBox3->setEnabled(true);
  c.CheckBox3->setChecked(true);
  c.CheckBox1->setChecked(true);

  for (QSlider* trackBar : {c.TrackBar1, c.TrackBar2, c.TrackBar3, c.TrackBar4, c.TrackBar5}) {
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
