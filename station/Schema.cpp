#include "station/Schema.h"

#include <algorithm>
#include <array>
#include <vector>

#include "station/Bounds.h"

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

// The bounds of station/Bounds.h, in either unit (in feet, the whole feet
// the messages give).
constexpr Range kPower{0, true, kMostPowerW, true};
constexpr Range kGainDbi{kLeastGainDbi, true, kMostGainDbi, true};
constexpr Range kGainDbd{kLeastGainDbi - kDipoleGainDbi, true, kMostGainDbi - kDipoleGainDbi, true};
constexpr Range kPositionM{-kFarthestM, true, kFarthestM, true};
constexpr Range kPositionFt{-328084, true, 328084, true};
constexpr Range kHeightM{0, true, kHighestM, true};
constexpr Range kHeightFt{0, true, 32808, true};
constexpr Range kFeedLineM{0, true, kLongestFeedLineM, true};
constexpr Range kFeedLineFt{0, true, 328084, true};
constexpr Range kDiameterM{0, false, kWidestDishM, true};
constexpr Range kDiameterFt{0, false, 3280, true};

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
    KeyRule{Transmitter, "power-w", Number, "power", kPower, "a power in W, 0 or more and at most 10000000 (10 MW)"},
    KeyRule{Transmitter, "mode", Text, "mode", kAny, "a mode of the mode table"},
    KeyRule{Transmitter, "duty", Number, "duty", kFraction, "a duty factor above 0 and at most 1"},
    KeyRule{Transmitter, "on-minutes", Number, "on-minutes", kAboveZero, "minutes above 0"},
    KeyRule{Transmitter, "off-minutes", Number, "off-minutes", kZeroOrMore, "minutes, 0 or more"},

    KeyRule{Feedline, "id", Text, "id", kAny, "an id naming the feed line"},
    KeyRule{Feedline, "cable", Text, "cable", kAny, "a cable of the cable table"},
    KeyRule{Feedline, "length-m", Number, "length", kFeedLineM, "a length in metres from 0 to 100000"},
    KeyRule{Feedline, "length-ft", Number, "length", kFeedLineFt, "a length in feet from 0 to 328084"},
    KeyRule{Feedline, "loss-db", Number, "loss", kZeroOrMore, "a loss in dB, 0 or more"},
    KeyRule{Feedline, "extra-loss-db", Number, "extra-loss", kZeroOrMore, "a loss in dB, 0 or more"},
    KeyRule{Feedline, "swr", Number, "swr", kSwr, "an SWR of 1 or more"},
    KeyRule{Feedline, "swr-at", Text, "swr-at", kAny, "\"antenna\" or \"transmitter\""},

    KeyRule{Antenna, "id", Text, "id", kAny, "an id naming the antenna"},
    KeyRule{Antenna, "kind", Text, "kind", kAny, "a kind of the antenna-kind table"},
    KeyRule{Antenna, "gain-dbi", Number, "gain", kGainDbi, "a gain in dBi from -50 to 60"},
    KeyRule{Antenna, "gain-dbd", Number, "gain", kGainDbd, "a gain in dBd from -52.15 to 57.85 (-50 to 60 dBi)"},
    KeyRule{Antenna, "gain-includes-ground", Flag, "gain-includes-ground", kAny, "true or false"},
    KeyRule{Antenna, "x-m", Number, "x", kPositionM, "a distance east in metres from -100000 to 100000"},
    KeyRule{Antenna, "x-ft", Number, "x", kPositionFt, "a distance east in feet from -328084 to 328084"},
    KeyRule{Antenna, "y-m", Number, "y", kPositionM, "a distance north in metres from -100000 to 100000"},
    KeyRule{Antenna, "y-ft", Number, "y", kPositionFt, "a distance north in feet from -328084 to 328084"},
    KeyRule{Antenna, "height-m", Number, "height", kHeightM, "a height in metres from 0 to 10000"},
    KeyRule{Antenna, "height-ft", Number, "height", kHeightFt, "a height in feet from 0 to 32808"},
    KeyRule{Antenna, "diameter-m", Number, "diameter", kDiameterM, "a diameter in metres above 0 and at most 1000"},
    KeyRule{Antenna, "diameter-ft", Number, "diameter", kDiameterFt, "a diameter in feet above 0 and at most 3280"},
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
    KeyRule{Place, "x-m", Number, "x", kPositionM, "a distance east in metres from -100000 to 100000"},
    KeyRule{Place, "x-ft", Number, "x", kPositionFt, "a distance east in feet from -328084 to 328084"},
    KeyRule{Place, "y-m", Number, "y", kPositionM, "a distance north in metres from -100000 to 100000"},
    KeyRule{Place, "y-ft", Number, "y", kPositionFt, "a distance north in feet from -328084 to 328084"},
    KeyRule{Place, "height-m", Number, "height", kHeightM, "a height in metres from 0 to 10000"},
    KeyRule{Place, "height-ft", Number, "height", kHeightFt, "a height in feet from 0 to 32808"},
    KeyRule{Place, "controlled", Flag, "controlled", kAny, "true or false"},

    KeyRule{Property, "outline-m", PointList, "outline", kPositionM, "a polygon of [x, y] points in metres, each from -100000 to 100000"},
    KeyRule{Property, "outline-ft", PointList, "outline", kPositionFt, "a polygon of [x, y] points in feet, each from -328084 to 328084"},
    KeyRule{Property, "height-m", Number, "height", kHeightM, "a height in metres from 0 to 10000"},
    KeyRule{Property, "height-ft", Number, "height", kHeightFt, "a height in feet from 0 to 32808"},
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
