#pragma once

#include <limits>

namespace pavona {

// The colour conversions are defined in 64-bit-mantissa extended floating
// point: constants are the doubles nearest to their decimals, sums run left
// to right, results are truncated toward zero. Plain double arithmetic gives
// another integer for a few hundred colours whose exact value is whole.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "long double must be the x87 extended type (64-bit mantissa); "
              "build with GCC on x86-64");

}  // namespace pavona
