#include "nearfield/Exposure.h"

#include <algorithm>
#include <cmath>

namespace korrin::nearfield {

Real TransmitPower::ForAveraging(Real minutes) const {
  if (minutes <= 0) return peakEnvelopeW;
  if (minutes <= 6) return average6MinW;
  return average30MinW;
}

double ExposureAt(const FieldSample& s, Real powerW, const FieldLimit& limit) {
  const double p = static_cast<double>(powerW);
  const double e = static_cast<double>(limit.eVPerM);
  const double h = static_cast<double>(limit.hAPerM);
  return std::max(s.e2 * p / (e * e), s.h2 * p / (h * h));
}

double CrossingFraction(double from, double to, double level) {
  if (to > 0 && from > 0) {
    const double a = std::log(from / level);
    const double b = std::log(level / to);
    if (a + b > 0) return a / (a + b);
  }
  if (from > to) return (from - level) / (from - to);
  return 0;
}

Peak PeakOf(const ScalarGrid& grid) {
  Peak peak;
  bool any = false;
  for (int j = 0; j < grid.nv; ++j) {
    for (int i = 0; i < grid.nu; ++i) {
      const double v = grid.Value(i, j);
      if (!any || v > peak.value) {
        peak = {v, grid.At(i, j)};
        any = true;
      }
    }
  }
  return peak;
}

KeepOut KeepOutOf(const ScalarGrid& grid, double level) {
  KeepOut out;
  auto consider = [&out](Point p) { out.Extend(p); };
  bool edge = false;
  constexpr int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (int j = 0; j < grid.nv; ++j) {
    for (int i = 0; i < grid.nu; ++i) {
      const double v = grid.Value(i, j);
      if (!(v >= level)) continue;
      const Point here = grid.At(i, j);
      consider(here);
      if (i == 0 || j == 0 || i == grid.nu - 1 || j == grid.nv - 1) edge = true;
      for (const auto& s : kSteps) {
        const int ni = i + s[0];
        const int nj = j + s[1];
        if (ni < 0 || nj < 0 || ni >= grid.nu || nj >= grid.nv) continue;
        const double w = grid.Value(ni, nj);
        if (w >= level) continue;
        const double t = CrossingFraction(v, w, level);
        consider(here + static_cast<Real>(t) * (grid.At(ni, nj) - here));
      }
    }
  }
  if (edge) out.kind = KeepOutKind::BeyondGrid;
  return out;
}

double ColumnMean(const double* values, int count) {
  if (count <= 0) return 0;
  if (count == 1) return values[0];
  const int steps = count - 1;
  double sum = 0;
  if (steps % 2 == 0) {
    for (int k = 0; k < count; ++k) {
      const double w = (k == 0 || k == steps) ? 1 : (k % 2 == 1 ? 4 : 2);
      sum += w * values[k];
    }
    return sum / (3.0 * steps);
  }
  for (int k = 0; k < count; ++k) sum += (k == 0 || k == steps ? 0.5 : 1.0) * values[k];
  return sum / steps;
}

}  // namespace korrin::nearfield
