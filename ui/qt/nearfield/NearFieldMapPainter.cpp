#include "ui/qt/nearfield/NearFieldMapPainter.h"

#include "ui/qt/PictureFile.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QObject>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace korrin {

namespace nf = korrin::nearfield;

namespace {

constexpr double kMetresPerFoot = 0.3048;

// The colour scale: blue well below the limit, pale at it, red above.
struct Stop {
  double at;
  QColor colour;
};
const std::array<Stop, 5> kScale = {
    Stop{0.0, QColor(0x31, 0x36, 0x95)}, Stop{0.25, QColor(0x74, 0xad, 0xd1)},
    Stop{0.5, QColor(0xff, 0xff, 0xbf)}, Stop{0.75, QColor(0xf4, 0x6d, 0x43)},
    Stop{1.0, QColor(0xa5, 0x00, 0x26)}};
const QColor kContour(0, 0, 0);
const QColor kWire(0x10, 0x10, 0x10);
const QColor kGround(0x6d, 0x4c, 0x41);

QColor Blend(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// Where an exposure lies on the scale, 0 to 1 (logarithmic).
double ScaleOf(double exposure, const nf::NearFieldMap& map) {
  if (!(exposure > 0)) return 0;
  const double t = (std::log10(exposure) - std::log10(map.lowest)) /
                   (std::log10(map.highest) - std::log10(map.lowest));
  return std::clamp(t, 0.0, 1.0);
}

QColor ColourAt(double t) {
  for (size_t k = 1; k < kScale.size(); ++k) {
    if (t <= kScale[k].at) {
      return Blend(kScale[k - 1].colour, kScale[k].colour,
                   (t - kScale[k - 1].at) / (kScale[k].at - kScale[k - 1].at));
    }
  }
  return kScale.back().colour;
}

// A round step for about `count` ticks over `span`: 1, 2 or 5 times a power of ten.
double TickStep(double span, int count) {
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10 * power;
}

QString Caption(const nf::MapPanel& p, bool feet) {
  const QString unit = feet ? "ft" : "m";
  switch (p.kind) {
    case nf::PanelKind::Plan:
      return QObject::tr("Plan at %1 %2 above the ground")
          .arg(feet ? static_cast<double>(p.heightM) / kMetresPerFoot
                    : static_cast<double>(p.heightM),
               0, 'f', 1)
          .arg(unit);
    case nf::PanelKind::Along:
      return QObject::tr("Vertical plane along the feed wire (bearing %1°)")
          .arg(static_cast<double>(p.bearingDeg), 0, 'f', 0);
    case nf::PanelKind::Across:
      return QObject::tr("Vertical plane across the feed wire (bearing %1°)")
          .arg(static_cast<double>(p.bearingDeg), 0, 'f', 0);
  }
  return {};
}

// The words of an axis, whole or short.
QString AxisWords(nf::PanelKind kind, bool horizontal, bool feet, bool brief) {
  const QString unit = feet ? "ft" : "m";
  if (kind == nf::PanelKind::Plan) {
    if (brief)
      return horizontal ? QObject::tr("east (%1)").arg(unit) : QObject::tr("north (%1)").arg(unit);
    return horizontal ? QObject::tr("east of the antenna (%1)").arg(unit)
                      : QObject::tr("north of the antenna (%1)").arg(unit);
  }
  if (brief)
    return horizontal ? QObject::tr("along (%1)").arg(unit) : QObject::tr("height (%1)").arg(unit);
  return horizontal ? QObject::tr("along the plane from the antenna (%1)").arg(unit)
                    : QObject::tr("height above the ground (%1)").arg(unit);
}

void PaintPanel(QPainter& painter, const QRectF& area, const nf::MapPanel& panel,
                const nf::NearFieldMap& map, bool feet, qreal font) {
  const nf::ScalarGrid& g = panel.exposure;
  if (g.nu < 2 || g.nv < 2) return;
  const double du = static_cast<double>(g.u.x);
  const double dv = static_cast<double>(g.v.y);
  // The grid's extent: each point the middle of its cell.
  const double x0 = static_cast<double>(g.origin.x) - du / 2;
  const double x1 = static_cast<double>(g.origin.x) + (g.nu - 0.5) * du;
  const double y0 = static_cast<double>(g.origin.y) - dv / 2;
  const double y1 = static_cast<double>(g.origin.y) + (g.nv - 0.5) * dv;

  // The plot inside the axes, at one scale both ways.
  const QRectF frame = area.adjusted(font * 5, font * 2.2, -font, -font * 3.6);
  const double scale = std::min(frame.width() / (x1 - x0), frame.height() / (y1 - y0));
  const double w = (x1 - x0) * scale;
  const double h = (y1 - y0) * scale;
  const QRectF plot(frame.left() + (frame.width() - w) / 2, frame.top() + (frame.height() - h) / 2,
                    w, h);
  auto at = [&](double x, double y) {
    return QPointF(plot.left() + (x - x0) * scale, plot.bottom() - (y - y0) * scale);
  };

  painter.save();
  QFont f = painter.font();
  f.setPixelSize(static_cast<int>(std::lround(font * 1.1)));
  f.setBold(true);
  painter.setFont(f);
  painter.setPen(Qt::black);
  painter.drawText(QRectF(area.left(), area.top(), area.width(), font * 2),
                   Qt::AlignHCenter | Qt::AlignVCenter, Caption(panel, feet));
  f.setBold(false);
  f.setPixelSize(static_cast<int>(std::lround(font)));
  painter.setFont(f);

  // The colour map: one pixel a grid point, north (or up) at the top.
  QImage image(g.nu, g.nv, QImage::Format_RGB32);
  for (int j = 0; j < g.nv; ++j) {
    for (int i = 0; i < g.nu; ++i) {
      image.setPixelColor(i, g.nv - 1 - j, ColourAt(ScaleOf(g.Value(i, j), map)));
    }
  }
  painter.drawImage(plot, image);

  painter.setClipRect(plot);
  if (panel.groundLine && y0 < 0) {
    painter.fillRect(QRectF(at(x0, 0), at(x1, y0)).normalized(), kGround);
  }
  // The antenna: a pale edge under a dark line, to show over any colour.
  for (const auto& [pen, width] : {std::pair{QColor(255, 255, 255), 5.0}, std::pair{kWire, 2.4}}) {
    painter.setPen(QPen(pen, width, Qt::SolidLine, Qt::RoundCap));
    for (const nf::ContourSegment& s : panel.wires) {
      painter.drawLine(at(static_cast<double>(s.from.x), static_cast<double>(s.from.y)),
                       at(static_cast<double>(s.to.x), static_cast<double>(s.to.y)));
    }
  }
  painter.setPen(QPen(kContour, 2.0));
  for (const nf::ContourSegment& s : panel.contour) {
    painter.drawLine(at(static_cast<double>(s.from.x), static_cast<double>(s.from.y)),
                     at(static_cast<double>(s.to.x), static_cast<double>(s.to.y)));
  }
  painter.setClipping(false);
  painter.setPen(QPen(Qt::black, 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);

  // Ticks and numbers in the unit shown.
  const double unit = feet ? kMetresPerFoot : 1.0;
  const QFontMetricsF m(painter.font());
  const double xs = TickStep((x1 - x0) / unit, std::max(3, static_cast<int>(w / (font * 6))));
  for (double v = std::ceil(x0 / unit / xs) * xs; v <= x1 / unit + 1e-9; v += xs) {
    const QPointF p = at(v * unit, y0);
    painter.drawLine(p, p + QPointF(0, font * 0.4));
    const QString text = QString::number(std::abs(v) < 1e-9 ? 0.0 : v, 'g', 6);
    painter.drawText(
        QPointF(p.x() - m.horizontalAdvance(text) / 2, p.y() + font * 0.5 + m.ascent()), text);
  }
  const double ys = TickStep((y1 - y0) / unit, std::max(3, static_cast<int>(h / (font * 3))));
  for (double v = std::ceil(y0 / unit / ys) * ys; v <= y1 / unit + 1e-9; v += ys) {
    const QPointF p = at(x0, v * unit);
    painter.drawLine(p, p - QPointF(font * 0.4, 0));
    const QString text = QString::number(std::abs(v) < 1e-9 ? 0.0 : v, 'g', 6);
    painter.drawText(
        QPointF(p.x() - font * 0.6 - m.horizontalAdvance(text), p.y() + m.ascent() / 2.5), text);
  }
  const QString below = AxisCaption(panel.kind, true, feet, m, plot.width());
  painter.drawText(QPointF(plot.center().x() - m.horizontalAdvance(below) / 2,
                           plot.bottom() + font * 1.3 + m.height()),
                   below);
  painter.save();
  const QString left = AxisCaption(panel.kind, false, feet, m, plot.height());
  painter.translate(plot.left() - font * 3.6, plot.center().y() + m.horizontalAdvance(left) / 2);
  painter.rotate(-90);
  painter.drawText(QPointF(0, 0), left);
  painter.restore();
  painter.restore();
}

void PaintScale(QPainter& painter, const QRectF& area, const nf::NearFieldMap& map, qreal font) {
  const QRectF bar(area.left() + area.width() * 0.2, area.top() + font * 0.4, area.width() * 0.6,
                   font * 1.2);
  QLinearGradient gradient(bar.topLeft(), bar.topRight());
  for (const Stop& s : kScale) gradient.setColorAt(s.at, s.colour);
  painter.save();
  painter.fillRect(bar, gradient);
  painter.setPen(QPen(Qt::black, 1.0));
  painter.drawRect(bar);
  QFont f = painter.font();
  f.setPixelSize(static_cast<int>(std::lround(font)));
  painter.setFont(f);
  const QFontMetricsF m(f);
  for (double e = map.lowest; e <= map.highest * 1.0001; e *= 10) {
    const double x = bar.left() + ScaleOf(e, map) * bar.width();
    painter.drawLine(QPointF(x, bar.bottom()), QPointF(x, bar.bottom() + font * 0.4));
    const QString text = e == 1 ? QObject::tr("1: the limit") : QString::number(e, 'g', 3);
    painter.drawText(
        QPointF(x - m.horizontalAdvance(text) / 2, bar.bottom() + font * 0.5 + m.ascent()), text);
  }
  const QString caption = QObject::tr(
      "Exposure: the larger of (E/E_L)\u00b2 and (H/H_L)\u00b2, as a multiple "
      "of the limit (logarithmic); the black line is the limit");
  painter.drawText(QRectF(area.left(), bar.bottom() + font * 1.6, area.width(), m.height() * 1.2),
                   Qt::AlignHCenter, caption);
  painter.restore();
}

}  // namespace

QString AxisCaption(nf::PanelKind kind, bool horizontal, bool feet, const QFontMetricsF& metrics,
                    qreal room) {
  QString whole = AxisWords(kind, horizontal, feet, false);
  if (metrics.horizontalAdvance(whole) <= room) return whole;
  return metrics.elidedText(AxisWords(kind, horizontal, feet, true), Qt::ElideMiddle, room);
}

void PaintNearFieldMap(QPainter& painter, const QRectF& target, const nf::NearFieldMap& map,
                       const NearFieldMapStyle& style) {
  const qreal font = std::clamp(std::min(target.width(), target.height()) / 60.0, 9.0, 16.0);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillRect(target, Qt::white);
  QFont f = painter.font();
  f.setPixelSize(static_cast<int>(std::lround(font * 1.25)));
  f.setBold(true);
  painter.setFont(f);
  painter.setPen(Qt::black);
  const QRectF titleBox(target.left(), target.top(), target.width(), font * 2.6);
  painter.drawText(titleBox, Qt::AlignHCenter | Qt::AlignVCenter, style.title);
  f.setBold(false);
  painter.setFont(f);

  const qreal scaleHeight = font * 4.8;
  const QRectF body(target.left(), titleBox.bottom(), target.width(),
                    target.height() - titleBox.height() - scaleHeight);
  // The plan on the left, the side views stacked on the right.
  if (!map.panels.empty()) {
    PaintPanel(painter, QRectF(body.left(), body.top(), body.width() * 0.46, body.height()),
               map.panels[0], map, style.feet, font);
  }
  const QRectF right(body.left() + body.width() * 0.46, body.top(), body.width() * 0.54,
                     body.height());
  for (size_t k = 1; k < map.panels.size(); ++k) {
    const qreal h = right.height() / static_cast<qreal>(map.panels.size() - 1);
    PaintPanel(painter,
               QRectF(right.left(), right.top() + h * static_cast<qreal>(k - 1), right.width(), h),
               map.panels[k], map, style.feet, font);
  }
  PaintScale(painter, QRectF(target.left(), body.bottom(), target.width(), scaleHeight), map, font);
  painter.restore();
}

std::string SaveNearFieldMapFile(const nf::NearFieldMap& map, const QString& path,
                                 const NearFieldMapStyle& style) {
  return SavePictureFile(path, kNearFieldMapFileSize, "near-field map",
                         QObject::tr("Korrin: near field"), style.title,
                         [&](QPainter& painter, const QRectF& whole) {
                           PaintNearFieldMap(painter, whole, map, style);
                         });
}

}  // namespace korrin
