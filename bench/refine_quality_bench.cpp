// How much closer "Refine" brings each mode's picture to the photo: converts
// each photo of the shared photo folder, filled into the part of the frame
// the mode shows as a user places it, in the four hires modes (default
// settings otherwise), with Refine off and on and with "Map colours into
// reach" off and on, and prints for each the blurred PSNR, the SSIM on luma
// and the mean CIEDE2000 against the adjusted frame (see picture_measures.h),
// with the time of the conversion (wall clock and processor time of all
// threads). Then summary lines check what Refine must do: lower SSIM nowhere
// by more than 0.005, lower the mean CIEDE2000 by at least 0.5 and raise PSNR
// by at least 1 dB on average, in at most three times the time. A
// measurement run by hand (scripts/bench.sh refine_quality), not a timed test.
//
// The multicolour modes are absent: their searches draw every cell's pixels
// themselves and Refine does not apply to them.
//
// The photos are found through PAVONA_PHOTOS_DIR, else in shared/photos
// beside the source tree (or beside the folder that holds it); without them
// every benchmark is skipped.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "colour/colour_adjustment.h"
#include "core/convert_run.h"
#include "dither/dither_picture.h"
#include "framing/placement.h"
#include "io/placed_picture_read.h"
#include "picture_measures.h"
#include "plan/conversion_plan.h"

namespace pavona {
namespace {

namespace fs = std::filesystem;

// Each conversion runs this often; the table shows the quickest run.
constexpr int Runs = 3;

// What Refine must keep to (Refine on against off).
constexpr double MostSsimLoss = 0.005;
constexpr double LeastMeanCiede2000Drop = 0.5;
constexpr double LeastMeanPsnrGain = 1.0;
constexpr double MostTimeRatio = 3.0;

const char* const PhotoNames[] = {"coffee.png", "chelsea.png", "rocket.jpg"};

struct ModeRow {
  const char* name;
  GraphicMode mode;
};
const ModeRow Modes[] = {{"hires", GraphicMode::HiresStandard},
                         {"hires-interlaced", GraphicMode::HiresInterlaced},
                         {"fli", GraphicMode::HiresFli},
                         {"fli-interlace", GraphicMode::HiresFliInterlace}};

fs::path PhotoFolder()
{
  if (const char* folder = std::getenv("PAVONA_PHOTOS_DIR")) {
    return folder;
  }
  const fs::path source = fs::path(PAVONA_TEST_DATA_DIR).parent_path().parent_path();
  for (const fs::path& candidate :
       {source / ".." / "shared" / "photos", source / ".." / ".." / "shared" / "photos"}) {
    if (fs::exists(candidate / PhotoNames[0])) {
      return candidate;
    }
  }
  return {};
}

struct Measurement {
  bench::PictureMeasures measures;
  double seconds = 1e9;     // wall clock, the least of the runs
  double cpuSeconds = 1e9;  // of all threads, the least of the runs
  bool done = false;
};

// The processor time of the whole process: on a machine shared with other
// work the wall clock says more about the others than about the conversion.
double ProcessSeconds()
{
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// By refine off/on, then gamut mapping off/on.
int Variant(bool refine, bool map)
{
  return (map ? 2 : 0) + (refine ? 1 : 0);
}

// Results by photo, mode and variant, for the tables at the end.
using Results = std::map<std::string, std::map<std::string, std::array<Measurement, 4>>>;
Results& Table()
{
  static Results table;
  return table;
}

void ConvertAndMeasure(benchmark::State& state, std::string photo, ModeRow mode, bool refine,
                       bool map)
{
  const fs::path folder = PhotoFolder();
  if (folder.empty()) {
    state.SkipWithError("photos not found: set PAVONA_PHOTOS_DIR");
    return;
  }
  Settings settings;
  settings.mode = mode.mode;
  settings.refine = refine;
  settings.mapIntoReach = map;
  const FrameArea shown = PlanConversion(settings).shown;
  Placement fill;
  fill.mode = FitMode::Fill;
  fill.area = shown;
  const PictureFileResult read = ReadPictureForPlacement((folder / photo).string(), fill);
  if (!read.Ok()) {
    state.SkipWithError(read.error.c_str());
    return;
  }
  auto workspace = std::make_unique<Workspace>();
  workspace->source = PlacePicture(read.picture, fill);
  SilentProgress progress;
  Measurement& measurement = Table()[photo][mode.name][Variant(refine, map)];
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessSeconds();
    ConvertRun(*workspace, settings, progress);
    const double cpu = ProcessSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measurement.seconds = std::min(measurement.seconds, wall);
    measurement.cpuSeconds = std::min(measurement.cpuSeconds, cpu);
  }
  auto adjusted = std::make_unique<AdjustedPlanes>();
  AdjustColours(workspace->source, settings.adjustment, *adjusted);
  measurement.measures =
      bench::MeasurePicture(PictureFromPlanes(*adjusted), workspace->result, shown);
  measurement.done = true;
  state.counters["psnr_dB"] = measurement.measures.psnr;
  state.counters["ssim"] = measurement.measures.ssim;
  state.counters["de2000"] = measurement.measures.ciede2000;
}

void RegisterConversions()
{
  for (const char* photo : PhotoNames) {
    for (const ModeRow& mode : Modes) {
      for (const bool map : {false, true}) {
        for (const bool refine : {false, true}) {
          const std::string name = std::string(photo) + "/" + mode.name + (map ? "/map" : "") +
                                   (refine ? "/refine" : "");
          benchmark::RegisterBenchmark(name.c_str(), ConvertAndMeasure, photo, mode, refine, map)
              ->Iterations(Runs)
              ->Unit(benchmark::kMillisecond);
        }
      }
    }
  }
}

const char* Verdict(bool holds)
{
  return holds ? "holds" : "MISSED";
}

// Refine on against off over every photo and mode, with gamut mapping as
// given: the table rows, then whether each target holds.
void PrintGamutSetting(bool map)
{
  std::printf("\nGamut mapping %s; Refine off -> on\n", map ? "on" : "off");
  std::printf("%-12s %-17s %6s %6s %6s  %6s %6s %7s  %5s %5s %6s  %7s %7s %5s %5s\n", "photo",
              "mode", "off dB", "on dB", "gain", "off", "on", "SSIM", "off", "on", "dE00", "off ms",
              "on ms", "ratio", "cpu");
  double psnrGain = 0, ciedeDrop = 0, worstSsim = 1, worstRatio = 0;
  std::string worstSsimAt, worstRatioAt;
  int count = 0;
  for (const auto& [photo, modes] : Table()) {
    for (const auto& [mode, variants] : modes) {
      const Measurement& off = variants[Variant(false, map)];
      const Measurement& on = variants[Variant(true, map)];
      if (!off.done || !on.done) {
        continue;
      }
      const bench::PictureMeasures& a = off.measures;
      const bench::PictureMeasures& b = on.measures;
      const double ratio = on.seconds / off.seconds;
      std::printf(
          "%-12s %-17s %6.2f %6.2f %+6.2f  %6.4f %6.4f %+7.4f  %5.2f %5.2f %+6.2f  %7.1f %7.1f "
          "%5.2f %5.2f\n",
          photo.c_str(), mode.c_str(), a.psnr, b.psnr, b.psnr - a.psnr, a.ssim, b.ssim,
          b.ssim - a.ssim, a.ciede2000, b.ciede2000, b.ciede2000 - a.ciede2000, off.seconds * 1000,
          on.seconds * 1000, ratio, on.cpuSeconds / off.cpuSeconds);
      psnrGain += b.psnr - a.psnr;
      ciedeDrop += a.ciede2000 - b.ciede2000;
      if (b.ssim - a.ssim < worstSsim) {
        worstSsim = b.ssim - a.ssim;
        worstSsimAt = photo + " " + mode;
      }
      if (ratio > worstRatio) {
        worstRatio = ratio;
        worstRatioAt = photo + " " + mode;
      }
      ++count;
    }
  }
  if (count == 0) {
    return;
  }
  std::printf("SSIM change, worst of %d: %+.4f (%s), target >= -%.3f: %s\n", count, worstSsim,
              worstSsimAt.c_str(), MostSsimLoss, Verdict(worstSsim >= -MostSsimLoss));
  std::printf("mean CIEDE2000 drop: %+.2f, target >= %.1f: %s\n", ciedeDrop / count,
              LeastMeanCiede2000Drop, Verdict(ciedeDrop / count >= LeastMeanCiede2000Drop));
  std::printf("mean PSNR gain: %+.2f dB, target >= %.1f dB: %s\n", psnrGain / count,
              LeastMeanPsnrGain, Verdict(psnrGain / count >= LeastMeanPsnrGain));
  std::printf("time ratio (wall clock), worst: %.2f (%s), target <= %.0f: %s\n", worstRatio,
              worstRatioAt.c_str(), MostTimeRatio, Verdict(worstRatio <= MostTimeRatio));
}

}  // namespace
}  // namespace pavona

int main(int argc, char** argv)
{
  pavona::RegisterConversions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  pavona::PrintGamutSetting(false);
  pavona::PrintGamutSetting(true);
  return 0;
}
