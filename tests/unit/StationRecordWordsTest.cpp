// What the record and the site plan say of what a station does not give or
// does not reach: no failure names only the places and the property line
// the station has; a place not exempt under the FCC's exemption says so
// beside its margin; an installation whose zone does not reach the plan's
// height is listed for the legend instead of drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "assess/StationEvaluation.h"
#include "station/StationFile.h"
#include "ui/station/ResultTables.h"
#include "ui/station/SitePlan.h"

namespace korrin::stationui {
namespace {

TEST(StationRecordWordsTest, NoFailureNamesOnlyWhatTheStationGives) {
  const struct {
    bool places, line;
    const char* words;
  } cases[] = {
      {true, true, "None: every place and the property line are within their limits."},
      {true, false, "None: every place is within its limits."},
      {false, true, "None: the property line is within its limits."},
      {false, false, "None: the station gives no place and no property line to check."},
  };
  for (const auto& c : cases) {
    const std::string words = NoFailureWords(c.places, c.line);
    EXPECT_EQ(words, c.words) << c.places << c.line;
    // What the station does not give is never called within its limits.
    if (!c.line) {
      EXPECT_EQ(words.find("line are within"), std::string::npos);
    }
    if (!c.places) {
      EXPECT_EQ(words.find("every place"), std::string::npos);
    }
  }
}

TEST(StationRecordWordsTest, TheExemptionRowSaysWhetherThePlaceIsExempt) {
  const struct {
    Real sum;
    std::optional<Real> marginDb;
    const char* margin;
  } cases[] = {
      {1.449L, -1.61L, "-1.61 dB, not exempt"},
      {0.5L, 3.01L, "3.01 dB, exempt"},
      {1, 0, "0.00 dB, exempt"},  // the threshold itself is exempt
      {0, std::nullopt, "exempt"},
  };
  for (const auto& c : cases) {
    assess::StationEvaluation e;
    assess::PlaceResult place;
    place.name = "garden";
    place.fccExemptionSums.push_back({"home", c.sum, c.marginDb, {}});
    e.places.push_back(place);
    const TextTable t = PlaceResults(e);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0][5], c.margin) << static_cast<double>(c.sum);
    EXPECT_FALSE(t.over[0]) << "not exempt is no failure: the limits decide";
  }
}

TEST(StationRecordWordsTest, AnInstallationWithoutAZoneAtThePlansHeightIsListed) {
  const station::ReadResult read = station::ReadStationFile(std::string(KORRIN_SOURCE_DIR) +
                                                            "/data/examples/example.station.toml");
  ASSERT_TRUE(read.station.has_value()) << station::FormatDiagnostics(read.errors);
  const assess::StationEvaluation e = assess::Evaluate(*read.station);
  const SitePlanContent plan = SitePlanOf(*read.station, e);
  ASSERT_FALSE(plan.circles.empty());
  std::size_t listed = 0;
  for (const assess::InstallationResult& r : e.installations) {
    const auto radius =
        assess::KeepOutCircleRadiusM(r.GeneralKeepOutM(), r.positionM.heightM, plan.circleHeightM);
    const bool drawn = std::any_of(plan.circles.begin(), plan.circles.end(),
                                   [&r](const PlanCircle& c) { return c.installation == r.id; });
    const bool without =
        std::find(plan.withoutZone.begin(), plan.withoutZone.end(), r.id) != plan.withoutZone.end();
    EXPECT_NE(drawn, without) << r.id << ": a circle or a line in the legend, never both";
    EXPECT_EQ(without, !radius || *radius <= 0) << r.id;
    listed += without ? 1 : 0;
  }
  EXPECT_EQ(listed, plan.withoutZone.size());
  EXPECT_FALSE(plan.withoutZone.empty()) << "the example has a zone high above head height";
}

}  // namespace
}  // namespace korrin::stationui
