#include "colour/palettes.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pavona {
namespace {

// The Colodore colours as published, 0 to 15.
TEST(Palettes, ColodoreIsPinned)
{
  std::istringstream published(
      "000000 FFFFFF 96282E 5BD6CE 9F2DAD 41B936 2724C4 EFF347 "
      "9F4815 5E3500 DA5F66 474747 787878 91FF84 6864FF AEAEAE");
  const C64Palette& colodore = PaletteColours(PaletteId::Colodore);
  for (int n = 0; n < 16; ++n) {
    std::uint32_t colour = 0;
    published >> std::hex >> colour;
    EXPECT_EQ(colodore[std::size_t(n)], colour) << "colour " << n;
  }
  EXPECT_EQ(PaletteName(PaletteId::Colodore), "Colodore");
}

}  // namespace
}  // namespace pavona
