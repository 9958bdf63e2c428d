#include "gui/picture_loader.h"

#include <memory>

#include "framing/placement_zoom.h"
#include "io/placed_picture_read.h"

namespace pavona {

LoadOutcome LoadPicture(const LoadRequest& request, const std::function<void(int)>& progress)
{
  LoadOutcome outcome;
  const Placement& wanted = request.placement;
  outcome.read = ReadPictureForPlacement(request.path, wanted);
  if (!outcome.read.Ok()) {
    return outcome;
  }
  progress(LoadDecodedProgress);
  const LoadedPicture& picture = outcome.read.picture;
  const int width = FileWidthOf(picture), height = FileHeightOf(picture);
  outcome.placement =
      request.newPicture ? StartingPlacement(wanted.mode, wanted.aspect, width, height, wanted.area)
                         : ClampedPlacement(wanted, width, height);
  outcome.frame = PlacePicture(picture, outcome.placement);
  return outcome;
}

PictureLoader::PictureLoader(QObject* receiver, Progress progress)
    : receiver_(receiver), progress_(std::move(progress))
{
}

PictureLoader::~PictureLoader()
{
  if (thread_.joinable()) {
    thread_.join();
  }
}

void PictureLoader::Post(std::function<void()> call)
{
  QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
}

bool PictureLoader::Start(LoadRequest request, Finished finished)
{
  if (Busy()) {
    return false;
  }
  progress_(LoadStartedProgress);
  thread_ = std::thread([this, request = std::move(request), finished = std::move(finished)] {
    // Shared, because a queued call is copied and a picture is large.
    auto outcome = std::make_shared<LoadOutcome>(LoadPicture(
        request, [this](int position) { Post([this, position] { progress_(position); }); }));
    // The last thing the thread does: the call joins it before handing over.
    Post([this, outcome, finished] {
      thread_.join();
      finished(*outcome);
    });
  });
  return true;
}

}  // namespace pavona
