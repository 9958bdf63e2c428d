// Opening a picture file dropped on the window.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "gui/main_window.h"

namespace pavona {
namespace {

// The local file a drag carries, or nothing when it carries anything else
// (text, a remote address, several files).
QString DroppedFile(const QMimeData* data)
{
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
    return {};
  }
  const QUrl url = data->urls().constFirst();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

// Refused while a conversion runs, like every other way of loading.
void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
  if (!ConversionRunning() && !DroppedFile(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event)
{
  const QString path = DroppedFile(event->mimeData());
  if (ConversionRunning() || path.isEmpty()) {
    return;
  }
  event->acceptProposedAction();
  OpenPicture(path);
}

}  // namespace pavona
