// The limit sets: identifiers, names, averaging times, frequency ranges,
// and the two sets the window does not offer.  Frequencies in MHz, limits
// in W/m^2; lower bounds inclusive, upper bounds exclusive.
#include <cmath>

#include "assess/Internal.h"
#include "core/Calc.h"

namespace korrin::assess {

namespace {

// FCC 47 CFR 1.1310 (both tiers) covers 0.3 MHz to 100 GHz.
constexpr Real kFccLowestMHz = 0.3L;
constexpr Real kFccHighestMHz = 100000.0L;
// ICNIRP 2020 whole-body limits, 100 kHz to 300 GHz.
constexpr Real kIcnirpLowestMHz = 0.1L;
constexpr Real kIcnirpHighestMHz = 300000.0L;
constexpr Real kFreeSpaceImpedanceOhm = 377.0L;  // plane-wave equivalent S = E^2 / 377

// FCC 47 CFR 1.1310 Table 1, occupational / controlled exposure (2021),
// converted from mW/cm^2 with 1 mW/cm^2 = 10 W/m^2.
Real FccOccupational(Real f) {
  if (f < 3.0L) return 1000.0L;
  if (f < 30.0L) return 9000.0L / (f * f);
  if (f < 300.0L) return 10.0L;
  if (f < 1500.0L) return f / 30.0L;
  return 50.0L;
}

// ICNIRP Guidelines (2020), general public, whole body, 30-minute average;
// adopted in Australia as ARPANSA RPS S-1 (2021).  Below 30 MHz the
// guidelines give field strengths only: E = 300 / f^0.7 V/m, taken here as
// its plane-wave equivalent density.
Real Icnirp2020(Real f) {
  if (f < 30.0L) {
    const Real e = 300.0L / std::pow(f, 0.7L);
    return e * e / kFreeSpaceImpedanceOhm;
  }
  if (f < 400.0L) return 2.0L;
  if (f < 2000.0L) return f / 200.0L;
  return 10.0L;
}

// The window's fixed standards through the cycle's own limit.
Real WindowStandard(LimitSet set, Real f) {
  StationState s{};
  s.FrequencyMHz = f;
  s.StandardAS2772 = set == LimitSet::As2772;
  s.StandardARPANSA = set == LimitSet::Arpansa2002;
  s.StandardFCC = set == LimitSet::FccGeneral;
  UpdateRadiationLimit(s);
  return s.RadiationLimit;
}

}  // namespace

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
      return "ARPANSA (2002, superseded), general public";
    case LimitSet::As2772:
      return "AS2772 (withdrawn), general public";
    case LimitSet::HandSet:
      return "Hand-set limit";
  }
  return "";
}

std::optional<Real> LimitAtFrequency(LimitSet set, Real frequencyMHz) {
  if (!detail::Applies(set, frequencyMHz)) return std::nullopt;
  switch (set) {
    case LimitSet::FccOccupational:
      return FccOccupational(frequencyMHz);
    case LimitSet::Icnirp2020:
      return Icnirp2020(frequencyMHz);
    case LimitSet::FccGeneral:
    case LimitSet::Arpansa2002:
    case LimitSet::As2772:
      return WindowStandard(set, frequencyMHz);
    case LimitSet::HandSet:
      break;
  }
  return std::nullopt;  // the hand-set limit is the station's, not the frequency's
}

namespace detail {

bool Applies(LimitSet set, Real f) {
  switch (set) {
    case LimitSet::FccGeneral:
    case LimitSet::FccOccupational:
      return f >= kFccLowestMHz && f < kFccHighestMHz;
    case LimitSet::Icnirp2020:
      return f >= kIcnirpLowestMHz && f < kIcnirpHighestMHz;
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
      return 30.0L;
    case LimitSet::FccOccupational:
    case LimitSet::Arpansa2002:
    case LimitSet::As2772:
      return 6.0L;
    case LimitSet::HandSet:
      break;
  }
  return std::nullopt;
}

StationState WithLimitSet(const StationState& station, LimitSet set, Real frequencyMHz) {
  StationState s = station;
  if (set != LimitSet::HandSet) {
    s.StandardAS2772 = set == LimitSet::As2772;
    s.StandardARPANSA = set == LimitSet::Arpansa2002;
    s.StandardFCC = set == LimitSet::FccGeneral;
    s.StandardVariable = set == LimitSet::FccOccupational || set == LimitSet::Icnirp2020;
    if (s.StandardVariable) {
      s.RadiationLimit = *LimitAtFrequency(set, frequencyMHz);
    } else {
      UpdateRadiationLimit(s);  // as the standard's panel does before the cycle
    }
  }
  Recalculate(s);
  return s;
}

}  // namespace detail

}  // namespace korrin::assess
