// The texts of the exclusion-zone displays and of every length the window
// shows, formed in one place for the window and the report.
#pragma once

#include <string>

#include "core/Zone.h"
#include "ui/NumberText.h"

namespace korrin {

// A length given in metres, in the unit system in force, with its unit
// (" Metres" or " Feet").
std::string LengthText(long double metres, int precision, int decimals, bool metric,
                       const NumberLocale& locale);

struct ZoneTexts {
  std::string first;   // Panel64
  std::string second;  // Panel63 (its text is kept while it is hidden)
};

// What Panel64 and Panel63 show for a zone decision.
ZoneTexts ZoneText(const ZoneShown& zone, bool metric, const NumberLocale& locale);

}  // namespace korrin
