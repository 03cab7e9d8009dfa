#include "station/Tables.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "station/TableReader.h"
#include "station/TablesText.h"

namespace korrin::station {

namespace {

struct AllTables {
  std::vector<BandRow> bands;
  std::vector<ModeRow> modes;
  std::vector<CableRow> cables;
  std::vector<AntennaKindRow> kinds;
  std::vector<std::string> problems;
};

void ReadBands(AllTables& all) {
  Reader r("data/bands.csv", TableText_bands());
  for (std::size_t i = 0; i < r.Rows(); ++i) {
    const std::size_t before = r.ProblemCount();
    BandRow row;
    row.name = r.Text(i, "name");
    const auto region = r.Number(i, "region");
    const auto lower = r.Number(i, "lower_mhz");
    const auto upper = r.Number(i, "upper_mhz");
    row.source = r.Source(i);
    if (region && (*region == 1 || *region == 2 || *region == 3)) {
      row.region = static_cast<int>(*region);
    } else {
      r.Problem(i, "region is not 1, 2 or 3");
    }
    if (lower && upper && *lower > 0 && *lower < *upper) {
      row.lowerMHz = *lower;
      row.upperMHz = *upper;
    } else {
      r.Problem(i, "the edges are not 0 < lower < upper");
    }
    if (row.name.empty()) r.Problem(i, "no name");
    if (r.ProblemCount() == before) all.bands.push_back(row);
  }
  all.problems.insert(all.problems.end(), r.Problems().begin(), r.Problems().end());
}

void ReadModes(AllTables& all) {
  Reader r("data/modes.csv", TableText_modes());
  for (std::size_t i = 0; i < r.Rows(); ++i) {
    const std::size_t before = r.ProblemCount();
    ModeRow row;
    row.id = r.Text(i, "id");
    row.name = r.Text(i, "name");
    const auto duty = r.Number(i, "duty");
    row.onMinutes = r.Number(i, "on_minutes", true);
    row.offMinutes = r.Number(i, "off_minutes", true);
    row.source = r.Source(i);
    if (duty && *duty > 0 && *duty <= 1) {
      row.duty = *duty;
    } else {
      r.Problem(i, "duty is not 0 < duty <= 1");
    }
    if (row.onMinutes.has_value() != row.offMinutes.has_value()) {
      r.Problem(i, "give both on_minutes and off_minutes or neither");
    } else if (row.onMinutes && (*row.onMinutes <= 0 || *row.offMinutes < 0)) {
      r.Problem(i, "the cycle is not on > 0, off >= 0");
    }
    if (row.id.empty()) r.Problem(i, "no id");
    if (r.ProblemCount() == before) all.modes.push_back(row);
  }
  all.problems.insert(all.problems.end(), r.Problems().begin(), r.Problems().end());
}

void ReadCables(AllTables& all) {
  Reader r("data/cables.csv", TableText_cables());
  for (std::size_t i = 0; i < r.Rows(); ++i) {
    const std::size_t before = r.ProblemCount();
    CableRow row;
    row.id = r.Text(i, "id");
    row.name = r.Text(i, "name");
    const auto k1 = r.Number(i, "k1");
    const auto k2 = r.Number(i, "k2");
    const auto f1 = r.Number(i, "check_mhz_1");
    const auto a1 = r.Number(i, "check_db_per_100m_1");
    const auto f2 = r.Number(i, "check_mhz_2");
    const auto a2 = r.Number(i, "check_db_per_100m_2");
    row.source = r.Source(i);
    if (k1 && k2 && *k1 >= 0 && *k2 >= 0 && *k1 + *k2 > 0) {
      row.k1 = *k1;
      row.k2 = *k2;
    } else {
      r.Problem(i, "k1 and k2 are not >= 0, one of them > 0");
    }
    if (f1 && a1 && f2 && a2 && *f1 > 0 && *a1 > 0 && *f2 > *f1 && *a2 > 0) {
      row.checkMHz1 = *f1;
      row.checkDbPer100m1 = *a1;
      row.checkMHz2 = *f2;
      row.checkDbPer100m2 = *a2;
    } else {
      r.Problem(i, "the check figures are not two positive losses at rising frequencies");
    }
    if (row.id.empty()) r.Problem(i, "no id");
    if (r.ProblemCount() == before) all.cables.push_back(row);
  }
  all.problems.insert(all.problems.end(), r.Problems().begin(), r.Problems().end());
}

void ReadKinds(AllTables& all) {
  Reader r("data/antenna-kinds.csv", TableText_antenna_kinds());
  for (std::size_t i = 0; i < r.Rows(); ++i) {
    const std::size_t before = r.ProblemCount();
    AntennaKindRow row;
    row.kind = r.Text(i, "kind");
    row.name = r.Text(i, "name");
    row.gainDbi = r.Number(i, "gain_dbi", true);
    row.gainIncludesGround = r.Flag(i, "gain_includes_ground");
    row.source = r.Source(i);
    if (row.kind.empty()) r.Problem(i, "no kind");
    if (r.ProblemCount() == before) all.kinds.push_back(row);
  }
  all.problems.insert(all.problems.end(), r.Problems().begin(), r.Problems().end());
}

template <typename Row>
void RequireUnique(const std::vector<Row>& rows, std::string (*key)(const Row&), const char* file,
                   std::vector<std::string>& problems) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (key(rows[i]) == key(rows[j]))
        problems.push_back(std::string(file) + ": " + key(rows[i]) + " twice");
    }
  }
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

const AllTables& Tables() {
  static const AllTables all = [] {
    AllTables t;
    ReadBands(t);
    ReadModes(t);
    ReadCables(t);
    ReadKinds(t);
    RequireUnique<BandRow>(
        t.bands,
        [](const BandRow& b) { return Lower(b.name) + " region " + std::to_string(b.region); },
        "data/bands.csv", t.problems);
    RequireUnique<ModeRow>(
        t.modes, [](const ModeRow& m) { return m.id; }, "data/modes.csv", t.problems);
    RequireUnique<CableRow>(
        t.cables, [](const CableRow& c) { return Lower(c.id); }, "data/cables.csv", t.problems);
    RequireUnique<AntennaKindRow>(
        t.kinds, [](const AntennaKindRow& k) { return k.kind; }, "data/antenna-kinds.csv",
        t.problems);
    return t;
  }();
  return all;
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

const std::vector<BandRow>& Bands() {
  return Tables().bands;
}
const std::vector<ModeRow>& Modes() {
  return Tables().modes;
}
const std::vector<CableRow>& Cables() {
  return Tables().cables;
}
const std::vector<AntennaKindRow>& AntennaKinds() {
  return Tables().kinds;
}
std::vector<std::string> TableProblems() {
  return Tables().problems;
}

const BandRow* FindBand(std::string_view name, int region) {
  for (const BandRow& b : Bands()) {
    if (b.region == region && SameWithoutCase(b.name, name)) return &b;
  }
  return nullptr;
}

const ModeRow* FindMode(std::string_view id) {
  for (const ModeRow& m : Modes()) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

const CableRow* FindCable(std::string_view id) {
  for (const CableRow& c : Cables()) {
    if (SameWithoutCase(c.id, id)) return &c;
  }
  return nullptr;
}

const AntennaKindRow* FindAntennaKind(std::string_view kind) {
  for (const AntennaKindRow& k : AntennaKinds()) {
    if (k.kind == kind) return &k;
  }
  return nullptr;
}

Real MatchedLossDbPer100m(const CableRow& cable, Real frequencyMHz) {
  return cable.k1 * std::sqrt(frequencyMHz) + cable.k2 * frequencyMHz;
}

std::vector<std::string> BandNames() {
  // The table lists each band's regions together, from the longest wavelength.
  std::vector<std::string> names;
  for (const BandRow& b : Bands()) {
    if (std::find(names.begin(), names.end(), b.name) == names.end()) names.push_back(b.name);
  }
  return names;
}

}  // namespace korrin::station
