#include "io/placed_picture_read.h"

namespace pavona {
namespace {

DecodeSizeNeeded NeededFor(const Placement& placement)
{
  if (placement.mode == FitMode::Cutout) {
    return {};
  }
  return [placement](int width, int height) { return NeededDecodeSize(placement, width, height); };
}

}  // namespace

PictureFileResult ReadPictureForPlacement(const std::string& path, const Placement& placement)
{
  return ReadPictureFile(path, NeededFor(placement));
}

bool ReadServesPlacement(const LoadedPicture& picture, const DecodeReduction& reduction,
                         const Placement& placement)
{
  return ReductionFor(reduction.kind, FileWidthOf(picture), FileHeightOf(picture),
                      NeededFor(placement)) == reduction;
}

}  // namespace pavona
