// The moon's plot as a file: PNG, or SVG (vectors and text) by the file's
// extension.  A QApplication must exist; no display is needed.
#pragma once

#include <string>

#include "moon/Evaluation.h"
#include "ui/qt/moon/MoonPlot.h"

namespace korrin {

// Writes the plot of `e` to `path`, ending in ".png" or ".svg" in any case,
// 1000 × 720 pixels at 96 dpi.  Returns an empty string on success, else
// what went wrong.
std::string SaveMoonPlotFile(const moon::Evaluation& e, const MoonPlotNames& names,
                             const std::string& path);

}  // namespace korrin
