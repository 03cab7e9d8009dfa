// The rules where the licensee lives: the limit sets read from
// data/limit-sets.csv against the rules' own formulas worked by hand, the
// countries' defaults, the threshold tests and the worked figures of a
// station evaluated by them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "assess/Assessment.h"
#include "assess/StationEvaluation.h"
#include "station/Rules.h"
#include "station/StationFile.h"
#include "station/TablesText.h"
#include "ui/station/Edit.h"

namespace korrin::assess {
namespace {

double D(Real v) {
  return static_cast<double>(v);
}

std::string FileText(const std::string& relative) {
  std::ifstream in(std::string(KORRIN_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(RulesTablesTest, BuiltInTextIsTheFileOnDiskAndEveryRowReads) {
  EXPECT_EQ(station::TableText_limit_sets(), FileText("data/limit-sets.csv"));
  EXPECT_EQ(station::TableText_countries(), FileText("data/countries.csv"));
  EXPECT_EQ(station::TableText_threshold_tests(), FileText("data/threshold-tests.csv"));
  EXPECT_EQ(station::TableText_country_bands(), FileText("data/country-bands.csv"));
  for (const std::string& p : station::RulesTableProblems()) ADD_FAILURE() << p;
  ASSERT_FALSE(station::LimitRows().empty());
  ASSERT_FALSE(station::Countries().empty());
  ASSERT_FALSE(station::ThresholdRows().empty());
  for (const auto& r : station::LimitRows()) EXPECT_FALSE(r.source.empty()) << r.set;
  for (const auto& r : station::Countries()) EXPECT_FALSE(r.source.empty()) << r.code;
  for (const auto& r : station::ThresholdRows()) EXPECT_FALSE(r.source.empty()) << r.test;
}

// Where a rule gives both E and S, its S is E^2 / 377 to the rounding of
// its printed figures, at both ends of every row: a mistyped coefficient
// or exponent shows.  ICNIRP 1998 rounds its E to two figures, up to 5 %
// in density (28 V/m is 2.08 W/m^2 against its 2 W/m^2; 3 f^0.5 V/m at
// 400 MHz is 9.55 W/m^2 against f/40 = 10); Safety Code 6 keeps three or
// four (0.158 f^0.5 V/m is 9.93 W/m^2 at 150 GHz against 10).
TEST(RulesTablesTest, DensityAgreesWithTheFieldStrengthOfEachRow) {
  for (const station::LimitRow& r : station::LimitRows()) {
    if (!r.sWPerM2) continue;
    for (Real f : {r.lowerMHz, r.upperMHz}) {
      const Real e = r.eVPerM * std::pow(f, r.eExponent);
      const double rounding = r.set == "icnirp-1998" ? 0.05 : 0.01;
      EXPECT_NEAR(D(r.DensityWm2(f) / (e * e / 377.0L)), 1.0, rounding)
          << r.set << (r.occupational ? " occupational" : " general") << " at " << D(f) << " MHz";
    }
  }
}

// Each limit set's curve is continuous across its rows to the rounding of
// the printed figures (2 %), except at the one step each rule has on
// purpose: ICNIRP 1998 below 10 MHz gives E alone, 87/sqrt(10) V/m (2.008
// W/m^2) against 2 W/m^2 above.
TEST(RulesTablesTest, CurvesMeetAtTheirBreakpoints) {
  const auto& rows = station::LimitRows();
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const station::LimitRow& a = rows[i - 1];
    const station::LimitRow& b = rows[i];
    if (a.set != b.set || a.occupational != b.occupational || a.instantaneous != b.instantaneous)
      continue;
    const Real f = b.lowerMHz;
    EXPECT_NEAR(D(b.DensityWm2(f) / a.DensityWm2(f)), 1.0, 0.02)
        << b.set << (b.occupational ? " occupational" : " general") << " at " << D(f) << " MHz";
    EXPECT_NEAR(D(b.AveragingMinutesAt(f) / a.AveragingMinutesAt(f)), 1.0, 0.02)
        << b.set << " averaging at " << D(f) << " MHz";
  }
}

struct LimitCase {
  LimitSet set;
  Real frequencyMHz;
  std::optional<Real> limitWm2;  // empty: the set does not apply
  Real tolerance;                // the worked value's last digit
};

class NewSetLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(NewSetLimitTest, LimitAtFrequency) {
  const LimitCase& c = GetParam();
  const std::optional<Real> limit = LimitAtFrequency(c.set, c.frequencyMHz);
  ASSERT_EQ(limit.has_value(), c.limitWm2.has_value())
      << LimitSetId(c.set) << " at " << D(c.frequencyMHz) << " MHz";
  if (!limit) return;
  EXPECT_NEAR(D(*limit), D(*c.limitWm2), D(c.tolerance))
      << LimitSetId(c.set) << " at " << D(c.frequencyMHz) << " MHz";
}

INSTANTIATE_TEST_SUITE_P(
    WorkedByHand, NewSetLimitTest,
    ::testing::Values(
        // ICNIRP 1998 general public: 87 V/m below 1 MHz, 87^2 / 377 = 20.077 W/m^2
        LimitCase{LimitSet::Icnirp1998, 0.0999L, std::nullopt, 0},
        LimitCase{LimitSet::Icnirp1998, 0.5L, 20.077L, 5e-4L},
        // 3.6 MHz: (87 / sqrt(3.6))^2 / 377 = 7569 / 1357.2 = 5.5770 W/m^2
        LimitCase{LimitSet::Icnirp1998, 3.6L, 5.5770L, 5e-4L},
        // 2 W/m^2 for 10-400 MHz; f / 200 above: 432 / 200 = 2.16; 10 W/m^2 from 2 GHz
        LimitCase{LimitSet::Icnirp1998, 14.2L, 2.0L, 1e-12L},
        LimitCase{LimitSet::Icnirp1998, 432.0L, 2.16L, 1e-12L},
        LimitCase{LimitSet::Icnirp1998, 10368.0L, 10.0L, 1e-12L},
        LimitCase{LimitSet::Icnirp1998, 300001.0L, std::nullopt, 0},
        // occupational: 610 / f V/m at 3.6 MHz: (169.44)^2 / 377 = 76.158; f / 40 at 1296 = 32.4
        LimitCase{LimitSet::Icnirp1998Occupational, 3.6L, 76.158L, 5e-3L},
        LimitCase{LimitSet::Icnirp1998Occupational, 144.0L, 10.0L, 1e-12L},
        LimitCase{LimitSet::Icnirp1998Occupational, 1296.0L, 32.4L, 1e-12L},
        // Safety Code 6 uncontrolled: 2 W/m^2 for 10-20 MHz; 8.944 / sqrt(28.5) = 1.6754;
        // 1.291 for 48-300 MHz; 432^0.6834 = e^(0.6834 * 6.0684) = e^4.1471 = 63.253,
        // 0.02619 * 63.253 = 1.6566
        LimitCase{LimitSet::Sc6Uncontrolled, 14.2L, 2.0L, 1e-12L},
        LimitCase{LimitSet::Sc6Uncontrolled, 28.5L, 1.6754L, 5e-5L},
        LimitCase{LimitSet::Sc6Uncontrolled, 146.0L, 1.291L, 1e-12L},
        LimitCase{LimitSet::Sc6Uncontrolled, 432.0L, 1.6566L, 5e-4L},
        // below 10 MHz the plane-wave density of 87 / sqrt(f): at 7.1 MHz 7569 / (377 * 7.1)
        // = 2.8277
        LimitCase{LimitSet::Sc6Uncontrolled, 7.1L, 2.8277L, 5e-4L},
        // controlled: 44.72 / sqrt(28.5) = 8.3768; 0.6455 * sqrt(1296) = 23.238
        LimitCase{LimitSet::Sc6Controlled, 28.5L, 8.3768L, 5e-4L},
        LimitCase{LimitSet::Sc6Controlled, 1296.0L, 23.238L, 5e-4L}));

// The averaging time shrinks above 10 GHz (ICNIRP 1998: 68 / f^1.05 with
// f in GHz) and above 15 GHz (Safety Code 6: 616000 / f^1.2 with f in MHz).
TEST(RulesTablesTest, AveragingTimeAboveTenGigahertz) {
  EXPECT_NEAR(D(LimitAveragingMinutesAt(LimitSet::Icnirp1998, 14.2L)), 6.0, 1e-12);
  // 24 GHz: 68 / 24^1.05 = 68 / 28.17 = 2.414 min
  EXPECT_NEAR(D(LimitAveragingMinutesAt(LimitSet::Icnirp1998, 24000.0L)), 2.414, 5e-3);
  // 24 GHz: 24000^1.2 = e^(1.2 * 10.0858) = e^12.1030 = 180400; 616000 / 180400 = 3.415 min
  EXPECT_NEAR(D(LimitAveragingMinutesAt(LimitSet::Sc6Uncontrolled, 24000.0L)), 3.415, 5e-3);
}

station::Station Read(const std::string& text) {
  const station::ReadResult read = station::ParseStation(text, "test.station.toml");
  EXPECT_TRUE(read.errors.empty()) << station::FormatDiagnostics(read.errors);
  return read.station.value_or(station::Station{});
}

const std::string kHead = "format = \"korrin-station/1\"\ncallsign = \"VE3ZZT\"\n";

// 100 W CW (duty 0.4) into a dipole (2.15 dBi), no feed line, ground
// reflection on, at `where` (a frequency-mhz or band line).
std::string CwDipole(const std::string& where, const std::string& power = "100") {
  return R"(
[[transmitter]]
id = "rig"
power-w = )" +
         power +
         R"(
mode = "cw"

[[antenna]]
id = "dipole"
kind = "dipole"
x-m = 0
y-m = 0
height-m = 10

[[installation]]
id = "hf"
transmitter = "rig"
antenna = "dipole"
)" + where +
         "\n";
}

// sqrt(2.56 * 40 W * 1.6406 / (4 pi * 2 W/m^2)) = sqrt(167.996 / 25.1327) = 2.5854 m:
// the 40 W are 100 W * 0.4, the six-minute average of a transmitter
// without a cycle; 1.6406 = 10^(2.15 / 10).
constexpr double kKeepOutAtTwoWattsM = 2.5854;

TEST(RulesEvaluationTest, IcnirpNineteenNinetyEightTwentyMetres) {
  const StationEvaluation e =
      Evaluate(Read(kHead + "country = \"DE\"\n" + CwDipole("frequency-mhz = 14.2")));
  ASSERT_EQ(e.installations.size(), 1u);
  ASSERT_EQ(e.limitSets, std::vector<LimitSetChoice>{LimitSetChoice::Icnirp1998});
  const TierResult* t = e.installations[0].Find(LimitSetChoice::Icnirp1998, Tier::General);
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(t->timeAveraged);
  EXPECT_EQ(D(t->averagingMinutes), 6.0);
  EXPECT_EQ(D(t->timeAveraged->limitWm2), 2.0);
  EXPECT_NEAR(D(t->timeAveraged->powerW), 40.0, 1e-9);
  EXPECT_NEAR(D(t->timeAveraged->keepOutM), kKeepOutAtTwoWattsM, 5e-5);
  EXPECT_FALSE(t->instantaneous);  // ICNIRP 1998 has no instantaneous levels here
}

// Canada: Safety Code 6, uncontrolled, 2 W/m^2 for 10-20 MHz gives the
// same 2.5854 m; at 28.5 MHz 8.944 / sqrt(28.5) = 1.6754 W/m^2 and
// sqrt(167.996 / (4 pi * 1.6754)) = sqrt(7.9793) = 2.8248 m.
TEST(RulesEvaluationTest, SafetyCodeSixInCanada) {
  struct Row {
    const char* where;
    double limitWm2;
    double keepOutM;
  };
  for (const Row& row : {Row{"frequency-mhz = 14.2", 2.0, kKeepOutAtTwoWattsM},
                         Row{"frequency-mhz = 28.5", 1.6754, 2.8248}}) {
    const StationEvaluation e = Evaluate(Read(kHead + "country = \"CA\"\n" + CwDipole(row.where)));
    ASSERT_EQ(e.installations.size(), 1u) << row.where;
    EXPECT_EQ(e.region, 2);
    const TierResult* t = e.installations[0].Find(LimitSetChoice::Sc6, Tier::General);
    ASSERT_NE(t, nullptr) << row.where;
    EXPECT_NEAR(D(t->timeAveraged->limitWm2), row.limitWm2, 5e-5) << row.where;
    EXPECT_NEAR(D(t->timeAveraged->keepOutM), row.keepOutM, 5e-5) << row.where;
  }
}

// Safety Code 6 below 10 MHz at 3.6 MHz: the nerve-stimulation level of
// 83 V/m on the 100 W peak, 83^2 / 377 = 18.273 W/m^2, gives
// sqrt(2.56 * 100 * 1.6406 / (4 pi * 18.273)) = sqrt(1.8291) = 1.3524 m;
// the six-minute level 87 / sqrt(3.6) V/m, 7569 / 1357.2 = 5.5769 W/m^2,
// on the 40 W average gives sqrt(167.996 / 70.082) = 1.5483 m and governs.
TEST(RulesEvaluationTest, SafetyCodeSixNerveStimulationOnEightyMetres) {
  const StationEvaluation e =
      Evaluate(Read(kHead + "country = \"CA\"\n" + CwDipole("frequency-mhz = 3.6")));
  ASSERT_EQ(e.installations.size(), 1u);
  const TierResult* t = e.installations[0].Find(LimitSetChoice::Sc6, Tier::General);
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(t->instantaneous);
  EXPECT_NEAR(D(t->instantaneous->limitWm2), 18.273, 5e-4);
  EXPECT_NEAR(D(t->instantaneous->keepOutM), 1.3524, 5e-4);
  EXPECT_NEAR(D(t->timeAveraged->limitWm2), 5.5769, 5e-4);
  EXPECT_NEAR(D(t->timeAveraged->keepOutM), 1.5483, 5e-4);
  EXPECT_EQ(t->Governing()->criterion, Criterion::TimeAveraged);
}

// The band edges follow the country's band plan: a British 70 cm
// installation is evaluated over 430-440 MHz (region 1), not the 420-450
// MHz of region 2 that a file without a country assumes; British 60 m
// spans the UK's own segments, 5258.5-5406.5 kHz, where Germany keeps
// region 1's 5351.5-5366.5 kHz.
TEST(RulesEvaluationTest, CountryChoosesTheBandPlan) {
  struct Row {
    const char* country;
    const char* band;
    double lowerMHz;
    double upperMHz;
  };
  for (const Row& row : {Row{"country = \"GB\"\n", "band = \"70cm\"", 430, 440},
                         Row{"", "band = \"70cm\"", 420, 450},
                         Row{"country = \"GB\"\n", "band = \"60m\"", 5.2585, 5.4065},
                         Row{"country = \"DE\"\n", "band = \"60m\"", 5.3515, 5.3665}}) {
    const StationEvaluation e = Evaluate(Read(kHead + row.country + CwDipole(row.band)));
    ASSERT_EQ(e.installations.size(), 1u) << row.country << row.band;
    EXPECT_NEAR(D(e.installations[0].lowerMHz), row.lowerMHz, 1e-12) << row.country << row.band;
    EXPECT_NEAR(D(e.installations[0].upperMHz), row.upperMHz, 1e-12) << row.country << row.band;
  }
}

// The threshold tests, each at a power either side of its threshold.  The
// six-minute average EIRP of CW (duty 0.4) into the dipole is P * 0.4 *
// 1.6406: 15 W gives 9.844 W, 16 W gives 10.50 W (Ofcom, 10 W).  BEMFV
// takes the peak: 6 W gives 9.844 W, 7 W gives 11.48 W.  RSS-102 at 28.5
// MHz: 4.49 / sqrt(28.5) = 0.8410 W; 1.2 W gives 0.7875 W, 1.5 W 0.9844 W.
TEST(RulesEvaluationTest, ThresholdTestsEitherSide) {
  struct Row {
    const char* country;
    const char* power;
    const char* where;
    const char* test;
    double eirpW;
    double thresholdW;
    bool below;
  };
  for (const Row& row : {
           Row{"GB", "15", "frequency-mhz = 14.2", "ofcom-2021", 9.8438, 10, true},
           Row{"GB", "16", "frequency-mhz = 14.2", "ofcom-2021", 10.500, 10, false},
           Row{"DE", "6", "frequency-mhz = 14.2", "bemfv-2002", 9.8438, 10, true},
           Row{"DE", "7", "frequency-mhz = 14.2", "bemfv-2002", 11.484, 10, false},
           Row{"CA", "1.2", "frequency-mhz = 28.5", "rss-102-2015", 0.78750, 0.84105, true},
           Row{"CA", "1.5", "frequency-mhz = 28.5", "rss-102-2015", 0.98438, 0.84105, false},
       }) {
    const StationEvaluation e = Evaluate(
        Read(kHead + "country = \"" + row.country + "\"\n" + CwDipole(row.where, row.power)));
    ASSERT_EQ(e.installations.size(), 1u) << row.country << " " << row.power;
    const std::optional<ThresholdResult>& t = e.installations[0].threshold;
    ASSERT_TRUE(t) << row.country;
    EXPECT_EQ(t->test, row.test);
    EXPECT_NEAR(D(t->eirpW), row.eirpW, 5e-4) << row.country << " " << row.power;
    EXPECT_NEAR(D(t->thresholdW), row.thresholdW, 5e-5) << row.country;
    EXPECT_EQ(t->below, row.below) << row.country << " " << row.power;
    EXPECT_FALSE(t->source.empty());
  }
}

// An EIRP equal to the threshold: Ofcom's condition applies above 10 W,
// BEMFV's notification from 10 W on.  1 W of FM (duty 1) into an antenna
// of 10 dBi is exactly 10 W EIRP, averaged or at the peak.
TEST(RulesEvaluationTest, ThresholdTiesReadAsEachRuleSays) {
  struct Row {
    const char* country;
    const char* power;
    bool below;
  };
  for (const Row& row : {Row{"GB", "1", true}, Row{"DE", "1", false}}) {
    const std::string text = kHead + "country = \"" + row.country + "\"\n" + R"(
[[transmitter]]
id = "rig"
power-w = )" + row.power + R"(
mode = "fm"

[[antenna]]
id = "beam"
kind = "gain"
gain-dbi = 10
x-m = 0
y-m = 0
height-m = 10

[[installation]]
id = "hf"
transmitter = "rig"
antenna = "beam"
frequency-mhz = 14.2
)";
    const StationEvaluation e = Evaluate(Read(text));
    ASSERT_EQ(e.installations.size(), 1u) << row.country;
    ASSERT_TRUE(e.installations[0].threshold) << row.country;
    EXPECT_NEAR(D(e.installations[0].threshold->eirpW), 10.0, 1e-9) << row.country;
    EXPECT_EQ(e.installations[0].threshold->below, row.below) << row.country;
  }
}

// The country key in the station file: its defaults, the file's own keys
// over them, an unknown code refused with the list, and a file written
// back as it was read.
TEST(RulesStationFileTest, CountrySetsTheDefaultsTheFileMayOverride) {
  struct Row {
    const char* keys;
    int region;
    std::vector<LimitSetChoice> sets;
  };
  for (const Row& row : {
           Row{"country = \"CA\"\n", 2, {LimitSetChoice::Sc6}},
           Row{"country = \"DE\"\n", 1, {LimitSetChoice::Icnirp1998}},
           Row{"country = \"GB\"\n", 1, {LimitSetChoice::Icnirp2020, LimitSetChoice::Icnirp1998}},
           Row{"country = \"GB\"\nregion = 2\nlimit-sets = [\"fcc\"]\n", 2, {LimitSetChoice::Fcc}},
           Row{"", 2, {LimitSetChoice::Fcc, LimitSetChoice::Icnirp2020}},
       }) {
    const station::Station s = Read(kHead + row.keys + CwDipole("frequency-mhz = 14.2"));
    EXPECT_EQ(s.region, row.region) << row.keys;
    EXPECT_EQ(s.limitSets, row.sets) << row.keys;
    // Written and read again: the same station, and the country's own
    // defaults left unwritten.
    const std::string written = station::WriteStation(s);
    EXPECT_TRUE(station::SameContent(Read(written), s)) << written;
    const bool defaults = std::string(row.keys).find("region") == std::string::npos;
    if (s.country && defaults) {
      EXPECT_EQ(written.find("limit-sets"), std::string::npos) << written;
      EXPECT_EQ(written.find("region"), std::string::npos) << written;
    }
  }
}

// The station window's country choice: the country's region and sets come
// with it; choosing none keeps what the station has.
TEST(RulesStationFileTest, ChoosingACountryInTheHeading) {
  station::Station s = Read(kHead + CwDipole("frequency-mhz = 14.2"));
  const stationui::Heading de = stationui::WithCountry(stationui::HeadingOf(s), "DE");
  EXPECT_EQ(de.country, std::optional<std::string>("DE"));
  EXPECT_EQ(de.region, 1);
  EXPECT_EQ(de.limitSets, std::vector<LimitSetChoice>{LimitSetChoice::Icnirp1998});
  const stationui::Heading none = stationui::WithCountry(de, std::nullopt);
  EXPECT_FALSE(none.country);
  EXPECT_EQ(none.region, 1);
  EXPECT_EQ(none.limitSets, de.limitSets);
}

TEST(RulesStationFileTest, UnknownCountryIsRefusedWithTheList) {
  const station::ReadResult read = station::ParseStation(
      kHead + "country = \"XX\"\n" + CwDipole("frequency-mhz = 14.2"), "test.station.toml");
  ASSERT_EQ(read.errors.size(), 1u);
  const std::string message = station::FormatDiagnostics(read.errors);
  EXPECT_NE(message.find("unknown country \"XX\""), std::string::npos) << message;
  EXPECT_NE(message.find("\"US\", \"CA\", \"GB\", \"DE\", \"AU\""), std::string::npos) << message;
}

// A station made in the program with a country the table lacks is refused
// by the same checks a file meets.
TEST(RulesStationFileTest, UnknownCountryInAStationIsAProblem) {
  station::Station s = Read(kHead + CwDipole("frequency-mhz = 14.2"));
  s.country = "ZZ";
  const std::vector<station::Diagnostic> problems = station::Validate(s, "made.station.toml");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(station::FormatDiagnostics(problems).find("unknown country \"ZZ\""), std::string::npos);
}

TEST(RulesEvaluationTest, RulesAppliedNameTheEditions) {
  const StationEvaluation ca =
      Evaluate(Read(kHead + "country = \"CA\"\n" + CwDipole("frequency-mhz = 14.2")));
  EXPECT_EQ(RulesAppliedText(ca),
            "Health Canada Safety Code 6 (2015), uncontrolled environments; Health Canada Safety "
            "Code 6 (2015), controlled environments; ISED RSS-102 Issue 5 (2015) exemption "
            "limits; band plan of ITU region 2 (Canada)");
  // Without a country: today's sets, as before.
  const StationEvaluation none = Evaluate(Read(kHead + CwDipole("frequency-mhz = 14.2")));
  EXPECT_EQ(none.limitSets,
            (std::vector<LimitSetChoice>{LimitSetChoice::Fcc, LimitSetChoice::Icnirp2020}));
  EXPECT_FALSE(none.installations[0].threshold);
  EXPECT_EQ(RulesAppliedText(none).rfind("FCC 47 CFR 1.1310 (2021), general population", 0), 0u);
}

}  // namespace
}  // namespace korrin::assess
