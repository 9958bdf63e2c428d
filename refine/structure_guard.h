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

// The working planes of one SSIM map.
struct SsimPlanes {
  std::vector<float> luma, blurred, mean, squares, cross, line;
};

// Structure as the eye sees it: SSIM on luma (Rec. 601 weights on the sRGB
// values), both pictures blurred with a Gaussian of sigma 1 as the eye blurs
// a dither, with the 11 x 11 Gaussian window of sigma 1.5 and the constants
// of Wang et al. (K1 0.01, K2 0.03, L 255); the picture's edges repeat. The
// frame's side is worked out once per frame; the buffers are kept from one
// conversion to the next.
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

// A unit's loss of SSIM, summed over its pixels, and where it starts.
struct UnitLoss {
  float lost = 0;
  int x0 = 0;
  int y0 = 0;
};

// The buffers of KeepStructure.
struct StructureScratch {
  std::vector<UnitLoss> losses;
  std::vector<bool> putBack;  // by unit, in the order of the frame
  StructureMeasure measure;
  Picture selectedResult{};
  C64Data selectedData{};
  std::array<SsimPlanes, 2> planes;
  std::array<std::vector<float>, 2> ssim;  // of the selection and of the result
};

// Refine rewards a right average colour, which a unit (a cell, a span, or
// where Refine chooses no unit colours a span) can buy with its structure.
// A unit whose mean SSIM over its pixels came out more than this below the
// selection's gets the selection's pixels and colours back whatever the
// rest of the frame does: the eye sees it as a block.
constexpr float MostSsimLossPerUnit = 0.1f;
// And the frame's mean SSIM may fall by at most this: beyond it, units are
// put back worst first until the loss they leave is within it. A small loss
// spread over many units passed any bound per unit (0.02 per unit still let
// the frame lose 0.012), and a tight bound per unit put back much of the
// colour Refine had won.
constexpr float MostSsimLossPerFrame = 0.003f;
// A unit put back changes the SSIM of its neighbours too (the blur and the
// window reach 8 pixels), so the loss is measured again after each round of
// putting back, for at most this many rounds: on the photos a third round
// still helped, two more moved SSIM by under 0.0005 and PSNR not at all.
constexpr int MostGuardRounds = 3;

// Measures the structure of the selection (scratch.selectedResult, taken
// before refining) against `target`: the first half of KeepStructure, which
// needs nothing of the refinement and so can run beside it.
void MeasureSelectionStructure(const Picture& target, StructureScratch& scratch);

// Puts back what the selection had (scratch.selectedResult and
// scratch.selectedData) in the units of the result that lost structure
// against the target MeasureSelectionStructure measured the selection
// against, as the bounds above say. Returns the number of units put back.
int KeepStructure(Picture& result, C64Data& data, const UnitMixes& units,
                  StructureScratch& scratch);

}  // namespace pavona
