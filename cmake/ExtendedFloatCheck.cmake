# The colour conversions must give the same integers as 64-bit-mantissa
# extended arithmetic. GCC on x86-64 provides that as long double; anywhere
# else long double is a different type and the integers would silently differ
# for a few hundred colours, so refuse to build.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles("
#include <limits>
static_assert(std::numeric_limits<long double>::digits == 64);
int main() { return 0; }
" PAVONA_LONG_DOUBLE_IS_EXTENDED)
if(NOT PAVONA_LONG_DOUBLE_IS_EXTENDED)
  message(FATAL_ERROR
    "long double on this platform is not the 80-bit extended type (64-bit mantissa). "
    "Pavona's colour arithmetic needs it to give exact results; build with GCC on x86-64.")
endif()
