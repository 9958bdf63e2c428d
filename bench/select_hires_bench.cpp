// The hires colour selections on a real photo frame, matched to the mix
// colours by plain nearest-colour matching as the conversion would dither it.
#include <benchmark/benchmark.h>

#include <memory>

#include "c64/c64_data.h"
#include "colour/colour_matcher.h"
#include "select/hires_colours.h"
#include "select/hires_interlace_colours.h"
#include "select/select_frames.h"
#include "select/single_bank_colours.h"
#include "support/ppm_frame.h"

// The plain exhaustive search, for the speed-up figure. It is test code, so
// it is compiled into this program directly rather than into the library.
#include "select/plain_hires_selection.cpp"

namespace pavona {
namespace {

constexpr const char* Frame = "coffee_frame.ppm";

using testing::PeptoTable;

std::unique_ptr<Picture> Dithered(const MixTable& table, GraphicMode mode)
{
  auto picture = std::make_unique<Picture>(testing::ReadPpmFrame(Frame));
  const ColourMatcher matcher(table, Measure::Perceptual, mode);
  for (std::uint32_t& pixel : *picture) {
    pixel = matcher.Match(pixel);
  }
  return picture;
}

// Each iteration starts from the dithered frame and cleared C64 data, as in a
// conversion; the copy is timed with the search.
template <typename Search>
void RunSearch(benchmark::State& state, const Picture& dithered, Search search)
{
  auto result = std::make_unique<Picture>();
  for (auto _ : state) {
    *result = dithered;
    C64Data data{};
    search(*result, data);
    benchmark::DoNotOptimize(data);
  }
}

void BM_SelectHiresColours(benchmark::State& state)
{
  const MixTable table = PeptoTable(GraphicMode::HiresStandard, FlickerLevel::Off);
  SilentProgress silent;
  RunSearch(state, *Dithered(table, GraphicMode::HiresStandard), [&](Picture& p, C64Data& d) {
    SelectHiresColours(p, table, Measure::Perceptual, d, silent);
  });
}
BENCHMARK(BM_SelectHiresColours)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument: the flicker level; "Off" leaves all 9316 candidates in play.
void BM_SelectHiresInterlaceColours(benchmark::State& state)
{
  const auto level = FlickerLevel(state.range(0));
  const MixTable table = PeptoTable(GraphicMode::HiresInterlaced, level);
  SilentProgress silent;
  RunSearch(state, *Dithered(table, GraphicMode::HiresInterlaced),
            [&](Picture& p, C64Data& d) { SelectHiresInterlaceColours(p, table, d, silent); });
}
BENCHMARK(BM_SelectHiresInterlaceColours)
    ->Arg(int(FlickerLevel::Off))
    ->Arg(int(FlickerLevel::Medium))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_PlainHiresInterlaceColours(benchmark::State& state)
{
  const MixTable table = PeptoTable(GraphicMode::HiresInterlaced, FlickerLevel::Off);
  RunSearch(state, *Dithered(table, GraphicMode::HiresInterlaced), [&](Picture& p, C64Data& d) {
    for (int cy = 0; cy < 25; ++cy) {
      for (int cx = 0; cx < 40; ++cx) {
        plain_hires::SelectHiresInterlaceCell(p, table, d, cx, cy);
      }
    }
  });
}
BENCHMARK(BM_PlainHiresInterlaceColours)->Unit(benchmark::kMillisecond)->Iterations(1);

// Arguments: the measure, then the flicker level that sets the brightness limit.
template <void (*Search)(Picture&, const C64Palette&, Measure, FlickerLevel, C64Data&,
                         ProgressReport&)>
void BM_SingleBank(benchmark::State& state)
{
  const auto measure = Measure(state.range(0));
  const auto level = FlickerLevel(state.range(1));
  const C64Palette& palette = PaletteColours(PaletteId::Pepto);
  // With shared colour banks the conversion removes no mixes.
  const MixTable table = PeptoTable(GraphicMode::HiresFliInterlace, FlickerLevel::Off);
  SilentProgress silent;
  RunSearch(state, *Dithered(table, GraphicMode::HiresFliInterlace),
            [&](Picture& p, C64Data& d) { Search(p, palette, measure, level, d, silent); });
}

void SingleBankArguments(benchmark::internal::Benchmark* bench)
{
  for (Measure measure : {Measure::RgbDistance, Measure::Perceptual}) {
    bench->Args({int(measure), int(FlickerLevel::Medium)});
  }
}

BENCHMARK(BM_SingleBank<SelectSingleBankHiresColours>)
    ->Name("BM_SelectSingleBankHiresColours")
    ->Apply(SingleBankArguments)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SingleBank<SelectSingleBankFliColours>)
    ->Name("BM_SelectSingleBankFliColours")
    ->Apply(SingleBankArguments)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace pavona
