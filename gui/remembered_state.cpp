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
constexpr char PlacementModeKey[] = "placement/mode";
constexpr char SquarePixelsKey[] = "placement/squarePixels";

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

// Stored by name, so that a value from another version is ignored rather
// than misread.
std::optional<PlacementChoice> RememberedPlacement()
{
  const QSettings settings;
  const QString mode = settings.value(PlacementModeKey).toString();
  PlacementChoice choice;
  if (mode == "fit") {
    choice.mode = FitMode::Fit;
  } else if (mode == "fill") {
    choice.mode = FitMode::Fill;
  } else if (mode != "cutout") {
    return std::nullopt;
  }
  choice.aspect = settings.value(SquarePixelsKey).toBool() ? PixelAspect::Square : PixelAspect::Pal;
  return choice;
}

void RememberPlacement(const PlacementChoice& choice)
{
  QSettings settings;
  settings.setValue(PlacementModeKey, choice.mode == FitMode::Fit    ? "fit"
                                      : choice.mode == FitMode::Fill ? "fill"
                                                                     : "cutout");
  settings.setValue(SquarePixelsKey, choice.aspect == PixelAspect::Square);
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
