#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace pavona {

constexpr int PictureWidth = 320;
constexpr int PictureHeight = 200;
constexpr int PixelCount = PictureWidth * PictureHeight;

// A 320 x 200 frame, row-major, pixel (x, y) at y * 320 + x, 0x00RRGGBB.
using Picture = std::array<std::uint32_t, PixelCount>;

// A picture read from a file, 0x00RRGGBB. A reader may decode a large
// picture at a reduced size when only a scaled-down view of it is needed;
// fileWidth x fileHeight is then its size in the file (upright), so that a
// zoom in percent means the same whatever size was decoded. 0 means the
// picture was decoded at its file size.
struct LoadedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // row-major, width * height
  int fileWidth = 0;
  int fileHeight = 0;
};

// A width and height in pixels, such as the size a picture should be decoded at.
struct PictureSize {
  int width = 0;
  int height = 0;
};

// A rectangle of the 320 x 200 frame, such as the part of it a graphic mode
// shows on the C64's screen.
struct FrameArea {
  int left = 0;
  int top = 0;
  int width = PictureWidth;
  int height = PictureHeight;
  friend bool operator==(const FrameArea&, const FrameArea&) = default;
};

constexpr int PixelIndex(int x, int y)
{
  return y * PictureWidth + x;
}

constexpr int RedOf(std::uint32_t colour)
{
  return (colour >> 16) & 0xFF;
}
constexpr int GreenOf(std::uint32_t colour)
{
  return (colour >> 8) & 0xFF;
}
constexpr int BlueOf(std::uint32_t colour)
{
  return colour & 0xFF;
}
constexpr std::uint32_t MakeColour(int red, int green, int blue)
{
  return (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | std::uint32_t(blue);
}

// The adjusted picture as three byte planes. Each plane is 65536 bytes although
// only 64000 hold pixels: error diffusion addresses neighbours without edge
// tests, and the spare tail takes what falls below the last row.
constexpr int PlaneSize = 65536;
struct AdjustedPlanes {
  std::array<std::uint8_t, PlaneSize> red{};
  std::array<std::uint8_t, PlaneSize> green{};
  std::array<std::uint8_t, PlaneSize> blue{};
};

// R << 16 | G << 8 | B of the pixel at plane offset y * 320 + x.
inline std::uint32_t ReadAdjustedPixel(const AdjustedPlanes& planes, int x, int y)
{
  const int offset = PixelIndex(x, y);
  return MakeColour(planes.red[offset], planes.green[offset], planes.blue[offset]);
}

inline void StoreAdjustedPixel(AdjustedPlanes& planes, int x, int y, std::uint32_t colour)
{
  const int offset = PixelIndex(x, y);
  planes.red[offset] = std::uint8_t(RedOf(colour));
  planes.green[offset] = std::uint8_t(GreenOf(colour));
  planes.blue[offset] = std::uint8_t(BlueOf(colour));
}

}  // namespace pavona
