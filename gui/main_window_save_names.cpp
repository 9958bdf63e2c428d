// Where a save goes: the dialog starts in the folder saved to last with the
// picture's name, a name typed without an extension gets the file type's,
// and no save replaces a file the user did not agree to replace or the
// loaded picture.
#include <QFileInfo>
#include <QLocale>

#include "gui/conversion_controller.h"
#include "gui/main_window.h"
#include "gui/picture_load_controller.h"
#include "gui/remembered_state.h"
#include "gui/user_prompts.h"

namespace pavona {

// The name of the picture converted, not of one loaded since; for the test
// picture only the folder is suggested.
QString MainWindow::SuggestedSaveName(const QString& extension) const
{
  const QString folder = RememberedFolder(DialogFolder::Save);
  const QString& convertedPath = conversion_->ConvertedPicturePath();
  if (convertedPath.isEmpty()) {
    return folder.isEmpty() ? QString() : folder + "/";
  }
  return InFolder(folder, QFileInfo(convertedPath).completeBaseName() + extension);
}

// The dialog asked before replacing the name it was given; a name that an
// added extension turned into another existing file is asked about here.
std::optional<QString> MainWindow::FinalSaveName(const QString& typed, const QString& extension)
{
  const QString path = QFileInfo(typed).suffix().isEmpty() ? typed + extension : typed;
  if (RefuseSavingOverSource(path)) {
    return std::nullopt;
  }
  if (path != typed && QFileInfo::exists(path) && !prompts_->AskReplace(this, path)) {
    return std::nullopt;
  }
  return path;
}

std::optional<QString> MainWindow::AskSaveName(const QString& filter, const QString& extension)
{
  const QString typed = prompts_->AskSaveFileName(this, SuggestedSaveName(extension), filter);
  if (typed.isEmpty()) {
    return std::nullopt;
  }
  return FinalSaveName(typed, extension);
}

// Only a folder that was written to is remembered. The status line says what
// was written, with its size as it lies on the disk.
void MainWindow::ReportSave(const QString& path, const std::string& error)
{
  if (!error.empty()) {
    ShowError(QString::fromStdString(error));
    return;
  }
  RememberFolderOf(DialogFolder::Save, path);
  const QFileInfo saved(path);
  SetStatusText(QString("Saved %1, %2 bytes")
                    .arg(saved.fileName(), QLocale(QLocale::English).toString(saved.size())));
}

}  // namespace pavona
