// A word typed into a cell that names a row of a data table (a mode, a
// cable, an antenna kind, a band, an installation's parts) names the row
// whose word, name or label it is, in any case; failing that, the one row
// whose word, name or label it begins; a word that begins several rows and
// is none of them is refused with them.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "station/StationFile.h"
#include "station/Tables.h"
#include "ui/station/CellEdit.h"
#include "ui/station/Columns.h"

namespace korrin::stationui {
namespace {

st::Station Example() {
  const st::ReadResult r =
      st::ReadStationFile(std::string(KORRIN_SOURCE_DIR) + "/data/examples/example.station.toml");
  EXPECT_TRUE(r.errors.empty());
  return r.station.value_or(st::Station{});
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string LowerCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

constexpr std::size_t kAmplifier = 1;  // the example's transmitter with a duty, no mode
constexpr std::size_t kModeColumn = 2;

// Every mode by its id, its name and its label, as written, in capitals and
// in small letters: the transmitter takes that mode and drops its duty.
TEST(TypedChoiceTest, EveryModeByItsIdNameAndLabelInAnyCase) {
  const st::Station s = Example();
  ASSERT_FALSE(s.transmitters.at(kAmplifier).mode.has_value());
  for (const Choice& c : Choices(s, Table::Transmitters, kModeColumn)) {
    for (const std::string& form : {c.word, c.name, c.label}) {
      for (const std::string& typed : {form, Upper(form), LowerCase(form)}) {
        const Outcome o = EditCell(s, Table::Transmitters, kAmplifier, kModeColumn, typed);
        ASSERT_TRUE(o.edit.has_value()) << typed << ": " << o.refusal;
        st::Station after = s;
        ApplyAll(after, o.edit->steps);
        const st::Transmitter& t = after.transmitters.at(kAmplifier);
        EXPECT_EQ(t.mode.value_or("(none)"), c.word) << "typed \"" << typed << "\"";
        EXPECT_FALSE(t.duty.has_value()) << typed;
      }
    }
  }
  EXPECT_EQ(Choices(s, Table::Transmitters, kModeColumn).size(), st::Modes().size());
}

// The words of every picker the tables have, each typed as its word, name
// and label: each names its own choice, never another that it begins.
TEST(TypedChoiceTest, EveryChoiceOfEveryTableNamesItself) {
  const st::Station s = Example();
  std::size_t seen = 0;
  for (const Table table : {Table::Transmitters, Table::Feedlines, Table::Antennas,
                            Table::Installations, Table::Places}) {
    for (std::size_t column = 0; column < Columns(table).size(); ++column) {
      const std::vector<Choice> choices = Choices(s, table, column);
      for (const Choice& c : choices) {
        for (const std::string& form : {c.word, c.name, c.label}) {
          if (form.empty() && !c.word.empty()) continue;
          const NamedChoice named = FindChoice(choices, Upper(form));
          ASSERT_NE(named.choice, nullptr) << Columns(table)[column].name << ": " << form;
          EXPECT_EQ(named.choice->word, c.word) << Columns(table)[column].name << ": " << form;
          ++seen;
        }
      }
    }
  }
  // Modes, cables, kinds, bands and the example's own ids were all seen.
  EXPECT_GT(seen, 3 * (st::Modes().size() + st::Cables().size() + st::AntennaKinds().size()));
}

struct Typed {
  const char* what;
  Table table;
  std::size_t column;
  const char* text;
  const char* word;                     // the choice named; empty with candidates
  std::vector<std::string> candidates;  // the words listed when ambiguous
};

class TypedChoiceCaseTest : public ::testing::TestWithParam<Typed> {};

TEST_P(TypedChoiceCaseTest, NamesTheRowOrListsTheCandidates) {
  const Typed& t = GetParam();
  const st::Station s = Example();
  const std::vector<Choice> choices = Choices(s, t.table, t.column);
  const NamedChoice named = FindChoice(choices, t.text);
  if (t.candidates.empty()) {
    ASSERT_NE(named.choice, nullptr) << t.what;
    EXPECT_EQ(named.choice->word, t.word) << t.what;
    EXPECT_TRUE(named.candidates.empty()) << t.what;
    return;
  }
  EXPECT_EQ(named.choice, nullptr) << t.what << ": " << named.choice->word;
  std::vector<std::string> words;
  words.reserve(named.candidates.size());
  for (const Choice* c : named.candidates) words.push_back(c->word);
  EXPECT_EQ(words, t.candidates) << t.what;
}

INSTANTIATE_TEST_SUITE_P(
    Words, TypedChoiceCaseTest,
    ::testing::Values(
        Typed{"SSB is conversational SSB", Table::Transmitters, 2, "SSB", "ssb", {}},
        Typed{"the start of the processed mode's id",
              Table::Transmitters,
              2,
              "ssb-p",
              "ssb-processed",
              {}},
        Typed{"the start of the processed mode's name",
              Table::Transmitters,
              2,
              "SSB with",
              "ssb-processed",
              {}},
        Typed{"the start of a name in other letters",
              Table::Transmitters,
              2,
              "conversational c",
              "cw",
              {}},
        Typed{"two modes begin with ft", Table::Transmitters, 2, "ft", "", {"ft8", "ft4"}},
        Typed{"two modes begin with Conversational",
              Table::Transmitters,
              2,
              "Conversational",
              "",
              {"ssb", "cw"}},
        Typed{"an RG cable by the start of its id", Table::Feedlines, 1, "rg-2", "RG-213", {}},
        Typed{
            "three LMR cables", Table::Feedlines, 1, "lmr", "", {"LMR-240", "LMR-400", "LMR-600"}},
        Typed{"a kind by the start of its name", Table::Antennas, 1, "inverted", "inverted-v", {}},
        Typed{"a kind by its word", Table::Antennas, 1, "Dipole", "dipole", {}},
        Typed{"6m is not 6mm", Table::Installations, 4, "6m", "6m", {}},
        Typed{"2m is not 2mm", Table::Installations, 4, "2M", "2m", {}},
        Typed{"bands beginning 1.2", Table::Installations, 4, "1.2", "", {"1.25m", "1.2cm"}},
        Typed{"a transmitter by the start of its id",
              Table::Installations,
              1,
              "amp",
              "amplifier",
              {}},
        Typed{"a household place", Table::Places, 4, "house", "true", {}},
        Typed{"ground reflection: on or off", Table::Installations, 6, "o", "", {"true", "false"}},
        Typed{"nothing typed: the station's ground", Table::Installations, 6, "", "", {}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(TypedChoiceTest, AnAmbiguousWordIsRefusedWithTheCandidates) {
  const st::Station s = Example();
  const Outcome o = EditCell(s, Table::Transmitters, kAmplifier, kModeColumn, "ft");
  EXPECT_FALSE(o.edit.has_value());
  EXPECT_NE(o.refusal.find("mode"), std::string::npos) << o.refusal;
  EXPECT_NE(o.refusal.find("ft8 (FT8) or ft4 (FT4)"), std::string::npos) << o.refusal;
}

// A bare number in the cable column is a measured loss, though "1/2-foam"
// begins with it; the cable's own word is a cable.
TEST(TypedChoiceTest, ANumberInTheCableColumnIsALoss) {
  const st::Station s = Example();
  const Outcome o = EditCell(s, Table::Feedlines, 0, 1, "1");
  ASSERT_TRUE(o.edit.has_value()) << o.refusal;
  st::Station after = s;
  ApplyAll(after, o.edit->steps);
  EXPECT_FALSE(after.feedlines.at(0).cable.has_value());
  ASSERT_TRUE(after.feedlines.at(0).lossDb.has_value());
  EXPECT_EQ(*after.feedlines.at(0).lossDb, 1);
}

}  // namespace
}  // namespace korrin::stationui
