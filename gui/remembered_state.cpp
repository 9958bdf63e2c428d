#include "gui/remembered_state.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>

#include "gui/application_title.h"

namespace pavona {
namespace {

const char* KeyOf(DialogFolder folder)
{
  return folder == DialogFolder::Open ? "folders/open" : "folders/save";
}

constexpr char GeometryKey[] = "mainWindow/geometry";

}  // namespace

void SetSettingsNames()
{
  QCoreApplication::setOrganizationName("Pavona");
  // The name, rather than a display name, so that window captions are not
  // decorated with it; message boxes without a caption of their own show it.
  QCoreApplication::setApplicationName(ApplicationTitle);
}

QString RememberedFolder(DialogFolder folder)
{
  const QString path = QSettings().value(KeyOf(folder)).toString();
  return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

void RememberFolderOf(DialogFolder folder, const QString& file)
{
  QSettings().setValue(KeyOf(folder), QFileInfo(file).absolutePath());
}

QString InFolder(const QString& folder, const QString& name)
{
  return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

bool RestoreWindowGeometry(QWidget* window)
{
  const QByteArray geometry = QSettings().value(GeometryKey).toByteArray();
  return !geometry.isEmpty() && window->restoreGeometry(geometry);
}

void SaveWindowGeometry(const QWidget* window)
{
  QSettings().setValue(GeometryKey, window->saveGeometry());
}

}  // namespace pavona
