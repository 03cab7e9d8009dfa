// What the window's exclusion-zone displays show, as lengths in metres,
// decided from a recalculated station.  The window formats it into its
// texts; the assessment reads the dish's ranges from it.
#pragma once

#include "core/StationState.h"

namespace korrin {

// Lengths are shown in feet at 3.28 feet to the metre.
inline constexpr long double kFeetPerMetre = 3.28L;

struct ZoneShown {
  enum class First {
    NoRestriction,  // " No restriction"
    Distance,       // one distance: firstToM
    Range,          // "firstFromM to firstToM"
  };
  First first = First::NoRestriction;
  Real firstFromM = 0;       // Range only
  Real firstToM = 0;         // Distance and Range
  bool secondShown = false;  // the dish's second range, from 0 to secondToM
  Real secondToM = 0;        // kept when hidden too: the hidden display keeps its text

  // The largest distance the displays show (0 for "No restriction").
  Real LargestShownM() const;
};

// The decisions of the zone displays (Panel64 and Panel63) for the station
// as the last recalculation left it, in the unit system it is set to (the
// "no restriction" test of a gain-only antenna is made in the unit shown).
ZoneShown ExclusionZoneShown(const StationState& s);

}  // namespace korrin
