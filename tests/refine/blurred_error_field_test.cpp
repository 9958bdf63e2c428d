#include "refine/blurred_error_field.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "core/convert_run.h"
#include "support/plain_blurred_error.h"
#include "support/ppm_frame.h"

namespace pavona {
namespace {

using testing::PlainBlurredError;
using testing::PlainGradient;
using testing::PlainSquares;
using testing::Plane;
using testing::ReadPpmFrame;

// A converted photo frame and the frame it stands for.
struct Pair {
  Picture shown;
  Picture target;
};

std::unique_ptr<Pair> ConvertedFrame(const char* frame)
{
  auto workspace = std::make_unique<Workspace>();
  workspace->source = ReadPpmFrame(frame);
  Settings settings;
  settings.mode = GraphicMode::HiresStandard;
  SilentProgress progress;
  ConvertRun(*workspace, settings, progress);
  auto pair = std::make_unique<Pair>();
  pair->shown = workspace->result;
  pair->target = workspace->source;  // no adjustment at the defaults
  return pair;
}

// Pixels in the corners, on the edges, beside the first counted column and
// inside.
struct Place {
  const char* name;
  int x, y;
};
constexpr Place Places[] = {{"top left", 0, 0},          {"bottom right", 319, 199},
                            {"top edge", 150, 1},        {"first counted column", 24, 100},
                            {"just left of it", 22, 57}, {"inside", 201, 133}};

// The kept gradients are those of the plain sums, with every column counted
// and from column 24 on.
TEST(BlurredErrorField, KeepsTheGradientOfThePlainSums)
{
  const auto pair = ConvertedFrame("chelsea_frame.ppm");
  for (int firstColumn : {0, 24}) {
    SCOPED_TRACE(firstColumn);
    std::vector<Channels> buffer;
    BlurredErrorField field(pair->shown, pair->target, firstColumn, buffer);
    Picture shown = pair->shown;
    // Checked as made, after single pixels changed (Change), and after runs
    // of a row changed (ChangeRun).
    for (int round = 0; round < 3; ++round) {
      const Plane error = PlainBlurredError(shown, pair->target);
      for (const Place& place : Places) {
        SCOPED_TRACE(std::string(place.name) + " round " + std::to_string(round));
        const auto plain = PlainGradient(error, firstColumn, place.x, place.y);
        const Channels kept = field.Gradient(place.x, place.y);
        for (int c = 0; c < 3; ++c) {
          EXPECT_NEAR(kept[c], plain[c], 1e-3 + 1e-4 * std::abs(plain[c]));
        }
      }
      // Change the chosen pixels and those beside them to another colour.
      for (const Place& place : Places) {
        const int count = std::min(round == 0 ? 3 : 8, PictureWidth - place.x);
        std::array<Channels, 8> deltas;
        for (int dx = 0; dx < count; ++dx) {
          std::uint32_t& pixel = shown[PixelIndex(place.x + dx, place.y)];
          const std::uint32_t changed = pixel ^ (0x804020 >> dx);
          deltas[dx] = ColourDifference(changed, pixel);
          pixel = changed;
          if (round == 0) {
            field.Change(place.x + dx, place.y, deltas[dx]);
          }
        }
        if (round == 1) {
          field.ChangeRun(place.x, place.y, deltas.data(), count);
        }
      }
    }
  }
}

// What the gradient and the overlaps predict for a change of one pixel, and
// of two near each other, is what the plain sum of squares says.
TEST(BlurredErrorField, PredictsTheChangeOfTheError)
{
  const auto pair = ConvertedFrame("rocket_frame.ppm");
  constexpr int firstColumn = 24;
  std::vector<Channels> buffer;
  const BlurredErrorField field(pair->shown, pair->target, firstColumn, buffer);
  const double before = PlainSquares(PlainBlurredError(pair->shown, pair->target), firstColumn);
  constexpr std::uint32_t black = 0x000000, blue = 0x3080C0;
  const int neighbours[][2] = {{0, 0}, {1, 0}, {0, 1}, {-2, 3}, {5, -6}};
  for (const Place& place : Places) {
    for (const auto& [dx, dy] : neighbours) {
      const int qx = place.x + dx, qy = place.y + dy;
      if (qx < 0 || qx >= PictureWidth || qy < 0 || qy >= PictureHeight) {
        continue;
      }
      SCOPED_TRACE(std::string(place.name) + " with " + std::to_string(dx) + "," +
                   std::to_string(dy));
      Picture changed = pair->shown;
      const int p = PixelIndex(place.x, place.y), q = PixelIndex(qx, qy);
      const Channels d = ColourDifference(black, changed[p]);
      changed[p] = black;
      double predicted = 2 * Dot(d, field.Gradient(place.x, place.y)) +
                         Dot(d, d) * field.Overlap(place.x, place.y, 0, 0);
      if (q != p) {
        const Channels e = ColourDifference(blue, changed[q]);
        changed[q] = blue;
        predicted += 2 * Dot(e, field.Gradient(qx, qy)) + Dot(e, e) * field.Overlap(qx, qy, 0, 0) +
                     2 * Dot(d, e) * field.Overlap(place.x, place.y, dx, dy);
      }
      const double after = PlainSquares(PlainBlurredError(changed, pair->target), firstColumn);
      EXPECT_NEAR(predicted, after - before, 0.05 + 1e-4 * std::abs(after - before));
    }
  }
}

}  // namespace
}  // namespace pavona
