#include "station/Diagnostic.h"

namespace korrin::station {

std::string FormatDiagnostic(const Diagnostic& d) {
  std::string out;
  if (!d.file.empty()) out += d.file + ":";
  if (d.at.line > 0) {
    out += std::to_string(d.at.line) + ":";
    if (d.at.column > 0) out += std::to_string(d.at.column) + ":";
  }
  if (!out.empty()) out += " ";
  if (!d.table.empty()) out += d.table + " ";
  if (!d.key.empty()) out += d.key + ": ";
  out += d.message;
  return out;
}

std::string FormatDiagnostics(const std::vector<Diagnostic>& list) {
  std::string out;
  for (const Diagnostic& d : list) out += FormatDiagnostic(d) + "\n";
  return out;
}

}  // namespace korrin::station
