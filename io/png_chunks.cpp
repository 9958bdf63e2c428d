#include "io/png_chunks.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "io/picture_readers.h"

namespace pavona {

namespace {

// A chunk is its length (4 bytes), type (4), data and a checksum (4).
constexpr std::uint64_t ChunkFrame = 12;
constexpr std::uint32_t HeaderLength = 13;
constexpr std::uint32_t LargestChunk = 0x7FFFFFFF;  // lengths are 31-bit numbers

std::uint32_t BigEndian32(const std::uint8_t* bytes)
{
  return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
         std::uint32_t(bytes[2]) << 8 | bytes[3];
}

bool ReadAt(int descriptor, std::uint64_t offset, std::uint8_t* out, std::size_t count)
{
  return pread(descriptor, out, count, off_t(offset)) == ssize_t(count);
}

std::string Damaged(const std::string& why)
{
  return "damaged PNG file (" + why + ")";
}

std::string ReadHeader(int descriptor, std::uint64_t offset, std::uint32_t length,
                       PngHeader& header)
{
  std::uint8_t data[HeaderLength];
  if (length != HeaderLength || !ReadAt(descriptor, offset + 8, data, sizeof data)) {
    return Damaged("its header chunk is not 13 bytes long");
  }
  header.width = BigEndian32(data);
  header.height = BigEndian32(data + 4);
  header.bitDepth = data[8];
  return CheckPictureSize(header.width, header.height);
}

}  // namespace

std::string CheckPngChunks(int descriptor, std::uint64_t fileSize, PngHeader& header)
{
  std::uint64_t offset = sizeof PngSignature;
  bool sawData = false;
  for (int index = 0;; ++index) {
    std::uint8_t start[8];
    if (offset + 8 > fileSize || !ReadAt(descriptor, offset, start, sizeof start)) {
      return FileEndsEarly;
    }
    const std::uint32_t length = BigEndian32(start);
    const std::string type(reinterpret_cast<const char*>(start + 4), 4);
    if (!std::all_of(type.begin(), type.end(), [](char c) { return std::isalpha(c); })) {
      return Damaged("a chunk has no valid type");
    }
    if (length > LargestChunk || fileSize - offset < ChunkFrame + length) {
      return Damaged("its " + type + " chunk declares " + std::to_string(length) +
                     " bytes, but only " + std::to_string(fileSize - offset) +
                     " are left in the file");
    }
    if (index == 0 && type != "IHDR") {
      return Damaged("it does not start with a header chunk");
    }
    if (index == 0) {
      if (std::string reason = ReadHeader(descriptor, offset, length, header); !reason.empty()) {
        return reason;
      }
    }
    sawData = sawData || type == "IDAT";
    if (type == "IEND") {
      return sawData ? std::string() : Damaged("it holds no picture data");
    }
    offset += ChunkFrame + length;
  }
}

long long PngDecoderBytes(const PngHeader& header)
{
  const long long channelBytes = header.bitDepth == 16 ? 2 : 1;
  return header.width * header.height * 4 * channelBytes;
}

}  // namespace pavona
