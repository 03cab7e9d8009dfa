// Step 11's rule of summation, shared by the places and the property line:
// a transmitter drives one of its installations at a time, so a group's sum
// adds, over the transmitters, the largest fraction among each one's
// installations in the group; fields add for the instantaneous criterion
// (the sum of square roots of the power ratios).
#include <algorithm>
#include <cmath>

#include "assess/StationInternal.h"

namespace korrin::assess::detail {

std::vector<GroupPlan> PlanGroups(const std::vector<InstallationResult>& installations) {
  std::vector<GroupPlan> plans;
  for (size_t i = 0; i < installations.size(); ++i) {
    const InstallationResult& r = installations[i];
    auto g = std::find_if(plans.begin(), plans.end(),
                          [&](const GroupPlan& p) { return p.group == r.group; });
    if (g == plans.end()) {
      plans.push_back({r.group, {}, {}});
      g = std::prev(plans.end());
    }
    auto t = std::find(g->transmitters.begin(), g->transmitters.end(), r.transmitter);
    if (t == g->transmitters.end()) {
      g->transmitters.push_back(r.transmitter);
      g->installations.emplace_back();
      t = std::prev(g->transmitters.end());
    }
    g->installations[static_cast<size_t>(t - g->transmitters.begin())].push_back(i);
  }
  return plans;
}

std::vector<FractionAt> FractionFunctions(const std::vector<InstallationResult>& installations,
                                          const EvaluationOptions& options) {
  std::vector<FractionAt> f;
  f.reserve(installations.size());
  for (const InstallationResult& r : installations) {
    const auto o = options.fractionOverrides.find(r.id);
    if (o != options.fractionOverrides.end() && o->second) {
      f.push_back(o->second);
    } else {
      const InstallationResult* p = &r;  // the caller keeps the installations alive
      f.emplace_back([p](LimitSetChoice set, Tier tier, Criterion criterion, const Point3& at) {
        return FractionAtPoint(*p, set, tier, criterion, at);
      });
    }
  }
  return f;
}

Summed SumOver(const GroupPlan& plan, const std::vector<std::optional<Real>>& values, bool fields,
               const std::vector<InstallationResult>* named) {
  Summed s;
  for (size_t t = 0; t < plan.transmitters.size(); ++t) {
    std::optional<Real> largest;
    size_t which = 0;
    for (size_t i : plan.installations[t]) {
      if (values[i] && (!largest || *values[i] > *largest)) {
        largest = values[i];
        which = i;
      }
    }
    if (!largest) continue;
    const Real term = fields ? std::sqrt(*largest) : *largest;
    s.sum += term;
    ++s.contributing;
    if (named != nullptr) s.terms.push_back({plan.transmitters[t], (*named)[which].id, term});
  }
  return s;
}

std::optional<Real> MarginDb(Real sum, bool fields) {
  if (!(sum > 0)) return std::nullopt;
  return (fields ? 20.0L : 10.0L) * std::log10(1.0L / sum);
}

}  // namespace korrin::assess::detail
