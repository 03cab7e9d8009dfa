#include "ui/qt/assessment/CurvePoints.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korrin {

namespace {

// Whether the step from `p` to `q` passes through a level: one end above
// it, the other not (the shading's own test).
bool CrossesALevel(const QPointF& p, const QPointF& q, const std::vector<double>& levels) {
  return std::any_of(levels.begin(), levels.end(),
                     [&](double level) { return (p.y() > level) != (q.y() > level); });
}

}  // namespace

QList<QPointF> CurvePoints(const QList<QPointF>& points, const std::vector<double>& levels,
                           double toleranceDecades) {
  const qsizetype n = points.size();
  if (n <= 2) return points;
  // The plot's coordinates: decades of distance and of density.
  std::vector<double> u(static_cast<size_t>(n));
  std::vector<double> v(static_cast<size_t>(n));
  for (qsizetype i = 0; i < n; ++i) {
    u[size_t(i)] = std::log10(points[i].x());
    v[size_t(i)] = std::log10(points[i].y());
  }
  // Points that are drawn whatever the line does.
  std::vector<bool> kept(static_cast<size_t>(n), false);
  kept.front() = true;
  kept.back() = true;
  for (qsizetype i = 1; i < n; ++i) {
    if (!(u[size_t(i)] > u[size_t(i - 1)]) || CrossesALevel(points[i - 1], points[i], levels)) {
      kept[size_t(i - 1)] = true;
      kept[size_t(i)] = true;
    }
  }
  // From each point kept, the line goes on to the farthest point that it
  // can reach passing within the tolerance of every point on the way: the
  // slopes that do so narrow with each point passed.
  QList<QPointF> drawn;
  drawn.append(points.front());
  size_t from = 0;
  double lowest = -std::numeric_limits<double>::infinity();
  double highest = std::numeric_limits<double>::infinity();
  for (size_t j = 1; j < size_t(n); ++j) {
    const double run = u[j] - u[from];
    const double slope = (v[j] - v[from]) / run;
    if (slope < lowest || slope > highest) {
      // The line cannot reach j: it ends at the point before, which is
      // drawn, and a new line starts there.
      from = j - 1;
      drawn.append(points[qsizetype(from)]);
      lowest = -std::numeric_limits<double>::infinity();
      highest = std::numeric_limits<double>::infinity();
    }
    if (kept[j]) {
      from = j;
      drawn.append(points[qsizetype(j)]);
      lowest = -std::numeric_limits<double>::infinity();
      highest = std::numeric_limits<double>::infinity();
      continue;
    }
    const double span = u[j] - u[from];
    lowest = std::max(lowest, (v[j] - toleranceDecades - v[from]) / span);
    highest = std::min(highest, (v[j] + toleranceDecades - v[from]) / span);
  }
  return drawn;
}

}  // namespace korrin
