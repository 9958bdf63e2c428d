#pragma once

#include <cstdint>
#include <vector>

#include "colour/picture.h"
#include "framing/placement.h"

// Averaging blocks of pixels in linear light: the cheap first step of a large
// reduction, before the resampling filter does the fine work.
namespace pavona {

// A box reduction leaves at least this many picture pixels per frame pixel,
// so that the box's own aliasing lies far above what the filter after it
// lets through.
inline constexpr int FilterShare = 3;
// Keeps a box's sum of 16-bit values inside 32 bits.
inline constexpr int MaxBox = 64;

// Adds the linear light of one row of `width` pixels (0x00RRGGBB) to the sums
// of its boxes, three a box (red, green, blue): boxes `box` pixels wide, the
// last one narrower where the width is no multiple of it.
void AddRowToBoxSums(const std::uint32_t* row, int width, int box, std::uint32_t* sums);

// The whole factor, the same across and down so that the picture keeps its
// shape, by which a picture of fileWidth x fileHeight may be box-reduced and
// still have FilterShare pixels for each pixel `needed` asks for; at most
// MaxBox, 1 when it may not be reduced at all.
int WholeReductionFactor(int fileWidth, int fileHeight, PictureSize needed);

// A picture reduced by a whole factor while its rows arrive one at a time, so
// that a large picture shown much smaller never has to be held whole. Each
// pixel of the result is the average in linear light of a factor x factor
// block (smaller at the right and bottom edges), as the nearest sRGB colour.
class RowBoxReducer {
 public:
  // For a picture of width x height pixels; the result is width / factor x
  // height / factor, rounded up.
  RowBoxReducer(int width, int height, int factor);

  // The picture's next row, `width` pixels 0x00RRGGBB.
  void AddRow(const std::uint32_t* row);

  // The reduced picture once every row is in; its file size is the size of
  // the picture that was reduced.
  LoadedPicture Finish();

 private:
  void FinishBoxRow();

  int width_, height_, factor_;
  int rowsAdded_ = 0;
  std::vector<std::uint32_t> sums_;
  LoadedPicture reduced_;
};

}  // namespace pavona
