// The near field's maps without a toolkit: a plan at head height and two
// vertical planes through the antenna (along its feed wire and across it),
// each the exposure of one limit set and tier on its grid, the contour
// where it equals the limit, and the antenna's wires projected onto it.
// Coordinates are the panel's own, in metres: a plan's east and north of
// the antenna, a side view's distance along the plane and height.
#pragma once

#include <string>
#include <vector>

#include "nearfield/Contour.h"
#include "nearfield/NearField.h"

namespace korrin::nearfield {

enum class PanelKind { Plan, Along, Across };

struct MapPanel {
  PanelKind kind = PanelKind::Plan;
  Real heightM = 0;                     // a plan's height above the ground
  Real bearingDeg = 0;                  // a side view's direction: 0 north, 90 east (0 up to 180)
  ScalarGrid exposure;                  // in panel coordinates (x, y), 1 at the limit
  std::vector<ContourSegment> contour;  // where the exposure equals 1
  std::vector<ContourSegment> wires;    // the antenna
  bool groundLine = false;              // a side view over a ground: y = 0 is the ground
};

struct NearFieldMap {
  std::vector<MapPanel> panels;  // plan, along, across
  double lowest = 0.01;          // the colour scale's ends, as exposure
  double highest = 100;
};

// The maps of one result of a solution: at each point the larger of its
// head-height criteria (the limit at the point; nerve stimulation where it
// applies), on the plan and on the side views alike.
NearFieldMap MapOf(const Solution& solution, const CaseResult& result, bool overGround);

// The exposure on a plane for several criteria at once: the largest.
ScalarGrid ExposureOn(const FieldPlane& plane, const std::vector<CriterionResult>& criteria);

}  // namespace korrin::nearfield
