// The samples a keep-out is taken from: a horizontal grid made of square
// cells on a lattice of points, each cell split in four where its samples
// could miss a zone between them (see Refine), and the points within the
// clearance of a conductor left out.  The peak is the largest value at a
// point; the keep-out the farthest point or crossing of the level along the
// cells' edges, through every point that lies on an edge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "nearfield/Exposure.h"
#include "nearfield/Output.h"
#include "nearfield/Types.h"

namespace korrin::nearfield {

// A square cell: corners (i, j) to (i + size, j + size), in lattice units.
struct Cell {
  int i = 0;
  int j = 0;
  int size = 1;
};

// Point (i, j) of the lattice stands at (i * stepM, j * stepM) with
// `levels` samples from z0 up by levelStepM (one at z0 on a plan).  The
// grid it refines reached i, j from -edge to +edge.
struct SampledLattice {
  Real stepM = 0;  // the finest step
  Real z0 = 0;
  int levels = 1;
  Real levelStepM = 0;
  int edge = 0;
  std::vector<Cell> cells;                          // cover the grid once each
  std::vector<std::pair<int, int>> points;          // each point's (i, j)
  std::vector<FieldSample> samples;                 // `levels` per point, in the points' order
  std::vector<unsigned char> nearConductor;         // per point: within the clearance
  std::unordered_map<std::uint64_t, size_t> index;  // (i, j) to the point's number

  std::optional<size_t> Find(int i, int j) const;
  // The point's number; a new point (with empty samples) when there is none.
  size_t Add(int i, int j);
  Point At(int i, int j) const {
    return {static_cast<Real>(i) * stepM, static_cast<Real>(j) * stepM, z0};
  }
  Real TopM() const { return z0 + static_cast<Real>(levels - 1) * levelStepM; }
  const FieldSample* SamplesOf(size_t point) const { return &samples[point * levels]; }
};

// A lattice `fineness` times finer than a grid of nu x nu points at `step`
// centred on x = y = 0, with its points (stored j * nu + i, `levels` each)
// and one cell per square of the grid.
SampledLattice LatticeOf(Real step, int nu, Real z0, int levels, Real levelStepM, int fineness,
                         const std::vector<FieldSample>& samples);

// The shortest distance between the segments a-b and c-d.
Real SegmentDistance(Point a, Point b, Point c, Point d);

// Marks the points from `first` on whose sample (a plan's point, or a
// column from its foot to its top) comes within a segment's radius plus
// `clearanceM` of its axis.
void MarkNearConductors(SampledLattice& lattice, const std::vector<SegmentRow>& segments,
                        Real clearanceM, size_t first = 0);

// When a cell is split in four: when it is larger than the finest step
// and a conductor passes within its width, or when a point of it or of the
// cells of its size around it reaches `nearLimit` (the largest exposure of
// all criteria) and a conductor lies within four of its widths (where the
// fields change over less than a step).
struct SplitRule {
  double nearLimit = 0.25;
  Real finestM = 0.02;
  Real clearanceM = 0.01;      // for the new points, as MarkNearConductors
  size_t mostPoints = 400000;  // no split beyond it
};

// Splits the cells the rule picks, adding the points they need without
// samples; returns the number of the first new point (the count of points
// when nothing was split).
size_t Split(SampledLattice& lattice, const std::vector<double>& worst,
             const std::vector<SegmentRow>& segments, const SplitRule& rule);

// The value of each point for a criterion: `value` of its samples, or
// empty for a point near a conductor.
template <typename F>
std::vector<std::optional<double>> ValuesOf(const SampledLattice& lattice, F value) {
  std::vector<std::optional<double>> out(lattice.points.size());
  for (size_t n = 0; n < out.size(); ++n) {
    if (!lattice.nearConductor[n]) out[n] = value(lattice.SamplesOf(n), n);
  }
  return out;
}

// The largest value and its point (at z0); a zero peak when every point is
// left out.
Peak PeakOf(const SampledLattice& lattice, const std::vector<std::optional<double>>& values);

// The farthest horizontal distance from x = y = 0 at which the values reach
// `level`, as KeepOutOf on a grid: BeyondGrid when a point on the grid's
// edge reaches it.
KeepOut KeepOutOf(const SampledLattice& lattice, const std::vector<std::optional<double>>& values,
                  double level = 1.0);

}  // namespace korrin::nearfield
