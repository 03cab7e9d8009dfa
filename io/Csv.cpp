#include "io/Csv.h"

namespace korrin {

namespace {

// Splits one record starting at `pos`, which moves past its line end.  A
// quoted field may span lines; `line` counts those.  A quote inside an
// unquoted field is kept as it is.  Returns false when a quoted field is not
// closed.
bool ReadRecord(std::string_view text, std::size_t& pos, int& line,
                std::vector<std::string>& fields) {
  fields.assign(1, {});
  bool quoted = false;
  bool wasQuoted = false;
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
    } else if (c == '"' && fields.back().empty() && !wasQuoted) {
      quoted = wasQuoted = true;
    } else if (c == ',') {
      fields.emplace_back();
      wasQuoted = false;
    } else if (c == '\n') {
      break;
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return !quoted;
}

bool Blank(const std::vector<std::string>& fields) {
  return fields.size() == 1 && fields[0].find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

int CsvTable::Column(std::string_view name) const {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i] == name) return static_cast<int>(i);
  }
  return -1;
}

CsvTable ParseCsv(std::string_view text) {
  CsvTable table;
  std::size_t pos = 0;
  int line = 1;
  std::vector<std::string> fields;
  while (pos < text.size()) {
    const int first = line;
    if (text[pos] == '#') {
      const std::size_t end = text.find('\n', pos);
      pos = end == std::string_view::npos ? text.size() : end + 1;
      ++line;
      continue;
    }
    const bool closed = ReadRecord(text, pos, line, fields);
    ++line;
    if (!closed) {
      table.problems.push_back("line " + std::to_string(first) + ": a quoted field is not closed");
      break;
    }
    if (Blank(fields)) continue;
    if (table.columns.empty()) {
      table.columns = fields;
    } else if (fields.size() != table.columns.size()) {
      table.problems.push_back("line " + std::to_string(first) + ": " +
                               std::to_string(fields.size()) + " fields, the header has " +
                               std::to_string(table.columns.size()));
    } else {
      table.rows.push_back(fields);
      table.lines.push_back(first);
    }
  }
  if (table.columns.empty()) table.problems.emplace_back("no header line");
  return table;
}

}  // namespace korrin
