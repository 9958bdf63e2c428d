// Matching every pixel of a real photo frame against the full 136-slot Pepto
// table (RGB mix, "Medium" flicker reduction: the start values of the main
// window), once through ColourMatcher, which a stage builds per frame (its
// construction is timed too), and once through the plain MatchColour.
#include <benchmark/benchmark.h>

#include "bench_frames.h"
#include "colour/colour_match.h"
#include "colour/colour_matcher.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

using bench::DefaultMode;
using bench::DefaultTable;

const Picture& Frame()
{
  static const Picture frame = testing::ReadPpmFrame("coffee_frame.ppm");
  return frame;
}

void MatchFrame(benchmark::State& state)
{
  const auto measure = Measure(state.range(0));
  for (auto _ : state) {
    const ColourMatcher matcher(DefaultTable(), measure, DefaultMode);
    std::uint32_t sum = 0;
    for (std::uint32_t pixel : Frame()) {
      sum += matcher.Match(pixel);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * PixelCount);
}

void MatchFramePlain(benchmark::State& state)
{
  const auto measure = Measure(state.range(0));
  for (auto _ : state) {
    std::uint32_t sum = 0;
    for (std::uint32_t pixel : Frame()) {
      sum += MatchColour(pixel, DefaultTable(), measure, DefaultMode);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * PixelCount);
}

// Arguments: 0 "RGB Distance", 1 "'Y' Brightness", 2 "Perceptual".
BENCHMARK(MatchFrame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(9);
BENCHMARK(MatchFramePlain)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(3);

}  // namespace
}  // namespace pavona
