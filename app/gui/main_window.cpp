#include "app/gui/main_window.h"

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

#include "app/gui/about_window.h"
#include "app/gui/artwork.h"
#include "app/gui/gui_progress.h"
#include "app/gui/picture_view.h"
#include "app/gui/preview_windows.h"
#include "app/gui/up_down.h"

namespace pavona {
namespace {

constexpr int WindowWidth = 938;
constexpr int WindowHeight = 618;

template <typename Control>
Control* Make(const char* name, const QString& caption, QWidget* parent)
{
  auto* control = new Control(caption, parent);
  control->setObjectName(name);
  return control;
}

QGroupBox* MakeGroup(const QString& title, QWidget* parent)
{
  auto* group = new QGroupBox(title, parent);
  return group;
}

// Group boxes are packed tightly: the window has a fixed size. Their titles
// sit on the frame line, which saves a text row per box.
constexpr char CompactGroupStyle[] =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 7px;"
    " padding-top: 3px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px;"
    " padding: 0 2px; }";

template <typename Layout>
Layout* TightLayout(QWidget* owner)
{
  auto* layout = new Layout(owner);
  layout->setContentsMargins(5, 2, 5, 3);
  layout->setSpacing(0);
  return layout;
}

QLineEdit* MakeEdit(const char* name, QWidget* parent, int width = 40)
{
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFixedWidth(width);
  return edit;
}

void SetEditColour(QLineEdit* edit, QColor colour)
{
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Text, Qt::black);
  edit->setPalette(palette);
}

QFrame* MakePanel(const char* name, QWidget* parent)
{
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), workspace_(std::make_unique<Workspace>())
{
  setObjectName("Form1");
  setWindowTitle("Pavona HI-FLI Convertor");
  QFont compact = font();
  compact.setPointSize(8);
  setFont(compact);
  setStyleSheet(CompactGroupStyle);

  CreateControls();
  LayOutControls();
  setFixedSize(WindowWidth, WindowHeight);
  if (const QScreen* screen = this->screen()) {
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(WindowWidth / 2, WindowHeight / 2));
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

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls()
{
  auto* central = new QWidget(this);
  setCentralWidget(central);
  MainWindowControls& c = ui_;

  // Menu.
  c.File1 = menuBar()->addMenu("File");
  c.File1->setObjectName("File1");
  c.OpenImage1 = c.File1->addAction("Open Image");
  c.SaveRaw1 = c.File1->addAction("Save Raw");
  c.SaveC64Exe1 = c.File1->addAction("Save C64 Exe");
  c.File1->addSeparator();
  c.Exit1 = c.File1->addAction("Exit");
  c.Settings1 = menuBar()->addAction("About");
  c.OpenImage1->setObjectName("OpenImage1");
  c.SaveRaw1->setObjectName("SaveRaw1");
  c.SaveC64Exe1->setObjectName("SaveC64Exe1");
  c.Exit1->setObjectName("Exit1");
  c.Settings1->setObjectName("Settings1");

  // Pictures.
  c.Image1 = new PictureView(928, 81, 928, 81, central);
  c.Image1->setObjectName("Image1");
  c.Image1->SetImage(DrawBanner(928, 81));
  c.Panel1 = MakePanel("Panel1", central);
  c.Image2 = new PictureView(PictureWidth, PictureHeight, PictureWidth, PictureHeight, c.Panel1);
  c.Image2->setObjectName("Image2");
  c.ScrollBar1 = new QScrollBar(Qt::Horizontal, central);
  c.ScrollBar1->setObjectName("ScrollBar1");
  c.ScrollBar2 = new QScrollBar(Qt::Vertical, central);
  c.ScrollBar2->setObjectName("ScrollBar2");
  for (QScrollBar* bar : {c.ScrollBar1, c.ScrollBar2}) {
    bar->setRange(0, 0);
  }
  c.Panel2 = MakePanel("Panel2", central);
  c.Image3 = new PictureView(PictureWidth, PictureHeight, PictureWidth, PictureHeight, c.Panel2);
  c.Image3->setObjectName("Image3");

  // Status bar: one text panel, and the progress bar beside it.
  c.StatusBar1 = statusBar();
  c.StatusBar1->setObjectName("StatusBar1");
  c.StatusBar1->setSizeGripEnabled(false);
  c.StatusPanel = new QLabel(c.StatusBar1);
  c.StatusPanel->setObjectName("StatusPanel");
  c.StatusBar1->addWidget(c.StatusPanel, 1);
  c.ProgressBar1 = new QProgressBar(c.StatusBar1);
  c.ProgressBar1->setObjectName("ProgressBar1");
  c.ProgressBar1->setRange(0, 200);
  c.ProgressBar1->setValue(0);
  c.ProgressBar1->setTextVisible(false);
  c.ProgressBar1->setFixedSize(320, 14);
  c.StatusBar1->addPermanentWidget(c.ProgressBar1);
}

void MainWindow::LayOutControls()
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();

  // Source frame with its scroll bars, and the result.
  auto* sourceLayout = new QGridLayout(c.Panel1);
  sourceLayout->setContentsMargins(2, 2, 2, 2);
  sourceLayout->setSpacing(0);
  sourceLayout->addWidget(c.Image2, 0, 0);
  sourceLayout->addWidget(c.ScrollBar2, 0, 1);
  sourceLayout->addWidget(c.ScrollBar1, 1, 0);
  auto* resultLayout = new QVBoxLayout(c.Panel2);
  resultLayout->setContentsMargins(2, 2, 2, 2);
  resultLayout->addWidget(c.Image3);
  resultLayout->addStretch();

  // "Graphic Mode".
  auto* modeGroup = MakeGroup("Graphic Mode", central);
  c.RadioButton3 = Make<QRadioButton>("RadioButton3", "Hires Standard", modeGroup);
  c.RadioButton4 = Make<QRadioButton>("RadioButton4", "Hires Interlaced", modeGroup);
  c.RadioButton5 = Make<QRadioButton>("RadioButton5", "Hires FLI", modeGroup);
  c.RadioButton6 = Make<QRadioButton>("RadioButton6", "Hires FLI Interlace", modeGroup);
  c.BitBtn1 = Make<QPushButton>("BitBtn1", "Convert", modeGroup);
  c.BitBtn1->setMinimumHeight(28);
  {
    auto* layout = TightLayout<QVBoxLayout>(modeGroup);
    layout->addWidget(c.RadioButton3);
    layout->addWidget(c.RadioButton4);
    layout->addWidget(c.RadioButton5);
    layout->addWidget(c.RadioButton6);
    layout->addSpacing(2);
    layout->addWidget(c.BitBtn1);
  }

  // Load, save and preview buttons, and "Defaults".
  auto buttonPair = [central](const QString& title, QPushButton*& first, const char* firstName,
                              const QString& firstCaption, QPushButton*& second,
                              const char* secondName, const QString& secondCaption) {
    auto* group = MakeGroup(title, central);
    first = Make<QPushButton>(firstName, firstCaption, group);
    second = Make<QPushButton>(secondName, secondCaption, group);
    auto* layout = TightLayout<QHBoxLayout>(group);
    layout->addWidget(first);
    layout->addWidget(second);
    return group;
  };
  auto* loadGroup = buttonPair("Load Options", c.Button5, "Button5", "Internal Test Image",
                               c.Button6, "Button6", "Load Bitmap / JPG");
  auto* saveGroup = buttonPair("Save Options", c.Button7, "Button7", "Save Raw C64 data", c.Button8,
                               "Button8", "Save C64 .prg");
  auto* previewGroup = buttonPair("Preview Options", c.Button2, "Button2", "Field Seperate",
                                  c.Button3, "Button3", "Interlaced Preview");

  // "Palette", "Palette Mixing", "Color matching", "Flicker col reduction".
  auto* paletteGroup = MakeGroup("Palette", central);
  c.RadioButton8 = Make<QRadioButton>("RadioButton8", "Pepto", paletteGroup);
  c.RadioButton9 = Make<QRadioButton>("RadioButton9", "Deekay", paletteGroup);
  c.RadioButton21 = Make<QRadioButton>("RadioButton21", "Vice", paletteGroup);
  c.RadioButton22 = Make<QRadioButton>("RadioButton22", "CCS64", paletteGroup);
  c.RadioButton23 = Make<QRadioButton>("RadioButton23", "Frodo", paletteGroup);
  {
    auto* layout = TightLayout<QVBoxLayout>(paletteGroup);
    for (QRadioButton* button :
         {c.RadioButton8, c.RadioButton9, c.RadioButton21, c.RadioButton22, c.RadioButton23}) {
      layout->addWidget(button);
    }
  }
  auto* mixingGroup = MakeGroup("Palette Mixing", central);
  c.RadioButton17 = Make<QRadioButton>("RadioButton17", "RGB Mix", mixingGroup);
  c.RadioButton18 = Make<QRadioButton>("RadioButton18", "YUV Mix", mixingGroup);
  {
    auto* layout = TightLayout<QHBoxLayout>(mixingGroup);
    layout->addWidget(c.RadioButton17);
    layout->addWidget(c.RadioButton18);
  }
  auto* matchingGroup = MakeGroup("Color matching", central);
  c.RadioButton11 = Make<QRadioButton>("RadioButton11", "RGB Distance", matchingGroup);
  c.RadioButton12 = Make<QRadioButton>("RadioButton12", "'Y' Brightness", matchingGroup);
  c.RadioButton19 = Make<QRadioButton>("RadioButton19", "Perceptual", matchingGroup);
  {
    auto* layout = TightLayout<QVBoxLayout>(matchingGroup);
    layout->addWidget(c.RadioButton11);
    layout->addWidget(c.RadioButton12);
    layout->addWidget(c.RadioButton19);
  }
  auto* flickerGroup = MakeGroup("Flicker col reduction", central);
  c.RadioButton14 = Make<QRadioButton>("RadioButton14", "Off", flickerGroup);
  c.RadioButton20 = Make<QRadioButton>("RadioButton20", "Light", flickerGroup);
  c.RadioButton15 = Make<QRadioButton>("RadioButton15", "Medium", flickerGroup);
  c.RadioButton16 = Make<QRadioButton>("RadioButton16", "Heavy", flickerGroup);
  {
    auto* layout = TightLayout<QGridLayout>(flickerGroup);
    layout->addWidget(c.RadioButton14, 0, 0);
    layout->addWidget(c.RadioButton20, 0, 1);
    layout->addWidget(c.RadioButton15, 1, 0);
    layout->addWidget(c.RadioButton16, 1, 1);
  }

  // "Dithering": four boxes, one choice across all of them.
  auto* ditherGroup = MakeGroup("Dithering", central);
  auto* noDitherBox = MakeGroup("No dither", ditherGroup);
  c.RadioButton1 = Make<QRadioButton>("RadioButton1", "None", noDitherBox);
  TightLayout<QVBoxLayout>(noDitherBox)->addWidget(c.RadioButton1);
  auto* orderedBox = MakeGroup("Ordered", ditherGroup);
  c.RadioButton7 = Make<QRadioButton>("RadioButton7", "Ordered 2x2", orderedBox);
  c.RadioButton26 = Make<QRadioButton>("RadioButton26", "Ordered 3x3", orderedBox);
  c.RadioButton10 = Make<QRadioButton>("RadioButton10", "Ordered 4x4", orderedBox);
  c.RadioButton24 = Make<QRadioButton>("RadioButton24", "Ordered 8x8", orderedBox);
  c.Edit6 = MakeEdit("Edit6", orderedBox, 32);
  c.UpDown1 = new UpDown(c.Edit6, 1, 4, orderedBox);
  c.UpDown1->setObjectName("UpDown1");
  c.CheckBox7 = Make<QCheckBox>("CheckBox7", "Alt Y Dither", orderedBox);
  c.CheckBox10 = Make<QCheckBox>("CheckBox10", "Flip dither", orderedBox);
  {
    auto* layout = TightLayout<QGridLayout>(orderedBox);
    layout->setHorizontalSpacing(6);
    layout->addWidget(c.RadioButton7, 0, 0);
    layout->addWidget(c.RadioButton26, 0, 1);
    layout->addWidget(c.RadioButton10, 1, 0);
    layout->addWidget(c.RadioButton24, 1, 1);
    auto* ampRow = new QHBoxLayout;
    ampRow->setSpacing(3);
    ampRow->addWidget(new QLabel("Value Amp", orderedBox));
    ampRow->addWidget(c.Edit6);
    ampRow->addWidget(c.UpDown1);
    ampRow->addStretch();
    layout->addLayout(ampRow, 2, 0, 1, 2);
    layout->addWidget(c.CheckBox7, 3, 0);
    layout->addWidget(c.CheckBox10, 3, 1);
  }
  auto* diffusionBox = MakeGroup("Diffusion", ditherGroup);
  c.RadioButton2 = Make<QRadioButton>("RadioButton2", "Floyd Steinberg", diffusionBox);
  c.RadioButton13 = Make<QRadioButton>("RadioButton13", "Custom", diffusionBox);
  c.CheckBox9 = Make<QCheckBox>("CheckBox9", "Serpentine", diffusionBox);
  {
    auto* layout = TightLayout<QVBoxLayout>(diffusionBox);
    layout->addWidget(c.RadioButton2);
    layout->addWidget(c.RadioButton13);
    layout->addWidget(c.CheckBox9);
  }
  auto* randomBox = MakeGroup("Random", ditherGroup);
  c.RadioButton25 = Make<QRadioButton>("RadioButton25", "Enable", randomBox);
  c.Edit7 = MakeEdit("Edit7", randomBox, 32);
  c.UpDown2 = new UpDown(c.Edit7, 0, 255, randomBox);
  c.UpDown2->setObjectName("UpDown2");
  c.CheckBox8 = Make<QCheckBox>("CheckBox8", "Seperate RGB", randomBox);
  {
    auto* layout = TightLayout<QVBoxLayout>(randomBox);
    layout->addWidget(c.RadioButton25);
    auto* strengthRow = new QHBoxLayout;
    strengthRow->setSpacing(3);
    strengthRow->addWidget(new QLabel("Strength", randomBox));
    strengthRow->addWidget(c.Edit7);
    strengthRow->addWidget(c.UpDown2);
    strengthRow->addStretch();
    layout->addLayout(strengthRow);
    layout->addWidget(c.CheckBox8);
  }
  {
    auto* layout = TightLayout<QHBoxLayout>(ditherGroup);
    layout->setSpacing(3);
    auto* left = new QVBoxLayout;
    left->setSpacing(3);
    left->addWidget(orderedBox);
    left->addWidget(noDitherBox);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->setSpacing(3);
    right->addWidget(diffusionBox);
    right->addWidget(randomBox);
    right->addStretch();
    layout->addLayout(left);
    layout->addLayout(right);
  }
  // Across four boxes the buttons are one choice: selecting one deselects
  // every other, without running any handler.
  ditherButtons_ = new QButtonGroup(this);
  for (QRadioButton* button : {c.RadioButton1, c.RadioButton7, c.RadioButton26, c.RadioButton10,
                               c.RadioButton24, c.RadioButton2, c.RadioButton13, c.RadioButton25}) {
    ditherButtons_->addButton(button);
  }

  // Option boxes.
  auto optionBox = [central](const QString& title, QCheckBox*& box, const char* name,
                             const QString& caption) {
    auto* group = MakeGroup(title, central);
    box = Make<QCheckBox>(name, caption, group);
    TightLayout<QVBoxLayout>(group)->addWidget(box);
    return group;
  };
  auto* fourColoursGroup = optionBox("4 cols per 8x1", c.CheckBox3, "CheckBox3", "Activate");
  auto* sameBanksGroup = optionBox("Same Col Banks", c.CheckBox6, "CheckBox6", "Enabled");
  auto* bruteForceGroup = optionBox("Extra Brute Force", c.CheckBox5, "CheckBox5", "Activate");
  auto* interlaceGroup = MakeGroup("Interlace settings", central);
  c.CheckBox1 = Make<QCheckBox>("CheckBox1", "Alternate Y", interlaceGroup);
  c.CheckBox4 = Make<QCheckBox>("CheckBox4", "Alternate X", interlaceGroup);
  c.CheckBox2 = Make<QCheckBox>("CheckBox2", "Alternate X8", interlaceGroup);
  {
    auto* layout = TightLayout<QVBoxLayout>(interlaceGroup);
    layout->addWidget(c.CheckBox1);
    layout->addWidget(c.CheckBox4);
    layout->addWidget(c.CheckBox2);
  }

  // "Color Adjustment": five track bars, each with the field that shows it.
  auto* adjustGroup = MakeGroup("Color Adjustment", central);
  {
    auto* layout = TightLayout<QGridLayout>(adjustGroup);
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
    int row = 0;
    for (const Row& r : rows) {
      r.trackBar = new QSlider(Qt::Horizontal, adjustGroup);
      r.trackBar->setObjectName(r.trackName);
      r.trackBar->setRange(-r.limit, r.limit);
      r.trackBar->setPageStep(8);
      r.trackBar->setToolTip(r.tip);
      r.edit = MakeEdit(r.editName, adjustGroup, 40);
      r.edit->setToolTip(r.tip);
      layout->addWidget(r.trackBar, row, 0);
      layout->addWidget(r.edit, row, 1);
      ++row;
    }
    SetEditColour(c.Edit1, QColor(0xFF, 0x60, 0x60));
    SetEditColour(c.Edit2, QColor(0x60, 0xD0, 0x60));
    SetEditColour(c.Edit3, QColor(0x70, 0x90, 0xFF));
  }

  // "Mix palette".
  auto* mixGroup = MakeGroup("Mix palette", central);
  c.Image4 =
      new PictureView(MixImageWidth, MixImageHeight, MixImageWidth, MixImageHeight, mixGroup);
  c.Image4->setObjectName("Image4");
  TightLayout<QVBoxLayout>(mixGroup)->addWidget(c.Image4, 0, Qt::AlignCenter);

  // "Error Pixel Value".
  auto* errorGroup = MakeGroup("Error Pixel Value", central);
  c.Label1 = Make<QLabel>("Label1", "0", errorGroup);
  c.Label2 = Make<QLabel>("Label2", "%", errorGroup);
  c.Button4 = Make<QPushButton>("Button4", "Hold to Show", errorGroup);
  c.BitBtn2 = Make<QPushButton>("BitBtn2", "Hold for pre-Hifli Conv", errorGroup);
  {
    QFont big = c.Label1->font();
    big.setPointSize(14);
    big.setBold(true);
    c.Label1->setFont(big);
    c.Label2->setFont(big);
    c.Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.Label1->setMinimumWidth(36);
    auto* layout = TightLayout<QHBoxLayout>(errorGroup);
    layout->addWidget(c.Label1);
    layout->addWidget(c.Label2);
    layout->addSpacing(6);
    layout->addWidget(c.Button4);
    layout->addWidget(c.BitBtn2);
  }

  c.Button1 = Make<QPushButton>("Button1", "Defaults", central);

  // Top: the banner. Middle: source and result with the error value and the
  // mix table under them, and the buttons that start things. Bottom: the
  // settings.
  auto* actionColumn = new QVBoxLayout;
  actionColumn->setSpacing(3);
  actionColumn->addWidget(modeGroup);
  actionColumn->addWidget(loadGroup);
  actionColumn->addWidget(saveGroup);
  actionColumn->addWidget(previewGroup);
  actionColumn->addStretch();
  actionColumn->addWidget(c.Button1, 0, Qt::AlignRight);

  auto* pictures = new QGridLayout;
  pictures->setSpacing(4);
  pictures->addWidget(c.Panel1, 0, 0);
  pictures->addWidget(c.Panel2, 0, 1, Qt::AlignTop);
  pictures->addWidget(errorGroup, 1, 0);
  pictures->addWidget(mixGroup, 1, 1);

  auto* middle = new QHBoxLayout;
  middle->setSpacing(4);
  middle->addLayout(pictures);
  middle->addLayout(actionColumn, 1);

  auto column = [](std::initializer_list<QWidget*> groups) {
    auto* layout = new QVBoxLayout;
    layout->setSpacing(3);
    for (QWidget* group : groups) {
      layout->addWidget(group);
    }
    layout->addStretch();
    return layout;
  };
  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(4);
  bottom->addLayout(column({ditherGroup}));
  bottom->addLayout(column({adjustGroup, mixingGroup}), 1);
  bottom->addLayout(column({paletteGroup}));
  bottom->addLayout(column({flickerGroup, fourColoursGroup, sameBanksGroup, bruteForceGroup}));
  bottom->addLayout(column({matchingGroup, interlaceGroup}));

  auto* top = new QVBoxLayout(central);
  top->setContentsMargins(4, 2, 4, 0);
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
