// FCC 47 CFR 1.1307(b)(3)(i)(C): a fixed transmitter is exempt from a
// routine evaluation at distance R when its time-averaged ERP is no more
// than a threshold that grows with R^2.  The thresholds contain their own
// ground reflection, so the ERP is taken without it.  The exemption of a
// station is worked by its evaluation (StationExemption.cpp).
#include <cmath>
#include <iterator>
#include <numbers>
#include <vector>

#include "assess/Internal.h"
#include "core/Calc.h"

namespace korrin::assess {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kDipoleGainRatio = 1.64L;  // ERP is referred to a half-wave dipole
constexpr Real kLowestMHz = 0.3L;
constexpr Real kHighestMHz = 100000.0L;

// The frequencies at which the threshold's formula changes, with the ends
// of its range.
constexpr Real kThresholdBreaksMHz[] = {kLowestMHz, 1.34L, 30.0L, 300.0L, 1500.0L, kHighestMHz};

// Threshold ERP in W per square metre of distance, f in MHz.
Real ThresholdPerSquareMetre(Real f) {
  if (f < 1.34L) return 1920.0L;
  if (f < 30.0L) return 3450.0L / (f * f);
  if (f < 300.0L) return 3.83L;
  if (f < 1500.0L) return 0.0128L * f;
  return 19.2L;
}

}  // namespace

std::optional<Real> FccThresholdErpW(Real frequencyMHz, Real distanceM) {
  if (frequencyMHz < kLowestMHz || frequencyMHz >= kHighestMHz) return std::nullopt;
  return ThresholdPerSquareMetre(frequencyMHz) * distanceM * distanceM;
}

std::vector<Real> FccThresholdBreakpointsMHz() {
  return {std::begin(kThresholdBreaksMHz), std::end(kThresholdBreaksMHz)};
}

}  // namespace korrin::assess
