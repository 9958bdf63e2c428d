#include "gui/main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QVBoxLayout>

#include "gui/about_window.h"
#include "gui/artwork.h"
#include "gui/gui_progress.h"
#include "gui/picture_view.h"
#include "gui/preview_windows.h"
#include "gui/up_down.h"
#include "gui/user_prompts.h"

namespace pavona {
namespace {

constexpr int WindowWidth = 938;
constexpr int WindowHeight = 618;
constexpr int BannerWidth = 928;
constexpr int BannerHeight = 81;

// Group boxes are packed tightly: the window has a fixed size. Their titles
// sit on the frame line, which saves a text row per box.
constexpr char CompactGroupStyle[] =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 7px;"
    " padding-top: 3px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px;"
    " padding: 0 2px; }";

template <typename Control>
Control* Make(const char* name, const QString& caption, QWidget* parent)
{
  auto* control = new Control(caption, parent);
  control->setObjectName(name);
  return control;
}

template <typename Control>
Control* Named(Control* control, const char* name)
{
  control->setObjectName(name);
  return control;
}

QFrame* MakePanel(const char* name, QWidget* parent)
{
  auto* panel = Named(new QFrame(parent), name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

template <typename Layout>
Layout* Stack(int spacing = 3)
{
  auto* layout = new Layout;
  layout->setSpacing(spacing);
  return layout;
}

// A group box whose controls fill a grid row by row, `columns` to a row.
class GridGroup {
 public:
  GridGroup(const QString& title, QWidget* parent, int columns = 1)
      : box_(new QGroupBox(title, parent)), layout_(new QGridLayout(box_)), columns_(columns)
  {
    layout_->setContentsMargins(5, 2, 5, 3);
    layout_->setSpacing(0);
    layout_->setHorizontalSpacing(4);
  }

  QGroupBox* box() const { return box_; }

  template <typename Control>
  void Add(Control*& slot, const char* name, const QString& caption)
  {
    slot = Make<Control>(name, caption, box_);
    layout_->addWidget(slot, next_ / columns_, next_ % columns_);
    ++next_;
  }

  // A control or a row of controls across the whole width, on a new row.
  void AddRow(QWidget* widget) { layout_->addWidget(widget, NewRow(), 0, 1, columns_); }
  void AddRow(QLayout* layout) { layout_->addLayout(layout, NewRow(), 0, 1, columns_); }

 private:
  int NewRow()
  {
    const int row = (next_ + columns_ - 1) / columns_;
    next_ = (row + 1) * columns_;
    return row;
  }

  QGroupBox* box_;
  QGridLayout* layout_;
  int columns_;
  int next_ = 0;
};

// An edit field with its spinner and the label before them.
QHBoxLayout* SpinnerRow(const QString& label, QLineEdit*& edit, const char* editName,
                        UpDown*& upDown, const char* upDownName, int minimum, int maximum,
                        QWidget* parent)
{
  edit = Named(new QLineEdit(parent), editName);
  edit->setFixedWidth(32);
  upDown = Named(new UpDown(edit, minimum, maximum, parent), upDownName);
  auto* row = Stack<QHBoxLayout>();
  row->addWidget(new QLabel(label, parent));
  row->addWidget(edit);
  row->addWidget(upDown);
  row->addStretch();
  return row;
}

void SetEditColour(QLineEdit* edit, QColor colour)
{
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Text, Qt::black);
  edit->setPalette(palette);
}

}  // namespace

// The settings groups, kept only while the window is being laid out.
struct MainWindow::Groups {
  QGroupBox* mode;
  QGroupBox* load;
  QGroupBox* save;
  QGroupBox* preview;
  QGroupBox* palette;
  QGroupBox* mixing;
  QGroupBox* matching;
  QGroupBox* flicker;
  QGroupBox* dithering;
  QGroupBox* fourColours;
  QGroupBox* sameBanks;
  QGroupBox* bruteForce;
  QGroupBox* interlace;
  QGroupBox* adjustment;
  QGroupBox* mixTable;
  QGroupBox* errorValue;
};

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      workspace_(std::make_unique<Workspace>()),
      prompts_(std::make_unique<StandardPrompts>())
{
  setObjectName("mainWindow");
  setWindowTitle("Pavona HI-FLI Convertor");
  QFont compact = font();
  compact.setPointSize(8);
  setFont(compact);
  setStyleSheet(CompactGroupStyle);

  setCentralWidget(new QWidget(this));
  CreateMenu();
  CreatePictures();
  CreateStatusBar();
  ArrangeWindow(CreateGroups());
  setFixedSize(WindowWidth, WindowHeight);
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - QPoint(WindowWidth / 2, WindowHeight / 2));
  }

  progress_ = std::make_unique<GuiProgress>(ui_.statusText, ui_.progressBar, ui_.resultView,
                                            ui_.mixTableView, ui_.convertButton);
  // The secondary windows come after the main window and stay hidden until
  // asked for; the Interlaced Preview's timer starts now and runs until exit.
  about_ = new AboutWindow(this);
  fieldPreview_ = new FieldPreviewWindow(this);
  interlacedPreview_ = new InterlacedPreviewWindow(this);

  ConnectHandlers();
  InitialiseControls();
  InitialiseWorkingState();
}

// A conversion still running works on the workspace and reports to the
// widgets: it ends before they go. There is no way to stop it half-way, so
// closing the window during a conversion waits for it.
MainWindow::~MainWindow()
{
  if (worker_.joinable()) {
    worker_.join();
  }
}

void MainWindow::SetPrompts(std::unique_ptr<UserPrompts> prompts)
{
  prompts_ = std::move(prompts);
}

void MainWindow::CreateMenu()
{
  MainWindowControls& c = ui_;
  c.fileMenu = Named(menuBar()->addMenu("File"), "fileMenu");
  c.openAction = Named(c.fileMenu->addAction("Open Image"), "openAction");
  c.saveRawAction = Named(c.fileMenu->addAction("Save Raw"), "saveRawAction");
  c.saveProgramAction = Named(c.fileMenu->addAction("Save C64 Exe"), "saveProgramAction");
  c.fileMenu->addSeparator();
  c.exitAction = Named(c.fileMenu->addAction("Exit"), "exitAction");
  c.aboutAction = Named(menuBar()->addAction("About"), "aboutAction");
}

void MainWindow::CreatePictures()
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();
  c.bannerView = Named(
      new PictureView(BannerWidth, BannerHeight, BannerWidth, BannerHeight, central), "bannerView");
  c.bannerView->SetImage(DrawBanner(BannerWidth, BannerHeight));

  // The source frame with its scroll bars around it.
  c.sourcePanel = MakePanel("sourcePanel", central);
  c.sourceView = Named(
      new PictureView(PictureWidth, PictureHeight, PictureWidth, PictureHeight, c.sourcePanel),
      "sourceView");
  c.horizontalScroll = Named(new QScrollBar(Qt::Horizontal, c.sourcePanel), "horizontalScroll");
  c.verticalScroll = Named(new QScrollBar(Qt::Vertical, c.sourcePanel), "verticalScroll");
  c.horizontalScroll->setRange(0, 0);
  c.verticalScroll->setRange(0, 0);
  // A position is where the picture's top-left corner lies in the frame (0 or
  // less), so its value falls as the view moves right or down; inverted bars
  // keep that value and still move the handle the way the view goes.
  c.horizontalScroll->setInvertedAppearance(true);
  c.verticalScroll->setInvertedAppearance(true);
  c.verticalScroll->setInvertedControls(false);  // vertical bars invert their keys by default
  // The handle's length shows how much of the picture the frame holds.
  c.horizontalScroll->setPageStep(PictureWidth);
  c.verticalScroll->setPageStep(PictureHeight);
  auto* source = new QGridLayout(c.sourcePanel);
  source->setContentsMargins(2, 2, 2, 2);
  source->setSpacing(0);
  source->addWidget(c.sourceView, 0, 0);
  source->addWidget(c.verticalScroll, 0, 1);
  source->addWidget(c.horizontalScroll, 1, 0);

  c.resultPanel = MakePanel("resultPanel", central);
  c.resultView = Named(
      new PictureView(PictureWidth, PictureHeight, PictureWidth, PictureHeight, c.resultPanel),
      "resultView");
  auto* result = new QVBoxLayout(c.resultPanel);
  result->setContentsMargins(2, 2, 2, 2);
  result->addWidget(c.resultView);
}

// Status bar: one text panel, and the progress bar beside it.
void MainWindow::CreateStatusBar()
{
  MainWindowControls& c = ui_;
  c.statusBar = Named(statusBar(), "statusBar");
  c.statusBar->setSizeGripEnabled(false);
  c.statusText = Named(new QLabel(c.statusBar), "statusText");
  c.statusBar->addWidget(c.statusText, 1);
  c.progressBar = Named(new QProgressBar(c.statusBar), "progressBar");
  c.progressBar->setRange(0, 200);
  c.progressBar->setValue(0);
  c.progressBar->setTextVisible(false);
  c.progressBar->setFixedSize(320, 14);
  c.statusBar->addPermanentWidget(c.progressBar);
}

MainWindow::Groups MainWindow::CreateGroups()
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();
  Groups groups{};

  GridGroup mode("Graphic Mode", central);
  mode.Add(c.modeButtons.hiresStandard, "modeButtons.hiresStandard", "Hires Standard");
  mode.Add(c.modeButtons.hiresInterlaced, "modeButtons.hiresInterlaced", "Hires Interlaced");
  mode.Add(c.modeButtons.hiresFli, "modeButtons.hiresFli", "Hires FLI");
  mode.Add(c.modeButtons.hiresFliInterlace, "modeButtons.hiresFliInterlace", "Hires FLI Interlace");
  c.convertButton = Make<QPushButton>("convertButton", "Convert", mode.box());
  c.convertButton->setMinimumHeight(28);
  mode.AddRow(c.convertButton);
  groups.mode = mode.box();

  GridGroup load("Load Options", central, 2);
  load.Add(c.testPictureButton, "testPictureButton", "Internal Test Image");
  load.Add(c.loadPictureButton, "loadPictureButton", "Load Bitmap / JPG");
  groups.load = load.box();
  GridGroup save("Save Options", central, 2);
  save.Add(c.saveRawButton, "saveRawButton", "Save Raw C64 data");
  save.Add(c.saveProgramButton, "saveProgramButton", "Save C64 .prg");
  groups.save = save.box();
  GridGroup preview("Preview Options", central, 2);
  preview.Add(c.fieldPreviewButton, "fieldPreviewButton", "Field Seperate");
  preview.Add(c.interlacedPreviewButton, "interlacedPreviewButton", "Interlaced Preview");
  groups.preview = preview.box();
  c.defaultsButton = Make<QPushButton>("defaultsButton", "Defaults", central);

  GridGroup palette("Palette", central);
  palette.Add(c.paletteButtons.pepto, "paletteButtons.pepto", "Pepto");
  palette.Add(c.paletteButtons.deekay, "paletteButtons.deekay", "Deekay");
  palette.Add(c.paletteButtons.vice, "paletteButtons.vice", "Vice");
  palette.Add(c.paletteButtons.ccs64, "paletteButtons.ccs64", "CCS64");
  palette.Add(c.paletteButtons.frodo, "paletteButtons.frodo", "Frodo");
  groups.palette = palette.box();
  GridGroup mixing("Palette Mixing", central, 2);
  mixing.Add(c.mixButtons.rgb, "mixButtons.rgb", "RGB Mix");
  mixing.Add(c.mixButtons.yuv, "mixButtons.yuv", "YUV Mix");
  groups.mixing = mixing.box();
  GridGroup matching("Color matching", central);
  matching.Add(c.matchingButtons.rgbDistance, "matchingButtons.rgbDistance", "RGB Distance");
  matching.Add(c.matchingButtons.brightness, "matchingButtons.brightness", "'Y' Brightness");
  matching.Add(c.matchingButtons.perceptual, "matchingButtons.perceptual", "Perceptual");
  groups.matching = matching.box();
  GridGroup flicker("Flicker col reduction", central, 2);
  flicker.Add(c.flickerButtons.off, "flickerButtons.off", "Off");
  flicker.Add(c.flickerButtons.light, "flickerButtons.light", "Light");
  flicker.Add(c.flickerButtons.medium, "flickerButtons.medium", "Medium");
  flicker.Add(c.flickerButtons.heavy, "flickerButtons.heavy", "Heavy");
  groups.flicker = flicker.box();

  groups.dithering = CreateDitheringGroup(central);

  GridGroup fourColours("4 cols per 8x1", central);
  fourColours.Add(c.fourColoursBox, "fourColoursBox", "Activate");
  groups.fourColours = fourColours.box();
  GridGroup sameBanks("Same Col Banks", central);
  sameBanks.Add(c.sameBanksBox, "sameBanksBox", "Enabled");
  groups.sameBanks = sameBanks.box();
  GridGroup bruteForce("Extra Brute Force", central);
  bruteForce.Add(c.extraBruteForceBox, "extraBruteForceBox", "Activate");
  groups.bruteForce = bruteForce.box();
  GridGroup interlace("Interlace settings", central);
  interlace.Add(c.alternateYBox, "alternateYBox", "Alternate Y");
  interlace.Add(c.alternateXBox, "alternateXBox", "Alternate X");
  interlace.Add(c.alternateX8Box, "alternateX8Box", "Alternate X8");
  groups.interlace = interlace.box();

  groups.adjustment = CreateAdjustmentGroup(central);

  GridGroup mixTable("Mix palette", central);
  c.mixTableView = Named(
      new PictureView(MixImageWidth, MixImageHeight, MixImageWidth, MixImageHeight, mixTable.box()),
      "mixTableView");
  mixTable.AddRow(c.mixTableView);
  groups.mixTable = mixTable.box();

  GridGroup error("Error Pixel Value", central, 4);
  error.Add(c.errorValueLabel, "errorValueLabel", "0");
  error.Add(c.percentLabel, "percentLabel", "%");
  error.Add(c.holdErrorsButton, "holdErrorsButton", "Hold to Show");
  error.Add(c.holdDitheredButton, "holdDitheredButton", "Hold for pre-Hifli Conv");
  QFont big = c.errorValueLabel->font();
  big.setPointSize(14);
  big.setBold(true);
  c.errorValueLabel->setFont(big);
  c.percentLabel->setFont(big);
  c.errorValueLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  c.errorValueLabel->setMinimumWidth(36);
  groups.errorValue = error.box();

  // Everything but the pictures and the mix table; the scroll bars sit in
  // the source panel.
  lockedWhileConverting_ = {
      groups.mode,      groups.load,       groups.save,      groups.preview,    groups.palette,
      groups.mixing,    groups.matching,   groups.flicker,   groups.dithering,  groups.fourColours,
      groups.sameBanks, groups.bruteForce, groups.interlace, groups.adjustment, groups.errorValue,
      c.defaultsButton, c.sourcePanel};
  return groups;
}

// Four boxes whose buttons are one choice across all of them.
QGroupBox* MainWindow::CreateDitheringGroup(QWidget* parent)
{
  MainWindowControls& c = ui_;
  auto* dithering = new QGroupBox("Dithering", parent);

  GridGroup none("No dither", dithering);
  none.Add(c.ditherButtons.none, "ditherButtons.none", "None");
  GridGroup ordered("Ordered", dithering, 2);
  ordered.Add(c.ditherButtons.ordered2x2, "ditherButtons.ordered2x2", "Ordered 2x2");
  ordered.Add(c.ditherButtons.ordered3x3, "ditherButtons.ordered3x3", "Ordered 3x3");
  ordered.Add(c.ditherButtons.ordered4x4, "ditherButtons.ordered4x4", "Ordered 4x4");
  ordered.Add(c.ditherButtons.ordered8x8, "ditherButtons.ordered8x8", "Ordered 8x8");
  ordered.AddRow(SpinnerRow("Value Amp", c.valueAmpField, "valueAmpField", c.valueAmpSpinner,
                            "valueAmpSpinner", 1, 4, ordered.box()));
  ordered.Add(c.altYDitherBox, "altYDitherBox", "Alt Y Dither");
  ordered.Add(c.flipDitherBox, "flipDitherBox", "Flip dither");
  GridGroup diffusion("Diffusion", dithering);
  diffusion.Add(c.ditherButtons.floydSteinberg, "ditherButtons.floydSteinberg", "Floyd Steinberg");
  diffusion.Add(c.ditherButtons.custom, "ditherButtons.custom", "Custom");
  diffusion.Add(c.serpentineBox, "serpentineBox", "Serpentine");
  GridGroup random("Random", dithering);
  random.Add(c.ditherButtons.random, "ditherButtons.random", "Enable");
  random.AddRow(SpinnerRow("Strength", c.strengthField, "strengthField", c.strengthSpinner,
                           "strengthSpinner", 0, 255, random.box()));
  random.Add(c.separateRgbBox, "separateRgbBox", "Seperate RGB");

  auto* left = Stack<QVBoxLayout>();
  left->addWidget(ordered.box());
  left->addWidget(none.box());
  left->addStretch();
  auto* right = Stack<QVBoxLayout>();
  right->addWidget(diffusion.box());
  right->addWidget(random.box());
  right->addStretch();
  auto* layout = new QHBoxLayout(dithering);
  layout->setContentsMargins(5, 2, 5, 3);
  layout->setSpacing(3);
  layout->addLayout(left);
  layout->addLayout(right);

  // Selecting one deselects every other, without running any handler.
  ditherChoice_ = new QButtonGroup(this);
  for (QRadioButton* button :
       {c.ditherButtons.none, c.ditherButtons.ordered2x2, c.ditherButtons.ordered3x3,
        c.ditherButtons.ordered4x4, c.ditherButtons.ordered8x8, c.ditherButtons.floydSteinberg,
        c.ditherButtons.custom, c.ditherButtons.random}) {
    ditherChoice_->addButton(button);
  }
  return dithering;
}

// Five track bars without captions, each with the field that shows it; the
// colour offsets have fields in their colours.
QGroupBox* MainWindow::CreateAdjustmentGroup(QWidget* parent)
{
  MainWindowControls& c = ui_;
  struct Row {
    QSlider*& trackBar;
    const char* trackName;
    QLineEdit*& edit;
    const char* editName;
    int limit;
    const char* tip;
  };
  const Row rows[] = {
      {c.adjustment.red.trackBar, "adjustment.red.trackBar", c.adjustment.red.field,
       "adjustment.red.field", 255, "Red offset"},
      {c.adjustment.green.trackBar, "adjustment.green.trackBar", c.adjustment.green.field,
       "adjustment.green.field", 255, "Green offset"},
      {c.adjustment.blue.trackBar, "adjustment.blue.trackBar", c.adjustment.blue.field,
       "adjustment.blue.field", 255, "Blue offset"},
      {c.adjustment.brightness.trackBar, "adjustment.brightness.trackBar",
       c.adjustment.brightness.field, "adjustment.brightness.field", 255, "Brightness"},
      {c.adjustment.contrast.trackBar, "adjustment.contrast.trackBar", c.adjustment.contrast.field,
       "adjustment.contrast.field", 100, "Contrast (percent)"},
  };
  auto* group = new QGroupBox("Color Adjustment", parent);
  auto* layout = new QGridLayout(group);
  layout->setContentsMargins(5, 2, 5, 3);
  layout->setSpacing(2);
  int row = 0;
  for (const Row& r : rows) {
    r.trackBar = Named(new QSlider(Qt::Horizontal, group), r.trackName);
    r.trackBar->setRange(-r.limit, r.limit);
    r.trackBar->setPageStep(8);
    r.trackBar->setToolTip(r.tip);
    r.edit = Named(new QLineEdit(group), r.editName);
    r.edit->setFixedWidth(40);
    r.edit->setToolTip(r.tip);
    layout->addWidget(r.trackBar, row, 0);
    layout->addWidget(r.edit, row, 1);
    ++row;
  }
  SetEditColour(c.adjustment.red.field, QColor(0xFF, 0x60, 0x60));
  SetEditColour(c.adjustment.green.field, QColor(0x60, 0xD0, 0x60));
  SetEditColour(c.adjustment.blue.field, QColor(0x70, 0x90, 0xFF));
  return group;
}

// Top: the banner. Middle: source and result with the error value and the
// mix table under them, and the buttons that start things. Bottom: the
// settings.
void MainWindow::ArrangeWindow(const Groups& groups)
{
  const MainWindowControls& c = ui_;
  auto column = [](std::initializer_list<QWidget*> widgets) {
    auto* layout = Stack<QVBoxLayout>();
    for (QWidget* widget : widgets) {
      layout->addWidget(widget);
    }
    layout->addStretch();
    return layout;
  };

  auto* pictures = Stack<QGridLayout>(4);
  pictures->addWidget(c.sourcePanel, 0, 0);
  pictures->addWidget(c.resultPanel, 0, 1, Qt::AlignTop);
  pictures->addWidget(groups.errorValue, 1, 0);
  pictures->addWidget(groups.mixTable, 1, 1);
  auto* actions = column({groups.mode, groups.load, groups.save, groups.preview});
  actions->addWidget(c.defaultsButton, 0, Qt::AlignRight);
  auto* middle = Stack<QHBoxLayout>(4);
  middle->addLayout(pictures);
  middle->addLayout(actions, 1);

  auto* bottom = Stack<QHBoxLayout>(4);
  bottom->addLayout(column({groups.dithering}));
  bottom->addLayout(column({groups.adjustment, groups.mixing}), 1);
  bottom->addLayout(column({groups.palette}));
  bottom->addLayout(
      column({groups.flicker, groups.fourColours, groups.sameBanks, groups.bruteForce}));
  bottom->addLayout(column({groups.matching, groups.interlace}));

  auto* top = new QVBoxLayout(centralWidget());
  top->setContentsMargins(3, 2, 3, 0);
  top->setSpacing(3);
  top->addWidget(c.bannerView, 0, Qt::AlignHCenter);
  top->addLayout(middle);
  top->addLayout(bottom);
  top->addStretch();
}

// Start values: the controls as created, then the steps of construction, in
// this order. Changes run their click handlers, though the mix table they
// touch is built afresh right after.
void MainWindow::InitialiseControls()
{
  MainWindowControls& c = ui_;
  c.modeButtons.hiresFliInterlace->setChecked(true);
  c.paletteButtons.pepto->setChecked(true);
  c.serpentineBox->setChecked(true);
  c.separateRgbBox->setChecked(true);
  c.valueAmpSpinner->SetPosition(2);
  c.strengthSpinner->SetPosition(45);
  for (QLineEdit* edit : {c.adjustment.red.field, c.adjustment.green.field, c.adjustment.blue.field,
                          c.adjustment.brightness.field, c.adjustment.contrast.field}) {
    edit->setText("0");
  }

  c.flickerButtons.medium->setChecked(true);
  c.ditherButtons.custom->setChecked(true);
  c.matchingButtons.perceptual->setChecked(true);
  c.fourColoursBox->setEnabled(true);
  c.fourColoursBox->setChecked(true);
  c.alternateYBox->setChecked(true);
  c.adjustment.red.trackBar->setValue(0);
  c.adjustment.green.trackBar->setValue(0);
  c.adjustment.blue.trackBar->setValue(0);
  c.mixButtons.rgb->setChecked(true);
  c.horizontalScroll->setEnabled(false);
  c.verticalScroll->setEnabled(false);
  c.convertButton->setEnabled(false);
  // Nothing to save before the first conversion.
  EnableSaving(false);
  workspace_->conversionDone = false;
  c.alternateXBox->setChecked(false);
  c.alternateXBox->setEnabled(false);
  c.sameBanksBox->setChecked(false);
}

// The creation handler: the mix table shows the "Light" reduction although
// "Medium" is selected; the first "Convert" applies the selected level.
void MainWindow::InitialiseWorkingState()
{
  BuildMixPalette();
  ReduceFlicker(FlickerLevel::Light);
  DrawMixPalette();
  ui_.sourceView->Fill(0x000000);
  ui_.resultView->Fill(0x000000);
  errorViewHeld_ = false;
  ditherViewHeld_ = false;
}

void MainWindow::SetStatusText(const QString& text)
{
  ui_.statusText->setText(text);
  ui_.statusText->repaint();
}

void MainWindow::ShowAboutWindow()
{
  CentreOn(about_, this);
  about_->exec();
}

// "Exit" and closing the main window end the program at once, whatever
// secondary windows are open.
void MainWindow::closeEvent(QCloseEvent* event)
{
  event->accept();
  QCoreApplication::exit(0);
}

}  // namespace pavona
