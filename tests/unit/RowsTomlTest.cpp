// Whole rows through the clipboard as station file tables: copied rows
// paste back as new entries under ids of their own, installations bring
// what they name (used as it is where the station has it the same), the
// text reads as the file reads it, and what the file would refuse is
// refused in its words without a change.
#include <gtest/gtest.h>

#include <string>

#include "station/StationFile.h"
#include "tests/unit/StationFilesTestSupport.h"
#include "ui/station/RowsToml.h"

namespace korrin::stationui {
namespace {

using testing_support::Example;
using testing_support::WorkedF;

station::Station Pasted(station::Station s, const std::string& text) {
  const Outcome o = PasteToml(s, text);
  EXPECT_TRUE(o.edit.has_value()) << o.refusal;
  if (o.edit) ApplyAll(s, o.edit->steps);
  return s;
}

TEST(RowsTomlTest, CopiedRowsPasteBackAsNewEntries) {
  const struct {
    const char* what;
    Table table;
    std::vector<std::size_t> rows;
    const char* first;  // the text's first line
    // Entries more after pasting into the same station.
    int transmitters, antennas, installations, places;
  } cases[] = {
      {"two places", Table::Places, {0, 2}, "[[place]]", 0, 0, 0, 2},
      {"a transmitter", Table::Transmitters, {1}, "[[transmitter]]", 1, 0, 0, 0},
      {"an antenna", Table::Antennas, {0}, "[[antenna]]", 0, 1, 0, 0},
      // What the installation names is the station's own: not added again.
      {"an installation", Table::Installations, {0}, "[[transmitter]]", 0, 0, 1, 0},
  };
  const station::Station example = Example();
  for (const auto& c : cases) {
    const std::string text = RowsAsToml(example, c.table, c.rows);
    EXPECT_EQ(text.substr(0, text.find('\n')), c.first) << c.what;
    EXPECT_EQ(text.find("format"), std::string::npos) << c.what << ": the tables alone";
    const station::Station s = Pasted(example, text);
    EXPECT_EQ(s.transmitters.size(), example.transmitters.size() + c.transmitters) << c.what;
    EXPECT_EQ(s.antennas.size(), example.antennas.size() + c.antennas) << c.what;
    EXPECT_EQ(s.installations.size(), example.installations.size() + c.installations) << c.what;
    EXPECT_EQ(s.places.size(), example.places.size() + c.places) << c.what;
    EXPECT_TRUE(station::Validate(s, "").empty()) << c.what;
    // The entries before stay as they were.
    for (std::size_t i = 0; i < example.places.size(); ++i) {
      EXPECT_EQ(s.places[i].name, example.places[i].name) << c.what;
    }
  }
}

TEST(RowsTomlTest, AnInstallationPastedIntoAnotherStationBringsWhatItNames) {
  const station::Station from = WorkedF();
  const std::string text = RowsAsToml(from, Table::Installations, {1});
  station::Station empty;
  empty.region = from.region;
  const station::Station s = Pasted(empty, text);
  ASSERT_EQ(s.installations.size(), 1u);
  ASSERT_EQ(s.transmitters.size(), 1u);
  ASSERT_EQ(s.antennas.size(), 1u);
  EXPECT_EQ(s.installations[0].id, from.installations[1].id);
  EXPECT_EQ(s.installations[0].transmitter, s.transmitters[0].id);
  EXPECT_EQ(s.installations[0].antenna, s.antennas[0].id);
  EXPECT_EQ(s.transmitters[0].id, from.installations[1].transmitter);
  // Into a station with an antenna of that id that differs: a new id.
  station::Station other = s;
  other.installations.clear();
  other.antennas[0].height = station::Length::InMetres(3);
  const station::Station both = Pasted(other, text);
  ASSERT_EQ(both.antennas.size(), 2u);
  EXPECT_EQ(both.installations[0].antenna, both.antennas[1].id);
  EXPECT_NE(both.antennas[1].id, both.antennas[0].id);
}

TEST(RowsTomlTest, WhatTheFileWouldRefuseIsRefused) {
  const struct {
    const char* text;
    const char* says;
  } cases[] = {
      {"hello", "Nothing to paste"},
      {"[[transmitter]]\nid = \"x\"\npower-w = -5\nmode = \"fm\"\n", "power-w"},
      {"[[installation]]\nid = \"n\"\ntransmitter = \"nobody\"\nantenna = \"2m-yagi\"\n"
       "frequency-mhz = 144.2\n",
       "nobody"},
      {"[[transmitter]\n", "pasted"},
  };
  const station::Station s = WorkedF();
  for (const auto& c : cases) {
    const Outcome o = PasteToml(s, c.text);
    EXPECT_FALSE(o.edit.has_value()) << c.text;
    EXPECT_NE(o.refusal.find(c.says), std::string::npos) << c.text << ": " << o.refusal;
  }
  EXPECT_EQ(RowsAsToml(s, Table::Outline, {0}), "");
  EXPECT_EQ(RowsAsToml(s, Table::Places, {}), "");
}

}  // namespace
}  // namespace korrin::stationui
