#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "framing/box_reduction.h"
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

// What libpng hands over once its transformations are set. At 8 bits a
// channel a pixel is the four bytes blue, green, red, opacity, which on this
// little-endian machine read as one 0xAARRGGBB word: an opaque picture gets
// opacity 0 and so arrives as the picture's own 0x00RRGGBB pixels. At 16
// bits it is red, green, blue, opacity, big-endian.
struct PngLayout {
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0;
  int passes = 1;
  bool opaque = false;  // no opacity channel and no transparent colour
};

static_assert(std::endian::native == std::endian::little,
              "8-bit PNG pixels are decoded straight into 0x00RRGGBB words");

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

// Reads the header and sets libpng to deliver the layout above at the file's
// depth: palettes, grey levels below 8 bits and transparent colours are
// expanded and grey becomes RGB. Only libpng calls follow setjmp, so a
// longjmp skips no C++ destructor.
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
  const bool sixteen = layout.bitDepth == 16;
  if (!sixteen) {
    png_set_bgr(png);
  }
  layout.opaque = !(colourType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS);
  if (layout.opaque) {
    png_set_add_alpha(png, sixteen ? 0xFFFF : 0, PNG_FILLER_AFTER);
  }
  layout.passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  layout.bitDepth = png_get_bit_depth(png, info);
  return true;
}

// Blue, green, red and opacity bytes, shown over black.
std::uint32_t PixelFromBgra8(const png_byte* p)
{
  return std::uint32_t(Premultiplied8(p[2], p[3])) << 16 |
         std::uint32_t(Premultiplied8(p[1], p[3])) << 8 | Premultiplied8(p[0], p[3]);
}

std::uint32_t PixelFromRgba16(const png_byte* p)
{
  const auto channel = [p](int i) { return std::uint32_t(p[2 * i] << 8 | p[2 * i + 1]); };
  const std::uint32_t alpha = channel(3);
  const auto eightBits = [&](int i) {
    return std::uint32_t(EightBitsOf(Premultiplied16(channel(i), alpha)));
  };
  return eightBits(0) << 16 | eightBits(1) << 8 | eightBits(2);
}

// Turns `count` pixels decoded at 8 bits in place into the picture's pixels.
void ShowOverBlack(const PngLayout& layout, std::uint32_t* pixels, std::size_t count)
{
  if (layout.opaque) {
    return;  // already 0x00RRGGBB
  }
  for (std::size_t i = 0; i < count; ++i) {
    png_byte bgra[4];
    std::memcpy(bgra, &pixels[i], 4);
    pixels[i] = PixelFromBgra8(bgra);
  }
}

// `count` pixels decoded at 16 bits.
void ConvertRgba16(const png_byte* rgba, std::uint32_t* pixels, std::size_t count)
{
  for (std::size_t i = 0; i < count; ++i) {
    pixels[i] = PixelFromRgba16(rgba + i * 8);
  }
}

std::size_t RowBytes(const PngLayout& layout)
{
  return std::size_t(layout.width) * 4 * (layout.bitDepth / 8);
}

// Decodes every pass of the picture into `rows` (height rows of RowBytes
// each) and reads the end of the file.
bool ReadRows(PngDecoder& decoder, const PngLayout& layout, png_byte* rows)
{
  const std::size_t rowBytes = RowBytes(layout);
  if (setjmp(png_jmpbuf(decoder.png))) {
    return false;
  }
  for (int pass = 0; pass < layout.passes; ++pass) {
    for (png_uint_32 y = 0; y < layout.height; ++y) {
      png_read_row(decoder.png, rows + y * rowBytes, nullptr);
    }
  }
  png_read_end(decoder.png, nullptr);
  return true;
}

// At 8 bits the rows are decoded straight into the picture; 16-bit ones go
// through a buffer of their own.
bool ReadWhole(PngDecoder& decoder, const PngLayout& layout, LoadedPicture& picture)
{
  const std::size_t count = std::size_t(layout.width) * layout.height;
  if (layout.bitDepth == 8) {
    AllocatePicture(picture, int(layout.width), int(layout.height));
    if (!ReadRows(decoder, layout, reinterpret_cast<png_byte*>(picture.pixels.data()))) {
      return false;
    }
    ShowOverBlack(layout, picture.pixels.data(), count);
    return true;
  }
  std::vector<png_byte> rgba(count * 8);
  if (!ReadRows(decoder, layout, rgba.data())) {
    return false;
  }
  AllocatePicture(picture, int(layout.width), int(layout.height));
  ConvertRgba16(rgba.data(), picture.pixels.data(), count);
  return true;
}

// Decodes a picture stored without interlacing row by row into `reducer`,
// through `decoded` (a row as libpng delivers it) and `pixels` (the row as
// the picture's pixels, which at 8 bits is the same memory). Besides
// libpng's calls only our own follow setjmp, and none of them is left
// holding anything when libpng gives up.
bool ReadRowsInto(PngDecoder& decoder, const PngLayout& layout, png_byte* decoded,
                  std::uint32_t* pixels, RowBoxReducer& reducer)
{
  if (setjmp(png_jmpbuf(decoder.png))) {
    return false;
  }
  for (png_uint_32 y = 0; y < layout.height; ++y) {
    png_read_row(decoder.png, decoded, nullptr);
    if (layout.bitDepth == 8) {
      ShowOverBlack(layout, pixels, layout.width);
    } else {
      ConvertRgba16(decoded, pixels, layout.width);
    }
    reducer.AddRow(pixels);
  }
  png_read_end(decoder.png, nullptr);
  return true;
}

bool ReadReduced(PngDecoder& decoder, const PngLayout& layout, RowBoxReducer& reducer)
{
  std::vector<std::uint32_t> pixels(layout.width);
  std::vector<png_byte> sixteenBitRow(layout.bitDepth == 16 ? RowBytes(layout) : 0);
  png_byte* decoded =
      layout.bitDepth == 16 ? sixteenBitRow.data() : reinterpret_cast<png_byte*>(pixels.data());
  return ReadRowsInto(decoder, layout, decoded, pixels.data(), reducer);
}

}  // namespace

std::string ReadPng(std::FILE* file, const DecodeSizeNeeded& needed, PictureFileResult& result)
{
  LoadedPicture& picture = result.picture;
  PngDecoder decoder;
  decoder.source = {file};
  decoder.warnings = &result.warnings;
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
  const DecodeReduction::Kind kind =
      layout.passes == 1 ? DecodeReduction::Kind::PngBoxes : DecodeReduction::Kind::Never;
  result.reduction = ReductionFor(kind, width, height, needed);
  const int factor = result.reduction.step;
  if (factor == 1) {
    return ReadWhole(decoder, layout, picture) ? std::string() : decoder.error;
  }
  RowBoxReducer reducer(width, height, factor);
  if (!ReadReduced(decoder, layout, reducer)) {
    return decoder.error;
  }
  picture = reducer.Finish();
  return {};
}

}  // namespace pavona
