#include "nearfield/Tables.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "io/Csv.h"
#include "nearfield/TableText.h"
#include "nearfield/Text.h"

namespace korrin::nearfield {

namespace {

struct Loaded {
  std::vector<FieldLimitRow> limits;
  std::vector<GroundRow> grounds;
  std::vector<std::string> problems;
};

// Reads every row of `text` through `read`, which takes the row's fields by
// column name; a missing column or a field `read` refuses is a problem.
void ReadTable(const char* name, std::string_view text, const std::vector<std::string>& columns,
               const std::function<bool(const std::vector<std::string>&)>& read,
               std::vector<std::string>& problems) {
  const CsvTable table = ParseCsv(text);
  for (const std::string& p : table.problems) problems.push_back(std::string(name) + ": " + p);
  std::vector<int> at;
  for (const std::string& c : columns) {
    at.push_back(table.Column(c));
    if (at.back() < 0) {
      problems.push_back(std::string(name) + ": no column \"" + c + "\"");
      return;
    }
  }
  std::vector<std::string> fields(columns.size());
  for (size_t r = 0; r < table.rows.size(); ++r) {
    for (size_t c = 0; c < columns.size(); ++c) fields[c] = table.rows[r][at[c]];
    if (!read(fields)) {
      problems.push_back(std::string(name) + ": line " + std::to_string(table.lines[r]) +
                         ": a field cannot be read");
    }
  }
}

bool ReadNumber(const std::string& text, Real& out) {
  const auto v = ToDouble(text);
  if (!v) return false;
  out = *v;
  return true;
}

std::optional<LimitSet> SetOf(std::string_view id) {
  if (id == "fcc") return LimitSet::Fcc;
  if (id == "icnirp-2020") return LimitSet::Icnirp2020;
  return std::nullopt;
}

std::optional<Tier> TierOf(std::string_view id) {
  if (id == "general") return Tier::General;
  if (id == "occupational") return Tier::Occupational;
  return std::nullopt;
}

std::optional<LimitKind> KindOf(std::string_view id) {
  if (id == "whole-body") return LimitKind::WholeBody;
  if (id == "local") return LimitKind::Local;
  if (id == "nerve-stimulation") return LimitKind::NerveStimulation;
  return std::nullopt;
}

Loaded Load() {
  Loaded l;
  ReadTable(
      "field-limits.csv", TableText_field_limits(),
      {"set", "tier", "kind", "lower-mhz", "upper-mhz", "e-v-per-m", "e-exponent", "h-a-per-m",
       "h-exponent", "averaging-minutes", "source"},
      [&l](const std::vector<std::string>& f) {
        FieldLimitRow row;
        const auto set = SetOf(f[0]);
        const auto tier = TierOf(f[1]);
        const auto kind = KindOf(f[2]);
        if (!set || !tier || !kind) return false;
        row.set = *set;
        row.tier = *tier;
        row.kind = *kind;
        if (!ReadNumber(f[3], row.lowerMHz) || !ReadNumber(f[4], row.upperMHz) ||
            !ReadNumber(f[5], row.eVPerM) || !ReadNumber(f[6], row.eExponent) ||
            !ReadNumber(f[7], row.hAPerM) || !ReadNumber(f[8], row.hExponent) ||
            !ReadNumber(f[9], row.averagingMinutes)) {
          return false;
        }
        if (row.lowerMHz <= 0 || row.upperMHz <= row.lowerMHz || row.eVPerM <= 0 ||
            row.hAPerM <= 0 || row.averagingMinutes < 0 || f[10].empty()) {
          return false;
        }
        row.source = f[10];
        l.limits.push_back(std::move(row));
        return true;
      },
      l.problems);
  ReadTable(
      "grounds.csv", TableText_grounds(),
      {"id", "name", "relative-permittivity", "conductivity-s-per-m", "source"},
      [&l](const std::vector<std::string>& f) {
        GroundRow row;
        row.id = f[0];
        row.name = f[1];
        if (!ReadNumber(f[2], row.relativePermittivity) ||
            !ReadNumber(f[3], row.conductivitySPerM)) {
          return false;
        }
        if (row.id.empty() || row.relativePermittivity < 1 || row.conductivitySPerM < 0 ||
            f[4].empty()) {
          return false;
        }
        row.source = f[4];
        l.grounds.push_back(std::move(row));
        return true;
      },
      l.problems);
  return l;
}

const Loaded& Tables() {
  static const Loaded loaded = Load();
  return loaded;
}

}  // namespace

const char* LimitSetId(LimitSet set) {
  return set == LimitSet::Fcc ? "fcc" : "icnirp-2020";
}

const char* TierId(Tier tier) {
  return tier == Tier::General ? "general" : "occupational";
}

const char* LimitKindId(LimitKind kind) {
  switch (kind) {
    case LimitKind::WholeBody:
      return "whole-body";
    case LimitKind::Local:
      return "local";
    case LimitKind::NerveStimulation:
      return "nerve-stimulation";
  }
  return "";
}

const std::vector<FieldLimitRow>& FieldLimitRows() {
  return Tables().limits;
}

const std::vector<GroundRow>& GroundRows() {
  return Tables().grounds;
}

const std::vector<std::string>& TableProblems() {
  return Tables().problems;
}

namespace {

// A row's limit by its formula at a frequency.
FieldLimit RowLimitAt(const FieldLimitRow& row, Real frequencyMHz) {
  FieldLimit limit;
  limit.eVPerM = row.eVPerM / std::pow(frequencyMHz, row.eExponent);
  limit.hAPerM = row.hAPerM / std::pow(frequencyMHz, row.hExponent);
  limit.averagingMinutes = row.averagingMinutes;
  limit.row = &row;
  return limit;
}

bool Matches(const FieldLimitRow& row, LimitSet set, Tier tier, LimitKind kind) {
  return row.set == set && row.tier == tier && row.kind == kind;
}

}  // namespace

std::optional<FieldLimit> FieldLimitAt(LimitSet set, Tier tier, LimitKind kind, Real frequencyMHz) {
  for (const FieldLimitRow& row : FieldLimitRows()) {
    if (!Matches(row, set, tier, kind)) continue;
    // In the table's own precision, so that a breakpoint given as a
    // decimal ("1.34") falls into the row it begins.
    const double f = static_cast<double>(frequencyMHz);
    if (f < static_cast<double>(row.lowerMHz) || f >= static_cast<double>(row.upperMHz)) continue;
    return RowLimitAt(row, frequencyMHz);
  }
  return std::nullopt;
}

std::optional<FieldLimit> LowestFieldLimit(LimitSet set, Tier tier, LimitKind kind,
                                           const LimitBand& band) {
  if (!(band.upperMHz > band.lowerMHz)) return FieldLimitAt(set, tier, kind, band.lowerMHz);
  // Each row's formula falls or stays level with the frequency, so its
  // lowest lies at a band edge or at a row's end inside the band.
  std::vector<Real> at{band.lowerMHz, band.upperMHz};
  for (const FieldLimitRow& row : FieldLimitRows()) {
    if (!Matches(row, set, tier, kind)) continue;
    for (Real end : {row.lowerMHz, row.upperMHz}) {
      if (end > band.lowerMHz && end < band.upperMHz) at.push_back(end);
    }
  }
  std::optional<FieldLimit> lowest;
  for (const FieldLimitRow& row : FieldLimitRows()) {
    if (!Matches(row, set, tier, kind)) continue;
    for (Real f : at) {
      const double d = static_cast<double>(f);
      if (d < static_cast<double>(row.lowerMHz) || d > static_cast<double>(row.upperMHz)) continue;
      const FieldLimit l = RowLimitAt(row, f);
      if (!lowest) {
        lowest = l;
        continue;
      }
      if (l.eVPerM < lowest->eVPerM) {
        lowest->eVPerM = l.eVPerM;
        lowest->row = l.row;
      }
      lowest->hAPerM = std::min(lowest->hAPerM, l.hAPerM);
    }
  }
  return lowest;
}

const GroundRow* FindGround(std::string_view id) {
  for (const GroundRow& row : GroundRows()) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

}  // namespace korrin::nearfield
