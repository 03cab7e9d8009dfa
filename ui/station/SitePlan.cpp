#include "ui/station/SitePlan.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korrin::stationui {

namespace {

// A standing head: where the circles are cut when the places disagree.
constexpr Real kHeadHeightM = 2;
// The extent of an empty plan, metres either side of the origin.
constexpr Real kEmptyHalfWidthM = 5;
// The scale bar's longest share of the drawing's width.
constexpr Real kBarShare = 0.25L;

}  // namespace

Real PlanHeightM(const station::Station& station) {
  if (station.places.empty()) return kHeadHeightM;
  const Real first = station.places.front().height.Metres();
  for (const station::Place& p : station.places) {
    if (p.height.Metres() != first) return kHeadHeightM;
  }
  return first;
}

SumStanding StandingOf(Real sum) {
  return sum <= 1 ? SumStanding::Within : SumStanding::Over;  // 1 itself meets the limit
}

Real RoundLength(Real longest) {
  if (!(longest > 0) || !std::isfinite(longest)) return longest;
  const Real decade = std::pow(10.0L, std::floor(std::log10(longest)));
  for (const Real step : {5.0L, 2.0L, 1.0L}) {
    if (step * decade <= longest * (1 + 1e-12L)) return step * decade;
  }
  return decade;
}

PlanBounds BoundsOf(const SitePlanContent& c) {
  bool any = false;
  PlanBounds b;
  auto take = [&](Real x, Real y, Real r) {
    if (!any) {
      b = {x - r, x + r, y - r, y + r};
      any = true;
      return;
    }
    b.west = std::min(b.west, x - r);
    b.east = std::max(b.east, x + r);
    b.south = std::min(b.south, y - r);
    b.north = std::max(b.north, y + r);
  };
  for (const PlanAntenna& a : c.antennas) take(a.at.x, a.at.y, 0);
  for (const PlanCircle& circle : c.circles) take(circle.centre.x, circle.centre.y, circle.radiusM);
  for (const PlanPlace& p : c.places) take(p.at.x, p.at.y, 0);
  for (const PlanPoint& p : c.outline) take(p.x, p.y, 0);
  if (!any) return {-kEmptyHalfWidthM, kEmptyHalfWidthM, -kEmptyHalfWidthM, kEmptyHalfWidthM};
  // A single point or a line still has room round it.
  if (b.east - b.west < 2 * kEmptyHalfWidthM) {
    const Real mid = (b.east + b.west) / 2;
    b.west = std::min(b.west, mid - kEmptyHalfWidthM);
    b.east = std::max(b.east, mid + kEmptyHalfWidthM);
  }
  if (b.north - b.south < 2 * kEmptyHalfWidthM) {
    const Real mid = (b.north + b.south) / 2;
    b.south = std::min(b.south, mid - kEmptyHalfWidthM);
    b.north = std::max(b.north, mid + kEmptyHalfWidthM);
  }
  return b;
}

PlanView FitPlan(const SitePlanContent& content, Real left, Real top, Real width, Real height,
                 Real marginPx, bool feet) {
  const PlanBounds b = BoundsOf(content);
  const Real innerW = std::max<Real>(width - 2 * marginPx, 1);
  const Real innerH = std::max<Real>(height - 2 * marginPx, 1);
  PlanView v;
  v.pixelsPerMetre = std::min(innerW / (b.east - b.west), innerH / (b.north - b.south));
  // The content in the middle of the area.
  const Real midX = (b.west + b.east) / 2;
  const Real midY = (b.south + b.north) / 2;
  v.originX = left + width / 2 - midX * v.pixelsPerMetre;
  v.originY = top + height / 2 + midY * v.pixelsPerMetre;
  v.barFeet = feet;
  const Real metresPerUnit = feet ? station::kMetresPerFoot : 1;
  v.barLength = RoundLength(width * kBarShare / v.pixelsPerMetre / metresPerUnit);
  v.barPixels = v.barLength * metresPerUnit * v.pixelsPerMetre;
  return v;
}

bool LabelPlacer::Clear(const LabelBox& box) const {
  const bool inside = box.left >= area_.left && box.top >= area_.top &&
                      box.Right() <= area_.Right() && box.Bottom() <= area_.Bottom();
  if (!inside) return false;
  for (const LabelBox& other : taken_) {
    // Apart by less than the spacing either way: too close.
    const bool apartX =
        box.left >= other.Right() + spacing_ || other.left >= box.Right() + spacing_;
    const bool apartY =
        box.top >= other.Bottom() + spacing_ || other.top >= box.Bottom() + spacing_;
    if (!apartX && !apartY) return false;
  }
  return true;
}

LabelBox LabelPlacer::Put(Real x, Real y, Real gap, Real width, Real height) {
  // Right, left, above, below; then each a line lower, a few times.
  constexpr int kShifts = 6;
  const std::array<std::pair<Real, Real>, 4> corners{{{x + gap, y - height / 2},
                                                      {x - gap - width, y - height / 2},
                                                      {x - width / 2, y - gap - height},
                                                      {x - width / 2, y + gap}}};
  for (int shift = 0; shift < kShifts; ++shift) {
    for (const auto& [left, top] : corners) {
      const LabelBox box{left, top + shift * height, width, height};
      if (Clear(box)) {
        taken_.push_back(box);
        return box;
      }
    }
  }
  LabelBox box{corners[0].first, corners[0].second, width, height};
  box.left = std::clamp(box.left, area_.left, std::max(area_.left, area_.Right() - width));
  box.top = std::clamp(box.top, area_.top, std::max(area_.top, area_.Bottom() - height));
  taken_.push_back(box);
  return box;
}

}  // namespace korrin::stationui
