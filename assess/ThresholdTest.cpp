// The threshold tests of the licensee's country on one installation: its
// EIRP (averaged over the test's time, or at the peak envelope power; no
// ground reflection) against the threshold of data/threshold-tests.csv,
// over the band at the frequency where the EIRP comes closest to the
// threshold, taken on the cautious side at the threshold's breakpoints.
#include <algorithm>
#include <cmath>

#include "assess/StationInternal.h"
#include "station/Rules.h"

namespace korrin::assess {

namespace {

constexpr Real kDecibelsPerBel = 10.0L;

struct TestWords {
  const char* test;
  const char* name;
  const char* below;
  const char* above;
};

constexpr TestWords kWords[] = {
    {"rss-102-2015", "ISED RSS-102 Issue 5 (2015) exemption limits",
     "exempt from routine evaluation",
     "not exempt: a routine evaluation against Safety Code 6 "
     "is needed"},
    {"ofcom-2021", "Ofcom EMF licence condition (2021), 10 W EIRP threshold",
     "no further assessment is needed",
     "above the threshold: the ICNIRP general-public limits apply and a record is kept"},
    {"bemfv-2002", "BEMFV section 9 (2002), 10 W EIRP notification threshold",
     "no notification to the Bundesnetzagentur is needed",
     "the installation is notified to the Bundesnetzagentur before it transmits"},
};

const TestWords* WordsOf(const std::string& test) {
  for (const TestWords& w : kWords) {
    if (test == w.test) return &w;
  }
  return nullptr;
}

// The threshold at f, the lower of the two rows that meet at a breakpoint.
std::optional<std::pair<Real, const station::ThresholdRow*>> ThresholdAt(
    const std::vector<const station::ThresholdRow*>& rows, Real f) {
  std::optional<std::pair<Real, const station::ThresholdRow*>> best;
  for (const station::ThresholdRow* row : rows) {
    const bool inside = f >= row->lowerMHz && f < row->upperMHz;
    const bool atUpperEdge = f == row->upperMHz;  // the row that ends at a breakpoint
    if (!inside && !atUpperEdge) continue;
    const Real w = row->ThresholdW(f);
    if (!best || w < best->first) best = std::make_pair(w, row);
  }
  return best;
}

struct Reading {
  ThresholdResult result;
  Real ratio = 0;  // EIRP over threshold
};

std::optional<Reading> At(const detail::ResolvedInstallation& r,
                          const std::vector<const station::ThresholdRow*>& rows, Real f,
                          FrequencyReason reason) {
  const std::optional<Real> loss = detail::FeedLossDbAt(r, f);
  const auto threshold = ThresholdAt(rows, f);
  if (!loss || !threshold) return std::nullopt;
  const station::ThresholdRow& row = *threshold->second;
  Reading at;
  ThresholdResult& t = at.result;
  t.test = row.test;
  t.frequencyMHz = f;
  t.reason = reason;
  t.averagingMinutes = row.averagingMinutes;
  const Real atAntenna = r.powerW * std::pow(10.0L, -*loss / kDecibelsPerBel);
  const Real power = row.averagingMinutes
                         ? atAntenna * r.duty * TimeFraction(r.cycle, *row.averagingMinutes)
                         : atAntenna;
  t.eirpW = power * detail::GainRatioAt(r, f);
  t.thresholdW = threshold->first;
  t.below = row.belowAtThreshold ? t.eirpW <= t.thresholdW : t.eirpW < t.thresholdW;
  t.source = row.source;
  at.ratio = t.eirpW / t.thresholdW;
  return at;
}

}  // namespace

std::string ThresholdTestName(const std::string& test) {
  const TestWords* w = WordsOf(test);
  return w != nullptr ? w->name : test;
}

std::string ThresholdVerdictWords(const std::string& test, bool below) {
  const TestWords* w = WordsOf(test);
  if (w == nullptr) return below ? "below the threshold" : "at or above the threshold";
  return below ? w->below : w->above;
}

namespace detail {

std::optional<ThresholdResult> EvaluateThreshold(const ResolvedInstallation& r,
                                                 const std::string& test, bool& ok) {
  const std::vector<const station::ThresholdRow*> rows = station::ThresholdTestRows(test);
  if (rows.empty()) return std::nullopt;
  std::vector<Real> breaks;
  for (const station::ThresholdRow* row : rows) {
    breaks.push_back(row->lowerMHz);
    breaks.push_back(row->upperMHz);
  }
  std::sort(breaks.begin(), breaks.end());
  const Real lowest = std::max(r.lowerMHz, breaks.front());
  const Real highest = std::min(r.upperMHz, breaks.back());
  if (lowest > highest) return std::nullopt;

  std::vector<Reading> readings;
  for (const CandidateFrequency& f : CandidateFrequencies(lowest, highest, breaks)) {
    const std::optional<Reading> at = At(r, rows, f.frequencyMHz, ReasonAt(f.frequencyMHz, r));
    if (!at) {
      ok = false;
      return std::nullopt;
    }
    readings.push_back(*at);
  }
  // Between two of those the ratio may still peak (a feed line's loss
  // rising with f against a threshold that falls or a gain that rises).
  const size_t ends = readings.size();
  for (size_t i = 0; i + 1 < ends; ++i) {
    const auto ratio = [&](Real f) {
      const std::optional<Reading> at = At(r, rows, f, FrequencyReason::InsideBand);
      return at ? at->ratio : 0.0L;
    };
    const std::optional<Real> peak =
        PeakInside(readings[i].result.frequencyMHz, readings[i + 1].result.frequencyMHz, ratio);
    if (peak) {
      if (const std::optional<Reading> at = At(r, rows, *peak, FrequencyReason::InsideBand)) {
        readings.push_back(*at);
      }
    }
  }
  const auto worst = std::max_element(
      readings.begin(), readings.end(),
      [](const Reading& a, const Reading& b) { return a.ratio < b.ratio; });  // a tie: the lower f
  return worst->result;
}

}  // namespace detail

std::string RulesAppliedText(const StationEvaluation& e) {
  std::string text;
  for (LimitSetChoice set : e.limitSets) {
    for (Tier tier : {Tier::General, Tier::Occupational}) {
      if (!text.empty()) text += "; ";
      text += LimitSetName(LimitSetFor(set, tier));
    }
    if (set == LimitSetChoice::Fcc) text += "; FCC 47 CFR 1.1307(b)(3) (2021) exemption test";
  }
  if (e.thresholdTest) text += "; " + ThresholdTestName(*e.thresholdTest);
  text += "; band plan of ITU region " + std::to_string(e.region);
  if (e.country) {
    const station::CountryRow* c = station::FindCountry(*e.country);
    text += " (" + (c != nullptr ? c->name : *e.country) + ")";
  }
  return text;
}

}  // namespace korrin::assess
