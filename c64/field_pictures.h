#pragma once

#include "c64/c64_data.h"
#include "colour/palettes.h"
#include "colour/picture.h"

namespace pavona {

// Decode the two interlace fields of C64Data into pictures, in the colours of
// the given palette, as the C64 shows them: a 1-bit shows the screen byte's
// high nibble, a 0-bit its low nibble. The 24 leftmost columns, which the FLI
// viewers cover with a sprite column, are decoded like all others.

// HiresLayout: field f uses HiresScreen1/HiresBitmap1 or HiresScreen2/HiresBitmap2.
void BuildHiresFieldPictures(const C64Data& data, const C64Palette& palette, Picture& field1,
                             Picture& field2);

// FliLayout: pixel row y takes its colours from screen bank y mod 8.
void BuildFliFieldPictures(const C64Data& data, const C64Palette& palette, Picture& field1,
                           Picture& field2);

}  // namespace pavona
