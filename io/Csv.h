// The reader of the data tables' CSV text, shared by the station and the
// near-field libraries: comma-separated fields, a field that starts with a
// double quote may hold commas, line ends and doubled quotes, lines
// starting with '#' are comments, blank lines are skipped, and the first
// other line names the columns.  Problems are values with their line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korrin {

struct CsvTable {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;  // each as long as `columns`
  std::vector<int> lines;                      // the 1-based line each row starts on
  std::vector<std::string> problems;           // "line 7: 4 fields, the header has 5"

  // The index of the column named `name`, or -1.
  int Column(std::string_view name) const;
};

// A row of another width than the header is a problem and is left out; an
// unclosed quote is a problem and ends the reading; a text without a header
// line is a problem.
CsvTable ParseCsv(std::string_view text);

}  // namespace korrin
