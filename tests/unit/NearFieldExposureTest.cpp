// The field limits' table against the rules' own figures, and the exposure
// arithmetic: the larger of the two field ratios, the power for each
// averaging time, the keep-out distance on a grid and the whole-body mean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "nearfield/Contour.h"
#include "nearfield/Exposure.h"
#include "nearfield/TableText.h"
#include "nearfield/Tables.h"

namespace korrin::nearfield {
namespace {

std::string FileText(const std::string& relative) {
  std::ifstream in(std::string(KORRIN_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(FieldLimitTableTest, BuiltInAsOnDisk) {
  EXPECT_EQ(TableText_field_limits(), FileText("data/field-limits.csv"));
  EXPECT_EQ(TableText_grounds(), FileText("data/grounds.csv"));
}

TEST(FieldLimitTableTest, EveryRowIsReadAndSourcedAndTheRangesJoin) {
  EXPECT_TRUE(TableProblems().empty()) << TableProblems().front();
  ASSERT_EQ(FieldLimitRows().size(), 16u);
  std::map<std::tuple<LimitSet, Tier, LimitKind>, std::vector<const FieldLimitRow*>> byKind;
  for (const FieldLimitRow& r : FieldLimitRows()) {
    EXPECT_FALSE(r.source.empty());
    byKind[{r.set, r.tier, r.kind}].push_back(&r);
  }
  EXPECT_EQ(byKind.size(), 8u);  // FCC: whole body only; ICNIRP: whole body, local, nerve
  for (auto& [key, rows] : byKind) {
    std::sort(rows.begin(), rows.end(), [](const FieldLimitRow* a, const FieldLimitRow* b) {
      return a->lowerMHz < b->lowerMHz;
    });
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i - 1]->upperMHz, rows[i]->lowerMHz);
  }
  ASSERT_EQ(GroundRows().size(), 3u);
  for (const GroundRow& g : GroundRows()) EXPECT_FALSE(g.source.empty()) << g.id;
}

struct LimitCase {
  LimitSet set;
  Tier tier;
  LimitKind kind;
  Real frequencyMHz;
  Real eVPerM;  // 0: no limit there
  Real hAPerM;
  Real minutes;
};

// The limit found against the one expected (none when eVPerM is 0); true
// when both are there and agree.
bool SameLimit(const std::optional<FieldLimit>& got, Real eVPerM, Real hAPerM,
               const std::string& where) {
  if (eVPerM == 0) {
    EXPECT_FALSE(got) << where;
    return false;
  }
  EXPECT_TRUE(got) << where;
  if (!got) return false;
  EXPECT_NEAR(static_cast<double>(got->eVPerM / eVPerM), 1, 1e-12) << where;
  EXPECT_NEAR(static_cast<double>(got->hAPerM / hAPerM), 1, 1e-12) << where;
  return true;
}

std::string Named(LimitSet set, Tier tier, LimitKind kind) {
  return std::string(LimitSetId(set)) + " " + TierId(tier) + " " + LimitKindId(kind);
}

class FieldLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(FieldLimitTest, ReproducesTheRule) {
  const LimitCase& c = GetParam();
  const auto got = FieldLimitAt(c.set, c.tier, c.kind, c.frequencyMHz);
  const std::string where = Named(c.set, c.tier, c.kind) + " at " +
                            std::to_string(static_cast<double>(c.frequencyMHz)) + " MHz";
  if (SameLimit(got, c.eVPerM, c.hAPerM, where)) {
    EXPECT_EQ(got->averagingMinutes, c.minutes) << where;
  }
}

constexpr auto kFcc = LimitSet::Fcc;
constexpr auto kIcnirp = LimitSet::Icnirp2020;
constexpr auto kGeneral = Tier::General;
constexpr auto kWorker = Tier::Occupational;
constexpr auto kBody = LimitKind::WholeBody;
constexpr auto kLocal = LimitKind::Local;
constexpr auto kNerve = LimitKind::NerveStimulation;

Real Pow07(Real f) {
  return std::pow(f, 0.7L);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FieldLimitTest,
    ::testing::Values(
        // FCC 47 CFR 1.1310 Table 1; the upper row applies at a breakpoint.
        LimitCase{kFcc, kGeneral, kBody, 0.3L, 614, 1.63L, 30},
        LimitCase{kFcc, kGeneral, kBody, 1.0L, 614, 1.63L, 30},
        LimitCase{kFcc, kGeneral, kBody, 1.34L, 824 / 1.34L, 2.19L / 1.34L, 30},
        LimitCase{kFcc, kGeneral, kBody, 14.2L, 824 / 14.2L, 2.19L / 14.2L, 30},
        LimitCase{kFcc, kGeneral, kBody, 30, 27.5L, 0.073L, 30},
        LimitCase{kFcc, kGeneral, kBody, 299, 27.5L, 0.073L, 30},
        LimitCase{kFcc, kGeneral, kBody, 0.29L, 0, 0, 0},
        LimitCase{kFcc, kGeneral, kBody, 300, 0, 0, 0},
        LimitCase{kFcc, kWorker, kBody, 1.8L, 614, 1.63L, 6},
        LimitCase{kFcc, kWorker, kBody, 3, 1842 / 3.0L, 4.89L / 3, 6},
        LimitCase{kFcc, kWorker, kBody, 14.2L, 1842 / 14.2L, 4.89L / 14.2L, 6},
        LimitCase{kFcc, kWorker, kBody, 144, 61.4L, 0.163L, 6},
        LimitCase{kFcc, kGeneral, kLocal, 14.2L, 0, 0, 0},
        LimitCase{kFcc, kGeneral, kNerve, 1.8L, 0, 0, 0},
        // ICNIRP 2020 Table 5 (whole body, 30 min) and Table 6 (local, 6 min).
        LimitCase{kIcnirp, kGeneral, kBody, 0.1L, 300 / Pow07(0.1L), 22, 30},
        LimitCase{kIcnirp, kGeneral, kBody, 1.8L, 300 / Pow07(1.8L), 2.2L / 1.8L, 30},
        LimitCase{kIcnirp, kGeneral, kBody, 14.2L, 300 / Pow07(14.2L), 2.2L / 14.2L, 30},
        LimitCase{kIcnirp, kGeneral, kBody, 50, 27.7L, 0.073L, 30},
        LimitCase{kIcnirp, kGeneral, kBody, 400, 0, 0, 0},
        LimitCase{kIcnirp, kWorker, kBody, 14.2L, 660 / Pow07(14.2L), 4.9L / 14.2L, 30},
        LimitCase{kIcnirp, kWorker, kBody, 144, 61, 0.16L, 30},
        LimitCase{kIcnirp, kGeneral, kLocal, 14.2L, 671 / Pow07(14.2L), 4.9L / 14.2L, 6},
        LimitCase{kIcnirp, kGeneral, kLocal, 144, 62, 0.163L, 6},
        LimitCase{kIcnirp, kWorker, kLocal, 3.6L, 1504 / Pow07(3.6L), 10.8L / 3.6L, 6},
        LimitCase{kIcnirp, kWorker, kLocal, 144, 139, 0.36L, 6},
        // ICNIRP 2010 against nerve stimulation, instantaneous, below 10 MHz.
        LimitCase{kIcnirp, kGeneral, kNerve, 1.8L, 83, 21, 0},
        LimitCase{kIcnirp, kWorker, kNerve, 7.1L, 170, 80, 0},
        LimitCase{kIcnirp, kGeneral, kNerve, 10, 0, 0, 0},
        LimitCase{kIcnirp, kGeneral, kNerve, 14.2L, 0, 0, 0}));

// Over a band, each of the two limits is the lowest anywhere in it, both
// edges included: at a breakpoint inside, the row that ends there counts
// with its own formula (FCC general population at 30 MHz: 824/30 V/m below
// the 27.5 V/m the next row begins with).
struct BandCase {
  LimitSet set;
  Tier tier;
  LimitKind kind;
  Real lowerMHz;
  Real upperMHz;
  Real eVPerM;  // 0: no limit in the band
  Real hAPerM;
};

class LowestFieldLimitTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(LowestFieldLimitTest, TakesTheLowestOfTheBand) {
  const BandCase& c = GetParam();
  const auto got = LowestFieldLimit(c.set, c.tier, c.kind, {c.lowerMHz, c.upperMHz});
  SameLimit(got, c.eVPerM, c.hAPerM,
            Named(c.set, c.tier, c.kind) + " over " +
                std::to_string(static_cast<double>(c.lowerMHz)) + "-" +
                std::to_string(static_cast<double>(c.upperMHz)) + " MHz");
}

INSTANTIATE_TEST_SUITE_P(
    Bands, LowestFieldLimitTest,
    ::testing::Values(
        // One frequency: the limit there, the upper row at a breakpoint.
        BandCase{kFcc, kGeneral, kBody, 14.2L, 14.2L, 824 / 14.2L, 2.19L / 14.2L},
        BandCase{kFcc, kGeneral, kBody, 30, 30, 27.5L, 0.073L},
        BandCase{kIcnirp, kGeneral, kNerve, 10, 10, 0, 0},
        // Amateur bands: the upper edge.
        BandCase{kFcc, kGeneral, kBody, 3.5L, 4, 824 / 4.0L, 2.19L / 4},
        BandCase{kFcc, kWorker, kBody, 1.8L, 2, 614, 1.63L},
        BandCase{kIcnirp, kGeneral, kBody, 3.5L, 4, 300 / Pow07(4), 2.2L / 4},
        BandCase{kIcnirp, kWorker, kLocal, 7, 7.3L, 1504 / Pow07(7.3L), 10.8L / 7.3L},
        BandCase{kIcnirp, kGeneral, kNerve, 1.8L, 2, 83, 21},
        // Across a breakpoint: E from the row that ends there, H from the next.
        BandCase{kFcc, kGeneral, kBody, 29, 31, 824 / 30.0L, 0.073L},
        BandCase{kIcnirp, kGeneral, kBody, 25, 35, 27.7L, 0.073L},
        BandCase{kFcc, kGeneral, kBody, 1, 1.34L, 614, 1.63L},
        // Partly outside a set's range: the part inside; wholly outside: none.
        BandCase{kFcc, kGeneral, kBody, 250, 350, 27.5L, 0.073L},
        BandCase{kIcnirp, kGeneral, kNerve, 9, 11, 83, 21},
        BandCase{kFcc, kGeneral, kBody, 420, 450, 0, 0},
        BandCase{kFcc, kGeneral, kNerve, 3.5L, 4, 0, 0}));

// The nerve-stimulation rows give H as ICNIRP 2010 prints it (Table 4,
// general public: 21 A/m; Table 3, occupational: 80 A/m), which is its flux
// density B over mu0 rounded to two figures (21.49 and 79.58 A/m).
TEST(FieldLimitTableTest, NerveStimulationFieldIsThePrintedLevel) {
  constexpr Real kMu0 = 4e-7L * kPi;
  const struct {
    Tier tier;
    Real fluxDensityT;
    const char* table;
  } cases[] = {{kGeneral, 2.7e-5L, "Table 4"}, {kWorker, 1e-4L, "Table 3"}};
  for (const auto& c : cases) {
    const auto limit = FieldLimitAt(kIcnirp, c.tier, kNerve, 1);
    ASSERT_TRUE(limit.has_value()) << c.table;
    const Real fromB = c.fluxDensityT / kMu0;
    EXPECT_EQ(limit->hAPerM, std::round(fromB)) << c.table;
    EXPECT_NE(limit->row->source.find(c.table), std::string::npos) << limit->row->source;
  }
}

// ---- exposure ------------------------------------------------------------------

TEST(FieldExposureTest, TheLargerRatioSquaredOneAtTheLimit) {
  const FieldLimit limit{50, 0.2L, 30, nullptr};
  struct Case {
    FieldSample perWatt;
    Real powerW;
    double exposure;
  };
  for (const Case c : {
           Case{{2500.0 / 100, 0}, 100, 1.0},            // E at its limit
           Case{{0, 0.04 / 100}, 100, 1.0},              // H at its limit
           Case{{2500.0 / 100, 0.04 / 100}, 400, 4.0},   // both, four times the power
           Case{{625.0 / 100, 0.09 / 100}, 100, 2.25},   // H 1.5 times its limit governs
           Case{{10000.0 / 100, 0.01 / 100}, 100, 4.0},  // E twice its limit governs
       }) {
    EXPECT_NEAR(ExposureAt(c.perWatt, c.powerW, limit), c.exposure, 1e-12);
  }
}

TEST(FieldExposureTest, PowerForEachAveragingTime) {
  const TransmitPower p{1500, 450, 375};
  EXPECT_EQ(p.ForAveraging(0), 1500);
  EXPECT_EQ(p.ForAveraging(6), 450);
  EXPECT_EQ(p.ForAveraging(30), 375);
}

TEST(FieldExposureTest, CrossingFraction) {
  EXPECT_NEAR(CrossingFraction(2, 0.5, 1), 0.5, 1e-12);  // halving each half step
  EXPECT_NEAR(CrossingFraction(8, 0.5, 1), 0.75, 1e-12);
  EXPECT_NEAR(CrossingFraction(3, 0, 1), 2.0 / 3, 1e-12);  // linear to 0
  EXPECT_NEAR(CrossingFraction(1, 0.2, 1), 0, 1e-12);
}

// A field falling as (R0 / r)^6 (the reactive near field's exposure) on a
// grid of 0.25 m around a point off the grid's centre: the keep-out
// distance from x = y = 0 is found within 1 cm of the exact circle.
TEST(GridKeepOutTest, FindsTheCircleBetweenGridPoints) {
  struct Case {
    Real r0;
    Point centre;
  };
  for (const Case c :
       {Case{3.1L, {0, 0, 0}}, Case{4.37L, {0, 0, 0}}, Case{2.2L, {1.3L, -0.6L, 0}}}) {
    ScalarGrid g;
    g.origin = {-10, -10, 2};
    g.u = {0.25L, 0, 0};
    g.v = {0, 0.25L, 0};
    g.nu = g.nv = 81;
    for (int j = 0; j < g.nv; ++j) {
      for (int i = 0; i < g.nu; ++i) {
        const Real r = std::max(HorizontalDistance(g.At(i, j) - c.centre), 0.01L);
        g.values.push_back(static_cast<double>(std::pow(c.r0 / r, 6.0L)));
      }
    }
    const KeepOut k = KeepOutOf(g);
    EXPECT_EQ(k.kind, KeepOutKind::Within);
    const Real exact = c.r0 + HorizontalDistance(c.centre);  // the circle's farthest point
    EXPECT_NEAR(static_cast<double>(k.distanceM), static_cast<double>(exact), 0.01)
        << static_cast<double>(c.r0);
    EXPECT_NEAR(static_cast<double>(HorizontalDistance(k.at)), static_cast<double>(k.distanceM),
                1e-12);
    const Peak p = PeakOf(g);
    EXPECT_LT(static_cast<double>(HorizontalDistance(p.at - c.centre)), 0.2);
  }
}

TEST(GridKeepOutTest, NeverAndBeyondTheGrid) {
  ScalarGrid g;
  g.origin = {-1, -1, 0};
  g.u = {1, 0, 0};
  g.v = {0, 1, 0};
  g.nu = g.nv = 3;
  g.values = {0.1, 0.2, 0.1, 0.2, 0.9, 0.2, 0.1, 0.2, 0.1};
  EXPECT_EQ(KeepOutOf(g).kind, KeepOutKind::Never);
  EXPECT_EQ(KeepOutOf(g).distanceM, 0);
  g.values[4] = 4;  // only the middle point: within
  EXPECT_EQ(KeepOutOf(g).kind, KeepOutKind::Within);
  g.values[5] = 1;  // at the limit on the edge
  const KeepOut k = KeepOutOf(g);
  EXPECT_EQ(k.kind, KeepOutKind::BeyondGrid);
  EXPECT_GE(k.distanceM, 1);
}

// The contour of a ring of high values: closed (every end shared by two
// segments), on the circle within 1 cm, and its farthest point the
// keep-out distance; a saddle cell gives two segments, not a cross.
TEST(ContourTest, ClosedOnTheCircleAndReachingTheKeepOut) {
  ScalarGrid g;
  g.origin = {-6, -6, 2};
  g.u = {0.25L, 0, 0};
  g.v = {0, 0.25L, 0};
  g.nu = g.nv = 49;
  for (int j = 0; j < g.nv; ++j) {
    for (int i = 0; i < g.nu; ++i) {
      const Real r = std::max(HorizontalDistance(g.At(i, j)), 0.01L);
      g.values.push_back(static_cast<double>(std::pow(3.3L / r, 4.0L)));
    }
  }
  const std::vector<ContourSegment> contour = ContourOf(g);
  ASSERT_FALSE(contour.empty());
  std::map<std::pair<long, long>, int> ends;
  Real farthest = 0;
  for (const ContourSegment& s : contour) {
    for (const Point p : {s.from, s.to}) {
      EXPECT_NEAR(static_cast<double>(HorizontalDistance(p)), 3.3, 0.01);
      farthest = std::max(farthest, HorizontalDistance(p));
      ++ends[{std::lround(p.x * 1e6L), std::lround(p.y * 1e6L)}];
    }
  }
  for (const auto& [at, count] : ends) EXPECT_EQ(count, 2);
  EXPECT_NEAR(static_cast<double>(farthest), static_cast<double>(KeepOutOf(g).distanceM), 1e-12);

  ScalarGrid saddle;
  saddle.u = {1, 0, 0};
  saddle.v = {0, 1, 0};
  saddle.nu = saddle.nv = 2;
  // Stored j * nu + i: (0,0) and (1,1) above, (1,0) and (0,1) below.
  saddle.values = {4, 0.5, 0.5, 4};
  EXPECT_EQ(ContourOf(saddle).size(), 2u);
}

TEST(ColumnMeanTest, ExactForCubicsWithAnEvenNumberOfSteps) {
  // z^3 over 0..2 m at 0.25 m: mean (1/2) * 2^4 / 4 = 2.
  double cubic[9];
  for (int k = 0; k < 9; ++k) cubic[k] = std::pow(0.25 * k, 3);
  EXPECT_NEAR(ColumnMean(cubic, 9), 2.0, 1e-12);
  // 3 steps: trapezoids, exact for straight lines.
  const double line[4] = {1, 2, 3, 4};
  EXPECT_NEAR(ColumnMean(line, 4), 2.5, 1e-12);
  const double one[1] = {7};
  EXPECT_EQ(ColumnMean(one, 1), 7);
}

}  // namespace
}  // namespace korrin::nearfield
