#include "ui/qt/moon/MoonPlotFile.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

#include "ui/qt/assessment/PlotFile.h"

namespace korrin {

namespace {

constexpr int kDotsPerMetreAt96Dpi = 3780;  // 96 / 0.0254
constexpr int kDpi = 96;

}  // namespace

std::string SaveMoonPlotFile(const moon::Evaluation& e, const MoonPlotNames& names,
                             const std::string& path) {
  const QString name = QFile::decodeName(path.c_str());
  const QRectF area(QPointF(0, 0), QSizeF(kPlotFileSize));
  if (name.endsWith(".svg", Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setFileName(name);
    svg.setSize(kPlotFileSize);
    svg.setViewBox(QRect(QPoint(0, 0), kPlotFileSize));
    svg.setResolution(kDpi);
    svg.setTitle("Korrin: the moon by date");
    QPainter painter;
    if (!painter.begin(&svg)) return "cannot write " + path;
    painter.setRenderHint(QPainter::Antialiasing);
    RenderMoonPlot(painter, area, e, names);
    if (!painter.end()) return "cannot finish " + path;
    return {};
  }
  if (!name.endsWith(".png", Qt::CaseInsensitive)) {
    return "cannot write " + path + ": the plot is written as .png or .svg";
  }
  QImage image(kPlotFileSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  image.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
  image.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    RenderMoonPlot(painter, area, e, names);
  }
  QImageWriter writer(name, "png");
  if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
    return "cannot write " + path + " (" + writer.errorString().toStdString() + ")";
  }
  return {};
}

}  // namespace korrin
