// How much closer "Refine" brings each mode's picture to the photo: converts
// the 320 x 200 cut-out at 0,0 of each photo of the shared photo folder in the
// four modes (default settings otherwise), refine off and on, and prints the
// PSNR of each against the adjusted frame, both blurred with a Gaussian of
// sigma 1 pixel, over the columns the mode shows, with the time of each
// conversion (wall clock and processor time of all threads). A measurement run by
// hand (scripts/bench.sh refine_quality), not a timed test.
//
// The photos are found through PAVONA_PHOTOS_DIR, else in shared/photos beside
// the source tree (or beside the folder that holds it); without them every
// benchmark is skipped.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "colour/colour_adjustment.h"
#include "core/convert_run.h"
#include "core/picture_closeness.h"
#include "dither/dither_picture.h"
#include "framing/source_frame.h"
#include "io/picture_file.h"
#include "plan/conversion_plan.h"

namespace pavona {
namespace {

namespace fs = std::filesystem;

// Each conversion runs this often; the table shows the quickest run.
constexpr int Runs = 3;

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
  double psnr = 0;
  double seconds = 0;     // wall clock, the least of the runs
  double cpuSeconds = 0;  // of all threads, the least of the runs
};

// The processor time of the whole process: on a machine shared with other
// work the wall clock says more about the others than about the conversion.
double ProcessSeconds()
{
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Results by photo, mode and refine setting, for the table at the end.
std::map<std::string, std::map<std::string, std::pair<Measurement, Measurement>>>& Table()
{
  static std::map<std::string, std::map<std::string, std::pair<Measurement, Measurement>>> table;
  return table;
}

void ConvertAndMeasure(benchmark::State& state, std::string photo, ModeRow mode, bool refine)
{
  const fs::path folder = PhotoFolder();
  if (folder.empty()) {
    state.SkipWithError("photos not found: set PAVONA_PHOTOS_DIR");
    return;
  }
  PictureFileResult read = ReadPictureFile((folder / photo).string());
  if (!read.Ok()) {
    state.SkipWithError(read.error.c_str());
    return;
  }
  auto workspace = std::make_unique<Workspace>();
  workspace->source = FrameFromPicture(read.picture, 0, 0);
  Settings settings;
  settings.mode = mode.mode;
  settings.refine = refine;
  SilentProgress progress;
  Measurement measurement{0, 1e9, 1e9};
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
  measurement.psnr = BlurredPsnr(PictureFromPlanes(*adjusted), workspace->result,
                                 PlanConversion(settings).firstColumn);
  state.counters["psnr_dB"] = measurement.psnr;
  state.counters["cpu_ms"] = measurement.cpuSeconds * 1000;
  auto& cell = Table()[photo][mode.name];
  (refine ? cell.second : cell.first) = measurement;
}

void RegisterConversions()
{
  for (const char* photo : PhotoNames) {
    for (const ModeRow& mode : Modes) {
      for (bool refine : {false, true}) {
        const std::string name = std::string(photo) + "/" + mode.name + (refine ? "/refine" : "");
        benchmark::RegisterBenchmark(name.c_str(), ConvertAndMeasure, photo, mode, refine)
            ->Iterations(Runs)
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
}

void PrintTable()
{
  if (Table().empty()) {
    return;
  }
  std::printf("\n%-12s %-17s %7s %7s %6s %8s %8s %6s %8s %8s %6s\n", "photo", "mode", "off dB",
              "on dB", "gain", "off ms", "on ms", "ratio", "off cpu", "on cpu", "ratio");
  double gains = 0;
  int count = 0;
  for (const auto& [photo, modes] : Table()) {
    for (const auto& [mode, pair] : modes) {
      const auto& [off, on] = pair;
      const double gain = on.psnr - off.psnr;
      std::printf("%-12s %-17s %7.2f %7.2f %+6.2f %8.1f %8.1f %6.2f %8.1f %8.1f %6.2f\n",
                  photo.c_str(), mode.c_str(), off.psnr, on.psnr, gain, off.seconds * 1000,
                  on.seconds * 1000, on.seconds / off.seconds, off.cpuSeconds * 1000,
                  on.cpuSeconds * 1000, on.cpuSeconds / off.cpuSeconds);
      gains += gain;
      ++count;
    }
  }
  std::printf("mean gain over %d conversions: %+.2f dB\n", count, gains / count);
}

}  // namespace
}  // namespace pavona

int main(int argc, char** argv)
{
  pavona::RegisterConversions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  pavona::PrintTable();
  return 0;
}
