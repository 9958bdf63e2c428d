#include "select/colour_search.h"

#include "select/fli_colours.h"
#include "select/fli_extreme.h"
#include "select/fli_four_colours.h"
#include "select/fli_interlace_colours.h"
#include "select/hires_colours.h"
#include "select/hires_interlace_colours.h"
#include "select/multicolour_colours.h"
#include "select/multicolour_fli_colours.h"
#include "select/multicolour_interlace_colours.h"
#include "select/single_bank_colours.h"

namespace pavona {

void RunColourSearch(ColourSearch search, const SearchTables& tables, Picture& result,
                     C64Data& data, ProgressReport& progress)
{
  const MixTable& table = tables.mix;
  const Measure measure = tables.measure;
  switch (search) {
    case ColourSearch::Hires:
      SelectHiresColours(result, table, measure, data, progress);
      return;
    case ColourSearch::HiresInterlace:
      SelectHiresInterlaceColours(result, table, data, progress);
      return;
    case ColourSearch::SingleBankHires:
      SelectSingleBankHiresColours(result, tables.palette, measure, tables.flicker, data, progress);
      return;
    case ColourSearch::Fli:
      SelectFliColours(result, table, measure, data, progress);
      return;
    case ColourSearch::FliExtreme:
      SelectFliColoursExtreme(result, table, measure, data, progress);
      return;
    case ColourSearch::FliInterlace:
      // The bitmap both fields share is built from the result afterwards.
      SelectFliInterlaceColours(result, table, measure, progress);
      return;
    case ColourSearch::FliFourColours:
      SelectFliFourColours(result, table, measure, data, progress);
      return;
    case ColourSearch::FliFourColoursExtreme:
      SelectFliFourColoursExtreme(result, table, data, progress);
      return;
    case ColourSearch::SingleBankFli:
      SelectSingleBankFliColours(result, tables.palette, measure, tables.flicker, data, progress);
      return;
    case ColourSearch::Multicolour:
      SelectMulticolourColours(result, table, measure, data, progress);
      return;
    case ColourSearch::MulticolourFli:
      SelectMulticolourFliColours(result, table, measure, data, progress);
      return;
    case ColourSearch::MulticolourInterlace:
      SelectMulticolourInterlaceColours(result, table, measure, data, progress);
      return;
  }
}

}  // namespace pavona
