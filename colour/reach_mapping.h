#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "colour/gamut_mapping.h"
#include "colour/mix_table.h"
#include "colour/picture.h"

namespace pavona {

// "Map colours into reach" for whole frames, fast enough for Live: the
// mapping of a grid of colours across the RGB cube, read with trilinear
// interpolation, made once for a mix table and kept while the table's
// colours stay the same (a new frame, brightness or dither reuses it).
class ReachMapping {
 public:
  // Grid points along each channel: 0, 8, ..., 248 and 255.
  static constexpr int GridPoints = 33;

  // Makes the reach and the grid for the table, unless they were made for
  // the same colours last time.
  void Prepare(const MixTable& table);

  // Maps every pixel of the planes (their first 64000 bytes); Prepare first.
  void Map(AdjustedPlanes& planes) const;

  // One colour as Map maps it.
  std::uint32_t MapColour(std::uint32_t colour) const;

 private:
  bool made_ = false;
  std::array<std::uint32_t, MixSlotCount> madeFor_{};
  ReachTable reach_;
  // Red, green and blue (and a spare lane) of each grid point's mapped
  // colour, blue fastest; a point's channels are interpolated as one vector.
  using Channels = float __attribute__((vector_size(16)));
  std::vector<Channels> grid_;
};

}  // namespace pavona
