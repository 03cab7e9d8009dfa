// The near field of a wire antenna, computed by the NEC-2 engine and
// assessed against the field limits.  Evaluate runs the engine twice: once
// for the input impedance and power, the peak gain and the segments, then
// for the near fields on the grids the reach of the fields asks for (a plan
// at head height, vertical columns for the whole-body average, and two
// side views through the antenna, along its feed wire and across it).  The
// fields are kept per watt of input power, so that Assess gives the
// figures for any power without running the engine again.
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "nearfield/Deck.h"
#include "nearfield/Exposure.h"
#include "nearfield/Lattice.h"
#include "nearfield/Output.h"
#include "nearfield/Runner.h"
#include "nearfield/Tables.h"

namespace korrin::nearfield {

struct GridOptions {
  Real stepM = 0.25;               // between the points of the plan and of the side views
  Real columnStepM = 0.5;          // between the whole-body columns (never below stepM)
  Real levelStepM = 0.25;          // between the points of a column, from the ground up
  Real headHeightM = 2.0;          // the plan's height
  Real bodyHeightM = 2.0;          // a column's top: the whole-body average is over 0 to this
  int mostPointsAcross = 321;      // a grid's points along a side; beyond it the step grows
  std::optional<Real> halfWidthM;  // the plan's half width; empty: from the fields' reach
  int enlargements = 2;            // times the plan may double when the exposure reaches its edge
  Real patternStepDeg = 2;
  // The plan's and the columns' cells are split where they could miss a
  // zone (see SplitRule) down to this step near the conductors.
  Real finestStepM = 0.02;
};

// A cell is split where an exposure of a quarter of the limit (half the
// field) is at or around it: the field between samples a step apart near a
// conductor may exceed the larger of them by this much.
constexpr double kRefineBelowLimit = 0.25;

// No one can be nearer a conductor than its radius plus this: the samples
// within are left out of the peaks and keep-outs (a column when any of it
// is).  Half the finest step, so that a sample on a wire's axis is always
// left out, and the fields within a centimetre of a wire are those of
// touching it, which field limits do not govern.
constexpr Real kConductorClearanceM = 0.01L;

struct LimitCase {
  LimitSet set = LimitSet::Fcc;
  Tier tier = Tier::General;
};

// The four cases: FCC and ICNIRP 2020, general and occupational.
std::vector<LimitCase> AllLimitCases();

struct Request {
  Structure structure;
  Real frequencyMHz = 0;
  // The frequencies the limits are taken over, each the lowest there: a
  // band the model stands for; empty: the model's frequency.
  std::optional<LimitBand> limitBand;
  // Frequencies the fields are computed at besides the model's, on the
  // same points: each point keeps the strongest field per watt of input
  // power of them all (its E and its H each), so that a model standing for
  // a band holds the band's strongest fields, wherever in the band they
  // are.  Empty: the model's frequency alone.
  std::vector<Real> alsoAtMHz;
  TransmitPower power;
  std::vector<LimitCase> cases = AllLimitCases();
  GridOptions grid;
  RunOptions run;
  std::vector<Point> points;  // single points besides the grids (places, a property line)
  // Where solutions are kept (see Cache.h); empty: nowhere.
  std::string cacheFolder;
};

// Field samples on a plane of points origin + i * u + j * v, stored j * nu + i.
struct FieldPlane {
  Point origin;
  Point u;
  Point v;
  int nu = 0;
  int nv = 0;
  std::vector<FieldSample> samples;

  Point At(int i, int j) const {
    return origin + static_cast<Real>(i) * u + static_cast<Real>(j) * v;
  }
  const FieldSample& Sample(int i, int j) const { return samples[static_cast<size_t>(j) * nu + i]; }
};

// Vertical columns on a horizontal grid origin + i * u + j * v, each with
// `levels` points from z = 0 up by levelStepM; stored ((j * nu) + i) *
// levels + k.
struct FieldColumns {
  Point origin;
  Point u;
  Point v;
  int nu = 0;
  int nv = 0;
  Real levelStepM = 0;
  int levels = 0;
  std::vector<FieldSample> samples;

  Point At(int i, int j) const {
    return origin + static_cast<Real>(i) * u + static_cast<Real>(j) * v;
  }
  const FieldSample* Column(int i, int j) const {
    return &samples[(static_cast<size_t>(j) * nu + i) * levels];
  }
};

struct Solution {
  std::string engine;       // "nec2c 1.3"
  std::string patternDeck;  // the first run's deck
  std::string deck;         // the field run's deck at the model's frequency
  Real frequencyMHz = 0;
  std::vector<Real> fieldsAtMHz;  // where the fields were computed: the model's frequency first
  LimitBand limitBand;            // the limits' frequencies, as the request gave them
  int segments = 0;
  std::vector<SegmentRow> segmentRows;  // to draw the antenna
  std::complex<Real> impedanceOhm;
  Real inputPowerW = 0;  // at the deck's 1 V source
  std::optional<PatternPeak> peak;
  Real stepM = 0;            // the plan's and side views' step as used
  Real halfWidthM = 0;       // of the plan
  int enlargements = 0;      // times the plan was doubled
  Real alongAzimuthDeg = 0;  // the "along" side view's direction, from x towards y
  FieldPlane plan;           // at head height
  FieldColumns columns;
  FieldPlane along;  // vertical planes through x = y = 0
  FieldPlane across;
  std::vector<Point> points;  // as the request gave them
  std::vector<FieldSample> pointSamples;
  // The samples the peaks and keep-outs are taken from: the plan's and the
  // columns' points with finer ones where they could miss a zone, and
  // those within the clearance of a conductor marked.
  SampledLattice headSamples;
  SampledLattice bodySamples;
  Real finestStepM = 0;  // the finest step the samples reached
};

enum class Criterion {
  Point,             // the field at each point of the plan against the limit
  WholeBodyAverage,  // the mean of the squared fields over a column against the limit
  Local,             // ICNIRP 2020 Table 6 at every point of a column
  NerveStimulation,  // ICNIRP 2010 at every point, on the peak envelope power
};

const char* CriterionId(
    Criterion c);  // "point", "whole-body-average", "local", "nerve-stimulation"

struct CriterionResult {
  Criterion criterion = Criterion::Point;
  FieldLimit limit;
  Real powerW = 0;  // the power it is taken at
  Peak peak;        // exposure, 1 at the limit
  KeepOut keepOut;
};

struct CaseResult {
  LimitCase limitCase;
  bool applies = false;  // the set has field limits at the frequency
  // At head height: the point values (and, for ICNIRP below 10 MHz, nerve
  // stimulation), and the largest of them.
  std::vector<CriterionResult> head;
  Peak headPeak;
  KeepOut headKeepOut;
  // Over the body: the whole-body average (and, for ICNIRP, the local
  // levels and nerve stimulation at every point), the largest of them, and
  // the criterion whose keep-out distance is the largest.
  std::vector<CriterionResult> wholeBody;
  Peak wholeBodyPeak;
  KeepOut wholeBodyKeepOut;
  Criterion wholeBodyGoverns = Criterion::WholeBodyAverage;
};

enum class Status { Done, Refused, EngineMissing, TimedOut, Cancelled, EngineFailed, Unreadable };

struct Evaluation {
  Status status = Status::Refused;
  std::string message;               // plain words; empty when Done
  std::optional<Solution> solution;  // only when Done
  std::vector<CaseResult> results;   // only when Done, one per case
  bool fromCache = false;            // the solution was read from the cache folder
};

Evaluation Evaluate(const Request& request);

// One run of the engine on a structure: its figures, and the fields on each
// requested block per watt of input power, in the engine's order (x
// fastest, then y, then z).
struct FieldRun {
  Status status = Status::Refused;
  std::string message;  // plain words; empty when Done
  std::string deck;
  NecOutput output;  // sources, input power, segments, peak gain; its tables as read
  std::vector<std::vector<FieldSample>> samples;  // one list per block
};
FieldRun ComputeFields(const Structure& structure, Real frequencyMHz, const Requests& requests,
                       const RunOptions& run);

// The squared RMS fields per watt of a point of an electric and a magnetic
// table, with the source's input power (peak^2 / 2 / P).
FieldSample PerWatt(const FieldPoint& e, const FieldPoint& h, Real inputPowerW);

// The exposure on a plane of a solution (the plan or a side view) for one
// limit and the power it is taken at: for the maps and their contour.
ScalarGrid ExposureOn(const FieldPlane& plane, const FieldLimit& limit, Real powerW);

// The figures of a solution for a power and the cases.
std::vector<CaseResult> Assess(const Solution& solution, const TransmitPower& power,
                               const std::vector<LimitCase>& cases);

// How far the fields may reach: the distance from a source at which the
// exposure of a short dipole with `gainRatio` (at least 1.5) falls to 1 at
// `powerW` against `limit`, with its reactive terms (for the plan's size).
Real ReachM(Real powerW, Real gainRatio, const FieldLimit& limit, Real frequencyMHz);

}  // namespace korrin::nearfield
