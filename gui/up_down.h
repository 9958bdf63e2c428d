#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pavona {

// A spinner beside an edit field. Its arrows step a position within its
// range and write it into the field; the field itself still takes any text,
// so what the user types is used as typed. A step starts from the number in
// the field when it holds one, as the field is what the user sees.
class UpDown : public QWidget {
  Q_OBJECT
 public:
  UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  int position() const;
  // Clamps to the range and writes the position into the field.
  void SetPosition(int position);
  // A whole number typed into the field, kept within the range as the
  // position to fall back on; the field stays as typed.
  void TakeTypedPosition(int typed);
  void StepBy(int steps);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 private:
  QLineEdit* buddy_;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_;
  int maximum_;
  int position_;
};

}  // namespace pavona
