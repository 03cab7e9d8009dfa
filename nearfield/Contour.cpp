#include "nearfield/Contour.h"

#include <algorithm>
#include <cmath>

namespace korrin::nearfield {

namespace {

// The crossing on the edge between two corners, one at or above the level
// and one below, from the one above.
Point Crossing(Point a, double va, Point b, double vb, double level) {
  if (va >= level) return a + static_cast<Real>(CrossingFraction(va, vb, level)) * (b - a);
  return b + static_cast<Real>(CrossingFraction(vb, va, level)) * (a - b);
}

}  // namespace

std::vector<ContourSegment> ContourOf(const ScalarGrid& grid, double level) {
  std::vector<ContourSegment> out;
  for (int j = 0; j + 1 < grid.nv; ++j) {
    for (int i = 0; i + 1 < grid.nu; ++i) {
      // Corners counter-clockwise from (i, j); edges 0: c0-c1, 1: c1-c2, 2: c2-c3, 3: c3-c0.
      const Point c[4] = {grid.At(i, j), grid.At(i + 1, j), grid.At(i + 1, j + 1),
                          grid.At(i, j + 1)};
      const double v[4] = {grid.Value(i, j), grid.Value(i + 1, j), grid.Value(i + 1, j + 1),
                           grid.Value(i, j + 1)};
      int mask = 0;
      for (int k = 0; k < 4; ++k) {
        if (v[k] >= level) mask |= 1 << k;
      }
      if (mask == 0 || mask == 15) continue;
      auto edge = [&](int e) {
        return Crossing(c[e], v[e], c[(e + 1) % 4], v[(e + 1) % 4], level);
      };
      // The edges the line crosses: those whose two corners differ.
      int crossed[4];
      int n = 0;
      for (int e = 0; e < 4; ++e) {
        if (((mask >> e) & 1) != ((mask >> ((e + 1) % 4)) & 1)) crossed[n++] = e;
      }
      if (n == 2) {
        out.push_back({edge(crossed[0]), edge(crossed[1])});
        continue;
      }
      // A saddle: corners 0 and 2 on one side, 1 and 3 on the other.
      double logMean = 0;
      for (const double x : v) logMean += std::log(std::max(x, 1e-300));
      const bool centreAbove = std::exp(logMean / 4) >= level;
      const bool zeroAbove = (mask & 1) != 0;
      if (centreAbove == zeroAbove) {
        // The centre joins corners 0 and 2: cut off corners 1 and 3.
        out.push_back({edge(0), edge(1)});
        out.push_back({edge(2), edge(3)});
      } else {
        out.push_back({edge(3), edge(0)});
        out.push_back({edge(1), edge(2)});
      }
    }
  }
  return out;
}

}  // namespace korrin::nearfield
