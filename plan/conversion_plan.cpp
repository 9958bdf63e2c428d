#include "plan/conversion_plan.h"

namespace pavona {
namespace {

// "Same Col Banks" gives both fields one screen per unit; without it the
// two-colour FLI interlace search gives them one bitmap.
FieldCombination CombinationFor(const Settings& s)
{
  if (!IsInterlaced(s.mode)) {
    return FieldCombination::OneField;
  }
  if (s.sameBanks) {
    return FieldCombination::SharedScreens;
  }
  if (s.mode == GraphicMode::HiresFliInterlace && !s.fourColours) {
    return FieldCombination::SharedBitmap;
  }
  return FieldCombination::CrossedFields;
}

ColourSearch SearchFor(const Settings& s, FieldCombination combination)
{
  switch (s.mode) {
    case GraphicMode::HiresStandard:
      return ColourSearch::Hires;
    case GraphicMode::HiresInterlaced:
      return combination == FieldCombination::SharedScreens ? ColourSearch::SingleBankHires
                                                            : ColourSearch::HiresInterlace;
    case GraphicMode::HiresFli:
      return s.extraBruteForce ? ColourSearch::FliExtreme : ColourSearch::Fli;
    case GraphicMode::HiresFliInterlace:
      break;
  }
  if (combination == FieldCombination::SharedScreens) {
    return ColourSearch::SingleBankFli;
  }
  if (combination == FieldCombination::SharedBitmap) {
    return ColourSearch::FliInterlace;
  }
  return s.extraBruteForce ? ColourSearch::FliFourColoursExtreme : ColourSearch::FliFourColours;
}

MixTablePlan MixTableFor(const Settings& s, ColourSearch search)
{
  MixTablePlan plan;
  plan.reduceFlicker = IsInterlaced(s.mode) && !s.sameBanks;
  plan.reduceForLuma = plan.reduceFlicker && s.measure == Measure::Brightness;
  plan.reapplyFlickerBeforeSearch = search == ColourSearch::FliFourColours;
  return plan;
}

// Hires interlaced pictures without "Same Col Banks" keep their fields as the
// search made them. A single bank has no room for the cell-column exchange, and
// only the single-bank fields differ pixel column by pixel column.
FieldPlan FieldsFor(const Settings& s, FieldCombination combination)
{
  FieldPlan plan;
  if (s.mode == GraphicMode::HiresInterlaced && s.sameBanks) {
    plan.alternateRowsHires = s.alternateY;
    plan.alternatePixelColumnsHires = s.alternateX;
    return plan;
  }
  if (s.mode != GraphicMode::HiresFliInterlace) {
    return plan;
  }
  plan.buildSharedBitmap = combination == FieldCombination::SharedBitmap;
  plan.exchangeBitmaps = !plan.buildSharedBitmap;
  plan.alternateRowsFli = s.alternateY;
  plan.alternateCellColumnsFli = !s.sameBanks && s.alternateX8;
  plan.alternatePixelColumnsFli = s.sameBanks && s.alternateX;
  return plan;
}

EnabledControls ControlsFor(const Settings& s)
{
  EnabledControls controls;
  const bool interlaced = IsInterlaced(s.mode);
  const bool fliInterlace = s.mode == GraphicMode::HiresFliInterlace;
  controls.sameBanks = interlaced;
  controls.flickerLevels = interlaced;
  controls.fourColours = fliInterlace && !s.sameBanks;
  controls.alternateY = fliInterlace || (interlaced && s.sameBanks);
  controls.alternateX = interlaced && s.sameBanks;
  controls.alternateX8 = fliInterlace && !s.sameBanks;
  return controls;
}

}  // namespace

ConversionPlan PlanConversion(const Settings& settings)
{
  ConversionPlan plan;
  plan.fieldCombination = CombinationFor(settings);
  plan.search = SearchFor(settings, plan.fieldCombination);
  plan.firstColumn = IsFli(settings.mode) ? 24 : 0;
  plan.mixTable = MixTableFor(settings, plan.search);
  plan.fields = FieldsFor(settings, plan.fieldCombination);
  plan.output = {settings.mode, settings.sameBanks,
                 plan.fieldCombination == FieldCombination::SharedBitmap};
  plan.fieldPictures = IsInterlaced(settings.mode);
  plan.controls = ControlsFor(settings);
  plan.controls.fieldPreviews = plan.fieldPictures;
  return plan;
}

}  // namespace pavona
