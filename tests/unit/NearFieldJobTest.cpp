// One installation's near field prepared for a view's own thread: the key
// that decides whether a view computes again changes with the model's deck
// and the figures the fields are computed at, and with nothing else; and
// what the view gets is what the whole station's near field gives.
#include <gtest/gtest.h>

#include <string>

#include "assess/NearFieldStation.h"
#include "station/StationFile.h"

namespace korrin::assess {
namespace {

namespace nf = korrin::nearfield;

const char* const kStation = R"(format = "korrin-station/1"
callsign = "VK9ZZT"

[[transmitter]]
id = "rig"
power-w = 100
mode = "cw"

[[antenna]]
id = "dipole"
kind = "dipole"
height-m = 10

[[antenna]]
id = "beam"
kind = "yagi"
gain-dbi = 8
x-m = 30
height-m = 12

[[installation]]
id = "20m"
transmitter = "rig"
antenna = "dipole"
frequency-mhz = 14.2

[[installation]]
id = "2m"
transmitter = "rig"
antenna = "beam"
frequency-mhz = 144.2

[[place]]
name = "Path"
x-m = -9
y-m = 2
)";

station::Station Read(const std::string& text) {
  const station::ReadResult r = station::ParseStation(text, "job.station.toml");
  EXPECT_TRUE(r.station) << station::FormatDiagnostics(r.errors);
  return r.station.value_or(station::Station{});
}

std::string KeyOf(const std::string& text) {
  const station::Station s = Read(text);
  const std::optional<NearFieldJob> job = PrepareNearField(s, Evaluate(s), "20m");
  EXPECT_TRUE(job && job->request) << "no job for 20m";
  return job ? job->key : std::string();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

struct KeyCase {
  const char* edit;
  const char* from;
  const char* to;
  bool recompute;
};

class NearFieldKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(NearFieldKeyTest, ChangesExactlyWithTheFiguresItIsComputedFrom) {
  const KeyCase& c = GetParam();
  const std::string before = KeyOf(kStation);
  const std::string after = KeyOf(Replaced(kStation, c.from, c.to));
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(before != after, c.recompute) << c.edit;
}

INSTANTIATE_TEST_SUITE_P(
    Edits, NearFieldKeyTest,
    ::testing::Values(
        KeyCase{"the call sign", "callsign = \"VK9ZZT\"", "callsign = \"VK9ZZU\"", false},
        KeyCase{"another installation's antenna", "gain-dbi = 8", "gain-dbi = 9", false},
        KeyCase{"another installation's frequency", "frequency-mhz = 144.2",
                "frequency-mhz = 145.0", false},
        KeyCase{"the transmitter's power", "power-w = 100", "power-w = 400", true},
        KeyCase{"the mode, and so the average power", "mode = \"cw\"", "mode = \"ssb\"", true},
        KeyCase{"the antenna's height", "height-m = 10", "height-m = 11", true},
        KeyCase{"the ground under the antenna", "height-m = 10", "height-m = 10\nground = \"poor\"",
                true},
        KeyCase{"the frequency", "frequency-mhz = 14.2", "frequency-mhz = 14.3", true},
        KeyCase{"a place moved", "x-m = -9", "x-m = -8", true},
        KeyCase{"the limit sets", "callsign = \"VK9ZZT\"",
                "callsign = \"VK9ZZT\"\nlimit-sets = [\"fcc\"]", true}),
    [](const ::testing::TestParamInfo<KeyCase>& info) {
      return "Edit" + std::to_string(info.index);
    });

TEST(NearFieldJobTest, NoJobForAnInstallationWithoutWires) {
  const station::Station s = Read(kStation);
  const StationEvaluation e = Evaluate(s);
  EXPECT_FALSE(PrepareNearField(s, e, "2m"));
  EXPECT_FALSE(PrepareNearField(s, e, "70cm"));
  const std::optional<NearFieldJob> job = PrepareNearField(s, e, "20m");
  ASSERT_TRUE(job && job->request);
  EXPECT_EQ(job->placeNames, std::vector<std::string>{"Path"});
  // CW: 40 % duty over every averaging time, the peak envelope power as given.
  EXPECT_NEAR(static_cast<double>(job->installation.power.peakEnvelopeW), 100, 1e-9);
  EXPECT_NEAR(static_cast<double>(job->installation.power.average30MinW), 40, 1e-9);
}

// The window's near field is the report's: the same keep-out distances, the
// same exposure at the place.  Runs nec2c.
TEST(NearFieldJobTest, FinishedJobMatchesTheStationsNearField) {
  const station::Station s = Read(kStation);
  const std::optional<NearFieldJob> job = PrepareNearField(s, Evaluate(s), "20m");
  ASSERT_TRUE(job && job->request);
  const NearFieldInstallation mine = FinishNearField(*job, nf::Evaluate(*job->request));
  const StationNearField whole = EvaluateWithNearField(s);
  const NearFieldInstallation* theirs = whole.Find("20m");
  ASSERT_NE(theirs, nullptr);
  ASSERT_EQ(mine.status, nf::Status::Done) << mine.message;
  ASSERT_EQ(theirs->status, nf::Status::Done) << theirs->message;
  ASSERT_EQ(mine.results.size(), 4u);
  ASSERT_EQ(theirs->results.size(), 4u);
  for (size_t k = 0; k < mine.results.size(); ++k) {
    const nf::CaseResult& a = mine.results[k];
    const nf::CaseResult* b = FindResult(*theirs, SetOf(a), TierOf(a));
    ASSERT_NE(b, nullptr);
    EXPECT_DOUBLE_EQ(static_cast<double>(a.headKeepOut.distanceM),
                     static_cast<double>(b->headKeepOut.distanceM))
        << k;
    EXPECT_DOUBLE_EQ(static_cast<double>(a.wholeBodyKeepOut.distanceM),
                     static_cast<double>(b->wholeBodyKeepOut.distanceM))
        << k;
  }
  ASSERT_EQ(mine.places.size(), 1u);
  ASSERT_EQ(theirs->places.size(), 1u);
  EXPECT_EQ(mine.places[0].exposure, theirs->places[0].exposure);
  EXPECT_GT(mine.places[0].exposure[0], 0);
}

}  // namespace
}  // namespace korrin::assess
