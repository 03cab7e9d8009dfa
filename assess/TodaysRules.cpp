// The limits in force today, for the calculator's station: the station
// evaluation of the one installation station::FromCalculator makes of it
// (the band of its band point, its averaging pattern as a cycle, OET 65's
// ground factor and gains), so that the assessment and the station
// evaluation never show two figures for one station.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assess/Internal.h"
#include "station/FromCalculator.h"

namespace korrin::assess::detail {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

// Today's rules in the order the assessment lists them.
constexpr std::pair<LimitSetChoice, Tier> kTodaysRules[] = {
    {LimitSetChoice::Fcc, Tier::General},
    {LimitSetChoice::Fcc, Tier::Occupational},
    {LimitSetChoice::Icnirp2020, Tier::General},
    {LimitSetChoice::Icnirp2020, Tier::Occupational},
};

// The case a criterion's figures were found at.
const ExposureCase* GoverningCase(const CriterionResult& c) {
  for (const ExposureCase& e : c.cases) {
    if (e.frequencyMHz == c.frequencyMHz) return &e;
  }
  return nullptr;
}

// Two cases that put the same density everywhere along the beam.
bool SameDensity(const ExposureCase& a, const ExposureCase& b) {
  return a.frequencyMHz == b.frequencyMHz && a.powerW == b.powerW && a.gainRatio == b.gainRatio &&
         a.groundFactor == b.groundFactor && a.dish.has_value() == b.dish.has_value();
}

// An entry of today's rules with no figures yet: as where it does not apply.
LimitEntry EmptyEntry(LimitSetChoice set, Tier tier) {
  LimitEntry e;
  e.set = LimitSetFor(set, tier);
  e.source = EntrySource::Evaluation;
  e.averagingMinutes = LimitAveragingMinutes(e.set);
  return e;
}

LimitEntry EntryOf(const TierResult& t, const StationState& s, const Options& options) {
  LimitEntry e = EmptyEntry(t.set, t.tier);
  e.averagingMinutes = t.averagingMinutes;
  const CriterionResult* g = t.Governing();
  if (g == nullptr) return e;  // the set applies nowhere in the band
  e.applies = true;
  e.frequencyMHz = g->frequencyMHz;
  e.frequencyReason = g->reason;
  e.criterion = g->criterion;
  e.model = g->model;
  e.limitWm2 = g->limitWm2;
  e.keepOutM = g->keepOutM;
  e.crossingM = g->keepOutM;
  e.criteria = CriteriaOf(t);
  if (const ExposureCase* c = GoverningCase(*g); c != nullptr && c->limitWm2 > 0) {
    e.exclusionM =
        std::sqrt(c->groundFactor * c->powerW * c->gainRatio / (4.0L * kPi * c->limitWm2));
  }
  if (s.HfBandsShown && s.TowerHeight > 0) {
    const auto tower = static_cast<Real>(s.TowerHeight);
    e.towerClearanceM = HeadClearance(g->keepOutM, tower, 0);
    e.headClearanceM = HeadClearance(g->keepOutM, tower, options.headHeightM);
  }
  return e;
}

FccExemption ExemptionOf(const InstallationExemption& x, std::optional<Real> distanceM) {
  FccExemption e;
  e.frequencyMHz = x.frequencyMHz;
  e.frequencyReason = x.reason;
  e.erpW = x.erpW;
  e.reactiveNearFieldM = x.reactiveNearFieldM;
  e.thresholdDistanceM = x.thresholdDistanceM;
  e.minimumDistanceM = x.minimumDistanceM;
  if (distanceM) {
    const Real d = *distanceM;
    e.distanceM = d;
    // Exempt when the test holds at every frequency of the band: from
    // lambda / 2 pi on, with the ERP at most the threshold there.
    e.exempt = !x.cases.empty() && std::all_of(x.cases.begin(), x.cases.end(), [d](const auto& c) {
      return d >= c.reactiveNearFieldM && c.erpW <= c.thresholdPerSquareMetre * d * d;
    });
  }
  return e;
}

}  // namespace

TodaysRules EvaluateTodaysRules(const StationState& s, const Options& options) {
  // The calculator keeps a station without power at a tiny power of its
  // own (a file refuses 0 W); the evaluation runs at that power and its
  // figures that grow with the power are cleared, as the calculator clears
  // its own.
  const bool zero = ZeroPower(s);
  station::Station converted = station::FromCalculator(s);
  // The file holds 0 W there; the evaluation runs at the calculator's own
  // tiny power, as its curves do.
  if (zero) converted.transmitters.front().powerW = s.TxPowerW;
  StationEvaluation evaluation = Evaluate(converted);

  TodaysRules today;
  today.band = converted.installations.front().band;
  if (evaluation.installations.empty()) {
    today.lowerMHz = s.FrequencyMHz;
    today.upperMHz = s.FrequencyMHz;
    today.problem = evaluation.verdict.failures.empty()
                        ? std::string("the station evaluation could not evaluate the station.")
                        : evaluation.verdict.failures.front();
    for (const auto& [set, tier] : kTodaysRules) today.entries.push_back(EmptyEntry(set, tier));
    return today;
  }
  InstallationResult& r = evaluation.installations.front();
  today.lowerMHz = r.lowerMHz;
  today.upperMHz = r.upperMHz;
  for (const auto& [set, tier] : kTodaysRules) {
    const TierResult* t = r.Find(set, tier);
    today.entries.push_back(t != nullptr ? EntryOf(*t, s, options) : EmptyEntry(set, tier));
  }
  if (r.fccExemption) {
    if (zero) {
      for (ExemptionCase& c : r.fccExemption->cases) c.erpW = 0;
      r.fccExemption->erpW = 0;
      r.fccExemption->thresholdDistanceM = 0;
      r.fccExemption->minimumDistanceM = r.fccExemption->reactiveNearFieldM;
    }
    today.exemption = ExemptionOf(*r.fccExemption, options.distanceM);
  }
  if (zero) {
    for (LimitEntry& e : today.entries) {
      if (!e.applies) continue;
      e.keepOutM = 0;
      e.crossingM = 0;
      e.exclusionM = 0;
      if (e.headClearanceM) e.headClearanceM = 0;
      if (e.towerClearanceM) e.towerClearanceM = 0;
      for (CriterionFigures& c : e.criteria) {
        c.powerW = 0;
        c.eirpW = 0;
        c.erpW = 0;
        c.keepOutM = 0;
      }
    }
  }
  today.installation = std::move(r);
  return today;
}

void AddEvaluationProfiles(std::vector<LimitEntry>& entries, const InstallationResult& r,
                           Real toM) {
  // The governing case of each entry, found in the installation's results.
  std::vector<const ExposureCase*> cases;
  cases.reserve(entries.size());
  for (const LimitEntry& e : entries) {
    const ExposureCase* c = nullptr;
    if (e.source == EntrySource::Evaluation && e.applies && e.frequencyMHz) {
      for (const TierResult& t : r.results) {
        if (LimitSetFor(t.set, t.tier) != e.set) continue;
        if (const CriterionResult* cr = t.Find(e.criterion)) c = GoverningCase(*cr);
      }
    }
    cases.push_back(c);
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (cases[i] == nullptr || !entries[i].profile.empty()) continue;
    // Every entry of the same density: one profile with all their crossings.
    std::vector<size_t> sharing;
    std::vector<Real> crossings;
    for (size_t j = i; j < entries.size(); ++j) {
      if (cases[j] == nullptr || !SameDensity(*cases[i], *cases[j])) continue;
      sharing.push_back(j);
      crossings.push_back(entries[j].keepOutM.value_or(0.0L));
    }
    const std::vector<DensityPoint> profile = CaseProfile(*cases[i], crossings, toM);
    for (size_t j : sharing) entries[j].profile = profile;
  }
}

}  // namespace korrin::assess::detail
