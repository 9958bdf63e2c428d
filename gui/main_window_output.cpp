// What the last conversion produced, saved as a raw data file or a C64
// program, or decoded back into its two fields for the previews. All of it
// follows the conversion that filled the C64 data, not the controls as they
// are now: a file or preview cut in another mode's layout would be garbage.
#include <QAction>
#include <QFile>
#include <QPushButton>

#include "c64/field_pictures.h"
#include "c64/file_writer.h"
#include "c64/program_file.h"
#include "c64/raw_data_file.h"
#include "gui/main_window.h"
#include "gui/picture_view.h"
#include "gui/preview_windows.h"
#include "gui/user_prompts.h"

namespace pavona {
namespace {

OutputKind KindOf(const Settings& settings)
{
  return {settings.mode, settings.sameBanks, settings.fourColours};
}

}  // namespace

// Disabled until the first conversion: there is nothing to save before it.
void MainWindow::EnableSaving(bool enabled)
{
  ui_.saveRawButton->setEnabled(enabled);
  ui_.saveProgramButton->setEnabled(enabled);
  ui_.saveRawAction->setEnabled(enabled);
  ui_.saveProgramAction->setEnabled(enabled);
}

void MainWindow::SaveRawData()
{
  if (ConversionRunning() || !workspace_->converted) {
    return;
  }
  const QString path = prompts_->AskSaveFileName(this, "Raw Data file (*.raw)");
  if (path.isEmpty()) {
    return;
  }
  const std::string error =
      WriteFileAtomically(QFile::encodeName(path).toStdString(),
                          RawDataBytes(workspace_->c64, KindOf(*workspace_->converted)));
  if (!error.empty()) {
    prompts_->ShowError(this, QString::fromStdString(error));
  }
}

void MainWindow::SaveC64Program()
{
  if (ConversionRunning() || !workspace_->converted) {
    return;
  }
  const QString path = prompts_->AskSaveFileName(this, "C64 Executable (*.prg)");
  if (path.isEmpty()) {
    return;
  }
  const std::string error =
      WriteFileAtomically(QFile::encodeName(path).toStdString(),
                          C64ProgramBytes(workspace_->c64, KindOf(*workspace_->converted)));
  if (!error.empty()) {
    prompts_->ShowError(this, QString::fromStdString(error));
  }
}

// Decodes the fields in the layout of the converted mode, through the palette
// selected now: a palette chosen after converting shows the same C64 colour
// numbers in its own colours. False when nothing has been converted yet.
bool MainWindow::BuildFieldPictures()
{
  if (ConversionRunning() || !workspace_->converted) {
    return false;
  }
  const C64Palette& palette = PaletteColours(GatherSettings().palette);
  Workspace& w = *workspace_;
  if (IsFli(w.converted->mode)) {
    BuildFliFieldPictures(w.c64, palette, w.field1, w.field2);
  } else {
    BuildHiresFieldPictures(w.c64, palette, w.field1, w.field2);
  }
  return true;
}

void MainWindow::ShowFieldPreview()
{
  if (!BuildFieldPictures()) {
    return;
  }
  fieldPreview_->field1View->ShowPicture(workspace_->field1);
  fieldPreview_->field2View->ShowPicture(workspace_->field2);
  ShowCentredOn(fieldPreview_, this);
}

void MainWindow::ShowInterlacedPreview()
{
  if (!BuildFieldPictures()) {
    return;
  }
  interlacedPreview_->field1View->ShowPicture(workspace_->field1);
  interlacedPreview_->field2View->ShowPicture(workspace_->field2);
  ShowCentredOn(interlacedPreview_, this);
}

}  // namespace pavona
