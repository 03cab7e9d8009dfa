// The density along the beam and the outermost distance at which it
// exceeds the limit, solved on the cycle's own model: the dish's on-axis
// near-field factor inside its far-field boundary, the far-field density
// (falling as 1/d^2 from the cycle's value at the boundary) elsewhere and
// for antennas known only by their gain.
#include <algorithm>
#include <cmath>

#include "assess/Internal.h"
#include "core/Calc.h"

namespace korrin::assess {

namespace {

// The near-field factor rises from the far-field boundary (delta = 1) to
// its highest peak, then oscillates with falling peaks towards the
// aperture.  The peak is located once from the factor itself: a coarse
// walk inwards until the factor stops rising, then a golden-section search
// to full precision.
constexpr Real kPeakWalkRatio = 0.98L;  // delta shrinks by 2 % a step
constexpr Real kSmallestDelta = 1e-6L;

Real LocateNearFieldPeak() {
  Real outer = 1.0L;
  Real mid = outer * kPeakWalkRatio;
  Real inner = mid * kPeakWalkRatio;
  while (inner > kSmallestDelta && NearFieldFactorAt(inner) > NearFieldFactorAt(mid)) {
    outer = mid;
    mid = inner;
    inner *= kPeakWalkRatio;
  }
  // The peak lies in [inner, outer]; the factor is unimodal there.
  const Real invPhi = (std::sqrt(5.0L) - 1.0L) / 2.0L;
  Real a = inner;
  Real b = outer;
  Real c = b - invPhi * (b - a);
  Real d = a + invPhi * (b - a);
  for (int i = 0; i < 200 && b - a > 0; ++i) {
    if (NearFieldFactorAt(c) > NearFieldFactorAt(d)) {
      b = d;
    } else {
      a = c;
    }
    const Real nc = b - invPhi * (b - a);
    const Real nd = a + invPhi * (b - a);
    if (nc == c && nd == d) break;
    c = nc;
    d = nd;
  }
  return (a + b) / 2.0L;
}

Real NearFieldPeakDelta() {
  static const Real peak = LocateNearFieldPeak();
  return peak;
}

// The crossing in an interval [lo, hi] at whose ends `excess` (the density
// less the limit) is above 0 at lo and not at hi, narrowed to adjacent
// representable values: hi is returned.  Each step interpolates between
// the ends (regula falsi, the end kept twice running having its excess
// halved), and bisects whenever two steps have not halved the interval, so
// it ends in a few dozen evaluations at most, about twenty for the dishes
// of the tests.
template <typename Excess>
Real OutermostAbove(Real lo, Real hi, Excess excess) {
  Real atLo = excess(lo);
  Real atHi = excess(hi);
  int kept = 0;  // +1: lo kept last time, -1: hi kept
  Real width = hi - lo;
  int steps = 0;
  for (;;) {
    const Real mid = lo + (hi - lo) / 2.0L;
    if (mid <= lo || mid >= hi) return hi;
    Real x = lo + (hi - lo) * (atLo / (atLo - atHi));
    if (++steps == 2) {
      if (hi - lo > width / 2.0L) x = mid;
      width = hi - lo;
      steps = 0;
    }
    if (!(x > lo && x < hi)) x = mid;
    const Real at = excess(x);
    if (at > 0) {
      lo = x;
      atLo = at;
      if (kept == -1) atHi /= 2.0L;
      kept = -1;
    } else {
      hi = x;
      atHi = at;
      if (kept == 1) atLo /= 2.0L;
      kept = 1;
    }
  }
}

}  // namespace

Real DensityAlongBeam(const StationState& s, Real distanceM) {
  const Real boundary = s.FarFieldBoundaryM;
  const Real farField = s.FarFieldDensityWm2;
  if (!(distanceM > 0)) distanceM = boundary * kSmallestDelta;
  if (s.DishSelected && distanceM < boundary) {
    return farField * NearFieldFactorAt(distanceM / boundary);
  }
  const Real ratio = boundary / distanceM;
  return farField * ratio * ratio;
}

namespace detail {

KeepOutSolution SolveKeepOut(const StationState& s) {
  KeepOutSolution k;
  const Real limit = s.RadiationLimit;
  const Real boundary = s.FarFieldBoundaryM;
  if (!(s.FarFieldDensityWm2 > 0) || !(boundary > 0)) return k;  // no power: never above

  // Far-field part: the cycle's exclusion distance is its exact crossing.
  // It is the outermost one when it lies beyond the boundary (the density
  // is above the limit there and falls from then on), and always for an
  // antenna known only by its gain.
  if (!s.DishSelected || s.FarFieldDensityWm2 > limit) {
    k.end = KeepOutSolution::End::FarField;
    k.crossingM = s.ExclusionDistanceM;
    return k;
  }

  // Inside the dish's boundary: the density rises inwards to the peak of
  // the near-field factor and every later peak is lower, so the outermost
  // crossing is on that rising stretch, if the peak reaches the limit.
  const auto excess = [&](Real delta) {
    return s.FarFieldDensityWm2 * NearFieldFactorAt(delta) - limit;
  };
  const Real peak = NearFieldPeakDelta();
  if (!(excess(peak) > 0)) return k;
  k.end = KeepOutSolution::End::NearField;
  k.crossingM = boundary * OutermostAbove(peak, 1.0L, excess);
  return k;
}

}  // namespace detail

}  // namespace korrin::assess
