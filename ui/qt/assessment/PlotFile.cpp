#include "ui/qt/assessment/PlotFile.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgGenerator>

#include "assess/Assessment.h"
#include "ui/qt/assessment/AssessmentPlot.h"
#include "ui/qt/assessment/AssessmentText.h"

namespace korrin {

namespace {

constexpr int kDotsPerMetreAt96Dpi = 3780;  // 96 / 0.0254
constexpr int kDpi = 96;

std::string SavePng(const StationState& station, const assess::Assessment& a, const QString& path) {
  QImage image(kPlotFileSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  image.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
  image.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    RenderAssessmentPlot(painter, QRectF(QPointF(0, 0), QSizeF(kPlotFileSize)), station, a);
  }
  QImageWriter writer(path, "png");
  if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
    return "cannot write " + path.toStdString() + " (" + writer.errorString().toStdString() + ")";
  }
  return {};
}

std::string SaveSvg(const StationState& station, const assess::Assessment& a, const QString& path) {
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(kPlotFileSize);
  svg.setViewBox(QRect(QPoint(0, 0), kPlotFileSize));
  svg.setResolution(kDpi);
  svg.setTitle("Korrin: power density along the beam");
  svg.setDescription(PlotTitle(station));
  QPainter painter;
  if (!painter.begin(&svg)) return "cannot write " + path.toStdString();
  painter.setRenderHint(QPainter::Antialiasing);
  RenderAssessmentPlot(painter, QRectF(QPointF(0, 0), QSizeF(kPlotFileSize)), station, a);
  if (!painter.end()) return "cannot finish " + path.toStdString();
  return {};
}

}  // namespace

std::string SavePlotFile(const StationState& station, const std::string& path) {
  const QString name = QFile::decodeName(path.c_str());
  const assess::Assessment a = assess::Assess(station);
  if (name.endsWith(".svg", Qt::CaseInsensitive)) return SaveSvg(station, a, name);
  if (name.endsWith(".png", Qt::CaseInsensitive)) return SavePng(station, a, name);
  return "cannot write " + path + ": the plot is written as .png or .svg";
}

}  // namespace korrin
