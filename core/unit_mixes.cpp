#include "core/unit_mixes.h"

#include <array>
#include <cstdlib>

#include "c64/fli_interlace_data.h"
#include "colour/mix_pair_codes.h"
#include "colour/yuv.h"
#include "select/single_bank_colours.h"

namespace pavona {
namespace {

// How the two fields of a unit combine into what a pixel shows.
enum class FieldCombination {
  OneField,       // no interlace: the unit's 1-colour or 0-colour
  CrossedFields,  // own bitmaps per field: any colour of field 1 with any of field 2
  SharedBitmap,   // one bitmap: both 1-colours, or both 0-colours
  SharedScreens,  // one screen byte c1, c2 for both fields: c1, c2 or their mix
};

FieldCombination CombinationOf(const Settings& settings)
{
  if (!IsInterlaced(settings.mode)) {
    return FieldCombination::OneField;
  }
  if (settings.sameBanks) {
    return FieldCombination::SharedScreens;
  }
  if (settings.mode == GraphicMode::HiresFliInterlace && !settings.fourColours) {
    return FieldCombination::SharedBitmap;
  }
  return FieldCombination::CrossedFields;
}

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

struct SlotList {
  std::array<UnitMix, AllowedMixes::MostPerPixel> mixes{};
  int count = 0;

  void Add(int slot, bool field1Bit, bool field2Bit)
  {
    for (int k = 0; k < count; ++k) {
      if (mixes[k].slot == slot) {
        return;
      }
    }
    mixes[count++] = {std::uint8_t(slot), field1Bit, field2Bit};
  }

  void AddUnlessRemoved(int slot, bool field1Bit, bool field2Bit, const MixTable& ditherTable,
                        const MixTable& searchTable)
  {
    if (!IsRemovedMix(ditherTable, slot) && !IsRemovedMix(searchTable, slot)) {
      Add(slot, field1Bit, field2Bit);
    }
  }
};

SlotList SlotsOfUnit(FieldCombination combination, UnitScreens screens, const ChosenColours& chosen,
                     const MixTable& ditherTable, const Settings& settings)
{
  const int hi1 = screens.field1 >> 4, lo1 = screens.field1 & 0x0F;
  const int hi2 = screens.field2 >> 4, lo2 = screens.field2 & 0x0F;
  const MixTable& searchTable = chosen.searchTable;
  SlotList list;
  switch (combination) {
    case FieldCombination::OneField:
      // Without interlace slots 0..15 hold the pure colours.
      list.Add(hi1, true, false);
      list.Add(lo1, false, false);
      break;
    case FieldCombination::CrossedFields:
      for (bool bit1 : {true, false}) {
        for (bool bit2 : {true, false}) {
          list.AddUnlessRemoved(MixSlotOfColours(bit1 ? hi1 : lo1, bit2 ? hi2 : lo2), bit1, bit2,
                                ditherTable, searchTable);
        }
      }
      break;
    case FieldCombination::SharedBitmap:
      list.AddUnlessRemoved(MixSlotOfColours(hi1, hi2), true, true, ditherTable, searchTable);
      list.AddUnlessRemoved(MixSlotOfColours(lo1, lo2), false, false, ditherTable, searchTable);
      break;
    case FieldCombination::SharedScreens:
      list.AddUnlessRemoved(MixSlotOfColours(hi1, hi1), true, true, ditherTable, searchTable);
      list.AddUnlessRemoved(MixSlotOfColours(lo1, lo1), false, false, ditherTable, searchTable);
      if (SingleBankMixAllowed(chosen.palette, hi1, lo1, settings.flicker)) {
        list.AddUnlessRemoved(MixSlotOfColours(hi1, lo1), true, false, ditherTable, searchTable);
      }
      break;
  }
  return list;
}

}  // namespace

std::unique_ptr<UnitMixes> MixesOfChosenUnits(const ChosenColours& chosen,
                                              const MixTable& ditherTable, const Settings& settings,
                                              int firstColumn)
{
  const FieldCombination combination = CombinationOf(settings);
  const C64Data* data = &chosen.data;
  // The two-colour search leaves only its picture: build the regions it
  // stands for, as the conversion does after it.
  auto built = std::make_unique<C64Data>();
  if (combination == FieldCombination::SharedBitmap) {
    built->fill(0);
    SilentProgress silent;
    BuildFliInterlaceData(chosen.result, chosen.searchTable, *built, silent);
    data = built.get();
  }
  auto units = std::make_unique<UnitMixes>();
  units->resultShowsTableColours = combination != FieldCombination::SharedScreens;
  const bool fli = IsFli(settings.mode);
  if (combination != FieldCombination::SharedBitmap) {
    units->bitmap1 = fli ? FliLayout::FliBitmap1 : HiresLayout::HiresBitmap1;
  }
  if (combination == FieldCombination::CrossedFields ||
      combination == FieldCombination::SharedScreens) {
    units->bitmap2 = fli ? FliLayout::FliBitmap2 : HiresLayout::HiresBitmap2;
  }
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = firstColumn; x < PictureWidth; ++x) {
      const SlotList list =
          SlotsOfUnit(combination, ScreensAt(*data, fli, x, y), chosen, ditherTable, settings);
      units->mixes[PixelIndex(x, y)] = list.mixes;
      units->count[PixelIndex(x, y)] = std::uint8_t(list.count);
    }
  }
  return units;
}

std::unique_ptr<AllowedMixes> AllowedMixesOf(const UnitMixes& units, const MixTable& ditherTable,
                                             Measure measure)
{
  auto allowed = std::make_unique<AllowedMixes>(ditherTable, measure);
  for (int offset = 0; offset < PixelCount; ++offset) {
    std::array<std::uint8_t, AllowedMixes::MostPerPixel> slots;
    for (int k = 0; k < units.count[offset]; ++k) {
      slots[k] = units.mixes[offset][k].slot;
    }
    allowed->Allow(offset, {slots.data(), units.count[offset]});
  }
  return allowed;
}

}  // namespace pavona
