#include "ui/qt/assessment/PlotFile.h"

#include <QFile>
#include <QPainter>

#include "assess/Assessment.h"
#include "ui/qt/PictureFile.h"
#include "ui/qt/assessment/AssessmentPlot.h"
#include "ui/qt/assessment/AssessmentText.h"

namespace korrin {

std::string SavePlotFile(const StationState& station, const std::string& path) {
  const QString name = QFile::decodeName(path.c_str());
  if (!name.endsWith(".svg", Qt::CaseInsensitive) && !name.endsWith(".png", Qt::CaseInsensitive)) {
    return "cannot write " + path + ": the plot is written as .png or .svg";
  }
  const assess::Assessment a = assess::Assess(station);
  return SavePictureFile(name, kPlotFileSize, "plot", "Korrin: power density along the beam",
                         PlotTitle(station), [&](QPainter& painter, const QRectF& area) {
                           painter.setRenderHint(QPainter::Antialiasing);
                           painter.setRenderHint(QPainter::TextAntialiasing);
                           RenderAssessmentPlot(painter, area, station, a);
                         });
}

}  // namespace korrin
