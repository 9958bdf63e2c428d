// The dithering stage on a real photo frame with the full 136-slot Pepto
// table (RGB mix, "Medium" flicker reduction, "Perceptual" matching: the
// start values of the main window), one benchmark per method. The planes are
// filled straight from the frame, without colour adjustment; refilling them
// is part of every iteration (a copy of 192 KB, small beside the dithering).
#include <benchmark/benchmark.h>

#include "bench_frames.h"
#include "dither/dither_picture.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

using bench::DefaultMode;
using bench::DefaultTable;

const AdjustedPlanes& FramePlanes()
{
  static const AdjustedPlanes planes = [] {
    const Picture frame = testing::ReadPpmFrame("coffee_frame.ppm");
    AdjustedPlanes filled;
    for (int offset = 0; offset < PixelCount; ++offset) {
      filled.red[offset] = std::uint8_t(RedOf(frame[offset]));
      filled.green[offset] = std::uint8_t(GreenOf(frame[offset]));
      filled.blue[offset] = std::uint8_t(BlueOf(frame[offset]));
    }
    return filled;
  }();
  return planes;
}

void Dither(benchmark::State& state, DitherMethod method, bool serpentine, Measure measure)
{
  DitherSettings settings;
  settings.method = method;
  settings.serpentine = serpentine;
  SilentProgress progress;
  std::uint32_t randomState = 1;
  AdjustedPlanes planes;
  for (auto _ : state) {
    planes = FramePlanes();
    DitherPicture(planes, DefaultTable(), measure, DefaultMode, settings, randomState, progress);
    benchmark::DoNotOptimize(planes);
  }
}

#define PAVONA_DITHER_BENCHMARK(name, method, serpentine, measure)                    \
  BENCHMARK_CAPTURE(Dither, name, DitherMethod::method, serpentine, Measure::measure) \
      ->Unit(benchmark::kMillisecond)                                                 \
      ->Repetitions(9)

PAVONA_DITHER_BENCHMARK(CustomSerpentine, Custom, true, Perceptual);
PAVONA_DITHER_BENCHMARK(Custom, Custom, false, Perceptual);
PAVONA_DITHER_BENCHMARK(FloydSteinbergSerpentine, FloydSteinberg, true, Perceptual);
PAVONA_DITHER_BENCHMARK(FloydSteinberg, FloydSteinberg, false, Perceptual);
PAVONA_DITHER_BENCHMARK(None, None, true, Perceptual);
PAVONA_DITHER_BENCHMARK(Ordered2x2, Ordered2x2, true, Perceptual);
PAVONA_DITHER_BENCHMARK(Ordered3x3, Ordered3x3, true, Perceptual);
PAVONA_DITHER_BENCHMARK(Ordered4x4, Ordered4x4, true, Perceptual);
PAVONA_DITHER_BENCHMARK(Ordered8x8, Ordered8x8, true, Perceptual);
PAVONA_DITHER_BENCHMARK(Random, Random, true, Perceptual);
// The default method with the other two measures.
PAVONA_DITHER_BENCHMARK(CustomSerpentineRgbDistance, Custom, true, RgbDistance);
PAVONA_DITHER_BENCHMARK(CustomSerpentineBrightness, Custom, true, Brightness);

}  // namespace
}  // namespace pavona
