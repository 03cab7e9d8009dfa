// Writing the station file: what is written reads back as the same station,
// writing that again gives the same bytes, the user's units and the schema's
// key order are kept, and saving replaces a file whole or not at all.
#include <gtest/gtest.h>

#include <algorithm>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "station/StationFile.h"

namespace korrin::station {
namespace {

Station Example() {
  const ReadResult r =
      ReadStationFile(std::string(KORRIN_SOURCE_DIR) + "/data/examples/example.station.toml");
  EXPECT_TRUE(r.errors.empty()) << FormatDiagnostics(r.errors);
  return r.station.value_or(Station{});
}

// Writes, reads back and writes again: the same station and the same bytes.
void ExpectRoundTrip(const Station& s, const std::string& what) {
  const std::string text = WriteStation(s);
  const ReadResult back = ParseStation(text, what);
  ASSERT_TRUE(back.station.has_value()) << what << "\n" << FormatDiagnostics(back.errors) << text;
  EXPECT_TRUE(SameContent(s, *back.station)) << what << "\n" << text;
  EXPECT_EQ(WriteStation(*back.station), text) << what;
}

TEST(StationFileWriteTest, TheExampleRoundTrips) {
  const Station s = Example();
  ExpectRoundTrip(s, "example");
  const std::string text = WriteStation(s);
  EXPECT_TRUE(LooksLikeStationFile(text));
  EXPECT_EQ(text.rfind("# Korrin station file", 0), 0u);
  // The user's units stay as written.
  EXPECT_NE(text.find("length-ft = 65\n"), std::string::npos);
  EXPECT_NE(text.find("gain-dbd = 3\n"), std::string::npos);
  EXPECT_NE(text.find("diameter-ft = 16\n"), std::string::npos);
  EXPECT_NE(text.find("height-ft = 6.5\n"), std::string::npos);
  EXPECT_NE(text.find("outline-m = [[-10, -10], [20, -10], [20, 25], [-10, 25]]\n"),
            std::string::npos);
}

TEST(StationFileWriteTest, KeysInTheSchemasOrder) {
  Station s = Example();
  const std::string text = WriteStation(s);
  // The first transmitter as written, whatever order the example has.
  const std::string block = text.substr(text.find("[[transmitter]]"));
  EXPECT_EQ(block.substr(0, block.find("\n\n")),
            "[[transmitter]]\nid = \"ft-991\"\npower-w = 100\nmode = \"ssb\"\non-minutes = 5\n"
            "off-minutes = 5");
  EXPECT_LT(text.find("format ="), text.find("callsign ="));
  EXPECT_LT(text.find("[[transmitter]]"), text.find("[[feedline]]"));
  EXPECT_LT(text.find("[[installation]]"), text.find("[[place]]"));
  EXPECT_LT(text.find("[[place]]"), text.find("[property]"));
}

// Numbers read back as the very value written, whatever their size.
TEST(StationFileWriteTest, NumbersAndTextsReadBackTheSame) {
  Station s = Example();
  const long double values[] = {
      0.1L, 1e-7L,       14.35L,  123456789.123L,         1e300L, 4611686018427387904.0L,
      3.0L, 2.0L / 3.0L, 5e-324L, 1.7976931348623157e308L};
  for (const long double v : values) {
    // A value no double holds is written as the nearest double: the model
    // holds doubles as the reader gives them.
    // Minutes have no upper bound; a position lies within 100 km.
    s.transmitters[0].onMinutes = static_cast<double>(v);
    s.transmitters[0].offMinutes = static_cast<double>(v);
    s.antennas[0].x = Length{-static_cast<double>(std::min(v, 328084.0L)), LengthUnit::Feet};
    ExpectRoundTrip(s, std::to_string(static_cast<double>(v)));
  }
  // A value made in the program that no double holds comes back as the
  // nearest double, and is stable from then on.
  s.transmitters[0].powerW = 0.1L;
  const ReadResult rounded = ParseStation(WriteStation(s), "rounded");
  ASSERT_TRUE(rounded.station.has_value());
  EXPECT_EQ(rounded.station->transmitters[0].powerW, static_cast<long double>(0.1));
  EXPECT_NE(rounded.station->transmitters[0].powerW, 0.1L);
  ExpectRoundTrip(*rounded.station, "rounded");
  s.transmitters[0].powerW = 100;

  s.callsign = "Tab\there, \"quoted\", back\\slash, new\nline, bell\x07, Ünïcödé ✓";
  s.places[0].name = "Grandma's \u00e9t\u00e9 garden";
  ExpectRoundTrip(s, "texts");
}

TEST(StationFileWriteTest, DefaultsAndOptionalKeys) {
  Station s;
  s.transmitters.push_back(Transmitter{});
  s.transmitters[0].id = "t";
  s.transmitters[0].powerW = 10;
  s.antennas.push_back(Antenna{});
  s.antennas[0].id = "a";
  s.antennas[0].kind = "dipole";
  s.installations.push_back(Installation{});
  s.installations[0].id = "i";
  s.installations[0].transmitter = "t";
  s.installations[0].antenna = "a";
  s.installations[0].frequencyMHz = 7.1;
  ASSERT_TRUE(Validate(s, "").empty()) << FormatDiagnostics(Validate(s, ""));
  ExpectRoundTrip(s, "smallest");
  const std::string text = WriteStation(s);
  EXPECT_EQ(text.find("ground-reflection"), std::string::npos);
  EXPECT_EQ(text.find("[[feedline]]"), std::string::npos);
  EXPECT_NE(text.find("limit-sets = [\"fcc\", \"icnirp-2020\"]\n"), std::string::npos);
  s.limitSets = {LimitSetChoice::Icnirp2020};
  s.groundReflection = false;
  ExpectRoundTrip(s, "one limit set, no ground reflection");
}

std::string TempFolder() {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("korrin-station-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir.string();
}

TEST(StationFileWriteTest, SaveReplacesTheFileWhole) {
  const std::string dir = TempFolder();
  const std::string path = dir + "/home.station.toml";
  {
    std::ofstream old(path);
    old << "old contents that are not a station file\n";
  }
  const Station s = Example();
  EXPECT_EQ(SaveStationFile(path, s), std::nullopt);
  const ReadResult back = ReadStationFile(path);
  ASSERT_TRUE(back.station.has_value()) << FormatDiagnostics(back.errors);
  EXPECT_TRUE(SameContent(s, *back.station));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

  // A folder of that name: a reason, and the folder left alone.
  const std::string folder = dir + "/folder.station.toml";
  std::filesystem::create_directories(folder);
  const auto reason = SaveStationFile(folder, s);
  ASSERT_TRUE(reason.has_value());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  // A folder that does not exist: a reason, nothing written.
  EXPECT_TRUE(SaveStationFile(dir + "/missing/x.station.toml", s).has_value());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace korrin::station

namespace korrin::station {
namespace {

// The station file fuzzer's seeds and the inputs it once found: each is
// refused with errors and no station, or reads, writes and reads back the
// same.
TEST(StationFileWriteTest, FuzzerInputsAreRefusedOrRoundTrip) {
  const std::filesystem::path inputs =
      std::filesystem::path(KORRIN_TEST_DATA_DIR) / "fuzz" / "station";
  int count = 0;
  int accepted = 0;
  for (const auto& entry : std::filesystem::directory_iterator(inputs)) {
    if (!entry.is_regular_file()) continue;
    ++count;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const ReadResult r = ParseStation(text.str(), entry.path().filename().string());
    EXPECT_NE(r.station.has_value(), !r.errors.empty()) << entry.path();
    if (!r.station) continue;
    ++accepted;
    ExpectRoundTrip(*r.station, entry.path().filename().string());
  }
  EXPECT_GT(count, 0);
  EXPECT_GT(accepted, 0);
}

}  // namespace
}  // namespace korrin::station
