#include "ui/qt/assessment/AssessmentText.h"

#include <algorithm>
#include <cmath>

#include "ui/TForm1.h"

namespace korrin {

namespace {

constexpr int kMostDecimals = 9;       // a millimetre's thousandth; smaller figures read 0
constexpr int kFrequencyDecimals = 4;  // 0.1357 MHz: band edges to the 100 Hz

}  // namespace

QString Figure(Real value) {
  const double v = static_cast<double>(value);
  if (!std::isfinite(v)) return QStringLiteral("–");
  const double magnitude = std::fabs(v);
  if (magnitude == 0.0) return QStringLiteral("0");
  const int decade = static_cast<int>(std::floor(std::log10(magnitude)));
  int decimals = std::clamp(2 - decade, 0, kMostDecimals);
  QString text = QString::number(v, 'f', decimals);
  // 9.996 rounds to "10.00": a figure too many.
  const double rounded = std::fabs(text.toDouble());
  if (decimals > 0 && rounded > 0 && std::floor(std::log10(rounded)) > decade) {
    text = QString::number(v, 'f', --decimals);
  }
  return text;
}

QString LengthText(Real metres, bool metric) {
  return metric ? Figure(metres) + " m" : Figure(metres * kFeetPerMetre) + " ft";
}

QString PowerText(Real watts) {
  constexpr Real kKilo = 1000.0L;
  constexpr Real kShownInKiloFrom = 10000.0L;  // watts
  constexpr Real kShownInMegaFrom = 1.0e7L;
  if (watts >= kShownInMegaFrom) return Figure(watts / (kKilo * kKilo)) + " MW";
  if (watts >= kShownInKiloFrom) return Figure(watts / kKilo) + " kW";
  return Figure(watts) + " W";
}

QString DensityText(Real wm2) {
  return Figure(wm2) + " W/m² (" + Figure(wm2 / 10) + " mW/cm²)";
}

QString ShortLimitName(assess::LimitSet set) {
  switch (set) {
    case assess::LimitSet::FccGeneral:
      return "FCC general";
    case assess::LimitSet::FccOccupational:
      return "FCC occupational";
    case assess::LimitSet::Icnirp2020:
      return "ICNIRP 2020";
    case assess::LimitSet::Arpansa2002:
      return "ARPANSA 2002";
    case assess::LimitSet::As2772:
      return "AS2772";
    case assess::LimitSet::HandSet:
      return "Hand-set limit";
    case assess::LimitSet::Icnirp2020Occupational:
      return "ICNIRP 2020 occupational";
    case assess::LimitSet::CalculatorFcc:
      return "FCC (calculator)";
    case assess::LimitSet::Icnirp1998:
      return "ICNIRP 1998";
    case assess::LimitSet::Icnirp1998Occupational:
      return "ICNIRP 1998 occupational";
    case assess::LimitSet::Sc6Uncontrolled:
      return "Safety Code 6 uncontrolled";
    case assess::LimitSet::Sc6Controlled:
      return "Safety Code 6 controlled";
  }
  return {};
}

QString MegahertzText(Real mhz) {
  QString text = QString::number(double(mhz), 'f', kFrequencyDecimals);
  while (text.endsWith('0')) text.chop(1);
  if (text.endsWith('.')) text.chop(1);
  return text + " MHz";
}

QString ReasonText(assess::FrequencyReason reason) {
  switch (reason) {
    case assess::FrequencyReason::LowerEdge:
      return "lower edge";
    case assess::FrequencyReason::UpperEdge:
      return "upper edge";
    case assess::FrequencyReason::Breakpoint:
      return "breakpoint";
    case assess::FrequencyReason::InsideBand:
      return "inside the band";
    case assess::FrequencyReason::Given:
      break;
  }
  return {};
}

QString ModelText(assess::ExposureModel model) {
  switch (model) {
    case assess::ExposureModel::FarField:
      return "far field";
    case assess::ExposureModel::Aperture:
      return "aperture equations";
    case assess::ExposureModel::CalculatorScan:
      return "near-field model";
  }
  return {};
}

QString StationLine(const assess::StationSummary& s) {
  QString line = Figure(s.frequencyMHz) + " MHz · " + Figure(s.txPowerW) + " W";
  if (s.feedLossDb > 0) line += " (" + Figure(s.feedPowerW) + " W at the feed)";
  line += " · " + QString::fromStdString(s.antenna) + ", " +
          QString::number(double(s.gainDbi), 'f', 1) + " dBi · ";
  line += s.groundReflection ? "ground reflection on (× " + Figure(s.groundReflectionFactor) + ")"
                             : QStringLiteral("ground reflection off");
  if (s.towerHeightM) line += " · tower " + LengthText(*s.towerHeightM, s.metric);
  return line;
}

QString PlotTitle(const StationState& station) {
  return StationLine(assess::Summarise(station));
}

}  // namespace korrin
