// The moon's figures in the report: the options, the refusals, and the
// "moon" object of the JSON report against the library it shows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/report/ReportMoon.h"
#include "app/report/ReportOptions.h"
#include "app/report/ReportSession.h"
#include "moon/Echo.h"
#include "moon/Path.h"

namespace korrin::report {
namespace {

struct ArgsCase {
  std::vector<std::string> args;
  const char* error;  // a part of the message; null: accepted
};

class MoonOptionsTest : public ::testing::TestWithParam<ArgsCase> {};

TEST_P(MoonOptionsTest, AcceptedOrRefusedWithAReason) {
  const ArgsCase& c = GetParam();
  const ParseResult r = ParseArguments(c.args, true);
  if (c.error == nullptr) {
    ASSERT_EQ(r.status, ParseResult::Status::Run) << r.error;
    EXPECT_TRUE(r.options.moon.on);
    EXPECT_TRUE(r.options.moon.home);
    return;
  }
  ASSERT_EQ(r.status, ParseResult::Status::Error);
  EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
}

using V = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    CommandLines, MoonOptionsTest,
    ::testing::Values(
        ArgsCase{V{"--moon", "--locator", "FN20xa"}, nullptr},
        ArgsCase{V{"--locator", "FN20xa"}, nullptr},  // implies --moon
        ArgsCase{V{"--locator", "-33.5,151,20", "--dx=JO65fr"}, nullptr},
        ArgsCase{V{"--locator", "FN20", "--from", "2026-12-07T00:00:30Z", "--hours", "1.5",
                   "--step-minutes", "1", "--min-elevation", "-5"},
                 nullptr},
        ArgsCase{V{"--moon"}, "needs --locator"}, ArgsCase{V{"--dx", "JO65fr"}, "needs --locator"},
        ArgsCase{V{"--locator", "FN2"}, "4, 6 or 8 characters"},
        ArgsCase{V{"--locator", "ZZ00"}, "letter A-R"},
        ArgsCase{V{"--locator", "95,0"}, "latitude"},
        ArgsCase{V{"--locator", "FN20", "--dx", "JO6"}, "option --dx"},
        ArgsCase{V{"--locator", "FN20", "--from", "2026-12-07 00:00"}, "2026-12-07T00:00Z"},
        ArgsCase{V{"--locator", "FN20", "--from", "2026-02-30"}, "names no date"},
        ArgsCase{V{"--locator", "FN20", "--from", "2051-01-01"}, "1960-2050"},
        ArgsCase{V{"--locator", "FN20", "--hours", "0"}, "above 0 and at most 744"},
        ArgsCase{V{"--locator", "FN20", "--hours", "745"}, "above 0 and at most 744"},
        ArgsCase{V{"--locator", "FN20", "--hours", "day"}, "above 0 and at most 744"},
        ArgsCase{V{"--locator", "FN20", "--step-minutes", "0"}, "1 to 1440"},
        ArgsCase{V{"--locator", "FN20", "--step-minutes", "2.5"}, "1 to 1440"},
        ArgsCase{V{"--locator", "FN20", "--step-minutes", "1441"}, "1 to 1440"},
        ArgsCase{V{"--locator", "FN20", "--min-elevation", "-6"}, "-5 to 90"},
        ArgsCase{V{"--locator", "FN20", "--min-elevation", "91"}, "-5 to 90"},
        ArgsCase{V{"--locator", "FN20", "--moon-plot", "moon.jpg"}, "FILE.png or FILE.svg"},
        ArgsCase{V{"--locator", "FN20", "--moon-plot="}, "needs a FILE"}));

MoonOptions Week(bool dx) {
  const ParseResult r =
      ParseArguments(dx ? V{"--locator", "FN20xa", "--dx", "JO65fr", "--from", "2026-12-07T00:00Z",
                            "--hours", "6", "--step-minutes", "30", "--min-elevation", "5"}
                        : V{"--locator", "FN20xa", "--from", "2026-12-07T00:00Z", "--hours", "6",
                            "--step-minutes", "30", "--min-elevation", "5"},
                     true);
  return r.options.moon;
}

class MoonReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    session.Start();
    session.Apply(*ParseAction("RadioGroup1=5", error));  // 1296 MHz
  }
  ReportSession session{NumberLocale{".", ","}};
};

TEST_F(MoonReportTest, JsonObjectShowsThePlanAndTheEchoOnACopy) {
  const StationState before = session.Form().State();
  std::string error;
  const std::optional<MoonSection> m = MoonFigures(before, Week(true), 0, error);
  ASSERT_TRUE(m) << error;
  EXPECT_EQ(session.Form().State().EchoSnrDb, before.EchoSnrDb);
  const nlohmann::json j = nlohmann::json::parse("{" + MoonJson(*m) + "}").at("moon");
  EXPECT_EQ(j.at("locator"), "FN20xa");
  EXPECT_EQ(j.at("dxLocator"), "JO65fr");
  EXPECT_EQ(j.at("bandMHz"), 1296.0);
  EXPECT_EQ(j.at("bandPathLossDb"), 270.5);
  const nlohmann::json& rows = j.at("rows");
  ASSERT_EQ(rows.size(), 13u);  // 6 hours every 30 minutes, both ends
  moon::EchoAtPathLoss echo(before);
  const moon::Plan& plan = m->evaluation.plan;
  for (size_t k = 0; k < rows.size(); ++k) {
    const nlohmann::json& row = rows[k];
    for (const char* key :
         {"time", "azimuthDeg", "elevationDeg", "dxAzimuthDeg", "dxElevationDeg", "distanceKm",
          "pathLossDb", "degradationDb", "dopplerHz", "dxDopplerHz", "mutual", "echoSnDb"}) {
      EXPECT_TRUE(row.contains(key)) << key;
    }
    EXPECT_EQ(row.at("time"), moon::FormatUtc(plan.rows[k].time));
    EXPECT_EQ(row.at("elevationDeg"), plan.rows[k].home.elevationDeg);
    EXPECT_EQ(row.at("dxElevationDeg"), plan.rows[k].dx->elevationDeg);
    EXPECT_EQ(row.at("distanceKm"), plan.rows[k].home.distanceKm);
    EXPECT_EQ(row.at("pathLossDb"), moon::EchoPathLossDb(1296.0, plan.rows[k].home.distanceKm));
    EXPECT_EQ(row.at("bandChangeDb"), plan.rows[k].pathLossDb - 270.5);
    EXPECT_EQ(row.at("echoSnDb"), echo.SnDb(plan.rows[k].pathLossDb));
    EXPECT_EQ(row.at("mutual"),
              plan.rows[k].home.elevationDeg >= 5.0 && plan.rows[k].dx->elevationDeg >= 5.0);
  }
  EXPECT_EQ(rows[0].at("time"), "2026-12-07T00:00:00Z");
  EXPECT_EQ(rows[12].at("time"), "2026-12-07T06:00:00Z");
}

TEST_F(MoonReportTest, WithoutTheOtherStationItsKeysAreNull) {
  std::string error;
  const std::optional<MoonSection> m = MoonFigures(session.Form().State(), Week(false), 0, error);
  ASSERT_TRUE(m) << error;
  const nlohmann::json j = nlohmann::json::parse("{" + MoonJson(*m) + "}").at("moon");
  EXPECT_TRUE(j.at("dxLocator").is_null());
  EXPECT_TRUE(j.at("dx").is_null());
  for (const nlohmann::json& row : j.at("rows")) {
    EXPECT_TRUE(row.at("dxAzimuthDeg").is_null());
    EXPECT_TRUE(row.at("dxElevationDeg").is_null());
    EXPECT_TRUE(row.at("dxDopplerHz").is_null());
    EXPECT_EQ(row.at("mutual"), row.at("elevationDeg").get<double>() >= 5.0);
  }
  const std::string text = MoonText(*m, NumberLocale{".", ","});
  EXPECT_NE(text.find("Moon up at home (UTC)"), std::string::npos) << text;
  EXPECT_EQ(text.find("DX Az"), std::string::npos);
  EXPECT_NE(text.find("2026-12-07 06:00"), std::string::npos);
}

TEST_F(MoonReportTest, TheHfSideAndLateSpansAreRefused) {
  std::string error;
  MoonOptions late = Week(true);
  late.from = moon::ParseUtc("2050-12-31T20:00Z").time;
  EXPECT_FALSE(MoonFigures(session.Form().State(), late, 0, error));
  EXPECT_NE(error.find("1960-2050"), std::string::npos) << error;
  session.Apply(*ParseAction("HF_SelectClick", error));
  EXPECT_FALSE(MoonFigures(session.Form().State(), Week(true), 0, error));
  EXPECT_NE(error.find("VHF - SHF"), std::string::npos) << error;
}

TEST(MoonNow, IsToTheMinute) {
  EXPECT_EQ(NowToTheMinute() % 60, 0);
}

}  // namespace
}  // namespace korrin::report
