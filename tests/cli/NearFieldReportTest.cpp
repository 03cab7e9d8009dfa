// korrin-report --near-field on a station file: each wire installation's
// "nearField" object in the JSON report and the near field's columns in the
// CSV rows, from the near field nec2c computes (the engine must be
// installed).  The stations: the worked 14.2 MHz dipole at 100 W CW, moved
// away from the site's origin so that a point left in the model's
// coordinates shows, and the 40 m inverted V at 1500 W beside a yagi.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/report/ReportOptions.h"
#include "app/report/StationReport.h"
#include "assess/NearFieldStation.h"

namespace korrin::report {
namespace {

namespace fs = std::filesystem;

std::string Data(const std::string& name) {
  return std::string(KORRIN_SOURCE_DIR) + "/tests/data/station/" + name;
}

// The worked dipole (tests/data/station/worked-a.station.toml) with its
// antenna at x 20 m, y -10 m and its garden 6 m east of it.
constexpr const char* kMovedDipole = R"(format = "korrin-station/1"
callsign = "VK9ZZA"
region = 2
ground-reflection = true

[[transmitter]]
id = "rig"
power-w = 100
mode = "cw"

[[antenna]]
id = "dipole"
kind = "dipole"
x-m = 20
y-m = -10
height-m = 10

[[installation]]
id = "20m-dipole"
transmitter = "rig"
antenna = "dipole"
frequency-mhz = 14.2

[[place]]
name = "Garden"
x-m = 26
y-m = -10
height-m = 2
)";

constexpr long double kDipoleXM = 20;
constexpr long double kDipoleYM = -10;

class NearFieldReportTest : public ::testing::Test {
 protected:
  // The moved dipole written once, and its JSON report worked once: each
  // run of the near field takes seconds.
  static void SetUpTestSuite() {
    folder_ = new fs::path(fs::temp_directory_path() /
                           ("korrin-near-field-report-" + std::to_string(::getpid())));
    fs::create_directories(*folder_);
    std::ofstream(*folder_ / "moved.station.toml") << kMovedDipole;
  }
  static void TearDownTestSuite() {
    fs::remove_all(*folder_);
    delete folder_;
    folder_ = nullptr;
    delete moved_;
    moved_ = nullptr;
  }

  static std::string Moved() { return (*folder_ / "moved.station.toml").string(); }

  // The moved dipole's JSON report with its near field.
  static const JsonValue& MovedReport() {
    if (moved_ == nullptr) moved_ = new JsonValue(Json(Moved()));
    return *moved_;
  }

  struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
  };

  // The command line run as main() runs it with --near-field: the station
  // evaluated with the near field of its wire antennas under `near`.
  static Outcome Run(const std::vector<std::string>& args,
                     const assess::NearFieldOptions& near = {}) {
    const ParseResult parsed = ParseArguments(args, true);
    EXPECT_EQ(parsed.status, ParseResult::Status::Run) << parsed.error;
    EXPECT_TRUE(parsed.options.nearField);
    StationRunParts parts;
    parts.evaluate = [&near](const station::Station& s) {
      assess::StationNearField n = assess::EvaluateWithNearField(s, near);
      StationEvaluated e;
      e.evaluation = std::move(n.evaluation);
      e.nearField = std::move(n.installations);
      return e;
    };
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunStationFile(parsed.options, {}, out, err, parts);
    return {status, out.str(), err.str()};
  }

  static JsonValue Json(const std::string& file, const assess::NearFieldOptions& near = {}) {
    const Outcome o = Run({"--json", "--near-field", file}, near);
    return JsonValue::parse(o.out);
  }

 private:
  static inline fs::path* folder_ = nullptr;
  static inline JsonValue* moved_ = nullptr;
};

// A value of the report's JSON as a long double.
long double Real(const JsonValue& v) {
  return v.get<long double>();
}

struct ResultCase {
  const char* set;
  const char* tier;
};

TEST_F(NearFieldReportTest, EachLimitSetAndTierInTheFilesOrder) {
  const JsonValue& report = MovedReport();
  const JsonValue& near = report["installations"][0]["nearField"];
  ASSERT_TRUE(near.is_object()) << near.dump();
  EXPECT_TRUE(near["error"].is_null()) << near["error"].dump();
  EXPECT_EQ(near["engine"].get<std::string>().rfind("nec2c", 0), 0u) << near["engine"].dump();
  EXPECT_GT(near["segments"].get<int>(), 10);
  EXPECT_NEAR(Real(near["gridM"]), 0.25L, 1e-12L);
  EXPECT_NEAR(Real(near["frequencyMHz"]), 14.2L, 1e-12L);
  // A frequency given: the limits are those at it.
  ASSERT_EQ(near["limitsMHz"].size(), 2u);
  EXPECT_NEAR(Real(near["limitsMHz"][0]), 14.2L, 1e-12L);
  EXPECT_NEAR(Real(near["limitsMHz"][1]), 14.2L, 1e-12L);
  // ... and the fields are computed there alone.
  ASSERT_EQ(near["fieldsMHz"].size(), 1u);
  EXPECT_NEAR(Real(near["fieldsMHz"][0]), 14.2L, 1e-12L);
  const ResultCase expected[] = {{"fcc", "general"},
                                 {"fcc", "occupational"},
                                 {"icnirp-2020", "general"},
                                 {"icnirp-2020", "occupational"}};
  ASSERT_EQ(near["results"].size(), std::size(expected));
  for (size_t k = 0; k < std::size(expected); ++k) {
    const JsonValue& r = near["results"][k];
    EXPECT_EQ(r["set"], expected[k].set) << k;
    EXPECT_EQ(r["tier"], expected[k].tier) << k;
    // 100 W on a dipole 10 m up stays far below every limit at head height.
    EXPECT_GT(Real(r["peakExposure"]), 0) << k;
    EXPECT_LT(Real(r["peakExposure"]), 0.1L) << k;
    EXPECT_EQ(Real(r["keepOutHeadM"]), 0) << k;
    EXPECT_EQ(Real(r["keepOutWholeBodyM"]), 0) << k;
    EXPECT_EQ(r["keepOutHeadBeyondGrid"], false) << k;
    EXPECT_EQ(r["governs"], "whole-body") << k;
  }
}

TEST_F(NearFieldReportTest, TheTiersDifferByTheirFieldLimits) {
  // CW without a cycle averages the same 40 W over 6 and 30 minutes, so the
  // FCC's tiers differ only by their E limits at 14.2 MHz, 1842/f against
  // 824/f V/m: the general population's exposure is (1842/824)² times the
  // occupational one, at the peak and at the garden alike.
  const JsonValue& report = MovedReport();
  const JsonValue& results = report["installations"][0]["nearField"]["results"];
  ASSERT_EQ(results.size(), 4u);
  const long double ratio = (1842.0L / 824.0L) * (1842.0L / 824.0L);
  EXPECT_NEAR(Real(results[0]["peakExposure"]) / Real(results[1]["peakExposure"]), ratio,
              ratio * 0.005L);
  EXPECT_NEAR(Real(results[0]["places"]["Garden"]) / Real(results[1]["places"]["Garden"]), ratio,
              ratio * 0.005L);
}

TEST_F(NearFieldReportTest, AtThePlaceTheSumIsTheNearFieldsExposure) {
  // One installation: each general-public sum at the garden is that
  // installation's near-field exposure there, under the same limit set.
  const JsonValue& report = MovedReport();
  const JsonValue& results = report["installations"][0]["nearField"]["results"];
  const JsonValue& place = report["places"][0];
  ASSERT_EQ(place["name"], "Garden");
  int compared = 0;
  for (const JsonValue& sum : place["sums"]) {
    for (const JsonValue& r : results) {
      if (r["set"] != sum["set"] || r["tier"] != sum["tier"]) continue;
      const long double exposure = Real(r["places"]["Garden"]);
      EXPECT_GT(exposure, 0);
      EXPECT_NEAR(Real(sum["sum"]), exposure, exposure * 1e-9L) << sum.dump();
      ++compared;
    }
  }
  EXPECT_EQ(compared, 2) << "FCC general population and ICNIRP 2020 general public";
}

TEST_F(NearFieldReportTest, ThePeakIsInTheSitesCoordinatesAtHeadHeight) {
  // Below a horizontal half-wave dipole the field at head height is largest
  // within its half length (5.3 m at 14.2 MHz) of the feed point.
  const JsonValue& report = MovedReport();
  for (const JsonValue& r : report["installations"][0]["nearField"]["results"]) {
    const JsonValue& at = r["peakAtM"];
    ASSERT_EQ(at.size(), 3u);
    const long double dx = Real(at[0]) - kDipoleXM;
    const long double dy = Real(at[1]) - kDipoleYM;
    EXPECT_LE(std::hypot(dx, dy), 5.3L) << at.dump();
    EXPECT_NEAR(Real(at[2]), 2.0L, 1e-12L);
  }
}

TEST_F(NearFieldReportTest, AnInstallationWithoutWiresHasNoNearField) {
  const JsonValue report = Json(Data("near-field.station.toml"));
  const JsonValue& installations = report["installations"];
  ASSERT_EQ(installations.size(), 2u);
  EXPECT_EQ(installations[0]["id"], "40m");
  EXPECT_EQ(installations[1]["id"], "20m");
  EXPECT_TRUE(installations[1]["nearField"].is_null()) << installations[1]["nearField"].dump();
  // The inverted V at 1500 W is over the limit at head height: a keep-out
  // distance inside the plan, beyond the place of its largest exposure
  // (which is at or over the limit).
  const JsonValue& fccGeneral = installations[0]["nearField"]["results"][0];
  EXPECT_GT(Real(fccGeneral["peakExposure"]), 1);
  EXPECT_EQ(fccGeneral["keepOutHeadBeyondGrid"], false);
  const JsonValue& at = fccGeneral["peakAtM"];
  EXPECT_GE(Real(fccGeneral["keepOutHeadM"]), std::hypot(Real(at[0]), Real(at[1])));
}

TEST_F(NearFieldReportTest, WithoutTheOptionThereIsNoNearFieldObject) {
  const ParseResult parsed = ParseArguments({"--json", Moved()}, true);
  ASSERT_EQ(parsed.status, ParseResult::Status::Run);
  std::ostringstream out;
  std::ostringstream err;
  RunStationFile(parsed.options, {}, out, err);
  const JsonValue report = JsonValue::parse(out.str());
  EXPECT_FALSE(report["installations"][0].contains("nearField"));
}

TEST_F(NearFieldReportTest, ANearFieldNotComputedIsItsErrorBesideEveryOtherFigure) {
  assess::NearFieldOptions near;
  near.run.program = "korrin-no-such-engine";
  const JsonValue report = Json(Moved(), near);
  const JsonValue& n = report["installations"][0]["nearField"];
  ASSERT_TRUE(n.is_object());
  EXPECT_NE(n["error"].get<std::string>().find("korrin-no-such-engine"), std::string::npos)
      << n["error"].dump();
  EXPECT_TRUE(n["engine"].is_null());
  EXPECT_TRUE(n["segments"].is_null());
  EXPECT_TRUE(n["results"].empty());
  // The far-field estimate stands in the sums.
  EXPECT_EQ(report["installations"][0]["results"].size(), 4u);
  EXPECT_EQ(report["verdict"]["complies"], true);
}

// ---- CSV ----

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');) cells.push_back(cell);
    if (!line.empty() && line.back() == ',') cells.emplace_back();
    rows.push_back(std::move(cells));
  }
  return rows;
}

struct CsvCase {
  const char* name;
  const char* installation;
  const char* set;
  const char* tier;
  const char* keepOutStartsWith;  // "" for an empty cell
};

class NearFieldCsvTest : public NearFieldReportTest,
                         public ::testing::WithParamInterface<CsvCase> {};

TEST_P(NearFieldCsvTest, KeepOutCellOfEachRow) {
  // A plan of 3 m each side that may not grow: the inverted V's keep-out
  // distances (near 10 m) lie beyond it and are written as text.
  assess::NearFieldOptions near;
  near.grid.halfWidthM = 3;
  near.grid.enlargements = 0;
  const Outcome o = Run({"--csv", "--near-field", Data("near-field.station.toml")}, near);
  const auto rows = CsvRows(o.out);
  ASSERT_GT(rows.size(), 1u);
  const std::vector<std::string>& header = rows[0];
  const auto column = [&header](const std::string& name) {
    const auto at = std::find(header.begin(), header.end(), name);
    EXPECT_NE(at, header.end()) << name;
    return static_cast<size_t>(at - header.begin());
  };
  const size_t keepOut = column("nearFieldKeepOutHeadM");
  const CsvCase& c = GetParam();
  int found = 0;
  for (size_t k = 1; k < rows.size(); ++k) {
    const std::vector<std::string>& row = rows[k];
    ASSERT_EQ(row.size(), header.size()) << "row " << k;
    if (row[column("installation")] != c.installation || row[column("set")] != c.set ||
        row[column("tier")] != c.tier) {
      continue;
    }
    ++found;
    const std::string& cell = row[keepOut];
    if (std::string(c.keepOutStartsWith).empty()) {
      EXPECT_EQ(cell, "");
    } else {
      EXPECT_EQ(cell.rfind(c.keepOutStartsWith, 0), 0u) << cell;
      EXPECT_NEAR(std::stod(cell.substr(1)), 3.0, 1.0) << "the plan's edge: " << cell;
    }
  }
  EXPECT_EQ(found, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NearFieldCsvTest,
    ::testing::Values(CsvCase{"VeeBeyondThePlan", "40m", "fcc", "general", ">"},
                      CsvCase{"VeeIcnirpBeyondThePlan", "40m", "icnirp-2020", "general", ">"},
                      CsvCase{"BeamWithoutWires", "20m", "fcc", "general", ""}),
    [](const ::testing::TestParamInfo<CsvCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korrin::report
