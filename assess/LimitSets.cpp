// The limit sets: identifiers, names, averaging times, frequency ranges,
// and the two sets the window does not offer.  Frequencies in MHz, limits
// in W/m^2; lower bounds inclusive, upper bounds exclusive.
#include <cmath>
#include <iterator>
#include <vector>

#include "assess/Internal.h"
#include "assess/StationMethod.h"
#include "core/Calc.h"
#include "station/FileWords.h"
#include "station/Rules.h"

namespace korrin::assess {

namespace {

// FCC 47 CFR 1.1310 (both tiers) covers 0.3 MHz to 100 GHz.
constexpr Real kFccLowestMHz = 0.3L;
constexpr Real kFccHighestMHz = 100000.0L;
// ICNIRP 2020 whole-body limits, 100 kHz to 300 GHz.
constexpr Real kIcnirpLowestMHz = 0.1L;
constexpr Real kIcnirpHighestMHz = 300000.0L;
constexpr Real kFreeSpaceImpedanceOhm = 377.0L;  // plane-wave equivalent S = E^2 / 377

// One stretch of a limit's curve: from `fromMHz` (inclusive) to the next
// piece's start, the limit in W/m^2 at f MHz.
struct Piece {
  Real fromMHz;
  Real (*wm2)(Real f);
};

// The plane-wave equivalent density S = E^2 / 377 of a field strength in V/m.
Real PlaneWave(Real e) {
  return e * e / kFreeSpaceImpedanceOhm;
}

// FCC 47 CFR 1.1310 Table 1, occupational / controlled exposure (2021),
// converted from mW/cm^2 with 1 mW/cm^2 = 10 W/m^2.
constexpr Piece kFccOccupational[] = {
    {0.3L, [](Real) { return 1000.0L; }},  {3.0L, [](Real f) { return 9000.0L / (f * f); }},
    {30.0L, [](Real) { return 10.0L; }},   {300.0L, [](Real f) { return f / 30.0L; }},
    {1500.0L, [](Real) { return 50.0L; }},
};

// FCC 47 CFR 1.1310 Table 1, general population / uncontrolled: the
// window's own limit (core/Limits.cpp) gives the values; these are the
// frequencies at which its formula changes.
constexpr Real kFccGeneralBreaksMHz[] = {1.34L, 30.0L, 300.0L, 1500.0L};

// The window's ARPANSA (2002) limit changes formula at these frequencies
// (core/Limits.cpp); it applies at every frequency.
constexpr Real kArpansaBreaksMHz[] = {1.0L, 10.0L, 400.0L, 2000.0L};

// ICNIRP Guidelines (2020), Health Physics 118(5):483-524, Table 5:
// reference levels for exposure averaged over 30 min and the whole body;
// adopted in Australia as ARPANSA RPS S-1 (2021).  Below 30 MHz the table
// gives field strengths only: the E-field level is taken here as its
// plane-wave equivalent density.  General public: E = 300 / f^0.7 V/m,
// then 2 W/m^2 (30-400 MHz), f / 200 (400-2000 MHz), 10 (2-300 GHz).
constexpr Piece kIcnirp2020General[] = {
    {0.1L, [](Real f) { return PlaneWave(300.0L / std::pow(f, 0.7L)); }},
    {30.0L, [](Real) { return 2.0L; }},
    {400.0L, [](Real f) { return f / 200.0L; }},
    {2000.0L, [](Real) { return 10.0L; }},
};

// The same table, occupational: E = 660 / f^0.7 V/m, then 10 W/m^2
// (30-400 MHz), f / 40 (400-2000 MHz), 50 (2-300 GHz).
constexpr Piece kIcnirp2020Occupational[] = {
    {0.1L, [](Real f) { return PlaneWave(660.0L / std::pow(f, 0.7L)); }},
    {30.0L, [](Real) { return 10.0L; }},
    {400.0L, [](Real f) { return f / 40.0L; }},
    {2000.0L, [](Real) { return 50.0L; }},
};

// The piece that holds f; the caller has checked the set's range.
template <size_t N>
Real Evaluate(const Piece (&pieces)[N], Real f) {
  const Piece* at = &pieces[0];
  for (const Piece& p : pieces) {
    if (f >= p.fromMHz) at = &p;
  }
  return at->wm2(f);
}

template <size_t N>
std::vector<Real> Breaks(const Piece (&pieces)[N], Real highestMHz) {
  std::vector<Real> b;
  for (const Piece& p : pieces) b.push_back(p.fromMHz);
  b.push_back(highestMHz);
  return b;
}

// The sets whose curves are rows of data/limit-sets.csv: the table's word
// for the set and whether the tier is the occupational one.
struct TableSet {
  station::LimitSetChoice choice;
  bool occupational;
};

std::optional<TableSet> FromTable(LimitSet set) {
  switch (set) {
    case LimitSet::Icnirp1998:
      return TableSet{station::LimitSetChoice::Icnirp1998, false};
    case LimitSet::Icnirp1998Occupational:
      return TableSet{station::LimitSetChoice::Icnirp1998, true};
    case LimitSet::Sc6Uncontrolled:
      return TableSet{station::LimitSetChoice::Sc6, false};
    case LimitSet::Sc6Controlled:
      return TableSet{station::LimitSetChoice::Sc6, true};
    default:
      return std::nullopt;
  }
}

const station::LimitRow* TableRow(LimitSet set, bool instantaneous, Real f) {
  const std::optional<TableSet> t = FromTable(set);
  if (!t) return nullptr;
  return station::FindLimitRow(station::LimitSetWord(t->choice), t->occupational, instantaneous, f);
}

// The window's fixed standards through the cycle's own limit; FCC general
// population is the window's FCC limit.
Real WindowStandard(LimitSet set, Real f) {
  StationState s{};
  s.FrequencyMHz = f;
  s.StandardAS2772 = set == LimitSet::As2772;
  s.StandardARPANSA = set == LimitSet::Arpansa2002;
  s.StandardFCC = set == LimitSet::FccGeneral || set == LimitSet::CalculatorFcc;
  UpdateRadiationLimit(s);
  return s.RadiationLimit;
}

}  // namespace

const char* EntrySourceId(EntrySource source) {
  return source == EntrySource::Calculator ? "calculator" : "station-evaluation";
}

const char* LimitSetId(LimitSet set) {
  switch (set) {
    case LimitSet::FccGeneral:
      return "fcc-general";
    case LimitSet::FccOccupational:
      return "fcc-occupational";
    case LimitSet::Icnirp2020:
      return "icnirp-2020";
    case LimitSet::Arpansa2002:
      return "arpansa-2002";
    case LimitSet::As2772:
      return "as2772";
    case LimitSet::HandSet:
      return "hand-set";
    case LimitSet::Icnirp2020Occupational:
      return "icnirp-2020-occupational";
    case LimitSet::CalculatorFcc:
      return "calculator-fcc";
    case LimitSet::Icnirp1998:
      return "icnirp-1998";
    case LimitSet::Icnirp1998Occupational:
      return "icnirp-1998-occupational";
    case LimitSet::Sc6Uncontrolled:
      return "sc6-2015-uncontrolled";
    case LimitSet::Sc6Controlled:
      return "sc6-2015-controlled";
  }
  return "";
}

const char* LimitSetName(LimitSet set) {
  switch (set) {
    case LimitSet::FccGeneral:
      return "FCC 47 CFR 1.1310 (2021), general population / uncontrolled";
    case LimitSet::FccOccupational:
      return "FCC 47 CFR 1.1310 (2021), occupational / controlled";
    case LimitSet::Icnirp2020:
      return "ICNIRP 2020 / ARPANSA RPS S-1 (2021), general public";
    case LimitSet::Arpansa2002:
      return "The calculator's ARPANSA (2002, superseded), general public";
    case LimitSet::As2772:
      return "The calculator's AS2772 (withdrawn), general public";
    case LimitSet::HandSet:
      return "The calculator's hand-set limit";
    case LimitSet::Icnirp2020Occupational:
      return "ICNIRP 2020 / ARPANSA RPS S-1 (2021), occupational";
    case LimitSet::CalculatorFcc:
      return "The calculator's FCC 47 CFR 1.1310 (2021), general population";
    case LimitSet::Icnirp1998:
      return "ICNIRP 1998 (1999/519/EC, 26. BImSchV), general public";
    case LimitSet::Icnirp1998Occupational:
      return "ICNIRP 1998, occupational";
    case LimitSet::Sc6Uncontrolled:
      return "Health Canada Safety Code 6 (2015), uncontrolled environments";
    case LimitSet::Sc6Controlled:
      return "Health Canada Safety Code 6 (2015), controlled environments";
  }
  return "";
}

std::optional<Real> LimitAtFrequency(LimitSet set, Real frequencyMHz) {
  if (!detail::Applies(set, frequencyMHz)) return std::nullopt;
  switch (set) {
    case LimitSet::FccOccupational:
      return Evaluate(kFccOccupational, frequencyMHz);
    case LimitSet::Icnirp2020:
      return Evaluate(kIcnirp2020General, frequencyMHz);
    case LimitSet::Icnirp2020Occupational:
      return Evaluate(kIcnirp2020Occupational, frequencyMHz);
    case LimitSet::FccGeneral:
    case LimitSet::CalculatorFcc:
    case LimitSet::Arpansa2002:
    case LimitSet::As2772:
      return WindowStandard(set, frequencyMHz);
    case LimitSet::Icnirp1998:
    case LimitSet::Icnirp1998Occupational:
    case LimitSet::Sc6Uncontrolled:
    case LimitSet::Sc6Controlled:
      if (const station::LimitRow* row = TableRow(set, false, frequencyMHz)) {
        return row->DensityWm2(frequencyMHz);
      }
      break;
    case LimitSet::HandSet:
      break;
  }
  return std::nullopt;  // the hand-set limit is the station's, not the frequency's
}

std::vector<Real> LimitBreakpointsMHz(LimitSet set) {
  switch (set) {
    case LimitSet::FccGeneral:
    case LimitSet::CalculatorFcc: {
      std::vector<Real> b{kFccLowestMHz};
      b.insert(b.end(), std::begin(kFccGeneralBreaksMHz), std::end(kFccGeneralBreaksMHz));
      b.push_back(kFccHighestMHz);
      return b;
    }
    case LimitSet::FccOccupational:
      return Breaks(kFccOccupational, kFccHighestMHz);
    case LimitSet::Icnirp2020:
      return Breaks(kIcnirp2020General, kIcnirpHighestMHz);
    case LimitSet::Icnirp2020Occupational:
      return Breaks(kIcnirp2020Occupational, kIcnirpHighestMHz);
    case LimitSet::Arpansa2002:
      return {std::begin(kArpansaBreaksMHz), std::end(kArpansaBreaksMHz)};
    case LimitSet::Icnirp1998:
    case LimitSet::Icnirp1998Occupational:
    case LimitSet::Sc6Uncontrolled:
    case LimitSet::Sc6Controlled: {
      const TableSet t = *FromTable(set);
      return station::LimitRowEdgesMHz(station::LimitSetWord(t.choice), t.occupational, false);
    }
    case LimitSet::As2772:
    case LimitSet::HandSet:
      break;
  }
  return {};
}

Real LimitAveragingMinutesAt(LimitSet set, Real frequencyMHz) {
  if (const station::LimitRow* row = TableRow(set, false, frequencyMHz)) {
    return row->AveragingMinutesAt(frequencyMHz);
  }
  return LimitAveragingMinutes(set).value_or(0.0L);
}

std::optional<Real> InstantaneousLimitWm2(LimitSet set, Real frequencyMHz) {
  switch (set) {
    case LimitSet::Icnirp2020:
      return NerveStimulationLimitWm2(Tier::General, frequencyMHz);
    case LimitSet::Icnirp2020Occupational:
      return NerveStimulationLimitWm2(Tier::Occupational, frequencyMHz);
    default:
      break;
  }
  if (const station::LimitRow* row = TableRow(set, true, frequencyMHz)) {
    return row->DensityWm2(frequencyMHz);
  }
  return std::nullopt;
}

std::optional<Real> LimitAveragingMinutes(LimitSet set) {
  return detail::AveragingMinutes(set);
}

namespace detail {

bool Applies(LimitSet set, Real f) {
  switch (set) {
    case LimitSet::FccGeneral:
    case LimitSet::FccOccupational:
    case LimitSet::CalculatorFcc:
      return f >= kFccLowestMHz && f < kFccHighestMHz;
    case LimitSet::Icnirp2020:
    case LimitSet::Icnirp2020Occupational:
      return f >= kIcnirpLowestMHz && f < kIcnirpHighestMHz;
    case LimitSet::Icnirp1998:
    case LimitSet::Icnirp1998Occupational:
    case LimitSet::Sc6Uncontrolled:
    case LimitSet::Sc6Controlled: {
      const std::vector<Real> edges = LimitBreakpointsMHz(set);
      return !edges.empty() && f >= edges.front() && f < edges.back();
    }
    case LimitSet::Arpansa2002:
    case LimitSet::As2772:
    case LimitSet::HandSet:
      return true;  // as in the window: at every frequency
  }
  return false;
}

std::optional<Real> AveragingMinutes(LimitSet set) {
  switch (set) {
    case LimitSet::FccGeneral:
    case LimitSet::Icnirp2020:
    case LimitSet::Icnirp2020Occupational:
      return 30.0L;
    case LimitSet::FccOccupational:
    case LimitSet::Arpansa2002:
    case LimitSet::As2772:
    // The calculator's six-minute average, though the rule averages over 30.
    case LimitSet::CalculatorFcc:
    // The new sets' averaging time below 10 GHz; above it, the table's time
    // at each frequency (LimitAveragingMinutesAt).
    case LimitSet::Icnirp1998:
    case LimitSet::Icnirp1998Occupational:
    case LimitSet::Sc6Uncontrolled:
    case LimitSet::Sc6Controlled:
      return 6.0L;
    case LimitSet::HandSet:
      break;
  }
  return std::nullopt;
}

StationState WithLimitSet(const StationState& recalculated, const StationState& station,
                          LimitSet set) {
  StationState s = recalculated;
  // The edges a scan does not reach keep the ones it started from.
  s.FirstZoneInner = station.FirstZoneInner;
  s.FirstZoneOuter = station.FirstZoneOuter;
  s.SecondZoneInner = station.SecondZoneInner;
  s.SecondZoneOuter = station.SecondZoneOuter;
  s.RadiationLimit = station.RadiationLimit;
  if (set != LimitSet::HandSet) {
    s.StandardAS2772 = set == LimitSet::As2772;
    s.StandardARPANSA = set == LimitSet::Arpansa2002;
    s.StandardFCC = set == LimitSet::FccGeneral || set == LimitSet::CalculatorFcc;
    s.StandardVariable = set == LimitSet::FccOccupational || set == LimitSet::Icnirp2020 ||
                         set == LimitSet::Icnirp2020Occupational || FromTable(set).has_value();
    if (s.StandardVariable) {
      s.RadiationLimit = *LimitAtFrequency(set, s.FrequencyMHz);
    } else {
      UpdateRadiationLimit(s);  // as the standard's panel does before the cycle
    }
  }
  RecalculateLimit(s);
  return s;
}

}  // namespace detail

}  // namespace korrin::assess
