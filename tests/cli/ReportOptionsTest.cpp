#include <gtest/gtest.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>

#include <ostream>

#include "app/report/ReportOptions.h"

namespace korrin::report {
namespace {

struct ActionCase {
  const char* text;
  bool valid;
  Action::Kind kind;
  const char* target;
  int value;
};

void PrintTo(const ActionCase& c, std::ostream* os) {
  *os << '"' << c.text << '"';
}

class ParseActionTest : public ::testing::TestWithParam<ActionCase> {};

TEST_P(ParseActionTest, AcceptsOnlyWhatTheWindowHas) {
  const ActionCase& c = GetParam();
  std::string error;
  const auto action = ParseAction(c.text, error);
  ASSERT_EQ(action.has_value(), c.valid) << c.text << ": " << error;
  if (!c.valid) {
    EXPECT_NE(error.find(std::string("\"") + c.text + "\""), std::string::npos)
        << "the error names the action: " << error;
    return;
  }
  EXPECT_EQ(action->kind, c.kind);
  EXPECT_EQ(action->target, c.target);
  EXPECT_EQ(action->value, c.value);
  EXPECT_EQ(action->text, c.text);
}

using K = Action::Kind;

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseActionTest,
    ::testing::Values(ActionCase{"HF_SelectClick", true, K::Handler, "HF_SelectClick", 0},
                      ActionCase{"PathLossUpClick", true, K::Handler, "PathLossUpClick", 0},
                      ActionCase{"RadUpDnDownClick", true, K::Handler, "RadUpDnDownClick", 0},
                      ActionCase{"Get_FileClick", true, K::Handler, "Get_FileClick", 0},
                      ActionCase{"RadioGroup1=0", true, K::SelectItem, "RadioGroup1", 0},
                      ActionCase{"RadioGroup1=11", true, K::SelectItem, "RadioGroup1", 11},
                      ActionCase{"RadioGroup8=8", true, K::SelectItem, "RadioGroup8", 8},
                      ActionCase{"RadioGroup2=7", true, K::SelectItem, "RadioGroup2", 7},
                      ActionCase{"RadioGroup3=4", true, K::SelectItem, "RadioGroup3", 4},
                      ActionCase{"RadioGroup7=9", true, K::SelectItem, "RadioGroup7", 9},
                      ActionCase{"TrackBar1=0", true, K::TrackBar, "TrackBar1", 0},
                      ActionCase{"TrackBar1=30", true, K::TrackBar, "TrackBar1", 30},
                      // one past the last item, signs, blanks and words
                      ActionCase{"RadioGroup1=12", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup8=9", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup3=5", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup2=-1", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup2=+1", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup2= 1", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup2=", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup2=CW", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup2=99999999999", false, K::Handler, "", 0},
                      ActionCase{"TrackBar1=31", false, K::Handler, "", 0},
                      // unknown names and controls that take no value
                      ActionCase{"RadioGroup9=1", false, K::Handler, "", 0},
                      ActionCase{"NoSuchClick", false, K::Handler, "", 0},
                      ActionCase{"hf_selectclick", false, K::Handler, "", 0},
                      ActionCase{"SetUp", false, K::Handler, "", 0},
                      ActionCase{"", false, K::Handler, "", 0},
                      ActionCase{"Panel16=3", false, K::Handler, "", 0},
                      ActionCase{"HF_SelectClick=1", false, K::Handler, "", 0},
                      ActionCase{"RadioGroup1Click=3", false, K::Handler, "", 0}));

TEST(ParseActionTest, FileCommandsTakeThePathOrACancel) {
  std::string error;
  auto save = ParseAction("Save_DataClick=/tmp/a=b c.rsd", error);
  ASSERT_TRUE(save.has_value()) << error;
  EXPECT_EQ(save->kind, K::FileDialog);
  EXPECT_EQ(save->target, "Save_DataClick");
  EXPECT_EQ(save->answer, std::optional<std::string>("/tmp/a=b c.rsd"));

  auto cancelled = ParseAction("Get_FileClick=", error);
  ASSERT_TRUE(cancelled.has_value()) << error;
  EXPECT_EQ(cancelled->kind, K::FileDialog);
  EXPECT_EQ(cancelled->target, "Get_FileClick");
  EXPECT_FALSE(cancelled->answer.has_value());
}

TEST(ParseArgumentsTest, KeepsOptionsStationAndActionsInOrder) {
  const ParseResult r =
      ParseArguments({"--json", "--do", "HF_SelectClick", "--all-bands", "--do=RadioGroup8=2",
                      "st.rsd", "--png", "w.png", "--pdf=p.pdf", "--do", "TrackBar1=10"},
                     true);
  ASSERT_EQ(r.status, ParseResult::Status::Run) << r.error;
  const Options& o = r.options;
  EXPECT_TRUE(o.json);
  EXPECT_TRUE(o.allBands);
  EXPECT_EQ(o.stationFile, "st.rsd");
  EXPECT_EQ(o.pngPath, "w.png");
  EXPECT_EQ(o.pdfPath, "p.pdf");
  ASSERT_EQ(o.actions.size(), 3u);
  EXPECT_EQ(o.actions[0].text, "HF_SelectClick");
  EXPECT_EQ(o.actions[1].text, "RadioGroup8=2");
  EXPECT_EQ(o.actions[2].value, 10);
}

TEST(ParseArgumentsTest, TheRecordTakesItsHeadingAndPaper) {
  const ParseResult r =
      ParseArguments({"--callsign", "VK3ABC", "--record", "r.pdf", "--site=QF22lg", "--by",
                      "A. Tester", "--page-size", "letter", "st.rsd"},
                     true);
  ASSERT_EQ(r.status, ParseResult::Status::Run) << r.error;
  const Options& o = r.options;
  EXPECT_EQ(o.recordPath, "r.pdf");
  EXPECT_EQ(o.callSign, "VK3ABC");
  EXPECT_EQ(o.site, "QF22lg");
  EXPECT_EQ(o.evaluatedBy, "A. Tester");
  EXPECT_EQ(o.pageSize, "Letter");  // written as the program names it
  EXPECT_EQ(o.stationFile, "st.rsd");

  const ParseResult plain = ParseArguments({"--record=r.pdf", "--page-size=a4"}, true);
  ASSERT_EQ(plain.status, ParseResult::Status::Run) << plain.error;
  EXPECT_EQ(plain.options.pageSize, "A4");
  EXPECT_EQ(plain.options.callSign, "");
  EXPECT_EQ(ParseArguments({"--record=r.pdf"}, true).options.pageSize, "");  // from the locale
}

TEST(ParseArgumentsTest, PlotTakesAPngOrSvgFileInAnyCase) {
  for (const char* path : {"a.png", "a.svg", "dir.x/A.SVG", "b.Png"}) {
    const ParseResult r = ParseArguments({"--plot", path}, true);
    ASSERT_EQ(r.status, ParseResult::Status::Run) << path << ": " << r.error;
    EXPECT_EQ(r.options.plotPath, path);
  }
  EXPECT_EQ(ParseArguments({"--plot=x.svg"}, true).options.plotPath, "x.svg");
}

TEST(ParseArgumentsTest, AStationFileMayLookLikeAnOptionAfterTheDoubleDash) {
  const ParseResult r = ParseArguments({"--", "--json"}, true);
  ASSERT_EQ(r.status, ParseResult::Status::Run);
  EXPECT_FALSE(r.options.json);
  EXPECT_EQ(r.options.stationFile, "--json");
}

struct BadArguments {
  std::vector<std::string> args;
  bool pictures;
  const char* named;  // what the error must name
};

void PrintTo(const BadArguments& c, std::ostream* os) {
  for (const std::string& arg : c.args) *os << '"' << arg << "\" ";
  if (!c.pictures) *os << "(no pictures)";
}

class RefusedArgumentsTest : public ::testing::TestWithParam<BadArguments> {};

TEST_P(RefusedArgumentsTest, AreAnErrorNamingThem) {
  const ParseResult r = ParseArguments(GetParam().args, GetParam().pictures);
  ASSERT_EQ(r.status, ParseResult::Status::Error);
  EXPECT_NE(r.error.find(GetParam().named), std::string::npos) << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedArgumentsTest,
    ::testing::Values(BadArguments{{"--colour"}, true, "--colour"},
                      BadArguments{{"-j"}, true, "-j"}, BadArguments{{"--do"}, true, "--do"},
                      BadArguments{{"--do", "NoSuchClick"}, true, "NoSuchClick"},
                      BadArguments{{"--png"}, true, "--png"},
                      BadArguments{{"--pdf="}, true, "--pdf"},
                      BadArguments{{"--png", "w.png"}, false, "--png"},
                      BadArguments{{"a.rsd", "b.rsd"}, true, "b.rsd"},
                      BadArguments{{"--record"}, true, "--record"},
                      BadArguments{{"--record="}, true, "--record"},
                      BadArguments{{"--record", "r.pdf"}, false, "--record"},
                      BadArguments{{"--record", "r.pdf", "--callsign"}, true, "--callsign"},
                      // the heading and paper options need the record
                      BadArguments{{"--callsign", "VK3ABC"}, true, "--callsign"},
                      BadArguments{{"--site=QF22", "a.rsd"}, true, "--site"},
                      BadArguments{{"--by", "A. Tester"}, true, "--by"},
                      BadArguments{{"--page-size", "A4"}, true, "--page-size"},
                      BadArguments{{"--record", "r.pdf", "--page-size", "A5"}, true, "A5"},
                      BadArguments{{"--record", "r.pdf", "--page-size="}, true, "\"\""},
                      // the plot is written as PNG or SVG only, and only with the window
                      BadArguments{{"--plot"}, true, "--plot"},
                      BadArguments{{"--plot", "plot.pdf"}, true, ".svg"},
                      BadArguments{{"--plot=plot"}, true, ".png"},
                      BadArguments{{"--plot", ".svg"}, true, "--plot"},
                      BadArguments{{"--plot", "p.svg"}, false, "--plot"},
                      // an output whose extension does not fit: an input named
                      // there by mistake is not overwritten
                      BadArguments{{"--record", "home.station.toml"}, true, ".pdf"},
                      BadArguments{{"--record", "station.rsd"}, true, "--record"},
                      BadArguments{{"--pdf", "window.png"}, true, ".pdf"},
                      BadArguments{{"--png", "window.pdf"}, true, ".png"},
                      // two outputs naming one file
                      BadArguments{{"--png", "w.png", "--plot", "./w.png"}, true, "same file"},
                      BadArguments{{"--record", "r.pdf", "--pdf", "r.pdf"}, true, "--pdf"},
                      // an error after --help is never reached: --help wins only
                      // where it stands
                      BadArguments{{"--bad", "--help"}, true, "--bad"}));

// An output that is an input, by the file's identity whatever its name: the
// record over the station file it reads, a picture over a loaded .rsd.
TEST(ParseArgumentsTest, AnOutputThatIsAnInputIsRefused) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("korrin-outputs-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string station = (dir / "home.station.toml").string();
  const std::string record = (dir / "home.rsd").string();
  std::ofstream(station) << "format = \"korrin-station/1\"\n";
  std::ofstream(record) << std::string(304, '\0');
  std::filesystem::create_symlink(station, dir / "link.pdf");
  std::filesystem::create_symlink(record, dir / "record.png");
  const struct {
    std::vector<std::string> args;
    const char* named;
  } cases[] = {
      {{"--record", (dir / "link.pdf").string(), station}, "--record would overwrite"},
      {{"--png", (dir / "record.png").string(), record}, "--png would overwrite"},
      {{"--png", (dir / "record.png").string(), "--do", "Get_FileClick=" + record},
       "--png would overwrite --do Get_FileClick="},
  };
  for (const auto& c : cases) {
    const ParseResult r = ParseArguments(c.args, true);
    EXPECT_EQ(r.status, ParseResult::Status::Error) << c.args[1];
    EXPECT_NE(r.error.find(c.named), std::string::npos) << r.error;
  }
  // Another file of the same kind is written as usual.
  EXPECT_EQ(ParseArguments({"--record", (dir / "other.pdf").string(), station}, true).status,
            ParseResult::Status::Run);
  std::filesystem::remove_all(dir);
}

TEST(ParseArgumentsTest, HelpAndVersion) {
  EXPECT_EQ(ParseArguments({"--json", "--help"}, true).status, ParseResult::Status::Help);
  EXPECT_EQ(ParseArguments({"--version"}, true).status, ParseResult::Status::Version);
  EXPECT_EQ(VersionText(), "korrin-report 4.4");
  const std::string help = HelpText();
  for (const char* name : {"SpinButton3UpClick", "Panel46Click", "TrackBar1Change",
                           "Save_DataClick", "BitBtn9Click", "PathLossDownClick"}) {
    EXPECT_NE(help.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace korrin::report
