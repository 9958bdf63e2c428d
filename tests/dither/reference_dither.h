#pragma once

#include <algorithm>
#include <vector>

#include "colour/colour_match.h"
#include "colour/picture.h"
#include "dither/dither_settings.h"

namespace pavona::testing {

// Every dithering method written out plainly, pixel by pixel, with the plain
// MatchColour: the yardstick for the fast stage.
class ReferenceDither {
 public:
  ReferenceDither(AdjustedPlanes& planes, const MixTable& table, Measure measure, GraphicMode mode)
      : planes_(planes), table_(table), measure_(measure), mode_(mode)
  {
  }

  void Run(const DitherSettings& settings, std::uint32_t& randomState)
  {
    const bool serpentine = settings.serpentine;
    switch (settings.method) {
      case DitherMethod::None:
        for (int y = 0; y < 200; ++y) {
          for (int x = 0; x < 320; ++x) {
            Replace(x, y);
          }
        }
        return;
      case DitherMethod::FloydSteinberg:
        for (int y = 0; y < 200; ++y) {
          Row(y, serpentine && y % 2 == 1 ? FloydSteinbergLeft() : FloydSteinbergRight(),
              serpentine && y % 2 == 1);
        }
        return;
      case DitherMethod::Custom:
        for (int y = 0; y < 200; ++y) {
          if (!serpentine) {
            Row(y, CustomRight(), false);
          } else if (y % 2 == 0) {
            Row(y, FloydSteinbergRight(), false);
          } else {
            Row(y, CustomLeft(), true);
          }
        }
        if (serpentine) {
          Run(DitherSettings{.method = DitherMethod::None}, randomState);
        }
        return;
      case DitherMethod::Random:
        for (int y = 0; y < 200; ++y) {
          for (int x = 0; x < 320; ++x) {
            RandomPixel(x, y, settings, randomState);
          }
        }
        return;
      default:
        for (int y = 0; y < 200; ++y) {
          for (int x = 0; x < 320; ++x) {
            OrderedPixel(x, y, settings);
          }
        }
        return;
    }
  }

 private:
  struct Tap {
    int dx, dy, weight;
    bool redOnly, othersOnly;
  };
  struct Kernel {
    int divisor;
    std::vector<Tap> taps;
  };

  static Kernel FloydSteinbergRight()
  {
    return {16,
            {{1, 0, 7, false, false},
             {-1, 1, 3, false, false},
             {0, 1, 5, false, false},
             {1, 1, 1, false, false}}};
  }
  static Kernel FloydSteinbergLeft()
  {
    return {16,
            {{-1, 0, 7, false, false},
             {1, 1, 3, false, false},
             {0, 1, 5, false, false},
             {-1, 1, 1, false, false}}};
  }
  static Kernel CustomRight()
  {
    return {4,
            {{2, 0, 2, true, false},
             {1, 0, 2, false, true},
             {0, 1, 1, false, false},
             {-1, 1, 1, false, false}}};
  }
  static Kernel CustomLeft()
  {
    return {4,
            {{-2, 0, 2, true, false},
             {-1, 0, 2, false, true},
             {0, 1, 1, false, false},
             {1, 1, 1, false, false}}};
  }

  std::uint8_t& Byte(int channel, int offset)
  {
    auto& plane = channel == 0 ? planes_.red : channel == 1 ? planes_.green : planes_.blue;
    return plane.at(offset);
  }

  std::uint32_t Nearest(std::uint32_t colour)
  {
    return MatchColour(colour, table_, measure_, mode_);
  }

  void Replace(int x, int y)
  {
    StoreAdjustedPixel(planes_, x, y, Nearest(ReadAdjustedPixel(planes_, x, y)));
  }

  // A right-to-left row stops diffusing before column 0, which only takes
  // its nearest colour.
  void Row(int y, const Kernel& kernel, bool leftward)
  {
    for (int i = 0; i < 320; ++i) {
      const int x = leftward ? 319 - i : i;
      if (leftward && x == 0) {
        Replace(x, y);
        continue;
      }
      const std::uint32_t old = ReadAdjustedPixel(planes_, x, y);
      const std::uint32_t mix = Nearest(old);
      StoreAdjustedPixel(planes_, x, y, mix);
      const int error[3] = {RedOf(old) - RedOf(mix), GreenOf(old) - GreenOf(mix),
                            BlueOf(old) - BlueOf(mix)};
      for (const Tap& tap : kernel.taps) {
        for (int channel = 0; channel < 3; ++channel) {
          if ((tap.redOnly && channel != 0) || (tap.othersOnly && channel == 0)) {
            continue;
          }
          std::uint8_t& byte = Byte(channel, y * 320 + x + tap.dx + 320 * tap.dy);
          byte = std::uint8_t(
              std::clamp(byte + tap.weight * (error[channel] / kernel.divisor), 0, 255));
        }
      }
    }
  }

  void OrderedPixel(int x, int y, const DitherSettings& settings)
  {
    static const int m2[2][2] = {{1, 3}, {4, 2}};
    static const int m3[3][3] = {{9, 7, 8}, {6, 1, 2}, {5, 4, 3}};
    static const int m4[4][4] = {{1, 9, 3, 11}, {13, 5, 15, 7}, {4, 12, 2, 10}, {16, 8, 14, 6}};
    static const int m8[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
        {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
        {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
    };
    const int u = settings.flipDither ? y : x;
    const int v = settings.flipDither ? x : y;
    int t;
    switch (settings.method) {
      case DitherMethod::Ordered2x2:
        t = m2[u % 2][v % 2];
        break;
      case DitherMethod::Ordered3x3:
        t = m3[u % 3][v % 3];
        break;
      case DitherMethod::Ordered4x4:
        t = m4[u % 4][v % 4];
        break;
      default:
        t = m8[u % 8][v % 8];
        break;
    }
    const int d = t * (1 << (std::clamp(settings.valueAmp, 1, 4) - 1));
    const std::uint32_t colour = ReadAdjustedPixel(planes_, x, y);
    int channels[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    for (int& c : channels) {
      c = settings.altYDither && v % 2 == 0 ? std::min(c + d, 255) : std::max(c - d, 0);
    }
    StoreAdjustedPixel(planes_, x, y, Nearest(MakeColour(channels[0], channels[1], channels[2])));
  }

  void RandomPixel(int x, int y, const DitherSettings& settings, std::uint32_t& state)
  {
    auto draw = [&] {
      state = state * 22695477u + 1u;
      const int r = int((state >> 16) & 0x7FFF);
      return settings.strength > 0 ? r % settings.strength : 0;
    };
    const std::uint32_t colour = ReadAdjustedPixel(planes_, x, y);
    int channels[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    const int shared = settings.separateRgb ? 0 : draw();
    for (int& c : channels) {
      c = std::min(c + (settings.separateRgb ? draw() : shared), 255);
    }
    StoreAdjustedPixel(planes_, x, y, Nearest(MakeColour(channels[0], channels[1], channels[2])));
  }

  AdjustedPlanes& planes_;
  const MixTable& table_;
  Measure measure_;
  GraphicMode mode_;
};

}  // namespace pavona::testing
