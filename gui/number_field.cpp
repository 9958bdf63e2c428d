#include "gui/number_field.h"

#include <QLineEdit>
#include <QSlider>
#include <optional>

#include "gui/up_down.h"
#include "gui/whole_number.h"

namespace pavona {
namespace {

// The user has typed into the field since the program last wrote it: Qt sets
// the flag on every edit by the user and clears it on every setText.
bool BeingTyped(const QLineEdit* field)
{
  return field->isModified();
}

// Rewrites the field only when its text differs, so that the cursor and the
// undo history of an unchanged field stay as they are.
void ShowNumber(QLineEdit* field, int value)
{
  const QString text = QString::number(value);
  if (field->text() != text) {
    field->setText(text);
  } else {
    field->setModified(false);
  }
}

}  // namespace

void ConnectTrackBarField(QLineEdit* field, QSlider* trackBar)
{
  QObject::connect(field, &QLineEdit::textChanged, trackBar,
                   [field, trackBar](const QString& text) {
                     if (!BeingTyped(field)) {
                       trackBar->setValue(ParseWholeNumber(text.toStdString()));
                       return;
                     }
                     if (const std::optional<int> typed = ReadWholeNumber(text.toStdString())) {
                       trackBar->setValue(*typed);
                     }
                   });
  QObject::connect(field, &QLineEdit::editingFinished, trackBar,
                   [field, trackBar] { ShowNumber(field, trackBar->value()); });
}

void ShowTrackBarPosition(QLineEdit* field, int position)
{
  if (!BeingTyped(field)) {
    field->setText(QString::number(position));
  }
}

void ConnectSpinnerField(QLineEdit* field, UpDown* spinner)
{
  QObject::connect(field, &QLineEdit::textChanged, spinner, [field, spinner](const QString& text) {
    if (!BeingTyped(field)) {
      return;
    }
    if (const std::optional<int> typed = ReadWholeNumber(text.toStdString())) {
      spinner->TakeTypedPosition(*typed);
    }
  });
  QObject::connect(field, &QLineEdit::editingFinished, spinner,
                   [field, spinner] { ShowNumber(field, spinner->position()); });
}

}  // namespace pavona
