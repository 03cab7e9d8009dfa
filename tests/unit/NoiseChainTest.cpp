// The receive noise chain, the Y-factors and the echo budget, computed on a
// station filled in by hand (the antenna gain as the dish model gives it).
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

// The start-up station at 432 MHz: 9.5 m dish at 0.55 efficiency, 1500 W
// less 1 dB, and the receive chain, spillover and mesh of start-up.
StationState StartupStation() {
  StationState s{};
  s.FrequencyMHz = 432;
  s.WavelengthM = 300.0L / 432.0L;
  const Real ratio = std::pow(kPi * 9.5L / s.WavelengthM, 2) * 0.55L;
  s.AntennaGainRatio = ratio;
  s.DishGainDbi = 10.0L * std::log10(ratio);
  s.TxPowerW = 1500;
  s.FeedPowerDbw = 10.0L * std::log10(1500.0L) - 1.0L;
  s.PathLoss = 261;
  s.SkyTempK = 15;
  s.RxBandwidthHz = 120;
  s.LnaLossDb = 0.1L;
  s.LnaNoiseFigureDb = 0.6L;
  s.LnaGainDb = 26;
  s.LnaRxLossDb = 2.0L;
  s.RxNoiseFigureDb = 1.0L;
  s.SpilloverTempK = 30;
  s.MeshWireDiameterMm = 1.0L;
  s.MeshSpacingMm = 12.7L;
  s.SolarFluxSfu = 160;
  s.BoltzmannConstant = 1.38e-23L;
  return s;
}

std::string F(Real v, int p, int d) {
  return FixedText(v, p, d);
}

TEST(NoiseChain, StartupStationTermsAndTemperatures) {
  StationState s = StartupStation();
  const NoiseReport r = EvaluateNoise(s);
  // The five terms of the system temperature, one by one.
  const Real L1 = std::pow(10.0L, 0.01L);
  EXPECT_NEAR(s.LnaLossTempK, 6.75L, 0.005L);
  EXPECT_NEAR(s.SkyTempK + s.SpilloverTempK + s.FeedThroughTempK, 45.69L, 0.005L);
  EXPECT_NEAR(s.LnaNoiseTempK * L1, 43.97L, 0.005L);
  EXPECT_NEAR(s.SystemNoiseTempK, 97.15L, 0.005L);
  // The two small terms: what the chain adds beyond the loss ahead of the LNA
  // and the LNA itself is the loss behind the LNA plus the receiver.
  EXPECT_NEAR(r.ReceiverTempK - s.LnaLossTempK - s.LnaNoiseTempK * L1, 0.44L + 0.31L, 0.01L);
  EXPECT_NEAR(s.RxNoiseTempK, 75.09L, 0.005L);
  EXPECT_NEAR(s.LnaGainRatio, 398.107L, 0.001L);

  EXPECT_EQ(F(s.LnaNoiseTempK, 10, 1), "43.0");
  EXPECT_EQ(F(s.LnaLossTempK, 10, 1), "6.8");
  EXPECT_EQ(F(s.SystemNoiseTempK, 10, 1), "97.2");
  EXPECT_EQ(F(s.SystemNoiseFigureDb, 10, 2), "1.25");
  EXPECT_EQ(F(r.ReceiverTempK, 10, 1), "51.5");
  EXPECT_EQ(F(r.ReceiverNoiseFigureDb, 10, 2), "0.71");
  EXPECT_EQ(F(r.SpilloverDb, 10, 1), "0.4");
  EXPECT_EQ(F(s.ColdSkyGroundYDb, 10, 1), "5.9");
  EXPECT_EQ(F(s.SunYFactorDb, 3, 1), "20.2");
  EXPECT_NEAR(s.GainOverTemp, s.AntennaGainRatio / s.SystemNoiseTempK, 1e-12L);
  EXPECT_NEAR(s.SunFluxDensity, 40e-22L, 1e-30L);
}

struct ChainCase {
  const char* name;
  Real lnaLossDb, lnaNfDb, lnaGainDb, rxLossDb, rxNfDb;
  const char* sysText;  // "T = F"
  const char* rxText;
};

void PrintTo(const ChainCase& c, std::ostream* os) {
  *os << c.name;
}

class NoiseChainCases : public ::testing::TestWithParam<ChainCase> {};

TEST_P(NoiseChainCases, SystemAndReceiverTemperatures) {
  const ChainCase& c = GetParam();
  StationState s = StartupStation();
  s.LnaLossDb = c.lnaLossDb;
  s.LnaNoiseFigureDb = c.lnaNfDb;
  s.LnaGainDb = c.lnaGainDb;
  s.LnaRxLossDb = c.rxLossDb;
  s.RxNoiseFigureDb = c.rxNfDb;
  const NoiseReport r = EvaluateNoise(s);
  EXPECT_EQ(F(s.SystemNoiseTempK, 10, 1) + " = " + F(s.SystemNoiseFigureDb, 10, 2), c.sysText);
  EXPECT_EQ(F(r.ReceiverTempK, 10, 1) + " = " + F(r.ReceiverNoiseFigureDb, 10, 2), c.rxText);
}

INSTANTIATE_TEST_SUITE_P(Chains, NoiseChainCases,
                         ::testing::Values(ChainCase{"startup", 0.1L, 0.6L, 26, 2.0L, 1.0L,
                                                     "97.2 = 1.25", "51.5 = 0.71"},
                                           ChainCase{"floors", 0.01L, 0.01L, 26, 0, 0,
                                                     "47.0 = 0.65", "1.3 = 0.02"},
                                           ChainCase{"no_lna_gain", 0.1L, 0.6L, 0, 2.0L, 1.0L,
                                                     "391.8 = 3.71", "346.1 = 3.41"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NoiseChain, ColdSkyYFactorLeavesOutTheReceiverAndLnaGain) {
  StationState s = StartupStation();
  EvaluateNoise(s);
  const Real y = s.ColdSkyGroundYDb;
  s.RxNoiseFigureDb = 10;
  s.LnaRxLossDb = 6;
  s.LnaGainDb = 3;
  EvaluateNoise(s);
  EXPECT_EQ(s.ColdSkyGroundYDb, y);
  // A sky as warm as the ground gives no ratio at all.
  s.SkyTempK = 290;
  EvaluateNoise(s);
  EXPECT_NEAR(s.ColdSkyGroundYDb, 0.0L, 1e-15L);
}

// The sun flux factor is found by exact frequency; every band has one, any
// other frequency (the HF bands, a frequency a hair off a band) none.
struct SunCase {
  Real frequencyMHz;
  Real factor;
};

void PrintTo(const SunCase& c, std::ostream* os) {
  *os << static_cast<double>(c.frequencyMHz) << " MHz";
}

class SunFluxCases : public ::testing::TestWithParam<SunCase> {};

TEST_P(SunFluxCases, FluxAtTheOperatingFrequency) {
  const SunCase& c = GetParam();
  StationState s = StartupStation();
  s.FrequencyMHz = c.frequencyMHz;
  s.WavelengthM = 300.0L / c.frequencyMHz;
  EvaluateNoise(s);
  EXPECT_NEAR(s.SunFluxDensity, 160.0L * c.factor * 1e-22L, 1e-32L);
  if (c.factor == 0) {
    EXPECT_EQ(s.SunYFactorDb, 0.0L);
    EXPECT_EQ(F(s.SunYFactorDb, 3, 1), "0.0");
  } else {
    EXPECT_GT(s.SunYFactorDb, 0.0L);
  }
}

INSTANTIATE_TEST_SUITE_P(Bands, SunFluxCases,
                         ::testing::Values(SunCase{50, 0.009L}, SunCase{144, 0.0673L},
                                           SunCase{220, 0.15L}, SunCase{432, 0.25L},
                                           SunCase{900, 0.45L}, SunCase{1296, 0.65L},
                                           SunCase{2304, 0.9074L}, SunCase{3456, 1.1L},
                                           SunCase{5760, 1.4133L}, SunCase{10368, 2.3002L},
                                           SunCase{24000, 7}, SunCase{48000, 14}, SunCase{1.8L, 0},
                                           SunCase{14.2L, 0}, SunCase{29.7L, 0},
                                           SunCase{432.0000001L, 0}));

// ---- echo ----------------------------------------------------------------

TEST(Echo, TenfoldBandwidthCostsTenDecibels) {
  StationState s = StartupStation();
  EvaluateNoise(s);
  EvaluateEcho(s);
  const Real snr = s.EchoSnrDb;
  const Real noise = s.NoisePowerDbw;
  s.RxBandwidthHz *= 10;
  EvaluateNoise(s);
  EvaluateEcho(s);
  EXPECT_NEAR(s.EchoSnrDb, snr - 10.0L, 1e-12L);
  EXPECT_NEAR(s.NoisePowerDbw, noise + 10.0L, 1e-12L);
  EXPECT_EQ(F(s.EchoSnrDb, 4, 1), "7.8");
  EXPECT_EQ(F(s.NoisePowerDbw + 30.0L, 6, 1), "-147.9");
}

// The antenna in use sends and hears: its gain counts twice in the echo,
// and its power ratio sets the sun's Y-factor.
struct GainCase {
  const char* name;
  Real gainDbi;
  const char* echo;
  const char* sunY;
};

void PrintTo(const GainCase& c, std::ostream* os) {
  *os << c.name;
}

class EchoGainCases : public ::testing::TestWithParam<GainCase> {};

TEST_P(EchoGainCases, GainInUseCountsTwice) {
  const GainCase& c = GetParam();
  StationState s = StartupStation();
  s.DishGainDbi = c.gainDbi;
  s.AntennaGainRatio = std::pow(10.0L, c.gainDbi / 10.0L);
  EvaluateNoise(s);
  EvaluateEcho(s);
  EXPECT_EQ(F(s.EchoSnrDb, 4, 1), c.echo);
  EXPECT_EQ(F(s.SunYFactorDb, 3, 1), c.sunY);

  StationState lower = s;
  lower.DishGainDbi -= 1.0L;
  EvaluateEcho(lower);
  EXPECT_NEAR(s.EchoSnrDb - lower.EchoSnrDb, 2.0L, 1e-12L);
}

INSTANTIATE_TEST_SUITE_P(Antennas, EchoGainCases,
                         ::testing::Values(GainCase{"one_yagi", 16.8L, "-8.7", "7.7"},
                                           GainCase{"dipole", 2.0L, "-38.3", "0.6"},
                                           GainCase{"dish_30_07", 30.068346296507062L, "17.8",
                                                    "20.2"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- path-loss cue -------------------------------------------------------

struct PathLossCase {
  Real frequencyMHz;
  Real pathLoss;
  bool changed;
};

void PrintTo(const PathLossCase& c, std::ostream* os) {
  *os << static_cast<double>(c.frequencyMHz) << " MHz, " << static_cast<double>(c.pathLoss)
      << " dB";
}

class PathLossCases : public ::testing::TestWithParam<PathLossCase> {};

TEST_P(PathLossCases, ChangedOnlyAgainstTheBandsOwnValue) {
  const PathLossCase& c = GetParam();
  StationState s{};
  s.FrequencyMHz = c.frequencyMHz;
  s.PathLoss = c.pathLoss;
  EXPECT_EQ(MarkPathLossChange(s), c.changed);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, PathLossCases,
    ::testing::Values(PathLossCase{432, 261, false}, PathLossCase{432, 261.5L, true},
                      PathLossCase{432, 256, true}, PathLossCase{50, 242, false},
                      PathLossCase{220, 255.7L, false}, PathLossCase{220, 255.7000001L, true},
                      PathLossCase{10368, 288.3L, false}, PathLossCase{48000, 301.9L, false},
                      PathLossCase{48000, 0, true},
                      // another band's value is still a change
                      PathLossCase{1296, 261, true},
                      // outside the band plan nothing is marked
                      PathLossCase{1.8L, 261, false}, PathLossCase{29.7L, 0, false},
                      PathLossCase{433, 1, false}));

TEST(PathLossCue, EveryBandIsUnmarkedAtItsOwnValue) {
  for (const VhfBand& band : kVhfBands) {
    StationState s{};
    s.FrequencyMHz = band.frequencyMHz;
    s.PathLoss = band.pathLossDb;
    EXPECT_FALSE(MarkPathLossChange(s)) << band.caption;
    s.PathLoss += 0.5L;
    EXPECT_TRUE(MarkPathLossChange(s)) << band.caption;
  }
}

}  // namespace
}  // namespace korrin
