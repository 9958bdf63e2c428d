// Windows bitmaps are read here rather than with QImage: Qt's reader leaves
// the pixels of a file cut short (and those that run-length codes skip)
// uninitialised, and scales 5-bit channels to 248 instead of 255.
#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "colour/picture.h"
#include "io/picture_readers.h"

namespace pavona {

namespace {

constexpr int FileHeaderSize = 14;
constexpr int CoreHeaderSize = 12;  // the oldest header, with 16-bit sizes
constexpr int InfoHeaderSize = 40;
constexpr int LargestHeaderSize = 124;

enum Compression : std::uint32_t {
  Plain = 0,
  RunLength8 = 1,
  RunLength4 = 2,
  BitFields = 3,
  EmbeddedJpeg = 4,
  EmbeddedPng = 5,
  AlphaBitFields = 6,
};

std::uint32_t Read16(const std::uint8_t* bytes)
{
  return bytes[0] | bytes[1] << 8;
}
std::uint32_t Read32(const std::uint8_t* bytes)
{
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | std::uint32_t(bytes[3]) << 24;
}

// Reads `count` bytes at `offset`; false when the stream has fewer.
bool ReadBytes(std::istream& in, std::uint64_t offset, std::size_t count, std::uint8_t* out)
{
  in.clear();
  in.seekg(std::streamoff(offset));
  in.read(reinterpret_cast<char*>(out), std::streamsize(count));
  return in.gcount() == std::streamsize(count);
}

// One channel of a bit-field pixel, scaled so that a full field is 255.
struct ChannelField {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t maximum = 0;

  explicit ChannelField(std::uint32_t fieldMask) : mask(fieldMask)
  {
    if (mask != 0) {
      shift = std::countr_zero(mask);
      maximum = (std::uint64_t(1) << std::bit_width(mask >> shift)) - 1;
    }
  }
  int Value(std::uint32_t pixel) const
  {
    if (maximum == 0) {
      return 0;
    }
    const std::uint64_t field = (pixel & mask) >> shift;
    return int((field * 255 + maximum / 2) / maximum);
  }
};

struct BitmapLayout {
  long long width = 0;
  long long height = 0;  // positive; topDown says which row comes first
  bool topDown = false;
  int bits = 0;
  std::uint32_t compression = Plain;
  std::uint64_t dataOffset = 0;
  std::array<std::uint32_t, 3> masks{};          // red, green, blue
  std::vector<std::uint32_t> palette;            // 0x00RRGGBB
  std::vector<std::string>* warnings = nullptr;  // the damage that is tolerated
  void Warn(const std::string& warning) const { warnings->push_back(warning); }
};

std::string ReadLayout(std::istream& in, std::uint64_t size, BitmapLayout& layout)
{
  std::array<std::uint8_t, FileHeaderSize + LargestHeaderSize + 16> header{};
  const std::size_t available = std::size_t(std::min<std::uint64_t>(size, header.size()));
  if (available < FileHeaderSize + 4 || !ReadBytes(in, 0, available, header.data())) {
    return "damaged bitmap file (the header is incomplete)";
  }
  layout.dataOffset = Read32(&header[10]);
  const std::uint32_t headerSize = Read32(&header[14]);
  if (headerSize != CoreHeaderSize &&
      (headerSize < InfoHeaderSize || headerSize > LargestHeaderSize)) {
    return "damaged or unsupported bitmap file (unknown header of " + std::to_string(headerSize) +
           " bytes)";
  }
  if (available < FileHeaderSize + headerSize) {
    return "damaged bitmap file (the header is incomplete)";
  }
  int paletteEntrySize = 4;
  std::uint32_t coloursUsed = 0;
  if (headerSize == CoreHeaderSize) {
    layout.width = Read16(&header[18]);
    layout.height = Read16(&header[20]);
    layout.bits = int(Read16(&header[24]));
    paletteEntrySize = 3;
  } else {
    layout.width = std::int32_t(Read32(&header[18]));
    layout.height = std::int32_t(Read32(&header[22]));
    layout.bits = int(Read16(&header[28]));
    layout.compression = Read32(&header[30]);
    coloursUsed = Read32(&header[46]);
  }
  if (layout.height < 0) {
    layout.height = -layout.height;
    layout.topDown = true;
  }
  const int bits = layout.bits;
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return "unsupported bitmap (" + std::to_string(bits) + " bits per pixel)";
  }
  switch (layout.compression) {
    case Plain:
      break;
    case RunLength8:
    case RunLength4:
      if (bits != (layout.compression == RunLength8 ? 8 : 4)) {
        return "damaged bitmap file (run-length codes for " + std::to_string(bits) + "-bit pixels)";
      }
      break;
    case BitFields:
    case AlphaBitFields:
      if (bits != 16 && bits != 32) {
        return "damaged bitmap file (bit fields for " + std::to_string(bits) + "-bit pixels)";
      }
      break;
    case EmbeddedJpeg:
    case EmbeddedPng:
      return "unsupported bitmap (it holds a compressed JPEG or PNG picture)";
    default:
      return "unsupported bitmap (compression method " + std::to_string(layout.compression) + ")";
  }
  if (std::string reason = CheckPictureSize(layout.width, layout.height); !reason.empty()) {
    return reason;
  }
  // Run-length coded rows can skip most of the picture in a few bytes.
  if (std::string reason = CheckPictureMemory(layout.width, layout.height, 0, size);
      !reason.empty()) {
    return reason;
  }

  // The colour masks follow a 40-byte header; larger headers hold them.
  std::uint64_t paletteOffset = FileHeaderSize + headerSize;
  if (layout.compression == BitFields || layout.compression == AlphaBitFields) {
    const int maskCount = layout.compression == BitFields ? 3 : 4;
    if (headerSize == InfoHeaderSize) {
      paletteOffset += 4 * maskCount;
    }
    std::uint8_t masks[12];
    if (!ReadBytes(in, FileHeaderSize + InfoHeaderSize, sizeof masks, masks)) {
      return "damaged bitmap file (the colour masks are missing)";
    }
    for (int c = 0; c < 3; ++c) {
      layout.masks[c] = Read32(&masks[4 * c]);
    }
    if (layout.masks == std::array<std::uint32_t, 3>{}) {
      layout.Warn("damaged bitmap file (its colour masks are all zero; read with the usual " +
                  std::string(bits == 16 ? "5 bits" : "8 bits") + " for each colour)");
    }
  }
  if (layout.masks == std::array<std::uint32_t, 3>{} && bits == 16) {
    layout.masks = {0x7C00, 0x03E0, 0x001F};  // 5 bits for each channel
  } else if (layout.masks == std::array<std::uint32_t, 3>{} && bits == 32) {
    layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};  // the top byte is unused
  }

  // The pixels follow the header and the colour table; an offset that points
  // into them is damage, and the pixels are taken from where they must start.
  const std::uint32_t fullSize = bits <= 8 ? 1u << bits : 0;
  std::uint32_t entries = coloursUsed == 0 ? fullSize : std::min(coloursUsed, fullSize);
  const std::uint64_t headerEnd = paletteOffset;
  if (layout.dataOffset < headerEnd) {
    layout.dataOffset = headerEnd + std::uint64_t(entries) * paletteEntrySize;
    layout.Warn("damaged bitmap file (its pixel data offset " +
                std::to_string(Read32(&header[10])) +
                " points into the header; the pixels are read from byte " +
                std::to_string(layout.dataOffset) + ")");
  } else if (bits <= 8 &&
             headerEnd + std::uint64_t(entries) * paletteEntrySize > layout.dataOffset) {
    // The colour table declared does not fit before the pixels.
    const auto room = std::uint32_t((layout.dataOffset - headerEnd) / paletteEntrySize);
    if (room == 0) {
      return "damaged bitmap file (its colour table of " + std::to_string(entries) +
             " colours is missing)";
    }
    layout.Warn("damaged bitmap file (its colour table holds only " + std::to_string(room) +
                " of its " + std::to_string(entries) + " colours; the others show black)");
    entries = room;
  }
  if (bits <= 8) {
    std::vector<std::uint8_t> table(std::size_t(entries) * paletteEntrySize);
    if (!ReadBytes(in, paletteOffset, table.size(), table.data())) {
      return "damaged bitmap file (the colour table is incomplete)";
    }
    layout.palette.resize(fullSize, 0);  // indices past the table show black
    for (std::uint32_t i = 0; i < entries; ++i) {
      const std::uint8_t* entry = &table[std::size_t(i) * paletteEntrySize];
      layout.palette[i] = MakeColour(entry[2], entry[1], entry[0]);
    }
  }
  if (layout.dataOffset > size) {
    return FileEndsEarly;
  }
  return {};
}

// Decodes one stored row of an uncompressed bitmap.
void DecodePlainRow(const BitmapLayout& layout, const std::uint8_t* bytes, std::uint32_t* out)
{
  const int width = int(layout.width);
  const int bits = layout.bits;
  if (bits <= 8) {
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < width; ++x) {
      const int shift = 8 - bits * (x % perByte + 1);  // leftmost pixel in the high bits
      out[x] = layout.palette[(bytes[x / perByte] >> shift) & mask];
    }
  } else if (bits == 24) {
    for (int x = 0; x < width; ++x) {
      out[x] = MakeColour(bytes[3 * x + 2], bytes[3 * x + 1], bytes[3 * x]);
    }
  } else {
    const ChannelField red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = bits == 16 ? Read16(&bytes[2 * x]) : Read32(&bytes[4 * x]);
      out[x] = MakeColour(red.Value(pixel), green.Value(pixel), blue.Value(pixel));
    }
  }
}

std::string ReadPlain(std::istream& in, std::uint64_t size, const BitmapLayout& layout,
                      LoadedPicture& picture)
{
  // Rows are padded to a multiple of four bytes.
  const std::uint64_t stride = (std::uint64_t(layout.width) * layout.bits + 31) / 32 * 4;
  if (size - layout.dataOffset < stride * std::uint64_t(layout.height)) {
    return FileEndsEarly;
  }
  AllocatePicture(picture, int(layout.width), int(layout.height));
  std::vector<std::uint8_t> row(stride);
  in.clear();
  in.seekg(std::streamoff(layout.dataOffset));
  for (long long stored = 0; stored < layout.height; ++stored) {
    if (!in.read(reinterpret_cast<char*>(row.data()), std::streamsize(stride))) {
      return FileEndsEarly;
    }
    const long long y = layout.topDown ? stored : layout.height - 1 - stored;
    DecodePlainRow(layout, row.data(), picture.pixels.data() + y * layout.width);
  }
  return {};
}

// Run-length codes: (count, colour) repeats a colour, or with 4-bit pixels
// alternates the two colours of the byte; (0, 0) ends a row, (0, 1) the
// picture, (0, 2, dx, dy) moves on; (0, n >= 3) is followed by n literal
// pixels padded to an even number of bytes. Pixels the codes skip stay black;
// pixels past the row's end are dropped.
std::string ReadRunLength(std::istream& in, std::uint64_t size, const BitmapLayout& layout,
                          LoadedPicture& picture)
{
  const bool fourBit = layout.compression == RunLength4;
  const long long width = layout.width, height = layout.height;
  // No sensible stream is longer than two bytes for every pixel plus a code
  // for every row; anything beyond that is ignored.
  const std::uint64_t limit = 2 * std::uint64_t(width + 2) * std::uint64_t(height) + 2;
  std::vector<std::uint8_t> data(std::size_t(std::min(size - layout.dataOffset, limit)));
  if (!ReadBytes(in, layout.dataOffset, data.size(), data.data())) {
    return FileEndsEarly;
  }
  AllocatePicture(picture, int(width), int(height));
  long long x = 0, row = 0;
  bool outside = false;  // a code reached past the picture's edge
  const auto put = [&](int index) {
    if (x < width && row < height) {
      const long long y = layout.topDown ? row : height - 1 - row;
      picture.pixels[std::size_t(y * width + x)] = layout.palette[index];
    } else {
      outside = true;
    }
    ++x;
  };
  std::size_t at = 0;
  while (row < height) {
    if (at + 2 > data.size()) {
      if (row == height - 1 && x >= width) {
        break;  // the last row is complete, only the closing code is missing
      }
      return FileEndsEarly;
    }
    const int count = data[at], value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        put(fourBit ? (i % 2 == 0 ? value >> 4 : value & 15) : value);
      }
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (at + 2 > data.size()) {
        return FileEndsEarly;
      }
      x += data[at];
      row += data[at + 1];
      at += 2;
      outside = outside || x > width || row > height;
    } else {
      const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
      if (at + bytes > data.size()) {
        return FileEndsEarly;
      }
      for (int i = 0; i < value; ++i) {
        const int byte = data[at + (fourBit ? i / 2 : i)];
        put(fourBit ? (i % 2 == 0 ? byte >> 4 : byte & 15) : byte);
      }
      at += bytes + bytes % 2;
    }
  }
  if (outside) {
    layout.Warn(
        "damaged bitmap file (its run-length codes reach past the picture's edge; "
        "what lies outside is left out)");
  }
  return {};
}

}  // namespace

std::string ReadBitmap(std::istream& in, std::uint64_t size, LoadedPicture& picture,
                       std::vector<std::string>& warnings)
{
  BitmapLayout layout;
  layout.warnings = &warnings;
  std::string reason = ReadLayout(in, size, layout);
  if (reason.empty()) {
    const bool runLength = layout.compression == RunLength8 || layout.compression == RunLength4;
    reason =
        runLength ? ReadRunLength(in, size, layout, picture) : ReadPlain(in, size, layout, picture);
  }
  if (!reason.empty()) {
    picture = LoadedPicture{};
  }
  return reason;
}

}  // namespace pavona
