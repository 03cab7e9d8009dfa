// The assessment's plot as a file: PNG, or SVG (vectors and text) by the
// file's extension.  A QApplication must exist; no display is needed.
#pragma once

#include <QSize>
#include <string>

#include "core/StationState.h"

namespace korrin {

// The plot's size in the file, in pixels at 96 dpi (the SVG's view box).
inline constexpr QSize kPlotFileSize{1000, 720};

// Assesses `station` (as recalculated by the window logic) with the
// assessment's usual settings and writes its plot to `path`, ending in
// ".png" or ".svg" in any case.  Returns an empty string on success, else
// what went wrong.
std::string SavePlotFile(const StationState& station, const std::string& path);

}  // namespace korrin
