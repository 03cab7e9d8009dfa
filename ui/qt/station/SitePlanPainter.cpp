#include "ui/qt/station/SitePlanPainter.h"

#include "ui/qt/PictureFile.h"

#include <QFontMetricsF>
#include <QObject>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numeric>
#include <vector>

namespace korrin {

namespace su = stationui;

namespace {

// Colours: within the limit, over it, no figure; keep-out zones.
const QColor kWithin(0x2e, 0x7d, 0x32);
const QColor kOver(0xc6, 0x28, 0x28);
const QColor kNoFigure(0x61, 0x61, 0x61);
const QColor kZoneLine(0xe6, 0x51, 0x00);
const QColor kZoneFill(0xff, 0xb3, 0x00, 70);
const QColor kHighlight(0x15, 0x65, 0xc0);
const QColor kHighlightFill(0x15, 0x65, 0xc0, 60);
const QColor kAntenna(0x21, 0x21, 0x21);

constexpr qreal kMarginShare = 0.05;  // of the plan area's shorter side
// The legend's lines: two columns of its entries, a fourth line for the
// installations without a zone.
int LegendLines(const su::SitePlanContent& c) {
  return c.withoutZone.empty() ? 3 : 4;
}

qreal FontPixels(const QRectF& target) {
  return std::clamp(std::min(target.width(), target.height()) / 48.0, 9.0, 16.0);
}

QColor ColourOf(std::optional<su::Real> sum) {
  if (!sum) return kNoFigure;
  return su::StandingOf(*sum) == su::SumStanding::Within ? kWithin : kOver;
}

QString Number(su::Real value, int decimals) {
  return QString::number(static_cast<double>(value), 'f', decimals);
}

void Label(QPainter& p, const QPointF& at, const QString& text, const QColor& colour) {
  // A pale ground keeps the text legible over lines and zones.
  const QFontMetricsF m(p.font());
  const QRectF ground(at.x() - 1, at.y() - m.ascent(), m.horizontalAdvance(text) + 2, m.height());
  p.fillRect(ground, QColor(255, 255, 255, 190));
  p.save();
  p.setPen(colour);
  p.drawText(at, text);
  p.restore();
}

// Puts labels beside their points where they stay inside the plan and a
// blank's width clear of the labels and markers put before.
class Labels {
 public:
  Labels(QPainter& p, const QRectF& area)
      : p_(p),
        metrics_(p.font()),
        placer_(Box(area), static_cast<su::Real>(metrics_.horizontalAdvance(' '))) {}

  // `gap`: the distance from the point to the text.
  void Put(const QPointF& point, qreal gap, const QString& text, const QColor& colour) {
    const su::LabelBox box =
        placer_.Put(point.x(), point.y(), gap, metrics_.horizontalAdvance(text), metrics_.height());
    Label(p_,
          QPointF(static_cast<qreal>(box.left), static_cast<qreal>(box.top) + metrics_.ascent()),
          text, colour);
  }

  // Space that labels keep clear of (markers).
  void Reserve(const QRectF& box) { placer_.Reserve(Box(box)); }

 private:
  static su::LabelBox Box(const QRectF& r) { return {r.left(), r.top(), r.width(), r.height()}; }

  QPainter& p_;
  QFontMetricsF metrics_;
  su::LabelPlacer placer_;
};

void NorthArrow(QPainter& p, const QRectF& area, qreal font) {
  const qreal h = font * 3;
  const QPointF tip(area.right() - font * 2, area.top() + font * 1.5);
  QPolygonF arrow;
  arrow << tip << QPointF(tip.x() + h / 4, tip.y() + h) << QPointF(tip.x(), tip.y() + h * 0.75)
        << QPointF(tip.x() - h / 4, tip.y() + h);
  p.save();
  p.setPen(QPen(kAntenna, 1));
  p.setBrush(kAntenna);
  p.drawPolygon(arrow);
  p.restore();
  const QFontMetricsF m(p.font());
  Label(p, QPointF(tip.x() - m.horizontalAdvance("N") / 2, tip.y() + h + m.ascent() + 2), "N",
        kAntenna);
}

void ScaleBar(QPainter& p, const QRectF& area, const su::PlanView& v, qreal font) {
  const QPointF start(area.left() + font, area.bottom() - font);
  const qreal length = static_cast<qreal>(v.barPixels);
  p.save();
  p.setPen(QPen(kAntenna, 2, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(start, start + QPointF(length, 0));
  for (int i = 0; i <= 2; ++i) {
    const qreal x = start.x() + length * i / 2;
    const qreal tick = i == 1 ? font / 3 : font / 2;
    p.drawLine(QPointF(x, start.y()), QPointF(x, start.y() - tick));
  }
  p.restore();
  const QString text =
      QString::number(static_cast<double>(v.barLength)) + (v.barFeet ? " ft" : " m");
  Label(p, QPointF(start.x(), start.y() - font * 0.8), text, kAntenna);
}

void Legend(QPainter& p, const QRectF& strip, const su::SitePlanContent& c, qreal font) {
  using Draw = std::function<void(const QRectF&)>;
  const QString height = QString::number(static_cast<double>(c.circleHeightM), 'g', 3);
  // A square swatch, filled or only outlined.
  const auto square = [&p](const QPen& pen, const QBrush& brush) -> Draw {
    return [&p, pen, brush](const QRectF& b) {
      p.setPen(pen);
      p.setBrush(brush);
      p.drawRect(b.adjusted(2, 2, -2, -2));
    };
  };
  // Column by column, LegendLines entries each.
  std::vector<std::pair<QString, Draw>> entries = {
      {QObject::tr("Keep-out zone at %1 m height (general public)").arg(height),
       [&](const QRectF& b) {
         p.setPen(QPen(kZoneLine, 1.5));
         p.setBrush(kZoneFill);
         p.drawEllipse(b);
       }},
      {QObject::tr("Antenna"),
       [&](const QRectF& b) {
         p.setPen(Qt::NoPen);
         p.setBrush(kAntenna);
         p.drawEllipse(b.center(), b.width() / 4, b.width() / 4);
       }},
      {QObject::tr("Property line; its largest sum marked"),
       [&](const QRectF& b) {
         p.setPen(QPen(kWithin, 2, Qt::DashLine));
         p.drawLine(QPointF(b.left(), b.center().y()), QPointF(b.right(), b.center().y()));
       }},
      {QObject::tr("Sum of fractions at most 1: within the limits"), square(Qt::NoPen, kWithin)},
      {QObject::tr("Sum above 1: over the limits"), square(Qt::NoPen, kOver)},
      {QObject::tr("Hollow place: the household (controlled)"),
       square(QPen(kAntenna, 1.5), Qt::NoBrush)},
  };
  // An installation whose zone does not reach the height has no circle:
  // the legend names it, so that it is not taken for one left out.
  if (!c.withoutZone.empty()) {
    QStringList names;
    for (const std::string& id : c.withoutZone) names << QString::fromStdString(id);
    entries.emplace_back(QObject::tr("No zone at %1 m: %2").arg(height, names.join(", ")),
                         [&](const QRectF& b) {
                           p.setPen(QPen(kZoneLine, 1.5, Qt::DotLine));
                           p.setBrush(Qt::NoBrush);
                           p.drawEllipse(b.adjusted(1, 1, -1, -1));
                         });
  }
  const int lines = LegendLines(c);
  const qreal swatch = font;
  const qreal lineHeight = strip.height() / lines;
  const QFontMetricsF metrics(p.font());
  // Each column as wide as its longest text needs; when the two do not fit
  // side by side, both shrink in proportion and only then are texts cut.
  const auto perColumn = static_cast<std::size_t>(lines);
  const int columns = static_cast<int>((entries.size() + perColumn - 1) / perColumn);
  std::vector<qreal> need(static_cast<std::size_t>(columns), 0);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    qreal& n = need[i / perColumn];
    n = std::max(n, swatch + font + metrics.horizontalAdvance(entries[i].first));
  }
  const qreal total = std::accumulate(need.begin(), need.end(), 0.0);
  const qreal spare = strip.width() - total;
  std::vector<qreal> width(need.size());
  for (std::size_t k = 0; k < need.size(); ++k) {
    width[k] = spare >= 0 ? need[k] + spare / columns : need[k] * strip.width() / total;
  }
  qreal left = strip.left();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t column = i / perColumn;
    const auto row = static_cast<qreal>(i % perColumn);
    if (i > 0 && i % perColumn == 0) left += width[column - 1];
    const QRectF box(left, strip.top() + row * lineHeight + (lineHeight - swatch) / 2, swatch,
                     swatch);
    entries[i].second(box);
    p.save();
    p.setPen(kAntenna);
    const QRectF room(box.right() + font / 2, strip.top() + row * lineHeight,
                      width[column] - swatch - font, lineHeight);
    p.drawText(room, Qt::AlignVCenter | Qt::AlignLeft,
               metrics.elidedText(entries[i].first, Qt::ElideRight, room.width()));
    p.restore();
  }
}

}  // namespace

QString SumText(su::Real sum) {
  QString text = Number(sum, 3);
  if (sum > 0) {
    const double margin = 10 * std::log10(1 / static_cast<double>(sum));
    text +=
        QStringLiteral(" (%1 dB)").arg(QString::number(margin, 'f', 2).replace('-', QChar(0x2212)));
  }
  return text;
}

QRectF SitePlanArea(const QRectF& target, const su::SitePlanContent& content) {
  const qreal font = FontPixels(target);
  const qreal legend = font * 1.6 * LegendLines(content);
  return QRectF(target.left(), target.top(), target.width(), target.height() - legend);
}

su::PlanView SitePlanViewFor(const su::SitePlanContent& content, const QRectF& target, bool feet) {
  const QRectF area = SitePlanArea(target, content);
  const qreal margin = std::min(area.width(), area.height()) * kMarginShare + FontPixels(target);
  return su::FitPlan(content, area.left(), area.top(), area.width(), area.height(), margin, feet);
}

void PaintSitePlan(QPainter& p, const QRectF& target, const su::SitePlanContent& c,
                   const SitePlanStyle& style) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QFont font = p.font();
  font.setPixelSize(static_cast<int>(FontPixels(target)));
  // No ligatures: the words stay searchable in the SVG and PDF it is drawn into.
  font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::PreferNoShaping));
  p.setFont(font);
  const qreal fontPx = FontPixels(target);
  p.fillRect(target, Qt::white);
  const QRectF area = SitePlanArea(target, c);
  const su::PlanView v = SitePlanViewFor(c, target, style.feet);
  auto at = [&v](const su::PlanPoint& pt) {
    return QPointF(static_cast<qreal>(v.PixelX(pt.x)), static_cast<qreal>(v.PixelY(pt.y)));
  };
  p.setClipRect(area);

  // The keep-out zones first, under everything else.
  auto strongCircle = [&style](const su::PlanCircle& circle) {
    return QString::fromStdString(circle.installation) == style.highlightInstallation;
  };
  for (const su::PlanCircle& circle : c.circles) {
    const bool strong = strongCircle(circle);
    const qreal r = static_cast<qreal>(v.Pixels(circle.radiusM));
    p.setPen(QPen(strong ? kHighlight : kZoneLine, strong ? 3 : 1.5));
    p.setBrush(strong ? kHighlightFill : kZoneFill);
    p.drawEllipse(at(circle.centre), r, r);
  }

  // The property line, coloured by its largest sum.
  const qreal d = fontPx * 0.6;
  if (c.outline.size() >= 2) {
    QPolygonF line;
    for (const su::PlanPoint& pt : c.outline) line << at(pt);
    p.setPen(QPen(ColourOf(c.lineSum), 2.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(line);
    if (c.lineSum && c.lineSumAt) {
      const QPointF m = at(*c.lineSumAt);
      QPolygonF diamond;
      diamond << m + QPointF(0, -d) << m + QPointF(d, 0) << m + QPointF(0, d) << m + QPointF(-d, 0);
      p.setPen(QPen(Qt::white, 1));
      p.setBrush(ColourOf(c.lineSum));
      p.drawPolygon(diamond);
    }
  }

  // The antennas, then the places coloured by their largest sum.
  Labels labels(p, area.adjusted(2, 2, -2, -2));
  const qreal dot = fontPx / 3;
  for (const su::PlanAntenna& a : c.antennas) {
    const QPointF centre = at(a.at);
    p.setPen(Qt::NoPen);
    p.setBrush(kAntenna);
    p.drawEllipse(centre, dot, dot);
    labels.Reserve(QRectF(centre - QPointF(dot, dot), QSizeF(2 * dot, 2 * dot)));
  }
  const qreal s = fontPx * 0.55;
  for (const su::PlanPlace& place : c.places) {
    const QPointF centre = at(place.at);
    const QColor colour = ColourOf(place.largestSum);
    if (QString::fromStdString(place.name) == style.highlightPlace) {
      p.setPen(QPen(kHighlight, 2.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(centre, s * 2.2, s * 2.2);
    }
    p.setPen(QPen(colour, 2));
    p.setBrush(place.controlled ? QBrush(Qt::white) : QBrush(colour));
    const QRectF marker(centre - QPointF(s, s), QSizeF(2 * s, 2 * s));
    p.drawRect(marker);
    labels.Reserve(marker);
  }

  // The labels, the most important first: each keeps clear of the others.
  for (const su::PlanPlace& place : c.places) {
    const bool strong = QString::fromStdString(place.name) == style.highlightPlace;
    QString text = QString::fromStdString(place.name);
    if (place.largestSum) text += ": " + SumText(*place.largestSum);
    labels.Put(at(place.at), s * 1.8, text, strong ? kHighlight : ColourOf(place.largestSum));
  }
  if (c.outline.size() >= 2 && c.lineSum && c.lineSumAt) {
    labels.Put(at(*c.lineSumAt), d * 1.5, QObject::tr("line: %1").arg(SumText(*c.lineSum)),
               ColourOf(c.lineSum));
  }
  for (const su::PlanAntenna& a : c.antennas) {
    labels.Put(at(a.at), dot * 2, QString::fromStdString(a.id), kAntenna);
  }
  for (const su::PlanCircle& circle : c.circles) {
    const qreal r = static_cast<qreal>(v.Pixels(circle.radiusM));
    // At the circle's top, inside it.
    const QPointF top = at(circle.centre) - QPointF(0, r - fontPx * 0.9);
    labels.Put(top, 0, QString::fromStdString(circle.installation),
               strongCircle(circle) ? kHighlight : kZoneLine);
  }

  NorthArrow(p, area, fontPx);
  ScaleBar(p, area, v, fontPx);
  p.setClipping(false);
  // A frame round the plan, and the legend under it.
  p.setPen(QPen(QColor(0xbd, 0xbd, 0xbd), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
  Legend(p,
         QRectF(target.left() + fontPx / 2, area.bottom() + fontPx * 0.2, target.width() - fontPx,
                target.bottom() - area.bottom() - fontPx * 0.2),
         c, fontPx);
  p.restore();
}

std::string SaveSitePlanFile(const su::SitePlanContent& content, const QString& path,
                             const SitePlanStyle& style, const QString& title) {
  return SavePictureFile(path, kSitePlanFileSize, "site plan", QObject::tr("Korrin: site plan"),
                         title, [&](QPainter& painter, const QRectF& whole) {
                           PaintSitePlan(painter, whole, content, style);
                         });
}

}  // namespace korrin
