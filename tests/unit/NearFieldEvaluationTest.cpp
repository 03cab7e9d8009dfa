// The whole evaluation: the keep-out distances it reports are the
// outermost crossings of the limit, checked against the engine's fields on
// fine points around them; the side views follow the feed wire; an
// exposure reaching the plan's edge is never reported as a distance inside
// it.  These run nec2c; without it they fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "nearfield/Contour.h"
#include "nearfield/NearField.h"
#include "nearfield/Presets.h"
#include "tests/unit/NearFieldTestSupport.h"

namespace korrin::nearfield {
namespace {

using support::PointBlock;
using support::RunOn;
using support::StructureOf;

struct KeepOutCase {
  const char* name;
  Real frequencyMHz;
  Preset preset;
  Real powerW;
};

const CaseResult* Find(const Evaluation& ev, LimitSet set, Tier tier) {
  for (const CaseResult& r : ev.results) {
    if (r.limitCase.set == set && r.limitCase.tier == tier) return &r;
  }
  return nullptr;
}

// Exposure along a ray from x = y = 0 at the given distances; at head
// height, or averaged over columns from the ground to the body's top.
std::vector<double> AlongRay(const Structure& s, Real f, Point direction,
                             const std::vector<Real>& distances, const CriterionResult& c,
                             const GridOptions& grid, bool wholeBody) {
  const int levels = static_cast<int>(std::lround(grid.bodyHeightM / grid.levelStepM)) + 1;
  std::vector<FieldBlock> blocks;
  for (Real d : distances) {
    FieldBlock b = PointBlock(d * direction + Point{0, 0, wholeBody ? 0 : grid.headHeightM});
    if (wholeBody) {
      b.step = {0, 0, grid.bodyHeightM / (levels - 1)};
      b.nz = levels;
    }
    blocks.push_back(b);
  }
  const FieldRun run = RunOn(s, f, blocks);
  std::vector<double> exposure;
  for (const std::vector<FieldSample>& column : run.samples) {
    if (!wholeBody) {
      exposure.push_back(ExposureAt(column[0], c.powerW, c.limit));
      continue;
    }
    std::vector<double> e2;
    std::vector<double> h2;
    for (const FieldSample& x : column) {
      e2.push_back(x.e2);
      h2.push_back(x.h2);
    }
    const FieldSample mean{ColumnMean(e2.data(), levels), ColumnMean(h2.data(), levels)};
    exposure.push_back(ExposureAt(mean, c.powerW, c.limit));
  }
  return exposure;
}

class KeepOutEvaluationTest : public ::testing::TestWithParam<KeepOutCase> {};

// FCC general population, at head height and over the whole body: along the
// ray through the reported distance the exposure crosses 1 within 2 cm of
// it (the 0.25 m grid's crossing is interpolated in the logarithm of the
// exposure, which a smooth field follows closely over a step), and nowhere
// farther out in any direction does it reach 1.
TEST_P(KeepOutEvaluationTest, TheDistanceIsTheOutermostCrossing) {
  const KeepOutCase& c = GetParam();
  const Structure s = StructureOf(c.preset, c.frequencyMHz);
  Request q;
  q.structure = s;
  q.frequencyMHz = c.frequencyMHz;
  q.power = {c.powerW, c.powerW, c.powerW};
  q.cases = {{LimitSet::Fcc, Tier::General}};
  const Evaluation ev = Evaluate(q);
  ASSERT_EQ(ev.status, Status::Done) << ev.message;
  const CaseResult* r = Find(ev, LimitSet::Fcc, Tier::General);
  ASSERT_TRUE(r);
  struct Figure {
    const char* name;
    const KeepOut& keepOut;
    const CriterionResult& criterion;
    bool wholeBody;
  };
  for (const Figure& fig : {Figure{"head", r->headKeepOut, r->head.at(0), false},
                            Figure{"whole body", r->wholeBodyKeepOut, r->wholeBody.at(0), true}}) {
    ASSERT_EQ(fig.keepOut.kind, KeepOutKind::Within) << fig.name;
    const Real d = fig.keepOut.distanceM;
    const Point dir =
        (1 / HorizontalDistance(fig.keepOut.at)) * Point{fig.keepOut.at.x, fig.keepOut.at.y, 0};
    std::vector<Real> fine;
    for (int k = -6; k <= 6; ++k) fine.push_back(d + 0.01L * k);
    const std::vector<double> x =
        AlongRay(s, c.frequencyMHz, dir, fine, fig.criterion, q.grid, fig.wholeBody);
    ASSERT_EQ(x.size(), fine.size());
    ASSERT_GE(x.front(), 1) << fig.name << ": inside the distance the exposure is below 1";
    ASSERT_LT(x.back(), 1) << fig.name << ": outside the distance the exposure is 1 or more";
    size_t k = 0;
    while (x[k + 1] >= 1) ++k;
    const Real crossing = fine[k] + 0.01L * static_cast<Real>(CrossingFraction(x[k], x[k + 1], 1));
    EXPECT_NEAR(static_cast<double>(crossing), static_cast<double>(d), 0.02) << fig.name;

    for (int deg = 0; deg < 360; deg += 15) {
      const Real a = deg * kPi / 180;
      const std::vector<Real> far = {d + 0.05L, d + 0.3L, d + 1, d + 3};
      const std::vector<double> y = AlongRay(s, c.frequencyMHz, {std::cos(a), std::sin(a), 0}, far,
                                             fig.criterion, q.grid, fig.wholeBody);
      for (size_t n = 0; n < y.size(); ++n) {
        EXPECT_LT(y[n], 1) << fig.name << ": " << deg << " degrees, " << static_cast<double>(far[n])
                           << " m";
      }
    }
  }
  // The map's contour at the limit reaches exactly as far as the keep-out
  // distance at head height.
  const CriterionResult& head = r->head.at(0);
  Real farthest = 0;
  for (const ContourSegment& seg :
       ContourOf(ExposureOn(ev.solution->plan, head.limit, head.powerW))) {
    farthest = std::max({farthest, HorizontalDistance(seg.from), HorizontalDistance(seg.to)});
  }
  EXPECT_NEAR(static_cast<double>(farthest), static_cast<double>(r->headKeepOut.distanceM), 1e-9);

  // Twice the power, twice the exposure everywhere, and farther to go.
  const TransmitPower twice{2 * c.powerW, 2 * c.powerW, 2 * c.powerW};
  const std::vector<CaseResult> doubled = Assess(*ev.solution, twice, q.cases);
  EXPECT_NEAR(doubled[0].headPeak.value / r->headPeak.value, 2, 1e-12);
  EXPECT_GT(doubled[0].headKeepOut.distanceM, r->headKeepOut.distanceM);
}

INSTANTIATE_TEST_SUITE_P(
    Antennas, KeepOutEvaluationTest,
    ::testing::Values(
        // 20 m quarter-wave vertical on average ground, 1500 W.
        KeepOutCase{"GroundMountedVertical", 14.2L,
                    VerticalPreset(14.2L, 0, 0, 0.005L, RealGround(13, 0.005L)), 1500},
        // 40 m inverted V, apex at 9 m, its ends 2.4 m above a perfect ground.
        KeepOutCase{"InvertedV", 7.1L,
                    InvertedVPreset(7.1L, 9, 40, std::nullopt, 0.001L, PerfectGround()), 1500}),
    [](const ::testing::TestParamInfo<KeepOutCase>& info) { return std::string(info.param.name); });

// The side views lie along the feed wire and across it: a dipole turned 30
// degrees shows the same fields in them as one along x.
TEST(EvaluationTest, SideViewsFollowTheFeedWire) {
  const Real f = 14.2L;
  const Real half = WavelengthM(f) / 4;
  auto evaluate = [&](Real turnDeg) {
    const Real a = turnDeg * kPi / 180;
    WireModel m;
    m.ground = PerfectGround();
    m.wires = {{{-half * std::cos(a), -half * std::sin(a), 6},
                {half * std::cos(a), half * std::sin(a), 6},
                0.001L}};
    Request q;
    q.structure = *BuildStructure(m, f).structure;
    q.frequencyMHz = f;
    q.power = {100, 100, 100};
    q.grid.stepM = 0.5L;
    q.grid.halfWidthM = 8;
    return Evaluate(q);
  };
  const Evaluation straight = evaluate(0);
  const Evaluation turned = evaluate(30);
  ASSERT_EQ(straight.status, Status::Done) << straight.message;
  ASSERT_EQ(turned.status, Status::Done) << turned.message;
  EXPECT_EQ(straight.solution->alongAzimuthDeg, 0);
  EXPECT_NEAR(static_cast<double>(turned.solution->alongAzimuthDeg), 30, 0.01);
  for (const auto plane : {&Solution::along, &Solution::across}) {
    const FieldPlane& a = (*straight.solution).*plane;
    const FieldPlane& b = (*turned.solution).*plane;
    ASSERT_EQ(a.nu, b.nu);
    ASSERT_EQ(a.nv, b.nv);
    for (int j = 0; j < a.nv; j += 3) {
      for (int i = 0; i < a.nu; ++i) {
        // The engine prints 5 digits: squares agree to about 1e-4.
        const FieldSample& x = a.Sample(i, j);
        const FieldSample& y = b.Sample(i, j);
        EXPECT_NEAR(y.e2 / x.e2, 1, 2e-3) << i << "," << j;
        EXPECT_NEAR(y.h2 / x.h2, 1, 2e-3) << i << "," << j;
      }
    }
  }
}

// A model that stands for a band: the fields computed at its middle and at
// its edges on the same points, each point keeping the strongest E and the
// strongest H of the three runs, as three runs of their own give them.  The
// deck shown is the middle's.  A frequency that is not above 0 is refused.
TEST(EvaluationTest, AModelForABandKeepsTheStrongestFieldsOfItsFrequencies) {
  const Real middle = 3.75L;
  const Structure s =
      StructureOf(DipolePreset(middle, 6, std::nullopt, 0.001L, PerfectGround()), middle);
  auto evaluate = [&](Real f, std::vector<Real> also) {
    Request q;
    q.structure = s;
    q.frequencyMHz = f;
    q.alsoAtMHz = std::move(also);
    q.power = {100, 100, 100};
    q.grid.stepM = 2;
    q.grid.halfWidthM = 24;
    q.grid.columnStepM = 4;
    q.points = {{12, 3, 2}, {19, 0, 2}};
    return Evaluate(q);
  };
  const Evaluation band = evaluate(middle, {3.5L, 4.0L});
  ASSERT_EQ(band.status, Status::Done) << band.message;
  const std::vector<Real> fields{middle, 3.5L, 4.0L};
  EXPECT_EQ(band.solution->fieldsAtMHz, fields);
  std::vector<Evaluation> alone;
  for (Real f : fields) {
    alone.push_back(evaluate(f, {}));
    ASSERT_EQ(alone.back().status, Status::Done) << alone.back().message;
    ASSERT_EQ(alone.back().solution->fieldsAtMHz, std::vector<Real>{f});
  }
  EXPECT_EQ(band.solution->deck, alone[0].solution->deck);

  // Sample by sample over the plan, the columns and the points (the side
  // views' height follows each run's own reach).
  using Samples = std::vector<FieldSample>;
  const std::vector<std::pair<const char*, const Samples& (*)(const Solution&)>> grids{
      {"plan", [](const Solution& x) -> const Samples& { return x.plan.samples; }},
      {"columns", [](const Solution& x) -> const Samples& { return x.columns.samples; }},
      {"points", [](const Solution& x) -> const Samples& { return x.pointSamples; }}};
  int edgeStronger = 0;
  for (const auto& [name, of] : grids) {
    const Samples& got = of(*band.solution);
    ASSERT_FALSE(got.empty()) << name;
    for (const Evaluation& a : alone) ASSERT_EQ(of(*a.solution).size(), got.size()) << name;
    for (size_t n = 0; n < got.size(); ++n) {
      double e2 = 0;
      double h2 = 0;
      for (const Evaluation& a : alone) {
        e2 = std::max(e2, of(*a.solution)[n].e2);
        h2 = std::max(h2, of(*a.solution)[n].h2);
      }
      ASSERT_EQ(got[n].e2, e2) << name << " " << n;
      ASSERT_EQ(got[n].h2, h2) << name << " " << n;
      if (e2 > of(*alone[0].solution)[n].e2) ++edgeStronger;
    }
  }
  // Off its resonance the dipole's fields per watt differ: the edges count.
  EXPECT_GT(edgeStronger, 0);

  for (Real bad : {0.0L, -1.0L, std::numeric_limits<Real>::quiet_NaN()}) {
    const Evaluation refused = evaluate(middle, {3.5L, bad});
    EXPECT_EQ(refused.status, Status::Refused) << static_cast<double>(bad);
    EXPECT_FALSE(refused.solution);
  }
}

// A plan too small for the field: the figure says the exposure reaches past
// its edge, never a distance inside it.
TEST(EvaluationTest, AnExposureAtTheEdgeIsBeyondTheGrid) {
  Request q;
  q.structure = StructureOf(VerticalPreset(14.2L, 0, 0, 0.005L, PerfectGround()), 14.2L);
  q.frequencyMHz = 14.2L;
  q.power = {1500, 1500, 1500};
  q.cases = {{LimitSet::Fcc, Tier::General}};
  q.grid.halfWidthM = 1.5L;
  const Evaluation ev = Evaluate(q);
  ASSERT_EQ(ev.status, Status::Done) << ev.message;
  EXPECT_EQ(ev.results[0].headKeepOut.kind, KeepOutKind::BeyondGrid);
  EXPECT_EQ(ev.results[0].wholeBodyKeepOut.kind, KeepOutKind::BeyondGrid);
  EXPECT_EQ(ev.solution->enlargements, 0);  // a plan of a given size is not enlarged
}

}  // namespace
}  // namespace korrin::nearfield
