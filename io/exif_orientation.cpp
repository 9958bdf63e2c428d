#include "io/exif_orientation.h"

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

#include <cstring>
#include <memory>
#include <utility>

namespace pavona {

namespace {

struct ExifDataFree {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

// Where upright pixel (x, y) of an upright picture `width` x `height` is
// stored in the file's picture of storedWidth x storedHeight.
std::pair<int, int> StoredPosition(ExifOrientation orientation, int x, int y, int storedWidth,
                                   int storedHeight)
{
  switch (orientation) {
    case ExifOrientation::Upright:
      break;
    case ExifOrientation::Mirrored:
      return {storedWidth - 1 - x, y};
    case ExifOrientation::UpsideDown:
      return {storedWidth - 1 - x, storedHeight - 1 - y};
    case ExifOrientation::MirroredUpsideDown:
      return {x, storedHeight - 1 - y};
    case ExifOrientation::Transposed:
      return {y, x};
    case ExifOrientation::TurnedLeft:
      return {y, storedHeight - 1 - x};
    case ExifOrientation::Transversed:
      return {storedWidth - 1 - y, storedHeight - 1 - x};
    case ExifOrientation::TurnedRight:
      return {storedWidth - 1 - y, x};
  }
  return {x, y};
}

}  // namespace

ExifOrientation OrientationOfExifBlock(const std::uint8_t* block, std::size_t length)
{
  static const unsigned char header[6] = {'E', 'x', 'i', 'f', 0, 0};
  if (length < sizeof header || std::memcmp(block, header, sizeof header) != 0) {
    return ExifOrientation::Upright;
  }
  const std::unique_ptr<ExifData, ExifDataFree> data(
      exif_data_new_from_data(block, static_cast<unsigned int>(length)));
  if (!data) {
    return ExifOrientation::Upright;
  }
  ExifEntry* entry = exif_data_get_entry(data.get(), EXIF_TAG_ORIENTATION);
  if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 ||
      entry->size < 2) {
    return ExifOrientation::Upright;
  }
  const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
  return value >= 1 && value <= 8 ? ExifOrientation(value) : ExifOrientation::Upright;
}

bool SwapsSides(ExifOrientation orientation)
{
  return int(orientation) >= int(ExifOrientation::Transposed);
}

void TurnUpright(LoadedPicture& picture, ExifOrientation orientation)
{
  if (orientation == ExifOrientation::Upright) {
    return;
  }
  const int storedWidth = picture.width, storedHeight = picture.height;
  const bool swaps = SwapsSides(orientation);
  LoadedPicture upright;
  upright.width = swaps ? storedHeight : storedWidth;
  upright.height = swaps ? storedWidth : storedHeight;
  upright.fileWidth = swaps ? picture.fileHeight : picture.fileWidth;
  upright.fileHeight = swaps ? picture.fileWidth : picture.fileHeight;
  upright.pixels.resize(picture.pixels.size());
  for (int y = 0; y < upright.height; ++y) {
    std::uint32_t* out = upright.pixels.data() + std::size_t(y) * upright.width;
    for (int x = 0; x < upright.width; ++x) {
      const auto [storedX, storedY] = StoredPosition(orientation, x, y, storedWidth, storedHeight);
      out[x] = picture.pixels[std::size_t(storedY) * storedWidth + storedX];
    }
  }
  picture = std::move(upright);
}

}  // namespace pavona
