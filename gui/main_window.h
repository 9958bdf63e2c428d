#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/workspace.h"
#include "gui/application_title.h"
#include "gui/picture_scaling.h"
#include "gui/placement_panel.h"
#include "plan/settings.h"

class QAction;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QDragEnterEvent;
class QDropEvent;
class QScrollBar;
class QSlider;
class QStatusBar;

namespace pavona {

class AboutWindow;
class FieldPreviewWindow;
class GuiProgress;
class InterlacedPreviewWindow;
class PictureArea;
class PictureLoader;
class LiveConversion;
class PictureView;
class UpDown;
class UserPrompts;
struct ConversionOutcome;
struct FieldPictures;
struct LoadOutcome;

// The main window's controls, grouped as the window groups them. Each
// control's object name is its member's path here ("modeButtons.hiresFli",
// "adjustment.red.trackBar"). A number field with a spinner is a QLineEdit
// that takes any text, plus an UpDown that steps it within a range: the typed
// text is what the conversion uses, unclamped until the typing ends (see
// gui/number_field.h), so a QSpinBox (which validates and clamps every key)
// would not do.
struct ModeButtons {
  QRadioButton* hiresStandard;
  QRadioButton* hiresInterlaced;
  QRadioButton* hiresFli;
  QRadioButton* hiresFliInterlace;
};

struct PaletteButtons {
  QRadioButton* pepto;
  QRadioButton* deekay;
  QRadioButton* vice;
  QRadioButton* ccs64;
  QRadioButton* frodo;
  QRadioButton* colodore;
  QRadioButton* custom;  // the palette read by "Load Palette..."
};

// "Palette Mixing"
struct MixButtons {
  QRadioButton* rgb;
  QRadioButton* yuv;
};

// "Color matching"
struct MatchingButtons {
  QRadioButton* rgbDistance;
  QRadioButton* brightness;  // "'Y' Brightness"
  QRadioButton* perceptual;
};

// "Flicker col reduction"
struct FlickerButtons {
  QRadioButton* off;
  QRadioButton* light;
  QRadioButton* medium;
  QRadioButton* heavy;
};

// One choice across the four boxes of "Dithering".
struct DitherButtons {
  QRadioButton* none;  // "No dither"
  QRadioButton* ordered2x2;
  QRadioButton* ordered3x3;
  QRadioButton* ordered4x4;
  QRadioButton* ordered8x8;
  QRadioButton* floydSteinberg;  // "Diffusion"
  QRadioButton* custom;
  QRadioButton* random;  // "Random": "Enable"
};

// A track bar of "Color Adjustment" with the field that shows its position.
struct AdjustmentRow {
  QSlider* trackBar;
  QLineEdit* field;
};

struct AdjustmentRows {
  AdjustmentRow red;
  AdjustmentRow green;
  AdjustmentRow blue;
  AdjustmentRow brightness;
  AdjustmentRow contrast;  // percent added to 100
};

struct MainWindowControls {
  // "Graphic Mode"
  ModeButtons modeButtons;
  QPushButton* convertButton;
  QCheckBox* liveBox;  // "Live": convert again after every change
  PaletteButtons paletteButtons;
  MixButtons mixButtons;
  MatchingButtons matchingButtons;
  FlickerButtons flickerButtons;
  // "Dithering"
  DitherButtons ditherButtons;
  QLineEdit* valueAmpField;  // "Ordered": "Value Amp"
  UpDown* valueAmpSpinner;
  QCheckBox* altYDitherBox;
  QCheckBox* flipDitherBox;
  QCheckBox* serpentineBox;  // "Diffusion"
  QLineEdit* strengthField;  // "Random": "Strength"
  UpDown* strengthSpinner;
  QCheckBox* separateRgbBox;
  // Option boxes
  QCheckBox* fourColoursBox;      // "4 cols per 8x1": "Activate"
  QCheckBox* sameBanksBox;        // "Same Col Banks": "Enabled"
  QCheckBox* extraBruteForceBox;  // "Extra Brute Force": "Activate"
  QCheckBox* alternateYBox;       // "Interlace settings"
  QCheckBox* alternateXBox;
  QCheckBox* alternateX8Box;
  QCheckBox* refineBox;  // "Refine": "Activate"
  // "Color Adjustment"
  AdjustmentRows adjustment;
  // Pictures
  PictureView* bannerView;
  QFrame* sourcePanel;
  PictureView* sourceView;       // the shown source frame
  QScrollBar* horizontalScroll;  // under the source
  QScrollBar* verticalScroll;    // beside it
  PlacementControls placement;   // "Placement", under the scroll bars
  QFrame* resultPanel;
  PictureView* resultView;
  // Holds both panels with the error value and the mix table under them,
  // scrolled when a scale makes them larger than the window.
  PictureArea* pictureArea;
  PictureView* mixTableView;  // "Mix palette"
  // "Error Pixel Value"
  QLabel* errorValueLabel;
  QLabel* percentLabel;
  QPushButton* holdErrorsButton;    // "Hold to Show"
  QPushButton* holdDitheredButton;  // "Hold for pre-Hifli Conv"
  // "Preview Options"
  QPushButton* fieldPreviewButton;       // "Field Seperate"
  QPushButton* interlacedPreviewButton;  // "Interlaced Preview"
  // "Load Options"
  QPushButton* testPictureButton;  // "Internal Test Image"
  QPushButton* loadPictureButton;  // "Load Bitmap / JPG"
  // "Save Options"
  QPushButton* saveRawButton;      // "Save Raw C64 data"
  QPushButton* saveProgramButton;  // "Save C64 .prg"
  QPushButton* saveC64FileButton;  // "Save C64 File..."
  QPushButton* runEmulatorButton;  // "Run in Emulator"
  QPushButton* exportPngButton;    // "Export PNG..."
  // "Palette"
  QPushButton* loadPaletteButton;  // "Load Palette..."
  QPushButton* defaultsButton;
  QProgressBar* progressBar;
  QStatusBar* statusBar;
  QLabel* statusText;       // the status bar's one panel
  QPushButton* stopButton;  // beside the progress bar, enabled while a run goes
  // Menu
  QMenu* fileMenu;
  QAction* openAction;         // "Open Image"
  QAction* saveRawAction;      // "Save Raw"
  QAction* saveProgramAction;  // "Save C64 Exe"
  QAction* saveC64FileAction;  // "Save C64 File..."
  QAction* exportPngAction;    // "Export PNG..."
  QAction* exitAction;
  QMenu* viewMenu;
  std::array<QAction*, MaximumScaleFactor> scaleActions;  // "1x" .. "4x"
  QAction* fitScaleAction;                                // "Fit": the largest that fits
  QAction* palAspectAction;                               // "PAL aspect"
  QAction* aboutAction;
  // Window shortcuts without a menu entry
  QAction* convertAction;  // Ctrl+Return
  QAction* stopAction;     // Esc
};

// The main window. It owns the working pictures and tables (the Workspace)
// and the three secondary windows; its controls are the settings.
//
// Changing a check box or selecting a radio button from the program behaves
// like a click: the control's handler runs when its state really changes
// (radio buttons only on becoming selected).
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  const MainWindowControls& Controls() const { return ui_; }
  Workspace& workspace() { return *workspace_; }
  const Workspace& workspace() const { return *workspace_; }

  AboutWindow& About() const { return *about_; }
  FieldPreviewWindow& FieldPreview() const { return *fieldPreview_; }
  InterlacedPreviewWindow& InterlacedPreview() const { return *interlacedPreview_; }

  // Reports a long stage into the status line, progress bar, result image and
  // mix table image; usable from a worker thread.
  GuiProgress& Progress() const { return *progress_; }

  // Every setting as the controls show it now. "Value Amp" and "Strength"
  // are taken from their fields as typed.
  Settings GatherSettings() const;

  // Shows every setting in its control, the inverse of GatherSettings; the
  // controls' handlers run as for clicks, and the option controls follow the
  // mode.
  void ShowSettings(const Settings& settings);

  GraphicMode SelectedMode() const;
  MixMethod SelectedMixMethod() const;
  FlickerLevel SelectedFlickerLevel() const;

  // Panel 0 of the status bar, repainted at once.
  void SetStatusText(const QString& text);

  // "Defaults".
  void ResetDefaults();

  // Loads a picture file into the source frame, as "Load Bitmap / JPG" does
  // after its dialog; every way of opening a named file comes here.
  void OpenPicture(const QString& path);

  // The dialogs and message boxes go through these prompts; the standard
  // dialogs unless replaced.
  void SetPrompts(std::unique_ptr<UserPrompts> prompts);

  // A conversion started by "Convert" runs on its worker thread; the
  // controls that could change its settings or its pictures are disabled
  // meanwhile.
  bool ConversionRunning() const { return worker_.joinable() && lockedRun_; }
  // Any run, also one of "Live", which leaves the controls as they are.
  bool AnyRunGoing() const { return worker_.joinable(); }

  // Converts the frame as shown with the settings as shown, for "Live": a
  // run still going is stopped and this one follows it. Does nothing before a
  // picture is loaded, or while "Convert" runs (with the controls locked,
  // nothing has changed since it started).
  void ConvertLive();
  // "Stop": the run going ends without a result; the previous one stays.
  void StopConversion();

  // The scale the source, the result and the previews are drawn at now: the
  // one chosen in "View", or with "Fit" the largest that fits the window.
  ViewScale PictureScale() const;
  // A picture file is read on a thread of its own; meanwhile no other file is
  // loaded and nothing is converted.
  bool PictureLoading() const;

 signals:
  // A conversion has ended, its result is shown and the controls are back.
  void ConversionFinished();
  void SourceFrameChanged();
  // A picture file has been read and shown, or refused with a message.
  void PictureLoadFinished();
  // "Custom" has new colours from a palette file.
  void PaletteFileRead();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The hold buttons react to every mouse button, not only the left one.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A picture file dropped on the window is opened.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  struct Groups;
  void CreateMenu();
  void CreatePictures();
  void CreateStatusBar();
  Groups CreateGroups();
  void CreateActionGroups(Groups& groups);
  void CreateChoiceGroups(Groups& groups);
  void CreateOptionGroups(Groups& groups);
  void CreateResultGroups(Groups& groups);
  QGroupBox* CreateDitheringGroup(QWidget* parent);
  QGroupBox* CreateAdjustmentGroup(QWidget* parent);
  void ArrangeWindow(const Groups& groups);
  void CreateViewMenu();
  void MeasurePictureArea();
  void ConnectHandlers();
  void ConnectSettingHandlers();
  void ConnectActionHandlers();
  void InitialiseControls();
  void InitialiseWorkingState();

  // Click handlers.
  void SelectPalette();
  void LoadPaletteFile();
  void RebuildForMixing();
  void ModeSelected();
  void FlickerLevelSelected(FlickerLevel level);
  void SameColBanksClicked();
  void ColourTrackBarChanged();
  void ShowAboutWindow();
  // Enables the option controls that apply to the mode and "Same Col Banks".
  void ApplyEnabledControls();

  // Loading the source frame.
  void LoadPictureFile();
  void LoadTestPicture();
  // The loaded picture as the placement controls place it, in the source view.
  void ShowPlacedFrame();
  void StartLoading(const QString& path, bool newPicture);
  void FinishLoading(const QString& path, bool newPicture, LoadOutcome& outcome);
  void LockForLoading(bool locked);
  // A zoom that needs more pixels than were decoded reads the file again.
  void ReloadIfDecodedTooSmall();
  void ShowLoadedStatus();
  void ShowSourceFrame(const Picture& frame);

  // The conversion and its result.
  void StartConversion();
  // Starts the worker on a copy of what the run reads; `locked` for "Convert".
  void BeginRun(const Settings& settings, bool locked);
  // The result view and mix table image as they were before a run that ended
  // without a result drew into them.
  void ShowPreviousResult();
  void EnableStop(bool enabled);
  void CreateShortcuts();
  void FinishConversion(const ConversionOutcome& outcome);
  void FailConversion(const std::string& error);
  void LockForConversion(bool locked);
  void EnableSaving(bool enabled);
  void HoldButtonPressed(QObject* button);
  void HoldButtonReleased(QObject* button);
  void ShowErrorPixels();

  // Saving and previewing the last conversion.
  void SaveRawData();
  void SaveC64Program();
  void SaveC64File();
  void ExportPng();
  // A save that would write over the loaded picture is refused with a message.
  bool RefuseSavingOverSource(const QString& path);
  // The name a save dialog starts with: the loaded picture's base name with
  // `extension`, in the folder saved to last.
  QString SuggestedSaveName(const QString& extension) const;
  // The typed name with `extension` added when it has none, or nothing when
  // that name may not be written (the loaded picture, or an existing file
  // the user keeps).
  std::optional<QString> FinalSaveName(const QString& typed, const QString& extension);
  // The one-type save dialog and FinalSaveName; nothing when cancelled.
  std::optional<QString> AskSaveName(const QString& filter, const QString& extension);
  // Shows a failed write's error, or remembers the folder of a done one.
  void ReportSave(const QString& path, const std::string& error);
  void RunConversionInEmulator();
  // "Run in Emulator" needs a conversion and the emulator on PATH.
  void EnableEmulatorButton(bool converted);
  void ShowFieldPreview();
  void ShowInterlacedPreview();
  std::unique_ptr<FieldPictures> BuildFieldPictures();

  // The mix table steps on the Workspace, for the selected palette, mixing
  // method and mode.
  void BuildMixPalette();
  void ReduceFlicker(FlickerLevel level);
  void DrawMixPalette();
  // BuildMixPalette, the reduction of the level, DrawMixPalette.
  void RebuildReducedMixPalette(FlickerLevel level);

  // Draws the pictures at PictureScale(); when the chosen factor needs more
  // room than the pictures have, the window grows towards it (within its
  // screen).
  void ApplyPictureScale();
  void GrowToShowPictures();
  // The pictures' area at a factor, with the room around them as it is now.
  QSize PictureContentSize(ViewScale scale) const;

  // "Same Col Banks" both enabled and on: the single-bank searches then use
  // the whole mix table, so no flicker level applies.
  bool SameColBanksActive() const;

  MainWindowControls ui_{};
  std::unique_ptr<Workspace> workspace_;
  QButtonGroup* ditherChoice_ = nullptr;
  // Containers of every control that changes a setting or starts an action;
  // disabled as a whole while a conversion runs, which leaves the controls'
  // own enabled states as the mode handlers set them.
  std::vector<QWidget*> lockedWhileConverting_;
  std::unique_ptr<UserPrompts> prompts_;
  // The colours of the "Custom" palette, from the last palette file read.
  C64Palette customPalette_{};
  // The picture file loaded last, which no save may replace.
  QString loadedPath_;
  std::thread worker_;
  SourcePlacement* placement_ = nullptr;
  // The source view shows loadedPath_ as placed, not the test picture.
  bool fileShown_ = false;
  std::vector<std::string> loadWarnings_;  // of the file shown
  bool convertEnabledBeforeLoading_ = false;
  // The run converts here, apart from the workspace the window shows and
  // goes on changing; a finished run's results are copied over.
  std::unique_ptr<Workspace> runSpace_ = std::make_unique<Workspace>();
  bool lockedRun_ = false;
  // "Live" asked for a run while one was going: it starts when that one ends.
  bool liveRunWaiting_ = false;
  LiveConversion* live_ = nullptr;
  std::unique_ptr<GuiProgress> progress_;
  // Declared after everything its calls touch, so it waits for a read under
  // way before they go.
  std::unique_ptr<PictureLoader> loader_;
  AboutWindow* about_ = nullptr;
  FieldPreviewWindow* fieldPreview_ = nullptr;
  InterlacedPreviewWindow* interlacedPreview_ = nullptr;
  // Pair a press of "Hold to Show" / "Hold for pre-Hifli Conv" with its
  // release; both clear at start-up.
  bool errorViewHeld_ = false;
  bool ditherViewHeld_ = false;
  // The pictures' area, all of it, at 1:1 without the PAL aspect.
  QSize unscaledPictureContent_;
};

}  // namespace pavona
