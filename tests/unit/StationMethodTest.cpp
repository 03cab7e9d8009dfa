// The steps of a station's evaluation as functions of plain values, against
// figures worked by hand: the time fraction of a cycle, the feed line's
// loss with a mismatch, OET 65's aperture equations, the frequencies a band
// is evaluated at, the limits on the cautious side of a breakpoint, and the
// keep-out circle at a height.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

#include "assess/StationMethod.h"
#include "core/Calc.h"

namespace korrin::assess {
namespace {

double D(Real v) {
  return static_cast<double>(v);
}

// ---- step 3: the time fraction ----

struct FractionCase {
  const char* name;
  std::optional<Cycle> cycle;
  Real minutes;
  Real fraction;
};

class TimeFractionTest : public ::testing::TestWithParam<FractionCase> {};

TEST_P(TimeFractionTest, WorstWindowStartsWithATransmission) {
  const FractionCase& c = GetParam();
  EXPECT_NEAR(D(TimeFraction(c.cycle, c.minutes)), D(c.fraction), 1e-12) << c.name;
}

// n = floor(T / (a + b)), r = T - n (a + b), fraction = (n a + min(a, r)) / T.
INSTANTIATE_TEST_SUITE_P(
    Cycles, TimeFractionTest,
    ::testing::Values(
        // 5 on / 5 off: over 6 min n = 0, r = 6: 5/6; over 30 min n = 3: 15/30
        FractionCase{"5/5 over 6", Cycle{5, 5}, 6, 5.0L / 6.0L},
        FractionCase{"5/5 over 30", Cycle{5, 5}, 30, 0.5L},
        // 2 on / 3 off: over 6 min n = 1, r = 1: (2 + 1)/6; over 30 n = 6: 12/30
        FractionCase{"2/3 over 6", Cycle{2, 3}, 6, 0.5L},
        FractionCase{"2/3 over 30", Cycle{2, 3}, 30, 0.4L},
        // 40 on / 5 off over 30: the window lies inside one transmission
        FractionCase{"40/5 over 30", Cycle{40, 5}, 30, 1.0L},
        // FT8's 15 s / 15 s: 60 whole cycles in 30 min
        FractionCase{"15 s/15 s over 30", Cycle{0.25L, 0.25L}, 30, 0.5L},
        // 3 on / 7 off over 30: n = 3, r = 0: 9/30
        FractionCase{"3/7 over 30", Cycle{3, 7}, 30, 0.3L},
        // 4 on / 1 off over 6: n = 1, r = 1: (4 + 1)/6
        FractionCase{"4/1 over 6", Cycle{4, 1}, 6, 5.0L / 6.0L},
        FractionCase{"no cycle", std::nullopt, 30, 1.0L},
        FractionCase{"never off", Cycle{2, 0}, 6, 1.0L}));

// ---- step 1: the feed line ----

struct LossCase {
  const char* name;
  FeedLineLoss line;
  std::optional<Real> lossDb;  // empty: refused
};

class FeedLineTest : public ::testing::TestWithParam<LossCase> {};

TEST_P(FeedLineTest, LossWithMismatch) {
  const LossCase& c = GetParam();
  const std::optional<Real> loss = FeedLineLossDb(c.line);
  ASSERT_EQ(loss.has_value(), c.lossDb.has_value()) << c.name;
  if (loss) {
    EXPECT_NEAR(D(*loss), D(*c.lossDb), 5e-4) << c.name;
  }
}

FeedLineLoss Line(Real matched, Real extra, std::optional<Real> swr,
                  station::SwrAt at = station::SwrAt::Antenna) {
  FeedLineLoss l;
  l.matchedLossDb = matched;
  l.extraLossDb = extra;
  l.swr = swr;
  l.swrAt = at;
  return l;
}

// Gamma = (s-1)/(s+1), a = 10^(L/10), loss = 10 log10((a^2 - Gamma^2) / (a (1 - Gamma^2))).
INSTANTIATE_TEST_SUITE_P(
    Lines, FeedLineTest,
    ::testing::Values(
        LossCase{"matched", Line(1.2L, 0.3L, std::nullopt), 1.5L},
        LossCase{"SWR 1 is matched", Line(2.0L, 0, 1.0L), 2.0L},
        // Gamma = 1/3, a = 1.258925: (1.584893 - 0.111111) / (1.258925 * 0.888889) = 1.317000
        LossCase{"SWR 2.0 on 1.0 dB", Line(1.0L, 0, 2.0L), 1.196L},
        // Gamma = 0.5, a = 1.995262: (3.981072 - 0.25) / (1.995262 * 0.75) = 2.493287
        LossCase{"SWR 3.0 on 3.0 dB", Line(3.0L, 0, 3.0L), 3.968L},
        LossCase{"extra loss adds after the mismatch", Line(3.0L, 0.5L, 3.0L), 4.468L},
        // At the transmitter: Gamma_tx = 0.2, Gamma = 0.2 * 1.995262 = 0.399052
        LossCase{"SWR 1.5 at the transmitter on 3 dB",
                 Line(3.0L, 0, 1.5L, station::SwrAt::Transmitter), 3.576L},
        // Gamma_tx = 0.6 on 3 dB would need Gamma = 1.197 at the antenna
        LossCase{"SWR 4 at the transmitter on 3 dB",
                 Line(3.0L, 0, 4.0L, station::SwrAt::Transmitter), std::nullopt}));

// ---- step 7: OET 65's aperture equations on the 3.0 m dish at 1296 MHz ----

// The dish of the worked example: D = 3.0 m, e = 0.55, lambda = 299.792458 /
// 1296 = 0.231321 m, 400 W CW at 40 %: 160 W average, no feed line.
const DishAperture kDish{3.0L, 0.55L};
const Real kLambda = WavelengthM(1296.0L);
constexpr Real kAveragePowerW = 160.0L;

TEST(ApertureTest, RegionsAndGainOfTheWorkedDish) {
  // G = 0.55 (pi 3.0 / 0.231321)^2 = 913.0, 29.60 dBi
  EXPECT_NEAR(D(DishGainRatio(kDish, kLambda)), 913.0, 0.05);
  const ApertureRegions r = ApertureRegionsOf(kDish, kLambda, kAveragePowerW);
  EXPECT_NEAR(D(r.nearFieldWm2), 49.80, 0.005);    // 16 * 0.55 * 160 / (pi 9)
  EXPECT_NEAR(D(r.nearFieldEndM), 9.7267, 5e-5);   // 9 / (4 lambda)
  EXPECT_NEAR(D(r.farFieldStartM), 23.34, 0.005);  // 0.6 * 9 / lambda
}

struct ApertureCase {
  const char* name;
  Real limitWm2;
  Real keepOutM;
  Real tolerance;
};

class ApertureKeepOutTest : public ::testing::TestWithParam<ApertureCase> {};

TEST_P(ApertureKeepOutTest, OutermostCrossing) {
  const ApertureCase& c = GetParam();
  const Real k = ApertureKeepOutM(kDish, kLambda, kAveragePowerW, c.limitWm2);
  EXPECT_NEAR(D(k), D(c.keepOutM), D(c.tolerance)) << c.name;
  // The density just beyond the keep-out distance is at most the limit,
  // and just inside it above (unless never above).
  if (k > 0) {
    EXPECT_LE(D(ApertureDensityWm2(kDish, kLambda, kAveragePowerW, k * 1.0001L)), D(c.limitWm2))
        << c.name;
    EXPECT_GT(D(ApertureDensityWm2(kDish, kLambda, kAveragePowerW, k * 0.9999L)), D(c.limitWm2))
        << c.name;
  }
}

const ApertureRegions kRegions = ApertureRegionsOf(kDish, kLambda, kAveragePowerW);
// The far-field density at the far-field start, and the transition
// density just inside it (a small step between the two).
const Real kFarFieldAtStart =
    kAveragePowerW * DishGainRatio(kDish, kLambda) /
    (4.0L * std::numbers::pi_v<Real> * kRegions.farFieldStartM * kRegions.farFieldStartM);
const Real kTransitionAtEnd =
    kRegions.nearFieldWm2 * kRegions.nearFieldEndM / kRegions.farFieldStartM;

INSTANTIATE_TEST_SUITE_P(
    Limits, ApertureKeepOutTest,
    ::testing::Values(
        // FCC general population at 1296 MHz: 8.64 W/m^2; far field:
        // sqrt(160 * 913.0 / (4 pi 8.64)) = 36.68 m, beyond 23.34 m
        ApertureCase{"far field", 8.64L, 36.68L, 0.005L},
        // FCC occupational: 43.2 W/m^2 below 49.80: transition region,
        // 49.80 * 9.726 / 43.2 = 11.21 m
        ApertureCase{"transition", 43.2L, 11.21L, 0.005L},
        // Between the transition density just inside the far-field start
        // (20.75 W/m^2) and the far-field density there (21.33, higher by
        // 2.8 %): the density dips below the limit just inside the start,
        // and the outermost crossing is the far field's, just beyond it
        ApertureCase{"gap inside the far-field start", (kFarFieldAtStart + kTransitionAtEnd) / 2.0L,
                     kRegions.farFieldStartM* std::sqrt(2.0L * kFarFieldAtStart /
                                                        (kFarFieldAtStart + kTransitionAtEnd)),
                     1e-9L},
        ApertureCase{"never above", 50.0L, 0.0L, 0.0L}));

TEST(ApertureTest, CalculatorModelCrossesWhereTheWindowsScanFindsIt) {
  // The calculator's own scan steps inwards by 0.0001 of its far-field
  // boundary (2 D^2 / lambda); its outer edge and the solved crossing agree
  // within that step.
  StationState s{};
  s.DishSelected = true;
  s.DishDiameterCopyCm = 300;
  s.DishEfficiency = 0.55L;
  s.WavelengthM = kLambda;
  s.FeedPowerW = kAveragePowerW;
  s.OverallDutyFactor = 1;
  s.StandardVariable = true;
  s.RadiationLimit = 43.2L;
  DishBranch(s);
  ASSERT_GT(s.FirstZoneOuter, 0.0L);  // the scan found a range above the limit
  ASSERT_LT(s.FirstZoneOuter, 1.0L);
  const Real solved = CalculatorKeepOutM(kDish, kLambda, kAveragePowerW, 43.2L);
  EXPECT_NEAR(D(solved), D(s.FirstZoneOuter * s.FarFieldBoundaryM), D(2e-4L * s.FarFieldBoundaryM));
}

// A limit the model's density meets at a known fraction delta of the
// boundary on its rising stretch (between the near field's highest peak and
// the boundary) is crossed there and nowhere farther: the solved crossing
// lands on delta to the last few digits, over the whole stretch.
TEST(ApertureTest, CalculatorModelCrossingOverTheRisingStretch) {
  const std::shared_ptr<const StationState> model =
      CalculatorDishModel(kDish, kLambda, kAveragePowerW);
  const Real boundary = model->FarFieldBoundaryM;
  // The highest peak, to a thousandth of the boundary.
  Real peak = 1;
  for (Real d = 1; d > 0.05L; d -= 0.001L) {
    if (NearFieldFactorAt(d) > NearFieldFactorAt(peak)) peak = d;
  }
  int checked = 0;
  for (Real delta = peak + 0.01L; delta < 0.9995L; delta += 0.0173L) {
    const Real limit = model->FarFieldDensityWm2 * NearFieldFactorAt(delta);
    const Real solved = CalculatorKeepOutM(kDish, kLambda, kAveragePowerW, limit);
    EXPECT_NEAR(D(solved / boundary), D(delta), 1e-12) << "delta " << D(delta);
    ++checked;
  }
  EXPECT_GT(checked, 20);
}

// ---- step 9: the frequencies of a band ----

TEST(CandidateFrequenciesTest, EdgesAndBreakpointsInside) {
  const std::vector<CandidateFrequency> c =
      CandidateFrequencies(25.0L, 35.0L, {0.3L, 1.34L, 30.0L, 300.0L, 35.0L});
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(D(c[0].frequencyMHz), 25.0);
  EXPECT_EQ(c[0].reason, FrequencyReason::LowerEdge);
  EXPECT_EQ(D(c[1].frequencyMHz), 30.0);
  EXPECT_EQ(c[1].reason, FrequencyReason::Breakpoint);
  EXPECT_EQ(D(c[2].frequencyMHz), 35.0);  // a breakpoint on the edge is the edge, once
  EXPECT_EQ(c[2].reason, FrequencyReason::UpperEdge);

  const std::vector<CandidateFrequency> one = CandidateFrequencies(14.2L, 14.2L, {30.0L});
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].reason, FrequencyReason::Given);
}

TEST(PeakInsideTest, FindsAnInteriorMaximumAndOnlyThen) {
  // ln R^2 = 2 ln f - 0.2303 c f peaks at f = 2 / (0.2303 c): 3.75 MHz for
  // c = 2.316 dB/MHz.
  const Real c = 2.0L / (0.1L * std::log(10.0L) * 3.75L);
  const auto r = [c](Real f) { return f * std::pow(10.0L, -c * f / 20.0L); };
  const std::optional<Real> peak = PeakInside(3.5L, 4.0L, r);
  ASSERT_TRUE(peak.has_value());
  EXPECT_NEAR(D(*peak), 3.75, 1e-6);
  // Rising throughout, or falling throughout: the largest is at an end.
  EXPECT_FALSE(PeakInside(3.5L, 3.7L, r).has_value());
  EXPECT_FALSE(PeakInside(3.8L, 4.0L, r).has_value());
}

// ---- limits on the cautious side of a breakpoint ----

struct CautiousCase {
  LimitSet set;
  Real frequencyMHz;
  std::optional<Real> limitWm2;
  Real tolerance;
};

class CautiousLimitTest : public ::testing::TestWithParam<CautiousCase> {};

TEST_P(CautiousLimitTest, LowerPieceAtTheBreakpoint) {
  const CautiousCase& c = GetParam();
  const std::optional<Real> limit = CautiousLimitWm2(c.set, c.frequencyMHz);
  ASSERT_EQ(limit.has_value(), c.limitWm2.has_value())
      << LimitSetId(c.set) << " at " << D(c.frequencyMHz);
  if (limit) {
    EXPECT_NEAR(D(*limit), D(*c.limitWm2), D(c.tolerance))
        << LimitSetId(c.set) << " at " << D(c.frequencyMHz);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Breakpoints, CautiousLimitTest,
    ::testing::Values(
        // FCC general: 1000 W/m^2 below 1.34 MHz, 1800 / 1.34^2 = 1002.4 from it
        CautiousCase{LimitSet::FccGeneral, 1.34L, 1000.0L, 1e-9L},
        CautiousCase{LimitSet::FccGeneral, 1.35L, 1800.0L / (1.35L * 1.35L), 1e-9L},
        CautiousCase{LimitSet::FccGeneral, 0.3L, 1000.0L, 1e-9L},  // the range's start
        // ICNIRP 2020 at 30 MHz: (300 / 30^0.7)^2 / 377 = 2.0414 meets 2
        CautiousCase{LimitSet::Icnirp2020, 30.0L, 2.0L, 1e-9L},
        // occupational: (660 / 30^0.7)^2 / 377 = 9.8805 meets 10
        CautiousCase{LimitSet::Icnirp2020Occupational, 30.0L, 9.8805L, 5e-5L},
        // FCC general at 30 MHz: 1800 / 900 = 2 on both sides
        CautiousCase{LimitSet::FccGeneral, 30.0L, 2.0L, 1e-9L},
        CautiousCase{LimitSet::FccGeneral, 0.2999L, std::nullopt, 0}));

TEST(CautiousThresholdTest, LowerPieceAtTheBreakpoint) {
  // 1920 W/m^2 below 1.34 MHz, 3450 / 1.34^2 = 1921.4 from it; 3.83 below
  // 300 MHz, 0.0128 * 300 = 3.84 from it.
  EXPECT_NEAR(D(*CautiousThresholdPerSquareMetre(1.34L)), 1920.0, 1e-9);
  EXPECT_NEAR(D(*CautiousThresholdPerSquareMetre(300.0L)), 3.83, 1e-12);
  EXPECT_NEAR(D(*CautiousThresholdPerSquareMetre(30.0L)), 3.83, 1e-12);  // 3450 / 900 = 3.833
  EXPECT_FALSE(CautiousThresholdPerSquareMetre(100000.0L).has_value());
}

TEST(NerveStimulationTest, PlaneWaveLevelsFromPointOneToTenMegahertz) {
  // 83^2 / 377 = 18.27 W/m^2, 170^2 / 377 = 76.66 W/m^2
  for (Real f : {0.1L, 4.0L, 10.0L}) {
    EXPECT_NEAR(D(*NerveStimulationLimitWm2(Tier::General, f)), 18.273, 5e-4) << D(f);
    EXPECT_NEAR(D(*NerveStimulationLimitWm2(Tier::Occupational, f)), 76.658, 5e-4) << D(f);
  }
  EXPECT_FALSE(NerveStimulationLimitWm2(Tier::General, 0.0999L).has_value());
  EXPECT_FALSE(NerveStimulationLimitWm2(Tier::General, 10.01L).has_value());
}

// ---- step 12: the keep-out circle at a height ----

struct CircleCase {
  Real keepOutM;
  Real antennaHeightM;
  Real heightM;
  std::optional<Real> radiusM;
};

class KeepOutCircleTest : public ::testing::TestWithParam<CircleCase> {};

TEST_P(KeepOutCircleTest, SphereCutAtTheHeight) {
  const CircleCase& c = GetParam();
  const std::optional<Real> r = KeepOutCircleRadiusM(c.keepOutM, c.antennaHeightM, c.heightM);
  ASSERT_EQ(r.has_value(), c.radiusM.has_value()) << D(c.keepOutM);
  if (r) {
    EXPECT_NEAR(D(*r), D(*c.radiusM), 1e-12) << D(c.keepOutM);
  }
}

INSTANTIATE_TEST_SUITE_P(Heights, KeepOutCircleTest,
                         ::testing::Values(CircleCase{10, 10, 2, 6},  // sqrt(100 - 64)
                                           CircleCase{5, 10, 2, std::nullopt},
                                           CircleCase{8, 10, 2, std::nullopt},  // just touches
                                           CircleCase{3, 2, 2, 3},
                                           CircleCase{5, 0, 3, 4}));  // below the height

// ---- the breakpoints each set exposes are where its curve changes ----

// Between two breakpoints a set's limit is one power of f: the log-log
// slope is the same throughout; across each inner breakpoint it or the
// value changes.  This ties the lists of breakpoints to the formulas.
TEST(LimitBreakpointsTest, EachListedBreakpointChangesTheCurveAndNoOtherDoes) {
  struct Curve {
    const char* name;
    std::vector<Real> breaks;
    std::function<Real(Real)> value;
  };
  std::vector<Curve> curves;
  for (LimitSet set : {LimitSet::FccGeneral, LimitSet::FccOccupational, LimitSet::Icnirp2020,
                       LimitSet::Icnirp2020Occupational}) {
    curves.push_back({LimitSetId(set), LimitBreakpointsMHz(set),
                      [set](Real f) { return *LimitAtFrequency(set, f); }});
  }
  curves.push_back({"fcc-threshold", FccThresholdBreakpointsMHz(),
                    [](Real f) { return *FccThresholdErpW(f, 1.0L); }});
  const auto slope = [](const Curve& c, Real a, Real b) {
    return std::log(c.value(b) / c.value(a)) / std::log(b / a);
  };
  for (const Curve& c : curves) {
    ASSERT_GE(c.breaks.size(), 2u) << c.name;
    std::vector<Real> slopes;
    for (size_t i = 0; i + 1 < c.breaks.size(); ++i) {
      const Real a = c.breaks[i];
      const Real b = std::nextafter(c.breaks[i + 1], a);
      const Real s = slope(c, a, b);
      for (Real t : {0.1L, 0.37L, 0.8L}) {  // the same power inside the stretch
        const Real m = a * std::pow(b / a, t);
        EXPECT_NEAR(D(slope(c, a, m)), D(s), 1e-9) << c.name << " from " << D(a);
      }
      slopes.push_back(s);
    }
    for (size_t i = 1; i + 1 < c.breaks.size(); ++i) {
      const Real f = c.breaks[i];
      const bool valueJumps =
          std::fabs(c.value(f) / c.value(std::nextafter(f, 0.0L)) - 1.0L) > 1e-6L;
      EXPECT_TRUE(valueJumps || std::fabs(slopes[i] - slopes[i - 1]) > 1e-6L)
          << c.name << " at " << D(f);
    }
  }
}

}  // namespace
}  // namespace korrin::assess
