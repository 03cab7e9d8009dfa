// A problem found in a station file, as a value with its place: the file,
// line and column, the table entry and the key, and what was expected in
// plain words.  A reader collects every one before it gives up, so that a
// user fixes a file in one pass.
#pragma once

#include <string>
#include <vector>

#include "station/Station.h"

namespace korrin::station {

struct Diagnostic {
  std::string file;     // as the user named it; empty for a station made in the program
  SourcePos at;         // line 0: no place in a file
  std::string table;    // "[[antenna]] \"tribander\"", "[property]"; empty at the top level
  std::string key;      // "gain-dbi"; empty when the whole entry is meant
  std::string message;  // "expected a number, found a string"
};

// "station.toml:12:5: [[antenna]] \"tribander\" gain-dbi: expected a number,
// found a string" (the parts that are empty left out).
std::string FormatDiagnostic(const Diagnostic& d);

// One FormatDiagnostic a line.
std::string FormatDiagnostics(const std::vector<Diagnostic>& list);

}  // namespace korrin::station
