// The moon's plot: its elevation at home and at the other station and the
// path loss against time (UTC), the windows in which it stands high enough
// at both shaded.  The Moon window and the report's --moon-plot both draw
// it through MoonChart, so that every output shows the same picture.
#pragma once

#include <QChart>
#include <QRectF>
#include <QString>
#include <vector>

#include "moon/Evaluation.h"

class QAreaSeries;
class QCategoryAxis;
class QLineSeries;
class QPainter;
class QValueAxis;

namespace korrin {

// Names of the two places as the plot shows them.
struct MoonPlotNames {
  QString home;
  QString dx;  // empty: no other station
};

class MoonChart : public QChart {
 public:
  MoonChart();

  void Show(const moon::Evaluation& e, const MoonPlotNames& names);

  QLineSeries* HomeElevation() const { return home_; }
  QLineSeries* DxElevation() const { return dx_; }
  QLineSeries* PathLoss() const { return loss_; }
  // The shaded windows, in hours from the plot's start.
  const std::vector<std::pair<double, double>>& Shaded() const { return shaded_; }
  // The time axis' labels, left to right.
  QStringList TimeLabels() const;
  // The legend's entries shown, left to right.
  QStringList LegendLabels() const;

  // Puts the legend in a row under the time axis; needed after the chart's
  // size changed (the window calls it on a resize).
  void PlaceLegend();

 private:
  QCategoryAxis* time_ = nullptr;
  QValueAxis* elevation_ = nullptr;
  QValueAxis* lossAxis_ = nullptr;
  QLineSeries* home_ = nullptr;
  QLineSeries* dx_ = nullptr;
  QLineSeries* loss_ = nullptr;
  QLineSeries* minimum_ = nullptr;
  std::vector<QAreaSeries*> windows_;
  std::vector<std::pair<double, double>> shaded_;
};

// Draws the plot into `target` of `painter`, as vectors where the
// painter's device keeps them (SVG).  A QApplication must exist.
void RenderMoonPlot(QPainter& painter, const QRectF& target, const moon::Evaluation& e,
                    const MoonPlotNames& names);

}  // namespace korrin
