// Loading a 24-megapixel photo and placing it fitted in the 320 x 200 frame,
// from a baseline JPEG and from a PNG file (each decoded reduced, and whole
// for comparison). The pictures are made once per machine in the temporary folder.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framing/placement.h"
#include "io/picture_file.h"
#include "support/jpeg_encoding.h"

namespace pavona {
namespace {

constexpr int PhotoWidth = 6000;
constexpr int PhotoHeight = 4000;

// Smooth gradients, a few soft shapes and fine grain: compresses about as a
// photo does, not as flat colour.
LoadedPicture PhotoLikePicture()
{
  LoadedPicture picture{PhotoWidth, PhotoHeight,
                        std::vector<std::uint32_t>(std::size_t(PhotoWidth) * PhotoHeight)};
  std::uint32_t seed = 12345;
  for (int y = 0; y < PhotoHeight; ++y) {
    for (int x = 0; x < PhotoWidth; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = int(seed >> 28) - 8;
      const double wave = std::sin(x * 0.003) * std::cos(y * 0.004) * 60;
      const double ring = std::hypot(x - 3000.0, y - 2000.0) < 900 ? 50 : 0;
      const auto channel = [&](double base) {
        return std::clamp(int(base + wave + ring) + grain, 0, 255);
      };
      picture.pixels[std::size_t(y) * PhotoWidth + x] =
          MakeColour(channel(90 + x * 0.02), channel(110 + y * 0.02), channel(140 - x * 0.01));
    }
  }
  return picture;
}

// Writes the picture as an 8-bit RGB PNG file with libpng's simplified API.
bool WritePng(const LoadedPicture& picture, const std::string& path)
{
  std::vector<png_byte> rgb;
  rgb.reserve(picture.pixels.size() * 3);
  for (const std::uint32_t colour : picture.pixels) {
    rgb.insert(rgb.end(),
               {png_byte(RedOf(colour)), png_byte(GreenOf(colour)), png_byte(BlueOf(colour))});
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(picture.width);
  image.height = png_uint_32(picture.height);
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

const std::string& PhotoFile(const char* extension)
{
  static const std::string jpeg =
      (std::filesystem::temp_directory_path() / "pavona-bench-24mp.jpg").string();
  static const std::string png =
      (std::filesystem::temp_directory_path() / "pavona-bench-24mp.png").string();
  static const bool made = [] {
    if (std::filesystem::exists(jpeg) && std::filesystem::exists(png)) {
      return true;
    }
    const LoadedPicture picture = PhotoLikePicture();
    const std::vector<std::uint8_t> bytes = test::EncodeJpeg(picture, 90);
    std::ofstream(jpeg, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return WritePng(picture, png);
  }();
  (void)made;
  return std::string(extension) == "jpg" ? jpeg : png;
}

Placement FitPal()
{
  Placement placement;
  placement.mode = FitMode::Fit;
  return placement;
}

void LoadAndPlace(benchmark::State& state, const std::string& path, bool reduced)
{
  const Placement placement = FitPal();
  for (auto _ : state) {
    PictureFileResult read =
        reduced ? ReadPictureFile(path,
                                  [&](int width, int height) {
                                    return NeededDecodeSize(placement, width, height);
                                  })
                : ReadPictureFile(path);
    if (!read.Ok()) {
      state.SkipWithError(read.error.c_str());
      return;
    }
    const PlacementGeometry geometry =
        GeometryOfPlacement(placement, FileWidthOf(read.picture), FileHeightOf(read.picture));
    Placement centred = placement;
    centred.panX = geometry.centredPanX;
    centred.panY = geometry.centredPanY;
    benchmark::DoNotOptimize(PlacePicture(read.picture, centred));
  }
}

void BM_FitJpeg24MegapixelsReduced(benchmark::State& state)
{
  LoadAndPlace(state, PhotoFile("jpg"), true);
}
BENCHMARK(BM_FitJpeg24MegapixelsReduced)->Unit(benchmark::kMillisecond);

void BM_FitJpeg24MegapixelsWhole(benchmark::State& state)
{
  LoadAndPlace(state, PhotoFile("jpg"), false);
}
BENCHMARK(BM_FitJpeg24MegapixelsWhole)->Unit(benchmark::kMillisecond);

void BM_FitPng24Megapixels(benchmark::State& state)
{
  LoadAndPlace(state, PhotoFile("png"), true);
}
BENCHMARK(BM_FitPng24Megapixels)->Unit(benchmark::kMillisecond);

// Read whole, as for a cut-out.
void BM_FitPng24MegapixelsWhole(benchmark::State& state)
{
  LoadAndPlace(state, PhotoFile("png"), false);
}
BENCHMARK(BM_FitPng24MegapixelsWhole)->Unit(benchmark::kMillisecond);

// The resampling alone, from the whole 24-megapixel picture.
void BM_Resample24MegapixelsToFit(benchmark::State& state)
{
  const LoadedPicture picture = PhotoLikePicture();
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlacePicture(picture, FitPal()));
  }
}
BENCHMARK(BM_Resample24MegapixelsToFit)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pavona
