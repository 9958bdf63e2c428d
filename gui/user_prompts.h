#pragma once

#include <QString>

class QWidget;

namespace pavona {

// The questions the main window puts to the user: which file to open or to
// save, and an error to acknowledge. The program asks through the standard
// dialogs; tests put in their own answers so that nothing waits for a person.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  // The chosen file, or an empty string when the user cancelled. The file
  // name field starts with presetName; filters are separated by ";;".
  virtual QString AskOpenFileName(QWidget* parent, const QString& presetName,
                                  const QString& filters) = 0;
  // The name as the user typed it: no extension is added.
  virtual QString AskSaveFileName(QWidget* parent, const QString& filter) = 0;
  // A save dialog that offers several file types (filters separated by
  // ";;"), its name field starting with presetName. The name as typed; the
  // file type chosen goes to *chosenFilter.
  virtual QString AskSaveFileChoice(QWidget* parent, const QString& presetName,
                                    const QString& filters, QString* chosenFilter) = 0;
  // A modal message box with the program's title.
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

// The standard open and save dialogs and message box.
class StandardPrompts final : public UserPrompts {
 public:
  QString AskOpenFileName(QWidget* parent, const QString& presetName,
                          const QString& filters) override;
  QString AskSaveFileName(QWidget* parent, const QString& filter) override;
  QString AskSaveFileChoice(QWidget* parent, const QString& presetName, const QString& filters,
                            QString* chosenFilter) override;
  void ShowError(QWidget* parent, const QString& text) override;
};

}  // namespace pavona
