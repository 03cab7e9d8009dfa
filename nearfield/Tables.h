// The near field's data tables, built into the program from data/: the
// electric and magnetic field limits (data/field-limits.csv) and the named
// grounds (data/grounds.csv), a source on every row.  Code names a row,
// never repeats one of its numbers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nearfield/Types.h"

namespace korrin::nearfield {

enum class LimitSet { Fcc, Icnirp2020 };
enum class Tier { General, Occupational };

// What a limit applies to: the field at a point or spatially averaged over
// the body (FCC Table 1, ICNIRP 2020 Table 5), the local levels that hold
// at every point (ICNIRP 2020 Table 6), and the instantaneous levels against
// nerve stimulation on the peak envelope power (ICNIRP 2010, below 10 MHz).
enum class LimitKind { WholeBody, Local, NerveStimulation };

const char* LimitSetId(LimitSet set);     // "fcc", "icnirp-2020"
const char* TierId(Tier tier);            // "general", "occupational"
const char* LimitKindId(LimitKind kind);  // "whole-body", "local", "nerve-stimulation"

struct FieldLimitRow {
  LimitSet set = LimitSet::Fcc;
  Tier tier = Tier::General;
  LimitKind kind = LimitKind::WholeBody;
  Real lowerMHz = 0;  // inclusive
  Real upperMHz = 0;  // exclusive
  Real eVPerM = 0;    // E limit = eVPerM / f^eExponent, RMS, f in MHz
  Real eExponent = 0;
  Real hAPerM = 0;  // H limit = hAPerM / f^hExponent, RMS
  Real hExponent = 0;
  Real averagingMinutes = 0;  // 0: instantaneous, on the peak envelope power
  std::string source;
};

struct GroundRow {
  std::string id;    // "average", "poor", "good": the station file's word
  std::string name;  // in words
  Real relativePermittivity = 1;
  Real conductivitySPerM = 0;
  std::string source;
};

const std::vector<FieldLimitRow>& FieldLimitRows();
const std::vector<GroundRow>& GroundRows();

// What the built-in tables' text held that could not be read; empty in a
// sound build (a test checks it).
const std::vector<std::string>& TableProblems();

// The limit of a set, tier and kind at a frequency; empty where the table
// has no row (outside the set's range, or a kind the set does not have).
struct FieldLimit {
  Real eVPerM = 0;
  Real hAPerM = 0;
  Real averagingMinutes = 0;  // 0: instantaneous
  const FieldLimitRow* row = nullptr;
};
std::optional<FieldLimit> FieldLimitAt(LimitSet set, Tier tier, LimitKind kind, Real frequencyMHz);

// The frequencies limits are taken over: one, or a band with both edges.
struct LimitBand {
  Real lowerMHz = 0;
  Real upperMHz = 0;
  static LimitBand At(Real frequencyMHz) { return {frequencyMHz, frequencyMHz}; }
};

// The limit of a set, tier and kind over a band, on the cautious side: its
// electric and its magnetic limit each the lowest anywhere in the band,
// both edges included, where two rows meet each row's own formula taken up
// to its end; empty where no row reaches into the band.  A band of one
// frequency gives FieldLimitAt's.
std::optional<FieldLimit> LowestFieldLimit(LimitSet set, Tier tier, LimitKind kind,
                                           const LimitBand& band);

// A named ground by the file's word; nullptr when there is none.
const GroundRow* FindGround(std::string_view id);

}  // namespace korrin::nearfield
