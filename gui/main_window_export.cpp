// "Export PNG...": the pictures of the last conversion as PNG files, the same
// bytes the command line writes for them.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

#include "c64/field_pictures.h"
#include "c64/file_writer.h"
#include "gui/main_window.h"
#include "gui/user_prompts.h"
#include "io/png_writer.h"
#include "plan/conversion_plan.h"

namespace pavona {
namespace {

enum class ExportedPicture { Result, Dithered, Field1, Field2 };

struct PngChoice {
  ExportedPicture picture;
  QString filter;
};

// The fields differ only in the interlaced modes; elsewhere both are the
// result.
std::vector<PngChoice> PngChoices(GraphicMode mode)
{
  std::vector<PngChoice> choices = {{ExportedPicture::Result, "Result (*.png)"},
                                    {ExportedPicture::Dithered, "Dithered (*.png)"}};
  if (IsInterlaced(mode)) {
    choices.push_back({ExportedPicture::Field1, "Field 1 (*.png)"});
    choices.push_back({ExportedPicture::Field2, "Field 2 (*.png)"});
  }
  return choices;
}

ExportedPicture ChosenPicture(const std::vector<PngChoice>& choices, const QString& filter)
{
  for (const PngChoice& choice : choices) {
    if (choice.filter == filter) {
      return choice.picture;
    }
  }
  return choices.front().picture;
}

// The fields in the colours the conversion ran with, as the command line
// writes them (the previews show them in the palette selected now, and
// selecting a palette puts its colours into the workspace at once).
std::vector<std::uint8_t> PngBytes(const Workspace& workspace, ExportedPicture picture)
{
  switch (picture) {
    case ExportedPicture::Result:
      return EncodePng(workspace.result);
    case ExportedPicture::Dithered:
      return EncodePng(workspace.dithered);
    case ExportedPicture::Field1:
    case ExportedPicture::Field2:
      break;
  }
  const OutputKind kind = PlanConversion(*workspace.converted).output;
  const auto fields = std::make_unique<FieldPictures>(
      DecodeFields(workspace.c64, kind, PaletteOf(*workspace.converted)));
  return EncodePng(picture == ExportedPicture::Field1 ? fields->field1 : fields->field2);
}

}  // namespace

void MainWindow::ExportPng()
{
  if (ConversionRunning() || !workspace_->converted) {
    return;
  }
  const std::vector<PngChoice> choices = PngChoices(workspace_->converted->mode);
  QStringList filters;
  for (const PngChoice& choice : choices) {
    filters << choice.filter;
  }
  const QString presetName =
      loadedPath_.isEmpty() ? QString() : QFileInfo(loadedPath_).completeBaseName();
  QString chosenFilter;
  QString path = prompts_->AskSaveFileChoice(this, presetName, filters.join(";;"), &chosenFilter);
  if (path.isEmpty()) {
    return;
  }
  if (QFileInfo(path).suffix().isEmpty()) {
    path += ".png";
  }
  if (RefuseSavingOverSource(path)) {
    return;
  }
  std::string error;
  try {
    const std::vector<std::uint8_t> bytes =
        PngBytes(*workspace_, ChosenPicture(choices, chosenFilter));
    error = WriteFileAtomically(QFile::encodeName(path).toStdString(), bytes);
  } catch (const std::exception& failure) {
    error = "cannot save " + QFile::encodeName(path).toStdString() + ": " + failure.what();
  }
  if (!error.empty()) {
    prompts_->ShowError(this, QString::fromStdString(error));
  }
}

}  // namespace pavona
