// What the engine writes, read back: the segments it made, the source's
// voltage, current, impedance and power, the input power, the radiation
// pattern's peak gain, and the tables of near electric and magnetic fields
// in the order the deck asked for them.  The engine prints peak amplitudes
// of the field phasors (and powers as one half of V I*).
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nearfield/Types.h"

namespace korrin::nearfield {

struct SegmentRow {
  int number = 0;
  Point centre;
  Real lengthM = 0;
  Real alphaDeg = 0;  // elevation of the segment's direction above the x-y plane
  Real betaDeg = 0;   // azimuth of its projection, from x towards y
  Real radiusM = 0;
  int tag = 0;

  Point From() const;  // the segment's ends along its direction
  Point To() const;
};

struct SourceRow {
  int tag = 0;
  int segment = 0;
  std::complex<Real> voltageV;
  std::complex<Real> currentA;
  std::complex<Real> impedanceOhm;
  Real powerW = 0;
};

// A point of a field table: where it is (to the engine's 4 decimals) and the
// peak magnitudes of its x, y and z components, V/m or A/m.
struct FieldPoint {
  Real x = 0;
  Real y = 0;
  Real z = 0;
  double mx = 0;
  double my = 0;
  double mz = 0;

  double PeakSquared() const { return mx * mx + my * my + mz * mz; }
};

struct FieldTable {
  bool magnetic = false;
  std::vector<FieldPoint> points;
};

struct PatternPeak {
  Real gainDbi = 0;  // power gain, over the input power
  Real thetaDeg = 0;
  Real phiDeg = 0;
};

struct NecOutput {
  int segments = 0;
  std::vector<SegmentRow> segmentRows;
  std::vector<SourceRow> sources;
  std::optional<Real> inputPowerW;
  std::optional<PatternPeak> peak;  // empty without a pattern, or with no gain above -999 dB
  std::vector<FieldTable> fields;
};

struct ParsedOutput {
  std::optional<NecOutput> output;  // empty when the text is not the engine's output
  std::string problem;
};

ParsedOutput ParseNecOutput(std::string_view text);

}  // namespace korrin::nearfield
