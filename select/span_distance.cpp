#include "select/span_distance.h"

namespace pavona {

SlotDistances::SlotDistances(const MixTable& table, int count, Measure measure)
    : count_(count), measure_(measure), slots_(count), distances_(count * count)
{
  for (int slot = 0; slot < count; ++slot) {
    slots_[slot] = Measured(table.colour[slot]);
  }
  for (int p = 0; p < count; ++p) {
    for (int s = 0; s < count; ++s) {
      distances_[p * count + s] = SpanDistance(measure, slots_[p], slots_[s]);
    }
  }
}

}  // namespace pavona
