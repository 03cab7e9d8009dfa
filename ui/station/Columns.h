// The columns of the station window's tables: for each table the columns
// in the user's words (a band or a frequency, a mode or a duty factor, a
// cable or a measured loss, metres or feet), the file's keys each column
// sets, the text a cell shows and starts its editor with, and the choices
// a picker offers (the data tables' rows, the ids that exist).  Edits of
// cells are in CellEdit.h.  No toolkit here.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "station/Schema.h"
#include "station/Station.h"
#include "ui/station/Edit.h"

namespace korrin::stationui {

enum class CellKind {
  Text,            // free text: an id, a name, a group
  Number,          // a number in the column's unit
  Length,          // a length in metres or feet ("12 m", "40 ft")
  Gain,            // a gain in dBi or dBd
  Choice,          // one of Choices(): a row of a data table, an id, yes or no
  ChoiceOrNumber,  // a row of a data table, or a number in the column's unit
                   // (a mode or a duty factor; a cable or a measured loss)
  Cycle,           // minutes on and off, "3 / 7"
};

struct Column {
  std::string_view header;  // "Power"
  std::string_view name;    // the column's name for the accessible names and tests: "power"
  CellKind kind = CellKind::Text;
  std::string_view unit;  // "W", "MHz", "dB", "min"; empty for lengths, gains and words
  // The schema's quantities the column sets (one or two), e.g. {"mode", "duty"}.
  std::string_view quantity;
  std::string_view otherQuantity;
  bool optional = false;  // an empty text clears it
  std::string_view help;  // what the cell takes, in words (tool tip, accessible description)
};

// The file's section of a table's entries (the outline: the property).
st::Section SectionOf(Table table);

// "Transmitters", "Feed lines", ...
std::string_view TableTitle(Table table);

// The singular, for commands and undo texts: "transmitter", "feed line".
std::string_view EntryWord(Table table);

std::span<const Column> Columns(Table table);

// The column that sets a key of the table's section ("power-w", "x-ft",
// "off-minutes"); -1 for a key no column sets.
int ColumnOfKey(Table table, std::string_view key);

// The entry's id ("ft-991") or place name; the outline's corner number
// ("3").
std::string RowName(const st::Station& station, Table table, std::size_t row);

// What a cell shows.  Derived values (a kind's own gain, a mode's own
// cycle, the station's ground reflection) stand in parentheses.
std::string CellText(const st::Station& station, Table table, std::size_t row, std::size_t column);

// What the cell's editor starts with: the value as the user would type it
// ("100 W", "40 ft", "ssb"); empty for a value not given.
std::string EditText(const st::Station& station, Table table, std::size_t row, std::size_t column);

// Whether the cell holds a value of the entry (false: it shows a value
// derived or not applying, e.g. the length of a measured line).
bool CellGiven(const st::Station& station, Table table, std::size_t row, std::size_t column);

struct Choice {
  Choice(std::string w, std::string l, std::string n = {})
      : word(std::move(w)), label(std::move(l)), name(std::move(n)) {}
  std::string word;   // as the file writes it ("ssb", "LMR-400", "true"); empty: not given
  std::string label;  // as the picker shows it ("Conversational SSB, 20 %")
  std::string name;   // the table row's name ("Conversational SSB"); empty: none but the label
};

// The choices of a Choice or ChoiceOrNumber column (the ids that exist, the
// bands of the station's region, ...), in the order a picker lists them;
// empty for other columns.
std::vector<Choice> Choices(const st::Station& station, Table table, std::size_t column);

// The choice a typed text names.  Case does not matter.  The text names
// the choice whose word, name or label it is; failing that, the one choice
// whose word, name or label it begins ("ssb-p", "rg-2").  A text that
// begins several and is none of them names none: `candidates` lists them,
// so that the user can be told which words to tell apart.  An empty text
// names only a choice whose word is empty.
struct NamedChoice {
  const Choice* choice = nullptr;         // nullptr: none named
  std::vector<const Choice*> candidates;  // two or more: the text is ambiguous
};
NamedChoice FindChoice(std::span<const Choice> choices, std::string_view typed);

// A length's text: "12 m", "40 ft".
std::string LengthText(const st::Length& length);

}  // namespace korrin::stationui
