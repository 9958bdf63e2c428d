#include "gui/main_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
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
#include <algorithm>
#include <span>

#include "gui/about_window.h"
#include "gui/artwork.h"
#include "gui/conversion_controller.h"
#include "gui/gui_progress.h"
#include "gui/main_window_tables.h"
#include "gui/picture_area.h"
#include "gui/picture_load_controller.h"
#include "gui/picture_view.h"
#include "gui/preview_windows.h"
#include "gui/remembered_state.h"
#include "gui/up_down.h"
#include "gui/user_prompts.h"
#include "io/printable_text.h"

namespace pavona {
namespace {

constexpr int WindowWidth = 976;        // with the multicolour modes beside the hires ones
constexpr int WindowHeight = 618 + 46;  // with "Placement" under the source
constexpr int BannerWidth = 928;
constexpr int BannerHeight = 81;

// Group boxes are packed tightly into the start-up size. Their titles
// sit on the frame line, which saves a text row per box.
constexpr char CompactGroupStyle[] =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 7px;"
    " padding-top: 4px; }"
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

  // A control in a given cell; later controls follow the lowest row used.
  template <typename Control>
  void AddAt(Control*& slot, const char* name, const QString& caption, int row, int column)
  {
    slot = Make<Control>(name, caption, box_);
    layout_->addWidget(slot, row, column);
    next_ = std::max(next_, (row + 1) * columns_);
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

// A number field with its spinner and the label before them.
QHBoxLayout* SpinnerRow(MainWindowControls& c, const SpinnerField& info, QWidget* parent)
{
  QLineEdit*& field = c.*info.field;
  field = Named(new QLineEdit(parent), info.fieldName);
  field->setFixedWidth(32);
  c.*info.spinner = Named(new UpDown(field, info.minimum, info.maximum, parent), info.spinnerName);
  auto* row = Stack<QHBoxLayout>();
  row->addWidget(new QLabel(info.label, parent));
  row->addWidget(field);
  row->addWidget(c.*info.spinner);
  row->addStretch();
  return row;
}

// The button of the other diffusion kernels with their list; choosing from
// the list selects the button.
QHBoxLayout* KernelRow(MainWindowControls& c, QWidget* parent)
{
  const auto& [button, value, name, caption] = DitherChoices[7];
  auto* radio = Make<QRadioButton>(name, caption, parent);
  radio->setAccessibleName("Kernel from the list");
  c.ditherButtons.*button = radio;
  c.kernelList = Named(new QComboBox(parent), "kernelList");
  for (const auto& [kernel, kernelCaption] : KernelChoices) {
    c.kernelList->addItem(kernelCaption);
  }
  c.kernelList->setAccessibleName("Diffusion kernel");
  // The list is as wide as its box, not as its longest name.
  c.kernelList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  c.kernelList->setMinimumContentsLength(8);
  QObject::connect(c.kernelList, &QComboBox::activated, radio,
                   [radio] { radio->setChecked(true); });
  auto* row = Stack<QHBoxLayout>(0);
  row->addWidget(radio);
  row->addWidget(c.kernelList, 1);
  return row;
}

// The buttons of `choices`, in their order.
template <typename Buttons, typename Value, std::size_t Extent>
void AddChoices(GridGroup& group, Buttons& buttons,
                std::span<const Choice<Buttons, Value>, Extent> choices)
{
  for (const Choice<Buttons, Value>& choice : choices) {
    group.Add(buttons.*choice.button, choice.name, choice.caption);
  }
}

template <typename Buttons, typename Value, std::size_t N>
QGroupBox* ChoiceGroup(const QString& title, QWidget* parent, int columns, Buttons& buttons,
                       const Choice<Buttons, Value> (&choices)[N])
{
  GridGroup group(title, parent, columns);
  AddChoices(group, buttons, std::span(choices));
  return group.box();
}

template <typename Owner>
void AddSwitch(GridGroup& group, MainWindowControls& c, const Switch<Owner>& entry)
{
  group.Add(c.*entry.box, entry.name, entry.caption);
}

// A box that holds one option switch.
QGroupBox* SwitchGroup(const QString& title, QWidget* parent, MainWindowControls& c,
                       const Switch<Settings>& entry)
{
  GridGroup group(title, parent);
  AddSwitch(group, c, entry);
  return group.box();
}

// The pictures in the top-left corner of their area, where they are at 1:1
// in a window of the start-up size.
PictureArea* PlacePictures(PictureArea* area, QLayout* pictures)
{
  auto* content = Named(new QWidget(area), "pictureContent");
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(pictures);
  layout->setAlignment(pictures, Qt::AlignTop | Qt::AlignLeft);
  area->setWidget(content);
  return area;
}

// The settings fill the width of a window of the start-up size and keep that
// width in a larger one: the room goes to the pictures, not to ever longer
// track bars.
QWidget* KeptAtStartUpWidth(QLayout* settings, int width, QWidget* parent)
{
  auto* holder = Named(new QWidget(parent), "settingsRow");
  settings->setContentsMargins(0, 0, 0, 0);
  holder->setLayout(settings);
  holder->setMaximumWidth(width);
  return holder;
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
  QGroupBox* refine;
  QGroupBox* adjustment;
  QGroupBox* mixTable;
  QGroupBox* errorValue;
};

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), prompts_(std::make_unique<StandardPrompts>())
{
  setObjectName("mainWindow");
  setWindowTitle(ApplicationTitle);
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addPixmap(QPixmap::fromImage(DrawIcon(size)));
  }
  setWindowIcon(icon);
  QFont compact = font();
  compact.setPointSize(8);
  setFont(compact);
  setStyleSheet(CompactGroupStyle);

  setCentralWidget(new QWidget(this));
  CreateMenu();
  CreatePictures();
  CreateStatusBar();
  ArrangeWindow(CreateGroups());
  // The start-up size is the smallest that shows everything (a few boxes a
  // little below their natural height, as they always were); larger windows
  // give the pictures the room.
  layout()->setSizeConstraint(QLayout::SetNoConstraint);
  setMinimumSize(WindowWidth, WindowHeight);
  resize(WindowWidth, WindowHeight);
  setAcceptDrops(true);
  MeasurePictureArea();
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - QPoint(WindowWidth / 2, WindowHeight / 2));
  }
  RestoreWindowGeometry(this);

  progress_ = std::make_unique<GuiProgress>(ui_.statusText, ui_.progressBar, ui_.resultView,
                                            ui_.mixTableView, ui_.convertButton);
  conversion_ = std::make_unique<ConversionController>(*progress_);
  loads_ = std::make_unique<PictureLoadController>(conversion_->workspace());
  // The secondary windows come after the main window and stay hidden until
  // asked for; the Interlaced Preview's timer starts now and runs until exit.
  about_ = new AboutWindow(this);
  fieldPreview_ = new FieldPreviewWindow(this);
  interlacedPreview_ = new InterlacedPreviewWindow(this);
  // On a screen scaled by a fraction, 1x too is drawn in whole screen pixels.
  ApplyPictureScale();

  ConnectHandlers();
  ConnectControllers();
  InitialiseControls();
  if (const std::optional<PlacementChoice> placement = RememberedPlacement()) {
    placement_->Choose(placement->mode, placement->aspect);
  }
  // Watching starts after the start values are shown: they are no changes.
  WatchForLive();
}

// The controllers go first (their members are declared after the widgets'
// pointers): a read under way is waited for, and a run still going is told to
// stop and ends before the widgets it reports to go.
MainWindow::~MainWindow() = default;

Workspace& MainWindow::workspace()
{
  return conversion_->workspace();
}

const Workspace& MainWindow::workspace() const
{
  return conversion_->workspace();
}

void MainWindow::SetPrompts(std::unique_ptr<UserPrompts> prompts)
{
  prompts_ = std::move(prompts);
}

void MainWindow::CreateMenu()
{
  MainWindowControls& c = ui_;
  c.fileMenu = Named(menuBar()->addMenu("&File"), "fileMenu");
  c.openAction = Named(c.fileMenu->addAction("&Open Image..."), "openAction");
  c.saveRawAction = Named(c.fileMenu->addAction("Save &Raw C64 data..."), "saveRawAction");
  c.saveProgramAction = Named(c.fileMenu->addAction("Save C64 .&prg..."), "saveProgramAction");
  c.saveC64FileAction = Named(c.fileMenu->addAction("Save C64 &File..."), "saveC64FileAction");
  c.exportPngAction = Named(c.fileMenu->addAction("Export &PNG..."), "exportPngAction");
  c.fileMenu->addSeparator();
  c.exitAction = Named(c.fileMenu->addAction("E&xit"), "exitAction");
  CreateViewMenu();
  c.aboutAction = Named(menuBar()->addAction("&About..."), "aboutAction");
  CreateShortcuts();
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
  // A position is the pan, where the frame's top-left corner lies on the
  // picture, so its value grows as the view moves right or down: plain bars
  // then move the view the way their arrows, troughs and keys point.
  // The handle's length shows how much of the picture the frame holds.
  c.horizontalScroll->setPageStep(PictureWidth);
  c.verticalScroll->setPageStep(PictureHeight);
  auto* source = new QGridLayout(c.sourcePanel);
  source->setContentsMargins(2, 2, 2, 2);
  source->setSpacing(0);
  source->addWidget(c.sourceView, 0, 0);
  source->addWidget(c.verticalScroll, 0, 1);
  source->addWidget(c.horizontalScroll, 1, 0);
  placement_ =
      new SourcePlacement(c.placement, c.horizontalScroll, c.verticalScroll, c.sourceView, central);

  c.pictureArea = Named(new PictureArea(central), "pictureArea");
  c.resultPanel = MakePanel("resultPanel", central);
  c.resultView = Named(
      new PictureView(PictureWidth, PictureHeight, PictureWidth, PictureHeight, c.resultPanel),
      "resultView");
  auto* result = new QVBoxLayout(c.resultPanel);
  result->setContentsMargins(2, 2, 2, 2);
  result->addWidget(c.resultView);
  c.resultCaption = Named(new QLabel(c.resultPanel), "resultCaption");
  c.resultCaption->setWordWrap(true);
  c.resultCaption->hide();
  result->addWidget(c.resultCaption);
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
  c.progressBar->setRange(0, ProgressEnd);
  c.progressBar->setValue(0);
  c.progressBar->setTextVisible(false);
  c.progressBar->setFixedSize(320, 14);
  c.statusBar->addPermanentWidget(c.progressBar);
  c.stopButton = Make<QPushButton>("stopButton", "&Stop", c.statusBar);
  c.stopButton->setEnabled(false);
  c.statusBar->addPermanentWidget(c.stopButton);
}

MainWindow::Groups MainWindow::CreateGroups()
{
  Groups groups{};
  CreateActionGroups(groups);
  CreateChoiceGroups(groups);
  groups.dithering = CreateDitheringGroup(centralWidget());
  CreateOptionGroups(groups);
  groups.adjustment = CreateAdjustmentGroup(centralWidget());
  CreateResultGroups(groups);

  // Everything but the pictures and the mix table; the scroll bars sit in
  // the source panel, and "Placement" moves the picture in it.
  lockedWhileConverting_ = {
      groups.mode,        groups.load,        groups.save,        groups.preview,
      groups.palette,     groups.mixing,      groups.matching,    groups.flicker,
      groups.dithering,   groups.fourColours, groups.sameBanks,   groups.bruteForce,
      groups.interlace,   groups.refine,      groups.adjustment,  groups.errorValue,
      ui_.defaultsButton, ui_.sourcePanel,    ui_.placement.group};
  return groups;
}

// The mode with "Convert", and the buttons that load, save and preview.
void MainWindow::CreateActionGroups(Groups& groups)
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();
  // Hires modes on the left, multicolour on the right.
  GridGroup mode("Graphic Mode", central, 2);
  int rows[2] = {0, 0};
  for (const auto& choice : ModeChoices) {
    const int column = IsMulticolour(choice.value) ? 1 : 0;
    mode.AddAt(c.modeButtons.*choice.button, choice.name, choice.caption, rows[column]++, column);
  }
  c.convertButton = Make<QPushButton>("convertButton", "&Convert", mode.box());
  c.convertButton->setMinimumHeight(28);
  auto* convertRow = Stack<QHBoxLayout>();
  convertRow->addWidget(c.convertButton, 1);
  c.liveBox = Make<QCheckBox>("liveBox", "&Live", mode.box());
  c.liveBox->setToolTip("Convert again after every change");
  convertRow->addWidget(c.liveBox);
  mode.AddRow(convertRow);
  groups.mode = mode.box();

  GridGroup load("Load Options", central);
  load.Add(c.testPictureButton, "testPictureButton", "Internal &Test Image");
  load.Add(c.loadPictureButton, "loadPictureButton", "Load &Bitmap / JPG / PNG...");
  groups.load = load.box();
  GridGroup save("Save Options", central, 2);
  save.Add(c.saveRawButton, "saveRawButton", "Save Ra&w C64 data...");
  save.Add(c.saveProgramButton, "saveProgramButton", "Save C64 .&prg...");
  save.Add(c.saveC64FileButton, "saveC64FileButton", "Save C64 F&ile...");
  save.Add(c.runEmulatorButton, "runEmulatorButton", "Run in &Emulator");
  save.Add(c.exportPngButton, "exportPngButton", "Export P&NG...");
  groups.save = save.box();
  GridGroup preview("Preview Options", central, 2);
  preview.Add(c.fieldPreviewButton, "fieldPreviewButton", "Field Sepa&rate");
  preview.Add(c.interlacedPreviewButton, "interlacedPreviewButton", "Interlaced Pre&view");
  groups.preview = preview.box();
  c.defaultsButton = Make<QPushButton>("defaultsButton", "&Defaults", central);
}

void MainWindow::CreateChoiceGroups(Groups& groups)
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();
  GridGroup palette("Palette", central);
  AddChoices(palette, c.paletteButtons, std::span(PaletteChoices));
  palette.Add(c.loadPaletteButton, "loadPaletteButton", "L&oad Palette...");
  groups.palette = palette.box();
  // The reach of the palette is the reach of its mixes.
  GridGroup mixing("Palette Mixing", central, 2);
  AddChoices(mixing, c.mixButtons, std::span(MixChoices));
  const Switch<Settings>& mapIntoReach = OptionSwitches[7];
  c.*mapIntoReach.box = Make<QCheckBox>(mapIntoReach.name, mapIntoReach.caption, mixing.box());
  mixing.AddRow(c.*mapIntoReach.box);
  groups.mixing = mixing.box();
  groups.matching = ChoiceGroup("Color matching", central, 1, c.matchingButtons, MatchingChoices);
  groups.flicker =
      ChoiceGroup("Flicker col reduction", central, 2, c.flickerButtons, FlickerChoices);
}

// "4 cols per 8x1", "Same Col Banks", "Extra Brute Force" in a box each, the
// three alternation switches together.
void MainWindow::CreateOptionGroups(Groups& groups)
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();
  const std::span options(OptionSwitches);
  groups.fourColours = SwitchGroup("4 cols per 8x1", central, c, options[0]);
  groups.sameBanks = SwitchGroup("Same Col Banks", central, c, options[1]);
  groups.bruteForce = SwitchGroup("Extra Brute Force", central, c, options[2]);
  GridGroup interlace("Interlace settings", central);
  for (const Switch<Settings>& entry : options.subspan(3, 3)) {
    AddSwitch(interlace, c, entry);
  }
  groups.interlace = interlace.box();
  groups.refine = SwitchGroup("Refine", central, c, options[6]);
}

// The mix table, and the error value with its hold buttons.
void MainWindow::CreateResultGroups(Groups& groups)
{
  MainWindowControls& c = ui_;
  QWidget* central = centralWidget();
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
  // The count rises with Refine, which moves pixels off the dither on purpose:
  // the status line after a run says how close the result came to the photo.
  const QString counts =
      "Pixels the C64's colour limits changed from the dithered picture, in percent of the "
      "frame. It is no measure of quality: Refine changes pixels on purpose to come closer to "
      "the photo. The status line gives the closeness to the photo after each run (higher is "
      "closer).";
  c.errorValueLabel->setToolTip(counts);
  c.percentLabel->setToolTip(counts);
  groups.errorValue = error.box();
}

// Four boxes whose buttons are one choice across all of them.
QGroupBox* MainWindow::CreateDitheringGroup(QWidget* parent)
{
  MainWindowControls& c = ui_;
  auto* dithering = new QGroupBox("Dithering", parent);
  const std::span choices(DitherChoices);
  const std::span switches(DitherSwitches);

  GridGroup none("No dither", dithering);
  AddChoices(none, c.ditherButtons, choices.subspan(0, 1));
  GridGroup ordered("Ordered", dithering, 2);
  AddChoices(ordered, c.ditherButtons, choices.subspan(1, 4));
  QHBoxLayout* ampRow = SpinnerRow(c, ValueAmpSpinner, ordered.box());
  c.balancedBox = Make<QCheckBox>("balancedBox", "Balanced", ordered.box());
  c.balancedBox->setToolTip(
      "Thresholds centred on zero and scaled to the gaps between the colours: flat areas keep "
      "their brightness");
  ampRow->addWidget(c.balancedBox);
  ordered.AddRow(ampRow);
  AddSwitch(ordered, c, switches[0]);  // "Alt Y Dither"
  AddSwitch(ordered, c, switches[1]);  // "Flip dither"
  GridGroup diffusion("Diffusion", dithering);
  AddChoices(diffusion, c.ditherButtons, choices.subspan(5, 2));
  diffusion.AddRow(KernelRow(c, diffusion.box()));
  AddSwitch(diffusion, c, switches[2]);  // "Serpentine"
  GridGroup random("Random", dithering);
  AddChoices(random, c.ditherButtons, choices.subspan(8, 1));
  random.AddRow(SpinnerRow(c, StrengthSpinner, random.box()));
  AddSwitch(random, c, switches[3]);  // "Separate RGB"

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
  for (const auto& choice : DitherChoices) {
    ditherChoice_->addButton(c.ditherButtons.*choice.button);
  }
  return dithering;
}

// Five track bars, each with the field that shows it; the last two are
// named by a label before them.
QGroupBox* MainWindow::CreateAdjustmentGroup(QWidget* parent)
{
  auto* group = new QGroupBox("Color Adjustment", parent);
  auto* layout = new QGridLayout(group);
  layout->setContentsMargins(5, 2, 5, 3);
  layout->setSpacing(2);
  int row = 0;
  for (const AdjustmentRowInfo& info : AdjustmentTable) {
    AdjustmentRow& controls = ui_.adjustment.*info.row;
    controls.trackBar = Named(new QSlider(Qt::Horizontal, group), info.trackBarName);
    const int limit = AdjustmentLimit(info.setting);
    controls.trackBar->setRange(-limit, limit);
    controls.trackBar->setPageStep(8);
    controls.trackBar->setToolTip(info.tip);
    controls.field = Named(new QLineEdit(group), info.fieldName);
    controls.field->setFixedWidth(40);
    controls.field->setToolTip(info.tip);
    if (info.fieldColour != 0) {
      SetEditColour(controls.field, QColor::fromRgb(info.fieldColour));
    }
    if (info.label != nullptr) {
      layout->addWidget(Named(new QLabel(info.label, group), info.labelName), row, 0);
      layout->addWidget(controls.trackBar, row, 1);
    } else {
      layout->addWidget(controls.trackBar, row, 0, 1, 2);
    }
    layout->addWidget(controls.field, row, 2);
    ++row;
  }
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

  // Only the pictures scroll: what works on them stays in view at every
  // scale, "Placement" under the source and the mix table under the result.
  auto* pictures = Stack<QHBoxLayout>(4);
  pictures->addWidget(c.sourcePanel, 0, Qt::AlignTop);
  pictures->addWidget(c.resultPanel, 0, Qt::AlignTop);
  auto* underPictures = Stack<QHBoxLayout>(4);
  underPictures->addLayout(column({c.placement.group, groups.errorValue}));
  // "Defaults" under the mix table, just above the settings it resets.
  auto* mixColumn = column({groups.mixTable});
  mixColumn->insertWidget(1, c.defaultsButton, 0, Qt::AlignRight);
  underPictures->addLayout(mixColumn);
  underPictures->addStretch();
  auto* left = Stack<QVBoxLayout>(4);
  left->addWidget(PlacePictures(c.pictureArea, pictures), 1);
  left->addLayout(underPictures);
  auto* actions = column({groups.mode, groups.load, groups.save, groups.preview});
  auto* middle = Stack<QHBoxLayout>(4);
  middle->addLayout(left, 1);
  middle->addLayout(actions);

  auto* bottom = Stack<QHBoxLayout>(4);
  bottom->addLayout(column({groups.dithering}));
  bottom->addLayout(column({groups.adjustment, groups.mixing}), 1);
  bottom->addLayout(column({groups.palette}));
  bottom->addLayout(
      column({groups.flicker, groups.fourColours, groups.sameBanks, groups.bruteForce}));
  bottom->addLayout(column({groups.matching, groups.interlace, groups.refine}));

  auto* top = new QVBoxLayout(centralWidget());
  top->setContentsMargins(3, 2, 3, 0);
  top->setSpacing(3);
  top->addWidget(c.bannerView, 0, Qt::AlignHCenter);
  top->addLayout(middle, 1);
  const QMargins margins = top->contentsMargins();
  auto* settings = Stack<QHBoxLayout>(0);
  settings->addWidget(
      KeptAtStartUpWidth(bottom, WindowWidth - margins.left() - margins.right(), centralWidget()),
      1);
  settings->addStretch();
  top->addLayout(settings);
}

// Start values: the settings' defaults, shown with their click handlers
// running. Nothing can be converted or saved before a picture is loaded and
// converted.
void MainWindow::InitialiseControls()
{
  ShowSettings(Settings{});
  ui_.sourceView->Fill(0x000000);
  ui_.resultView->Fill(0x000000);
  ui_.horizontalScroll->setEnabled(false);
  ui_.verticalScroll->setEnabled(false);
  ui_.convertButton->setEnabled(false);
  EnableSaving(false);
  // "Custom" has no colours before a palette file is read.
  ui_.paletteButtons.custom->setEnabled(false);
}

namespace {

// Messages quote file names and the content of files: their control
// characters are shown escaped.
QString Printable(const QString& text)
{
  return QString::fromStdString(PrintableText(text.toStdString(), true));
}

}  // namespace

void MainWindow::SetStatusText(const QString& text)
{
  ui_.statusText->setText(AsSentence(Printable(text)));
  ui_.statusText->repaint();
}

void MainWindow::ShowError(const QString& text)
{
  prompts_->ShowError(this, AsSentence(Printable(text)));
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
  SaveWindowGeometry(this);
  event->accept();
  QCoreApplication::exit(0);
}

}  // namespace pavona
