// The whole station's evaluation against figures worked by hand from the
// method (OET 65, 47 CFR 1.1307/1.1310, ICNIRP 2020 with ICNIRP 2010's
// nerve-stimulation levels), on stations and tables made in code: the
// keep-out distances of each tier, the band's worst frequency, the FCC
// exemption, the sums at places and along the property line, the verdict
// and the warnings.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <string>

#include "assess/StationMethod.h"
#include "tests/unit/StationEvaluationTestSupport.h"

namespace korrin::assess {
namespace {

using namespace testing_support;

double D(Real v) {
  return static_cast<double>(v);
}

// Figure A: 100 W CW (40 %), no cycle, no feed line, a dipole (2.15 dBi)
// with ground reflection.  P_avg = 40 W, EIRP = 40 * 10^0.215 = 65.62 W.
station::Station DipoleStation(const std::optional<std::string>& band, Real frequencyMHz = 14.2L) {
  station::Station s = EmptyStation(true);
  s.transmitters = {Transmitter("tx", 100, "cw")};
  s.antennas = {Antenna("dipole", "dipole", std::nullopt, 0, 0, 10)};
  s.installations = {band ? OnBand("hf", "tx", "dipole", *band)
                          : OnFrequency("hf", "tx", "dipole", frequencyMHz)};
  return s;
}

struct TierCase {
  const char* name;
  std::function<station::Station()> station;
  LimitSetChoice set;
  Tier tier;
  Real frequencyMHz;  // of the time-averaged criterion
  FrequencyReason reason;
  Real timeAveragedM;
  std::optional<Real> instantaneousM;  // ICNIRP below 10 MHz
  Criterion governing;
};

class TierResultTest : public ::testing::TestWithParam<TierCase> {};

TEST_P(TierResultTest, KeepOutOfEachTier) {
  const TierCase& c = GetParam();
  const StationEvaluation e = EvaluateWithTestTables(c.station());
  ASSERT_EQ(e.installations.size(), 1u) << c.name;
  const TierResult* t = e.installations[0].Find(c.set, c.tier);
  ASSERT_NE(t, nullptr) << c.name;
  ASSERT_TRUE(t->timeAveraged.has_value()) << c.name;
  EXPECT_NEAR(D(t->timeAveraged->frequencyMHz), D(c.frequencyMHz), 1e-4) << c.name;
  EXPECT_EQ(t->timeAveraged->reason, c.reason) << c.name;
  EXPECT_NEAR(D(t->timeAveraged->keepOutM), D(c.timeAveragedM), 5e-4) << c.name;
  ASSERT_EQ(t->instantaneous.has_value(), c.instantaneousM.has_value()) << c.name;
  if (c.instantaneousM) {
    EXPECT_NEAR(D(t->instantaneous->keepOutM), D(*c.instantaneousM), 5e-4) << c.name;
  }
  ASSERT_NE(t->Governing(), nullptr);
  EXPECT_EQ(t->Governing()->criterion, c.governing) << c.name;
  EXPECT_EQ(D(*t->KeepOutM()), D(t->Governing()->keepOutM)) << c.name;
}

// R = sqrt(F EIRP / (4 pi S_L)), F = 2.56; S_L in W/m^2:
//   14.2 MHz: FCC general 1800 / 14.2^2 = 8.927, occupational 9000 / 14.2^2
//   = 44.63; ICNIRP general (300 / 14.2^0.7)^2 / 377 = 5.817, occupational
//   (660 / 14.2^0.7)^2 / 377 = 28.15.
//   80 m (3.5-4.0 MHz): the limits fall with f, so the upper edge; FCC
//   general 1800 / 16 = 112.5, occupational 9000 / 16 = 562.5; ICNIRP
//   (300 / 4^0.7)^2 / 377 = 34.28 and (660 / 4^0.7)^2 / 377 = 165.9.  The
//   nerve-stimulation levels 83 and 170 V/m (18.27 and 76.66 W/m^2) apply to
//   the 100 W peak: EIRP 164.06 W, the same at every frequency of the band
//   (no feed line), so the lower edge is named.
INSTANTIATE_TEST_SUITE_P(
    WorkedFigures, TierResultTest,
    ::testing::Values(
        TierCase{"A FCC general", [] { return DipoleStation(std::nullopt); }, LimitSetChoice::Fcc,
                 Tier::General, 14.2L, FrequencyReason::Given, 1.2238L, std::nullopt,
                 Criterion::TimeAveraged},
        TierCase{"A FCC occupational", [] { return DipoleStation(std::nullopt); },
                 LimitSetChoice::Fcc, Tier::Occupational, 14.2L, FrequencyReason::Given, 0.5473L,
                 std::nullopt, Criterion::TimeAveraged},
        TierCase{"A ICNIRP general", [] { return DipoleStation(std::nullopt); },
                 LimitSetChoice::Icnirp2020, Tier::General, 14.2L, FrequencyReason::Given, 1.5160L,
                 std::nullopt, Criterion::TimeAveraged},
        TierCase{"A ICNIRP occupational", [] { return DipoleStation(std::nullopt); },
                 LimitSetChoice::Icnirp2020, Tier::Occupational, 14.2L, FrequencyReason::Given,
                 0.6891L, std::nullopt, Criterion::TimeAveraged},
        TierCase{"A' FCC general", [] { return DipoleStation("80m"); }, LimitSetChoice::Fcc,
                 Tier::General, 4.0L, FrequencyReason::UpperEdge, 0.3447L, std::nullopt,
                 Criterion::TimeAveraged},
        TierCase{"A' FCC occupational", [] { return DipoleStation("80m"); }, LimitSetChoice::Fcc,
                 Tier::Occupational, 4.0L, FrequencyReason::UpperEdge, 0.1542L, std::nullopt,
                 Criterion::TimeAveraged},
        TierCase{"A' ICNIRP general", [] { return DipoleStation("80m"); },
                 LimitSetChoice::Icnirp2020, Tier::General, 4.0L, FrequencyReason::UpperEdge,
                 0.6245L, 1.3524L, Criterion::Instantaneous},
        TierCase{"A' ICNIRP occupational", [] { return DipoleStation("80m"); },
                 LimitSetChoice::Icnirp2020, Tier::Occupational, 4.0L, FrequencyReason::UpperEdge,
                 0.2839L, 0.6603L, Criterion::Instantaneous}));

TEST(StationEvaluationTest, FigureAPowersAndExemption) {
  const StationEvaluation e = EvaluateWithTestTables(DipoleStation(std::nullopt));
  ASSERT_EQ(e.installations.size(), 1u);
  const InstallationResult& r = e.installations[0];
  const TierResult* fcc = r.Find(LimitSetChoice::Fcc, Tier::General);
  ASSERT_NE(fcc, nullptr);
  EXPECT_NEAR(D(fcc->timeAveraged->powerW), 40.0, 1e-12);  // 100 W * 0.4
  EXPECT_NEAR(D(fcc->timeAveraged->eirpW), 65.62, 0.005);
  EXPECT_NEAR(D(r.gainDbi), 2.15, 1e-12);
  EXPECT_EQ(D(r.groundFactor), 2.56);
  ASSERT_TRUE(r.fccExemption.has_value());
  EXPECT_NEAR(D(r.fccExemption->erpW), 40.01, 0.005);               // 65.62 / 1.64
  EXPECT_NEAR(D(r.fccExemption->reactiveNearFieldM), 3.360, 5e-4);  // 299.792458 / 14.2 / 2 pi
}

TEST(StationEvaluationTest, FigureBFt8CycleHalvesTheThirtyMinuteErp) {
  station::Station s = EmptyStation(true);
  s.transmitters = {Transmitter("amp", 1500, "ft8")};  // the mode's own 15 s / 15 s cycle
  s.antennas = {Antenna("dipole", "dipole", std::nullopt, 0, 0, 10)};
  s.installations = {OnFrequency("40m", "amp", "dipole", 7.1L)};
  const StationEvaluation e = EvaluateWithTestTables(s);
  ASSERT_EQ(e.installations.size(), 1u);
  const InstallationResult& r = e.installations[0];
  EXPECT_EQ(r.cycleSource, CycleSource::Mode);
  EXPECT_NEAR(D(r.Find(LimitSetChoice::Fcc, Tier::General)->timeAveraged->powerW), 750.0, 1e-9);
  ASSERT_TRUE(r.fccExemption.has_value());
  // ERP = 1500 * 0.5 * 1.6406 / 1.64 = 750.27 W; threshold 3450 R^2 / 7.1^2
  // reaches it at R = 7.1 sqrt(750.27 / 3450) = 3.311 m; lambda / 2 pi =
  // 299.792458 / 7.1 / 2 pi = 6.720 m, the larger.
  EXPECT_NEAR(D(r.fccExemption->erpW), 750.27, 0.005);
  EXPECT_NEAR(D(r.fccExemption->thresholdDistanceM), 3.311, 5e-4);
  EXPECT_NEAR(D(r.fccExemption->reactiveNearFieldM), 6.720, 5e-4);
  EXPECT_EQ(D(r.fccExemption->minimumDistanceM), D(r.fccExemption->reactiveNearFieldM));
}

// Figure E: a 3.0 m dish (e = 0.55) at 1296 MHz, 400 W CW (160 W average),
// no feed line, no ground reflection.
station::Station DishStation(bool groundReflection) {
  station::Station s = EmptyStation(groundReflection);
  s.transmitters = {Transmitter("tx", 400, "cw")};
  s.antennas = {Dish("dish", 3.0L, 0.55L, 0, 0, 6)};
  s.installations = {OnFrequency("eme", "tx", "dish", 1296.0L)};
  return s;
}

TEST(StationEvaluationTest, FigureEDishTakesTheLargerOfApertureAndCalculatorModel) {
  const StationEvaluation e = EvaluateWithTestTables(DishStation(false));
  ASSERT_EQ(e.installations.size(), 1u);
  const InstallationResult& r = e.installations[0];
  EXPECT_NEAR(D(r.gainDbi), 29.60, 0.005);  // 10 log10(913.0)
  struct Expect {
    Tier tier;
    Real apertureM;  // worked in StationMethodTest: 36.68 m far field, 11.21 m transition
  };
  for (const Expect& x : {Expect{Tier::General, 36.68L}, Expect{Tier::Occupational, 11.21L}}) {
    const CriterionResult* c = r.Find(LimitSetChoice::Fcc, x.tier)->Governing();
    ASSERT_NE(c, nullptr);
    ASSERT_TRUE(c->apertureKeepOutM && c->scanKeepOutM);
    EXPECT_NEAR(D(*c->apertureKeepOutM), D(x.apertureM), 0.005) << TierId(x.tier);
    const Real scan =
        CalculatorKeepOutM(DishAperture{3.0L, 0.55L}, WavelengthM(1296.0L), 160.0L, c->limitWm2);
    EXPECT_EQ(D(*c->scanKeepOutM), D(scan)) << TierId(x.tier);
    EXPECT_EQ(D(c->keepOutM), D(std::max(*c->apertureKeepOutM, *c->scanKeepOutM)))
        << TierId(x.tier);
    EXPECT_EQ(c->model, *c->scanKeepOutM > *c->apertureKeepOutM ? ExposureModel::CalculatorScan
                                                                : ExposureModel::Aperture)
        << TierId(x.tier);
  }
  // The calculator's model reaches 36.07 m for the general tier, short of
  // the aperture equations' far field; for the occupational tier it reaches
  // 14.53 m, beyond their transition region's 11.21 m.
  EXPECT_EQ(r.Find(LimitSetChoice::Fcc, Tier::General)->Governing()->model,
            ExposureModel::Aperture);
  EXPECT_EQ(r.Find(LimitSetChoice::Fcc, Tier::Occupational)->Governing()->model,
            ExposureModel::CalculatorScan);
}

// ---- the ground factor ----

struct GroundCase {
  const char* name;
  std::function<station::Antenna()> antenna;
  bool asked;
  Real factor;
  bool warned;  // "not applied"
};

class GroundFactorTest : public ::testing::TestWithParam<GroundCase> {};

TEST_P(GroundFactorTest, AppliedOnlyToAFreeSpaceGain) {
  const GroundCase& c = GetParam();
  station::Station s = EmptyStation(c.asked);
  s.transmitters = {Transmitter("tx", 100, "fm")};
  s.antennas = {c.antenna()};
  s.installations = {OnFrequency("i", "tx", s.antennas[0].id, 1296.0L)};
  const StationEvaluation e = EvaluateWithTestTables(s);
  ASSERT_EQ(e.installations.size(), 1u) << c.name;
  EXPECT_EQ(D(e.installations[0].groundFactor), D(c.factor)) << c.name;
  EXPECT_EQ(AnyContains(e.warnings, "factor 2.56 is not applied"), c.warned) << c.name;
  // The keep-out distance scales with the square root of the factor.
  station::Station off = s;
  off.groundReflection = false;
  const StationEvaluation free = EvaluateWithTestTables(off);
  const Real ratio = *e.installations[0].Find(LimitSetChoice::Fcc, Tier::General)->KeepOutM() /
                     *free.installations[0].Find(LimitSetChoice::Fcc, Tier::General)->KeepOutM();
  EXPECT_NEAR(D(ratio), std::sqrt(D(c.factor)), 1e-12) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Antennas, GroundFactorTest,
    ::testing::Values(
        GroundCase{"yagi, asked", [] { return Antenna("y", "yagi", 13, 0, 0, 10); }, true, 2.56L,
                   false},
        GroundCase{"yagi, not asked", [] { return Antenna("y", "yagi", 13, 0, 0, 10); }, false, 1,
                   false},
        GroundCase{"dish, asked", [] { return Dish("d", 3, 0.55L, 0, 0, 10); }, true, 1, true},
        GroundCase{"dish, not asked", [] { return Dish("d", 3, 0.55L, 0, 0, 10); }, false, 1,
                   false},
        GroundCase{"vertical whose row includes the ground, asked",
                   [] { return Antenna("v", "vertical", std::nullopt, 0, 0, 10); }, true, 1, true},
        GroundCase{"gain-includes-ground set, asked",
                   [] {
                     station::Antenna a = Antenna("g", "gain", 6, 0, 0, 10);
                     a.gainIncludesGround = true;
                     return a;
                   },
                   true, 1, true},
        GroundCase{"vertical with the ground taken out, asked",
                   [] {
                     station::Antenna a = Antenna("v", "vertical", std::nullopt, 0, 0, 10);
                     a.gainIncludesGround = false;
                     return a;
                   },
                   true, 2.56L, false}));

// ---- the band's worst frequency, per tier ----

struct BandCase {
  const char* name;
  std::string band;
  std::string cable;
  Real lengthM;
  LimitSetChoice set;
  Tier tier;
  Real frequencyMHz;
  FrequencyReason reason;
};

class BandFrequencyTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandFrequencyTest, LargestKeepOutOverTheBand) {
  const BandCase& c = GetParam();
  station::Station s = EmptyStation(true);
  s.transmitters = {Transmitter("tx", 100, "fm")};
  s.feedlines = {Line("line", c.cable, c.lengthM)};
  s.antennas = {Antenna("a", "gain", 3, 0, 0, 10)};
  s.installations = {OnBand("i", "tx", "a", c.band)};
  s.installations[0].feedline = "line";
  const StationEvaluation e = EvaluateWithTestTables(s);
  ASSERT_EQ(e.installations.size(), 1u) << c.name;
  const CriterionResult* r = e.installations[0].Find(c.set, c.tier)->Find(Criterion::TimeAveraged);
  ASSERT_NE(r, nullptr) << c.name;
  EXPECT_NEAR(D(r->frequencyMHz), D(c.frequencyMHz), 1e-4) << c.name;
  EXPECT_EQ(r->reason, c.reason) << c.name;
  // No frequency of the band gives more: sample it finely.  Nor does any
  // deliver more power to the antenna than the band's most, which one does.
  Real mostPower = 0;
  for (int k = 0; k <= 200; ++k) {
    const Real f = e.installations[0].lowerMHz +
                   (e.installations[0].upperMHz - e.installations[0].lowerMHz) * k / 200.0L;
    station::Station at = s;
    at.installations[0].band.reset();
    at.installations[0].frequencyMHz = f;
    const InstallationResult here = EvaluateWithTestTables(at).installations.at(0);
    const Real keepOut = here.Find(c.set, c.tier)->Find(Criterion::TimeAveraged)->keepOutM;
    EXPECT_LE(D(keepOut), D(r->keepOutM) * (1 + 1e-12)) << c.name << " at " << D(f);
    EXPECT_EQ(here.mostPowerAtAntennaW, here.powerAtAntennaW) << c.name << " at " << D(f);
    mostPower = std::max(mostPower, here.powerAtAntennaW);
  }
  EXPECT_EQ(D(e.installations[0].mostPowerAtAntennaW), D(mostPower)) << c.name;
}

// The steep test line loses 2 dB per MHz over its 100 m, so P(f) falls as
// 10^(-0.2 f).  Across 2.5-3.5 MHz:
//   FCC general (180 / f^2 mW/cm^2): R^2 ~ f^2 P, rising while 2/f > 0.4605,
//   i.e. to 4.34 MHz: the upper edge.
//   FCC occupational: 1000 W/m^2 to 3 MHz, then 9000 / f^2: R(3.5)^2 / R(2.5)^2
//   = (1000 / 734.7) 10^(-0.2) = 0.859: the lower edge.
//   ICNIRP general (S_L ~ f^-1.4): R^2 ~ f^1.4 P peaks inside, where 1.4/f =
//   0.4605: f = 3.040 MHz.
// Across 25-35 MHz with a low-loss line: every limit falls with f to 30 MHz
// and is flat above it, so 30 MHz (the breakpoint) gives the most.
INSTANTIATE_TEST_SUITE_P(
    Bands, BandFrequencyTest,
    ::testing::Values(
        BandCase{"FCC general, steep line", "test-across-3", "test-steep", 100, LimitSetChoice::Fcc,
                 Tier::General, 3.5L, FrequencyReason::UpperEdge},
        BandCase{"FCC occupational, steep line", "test-across-3", "test-steep", 100,
                 LimitSetChoice::Fcc, Tier::Occupational, 2.5L, FrequencyReason::LowerEdge},
        BandCase{"ICNIRP general, steep line", "test-across-3", "test-steep", 100,
                 LimitSetChoice::Icnirp2020, Tier::General, 3.040061L, FrequencyReason::InsideBand},
        BandCase{"FCC general across 30 MHz", "test-across-30", "test-coax", 10,
                 LimitSetChoice::Fcc, Tier::General, 30.0L, FrequencyReason::Breakpoint},
        BandCase{"ICNIRP occupational across 30 MHz", "test-across-30", "test-coax", 10,
                 LimitSetChoice::Icnirp2020, Tier::Occupational, 30.0L,
                 FrequencyReason::Breakpoint}));

TEST(StationEvaluationTest, BandBelowPointThreeMegahertzHasNoFccFigures) {
  station::Station s = DipoleStation("2200m");
  const StationEvaluation e = EvaluateWithTestTables(s);
  ASSERT_EQ(e.installations.size(), 1u);
  const InstallationResult& r = e.installations[0];
  EXPECT_FALSE(r.Find(LimitSetChoice::Fcc, Tier::General)->timeAveraged.has_value());
  EXPECT_FALSE(r.Find(LimitSetChoice::Fcc, Tier::Occupational)->timeAveraged.has_value());
  EXPECT_FALSE(r.fccExemption.has_value());
  EXPECT_TRUE(r.Find(LimitSetChoice::Icnirp2020, Tier::General)->timeAveraged.has_value());
  EXPECT_TRUE(AnyContains(e.warnings, "the FCC's limits (47 CFR 1.1310)"));
}

// ---- figure F: two installations that together exceed the limit ----

// A 2 m yagi (13 dBi) at 10 m, 200 W FM, 3 min on / 7 off (0.3 over 30
// min: 60 W), and a 20 m beam (8 dBi) at 18 m, 1000 W SSB (200 W), both at
// x 0, y 0, ground reflection on; an uncontrolled place at x 8, y 0, 2 m.
station::Station FigureF() {
  station::Station s = EmptyStation(true);
  s.transmitters = {Transmitter("vhf", 200, "fm", 3, 7), Transmitter("hf", 1000, "ssb")};
  s.antennas = {Antenna("yagi", "yagi", 13, 0, 0, 10), Antenna("beam", "yagi", 8, 0, 0, 18)};
  s.installations = {OnFrequency("2m-yagi", "vhf", "yagi", 144.2L),
                     OnFrequency("20m-beam", "hf", "beam", 14.2L)};
  s.places = {Place("Neighbour's garden", 8, 0, 2, false)};
  return s;
}

const PlaceSum* SumOf(const PlaceResult& p, const std::string& group, LimitSetChoice set,
                      Criterion criterion = Criterion::TimeAveraged) {
  for (const PlaceSum& s : p.sums) {
    if (s.group == group && s.set == set && s.criterion == criterion) return &s;
  }
  return nullptr;
}

TEST(StationEvaluationTest, FigureFTogetherTheyExceedTheLimit) {
  const StationEvaluation e = EvaluateWithTestTables(FigureF());
  ASSERT_EQ(e.places.size(), 1u);
  const PlaceResult& p = e.places[0];
  ASSERT_EQ(p.distancesM.size(), 2u);
  EXPECT_NEAR(D(p.distancesM[0].second), 11.314, 5e-4);  // sqrt(8^2 + 8^2)
  EXPECT_NEAR(D(p.distancesM[1].second), 17.889, 5e-4);  // sqrt(8^2 + 16^2)

  // FCC general: 2.56 * 60 * 19.95 / (4 pi 128) / 2 = 0.9527 and
  // 2.56 * 200 * 6.310 / (4 pi 320) / 8.927 = 0.0900.
  const PlaceSum* fcc = SumOf(p, "all", LimitSetChoice::Fcc);
  ASSERT_NE(fcc, nullptr);
  EXPECT_EQ(fcc->tier, Tier::General);
  ASSERT_EQ(fcc->terms.size(), 2u);
  EXPECT_NEAR(D(fcc->terms[0].fraction), 0.9527, 5e-5);
  EXPECT_NEAR(D(fcc->terms[1].fraction), 0.0900, 5e-5);
  EXPECT_NEAR(D(fcc->sum), 1.0427, 5e-5);
  EXPECT_NEAR(D(*fcc->marginDb), -0.18, 0.005);

  // ICNIRP general: the beam's 0.8034 W/m^2 over 5.817: 0.1381; with the
  // yagi's 0.9527 (2 W/m^2 as FCC's): 1.0908.  No instantaneous sum: both
  // lie above 10 MHz.
  const PlaceSum* icnirp = SumOf(p, "all", LimitSetChoice::Icnirp2020);
  ASSERT_NE(icnirp, nullptr);
  EXPECT_NEAR(D(icnirp->sum), 1.0908, 5e-5);
  EXPECT_EQ(SumOf(p, "all", LimitSetChoice::Icnirp2020, Criterion::Instantaneous), nullptr);

  // Exemption: 730.0 W / (3.83 * 128) = 1.489 and 769.5 W / (3450 * 320 /
  // 14.2^2) = 0.1405.
  ASSERT_EQ(p.fccExemptionSums.size(), 1u);
  EXPECT_NEAR(D(p.fccExemptionSums[0].sum), 1.630, 5e-4);

  EXPECT_FALSE(e.verdict.complies);
  EXPECT_TRUE(AnyContains(e.verdict.failures, "margin -0.18 dB"));
  EXPECT_TRUE(AnyContains(e.verdict.failures, "Each installation alone is within the limit"));
  // Each on its own complies.
  for (size_t keep = 0; keep < 2; ++keep) {
    station::Station alone = FigureF();
    alone.installations = {alone.installations[keep]};
    EXPECT_TRUE(EvaluateWithTestTables(alone).verdict.complies) << keep;
  }
}

// ---- the rules of summation ----

struct SummationCase {
  const char* name;
  bool sameTransmitter;
  bool sameGroup;
  Real sumOverOne;  // the sum in the place's group of the first, over one installation's fraction
  size_t groups;
};

class SummationTest : public ::testing::TestWithParam<SummationCase> {};

TEST_P(SummationTest, TransmittersAddInsideAGroupOnly) {
  const SummationCase& c = GetParam();
  station::Station s = EmptyStation(true);
  s.transmitters = {Transmitter("a", 200, "fm"), Transmitter("b", 200, "fm")};
  s.antennas = {Antenna("y1", "yagi", 13, 0, 0, 10), Antenna("y2", "yagi", 13, 0, 0, 10)};
  s.installations = {OnFrequency("one", "a", "y1", 144.2L),
                     OnFrequency("two", c.sameTransmitter ? "a" : "b", "y2", 145.0L)};
  s.installations[0].group = "first";
  s.installations[1].group = c.sameGroup ? "first" : "second";
  s.places = {Place("p", 30, 0, 2, false)};
  const StationEvaluation e = EvaluateWithTestTables(s);
  ASSERT_EQ(e.installations.size(), 2u);
  const PlaceResult& p = e.places[0];
  const Real one = *FractionAtPoint(e.installations[0], LimitSetChoice::Fcc, Tier::General,
                                    Criterion::TimeAveraged, p.positionM);
  const PlaceSum* first = SumOf(p, "first", LimitSetChoice::Fcc);
  ASSERT_NE(first, nullptr) << c.name;
  EXPECT_NEAR(D(first->sum / one), D(c.sumOverOne), 1e-9) << c.name;
  size_t groups = 0;
  for (const PlaceSum& x : p.sums) groups += x.set == LimitSetChoice::Fcc ? 1 : 0;
  EXPECT_EQ(groups, c.groups) << c.name;
}

// Both yagis at the same spot and power give the same fraction (the 2 m
// limit is flat); a transmitter drives one installation at a time, so its
// two installations count once.
INSTANTIATE_TEST_SUITE_P(
    Rules, SummationTest,
    ::testing::Values(SummationCase{"one transmitter, one group", true, true, 1, 1},
                      SummationCase{"two transmitters, one group", false, true, 2, 1},
                      SummationCase{"two transmitters, two groups", false, false, 1, 2}));

TEST(StationEvaluationTest, ExemptionSumTakesTheMpeFractionInsideTheReactiveNearField) {
  station::Station s = EmptyStation(true);
  s.transmitters = {Transmitter("tx", 100, "ssb")};
  s.antennas = {Antenna("dipole", "dipole", std::nullopt, 0, 0, 2)};
  s.installations = {OnFrequency("i", "tx", "dipole", 3.6L)};  // lambda / 2 pi = 13.25 m
  s.places = {Place("near", 5, 0, 2, false), Place("far", 20, 0, 2, false)};
  const StationEvaluation e = EvaluateWithTestTables(s);
  ASSERT_EQ(e.places.size(), 2u);
  const InstallationResult& r = e.installations[0];
  const PlaceResult& near = e.places[0];
  const Real mpe = *FractionAtPoint(r, LimitSetChoice::Fcc, Tier::General, Criterion::TimeAveraged,
                                    near.positionM);
  EXPECT_EQ(D(near.fccExemptionSums[0].sum), D(mpe));
  // 20 m is beyond lambda / 2 pi: ERP / (3450 R^2 / f^2), ERP = 20 * 1.6406 / 1.64.
  const Real erp = 20.0L * std::pow(10.0L, 0.215L) / 1.64L;
  EXPECT_NEAR(D(e.places[1].fccExemptionSums[0].sum), D(erp / (3450.0L * 400.0L / (3.6L * 3.6L))),
              1e-12);
  // The nearest uncontrolled place decides the installation's exemption.
  ASSERT_TRUE(r.fccExemption && r.fccExemption->nearestPlace);
  EXPECT_EQ(*r.fccExemption->nearestPlace, "near");
  EXPECT_FALSE(*r.fccExemption->exempt);
  EXPECT_TRUE(AnyContains(e.warnings, "Place \"near\" lies 5.00 m from the antenna"));
}

// ---- the property line ----

TEST(StationEvaluationTest, PropertyLineLargestSumAndWhere) {
  station::Station s = FigureF();
  s.places.clear();
  // The antennas stand at x 0, y 0.1; the nearest point of the line is the
  // foot of the perpendicular on the side x = 5, between two samples.
  for (station::Antenna& a : s.antennas) a.y = station::Length::InMetres(0.1L);
  s.installations[1].group = "hf";
  station::Property line;
  line.outline = {{-30, -30}, {5, -30}, {5, 30}, {-30, 30}};
  s.property = line;
  const StationEvaluation e = EvaluateWithTestTables(s);
  ASSERT_TRUE(e.propertyHeightM.has_value());
  EXPECT_EQ(D(*e.propertyHeightM), 2.0);
  // Two groups, two sets each; the 14.2 MHz beam has no instantaneous sum.
  ASSERT_EQ(e.property.size(), 4u);
  for (const PropertySum& p : e.property) {
    EXPECT_EQ(D(p.atXM), 5.0) << p.group;
    EXPECT_NEAR(D(p.atYM), 0.1, 1e-12) << p.group;
    const InstallationResult& r = *e.FindInstallation(p.group == "hf" ? "20m-beam" : "2m-yagi");
    const Real direct = *FractionAtPoint(r, p.set, Tier::General, p.criterion, {5, 0.1L, 2});
    EXPECT_NEAR(D(p.maxSum), D(direct), 1e-15) << p.group;
    EXPECT_NEAR(D(*p.marginDb), D(10 * std::log10(1 / direct)), 1e-12);
  }
  // The yagi alone at sqrt(5^2 + 8^2) = 9.43 m: 2.56 * 1197 / (4 pi 89) / 2
  // = 1.37: fails; the beam alone at 16.76 m stays within.
  EXPECT_FALSE(e.verdict.complies);
  EXPECT_TRUE(AnyContains(e.verdict.failures, "Property line, group \"all\""));
  EXPECT_FALSE(AnyContains(e.verdict.failures, "Property line, group \"hf\""));
}

// ---- the verdict and the warnings ----

TEST(StationEvaluationTest, NothingToCheckIsNoCompliance) {
  const StationEvaluation e = EvaluateWithTestTables(DipoleStation(std::nullopt));
  EXPECT_FALSE(e.verdict.complies);
  EXPECT_TRUE(e.verdict.nothingToCheck);
  EXPECT_TRUE(AnyContains(e.verdict.failures, "no place and no property line"));
  // A place named: something to check, whatever the sums.
  EXPECT_FALSE(EvaluateWithTestTables(FigureF()).verdict.nothingToCheck);
}

TEST(StationEvaluationTest, AnInstallationThatCannotBeEvaluatedFailsTheVerdict) {
  station::Station s = FigureF();
  s.installations[1].transmitter = "missing";
  s.places[0].x = station::Length::InMetres(200);  // far enough for the yagi alone
  const StationEvaluation e = EvaluateWithTestTables(s);
  EXPECT_EQ(e.installations.size(), 1u);
  EXPECT_FALSE(e.verdict.complies);
  EXPECT_TRUE(
      AnyContains(e.verdict.failures,
                  "Installation \"20m-beam\" cannot be evaluated: there is no transmitter"));

  station::Station swr = FigureF();
  swr.places[0].x = station::Length::InMetres(200);
  station::Feedline f;
  f.id = "lossy";
  f.lossDb = 3.0L;
  f.swr = 4.0L;  // at the transmitter: Gamma 0.6 * 1.995 at the antenna
  f.swrAt = station::SwrAt::Transmitter;
  swr.feedlines = {f};
  swr.installations[0].feedline = "lossy";
  const StationEvaluation refused = EvaluateWithTestTables(swr);
  EXPECT_EQ(refused.installations.size(), 1u);
  EXPECT_TRUE(AnyContains(refused.verdict.failures, "the SWR measured at the transmitter"));

  // An SWR at the antenna so large that it is a whole reflection is said to
  // be that, not blamed on a measurement at the transmitter.
  f.swr = 1e30L;
  f.swrAt = station::SwrAt::Antenna;
  swr.feedlines = {f};
  const StationEvaluation atAntenna = EvaluateWithTestTables(swr);
  EXPECT_EQ(atAntenna.installations.size(), 1u);
  EXPECT_TRUE(AnyContains(atAntenna.verdict.failures, "the SWR at the antenna is too large"));
  EXPECT_FALSE(AnyContains(atAntenna.verdict.failures, "measured at the transmitter"));
  ASSERT_EQ(atAntenna.notEvaluated.size(), 1u);
  EXPECT_EQ(atAntenna.notEvaluated[0].id, swr.installations[0].id);
}

// A "wires" antenna evaluated without its near field has no gain: it is
// told how to get one, not that it "needs its gain".
TEST(StationEvaluationTest, AWiresAntennaWithoutItsNearFieldIsToldWhatToAdd) {
  station::Station s = FigureF();
  s.places[0].x = station::Length::InMetres(200);
  station::Antenna& a = s.antennas[0];
  a.kind = "wires";
  a.gain.reset();
  a.nearField.wires = {station::WireRow{-5, 0, 0, 5, 0, 0, 1}};
  const StationEvaluation e = Evaluate(s);
  EXPECT_TRUE(AnyContains(e.verdict.failures,
                          "evaluate the near field too (korrin-report "
                          "--near-field), or give the antenna kind = \"gain\""))
      << (e.verdict.failures.empty() ? "" : e.verdict.failures[0]);
  EXPECT_FALSE(AnyContains(e.verdict.failures, "needs its gain"));
  ASSERT_EQ(e.notEvaluated.size(), 1u);
  EXPECT_EQ(e.notEvaluated[0].id, s.installations[0].id);
  EXPECT_NE(e.notEvaluated[0].reason.find("--near-field"), std::string::npos);
}

struct WarningCase {
  const char* name;
  std::function<void(station::Station&)> change;
  const char* text;
  bool present;
};

class StationWarningTest : public ::testing::TestWithParam<WarningCase> {};

TEST_P(StationWarningTest, SaysWhereTheMethodIsWeakOrAssumes) {
  const WarningCase& c = GetParam();
  station::Station s = FigureF();
  c.change(s);
  const StationEvaluation e = EvaluateWithTestTables(s);
  EXPECT_EQ(AnyContains(e.warnings, c.text), c.present) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Warnings, StationWarningTest,
    ::testing::Values(
        // The 20 m beam's FCC general keep-out (5.37 m) lies outside
        // lambda / 2 pi = 3.36 m, its occupational one (2.40 m) inside.
        WarningCase{"keep-out inside lambda / 2 pi", [](station::Station&) {},
                    "\"20m-beam\": keep-out distances inside the reactive near field", true},
        WarningCase{"the yagi's keep-outs lie outside lambda / 2 pi", [](station::Station&) {},
                    "\"2m-yagi\": keep-out distances inside", false},
        WarningCase{"controlled place", [](station::Station& s) { s.places[0].controlled = true; },
                    "47 CFR 97.13(c)", true},
        WarningCase{"no controlled place", [](station::Station&) {}, "47 CFR 97.13(c)", false},
        WarningCase{"mode assumed", [](station::Station& s) { s.transmitters[1].mode.reset(); },
                    "\"hf\" names no mode and no duty factor", true},
        WarningCase{"duty given",
                    [](station::Station& s) {
                      s.transmitters[1].mode.reset();
                      s.transmitters[1].duty = 0.5L;
                    },
                    "names no mode", false},
        WarningCase{"cycle assumed", [](station::Station&) {},
                    "\"hf\" has no transmit/receive cycle", true},
        WarningCase{"cycle given", [](station::Station&) {},
                    "\"vhf\" has no transmit/receive cycle", false},
        WarningCase{"ground reflection assumed",
                    [](station::Station& s) { s.groundReflection.reset(); },
                    "does not say whether the ground reflects", true},
        WarningCase{"ground reflection set by each installation",
                    [](station::Station& s) {
                      s.groundReflection.reset();
                      for (station::Installation& i : s.installations) i.groundReflection = true;
                    },
                    "does not say whether the ground reflects", false},
        WarningCase{"ICNIRP below 30 MHz", [](station::Station&) {}, "E\u00b2/377", true},
        WarningCase{"nerve stimulation only below 10 MHz", [](station::Station&) {},
                    "nerve stimulation", false}));

}  // namespace
}  // namespace korrin::assess
