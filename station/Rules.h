// The rules where the licensee lives: the limit sets read from data/limit-sets.csv,
// the countries a station file may name (data/countries.csv) and the threshold tests
// on an installation's EIRP (data/threshold-tests.csv).  Each row carries its source;
// the tables are built into the program and read once, as station/Tables.h's.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "station/Station.h"
#include "station/Tables.h"

namespace korrin::station {

// One piece of a limit set's curve: from lowerMHz (inclusive) to upperMHz,
// E = eVPerM * f^eExponent V/m and, where the rule gives it, the power
// density S = sWPerM2 * f^sExponent W/m^2 (f in MHz).
struct LimitRow {
  std::string set;  // the station file's word: "icnirp-1998", "sc6-2015"
  bool occupational = false;
  bool instantaneous = false;  // a nerve-stimulation level, not averaged
  Real lowerMHz = 0;
  Real upperMHz = 0;
  Real eVPerM = 0;
  Real eExponent = 0;
  std::optional<Real> sWPerM2;  // empty: S = E^2 / 377
  Real sExponent = 0;
  // Averaging time = averagingMinutes * (f / averagingUnitMHz)^averagingExponent.
  Real averagingMinutes = 0;
  Real averagingExponent = 0;
  Real averagingUnitMHz = 1;
  std::string source;

  // The plane-wave density limit at f, W/m^2.
  Real DensityWm2(Real frequencyMHz) const;
  // The averaging time at f, minutes (0 for an instantaneous row).
  Real AveragingMinutesAt(Real frequencyMHz) const;
};

struct CountryRow {
  std::string code;  // ISO 3166-1 alpha-2: "US", "CA", "GB", "DE", "AU"
  std::string name;
  int region = 0;  // the ITU region of its band plan
  std::vector<LimitSetChoice> limitSets;
  std::optional<std::string> thresholdTest;  // a test of data/threshold-tests.csv
  std::string source;
};

// One piece of a threshold test: the threshold EIRP eirpW * f^exponent W
// from lowerMHz (inclusive) to upperMHz.
struct ThresholdRow {
  std::string test;  // "rss-102-2015", "ofcom-2021", "bemfv-2002"
  Real lowerMHz = 0;
  Real upperMHz = 0;
  Real eirpW = 0;
  Real exponent = 0;
  std::optional<Real> averagingMinutes;  // empty: the peak envelope power counts
  bool belowAtThreshold = true;          // an EIRP equal to the threshold is below it
  std::string source;

  Real ThresholdW(Real frequencyMHz) const;
};

const std::vector<LimitRow>& LimitRows();
const std::vector<CountryRow>& Countries();
const std::vector<ThresholdRow>& ThresholdRows();

// What was wrong with these tables' text; empty for a sound build.
std::vector<std::string> RulesTableProblems();

// The row of a set's tier and criterion that holds f (lower bound
// inclusive, upper exclusive; the last row's upper bound inclusive);
// nullptr outside the set's range.
const LimitRow* FindLimitRow(std::string_view set, bool occupational, bool instantaneous,
                             Real frequencyMHz);

// The ascending edges of a set's pieces for a tier and criterion, both ends
// of its range included; empty when the table has no such rows.
std::vector<Real> LimitRowEdgesMHz(std::string_view set, bool occupational, bool instantaneous);

// A country by its code (as written, upper case); nullptr when unknown.
const CountryRow* FindCountry(std::string_view code);

// The codes of the table, in its order, for messages: "US", "CA", ...
std::string CountryCodesText();

// The rows of a threshold test, in the table's order; empty when unknown.
std::vector<const ThresholdRow*> ThresholdTestRows(std::string_view test);

// A country's own row for a band (data/country-bands.csv), its region the
// country's; nullptr when the country keeps its region's row.
const BandRow* FindCountryBand(const std::optional<std::string>& country, std::string_view name);

// The band a station's installation names: the country's own row, else the
// region's (station/Tables.h FindBand).
const BandRow* FindStationBand(const Station& station, std::string_view name);

// The limit sets and ITU region a station is evaluated with when its file
// names `country` and leaves out limit-sets and region.
std::vector<LimitSetChoice> DefaultLimitSets(const std::optional<std::string>& country);
int DefaultRegion(const std::optional<std::string>& country);

}  // namespace korrin::station
