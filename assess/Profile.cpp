// The density along the beam, sampled for the plot: log-spaced from close
// to the antenna to well past the farthest keep-out distance, with points
// placed at each limit's crossing so that the outermost sample above a
// limit lies within a few parts per million of the exact crossing.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assess/Internal.h"

namespace korrin::assess::detail {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
// The dish's near field oscillates ever faster towards the aperture: one
// period spans about 16 delta^2 of the boundary, so 300 samples a decade
// give about ten a period down to the first sample at 0.5 % of it.
constexpr Real kDishStartOfBoundary = 0.005L;
constexpr Real kDishSamplesPerDecade = 300.0L;
// The far-field formula is smooth: fewer samples, over three decades.
constexpr Real kGainOnlySamplesPerDecade = 100.0L;
constexpr Real kGainOnlyDecades = 3.0L;
constexpr Real kPastFarthest = 3.0L;       // the plot ends at three times the farthest distance
constexpr Real kPastBoundary = 2.0L;       // and at least twice the dish's boundary
constexpr Real kInsideCrossing = 1.0e-5L;  // relative: a sample just inside each crossing

// n + 1 log-spaced points from `from` to `to`; the ratio is applied step by
// step (the rounding of a thousand steps stays near 1e-16, far below the
// spacing), and the last point is `to` itself.
void Sample(std::vector<Real>& at, Real from, Real to, Real perDecade) {
  const Real decades = std::log10(to / from);
  const int n = std::max(1, static_cast<int>(std::ceil(decades * perDecade)));
  const Real ratio = std::pow(10.0L, decades / n);
  Real d = from;
  for (int i = 0; i < n; ++i, d *= ratio) at.push_back(d);
  at.push_back(to);
}

}  // namespace

std::vector<DensityPoint> DensityProfile(const StationState& s, const std::vector<Real>& crossingsM,
                                         Real farthestM) {
  const Real boundary = s.FarFieldBoundaryM;
  const Real reactive = s.WavelengthM / (2.0L * kPi);
  std::vector<Real> at;
  if (s.DishSelected && boundary > 0) {
    const Real to = std::max(kPastFarthest * farthestM, kPastBoundary * boundary);
    Sample(at, kDishStartOfBoundary * boundary, to, kDishSamplesPerDecade);
    at.push_back(boundary);
  } else {
    const Real to = kPastFarthest * std::max({farthestM, reactive, boundary});
    Sample(at, to * std::pow(10.0L, -kGainOnlyDecades), to, kGainOnlySamplesPerDecade);
  }
  for (Real c : crossingsM) {
    if (!(c > 0)) continue;
    at.push_back(c * (1.0L - kInsideCrossing));
    at.push_back(c);
  }
  std::sort(at.begin(), at.end());
  at.erase(std::unique(at.begin(), at.end()), at.end());

  std::vector<DensityPoint> profile;
  profile.reserve(at.size());
  for (Real d : at) profile.push_back({d, DensityAlongBeam(s, d)});
  return profile;
}

}  // namespace korrin::assess::detail
