// Saving the last conversion in the file format the user picks, the guard
// that keeps every save off the loaded picture, and starting the conversion
// in the emulator.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "c64/c64_files.h"
#include "c64/scene_formats.h"
#include "gui/emulator_launch.h"
#include "gui/main_window.h"
#include "gui/picture_load_controller.h"
#include "gui/user_prompts.h"
#include "io/output_files.h"
#include "plan/conversion_plan.h"

namespace pavona {
namespace {

// One choice of the save dialog's file types.
struct C64FileType {
  QString filter;     // "Art Studio (*.art)"
  QString extension;  // ".art"
};

// The editor format of the mode first: it is the one an editor can open.
std::vector<C64FileType> C64FileTypes(GraphicMode mode)
{
  const SceneFormatInfo& scene = SceneFormatInfoOf(SceneFormatOf(mode));
  const QString sceneExtension = QString::fromUtf8(scene.extension.data(), scene.extension.size());
  return {
      {QString::fromUtf8(scene.name.data(), scene.name.size()) + " (*" + sceneExtension + ")",
       sceneExtension},
      {ProgramFileType, ".prg"},
      {RawFileType, ".raw"},
  };
}

QString JoinedFilters(const std::vector<C64FileType>& types)
{
  QStringList filters;
  for (const C64FileType& type : types) {
    filters << type.filter;
  }
  return filters.join(";;");
}

// The extension of the chosen file type, else of the first.
QString ExtensionOfFilter(const QString& chosenFilter, const std::vector<C64FileType>& types)
{
  for (const C64FileType& type : types) {
    if (type.filter == chosenFilter) {
      return type.extension;
    }
  }
  return types.front().extension;
}

std::filesystem::path FileSystemPath(const QString& path)
{
  return QFile::encodeName(path).toStdString();
}

}  // namespace

// Compared as files, not as names: another spelling or a link to the loaded
// picture or palette file is the same file. A file that does not exist yet is
// none.
bool MainWindow::RefuseSavingOverSource(const QString& path)
{
  const auto same = [&](const QString& input) {
    std::error_code error;
    const std::filesystem::path target = FileSystemPath(path);
    const std::filesystem::path source = FileSystemPath(input);
    return !input.isEmpty() && std::filesystem::exists(target, error) &&
           std::filesystem::exists(source, error) &&
           std::filesystem::equivalent(target, source, error);
  };
  if (same(loads_->LoadedPath())) {
    ShowError("Cannot save " + path + ": it is the picture being converted; choose another name");
    return true;
  }
  if (same(paletteFilePath_)) {
    ShowError("Cannot save " + path + ": it is the palette file " + paletteFilePath_ +
              "; choose another name");
    return true;
  }
  return false;
}

// The file types on offer are those of the mode that was converted, not of
// the mode selected now; the extension of the name decides the format.
void MainWindow::SaveC64File()
{
  if (ConversionRunning() || !workspace().converted) {
    return;
  }
  const OutputKind kind = PlanConversion(*workspace().converted).output;
  const std::vector<C64FileType> types = C64FileTypes(kind.mode);
  QString chosenFilter;
  const QString typed = prompts_->AskSaveFileChoice(
      this, SuggestedSaveName(types.front().extension), JoinedFilters(types), &chosenFilter);
  if (typed.isEmpty()) {
    return;
  }
  const std::optional<QString> final = FinalSaveName(typed, ExtensionOfFilter(chosenFilter, types));
  if (!final) {
    return;
  }
  const QString& path = *final;
  const QString extension = "." + QFileInfo(path).suffix();
  const std::optional<C64File> file = C64FileFor(extension.toStdString(), kind.mode);
  if (!file) {
    ShowError("Cannot save " + path + ": " + extension + " is no C64 file of this mode (use " +
              QString::fromStdString(C64FileExtensions(kind.mode)) + ")");
    return;
  }
  ReportSave(path, WriteOutput(path, OutputFileOf(*file)));
}

// PATH is looked at each time: the emulator may be installed while the
// program runs.
void MainWindow::EnableEmulatorButton(bool converted)
{
  const char* searchPath = std::getenv("PATH");
  const bool found =
      FindEmulator(std::string(EmulatorProgram), searchPath != nullptr ? searchPath : "")
          .has_value();
  QPushButton* button = ui_.runEmulatorButton;
  button->setEnabled(converted && found);
  if (!converted) {
    button->setToolTip("Convert a picture first");
  } else if (!found) {
    button->setToolTip("VICE's x64sc was not found on the PATH");
  } else {
    button->setToolTip("Start the conversion in VICE's x64sc");
  }
}

void MainWindow::RunConversionInEmulator()
{
  if (ConversionRunning() || !workspace().converted) {
    return;
  }
  const std::string error = RunInEmulator(workspace());
  if (!error.empty()) {
    ShowError(QString::fromStdString(error));
  }
}

}  // namespace pavona
