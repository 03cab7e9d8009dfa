// The pieces of the assessment, one file each; Assess.cpp puts them
// together.  Not part of the library's interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "assess/Assessment.h"
#include "core/Calc.h"

namespace korrin::assess::detail {

// ---- limit sets (LimitSets.cpp) ----

// True when the station's frequency lies inside the set's range.
bool Applies(LimitSet set, Real frequencyMHz);

// Averaging time in minutes; empty for the hand-set limit.
std::optional<Real> AveragingMinutes(LimitSet set);

// The station with the set's limit in force, as the cycle recalculates it:
// the window's standards through their own flags, the new sets as a fixed
// limit the cycle leaves alone.  `recalculated` is `station` recalculated
// by the cycle; only the figures that depend on the limit are derived
// anew, the dish's scan from `steps`, and the scan starts from the edges
// `station` holds, as the cycle run on a copy of it would.
StationState WithLimitSet(const StationState& recalculated, const StationState& station,
                          LimitSet set, NearFieldSteps& steps);

// ---- keep-out distance (KeepOut.cpp) ----

struct KeepOutSolution {
  enum class End {
    NeverAbove,  // the model stays at or below the limit everywhere
    FarField,    // the crossing lies at or beyond the far-field boundary
    NearField,   // the crossing lies inside the dish's far-field boundary
  };
  End end = End::NeverAbove;
  Real crossingM = 0;  // the model's outermost crossing (0 when never above)
};

// The outermost distance at which DensityAlongBeam exceeds RadiationLimit,
// for a station recalculated with that limit in force.
KeepOutSolution SolveKeepOut(const StationState& recalculated);

// ---- FCC exemption (FccExemption.cpp) ----

std::optional<FccExemption> EvaluateFccExemption(const StationState& recalculated,
                                                 std::optional<Real> distanceM);

// ---- tower and head clearance (Clearance.cpp) ----

// Horizontal distance from the tower inside which a head at `headHeightM`
// lies within `keepOutM` of an antenna at `antennaHeightM`.
Real HeadClearance(Real keepOutM, Real antennaHeightM, Real headHeightM);

// ---- warnings (Warnings.cpp) ----

std::vector<std::string> Warnings(const Assessment& a, const StationState& recalculated);

// Fixed-point text with two decimals, independent of the C locale.
std::string TwoDecimals(Real value);

// ---- density profile (Profile.cpp) ----

// Log-spaced samples from close to the antenna to well past `farthestM`,
// with points placed just inside and at each of `crossingsM`.
std::vector<DensityPoint> DensityProfile(const StationState& recalculated,
                                         const std::vector<Real>& crossingsM, Real farthestM);

}  // namespace korrin::assess::detail
