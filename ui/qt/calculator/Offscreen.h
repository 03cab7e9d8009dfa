// Pictures of the window without a screen, for the headless report.  A
// QApplication must exist (the report runs it on the offscreen platform).
#pragma once

#include <string>

namespace korrin {

class TForm1;

// Builds the window for `form` as it stands (no SetUp, no handler run), renders the client area.
// Return an empty string on success, else an error text for the user.
std::string SaveClientAreaPng(
    TForm1& form, const std::string& path);  // PNG of the client area (790 x 541 at 96 dpi)
std::string PrintClientAreaPdf(TForm1& form,
                               const std::string& path);  // the one-page PDF that "Print" makes

}  // namespace korrin
