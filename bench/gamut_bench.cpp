// What "Map colours into reach" does to each photo of the shared photo folder
// in every mode at its default settings, with the mapping off and on: the
// mean lightness error (L* of the result less L* of the frame, both blurred
// with a Gaussian of sigma 1.5 in linear light; signed and absolute), the
// mean CIEDE2000 of the same blurred pictures, and the SSIM on luma of both
// blurred with sigma 1 as the eye blurs a dither (and unblurred, where the
// dither's own grain counts as structure); and the time the mapping and its
// reach table take for one frame. A measurement run
// by hand (scripts/bench.sh gamut), not a timed test. The photos are found
// through PAVONA_PHOTOS_DIR, else in shared/photos beside the source tree.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "colour/gamut_mapping.h"
#include "colour/reach_mapping.h"
#include "core/convert_run.h"
#include "framing/placement.h"
#include "io/placed_picture_read.h"
#include "picture_measures.h"
#include "plan/conversion_plan.h"
#include "plan/run_pictures.h"

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

std::unique_ptr<Workspace> PlacedPhoto(benchmark::State& state, const std::string& photo,
                                       FrameArea shown = {})
{
  Placement fill;
  fill.mode = FitMode::Fill;
  fill.area = shown;
  const PictureFileResult read = ReadPictureForPlacement((PhotoFolder() / photo).string(), fill);
  if (!read.Ok()) {
    state.SkipWithError(read.error.c_str());
    return nullptr;
  }
  auto workspace = std::make_unique<Workspace>();
  workspace->source = PlacePicture(read.picture, fill);
  return workspace;
}

void ConvertAndMeasure(benchmark::State& state, std::string photo, ModeRow mode, bool map)
{
  Settings settings;
  settings.mode = mode.mode;
  settings.mapIntoReach = map;
  const FrameArea shown = PlanConversion(settings).shown;
  auto workspace = PlacedPhoto(state, photo, shown);
  if (!workspace) {
    return;
  }
  SilentProgress progress;
  for (auto _ : state) {
    ConvertRun(*workspace, settings, progress);
  }
  // The default adjustment changes nothing, so the frame is the photo.
  const bench::ColourErrors errors =
      bench::MeasureColourErrors(workspace->source, workspace->result, shown);
  state.counters["dL"] = errors.lightness;
  state.counters["absdL"] = errors.absoluteLightness;
  state.counters["de2000"] = errors.ciede2000;
  state.counters["ssim"] = bench::LumaSsim(workspace->source, workspace->result, shown, 1.0);
  state.counters["ssim_unblurred"] = bench::LumaSsim(workspace->source, workspace->result, shown);
}

void MapOneFrame(benchmark::State& state, std::string photo)
{
  auto workspace = PlacedPhoto(state, photo);
  if (!workspace) {
    return;
  }
  Settings settings;
  MixTable table;
  PrepareMixTable(table, PaletteOf(settings), settings, PlanConversion(settings).mixTable);
  ReachMapping mapping;
  mapping.Prepare(table);
  auto planes = std::make_unique<AdjustedPlanes>();
  for (auto _ : state) {
    AdjustColours(workspace->source, settings.adjustment, *planes);
    mapping.Map(*planes);
    benchmark::DoNotOptimize(planes->red[0]);
  }
}

// The reach and the grid made afresh, as the first frame of a palette or
// flicker level needs.
void PrepareMapping(benchmark::State& state)
{
  Settings settings;
  MixTable table;
  PrepareMixTable(table, PaletteOf(settings), settings, PlanConversion(settings).mixTable);
  for (auto _ : state) {
    ReachMapping mapping;
    mapping.Prepare(table);
    benchmark::DoNotOptimize(mapping.MapColour(0xFF0000));
  }
}

void BuildReach(benchmark::State& state)
{
  Settings settings;
  MixTable table;
  PrepareMixTable(table, PaletteOf(settings), settings, PlanConversion(settings).mixTable);
  for (auto _ : state) {
    benchmark::DoNotOptimize(BuildReachTable(table).chroma[0]);
  }
}

void AdjustOnly(benchmark::State& state, std::string photo)
{
  auto workspace = PlacedPhoto(state, photo);
  if (!workspace) {
    return;
  }
  auto planes = std::make_unique<AdjustedPlanes>();
  for (auto _ : state) {
    AdjustColours(workspace->source, ColourAdjustment{}, *planes);
    benchmark::DoNotOptimize(planes->red[0]);
  }
}

void RegisterConversions()
{
  benchmark::RegisterBenchmark("reach-table", BuildReach)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("reach-table+grid", PrepareMapping)->Unit(benchmark::kMillisecond);
  for (const char* photo : PhotoNames) {
    const std::string name = std::string(photo);
    benchmark::RegisterBenchmark((name + "/adjust").c_str(), AdjustOnly, photo)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((name + "/adjust+map").c_str(), MapOneFrame, photo)
        ->Unit(benchmark::kMillisecond);
  }
  for (const char* photo : PhotoNames) {
    for (const ModeRow& mode : Modes) {
      for (const bool map : {false, true}) {
        const std::string name = std::string(photo) + "/" + mode.name + (map ? "/map" : "/off");
        benchmark::RegisterBenchmark(name.c_str(), ConvertAndMeasure, photo, mode, map)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
      }
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
