#include "nearfield/WireModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "nearfield/Tables.h"

namespace korrin::nearfield {

namespace {

std::string Metres(Real v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3Lg m", v);
  return buffer;
}

std::string Millimetres(Real v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3Lg mm", v * 1000.0L);
  return buffer;
}

std::string WholeText(double v) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", v);
  return buffer;
}

std::string MegahertzText(Real v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6Lg MHz", v);
  return buffer;
}

bool Finite(Point p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

Ground FreeSpace() {
  return {};
}

Ground PerfectGround() {
  Ground g;
  g.kind = GroundKind::Perfect;
  return g;
}

Ground RealGround(Real relativePermittivity, Real conductivitySPerM) {
  Ground g;
  g.kind = GroundKind::Real;
  g.relativePermittivity = relativePermittivity;
  g.conductivitySPerM = conductivitySPerM;
  return g;
}

std::optional<Ground> NamedGround(std::string_view id) {
  if (id == "free-space") return FreeSpace();
  if (id == "perfect") return PerfectGround();
  if (const GroundRow* row = FindGround(id)) {
    return RealGround(row->relativePermittivity, row->conductivitySPerM);
  }
  return std::nullopt;
}

int SegmentCount(Real lengthM, Real radiusM, Real wavelengthM, bool fedInMiddle) {
  const Real shortest = kShortestSegmentInRadii * radiusM;
  if (!(lengthM >= shortest) || !(radiusM > 0) || !(wavelengthM > 0)) return 0;
  const Real target = wavelengthM / (2 * kSegmentsPerHalfWave);
  int n = std::max(1, static_cast<int>(std::lround(lengthM / target)));
  const int most = static_cast<int>(std::floor(lengthM / shortest));  // at least 1 here
  n = std::min(n, most);
  if (fedInMiddle && n % 2 == 0) {
    // One more if the segments stay long enough, else one fewer.
    n = n + 1 <= most ? n + 1 : n - 1;
  }
  return n;
}

BuiltStructure BuildStructure(const WireModel& model, Real frequencyMHz) {
  BuiltStructure built;
  std::vector<std::string>& problems = built.problems;
  if (!(frequencyMHz > 0) || !std::isfinite(frequencyMHz)) {
    problems.push_back("the frequency must be above 0 MHz");
    return built;
  }
  if (model.wires.empty()) problems.push_back("the antenna has no wires");
  const Real lambda = WavelengthM(frequencyMHz);
  const bool ground = model.ground.kind != GroundKind::FreeSpace;
  if (model.ground.kind == GroundKind::Real &&
      (!(model.ground.relativePermittivity >= 1) || !(model.ground.conductivitySPerM >= 0))) {
    problems.push_back(
        "the ground's relative permittivity must be at least 1 and its conductivity not below 0");
  }
  if (!model.wires.empty() && model.feed.wire >= model.wires.size()) {
    problems.push_back("the feed is on wire " + std::to_string(model.feed.wire + 1) +
                       ", but the antenna has " + std::to_string(model.wires.size()) + " wires");
  }

  Structure s;
  s.ground = model.ground;
  for (size_t i = 0; i < model.wires.size(); ++i) {
    const Wire& w = model.wires[i];
    const std::string name = "wire " + std::to_string(i + 1);
    if (!Finite(w.from) || !Finite(w.to) || !std::isfinite(w.radiusM)) {
      problems.push_back(name + ": a coordinate or the radius is not a number");
      continue;
    }
    const Real length = Length(w.to - w.from);
    if (!(w.radiusM > 0)) {
      problems.push_back(name + ": the radius must be above 0");
      continue;
    }
    if (!(length > 0)) {
      problems.push_back(name + ": both ends are at the same point");
      continue;
    }
    if (ground && (w.from.z < 0 || w.to.z < 0)) {
      problems.push_back(name + " goes below the ground (z = " +
                         Metres(std::min(w.from.z, w.to.z)) + "): NEC-2 cannot model buried wires");
      continue;
    }
    if (ground && w.from.z == 0 && w.to.z == 0) {
      problems.push_back(name +
                         " lies on the ground: NEC-2 cannot model it; raise it or leave it out");
      continue;
    }
    const bool fed = i == model.feed.wire;
    const bool middle = fed && !model.feed.segment && model.feed.at == FeedAt::Middle;
    const int n = SegmentCount(length, w.radiusM, lambda, middle);
    if (n == 0) {
      problems.push_back(name + " (" + Metres(length) + ") is shorter than " +
                         std::to_string(static_cast<int>(kShortestSegmentInRadii)) +
                         " times its radius (" + Millimetres(w.radiusM) +
                         "): too thick for NEC-2's thin-wire model");
      continue;
    }
    if (fed) {
      const int segment = model.feed.segment.value_or(
          model.feed.at == FeedAt::Start ? 1 : (model.feed.at == FeedAt::End ? n : (n + 1) / 2));
      if (segment < 1 || segment > n) {
        problems.push_back("the feed segment " + std::to_string(segment) + " is not on " + name +
                           ", which has " + std::to_string(n) + " segments");
      }
      s.feed = {static_cast<int>(i + 1), segment};
    }
    Card c;
    c.name = "GW";
    c.values = {static_cast<double>(i + 1),    static_cast<double>(n),
                static_cast<double>(w.from.x), static_cast<double>(w.from.y),
                static_cast<double>(w.from.z), static_cast<double>(w.to.x),
                static_cast<double>(w.to.y),   static_cast<double>(w.to.z),
                static_cast<double>(w.radiusM)};
    s.geometry.push_back(std::move(c));
  }
  if (problems.empty()) problems = ThinWireProblems(s, frequencyMHz);
  if (problems.empty()) built.structure = std::move(s);
  return built;
}

std::vector<std::string> ThinWireProblems(const Structure& structure, Real frequencyMHz) {
  struct Piece {
    std::string name;
    Real segmentM;
    Real radiusM;
  };
  std::vector<Piece> pieces;
  for (const Card& c : structure.geometry) {
    const auto at = [&c](size_t i) -> Real { return i < c.values.size() ? c.values[i] : 0.0; };
    const std::string name = c.line > 0 ? "line " + std::to_string(c.line) + " (" + c.name + ")"
                                        : "wire " + WholeText(c.values.empty() ? 0.0 : c.values[0]);
    const Real segments = at(1);
    const bool wire = c.name == "GW" || c.name == "GA";
    if (wire && !(segments >= 1)) continue;
    if (c.name == "GW") {
      const Real length = Length(Point{at(5), at(6), at(7)} - Point{at(2), at(3), at(4)});
      pieces.push_back({name, length / segments, at(8)});
    } else if (c.name == "GA") {
      const Real arc = std::fabs(at(2) * (at(4) - at(3)) * kPi / 180);
      pieces.push_back({name, arc / segments, at(5)});
    } else if (c.name == "GS") {
      // Scales every wire before it, radii too.
      for (Piece& p : pieces) {
        p.segmentM *= at(2);
        p.radiusM *= at(2);
      }
    }
  }
  std::vector<std::string> problems;
  const Real longest = kLongestSegmentInWavelengths * WavelengthM(frequencyMHz);
  for (const Piece& p : pieces) {
    const Real shortest = kShortestSegmentInRadii * p.radiusM;
    const std::string radii = std::to_string(static_cast<int>(kShortestSegmentInRadii)) +
                              " times its radius (" + Millimetres(p.radiusM) + ")";
    if (!(p.segmentM >= shortest)) {
      problems.push_back(p.name + ": its segments (" + Metres(p.segmentM) + ") are shorter than " +
                         radii + ": too thick for NEC-2's thin-wire model");
    } else if (!(p.segmentM <= longest)) {
      std::string text = p.name + ": its segments (" + Metres(p.segmentM) +
                         ") are longer than a tenth of the wavelength (" + Metres(longest) +
                         " at " + MegahertzText(frequencyMHz) + ")";
      text += shortest > longest ? ", and no shorter one could be " + radii +
                                       ": too thick for NEC-2's thin-wire model"
                                 : ": give the wire more segments";
      problems.push_back(text);
    }
  }
  return problems;
}

}  // namespace korrin::nearfield
