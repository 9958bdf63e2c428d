#pragma once

#include <array>

#include "gui/picture_scaling.h"
#include "gui/placement_panel.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QStatusBar;

namespace pavona {

class PictureArea;
class PictureView;
class UpDown;

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
  QRadioButton* multicolour;
  QRadioButton* multicolourFli;
  QRadioButton* multicolourInterlace;
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
  QRadioButton* kernel;  // beside the kernel list
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
  QCheckBox* balancedBox;
  QCheckBox* serpentineBox;  // "Diffusion"
  QComboBox* kernelList;
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
  QCheckBox* refineBox;        // "Refine": "Activate"
  QCheckBox* mapIntoReachBox;  // "Palette": "Map colours into reach"
  // "Color Adjustment"
  AdjustmentRows adjustment;
  // Pictures
  PictureView* bannerView;
  QFrame* sourcePanel;
  PictureView* sourceView;       // the shown source frame
  QScrollBar* horizontalScroll;  // under the source
  QScrollBar* verticalScroll;    // beside it
  PlacementControls placement;   // "Placement", under the source, never scrolled
  QFrame* resultPanel;
  PictureView* resultView;
  // Under the result while it shows another picture than the one loaded.
  QLabel* resultCaption;
  // Holds both panels, scrolled when a scale makes them larger than the
  // window; the boxes under them stay in view.
  PictureArea* pictureArea;
  PictureView* mixTableView;  // "Mix palette"
  // "Error Pixel Value"
  QLabel* errorValueLabel;
  QLabel* percentLabel;
  QPushButton* holdErrorsButton;    // "Hold to Show"
  QPushButton* holdDitheredButton;  // "Hold for pre-Hifli Conv"
  // "Preview Options"
  QPushButton* fieldPreviewButton;       // "Field Separate"
  QPushButton* interlacedPreviewButton;  // "Interlaced Preview"
  // "Load Options"
  QPushButton* testPictureButton;  // "Internal Test Image"
  QPushButton* loadPictureButton;  // "Load Bitmap / JPG / PNG..."
  // "Save Options"
  QPushButton* saveRawButton;      // "Save Raw C64 data..."
  QPushButton* saveProgramButton;  // "Save C64 .prg..."
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
  QAction* openAction;         // "Open Image..."
  QAction* saveRawAction;      // "Save Raw C64 data..."
  QAction* saveProgramAction;  // "Save C64 .prg..."
  QAction* saveC64FileAction;  // "Save C64 File..."
  QAction* exportPngAction;    // "Export PNG..."
  QAction* exitAction;
  QMenu* viewMenu;
  std::array<QAction*, MaximumScaleFactor> scaleActions;  // "1x" .. "4x"
  QAction* fitScaleAction;                                // "Fit": the largest that fits
  QAction* palAspectAction;                               // "PAL aspect"
  QAction* shownOnlyAction;  // "As the C64 shows it": black where it shows nothing
  QAction* aboutAction;
  // Window shortcuts without a menu entry
  QAction* convertAction;  // Ctrl+Return
  QAction* stopAction;     // Esc
};

}  // namespace pavona
