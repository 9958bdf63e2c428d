#pragma once

#include <QString>
#include <optional>

#include "framing/placement.h"

class QWidget;

namespace pavona {

// What the program keeps between runs (QSettings, under the organisation
// and application names that main() sets): the folders the file dialogs
// last opened from and saved to, and the main window's size and position.

// Sets the names QSettings files its values under.
void SetSettingsNames();

enum class DialogFolder { Open, Save };

// The folder last used, empty before the first use or when it is gone.
QString RememberedFolder(DialogFolder folder);
// Remembers the folder that holds `file`.
void RememberFolderOf(DialogFolder folder, const QString& file);
// `name` in `folder`, or `name` alone when there is no folder.
QString InFolder(const QString& folder, const QString& name);

// The placement chosen last ("Cut-out 1:1", "Fit" or "Fill", and the pixel
// shape), which a new window starts with; nothing before the first choice.
struct PlacementChoice {
  FitMode mode = FitMode::Cutout;
  PixelAspect aspect = PixelAspect::Pal;
};
std::optional<PlacementChoice> RememberedPlacement();
void RememberPlacement(const PlacementChoice& choice);

// Puts a window where it was last closed; false (and nothing changed) when
// nothing was saved yet.
bool RestoreWindowGeometry(QWidget* window);
void SaveWindowGeometry(const QWidget* window);

}  // namespace pavona
