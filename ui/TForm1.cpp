#include "ui/TForm1.h"

#include "core/Tables.h"
#include "ui/Controls.h"
#include "ui/SteppedValues.h"

namespace korrin {

namespace {

// Item index of a radio group when it names a row of a table of n rows.
bool InTable(int index, size_t n) {
  return index >= 0 && static_cast<size_t>(index) < n;
}

}  // namespace

TForm1::TForm1(Platform& platform, NumberLocale locale)
    : platform_(platform), locale_(std::move(locale)) {
  DeclareMainWindow(board_);
}

void TForm1::FormActivate() {
  if (activated_) return;
  activated_ = true;
  SetUp();
  cleanRecord_ = CurrentRecord();
}

void TForm1::SetUp() {
  StationState& s = s_;
  // 1-4: defaults of the inputs
  s.FrequencyMHz = 432;
  s.PathLoss = 261;
  s.DishEfficiency = 0.55L;
  s.TxPowerW = 1500;
  s.PowerThousands = 1;
  s.PowerHundreds = 5;
  s.PowerTens = 0;
  s.PowerUnits = 0;
  board_["RadioGroup4"].itemIndex = 1;
  board_["RadioGroup5"].itemIndex = 5;
  board_["RadioGroup6"].itemIndex = 0;
  board_["RadioGroup7"].itemIndex = 0;
  s.DishDiameterCm = 950;
  s.LnaNoiseFigureDb = 0.6L;
  s.LnaLossDb = 0.1L;
  s.RxBandwidthHz = 120;
  s.SkyTempK = 15;
  s.LnaGainDb = 26;
  s.LnaRxLossDb = 2.0L;
  s.RxNoiseFigureDb = 1.0L;
  s.SpilloverTempK = 30;
  s.FeedLossDb = 1.0L;
  s.ShfFeedLossDb = s.FeedLossDb;
  s.HfFeedLossDb = 0.0L;
  s.WavelengthM = 300.0L / s.FrequencyMHz;
  s.BoltzmannConstant = 1.38e-23L;
  s.VerticalLengthIndex = 0;
  s.BeamBandIndex = 0;
  // 5: ground reflection off
  s.GroundReflection = false;
  s.GroundReflectionFactor = 1.0L;
  board_["GroundGainSelect"].color = Colour::ButtonFace;
  // 6: the dish, the VHF-SHF groups
  s.DishSelected = true;
  s.YagiSelected = false;
  s.LowGainSelected = false;
  board_["Panel66"].visible = false;
  board_["Panel85"].visible = false;
  board_["SystemPerformance"].visible = true;
  PaintAntennaFamily();
  board_["Panel8"].visible = false;
  board_["HF_Select"].visible = true;
  // 7-9
  s.MetricUnits = true;
  board_["Button2"].text = "Metric";
  s.DipoleSelected = true;
  s.VerticalSelected = false;
  s.BeamSelected = false;
  s.VariableGainSelected = false;
  s.ShfBandsShown = true;
  s.HfBandsShown = false;
  board_["RadioGroup1"].visible = true;
  board_["RadioGroup8"].visible = false;
  // 10: FCC
  s.StandardAS2772 = false;
  s.StandardARPANSA = false;
  s.StandardFCC = true;
  s.StandardVariable = false;
  PaintStandards();
  s.DefaultLoadRequested = false;
  s.DataFileMissing = false;
  // 11-12
  s.MeshWireDiameterMm = 1.0L;
  s.MeshSpacingMm = 12.7L;
  s.FeedThroughExtraK = 0.0L;
  s.YagiGainDbi = 16.8L;
  s.YagiCount = 1;
  s.YagiStackStep = 1;
  s.LimitStepCount = 0;
  s.SolarFluxSfu = 160;
  s.FirstZoneOpen = false;
  s.ReservedFlag1 = false;
  s.IncrementMultiplier = false;
  s.SolidDish = false;
  s.ReservedFlag2 = true;
  s.ReservedFlag3 = false;
  s.ReservedFlag4 = false;
  s.ReservedFlag5 = false;
  // 13: mode, averaging and power handlers
  s.ModeIndex = 5;
  board_["RadioGroup2"].itemIndex = 5;
  s.AveragingIndex = 4;
  board_["RadioGroup3"].itemIndex = 4;
  RadioGroup2Click();
  RadioGroup3Click();
  RadioGroup4Click();
  RadioGroup5Click();
  RadioGroup6Click();
  RadioGroup7Click();
  // 14: the 432 MHz band
  board_["RadioGroup1"].itemIndex = 3;
  RadioGroup1Click();
  // 15-17
  board_["Panel45"].color = Colour::TooltipBackground;
  board_["Panel44"].text = kVersionCaption;
  UpdateYagiArray();
  Recalculate();
}

void TForm1::Recalculate() {
  const CycleTrace trace = korrin::Recalculate(s_);
  DisplayDishLimitFactors();
  board_["Panel6"].text = Fixed(trace.DishGainDbiShown, 10, 2) + " dBi";
  DisplayPowerChain(trace);
  if (s_.DishSelected) board_["Panel34"].text = Fixed(s_.AntennaGainRatio, 8, 0);
  if (s_.LowGainSelected) {
    PaintLowGainPanels();
    DisplayLowGainGain();
  }
  DisplayLimit();
  DisplayExclusionZone();
  DisplayNoise(trace.Noise);
  DisplayPeakEirp();
  DisplayMoonBounceAndYagi(trace);
  DisplayGroundClearance();
}

// ---- window ---------------------------------------------------------------

void TForm1::Button1Click() {
  SetUp();
}

void TForm1::Button2Click() {
  s_.MetricUnits = !s_.MetricUnits;
  board_["Button2"].text = s_.MetricUnits ? "Metric" : "Imperial";
  Recalculate();
}

void TForm1::BitBtn1Click() {
  if (CloseQuery()) platform_.Terminate(0);
}

void TForm1::SpeedButton1Click() {
  Control& memo = board_["Memo2"];
  memo.visible = !memo.visible;
}

void TForm1::Memo2Click() {
  board_["Memo2"].visible = false;
}

void TForm1::Panel44Click() {
  platform_.ShowMessage(MessageKind::Information, VersionMessage());
}

// ---- bands ------------------------------------------------------------------

void TForm1::RadioGroup1Click() {
  const int i = board_["RadioGroup1"].itemIndex;
  if (InTable(i, kVhfBands.size())) {
    const VhfBand& band = kVhfBands[static_cast<size_t>(i)];
    s_.FrequencyMHz = band.frequencyMHz;
    s_.PathLoss = band.pathLossDb;
    s_.SkyTempK = band.skyTempK;
  }
  if (s_.ShfBandsShown) s_.VhfBandIndex = i;
  Recalculate();
}

void TForm1::RadioGroup8Click() {
  const int i = board_["RadioGroup8"].itemIndex;
  if (InTable(i, kHfBands.size())) {
    const HfBand& band = kHfBands[static_cast<size_t>(i)];
    s_.FrequencyMHz = band.frequencyMHz;
    if (band.beamBandIndex >= 0) s_.BeamBandIndex = band.beamBandIndex;
  }
  if (s_.HfBandsShown) s_.HfBandIndex = i;
  Recalculate();
}

void TForm1::HF_SelectClick() {
  s_.ShfFeedLossDb = s_.FeedLossDb;
  s_.HfBandsShown = true;
  s_.ShfBandsShown = false;
  Panel85Click();
  board_["RadioGroup8"].visible = true;
  board_["HF_Select"].visible = false;
  board_["RadioGroup1"].visible = false;
  board_["SHF_Select"].visible = true;
  board_["Panel66"].visible = true;
  board_["Panel85"].visible = true;
  board_["Panel8"].visible = true;
  board_["SystemPerformance"].visible = false;
  RadioGroup8Click();
  s_.FeedLossDb = s_.HfFeedLossDb;
  Recalculate();
}

void TForm1::SHF_SelectClick() {
  s_.HfFeedLossDb = s_.FeedLossDb;
  s_.ShfBandsShown = true;
  s_.HfBandsShown = false;
  Panel45Click();
  board_["RadioGroup1"].visible = true;
  board_["SHF_Select"].visible = false;
  board_["RadioGroup8"].visible = false;
  board_["HF_Select"].visible = true;
  board_["Panel66"].visible = false;
  board_["Panel85"].visible = false;
  board_["SystemPerformance"].visible = true;
  board_["Panel8"].visible = false;
  RadioGroup1Click();
  s_.FeedLossDb = s_.ShfFeedLossDb;
  Recalculate();
}

// ---- antenna families -------------------------------------------------------

void TForm1::PaintAntennaFamily() {
  struct Family {
    bool selected;
    const char* panels[3];  // group, aperture caption, selector
  };
  const Family families[] = {
      {s_.DishSelected, {"Panel2", "Panel61", "Panel45"}},
      {s_.YagiSelected, {"Panel37", "Panel62", "Panel46"}},
      {s_.LowGainSelected, {"Panel66", "Panel82", "Panel85"}},
  };
  for (const Family& f : families) {
    for (const char* name : f.panels) {
      board_[name].color = f.selected ? Colour::TooltipBackground : Colour::ButtonFace;
    }
  }
}

void TForm1::Panel45Click() {
  s_.DishSelected = true;
  s_.YagiSelected = false;
  s_.LowGainSelected = false;
  PaintAntennaFamily();
  s_.FeedThroughExtraK = 0;
  EvaluateNoise();
  korrin::EvaluateEcho(s_);
  Recalculate();
}

void TForm1::Panel46Click() {
  s_.YagiSelected = true;
  s_.DishSelected = false;
  s_.LowGainSelected = false;
  PaintAntennaFamily();
  s_.FeedThroughExtraK = 0;
  EvaluateNoise();
  korrin::EvaluateEcho(s_);
  Recalculate();
}

void TForm1::Panel85Click() {
  s_.LowGainSelected = true;
  s_.YagiSelected = false;
  s_.DishSelected = false;
  PaintAntennaFamily();
  UpdateLowGainAntenna();
  Recalculate();
}

void TForm1::UpdateYagiArray() {
  korrin::UpdateYagiArray(s_);
}

void TForm1::UpdateLowGainAntenna() {
  if (!korrin::UpdateLowGainAntenna(s_)) return;
  PaintLowGainPanels();
  DisplayLowGainGain();
}

// ---- transmitter power and feed loss ----------------------------------------

namespace {

void SetDigit(const Control& group, int unit, Int& field) {
  if (InTable(group.itemIndex, 10)) field = group.itemIndex * unit;
}

}  // namespace

void TForm1::RadioGroup4Click() {
  SetDigit(board_["RadioGroup4"], 1000, s_.PowerThousands);
  Recalculate();
}

void TForm1::RadioGroup5Click() {
  SetDigit(board_["RadioGroup5"], 100, s_.PowerHundreds);
  Recalculate();
}

void TForm1::RadioGroup6Click() {
  SetDigit(board_["RadioGroup6"], 10, s_.PowerTens);
  Recalculate();
}

void TForm1::RadioGroup7Click() {
  SetDigit(board_["RadioGroup7"], 1, s_.PowerUnits);
  RadioGroup4Click();
  RadioGroup5Click();
  RadioGroup6Click();
  Recalculate();
}

void TForm1::SpinButton3UpClick() {
  s_.FeedLossDb += 0.1L;
  Recalculate();
}

void TForm1::SpinButton3DownClick() {
  s_.FeedLossDb -= 0.1L;
  if (s_.FeedLossDb < steps::kFeedLoss.below) s_.FeedLossDb = steps::kFeedLoss.floor;
  Recalculate();
}

// ---- mode and averaging -------------------------------------------------------

void TForm1::RadioGroup2Click() {
  const int i = board_["RadioGroup2"].itemIndex;
  if (InTable(i, kModes.size())) s_.FormFactor = kModes[static_cast<size_t>(i)].formFactor;
  s_.ModeIndex = i;
  RadioGroup3Click();
  Recalculate();
}

void TForm1::RadioGroup3Click() {
  const int i = board_["RadioGroup3"].itemIndex;
  if (InTable(i, kAveraging.size())) {
    const AveragingPattern& p = kAveraging[static_cast<size_t>(i)];
    s_.OverallDutyFactor = s_.FormFactor * p.multiplier;
    s_.SixMinuteFactor = p.sixMinutePct;
  }
  s_.AveragingIndex = i;
  Recalculate();
}

}  // namespace korrin
