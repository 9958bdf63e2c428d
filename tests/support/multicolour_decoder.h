#pragma once

// Decodes the editor files of the multicolour modes into the 320 x 200
// picture a C64 shows, each multicolour pixel as two hires pixels. Written
// from the files' published layouts (offsets below count the two-byte load
// address), independently of the program's own writers, so that the tests can
// check whole conversions against it.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "colour/palettes.h"
#include "colour/picture.h"

namespace pavona::testing {

namespace multicolour_files {

// Koala: load address $6000.
constexpr int KoalaSize = 10003;
constexpr int KoalaBitmap = 2;
constexpr int KoalaScreen = 8002;
constexpr int KoalaColourRam = 9002;
constexpr int KoalaBackground = 10002;

// FLI Graph: load address $3C00; screen k serves pixel row k of every cell.
constexpr int FliGraphSize = 17409;
constexpr int FliGraphColourRam = 2;
constexpr int FliGraphScreens = 1026;
constexpr int FliGraphScreenStep = 1024;
constexpr int FliGraphBitmap = 9218;
constexpr int FliGraphHiddenColumns = 24;  // the video chip fetches no colours for them

// True Paint: load address $9C00.
constexpr int TruePaintSize = 19434;
constexpr int TruePaintScreen1 = 2;
constexpr int TruePaintBackground = 1002;
constexpr int TruePaintBitmap1 = 1026;
constexpr int TruePaintBitmap2 = 9218;
constexpr int TruePaintScreen2 = 17410;
constexpr int TruePaintColourRam = 18434;

inline void RequireSize(std::span<const std::uint8_t> file, int size, const char* format)
{
  if (int(file.size()) != size) {
    throw std::invalid_argument(std::string(format) + " file of " + std::to_string(file.size()) +
                                " bytes, expected " + std::to_string(size));
  }
}

// Where one multicolour picture's parts start in a file. `screen(row)` is the
// file offset of the screen that pixel row `row` of a cell takes its colours
// from; `background` is a file offset, or -1 for black.
struct McParts {
  int bitmap;
  int screens;
  int screenStep;  // 0: one screen for all pixel rows
  int colourRam;
  int background;
};

// The C64 colour number of multicolour pixel (mx, y), mx in 0..159.
inline int McColour(std::span<const std::uint8_t> file, const McParts& parts, int mx, int y)
{
  const int cx = mx / 4, cy = y / 8, row = y % 8;
  const int cell = cy * 40 + cx;
  const std::uint8_t bits = file[std::size_t(parts.bitmap + cy * 320 + cx * 8 + row)];
  switch ((bits >> (6 - 2 * (mx % 4))) & 3) {
    case 0:
      return parts.background < 0 ? 0 : file[std::size_t(parts.background)] & 15;
    case 1:
      return file[std::size_t(parts.screens + row * parts.screenStep + cell)] >> 4;
    case 2:
      return file[std::size_t(parts.screens + row * parts.screenStep + cell)] & 15;
    default:
      return file[std::size_t(parts.colourRam + cell)] & 15;
  }
}

// The picture with every multicolour pixel drawn two hires pixels wide,
// `shift` hires pixels to the right; the columns left of it show `left`.
inline Picture DrawMc(std::span<const std::uint8_t> file, const McParts& parts,
                      const C64Palette& palette, int shift, std::uint32_t left)
{
  Picture picture{};
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const int source = x - shift;
      picture[std::size_t(PixelIndex(x, y))] =
          source < 0 ? left : palette[std::size_t(McColour(file, parts, source / 2, y))];
    }
  }
  return picture;
}

}  // namespace multicolour_files

inline Picture DecodeKoala(std::span<const std::uint8_t> file, const C64Palette& palette)
{
  using namespace multicolour_files;
  RequireSize(file, KoalaSize, "Koala");
  return DrawMc(file, {KoalaBitmap, KoalaScreen, 0, KoalaColourRam, KoalaBackground}, palette, 0,
                0);
}

// The 24 leftmost hires columns show palette colour 0, black.
inline Picture DecodeFliGraph(std::span<const std::uint8_t> file, const C64Palette& palette)
{
  using namespace multicolour_files;
  RequireSize(file, FliGraphSize, "FLI Graph");
  Picture picture =
      DrawMc(file, {FliGraphBitmap, FliGraphScreens, FliGraphScreenStep, FliGraphColourRam, -1},
             palette, 0, 0);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < FliGraphHiddenColumns; ++x) {
      picture[std::size_t(PixelIndex(x, y))] = palette[0];
    }
  }
  return picture;
}

// Field 1 or 2 as the C64 shows it: field 2 one hires pixel to the right, its
// column 0 the background colour and its last half pixel hidden in the border.
inline Picture DecodeTruePaint(std::span<const std::uint8_t> file, const C64Palette& palette,
                               int field)
{
  using namespace multicolour_files;
  RequireSize(file, TruePaintSize, "True Paint");
  if (field != 1 && field != 2) {
    throw std::invalid_argument("True Paint field " + std::to_string(field));
  }
  const McParts parts =
      field == 1
          ? McParts{TruePaintBitmap1, TruePaintScreen1, 0, TruePaintColourRam, TruePaintBackground}
          : McParts{TruePaintBitmap2, TruePaintScreen2, 0, TruePaintColourRam, TruePaintBackground};
  const std::uint32_t background = palette[std::size_t(file[TruePaintBackground] & 15)];
  return DrawMc(file, parts, palette, field - 1, background);
}

}  // namespace pavona::testing
