#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "colour/extended_rounding.h"
#include "colour/parallel.h"
#include "colour/picture.h"
#include "colour/yuv.h"
#include "colour/yuv_fixed_point.h"
#include "support/x87_colour_reference.h"

// The integer forms of the colour conversions against the extended-precision
// form that defines them, on every input they can get.
namespace pavona {
namespace {

#ifdef PAVONA_HAVE_X87_REFERENCE

struct Mismatches {
  long count = 0;
  std::int64_t first = -1;
};

// Runs same(i) for every i in [0, count) on all cores, counting the ones
// where it is false and keeping the lowest of them.
template <typename Same>
Mismatches FindMismatches(std::int64_t count, Same same)
{
  constexpr std::int64_t Block = 1 << 16;
  std::atomic<long> found{0};
  std::atomic<std::int64_t> first{std::numeric_limits<std::int64_t>::max()};
  ParallelFor(int((count + Block - 1) / Block), [&](int block) {
    const std::int64_t end = std::min(count, (block + 1) * Block);
    for (std::int64_t i = block * Block; i < end; ++i) {
      if (!same(i)) {
        ++found;
        std::int64_t lowest = first.load();
        while (i < lowest && !first.compare_exchange_weak(lowest, i)) {
        }
      }
    }
  });
  return {found.load(), found.load() == 0 ? -1 : first.load()};
}

constexpr std::int64_t ColourCount = std::int64_t(1) << 24;

Yuv TruncatedReference(int red, int green, int blue)
{
  return {int(x87::Luma(red, green, blue)), int(x87::ChromaU(red, green, blue)),
          int(x87::ChromaV(red, green, blue))};
}

bool SameFloats(const YuvFloat& a, const YuvFloat& b)
{
  return a.y == b.y && a.u == b.u && a.v == b.v;
}

YuvFloat FloatReference(std::uint32_t colour)
{
  const int red = RedOf(colour), green = GreenOf(colour), blue = BlueOf(colour);
  return {float(x87::Luma(red, green, blue)), float(x87::ChromaU(red, green, blue)),
          float(x87::ChromaV(red, green, blue))};
}

// Each function of the forward conversion in turn, on all 2^24 colours.
TEST(ExactArithmetic, ForwardConversionsOfEveryColour)
{
  constexpr int Functions = 6;
  const char* const names[Functions] = {"ColourToYuv(r, g, b)", "ColourToYuv(colour)",
                                        "ColourToYuvFixed",     "ColourToYuvFloat",
                                        "LumaAsFloat",          "LumaAsFloatFixed"};
  std::array<std::atomic<long>, Functions> wrong{};
  const Mismatches found = FindMismatches(ColourCount, [&](std::int64_t i) {
    const auto colour = std::uint32_t(i);
    const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
    const Yuv whole = TruncatedReference(r, g, b);
    const YuvFloat unrounded = FloatReference(colour);
    const bool same[Functions] = {
        ColourToYuv(r, g, b) == whole,       ColourToYuv(colour) == whole,
        ColourToYuvFixed(colour) == whole,   SameFloats(ColourToYuvFloat(colour), unrounded),
        LumaAsFloat(r, g, b) == unrounded.y, LumaAsFloatFixed(colour) == unrounded.y};
    bool all = true;
    for (int f = 0; f < Functions; ++f) {
      if (!same[f]) {
        ++wrong[f];
        all = false;
      }
    }
    return all;
  });
  for (int f = 0; f < Functions; ++f) {
    EXPECT_EQ(wrong[f].load(), 0) << names[f];
  }
  EXPECT_EQ(found.count, 0) << "first at colour " << std::hex << found.first;
}

// The rounding after each step of the way back, against the extended type's
// own rounding of the same integer: exact values, ties either way, carries
// into the next power of two, any sign and scale; then random values.
TEST(ExactArithmetic, RoundingToTheExtendedType)
{
  const Exact one = 1;
  const struct {
    const char* name;
    Exact value;
  } rows[] = {
      {"64 bits, kept", (one << 64) - 1},
      {"tie, kept bit even: down", (one << 64) + 1},
      {"tie, kept bit odd: up", (one << 64) + 3},
      {"below half: down", (one << 66) + 1},
      {"above half: up", (one << 66) + 3},
      {"all ones: carries", (one << 66) - 1},
      {"wide tie, even", (one << 100) + (one << 36)},
      {"wide tie, odd", (one << 100) + (one << 37) + (one << 36)},
      {"wide, just below a tie", (one << 100) + (one << 36) - 1},
  };
  for (const auto& row : rows) {
    for (const int shift : {0, 1, 7, 20}) {
      for (const Exact value : {row.value << shift, -(row.value << shift)}) {
        EXPECT_EQ(static_cast<long double>(RoundToExtended(value)), static_cast<long double>(value))
            << row.name << ", shifted by " << shift << (value < 0 ? ", negative" : "");
      }
    }
  }
  std::mt19937_64 random(64);
  int wrong = 0;
  for (int i = 0; i < 1000000; ++i) {
    const Exact value = ((Exact(random()) << 64) | random()) >> (random() % 120);
    wrong += static_cast<long double>(RoundToExtended(value)) != static_cast<long double>(value);
  }
  EXPECT_EQ(wrong, 0);
}

// The YUV mixes average two colours' whole Y, U, V: Y 16..235, U and V
// 16..239, every combination of them.
TEST(ExactArithmetic, InverseOfEveryWholeYuv)
{
  constexpr int Ys = 235 - 16 + 1, Chromas = 239 - 16 + 1;
  const Mismatches found = FindMismatches(std::int64_t(Ys) * Chromas * Chromas, [](std::int64_t i) {
    const int y = 16 + int(i / (Chromas * Chromas));
    const int u = 16 + int(i / Chromas % Chromas);
    const int v = 16 + int(i % Chromas);
    return YuvToColour(float(y), float(u), float(v)) == x87::ToColour(y, u, v);
  });
  EXPECT_EQ(found.count, 0) << "first at Y, U, V index " << found.first;
}

// The single-bank mixes average two colours' unrounded Y, U, V as floats:
// U and V can be any float from 16.055 to 239.945, Y any from 16 to 235.045.
// Every float of [16, 240) is taken as U and as V (each U paired with the V
// mirrored across the range), and for each channel the Y that puts its value
// next to a whole number, with the floats on either side: there the rounding
// of the extended arithmetic decides the truncated channel.
TEST(ExactArithmetic, InverseOfEveryFloatChromaAtTheTruncationEdges)
{
  const auto lowest = std::bit_cast<std::uint32_t>(16.0f);
  const auto count = std::int64_t(std::bit_cast<std::uint32_t>(240.0f) - lowest);
  const Mismatches found = FindMismatches(count, [&](std::int64_t i) {
    const float u = std::bit_cast<float>(std::uint32_t(lowest + i));
    const float v = std::bit_cast<float>(std::uint32_t(lowest + count - 1 - i));
    const double du = double(u) - 128, dv = double(v) - 128;
    // What each channel adds to Y, near enough to find the floats either
    // side of the edge.
    const double added[3] = {1.370705 * dv, -0.698001 * dv - 0.337633 * du, 1.732446 * du};
    // Lumas in the four binades of floats that Y covers, in turn.
    const double target = 24 << (i % 4);
    for (int channel = 0; channel < 3; ++channel) {
      const double whole = std::max(1.0, std::round(target + added[channel]));
      const float edge = float(whole - added[channel]);
      // The edge and the float on the other side of the whole number (both
      // neighbours where double cannot tell the side).
      const double past = double(edge) + added[channel] - whole;
      std::array<float, 3> lumas{edge, edge, edge};
      if (past < 1e-9) {
        lumas[1] = std::nextafter(edge, 256.0f);
      }
      if (past > -1e-9) {
        lumas[2] = std::nextafter(edge, 0.0f);
      }
      for (int k = 0; k < 3; ++k) {
        const float y = lumas[k];
        if (k > 0 && y == edge) {
          continue;
        }
        const std::uint32_t colour = YuvToColour(y, u, v);
        const bool same = channel == 0   ? RedOf(colour) == x87::Channel(x87::Red(y, v))
                          : channel == 1 ? GreenOf(colour) == x87::Channel(x87::Green(y, u, v))
                                         : BlueOf(colour) == x87::Channel(x87::Blue(y, u));
        if (!same) {
          return false;
        }
      }
    }
    return true;
  });
  EXPECT_EQ(found.count, 0) << "first at U = 16 + float step " << found.first;
}

// Every search tries each colour mixed with itself, whose average is the
// colour's own unrounded Y, U, V.
TEST(ExactArithmetic, InverseOfEveryColourMixedWithItself)
{
  const Mismatches found = FindMismatches(ColourCount, [](std::int64_t i) {
    const YuvFloat yuv = FloatReference(std::uint32_t(i));
    return YuvToColour(yuv.y, yuv.u, yuv.v) == x87::ToColour(yuv.y, yuv.u, yuv.v);
  });
  EXPECT_EQ(found.count, 0) << "first at colour " << std::hex << found.first;
}

#else

TEST(ExactArithmetic, AgainstTheExtendedForm)
{
  GTEST_SKIP() << "long double is not the x87 extended type here: no reference to compare with";
}

#endif

}  // namespace
}  // namespace pavona
