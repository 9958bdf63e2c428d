// The FLI colour searches on a photo frame matched onto the Pepto table, and
// the plain transcriptions once each for comparison.

#include <benchmark/benchmark.h>

#include <memory>

#include "select/fli_colours.h"
#include "select/fli_extreme.h"
#include "select/fli_four_colours.h"
#include "select/fli_interlace_colours.h"
#include "select/plain_fli_searches.h"
#include "select/select_frames.h"

namespace pavona {
namespace {

constexpr GraphicMode Fli = GraphicMode::HiresFli;
constexpr GraphicMode Interlace = GraphicMode::HiresFliInterlace;

struct Frame {
  MixTable table;
  Picture picture;
};

Frame FrameFor(GraphicMode mode, FlickerLevel flicker, Measure measure)
{
  const MixTable table = testing::PeptoTable(mode, flicker);
  return {table, testing::MatchedFrame("coffee_frame.ppm", table, measure, mode)};
}

const Frame& FliFrame()
{
  static const Frame frame = FrameFor(Fli, FlickerLevel::Off, Measure::Perceptual);
  return frame;
}

const Frame& InterlaceFrame(FlickerLevel flicker)
{
  static const Frame medium = FrameFor(Interlace, FlickerLevel::Medium, Measure::Perceptual);
  static const Frame off = FrameFor(Interlace, FlickerLevel::Off, Measure::Perceptual);
  return flicker == FlickerLevel::Off ? off : medium;
}

// Each iteration starts from the matched frame and cleared C64 data, as in a
// conversion; the copies are not timed.
template <typename Search>
void RunSearch(benchmark::State& state, const Frame& frame, Search search)
{
  auto picture = std::make_unique<Picture>();
  auto table = std::make_unique<MixTable>();
  auto data = std::make_unique<C64Data>();
  for (auto _ : state) {
    state.PauseTiming();
    *picture = frame.picture;
    *table = frame.table;
    data->fill(0);
    state.ResumeTiming();
    search(*picture, *table, *data);
    benchmark::DoNotOptimize(picture->data());
  }
}

void SelectFliColoursBench(benchmark::State& state)
{
  SilentProgress progress;
  RunSearch(state, FliFrame(), [&](Picture& p, MixTable& t, C64Data& d) {
    SelectFliColours(p, t, Measure::Perceptual, d, progress);
  });
}
BENCHMARK(SelectFliColoursBench)->Unit(benchmark::kMillisecond);

void SelectFliInterlaceColoursBench(benchmark::State& state)
{
  SilentProgress progress;
  RunSearch(state, InterlaceFrame(FlickerLevel::Medium), [&](Picture& p, MixTable& t, C64Data&) {
    SelectFliInterlaceColours(p, t, Measure::Perceptual, progress);
  });
}
BENCHMARK(SelectFliInterlaceColoursBench)->Unit(benchmark::kMillisecond);

void SelectFliFourColoursBench(benchmark::State& state)
{
  SilentProgress progress;
  RunSearch(state, InterlaceFrame(FlickerLevel::Medium), [&](Picture& p, MixTable& t, C64Data& d) {
    SelectFliFourColours(p, t, Measure::Perceptual, d, progress);
  });
}
BENCHMARK(SelectFliFourColoursBench)->Unit(benchmark::kMillisecond);

void SelectFliColoursExtremeBench(benchmark::State& state)
{
  SilentProgress progress;
  RunSearch(state, FliFrame(), [&](Picture& p, MixTable& t, C64Data& d) {
    SelectFliColoursExtreme(p, t, Measure::Perceptual, d, progress);
  });
}
BENCHMARK(SelectFliColoursExtremeBench)->Unit(benchmark::kMillisecond);

// Argument: 0 for "Off" (all 9316 pairs live, the worst case), 1 for "Medium".
void SelectFliFourColoursExtremeBench(benchmark::State& state)
{
  SilentProgress progress;
  const FlickerLevel flicker = state.range(0) == 0 ? FlickerLevel::Off : FlickerLevel::Medium;
  RunSearch(state, InterlaceFrame(flicker), [&](Picture& p, MixTable& t, C64Data& d) {
    SelectFliFourColoursExtreme(p, t, d, progress);
  });
}
BENCHMARK(SelectFliFourColoursExtremeBench)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The plain transcriptions, once each: the baseline of the speed-up.
void PlainSelectFliColoursBench(benchmark::State& state)
{
  std::vector<std::uint32_t> strays;
  RunSearch(state, FliFrame(), [&](Picture& p, MixTable& t, C64Data& d) {
    testing::PlainSelectFliColours(p, t, Measure::Perceptual, d, strays);
  });
}
BENCHMARK(PlainSelectFliColoursBench)->Iterations(1)->Unit(benchmark::kMillisecond);

void PlainSelectFliInterlaceColoursBench(benchmark::State& state)
{
  RunSearch(state, InterlaceFrame(FlickerLevel::Medium), [&](Picture& p, MixTable&, C64Data&) {
    testing::PlainSelectFliInterlaceColours(p, Measure::Perceptual);
  });
}
BENCHMARK(PlainSelectFliInterlaceColoursBench)->Iterations(1)->Unit(benchmark::kMillisecond);

void PlainSelectFliFourColoursBench(benchmark::State& state)
{
  std::vector<std::uint32_t> strays;
  RunSearch(state, InterlaceFrame(FlickerLevel::Medium), [&](Picture& p, MixTable& t, C64Data& d) {
    testing::PlainSelectFliFourColours(p, t, Measure::Perceptual, d, strays);
  });
}
BENCHMARK(PlainSelectFliFourColoursBench)->Iterations(1)->Unit(benchmark::kMillisecond);

void PlainSelectFliColoursExtremeBench(benchmark::State& state)
{
  RunSearch(state, FliFrame(), [&](Picture& p, MixTable& t, C64Data& d) {
    testing::PlainSelectFliColoursExtreme(p, t, Measure::Perceptual, d);
  });
}
BENCHMARK(PlainSelectFliColoursExtremeBench)->Iterations(1)->Unit(benchmark::kMillisecond);

void PlainSelectFliFourColoursExtremeBench(benchmark::State& state)
{
  RunSearch(state, InterlaceFrame(FlickerLevel::Off), [&](Picture& p, MixTable& t, C64Data& d) {
    testing::PlainSelectFliFourColoursExtreme(p, t, d);
  });
}
BENCHMARK(PlainSelectFliFourColoursExtremeBench)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pavona
