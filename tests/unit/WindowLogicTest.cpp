// Start-up, the band plan and its side switch, the antenna families, the
// power digits, the feed loss and the mode factors, on a headless window.
#include <gtest/gtest.h>

#include "core/Tables.h"
#include "ui/Controls.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

class WindowLogicTest : public ::testing::Test {
 protected:
  void SetUp() override { form.FormActivate(); }

  const Control& At(const char* name) const { return form.Board().at(name); }
  void Select(const char* group, int item) { form.Board()[group].itemIndex = item; }

  HeadlessPlatform platform;
  TForm1 form{platform};
};

TEST_F(WindowLogicTest, StartUpStation) {
  const StationState& s = form.State();
  EXPECT_EQ(s.FrequencyMHz, 432);
  EXPECT_EQ(s.WavelengthM, 300.0L / 432.0L);
  EXPECT_EQ(s.TxPowerW, 1500);
  EXPECT_EQ(s.FormFactor, 0.4L);
  EXPECT_EQ(s.SixMinuteFactor, 175.0L / 3.0L);
  EXPECT_EQ(s.OverallDutyFactor, 0.4L * (7.0L / 12.0L));
  EXPECT_TRUE(s.DishSelected);
  EXPECT_FALSE(s.YagiSelected);
  EXPECT_FALSE(s.LowGainSelected);
  EXPECT_TRUE(s.StandardFCC);
  EXPECT_TRUE(s.MetricUnits);
  EXPECT_EQ(s.VhfBandIndex, 3);
  EXPECT_EQ(s.PowerThousands, 1000);
  EXPECT_EQ(s.PowerHundreds, 500);
  EXPECT_EQ(s.ModeIndex, 5);
  EXPECT_EQ(s.AveragingIndex, 4);
  EXPECT_EQ(s.BoltzmannConstant, 1.38e-23L);
  EXPECT_TRUE(s.ReservedFlag2);

  EXPECT_EQ(At("RadioGroup1").itemIndex, 3);
  EXPECT_TRUE(At("RadioGroup1").visible);
  EXPECT_FALSE(At("RadioGroup8").visible);
  EXPECT_EQ(At("RadioGroup2").itemIndex, 5);
  EXPECT_EQ(At("RadioGroup3").itemIndex, 4);
  EXPECT_EQ(At("Panel44").text, "Korrin Ver 4.4");
  EXPECT_EQ(At("Button2").text, "Metric");
  EXPECT_EQ(At("Panel78").color, Colour::Green);
  EXPECT_EQ(At("Panel75").color, Colour::ButtonFace);
  EXPECT_TRUE(At("SystemPerformance").visible);
  EXPECT_FALSE(At("Panel66").visible);
  EXPECT_FALSE(At("Panel85").visible);
  EXPECT_FALSE(At("Panel8").visible);
  EXPECT_FALSE(At("Panel83").visible);
  EXPECT_FALSE(At("Memo2").visible);
  EXPECT_TRUE(At("HF_Select").visible);
}

TEST_F(WindowLogicTest, SetUpLeavesTowerHfBandAndLowGainGain) {
  StationState& s = form.State();
  s.TowerHeight = 12;
  s.HfBandIndex = 6;
  s.LowGainDbi = 4.5L;
  form.Button1Click();
  EXPECT_EQ(s.TowerHeight, 12);
  EXPECT_EQ(s.HfBandIndex, 6);
  EXPECT_EQ(s.LowGainDbi, 4.5L);
}

TEST_F(WindowLogicTest, EveryVhfBand) {
  const char* shown[] = {"50 MHz",   "144 MHz",  "220 MHz",  "432 MHz", "900 MHz", "1296 MHz",
                         "2304 MHz", "3456 MHz", "5760 MHz", "10 GHz",  "24 GHz",  "48 GHz"};
  for (size_t i = 0; i < kVhfBands.size(); ++i) {
    // Step the path loss and sky temperature away first: the band puts its own back.
    form.State().PathLoss = 1;
    form.State().SkyTempK = 1;
    Select("RadioGroup1", static_cast<int>(i));
    form.RadioGroup1Click();
    const StationState& s = form.State();
    EXPECT_EQ(s.FrequencyMHz, kVhfBands[i].frequencyMHz);
    EXPECT_EQ(s.PathLoss, kVhfBands[i].pathLossDb);
    EXPECT_EQ(s.SkyTempK, kVhfBands[i].skyTempK);
    EXPECT_EQ(s.VhfBandIndex, static_cast<int>(i));
    EXPECT_EQ(At("Panel32").text, shown[i]);
  }
  Select("RadioGroup1", 1);
  form.RadioGroup1Click();
  EXPECT_EQ(form.State().PathLoss, 251.5L);
  EXPECT_EQ(form.State().SkyTempK, 250);
}

TEST_F(WindowLogicTest, NoBandItemChangesNothingButStillRecords) {
  Select("RadioGroup1", -1);
  form.RadioGroup1Click();
  EXPECT_EQ(form.State().FrequencyMHz, 432);
  EXPECT_EQ(form.State().VhfBandIndex, -1);
}

TEST_F(WindowLogicTest, HfBandsSetOnlyFrequencyAndTheBeamBand) {
  form.HF_SelectClick();
  StationState& s = form.State();
  EXPECT_EQ(s.FrequencyMHz, 14.2L);  // item 4 is selected in the HF group at start
  s.PathLoss = 250;
  s.SkyTempK = 99;
  Select("RadioGroup8", 8);
  form.RadioGroup8Click();
  EXPECT_EQ(s.FrequencyMHz, 29.7L);
  EXPECT_EQ(s.BeamBandIndex, 2);
  EXPECT_EQ(s.HfBandIndex, 8);
  Select("RadioGroup8", 5);
  form.RadioGroup8Click();
  EXPECT_EQ(s.FrequencyMHz, 18.3L);
  EXPECT_EQ(s.BeamBandIndex, 2);  // 18.3 MHz leaves the beam's band alone
  Select("RadioGroup8", 6);
  form.RadioGroup8Click();
  EXPECT_EQ(s.BeamBandIndex, 1);
  EXPECT_EQ(s.PathLoss, 250);
  EXPECT_EQ(s.SkyTempK, 99);
}

TEST_F(WindowLogicTest, EachSideRemembersItsFeedLoss) {
  EXPECT_EQ(At("Panel23").text, "1.0 dB");
  form.HF_SelectClick();
  EXPECT_EQ(At("Panel23").text, "0.0 dB");
  for (int i = 0; i < 5; ++i) form.SpinButton3UpClick();
  EXPECT_EQ(At("Panel23").text, "0.5 dB");
  form.SHF_SelectClick();
  EXPECT_EQ(At("Panel23").text, "1.0 dB");
  form.HF_SelectClick();
  EXPECT_EQ(At("Panel23").text, "0.5 dB");
}

TEST_F(WindowLogicTest, SideSwitchForcesTheFamilyAndSwapsTheGroups) {
  form.Panel46Click();  // the yagi array on the VHF-SHF side
  form.HF_SelectClick();
  const StationState& s = form.State();
  EXPECT_TRUE(s.LowGainSelected);
  EXPECT_FALSE(s.YagiSelected);
  EXPECT_TRUE(s.HfBandsShown);
  EXPECT_FALSE(s.ShfBandsShown);
  for (const char* shown : {"RadioGroup8", "SHF_Select", "Panel66", "Panel85", "Panel8"}) {
    EXPECT_TRUE(At(shown).visible) << shown;
  }
  for (const char* hidden : {"RadioGroup1", "HF_Select", "SystemPerformance"}) {
    EXPECT_FALSE(At(hidden).visible) << hidden;
  }
  form.SHF_SelectClick();
  EXPECT_TRUE(s.DishSelected);  // the dish, not the yagi used before
  EXPECT_FALSE(s.LowGainSelected);
  for (const char* shown : {"RadioGroup1", "HF_Select", "SystemPerformance"}) {
    EXPECT_TRUE(At(shown).visible) << shown;
  }
  for (const char* hidden : {"RadioGroup8", "SHF_Select", "Panel66", "Panel85", "Panel8"}) {
    EXPECT_FALSE(At(hidden).visible) << hidden;
  }
  EXPECT_EQ(s.FrequencyMHz, 432);
}

TEST_F(WindowLogicTest, ModeAndAveragingFactors) {
  struct Case {
    int mode, averaging;
    const char *form, *sixMinute, *duty;
  } cases[] = {
      {6, 0, "100 %", "100.0 %", "100.0 %"},  // Carrier, conversational
      {0, 1, "20 %", "50.0 %", "10.0 %"},     // SSB (non proc), EME 30 secs
      {7, 3, "60 %", "66.7 %", "40.0 %"},     // Analog TV, EME 2 minutes
      {1, 2, "50 %", "50.0 %", "25.0 %"},     // SSB (processed), EME 1 minute
  };
  for (const Case& c : cases) {
    Select("RadioGroup3", c.averaging);
    form.RadioGroup3Click();
    Select("RadioGroup2", c.mode);
    form.RadioGroup2Click();
    EXPECT_EQ(At("Panel30").text, c.form);
    EXPECT_EQ(At("Panel50").text, c.sixMinute);
    EXPECT_EQ(At("Panel14").text, c.duty);
    EXPECT_EQ(form.State().ModeIndex, c.mode);
    EXPECT_EQ(form.State().AveragingIndex, c.averaging);
  }
  // Carrier with conversational use: the average power is the feed power.
  Select("RadioGroup2", 6);
  form.RadioGroup2Click();
  Select("RadioGroup3", 0);
  form.RadioGroup3Click();
  EXPECT_EQ(At("Panel10").text, At("Panel20").text);
  // A mode change under "EME 2½ minutes" applies 7/12 without touching the averaging group.
  Select("RadioGroup3", 4);
  form.RadioGroup3Click();
  Select("RadioGroup2", 7);
  form.RadioGroup2Click();
  EXPECT_EQ(form.State().OverallDutyFactor, 0.6L * (7.0L / 12.0L));
  EXPECT_EQ(At("Panel14").text, "35.0 %");
}

TEST_F(WindowLogicTest, FeedLossClampsAtZeroAndAccumulates) {
  for (int i = 0; i < 10; ++i) form.SpinButton3UpClick();
  EXPECT_EQ(At("Panel23").text, "2.0 dB");
  for (int i = 0; i < 25; ++i) form.SpinButton3DownClick();
  EXPECT_EQ(form.State().FeedLossDb, 0);
  EXPECT_EQ(At("Panel23").text, "0.0 dB");
}

TEST_F(WindowLogicTest, AntennaFamilyColouring) {
  struct Case {
    void (TForm1::*select)();
    const char* tip[3];
    const char* face[6];
  } cases[] = {
      {&TForm1::Panel46Click,
       {"Panel37", "Panel62", "Panel46"},
       {"Panel2", "Panel61", "Panel45", "Panel66", "Panel82", "Panel85"}},
      {&TForm1::Panel85Click,
       {"Panel66", "Panel82", "Panel85"},
       {"Panel2", "Panel61", "Panel45", "Panel37", "Panel62", "Panel46"}},
      {&TForm1::Panel45Click,
       {"Panel2", "Panel61", "Panel45"},
       {"Panel37", "Panel62", "Panel46", "Panel66", "Panel82", "Panel85"}},
  };
  for (const Case& c : cases) {
    (form.*c.select)();
    for (const char* p : c.tip) EXPECT_EQ(At(p).color, Colour::TooltipBackground) << p;
    for (const char* p : c.face) EXPECT_EQ(At(p).color, Colour::ButtonFace) << p;
    const StationState& s = form.State();
    EXPECT_EQ(s.DishSelected + s.YagiSelected + s.LowGainSelected, 1);
  }
}

TEST_F(WindowLogicTest, DishAndYagiSelectorsClearTheExtraFeedThroughLowGainKeepsIt) {
  StationState& s = form.State();
  s.FeedThroughExtraK = 10;
  form.Panel85Click();
  EXPECT_EQ(s.FeedThroughExtraK, 10);
  form.Panel45Click();  // also when the dish is selected again
  EXPECT_EQ(s.FeedThroughExtraK, 0);
  s.FeedThroughExtraK = 10;
  form.Panel46Click();
  EXPECT_EQ(s.FeedThroughExtraK, 0);
}

TEST_F(WindowLogicTest, SetUpReturnsToTheDish) {
  form.Panel46Click();
  form.Button1Click();
  EXPECT_TRUE(form.State().DishSelected);
  EXPECT_FALSE(form.State().YagiSelected);
  EXPECT_EQ(At("Panel2").color, Colour::TooltipBackground);
  EXPECT_EQ(At("Panel37").color, Colour::ButtonFace);
}

TEST_F(WindowLogicTest, MetricImperialTwiceRestoresEveryText) {
  const ControlBoard before = form.Board();
  form.Button2Click();
  EXPECT_EQ(At("Button2").text, "Imperial");
  EXPECT_FALSE(form.State().MetricUnits);
  form.Button2Click();
  EXPECT_EQ(At("Button2").text, "Metric");
  for (const std::string& name : before.names()) {
    EXPECT_EQ(before.at(name).text, form.Board().at(name).text) << name;
  }
}

TEST_F(WindowLogicTest, DisclaimerToggles) {
  form.SpeedButton1Click();
  EXPECT_TRUE(At("Memo2").visible);
  form.SpeedButton1Click();
  EXPECT_FALSE(At("Memo2").visible);
  form.SpeedButton1Click();
  form.Memo2Click();
  EXPECT_FALSE(At("Memo2").visible);
  ASSERT_EQ(DisclaimerLines().size(), 17u);
  EXPECT_EQ(DisclaimerLines().front(), " ");
  EXPECT_EQ(DisclaimerLines()[3], "");
}

TEST_F(WindowLogicTest, ClosingAMessageBoxKeepsTheStation) {
  for (int i = 0; i < 3; ++i) form.SpinButton3UpClick();
  Select("RadioGroup2", 0);
  form.RadioGroup2Click();
  const StationState before = form.State();
  form.Panel44Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].kind, MessageKind::Information);
  EXPECT_NE(platform.messages[0].text.find("Help infomation please refer to:-"), std::string::npos);
  form.FormActivate();  // the window takes the focus back
  EXPECT_TRUE(SameStation(before, form.State()));
}

TEST_F(WindowLogicTest, CloseEndsTheProgramWithExitCodeZero) {
  form.BitBtn1Click();
  ASSERT_TRUE(platform.exitCode.has_value());
  EXPECT_EQ(*platform.exitCode, 0);
}

TEST_F(WindowLogicTest, PrintingReportsFailuresOnlyWhenPrintingFails) {
  platform.printOutcome = {PrintOutcome::Status::Cancelled, {}};
  form.BitBtn2Click();
  EXPECT_TRUE(platform.messages.empty());
  platform.printOutcome = {PrintOutcome::Status::Failed, "no printer"};
  form.BitBtn2Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].kind, MessageKind::Error);
  EXPECT_NE(platform.messages[0].text.find("no printer"), std::string::npos);
}

}  // namespace
}  // namespace korrin
