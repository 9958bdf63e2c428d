// "Export PNG...": the pictures of the last conversion as PNG files, the same
// bytes the command line writes for them.
#include <QAction>
#include <QFileInfo>
#include <QStringList>
#include <vector>

#include "gui/conversion_controller.h"
#include "gui/main_window.h"
#include "gui/picture_load_controller.h"
#include "gui/remembered_state.h"
#include "gui/user_prompts.h"
#include "io/output_files.h"
#include "plan/conversion_plan.h"

namespace pavona {
namespace {

struct PngChoice {
  OutputFile picture;
  QString filter;
  // Ends the suggested name, so that each picture is offered a name of its
  // own and one export never suggests writing over another.
  QString nameEnding;
};

// The fields are pictures of their own only where the plan says so;
// elsewhere both would be the result.
std::vector<PngChoice> PngChoices(const Settings& converted, bool shownOnly)
{
  const OutputFile result = shownOnly ? OutputFile::ResultPngAsShown : OutputFile::ResultPng;
  std::vector<PngChoice> choices = {{result, "Result (*.png)", "-result.png"},
                                    {OutputFile::DitheredPng, "Dithered (*.png)", "-dithered.png"}};
  if (PlanConversion(converted).fieldPictures) {
    choices.push_back({OutputFile::Field1Png, "Field 1 (*.png)", "-field1.png"});
    choices.push_back({OutputFile::Field2Png, "Field 2 (*.png)", "-field2.png"});
  }
  return choices;
}

const PngChoice& ChosenPicture(const std::vector<PngChoice>& choices, const QString& filter)
{
  for (const PngChoice& choice : choices) {
    if (choice.filter == filter) {
      return choice;
    }
  }
  return choices.front();
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
  const std::vector<PngChoice> choices =
      PngChoices(*workspace().converted, ui_.shownOnlyAction->isChecked());
  QStringList filters;
  for (const PngChoice& choice : choices) {
    filters << choice.filter;
  }
  // The dialog suggests the result's name, after the picture converted; the
  // name of the picture chosen instead takes its place when that name is kept.
  const QString& convertedPath = conversion_->ConvertedPicturePath();
  const QString base = convertedPath.isEmpty() ? QString("test-picture")
                                               : QFileInfo(convertedPath).completeBaseName();
  const auto suggested = [&](const PngChoice& choice) {
    return InFolder(RememberedFolder(DialogFolder::Save), base + choice.nameEnding);
  };
  QString chosenFilter;
  const QString typed = prompts_->AskSaveFileChoice(this, suggested(choices.front()),
                                                    filters.join(";;"), &chosenFilter);
  if (typed.isEmpty()) {
    return;
  }
  const PngChoice& chosen = ChosenPicture(choices, chosenFilter);
  QString path = typed;
  if (typed == suggested(choices.front()) && chosen.picture != choices.front().picture) {
    path = suggested(chosen);
    if (QFileInfo::exists(path) && !prompts_->AskReplace(this, path)) {
      return;
    }
  } else if (QFileInfo(path).suffix().isEmpty()) {
    path += ".png";
  }
  if (RefuseSavingOverSource(path)) {
    return;
  }
  ReportSave(path, WriteOutput(path, chosen.picture));
}

}  // namespace pavona
