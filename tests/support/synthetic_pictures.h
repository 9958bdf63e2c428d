#pragma once

#include <cstdint>

#include "colour/picture.h"

namespace pavona::testing {

// Every pixel an unrelated colour: a resampler or reducer that mixes up
// positions, channels or weights shows at once.
inline LoadedPicture NoisePicture(int width, int height, std::uint32_t seed = 7)
{
  LoadedPicture picture{width, height, {}};
  for (int i = 0; i < width * height; ++i) {
    seed = seed * 1664525u + 1013904223u;
    picture.pixels.push_back(seed >> 8);
  }
  return picture;
}

// The finest detail there is: black and white alternating both ways, which
// a proper reduction turns into an even grey.
inline LoadedPicture CheckerboardPicture(int width, int height)
{
  LoadedPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.pixels.push_back((x + y) % 2 ? 0xFFFFFF : 0);
    }
  }
  return picture;
}

}  // namespace pavona::testing
