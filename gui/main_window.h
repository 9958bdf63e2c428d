#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "gui/application_title.h"
#include "gui/main_window_controls.h"
#include "plan/settings.h"

class QButtonGroup;
class QGroupBox;
class QDragEnterEvent;
class QDropEvent;

namespace pavona {

class AboutWindow;
class ConversionController;
class FieldPreviewWindow;
class GuiProgress;
class InterlacedPreviewWindow;
class PictureLoadController;
class UserPrompts;
struct ConversionOutcome;
struct FieldPictures;
struct Placement;
enum class OutputFile;
enum class RunKind;

// The main window: a view of the settings, the pictures and the commands. It
// wires its controls to the ConversionController, which runs conversions and
// owns the working pictures and tables, and to the PictureLoadController,
// which reads picture files; it owns the three secondary windows.
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
  Workspace& workspace();
  const Workspace& workspace() const;
  ConversionController& Conversion() const { return *conversion_; }

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
  // controls' handlers run as for clicks, and the option controls and the mix
  // table follow the settings.
  void ShowSettings(const Settings& settings);

  GraphicMode SelectedMode() const;

  // Panel 0 of the status bar, repainted at once. Like every message the
  // window shows, it begins with a capital letter, also where the text comes
  // from a library that words its errors to follow a program's name.
  void SetStatusText(const QString& text);

  // "Defaults".
  void ResetDefaults();

  // Loads a picture file into the source frame, as "Load Bitmap / JPG" does
  // after its dialog; every way of opening a named file comes here.
  void OpenPicture(const QString& path);

  // The dialogs and message boxes go through these prompts; the standard
  // dialogs unless replaced.
  void SetPrompts(std::unique_ptr<UserPrompts> prompts);

  // A conversion started by "Convert" runs on a worker thread; the controls
  // that could change its settings or its pictures are disabled meanwhile.
  bool ConversionRunning() const;
  // Any run, also one of "Live", which leaves the controls as they are.
  bool AnyRunGoing() const;
  // Converts the frame as shown with the settings as shown, for "Live".
  void ConvertLive();

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
  void CreateShortcuts();
  void MeasurePictureArea();
  void ConnectHandlers();
  void ConnectSettingHandlers();
  void ConnectActionHandlers();
  void ConnectControllers();
  // Every change of what a run converts tells "Live".
  void WatchForLive();
  void InitialiseControls();

  // Click handlers.
  void SelectPalette();
  void LoadPaletteFile();
  void ColourTrackBarChanged();
  void ShowAboutWindow();
  // A message box with an error, begun with a capital letter.
  void ShowError(const QString& text);
  // The option controls and the mix table follow the settings as shown.
  void FollowSettings();
  void ApplyEnabledControls();
  // The mix table the next run dithers with, as its plan prepares it.
  void ShowPlannedMixTable();
  void DrawMixPalette();

  // Loading the source frame.
  void LoadPictureFile();
  void LoadTestPicture();
  // The loaded picture as the placement controls place it, in the source view.
  void ShowPlacedFrame();
  void ShowPictureRead(const QString& path, bool fresh, const Placement& placement,
                       const Picture& frame);
  void ShowReadFailure(const QString& error, bool newPicture);
  void LockForLoading(bool locked);
  void ReloadIfReadDiffers();
  void ShowLoadedStatus();
  void ShowSourceFrame(const Picture& frame);

  // The conversion and its result.
  void StartConversion();
  void ShowRunStarted(RunKind kind);
  void ShowRunResult(const ConversionOutcome& outcome);
  // The run ended without a result: the previous one is shown again.
  void ShowRunEnded();
  // The result view and mix table image as they were before a run that ended
  // without a result drew into them.
  void ShowPreviousResult();
  void EnableStop(bool enabled);
  void LockForConversion(bool locked);
  void EnableSaving(bool enabled);
  void HoldButtonPressed(QObject* button);
  void HoldButtonReleased(QObject* button);
  void ShowErrorPixels();
  Picture ShownResult() const;
  void ShowRunStatus(const ConversionOutcome& outcome);
  void ShowResultCaption();

  // Saving and previewing the last conversion.
  void SaveRawData();
  void SaveC64Program();
  void SaveC64File();
  void ExportPng();
  // A save that would write over the loaded picture or palette file is
  // refused with a message.
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
  // Writes one output file of the last conversion; the error, or nothing.
  std::string WriteOutput(const QString& path, OutputFile file) const;
  // Shows a failed write's error, or remembers the folder of a done one.
  void ReportSave(const QString& path, const std::string& error);
  void RunConversionInEmulator();
  // "Run in Emulator" needs a conversion and the emulator on PATH.
  void EnableEmulatorButton(bool converted);
  void ShowFieldPreview();
  void ShowInterlacedPreview();
  std::unique_ptr<FieldPictures> BuildFieldPictures();

  // Draws the pictures at PictureScale(); when the chosen factor needs more
  // room than the pictures have, the window grows towards it (within its
  // screen).
  void ApplyPictureScale();
  void GrowToShowPictures();
  // The pictures' area at a factor, with the room around them as it is now.
  QSize PictureContentSize(ViewScale scale) const;

  MainWindowControls ui_{};
  QButtonGroup* ditherChoice_ = nullptr;
  // Containers of every control that changes a setting or starts an action;
  // disabled as a whole while a conversion runs, which leaves the controls'
  // own enabled states as the mode handlers set them.
  std::vector<QWidget*> lockedWhileConverting_;
  std::unique_ptr<UserPrompts> prompts_;
  // The colours of the "Custom" palette, from the last palette file read.
  C64Palette customPalette_{};
  QString paletteFilePath_;  // the palette file read last, kept from being saved over
  SourcePlacement* placement_ = nullptr;
  bool convertEnabledBeforeLoading_ = false;
  int progressBeforeLoading_ = 0;
  // In this order: a read under way and a run going end before what they
  // report to goes.
  std::unique_ptr<GuiProgress> progress_;
  std::unique_ptr<ConversionController> conversion_;
  std::unique_ptr<PictureLoadController> loads_;
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
