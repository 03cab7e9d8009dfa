#include "nearfield/Lattice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace korrin::nearfield {

namespace {

std::uint64_t KeyOf(int i, int j) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(i)) << 32U) |
         static_cast<std::uint32_t>(j);
}

Real Dot(Point a, Point b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

Real Clamp01(Real x) {
  return std::clamp(x, Real{0}, Real{1});
}

}  // namespace

std::optional<size_t> SampledLattice::Find(int i, int j) const {
  const auto it = index.find(KeyOf(i, j));
  if (it == index.end()) return std::nullopt;
  return it->second;
}

size_t SampledLattice::Add(int i, int j) {
  const auto [it, added] = index.try_emplace(KeyOf(i, j), points.size());
  if (added) {
    points.emplace_back(i, j);
    samples.resize(samples.size() + static_cast<size_t>(levels));
    nearConductor.push_back(0);
  }
  return it->second;
}

SampledLattice LatticeOf(Real step, int nu, Real z0, int levels, Real levelStepM, int fineness,
                         const std::vector<FieldSample>& samples) {
  SampledLattice l;
  l.stepM = step / static_cast<Real>(fineness);
  l.z0 = z0;
  l.levels = levels;
  l.levelStepM = levelStepM;
  const int half = (nu - 1) / 2;
  l.edge = half * fineness;
  l.points.reserve(static_cast<size_t>(nu) * nu);
  l.index.reserve(static_cast<size_t>(nu) * nu);
  for (int j = 0; j < nu; ++j) {
    for (int i = 0; i < nu; ++i) l.Add((i - half) * fineness, (j - half) * fineness);
  }
  l.samples = samples;
  l.samples.resize(static_cast<size_t>(nu) * nu * levels);
  for (int j = -half; j < half; ++j) {
    for (int i = -half; i < half; ++i) l.cells.push_back({i * fineness, j * fineness, fineness});
  }
  return l;
}

// The closest points of two segments (Ericson, Real-Time Collision
// Detection, 5.1.9), degenerate segments included.
Real SegmentDistance(Point a, Point b, Point c, Point d) {
  constexpr Real kTiny = 1e-24L;
  const Point d1 = b - a;
  const Point d2 = d - c;
  const Point r = a - c;
  const Real aa = Dot(d1, d1);
  const Real ee = Dot(d2, d2);
  const Real f = Dot(d2, r);
  Real s = 0;
  Real t = 0;
  if (aa <= kTiny && ee <= kTiny) return Length(r);
  if (aa <= kTiny) {
    t = Clamp01(f / ee);
  } else {
    const Real cc = Dot(d1, r);
    if (ee <= kTiny) {
      s = Clamp01(-cc / aa);
    } else {
      const Real bb = Dot(d1, d2);
      const Real denom = aa * ee - bb * bb;
      s = denom > 0 ? Clamp01((bb * f - cc * ee) / denom) : 0;
      t = (bb * s + f) / ee;
      if (t < 0) {
        t = 0;
        s = Clamp01(-cc / aa);
      } else if (t > 1) {
        t = 1;
        s = Clamp01((bb - cc) / aa);
      }
    }
  }
  return Length((a + s * d1) - (c + t * d2));
}

void MarkNearConductors(SampledLattice& lattice, const std::vector<SegmentRow>& segments,
                        Real clearanceM, size_t first) {
  if (segments.empty()) return;
  // The segments' box, widened by the largest reach: points outside it are clear.
  Real reach = 0;
  Real x0 = 0;
  Real x1 = 0;
  Real y0 = 0;
  Real y1 = 0;
  bool any = false;
  for (const SegmentRow& s : segments) {
    reach = std::max(reach, s.radiusM + clearanceM);
    for (const Point p : {s.From(), s.To()}) {
      x0 = any ? std::min(x0, p.x) : p.x;
      x1 = any ? std::max(x1, p.x) : p.x;
      y0 = any ? std::min(y0, p.y) : p.y;
      y1 = any ? std::max(y1, p.y) : p.y;
      any = true;
    }
  }
  for (size_t n = first; n < lattice.points.size(); ++n) {
    const auto [i, j] = lattice.points[n];
    const Point foot = lattice.At(i, j);
    if (foot.x < x0 - reach || foot.x > x1 + reach || foot.y < y0 - reach || foot.y > y1 + reach) {
      continue;
    }
    const Point top{foot.x, foot.y, lattice.TopM()};
    for (const SegmentRow& s : segments) {
      if (SegmentDistance(foot, top, s.From(), s.To()) < s.radiusM + clearanceM) {
        lattice.nearConductor[n] = 1;
        break;
      }
    }
  }
}

Peak PeakOf(const SampledLattice& lattice, const std::vector<std::optional<double>>& values) {
  Peak peak;
  bool any = false;
  for (size_t n = 0; n < values.size(); ++n) {
    if (!values[n]) continue;
    if (!any || *values[n] > peak.value) {
      peak = {*values[n], lattice.At(lattice.points[n].first, lattice.points[n].second)};
      any = true;
    }
  }
  return peak;
}

KeepOut KeepOutOf(const SampledLattice& lattice, const std::vector<std::optional<double>>& values,
                  double level) {
  KeepOut out;
  auto consider = [&out](Point p) { out.Extend(p); };
  bool edge = false;
  for (size_t n = 0; n < values.size(); ++n) {
    if (!values[n] || !(*values[n] >= level)) continue;
    const auto [i, j] = lattice.points[n];
    consider(lattice.At(i, j));
    if (std::abs(i) >= lattice.edge || std::abs(j) >= lattice.edge) edge = true;
  }
  // The crossings along an edge from (i0, j0) to (i1, j1), through every
  // point sampled on it.
  auto crossings = [&](auto&& self, int i0, int j0, int i1, int j1) -> void {
    if (std::abs(i1 - i0) + std::abs(j1 - j0) > 1) {
      const int mi = (i0 + i1) / 2;
      const int mj = (j0 + j1) / 2;
      if (lattice.Find(mi, mj)) {
        self(self, i0, j0, mi, mj);
        self(self, mi, mj, i1, j1);
        return;
      }
    }
    const auto a = lattice.Find(i0, j0);
    const auto b = lattice.Find(i1, j1);
    if (!a || !b || !values[*a] || !values[*b]) return;
    const double va = *values[*a];
    const double vb = *values[*b];
    const Point pa = lattice.At(i0, j0);
    const Point pb = lattice.At(i1, j1);
    if (va >= level && vb < level) {
      consider(pa + static_cast<Real>(CrossingFraction(va, vb, level)) * (pb - pa));
    } else if (vb >= level && va < level) {
      consider(pb + static_cast<Real>(CrossingFraction(vb, va, level)) * (pa - pb));
    }
  };
  for (const Cell& c : lattice.cells) {
    const int i1 = c.i + c.size;
    const int j1 = c.j + c.size;
    crossings(crossings, c.i, c.j, i1, c.j);
    crossings(crossings, i1, c.j, i1, j1);
    crossings(crossings, c.i, j1, i1, j1);
    crossings(crossings, c.i, c.j, c.i, j1);
  }
  if (edge) out.kind = KeepOutKind::BeyondGrid;
  return out;
}

}  // namespace korrin::nearfield

namespace korrin::nearfield {

size_t Split(SampledLattice& lattice, const std::vector<double>& worst,
             const std::vector<SegmentRow>& segments, const SplitRule& rule) {
  const size_t first = lattice.points.size();
  constexpr int kNearWidths = 4;
  auto hot = [&](int i, int j) {
    const auto n = lattice.Find(i, j);
    return n && *n < worst.size() && worst[*n] >= rule.nearLimit;
  };
  std::vector<Cell> kept;
  std::vector<Cell> split;
  for (const Cell& c : lattice.cells) {
    const Real width = static_cast<Real>(c.size) * lattice.stepM;
    if (c.size < 2 || width <= rule.finestM * (1 + 1e-9L)) {
      kept.push_back(c);
      continue;
    }
    // The cell's distance to the nearest conductor's axis, from the
    // vertical through its middle less half its diagonal.
    const Real half = static_cast<Real>(c.size) / 2;
    const Point foot = lattice.At(0, 0) + Point{(static_cast<Real>(c.i) + half) * lattice.stepM,
                                                (static_cast<Real>(c.j) + half) * lattice.stepM, 0};
    const Point top{foot.x, foot.y, lattice.TopM()};
    Real nearest = kNearWidths * width + 1;
    for (const SegmentRow& s : segments) {
      nearest = std::min(nearest, SegmentDistance(foot, top, s.From(), s.To()) - s.radiusM);
    }
    nearest = std::max(Real{0}, nearest - width / std::sqrt(Real{2}));
    bool want = nearest < width;
    if (!want && nearest < kNearWidths * width) {
      for (int dj = -1; dj <= 2 && !want; ++dj) {
        for (int di = -1; di <= 2 && !want; ++di) want = hot(c.i + di * c.size, c.j + dj * c.size);
      }
    }
    (want ? split : kept).push_back(c);
  }
  if (split.empty() || first + 5 * split.size() > rule.mostPoints) return first;
  for (const Cell& c : split) {
    const int h = c.size / 2;
    for (int dj = 0; dj <= 2; ++dj) {
      for (int di = 0; di <= 2; ++di) lattice.Add(c.i + di * h, c.j + dj * h);
    }
    for (int dj = 0; dj < 2; ++dj) {
      for (int di = 0; di < 2; ++di) kept.push_back({c.i + di * h, c.j + dj * h, h});
    }
  }
  lattice.cells = std::move(kept);
  MarkNearConductors(lattice, segments, rule.clearanceM, first);
  return first;
}

}  // namespace korrin::nearfield
