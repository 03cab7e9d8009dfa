#include "station/FromCalculator.h"

#include <array>

#include "core/Calc.h"
#include "core/Tables.h"
#include "station/Tables.h"

namespace korrin::station {

namespace {

// The band of each of the calculator's band points, in the order of its
// tables (core/Tables.h).  A point need not lie inside its band (10.3 MHz,
// 18.3 MHz, 24.6 MHz, 220 MHz, 900 MHz and 48 GHz do not): the band is the
// one the point stands for.
constexpr std::array<const char*, kVhfBands.size()> kVhfBandNames{
    "6m", "2m", "1.25m", "70cm", "33cm", "23cm", "13cm", "9cm", "6cm", "3cm", "1.2cm", "6mm"};
constexpr std::array<const char*, kHfBands.size()> kHfBandNames{"160m", "80m", "40m", "30m", "20m",
                                                                "17m",  "15m", "12m", "10m"};

// The calculator's modes (core/Tables.h kModes) as rows of the mode table;
// nullptr where the table has no row (analog TV: its form factor is kept as
// a duty).  "FSK,RTTY or AM" is 100 % for all three, as the rtty row.
constexpr std::array<const char*, kModes.size()> kModeIds{
    "ssb", "ssb-processed", "fm", "rtty", "afsk", "cw", "carrier", nullptr};

Real AsFileValue(Real v) {
  return static_cast<double>(v);
}

}  // namespace

std::optional<std::string> CalculatorBandName(Real frequencyMHz) {
  for (std::size_t i = 0; i < kVhfBands.size(); ++i) {
    if (kVhfBands[i].frequencyMHz == frequencyMHz) return kVhfBandNames[i];
  }
  for (std::size_t i = 0; i < kHfBands.size(); ++i) {
    if (kHfBands[i].frequencyMHz == frequencyMHz) return kHfBandNames[i];
  }
  return std::nullopt;
}

// The averaging patterns (core/Tables.h kAveraging) over six minutes, worst
// window starting as a transmission starts:
//   "EME 30 secs"      0.5 min on, 0.5 off: 6 whole cycles, 3 of 6 minutes = 1/2;
//   "EME 1 minute"     1 on, 1 off:         3 whole cycles, 3 of 6 = 1/2;
//   "EME 2 minutes"    2 on, 2 off:         1 cycle and 2 on, 4 of 6 = 2/3;
//   "EME 2½ minutes"   2.5 on, 2.5 off:     1 cycle and 1 on, 3.5 of 6 = 7/12;
// which are the calculator's own multipliers.  Over 30 minutes the same
// cycles give what the longer averaging time gives (16/30 for 2 on, 2 off).
std::optional<Cycle> CalculatorCycle(int averagingIndex) {
  switch (averagingIndex) {
    case 1:
      return Cycle{0.5L, 0.5L};
    case 2:
      return Cycle{1, 1};
    case 3:
      return Cycle{2, 2};
    case 4:
      return Cycle{2.5L, 2.5L};
    default:
      return std::nullopt;
  }
}

Station FromCalculator(const korrin::StationState& s) {
  Station out;
  out.region = 2;
  out.groundReflection = s.GroundReflection;

  Transmitter t;
  t.id = "transmitter";
  // A calculator without power holds a tiny power of its own (the cycle's
  // floor); the file says what the window shows: 0 W.
  t.powerW = korrin::ZeroPower(s) ? 0 : AsFileValue(s.TxPowerW);
  if (s.ModeIndex >= 0 && static_cast<std::size_t>(s.ModeIndex) < kModes.size()) {
    const auto i = static_cast<std::size_t>(s.ModeIndex);
    if (kModeIds[i] != nullptr) {
      t.mode = kModeIds[i];
    } else {
      t.duty = AsFileValue(kModes[i].formFactor);
    }
  }
  if (const auto cycle = CalculatorCycle(s.AveragingIndex)) {
    t.onMinutes = cycle->onMinutes;
    t.offMinutes = cycle->offMinutes;
  }
  out.transmitters.push_back(t);

  Feedline f;
  f.id = "feed-line";
  f.lossDb = AsFileValue(s.FeedLossDb);
  out.feedlines.push_back(f);

  Antenna a;
  a.id = "antenna";
  a.height = Length::InMetres(static_cast<Real>(s.TowerHeight));
  if (s.DishSelected) {
    a.kind = "dish";
    a.diameter = Length::InMetres(AsFileValue(s.DishDiameterCm / 100));
    a.efficiency = AsFileValue(s.DishEfficiency);
  } else if (s.YagiSelected) {
    a.kind = "yagi";
    a.gain = Gain{AsFileValue(s.YagiArrayGainDbi), false};
  } else if (s.DipoleSelected) {
    a.kind = "dipole";
  } else {
    // The verticals and beams of the low-gain list, and the free gain.
    a.kind = "gain";
    a.gain = Gain{AsFileValue(s.LowGainDbi), false};
  }
  out.antennas.push_back(a);

  Installation n;
  n.transmitter = t.id;
  n.feedline = f.id;
  n.antenna = a.id;
  n.band = CalculatorBandName(s.FrequencyMHz);
  if (!n.band) n.frequencyMHz = AsFileValue(s.FrequencyMHz);
  n.id = n.band.value_or("calculator");
  out.installations.push_back(n);
  return out;
}

}  // namespace korrin::station
