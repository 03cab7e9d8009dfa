// The card deck the engine reads: a structure (geometry cards, loads,
// ground and feed) and what to compute (the radiation pattern for the peak
// gain, the electric and magnetic near fields on blocks of points).  The
// deck writer adds the comment, ground, frequency, excitation, requests and
// end cards itself.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nearfield/Types.h"

namespace korrin::nearfield {

// One card: its two-letter name and its numbers in the card's order
// (integer fields hold whole numbers).
struct Card {
  std::string name;
  std::vector<double> values;
  int line = 0;  // in the file it came from; 0 when the program made it
};

// How many of a card's leading numbers are integers: two for the geometry
// cards (GW, GA, GH, GM, GR, GS, GX, GE), four for the others.
int IntegerFieldCount(const std::string& name);

// The longest line the engine reads whole: nec2c reads a line into an
// 81-byte buffer.
constexpr size_t kLongestCardLine = 80;

// The card in the deck's free format: "GW 1 21 -5.28 0 10 5.28 0 10 0.001",
// its numbers to 12 digits, fewer (down to 6) where the line would
// otherwise be longer than kLongestCardLine; longer only when even 6
// digits do not fit.
std::string FormatCard(const Card& card);

// The number (from 1) of the first line of a deck longer than
// kLongestCardLine, if any.
std::optional<size_t> LongLineOf(std::string_view deck);

enum class GroundKind { FreeSpace, Perfect, Real };

struct Ground {
  GroundKind kind = GroundKind::FreeSpace;
  Real relativePermittivity = 1;  // a real ground's
  Real conductivitySPerM = 0;     // a real ground's
};

struct FeedPoint {
  int tag = 1;
  int segment = 1;  // from 1
};

struct Structure {
  std::vector<Card> geometry;  // GW, GA, GH, GM, GR, GS, GX, in order
  std::vector<Card> loads;     // LD and TL, after the geometry
  Ground ground;
  int groundFlag = 1;  // GE's flag over a ground: 1 wires touching it are connected, -1 not
  FeedPoint feed;      // a 1 V source there
};

// A block of points: start + i * step along x, j along y, k along z, for i
// below nx, j below ny, k below nz.  The engine lists them with x fastest,
// then y, then z.
struct FieldBlock {
  Point start;
  Point step;
  int nx = 1;
  int ny = 1;
  int nz = 1;

  int Count() const { return nx * ny * nz; }
  Point At(int i, int j, int k) const {
    return {start.x + i * step.x, start.y + j * step.y, start.z + k * step.z};
  }
};

struct Requests {
  bool pattern = false;            // the radiation pattern, for the peak gain
  Real patternStepDeg = 2;         // in theta and phi
  std::vector<FieldBlock> blocks;  // each asks for E (NE) and then H (NH)
};

// The segments the engine will make of a structure's geometry cards (GW,
// GA and GH each their own; GR, GM and GX copy those before them), for the
// time a run is given.
double SegmentsOf(const Structure& structure);

// The points a run's requests ask for: the pattern's directions and the
// blocks' points.
double PointsOf(const Requests& requests, bool overGround);

// The whole deck, ending with EN.
std::string WriteDeck(const Structure& structure, Real frequencyMHz, const Requests& requests);

}  // namespace korrin::nearfield
