#include "framing/box_reduction.h"

#include <algorithm>

#include "framing/linear_light.h"

namespace pavona {

void AddRowToBoxSums(const std::uint32_t* row, int width, int box, std::uint32_t* sums)
{
  const auto& linear = LinearOfByte();
  const int boxes = (width + box - 1) / box;
  for (int bx = 0; bx < boxes; ++bx) {
    std::uint32_t* sum = sums + std::size_t(bx) * 3;
    const int endX = std::min(width, (bx + 1) * box);
    for (int x = bx * box; x < endX; ++x) {
      sum[0] += linear[RedOf(row[x])];
      sum[1] += linear[GreenOf(row[x])];
      sum[2] += linear[BlueOf(row[x])];
    }
  }
}

int WholeReductionFactor(int fileWidth, int fileHeight, PictureSize needed)
{
  const long long across = fileWidth / (FilterShare * std::max(1LL, (long long)needed.width));
  const long long down = fileHeight / (FilterShare * std::max(1LL, (long long)needed.height));
  return int(std::clamp(std::min(across, down), 1LL, (long long)MaxBox));
}

RowBoxReducer::RowBoxReducer(int width, int height, int factor)
    : width_(width), height_(height), factor_(std::max(1, factor))
{
  const int reducedWidth = (width_ + factor_ - 1) / factor_;
  const int reducedHeight = (height_ + factor_ - 1) / factor_;
  reduced_.width = reducedWidth;
  reduced_.height = reducedHeight;
  reduced_.pixels.assign(std::size_t(reducedWidth) * reducedHeight, 0);
  sums_.assign(std::size_t(reducedWidth) * 3, 0);
}

void RowBoxReducer::AddRow(const std::uint32_t* row)
{
  if (rowsAdded_ >= height_) {
    return;  // the picture has no more rows
  }
  AddRowToBoxSums(row, width_, factor_, sums_.data());
  ++rowsAdded_;
  if (rowsAdded_ % factor_ == 0 || rowsAdded_ == height_) {
    FinishBoxRow();
  }
}

// Turns the sums of the box row just completed into its pixels.
void RowBoxReducer::FinishBoxRow()
{
  const auto& byteOf = ByteOfLinear();
  const int boxRow = (rowsAdded_ - 1) / factor_;
  const int rows = rowsAdded_ - boxRow * factor_;
  std::uint32_t* out = reduced_.pixels.data() + std::size_t(boxRow) * reduced_.width;
  for (int bx = 0; bx < reduced_.width; ++bx) {
    const std::uint32_t count = (std::min(width_, (bx + 1) * factor_) - bx * factor_) * rows;
    const std::uint32_t* sum = &sums_[std::size_t(bx) * 3];
    const auto average = [&](int c) { return byteOf[(sum[c] + count / 2) / count]; };
    out[bx] = MakeColour(average(0), average(1), average(2));
  }
  std::fill(sums_.begin(), sums_.end(), 0);
}

LoadedPicture RowBoxReducer::Finish()
{
  reduced_.fileWidth = width_;
  reduced_.fileHeight = height_;
  return std::move(reduced_);
}

}  // namespace pavona
