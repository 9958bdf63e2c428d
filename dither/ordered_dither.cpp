#include "dither/ordered_dither.h"

#include <algorithm>
#include <array>

#include "dither/balanced_dither.h"

namespace pavona {
namespace {

constexpr std::array<std::array<int, 2>, 2> Matrix2{{{1, 3}, {4, 2}}};

constexpr std::array<std::array<int, 3>, 3> Matrix3{{{9, 7, 8}, {6, 1, 2}, {5, 4, 3}}};

constexpr std::array<std::array<int, 4>, 4> Matrix4{{
    {1, 9, 3, 11},
    {13, 5, 15, 7},
    {4, 12, 2, 10},
    {16, 8, 14, 6},
}};

// The classic Bayer matrix, values 0..63.
constexpr std::array<std::array<int, 8>, 8> Matrix8{{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

}  // namespace

int OrderedMatrixSize(DitherMethod method)
{
  switch (method) {
    case DitherMethod::Ordered2x2:
    case DitherMethod::Ordered2x2Balanced:
      return 2;
    case DitherMethod::Ordered3x3:
    case DitherMethod::Ordered3x3Balanced:
      return 3;
    case DitherMethod::Ordered4x4:
    case DitherMethod::Ordered4x4Balanced:
      return 4;
    case DitherMethod::Ordered8x8:
    case DitherMethod::Ordered8x8Balanced:
      return 8;
    default:
      return 0;
  }
}

int OrderedThreshold(DitherMethod method, int row, int column)
{
  const int size = OrderedMatrixSize(method);
  if (size == 0) {
    return 0;
  }
  row %= size;
  column %= size;
  switch (size) {
    case 2:
      return Matrix2[row][column];
    case 3:
      return Matrix3[row][column];
    case 4:
      return Matrix4[row][column];
    default:
      return Matrix8[row][column];
  }
}

bool IsBalancedOrdered(DitherMethod method)
{
  return method == DitherMethod::Ordered2x2Balanced || method == DitherMethod::Ordered3x3Balanced ||
         method == DitherMethod::Ordered4x4Balanced || method == DitherMethod::Ordered8x8Balanced;
}

int OrderedRank(DitherMethod method, int row, int column)
{
  // The 8x8 matrix counts from 0, the smaller ones from 1.
  return OrderedThreshold(method, row, column) - (OrderedMatrixSize(method) == 8 ? 0 : 1);
}

int AmplitudeShift(int valueAmp)
{
  return std::clamp(valueAmp, 1, 4) - 1;
}

void OrderedDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                        const ColourMatcher& match)
{
  if (IsBalancedOrdered(settings.method)) {
    BalancedDitherPixel(planes, x, y, settings, match);
    return;
  }
  const std::uint32_t colour = ReadAdjustedPixel(planes, x, y);
  // The matrix is looked up with x as the row; "Flip dither" swaps the roles
  // of x and y, for the lookup and for the line parity of "Alt Y Dither".
  const int u = settings.flipDither ? y : x;
  const int v = settings.flipDither ? x : y;
  const int shift = OrderedThreshold(settings.method, u, v) << AmplitudeShift(settings.valueAmp);
  const bool brighten = settings.altYDither && v % 2 == 0;
  auto shifted = [&](int channel) {
    return brighten ? std::min(channel + shift, 255) : std::max(channel - shift, 0);
  };
  const std::uint32_t target =
      MakeColour(shifted(RedOf(colour)), shifted(GreenOf(colour)), shifted(BlueOf(colour)));
  StoreAdjustedPixel(planes, x, y, match.Match(target));
}

void OrderedDither(AdjustedPlanes& planes, const DitherSettings& settings,
                   const ColourMatcher& match, ProgressReport& progress)
{
  for (int y = 0; y < PictureHeight && progress.ShouldContinue(); ++y) {
    progress.SetProgress(y);
    for (int x = 0; x < PictureWidth; ++x) {
      OrderedDitherPixel(planes, x, y, settings, match);
    }
  }
  progress.SetProgress(0);
}

}  // namespace pavona
