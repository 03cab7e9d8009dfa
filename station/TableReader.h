// Reading a built-in data table: its rows by column name, numbers and
// flags checked, a source required on every row, and every problem named
// with the file and line.  Shared by the station's tables and the rules'.
#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/Csv.h"

namespace korrin::station {

using Real = long double;

// One table's rows by column name, with the problems met while reading them.
class Reader {
 public:
  Reader(std::string_view file, std::string_view text) : file_(file), csv_(ParseCsv(text)) {
    for (const std::string& p : csv_.problems) problems_.push_back(std::string(file_) + ": " + p);
  }

  std::size_t Rows() const { return csv_.rows.size(); }

  std::string Text(std::size_t row, std::string_view column) {
    const int at = csv_.Column(column);
    if (at < 0) {
      Problem(row, "no column " + std::string(column));
      return {};
    }
    return csv_.rows[row][static_cast<std::size_t>(at)];
  }

  // A finite number, or nothing for an empty field when `optional`.
  std::optional<Real> Number(std::size_t row, std::string_view column, bool optional = false) {
    const std::string text = Text(row, column);
    if (text.empty()) {
      if (!optional) Problem(row, std::string(column) + " is empty");
      return std::nullopt;
    }
    long double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
      Problem(row, std::string(column) + " is not a number: " + text);
      return std::nullopt;
    }
    return value;
  }

  bool Flag(std::size_t row, std::string_view column) {
    const std::string text = Text(row, column);
    if (text != "true" && text != "false")
      Problem(row, std::string(column) + " is not true or false");
    return text == "true";
  }

  // The row's source, which must say something.
  std::string Source(std::size_t row) {
    std::string text = Text(row, "source");
    if (text.find_first_not_of(" \t") == std::string::npos) Problem(row, "no source");
    return text;
  }

  void Problem(std::size_t row, const std::string& what) {
    problems_.push_back(std::string(file_) + " line " + std::to_string(csv_.lines[row]) + ": " +
                        what);
  }

  // Moves the problems out; a row with one is left out by the caller.
  std::size_t ProblemCount() const { return problems_.size(); }
  std::vector<std::string>& Problems() { return problems_; }

 private:
  std::string_view file_;
  CsvTable csv_;
  std::vector<std::string> problems_;
};

}  // namespace korrin::station
