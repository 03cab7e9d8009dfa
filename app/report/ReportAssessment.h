// The station's assessment in the report: its rows in the text report, the
// "assessment" object of the JSON report, and the assessment columns of the
// band table.
#pragma once

#include <string>
#include <vector>

#include "app/report/BandTable.h"
#include "app/report/ReportJson.h"
#include "assess/Assessment.h"
#include "ui/NumberText.h"

namespace korrin::report {

// The text section: one row per limit set, the FCC exemption test and the
// warnings.  Lengths in the station's unit system, densities in W/m^2.
std::string AssessmentText(const assess::Assessment& a, const StationState& s,
                           const NumberLocale& locale);

// The "assessment" object (metres and W/m^2 whatever the window's units).
JsonValue AssessmentJson(const assess::Assessment& a, const StationState& s,
                         const NumberLocale& locale);

// The band table's assessment columns: headings, and one row's cells.
std::vector<std::string> BandAssessmentHeadings();
std::vector<std::string> BandAssessmentCells(const BandRow::Assessed& r, bool metric,
                                             const NumberLocale& locale);

// Parses a length in metres written as a plain decimal number, not below 0;
// nullopt for anything else.
std::optional<long double> ParseMetres(const std::string& text);

}  // namespace korrin::report
