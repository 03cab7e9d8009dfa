// FCC 47 CFR 1.1307(b)(3)(i)(C): a fixed transmitter is exempt from a
// routine evaluation at distance R when its time-averaged ERP is no more
// than a threshold that grows with R^2.  The thresholds contain their own
// ground reflection, so the station's ERP is taken without the window's.
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

namespace detail {

std::optional<FccExemption> EvaluateFccExemption(const StationState& s,
                                                 std::optional<Real> distanceM) {
  const Real f = s.FrequencyMHz;
  if (f < kLowestMHz || f >= kHighestMHz) return std::nullopt;
  FccExemption e;
  // The transmitter power after the feed loss, before any ground reflection.
  const Real feedW = ZeroPower(s) ? 0.0L : std::pow(10.0L, s.FeedPowerDbw / 10.0L);
  e.erpW = feedW * s.OverallDutyFactor * s.AntennaGainRatio / kDipoleGainRatio;
  e.reactiveNearFieldM = s.WavelengthM / (2.0L * kPi);
  e.thresholdDistanceM = std::sqrt(e.erpW / ThresholdPerSquareMetre(f));
  e.minimumDistanceM = std::max(e.reactiveNearFieldM, e.thresholdDistanceM);
  if (distanceM) {
    e.distanceM = *distanceM;
    e.exempt = *distanceM >= e.reactiveNearFieldM && e.erpW <= *FccThresholdErpW(f, *distanceM);
  }
  return e;
}

}  // namespace detail

}  // namespace korrin::assess
