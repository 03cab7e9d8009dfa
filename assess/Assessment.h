// The station assessed against the exposure limits in force today and the
// window's own standards, computed by the unchanged cycle on copies of the
// station.  An assessment is a value: nothing here changes the station.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Calc.h"
#include "core/StationState.h"
#include "core/Zone.h"

namespace korrin::assess {

enum class LimitSet {
  FccGeneral,              // FCC 47 CFR 1.1310, general population / uncontrolled, 30 min
  FccOccupational,         // FCC 47 CFR 1.1310, occupational / controlled, 6 min
  Icnirp2020,              // ICNIRP 2020 general public (ARPANSA RPS S-1, 2021), 30 min
  Arpansa2002,             // the window's ARPANSA (2002, superseded), 6 min
  As2772,                  // the window's AS2772 (withdrawn), 6 min
  HandSet,                 // the window's hand-set limit, only while it is selected
  Icnirp2020Occupational,  // ICNIRP 2020 occupational (ARPANSA RPS S-1, 2021), 30 min
};

// "fcc-general", "fcc-occupational", "icnirp-2020", "arpansa-2002",
// "as2772", "hand-set", "icnirp-2020-occupational".
const char* LimitSetId(LimitSet set);

// The set's name with its edition and tier, as the program's texts show it.
const char* LimitSetName(LimitSet set);

// The set's limit at a frequency; empty outside the set's range and for
// the hand-set limit, which belongs to the station.
std::optional<Real> LimitAtFrequency(LimitSet set, Real frequencyMHz);

// The frequencies in MHz at which the set's formula changes, with the ends
// of its range first and last, ascending; empty for a set that applies at
// every frequency with one value (AS2772, the hand-set limit).
std::vector<Real> LimitBreakpointsMHz(LimitSet set);

// The set's averaging time in minutes; empty for the hand-set limit.
std::optional<Real> LimitAveragingMinutes(LimitSet set);

// FCC 47 CFR 1.1307(b)(3)(i)(C): the threshold ERP in W at `distanceM`;
// empty outside 0.3-100000 MHz.
std::optional<Real> FccThresholdErpW(Real frequencyMHz, Real distanceM);

// The frequencies in MHz at which the threshold's formula changes, with the
// ends of its range (0.3 and 100000 MHz), ascending.
std::vector<Real> FccThresholdBreakpointsMHz();

struct RangeM {
  Real fromM = 0;
  Real toM = 0;
};

// One limit set applied to the station.  Every optional figure is empty
// where the set does not apply at the station's frequency.
struct LimitEntry {
  LimitSet set = LimitSet::FccGeneral;
  std::optional<Real> averagingMinutes;  // empty for the hand-set limit
  bool selected = false;                 // the standard selected in the window
  bool applies = false;                  // the station's frequency is inside the set's range
  std::optional<Real> limitWm2;
  std::optional<Real> exclusionM;       // far-field distance at which the density equals the limit
  std::vector<RangeM> rangesM;          // the dish's ranges as the window shows them
  std::optional<ZoneShown> zone;        // what the zone displays would show
  std::optional<Real> keepOutM;         // outermost distance above the limit, gaps covered
  std::optional<Real> crossingM;        // the model's own outermost crossing (0: never above)
  std::optional<Real> towerClearanceM;  // HF side with a tower above 0 m only
  std::optional<Real> headClearanceM;   // HF side with a tower above 0 m only
};

// FCC 47 CFR 1.1307(b)(3)(i)(C): the exemption of a fixed transmitter by
// its time-averaged ERP and the distance to the nearest person.
struct FccExemption {
  Real erpW = 0;                  // time-averaged ERP, without the ground-reflection factor
  Real reactiveNearFieldM = 0;    // lambda / 2 pi, below which the test does not apply
  Real thresholdDistanceM = 0;    // where the threshold ERP equals the station's ERP
  Real minimumDistanceM = 0;      // the larger of the two: exempt from here on
  std::optional<Real> distanceM;  // the distance asked about
  std::optional<bool> exempt;     // the verdict there
};

struct DensityPoint {
  Real distanceM = 0;
  Real densityWm2 = 0;
};

struct Assessment {
  Real frequencyMHz = 0;
  Real wavelengthM = 0;
  Real reactiveNearFieldM = 0;            // lambda / 2 pi
  std::optional<Real> farFieldBoundaryM;  // the dish's; empty for gain-only antennas
  Real headHeightM = 2.0L;
  std::vector<LimitEntry> limits;            // in LimitSet order; hand-set only when selected
  std::optional<FccExemption> fccExemption;  // empty outside 0.3-100000 MHz
  std::vector<std::string> warnings;         // plain words, one sentence or two each
  std::vector<DensityPoint> profile;         // ascending distance

  const LimitEntry* Find(LimitSet set) const;
  const LimitEntry* Selected() const;  // the window's standard
};

struct Options {
  std::optional<Real> distanceM;  // for the exemption verdict
  Real headHeightM = 2.0L;
};

// The average density the model puts at `distanceM` along the beam of a
// recalculated station: the dish's near-field model inside its far-field
// boundary, the far-field formula elsewhere and for gain-only antennas.
Real DensityAlongBeam(const StationState& recalculated, Real distanceM);

// The station as the window holds it (recalculated) assessed against every
// limit set; `station` is not changed.
Assessment Assess(const StationState& station, const Options& options = {});

// The same, the dish's near-field factors taken from `steps` and the ones
// computed added to it: they depend on neither the station nor the limit,
// so a view that assesses one station after another keeps them and scans
// without computing them again.
Assessment Assess(const StationState& station, const Options& options, NearFieldSteps& steps);

// What the texts about the station name: the inputs that the assessment
// depends on, in the program's own words.
struct StationSummary {
  Real frequencyMHz = 0;
  bool hfSide = false;
  bool metric = true;
  Real txPowerW = 0;
  Real feedLossDb = 0;
  Real feedPowerW = 0;  // after the feed loss, without ground reflection
  std::string mode;     // the mode's caption
  Real formFactor = 0;
  std::string pattern;  // the averaging pattern's caption
  Real sixMinuteFactor = 0;
  Real overallFactor = 0;
  std::string antenna;  // "9.50 m dish", "4 yagis", "Half-wave dipole", ...
  Real gainDbi = 0;     // the gain in use
  bool groundReflection = false;
  Real groundReflectionFactor = 1;
  std::optional<Real> towerHeightM;  // HF side only
};

StationSummary Summarise(const StationState& station);

}  // namespace korrin::assess
