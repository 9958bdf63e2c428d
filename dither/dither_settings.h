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
