#include "nearfield/NearField.h"

#include "nearfield/Cache.h"
#include "nearfield/WireModel.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>

namespace korrin::nearfield {

namespace {

// The reach taken for the plan: a fifth more than a short dipole's, and at
// least this much around the antenna.
constexpr Real kReachMargin = 1.2L;
constexpr Real kLeastSurroundM = 2.0L;
// The engine prints coordinates to 4 decimals.
constexpr Real kCoordinateTolerance = 2e-4L;
// Bytes the engine writes for a field point, for the progress estimate.
constexpr size_t kBytesPerPoint = 92;

struct CriterionRule {
  Criterion criterion;
  FieldLimit limit;
  Real powerW;
};

struct CaseRules {
  bool applies = false;
  std::vector<CriterionRule> head;
  std::vector<CriterionRule> body;
};

// The criteria of a case over the limits' band, each with its limit and
// power.
CaseRules RulesOf(const LimitCase& c, const LimitBand& band, const TransmitPower& power) {
  CaseRules s;
  const auto point = LowestFieldLimit(c.set, c.tier, LimitKind::WholeBody, band);
  if (!point) return s;
  s.applies = true;
  const Real p = power.ForAveraging(point->averagingMinutes);
  s.head.push_back({Criterion::Point, *point, p});
  s.body.push_back({Criterion::WholeBodyAverage, *point, p});
  if (const auto local = LowestFieldLimit(c.set, c.tier, LimitKind::Local, band)) {
    s.body.push_back({Criterion::Local, *local, power.ForAveraging(local->averagingMinutes)});
  }
  if (const auto nerve = LowestFieldLimit(c.set, c.tier, LimitKind::NerveStimulation, band)) {
    const Real pep = power.ForAveraging(nerve->averagingMinutes);
    s.head.push_back({Criterion::NerveStimulation, *nerve, pep});
    s.body.push_back({Criterion::NerveStimulation, *nerve, pep});
  }
  return s;
}

// A point's value for a criterion: on a plan, the exposure; over a column,
// the exposure of its mean squared fields (the whole-body average) or the
// largest at any level, whose number goes into `top`.
double ValueOf(const FieldSample* s, int levels, const CriterionRule& rule, int& top) {
  top = 0;
  if (rule.criterion == Criterion::WholeBodyAverage && levels > 1) {
    std::vector<double> e2(static_cast<size_t>(levels));
    std::vector<double> h2(static_cast<size_t>(levels));
    for (int k = 0; k < levels; ++k) {
      e2[k] = s[k].e2;
      h2[k] = s[k].h2;
    }
    const FieldSample mean{ColumnMean(e2.data(), levels), ColumnMean(h2.data(), levels)};
    return ExposureAt(mean, rule.powerW, rule.limit);
  }
  double most = 0;
  for (int k = 0; k < levels; ++k) {
    const double x = ExposureAt(s[k], rule.powerW, rule.limit);
    if (x > most || k == 0) {
      most = x;
      top = k;
    }
  }
  return most;
}

CriterionResult OnLattice(const SampledLattice& lattice, const CriterionRule& rule) {
  std::vector<int> top(lattice.points.size(), 0);
  const std::vector<std::optional<double>> values = ValuesOf(
      lattice,
      [&](const FieldSample* s, size_t n) { return ValueOf(s, lattice.levels, rule, top[n]); });
  CriterionResult r{rule.criterion, rule.limit, rule.powerW, PeakOf(lattice, values),
                    KeepOutOf(lattice, values)};
  // The peak's height: mid-body for the average, else the level it is at.
  if (lattice.levels > 1 && rule.criterion == Criterion::WholeBodyAverage) {
    r.peak.at.z = (lattice.z0 + lattice.TopM()) / 2;
  } else if (lattice.levels > 1) {
    const auto n = lattice.Find(static_cast<int>(std::lround(r.peak.at.x / lattice.stepM)),
                                static_cast<int>(std::lround(r.peak.at.y / lattice.stepM)));
    if (n) r.peak.at.z = lattice.z0 + top[*n] * lattice.levelStepM;
  }
  return r;
}

// The largest of several criteria: the highest peak, the farthest keep-out.
void Combine(const std::vector<CriterionResult>& list, Peak& peak, KeepOut& keepOut,
             Criterion* governs) {
  peak = {};
  keepOut = {};
  const CriterionResult* far = nullptr;
  const CriterionResult* high = nullptr;
  for (const CriterionResult& r : list) {
    if (!high || r.peak.value > high->peak.value) high = &r;
    if (r.keepOut.kind == KeepOutKind::Never) continue;
    const bool beyond = r.keepOut.kind == KeepOutKind::BeyondGrid;
    const bool farBeyond = far && far->keepOut.kind == KeepOutKind::BeyondGrid;
    if (!far || (beyond && !farBeyond) ||
        (beyond == farBeyond && r.keepOut.distanceM > far->keepOut.distanceM)) {
      far = &r;
    }
  }
  if (high) peak = high->peak;
  if (far) keepOut = far->keepOut;
  if (governs) *governs = far ? far->criterion : (high ? high->criterion : Criterion::Point);
}

Status StatusOf(RunStatus s) {
  switch (s) {
    case RunStatus::Finished:
      return Status::Done;
    case RunStatus::NotFound:
      return Status::EngineMissing;
    case RunStatus::TimedOut:
      return Status::TimedOut;
    case RunStatus::Cancelled:
      return Status::Cancelled;
    case RunStatus::CannotStart:
    case RunStatus::Failed:
      return Status::EngineFailed;
  }
  return Status::EngineFailed;
}

// Where each point of a block goes among the samples of a grid.
struct BlockSink {
  std::vector<FieldSample>* samples = nullptr;
  std::vector<size_t> index;  // in the engine's order: x fastest, then y, then z
};

struct Layout {
  std::vector<FieldBlock> blocks;
  std::vector<BlockSink> sinks;  // one per block
};

// A vertical plane through x = y = 0 along `direction` (a unit horizontal
// vector), n points across at `step`, nz up from `z0` at `dz`.
void AddSidePlane(Layout& layout, FieldPlane& plane, Point direction, Real step, int half, Real z0,
                  Real dz, int nz) {
  const int n = 2 * half + 1;
  plane.origin = Point{0, 0, z0} + static_cast<Real>(-half) * step * direction;
  plane.u = step * direction;
  plane.v = {0, 0, dz};
  plane.nu = n;
  plane.nv = nz;
  plane.samples.assign(static_cast<size_t>(n) * nz, {});
  const bool alongX = std::fabs(direction.y) < 1e-12L;
  const bool alongY = std::fabs(direction.x) < 1e-12L;
  if (alongX || alongY) {
    FieldBlock b;
    b.start = plane.origin;
    b.step = {plane.u.x, plane.u.y, dz};
    b.nx = alongX ? n : 1;
    b.ny = alongY ? n : 1;
    b.nz = nz;
    BlockSink sink{&plane.samples, {}};
    for (int k = 0; k < nz; ++k) {
      for (int i = 0; i < n; ++i) sink.index.push_back(static_cast<size_t>(k) * n + i);
    }
    layout.blocks.push_back(b);
    layout.sinks.push_back(std::move(sink));
    return;
  }
  // A slanting plane: one column of points for each position across.
  for (int i = 0; i < n; ++i) {
    FieldBlock b;
    b.start = plane.At(i, 0);
    b.step = {0, 0, dz};
    b.nz = nz;
    BlockSink sink{&plane.samples, {}};
    for (int k = 0; k < nz; ++k) sink.index.push_back(static_cast<size_t>(k) * n + i);
    layout.blocks.push_back(b);
    layout.sinks.push_back(std::move(sink));
  }
}

struct Extent {
  Real horizontalM = 0;  // farthest segment end from x = y = 0
  Real lowestM = 0;
  Real highestM = 0;
};

Extent ExtentOf(const std::vector<SegmentRow>& rows) {
  Extent e;
  bool first = true;
  for (const SegmentRow& s : rows) {
    for (const Point p : {s.From(), s.To()}) {
      e.horizontalM = std::max(e.horizontalM, HorizontalDistance(p));
      e.lowestM = first ? p.z : std::min(e.lowestM, p.z);
      e.highestM = first ? p.z : std::max(e.highestM, p.z);
      first = false;
    }
  }
  return e;
}

// The direction of the feed wire's horizontal run, in [0, 180) degrees;
// 0 (along x) for a vertical feed wire.
Real FeedAzimuthDeg(const std::vector<SegmentRow>& rows, const FeedPoint& feed) {
  int seen = 0;
  for (const SegmentRow& s : rows) {
    if (s.tag != feed.tag) continue;
    if (++seen != feed.segment) continue;
    if (std::fabs(s.alphaDeg) > 89.0L) return 0;
    Real a = std::fmod(s.betaDeg, 180.0L);
    if (a < 0) a += 180;
    return a;
  }
  return 0;
}

Point Direction(Real azimuthDeg) {
  const Real a = azimuthDeg * kPi / 180;
  // Exact axes, so that a plane along x or y is one block of points.
  if (azimuthDeg == 0) return {1, 0, 0};
  if (azimuthDeg == 90) return {0, 1, 0};
  return {std::cos(a), std::sin(a), 0};
}

// The progress of run k of `runs` as a part of the whole.
std::function<void(double)> ShareOfProgress(const std::function<void(double)>& whole, size_t k,
                                            size_t runs) {
  if (!whole) return {};
  return [whole, k, runs](double p) {
    whole((static_cast<double>(k) + p) / static_cast<double>(runs));
  };
}

// Lattice points to a coarse step: a power of two that takes it to `finest`
// or below.
int Fineness(Real step, Real finest) {
  constexpr int kMostHalvings = 12;
  int f = 1;
  for (int n = 0; n < kMostHalvings && step / f > finest * (1 + 1e-9L); ++n) f *= 2;
  return f;
}

using Failure = std::optional<std::pair<Status, std::string>>;

// Runs the engine on the layout's blocks at each of the solution's
// frequencies, on the same points: each sample keeps the strongest fields
// of them all.
Failure RunLayout(const Request& q, Solution& sol, const Layout& layout, RunOptions run,
                  const std::function<void(double)>& progress) {
  Requests fields;
  fields.blocks = layout.blocks;
  size_t points = 0;
  for (const FieldBlock& b : layout.blocks) points += static_cast<size_t>(b.Count());
  run.expectedOutputBytes = 2 * points * kBytesPerPoint + 20000;
  const size_t runs = sol.fieldsAtMHz.size();
  for (size_t k = 0; k < runs; ++k) {
    run.progress = ShareOfProgress(progress, k, runs);
    FieldRun r = ComputeFields(q.structure, sol.fieldsAtMHz[k], fields, run);
    if (k == 0 && sol.deck.empty()) sol.deck = r.deck;
    if (r.status != Status::Done) return std::make_pair(r.status, r.message);
    for (size_t b = 0; b < layout.blocks.size(); ++b) {
      const BlockSink& sink = layout.sinks[b];
      const std::vector<FieldSample>& got = r.samples[b];
      for (size_t n = 0; n < got.size(); ++n) {
        FieldSample& into = (*sink.samples)[sink.index[n]];
        into = k == 0 ? got[n]
                      : FieldSample{std::max(into.e2, got[n].e2), std::max(into.h2, got[n].h2)};
      }
    }
  }
  return std::nullopt;
}

// Blocks for the lattice's points from `first` on: a row of points at equal
// steps (with its levels) is one block.
void AddLatticePoints(Layout& layout, SampledLattice& lattice, size_t first) {
  constexpr int kMostPerBlock = 500;
  std::vector<size_t> order;
  for (size_t n = first; n < lattice.points.size(); ++n) order.push_back(n);
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const auto [ia, ja] = lattice.points[a];
    const auto [ib, jb] = lattice.points[b];
    return ja != jb ? ja < jb : ia < ib;
  });
  const auto levels = static_cast<size_t>(lattice.levels);
  size_t start = 0;
  while (start < order.size()) {
    const auto [i0, j0] = lattice.points[order[start]];
    size_t end = start + 1;
    int stride = 0;
    while (end < order.size() && end - start < kMostPerBlock) {
      const auto [i, j] = lattice.points[order[end]];
      const int previous = lattice.points[order[end - 1]].first;
      if (j != j0 || (stride != 0 && i - previous != stride)) break;
      stride = i - previous;
      ++end;
    }
    FieldBlock b;
    b.start = lattice.At(i0, j0);
    b.step = {std::max(stride, 1) * lattice.stepM, 0, lattice.levelStepM};
    b.nx = static_cast<int>(end - start);
    b.nz = lattice.levels;
    BlockSink sink{&lattice.samples, {}};
    for (size_t k = 0; k < levels; ++k) {
      for (size_t m = start; m < end; ++m) sink.index.push_back(order[m] * levels + k);
    }
    layout.blocks.push_back(b);
    layout.sinks.push_back(std::move(sink));
    start = end;
  }
}

// The largest exposure of a point by any criterion of the cases.
std::vector<double> WorstOf(const SampledLattice& lattice,
                            const std::vector<CriterionRule>& rules) {
  std::vector<double> worst(lattice.points.size(), 0);
  int top = 0;
  for (size_t n = 0; n < worst.size(); ++n) {
    for (const CriterionRule& r : rules) {
      worst[n] = std::max(worst[n], ValueOf(lattice.SamplesOf(n), lattice.levels, r, top));
    }
  }
  return worst;
}

// Splits the cells of the plan and the columns that could miss a zone, and
// samples the new points, until none is left to split.
Failure Refine(const Request& q, Solution& sol, const RunOptions& run) {
  std::vector<CriterionRule> head;
  std::vector<CriterionRule> body;
  for (const LimitCase& c : q.cases) {
    const CaseRules rules = RulesOf(c, sol.limitBand, q.power);
    head.insert(head.end(), rules.head.begin(), rules.head.end());
    body.insert(body.end(), rules.body.begin(), rules.body.end());
  }
  SplitRule rule;
  rule.nearLimit = kRefineBelowLimit;
  rule.finestM = q.grid.finestStepM;
  rule.clearanceM = kConductorClearanceM;
  constexpr int kMostPasses = 16;
  for (int pass = 0; pass < kMostPasses; ++pass) {
    Layout layout;
    bool split = false;
    for (auto [lattice, rules] :
         {std::pair{&sol.headSamples, &head}, std::pair{&sol.bodySamples, &body}}) {
      const size_t first = Split(*lattice, WorstOf(*lattice, *rules), sol.segmentRows, rule);
      if (first == lattice->points.size()) continue;
      split = true;
      AddLatticePoints(layout, *lattice, first);
    }
    if (!split) break;
    for (const SampledLattice* l : {&sol.headSamples, &sol.bodySamples}) {
      for (const Cell& c : l->cells) sol.finestStepM = std::min(sol.finestStepM, c.size * l->stepM);
    }
    if (auto failure = RunLayout(q, sol, layout, run, {})) return failure;
  }
  return std::nullopt;
}

}  // namespace

ScalarGrid ExposureOn(const FieldPlane& plane, const FieldLimit& limit, Real powerW) {
  ScalarGrid g;
  g.origin = plane.origin;
  g.u = plane.u;
  g.v = plane.v;
  g.nu = plane.nu;
  g.nv = plane.nv;
  g.values.resize(plane.samples.size());
  for (size_t n = 0; n < g.values.size(); ++n) {
    g.values[n] = ExposureAt(plane.samples[n], powerW, limit);
  }
  return g;
}

std::vector<LimitCase> AllLimitCases() {
  return {{LimitSet::Fcc, Tier::General},
          {LimitSet::Fcc, Tier::Occupational},
          {LimitSet::Icnirp2020, Tier::General},
          {LimitSet::Icnirp2020, Tier::Occupational}};
}

const char* CriterionId(Criterion c) {
  switch (c) {
    case Criterion::Point:
      return "point";
    case Criterion::WholeBodyAverage:
      return "whole-body-average";
    case Criterion::Local:
      return "local";
    case Criterion::NerveStimulation:
      return "nerve-stimulation";
  }
  return "";
}

Real ReachM(Real powerW, Real gainRatio, const FieldLimit& limit, Real frequencyMHz) {
  // The plane-wave density the stricter of the two limits allows.
  const Real allowed = std::min(limit.eVPerM * limit.eVPerM / kFreeSpaceImpedanceOhm,
                                kFreeSpaceImpedanceOhm * limit.hAPerM * limit.hAPerM);
  if (!(powerW > 0) || !(allowed > 0)) return 0;
  const Real g = std::max(gainRatio, 1.5L);
  const Real k = 2 * kPi / WavelengthM(frequencyMHz);
  // A short dipole's |E|^2 over its far-field value is at most
  // 1 + 3/(kr)^2 + 5/(kr)^4 (and |H|^2 less): falling in r.
  auto density = [&](Real r) {
    const Real x2 = (k * r) * (k * r);
    return powerW * g / (4 * kPi * r * r) * (1 + 3 / x2 + 5 / (x2 * x2));
  };
  Real lo = 1e-6L;
  Real hi = 1e7L;
  if (density(hi) >= allowed) return hi;
  if (density(lo) < allowed) return 0;
  for (int n = 0; n < 200; ++n) {
    const Real mid = std::sqrt(lo * hi);
    (density(mid) >= allowed ? lo : hi) = mid;
  }
  return hi;
}

std::vector<CaseResult> Assess(const Solution& solution, const TransmitPower& power,
                               const std::vector<LimitCase>& cases) {
  std::vector<CaseResult> results;
  for (const LimitCase& c : cases) {
    CaseResult r;
    r.limitCase = c;
    const CaseRules rules = RulesOf(c, solution.limitBand, power);
    r.applies = rules.applies;
    for (const CriterionRule& s : rules.head) r.head.push_back(OnLattice(solution.headSamples, s));
    for (const CriterionRule& s : rules.body) {
      r.wholeBody.push_back(OnLattice(solution.bodySamples, s));
    }
    Combine(r.head, r.headPeak, r.headKeepOut, nullptr);
    Combine(r.wholeBody, r.wholeBodyPeak, r.wholeBodyKeepOut, &r.wholeBodyGoverns);
    results.push_back(std::move(r));
  }
  return results;
}

FieldSample PerWatt(const FieldPoint& e, const FieldPoint& h, Real inputPowerW) {
  // The engine prints peak amplitudes: RMS^2 = peak^2 / 2.
  const double perWatt = 1.0 / (2.0 * static_cast<double>(inputPowerW));
  return {e.PeakSquared() * perWatt, h.PeakSquared() * perWatt};
}

FieldRun ComputeFields(const Structure& structure, Real frequencyMHz, const Requests& requests,
                       const RunOptions& run) {
  FieldRun fr;
  auto failed = [&fr](Status s, std::string message) {
    fr.status = s;
    fr.message = std::move(message);
    return std::move(fr);
  };
  fr.deck = WriteDeck(structure, frequencyMHz, requests);
  if (const auto line = LongLineOf(fr.deck)) {
    return failed(Status::Refused, "line " + std::to_string(*line) +
                                       " of the deck is longer than the " +
                                       std::to_string(kLongestCardLine) +
                                       " characters the engine reads; its numbers are too long");
  }
  RunOptions limited = run;
  if (!limited.timeLimit) {
    limited.timeLimit = EngineTimeLimit(
        SegmentsOf(structure), PointsOf(requests, structure.ground.kind != GroundKind::FreeSpace));
  }
  const RunResult r = RunEngine(fr.deck, limited);
  if (r.status != RunStatus::Finished) return failed(StatusOf(r.status), r.message);
  ParsedOutput parsed = ParseNecOutput(r.output);
  if (!parsed.output) return failed(Status::Unreadable, parsed.problem);
  fr.output = std::move(*parsed.output);
  const NecOutput& out = fr.output;
  if (out.sources.size() != 1 || !out.inputPowerW || !(*out.inputPowerW > 0)) {
    return failed(Status::Unreadable, "the engine's output lacks the source or its input power");
  }
  const std::vector<FieldTable>& tables = out.fields;
  if (tables.size() != 2 * requests.blocks.size()) {
    return failed(Status::Unreadable, "the engine's output holds " + std::to_string(tables.size()) +
                                          " field tables, not " +
                                          std::to_string(2 * requests.blocks.size()));
  }
  for (size_t b = 0; b < requests.blocks.size(); ++b) {
    const FieldBlock& block = requests.blocks[b];
    const FieldTable& e = tables[2 * b];
    const FieldTable& h = tables[2 * b + 1];
    const size_t count = static_cast<size_t>(block.Count());
    if (e.magnetic || !h.magnetic || e.points.size() != count || h.points.size() != count) {
      return failed(Status::Unreadable,
                    "the engine's output lacks points of field table " + std::to_string(b + 1));
    }
    std::vector<FieldSample> samples;
    samples.reserve(count);
    size_t n = 0;
    for (int k = 0; k < block.nz; ++k) {
      for (int j = 0; j < block.ny; ++j) {
        for (int i = 0; i < block.nx; ++i, ++n) {
          const Point want = block.At(i, j, k);
          const FieldPoint& pe = e.points[n];
          const FieldPoint& ph = h.points[n];
          if (std::fabs(pe.x - want.x) > kCoordinateTolerance ||
              std::fabs(pe.y - want.y) > kCoordinateTolerance ||
              std::fabs(pe.z - want.z) > kCoordinateTolerance ||
              std::fabs(ph.x - pe.x) > kCoordinateTolerance ||
              std::fabs(ph.y - pe.y) > kCoordinateTolerance ||
              std::fabs(ph.z - pe.z) > kCoordinateTolerance) {
            return failed(Status::Unreadable,
                          "the engine's field points are not where the deck asked");
          }
          samples.push_back(PerWatt(pe, ph, *out.inputPowerW));
        }
      }
    }
    fr.samples.push_back(std::move(samples));
  }
  fr.status = Status::Done;
  return fr;
}

Evaluation Evaluate(const Request& q) {
  Evaluation ev;
  const GridOptions& grid = q.grid;
  auto refuse = [&ev](std::string message) {
    ev.status = Status::Refused;
    ev.message = std::move(message);
    return ev;
  };
  if (!(q.frequencyMHz > 0) || !std::isfinite(q.frequencyMHz)) {
    return refuse("the frequency must be above 0 MHz");
  }
  if (q.limitBand &&
      !(q.limitBand->lowerMHz > 0 && q.limitBand->upperMHz >= q.limitBand->lowerMHz &&
        std::isfinite(q.limitBand->upperMHz))) {
    return refuse("the limits' band must lie above 0 MHz, its lower edge first");
  }
  for (Real f : q.alsoAtMHz) {
    if (!(f > 0) || !std::isfinite(f)) return refuse("every frequency must be above 0 MHz");
  }
  if (!(grid.stepM > 0) || !(grid.columnStepM > 0) || !(grid.levelStepM > 0) ||
      !(grid.bodyHeightM > 0) || !(grid.headHeightM >= 0) || grid.mostPointsAcross < 3 ||
      (grid.halfWidthM && !(*grid.halfWidthM > 0)) || !(grid.patternStepDeg > 0)) {
    return refuse("the grid's steps, heights and size must be above 0");
  }
  {
    Real highest = q.frequencyMHz;
    for (Real f : q.alsoAtMHz) highest = std::max(highest, f);
    const std::vector<std::string> thin = ThinWireProblems(q.structure, highest);
    if (!thin.empty()) return refuse(thin.front());
  }
  RunOptions run = q.run;
  auto failed = [&ev](Status s, std::string message) {
    ev.status = s;
    ev.message = std::move(message);
    return ev;
  };

  const EngineVersion version = QueryEngineVersion(run);
  if (!version.version) return failed(StatusOf(version.status), version.message);
  // A solution computed before from the same figures by the same engine.
  const std::string cacheText = q.cacheFolder.empty() ? "" : CacheText(q, *version.version);
  if (!q.cacheFolder.empty()) {
    if (std::optional<Solution> cached = LoadCachedSolution(q.cacheFolder, cacheText)) {
      ev.results = Assess(*cached, q.power, q.cases);
      ev.status = Status::Done;
      ev.solution = std::move(cached);
      ev.fromCache = true;
      return ev;
    }
  }

  // First run: impedance, power, gain, segments.
  Solution sol;
  sol.engine = *version.version;
  sol.frequencyMHz = q.frequencyMHz;
  sol.fieldsAtMHz.push_back(q.frequencyMHz);
  sol.fieldsAtMHz.insert(sol.fieldsAtMHz.end(), q.alsoAtMHz.begin(), q.alsoAtMHz.end());
  sol.limitBand = q.limitBand.value_or(LimitBand::At(q.frequencyMHz));
  Requests first;
  first.pattern = true;
  first.patternStepDeg = grid.patternStepDeg;
  FieldRun r1 = ComputeFields(q.structure, q.frequencyMHz, first, run);
  sol.patternDeck = r1.deck;
  if (r1.status != Status::Done) return failed(r1.status, r1.message);
  const NecOutput p1 = std::move(r1.output);
  if (p1.segmentRows.empty()) {
    return failed(Status::Unreadable, "the engine's output lacks the segments");
  }
  sol.segments = p1.segments;
  sol.segmentRows = p1.segmentRows;
  sol.impedanceOhm = p1.sources[0].impedanceOhm;
  sol.inputPowerW = *p1.inputPowerW;
  sol.peak = p1.peak;

  // The plan's size from the farthest reach of any criterion.
  const Extent extent = ExtentOf(sol.segmentRows);
  const Real gain = sol.peak ? std::pow(10.0L, sol.peak->gainDbi / 10) : 1;
  Real reach = 0;
  for (const LimitCase& c : q.cases) {
    const CaseRules rules = RulesOf(c, sol.limitBand, q.power);
    for (const auto* list : {&rules.head, &rules.body}) {
      for (const CriterionRule& s : *list) {
        reach = std::max(reach, ReachM(s.powerW, gain, s.limit, q.frequencyMHz));
      }
    }
  }
  Real half = grid.halfWidthM.value_or(extent.horizontalM +
                                       std::max(kReachMargin * reach, kLeastSurroundM));
  const bool ground = q.structure.ground.kind != GroundKind::FreeSpace;
  sol.alongAzimuthDeg = FeedAzimuthDeg(sol.segmentRows, q.structure.feed);

  for (int attempt = 0;; ++attempt) {
    const int most = grid.mostPointsAcross;
    const Real step = std::max(grid.stepM, 2 * half / (most - 1));
    const int halfCount = static_cast<int>(std::ceil(half / step - 1e-9L));
    const int n = 2 * halfCount + 1;
    sol.stepM = step;
    sol.halfWidthM = halfCount * step;
    sol.enlargements = attempt;

    Layout layout;
    // The plan at head height.
    sol.plan = {};
    sol.plan.origin = {-halfCount * step, -halfCount * step, grid.headHeightM};
    sol.plan.u = {step, 0, 0};
    sol.plan.v = {0, step, 0};
    sol.plan.nu = sol.plan.nv = n;
    sol.plan.samples.assign(static_cast<size_t>(n) * n, {});
    {
      FieldBlock b{sol.plan.origin, {step, step, 0}, n, n, 1};
      BlockSink sink{&sol.plan.samples, {}};
      for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) sink.index.push_back(static_cast<size_t>(j) * n + i);
      }
      layout.blocks.push_back(b);
      layout.sinks.push_back(std::move(sink));
    }
    // The whole-body columns.
    {
      const Real cstep = std::max({grid.columnStepM, step, 2 * sol.halfWidthM / (most - 1)});
      const int chalf = static_cast<int>(std::ceil(sol.halfWidthM / cstep - 1e-9L));
      const int cn = 2 * chalf + 1;
      const int levels =
          std::max(2, static_cast<int>(std::lround(grid.bodyHeightM / grid.levelStepM)) + 1);
      FieldColumns& c = sol.columns;
      c = {};
      c.origin = {-chalf * cstep, -chalf * cstep, 0};
      c.u = {cstep, 0, 0};
      c.v = {0, cstep, 0};
      c.nu = c.nv = cn;
      c.levels = levels;
      c.levelStepM = grid.bodyHeightM / (levels - 1);
      c.samples.assign(static_cast<size_t>(cn) * cn * levels, {});
      FieldBlock b{c.origin, {cstep, cstep, c.levelStepM}, cn, cn, levels};
      BlockSink sink{&c.samples, {}};
      for (int k = 0; k < levels; ++k) {
        for (int j = 0; j < cn; ++j) {
          for (int i = 0; i < cn; ++i) {
            sink.index.push_back((static_cast<size_t>(j) * cn + i) * levels + k);
          }
        }
      }
      layout.blocks.push_back(b);
      layout.sinks.push_back(std::move(sink));
    }
    // The side views.
    {
      const Real side = std::min(reach * kReachMargin + kLeastSurroundM, sol.halfWidthM);
      const Real z0 = ground ? 0 : extent.lowestM - side;
      const Real zTop = std::max(extent.highestM, grid.bodyHeightM) + side;
      const Real dz = std::max(step, (zTop - z0) / (most - 1));
      const int nz = static_cast<int>(std::ceil((zTop - z0) / dz - 1e-9L)) + 1;
      AddSidePlane(layout, sol.along, Direction(sol.alongAzimuthDeg), step, halfCount, z0, dz, nz);
      const Real acrossDeg = std::fmod(sol.alongAzimuthDeg + 90, 180.0L);
      AddSidePlane(layout, sol.across, Direction(acrossDeg), step, halfCount, z0, dz, nz);
    }

    // The single points, one block each.
    sol.points = q.points;
    sol.pointSamples.assign(q.points.size(), {});
    for (size_t n = 0; n < q.points.size(); ++n) {
      FieldBlock b;
      b.start = q.points[n];
      layout.blocks.push_back(b);
      layout.sinks.push_back({&sol.pointSamples, {n}});
    }

    sol.deck.clear();
    if (const auto failure = RunLayout(q, sol, layout, run, q.run.progress)) {
      return failed(failure->first, failure->second);
    }
    sol.headSamples = LatticeOf(step, n, grid.headHeightM, 1, 0, Fineness(step, grid.finestStepM),
                                sol.plan.samples);
    sol.bodySamples =
        LatticeOf(sol.columns.u.x, sol.columns.nu, 0, sol.columns.levels, sol.columns.levelStepM,
                  Fineness(sol.columns.u.x, grid.finestStepM), sol.columns.samples);
    MarkNearConductors(sol.headSamples, sol.segmentRows, kConductorClearanceM);
    MarkNearConductors(sol.bodySamples, sol.segmentRows, kConductorClearanceM);
    sol.finestStepM = std::min(step, sol.columns.u.x);
    ev.results = Assess(sol, q.power, q.cases);
    bool beyond = false;
    for (const CaseResult& r : ev.results) {
      beyond = beyond || r.headKeepOut.kind == KeepOutKind::BeyondGrid ||
               r.wholeBodyKeepOut.kind == KeepOutKind::BeyondGrid;
    }
    if (!beyond || grid.halfWidthM || attempt >= grid.enlargements) break;
    half = 2 * sol.halfWidthM;
  }
  if (const auto failure = Refine(q, sol, run)) return failed(failure->first, failure->second);
  ev.results = Assess(sol, q.power, q.cases);
  if (!q.cacheFolder.empty()) StoreCachedSolution(q.cacheFolder, cacheText, sol);
  ev.status = Status::Done;
  ev.solution = std::move(sol);
  return ev;
}

}  // namespace korrin::nearfield
