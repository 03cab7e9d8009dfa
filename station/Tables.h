// The data tables of the station file: bands per ITU region, transmission
// modes, cables and antenna kinds.  The figures live in CSV files under
// data/, a source on every row, built into the program and read once.
// Code names a table's row, never repeats one of its numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korrin::station {

using Real = long double;

struct BandRow {
  std::string name;  // "20m", "70cm", "1.25m"
  int region = 0;    // ITU region 1, 2 or 3
  Real lowerMHz = 0;
  Real upperMHz = 0;
  std::string source;
};

struct ModeRow {
  std::string id;                 // "ssb", "cw", "ft8": the file's word
  std::string name;               // "Conversational SSB"
  Real duty = 1;                  // 0 < duty <= 1, while transmitting
  std::optional<Real> onMinutes;  // the mode's own transmit/receive cycle, both or neither
  std::optional<Real> offMinutes;
  std::string source;
};

struct CableRow {
  std::string id;    // "RG-213", "LMR-400", "7/8-foam", "ladder-450"
  std::string name;  // in words
  Real k1 = 0;       // matched loss per 100 m = k1 * sqrt(f) + k2 * f, f in MHz, dB
  Real k2 = 0;
  Real checkMHz1 = 0;        // the data sheet's own figures at two frequencies,
  Real checkDbPer100m1 = 0;  // against which the model is tested
  Real checkMHz2 = 0;
  Real checkDbPer100m2 = 0;
  std::string source;
};

struct AntennaKindRow {
  std::string kind;                 // "dipole", "vertical", "yagi", "dish", "gain", ...
  std::string name;                 // in words
  std::optional<Real> gainDbi;      // empty: the user gives it (or, for a dish, computed)
  bool gainIncludesGround = false;  // the gain already counts the ground's reflection
  std::string source;
};

const std::vector<BandRow>& Bands();
const std::vector<ModeRow>& Modes();
const std::vector<CableRow>& Cables();
const std::vector<AntennaKindRow>& AntennaKinds();

// What was wrong with the built-in tables' text (a row that does not read is
// left out of its table and named here); empty for a sound build.  The
// tests require it empty.
std::vector<std::string> TableProblems();

// Lookups by the file's word; nullptr when there is no such row.  Band and
// cable names are matched without regard to case.
const BandRow* FindBand(std::string_view name, int region);
const ModeRow* FindMode(std::string_view id);
const CableRow* FindCable(std::string_view id);
const AntennaKindRow* FindAntennaKind(std::string_view kind);

// The cable's matched loss in dB per 100 m at `frequencyMHz`.
Real MatchedLossDbPer100m(const CableRow& cable, Real frequencyMHz);

// The band names of the table, each once, from the longest wavelength to the
// shortest (for messages and pickers).
std::vector<std::string> BandNames();

}  // namespace korrin::station
