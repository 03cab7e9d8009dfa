#include "ui/qt/Icons.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace korrin {

namespace {

// The icon of app/korrin.svg, painted on a 64 x 64 grid.
QPixmap PaintedIcon(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x3d, 0x7a));
  p.drawRoundedRect(QRectF(0, 0, 64, 64), 10, 10);

  const QColor beam(0xff, 0xd2, 0x3f);
  QPainterPath cone;
  cone.moveTo(30, 30);
  cone.lineTo(62, 6);
  cone.lineTo(62, 30);
  cone.closeSubpath();
  QColor fill = beam;
  fill.setAlphaF(0.55f);
  p.setBrush(fill);
  p.drawPath(cone);
  p.setPen(QPen(beam, 2));
  p.drawLine(QPointF(30, 30), QPointF(62, 6));
  p.drawLine(QPointF(30, 30), QPointF(62, 30));

  const QColor light(0xe8, 0xee, 0xf7);
  p.setPen(QPen(light, 1.5));
  p.setBrush(QColor(0xb8, 0xc4, 0xd6));
  const QPointF mount[] = {{22, 40}, {14, 58}, {34, 58}};
  p.drawPolygon(mount, 3);

  QPainterPath dish;
  dish.moveTo(10, 12);
  dish.quadTo(14, 44, 44, 46);
  dish.closeSubpath();
  QPen rim(Qt::white, 2);
  rim.setJoinStyle(Qt::RoundJoin);
  p.setPen(rim);
  p.setBrush(light);
  p.drawPath(dish);

  p.setPen(QPen(Qt::white, 2));
  p.drawLine(QPointF(27, 29), QPointF(36, 20));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0x5a, 0x36));
  p.drawEllipse(QPointF(37, 19), 3, 3);
  return pm;
}

// A small printer for the "Print" button.
QPixmap PrinterGlyph(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));  // paper in
  p.setBrush(QColor(0xa0, 0xa8, 0xb4));
  p.drawRect(QRectF(1.5, 6.5, 13, 6));  // body
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));  // paper out
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 160, 0));
  p.drawRect(QRectF(12, 8, 1.5, 1.5));  // lamp
  return pm;
}

}  // namespace

QIcon ProgramIcon() {
  static const QString resource = QStringLiteral(":/korrin/korrin.svg");
  if (QFile::exists(resource) && QImageReader::supportedImageFormats().contains("svg")) {
    QIcon icon(resource);
    if (!icon.isNull()) return icon;
  }
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(PaintedIcon(size));
  return icon;
}

QIcon ButtonGlyph(std::string_view control) {
  QStyle* style = QApplication::style();
  if (control == "BitBtn2") {
    QIcon icon;
    for (int size : {16, 32}) icon.addPixmap(PrinterGlyph(size));
    return icon;
  }
  if (control == "BitBtn3") return style->standardIcon(QStyle::SP_BrowserReload);
  if (control == "BitBtn1") return style->standardIcon(QStyle::SP_DialogCloseButton);
  if (control == "BitBtn9") return style->standardIcon(QStyle::SP_DialogCancelButton);
  if (control == "Save_Data") return style->standardIcon(QStyle::SP_DialogSaveButton);
  if (control == "Get_File") return style->standardIcon(QStyle::SP_DialogOpenButton);
  if (control == "DefaultData") return style->standardIcon(QStyle::SP_DialogResetButton);
  return {};
}

}  // namespace korrin
