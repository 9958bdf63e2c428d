#pragma once

#include "c64/c64_data.h"
#include "c64/output_kind.h"
#include "colour/memory_pages.h"
#include "colour/palettes.h"
#include "colour/picture.h"

namespace pavona {

// The two interlace fields as the C64 shows them, one on each frame.
struct FieldPictures : OnHugePages {
  Picture field1{};
  Picture field2{};
};

// Decodes both fields of C64Data in the layout of the kind of conversion that
// filled it, in the colours of the given palette: a 1-bit shows the screen
// byte's high nibble, a 0-bit its low nibble. In the FLI layout pixel row y
// takes its colours from screen bank y mod 8; the 24 leftmost columns, which
// the FLI viewers cover with a sprite column, are decoded like all others.
// The multicolour modes: each pixel's bit pair picks the background, the
// screen nibbles or the colour RAM, two hires pixels wide; the second
// picture of "Multicolour Interlace" is one hires pixel to the right, and
// the modes without interlace show their one picture in both fields.
// The result is large (two pictures); keep it on the heap when it outlives a
// function call.
FieldPictures DecodeFields(const C64Data& data, OutputKind kind, const C64Palette& palette);
// The same, written into `fields` (on the heap, where the stack may be short).
void DecodeFields(const C64Data& data, OutputKind kind, const C64Palette& palette,
                  FieldPictures& fields);

}  // namespace pavona
