#include "ui/station/CellEdit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <span>
#include <type_traits>
#include <variant>

#include "station/Diagnostic.h"
#include "station/FileWords.h"
#include "station/Schema.h"
#include "station/StationFile.h"
#include "station/Tables.h"
#include "ui/station/Columns.h"

namespace korrin::stationui {

namespace {

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool OneOf(const std::string& unit, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), unit) != words.end();
}

// A problem of a typed text, in the form of the file's messages.
struct Problem {
  std::string key;
  std::string message;
};

// The entry being edited: its table and label, and the station around it.
struct Cell {
  const st::Station& station;
  Table table;
  st::Section section;
  st::LengthUnit newUnit;
};

using Result = std::optional<Problem>;

std::string Found(const std::string& text) {
  return "found \"" + text + "\"";
}

Problem Expected(st::Section section, std::string_view key, const std::string& text) {
  const st::KeyRule* schema = st::FindKey(section, key);
  return {std::string(key), "expected " +
                                std::string(schema != nullptr ? schema->expected : "a value") +
                                ", " + Found(text)};
}

// The word of the choice a text names (FindChoice: its word, name or
// label, else the start of one only); the text itself when it names none
// (the checks then name it).  A text that begins several choices and is
// none of them is refused with them.
Result ChoiceWord(const Cell& cell, std::size_t column, const std::string& text,
                  std::string& word) {
  const std::vector<Choice> choices = Choices(cell.station, cell.table, column);
  const NamedChoice named = FindChoice(choices, text);
  if (named.choice != nullptr) {
    word = named.choice->word;
    return std::nullopt;
  }
  if (named.candidates.empty()) {
    word = text;
    return std::nullopt;
  }
  std::string list;
  for (std::size_t i = 0; i < named.candidates.size(); ++i) {
    const Choice& c = *named.candidates[i];
    if (i > 0) list += i + 1 == named.candidates.size() ? " or " : ", ";
    list += c.name.empty() ? c.label : c.word + " (" + c.name + ")";
  }
  const Column& col = Columns(cell.table)[column];
  const st::KeyRule* key = st::FindKey(cell.section, col.quantity);
  return Problem{std::string(key != nullptr ? key->key : col.quantity),
                 "\"" + text + "\" could be " + list + ": type more of the one meant"};
}

std::optional<bool> FlagWord(const std::string& text) {
  const std::string w = Lower(text);
  if (OneOf(w, {"true", "yes", "on", "1"})) return true;
  if (OneOf(w, {"false", "no", "off", "0"})) return false;
  return std::nullopt;
}

// A number in a unit of `units` (unit, factor); the first unit also takes
// a bare number.
struct UnitFactor {
  std::string_view unit;
  Real factor;
};

Result ReadNumber(const std::string& text, std::span<const UnitFactor> units, st::Section section,
                  std::string_view key, Real& out) {
  const auto amount = ParseAmount(text);
  if (amount) {
    for (std::size_t i = 0; i < units.size(); ++i) {
      const UnitFactor& u = units[i];
      if (amount->unit == u.unit || (amount->unit.empty() && i == 0)) {
        out = static_cast<Real>(static_cast<double>(amount->value * u.factor));
        return std::nullopt;
      }
    }
  }
  return Expected(section, key, text);
}

Result ReadOptionalNumber(const std::string& text, std::span<const UnitFactor> units,
                          st::Section section, std::string_view key, std::optional<Real>& out) {
  if (text.empty()) {
    out.reset();
    return std::nullopt;
  }
  Real value = 0;
  if (auto p = ReadNumber(text, units, section, key, value)) return p;
  out = value;
  return std::nullopt;
}

std::optional<st::LengthUnit> LengthUnitWord(const std::string& unit) {
  if (OneOf(unit, {"m", "metre", "metres", "meter", "meters"})) return st::LengthUnit::Metres;
  if (OneOf(unit, {"ft", "feet", "foot", "'"})) return st::LengthUnit::Feet;
  return std::nullopt;
}

// A length typed: a bare number keeps `unit`.
Result ReadLength(const std::string& text, st::LengthUnit unit, st::Section section,
                  std::string_view quantity, st::Length& out) {
  const std::string_view key =
      st::KeyFor(section, quantity, unit == st::LengthUnit::Feet ? "-ft" : "-m").key;
  const auto amount = ParseAmount(text);
  if (!amount) return Expected(section, key, text);
  if (!amount->unit.empty()) {
    const auto typed = LengthUnitWord(amount->unit);
    if (!typed) return Expected(section, key, text);
    unit = *typed;
  }
  out = {static_cast<Real>(static_cast<double>(amount->value)), unit};
  return std::nullopt;
}

constexpr UnitFactor kPower[] = {{"w", 1}, {"kw", 1000}};
constexpr UnitFactor kDb[] = {{"db", 1}};
constexpr UnitFactor kPlain[] = {{"", 1}};
constexpr UnitFactor kFraction[] = {{"", 1}, {"%", 0.01L}};
constexpr UnitFactor kMegahertz[] = {{"mhz", 1}, {"khz", 0.001L}, {"ghz", 1000}, {"hz", 1e-6L}};
constexpr UnitFactor kMinutes[] = {
    {"min", 1}, {"minutes", 1}, {"minute", 1}, {"s", 1.0L / 60}, {"seconds", 1.0L / 60}};

// "3 / 7", "3 on / 7 off", "15 s / 15 s".
Result ReadCycle(const std::string& text, st::Transmitter& t) {
  if (text.empty()) {
    t.onMinutes.reset();
    t.offMinutes.reset();
    return std::nullopt;
  }
  const auto slash = text.find('/');
  if (slash == std::string::npos || text.find('/', slash + 1) != std::string::npos) {
    return Problem{"on-minutes", "give on-minutes and off-minutes together, or neither"};
  }
  auto part = [](std::string s, std::string_view word) {
    s = Lower(Trim(s));
    if (s.size() >= word.size() && s.compare(s.size() - word.size(), word.size(), word) == 0) {
      s = Trim(s.substr(0, s.size() - word.size()));
    }
    return s;
  };
  const std::string on = part(text.substr(0, slash), "on");
  const std::string off = part(text.substr(slash + 1), "off");
  Real onValue = 0;
  Real offValue = 0;
  if (auto p = ReadNumber(on, kMinutes, st::Section::Transmitter, "on-minutes", onValue)) return p;
  if (auto p = ReadNumber(off, kMinutes, st::Section::Transmitter, "off-minutes", offValue)) {
    return p;
  }
  t.onMinutes = onValue;
  t.offMinutes = offValue;
  return std::nullopt;
}

Result SetTransmitter(const Cell& cell, std::size_t column, const std::string& text,
                      st::Transmitter& t) {
  using S = st::Section;
  switch (column) {
    case 0:
      t.id = text;
      return std::nullopt;
    case 1:
      return ReadNumber(text, kPower, S::Transmitter, "power-w", t.powerW);
    case 2: {
      if (text.empty()) {
        t.mode.reset();
        t.duty.reset();
        return std::nullopt;
      }
      if (ParseAmount(text)) {
        Real duty = 0;
        if (auto p = ReadNumber(text, kFraction, S::Transmitter, "duty", duty)) return p;
        t.duty = duty;
        t.mode.reset();
        return std::nullopt;
      }
      std::string word;
      if (auto p = ChoiceWord(cell, column, text, word)) return p;
      t.mode = word;
      t.duty.reset();
      return std::nullopt;
    }
    case 3:
      return ReadCycle(text, t);
    default:
      return std::nullopt;
  }
}

Result SetFeedline(const Cell& cell, std::size_t column, const std::string& text, st::Feedline& f) {
  using S = st::Section;
  switch (column) {
    case 0:
      f.id = text;
      return std::nullopt;
    case 1: {
      if (text.empty()) {
        f.cable.reset();
        f.lossDb.reset();
        f.length.reset();
        return std::nullopt;
      }
      // A loss in dB unless the text is a cable's own word: "1" is 1 dB,
      // not the start of "1/2-foam".
      if (st::FindCable(text) == nullptr && ParseAmount(text)) {
        Real loss = 0;
        if (auto p = ReadNumber(text, kDb, S::Feedline, "loss-db", loss)) return p;
        f.lossDb = loss;
        f.cable.reset();
        f.length.reset();
        return std::nullopt;
      }
      std::string word;
      if (auto p = ChoiceWord(cell, column, text, word)) return p;
      f.cable = word;
      f.lossDb.reset();
      return std::nullopt;
    }
    case 2: {
      if (text.empty()) {
        f.length.reset();
        return std::nullopt;
      }
      st::Length l;
      const st::LengthUnit unit = f.length ? f.length->unit : cell.newUnit;
      if (auto p = ReadLength(text, unit, S::Feedline, "length", l)) return p;
      f.length = l;
      return std::nullopt;
    }
    case 3:
      if (text.empty()) {
        f.extraLossDb = 0;
        return std::nullopt;
      }
      return ReadNumber(text, kDb, S::Feedline, "extra-loss-db", f.extraLossDb);
    case 4: {
      std::string swr = text;
      if (swr.size() > 2 && swr.compare(swr.size() - 2, 2, ":1") == 0) {
        swr = Trim(swr.substr(0, swr.size() - 2));
      }
      return ReadOptionalNumber(swr, kPlain, S::Feedline, "swr", f.swr);
    }
    case 5: {
      std::string word;
      if (auto p = ChoiceWord(cell, column, text, word)) return p;
      const auto at = st::SwrAtFromWord(word);
      if (!at) return Expected(S::Feedline, "swr-at", text);
      f.swrAt = *at;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

Result SetAntenna(const Cell& cell, std::size_t column, const std::string& text, st::Antenna& a) {
  using S = st::Section;
  switch (column) {
    case 0:
      a.id = text;
      return std::nullopt;
    case 1: {
      if (auto p = ChoiceWord(cell, column, text, a.kind)) return p;
      // What the new kind settles itself goes: a gain of its own or a
      // dish's gain from its size; the size only a dish has.
      if (const st::AntennaKindRow* row = st::FindAntennaKind(a.kind)) {
        if (a.kind == "dish" || row->gainDbi) a.gain.reset();
        if (a.kind != "dish") {
          a.diameter.reset();
          a.efficiency.reset();
        }
        st::DropNearFieldKeysItsKindLacks(a);
      }
      return std::nullopt;
    }
    case 2: {
      if (text.empty()) {
        a.gain.reset();
        return std::nullopt;
      }
      const bool wasDbd = a.gain && a.gain->dbd;
      const auto amount = ParseAmount(text);
      if (!amount || !(amount->unit.empty() || amount->unit == "dbi" || amount->unit == "dbd")) {
        return Expected(S::Antenna, wasDbd ? "gain-dbd" : "gain-dbi", text);
      }
      const bool dbd = amount->unit == "dbd" || (amount->unit.empty() && wasDbd);
      a.gain = st::Gain{static_cast<Real>(amount->value), dbd};
      return std::nullopt;
    }
    case 3: {
      std::string word;
      if (auto p = ChoiceWord(cell, column, text, word)) return p;
      if (word.empty()) {
        a.gainIncludesGround.reset();
        return std::nullopt;
      }
      const auto flag = FlagWord(word);
      if (!flag) return Expected(S::Antenna, "gain-includes-ground", text);
      a.gainIncludesGround = flag;
      return std::nullopt;
    }
    case 4:
      return ReadLength(text, a.x.unit, S::Antenna, "x", a.x);
    case 5:
      return ReadLength(text, a.y.unit, S::Antenna, "y", a.y);
    case 6:
      return ReadLength(text, a.height.unit, S::Antenna, "height", a.height);
    case 7: {
      if (text.empty()) {
        a.diameter.reset();
        return std::nullopt;
      }
      st::Length l;
      const st::LengthUnit unit = a.diameter ? a.diameter->unit : cell.newUnit;
      if (auto p = ReadLength(text, unit, S::Antenna, "diameter", l)) return p;
      a.diameter = l;
      return std::nullopt;
    }
    case 8:
      return ReadOptionalNumber(text, kFraction, S::Antenna, "efficiency", a.efficiency);
    default:
      return std::nullopt;
  }
}

Result SetInstallation(const Cell& cell, std::size_t column, const std::string& text,
                       st::Installation& n) {
  using S = st::Section;
  auto optionalWord = [&](std::optional<std::string>& out) -> Result {
    std::string word;
    if (auto p = ChoiceWord(cell, column, text, word)) return p;
    if (word.empty()) {
      out.reset();
    } else {
      out = word;
    }
    return std::nullopt;
  };
  switch (column) {
    case 0:
      n.id = text;
      return std::nullopt;
    case 1:
      return ChoiceWord(cell, column, text, n.transmitter);
    case 2:
      return optionalWord(n.feedline);
    case 3:
      return ChoiceWord(cell, column, text, n.antenna);
    case 4:
      return optionalWord(n.band);
    case 5:
      return ReadOptionalNumber(text, kMegahertz, S::Installation, "frequency-mhz", n.frequencyMHz);
    case 6: {
      std::string word;
      if (auto p = ChoiceWord(cell, column, text, word)) return p;
      if (word.empty()) {
        n.groundReflection.reset();
        return std::nullopt;
      }
      const auto flag = FlagWord(word);
      if (!flag) return Expected(S::Installation, "ground-reflection", text);
      n.groundReflection = flag;
      return std::nullopt;
    }
    case 7:
      if (text.empty()) {
        n.group.reset();
      } else {
        n.group = text;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

Result SetPlace(const Cell& cell, std::size_t column, const std::string& text, st::Place& p) {
  using S = st::Section;
  switch (column) {
    case 0:
      p.name = text;
      return std::nullopt;
    case 1:
      return ReadLength(text, p.x.unit, S::Place, "x", p.x);
    case 2:
      return ReadLength(text, p.y.unit, S::Place, "y", p.y);
    case 3:
      return ReadLength(text, p.height.unit, S::Place, "height", p.height);
    case 4: {
      std::string word;
      if (auto p = ChoiceWord(cell, column, text, word)) return p;
      const std::string lower = Lower(word);
      if (lower == "household" || lower == "controlled") word = "true";
      if (lower == "public" || lower == "uncontrolled") word = "false";
      const auto flag = FlagWord(word);
      if (!flag) return Expected(S::Place, "controlled", text);
      p.controlled = *flag;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

Result SetCorner(const Cell& cell, std::size_t column, const std::string& text,
                 st::Property::Point& pt) {
  const st::LengthUnit unit = cell.station.property->unit;
  st::Length l;
  if (auto p = ReadLength(text, unit, st::Section::Property, "outline", l)) return p;
  const Real value = unit == st::LengthUnit::Feet ? l.Metres() / st::kMetresPerFoot : l.Metres();
  (column == 0 ? pt.x : pt.y) = l.unit == unit ? l.value : static_cast<Real>(double(value));
  return std::nullopt;
}

Result SetInEntry(const Cell& cell, std::size_t column, const std::string& text, Entry& entry) {
  return std::visit(
      [&](auto& e) -> Result {
        using T = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<T, st::Transmitter>)
          return SetTransmitter(cell, column, text, e);
        if constexpr (std::is_same_v<T, st::Feedline>) return SetFeedline(cell, column, text, e);
        if constexpr (std::is_same_v<T, st::Antenna>) return SetAntenna(cell, column, text, e);
        if constexpr (std::is_same_v<T, st::Installation>) {
          return SetInstallation(cell, column, text, e);
        }
        if constexpr (std::is_same_v<T, st::Place>) return SetPlace(cell, column, text, e);
        if constexpr (std::is_same_v<T, st::Property::Point>) {
          return SetCorner(cell, column, text, e);
        }
        return std::nullopt;
      },
      entry);
}

std::string IdOf(const Entry& entry) {
  return std::visit(
      [](const auto& e) -> std::string {
        using T = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<T, st::Place>) {
          return e.name;
        } else if constexpr (std::is_same_v<T, st::Property::Point>) {
          return {};
        } else {
          return e.id;
        }
      },
      entry);
}

std::string Label(Table table, const std::string& id, std::size_t row) {
  return st::EntryLabel(SectionOf(table), id, row);
}

std::string Quote(const std::string& id) {
  return "\"" + id + "\"";
}

// The installations' references to a renamed transmitter, feed line or
// antenna, renamed too.
void RenameReferences(const st::Station& s, Table table, const std::string& from,
                      const std::string& to, std::vector<Step>& steps) {
  if (from == to) return;
  for (std::size_t i = 0; i < s.installations.size(); ++i) {
    st::Installation n = s.installations[i];
    bool changed = false;
    if (table == Table::Transmitters && n.transmitter == from) {
      n.transmitter = to;
      changed = true;
    }
    if (table == Table::Feedlines && n.feedline == from) {
      n.feedline = to;
      changed = true;
    }
    if (table == Table::Antennas && n.antenna == from) {
      n.antenna = to;
      changed = true;
    }
    if (changed) {
      steps.push_back({Step::Op::Replace, Table::Installations, i, 0, Entry(n), {}, {}});
    }
  }
}

std::vector<st::Diagnostic> NewDiagnostics(const st::Station& before, const st::Station& after,
                                           const std::string& renamedFrom,
                                           const std::string& renamedTo) {
  std::vector<st::Diagnostic> old = st::Validate(before, "");
  if (!renamedFrom.empty()) {
    for (st::Diagnostic& d : old) {
      if (d.table == renamedFrom) d.table = renamedTo;
    }
  }
  std::vector<bool> used(old.size(), false);
  std::vector<st::Diagnostic> fresh;
  for (st::Diagnostic& d : st::Validate(after, "")) {
    bool seen = false;
    for (std::size_t i = 0; i < old.size() && !seen; ++i) {
      if (!used[i] && old[i].table == d.table && old[i].key == d.key &&
          old[i].message == d.message) {
        used[i] = true;
        seen = true;
      }
    }
    if (!seen) {
      d.at = {};  // the places of a file no longer hold after an edit
      fresh.push_back(std::move(d));
    }
  }
  return fresh;
}

std::string Lines(const std::vector<st::Diagnostic>& list) {
  std::string out;
  for (const st::Diagnostic& d : list) out += (out.empty() ? "" : "\n") + st::FormatDiagnostic(d);
  return out;
}

// The outcome of `edit` on `station`: the edit, or why not.
Outcome Checked(const st::Station& station, Edit edit, const std::string& renamedFrom = {},
                const std::string& renamedTo = {}) {
  st::Station after = station;
  ApplyAll(after, edit.steps);
  if (st::SameContent(station, after)) return {};
  const auto fresh = NewDiagnostics(station, after, renamedFrom, renamedTo);
  if (fresh.empty()) return {std::move(edit), {}, std::nullopt, {}};
  return {std::nullopt, Lines(fresh), std::nullopt, {}};
}

std::string ProblemText(const std::string& label, const Problem& p) {
  st::Diagnostic d;
  d.table = label;
  d.key = p.key;
  d.message = p.message;
  return st::FormatDiagnostic(d);
}

std::string UnusedId(const st::Station& s, Table table, const std::string& base) {
  auto used = [&](const std::string& id) {
    for (std::size_t i = 0; i < RowCount(s, table); ++i) {
      if (RowName(s, table, i) == id) return true;
    }
    return false;
  };
  if (!used(base)) return base;
  for (int n = 2;; ++n) {
    std::string id = base + "-" + std::to_string(n);
    if (!used(id)) return id;
  }
}

void SetId(Entry& entry, const std::string& id) {
  std::visit(
      [&](auto& e) {
        using T = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<T, st::Place>)
          e.name = id;
        else if constexpr (!std::is_same_v<T, st::Property::Point>)
          e.id = id;
      },
      entry);
}

// An entry made in the window has no place in a file.
void ForgetPlaces(Entry& entry) {
  std::visit(
      [](auto& e) {
        using T = std::decay_t<decltype(e)>;
        if constexpr (!std::is_same_v<T, st::Property::Point>) {
          e.at = {};
          e.keys.clear();
        }
      },
      entry);
}

st::Length InUnit(Real metres, Real feet, st::LengthUnit unit) {
  return unit == st::LengthUnit::Feet ? st::Length{feet, unit} : st::Length{metres, unit};
}

Entry NewEntry(const st::Station& s, Table table, std::optional<std::size_t> after,
               st::LengthUnit unit) {
  switch (table) {
    case Table::Transmitters: {
      st::Transmitter t;
      t.id = UnusedId(s, table, "transmitter");
      t.powerW = 100;
      t.mode = "ssb";
      return t;
    }
    case Table::Feedlines: {
      st::Feedline f;
      f.id = UnusedId(s, table, "feedline");
      f.lossDb = 0;
      return f;
    }
    case Table::Antennas: {
      st::Antenna a;
      a.id = UnusedId(s, table, "antenna");
      a.kind = "dipole";
      a.x = InUnit(0, 0, unit);
      a.y = InUnit(0, 0, unit);
      a.height = InUnit(10, 33, unit);
      return a;
    }
    case Table::Installations: {
      st::Installation n;
      if (after && *after < s.installations.size()) {
        n = s.installations[*after];
        n.at = {};
        n.keys.clear();
      } else {
        if (!s.transmitters.empty()) n.transmitter = s.transmitters.front().id;
        if (!s.antennas.empty()) n.antenna = s.antennas.front().id;
        n.band = "20m";
      }
      n.id = UnusedId(s, table, "installation");
      return n;
    }
    case Table::Places: {
      st::Place p;
      p.name = UnusedId(s, table, "place");
      p.x = InUnit(0, 0, unit);
      p.y = InUnit(0, 0, unit);
      p.height = InUnit(2, 6.5L, unit);
      return p;
    }
    case Table::Outline: {
      const auto& corners = s.property.value().outline;
      if (corners.empty()) return st::Property::Point{};
      const std::size_t i = after.value_or(corners.size() - 1) % corners.size();
      const auto& a = corners[i];
      const auto& b = corners[(i + 1) % corners.size()];
      return st::Property::Point{static_cast<Real>(static_cast<double>((a.x + b.x) / 2)),
                                 static_cast<Real>(static_cast<double>((a.y + b.y) / 2))};
    }
  }
  return st::Place{};
}

// Whether two entries of one table are the same in every key the file
// holds: written as files of their own, the same text.
bool SameEntry(const Entry& a, const Entry& b) {
  const auto written = [](const Entry& entry) {
    st::Station one;
    std::visit(
        [&one](const auto& e) {
          using T = std::decay_t<decltype(e)>;
          if constexpr (std::is_same_v<T, st::Transmitter>) one.transmitters.push_back(e);
          if constexpr (std::is_same_v<T, st::Feedline>) one.feedlines.push_back(e);
          if constexpr (std::is_same_v<T, st::Antenna>) one.antennas.push_back(e);
          if constexpr (std::is_same_v<T, st::Installation>) one.installations.push_back(e);
          if constexpr (std::is_same_v<T, st::Place>) one.places.push_back(e);
        },
        entry);
    return st::WriteStation(one);
  };
  return a.index() == b.index() && written(a) == written(b);
}

}  // namespace

std::optional<Amount> ParseAmount(std::string_view text) {
  const std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  const char* begin = t.data();
  const char* end = begin + t.size();
  if (*begin == '+') ++begin;
  double value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr == begin || !std::isfinite(value)) return std::nullopt;
  // "inf" and "nan" are refused above; hexadecimal is not read by from_chars.
  const std::string unit = Lower(Trim(std::string_view(ptr, static_cast<std::size_t>(end - ptr))));
  for (const char c : unit) {
    if (!std::isalpha(static_cast<unsigned char>(c)) && c != '%' && c != '\'') return std::nullopt;
  }
  return Amount{static_cast<Real>(value), unit};
}

std::string NewProblems(const st::Station& before, const st::Station& after,
                        const std::string& renamedFrom, const std::string& renamedTo) {
  return Lines(NewDiagnostics(before, after, renamedFrom, renamedTo));
}

Outcome EditCells(const st::Station& station, Table table, std::size_t row,
                  const std::vector<TypedCell>& cells, st::LengthUnit newLengthUnit) {
  if (row >= RowCount(station, table) || cells.empty()) return {};
  const Cell cell{station, table, SectionOf(table), newLengthUnit};
  const Entry before = EntryAt(station, table, row);
  const std::string oldId = IdOf(before);
  const std::string oldLabel = Label(table, oldId, row);
  Entry entry = before;
  std::vector<std::size_t> typedColumns;
  for (const TypedCell& typed : cells) {
    typedColumns.push_back(typed.column);
    const std::span<const Column> columns = Columns(table);
    if (typed.column >= columns.size()) return {};
    // Words and numbers are trimmed; free text (a name) is kept as typed
    // but for blanks at its ends, which a file's reader would not notice.
    if (auto problem = SetInEntry(cell, typed.column, Trim(typed.text), entry)) {
      return {std::nullopt, ProblemText(oldLabel, *problem), std::nullopt, {}};
    }
  }
  const std::string newId = IdOf(entry);
  Edit edit;
  const Column& first = Columns(table)[cells.front().column];
  edit.text = std::string(first.header) + " of " +
              (table == Table::Outline ? "corner " + RowName(station, table, row) : Quote(oldId));
  if (newId != oldId && table != Table::Outline) {
    edit.text =
        "Rename " + std::string(EntryWord(table)) + " " + Quote(oldId) + " to " + Quote(newId);
  }
  edit.steps.push_back({Step::Op::Replace, table, row, 0, entry, {}, {}});
  RenameReferences(station, table, oldId, newId, edit.steps);
  const std::string newLabel = Label(table, newId, row);
  st::Station after = station;
  ApplyAll(after, edit.steps);
  if (st::SameContent(station, after)) return {};
  const auto fresh = NewDiagnostics(station, after, oldLabel, newLabel);
  if (fresh.empty()) return {std::move(edit), {}, std::nullopt, {}};
  Outcome outcome{std::nullopt, Lines(fresh), std::nullopt, {}};

  // Refused only for want of another cell of this row: name that cell.
  std::optional<std::size_t> needs;
  bool onlyMissing = true;
  auto typed = [&typedColumns](int column) {
    return std::find(typedColumns.begin(), typedColumns.end(), static_cast<std::size_t>(column)) !=
           typedColumns.end();
  };
  for (const st::Diagnostic& d : fresh) {
    int column = ColumnOfKey(table, d.key);
    // An installation's band and frequency stand in for each other: the
    // file names the band when neither is given.
    if (table == Table::Installations && typed(column) && (column == 4 || column == 5)) {
      column = column == 4 ? 5 : 4;
    }
    const bool missing =
        d.table == newLabel && d.message.rfind("missing", 0) == 0 && column >= 0 && !typed(column);
    if (!missing || (needs && *needs != static_cast<std::size_t>(column))) {
      onlyMissing = false;
      break;
    }
    needs = static_cast<std::size_t>(column);
  }
  if (onlyMissing && needs) {
    outcome.needs = needs;
    // A kind that needs a gain starts from the gain the antenna had.
    if (table == Table::Antennas && *needs == 2) {
      const auto& old = std::get<st::Antenna>(before);
      if (const st::AntennaKindRow* row = st::FindAntennaKind(old.kind); row && row->gainDbi) {
        outcome.suggestion = st::NumberText(*row->gainDbi) + " dBi";
      }
    }
  }
  return outcome;
}

Outcome EditCell(const st::Station& station, Table table, std::size_t row, std::size_t column,
                 std::string_view text, st::LengthUnit newLengthUnit) {
  return EditCells(station, table, row, {{column, std::string(text)}}, newLengthUnit);
}

Outcome AddRow(const st::Station& station, Table table, std::optional<std::size_t> after,
               st::LengthUnit unit) {
  if (table == Table::Outline && !station.property) return {};
  const std::size_t count = RowCount(station, table);
  if (after && *after >= count) after.reset();
  Entry entry = NewEntry(station, table, after, unit);
  ForgetPlaces(entry);
  const std::size_t at = after ? *after + 1 : count;
  Edit edit{"Add " + std::string(EntryWord(table)), {}};
  edit.steps.push_back({Step::Op::Insert, table, at, 0, std::move(entry), {}, {}});
  return Checked(station, std::move(edit));
}

Outcome RemoveRows(const st::Station& station, Table table, std::vector<std::size_t> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  const std::size_t count = RowCount(station, table);
  rows.erase(std::remove_if(rows.begin(), rows.end(), [&](std::size_t r) { return r >= count; }),
             rows.end());
  if (rows.empty()) return {};
  Edit edit;
  edit.text = rows.size() == 1 && table != Table::Outline
                  ? "Remove " + std::string(EntryWord(table)) + " " +
                        Quote(RowName(station, table, rows.front()))
                  : "Remove " + std::to_string(rows.size()) + " " + std::string(EntryWord(table)) +
                        (rows.size() == 1 ? "" : "s");
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    edit.steps.push_back({Step::Op::Remove, table, *it, 0, std::nullopt, {}, {}});
  }
  return Checked(station, std::move(edit));
}

Outcome DuplicateRow(const st::Station& station, Table table, std::size_t row) {
  if (row >= RowCount(station, table)) return {};
  Entry entry = EntryAt(station, table, row);
  ForgetPlaces(entry);
  if (table != Table::Outline) SetId(entry, UnusedId(station, table, IdOf(entry)));
  Edit edit{"Duplicate " + std::string(EntryWord(table)) +
                (table == Table::Outline ? "" : " " + Quote(RowName(station, table, row))),
            {}};
  edit.steps.push_back({Step::Op::Insert, table, row + 1, 0, std::move(entry), {}, {}});
  return Checked(station, std::move(edit));
}

Outcome MoveRow(const st::Station& station, Table table, std::size_t row, bool up) {
  const std::size_t count = RowCount(station, table);
  if (row >= count || (up && row == 0) || (!up && row + 1 >= count)) return {};
  Edit edit{"Move " + std::string(EntryWord(table)) + (up ? " up" : " down"), {}};
  edit.steps.push_back({Step::Op::Move, table, row, up ? row - 1 : row + 1, std::nullopt, {}, {}});
  return Checked(station, std::move(edit));
}

Outcome AddStation(const st::Station& station, const st::Station& from, const std::string& text,
                   bool reuseNamed) {
  Edit edit{text, {}};
  st::Station working = station;
  std::map<std::pair<Table, std::string>, std::string> renamed;
  // Whether an installation of `from` names `id` in `table`, and `station`
  // has an entry the same in every key under that id: then it is used as
  // it is rather than added again.
  const auto reused = [&](Table table, const Entry& entry) {
    if (!reuseNamed) return false;
    const std::string id = IdOf(entry);
    const bool named = std::any_of(from.installations.begin(), from.installations.end(),
                                   [&](const st::Installation& n) {
                                     switch (table) {
                                       case Table::Transmitters:
                                         return n.transmitter == id;
                                       case Table::Feedlines:
                                         return n.feedline == id;
                                       case Table::Antennas:
                                         return n.antenna == id;
                                       default:
                                         return false;
                                     }
                                   });
    if (!named) return false;
    for (std::size_t row = 0; row < RowCount(station, table); ++row) {
      const Entry own = EntryAt(station, table, row);
      if (IdOf(own) == id) return SameEntry(own, entry);
    }
    return false;
  };
  auto add = [&](Table table, Entry entry) {
    if (reused(table, entry)) return;
    const std::string id = IdOf(entry);
    const std::string unused = UnusedId(working, table, id);
    renamed[{table, id}] = unused;
    SetId(entry, unused);
    ForgetPlaces(entry);
    const Step step{Step::Op::Insert, table, RowCount(working, table), 0, std::move(entry), {}, {}};
    Apply(working, step);
    edit.steps.push_back(step);
  };
  for (const st::Transmitter& t : from.transmitters) add(Table::Transmitters, t);
  for (const st::Feedline& f : from.feedlines) add(Table::Feedlines, f);
  for (const st::Antenna& a : from.antennas) add(Table::Antennas, a);
  for (st::Installation n : from.installations) {
    n.transmitter = renamed.count({Table::Transmitters, n.transmitter}) > 0
                        ? renamed[{Table::Transmitters, n.transmitter}]
                        : n.transmitter;
    if (n.feedline && renamed.count({Table::Feedlines, *n.feedline}) > 0) {
      n.feedline = renamed[{Table::Feedlines, *n.feedline}];
    }
    n.antenna = renamed.count({Table::Antennas, n.antenna}) > 0
                    ? renamed[{Table::Antennas, n.antenna}]
                    : n.antenna;
    add(Table::Installations, n);
  }
  for (const st::Place& p : from.places) add(Table::Places, p);
  return Checked(station, std::move(edit));
}

Outcome EditHeading(const st::Station& station, const Heading& wanted) {
  Edit edit{"Station heading", {}};
  Step step;
  step.op = Step::Op::Heading;
  step.heading = wanted;
  edit.steps.push_back(std::move(step));
  return Checked(station, std::move(edit));
}

Outcome SetPropertyLine(const st::Station& station, bool on, st::LengthUnit unit) {
  if (on == station.property.has_value()) return {};
  Step step;
  step.op = Step::Op::Property;
  if (on) {
    // A rectangle around everything placed, with room to spare.
    const Real margin = unit == st::LengthUnit::Feet ? 30 : 10;
    const Real toUnit = unit == st::LengthUnit::Feet ? 1 / st::kMetresPerFoot : 1;
    Real west = 0, east = 0, south = 0, north = 0;
    auto take = [&](const st::Length& x, const st::Length& y) {
      west = std::min(west, x.Metres() * toUnit);
      east = std::max(east, x.Metres() * toUnit);
      south = std::min(south, y.Metres() * toUnit);
      north = std::max(north, y.Metres() * toUnit);
    };
    for (const st::Antenna& a : station.antennas) take(a.x, a.y);
    for (const st::Place& p : station.places) take(p.x, p.y);
    auto round = [](Real v) { return static_cast<Real>(std::round(static_cast<double>(v))); };
    st::Property p;
    p.unit = unit;
    p.height = InUnit(2, 6.5L, unit);
    p.outline = {{round(west - margin), round(south - margin)},
                 {round(east + margin), round(south - margin)},
                 {round(east + margin), round(north + margin)},
                 {round(west - margin), round(north + margin)}};
    step.property = std::move(p);
  }
  return Checked(station, {on ? "Add the property line" : "Remove the property line", {step}});
}

Outcome SetPropertyHeight(const st::Station& station, std::string_view text) {
  if (!station.property) return {};
  st::Property p = *station.property;
  if (auto problem =
          ReadLength(Trim(text), p.height.unit, st::Section::Property, "height", p.height)) {
    return {std::nullopt,
            ProblemText(std::string(st::SectionHeader(st::Section::Property)), *problem),
            std::nullopt,
            {}};
  }
  Step step;
  step.op = Step::Op::Property;
  step.property = std::move(p);
  return Checked(station, {"Height of the property line", {step}});
}

Outcome SetOutlineUnit(const st::Station& station, st::LengthUnit unit) {
  if (!station.property || station.property->unit == unit) return {};
  st::Property p = *station.property;
  const Real factor = unit == st::LengthUnit::Feet ? 1 / st::kMetresPerFoot : st::kMetresPerFoot;
  for (auto& pt : p.outline) {
    pt.x = static_cast<Real>(static_cast<double>(pt.x * factor));
    pt.y = static_cast<Real>(static_cast<double>(pt.y * factor));
  }
  p.unit = unit;
  Step step;
  step.op = Step::Op::Property;
  step.property = std::move(p);
  return Checked(
      station,
      {unit == st::LengthUnit::Feet ? "Property line in feet" : "Property line in metres", {step}});
}

}  // namespace korrin::stationui
