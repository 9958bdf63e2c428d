#include "framing/picture_resample.h"

#include <algorithm>
#include <vector>

#include "framing/box_reduction.h"
#include "framing/linear_light.h"

// The one translation unit that holds stb_image_resize's implementation.
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace pavona {

namespace {

// The picture in linear light, 16 bits a channel (red, green, blue), each
// pixel the average of a boxWidth x boxHeight block (smaller at the right
// and bottom edges).
struct LinearPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> channels;
};

LinearPicture BoxReduced(const LoadedPicture& picture, int boxWidth, int boxHeight)
{
  LinearPicture reduced;
  reduced.width = (picture.width + boxWidth - 1) / boxWidth;
  reduced.height = (picture.height + boxHeight - 1) / boxHeight;
  reduced.channels.resize(std::size_t(reduced.width) * reduced.height * 3);
  std::vector<std::uint32_t> sums(std::size_t(reduced.width) * 3);
  for (int ry = 0; ry < reduced.height; ++ry) {
    std::fill(sums.begin(), sums.end(), 0);
    const int firstY = ry * boxHeight, endY = std::min(picture.height, firstY + boxHeight);
    for (int y = firstY; y < endY; ++y) {
      AddRowToBoxSums(picture.pixels.data() + std::size_t(y) * picture.width, picture.width,
                      boxWidth, sums.data());
    }
    std::uint16_t* out = reduced.channels.data() + std::size_t(ry) * reduced.width * 3;
    for (int rx = 0; rx < reduced.width; ++rx) {
      const int count =
          (std::min(picture.width, (rx + 1) * boxWidth) - rx * boxWidth) * (endY - firstY);
      for (int c = 0; c < 3; ++c) {
        out[rx * 3 + c] = std::uint16_t((sums[std::size_t(rx) * 3 + c] + count / 2) / count);
      }
    }
  }
  return reduced;
}

struct CoveredRegion {
  int firstX, firstY, width, height;  // the frame pixels written
  int left, top;                      // the scaled picture's corner in the frame
};

// Picture pixels are 0x00RRGGBB in four bytes; the zero byte is carried along
// as a fourth colour channel (it stays 0) rather than as alpha, which stbir
// would multiply the colours by.
void ResampleBytes(const LoadedPicture& picture, int scaledWidth, int scaledHeight,
                   const CoveredRegion& region, Picture& frame)
{
  std::vector<std::uint32_t> visible(std::size_t(region.width) * region.height);
  stbir_resize_subpixel(picture.pixels.data(), picture.width, picture.height, picture.width * 4,
                        visible.data(), region.width, region.height, region.width * 4,
                        STBIR_TYPE_UINT8, 4, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
                        STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_FILTER_DEFAULT,
                        STBIR_COLORSPACE_SRGB, nullptr, float(scaledWidth) / float(picture.width),
                        float(scaledHeight) / float(picture.height),
                        float(region.firstX - region.left), float(region.firstY - region.top));
  for (int y = 0; y < region.height; ++y) {
    const std::uint32_t* row = visible.data() + std::size_t(y) * region.width;
    for (int x = 0; x < region.width; ++x) {
      frame[PixelIndex(region.firstX + x, region.firstY + y)] = row[x] & 0xFFFFFF;
    }
  }
}

// The same from a box-reduced picture, whose pixel i covers picture pixels
// [i * box, (i + 1) * box).
void ResampleBoxReduced(const LoadedPicture& picture, int boxWidth, int boxHeight, int scaledWidth,
                        int scaledHeight, const CoveredRegion& region, Picture& frame)
{
  const LinearPicture reduced = BoxReduced(picture, boxWidth, boxHeight);
  std::vector<std::uint16_t> visible(std::size_t(region.width) * region.height * 3);
  stbir_resize_subpixel(
      reduced.channels.data(), reduced.width, reduced.height, reduced.width * 6, visible.data(),
      region.width, region.height, region.width * 6, STBIR_TYPE_UINT16, 3, STBIR_ALPHA_CHANNEL_NONE,
      0, STBIR_EDGE_CLAMP, STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_FILTER_DEFAULT,
      STBIR_COLORSPACE_LINEAR, nullptr, float(double(scaledWidth) * boxWidth / picture.width),
      float(double(scaledHeight) * boxHeight / picture.height), float(region.firstX - region.left),
      float(region.firstY - region.top));
  const auto& byteOf = ByteOfLinear();
  for (int y = 0; y < region.height; ++y) {
    const std::uint16_t* row = visible.data() + std::size_t(y) * region.width * 3;
    for (int x = 0; x < region.width; ++x) {
      frame[PixelIndex(region.firstX + x, region.firstY + y)] =
          MakeColour(byteOf[row[3 * x]], byteOf[row[3 * x + 1]], byteOf[row[3 * x + 2]]);
    }
  }
}

}  // namespace

void DrawResampledPicture(const LoadedPicture& picture, int scaledWidth, int scaledHeight, int left,
                          int top, Picture& frame, ResampleRoute route)
{
  if (picture.width <= 0 || picture.height <= 0 || scaledWidth <= 0 || scaledHeight <= 0 ||
      picture.pixels.size() < std::size_t(picture.width) * std::size_t(picture.height)) {
    return;
  }
  // The frame pixels the scaled picture covers, in 64 bits against far-out positions.
  const long long firstX = std::max(0LL, (long long)left);
  const long long endX = std::min((long long)PictureWidth, (long long)left + scaledWidth);
  const long long firstY = std::max(0LL, (long long)top);
  const long long endY = std::min((long long)PictureHeight, (long long)top + scaledHeight);
  if (firstX >= endX || firstY >= endY) {
    return;
  }
  const CoveredRegion region{int(firstX),        int(firstY), int(endX - firstX),
                             int(endY - firstY), left,        top};
  const int boxWidth = std::clamp(picture.width / (scaledWidth * FilterShare), 1, MaxBox);
  const int boxHeight = std::clamp(picture.height / (scaledHeight * FilterShare), 1, MaxBox);
  if (route == ResampleRoute::Direct || boxWidth * boxHeight == 1) {
    ResampleBytes(picture, scaledWidth, scaledHeight, region, frame);
    return;
  }
  ResampleBoxReduced(picture, boxWidth, boxHeight, scaledWidth, scaledHeight, region, frame);
}

}  // namespace pavona
