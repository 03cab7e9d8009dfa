// The inputs the assessment depends on, gathered for the texts about it.
#include <cmath>
#include <string>

#include "assess/Internal.h"
#include "core/Calc.h"
#include "core/Tables.h"

namespace korrin::assess {

namespace {

constexpr Real kCmPerInch = 2.54L;
constexpr Real kInchesPerFoot = 12.0L;

std::string AntennaWords(const StationState& s) {
  if (s.DishSelected) {
    if (s.MetricUnits) return detail::TwoDecimals(s.DishDiameterCm / 100.0L) + " m dish";
    return detail::TwoDecimals(s.DishDiameterCm / kCmPerInch / kInchesPerFoot) + " ft dish";
  }
  if (s.YagiSelected) {
    const long count = std::lround(static_cast<double>(s.YagiCount));
    return std::to_string(count) + (count == 1 ? " yagi" : " yagis");
  }
  if (s.LowGainSelected) {
    const char* caption = nullptr;
    if (s.DipoleSelected) return "Half-wave dipole";
    if (s.VerticalSelected && VerticalRow(s.VerticalLengthIndex, &caption, nullptr)) {
      return caption;
    }
    if (s.BeamSelected && BeamRow(s.BeamBandIndex, &caption, nullptr)) return caption;
    return "Antenna of set gain";
  }
  return "No antenna";
}

template <typename Table>
std::string Caption(const Table& table, Int index) {
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return "";
  return table[static_cast<size_t>(index)].caption;
}

}  // namespace

StationSummary Summarise(const StationState& s) {
  StationSummary m;
  const bool none = ZeroPower(s);
  m.frequencyMHz = s.FrequencyMHz;
  m.hfSide = s.HfBandsShown;
  m.metric = s.MetricUnits;
  m.txPowerW = none ? 0.0L : s.TxPowerW;
  m.feedLossDb = s.FeedLossDb;
  m.feedPowerW = none ? 0.0L : std::pow(10.0L, s.FeedPowerDbw / 10.0L);
  m.mode = Caption(kModes, s.ModeIndex);
  m.formFactor = s.FormFactor;
  m.pattern = Caption(kAveraging, s.AveragingIndex);
  m.sixMinuteFactor = s.SixMinuteFactor;
  m.overallFactor = s.OverallDutyFactor;
  m.antenna = AntennaWords(s);
  m.gainDbi = s.DishGainDbi;  // the gain in use after the cycle's antenna step
  m.groundReflection = s.GroundReflection;
  m.groundReflectionFactor = s.GroundReflection ? s.GroundReflectionFactor : 1.0L;
  if (s.HfBandsShown) m.towerHeightM = static_cast<Real>(s.TowerHeight);
  return m;
}

}  // namespace korrin::assess
