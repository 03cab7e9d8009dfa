// The station as one JSON object: every control of the window, every
// station field and the messages shown.
#pragma once

#include <string>

#include "app/report/BandTable.h"
#include "app/report/ReportMoon.h"
#include "assess/Assessment.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::report {

// A real as a JSON number with 21 significant digits, enough to give back
// the extended-precision value exactly ("4.32000000000000000000e+02");
// "null" for a value that is not finite.
std::string RealJson(long double value);

// The whole object; `bands` adds the "bands" array when given, and
// `assessment` the "assessment" object, `moon` the "moon" object.
std::string JsonReport(const TForm1& form, const HeadlessPlatform& platform, const BandTable* bands,
                       const assess::Assessment* assessment = nullptr,
                       const MoonSection* moon = nullptr);

}  // namespace korrin::report
