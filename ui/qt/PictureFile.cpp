#include "ui/qt/PictureFile.h"

#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRectF>
#include <QSaveFile>
#include <QSvgGenerator>

namespace korrin {

std::string SavePictureFile(const QString& path, QSize size, const std::string& what,
                            const QString& title, const QString& description,
                            const PaintPicture& paint) {
  const std::string name = path.toStdString();
  const bool svg = path.endsWith(".svg", Qt::CaseInsensitive);
  if (!svg && !path.endsWith(".png", Qt::CaseInsensitive)) {
    return "cannot write " + name + ": the " + what + " is written as .svg or .png";
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    return "cannot write " + name + " (" + file.errorString().toStdString() + ")";
  }
  const QRectF whole(QPointF(0, 0), QSizeF(size));
  if (svg) {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    generator.setTitle(title);
    generator.setDescription(description);
    QPainter painter;
    if (!painter.begin(&generator)) return "cannot write " + name;
    paint(painter, whole);
    if (!painter.end()) return "cannot finish " + name;
  } else {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    constexpr int kDotsPerMetreAt96Dpi = 3780;
    image.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
    image.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
    {
      QPainter painter(&image);
      paint(painter, whole);
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
      file.cancelWriting();
      return "cannot write " + name + " (" + writer.errorString().toStdString() + ")";
    }
  }
  if (!file.commit()) {
    return "cannot write " + name + " (" + file.errorString().toStdString() + ")";
  }
  return {};
}

}  // namespace korrin
