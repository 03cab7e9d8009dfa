#include "app/report/ReportMoon.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <nlohmann/json.hpp>

#include "app/report/ReportJson.h"
#include "app/report/ReportText.h"
#include "moon/Path.h"

namespace korrin::report {

namespace {

using moon::Row;
using Json = nlohmann::ordered_json;

constexpr size_t kLabelWidth = 28;

void Line(std::string& out, const std::string& label, const std::string& value) {
  std::string line = "  " + label;
  const size_t width = kLabelWidth + 2;
  const size_t used = TextWidth(line);
  line += used < width ? std::string(width - used, ' ') : " ";
  out += line + value + "\n";
}

std::string Fixed(double v, int decimals, const NumberLocale& locale) {
  return FixedText(static_cast<long double>(v), 18, decimals, locale);
}

std::string Grouped(double v, int decimals, const NumberLocale& locale) {
  return NumberText(static_cast<long double>(v), 18, decimals, locale);
}

// "2026-12-07 13:05" (UTC).
std::string Minute(moon::UtcSeconds t) {
  std::string iso = moon::FormatUtc(t);
  return iso.substr(0, 10) + " " + iso.substr(11, 5);
}

std::string PlaceWords(const std::string& given, const moon::Place& p, const NumberLocale& locale) {
  return given + " (" + Fixed(std::fabs(p.latitudeDeg), 4, locale) + "\u00b0 " +
         (p.latitudeDeg < 0 ? "S" : "N") + ", " + Fixed(std::fabs(p.longitudeDeg), 4, locale) +
         "\u00b0 " + (p.longitudeDeg < 0 ? "W" : "E") + ", " + Fixed(p.heightM, 0, locale) + " m)";
}

std::string Duration(moon::UtcSeconds seconds) {
  const long long minutes = (seconds + 30) / 60;
  return std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) + " min";
}

// A cell right-aligned in `width` columns.
std::string Cell(const std::string& text, size_t width) {
  const size_t used = TextWidth(text);
  return (used < width ? std::string(width - used, ' ') : " ") + text;
}

const char* kGeometric =
    "Elevations are geometric, without atmospheric refraction (which lifts the moon by about "
    "0.5\u00b0 at the horizon).";

std::string LeapNote() {
  return "A time lies past the table of leap seconds this program knows: no further leap second "
         "is assumed, so times may be off by the leap seconds announced since.";
}

}  // namespace

moon::UtcSeconds NowToTheMinute() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const moon::UtcSeconds seconds = std::chrono::duration_cast<std::chrono::seconds>(now).count();
  return seconds - seconds % 60;
}

std::optional<double> ParseMoonNumber(const std::string& text) {
  std::string_view t = text;
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double v = 0;
  const char* end = t.data() + t.size();
  // from_chars reads up to `end`: the view needs no terminating null.
  // NOLINTNEXTLINE(bugprone-suspicious-stringview-data-usage)
  const auto r = std::from_chars(t.data(), end, v, std::chars_format::fixed);
  if (t.empty() || r.ec != std::errc() || r.ptr != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<MoonSection> MoonFigures(const StationState& station, const MoonOptions& o,
                                       moon::UtcSeconds now, std::string& error) {
  if (!moon::OnMoonBounceSide(station)) {
    error =
        "--moon gives the moon-bounce figures of a VHF - SHF band; the station is on the HF "
        "side: give --band with one of the VHF - SHF bands";
    return std::nullopt;
  }
  moon::PlanRequest request;
  request.home = *o.home;
  request.dx = o.dx;
  request.from = o.from.value_or(now);
  request.spanSeconds = std::llround(o.hours * 3600.0);
  request.stepSeconds = moon::UtcSeconds{60} * o.stepMinutes;
  request.minElevationDeg = o.minElevationDeg;
  request.frequencyMHz = static_cast<double>(station.FrequencyMHz);
  if (const std::string why = moon::CheckRequest(request); !why.empty()) {
    error = "--moon: " + why;
    return std::nullopt;
  }
  moon::YearBestCache cache;
  return MoonSection{moon::Evaluate(station, request, cache), o.locator, o.dxLocator};
}

std::string MoonText(const MoonSection& m, const NumberLocale& locale) {
  const moon::Evaluation& e = m.evaluation;
  const moon::PlanRequest& r = e.request;
  const bool dx = r.dx.has_value();
  std::string out = "\nMoon-bounce by date\n";
  Line(out, "Home", PlaceWords(m.locator, r.home, locale));
  if (dx) Line(out, "Other station", PlaceWords(m.dxLocator, *r.dx, locale));
  Line(out, "Band",
       Fixed(r.frequencyMHz, 0, locale) + " MHz, the band's path loss " +
           Fixed(*e.bandPathLossDb, 1, locale) + " dB");
  Line(out, "Calculator's echo S/N",
       Fixed(e.stationSnDb, 1, locale) + " dB at a path loss of " +
           Fixed(e.stationPathLossDb, 1, locale) + " dB");
  for (const moon::YearBest& b : e.plan.yearBest) {
    Line(out, "Best of " + std::to_string(b.year) + " at home",
         Grouped(b.distanceKm, 0, locale) + " km on " + Minute(b.time) + " UTC, path loss " +
             Fixed(moon::EchoPathLossDb(r.frequencyMHz, b.distanceKm), 2, locale) + " dB");
  }
  Line(out, "Minimum elevation",
       Fixed(r.minElevationDeg, 1, locale) + "\u00b0" + (dx ? " at both places" : " at home"));
  std::string windows;
  for (const moon::Window& w : e.plan.windows) {
    if (!windows.empty()) windows += "\n" + std::string(kLabelWidth + 2, ' ');
    windows += Minute(w.start) + (w.cutAtStart ? " (or before)" : "") + " to " + Minute(w.end) +
               (w.cutAtEnd ? " (or later)" : "") + ", " + Duration(w.end - w.start + 1);
  }
  Line(out, dx ? "Mutual windows (UTC)" : "Moon up at home (UTC)",
       windows.empty() ? "none" : windows);

  // The table.
  const std::vector<std::pair<const char*, size_t>> columns = {
      {"Time (UTC)", 16},  {"Az \u00b0", 7},      {"El \u00b0", 6},     {"DX Az \u00b0", 8},
      {"DX El \u00b0", 8}, {"Distance km", 12},   {"Path loss dB", 13}, {"Degr. dB", 9},
      {"Doppler Hz", 11},  {"DX Doppler Hz", 14}, {"Mutual", 7},        {"Echo S/N dB", 12}};
  out += "\n ";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (!dx && (i == 3 || i == 4 || i == 9)) continue;
    out += i == 0 ? " " + std::string(columns[i].first) +
                        std::string(columns[i].second - TextWidth(columns[i].first), ' ')
                  : Cell(columns[i].first, columns[i].second);
  }
  out += "\n";
  for (size_t k = 0; k < e.plan.rows.size(); ++k) {
    const Row& row = e.plan.rows[k];
    std::string line = "  " + Minute(row.time);
    line += Cell(Fixed(row.home.azimuthDeg, 1, locale), 7) +
            Cell(Fixed(row.home.elevationDeg, 1, locale), 6);
    if (dx) {
      line += Cell(Fixed(row.dx->azimuthDeg, 1, locale), 8) +
              Cell(Fixed(row.dx->elevationDeg, 1, locale), 8);
    }
    line += Cell(Grouped(row.home.distanceKm, 0, locale), 12) +
            Cell(Fixed(row.pathLossDb, 2, locale), 13) +
            Cell(Fixed(row.degradationDb, 2, locale), 9) +
            Cell(Grouped(row.dopplerHz, 0, locale), 11);
    if (dx) line += Cell(Grouped(*row.dxDopplerHz, 0, locale), 14);
    line += Cell(row.mutual ? "yes" : "no", 7) + Cell(Fixed(e.echoSnDb[k], 1, locale), 12);
    out += line + "\n";
  }
  out += "\n  " + std::string(kGeometric) + "\n";
  out +=
      "  Distance, path loss and Doppler are topocentric at home; the degradation is the path "
      "loss over the year's best at home.\n";
  if (e.plan.leapSecondsUncertain) out += "  " + LeapNote() + "\n";
  return out;
}

std::string MoonJson(const MoonSection& m) {
  const moon::Evaluation& e = m.evaluation;
  const moon::PlanRequest& r = e.request;
  Json j;
  j["locator"] = m.locator;
  j["dxLocator"] = r.dx ? Json(m.dxLocator) : Json(nullptr);
  j["bandMHz"] = r.frequencyMHz;
  const auto place = [](const moon::Place& p) {
    Json o;
    o["latitudeDeg"] = p.latitudeDeg;
    o["longitudeDeg"] = p.longitudeDeg;
    o["heightM"] = p.heightM;
    return o;
  };
  j["home"] = place(r.home);
  j["dx"] = r.dx ? place(*r.dx) : Json(nullptr);
  j["from"] = moon::FormatUtc(r.from);
  j["hours"] = static_cast<double>(r.spanSeconds) / 3600.0;
  j["stepMinutes"] = r.stepSeconds / 60;
  j["minElevationDeg"] = r.minElevationDeg;
  j["bandPathLossDb"] = e.bandPathLossDb ? Json(*e.bandPathLossDb) : Json(nullptr);
  j["stationPathLossDb"] = e.stationPathLossDb;
  j["stationEchoSnDb"] = e.stationSnDb;
  j["yearBest"] = Json::array();
  for (const moon::YearBest& b : e.plan.yearBest) {
    j["yearBest"].push_back({{"year", b.year},
                             {"time", moon::FormatUtc(b.time)},
                             {"distanceKm", b.distanceKm},
                             {"pathLossDb", moon::EchoPathLossDb(r.frequencyMHz, b.distanceKm)}});
  }
  j["windows"] = Json::array();
  for (const moon::Window& w : e.plan.windows) {
    j["windows"].push_back({{"start", moon::FormatUtc(w.start)},
                            {"end", moon::FormatUtc(w.end)},
                            {"cutAtStart", w.cutAtStart},
                            {"cutAtEnd", w.cutAtEnd}});
  }
  j["notes"] = Json::array({kGeometric});
  if (e.plan.leapSecondsUncertain) j["notes"].push_back(LeapNote());

  j["rows"] = Json::array();
  for (size_t k = 0; k < e.plan.rows.size(); ++k) {
    const Row& row = e.plan.rows[k];
    Json o;
    o["time"] = moon::FormatUtc(row.time);
    o["azimuthDeg"] = row.home.azimuthDeg;
    o["elevationDeg"] = row.home.elevationDeg;
    o["dxAzimuthDeg"] = row.dx ? Json(row.dx->azimuthDeg) : Json(nullptr);
    o["dxElevationDeg"] = row.dx ? Json(row.dx->elevationDeg) : Json(nullptr);
    o["distanceKm"] = row.home.distanceKm;
    o["pathLossDb"] = row.pathLossDb;
    o["degradationDb"] = row.degradationDb;
    const std::optional<double> change = moon::BandChangeDb(e, row);
    o["bandChangeDb"] = change ? Json(*change) : Json(nullptr);
    o["dopplerHz"] = row.dopplerHz;
    o["dxDopplerHz"] = row.dxDopplerHz ? Json(*row.dxDopplerHz) : Json(nullptr);
    o["mutual"] = row.mutual;
    o["echoSnDb"] = e.echoSnDb[k];
    j["rows"].push_back(std::move(o));
  }
  // A section of the report: its lists, the rows among them, one item a line.
  return "  \"moon\": " + WriteJson(j, 1);
}

}  // namespace korrin::report
