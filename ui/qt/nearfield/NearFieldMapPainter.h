// The near field's maps drawn with QPainter: the plan at head height and
// the two side views, each a colour map of the exposure on a logarithmic
// scale (blue below the limit, red above it) with the contour where it
// equals the limit in black, the antenna drawn in and the axes in metres or
// feet; a title and the colour scale below.  The picture files (SVG keeps
// the lines and text as vectors) and, later, the station window draw it
// with this one function.
#pragma once

#include <QFontMetricsF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <string>

#include "nearfield/Map.h"

class QPainter;

namespace korrin {

struct NearFieldMapStyle {
  bool feet = false;  // the axes in feet
  QString title;      // the installation, its frequency, the limit set and tier
};

void PaintNearFieldMap(QPainter& painter, const QRectF& target, const nearfield::NearFieldMap& map,
                       const NearFieldMapStyle& style);

// An axis's caption in `metrics` no longer than its axis (`room` pixels),
// so that it runs into no other text: the whole words ("height above the
// ground (m)") where they fit, else the short ones ("height (m)"), cut in
// the middle only where even those do not.
QString AxisCaption(nearfield::PanelKind kind, bool horizontal, bool feet,
                    const QFontMetricsF& metrics, qreal room);

// The maps' size in a picture file, in pixels at 96 dpi.
inline constexpr QSize kNearFieldMapFileSize{1400, 860};

// Writes the maps to `path` as SVG or PNG (by its ending, in any case)
// through a temporary file renamed over it.  Returns "" on success, else
// the reason it was not written.
std::string SaveNearFieldMapFile(const nearfield::NearFieldMap& map, const QString& path,
                                 const NearFieldMapStyle& style);

}  // namespace korrin
