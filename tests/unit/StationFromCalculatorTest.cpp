// The calculator's station as a station file: the start-up dish, the yagi
// array, the HF dipole and beam, every mode and averaging pattern and every
// band point, each a valid station that writes and reads back the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "assess/StationEvaluation.h"
#include "core/Calc.h"
#include "core/Tables.h"
#include "station/FromCalculator.h"
#include "station/StationFile.h"
#include "station/Tables.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::station {
namespace {

struct Calculator {
  explicit Calculator(const std::function<void(TForm1&)>& setUp) {
    form.FormActivate();
    setUp(form);
  }
  HeadlessPlatform platform;
  TForm1 form{platform};
};

void Pick(TForm1& f, const char* group, int item, void (TForm1::*click)()) {
  f.Board()[group].itemIndex = item;
  (f.*click)();
}

// Valid, and the same station after a write and a read.
void ExpectValidAndRoundTrips(const Station& s, const std::string& what) {
  const std::vector<Diagnostic> errors = Validate(s, what);
  EXPECT_TRUE(errors.empty()) << what << "\n" << FormatDiagnostics(errors);
  const std::string text = WriteStation(s);
  const ReadResult back = ParseStation(text, what);
  ASSERT_TRUE(back.station.has_value()) << what << "\n" << FormatDiagnostics(back.errors) << text;
  EXPECT_TRUE(SameContent(s, *back.station)) << what << "\n" << text;
  EXPECT_EQ(WriteStation(*back.station), text) << what;
}

TEST(StationFromCalculatorTest, StartUpDish) {
  Calculator c([](TForm1&) {});
  const StationState& state = c.form.State();
  const Station s = FromCalculator(state);
  ExpectValidAndRoundTrips(s, "start-up");
  ASSERT_EQ(s.installations.size(), 1u);
  ASSERT_EQ(s.antennas.size(), 1u);
  const Antenna& a = s.antennas[0];
  EXPECT_EQ(a.kind, "dish");
  ASSERT_TRUE(a.diameter && a.efficiency);
  EXPECT_DOUBLE_EQ(static_cast<double>(a.diameter->Metres()),
                   static_cast<double>(state.DishDiameterCm / 100));
  EXPECT_DOUBLE_EQ(static_cast<double>(*a.efficiency), static_cast<double>(state.DishEfficiency));
  EXPECT_FALSE(a.gain.has_value());
  EXPECT_EQ(a.height.Metres(), state.TowerHeight);
  EXPECT_EQ(a.x.value, 0);
  EXPECT_EQ(a.y.value, 0);
  const Installation& n = s.installations[0];
  EXPECT_EQ(n.band, CalculatorBandName(state.FrequencyMHz));
  EXPECT_FALSE(n.frequencyMHz.has_value());
  EXPECT_EQ(s.transmitters[0].powerW, state.TxPowerW);
  ASSERT_TRUE(s.feedlines[0].lossDb.has_value());
  EXPECT_DOUBLE_EQ(static_cast<double>(*s.feedlines[0].lossDb),
                   static_cast<double>(state.FeedLossDb));
  EXPECT_EQ(s.groundReflection, state.GroundReflection);
  EXPECT_TRUE(s.callsign.empty());
  EXPECT_TRUE(s.site.empty());
  EXPECT_EQ(s.region, 2);
}

// A calculator without power: the file says 0 W, not the calculator's
// internal floor, reads back the same, and its evaluation keeps no one out.
TEST(StationFromCalculatorTest, NoPowerIsZeroWatts) {
  Calculator c([](TForm1& f) {
    Pick(f, "RadioGroup4", 0, &TForm1::RadioGroup4Click);
    Pick(f, "RadioGroup5", 0, &TForm1::RadioGroup5Click);
  });
  ASSERT_TRUE(korrin::ZeroPower(c.form.State()));
  Station s = FromCalculator(c.form.State());
  EXPECT_EQ(s.transmitters[0].powerW, 0);
  ExpectValidAndRoundTrips(s, "no power");
  EXPECT_NE(WriteStation(s).find("\npower-w = 0\n"), std::string::npos) << WriteStation(s);

  Place p;
  p.name = "next to the antenna";
  p.x = Length::InMetres(1);
  p.height = Length::InMetres(2);
  s.places.push_back(p);
  const assess::StationEvaluation e = assess::Evaluate(s);
  ASSERT_EQ(e.installations.size(), 1u) << FormatDiagnostics(Validate(s, "no power"));
  for (const assess::TierResult& t : e.installations[0].results) {
    ASSERT_TRUE(t.KeepOutM().has_value());
    EXPECT_EQ(*t.KeepOutM(), 0) << assess::TierId(t.tier);
  }
  for (const assess::PlaceSum& sum : e.places.at(0).sums) EXPECT_EQ(sum.sum, 0);
  EXPECT_TRUE(e.verdict.complies);
}

struct AntennaCase {
  const char* name;
  std::function<void(TForm1&)> setUp;
  const char* kind;
  bool gain;  // the station gives a gain of its own
};

class StationFromCalculatorAntennaTest : public ::testing::TestWithParam<AntennaCase> {};

TEST_P(StationFromCalculatorAntennaTest, KindAndGain) {
  const AntennaCase& p = GetParam();
  Calculator c(p.setUp);
  const StationState& state = c.form.State();
  const Station s = FromCalculator(state);
  ExpectValidAndRoundTrips(s, p.name);
  const Antenna& a = s.antennas[0];
  EXPECT_EQ(a.kind, p.kind);
  ASSERT_EQ(a.gain.has_value(), p.gain);
  if (a.kind == std::string("yagi")) {
    EXPECT_DOUBLE_EQ(static_cast<double>(a.gain->Dbi()),
                     static_cast<double>(state.YagiArrayGainDbi));
  } else if (p.gain) {
    EXPECT_DOUBLE_EQ(static_cast<double>(a.gain->Dbi()), static_cast<double>(state.LowGainDbi));
  }
  if (a.kind == std::string("dipole")) {
    // The table's half-wave dipole, not the calculator's rounder 2 dBi.
    EXPECT_EQ(FindAntennaKind("dipole")->gainDbi, kDipoleGainDbi);
  }
  EXPECT_EQ(a.height.Metres(), state.TowerHeight);
  EXPECT_EQ(s.installations[0].band, CalculatorBandName(state.FrequencyMHz));
}

INSTANTIATE_TEST_SUITE_P(
    Antennas, StationFromCalculatorAntennaTest,
    ::testing::Values(AntennaCase{"YagiArray", [](TForm1& f) { f.Panel46Click(); }, "yagi", true},
                      AntennaCase{"HfDipole", [](TForm1& f) { f.HF_SelectClick(); }, "dipole",
                                  false},
                      AntennaCase{"HfBeam",
                                  [](TForm1& f) {
                                    f.HF_SelectClick();
                                    f.Panel69Click();
                                  },
                                  "gain", true}),
    [](const ::testing::TestParamInfo<AntennaCase>& info) { return info.param.name; });

// The worst averaging window of a cycle, starting as a transmission starts.
Real WorstWindowFraction(Real averagingMinutes, Real on, Real off) {
  const Real n = std::floor(averagingMinutes / (on + off));
  const Real rest = averagingMinutes - n * (on + off);
  return (n * on + std::min(on, rest)) / averagingMinutes;
}

// Every mode under every averaging pattern: the mode's duty is the
// calculator's form factor, and over the calculator's six minutes the cycle
// gives its multiplier, so duty times fraction is the calculator's overall
// duty factor.
TEST(StationFromCalculatorTest, EveryModeAndPattern) {
  Calculator c([](TForm1&) {});
  for (int mode = 0; mode < static_cast<int>(kModes.size()); ++mode) {
    for (int pattern = 0; pattern < static_cast<int>(kAveraging.size()); ++pattern) {
      const std::string what = std::string(kModes[static_cast<std::size_t>(mode)].caption) + ", " +
                               kAveraging[static_cast<std::size_t>(pattern)].caption;
      Pick(c.form, "RadioGroup2", mode, &TForm1::RadioGroup2Click);
      Pick(c.form, "RadioGroup3", pattern, &TForm1::RadioGroup3Click);
      const StationState& state = c.form.State();
      ASSERT_EQ(state.ModeIndex, mode) << what;
      ASSERT_EQ(state.AveragingIndex, pattern) << what;
      const Station s = FromCalculator(state);
      ExpectValidAndRoundTrips(s, what);
      const Transmitter& t = s.transmitters[0];
      ASSERT_NE(t.mode.has_value(), t.duty.has_value()) << what;
      const Real duty = t.mode ? FindMode(*t.mode)->duty : *t.duty;
      EXPECT_DOUBLE_EQ(static_cast<double>(duty), static_cast<double>(state.FormFactor)) << what;
      ASSERT_EQ(t.onMinutes.has_value(), pattern != 0) << what;
      const Real fraction = t.onMinutes ? WorstWindowFraction(6, *t.onMinutes, *t.offMinutes) : 1;
      EXPECT_NEAR(static_cast<double>(duty * fraction),
                  static_cast<double>(state.OverallDutyFactor), 1e-15)
          << what;
    }
  }
}

TEST(StationFromCalculatorTest, Cycles) {
  EXPECT_FALSE(CalculatorCycle(0).has_value());
  EXPECT_FALSE(CalculatorCycle(5).has_value());
  ASSERT_TRUE(CalculatorCycle(4).has_value());
  EXPECT_EQ(CalculatorCycle(4)->onMinutes, 2.5L);
  EXPECT_EQ(CalculatorCycle(4)->offMinutes, 2.5L);
  // Over 30 minutes, 2 on and 2 off: 7 cycles and 2 minutes on.
  EXPECT_EQ(WorstWindowFraction(30, CalculatorCycle(3)->onMinutes, CalculatorCycle(3)->offMinutes),
            16.0L / 30.0L);
}

// Every band point of the calculator stands for a band of region 2 that it
// lies in or beside (within 10 % of an edge).
TEST(StationFromCalculatorTest, EveryBandPoint) {
  std::vector<Real> points;
  points.reserve(kVhfBands.size() + kHfBands.size());
  for (const VhfBand& b : kVhfBands) points.push_back(b.frequencyMHz);
  for (const HfBand& b : kHfBands) points.push_back(b.frequencyMHz);
  for (const Real f : points) {
    const auto name = CalculatorBandName(f);
    ASSERT_TRUE(name.has_value()) << static_cast<double>(f);
    const BandRow* band = FindBand(*name, 2);
    ASSERT_NE(band, nullptr) << *name;
    const Real nearest = std::clamp(f, band->lowerMHz, band->upperMHz);
    EXPECT_LT(std::fabs(f - nearest) / f, 0.1L) << *name << " for " << static_cast<double>(f);
  }
  EXPECT_EQ(CalculatorBandName(3.5L), "80m");
  EXPECT_EQ(CalculatorBandName(900), "33cm");
  EXPECT_EQ(CalculatorBandName(29.7L), "10m");
  EXPECT_FALSE(CalculatorBandName(7.1L).has_value());
}

// A frequency that is no band point (a hand-edited state) keeps the
// frequency itself.
TEST(StationFromCalculatorTest, AFrequencyOfNoBandPoint) {
  Calculator c([](TForm1&) {});
  StationState state = c.form.State();
  state.FrequencyMHz = 433.5L;
  const Station s = FromCalculator(state);
  EXPECT_FALSE(s.installations[0].band.has_value());
  ASSERT_TRUE(s.installations[0].frequencyMHz.has_value());
  EXPECT_EQ(*s.installations[0].frequencyMHz, static_cast<double>(433.5L));
  ExpectValidAndRoundTrips(s, "433.5 MHz");
}

}  // namespace
}  // namespace korrin::station
