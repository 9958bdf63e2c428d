#pragma once

namespace pavona {

enum class DitherMethod {
  None,
  Ordered2x2,
  Ordered3x3,
  Ordered4x4,
  Ordered8x8,
  FloydSteinberg,
  Custom,
  Random,
  // Added later, so the numbers above stay: ordered thresholds centred on
  // zero and scaled to the palette's gaps, and four more diffusion kernels.
  Ordered2x2Balanced,
  Ordered3x3Balanced,
  Ordered4x4Balanced,
  Ordered8x8Balanced,
  Atkinson,
  SierraLite,
  JarvisJudiceNinke,
  Stucki,
};

// The controls of the "Dithering" group. "Value Amp" and "Strength" are the
// numbers typed into their fields (text that is no number counts as 0), so
// they may lie outside the spinners' ranges.
struct DitherSettings {
  DitherMethod method = DitherMethod::Custom;
  bool serpentine = true;
  int valueAmp = 2;
  bool altYDither = false;
  bool flipDither = false;
  int strength = 45;
  bool separateRgb = true;
  friend bool operator==(const DitherSettings&, const DitherSettings&) = default;
};

}  // namespace pavona
