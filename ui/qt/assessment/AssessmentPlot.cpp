#include "ui/qt/assessment/AssessmentPlot.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsEllipseItem>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QTextDocument>
#include <QXYSeries>
#include <algorithm>
#include <cmath>

#include "ui/TForm1.h"
#include "ui/qt/assessment/AssessmentText.h"
#include "ui/qt/assessment/CurvePoints.h"
#include "ui/qt/assessment/PlotLayout.h"

namespace korrin {

namespace {

using assess::LimitSet;

constexpr std::array<LimitSet, assess::kLimitSetCount> kSets = {LimitSet::FccGeneral,
                                                                LimitSet::FccOccupational,
                                                                LimitSet::Icnirp2020,
                                                                LimitSet::Arpansa2002,
                                                                LimitSet::As2772,
                                                                LimitSet::HandSet,
                                                                LimitSet::Icnirp2020Occupational,
                                                                LimitSet::CalculatorFcc,
                                                                LimitSet::Icnirp1998,
                                                                LimitSet::Icnirp1998Occupational,
                                                                LimitSet::Sc6Uncontrolled,
                                                                LimitSet::Sc6Controlled};
// Today's rules, whose figures are the station evaluation's.
constexpr std::array<LimitSet, 4> kTodaysSets = {LimitSet::FccGeneral, LimitSet::FccOccupational,
                                                 LimitSet::Icnirp2020,
                                                 LimitSet::Icnirp2020Occupational};

constexpr double kSelectedLineWidth = 3.0;  // pixels
constexpr double kOtherLineWidth = 1.4;
constexpr double kCurveWidth = 2.2;
constexpr double kEvaluationCurveWidth = 1.5;
constexpr double kDotSize = 9.0;           // pixels across a keep-out dot
constexpr double kTurnDashPx = 7.0;        // dash of each of the lines that lie on one another
constexpr double kTakingTurnsWidth = 2.2;  // their least width, so that every colour shows
constexpr double kMostDecades = 9.0;       // of density shown below the highest
// Densities more than this above the highest limit line (close to a
// gain-only antenna, where its far-field formula means nothing) run off the
// plot's top.
constexpr double kDecadesAboveLimits = 2.0;
// Limits this close (relative) are one value: their lines lie on one another.
constexpr double kSameLimit = 1e-9;
constexpr int kChartMargin = 6;          // pixels around the chart
constexpr double kTitleGap = 4.0;        // pixels between the title and the marker labels
constexpr double kLabelGap = 10.0;       // pixels kept clear between labels in a row
constexpr double kLabelRowGap = 2.0;     // pixels between rows of marker labels
constexpr double kLeaderGap = 3.0;       // pixels between a leader and its label
constexpr double kLegendSide = 12.0;     // pixels from the chart's sides to the legend
constexpr double kLegendSample = 26.0;   // the sample line's length
constexpr double kLegendTextGap = 6.0;   // between the sample and its text
constexpr double kLegendSpacing = 18.0;  // between entries in a row
constexpr double kLegendRowGap = 5.0;    // between rows
// Stacking of the plot's own items: above the grid, below the series.
constexpr double kShadeZ = 3.5;
constexpr double kTextZ = 10;

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
      return {0, 150, 200};  // apart from the calculator's curve
    case LimitSet::CalculatorFcc:
      return {120, 0, 70};
    case LimitSet::Icnirp1998:
      return {120, 60, 160};
    case LimitSet::Icnirp1998Occupational:
      return {170, 110, 200};
    case LimitSet::Sc6Uncontrolled:
      return {150, 110, 20};
    case LimitSet::Sc6Controlled:
      return {100, 100, 100};
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

// The profile carried on to `fromM` at the antenna's side, along the line
// through its first two points on the log-log axes: level for the dish,
// whose first points are its near field's level, the far-field formula
// itself for an antenna known by its gain.
std::vector<assess::DensityPoint> FromTheAntenna(const std::vector<assess::DensityPoint>& profile,
                                                 Real fromM) {
  std::vector<assess::DensityPoint> drawn;
  drawn.reserve(profile.size() + 1);
  if (!profile.empty() && fromM > 0 && fromM < profile.front().distanceM) {
    const assess::DensityPoint& p = profile[0];
    Real density = p.densityWm2;
    if (profile.size() > 1) {
      const assess::DensityPoint& q = profile[1];
      if (p.distanceM > 0 && q.distanceM > p.distanceM && p.densityWm2 > 0 && q.densityWm2 > 0) {
        const Real slope =
            std::log(q.densityWm2 / p.densityWm2) / std::log(q.distanceM / p.distanceM);
        density = p.densityWm2 * std::pow(fromM / p.distanceM, slope);
      }
    }
    drawn.push_back({fromM, density});
  }
  drawn.insert(drawn.end(), profile.begin(), profile.end());
  return drawn;
}

// The limit lines' densities, in W/m².
std::vector<double> LimitLevels(const assess::Assessment& a) {
  std::vector<double> levels;
  for (const assess::LimitEntry& e : a.limits) {
    if (e.applies && e.limitWm2) levels.push_back(double(*e.limitWm2));
  }
  return levels;
}

// The points of `profile` in the unit shown, as the plot draws them.
QList<QPointF> CurveOf(const std::vector<assess::DensityPoint>& profile, double unit,
                       const std::vector<double>& levels) {
  QList<QPointF> points;
  points.reserve(qsizetype(profile.size()));
  for (const assess::DensityPoint& p : profile) {
    const double x = double(p.distanceM) * unit;
    const double y = double(p.densityWm2);
    if (x > 0 && y > 0 && std::isfinite(x) && std::isfinite(y)) points.append(QPointF(x, y));
  }
  return CurvePoints(points, levels);
}

// Gives `series` the points, where they differ from those it has: each
// change lays the series out anew and strokes its whole outline.
void SetPoints(QXYSeries& series, const QList<QPointF>& points) {
  if (series.points() != points) series.replace(points);
}

QLineSeries* NewLine(AssessmentChart& chart, QLogValueAxis* x, QLogValueAxis* y) {
  auto* line = new QLineSeries(&chart);
  chart.addSeries(line);
  line->attachAxis(x);
  line->attachAxis(y);
  return line;
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

bool SameLimit(double a, double b) {
  return std::fabs(a - b) <= kSameLimit * std::max(std::fabs(a), std::fabs(b));
}

// The limit lines that apply, in groups of equal limits, each group in the
// sets' order.
std::vector<std::vector<const assess::LimitEntry*>> LimitGroups(const assess::Assessment& a) {
  std::vector<std::vector<const assess::LimitEntry*>> groups;
  for (const assess::LimitEntry& e : a.limits) {
    if (!e.applies || !e.limitWm2) continue;
    auto same = std::find_if(groups.begin(), groups.end(), [&e](const auto& g) {
      return SameLimit(double(*g.front()->limitWm2), double(*e.limitWm2));
    });
    if (same == groups.end()) {
      groups.push_back({&e});
    } else {
      same->push_back(&e);
    }
  }
  return groups;
}

// The set's short name, with the criterion where it is ICNIRP's
// instantaneous level.
QString LimitName(const assess::LimitEntry& e) {
  return ShortLimitName(e.set) +
         (e.criterion == assess::Criterion::Instantaneous ? " instantaneous" : "");
}

QString LimitLegendName(const assess::LimitEntry& e) {
  return LimitName(e) + (e.selected ? " (selected)" : "");
}

}  // namespace

// A straight line of the plot's own: its bounds are its ends widened by its
// pen, where a QGraphicsLineItem strokes its whole outline to find them.
class PlotLine : public QGraphicsItem {
 public:
  explicit PlotLine(QGraphicsItem* parent) : QGraphicsItem(parent) {}

  void setLine(double x1, double y1, double x2, double y2) {
    const QLineF line(x1, y1, x2, y2);
    if (line == line_) return;
    prepareGeometryChange();
    line_ = line;
  }
  QLineF line() const { return line_; }
  void setPen(const QPen& pen) {
    if (pen == pen_) return;
    prepareGeometryChange();
    pen_ = pen;
  }

  QRectF boundingRect() const override {
    const double w = pen_.widthF() / 2.0 + 1.0;
    return QRectF(line_.p1(), line_.p2()).normalized().adjusted(-w, -w, w, w);
  }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* /*option*/,
             QWidget* /*widget*/) override {
    painter->setPen(pen_);
    painter->drawLine(line_);
  }

 private:
  QLineF line_;
  QPen pen_;
};

AssessmentChart::AssessmentChart() {
  setBackgroundRoundness(0);
  setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, kChartMargin));
  // The chart's own title and legend would cut their texts short: the title
  // wraps and the legend's entries wrap in rows, both laid out here.
  legend()->setVisible(false);
  title_ = new QGraphicsTextItem(this);
  QFont titleFont = Unshaped(font());
  titleFont.setPointSizeF(10.5);
  title_->setFont(titleFont);
  title_->document()->setDocumentMargin(0);
  title_->setDefaultTextColor(QColor(40, 40, 40));
  title_->setZValue(kTextZ);

  distance_ = NewAxis("Distance along the beam (m)");
  density_ = NewAxis("Average power density (W/m²)");
  densityMw_ = NewAxis("mW/cm²");
  addAxis(distance_, Qt::AlignBottom);
  addAxis(density_, Qt::AlignLeft);
  addAxis(densityMw_, Qt::AlignRight);
  // The axes' lines and ticks as hairlines in the theme's colour: they draw
  // as its one-pixel pen does, and a hairline's bounds are found without
  // stroking its outline for every tick in every repaint.
  for (QLogValueAxis* axis : {distance_, density_, densityMw_}) {
    QPen line = axis->linePen();
    line.setWidth(0);
    line.setCosmetic(true);
    axis->setLinePen(line);
  }

  for (LimitSet set : kSets) {
    QLineSeries* line = NewLine(*this, distance_, density_);
    line->setName(ShortLimitName(set));
    limits_[Index(set)] = line;
  }
  for (QLineSeries*& curve : evaluationCurves_) curve = NewLine(*this, distance_, density_);

  curve_ = NewLine(*this, distance_, density_);
  curve_->setName("The calculator's density along the beam");
  curve_->setPen(QPen(kCurveColour, kCurveWidth));

  QFont labelFont = Unshaped(font());
  labelFont.setPointSizeF(8.5);
  for (Marker& m : markers_) {
    m.line = NewLine(*this, distance_, density_);
    m.line->setPen(QPen(kMarkerColour, 1.2, Qt::DashLine));
    m.label = new QGraphicsSimpleTextItem(this);
    m.label->setFont(labelFont);
    m.label->setBrush(kMarkerColour.darker(140));
    m.label->setZValue(kTextZ);
    m.leader = new PlotLine(this);
    m.leader->setPen(QPen(kMarkerColour, 1.0, Qt::DotLine));
    m.leader->setZValue(kTextZ);
  }

  for (LimitSet set : kTodaysSets) {
    auto* dot = new QScatterSeries(this);
    addSeries(dot);
    dot->attachAxis(distance_);
    dot->attachAxis(density_);
    dot->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    dot->setMarkerSize(kDotSize);
    dot->setColor(SetColour(set));
    dot->setBorderColor(Qt::white);
    dot->setName("keep-out, " + ShortLimitName(set));
    keepOutDots_[Index(set)] = dot;
  }

  connect(this, &QChart::plotAreaChanged, this, [this] { PlaceDecorations(); });
}

QLineSeries* AssessmentChart::EvaluationCurve(LimitSet set) const {
  return curveOfSet_[Index(set)];
}

QScatterSeries* AssessmentChart::KeepOutDot(LimitSet set) const {
  QScatterSeries* dot = keepOutDots_[Index(set)];
  return dot != nullptr && dot->isVisible() ? dot : nullptr;
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
  const auto takeProfile = [&](const std::vector<assess::DensityPoint>& profile) {
    for (const assess::DensityPoint& p : profile) {
      const double x = double(p.distanceM) * unit;
      const double y = double(p.densityWm2);
      if (x <= 0 || y <= 0 || !std::isfinite(x) || !std::isfinite(y)) continue;
      takeX(x);
      takeY(y);
    }
  };
  takeProfile(a.profile);
  for (const assess::LimitEntry& e : a.limits) takeProfile(e.profile);
  takeX(double(a.reactiveNearFieldM) * unit);
  if (a.farFieldBoundaryM) takeX(double(*a.farFieldBoundaryM) * unit);
  if (a.fccExemption) takeX(double(a.fccExemption->minimumDistanceM) * unit);
  for (const assess::LimitEntry& e : a.limits) {
    if (e.applies && e.keepOutM && (e.selected || e.source == assess::EntrySource::Evaluation)) {
      takeX(double(*e.keepOutM) * unit);
    }
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
    // Every series is laid out anew for each axis that changes, and again
    // when it takes its new points: without points the first costs nothing.
    ClearSeries();
    distance_->setRange(x0, x1);
    density_->setRange(y0, y1);
    densityMw_->setRange(y0 / 10, y1 / 10);
  }

  // From the plot's left edge: the antenna's side of lambda / 2 pi.
  const std::vector<assess::DensityPoint> drawn = FromTheAntenna(a.profile, Real(x0 / unit));
  SetPoints(*curve_, CurveOf(drawn, unit, LimitLevels(a)));
  curve_->setName("The calculator's density at " + MegahertzText(a.frequencyMHz) +
                  ", six-minute average");
  SetLimitLines(a, x0, x1);
  std::vector<LegendEntry> evaluationEntries = SetEvaluationCurves(a, x0, unit);
  SetShading(a, drawn, unit);
  SetMarkers(a, y0, y1, unit);

  // The title: the station's line, then the selected standard's.
  const QString first = PlotTitle(station);
  const QString second = SelectedLine(a, metric_);
  QString html = "<b>" + first.toHtmlEscaped() + "</b>";
  if (!second.isEmpty()) html += "<br>" + second.toHtmlEscaped();
  if (html != titleHtml_) {
    titleHtml_ = html;
    titleText_ = second.isEmpty() ? first : first + "\n" + second;
    title_->document()->setHtml(html);
  }

  // The legend: the shading, the limit lines (those lying on one another in
  // one entry), the curve.
  std::vector<LegendEntry> entries;
  if (!shaded_.empty()) {
    entries.push_back({"Above the selected limit", {}, QBrush(shadeColour_), {}});
  }
  for (const auto& group : LimitGroups(a)) {
    LegendEntry entry;
    QStringList names;
    for (const assess::LimitEntry* e : group) {
      names << LimitLegendName(*e);
      entry.lines.push_back(limits_[Index(e->set)]->pen());
    }
    entry.text = names.join(" = ") + " " + Figure(*group.front()->limitWm2) + " W/m²";
    entries.push_back(std::move(entry));
  }
  entries.push_back({curve_->name(), {curve_->pen()}, {}, {}});
  for (LegendEntry& e : evaluationEntries) entries.push_back(std::move(e));
  SetLegend(std::move(entries));
  PlaceDecorations();
}

void AssessmentChart::ClearSeries() {
  for (QAbstractSeries* series : this->series()) {
    if (auto* xy = qobject_cast<QXYSeries*>(series)) SetPoints(*xy, {});
  }
}

void AssessmentChart::SetLimitLines(const assess::Assessment& a, double x0, double x1) {
  limitShown_.fill(false);
  for (const auto& group : LimitGroups(a)) {
    const size_t count = group.size();
    for (size_t i = 0; i < count; ++i) {
      const assess::LimitEntry& e = *group[i];
      QLineSeries* line = limits_[Index(e.set)];
      const double y = double(*e.limitWm2);
      SetPoints(*line, {{x0, y}, {x1, y}});
      double width = e.selected ? kSelectedLineWidth : kOtherLineWidth;
      if (count > 1) width = std::max(width, kTakingTurnsWidth);
      QPen pen(SetColour(e.set), width, e.selected ? Qt::SolidLine : Qt::DashLine);
      if (count > 1) {
        // Lines on one another take turns with their dashes, so that each
        // shows; the pattern is in pen widths.
        const TurnDashes d = DashesTakingTurns(i, count, kTurnDashPx);
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({d.dashPx / width, d.gapPx / width});
        pen.setDashOffset(d.offsetPx / width);
      }
      line->setPen(pen);
      line->setName(LimitName(e) + " " + Figure(y) + " W/m²" + (e.selected ? " (selected)" : ""));
      limitShown_[Index(e.set)] = true;
    }
  }
  for (LimitSet set : kSets) {
    QLineSeries* line = limits_[Index(set)];
    const bool shown = limitShown_[Index(set)];
    line->setVisible(shown);
    if (!shown) SetPoints(*line, {});
  }
}

std::vector<AssessmentChart::LegendEntry> AssessmentChart::SetEvaluationCurves(
    const assess::Assessment& a, double x0, double unit) {
  curveOfSet_.fill(nullptr);
  const std::vector<double> levels = LimitLevels(a);
  std::vector<LegendEntry> legend;
  // The entries of today's rules that have a density, grouped by it.
  std::vector<std::vector<const assess::LimitEntry*>> groups;
  for (const assess::LimitEntry& e : a.limits) {
    if (e.source != assess::EntrySource::Evaluation || !e.applies || e.profile.empty()) continue;
    auto same = std::find_if(groups.begin(), groups.end(), [&e](const auto& g) {
      const auto& p = g.front()->profile;
      return std::equal(p.begin(), p.end(), e.profile.begin(), e.profile.end(),
                        [](const auto& l, const auto& r) {
                          return l.distanceM == r.distanceM && l.densityWm2 == r.densityWm2;
                        });
    });
    if (same == groups.end()) {
      groups.push_back({&e});
    } else {
      same->push_back(&e);
    }
  }
  for (size_t i = 0; i < evaluationCurves_.size(); ++i) {
    QLineSeries* curve = evaluationCurves_[i];
    if (i >= groups.size()) {
      curve->setVisible(false);
      SetPoints(*curve, {});
      continue;
    }
    const auto& group = groups[i];
    const assess::LimitEntry& first = *group.front();
    SetPoints(*curve, CurveOf(FromTheAntenna(first.profile, Real(x0 / unit)), unit, levels));
    const QColor colour = SetColour(first.set);
    curve->setPen(QPen(colour, kEvaluationCurveWidth));
    curve->setVisible(true);
    QStringList names;
    for (const assess::LimitEntry* e : group) {
      names << ShortLimitName(e->set);
      curveOfSet_[Index(e->set)] = curve;
    }
    const bool peak = first.criterion == assess::Criterion::Instantaneous;
    QString name =
        QString(peak ? "Peak density" : "Density") + " at " + MegahertzText(*first.frequencyMHz);
    if (!peak && first.averagingMinutes) {
      name += ", " + QString::number(double(*first.averagingMinutes)) + "-minute average";
    }
    name += " (" + names.join(", ") + ")";
    curve->setName(name);
    legend.push_back({name, {curve->pen()}, {}, colour});
  }
  for (LimitSet set : kTodaysSets) {
    QScatterSeries* dot = keepOutDots_[Index(set)];
    const assess::LimitEntry* e = a.Find(set);
    const bool shown = e != nullptr && curveOfSet_[Index(set)] != nullptr && e->keepOutM &&
                       *e->keepOutM > 0 && e->limitWm2;
    dot->setVisible(shown);
    if (shown) {
      SetPoints(*dot, {{double(*e->keepOutM) * unit, double(*e->limitWm2)}});
    } else {
      SetPoints(*dot, {});
    }
  }
  return legend;
}

void AssessmentChart::SetShading(const assess::Assessment& a,
                                 const std::vector<assess::DensityPoint>& drawn, double unit) {
  shaded_.clear();
  const assess::LimitEntry* selected = a.Selected();
  if (selected != nullptr && selected->applies && selected->limitWm2) {
    for (const auto& [from, to] : RangesAbove(drawn, *selected->limitWm2)) {
      shaded_.emplace_back(from * unit, to * unit);
    }
    shadeColour_ = SetColour(selected->set);
    shadeColour_.setAlpha(38);
  }
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
    markers_[3].leader->setPen(QPen(SetColour(selected->set), 1.0, Qt::DotLine));
  }
  for (size_t i = 0; i < markers_.size(); ++i) {
    Marker& m = markers_[i];
    m.shown = wanted[i].metres.has_value() && *wanted[i].metres > 0;
    m.line->setVisible(m.shown);
    m.label->setVisible(m.shown);
    m.leader->setVisible(m.shown);
    if (!m.shown) {
      SetPoints(*m.line, {});
      continue;
    }
    m.x = double(*wanted[i].metres) * unit;
    SetPoints(*m.line, {{m.x, y0}, {m.x, y1}});
    if (m.label->text() != wanted[i].text) m.label->setText(wanted[i].text);
  }
}

void AssessmentChart::SetLegend(std::vector<LegendEntry> entries) {
  const auto same = [](const LegendEntry& l, const LegendEntry& r) {
    return l.text == r.text && l.lines == r.lines && l.fill == r.fill && l.dot == r.dot;
  };
  if (std::equal(entries.begin(), entries.end(), legend_.begin(), legend_.end(), same)) return;
  legend_ = std::move(entries);
  const QFont font = Unshaped(title_->font());
  QFont legendFont = font;
  legendFont.setPointSizeF(9.0);
  while (legendGraphics_.size() < legend_.size()) {
    LegendGraphics g;
    g.text = new QGraphicsSimpleTextItem(this);
    g.text->setFont(legendFont);
    g.text->setBrush(QColor(40, 40, 40));
    g.text->setZValue(kTextZ);
    g.fill = new QGraphicsRectItem(this);
    g.fill->setPen(QPen(QColor(120, 120, 120), 0.8));
    g.fill->setZValue(kTextZ);
    g.dot = new QGraphicsEllipseItem(this);
    g.dot->setPen(QPen(Qt::white, 1.0));
    g.dot->setZValue(kTextZ + 1);
    legendGraphics_.push_back(g);
  }
  for (size_t i = 0; i < legendGraphics_.size(); ++i) {
    LegendGraphics& g = legendGraphics_[i];
    const bool shown = i < legend_.size();
    g.text->setVisible(shown);
    g.fill->setVisible(shown && legend_[i].fill.style() != Qt::NoBrush);
    g.dot->setVisible(shown && legend_[i].dot.isValid());
    const size_t lines = shown ? legend_[i].lines.size() : 0;
    while (g.lines.size() < lines) {
      auto* line = new PlotLine(this);
      line->setZValue(kTextZ);
      g.lines.push_back(line);
    }
    for (size_t k = 0; k < g.lines.size(); ++k) {
      g.lines[k]->setVisible(k < lines);
      if (k < lines) g.lines[k]->setPen(legend_[i].lines[k]);
    }
    if (!shown) continue;
    g.text->setText(legend_[i].text);
    g.fill->setBrush(legend_[i].fill);
    if (legend_[i].dot.isValid()) g.dot->setBrush(legend_[i].dot);
  }
}

bool AssessmentChart::PlaceDecorations() {
  const QSizeF whole = size();
  if (whole.isEmpty()) return false;
  // A chart of another width may need other rows: those kept count anew.
  if (whole.width() != keptAtWidth_) {
    keptAtWidth_ = whole.width();
    legendRowsKept_ = 0;
    labelRowsKept_ = 0;
  }
  const double titleHeight = PlaceTitle(whole.width());
  const double labelsTop = kChartMargin + titleHeight + kTitleGap;
  const double labelsHeight = PlaceMarkerLabels(labelsTop);
  const double legendHeight = PlaceLegend(whole.width(), whole.height());
  PlaceShading();
  const QMargins wanted(kChartMargin, static_cast<int>(std::ceil(labelsTop + labelsHeight)),
                        kChartMargin, static_cast<int>(std::ceil(legendHeight)) + kChartMargin);
  if (margins() == wanted) return false;
  setMargins(wanted);
  return true;
}

double AssessmentChart::PlaceTitle(double width) {
  const double textWidth = std::max(1.0, width - 2.0 * kChartMargin);
  if (title_->textWidth() != textWidth) title_->setTextWidth(textWidth);
  title_->setPos(kChartMargin, kChartMargin);
  titleRect_ = title_->mapRectToParent(title_->boundingRect());
  return title_->boundingRect().height();
}

double AssessmentChart::PlaceMarkerLabels(double top) {
  const QRectF area = plotArea();
  const double right = size().width() - kChartMargin;
  const std::vector<const Marker*> shown = ShownMarkers();
  // Each label stands beside the top of its leader, in rows where no label
  // covers another or a leader.
  std::vector<double> widths;
  std::vector<double> anchors;
  double lineHeight = 0;
  for (const Marker* m : shown) {
    anchors.push_back(mapToPosition(QPointF(m->x, 1.0), m->line).x());
    const QRectF text = m->label->boundingRect();
    widths.push_back(text.width());
    lineHeight = std::max(lineHeight, text.height());
  }
  const std::vector<LabelSpan> spans =
      PlaceLabels(widths, anchors, kChartMargin, right, kLeaderGap, kLabelGap);
  // The rows once taken stay, so that the plot keeps its place while the
  // window follows one station after another.
  int count = labelRowsKept_;
  for (const LabelSpan& l : spans) count = std::max(count, l.row + 1);
  labelRowsKept_ = count;
  const double rowHeight = lineHeight + kLabelRowGap;
  for (size_t i = 0; i < shown.size(); ++i) {
    const LabelSpan& l = spans[i];
    // Row 0 is nearest to the plot.
    const double y = top + (count - 1 - l.row) * rowHeight;
    shown[i]->label->setPos(l.left, y);
    const bool under = l.anchor >= l.left && l.anchor <= l.right;
    shown[i]->leader->setLine(l.anchor, under ? y + lineHeight : y + 2, l.anchor, area.top());
  }
  return count * rowHeight;
}

double AssessmentChart::PlaceLegend(double width, double height) {
  // The spacing after an entry's text is not needed at the row's end.
  const double room = width - 2.0 * kLegendSide + kLegendSpacing;
  std::vector<double> widths;
  widths.reserve(legend_.size());
  double lineHeight = 0;
  for (size_t i = 0; i < legend_.size(); ++i) {
    // An entry wider than a row is cut short, its whole text in its tip.
    QGraphicsSimpleTextItem* item = legendGraphics_[i].text;
    const QString& whole = legend_[i].text;
    const double most = room - kLegendSample - kLegendTextGap - kLegendSpacing;
    const QFontMetricsF metrics(item->font());
    const bool cut = metrics.horizontalAdvance(whole) > most;
    const QString shown = cut ? metrics.elidedText(whole, Qt::ElideRight, most) : whole;
    if (item->text() != shown) item->setText(shown);
    item->setToolTip(cut ? whole : QString());
    const QRectF text = item->boundingRect();
    widths.push_back(kLegendSample + kLegendTextGap + text.width() + kLegendSpacing);
    lineHeight = std::max(lineHeight, text.height());
  }
  const std::vector<int> rows = WrapRows(widths, room);
  const int count = std::max(legendRowsKept_, rows.empty() ? 0 : rows.back() + 1);
  legendRowsKept_ = count;
  const double rowHeight = lineHeight + kLegendRowGap;
  const double legendHeight = count * rowHeight;
  const double top = height - kChartMargin - legendHeight;
  legendRects_.clear();
  double x = kLegendSide;
  int row = -1;
  for (size_t i = 0; i < legend_.size(); ++i) {
    if (rows[i] != row) {
      row = rows[i];
      x = kLegendSide;
    }
    LegendGraphics& g = legendGraphics_[i];
    const double y = top + row * rowHeight;
    const double middle = y + lineHeight / 2.0;
    g.fill->setRect(x, y + 2, kLegendSample, lineHeight - 4);
    for (PlotLine* line : g.lines) line->setLine(x, middle, x + kLegendSample, middle);
    g.dot->setRect(x + (kLegendSample - kDotSize) / 2, middle - kDotSize / 2, kDotSize, kDotSize);
    g.text->setPos(x + kLegendSample + kLegendTextGap, y);
    legendRects_.emplace_back(x, y, widths[i] - kLegendSpacing, lineHeight);
    x += widths[i];
  }
  return legendHeight;
}

void AssessmentChart::PlaceShading() {
  const QRectF area = plotArea();
  while (shades_.size() < shaded_.size()) {
    auto* shade = new QGraphicsRectItem(this);
    shade->setPen(Qt::NoPen);
    shade->setZValue(kShadeZ);
    shades_.push_back(shade);
  }
  for (size_t i = 0; i < shades_.size(); ++i) {
    QGraphicsRectItem* shade = shades_[i];
    shade->setVisible(i < shaded_.size());
    if (i >= shaded_.size()) continue;
    const double from = mapToPosition(QPointF(shaded_[i].first, 1.0), curve_).x();
    const double to = mapToPosition(QPointF(shaded_[i].second, 1.0), curve_).x();
    const double left = std::clamp(from, area.left(), area.right());
    const double right = std::clamp(to, area.left(), area.right());
    shade->setRect(left, area.top(), std::max(0.0, right - left), area.height());
    shade->setBrush(shadeColour_);
  }
}

std::vector<const AssessmentChart::Marker*> AssessmentChart::ShownMarkers() const {
  std::vector<const Marker*> shown;
  for (const Marker& m : markers_) {
    if (m.shown) shown.push_back(&m);
  }
  std::sort(shown.begin(), shown.end(),
            [](const Marker* l, const Marker* r) { return l->x < r->x; });
  return shown;
}

double AssessmentChart::KeepOutMarker() const {
  return markers_[3].shown ? markers_[3].x : 0.0;
}

std::vector<QString> AssessmentChart::MarkerLabels() const {
  const std::vector<const Marker*> shown = ShownMarkers();
  std::vector<QString> labels;
  labels.reserve(shown.size());
  for (const Marker* m : shown) labels.push_back(m->label->text());
  return labels;
}

std::vector<QRectF> AssessmentChart::MarkerLabelRects() const {
  const std::vector<const Marker*> shown = ShownMarkers();
  std::vector<QRectF> rects;
  rects.reserve(shown.size());
  for (const Marker* m : shown)
    rects.push_back(m->label->mapRectToParent(m->label->boundingRect()));
  return rects;
}

std::vector<QLineF> AssessmentChart::MarkerLeaders() const {
  const std::vector<const Marker*> shown = ShownMarkers();
  std::vector<QLineF> leaders;
  leaders.reserve(shown.size());
  for (const Marker* m : shown) leaders.push_back(m->leader->line());
  return leaders;
}

QString AssessmentChart::Title() const {
  return titleText_;
}

QRectF AssessmentChart::TitleRect() const {
  return titleRect_;
}

std::vector<QString> AssessmentChart::LegendEntries() const {
  std::vector<QString> texts;
  texts.reserve(legend_.size());
  for (const LegendEntry& e : legend_) texts.push_back(e.text);
  return texts;
}

std::vector<QRectF> AssessmentChart::LegendRects() const {
  return legendRects_;
}

void AssessmentChart::Settle() {
  // The chart lays itself out on the events it posts, and again when its
  // texts need other margins.
  constexpr int kMostPasses = 4;
  for (int pass = 0; pass < kMostPasses; ++pass) {
    layout()->activate();
    QCoreApplication::sendPostedEvents(this);
    if (scene() != nullptr) QCoreApplication::sendPostedEvents(scene());
    if (!PlaceDecorations()) break;
  }
}

void RenderAssessmentPlot(QPainter& painter, const QRectF& target, const StationState& station,
                          const assess::Assessment& a) {
  QGraphicsScene scene;
  auto* chart = new AssessmentChart;  // the scene owns it
  scene.addItem(chart);
  const QRectF area(QPointF(0, 0), target.size());
  chart->setGeometry(area);
  chart->Show(station, a);
  chart->Settle();
  scene.setSceneRect(area);
  scene.render(&painter, target, area);
}

}  // namespace korrin
