#include "ui/qt/PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRectF>
#include <QSvgGenerator>

#include "io/AtomicFile.h"

namespace korrin {

namespace {

constexpr int kDotsPerMetreAt96Dpi = 3780;  // 96 / 0.0254

}  // namespace

std::string WriteWholeFile(const QString& path, const QByteArray& bytes) {
  const std::string name = QFile::encodeName(path).toStdString();
  if (const auto error = WriteFileAtomically(
          name, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
    return "cannot write " + path.toStdString() + " (" + *error + ")";
  }
  return {};
}

QByteArray PngBytes(const QImage& image) {
  QImage copy = image;
  copy.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
  copy.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(copy)) return {};
  return bytes;
}

std::string SavePictureFile(const QString& path, QSize size, const std::string& what,
                            const QString& title, const QString& description,
                            const PaintPicture& paint) {
  const std::string name = path.toStdString();
  const bool svg = path.endsWith(".svg", Qt::CaseInsensitive);
  if (!svg && !path.endsWith(".png", Qt::CaseInsensitive)) {
    return "cannot write " + name + ": the " + what + " is written as .svg or .png";
  }
  const QRectF whole(QPointF(0, 0), QSizeF(size));
  QByteArray bytes;
  if (svg) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
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
    {
      QPainter painter(&image);
      paint(painter, whole);
    }
    bytes = PngBytes(image.convertToFormat(QImage::Format_RGB32));
    if (bytes.isEmpty()) return "cannot write " + name + " (the picture could not be encoded)";
  }
  return WriteWholeFile(path, bytes);
}

}  // namespace korrin
