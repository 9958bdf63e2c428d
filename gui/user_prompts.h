#pragma once

#include <QString>

class QWidget;

namespace pavona {

// `text` with its first letter a capital, as a message of the window begins.
inline QString AsSentence(QString text)
{
  if (!text.isEmpty()) {
    text[0] = text[0].toUpper();
  }
  return text;
}

// The file types of the C64 files, named alike in every save dialog.
inline constexpr char ProgramFileType[] = "C64 program (*.prg)";
inline constexpr char RawFileType[] = "Raw C64 data (*.raw)";

// The questions the main window puts to the user: which file to open or to
// save, and an error to acknowledge. The program asks through the standard
// dialogs; tests put in their own answers so that nothing waits for a person.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  // The chosen file, or an empty string when the user cancelled. The file
  // name field starts with presetName, and a preset with a folder
  // ("/photos/*.jpg") starts the dialog in that folder; filters are
  // separated by ";;".
  virtual QString AskOpenFileName(QWidget* parent, const QString& presetName,
                                  const QString& filters) = 0;
  // A save dialog for one file type, started as the open dialog is. The
  // standard dialog adds presetName's extension to a name typed without
  // one, but the caller must not count on it.
  virtual QString AskSaveFileName(QWidget* parent, const QString& presetName,
                                  const QString& filter) = 0;
  // A save dialog that offers several file types (filters separated by
  // ";;"), started as the open dialog is. The name as typed; the file type
  // chosen goes to *chosenFilter.
  virtual QString AskSaveFileChoice(QWidget* parent, const QString& presetName,
                                    const QString& filters, QString* chosenFilter) = 0;
  // Whether an existing file may be replaced; asked when the name the
  // dialog confirmed became another by an added extension.
  virtual bool AskReplace(QWidget* parent, const QString& path) = 0;
  // A modal message box with the program's title.
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

// The standard open and save dialogs and message box.
class StandardPrompts final : public UserPrompts {
 public:
  QString AskOpenFileName(QWidget* parent, const QString& presetName,
                          const QString& filters) override;
  QString AskSaveFileName(QWidget* parent, const QString& presetName,
                          const QString& filter) override;
  QString AskSaveFileChoice(QWidget* parent, const QString& presetName, const QString& filters,
                            QString* chosenFilter) override;
  bool AskReplace(QWidget* parent, const QString& path) override;
  void ShowError(QWidget* parent, const QString& text) override;
};

}  // namespace pavona
