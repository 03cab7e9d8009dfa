#include "ui/station/Columns.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "station/FileWords.h"
#include "station/Tables.h"

namespace korrin::stationui {

namespace {

// clang-format off
constexpr std::array kTransmitterColumns{
    Column{"Id", "id", CellKind::Text, "", "id", "", false, "A name for the transmitter, unique among them"},
    Column{"Power", "power", CellKind::Number, "W", "power", "", false,
           "Peak envelope power at the transmitter's output, in W, above 0"},
    Column{"Mode or duty", "mode", CellKind::ChoiceOrNumber, "", "mode", "duty", true,
           "A mode of the mode table, or a duty factor above 0 and at most 1 (\"0.4\", \"40 %\"); "
           "empty: taken as transmitting all the time"},
    Column{"Cycle", "cycle", CellKind::Cycle, "min", "on-minutes", "off-minutes", true,
           "Minutes on and off, \"3 / 7\"; empty: the mode's own cycle, else transmitting "
           "throughout"},
};
constexpr std::array kFeedlineColumns{
    Column{"Id", "id", CellKind::Text, "", "id", "", false, "A name for the feed line, unique among them"},
    Column{"Cable or loss", "cable", CellKind::ChoiceOrNumber, "dB", "cable", "loss", false,
           "A cable of the cable table, or the measured loss of the whole line in dB (\"1.2 dB\")"},
    Column{"Length", "length", CellKind::Length, "", "length", "", true,
           "The cable's length in metres or feet (\"30 m\", \"100 ft\")"},
    Column{"Extra loss", "extra-loss", CellKind::Number, "dB", "extra-loss", "", true,
           "Connectors, switches and tuner, in dB, 0 or more; empty: none"},
    Column{"SWR", "swr", CellKind::Number, "", "swr", "", true,
           "The SWR, 1 or more, for the extra loss a mismatch causes; empty: matched"},
    Column{"SWR measured at", "swr-at", CellKind::Choice, "", "swr-at", "", false,
           "Where the SWR was measured: at the antenna or at the transmitter"},
};
constexpr std::array kAntennaColumns{
    Column{"Id", "id", CellKind::Text, "", "id", "", false, "A name for the antenna, unique among them"},
    Column{"Kind", "kind", CellKind::Choice, "", "kind", "", false, "A kind of the antenna-kind table"},
    Column{"Gain", "gain", CellKind::Gain, "", "gain", "", true,
           "The free-space gain in dBi or dBd (\"8 dBi\"), for a yagi or an antenna of given gain"},
    Column{"Gain includes ground", "gain-includes-ground", CellKind::Choice, "", "gain-includes-ground", "",
           true, "Whether the gain already counts the ground's reflection"},
    Column{"East", "x", CellKind::Length, "", "x", "", false,
           "Distance east of the site's origin, metres or feet"},
    Column{"North", "y", CellKind::Length, "", "y", "", false,
           "Distance north of the site's origin, metres or feet"},
    Column{"Height", "height", CellKind::Length, "", "height", "", false,
           "Height of the feed point above the ground, metres or feet, 0 or more"},
    Column{"Diameter", "diameter", CellKind::Length, "", "diameter", "", true,
           "A dish's diameter, metres or feet, above 0"},
    Column{"Efficiency", "efficiency", CellKind::Number, "", "efficiency", "", true,
           "A dish's efficiency, above 0 and at most 1; empty: 0.55"},
};
constexpr std::array kInstallationColumns{
    Column{"Id", "id", CellKind::Text, "", "id", "", false, "A name for the installation, unique among them"},
    Column{"Transmitter", "transmitter", CellKind::Choice, "", "transmitter", "", false,
           "The transmitter that drives it"},
    Column{"Feed line", "feedline", CellKind::Choice, "", "feedline", "", true,
           "The feed line to the antenna; none: no loss"},
    Column{"Antenna", "antenna", CellKind::Choice, "", "antenna", "", false, "The antenna it feeds"},
    Column{"Band", "band", CellKind::Choice, "", "band", "", true,
           "A band of the station's ITU region: evaluated at its edges and every limit's "
           "breakpoint in it"},
    Column{"Frequency", "frequency", CellKind::Number, "MHz", "frequency", "", true,
           "A frequency in MHz; with a band, it must lie inside it"},
    Column{"Ground reflection", "ground-reflection", CellKind::Choice, "", "ground-reflection", "", true,
           "Whether the ground's reflection is counted (OET 65 factor 2.56); empty: as the station "
           "says"},
    Column{"Group", "group", CellKind::Text, "", "group", "", true,
           "Installations of one group may be in use at the same time; empty: the group \"all\""},
};
constexpr std::array kPlaceColumns{
    Column{"Name", "name", CellKind::Text, "", "name", "", false, "A name for the place, unique among them"},
    Column{"East", "x", CellKind::Length, "", "x", "", false,
           "Distance east of the site's origin, metres or feet"},
    Column{"North", "y", CellKind::Length, "", "y", "", false,
           "Distance north of the site's origin, metres or feet"},
    Column{"Height", "height", CellKind::Length, "", "height", "", false,
           "Height of the point evaluated, metres or feet (a standing head: 2 m)"},
    Column{"Who is there", "controlled", CellKind::Choice, "", "controlled", "", false,
           "The general public, or the licensee's household aware of the exposure"},
};
constexpr std::array kOutlineColumns{
    Column{"East", "x", CellKind::Length, "", "outline", "", false,
           "The corner's distance east of the site's origin, in the outline's unit"},
    Column{"North", "y", CellKind::Length, "", "outline", "", false,
           "The corner's distance north of the site's origin, in the outline's unit"},
};
// clang-format on

std::string Number(Real value) {
  return st::NumberText(value);
}

std::string WithUnit(Real value, std::string_view unit) {
  std::string text = Number(value);
  if (!unit.empty()) text += " " + std::string(unit);
  return text;
}

std::string Percent(Real fraction) {
  const Real percent = std::round(fraction * 1000.0L) / 10.0L;
  return Number(percent) + " %";
}

std::string ModeLabel(const st::ModeRow& m) {
  std::string label = m.name + ", " + Percent(m.duty);
  if (m.onMinutes && m.offMinutes) {
    label += ", " + Number(*m.onMinutes) + " / " + Number(*m.offMinutes) + " min";
  }
  return label;
}

std::string GainText(const st::Gain& g) {
  return Number(g.value) + (g.dbd ? " dBd" : " dBi");
}

std::string YesNo(bool value) {
  return value ? "yes" : "no";
}

const char* kGroundOn = "on";
const char* kGroundOff = "off";

std::string GroundText(bool on) {
  return on ? kGroundOn : kGroundOff;
}

std::string TransmitterCell(const st::Station&, const st::Transmitter& t, std::size_t column,
                            bool edit) {
  switch (column) {
    case 0:
      return t.id;
    case 1:
      return WithUnit(t.powerW, "W");
    case 2:
      if (t.mode) {
        if (edit) return *t.mode;
        const st::ModeRow* m = st::FindMode(*t.mode);
        return m != nullptr ? ModeLabel(*m) : *t.mode;
      }
      if (t.duty) return edit ? Number(*t.duty) : "duty " + Number(*t.duty);
      return edit ? "" : "(not given: 100 %)";
    case 3:
      if (t.onMinutes && t.offMinutes) {
        return Number(*t.onMinutes) + " / " + Number(*t.offMinutes) + (edit ? "" : " min");
      }
      if (t.onMinutes) return Number(*t.onMinutes) + " /";
      if (t.offMinutes) return "/ " + Number(*t.offMinutes);
      if (edit) return "";
      if (t.mode) {
        const st::ModeRow* m = st::FindMode(*t.mode);
        if (m != nullptr && m->onMinutes && m->offMinutes) {
          return "(" + Number(*m->onMinutes) + " / " + Number(*m->offMinutes) + " min)";
        }
      }
      return "(continuous)";
    default:
      return "";
  }
}

std::string FeedlineCell(const st::Feedline& f, std::size_t column, bool edit) {
  switch (column) {
    case 0:
      return f.id;
    case 1:
      if (f.cable) return *f.cable;
      if (f.lossDb) return WithUnit(*f.lossDb, "dB") + (edit ? "" : " (measured)");
      return "";
    case 2:
      return f.length ? LengthText(*f.length) : "";
    case 3:
      if (edit) return f.extraLossDb == 0 ? "" : WithUnit(f.extraLossDb, "dB");
      return WithUnit(f.extraLossDb, "dB");
    case 4:
      if (f.swr) return Number(*f.swr);
      return edit ? "" : "(matched)";
    case 5:
      return std::string(st::SwrAtWord(f.swrAt));
    default:
      return "";
  }
}

std::string AntennaCell(const st::Antenna& a, std::size_t column, bool edit) {
  const st::AntennaKindRow* row = st::FindAntennaKind(a.kind);
  switch (column) {
    case 0:
      return a.id;
    case 1:
      if (edit || row == nullptr) return a.kind;
      return row->name;
    case 2:
      if (a.gain) return GainText(*a.gain);
      if (edit) return "";
      if (a.kind == "dish") return "(from the diameter)";
      if (row != nullptr && row->gainDbi) return "(" + Number(*row->gainDbi) + " dBi)";
      return "";
    case 3:
      if (a.gainIncludesGround) {
        if (edit) return *a.gainIncludesGround ? "true" : "false";
        return YesNo(*a.gainIncludesGround);
      }
      if (edit) return "";
      return row != nullptr ? "(" + YesNo(row->gainIncludesGround) + ")" : "";
    case 4:
      return LengthText(a.x);
    case 5:
      return LengthText(a.y);
    case 6:
      return LengthText(a.height);
    case 7:
      return a.diameter ? LengthText(*a.diameter) : "";
    case 8:
      if (a.efficiency) return Number(*a.efficiency);
      return edit || a.kind != "dish" ? "" : "(0.55)";
    default:
      return "";
  }
}

std::string InstallationCell(const st::Station& s, const st::Installation& n, std::size_t column,
                             bool edit) {
  switch (column) {
    case 0:
      return n.id;
    case 1:
      return n.transmitter;
    case 2:
      if (n.feedline) return *n.feedline;
      return edit ? "" : "(none)";
    case 3:
      return n.antenna;
    case 4:
      return n.band.value_or("");
    case 5:
      return n.frequencyMHz ? WithUnit(*n.frequencyMHz, "MHz") : "";
    case 6:
      if (n.groundReflection) {
        if (edit) return *n.groundReflection ? "true" : "false";
        return GroundText(*n.groundReflection);
      }
      return edit ? "" : "(" + GroundText(s.groundReflection.value_or(true)) + ")";
    case 7:
      if (n.group) return *n.group;
      return edit ? "" : "(" + std::string(st::kDefaultGroup) + ")";
    default:
      return "";
  }
}

std::string PlaceCell(const st::Place& p, std::size_t column) {
  switch (column) {
    case 0:
      return p.name;
    case 1:
      return LengthText(p.x);
    case 2:
      return LengthText(p.y);
    case 3:
      return LengthText(p.height);
    case 4:
      return p.controlled ? "household (controlled)" : "public (uncontrolled)";
    default:
      return "";
  }
}

std::string OutlineCell(const st::Property& p, std::size_t row, std::size_t column) {
  const st::Property::Point& pt = p.outline.at(row);
  return LengthText({column == 0 ? pt.x : pt.y, p.unit});
}

std::string Cell(const st::Station& s, Table table, std::size_t row, std::size_t column,
                 bool edit) {
  switch (table) {
    case Table::Transmitters:
      return TransmitterCell(s, s.transmitters.at(row), column, edit);
    case Table::Feedlines:
      return FeedlineCell(s.feedlines.at(row), column, edit);
    case Table::Antennas:
      return AntennaCell(s.antennas.at(row), column, edit);
    case Table::Installations:
      return InstallationCell(s, s.installations.at(row), column, edit);
    case Table::Places: {
      const st::Place& p = s.places.at(row);
      if (edit && column == 4) return p.controlled ? "true" : "false";
      return PlaceCell(p, column);
    }
    case Table::Outline:
      return OutlineCell(s.property.value(), row, column);
  }
  return "";
}

template <typename List>
std::vector<Choice> Ids(const List& list) {
  std::vector<Choice> out;
  out.reserve(list.size());
  for (const auto& e : list) out.push_back({e.id, e.id});
  return out;
}

}  // namespace

st::Section SectionOf(Table table) {
  switch (table) {
    case Table::Transmitters:
      return st::Section::Transmitter;
    case Table::Feedlines:
      return st::Section::Feedline;
    case Table::Antennas:
      return st::Section::Antenna;
    case Table::Installations:
      return st::Section::Installation;
    case Table::Places:
      return st::Section::Place;
    case Table::Outline:
      return st::Section::Property;
  }
  return st::Section::Top;
}

std::string_view TableTitle(Table table) {
  switch (table) {
    case Table::Transmitters:
      return "Transmitters";
    case Table::Feedlines:
      return "Feed lines";
    case Table::Antennas:
      return "Antennas";
    case Table::Installations:
      return "Installations";
    case Table::Places:
      return "Places";
    case Table::Outline:
      return "Property line";
  }
  return "";
}

std::string_view EntryWord(Table table) {
  switch (table) {
    case Table::Transmitters:
      return "transmitter";
    case Table::Feedlines:
      return "feed line";
    case Table::Antennas:
      return "antenna";
    case Table::Installations:
      return "installation";
    case Table::Places:
      return "place";
    case Table::Outline:
      return "corner";
  }
  return "";
}

std::span<const Column> Columns(Table table) {
  switch (table) {
    case Table::Transmitters:
      return kTransmitterColumns;
    case Table::Feedlines:
      return kFeedlineColumns;
    case Table::Antennas:
      return kAntennaColumns;
    case Table::Installations:
      return kInstallationColumns;
    case Table::Places:
      return kPlaceColumns;
    case Table::Outline:
      return kOutlineColumns;
  }
  return {};
}

int ColumnOfKey(Table table, std::string_view key) {
  const st::KeyRule* schema = st::FindKey(SectionOf(table), key);
  if (schema == nullptr) return -1;
  const std::span<const Column> columns = Columns(table);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].quantity == schema->quantity || columns[i].otherQuantity == schema->quantity) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string RowName(const st::Station& station, Table table, std::size_t row) {
  switch (table) {
    case Table::Transmitters:
      return station.transmitters.at(row).id;
    case Table::Feedlines:
      return station.feedlines.at(row).id;
    case Table::Antennas:
      return station.antennas.at(row).id;
    case Table::Installations:
      return station.installations.at(row).id;
    case Table::Places:
      return station.places.at(row).name;
    case Table::Outline:
      return std::to_string(row + 1);
  }
  return "";
}

std::string CellText(const st::Station& station, Table table, std::size_t row, std::size_t column) {
  return Cell(station, table, row, column, false);
}

std::string EditText(const st::Station& station, Table table, std::size_t row, std::size_t column) {
  return Cell(station, table, row, column, true);
}

bool CellGiven(const st::Station& station, Table table, std::size_t row, std::size_t column) {
  const std::string shown = CellText(station, table, row, column);
  return !shown.empty() && shown.front() != '(';
}

std::vector<Choice> Choices(const st::Station& s, Table table, std::size_t column) {
  std::vector<Choice> out;
  switch (table) {
    case Table::Transmitters:
      if (column == 2) {
        for (const st::ModeRow& m : st::Modes()) out.push_back({m.id, ModeLabel(m), m.name});
      }
      break;
    case Table::Feedlines:
      if (column == 1) {
        for (const st::CableRow& c : st::Cables())
          out.push_back({c.id, c.id + ": " + c.name, c.name});
      } else if (column == 5) {
        out = {{"antenna", "at the antenna"}, {"transmitter", "at the transmitter"}};
      }
      break;
    case Table::Antennas:
      if (column == 1) {
        for (const st::AntennaKindRow& k : st::AntennaKinds()) {
          std::string label = k.name;
          if (k.gainDbi) label += ", " + Number(*k.gainDbi) + " dBi";
          out.push_back({k.kind, label, k.name});
        }
      } else if (column == 3) {
        out = {{"", "as the kind says"}, {"true", "yes"}, {"false", "no"}};
      }
      break;
    case Table::Installations:
      if (column == 1) out = Ids(s.transmitters);
      if (column == 2) {
        out.push_back({"", "none"});
        for (const Choice& c : Ids(s.feedlines)) out.push_back(c);
      }
      if (column == 3) out = Ids(s.antennas);
      if (column == 4) {
        out.push_back({"", "none: the frequency alone"});
        for (const std::string& name : st::BandNames()) {
          const st::BandRow* b = st::FindBand(name, s.region);
          if (b == nullptr) continue;
          out.push_back(
              {name, name + ", " + Number(b->lowerMHz) + "–" + Number(b->upperMHz) + " MHz"});
        }
      }
      if (column == 6) {
        out = {{"", "as the station: " + GroundText(s.groundReflection.value_or(true))},
               {"true", kGroundOn},
               {"false", kGroundOff}};
      }
      break;
    case Table::Places:
      if (column == 4) {
        out = {{"false", "public (uncontrolled)"}, {"true", "household (controlled)"}};
      }
      break;
    case Table::Outline:
      break;
  }
  return out;
}

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool BeginsWith(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && SameLetters(text.substr(0, start.size()), start);
}

}  // namespace

NamedChoice FindChoice(std::span<const Choice> choices, std::string_view typed) {
  NamedChoice out;
  for (const Choice& c : choices) {
    if (SameLetters(c.word, typed) || SameLetters(c.label, typed) ||
        (!c.name.empty() && SameLetters(c.name, typed))) {
      out.choice = &c;
      return out;
    }
  }
  if (typed.empty()) return out;
  std::vector<const Choice*> begun;
  for (const Choice& c : choices) {
    if (BeginsWith(c.word, typed) || BeginsWith(c.label, typed) || BeginsWith(c.name, typed)) {
      begun.push_back(&c);
    }
  }
  if (begun.size() == 1) {
    out.choice = begun.front();
  } else if (begun.size() > 1) {
    out.candidates = std::move(begun);
  }
  return out;
}

std::string LengthText(const st::Length& length) {
  return Number(length.value) + (length.unit == st::LengthUnit::Feet ? " ft" : " m");
}

}  // namespace korrin::stationui
