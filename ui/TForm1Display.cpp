// The display half of the recalculation: the texts of the result panels.
#include "ui/SteppedValues.h"
#include "ui/TForm1.h"
#include "ui/ZoneText.h"

namespace korrin {

std::string TForm1::Length(long double metres, int precision, int decimals) const {
  return LengthText(metres, precision, decimals, s_.MetricUnits, locale_);
}

void TForm1::DisplayDishLimitFactors() {
  board_["Panel3"].text = Fixed(s_.DishGainDbd, 10, 2) + " dBd";
  const Real diameter = ShownDishDiameter(s_, s_.DishDiameterCm);
  board_["Panel4"].text =
      s_.MetricUnits ? Fixed(diameter, 3, 1) + " m" : Fixed(diameter, 4, 1) + " ft";
  board_["Panel5"].text = Fixed(s_.DishBeamwidthDeg, 10, 2) + "\u00b0";
  board_["Panel7"].text = Fixed(s_.DishEfficiency, 5, 2);
  board_["Panel30"].text = Fixed(s_.FormFactor * 100.0L, 10, 0) + " %";
  board_["Panel14"].text = Fixed(s_.OverallDutyFactor * 100.0L, 10, 1) + " %";
  board_["Panel50"].text = Fixed(s_.SixMinuteFactor, 10, 1) + " %";
}

void TForm1::DisplayPowerChain(const CycleTrace& t) {
  const int watts = s_.TxPowerW < 10.0L ? 1 : 0;
  board_["Panel16"].text = Fixed(s_.TxPowerW, 4, watts) + " Watts";
  board_["Panel17"].text = Fixed(s_.TxPowerDbw, 4, 2) + " dBW";
  board_["Panel20"].text = Fixed(t.FeedPowerWShown, 4, watts) + " Watts";
  board_["Panel10"].text = Fixed(s_.AveragePowerW, 4, watts) + " Watts";
  board_["Panel21"].text = Fixed(s_.FeedPowerDbw, 4, 2) + " dBW";
  board_["Panel11"].text = Fixed(s_.AveragePowerDbw, 4, 2) + " dBW";
  board_["Panel23"].text = Fixed(s_.FeedLossDb, 3, 1) + " dB";
}

void TForm1::DisplayLimit() {
  board_["Panel9"].text = Fixed(s_.RadiationLimit, 3, 1) + "   W/M\u00b2";
  board_["Label33"].text = Fixed(s_.RadiationLimit / 10.0L, 4, 2) + " mW/cm\u00b2";
}

void TForm1::DisplayPeakEirp() {
  board_["Panel18"].text = NumberText(s_.PeakEirpW, 18, 0, locale_) + " Watts";
}

void TForm1::DisplayMoonBounceAndYagi(const CycleTrace& t) {
  Control& pathLoss = board_["Panel24"];
  pathLoss.text = Fixed(s_.PathLoss, 4, 1) + " dB";
  pathLoss.fontColor = t.PathLossChanged ? Colour::Green : Colour::Black;
  board_["Panel25"].text = ZeroPower(s_) ? "-" : Fixed(s_.EchoSnrDb, 4, 1) + " dB";
  board_["Panel26"].text = Fixed(s_.NoisePowerDbw + 30.0L, 6, 1) + " dBm";
  board_["Panel27"].text = Fixed(s_.LnaNoiseFigureDb, 4, 2) + " dB";
  board_["Panel28"].text = Fixed(s_.LnaLossDb, 4, 2) + " dB";
  board_["Panel29"].text = Fixed(s_.RxBandwidthHz, 4, 0) + " Hz";
  board_["Panel38"].text = Fixed(s_.YagiGainDbi, 4, 1) + " dBi";
  board_["Panel39"].text = Fixed(s_.YagiCount, 4, 0);
  board_["Panel41"].text = Fixed(s_.YagiArrayGainDbi, 4, 2) + " dBi";
  board_["Panel42"].text = Fixed(s_.YagiArrayGainDbd, 4, 2) + " dBd";
  board_["Panel40"].text = Fixed(s_.YagiEBeamwidthDeg, 3, 2) + " \u00b0";
  board_["Panel43"].text = Fixed(s_.YagiHBeamwidthDeg, 3, 2) + " \u00b0";
  board_["Panel31"].text = Fixed(s_.SkyTempK, 4, 0) + " \u00b0K";
  board_["Panel32"].text = s_.FrequencyMHz > 8000.0L
                               ? Fixed(s_.FrequencyMHz / 1000.0L, 4, 0) + " GHz"
                               : Fixed(s_.FrequencyMHz, 4, 0) + " MHz";
  board_["Panel33"].text = Fixed(s_.SolarFluxSfu, 4, 0);
  // Appended rather than prefixed: GCC 12 at -O3 warns falsely (-Wrestrict)
  // about inserting in front of a temporary string.
  board_["Panel35"].text = std::string("-").append(Fixed(s_.MeshAttenuationDb, 10, 1)) + " dB";
  board_["Panel36"].text = Fixed(s_.LnaGainDb, 3, 1) + " dB";
  board_["Panel52"].text = Fixed(s_.LnaRxLossDb, 3, 1) + " dB";
  board_["Panel53"].text = Fixed(s_.RxNoiseFigureDb, 3, 1) + " dB";
  board_["Panel55"].text = Fixed(s_.SpilloverTempK, 4, 0) + " \u00b0K";
  board_["Panel56"].text = Fixed(s_.FeedThroughTempK, 4, 0) + " \u00b0K";
  board_["Panel57"].text = s_.SolidDish ? "Solid" : Fixed(s_.MeshWireDiameterMm, 3, 2) + " mm";
  board_["Panel58"].text = Fixed(s_.SunYFactorDb, 3, 1) + " dB";
  board_["Panel70"].text = s_.SolidDish ? "Dish" : Fixed(s_.MeshSpacingMm, 3, 1) + " mm";
}

void TForm1::PaintStandards() {
  const std::pair<bool, const char*> standards[] = {
      {s_.StandardAS2772, "Panel75"},
      {s_.StandardARPANSA, "Panel77"},
      {s_.StandardFCC, "Panel78"},
      {s_.StandardVariable, "Panel79"},
  };
  for (const auto& [on, panel] : standards) {
    board_[panel].color = on ? Colour::Green : Colour::ButtonFace;
  }
}

void TForm1::SelectStandard(bool& flag) {
  s_.StandardAS2772 = false;
  s_.StandardARPANSA = false;
  s_.StandardFCC = false;
  s_.StandardVariable = false;
  flag = true;
  PaintStandards();
}

}  // namespace korrin
