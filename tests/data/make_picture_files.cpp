// Writes the small picture files under tests/data that the picture reader
// tests load. Not part of the build; remake the files from the repository
// root with (one command line)
//   g++ -std=c++20 -fPIC $(pkg-config --cflags Qt6Gui) tests/data/make_picture_files.cpp
//       $(pkg-config --libs Qt6Gui) -ljpeg -o /tmp/make_picture_files
// and then run /tmp/make_picture_files tests/data
// The designs (which pixel has which colour) are described in README.md; the
// tests spell them out again on their own.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "../support/damaged_pictures.h"

// jpeglib.h needs size_t and FILE declared first.
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace {

std::string folder;

void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::uint8_t> ReadFile(const std::string& name)
{
  std::ifstream in(folder + "/" + name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// ---- Bitmaps: 13 x 6 pixels, so rows need padding at every bit depth.
constexpr int BmpWidth = 13;
constexpr int BmpHeight = 6;

struct Bgr {
  std::uint8_t r, g, b;
};

// Palette designs: index (x + 3y + corner) % n, the top-left pixel one
// further, so that no flip or mirror of the picture looks the same.
int PaletteIndex(int x, int y, int n)
{
  return (x + 3 * y + (x == 0 && y == 0 ? 1 : 0)) % n;
}
Bgr PaletteColour(int i)
{
  return {std::uint8_t(i * 37 + 11), std::uint8_t(i * 91 + 7), std::uint8_t(255 - i * 5)};
}
// Direct-colour design: red grows to the right, green downward.
Bgr Gradient(int x, int y)
{
  return {std::uint8_t(x * 20 + 5), std::uint8_t(y * 45 + 3), std::uint8_t((x * y * 11) % 256)};
}
// The eight corner colours of the RGB cube for 16-bit files, which store
// 0 and 255 exactly.
Bgr CubeColour(int x, int y)
{
  const int i = PaletteIndex(x, y, 8);
  return {std::uint8_t(i & 4 ? 255 : 0), std::uint8_t(i & 2 ? 255 : 0),
          std::uint8_t(i & 1 ? 255 : 0)};
}

void Put16(std::vector<std::uint8_t>& v, std::uint32_t x)
{
  v.push_back(x & 0xFF);
  v.push_back(x >> 8 & 0xFF);
}
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x)
{
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

struct BmpLayout {
  int bits;
  int compression = 0;  // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
  bool topDown = false;
  int paletteSize = 0;
  std::vector<std::uint32_t> masks;  // red, green, blue for bit fields
};

std::vector<std::uint8_t> Bitmap(const BmpLayout& layout, const std::vector<std::uint8_t>& pixels)
{
  std::vector<std::uint8_t> header;
  const int headerSize = 14 + 40 + int(layout.masks.size()) * 4 + layout.paletteSize * 4;
  header.push_back('B');
  header.push_back('M');
  Put32(header, std::uint32_t(headerSize + pixels.size()));
  Put32(header, 0);
  Put32(header, std::uint32_t(headerSize));
  Put32(header, 40);
  Put32(header, BmpWidth);
  Put32(header, std::uint32_t(layout.topDown ? -BmpHeight : BmpHeight));
  Put16(header, 1);
  Put16(header, std::uint32_t(layout.bits));
  Put32(header, std::uint32_t(layout.compression));
  Put32(header, std::uint32_t(pixels.size()));
  Put32(header, 2835);  // 72 dpi
  Put32(header, 2835);
  Put32(header, std::uint32_t(layout.paletteSize));
  Put32(header, 0);
  for (std::uint32_t mask : layout.masks) {
    Put32(header, mask);
  }
  for (int i = 0; i < layout.paletteSize; ++i) {
    const Bgr c = PaletteColour(i);
    header.push_back(c.b);
    header.push_back(c.g);
    header.push_back(c.r);
    header.push_back(0);
  }
  header.insert(header.end(), pixels.begin(), pixels.end());
  return header;
}

// Uncompressed rows, bottom-up unless top-down, each padded to 4 bytes.
std::vector<std::uint8_t> PlainRows(const BmpLayout& layout,
                                    const std::function<std::uint32_t(int, int)>& value)
{
  const int stride = (BmpWidth * layout.bits + 31) / 32 * 4;
  std::vector<std::uint8_t> rows;
  for (int row = 0; row < BmpHeight; ++row) {
    const int y = layout.topDown ? row : BmpHeight - 1 - row;
    std::vector<std::uint8_t> bytes(stride, 0);
    for (int x = 0; x < BmpWidth; ++x) {
      const std::uint32_t v = value(x, y);
      if (layout.bits < 8) {
        const int bitPos = x * layout.bits;
        bytes[bitPos / 8] |= std::uint8_t(v << (8 - layout.bits - bitPos % 8));
      } else {
        for (int b = 0; b < layout.bits / 8; ++b) {
          bytes[x * layout.bits / 8 + b] = std::uint8_t(v >> (8 * b));
        }
      }
    }
    rows.insert(rows.end(), bytes.begin(), bytes.end());
  }
  return rows;
}

// Run-length rows (bottom-up): runs of three or more equal pixels as encoded
// runs, stretches of differing pixels as absolute runs padded to 16 bits.
std::vector<std::uint8_t> RleRows(int bits, const std::function<int(int, int)>& index)
{
  std::vector<std::uint8_t> out;
  for (int y = BmpHeight - 1; y >= 0; --y) {
    int x = 0;
    while (x < BmpWidth) {
      if (bits == 4 && x + 1 < BmpWidth && index(x, y) != index(x + 1, y)) {
        // Two colours taking turns fit one encoded run of 4-bit pixels.
        int turns = 2;
        while (x + turns < BmpWidth && index(x + turns, y) == index(x + turns % 2, y)) {
          ++turns;
        }
        if (turns >= 3) {
          out.push_back(std::uint8_t(turns));
          out.push_back(std::uint8_t(index(x, y) << 4 | index(x + 1, y)));
          x += turns;
          continue;
        }
      }
      int run = 1;
      while (x + run < BmpWidth && index(x + run, y) == index(x, y)) {
        ++run;
      }
      if (run >= 3 || BmpWidth - x < 3) {
        const int i = index(x, y);
        out.push_back(std::uint8_t(run));
        out.push_back(std::uint8_t(bits == 8 ? i : (i << 4 | i)));
        x += run;
        continue;
      }
      int length = 0;  // differing pixels up to the next run of three
      while (x + length < BmpWidth &&
             !(x + length + 2 < BmpWidth && index(x + length, y) == index(x + length + 1, y) &&
               index(x + length, y) == index(x + length + 2, y))) {
        ++length;
      }
      if (length < 3) {
        out.push_back(std::uint8_t(length));
        out.push_back(std::uint8_t(bits == 8 ? index(x, y) : (index(x, y) << 4 | index(x + 1, y))));
        if (bits == 8 && length == 2) {
          out.back() = std::uint8_t(index(x, y));
          out[out.size() - 2] = 1;
          out.push_back(1);
          out.push_back(std::uint8_t(index(x + 1, y)));
        }
        x += length;
        continue;
      }
      out.push_back(0);
      out.push_back(std::uint8_t(length));
      std::vector<std::uint8_t> data;
      for (int k = 0; k < length; ++k) {
        if (bits == 8) {
          data.push_back(std::uint8_t(index(x + k, y)));
        } else if (k % 2 == 0) {
          data.push_back(std::uint8_t(index(x + k, y) << 4));
        } else {
          data.back() |= std::uint8_t(index(x + k, y));
        }
      }
      if (data.size() % 2) {
        data.push_back(0);
      }
      out.insert(out.end(), data.begin(), data.end());
      x += length;
    }
    out.push_back(0);
    out.push_back(y == 0 ? 1 : 0);  // end of line, or end of the bitmap
  }
  return out;
}

// Runs for the compressed files: five pixels as one encoded run, five
// different ones (an absolute run of an odd number of bytes, so padded), and
// three of one colour; the indices change from row to row. In the 4-bit
// file the first five take turns between two colours.
int RleIndex(int x, int y, int n, bool fourBit)
{
  if (x < 5) {
    return (fourBit && x % 2 ? y + 7 : y) % n;
  }
  if (x < 10) {
    return (6 + x + y) % n;
  }
  return (3 + 2 * y) % n;
}

void WriteBitmaps()
{
  WriteFile("bits1.bmp", Bitmap({1, 0, false, 2}, PlainRows({1}, [](int x, int y) {
                                  return std::uint32_t(PaletteIndex(x, y, 2));
                                })));
  WriteFile("bits4.bmp", Bitmap({4, 0, false, 16}, PlainRows({4}, [](int x, int y) {
                                  return std::uint32_t(PaletteIndex(x, y, 16));
                                })));
  WriteFile("bits8.bmp", Bitmap({8, 0, false, 256}, PlainRows({8}, [](int x, int y) {
                                  return std::uint32_t(PaletteIndex(x * 17, y * 7, 256));
                                })));
  WriteFile("rle8.bmp", Bitmap({8, 1, false, 256}, RleRows(8, [](int x, int y) {
                                 return RleIndex(x, y, 256, false) * 11 % 256;
                               })));
  WriteFile("rle4.bmp", Bitmap({4, 2, false, 16},
                               RleRows(4, [](int x, int y) { return RleIndex(x, y, 16, true); })));
  WriteFile("bits16.bmp",
            Bitmap({16}, PlainRows({16}, [](int x, int y) {
                     const Bgr c = CubeColour(x, y);
                     return std::uint32_t((c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3);
                   })));
  WriteFile("bits16_565.bmp",
            Bitmap({16, 3, false, 0, {0xF800, 0x07E0, 0x001F}}, PlainRows({16}, [](int x, int y) {
                     const Bgr c = CubeColour(x, y);
                     return std::uint32_t((c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3);
                   })));
  const auto gradient = [](int x, int y) {
    const Bgr c = Gradient(x, y);
    return std::uint32_t(c.r << 16 | c.g << 8 | c.b);
  };
  WriteFile("bits24.bmp", Bitmap({24}, PlainRows({24}, gradient)));
  WriteFile("bits24_top_down.bmp", Bitmap({24, 0, true}, PlainRows({24, 0, true}, gradient)));
  WriteFile("bits32.bmp", Bitmap({32}, PlainRows({32}, gradient)));
  // Cut in the middle of the third stored row.
  const std::vector<std::uint8_t> full = ReadFile("bits24.bmp");
  WriteFile("truncated.bmp",
            std::vector<std::uint8_t>(full.begin(), full.begin() + 54 + 40 * 2 + 17));
  WriteFile("tiny.bmp", {'B', 'M', 0x36});
}

// ---- PNG: the gradient design with an alpha channel.
void WritePng()
{
  QImage image(BmpWidth, BmpHeight, QImage::Format_ARGB32);
  for (int y = 0; y < BmpHeight; ++y) {
    for (int x = 0; x < BmpWidth; ++x) {
      const Bgr c = Gradient(x, y);
      image.setPixel(x, y, qRgba(c.r, c.g, c.b, 255));
    }
  }
  image.setPixel(12, 5, qRgba(255, 255, 255, 0));  // fully transparent white
  image.setPixel(6, 2, qRgba(200, 100, 50, 128));  // half transparent orange
  image.save(QString::fromStdString(folder + "/alpha.png"), "PNG");
}

// ---- JPEG: 48 x 32, six flat 16 x 16 blocks, three across, two down.
constexpr int JpegWidth = 48;
constexpr int JpegHeight = 32;
const Bgr JpegBlocks[6] = {{200, 30, 30},  {30, 160, 60},   {40, 60, 200},
                           {240, 220, 60}, {250, 250, 250}, {50, 50, 50}};
const std::uint8_t GreyBlocks[6] = {30, 90, 150, 200, 250, 10};
// CMYK inks (0 = none) of the blocks: cyan, magenta, yellow, black, half
// cyan, half black.
const std::uint8_t CmykBlocks[6][4] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0},
                                       {0, 0, 0, 255}, {128, 0, 0, 0}, {0, 0, 0, 128}};

enum class JpegKind { Baseline, Progressive, Exif, Grey, CmykAdobe, CmykPlain, Photo };

// The coffee photo frame, to give the JPEG reader a real photo.
std::vector<std::uint8_t> PhotoRgb()
{
  const std::vector<std::uint8_t> ppm = ReadFile("coffee_frame.ppm");
  return std::vector<std::uint8_t>(ppm.end() - 320 * 200 * 3, ppm.end());
}

std::vector<std::uint8_t> Jpeg(JpegKind kind)
{
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  const bool photo = kind == JpegKind::Photo;
  const std::vector<std::uint8_t> photoRgb = photo ? PhotoRgb() : std::vector<std::uint8_t>();
  cinfo.image_width = photo ? 320 : JpegWidth;
  cinfo.image_height = photo ? 200 : JpegHeight;
  const bool cmyk = kind == JpegKind::CmykAdobe || kind == JpegKind::CmykPlain;
  cinfo.input_components = kind == JpegKind::Grey ? 1 : cmyk ? 4 : 3;
  cinfo.in_color_space = kind == JpegKind::Grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, photo ? 85 : 95, TRUE);
  if (kind == JpegKind::Progressive) {
    jpeg_simple_progression(&cinfo);
  }
  if (kind == JpegKind::CmykAdobe) {
    jpeg_set_colorspace(&cinfo, JCS_YCCK);  // as Photoshop writes them
  }
  if (kind == JpegKind::CmykPlain) {
    cinfo.write_Adobe_marker = FALSE;
  }
  if (kind == JpegKind::Exif) {
    cinfo.write_JFIF_header = FALSE;
  }
  jpeg_start_compress(&cinfo, TRUE);
  if (kind == JpegKind::Exif) {
    // "Exif\0\0" and a little-endian TIFF header with an empty first IFD.
    const JOCTET exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif, sizeof exif);
  }
  std::vector<JSAMPLE> row(JpegWidth * 4);
  while (photo && cinfo.next_scanline < 200) {
    JSAMPROW rows[1] = {const_cast<JSAMPLE*>(&photoRgb[cinfo.next_scanline * 320 * 3])};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = int(cinfo.next_scanline);
    for (int x = 0; x < JpegWidth; ++x) {
      const int block = (y / 16) * 3 + x / 16;
      if (kind == JpegKind::Grey) {
        row[x] = GreyBlocks[block];
      } else if (cmyk) {
        for (int c = 0; c < 4; ++c) {
          const std::uint8_t ink = CmykBlocks[block][c];
          // Adobe files store 255 - ink; plain CMYK files store the ink.
          row[x * 4 + c] = kind == JpegKind::CmykAdobe ? 255 - ink : ink;
        }
      } else {
        row[x * 3] = JpegBlocks[block].r;
        row[x * 3 + 1] = JpegBlocks[block].g;
        row[x * 3 + 2] = JpegBlocks[block].b;
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

void WriteJpegs()
{
  WriteFile("baseline.jpg", Jpeg(JpegKind::Baseline));
  WriteFile("progressive.jpg", Jpeg(JpegKind::Progressive));
  WriteFile("exif.jpg", Jpeg(JpegKind::Exif));
  WriteFile("grey.jpg", Jpeg(JpegKind::Grey));
  WriteFile("cmyk_adobe.jpg", Jpeg(JpegKind::CmykAdobe));
  WriteFile("cmyk_plain.jpg", Jpeg(JpegKind::CmykPlain));
  WriteFile("coffee_frame.jpg", Jpeg(JpegKind::Photo));
  const std::vector<std::uint8_t> baseline = Jpeg(JpegKind::Baseline);
  WriteFile("truncated.jpg", std::vector<std::uint8_t>(baseline.begin(),
                                                       baseline.begin() + baseline.size() * 3 / 4));
  WriteFile("tiny.jpg", {0xFF, 0xD8, 0xFF});
  WriteFile("cut_scan.jpg", pavona::test::JpegWithScanCutShort(Jpeg(JpegKind::Photo)));
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <tests/data folder>\n", argv[0]);
    return 2;
  }
  folder = argv[1];
  WriteBitmaps();
  WritePng();
  WriteJpegs();
  const char text[] = "This is a text file, not a picture.\n";
  WriteFile("not_a_picture.txt", std::vector<std::uint8_t>(text, text + sizeof text - 1));
  return 0;
}
