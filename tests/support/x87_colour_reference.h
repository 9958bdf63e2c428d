#pragma once

#include <cfloat>

// The colour conversions in the form that defines them: 64-bit-mantissa
// extended floating point, which GCC on x86-64 provides as long double (the
// x87 80-bit type). On other CPUs long double is another type (a 128-bit
// quad, or double itself) and there is no reference to compare with.
#if LDBL_MANT_DIG == 64
#define PAVONA_HAVE_X87_REFERENCE 1

#include <algorithm>
#include <cstdint>

#include "colour/picture.h"

namespace pavona::x87 {

using Extended = long double;

// Each coefficient is the double nearest to its decimal, widened exactly.
inline Extended Luma(int red, int green, int blue)
{
  return Extended(0.257) * red + Extended(0.504) * green + Extended(0.098) * blue + 16;
}

inline Extended ChromaU(int red, int green, int blue)
{
  return Extended(-0.148) * red - Extended(0.291) * green + Extended(0.439) * blue + 128;
}

inline Extended ChromaV(int red, int green, int blue)
{
  return Extended(0.439) * red - Extended(0.368) * green - Extended(0.071) * blue + 128;
}

// Back from Y, U, V: each channel before its truncation.
inline Extended Red(Extended y, Extended v)
{
  return y + Extended(1.370705) * (v - 128);
}

inline Extended Green(Extended y, Extended u, Extended v)
{
  return y - Extended(0.698001) * (v - 128) - Extended(0.337633) * (u - 128);
}

inline Extended Blue(Extended y, Extended u)
{
  return y + Extended(1.732446) * (u - 128);
}

// Truncated toward zero and clamped.
inline int Channel(Extended value)
{
  return std::clamp(int(value), 0, 255);
}

inline std::uint32_t ToColour(Extended y, Extended u, Extended v)
{
  return MakeColour(Channel(Red(y, v)), Channel(Green(y, u, v)), Channel(Blue(y, u)));
}

}  // namespace pavona::x87

#endif
