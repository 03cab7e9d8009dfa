// The recalculation cycle: the power chain, the zero-power rule and the
// frequency display, seen on the board of a headless window.
#include <gtest/gtest.h>

#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

class CycleTest : public ::testing::Test {
 protected:
  void SetUp() override { form.FormActivate(); }

  std::string Text(const char* control) const { return form.Board().at(control).text; }

  // Selects the four power digits and runs their handlers as a click would.
  void SetPower(int thousands, int hundreds, int tens, int units) {
    ControlBoard& b = form.Board();
    b["RadioGroup4"].itemIndex = thousands;
    b["RadioGroup5"].itemIndex = hundreds;
    b["RadioGroup6"].itemIndex = tens;
    b["RadioGroup7"].itemIndex = units;
    form.RadioGroup7Click();
  }

  HeadlessPlatform platform;
  TForm1 form{platform};
};

TEST_F(CycleTest, StartUpPowerChain) {
  const std::pair<const char*, const char*> expected[] = {
      {"Panel16", "1500 Watts"}, {"Panel17", "31.76 dBW"}, {"Panel21", "30.76 dBW"},
      {"Panel20", "1191 Watts"}, {"Panel10", "278 Watts"}, {"Panel11", "24.44 dBW"},
      {"Panel23", "1.0 dB"},     {"Panel30", "40 %"},      {"Panel50", "58.3 %"},
      {"Panel14", "23.3 %"},     {"Panel32", "432 MHz"},   {"Panel24", "261.0 dB"},
  };
  for (const auto& [control, text] : expected) EXPECT_EQ(Text(control), text) << control;
}

TEST_F(CycleTest, ZeroPowerClearsEveryPowerValue) {
  SetPower(0, 0, 0, 0);
  const StationState& s = form.State();
  EXPECT_EQ(s.TxPowerW, 1e-10L);  // never 0: its logarithm stays finite
  const std::pair<const char*, const char*> expected[] = {
      {"Panel16", "0.0 Watts"}, {"Panel17", "0.00 dBW"}, {"Panel20", "0.0 Watts"},
      {"Panel10", "0.0 Watts"}, {"Panel21", "0.00 dBW"}, {"Panel11", "0.00 dBW"},
      {"Panel18", "0 Watts"},   {"Panel25", "-"},
  };
  for (const auto& [control, text] : expected) EXPECT_EQ(Text(control), text) << control;
  EXPECT_EQ(s.FeedPowerW, 0);
  EXPECT_EQ(s.FeedPowerDbw, 0);
  EXPECT_EQ(s.AveragePowerW, 0);
  EXPECT_EQ(s.PeakEirpW, 0);
}

TEST_F(CycleTest, WattsDecimalsFollowTheOutputPower) {
  struct Case {
    int digits[4];
    const char* output;
    const char* feed;
  } cases[] = {
      {{0, 0, 0, 5}, "5.0 Watts", "4.0 Watts"},
      {{0, 0, 0, 9}, "9.0 Watts", "7.1 Watts"},
      {{0, 0, 1, 0}, "10 Watts", "8 Watts"},
      {{9, 9, 9, 9}, "9999 Watts", "7942 Watts"},
  };
  for (const Case& c : cases) {
    SetPower(c.digits[0], c.digits[1], c.digits[2], c.digits[3]);
    EXPECT_EQ(Text("Panel16"), c.output);
    EXPECT_EQ(Text("Panel20"), c.feed) << c.output;
  }
  EXPECT_EQ(Text("Panel17"), "40.00 dBW");
}

TEST_F(CycleTest, FeedPowerWithMoreIntegerDigitsThanItsPrecisionIsScientific) {
  SetPower(9, 9, 9, 9);
  for (int i = 0; i < 10; ++i) form.SpinButton3DownClick();
  StationState& s = form.State();
  s.GroundReflection = true;
  s.GroundReflectionFactor = 2.56L;
  form.Recalculate();
  EXPECT_EQ(Text("Panel23"), "0.0 dB");
  EXPECT_NEAR(static_cast<double>(s.FeedPowerW), 25597.44, 1e-6);
  EXPECT_EQ(Text("Panel20"), "2.56E4 Watts");
  EXPECT_EQ(Text("Panel21"), "40.00 dBW");  // the dBW text carries no reflection
}

TEST_F(CycleTest, FrequencyShownInGigahertzAbove8000Megahertz) {
  const std::pair<long double, const char*> cases[] = {
      {5760.0L, "5760 MHz"}, {8000.0L, "8000 MHz"}, {8000.5L, "8 GHz"},
      {10368.0L, "10 GHz"},  {24000.0L, "24 GHz"},  {1.8L, "2 MHz"},
  };
  for (const auto& [mhz, text] : cases) {
    form.State().FrequencyMHz = mhz;
    form.Recalculate();
    EXPECT_EQ(Text("Panel32"), text);
    EXPECT_EQ(form.State().WavelengthM, 300.0L / mhz);
  }
}

TEST_F(CycleTest, RecalculatingTwiceChangesNothing) {
  const StationState before = form.State();
  const ControlBoard board = form.Board();
  form.Recalculate();
  EXPECT_TRUE(SameStation(before, form.State()));
  for (const std::string& name : board.names()) {
    EXPECT_EQ(board.at(name).text, form.Board().at(name).text) << name;
  }
}

}  // namespace
}  // namespace korrin
