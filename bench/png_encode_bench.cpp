// Encoding the 320 x 200 PNG files the command line and the window write: the
// result and the dithered picture of a default conversion of a photo frame,
// and the photo frame itself (every colour different, the hardest case).
// The "bytes" counter is the size of the file.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/convert_run.h"
#include "io/png_writer.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

enum class Shown { Result, Dithered, Frame };

const Workspace& ConvertedPhoto()
{
  static const std::unique_ptr<Workspace> workspace = [] {
    auto converted = std::make_unique<Workspace>();
    converted->source = testing::ReadPpmFrame("coffee_frame.ppm");
    SilentProgress progress;
    (void)ConvertRun(*converted, Settings{}, progress);
    return converted;
  }();
  return *workspace;
}

void EncodePngBench(benchmark::State& state, Shown shown)
{
  const Workspace& workspace = ConvertedPhoto();
  const Picture& picture = shown == Shown::Result     ? workspace.result
                           : shown == Shown::Dithered ? workspace.dithered
                                                      : workspace.source;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const PngBytesResult png = EncodePng(picture);
    bytes = png.bytes.size();
    benchmark::DoNotOptimize(png.bytes.data());
  }
  state.counters["bytes"] = double(bytes);
}

BENCHMARK_CAPTURE(EncodePngBench, Result, Shown::Result)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EncodePngBench, Dithered, Shown::Dithered)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EncodePngBench, PhotoFrame, Shown::Frame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pavona
