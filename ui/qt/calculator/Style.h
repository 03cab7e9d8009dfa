// Colours and fonts of the window.  The window is laid out in pixels for a
// 96 dpi screen; the fonts are given in (logical) pixels so that they keep
// their size relative to the controls and scale with the desktop's scale
// factor together with the rest of the window.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

#include "ui/ControlBoard.h"

namespace korrin {

// The screen colour of a board colour.
QColor ToQColor(Colour c);

// The window's palette: light button-face background, black text, pale
// yellow hint background, whatever the desktop's theme.
QPalette WindowPalette();

enum class FontRole {
  Normal,  // captions and values
  Bold,    // group titles, the tower clearance
  Small,   // the small grey caption type
  Limit,   // the mW/cm² line under the exposure limit
  Memo,    // the disclaimer: bold, 16 pixels
};

QFont WindowFont(FontRole role = FontRole::Normal);

}  // namespace korrin
