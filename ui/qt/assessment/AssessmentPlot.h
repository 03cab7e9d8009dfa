// The assessment's plot: the average power density along the main beam
// against distance on logarithmic axes, a line for every limit set that
// applies at the station's frequency (the window's standard strongest), the
// distances above the window's limit shaded, and labelled markers at the
// far-field boundary, at lambda / 2 pi, at the FCC minimum exempt distance
// and at the keep-out distance.  The assessment window, the report's --plot and the evaluation
// record all draw it through RenderAssessmentPlot, so that every output
// shows the same picture.
#pragma once

#include <QChart>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

#include "assess/Assessment.h"
#include "core/StationState.h"

class QAreaSeries;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QLogValueAxis;
class QPainter;

namespace korrin {

// Draws the plot of `a` (the assessment of `station`) into `target` of
// `painter`, as vectors where the painter's device keeps them (SVG, PDF).
// A QApplication must exist.
void RenderAssessmentPlot(QPainter& painter, const QRectF& target, const StationState& station,
                          const assess::Assessment& a);

// The chart itself, kept by the assessment window and refilled in place for
// every station it shows.  Distances are in the station's unit (metres or
// feet), densities in W/m².
class AssessmentChart : public QChart {
 public:
  AssessmentChart();

  void Show(const StationState& station, const assess::Assessment& a);

  QLineSeries* Curve() const { return curve_; }
  // The line of a limit set; nullptr when the set does not apply.
  QLineSeries* LimitLine(assess::LimitSet set) const;
  // The shaded distances: pairs of (from, to) in the unit shown.
  const std::vector<std::pair<double, double>>& ShadedRanges() const { return shaded_; }
  bool Metric() const { return metric_; }
  // The marker labels shown, left to right.
  std::vector<QString> MarkerLabels() const;
  // The keep-out marker's distance in the unit shown; 0 when not shown.
  double KeepOutMarker() const;

  // Puts the marker labels beside their lines; needed after the chart's
  // layout changed (the window calls it on a resize).
  void PlaceMarkerLabels();
  // Puts the legend in rows under the distance axis.
  void PlaceLegend();

 private:
  struct Marker {
    QLineSeries* line = nullptr;
    QGraphicsSimpleTextItem* label = nullptr;
    bool shown = false;
    double x = 0;  // in the unit shown
  };

  void SetLimitLines(const assess::Assessment& a, double x0, double x1, double unit);
  void SetShading(const assess::Assessment& a, double x0, double x1, double y0, double y1,
                  double unit);
  void SetMarkers(const assess::Assessment& a, double y0, double y1, double unit);

  QLogValueAxis* distance_ = nullptr;
  QLogValueAxis* density_ = nullptr;
  QLogValueAxis* densityMw_ = nullptr;  // the same scale in mW/cm²
  QLineSeries* curve_ = nullptr;
  QAreaSeries* shading_ = nullptr;
  QLineSeries* shadingTop_ = nullptr;
  QLineSeries* shadingBottom_ = nullptr;
  std::array<QLineSeries*, 6> limits_{};  // by LimitSet
  std::array<bool, 6> limitShown_{};
  // Far-field boundary, lambda / 2 pi, FCC exempt distance, and the keep-out
  // distance of the window's standard (beyond the model's crossing where the
  // window's own figure is the larger).
  std::array<Marker, 4> markers_{};
  std::vector<std::pair<double, double>> shaded_;
  bool metric_ = true;
};

}  // namespace korrin
