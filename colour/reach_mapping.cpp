#include "colour/reach_mapping.h"

#include <algorithm>

#include "colour/parallel.h"

namespace pavona {
namespace {

constexpr int Points = ReachMapping::GridPoints;
constexpr int LastCell = Points - 2;

constexpr int GridValue(int point)
{
  return std::min(8 * point, 255);
}

// Where a channel value lies in the grid: the cell below it and how far
// along the cell (0..1).
struct GridPlace {
  int cell;
  float along;
};

struct GridPlaces {
  std::array<GridPlace, 256> of{};
  GridPlaces()
  {
    for (int v = 0; v < 256; ++v) {
      const int cell = std::min(v / 8, LastCell);
      const int low = GridValue(cell), high = GridValue(cell + 1);
      of[v] = {cell, float(v - low) / float(high - low)};
    }
  }
};

const GridPlaces& Places()
{
  static const GridPlaces places;
  return places;
}

constexpr int GridIndex(int r, int g, int b)
{
  return (r * Points + g) * Points + b;
}

int Rounded(float value)
{
  return std::clamp(int(value + 0.5f), 0, 255);
}

}  // namespace

void ReachMapping::Prepare(const MixTable& table)
{
  if (made_ && madeFor_ == table.colour) {
    return;
  }
  reach_ = BuildReachTable(table);
  grid_.resize(Points * Points * Points);
  ParallelFor(Points, [&](int r) {
    for (int g = 0; g < Points; ++g) {
      for (int b = 0; b < Points; ++b) {
        const std::uint32_t mapped =
            MapColourIntoReachQuickly(reach_, MakeColour(GridValue(r), GridValue(g), GridValue(b)));
        grid_[GridIndex(r, g, b)] =
            Channels{float(RedOf(mapped)), float(GreenOf(mapped)), float(BlueOf(mapped)), 0};
      }
    }
  });
  madeFor_ = table.colour;
  made_ = true;
}

std::uint32_t ReachMapping::MapColour(std::uint32_t colour) const
{
  const GridPlaces& places = Places();
  const GridPlace r = places.of[RedOf(colour)], g = places.of[GreenOf(colour)],
                  b = places.of[BlueOf(colour)];
  const Channels* low = &grid_[GridIndex(r.cell, g.cell, b.cell)];
  const Channels* high = low + Points * Points;
  const auto along = [](Channels from, Channels to, float share) {
    return from + share * (to - from);
  };
  const Channels x00 = along(low[0], low[1], b.along);
  const Channels x01 = along(low[Points], low[Points + 1], b.along);
  const Channels x10 = along(high[0], high[1], b.along);
  const Channels x11 = along(high[Points], high[Points + 1], b.along);
  const Channels mapped = along(along(x00, x01, g.along), along(x10, x11, g.along), r.along);
  const int channels[3] = {Rounded(mapped[0]), Rounded(mapped[1]), Rounded(mapped[2])};
  return MakeColour(channels[0], channels[1], channels[2]);
}

void ReachMapping::Map(AdjustedPlanes& planes) const
{
  // One thread: the whole frame takes about half a millisecond, less than
  // starting others would cost on a busy machine. The last pixel is
  // remembered, as runs of one colour are common in a photo's flat parts
  // and in its borders.
  std::uint32_t last = ~0u, lastMapped = 0;
  for (int i = 0; i < PixelCount; ++i) {
    const std::uint32_t colour = MakeColour(planes.red[i], planes.green[i], planes.blue[i]);
    if (colour != last) {
      last = colour;
      lastMapped = MapColour(colour);
    }
    if (lastMapped != colour) {
      planes.red[i] = std::uint8_t(RedOf(lastMapped));
      planes.green[i] = std::uint8_t(GreenOf(lastMapped));
      planes.blue[i] = std::uint8_t(BlueOf(lastMapped));
    }
  }
}

}  // namespace pavona
