// What the last conversion produced, saved as a raw data file or a C64
// program, or decoded back into its two fields for the previews. All of it
// follows the conversion that filled the C64 data, not the controls as they
// are now: a file or preview cut in another mode's layout would be garbage.
#include <QAction>
#include <QFile>
#include <QPushButton>

#include "c64/field_pictures.h"
#include "c64/file_writer.h"
#include "gui/main_window.h"
#include "gui/picture_view.h"
#include "gui/preview_windows.h"
#include "gui/user_prompts.h"
#include "io/output_files.h"
#include "plan/conversion_plan.h"

namespace pavona {

// The same bytes the command line writes for the file.
std::string MainWindow::WriteOutput(const QString& path, OutputFile file) const
{
  const std::string name = QFile::encodeName(path).toStdString();
  const OutputBytes output = OutputFileBytes(file, workspace());
  if (!output.Ok()) {
    return "cannot save " + name + ": " + output.error;
  }
  return WriteFileAtomically(name, output.bytes);
}

// Disabled until the first conversion: there is nothing to save before it.
void MainWindow::EnableSaving(bool enabled)
{
  ui_.saveRawButton->setEnabled(enabled);
  ui_.saveProgramButton->setEnabled(enabled);
  ui_.saveRawAction->setEnabled(enabled);
  ui_.saveProgramAction->setEnabled(enabled);
  ui_.saveC64FileButton->setEnabled(enabled);
  ui_.saveC64FileAction->setEnabled(enabled);
  ui_.exportPngButton->setEnabled(enabled);
  ui_.exportPngAction->setEnabled(enabled);
  EnableEmulatorButton(enabled);
}

void MainWindow::SaveRawData()
{
  if (ConversionRunning() || !workspace().converted) {
    return;
  }
  const std::optional<QString> path = AskSaveName(RawFileType, ".raw");
  if (!path) {
    return;
  }
  ReportSave(*path, WriteOutput(*path, OutputFile::Raw));
}

void MainWindow::SaveC64Program()
{
  if (ConversionRunning() || !workspace().converted) {
    return;
  }
  const std::optional<QString> path = AskSaveName(ProgramFileType, ".prg");
  if (!path) {
    return;
  }
  ReportSave(*path, WriteOutput(*path, OutputFile::Program));
}

// Decodes the fields in the layout of the converted mode, through the palette
// selected now: a palette chosen after converting shows the same C64 colour
// numbers in its own colours. Null when nothing has been converted yet.
std::unique_ptr<FieldPictures> MainWindow::BuildFieldPictures()
{
  if (ConversionRunning() || !workspace().converted) {
    return nullptr;
  }
  const C64Palette palette = PaletteOf(GatherSettings());
  return std::make_unique<FieldPictures>(
      DecodeFields(workspace().c64, PlanConversion(*workspace().converted).output, palette));
}

void MainWindow::ShowFieldPreview()
{
  const auto fields = BuildFieldPictures();
  if (!fields) {
    return;
  }
  fieldPreview_->field1View->ShowPicture(fields->field1);
  fieldPreview_->field2View->ShowPicture(fields->field2);
  ShowCentredOn(fieldPreview_, this);
}

void MainWindow::ShowInterlacedPreview()
{
  const auto fields = BuildFieldPictures();
  if (!fields) {
    return;
  }
  interlacedPreview_->field1View->ShowPicture(fields->field1);
  interlacedPreview_->field2View->ShowPicture(fields->field2);
  ShowCentredOn(interlacedPreview_, this);
}

}  // namespace pavona
