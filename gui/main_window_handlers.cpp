// The click and change handlers of the main window's settings: they keep the
// option controls consistent with the graphic mode and show in "Mix palette"
// the table that a conversion with the settings as shown will dither with.
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include "gui/applicable_control.h"
#include "gui/main_window.h"
#include "gui/main_window_tables.h"
#include "gui/number_field.h"
#include "gui/picture_view.h"
#include "gui/remembered_state.h"
#include "gui/up_down.h"
#include "plan/conversion_plan.h"
#include "plan/run_pictures.h"

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
  ConnectSettingHandlers();
  ConnectActionHandlers();
}

void MainWindow::ConnectSettingHandlers()
{
  const MainWindowControls& c = ui_;
  for (const auto& choice : PaletteChoices) {
    OnSelected(c.paletteButtons.*choice.button, this, [this] { SelectPalette(); });
  }
  // Everything the plan's mix table depends on.
  for (const auto& choice : MixChoices) {
    OnSelected(c.mixButtons.*choice.button, this, [this] { FollowSettings(); });
  }
  for (const auto& choice : ModeChoices) {
    OnSelected(c.modeButtons.*choice.button, this, [this] { FollowSettings(); });
  }
  for (const auto& choice : FlickerChoices) {
    OnSelected(c.flickerButtons.*choice.button, this, [this] { FollowSettings(); });
  }
  for (const auto& choice : MatchingChoices) {
    OnSelected(c.matchingButtons.*choice.button, this, [this] { FollowSettings(); });
  }
  connect(c.sameBanksBox, &QCheckBox::toggled, this, &MainWindow::FollowSettings);

  // Each track bar is mirrored by its field. A track bar reports a change
  // only when its position really changes, so the pairs do not echo forever.
  for (const AdjustmentRowInfo& info : AdjustmentTable) {
    const AdjustmentRow& row = c.adjustment.*info.row;
    ConnectTrackBarField(row.field, row.trackBar);
    if (info.colourOffset) {
      connect(row.trackBar, &QSlider::valueChanged, this, &MainWindow::ColourTrackBarChanged);
    } else {
      connect(row.trackBar, &QSlider::valueChanged, row.field,
              [field = row.field](int position) { ShowTrackBarPosition(field, position); });
    }
  }
  for (const SpinnerField& info : {ValueAmpSpinner, StrengthSpinner}) {
    ConnectSpinnerField(c.*info.field, c.*info.spinner);
  }
}

void MainWindow::ConnectActionHandlers()
{
  const MainWindowControls& c = ui_;
  connect(c.defaultsButton, &QPushButton::clicked, this, &MainWindow::ResetDefaults);
  connect(c.loadPictureButton, &QPushButton::clicked, this, &MainWindow::LoadPictureFile);
  connect(c.openAction, &QAction::triggered, this, &MainWindow::LoadPictureFile);
  connect(c.testPictureButton, &QPushButton::clicked, this, &MainWindow::LoadTestPicture);
  connect(placement_, &SourcePlacement::Changed, this, &MainWindow::ShowPlacedFrame);
  connect(placement_, &SourcePlacement::ModeChanged, this, &MainWindow::ShowLoadedStatus);
  connect(placement_, &SourcePlacement::ModeChanged, this, [this] {
    const Placement chosen = placement_->Current();
    RememberPlacement({chosen.mode, chosen.aspect});
  });
  connect(c.convertButton, &QPushButton::clicked, this, &MainWindow::StartConversion);
  // The hold buttons watch the mouse themselves: pressed() and released()
  // come from the left button only.
  c.holdErrorsButton->installEventFilter(this);
  c.holdDitheredButton->installEventFilter(this);
  connect(c.saveRawButton, &QPushButton::clicked, this, &MainWindow::SaveRawData);
  connect(c.saveRawAction, &QAction::triggered, this, &MainWindow::SaveRawData);
  connect(c.saveProgramButton, &QPushButton::clicked, this, &MainWindow::SaveC64Program);
  connect(c.saveProgramAction, &QAction::triggered, this, &MainWindow::SaveC64Program);
  connect(c.saveC64FileButton, &QPushButton::clicked, this, &MainWindow::SaveC64File);
  connect(c.saveC64FileAction, &QAction::triggered, this, &MainWindow::SaveC64File);
  connect(c.runEmulatorButton, &QPushButton::clicked, this, &MainWindow::RunConversionInEmulator);
  connect(c.loadPaletteButton, &QPushButton::clicked, this, &MainWindow::LoadPaletteFile);
  connect(c.fieldPreviewButton, &QPushButton::clicked, this, &MainWindow::ShowFieldPreview);
  connect(c.interlacedPreviewButton, &QPushButton::clicked, this,
          &MainWindow::ShowInterlacedPreview);
  connect(c.exportPngButton, &QPushButton::clicked, this, &MainWindow::ExportPng);
  connect(c.exportPngAction, &QAction::triggered, this, &MainWindow::ExportPng);
  // A click does nothing while "Convert" is disabled, so neither does the key.
  connect(c.convertAction, &QAction::triggered, c.convertButton, &QPushButton::click);
  connect(c.exitAction, &QAction::triggered, this, [this] {
    SaveWindowGeometry(this);
    QCoreApplication::exit(0);
  });
  connect(c.aboutAction, &QAction::triggered, this, &MainWindow::ShowAboutWindow);
}

void MainWindow::ShowPlannedMixTable()
{
  const Settings settings = GatherSettings();
  Workspace& w = workspace();
  w.palette = PaletteOf(settings);
  PrepareMixTable(w.mix, w.palette, settings, PlanConversion(settings).mixTable);
  DrawMixPalette();
}

void MainWindow::DrawMixPalette()
{
  ui_.mixTableView->SetImage(
      ImageFromPixels(pavona::DrawMixPalette(workspace().mix), MixImageWidth, MixImageHeight));
}

// Palettes are measured for the RGB average; selecting one selects it, which
// shows the table again when "YUV Mix" was selected.
void MainWindow::SelectPalette()
{
  ui_.mixButtons.rgb->setChecked(true);
  ShowPlannedMixTable();
}

void MainWindow::FollowSettings()
{
  ApplyEnabledControls();
  ShowPlannedMixTable();
  placement_->SetArea(PlanConversion(GatherSettings()).shown);
}

// Which option controls apply in which mode, and why the others do not, is
// the conversion plan's decision; the window only follows it.
void MainWindow::ApplyEnabledControls()
{
  const Settings settings = GatherSettings();
  const auto follow = [&settings](QWidget* control, OptionControl option) {
    ShowApplicability(control, WhyNotApplicable(settings, option));
  };
  const MainWindowControls& c = ui_;
  follow(c.sameBanksBox, OptionControl::SameBanks);
  for (const auto& choice : FlickerChoices) {
    follow(c.flickerButtons.*choice.button, OptionControl::FlickerLevels);
  }
  follow(c.fourColoursBox, OptionControl::FourColours);
  follow(c.alternateYBox, OptionControl::AlternateY);
  follow(c.alternateXBox, OptionControl::AlternateX);
  follow(c.alternateX8Box, OptionControl::AlternateX8);
  follow(c.fieldPreviewButton, OptionControl::FieldPreviews);
  follow(c.interlacedPreviewButton, OptionControl::FieldPreviews);
  follow(c.refineBox, OptionControl::Refine);
}

// Any of the three colour offsets rewrites all three fields.
void MainWindow::ColourTrackBarChanged()
{
  for (const AdjustmentRowInfo& info : AdjustmentTable) {
    if (info.colourOffset) {
      const AdjustmentRow& row = ui_.adjustment.*info.row;
      ShowTrackBarPosition(row.field, row.trackBar->value());
    }
  }
}

// Every setting back to its default but "Alternate X8", which keeps its
// state, and the colours read from a palette file.
void MainWindow::ResetDefaults()
{
  Settings defaults;
  defaults.alternateX8 = ui_.alternateX8Box->isChecked();
  defaults.customPalette = customPalette_;  // the palette file read stays at hand
  ShowSettings(defaults);
  ui_.errorValueLabel->setText("0");
}

}  // namespace pavona
