// Writing the station file: a header comment, the keys of each section in
// the schema's order, the user's units kept.  Numbers are written as the
// shortest text that reads back as the same double (an integral value as an
// integer), so a station read from a file writes back to the values it read,
// and writing what was read back gives the same bytes.  A value made in the
// program that no double holds is rounded to the nearest double on writing.
#include <map>
#include <string>

#include "io/StationFile.h"
#include "station/FileWords.h"
#include "station/Rules.h"
#include "station/Schema.h"
#include "station/StationFile.h"

namespace korrin::station {

namespace {

constexpr const char* kHeader =
    "# Korrin station file: every transmitter, feed line and antenna of the station, the\n"
    "# installations that join them, the places where people can be and the property line.\n"
    "# Lengths in metres unless the key ends in -ft; frequencies in MHz, powers in W, gains in\n"
    "# dBi unless -dbd, losses in dB, times in minutes.\n";

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (u < 0x20 || u == 0x7F) {
          static constexpr char kHex[] = "0123456789ABCDEF";
          out += "\\u00";
          out += kHex[u >> 4];
          out += kHex[u & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// The values of one section by key, written in the schema's order.
class Lines {
 public:
  explicit Lines(Section section) : section_(section) {}

  void Text(std::string_view key, const std::string& value) {
    values_[std::string(key)] = Quoted(value);
  }
  void Text(std::string_view key, const std::optional<std::string>& value) {
    if (value) Text(key, *value);
  }
  void Number(std::string_view key, Real value) { values_[std::string(key)] = NumberText(value); }
  void Number(std::string_view key, const std::optional<Real>& value) {
    if (value) Number(key, *value);
  }
  void Flag(std::string_view key, bool value) {
    values_[std::string(key)] = value ? "true" : "false";
  }
  void Flag(std::string_view key, const std::optional<bool>& value) {
    if (value) Flag(key, *value);
  }
  void LengthValue(std::string_view quantity, const Length& l) {
    Number(KeyFor(section_, quantity, l.unit == LengthUnit::Feet ? "-ft" : "-m").key, l.value);
  }
  void LengthValue(std::string_view quantity, const std::optional<Length>& l) {
    if (l) LengthValue(quantity, *l);
  }
  void Raw(std::string_view key, std::string text) { values_[std::string(key)] = std::move(text); }

  void AppendTo(std::string& out) const {
    for (const KeyRule& k : Schema()) {
      if (k.section != section_) continue;
      const auto it = values_.find(k.key);
      if (it != values_.end()) out += std::string(k.key) + " = " + it->second + "\n";
    }
  }

 private:
  Section section_;
  std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace

std::string WriteStation(const Station& s) {
  std::string out = kHeader;
  out += "\n";
  Lines top(Section::Top);
  top.Text("format", std::string(kFormat));
  if (!s.callsign.empty()) top.Text("callsign", s.callsign);
  if (!s.site.empty()) top.Text("site", s.site);
  if (!s.evaluatedBy.empty()) top.Text("evaluated-by", s.evaluatedBy);
  // A country's own region and limit sets go without saying; a station
  // without a country writes both, as it always has.
  if (s.country) top.Text("country", *s.country);
  if (!s.country || s.region != DefaultRegion(s.country)) {
    top.Raw("region", std::to_string(s.region));
  }
  if (!s.country || s.limitSets != DefaultLimitSets(s.country)) {
    std::string sets = "[";
    for (std::size_t i = 0; i < s.limitSets.size(); ++i) {
      sets += (i > 0 ? ", " : "") + Quoted(LimitSetWord(s.limitSets[i]));
    }
    top.Raw("limit-sets", sets + "]");
  }
  top.Flag("ground-reflection", s.groundReflection);
  top.AppendTo(out);

  for (const Transmitter& t : s.transmitters) {
    Lines l(Section::Transmitter);
    l.Text("id", t.id);
    l.Number("power-w", t.powerW);
    l.Text("mode", t.mode);
    l.Number("duty", t.duty);
    l.Number("on-minutes", t.onMinutes);
    l.Number("off-minutes", t.offMinutes);
    out += "\n[[transmitter]]\n";
    l.AppendTo(out);
  }
  for (const Feedline& f : s.feedlines) {
    Lines l(Section::Feedline);
    l.Text("id", f.id);
    l.Text("cable", f.cable);
    l.LengthValue("length", f.length);
    l.Number("loss-db", f.lossDb);
    if (f.extraLossDb != 0) l.Number("extra-loss-db", f.extraLossDb);
    l.Number("swr", f.swr);
    if (f.swrAt != SwrAt::Antenna) l.Text("swr-at", std::string(SwrAtWord(f.swrAt)));
    out += "\n[[feedline]]\n";
    l.AppendTo(out);
  }
  for (const Antenna& a : s.antennas) {
    Lines l(Section::Antenna);
    l.Text("id", a.id);
    l.Text("kind", a.kind);
    if (a.gain) l.Number(a.gain->dbd ? "gain-dbd" : "gain-dbi", a.gain->value);
    l.Flag("gain-includes-ground", a.gainIncludesGround);
    l.LengthValue("x", a.x);
    l.LengthValue("y", a.y);
    l.LengthValue("height", a.height);
    l.LengthValue("diameter", a.diameter);
    l.Number("efficiency", a.efficiency);
    const NearFieldKeys& n = a.nearField;
    if (!n.wires.empty()) {
      std::string rows = "[\n";
      for (const WireRow& w : n.wires) {
        rows += "  [";
        for (const Real v : {w.x1, w.y1, w.z1, w.x2, w.y2, w.z2}) rows += NumberText(v) + ", ";
        rows += NumberText(w.radiusMm) + "],\n";
      }
      l.Raw("wires", rows + "]");
    }
    l.Text("nec-file", n.necFile);
    if (n.feedWire) l.Number("feed-wire", *n.feedWire);
    l.Text("feed-at", n.feedAt);
    if (n.feedSegment) l.Number("feed-segment", *n.feedSegment);
    l.Text("ground", n.ground);
    l.Number("ground-permittivity", n.groundPermittivity);
    l.Number("ground-conductivity", n.groundConductivity);
    l.Number("wire-radius-mm", n.wireRadiusMm);
    l.LengthValue("length", n.length);
    l.Number("droop-deg", n.droopDeg);
    if (n.radials) l.Number("radials", *n.radials);
    out += "\n[[antenna]]\n";
    l.AppendTo(out);
  }
  for (const Installation& n : s.installations) {
    Lines l(Section::Installation);
    l.Text("id", n.id);
    l.Text("transmitter", n.transmitter);
    l.Text("feedline", n.feedline);
    l.Text("antenna", n.antenna);
    l.Text("band", n.band);
    l.Number("frequency-mhz", n.frequencyMHz);
    l.Flag("ground-reflection", n.groundReflection);
    l.Text("group", n.group);
    out += "\n[[installation]]\n";
    l.AppendTo(out);
  }
  for (const Place& p : s.places) {
    Lines l(Section::Place);
    l.Text("name", p.name);
    l.LengthValue("x", p.x);
    l.LengthValue("y", p.y);
    l.LengthValue("height", p.height);
    l.Flag("controlled", p.controlled);
    out += "\n[[place]]\n";
    l.AppendTo(out);
  }
  if (s.property) {
    const Property& p = *s.property;
    Lines l(Section::Property);
    std::string points = "[";
    for (std::size_t i = 0; i < p.outline.size(); ++i) {
      points += (i > 0 ? ", [" : "[") + NumberText(p.outline[i].x) + ", " +
                NumberText(p.outline[i].y) + "]";
    }
    l.Raw(KeyFor(Section::Property, "outline", p.unit == LengthUnit::Feet ? "-ft" : "-m").key,
          points + "]");
    l.LengthValue("height", p.height);
    out += "\n[property]\n";
    l.AppendTo(out);
  }
  return out;
}

std::optional<std::string> SaveStationFile(const std::string& path, const Station& station) {
  return ReplaceFileContents(path, WriteStation(station));
}

}  // namespace korrin::station
