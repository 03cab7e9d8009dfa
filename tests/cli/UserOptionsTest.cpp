// The report's options in the user's words against the --do sequences they
// stand for, their refusals, and the planning of stepped values from
// stations off the steps' grid.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/report/ReportSession.h"
#include "app/report/UserOptions.h"

namespace korrin::report {
namespace {

using Args = std::vector<std::string>;

std::unique_ptr<ReportSession> RunArgs(const Args& args) {
  const ParseResult parsed = ParseArguments(args, false);
  EXPECT_EQ(parsed.status, ParseResult::Status::Run) << parsed.error;
  auto session = std::make_unique<ReportSession>(NumberLocale{".", ","});
  session->Run(parsed.options);
  return session;
}

// `n` times the same action after --do.
Args Repeat(const std::string& action, int n, Args before = {}) {
  for (int i = 0; i < n; ++i) {
    before.emplace_back("--do");
    before.push_back(action);
  }
  return before;
}

Args Do(std::initializer_list<const char*> actions) {
  Args out;
  for (const char* a : actions) {
    out.emplace_back("--do");
    out.emplace_back(a);
  }
  return out;
}

Args Join(Args a, const Args& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct SameAsCase {
  Args words;
  Args actions;
  const char* control;  // a display that must show `text` ("" for none)
  const char* text;
};

void PrintTo(const SameAsCase& c, std::ostream* os) {
  for (const std::string& a : c.words) *os << a << ' ';
}

class SameAsDoTest : public ::testing::TestWithParam<SameAsCase> {};

TEST_P(SameAsDoTest, GivesTheStationOfTheClicksItStandsFor) {
  const SameAsCase& c = GetParam();
  const auto words = RunArgs(c.words);
  const auto clicks = RunArgs(c.actions);
  const auto startUp = RunArgs({});
  ASSERT_TRUE(words->Refused().empty()) << words->Refused();
  EXPECT_TRUE(SameStation(words->Form().State(), clicks->Form().State()));
  for (const std::string& name : clicks->Form().Board().names()) {
    EXPECT_EQ(words->Form().Board().at(name).text, clicks->Form().Board().at(name).text) << name;
    EXPECT_EQ(words->Form().Board().at(name).visible, clicks->Form().Board().at(name).visible)
        << name;
  }
  // Every row changes the station, so that the comparison means something.
  EXPECT_FALSE(SameStation(words->Form().State(), startUp->Form().State()));
  if (*c.control) {
    EXPECT_EQ(words->Form().Board().at(c.control).text, c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, SameAsDoTest,
    ::testing::Values(
        // bands on either side, by caption or by the frequency they set
        SameAsCase{{"--band", "7.2"}, Do({"HF_SelectClick", "RadioGroup8=2"}), "", ""},
        SameAsCase{{"--band", "28.5"}, Do({"HF_SelectClick", "RadioGroup8=8"}), "", ""},
        SameAsCase{{"--band=29.7"}, Do({"HF_SelectClick", "RadioGroup8=8"}), "", ""},
        SameAsCase{{"--band", "1296"}, Do({"RadioGroup1=5"}), "Panel32", "1296 MHz"},
        SameAsCase{{"--band", "10GHz"}, Do({"RadioGroup1=9"}), "", ""},
        SameAsCase{{"--band", "10368"}, Do({"RadioGroup1=9"}), "", ""},
        // the GHz bands by the figure the band list shows them with
        SameAsCase{{"--band", "10"}, Do({"RadioGroup1=9"}), "", ""},
        SameAsCase{{"--band", "24"}, Do({"RadioGroup1=10"}), "", ""},
        SameAsCase{{"--band", "48"}, Do({"RadioGroup1=11"}), "", ""},
        SameAsCase{{"--band", "24 Ghz"}, Do({"RadioGroup1=10"}), "", ""},
        // a figure in MHz comes first
        SameAsCase{{"--band", "10.3"}, Do({"HF_SelectClick", "RadioGroup8=3"}), "", ""},
        SameAsCase{{"--band", "14.2", "--band", "144 MHz"},
                   Do({"HF_SelectClick", "RadioGroup8=4", "SHF_SelectClick", "RadioGroup1=1"}),
                   "Panel32",
                   "144 MHz"},
        // the four digit groups
        SameAsCase{{"--power", "100"},
                   Do({"RadioGroup4=0", "RadioGroup5=1", "RadioGroup6=0", "RadioGroup7=0"}),
                   "Panel16",
                   "100 Watts"},
        SameAsCase{{"--power=9999"},
                   Do({"RadioGroup4=9", "RadioGroup5=9", "RadioGroup6=9", "RadioGroup7=9"}),
                   "Panel16",
                   "9999 Watts"},
        SameAsCase{{"--power", "7"},
                   Do({"RadioGroup4=0", "RadioGroup5=0", "RadioGroup6=0", "RadioGroup7=7"}),
                   "Panel16",
                   "7.0 Watts"},
        // stepped values
        SameAsCase{{"--feed-loss", "2.5"}, Repeat("SpinButton3UpClick", 15), "Panel23", "2.5 dB"},
        SameAsCase{{"--feed-loss", "0"}, Repeat("SpinButton3DownClick", 10), "Panel23", "0.0 dB"},
        SameAsCase{{"--dish-diameter", "3"}, Repeat("SpinButton1DownClick", 65), "Panel4", "3.0 m"},
        SameAsCase{
            {"--dish-diameter", "12.5"}, Repeat("SpinButton1UpClick", 30), "Panel4", "12.5 m"},
        SameAsCase{{"--imperial", "--dish-diameter", "3"},
                   Join(Repeat("SpinButton1DownClick", 65, Do({"Button2Click", "Button2Click"})),
                        Do({"Button2Click"})),
                   "Button2",
                   "Imperial"},
        SameAsCase{{"--antenna", "yagi", "--yagis", "4"},
                   Do({"Panel46Click", "SpinButton8UpClick", "SpinButton8UpClick"}),
                   "Panel39",
                   "4"},
        SameAsCase{{"--antenna", "yagi", "--yagis", "256", "--yagis", "6"},
                   Repeat("SpinButton8UpClick", 3, Do({"Panel46Click"})),
                   "Panel39",
                   "6"},
        // radio items and selectors
        SameAsCase{{"--mode", "fm"}, Do({"RadioGroup2=2"}), "Panel30", "100 %"},
        SameAsCase{{"--mode", "Analog TV"}, Do({"RadioGroup2=7"}), "", ""},
        SameAsCase{{"--pattern", "conversational"}, Do({"RadioGroup3=0"}), "Panel50", "100.0 %"},
        SameAsCase{{"--pattern", "eme-2min"}, Do({"RadioGroup3=3"}), "", ""},
        SameAsCase{{"--antenna", "yagi"}, Do({"Panel46Click"}), "", ""},
        SameAsCase{{"--antenna", "yagi", "--antenna", "dish", "--dish-diameter", "5"},
                   Repeat("SpinButton1DownClick", 45, Do({"Panel46Click", "Panel45Click"})),
                   "Panel4",
                   "5.0 m"},
        SameAsCase{{"--band", "14.2", "--antenna", "vertical"},
                   Do({"HF_SelectClick", "RadioGroup8=4", "Panel68Click"}),
                   "",
                   ""},
        SameAsCase{
            {"--band", "21.2", "--antenna", "yagi", "--antenna", "beam"},
            Do({"HF_SelectClick", "RadioGroup8=6", "Panel46Click", "Panel85Click", "Panel69Click"}),
            "",
            ""},
        SameAsCase{{"--standard", "as2772"}, Do({"Panel75Click"}), "", ""},
        SameAsCase{{"--standard", "ARPANSA"}, Do({"Panel77Click"}), "", ""},
        SameAsCase{
            {"--ground-reflection", "--ground-reflection"}, Do({"GroundGainSelectClick"}), "", ""},
        SameAsCase{{"--imperial", "--imperial"}, Do({"Button2Click"}), "Button2", "Imperial"},
        // the tower: the top of the bar is 30 m
        SameAsCase{{"--band", "14.2", "--tower", "10"},
                   Do({"HF_SelectClick", "RadioGroup8=4", "TrackBar1=20"}),
                   "StaticText2",
                   "10.00 Metres"},
        // the README's example: the 20 m dipole at 100 W on a 10 m tower
        SameAsCase{{"--band", "14.2", "--antenna", "dipole", "--power", "100", "--tower", "10"},
                   Do({"HF_SelectClick", "RadioGroup8=4", "Panel67Click", "RadioGroup4=0",
                       "RadioGroup5=1", "RadioGroup6=0", "RadioGroup7=0", "TrackBar1=20"}),
                   "Panel16",
                   "100 Watts"},
        // the user's words come first, whatever their place among the --do
        SameAsCase{{"--do", "HF_SelectClick", "--band", "432"},
                   Do({"RadioGroup1=3", "HF_SelectClick"}),
                   "",
                   ""}));

struct RefusedCase {
  Args args;
  const char* named;  // what the message must say
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
  for (const std::string& a : c.args) *os << a << ' ';
}

class RefusedWordsTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedWordsTest, AreAUsageErrorThatSaysWhy) {
  const ParseResult r = ParseArguments(GetParam().args, false);
  ASSERT_EQ(r.status, ParseResult::Status::Error);
  EXPECT_NE(r.error.find(GetParam().named), std::string::npos) << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedWordsTest,
    ::testing::Values(
        RefusedCase{{"--power", "10000"}, "0 to 9999"}, RefusedCase{{"--power", "-1"}, "0 to 9999"},
        RefusedCase{{"--power", "100.5"}, "whole watts"},
        RefusedCase{{"--power", "1e3"}, "\"1e3\""}, RefusedCase{{"--power"}, "needs WATTS"},
        RefusedCase{{"--power="}, "needs WATTS"},
        RefusedCase{{"--feed-loss", "-0.1"}, "0.0 to 99.9 dB"},
        RefusedCase{{"--feed-loss", "100"}, "0.0 to 99.9 dB"},
        RefusedCase{{"--feed-loss", "1.25"}, "0.1 dB"},
        RefusedCase{{"--feed-loss", "nan"}, "\"nan\""}, RefusedCase{{"--band", "15"}, "14.2 MHz"},
        RefusedCase{{"--band", "15"}, "432 MHz"},
        RefusedCase{{"--band", "14.2kHz"}, "unknown band"},
        RefusedCase{{"--band", "10 MHz"}, "10 GHz"}, RefusedCase{{"--band", "24000 GHz"}, "24 Ghz"},
        RefusedCase{{"--mode", "psk31"}, "ssb, ssb-processed"},
        RefusedCase{{"--pattern", "eme"}, "eme-2.5min"},
        RefusedCase{{"--antenna", "horn"}, "dipole, vertical"},
        RefusedCase{{"--dish-diameter", "0"}, "0.1 to 99.9 m"},
        RefusedCase{{"--dish-diameter", "2.25"}, "0.1 m"},
        RefusedCase{{"--dish-diameter", "150"}, "0.1 to 99.9 m"},
        RefusedCase{{"--yagis", "3"}, "1, 2, 4, 6, 8, 12"}, RefusedCase{{"--yagis", "0"}, "256"},
        RefusedCase{{"--yagis", "512"}, "256"},
        RefusedCase{{"--standard", "icnirp"}, "as2772, arpansa or fcc"},
        RefusedCase{{"--tower", "31"}, "0 to 30"}, RefusedCase{{"--tower", "-1"}, "0 to 30"},
        RefusedCase{{"--tower", "2.5"}, "whole metres"},
        RefusedCase{{"--imperial=yes"}, "takes no value"},
        RefusedCase{{"--ground-reflection=1"}, "takes no value"}));

// A station in the user's words without --mode or --pattern keeps the
// start-up's CW and EME pattern; the assessment says so.
struct UnsaidCase {
  Args args;
  std::vector<const char*> said;  // in the warning; none: no warning
  std::vector<const char*> unsaid;
};

void PrintTo(const UnsaidCase& c, std::ostream* os) {
  for (const std::string& a : c.args) *os << a << ' ';
}

class ModeAndPatternTest : public ::testing::TestWithParam<UnsaidCase> {};

TEST_P(ModeAndPatternTest, AreNamedWhenNotGiven) {
  const ParseResult parsed = ParseArguments(GetParam().args, false);
  ASSERT_EQ(parsed.status, ParseResult::Status::Run) << parsed.error;
  const auto s = RunArgs(GetParam().args);
  const std::string w = ModeAndPatternNotGiven(parsed.options.actions, s->Form().State());
  EXPECT_EQ(w.empty(), GetParam().said.empty()) << w;
  for (const char* t : GetParam().said) EXPECT_NE(w.find(t), std::string::npos) << t << ": " << w;
  for (const char* t : GetParam().unsaid) EXPECT_EQ(w.find(t), std::string::npos) << t << ": " << w;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModeAndPatternTest,
    ::testing::Values(
        UnsaidCase{{"--band", "14.2", "--antenna", "dipole", "--power", "100"},
                   {"without --mode and --pattern", "CW (form factor 40.0 %; --mode sets it)",
                    "EME 2\u00bd minutes (58.3 % of each six minutes; --pattern sets it)"},
                   {}},
        UnsaidCase{{"--band", "14.2", "--mode", "ssb"},
                   {"without --pattern", "EME 2\u00bd minutes"},
                   {"--mode sets it", "CW"}},
        UnsaidCase{{"--power", "100", "--pattern", "conversational"},
                   {"without --mode", "CW (form factor 40.0 %"},
                   {"--pattern sets it"}},
        UnsaidCase{{"--imperial"}, {"without --mode and --pattern"}, {}},
        UnsaidCase{{"--band", "14.2", "--mode", "fm", "--pattern", "conversational"}, {}, {}},
        // clicks are the window's own way: no warning
        UnsaidCase{Do({"HF_SelectClick", "RadioGroup8=4"}), {}, {}}, UnsaidCase{{}, {}, {}}));

// Settings refused by the station as it stands when their turn comes: the
// report stops before it applies them.
struct StationRefusal {
  Args args;
  const char* named;
};

class StationRefusalTest : public ::testing::TestWithParam<StationRefusal> {};

TEST_P(StationRefusalTest, StopsTheRunAndSaysWhy) {
  const auto s = RunArgs(Join(GetParam().args, Do({"SpinButton3UpClick"})));
  EXPECT_NE(s->Refused().find(GetParam().named), std::string::npos) << s->Refused();
  // The --do after it was not applied.
  EXPECT_EQ(s->Form().Board().at("Panel23").text, "1.0 dB");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StationRefusalTest,
    ::testing::Values(
        StationRefusal{{"--antenna", "yagi", "--dish-diameter", "3"}, "--antenna dish"},
        StationRefusal{{"--yagis", "4"}, "--antenna yagi"},
        StationRefusal{{"--antenna", "dipole"}, "HF side"},
        StationRefusal{{"--tower", "10", "--band", "14.2"}, "tower bar"},
        StationRefusal{{"--band", "14.2", "--band", "432", "--antenna", "beam"}, "HF side"}));

// A station loaded from a file may hold values off the arrows' grid: the
// plan then steps down to the arrows' floor first, and still lands on the
// value asked for.
struct OffGridCase {
  const char* option;
  const char* value;
  long double StationState::*field;
  long double loaded;
  long double wanted;
};

class OffGridTest : public ::testing::TestWithParam<OffGridCase> {};

TEST_P(OffGridTest, LandsOnTheValueAskedFor) {
  const OffGridCase& c = GetParam();
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  s.Form().State().*c.field = c.loaded;
  Options o = ParseArguments({c.option, c.value}, false).options;
  ASSERT_EQ(o.actions.size(), 1u);
  std::string error;
  const std::vector<Action> plan = PlanSetting(s.Form(), o.actions[0], error);
  ASSERT_TRUE(error.empty()) << error;
  for (const Action& a : plan) ASSERT_TRUE(s.Apply(a)) << a.text;
  EXPECT_NEAR(static_cast<double>(s.Form().State().*c.field), static_cast<double>(c.wanted), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OffGridTest,
    ::testing::Values(
        OffGridCase{"--feed-loss", "0.3", &StationState::FeedLossDb, 1.05L, 0.3L},
        OffGridCase{"--feed-loss", "2", &StationState::FeedLossDb, 1.05L, 2.0L},
        OffGridCase{"--feed-loss", "0", &StationState::FeedLossDb, 0.04L, 0.0L},
        OffGridCase{"--dish-diameter", "2", &StationState::DishDiameterCm, 955.5L, 200.0L},
        OffGridCase{"--dish-diameter", "0.1", &StationState::DishDiameterCm, 3.0L, 10.0L},
        OffGridCase{"--dish-diameter", "4.5", &StationState::DishDiameterCm, 450.0L, 450.0L}));

TEST(UserOptionsHelpTest, ListsEveryOptionAndTheTowerExample) {
  const std::string help = HelpText();
  for (const char* option : {"--band MHZ", "--power WATTS", "--feed-loss DB", "--mode NAME",
                             "--pattern NAME", "--antenna NAME", "--dish-diameter M", "--yagis N",
                             "--standard NAME", "--ground-reflection", "--tower METRES",
                             "--imperial", "--band 14.2 --antenna dipole --power 100 --tower 10"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace korrin::report
