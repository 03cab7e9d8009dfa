// How far from the foot of the tower the exclusion zone, taken as a sphere
// of the on-axis exclusion distance around the antenna, reaches the ground.
#include <cmath>

#include "core/Calc.h"

namespace korrin {

namespace {
constexpr int kClearanceBarMaximum = 40;  // metres at a full bar
}  // namespace

void UpdateGroundClearance(StationState& s) {
  const Real r = s.ExclusionDistanceM;
  const Int h = s.TowerHeight;
  if (r > static_cast<Real>(h)) {
    s.TowerClearanceM = std::sqrt(r * r - static_cast<Real>(h * h));
  } else {
    s.TowerClearanceM = 0;  // the zone does not reach the ground
  }
}

int ClearanceBarPosition(Real clearanceM) {
  // Whole metres, halves to the even neighbour (the default rounding mode).
  const Real whole = std::nearbyint(clearanceM);
  if (!(whole > 0)) return 0;  // also a NaN
  if (whole >= kClearanceBarMaximum) return kClearanceBarMaximum;
  return static_cast<int>(whole);
}

}  // namespace korrin
