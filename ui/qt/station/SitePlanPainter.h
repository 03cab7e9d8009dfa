// The site plan drawn with QPainter: the property line coloured by its
// largest sum of fractions (and the point where that is), each antenna,
// each installation's general-public keep-out circle, each place coloured
// by its largest sum, a north arrow, a scale bar in metres or feet and a
// legend.  The station window, the picture files (SVG stays vector) and the
// evaluation record draw it with this one function.
#pragma once

#include <QRectF>
#include <QSize>
#include <QString>
#include <string>

#include "ui/station/SitePlan.h"

class QPainter;

namespace korrin {

struct SitePlanStyle {
  bool feet = false;              // the scale bar in feet
  QString highlightInstallation;  // drawn stronger; empty: none
  QString highlightPlace;
};

// The plan's own area within `target` (without the legend): where
// FitPlan puts the site.
QRectF SitePlanArea(const QRectF& target, const stationui::SitePlanContent& content);

// The view FitPlan gives for `content` drawn into `target`.
stationui::PlanView SitePlanViewFor(const stationui::SitePlanContent& content, const QRectF& target,
                                    bool feet);

void PaintSitePlan(QPainter& painter, const QRectF& target,
                   const stationui::SitePlanContent& content, const SitePlanStyle& style);

// The plan's size in a picture file, in pixels at 96 dpi.
inline constexpr QSize kSitePlanFileSize{1000, 800};

// Writes the plan to `path` as SVG or PNG (by its ending, in any case)
// through a temporary file renamed over it.  Returns "" on success, else the
// reason it was not written.
std::string SaveSitePlanFile(const stationui::SitePlanContent& content, const QString& path,
                             const SitePlanStyle& style, const QString& title = {});

// "1.043 (−0.18 dB)": a sum and its margin.
QString SumText(stationui::Real sum);

}  // namespace korrin
