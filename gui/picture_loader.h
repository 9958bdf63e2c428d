#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <thread>

#include "colour/picture.h"
#include "colour/progress.h"
#include "framing/placement.h"
#include "io/picture_file.h"

namespace pavona {

// A picture file to read and place in the frame.
struct LoadRequest {
  std::string path;
  // The mode, pixel shape and zoom to decode for. A new picture starts afresh
  // (StartingPlacement for the mode and shape); otherwise the placement is
  // kept, its pans held inside their ranges.
  Placement placement;
  bool newPicture = true;
};

struct LoadOutcome {
  PictureFileResult read;
  Placement placement;  // the placement `frame` shows
  Picture frame{};      // the picture placed; black when it was not read
};

// Where a load stands, in the 0..ProgressEnd of the progress bar.
inline constexpr int LoadStartedProgress = ProgressEnd / 20;
inline constexpr int LoadDecodedProgress = ProgressEnd * 3 / 4;
inline constexpr int LoadPlacedProgress = ProgressEnd;

// Reads picture files one at a time on a thread of its own, so that the
// window stays responsive while a large photo is decoded and resampled.
// Progress and the outcome reach `receiver`'s thread as queued calls; they
// are dropped when the receiver is gone.
class PictureLoader {
 public:
  using Progress = std::function<void(int position)>;
  using Finished = std::function<void(LoadOutcome& outcome)>;

  PictureLoader(QObject* receiver, Progress progress);
  PictureLoader(const PictureLoader&) = delete;
  PictureLoader& operator=(const PictureLoader&) = delete;
  // A read cannot be interrupted: waits for one under way.
  ~PictureLoader();

  bool Busy() const { return thread_.joinable(); }
  // Starts reading; false (and nothing started) while a read is under way.
  // `finished` runs on the receiver's thread once the thread has ended.
  bool Start(LoadRequest request, Finished finished);

 private:
  void Post(std::function<void()> call);

  QObject* receiver_;
  Progress progress_;
  std::thread thread_;
};

// Reads and places one picture file, on the calling thread; `progress` is told
// when the file is decoded.
LoadOutcome LoadPicture(const LoadRequest& request, const std::function<void(int)>& progress);

}  // namespace pavona
