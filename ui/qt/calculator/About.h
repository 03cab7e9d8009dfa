// Help > About: the program's name and version, what it is for, where its
// manual and README are installed, and whom to write to.  The version
// panel of the calculator keeps its own message; this is the program's.
#pragma once

#include <QString>

class QWidget;

namespace korrin {

// The About box's text (rich text).
QString AboutText();

// Shows the About box over `parent` until it is closed (OK or Escape).
void ShowAbout(QWidget* parent);

}  // namespace korrin
