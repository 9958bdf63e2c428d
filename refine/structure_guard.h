#pragma once

#include <array>
#include <vector>

#include "c64/c64_data.h"
#include "colour/picture.h"
#include "refine/unit_mixes.h"

namespace pavona {

// Rec. 601 luma of the sRGB values.
inline float Luma(std::uint32_t colour)
{
  return 0.299f * float(RedOf(colour)) + 0.587f * float(GreenOf(colour)) +
         0.114f * float(BlueOf(colour));
}

// Structure as the eye sees it: SSIM on luma (Rec. 601 weights on the sRGB
// values), both pictures blurred with a Gaussian of sigma 1 as the eye blurs
// a dither, with the 11 x 11 Gaussian window of sigma 1.5 and the constants
// of Wang et al. (K1 0.01, K2 0.03, L 255); the picture's edges repeat. The
// frame's side is worked out once per frame; the buffers are kept from one
// conversion to the next.
// The working planes of one SSIM map.
struct SsimPlanes {
  std::vector<float> luma, blurred, mean, squares, cross, line;
};

class StructureMeasure {
 public:
  void SetTarget(const Picture& target);

  // The SSIM of `shown` against the target at every pixel, into `ssim`.
  void SsimMap(const Picture& shown, SsimPlanes& planes, std::vector<float>& ssim) const;

 private:
  std::vector<float> targetBlurred_;
  std::vector<float> targetMean_;      // of targetBlurred_ in the window
  std::vector<float> targetVariance_;  // likewise
  SsimPlanes planes_;
};

// The buffers of KeepStructure.
struct StructureScratch {
  StructureMeasure measure;
  Picture selectedResult{};
  C64Data selectedData{};
  std::array<SsimPlanes, 2> planes;
  std::array<std::vector<float>, 2> ssim;  // of the selection and of the result
};

// A unit (a cell, a span, or where Refine chooses no unit colours a span) of
// the refined picture whose mean SSIM over its pixels came out more than
// this below the selection's gets the selection's pixels and colours back.
// The blurred error rewards a right average over right structure; a unit
// that paid for colour with structure is not worth it.
constexpr float MostSsimLossPerUnit = 0.02f;

// Puts back what the selection had (scratch.selectedResult and
// scratch.selectedData, taken before refining) in every unit of the result
// that lost structure against `target`. Returns the number of units put back.
int KeepStructure(Picture& result, C64Data& data, const UnitMixes& units, const Picture& target,
                  StructureScratch& scratch);

}  // namespace pavona
