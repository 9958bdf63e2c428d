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
  setObjectName("Form1");
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

  progress_ = std::make_unique<GuiProgress>(ui_.StatusPanel, ui_.ProgressBar1, ui_.Image3,
                                            ui_.Image4, ui_.BitBtn1);
  // The secondary windows come after the main window and stay hidden until
  // asked for; the Interlaced Preview's timer starts now and runs until exit.
  about_ = new AboutWindow(this);
  fieldPreview_ = new FieldPreviewWindow(this);
  interlacedPreview_ = new InterlacedPreviewWindow(this);

  ConnectHandlers();
  InitialiseControls();
  InitialiseWorkingState();
}

// A conversion still running reports to the widgets: it is told to stop and
// ends before they go, leaving the workspace as it was.
MainWindow::~MainWindow()
{
  if (worker_.joinable()) {
    progress_->Stop();
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
  c.File1 = Named(menuBar()->addMenu("File"), "File1");
  c.OpenImage1 = Named(c.File1->addAction("Open Image"), "OpenImage1");
  c.SaveRaw1 = Named(c.File1->addAction("Save Raw"), "SaveRaw1");
  c.SaveC64Exe1 = Named(c.File1->addAction("Save C64 Exe"), "SaveC64Exe1");
  c.File1->addSeparator();
  c.Exit1 = Named(c.File1->addAction("Exit"), "Exit1");
  c.Settings1 = Named(menuBar()->addAction("About"), "Settings1");
}

void MainWindow::CreatePictures()
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();
  c.Image1 = Named(new PictureView(BannerWidth, BannerHeight, BannerWidth, BannerHeight, central),
                   "Image1");
  c.Image1->SetImage(DrawBanner(BannerWidth, BannerHeight));

  // The source frame with its scroll bars around it.
  c.Panel1 = MakePanel("Panel1", central);
  c.Image2 =
      Named(new PictureView(PictureWidth, PictureHeight, PictureWidth, PictureHeight, c.Panel1),
            "Image2");
  c.ScrollBar1 = Named(new QScrollBar(Qt::Horizontal, c.Panel1), "ScrollBar1");
  c.ScrollBar2 = Named(new QScrollBar(Qt::Vertical, c.Panel1), "ScrollBar2");
  c.ScrollBar1->setRange(0, 0);
  c.ScrollBar2->setRange(0, 0);
  // A position is where the picture's top-left corner lies in the frame (0 or
  // less), so its value falls as the view moves right or down; inverted bars
  // keep that value and still move the handle the way the view goes.
  c.ScrollBar1->setInvertedAppearance(true);
  c.ScrollBar2->setInvertedAppearance(true);
  c.ScrollBar2->setInvertedControls(false);  // vertical bars invert their keys by default
  // The handle's length shows how much of the picture the frame holds.
  c.ScrollBar1->setPageStep(PictureWidth);
  c.ScrollBar2->setPageStep(PictureHeight);
  auto* source = new QGridLayout(c.Panel1);
  source->setContentsMargins(2, 2, 2, 2);
  source->setSpacing(0);
  source->addWidget(c.Image2, 0, 0);
  source->addWidget(c.ScrollBar2, 0, 1);
  source->addWidget(c.ScrollBar1, 1, 0);

  c.Panel2 = MakePanel("Panel2", central);
  c.Image3 =
      Named(new PictureView(PictureWidth, PictureHeight, PictureWidth, PictureHeight, c.Panel2),
            "Image3");
  auto* result = new QVBoxLayout(c.Panel2);
  result->setContentsMargins(2, 2, 2, 2);
  result->addWidget(c.Image3);
}

// Status bar: one text panel, and the progress bar beside it.
void MainWindow::CreateStatusBar()
{
  MainWindowControls& c = ui_;
  c.StatusBar1 = Named(statusBar(), "StatusBar1");
  c.StatusBar1->setSizeGripEnabled(false);
  c.StatusPanel = Named(new QLabel(c.StatusBar1), "StatusPanel");
  c.StatusBar1->addWidget(c.StatusPanel, 1);
  c.ProgressBar1 = Named(new QProgressBar(c.StatusBar1), "ProgressBar1");
  c.ProgressBar1->setRange(0, 200);
  c.ProgressBar1->setValue(0);
  c.ProgressBar1->setTextVisible(false);
  c.ProgressBar1->setFixedSize(320, 14);
  c.StatusBar1->addPermanentWidget(c.ProgressBar1);
}

MainWindow::Groups MainWindow::CreateGroups()
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();
  Groups groups{};

  GridGroup mode("Graphic Mode", central);
  mode.Add(c.RadioButton3, "RadioButton3", "Hires Standard");
  mode.Add(c.RadioButton4, "RadioButton4", "Hires Interlaced");
  mode.Add(c.RadioButton5, "RadioButton5", "Hires FLI");
  mode.Add(c.RadioButton6, "RadioButton6", "Hires FLI Interlace");
  c.BitBtn1 = Make<QPushButton>("BitBtn1", "Convert", mode.box());
  c.BitBtn1->setMinimumHeight(28);
  mode.AddRow(c.BitBtn1);
  groups.mode = mode.box();

  GridGroup load("Load Options", central, 2);
  load.Add(c.Button5, "Button5", "Internal Test Image");
  load.Add(c.Button6, "Button6", "Load Bitmap / JPG");
  groups.load = load.box();
  GridGroup save("Save Options", central, 2);
  save.Add(c.Button7, "Button7", "Save Raw C64 data");
  save.Add(c.Button8, "Button8", "Save C64 .prg");
  groups.save = save.box();
  GridGroup preview("Preview Options", central, 2);
  preview.Add(c.Button2, "Button2", "Field Seperate");
  preview.Add(c.Button3, "Button3", "Interlaced Preview");
  groups.preview = preview.box();
  c.Button1 = Make<QPushButton>("Button1", "Defaults", central);

  GridGroup palette("Palette", central);
  palette.Add(c.RadioButton8, "RadioButton8", "Pepto");
  palette.Add(c.RadioButton9, "RadioButton9", "Deekay");
  palette.Add(c.RadioButton21, "RadioButton21", "Vice");
  palette.Add(c.RadioButton22, "RadioButton22", "CCS64");
  palette.Add(c.RadioButton23, "RadioButton23", "Frodo");
  groups.palette = palette.box();
  GridGroup mixing("Palette Mixing", central, 2);
  mixing.Add(c.RadioButton17, "RadioButton17", "RGB Mix");
  mixing.Add(c.RadioButton18, "RadioButton18", "YUV Mix");
  groups.mixing = mixing.box();
  GridGroup matching("Color matching", central);
  matching.Add(c.RadioButton11, "RadioButton11", "RGB Distance");
  matching.Add(c.RadioButton12, "RadioButton12", "'Y' Brightness");
  matching.Add(c.RadioButton19, "RadioButton19", "Perceptual");
  groups.matching = matching.box();
  GridGroup flicker("Flicker col reduction", central, 2);
  flicker.Add(c.RadioButton14, "RadioButton14", "Off");
  flicker.Add(c.RadioButton20, "RadioButton20", "Light");
  flicker.Add(c.RadioButton15, "RadioButton15", "Medium");
  flicker.Add(c.RadioButton16, "RadioButton16", "Heavy");
  groups.flicker = flicker.box();

  groups.dithering = CreateDitheringGroup(central);

  GridGroup fourColours("4 cols per 8x1", central);
  fourColours.Add(c.CheckBox3, "CheckBox3", "Activate");
  groups.fourColours = fourColours.box();
  GridGroup sameBanks("Same Col Banks", central);
  sameBanks.Add(c.CheckBox6, "CheckBox6", "Enabled");
  groups.sameBanks = sameBanks.box();
  GridGroup bruteForce("Extra Brute Force", central);
  bruteForce.Add(c.CheckBox5, "CheckBox5", "Activate");
  groups.bruteForce = bruteForce.box();
  GridGroup interlace("Interlace settings", central);
  interlace.Add(c.CheckBox1, "CheckBox1", "Alternate Y");
  interlace.Add(c.CheckBox4, "CheckBox4", "Alternate X");
  interlace.Add(c.CheckBox2, "CheckBox2", "Alternate X8");
  groups.interlace = interlace.box();

  groups.adjustment = CreateAdjustmentGroup(central);

  GridGroup mixTable("Mix palette", central);
  c.Image4 = Named(
      new PictureView(MixImageWidth, MixImageHeight, MixImageWidth, MixImageHeight, mixTable.box()),
      "Image4");
  mixTable.AddRow(c.Image4);
  groups.mixTable = mixTable.box();

  GridGroup error("Error Pixel Value", central, 4);
  error.Add(c.Label1, "Label1", "0");
  error.Add(c.Label2, "Label2", "%");
  error.Add(c.Button4, "Button4", "Hold to Show");
  error.Add(c.BitBtn2, "BitBtn2", "Hold for pre-Hifli Conv");
  QFont big = c.Label1->font();
  big.setPointSize(14);
  big.setBold(true);
  c.Label1->setFont(big);
  c.Label2->setFont(big);
  c.Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  c.Label1->setMinimumWidth(36);
  groups.errorValue = error.box();

  // Everything but the pictures and the mix table; the scroll bars sit in
  // the source panel.
  lockedWhileConverting_ = {
      groups.mode,      groups.load,       groups.save,      groups.preview,    groups.palette,
      groups.mixing,    groups.matching,   groups.flicker,   groups.dithering,  groups.fourColours,
      groups.sameBanks, groups.bruteForce, groups.interlace, groups.adjustment, groups.errorValue,
      c.Button1,        c.Panel1};
  return groups;
}

// Four boxes whose buttons are one choice across all of them.
QGroupBox* MainWindow::CreateDitheringGroup(QWidget* parent)
{
  MainWindowControls& c = ui_;
  auto* dithering = new QGroupBox("Dithering", parent);

  GridGroup none("No dither", dithering);
  none.Add(c.RadioButton1, "RadioButton1", "None");
  GridGroup ordered("Ordered", dithering, 2);
  ordered.Add(c.RadioButton7, "RadioButton7", "Ordered 2x2");
  ordered.Add(c.RadioButton26, "RadioButton26", "Ordered 3x3");
  ordered.Add(c.RadioButton10, "RadioButton10", "Ordered 4x4");
  ordered.Add(c.RadioButton24, "RadioButton24", "Ordered 8x8");
  ordered.AddRow(
      SpinnerRow("Value Amp", c.Edit6, "Edit6", c.UpDown1, "UpDown1", 1, 4, ordered.box()));
  ordered.Add(c.CheckBox7, "CheckBox7", "Alt Y Dither");
  ordered.Add(c.CheckBox10, "CheckBox10", "Flip dither");
  GridGroup diffusion("Diffusion", dithering);
  diffusion.Add(c.RadioButton2, "RadioButton2", "Floyd Steinberg");
  diffusion.Add(c.RadioButton13, "RadioButton13", "Custom");
  diffusion.Add(c.CheckBox9, "CheckBox9", "Serpentine");
  GridGroup random("Random", dithering);
  random.Add(c.RadioButton25, "RadioButton25", "Enable");
  random.AddRow(
      SpinnerRow("Strength", c.Edit7, "Edit7", c.UpDown2, "UpDown2", 0, 255, random.box()));
  random.Add(c.CheckBox8, "CheckBox8", "Seperate RGB");

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
  ditherButtons_ = new QButtonGroup(this);
  for (QRadioButton* button : {c.RadioButton1, c.RadioButton7, c.RadioButton26, c.RadioButton10,
                               c.RadioButton24, c.RadioButton2, c.RadioButton13, c.RadioButton25}) {
    ditherButtons_->addButton(button);
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
      {c.TrackBar1, "TrackBar1", c.Edit1, "Edit1", 255, "Red offset"},
      {c.TrackBar2, "TrackBar2", c.Edit2, "Edit2", 255, "Green offset"},
      {c.TrackBar3, "TrackBar3", c.Edit3, "Edit3", 255, "Blue offset"},
      {c.TrackBar5, "TrackBar5", c.Edit4, "Edit4", 255, "Brightness"},
      {c.TrackBar4, "TrackBar4", c.Edit5, "Edit5", 100, "Contrast (percent)"},
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
  SetEditColour(c.Edit1, QColor(0xFF, 0x60, 0x60));
  SetEditColour(c.Edit2, QColor(0x60, 0xD0, 0x60));
  SetEditColour(c.Edit3, QColor(0x70, 0x90, 0xFF));
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
  pictures->addWidget(c.Panel1, 0, 0);
  pictures->addWidget(c.Panel2, 0, 1, Qt::AlignTop);
  pictures->addWidget(groups.errorValue, 1, 0);
  pictures->addWidget(groups.mixTable, 1, 1);
  auto* actions = column({groups.mode, groups.load, groups.save, groups.preview});
  actions->addWidget(c.Button1, 0, Qt::AlignRight);
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
  top->addWidget(c.Image1, 0, Qt::AlignHCenter);
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
  c.RadioButton6->setChecked(true);
  c.RadioButton8->setChecked(true);
  c.CheckBox9->setChecked(true);
  c.CheckBox8->setChecked(true);
  c.UpDown1->SetPosition(2);
  c.UpDown2->SetPosition(45);
  for (QLineEdit* edit : {c.Edit1, c.Edit2, c.Edit3, c.Edit4, c.Edit5}) {
    edit->setText("0");
  }

  c.RadioButton15->setChecked(true);
  c.RadioButton13->setChecked(true);
  c.RadioButton19->setChecked(true);
  c.CheckBox3->setEnabled(true);
  c.CheckBox3->setChecked(true);
  c.CheckBox1->setChecked(true);
  c.TrackBar1->setValue(0);
  c.TrackBar2->setValue(0);
  c.TrackBar3->setValue(0);
  c.RadioButton17->setChecked(true);
  c.ScrollBar1->setEnabled(false);
  c.ScrollBar2->setEnabled(false);
  c.BitBtn1->setEnabled(false);
  // Nothing to save before the first conversion.
  EnableSaving(false);
  workspace_->conversionDone = false;
  c.CheckBox4->setChecked(false);
  c.CheckBox4->setEnabled(false);
  c.CheckBox6->setChecked(false);
}

// The creation handler: the mix table shows the "Light" reduction although
// "Medium" is selected; the first "Convert" applies the selected level.
void MainWindow::InitialiseWorkingState()
{
  BuildMixPalette();
  ReduceFlicker(FlickerLevel::Light);
  DrawMixPalette();
  ui_.Image2->Fill(0x000000);
  ui_.Image3->Fill(0x000000);
  errorViewHeld_ = false;
  ditherViewHeld_ = false;
}

void MainWindow::SetStatusText(const QString& text)
{
  ui_.StatusPanel->setText(text);
  ui_.StatusPanel->repaint();
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
