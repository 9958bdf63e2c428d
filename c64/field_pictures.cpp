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

// One multicolour picture, `shift` hires pixels to the right (the columns it
// leaves at the left show the background). screenOf(cx, y) as above.
template <typename ScreenOffsetOf>
void DecodeMulticolourField(const C64Data& data, const C64Palette& palette, C64Region bitmap,
                            ScreenOffsetOf screenOf, int shift, Picture& field)
{
  using namespace MulticolourLayout;
  const std::uint32_t background = palette[data[McBackground] & 15];
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < shift; ++x) {
      field[PixelIndex(x, y)] = background;
    }
    for (int cx = 0; cx < PictureWidth / 8; ++cx) {
      const std::uint8_t screen = data[std::size_t(screenOf(cx, y))];
      const std::uint32_t sources[4] = {
          background, palette[screen >> 4], palette[screen & 15],
          palette[data[std::size_t(McColourRam.offset + ScreenOffset(cx, y / 8))] & 15]};
      const std::uint8_t bits = data[std::size_t(bitmap.offset + BitmapOffset(cx, y / 8, y % 8))];
      for (int pixel = 0; pixel < 4; ++pixel) {
        const std::uint32_t colour = sources[MulticolourBits(bits, pixel)];
        for (int half = 0; half < 2; ++half) {
          const int x = cx * 8 + pixel * 2 + half + shift;
          if (x < PictureWidth) {
            field[PixelIndex(x, y)] = colour;
          }
        }
      }
    }
  }
}

// Without interlace both fields are the one picture; the interlace's second
// picture is shown one hires pixel to the right.
void DecodeMulticolourFields(const C64Data& data, GraphicMode mode, const C64Palette& palette,
                             FieldPictures& fields)
{
  using namespace MulticolourLayout;
  if (mode == GraphicMode::MulticolourFli) {
    DecodeMulticolourField(
        data, palette, McBitmap1,
        [](int cx, int y) { return McFliScreens.offset + FliScreenOffset(cx, y / 8, y % 8); }, 0,
        fields.field1);
    fields.field2 = fields.field1;
    return;
  }
  const auto screen = [](C64Region region) {
    return [region](int cx, int y) { return region.offset + ScreenOffset(cx, y / 8); };
  };
  DecodeMulticolourField(data, palette, McBitmap1, screen(McScreen1), 0, fields.field1);
  if (mode == GraphicMode::MulticolourInterlace) {
    DecodeMulticolourField(data, palette, McBitmap2, screen(McScreen2), 1, fields.field2);
  } else {
    fields.field2 = fields.field1;
  }
}

}  // namespace

FieldPictures DecodeFields(const C64Data& data, OutputKind kind, const C64Palette& palette)
{
  FieldPictures fields;
  DecodeFields(data, kind, palette, fields);
  return fields;
}

void DecodeFields(const C64Data& data, OutputKind kind, const C64Palette& palette,
                  FieldPictures& fields)
{
  fields.field1.fill(0);
  fields.field2.fill(0);
  if (IsMulticolour(kind.mode)) {
    DecodeMulticolourFields(data, kind.mode, palette, fields);
  } else if (IsFli(kind.mode)) {
    DecodeFliFields(data, palette, fields);
  } else {
    DecodeHiresFields(data, palette, fields);
  }
}

}  // namespace pavona
