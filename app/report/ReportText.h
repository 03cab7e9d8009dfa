// The station as a readable report, grouped as the window groups it, with
// the texts the window shows.
#pragma once

#include <string>
#include <vector>

#include "app/report/BandTable.h"
#include "app/report/ReportMoon.h"
#include "assess/Assessment.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::report {

struct TextReportNotes {
  std::string closedBy;              // the action that closed the window
  std::vector<std::string> skipped;  // actions not applied after it
};

// `assessment` and `moon`, when given, add their sections after the
// window's groups.
std::string TextReport(const TForm1& form, const HeadlessPlatform& platform,
                       const TextReportNotes& notes, const BandTable* bands,
                       const assess::Assessment* assessment = nullptr,
                       const MoonSection* moon = nullptr);

// The band table alone, columns aligned; numbers of the assessment columns
// in `locale`.
std::string BandTableText(const BandTable& table, const NumberLocale& locale = {});

// Columns a UTF-8 text takes on a terminal (one per character).
size_t TextWidth(const std::string& text);

}  // namespace korrin::report
