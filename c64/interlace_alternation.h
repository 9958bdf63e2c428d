#pragma once

#include "c64/c64_data.h"

namespace pavona {

// The interlace fields flicker where they differ. These steps exchange parts
// of field 1 and field 2 in place so that neighbouring rows or columns flicker
// in opposite phase; each pixel keeps its two colours, only the frame showing
// each changes. Every step is its own inverse, and the spare tails of the
// regions are never touched.

// Whether the two FLI fields show one bitmap or each its own. The caller
// decides: one shared bitmap must stay shared (the files then write it
// once), while four colours per 8x1 or the single-bank search give each field
// its own, whose bytes are exchanged with the screens.
enum class FieldBitmaps { Shared, Own };

// Exchanges screen banks 0, 2, 4 and 6 between the fields and, with bitmaps
// of their own, the bitmap bytes of pixel rows 0, 2, 4, 6 of every cell.
void AlternateRowsFli(C64Data& data, FieldBitmaps bitmaps);

// Exchanges the screen bytes of the even cell columns (0, 2, ..., 38) in all
// eight banks and, with bitmaps of their own, the eight bitmap bytes of those
// cells.
void AlternateCellColumnsFli(C64Data& data, FieldBitmaps bitmaps);

// Exchanges the bitmap bits of the odd picture columns (bits 6, 4, 2, 0 of
// every byte) between the two FLI bitmaps; the screens stay.
void AlternatePixelColumnsFli(C64Data& data);

// The same two steps on the hires layout's bitmaps; its screens stay.
void AlternateRowsHires(C64Data& data);
void AlternatePixelColumnsHires(C64Data& data);

}  // namespace pavona
