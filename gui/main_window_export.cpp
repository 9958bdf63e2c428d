// "Export PNG...": the pictures of the last conversion as PNG files, the same
// bytes the command line writes for them.
#include <QAction>
#include <QFileInfo>
#include <QStringList>
#include <vector>

#include "gui/conversion_controller.h"
#include "gui/main_window.h"
#include "gui/picture_load_controller.h"
#include "gui/user_prompts.h"
#include "io/output_files.h"
#include "plan/conversion_plan.h"

namespace pavona {
namespace {

struct PngChoice {
  OutputFile picture;
  QString filter;
};

// The fields are pictures of their own only where the plan says so;
// elsewhere both would be the result.
std::vector<PngChoice> PngChoices(const Settings& converted)
{
  std::vector<PngChoice> choices = {{OutputFile::ResultPng, "Result (*.png)"},
                                    {OutputFile::DitheredPng, "Dithered (*.png)"}};
  if (PlanConversion(converted).fieldPictures) {
    choices.push_back({OutputFile::Field1Png, "Field 1 (*.png)"});
    choices.push_back({OutputFile::Field2Png, "Field 2 (*.png)"});
  }
  return choices;
}

OutputFile ChosenPicture(const std::vector<PngChoice>& choices, const QString& filter)
{
  for (const PngChoice& choice : choices) {
    if (choice.filter == filter) {
      return choice.picture;
    }
  }
  return choices.front().picture;
}

}  // namespace

// The fields are written in the colours the conversion ran with, as the
// command line writes them (the previews show them in the palette selected
// now).
void MainWindow::ExportPng()
{
  if (ConversionRunning() || !workspace().converted) {
    return;
  }
  const std::vector<PngChoice> choices = PngChoices(*workspace().converted);
  QStringList filters;
  for (const PngChoice& choice : choices) {
    filters << choice.filter;
  }
  const QString& convertedPath = conversion_->ConvertedPicturePath();
  const QString presetName =
      convertedPath.isEmpty() ? QString() : QFileInfo(convertedPath).completeBaseName();
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
  ReportSave(path, WriteOutput(path, ChosenPicture(choices, chosenFilter)));
}

}  // namespace pavona
