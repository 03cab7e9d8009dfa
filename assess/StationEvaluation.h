// The whole station evaluated by the FCC's and ICNIRP's own methods: every
// installation (one transmitter through one feed line to one antenna) on
// its band or frequency, the sums of exposure fractions at the places where
// people can be and along the property line, the verdict and the warnings.
// An evaluation is a value computed from the station; nothing here changes
// the station.  The steps of the method are in assess/StationMethod.h.
//
// Units: metres, W/m^2, MHz, W, dB, minutes.  An optional figure is empty
// where it does not apply (the report writes null).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assess/Assessment.h"
#include "station/Station.h"
#include "station/Tables.h"

namespace korrin::assess {

using station::LimitSetChoice;

// The two tiers of every limit set: general public / uncontrolled, and
// occupational / controlled.
enum class Tier { General, Occupational };

// Criterion, ExposureModel and FrequencyReason are in assess/Assessment.h.

const char* LimitSetChoiceId(LimitSetChoice set);  // "fcc", "icnirp-2020"
const char* TierId(Tier tier);                     // "general", "occupational"
const char* CriterionId(Criterion criterion);      // "time-averaged", "instantaneous"
const char* ExposureModelId(ExposureModel model);  // "far-field", "aperture", "calculator-scan"
// "given", "lower-edge", "upper-edge", "breakpoint", "inside-band"
const char* FrequencyReasonId(FrequencyReason reason);
// The reason in the report's words: "the frequency given", "the band's
// lower edge", "a limit's breakpoint", ...
const char* FrequencyReasonWords(FrequencyReason reason);

// The limit set of assess/Assessment.h that a file's set and a tier name.
LimitSet LimitSetFor(LimitSetChoice set, Tier tier);

// Whether a file's set has instantaneous nerve-stimulation levels below
// 10 MHz besides its time-averaged ones (ICNIRP 2020, Safety Code 6).
bool HasInstantaneousLevels(LimitSetChoice set);

// A set's tier in a few words: "FCC general population", "ICNIRP 1998
// occupational", "Safety Code 6 uncontrolled".
std::string SetTierName(LimitSetChoice set, Tier tier);

// The name of a set's tier and criterion in the program's words, with the
// edition ("FCC 47 CFR 1.1310 (2021), general population / uncontrolled",
// "ICNIRP 2010 nerve-stimulation level (instantaneous), general public").
std::string CriterionName(LimitSetChoice set, Tier tier, Criterion criterion);

// A point of the site: east and north of the site's origin and height
// above the ground, metres.
struct Point3 {
  Real xM = 0;
  Real yM = 0;
  Real heightM = 0;
};

// The straight-line distance between two points, metres.
Real DistanceM(const Point3& a, const Point3& b);

// A dish as OET 65's aperture equations and the calculator's model see it.
struct DishAperture {
  Real diameterM = 0;
  Real efficiency = 0;  // 0 < e <= 1
};

// What an installation radiates at one frequency for one criterion of one
// tier: enough to give the density at any distance along the main beam.
struct ExposureCase {
  Real frequencyMHz = 0;
  FrequencyReason reason = FrequencyReason::Given;
  Real wavelengthM = 0;
  Real feedLossDb = 0;               // the feed line's loss at this frequency
  Real powerAtAntennaW = 0;          // peak envelope power after the feed line
  Real powerW = 0;                   // the power that counts: averaged, or the peak (instantaneous)
  Real gainRatio = 0;                // the antenna's power gain at this frequency
  Real groundFactor = 1;             // 2.56 with ground reflection, else 1 (always 1 for a dish)
  Real limitWm2 = 0;                 // the limit here (the lower side's at a breakpoint)
  std::optional<DishAperture> dish;  // dishes only
  // Dishes: the calculator's model of the dish at this power, worked once
  // so that densities anywhere cost little.
  std::shared_ptr<const StationState> calculatorDish;
};

// The density in W/m^2 the case puts at `distanceM` along the main beam:
// the far-field formula; for a dish the larger of OET 65's aperture
// equations and the calculator's model.  A distance below 1 cm is taken as
// 1 cm, so that a point on the antenna gives a large figure, not infinity.
Real DensityAtWm2(const ExposureCase& c, Real distanceM);

// One criterion of one tier over the installation's frequencies: the
// largest keep-out distance and where in the band it occurs.
struct CriterionResult {
  Criterion criterion = Criterion::TimeAveraged;
  Real frequencyMHz = 0;  // the frequency with the largest keep-out distance
  FrequencyReason reason = FrequencyReason::Given;
  Real limitWm2 = 0;    // at that frequency
  Real feedLossDb = 0;  // at that frequency
  Real powerAtAntennaW = 0;
  Real gainDbi = 0;
  Real powerW = 0;    // averaged over the tier's time; the peak for the instantaneous criterion
  Real eirpW = 0;     // powerW times the gain, without the ground factor
  Real erpW = 0;      // eirpW over a half-wave dipole's gain (1.64)
  Real keepOutM = 0;  // 0: never above the limit
  ExposureModel model = ExposureModel::FarField;
  std::optional<Real> apertureKeepOutM;  // dishes: OET 65's aperture equations
  std::optional<Real> scanKeepOutM;      // dishes: the calculator's own model
  std::vector<ExposureCase> cases;       // every frequency evaluated, for the density anywhere
};

// One tier of one limit set for an installation (an entry of "results").
// The report's figures: frequencyMHz, limitWm2, averagePowerW and eirpW are
// the time-averaged criterion's; keepOutM, model and criterion the
// governing one's; instantaneousKeepOutM the instantaneous criterion's.
struct TierResult {
  LimitSetChoice set = LimitSetChoice::Fcc;
  Tier tier = Tier::General;
  Real averagingMinutes = 30;
  std::optional<CriterionResult> timeAveraged;   // empty: the set applies nowhere in the range
  std::optional<CriterionResult> instantaneous;  // ICNIRP between 0.1 and 10 MHz only

  // The criterion with the larger keep-out distance (time-averaged on a
  // tie); nullptr when the set does not apply.
  const CriterionResult* Governing() const;
  const CriterionResult* Find(Criterion criterion) const;
  std::optional<Real> KeepOutM() const;  // the governing keep-out distance
};

// The tier's criteria that apply, time-averaged first, each with its
// figures and whether it governs.
std::vector<CriterionFigures> CriteriaOf(const TierResult& t);

// The FCC exemption test's figures at one frequency.
struct ExemptionCase {
  Real frequencyMHz = 0;
  FrequencyReason reason = FrequencyReason::Given;
  Real erpW = 0;                     // 30-minute ERP, without ground reflection
  Real thresholdPerSquareMetre = 0;  // threshold ERP / R^2 (the lower side's at a breakpoint)
  Real reactiveNearFieldM = 0;       // lambda / 2 pi
};

// FCC 47 CFR 1.1307(b)(3)(i)(C) for one installation.
struct InstallationExemption {
  Real frequencyMHz = 0;  // where the minimum exempt distance is largest
  FrequencyReason reason = FrequencyReason::Given;
  Real erpW = 0;                            // 30-minute ERP there, without ground reflection
  Real reactiveNearFieldM = 0;              // lambda / 2 pi there
  Real thresholdDistanceM = 0;              // where the threshold ERP equals the installation's
  Real minimumDistanceM = 0;                // exempt from here on, over the whole band
  std::optional<std::string> nearestPlace;  // the nearest uncontrolled place
  std::optional<Real> distanceM;            // to it
  std::optional<bool> exempt;               // the verdict there
  std::vector<ExemptionCase> cases;         // every frequency evaluated, for the sums
};

// A threshold test on one installation's EIRP (data/threshold-tests.csv):
// ISED RSS-102's exemption levels, Ofcom's 10 W EIRP, BEMFV's 10 W EIRP.
struct ThresholdResult {
  std::string test;       // the table's word: "rss-102-2015", "ofcom-2021", "bemfv-2002"
  Real frequencyMHz = 0;  // where the EIRP comes closest to (or goes furthest past) the threshold
  FrequencyReason reason = FrequencyReason::Given;
  std::optional<Real> averagingMinutes;  // empty: the EIRP of the peak envelope power
  Real eirpW = 0;                        // without ground reflection
  Real thresholdW = 0;                   // there (the lower side's at a breakpoint)
  bool below = false;                    // the test's own reading of a tie
  std::string source;                    // the threshold's row
};

// The test's name with its edition ("ISED RSS-102 Issue 5 (2015) exemption
// limits") and what its result means for the licensee ("no further
// assessment is needed", ...).
std::string ThresholdTestName(const std::string& test);
std::string ThresholdVerdictWords(const std::string& test, bool below);

// Where the duty factor and the transmit/receive cycle came from.
enum class DutySource { Mode, Duty, Assumed };
enum class CycleSource { Transmitter, Mode, None };

struct InstallationResult {
  std::string id;
  std::string transmitter;
  std::optional<std::string> feedline;  // empty: no feed line, no loss
  std::string antenna;
  std::optional<std::string> band;  // the band named, if any
  std::string group;
  Point3 positionM;   // the antenna's feed point
  Real lowerMHz = 0;  // the frequencies evaluated: the band's edges,
  Real upperMHz = 0;  // or the frequency given twice
  // The transmitter.
  Real transmitterPowerW = 0;  // peak envelope power at its output
  Real duty = 1;
  DutySource dutySource = DutySource::Assumed;
  std::string mode;               // the mode table's name; empty unless by mode
  std::optional<Real> onMinutes;  // the cycle; empty: transmitting throughout
  std::optional<Real> offMinutes;
  CycleSource cycleSource = CycleSource::None;
  // The antenna.
  bool dish = false;
  bool groundReflectionAsked = false;  // the file's setting for this installation
  Real groundFactor = 1;  // applied: 2.56, or 1 (asked off, a dish, a gain with the ground)
  // At frequencyMHz, the first result's time-averaged frequency (the
  // first limit set's general tier): the headline figures.
  Real frequencyMHz = 0;
  Real feedLossDb = 0;
  Real powerAtAntennaW = 0;
  // The most power at the antenna anywhere in the band (where the feed line
  // loses least): the near field's, whose model stands for the whole band.
  Real mostPowerAtAntennaW = 0;
  Real gainDbi = 0;
  std::vector<TierResult> results;  // the file's limit sets in order, general then occupational
  std::optional<InstallationExemption> fccExemption;  // FCC in the file, 0.3-100000 MHz
  std::optional<ThresholdResult> threshold;           // the country's test, where it covers

  const TierResult* Find(LimitSetChoice set, Tier tier) const;
  // The largest general-public keep-out distance over the limit sets (for
  // the site plan's circle); 0 when no set applies.
  Real GeneralKeepOutM() const;
};

// An installation's exposure at a point as a fraction of a limit: S / S_L,
// a power ratio for either criterion (the field sum takes its square root);
// empty where the set or the criterion does not apply to the installation.
using FractionAt = std::function<std::optional<Real>(LimitSetChoice set, Tier tier,
                                                     Criterion criterion, const Point3& at)>;

// The fraction a criterion's result puts at `distanceM` along the main
// beam: the largest over its frequencies of the density over the limit.
Real FractionAtDistance(const CriterionResult& criterion, bool dish, Real distanceM);

// The evaluation's own fraction: the installation's density at the point's
// distance along the main beam (the beam assumed to point at it), the
// largest over the frequencies evaluated, over the limit there.
std::optional<Real> FractionAtPoint(const InstallationResult& installation, LimitSetChoice set,
                                    Tier tier, Criterion criterion, const Point3& at);

// The radius of an installation's keep-out sphere cut at `heightM`: a
// circle around the antenna's x, y; empty when the sphere does not reach
// that height (keep-out at most the height difference).
std::optional<Real> KeepOutCircleRadiusM(Real keepOutM, Real antennaHeightM, Real heightM);

// One transmitter's term of a sum: its installation with the largest
// fraction there (a transmitter drives one installation at a time).
struct SumTerm {
  std::string transmitter;
  std::string installation;
  Real fraction = 0;  // S / S_L; for the instantaneous criterion its square root (the field ratio)
};

struct PlaceSum {
  std::string group;
  LimitSetChoice set = LimitSetChoice::Fcc;
  Tier tier = Tier::General;
  Criterion criterion = Criterion::TimeAveraged;
  Real sum = 0;                  // of fractions; of field ratios for the instantaneous criterion
  std::optional<Real> marginDb;  // 10 log10(1/sum), 20 log10(1/sum) for fields; empty at 0
  std::vector<SumTerm> terms;    // one per transmitter that contributes, in the file's order
};

struct ExemptionSum {
  std::string group;
  Real sum = 0;  // of ERP_i / threshold_i(R_i), or the MPE fraction inside lambda_i / 2 pi
  std::optional<Real> marginDb;
  std::vector<SumTerm> terms;
};

struct PlaceResult {
  std::string name;
  bool controlled = false;
  Point3 positionM;
  std::vector<std::pair<std::string, Real>> distancesM;  // installation id, metres
  std::vector<PlaceSum> sums;                  // every group and limit set, the place's tier
  std::vector<ExemptionSum> fccExemptionSums;  // uncontrolled places with FCC in the file
};

// The largest general-public sum along the property line for one group,
// limit set and criterion, and where it occurs.
struct PropertySum {
  std::string group;
  LimitSetChoice set = LimitSetChoice::Fcc;
  Tier tier = Tier::General;
  Criterion criterion = Criterion::TimeAveraged;
  Real maxSum = 0;
  Real atXM = 0;
  Real atYM = 0;
  std::optional<Real> marginDb;  // empty at a sum of 0
};

struct Verdict {
  bool complies = false;
  std::vector<std::string> failures;  // each failing place and line sum with its margin
  // The station names no place and no property line: nothing says where
  // people can be, so compliance is not shown (complies stays false), though
  // no sum is over its limit either.
  bool nothingToCheck = false;
};

// An installation that could not be evaluated, and why (the verdict's
// failure says the same in a sentence).
struct NotEvaluated {
  std::string id;
  std::string reason;  // "antenna \"x\" of kind \"wires\" takes its gain from ..."
};

struct StationEvaluation {
  std::string callsign;
  std::string site;
  std::string evaluatedBy;
  std::optional<std::string> country;  // ISO 3166 code; empty: no country named
  int region = 2;
  std::vector<LimitSetChoice> limitSets;
  std::optional<std::string> thresholdTest;       // the country's, if it has one
  std::vector<InstallationResult> installations;  // those that could be evaluated
  std::vector<NotEvaluated> notEvaluated;         // the others, in the file's order
  std::vector<PlaceResult> places;
  std::optional<Real> propertyHeightM;  // the height the line is checked at
  std::vector<PropertySum> property;    // empty without an outline
  Verdict verdict;
  std::vector<std::string> warnings;  // plain words, one or two sentences each

  const InstallationResult* FindInstallation(const std::string& id) const;
  const PlaceResult* FindPlace(const std::string& name) const;
};

// The rules the evaluation applied, with their editions, in one line:
// "Health Canada Safety Code 6 (2015), uncontrolled environments; ...;
// ISED RSS-102 Issue 5 (2015) exemption limits; band plan of ITU region 2
// (Canada)".  Every text, the record and the JSON name them from here.
std::string RulesAppliedText(const StationEvaluation& evaluation);

// The rows the evaluation looks up: the program's data tables, or tables
// made in code for a test.
struct TableLookups {
  std::function<const station::BandRow*(std::string_view name, int region)> band;
  std::function<const station::ModeRow*(std::string_view id)> mode;
  std::function<const station::CableRow*(std::string_view id)> cable;
  std::function<const station::AntennaKindRow*(std::string_view kind)> antennaKind;
  // dB per 100 m of a cable at a frequency in MHz
  std::function<Real(const station::CableRow& cable, Real frequencyMHz)> matchedLossDbPer100m;
};

struct EvaluationOptions {
  // An installation's fraction at a point from another model (a NEC-2
  // near-field computation), by installation id, in place of FractionAtPoint
  // for the places and the property line.
  std::map<std::string, FractionAt, std::less<>> fractionOverrides;
};

// The station evaluated with the program's data tables.
StationEvaluation Evaluate(const station::Station& station, const EvaluationOptions& options = {});

// The same with the given tables.  A station that the file checks would
// refuse (a missing reference, a band the region lacks) is still evaluated
// as far as it can be: each installation that cannot be evaluated is a
// failure of the verdict, never left out silently.
StationEvaluation Evaluate(const station::Station& station, const TableLookups& tables,
                           const EvaluationOptions& options = {});

}  // namespace korrin::assess
