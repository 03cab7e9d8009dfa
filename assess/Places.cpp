// Step 11 of the method: at each place where people can be, the distance
// to every antenna (straight, from the antenna's feed point), and for each
// group and limit set the sum of the fractions of the place's tier, with
// the instantaneous field sum of ICNIRP below 10 MHz; at uncontrolled
// places the FCC exemption sum of 47 CFR 1.1307(b)(3)(ii)(B).  The main
// beam is taken to point at the place: the worst case.
#include <algorithm>
#include <limits>

#include "assess/StationInternal.h"

namespace korrin::assess::detail {

namespace {

Point3 PositionOf(const station::Place& p) {
  return {p.x.Metres(), p.y.Metres(), p.height.Metres()};
}

bool HasFcc(const std::vector<LimitSetChoice>& sets) {
  return std::find(sets.begin(), sets.end(), LimitSetChoice::Fcc) != sets.end();
}

}  // namespace

std::vector<PlaceResult> EvaluatePlaces(const station::Station& station,
                                        std::vector<InstallationResult>& installations,
                                        const std::vector<LimitSetChoice>& sets,
                                        const EvaluationOptions& options) {
  const std::vector<GroupPlan> plans = PlanGroups(installations);
  const std::vector<FractionAt> fraction = FractionFunctions(installations, options);
  const size_t n = installations.size();
  std::vector<PlaceResult> out;
  std::vector<Real> nearest(n, std::numeric_limits<Real>::infinity());

  for (const station::Place& place : station.places) {
    PlaceResult p;
    p.name = place.name;
    p.controlled = place.controlled;
    p.positionM = PositionOf(place);
    const Tier tier = place.controlled ? Tier::Occupational : Tier::General;
    std::vector<Real> distance(n);
    for (size_t i = 0; i < n; ++i) {
      distance[i] = DistanceM(installations[i].positionM, p.positionM);
      p.distancesM.emplace_back(installations[i].id, distance[i]);
    }

    std::vector<std::optional<Real>> values(n);
    for (LimitSetChoice set : sets) {
      for (Criterion criterion : {Criterion::TimeAveraged, Criterion::Instantaneous}) {
        for (size_t i = 0; i < n; ++i) values[i] = fraction[i](set, tier, criterion, p.positionM);
        const bool fields = criterion == Criterion::Instantaneous;
        for (const GroupPlan& plan : plans) {
          Summed s = SumOver(plan, values, fields, &installations);
          // The instantaneous sum is given where it applies; the averaged
          // one for every group and set, 0 where nothing contributes.
          if (fields && s.terms.empty()) continue;
          p.sums.push_back({plan.group, set, tier, criterion, s.sum, MarginDb(s.sum, fields),
                            std::move(s.terms)});
        }
      }
    }

    if (!place.controlled && HasFcc(sets)) {
      for (size_t i = 0; i < n; ++i) {
        values[i].reset();
        if (!installations[i].fccExemption) continue;
        values[i] = ExemptionTerm(
            *installations[i].fccExemption, distance[i],
            fraction[i](LimitSetChoice::Fcc, Tier::General, Criterion::TimeAveraged, p.positionM));
      }
      for (const GroupPlan& plan : plans) {
        Summed s = SumOver(plan, values, false, &installations);
        p.fccExemptionSums.push_back(
            {plan.group, s.sum, MarginDb(s.sum, false), std::move(s.terms)});
      }
      // The exemption verdict of each installation at the nearest
      // uncontrolled place.
      for (size_t i = 0; i < n; ++i) {
        InstallationResult& r = installations[i];
        if (!r.fccExemption || !(distance[i] < nearest[i])) continue;
        nearest[i] = distance[i];
        r.fccExemption->nearestPlace = p.name;
        r.fccExemption->distanceM = distance[i];
        r.fccExemption->exempt = distance[i] >= r.fccExemption->minimumDistanceM;
      }
    }
    out.push_back(std::move(p));
  }
  return out;
}

}  // namespace korrin::assess::detail
