// What a screen reader is told about the window's own widgets.  A panel
// that acts on a click is a button; a spin button is a spin box whose value
// is the number in the panel beside it; the tower bar is a slider whose
// value is the tower height it shows.
#pragma once

#include <QString>
#include <optional>

namespace korrin {

// Registers the window's accessible interfaces with Qt; once per process,
// later calls do nothing.
void InstallCalculatorAccessibility();

// The first number in a value panel's text ("1.0 dB", "-3,5 dB", "15 °K"),
// either decimal mark; nothing when the text holds none.
std::optional<double> NumberShown(const QString& text);

}  // namespace korrin
