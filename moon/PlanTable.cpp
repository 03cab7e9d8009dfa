#include "moon/PlanTable.h"

#include <array>
#include <charconv>

#include "moon/Time.h"

namespace korrin::moon {

namespace {

// `v` with `decimals` decimals, a point and no grouping; "-0.0" as "0.0".
std::string Fixed(double v, int decimals) {
  std::array<char, 64> buffer{};
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                               std::chars_format::fixed, decimals);
  std::string text(buffer.data(), r.ptr);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

// "2026-12-07 13:05" (UTC).
std::string Minute(UtcSeconds t) {
  const std::string iso = FormatUtc(t);
  return iso.substr(0, 10) + " " + iso.substr(11, 5);
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string Joined(const std::vector<std::string>& cells, const std::string& separator,
                   std::string (*field)(const std::string&)) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += separator;
    line += field(cells[i]);
  }
  return line + "\n";
}

std::string AsIs(const std::string& text) {
  return text;
}

}  // namespace

PlanTable TableOf(const Evaluation& e) {
  const bool dx = e.request.dx.has_value();
  PlanTable t;
  t.header = {"Time (UTC)", "Az \u00b0", "El \u00b0"};
  if (dx) t.header.insert(t.header.end(), {"DX Az \u00b0", "DX El \u00b0"});
  t.header.insert(t.header.end(), {"Distance km", "Path loss dB", "Degr. dB", "Doppler Hz"});
  if (dx) t.header.push_back("DX Doppler Hz");
  t.header.insert(t.header.end(), {"Mutual", "Echo S/N dB"});
  for (std::size_t k = 0; k < e.plan.rows.size(); ++k) {
    const Row& row = e.plan.rows[k];
    std::vector<std::string> cells{Minute(row.time), Fixed(row.home.azimuthDeg, 1),
                                   Fixed(row.home.elevationDeg, 1)};
    if (dx && row.dx) {
      cells.push_back(Fixed(row.dx->azimuthDeg, 1));
      cells.push_back(Fixed(row.dx->elevationDeg, 1));
    }
    cells.push_back(Fixed(row.home.distanceKm, 0));
    cells.push_back(Fixed(row.pathLossDb, 2));
    cells.push_back(Fixed(row.degradationDb, 2));
    cells.push_back(Fixed(row.dopplerHz, 0));
    if (dx && row.dxDopplerHz) cells.push_back(Fixed(*row.dxDopplerHz, 0));
    cells.push_back(row.mutual ? "yes" : "no");
    cells.push_back(k < e.echoSnDb.size() ? Fixed(e.echoSnDb[k], 1) : std::string());
    cells.resize(t.header.size());
    t.rows.push_back(std::move(cells));
  }
  return t;
}

std::string CsvOf(const PlanTable& table) {
  std::string out = Joined(table.header, ",", CsvField);
  for (const auto& row : table.rows) out += Joined(row, ",", CsvField);
  return out;
}

std::string TabbedOf(const PlanTable& table, const std::vector<std::size_t>& rows) {
  std::string out = Joined(table.header, "\t", AsIs);
  if (rows.empty()) {
    for (const auto& row : table.rows) out += Joined(row, "\t", AsIs);
  }
  for (const std::size_t k : rows) {
    if (k < table.rows.size()) out += Joined(table.rows[k], "\t", AsIs);
  }
  return out;
}

}  // namespace korrin::moon
