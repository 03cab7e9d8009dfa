#include "nearfield/Csv.h"

namespace korrin::nearfield {

namespace {

// Splits one record starting at `pos`; moves `pos` past its line end.
// Returns false when a quoted field is not closed.
bool ReadRecord(std::string_view text, size_t& pos, int& line, std::vector<std::string>& fields) {
  fields.clear();
  std::string field;
  bool quoted = false;
  bool wasQuoted = false;
  while (pos < text.size()) {
    const char c = text[pos++];
    if (quoted) {
      if (c == '"') {
        if (pos < text.size() && text[pos] == '"') {
          field += '"';
          ++pos;
        } else {
          quoted = false;
        }
      } else {
        if (c == '\n') ++line;
        field += c;
      }
      continue;
    }
    if (c == '"' && field.empty() && !wasQuoted) {
      quoted = wasQuoted = true;
    } else if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
      wasQuoted = false;
    } else if (c == '\n') {
      break;
    } else if (c != '\r') {
      field += c;
    }
  }
  fields.push_back(std::move(field));
  return !quoted;
}

bool Blank(const std::vector<std::string>& fields) {
  return fields.size() == 1 && fields[0].find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

int CsvTable::Column(std::string_view name) const {
  for (size_t i = 0; i < header.size(); ++i) {
    if (header[i] == name) return static_cast<int>(i);
  }
  return -1;
}

CsvTable ParseCsv(std::string_view text) {
  CsvTable table;
  size_t pos = 0;
  int line = 1;
  std::vector<std::string> fields;
  while (pos < text.size()) {
    const int start = line;
    if (text[pos] == '#') {  // a comment line
      const size_t end = text.find('\n', pos);
      pos = end == std::string_view::npos ? text.size() : end + 1;
      ++line;
      continue;
    }
    const bool closed = ReadRecord(text, pos, line, fields);
    ++line;
    if (!closed) {
      table.problems.push_back("line " + std::to_string(start) + ": a quoted field is not closed");
      break;
    }
    if (Blank(fields)) continue;
    if (table.header.empty()) {
      table.header = fields;
    } else if (fields.size() != table.header.size()) {
      table.problems.push_back("line " + std::to_string(start) + ": " +
                               std::to_string(fields.size()) + " fields, the header has " +
                               std::to_string(table.header.size()));
    } else {
      table.rows.push_back(fields);
      table.lines.push_back(start);
    }
  }
  return table;
}

}  // namespace korrin::nearfield
