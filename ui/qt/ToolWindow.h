// A window that works beside the calculator (the assessment, the moon):
// a tool window of the main window, so that it stays above it while the
// user clicks in the calculator and goes with it; placed on its first
// showing beside the calculator's panel, on the side where the screen has
// room; and shown again where the user left it, its place and size kept in
// the user's settings under a key of its own.
#pragma once

#include <QPoint>
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

// Where a window of its own (a station window) goes on its first showing,
// `calculator` being the calculator's frame (global coordinates) on a
// screen whose free area is `room`.  `frame` is the window's outer size as
// it would like to be, `smallest` the least it can be.  Beside the
// calculator where a side has room for `smallest` (as PlaceBeside places
// it); over the calculator, from its top left corner, where neither has.
// The window is never larger than `room` and always lies within it.
QRect PlaceNearCalculator(const QRect& calculator, const QSize& frame, const QSize& smallest,
                          const QRect& room);

// `at` moved by `by`, as far as it stays within `room`.
QRect MovedWithin(const QRect& at, const QPoint& by, const QRect& room);

// Makes `window` a tool window of `main` (kept above it, hidden when the
// main window is closed or hidden and shown again with it) and places it
// on its first showing: where it stood
// the last time (the settings' "`key`/geometry", checked to lie on a screen
// now), or else beside `panel`, no smaller than its size hint.  Its place and size are kept
// whenever it is hidden and when the program ends.  Escape typed in it closes it, and not the main
// window (whose shortcuts a tool window shares).  `window` is reparented to `main`; call this once,
// in its constructor.
void MakeToolWindow(QWidget& window, QWidget& main, QWidget& panel, const QString& key);

// The settings key under which a window made by MakeToolWindow with `key`
// keeps its geometry.
QString ToolWindowGeometryKey(const QString& key);

}  // namespace korrin
