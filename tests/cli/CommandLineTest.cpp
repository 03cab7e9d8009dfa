// The command line as the report reads it: both forms of every option that
// takes a value, an option given twice, values missing or written empty,
// switches given a value, unknown arguments and which fault is told first,
// and the help made from the same option table.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/ReportOptions.h"
#include "app/report/UserOptions.h"

namespace korrin::report {
namespace {

using Args = std::vector<std::string>;
using Reader = std::function<std::string(const Options&)>;

std::string Metres(const std::optional<long double>& m) {
  return m ? std::to_string(static_cast<double>(*m)) : "none";
}

std::string FirstAction(const Options& o) {
  return o.actions.empty() ? "none" : o.actions.front().text;
}

std::string Joined(const Args& args) {
  std::string text;
  for (const std::string& a : args) text += '"' + a + "\" ";
  return text;
}

// ---- "--name VALUE" and "--name=VALUE" ---------------------------------------------

struct FormCase {
  const char* option;
  const char* value;
  Reader read;           // the field the option sets, as text
  const char* expected;  // what it reads
  Args with;             // what the option needs beside it
};

void PrintTo(const FormCase& c, std::ostream* os) {
  *os << c.option << ' ' << c.value;
}

class BothFormsTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(BothFormsTest, GiveTheSameValue) {
  const FormCase& c = GetParam();
  Args apart = {c.option, c.value};
  Args joined = {std::string(c.option) + "=" + c.value};
  apart.insert(apart.end(), c.with.begin(), c.with.end());
  joined.insert(joined.end(), c.with.begin(), c.with.end());
  for (const Args& args : {apart, joined}) {
    const ParseResult r = ParseArguments(args, true);
    ASSERT_EQ(r.status, ParseResult::Status::Run) << Joined(args) << r.error;
    EXPECT_EQ(c.read(r.options), c.expected) << Joined(args);
    EXPECT_EQ(r.options.stationFile, "") << Joined(args) << "took the value as the station";
  }
}

const Args kRecord = {"--record", "r.pdf"};

INSTANTIATE_TEST_SUITE_P(
    Options, BothFormsTest,
    ::testing::Values(
        FormCase{"--png", "w.png", [](const Options& o) { return o.pngPath; }, "w.png", {}},
        FormCase{"--pdf", "a=b.pdf", [](const Options& o) { return o.pdfPath; }, "a=b.pdf", {}},
        FormCase{"--plot", "p.SVG", [](const Options& o) { return o.plotPath; }, "p.SVG", {}},
        FormCase{"--record", "r.pdf", [](const Options& o) { return o.recordPath; }, "r.pdf", {}},
        FormCase{"--callsign", "VK3ABC", [](const Options& o) { return o.callSign; }, "VK3ABC",
                 kRecord},
        // a value that starts with a minus is still the option's value
        FormCase{"--site", "-37.81 144.96", [](const Options& o) { return o.site; },
                 "-37.81 144.96", kRecord},
        FormCase{"--by", "A. Tester", [](const Options& o) { return o.evaluatedBy; }, "A. Tester",
                 kRecord},
        FormCase{"--page-size", "letter", [](const Options& o) { return o.pageSize; }, "Letter",
                 kRecord},
        FormCase{"--distance",
                 "12.5",
                 [](const Options& o) { return Metres(o.distanceM); },
                 "12.500000",
                 {}},
        FormCase{"--head-height",
                 "1.8",
                 [](const Options& o) { return Metres(o.headHeightM); },
                 "1.800000",
                 {}},
        FormCase{"--do", "RadioGroup8=2", FirstAction, "RadioGroup8=2", {}},
        FormCase{"--do", "Save_DataClick=a b.rsd", FirstAction, "Save_DataClick=a b.rsd", {}},
        FormCase{"--band", "144 MHz", FirstAction, "--band 144 MHz", {}},
        FormCase{"--feed-loss", "2.5", FirstAction, "--feed-loss 2.5", {}}));

// ---- an option given twice ------------------------------------------------------------

struct TwiceCase {
  Args args;
  Reader read;
  const char* expected;
};

void PrintTo(const TwiceCase& c, std::ostream* os) {
  *os << Joined(c.args);
}

class GivenTwiceTest : public ::testing::TestWithParam<TwiceCase> {};

TEST_P(GivenTwiceTest, TheLastOneCounts) {
  const ParseResult r = ParseArguments(GetParam().args, true);
  ASSERT_EQ(r.status, ParseResult::Status::Run) << r.error;
  EXPECT_EQ(GetParam().read(r.options), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Options, GivenTwiceTest,
    ::testing::Values(TwiceCase{{"--png", "a.png", "--png=b.png"},
                                [](const Options& o) { return o.pngPath; },
                                "b.png"},
                      TwiceCase{{"--distance", "1", "--json", "--distance", "2"},
                                [](const Options& o) { return Metres(o.distanceM); },
                                "2.000000"},
                      TwiceCase{{"--page-size", "A4", "--record", "r.pdf", "--page-size", "letter"},
                                [](const Options& o) { return o.pageSize; },
                                "Letter"},
                      // repeated actions and settings are each kept, in order
                      TwiceCase{{"--do", "Panel46Click", "--do", "HF_SelectClick"},
                                [](const Options& o) {
                                  return o.actions.at(0).text + "|" + o.actions.at(1).text;
                                },
                                "Panel46Click|HF_SelectClick"},
                      TwiceCase{{"--antenna", "yagi", "--mode", "cw", "--antenna=dish"},
                                [](const Options& o) {
                                  std::string texts;
                                  for (const Action& a : o.actions) texts += a.text + "|";
                                  return texts;
                                },
                                "--antenna yagi|--mode cw|--antenna dish|"}));

// ---- refused command lines: the message says what is wrong ----------------------------

struct RefusedCase {
  Args args;
  const char* message;  // the whole message
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
  *os << Joined(c.args);
}

class RefusedCommandLineTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedCommandLineTest, SaysWhatIsWrong) {
  const ParseResult r = ParseArguments(GetParam().args, true);
  ASSERT_EQ(r.status, ParseResult::Status::Error);
  EXPECT_EQ(r.error, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedCommandLineTest,
    ::testing::Values(
        // "--name=" is an empty value: the next argument is not taken for it
        RefusedCase{{"--pdf=", "st.rsd"}, "option --pdf needs a FILE"},
        RefusedCase{{"--record=", "st.rsd"}, "option --record needs a FILE"},
        RefusedCase{{"--power=", "100"}, "option --power needs WATTS"},
        RefusedCase{{"--do=", "HF_SelectClick"},
                    "unknown action \"\": the window has no handler of that name"},
        // a value missing at the end
        RefusedCase{{"--json", "--do"}, "option --do needs an ACTION"},
        RefusedCase{{"--head-height"},
                    "option --head-height needs a length in metres, a number not below 0"},
        RefusedCase{{"--record", "r.pdf", "--site"}, "option --site needs a value"},
        RefusedCase{{"--tower"}, "option --tower needs METRES"},
        // switches take no value, whatever it is
        RefusedCase{{"--json=yes"}, "option --json takes no value"},
        RefusedCase{{"--all-bands=false"}, "option --all-bands takes no value"},
        RefusedCase{{"--help=1"}, "option --help takes no value"},
        RefusedCase{{"--imperial=false"}, "option --imperial takes no value"},
        // unknown options, a second station file, an empty name
        RefusedCase{{"-j"}, "unknown option \"-j\""},
        RefusedCase{{"--colour=red"}, "unknown option \"--colour=red\""},
        RefusedCase{{"--Json"}, "unknown option \"--Json\""},
        RefusedCase{{"a.rsd", "--json", "b.rsd"},
                    "unexpected argument \"b.rsd\": give at most one station file"},
        RefusedCase{{""}, "the station file's name is empty"},
        // the first fault on the command line is the one told
        RefusedCase{{"--colour", "--power", "10000"}, "unknown option \"--colour\""},
        RefusedCase{{"--power", "10000", "--colour"},
                    "the transmitter power \"10000\" for --power cannot be set: the four digit "
                    "groups give whole watts from 0 to 9999"},
        RefusedCase{{"a.rsd", "b.rsd", "--help"},
                    "unexpected argument \"b.rsd\": give at most one station file"},
        RefusedCase{{"-x", "--version"}, "unknown option \"-x\""},
        // options of the record without the record
        RefusedCase{{"--by", "A. Tester", "st.rsd"}, "option --by goes with --record FILE"}));

TEST(CommandLineTest, HelpAndVersionActWhereTheyStand) {
  EXPECT_EQ(ParseArguments({"--help", "--colour"}, true).status, ParseResult::Status::Help);
  EXPECT_EQ(ParseArguments({"-h"}, true).status, ParseResult::Status::Help);
  EXPECT_EQ(ParseArguments({"--version", "--power", "10000"}, true).status,
            ParseResult::Status::Version);
  // after "--" they are a station file's name
  const ParseResult r = ParseArguments({"--json", "--", "--help"}, true);
  ASSERT_EQ(r.status, ParseResult::Status::Run) << r.error;
  EXPECT_EQ(r.options.stationFile, "--help");
}

// ---- the help ----------------------------------------------------------------------

TEST(CommandLineHelpTest, FitsEightyColumns) {
  std::istringstream help(HelpText());
  int n = 0;
  for (std::string line; std::getline(help, line);) {
    ++n;
    EXPECT_LE(line.size(), 80u) << "line " << n << ": " << line;
  }
}

// The help and the parser come from one table: every option the help
// names is one the command line takes.
TEST(CommandLineHelpTest, EveryOptionItNamesIsKnown) {
  const std::string help = HelpText();
  const std::regex option("--[a-z][a-z0-9-]*");
  int named = 0;
  for (auto it = std::sregex_iterator(help.begin(), help.end(), option);
       it != std::sregex_iterator(); ++it) {
    ++named;
    const std::string name = it->str();
    const ParseResult r = ParseArguments({name}, true);
    EXPECT_EQ(r.error.find("unknown option"), std::string::npos) << name << ": " << r.error;
  }
  EXPECT_GT(named, 30);
}

TEST(CommandLineHelpTest, ListsTheSettingsUnderTheirHeading) {
  const std::string help = HelpText();
  const size_t heading = help.find("\nSettings in your own words");
  ASSERT_NE(heading, std::string::npos);
  for (const UserOption& u : UserOptions()) {
    const std::string head =
        "\n  " + std::string(u.name) + (u.value != nullptr ? std::string(" ") + u.value : "") + " ";
    const size_t at = help.find(head, heading);
    EXPECT_NE(at, std::string::npos) << head;
  }
}

}  // namespace
}  // namespace korrin::report
