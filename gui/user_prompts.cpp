#include "gui/user_prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "gui/application_title.h"

namespace pavona {
namespace {

QString RunFileDialog(QFileDialog& dialog)
{
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return {};
  }
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString StandardPrompts::AskOpenFileName(QWidget* parent, const QString& presetName,
                                         const QString& filters)
{
  QFileDialog dialog(parent);
  dialog.setObjectName("openDialog");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(filters);
  dialog.selectFile(presetName);
  return RunFileDialog(dialog);
}

// With the extension added by the dialog, its question before replacing a
// file is about the name that will be written.
QString StandardPrompts::AskSaveFileName(QWidget* parent, const QString& presetName,
                                         const QString& filter)
{
  QFileDialog dialog(parent);
  dialog.setObjectName("saveDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(QFileInfo(presetName).suffix());
  dialog.selectFile(presetName);
  return RunFileDialog(dialog);
}

QString StandardPrompts::AskSaveFileChoice(QWidget* parent, const QString& presetName,
                                           const QString& filters, QString* chosenFilter)
{
  QFileDialog dialog(parent);
  dialog.setObjectName("saveChoiceDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(filters);
  // The window adds the chosen type's extension itself.
  dialog.setDefaultSuffix(QString());
  dialog.selectFile(presetName);
  const QString path = RunFileDialog(dialog);
  *chosenFilter = dialog.selectedNameFilter();
  return path;
}

bool StandardPrompts::AskReplace(QWidget* parent, const QString& path)
{
  QMessageBox box(QMessageBox::Warning, ApplicationTitle,
                  path + " already exists. Do you want to replace it?",
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void StandardPrompts::ShowError(QWidget* parent, const QString& text)
{
  QMessageBox box(QMessageBox::Critical, ApplicationTitle, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace pavona
