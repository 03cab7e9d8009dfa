// A window that works beside the calculator (the assessment, the moon):
// a tool window of the main window, so that it stays above it while the
// user clicks in the calculator and goes with it; placed on its first
// showing beside the calculator's panel, on the side where the screen has
// room; and shown again where the user left it, its place and size kept in
// the user's settings under a key of its own.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace korrin {

// Pixels between the calculator's panel and a window placed beside it.
inline constexpr int kGapBesidePanel = 8;

// Where a window goes beside `panel` (global coordinates) on a screen whose
// free area is `room`.  `frame` is the window's outer size as it would like
// to be (decorations included), `smallest` the least it can be.  The side
// with room for `frame` wins, the right before the left; where neither has
// it, the side with more room, and the window narrows to it, but never
// below `smallest`.  The top is the panel's, moved up as far as the window
// must to end on the screen; a window taller than the screen gets its
// height.  The result always lies on the screen where `smallest` fits it.
QRect PlaceBeside(const QRect& panel, const QSize& frame, const QSize& smallest, const QRect& room);

// Makes `window` a tool window of `main` (kept above it and hidden, shown
// and closed with it) and places it on its first showing: where it stood
// the last time (the settings' "`key`/geometry", checked to lie on a screen
// now), or else beside `panel`.  Its place and size are kept whenever it is
// hidden and when the program ends.  Escape typed in it closes it, and not
// the main window (whose shortcuts a tool window shares).  `window` is reparented to `main`; call
// this once, in its constructor.
void MakeToolWindow(QWidget& window, QWidget& main, QWidget& panel, const QString& key);

// The settings key under which a window made by MakeToolWindow with `key`
// keeps its geometry.
QString ToolWindowGeometryKey(const QString& key);

}  // namespace korrin
