// The checks of a station that do not depend on the TOML text: ranges, both
// or neither of a pair, unique ids, references, bands of the region and
// frequencies inside their band and a limit set.  The reader runs them on
// what it read; the station window runs them on an edited model.
#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "station/Bounds.h"
#include "station/FileWords.h"
#include "station/Rules.h"
#include "station/Schema.h"
#include "station/StationFile.h"
#include "station/Tables.h"

namespace korrin::station {

namespace {

// The frequencies each limit set covers, in MHz.
struct Coverage {
  LimitSetChoice set;
  Real lowestMHz;
  Real highestMHz;
};
constexpr Coverage kCoverage[] = {
    {LimitSetChoice::Fcc, 0.3L, 100000.0L},         // 47 CFR 1.1310 Table 1
    {LimitSetChoice::Icnirp2020, 0.1L, 300000.0L},  // ICNIRP 2020 Table 5
    {LimitSetChoice::Icnirp1998, 0.1L, 300000.0L},  // data/limit-sets.csv
    {LimitSetChoice::Sc6, 0.1L, 300000.0L},         // data/limit-sets.csv
};

std::string Mhz(Real f) {
  return NumberText(f) + " MHz";
}

bool ValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    unsigned int lowest = 0;
    unsigned int code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      lowest = 0x80;
      code = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      lowest = 0x800;
      code = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      lowest = 0x10000;
      code = c & 0x07u;
    } else {
      return false;
    }
    if (s.size() - i <= extra) return false;  // cut short
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

constexpr int kSectionCount = static_cast<int>(Section::Property) + 1;

class Checker {
 public:
  Checker(const Station& s, std::string file) : s_(s), file_(std::move(file)) {}

  std::vector<Diagnostic> Run() {
    Top();
    Counts();
    for (std::size_t i = 0; i < s_.transmitters.size(); ++i) TransmitterAt(i);
    for (std::size_t i = 0; i < s_.feedlines.size(); ++i) FeedlineAt(i);
    for (std::size_t i = 0; i < s_.antennas.size(); ++i) AntennaAt(i);
    for (std::size_t i = 0; i < s_.installations.size(); ++i) InstallationAt(i);
    for (std::size_t i = 0; i < s_.places.size(); ++i) PlaceAt(i);
    if (s_.property) PropertyCheck(*s_.property);
    std::stable_sort(out_.begin(), out_.end(), [](const Diagnostic& a, const Diagnostic& b) {
      const int la = a.at.line == 0 ? std::numeric_limits<int>::max() : a.at.line;
      const int lb = b.at.line == 0 ? std::numeric_limits<int>::max() : b.at.line;
      return la != lb ? la < lb : a.at.column < b.at.column;
    });
    return std::move(out_);
  }

 private:
  // The entry being checked: its label, header place and key places.
  struct Entry {
    std::string label;
    SourcePos at;
    const KeyPlaces* keys;
  };

  void Report(const Entry& e, std::string_view key, std::string message) {
    Diagnostic d;
    d.file = file_;
    d.table = e.label;
    d.key = std::string(key);
    d.message = std::move(message);
    const auto it = e.keys->find(key);
    d.at = it != e.keys->end() ? it->second : e.at;
    out_.push_back(std::move(d));
  }

  // A number against its key's range.
  void Number(const Entry& e, const KeyRule& schema, Real value) {
    if (!std::isfinite(value) || !schema.range.Contains(value)) {
      Report(e, schema.key,
             "expected " + std::string(schema.expected) + ", found " + NumberText(value));
    }
  }

  void Text(const Entry& e, std::string_view key, const std::string& value) {
    if (!ValidUtf8(value)) Report(e, key, "the text is not valid UTF-8");
  }

  void LengthCheck(const Entry& e, Section section, std::string_view quantity, const Length& l) {
    Number(e, KeyFor(section, quantity, l.unit == LengthUnit::Feet ? "-ft" : "-m"), l.value);
  }

  // An id: present, valid, not used before among its kind.
  template <typename Item>
  void Id(const Entry& e, Section section, std::string_view key, const std::vector<Item>& items,
          std::size_t index, const std::string& (*idOf)(const Item&)) {
    const std::string& id = idOf(items[index]);
    if (id.empty()) {
      Report(e, key, "missing: expected " + std::string(FindKey(section, key)->expected));
      return;
    }
    Text(e, key, id);
    // The first entry of each id, so that the check is linear in the entries.
    const auto [first, inserted] = firstOf_[static_cast<int>(section)].try_emplace(id, index);
    if (!inserted && first->second != index) {
      const SourcePos at = items[first->second].at;
      Report(e, key,
             "\"" + id + "\" is used already" +
                 (at.line > 0 ? " by the " + std::string(SectionHeader(section)) + " at line " +
                                    std::to_string(at.line)
                              : std::string()));
    }
  }

  // A reference to an entry of another kind.
  template <typename Item>
  void Reference(const Entry& e, std::string_view key, const std::string& id,
                 const std::vector<Item>& items, Section target) {
    if (id.empty()) {
      Report(e, key, "missing: expected the id of a " + std::string(SectionHeader(target)));
      return;
    }
    auto& known = idsOf_[static_cast<int>(target)];
    if (known.empty()) {
      for (const Item& item : items) known.insert(item.id);
    }
    if (known.count(id) > 0) return;
    std::vector<std::string> ids;
    ids.reserve(items.size());
    for (const Item& item : items) ids.push_back(item.id);
    std::string message = "no " + std::string(SectionHeader(target)) + " has the id \"" + id + "\"";
    const std::string near = NearestWord(id, ids);
    if (!near.empty()) message += "; did you mean \"" + near + "\"?";
    Report(e, key, message);
  }

  void Top() {
    const Entry e{"", {}, &s_.keys};
    Text(e, "callsign", s_.callsign);
    Text(e, "site", s_.site);
    Text(e, "evaluated-by", s_.evaluatedBy);
    if (s_.country && FindCountry(*s_.country) == nullptr) {
      Report(e, "country",
             "unknown country \"" + *s_.country + "\"; expected one of " + CountryCodesText());
    }
    if (s_.region < 1 || s_.region > 3) {
      Report(e, "region", "expected ITU region 1, 2 or 3, found " + std::to_string(s_.region));
    }
    if (s_.limitSets.empty()) {
      Report(e, "limit-sets", "expected at least one limit set: " + LimitSetWordsText());
    }
    for (std::size_t i = 0; i < s_.limitSets.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        if (s_.limitSets[i] == s_.limitSets[j]) {
          Report(e, "limit-sets",
                 "\"" + std::string(LimitSetWord(s_.limitSets[i])) + "\" is listed twice");
        }
      }
    }
  }

  void TransmitterAt(std::size_t i) {
    const Transmitter& t = s_.transmitters[i];
    const Entry e{EntryLabel(Section::Transmitter, t.id, i), t.at, &t.keys};
    Id<Transmitter>(e, Section::Transmitter, "id", s_.transmitters, i,
                    [](const Transmitter& x) -> const std::string& { return x.id; });
    Number(e, KeyFor(Section::Transmitter, "power"), t.powerW);
    if (t.mode && t.duty) {
      Report(e, "duty", "give mode or duty, not both");
    } else if (t.mode && FindMode(*t.mode) == nullptr) {
      std::vector<std::string> ids;
      std::string list;
      for (const ModeRow& m : Modes()) {
        ids.push_back(m.id);
        list += (list.empty() ? "" : ", ") + m.id;
      }
      const std::string near = NearestWord(*t.mode, ids);
      Report(e, "mode",
             "unknown mode \"" + *t.mode + "\"; " +
                 (near.empty() ? "expected one of " + list : "did you mean \"" + near + "\"?"));
    }
    if (t.duty) Number(e, KeyFor(Section::Transmitter, "duty"), *t.duty);
    if (t.onMinutes.has_value() != t.offMinutes.has_value()) {
      Report(e, t.onMinutes ? "on-minutes" : "off-minutes",
             "give on-minutes and off-minutes together, or neither");
    }
    if (t.onMinutes) Number(e, KeyFor(Section::Transmitter, "on-minutes"), *t.onMinutes);
    if (t.offMinutes) Number(e, KeyFor(Section::Transmitter, "off-minutes"), *t.offMinutes);
  }

  void FeedlineAt(std::size_t i) {
    const Feedline& f = s_.feedlines[i];
    const Entry e{EntryLabel(Section::Feedline, f.id, i), f.at, &f.keys};
    Id<Feedline>(e, Section::Feedline, "id", s_.feedlines, i,
                 [](const Feedline& x) -> const std::string& { return x.id; });
    const std::string lengthKey(
        KeyFor(Section::Feedline, "length",
               f.length && f.length->unit == LengthUnit::Feet ? "-ft" : "-m")
            .key);
    if (f.cable && f.lossDb) {
      Report(e, "loss-db", "give cable (with its length) or loss-db, not both");
    } else if (f.cable) {
      if (FindCable(*f.cable) == nullptr) {
        std::vector<std::string> ids;
        std::string list;
        for (const CableRow& c : Cables()) {
          ids.push_back(c.id);
          list += (list.empty() ? "" : ", ") + c.id;
        }
        const std::string near = NearestWord(*f.cable, ids);
        Report(e, "cable",
               "unknown cable \"" + *f.cable + "\"; " +
                   (near.empty() ? "expected one of " + list : "did you mean \"" + near + "\"?"));
      }
      if (!f.length)
        Report(e, lengthKey, "missing: a cable needs its length, length-m or length-ft");
    } else if (f.length) {
      Report(e, lengthKey, "a length needs a cable; for a line of known loss give loss-db alone");
    }
    if (f.length) LengthCheck(e, Section::Feedline, "length", *f.length);
    if (f.lossDb) Number(e, KeyFor(Section::Feedline, "loss"), *f.lossDb);
    Number(e, KeyFor(Section::Feedline, "extra-loss"), f.extraLossDb);
    if (f.swr) Number(e, KeyFor(Section::Feedline, "swr"), *f.swr);
  }

  void AntennaAt(std::size_t i) {
    const Antenna& a = s_.antennas[i];
    const Entry e{EntryLabel(Section::Antenna, a.id, i), a.at, &a.keys};
    Id<Antenna>(e, Section::Antenna, "id", s_.antennas, i,
                [](const Antenna& x) -> const std::string& { return x.id; });
    const std::string gainKey(
        KeyFor(Section::Antenna, "gain", a.gain && a.gain->dbd ? "-dbd" : "-dbi").key);
    const AntennaKindRow* row = FindAntennaKind(a.kind);
    const bool dish = a.kind == "dish";
    if (a.kind.empty()) {
      Report(e, "kind", "missing: expected a kind of the antenna-kind table");
    } else if (row == nullptr) {
      std::vector<std::string> kinds;
      std::string list;
      for (const AntennaKindRow& k : AntennaKinds()) {
        kinds.push_back(k.kind);
        list += (list.empty() ? "" : ", ") + k.kind;
      }
      const std::string near = NearestWord(a.kind, kinds);
      Report(e, "kind",
             "unknown kind \"" + a.kind + "\"; " +
                 (near.empty() ? "expected one of " + list : "did you mean \"" + near + "\"?"));
    } else if (dish) {
      if (a.gain) Report(e, gainKey, "a dish's gain is computed from its diameter and efficiency");
      if (!a.diameter)
        Report(e, "diameter-m", "missing: a dish needs its diameter, diameter-m or diameter-ft");
    } else if (a.kind == "wires") {
      if (a.gain) Report(e, gainKey, "a \"wires\" antenna takes its gain from its NEC-2 model");
    } else if (row->gainDbi) {
      if (a.gain) {
        Report(e, gainKey,
               "kind \"" + a.kind + "\" has its own gain (" + NumberText(*row->gainDbi) +
                   " dBi); give kind = \"gain\" to set another");
      }
    } else if (!a.gain) {
      Report(e, gainKey,
             "missing: a \"" + a.kind + "\" antenna needs its gain, gain-dbi or gain-dbd");
    }
    if (a.gain)
      Number(e, KeyFor(Section::Antenna, "gain", a.gain->dbd ? "-dbd" : "-dbi"), a.gain->value);
    LengthCheck(e, Section::Antenna, "x", a.x);
    LengthCheck(e, Section::Antenna, "y", a.y);
    LengthCheck(e, Section::Antenna, "height", a.height);
    if (a.diameter) {
      if (!dish && row != nullptr) {
        Report(e,
               KeyFor(Section::Antenna, "diameter",
                      a.diameter->unit == LengthUnit::Feet ? "-ft" : "-m")
                   .key,
               "only a dish has a diameter");
      }
      LengthCheck(e, Section::Antenna, "diameter", *a.diameter);
    }
    if (a.efficiency) {
      if (!dish && row != nullptr) Report(e, "efficiency", "only a dish has an efficiency");
      Number(e, KeyFor(Section::Antenna, "efficiency"), *a.efficiency);
    }
    NearFieldChecks(e, a, row != nullptr);
  }

  static bool OneOf(std::string_view word, std::span<const std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
  }

  static std::string Listed(std::span<const std::string_view> words) {
    std::string list;
    for (std::size_t i = 0; i < words.size(); ++i) {
      list += (i == 0                  ? "\""
               : i + 1 == words.size() ? " or \""
                                       : ", \"") +
              std::string(words[i]) + "\"";
    }
    return list;
  }

  // The keys of a wire antenna's near field: each only where its kind uses
  // it, each in its range, the pairs whole.
  void NearFieldChecks(const Entry& e, const Antenna& a, bool knownKind) {
    const NearFieldKeys& n = a.nearField;
    const bool wires = a.kind == "wires";
    const std::string kindWords = "\"" + a.kind + "\"";
    // A key the kind does not use; an unknown kind has its own problem.
    auto only = [&](bool present, std::string_view quantity, std::string_view key,
                    const std::string& who) {
      if (present && knownKind && !NearFieldKeyApplies(a, quantity)) {
        Report(e, key, std::string(key) + " applies to " + who + ", not to kind " + kindWords);
      }
    };
    const std::string lengthKey(
        KeyFor(Section::Antenna, "length",
               n.length && n.length->unit == LengthUnit::Feet ? "-ft" : "-m")
            .key);
    const std::string wiresKind = "kind \"wires\"";
    if (wires) {
      only(n.feedAt.has_value(), "feed-at", "feed-at", "a \"wires\" antenna with its own wires");
      only(n.feedSegment.has_value(), "feed-segment", "feed-segment",
           "a \"wires\" antenna from a NEC deck");
    } else {
      only(!n.wires.empty(), "wires", "wires", wiresKind);
      only(n.necFile.has_value(), "nec-file", "nec-file", wiresKind);
      only(n.feedWire.has_value(), "feed-wire", "feed-wire", wiresKind);
      only(n.feedAt.has_value(), "feed-at", "feed-at", wiresKind);
      only(n.feedSegment.has_value(), "feed-segment", "feed-segment", wiresKind);
    }
    only(n.ground.has_value(), "ground", "ground", "wire antennas");
    only(n.groundPermittivity.has_value(), "ground-permittivity", "ground-permittivity",
         "wire antennas");
    only(n.groundConductivity.has_value(), "ground-conductivity", "ground-conductivity",
         "wire antennas");
    only(n.wireRadiusMm.has_value(), "wire-radius", "wire-radius-mm",
         "kinds \"dipole\", \"inverted-v\", \"vertical\" and \"ground-plane\"");
    only(n.length.has_value(), "length", lengthKey, "kinds \"dipole\" and \"inverted-v\"");
    only(n.droopDeg.has_value(), "droop", "droop-deg", "kind \"inverted-v\"");
    only(n.radials.has_value(), "radials", "radials", "kinds \"vertical\" and \"ground-plane\"");

    if (wires) {
      if (n.wires.empty() && !n.necFile) {
        Report(e, "wires", "missing: a \"wires\" antenna needs its wires, or a nec-file");
      } else if (!n.wires.empty() && n.necFile) {
        Report(e, "nec-file", "give wires or nec-file, not both");
      }
    }
    for (std::size_t w = 0; w < n.wires.size(); ++w) {
      const WireRow& r = n.wires[w];
      const std::string which = "wire " + std::to_string(w + 1);
      if (!(r.radiusMm > 0)) {
        Report(e, "wires",
               which + ": the radius must be above 0 mm, found " + NumberText(r.radiusMm));
      }
      if (r.x1 == r.x2 && r.y1 == r.y2 && r.z1 == r.z2) {
        Report(e, "wires", which + ": both ends are at the same point");
      }
    }
    if (n.necFile) Text(e, "nec-file", *n.necFile);
    if (n.necFile && n.necFile->empty()) Report(e, "nec-file", "the file's name is empty");
    if (n.feedWire && !n.wires.empty() && *n.feedWire > static_cast<int>(n.wires.size())) {
      Report(e, "feed-wire",
             "wire " + std::to_string(*n.feedWire) + " is not among the antenna's " +
                 std::to_string(n.wires.size()) + " wires");
    }
    if (n.feedAt && !OneOf(*n.feedAt, FeedAtWords())) {
      Report(e, "feed-at", "expected " + Listed(FeedAtWords()) + ", found \"" + *n.feedAt + "\"");
    }
    if (n.ground && !OneOf(*n.ground, GroundWords())) {
      Report(e, "ground",
             "unknown ground \"" + *n.ground + "\"; expected " + Listed(GroundWords()));
    }
    if (n.ground && (n.groundPermittivity || n.groundConductivity)) {
      Report(e, n.groundPermittivity ? "ground-permittivity" : "ground-conductivity",
             "give ground, or ground-permittivity and ground-conductivity, not both");
    } else if (n.groundPermittivity.has_value() != n.groundConductivity.has_value()) {
      Report(e, n.groundPermittivity ? "ground-permittivity" : "ground-conductivity",
             "give ground-permittivity and ground-conductivity together, or neither");
    }
    if (n.groundPermittivity) {
      Number(e, KeyFor(Section::Antenna, "ground-permittivity"), *n.groundPermittivity);
    }
    if (n.groundConductivity) {
      Number(e, KeyFor(Section::Antenna, "ground-conductivity"), *n.groundConductivity);
    }
    if (n.wireRadiusMm) Number(e, KeyFor(Section::Antenna, "wire-radius"), *n.wireRadiusMm);
    if (n.length) LengthCheck(e, Section::Antenna, "length", *n.length);
    if (n.droopDeg) Number(e, KeyFor(Section::Antenna, "droop"), *n.droopDeg);
  }

  // The limit sets of the file that cover the whole of [lowest, highest].
  bool Covered(Real lowestMHz, Real highestMHz) const {
    for (const Coverage& c : kCoverage) {
      if (std::find(s_.limitSets.begin(), s_.limitSets.end(), c.set) == s_.limitSets.end())
        continue;
      if (lowestMHz >= c.lowestMHz && highestMHz <= c.highestMHz) return true;
    }
    return false;
  }

  std::string CoverageWords() const {
    std::string words;
    for (const Coverage& c : kCoverage) {
      if (std::find(s_.limitSets.begin(), s_.limitSets.end(), c.set) == s_.limitSets.end())
        continue;
      words += (words.empty() ? "" : ", ") + std::string(LimitSetWord(c.set)) + " covers " +
               NumberText(c.lowestMHz) + "-" + Mhz(c.highestMHz);
    }
    return words;
  }

  void InstallationAt(std::size_t i) {
    const Installation& n = s_.installations[i];
    const Entry e{EntryLabel(Section::Installation, n.id, i), n.at, &n.keys};
    Id<Installation>(e, Section::Installation, "id", s_.installations, i,
                     [](const Installation& x) -> const std::string& { return x.id; });
    Reference(e, "transmitter", n.transmitter, s_.transmitters, Section::Transmitter);
    if (n.feedline) Reference(e, "feedline", *n.feedline, s_.feedlines, Section::Feedline);
    Reference(e, "antenna", n.antenna, s_.antennas, Section::Antenna);
    if (n.group) {
      if (n.group->empty()) Report(e, "group", "expected a group name, found an empty text");
      Text(e, "group", *n.group);
    }
    const BandRow* band = nullptr;
    if (n.band) {
      band = FindStationBand(s_, *n.band);
      if (band == nullptr) {
        bool elsewhere = false;
        for (int r = 1; r <= 3; ++r) elsewhere = elsewhere || FindBand(*n.band, r) != nullptr;
        if (elsewhere) {
          Report(e, "band",
                 "the " + *n.band + " band does not exist in ITU region " +
                     std::to_string(s_.region) + " (the file's region)");
        } else {
          const std::vector<std::string> names = BandNames();
          const std::string near = NearestWord(*n.band, names);
          std::string list;
          for (const std::string& b : names) list += (list.empty() ? "" : ", ") + b;
          Report(e, "band",
                 "unknown band \"" + *n.band + "\"; " +
                     (near.empty() ? "expected one of " + list : "did you mean \"" + near + "\"?"));
        }
      } else if (!s_.limitSets.empty() && !Covered(band->lowerMHz, band->upperMHz)) {
        Report(e, "band",
               "the " + band->name + " band (" + NumberText(band->lowerMHz) + "-" +
                   Mhz(band->upperMHz) +
                   ") lies outside every limit set of the file: " + CoverageWords());
      }
    }
    if (!n.band && !n.frequencyMHz) {
      Report(e, "band", "missing: expected band or frequency-mhz");
    }
    if (n.frequencyMHz) {
      const Real f = *n.frequencyMHz;
      const KeyRule& schema = KeyFor(Section::Installation, "frequency");
      if (!std::isfinite(f) || !schema.range.Contains(f)) {
        Number(e, schema, f);
      } else if (band != nullptr && (f < band->lowerMHz || f > band->upperMHz)) {
        Report(e, schema.key,
               Mhz(f) + " lies outside the " + band->name + " band (" + NumberText(band->lowerMHz) +
                   "-" + Mhz(band->upperMHz) + " in region " + std::to_string(s_.region) + ")");
      } else if (!s_.limitSets.empty() && !Covered(f, f)) {
        Report(e, schema.key,
               Mhz(f) + " lies outside every limit set of the file: " + CoverageWords());
      }
    }
  }

  void PlaceAt(std::size_t i) {
    const Place& p = s_.places[i];
    const Entry e{EntryLabel(Section::Place, p.name, i), p.at, &p.keys};
    Id<Place>(e, Section::Place, "name", s_.places, i,
              [](const Place& x) -> const std::string& { return x.name; });
    LengthCheck(e, Section::Place, "x", p.x);
    LengthCheck(e, Section::Place, "y", p.y);
    LengthCheck(e, Section::Place, "height", p.height);
  }

  void PropertyCheck(const Property& p) {
    const Entry e{std::string(SectionHeader(Section::Property)), p.at, &p.keys};
    const KeyRule& outline =
        KeyFor(Section::Property, "outline", p.unit == LengthUnit::Feet ? "-ft" : "-m");
    if (p.outline.size() < 3) {
      Report(e, outline.key,
             "expected a polygon of at least 3 points, found " + std::to_string(p.outline.size()));
    }
    for (const Property::Point& pt : p.outline) {
      if (!std::isfinite(pt.x) || !std::isfinite(pt.y)) {
        Report(e, outline.key, "expected finite numbers for every point");
        return;
      }
      if (!outline.range.Contains(pt.x) || !outline.range.Contains(pt.y)) {
        Report(e, outline.key,
               "expected " + std::string(outline.expected) + ", found [" + NumberText(pt.x) + ", " +
                   NumberText(pt.y) + "]");
        return;
      }
    }
    if (p.outline.size() > kMostOutlinePoints) {
      Report(e, outline.key,
             "the outline has " + std::to_string(p.outline.size()) + " points; at most " +
                 std::to_string(kMostOutlinePoints) + " are evaluated");
    }
    // The outline is sampled every 0.25 m along its whole length.
    Real lengthM = 0;
    for (std::size_t k = 0; k < p.outline.size(); ++k) {
      const Property::Point& a = p.outline[k];
      const Property::Point& b = p.outline[(k + 1) % p.outline.size()];
      lengthM +=
          std::hypot(b.x - a.x, b.y - a.y) * (p.unit == LengthUnit::Feet ? kMetresPerFoot : 1);
    }
    if (lengthM > kLongestOutlineM) {
      Report(e, outline.key,
             "the outline is " + NumberText(std::round(lengthM)) + " m long; at most " +
                 NumberText(kLongestOutlineM) + " m (20 km) is sampled, every 0.25 m");
    }
    LengthCheck(e, Section::Property, "height", p.height);
  }

  // How many entries of each kind, against station/Bounds.h.
  void Counts() {
    const Entry e{"", {}, &s_.keys};
    auto most = [&](std::string_view key, std::size_t n, std::size_t limit, std::string_view why) {
      if (n > limit) {
        Report(e, key,
               "the file has " + std::to_string(n) + " " + std::string(key) + " tables; at most " +
                   std::to_string(limit) + " are evaluated (" + std::string(why) + ")");
      }
    };
    constexpr std::string_view kWhy = "every place's sums hold a term for every installation";
    most("transmitter", s_.transmitters.size(), kMostEntries, kWhy);
    most("feedline", s_.feedlines.size(), kMostEntries, kWhy);
    most("antenna", s_.antennas.size(), kMostEntries, kWhy);
    most("installation", s_.installations.size(), kMostEntries, kWhy);
    most("place", s_.places.size(), kMostPlaces, kWhy);
  }

  const Station& s_;
  std::string file_;
  std::vector<Diagnostic> out_;
  // Per section: the index of the first entry of each id; the ids present.
  std::unordered_map<std::string, std::size_t> firstOf_[kSectionCount];
  std::unordered_set<std::string> idsOf_[kSectionCount];
};

}  // namespace

std::vector<Diagnostic> Validate(const Station& station, const std::string& fileName) {
  return Checker(station, fileName).Run();
}

}  // namespace korrin::station
