#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "colour/picture.h"

namespace pavona::test {

// An Exif APP1 block with one entry, the orientation (1..8, or any value
// to test how others are treated), in Intel byte order.
inline std::vector<std::uint8_t> ExifOrientationBlock(int orientation)
{
  return {'E',
          'x',
          'i',
          'f',
          0,
          0,  // Exif header
          'I',
          'I',
          42,
          0,
          8,
          0,
          0,
          0,  // TIFF header, IFD0 at offset 8
          1,
          0,  // one entry:
          0x12,
          0x01,
          3,
          0,
          1,
          0,
          0,
          0,  // tag 0x0112 orientation, SHORT, 1 value
          std::uint8_t(orientation),
          0,
          0,
          0,  // the value, padded
          0,
          0,
          0,
          0};  // no next IFD
}

// Encodes the picture as a baseline JPEG of the given quality; with an Exif
// block when `exifBlock` is not empty.
inline std::vector<std::uint8_t> EncodeJpeg(const LoadedPicture& picture, int quality,
                                            const std::vector<std::uint8_t>& exifBlock = {})
{
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(picture.width);
  info.image_height = JDIMENSION(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (!exifBlock.empty()) {
    info.write_JFIF_header = FALSE;
  }
  jpeg_start_compress(&info, TRUE);
  if (!exifBlock.empty()) {
    jpeg_write_marker(&info, JPEG_APP0 + 1, exifBlock.data(), unsigned(exifBlock.size()));
  }
  std::vector<JSAMPLE> row(std::size_t(picture.width) * 3);
  while (info.next_scanline < info.image_height) {
    const std::uint32_t* pixels =
        picture.pixels.data() + std::size_t(info.next_scanline) * picture.width;
    for (int x = 0; x < picture.width; ++x) {
      row[3 * x] = JSAMPLE(RedOf(pixels[x]));
      row[3 * x + 1] = JSAMPLE(GreenOf(pixels[x]));
      row[3 * x + 2] = JSAMPLE(BlueOf(pixels[x]));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

}  // namespace pavona::test
