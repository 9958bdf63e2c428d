#pragma once

// The main window's groups of alike controls as tables: each row names a
// control, its object name, its caption and the setting it stands for. The
// window is built, read (GatherSettings), set (ShowSettings) and connected
// from these rows, so a control and its setting are paired in one place.
#include <QRadioButton>
#include <iterator>
#include <utility>

#include "colour/colour_adjustment.h"
#include "gui/main_window.h"
#include "plan/settings.h"

namespace pavona {

// A radio button that selects one value of a setting.
template <typename Buttons, typename Value>
struct Choice {
  QRadioButton* Buttons::*button;
  Value value;
  const char* name;  // object name: the member's path
  const char* caption;
};

// clang-format off
inline constexpr Choice<ModeButtons, GraphicMode> ModeChoices[] = {
    {&ModeButtons::hiresStandard,     GraphicMode::HiresStandard,     "modeButtons.hiresStandard",     "Hires Standard"},
    {&ModeButtons::hiresInterlaced,   GraphicMode::HiresInterlaced,   "modeButtons.hiresInterlaced",   "Hires Interlaced"},
    {&ModeButtons::hiresFli,          GraphicMode::HiresFli,          "modeButtons.hiresFli",          "Hires FLI"},
    {&ModeButtons::hiresFliInterlace, GraphicMode::HiresFliInterlace, "modeButtons.hiresFliInterlace", "Hires FLI Interlace"},
    {&ModeButtons::multicolour,          GraphicMode::Multicolour,          "modeButtons.multicolour",          "Multicolour"},
    {&ModeButtons::multicolourFli,       GraphicMode::MulticolourFli,       "modeButtons.multicolourFli",       "Multicolour FLI"},
    {&ModeButtons::multicolourInterlace, GraphicMode::MulticolourInterlace, "modeButtons.multicolourInterlace", "Multicolour Interlace"},
};

inline constexpr Choice<PaletteButtons, PaletteId> PaletteChoices[] = {
    {&PaletteButtons::pepto,  PaletteId::Pepto,  "paletteButtons.pepto",  "Pepto"},
    {&PaletteButtons::deekay, PaletteId::Deekay, "paletteButtons.deekay", "Deekay"},
    {&PaletteButtons::vice,   PaletteId::Vice,   "paletteButtons.vice",   "Vice"},
    {&PaletteButtons::ccs64,  PaletteId::Ccs64,  "paletteButtons.ccs64",  "CCS64"},
    {&PaletteButtons::frodo,  PaletteId::Frodo,  "paletteButtons.frodo",  "Frodo"},
    {&PaletteButtons::colodore, PaletteId::Colodore, "paletteButtons.colodore", "Colodore"},
    {&PaletteButtons::custom,   PaletteId::Custom,   "paletteButtons.custom",   "Custom"},
};

inline constexpr Choice<MixButtons, MixMethod> MixChoices[] = {
    {&MixButtons::rgb, MixMethod::Rgb, "mixButtons.rgb", "RGB Mix"},
    {&MixButtons::yuv, MixMethod::Yuv, "mixButtons.yuv", "YUV Mix"},
};

inline constexpr Choice<MatchingButtons, Measure> MatchingChoices[] = {
    {&MatchingButtons::rgbDistance, Measure::RgbDistance, "matchingButtons.rgbDistance", "RGB Distance"},
    {&MatchingButtons::brightness,  Measure::Brightness,  "matchingButtons.brightness",  "'Y' Brightness"},
    {&MatchingButtons::perceptual,  Measure::Perceptual,  "matchingButtons.perceptual",  "Perceptual"},
};

inline constexpr Choice<FlickerButtons, FlickerLevel> FlickerChoices[] = {
    {&FlickerButtons::off,    FlickerLevel::Off,    "flickerButtons.off",    "Off"},
    {&FlickerButtons::light,  FlickerLevel::Light,  "flickerButtons.light",  "Light"},
    {&FlickerButtons::medium, FlickerLevel::Medium, "flickerButtons.medium", "Medium"},
    {&FlickerButtons::heavy,  FlickerLevel::Heavy,  "flickerButtons.heavy",  "Heavy"},
};

// In the order the dithering boxes show them: "No dither", "Ordered",
// "Diffusion", "Random". The balanced ordered methods are the ordered buttons
// with "Balanced" on; the caption-less button beside the kernel list stands
// for the kernel chosen in it.
inline constexpr Choice<DitherButtons, DitherMethod> DitherChoices[] = {
    {&DitherButtons::none,           DitherMethod::None,           "ditherButtons.none",           "None"},
    {&DitherButtons::ordered2x2,     DitherMethod::Ordered2x2,     "ditherButtons.ordered2x2",     "Ordered 2x2"},
    {&DitherButtons::ordered3x3,     DitherMethod::Ordered3x3,     "ditherButtons.ordered3x3",     "Ordered 3x3"},
    {&DitherButtons::ordered4x4,     DitherMethod::Ordered4x4,     "ditherButtons.ordered4x4",     "Ordered 4x4"},
    {&DitherButtons::ordered8x8,     DitherMethod::Ordered8x8,     "ditherButtons.ordered8x8",     "Ordered 8x8"},
    {&DitherButtons::floydSteinberg, DitherMethod::FloydSteinberg, "ditherButtons.floydSteinberg", "Floyd Steinberg"},
    {&DitherButtons::custom,         DitherMethod::Custom,         "ditherButtons.custom",         "Custom"},
    {&DitherButtons::kernel,         DitherMethod::Atkinson,       "ditherButtons.kernel",         ""},
    {&DitherButtons::random,         DitherMethod::Random,         "ditherButtons.random",         "Enable"},
};
// clang-format on

// The value of the selected button, or `fallback` when none is.
template <typename Buttons, typename Value, std::size_t N>
Value SelectedValue(const Buttons& buttons, const Choice<Buttons, Value> (&choices)[N],
                    Value fallback)
{
  for (const Choice<Buttons, Value>& choice : choices) {
    if ((buttons.*choice.button)->isChecked()) {
      return choice.value;
    }
  }
  return fallback;
}

// Selects the button of `value`, which deselects its neighbours.
template <typename Buttons, typename Value, std::size_t N>
void SelectValue(const Buttons& buttons, const Choice<Buttons, Value> (&choices)[N], Value value)
{
  for (const Choice<Buttons, Value>& choice : choices) {
    if (choice.value == value) {
      (buttons.*choice.button)->setChecked(true);
    }
  }
}

// The ordered methods and their balanced twins.
inline constexpr std::pair<DitherMethod, DitherMethod> BalancedOrdered[] = {
    {DitherMethod::Ordered2x2, DitherMethod::Ordered2x2Balanced},
    {DitherMethod::Ordered3x3, DitherMethod::Ordered3x3Balanced},
    {DitherMethod::Ordered4x4, DitherMethod::Ordered4x4Balanced},
    {DitherMethod::Ordered8x8, DitherMethod::Ordered8x8Balanced},
};

// The diffusion kernels of the list in "Diffusion", in its order.
inline constexpr std::pair<DitherMethod, const char*> KernelChoices[] = {
    {DitherMethod::Atkinson, "Atkinson"},
    {DitherMethod::SierraLite, "Sierra Lite"},
    {DitherMethod::JarvisJudiceNinke, "Jarvis-Judice-Ninke"},
    {DitherMethod::Stucki, "Stucki"},
};

// The method the dithering controls stand for: the selected button's, made
// balanced by "Balanced" or replaced by the listed kernel.
inline DitherMethod DitherMethodOfControls(DitherMethod button, bool balanced, int kernelIndex)
{
  for (const auto& [ordered, twin] : BalancedOrdered) {
    if (button == ordered && balanced) {
      return twin;
    }
  }
  if (button == KernelChoices[0].first && kernelIndex >= 0 &&
      kernelIndex < static_cast<int>(std::size(KernelChoices))) {
    return KernelChoices[kernelIndex].first;
  }
  return button;
}

// The button that shows `method`: its ordered twin's, or the kernel list's.
inline DitherMethod DitherButtonOf(DitherMethod method)
{
  for (const auto& [ordered, twin] : BalancedOrdered) {
    if (method == twin) {
      return ordered;
    }
  }
  for (const auto& [kernel, caption] : KernelChoices) {
    if (method == kernel) {
      return KernelChoices[0].first;
    }
  }
  return method;
}

inline bool IsBalancedOrdered(DitherMethod method)
{
  for (const auto& [ordered, twin] : BalancedOrdered) {
    if (method == twin) {
      return true;
    }
  }
  return false;
}

// Where `method` stands in the kernel list; -1 for a method not in it.
inline int KernelIndexOf(DitherMethod method)
{
  for (std::size_t i = 0; i < std::size(KernelChoices); ++i) {
    if (KernelChoices[i].first == method) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// A check box that stands for an on/off setting.
template <typename Owner>
struct Switch {
  QCheckBox* MainWindowControls::*box;
  bool Owner::*setting;
  const char* name;
  const char* caption;
};

// clang-format off
inline constexpr Switch<DitherSettings> DitherSwitches[] = {
    {&MainWindowControls::altYDitherBox,  &DitherSettings::altYDither,  "altYDitherBox",  "Alt Y Dither"},
    {&MainWindowControls::flipDitherBox,  &DitherSettings::flipDither,  "flipDitherBox",  "Flip dither"},
    {&MainWindowControls::serpentineBox,  &DitherSettings::serpentine,  "serpentineBox",  "Serpentine"},
    {&MainWindowControls::separateRgbBox, &DitherSettings::separateRgb, "separateRgbBox", "Separate RGB"},
};

// Each in a box of its own but the three of "Interlace settings" (the 4th to
// the 6th) and "Map colours into reach", which sits with the palette whose
// reach it is.
inline constexpr Switch<Settings> OptionSwitches[] = {
    {&MainWindowControls::fourColoursBox,     &Settings::fourColours,     "fourColoursBox",     "Activate"},
    {&MainWindowControls::sameBanksBox,       &Settings::sameBanks,       "sameBanksBox",       "Enabled"},
    {&MainWindowControls::extraBruteForceBox, &Settings::extraBruteForce, "extraBruteForceBox", "Activate"},
    {&MainWindowControls::alternateYBox,      &Settings::alternateY,      "alternateYBox",      "Alternate Y"},
    {&MainWindowControls::alternateXBox,      &Settings::alternateX,      "alternateXBox",      "Alternate X"},
    {&MainWindowControls::alternateX8Box,     &Settings::alternateX8,     "alternateX8Box",     "Alternate X8"},
    {&MainWindowControls::refineBox,          &Settings::refine,          "refineBox",          "Activate"},
    {&MainWindowControls::mapIntoReachBox,    &Settings::mapIntoReach,    "mapIntoReachBox",    "Map colours into reach"},
};
// clang-format on

// A number field with its spinner: the spinner steps within the range, the
// field takes what is typed.
struct SpinnerField {
  QLineEdit* MainWindowControls::*field;
  UpDown* MainWindowControls::*spinner;
  int DitherSettings::*setting;
  const char* fieldName;
  const char* spinnerName;
  const char* label;
  int minimum;
  int maximum;
};

// clang-format off
inline constexpr SpinnerField ValueAmpSpinner{
    &MainWindowControls::valueAmpField, &MainWindowControls::valueAmpSpinner, &DitherSettings::valueAmp,
    "valueAmpField", "valueAmpSpinner", "Value Amp", 1, 4};
inline constexpr SpinnerField StrengthSpinner{
    &MainWindowControls::strengthField, &MainWindowControls::strengthSpinner, &DitherSettings::strength,
    "strengthField", "strengthSpinner", "Strength", 0, 255};
// clang-format on

// A track bar of "Color Adjustment" with its field, from -limit to limit
// (the ranges of core/colour_adjustment.h).
struct AdjustmentRowInfo {
  AdjustmentRow AdjustmentRows::*row;
  int ColourAdjustment::*setting;
  const char* trackBarName;
  const char* fieldName;
  const char* tip;
  // Shown before the track bar; the colour offsets have none, their fields'
  // colours name them.
  const char* label;
  const char* labelName;
  // The colour offsets have fields in their colours (0: the usual field), and
  // any of their track bars rewrites all three fields.
  unsigned fieldColour;
  bool colourOffset;
};

// clang-format off
inline constexpr AdjustmentRowInfo AdjustmentTable[] = {
    {&AdjustmentRows::red,        &ColourAdjustment::red,        "adjustment.red.trackBar",        "adjustment.red.field",        "Red offset",         nullptr,      nullptr,                       0xFF6060, true},
    {&AdjustmentRows::green,      &ColourAdjustment::green,      "adjustment.green.trackBar",      "adjustment.green.field",      "Green offset",       nullptr,      nullptr,                       0x60D060, true},
    {&AdjustmentRows::blue,       &ColourAdjustment::blue,       "adjustment.blue.trackBar",       "adjustment.blue.field",       "Blue offset",        nullptr,      nullptr,                       0x7090FF, true},
    {&AdjustmentRows::brightness, &ColourAdjustment::brightness, "adjustment.brightness.trackBar", "adjustment.brightness.field", "Brightness",         "Brightness", "adjustment.brightness.label", 0,        false},
    {&AdjustmentRows::contrast,   &ColourAdjustment::contrast,   "adjustment.contrast.trackBar",   "adjustment.contrast.field",   "Contrast (percent)", "Contrast",   "adjustment.contrast.label",   0,        false},
};
// clang-format on

}  // namespace pavona
