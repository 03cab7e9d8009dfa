// The number-to-text convention of every result display.
#pragma once

#include <string>

namespace korrin {

// Decimal point and thousands separator of the user's locale.  Passed in so
// that tests and the JSON report can fix them.
struct NumberLocale {
  std::string decimalPoint = ".";
  std::string groupSeparator = ",";
};

// Fixed-point text: rounded (halves away from zero) to at most `precision`
// significant digits and at most `decimals` decimals, exactly `decimals`
// digits after the point, digits beyond the precision written as zeros, no
// minus sign on a value that rounds to zero.  When the integer part needs
// more than `precision` digits the short scientific form is used instead
// (25597.2 at precision 4 is "2.56E4").  precision and decimals are 1..18.
std::string FixedText(long double value, int precision, int decimals,
                      const NumberLocale& locale = {});

// The same with the locale's thousands separator between groups of three
// integer digits (the peak EIRP's form).
std::string NumberText(long double value, int precision, int decimals,
                       const NumberLocale& locale = {});

}  // namespace korrin
