#include "moon/Plan.h"

#include <algorithm>
#include <cmath>

#include "moon/Path.h"

namespace korrin::moon {

namespace {

// Windows are searched on this grid, then their ends bisected to the second.
constexpr UtcSeconds kWindowScanSeconds = 60;

// How far an hourly sample can lie above the daily minimum it stands
// beside: the distance dips by at most the Earth's radius as the Earth
// turns, a curve of 6378 km × ω² near its bottom (ω = 2π per 24.84 h, the
// moon's day), so half an hour off the bottom adds at most 51 km.
constexpr double kHourlySampleSlackKm = 100.0;

double DistanceKm(const Site& site, UtcSeconds t) {
  return Sight(MoonAt(t), site).distanceKm;
}

// The second in [from, to] with the least distance, the distance being
// smooth with one minimum there: golden-section search, then the last few
// seconds one by one.
YearBest RefineMinimum(const Site& site, UtcSeconds from, UtcSeconds to) {
  const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
  double a = static_cast<double>(from);
  double b = static_cast<double>(to);
  double c = b - ratio * (b - a);
  double d = a + ratio * (b - a);
  auto at = [&](double t) { return DistanceKm(site, static_cast<UtcSeconds>(std::llround(t))); };
  double fc = at(c);
  double fd = at(d);
  while (b - a > 4.0) {
    if (fc < fd) {
      b = d;
      d = c;
      fd = fc;
      c = b - ratio * (b - a);
      fc = at(c);
    } else {
      a = c;
      c = d;
      fc = fd;
      d = a + ratio * (b - a);
      fd = at(d);
    }
  }
  YearBest best;
  best.distanceKm = HUGE_VAL;
  const UtcSeconds first = std::max(from, static_cast<UtcSeconds>(std::floor(a)));
  const UtcSeconds last = std::min(to, static_cast<UtcSeconds>(std::ceil(b)));
  for (UtcSeconds t = first; t <= last; ++t) {
    const double km = DistanceKm(site, t);
    if (km < best.distanceKm) {
      best.distanceKm = km;
      best.time = t;
    }
  }
  return best;
}

bool SamePlace(const Place& a, const Place& b) {
  return a.latitudeDeg == b.latitudeDeg && a.longitudeDeg == b.longitudeDeg &&
         a.heightM == b.heightM;
}

}  // namespace

std::string CheckRequest(const PlanRequest& r) {
  if (!std::isfinite(r.frequencyMHz) || r.frequencyMHz <= 0)
    return "the frequency must be above 0 MHz";
  if (r.spanSeconds <= 0 || r.spanSeconds > kLongestSpanSeconds) {
    return "the span must be above 0 and at most 31 days (744 hours)";
  }
  if (r.stepSeconds < kShortestStepSeconds || r.stepSeconds > kLongestStepSeconds) {
    return "the step must be 1 minute to 1 day (1440 minutes)";
  }
  if (!std::isfinite(r.minElevationDeg) || r.minElevationDeg < kLowestMinElevationDeg ||
      r.minElevationDeg > 90.0) {
    return "the minimum elevation must lie in -5..90 degrees";
  }
  if (r.from < FirstAcceptedTime() || r.from > LastAcceptedTime() ||
      r.from + r.spanSeconds > LastAcceptedTime()) {
    return "the times must lie in the years " + std::to_string(kFirstYear) + "-" +
           std::to_string(kLastYear);
  }
  return {};
}

YearBest FindYearBest(const Site& site, int year) {
  const UtcSeconds start = *SecondsOf({year, 1, 1, 0, 0, 0});
  const UtcSeconds end = *SecondsOf({year + 1, 1, 1, 0, 0, 0}) - 1;

  std::vector<UtcSeconds> times;
  for (UtcSeconds t = start; t < end; t += kSecondsPerHour) times.push_back(t);
  times.push_back(end);
  std::vector<double> km(times.size());
  for (std::size_t i = 0; i < times.size(); ++i) km[i] = DistanceKm(site, times[i]);
  const double leastSample = *std::min_element(km.begin(), km.end());

  YearBest best;
  best.year = year;
  best.distanceKm = HUGE_VAL;
  for (std::size_t i = 0; i < times.size(); ++i) {
    const bool belowBefore = i == 0 || km[i] <= km[i - 1];
    const bool belowAfter = i + 1 == times.size() || km[i] <= km[i + 1];
    if (!belowBefore || !belowAfter || km[i] > leastSample + kHourlySampleSlackKm) continue;
    const UtcSeconds from = i == 0 ? times[i] : times[i - 1];
    const UtcSeconds to = i + 1 == times.size() ? times[i] : times[i + 1];
    const YearBest local = RefineMinimum(site, from, to);
    if (local.distanceKm < best.distanceKm) {
      best.distanceKm = local.distanceKm;
      best.time = local.time;
    }
  }
  return best;
}

const YearBest& YearBestCache::For(const Site& site, int year) {
  if (!SamePlace(site.place, place_)) {
    years_.clear();
    place_ = site.place;
  }
  auto found = years_.find(year);
  if (found == years_.end()) found = years_.emplace(year, FindYearBest(site, year)).first;
  return found->second;
}

Plan MakePlan(const PlanRequest& r, YearBestCache& cache) {
  const Site home = SiteOf(r.home);
  std::optional<Site> dx;
  if (r.dx) dx = SiteOf(*r.dx);

  // How far the moon stands above the minimum elevation at the lower of
  // the two places: the windows are where this is 0 or more.
  auto margin = [&](const Sighting& atHome, const std::optional<Sighting>& atDx) {
    double m = atHome.elevationDeg - r.minElevationDeg;
    if (atDx) m = std::min(m, atDx->elevationDeg - r.minElevationDeg);
    return m;
  };
  auto marginAt = [&](UtcSeconds t) {
    const MoonState moon = MoonAt(t);
    std::optional<Sighting> atDx;
    if (dx) atDx = Sight(moon, *dx);
    return margin(Sight(moon, home), atDx);
  };

  Plan plan;
  const UtcSeconds end = r.from + r.spanSeconds;
  for (UtcSeconds t = r.from; t <= end; t += r.stepSeconds) {
    const MoonState moon = MoonAt(t);
    Row row;
    row.time = t;
    row.home = Sight(moon, home);
    if (dx) row.dx = Sight(moon, *dx);
    row.pathLossDb = EchoPathLossDb(r.frequencyMHz, row.home.distanceKm);
    const int year = CalendarOf(t).year;
    const YearBest& best = cache.For(home, year);
    if (plan.yearBest.empty() || plan.yearBest.back().year != year) plan.yearBest.push_back(best);
    row.degradationDb = row.pathLossDb - EchoPathLossDb(r.frequencyMHz, best.distanceKm);
    row.dopplerHz = EchoDopplerHz(r.frequencyMHz, row.home.rangeRateMps);
    if (row.dx)
      row.dxDopplerHz = PathDopplerHz(r.frequencyMHz, row.home.rangeRateMps, row.dx->rangeRateMps);
    row.mutual = margin(row.home, row.dx) >= 0.0;
    plan.leapSecondsUncertain = plan.leapSecondsUncertain || moon.leapSecondsUncertain;
    plan.rows.push_back(row);
  }

  // The windows: the margin on a one-minute grid (the rows' own when they
  // are a minute apart), each change of sign bisected to the second.
  std::vector<UtcSeconds> grid;
  std::vector<double> margins;
  if (r.stepSeconds == kWindowScanSeconds) {
    for (const Row& row : plan.rows) {
      grid.push_back(row.time);
      margins.push_back(margin(row.home, row.dx));
    }
  } else {
    for (UtcSeconds t = r.from;; t += kWindowScanSeconds) {
      t = std::min(t, end);
      grid.push_back(t);
      margins.push_back(marginAt(t));
      if (t == end) break;
    }
  }
  // The first second of (lo, hi] on the other side of 0 from lo.
  auto crossing = [&](UtcSeconds lo, UtcSeconds hi, bool loAbove) {
    while (hi - lo > 1) {
      const UtcSeconds mid = lo + (hi - lo) / 2;
      if ((marginAt(mid) >= 0.0) == loAbove) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    return hi;
  };
  std::optional<Window> open;
  if (margins.front() >= 0.0) open = Window{grid.front(), grid.front(), true, false};
  for (std::size_t i = 1; i < grid.size(); ++i) {
    const bool before = margins[i - 1] >= 0.0;
    const bool now = margins[i] >= 0.0;
    if (before == now) continue;
    const UtcSeconds t = crossing(grid[i - 1], grid[i], before);
    if (now) {
      open = Window{t, t, false, false};
    } else if (open) {
      open->end = t - 1;
      plan.windows.push_back(*open);
      open.reset();
    }
  }
  if (open) {
    open->end = end;
    open->cutAtEnd = true;
    plan.windows.push_back(*open);
  }
  return plan;
}

}  // namespace korrin::moon
