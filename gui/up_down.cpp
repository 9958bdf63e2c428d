#include "gui/up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "gui/whole_number.h"

namespace pavona {

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      buddy_(buddy),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)),
      minimum_(minimum),
      maximum_(maximum),
      position_(minimum)
{
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton* button : {up_, down_}) {
    button->setArrowType(button == up_ ? Qt::UpArrow : Qt::DownArrow);
    button->setAutoRepeat(true);
    button->setFixedSize(16, 11);
    button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(button);
  }
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

int UpDown::position() const
{
  const std::optional<int> typed = ReadWholeNumber(buddy_->text().toStdString());
  return typed ? std::clamp(*typed, minimum_, maximum_) : position_;
}

void UpDown::SetPosition(int position)
{
  position_ = std::clamp(position, minimum_, maximum_);
  buddy_->setText(QString::number(position_));
}

void UpDown::TakeTypedPosition(int typed)
{
  position_ = std::clamp(typed, minimum_, maximum_);
}

void UpDown::StepBy(int steps)
{
  SetPosition(position() + steps);
}

}  // namespace pavona
