// The decisions of the exclusion-zone displays.  Each later rule overrides
// the earlier ones, in the order the window has always applied them.
#include "core/Zone.h"

#include <algorithm>

namespace korrin {

namespace {
constexpr Real kShortestRangeStartM = 0.01L;  // a range starting closer is shown as none
constexpr Real kDensityShownAsDistanceWm2 =
    2.0L;                                     // far-field density from which one distance is shown
constexpr Real kShortestGainOnlyZone = 1.0L;  // in the unit shown
}  // namespace

Real ZoneShown::LargestShownM() const {
  Real largest = first == First::NoRestriction ? 0 : firstToM;
  if (secondShown) largest = std::max(largest, secondToM);
  return largest;
}

ZoneShown ExclusionZoneShown(const StationState& s) {
  const Real f = s.FarFieldBoundaryM;
  const Real r = s.ExclusionDistanceM;
  const bool aboveAtLastPoint = s.NearFieldDensityWm2 > s.RadiationLimit;

  ZoneShown z;
  z.secondShown = s.DishSelected && s.SecondZoneInner != 0;
  z.secondToM = f * s.SecondZoneOuter;

  const auto distance = [&z](Real metres) {
    z.first = ZoneShown::First::Distance;
    z.firstFromM = 0;
    z.firstToM = metres;
  };
  const auto noRestriction = [&z] {
    z.first = ZoneShown::First::NoRestriction;
    z.firstFromM = 0;
    z.firstToM = 0;
  };

  z.first = ZoneShown::First::Range;
  z.firstFromM = f * s.FirstZoneInner;
  z.firstToM = f * s.FirstZoneOuter;
  if (f * s.FirstZoneInner < kShortestRangeStartM) noRestriction();
  if (aboveAtLastPoint) distance(f * s.FirstZoneOuter);
  if (aboveAtLastPoint && s.FirstZoneOuter == 0) distance(r);
  if (s.FarFieldDensityWm2 >= kDensityShownAsDistanceWm2) distance(r);
  if (!s.DishSelected) distance(r);
  if (!s.DishSelected && (s.MetricUnits ? r : r * kFeetPerMetre) < kShortestGainOnlyZone) {
    noRestriction();
  }
  return z;
}

}  // namespace korrin
