// The exposure limit for the general public, from the selected standard
// and the operating frequency.  Lower frequency bounds are inclusive, upper
// bounds exclusive; the first matching range of a standard applies.
#include <cmath>

#include "core/Calc.h"

namespace korrin {

namespace {

Real Arpansa(Real f) {
  if (f < 1.0L) return 20.0L;
  if (f < 10.0L) return 20.0L / f;
  if (f < 400.0L) return 2.0L;
  if (f < 2000.0L) return f / 200.0L;
  return 10.0L;
}

// Worked in mW/cm^2 and converted with 1 mW/cm^2 = 10 W/m^2.  The curve
// jumps at 1.34 MHz from 1000 W/m^2 to 1800 / 1.34^2.
Real Fcc(Real f) {
  if (f < 1.34L) return 1000.0L;
  if (f < 30.0L) return 10.0L * 180.0L / std::pow(f, 2.0L);
  if (f < 300.0L) return 2.0L;
  if (f < 1500.0L) return 10.0L * f / 1500.0L;
  return 10.0L;
}

}  // namespace

void UpdateRadiationLimit(StationState& s) {
  if (s.StandardVariable) return;  // only the step buttons move a varied limit
  const Real f = s.FrequencyMHz;
  if (s.StandardAS2772) s.RadiationLimit = 2.0L;
  if (s.StandardARPANSA) s.RadiationLimit = Arpansa(f);
  if (s.StandardFCC) s.RadiationLimit = Fcc(f);
}

}  // namespace korrin
