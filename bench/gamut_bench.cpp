// What "Map colours into reach" does to each photo of the shared photo folder
// in every mode at its default settings, with the mapping off and on: the
// mean lightness error (L* of the result less L* of the frame, both blurred
// with a Gaussian of sigma 1.5 in linear light; signed and absolute), the
// mean CIEDE2000 of the same blurred pictures, and the SSIM on luma; and the
// time the mapping and its reach table take for one frame. A measurement run
// by hand (scripts/bench.sh gamut), not a timed test. The photos are found
// through PAVONA_PHOTOS_DIR, else in shared/photos beside the source tree.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>

#include "colour/gamut_mapping.h"
#include "colour/reach_mapping.h"
#include "core/convert_run.h"
#include "framing/placement.h"
#include "io/placed_picture_read.h"
#include "luma_ssim.h"
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

double Linear(int value)
{
  const double v = value / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// The picture blurred in linear light, back as 8-bit sRGB.
Picture BlurredInLinearLight(const Picture& picture)
{
  std::vector<double> planes[3];
  for (auto& plane : planes) {
    plane.resize(PixelCount);
  }
  for (int i = 0; i < PixelCount; ++i) {
    planes[0][i] = Linear(RedOf(picture[i]));
    planes[1][i] = Linear(GreenOf(picture[i]));
    planes[2][i] = Linear(BlueOf(picture[i]));
  }
  const auto encode = [](double linear) {
    const double v =
        linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return int(std::lround(std::clamp(v, 0.0, 1.0) * 255));
  };
  for (auto& plane : planes) {
    plane = bench::GaussianWindowMean(plane);
  }
  Picture blurred;
  for (int i = 0; i < PixelCount; ++i) {
    blurred[i] = MakeColour(encode(planes[0][i]), encode(planes[1][i]), encode(planes[2][i]));
  }
  return blurred;
}

// CIEDE2000 (Sharma, Wu and Dalal 2005), kL = kC = kH = 1.
double Ciede2000(const Lab& p, const Lab& q)
{
  constexpr double Pi = std::numbers::pi;
  const auto degrees = [](double radians) { return radians * 180 / Pi; };
  const auto radians = [](double deg) { return deg * Pi / 180; };
  const double c1 = std::hypot(p.a, p.b), c2 = std::hypot(q.a, q.b);
  const double meanC7 = std::pow((c1 + c2) / 2, 7);
  const double g = 0.5 * (1 - std::sqrt(meanC7 / (meanC7 + std::pow(25.0, 7))));
  const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
  const double cp1 = std::hypot(a1, p.b), cp2 = std::hypot(a2, q.b);
  const auto hue = [&](double b, double a) {
    if (a == 0 && b == 0) {
      return 0.0;
    }
    const double h = degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
  };
  const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);
  const double dL = q.l - p.l, dC = cp2 - cp1;
  double dh = 0;
  if (cp1 * cp2 != 0) {
    dh = h2 - h1;
    dh = dh > 180 ? dh - 360 : dh < -180 ? dh + 360 : dh;
  }
  const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));
  const double meanL = (p.l + q.l) / 2, meanCp = (cp1 + cp2) / 2;
  double meanH = h1 + h2;
  if (cp1 * cp2 != 0) {
    meanH = std::abs(h1 - h2) <= 180 ? (h1 + h2) / 2
            : h1 + h2 < 360          ? (h1 + h2 + 360) / 2
                                     : (h1 + h2 - 360) / 2;
  }
  const double t = 1 - 0.17 * std::cos(radians(meanH - 30)) + 0.24 * std::cos(radians(2 * meanH)) +
                   0.32 * std::cos(radians(3 * meanH + 6)) -
                   0.20 * std::cos(radians(4 * meanH - 63));
  const double dTheta = 30 * std::exp(-std::pow((meanH - 275) / 25, 2));
  const double meanCp7 = std::pow(meanCp, 7);
  const double rc = 2 * std::sqrt(meanCp7 / (meanCp7 + std::pow(25.0, 7)));
  const double l50 = (meanL - 50) * (meanL - 50);
  const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
  const double sc = 1 + 0.045 * meanCp, sh = 1 + 0.015 * meanCp * t;
  const double rt = -std::sin(radians(2 * dTheta)) * rc;
  return std::sqrt((dL / sl) * (dL / sl) + (dC / sc) * (dC / sc) + (dH / sh) * (dH / sh) +
                   rt * (dC / sc) * (dH / sh));
}

struct ColourErrors {
  double lightness = 0;          // mean L* of the result less that of the frame
  double absoluteLightness = 0;  // the mean of its size
  double ciede2000 = 0;
};

ColourErrors MeasureColourErrors(const Picture& frame, const Picture& result, int firstColumn)
{
  const Picture a = BlurredInLinearLight(frame), b = BlurredInLinearLight(result);
  ColourErrors errors;
  int count = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = firstColumn; x < PictureWidth; ++x) {
      const Lab p = ColourToLab(a[PixelIndex(x, y)]), q = ColourToLab(b[PixelIndex(x, y)]);
      errors.lightness += q.l - p.l;
      errors.absoluteLightness += std::abs(q.l - p.l);
      errors.ciede2000 += Ciede2000(p, q);
      ++count;
    }
  }
  errors.lightness /= count;
  errors.absoluteLightness /= count;
  errors.ciede2000 /= count;
  return errors;
}

std::unique_ptr<Workspace> PlacedPhoto(benchmark::State& state, const std::string& photo)
{
  Placement fill;
  fill.mode = FitMode::Fill;
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
  auto workspace = PlacedPhoto(state, photo);
  if (!workspace) {
    return;
  }
  Settings settings;
  settings.mode = mode.mode;
  settings.mapIntoReach = map;
  SilentProgress progress;
  for (auto _ : state) {
    ConvertRun(*workspace, settings, progress);
  }
  // The default adjustment changes nothing, so the frame is the photo.
  const int firstColumn = PlanConversion(settings).firstColumn;
  const ColourErrors errors =
      MeasureColourErrors(workspace->source, workspace->result, firstColumn);
  state.counters["dL"] = errors.lightness;
  state.counters["absdL"] = errors.absoluteLightness;
  state.counters["de2000"] = errors.ciede2000;
  state.counters["ssim"] = bench::LumaSsim(workspace->source, workspace->result, firstColumn);
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
