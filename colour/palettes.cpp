#include "colour/palettes.h"

namespace pavona {
namespace {

// Five common measurements of the VIC-II's colours as seen on a PC screen.
constexpr C64Palette Pepto = {0x000000, 0xFFFFFF, 0x68372B, 0x70A4B2, 0x6F3D86, 0x588D43,
                              0x352879, 0xB8C76F, 0x6F4F25, 0x433900, 0x9A6759, 0x444444,
                              0x6C6C6C, 0x9AD284, 0x6C5EB5, 0x959595};
constexpr C64Palette Deekay = {0x000000, 0xFFFFFF, 0x882000, 0x68D0A8, 0xA838A0, 0x50B818,
                               0x181090, 0xF0E858, 0xA84800, 0x472B1B, 0xC87870, 0x484848,
                               0x808080, 0x98FF98, 0x5090D0, 0xB8B8B8};
constexpr C64Palette Vice = {0x000000, 0xFDFEFC, 0xBE1A24, 0x30E6C6, 0xB41AE2, 0x1FA21E,
                             0x211BAE, 0xDFF60A, 0xB84104, 0x6A3304, 0xFE4A57, 0x424540,
                             0x70746F, 0x59FE59, 0x5F53FE, 0xA4A7A2};
constexpr C64Palette Ccs64 = {0x191D19, 0xFCF9FC, 0x933A4C, 0xB6FAFA, 0xD27DED, 0x6ACF6F,
                              0x4F44D8, 0xFBFB8B, 0x989C5B, 0x7F5307, 0xEF839F, 0x575753,
                              0xA3A7A7, 0xB7FBBF, 0xA397FF, 0xEFE9E7};
constexpr C64Palette Frodo = {0x000000, 0xFFFFFF, 0xCC0000, 0x00FFCC, 0xFF00FF, 0x00CC00,
                              0x0000CC, 0xFFFF00, 0xFF8800, 0x884400, 0xFF8888, 0x444444,
                              0x888888, 0x88FF88, 0x8888FF, 0xCCCCCC};
// A later measurement that models the VIC-II's video output.
constexpr C64Palette Colodore = {0x000000, 0xFFFFFF, 0x96282E, 0x5BD6CE, 0x9F2DAD, 0x41B936,
                                 0x2724C4, 0xEFF347, 0x9F4815, 0x5E3500, 0xDA5F66, 0x474747,
                                 0x787878, 0x91FF84, 0x6864FF, 0xAEAEAE};

}  // namespace

const C64Palette& PaletteColours(PaletteId palette)
{
  switch (palette) {
    case PaletteId::Deekay:
      return Deekay;
    case PaletteId::Vice:
      return Vice;
    case PaletteId::Ccs64:
      return Ccs64;
    case PaletteId::Frodo:
      return Frodo;
    case PaletteId::Colodore:
      return Colodore;
    case PaletteId::Custom:
    case PaletteId::Pepto:
      break;
  }
  return Pepto;
}

std::string_view PaletteName(PaletteId palette)
{
  switch (palette) {
    case PaletteId::Deekay:
      return "Deekay";
    case PaletteId::Vice:
      return "Vice";
    case PaletteId::Ccs64:
      return "CCS64";
    case PaletteId::Frodo:
      return "Frodo";
    case PaletteId::Colodore:
      return "Colodore";
    case PaletteId::Custom:
      return "Custom";
    case PaletteId::Pepto:
      break;
  }
  return "Pepto";
}

}  // namespace pavona
