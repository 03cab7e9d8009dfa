// Handlers and displays of the antennas (dish, yagi array, low-gain
// antennas), the exposure limits, ground reflection, the exclusion zone
// and the tower clearance.
#include <cstdlib>
#include <string_view>

#include "ui/SteppedValues.h"
#include "ui/TForm1.h"
#include "ui/ZoneText.h"

namespace korrin {

namespace {

// Diameter steps: 10 cm in metric units, 3.937 cm in imperial ones.
constexpr long double kMetricDiameterStepCm = 10.0L;
constexpr long double kImperialDiameterStepCm = 3.937L;
constexpr long double kEfficiencyStep = 0.01L;
constexpr long double kGainStepDb = 0.1L;
constexpr long double kLimitStepWm2 = 0.1L;
// The step count a varied limit is given at its floor: 2.0 W/m^2 down to
// 0.1 W/m^2 in steps of 0.1.
constexpr Int kStepsToLimitFloor = -19;
constexpr int kTrackBarMaximum = 30;

}  // namespace

// ---- dish -------------------------------------------------------------------

void TForm1::SpinButton1UpClick() {
  if (!s_.DishSelected) return;
  s_.DishDiameterCm += s_.MetricUnits ? kMetricDiameterStepCm : kImperialDiameterStepCm;
  Recalculate();
}

void TForm1::SpinButton1DownClick() {
  if (!s_.DishSelected) return;
  s_.DishDiameterCm -= s_.MetricUnits ? kMetricDiameterStepCm : kImperialDiameterStepCm;
  if (s_.DishDiameterCm < steps::kDishDiameterCm.below) {
    s_.DishDiameterCm = steps::kDishDiameterCm.floor;
  }
  Recalculate();
}

void TForm1::SpinButton2UpClick() {
  if (!s_.DishSelected) return;
  s_.DishEfficiency += kEfficiencyStep;
  if (s_.DishEfficiency > steps::kDishEfficiency.ceiling) {
    s_.DishEfficiency = steps::kDishEfficiency.ceiling;
  }
  Recalculate();
}

void TForm1::SpinButton2DownClick() {
  if (!s_.DishSelected) return;
  s_.DishEfficiency -= kEfficiencyStep;
  if (s_.DishEfficiency < steps::kDishEfficiency.below) {
    s_.DishEfficiency = steps::kDishEfficiency.floor;
  }
  Recalculate();
}

// ---- yagi array -----------------------------------------------------------------

void TForm1::SpinButton7UpClick() {
  if (!s_.YagiSelected) return;
  s_.YagiGainDbi += kGainStepDb;
  UpdateYagiArray();
  Recalculate();
}

void TForm1::SpinButton7DownClick() {
  if (!s_.YagiSelected) return;
  s_.YagiGainDbi -= kGainStepDb;
  if (s_.YagiGainDbi < steps::kYagiGain.below) s_.YagiGainDbi = steps::kYagiGain.floor;
  UpdateYagiArray();
  Recalculate();
}

void TForm1::SpinButton8UpClick() {
  if (!s_.YagiSelected) return;
  s_.YagiStackStep += 1;
  if (s_.YagiStackStep >= steps::kYagiStack.ceiling) {
    s_.YagiStackStep = static_cast<Int>(steps::kYagiStack.ceiling);
  }
  UpdateYagiArray();
  Recalculate();
}

void TForm1::SpinButton8DownClick() {
  if (!s_.YagiSelected) return;
  s_.YagiStackStep -= 1;
  if (s_.YagiStackStep < steps::kYagiStack.below) {
    s_.YagiStackStep = static_cast<Int>(steps::kYagiStack.floor);
  }
  UpdateYagiArray();
  Recalculate();
}

// ---- low-gain antennas ------------------------------------------------------------

void TForm1::DisplayLowGainGain() {
  board_["Panel81"].text = Fixed(s_.LowGainDbi, 4, 2) + " dBi";
  s_.LowGainDbd = s_.LowGainDbi - 2.2L;
  board_["Panel73"].text = Fixed(s_.LowGainDbd, 4, 2) + " dBd";
}

void TForm1::PaintLowGainPanels() {
  const char* white = nullptr;
  if (s_.DipoleSelected) {
    white = "Panel67";
  } else if (s_.VerticalSelected) {
    white = "Panel68";
    const char* caption = nullptr;
    if (VerticalRow(s_.VerticalLengthIndex, &caption, nullptr)) board_["Panel68"].text = caption;
  } else if (s_.BeamSelected) {
    white = "Panel69";
    const char* caption = nullptr;
    if (BeamRow(s_.BeamBandIndex, &caption, nullptr)) board_["Panel69"].text = caption;
  } else {
    return;  // the free-gain antenna keeps its colours
  }
  for (const char* name : {"Panel67", "Panel68", "Panel69"}) {
    board_[name].color = std::string_view(name) == white ? Colour::White : Colour::ButtonFace;
  }
}

namespace {

// The white one of the four antenna panels, the other three button face.
void PaintChosenAntenna(ControlBoard& board, std::string_view chosen) {
  for (const char* name : {"Panel67", "Panel68", "Panel69", "Panel80"}) {
    board[name].color = chosen == name ? Colour::White : Colour::ButtonFace;
  }
}

}  // namespace

void TForm1::Panel67Click() {
  s_.DipoleSelected = true;
  s_.VerticalSelected = false;
  s_.BeamSelected = false;
  PaintChosenAntenna(board_, "Panel67");
  s_.LowGainDbi = kDipoleGainDbi;
  DisplayLowGainGain();
  Recalculate();
}

void TForm1::Panel68Click() {
  s_.VerticalSelected = true;
  s_.DipoleSelected = false;
  s_.BeamSelected = false;
  UpdateLowGainAntenna();
  PaintChosenAntenna(board_, "Panel68");
  DisplayLowGainGain();
  UpdateLowGainAntenna();
  Recalculate();
}

void TForm1::Panel69Click() {
  s_.BeamSelected = true;
  s_.VerticalSelected = false;
  s_.DipoleSelected = false;
  PaintChosenAntenna(board_, "Panel69");
  DisplayLowGainGain();
  UpdateLowGainAntenna();
  Recalculate();
}

void TForm1::Panel80Click() {
  s_.VariableGainSelected = true;
  s_.BeamSelected = false;
  s_.VerticalSelected = false;
  s_.DipoleSelected = false;
  PaintChosenAntenna(board_, "Panel80");
  DisplayLowGainGain();
  UpdateLowGainAntenna();
  Recalculate();
}

void TForm1::VerticalSUpClick() {
  if (s_.VerticalSelected) {
    s_.VerticalLengthIndex += 1;
    if (s_.VerticalLengthIndex > 3) s_.VerticalLengthIndex = 0;
    const char* caption = nullptr;
    if (VerticalRow(s_.VerticalLengthIndex, &caption, &s_.LowGainDbi)) {
      board_["Panel68"].text = caption;
    }
    DisplayLowGainGain();
  }
  Recalculate();
}

void TForm1::VerticalSDownClick() {
  if (s_.VerticalSelected) {
    s_.VerticalLengthIndex -= 1;
    if (s_.VerticalLengthIndex < 0) s_.VerticalLengthIndex = 3;
    const char* caption = nullptr;
    if (VerticalRow(s_.VerticalLengthIndex, &caption, &s_.LowGainDbi)) {
      board_["Panel68"].text = caption;
    }
    DisplayLowGainGain();
  }
  Recalculate();
}

void TForm1::BeamSUpClick() {
  if (s_.BeamSelected) {
    s_.BeamBandIndex += 1;
    if (s_.BeamBandIndex > 2) s_.BeamBandIndex = 0;
    const char* caption = nullptr;
    if (BeamRow(s_.BeamBandIndex, &caption, &s_.LowGainDbi)) board_["Panel69"].text = caption;
    DisplayLowGainGain();
  }
  Recalculate();
}

void TForm1::BeamSDownClick() {
  if (s_.BeamSelected) {
    s_.BeamBandIndex -= 1;
    if (s_.BeamBandIndex < 0) s_.BeamBandIndex = 2;
    const char* caption = nullptr;
    if (BeamRow(s_.BeamBandIndex, &caption, &s_.LowGainDbi)) board_["Panel69"].text = caption;
    DisplayLowGainGain();
  }
  Recalculate();
}

void TForm1::VaryGainUpClick() {
  s_.LowGainDbi += kGainStepDb;
  DisplayLowGainGain();
  Recalculate();
}

void TForm1::VaryGainDownClick() {
  s_.LowGainDbi -= kGainStepDb;
  if (s_.LowGainDbi < steps::kVariableGain.below) s_.LowGainDbi = steps::kVariableGain.floor;
  DisplayLowGainGain();
  Recalculate();
}

// ---- exposure limits ---------------------------------------------------------------

void TForm1::Panel75Click() {
  SelectStandard(s_.StandardAS2772);
  korrin::UpdateRadiationLimit(s_);
  Recalculate();
}

void TForm1::Panel77Click() {
  SelectStandard(s_.StandardARPANSA);
  korrin::UpdateRadiationLimit(s_);
  Recalculate();
}

void TForm1::Panel78Click() {
  SelectStandard(s_.StandardFCC);
  korrin::UpdateRadiationLimit(s_);
  Recalculate();
}

// The limit in force stays and becomes the start of the stepping.
void TForm1::Panel79Click() {
  SelectStandard(s_.StandardVariable);
  Recalculate();
}

namespace {

// Red while the limit has not been stepped away from where it started.
void PaintLimitFonts(ControlBoard& board, Int steps) {
  const Colour c = steps == 0 ? Colour::Red : Colour::Green;
  board["Panel9"].fontColor = c;
  board["Label33"].fontColor = c;
}

}  // namespace

void TForm1::RadUpDnUpClick() {
  s_.RadiationLimit += kLimitStepWm2;
  s_.LimitStepCount += 1;
  PaintLimitFonts(board_, s_.LimitStepCount);
  Recalculate();
}

void TForm1::RadUpDnDownClick() {
  s_.RadiationLimit -= kLimitStepWm2;
  s_.LimitStepCount -= 1;
  if (s_.RadiationLimit < steps::kLimit.below) {
    s_.RadiationLimit = steps::kLimit.floor;
    s_.LimitStepCount = kStepsToLimitFloor;
  }
  PaintLimitFonts(board_, s_.LimitStepCount);
  Recalculate();
}

// ---- ground reflection and tower ------------------------------------------------------

void TForm1::GroundGainSelectClick() {
  Control& panel = board_["GroundGainSelect"];
  if (s_.GroundReflection) {
    s_.GroundReflection = false;
    s_.GroundReflectionFactor = 1.0L;
    panel.color = Colour::ButtonFace;
  } else {
    s_.GroundReflection = true;
    s_.GroundReflectionFactor = 2.56L;
    panel.color = Colour::Red;
  }
  Recalculate();
}

// The top of the vertical bar (position 0) is 30 m, the bottom 0 m.
void TForm1::TrackBar1Change() {
  s_.TowerHeight = std::abs(kTrackBarMaximum - board_["TrackBar1"].position);
  Recalculate();
}

// ---- displays ---------------------------------------------------------------------------

void TForm1::DisplayExclusionZone() {
  Control& first = board_["Panel64"];
  Control& second = board_["Panel63"];
  const ZoneShown zone = ExclusionZoneShown(s_);
  const ZoneTexts texts = ZoneText(zone, s_.MetricUnits, locale_);
  second.visible = zone.secondShown;
  first.top = second.visible ? 62 : 35;
  first.text = texts.first;
  second.text = texts.second;
  board_["Panel47"].text = Length(s_.FarFieldBoundaryM, 18, 2);

  board_["Panel49"].text = Fixed(s_.FarFieldDensityWm2, 10, 4) + " W/sq M";
  for (const char* name : {"Panel47", "Panel49", "Label7"}) board_[name].visible = s_.DishSelected;
}

void TForm1::DisplayGroundClearance() {
  const int decimals = s_.MetricUnits ? 2 : 1;
  board_["StaticText1"].text = Length(s_.TowerClearanceM, 18, decimals);
  board_["StaticText2"].text = Length(static_cast<long double>(s_.TowerHeight), 18, decimals);
  board_["ProgressBar1"].position = ClearanceBarPosition(s_.TowerClearanceM);
}

}  // namespace korrin
