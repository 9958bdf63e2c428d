#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "colour/yuv.h"
#include "dither/dither_picture.h"
#include "select/cell_distance.h"
#include "support/ppm_frame.h"

namespace pavona::mc_testing {

// The Pepto table of a multicolour mode: the 16 pure colours, or the 136
// mixes with the flicker level's removed.
inline MixTable PeptoTable(GraphicMode mode, FlickerLevel flicker = FlickerLevel::Medium)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb, mode);
  if (IsInterlaced(mode)) {
    ReduceFlicker(table, flicker);
  }
  return table;
}

// A photo frame dithered as a conversion does (the default dithering). In
// the modes without interlace each right hires pixel then repeats the left
// one, as a multicolour pixel is two equal hires pixels.
inline std::unique_ptr<Picture> DitheredFrame(const std::string& name, const MixTable& table,
                                              Measure measure, GraphicMode mode)
{
  const Picture frame = testing::ReadPpmFrame(name);
  auto planes = std::make_unique<AdjustedPlanes>();
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      StoreAdjustedPixel(*planes, x, y, frame[PixelIndex(x, y)]);
    }
  }
  std::uint32_t randomState = 1;
  SilentProgress silent;
  DitherPicture(*planes, table, measure, mode, DitherSettings{}, randomState, silent);
  auto picture = std::make_unique<Picture>(PictureFromPlanes(*planes));
  if (!IsInterlaced(mode)) {
    for (int i = 0; i < PixelCount; i += 2) {
      (*picture)[i + 1] = (*picture)[i];
    }
  }
  return picture;
}

// A picture of `background` with random multicolour pixels of the table's
// first `colours` slots in the given cells.
struct Cell {
  int cx, cy;
};
inline std::unique_ptr<Picture> FewCells(const MixTable& table, std::uint32_t background,
                                         const std::vector<Cell>& cells, unsigned seed)
{
  std::mt19937 random(seed);
  auto picture = std::make_unique<Picture>();
  picture->fill(background);
  for (const Cell& cell : cells) {
    for (int row = 0; row < 8; ++row) {
      for (int pixel = 0; pixel < 4; ++pixel) {
        const int x = cell.cx * 8 + pixel * 2;
        const std::uint32_t colour = table.colour[random() % 16];
        (*picture)[PixelIndex(x, cell.cy * 8 + row)] = colour;
        (*picture)[PixelIndex(x + 1, cell.cy * 8 + row)] = colour;
      }
    }
  }
  return picture;
}

inline std::uint32_t Distance(Measure measure, std::uint32_t pixel, std::uint32_t shown)
{
  return CellDistance(measure, pixel, ColourToYuv(pixel), shown, ColourToYuv(shown));
}

// The error of the shown picture against the dithered one, pixel by pixel
// (`step` 2: each multicolour pixel once).
inline std::uint64_t TotalError(const Picture& dithered, const Picture& shown, Measure measure,
                                int step)
{
  std::uint64_t error = 0;
  for (int i = 0; i < PixelCount; i += step) {
    error += Distance(measure, dithered[i], shown[i]);
  }
  return error;
}

// The colour number a multicolour pixel's bit pair picks.
inline int SourceOf(int bits, int background, std::uint8_t screen, std::uint8_t ram)
{
  const int sources[4] = {background, screen >> 4, screen & 15, ram & 15};
  return sources[bits];
}

inline int McBitsAt(const C64Data& data, C64Region bitmap, int mcX, int y)
{
  return MulticolourBits(data[std::size_t(bitmap.offset + BitmapOffset(mcX / 4, y / 8, y % 8))],
                         mcX % 4);
}

// True when every byte outside the given regions (and the background byte)
// is 0.
inline bool ZeroOutside(const C64Data& data, const std::vector<C64Region>& written)
{
  for (int offset = 0; offset < C64DataSize; ++offset) {
    bool inside = offset == MulticolourLayout::McBackground;
    for (const C64Region& region : written) {
      inside = inside || (offset >= region.offset && offset < region.offset + region.size);
    }
    if (!inside && data[std::size_t(offset)] != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace pavona::mc_testing
