// Step 12 of the method: the property line, beyond which the general
// public may stand.  The sums of general-public fractions are sampled
// along the closed outline at its height, at most 0.25 m apart and at the
// foot of the perpendicular from every antenna onto every side (where a
// single antenna's contribution peaks, which a fixed step could straddle);
// the largest sum of each group, limit set and criterion, and where it is.
#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "assess/StationInternal.h"
#include "core/Checked.h"

namespace korrin::assess::detail {

namespace {

struct SumKey {
  LimitSetChoice set;
  Criterion criterion;
};

}  // namespace

std::vector<Point3> OutlinePoints(const station::Property& property, Real stepM,
                                  const std::vector<Point3>& antennas) {
  const Real scale = property.unit == station::LengthUnit::Feet ? station::kMetresPerFoot : 1.0L;
  const Real h = property.height.Metres();
  const std::vector<station::Property::Point>& corners = property.outline;
  std::vector<Point3> points;
  const size_t n = corners.size();
  for (size_t k = 0; k < n; ++k) {
    const Real ax = corners[k].x * scale;
    const Real ay = corners[k].y * scale;
    const Real bx = corners[(k + 1) % n].x * scale;
    const Real by = corners[(k + 1) % n].y * scale;
    const Real dx = bx - ax;
    const Real dy = by - ay;
    const Real length = std::hypot(dx, dy);
    // The side's own start; its end is the next side's start.
    // The station's checks keep the outline to a length that is sampled
    // whole; a side that would need more steps than a count holds is an
    // error, never a side left unsampled.
    const std::optional<size_t> steps =
        ToInteger<size_t>(std::max(1.0L, std::ceil(length / stepM)));
    if (!steps) {
      throw std::length_error("a side of the property line is too long to sample (" +
                              FixedChars(static_cast<double>(length), 0) + " m)");
    }
    for (size_t s = 0; s < *steps; ++s) {
      const Real t = static_cast<Real>(s) / static_cast<Real>(*steps);
      points.push_back({ax + t * dx, ay + t * dy, h});
    }
    if (!(length > 0)) continue;
    for (const Point3& a : antennas) {
      const Real t = ((a.xM - ax) * dx + (a.yM - ay) * dy) / (length * length);
      if (t > 0 && t < 1) points.push_back({ax + t * dx, ay + t * dy, h});
    }
  }
  return points;
}

std::vector<PropertySum> EvaluatePropertyLine(const station::Property& property,
                                              const std::vector<InstallationResult>& installations,
                                              const std::vector<LimitSetChoice>& sets,
                                              const EvaluationOptions& options) {
  if (property.outline.empty()) return {};
  const std::vector<GroupPlan> plans = PlanGroups(installations);
  const std::vector<FractionAt> fraction = FractionFunctions(installations, options);
  std::vector<Point3> antennas;
  antennas.reserve(installations.size());
  for (const InstallationResult& r : installations) antennas.push_back(r.positionM);
  const std::vector<Point3> points = OutlinePoints(property, kOutlineStepM, antennas);

  std::vector<SumKey> keys;
  for (LimitSetChoice set : sets) {
    keys.push_back({set, Criterion::TimeAveraged});
    if (HasInstantaneousLevels(set)) keys.push_back({set, Criterion::Instantaneous});
  }
  // One entry per group and key, in that order; `seen` tells whether the
  // instantaneous criterion applied anywhere along the line.
  std::vector<PropertySum> best;
  std::vector<bool> seen;
  for (const GroupPlan& plan : plans) {
    for (const SumKey& k : keys) {
      PropertySum s;
      s.group = plan.group;
      s.set = k.set;
      s.criterion = k.criterion;
      best.push_back(s);
      seen.push_back(k.criterion == Criterion::TimeAveraged);
    }
  }

  if (!points.empty()) {
    for (PropertySum& b : best) {  // a line where nothing reaches: its first point
      b.atXM = points.front().xM;
      b.atYM = points.front().yM;
    }
  }
  // The evaluation's own fractions straight from each criterion's result,
  // with the distance worked once per installation and point; an override
  // through its function.
  const size_t n = installations.size();
  std::vector<const CriterionResult*> own(n * keys.size(), nullptr);
  for (size_t i = 0; i < n; ++i) {
    if (options.fractionOverrides.contains(installations[i].id)) continue;
    for (size_t k = 0; k < keys.size(); ++k) {
      const TierResult* t = installations[i].Find(keys[k].set, Tier::General);
      own[i * keys.size() + k] = t != nullptr ? t->Find(keys[k].criterion) : nullptr;
    }
  }
  std::vector<Real> distance(n);
  std::vector<std::optional<Real>> values(n);
  for (const Point3& at : points) {
    for (size_t i = 0; i < n; ++i) distance[i] = DistanceM(installations[i].positionM, at);
    for (size_t k = 0; k < keys.size(); ++k) {
      for (size_t i = 0; i < n; ++i) {
        const CriterionResult* c = own[i * keys.size() + k];
        if (c != nullptr) {
          values[i] = FractionAtDistance(*c, installations[i].dish, distance[i]);
        } else {
          values[i] = fraction[i](keys[k].set, Tier::General, keys[k].criterion, at);
        }
      }
      const bool fields = keys[k].criterion == Criterion::Instantaneous;
      for (size_t g = 0; g < plans.size(); ++g) {
        const Summed s = SumOver(plans[g], values, fields);
        PropertySum& b = best[g * keys.size() + k];
        if (s.contributing > 0) seen[g * keys.size() + k] = true;
        if (s.sum > b.maxSum) {
          b.maxSum = s.sum;
          b.atXM = at.xM;
          b.atYM = at.yM;
        }
      }
    }
  }
  std::vector<PropertySum> out;
  for (size_t j = 0; j < best.size(); ++j) {
    if (!seen[j]) continue;
    best[j].marginDb = MarginDb(best[j].maxSum, best[j].criterion == Criterion::Instantaneous);
    out.push_back(best[j]);
  }
  return out;
}

}  // namespace korrin::assess::detail
