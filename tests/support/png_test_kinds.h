#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support/png_test_file.h"

namespace pavona::testing {

struct PngKind {
  std::string name;
  PngTestPicture picture;
};

inline const png_color_16 GreyKey8 = {0, 0, 0, 0, 77};
inline const png_color_16 GreyKey16 = {0, 0, 0, 0, 40000};
inline const png_color_16 GreyKey2 = {0, 0, 0, 0, 2};
inline const png_color_16 RgbKey8 = {0, 10, 20, 30, 0};
inline const png_color_16 RgbKey16 = {0, 1000, 2000, 3000, 0};

// Every colour type at every depth PNG allows, with and without a transparent
// colour, two of them interlaced. The samples are random but fixed; a few
// pixels are set to the transparent colour.
inline std::vector<PngKind> EveryPngKind(int width = 37, int height = 23)
{
  struct Design {
    const char* name;
    int colourType, bitDepth;
    const png_color_16* key = nullptr;
    bool paletteAlpha = false;
    bool interlaced = false;
  };
  // clang-format off
  const Design designs[] = {
      {"grey 1", PNG_COLOR_TYPE_GRAY, 1},         {"grey 2 key", PNG_COLOR_TYPE_GRAY, 2, &GreyKey2},
      {"grey 4", PNG_COLOR_TYPE_GRAY, 4},         {"grey 8", PNG_COLOR_TYPE_GRAY, 8},
      {"grey 8 key", PNG_COLOR_TYPE_GRAY, 8, &GreyKey8},
      {"grey 16", PNG_COLOR_TYPE_GRAY, 16},       {"grey 16 key", PNG_COLOR_TYPE_GRAY, 16, &GreyKey16},
      {"grey alpha 8", PNG_COLOR_TYPE_GRAY_ALPHA, 8}, {"grey alpha 16", PNG_COLOR_TYPE_GRAY_ALPHA, 16},
      {"rgb 8", PNG_COLOR_TYPE_RGB, 8},           {"rgb 8 key", PNG_COLOR_TYPE_RGB, 8, &RgbKey8},
      {"rgb 16", PNG_COLOR_TYPE_RGB, 16},         {"rgb 16 key", PNG_COLOR_TYPE_RGB, 16, &RgbKey16},
      {"rgba 8", PNG_COLOR_TYPE_RGBA, 8},         {"rgba 16", PNG_COLOR_TYPE_RGBA, 16},
      {"palette 1", PNG_COLOR_TYPE_PALETTE, 1},   {"palette 2 alpha", PNG_COLOR_TYPE_PALETTE, 2, nullptr, true},
      {"palette 4", PNG_COLOR_TYPE_PALETTE, 4},   {"palette 8", PNG_COLOR_TYPE_PALETTE, 8},
      {"palette 8 alpha", PNG_COLOR_TYPE_PALETTE, 8, nullptr, true},
      {"interlaced rgba 16", PNG_COLOR_TYPE_RGBA, 16, nullptr, false, true},
      {"interlaced palette 4 alpha", PNG_COLOR_TYPE_PALETTE, 4, nullptr, true, true},
  };
  // clang-format on
  std::mt19937 random(20261209);
  std::vector<PngKind> kinds;
  for (const Design& design : designs) {
    PngTestPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bitDepth = design.bitDepth;
    picture.colourType = design.colourType;
    picture.interlaced = design.interlaced;
    picture.transparent = design.key;
    const int channels = ChannelsOf(design.colourType);
    const std::uint32_t top = (1u << design.bitDepth) - 1;
    if (design.colourType == PNG_COLOR_TYPE_PALETTE) {
      for (std::uint32_t i = 0; i <= top; ++i) {
        picture.palette.push_back({png_byte(random()), png_byte(random()), png_byte(random())});
        // A short alpha table: the entries after it are opaque.
        if (design.paletteAlpha && i < (top + 1) * 3 / 4) {
          picture.paletteAlpha.push_back(png_byte(i == 0 ? 0 : random()));
        }
      }
    }
    for (int i = 0; i < width * height * channels; ++i) {
      picture.samples.push_back(std::uint16_t(random() & top));
    }
    if (design.key) {
      for (int pixel = 0; pixel < width * height; pixel += 7) {
        if (channels == 1) {
          picture.samples[pixel] = design.key->gray;
        } else {
          picture.samples[3 * pixel] = design.key->red;
          picture.samples[3 * pixel + 1] = design.key->green;
          picture.samples[3 * pixel + 2] = design.key->blue;
        }
      }
    }
    kinds.push_back({design.name, picture});
  }
  return kinds;
}

// What a pixel of such a picture must load as, in plain arithmetic: the
// channels scaled to 0..1, multiplied by the opacity and rounded to 8 bits,
// 16-bit channels first rounded to 16 bits as a 16-bit picture holds them.
inline std::uint32_t ExpectedPixel(const PngTestPicture& picture, int x, int y)
{
  const int channels = ChannelsOf(picture.colourType);
  const std::uint16_t* s = picture.samples.data() + (std::size_t(y) * picture.width + x) * channels;
  double top = (1 << picture.bitDepth) - 1;
  double r, g, b, a = top;
  if (picture.colourType == PNG_COLOR_TYPE_PALETTE) {
    const png_color colour = picture.palette[s[0]];
    r = colour.red, g = colour.green, b = colour.blue;
    a = s[0] < picture.paletteAlpha.size() ? picture.paletteAlpha[s[0]] : 255;
    top = 255;
  } else if (channels <= 2) {
    r = g = b = s[0];
    a = channels == 2 ? s[1] : picture.transparent && s[0] == picture.transparent->gray ? 0 : top;
  } else {
    r = s[0], g = s[1], b = s[2];
    const png_color_16* key = picture.transparent;
    a = channels == 4 ? s[3] : key && r == key->red && g == key->green && b == key->blue ? 0 : top;
  }
  const auto eightBits = [&](double channel) {
    if (picture.bitDepth == 16) {
      return std::uint32_t(std::lround(std::round(channel * a / top) / 257.0));
    }
    return std::uint32_t(std::lround(channel * 255.0 / top * a / top));
  };
  return eightBits(r) << 16 | eightBits(g) << 8 | eightBits(b);
}

}  // namespace pavona::testing
