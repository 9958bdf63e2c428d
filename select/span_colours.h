#pragma once

#include <array>
#include <cstdint>

namespace pavona {

// The distinct values among a span's 8 pixels, in order of first appearance,
// with how many pixels hold each: the searches sum a distance once per
// distinct value, weighted, rather than once per pixel.
struct SpanColours {
  int count = 0;
  std::array<std::uint32_t, 8> colour{};
  std::array<std::uint32_t, 8> pixels{};  // how many of the 8 pixels hold colour[i]
  std::array<int, 8> indexOf{};           // pixel k holds colour[indexOf[k]]
};

inline SpanColours GatherSpanColours(const std::uint32_t* span)
{
  SpanColours colours;
  for (int k = 0; k < 8; ++k) {
    int i = 0;
    while (i < colours.count && colours.colour[i] != span[k]) {
      ++i;
    }
    if (i == colours.count) {
      colours.colour[colours.count++] = span[k];
    }
    ++colours.pixels[i];
    colours.indexOf[k] = i;
  }
  return colours;
}

}  // namespace pavona
