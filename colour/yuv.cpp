#include "colour/yuv.h"

#include "colour/extended_float.h"
#include "colour/picture.h"

namespace pavona {
namespace {

// Each coefficient is the double nearest to its decimal, widened exactly.
Extended LumaExtended(int red, int green, int blue)
{
  return Extended(0.257) * red + Extended(0.504) * green + Extended(0.098) * blue + 16;
}

Extended ChromaUExtended(int red, int green, int blue)
{
  return Extended(-0.148) * red - Extended(0.291) * green + Extended(0.439) * blue + 128;
}

Extended ChromaVExtended(int red, int green, int blue)
{
  return Extended(0.439) * red - Extended(0.368) * green - Extended(0.071) * blue + 128;
}

}  // namespace

Yuv ColourToYuv(int red, int green, int blue)
{
  // The conversion to int truncates toward zero.
  return {int(LumaExtended(red, green, blue)), int(ChromaUExtended(red, green, blue)),
          int(ChromaVExtended(red, green, blue))};
}

Yuv ColourToYuv(std::uint32_t colour)
{
  return ColourToYuv(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

YuvFloat ColourToYuvFloat(std::uint32_t colour)
{
  const int red = RedOf(colour), green = GreenOf(colour), blue = BlueOf(colour);
  return {float(LumaExtended(red, green, blue)), float(ChromaUExtended(red, green, blue)),
          float(ChromaVExtended(red, green, blue))};
}

float LumaAsFloat(int red, int green, int blue)
{
  return float(LumaExtended(red, green, blue));
}

}  // namespace pavona
