#include "ui/qt/assessment/AssessmentPlot.h"

#include <QAreaSeries>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "ui/TForm1.h"
#include "ui/qt/assessment/AssessmentText.h"

namespace korrin {

namespace {

using assess::LimitSet;

constexpr std::array<LimitSet, 6> kSets = {LimitSet::FccGeneral, LimitSet::FccOccupational,
                                           LimitSet::Icnirp2020, LimitSet::Arpansa2002,
                                           LimitSet::As2772,     LimitSet::HandSet};

constexpr double kSelectedLineWidth = 3.0;  // pixels
constexpr double kOtherLineWidth = 1.4;
constexpr double kCurveWidth = 2.2;
constexpr double kMostDecades = 9.0;  // of density shown below the highest
// Densities more than this above the highest limit line (close to a
// gain-only antenna, where its far-field formula means nothing) run off the
// plot's top.
constexpr double kDecadesAboveLimits = 2.0;
constexpr double kLegendLineGap = 10.0;     // pixels between the legend's lines
constexpr double kLegendSymbolRoom = 44.0;  // the symbol and the margins of a line
constexpr double kLegendMargins = 12.0;     // above the first line and below the last
constexpr double kLegendSide = 12.0;        // pixels from the chart's sides to the legend
constexpr int kChartMargin = 6;             // pixels around the chart

size_t Index(LimitSet set) {
  return static_cast<size_t>(set);
}

QColor SetColour(LimitSet set) {
  switch (set) {
    case LimitSet::FccGeneral:
      return {178, 34, 34};
    case LimitSet::FccOccupational:
      return {214, 120, 20};
    case LimitSet::Icnirp2020:
      return {30, 130, 76};
    case LimitSet::Arpansa2002:
      return {125, 60, 152};
    case LimitSet::As2772:
      return {139, 90, 43};
    case LimitSet::HandSet:
      return {0, 128, 128};
    case LimitSet::Icnirp2020Occupational:
      return {20, 90, 160};
  }
  return Qt::black;
}

const QColor kCurveColour(31, 58, 147);
const QColor kMarkerColour(90, 90, 90);

double DecadeBelow(double v) {
  return std::pow(10.0, std::floor(std::log10(v)));
}

double DecadeAbove(double v) {
  return std::pow(10.0, std::ceil(std::log10(v)));
}

// Where the density falls through or rises through `limit` between two
// profile points, interpolated as a straight line on the log-log axes.
double Crossing(const assess::DensityPoint& p, const assess::DensityPoint& q, Real limit) {
  const double lp = std::log(double(p.densityWm2));
  const double lq = std::log(double(q.densityWm2));
  const double t = (std::log(double(limit)) - lp) / (lq - lp);
  const double xp = std::log(double(p.distanceM));
  const double xq = std::log(double(q.distanceM));
  return std::exp(xp + t * (xq - xp));
}

// The distances (in metres) where the profile lies above `limit`.
std::vector<std::pair<double, double>> RangesAbove(const std::vector<assess::DensityPoint>& profile,
                                                   Real limit) {
  std::vector<std::pair<double, double>> ranges;
  bool above = false;
  double from = 0;
  for (size_t i = 0; i < profile.size(); ++i) {
    const assess::DensityPoint& q = profile[i];
    if (q.distanceM <= 0) continue;
    const bool now = q.densityWm2 > limit;
    if (now != above) {
      const bool first = i == 0 || profile[i - 1].distanceM <= 0;
      // Both densities are positive at a crossing: one of them exceeds the limit.
      const bool interpolate = !first && profile[i - 1].densityWm2 > 0 && q.densityWm2 > 0;
      const double x = interpolate ? Crossing(profile[i - 1], q, limit) : double(q.distanceM);
      if (now) {
        from = x;
      } else {
        ranges.emplace_back(from, x);
      }
      above = now;
    }
  }
  if (above && !profile.empty()) ranges.emplace_back(from, double(profile.back().distanceM));
  return ranges;
}

QLineSeries* NewLine(AssessmentChart& chart, QLogValueAxis* x, QLogValueAxis* y) {
  auto* line = new QLineSeries(&chart);
  chart.addSeries(line);
  line->attachAxis(x);
  line->attachAxis(y);
  return line;
}

void HideFromLegend(QChart& chart, QAbstractSeries* series) {
  for (QLegendMarker* m : chart.legend()->markers(series)) m->setVisible(false);
}

void ShowInLegend(QChart& chart, QAbstractSeries* series, bool shown) {
  for (QLegendMarker* m : chart.legend()->markers(series)) m->setVisible(shown);
}

// No ligatures: "fi" stays two letters, so that the plot's words can be
// found and copied in the SVG and PDF it is drawn into.
QFont Unshaped(QFont font) {
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

QLogValueAxis* NewAxis(const QString& title) {
  auto* axis = new QLogValueAxis;
  axis->setBase(10.0);
  axis->setLabelFormat("%g");
  axis->setMinorTickCount(-1);
  // Solid hairlines: dashed or stroked ones cost far more to draw.
  QPen minor(QColor(236, 236, 236), 0);
  minor.setCosmetic(true);
  QPen major(QColor(205, 205, 205), 0);
  major.setCosmetic(true);
  axis->setMinorGridLinePen(minor);
  axis->setGridLinePen(major);
  axis->setMinorGridLineVisible(false);
  axis->setTitleText(title);
  QFont font = Unshaped(axis->titleFont());
  font.setBold(false);
  font.setPointSizeF(9.5);
  axis->setTitleFont(font);
  axis->setLabelsFont(Unshaped(axis->labelsFont()));
  return axis;
}

// The second title line: the window's standard and how far it keeps people.
QString SelectedLine(const assess::Assessment& a, bool metric) {
  const assess::LimitEntry* selected = a.Selected();
  if (selected == nullptr) return {};
  const QString name = QString::fromUtf8(assess::LimitSetName(selected->set));
  if (!selected->applies || !selected->limitWm2) {
    return name + " does not apply at " + Figure(a.frequencyMHz) + " MHz";
  }
  QString line = name + ": " + Figure(*selected->limitWm2) + " W/m²";
  if (selected->keepOutM && *selected->keepOutM > 0) {
    line += ", above it up to " + LengthText(*selected->keepOutM, metric) + " along the beam";
  } else {
    line += ", not reached along the beam";
  }
  return line;
}

}  // namespace

AssessmentChart::AssessmentChart() {
  setBackgroundRoundness(0);
  setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, kChartMargin));
  QFont titleFont = Unshaped(font());
  titleFont.setPointSizeF(10.5);
  setTitleFont(titleFont);
  legend()->setFont(Unshaped(legend()->font()));
  // The legend stands in rows under the distance axis, wrapped to the
  // chart's width (the chart's own legend would cut the names short).
  legend()->setAlignment(Qt::AlignTop);  // rows from the top down
  legend()->detachFromChart();
  legend()->setBackgroundVisible(false);

  distance_ = NewAxis("Distance along the beam (m)");
  density_ = NewAxis("Average power density (W/m²)");
  densityMw_ = NewAxis("mW/cm²");
  addAxis(distance_, Qt::AlignBottom);
  addAxis(density_, Qt::AlignLeft);
  addAxis(densityMw_, Qt::AlignRight);

  shadingTop_ = new QLineSeries(this);
  shadingBottom_ = new QLineSeries(this);
  shading_ = new QAreaSeries(shadingTop_, shadingBottom_);
  addSeries(shading_);
  shading_->attachAxis(distance_);
  shading_->attachAxis(density_);
  shading_->setPen(Qt::NoPen);

  for (LimitSet set : kSets) {
    QLineSeries* line = NewLine(*this, distance_, density_);
    line->setName(ShortLimitName(set));
    limits_[Index(set)] = line;
  }

  curve_ = NewLine(*this, distance_, density_);
  curve_->setName("Average power density along the beam");
  curve_->setPen(QPen(kCurveColour, kCurveWidth));

  for (Marker& m : markers_) {
    m.line = NewLine(*this, distance_, density_);
    QPen pen(kMarkerColour, 1.2, Qt::DashLine);
    m.line->setPen(pen);
    HideFromLegend(*this, m.line);
    m.label = new QGraphicsSimpleTextItem(this);
    m.label->setRotation(-90);  // reads upwards beside its line
    QFont font = Unshaped(m.label->font());
    font.setPointSizeF(8.5);
    m.label->setFont(font);
    m.label->setBrush(kMarkerColour.darker(140));
    m.label->setZValue(10);
  }

  connect(this, &QChart::plotAreaChanged, this, [this] {
    PlaceMarkerLabels();
    PlaceLegend();
  });
}

QLineSeries* AssessmentChart::LimitLine(LimitSet set) const {
  return limitShown_[Index(set)] ? limits_[Index(set)] : nullptr;
}

void AssessmentChart::Show(const StationState& station, const assess::Assessment& a) {
  metric_ = station.MetricUnits;
  const double unit = metric_ ? 1.0 : double(kFeetPerMetre);
  distance_->setTitleText(metric_ ? "Distance along the beam (m)" : "Distance along the beam (ft)");

  // The ranges shown: every profile point, every marker and every limit.
  double xLow = HUGE_VAL;
  double xHigh = 0;
  double yLow = HUGE_VAL;
  double yHigh = 0;
  auto takeX = [&](double x) {
    if (x > 0 && std::isfinite(x)) {
      xLow = std::min(xLow, x);
      xHigh = std::max(xHigh, x);
    }
  };
  auto takeY = [&](double y) {
    if (y > 0 && std::isfinite(y)) {
      yLow = std::min(yLow, y);
      yHigh = std::max(yHigh, y);
    }
  };
  QList<QPointF> points;
  points.reserve(qsizetype(a.profile.size()));
  for (const assess::DensityPoint& p : a.profile) {
    const double x = double(p.distanceM) * unit;
    const double y = double(p.densityWm2);
    if (x <= 0 || y <= 0 || !std::isfinite(x) || !std::isfinite(y)) continue;
    points.append(QPointF(x, y));
    takeX(x);
    takeY(y);
  }
  takeX(double(a.reactiveNearFieldM) * unit);
  if (a.farFieldBoundaryM) takeX(double(*a.farFieldBoundaryM) * unit);
  if (a.fccExemption) takeX(double(a.fccExemption->minimumDistanceM) * unit);
  if (const assess::LimitEntry* selected = a.Selected(); selected && selected->keepOutM) {
    takeX(double(*selected->keepOutM) * unit);
  }
  double highestLimit = 0;
  for (const assess::LimitEntry& e : a.limits) {
    if (e.applies && e.limitWm2) {
      takeY(double(*e.limitWm2));
      highestLimit = std::max(highestLimit, double(*e.limitWm2));
    }
  }
  if (highestLimit > 0) yHigh = std::min(yHigh, highestLimit * std::pow(10.0, kDecadesAboveLimits));
  if (xHigh <= 0) {
    xLow = 0.1;
    xHigh = 1000;
  }
  if (yHigh <= 0) {
    yLow = 0.1;
    yHigh = 100;
  }
  const double x0 = DecadeBelow(xLow);
  const double x1 = std::max(DecadeAbove(xHigh), x0 * 10);
  const double y1 = DecadeAbove(yHigh * 1.5);
  const double y0 =
      std::max(std::min(DecadeBelow(yLow), y1 / 10), y1 * std::pow(10.0, -kMostDecades));
  if (distance_->min() != x0 || distance_->max() != x1 || density_->min() != y0 ||
      density_->max() != y1) {
    // Every series is laid out anew for each axis that changes: without
    // points that costs nothing.
    curve_->clear();
    distance_->setRange(x0, x1);
    density_->setRange(y0, y1);
    densityMw_->setRange(y0 / 10, y1 / 10);
  }
  curve_->replace(points);
  SetLimitLines(a, x0, x1, unit);
  SetShading(a, x0, x1, y0, y1, unit);
  SetMarkers(a, y0, y1, unit);
  PlaceLegend();

  QString title = "<b>" + PlotTitle(station).toHtmlEscaped() + "</b>";
  const QString second = SelectedLine(a, metric_);
  if (!second.isEmpty()) title += "<br>" + second.toHtmlEscaped();
  setTitle(title);
  PlaceMarkerLabels();
}

void AssessmentChart::SetLimitLines(const assess::Assessment& a, double x0, double x1,
                                    double /*unit*/) {
  limitShown_.fill(false);
  for (const assess::LimitEntry& e : a.limits) {
    if (!e.applies || !e.limitWm2) continue;
    const size_t i = Index(e.set);
    QLineSeries* line = limits_[i];
    const double y = double(*e.limitWm2);
    line->replace(QList<QPointF>{{x0, y}, {x1, y}});
    QPen pen(SetColour(e.set), e.selected ? kSelectedLineWidth : kOtherLineWidth,
             e.selected ? Qt::SolidLine : Qt::DashLine);
    line->setPen(pen);
    line->setName(ShortLimitName(e.set) + " " + Figure(y) + " W/m²" +
                  (e.selected ? " (selected)" : ""));
    limitShown_[i] = true;
  }
  for (LimitSet set : kSets) {
    QLineSeries* line = limits_[Index(set)];
    const bool shown = limitShown_[Index(set)];
    line->setVisible(shown);
    if (!shown) line->clear();
    ShowInLegend(*this, line, shown);
  }
}

void AssessmentChart::SetShading(const assess::Assessment& a, double x0, double x1, double y0,
                                 double y1, double unit) {
  shaded_.clear();
  const assess::LimitEntry* selected = a.Selected();
  if (selected != nullptr && selected->applies && selected->limitWm2) {
    for (const auto& [from, to] : RangesAbove(a.profile, *selected->limitWm2)) {
      shaded_.emplace_back(from * unit, to * unit);
    }
  }
  QList<QPointF> top{{x0, y0}};
  for (const auto& [from, to] : shaded_) {
    top << QPointF(from, y0) << QPointF(from, y1) << QPointF(to, y1) << QPointF(to, y0);
  }
  top << QPointF(x1, y0);
  shadingTop_->replace(top);
  shadingBottom_->replace(QList<QPointF>{{x0, y0}, {x1, y0}});
  const bool shown = !shaded_.empty();
  if (shown) {
    QColor fill = SetColour(selected->set);
    fill.setAlpha(38);
    shading_->setBrush(fill);
    shading_->setName("Above the selected limit");
  }
  shading_->setVisible(shown);
  ShowInLegend(*this, shading_, shown);
}

void AssessmentChart::SetMarkers(const assess::Assessment& a, double y0, double y1, double unit) {
  struct Wanted {
    std::optional<Real> metres;
    QString text;
  };
  std::array<Wanted, 4> wanted;
  if (a.farFieldBoundaryM) {
    wanted[0] = {a.farFieldBoundaryM,
                 "far-field boundary " + LengthText(*a.farFieldBoundaryM, metric_)};
  }
  wanted[1] = {a.reactiveNearFieldM, "λ/2π " + LengthText(a.reactiveNearFieldM, metric_)};
  if (a.fccExemption) {
    wanted[2] = {a.fccExemption->minimumDistanceM,
                 "FCC exempt from " + LengthText(a.fccExemption->minimumDistanceM, metric_)};
  }
  const assess::LimitEntry* selected = a.Selected();
  if (selected != nullptr && selected->applies && selected->keepOutM && *selected->keepOutM > 0) {
    wanted[3] = {selected->keepOutM, "keep-out " + LengthText(*selected->keepOutM, metric_)};
    markers_[3].line->setPen(QPen(SetColour(selected->set), 1.6, Qt::DotLine));
    markers_[3].label->setBrush(SetColour(selected->set).darker(120));
  }
  for (size_t i = 0; i < markers_.size(); ++i) {
    Marker& m = markers_[i];
    m.shown = wanted[i].metres.has_value() && *wanted[i].metres > 0;
    m.line->setVisible(m.shown);
    m.label->setVisible(m.shown);
    if (!m.shown) {
      m.line->clear();
      continue;
    }
    m.x = double(*wanted[i].metres) * unit;
    m.line->replace(QList<QPointF>{{m.x, y0}, {m.x, y1}});
    m.label->setText(wanted[i].text);
  }
}

void AssessmentChart::PlaceMarkerLabels() {
  const QRectF area = plotArea();
  std::vector<Marker*> shown;
  for (Marker& m : markers_) {
    if (m.shown) shown.push_back(&m);
  }
  std::sort(shown.begin(), shown.end(),
            [](const Marker* l, const Marker* r) { return l->x < r->x; });
  // Each label stands upright to the right of its line, its end near the
  // plot's top; beside another label it moves to the line's left, and below
  // that one where both sides are taken.
  std::vector<QRectF> placed;
  for (Marker* m : shown) {
    const double x = mapToPosition(QPointF(m->x, 1.0), m->line).x();
    const QRectF text = m->label->boundingRect();  // before the rotation
    const double w = text.height();
    const double h = text.width();
    auto free = [&placed](const QRectF& r) {
      return std::none_of(placed.begin(), placed.end(),
                          [&r](const QRectF& o) { return o.intersects(r.adjusted(-1, 0, 1, 0)); });
    };
    QRectF at(x + 2, area.top() + 4, w, h);
    if (!free(at)) at.moveLeft(x - 2 - w);
    while (!free(at) && at.bottom() < area.bottom()) at.moveTop(at.top() + h + 6);
    // Rotated by -90 degrees about its origin, the text's origin is its
    // box's lower left corner.
    m->label->setPos(at.left(), at.bottom());
    placed.push_back(at);
  }
}

void AssessmentChart::PlaceLegend() {
  const QRectF whole(QPointF(0, 0), size());
  if (whole.isEmpty()) return;
  // Rows of entries under the distance axis, as many as the width needs;
  // the chart leaves that much room at its foot.
  const QFontMetricsF metrics(legend()->font());
  const double room = whole.width() - 2 * kLegendSide;
  int rows = 0;
  double x = room;  // the first entry opens the first row
  for (QLegendMarker* m : legend()->markers()) {
    if (!m->isVisible()) continue;
    const double w = metrics.horizontalAdvance(m->label()) + kLegendSymbolRoom;
    if (x + w > room) {
      ++rows;
      x = 0;
    }
    x += w;
  }
  const double line = metrics.height() + kLegendLineGap;  // the symbol's box is taller than text
  const double height = rows * line + kLegendMargins;
  const int foot = static_cast<int>(std::ceil(height)) + kChartMargin;
  if (margins().bottom() != foot) {
    setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, foot));
  }
  legend()->setGeometry(
      QRectF(kLegendSide, whole.height() - height - kChartMargin / 2.0, room, height));
  if (QGraphicsLayout* layout = legend()->layout()) layout->activate();
}

double AssessmentChart::KeepOutMarker() const {
  return markers_[3].shown ? markers_[3].x : 0.0;
}

std::vector<QString> AssessmentChart::MarkerLabels() const {
  std::vector<const Marker*> shown;
  for (const Marker& m : markers_) {
    if (m.shown) shown.push_back(&m);
  }
  std::sort(shown.begin(), shown.end(),
            [](const Marker* l, const Marker* r) { return l->x < r->x; });
  std::vector<QString> labels;
  labels.reserve(shown.size());
  for (const Marker* m : shown) labels.push_back(m->label->text());
  return labels;
}

void RenderAssessmentPlot(QPainter& painter, const QRectF& target, const StationState& station,
                          const assess::Assessment& a) {
  QGraphicsScene scene;
  auto* chart = new AssessmentChart;  // the scene owns it
  scene.addItem(chart);
  const QRectF area(QPointF(0, 0), target.size());
  chart->setGeometry(area);
  chart->Show(station, a);
  // The chart lays itself out on the events it posts; the picture is taken
  // once it has.
  chart->layout()->activate();
  QCoreApplication::sendPostedEvents(chart);
  QCoreApplication::sendPostedEvents(&scene);
  chart->PlaceMarkerLabels();
  chart->PlaceLegend();
  scene.setSceneRect(area);
  scene.render(&painter, target, area);
}

}  // namespace korrin
