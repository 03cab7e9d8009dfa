// The command line as the report reads it: both forms of an option that
// takes a value, an option given twice, values missing or written empty,
// switches given a value, unknown arguments and which fault is told first,
// and the help made from the same option table.
#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/ReportOptions.h"

namespace korrin::report {
namespace {

using Args = std::vector<std::string>;

void PrintArgs(const Args& args, std::ostream* os) {
  for (const std::string& a : args) *os << '"' << a << "\" ";
}

enum class Field { Pdf, Png, Site, PageSize, Distance, Actions, Station, NearField };

// What the parsed options hold for `f`, as text.
std::string Read(const Options& o, Field f) {
  std::string actions;
  switch (f) {
    case Field::Pdf:
      return o.pdfPath;
    case Field::Png:
      return o.pngPath;
    case Field::Site:
      return o.site;
    case Field::PageSize:
      return o.pageSize;
    case Field::Distance:
      return o.distanceM ? std::to_string(static_cast<double>(*o.distanceM)) : "none";
    case Field::Actions:
      for (const Action& a : o.actions) actions += a.text + "|";
      return actions;
    case Field::Station:
      return o.stationFile;
    case Field::NearField:
      return std::string(o.nearField ? "near field" : "none") + "|" + o.nearFieldInstallation +
             "|" + o.nearFieldMapPath +
             (o.engineTimeLimitS ? "|" + std::to_string(*o.engineTimeLimitS) : "");
  }
  return "";
}

struct AcceptedCase {
  Args args;
  Field field;
  const char* expected;
};

void PrintTo(const AcceptedCase& c, std::ostream* os) {
  PrintArgs(c.args, os);
}

class AcceptedCommandLineTest : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedCommandLineTest, ReadsWhatWasWritten) {
  const ParseResult r = ParseArguments(GetParam().args, true);
  ASSERT_EQ(r.status, ParseResult::Status::Run) << r.error;
  EXPECT_EQ(Read(r.options, GetParam().field), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedCommandLineTest,
    ::testing::Values(
        // both forms; a value may start with a minus or hold "=" and blanks
        AcceptedCase{
            {"--site", "-37.81 144.96", "--record", "r.pdf"}, Field::Site, "-37.81 144.96"},
        AcceptedCase{{"--site=-37.81 144.96", "--record=r.pdf"}, Field::Site, "-37.81 144.96"},
        AcceptedCase{{"--pdf", "a=b.pdf"}, Field::Pdf, "a=b.pdf"},
        AcceptedCase{{"--pdf=a=b.pdf"}, Field::Pdf, "a=b.pdf"},
        AcceptedCase{{"--do", "Save_DataClick=a b.rsd"}, Field::Actions, "Save_DataClick=a b.rsd|"},
        // an empty value after "=" leaves the next argument alone
        AcceptedCase{{"--by=", "st.rsd", "--record=r.pdf"}, Field::Station, "st.rsd"},
        // given twice, the last value counts
        AcceptedCase{{"--png", "a.png", "--png=b.png"}, Field::Png, "b.png"},
        AcceptedCase{{"--distance", "1", "--json", "--distance=2"}, Field::Distance, "2.000000"},
        AcceptedCase{{"--page-size", "A4", "--page-size=letter", "--record=r.pdf"},
                     Field::PageSize,
                     "Letter"},
        // settings in the order given, before every --do
        AcceptedCase{{"--antenna", "yagi", "--do", "HF_SelectClick", "--mode=cw", "--antenna=dish"},
                     Field::Actions,
                     "--antenna yagi|--mode cw|--antenna dish|HF_SelectClick|"},
        // after "--", an option's name is a station file's
        AcceptedCase{{"--json", "--", "--help"}, Field::Station, "--help"},
        // the near field: a map names its installation and file, and implies it
        AcceptedCase{{"s.station.toml", "--near-field"}, Field::NearField, "near field||"},
        AcceptedCase{{"s.station.toml", "--near-field-map", "40 m", "v.SVG"},
                     Field::NearField,
                     "near field|40 m|v.SVG"},
        // each run of the engine's time limit, which implies the near field
        AcceptedCase{{"s.station.toml", "--engine-time-limit", "600.5"},
                     Field::NearField,
                     "near field|||600.500000"}));

struct RefusedCase {
  Args args;
  const char* message;  // the whole message
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
  PrintArgs(c.args, os);
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
        RefusedCase{{"--power=", "100"}, "option --power needs WATTS"},
        RefusedCase{{"--do=", "HF_SelectClick"},
                    "unknown action \"\": the window has no handler of that name"},
        // a value missing at the end
        RefusedCase{{"--json", "--do"}, "option --do needs an ACTION"},
        RefusedCase{{"--head-height"},
                    "option --head-height needs a length in metres, a number not below 0"},
        RefusedCase{{"--record", "r.pdf", "--site"}, "option --site needs a value"},
        // switches take no value, whatever it is
        RefusedCase{{"--json=yes"}, "option --json takes no value"},
        // a time limit that is no positive number of seconds
        RefusedCase{{"--engine-time-limit", "0"},
                    "--engine-time-limit takes seconds above 0 and at most 1000000, not \"0\""},
        RefusedCase{{"--engine-time-limit", "2m"},
                    "--engine-time-limit takes seconds above 0 and at most 1000000, not \"2m\""},
        RefusedCase{{"--engine-time-limit", "nan"},
                    "--engine-time-limit takes seconds above 0 and at most 1000000, not \"nan\""},
        RefusedCase{{"--help=1"}, "option --help takes no value"},
        RefusedCase{{"--imperial=false"}, "option --imperial takes no value"},
        // unknown options, a second station file, an empty name
        RefusedCase{{"-j"}, "unknown option \"-j\""},
        RefusedCase{{"--colour=red"}, "unknown option \"--colour=red\""},
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
        RefusedCase{{"--by", "A. Tester", "st.rsd"}, "option --by goes with --record FILE"},
        // the near field's map: two values, a picture's extension
        RefusedCase{{"--near-field-map", "40m", "v.pdf"},
                    "option --near-field-map writes FILE.png or FILE.svg"},
        RefusedCase{{"--near-field-map", "", "v.png"},
                    "option --near-field-map needs an INSTALLATION"},
        RefusedCase{{"--near-field-map", "40m"},
                    "option --near-field-map needs an INSTALLATION and a FILE"}));

TEST(CommandLineTest, HelpAndVersionActWhereTheyStand) {
  EXPECT_EQ(ParseArguments({"--help", "--colour"}, true).status, ParseResult::Status::Help);
  EXPECT_EQ(ParseArguments({"-h"}, true).status, ParseResult::Status::Help);
  EXPECT_EQ(ParseArguments({"--version", "--power", "10000"}, true).status,
            ParseResult::Status::Version);
}

TEST(CommandLineHelpTest, FitsEightyColumns) {
  std::istringstream help(HelpText());
  int n = 0;
  for (std::string line; std::getline(help, line);) {
    ++n;
    EXPECT_LE(line.size(), 80u) << "line " << n << ": " << line;
  }
}

// An option of two values is named with both, once: no count after them.
TEST(CommandLineHelpTest, TwoValuesNamedOnce) {
  const std::string help = HelpText();
  EXPECT_NE(help.find("--near-field-map INSTALLATION FILE\n"), std::string::npos) << help;
  EXPECT_EQ(help.find(" x 2"), std::string::npos) << help;
}

// Every "--name" word of a text, as the manual page check reads them.
std::vector<std::string> OptionWords(const std::string& text) {
  const auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
  std::vector<std::string> words;
  for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
    if (at + 2 >= text.size() || !lower(text[at + 2])) continue;
    size_t end = at + 2;
    while (end < text.size() &&
           (lower(text[end]) || std::isdigit(static_cast<unsigned char>(text[end])) ||
            text[end] == '-'))
      ++end;
    words.push_back(text.substr(at, end - at));
    at = end - 2;
  }
  return words;
}

// The help and the parser come from one table: every option the help
// names is one the command line takes.
TEST(CommandLineHelpTest, EveryOptionItNamesIsKnown) {
  const std::vector<std::string> named = OptionWords(HelpText());
  for (const std::string& name : named) {
    const ParseResult r = ParseArguments({name}, true);
    EXPECT_EQ(r.error.find("unknown option"), std::string::npos) << name << ": " << r.error;
  }
  EXPECT_GT(named.size(), 30u);
}

}  // namespace
}  // namespace korrin::report
