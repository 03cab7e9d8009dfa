// A small reader for the near field's data tables: comma-separated values,
// fields in double quotes where they hold a comma or a quote (a quote inside
// written twice), lines starting with '#' comments, the first other line
// the header.  Problems are values with their line.  (The station library
// reads its tables the same way.)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korrin::nearfield {

struct CsvTable {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;  // every row as wide as the header
  std::vector<int> lines;                      // each row's line in the text, from 1
  std::vector<std::string> problems;           // "line 4: 3 fields, the header has 11"

  // The column named `name`, or -1.
  int Column(std::string_view name) const;
};

// Blank lines are skipped; a row of another width than the header is a
// problem and is left out.
CsvTable ParseCsv(std::string_view text);

}  // namespace korrin::nearfield
