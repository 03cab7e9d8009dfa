#include "ui/station/RowsToml.h"

#include <set>

#include "station/StationFile.h"

namespace korrin::stationui {

namespace {

// The text from the first table on: the file's header comment and the
// station's own keys left out.
std::string TablesOnly(const std::string& written) {
  std::size_t at = 0;
  while (at < written.size()) {
    if (written.compare(at, 2, "[[") == 0 || written.compare(at, 1, "[") == 0) {
      return written.substr(at);
    }
    const std::size_t end = written.find('\n', at);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return {};
}

}  // namespace

std::string RowsAsToml(const st::Station& station, Table table,
                       const std::vector<std::size_t>& rows) {
  if (table == Table::Outline) return {};
  st::Station part;
  const std::set<std::size_t> chosen(rows.begin(), rows.end());
  std::set<std::string> transmitters, feedlines, antennas;
  for (const std::size_t row : chosen) {
    if (row >= RowCount(station, table)) continue;
    switch (table) {
      case Table::Transmitters:
        part.transmitters.push_back(station.transmitters[row]);
        break;
      case Table::Feedlines:
        part.feedlines.push_back(station.feedlines[row]);
        break;
      case Table::Antennas:
        part.antennas.push_back(station.antennas[row]);
        break;
      case Table::Installations: {
        const st::Installation& n = station.installations[row];
        part.installations.push_back(n);
        transmitters.insert(n.transmitter);
        if (n.feedline) feedlines.insert(*n.feedline);
        antennas.insert(n.antenna);
        break;
      }
      case Table::Places:
        part.places.push_back(station.places[row]);
        break;
      case Table::Outline:
        break;
    }
  }
  // What the installations name, in the station's order.
  for (const st::Transmitter& t : station.transmitters) {
    if (transmitters.count(t.id) > 0) part.transmitters.push_back(t);
  }
  for (const st::Feedline& f : station.feedlines) {
    if (feedlines.count(f.id) > 0) part.feedlines.push_back(f);
  }
  for (const st::Antenna& a : station.antennas) {
    if (antennas.count(a.id) > 0) part.antennas.push_back(a);
  }
  return TablesOnly(st::WriteStation(part));
}

Outcome PasteToml(const st::Station& station, std::string_view text) {
  Outcome outcome;
  // The station's own keys (format, region, limit sets) above the tables
  // pasted: read as they would be in its file.
  st::Station heading = station;
  heading.transmitters.clear();
  heading.feedlines.clear();
  heading.antennas.clear();
  heading.installations.clear();
  heading.places.clear();
  heading.property.reset();
  const std::string written = st::WriteStation(heading);
  const std::string tables = TablesOnly(std::string(text));
  if (tables.empty()) {
    outcome.refusal = "Nothing to paste: the text holds no table of a station file";
    return outcome;
  }
  const st::ReadResult read = st::ParseStation(written + "\n" + tables, "the text pasted");
  if (!read.station) {
    outcome.refusal = st::FormatDiagnostics(read.errors);
    return outcome;
  }
  if (read.station->property) {
    outcome.refusal =
        "Nothing pasted: the text holds a property line, which is set in the Property line tab";
    return outcome;
  }
  return AddStation(station, *read.station, "Paste", true);
}

}  // namespace korrin::stationui
