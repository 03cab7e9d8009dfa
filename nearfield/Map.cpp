#include "nearfield/Map.h"

#include <algorithm>
#include <cmath>

namespace korrin::nearfield {

namespace {

Real Dot(Point a, Point b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A vertical plane's grid in its own coordinates: along it, and height.
ScalarGrid Flattened(const FieldPlane& plane, ScalarGrid g) {
  const Real step = Length(plane.u);
  const Point dir = (1 / step) * plane.u;
  g.origin = {Dot(plane.origin, dir), plane.origin.z, 0};
  g.u = {step, 0, 0};
  g.v = {0, plane.v.z, 0};
  return g;
}

MapPanel SideView(PanelKind kind, const FieldPlane& plane, const ScalarGrid& exposure,
                  const std::vector<SegmentRow>& wires, bool overGround) {
  MapPanel p;
  p.kind = kind;
  const Point dir = (1 / Length(plane.u)) * plane.u;
  // The plane's direction as a bearing: 0 north (y), 90 east (x).
  Real bearing = std::atan2(dir.x, dir.y) * 180 / kPi;
  if (bearing < 0) bearing += 180;
  if (bearing >= 180) bearing -= 180;
  p.bearingDeg = bearing;
  p.exposure = Flattened(plane, exposure);
  p.contour = ContourOf(p.exposure);
  for (const SegmentRow& s : wires) {
    const Point a = s.From();
    const Point b = s.To();
    p.wires.push_back({{Dot(a, dir), a.z, 0}, {Dot(b, dir), b.z, 0}});
  }
  p.groundLine = overGround;
  return p;
}

}  // namespace

ScalarGrid ExposureOn(const FieldPlane& plane, const std::vector<CriterionResult>& criteria) {
  ScalarGrid g;
  for (const CriterionResult& c : criteria) {
    const ScalarGrid one = ExposureOn(plane, c.limit, c.powerW);
    if (g.values.empty()) {
      g = one;
      continue;
    }
    for (size_t n = 0; n < g.values.size(); ++n) g.values[n] = std::max(g.values[n], one.values[n]);
  }
  return g;
}

NearFieldMap MapOf(const Solution& solution, const CaseResult& result, bool overGround) {
  NearFieldMap map;
  MapPanel plan;
  plan.kind = PanelKind::Plan;
  plan.heightM = solution.plan.origin.z;
  plan.exposure = ExposureOn(solution.plan, result.head);
  plan.exposure.origin.z = 0;
  plan.contour = ContourOf(plan.exposure);
  for (const SegmentRow& s : solution.segmentRows) {
    const Point a = s.From();
    const Point b = s.To();
    plan.wires.push_back({{a.x, a.y, 0}, {b.x, b.y, 0}});
  }
  map.panels.push_back(std::move(plan));
  map.panels.push_back(SideView(PanelKind::Along, solution.along,
                                ExposureOn(solution.along, result.head), solution.segmentRows,
                                overGround));
  map.panels.push_back(SideView(PanelKind::Across, solution.across,
                                ExposureOn(solution.across, result.head), solution.segmentRows,
                                overGround));
  return map;
}

}  // namespace korrin::nearfield
