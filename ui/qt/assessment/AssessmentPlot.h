// The assessment's plot: the average power density along the main beam
// against distance on logarithmic axes, from the antenna's side of
// lambda / 2 pi outwards: the calculator's model at its frequency, and
// beside it the station evaluation's density for today's rules at the
// frequency of the band each was evaluated at, with a dot where each meets
// its own limit (its keep-out distance); a line for every limit set that
// applies (the window's standard strongest, lines that lie on one another
// dashed in turns); the distances where the calculator's density is above
// the window's limit shaded; and markers at the far-field boundary, at
// lambda / 2 pi, at the FCC minimum exempt distance and at the keep-out
// distance of the window's standard, labelled in staggered rows above the
// plot.  The title wraps to the plot's width and
// the legend wraps in rows under it.  The assessment window, the report's
// --plot and the evaluation record all draw it through RenderAssessmentPlot,
// so that every output shows the same picture.
#pragma once

#include <QChart>
#include <QLineF>
#include <QRectF>
#include <QString>
#include <array>
#include <vector>

#include "assess/Assessment.h"
#include "core/StationState.h"

class QGraphicsEllipseItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QGraphicsTextItem;
class QLineSeries;
class QLogValueAxis;
class QScatterSeries;
class QPainter;

namespace korrin {

class PlotLine;

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

  // The calculator's density along the beam.
  QLineSeries* Curve() const { return curve_; }
  // The station evaluation's density for one of today's rules; entries of
  // one density share a curve; nullptr when the set does not apply.
  QLineSeries* EvaluationCurve(assess::LimitSet set) const;
  // The dot at the evaluation's keep-out distance of a set, on its limit
  // line; nullptr when none is drawn.
  QScatterSeries* KeepOutDot(assess::LimitSet set) const;
  // The line of a limit set; nullptr when the set does not apply.
  QLineSeries* LimitLine(assess::LimitSet set) const;
  // The shaded distances: pairs of (from, to) in the unit shown.
  const std::vector<std::pair<double, double>>& ShadedRanges() const { return shaded_; }
  bool Metric() const { return metric_; }
  // The marker labels shown, left to right.
  std::vector<QString> MarkerLabels() const;
  // The keep-out marker's distance in the unit shown; 0 when not shown.
  double KeepOutMarker() const;
  // The title as it reads: the station's line, then the selected standard's.
  QString Title() const;
  // The legend's entries as they read, in order.
  std::vector<QString> LegendEntries() const;

  // Where the texts stand, in the chart's coordinates.
  QRectF TitleRect() const;
  std::vector<QRectF> MarkerLabelRects() const;  // left to right
  std::vector<QLineF> MarkerLeaders() const;     // left to right
  std::vector<QRectF> LegendRects() const;       // each entry, its sample with its text

  // Lays out the title, the marker labels, the legend and the shading for
  // the chart's size and plot area.  Returns true when the room they need
  // changed the chart's margins: the chart then lays itself out anew (and
  // calls this again when its plot area moves).
  bool PlaceDecorations();

  // Lays the chart out at once, as a picture needs it (a window's chart
  // lays itself out on the events it posts).
  void Settle();

 private:
  struct Marker {
    QLineSeries* line = nullptr;
    QGraphicsSimpleTextItem* label = nullptr;
    PlotLine* leader = nullptr;  // from the label down to the plot
    bool shown = false;
    double x = 0;  // in the unit shown
  };
  struct LegendEntry {
    QString text;
    std::vector<QPen> lines;  // samples drawn over one another
    QBrush fill;              // a filled sample instead, where set
    QColor dot;               // a dot on the sample's middle, where valid
  };
  struct LegendGraphics {
    QGraphicsSimpleTextItem* text = nullptr;
    QGraphicsRectItem* fill = nullptr;
    QGraphicsEllipseItem* dot = nullptr;
    std::vector<PlotLine*> lines;
  };

  std::vector<const Marker*> ShownMarkers() const;  // left to right
  void ClearSeries();                               // takes every series' points
  void SetLimitLines(const assess::Assessment& a, double x0, double x1);
  // The evaluation's curves and keep-out dots, and their legend entries.
  std::vector<LegendEntry> SetEvaluationCurves(const assess::Assessment& a, double x0, double unit);
  void SetShading(const assess::Assessment& a, const std::vector<assess::DensityPoint>& drawn,
                  double unit);
  void SetMarkers(const assess::Assessment& a, double y0, double y1, double unit);
  void SetLegend(std::vector<LegendEntry> entries);
  double PlaceTitle(double width);
  double PlaceMarkerLabels(double top);
  double PlaceLegend(double width, double height);
  void PlaceShading();

  QLogValueAxis* distance_ = nullptr;
  QLogValueAxis* density_ = nullptr;
  QLogValueAxis* densityMw_ = nullptr;  // the same scale in mW/cm²
  QLineSeries* curve_ = nullptr;
  std::array<QLineSeries*, assess::kLimitSetCount> limits_{};  // by LimitSet
  std::array<bool, assess::kLimitSetCount> limitShown_{};
  // The evaluation's curves, as many as today's rules, used in turn; and
  // which of them each set's entry is drawn on.
  std::array<QLineSeries*, 4> evaluationCurves_{};
  std::array<QLineSeries*, assess::kLimitSetCount> curveOfSet_{};
  std::array<QScatterSeries*, assess::kLimitSetCount> keepOutDots_{};  // today's rules only
  // Far-field boundary, lambda / 2 pi, FCC exempt distance, and the keep-out
  // distance of the window's standard (beyond the model's crossing where the
  // window's own figure is the larger).
  std::array<Marker, 4> markers_{};
  std::vector<std::pair<double, double>> shaded_;
  std::vector<QGraphicsRectItem*> shades_;  // one per shaded range
  QColor shadeColour_;
  QGraphicsTextItem* title_ = nullptr;
  QString titleHtml_;
  QString titleText_;
  std::vector<LegendEntry> legend_;
  std::vector<LegendGraphics> legendGraphics_;
  QRectF titleRect_;
  std::vector<QRectF> legendRects_;
  bool metric_ = true;
  // Rows of marker labels and of the legend taken so far at this width.
  int labelRowsKept_ = 0;
  int legendRowsKept_ = 0;
  double keptAtWidth_ = 0;
};

}  // namespace korrin
