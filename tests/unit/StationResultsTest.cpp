// The evaluation as the station window and its record put it into words:
// the worked two-installation station fails at its place by 0.18 dB under
// the FCC's general-population limits and complies once the place is moved
// or the power lowered; the site plan's circles lie where the evaluation's
// own fraction is exactly 1; the tables hold a row for every installation,
// set and tier and every sum.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "assess/StationEvaluation.h"
#include "station/StationFile.h"
#include "tests/unit/StationFilesTestSupport.h"
#include "ui/station/CellEdit.h"
#include "ui/station/ResultTables.h"

namespace korrin::stationui {
namespace {

using testing_support::Example;
using testing_support::WorkedF;

station::Station Typed(station::Station s, Table table, std::size_t row, std::size_t column,
                       const std::string& text) {
  const Outcome o = EditCell(s, table, row, column, text);
  EXPECT_TRUE(o.edit.has_value()) << text << ": " << o.refusal;
  if (o.edit) ApplyAll(s, o.edit->steps);
  return s;
}

TEST(StationResultsTest, TheWorkedStationFailsAtItsPlaceByAFifthOfADecibel) {
  const assess::StationEvaluation e = assess::Evaluate(WorkedF());
  ASSERT_FALSE(e.verdict.complies);
  const std::string line = VerdictLine(e);
  EXPECT_EQ(line.rfind("Does not comply at \"Neighbour's garden\" (", 0), 0u) << line;
  EXPECT_NE(line.find("FCC general population sum 1.0427, margin -0.18 dB"), std::string::npos)
      << line;
  EXPECT_EQ(line.find("property line"), std::string::npos) << line;
  const TextTable places = PlaceResults(e);
  bool found = false;
  for (std::size_t i = 0; i < places.rows.size(); ++i) {
    if (places.rows[i][3] == "FCC general population") {
      EXPECT_EQ(places.rows[i][4], "1.0427");
      EXPECT_EQ(places.rows[i][5], "-0.18 dB");
      EXPECT_TRUE(places.over[i]);
      found = true;
    }
  }
  EXPECT_TRUE(found);
}

TEST(StationResultsTest, TheWorkedStationCompliesOnceThePlaceMovesOrThePowerIsLowered) {
  const struct {
    const char* what;
    Table table;
    std::size_t row, column;
    const char* text;
  } fixes[] = {
      {"the place a metre further", Table::Places, 0, 1, "9 m"},
      {"the 2 m transmitter at 150 W", Table::Transmitters, 0, 1, "150 W"},
  };
  for (const auto& f : fixes) {
    const station::Station s = Typed(WorkedF(), f.table, f.row, f.column, f.text);
    const assess::StationEvaluation e = assess::Evaluate(s);
    EXPECT_TRUE(e.verdict.complies) << f.what << ": " << VerdictLine(e);
    EXPECT_EQ(VerdictLine(e).rfind("Complies", 0), 0u) << f.what;
    for (std::size_t i = 0; i < PlaceResults(e).rows.size(); ++i) {
      EXPECT_FALSE(PlaceResults(e).over[i]) << f.what;
    }
  }
}

TEST(StationResultsTest, ThePlansCirclesLieWhereTheFractionIsOne) {
  for (const station::Station& s : {WorkedF(), Example()}) {
    const assess::StationEvaluation e = assess::Evaluate(s);
    const SitePlanContent plan = SitePlanOf(s, e);
    EXPECT_EQ(plan.antennas.size(), s.antennas.size());
    ASSERT_FALSE(plan.circles.empty());
    for (const PlanCircle& circle : plan.circles) {
      const assess::InstallationResult* r = e.FindInstallation(circle.installation);
      ASSERT_NE(r, nullptr);
      // North of the antenna on the circle, at the plan's height: the
      // largest general-public fraction of any set is 1 there.
      const assess::Point3 onCircle{circle.centre.x, circle.centre.y + circle.radiusM,
                                    plan.circleHeightM};
      Real largest = 0;
      for (const assess::LimitSetChoice set : s.limitSets) {
        for (const auto criterion :
             {assess::Criterion::TimeAveraged, assess::Criterion::Instantaneous}) {
          const auto f =
              assess::FractionAtPoint(*r, set, assess::Tier::General, criterion, onCircle);
          // The field ratio of the instantaneous criterion: 1 where its power ratio is.
          if (f) largest = std::max(largest, *f);
        }
      }
      EXPECT_NEAR(static_cast<double>(largest), 1.0, 1e-6) << circle.installation;
    }
    for (std::size_t i = 0; i < plan.places.size(); ++i) {
      EXPECT_EQ(plan.places[i].largestSum, LargestSum(e.places[i]));
    }
  }
}

TEST(StationResultsTest, TheLinesLargestSumAndWhereItIs) {
  const station::Station s = Example();
  const assess::StationEvaluation e = assess::Evaluate(s);
  const SitePlanContent plan = SitePlanOf(s, e);
  ASSERT_EQ(plan.outline.size(), 4u);
  EXPECT_EQ(plan.outline[2].x, 20);
  EXPECT_EQ(plan.outline[2].y, 25);
  ASSERT_TRUE(plan.lineSum.has_value());
  const assess::PropertySum* largest = nullptr;
  for (const assess::PropertySum& p : e.property) {
    if (largest == nullptr || p.maxSum > largest->maxSum) largest = &p;
  }
  ASSERT_NE(largest, nullptr);
  EXPECT_EQ(*plan.lineSum, largest->maxSum);
  EXPECT_EQ(plan.lineSumAt->x, largest->atXM);
  EXPECT_EQ(plan.lineSumAt->y, largest->atYM);
  const TextTable line = PropertyResults(e, false);
  EXPECT_EQ(line.rows.size(), e.property.size());
  EXPECT_NE(VerdictLine(e).find("the property line ("), std::string::npos);
}

TEST(StationResultsTest, ARowForEveryInstallationSetAndTier) {
  const station::Station s = Example();
  const assess::StationEvaluation e = assess::Evaluate(s);
  const TextTable t = InstallationResults(e, false);
  EXPECT_EQ(t.rows.size(), s.installations.size() * s.limitSets.size() * 2);
  for (const auto& row : t.rows) EXPECT_EQ(row.size(), t.header.size());
  const TextTable feet = InstallationResults(e, true);
  EXPECT_NE(feet.rows.front()[5].find(" ft"), std::string::npos);
  const TextTable x = ExemptionResults(e, false);
  EXPECT_EQ(x.rows.size(), s.installations.size()) << "every band of the example is the FCC's";
}

}  // namespace
}  // namespace korrin::stationui
