#include "ui/qt/moon/MoonPlotFile.h"

#include <QFile>
#include <QPainter>

#include "ui/qt/PictureFile.h"
#include "ui/qt/assessment/PlotFile.h"

namespace korrin {

std::string SaveMoonPlotFile(const moon::Evaluation& e, const MoonPlotNames& names,
                             const std::string& path) {
  const QString name = QFile::decodeName(path.c_str());
  if (!name.endsWith(".svg", Qt::CaseInsensitive) && !name.endsWith(".png", Qt::CaseInsensitive)) {
    return "cannot write " + path + ": the plot is written as .png or .svg";
  }
  return SavePictureFile(name, kPlotFileSize, "plot", "Korrin: the moon by date", QString(),
                         [&](QPainter& painter, const QRectF& area) {
                           painter.setRenderHint(QPainter::Antialiasing);
                           painter.setRenderHint(QPainter::TextAntialiasing);
                           RenderMoonPlot(painter, area, e, names);
                         });
}

}  // namespace korrin
