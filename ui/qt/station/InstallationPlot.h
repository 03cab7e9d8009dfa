// One installation's average power density along its main beam against
// distance, on logarithmic axes: a curve for each limit set and tier (the
// averaging time and the frequency that set's keep-out distance was found
// at), the limit as a dashed line of the same colour, and the keep-out
// distance marked where the curve leaves the limit; λ/2π marked too.  The
// evaluation record draws it for every installation; it stays vector on a
// PDF or SVG device.
#pragma once

#include <QRectF>

#include "assess/StationEvaluation.h"

class QPainter;

namespace korrin {

void PaintInstallationPlot(QPainter& painter, const QRectF& target,
                           const assess::InstallationResult& installation, bool feet);

}  // namespace korrin
