// A small reader of the data tables' CSV text: comma-separated fields, a
// field in double quotes may hold commas and doubled quotes, lines starting
// with '#' are comments, and the first other line names the columns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korrin::station {

struct CsvTable {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;  // each as long as `columns`
  std::vector<int> lines;                      // the 1-based line of each row
  std::vector<std::string> problems;           // "line 7: 4 fields, the header has 5"
};

CsvTable ParseCsv(std::string_view text);

}  // namespace korrin::station
