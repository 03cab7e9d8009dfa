// The printed page: the picture of the window's client area, drawn at the
// page's top-left corner at the size the window has on a 96 dpi screen.
// One function serves the "Print" button and the report's PDF, so that both
// make the same page.
#pragma once

#include <QImage>
#include <string>

class QPrinter;
class QWidget;

namespace korrin {

// The page the window is printed on: A4 portrait, and no margin of the
// program's own (a printer still keeps its unprintable border).
void ConfigurePrinter(QPrinter& printer);

// Prints the picture of `client` on one page of `printer`.  Returns an empty
// string when the page was printed, else the reason it was not.
std::string PrintClientArea(QWidget* client, QPrinter& printer);

// The picture of `client` at one image pixel per window pixel, marked as
// 96 dpi (790 x 541 for the main window).
QImage ClientAreaImage(QWidget* client);

}  // namespace korrin
