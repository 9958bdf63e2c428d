#include "core/conversion_plan.h"

namespace pavona {
namespace {

ColourSearch SearchFor(const Settings& s)
{
  switch (s.mode) {
    case GraphicMode::HiresStandard:
      return ColourSearch::Hires;
    case GraphicMode::HiresInterlaced:
      return s.sameBanks ? ColourSearch::SingleBankHires : ColourSearch::HiresInterlace;
    case GraphicMode::HiresFli:
      return s.extraBruteForce ? ColourSearch::FliExtreme : ColourSearch::Fli;
    case GraphicMode::HiresFliInterlace:
      break;
  }
  if (s.sameBanks) {
    return ColourSearch::SingleBankFli;
  }
  if (!s.fourColours) {
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
FieldPlan FieldsFor(const Settings& s, ColourSearch search)
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
  plan.buildSharedBitmap = search == ColourSearch::FliInterlace;
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
  plan.search = SearchFor(settings);
  plan.firstColumn = IsFli(settings.mode) ? 24 : 0;
  plan.mixTable = MixTableFor(settings, plan.search);
  plan.fields = FieldsFor(settings, plan.search);
  plan.output = {settings.mode, settings.sameBanks, settings.fourColours};
  plan.fieldPictures = IsInterlaced(settings.mode);
  plan.controls = ControlsFor(settings);
  plan.controls.fieldPreviews = plan.fieldPictures;
  return plan;
}

}  // namespace pavona
