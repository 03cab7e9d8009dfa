// The station as a readable report, grouped as the window groups it, with
// the texts the window shows.
#pragma once

#include <string>
#include <vector>

#include "app/report/BandTable.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::report {

struct TextReportNotes {
  std::string closedBy;              // the action that closed the window
  std::vector<std::string> skipped;  // actions not applied after it
};

std::string TextReport(const TForm1& form, const HeadlessPlatform& platform,
                       const TextReportNotes& notes, const BandTable* bands);

// The band table alone, columns aligned.
std::string BandTableText(const BandTable& table);

// Columns a UTF-8 text takes on a terminal (one per character).
size_t TextWidth(const std::string& text);

}  // namespace korrin::report
