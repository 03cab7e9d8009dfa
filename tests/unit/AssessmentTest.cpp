// The assessment's figures: the FCC exemption test worked by hand, the
// keep-out distance against the density profile's crossings, head-height
// clearance, frequencies outside a set's range, and the warnings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "assess/Assessment.h"
#include "assess/StationEvaluation.h"
#include "station/FromCalculator.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::assess {
namespace {

void Power(TForm1& f, int thousands, int hundreds) {
  f.Board()["RadioGroup4"].itemIndex = thousands;
  f.Board()["RadioGroup5"].itemIndex = hundreds;
  f.RadioGroup4Click();
  f.RadioGroup5Click();
}

void Band(TForm1& f, int item) {
  f.Board()["RadioGroup1"].itemIndex = item;
  f.RadioGroup1Click();
}

// Carrier, averaged conversationally: an overall transmission factor of 100 %.
void FullTransmission(TForm1& f) {
  f.Board()["RadioGroup2"].itemIndex = 6;
  f.RadioGroup2Click();
  f.Board()["RadioGroup3"].itemIndex = 0;
  f.RadioGroup3Click();
}

void Tower(TForm1& f, int metres) {
  f.Board()["TrackBar1"].position = 30 - metres;
  f.TrackBar1Change();
}

class Station {
 public:
  explicit Station(const std::function<void(TForm1&)>& setUp) {
    form.FormActivate();
    setUp(form);
  }
  HeadlessPlatform platform;
  TForm1 form{platform};
};

// ---- the FCC exemption, worked from the formulas by hand ----
//
// The exemption is the station evaluation's: over the band of the
// calculator's band point, with the 30-minute ERP (the averaging pattern as
// a cycle) and the gain over the 1.64 of a half-wave dipole.

struct ExemptionCase {
  const char* name;
  std::function<void(TForm1&)> setUp;
  long double frequencyMHz;  // where the minimum exempt distance is largest
  FrequencyReason reason;
  long double erpW;
  long double erpTolerance;  // half the worked value's last digit
  long double reactiveM;
  long double thresholdM;
  long double minimumM;
};

class ExemptionTest : public ::testing::TestWithParam<ExemptionCase> {};

TEST_P(ExemptionTest, WorkedFigures) {
  const ExemptionCase& c = GetParam();
  Station st(c.setUp);
  const Assessment a = Assess(st.form.State());
  ASSERT_TRUE(a.fccExemption.has_value());
  const FccExemption& e = *a.fccExemption;
  constexpr double kCentimetre = 0.005;  // the worked distances are given to 0.01 m
  EXPECT_EQ(e.frequencyMHz, c.frequencyMHz);
  EXPECT_EQ(e.frequencyReason, c.reason);
  EXPECT_NEAR(static_cast<double>(e.erpW), static_cast<double>(c.erpW),
              static_cast<double>(c.erpTolerance));
  EXPECT_NEAR(static_cast<double>(e.reactiveNearFieldM), static_cast<double>(c.reactiveM),
              kCentimetre);
  EXPECT_NEAR(static_cast<double>(e.thresholdDistanceM), static_cast<double>(c.thresholdM),
              kCentimetre);
  EXPECT_NEAR(static_cast<double>(e.minimumDistanceM), static_cast<double>(c.minimumM),
              kCentimetre);
  EXPECT_EQ(e.minimumDistanceM, std::max(e.reactiveNearFieldM, e.thresholdDistanceM));
  EXPECT_FALSE(e.distanceM.has_value());
  EXPECT_FALSE(e.exempt.has_value());

  // Verdicts just either side of the minimum distance (a millimetre each way).
  const auto exemptAt = [&](long double metres) {
    Options o;
    o.distanceM = metres;
    const Assessment at = Assess(st.form.State(), o);
    EXPECT_EQ(*at.fccExemption->distanceM, metres);
    return *at.fccExemption->exempt;
  };
  EXPECT_FALSE(exemptAt(e.minimumDistanceM - 0.001L));
  EXPECT_TRUE(exemptAt(e.minimumDistanceM + 0.001L));
  EXPECT_TRUE(exemptAt(10 * e.minimumDistanceM));
}

INSTANTIATE_TEST_SUITE_P(
    Stations, ExemptionTest,
    ::testing::Values(
        // 1500 W less 1.0 dB = 1191.49 W, CW 40 %, EME 2 1/2 minutes as 2.5 on /
        // 2.5 off (15 of 30 minutes), 9.5 m dish at 0.55 over 420-450 MHz: at
        // 450 MHz G = 0.55 (pi 9.5 / 0.66621)^2 = 1103.81, ERP = 1191.49 x 0.2 x
        // 1103.81 / 1.64 = 160388 W; threshold 0.0128 f R^2 gives R = 166.87 m.
        ExemptionCase{"StartUp", [](TForm1&) {}, 450.0L, FrequencyReason::UpperEdge, 160388.0L,
                      5.0L, 0.11L, 166.87L, 166.87L},
        // 14.2 MHz stands for 14.0-14.35 MHz; half-wave dipole 2.15 dBi: ERP =
        // 1500 x 0.2 x 1.64059 / 1.64 = 300.11 W; 3450 R^2 / f^2 at 14.35 MHz
        // gives R = 4.23 m, beyond lambda / 2 pi = 3.32 m there.
        ExemptionCase{"HfSide", [](TForm1& f) { f.HF_SelectClick(); }, 14.35L,
                      FrequencyReason::UpperEdge, 300.11L, 0.005L, 3.32L, 4.23L, 4.23L},
        // 100 W carrier, conversational: ERP 100.04 W, R = 2.38 m at 14.0 MHz,
        // where lambda / 2 pi = 3.41 m is the larger of the band's minimum
        // distances (3.32 m at 14.35 MHz).
        ExemptionCase{"HfSide100WFullTransmission",
                      [](TForm1& f) {
                        f.HF_SelectClick();
                        Power(f, 0, 1);
                        FullTransmission(f);
                      },
                      14.0L, FrequencyReason::LowerEdge, 100.04L, 0.005L, 3.41L, 2.38L, 3.41L}),
    [](const ::testing::TestParamInfo<ExemptionCase>& info) { return info.param.name; });

TEST(ExemptionGroundReflection, IsLeftOutOfTheErp) {
  Station plain([](TForm1& f) { f.HF_SelectClick(); });
  Station reflected([](TForm1& f) {
    f.HF_SelectClick();
    f.GroundGainSelectClick();
  });
  EXPECT_EQ(Assess(plain.form.State()).fccExemption->erpW,
            Assess(reflected.form.State()).fccExemption->erpW);
  // while the keep-out distances count it, the evaluation's and the window's
  for (LimitSet set : {LimitSet::FccGeneral, LimitSet::CalculatorFcc}) {
    EXPECT_GT(*Assess(reflected.form.State()).Find(set)->keepOutM,
              *Assess(plain.form.State()).Find(set)->keepOutM)
        << LimitSetId(set);
  }
}

TEST(ExemptionZeroPower, NeedsOnlyTheReactiveNearField) {
  Station st([](TForm1& f) { Power(f, 0, 0); });
  const Assessment a = Assess(st.form.State());
  EXPECT_EQ(a.fccExemption->erpW, 0);
  // lambda / 2 pi is largest at the band's lower edge: 299.792458 / 420 / 2 pi
  EXPECT_EQ(a.fccExemption->frequencyMHz, 420.0L);
  EXPECT_NEAR(static_cast<double>(a.fccExemption->minimumDistanceM), 0.113603, 1e-6);
  for (const LimitEntry& e : a.limits) EXPECT_EQ(*e.keepOutM, 0) << LimitSetId(e.set);
}

// ---- today's rules, worked by the station evaluation's method ----
//
// Each by hand: the power at the antenna times the mode's duty and the
// cycle's fraction of the tier's time, the 2.15 dBi dipole (1.64059), the
// ground counted once (2.56), at the band edge where the keep-out distance
// R = sqrt(F P G / (4 pi S)) is largest.

struct TodayCase {
  const char* name;
  std::function<void(TForm1&)> setUp;
  LimitSet set;
  long double frequencyMHz;
  FrequencyReason reason;
  Criterion criterion;
  long double limitWm2;  // to 0.001 W/m^2
  long double keepOutM;  // to 0.0005 m
};

class TodaysRulesTest : public ::testing::TestWithParam<TodayCase> {};

TEST_P(TodaysRulesTest, WorkedFigures) {
  const TodayCase& c = GetParam();
  Station st(c.setUp);
  const Assessment a = Assess(st.form.State());
  const LimitEntry* e = a.Find(c.set);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->source, EntrySource::Evaluation);
  EXPECT_FALSE(e->selected);
  ASSERT_TRUE(e->applies);
  EXPECT_EQ(*e->frequencyMHz, c.frequencyMHz);
  EXPECT_EQ(e->frequencyReason, c.reason);
  EXPECT_EQ(e->criterion, c.criterion);
  EXPECT_NEAR(static_cast<double>(*e->limitWm2), static_cast<double>(c.limitWm2), 0.0005);
  EXPECT_NEAR(static_cast<double>(*e->keepOutM), static_cast<double>(c.keepOutM), 0.0005);
}

void HfDipoleGround(TForm1& f) {
  f.HF_SelectClick();
  f.GroundGainSelectClick();
}

// 100 W of CW (40 %), conversational: no cycle.
void HfCw100W(TForm1& f, int band) {
  HfDipoleGround(f);
  f.Board()["RadioGroup8"].itemIndex = band;
  f.RadioGroup8Click();
  Power(f, 0, 1);
  f.Board()["RadioGroup3"].itemIndex = 0;
  f.RadioGroup3Click();
}

INSTANTIATE_TEST_SUITE_P(
    Stations, TodaysRulesTest,
    ::testing::Values(
        // 1500 W, CW, 2.5 on / 2.5 off: 300 W over 30 minutes, 350 W over 6.
        TodayCase{"HfFccGeneral", [](TForm1& f) { f.HF_SelectClick(); }, LimitSet::FccGeneral,
                  14.35L, FrequencyReason::UpperEdge, Criterion::TimeAveraged, 8.741L, 2.1168L},
        TodayCase{"HfFccOccupational", [](TForm1& f) { f.HF_SelectClick(); },
                  LimitSet::FccOccupational, 14.35L, FrequencyReason::UpperEdge,
                  Criterion::TimeAveraged, 43.706L, 1.0225L},
        TodayCase{"HfIcnirpGeneral", [](TForm1& f) { f.HF_SelectClick(); }, LimitSet::Icnirp2020,
                  14.35L, FrequencyReason::UpperEdge, Criterion::TimeAveraged, 5.732L, 2.6140L},
        TodayCase{"HfIcnirpOccupational", [](TForm1& f) { f.HF_SelectClick(); },
                  LimitSet::Icnirp2020Occupational, 14.35L, FrequencyReason::UpperEdge,
                  Criterion::TimeAveraged, 27.743L, 1.1882L},
        TodayCase{"HfGroundFccGeneral", HfDipoleGround, LimitSet::FccGeneral, 14.35L,
                  FrequencyReason::UpperEdge, Criterion::TimeAveraged, 8.741L, 3.3868L},
        TodayCase{"HfGroundIcnirpOccupational", HfDipoleGround, LimitSet::Icnirp2020Occupational,
                  14.35L, FrequencyReason::UpperEdge, Criterion::TimeAveraged, 27.743L, 1.9011L},
        // 20 m, 100 W CW: 40 W on average.
        TodayCase{"Hf100WFccGeneral", [](TForm1& f) { HfCw100W(f, 4); }, LimitSet::FccGeneral,
                  14.35L, FrequencyReason::UpperEdge, Criterion::TimeAveraged, 8.741L, 1.2367L},
        TodayCase{"Hf100WIcnirpGeneral", [](TForm1& f) { HfCw100W(f, 4); }, LimitSet::Icnirp2020,
                  14.35L, FrequencyReason::UpperEdge, Criterion::TimeAveraged, 5.732L, 1.5272L},
        // 80 m (3.5-4.0 MHz), 100 W CW: FCC at 4.0 MHz; ICNIRP's nerve-
        // stimulation levels (83 and 170 V/m) on the 100 W peak govern.
        TodayCase{"Hf80mFccGeneral", [](TForm1& f) { HfCw100W(f, 1); }, LimitSet::FccGeneral, 4.0L,
                  FrequencyReason::UpperEdge, Criterion::TimeAveraged, 112.5L, 0.3447L},
        TodayCase{"Hf80mIcnirpGeneral", [](TForm1& f) { HfCw100W(f, 1); }, LimitSet::Icnirp2020,
                  3.5L, FrequencyReason::LowerEdge, Criterion::Instantaneous, 18.273L, 1.3524L},
        TodayCase{"Hf80mIcnirpOccupational", [](TForm1& f) { HfCw100W(f, 1); },
                  LimitSet::Icnirp2020Occupational, 3.5L, FrequencyReason::LowerEdge,
                  Criterion::Instantaneous, 76.658L, 0.6603L},
        // The start-up dish at 450 MHz: G = 1103.81, 238.30 W over 30 minutes;
        // beyond OET 65's far-field start 0.6 D^2 / lambda = 81.28 m.
        TodayCase{"DishFccGeneral", [](TForm1&) {}, LimitSet::FccGeneral, 450.0L,
                  FrequencyReason::UpperEdge, Criterion::TimeAveraged, 3.0L, 83.530L},
        TodayCase{"DishIcnirpGeneral", [](TForm1&) {}, LimitSet::Icnirp2020, 450.0L,
                  FrequencyReason::UpperEdge, Criterion::TimeAveraged, 2.25L, 96.452L}),
    [](const ::testing::TestParamInfo<TodayCase>& info) { return info.param.name; });

// ---- keep-out distance against the profile ----

struct KeepOutCase {
  const char* name;
  std::function<void(TForm1&)> setUp;
};

class KeepOutTest : public ::testing::TestWithParam<KeepOutCase> {};

TEST_P(KeepOutTest, IsTheProfilesOutermostCrossing) {
  Station st(GetParam().setUp);
  const StationState& s = st.form.State();
  const Assessment a = Assess(s);
  ASSERT_FALSE(a.profile.empty());
  EXPECT_TRUE(std::is_sorted(
      a.profile.begin(), a.profile.end(),
      [](const DensityPoint& p, const DensityPoint& q) { return p.distanceM < q.distanceM; }));
  int crossingsSeen = 0;
  for (const LimitEntry& e : a.limits) {
    SCOPED_TRACE(LimitSetId(e.set));
    ASSERT_TRUE(e.applies);
    if (e.source == EntrySource::Evaluation) {
      // The evaluation's own density, at the frequency and under the
      // criterion of its figures: above the limit out to the keep-out
      // distance, and nowhere beyond.
      ASSERT_FALSE(e.profile.empty());
      EXPECT_FALSE(e.zone.has_value());
      EXPECT_TRUE(e.rangesM.empty());
      EXPECT_GT(e.profile.back().distanceM, 2 * *e.keepOutM);
      Real outermost = 0;
      for (const DensityPoint& p : e.profile) {
        if (p.densityWm2 > *e.limitWm2) outermost = p.distanceM;
      }
      EXPECT_LE(outermost, *e.keepOutM);
      EXPECT_NEAR(static_cast<double>(outermost), static_cast<double>(*e.keepOutM),
                  1e-3 * static_cast<double>(*e.keepOutM));
      continue;
    }
    const Real limit = *e.limitWm2;
    const Real crossing = *e.crossingM;
    EXPECT_GE(*e.keepOutM, crossing);
    EXPECT_GE(*e.keepOutM, e.zone->LargestShownM());
    EXPECT_EQ(*e.keepOutM, std::max(crossing, e.zone->LargestShownM()));
    EXPECT_GT(a.profile.back().distanceM, 2 * *e.keepOutM);

    // The outermost profile point above the limit.
    Real outermost = 0;
    for (const DensityPoint& p : a.profile) {
      if (p.densityWm2 > limit) outermost = p.distanceM;
    }
    if (crossing == 0) {
      EXPECT_EQ(outermost, 0);
      continue;
    }
    ++crossingsSeen;
    // Within 0.1 % of the exact crossing, and nothing above the limit beyond.
    EXPECT_NEAR(static_cast<double>(outermost), static_cast<double>(crossing),
                1e-3 * static_cast<double>(crossing));
    EXPECT_LE(outermost, crossing);
    // The crossing is solved to the last digits: a part in 10^12 either side
    // changes the density by a few parts in 10^12, far above rounding.
    EXPECT_GT(DensityAlongBeam(s, crossing * (1 - 1e-12L)), limit);
    EXPECT_LE(DensityAlongBeam(s, crossing * (1 + 1e-12L)), limit);
  }
  EXPECT_GT(crossingsSeen, 0);
}

// Closer to a dish than its first near-field sample the profile carries
// the near field's level: the larger of the model's value there and the
// aperture's on-axis maximum, 16 eta P / (pi D^2) of FCC OET Bulletin 65
// (1997), equation 13, from lambda / 2 pi (or closer) in.
class DishNearLevelTest : public ::testing::TestWithParam<KeepOutCase> {};

TEST_P(DishNearLevelTest, FromTheAntennaToTheFirstSample) {
  Station st(GetParam().setUp);
  const StationState& s = st.form.State();
  ASSERT_TRUE(s.DishSelected);
  const Assessment a = Assess(s);
  ASSERT_GE(a.profile.size(), 3u);
  const Real first = 0.005L * s.FarFieldBoundaryM;
  const Real diameterM = s.DishDiameterCopyCm / 100.0L;
  const Real aperture = 16.0L * s.DishEfficiency * s.FeedPowerW * s.OverallDutyFactor /
                        (3.14159265358979323846L * diameterM * diameterM);
  const Real level = std::max(aperture, DensityAlongBeam(s, first));
  EXPECT_LE(a.profile[0].distanceM, a.reactiveNearFieldM);
  EXPECT_LT(a.profile[0].distanceM, first);
  EXPECT_LT(a.profile[1].distanceM, first);
  EXPECT_GT(a.profile[1].distanceM, first * (1 - 1e-4L));
  EXPECT_NEAR(double(a.profile[0].densityWm2), double(level), 1e-12 * double(level));
  EXPECT_EQ(a.profile[1].densityWm2, a.profile[0].densityWm2);
  EXPECT_EQ(a.profile[2].distanceM, first);
}

INSTANTIATE_TEST_SUITE_P(Dishes, DishNearLevelTest,
                         ::testing::Values(KeepOutCase{"StartUp", [](TForm1&) {}},
                                           KeepOutCase{"At2304MHz", [](TForm1& f) { Band(f, 6); }},
                                           KeepOutCase{"At48GHz", [](TForm1& f) { Band(f, 11); }},
                                           KeepOutCase{"OnTheHfSide",
                                                       [](TForm1& f) {
                                                         f.HF_SelectClick();
                                                         f.Panel45Click();
                                                       }}),
                         [](const ::testing::TestParamInfo<KeepOutCase>& info) {
                           return info.param.name;
                         });

INSTANTIATE_TEST_SUITE_P(
    Stations, KeepOutTest,
    ::testing::Values(KeepOutCase{"StartUpDish", [](TForm1&) {}},
                      KeepOutCase{"Dish432TwoRanges", [](TForm1& f) { Power(f, 0, 5); }},
                      KeepOutCase{"Dish1296TwoRanges",
                                  [](TForm1& f) {
                                    Band(f, 5);
                                    Power(f, 1, 0);
                                  }},
                      KeepOutCase{"Dish10GHz", [](TForm1& f) { Band(f, 9); }},
                      KeepOutCase{"Yagi", [](TForm1& f) { f.Panel46Click(); }},
                      KeepOutCase{"HfDipole", [](TForm1& f) { f.HF_SelectClick(); }},
                      KeepOutCase{"HfBeam",
                                  [](TForm1& f) {
                                    f.HF_SelectClick();
                                    f.Panel69Click();
                                  }}),
    [](const ::testing::TestParamInfo<KeepOutCase>& info) { return info.param.name; });

// One engine: the assessment's entries of today's rules and its exemption
// are the station evaluation's figures of the station as a station file,
// so that the program never shows two figures for one station.
TEST_P(KeepOutTest, TodaysRulesAreTheStationEvaluations) {
  Station st(GetParam().setUp);
  Options o;
  o.distanceM = 20.0L;
  const Assessment a = Assess(st.form.State(), o);
  StationState recalculated = st.form.State();
  Recalculate(recalculated);
  const StationEvaluation ev = Evaluate(station::FromCalculator(recalculated));
  ASSERT_EQ(ev.installations.size(), 1u);
  const InstallationResult& r = ev.installations.front();
  EXPECT_EQ(a.band, r.band);
  EXPECT_EQ(a.lowerMHz, r.lowerMHz);
  EXPECT_EQ(a.upperMHz, r.upperMHz);
  int today = 0;
  for (const TierResult& t : r.results) {
    const LimitEntry* e = a.Find(LimitSetFor(t.set, t.tier));
    ASSERT_NE(e, nullptr);
    SCOPED_TRACE(LimitSetId(e->set));
    ++today;
    EXPECT_EQ(e->source, EntrySource::Evaluation);
    EXPECT_EQ(e->averagingMinutes, t.averagingMinutes);
    const CriterionResult* g = t.Governing();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(*e->keepOutM, g->keepOutM);
    EXPECT_EQ(*e->keepOutM, *t.KeepOutM());
    EXPECT_EQ(*e->limitWm2, g->limitWm2);
    EXPECT_EQ(*e->frequencyMHz, g->frequencyMHz);
    EXPECT_EQ(e->frequencyReason, g->reason);
    EXPECT_EQ(e->criterion, g->criterion);
    EXPECT_EQ(*e->model, g->model);
  }
  EXPECT_EQ(today, 4);  // both tiers of FCC and of ICNIRP 2020
  ASSERT_TRUE(r.fccExemption && a.fccExemption);
  EXPECT_EQ(a.fccExemption->frequencyMHz, r.fccExemption->frequencyMHz);
  EXPECT_EQ(a.fccExemption->erpW, r.fccExemption->erpW);
  EXPECT_EQ(a.fccExemption->reactiveNearFieldM, r.fccExemption->reactiveNearFieldM);
  EXPECT_EQ(a.fccExemption->thresholdDistanceM, r.fccExemption->thresholdDistanceM);
  EXPECT_EQ(a.fccExemption->minimumDistanceM, r.fccExemption->minimumDistanceM);
  EXPECT_EQ(*a.fccExemption->exempt, 20.0L >= r.fccExemption->minimumDistanceM);
}

TEST(KeepOutDish1296, CoversTheGapBetweenTheTwoRanges) {
  Station st([](TForm1& f) {
    Band(f, 5);
    Power(f, 1, 0);
  });
  const Assessment a = Assess(st.form.State());
  const LimitEntry* e = a.Find(LimitSet::Arpansa2002);
  ASSERT_EQ(e->rangesM.size(), 2u);
  const RangeM first = e->rangesM[0];
  const RangeM second = e->rangesM[1];
  ASSERT_GT(first.fromM, second.toM);  // a gap the window shows as safe
  EXPECT_GE(*e->keepOutM, first.toM);
  // the model is above the limit right outside the second range's end too
  EXPECT_GT(*e->keepOutM, second.toM);
  // the crossing lies on the rising side of the near field, inside the boundary
  EXPECT_LT(*e->keepOutM, *a.farFieldBoundaryM);
}

// ---- head-height clearance ----

struct HeadCase {
  const char* name;
  int towerM;
  long double headM;
  // expected from the keep-out distance k of the station
  std::function<long double(long double k)> clearance;
};

class HeadClearanceTest : public ::testing::TestWithParam<HeadCase> {};

TEST_P(HeadClearanceTest, FromTheKeepOutDistance) {
  const HeadCase& c = GetParam();
  // HF dipole with ground reflection: keep-out distances of a few metres
  Station st([&](TForm1& f) {
    f.HF_SelectClick();
    f.GroundGainSelectClick();
    Tower(f, c.towerM);
  });
  Options o;
  o.headHeightM = c.headM;
  const Assessment a = Assess(st.form.State(), o);
  EXPECT_EQ(a.headHeightM, c.headM);
  for (const LimitEntry& e : a.limits) {
    SCOPED_TRACE(LimitSetId(e.set));
    ASSERT_TRUE(e.headClearanceM.has_value());
    EXPECT_NEAR(static_cast<double>(*e.headClearanceM),
                static_cast<double>(c.clearance(*e.keepOutM)), 1e-12);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Heights, HeadClearanceTest,
    ::testing::Values(
        // 5 m tower, 4.5 m head: 0.5 m below the antenna
        HeadCase{"AntennaAbove", 5, 4.5L,
                 [](long double k) { return k > 0.5L ? std::sqrt(k * k - 0.25L) : 0.0L; }},
        HeadCase{"AntennaAtHead", 2, 2.0L, [](long double k) { return k; }},
        HeadCase{"AntennaBelowHead", 1, 2.0L, [](long double k) { return k; }},
        HeadCase{"NeverReachesAHead", 30, 2.0L, [](long double) { return 0.0L; }}),
    [](const ::testing::TestParamInfo<HeadCase>& info) { return info.param.name; });

TEST(HeadClearance, ValuesOfTheFirstCase) {
  Station st([](TForm1& f) {
    f.HF_SelectClick();
    f.GroundGainSelectClick();
    Tower(f, 5);
  });
  Options o;
  o.headHeightM = 4.5L;
  const Assessment a = Assess(st.form.State(), o);
  // The window's FCC: keep-out 5.69 m, its zone.
  const LimitEntry* window = a.Find(LimitSet::CalculatorFcc);
  EXPECT_NEAR(static_cast<double>(*window->keepOutM), 5.69, 0.005);
  EXPECT_NEAR(static_cast<double>(*window->headClearanceM), std::sqrt(5.69 * 5.69 - 0.25), 0.005);
  EXPECT_NEAR(static_cast<double>(*window->towerClearanceM), std::sqrt(5.69 * 5.69 - 25), 0.01);
  // FCC general population by the evaluation: 300 W over 30 minutes on the
  // 2.15 dBi dipole, the ground counted once (2.56), 1800 / 14.35^2 W/m^2:
  // 3.39 m, which reaches a head 0.5 m below the antenna but not the ground
  // 5 m below it.
  const LimitEntry* today = a.Find(LimitSet::FccGeneral);
  EXPECT_NEAR(static_cast<double>(*today->keepOutM), 3.387, 0.0005);
  EXPECT_NEAR(static_cast<double>(*today->headClearanceM), std::sqrt(3.387 * 3.387 - 0.25), 0.0005);
  EXPECT_EQ(*today->towerClearanceM, 0);
}

TEST(HeadClearance, OnlyOnTheHfSideWithATower) {
  Station vhf([](TForm1&) {});
  Station noTower([](TForm1& f) {
    f.HF_SelectClick();
    Tower(f, 0);
  });
  for (const Station* st : {&vhf, &noTower}) {
    for (const LimitEntry& e : Assess(st->form.State()).limits) {
      EXPECT_FALSE(e.headClearanceM.has_value()) << LimitSetId(e.set);
      EXPECT_FALSE(e.towerClearanceM.has_value()) << LimitSetId(e.set);
    }
  }
}

// ---- outside a set's frequency range ----

TEST(OutsideTheRange, EveryFigureOfTheSetIsEmpty) {
  Station st([](TForm1& f) { f.HF_SelectClick(); });
  StationState s = st.form.State();
  s.FrequencyMHz = 0.2L;  // below both FCC sets, inside ICNIRP 2020
  Recalculate(s);
  const Assessment a = Assess(s);
  for (LimitSet set : {LimitSet::FccGeneral, LimitSet::FccOccupational, LimitSet::CalculatorFcc}) {
    const LimitEntry* e = a.Find(set);
    SCOPED_TRACE(LimitSetId(set));
    EXPECT_FALSE(e->applies);
    EXPECT_FALSE(e->limitWm2 || e->exclusionM || e->zone || e->keepOutM || e->crossingM ||
                 e->towerClearanceM || e->headClearanceM || e->frequencyMHz || e->model);
    EXPECT_TRUE(e->rangesM.empty());
    EXPECT_TRUE(e->profile.empty());
  }
  // a frequency of no band point is evaluated alone
  EXPECT_FALSE(a.band.has_value());
  // (held as a station file holds it, the nearest double)
  EXPECT_EQ(a.lowerMHz, static_cast<Real>(0.2));
  EXPECT_EQ(a.upperMHz, static_cast<Real>(0.2));
  EXPECT_EQ(a.Find(LimitSet::Icnirp2020)->frequencyReason, FrequencyReason::Given);
  // and is no difference between the two models
  for (const std::string& w : a.warnings) EXPECT_EQ(w.find("not at 0.2 MHz"), std::string::npos);
  EXPECT_TRUE(a.Find(LimitSet::Icnirp2020)->applies);
  EXPECT_TRUE(a.Find(LimitSet::Icnirp2020Occupational)->applies);
  EXPECT_TRUE(a.Find(LimitSet::As2772)->keepOutM.has_value());
  EXPECT_FALSE(a.fccExemption.has_value());
  // the FCC set is still the one selected in the window
  EXPECT_TRUE(a.Find(LimitSet::CalculatorFcc)->selected);
}

// ---- warnings ----

struct WarningCase {
  const char* name;
  std::function<void(TForm1&)> setUp;
  std::vector<std::string> expectedParts;  // each must begin one warning or lie inside it
  size_t count;
};

class WarningTest : public ::testing::TestWithParam<WarningCase> {};

TEST_P(WarningTest, PlainWords) {
  Station st(GetParam().setUp);
  const Assessment a = Assess(st.form.State());
  EXPECT_EQ(a.warnings.size(), GetParam().count);
  for (const std::string& part : GetParam().expectedParts) {
    EXPECT_TRUE(std::any_of(a.warnings.begin(), a.warnings.end(), [&](const std::string& w) {
      return w.find(part) != std::string::npos;
    })) << part;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stations, WarningTest,
    ::testing::Values(
        // The start-up dish: 420-450 MHz for 432, the pattern as a cycle, the
        // dish by OET 65 beside the calculator's model, lambda from 299.79.
        WarningCase{"StartUp",
                    [](TForm1&) {},
                    {"the 70cm band (420\u2013450 MHz) evaluated where each keep-out distance is "
                     "largest, at 420 MHz (its lower edge) and 450 MHz (its upper edge), not at "
                     "432 MHz",
                     "\"EME 2\u00bd minutes\" as a cycle of 2.5 minutes on and 2.5 off, 50 % of 30 "
                     "minutes for the 30-minute limits, not 58.3 % of six minutes",
                     "the dish's gain from \u03bb = 299.792458/f m, not 300/f m"},
                    1},
        // A carrier, conversational: no cycle, so no line about one.
        WarningCase{"FullTransmission", [](TForm1& f) { FullTransmission(f); }, {"70cm band"}, 1},
        WarningCase{"TwoRanges",
                    [](TForm1& f) {
                      Power(f, 0, 5);
                      FullTransmission(f);
                    },
                    {"70cm band"},
                    1},
        WarningCase{"TwoRangesShown",
                    [](TForm1& f) { Power(f, 0, 5); },
                    {"two ranges", "not a safe place", "50 % of 30 minutes"},
                    2},
        // 20 m, dipole, no ground: the evaluation's keep-out distances at
        // 14.35 MHz (FCC 2.12 m and 1.02 m, ICNIRP 2020 2.61 m and 1.19 m) lie
        // inside lambda / 2 pi = 3.32 m there; of the calculator's, its FCC
        // 2.22 m inside its 3.36 m, ARPANSA and AS2772 (4.70 m) not.
        WarningCase{"HfReactiveNearField",
                    [](TForm1& f) { f.HF_SelectClick(); },
                    {"the half-wave dipole's gain 2.15 dBi, not 2.00 dBi",
                     "\u03bb/2\u03c0 = 3.32 m at 14.35 MHz: FCC general population 2.12 m, FCC "
                     "occupational 1.02 m, ICNIRP 2020 general public 2.61 m, ICNIRP 2020 "
                     "occupational 1.19 m; \u03bb/2\u03c0 = 3.36 m (the calculator's) at 14.2 MHz: "
                     "the calculator's FCC 2.22 m)",
                     "Below 30 MHz ICNIRP 2020 gives field strengths only"},
                    3},
        WarningCase{"HfReactiveNearFieldImperial",
                    [](TForm1& f) {
                      f.HF_SelectClick();
                      f.Button2Click();
                    },
                    {"\u03bb/2\u03c0 = 10.91 ft at 14.35 MHz: FCC general population 6.94 ft",
                     "\u03bb/2\u03c0 = 11.03 ft (the calculator's) at 14.2 MHz: the calculator's "
                     "FCC 7.29 ft"},
                    3},
        // With the ground: counted once, where the calculator counts it twice.
        WarningCase{"HfGroundReflection",
                    [](TForm1& f) {
                      f.HF_SelectClick();
                      f.GroundGainSelectClick();
                    },
                    {"ground reflection counted once (\u00d7 2.56), not twice (\u00d7 6.55) as the "
                     "calculator counts it for a low-gain antenna"},
                    3},
        // 80 m: the nerve-stimulation levels below 10 MHz.
        WarningCase{"Hf80m",
                    [](TForm1& f) {
                      f.HF_SelectClick();
                      f.Board()["RadioGroup8"].itemIndex = 1;  // 3.5 MHz
                      f.RadioGroup8Click();
                    },
                    {"the 80m band (3.5\u20134 MHz) evaluated where each keep-out distance is "
                     "largest, at 4 MHz (its upper edge) for some limits, not at 3.5 MHz",
                     "From 0.1 to 10 MHz ICNIRP also requires its 2010 levels"},
                    4}),
    [](const ::testing::TestParamInfo<WarningCase>& info) { return info.param.name; });

// ---- the summary the texts name ----

struct SummaryCase {
  const char* name;
  std::function<void(TForm1&)> setUp;
  const char* antenna;
  const char* mode;
  const char* pattern;
  long double feedPowerW;  // after the feed loss, without ground reflection
  bool tower;
};

class SummaryTest : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(SummaryTest, NamesTheInputs) {
  const SummaryCase& c = GetParam();
  Station st(c.setUp);
  const StationSummary m = Summarise(st.form.State());
  EXPECT_EQ(m.antenna, c.antenna);
  EXPECT_EQ(m.mode, c.mode);
  EXPECT_EQ(m.pattern, c.pattern);
  // the worked feed power is given to 0.01 W
  EXPECT_NEAR(static_cast<double>(m.feedPowerW), static_cast<double>(c.feedPowerW), 0.005);
  EXPECT_EQ(m.towerHeightM.has_value(), c.tower);
  EXPECT_EQ(m.overallFactor, st.form.State().OverallDutyFactor);
}

INSTANTIATE_TEST_SUITE_P(
    Stations, SummaryTest,
    ::testing::Values(
        // 1500 W less 1.0 dB
        SummaryCase{"StartUp", [](TForm1&) {}, "9.50 m dish", "CW", "EME 2\u00bd minutes", 1191.49L,
                    false},
        SummaryCase{"StartUpImperial", [](TForm1& f) { f.Button2Click(); }, "31.17 ft dish", "CW",
                    "EME 2\u00bd minutes", 1191.49L, false},
        SummaryCase{"Yagi", [](TForm1& f) { f.Panel46Click(); }, "1 yagi", "CW",
                    "EME 2\u00bd minutes", 1191.49L, false},
        SummaryCase{"HfDipoleReflection",
                    [](TForm1& f) {
                      f.HF_SelectClick();
                      f.GroundGainSelectClick();
                    },
                    "Half-wave dipole", "CW", "EME 2\u00bd minutes", 1500.0L, true},
        SummaryCase{"HfBeamCarrier",
                    [](TForm1& f) {
                      f.HF_SelectClick();
                      f.Panel69Click();
                      FullTransmission(f);
                    },
                    "3el 14 MHz", "Carrier", "Conversational", 1500.0L, true}),
    [](const ::testing::TestParamInfo<SummaryCase>& info) { return info.param.name; });

}  // namespace
}  // namespace korrin::assess
