#include "ui/qt/moon/MoonPlot.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace korrin {

namespace {

// The elevation axis: the moon below 30° under the horizon matters to no
// one, so the plot stops there (lower values run off its bottom).
constexpr double kLowestElevationDeg = -30.0;
constexpr double kHighestElevationDeg = 90.0;
constexpr int kMostTimeTicks = 9;
constexpr double kLossStepDb = 0.05;
// The legend under the time axis: room for two rows of entries when the
// width is small.
constexpr double kLegendRows = 2.0;
// A row of the legend is its marker beside the text with the legend's own
// spacing: about one and a half lines of text (one line each cut the
// second row off).
constexpr double kLegendRowLines = 1.6;
constexpr double kLegendMargins = 16.0;
constexpr int kChartMargin = 6;  // pixels around the chart

const QColor kHomeColour(31, 58, 147);
const QColor kDxColour(214, 120, 20);
const QColor kLossColour(90, 90, 90);
const QColor kWindowColour(30, 130, 76, 60);

// No ligatures: the plot's words stay searchable in an SVG.
QFont Unshaped(QFont font) {
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

QLineSeries* NewLine(QChart& chart, const QString& name, const QColor& colour, double width,
                     Qt::PenStyle style = Qt::SolidLine) {
  auto* line = new QLineSeries(&chart);
  line->setName(name);
  QPen pen(colour, width);
  pen.setStyle(style);
  line->setPen(pen);
  chart.addSeries(line);
  return line;
}

void ShowInLegend(QChart& chart, QAbstractSeries* series, bool shown) {
  for (QLegendMarker* m : chart.legend()->markers(series)) m->setVisible(shown);
}

// "13:00", with the date ("Dec 07 13:00") where a day begins or on the
// first tick.
QString TickLabel(moon::UtcSeconds t, bool withDate) {
  const moon::CalendarTime c = moon::CalendarOf(t);
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  QString time = QString::asprintf("%02d:%02d", c.hour, c.minute);
  if (!withDate) return time;
  // The date under the time: one line would not fit between two ticks.
  return time + QString::asprintf("<br>%s %02d", kMonths[c.month - 1], c.day);
}

}  // namespace

MoonChart::MoonChart() {
  setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, kChartMargin));
  setBackgroundRoundness(0);
  setTitleFont(Unshaped(titleFont()));
  legend()->setFont(Unshaped(legend()->font()));
  legend()->detachFromChart();
  legend()->setBackgroundVisible(false);

  time_ = new QCategoryAxis(this);
  time_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  time_->setTitleText("Time (UTC)");
  elevation_ = new QValueAxis(this);
  elevation_->setRange(kLowestElevationDeg, kHighestElevationDeg);
  elevation_->setTickCount(9);
  elevation_->setLabelFormat("%.0f");
  elevation_->setTitleText("Elevation (\u00b0)");
  lossAxis_ = new QValueAxis(this);
  lossAxis_->setLabelFormat("%.2f");
  lossAxis_->setTitleText("Path loss (dB)");
  for (QAbstractAxis* axis :
       {static_cast<QAbstractAxis*>(time_), static_cast<QAbstractAxis*>(elevation_),
        static_cast<QAbstractAxis*>(lossAxis_)}) {
    axis->setLabelsFont(Unshaped(axis->labelsFont()));
    axis->setTitleFont(Unshaped(axis->titleFont()));
  }
  addAxis(time_, Qt::AlignBottom);
  addAxis(elevation_, Qt::AlignLeft);
  addAxis(lossAxis_, Qt::AlignRight);

  home_ = NewLine(*this, "Elevation at home", kHomeColour, 2.2);
  dx_ = NewLine(*this, "Elevation at the other station", kDxColour, 2.2);
  minimum_ = NewLine(*this, "Minimum elevation", QColor(30, 130, 76), 1.2, Qt::DashLine);
  loss_ = NewLine(*this, "Path loss", kLossColour, 1.6, Qt::DotLine);
  for (QLineSeries* s : {home_, dx_, minimum_}) {
    s->attachAxis(time_);
    s->attachAxis(elevation_);
  }
  loss_->attachAxis(time_);
  loss_->attachAxis(lossAxis_);
}

void MoonChart::Show(const moon::Evaluation& e, const MoonPlotNames& names) {
  const moon::PlanRequest& r = e.request;
  const bool dx = r.dx.has_value();
  setTitle(QString("The moon at %1 MHz from %2%3")
               .arg(r.frequencyMHz, 0, 'f', 0)
               .arg(names.home, dx ? " and " + names.dx : QString()));

  const double hours = static_cast<double>(r.spanSeconds) / 3600.0;
  auto x = [&](moon::UtcSeconds t) { return static_cast<double>(t - r.from) / 3600.0; };

  // The time axis: ticks on whole hours of UTC, at most kMostTimeTicks.
  const std::vector<int> steps = {1, 2, 3, 6, 12, 24, 48, 72, 96, 168};
  int step = steps.back();
  for (int s : steps) {
    if (hours / s <= kMostTimeTicks - 1) {
      step = s;
      break;
    }
  }
  for (const QString& label : time_->categoriesLabels()) time_->remove(label);
  time_->setRange(0.0, hours);
  time_->setStartValue(0.0);
  const moon::UtcSeconds stepSeconds = moon::kSecondsPerHour * step;
  moon::UtcSeconds tick = (r.from + stepSeconds - 1) / stepSeconds * stepSeconds;
  int lastDay = -1;
  for (; tick <= r.from + r.spanSeconds; tick += stepSeconds) {
    const moon::CalendarTime c = moon::CalendarOf(tick);
    // Over more than a day every label carries its date (labels must differ).
    time_->append(TickLabel(tick, c.day != lastDay || hours > 24.0), x(tick));
    lastDay = c.day;
  }

  QList<QPointF> home;
  QList<QPointF> other;
  QList<QPointF> loss;
  double lo = HUGE_VAL;
  double hi = -HUGE_VAL;
  for (const moon::Row& row : e.plan.rows) {
    home.append({x(row.time), row.home.elevationDeg});
    if (dx) other.append({x(row.time), row.dx->elevationDeg});
    loss.append({x(row.time), row.pathLossDb});
    lo = std::min(lo, row.pathLossDb);
    hi = std::max(hi, row.pathLossDb);
  }
  home_->replace(home);
  dx_->replace(other);
  dx_->setVisible(dx);
  ShowInLegend(*this, dx_, dx);
  home_->setName("Elevation at " + names.home);
  if (dx) dx_->setName("Elevation at " + names.dx);
  loss_->replace(loss);
  // The path loss on the elevation's grid lines, in steps of a whole
  // number of 0.05 dB.
  const int intervals = elevation_->tickCount() - 1;
  double lossStep =
      std::max(kLossStepDb, std::ceil((hi - lo) / intervals / kLossStepDb) * kLossStepDb);
  double bottom = std::floor(lo / lossStep) * lossStep;
  if (bottom + intervals * lossStep < hi) {
    lossStep += kLossStepDb;
    bottom = std::floor(lo / lossStep) * lossStep;
  }
  lossAxis_->setRange(bottom, bottom + intervals * lossStep);
  lossAxis_->setTickCount(elevation_->tickCount());
  minimum_->replace(QList<QPointF>{{0.0, r.minElevationDeg}, {hours, r.minElevationDeg}});
  minimum_->setName(QString("Minimum elevation %1\u00b0").arg(r.minElevationDeg, 0, 'f', 1));

  for (QAreaSeries* w : windows_) {
    removeSeries(w);
    delete w;
  }
  windows_.clear();
  shaded_.clear();
  for (const moon::Window& w : e.plan.windows) {
    auto* upper = new QLineSeries(this);
    auto* lower = new QLineSeries(this);
    const double a = x(w.start);
    const double b = x(w.end);
    upper->append({{a, kHighestElevationDeg}, {b, kHighestElevationDeg}});
    lower->append({{a, kLowestElevationDeg}, {b, kLowestElevationDeg}});
    auto* area = new QAreaSeries(upper, lower);
    area->setName(dx ? "Mutual window" : "Moon up at home");
    area->setBrush(kWindowColour);
    area->setPen(Qt::NoPen);
    addSeries(area);
    area->attachAxis(time_);
    area->attachAxis(elevation_);
    ShowInLegend(*this, area, windows_.empty());
    windows_.push_back(area);
    shaded_.emplace_back(a, b);
  }
}

QStringList MoonChart::TimeLabels() const {
  return time_->categoriesLabels();
}

QStringList MoonChart::LegendLabels() const {
  QStringList labels;
  for (QLegendMarker* m : legend()->markers()) {
    if (m->isVisible()) labels << m->label();
  }
  return labels;
}

void MoonChart::PlaceLegend() {
  const QRectF whole(QPointF(0, 0), size());
  if (whole.isEmpty()) return;
  const QFontMetricsF metrics(legend()->font());
  const double height = metrics.height() * kLegendRowLines * kLegendRows + kLegendMargins;
  const int foot = static_cast<int>(std::ceil(height)) + kChartMargin;
  if (margins().bottom() != foot)
    setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, foot));
  legend()->setGeometry(QRectF(kChartMargin, whole.height() - height - kChartMargin / 2.0,
                               whole.width() - 2 * kChartMargin, height));
  if (QGraphicsLayout* layout = legend()->layout()) layout->activate();
}

void RenderMoonPlot(QPainter& painter, const QRectF& target, const moon::Evaluation& e,
                    const MoonPlotNames& names) {
  QGraphicsScene scene;
  auto* chart = new MoonChart;  // the scene owns it
  scene.addItem(chart);
  const QRectF area(QPointF(0, 0), target.size());
  chart->setGeometry(area);
  chart->Show(e, names);
  chart->layout()->activate();
  QCoreApplication::sendPostedEvents(chart);
  QCoreApplication::sendPostedEvents(&scene);
  chart->PlaceLegend();
  chart->layout()->activate();
  QCoreApplication::sendPostedEvents(chart);
  scene.setSceneRect(area);
  scene.render(&painter, target, area);
}

}  // namespace korrin
