#include "gui/user_prompts.h"

#include <QFileDialog>
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

QString StandardPrompts::AskSaveFileName(QWidget* parent, const QString& filter)
{
  QFileDialog dialog(parent);
  dialog.setObjectName("saveDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(filter);
  // No default suffix: a name typed without an extension is saved without one.
  dialog.setDefaultSuffix(QString());
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

void StandardPrompts::ShowError(QWidget* parent, const QString& text)
{
  QMessageBox box(QMessageBox::Critical, ApplicationTitle, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace pavona
