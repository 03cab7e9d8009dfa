// The station assessed against the exposure limits in force today and the
// window's own standards, computed by the unchanged cycle on copies of the
// station.  An assessment is a value: nothing here changes the station.
#pragma once

#include <cstddef>
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
  CalculatorFcc,           // the window's FCC: general population as the calculator shows it
  Icnirp1998,              // ICNIRP 1998 general public (1999/519/EC, 26. BImSchV), 6 min
  Icnirp1998Occupational,  // ICNIRP 1998 occupational, 6 min
  Sc6Uncontrolled,         // Health Canada Safety Code 6 (2015), uncontrolled environments, 6 min
  Sc6Controlled,           // Health Canada Safety Code 6 (2015), controlled environments, 6 min
};

// How many limit sets there are: the size of an array indexed by LimitSet.
inline constexpr std::size_t kLimitSetCount = 12;

// "fcc-general", "fcc-occupational", "icnirp-2020", "arpansa-2002",
// "as2772", "hand-set", "icnirp-2020-occupational", "calculator-fcc".
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

// The set's averaging time at a frequency, for the sets whose time changes
// with it (ICNIRP 1998 above 10 GHz, Safety Code 6 above 15 GHz); else as
// LimitAveragingMinutes, 0 for the hand-set limit.
Real LimitAveragingMinutesAt(LimitSet set, Real frequencyMHz);

// The set's instantaneous (nerve-stimulation) level at f as a plane-wave
// density, W/m^2; empty where the set has none (outside 0.1-10 MHz, and
// for the sets without such levels).
std::optional<Real> InstantaneousLimitWm2(LimitSet set, Real frequencyMHz);

// FCC 47 CFR 1.1307(b)(3)(i)(C): the threshold ERP in W at `distanceM`;
// empty outside 0.3-100000 MHz.
std::optional<Real> FccThresholdErpW(Real frequencyMHz, Real distanceM);

// The frequencies in MHz at which the threshold's formula changes, with the
// ends of its range (0.3 and 100000 MHz), ascending.
std::vector<Real> FccThresholdBreakpointsMHz();

// Which criterion a figure belongs to: the limits averaged over the tier's
// time, or ICNIRP's instantaneous nerve-stimulation levels (0.1-10 MHz).
enum class Criterion { TimeAveraged, Instantaneous };

// The model that gives a keep-out distance: the far-field formula, OET 65's
// aperture equations of a dish, or the calculator's own on-axis model of
// the same dish.
enum class ExposureModel { FarField, Aperture, CalculatorScan };

// Why a frequency was evaluated: the one given, a band edge, a limit's
// breakpoint inside the band, or a point inside the band where the keep-out
// distance peaks between two of those (a feed line whose loss rises with
// the frequency against a limit or gain that favours higher frequencies).
enum class FrequencyReason { Given, LowerEdge, UpperEdge, Breakpoint, InsideBand };

// Where an entry's figures come from.
enum class EntrySource {
  // The calculator's own model on a copy of the station: its band point,
  // its six-minute average, its gains and ground factor, as the window
  // shows them.
  Calculator,
  // The station evaluation (assess/StationEvaluation.h) of the station as
  // station::FromCalculator converts it: the band's edges and breakpoints,
  // the averaging pattern as a cycle over each tier's time, OET 65's rules.
  Evaluation,
};

// "calculator", "station-evaluation".
const char* EntrySourceId(EntrySource source);

struct RangeM {
  Real fromM = 0;
  Real toM = 0;
};

struct DensityPoint {
  Real distanceM = 0;
  Real densityWm2 = 0;
};

// One criterion's figures of a limit set's tier, as the station evaluation
// gives them: the station's JSON and the assessment's list the same.
struct CriterionFigures {
  Criterion criterion = Criterion::TimeAveraged;
  bool governs = false;  // its keep-out distance is the tier's (the larger; time-averaged on a tie)
  Real frequencyMHz = 0;  // where its keep-out distance is largest
  FrequencyReason reason = FrequencyReason::Given;
  Real limitWm2 = 0;  // at frequencyMHz
  Real powerW = 0;    // averaged over the tier's time; the peak for the instantaneous criterion
  Real eirpW = 0;     // powerW times the gain, without the ground factor
  Real erpW = 0;      // eirpW over a half-wave dipole's gain
  Real keepOutM = 0;  // 0: never above the limit
  ExposureModel model = ExposureModel::FarField;
};

// One limit set applied to the station.  Every optional figure is empty
// where the set does not apply at the station's frequency (or anywhere in
// the band the evaluation covers).
//
// The calculator's entries (CalculatorFcc, Arpansa2002, As2772, HandSet)
// hold the calculator's figures; today's rules (FccGeneral, FccOccupational,
// Icnirp2020, Icnirp2020Occupational) hold the station evaluation's, at the
// frequency of the band and under the criterion that give the largest
// keep-out distance.
struct LimitEntry {
  LimitSet set = LimitSet::FccGeneral;
  EntrySource source = EntrySource::Calculator;
  std::optional<Real> averagingMinutes;  // empty for the hand-set limit
  bool selected = false;                 // the standard selected in the window
  bool applies = false;                  // the set's range holds the frequency (the band)
  // The frequency the figures hold at: the calculator's own, or the one of
  // the band where the evaluation's keep-out distance is largest.
  std::optional<Real> frequencyMHz;
  FrequencyReason frequencyReason = FrequencyReason::Given;
  // The criterion of the figures: ICNIRP's instantaneous levels where they
  // give the larger keep-out distance (0.1-10 MHz), else time-averaged.
  Criterion criterion = Criterion::TimeAveraged;
  std::optional<ExposureModel>
      model;                     // the evaluation's governing model; empty for the calculator's
  std::optional<Real> limitWm2;  // the criterion's limit at frequencyMHz
  // The far-field distance at which the density equals the limit: the
  // calculator's exclusion distance, or the far-field formula of the
  // evaluation (with its ground factor).
  std::optional<Real> exclusionM;
  std::vector<RangeM> rangesM;          // the dish's ranges as the window shows them (calculator's)
  std::optional<ZoneShown> zone;        // what the zone displays would show (calculator's)
  std::optional<Real> keepOutM;         // outermost distance above the limit, gaps covered
  std::optional<Real> crossingM;        // the model's own outermost crossing (0: never above)
  std::optional<Real> towerClearanceM;  // HF side with a tower above 0 m only
  std::optional<Real> headClearanceM;   // HF side with a tower above 0 m only
  // The evaluation's entries: the density its criterion puts along the
  // beam at frequencyMHz, by its own model, ascending distance, with points
  // at and just inside the keep-out distance; empty for the calculator's,
  // whose density is Assessment::profile.
  std::vector<DensityPoint> profile;
  // The evaluation's entries: each criterion that applies, time-averaged
  // first; the governing one gives frequencyMHz, limitWm2, criterion, model
  // and keepOutM above.  Empty for the calculator's.
  std::vector<CriterionFigures> criteria;
};

// FCC 47 CFR 1.1307(b)(3)(i)(C): the exemption of a fixed transmitter by
// its time-averaged ERP and the distance to the nearest person, from the
// station evaluation: over the band, at the frequency that makes the
// minimum exempt distance largest.
struct FccExemption {
  Real frequencyMHz = 0;  // where the minimum exempt distance is largest
  FrequencyReason frequencyReason = FrequencyReason::Given;
  Real erpW = 0;                  // 30-minute ERP there, without the ground-reflection factor
  Real reactiveNearFieldM = 0;    // lambda / 2 pi there, below which the test does not apply
  Real thresholdDistanceM = 0;    // where the threshold ERP equals the station's ERP
  Real minimumDistanceM = 0;      // the larger of the two: exempt from here on
  std::optional<Real> distanceM;  // the distance asked about
  std::optional<bool> exempt;     // the verdict there
};

struct Assessment {
  Real frequencyMHz = 0;  // the calculator's
  Real wavelengthM = 0;
  Real reactiveNearFieldM = 0;            // lambda / 2 pi at the calculator's frequency
  std::optional<Real> farFieldBoundaryM;  // the dish's; empty for gain-only antennas
  Real headHeightM = 2.0L;
  // What the evaluation covers: the band of the calculator's band point
  // (its edges in region 2), or the calculator's frequency twice.
  std::optional<std::string> band;
  Real lowerMHz = 0;
  Real upperMHz = 0;
  // Today's rules (FCC general, FCC occupational, ICNIRP 2020 general,
  // ICNIRP 2020 occupational), then the calculator's (its FCC, ARPANSA
  // 2002, AS2772, the hand-set limit only while it is selected).
  std::vector<LimitEntry> limits;
  std::optional<FccExemption> fccExemption;  // empty outside 0.3-100000 MHz
  std::vector<std::string> warnings;         // plain words, one sentence or two each
  std::vector<DensityPoint> profile;         // the calculator's model, ascending distance

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
// limit set: today's rules by the station evaluation of the station as
// station::FromCalculator converts it, the calculator's own standards by the
// cycle on copies of it; `station` is not changed.
Assessment Assess(const StationState& station, const Options& options = {});

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
