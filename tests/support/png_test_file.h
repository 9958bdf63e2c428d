#pragma once

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace pavona::testing {

// A PNG file to write for a test: any colour type and depth libpng allows.
struct PngTestPicture {
  int width = 0, height = 0;
  int bitDepth = 8;
  int colourType = PNG_COLOR_TYPE_RGB;
  bool interlaced = false;
  // Samples in file order, one per channel and pixel, at most 2^bitDepth - 1
  // (palette indices for a palette picture).
  std::vector<std::uint16_t> samples;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;         // tRNS of a palette picture
  const png_color_16* transparent = nullptr;  // tRNS of a grey or RGB picture
};

inline int ChannelsOf(int colourType)
{
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
      return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    default:
      return 4;
  }
}

// The samples packed as a PNG row stores them: big-endian at 16 bits, the
// first pixel in the high bits of a byte below 8 bits.
inline std::vector<png_byte> PackedRow(const PngTestPicture& picture, int y)
{
  const int perRow = picture.width * ChannelsOf(picture.colourType);
  std::vector<png_byte> row((std::size_t(perRow) * picture.bitDepth + 7) / 8);
  for (int i = 0; i < perRow; ++i) {
    const std::uint16_t sample = picture.samples[std::size_t(y) * perRow + i];
    if (picture.bitDepth == 16) {
      row[2 * i] = png_byte(sample >> 8);
      row[2 * i + 1] = png_byte(sample);
    } else {
      const int bit = i * picture.bitDepth;
      row[bit / 8] |= png_byte(sample << (8 - picture.bitDepth - bit % 8));
    }
  }
  return row;
}

inline void WritePngFile(const std::string& path, const PngTestPicture& picture)
{
  std::vector<std::vector<png_byte>> rows;
  std::vector<png_bytep> rowPointers;
  for (int y = 0; y < picture.height; ++y) {
    rows.push_back(PackedRow(picture, y));
  }
  for (auto& row : rows) {
    rowPointers.push_back(row.data());
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (!file || !png || !info || setjmp(png_jmpbuf(png))) {
    throw std::runtime_error("cannot write the test file " + path);
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colourType,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty()) {
    png_set_PLTE(png, info, picture.palette.data(), int(picture.palette.size()));
  }
  if (!picture.paletteAlpha.empty()) {
    png_set_tRNS(png, info, picture.paletteAlpha.data(), int(picture.paletteAlpha.size()), nullptr);
  }
  if (picture.transparent) {
    png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16p>(picture.transparent));
  }
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// A PNG chunk's bytes with its length in front and its checksum behind.
inline std::vector<std::uint8_t> Chunk(const std::string& type, const std::string& data,
                                       bool goodCrc)
{
  std::vector<std::uint8_t> bytes = {0, 0, 0, std::uint8_t(data.size())};
  bytes.insert(bytes.end(), type.begin(), type.end());
  bytes.insert(bytes.end(), data.begin(), data.end());
  std::uint32_t crc = std::uint32_t(crc32(0, bytes.data() + 4, uInt(4 + data.size())));
  if (!goodCrc) {
    crc ^= 1;
  }
  for (int shift = 24; shift >= 0; shift -= 8) {
    bytes.push_back(std::uint8_t(crc >> shift));
  }
  return bytes;
}

// The PNG file with a text chunk inserted after its header chunk (the
// signature and the header take 33 bytes), its checksum right or wrong.
inline std::vector<std::uint8_t> WithTextChunk(std::vector<std::uint8_t> png, bool goodCrc)
{
  const std::vector<std::uint8_t> text = Chunk("tEXt", std::string("Comment\0hello", 13), goodCrc);
  png.insert(png.begin() + 33, text.begin(), text.end());
  return png;
}

}  // namespace pavona::testing
