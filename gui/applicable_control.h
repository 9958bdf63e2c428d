#pragma once

#include <string_view>

class QWidget;

namespace pavona {

// Enables `control` when `whyNot` is empty; otherwise disables it and shows
// `whyNot` as its tooltip, so that a disabled control says why. Once enabled
// again the control has its own tooltip back (the one it had the first time
// it came here).
void ShowApplicability(QWidget* control, std::string_view whyNot);

}  // namespace pavona
