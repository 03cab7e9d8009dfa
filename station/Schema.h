// The keys of the station file, as one table: for each section (the top
// level and each kind of entry) every key with the type of its value, the
// model's quantity it sets, the values allowed and what is expected in words.
// The reader takes types and unknown keys from it, the checks their ranges
// and messages, the writer its key order, and a mistyped key its nearest
// neighbour.  A new key is a new row here and a field of the model.
#pragma once

#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "station/Station.h"

namespace korrin::station {

enum class Section { Top, Transmitter, Feedline, Antenna, Installation, Place, Property };

enum class ValueType {
  Text,       // a string
  Integer,    // an integer
  Number,     // an integer or a float, finite
  Flag,       // true or false
  TextList,   // an array of strings
  PointList,  // an array of [x, y] pairs of numbers
  WireList,   // an array of [x1, y1, z1, x2, y2, z2, radius] rows of numbers
  Entries,    // an array of tables: [[transmitter]]
  Table,      // one table: [property]
};

// The values a number may take; the ends as the flags say.
struct Range {
  Real lowest = -std::numeric_limits<Real>::infinity();
  bool lowestAllowed = true;
  Real highest = std::numeric_limits<Real>::infinity();
  bool highestAllowed = true;

  bool Contains(Real v) const;
};

struct KeyRule {
  Section section;
  std::string_view key;  // as written in the file: "length-ft"
  ValueType type;
  std::string_view quantity;  // the model's quantity, shared by a key's forms ("length" for
                              // length-m and length-ft, "gain" for gain-dbi and gain-dbd)
  Range range;                // numbers only
  std::string_view expected;  // "a length in feet, 0 or more"
};

// Every key of every section, each section's keys in the order the writer
// puts them.
std::span<const KeyRule> Schema();

// The key of a section; nullptr when the section has no such key.
const KeyRule* FindKey(Section section, std::string_view key);

// The key of a section that sets `quantity` in the given unit form
// (`suffix` "-m", "-ft", "-dbi", "-dbd" or "" for a key of one form).
const KeyRule& KeyFor(Section section, std::string_view quantity, std::string_view suffix = "");

// The section's known key nearest to a mistyped one (by edit distance, also
// telling '_' from '-' and case apart as one edit each); empty when none is
// near enough to be meant.
std::string NearestKey(Section section, std::string_view key);

// The nearest of `words` to `word`, or empty (same measure as NearestKey).
std::string NearestWord(std::string_view word, std::span<const std::string> words);

// "[[transmitter]]", "[property]"; empty for the top level.
std::string_view SectionHeader(Section section);

}  // namespace korrin::station
