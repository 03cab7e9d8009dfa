// The density along the beam, sampled for the plot: log-spaced from the
// antenna's side of lambda / 2 pi to well past the farthest keep-out
// distance, with points placed at each limit's crossing so that the
// outermost sample above a limit lies within a few parts per million of the
// exact crossing.  Closer to a dish than its first near-field sample the
// density is taken at the near field's level.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assess/Internal.h"
#include "assess/StationMethod.h"

namespace korrin::assess::detail {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
// The dish's near field oscillates ever faster towards the aperture: one
// period spans about 16 delta^2 of the boundary, so 300 samples a decade
// give about ten a period down to the first sample at 0.5 % of it.
constexpr Real kDishStartOfBoundary = 0.005L;
constexpr Real kDishSamplesPerDecade = 300.0L;
// The far-field formula falls as 1/d^2, a straight line on the plot's
// logarithmic axes: a few samples a decade draw it exactly, over three
// decades.
constexpr Real kGainOnlySamplesPerDecade = 10.0L;
constexpr Real kGainOnlyDecades = 3.0L;
constexpr Real kPastFarthest = 3.0L;       // the plot ends at three times the farthest distance
constexpr Real kPastBoundary = 2.0L;       // and at least twice the dish's boundary
constexpr Real kInsideCrossing = 1.0e-5L;  // relative: a sample just inside each crossing
// The dish's near-field level reaches in to lambda / 2 pi, and at least a
// factor of this inside the first near-field sample.
constexpr Real kNearLevelReach = 0.5L;

// n log-spaced distances scale * x, x from `from` at `ratio` from one to
// the next, then `to` itself.  The ratio is applied step by step (the
// rounding of a thousand steps stays near 1e-16, far below the spacing).
struct Grid {
  Real from = 0;
  Real to = 0;  // metres
  int n = 0;
  Real ratio = 1;
  Real scale = 1;  // metres per unit of x
};

// A dish's grid runs in fractions of its far-field boundary, the same
// fractions for every dish, from kDishStartOfBoundary out to `to` metres.
// The near-field factor at each fraction inside the boundary is worked out
// once for every profile the program draws.
struct DishSamples {
  Real ratio = 1;
  std::vector<Real> factors;  // at the grid's fractions below 1
};

const DishSamples& DishNearFieldSamples() {
  static const DishSamples kSamples = [] {
    DishSamples d;
    d.ratio = std::pow(10.0L, 1.0L / kDishSamplesPerDecade);
    for (Real x = kDishStartOfBoundary; x < 1.0L; x *= d.ratio) {
      d.factors.push_back(NearFieldFactorAt(x));
    }
    return d;
  }();
  return kSamples;
}

Grid DishGrid(Real boundary, Real to) {
  const Real first = kDishStartOfBoundary * boundary;
  const Real decades = std::log10(to / first);
  const int n = std::max(1, static_cast<int>(std::ceil(decades * kDishSamplesPerDecade)));
  return {kDishStartOfBoundary, to, n, DishNearFieldSamples().ratio, boundary};
}

// FCC OET Bulletin 65 (Edition 97-01), equation (13): the highest on-axis
// density in the near field of an aperture antenna of diameter D and
// aperture efficiency eta fed with the average power P, 16 eta P / (pi D^2).
Real ApertureNearFieldDensity(const StationState& s) {
  const Real diameterM = s.DishDiameterCopyCm / 100.0L;
  if (!(diameterM > 0)) return 0;
  const Real averageW = s.FeedPowerW * s.OverallDutyFactor;
  return 16.0L * s.DishEfficiency * averageW / (kPi * diameterM * diameterM);
}

// The grid and the placed distances (sorted) in one ascending walk, each
// distance once, appended to `profile`: `atGrid(i, d)` gives the density at
// the grid's i-th distance d, `density(d)` at a placed one.
template <typename Density, typename AtGrid>
void Walk(const Density& density, const AtGrid& atGrid, const Grid& grid,
          const std::vector<Real>& placed, std::vector<DensityPoint>& profile) {
  const auto fits = [&](Real d) { return profile.empty() || d > profile.back().distanceM; };
  auto next = placed.begin();
  const auto upTo = [&](Real d) {
    for (; next != placed.end() && *next <= d; ++next) {
      if (fits(*next)) profile.push_back({*next, density(*next)});
    }
  };
  Real x = grid.from;
  for (int i = 0; i < grid.n; ++i, x *= grid.ratio) {
    const Real d = grid.scale * x;
    upTo(d);
    if (fits(d)) profile.push_back({d, atGrid(static_cast<std::size_t>(i), d)});
  }
  upTo(grid.to);
  if (fits(grid.to)) profile.push_back({grid.to, density(grid.to)});
  upTo(HUGE_VALL);
}

// Each crossing and a distance just inside it.
std::vector<Real> AtTheCrossings(const std::vector<Real>& crossingsM) {
  std::vector<Real> placed;
  placed.reserve(2 * crossingsM.size() + 4);
  for (Real c : crossingsM) {
    if (!(c > 0)) continue;
    placed.push_back(c * (1.0L - kInsideCrossing));
    placed.push_back(c);
  }
  return placed;
}

// The gain-only antenna's grid: whole decades, the same steps for every
// station, worked out once.
Grid GainOnlyGrid(Real to) {
  static const int n = static_cast<int>(kGainOnlyDecades * kGainOnlySamplesPerDecade);
  static const Real ratio = std::pow(10.0L, 1.0L / kGainOnlySamplesPerDecade);
  static const Real span = std::pow(10.0L, kGainOnlyDecades);
  return {to / span, to, n, ratio, 1};
}

}  // namespace

std::vector<DensityPoint> DensityProfile(const StationState& s, const std::vector<Real>& crossingsM,
                                         Real farthestM) {
  const Real boundary = s.FarFieldBoundaryM;
  const Real reactive = s.WavelengthM / (2.0L * kPi);
  const bool dish = s.DishSelected && boundary > 0;
  // Distances off the grid, merged into it in order.
  std::vector<Real> placed = AtTheCrossings(crossingsM);
  std::vector<DensityPoint> profile;
  Grid grid;
  if (dish) {
    const Real first = kDishStartOfBoundary * boundary;
    grid = DishGrid(boundary, std::max(kPastFarthest * farthestM, kPastBoundary * boundary));
    profile.reserve(static_cast<std::size_t>(grid.n) + placed.size() + 4);
    // From the antenna to the first near-field sample: the near field's
    // level, the larger of the model's value there and the aperture's.
    const Real level = std::max(DensityAlongBeam(s, first), ApertureNearFieldDensity(s));
    profile.push_back({std::min(reactive, kNearLevelReach * first), level});
    profile.push_back({first * (1.0L - kInsideCrossing), level});
    // The crossings lie on the model's stretch (the outermost is never
    // closer than the near field's highest peak).
    std::erase_if(placed, [first](Real d) { return d < first; });
    placed.push_back(boundary);
  } else {
    grid = GainOnlyGrid(kPastFarthest * std::max({farthestM, reactive, boundary}));
    profile.reserve(static_cast<std::size_t>(grid.n) + placed.size() + 1);
  }
  std::sort(placed.begin(), placed.end());
  const auto density = [&s](Real d) { return DensityAlongBeam(s, d); };
  const std::vector<Real>& factors = DishNearFieldSamples().factors;
  const auto atGrid = [&](std::size_t i, Real d) {
    // Inside the boundary: the model's density at the grid's own fraction.
    return dish && i < factors.size() ? s.FarFieldDensityWm2 * factors[i] : density(d);
  };
  Walk(density, atGrid, grid, placed, profile);
  return profile;
}

std::vector<DensityPoint> CaseProfile(const ExposureCase& c, const std::vector<Real>& crossingsM,
                                      Real toM) {
  const auto density = [&c](Real d) { return DensityAtWm2(c, d); };
  std::vector<Real> placed = AtTheCrossings(crossingsM);
  std::vector<DensityPoint> profile;
  Grid grid;
  if (c.dish && c.calculatorDish) {
    // As the calculator's dish: its near field's level from the antenna to
    // the first sample, then the samples of its near-field ripple; the
    // aperture equations' corners placed where they lie.
    const Real boundary = c.calculatorDish->FarFieldBoundaryM;
    const Real reactive = c.wavelengthM / (2.0L * kPi);
    const Real first = kDishStartOfBoundary * boundary;
    grid = DishGrid(boundary, std::max({toM, kPastBoundary * boundary, first * 10}));
    profile.reserve(static_cast<std::size_t>(grid.n) + placed.size() + 6);
    const Real level = density(first);
    profile.push_back({std::min(reactive, kNearLevelReach * first), level});
    profile.push_back({first * (1.0L - kInsideCrossing), level});
    std::erase_if(placed, [first](Real d) { return d < first; });
    const ApertureRegions regions = ApertureRegionsOf(*c.dish, c.wavelengthM, c.powerW);
    for (Real corner : {regions.nearFieldEndM, regions.farFieldStartM}) {
      placed.push_back(corner * (1.0L - kInsideCrossing));
      placed.push_back(corner);
    }
    placed.push_back(boundary);
  } else {
    grid = GainOnlyGrid(toM);
    profile.reserve(static_cast<std::size_t>(grid.n) + placed.size() + 1);
  }
  std::sort(placed.begin(), placed.end());
  const std::vector<Real>& factors = DishNearFieldSamples().factors;
  const auto atGrid = [&](std::size_t i, Real d) {
    // Inside the boundary: the larger of the aperture equations and the
    // calculator's model at the grid's own fraction (as DensityAtWm2 gives
    // them, from the closest distance it takes out).
    if (!(c.dish && c.calculatorDish) || i >= factors.size() || d < kClosestDistanceM) {
      return density(d);
    }
    return std::max(ApertureDensityWm2(*c.dish, c.wavelengthM, c.powerW, d),
                    c.calculatorDish->FarFieldDensityWm2 * factors[i]);
  };
  Walk(density, atGrid, grid, placed, profile);
  return profile;
}

}  // namespace korrin::assess::detail
