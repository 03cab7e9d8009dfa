// The moon's figures by date in the report (--moon): the plan at the
// calculator's band, as a text section and as the "moon" object of the JSON
// report.
#pragma once

#include <optional>
#include <string>

#include "app/report/ReportOptions.h"
#include "moon/Evaluation.h"
#include "ui/NumberText.h"

namespace korrin::report {

struct MoonSection {
  moon::Evaluation evaluation;
  std::string locator;    // as the user gave them
  std::string dxLocator;  // empty: no other station
};

// The moon's figures for the station as the actions left it; empty with
// `error` set when they cannot be given (the HF side, a span outside the
// years the moon's figures cover).
std::optional<MoonSection> MoonFigures(const StationState& station, const MoonOptions& options,
                                       moon::UtcSeconds now, std::string& error);

// The present time, to the minute.
moon::UtcSeconds NowToTheMinute();

std::string MoonText(const MoonSection& m, const NumberLocale& locale);

// The "moon" object, indented to sit at the top level of the report.
std::string MoonJson(const MoonSection& m);

// Reads the values of the moon's options; nullopt for anything else.
std::optional<double> ParseMoonNumber(const std::string& text);

}  // namespace korrin::report
