#pragma once

#include "refine/refine_canvas.h"

namespace pavona {

// The colour selection chose each unit's colours (a cell's or span's, per
// field) to fit the dithered picture; the eye sees the result blurred. This
// gives a unit another colour in place of one of its two wherever that, with
// the unit's pixels placed anew, brings the blurred result closer to the
// blurred frame. Only colours that suit the unit's pixels better than the
// present one are tried. Leaves units whose mixes do not follow from their
// screen bytes alone (a shared bitmap or shared screens) as they are. The
// outcome does not depend on the number of threads. Returns how many units
// changed.
int ChooseUnitColours(RefineCanvas& canvas);

}  // namespace pavona
