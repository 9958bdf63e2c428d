#pragma once

#include <cstdint>
#include <string_view>

#include "colour/picture.h"

namespace pavona {

struct MixTable;

// The end of a progress position's range, 0..ProgressEnd: one step a pixel
// row of the 200-row frame, or 8 for a cell row.
inline constexpr int ProgressEnd = PictureHeight;

// How long stages tell the user what they are doing, and learn whether to go
// on. The window, the command line and the tests each implement it. Every
// method may be called from a worker thread.
class ProgressReport {
 public:
  virtual ~ProgressReport() = default;

  // The stage now running. The selection stages write " " when they end.
  virtual void SetStatus(std::string_view text) = 0;
  // Position in 0..ProgressEnd: the pixel row, or 8 times the cell row.
  virtual void SetProgress(int position) = 0;
  // Rows [firstRow, firstRow + rowCount) of the picture are finished and may
  // be shown (the long searches grow the result row by row; the dithering
  // stage hands over its whole picture with firstRow 0, rowCount 200).
  virtual void ShowRows(const Picture& picture, int firstRow, int rowCount) = 0;
  // False where ShowRows ignores what it is given, so that no picture is
  // made only to be shown.
  virtual bool ShowsRows() const { return true; }
  // The mix table changed and may be shown again.
  virtual void ShowMixTable(const MixTable& table) = 0;
  // A selection met a pixel that is not a colour of the mix table.
  virtual void ReportStrayColour(std::uint32_t colour) = 0;
  // False once the work should stop; it stays false from then on. The
  // dithering and the searches ask once per pixel row or cell row, often
  // from several worker threads at once, so it must be cheap and thread-safe.
  // A stage that is told to stop leaves its output unfinished and returns.
  virtual bool ShouldContinue() const { return true; }
  // False for a report whose ShouldContinue() is true whatever happens: a
  // conversion then has no earlier result to keep and works in place.
  virtual bool MayStop() const { return true; }
};

// Reports nothing and never stops: for callers that do not watch progress.
class SilentProgress final : public ProgressReport {
 public:
  void SetStatus(std::string_view) override {}
  void SetProgress(int) override {}
  void ShowRows(const Picture&, int, int) override {}
  bool ShowsRows() const override { return false; }
  void ShowMixTable(const MixTable&) override {}
  void ReportStrayColour(std::uint32_t) override {}
  bool MayStop() const override { return false; }
};

}  // namespace pavona
