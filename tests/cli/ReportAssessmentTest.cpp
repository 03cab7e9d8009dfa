// The assessment in the report: its options, the JSON object's keys and
// values against the library, and the band table's assessment columns.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/report/BandTable.h"
#include "app/report/ReportAssessment.h"
#include "app/report/ReportJson.h"
#include "app/report/ReportOptions.h"
#include "app/report/ReportSession.h"
#include "app/report/StationReport.h"
#include "station/FromCalculator.h"

namespace korrin::report {
namespace {

// ---- options ----

struct MetresCase {
  const char* text;
  std::optional<long double> metres;
};

class ParseMetresTest : public ::testing::TestWithParam<MetresCase> {};

TEST_P(ParseMetresTest, PlainDecimalsNotBelowZero) {
  const std::optional<long double> m = ParseMetres(GetParam().text);
  ASSERT_EQ(m.has_value(), GetParam().metres.has_value()) << '"' << GetParam().text << '"';
  if (m) {
    EXPECT_EQ(*m, *GetParam().metres) << GetParam().text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseMetresTest,
    ::testing::Values(MetresCase{"200", 200.0L}, MetresCase{"3.36", 3.36L}, MetresCase{"0", 0.0L},
                      MetresCase{".5", 0.5L}, MetresCase{"", std::nullopt},
                      MetresCase{"-1", std::nullopt}, MetresCase{"-0", std::nullopt},
                      MetresCase{"+2", std::nullopt}, MetresCase{"abc", std::nullopt},
                      MetresCase{"2.5m", std::nullopt}, MetresCase{"1e3", std::nullopt},
                      MetresCase{"nan", std::nullopt}, MetresCase{"inf", std::nullopt},
                      MetresCase{" 2", std::nullopt}));

TEST(AssessOptionsTest, DistanceAndHeadHeightImplyTheAssessment) {
  const ParseResult plain = ParseArguments({"--json"}, true);
  EXPECT_FALSE(plain.options.assess);
  EXPECT_FALSE(plain.options.distanceM.has_value());
  EXPECT_EQ(plain.options.headHeightM, 2.0L);

  const ParseResult r = ParseArguments({"--distance", "12.5", "--head-height=1.75"}, true);
  ASSERT_EQ(r.status, ParseResult::Status::Run) << r.error;
  EXPECT_TRUE(r.options.assess);
  EXPECT_EQ(r.options.distanceM, 12.5L);
  EXPECT_EQ(r.options.headHeightM, 1.75L);
  EXPECT_TRUE(ParseArguments({"--assess"}, true).options.assess);

  const ParseResult bad = ParseArguments({"--head-height", "-2"}, true);
  EXPECT_EQ(bad.status, ParseResult::Status::Error);
  EXPECT_NE(bad.error.find("--head-height"), std::string::npos) << bad.error;
  EXPECT_NE(bad.error.find("\"-2\""), std::string::npos) << bad.error;
}

// ---- the JSON object ----

using Json = nlohmann::json;

Action Parsed(const std::string& text) {
  std::string error;
  auto a = ParseAction(text, error);
  EXPECT_TRUE(a.has_value()) << error;
  return a.value_or(Action{});
}

Json AssessmentOf(ReportSession& s, const assess::Options& o = {}) {
  const assess::Assessment a = assess::Assess(s.Form().State(), o);
  return Json::parse(JsonReport(s.Form(), s.Platform(), nullptr, &a)).at("assessment");
}

std::set<std::string> Keys(const Json& object) {
  std::set<std::string> keys;
  for (auto it = object.begin(); it != object.end(); ++it) keys.insert(it.key());
  return keys;
}

void ExpectMetres(const Json& j, const std::optional<long double>& v, const char* key) {
  if (!v) {
    EXPECT_TRUE(j.at(key).is_null()) << key;
    return;
  }
  // The JSON keeps 21 significant digits; a double reads back 16 of them.
  EXPECT_NEAR(j.at(key).get<double>(), static_cast<double>(*v),
              1e-15 * std::fabs(static_cast<double>(*v)))
      << key;
}

// 2304 MHz stands for the 13cm band, 2300-2450 MHz, where ICNIRP 2020 and
// FCC general population are both 10 W/m² (ICNIRP's f/200 ends at
// 2000 MHz), so their keep-out distances are one, at the upper edge where
// the dish's gain is largest.  There OET 65's aperture equations never
// reach the limit (16·0.55·238.30 W/(π·9.5²) = 7.40 W/m² at most), so the
// calculator's near-field model of the dish governs.
TEST(AssessmentJsonAt2304, IcnirpKeepsOutAsFarAsFccGeneral) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  s.Apply(Parsed("RadioGroup1=6"));
  ASSERT_EQ(s.Form().State().FrequencyMHz, 2304.0L);
  const Json j = AssessmentOf(s);
  EXPECT_EQ(j.at("evaluated").at("band"), "13cm");
  EXPECT_EQ(j.at("evaluated").at("lowerMHz").get<double>(), 2300.0);
  EXPECT_EQ(j.at("evaluated").at("upperMHz").get<double>(), 2450.0);
  std::optional<Json> fcc;
  std::optional<Json> icnirp;
  for (const Json& e : j.at("limits")) {
    if (e.at("id") == "fcc-general") fcc = e;
    if (e.at("id") == "icnirp-2020") icnirp = e;
  }
  ASSERT_TRUE(fcc && icnirp);
  for (const Json* e : {&*fcc, &*icnirp}) {
    SCOPED_TRACE(e->at("id").get<std::string>());
    EXPECT_EQ(e->at("source"), "station-evaluation");
    EXPECT_EQ(e->at("limitWm2").get<double>(), 10.0);
    EXPECT_EQ(e->at("frequencyMHz").get<double>(), 2450.0);
    EXPECT_EQ(e->at("frequencyReason"), "upper-edge");
    EXPECT_EQ(e->at("model"), "calculator-scan");
    EXPECT_EQ(e->at("criterion"), "time-averaged");
    EXPECT_TRUE(e->at("zoneText").is_null());
  }
  EXPECT_EQ(icnirp->at("keepOutM").get<double>(), fcc->at("keepOutM").get<double>());
  EXPECT_GT(icnirp->at("keepOutM").get<double>(), 0.0);
}

struct JsonCase {
  const char* name;
  std::vector<const char*> actions;
  bool tower;  // tower and head clearances are given
};

class AssessmentJsonTest : public ::testing::TestWithParam<JsonCase> {};

TEST_P(AssessmentJsonTest, KeysAndValues) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  for (const char* action : GetParam().actions) s.Apply(Parsed(action));
  const assess::Assessment a = assess::Assess(s.Form().State());
  const Json j = AssessmentOf(s);

  EXPECT_EQ(Keys(j),
            (std::set<std::string>{"evaluated", "limits", "fccExemption", "warnings", "profile"}));
  EXPECT_EQ(Keys(j.at("evaluated")), (std::set<std::string>{"band", "lowerMHz", "upperMHz"}));
  ExpectMetres(j.at("evaluated"), a.lowerMHz, "lowerMHz");
  ExpectMetres(j.at("evaluated"), a.upperMHz, "upperMHz");
  ASSERT_EQ(j.at("limits").size(), a.limits.size());
  for (size_t i = 0; i < a.limits.size(); ++i) {
    const assess::LimitEntry& e = a.limits[i];
    const Json& l = j.at("limits")[i];
    SCOPED_TRACE(assess::LimitSetId(e.set));
    EXPECT_EQ(Keys(l),
              (std::set<std::string>{"id", "name", "source", "averagingMinutes", "frequencyMHz",
                                     "frequencyReason", "criterion", "model", "limitWm2",
                                     "exclusionM", "rangesM", "zoneText", "keepOutM",
                                     "towerClearanceM", "headClearanceM", "criteria"}));
    EXPECT_EQ(l.at("criteria").size(), e.criteria.size());
    EXPECT_EQ(l.at("id"), assess::LimitSetId(e.set));
    EXPECT_EQ(l.at("source"), assess::EntrySourceId(e.source));
    ExpectMetres(l, e.frequencyMHz, "frequencyMHz");
    // today's rules name their model; the calculator's show the window's zone
    const bool evaluation = e.source == assess::EntrySource::Evaluation;
    EXPECT_EQ(l.at("model").is_null(), !evaluation);
    EXPECT_EQ(l.at("zoneText").is_null(), evaluation);
    EXPECT_EQ(l.at("name"), assess::LimitSetName(e.set));
    ExpectMetres(l, e.averagingMinutes, "averagingMinutes");
    ExpectMetres(l, e.limitWm2, "limitWm2");
    ExpectMetres(l, e.exclusionM, "exclusionM");
    ExpectMetres(l, e.keepOutM, "keepOutM");
    ExpectMetres(l, e.towerClearanceM, "towerClearanceM");
    ExpectMetres(l, e.headClearanceM, "headClearanceM");
    EXPECT_EQ(l.at("towerClearanceM").is_null(), !GetParam().tower);
    ASSERT_EQ(l.at("rangesM").size(), e.rangesM.size());
    for (size_t r = 0; r < e.rangesM.size(); ++r) {
      EXPECT_EQ(l.at("rangesM")[r].size(), 2u);
      EXPECT_DOUBLE_EQ(l.at("rangesM")[r][1].get<double>(), static_cast<double>(e.rangesM[r].toM));
    }
  }
  const Json& x = j.at("fccExemption");
  EXPECT_EQ(Keys(x),
            (std::set<std::string>{"frequencyMHz", "frequencyReason", "erpW", "reactiveNearFieldM",
                                   "minimumDistanceM", "distanceM", "exempt"}));
  ExpectMetres(x, a.fccExemption->frequencyMHz, "frequencyMHz");
  ExpectMetres(x, a.fccExemption->erpW, "erpW");
  ExpectMetres(x, a.fccExemption->minimumDistanceM, "minimumDistanceM");
  EXPECT_TRUE(x.at("distanceM").is_null());
  EXPECT_TRUE(x.at("exempt").is_null());
  ASSERT_EQ(j.at("warnings").size(), a.warnings.size());
  for (size_t i = 0; i < a.warnings.size(); ++i) EXPECT_EQ(j.at("warnings")[i], a.warnings[i]);
  ASSERT_EQ(j.at("profile").size(), a.profile.size());
  EXPECT_EQ(j.at("profile")[0].size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Stations, AssessmentJsonTest,
    ::testing::Values(JsonCase{"StartUp", {}, false},
                      JsonCase{"TwoRanges", {"RadioGroup4=0", "RadioGroup5=5"}, false},
                      JsonCase{"Imperial", {"Button2Click"}, false},
                      JsonCase{"HfTower", {"HF_SelectClick", "TrackBar1=20"}, true},
                      JsonCase{"HandSet", {"Panel79Click", "RadUpDnDownClick"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- today's rules are the station evaluation's entries ----

// The entry of today's rules that stands for a station result's set and tier.
std::string EntryId(const Json& result) {
  const std::string set = result.at("set");
  const std::string tier = result.at("tier");
  if (set == "fcc") return tier == "general" ? "fcc-general" : "fcc-occupational";
  return tier == "general" ? "icnirp-2020" : "icnirp-2020-occupational";
}

struct GoverningCase {
  const char* name;
  int hfBand;  // of the calculator's HF bands
  // The criterion that governs FCC general and occupational, ICNIRP general
  // and occupational.
  std::vector<std::string> governs;
};

class TodaysRulesJsonTest : public ::testing::TestWithParam<GoverningCase> {};

// The assessment's entries of today's rules and the station evaluation's
// results for the calculator's station, as it converts to a station file:
// each criterion's figures equal field for field, one of them governs, and
// the entry's frequency, limit, model and keep-out are that one's, never
// one criterion's limit beside another's keep-out.
TEST_P(TodaysRulesJsonTest, EachCriterionAsTheStationGivesIt) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  s.Apply(Parsed("HF_SelectClick"));
  s.Apply(Parsed("RadioGroup8=" + std::to_string(GetParam().hfBand)));
  const Json assessment = AssessmentOf(s);
  const Json station =
      Json::parse(StationJsonReport(assess::Evaluate(station::FromCalculator(s.Form().State()))));
  const Json& results = station.at("installations").at(0).at("results");
  ASSERT_EQ(results.size(), GetParam().governs.size());
  for (size_t i = 0; i < results.size(); ++i) {
    const Json& r = results[i];
    SCOPED_TRACE(EntryId(r));
    const Json* entry = nullptr;
    for (const Json& l : assessment.at("limits")) {
      if (l.at("id") == EntryId(r)) entry = &l;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->at("source"), "station-evaluation");
    EXPECT_EQ(entry->at("criteria"), r.at("criteria"));
    const Json* governing = nullptr;
    for (const Json& c : r.at("criteria")) {
      if (c.at("governs").get<bool>()) {
        EXPECT_EQ(governing, nullptr) << "one criterion governs";
        governing = &c;
      }
    }
    ASSERT_NE(governing, nullptr);
    EXPECT_EQ(governing->at("criterion"), GetParam().governs[i]);
    for (const Json* top : {&r, entry}) {
      for (const char* key :
           {"criterion", "frequencyMHz", "frequencyReason", "limitWm2", "keepOutM", "model"}) {
        EXPECT_EQ(top->at(key), governing->at(key)) << key;
      }
    }
    // Beside each criterion's own keep-out distance, the station's two.
    for (const Json& c : r.at("criteria")) {
      const char* key =
          c.at("criterion") == "instantaneous" ? "instantaneousKeepOutM" : "timeAveragedKeepOutM";
      EXPECT_EQ(r.at(key), c.at("keepOutM")) << key;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bands, TodaysRulesJsonTest,
    ::testing::Values(
        // 80 m: ICNIRP's nerve-stimulation level, at the peak power, keeps
        // out farther than its 30-minute average; FCC has no such level.
        GoverningCase{
            "Band80m", 1, {"time-averaged", "time-averaged", "instantaneous", "instantaneous"}},
        // 20 m: above 10 MHz only the time-averaged criterion applies.
        GoverningCase{
            "Band20m", 4, {"time-averaged", "time-averaged", "time-averaged", "time-averaged"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AssessmentJsonTest, MetresWhateverTheWindowsUnits) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  s.Apply(Parsed("Button2Click"));
  const Json j = AssessmentOf(s);
  std::optional<Json> window;
  for (const Json& e : j.at("limits")) {
    if (e.at("id") == "calculator-fcc") window = e;
  }
  ASSERT_TRUE(window);
  // 88.34 m, which the window shows as 289.75 Feet
  EXPECT_NEAR(window->at("keepOutM").get<double>(), 88.34, 0.005);
  EXPECT_EQ(window->at("zoneText"), "289.75 Feet");
  // the evaluation's FCC general population, 83.53 m at 450 MHz, in metres too
  EXPECT_NEAR(j.at("limits")[0].at("keepOutM").get<double>(), 83.53, 0.005);
}

TEST(AssessmentJsonTest, TheVerdictAtAGivenDistance) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  for (const auto& [metres, exempt] : {std::pair{150.0L, false}, std::pair{200.0L, true}}) {
    assess::Options o;
    o.distanceM = metres;
    const Json x = AssessmentOf(s, o).at("fccExemption");
    EXPECT_EQ(x.at("distanceM").get<double>(), static_cast<double>(metres));
    EXPECT_EQ(x.at("exempt").get<bool>(), exempt) << static_cast<double>(metres);
  }
}

// ---- the band table ----

TEST(BandAssessmentTest, EachRowIsTheAssessmentOfThatBand) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  s.Apply(Parsed("HF_SelectClick"));
  const StationState before = s.Form().State();
  const BandTable table = EvaluateAllBands(s.Form(), s.Platform(), true);
  EXPECT_TRUE(SameStation(s.Form().State(), before));
  ASSERT_EQ(table.rows.size(), 9u);
  for (size_t i = 0; i < table.rows.size(); ++i) {
    ReportSession direct{NumberLocale{".", ","}};
    direct.Start();
    direct.Apply(Parsed("HF_SelectClick"));
    direct.Apply(Parsed("RadioGroup8=" + std::to_string(i)));
    const assess::Assessment a = assess::Assess(direct.Form().State());
    ASSERT_TRUE(table.rows[i].assessed.has_value());
    const BandRow::Assessed& r = *table.rows[i].assessed;
    EXPECT_EQ(r.keepOutSelectedM, a.Selected()->keepOutM) << i;
    EXPECT_EQ(r.keepOutIcnirpM, a.Find(assess::LimitSet::Icnirp2020)->keepOutM) << i;
    EXPECT_EQ(r.keepOutFccM, a.Find(assess::LimitSet::FccGeneral)->keepOutM) << i;
    EXPECT_EQ(r.fccMinimumM, a.fccExemption->minimumDistanceM) << i;
  }
  // 14.2 MHz: the figures worked by hand; the window's FCC at 14.2 MHz, the
  // evaluation's ICNIRP 2020 and FCC over 14.0-14.35 MHz (see the unit tests)
  EXPECT_NEAR(static_cast<double>(*table.rows[4].assessed->fccMinimumM), 4.23, 0.005);
  const std::vector<std::string> cells =
      BandAssessmentCells(*table.rows[4].assessed, true, NumberLocale{".", ","});
  EXPECT_EQ(cells, (std::vector<std::string>{"2.22 m", "2.61 m", "2.12 m", "4.23 m"}));
  EXPECT_EQ(BandAssessmentCells(*table.rows[4].assessed, false, NumberLocale{".", ","})[0],
            "7.29 ft");
}

TEST(BandAssessmentTest, OnlyWhenAsked) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  const BandTable table = EvaluateAllBands(s.Form(), s.Platform());
  EXPECT_FALSE(table.assessed);
  for (const BandRow& row : table.rows) EXPECT_FALSE(row.assessed.has_value());
}

}  // namespace
}  // namespace korrin::report
