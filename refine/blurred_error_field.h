#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "colour/picture.h"

namespace pavona {

// A colour's three coordinates in the space the error is measured in and a
// spare lane, so one pixel's channels go together and are added and
// multiplied as one vector (kept in a register, not in memory).
using Channels = float __attribute__((vector_size(16)));

// A colour as the error sees it: its luma (Rec. 601 weights on the sRGB
// values, what the eye reads structure from) and its CIELAB a* and b* (its
// colour as the eye tells colours apart), each scaled to about 0..255, the
// luma weighted LumaWeight times the chroma. Judged by RGB alone, Refine
// matched the blurred average colour of saturated areas out of the palette's
// reach with pixels of a far lighter or darker colour, which left blocks and
// stray pixels; weighing lightness above colour keeps the structure, and
// a* b* keep the colour difference the eye sees. Spare lane 0.
Channels PerceivedColour(std::uint32_t colour);

// What a squared luma difference weighs against a squared (scaled) a* or b*
// difference: a grey step of d in every channel cost 3 d^2 in RGB, and costs
// half as much again here.
constexpr float LumaWeight = 4.5f;

// The difference to - from in that space.
inline Channels ColourDifference(std::uint32_t to, std::uint32_t from)
{
  return PerceivedColour(to) - PerceivedColour(from);
}

inline float Dot(Channels a, Channels b)
{
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// The eye sees a dithered picture blurred. The error that counts is the sum
// of squared differences (of PerceivedColour) between the shown picture and
// the target, both blurred with a Gaussian of sigma 1 pixel (radius 3,
// nothing beyond the frame), over the columns from firstColumn on.
//
// Changing one pixel p by d changes that error by
//   2 d . gradient(p) + |d|^2 overlap(p, p),
// and two pixels p, q by d, e together by the sum of both plus
//   2 (d . e) overlap(p, q),
// where gradient(p) is the blurred error weighed by the kernel around p, and
// overlap(p, q) the sum over the counted pixels of the kernel around p times
// the kernel around q (zero beyond Reach). The field keeps the gradient of
// every pixel up to date as pixels change, so a choice costs a few
// multiplications instead of a pass over the kernel.
class BlurredErrorField {
 public:
  static constexpr int Radius = 3;          // three sigma
  static constexpr int Reach = 2 * Radius;  // where two kernels still overlap
  static constexpr int Span = 2 * Reach + 1;

  // Works in `buffer` (resized to the frame), which it must outlive.
  BlurredErrorField(const Picture& shown, const Picture& target, int firstColumn,
                    std::vector<Channels>& buffer);

  Channels Gradient(int x, int y) const { return gradient_[PixelIndex(x, y)]; }

  // overlap((x, y), (x + dx, y + dy)); |dx|, |dy| <= Reach.
  float Overlap(int x, int y, int dx, int dy) const
  {
    return OverlapAlongX(x, dx) * OverlapAlongY(y, dy);
  }
  // Its two factors.
  float OverlapAlongX(int x, int dx) const { return overlapX_[x][dx + Reach]; }
  float OverlapAlongY(int y, int dy) const { return overlapY_[y][dy + Reach]; }

  // Pixel (x, y) of the shown picture changed by `delta`: the gradients
  // within Reach of it follow. Touches no rows beyond Reach of y.
  void Change(int x, int y, Channels delta);

  // Pixels x0 .. x0 + count - 1 of row y changed by deltas[0 .. count - 1]
  // (count at most RunLength): the same as Change for each, in a third of
  // the time, as the pixels share their rows' weights.
  static constexpr int RunLength = 8;
  void ChangeRun(int x0, int y, const Channels* deltas, int count);

  // The 1-D Gaussian weights at -Radius..Radius; the 2-D kernel is the
  // product of one along the rows and one along the columns.
  static std::array<float, 2 * Radius + 1> Weights();

 private:
  std::vector<Channels>& gradient_;
  // Overlap is separable like the kernel: per column (and row) the overlap
  // of the 1-D kernels there with those up to Reach away, within the counted
  // columns (the frame's rows).
  std::array<std::array<float, Span>, PictureWidth> overlapX_;
  std::array<std::array<float, Span>, PictureHeight> overlapY_;
};

}  // namespace pavona
