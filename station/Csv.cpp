#include "station/Csv.h"

namespace korrin::station {

namespace {

// Splits one record starting at `pos`, which moves past its line end.  A
// quoted field may span lines; `line` counts them.
std::vector<std::string> ReadRecord(std::string_view text, std::size_t& pos, int& line,
                                    bool& unterminated) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (quoted) {
      if (c == '"') {
        if (pos < text.size() && text[pos] == '"') {
          fields.back() += '"';
          ++pos;
        } else {
          quoted = false;
        }
      } else {
        if (c == '\n') ++line;
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else if (c == '\n') {
      ++line;
      break;
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  unterminated = quoted;
  return fields;
}

}  // namespace

CsvTable ParseCsv(std::string_view text) {
  CsvTable table;
  std::size_t pos = 0;
  int line = 1;
  while (pos < text.size()) {
    const int first = line;
    if (text[pos] == '#' || text[pos] == '\n' || text[pos] == '\r') {
      const std::size_t end = text.find('\n', pos);
      pos = end == std::string_view::npos ? text.size() : end + 1;
      ++line;
      continue;
    }
    bool unterminated = false;
    std::vector<std::string> fields = ReadRecord(text, pos, line, unterminated);
    if (unterminated) {
      table.problems.push_back("line " + std::to_string(first) + ": a quoted field is not closed");
      break;
    }
    if (table.columns.empty()) {
      table.columns = std::move(fields);
      continue;
    }
    if (fields.size() != table.columns.size()) {
      table.problems.push_back("line " + std::to_string(first) + ": " +
                               std::to_string(fields.size()) + " fields, the header has " +
                               std::to_string(table.columns.size()));
      continue;
    }
    table.rows.push_back(std::move(fields));
    table.lines.push_back(first);
  }
  if (table.columns.empty()) table.problems.emplace_back("no header line");
  return table;
}

}  // namespace korrin::station
