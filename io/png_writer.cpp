#include "io/png_writer.h"

#include <png.h>

#include <array>
#include <string>

namespace pavona {

namespace {

// The files carry a physical size of 100 dots per inch (3937 dots a metre),
// the resolution the earlier versions of the program wrote, so that a file
// written now shows at the size it always had.
constexpr png_uint_32 DotsPerMetre = 3937;

struct PngEncoder {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<std::uint8_t> bytes;
  std::string error;
  ~PngEncoder() { png_destroy_write_struct(&png, &info); }
};

[[noreturn]] void FailEncoding(png_structp png, png_const_charp message)
{
  static_cast<PngEncoder*>(png_get_error_ptr(png))->error = message;
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
  auto& bytes = static_cast<PngEncoder*>(png_get_io_ptr(png))->bytes;
  bytes.insert(bytes.end(), data, data + length);
}

void FlushNothing(png_structp) {}

// Whether the picture has at most 256 colours, as every converted picture
// has (136 mixes at most): a set of the colours seen, given up at the 257th.
bool HasFewColours(const Picture& picture)
{
  constexpr int Few = 256;
  constexpr std::uint32_t Empty = 0xFFFFFFFF;  // no 0x00RRGGBB colour
  std::array<std::uint32_t, 4 * Few> seen;     // never more than a quarter full
  seen.fill(Empty);
  int count = 0;
  for (const std::uint32_t colour : picture) {
    std::size_t at = (colour * 2654435761u) >> 22;
    while (seen[at] != Empty && seen[at] != colour) {
      at = (at + 1) % seen.size();
    }
    if (seen[at] == Empty) {
      if (++count > Few) {
        return false;
      }
      seen[at] = colour;
    }
  }
  return true;
}

// zlib's deflate takes most of the time of a file. Chosen by measuring the
// pictures the program writes (bench/png_encode_bench.cpp): a picture of few
// colours repeats itself along the rows, which the row filters only hide, and
// compresses smallest unfiltered at level 4 (a converted photo: a third
// smaller than with libpng's defaults, in a third of the time); a photo
// needs a filter, and the left neighbour (Sub) at level 3 comes within 13 %
// of the defaults' size in a quarter of their time.
void ChooseCompression(png_structp png, bool fewColours)
{
  if (fewColours) {
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 4);
  } else {
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 3);
  }
}

// Only libpng calls between setjmp and the end: a longjmp from libpng's error
// handler must not skip a C++ destructor. `rows` holds the 24-bit rows.
bool WriteRows(PngEncoder& encoder, const std::vector<png_bytep>& rows, bool fewColours)
{
  if (setjmp(png_jmpbuf(encoder.png))) {
    return false;
  }
  png_set_write_fn(encoder.png, &encoder, AppendBytes, FlushNothing);
  ChooseCompression(encoder.png, fewColours);
  png_set_IHDR(encoder.png, encoder.info, PictureWidth, PictureHeight, 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(encoder.png, encoder.info, DotsPerMetre, DotsPerMetre, PNG_RESOLUTION_METER);
  png_write_info(encoder.png, encoder.info);
  png_write_rows(encoder.png, const_cast<png_bytepp>(rows.data()), png_uint_32(rows.size()));
  png_write_end(encoder.png, encoder.info);
  return true;
}

}  // namespace

PngBytesResult EncodePng(const Picture& picture)
{
  std::vector<std::uint8_t> rgb(std::size_t(PixelCount) * 3);
  for (int i = 0; i < PixelCount; ++i) {
    rgb[3 * i] = std::uint8_t(picture[i] >> 16);
    rgb[3 * i + 1] = std::uint8_t(picture[i] >> 8);
    rgb[3 * i + 2] = std::uint8_t(picture[i]);
  }
  std::vector<png_bytep> rows(PictureHeight);
  for (int y = 0; y < PictureHeight; ++y) {
    rows[y] = rgb.data() + std::size_t(y) * PictureWidth * 3;
  }
  PngEncoder encoder;
  encoder.png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &encoder, FailEncoding, IgnoreWarning);
  if (encoder.png) {
    encoder.info = png_create_info_struct(encoder.png);
  }
  PngBytesResult result;
  if (!encoder.info) {
    result.error = "cannot encode a PNG file: not enough memory";
    return result;
  }
  if (!WriteRows(encoder, rows, HasFewColours(picture))) {
    result.error = "cannot encode a PNG file: " + encoder.error;
    return result;
  }
  result.bytes = std::move(encoder.bytes);
  return result;
}

}  // namespace pavona
