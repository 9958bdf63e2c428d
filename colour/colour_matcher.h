#pragma once

#include <array>
#include <cstdint>

#include "colour/colour_match.h"
#include "colour/mix_table.h"

namespace pavona {

// Nearest-colour matching against one mix table by one measure, for the
// stages that match every pixel of a frame. Everything that depends only on
// the table is prepared once, at construction; Match then gives exactly what
// MatchColour gives for the table as it was at that moment (later changes to
// the table are not seen). Match is const and touches no shared state, so one
// matcher may serve several threads.
class ColourMatcher {
 public:
  // Automatic uses the vector search where the processor has one; Scalar
  // forces the one-candidate-at-a-time search, so both can be checked.
  enum class Engine { Automatic, Scalar };

  ColourMatcher(const MixTable& table, Measure measure, GraphicMode mode,
                Engine engine = Engine::Automatic);

  std::uint32_t Match(std::uint32_t colour) const;

  // Whether Match scans the candidates with vector instructions.
  bool UsesVectorSearch() const
  {
    return path_ == Path::RgbVector || path_ == Path::PerceptualVector;
  }

 private:
  enum class Path { Plain, Brightness, RgbScalar, RgbVector, PerceptualScalar, PerceptualVector };

  void PrepareBrightness();
  void PrepareRgb(bool vector);
  void PreparePerceptual(bool vector);
  int NearestRgbScalar(std::uint32_t colour) const;
  int NearestPerceptualScalar(std::uint32_t colour) const;
  std::uint32_t Search(std::uint32_t colour) const;
  void RememberTableColours();

  MixTable table_;
  Measure measure_;
  GraphicMode mode_;
  int count_;
  Path path_ = Path::Plain;

  // The candidates that can win, in increasing slot order (a slot repeating
  // an earlier slot's colour, or Y, U, V, always loses the tie and is left
  // out), padded to a whole number of vectors with entries too far away to
  // ever win.
  static constexpr int PaddedSize = MixSlotCount;
  int candidateCount_ = 0;
  std::array<std::uint8_t, PaddedSize> slotOf_{};
  alignas(32) std::array<std::int16_t, PaddedSize> red_{};
  alignas(32) std::array<std::int16_t, PaddedSize> green_{};
  alignas(32) std::array<std::int16_t, PaddedSize> blue_{};
  // Perceptual: Y and U as a pair of 16-bit halves, V with a zero upper half,
  // ready for a multiply-and-add of two differences at once.
  alignas(32) std::array<std::uint32_t, PaddedSize> yu_{};
  alignas(32) std::array<std::uint32_t, PaddedSize> v0_{};
  std::array<std::int32_t, PaddedSize> y_{}, u_{}, v_{};

  // The answers for the table's own colours, which is what the stages after
  // the first dithering pass match: direct-mapped by a multiplicative hash of
  // the colour; a colour that shares its bucket with another is searched.
  static constexpr int KnownBits = 10;
  static constexpr std::uint64_t NoColour = ~std::uint64_t(0);
  std::uint32_t knownHash_ = 0;
  std::array<std::uint64_t, 1 << KnownBits> knownColour_{};
  std::array<std::uint32_t, 1 << KnownBits> knownAnswer_{};

  // "'Y' Brightness": the answer depends only on the whole part of the
  // pixel's luma and on whether it has a fraction; index 2 * whole + fraction.
  std::array<std::uint32_t, 512> brightnessAnswer_{};
};

}  // namespace pavona
