// The samples the keep-outs come from: distances to a conductor, the
// points left out beside one, the cells split where a zone could hide, and
// the keep-out over split cells against the plain grid's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "nearfield/Lattice.h"

namespace korrin::nearfield {
namespace {

struct DistanceCase {
  const char* name;
  Point a, b, c, d;
  double distance;
};

class SegmentDistanceTest : public ::testing::TestWithParam<DistanceCase> {};

TEST_P(SegmentDistanceTest, IsTheShortestBetweenTheTwo) {
  const DistanceCase& t = GetParam();
  EXPECT_NEAR(static_cast<double>(SegmentDistance(t.a, t.b, t.c, t.d)), t.distance, 1e-12)
      << t.name;
  EXPECT_NEAR(static_cast<double>(SegmentDistance(t.c, t.d, t.a, t.b)), t.distance, 1e-12)
      << t.name << ", the other way";
}

INSTANTIATE_TEST_SUITE_P(
    Segments, SegmentDistanceTest,
    ::testing::Values(
        DistanceCase{"crossing above", {-1, 0, 0}, {1, 0, 0}, {0, -1, 2}, {0, 1, 2}, 2},
        DistanceCase{"parallel, overlapping", {0, 0, 0}, {2, 0, 0}, {1, 3, 0}, {3, 3, 0}, 3},
        DistanceCase{"in line, apart", {0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {5, 0, 0}, 2},
        DistanceCase{"beyond an end", {0, 0, 0}, {1, 0, 0}, {4, 4, 0}, {4, 5, 0}, 5},
        DistanceCase{"a point on the segment", {0, 0, 0}, {4, 0, 0}, {2, 0, 0}, {2, 0, 0}, 0},
        DistanceCase{"two points", {0, 0, 0}, {0, 0, 0}, {3, 4, 0}, {3, 4, 0}, 5},
        DistanceCase{"column beside a wire's end",
                     {5.3, 0.4, 0},
                     {5.3, 0.4, 2},
                     {-5, 0, 2},
                     {5, 0, 2},
                     0.5}));

SegmentRow WireAlongX(Real halfLength, Real z, Real radius) {
  SegmentRow s;
  s.centre = {0, 0, z};
  s.lengthM = 2 * halfLength;
  s.radiusM = radius;
  return s;
}

// A plan of 5 x 5 points 1 m apart with the given values (j * 5 + i).
SampledLattice Plan(const std::vector<double>& exposure) {
  std::vector<FieldSample> samples(exposure.size());
  for (size_t n = 0; n < exposure.size(); ++n) samples[n].e2 = exposure[n];
  return LatticeOf(1, 5, 2, 1, 0, 4, samples);
}

std::vector<std::optional<double>> E2(const SampledLattice& l) {
  return ValuesOf(l, [](const FieldSample* s, size_t) { return s->e2; });
}

// On cells never split, the keep-out is the plain grid's, point for point.
TEST(SampledLatticeTest, UnsplitKeepOutIsTheGrids) {
  std::vector<double> v(25, 0.1);
  v[12] = 8;   // the middle
  v[13] = 3;   // east of it
  v[7] = 1.5;  // south of it
  SampledLattice l = Plan(v);
  ScalarGrid g;
  g.origin = {-2, -2, 2};
  g.u = {1, 0, 0};
  g.v = {0, 1, 0};
  g.nu = g.nv = 5;
  g.values = v;
  const KeepOut a = KeepOutOf(l, E2(l));
  const KeepOut b = KeepOutOf(g);
  EXPECT_EQ(a.kind, b.kind);
  EXPECT_NEAR(static_cast<double>(a.distanceM), static_cast<double>(b.distanceM), 1e-12);
  EXPECT_NEAR(static_cast<double>(a.at.x), static_cast<double>(b.at.x), 1e-12);
  EXPECT_NEAR(static_cast<double>(a.at.y), static_cast<double>(b.at.y), 1e-12);
  const Peak p = PeakOf(l, E2(l));
  EXPECT_EQ(p.value, 8);
  EXPECT_EQ(static_cast<double>(p.at.x), 0);
}

// Splits a cell of the lattice in four by hand, its new points at `value`.
void SplitByHand(SampledLattice& l, const Cell& c, double value) {
  l.cells.erase(std::remove_if(l.cells.begin(), l.cells.end(),
                               [&](const Cell& x) { return x.i == c.i && x.j == c.j; }),
                l.cells.end());
  const int h = c.size / 2;
  for (int dj = 0; dj <= 2; ++dj) {
    for (int di = 0; di <= 2; ++di) {
      const size_t before = l.points.size();
      const size_t n = l.Add(c.i + di * h, c.j + dj * h);
      if (n >= before) l.samples[n].e2 = value;
    }
  }
  for (int dj = 0; dj < 2; ++dj) {
    for (int di = 0; di < 2; ++di) l.cells.push_back({c.i + di * h, c.j + dj * h, h});
  }
}

// A point a split adds on the edge of a cell left whole ends a crossing
// there: the whole cell's edge is not interpolated past it.  Each edge
// from the hot middle has a split cell on one side and a whole one on the
// other; the crossing lies within the half step to the new points.
TEST(SampledLatticeTest, APointOnAWholeCellsEdgeEndsTheCrossing) {
  std::vector<double> v(25, 0.1);
  v[12] = 2;  // the middle
  SampledLattice l = Plan(v);
  SplitByHand(l, {0, 0, 4}, 0.1);
  SplitByHand(l, {-4, -4, 4}, 0.1);
  const KeepOut k = KeepOutOf(l, E2(l));
  ASSERT_EQ(k.kind, KeepOutKind::Within);
  EXPECT_NEAR(static_cast<double>(k.distanceM), 0.5 * CrossingFraction(2, 0.1, 1), 1e-12);
}

// Points within a wire's radius plus the clearance are left out of the
// peak and the keep-out: a plan through the wire, and a column under it.
TEST(SampledLatticeTest, PointsBesideAConductorAreLeftOut) {
  std::vector<double> v(25, 0.1);
  v[12] = 50;  // on the wire's axis, at the middle
  v[11] = 2;   // 1 m west of it, off the wire's end
  SampledLattice plan = Plan(v);
  MarkNearConductors(plan, {WireAlongX(0.5L, 2, 0.001L)}, 0.01L);
  const Peak p = PeakOf(plan, E2(plan));
  EXPECT_EQ(p.value, 2);
  EXPECT_EQ(static_cast<double>(p.at.x), -1);
  EXPECT_EQ(KeepOutOf(plan, E2(plan)).kind, KeepOutKind::Within);

  // Columns from 0 to 2 m: the wire at 2 m touches those under it.
  std::vector<FieldSample> samples(size_t{25} * 3, {0.1, 0});
  SampledLattice columns = LatticeOf(1, 5, 0, 3, 1, 1, samples);
  MarkNearConductors(columns, {WireAlongX(0.5L, 2, 0.001L)}, 0.01L);
  int near = 0;
  for (unsigned char m : columns.nearConductor) near += m;
  EXPECT_EQ(near, 1);  // only the middle one: the wire ends 0.5 m either side
  MarkNearConductors(columns, {WireAlongX(1.0L, 2, 0.001L)}, 0.01L);
  near = 0;
  for (unsigned char m : columns.nearConductor) near += m;
  EXPECT_EQ(near, 3);  // the ends now reach the columns 1 m either side
}

struct SplitCase {
  const char* name;
  double exposure;         // everywhere on the plan
  Real wireHeightM;        // a wire along x from -0.5 to 0.5 m
  bool splitsNearTheWire;  // the cells around the middle
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

// Cells are split where a conductor passes within their width, or where the
// exposure comes within the margin of the limit near one; elsewhere not.
TEST_P(SplitTest, SplitsWhereAZoneCouldHide) {
  const SplitCase& c = GetParam();
  SampledLattice l = Plan(std::vector<double>(25, c.exposure));
  const std::vector<SegmentRow> wires = {WireAlongX(0.5L, c.wireHeightM, 0.001L)};
  std::vector<double> worst(l.points.size(), c.exposure);
  SplitRule rule;
  rule.finestM = 0.25;
  const size_t cells = l.cells.size();
  const size_t first = Split(l, worst, wires, rule);
  bool aroundMiddle = false;
  for (const Cell& cell : l.cells) {
    aroundMiddle =
        aroundMiddle || (cell.size < 4 && cell.i >= -4 && cell.i < 4 && cell.j >= -4 && cell.j < 4);
  }
  EXPECT_EQ(aroundMiddle, c.splitsNearTheWire) << c.name;
  EXPECT_EQ(first < l.points.size(), c.splitsNearTheWire) << c.name;
  if (!c.splitsNearTheWire) {
    EXPECT_EQ(l.cells.size(), cells) << c.name;
  }
  // Never smaller than the finest step.
  for (const Cell& cell : l.cells) EXPECT_GE(cell.size, 1) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cells, SplitTest,
    ::testing::Values(SplitCase{"a wire in the plan, low exposure", 1e-6, 2, true},
                      SplitCase{"a wire 3 m above, exposure near the limit", 0.5, 5, true},
                      SplitCase{"a wire 3 m above, exposure far below", 0.01, 5, false},
                      SplitCase{"a wire 30 m above, exposure near the limit", 0.5, 32, false}));

}  // namespace
}  // namespace korrin::nearfield
