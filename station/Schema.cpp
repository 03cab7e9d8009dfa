#include "station/Schema.h"

#include <algorithm>
#include <array>
#include <vector>

namespace korrin::station {

namespace {

constexpr Real kInf = std::numeric_limits<Real>::infinity();

constexpr Range kAny{};
constexpr Range kZeroOrMore{0, true, kInf, true};
constexpr Range kAboveZero{0, false, kInf, true};
constexpr Range kFraction{0, false, 1, true};  // 0 < v <= 1
constexpr Range kRegion{1, true, 3, true};
constexpr Range kSwr{1, true, kInf, true};
constexpr Range kCount{1, true, 1000000, true};  // a number of a wire or segment
constexpr Range kRadials{0, true, 1000, true};
constexpr Range kPermittivity{1, true, kInf, true};
constexpr Range kDroop{0, true, 90, false};  // 0 <= v < 90

using enum Section;
using enum ValueType;

// clang-format off
constexpr std::array kSchema{
    KeyRule{Top, "format", Text, "format", kAny, "\"korrin-station/1\""},
    KeyRule{Top, "callsign", Text, "callsign", kAny, "the station's callsign"},
    KeyRule{Top, "site", Text, "site", kAny, "the site's address or name"},
    KeyRule{Top, "evaluated-by", Text, "evaluated-by", kAny, "the name of who made the evaluation"},
    KeyRule{Top, "country", Text, "country", kAny, "an ISO 3166 country code: \"US\", \"CA\", \"GB\", \"DE\", \"AU\""},
    KeyRule{Top, "region", Integer, "region", kRegion, "ITU region 1, 2 or 3"},
    KeyRule{Top, "limit-sets", TextList, "limit-sets", kAny, "a list of limit sets: \"fcc\", \"icnirp-2020\", \"icnirp-1998\", \"sc6-2015\""},
    KeyRule{Top, "ground-reflection", Flag, "ground-reflection", kAny, "true or false"},
    KeyRule{Top, "transmitter", Entries, "transmitter", kAny, "[[transmitter]] tables"},
    KeyRule{Top, "feedline", Entries, "feedline", kAny, "[[feedline]] tables"},
    KeyRule{Top, "antenna", Entries, "antenna", kAny, "[[antenna]] tables"},
    KeyRule{Top, "installation", Entries, "installation", kAny, "[[installation]] tables"},
    KeyRule{Top, "place", Entries, "place", kAny, "[[place]] tables"},
    KeyRule{Top, "property", Table, "property", kAny, "one [property] table"},

    KeyRule{Transmitter, "id", Text, "id", kAny, "an id naming the transmitter"},
    KeyRule{Transmitter, "power-w", Number, "power", kZeroOrMore, "a power in W, 0 or more"},
    KeyRule{Transmitter, "mode", Text, "mode", kAny, "a mode of the mode table"},
    KeyRule{Transmitter, "duty", Number, "duty", kFraction, "a duty factor above 0 and at most 1"},
    KeyRule{Transmitter, "on-minutes", Number, "on-minutes", kAboveZero, "minutes above 0"},
    KeyRule{Transmitter, "off-minutes", Number, "off-minutes", kZeroOrMore, "minutes, 0 or more"},

    KeyRule{Feedline, "id", Text, "id", kAny, "an id naming the feed line"},
    KeyRule{Feedline, "cable", Text, "cable", kAny, "a cable of the cable table"},
    KeyRule{Feedline, "length-m", Number, "length", kZeroOrMore, "a length in metres, 0 or more"},
    KeyRule{Feedline, "length-ft", Number, "length", kZeroOrMore, "a length in feet, 0 or more"},
    KeyRule{Feedline, "loss-db", Number, "loss", kZeroOrMore, "a loss in dB, 0 or more"},
    KeyRule{Feedline, "extra-loss-db", Number, "extra-loss", kZeroOrMore, "a loss in dB, 0 or more"},
    KeyRule{Feedline, "swr", Number, "swr", kSwr, "an SWR of 1 or more"},
    KeyRule{Feedline, "swr-at", Text, "swr-at", kAny, "\"antenna\" or \"transmitter\""},

    KeyRule{Antenna, "id", Text, "id", kAny, "an id naming the antenna"},
    KeyRule{Antenna, "kind", Text, "kind", kAny, "a kind of the antenna-kind table"},
    KeyRule{Antenna, "gain-dbi", Number, "gain", kAny, "a gain in dBi"},
    KeyRule{Antenna, "gain-dbd", Number, "gain", kAny, "a gain in dBd"},
    KeyRule{Antenna, "gain-includes-ground", Flag, "gain-includes-ground", kAny, "true or false"},
    KeyRule{Antenna, "x-m", Number, "x", kAny, "a distance east in metres"},
    KeyRule{Antenna, "x-ft", Number, "x", kAny, "a distance east in feet"},
    KeyRule{Antenna, "y-m", Number, "y", kAny, "a distance north in metres"},
    KeyRule{Antenna, "y-ft", Number, "y", kAny, "a distance north in feet"},
    KeyRule{Antenna, "height-m", Number, "height", kZeroOrMore, "a height in metres, 0 or more"},
    KeyRule{Antenna, "height-ft", Number, "height", kZeroOrMore, "a height in feet, 0 or more"},
    KeyRule{Antenna, "diameter-m", Number, "diameter", kAboveZero, "a diameter in metres above 0"},
    KeyRule{Antenna, "diameter-ft", Number, "diameter", kAboveZero, "a diameter in feet above 0"},
    KeyRule{Antenna, "efficiency", Number, "efficiency", kFraction, "an efficiency above 0 and at most 1"},
    KeyRule{Antenna, "wires", WireList, "wires", kAny, "a list of wires [x1, y1, z1, x2, y2, z2, radius-mm], metres from the antenna's position"},
    KeyRule{Antenna, "nec-file", Text, "nec-file", kAny, "the name of a NEC card deck beside the station file"},
    KeyRule{Antenna, "feed-wire", Integer, "feed-wire", kCount, "the feed wire's number from 1 (a NEC deck's tag)"},
    KeyRule{Antenna, "feed-at", Text, "feed-at", kAny, "\"middle\", \"start\" or \"end\" of the feed wire"},
    KeyRule{Antenna, "feed-segment", Integer, "feed-segment", kCount, "the feed's segment number from 1 on the NEC deck's feed wire"},
    KeyRule{Antenna, "ground", Text, "ground", kAny, "\"free-space\", \"perfect\", \"average\", \"poor\" or \"good\""},
    KeyRule{Antenna, "ground-permittivity", Number, "ground-permittivity", kPermittivity, "a relative permittivity of 1 or more"},
    KeyRule{Antenna, "ground-conductivity", Number, "ground-conductivity", kZeroOrMore, "a conductivity in S/m, 0 or more"},
    KeyRule{Antenna, "wire-radius-mm", Number, "wire-radius", kAboveZero, "a wire radius in mm above 0"},
    KeyRule{Antenna, "length-m", Number, "length", kAboveZero, "a wire length in metres above 0"},
    KeyRule{Antenna, "length-ft", Number, "length", kAboveZero, "a wire length in feet above 0"},
    KeyRule{Antenna, "droop-deg", Number, "droop", kDroop, "a droop below the horizontal in degrees, from 0 up to 90"},
    KeyRule{Antenna, "radials", Integer, "radials", kRadials, "a number of radials from 0 to 1000"},

    KeyRule{Installation, "id", Text, "id", kAny, "an id naming the installation"},
    KeyRule{Installation, "transmitter", Text, "transmitter", kAny, "the id of a [[transmitter]]"},
    KeyRule{Installation, "feedline", Text, "feedline", kAny, "the id of a [[feedline]]"},
    KeyRule{Installation, "antenna", Text, "antenna", kAny, "the id of an [[antenna]]"},
    KeyRule{Installation, "band", Text, "band", kAny, "a band of the band table"},
    KeyRule{Installation, "frequency-mhz", Number, "frequency", kAboveZero, "a frequency in MHz above 0"},
    KeyRule{Installation, "ground-reflection", Flag, "ground-reflection", kAny, "true or false"},
    KeyRule{Installation, "group", Text, "group", kAny, "a group name"},

    KeyRule{Place, "name", Text, "name", kAny, "a name for the place"},
    KeyRule{Place, "x-m", Number, "x", kAny, "a distance east in metres"},
    KeyRule{Place, "x-ft", Number, "x", kAny, "a distance east in feet"},
    KeyRule{Place, "y-m", Number, "y", kAny, "a distance north in metres"},
    KeyRule{Place, "y-ft", Number, "y", kAny, "a distance north in feet"},
    KeyRule{Place, "height-m", Number, "height", kZeroOrMore, "a height in metres, 0 or more"},
    KeyRule{Place, "height-ft", Number, "height", kZeroOrMore, "a height in feet, 0 or more"},
    KeyRule{Place, "controlled", Flag, "controlled", kAny, "true or false"},

    KeyRule{Property, "outline-m", PointList, "outline", kAny, "a polygon of [x, y] points in metres"},
    KeyRule{Property, "outline-ft", PointList, "outline", kAny, "a polygon of [x, y] points in feet"},
    KeyRule{Property, "height-m", Number, "height", kZeroOrMore, "a height in metres, 0 or more"},
    KeyRule{Property, "height-ft", Number, "height", kZeroOrMore, "a height in feet, 0 or more"},
};
// clang-format on

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

bool Range::Contains(Real v) const {
  if (!(v == v)) return false;  // NaN
  const bool aboveLowest = lowestAllowed ? v >= lowest : v > lowest;
  const bool belowHighest = highestAllowed ? v <= highest : v < highest;
  return aboveLowest && belowHighest;
}

std::span<const KeyRule> Schema() {
  return kSchema;
}

const KeyRule* FindKey(Section section, std::string_view key) {
  for (const KeyRule& k : kSchema) {
    if (k.section == section && k.key == key) return &k;
  }
  return nullptr;
}

const KeyRule& KeyFor(Section section, std::string_view quantity, std::string_view suffix) {
  for (const KeyRule& k : kSchema) {
    if (k.section == section && k.quantity == quantity &&
        (suffix.empty() || EndsWith(k.key, suffix))) {
      return k;
    }
  }
  // Every caller names a quantity of the table above.
  return kSchema[0];
}

std::string NearestWord(std::string_view word, std::span<const std::string> words) {
  std::string best;
  std::size_t bestDistance = 0;
  for (const std::string& w : words) {
    const std::size_t d = EditDistance(word, w);
    if (best.empty() || d < bestDistance) {
      best = w;
      bestDistance = d;
    }
  }
  // Near enough: a third of the word's letters at most, and at least two.
  const std::size_t allowed = std::max<std::size_t>(2, word.size() / 3);
  if (best.empty() || bestDistance == 0 || bestDistance > allowed) return {};
  return best;
}

std::string NearestKey(Section section, std::string_view key) {
  std::vector<std::string> keys;
  for (const KeyRule& k : kSchema) {
    if (k.section == section) keys.emplace_back(k.key);
  }
  return NearestWord(key, keys);
}

std::string_view SectionHeader(Section section) {
  switch (section) {
    case Section::Top:
      return "";
    case Section::Transmitter:
      return "[[transmitter]]";
    case Section::Feedline:
      return "[[feedline]]";
    case Section::Antenna:
      return "[[antenna]]";
    case Section::Installation:
      return "[[installation]]";
    case Section::Place:
      return "[[place]]";
    case Section::Property:
      return "[property]";
  }
  return "";
}

}  // namespace korrin::station
