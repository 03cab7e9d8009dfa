// The assessment's plot: the average power density along the main beam
// against distance on logarithmic axes, a line for every limit set that
// applies at the station's frequency (the window's standard strongest), the
// distances above the window's limit shaded, and labelled markers at the
// far-field boundary, at lambda / 2 pi and at the FCC minimum exempt
// distance.  The assessment window, the report's --plot and the evaluation
// record all draw it through RenderAssessmentPlot, so that every output
// shows the same picture.
#pragma once

#include <QRectF>

#include "assess/Assessment.h"
#include "core/StationState.h"

class QPainter;

namespace korrin {

// Draws the plot of `a` (the assessment of `station`) into `target` of
// `painter`, as vectors where the painter's device keeps them (SVG, PDF).
// A QApplication must exist.
void RenderAssessmentPlot(QPainter& painter, const QRectF& target, const StationState& station,
                          const assess::Assessment& a);

}  // namespace korrin
