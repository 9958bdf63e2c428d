// How close each mode's picture comes to the photo: converts each photo of
// the shared photo folder, filled into the frame as a user would place it,
// in every mode at its default settings, and reports the blurred PSNR
// (Gaussian sigma 1) and the SSIM on luma against the adjusted frame, over
// the part of the frame the mode shows. A measurement run by hand
// (scripts/bench.sh mode_quality), not a timed test. The photos are found
// through PAVONA_PHOTOS_DIR, else in shared/photos beside the source tree.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/convert_run.h"
#include "core/picture_closeness.h"
#include "framing/placement.h"
#include "io/placed_picture_read.h"
#include "picture_measures.h"
#include "plan/conversion_plan.h"

namespace pavona {
namespace {

namespace fs = std::filesystem;

const char* const PhotoNames[] = {"coffee.png", "chelsea.png", "rocket.jpg"};

struct ModeRow {
  const char* name;
  GraphicMode mode;
};
const ModeRow Modes[] = {{"hires", GraphicMode::HiresStandard},
                         {"hires-interlaced", GraphicMode::HiresInterlaced},
                         {"fli", GraphicMode::HiresFli},
                         {"fli-interlace", GraphicMode::HiresFliInterlace},
                         {"multicolour", GraphicMode::Multicolour},
                         {"multicolour-fli", GraphicMode::MulticolourFli},
                         {"multicolour-interlace", GraphicMode::MulticolourInterlace}};

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

void ConvertAndMeasure(benchmark::State& state, std::string photo, ModeRow mode)
{
  Settings settings;
  settings.mode = mode.mode;
  const FrameArea shown = PlanConversion(settings).shown;
  Placement fill;
  fill.mode = FitMode::Fill;
  fill.area = shown;
  const PictureFileResult read = ReadPictureForPlacement((PhotoFolder() / photo).string(), fill);
  if (!read.Ok()) {
    state.SkipWithError(read.error.c_str());
    return;
  }
  auto workspace = std::make_unique<Workspace>();
  workspace->source = PlacePicture(read.picture, fill);
  SilentProgress progress;
  ConversionOutcome outcome;
  for (auto _ : state) {
    outcome = ConvertRun(*workspace, settings, progress);
  }
  // The default adjustment changes nothing, so the frame is the photo.
  state.counters["psnr_dB"] = outcome.closenessDb.value_or(0);
  state.counters["ssim"] = bench::LumaSsim(workspace->source, workspace->result, shown);
}

void RegisterConversions()
{
  for (const char* photo : PhotoNames) {
    for (const ModeRow& mode : Modes) {
      const std::string name = std::string(photo) + "/" + mode.name;
      benchmark::RegisterBenchmark(name.c_str(), ConvertAndMeasure, photo, mode)
          ->Iterations(3)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace
}  // namespace pavona

int main(int argc, char** argv)
{
  pavona::RegisterConversions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
