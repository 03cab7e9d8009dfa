#include "station/Rules.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "station/FileWords.h"
#include "station/TableReader.h"
#include "station/TablesText.h"

namespace korrin::station {

namespace {

constexpr Real kFreeSpaceImpedanceOhm = 377.0L;  // plane-wave equivalent S = E^2 / 377

struct RulesTables {
  std::vector<LimitRow> limits;
  std::vector<CountryRow> countries;
  std::vector<ThresholdRow> thresholds;
  std::vector<std::pair<std::string, BandRow>> bands;  // by country
  std::vector<std::string> problems;
};

// Both edges read, 0 < lower < upper.
bool Edges(Reader& r, std::size_t i, Real& lower, Real& upper) {
  const auto lo = r.Number(i, "lower_mhz");
  const auto hi = r.Number(i, "upper_mhz");
  if (lo && hi && *lo > 0 && *lo < *hi) {
    lower = *lo;
    upper = *hi;
    return true;
  }
  r.Problem(i, "the edges are not 0 < lower < upper");
  return false;
}

void ReadLimits(RulesTables& all) {
  Reader r("data/limit-sets.csv", TableText_limit_sets());
  for (std::size_t i = 0; i < r.Rows(); ++i) {
    const std::size_t before = r.ProblemCount();
    LimitRow row;
    row.set = r.Text(i, "set");
    const std::string tier = r.Text(i, "tier");
    const std::string criterion = r.Text(i, "criterion");
    row.occupational = tier == "occupational";
    row.instantaneous = criterion == "instantaneous";
    if (tier != "general" && tier != "occupational")
      r.Problem(i, "tier is not general or occupational");
    if (criterion != "time-averaged" && criterion != "instantaneous")
      r.Problem(i, "criterion is not time-averaged or instantaneous");
    if (!LimitSetFromWord(row.set)) r.Problem(i, "set is not a limit set's word");
    Edges(r, i, row.lowerMHz, row.upperMHz);
    const auto e = r.Number(i, "e_v_per_m");
    const auto eExp = r.Number(i, "e_exponent");
    row.sWPerM2 = r.Number(i, "s_w_per_m2", true);
    const auto sExp = r.Number(i, "s_exponent", !row.sWPerM2);
    const auto t = r.Number(i, "averaging_minutes");
    const auto tExp = r.Number(i, "averaging_exponent");
    const auto tUnit = r.Number(i, "averaging_unit_mhz");
    row.source = r.Source(i);
    if (e && eExp && *e > 0) {
      row.eVPerM = *e;
      row.eExponent = *eExp;
    } else {
      r.Problem(i, "e_v_per_m is not above 0 with an exponent");
    }
    if (row.sWPerM2 && !(*row.sWPerM2 > 0)) r.Problem(i, "s_w_per_m2 is not above 0");
    row.sExponent = sExp.value_or(0.0L);
    if (t && tExp && tUnit && *t >= 0 && *tUnit > 0 && (*t > 0) != row.instantaneous) {
      row.averagingMinutes = *t;
      row.averagingExponent = *tExp;
      row.averagingUnitMHz = *tUnit;
    } else {
      r.Problem(i, "the averaging time is not above 0 (0 for an instantaneous row)");
    }
    if (r.ProblemCount() == before) all.limits.push_back(row);
  }
  all.problems.insert(all.problems.end(), r.Problems().begin(), r.Problems().end());
}

void ReadCountries(RulesTables& all) {
  Reader r("data/countries.csv", TableText_countries());
  for (std::size_t i = 0; i < r.Rows(); ++i) {
    const std::size_t before = r.ProblemCount();
    CountryRow row;
    row.code = r.Text(i, "code");
    row.name = r.Text(i, "name");
    const auto region = r.Number(i, "region");
    const std::string sets = r.Text(i, "limit_sets");
    const std::string test = r.Text(i, "threshold_test");
    row.source = r.Source(i);
    if (row.code.size() != 2 || !std::all_of(row.code.begin(), row.code.end(),
                                             [](char c) { return c >= 'A' && c <= 'Z'; })) {
      r.Problem(i, "code is not two capital letters (ISO 3166-1 alpha-2)");
    }
    if (region && (*region == 1 || *region == 2 || *region == 3)) {
      row.region = static_cast<int>(*region);
    } else {
      r.Problem(i, "region is not 1, 2 or 3");
    }
    std::size_t at = 0;
    while (at < sets.size()) {
      const std::size_t end = std::min(sets.find(' ', at), sets.size());
      const std::string word = sets.substr(at, end - at);
      if (!word.empty()) {
        if (const auto set = LimitSetFromWord(word)) {
          row.limitSets.push_back(*set);
        } else {
          r.Problem(i, "unknown limit set " + word);
        }
      }
      at = end + 1;
    }
    if (row.limitSets.empty()) r.Problem(i, "no limit set");
    if (!test.empty()) row.thresholdTest = test;
    if (r.ProblemCount() == before) all.countries.push_back(row);
  }
  all.problems.insert(all.problems.end(), r.Problems().begin(), r.Problems().end());
}

void ReadThresholds(RulesTables& all) {
  Reader r("data/threshold-tests.csv", TableText_threshold_tests());
  for (std::size_t i = 0; i < r.Rows(); ++i) {
    const std::size_t before = r.ProblemCount();
    ThresholdRow row;
    row.test = r.Text(i, "test");
    Edges(r, i, row.lowerMHz, row.upperMHz);
    const auto eirp = r.Number(i, "eirp_w");
    const auto exponent = r.Number(i, "exponent");
    row.averagingMinutes = r.Number(i, "averaging_minutes", true);
    row.belowAtThreshold = r.Flag(i, "below_at_threshold");
    row.source = r.Source(i);
    if (eirp && exponent && *eirp > 0) {
      row.eirpW = *eirp;
      row.exponent = *exponent;
    } else {
      r.Problem(i, "eirp_w is not above 0 with an exponent");
    }
    if (row.averagingMinutes && !(*row.averagingMinutes > 0))
      r.Problem(i, "averaging_minutes is not above 0");
    if (row.test.empty()) r.Problem(i, "no test");
    if (r.ProblemCount() == before) all.thresholds.push_back(row);
  }
  all.problems.insert(all.problems.end(), r.Problems().begin(), r.Problems().end());
}

void ReadCountryBands(RulesTables& all) {
  Reader r("data/country-bands.csv", TableText_country_bands());
  for (std::size_t i = 0; i < r.Rows(); ++i) {
    const std::size_t before = r.ProblemCount();
    const std::string country = r.Text(i, "country");
    BandRow row;
    row.name = r.Text(i, "name");
    Edges(r, i, row.lowerMHz, row.upperMHz);
    row.source = r.Source(i);
    const auto c = std::find_if(all.countries.begin(), all.countries.end(),
                                [&](const CountryRow& k) { return k.code == country; });
    if (c == all.countries.end()) {
      r.Problem(i, "country " + country + " is not in data/countries.csv");
    } else {
      row.region = c->region;
    }
    if (row.name.empty()) r.Problem(i, "no name");
    if (r.ProblemCount() == before) all.bands.emplace_back(country, row);
  }
  all.problems.insert(all.problems.end(), r.Problems().begin(), r.Problems().end());
}

// The rows of a set's tier and criterion are one curve: the same range
// pieced without gaps or overlaps, in order.
void RequireContiguous(RulesTables& all) {
  for (std::size_t i = 1; i < all.limits.size(); ++i) {
    const LimitRow& a = all.limits[i - 1];
    const LimitRow& b = all.limits[i];
    if (a.set == b.set && a.occupational == b.occupational && a.instantaneous == b.instantaneous &&
        a.upperMHz != b.lowerMHz) {
      all.problems.push_back("data/limit-sets.csv: " + b.set + " does not start at " +
                             NumberText(b.lowerMHz) + " MHz where the row before ends");
    }
  }
  for (const CountryRow& c : all.countries) {
    if (c.thresholdTest &&
        std::none_of(all.thresholds.begin(), all.thresholds.end(),
                     [&](const ThresholdRow& t) { return t.test == *c.thresholdTest; })) {
      all.problems.push_back("data/countries.csv: " + c.code + " names an unknown threshold test " +
                             *c.thresholdTest);
    }
  }
}

const RulesTables& Tables() {
  static const RulesTables all = [] {
    RulesTables t;
    ReadLimits(t);
    ReadCountries(t);
    ReadThresholds(t);
    ReadCountryBands(t);
    RequireContiguous(t);
    return t;
  }();
  return all;
}

}  // namespace

Real LimitRow::DensityWm2(Real f) const {
  if (sWPerM2) return *sWPerM2 * std::pow(f, sExponent);
  const Real e = eVPerM * std::pow(f, eExponent);
  return e * e / kFreeSpaceImpedanceOhm;
}

Real LimitRow::AveragingMinutesAt(Real f) const {
  return averagingMinutes * std::pow(f / averagingUnitMHz, averagingExponent);
}

Real ThresholdRow::ThresholdW(Real f) const {
  return eirpW * std::pow(f, exponent);
}

const std::vector<LimitRow>& LimitRows() {
  return Tables().limits;
}
const std::vector<CountryRow>& Countries() {
  return Tables().countries;
}
const std::vector<ThresholdRow>& ThresholdRows() {
  return Tables().thresholds;
}
std::vector<std::string> RulesTableProblems() {
  return Tables().problems;
}

const LimitRow* FindLimitRow(std::string_view set, bool occupational, bool instantaneous, Real f) {
  const LimitRow* last = nullptr;
  for (const LimitRow& row : LimitRows()) {
    if (row.set != set || row.occupational != occupational || row.instantaneous != instantaneous)
      continue;
    if (f >= row.lowerMHz && f < row.upperMHz) return &row;
    last = &row;
  }
  return last != nullptr && f == last->upperMHz ? last : nullptr;
}

std::vector<Real> LimitRowEdgesMHz(std::string_view set, bool occupational, bool instantaneous) {
  std::vector<Real> edges;
  for (const LimitRow& row : LimitRows()) {
    if (row.set != set || row.occupational != occupational || row.instantaneous != instantaneous)
      continue;
    if (edges.empty()) edges.push_back(row.lowerMHz);
    edges.push_back(row.upperMHz);
  }
  return edges;
}

const CountryRow* FindCountry(std::string_view code) {
  for (const CountryRow& c : Countries()) {
    if (c.code == code) return &c;
  }
  return nullptr;
}

std::string CountryCodesText() {
  std::string text;
  for (const CountryRow& c : Countries()) text += (text.empty() ? "\"" : ", \"") + c.code + "\"";
  return text;
}

std::vector<const ThresholdRow*> ThresholdTestRows(std::string_view test) {
  std::vector<const ThresholdRow*> rows;
  for (const ThresholdRow& t : ThresholdRows()) {
    if (t.test == test) rows.push_back(&t);
  }
  return rows;
}

const BandRow* FindCountryBand(const std::optional<std::string>& country, std::string_view name) {
  if (!country) return nullptr;
  for (const auto& [code, band] : Tables().bands) {
    if (code == *country && band.name == name) return &band;
  }
  return nullptr;
}

const BandRow* FindStationBand(const Station& station, std::string_view name) {
  if (const BandRow* own = FindCountryBand(station.country, name)) return own;
  return FindBand(name, station.region);
}

std::vector<LimitSetChoice> DefaultLimitSets(const std::optional<std::string>& country) {
  if (const CountryRow* c = country ? FindCountry(*country) : nullptr) return c->limitSets;
  return Station{}.limitSets;
}

int DefaultRegion(const std::optional<std::string>& country) {
  if (const CountryRow* c = country ? FindCountry(*country) : nullptr) return c->region;
  return Station{}.region;
}

}  // namespace korrin::station
