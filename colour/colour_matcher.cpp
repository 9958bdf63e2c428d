#include "colour/colour_matcher.h"

#include <algorithm>
#include <cstdlib>

#include "colour/picture.h"
#include "colour/yuv_fixed_point.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define PAVONA_HAS_AVX2_KERNELS 1
#else
#define PAVONA_HAS_AVX2_KERNELS 0
#endif

namespace pavona {
namespace {

// Entries that pad the candidate list to whole vectors: every channel or
// Y, U, V this far away loses to any real candidate, and the differences and
// squares still fit the 16-bit and 32-bit lanes.
constexpr std::int16_t FarAway = 8000;

// The vector search needs table values whose differences from a pixel fit 16
// bits and whose squares sum within 32 bits; tables built from a palette lie
// within 0..255. Anything stranger goes to the plain search.
constexpr int VectorSafeLimit = 2000;
// "'Y' Brightness" takes the whole part of a difference as an int.
constexpr int BrightnessSafeLimit = 1 << 20;

bool TableValuesWithin(const MixTable& table, int count, int limit, bool yOnly)
{
  for (int slot = 0; slot < count; ++slot) {
    if (std::abs(table.y[slot]) > limit) {
      return false;
    }
    if (!yOnly && (std::abs(table.u[slot]) > limit || std::abs(table.v[slot]) > limit)) {
      return false;
    }
  }
  return true;
}

bool ProcessorHasAvx2()
{
#if PAVONA_HAS_AVX2_KERNELS
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

std::uint32_t PackPair(int low, int high)
{
  return std::uint32_t(std::uint16_t(low)) | std::uint32_t(std::uint16_t(high)) << 16;
}

#if PAVONA_HAS_AVX2_KERNELS

// Each lane keeps the least distance it has seen and the first candidate with
// it (a later candidate replaces it only when strictly closer); the answer is
// the lowest candidate among the lanes holding the overall least distance,
// which is the first candidate at that distance in slot order.
__attribute__((target("avx2"))) int NearestRgbAvx2(const std::int16_t* red,
                                                   const std::int16_t* green,
                                                   const std::int16_t* blue, int chunks,
                                                   std::uint32_t colour)
{
  const __m256i r = _mm256_set1_epi16(std::int16_t(RedOf(colour)));
  const __m256i g = _mm256_set1_epi16(std::int16_t(GreenOf(colour)));
  const __m256i b = _mm256_set1_epi16(std::int16_t(BlueOf(colour)));
  const __m256i step = _mm256_set1_epi16(16);
  __m256i index = _mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  __m256i least = _mm256_set1_epi16(0x7FFF);
  __m256i first = _mm256_setzero_si256();
  for (int chunk = 0; chunk < chunks; ++chunk) {
    const int at = chunk * 16;
    const __m256i dr = _mm256_abs_epi16(
        _mm256_sub_epi16(_mm256_load_si256(reinterpret_cast<const __m256i*>(red + at)), r));
    const __m256i dg = _mm256_abs_epi16(
        _mm256_sub_epi16(_mm256_load_si256(reinterpret_cast<const __m256i*>(green + at)), g));
    const __m256i db = _mm256_abs_epi16(
        _mm256_sub_epi16(_mm256_load_si256(reinterpret_cast<const __m256i*>(blue + at)), b));
    const __m256i distance = _mm256_add_epi16(_mm256_add_epi16(dr, dg), db);
    const __m256i closer = _mm256_cmpgt_epi16(least, distance);
    least = _mm256_min_epi16(least, distance);
    first = _mm256_blendv_epi8(first, index, closer);
    index = _mm256_add_epi16(index, step);
  }
  // Distances and indexes are non-negative, so unsigned minimum searches work.
  const __m128i halves =
      _mm_min_epu16(_mm256_castsi256_si128(least), _mm256_extracti128_si256(least, 1));
  const int overall = _mm_extract_epi16(_mm_minpos_epu16(halves), 0);
  const __m256i atLeast = _mm256_cmpeq_epi16(least, _mm256_set1_epi16(std::int16_t(overall)));
  const __m256i indexes = _mm256_blendv_epi8(_mm256_set1_epi16(-1), first, atLeast);
  const __m128i indexHalves =
      _mm_min_epu16(_mm256_castsi256_si128(indexes), _mm256_extracti128_si256(indexes, 1));
  return _mm_extract_epi16(_mm_minpos_epu16(indexHalves), 0);
}

// The least of eight 32-bit lanes, in every lane.
__attribute__((target("avx2"))) inline __m256i LeastOfLanes(__m256i lanes)
{
  lanes = _mm256_min_epi32(lanes, _mm256_permute2x128_si256(lanes, lanes, 1));
  lanes = _mm256_min_epi32(lanes, _mm256_shuffle_epi32(lanes, 0x4E));
  return _mm256_min_epi32(lanes, _mm256_shuffle_epi32(lanes, 0xB1));
}

// Perceptual distance without the constant factor 2, which does not change
// the order: dy^2 + du^2 from one multiply-and-add of the (Y, U) pair, dv^2
// from another of the (V, 0) pair.
__attribute__((target("avx2"))) int NearestPerceptualAvx2(const std::uint32_t* yu,
                                                          const std::uint32_t* v0, int chunks,
                                                          const Yuv& pixel)
{
  const __m256i pixelYu = _mm256_set1_epi32(int(PackPair(pixel.y, pixel.u)));
  const __m256i pixelV = _mm256_set1_epi32(int(PackPair(pixel.v, 0)));
  const __m256i step = _mm256_set1_epi32(8);
  __m256i index = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  __m256i least = _mm256_set1_epi32(0x7FFFFFFF);
  __m256i first = _mm256_setzero_si256();
  for (int chunk = 0; chunk < chunks; ++chunk) {
    const int at = chunk * 8;
    const __m256i dyu =
        _mm256_sub_epi16(pixelYu, _mm256_load_si256(reinterpret_cast<const __m256i*>(yu + at)));
    const __m256i dv =
        _mm256_sub_epi16(pixelV, _mm256_load_si256(reinterpret_cast<const __m256i*>(v0 + at)));
    const __m256i distance =
        _mm256_add_epi32(_mm256_madd_epi16(dyu, dyu), _mm256_madd_epi16(dv, dv));
    const __m256i closer = _mm256_cmpgt_epi32(least, distance);
    least = _mm256_min_epi32(least, distance);
    first = _mm256_blendv_epi8(first, index, closer);
    index = _mm256_add_epi32(index, step);
  }
  const __m256i overall = LeastOfLanes(least);
  const __m256i atLeast = _mm256_cmpeq_epi32(least, overall);
  const __m256i indexes = _mm256_blendv_epi8(_mm256_set1_epi32(0x7FFFFFFF), first, atLeast);
  return _mm256_cvtsi256_si32(LeastOfLanes(indexes));
}

#endif

}  // namespace

ColourMatcher::ColourMatcher(const MixTable& table, Measure measure, GraphicMode mode,
                             Engine engine)
    : table_(table), measure_(measure), mode_(mode), count_(CandidateCount(mode))
{
  const bool vector = engine == Engine::Automatic && ProcessorHasAvx2();
  switch (measure) {
    case Measure::RgbDistance:
      PrepareRgb(vector);
      break;
    case Measure::Brightness:
      if (TableValuesWithin(table_, count_, BrightnessSafeLimit, true)) {
        PrepareBrightness();
      }
      break;
    case Measure::Perceptual:
      if (TableValuesWithin(table_, count_, VectorSafeLimit, false)) {
        PreparePerceptual(vector);
      }
      break;
  }
  knownColour_.fill(NoColour);
  // The brightness lookup is as quick as the remembered answers.
  if (path_ != Path::Brightness) {
    RememberTableColours();
  }
}

// With x the pixel's luma and Y a whole number, trunc(x - Y) is whole(x) - Y
// when x >= Y and whole(x) - Y + 1 when x < Y has a fraction, so every
// distance, and with them the answer, follows from whole(x) and whether x has
// a fraction. One representative luma per case stands for all others.
void ColourMatcher::PrepareBrightness()
{
  for (int whole = 0; whole < 256; ++whole) {
    for (int fraction = 0; fraction < 2; ++fraction) {
      const float luma = float(whole) + (fraction != 0 ? 0.5f : 0.0f);
      auto distance = [&](int slot) {
        return std::uint32_t(std::abs(int(double(luma) - table_.y[slot])));
      };
      int best = 0;
      std::uint32_t bestDistance = distance(0);
      for (int slot = 1; slot < count_; ++slot) {
        const std::uint32_t d = distance(slot);
        if (d < bestDistance) {
          best = slot;
          bestDistance = d;
        }
      }
      brightnessAnswer_[2 * whole + fraction] = table_.colour[best];
    }
  }
  path_ = Path::Brightness;
}

// A slot with the same channels as an earlier slot is always at the same
// distance and loses the tie, so only the first of each colour is scanned.
void ColourMatcher::PrepareRgb(bool vector)
{
  red_.fill(FarAway);
  green_.fill(FarAway);
  blue_.fill(FarAway);
  candidateCount_ = 0;
  for (int slot = 0; slot < count_; ++slot) {
    const std::uint32_t channels = table_.colour[slot] & 0xFFFFFF;
    bool repeated = false;
    for (int earlier = 0; earlier < candidateCount_ && !repeated; ++earlier) {
      repeated = (table_.colour[slotOf_[earlier]] & 0xFFFFFF) == channels;
    }
    if (repeated) {
      continue;
    }
    const int at = candidateCount_++;
    slotOf_[at] = std::uint8_t(slot);
    red_[at] = std::int16_t(RedOf(channels));
    green_[at] = std::int16_t(GreenOf(channels));
    blue_[at] = std::int16_t(BlueOf(channels));
  }
  path_ = vector ? Path::RgbVector : Path::RgbScalar;
}

// Likewise a slot with an earlier slot's Y, U and V never wins.
void ColourMatcher::PreparePerceptual(bool vector)
{
  yu_.fill(PackPair(FarAway, FarAway));
  v0_.fill(PackPair(FarAway, 0));
  candidateCount_ = 0;
  for (int slot = 0; slot < count_; ++slot) {
    bool repeated = false;
    for (int earlier = 0; earlier < candidateCount_ && !repeated; ++earlier) {
      repeated = y_[earlier] == table_.y[slot] && u_[earlier] == table_.u[slot] &&
                 v_[earlier] == table_.v[slot];
    }
    if (repeated) {
      continue;
    }
    const int at = candidateCount_++;
    slotOf_[at] = std::uint8_t(slot);
    y_[at] = table_.y[slot];
    u_[at] = table_.u[slot];
    v_[at] = table_.v[slot];
    yu_[at] = PackPair(table_.y[slot], table_.u[slot]);
    v0_[at] = PackPair(table_.v[slot], 0);
  }
  path_ = vector ? Path::PerceptualVector : Path::PerceptualScalar;
}

int ColourMatcher::NearestRgbScalar(std::uint32_t colour) const
{
  const int red = RedOf(colour), green = GreenOf(colour), blue = BlueOf(colour);
  int best = 0;
  int bestDistance = 0x7FFFFFFF;
  for (int at = 0; at < candidateCount_; ++at) {
    const int d =
        std::abs(red - red_[at]) + std::abs(green - green_[at]) + std::abs(blue - blue_[at]);
    if (d < bestDistance) {
      best = at;
      bestDistance = d;
    }
  }
  return best;
}

int ColourMatcher::NearestPerceptualScalar(std::uint32_t colour) const
{
  const Yuv pixel = ColourToYuvFixed(colour);
  int best = 0;
  int bestDistance = 0x7FFFFFFF;
  for (int at = 0; at < candidateCount_; ++at) {
    const int dy = pixel.y - y_[at];
    const int du = pixel.u - u_[at];
    const int dv = pixel.v - v_[at];
    const int d = dy * dy + du * du + dv * dv;
    if (d < bestDistance) {
      best = at;
      bestDistance = d;
    }
  }
  return best;
}

std::uint32_t ColourMatcher::Match(std::uint32_t colour) const
{
  if (path_ != Path::Brightness) {
    const std::uint32_t bucket = (colour * knownHash_) >> (32 - KnownBits);
    if (knownColour_[bucket] == colour) {
      return knownAnswer_[bucket];
    }
  }
  return Search(colour);
}

// Chooses, among a few odd multipliers, the hash that leaves the fewest table
// colours without a bucket of their own, and stores their answers.
void ColourMatcher::RememberTableColours()
{
  constexpr std::uint32_t Multipliers[] = {0x9E3779B1u, 0x85EBCA77u,      0xC2B2AE3Du, 0x27D4EB2Fu,
                                           0x165667B1u, 0xD3A2646Cu | 1u, 0xFD7046C5u, 0xB55A4F09u};
  int fewestLost = count_ + 1;
  for (std::uint32_t multiplier : Multipliers) {
    std::array<std::int16_t, 1 << KnownBits> holder;
    holder.fill(-1);
    int lost = 0;
    for (int slot = 0; slot < count_; ++slot) {
      const std::uint32_t colour = table_.colour[slot];
      std::int16_t& owner = holder[(colour * multiplier) >> (32 - KnownBits)];
      if (owner < 0) {
        owner = std::int16_t(slot);
      } else if (table_.colour[owner] != colour) {
        ++lost;
      }
    }
    if (lost < fewestLost) {
      fewestLost = lost;
      knownHash_ = multiplier;
    }
  }
  for (int slot = 0; slot < count_; ++slot) {
    const std::uint32_t colour = table_.colour[slot];
    const std::uint32_t bucket = (colour * knownHash_) >> (32 - KnownBits);
    if (knownColour_[bucket] == NoColour) {
      knownColour_[bucket] = colour;
      knownAnswer_[bucket] = Search(colour);
    }
  }
}

std::uint32_t ColourMatcher::Search(std::uint32_t colour) const
{
  switch (path_) {
    case Path::Brightness: {
      const float luma = LumaAsFloatFixed(colour);
      const int whole = int(luma);
      return brightnessAnswer_[2 * whole + (float(whole) != luma ? 1 : 0)];
    }
    case Path::RgbScalar:
      return table_.colour[slotOf_[NearestRgbScalar(colour)]];
    case Path::PerceptualScalar:
      return table_.colour[slotOf_[NearestPerceptualScalar(colour)]];
#if PAVONA_HAS_AVX2_KERNELS
    case Path::RgbVector:
      return table_.colour[slotOf_[NearestRgbAvx2(red_.data(), green_.data(), blue_.data(),
                                                  (candidateCount_ + 15) / 16, colour)]];
    case Path::PerceptualVector:
      return table_.colour[slotOf_[NearestPerceptualAvx2(
          yu_.data(), v0_.data(), (candidateCount_ + 7) / 8, ColourToYuvFixed(colour))]];
#else
    case Path::RgbVector:
    case Path::PerceptualVector:
      break;
#endif
    case Path::Plain:
      break;
  }
  return MatchColour(colour, table_, measure_, mode_);
}

}  // namespace pavona
