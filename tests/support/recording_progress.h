#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "colour/progress.h"

namespace pavona::testing {

// Keeps every report a stage makes, in order, so tests can check the status
// texts, the progress positions and the rows shown while a search runs.
// Every report must come from the thread that runs the stage (the window and
// the command line are not made for reports from two threads at once); one
// from any other thread fails the test.
class RecordingProgress final : public ProgressReport {
 public:
  ~RecordingProgress() override
  {
    EXPECT_FALSE(reportedFromAnotherThread_) << "a stage reported progress from a worker thread";
  }

  void SetStatus(std::string_view text) override
  {
    NoteThread();
    statuses.emplace_back(text);
  }
  void SetProgress(int position) override
  {
    NoteThread();
    positions.push_back(position);
  }
  void ShowRows(const Picture& picture, int firstRow, int rowCount) override
  {
    NoteThread();
    shownRows.emplace_back(firstRow, rowCount);
    for (int y = firstRow; y < firstRow + rowCount; ++y) {
      shownPixels.insert(shownPixels.end(), picture.begin() + PixelIndex(0, y),
                         picture.begin() + PixelIndex(0, y + 1));
    }
  }
  void ShowMixTable(const MixTable&) override
  {
    NoteThread();
    ++mixTableShown;
  }
  void ReportStrayColour(std::uint32_t colour) override
  {
    NoteThread();
    strayColours.push_back(colour);
  }

  std::vector<std::string> statuses;
  std::vector<int> positions;
  std::vector<std::pair<int, int>> shownRows;
  std::vector<std::uint32_t> shownPixels;  // the rows as they were when shown
  std::vector<std::uint32_t> strayColours;
  int mixTableShown = 0;

 private:
  void NoteThread()
  {
    if (std::this_thread::get_id() != owner_) {
      reportedFromAnotherThread_ = true;
    }
  }

  std::thread::id owner_ = std::this_thread::get_id();
  std::atomic<bool> reportedFromAnotherThread_{false};
};

}  // namespace pavona::testing
