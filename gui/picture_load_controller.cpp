#include "gui/picture_load_controller.h"

#include <QFile>

#include "io/placed_picture_read.h"

namespace pavona {

PictureLoadController::PictureLoadController(Workspace& workspace, QObject* parent)
    : QObject(parent),
      workspace_(workspace),
      loader_(this, [this](int position) { emit Progress(position); })
{
}

bool PictureLoadController::Open(const QString& path, const Placement& placement)
{
  return StartReading(path, placement, true);
}

bool PictureLoadController::ReloadIfReadDiffers(const Placement& placement)
{
  if (!fileShown_ || Busy() || ReadServesPlacement(workspace_.loaded, reduction_, placement)) {
    return false;
  }
  return StartReading(loadedPath_, placement, false);
}

bool PictureLoadController::StartReading(const QString& path, Placement placement, bool newPicture)
{
  if (Busy()) {
    return false;
  }
  if (newPicture) {
    placement.scalePercent = 0;  // the old picture's zoom means nothing for this one
  }
  emit BusyChanged(true);
  loader_.Start(
      {QFile::encodeName(path).toStdString(), placement, newPicture},
      [this, path, newPicture](LoadOutcome& outcome) { FinishReading(path, newPicture, outcome); });
  return true;
}

void PictureLoadController::FinishReading(const QString& path, bool newPicture,
                                          LoadOutcome& outcome)
{
  emit BusyChanged(false);
  if (!outcome.read.Ok()) {
    emit ReadFailed(path, QString::fromStdString(outcome.read.error), newPicture);
    return;
  }
  const LoadedPicture& before = workspace_.loaded;
  const LoadedPicture& read = outcome.read.picture;
  const bool sameSize =
      FileWidthOf(before) == FileWidthOf(read) && FileHeightOf(before) == FileHeightOf(read);
  const bool fresh = newPicture || !fileShown_ || !sameSize;
  workspace_.loaded = std::move(outcome.read.picture);
  reduction_ = outcome.read.reduction;
  if (fresh) {
    loadedPath_ = path;
    warnings_ = std::move(outcome.read.warnings);
    fileShown_ = true;
  }
  emit PictureRead(path, fresh, outcome.placement, outcome.frame);
}

}  // namespace pavona
