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
  if (s.mode == GraphicMode::MulticolourInterlace) {
    return FieldCombination::CrossedFields;
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
    case GraphicMode::Multicolour:
      return ColourSearch::Multicolour;
    case GraphicMode::MulticolourFli:
      return ColourSearch::MulticolourFli;
    case GraphicMode::MulticolourInterlace:
      return ColourSearch::MulticolourInterlace;
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
  // "Same Col Banks" makes mixes of its own in the hires modes; the
  // multicolour interlace has no such option.
  plan.reduceFlicker = IsInterlaced(s.mode) && !(s.sameBanks && !IsMulticolour(s.mode));
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

// The multicolour modes have none of the hires modes' field options: their
// interlace is always two own pictures whose mixes the flicker level limits.
std::string_view WhyNotApplicableInMulticolour(GraphicMode mode, OptionControl control)
{
  switch (control) {
    case OptionControl::FlickerLevels:
    case OptionControl::FieldPreviews:
      return mode == GraphicMode::MulticolourInterlace
                 ? ""
                 : "Only the interlaced modes show two fields";
    case OptionControl::Refine:
      return "Refine works in the hires modes only";
    case OptionControl::SameBanks:
    case OptionControl::FourColours:
    case OptionControl::AlternateY:
    case OptionControl::AlternateX:
    case OptionControl::AlternateX8:
      break;
  }
  return mode == GraphicMode::MulticolourInterlace
             ? "Multicolour Interlace always shows two pictures of their own, the second one "
               "hires pixel to the right"
             : "Only the hires interlaced modes have these field options";
}

EnabledControls ControlsFor(const Settings& s)
{
  const auto applies = [&s](OptionControl control) { return WhyNotApplicable(s, control).empty(); };
  EnabledControls controls;
  controls.sameBanks = applies(OptionControl::SameBanks);
  controls.flickerLevels = applies(OptionControl::FlickerLevels);
  controls.fourColours = applies(OptionControl::FourColours);
  controls.alternateY = applies(OptionControl::AlternateY);
  controls.alternateX = applies(OptionControl::AlternateX);
  controls.alternateX8 = applies(OptionControl::AlternateX8);
  controls.fieldPreviews = applies(OptionControl::FieldPreviews);
  controls.refine = applies(OptionControl::Refine);
  return controls;
}

FrameArea ShownAreaFor(const Settings& settings)
{
  constexpr int SpriteColumn = 24;
  constexpr int RowsAfterTheFliPicture = 3;
  if (HidesFirstColumns(settings.mode)) {
    return {SpriteColumn, 0, PictureWidth - SpriteColumn, PictureHeight - RowsAfterTheFliPicture};
  }
  if (settings.mode == GraphicMode::HiresInterlaced && !settings.sameBanks) {
    return {SpriteColumn, 0, PictureWidth - SpriteColumn, PictureHeight};
  }
  return {};
}

}  // namespace

std::string_view WhyNotApplicable(const Settings& s, OptionControl control)
{
  if (IsMulticolour(s.mode)) {
    return WhyNotApplicableInMulticolour(s.mode, control);
  }
  const bool interlaced = IsInterlaced(s.mode);
  const bool fliInterlace = s.mode == GraphicMode::HiresFliInterlace;
  if (control == OptionControl::Refine) {
    return {};  // every hires mode
  }
  if (!interlaced) {
    return "Only the interlaced modes (Hires Interlaced, Hires FLI Interlace) show two fields";
  }
  switch (control) {
    case OptionControl::Refine:
    case OptionControl::SameBanks:
    case OptionControl::FlickerLevels:
    case OptionControl::FieldPreviews:
      return {};
    case OptionControl::FourColours:
      if (!fliInterlace) {
        return "Only in Hires FLI Interlace, whose two fields have colours of their own";
      }
      return s.sameBanks ? "Not with \"Same Col Banks\": both fields share the 2 colours of "
                           "each 8x1"
                         : "";
    case OptionControl::AlternateY:
      return fliInterlace || s.sameBanks
                 ? ""
                 : "In Hires Interlaced only with \"Same Col Banks\", where the fields share "
                   "their colours";
    case OptionControl::AlternateX:
      return s.sameBanks ? ""
                         : "Only with \"Same Col Banks\", where the fields share their colours";
    case OptionControl::AlternateX8:
      if (!fliInterlace) {
        return "Only in Hires FLI Interlace, which alternates whole 8x1 cells";
      }
      return s.sameBanks ? "Not with \"Same Col Banks\": both fields share every cell's colours"
                         : "";
  }
  return {};
}

ConversionPlan PlanConversion(const Settings& settings)
{
  ConversionPlan plan;
  plan.controls = ControlsFor(settings);
  plan.fieldCombination = CombinationFor(settings);
  plan.search = SearchFor(settings, plan.fieldCombination);
  plan.firstColumn = HidesFirstColumns(settings.mode) ? 24 : 0;
  plan.shown = ShownAreaFor(settings);
  plan.refine = settings.refine && plan.controls.refine;
  plan.mixTable = MixTableFor(settings, plan.search);
  plan.fields = FieldsFor(settings, plan.fieldCombination);
  plan.output = {settings.mode, settings.sameBanks && !IsMulticolour(settings.mode),
                 plan.fieldCombination == FieldCombination::SharedBitmap};
  plan.fieldPictures = IsInterlaced(settings.mode);
  return plan;
}

}  // namespace pavona
