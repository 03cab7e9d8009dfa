// A change of the station as the station window makes it: a list of steps,
// each replacing, inserting, removing or moving one entry of a table, or
// setting the station's heading or its property line.  Applying a step
// gives the step that undoes it, so that an undo stack reverses any edit
// exactly, and the window's tables learn from each step which rows to
// redraw.  No toolkit here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "station/Station.h"

namespace korrin::stationui {

namespace st = korrin::station;
using Real = st::Real;

// The tables the window edits, one row an entry (the outline: one row a
// corner of the property line).
enum class Table { Transmitters, Feedlines, Antennas, Installations, Places, Outline };

inline constexpr Table kTables[] = {Table::Transmitters,  Table::Feedlines, Table::Antennas,
                                    Table::Installations, Table::Places,    Table::Outline};

// The station's own keys: what the heading of the window shows.
struct Heading {
  std::string callsign;
  std::string site;
  std::string evaluatedBy;
  int region = 2;
  std::vector<st::LimitSetChoice> limitSets;
  std::optional<bool> groundReflection;
  std::optional<std::string> country;  // ISO 3166 code; empty: none named
};

Heading HeadingOf(const st::Station& station);

// The heading with `country` chosen: its region and limit sets become the
// country's own; choosing none keeps the region and sets as they are.
Heading WithCountry(Heading heading, const std::optional<std::string>& country);

using Entry = std::variant<st::Transmitter, st::Feedline, st::Antenna, st::Installation, st::Place,
                           st::Property::Point>;

struct Step {
  enum class Op {
    Replace,   // the entry at `row` becomes `entry`
    Insert,    // `entry` is inserted before `row` (row == count: at the end)
    Remove,    // the entry at `row` goes
    Move,      // the entry at `row` moves so that it stands at `to`
    Heading,   // the heading becomes `heading`
    Property,  // the property line becomes `property` (empty: none)
  };
  Op op = Op::Replace;
  Table table = Table::Transmitters;
  std::size_t row = 0;
  std::size_t to = 0;
  std::optional<Entry> entry;
  Heading heading;
  std::optional<st::Property> property;
};

// One edit: what the undo menu calls it ("Power of \"ft-991\"") and its steps.
struct Edit {
  std::string text;
  std::vector<Step> steps;
};

// The number of rows of a table (the outline: its corners; none without a
// property line).
std::size_t RowCount(const st::Station& station, Table table);

// The entry at a row; the row must exist.
Entry EntryAt(const st::Station& station, Table table, std::size_t row);

// Applies `step` and returns the step that undoes it.  The step must fit
// the station (its row inside the table, its entry of the table's type):
// the steps of an Edit made for this station always do.
Step Apply(st::Station& station, const Step& step);

// Forgets where each entry and key stood in the file the station was read
// from: once the window edits a station, those places no longer hold, and
// the checks' messages name entries by their ids alone.
void ForgetFilePlaces(st::Station& station);

// Applies every step of `edit` in order; returns the steps that undo them,
// to be applied in order as well.
std::vector<Step> ApplyAll(st::Station& station, const std::vector<Step>& steps);

}  // namespace korrin::stationui
