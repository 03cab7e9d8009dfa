// The evaluation of station files as the program reads them, with the
// program's own data tables (the 80 m band of region 2, the FT8 mode's own
// cycle, the half-wave dipole's 2.15 dBi): the worked figures again, from
// the file's words to the evaluation, and the example file evaluated whole.
#include <gtest/gtest.h>

#include <string>

#include "assess/StationEvaluation.h"
#include "station/StationFile.h"

namespace korrin::assess {
namespace {

double D(Real v) {
  return static_cast<double>(v);
}

StationEvaluation EvaluateText(const std::string& text) {
  const station::ReadResult read = station::ParseStation(text, "test.station.toml");
  EXPECT_TRUE(read.errors.empty()) << station::FormatDiagnostics(read.errors);
  if (!read.station) return {};
  return Evaluate(*read.station);
}

const std::string kHead = "format = \"korrin-station/1\"\ncallsign = \"VK9ZZT\"\nregion = 2\n";

// Figure A': 100 W CW into a dipole on the 80 m band of region 2
// (3.5-4.0 MHz), ground reflection on, no feed line.
TEST(StationEvaluationFileTest, EightyMetreDipoleFromTheBandTable) {
  const StationEvaluation e = EvaluateText(kHead + R"(
[[transmitter]]
id = "rig"
power-w = 100
mode = "cw"

[[antenna]]
id = "dipole"
kind = "dipole"
x-m = 0
y-m = 0
height-m = 10

[[installation]]
id = "80m"
transmitter = "rig"
antenna = "dipole"
band = "80m"
)");
  ASSERT_EQ(e.installations.size(), 1u);
  const InstallationResult& r = e.installations[0];
  EXPECT_EQ(D(r.lowerMHz), 3.5);
  EXPECT_EQ(D(r.upperMHz), 4.0);
  // FCC general at the upper edge: 1800 / 16 = 112.5 W/m^2, R = 0.345 m.
  const CriterionResult* fcc = r.Find(LimitSetChoice::Fcc, Tier::General)->Governing();
  EXPECT_EQ(D(fcc->frequencyMHz), 4.0);
  EXPECT_NEAR(D(fcc->keepOutM), 0.345, 5e-4);
  // ICNIRP general: 0.625 m averaged, 1.352 m at 83 V/m on the 100 W peak.
  const TierResult* icnirp = r.Find(LimitSetChoice::Icnirp2020, Tier::General);
  EXPECT_NEAR(D(icnirp->timeAveraged->keepOutM), 0.625, 5e-4);
  EXPECT_EQ(icnirp->Governing()->criterion, Criterion::Instantaneous);
  EXPECT_NEAR(D(*icnirp->KeepOutM()), 1.352, 5e-4);
  const TierResult* occupational = r.Find(LimitSetChoice::Icnirp2020, Tier::Occupational);
  EXPECT_NEAR(D(occupational->timeAveraged->keepOutM), 0.284, 5e-4);
  EXPECT_NEAR(D(occupational->instantaneous->keepOutM), 0.660, 5e-4);
}

// Figure B: 1500 W FT8 (its own 15 s / 15 s cycle) into a dipole at 7.1 MHz.
TEST(StationEvaluationFileTest, Ft8ExemptionFromTheModeTable) {
  const StationEvaluation e = EvaluateText(kHead + R"(
[[transmitter]]
id = "amp"
power-w = 1500
mode = "ft8"

[[antenna]]
id = "dipole"
kind = "dipole"
x-m = 0
y-m = 0
height-m = 10

[[installation]]
id = "40m"
transmitter = "amp"
antenna = "dipole"
frequency-mhz = 7.1
)");
  ASSERT_EQ(e.installations.size(), 1u);
  const InstallationExemption& x = *e.installations[0].fccExemption;
  EXPECT_NEAR(D(x.erpW), 750.27, 0.005);
  EXPECT_NEAR(D(x.thresholdDistanceM), 3.311, 5e-4);
  EXPECT_NEAR(D(x.minimumDistanceM), 6.720, 5e-4);
}

// Figure F, written as a file.
TEST(StationEvaluationFileTest, TwoInstallationsTogetherFromTheFile) {
  const StationEvaluation e = EvaluateText(kHead + R"(
ground-reflection = true

[[transmitter]]
id = "vhf"
power-w = 200
mode = "fm"
on-minutes = 3
off-minutes = 7

[[transmitter]]
id = "hf"
power-w = 1000
mode = "ssb"

[[antenna]]
id = "yagi"
kind = "yagi"
gain-dbi = 13
x-m = 0
y-m = 0
height-m = 10

[[antenna]]
id = "beam"
kind = "yagi"
gain-dbi = 8
x-m = 0
y-m = 0
height-m = 18

[[installation]]
id = "2m-yagi"
transmitter = "vhf"
antenna = "yagi"
frequency-mhz = 144.2

[[installation]]
id = "20m-beam"
transmitter = "hf"
antenna = "beam"
frequency-mhz = 14.2

[[place]]
name = "Neighbour's garden"
x-m = 8
y-m = 0
height-m = 2
controlled = false
)");
  ASSERT_EQ(e.places.size(), 1u);
  const PlaceResult& p = e.places[0];
  ASSERT_GE(p.sums.size(), 2u);
  EXPECT_NEAR(D(p.sums[0].sum), 1.0427, 5e-5);  // FCC general, group "all"
  EXPECT_NEAR(D(p.sums[1].sum), 1.0908, 5e-5);  // ICNIRP 2020 general
  EXPECT_NEAR(D(p.fccExemptionSums[0].sum), 1.630, 5e-4);
  EXPECT_FALSE(e.verdict.complies);
}

// The example file uses every key: every installation must be evaluated,
// each with a keep-out distance under every tier that applies.
TEST(StationEvaluationFileTest, ExampleFileEvaluatesWhole) {
  const station::ReadResult read = station::ReadStationFile(std::string(KORRIN_SOURCE_DIR) +
                                                            "/data/examples/example.station.toml");
  ASSERT_TRUE(read.station.has_value()) << station::FormatDiagnostics(read.errors);
  const StationEvaluation e = Evaluate(*read.station);
  EXPECT_EQ(e.installations.size(), read.station->installations.size());
  for (const std::string& f : e.verdict.failures) {
    EXPECT_EQ(f.find("cannot be evaluated"), std::string::npos) << f;
  }
  for (const InstallationResult& r : e.installations) {
    EXPECT_EQ(r.results.size(), 4u) << r.id;
    for (const TierResult& t : r.results) {
      ASSERT_TRUE(t.KeepOutM().has_value()) << r.id;
      EXPECT_GT(D(*t.KeepOutM()), 0.0) << r.id;
    }
  }
  EXPECT_EQ(e.places.size(), 3u);
  EXPECT_FALSE(e.property.empty());
  // Two groups named and one left to "all"; the dish takes no ground factor.
  EXPECT_EQ(D(e.FindInstallation("23cm-eme")->groundFactor), 1.0);
}

}  // namespace
}  // namespace korrin::assess
