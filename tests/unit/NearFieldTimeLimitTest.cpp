// The engine's time limit only guards against a hung engine: it grows with
// a run's work (segments and points) from a floor, so that a correct run
// on a slow machine never reaches it.  No test here depends on the
// machine's speed.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "nearfield/Deck.h"
#include "nearfield/Runner.h"

namespace korrin::nearfield {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

struct LimitCase {
  const char* name;
  double segments;
  double points;
  milliseconds limit;
};

class EngineTimeLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(EngineTimeLimitTest, GrowsWithTheWorkFromTheFloor) {
  const LimitCase& c = GetParam();
  // Within a millisecond: the limit is rounded up to one.
  EXPECT_NEAR(static_cast<double>(EngineTimeLimit(c.segments, c.points).count()),
              static_cast<double>(c.limit.count()), 1)
      << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Work, EngineTimeLimitTest,
    ::testing::Values(LimitCase{"nothing known", 0, 0, kLeastEngineTimeLimit},
                      LimitCase{"a dipole's plan", 21, 100000,
                                kLeastEngineTimeLimit},  // 105 s of work
                      // 50 us x 41 x 1e6 = 2050 s, and 20 ns x 41^3 = 1.4 ms.
                      LimitCase{"a million points", 41, 1e6, milliseconds(2050002)},
                      // The matrix: 20 ns x 2000^3 = 160 s, and 50 us x 2000 x 1000 = 100 s.
                      LimitCase{"a large structure", 2000, 1000, seconds(260)},
                      LimitCase{"absurd work", 1e9, 1e9, seconds(10000000)},
                      LimitCase{"negative figures", -5, -5, kLeastEngineTimeLimit}));

struct SegmentCase {
  const char* name;
  std::vector<Card> cards;
  double segments;
};

class SegmentsOfTest : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentsOfTest, CountsEveryCopy) {
  const SegmentCase& c = GetParam();
  Structure s;
  s.geometry = c.cards;
  EXPECT_EQ(SegmentsOf(s), c.segments) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cards, SegmentsOfTest,
    ::testing::Values(SegmentCase{"one wire", {{"GW", {1, 21, 0, 0, 0, 1, 0, 0, 0.001}, 0}}, 21},
                      SegmentCase{"wire, arc and helix",
                                  {{"GW", {1, 5, 0, 0, 0, 1, 0, 0, 0.001}, 0},
                                   {"GA", {2, 8, 1, 0, 90, 0.001}, 0},
                                   {"GH", {3, 12, 0.1, 1, 0.2, 0.2, 0.2, 0.2, 0.001}, 0}},
                                  25},
                      SegmentCase{"rotated four times",
                                  {{"GW", {1, 10, 0, 0, 0, 1, 0, 0, 0.001}, 0}, {"GR", {1, 4}, 0}},
                                  40},
                      SegmentCase{"moved twice",
                                  {{"GW", {1, 10, 0, 0, 0, 1, 0, 0, 0.001}, 0},
                                   {"GM", {1, 2, 0, 0, 0, 0, 0, 1, 0}, 0}},
                                  30},
                      SegmentCase{"reflected in two planes",
                                  {{"GW", {1, 5, 0, 0, 0, 1, 0, 0, 0.001}, 0}, {"GX", {1, 110}, 0}},
                                  20},
                      SegmentCase{
                          "a scale changes nothing",
                          {{"GW", {1, 7, 0, 0, 0, 1, 0, 0, 0.001}, 0}, {"GS", {0, 0, 2}, 0}},
                          7}));

}  // namespace
}  // namespace korrin::nearfield
