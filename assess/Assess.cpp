// The station assessed against every limit set: each set's figures come
// from the cycle run on a copy of the station with that limit in force.
#include <algorithm>
#include <numbers>

#include "assess/Internal.h"

namespace korrin::assess {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

constexpr LimitSet kFixedSets[] = {LimitSet::FccGeneral, LimitSet::FccOccupational,
                                   LimitSet::Icnirp2020, LimitSet::Arpansa2002, LimitSet::As2772};

bool IsSelected(const StationState& s, LimitSet set) {
  switch (set) {
    case LimitSet::FccGeneral:
      return s.StandardFCC;
    case LimitSet::Arpansa2002:
      return s.StandardARPANSA;
    case LimitSet::As2772:
      return s.StandardAS2772;
    case LimitSet::HandSet:
      return s.StandardVariable;
    case LimitSet::FccOccupational:
    case LimitSet::Icnirp2020:
    case LimitSet::Icnirp2020Occupational:
      break;
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

  std::vector<LimitSet> sets(std::begin(kFixedSets), std::end(kFixedSets));
  if (station.StandardVariable) sets.push_back(LimitSet::HandSet);

  const bool tower = station.HfBandsShown && station.TowerHeight > 0;
  StationState last = station;
  std::vector<Real> crossings;
  Real farthest = 0;
  for (LimitSet set : sets) {
    LimitEntry e;
    e.set = set;
    e.averagingMinutes = detail::AveragingMinutes(set);
    e.selected = IsSelected(station, set);
    e.applies = detail::Applies(set, station.FrequencyMHz);
    if (e.applies) {
      last = detail::WithLimitSet(station, set, station.FrequencyMHz);
      const ZoneShown zone = ExclusionZoneShown(last);
      const detail::KeepOutSolution k = detail::SolveKeepOut(last);
      e.limitWm2 = last.RadiationLimit;
      e.exclusionM = last.ExclusionDistanceM;
      if (zone.first == ZoneShown::First::Range)
        e.rangesM.push_back({zone.firstFromM, zone.firstToM});
      if (zone.secondShown) e.rangesM.push_back({0, zone.secondToM});
      e.zone = zone;
      e.crossingM = k.crossingM;
      e.keepOutM = std::max(k.crossingM, zone.LargestShownM());
      if (tower) {
        e.towerClearanceM = last.TowerClearanceM;
        e.headClearanceM = detail::HeadClearance(
            *e.keepOutM, static_cast<Real>(station.TowerHeight), options.headHeightM);
      }
      crossings.push_back(k.crossingM);
      farthest = std::max(farthest, *e.keepOutM);
    }
    a.limits.push_back(std::move(e));
  }

  // Everything below is the same under every limit.
  a.wavelengthM = last.WavelengthM;
  a.reactiveNearFieldM = last.WavelengthM / (2.0L * kPi);
  if (last.DishSelected) a.farFieldBoundaryM = last.FarFieldBoundaryM;
  a.fccExemption = detail::EvaluateFccExemption(last, options.distanceM);
  a.warnings = detail::Warnings(a, last);
  a.profile = detail::DensityProfile(last, crossings, farthest);
  return a;
}

}  // namespace korrin::assess
