// Stations and data tables made in code for the evaluation's tests, so that
// the method is tested apart from the program's own table files.  The test
// tables' rows carry the figures the worked examples use (a half-wave
// dipole 2.15 dBi, conversational CW 40 %, the 80 m band of region 2
// 3.5-4.0 MHz); the fictional rows are named "test-...".
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "assess/StationEvaluation.h"

namespace korrin::assess::testing_support {

using station::Real;

inline const std::vector<station::BandRow>& TestBands() {
  static const std::vector<station::BandRow> rows = {
      {"2200m", 2, 0.1357L, 0.1378L, "test"},
      {"80m", 2, 3.5L, 4.0L, "test"},
      {"40m", 2, 7.0L, 7.3L, "test"},
      {"20m", 2, 14.0L, 14.35L, "test"},
      {"2m", 2, 144.0L, 148.0L, "test"},
      {"23cm", 2, 1240.0L, 1300.0L, "test"},
      {"test-across-3", 2, 2.5L, 3.5L, "test: across the FCC occupational breakpoint"},
      {"test-across-30", 2, 25.0L, 35.0L, "test: across the 30 MHz breakpoints"},
  };
  return rows;
}

inline const std::vector<station::ModeRow>& TestModes() {
  static const std::vector<station::ModeRow> rows = {
      {"ssb", "Conversational SSB", 0.2L, std::nullopt, std::nullopt, "test"},
      {"cw", "Conversational CW", 0.4L, std::nullopt, std::nullopt, "test"},
      {"fm", "FM", 1.0L, std::nullopt, std::nullopt, "test"},
      {"ft8", "FT8", 1.0L, 0.25L, 0.25L, "test"},
  };
  return rows;
}

inline const std::vector<station::CableRow>& TestCables() {
  static const std::vector<station::CableRow> rows = {
      // 2 dB per MHz per 100 m: a loss that rises fast enough with f to
      // move the worst frequency of a band.
      {"test-steep", "steep test line", 0.0L, 2.0L, 0, 0, 0, 0, "test"},
      {"test-coax", "test coax", 0.6L, 0.002L, 0, 0, 0, 0, "test"},
  };
  return rows;
}

inline const std::vector<station::AntennaKindRow>& TestKinds() {
  static const std::vector<station::AntennaKindRow> rows = {
      {"dipole", "Half-wave dipole", 2.15L, false, "test"},
      {"vertical", "Quarter-wave vertical over ground", 5.15L, true, "test"},
      {"yagi", "Yagi", std::nullopt, false, "test"},
      {"gain", "Antenna of given gain", std::nullopt, false, "test"},
      {"dish", "Dish", std::nullopt, false, "test"},
  };
  return rows;
}

inline TableLookups TestTables() {
  TableLookups t;
  t.band = [](std::string_view name, int region) -> const station::BandRow* {
    for (const station::BandRow& r : TestBands()) {
      if (r.name == name && r.region == region) return &r;
    }
    return nullptr;
  };
  t.mode = [](std::string_view id) -> const station::ModeRow* {
    for (const station::ModeRow& r : TestModes()) {
      if (r.id == id) return &r;
    }
    return nullptr;
  };
  t.cable = [](std::string_view id) -> const station::CableRow* {
    for (const station::CableRow& r : TestCables()) {
      if (r.id == id) return &r;
    }
    return nullptr;
  };
  t.antennaKind = [](std::string_view kind) -> const station::AntennaKindRow* {
    for (const station::AntennaKindRow& r : TestKinds()) {
      if (r.kind == kind) return &r;
    }
    return nullptr;
  };
  t.matchedLossDbPer100m = [](const station::CableRow& c, Real f) {
    return c.k1 * std::sqrt(f) + c.k2 * f;
  };
  return t;
}

// ---- building a station in code ----

inline station::Transmitter Transmitter(const std::string& id, Real powerW,
                                        std::optional<std::string> mode,
                                        std::optional<Real> onMinutes = std::nullopt,
                                        std::optional<Real> offMinutes = std::nullopt) {
  station::Transmitter t;
  t.id = id;
  t.powerW = powerW;
  t.mode = std::move(mode);
  t.onMinutes = onMinutes;
  t.offMinutes = offMinutes;
  return t;
}

inline station::Antenna Antenna(const std::string& id, const std::string& kind,
                                std::optional<Real> gainDbi, Real x, Real y, Real height) {
  station::Antenna a;
  a.id = id;
  a.kind = kind;
  if (gainDbi) a.gain = station::Gain{*gainDbi, false};
  a.x = station::Length::InMetres(x);
  a.y = station::Length::InMetres(y);
  a.height = station::Length::InMetres(height);
  return a;
}

inline station::Antenna Dish(const std::string& id, Real diameterM, std::optional<Real> efficiency,
                             Real x, Real y, Real height) {
  station::Antenna a = Antenna(id, "dish", std::nullopt, x, y, height);
  a.diameter = station::Length::InMetres(diameterM);
  a.efficiency = efficiency;
  return a;
}

inline station::Feedline Line(const std::string& id, const std::string& cable, Real lengthM) {
  station::Feedline f;
  f.id = id;
  f.cable = cable;
  f.length = station::Length::InMetres(lengthM);
  return f;
}

// An installation on a frequency (MHz) or, with `band`, on a band.
inline station::Installation OnFrequency(const std::string& id, const std::string& transmitter,
                                         const std::string& antenna, Real frequencyMHz) {
  station::Installation i;
  i.id = id;
  i.transmitter = transmitter;
  i.antenna = antenna;
  i.frequencyMHz = frequencyMHz;
  return i;
}

inline station::Installation OnBand(const std::string& id, const std::string& transmitter,
                                    const std::string& antenna, const std::string& band) {
  station::Installation i;
  i.id = id;
  i.transmitter = transmitter;
  i.antenna = antenna;
  i.band = band;
  return i;
}

inline station::Place Place(const std::string& name, Real x, Real y, Real height, bool controlled) {
  station::Place p;
  p.name = name;
  p.x = station::Length::InMetres(x);
  p.y = station::Length::InMetres(y);
  p.height = station::Length::InMetres(height);
  p.controlled = controlled;
  return p;
}

inline station::Station EmptyStation(bool groundReflection) {
  station::Station s;
  s.callsign = "VK9ZZT";
  s.groundReflection = groundReflection;
  return s;
}

inline StationEvaluation EvaluateWithTestTables(const station::Station& s,
                                                const EvaluationOptions& options = {}) {
  return Evaluate(s, TestTables(), options);
}

inline bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
  for (const std::string& t : texts) {
    if (t.find(part) != std::string::npos) return true;
  }
  return false;
}

}  // namespace korrin::assess::testing_support
