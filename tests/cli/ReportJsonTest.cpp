// The report's JSON writer: its layout, and every real of a report read
// back exactly as the station holds it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <type_traits>

#include "app/report/ReportJson.h"
#include "app/report/ReportSession.h"
#include "assess/Assessment.h"

namespace korrin::report {
namespace {

TEST(WriteJsonTest, SectionsAndTheirListsOneALineTheRestOnItsLine) {
  JsonValue section = JsonValue::object();
  section["list"] = JsonValue::array({JsonValue::array({1, 2}), "a\"b"});
  section["point"] = {{"x", 0.5L}, {"ok", true}, {"none", nullptr}};
  section["empty"] = JsonValue::array();
  JsonValue doc = JsonValue::object();
  doc["section"] = std::move(section);
  doc["numbers"] = JsonValue::array({-3, 7u, NAN});
  doc["nothing"] = JsonValue::object();
  EXPECT_EQ(WriteJson(doc),
            "{\n"
            "  \"section\": {\n"
            "    \"list\": [\n"
            "      [1,2],\n"
            "      \"a\\\"b\"\n"
            "    ],\n"
            "    \"point\": {\"x\":5.00000000000000000000e-01,\"ok\":true,\"none\":null},\n"
            "    \"empty\": []\n"
            "  },\n"
            "  \"numbers\": [\n"
            "    -3,\n"
            "    7,\n"
            "    null\n"
            "  ],\n"
            "  \"nothing\": {}\n"
            "}");
}

// Reals a double cannot hold come back exactly through the long double
// JSON type: nothing on the way rounds them to a double.
TEST(WriteJsonTest, RealsComeBackExactly) {
  const long double values[] = {
      1.0L + LDBL_EPSILON, 300.0L / 432.0L, 1.38e-23L / 3.0L, -157.93L, LDBL_MAX, LDBL_MIN};
  JsonValue list = JsonValue::array();
  for (long double v : values) list.push_back(v);
  const JsonValue back = JsonValue::parse(WriteJson(list));
  ASSERT_EQ(back.size(), std::size(values));
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(back[i].get<long double>(), values[i]) << i;
  }
}

TEST(JsonReportTest, EveryRealOfTheStationAndTheAssessmentComesBackExactly) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  const assess::Assessment a = assess::Assess(s.Form().State(), {200.0L, 2.0L});
  const JsonValue j = JsonValue::parse(JsonReport(s.Form(), s.Platform(), nullptr, &a));
  size_t reals = 0;
  ForEachStationField(s.Form().State(), [&](const char* name, const auto& value) {
    using T = std::decay_t<decltype(value)>;
    if constexpr (std::is_floating_point_v<T>) {
      if (!std::isfinite(value)) return;
      ++reals;
      EXPECT_EQ(j.at("state").at(name).template get<long double>(), value) << name;
    }
  });
  EXPECT_GT(reals, 20u);
  const JsonValue& x = j.at("assessment").at("fccExemption");
  EXPECT_EQ(x.at("erpW").get<long double>(), a.fccExemption->erpW);
  EXPECT_EQ(x.at("minimumDistanceM").get<long double>(), a.fccExemption->minimumDistanceM);
  const JsonValue& profile = j.at("assessment").at("profile");
  ASSERT_EQ(profile.size(), a.profile.size());
  for (size_t i = 0; i < a.profile.size(); i += 37) {
    EXPECT_EQ(profile[i][0].get<long double>(), a.profile[i].distanceM) << i;
    EXPECT_EQ(profile[i][1].get<long double>(), a.profile[i].densityWm2) << i;
  }
}

}  // namespace
}  // namespace korrin::report
