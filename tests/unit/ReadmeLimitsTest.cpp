// The README's table of today's limits read as a user reads it and checked
// against the limits the program computes, so that the two cannot drift
// apart: each piece of a row ("1000; 1800/f²; 2; f/150; 10 W/m² from 0.3,
// 1.34, 30, 300, 1500 MHz", "E = 300/f^0.7 V/m" below 30 MHz) at its lower
// bound, inside and just below its upper bound.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "assess/Assessment.h"

namespace korrin::assess {
namespace {

std::vector<std::string> Split(const std::string& text, const std::string& by) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (true) {
    const std::size_t next = text.find(by, at);
    out.push_back(text.substr(at, next == std::string::npos ? std::string::npos : next - at));
    if (next == std::string::npos) return out;
    at = next + by.size();
  }
}

// The README line of the set's row in the limits table; empty if missing.
std::string RowOf(const std::string& readme, const std::string& id) {
  const std::string start = "| `" + id + "` | ";
  const std::size_t at = readme.find(start);
  if (at == std::string::npos) return {};
  return readme.substr(at, readme.find('\n', at) - at);
}

// One piece as the README writes it: "1000", "1800/f²", "f/150".
Real Piece(const std::string& piece, Real f) {
  if (piece.rfind("f/", 0) == 0) return f / std::stold(piece.substr(2));
  const std::size_t over = piece.find("/f²");
  if (over != std::string::npos) return std::stold(piece.substr(0, over)) / (f * f);
  std::size_t used = 0;
  const Real value = std::stold(piece, &used);
  EXPECT_EQ(used, piece.size()) << "not a piece of a limit: \"" << piece << "\"";
  return value;
}

struct Row {
  const char* id;
  LimitSet set;
};

class ReadmeLimitsTest : public ::testing::TestWithParam<Row> {};

TEST_P(ReadmeLimitsTest, TheTableGivesTheProgramsLimits) {
  std::ifstream in(std::string(KORRIN_SOURCE_DIR) + "/README.md");
  const std::string readme{std::istreambuf_iterator<char>(in), {}};
  const std::string row = RowOf(readme, GetParam().id);
  ASSERT_FALSE(row.empty()) << GetParam().id;
  const std::vector<std::string> cells = Split(row, " | ");
  ASSERT_GE(cells.size(), 5u) << row;

  // The range: "0.3–100000 MHz" in the last cell.
  const std::string range = cells.back().substr(0, cells.back().find(" MHz"));
  const std::vector<std::string> ends = Split(range, "–");
  ASSERT_EQ(ends.size(), 2u) << row;
  const Real highest = std::stold(ends[1]);

  // The densities: "P1; P2; ... W/m² from F1, F2, ... MHz".
  const std::string& text = cells[1];
  const std::size_t unit = text.find(" W/m² from ");
  ASSERT_NE(unit, std::string::npos) << row;
  std::string pieces = text.substr(0, unit);
  const std::size_t colon = pieces.rfind(": ");
  const std::size_t then = pieces.rfind("then ");
  if (then != std::string::npos && (colon == std::string::npos || then > colon)) {
    pieces = pieces.substr(then + 5);
  } else {
    ASSERT_NE(colon, std::string::npos) << row;
    pieces = pieces.substr(colon + 2);
  }
  const std::size_t from = unit + std::string(" W/m² from ").size();
  const std::vector<std::string> formulas = Split(pieces, "; ");
  const std::vector<std::string> bounds =
      Split(text.substr(from, text.find(" MHz", from) - from), ", ");
  ASSERT_EQ(formulas.size(), bounds.size()) << row;

  struct Span {
    Real lower;
    Real upper;
    std::function<Real(Real)> density;
  };
  std::vector<Span> spans;
  // Below the first bound: the field strength "E = K/f^0.7 V/m", as S = E²/377.
  const std::size_t e = text.find("E = ");
  if (e != std::string::npos) {
    const std::size_t over = text.find("/f^0.7 V/m", e);
    ASSERT_NE(over, std::string::npos) << row;
    const Real k = std::stold(text.substr(e + 4, over - e - 4));
    spans.push_back({std::stold(ends[0]), std::stold(bounds[0]), [k](Real f) {
                       const Real field = k / std::pow(f, 0.7L);
                       return field * field / 377.0L;
                     }});
  }
  for (std::size_t i = 0; i < formulas.size(); ++i) {
    spans.push_back({std::stold(bounds[i]),
                     i + 1 < bounds.size() ? std::stold(bounds[i + 1]) : highest,
                     [formula = formulas[i]](Real f) { return Piece(formula, f); }});
  }
  for (const Span& s : spans) {
    for (const Real f : {s.lower, std::sqrt(s.lower * s.upper), s.upper * (1 - 1e-9L)}) {
      const std::optional<Real> program = LimitAtFrequency(GetParam().set, f);
      ASSERT_TRUE(program.has_value()) << GetParam().id << " at " << static_cast<double>(f);
      const Real readmes = s.density(f);
      EXPECT_NEAR(static_cast<double>(*program), static_cast<double>(readmes),
                  1e-9 * static_cast<double>(readmes))
          << GetParam().id << " at " << static_cast<double>(f) << " MHz";
    }
  }
  // Outside the range the set does not apply.
  EXPECT_FALSE(LimitAtFrequency(GetParam().set, highest * (1 + 1e-9L)).has_value())
      << GetParam().id;
}

INSTANTIATE_TEST_SUITE_P(TodaysLimits, ReadmeLimitsTest,
                         ::testing::Values(Row{"fcc-general", LimitSet::FccGeneral},
                                           Row{"fcc-occupational", LimitSet::FccOccupational},
                                           Row{"icnirp-2020", LimitSet::Icnirp2020},
                                           Row{"icnirp-2020-occupational",
                                               LimitSet::Icnirp2020Occupational}),
                         [](const auto& info) { return "Set" + std::to_string(info.index); });

}  // namespace
}  // namespace korrin::assess
