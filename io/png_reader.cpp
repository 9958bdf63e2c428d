#include <png.h>

#include <csetjmp>
#include <vector>

#include "core/box_reduction.h"
#include "io/picture_readers.h"
#include "io/premultiplied.h"

namespace pavona {

namespace {

// Where libpng takes the file's bytes from. Checks of the stored chunk
// lengths against the file's size belong in ReadFromFile, which sees every
// read libpng makes.
struct PngSource {
  std::FILE* file;
};

// One decoding: libpng's state, the reason it gave up and where its warnings go.
struct PngDecoder {
  png_structp png = nullptr;
  png_infop info = nullptr;
  PngSource source;
  std::vector<std::string>* warnings = nullptr;
  std::string error;
  ~PngDecoder() { png_destroy_read_struct(&png, &info, nullptr); }
};

// What libpng hands over once its transformations are set: rows of red,
// green, blue and opacity, 8 or 16 bits each.
struct PngLayout {
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0;
  int passes = 1;
};

[[noreturn]] void FailDecoding(png_structp png, png_const_charp message)
{
  static_cast<PngDecoder*>(png_get_error_ptr(png))->error = message;
  png_longjmp(png, 1);
}

void PassWarningOn(png_structp png, png_const_charp message)
{
  // A damaged file can repeat the same complaint for every chunk.
  constexpr std::size_t MaxWarnings = 3;
  const PngDecoder& decoder = *static_cast<PngDecoder*>(png_get_error_ptr(png));
  if (decoder.warnings->size() < MaxWarnings) {
    decoder.warnings->push_back(message);
  }
}

void ReadFromFile(png_structp png, png_bytep data, png_size_t length)
{
  const PngSource& source = static_cast<PngDecoder*>(png_get_io_ptr(png))->source;
  if (std::fread(data, 1, length, source.file) != length) {
    png_error(png, std::ferror(source.file) ? "the file cannot be read" : FileEndsEarly);
  }
}

// Reads the header and sets libpng to deliver RGBA at the file's depth:
// palettes, grey levels below 8 bits and transparent colours are expanded,
// grey becomes RGB and an opaque file gets full opacity. Only libpng calls
// follow setjmp, so a longjmp skips no C++ destructor.
bool ReadHeader(PngDecoder& decoder, PngLayout& layout)
{
  png_structp png = decoder.png;
  png_infop info = decoder.info;
  if (setjmp(png_jmpbuf(png))) {
    return false;
  }
  png_set_read_fn(png, &decoder, ReadFromFile);
  // Accept files whose compressed data claims a smaller window than it uses;
  // pictures like that have always loaded.
  png_set_option(png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);
  png_read_info(png, info);
  int colourType = 0;
  png_get_IHDR(png, info, &layout.width, &layout.height, &layout.bitDepth, &colourType, nullptr,
               nullptr, nullptr);
  png_set_expand(png);
  png_set_gray_to_rgb(png);
  const png_uint_32 opaque = layout.bitDepth == 16 ? 0xFFFF : 0xFF;
  if (!(colourType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_add_alpha(png, opaque, PNG_FILLER_AFTER);
  }
  layout.passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  layout.bitDepth = png_get_bit_depth(png, info);
  return true;
}

std::uint32_t PixelFrom8Bits(const png_byte* p)
{
  return std::uint32_t(Premultiplied8(p[0], p[3])) << 16 |
         std::uint32_t(Premultiplied8(p[1], p[3])) << 8 | Premultiplied8(p[2], p[3]);
}

std::uint32_t PixelFrom16Bits(const png_byte* p)
{
  const auto channel = [p](int i) { return std::uint32_t(p[2 * i] << 8 | p[2 * i + 1]); };
  const std::uint32_t alpha = channel(3);
  const auto eightBits = [&](int i) {
    return std::uint32_t(EightBitsOf(Premultiplied16(channel(i), alpha)));
  };
  return eightBits(0) << 16 | eightBits(1) << 8 | eightBits(2);
}

// `count` pixels of libpng's RGBA output at `bitDepth` bits a channel.
void ConvertPixels(const png_byte* rgba, int bitDepth, std::uint32_t* pixels, std::size_t count)
{
  const std::size_t pixelBytes = 4 * (bitDepth / 8);
  for (std::size_t i = 0; i < count; ++i) {
    const png_byte* pixel = rgba + i * pixelBytes;
    pixels[i] = bitDepth == 16 ? PixelFrom16Bits(pixel) : PixelFrom8Bits(pixel);
  }
}

// Decodes the picture into `rgba` (rows of width x 4 channels at the layout's
// depth, big-endian at 16 bits) and reads the end of the file.
bool ReadRows(PngDecoder& decoder, const PngLayout& layout, std::vector<png_byte>& rgba)
{
  const std::size_t rowBytes = std::size_t(layout.width) * 4 * (layout.bitDepth / 8);
  if (setjmp(png_jmpbuf(decoder.png))) {
    return false;
  }
  for (int pass = 0; pass < layout.passes; ++pass) {
    for (png_uint_32 y = 0; y < layout.height; ++y) {
      png_read_row(decoder.png, rgba.data() + y * rowBytes, nullptr);
    }
  }
  png_read_end(decoder.png, nullptr);
  return true;
}

bool ReadRowsInto(PngDecoder& decoder, const PngLayout& layout, png_byte* rgba,
                  std::uint32_t* pixels, RowBoxReducer& reducer)
{
  if (setjmp(png_jmpbuf(decoder.png))) {
    return false;
  }
  for (png_uint_32 y = 0; y < layout.height; ++y) {
    png_read_row(decoder.png, rgba, nullptr);
    ConvertPixels(rgba, layout.bitDepth, pixels, layout.width);
    reducer.AddRow(pixels);
  }
  png_read_end(decoder.png, nullptr);
  return true;
}

// Decodes a picture stored without interlacing row by row into `reducer`,
// never holding more than a row. Besides libpng's calls only our own follow
// setjmp, and none of them is left holding anything when libpng gives up.
bool ReadRowsReduced(PngDecoder& decoder, const PngLayout& layout, RowBoxReducer& reducer)
{
  std::vector<png_byte> rgba(std::size_t(layout.width) * 4 * (layout.bitDepth / 8));
  std::vector<std::uint32_t> pixels(layout.width);
  return ReadRowsInto(decoder, layout, rgba.data(), pixels.data(), reducer);
}

bool ReadWhole(PngDecoder& decoder, const PngLayout& layout, LoadedPicture& picture)
{
  std::vector<png_byte> rgba(std::size_t(layout.width) * layout.height * 4 * (layout.bitDepth / 8));
  if (!ReadRows(decoder, layout, rgba)) {
    return false;
  }
  AllocatePicture(picture, int(layout.width), int(layout.height));
  ConvertPixels(rgba.data(), layout.bitDepth, picture.pixels.data(), picture.pixels.size());
  return true;
}

}  // namespace

std::string ReadPng(std::FILE* file, const DecodeSizeNeeded& needed, LoadedPicture& picture,
                    std::vector<std::string>& warnings)
{
  PngDecoder decoder;
  decoder.source = {file};
  decoder.warnings = &warnings;
  decoder.png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, &decoder, FailDecoding, PassWarningOn);
  if (decoder.png) {
    decoder.info = png_create_info_struct(decoder.png);
  }
  if (!decoder.info) {
    return "not enough memory to read the picture";
  }
  PngLayout layout;
  if (!ReadHeader(decoder, layout)) {
    return decoder.error;
  }
  if (std::string reason = CheckPictureSize(layout.width, layout.height); !reason.empty()) {
    return reason;
  }
  const int width = int(layout.width), height = int(layout.height);
  // An interlaced picture arrives in passes over the whole picture, so only
  // one stored row by row can be reduced as it is read.
  const int factor =
      needed && layout.passes == 1 ? WholeReductionFactor(width, height, needed(width, height)) : 1;
  if (factor == 1) {
    return ReadWhole(decoder, layout, picture) ? std::string() : decoder.error;
  }
  RowBoxReducer reducer(width, height, factor);
  if (!ReadRowsReduced(decoder, layout, reducer)) {
    return decoder.error;
  }
  picture = reducer.Finish();
  return {};
}

}  // namespace pavona
