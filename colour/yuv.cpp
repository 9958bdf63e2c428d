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

}  // namespace

Yuv ColourToYuv(int red, int green, int blue)
{
  const Extended y = LumaExtended(red, green, blue);
  const Extended u =
      Extended(-0.148) * red - Extended(0.291) * green + Extended(0.439) * blue + 128;
  const Extended v =
      Extended(0.439) * red - Extended(0.368) * green - Extended(0.071) * blue + 128;
  // The conversion to int truncates toward zero.
  return {int(y), int(u), int(v)};
}

Yuv ColourToYuv(std::uint32_t colour)
{
  return ColourToYuv(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

float LumaAsFloat(int red, int green, int blue)
{
  return float(LumaExtended(red, green, blue));
}

}  // namespace pavona
