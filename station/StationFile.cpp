// Reading the station file: toml++ parses the text, every key is checked
// against the schema (type, known key, both forms of a pair), the model is
// built and then checked by Validate; every problem is collected, and a file
// with any gives no station.
#include "station/StationFile.h"

#include <toml++/toml.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <system_error>
#include <utility>

#include "station/Depth.h"
#include "station/FileWords.h"
#include "station/Rules.h"
#include "station/Schema.h"

namespace korrin::station {

namespace {

// A station file is a few kilobytes; anything this large is not one.
constexpr std::uintmax_t kLargestFile = std::uintmax_t{16} * 1024 * 1024;

SourcePos PosOf(const toml::source_region& r) {
  return {static_cast<int>(r.begin.line), static_cast<int>(r.begin.column)};
}

std::string TypeWords(const toml::node& n) {
  switch (n.type()) {
    case toml::node_type::string:
      return "a string";
    case toml::node_type::integer:
      return "an integer";
    case toml::node_type::floating_point:
      return "a floating-point number";
    case toml::node_type::boolean:
      return "a boolean";
    case toml::node_type::array:
      return "an array";
    case toml::node_type::table:
      return "a table";
    case toml::node_type::date:
    case toml::node_type::time:
    case toml::node_type::date_time:
      return "a date or time";
    case toml::node_type::none:
      break;
  }
  return "nothing";
}

// One key's value as read, with the place of its key.
struct Value {
  SourcePos at;
  std::string text;
  Real number = 0;
  bool flag = false;
  std::vector<std::string> texts;
  std::vector<Property::Point> points;
  std::vector<WireRow> wires;
};
using Values = std::map<std::string, Value, std::less<>>;

std::optional<Real> NumberOfNode(const toml::node& n) {
  if (const auto* i = n.as_integer()) return static_cast<Real>(i->get());
  if (const auto* f = n.as_floating_point()) {
    if (!std::isfinite(f->get())) return std::nullopt;
    return static_cast<Real>(f->get());
  }
  return std::nullopt;
}

class Reader {
 public:
  explicit Reader(std::string file) : file_(std::move(file)) {}

  std::vector<Diagnostic>& Errors() { return errors_; }
  const std::set<std::pair<std::string, std::string>>& Reported() const { return reported_; }

  Station Read(const toml::table& root) {
    Station s;
    Values top = ReadKeys(root, Section::Top, "");
    s.keys = Places(top);
    // The entries are read in the order the key table lists them.
    for (auto&& [key, node] : root) {
      const KeyRule* schema = FindKey(Section::Top, key.str());
      if (schema == nullptr) continue;
      if (schema->type == ValueType::Entries) ReadEntries(s, *schema, node, PosOf(key.source()));
      if (schema->type == ValueType::Table) ReadProperty(s, node, PosOf(key.source()));
    }
    const auto format = Text(top, "format");
    if (!format) {
      Error({1, 1}, "", "format", "missing: expected format = \"" + std::string(kFormat) + "\"");
    } else if (*format != kFormat) {
      Error(top["format"].at, "", "format",
            "expected \"" + std::string(kFormat) + "\", found \"" + *format +
                "\" (this program reads " + kFormat + " files)");
    }
    s.callsign = Text(top, "callsign").value_or("");
    s.site = Text(top, "site").value_or("");
    s.evaluatedBy = Text(top, "evaluated-by").value_or("");
    if (const auto country = Text(top, "country")) {
      if (FindCountry(*country) != nullptr) {
        s.country = *country;
        s.region = DefaultRegion(s.country);
        s.limitSets = DefaultLimitSets(s.country);
      } else {
        Error(top["country"].at, "", "country",
              "unknown country \"" + *country + "\"; expected one of " + CountryCodesText());
      }
    }
    if (const auto region = Number(top, "region")) s.region = static_cast<int>(*region);
    if (const auto it = top.find("limit-sets"); it != top.end()) {
      s.limitSets.clear();
      for (const std::string& word : it->second.texts) {
        if (const auto set = LimitSetFromWord(word)) {
          s.limitSets.push_back(*set);
        } else {
          Error(it->second.at, "", "limit-sets",
                "unknown limit set \"" + word + "\"; expected one of " + LimitSetWordsText());
        }
      }
    }
    s.groundReflection = Flag(top, "ground-reflection");
    return s;
  }

 private:
  void Error(SourcePos at, const std::string& table, const std::string& key, std::string message) {
    Diagnostic d;
    d.file = file_;
    d.at = at;
    d.table = table;
    d.key = key;
    d.message = std::move(message);
    errors_.push_back(std::move(d));
    reported_.emplace(table, key);
  }

  // Reads the keys of one table: types as the schema says, no unknown key,
  // not both forms of one quantity.
  Values ReadKeys(const toml::table& table, Section section, const std::string& label) {
    Values values;
    for (auto&& [key, node] : table) {
      const std::string name(key.str());
      const SourcePos at = PosOf(key.source());
      const KeyRule* schema = FindKey(section, name);
      if (schema == nullptr) {
        std::string message = "unknown key \"" + name + "\"";
        const std::string near = NearestKey(section, name);
        if (!near.empty()) message += "; did you mean \"" + near + "\"?";
        Error(at, label, name, message);
        // The key meant is not reported missing as well.
        if (!near.empty()) reported_.emplace(label, near);
        continue;
      }
      if (schema->type == ValueType::Entries || schema->type == ValueType::Table) continue;
      if (auto value = Convert(node, *schema, label, at)) values.emplace(name, std::move(*value));
    }
    // Both forms of one quantity: the later one is named.
    for (auto a = values.begin(); a != values.end(); ++a) {
      for (auto b = std::next(a); b != values.end(); ++b) {
        const KeyRule* sa = FindKey(section, a->first);
        const KeyRule* sb = FindKey(section, b->first);
        if (sa->quantity != sb->quantity) continue;
        const bool bLater = std::pair(b->second.at.line, b->second.at.column) >
                            std::pair(a->second.at.line, a->second.at.column);
        const auto& later = bLater ? *b : *a;
        const auto& earlier = bLater ? *a : *b;
        Error(later.second.at, label, later.first,
              "give " + earlier.first + " or " + later.first + ", not both");
      }
    }
    return values;
  }

  std::optional<Value> Convert(const toml::node& n, const KeyRule& schema, const std::string& label,
                               SourcePos at) {
    Value v;
    v.at = at;
    auto wrong = [&](const std::string& found) {
      Error(at, label, std::string(schema.key),
            "expected " + std::string(schema.expected) + ", found " + found);
      return std::nullopt;
    };
    switch (schema.type) {
      case ValueType::Text:
        if (const auto* s = n.as_string()) {
          v.text = s->get();
          return v;
        }
        return wrong(TypeWords(n));
      case ValueType::Integer:
        if (const auto* i = n.as_integer()) {
          v.number = static_cast<Real>(i->get());
          if (!schema.range.Contains(v.number)) return wrong(std::to_string(i->get()));
          return v;
        }
        return wrong(TypeWords(n));
      case ValueType::Number:
        if (const auto number = NumberOfNode(n)) {
          v.number = *number;
          return v;
        }
        if (n.is_floating_point())
          return wrong(n.as_floating_point()->get() != n.as_floating_point()->get()
                           ? "nan"
                           : "an infinite number");
        return wrong(TypeWords(n));
      case ValueType::Flag:
        if (const auto* b = n.as_boolean()) {
          v.flag = b->get();
          return v;
        }
        return wrong(TypeWords(n));
      case ValueType::TextList:
        if (const auto* a = n.as_array()) {
          for (const toml::node& item : *a) {
            const auto* s = item.as_string();
            if (s == nullptr) return wrong("an array holding " + TypeWords(item));
            v.texts.push_back(s->get());
          }
          return v;
        }
        return wrong(TypeWords(n));
      case ValueType::PointList:
        if (const auto* a = n.as_array()) {
          for (const toml::node& item : *a) {
            const auto* pair = item.as_array();
            if (pair == nullptr || pair->size() != 2) {
              return wrong("a point that is not a pair [x, y]");
            }
            const auto x = NumberOfNode(*pair->get(0));
            const auto y = NumberOfNode(*pair->get(1));
            if (!x || !y) return wrong("a point that is not two finite numbers");
            v.points.push_back({*x, *y});
          }
          return v;
        }
        return wrong(TypeWords(n));
      case ValueType::WireList:
        if (const auto* a = n.as_array()) {
          for (const toml::node& item : *a) {
            const auto* row = item.as_array();
            if (row == nullptr || row->size() != 7) {
              return wrong("a wire that is not 7 numbers [x1, y1, z1, x2, y2, z2, radius-mm]");
            }
            Real f[7];
            for (std::size_t k = 0; k < 7; ++k) {
              const auto x = NumberOfNode(*row->get(k));
              if (!x) return wrong("a wire holding " + TypeWords(*row->get(k)));
              f[k] = *x;
            }
            v.wires.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6]});
          }
          return v;
        }
        return wrong(TypeWords(n));
      case ValueType::Entries:
      case ValueType::Table:
        break;
    }
    return std::nullopt;
  }

  static KeyPlaces Places(const Values& values) {
    KeyPlaces places;
    for (const auto& [key, value] : values) places.emplace(key, value.at);
    return places;
  }

  static std::optional<std::string> Text(const Values& v, std::string_view key) {
    const auto it = v.find(key);
    if (it == v.end()) return std::nullopt;
    return it->second.text;
  }
  static std::optional<Real> Number(const Values& v, std::string_view key) {
    const auto it = v.find(key);
    if (it == v.end()) return std::nullopt;
    return it->second.number;
  }
  static std::optional<bool> Flag(const Values& v, std::string_view key) {
    const auto it = v.find(key);
    if (it == v.end()) return std::nullopt;
    return it->second.flag;
  }
  // A length from its metre or foot form.
  static std::optional<Length> LengthOf(const Values& v, Section section,
                                        std::string_view quantity) {
    if (const auto m = Number(v, KeyFor(section, quantity, "-m").key))
      return Length{*m, LengthUnit::Metres};
    if (const auto ft = Number(v, KeyFor(section, quantity, "-ft").key))
      return Length{*ft, LengthUnit::Feet};
    return std::nullopt;
  }

  // A key the entry must have; reported once, where the entry starts.
  void Require(const Values& v, Section section, std::string_view quantity,
               const std::string& label, SourcePos at) {
    for (const KeyRule& k : Schema()) {
      if (k.section == section && k.quantity == quantity && v.count(k.key) != 0) return;
    }
    const KeyRule& first = KeyFor(section, quantity);
    if (reported_.count({label, std::string(first.key)}) != 0) return;
    Error(at, label, std::string(first.key), "missing: expected " + std::string(first.expected));
  }

  static std::optional<int> Count(const Values& v, std::string_view key) {
    const auto n = Number(v, key);
    if (!n) return std::nullopt;
    return static_cast<int>(*n);  // the schema's range keeps it within int
  }

  static void ReadNearField(const Values& v, NearFieldKeys& n) {
    if (const auto it = v.find("wires"); it != v.end()) n.wires = it->second.wires;
    n.necFile = Text(v, "nec-file");
    n.feedWire = Count(v, "feed-wire");
    n.feedAt = Text(v, "feed-at");
    n.feedSegment = Count(v, "feed-segment");
    n.ground = Text(v, "ground");
    n.groundPermittivity = Number(v, "ground-permittivity");
    n.groundConductivity = Number(v, "ground-conductivity");
    n.wireRadiusMm = Number(v, "wire-radius-mm");
    n.length = LengthOf(v, Section::Antenna, "length");
    n.droopDeg = Number(v, "droop-deg");
    n.radials = Count(v, "radials");
  }

  static std::string IdOf(const toml::table& t, Section section) {
    const char* key = section == Section::Place ? "name" : "id";
    if (const auto* s = t.get_as<std::string>(key)) return s->get();
    return {};
  }

  void ReadEntries(Station& s, const KeyRule& schema, const toml::node& node, SourcePos keyAt) {
    const auto* array = node.as_array();
    const bool tables =
        array != nullptr &&
        std::all_of(array->begin(), array->end(), [](const toml::node& n) { return n.is_table(); });
    if (!tables) {
      Error(keyAt, "", std::string(schema.key),
            "expected " + std::string(schema.expected) + ", found " + TypeWords(node));
      return;
    }
    const Section section = schema.key == "transmitter"    ? Section::Transmitter
                            : schema.key == "feedline"     ? Section::Feedline
                            : schema.key == "antenna"      ? Section::Antenna
                            : schema.key == "installation" ? Section::Installation
                                                           : Section::Place;
    std::size_t index = 0;
    for (const toml::node& item : *array) {
      const toml::table& t = *item.as_table();
      const SourcePos at = PosOf(t.source());
      const std::string label = EntryLabel(section, IdOf(t, section), index);
      const Values v = ReadKeys(t, section, label);
      switch (section) {
        case Section::Transmitter: {
          Transmitter x;
          x.at = at;
          x.keys = Places(v);
          x.id = Text(v, "id").value_or("");
          Require(v, section, "power", label, at);
          x.powerW = Number(v, "power-w").value_or(0);
          x.mode = Text(v, "mode");
          x.duty = Number(v, "duty");
          x.onMinutes = Number(v, "on-minutes");
          x.offMinutes = Number(v, "off-minutes");
          s.transmitters.push_back(std::move(x));
          break;
        }
        case Section::Feedline: {
          Feedline x;
          x.at = at;
          x.keys = Places(v);
          x.id = Text(v, "id").value_or("");
          x.cable = Text(v, "cable");
          x.length = LengthOf(v, section, "length");
          x.lossDb = Number(v, "loss-db");
          x.extraLossDb = Number(v, "extra-loss-db").value_or(0);
          x.swr = Number(v, "swr");
          if (const auto at_ = Text(v, "swr-at")) {
            if (const auto where = SwrAtFromWord(*at_)) {
              x.swrAt = *where;
            } else {
              Error(v.find("swr-at")->second.at, label, "swr-at",
                    "expected \"antenna\" or \"transmitter\", found \"" + *at_ + "\"");
            }
          }
          s.feedlines.push_back(std::move(x));
          break;
        }
        case Section::Antenna: {
          Antenna x;
          x.at = at;
          x.keys = Places(v);
          x.id = Text(v, "id").value_or("");
          x.kind = Text(v, "kind").value_or("");
          if (const auto g = Number(v, "gain-dbi")) x.gain = Gain{*g, false};
          if (const auto g = Number(v, "gain-dbd")) x.gain = Gain{*g, true};
          x.gainIncludesGround = Flag(v, "gain-includes-ground");
          x.x = LengthOf(v, section, "x").value_or(Length{});
          x.y = LengthOf(v, section, "y").value_or(Length{});
          Require(v, section, "height", label, at);
          x.height = LengthOf(v, section, "height").value_or(Length{});
          x.diameter = LengthOf(v, section, "diameter");
          x.efficiency = Number(v, "efficiency");
          ReadNearField(v, x.nearField);
          s.antennas.push_back(std::move(x));
          break;
        }
        case Section::Installation: {
          Installation x;
          x.at = at;
          x.keys = Places(v);
          x.id = Text(v, "id").value_or("");
          x.transmitter = Text(v, "transmitter").value_or("");
          x.feedline = Text(v, "feedline");
          x.antenna = Text(v, "antenna").value_or("");
          x.band = Text(v, "band");
          x.frequencyMHz = Number(v, "frequency-mhz");
          x.groundReflection = Flag(v, "ground-reflection");
          x.group = Text(v, "group");
          s.installations.push_back(std::move(x));
          break;
        }
        case Section::Place:
        default: {
          Place x;
          x.at = at;
          x.keys = Places(v);
          x.name = Text(v, "name").value_or("");
          Require(v, section, "x", label, at);
          Require(v, section, "y", label, at);
          x.x = LengthOf(v, section, "x").value_or(Length{});
          x.y = LengthOf(v, section, "y").value_or(Length{});
          if (const auto h = LengthOf(v, section, "height")) x.height = *h;
          x.controlled = Flag(v, "controlled").value_or(false);
          s.places.push_back(std::move(x));
          break;
        }
      }
      ++index;
    }
  }

  void ReadProperty(Station& s, const toml::node& node, SourcePos keyAt) {
    const auto* table = node.as_table();
    const std::string label(SectionHeader(Section::Property));
    if (table == nullptr) {
      Error(keyAt, "", "property", "expected one [property] table, found " + TypeWords(node));
      return;
    }
    const Values v = ReadKeys(*table, Section::Property, label);
    Property p;
    p.at = PosOf(table->source());
    p.keys = Places(v);
    Require(v, Section::Property, "outline", label, p.at);
    if (const auto it = v.find("outline-m"); it != v.end()) {
      p.outline = it->second.points;
      p.unit = LengthUnit::Metres;
    } else if (const auto ft = v.find("outline-ft"); ft != v.end()) {
      p.outline = ft->second.points;
      p.unit = LengthUnit::Feet;
    }
    if (const auto h = LengthOf(v, Section::Property, "height")) p.height = *h;
    s.property = std::move(p);
  }

  std::string file_;
  std::vector<Diagnostic> errors_;
  std::set<std::pair<std::string, std::string>> reported_;
};

bool Earlier(const Diagnostic& a, const Diagnostic& b) {
  const int la = a.at.line == 0 ? std::numeric_limits<int>::max() : a.at.line;
  const int lb = b.at.line == 0 ? std::numeric_limits<int>::max() : b.at.line;
  return la != lb ? la < lb : a.at.column < b.at.column;
}

}  // namespace

ReadResult ParseStation(std::string_view text, const std::string& fileName) {
  ReadResult result;
  if (std::optional<Diagnostic> deep = TooDeep(text, fileName)) {
    result.errors.push_back(std::move(*deep));
    return result;
  }
  toml::table root;
  try {
    root = toml::parse(text, fileName);
  } catch (const toml::parse_error& e) {
    Diagnostic d;
    d.file = fileName;
    d.at = PosOf(e.source());
    d.message = "not a valid TOML file: " + std::string(e.description());
    result.errors.push_back(std::move(d));
    return result;
  }
  Reader reader(fileName);
  Station station = reader.Read(root);
  std::vector<Diagnostic> errors = std::move(reader.Errors());
  // A key the reader found wrong is not reported a second time by the checks.
  for (Diagnostic& d : Validate(station, fileName)) {
    if (reader.Reported().count({d.table, d.key}) == 0) errors.push_back(std::move(d));
  }
  std::stable_sort(errors.begin(), errors.end(), Earlier);
  if (errors.empty()) {
    result.station = std::move(station);
  } else {
    result.errors = std::move(errors);
  }
  return result;
}

ReadResult ReadStationFile(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path file(std::u8string(path.begin(), path.end()));
  ReadResult result;
  auto fail = [&](std::string message) {
    Diagnostic d;
    d.file = path;
    d.message = std::move(message);
    result.errors.push_back(std::move(d));
    return result;
  };
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (ec || !fs::exists(status)) return fail("the file does not exist");
  if (fs::is_directory(status)) return fail("it is a folder, not a file");
  if (!fs::is_regular_file(status)) {
    return fail("it is not a regular file (a device, a pipe or a socket)");
  }
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) return fail("the file could not be read: " + ec.message());
  if (size > kLargestFile) {
    return fail("the file is " + std::to_string(size) +
                " bytes long; a station file is a few kilobytes");
  }
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) return fail("the file could not be opened: " + std::generic_category().message(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return fail("the file could not be read");
  return ParseStation(text.str(), path);
}

bool LooksLikeStationFile(std::string_view head) {
  // A binary file is none.
  if (head.find('\0') != std::string_view::npos) return false;
  if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
  constexpr int kLinesLooked = 64;
  for (int line = 0; line < kLinesLooked && !head.empty(); ++line) {
    const std::size_t end = head.find('\n');
    std::string_view text = head.substr(0, end);
    head = end == std::string_view::npos ? std::string_view() : head.substr(end + 1);
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || text[first] == '#') continue;
    text.remove_prefix(first);
    // A table header before the format key: not this format's start.
    if (text[0] == '[') return false;
    if (text.substr(0, 6) != "format") continue;
    text.remove_prefix(6);
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
    if (text.empty() || text[0] != '=') return false;
    text.remove_prefix(1);
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
    const std::string quoted = "\"" + std::string(kFormat) + "\"";
    const std::string literal = "'" + std::string(kFormat) + "'";
    if (text.substr(0, quoted.size()) != quoted && text.substr(0, literal.size()) != literal)
      return false;
    text.remove_prefix(quoted.size());
    const std::size_t rest = text.find_first_not_of(" \t\r");
    return rest == std::string_view::npos || text[rest] == '#';
  }
  return false;
}

}  // namespace korrin::station
