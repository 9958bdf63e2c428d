#pragma once

#include <string>

#include "colour/progress.h"

namespace pavona::cli {

// Shows the current stage and its progress on one line of stderr, rewritten
// in place; meant for a terminal.
class StderrProgress final : public ProgressReport {
 public:
  void SetStatus(std::string_view text) override;
  void SetProgress(int position) override;
  void ShowRows(const Picture&, int, int) override {}
  bool ShowsRows() const override { return false; }
  void ShowMixTable(const MixTable&) override {}
  void ReportStrayColour(std::uint32_t colour) override;
  bool MayStop() const override { return false; }
  // Clears the progress line before other output.
  void Finish();

 private:
  void Redraw();
  std::string status_;
  int position_ = 0;
  bool shown_ = false;
};

}  // namespace pavona::cli
