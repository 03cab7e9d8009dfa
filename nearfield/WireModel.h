// A wire antenna as the near field models it: straight wires with their
// radius, the feed, and the ground beneath.  The program chooses each
// wire's segments.  A model is a value; BuildStructure turns it into the
// cards of a deck, or says in plain words why it cannot.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nearfield/Deck.h"
#include "nearfield/Types.h"

namespace korrin::nearfield {

Ground FreeSpace();
Ground PerfectGround();
Ground RealGround(Real relativePermittivity, Real conductivitySPerM);

// By the station file's word: "free-space", "perfect", or a named ground of
// data/grounds.csv ("average", "poor", "good"); empty for any other word.
std::optional<Ground> NamedGround(std::string_view id);

struct Wire {
  Point from;
  Point to;
  Real radiusM = 0;
};

// Where on its wire a feed sits when no segment is named: the middle
// segment, or the one at the wire's start or end.
enum class FeedAt { Middle, Start, End };

struct Feed {
  size_t wire = 0;             // index into the wires
  std::optional<int> segment;  // from 1; empty: as `at` says
  FeedAt at = FeedAt::Middle;
};

struct WireModel {
  std::vector<Wire> wires;
  Feed feed;
  Ground ground;
  std::vector<std::string> notes;  // what the model leaves out, in plain words
};

// About 20 segments to a half wave; and never a segment shorter than 8 wire
// radii, below which the thin-wire kernel of NEC-2 is off by more than 1 %
// (NEC-2 user's guide, part III, section II.1: delta/a > 8).
constexpr Real kSegmentsPerHalfWave = 20;
constexpr Real kShortestSegmentInRadii = 8;
// And never a segment longer than a tenth of the wavelength, over which
// the current's shape is no longer followed (NEC-2 user's guide, part III,
// section II.1: delta < 0.1 lambda).
constexpr Real kLongestSegmentInWavelengths = 0.1L;

// The thin-wire rules above broken by the straight wires and arcs of a
// structure's geometry (GW, GA; scaled by GS) at `frequencyMHz`, each in
// plain words with its numbers: a deck's card by its line, the program's
// own by its wire.
std::vector<std::string> ThinWireProblems(const Structure& structure, Real frequencyMHz);

// The segments of a wire of `lengthM` and `radiusM` at `wavelengthM`:
// about 20 to the half wave, fewer where a segment would be shorter than 8
// radii, and an odd number when `fedInMiddle` so that a segment sits at
// the middle.  0 when even one segment would be shorter than 8 radii.
int SegmentCount(Real lengthM, Real radiusM, Real wavelengthM, bool fedInMiddle);

struct BuiltStructure {
  std::optional<Structure> structure;  // empty when there is any problem
  std::vector<std::string> problems;   // every one found, in plain words
};

// The model's wires as GW cards (tag = index + 1) with the segments the
// program chooses, the feed's tag and segment, and the ground.
BuiltStructure BuildStructure(const WireModel& model, Real frequencyMHz);

}  // namespace korrin::nearfield
