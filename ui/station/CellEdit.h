// Edits of the station as the window's cells, rows, heading and property
// line make them: the text typed into a cell in the user's words ("1.5 kW",
// "40 ft", "40 %", "LMR-400", "3 / 7"), rows added, removed, duplicated and
// moved, an id renamed together with every reference to it.  Each gives an
// Edit for the undo stack, or the reason it is refused: an edit after which
// the file's checks (Validate) find a problem they did not find before is
// refused with the checks' own words, so that the window never holds an
// entry the file would refuse.  No toolkit here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "station/Station.h"
#include "ui/station/Edit.h"

namespace korrin::stationui {

struct Outcome {
  std::optional<Edit> edit;  // empty: refused, or nothing would change
  std::string refusal;       // why it was refused, one problem a line; empty otherwise
  // Refused only because another cell of the same row must be given with
  // this one (a dish's diameter with the kind "dish", a cable's length with
  // the cable): that column, and the text proposed for it (may be empty).
  std::optional<std::size_t> needs;
  std::string suggestion;

  bool Refused() const { return !refusal.empty(); }
};

struct TypedCell {
  std::size_t column = 0;
  std::string text;
};

// The text typed into one cell, or into several cells of one row at once
// (one edit).  `newLengthUnit` is the unit of a bare number typed into a
// length that has none yet.  Renaming a transmitter, feed line or antenna
// renames the installations' references to it in the same edit.
Outcome EditCells(const st::Station& station, Table table, std::size_t row,
                  const std::vector<TypedCell>& cells,
                  st::LengthUnit newLengthUnit = st::LengthUnit::Metres);
Outcome EditCell(const st::Station& station, Table table, std::size_t row, std::size_t column,
                 std::string_view text, st::LengthUnit newLengthUnit = st::LengthUnit::Metres);

// A new entry after `after` (or at the end), with an unused id and the
// values a new entry starts with, lengths in `unit`.  An installation
// takes its transmitter, feed line, antenna, band and group from the one
// at `after` (else the first transmitter and antenna, the 20 m band); an
// outline corner goes half-way to the next corner.
Outcome AddRow(const st::Station& station, Table table, std::optional<std::size_t> after,
               st::LengthUnit unit);
Outcome RemoveRows(const st::Station& station, Table table, std::vector<std::size_t> rows);
// A copy of the entry after it, under an unused id ("ft-991-2").
Outcome DuplicateRow(const st::Station& station, Table table, std::size_t row);
// One row up (towards the start) or down.
Outcome MoveRow(const st::Station& station, Table table, std::size_t row, bool up);

// The heading as the window's fields set it.
Outcome EditHeading(const st::Station& station, const Heading& wanted);

// A property line: on (a rectangle 10 m, or 30 ft, around every antenna and
// place) or off.
Outcome SetPropertyLine(const st::Station& station, bool on, st::LengthUnit unit);
// The height at which the line is checked, typed ("2 m", "6.5 ft").
Outcome SetPropertyHeight(const st::Station& station, std::string_view text);
// The outline's unit; the corners keep their places (converted).
Outcome SetOutlineUnit(const st::Station& station, st::LengthUnit unit);

// The transmitters, feed lines, antennas, installations and places of
// `from` added to `station` (a station made from the calculator's), each
// under its own id unless that is in use (then "antenna-2"), the
// installations' references following; `from`'s heading and property line
// are left out.  With `reuseNamed`, a transmitter, feed line or antenna
// that an installation of `from` names and that `station` has the same in
// every key under the same id is not added again: the installation names
// the station's own.
Outcome AddStation(const st::Station& station, const st::Station& from, const std::string& text,
                   bool reuseNamed = false);

// Why `after` may not replace `before`: the problems the file's checks find
// in `after` and not in `before`, one a line without file positions; empty
// when there is none.  `renamedFrom`/`renamedTo`: the label of an entry
// before and after a rename, so that its old problems are not new ones.
std::string NewProblems(const st::Station& before, const st::Station& after,
                        const std::string& renamedFrom = {}, const std::string& renamedTo = {});

// A number typed with an optional unit ("1.5 kW", "40 %", "12'"): the value
// and the unit as typed, lower case; empty when the text is not a number
// (a finite one, "." as the decimal point) followed by at most a unit.
struct Amount {
  Real value = 0;
  std::string unit;
};
std::optional<Amount> ParseAmount(std::string_view text);

}  // namespace korrin::stationui
