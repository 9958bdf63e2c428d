#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "colour/progress.h"
#include "support/ppm_frame.h"

namespace pavona::hires_testing {

// The Pepto mix table as a conversion builds it: compacted to the 16 pure
// colours without interlace, with the flicker level's mixes removed otherwise.
inline MixTable PeptoTable(GraphicMode mode, FlickerLevel level)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb, mode);
  if (IsInterlaced(mode)) {
    ReduceFlicker(table, level);
  }
  return table;
}

constexpr Measure AllMeasures[] = {Measure::RgbDistance, Measure::Brightness, Measure::Perceptual};

inline const char* MeasureName(Measure measure)
{
  return measure == Measure::RgbDistance  ? "RGB distance"
         : measure == Measure::Brightness ? "brightness"
                                          : "perceptual";
}

inline void FillCell(Picture& picture, int cx, int cy, std::uint32_t colour)
{
  for (int p = 0; p < 64; ++p) {
    picture[PixelIndex(cx * 8 + p % 8, cy * 8 + p / 8)] = colour;
  }
}

// A photo frame with every pixel replaced by its nearest table colour (plain
// RGB-distance matching, no error diffusion): the kind of picture the
// selection searches get after dithering.
inline Picture DitheredFrame(const std::string& name, const MixTable& table, GraphicMode mode)
{
  Picture picture = testing::ReadPpmFrame(name);
  std::unordered_map<std::uint32_t, std::uint32_t> nearest;
  for (std::uint32_t& pixel : picture) {
    auto [entry, added] = nearest.try_emplace(pixel, 0);
    if (added) {
      entry->second = MatchColour(pixel, table, Measure::RgbDistance, mode);
    }
    pixel = entry->second;
  }
  return picture;
}

// Every call a search makes on its progress report, in order. Each ShowRows
// keeps a copy of the rows it names, to check they were finished by then.
class RecordingProgress final : public ProgressReport {
 public:
  struct ShownRows {
    int firstRow;
    int rowCount;
    std::vector<std::uint32_t> pixels;
  };
  std::vector<std::string> calls;
  std::vector<ShownRows> shown;

  void SetStatus(std::string_view text) override { calls.push_back("status:" + std::string(text)); }
  void SetProgress(int position) override
  {
    calls.push_back("progress:" + std::to_string(position));
  }
  void ShowRows(const Picture& picture, int firstRow, int rowCount) override
  {
    calls.push_back("rows:" + std::to_string(firstRow) + "+" + std::to_string(rowCount));
    shown.push_back(
        {firstRow, rowCount,
         std::vector<std::uint32_t>(picture.begin() + firstRow * PictureWidth,
                                    picture.begin() + (firstRow + rowCount) * PictureWidth)});
  }
  void ShowMixTable(const MixTable&) override { calls.push_back("mix table"); }
  void ReportStrayColour(std::uint32_t) override { calls.push_back("stray colour"); }
};

// Compares the pixels of one cell; a failure names the first that differs
// instead of dumping the whole picture.
inline bool ExpectSameCell(const Picture& expected, const Picture& actual, int cx, int cy)
{
  for (int p = 0; p < 64; ++p) {
    const int index = PixelIndex(cx * 8 + p % 8, cy * 8 + p / 8);
    if (expected[index] != actual[index]) {
      ADD_FAILURE() << "cell (" << cx << ", " << cy << ") pixel " << p << ": expected 0x"
                    << std::hex << expected[index] << ", got 0x" << actual[index];
      return false;
    }
  }
  return true;
}

// The same over whole cell rows, stopping at the first cell that differs.
inline void ExpectSameCells(const Picture& expected, const Picture& actual, int firstCellRow,
                            int cellRows)
{
  for (int cy = firstCellRow; cy < firstCellRow + cellRows; ++cy) {
    for (int cx = 0; cx < 40; ++cx) {
      if (!ExpectSameCell(expected, actual, cx, cy)) {
        return;
      }
    }
  }
}

// True when every byte of the data outside the given regions is 0.
inline bool ZeroOutside(const C64Data& data, const std::vector<C64Region>& written)
{
  for (int offset = 0; offset < C64DataSize; ++offset) {
    bool inside = false;
    for (const C64Region& region : written) {
      inside = inside || (offset >= region.offset && offset < region.offset + region.size);
    }
    if (!inside && data[offset] != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace pavona::hires_testing
