// The program's icon and the small glyphs of the window's buttons.
#pragma once

#include <QIcon>
#include <string_view>

namespace korrin {

// The program's icon: a dish on its mount sending a beam.  Taken from the
// resource ":/korrin/korrin.svg" where the executable carries it and Qt can
// read SVG; otherwise the same picture is painted.
QIcon ProgramIcon();

// The glyph of a button of the window, a null icon for a button without one.
QIcon ButtonGlyph(std::string_view control);

}  // namespace korrin
