// Exposure from near fields: the fields a watt of input power makes, scaled
// to the station's power for each limit's averaging time, as a fraction of
// the limit (1 at the limit); its peak on a grid, and the keep-out distance
// where it falls to 1.
#pragma once

#include <vector>

#include "nearfield/Tables.h"
#include "nearfield/Types.h"

namespace korrin::nearfield {

// The transmitter's power at the antenna, as the limits average it.
struct TransmitPower {
  Real peakEnvelopeW = 0;  // for the instantaneous levels
  Real average6MinW = 0;   // power at the antenna x duty x time fraction, over any 6 minutes
  Real average30MinW = 0;  // the same over any 30 minutes

  // The power for a limit averaged over `minutes`: 0 the peak envelope
  // power, up to 6 the 6-minute average, above it the 30-minute average.
  Real ForAveraging(Real minutes) const;
};

// The squared RMS fields one watt of input power makes at a point:
// (V/m)^2 / W and (A/m)^2 / W.  RMS^2 = peak^2 / 2 for every component.
struct FieldSample {
  double e2 = 0;
  double h2 = 0;
};

// The larger of (E / E_limit)^2 and (H / H_limit)^2 with `powerW` at the
// input: 1 at the limit.
double ExposureAt(const FieldSample& s, Real powerW, const FieldLimit& limit);

// Values on a horizontal grid: origin + i * u + j * v, i below nu, j below
// nv, stored j * nu + i.
struct ScalarGrid {
  Point origin;
  Point u;
  Point v;
  int nu = 0;
  int nv = 0;
  std::vector<double> values;

  Point At(int i, int j) const {
    return origin + static_cast<Real>(i) * u + static_cast<Real>(j) * v;
  }
  double Value(int i, int j) const { return values[static_cast<size_t>(j) * nu + i]; }
};

// Where `level` is crossed between two neighbouring values, one at or above
// it and one below: the fraction of the way from the first, interpolated in
// the logarithm (fields fall off as powers of the distance), or linearly
// where the lower value is 0.
double CrossingFraction(double from, double to, double level);

struct Peak {
  double value = 0;
  Point at;
};
Peak PeakOf(const ScalarGrid& grid);

enum class KeepOutKind {
  Never,       // nowhere on the grid at or above the limit: 0 m
  Within,      // the distance is found inside the grid
  BeyondGrid,  // at or above the limit on the grid's edge: the distance is at least the edge's
};

struct KeepOut {
  KeepOutKind kind = KeepOutKind::Never;
  Real distanceM = 0;  // horizontal, from the antenna's position (x = y = 0)
  Point at;            // where it is reached

  // Takes in a point at or above the limit: the distance grows to it when
  // it lies farther out than any taken before.
  void Extend(Point p) {
    const Real d = HorizontalDistance(p);
    if (kind == KeepOutKind::Never || d > distanceM) {
      if (kind == KeepOutKind::Never) kind = KeepOutKind::Within;
      distanceM = d;
      at = p;
    }
  }
};

// The largest horizontal distance from x = y = 0 at which the values reach
// `level`: over the grid points at or above it and the crossings between
// them and their neighbours below it.
KeepOut KeepOutOf(const ScalarGrid& grid, double level = 1.0);

// The mean of values sampled at equal steps from the bottom to the top of a
// column (Simpson's rule for an even number of steps, else trapezoids).
double ColumnMean(const double* values, int count);

}  // namespace korrin::nearfield
