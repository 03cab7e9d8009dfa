// The points a curve of the plot is drawn through.  On the plot's
// logarithmic axes long stretches of a density along the beam are straight
// lines (the far field falls as 1 / d^2, the dish's near field starts
// level), and the profile samples them as densely as its wiggles: every
// point drawn costs its stroke in each repaint, so the points that lie on
// the line drawn past them are left out.
#pragma once

#include <QList>
#include <QPointF>
#include <vector>

namespace korrin {

// How far from the line drawn in its place a point left out may lie, in
// decades of density: under a tenth of a pixel at the window's scale
// (about 75 pixels a decade), still a fraction of a pixel in a picture
// drawn several times as large.
constexpr double kCurveToleranceDecades = 1e-3;

// The points of `points` (distances ascending, both coordinates positive)
// that the plot draws: the first and the last, both ends of every step
// that crosses one of `levels` (the limit lines, so that the points about
// each crossing and keep-out distance stay the profile's own), both points
// of a step that does not go forwards, and enough of the others that every
// point left out lies within `toleranceDecades` (along the density's axis)
// of the line drawn through those kept.
QList<QPointF> CurvePoints(const QList<QPointF>& points, const std::vector<double>& levels,
                           double toleranceDecades = kCurveToleranceDecades);

}  // namespace korrin
