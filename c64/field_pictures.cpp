#include "c64/field_pictures.h"

namespace pavona {

namespace {

// Decodes one field. screenOf(cx, y) gives the offset of the screen byte that
// colours cell column cx on pixel row y.
template <typename ScreenOffsetOf>
void DecodeField(const C64Data& data, const C64Palette& palette, int bitmapBase,
                 ScreenOffsetOf screenOf, Picture& field)
{
  for (int y = 0; y < PictureHeight; ++y) {
    for (int cx = 0; cx < PictureWidth / 8; ++cx) {
      const std::uint8_t screen = data[screenOf(cx, y)];
      const std::uint32_t one = palette[screen >> 4];
      const std::uint32_t zero = palette[screen & 15];
      const std::uint8_t bits = data[bitmapBase + BitmapOffset(cx, y / 8, y % 8)];
      for (int l = 0; l < 8; ++l) {
        field[PixelIndex(cx * 8 + l, y)] = (bits >> (7 - l)) & 1 ? one : zero;
      }
    }
  }
}

// Field f uses HiresScreen1/HiresBitmap1 or HiresScreen2/HiresBitmap2.
void DecodeHiresFields(const C64Data& data, const C64Palette& palette, FieldPictures& fields)
{
  using namespace HiresLayout;
  const C64Region screens[2] = {HiresScreen1, HiresScreen2};
  const C64Region bitmaps[2] = {HiresBitmap1, HiresBitmap2};
  Picture* pictures[2] = {&fields.field1, &fields.field2};
  for (int f = 0; f < 2; ++f) {
    const int screenBase = screens[f].offset;
    DecodeField(
        data, palette, bitmaps[f].offset,
        [screenBase](int cx, int y) { return screenBase + ScreenOffset(cx, y / 8); }, *pictures[f]);
  }
}

void DecodeFliFields(const C64Data& data, const C64Palette& palette, FieldPictures& fields)
{
  using namespace FliLayout;
  const C64Region screens[2] = {FliScreens1, FliScreens2};
  const C64Region bitmaps[2] = {FliBitmap1, FliBitmap2};
  Picture* pictures[2] = {&fields.field1, &fields.field2};
  for (int f = 0; f < 2; ++f) {
    const int screenBase = screens[f].offset;
    DecodeField(
        data, palette, bitmaps[f].offset,
        [screenBase](int cx, int y) { return screenBase + FliScreenOffset(cx, y / 8, y % 8); },
        *pictures[f]);
  }
}

}  // namespace

FieldPictures DecodeFields(const C64Data& data, OutputKind kind, const C64Palette& palette)
{
  FieldPictures fields;
  if (IsFli(kind.mode)) {
    DecodeFliFields(data, palette, fields);
  } else {
    DecodeHiresFields(data, palette, fields);
  }
  return fields;
}

}  // namespace pavona
