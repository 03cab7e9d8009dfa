// The pieces of the assessment, one file each; Assess.cpp puts them
// together.  Not part of the library's interface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "assess/Assessment.h"
#include "assess/StationEvaluation.h"
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
// anew, and the dish's scan starts from the edges
// `station` holds, as the cycle run on a copy of it would.
StationState WithLimitSet(const StationState& recalculated, const StationState& station,
                          LimitSet set);

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

// ---- today's rules by the station evaluation (TodaysRules.cpp) ----

// The station evaluation of the calculator's station, as the assessment
// shows it.
struct TodaysRules {
  std::optional<std::string> band;  // the band evaluated, empty: a frequency alone
  Real lowerMHz = 0;
  Real upperMHz = 0;
  // FCC general, FCC occupational, ICNIRP 2020 general, ICNIRP 2020
  // occupational, their profiles still empty.
  std::vector<LimitEntry> entries;
  std::optional<FccExemption> exemption;  // empty outside 0.3-100000 MHz
  // The installation as the evaluation worked it; empty when it could not
  // (`problem` says why).
  std::optional<InstallationResult> installation;
  std::optional<std::string> problem;
};

// The evaluation of `recalculated` as station::FromCalculator converts it;
// a station without power (ZeroPower) has its keep-out distances, ERP and
// threshold distance cleared, as the calculator clears its own.
TodaysRules EvaluateTodaysRules(const StationState& recalculated, const Options& options);

// The density each entry's governing case puts along the beam, out to
// `toM`, with points at and just inside its keep-out distance; entries
// that share one case share one profile.
void AddEvaluationProfiles(std::vector<LimitEntry>& entries, const InstallationResult& installation,
                           Real toM);

// ---- tower and head clearance (Clearance.cpp) ----

// Horizontal distance from the tower inside which a head at `headHeightM`
// lies within `keepOutM` of an antenna at `antennaHeightM`.
Real HeadClearance(Real keepOutM, Real antennaHeightM, Real headHeightM);

// ---- warnings (Warnings.cpp) ----

// The warnings: keep-out distances inside lambda / 2 pi, the dish's two
// ranges, ICNIRP's rules below 30 MHz and 10 MHz, and one line naming the
// ways the evaluation's model differs from the calculator's for this
// station (none when it does not).
std::vector<std::string> Warnings(const Assessment& a, const StationState& recalculated,
                                  const TodaysRules& today);

// That line, empty when the two models agree.
std::optional<std::string> ModelDifferences(const StationState& recalculated,
                                            const TodaysRules& today);

// Fixed-point text with two decimals, independent of the C locale.
std::string TwoDecimals(Real value);

// ---- density profile (Profile.cpp) ----

// Log-spaced samples from close to the antenna to well past `farthestM`,
// with points placed just inside and at each of `crossingsM`.
std::vector<DensityPoint> DensityProfile(const StationState& recalculated,
                                         const std::vector<Real>& crossingsM, Real farthestM);

// The same for one case of the evaluation, by DensityAtWm2, out to `toM`.
std::vector<DensityPoint> CaseProfile(const ExposureCase& c, const std::vector<Real>& crossingsM,
                                      Real toM);

}  // namespace korrin::assess::detail
