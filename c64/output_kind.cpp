#include "c64/output_kind.h"

namespace pavona {

namespace {

// A run of adjacent regions as one slice.
constexpr C64Region Span(C64Region first, C64Region last)
{
  return {first.offset, last.offset + last.size - first.offset};
}

}  // namespace

std::vector<C64Region> PictureSlices(OutputKind kind)
{
  using namespace FliLayout;
  using namespace HiresLayout;
  switch (kind.mode) {
    case GraphicMode::HiresStandard:
      return {Span(HiresScreen1, HiresBitmap1)};
    case GraphicMode::HiresInterlaced:
      return {Span(HiresScreen1, HiresBitmap2)};
    case GraphicMode::HiresFli:
      return {Span(FliScreens1, FliBitmap1)};
    case GraphicMode::HiresFliInterlace:
      break;
    case GraphicMode::Multicolour:
    case GraphicMode::MulticolourFli:
    case GraphicMode::MulticolourInterlace:
      return {};
  }
  if (kind.sharedBitmap) {
    return {FliScreens1, FliScreens2, FliBitmap1};
  }
  return {Span(FliScreens1, FliBitmap2)};
}

}  // namespace pavona
