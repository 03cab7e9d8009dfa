// korrin-report on a station file, as main() runs it: the command line read,
// the file evaluated and reported as text, JSON or CSV.  The figures are
// the worked stations' (a 14.2 MHz dipole, the same on the 80 m band, two
// transmitters on one mast), read from what the program prints; the exit
// status, the errors of a file that is refused, and which options go with a
// station file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/ReportOptions.h"
#include "app/report/ReportText.h"
#include "app/report/StationReport.h"
#include "station/StationFile.h"

namespace korrin::report {
namespace {

namespace fs = std::filesystem;

std::string Data(const std::string& name) {
  return std::string(KORRIN_SOURCE_DIR) + "/tests/data/station/" + name;
}
std::string Example(const std::string& name) {
  return std::string(KORRIN_SOURCE_DIR) + "/data/examples/" + name;
}

const std::string kWorkedA = Data("worked-a.station.toml");
const std::string kWorkedA80 = Data("worked-a80.station.toml");
const std::string kWorkedF = Example("two-transmitters.station.toml");
const std::string kErrors = Data("errors.station.toml");

struct Outcome {
  int status = 0;
  std::string out;
  std::string err;
};

// The command line read and run as main() runs it for a station file.
Outcome Report(const std::vector<std::string>& args, const NumberLocale& locale = {}) {
  const ParseResult parsed = ParseArguments(args, true);
  if (parsed.status != ParseResult::Status::Run) return {2, "", parsed.error};
  EXPECT_EQ(parsed.options.input, StationInput::StationFile);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunStationFile(parsed.options, locale, out, err);
  return {status, out.str(), err.str()};
}

JsonValue Json(const std::string& file) {
  const Outcome o = Report({"--json", file});
  return JsonValue::parse(o.out);
}

// ---- the worked figures, read from the JSON report ----

struct FigureCase {
  const char* name;
  std::string file;
  const char* pointer;  // a JSON pointer into the report
  long double expected;
  long double tolerance;  // half a unit of the last digit worked by hand
};

void PrintTo(const FigureCase& c, std::ostream* os) {
  *os << c.name << " " << c.pointer;
}

class WorkedFigureTest : public ::testing::TestWithParam<FigureCase> {};

TEST_P(WorkedFigureTest, TheJsonGivesTheWorkedFigure) {
  const FigureCase& c = GetParam();
  const JsonValue report = Json(c.file);
  const JsonValue& value = report.at(JsonValue::json_pointer(c.pointer));
  ASSERT_TRUE(value.is_number()) << value.dump();
  EXPECT_NEAR(value.get<long double>(), c.expected, c.tolerance);
}

// Results in the file's order of limit sets, general tier first: 0 FCC
// general population, 1 FCC occupational, 2 ICNIRP 2020 general public,
// 3 ICNIRP 2020 occupational.
INSTANTIATE_TEST_SUITE_P(
    Stations, WorkedFigureTest,
    ::testing::Values(
        // A: 14.2 MHz, 100 W CW (40 %), dipole 2.15 dBi, ground reflection on.
        FigureCase{"A", kWorkedA, "/installations/0/results/0/averagePowerW", 40, 5e-12L},
        FigureCase{"A", kWorkedA, "/installations/0/results/0/eirpW", 65.62L, 0.005L},
        FigureCase{"A", kWorkedA, "/installations/0/results/0/erpW", 40.01L, 0.005L},
        FigureCase{"A", kWorkedA, "/installations/0/results/0/keepOutM", 1.224L, 0.0005L},
        FigureCase{"A", kWorkedA, "/installations/0/results/1/keepOutM", 0.547L, 0.0005L},
        FigureCase{"A", kWorkedA, "/installations/0/results/2/keepOutM", 1.516L, 0.0005L},
        FigureCase{"A", kWorkedA, "/installations/0/fccExemption/erpW", 40.01L, 0.005L},
        // A': the same on the 80 m band of region 2, 3.5-4.0 MHz.
        FigureCase{"A80", kWorkedA80, "/installations/0/results/0/frequencyMHz", 4, 1e-12L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/0/keepOutM", 0.345L, 0.0005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/keepOutM", 1.352L, 0.0005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/instantaneousKeepOutM", 1.352L,
                   0.0005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/3/keepOutM", 0.660L, 0.0005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/timeAveragedKeepOutM", 0.625L,
                   0.0005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/3/timeAveragedKeepOutM", 0.284L,
                   0.0005L},
        // The nerve-stimulation level governs ICNIRP general public: the
        // result's frequency and limit are its own, 83²/377 W/m² at the
        // band's lower edge, beside the keep-out they give; the
        // time-averaged criterion's (300/4^0.7 V/m)²/377 at 4 MHz stays in
        // "criteria".
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/frequencyMHz", 3.5L, 1e-12L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/limitWm2", 18.273L, 0.0005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/criteria/1/limitWm2", 18.273L,
                   0.0005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/criteria/1/keepOutM", 1.352L,
                   0.0005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/criteria/0/frequencyMHz", 4,
                   1e-12L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/criteria/0/limitWm2", 34.28L,
                   0.005L},
        FigureCase{"A80", kWorkedA80, "/installations/0/results/2/criteria/0/keepOutM", 0.625L,
                   0.0005L},
        // F: a 2 m yagi and a 20 m beam on one mast, one group.
        FigureCase{"F", kWorkedF, "/places/0/distancesM/2m", 11.314L, 0.0005L},
        FigureCase{"F", kWorkedF, "/places/0/distancesM/20m", 17.889L, 0.0005L},
        FigureCase{"F", kWorkedF, "/places/0/sums/0/terms/0/fraction", 0.9527L, 0.00005L},
        FigureCase{"F", kWorkedF, "/places/0/sums/0/terms/1/fraction", 0.0900L, 0.00005L},
        FigureCase{"F", kWorkedF, "/places/0/sums/0/sum", 1.0427L, 0.00005L},
        FigureCase{"F", kWorkedF, "/places/0/sums/0/marginDb", -0.18L, 0.005L},
        FigureCase{"F", kWorkedF, "/places/0/sums/1/sum", 1.0908L, 0.00005L},
        FigureCase{"F", kWorkedF, "/places/0/fccExemptionSums/0/sum", 1.630L, 0.0005L}));

struct WordCase {
  std::string file;
  const char* pointer;
  JsonValue expected;
};

void PrintTo(const WordCase& c, std::ostream* os) {
  *os << c.file.substr(c.file.rfind('/') + 1) << " " << c.pointer;
}

class WorkedWordTest : public ::testing::TestWithParam<WordCase> {};

TEST_P(WorkedWordTest, TheJsonNamesWhatGoverns) {
  const JsonValue report = Json(GetParam().file);
  EXPECT_EQ(report.at(JsonValue::json_pointer(GetParam().pointer)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stations, WorkedWordTest,
    ::testing::Values(
        WordCase{kWorkedA, "/installations/0/group", "all"},
        WordCase{kWorkedA, "/installations/0/feedline", nullptr},
        WordCase{kWorkedA, "/installations/0/groundReflection", true},
        WordCase{kWorkedA, "/installations/0/results/2/set", "icnirp-2020"},
        WordCase{kWorkedA, "/installations/0/results/2/tier", "general"},
        WordCase{kWorkedA, "/installations/0/results/2/model", "far-field"},
        WordCase{kWorkedA, "/installations/0/results/2/criterion", "time-averaged"},
        // above 10 MHz ICNIRP has no instantaneous criterion
        WordCase{kWorkedA, "/installations/0/results/2/instantaneousKeepOutM", nullptr},
        WordCase{kWorkedA, "/verdict/complies", true},
        WordCase{kWorkedA80, "/installations/0/band", "80m"},
        WordCase{kWorkedA80, "/installations/0/results/0/frequencyReason", "upper-edge"},
        WordCase{kWorkedA80, "/installations/0/results/0/criterion", "time-averaged"},
        WordCase{kWorkedA80, "/installations/0/results/2/criterion", "instantaneous"},
        WordCase{kWorkedA80, "/installations/0/results/3/criterion", "instantaneous"},
        WordCase{kWorkedA80, "/installations/0/results/2/frequencyReason", "lower-edge"},
        WordCase{kWorkedA80, "/installations/0/results/2/criteria/0/governs", false},
        WordCase{kWorkedA80, "/installations/0/results/2/criteria/1/governs", true},
        WordCase{kWorkedA80, "/installations/0/results/2/criteria/1/criterion", "instantaneous"},
        // FCC: one criterion, which governs
        WordCase{kWorkedA80, "/installations/0/results/0/criteria/0/governs", true},
        // FCC has no instantaneous criterion, below 10 MHz neither
        WordCase{kWorkedA80, "/installations/0/results/0/instantaneousKeepOutM", nullptr},
        WordCase{kWorkedF, "/places/0/sums/0/set", "fcc"},
        WordCase{kWorkedF, "/places/0/sums/0/tier", "general"},
        WordCase{kWorkedF, "/places/0/sums/0/terms/0/installation", "2m"},
        WordCase{kWorkedF, "/places/0/controlled", false},
        WordCase{kWorkedF, "/verdict/complies", false}));

TEST(StationJsonTest, EveryRealReadsBackAsTheEvaluationsOwnValue) {
  const std::string file = Example("example.station.toml");
  const station::ReadResult read = station::ReadStationFile(file);
  ASSERT_TRUE(read.station.has_value());
  const assess::StationEvaluation e = assess::Evaluate(*read.station);
  const JsonValue report = Json(file);
  ASSERT_EQ(report.at("installations").size(), e.installations.size());
  for (size_t i = 0; i < e.installations.size(); ++i) {
    const assess::InstallationResult& r = e.installations[i];
    const JsonValue& j = report.at("installations").at(i);
    EXPECT_EQ(j.at("powerAtAntennaW").get<long double>(), r.powerAtAntennaW) << r.id;
    ASSERT_EQ(j.at("results").size(), r.results.size()) << r.id;
    for (size_t k = 0; k < r.results.size(); ++k) {
      const assess::TierResult& t = r.results[k];
      const JsonValue& jr = j.at("results").at(k);
      EXPECT_EQ(jr.at("keepOutM").get<long double>(), t.KeepOutM().value_or(-1)) << r.id << k;
      EXPECT_EQ(jr.at("eirpW").get<long double>(), t.timeAveraged->eirpW) << r.id << k;
    }
  }
  ASSERT_EQ(report.at("places").size(), e.places.size());
  for (size_t p = 0; p < e.places.size(); ++p) {
    const JsonValue& sums = report.at("places").at(p).at("sums");
    ASSERT_EQ(sums.size(), e.places[p].sums.size());
    for (size_t s = 0; s < sums.size(); ++s) {
      EXPECT_EQ(sums.at(s).at("sum").get<long double>(), e.places[p].sums[s].sum);
    }
  }
  ASSERT_EQ(report.at("property").size(), e.property.size());
  EXPECT_EQ(report.at("property").at(0).at("atM").at(0).get<long double>(), e.property[0].atXM);
  EXPECT_EQ(report.at("verdict").at("failures").size(), e.verdict.failures.size());
  EXPECT_EQ(report.at("warnings").size(), e.warnings.size());
}

// ---- the text report as a person reads it ----

// The line of `text` that holds every fragment, or "" when none does.
std::string LineWith(const std::string& text, const std::vector<std::string>& fragments) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    bool all = true;
    for (const std::string& f : fragments) all = all && line.find(f) != std::string::npos;
    if (all) return line;
  }
  return "";
}

struct TextCase {
  std::string file;
  std::vector<std::string> onOneLine;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.file.substr(c.file.rfind('/') + 1) << ":";
  for (const std::string& f : c.onOneLine) *os << " [" << f << "]";
}

class StationTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(StationTextTest, ShowsTheFigureWithItsUnitAndLabel) {
  const Outcome o = Report({GetParam().file});
  EXPECT_NE(LineWith(o.out, GetParam().onOneLine), "") << o.out;
}

INSTANTIATE_TEST_SUITE_P(
    Stations, StationTextTest,
    ::testing::Values(
        TextCase{kWorkedA, {"Verdict: Complies: every place and the property line are within"}},
        TextCase{
            kWorkedA,
            {"FCC general population, 30-minute average", "time-averaged", "14.2 MHz", "given",
             "8.927 W/m\u00b2", "40.00 W average", "65.62 W", "40.01 W", "1.224 m", "far field"}},
        TextCase{kWorkedA, {"FCC occupational, 6-minute average", "0.547 m"}},
        TextCase{kWorkedA, {"ICNIRP 2020 general public, 30-minute average", "1.516 m"}},
        TextCase{kWorkedA, {"Power at the antenna", "100.00 W at 14.2 MHz"}},
        TextCase{kWorkedA, {"Ground reflection", "on (factor 2.56)"}},
        TextCase{kWorkedA, {"Minimum exempt distance", "3.360 m"}},
        TextCase{kWorkedA80, {"Frequencies evaluated", "3.5\u20134.0 MHz (band 80m"}},
        TextCase{kWorkedA80, {"FCC general population", "4.0 MHz", "upper band edge", "0.345 m"}},
        TextCase{kWorkedA80,
                 {"  *  ICNIRP 2020 general public, nerve stimulation", "instantaneous",
                  "100.00 W peak", "1.352 m"}},
        TextCase{kWorkedA80,
                 {"  *  ICNIRP 2020 occupational, nerve stimulation", "instantaneous", "0.660 m"}},
        TextCase{kWorkedF,
                 {"Verdict: Does not comply at \"Neighbour's garden\" (FCC general population sum "
                  "1.0427, margin -0.18 dB; ICNIRP 2020 general public sum 1.0908"}},
        TextCase{kWorkedF, {"together they are not."}},
        TextCase{kWorkedF, {"Distance to \"2m\"", "11.314 m"}},
        TextCase{kWorkedF, {"Distance to \"20m\"", "17.889 m"}},
        TextCase{kWorkedF,
                 {"\"mast\"", "FCC general population", "1.0427", "-0.18 dB", "over the limit",
                  "\"2m\" 0.9527, \"20m\" 0.0900"}},
        TextCase{kWorkedF, {"ICNIRP 2020 general public", "1.0908", "over the limit"}},
        TextCase{kWorkedF, {"FCC exemption", "1.6296", "not exempt"}},
        TextCase{kWorkedF, {"Property line"}}));

TEST(StationTextTest, FollowsTheUsersDecimalPoint) {
  const Outcome o = Report({kWorkedA80}, NumberLocale{",", "."});
  EXPECT_NE(LineWith(o.out, {"FCC general population", "4,0 MHz", "0,345 m", "112,500 W/m\u00b2"}),
            "")
      << o.out;
  EXPECT_NE(LineWith(o.out, {"Transmitter", "duty 40 %"}), "") << o.out;
}

TEST(StationTextTest, WrapsSentencesWithEachUnitOnItsNumbersLine) {
  const Outcome o = Report({Example("example.station.toml")});
  const std::string warnings = o.out.substr(o.out.find("\nWarnings\n"));
  std::istringstream lines(warnings);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(TextWidth(line), 78U) << line;
    const size_t start = line.find_first_not_of(" -");
    if (start == std::string::npos) continue;
    std::string word = line.substr(start, line.find(' ', start) - start);
    while (!word.empty() && std::string(").,;").find(word.back()) != std::string::npos) {
      word.pop_back();
    }
    for (const char* unit : {"m", "MHz", "dB", "W", "%"}) {
      EXPECT_NE(word, unit) << "a line starts with a unit: " << line;
    }
  }
}

// ---- CSV ----

// The cells of one CSV line, quotes undone.
std::vector<std::string> CsvCells(const std::string& line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      cells.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) rows.push_back(CsvCells(line));
  return rows;
}

constexpr const char* kCsvHeader =
    "installation,transmitter,feedline,antenna,band,group,set,tier,averagingMinutes,"
    "frequencyMHz,limitWm2,feedLossDb,powerAtAntennaW,gainDbi,averagePowerW,eirpW,erpW,"
    "keepOutM,model,criterion,instantaneousKeepOutM";

// A British station under Ofcom's 10 W EIRP: the text and the JSON name
// the rules applied with their editions, the threshold with its source, and
// that no further assessment is needed (10 W * 0.2 * 1.6406 = 3.281 W).
TEST(StationRulesTest, TheReportNamesTheRulesAndTheThreshold) {
  const std::string file = Data("uk-low-power.station.toml");
  const Outcome text = Report({file});
  for (const std::string& expected :
       {std::string("United Kingdom (GB)"),
        std::string("ICNIRP 1998 (1999/519/EC, 26. BImSchV), general public"),
        std::string("Ofcom EMF licence condition (2021), 10 W EIRP threshold"),
        std::string("3.28 W (6-minute average"),
        std::string("below the threshold: no further assessment is needed"),
        std::string("Source: Ofcom EMF licence condition")}) {
    EXPECT_NE(text.out.find(expected), std::string::npos) << expected << "\n" << text.out;
  }
  const JsonValue j = Json(file);
  EXPECT_EQ(j["station"]["country"], "GB");
  EXPECT_EQ(j["station"]["region"], 1);
  EXPECT_NE(j["station"]["rulesApplied"].get<std::string>().find("ICNIRP 1998"), std::string::npos);
  const JsonValue& t = j["installations"][0]["threshold"];
  EXPECT_EQ(t["test"], "ofcom-2021");
  EXPECT_NEAR(t["eirpW"].get<double>(), 3.2812, 5e-4);
  EXPECT_EQ(t["thresholdW"].get<double>(), 10.0);
  EXPECT_EQ(t["below"], true);
  EXPECT_EQ(t["meaning"], "no further assessment is needed");
  // A file without a country has no threshold test and names none.
  EXPECT_TRUE(Json(kWorkedA)["installations"][0]["threshold"].is_null());
  EXPECT_TRUE(Json(kWorkedA)["station"]["country"].is_null());
}

TEST(StationCsvTest, OneRowPerInstallationLimitSetAndTierUnderTheHeader) {
  const Outcome o = Report({"--csv", Example("example.station.toml")});
  ASSERT_EQ(o.status, 3);
  EXPECT_EQ(o.out.substr(0, o.out.find('\n')), kCsvHeader);
  const auto rows = CsvRows(o.out);
  const JsonValue report = Json(Example("example.station.toml"));
  size_t expected = 1;
  for (const JsonValue& i : report.at("installations")) expected += i.at("results").size();
  ASSERT_EQ(rows.size(), expected);
  for (const auto& row : rows) EXPECT_EQ(row.size(), rows.front().size());
}

TEST(StationCsvTest, RowsHoldTheWorkedFigures) {
  const auto rows = CsvRows(Report({"--csv", kWorkedA80}).out);
  ASSERT_EQ(rows.size(), 5U);
  const auto column = [&rows](const std::string& name) {
    const auto& h = rows.front();
    return static_cast<size_t>(std::find(h.begin(), h.end(), name) - h.begin());
  };
  struct Expected {
    const char* set;
    const char* tier;
    long double keepOutM;
    const char* criterion;
    long double instantaneousKeepOutM;  // 0: the cell is empty
  };
  const Expected expected[] = {{"fcc", "general", 0.345L, "time-averaged", 0},
                               {"fcc", "occupational", 0.154L, "time-averaged", 0},
                               {"icnirp-2020", "general", 1.352L, "instantaneous", 1.352L},
                               {"icnirp-2020", "occupational", 0.660L, "instantaneous", 0.660L}};
  for (size_t i = 0; i < 4; ++i) {
    const auto& row = rows[i + 1];
    EXPECT_EQ(row[column("installation")], "80m-dipole");
    EXPECT_EQ(row[column("band")], "80m");
    EXPECT_EQ(row[column("feedline")], "");
    EXPECT_EQ(row[column("set")], expected[i].set);
    EXPECT_EQ(row[column("tier")], expected[i].tier);
    EXPECT_NEAR(std::stold(row[column("keepOutM")]), expected[i].keepOutM, 0.0005L) << i;
    EXPECT_EQ(row[column("criterion")], expected[i].criterion);
    const std::string instantaneous = row[column("instantaneousKeepOutM")];
    if (expected[i].instantaneousKeepOutM == 0) {
      EXPECT_EQ(instantaneous, "") << i;
    } else {
      ASSERT_NE(instantaneous, "") << i;
      EXPECT_NEAR(std::stold(instantaneous), expected[i].instantaneousKeepOutM, 0.0005L) << i;
    }
    // the time-averaged criterion's frequency, written as the spreadsheet holds it
    EXPECT_EQ(row[column("frequencyMHz")], "4");
  }
}

TEST(StationCsvTest, QuotesANameThatHoldsACommaOrAQuote) {
  const fs::path dir = fs::path(testing::TempDir()) / "station-csv";
  fs::create_directories(dir);
  const std::string file = (dir / "quoted.station.toml").string();
  std::ifstream in(kWorkedA);
  std::stringstream text;
  text << in.rdbuf();
  std::string toml = text.str();
  const std::string id = "id = \"20m-dipole\"";
  toml.replace(toml.find(id), id.size(), R"(id = "Beam, \"north\"")");
  std::ofstream(file) << toml;
  const auto rows = CsvRows(Report({"--csv", file}).out);
  ASSERT_EQ(rows.size(), 5U);
  EXPECT_EQ(rows[1][0], "Beam, \"north\"");
  EXPECT_EQ(rows[1].size(), rows[0].size());
}

// ---- exit status and a file that is refused ----

TEST(StationRunTest, ExitStatusTellsWhetherTheStationComplies) {
  EXPECT_EQ(Report({kWorkedA}).status, 0);
  EXPECT_EQ(Report({kWorkedA80, "--json"}).status, 0);
  const Outcome f = Report({kWorkedF, "--csv"});
  EXPECT_EQ(f.status, 3);
  EXPECT_NE(f.out, "") << "the report of a station that does not comply is printed";
  EXPECT_EQ(f.err, "");
}

// A station with nothing to show compliance at fails for that one reason:
// the verdict line gives it, once, and every text of the verdict and the
// warnings has one space between its sentences.
TEST(StationRunTest, NothingToCheckIsSaidOnce) {
  const std::string file = Data("no-places.station.toml");
  const Outcome text = Report({file});
  EXPECT_EQ(text.status, 3);
  const std::string reason = "gives no place and no property line";
  const size_t first = text.out.find(reason);
  ASSERT_NE(first, std::string::npos) << text.out;
  EXPECT_EQ(text.out.find(reason, first + 1), std::string::npos) << text.out;
  // Not shown to comply, and no failure called: the line says what is missing.
  EXPECT_NE(text.out.find("Verdict: Not shown to comply: no place or property line yet.\n"),
            std::string::npos)
      << text.out;
  EXPECT_EQ(text.out.find("Does not comply"), std::string::npos) << text.out;

  const JsonValue json = Json(file);
  EXPECT_FALSE(json["verdict"]["complies"].get<bool>());
  EXPECT_TRUE(json["verdict"]["nothingToCheck"].get<bool>());
  std::vector<std::string> texts;
  for (const JsonValue& f : json["verdict"]["failures"]) texts.push_back(f.get<std::string>());
  for (const JsonValue& w : json["warnings"]) texts.push_back(w.get<std::string>());
  ASSERT_FALSE(texts.empty());
  for (const std::string& t : texts) EXPECT_EQ(t.find(".  "), std::string::npos) << t;
}

class RefusedFileTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(RefusedFileTest, EveryErrorWithItsPlaceAndNothingOnStdout) {
  std::vector<std::string> args = GetParam();
  args.push_back(kErrors);
  const Outcome o = Report(args);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  for (const char* place :
       {":8:1: [[transmitter]] \"rig\" powr-w: unknown key",
        ":14:1: [[antenna]] \"beam\" gain-dbi:", ":21:1: [[installation]] \"20m\" transmitter:"}) {
    EXPECT_NE(o.err.find(kErrors + place), std::string::npos) << place << "\n" << o.err;
  }
  EXPECT_NE(o.err.find("3 errors"), std::string::npos) << o.err;
}

INSTANTIATE_TEST_SUITE_P(Formats, RefusedFileTest,
                         ::testing::Values(std::vector<std::string>{},
                                           std::vector<std::string>{"--json"},
                                           std::vector<std::string>{"--csv"}));

TEST(StationRunTest, AFileThatCannotBeReadIsOneError) {
  const Outcome o = Report({"/nonexistent-korrin-dir/station.station.toml"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_NE(o.err.find("/nonexistent-korrin-dir/station.station.toml: the file does not exist"),
            std::string::npos)
      << o.err;
}

// ---- what the STATION argument is ----

struct InputCase {
  const char* name;      // the file's name in a scratch folder
  const char* contents;  // nullptr: no such file; "record": a calculator record
  StationInput expected;
};

void PrintTo(const InputCase& c, std::ostream* os) {
  *os << c.name;
}

class StationInputTest : public ::testing::TestWithParam<InputCase> {};

TEST_P(StationInputTest, ToldApartByContentThenByName) {
  const InputCase& c = GetParam();
  const fs::path dir = fs::path(testing::TempDir()) / "station-input";
  fs::create_directories(dir);
  const fs::path path = dir / c.name;
  fs::remove(path);
  if (c.contents != nullptr && std::string(c.contents) == "record") {
    fs::copy_file(std::string(KORRIN_SOURCE_DIR) + "/tests/data/fuzz/seed-startup.rsd", path);
  } else if (c.contents != nullptr) {
    std::ofstream(path, std::ios::binary) << c.contents;
  }
  EXPECT_EQ(StationInputOf(path.string()), c.expected);
}

constexpr const char* kStationText =
    "# a station\n\nformat = \"korrin-station/1\"\ncallsign = \"VK9ZZT\"\n";

INSTANTIATE_TEST_SUITE_P(
    Files, StationInputTest,
    ::testing::Values(
        InputCase{"a.station.toml", kStationText, StationInput::StationFile},
        InputCase{"named-as-a-record.rsd", kStationText, StationInput::StationFile},
        InputCase{"no-extension", kStationText, StationInput::StationFile},
        InputCase{"bom.txt",
                  "\xEF\xBB\xBF"
                  "format = \"korrin-station/1\"\n",
                  StationInput::StationFile},
        InputCase{"record.rsd", "record", StationInput::Calculator},
        InputCase{"record-named-as-toml.toml", "record", StationInput::Calculator},
        // text without the format line: the reader says what is missing
        InputCase{"no-format.station.toml", "callsign = \"VK9ZZT\"\n", StationInput::StationFile},
        // and the calculator's loader that it is no record
        InputCase{"no-format.rsd", "callsign = \"VK9ZZT\"\n", StationInput::Calculator},
        InputCase{"missing.station.toml", nullptr, StationInput::StationFile},
        InputCase{"missing.TOML", nullptr, StationInput::StationFile},
        InputCase{"missing.rsd", nullptr, StationInput::Calculator}));

TEST(StationInputTest, NoArgumentIsTheStartUpStation) {
  EXPECT_EQ(StationInputOf(""), StationInput::None);
}

// ---- which options go with a station file ----

struct OptionCase {
  std::vector<std::string> args;
  const char* error;  // "" when accepted
};

void PrintTo(const OptionCase& c, std::ostream* os) {
  for (const std::string& a : c.args) *os << '"' << a << "\" ";
}

class StationOptionTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(StationOptionTest, AcceptedOrRefusedWithAReason) {
  const ParseResult r = ParseArguments(GetParam().args, true);
  const std::string error = GetParam().error;
  if (error.empty()) {
    EXPECT_EQ(r.status, ParseResult::Status::Run) << r.error;
  } else {
    EXPECT_EQ(r.status, ParseResult::Status::Error);
    EXPECT_NE(r.error.find(error), std::string::npos) << r.error;
  }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StationOptionTest,
    ::testing::Values(
        OptionCase{{kWorkedA, "--json"}, ""}, OptionCase{{"--csv", kWorkedA}, ""},
        OptionCase{{"--station-file", "out.station.toml"}, ""},
        // a station file has its own record and site plan
        OptionCase{{kWorkedA, "--record", "r.pdf", "--callsign", "VK9ZZA"}, ""},
        OptionCase{{kWorkedA, "--site-plan", "plan.svg", "--json"}, ""},
        OptionCase{{"--station-file=out.toml", "--band", "14.2", "station.rsd"}, ""},
        // the calculator's options, in each of their groups
        OptionCase{{kWorkedA, "--do", "HF_SelectClick"}, "option --do does not apply"},
        OptionCase{{"--band", "14.2", kWorkedA}, "option --band does not apply"},
        OptionCase{{kWorkedA, "--all-bands"}, "option --all-bands does not apply"},
        OptionCase{{kWorkedA, "--png", "w.png"}, "option --png does not apply"},
        OptionCase{{kWorkedA, "--pdf", "w.pdf"}, "option --pdf does not apply"},
        OptionCase{{kWorkedA, "--plot", "p.svg"}, "option --plot does not apply"},
        OptionCase{{kWorkedA, "--assess"}, "option --assess does not apply"},
        OptionCase{{kWorkedA, "--distance", "3"}, "option --distance does not apply"},

        OptionCase{{kWorkedA, "--moon", "--locator", "FN20xa"}, "does not apply to a station file"},
        OptionCase{{kWorkedA, "--ground-reflection"}, "option --ground-reflection does not"},
        OptionCase{{kWorkedA, "--station-file", "o.station.toml"},
                   "does not apply to a station file"},
        // a station file's options without one
        OptionCase{{"--csv"}, "option --csv goes with a station file"},
        OptionCase{{"--csv", "station.rsd"}, "option --csv goes with a station file"},
        OptionCase{{"--site-plan", "plan.svg"}, "option --site-plan goes with a station file"},
        OptionCase{{"--json", "--csv", kWorkedA}, "give --json or --csv, not both"},
        // the record's heading also heads a station file written; its paper does not
        OptionCase{{"--callsign", "VK9ZZD", "--station-file", "o.station.toml"}, ""},
        OptionCase{{"--page-size", "A4", "--station-file", "o.station.toml"},
                   "option --page-size goes with --record FILE"},
        // an .rsd named by mistake would be overwritten with text
        OptionCase{{"--station-file", "station.rsd"}, "give a name ending in .station.toml"},
        OptionCase{{"--station-file="}, "option --station-file needs a FILE"}));

}  // namespace
}  // namespace korrin::report

namespace korrin::report {
namespace {

// A "wires" antenna evaluated without its near field: the JSON keeps the
// installation, by its id, with the reason it was not evaluated.
TEST(StationJsonTest, AnInstallationNotEvaluatedKeepsItsIdAndError) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("korrin-wires-" + std::to_string(::getpid()) + ".station.toml");
  std::ofstream(file) << R"(format = "korrin-station/1"
region = 2

[[transmitter]]
id = "rig"
power-w = 100
mode = "ssb"

[[antenna]]
id = "doublet"
kind = "wires"
wires = [[-10, 0, 0, 10, 0, 0, 1]]
height-m = 10

[[installation]]
id = "40m"
transmitter = "rig"
antenna = "doublet"
band = "40m"

[[place]]
name = "garden"
x-m = 20
y-m = 0
height-m = 2
)";
  const Outcome o = Report({"--json", file.string()});
  std::filesystem::remove(file);
  ASSERT_EQ(o.status, 3) << o.err;
  const JsonValue j = JsonValue::parse(o.out);
  ASSERT_EQ(j["notEvaluated"].size(), 1u) << o.out;
  EXPECT_EQ(j["notEvaluated"][0]["id"], "40m");
  EXPECT_NE(j["notEvaluated"][0]["error"].get<std::string>().find(
                "evaluate the near field too (korrin-report --near-field)"),
            std::string::npos)
      << j["notEvaluated"][0]["error"];
  EXPECT_EQ(j["verdict"]["complies"], false);
}

}  // namespace
}  // namespace korrin::report
