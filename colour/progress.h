#pragma once

#include <cstdint>
#include <string_view>

#include "colour/picture.h"

namespace pavona {

struct MixTable;

// How long stages tell the user what they are doing. The GUI shows it in the
// status bar, progress bar and result image; the command line on stderr; tests
// record it. Every method may be called from a worker thread.
class ProgressReport {
 public:
  virtual ~ProgressReport() = default;

  // Panel 0 of the status bar. The selection stages write " " when they end.
  virtual void SetStatus(std::string_view text) = 0;
  // Progress bar position, 0..200: the pixel row, or 8 times the cell row.
  virtual void SetProgress(int position) = 0;
  // Rows [firstRow, firstRow + rowCount) of the picture are finished and may
  // be drawn into the result image (the long searches grow it row by row; the
  // dithering stage shows its whole picture with firstRow 0, rowCount 200).
  virtual void ShowRows(const Picture& picture, int firstRow, int rowCount) = 0;
  // The mix table changed and its swatches should be repainted.
  virtual void ShowMixTable(const MixTable& table) = 0;
  // A selection met a pixel that is not a colour of the mix table; the GUI
  // shows the value as the caption of the "Convert" button.
  virtual void ReportStrayColour(std::uint32_t colour) = 0;
};

// Reports nothing: for callers that do not watch progress.
class SilentProgress final : public ProgressReport {
 public:
  void SetStatus(std::string_view) override {}
  void SetProgress(int) override {}
  void ShowRows(const Picture&, int, int) override {}
  void ShowMixTable(const MixTable&) override {}
  void ReportStrayColour(std::uint32_t) override {}
};

}  // namespace pavona
