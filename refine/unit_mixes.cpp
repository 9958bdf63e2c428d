#include "refine/unit_mixes.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "c64/fli_interlace_data.h"
#include "colour/mix_pair_codes.h"
#include "colour/yuv.h"
#include "select/single_bank_colours.h"

namespace pavona {
namespace {

// The screen bytes of the pixel's unit in field 1 and field 2.
struct UnitScreens {
  int field1;
  int field2;
};

UnitScreens ScreensAt(const C64Data& data, bool fli, int x, int y)
{
  const int cx = x / 8, cy = y / 8;
  if (fli) {
    const int offset = FliScreenOffset(cx, cy, y % 8);
    return {data[FliLayout::FliScreens1.offset + offset],
            data[FliLayout::FliScreens2.offset + offset]};
  }
  const int offset = ScreenOffset(cx, cy);
  return {data[HiresLayout::HiresScreen1.offset + offset],
          data[HiresLayout::HiresScreen2.offset + offset]};
}

// Whether the single-bank searches let the unit of palette colours c1, c2
// show their mix (its brightness test, on the unrounded luma).
bool SingleBankMixAllowed(const C64Palette& palette, int c1, int c2, FlickerLevel level)
{
  const double difference =
      double(ColourToYuvFloat(palette[c1]).y) - double(ColourToYuvFloat(palette[c2]).y);
  return std::abs(int(difference)) <= SingleBankBrightnessLimit(level);
}

void AddUnlessRemoved(MixList& list, int slot, bool field1Bit, bool field2Bit,
                      const MixTable& ditherTable, const MixTable& searchTable)
{
  if (!IsRemovedMix(ditherTable, slot) && !IsRemovedMix(searchTable, slot)) {
    list.Add(slot, field1Bit, field2Bit);
  }
}

UnitColourPlaces PlacesOf(FieldCombination combination, bool fli, const MixTable& ditherTable,
                          const MixTable& searchTable)
{
  UnitColourPlaces places;
  places.chooseable =
      combination == FieldCombination::OneField || combination == FieldCombination::CrossedFields;
  places.interlaced = combination == FieldCombination::CrossedFields;
  places.fli = fli;
  places.screen1 = fli ? FliLayout::FliScreens1 : HiresLayout::HiresScreen1;
  places.screen2 = fli ? FliLayout::FliScreens2 : HiresLayout::HiresScreen2;
  for (int a = 0; a < 16; ++a) {
    for (int b = 0; b < 16; ++b) {
      const int slot = places.interlaced ? MixSlotOfColours(a, b) : a;
      const bool removed =
          places.interlaced && (IsRemovedMix(ditherTable, slot) || IsRemovedMix(searchTable, slot));
      places.slotOf[a][b] = std::int16_t(removed ? -1 : slot);
    }
  }
  return places;
}

MixList SlotsOfUnit(FieldCombination combination, const UnitColourPlaces& places,
                    UnitScreens screens, const ChosenColours& chosen, const MixTable& ditherTable,
                    const Settings& settings)
{
  const int hi1 = screens.field1 >> 4, lo1 = screens.field1 & 0x0F;
  const int hi2 = screens.field2 >> 4, lo2 = screens.field2 & 0x0F;
  const MixTable& searchTable = chosen.searchTable;
  MixList list;
  switch (combination) {
    case FieldCombination::OneField:
    case FieldCombination::CrossedFields:
      return places.MixesOf(screens.field1, screens.field2);
    case FieldCombination::SharedBitmap:
      AddUnlessRemoved(list, MixSlotOfColours(hi1, hi2), true, true, ditherTable, searchTable);
      AddUnlessRemoved(list, MixSlotOfColours(lo1, lo2), false, false, ditherTable, searchTable);
      break;
    case FieldCombination::SharedScreens:
      AddUnlessRemoved(list, MixSlotOfColours(hi1, hi1), true, true, ditherTable, searchTable);
      AddUnlessRemoved(list, MixSlotOfColours(lo1, lo1), false, false, ditherTable, searchTable);
      if (SingleBankMixAllowed(chosen.palette, hi1, lo1, settings.flicker)) {
        AddUnlessRemoved(list, MixSlotOfColours(hi1, lo1), true, false, ditherTable, searchTable);
      }
      break;
  }
  return list;
}

}  // namespace

void MixList::Add(int slot, bool field1Bit, bool field2Bit)
{
  for (int k = 0; k < count; ++k) {
    if (mixes[k].slot == slot) {
      return;
    }
  }
  mixes[count++] = {std::uint8_t(slot), field1Bit, field2Bit};
}

int UnitColourPlaces::ScreenByteAt(int field, int x, int y) const
{
  const C64Region screens = field == 1 ? screen1 : screen2;
  return screens.offset + (fli ? FliScreenOffset(x / 8, y / 8, y % 8) : ScreenOffset(x / 8, y / 8));
}

MixList UnitColourPlaces::MixesOf(int screen1Byte, int screen2Byte) const
{
  const int hi1 = screen1Byte >> 4, lo1 = screen1Byte & 0x0F;
  const int hi2 = screen2Byte >> 4, lo2 = screen2Byte & 0x0F;
  MixList list;
  if (!interlaced) {
    // Without interlace slots 0..15 hold the pure colours.
    list.Add(hi1, true, false);
    list.Add(lo1, false, false);
    return list;
  }
  for (bool bit1 : {true, false}) {
    for (bool bit2 : {true, false}) {
      const int slot = slotOf[bit1 ? hi1 : lo1][bit2 ? hi2 : lo2];
      if (slot >= 0) {
        list.Add(slot, bit1, bit2);
      }
    }
  }
  return list;
}

void FindUnitMixes(const ChosenColours& chosen, const MixTable& ditherTable,
                   const Settings& settings, const ConversionPlan& plan, UnitMixes& units)
{
  const FieldCombination combination = plan.fieldCombination;
  const int firstColumn = plan.firstColumn;
  const C64Data* data = &chosen.data;
  // The two-colour search leaves only its picture: build the regions it
  // stands for, as the conversion does after it.
  std::unique_ptr<C64Data> built;
  if (combination == FieldCombination::SharedBitmap) {
    built = std::make_unique<C64Data>();
    built->fill(0);
    SilentProgress silent;
    BuildFliInterlaceData(chosen.result, chosen.searchTable, *built, silent);
    data = built.get();
  }
  std::fill(units.count.begin(), units.count.end(), std::uint8_t(0));
  units.bitmap1 = units.bitmap2 = C64Region{0, 0};
  units.resultShowsTableColours = combination != FieldCombination::SharedScreens;
  const bool fli = IsFli(settings.mode);
  units.places = PlacesOf(combination, fli, ditherTable, chosen.searchTable);
  if (combination != FieldCombination::SharedBitmap) {
    units.bitmap1 = fli ? FliLayout::FliBitmap1 : HiresLayout::HiresBitmap1;
  }
  if (combination == FieldCombination::CrossedFields ||
      combination == FieldCombination::SharedScreens) {
    units.bitmap2 = fli ? FliLayout::FliBitmap2 : HiresLayout::HiresBitmap2;
  }
  for (int y = 0; y < PictureHeight; ++y) {
    // Every pixel of an 8-pixel span of a row lies in the same units.
    MixList list;
    for (int x = firstColumn; x < PictureWidth; ++x) {
      if (x == firstColumn || x % 8 == 0) {
        list = SlotsOfUnit(combination, units.places, ScreensAt(*data, fli, x, y), chosen,
                           ditherTable, settings);
      }
      units.mixes[PixelIndex(x, y)] = list.mixes;
      units.count[PixelIndex(x, y)] = std::uint8_t(list.count);
    }
  }
}

}  // namespace pavona
