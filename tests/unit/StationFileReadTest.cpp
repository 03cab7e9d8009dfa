// Reading the station file: the example file, every kind of bad input with
// the message, place, entry and key it gets, all problems of a file at once
// and in file order, and the checks run again on an edited model.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "station/Depth.h"
#include "station/StationFile.h"
#include "station/Tables.h"

namespace korrin::station {
namespace {

std::string ExamplePath() {
  return std::string(KORRIN_SOURCE_DIR) + "/data/examples/example.station.toml";
}

// A small valid station; the cases below replace one line of it or add lines.
constexpr const char* kBase = R"(format = "korrin-station/1"
region = 2

[[transmitter]]
id = "rig"
power-w = 100
mode = "ssb"

[[feedline]]
id = "coax"
cable = "RG-213"
length-m = 20

[[antenna]]
id = "beam"
kind = "yagi"
gain-dbi = 8
height-m = 12

[[installation]]
id = "20m"
transmitter = "rig"
feedline = "coax"
antenna = "beam"
band = "20m"
)";

// kBase with the line starting `from` replaced by `to` (and so moved), or
// with `to` appended when `from` is empty.
std::string Edited(const std::string& from, const std::string& to) {
  std::string text = kBase;
  if (from.empty()) return text + to;
  const std::size_t at = text.find(from);
  if (at == std::string::npos) return "the case's line is not in the base text: " + from;
  const std::size_t end = text.find('\n', at + from.size() - 1);
  return text.replace(at, end - at, to);
}

TEST(StationFileReadTest, TheBaseAndTheExampleRead) {
  const ReadResult base = ParseStation(kBase, "base.station.toml");
  EXPECT_TRUE(base.errors.empty()) << FormatDiagnostics(base.errors);
  ASSERT_TRUE(base.station.has_value());

  const ReadResult r = ReadStationFile(ExamplePath());
  ASSERT_TRUE(r.errors.empty()) << FormatDiagnostics(r.errors);
  ASSERT_TRUE(r.station.has_value());
  const Station& s = *r.station;
  EXPECT_EQ(s.callsign, "VK9ZZT");
  EXPECT_EQ(s.transmitters.size(), 5u);
  EXPECT_EQ(s.installations.size(), 7u);
  // The user's words are kept: feet stay feet, dBd stays dBd.
  const Feedline* dipoleFeed = s.FindFeedline("dipole-feed");
  ASSERT_NE(dipoleFeed, nullptr);
  ASSERT_TRUE(dipoleFeed->length.has_value());
  EXPECT_EQ(dipoleFeed->length->unit, LengthUnit::Feet);
  EXPECT_EQ(dipoleFeed->length->value, 65);
  EXPECT_EQ(dipoleFeed->swrAt, SwrAt::Transmitter);
  const Antenna* collinear = s.FindAntenna("collinear");
  ASSERT_NE(collinear, nullptr);
  ASSERT_TRUE(collinear->gain.has_value());
  EXPECT_TRUE(collinear->gain->dbd);
  EXPECT_EQ(collinear->gain->Dbi(), 3.0L + kDipoleGainDbi);
  const Antenna* vertical = s.FindAntenna("ground-vertical");
  ASSERT_NE(vertical, nullptr);
  EXPECT_EQ(vertical->x.Metres(), 30 * kMetresPerFoot);
  // Keys left out take their defaults.
  const Place* footpath = s.FindPlace("Footpath");
  ASSERT_NE(footpath, nullptr);
  EXPECT_EQ(footpath->height.Metres(), 2.0L);
  EXPECT_FALSE(footpath->controlled);
  const Installation* fm = s.FindInstallation("2m-fm");
  ASSERT_NE(fm, nullptr);
  EXPECT_EQ(GroupOf(*fm), kDefaultGroup);
  EXPECT_FALSE(GroundReflectionOf(s, *fm));
  EXPECT_TRUE(GroundReflectionOf(s, *s.FindInstallation("20m-beam")));
  // Every kind of entry remembers where it and its keys stood.
  EXPECT_GT(s.transmitters[0].at.line, 0);
  ASSERT_EQ(s.transmitters[0].keys.count("power-w"), 1u);
  EXPECT_EQ(s.transmitters[0].keys.at("power-w").line, s.transmitters[0].at.line + 2);
}

// Every data table is used by the example: its bands, modes, cables and kinds
// are rows of the tables (the checks would refuse them otherwise), and each
// table is exercised by at least one entry.
TEST(StationFileReadTest, TheExampleUsesEveryTable) {
  const ReadResult r = ReadStationFile(ExamplePath());
  ASSERT_TRUE(r.station.has_value());
  bool band = false, mode = false, cable = false, kindWithGain = false, dish = false;
  for (const Installation& n : r.station->installations) band = band || n.band.has_value();
  for (const Transmitter& t : r.station->transmitters) mode = mode || t.mode.has_value();
  for (const Feedline& f : r.station->feedlines) cable = cable || f.cable.has_value();
  for (const Antenna& a : r.station->antennas) {
    kindWithGain = kindWithGain || FindAntennaKind(a.kind)->gainDbi.has_value();
    dish = dish || a.kind == "dish";
  }
  EXPECT_TRUE(band && mode && cable && kindWithGain && dish);
}

struct BadCase {
  const char* what;
  std::string from;  // the line of kBase to replace, or empty to append
  std::string to;
  int line;  // where the error is reported (0: not checked)
  std::string table;
  std::string key;
  std::string message;  // a part of the message
};

class StationFileBadInputTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(StationFileBadInputTest, IsRefusedWithItsPlace) {
  const BadCase& c = GetParam();
  const ReadResult r = ParseStation(Edited(c.from, c.to), "bad.station.toml");
  EXPECT_FALSE(r.station.has_value()) << c.what;
  ASSERT_EQ(r.errors.size(), 1u) << c.what << "\n" << FormatDiagnostics(r.errors);
  const Diagnostic& d = r.errors[0];
  EXPECT_EQ(d.file, "bad.station.toml");
  if (c.line > 0) {
    EXPECT_EQ(d.at.line, c.line) << c.what;
  }
  EXPECT_GT(d.at.column, 0) << c.what;
  EXPECT_EQ(d.table, c.table) << c.what;
  EXPECT_EQ(d.key, c.key) << c.what;
  EXPECT_NE(d.message.find(c.message), std::string::npos) << c.what << ": " << FormatDiagnostic(d);
}

const std::string kRig = "[[transmitter]] \"rig\"";
const std::string kCoax = "[[feedline]] \"coax\"";
const std::string kBeam = "[[antenna]] \"beam\"";
const std::string k20m = "[[installation]] \"20m\"";

INSTANTIATE_TEST_SUITE_P(
    Cases, StationFileBadInputTest,
    ::testing::Values(
        BadCase{"malformed TOML", "power-w = 100", "power-w = = 100", 6, "", "",
                "not a valid TOML file"},
        BadCase{"no format", "format =", "# no format", 1, "", "format", "missing"},
        BadCase{"another format", "format =", "format = \"korrin-station/2\"", 1, "", "format",
                "korrin-station/1"},
        BadCase{"region out of range", "region = 2", "region = 4", 2, "", "region",
                "ITU region 1, 2 or 3, found 4"},
        BadCase{"unknown limit set", "region = 2", "limit-sets = [\"fcc\", \"arpansa\"]", 2, "",
                "limit-sets", "unknown limit set \"arpansa\""},
        BadCase{"no limit set", "region = 2", "limit-sets = []", 2, "", "limit-sets",
                "at least one"},
        BadCase{"wrong type", "power-w = 100", "power-w = \"100\"", 6, kRig, "power-w",
                "expected a power in W, 0 or more and at most 10000000 (10 MW), found a string"},
        BadCase{"power negative", "power-w = 100", "power-w = -5.5", 6, kRig, "power-w",
                "found -5.5"},
        BadCase{"power not finite", "power-w = 100", "power-w = inf", 6, kRig, "power-w",
                "found an infinite number"},
        BadCase{"power missing", "power-w = 100", "# no power", 4, kRig, "power-w", "missing"},
        BadCase{"unknown key", "power-w = 100", "power_w = 100", 6, kRig, "power_w",
                "unknown key \"power_w\"; did you mean \"power-w\"?"},
        BadCase{"unknown key far from any", "power-w = 100", "power-w = 100\nwattage = 3", 7, kRig,
                "wattage", "unknown key \"wattage\""},
        BadCase{"unknown table", "", "\n[[antena]]\nid = \"x\"\n", 0, "", "antena",
                "did you mean \"antenna\"?"},
        BadCase{"mode and duty", "mode = \"ssb\"", "mode = \"ssb\"\nduty = 0.5", 8, kRig, "duty",
                "not both"},
        BadCase{"unknown mode", "mode = \"ssb\"", "mode = \"sbb\"", 7, kRig, "mode",
                "did you mean \"ssb\"?"},
        BadCase{"duty zero", "mode = \"ssb\"", "duty = 0", 7, kRig, "duty",
                "above 0 and at most 1"},
        BadCase{"duty above one", "mode = \"ssb\"", "duty = 1.5", 7, kRig, "duty", "found 1.5"},
        BadCase{"on without off", "mode = \"ssb\"", "mode = \"ssb\"\non-minutes = 5", 8, kRig,
                "on-minutes", "together, or neither"},
        BadCase{"on zero", "mode = \"ssb\"", "mode = \"ssb\"\non-minutes = 0\noff-minutes = 1", 8,
                kRig, "on-minutes", "minutes above 0"},
        BadCase{"off negative", "mode = \"ssb\"",
                "mode = \"ssb\"\non-minutes = 1\noff-minutes = -1", 9, kRig, "off-minutes",
                "0 or more"},
        BadCase{"length in both units", "length-m = 20", "length-m = 20\nlength-ft = 60", 13, kCoax,
                "length-ft", "give length-m or length-ft, not both"},
        BadCase{"negative length", "length-m = 20", "length-m = -1", 12, kCoax, "length-m",
                "from 0 to 100000, found -1"},
        BadCase{"cable and loss", "length-m = 20", "length-m = 20\nloss-db = 1", 13, kCoax,
                "loss-db", "not both"},
        BadCase{"cable without length", "length-m = 20", "# no length", 9, kCoax, "length-m",
                "needs its length"},
        BadCase{"unknown cable", "cable = \"RG-213\"", "cable = \"RG-231\"", 11, kCoax, "cable",
                "unknown cable \"RG-231\""},
        BadCase{"swr below one", "length-m = 20", "length-m = 20\nswr = 0.9", 13, kCoax, "swr",
                "an SWR of 1 or more"},
        BadCase{"swr measured elsewhere", "length-m = 20", "length-m = 20\nswr-at = \"tuner\"", 13,
                kCoax, "swr-at", "\"antenna\" or \"transmitter\""},
        BadCase{"yagi without gain", "gain-dbi = 8", "# no gain", 14, kBeam, "gain-dbi",
                "needs its gain"},
        BadCase{"gain in both units", "gain-dbi = 8", "gain-dbi = 8\ngain-dbd = 6", 18, kBeam,
                "gain-dbd", "not both"},
        BadCase{"a dipole's own gain", "kind = \"yagi\"", "kind = \"dipole\"", 17, kBeam,
                "gain-dbi", "has its own gain (2.15 dBi)"},
        BadCase{"dish without diameter", "kind = \"yagi\"\ngain-dbi = 8", "kind = \"dish\"", 14,
                kBeam, "diameter-m", "needs its diameter"},
        BadCase{"unknown kind", "kind = \"yagi\"", "kind = \"yogi\"", 16, kBeam, "kind",
                "did you mean \"yagi\"?"},
        BadCase{"negative height", "height-m = 12", "height-m = -0.5", 18, kBeam, "height-m",
                "from 0 to 10000, found -0.5"},
        BadCase{"height missing", "height-m = 12", "x-m = -3", 14, kBeam, "height-m", "missing"},
        BadCase{"missing reference", "antenna = \"beam\"", "antenna = \"bean\"", 24, k20m,
                "antenna", "no [[antenna]] has the id \"bean\"; did you mean \"beam\"?"},
        BadCase{"band of another region", "band = \"20m\"", "band = \"4m\"", 25, k20m, "band",
                "does not exist in ITU region 2"},
        BadCase{"unknown band", "band = \"20m\"", "band = \"21m\"", 25, k20m, "band",
                "unknown band \"21m\""},
        BadCase{"frequency outside its band", "band = \"20m\"",
                "band = \"20m\"\nfrequency-mhz = 14.5", 26, k20m, "frequency-mhz",
                "lies outside the 20m band (14-14.35 MHz in region 2)"},
        BadCase{"neither band nor frequency", "band = \"20m\"", "group = \"main\"", 20, k20m,
                "band", "expected band or frequency-mhz"},
        BadCase{"frequency below every limit set", "band = \"20m\"", "frequency-mhz = 0.05", 25,
                k20m, "frequency-mhz", "outside every limit set"},
        BadCase{"outline of two points", "", "\n[property]\noutline-m = [[0, 0], [10, 0]]\n", 28,
                "[property]", "outline-m", "at least 3 points, found 2"},
        BadCase{"outline point not a pair", "", "\n[property]\noutline-m = [[0, 0, 1]]\n", 28,
                "[property]", "outline-m", "not a pair"},
        // Figures beyond physical sense, typos most often, with the range accepted.
        BadCase{"a gain of 700 dBi for 7.00", "gain-dbi = 8", "gain-dbi = 700", 17, kBeam,
                "gain-dbi", "expected a gain in dBi from -50 to 60, found 700"},
        BadCase{"a gain far below any antenna", "gain-dbi = 8", "gain-dbi = -80", 17, kBeam,
                "gain-dbi", "from -50 to 60, found -80"},
        BadCase{"a gain in dBd above 60 dBi", "gain-dbi = 8", "gain-dbd = 58", 17, kBeam,
                "gain-dbd", "from -52.15 to 57.85 (-50 to 60 dBi), found 58"},
        BadCase{"a power above 10 MW", "power-w = 100", "power-w = 2e7", 6, kRig, "power-w",
                "at most 10000000 (10 MW), found 20000000"},
        BadCase{"an antenna 4.6e18 m away", "height-m = 12", "height-m = 12\nx-m = 4.6e18", 19,
                kBeam, "x-m", "from -100000 to 100000, found 4600000000000000000"},
        BadCase{"an antenna far away in feet", "height-m = 12", "height-m = 12\ny-ft = -4e5", 19,
                kBeam, "y-ft", "from -328084 to 328084, found -400000"},
        BadCase{"an antenna 20 km high", "height-m = 12", "height-m = 20000", 18, kBeam, "height-m",
                "from 0 to 10000, found 20000"},
        BadCase{"a feed line 1000 km long", "length-m = 20", "length-m = 1e6", 12, kCoax,
                "length-m", "from 0 to 100000, found 1000000"},
        BadCase{"a place beyond 100 km", "",
                "\n[[place]]\nname = \"far\"\nx-m = 1e6\ny-m = 0\nheight-m = 2\n", 29,
                "[[place]] \"far\"", "x-m", "from -100000 to 100000, found 1000000"},
        BadCase{"a property side of 4.6e18 m", "",
                "\n[property]\noutline-m = [[-1, -1], [4.6e18, -1], [0, 5]]\n", 28, "[property]",
                "outline-m", "each from -100000 to 100000, found [4600000000000000000, -1]"},
        BadCase{"a property line 36 km long", "",
                "\n[property]\noutline-m = [[0, 0], [9000, 0], [9000, 9000], [0, 9000]]\n", 28,
                "[property]", "outline-m", "the outline is 36000 m long; at most 20000 m"}));

// Cases whose first line needs its own check (the edit moves the place).
TEST(StationFileReadTest, PairsOfEntries) {
  {
    std::string text = Edited("id = \"coax\"", "id = \"rig\"");
    text.replace(text.find("feedline = \"coax\""), 17, "feedline = \"rig\"");
    const ReadResult r = ParseStation(text, "f.toml");
    // The id is used by a transmitter and a feed line: ids are unique within
    // their kind only, so this is fine.
    EXPECT_TRUE(r.errors.empty()) << FormatDiagnostics(r.errors);
  }
  {
    const ReadResult r =
        ParseStation(Edited("", "\n[[transmitter]]\nid = \"rig\"\npower-w = 5\n"), "f.toml");
    ASSERT_EQ(r.errors.size(), 1u) << FormatDiagnostics(r.errors);
    EXPECT_EQ(r.errors[0].key, "id");
    EXPECT_EQ(r.errors[0].at.line, 28);
    EXPECT_NE(r.errors[0].message.find("used already by the [[transmitter]] at line 4"),
              std::string::npos)
        << r.errors[0].message;
  }
  {
    // A dish's efficiency above 1.
    const ReadResult r = ParseStation(Edited("kind = \"yagi\"\ngain-dbi = 8",
                                             "kind = \"dish\"\ndiameter-m = 3\nefficiency = 1.2"),
                                      "f.toml");
    ASSERT_EQ(r.errors.size(), 1u) << FormatDiagnostics(r.errors);
    EXPECT_EQ(r.errors[0].key, "efficiency");
    EXPECT_EQ(r.errors[0].at.line, 18);
  }
  {
    // A single [transmitter] table where entries are meant: the entries are
    // not read, so the installation's reference fails too.
    const ReadResult r = ParseStation(Edited("[[transmitter]]", "[transmitter]"), "f.toml");
    ASSERT_EQ(r.errors.size(), 2u) << FormatDiagnostics(r.errors);
    EXPECT_EQ(r.errors[0].key, "transmitter");
    EXPECT_EQ(r.errors[0].message, "expected [[transmitter]] tables, found a table");
    EXPECT_EQ(r.errors[1].table, k20m);
    EXPECT_EQ(r.errors[1].key, "transmitter");
  }
  {
    // 136 kHz is below the FCC's table, and so refused when the file uses the
    // FCC's limits only; ICNIRP 2020 covers it.
    std::string only = Edited("region = 2", "region = 2\nlimit-sets = [\"fcc\"]");
    only.replace(only.find("band = \"20m\""), 12, "band = \"2200m\"");
    const ReadResult fcc = ParseStation(only, "f.toml");
    ASSERT_EQ(fcc.errors.size(), 1u) << FormatDiagnostics(fcc.errors);
    EXPECT_EQ(fcc.errors[0].key, "band");
    EXPECT_NE(fcc.errors[0].message.find("fcc covers 0.3-100000 MHz"), std::string::npos);
    const ReadResult both = ParseStation(Edited("band = \"20m\"", "band = \"2200m\""), "f.toml");
    EXPECT_TRUE(both.errors.empty()) << FormatDiagnostics(both.errors);
  }
}

TEST(StationFileReadTest, NegativeCoordinatesAreFine) {
  const ReadResult r =
      ParseStation(Edited("height-m = 12", "height-m = 12\nx-m = -20\ny-ft = -3"), "f.toml");
  EXPECT_TRUE(r.errors.empty()) << FormatDiagnostics(r.errors);
}

TEST(StationFileReadTest, EveryErrorAtOnceInFileOrder) {
  std::string text = kBase;
  text.replace(text.find("power-w = 100"), 13, "power-w = -1");    // line 6
  text.replace(text.find("gain-dbi = 8"), 12, "gain_dbi = 8");     // line 17
  text.replace(text.find("band = \"20m\""), 12, "band = \"4m\"");  // line 25
  text = "bogus = 1\n" + text;                                     // line 1, the rest one down
  const ReadResult r = ParseStation(text, "many.station.toml");
  EXPECT_FALSE(r.station.has_value());
  std::vector<std::pair<int, std::string>> got;
  got.reserve(r.errors.size());
  for (const Diagnostic& d : r.errors) got.emplace_back(d.at.line, d.key);
  // The misspelt gain is not reported missing as well.
  const std::vector<std::pair<int, std::string>> want{
      {1, "bogus"}, {7, "power-w"}, {18, "gain_dbi"}, {26, "band"}};
  EXPECT_EQ(got, want) << FormatDiagnostics(r.errors);
}

TEST(StationFileReadTest, DiagnosticText) {
  Diagnostic d{"station.toml",
               {12, 5},
               "[[antenna]] \"tribander\"",
               "gain-dbi",
               "expected a gain in dBi, found a string"};
  EXPECT_EQ(FormatDiagnostic(d),
            "station.toml:12:5: [[antenna]] \"tribander\" gain-dbi: expected a gain in dBi, found "
            "a string");
  d.at = {};
  d.table.clear();
  EXPECT_EQ(FormatDiagnostic(d), "station.toml: gain-dbi: expected a gain in dBi, found a string");
}

// The checks run on a model edited in the program give the reader's message
// at the key's place in the file it came from.
TEST(StationFileReadTest, ValidateAnEditedModel) {
  ReadResult r = ReadStationFile(ExamplePath());
  ASSERT_TRUE(r.station.has_value());
  Station s = *r.station;
  EXPECT_TRUE(Validate(s, "example").empty());
  s.transmitters[0].powerW = -3;
  s.antennas[0].gain.reset();
  s.installations.push_back(s.installations[0]);
  s.installations.back().at = {};
  s.installations.back().keys.clear();
  const std::vector<Diagnostic> errors = Validate(s, "example");
  ASSERT_EQ(errors.size(), 3u) << FormatDiagnostics(errors);
  EXPECT_EQ(errors[0].key, "power-w");
  EXPECT_EQ(errors[0].at.line, s.transmitters[0].keys.at("power-w").line);
  EXPECT_EQ(errors[0].message,
            "expected a power in W, 0 or more and at most 10000000 (10 MW), found -3");
  EXPECT_EQ(errors[1].table, "[[antenna]] \"tribander\"");
  // The copied installation has no place in the file: listed last.
  EXPECT_EQ(errors[2].at.line, 0);
  EXPECT_EQ(errors[2].key, "id");
}

// More entries of a kind than are evaluated: refused with the numbers, and
// the checks stay linear in the entries (a duplicate id found by a lookup).
TEST(StationFileReadTest, TooManyEntriesAreRefusedWithTheNumbers) {
  std::string text = kBase;
  for (int i = 0; i < 201; ++i) {
    text += "\n[[installation]]\nid = \"n" + std::to_string(i) +
            "\"\ntransmitter = \"rig\"\nantenna = \"beam\"\nband = \"20m\"\n";
  }
  text +=
      "\n[[installation]]\nid = \"n7\"\ntransmitter = \"rig\"\nantenna = \"beam\"\nband = "
      "\"20m\"\n";
  const ReadResult r = ParseStation(text, "many.station.toml");
  EXPECT_FALSE(r.station.has_value());
  ASSERT_EQ(r.errors.size(), 2u) << FormatDiagnostics(r.errors);
  // The duplicate at its line; the count, which has no one line, last.
  EXPECT_EQ(r.errors[0].table, "[[installation]] \"n7\"");
  EXPECT_NE(r.errors[0].message.find("\"n7\" is used already by the [[installation]] at line"),
            std::string::npos)
      << r.errors[0].message;
  EXPECT_EQ(r.errors[1].key, "installation");
  EXPECT_NE(r.errors[1].message.find("the file has 203 installation tables; at most 200"),
            std::string::npos)
      << r.errors[1].message;
}

struct DeepCase {
  const char* what;
  std::string text;
  bool refused;
};

class StationFileDepthTest : public ::testing::TestWithParam<DeepCase> {};

// Keys, headers and arrays nested thousands of levels deep are refused
// before the parser sees them (they would exhaust its stack); dots and
// brackets inside strings and comments are text, not nesting.
TEST_P(StationFileDepthTest, IsMeasuredBeforeParsing) {
  const DeepCase& c = GetParam();
  const ReadResult r = ParseStation(c.text, "deep.station.toml");
  const bool deep = !r.errors.empty() &&
                    r.errors[0].message.find("nested deeper than 32 levels") != std::string::npos;
  EXPECT_EQ(deep, c.refused) << c.what << "\n" << FormatDiagnostics(r.errors);
  if (c.refused) {
    EXPECT_EQ(r.errors.size(), 1u) << c.what;
    EXPECT_GT(r.errors[0].at.line, 0) << c.what;
  }
}

std::string Repeated(const std::string& part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StationFileDepthTest,
    ::testing::Values(
        DeepCase{"a dotted key 40,000 deep", std::string(kBase) + Repeated("a.", 40000) + "b = 1\n",
                 true},
        DeepCase{"a header 40,000 deep", std::string(kBase) + "[" + Repeated("a.", 40000) + "b]\n",
                 true},
        DeepCase{"arrays 40,000 deep",
                 std::string(kBase) + "x = " + Repeated("[", 40000) + Repeated("]", 40000) + "\n",
                 true},
        DeepCase{"inline tables 40,000 deep",
                 std::string(kBase) + "x = " + Repeated("{a = ", 40000) + "1" +
                     Repeated("}", 40000) + "\n",
                 true},
        DeepCase{"a key 33 parts deep", std::string(kBase) + Repeated("a.", 32) + "b = 1\n", true},
        DeepCase{"a key 32 parts deep (not a station key, but not too deep)",
                 std::string(kBase) + Repeated("a.", 31) + "b = 1\n", false},
        DeepCase{"dots and brackets in strings and comments",
                 "# " + Repeated("[a.", 100) + "\nsite = \"" + Repeated("[{.\\\"", 100) +
                     "\"\nevaluated-by = '''" + Repeated("[.\n", 100) + "'''\n" + kBase,
                 false},
        DeepCase{"the base", std::string(kBase), false}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

// A file that ends inside a string on a backslash: the measure stops at the
// text's end. Each text is given in a buffer of exactly its own length, so
// that the sanitizers see a read past it.
TEST(StationFileReadTest, DepthStopsAtTheEndOfAStringCutShort) {
  for (const char* cut : {"x = \"\\", "x = \"\"\"a\\", "x = '\\", "x = \"\\\\\\"}) {
    const std::string text = cut;
    const auto exact = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), exact.get());
    const std::string_view view(exact.get(), text.size());
    EXPECT_FALSE(TooDeep(view, "cut.station.toml").has_value()) << text;
    const ReadResult r = ParseStation(view, "cut.station.toml");
    EXPECT_FALSE(r.station.has_value()) << text;
    EXPECT_FALSE(r.errors.empty()) << text;
  }
}

TEST(StationFileReadTest, FilesThatCannotBeRead) {
  const ReadResult missing = ReadStationFile("/nonexistent/folder/x.station.toml");
  ASSERT_EQ(missing.errors.size(), 1u);
  EXPECT_EQ(missing.errors[0].file, "/nonexistent/folder/x.station.toml");
  EXPECT_FALSE(missing.station.has_value());
  const ReadResult folder = ReadStationFile(std::string(KORRIN_SOURCE_DIR) + "/data");
  ASSERT_EQ(folder.errors.size(), 1u);
  EXPECT_EQ(folder.errors[0].message, "it is a folder, not a file");
  const ReadResult device = ReadStationFile("/dev/zero");
  ASSERT_EQ(device.errors.size(), 1u);
  EXPECT_EQ(device.errors[0].message, "it is not a regular file (a device, a pipe or a socket)");
}

struct LooksCase {
  const char* what;
  std::string head;
  bool station;
};

class LooksLikeStationFileTest : public ::testing::TestWithParam<LooksCase> {};

TEST_P(LooksLikeStationFileTest, ByContent) {
  EXPECT_EQ(LooksLikeStationFile(GetParam().head), GetParam().station) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Heads, LooksLikeStationFileTest,
    ::testing::Values(
        LooksCase{"first line", "format = \"korrin-station/1\"\n", true},
        LooksCase{"after comments and blanks",
                  "# my station\n\n   # more\r\nformat=\"korrin-station/1\"  # the format\n", true},
        LooksCase{"after other keys", "callsign = \"X\"\nformat = 'korrin-station/1'\n", true},
        LooksCase{"byte order mark",
                  "\xEF\xBB\xBF"
                  "format = \"korrin-station/1\"",
                  true},
        LooksCase{"another format", "format = \"korrin-station/2\"\n", false},
        LooksCase{"a longer word", "format = \"korrin-station/10\"\n", false},
        LooksCase{"inside a table", "[[transmitter]]\nformat = \"korrin-station/1\"\n", false},
        LooksCase{"binary", std::string("\0\0\x01", 3) + "format = \"korrin-station/1\"", false},
        LooksCase{"empty", "", false},
        LooksCase{"key with a longer name", "formats = \"korrin-station/1\"\n", false}));

}  // namespace
}  // namespace korrin::station
