// The whole conversion, from the frame as shown to the C64 data after the
// interlace alternation, on a real photo frame.
#include <benchmark/benchmark.h>

#include <memory>

#include "colour/memory_pages.h"
#include "core/convert_run.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

void ConvertPhoto(benchmark::State& state, Settings settings)
{
  KeepFreedMemoryForReuse();  // as the window and the command line do
  auto workspace = std::make_unique<Workspace>();
  workspace->source = testing::ReadPpmFrame("coffee_frame.ppm");
  SilentProgress progress;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ConvertRun(*workspace, settings, progress));
  }
}

Settings WithMode(GraphicMode mode)
{
  Settings settings;
  settings.mode = mode;
  return settings;
}

Settings Extreme()
{
  Settings settings;
  settings.extraBruteForce = true;
  settings.flicker = FlickerLevel::Off;
  return settings;
}

BENCHMARK_CAPTURE(ConvertPhoto, DefaultFliInterlace, Settings{})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertPhoto, HiresStandard, WithMode(GraphicMode::HiresStandard))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertPhoto, HiresInterlaced, WithMode(GraphicMode::HiresInterlaced))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertPhoto, HiresFli, WithMode(GraphicMode::HiresFli))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertPhoto, FliInterlaceExtremeFlickerOff, Extreme())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertPhoto, Multicolour, WithMode(GraphicMode::Multicolour))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertPhoto, MulticolourFli, WithMode(GraphicMode::MulticolourFli))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConvertPhoto, MulticolourInterlace, WithMode(GraphicMode::MulticolourInterlace))
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pavona
