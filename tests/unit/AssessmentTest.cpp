// The assessment's figures: the FCC exemption test worked by hand, the
// keep-out distance against the density profile's crossings, head-height
// clearance, frequencies outside a set's range, and the warnings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "assess/Assessment.h"
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

struct ExemptionCase {
  const char* name;
  std::function<void(TForm1&)> setUp;
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
  EXPECT_NEAR(static_cast<double>(e.erpW), static_cast<double>(c.erpW),
              static_cast<double>(c.erpTolerance));
  EXPECT_NEAR(static_cast<double>(e.reactiveNearFieldM), static_cast<double>(c.reactiveM),
              kCentimetre);
  EXPECT_NEAR(static_cast<double>(e.thresholdDistanceM), static_cast<double>(c.thresholdM),
              kCentimetre);
  EXPECT_NEAR(static_cast<double>(e.minimumDistanceM), static_cast<double>(c.minimumM),
              kCentimetre);
  EXPECT_EQ(e.minimumDistanceM, std::max(e.reactiveNearFieldM, e.thresholdDistanceM));
  EXPECT_EQ(a.reactiveNearFieldM, e.reactiveNearFieldM);
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
        // 1500 W, 1.0 dB, CW with EME 2 1/2 minutes (23.33 %), 9.5 m dish at 0.55, 432 MHz
        ExemptionCase{"StartUp", [](TForm1&) {}, 172210.0L, 5.0L, 0.11L, 176.47L, 176.47L},
        // 14.2 MHz half-wave dipole, 2.00 dBi, 0.0 dB
        ExemptionCase{"HfSide", [](TForm1& f) { f.HF_SelectClick(); }, 338.24L, 0.005L, 3.36L,
                      4.45L, 4.45L},
        ExemptionCase{"HfSide100WFullTransmission",
                      [](TForm1& f) {
                        f.HF_SelectClick();
                        Power(f, 0, 1);
                        FullTransmission(f);
                      },
                      96.64L, 0.005L, 3.36L, 2.38L, 3.36L}),
    [](const ::testing::TestParamInfo<ExemptionCase>& info) { return info.param.name; });

TEST(ExemptionGroundReflection, IsLeftOutOfTheErp) {
  Station plain([](TForm1& f) { f.HF_SelectClick(); });
  Station reflected([](TForm1& f) {
    f.HF_SelectClick();
    f.GroundGainSelectClick();
  });
  EXPECT_EQ(Assess(plain.form.State()).fccExemption->erpW,
            Assess(reflected.form.State()).fccExemption->erpW);
  // while the window's zone counts it
  EXPECT_GT(*Assess(reflected.form.State()).Find(LimitSet::FccGeneral)->keepOutM,
            *Assess(plain.form.State()).Find(LimitSet::FccGeneral)->keepOutM);
}

TEST(ExemptionZeroPower, NeedsOnlyTheReactiveNearField) {
  Station st([](TForm1& f) { Power(f, 0, 0); });
  const Assessment a = Assess(st.form.State());
  EXPECT_EQ(a.fccExemption->erpW, 0);
  EXPECT_EQ(a.fccExemption->minimumDistanceM, a.reactiveNearFieldM);
  for (const LimitEntry& e : a.limits) EXPECT_EQ(*e.keepOutM, 0) << LimitSetId(e.set);
}

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

// The near-field factors a window keeps from one station to the next give
// every figure the factors computed afresh give.
TEST_P(KeepOutTest, FactorsKeptFromOtherStationsGiveTheSameFigures) {
  NearFieldSteps kept;
  for (const auto& other : {std::function<void(TForm1&)>([](TForm1& f) { Power(f, 0, 5); }),
                            std::function<void(TForm1&)>([](TForm1& f) { Band(f, 9); })}) {
    Station st(other);
    Assess(st.form.State(), {}, kept);
  }
  Station st(GetParam().setUp);
  const Assessment fresh = Assess(st.form.State());
  const Assessment again = Assess(st.form.State(), {}, kept);
  ASSERT_EQ(again.limits.size(), fresh.limits.size());
  for (size_t i = 0; i < fresh.limits.size(); ++i) {
    SCOPED_TRACE(LimitSetId(fresh.limits[i].set));
    EXPECT_EQ(again.limits[i].keepOutM, fresh.limits[i].keepOutM);
    EXPECT_EQ(again.limits[i].crossingM, fresh.limits[i].crossingM);
    ASSERT_EQ(again.limits[i].rangesM.size(), fresh.limits[i].rangesM.size());
    for (size_t r = 0; r < fresh.limits[i].rangesM.size(); ++r) {
      EXPECT_EQ(again.limits[i].rangesM[r].fromM, fresh.limits[i].rangesM[r].fromM);
      EXPECT_EQ(again.limits[i].rangesM[r].toM, fresh.limits[i].rangesM[r].toM);
    }
  }
  ASSERT_EQ(again.profile.size(), fresh.profile.size());
  for (size_t i = 0; i < fresh.profile.size(); ++i) {
    EXPECT_EQ(again.profile[i].densityWm2, fresh.profile[i].densityWm2) << i;
  }
}

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

TEST(KeepOutDish1296, CoversTheGapBetweenTheTwoRanges) {
  Station st([](TForm1& f) {
    Band(f, 5);
    Power(f, 1, 0);
  });
  const Assessment a = Assess(st.form.State());
  const LimitEntry* e = a.Find(LimitSet::Icnirp2020);
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
  // 5 m tower, head at 4.5 m, FCC keep-out 5.69 m (the window's zone)
  Station st([](TForm1& f) {
    f.HF_SelectClick();
    f.GroundGainSelectClick();
    Tower(f, 5);
  });
  Options o;
  o.headHeightM = 4.5L;
  const Assessment a = Assess(st.form.State(), o);
  const LimitEntry* e = a.Find(LimitSet::FccGeneral);
  EXPECT_NEAR(static_cast<double>(*e->keepOutM), 5.69, 0.005);
  EXPECT_NEAR(static_cast<double>(*e->headClearanceM), std::sqrt(5.69 * 5.69 - 0.25), 0.005);
  EXPECT_NEAR(static_cast<double>(*e->towerClearanceM), std::sqrt(5.69 * 5.69 - 25), 0.01);
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
  for (LimitSet set : {LimitSet::FccGeneral, LimitSet::FccOccupational}) {
    const LimitEntry* e = a.Find(set);
    SCOPED_TRACE(LimitSetId(set));
    EXPECT_FALSE(e->applies);
    EXPECT_FALSE(e->limitWm2 || e->exclusionM || e->zone || e->keepOutM || e->crossingM ||
                 e->towerClearanceM || e->headClearanceM);
    EXPECT_TRUE(e->rangesM.empty());
  }
  EXPECT_TRUE(a.Find(LimitSet::Icnirp2020)->applies);
  EXPECT_TRUE(a.Find(LimitSet::As2772)->keepOutM.has_value());
  EXPECT_FALSE(a.fccExemption.has_value());
  // the FCC set is still the one selected in the window
  EXPECT_TRUE(a.Find(LimitSet::FccGeneral)->selected);
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
        WarningCase{"StartUp", [](TForm1&) {}, {"transmission factor of 23.33 %"}, 1},
        WarningCase{"FullTransmission", [](TForm1& f) { FullTransmission(f); }, {}, 0},
        WarningCase{"TwoRanges",
                    [](TForm1& f) {
                      Power(f, 0, 5);
                      FullTransmission(f);
                    },
                    {},
                    0},
        WarningCase{"TwoRangesShown",
                    [](TForm1& f) { Power(f, 0, 5); },
                    {"two ranges", "not a safe place", "23.33 %"},
                    2},
        // 14.2 MHz: lambda / 2 pi = 3.36 m; FCC 2.22 m, occupational 0.99 m,
        // ICNIRP 2.75 m fall inside it, ARPANSA and AS2772 (4.70 m) do not
        WarningCase{"HfReactiveNearField",
                    [](TForm1& f) { f.HF_SelectClick(); },
                    {"FCC 47 CFR 1.1310 (2021), general population / uncontrolled: the keep-out "
                     "distance of 2.22 m lies inside the reactive near field",
                     "occupational / controlled: the keep-out distance of 0.99 m",
                     "ICNIRP 2020 / ARPANSA RPS S-1 (2021), general public: the keep-out "
                     "distance of 2.75 m",
                     "\u03bb/2\u03c0 = 3.36 m"},
                    4},
        WarningCase{"HfReactiveNearFieldImperial",
                    [](TForm1& f) {
                      f.HF_SelectClick();
                      f.Button2Click();
                    },
                    {"the keep-out distance of 7.29 ft", "\u03bb/2\u03c0 = 11.03 ft"},
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
