#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/settings.h"
#include "core/workspace.h"
#include "gui/application_title.h"

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
class QScrollBar;
class QSlider;
class QStatusBar;

namespace pavona {

class AboutWindow;
class FieldPreviewWindow;
class GuiProgress;
class InterlacedPreviewWindow;
class PictureView;
class UpDown;
class UserPrompts;
struct ConversionOutcome;
struct FieldPictures;

// The main window's controls under their own names (also their object names).
// An edit field with a spinner is a QLineEdit (Edit6, Edit7) that takes any
// text, plus an UpDown (UpDown1, UpDown2) that steps it within a range: the
// typed text is what the conversion uses, unclamped, so a QSpinBox (which
// validates and clamps) would not do.
struct MainWindowControls {
  // "Graphic Mode"
  QRadioButton* RadioButton3;  // "Hires Standard"
  QRadioButton* RadioButton4;  // "Hires Interlaced"
  QRadioButton* RadioButton5;  // "Hires FLI"
  QRadioButton* RadioButton6;  // "Hires FLI Interlace"
  QPushButton* BitBtn1;        // "Convert"
  // "Palette"
  QRadioButton* RadioButton8;   // "Pepto"
  QRadioButton* RadioButton9;   // "Deekay"
  QRadioButton* RadioButton21;  // "Vice"
  QRadioButton* RadioButton22;  // "CCS64"
  QRadioButton* RadioButton23;  // "Frodo"
  // "Palette Mixing"
  QRadioButton* RadioButton17;  // "RGB Mix"
  QRadioButton* RadioButton18;  // "YUV Mix"
  // "Color matching"
  QRadioButton* RadioButton11;  // "RGB Distance"
  QRadioButton* RadioButton12;  // "'Y' Brightness"
  QRadioButton* RadioButton19;  // "Perceptual"
  // "Flicker col reduction"
  QRadioButton* RadioButton14;  // "Off"
  QRadioButton* RadioButton20;  // "Light"
  QRadioButton* RadioButton15;  // "Medium"
  QRadioButton* RadioButton16;  // "Heavy"
  // "Dithering": "No dither"
  QRadioButton* RadioButton1;  // "None"
  // "Ordered"
  QRadioButton* RadioButton7;   // "Ordered 2x2"
  QRadioButton* RadioButton26;  // "Ordered 3x3"
  QRadioButton* RadioButton10;  // "Ordered 4x4"
  QRadioButton* RadioButton24;  // "Ordered 8x8"
  QLineEdit* Edit6;             // "Value Amp"
  UpDown* UpDown1;
  QCheckBox* CheckBox7;   // "Alt Y Dither"
  QCheckBox* CheckBox10;  // "Flip dither"
  // "Diffusion"
  QRadioButton* RadioButton2;   // "Floyd Steinberg"
  QRadioButton* RadioButton13;  // "Custom"
  QCheckBox* CheckBox9;         // "Serpentine"
  // "Random"
  QRadioButton* RadioButton25;  // "Enable"
  QLineEdit* Edit7;             // "Strength"
  UpDown* UpDown2;
  QCheckBox* CheckBox8;  // "Seperate RGB"
  // Option boxes
  QCheckBox* CheckBox3;  // "4 cols per 8x1": "Activate"
  QCheckBox* CheckBox6;  // "Same Col Banks": "Enabled"
  QCheckBox* CheckBox5;  // "Extra Brute Force": "Activate"
  QCheckBox* CheckBox1;  // "Interlace settings": "Alternate Y"
  QCheckBox* CheckBox4;  // "Alternate X"
  QCheckBox* CheckBox2;  // "Alternate X8"
  // "Color Adjustment"
  QSlider* TrackBar1;  // red offset
  QSlider* TrackBar2;  // green offset
  QSlider* TrackBar3;  // blue offset
  QSlider* TrackBar5;  // brightness offset
  QSlider* TrackBar4;  // contrast
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QLineEdit* Edit4;
  QLineEdit* Edit5;
  // Pictures
  PictureView* Image1;  // banner
  QFrame* Panel1;
  PictureView* Image2;     // the shown source frame
  QScrollBar* ScrollBar1;  // horizontal, under the source
  QScrollBar* ScrollBar2;  // vertical, beside it
  QFrame* Panel2;
  PictureView* Image3;  // the result
  PictureView* Image4;  // "Mix palette"
  // "Error Pixel Value"
  QLabel* Label1;
  QLabel* Label2;
  QPushButton* Button4;  // "Hold to Show"
  QPushButton* BitBtn2;  // "Hold for pre-Hifli Conv"
  // "Preview Options"
  QPushButton* Button2;  // "Field Seperate"
  QPushButton* Button3;  // "Interlaced Preview"
  // "Load Options"
  QPushButton* Button5;  // "Internal Test Image"
  QPushButton* Button6;  // "Load Bitmap / JPG"
  // "Save Options"
  QPushButton* Button7;  // "Save Raw C64 data"
  QPushButton* Button8;  // "Save C64 .prg"
  QPushButton* Button1;  // "Defaults"
  QProgressBar* ProgressBar1;
  QStatusBar* StatusBar1;
  QLabel* StatusPanel;  // panel 0 of the status bar
  // Menu
  QMenu* File1;
  QAction* OpenImage1;
  QAction* SaveRaw1;
  QAction* SaveC64Exe1;
  QAction* Exit1;
  QAction* Settings1;  // "About"
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

  GraphicMode SelectedMode() const;
  MixMethod SelectedMixMethod() const;
  FlickerLevel SelectedFlickerLevel() const;

  // Panel 0 of the status bar, repainted at once.
  void SetStatusText(const QString& text);

  // "Defaults" (Button1).
  void ResetDefaults();

  // The dialogs and message boxes go through these prompts; the standard
  // dialogs unless replaced.
  void SetPrompts(std::unique_ptr<UserPrompts> prompts);

  // A conversion runs on its worker thread; the controls that could change
  // its settings or its pictures are disabled meanwhile.
  bool ConversionRunning() const { return worker_.joinable(); }

 signals:
  // A conversion has ended, its result is shown and the controls are back.
  void ConversionFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The hold buttons react to every mouse button, not only the left one.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Groups;
  void CreateMenu();
  void CreatePictures();
  void CreateStatusBar();
  Groups CreateGroups();
  QGroupBox* CreateDitheringGroup(QWidget* parent);
  QGroupBox* CreateAdjustmentGroup(QWidget* parent);
  void ArrangeWindow(const Groups& groups);
  void ConnectHandlers();
  void InitialiseControls();
  void InitialiseWorkingState();

  // Click handlers.
  void SelectPalette(PaletteId palette);
  void RebuildForMixing();
  void HiresStandardOrFliSelected();
  void HiresInterlacedSelected();
  void HiresFliInterlaceSelected();
  void FlickerLevelSelected(FlickerLevel level);
  void SameColBanksClicked();
  void ColourTrackBarChanged();
  void ShowAboutWindow();

  // Loading the source frame.
  void LoadPictureFile();
  void LoadTestPicture();
  void ScrollSource();
  void ShowSourceFrame(const Picture& frame);

  // The conversion and its result.
  void StartConversion();
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

  // "Same Col Banks" both enabled and on: the single-bank searches then use
  // the whole mix table, so no flicker level applies.
  bool SameColBanksActive() const;

  MainWindowControls ui_{};
  std::unique_ptr<Workspace> workspace_;
  QButtonGroup* ditherButtons_ = nullptr;
  // Containers of every control that changes a setting or starts an action;
  // disabled as a whole while a conversion runs, which leaves the controls'
  // own enabled states as the mode handlers set them.
  std::vector<QWidget*> lockedWhileConverting_;
  std::unique_ptr<UserPrompts> prompts_;
  std::thread worker_;
  std::unique_ptr<GuiProgress> progress_;
  AboutWindow* about_ = nullptr;
  FieldPreviewWindow* fieldPreview_ = nullptr;
  InterlacedPreviewWindow* interlacedPreview_ = nullptr;
  // Pair a press of "Hold to Show" / "Hold for pre-Hifli Conv" with its
  // release; both clear at start-up.
  bool errorViewHeld_ = false;
  bool ditherViewHeld_ = false;
};

}  // namespace pavona
