// The window drawn without a screen: a PNG of its client area, the page
// that Print makes, as PDF, and the assessment's plot as PNG or SVG.  Needs
// the Qt window in the build.
#pragma once

#include <string>

#include "app/report/ReportMoon.h"
#include "ui/TForm1.h"

namespace korrin::report {

// True when this build can draw the window.
bool PicturesAvailable();

// Writes the files whose path is not empty (the moon's plot of `moon`);
// returns "" on success or what went wrong.
std::string SavePictures(TForm1& form, const std::string& pngPath, const std::string& pdfPath,
                         const std::string& plotPath = {}, const MoonSection* moon = nullptr,
                         const std::string& moonPlotPath = {});

}  // namespace korrin::report
