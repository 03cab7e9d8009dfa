// The station as one JSON object: every control of the window, every
// station field and the messages shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "app/report/BandTable.h"
#include "app/report/ReportMoon.h"
#include "assess/Assessment.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::report {

// The report's JSON values: nlohmann's ordered JSON whose floating numbers
// are long double, so that no figure passes through a double on its way out.
using JsonValue = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                       std::int64_t, std::uint64_t, long double>;

// A real as a JSON number with 21 significant digits, enough to give back
// the extended-precision value exactly ("4.32000000000000000000e+02");
// "null" for a value that is not finite.  nlohmann writes a floating number
// that is not a double through printf's "%g" for a double, so the report
// writes its reals itself.
std::string RealJson(long double value);

// `value` laid out as the report has always been: the object's sections one
// member a line, a list within a section one item a line, every other value
// on its line; reals by RealJson, texts with a stray byte replaced.  `depth`
// is where the value sits in the report (0 the report, 1 a section).
std::string WriteJson(const JsonValue& value, size_t depth = 0);
// The same layout for nlohmann's own ordered JSON, whose doubles are written
// as nlohmann writes them: the shortest text that reads back the same.
std::string WriteJson(const nlohmann::ordered_json& value, size_t depth = 0);

// Each criterion of a limit set's tier with its figures and whether it
// governs, as an array: the station's results and the assessment's limits
// give them alike.
JsonValue CriteriaJson(const std::vector<assess::CriterionFigures>& criteria);

// The whole object; `bands` adds the "bands" array when given, and
// `assessment` the "assessment" object, `moon` the "moon" object.
std::string JsonReport(const TForm1& form, const HeadlessPlatform& platform, const BandTable* bands,
                       const assess::Assessment* assessment = nullptr,
                       const MoonSection* moon = nullptr);

}  // namespace korrin::report
