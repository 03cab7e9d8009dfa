// The moon-bounce plan as a table of text: a row per time with the columns
// the report prints (the other station's columns only when there is one),
// the figures written with a point and no grouping whatever the locale, so
// that the table copies and saves as CSV that any program reads.
#pragma once

#include <string>
#include <vector>

#include "moon/Evaluation.h"

namespace korrin::moon {

struct PlanTable {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;  // each as long as `header`
};

PlanTable TableOf(const Evaluation& e);

// As CSV: the header line, then a line per row, each ending in "\n"; a
// field holding a comma, a quote or a line break in double quotes.
std::string CsvOf(const PlanTable& table);

// As text separated by tabs, for the clipboard: the header line and the
// rows `rows` (all when empty), each ending in "\n".
std::string TabbedOf(const PlanTable& table, const std::vector<std::size_t>& rows);

}  // namespace korrin::moon
