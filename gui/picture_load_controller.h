#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "framing/placement.h"
#include "gui/picture_loader.h"

namespace pavona {

// Brings picture files into the workspace for the window: one at a time, read
// on a thread of their own, and read again at a larger size when a zoom needs
// more pixels than were decoded. Whoever shows the picture listens to its
// signals; a read that ends after the controller is gone is dropped.
class PictureLoadController : public QObject {
  Q_OBJECT
 public:
  // Reads into workspace.loaded; the workspace must outlive the controller.
  explicit PictureLoadController(Workspace& workspace, QObject* parent = nullptr);

  bool Busy() const { return loader_.Busy(); }
  // The file read last as a new picture, which no save may replace; empty
  // before one was read.
  const QString& LoadedPath() const { return loadedPath_; }
  // The source frame shows that file, not the test picture.
  bool FileShown() const { return fileShown_; }
  // Damage the reader tolerated in that file.
  const std::vector<std::string>& Warnings() const { return warnings_; }

  // Starts reading a new picture, placed as `placement` says but with the
  // zoom of the new picture's own start; false (nothing started) while busy.
  bool Open(const QString& path, const Placement& placement);
  // Reads the shown file again when a fresh read for `placement` would give
  // other pixels than the read held (zoomed in, more pixels; fitted after a
  // cut-out, a reduced decode), so that the frame depends on the file and the
  // placement alone; true when a read started.
  bool ReloadIfReadDiffers(const Placement& placement);
  // The test picture is shown instead of the file; nothing is read again.
  void ForgetFile() { fileShown_ = false; }

 signals:
  void BusyChanged(bool busy);
  // How far the read is, in 0..ProgressEnd.
  void Progress(int position);
  // workspace.loaded holds the file read; `frame` shows it placed as
  // `placement`. `fresh` for a new picture, or for a file read again that
  // has changed its size since: its placement starts afresh.
  void PictureRead(const QString& path, bool fresh, const Placement& placement,
                   const Picture& frame);
  // The file was not read; a file read again keeps the picture read before.
  void ReadFailed(const QString& path, const QString& error, bool newPicture);

 private:
  bool StartReading(const QString& path, Placement placement, bool newPicture);
  void FinishReading(const QString& path, bool newPicture, LoadOutcome& outcome);

  Workspace& workspace_;
  QString loadedPath_;
  bool fileShown_ = false;
  std::vector<std::string> warnings_;
  DecodeReduction reduction_;  // how workspace.loaded was reduced while read
  // Declared last, so it waits for a read under way before the rest goes.
  PictureLoader loader_;
};

}  // namespace pavona
