#include "ui/qt/station/InstallationPlot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "ui/station/ResultTables.h"

namespace korrin {

namespace {

using assess::Criterion;
using assess::CriterionResult;
using assess::LimitSetChoice;
using assess::Tier;

constexpr int kPointsPerCurve = 240;
constexpr double kDecadesBelowLimits = 2.0;  // of density shown under the lowest limit
constexpr double kDecadesAboveLimits = 2.0;  // and over the highest

struct Curve {
  QString name;
  QColor colour;
  const assess::ExposureCase* exposure = nullptr;
  double limitWm2 = 0;
  double keepOutM = 0;
  bool dish = false;
  bool instantaneous = false;
};

QColor ColourOf(LimitSetChoice set, Tier tier, Criterion criterion) {
  const bool general = tier == Tier::General;
  QColor c = general ? QColor(30, 130, 76) : QColor(20, 90, 160);  // ICNIRP 2020
  switch (set) {
    case LimitSetChoice::Fcc:
      c = general ? QColor(178, 34, 34) : QColor(214, 120, 20);
      break;
    case LimitSetChoice::Icnirp2020:
      break;
    case LimitSetChoice::Icnirp1998:
      c = general ? QColor(120, 60, 160) : QColor(170, 110, 200);
      break;
    case LimitSetChoice::Sc6:
      c = general ? QColor(150, 110, 20) : QColor(100, 100, 100);
      break;
  }
  return criterion == Criterion::Instantaneous ? c.lighter(135) : c;
}

double DecadeBelow(double v) {
  return std::pow(10.0, std::floor(std::log10(v)));
}

double DecadeAbove(double v) {
  return std::pow(10.0, std::ceil(std::log10(v)));
}

// No ligatures, so that the words stay searchable in a PDF.
QFont Unshaped(QFont font, qreal pixels) {
  font.setStyleStrategy(QFont::PreferNoShaping);
  font.setPixelSize(std::max(1, static_cast<int>(pixels)));
  return font;
}

QString Tick(double v) {
  return QString::number(v, 'g', 6);
}

}  // namespace

void PaintInstallationPlot(QPainter& p, const QRectF& target, const assess::InstallationResult& r,
                           bool feet) {
  const double unit = feet ? 1.0 / static_cast<double>(station::kMetresPerFoot) : 1.0;
  std::vector<Curve> curves;
  for (const assess::TierResult& t : r.results) {
    for (const CriterionResult* c :
         {t.Find(Criterion::TimeAveraged), t.Find(Criterion::Instantaneous)}) {
      if (c == nullptr) continue;
      const assess::ExposureCase* exposure = nullptr;
      for (const assess::ExposureCase& e : c->cases) {
        if (e.frequencyMHz == c->frequencyMHz) exposure = &e;
      }
      if (exposure == nullptr) continue;
      Curve curve;
      curve.name =
          QString::fromStdString(stationui::ShortCriterionName(t.set, t.tier, c->criterion));
      curve.colour = ColourOf(t.set, t.tier, c->criterion);
      curve.exposure = exposure;
      curve.limitWm2 = static_cast<double>(c->limitWm2);
      curve.keepOutM = static_cast<double>(c->keepOutM);
      curve.dish = r.dish;
      curve.instantaneous = c->criterion == Criterion::Instantaneous;
      curves.push_back(curve);
    }
  }

  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(target, Qt::white);
  const qreal font = std::clamp(target.height() / 30.0, 7.0, 14.0);
  p.setFont(Unshaped(p.font(), font));
  const QFontMetricsF m(p.font());
  const int legendLines = static_cast<int>(curves.size()) + 1;
  const QRectF plot(target.left() + m.horizontalAdvance("0.0001") + font * 2.2,
                    target.top() + font * 0.8,
                    target.width() - m.horizontalAdvance("0.0001") - font * 3.2,
                    target.height() - font * 3.6 - legendLines * m.height());

  // The ranges: a decade below the nearest keep-out (and λ/2π) to a decade
  // beyond the farthest, and two decades round the limits.
  // λ/2π at the first curve's frequency (the installation's headline one).
  const double nearField =
      curves.empty()
          ? 0
          : static_cast<double>(curves.front().exposure->wavelengthM) / (2 * std::numbers::pi);
  double nearest = nearField > 0 ? nearField : 1.0;
  double farthest = std::max(nearField, 1.0);
  double lowLimit = HUGE_VAL;
  double highLimit = 0;
  for (const Curve& c : curves) {
    if (c.keepOutM > 0) {
      nearest = std::min(nearest, c.keepOutM);
      farthest = std::max(farthest, c.keepOutM);
    }
    lowLimit = std::min(lowLimit, c.limitWm2);
    highLimit = std::max(highLimit, c.limitWm2);
  }
  if (curves.empty()) {
    lowLimit = 1;
    highLimit = 10;
  }
  const double x0 = DecadeBelow(nearest * unit / 2);
  const double x1 = std::max(DecadeAbove(farthest * unit * 3), x0 * 100);
  const double y0 = DecadeBelow(lowLimit) * std::pow(10.0, -kDecadesBelowLimits);
  const double y1 = DecadeAbove(highLimit) * std::pow(10.0, kDecadesAboveLimits);
  auto px = [&](double x) {
    return plot.left() +
           plot.width() * (std::log10(x) - std::log10(x0)) / (std::log10(x1) - std::log10(x0));
  };
  auto py = [&](double y) {
    return plot.bottom() -
           plot.height() * (std::log10(y) - std::log10(y0)) / (std::log10(y1) - std::log10(y0));
  };

  // Grid and axes with their decades.
  p.setPen(QPen(QColor(215, 215, 215), 0.6));
  for (double x = x0; x <= x1 * 1.0001; x *= 10)
    p.drawLine(QPointF(px(x), plot.top()), QPointF(px(x), plot.bottom()));
  for (double y = y0; y <= y1 * 1.0001; y *= 10)
    p.drawLine(QPointF(plot.left(), py(y)), QPointF(plot.right(), py(y)));
  p.setPen(QPen(Qt::black, 0.8));
  p.drawRect(plot);
  for (double x = x0; x <= x1 * 1.0001; x *= 10) {
    const QString t = Tick(x);
    p.drawText(QPointF(px(x) - m.horizontalAdvance(t) / 2, plot.bottom() + m.ascent() + 2), t);
  }
  for (double y = y0; y <= y1 * 1.0001; y *= 10) {
    const QString t = Tick(y);
    p.drawText(QPointF(plot.left() - m.horizontalAdvance(t) - 3, py(y) + m.ascent() / 2 - 1), t);
  }
  const QString xTitle =
      feet ? "Distance along the main beam (ft)" : "Distance along the main beam (m)";
  p.drawText(QPointF(plot.center().x() - m.horizontalAdvance(xTitle) / 2,
                     plot.bottom() + m.height() + m.ascent() + 2),
             xTitle);
  p.save();
  p.translate(target.left() + m.ascent(), plot.center().y());
  p.rotate(-90);
  const QString yTitle = "Power density (W/m²)";
  p.drawText(QPointF(-m.horizontalAdvance(yTitle) / 2, 0), yTitle);
  p.restore();

  p.setClipRect(plot);
  // λ/2π: closer than this the density is not the right measure.
  if (nearField > 0) {
    p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
    p.drawLine(QPointF(px(nearField * unit), plot.top()),
               QPointF(px(nearField * unit), plot.bottom()));
  }
  for (const Curve& c : curves) {
    // The limit, dashed.
    p.setPen(QPen(c.colour, 1.2, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), py(c.limitWm2)), QPointF(plot.right(), py(c.limitWm2)));
    // The density, from the evaluation's own model.
    QPainterPath path;
    bool started = false;
    for (int i = 0; i <= kPointsPerCurve; ++i) {
      const double x = x0 * std::pow(x1 / x0, double(i) / kPointsPerCurve);
      double s = static_cast<double>(assess::DensityAtWm2(*c.exposure, x / unit));
      if (!(s > 0) || !std::isfinite(s)) continue;
      s = std::clamp(s, y0 / 10, y1 * 10);
      const QPointF at(px(x), py(s));
      if (started) {
        path.lineTo(at);
      } else {
        path.moveTo(at);
        started = true;
      }
    }
    p.setPen(
        QPen(c.colour, c.instantaneous ? 1.4 : 2.0, c.instantaneous ? Qt::DotLine : Qt::SolidLine));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    // The keep-out distance on the limit.
    if (c.keepOutM > 0) {
      const QPointF at(px(c.keepOutM * unit), py(c.limitWm2));
      p.setPen(Qt::NoPen);
      p.setBrush(c.colour);
      p.drawEllipse(at, font * 0.3, font * 0.3);
    }
  }
  p.setClipping(false);

  // The legend under the plot: each curve with its limit and keep-out.
  qreal y = plot.bottom() + 2 * m.height() + font * 0.6;
  for (const Curve& c : curves) {
    p.setPen(QPen(c.colour, 2.0, c.instantaneous ? Qt::DotLine : Qt::SolidLine));
    p.drawLine(QPointF(plot.left(), y + m.height() / 2),
               QPointF(plot.left() + font * 2, y + m.height() / 2));
    p.setPen(Qt::black);
    const QString text = c.name + (c.instantaneous ? ", peak power" : ", time-averaged") + " at " +
                         QString::number(static_cast<double>(c.exposure->frequencyMHz), 'g', 7) +
                         " MHz: limit " + QString::number(c.limitWm2, 'g', 4) + " W/m², keep-out " +
                         QString::fromStdString(stationui::DistanceText(c.keepOutM, feet));
    p.drawText(QPointF(plot.left() + font * 2.6, y + m.ascent()), text);
    y += m.height();
  }
  if (nearField > 0) {
    p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), y + m.height() / 2),
               QPointF(plot.left() + font * 2, y + m.height() / 2));
    p.setPen(Qt::black);
    p.drawText(QPointF(plot.left() + font * 2.6, y + m.ascent()),
               "λ/2π = " + QString::fromStdString(stationui::DistanceText(nearField, feet)) +
                   ": closer, the reactive near field");
  }
  p.restore();
}

}  // namespace korrin
