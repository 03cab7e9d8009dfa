// The evaluation fuzzer's inputs (the station file fuzzer's seeds and what
// it once found), replayed: every station the reader accepts is evaluated
// and keeps every rule the fuzzer holds it to.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "assess/StationEvaluation.h"
#include "fuzz/EvaluationChecks.h"
#include "station/StationFile.h"

namespace korrin {
namespace {

TEST(EvaluationFuzzInputsTest, EveryAcceptedStationKeepsTheRules) {
  const std::filesystem::path inputs =
      std::filesystem::path(KORRIN_TEST_DATA_DIR) / "fuzz" / "station";
  int evaluated = 0;
  for (const auto& entry : std::filesystem::directory_iterator(inputs)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const station::ReadResult r = station::ParseStation(text.str(), "fuzz.station.toml");
    if (!r.station) continue;
    ++evaluated;
    const assess::StationEvaluation e = assess::Evaluate(*r.station);
    EXPECT_EQ(fuzzing::EvaluationProblem(*r.station, e), "") << entry.path();
  }
  EXPECT_GT(evaluated, 0);
}

// The rules catch what they are for: a verdict that says "complies" over a
// place above its limit is a broken rule.
TEST(EvaluationFuzzInputsTest, TheRulesCatchAFalseVerdict) {
  const station::ReadResult r = station::ReadStationFile(
      std::string(KORRIN_SOURCE_DIR) + "/data/examples/two-transmitters.station.toml");
  ASSERT_TRUE(r.station.has_value());
  assess::StationEvaluation e = assess::Evaluate(*r.station);
  ASSERT_EQ(fuzzing::EvaluationProblem(*r.station, e), "");
  ASSERT_FALSE(e.verdict.complies);
  e.verdict.complies = true;
  e.verdict.failures.clear();
  EXPECT_EQ(fuzzing::EvaluationProblem(*r.station, e),
            "a place over its limit, and the station complies");
}

}  // namespace
}  // namespace korrin
