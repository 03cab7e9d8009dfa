#include "nearfield/NecFile.h"

#include <cctype>
#include <cmath>
#include <set>

#include "nearfield/Text.h"

namespace korrin::nearfield {

namespace {

// The largest whole number a card's integer field takes: five digits, as
// the cards' columns hold them (and far below any int).
constexpr double kLargestWholeField = 99999;

const std::set<std::string> kGeometryCards = {"GW", "GA", "GH", "GM", "GR", "GS", "GX"};
const std::set<std::string> kAfterGeometryCards = {"GN", "LD", "TL"};

// The fewest numbers each accepted card must give (the rest default to 0,
// as the engine reads them) and the most it can hold.
struct Arity {
  size_t least;
  size_t most;
};

Arity ArityOf(const std::string& name) {
  if (name == "GW") return {9, 9};  // tag, segments, both ends, radius
  if (name == "GA") return {6, 9};  // tag, segments, arc radius, angles, wire radius
  if (name == "GH") return {9, 9};  // tag, turns' segments, spacing, length, radii, wire radius
  if (name == "GM") return {2, 9};
  if (name == "GS") return {3, 9};
  if (name == "GR" || name == "GX") return {2, 9};
  if (name == "GE") return {0, 9};
  if (name == "GN") return {1, 10};
  return {4, 10};  // LD, TL
}

std::string Refusal(const std::string& name) {
  std::string why;
  if (name == "FR" || name == "EX" || name == "RP" || name == "NE" || name == "NH" ||
      name == "XQ") {
    why =
        ": the program writes the frequency, excitation and field requests itself (name the "
        "feed with feed-wire)";
  } else if (name == "SP" || name == "SM" || name == "SC") {
    why = ": surface patches are not supported";
  } else if (name == "GC") {
    why = ": tapered wires are not supported";
  }
  return "the card " + name +
         " is not accepted in an antenna file, which holds the geometry cards (GW, GA, GH, GM, "
         "GR, GS, GX, GE), GN, LD and TL" +
         why;
}

}  // namespace

NecFile ParseNecGeometry(std::string_view text) {
  NecFile file;
  NecGeometry g;
  auto problem = [&file](int line, std::string message) {
    file.problems.push_back({line, std::move(message)});
  };
  bool geometryEnded = false;
  bool haveWire = false;
  bool haveFirstGw = false;
  std::vector<std::string_view> fields;
  size_t pos = 0;
  int line = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    ++line;
    if (raw.empty()) continue;
    if (raw.size() < 2 || !std::isalpha(static_cast<unsigned char>(raw[0])) ||
        !std::isalpha(static_cast<unsigned char>(raw[1])) ||
        (raw.size() > 2 && raw[2] != ' ' && raw[2] != '\t' && raw[2] != ',')) {
      problem(line, "not a card: a card starts with its two-letter name");
      continue;
    }
    std::string name{raw.substr(0, 2)};
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name == "CM" || name == "CE") continue;
    if (name == "EN") break;
    const bool geometryCard = kGeometryCards.count(name) > 0;
    if (!geometryCard && name != "GE" && kAfterGeometryCards.count(name) == 0) {
      problem(line, Refusal(name));
      continue;
    }
    if (geometryCard && geometryEnded) {
      problem(line, "the card " + name + " comes after GE, which ends the geometry");
      continue;
    }
    if (!geometryCard && name != "GE" && !geometryEnded) {
      problem(line, "the card " + name + " must come after GE, which ends the geometry");
      continue;
    }
    if (name == "GE" && geometryEnded) {
      problem(line, "a second GE card");
      continue;
    }

    Card card;
    card.name = name;
    card.line = line;
    SplitFields(raw.substr(2), fields);
    const Arity arity = ArityOf(name);
    const int integers = IntegerFieldCount(name);
    bool readable = true;
    for (size_t i = 0; i < fields.size(); ++i) {
      const auto v = ToDouble(fields[i]);
      const bool whole = static_cast<int>(i) < integers;
      if (!v || (whole && (*v != std::floor(*v) || std::fabs(*v) > kLargestWholeField))) {
        problem(line, "field " + std::to_string(i + 1) + " of " + name + " (\"" +
                          std::string(fields[i]) + "\") is not " +
                          (whole ? "a whole number from -99999 to 99999" : "a number"));
        readable = false;
        break;
      }
      card.values.push_back(*v);
    }
    if (!readable) continue;
    if (card.values.size() < arity.least || card.values.size() > arity.most) {
      problem(line, name + " takes " +
                        (arity.least == arity.most
                             ? std::to_string(arity.least)
                             : std::to_string(arity.least) + " to " + std::to_string(arity.most)) +
                        " numbers, not " + std::to_string(card.values.size()));
      continue;
    }
    const auto at = [&card](size_t i) { return i < card.values.size() ? card.values[i] : 0.0; };
    if (FormatCard(card).size() > kLongestCardLine) {
      problem(line, "the card " + name + " cannot be written in the " +
                        std::to_string(kLongestCardLine) +
                        " characters a line of the engine holds, even with its numbers to 6 "
                        "digits");
      continue;
    }
    if (name == "GW" && at(2) == at(5) && at(3) == at(6) && at(4) == at(7)) {
      problem(line, "GW's two ends are the same point: a wire needs a length");
      continue;
    }

    if (name == "GW" || name == "GA" || name == "GH") {
      const double radius = card.values.back();
      if (at(1) < 1) {
        problem(line, name + " needs at least one segment");
        continue;
      }
      if (name == "GW" && !(radius > 0)) {
        problem(line, "GW's wire radius must be above 0 (tapered wires with GC are not supported)");
        continue;
      }
      if (name != "GW" && !(radius > 0)) {
        problem(line, name + "'s wire radius must be above 0");
        continue;
      }
      haveWire = true;
      if (name == "GW" && !haveFirstGw) {
        haveFirstGw = true;
        const int segments = static_cast<int>(at(1));
        g.firstWireMiddle = {static_cast<int>(at(0)), (segments + 1) / 2};
      }
    }
    if (name == "GS" && !(at(2) > 0)) {
      problem(line, "GS's scale must be above 0");
      continue;
    }
    if (name == "GE") {
      const long flag = static_cast<long>(at(0));
      if (flag < -1 || flag > 1) {
        problem(line, "GE's ground flag must be -1, 0 or 1");
        continue;
      }
      g.groundFlag = static_cast<int>(flag);
      geometryEnded = true;
      continue;
    }
    if (name == "GN") {
      const long kind = static_cast<long>(at(0));
      if (at(1) > 0) {
        problem(line, "GN's radial ground screen is not supported: model the radials as wires");
        continue;
      }
      if (kind == -1) {
        g.ground = Ground{};
      } else if (kind == 1) {
        g.ground = Ground{GroundKind::Perfect, 1, 0};
      } else if (kind == 0 || kind == 2) {
        if (!(at(4) >= 1) || !(at(5) >= 0)) {
          problem(line,
                  "GN's relative permittivity must be at least 1 and its conductivity not "
                  "below 0");
          continue;
        }
        g.ground = Ground{GroundKind::Real, at(4), at(5)};
        if (kind == 0) {
          g.notes.push_back("line " + std::to_string(line) +
                            ": the ground is computed by the Sommerfeld-Norton method (GN 2), "
                            "which holds near the surface, not by reflection coefficients (GN 0)");
        }
      } else {
        problem(line, "GN's ground type must be -1, 0, 1 or 2");
        continue;
      }
      continue;
    }
    if (geometryCard) {
      g.geometry.push_back(std::move(card));
    } else {
      g.loads.push_back(std::move(card));
    }
  }
  if (!geometryEnded) problem(0, "the geometry does not end with a GE card");
  if (!haveWire) problem(0, "the file has no wire (GW, GA or GH)");
  if (file.problems.empty()) file.geometry = std::move(g);
  return file;
}

std::string FormatNecFileProblem(std::string_view file, const NecFileProblem& problem) {
  std::string text{file};
  if (problem.line > 0) text += ":" + std::to_string(problem.line);
  return text + ": " + problem.message;
}

}  // namespace korrin::nearfield
