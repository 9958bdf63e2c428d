#include "core/picture_resample.h"

#include <algorithm>
#include <vector>

// The one translation unit that holds stb_image_resize's implementation.
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace pavona {

void DrawResampledPicture(const LoadedPicture& picture, int scaledWidth, int scaledHeight, int left,
                          int top, Picture& frame)
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
  const int width = int(endX - firstX);
  const int height = int(endY - firstY);
  std::vector<std::uint32_t> visible(std::size_t(width) * std::size_t(height));
  // Each 0x00RRGGBB pixel is four bytes; the zero byte is carried along as a
  // fourth colour channel (it stays 0) rather than as alpha, which stbir would
  // multiply the colours by.
  stbir_resize_subpixel(
      picture.pixels.data(), picture.width, picture.height, picture.width * 4, visible.data(),
      width, height, width * 4, STBIR_TYPE_UINT8, 4, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
      STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_SRGB, nullptr,
      float(scaledWidth) / float(picture.width), float(scaledHeight) / float(picture.height),
      float(firstX - left), float(firstY - top));
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = visible.data() + std::size_t(y) * width;
    for (int x = 0; x < width; ++x) {
      frame[PixelIndex(int(firstX) + x, int(firstY) + y)] = row[x] & 0xFFFFFF;
    }
  }
}

}  // namespace pavona
