// The station window's edits without a window: text typed in the user's
// words lands in the file's keys; an entry the file would refuse is refused
// with the file's own message; every edit is undone exactly; renaming an id
// renames its references; and the worked two-installation station can be
// built by typing alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "station/Diagnostic.h"
#include "station/StationFile.h"
#include "ui/station/CellEdit.h"
#include "ui/station/Columns.h"

namespace korrin::stationui {
namespace {

using st::Station;

Station Example() {
  const st::ReadResult r =
      st::ReadStationFile(std::string(KORRIN_SOURCE_DIR) + "/data/examples/example.station.toml");
  EXPECT_TRUE(r.errors.empty()) << st::FormatDiagnostics(r.errors);
  Station s = r.station.value_or(Station{});
  ForgetFilePlaces(s);
  return s;
}

Station Applied(Station s, const Outcome& o) {
  EXPECT_TRUE(o.edit.has_value()) << o.refusal;
  if (o.edit) ApplyAll(s, o.edit->steps);
  return s;
}

// The lines of the entry `id` (or the [property] table) as the file writes it.
std::string EntryBlock(const Station& s, const std::string& header, const std::string& id) {
  const std::string text = st::WriteStation(s);
  std::size_t at = 0;
  while ((at = text.find(header + "\n", at)) != std::string::npos) {
    const std::size_t end = text.find("\n\n", at);
    const std::string block = text.substr(at, end == std::string::npos ? end : end - at);
    if (id.empty() || block.find("= \"" + id + "\"\n") != std::string::npos) return block + "\n";
    at = end == std::string::npos ? text.size() : end;
  }
  return {};
}

// ---- Typed text lands in the file's keys --------------------------------

struct Typed {
  const char* what;
  Table table;
  std::size_t row;
  std::size_t column;
  const char* text;
  const char* header;
  const char* id;                   // the entry's id after the edit
  std::vector<std::string> lines;   // in the written entry
  std::vector<std::string> absent;  // keys no longer written
};

class TypedTextTest : public ::testing::TestWithParam<Typed> {};

const std::vector<Typed>& TypedCases();

// The lines of an entry's block, each with its key.
std::vector<std::pair<std::string, std::string>> KeyedLines(const std::string& block) {
  std::vector<std::pair<std::string, std::string>> out;
  std::size_t at = 0;
  while (at < block.size()) {
    const std::size_t end = block.find('\n', at);
    const std::string line = block.substr(at, end - at);
    out.emplace_back(line.substr(0, line.find(" = ")), line);
    at = end == std::string::npos ? block.size() : end + 1;
  }
  return out;
}

TEST_P(TypedTextTest, LandsInTheFilesKeys) {
  const Typed& t = GetParam();
  const Station before = Example();
  const Outcome o = EditCell(before, t.table, t.row, t.column, t.text);
  ASSERT_TRUE(o.edit.has_value()) << t.what << ": " << o.refusal;
  const std::string block = EntryBlock(Applied(before, o), t.header, t.id);
  ASSERT_FALSE(block.empty()) << t.what;
  for (const std::string& line : t.lines) {
    EXPECT_NE(block.find(line + "\n"), std::string::npos) << t.what << ": " << line << "\n"
                                                          << block;
  }
  for (const std::string& key : t.absent) {
    EXPECT_EQ(block.find("\n" + key + " = "), std::string::npos) << t.what << ": " << key;
  }
  // Every other key of the entry keeps its line: a value typed into one
  // cell never lands in a neighbour's key.
  std::set<std::string> edited(t.absent.begin(), t.absent.end());
  for (const std::string& line : t.lines) edited.insert(line.substr(0, line.find(" = ")));
  const std::string id = t.table == Table::Outline ? "" : RowName(before, t.table, t.row);
  const std::string old = EntryBlock(before, t.header, id);
  ASSERT_FALSE(old.empty()) << t.what;
  for (const auto& [from, to] : {std::pair{&old, &block}, std::pair{&block, &old}}) {
    for (const auto& [key, line] : KeyedLines(*from)) {
      if (edited.count(key) == 0) {
        EXPECT_NE(to->find(line + "\n"), std::string::npos)
            << t.what << ": " << line << " changed\nbefore:\n"
            << old << "after:\n"
            << block;
      }
    }
  }
}

// Every editable column of every table has a case above.
TEST(TypedTextTest, EveryEditableColumnHasACase) {
  for (const Table table : {Table::Transmitters, Table::Feedlines, Table::Antennas,
                            Table::Installations, Table::Places, Table::Outline}) {
    for (std::size_t column = 0; column < Columns(table).size(); ++column) {
      const bool covered =
          std::any_of(TypedCases().begin(), TypedCases().end(),
                      [&](const Typed& t) { return t.table == table && t.column == column; });
      EXPECT_TRUE(covered) << TableTitle(table) << ": " << Columns(table)[column].header;
    }
  }
}

// One case or more for every editable column of every table (a test below
// checks that none is left out).
const std::vector<Typed>& TypedCases() {
  static const std::vector<Typed> cases{
      Typed{"kilowatts",
            Table::Transmitters,
            0,
            1,
            "1.5 kW",
            "[[transmitter]]",
            "ft-991",
            {"power-w = 1500"},
            {}},
      Typed{"a bare power",
            Table::Transmitters,
            0,
            1,
            " 400 ",
            "[[transmitter]]",
            "ft-991",
            {"power-w = 400"},
            {}},
      Typed{"a duty in percent replaces the mode",
            Table::Transmitters,
            0,
            2,
            "40 %",
            "[[transmitter]]",
            "ft-991",
            {"duty = 0.4"},
            {"mode"}},
      Typed{"a mode by its label replaces the duty",
            Table::Transmitters,
            1,
            2,
            "Conversational CW, 40 %",
            "[[transmitter]]",
            "amplifier",
            {"mode = \"cw\""},
            {"duty"}},
      Typed{"a mode by its word in capitals",
            Table::Transmitters,
            1,
            2,
            "FM",
            "[[transmitter]]",
            "amplifier",
            {"mode = \"fm\""},
            {"duty"}},
      Typed{"a cycle in seconds",
            Table::Transmitters,
            0,
            3,
            "15 s / 15 s",
            "[[transmitter]]",
            "ft-991",
            {"on-minutes = 0.25", "off-minutes = 0.25"},
            {}},
      Typed{"a cycle with words",
            Table::Transmitters,
            0,
            3,
            "3 on / 7 off",
            "[[transmitter]]",
            "ft-991",
            {"on-minutes = 3", "off-minutes = 7"},
            {}},
      Typed{"no cycle",
            Table::Transmitters,
            0,
            3,
            "",
            "[[transmitter]]",
            "ft-991",
            {},
            {"on-minutes", "off-minutes"}},
      Typed{"a measured loss replaces the cable and its length",
            Table::Feedlines,
            0,
            1,
            "1.2 dB",
            "[[feedline]]",
            "shack-to-tower",
            {"loss-db = 1.2"},
            {"cable", "length-m"}},
      Typed{"another cable keeps the length",
            Table::Feedlines,
            0,
            1,
            "rg-213",
            "[[feedline]]",
            "shack-to-tower",
            {"cable = \"RG-213\"", "length-m = 30"},
            {}},
      Typed{"a length in feet",
            Table::Feedlines,
            0,
            2,
            "100 ft",
            "[[feedline]]",
            "shack-to-tower",
            {"length-ft = 100"},
            {"length-m"}},
      Typed{"an SWR as a ratio",
            Table::Feedlines,
            0,
            4,
            "2.5:1",
            "[[feedline]]",
            "shack-to-tower",
            {"swr = 2.5"},
            {}},
      Typed{"no extra loss",
            Table::Feedlines,
            0,
            3,
            "",
            "[[feedline]]",
            "shack-to-tower",
            {},
            {"extra-loss-db"}},
      Typed{"where the SWR was measured, by its label",
            Table::Feedlines,
            0,
            5,
            "at the transmitter",
            "[[feedline]]",
            "shack-to-tower",
            {"swr-at = \"transmitter\""},
            {}},
      Typed{"a bare number keeps the length's feet",
            Table::Antennas,
            1,
            6,
            "45",
            "[[antenna]]",
            "80m-dipole",
            {"height-ft = 45"},
            {"height-m"}},
      Typed{"a length switched to metres",
            Table::Antennas,
            1,
            6,
            "14 m",
            "[[antenna]]",
            "80m-dipole",
            {"height-m = 14"},
            {"height-ft"}},
      Typed{"a length in feet with an apostrophe",
            Table::Antennas,
            0,
            4,
            "-12'",
            "[[antenna]]",
            "tribander",
            {"x-ft = -12"},
            {"x-m"}},
      Typed{"a bare gain keeps dBd",
            Table::Antennas,
            3,
            2,
            "4.5",
            "[[antenna]]",
            "collinear",
            {"gain-dbd = 4.5"},
            {"gain-dbi"}},
      Typed{"a gain in dBi",
            Table::Antennas,
            3,
            2,
            "6 dBi",
            "[[antenna]]",
            "collinear",
            {"gain-dbi = 6"},
            {"gain-dbd"}},
      Typed{"a kind with its own gain drops the gain",
            Table::Antennas,
            0,
            1,
            "dipole",
            "[[antenna]]",
            "tribander",
            {"kind = \"dipole\""},
            {"gain-dbi"}},
      Typed{"a dish's efficiency in percent",
            Table::Antennas,
            4,
            8,
            "60 %",
            "[[antenna]]",
            "dish",
            {"efficiency = 0.6"},
            {}},
      Typed{"a frequency in kHz inside the band",
            Table::Installations,
            0,
            5,
            "14250 kHz",
            "[[installation]]",
            "20m-beam",
            {"band = \"20m\"", "frequency-mhz = 14.25"},
            {}},
      Typed{"a band by its name in capitals",
            Table::Installations,
            3,
            4,
            "40M",
            "[[installation]]",
            "40m-vertical",
            {"band = \"40m\"", "frequency-mhz = 7.074"},
            {}},
      Typed{"no feed line",
            Table::Installations,
            0,
            2,
            "none",
            "[[installation]]",
            "20m-beam",
            {},
            {"feedline"}},
      Typed{"ground reflection off",
            Table::Installations,
            0,
            6,
            "off",
            "[[installation]]",
            "20m-beam",
            {"ground-reflection = false"},
            {}},
      Typed{"ground reflection as the station says",
            Table::Installations,
            2,
            6,
            "",
            "[[installation]]",
            "80m",
            {},
            {"ground-reflection"}},
      Typed{"the default group",
            Table::Installations,
            0,
            7,
            "",
            "[[installation]]",
            "20m-beam",
            {},
            {"group"}},
      Typed{"a household place",
            Table::Places,
            0,
            4,
            "household",
            "[[place]]",
            "Neighbour's garden",
            {"controlled = true"},
            {}},
      Typed{"a corner in the outline's unit",
            Table::Outline,
            1,
            0,
            "22.5",
            "[property]",
            "",
            {"outline-m = [[-10, -10], [22.5, -10], [20, 25], [-10, 25]]"},
            {}},
      Typed{"a corner typed in feet is kept in metres",
            Table::Outline,
            0,
            1,
            "-50 ft",
            "[property]",
            "",
            {"outline-m = [[-10, -15.24], [20, -10], [20, 25], [-10, 25]]"},
            {}},
      // Every other editable column, each with its neighbours kept.
      Typed{"a transmitter renamed",
            Table::Transmitters,
            2,
            0,
            "ft8",
            "[[transmitter]]",
            "ft8",
            {"id = \"ft8\""},
            {}},
      Typed{"a feed line renamed",
            Table::Feedlines,
            4,
            0,
            "bench",
            "[[feedline]]",
            "bench",
            {"id = \"bench\""},
            {}},
      Typed{"an antenna renamed",
            Table::Antennas,
            0,
            0,
            "beam",
            "[[antenna]]",
            "beam",
            {"id = \"beam\""},
            {}},
      Typed{"a gain said to include the ground",
            Table::Antennas,
            3,
            3,
            "yes",
            "[[antenna]]",
            "collinear",
            {"gain-includes-ground = true"},
            {}},
      Typed{"an antenna's north",
            Table::Antennas,
            0,
            5,
            "3 m",
            "[[antenna]]",
            "tribander",
            {"y-m = 3"},
            {}},
      Typed{"a dish's diameter",
            Table::Antennas,
            4,
            7,
            "2.4",
            "[[antenna]]",
            "dish",
            {"diameter-m = 2.4"},
            {}},
      Typed{"an installation renamed",
            Table::Installations,
            0,
            0,
            "20m-yagi",
            "[[installation]]",
            "20m-yagi",
            {"id = \"20m-yagi\""},
            {}},
      Typed{"a transmitter by the start of its id",
            Table::Installations,
            0,
            1,
            "amp",
            "[[installation]]",
            "20m-beam",
            {"transmitter = \"amplifier\""},
            {}},
      Typed{"another antenna",
            Table::Installations,
            6,
            3,
            "dish",
            "[[installation]]",
            "70cm-eme",
            {"antenna = \"dish\""},
            {}},
      Typed{"a group typed",
            Table::Installations,
            3,
            7,
            "hf",
            "[[installation]]",
            "40m-vertical",
            {"group = \"hf\""},
            {}},
      Typed{"a place renamed",
            Table::Places,
            2,
            0,
            "Street",
            "[[place]]",
            "Street",
            {"name = \"Street\""},
            {}},
      Typed{"a place's east",
            Table::Places,
            0,
            1,
            "15",
            "[[place]]",
            "Neighbour's garden",
            {"x-m = 15"},
            {}},
      Typed{"a place's north",
            Table::Places,
            0,
            2,
            "-4 m",
            "[[place]]",
            "Neighbour's garden",
            {"y-m = -4"},
            {}},
      Typed{"a place's height in its feet",
            Table::Places,
            1,
            3,
            "7",
            "[[place]]",
            "Back deck",
            {"height-ft = 7"},
            {}}};
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Cells, TypedTextTest, ::testing::ValuesIn(TypedCases()),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

// ---- Refused with the file's own message --------------------------------

// The file's messages for a station: the station written and read back, the
// places in the file left out (the window names entries by their ids).
std::vector<std::string> FileMessages(const Station& s) {
  const st::ReadResult r = st::ParseStation(st::WriteStation(s), "");
  std::vector<std::string> out;
  for (st::Diagnostic d : r.errors) {
    d.at = {};
    d.file.clear();
    out.push_back(st::FormatDiagnostic(d));
  }
  return out;
}

struct Refused {
  const char* what;
  std::function<Outcome(const Station&)> edit;
  std::function<void(Station&)> sameInTheFile;  // the station the file would hold instead
};

class RefusedEditTest : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedEditTest, WithTheFilesMessage) {
  const Refused& r = GetParam();
  const Station before = Example();
  const Outcome o = r.edit(before);
  EXPECT_FALSE(o.edit.has_value()) << r.what;
  ASSERT_TRUE(o.Refused()) << r.what;
  Station file = before;
  r.sameInTheFile(file);
  std::string expected;
  for (const std::string& m : FileMessages(file)) expected += (expected.empty() ? "" : "\n") + m;
  ASSERT_FALSE(expected.empty()) << r.what << ": the file takes it";
  EXPECT_EQ(o.refusal, expected) << r.what;
}

INSTANTIATE_TEST_SUITE_P(
    Edits, RefusedEditTest,
    ::testing::Values(
        Refused{"a power below 0",
                [](const Station& s) { return EditCell(s, Table::Transmitters, 0, 1, "-5 W"); },
                [](Station& s) { s.transmitters[0].powerW = -5; }},
        Refused{"a duty above 1",
                [](const Station& s) { return EditCell(s, Table::Transmitters, 1, 2, "1.5"); },
                [](Station& s) { s.transmitters[1].duty = 1.5L; }},
        Refused{"a mode the table lacks",
                [](const Station& s) { return EditCell(s, Table::Transmitters, 0, 2, "sbb"); },
                [](Station& s) { s.transmitters[0].mode = "sbb"; }},
        Refused{"a negative off time",
                [](const Station& s) { return EditCell(s, Table::Transmitters, 0, 3, "5 / -1"); },
                [](Station& s) { s.transmitters[0].offMinutes = -1; }},
        Refused{"an unknown kind",
                [](const Station& s) { return EditCell(s, Table::Antennas, 0, 1, "yagii"); },
                [](Station& s) { s.antennas[0].kind = "yagii"; }},
        Refused{"a gain on a dipole",
                [](const Station& s) { return EditCell(s, Table::Antennas, 1, 2, "5 dBi"); },
                [](Station& s) {
                  s.antennas[1].gain = st::Gain{5, false};
                }},
        Refused{"a height below the ground",
                [](const Station& s) { return EditCell(s, Table::Antennas, 0, 6, "-1 m"); },
                [](Station& s) { s.antennas[0].height = st::Length::InMetres(-1); }},
        Refused{"an efficiency of 0",
                [](const Station& s) { return EditCell(s, Table::Antennas, 4, 8, "0"); },
                [](Station& s) { s.antennas[4].efficiency = 0; }},
        Refused{"a frequency outside the band",
                [](const Station& s) { return EditCell(s, Table::Installations, 0, 5, "21.2"); },
                [](Station& s) { s.installations[0].frequencyMHz = 21.2L; }},
        Refused{"a transmitter that does not exist",
                [](const Station& s) { return EditCell(s, Table::Installations, 0, 1, "ft-991x"); },
                [](Station& s) { s.installations[0].transmitter = "ft-991x"; }},
        Refused{"a length on a measured line",
                [](const Station& s) { return EditCell(s, Table::Feedlines, 4, 2, "10 m"); },
                [](Station& s) { s.feedlines[4].length = st::Length::InMetres(10); }},
        Refused{"a cable the table lacks",
                [](const Station& s) { return EditCell(s, Table::Feedlines, 0, 1, "LMR-4000"); },
                [](Station& s) { s.feedlines[0].cable = "LMR-4000"; }},
        Refused{"a transmitter still in use",
                [](const Station& s) { return RemoveRows(s, Table::Transmitters, {0}); },
                [](Station& s) { s.transmitters.erase(s.transmitters.begin()); }},
        Refused{"an outline of two corners",
                [](const Station& s) {
                  return RemoveRows(s, Table::Outline, {0, 1});
                },
                [](Station& s) {
                  auto& o = s.property->outline;
                  o.erase(o.begin(), o.begin() + 2);
                }},
        Refused{"no limit set",
                [](const Station& s) {
                  Heading h = HeadingOf(s);
                  h.limitSets.clear();
                  return EditHeading(s, h);
                },
                [](Station& s) { s.limitSets.clear(); }},
        Refused{"a region without the band of an installation",
                [](const Station& s) {
                  Heading h = HeadingOf(s);
                  h.region = 1;
                  return EditHeading(Applied(s, EditCell(s, Table::Installations, 4, 4, "1.25m")),
                                     h);
                },
                [](Station& s) {
                  s.installations[4].band = "1.25m";
                  s.region = 1;
                }}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(StationEditTest, TextThatIsNoValueNamesTheKeyAndWhatWasExpected) {
  const Station s = Example();
  const struct {
    Table table;
    std::size_t row, column;
    const char* text;
    const char* refusal;
  } cases[] = {
      {Table::Transmitters, 0, 1, "lots",
       "[[transmitter]] \"ft-991\" power-w: expected a power in W, 0 or more and at most "
       "10000000 (10 MW), found \"lots\""},
      {Table::Transmitters, 0, 1, "100 dB",
       "[[transmitter]] \"ft-991\" power-w: expected a power in W, 0 or more and at most "
       "10000000 (10 MW), found \"100 dB\""},
      {Table::Transmitters, 0, 3, "5",
       "[[transmitter]] \"ft-991\" on-minutes: give on-minutes and off-minutes together, or "
       "neither"},
      {Table::Antennas, 1, 6, "12 yards",
       "[[antenna]] \"80m-dipole\" height-ft: expected a height in feet from 0 to 32808, found "
       "\"12 "
       "yards\""},
      {Table::Installations, 0, 5, "inf",
       "[[installation]] \"20m-beam\" frequency-mhz: expected a frequency in MHz above 0, found "
       "\"inf\""},
      {Table::Places, 0, 4, "maybe",
       "[[place]] \"Neighbour's garden\" controlled: expected true or false, found \"maybe\""},
  };
  for (const auto& c : cases) {
    const Outcome o = EditCell(s, c.table, c.row, c.column, c.text);
    EXPECT_FALSE(o.edit.has_value()) << c.text;
    EXPECT_EQ(o.refusal, c.refusal) << c.text;
  }
}

TEST(StationEditTest, AnIdUsedAlreadyIsRefused) {
  const Station s = Example();
  const Outcome o = EditCell(s, Table::Transmitters, 1, 0, "ft-991");
  EXPECT_EQ(o.refusal, "[[transmitter]] \"ft-991\" id: \"ft-991\" is used already");
}

TEST(StationEditTest, AFixInAStationWithProblemsIsTakenAndAnotherProblemIsNot) {
  Station s = Example();
  s.transmitters[0].powerW = -1;  // a problem the station has already
  EXPECT_TRUE(EditCell(s, Table::Transmitters, 1, 1, "500").edit.has_value());
  EXPECT_TRUE(EditCell(s, Table::Transmitters, 0, 1, "50").edit.has_value());
  EXPECT_TRUE(EditCell(s, Table::Transmitters, 0, 0, "rig").edit.has_value())
      << "a rename keeps the entry's old problem an old one";
  EXPECT_TRUE(EditCell(s, Table::Transmitters, 0, 1, "-2").Refused());
}

// ---- A cell that must come with another ---------------------------------

TEST(StationEditTest, AKindThatNeedsAnotherCellNamesIt) {
  const Station s = Example();
  // A dipole becomes a yagi: its gain is needed, the dipole's is proposed.
  Outcome o = EditCell(s, Table::Antennas, 1, 1, "yagi");
  EXPECT_FALSE(o.edit.has_value());
  ASSERT_TRUE(o.needs.has_value()) << o.refusal;
  EXPECT_EQ(*o.needs, 2u);
  EXPECT_EQ(o.suggestion, "2.15 dBi");
  o = EditCells(s, Table::Antennas, 1, {{1, "yagi"}, {2, o.suggestion}});
  EXPECT_NE(EntryBlock(Applied(s, o), "[[antenna]]", "80m-dipole").find("gain-dbi = 2.15\n"),
            std::string::npos);
  // A yagi becomes a dish: its diameter is needed; the gain goes.
  o = EditCell(s, Table::Antennas, 0, 1, "dish");
  ASSERT_TRUE(o.needs.has_value()) << o.refusal;
  EXPECT_EQ(*o.needs, 7u);
  o = EditCells(s, Table::Antennas, 0, {{1, "dish"}, {7, "2.4 m"}});
  const std::string block = EntryBlock(Applied(s, o), "[[antenna]]", "tribander");
  EXPECT_NE(block.find("diameter-m = 2.4\n"), std::string::npos) << block;
  EXPECT_EQ(block.find("gain-dbi"), std::string::npos) << block;
  // A measured line becomes a cable: its length is needed.
  o = EditCell(s, Table::Feedlines, 4, 1, "LMR-400");
  ASSERT_TRUE(o.needs.has_value()) << o.refusal;
  EXPECT_EQ(*o.needs, 2u);
  // An installation's band cleared: its frequency must come instead.
  o = EditCell(s, Table::Installations, 0, 4, "");
  ASSERT_TRUE(o.needs.has_value()) << o.refusal;
  EXPECT_EQ(*o.needs, 5u);
  o = EditCells(s, Table::Installations, 0, {{4, ""}, {5, "14.1"}});
  EXPECT_TRUE(o.edit.has_value()) << o.refusal;
  // A problem of the cell itself is no want of another.
  EXPECT_FALSE(EditCell(s, Table::Antennas, 1, 1, "yagii").needs.has_value());
}

// ---- Renames and undo ----------------------------------------------------

TEST(StationEditTest, RenamingAnIdRenamesItsReferences) {
  const Station s = Example();
  const struct {
    Table table;
    std::size_t row;
    const char* to;
    std::vector<std::string> installations;  // that now name it
  } cases[] = {
      {Table::Transmitters, 0, "ic-7300", {"20m-beam", "80m"}},
      {Table::Feedlines, 0, "hardline", {"20m-beam", "15m-beam-amp"}},
      {Table::Antennas, 5, "large-dish", {"70cm-eme"}},
  };
  for (const auto& c : cases) {
    const Outcome o = EditCell(s, c.table, c.row, 0, c.to);
    ASSERT_TRUE(o.edit.has_value()) << c.to << ": " << o.refusal;
    const Station after = Applied(s, o);
    std::vector<std::string> naming;
    for (const auto& n : after.installations) {
      if (n.transmitter == c.to || n.feedline == c.to || n.antenna == c.to) naming.push_back(n.id);
    }
    EXPECT_EQ(naming, c.installations) << c.to;
    EXPECT_TRUE(st::Validate(after, "").empty()) << c.to;
    EXPECT_EQ(o.edit->steps.size(), 1 + c.installations.size()) << c.to;
  }
}

struct Undoable {
  const char* what;
  std::function<Outcome(const Station&)> edit;
};

class UndoTest : public ::testing::TestWithParam<Undoable> {};

TEST_P(UndoTest, RestoresTheExactStationAndRedoTheEdit) {
  const Station before = Example();
  const Outcome o = GetParam().edit(before);
  ASSERT_TRUE(o.edit.has_value()) << GetParam().what << ": " << o.refusal;
  Station s = before;
  const std::vector<Step> undo = ApplyAll(s, o.edit->steps);
  const Station after = s;
  EXPECT_FALSE(st::SameContent(after, before)) << GetParam().what;
  const std::vector<Step> redo = ApplyAll(s, undo);
  EXPECT_TRUE(st::SameContent(s, before)) << GetParam().what;
  EXPECT_EQ(st::WriteStation(s), st::WriteStation(before)) << GetParam().what;
  ApplyAll(s, redo);
  EXPECT_EQ(st::WriteStation(s), st::WriteStation(after)) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Edits, UndoTest,
    ::testing::Values(
        Undoable{"a cell", [](const Station& s) { return EditCell(s, Table::Places, 2, 1, "3"); }},
        Undoable{"a rename with references",
                 [](const Station& s) { return EditCell(s, Table::Transmitters, 0, 0, "rig"); }},
        Undoable{"two cells at once",
                 [](const Station& s) {
                   return EditCells(s, Table::Antennas, 1, {{1, "dish"}, {7, "3 ft"}});
                 }},
        Undoable{"a row added at the end",
                 [](const Station& s) {
                   return AddRow(s, Table::Places, std::nullopt, st::LengthUnit::Metres);
                 }},
        Undoable{"a row added in the middle",
                 [](const Station& s) {
                   return AddRow(s, Table::Installations, 1, st::LengthUnit::Feet);
                 }},
        Undoable{"rows removed",
                 [](const Station& s) {
                   return RemoveRows(s, Table::Installations, {4, 1, 6});
                 }},
        Undoable{"a row duplicated",
                 [](const Station& s) { return DuplicateRow(s, Table::Antennas, 3); }},
        Undoable{"a row moved up",
                 [](const Station& s) { return MoveRow(s, Table::Feedlines, 3, true); }},
        Undoable{"a row moved down",
                 [](const Station& s) { return MoveRow(s, Table::Transmitters, 0, false); }},
        Undoable{
            "a corner added",
            [](const Station& s) { return AddRow(s, Table::Outline, 2, st::LengthUnit::Metres); }},
        Undoable{"the heading",
                 [](const Station& s) {
                   Heading h = HeadingOf(s);
                   h.callsign = "VK9ZZU";
                   h.groundReflection.reset();
                   h.limitSets = {st::LimitSetChoice::Icnirp2020};
                   return EditHeading(s, h);
                 }},
        Undoable{"a country chosen: its region and limit sets with it",
                 [](const Station& s) {
                   return EditHeading(s, WithCountry(HeadingOf(s), std::string("CA")));
                 }},
        Undoable{
            "the property line removed",
            [](const Station& s) { return SetPropertyLine(s, false, st::LengthUnit::Metres); }},
        Undoable{"the outline in feet",
                 [](const Station& s) { return SetOutlineUnit(s, st::LengthUnit::Feet); }},
        Undoable{"the line's height",
                 [](const Station& s) { return SetPropertyHeight(s, "1.5 m"); }}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(StationEditTest, RowsKeepTheirIdsUniqueAndTheirPlaces) {
  const Station s = Example();
  Station t = Applied(s, DuplicateRow(s, Table::Transmitters, 0));
  EXPECT_EQ(t.transmitters[1].id, "ft-991-2");
  t = Applied(t, DuplicateRow(t, Table::Transmitters, 0));
  EXPECT_EQ(t.transmitters[1].id, "ft-991-3");
  EXPECT_EQ(t.transmitters.size(), s.transmitters.size() + 2);
  // Moving the first feed line down and up again leaves the order as it was.
  t = Applied(s, MoveRow(s, Table::Feedlines, 0, false));
  EXPECT_EQ(t.feedlines[1].id, "shack-to-tower");
  t = Applied(t, MoveRow(t, Table::Feedlines, 1, true));
  EXPECT_TRUE(st::SameContent(t, s));
  // Nothing to move past either end.
  EXPECT_FALSE(MoveRow(s, Table::Feedlines, 0, true).edit.has_value());
  EXPECT_FALSE(MoveRow(s, Table::Feedlines, 4, false).edit.has_value());
  // A new corner lies half-way to the next one; the outline turns at it.
  t = Applied(s, AddRow(s, Table::Outline, 3, st::LengthUnit::Metres));
  ASSERT_EQ(t.property->outline.size(), 5u);
  EXPECT_EQ(t.property->outline[4].x, -10);
  EXPECT_EQ(t.property->outline[4].y, 7.5L);
  // A value typed as it stands changes nothing and makes no edit.
  const Outcome same = EditCell(s, Table::Transmitters, 0, 1, "100 W");
  EXPECT_FALSE(same.edit.has_value());
  EXPECT_FALSE(same.Refused());
}

TEST(StationEditTest, AnInstallationNeedsATransmitterAndAnAntennaFirst) {
  const Station empty;
  const Outcome o = AddRow(empty, Table::Installations, std::nullopt, st::LengthUnit::Metres);
  EXPECT_FALSE(o.edit.has_value());
  EXPECT_NE(o.refusal.find("transmitter: missing: expected the id of a [[transmitter]]"),
            std::string::npos)
      << o.refusal;
}

// ---- Another station added --------------------------------------------------

TEST(StationEditTest, AStationAddedKeepsItsReferencesUnderNewIds) {
  const Station s = Example();
  const Outcome o = AddStation(s, s, "Add a copy");
  ASSERT_TRUE(o.edit.has_value()) << o.refusal;
  const Station both = Applied(s, o);
  EXPECT_TRUE(st::Validate(both, "").empty()) << st::FormatDiagnostics(st::Validate(both, ""));
  ASSERT_EQ(both.installations.size(), 2 * s.installations.size());
  EXPECT_EQ(both.places.size(), 2 * s.places.size());
  EXPECT_FALSE(both.property->outline.empty());
  // Each copy names the copies of what its original names.
  for (std::size_t i = 0; i < s.installations.size(); ++i) {
    const st::Installation& original = s.installations[i];
    const st::Installation& copy = both.installations[s.installations.size() + i];
    EXPECT_EQ(copy.id, original.id + "-2");
    EXPECT_EQ(copy.transmitter, original.transmitter + "-2");
    EXPECT_EQ(copy.antenna, original.antenna + "-2");
    EXPECT_EQ(copy.feedline.has_value(), original.feedline.has_value());
    if (copy.feedline) {
      EXPECT_EQ(*copy.feedline, *original.feedline + "-2");
    }
  }
  EXPECT_EQ(both.places.back().name, "Footpath-2");
  // One edit: undone at once.
  Station again = s;
  const std::vector<Step> undo = ApplyAll(again, o.edit->steps);
  ApplyAll(again, undo);
  EXPECT_EQ(st::WriteStation(again), st::WriteStation(s));
}

TEST(StationEditTest, AStationWhoseBandTheRegionLacksIsRefused) {
  Station into = Example();
  into.region = 1;
  Station from;
  from.transmitters.push_back(Example().transmitters[0]);
  from.antennas.push_back(Example().antennas[0]);
  st::Installation n;
  n.id = "1.25m";
  n.transmitter = from.transmitters[0].id;
  n.antenna = from.antennas[0].id;
  n.band = "1.25m";
  from.installations.push_back(n);
  const Outcome o = AddStation(into, from, "Add");
  EXPECT_FALSE(o.edit.has_value());
  EXPECT_NE(o.refusal.find("the 1.25m band does not exist in ITU region 1"), std::string::npos)
      << o.refusal;
}

// ---- A whole station by typing -------------------------------------------

TEST(StationEditTest, TheWorkedStationBuiltByTyping) {
  Station s;
  auto type = [&s](Table table, std::size_t row, const std::vector<TypedCell>& cells) {
    const Outcome o = EditCells(s, table, row, cells);
    ASSERT_TRUE(o.edit.has_value()) << o.refusal;
    ApplyAll(s, o.edit->steps);
  };
  auto add = [&s](Table table) {
    const Outcome o = AddRow(s, table, std::nullopt, st::LengthUnit::Metres);
    ASSERT_TRUE(o.edit.has_value()) << o.refusal;
    ApplyAll(s, o.edit->steps);
  };
  Heading h = HeadingOf(s);
  h.groundReflection = true;
  ApplyAll(s, EditHeading(s, h).edit.value().steps);
  add(Table::Transmitters);
  add(Table::Transmitters);
  type(Table::Transmitters, 0, {{0, "2m-rig"}, {1, "200"}, {2, "FM"}, {3, "3 / 7"}});
  type(Table::Transmitters, 1, {{0, "hf-rig"}, {1, "1 kW"}, {2, "ssb"}});
  add(Table::Antennas);
  add(Table::Antennas);
  type(Table::Antennas, 0, {{0, "2m-yagi"}, {1, "yagi"}, {2, "13 dBi"}, {6, "10 m"}});
  type(Table::Antennas, 1, {{0, "20m-beam"}, {1, "yagi"}, {2, "8"}, {6, "18"}});
  add(Table::Installations);
  add(Table::Installations);
  type(Table::Installations, 0, {{0, "2m"}, {1, "2m-rig"}, {3, "2m-yagi"}, {4, ""}, {5, "144.2"}});
  type(Table::Installations, 1,
       {{0, "20m"}, {1, "hf-rig"}, {3, "20m-beam"}, {4, ""}, {5, "14.2 MHz"}});
  add(Table::Places);
  type(Table::Places, 0, {{0, "Neighbour's garden"}, {1, "8 m"}});

  const st::ReadResult f =
      st::ReadStationFile(std::string(KORRIN_TEST_DATA_DIR) + "/station/worked-f.station.toml");
  ASSERT_TRUE(f.station.has_value()) << st::FormatDiagnostics(f.errors);
  EXPECT_TRUE(st::SameContent(s, *f.station)) << st::WriteStation(s);
}

// ---- Numbers typed --------------------------------------------------------

TEST(StationEditTest, AmountsTyped) {
  const struct {
    const char* text;
    bool number;
    Real value;
    const char* unit;
  } cases[] = {
      {"1.5 kW", true, 1.5L, "kw"}, {"12'", true, 12, "'"},    {" +3 ", true, 3, ""},
      {"1e3 W", true, 1000, "w"},   {"-0.5", true, -0.5L, ""}, {"40%", true, 40, "%"},
      {"inf", false, 0, ""},        {"nan", false, 0, ""},     {"abc", false, 0, ""},
      {"3 4", false, 0, ""},        {"", false, 0, ""},        {"12 m/s", false, 0, ""},
  };
  for (const auto& c : cases) {
    const auto a = ParseAmount(c.text);
    EXPECT_EQ(a.has_value(), c.number) << c.text;
    if (a && c.number) {
      EXPECT_EQ(a->value, c.value) << c.text;
      EXPECT_EQ(a->unit, c.unit) << c.text;
    }
  }
}

}  // namespace
}  // namespace korrin::stationui
