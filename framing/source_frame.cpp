#include "framing/source_frame.h"

#include <algorithm>

namespace pavona {

Picture FrameFromPicture(const LoadedPicture& picture, int left, int top)
{
  Picture frame;
  FrameFromPicture(picture, left, top, frame);
  return frame;
}

void FrameFromPicture(const LoadedPicture& picture, int left, int top, Picture& frame)
{
  const long long width = picture.width;
  const long long height = picture.height;
  const bool whole =
      width > 0 && height > 0 && picture.pixels.size() >= std::size_t(width * height);
  // Black where the picture does not reach; a frame it covers is written once.
  if (!whole || left > 0 || top > 0 || left + width < PictureWidth ||
      top + height < PictureHeight) {
    frame.fill(0);
  }
  if (!whole) {
    return;
  }
  // Frame columns [firstX, endX) and rows [firstY, endY) show picture pixels;
  // worked out in 64 bits so that far-out positions cannot overflow.
  const long long firstX = std::max(0LL, static_cast<long long>(left));
  const long long endX = std::min(static_cast<long long>(PictureWidth), left + width);
  const long long firstY = std::max(0LL, static_cast<long long>(top));
  const long long endY = std::min(static_cast<long long>(PictureHeight), top + height);
  for (long long y = firstY; y < endY; ++y) {
    const long long rowStart = (y - top) * width - left;
    for (long long x = firstX; x < endX; ++x) {
      frame[PixelIndex(int(x), int(y))] = picture.pixels[std::size_t(rowStart + x)] & 0xFFFFFF;
    }
  }
}

SourceScrollRanges ScrollRangesForPicture(int width, int height)
{
  SourceScrollRanges ranges;
  ranges.horizontal.minimum = width >= PictureWidth ? PictureWidth - width : 0;
  ranges.vertical.minimum = height >= PictureHeight ? PictureHeight - height : 0;
  return ranges;
}

}  // namespace pavona
