// The dish, yagi-array and low-gain antenna models and their spin buttons
// and panels, on a headless window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

class AntennaTest : public ::testing::Test {
 protected:
  void SetUp() override { form.FormActivate(); }
  const std::string& Text(const char* name) const { return form.Board().at(name).text; }
  Colour ColourOf(const char* name) const { return form.Board().at(name).color; }
  void Repeat(int times, void (TForm1::*handler)()) {
    for (int i = 0; i < times; ++i) (form.*handler)();
  }
  StationState& S() { return form.State(); }

  HeadlessPlatform platform;
  TForm1 form{platform};
};

// ---- dish -------------------------------------------------------------------

struct DishCase {
  int bandItem;
  const char* ratio;
  const char* dbi;
  const char* dbd;
  const char* beamwidth;
};

class DishTableTest : public AntennaTest, public ::testing::WithParamInterface<DishCase> {};

TEST_P(DishTableTest, GainAndBeamwidthOfTheStartUpDish) {
  const DishCase& c = GetParam();
  form.Board()["RadioGroup1"].itemIndex = c.bandItem;
  form.RadioGroup1Click();
  EXPECT_EQ(Text("Panel34"), c.ratio);
  EXPECT_EQ(Text("Panel6"), std::string(c.dbi) + " dBi");
  EXPECT_EQ(Text("Panel3"), std::string(c.dbd) + " dBd");
  EXPECT_EQ(Text("Panel5"), std::string(c.beamwidth) + "\u00b0");
}

INSTANTIATE_TEST_SUITE_P(Bands, DishTableTest,
                         ::testing::Values(DishCase{0, "14", "11.34", "9.19", "44.21"},
                                           DishCase{1, "113", "20.53", "18.38", "15.35"},
                                           DishCase{3, "1016", "30.07", "27.92", "5.12"},
                                           DishCase{5, "9143", "39.61", "37.46", "1.71"},
                                           DishCase{9, "585136", "57.67", "55.52", "0.21"},
                                           DishCase{11, "12541504", "70.98", "68.83", "0.05"}));

TEST_F(AntennaTest, ImperialDiameterAndItsStep) {
  form.Button2Click();
  EXPECT_EQ(Text("Panel4"), "31.2 ft");
  form.SpinButton1DownClick();
  EXPECT_NEAR(static_cast<double>(S().DishDiameterCm), 946.063, 1e-9);
  EXPECT_EQ(Text("Panel4"), "31.0 ft");
}

TEST_F(AntennaTest, DiameterBelowOneCentimetreLandsOnTen) {
  Repeat(94, &TForm1::SpinButton1DownClick);
  EXPECT_EQ(S().DishDiameterCm, 10);
  form.SpinButton1DownClick();  // 0 cm
  EXPECT_EQ(S().DishDiameterCm, 10);
  EXPECT_EQ(Text("Panel4"), "0.1 m");

  form.Button2Click();
  const double imperial[] = {6.063, 2.126, 10.0};  // the third step would give -1.811
  for (double expected : imperial) {
    form.SpinButton1DownClick();
    EXPECT_NEAR(static_cast<double>(S().DishDiameterCm), expected, 1e-9);
  }
}

TEST_F(AntennaTest, EfficiencyStaysWithinItsRange) {
  S().DishEfficiency = 0.02L;
  form.SpinButton2DownClick();
  EXPECT_EQ(Text("Panel7"), "0.01");
  form.SpinButton2DownClick();
  EXPECT_EQ(S().DishEfficiency, 0.01L);
  S().DishEfficiency = 0.99L;
  form.SpinButton2UpClick();
  EXPECT_EQ(Text("Panel7"), "1.00");
  form.SpinButton2UpClick();
  EXPECT_EQ(S().DishEfficiency, 1.0L);
}

TEST_F(AntennaTest, DishSpinButtonsActOnlyWithTheDishInUse) {
  form.Panel46Click();
  const StationState before = S();
  form.SpinButton1UpClick();
  form.SpinButton1DownClick();
  form.SpinButton2UpClick();
  form.SpinButton2DownClick();
  EXPECT_TRUE(SameStation(before, S()));
  EXPECT_EQ(Text("Panel34"), "1016");  // the ratio last shown for the dish
  form.Button2Click();
  EXPECT_EQ(Text("Panel4"), "31.2 ft");  // still follows the units
}

// ---- yagi array -------------------------------------------------------------

struct YagiCase {
  int step;
  const char* count;
  const char* dbi;
  const char* dbd;
  const char* eBeam;
  const char* hBeam;
};

class YagiTableTest : public AntennaTest, public ::testing::WithParamInterface<YagiCase> {};

TEST_P(YagiTableTest, ArrayOfSixteenPointEightDbiYagis) {
  const YagiCase& c = GetParam();
  form.Panel46Click();
  Repeat(c.step - 1, &TForm1::SpinButton8UpClick);
  EXPECT_EQ(S().YagiStackStep, c.step);
  EXPECT_EQ(Text("Panel39"), c.count);
  EXPECT_EQ(Text("Panel41"), std::string(c.dbi) + " dBi");
  EXPECT_EQ(Text("Panel42"), std::string(c.dbd) + " dBd");
  EXPECT_EQ(Text("Panel40"), std::string(c.eBeam) + " \u00b0");
  EXPECT_EQ(Text("Panel43"), std::string(c.hBeam) + " \u00b0");
  EXPECT_EQ(S().DishGainDbi, S().YagiArrayGainDbi);  // the gain in use
}

INSTANTIATE_TEST_SUITE_P(Steps, YagiTableTest,
                         ::testing::Values(YagiCase{1, "1", "16.80", "14.65", "23.80", "23.80"},
                                           YagiCase{2, "2", "19.65", "17.50", "17.10", "17.10"},
                                           YagiCase{4, "6", "23.93", "21.78", "10.50", "12.30"},
                                           YagiCase{5, "8", "25.35", "23.20", "8.88", "8.88"},
                                           YagiCase{6, "12", "26.68", "24.53", "7.62", "8.98"},
                                           YagiCase{15, "256", "39.60", "37.45", "1.72", "1.72"}));

TEST_F(AntennaTest, YagiStepsAndGainAreClamped) {
  form.Panel46Click();
  Repeat(20, &TForm1::SpinButton8UpClick);
  EXPECT_EQ(Text("Panel39"), "256");
  Repeat(20, &TForm1::SpinButton8DownClick);
  EXPECT_EQ(Text("Panel39"), "1");

  Repeat(200, &TForm1::SpinButton7DownClick);
  EXPECT_EQ(S().YagiGainDbi, 0);
  EXPECT_EQ(Text("Panel38"), "0.0 dBi");
  EXPECT_NEAR(static_cast<double>(S().YagiEBeamwidthDeg), std::sqrt(27000.0), 1e-9);
}

TEST_F(AntennaTest, YagiSpinButtonsActOnlyWithTheYagiInUse) {
  form.SpinButton7UpClick();
  form.SpinButton8UpClick();
  EXPECT_EQ(S().YagiGainDbi, 16.8L);
  EXPECT_EQ(Text("Panel39"), "1");
}

// ---- low-gain antennas ------------------------------------------------------

class LowGainTest : public AntennaTest {
 protected:
  void SetUp() override {
    AntennaTest::SetUp();
    form.HF_SelectClick();  // 14.2 MHz, the dipole
  }
  void ExpectAntenna(const char* panel, const char* caption, const char* dbi) {
    EXPECT_EQ(Text(panel), caption);
    EXPECT_EQ(ColourOf(panel), Colour::White);
    EXPECT_EQ(Text("Panel81"), std::string(dbi) + " dBi");
  }
};

TEST_F(LowGainTest, DipoleOnEnteringTheHfSide) {
  ExpectAntenna("Panel67", "\u00bd Dipole", "2.00");
  EXPECT_EQ(Text("Panel73"), "-0.20 dBd");
  EXPECT_EQ(ColourOf("Panel68"), Colour::ButtonFace);
  EXPECT_EQ(S().DishGainDbi, 2.0L);
}

TEST_F(LowGainTest, VerticalWrapsThroughItsLengths) {
  form.Panel68Click();
  ExpectAntenna("Panel68", "\u00bc w vertical", "1.00");
  EXPECT_EQ(ColourOf("Panel67"), Colour::ButtonFace);
  const std::pair<const char*, const char*> steps[] = {{"\u00bd w vertical", "2.00"},
                                                       {"\u00be w vertical", "4.00"},
                                                       {"1 w vertical", "5.00"},
                                                       {"\u00bc w vertical", "1.00"}};
  for (const auto& [caption, dbi] : steps) {
    form.VerticalSUpClick();
    ExpectAntenna("Panel68", caption, dbi);
  }
  form.VerticalSDownClick();
  ExpectAntenna("Panel68", "1 w vertical", "5.00");
  EXPECT_EQ(Text("Panel73"), "2.80 dBd");
}

TEST_F(LowGainTest, BeamWrapsDownAndFollowsTheBand) {
  form.Panel69Click();
  ExpectAntenna("Panel69", "3el 14 MHz", "6.50");
  form.BeamSDownClick();
  ExpectAntenna("Panel69", "3el 28 MHz", "8.00");
  form.BeamSUpClick();
  ExpectAntenna("Panel69", "3el 14 MHz", "6.50");

  form.Board()["RadioGroup8"].itemIndex = 6;  // 21.2 MHz
  form.RadioGroup8Click();
  ExpectAntenna("Panel69", "3el 21 MHz", "7.00");
  EXPECT_EQ(S().DishGainDbi, 7.0L);
}

TEST_F(LowGainTest, VariableGainStartsFromThePreviousAntenna) {
  form.Panel68Click();
  form.VerticalSUpClick();
  form.VerticalSUpClick();  // three-quarter wave, 4 dBi
  form.Panel80Click();
  EXPECT_EQ(ColourOf("Panel80"), Colour::White);
  EXPECT_EQ(ColourOf("Panel68"), Colour::ButtonFace);
  EXPECT_EQ(Text("Panel81"), "4.00 dBi");
  form.VaryGainUpClick();
  EXPECT_EQ(Text("Panel81"), "4.10 dBi");
  EXPECT_EQ(Text("Panel73"), "1.90 dBd");
  Repeat(50, &TForm1::VaryGainDownClick);
  EXPECT_EQ(S().LowGainDbi, 0);
  EXPECT_EQ(Text("Panel81"), "0.00 dBi");
  EXPECT_EQ(S().DishGainDbi, 0);
}

TEST_F(LowGainTest, FixedAntennasIgnoreTheFreeGainAndOtherSpins) {
  form.VaryGainUpClick();
  EXPECT_EQ(Text("Panel81"), "2.00 dBi");  // the dipole is re-applied at once
  form.Panel69Click();
  const StationState before = S();
  form.VerticalSUpClick();
  form.VerticalSDownClick();
  EXPECT_TRUE(SameStation(before, S()));
}

TEST_F(LowGainTest, ChoiceWhileAnotherFamilyIsInUseWaitsForTheFamily) {
  form.Panel45Click();
  form.Panel68Click();
  EXPECT_TRUE(S().VerticalSelected);
  EXPECT_EQ(ColourOf("Panel68"), Colour::White);
  EXPECT_EQ(Text("Panel81"), "2.00 dBi");
  form.Panel85Click();
  EXPECT_EQ(Text("Panel81"), "1.00 dBi");
}

}  // namespace
}  // namespace korrin
