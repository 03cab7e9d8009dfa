// The station file's keys of wire antennas: read into the model, written
// back to the same bytes, and each refused where its kind does not use it,
// out of its range or incomplete, with the entry and key named.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "nearfield/Tables.h"
#include "station/FileWords.h"
#include "station/StationFile.h"

namespace korrin::station {
namespace {

constexpr const char* kHead = R"(format = "korrin-station/1"

[[transmitter]]
id = "rig"
power-w = 100
mode = "cw"

[[installation]]
id = "hf"
transmitter = "rig"
antenna = "a"
frequency-mhz = 14.2
)";

std::string WithAntenna(const std::string& keys) {
  return std::string(kHead) + "\n[[antenna]]\nid = \"a\"\nheight-m = 10\n" + keys;
}

TEST(StationNearFieldKeysTest, EveryKeyReadAndWrittenBack) {
  struct Case {
    const char* keys;
    std::function<void(const NearFieldKeys&)> check;
  };
  const std::vector<Case> cases = {
      {"kind = \"wires\"\nwires = [[-5, 0, 0, 5, 0, 0, 1.5], [5, 0, 0, 5, 0, -3, 1]]\n"
       "feed-wire = 1\nfeed-at = \"start\"\nground-permittivity = 15\nground-conductivity = "
       "0.002\n",
       [](const NearFieldKeys& n) {
         ASSERT_EQ(n.wires.size(), 2u);
         EXPECT_EQ(n.wires[0].x1, -5);
         EXPECT_EQ(n.wires[0].radiusMm, 1.5L);
         EXPECT_EQ(n.wires[1].z2, -3);
         EXPECT_EQ(n.feedWire, 1);
         EXPECT_EQ(n.feedAt, "start");
         EXPECT_EQ(n.groundPermittivity, 15);
         EXPECT_EQ(n.groundConductivity, 0.002);  // as the file's double
       }},
      {"kind = \"wires\"\nnec-file = \"yagi.nec\"\nfeed-wire = 3\nfeed-segment = 6\n"
       "ground = \"good\"\n",
       [](const NearFieldKeys& n) {
         EXPECT_EQ(n.necFile, "yagi.nec");
         EXPECT_EQ(n.feedWire, 3);
         EXPECT_EQ(n.feedSegment, 6);
         EXPECT_EQ(n.ground, "good");
       }},
      {"kind = \"dipole\"\nlength-ft = 33\nwire-radius-mm = 0.8\nground = \"poor\"\n",
       [](const NearFieldKeys& n) {
         ASSERT_TRUE(n.length);
         EXPECT_EQ(n.length->unit, LengthUnit::Feet);
         EXPECT_EQ(n.wireRadiusMm, 0.8);
       }},
      {"kind = \"inverted-v\"\ndroop-deg = 35\nlength-m = 20.5\n",
       [](const NearFieldKeys& n) {
         EXPECT_EQ(n.droopDeg, 35);
         EXPECT_EQ(n.length->Metres(), 20.5L);
       }},
      {"kind = \"vertical\"\nradials = 0\nground = \"perfect\"\n",
       [](const NearFieldKeys& n) { EXPECT_EQ(n.radials, 0); }},
  };
  for (const Case& c : cases) {
    const ReadResult r = ParseStation(WithAntenna(c.keys), "wires.station.toml");
    ASSERT_TRUE(r.station) << c.keys << FormatDiagnostics(r.errors);
    c.check(r.station->antennas.at(0).nearField);
    const std::string written = WriteStation(*r.station);
    const ReadResult again = ParseStation(written, "again.station.toml");
    ASSERT_TRUE(again.station) << written << FormatDiagnostics(again.errors);
    EXPECT_TRUE(SameContent(*r.station, *again.station)) << written;
    EXPECT_EQ(WriteStation(*again.station), written);
  }
}

struct RefusalCase {
  const char* name;
  const char* keys;
  const char* key;      // the key named
  const char* message;  // a part of the message
};

class StationNearFieldRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(StationNearFieldRefusalTest, NamesTheKey) {
  const RefusalCase& c = GetParam();
  const ReadResult r = ParseStation(WithAntenna(c.keys), "wires.station.toml");
  ASSERT_FALSE(r.station);
  bool found = false;
  for (const Diagnostic& d : r.errors) {
    if (d.key == c.key && d.message.find(c.message) != std::string::npos) found = true;
  }
  EXPECT_TRUE(found) << FormatDiagnostics(r.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StationNearFieldRefusalTest,
    ::testing::Values(
        RefusalCase{"NoWires", "kind = \"wires\"\n", "wires", "needs its wires, or a nec-file"},
        RefusalCase{"Both", "kind = \"wires\"\nwires = [[0,0,0,1,0,0,1]]\nnec-file = \"a.nec\"\n",
                    "nec-file", "not both"},
        RefusalCase{"Gain", "kind = \"wires\"\nwires = [[0,0,0,1,0,0,1]]\ngain-dbi = 3\n",
                    "gain-dbi", "takes its gain from its NEC-2 model"},
        RefusalCase{"ShortRow", "kind = \"wires\"\nwires = [[0,0,0,1,0,0]]\n", "wires",
                    "not 7 numbers"},
        RefusalCase{"TextInRow", "kind = \"wires\"\nwires = [[0,0,0,1,0,\"x\",1]]\n", "wires",
                    "a wire holding a string"},
        RefusalCase{"NoRadius", "kind = \"wires\"\nwires = [[0,0,0,1,0,0,0]]\n", "wires",
                    "wire 1: the radius must be above 0 mm"},
        RefusalCase{"Point", "kind = \"wires\"\nwires = [[1,2,3,1,2,3,1]]\n", "wires",
                    "both ends are at the same point"},
        RefusalCase{"FeedPastTheWires",
                    "kind = \"wires\"\nwires = [[0,0,0,1,0,0,1]]\nfeed-wire = 2\n", "feed-wire",
                    "wire 2 is not among the antenna's 1 wires"},
        RefusalCase{"FeedAtWord",
                    "kind = \"wires\"\nwires = [[0,0,0,1,0,0,1]]\nfeed-at = \"top\"\n", "feed-at",
                    "expected \"middle\", \"start\" or \"end\""},
        RefusalCase{"FeedAtWithDeck", "kind = \"wires\"\nnec-file = \"a.nec\"\nfeed-at = \"end\"\n",
                    "feed-at", "applies to a \"wires\" antenna with its own wires"},
        RefusalCase{"SegmentWithWires",
                    "kind = \"wires\"\nwires = [[0,0,0,1,0,0,1]]\nfeed-segment = 2\n",
                    "feed-segment", "applies to a \"wires\" antenna from a NEC deck"},
        RefusalCase{"UnknownGround", "kind = \"dipole\"\nground = \"swamp\"\n", "ground",
                    "unknown ground \"swamp\""},
        RefusalCase{"GroundTwice",
                    "kind = \"dipole\"\nground = \"poor\"\nground-permittivity = 5\n"
                    "ground-conductivity = 0.001\n",
                    "ground-permittivity", "not both"},
        RefusalCase{"HalfAGround", "kind = \"dipole\"\nground-conductivity = 0.001\n",
                    "ground-conductivity", "together, or neither"},
        RefusalCase{"LowPermittivity",
                    "kind = \"dipole\"\nground-permittivity = 0.5\nground-conductivity = 0.001\n",
                    "ground-permittivity", "1 or more"},
        RefusalCase{"GroundUnderAYagi", "kind = \"yagi\"\ngain-dbi = 8\nground = \"average\"\n",
                    "ground", "applies to wire antennas, not to kind \"yagi\""},
        RefusalCase{"DroopOfADipole", "kind = \"dipole\"\ndroop-deg = 30\n", "droop-deg",
                    "applies to kind \"inverted-v\""},
        RefusalCase{"DroopTooSteep", "kind = \"inverted-v\"\ndroop-deg = 90\n", "droop-deg",
                    "up to 90"},
        RefusalCase{"RadialsOfADipole", "kind = \"dipole\"\nradials = 4\n", "radials",
                    "applies to kinds \"vertical\" and \"ground-plane\""},
        RefusalCase{"LengthOfAVertical", "kind = \"vertical\"\nlength-m = 5\n", "length-m",
                    "applies to kinds \"dipole\" and \"inverted-v\""},
        RefusalCase{"RadiusOfWires",
                    "kind = \"wires\"\nwires = [[0,0,0,1,0,0,1]]\nwire-radius-mm = 2\n",
                    "wire-radius-mm", "applies to kinds \"dipole\""}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// A change of kind (as the station window makes it) keeps the keys the new
// kind uses and drops the others, so that the station stays one the checks
// take: an inverted V turned dipole keeps its length, wire and ground.
TEST(StationNearFieldKeysTest, AChangeOfKindDropsWhatTheKindLacks) {
  const ReadResult r = ParseStation(
      WithAntenna("kind = \"inverted-v\"\ndroop-deg = 35\nlength-m = 20\nwire-radius-mm = 1\n"
                  "ground = \"good\"\n"),
      "v.station.toml");
  ASSERT_TRUE(r.station) << FormatDiagnostics(r.errors);
  struct Case {
    const char* kind;
    bool length, droop, radius, ground;
  };
  for (const Case c :
       {Case{"dipole", true, false, true, true}, Case{"vertical", false, false, true, true},
        Case{"yagi", false, false, false, false}}) {
    Station s = *r.station;
    Antenna& a = s.antennas[0];
    a.kind = c.kind;
    if (std::string(c.kind) == "yagi") a.gain = Gain{8, false};
    DropNearFieldKeysItsKindLacks(a);
    EXPECT_EQ(a.nearField.length.has_value(), c.length) << c.kind;
    EXPECT_EQ(a.nearField.droopDeg.has_value(), c.droop) << c.kind;
    EXPECT_EQ(a.nearField.wireRadiusMm.has_value(), c.radius) << c.kind;
    EXPECT_EQ(a.nearField.ground.has_value(), c.ground) << c.kind;
    EXPECT_TRUE(Validate(s, "v.station.toml").empty())
        << c.kind << FormatDiagnostics(Validate(s, ""));
  }
}

// The ground words of the file are the near field's own: free space, a
// perfect ground and every named ground of its table.
TEST(StationNearFieldKeysTest, GroundWordsAreTheNearFieldsGrounds) {
  std::set<std::string> file;
  for (const std::string_view w : GroundWords()) file.emplace(w);
  std::set<std::string> table = {"free-space", "perfect"};
  for (const nearfield::GroundRow& g : nearfield::GroundRows()) table.insert(g.id);
  EXPECT_EQ(file, table);
}

}  // namespace
}  // namespace korrin::station
