// Ground noise through the dish: mesh isolation, leakage, the solid dish,
// added feed-through, and the isolation model's pole.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

#include "core/Calc.h"
#include "core/Tables.h"
#include "ui/NumberText.h"

namespace korrin {
namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

StationState MeshStation(Real frequencyMHz, Real diameterMm = 1.0L, Real spacingMm = 12.7L) {
  StationState s{};
  s.FrequencyMHz = frequencyMHz;
  s.WavelengthM = 300.0L / frequencyMHz;
  s.AntennaGainRatio = 1000;
  s.SkyTempK = 15;
  s.RxBandwidthHz = 120;
  s.LnaLossDb = 0.1L;
  s.LnaNoiseFigureDb = 0.6L;
  s.LnaGainDb = 26;
  s.LnaRxLossDb = 2.0L;
  s.RxNoiseFigureDb = 1.0L;
  s.SpilloverTempK = 30;
  s.MeshWireDiameterMm = diameterMm;
  s.MeshSpacingMm = spacingMm;
  s.SolarFluxSfu = 160;
  s.BoltzmannConstant = 1.38e-23L;
  return s;
}

struct MeshCase {
  const char* name;
  Real frequencyMHz;
  bool solid;
  Real isolationDb;  // expected, to 0.05 dB
  Real leakK;        // expected, to 0.5 %
  const char* panel35;
  const char* panel56;
  const char* panel72;
};

void PrintTo(const MeshCase& c, std::ostream* os) {
  *os << c.name;
}

class MeshCases : public ::testing::TestWithParam<MeshCase> {};

TEST_P(MeshCases, IsolationLeakageAndTexts) {
  const MeshCase& c = GetParam();
  StationState s = MeshStation(c.frequencyMHz);
  s.SolidDish = c.solid;
  EvaluateNoise(s);
  EXPECT_NEAR(s.MeshAttenuationDb, c.isolationDb, 0.05L);
  EXPECT_NEAR(s.MeshLeakTempK, c.leakK, c.leakK * 0.005L);
  EXPECT_EQ(s.FeedThroughTempK, s.MeshLeakTempK);
  EXPECT_EQ("-" + FixedText(s.MeshAttenuationDb, 10, 1) + " dB", c.panel35);
  EXPECT_EQ(FixedText(s.FeedThroughTempK, 4, 0) + " \u00b0K", c.panel56);
  EXPECT_EQ(FixedText(s.FeedThroughDb, 10, 1) + " dB", c.panel72);
  EXPECT_EQ(s.MeshWireRadiusMm, 0.5L);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, MeshCases,
    ::testing::Values(
        MeshCase{"mesh_432", 432, false, 26.25L, 0.688L, "-26.2 dB", "1 \u00b0K", "0.0 dB"},
        MeshCase{"mesh_1296", 1296, false, 16.7L, 6.19L, "-16.7 dB", "6 \u00b0K", "0.1 dB"},
        MeshCase{"mesh_2304", 2304, false, 11.7L, 19.57L, "-11.7 dB", "20 \u00b0K", "0.3 dB"},
        // too coarse for the wavelength: the mesh passes the whole ground
        MeshCase{"mesh_10368", 10368, false, 1e-13L, 290, "-0.0 dB", "290 \u00b0K", "3.0 dB"},
        MeshCase{"mesh_24000", 24000, false, 1e-13L, 290, "-0.0 dB", "290 \u00b0K", "3.0 dB"},
        // the solid dish is the same at every frequency
        MeshCase{"solid_432", 432, true, 40, 0.029L, "-40.0 dB", "0 \u00b0K", "0.0 dB"},
        MeshCase{"solid_24000", 24000, true, 40, 0.029L, "-40.0 dB", "0 \u00b0K", "0.0 dB"},
        MeshCase{"solid_1_8", 1.8L, true, 40, 0.029L, "-40.0 dB", "0 \u00b0K", "0.0 dB"}),
    [](const auto& info) { return std::string(info.param.name); });

// The model written out as it reads, with e^x and e^x − 1; the program
// works the same ratio out in a form that cannot overflow.
Real DirectIsolationDb(Real wavelengthM, Real diameterMm, Real spacingMm) {
  const Real x = 2.0L * kPi * (diameterMm / 2.0L / 10.0L) / (spacingMm / 10.0L);
  const Real A = 0.83L * std::exp(x);
  const Real B = std::exp(x) - 1.0L;
  const Real L = std::log(A / B);
  const Real T = (wavelengthM * 100.0L) / (spacingMm / 10.0L) * (1.0L / L);
  return 10.0L * std::log10(T * T / 4.0L);
}

TEST(Mesh, AgreesWithTheModelAsWrittenAwayFromThePole) {
  const Real frequencies[] = {50, 144, 432, 1296, 5760, 1.8L, 29.7L};
  const Real spacings[] = {0.5L, 2.0L, 12.7L, 25.4L, 100.0L};
  for (Real f : frequencies) {
    for (Real spacing : spacings) {
      for (Real d = 0.01L; d < 2.0L * spacing; d += spacing / 37.0L) {
        const Real direct = DirectIsolationDb(300.0L / f, d, spacing);
        if (!(direct > 0.0L) || direct > 150.0L) continue;  // floored or close to the pole
        StationState s = MeshStation(f, d, spacing);
        EvaluateNoise(s);
        ASSERT_NEAR(s.MeshAttenuationDb, direct, 1e-9L * (1.0L + direct))
            << f << " MHz, wire " << static_cast<double>(d) << " mm, spacing "
            << static_cast<double>(spacing) << " mm";
      }
    }
  }
}

// The diameter at which ln(A/B) changes sign for this spacing: the pole.
Real PoleDiameterMm(Real spacingMm) {
  auto L = [&](Real d) {
    const Real x = kPi * d / spacingMm;
    return std::log(0.83L) - std::log(-std::expm1(-x));
  };
  Real lo = 0.5L * spacingMm, hi = 0.6L * spacingMm;  // L > 0 at lo, < 0 at hi
  for (int i = 0; i < 200; ++i) {
    const Real mid = (lo + hi) / 2;
    if (mid == lo || mid == hi) break;
    (L(mid) > 0 ? lo : hi) = mid;
  }
  return lo;
}

TEST(Mesh, PoleStaysFiniteAtTheCeiling) {
  for (Real spacing : {12.7L, 1.8L, 0.5L}) {
    const Real pole = PoleDiameterMm(spacing);
    EXPECT_NEAR(pole / spacing, std::log(1.0L / 0.17L) / kPi, 1e-6L);
    for (Real d : {pole, std::nextafter(pole, 1e9L)}) {
      StationState s = MeshStation(432, d, spacing);
      EvaluateNoise(s);
      EXPECT_EQ(s.MeshAttenuationDb, 200.0L) << static_cast<double>(d);
      EXPECT_TRUE(std::isfinite(s.MeshLeakTempK));
      EXPECT_GT(s.MeshLeakTempK, 0.0L);
      EXPECT_EQ("-" + FixedText(s.MeshAttenuationDb, 10, 1) + " dB", "-200.0 dB");
      EXPECT_EQ(FixedText(s.FeedThroughTempK, 4, 0), "0");
      EXPECT_TRUE(std::isfinite(s.SystemNoiseTempK));
    }
  }
}

TEST(Mesh, IsolationClimbsTowardsThePoleFromBothSides) {
  const Real spacing = 12.7L;
  const Real pole = PoleDiameterMm(spacing);
  Real previousBelow = 0, previousAbove = 0;
  for (Real gap : {1.0L, 0.1L, 0.01L, 0.001L}) {
    StationState below = MeshStation(432, pole - gap, spacing);
    StationState above = MeshStation(432, pole + gap, spacing);
    EvaluateNoise(below);
    EvaluateNoise(above);
    EXPECT_GT(below.MeshAttenuationDb, previousBelow);
    EXPECT_GT(above.MeshAttenuationDb, previousAbove);
    EXPECT_LT(below.MeshAttenuationDb, 200.0L);
    EXPECT_LT(above.MeshAttenuationDb, 200.0L);
    previousBelow = below.MeshAttenuationDb;
    previousAbove = above.MeshAttenuationDb;
  }
}

// A wire far thicker than the spacing (the diameter steps up without bound)
// overflows e^x in the model as written; the isolation must still come out
// at the model's limit for ever thicker wire, where ln(A/B) → ln 0.83.
TEST(Mesh, VeryThickWireReachesTheModelsLimit) {
  for (Real d : {100.0L, 5000.0L, 1e6L}) {
    StationState s = MeshStation(432, d, 0.5L);
    EvaluateNoise(s);
    const Real T = (300.0L / 432.0L * 100.0L) / 0.05L / std::log(0.83L);
    EXPECT_NEAR(s.MeshAttenuationDb, 10.0L * std::log10(T * T / 4.0L), 1e-9L)
        << static_cast<double>(d);
  }
}

// Every frequency of the band plan, a sweep of wire diameters and spacings
// from the finest the controls allow: every value the panel shows is finite.
TEST(Mesh, EveryReachableMeshGivesFiniteFigures) {
  std::vector<Real> frequencies;
  frequencies.reserve(kVhfBands.size() + kHfBands.size());
  for (const VhfBand& b : kVhfBands) frequencies.push_back(b.frequencyMHz);
  for (const HfBand& b : kHfBands) frequencies.push_back(b.frequencyMHz);
  const Real spacings[] = {0.01L, 0.05L, 0.5L, 1.0L, 1.7L, 1.8L, 4.0L, 12.7L, 50.0L, 1000.0L};
  for (Real f : frequencies) {
    for (Real spacing : spacings) {
      for (Real d = 0.01L; d < 40.0L; d += 0.13L) {
        for (bool solid : {false, true}) {
          StationState s = MeshStation(f, d, spacing);
          s.SolidDish = solid;
          EvaluateNoise(s);
          EvaluateEcho(s);
          const Real shown[] = {s.MeshAttenuationDb, s.MeshLeakTempK,    s.FeedThroughTempK,
                                s.FeedThroughDb,     s.SystemNoiseTempK, s.ColdSkyGroundYDb,
                                s.SunYFactorDb,      s.NoisePowerDbw};
          for (Real v : shown) {
            ASSERT_TRUE(std::isfinite(v)) << f << " MHz, wire " << static_cast<double>(d)
                                          << " mm, spacing " << static_cast<double>(spacing);
          }
          ASSERT_GT(s.MeshAttenuationDb, 0.0L);
          ASSERT_LE(s.MeshAttenuationDb, 200.0L);
          ASSERT_LE(s.MeshLeakTempK, 290.0L);
        }
      }
    }
  }
}

}  // namespace
}  // namespace korrin
