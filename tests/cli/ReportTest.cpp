#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "app/report/BandTable.h"
#include "app/report/ReportJson.h"
#include "app/report/ReportSession.h"
#include "app/report/ReportText.h"
#include "assess/Assessment.h"
#include "ui/Controls.h"

namespace korrin::report {
namespace {

Action Parsed(const std::string& text) {
  std::string error;
  auto a = ParseAction(text, error);
  EXPECT_TRUE(a.has_value()) << error;
  return a.value_or(Action{});
}

// Significant digits of a number written as [-]d.ddd...e[+-]xx (zero
// written as 0.000... counts every digit it shows).
int SignificantDigits(const std::string& number) {
  int digits = 0;
  int zeros = 0;
  bool leading = true;
  for (char c : number) {
    if (c == 'e' || c == 'E') break;
    if (c < '0' || c > '9') continue;
    if (leading && c == '0') {
      ++zeros;
      continue;
    }
    leading = false;
    ++digits;
  }
  return leading ? zeros : digits;
}

class RealJsonTest : public ::testing::TestWithParam<long double> {};

TEST_P(RealJsonTest, KeepsTheExtendedValueWithNineteenDigitsOrMore) {
  const long double v = GetParam();
  const std::string text = RealJson(v);
  EXPECT_GE(SignificantDigits(text), 19) << text;
  EXPECT_EQ(std::strtold(text.c_str(), nullptr), v) << text;
  // The text is a JSON number.
  EXPECT_TRUE(nlohmann::json::parse(text).is_number()) << text;
}

INSTANTIATE_TEST_SUITE_P(Values, RealJsonTest,
                         ::testing::Values(0.55L, 432.0L, 300.0L / 432.0L, 1.38e-23L, 1e-10L,
                                           -157.93L, 0.0L, 175.0L / 3.0L, 1.5e300L));

TEST(RealJsonTest, ANumberThatIsNotFiniteIsNull) {
  EXPECT_EQ(RealJson(INFINITY), "null");
  EXPECT_EQ(RealJson(-INFINITY), "null");
  EXPECT_EQ(RealJson(NAN), "null");
}

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() { session.Start(); }
  ReportSession session{NumberLocale{".", ","}};
  const Control& At(const char* name) { return session.Form().Board().at(name); }
};

TEST_F(SessionTest, SelectsTheItemAndRunsTheGroupsClick) {
  ASSERT_TRUE(session.Apply(Parsed("RadioGroup1=5")));
  EXPECT_EQ(At("RadioGroup1").itemIndex, 5);
  EXPECT_EQ(At("Panel32").text, "1296 MHz");
  EXPECT_EQ(session.Form().State().VhfBandIndex, 5);
}

TEST_F(SessionTest, MovesTheTrackBarAndRunsItsChange) {
  session.Apply(Parsed("HF_SelectClick"));
  ASSERT_TRUE(session.Apply(Parsed("TrackBar1=20")));
  EXPECT_EQ(At("TrackBar1").position, 20);
  EXPECT_EQ(session.Form().State().TowerHeight, 10);
}

TEST_F(SessionTest, ADialogAnswerNeverOutlivesItsAction) {
  // HF_SelectClick asks no dialog: the answer must not reach a later one.
  Action a = Parsed("HF_SelectClick");
  a.kind = Action::Kind::FileDialog;
  a.answer = "/nowhere/station.rsd";
  session.Apply(a);
  EXPECT_TRUE(session.Platform().dialogAnswers.empty());
}

TEST_F(SessionTest, MessagesAreAnsweredAndKept) {
  session.Apply(Parsed("Panel44Click"));
  ASSERT_EQ(session.Platform().messages.size(), 1u);
  EXPECT_EQ(session.Platform().messages[0].kind, MessageKind::Information);
  EXPECT_EQ(session.Platform().messages[0].text, VersionMessage());
}

TEST_F(SessionTest, ClosingTheWindowStopsTheActions) {
  Options o;
  o.actions = {Parsed("SpinButton3UpClick"), Parsed("BitBtn1Click"), Parsed("HF_SelectClick"),
               Parsed("RadioGroup1=0")};
  ReportSession s{NumberLocale{}};
  s.Run(o);
  EXPECT_EQ(s.ClosedBy(), "BitBtn1Click");
  EXPECT_EQ(s.Skipped(), (std::vector<std::string>{"HF_SelectClick", "RadioGroup1=0"}));
  EXPECT_TRUE(s.Form().State().ShfBandsShown);
  EXPECT_EQ(s.Form().Board().at("Panel23").text, "1.1 dB");
  EXPECT_EQ(s.Form().Board().at("Panel32").text, "432 MHz");
}

TEST_F(SessionTest, AFileThatCannotBeOpenedIsNotLoaded) {
  const StationState before = session.Form().State();
  // Get Data answers a missing file with its warning; nothing is loaded.
  EXPECT_FALSE(session.Load("/nonexistent-korrin-dir/station.rsd"));
  ASSERT_EQ(session.Platform().messages.size(), 1u);
  EXPECT_EQ(session.Platform().messages[0].kind, MessageKind::Warning);
  EXPECT_TRUE(SameStation(session.Form().State(), before));
}

// ---- the band table -----------------------------------------------------------

struct Side {
  const char* name;
  const char* switchAction;  // "" for the start-up side
  size_t rows;
};

class BandTableTest : public ::testing::TestWithParam<Side> {};

TEST_P(BandTableTest, EvaluatesEveryBandAndLeavesTheStationAsItWas) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  if (*GetParam().switchAction) s.Apply(Parsed(GetParam().switchAction));
  s.Apply(Parsed("SpinButton3UpClick"));
  s.Apply(Parsed("Panel44Click"));
  const StationState stateBefore = s.Form().State();
  const ControlBoard boardBefore = s.Form().Board();
  const size_t messagesBefore = s.Platform().messages.size();

  const BandTable table = EvaluateAllBands(s.Form(), s.Platform());
  ASSERT_EQ(table.rows.size(), GetParam().rows);
  EXPECT_EQ(table.vhfShf, GetParam().rows == 12);

  EXPECT_TRUE(SameStation(s.Form().State(), stateBefore));
  for (const std::string& name : boardBefore.names()) {
    const Control& a = boardBefore.at(name);
    const Control& b = s.Form().Board().at(name);
    EXPECT_TRUE(a.text == b.text && a.visible == b.visible && a.color == b.color &&
                a.fontColor == b.fontColor && a.top == b.top && a.itemIndex == b.itemIndex &&
                a.position == b.position)
        << name;
  }
  EXPECT_EQ(s.Platform().messages.size(), messagesBefore);

  // Each row is what the window shows after a click on that band.
  const std::string group = table.vhfShf ? "RadioGroup1" : "RadioGroup8";
  for (size_t i = 0; i < table.rows.size(); ++i) {
    ReportSession direct{NumberLocale{".", ","}};
    direct.Start();
    if (*GetParam().switchAction) direct.Apply(Parsed(GetParam().switchAction));
    direct.Apply(Parsed("SpinButton3UpClick"));
    direct.Apply(Parsed(group + "=" + std::to_string(i)));
    const ControlBoard& b = direct.Form().Board();
    const BandRow& row = table.rows[i];
    EXPECT_EQ(row.limit, b.at("Panel9").text) << i;
    EXPECT_EQ(row.farFieldBoundary, b.at("Panel47").text) << i;
    EXPECT_EQ(row.exclusionZone.substr(0, b.at("Panel64").text.size()), b.at("Panel64").text) << i;
    EXPECT_EQ(row.towerClearance, b.at("StaticText1").text) << i;
    EXPECT_EQ(row.echoSnr, table.vhfShf ? b.at("Panel25").text : "") << i;
    EXPECT_EQ(row.sunYFactor, table.vhfShf ? b.at("Panel58").text : "") << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Sides, BandTableTest,
                         ::testing::Values(Side{"VhfShf", "", 12}, Side{"Hf", "HF_SelectClick", 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BandTableTest, RowsNameTheBandAndItsFrequency) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  s.Apply(Parsed("HF_SelectClick"));
  const BandTable table = EvaluateAllBands(s.Form(), s.Platform());
  ASSERT_EQ(table.rows.size(), 9u);
  EXPECT_EQ(table.rows[0].band, "1.8 MHz");
  EXPECT_EQ(table.rows[0].frequency, "1.8 MHz");
  // The last item is captioned 28.5 MHz but works at the band's upper edge.
  EXPECT_EQ(table.rows[8].band, "28.5 MHz");
  EXPECT_EQ(table.rows[8].frequency, "29.7 MHz");
  EXPECT_EQ(table.rows[4].gainInUse, "2.00 dBi");
}

// ---- JSON -----------------------------------------------------------------------

TEST(JsonReportTest, HoldsEveryControlEveryFieldAndTheMessages) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  s.Apply(Parsed("Panel44Click"));
  const nlohmann::json j = nlohmann::json::parse(JsonReport(s.Form(), s.Platform(), nullptr));
  ASSERT_EQ(j.size(), 3u);

  const auto& controls = j.at("controls");
  EXPECT_EQ(controls.size(), MainWindowControls().size());
  for (const ControlDecl& decl : MainWindowControls()) {
    ASSERT_TRUE(controls.contains(decl.name)) << decl.name;
    const auto& c = controls.at(decl.name);
    EXPECT_EQ(c.at("text"), s.Form().Board().at(decl.name).text) << decl.name;
    EXPECT_TRUE(c.at("visible").is_boolean()) << decl.name;
    EXPECT_TRUE(c.at("color").is_string()) << decl.name;
    EXPECT_TRUE(c.at("fontColor").is_string()) << decl.name;
    EXPECT_EQ(c.contains("top"), decl.name == "Panel64") << decl.name;
    EXPECT_EQ(c.contains("itemIndex"), decl.kind == ControlKind::RadioGroup) << decl.name;
    EXPECT_EQ(c.contains("position"), decl.name == "TrackBar1" || decl.name == "ProgressBar1")
        << decl.name;
  }
  EXPECT_EQ(controls.at("RadioGroup1").at("itemIndex"), 3);
  EXPECT_EQ(controls.at("TrackBar1").at("position"), 30);
  EXPECT_EQ(controls.at("Panel78").at("color"), "green");
  EXPECT_EQ(controls.at("Panel2").at("color"), "tooltip-background");

  const auto& state = j.at("state");
  size_t fields = 0;
  ForEachStationField(s.Form().State(), [&](const char* name, const auto& value) {
    ++fields;
    ASSERT_TRUE(state.contains(name)) << name;
    using T = std::decay_t<decltype(value)>;
    if constexpr (std::is_same_v<T, bool>) {
      EXPECT_TRUE(state.at(name).is_boolean()) << name;
      EXPECT_EQ(state.at(name), value) << name;
    } else if constexpr (std::is_integral_v<T>) {
      EXPECT_TRUE(state.at(name).is_number_integer()) << name;
      EXPECT_EQ(state.at(name), value) << name;
    } else {
      EXPECT_TRUE(state.at(name).is_number_float()) << name;
      EXPECT_DOUBLE_EQ(state.at(name).get<double>(), static_cast<double>(value)) << name;
    }
  });
  EXPECT_EQ(state.size(), fields);

  ASSERT_EQ(j.at("messages").size(), 1u);
  EXPECT_EQ(j.at("messages")[0].at("kind"), "information");
  EXPECT_EQ(j.at("messages")[0].at("text"), VersionMessage());
}

TEST(JsonReportTest, TheBandsArrayComesOnlyWithTheTable) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  const BandTable table = EvaluateAllBands(s.Form(), s.Platform());
  const auto j = nlohmann::json::parse(JsonReport(s.Form(), s.Platform(), &table));
  ASSERT_EQ(j.at("bands").size(), 12u);
  EXPECT_EQ(j.at("bands")[3].at("band"), "432 MHz");
  EXPECT_EQ(j.at("bands")[3].at("exclusionZone"), s.Form().Board().at("Panel64").text);
  EXPECT_TRUE(j.at("bands")[3].contains("echoSnr"));
}

TEST(JsonReportTest, AStrayByteInAMessageDoesNotStopTheReport) {
  ReportSession s{NumberLocale{".", ","}};
  s.Start();
  s.Platform().messages.push_back({MessageKind::Warning, "File \"caf\xe9.rsd\" not found"});
  const auto j = nlohmann::json::parse(JsonReport(s.Form(), s.Platform(), nullptr));
  EXPECT_EQ(j.at("messages")[0].at("kind"), "warning");
}

// ---- text -----------------------------------------------------------------------

TEST(TextReportTest, FollowsTheLocaleOfTheForm) {
  ReportSession s{NumberLocale{",", "."}};
  s.Start();
  const std::string text = TextReport(s.Form(), s.Platform(), {}, nullptr);
  EXPECT_NE(text.find("1500 Watts / 31,76 dBW"), std::string::npos) << text;
  EXPECT_NE(text.find(s.Form().Board().at("Panel18").text), std::string::npos);
  EXPECT_NE(s.Form().Board().at("Panel18").text.find('.'), std::string::npos);
}

struct GroupCase {
  const char* action;  // "" for the start-up station
  bool tower;
  bool moonBounce;
  bool lowGain;
};

class TextGroupsTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(TextGroupsTest, ShowsTheGroupsTheWindowShows) {
  ReportSession s{NumberLocale{}};
  s.Start();
  if (*GetParam().action) s.Apply(Parsed(GetParam().action));
  const std::string text = TextReport(s.Form(), s.Platform(), {}, nullptr);
  EXPECT_NE(text.find("\nTransmitter\n"), std::string::npos);
  EXPECT_NE(text.find("\nLimit and exclusion zone\n"), std::string::npos);
  EXPECT_EQ(text.find("\nTower\n") != std::string::npos, GetParam().tower);
  EXPECT_EQ(text.find("\nMoon-bounce\n") != std::string::npos, GetParam().moonBounce);
  EXPECT_EQ(text.find("Low-gain antenna") != std::string::npos, GetParam().lowGain);
  EXPECT_NE(text.find(s.Form().Board().at("Panel64").text), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sides, TextGroupsTest,
                         ::testing::Values(GroupCase{"", false, true, false},
                                           GroupCase{"HF_SelectClick", true, false, true},
                                           GroupCase{"Panel46Click", false, true, false}));

// Each antenna family is marked in use or not; one not in use shows its
// settings and none of the figures worked out for the band in use.
struct FamilyCase {
  std::vector<const char*> actions;
  std::vector<const char*> present;
  std::vector<const char*> absent;
};

class AntennaFamilyTest : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(AntennaFamilyTest, MarksFamiliesNotInUseAndLeavesOutTheirFigures) {
  ReportSession s{NumberLocale{}};
  s.Start();
  for (const char* a : GetParam().actions) ASSERT_TRUE(s.Apply(Parsed(a)));
  const std::string text = TextReport(s.Form(), s.Platform(), {}, nullptr);
  for (const char* p : GetParam().present) EXPECT_NE(text.find(p), std::string::npos) << p;
  for (const char* a : GetParam().absent) EXPECT_EQ(text.find(a), std::string::npos) << a;
}

INSTANTIATE_TEST_SUITE_P(
    Families, AntennaFamilyTest,
    ::testing::Values(FamilyCase{{},
                                 {"Parabolic dish (in use)", "Gain as a power ratio",
                                  "Yagi array (not in use)", "Single yagi gain"},
                                 {"Array gain", "Beamwidth E / H"}},
                      FamilyCase{{"Panel46Click"},
                                 {"Parabolic dish (not in use)", "Diameter", "Yagi array (in use)",
                                  "Array gain"},
                                 {"Gain as a power ratio", "    Beamwidth  "}},
                      FamilyCase{{"HF_SelectClick"},
                                 {"Parabolic dish (not in use)", "Yagi array (not in use)",
                                  "Low-gain antenna (in use)"},
                                 {"Gain as a power ratio", "Array gain", "1016"}}));

// The window shows no zone under 1 m (1 ft) for a gain-only antenna; the
// report's line says so instead of "No restriction" beside a keep-out.
struct ZoneLineCase {
  std::vector<const char*> actions;
  bool assessed;
  const char* line;
};

class ZoneLineTest : public ::testing::TestWithParam<ZoneLineCase> {};

TEST_P(ZoneLineTest, SaysWhatTheWindowsZoneMeans) {
  ReportSession s{NumberLocale{}};
  s.Start();
  for (const char* a : GetParam().actions) ASSERT_TRUE(s.Apply(Parsed(a)));
  std::optional<assess::Assessment> a;
  if (GetParam().assessed) a = assess::Assess(s.Form().State());
  const std::string text = TextReport(s.Form(), s.Platform(), {}, nullptr, a ? &*a : nullptr);
  const std::string line = std::string("  On-axis exclusion zone      ") + GetParam().line + "\n";
  EXPECT_NE(text.find(line), std::string::npos) << text;
  EXPECT_EQ(text.find("On-axis exclusion zone      No restriction"), std::string::npos);
}

// The 20 m dipole at 100 W and at 10 W.
#define KORRIN_DIPOLE_AT(hundreds, tens)                                                       \
  "HF_SelectClick", "RadioGroup8=4", "Panel67Click", "RadioGroup4=0", "RadioGroup5=" hundreds, \
      "RadioGroup6=" tens, "RadioGroup7=0"

INSTANTIATE_TEST_SUITE_P(
    Stations, ZoneLineTest,
    ::testing::Values(
        ZoneLineCase{{KORRIN_DIPOLE_AT("1", "0")}, true, "under 1 m; see the assessment"},
        ZoneLineCase{
            {KORRIN_DIPOLE_AT("1", "0")}, false, "under 1 m; --assess gives the keep-out distance"},
        ZoneLineCase{
            {KORRIN_DIPOLE_AT("0", "1"), "Button2Click"}, true, "under 1 ft; see the assessment"},
        // shown as a distance: as the window shows it
        ZoneLineCase{{KORRIN_DIPOLE_AT("1", "0"), "Button2Click"}, true, "1.88 Feet"},
        ZoneLineCase{{}, true, "88.34 Metres"}));

// Under the HF band table, only the 28.5 MHz band is named as evaluated
// elsewhere, in either number convention.
class BandNoteTest : public ::testing::TestWithParam<NumberLocale> {};

TEST_P(BandNoteTest, NamesOnlyTheBandEvaluatedAtItsTop) {
  ReportSession s{GetParam()};
  s.Start();
  s.Apply(Parsed("HF_SelectClick"));
  const std::string text = BandTableText(EvaluateAllBands(s.Form(), s.Platform()), GetParam());
  const std::string top = "29" + GetParam().decimalPoint + "7 MHz";
  const size_t at =
      text.find("The 28.5 MHz band is evaluated at " + top + ", the top of the band.");
  EXPECT_NE(at, std::string::npos) << text;
  EXPECT_EQ(text.find("is evaluated at"), text.rfind("is evaluated at")) << text;
  s.Apply(Parsed("SHF_SelectClick"));
  const std::string vhf = BandTableText(EvaluateAllBands(s.Form(), s.Platform()), GetParam());
  EXPECT_EQ(vhf.find("is evaluated at"), std::string::npos) << vhf;
}

INSTANTIATE_TEST_SUITE_P(Locales, BandNoteTest,
                         ::testing::Values(NumberLocale{".", ","}, NumberLocale{",", "."}));

TEST(TextReportTest, MessagesAreListedLineByLine) {
  ReportSession s{NumberLocale{}};
  s.Start();
  s.Apply(Parsed("Panel44Click"));
  const std::string text = TextReport(s.Form(), s.Platform(), {}, nullptr);
  EXPECT_NE(text.find("  information: Korrin"), std::string::npos) << text;
  EXPECT_NE(text.find("\n    Help infomation please refer to:-\n"), std::string::npos) << text;
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace korrin::report
