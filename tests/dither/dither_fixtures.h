#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"
#include "colour/yuv.h"
#include "dither/dither_picture.h"
#include "support/ppm_frame.h"

namespace pavona::testing {

constexpr std::uint32_t Grey(int value)
{
  return MakeColour(value, value, value);
}

inline void SetSlot(MixTable& table, int slot, std::uint32_t colour)
{
  const Yuv yuv = ColourToYuv(colour);
  table.colour[slot] = colour;
  table.y[slot] = yuv.y;
  table.u[slot] = yuv.u;
  table.v[slot] = yuv.v;
}

// Slot k holds the grey first + k: under "RGB Distance" a grey in that range
// is its own match, and any other colour matches the grey of its median
// channel (the sum of distances to a grey is least there).
inline MixTable GreyRampTable(int first)
{
  MixTable table;
  for (int slot = 0; slot < MixColourCount; ++slot) {
    SetSlot(table, slot, Grey(first + slot));
  }
  return table;
}

// Every combination of five levels per channel, red outermost, levels
// ascending; slots 125..135 repeat slot 0. Under "RGB Distance" each channel
// then goes to its nearest level on its own, the lower one on a tie.
inline MixTable LevelGridTable(const std::array<int, 5>& levels)
{
  MixTable table;
  int slot = 0;
  for (int r : levels) {
    for (int g : levels) {
      for (int b : levels) {
        SetSlot(table, slot++, MakeColour(r, g, b));
      }
    }
  }
  for (; slot < MixColourCount; ++slot) {
    SetSlot(table, slot, table.colour[0]);
  }
  return table;
}

// Planes are large; tests keep them on the heap.
inline std::unique_ptr<AdjustedPlanes> FlatPlanes(int value, int spare)
{
  auto planes = std::make_unique<AdjustedPlanes>();
  for (auto* plane : {&planes->red, &planes->green, &planes->blue}) {
    plane->fill(std::uint8_t(spare));
    std::fill(plane->begin(), plane->begin() + PixelCount, std::uint8_t(value));
  }
  return planes;
}

inline std::unique_ptr<AdjustedPlanes> FramePlanes(const std::string& name)
{
  const Picture frame = ReadPpmFrame(name);
  auto planes = FlatPlanes(0, 0);
  for (int offset = 0; offset < PixelCount; ++offset) {
    planes->red[offset] = std::uint8_t(RedOf(frame[offset]));
    planes->green[offset] = std::uint8_t(GreenOf(frame[offset]));
    planes->blue[offset] = std::uint8_t(BlueOf(frame[offset]));
  }
  return planes;
}

inline bool SamePlanes(const AdjustedPlanes& a, const AdjustedPlanes& b)
{
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The three bytes at a plane offset, spare bytes included.
inline std::uint32_t BytesAt(const AdjustedPlanes& planes, int offset)
{
  return MakeColour(planes.red[offset], planes.green[offset], planes.blue[offset]);
}

// Everything the stage reports, in order: "status:<text>", "progress:<n>",
// "show:<first>+<count>".
class RecordingProgress final : public ProgressReport {
 public:
  std::vector<std::string> events;
  Picture shown{};

  void SetStatus(std::string_view text) override
  {
    events.push_back("status:" + std::string(text));
  }
  void SetProgress(int position) override
  {
    events.push_back("progress:" + std::to_string(position));
  }
  void ShowRows(const Picture& picture, int firstRow, int rowCount) override
  {
    shown = picture;
    events.push_back("show:" + std::to_string(firstRow) + "+" + std::to_string(rowCount));
  }
  void ShowMixTable(const MixTable&) override {}
  void ReportStrayColour(std::uint32_t) override {}
};

inline DitherSettings Method(DitherMethod method, bool serpentine = true)
{
  DitherSettings settings;
  settings.method = method;
  settings.serpentine = serpentine;
  return settings;
}

// DitherPicture with the "Hires Interlaced" candidates and no progress shown.
inline void Dither(AdjustedPlanes& planes, const MixTable& table, const DitherSettings& settings,
                   Measure measure = Measure::RgbDistance)
{
  std::uint32_t randomState = 1;
  SilentProgress progress;
  DitherPicture(planes, table, measure, GraphicMode::HiresInterlaced, settings, randomState,
                progress);
}

}  // namespace pavona::testing
