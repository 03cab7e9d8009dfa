#include "app/report/Pictures.h"

#ifdef KORRIN_REPORT_PICTURES
#include <QApplication>
#include <cstdlib>

#include "ui/qt/assessment/PlotFile.h"
#include "ui/qt/calculator/Offscreen.h"
#include "ui/qt/moon/MoonPlotFile.h"
#endif

namespace korrin::report {

#ifdef KORRIN_REPORT_PICTURES

bool PicturesAvailable() {
  return true;
}

std::string SavePictures(TForm1& form, const std::string& pngPath, const std::string& pdfPath,
                         const std::string& plotPath, const MoonSection* moon,
                         const std::string& moonPlotPath) {
  const bool moonPlot = moon != nullptr && !moonPlotPath.empty();
  if (pngPath.empty() && pdfPath.empty() && plotPath.empty() && !moonPlot) return "";
  // No display is needed: draw on the offscreen platform unless told otherwise.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "korrin-report";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  std::string error;
  if (!pngPath.empty()) error = SaveClientAreaPng(form, pngPath);
  if (error.empty() && !pdfPath.empty()) error = PrintClientAreaPdf(form, pdfPath);
  if (error.empty() && !plotPath.empty()) error = SavePlotFile(form.State(), plotPath);
  if (error.empty() && moonPlot) {
    const MoonPlotNames names{QString::fromStdString(moon->locator),
                              QString::fromStdString(moon->dxLocator)};
    error = SaveMoonPlotFile(moon->evaluation, names, moonPlotPath);
  }
  return error;
}

#else

bool PicturesAvailable() {
  return false;
}

std::string SavePictures(TForm1&, const std::string& pngPath, const std::string& pdfPath,
                         const std::string& plotPath, const MoonSection*,
                         const std::string& moonPlotPath) {
  if (pngPath.empty() && pdfPath.empty() && plotPath.empty() && moonPlotPath.empty()) return "";
  return "this korrin-report was built without the Qt window and cannot draw it";
}

#endif

}  // namespace korrin::report
