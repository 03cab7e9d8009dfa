#include "nearfield/Deck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace korrin::nearfield {

namespace {

// Enough digits that a coordinate survives the deck unchanged, unless the
// card's line would be too long for the engine; never fewer than these.
constexpr int kMostDigits = 12;
constexpr int kFewestDigits = 6;

std::string Number(double v, int digits) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, v == 0 ? 0.0 : v);  // no "-0"
  return buffer;
}

std::string WholeNumber(double v) {
  char buffer[400];  // the largest double has 309 digits
  const double r = std::round(v);
  std::snprintf(buffer, sizeof buffer, "%.0f", r == 0 ? 0.0 : r);
  return buffer;
}

void Add(std::string& deck, const Card& card) {
  deck += FormatCard(card);
  deck += '\n';
}

Card Make(const char* name, std::vector<double> values) {
  Card c;
  c.name = name;
  c.values = std::move(values);
  return c;
}

}  // namespace

int IntegerFieldCount(const std::string& name) {
  if (name.size() == 2 && name[0] == 'G' && name != "GN" && name != "GD") return 2;
  return 4;
}

std::string FormatCard(const Card& card) {
  const int integers = IntegerFieldCount(card.name);
  for (int digits = kMostDigits;; --digits) {
    std::string text = card.name;
    for (size_t i = 0; i < card.values.size(); ++i) {
      text += ' ';
      text += static_cast<int>(i) < integers ? WholeNumber(card.values[i])
                                             : Number(card.values[i], digits);
    }
    if (text.size() <= kLongestCardLine || digits <= kFewestDigits) return text;
  }
}

std::optional<size_t> LongLineOf(std::string_view deck) {
  size_t line = 1;
  size_t start = 0;
  while (start < deck.size()) {
    size_t end = deck.find('\n', start);
    if (end == std::string_view::npos) end = deck.size();
    if (end - start > kLongestCardLine) return line;
    start = end + 1;
    ++line;
  }
  return std::nullopt;
}

double SegmentsOf(const Structure& structure) {
  double total = 0;
  for (const Card& c : structure.geometry) {
    const double second = c.values.size() > 1 ? std::fabs(c.values[1]) : 0;
    if (c.name == "GW" || c.name == "GA" || c.name == "GH") {
      total += second;
    } else if (c.name == "GR") {
      total *= std::max(1.0, second);
    } else if (c.name == "GM") {
      total *= 1 + second;
    } else if (c.name == "GX") {
      // Its second field's digits say which planes reflect: each doubles.
      for (double d = second; d >= 1; d = std::floor(d / 10)) {
        if (std::fmod(d, 10) >= 1) total *= 2;
      }
    }
  }
  return total;
}

double PointsOf(const Requests& requests, bool overGround) {
  double total = 0;
  if (requests.pattern) {
    const double step = static_cast<double>(requests.patternStepDeg);
    total += (std::floor((overGround ? 90.0 : 180.0) / step) + 1) * (std::floor(360.0 / step) + 1);
  }
  for (const FieldBlock& b : requests.blocks) total += b.Count();
  return total;
}

std::string WriteDeck(const Structure& structure, Real frequencyMHz, const Requests& requests) {
  std::string deck = "CM Korrin near-field model\nCE\n";
  for (const Card& c : structure.geometry) Add(deck, c);
  const bool ground = structure.ground.kind != GroundKind::FreeSpace;
  Add(deck, Make("GE", {ground ? static_cast<double>(structure.groundFlag) : 0.0}));
  if (structure.ground.kind == GroundKind::Perfect) {
    Add(deck, Make("GN", {1, 0, 0, 0}));
  } else if (structure.ground.kind == GroundKind::Real) {
    // Sommerfeld-Norton: the only ground of NEC-2 that holds near the surface.
    Add(deck, Make("GN", {2, 0, 0, 0, static_cast<double>(structure.ground.relativePermittivity),
                          static_cast<double>(structure.ground.conductivitySPerM)}));
  }
  for (const Card& c : structure.loads) Add(deck, c);
  Add(deck, Make("FR", {0, 1, 0, 0, static_cast<double>(frequencyMHz), 0}));
  Add(deck, Make("EX", {0, static_cast<double>(structure.feed.tag),
                        static_cast<double>(structure.feed.segment), 0, 1, 0}));
  if (requests.pattern) {
    // Power gain over the whole sphere, or the upper half over a ground.
    const double step = static_cast<double>(requests.patternStepDeg);
    const double thetaSpan = ground ? 90.0 : 180.0;
    const double thetas = std::floor(thetaSpan / step + 1e-9) + 1;
    const double phis = std::floor(360.0 / step - 1e-9) + 1;
    Add(deck, Make("RP", {0, thetas, phis, 0, 0, 0, step, step}));
  }
  for (const FieldBlock& b : requests.blocks) {
    const std::vector<double> v = {0,
                                   static_cast<double>(b.nx),
                                   static_cast<double>(b.ny),
                                   static_cast<double>(b.nz),
                                   static_cast<double>(b.start.x),
                                   static_cast<double>(b.start.y),
                                   static_cast<double>(b.start.z),
                                   static_cast<double>(b.step.x),
                                   static_cast<double>(b.step.y),
                                   static_cast<double>(b.step.z)};
    Add(deck, Make("NE", v));
    Add(deck, Make("NH", v));
  }
  if (!requests.pattern && requests.blocks.empty()) Add(deck, Make("XQ", {0}));
  Add(deck, Make("EN", {}));
  return deck;
}

}  // namespace korrin::nearfield
