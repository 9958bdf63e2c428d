#include "gui/applicable_control.h"

#include <QVariant>
#include <QWidget>

namespace pavona {
namespace {

constexpr char OwnToolTip[] = "ownToolTip";

}  // namespace

void ShowApplicability(QWidget* control, std::string_view whyNot)
{
  if (!control->property(OwnToolTip).isValid()) {
    control->setProperty(OwnToolTip, control->toolTip());
  }
  control->setEnabled(whyNot.empty());
  control->setToolTip(whyNot.empty() ? control->property(OwnToolTip).toString()
                                     : QString::fromUtf8(whyNot.data(), qsizetype(whyNot.size())));
}

}  // namespace pavona
