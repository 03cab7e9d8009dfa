// The "System Performance Calculator" panel driven through the window's
// handlers, headless.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/Calc.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

using Handler = void (TForm1::*)();

class MoonBounceWindow : public ::testing::Test {
 protected:
  void SetUp() override { f.FormActivate(); }
  const std::string& Text(const char* name) const { return f.Board().at(name).text; }
  Colour Color(const char* name) const { return f.Board().at(name).color; }
  Colour Font(const char* name) const { return f.Board().at(name).fontColor; }
  void Click(Handler h, int times = 1) {
    for (int i = 0; i < times; ++i) (f.*h)();
  }

  HeadlessPlatform p;
  TForm1 f{p};
};

TEST(MoonBounceWindowStart, ColdSkyPanelHiddenUntilTheFirstEvaluation) {
  HeadlessPlatform p;
  TForm1 f(p);
  EXPECT_FALSE(f.Board().at("Panel22").visible);
  f.FormActivate();
  EXPECT_TRUE(f.Board().at("Panel22").visible);
  EXPECT_EQ(f.Board().at("Panel22").text, "5.9 dB");
}

// Texts of the start-up station that do not depend on the antenna gain.
TEST_F(MoonBounceWindow, StartupReceiveChainTexts) {
  const std::pair<const char*, const char*> expected[] = {
      {"Panel54", "43.0 \u00b0K"},
      {"Panel65", "6.8 \u00b0K"},
      {"Panel74", "Sys T\u00b0k 97.2 \u00b0K = 1.25 dB"},
      {"Panel76", "Rx T\u00b0k 51.5 \u00b0K = 0.71 dB"},
      {"Panel22", "5.9 dB"},
      {"Panel24", "261.0 dB"},
      {"Panel26", "-157.9 dBm"},
      {"Panel35", "-26.2 dB"},
      {"Panel55", "30 \u00b0K"},
      {"Panel56", "1 \u00b0K"},
      {"Panel57", "1.00 mm"},
      {"Panel70", "12.7 mm"},
      {"Panel71", "0.4 dB"},
      {"Panel72", "0.0 dB"},
      {"Panel28", "0.10 dB"},
      {"Panel27", "0.60 dB"},
      {"Panel36", "26.0 dB"},
      {"Panel52", "2.0 dB"},
      {"Panel53", "1.0 dB"},
      {"Panel31", "15 \u00b0K"},
      {"Panel29", "120 Hz"},
      {"Panel32", "432 MHz"},
      {"Panel33", "160"},
  };
  for (const auto& [panel, text] : expected) EXPECT_EQ(Text(panel), text) << panel;
  EXPECT_EQ(Font("Panel24"), Colour::Black);
  for (const char* panel :
       {"SpeedChange", "Panel24", "Panel29", "Panel31", "Panel55", "Panel56", "Solid_Mesh"}) {
    EXPECT_EQ(Color(panel), Colour::ButtonFace) << panel;
  }
}

// These need the dish gain of the cycle's antenna branch.
TEST_F(MoonBounceWindow, StartupEchoAndSunWithTheDishGain) {
  EXPECT_EQ(Text("Panel25"), "17.8 dB");
  EXPECT_EQ(Text("Panel58"), "20.2 dB");
}

TEST_F(MoonBounceWindow, YagiGainCountsTwiceInTheEcho) {
  f.Panel46Click();  // one yagi of 16.8 dBi
  EXPECT_EQ(Text("Panel25"), "-8.7 dB");
  EXPECT_EQ(Text("Panel58"), "7.7 dB");
  EXPECT_EQ(Text("Panel74"), "Sys T\u00b0k 97.2 \u00b0K = 1.25 dB");
}

TEST_F(MoonBounceWindow, ReceiveChainFloors) {
  f.State().LnaLossDb = 0.03L;
  f.State().LnaNoiseFigureDb = 0.03L;
  f.State().LnaRxLossDb = 0.2L;
  f.State().RxNoiseFigureDb = 0.2L;
  Click(&TForm1::LNALossDownClick, 4);
  Click(&TForm1::LNANfDownClick, 4);
  Click(&TForm1::LNARxLossDownClick, 4);
  Click(&TForm1::RxNFDownClick, 4);
  EXPECT_EQ(Text("Panel28"), "0.01 dB");
  EXPECT_EQ(Text("Panel27"), "0.01 dB");
  EXPECT_EQ(Text("Panel52"), "0.0 dB");
  EXPECT_EQ(Text("Panel53"), "0.0 dB");
  EXPECT_EQ(Text("Panel76"), "Rx T\u00b0k 1.3 \u00b0K = 0.02 dB");
  EXPECT_EQ(Text("Panel74"), "Sys T\u00b0k 47.0 \u00b0K = 0.65 dB");
}

TEST_F(MoonBounceWindow, NoLnaGainCountsTheChainBehindInFull) {
  Click(&TForm1::LNAGainDownClick, 51);
  EXPECT_EQ(f.State().LnaGainDb, 0.5L);
  Click(&TForm1::LNAGainDownClick);
  EXPECT_EQ(f.State().LnaGainDb, 0.0L);
  EXPECT_EQ(Text("Panel36"), "0.0 dB");
  EXPECT_EQ(Text("Panel76"), "Rx T\u00b0k 346.1 \u00b0K = 3.41 dB");
  Click(&TForm1::LNAGainDownClick);
  EXPECT_EQ(f.State().LnaGainDb, 0.0L);
}

// Stepping down one click at a time passes every step of 0.1 on the way to
// 0, even though 0.1 is not exact in binary.
TEST_F(MoonBounceWindow, TenthStepsReachOneTenthBeforeZero) {
  Click(&TForm1::LNARxLossDownClick, 19);
  EXPECT_EQ(Text("Panel52"), "0.1 dB");
  Click(&TForm1::LNARxLossDownClick);
  EXPECT_EQ(Text("Panel52"), "0.0 dB");
  EXPECT_EQ(f.State().LnaRxLossDb, 0.0L);
  Click(&TForm1::RxNFDownClick, 9);
  EXPECT_EQ(Text("Panel53"), "0.1 dB");
  Click(&TForm1::RxNFDownClick);
  EXPECT_EQ(f.State().RxNoiseFigureDb, 0.0L);
}

// ---- clamps ----------------------------------------------------------------

struct ClampCase {
  const char* name;
  Real StationState::*field;
  Real start;
  bool multiplier;
  Handler down;
  int clicks;
  Real expected;
};

void PrintTo(const ClampCase& c, std::ostream* os) {
  *os << c.name;
}

class MoonBounceClamps : public MoonBounceWindow,
                         public ::testing::WithParamInterface<ClampCase> {};

TEST_P(MoonBounceClamps, DownClickStopsAtTheFloor) {
  const ClampCase& c = GetParam();
  if (c.multiplier) f.SpeedChangeClick();
  f.State().*c.field = c.start;
  Click(c.down, c.clicks);
  EXPECT_NEAR(f.State().*c.field, c.expected, 1e-12L);
}

INSTANTIATE_TEST_SUITE_P(
    Floors, MoonBounceClamps,
    ::testing::Values(
        ClampCase{"lna_loss", &StationState::LnaLossDb, 0.015L, false, &TForm1::LNALossDownClick, 1,
                  0.01L},
        ClampCase{"lna_nf", &StationState::LnaNoiseFigureDb, 0.015L, false, &TForm1::LNANfDownClick,
                  3, 0.01L},
        ClampCase{"lna_gain", &StationState::LnaGainDb, 1.0L, false, &TForm1::LNAGainDownClick, 1,
                  0.5L},
        ClampCase{"lna_gain_0_7", &StationState::LnaGainDb, 0.7L, false, &TForm1::LNAGainDownClick,
                  1, 0},
        ClampCase{"coax_0_15", &StationState::LnaRxLossDb, 0.15L, false,
                  &TForm1::LNARxLossDownClick, 1, 0},
        ClampCase{"rx_nf_0_15", &StationState::RxNoiseFigureDb, 0.15L, false,
                  &TForm1::RxNFDownClick, 1, 0},
        ClampCase{"sky_x10_at_5", &StationState::SkyTempK, 5, true, &TForm1::TSkyDownClick, 1, 0},
        ClampCase{"sky_at_0_5", &StationState::SkyTempK, 0.5L, false, &TForm1::TSkyDownClick, 1, 0},
        ClampCase{"bw_x10_at_100", &StationState::RxBandwidthHz, 100, true,
                  &TForm1::SpinButton5DownClick, 1, 10},
        ClampCase{"bw_at_15", &StationState::RxBandwidthHz, 15, false,
                  &TForm1::SpinButton5DownClick, 3, 10},
        ClampCase{"spill_at_0_5", &StationState::SpilloverTempK, 0.5L, false,
                  &TForm1::SpillOverDownClick, 1, 0.1L},
        ClampCase{"spill_x10", &StationState::SpilloverTempK, 30, true, &TForm1::SpillOverDownClick,
                  4, 0.1L},
        ClampCase{"feedthr_x10_at_5", &StationState::FeedThroughExtraK, 5, true,
                  &TForm1::FeedThrDownClick, 1, 0},
        ClampCase{"path_loss_0_3", &StationState::PathLoss, 0.3L, false, &TForm1::PathLossDownClick,
                  1, 0},
        ClampCase{"path_loss_x10", &StationState::PathLoss, 3, true, &TForm1::PathLossDownClick, 2,
                  0},
        ClampCase{"flux_at_1", &StationState::SolarFluxSfu, 1, false, &TForm1::SolarFluxDownClick,
                  1, 1},
        ClampCase{"flux_x10", &StationState::SolarFluxSfu, 3, true, &TForm1::SolarFluxDownClick, 1,
                  2},
        ClampCase{"diam_0_015", &StationState::MeshWireDiameterMm, 0.015L, false,
                  &TForm1::MeshDiamDownClick, 2, 0.01L},
        // a 1 mm wire: the spacing stops at the 0.5 mm radius
        ClampCase{"spacing_to_radius", &StationState::MeshSpacingMm, 0.55L, false,
                  &TForm1::MeshSpacingDownClick, 3, 0.5L},
        ClampCase{"spacing_from_startup", &StationState::MeshSpacingMm, 12.7L, false,
                  &TForm1::MeshSpacingDownClick, 123, 0.5L}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MoonBounceWindow, SpacingNeverBelowOneHundredthOfAMillimetre) {
  f.State().MeshWireDiameterMm = 0.01L;
  f.State().MeshSpacingMm = 0.05L;
  f.Recalculate();  // the radius of the last evaluation is now 0.005 mm
  Click(&TForm1::MeshSpacingDownClick, 3);
  EXPECT_EQ(f.State().MeshSpacingMm, 0.01L);
  EXPECT_EQ(Text("Panel70"), "0.0 mm");
}

TEST_F(MoonBounceWindow, SpacingAtTheWireRadiusShowsFiniteFigures) {
  f.State().MeshSpacingMm = 0.8L;
  Click(&TForm1::MeshSpacingDownClick, 4);
  EXPECT_EQ(Text("Panel70"), "0.5 mm");
  EXPECT_EQ(Text("Panel35"), "-71.5 dB");
  EXPECT_EQ(Text("Panel56"), "0 \u00b0K");
  for (const char* panel : {"Panel35", "Panel56", "Panel72", "Panel74", "Panel76", "Panel22",
                            "Panel25", "Panel26", "Panel58"}) {
    EXPECT_EQ(Text(panel).find("inf"), std::string::npos) << panel;
    EXPECT_EQ(Text(panel).find("nan"), std::string::npos) << panel;
  }
}

// ---- steps and the multiplier -------------------------------------------------

struct StepCase {
  const char* name;
  Real StationState::*field;
  Handler up;
  Handler down;
  Real step;
  Real stepWithMultiplier;
};

void PrintTo(const StepCase& c, std::ostream* os) {
  *os << c.name;
}

class MoonBounceSteps : public MoonBounceWindow, public ::testing::WithParamInterface<StepCase> {};

TEST_P(MoonBounceSteps, UpAndDownByTheStepInForce) {
  const StepCase& c = GetParam();
  for (bool multiplier : {false, true}) {
    if (multiplier) f.SpeedChangeClick();
    const Real step = multiplier ? c.stepWithMultiplier : c.step;
    f.State().*c.field = 500;
    Click(c.up);
    EXPECT_NEAR(f.State().*c.field, 500 + step, 1e-12L) << "multiplier " << multiplier;
    Click(c.down, 2);
    EXPECT_NEAR(f.State().*c.field, 500 - step, 1e-12L) << "multiplier " << multiplier;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, MoonBounceSteps,
    ::testing::Values(StepCase{"lna_loss", &StationState::LnaLossDb, &TForm1::LNALossUpClick,
                               &TForm1::LNALossDownClick, 0.01L, 0.01L},
                      StepCase{"lna_nf", &StationState::LnaNoiseFigureDb, &TForm1::LNANfUpClick,
                               &TForm1::LNANfDownClick, 0.01L, 0.01L},
                      StepCase{"lna_gain", &StationState::LnaGainDb, &TForm1::LNAGainUpClick,
                               &TForm1::LNAGainDownClick, 0.5L, 0.5L},
                      StepCase{"coax", &StationState::LnaRxLossDb, &TForm1::LNARxLossUpClick,
                               &TForm1::LNARxLossDownClick, 0.1L, 0.1L},
                      StepCase{"rx_nf", &StationState::RxNoiseFigureDb, &TForm1::RxNFUpClick,
                               &TForm1::RxNFDownClick, 0.1L, 0.1L},
                      StepCase{"sky", &StationState::SkyTempK, &TForm1::TSkyUpClick,
                               &TForm1::TSkyDownClick, 1, 10},
                      StepCase{"bandwidth", &StationState::RxBandwidthHz,
                               &TForm1::SpinButton5UpClick, &TForm1::SpinButton5DownClick, 10, 100},
                      StepCase{"spillover", &StationState::SpilloverTempK,
                               &TForm1::SpillOverUpClick, &TForm1::SpillOverDownClick, 1, 10},
                      StepCase{"feed_through", &StationState::FeedThroughExtraK,
                               &TForm1::FeedThrUpClick, &TForm1::FeedThrDownClick, 1, 10},
                      StepCase{"path_loss", &StationState::PathLoss, &TForm1::PathLossUpClick,
                               &TForm1::PathLossDownClick, 0.5L, 5},
                      StepCase{"solar_flux", &StationState::SolarFluxSfu, &TForm1::SolarFluxUpClick,
                               &TForm1::SolarFluxDownClick, 1, 1},
                      StepCase{"mesh_diameter", &StationState::MeshWireDiameterMm,
                               &TForm1::MeshDiamUpClick, &TForm1::MeshDiamDownClick, 0.01L, 0.01L},
                      StepCase{"mesh_spacing", &StationState::MeshSpacingMm,
                               &TForm1::MeshSpacingUpClick, &TForm1::MeshSpacingDownClick, 0.1L,
                               0.1L}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MoonBounceWindow, MultiplierPaintsItsSixPanelsAndBack) {
  const char* panels[] = {"SpeedChange", "Panel24", "Panel29", "Panel31", "Panel55", "Panel56"};
  f.SpeedChangeClick();
  EXPECT_TRUE(f.State().IncrementMultiplier);
  for (const char* panel : panels) EXPECT_EQ(Color(panel), Colour::Yellow) << panel;
  f.SpeedChangeClick();
  EXPECT_FALSE(f.State().IncrementMultiplier);
  for (const char* panel : panels) EXPECT_EQ(Color(panel), Colour::ButtonFace) << panel;
  f.SpinButton5UpClick();
  EXPECT_EQ(Text("Panel29"), "130 Hz");
}

TEST_F(MoonBounceWindow, WideBandwidthShownInShortScientificForm) {
  f.SpeedChangeClick();
  f.State().RxBandwidthHz = 9920;
  f.SpinButton5UpClick();
  EXPECT_EQ(Text("Panel29"), "1.002E4 Hz");
  f.SpinButton5DownClick();
  EXPECT_EQ(Text("Panel29"), "9920 Hz");
}

// ---- spillover, mesh and feed-through -------------------------------------------

TEST_F(MoonBounceWindow, SpilloverDbEmptyOnlyBelowOneTenth) {
  f.State().SpilloverTempK = 0.5L;
  f.SpillOverDownClick();
  EXPECT_EQ(Text("Panel55"), "0 \u00b0K");
  EXPECT_EQ(Text("Panel71"), "0.0 dB");
  // Below 0.1 K (a station from a file) the dB figure is left out.
  f.State().SpilloverTempK = 0.05L;
  f.Recalculate();
  EXPECT_EQ(Text("Panel71"), "");
}

TEST_F(MoonBounceWindow, AddedFeedThroughIsClearedByAMeshChange) {
  const Handler meshChanges[] = {&TForm1::MeshDiamUpClick, &TForm1::MeshDiamDownClick,
                                 &TForm1::MeshSpacingUpClick, &TForm1::MeshSpacingDownClick};
  for (Handler change : meshChanges) {
    Click(&TForm1::FeedThrUpClick, 10);
    EXPECT_EQ(Text("Panel56"), "11 \u00b0K");
    Click(change);
    EXPECT_EQ(f.State().FeedThroughExtraK, 0.0L);
    EXPECT_EQ(Text("Panel56"), "1 \u00b0K");
  }
}

TEST_F(MoonBounceWindow, SolidDishSwitchKeepsTheMesh) {
  f.Solid_MeshClick();
  EXPECT_EQ(Color("Solid_Mesh"), Colour::Green);
  EXPECT_EQ(Text("Panel57"), "Solid");
  EXPECT_EQ(Text("Panel70"), "Dish");
  EXPECT_EQ(Text("Panel35"), "-40.0 dB");
  EXPECT_EQ(Text("Panel56"), "0 \u00b0K");
  f.Solid_MeshClick();
  EXPECT_EQ(Color("Solid_Mesh"), Colour::ButtonFace);
  EXPECT_EQ(Text("Panel57"), "1.00 mm");
  EXPECT_EQ(Text("Panel70"), "12.7 mm");
  EXPECT_EQ(Text("Panel35"), "-26.2 dB");
}

// ---- path loss -------------------------------------------------------------------

TEST_F(MoonBounceWindow, PathLossCueAt432UpAndBack) {
  f.PathLossUpClick();
  EXPECT_EQ(Text("Panel24"), "261.5 dB");
  EXPECT_EQ(Font("Panel24"), Colour::Green);
  f.PathLossDownClick();
  EXPECT_EQ(Text("Panel24"), "261.0 dB");
  EXPECT_EQ(Font("Panel24"), Colour::Black);
  f.SpeedChangeClick();
  f.PathLossDownClick();
  EXPECT_EQ(Text("Panel24"), "256.0 dB");
  EXPECT_EQ(Font("Panel24"), Colour::Green);
  f.PathLossUpClick();
  EXPECT_EQ(Text("Panel24"), "261.0 dB");
  EXPECT_EQ(Font("Panel24"), Colour::Black);
}

// 255.7 + 0.5 rounds onto a coarser binary grid, so stepping back does not
// land on 255.7 by itself; the cue must still clear.
TEST_F(MoonBounceWindow, PathLossCueClearsOnReturnAt220) {
  f.Board()["RadioGroup1"].itemIndex = 2;
  f.RadioGroup1Click();
  for (bool multiplier : {false, true}) {
    if (multiplier) f.SpeedChangeClick();
    f.PathLossUpClick();
    EXPECT_EQ(Font("Panel24"), Colour::Green);
    f.PathLossDownClick();
    EXPECT_EQ(Text("Panel24"), "255.7 dB");
    EXPECT_EQ(Font("Panel24"), Colour::Black) << "multiplier " << multiplier;
  }
}

TEST_F(MoonBounceWindow, HfBandHasNoSunAndNoPathLossCue) {
  f.Board()["RadioGroup8"].itemIndex = 0;  // 1.8 MHz
  f.HF_SelectClick();
  ASSERT_EQ(f.State().FrequencyMHz, 1.8L);
  EXPECT_EQ(Text("Panel58"), "0.0 dB");
  EXPECT_EQ(Text("Panel32"), "2 MHz");
  f.PathLossUpClick();
  EXPECT_EQ(Font("Panel24"), Colour::Black);
  f.PathLossDownClick();
  f.PathLossDownClick();
  EXPECT_EQ(Font("Panel24"), Colour::Black);
  EXPECT_EQ(Text("Panel24"), "260.5 dB");
}

// ---- echo --------------------------------------------------------------------------

TEST_F(MoonBounceWindow, ZeroPowerShowsADashForTheEcho) {
  for (const char* group : {"RadioGroup4", "RadioGroup5", "RadioGroup6", "RadioGroup7"}) {
    f.Board()[group].itemIndex = 0;
  }
  f.RadioGroup7Click();
  EXPECT_EQ(Text("Panel25"), "-");
  EXPECT_EQ(Text("Panel26"), "-157.9 dBm");
  EXPECT_EQ(Text("Panel22"), "5.9 dB");
  EXPECT_EQ(Text("Panel74"), "Sys T\u00b0k 97.2 \u00b0K = 1.25 dB");
}

}  // namespace
}  // namespace korrin
