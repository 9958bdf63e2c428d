#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "colour/progress.h"

namespace pavona::testing {

// Keeps every report a stage makes, in order, so tests can check the status
// texts, the progress positions and the rows shown while a search runs.
class RecordingProgress final : public ProgressReport {
 public:
  void SetStatus(std::string_view text) override { statuses.emplace_back(text); }
  void SetProgress(int position) override { positions.push_back(position); }
  void ShowRows(const Picture& picture, int firstRow, int rowCount) override
  {
    shownRows.emplace_back(firstRow, rowCount);
    for (int y = firstRow; y < firstRow + rowCount; ++y) {
      shownPixels.insert(shownPixels.end(), picture.begin() + PixelIndex(0, y),
                         picture.begin() + PixelIndex(0, y + 1));
    }
  }
  void ShowMixTable(const MixTable&) override { ++mixTableShown; }
  void ReportStrayColour(std::uint32_t colour) override { strayColours.push_back(colour); }

  std::vector<std::string> statuses;
  std::vector<int> positions;
  std::vector<std::pair<int, int>> shownRows;
  std::vector<std::uint32_t> shownPixels;  // the rows as they were when shown
  std::vector<std::uint32_t> strayColours;
  int mixTableShown = 0;
};

}  // namespace pavona::testing
