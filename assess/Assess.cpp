// The station assessed against every limit set: each set's figures come
// from the cycle run on a copy of the station with that limit in force.
#include <algorithm>
#include <numbers>

#include "assess/Internal.h"

namespace korrin::assess {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

// The calculator's own standards, after today's rules.
constexpr LimitSet kCalculatorSets[] = {LimitSet::CalculatorFcc, LimitSet::Arpansa2002,
                                        LimitSet::As2772};

bool IsSelected(const StationState& s, LimitSet set) {
  switch (set) {
    case LimitSet::CalculatorFcc:
      return s.StandardFCC;
    case LimitSet::Arpansa2002:
      return s.StandardARPANSA;
    case LimitSet::As2772:
      return s.StandardAS2772;
    case LimitSet::HandSet:
      return s.StandardVariable;
    case LimitSet::FccGeneral:
    case LimitSet::FccOccupational:
    case LimitSet::Icnirp2020:
    case LimitSet::Icnirp2020Occupational:
    case LimitSet::Icnirp1998:
    case LimitSet::Icnirp1998Occupational:
    case LimitSet::Sc6Uncontrolled:
    case LimitSet::Sc6Controlled:
      break;  // today's rules: the window offers none of them
  }
  return false;
}

}  // namespace

const LimitEntry* Assessment::Find(LimitSet set) const {
  for (const LimitEntry& e : limits) {
    if (e.set == set) return &e;
  }
  return nullptr;
}

const LimitEntry* Assessment::Selected() const {
  for (const LimitEntry& e : limits) {
    if (e.selected) return &e;
  }
  return nullptr;
}

Assessment Assess(const StationState& station, const Options& options) {
  Assessment a;
  a.frequencyMHz = station.FrequencyMHz;
  a.headHeightM = options.headHeightM;

  std::vector<LimitSet> sets(std::begin(kCalculatorSets), std::end(kCalculatorSets));
  if (station.StandardVariable) sets.push_back(LimitSet::HandSet);

  const bool tower = station.HfBandsShown && station.TowerHeight > 0;
  // The cycle runs once, to the exposure figures; each set derives only
  // what depends on its limit, the dish's near field scanned once for all
  // of them.
  StationState recalculated = station;
  RecalculateExposure(recalculated);

  // Today's rules: the station evaluation, once for all four.
  detail::TodaysRules today = detail::EvaluateTodaysRules(recalculated, options);
  a.band = today.band;
  a.lowerMHz = today.lowerMHz;
  a.upperMHz = today.upperMHz;
  Real farthest = 0;
  for (LimitEntry& e : today.entries) {
    if (e.keepOutM) farthest = std::max(farthest, *e.keepOutM);
    a.limits.push_back(std::move(e));
  }
  a.fccExemption = today.exemption;

  // The calculator's standards: its own model, as the window shows them.
  std::vector<Real> crossings;
  // Sets whose limits are equal at the frequency share one solution.
  std::vector<std::pair<Real, detail::KeepOutSolution>> solved;
  for (LimitSet set : sets) {
    LimitEntry e;
    e.set = set;
    e.source = EntrySource::Calculator;
    e.averagingMinutes = detail::AveragingMinutes(set);
    e.selected = IsSelected(station, set);
    e.applies = detail::Applies(set, station.FrequencyMHz);
    if (e.applies) {
      const StationState under = detail::WithLimitSet(recalculated, station, set);
      const ZoneShown zone = ExclusionZoneShown(under);
      auto same = std::find_if(solved.begin(), solved.end(),
                               [&under](const auto& p) { return p.first == under.RadiationLimit; });
      if (same == solved.end()) {
        solved.emplace_back(under.RadiationLimit, detail::SolveKeepOut(under));
        same = solved.end() - 1;
      }
      const detail::KeepOutSolution k = same->second;
      e.frequencyMHz = station.FrequencyMHz;
      e.limitWm2 = under.RadiationLimit;
      e.exclusionM = under.ExclusionDistanceM;
      if (zone.first == ZoneShown::First::Range)
        e.rangesM.push_back({zone.firstFromM, zone.firstToM});
      if (zone.secondShown) e.rangesM.push_back({0, zone.secondToM});
      e.zone = zone;
      e.crossingM = k.crossingM;
      e.keepOutM = std::max(k.crossingM, zone.LargestShownM());
      if (tower) {
        e.towerClearanceM = under.TowerClearanceM;
        e.headClearanceM = detail::HeadClearance(
            *e.keepOutM, static_cast<Real>(station.TowerHeight), options.headHeightM);
      }
      crossings.push_back(k.crossingM);
      farthest = std::max(farthest, *e.keepOutM);
    }
    a.limits.push_back(std::move(e));
  }

  // Everything below is the same under every limit.
  const StationState& s = recalculated;
  a.wavelengthM = s.WavelengthM;
  a.reactiveNearFieldM = s.WavelengthM / (2.0L * kPi);
  if (s.DishSelected) a.farFieldBoundaryM = s.FarFieldBoundaryM;
  a.profile = detail::DensityProfile(s, crossings, farthest);
  // The evaluation's densities over the same distances (none without power).
  if (today.installation && !ZeroPower(s) && !a.profile.empty()) {
    detail::AddEvaluationProfiles(a.limits, *today.installation, a.profile.back().distanceM);
  }
  a.warnings = detail::Warnings(a, s, today);
  return a;
}

}  // namespace korrin::assess
