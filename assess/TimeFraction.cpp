// Step 3 of the method: the fraction of an averaging window a transmit /
// receive cycle transmits, for the worst window, which starts as a
// transmission starts.
#include <algorithm>
#include <cmath>

#include "assess/StationMethod.h"

namespace korrin::assess {

Real TimeFraction(const std::optional<Cycle>& cycle, Real averagingMinutes) {
  if (!cycle) return 1.0L;
  const Real on = cycle->onMinutes;
  const Real period = on + cycle->offMinutes;
  if (!(period > 0) || !(averagingMinutes > 0)) return 1.0L;  // no cycle to speak of: cautious
  const Real whole = std::floor(averagingMinutes / period);   // whole cycles in the window
  const Real rest = averagingMinutes - whole * period;
  return std::min(1.0L, (whole * on + std::min(on, rest)) / averagingMinutes);
}

}  // namespace korrin::assess
