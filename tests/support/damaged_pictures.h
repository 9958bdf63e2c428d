#pragma once

// Damaged and hostile picture files, built byte by byte for the reader tests
// and the fuzzing seed corpus.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace pavona::test {

inline void AppendBig16(std::vector<std::uint8_t>& bytes, unsigned value)
{
  bytes.push_back(std::uint8_t(value >> 8));
  bytes.push_back(std::uint8_t(value));
}

inline void AppendBig32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
  AppendBig16(bytes, value >> 16);
  AppendBig16(bytes, value & 0xFFFF);
}

inline std::uint32_t PngCrc(const std::uint8_t* data, std::size_t size)
{
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) {
      crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
  }
  return ~crc;
}

inline void AppendPngChunk(std::vector<std::uint8_t>& bytes, const char* type,
                           const std::vector<std::uint8_t>& data)
{
  AppendBig32(bytes, std::uint32_t(data.size()));
  const std::size_t start = bytes.size();
  bytes.insert(bytes.end(), type, type + 4);
  bytes.insert(bytes.end(), data.begin(), data.end());
  AppendBig32(bytes, PngCrc(&bytes[start], bytes.size() - start));
}

// A PNG of 13 x 6 pixels whose text chunk declares 2^31 - 1 bytes of a file
// of 141: a decoder that trusts the length makes room for 2 GB first.
inline std::vector<std::uint8_t> PngTextLengthBomb()
{
  std::vector<std::uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  AppendBig32(header, 13);
  AppendBig32(header, 6);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  AppendPngChunk(bytes, "IHDR", header);
  AppendBig32(bytes, 0x7FFFFFFF);
  const std::string text = "tEXtComment";
  bytes.insert(bytes.end(), text.begin(), text.end());
  bytes.push_back(0);
  bytes.resize(141, 'x');
  return bytes;
}

// A sequential JPEG of width x height pixels with `components` components,
// all sampled 1 x 1, whose only scan covers the first component; its data is
// `dataBytes` zero bytes (with one-bit Huffman codes, two bits a block: DC
// unchanged, end of block) followed by the end-of-image marker.
inline std::vector<std::uint8_t> JpegWithOneScan(unsigned width, unsigned height, int components,
                                                 std::size_t dataBytes)
{
  std::vector<std::uint8_t> bytes = {0xFF, 0xD8};
  bytes.insert(bytes.end(), {0xFF, 0xDB, 0x00, 0x43, 0x00});  // quantisation table 0: all 1
  bytes.insert(bytes.end(), 64, 1);
  bytes.insert(bytes.end(), {0xFF, 0xC0});  // start of frame, baseline
  AppendBig16(bytes, 8 + 3 * unsigned(components));
  bytes.push_back(8);
  AppendBig16(bytes, height);
  AppendBig16(bytes, width);
  bytes.push_back(std::uint8_t(components));
  for (int c = 1; c <= components; ++c) {
    bytes.insert(bytes.end(), {std::uint8_t(c), 0x11, 0x00});
  }
  // One code of one bit in each table: DC category 0, AC end of block.
  for (const std::uint8_t tableClass : {0x00, 0x10}) {
    bytes.insert(bytes.end(), {0xFF, 0xC4, 0x00, 0x14, tableClass, 1});
    bytes.insert(bytes.end(), 15, 0);
    bytes.push_back(0);
  }
  bytes.insert(bytes.end(), {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
  bytes.insert(bytes.end(), dataBytes, 0);
  bytes.insert(bytes.end(), {0xFF, 0xD9});
  return bytes;
}

// Declares 9216 x 9705 pixels in four components and scans only the first
// with hardly any data: decoding it needs every coefficient of the picture
// stored, about 700 MB, before the missing scans are noticed.
inline std::vector<std::uint8_t> JpegComponentBomb()
{
  return JpegWithOneScan(9216, 9705, 4, 4);
}

// `jpeg` with the data of its first scan cut to half, followed by the
// end-of-image marker, as a file system error or a broken download leaves it.
inline std::vector<std::uint8_t> JpegWithScanCutShort(const std::vector<std::uint8_t>& jpeg)
{
  for (std::size_t i = 2; i + 3 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) {
      const std::size_t dataStart = i + 2 + (std::size_t(jpeg[i + 2]) << 8 | jpeg[i + 3]);
      std::vector<std::uint8_t> cut(jpeg.begin(),
                                    jpeg.begin() + std::ptrdiff_t((dataStart + jpeg.size()) / 2));
      if (cut.back() == 0xFF) {
        cut.pop_back();
      }
      cut.insert(cut.end(), {0xFF, 0xD9});
      return cut;
    }
  }
  return {};
}

// `jpeg` with three stray bytes after its first marker segment: damage that
// libjpeg warns about and that leaves the picture whole.
inline std::vector<std::uint8_t> JpegWithStrayBytes(std::vector<std::uint8_t> jpeg)
{
  const std::size_t segmentEnd = 4 + (std::size_t(jpeg[4]) << 8 | jpeg[5]);
  jpeg.insert(jpeg.begin() + std::ptrdiff_t(segmentEnd), {0x12, 0x34, 0x56});
  return jpeg;
}

}  // namespace pavona::test
