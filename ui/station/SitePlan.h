// The site plan's geometry, without a toolkit: what the plan shows (the
// property line, each antenna, each installation's general-public keep-out
// circle at the height of the places, each place with its largest sum of
// fractions, the property line's largest sum and where it is) and where it
// goes on a drawing: the scale that fits it, north up, and a scale bar of a
// round length in metres or feet.  The window, the picture files and the
// evaluation record all draw from it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "station/Station.h"

namespace korrin::stationui {

using Real = station::Real;

// A point of the site, metres east and north of its origin.
struct PlanPoint {
  Real x = 0;
  Real y = 0;
};

struct PlanAntenna {
  std::string id;
  PlanPoint at;
  Real heightM = 0;
};

// An installation's keep-out sphere cut at the plan's height.
struct PlanCircle {
  std::string installation;
  std::string antenna;
  PlanPoint centre;
  Real radiusM = 0;
};

struct PlanPlace {
  std::string name;
  PlanPoint at;
  bool controlled = false;
  std::optional<Real> largestSum;  // of its tier, over groups and limit sets; empty: none
};

struct SitePlanContent {
  std::vector<PlanAntenna> antennas;
  std::vector<PlanCircle> circles;  // those that reach the plan's height
  std::vector<PlanPlace> places;
  std::vector<PlanPoint> outline;      // the property line's corners in metres; empty: none
  std::optional<Real> lineSum;         // the largest general-public sum along it
  std::optional<PlanPoint> lineSumAt;  // where
  Real circleHeightM = 2;              // the height the circles are cut at
  // The installations whose zone does not reach that height (no circle).
  std::vector<std::string> withoutZone;
};

// The height the circles are cut at: the places' one height when every
// place stands at the same height, else 2 m (a standing head).
Real PlanHeightM(const station::Station& station);

// How a sum of fractions stands: within the limit (at most 1) or over it.
enum class SumStanding { Within, Over };
SumStanding StandingOf(Real sum);

// A round length for a scale bar no longer than `longest` (in any unit):
// 1, 2 or 5 times a power of ten; `longest` itself when it is not above 0.
Real RoundLength(Real longest);

// Where the plan goes in a drawing area (pixels, y down): metres to pixels
// with north up, the same scale both ways, the whole content (every circle
// whole) with a margin around it.
struct PlanView {
  Real pixelsPerMetre = 1;
  Real originX = 0;  // pixel of x = 0 m
  Real originY = 0;  // pixel of y = 0 m
  // The scale bar: its length in the unit shown (m or ft) and in pixels.
  Real barLength = 0;
  bool barFeet = false;
  Real barPixels = 0;

  Real PixelX(Real xM) const { return originX + xM * pixelsPerMetre; }
  Real PixelY(Real yM) const { return originY - yM * pixelsPerMetre; }
  Real Pixels(Real metres) const { return metres * pixelsPerMetre; }
};

// The extent of the content in metres: every antenna, place, corner and
// whole circle; a 10 m square round the origin when there is nothing.
struct PlanBounds {
  Real west = 0, east = 0, south = 0, north = 0;
};
PlanBounds BoundsOf(const SitePlanContent& content);

// Fits the content into the area (left, top, width, height in pixels)
// leaving `marginPx` on every side; the scale bar at most a quarter of the
// area's width.
PlanView FitPlan(const SitePlanContent& content, Real left, Real top, Real width, Real height,
                 Real marginPx, bool feet);

// A label's box on a drawing (pixels, y down).
struct LabelBox {
  Real left = 0;
  Real top = 0;
  Real width = 0;
  Real height = 0;

  Real Right() const { return left + width; }
  Real Bottom() const { return top + height; }
};

// Puts labels beside their points, each inside `area` and at least
// `spacing` clear of the boxes taken before it (labels and markers), so that
// two labels never run into one another: to the right of the point, else to
// the left, above or below, then the same a line lower and so on; where
// nothing is clear, to the right, moved inside the area.
class LabelPlacer {
 public:
  LabelPlacer(const LabelBox& area, Real spacing) : area_(area), spacing_(spacing) {}

  // Space that labels keep clear of (a marker).
  void Reserve(const LabelBox& box) { taken_.push_back(box); }
  // The box of a label `width` x `height` for the point (`x`, `y`), `gap`
  // from it; taken from then on.
  LabelBox Put(Real x, Real y, Real gap, Real width, Real height);

 private:
  bool Clear(const LabelBox& box) const;

  LabelBox area_;
  Real spacing_ = 0;
  std::vector<LabelBox> taken_;
};

}  // namespace korrin::stationui
