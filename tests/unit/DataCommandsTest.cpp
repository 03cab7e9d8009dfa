// Save Data, Get Data, Default and Cancel on a headless window.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "io/Extended80.h"
#include "io/StationFile.h"
#include "io/StationRecord.h"
#include "tests/unit/StationFileTestSupport.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

using namespace testing_support;

class DataCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { form.FormActivate(); }

  const Control& At(const char* name) const { return form.Board().at(name); }
  void Select(const char* group, int item) { form.Board()[group].itemIndex = item; }

  void SaveAs(const std::string& path) {
    platform.dialogAnswers.push_back(path);
    form.Save_DataClick();
  }
  void Load(const std::string& path) {
    platform.dialogAnswers.push_back(path);
    form.Get_FileClick();
  }
  // The message boxes shown, without the questions a load over unsaved
  // changes asks (answered Replace here).
  std::vector<HeadlessPlatform::Message> Shown() const {
    std::vector<HeadlessPlatform::Message> shown;
    for (const auto& m : platform.messages) {
      if (m.kind != MessageKind::Question) shown.push_back(m);
    }
    return shown;
  }

  HeadlessPlatform platform;
  TForm1 form{platform};
  TempDir dir;
};

// Every control property the window shows.
void ExpectSameBoard(const ControlBoard& a, const ControlBoard& b) {
  ASSERT_EQ(a.names(), b.names());
  for (const std::string& name : a.names()) {
    const Control& x = a.at(name);
    const Control& y = b.at(name);
    EXPECT_EQ(x.text, y.text) << name;
    EXPECT_EQ(x.visible, y.visible) << name;
    EXPECT_EQ(x.color, y.color) << name;
    EXPECT_EQ(x.fontColor, y.fontColor) << name;
    EXPECT_EQ(x.top, y.top) << name;
    EXPECT_EQ(x.itemIndex, y.itemIndex) << name;
    EXPECT_EQ(x.position, y.position) << name;
  }
}

TEST_F(DataCommandsTest, SaveThenLoadGivesEveryFieldBack) {
  StationState& s = form.State();
  Select("RadioGroup1", 5);  // 1296 MHz
  form.RadioGroup1Click();
  Select("RadioGroup4", 3);
  Select("RadioGroup5", 7);
  Select("RadioGroup6", 2);
  Select("RadioGroup7", 9);
  form.RadioGroup7Click();
  Select("RadioGroup2", 1);
  Select("RadioGroup3", 2);
  form.RadioGroup2Click();
  form.Button2Click();  // imperial
  s.DishDiameterCm = 1200;
  s.DishEfficiency = 0.61L;
  s.LnaLossDb = 0.2L;
  s.RxBandwidthHz = 250;
  s.LnaNoiseFigureDb = 0.45L;
  s.LnaGainDb = 30;
  s.LnaRxLossDb = 1.5L;
  s.RxNoiseFigureDb = 2.5L;
  s.SpilloverTempK = 20;
  s.FeedLossDb = 0.7L;
  s.ShfFeedLossDb = 0.9L;
  s.HfFeedLossDb = 0.3L;
  s.MeshWireDiameterMm = 1.2L;
  s.MeshSpacingMm = 10.5L;
  s.FeedThroughExtraK = 5;
  s.YagiGainDbi = 14.2L;
  s.YagiStackStep = 4;
  s.SolarFluxSfu = 121;
  s.LimitStepCount = -7;
  s.BeamBandIndex = 1;
  s.GroundReflection = true;
  s.GroundReflectionFactor = 2.56L;
  s.StandardFCC = false;
  s.StandardAS2772 = true;
  s.IncrementMultiplier = true;
  s.SolidDish = true;
  s.DipoleSelected = false;
  s.BeamSelected = true;
  s.VariableGainSelected = true;
  s.ReservedFlag1 = true;
  s.ReservedFlag2 = false;
  s.ReservedFlag5 = true;
  form.Recalculate();

  const std::string path = dir / "station.rsd";
  SaveAs(path);
  ASSERT_TRUE(platform.messages.empty());
  const StationState saved = s;
  EXPECT_EQ(saved.PowerThousands, 3000);  // watts again after the save

  const std::vector<std::uint8_t> file = ReadBytes(path);
  ASSERT_EQ(file.size(), 304u);
  for (std::size_t offset : {230, 231, 297, 298, 299, 300, 301, 302, 303}) {
    EXPECT_EQ(file[offset], 0) << offset;
  }
  // The power groups are stored as their item numbers.
  EXPECT_EQ(file[256], 3);
  EXPECT_EQ(file[260], 7);
  EXPECT_EQ(file[264], 2);
  EXPECT_EQ(file[268], 9);

  form.BitBtn9Click();  // back to the start-up station
  ASSERT_FALSE(SameStation(saved, s));
  Load(path);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(s.LimitStepCount, -7);
  EXPECT_EQ(s.AveragingIndex, 2);
  EXPECT_EQ(s.PowerThousands, 3000);
  EXPECT_EQ(s.PowerUnits, 9);
  EXPECT_TRUE(SameStation(saved, s));
  EXPECT_EQ(At("RadioGroup1").itemIndex, 5);
  EXPECT_EQ(At("RadioGroup4").itemIndex, 3);
  EXPECT_EQ(At("RadioGroup7").itemIndex, 9);
  EXPECT_EQ(At("RadioGroup2").itemIndex, 1);
  EXPECT_EQ(At("RadioGroup3").itemIndex, 2);
  EXPECT_EQ(At("Button2").text, "Imperial");
  EXPECT_EQ(At("GroundGainSelect").color, Colour::Red);
  EXPECT_EQ(At("Panel75").color, Colour::Green);
  EXPECT_EQ(At("Panel78").color, Colour::ButtonFace);
}

// The HF station with a low-gain antenna, loaded while the VHF-SHF side is
// shown, brings back the HF side, its band and both sides' feed losses.
TEST_F(DataCommandsTest, HfLowGainStationLoadedOnTheVhfSide) {
  StationState& s = form.State();
  form.HF_SelectClick();
  Select("RadioGroup8", 6);  // 21.2 MHz
  form.RadioGroup8Click();
  for (int i = 0; i < 3; ++i) form.SpinButton3UpClick();
  ASSERT_TRUE(s.LowGainSelected);
  const std::string path = dir / "hf.rsd";
  SaveAs(path);
  const StationState saved = s;

  form.SHF_SelectClick();
  ASSERT_TRUE(At("RadioGroup1").visible);
  Load(path);
  EXPECT_TRUE(Shown().empty());
  EXPECT_TRUE(SameStation(saved, s));
  EXPECT_EQ(s.FrequencyMHz, 21.2L);
  EXPECT_EQ(At("RadioGroup8").itemIndex, 6);
  for (const char* shown : {"RadioGroup8", "Panel66", "Panel85", "Panel8", "SHF_Select"}) {
    EXPECT_TRUE(At(shown).visible) << shown;
  }
  for (const char* hidden : {"RadioGroup1", "SystemPerformance", "HF_Select"}) {
    EXPECT_FALSE(At(hidden).visible) << hidden;
  }
  EXPECT_EQ(At("Panel66").color, Colour::TooltipBackground);
  EXPECT_EQ(At("Panel2").color, Colour::ButtonFace);

  // The side switch leads back with each side's own feed loss.
  form.SHF_SelectClick();
  EXPECT_NEAR(static_cast<double>(s.FeedLossDb), 1.0, 1e-12);
  form.HF_SelectClick();
  EXPECT_NEAR(static_cast<double>(s.FeedLossDb), 0.3, 1e-12);
}

TEST_F(DataCommandsTest, TheLastOfTwoRecordsIsLoaded) {
  Select("RadioGroup1", 1);  // 144 MHz
  form.RadioGroup1Click();
  SaveAs(dir / "a.rsd");
  Select("RadioGroup1", 5);  // 1296 MHz
  form.RadioGroup1Click();
  SaveAs(dir / "b.rsd");
  std::vector<std::uint8_t> both = ReadBytes(dir / "a.rsd");
  const std::vector<std::uint8_t> b = ReadBytes(dir / "b.rsd");
  both.insert(both.end(), b.begin(), b.end());
  WriteBytes(dir / "both.rsd", both);

  Select("RadioGroup1", 9);
  form.RadioGroup1Click();
  Load(dir / "both.rsd");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(form.State().FrequencyMHz, 1296);
  EXPECT_EQ(At("RadioGroup1").itemIndex, 5);
}

TEST_F(DataCommandsTest, MetricAndVhfBytesRestoreMetricUnitsAndTheVhfSide) {
  form.HF_SelectClick();
  form.Button2Click();  // imperial, HF side
  StationRecordBytes r = EncodeStationRecord(SoundStation());
  r[276] = 1;
  r[283] = 1;
  r[284] = 0;
  WriteBytes(dir / "m.rsd", Bytes(r));
  Load(dir / "m.rsd");
  EXPECT_TRUE(Shown().empty());
  EXPECT_TRUE(form.State().MetricUnits);
  EXPECT_TRUE(form.State().ShfBandsShown);
  EXPECT_FALSE(form.State().HfBandsShown);
  EXPECT_EQ(At("Button2").text, "Metric");
  EXPECT_TRUE(At("RadioGroup1").visible);
  EXPECT_FALSE(At("RadioGroup8").visible);
  EXPECT_TRUE(At("HF_Select").visible);
  EXPECT_FALSE(At("SHF_Select").visible);
}

TEST_F(DataCommandsTest, AVariableStandardKeepsTheLimitInForce) {
  StationState& s = form.State();
  s.StandardFCC = false;
  s.StandardVariable = true;
  s.RadiationLimit = 7.3L;
  form.Recalculate();
  StationState file = SoundStation();
  file.StandardFCC = false;
  file.StandardVariable = true;
  file.VhfBandIndex = 5;
  WriteBytes(dir / "v.rsd", Bytes(EncodeStationRecord(file)));
  Load(dir / "v.rsd");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(s.FrequencyMHz, 1296);
  EXPECT_EQ(s.RadiationLimit, 7.3L);
  EXPECT_EQ(At("Panel79").color, Colour::Green);
}

struct FamilyCase {
  bool dish;
  bool lowGain;
  bool hf;
  const char* group;  // the family's group panel, highlighted
};

class LoadedFamilyTest : public DataCommandsTest,
                         public ::testing::WithParamInterface<FamilyCase> {};

// Exactly one antenna is in use after a load; the yagi array when the
// record names neither the dish nor a low-gain antenna.
TEST_P(LoadedFamilyTest, ExactlyOneAntennaInUse) {
  const FamilyCase& c = GetParam();
  form.Panel46Click();  // the yagi array before the load
  StationState file = SoundStation();
  file.DishSelected = c.dish;
  file.LowGainSelected = c.lowGain;
  file.ShfBandsShown = !c.hf;
  file.HfBandsShown = c.hf;
  WriteBytes(dir / "f.rsd", Bytes(EncodeStationRecord(file)));
  Load(dir / "f.rsd");
  ASSERT_TRUE(Shown().empty());
  const StationState& s = form.State();
  EXPECT_EQ(s.DishSelected, c.dish);
  EXPECT_EQ(s.LowGainSelected, c.lowGain);
  EXPECT_EQ(s.YagiSelected, !c.dish && !c.lowGain);
  for (const char* group : {"Panel2", "Panel37", "Panel66"}) {
    EXPECT_EQ(At(group).color,
              std::string(group) == c.group ? Colour::TooltipBackground : Colour::ButtonFace)
        << group;
  }
}

INSTANTIATE_TEST_SUITE_P(Families, LoadedFamilyTest,
                         ::testing::Values(FamilyCase{true, false, false, "Panel2"},
                                           FamilyCase{false, false, false, "Panel37"},
                                           FamilyCase{false, false, true, "Panel37"},
                                           FamilyCase{false, true, true, "Panel66"}));

void PutReal(StationRecordBytes& r, std::size_t offset, long double v) {
  const Extended80Bytes b = EncodeExtended80(v);
  std::copy(b.begin(), b.end(), r.begin() + static_cast<std::ptrdiff_t>(offset));
}
void PutInt(StationRecordBytes& r, std::size_t offset, std::int64_t v) {
  for (std::size_t k = 0; k < 4; ++k) r[offset + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

struct RefusalCase {
  const char* reason;  // part of the warning
  std::function<std::vector<std::uint8_t>(StationRecordBytes)> file;
};

std::function<std::vector<std::uint8_t>(StationRecordBytes)> WithReal(std::size_t offset,
                                                                      long double v) {
  return [=](StationRecordBytes r) {
    PutReal(r, offset, v);
    return Bytes(r);
  };
}
std::function<std::vector<std::uint8_t>(StationRecordBytes)> WithInt(std::size_t offset,
                                                                     std::int64_t v) {
  return [=](StationRecordBytes r) {
    PutInt(r, offset, v);
    return Bytes(r);
  };
}
std::function<std::vector<std::uint8_t>(StationRecordBytes)> WithBytes(
    std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
  const std::vector<std::pair<std::size_t, std::uint8_t>> list(bytes);
  return [=](StationRecordBytes r) {
    for (const auto& [offset, value] : list) r[offset] = value;
    return Bytes(r);
  };
}
std::function<std::vector<std::uint8_t>(StationRecordBytes)> Resized(std::size_t size) {
  return [=](StationRecordBytes r) {
    std::vector<std::uint8_t> b = Bytes(r);
    b.resize(size, 0);
    return b;
  };
}

constexpr long double kInf = std::numeric_limits<long double>::infinity();

class RefusedFileTest : public DataCommandsTest,
                        public ::testing::WithParamInterface<RefusalCase> {};

// A refused file warns with its name and the reason and leaves the station
// and the window exactly as they were; only the data panel closes.
TEST_P(RefusedFileTest, LeavesTheStationUnchanged) {
  form.HF_SelectClick();  // a station away from the start-up one
  form.SpinButton3UpClick();
  form.BitBtn3Click();
  const StationState before = form.State();
  ControlBoard board = form.Board();
  board["Panel83"].visible = false;

  const std::string path = dir / "bad.rsd";
  WriteBytes(path, GetParam().file(EncodeStationRecord(SoundStation())));
  Load(path);

  EXPECT_TRUE(SameStation(before, form.State()));
  ExpectSameBoard(board, form.Board());
  ASSERT_EQ(platform.messages.size(), 1u);
  const HeadlessPlatform::Message& m = platform.messages[0];
  EXPECT_EQ(m.kind, MessageKind::Warning);
  EXPECT_NE(m.text.find("\"" + path + "\" was not loaded: "), std::string::npos) << m.text;
  EXPECT_NE(m.text.find(GetParam().reason), std::string::npos) << m.text;
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusedFileTest,
    ::testing::Values(
        RefusalCase{"the file is empty", Resized(0)},
        RefusalCase{"shorter than one station record", Resized(303)},
        RefusalCase{"incomplete station record", Resized(304 + 100)},
        RefusalCase{"the frequency is not a finite number", WithReal(0, std::nanl(""))},
        RefusalCase{"the dish diameter is not a finite number", WithReal(20, -kInf)},
        RefusalCase{"the path loss is not a valid number",
                    WithBytes({{37, 0x00}, {38, 0x07}, {39, 0x40}})},  // integer bit clear
        RefusalCase{"the frequency is not above 0", WithReal(0, 0)},
        RefusalCase{"the dish diameter is not above 0", WithReal(20, -950)},
        RefusalCase{"the receiver bandwidth is not above 0", WithReal(60, 0)},
        RefusalCase{"the mesh wire diameter is not above 0", WithReal(160, 0)},
        RefusalCase{"the mesh spacing is not above 0", WithReal(170, -1)},
        RefusalCase{"the dish efficiency is not above 0 and at most 1", WithReal(40, 0)},
        RefusalCase{"the dish efficiency is not above 0 and at most 1", WithReal(40, 1.01L)},
        RefusalCase{"the feed loss is negative", WithReal(130, -0.1L)},
        RefusalCase{"the HF feed loss is negative", WithReal(150, -1)},
        RefusalCase{"the LNA noise figure is negative", WithReal(70, -0.5L)},
        RefusalCase{"the LNA gain is negative", WithReal(90, -1)},
        RefusalCase{"the single yagi gain is negative", WithReal(190, -1)},
        RefusalCase{"the sky temperature is negative", WithReal(80, -1)},
        RefusalCase{"the spillover temperature is negative", WithReal(120, -30)},
        RefusalCase{"the path loss is negative", WithReal(30, -261)},
        RefusalCase{"the solar flux is below 1", WithReal(200, 0.5L)},
        RefusalCase{"the dish diameter is too large", WithReal(20, 1e300L)},
        RefusalCase{"the feed loss is too large", WithReal(130, 1e5L)},
        RefusalCase{"the frequency is too small", WithReal(0, 1e-4000L)},
        RefusalCase{"the mesh spacing is too small for its wire diameter", WithReal(170, 1e-4L)},
        RefusalCase{"the transmission mode (8) is outside", WithInt(232, 8)},
        RefusalCase{"the six-minute averaging (-1) is outside", WithInt(236, -1)},
        RefusalCase{"the yagi stacking step (16) is outside", WithInt(244, 16)},
        RefusalCase{"the count of limit steps", WithInt(248, 2147483647)},
        RefusalCase{"the HF band (9) is outside", WithInt(252, 9)},
        RefusalCase{"the thousands digit of the power (10) is outside", WithInt(256, 10)},
        RefusalCase{"the units digit of the power (-1) is outside", WithInt(268, -1)},
        RefusalCase{"the VHF-SHF band (12) is outside", WithInt(272, 12)},
        RefusalCase{"the metric units flag holds 2 instead of 0 or 1", WithBytes({{276, 2}})},
        RefusalCase{"the low-gain selection flag holds 255", WithBytes({{296, 255}})},
        RefusalCase{"not name exactly one band side", WithBytes({{283, 1}, {284, 1}})},
        RefusalCase{"not name exactly one band side", WithBytes({{283, 0}, {284, 0}})},
        RefusalCase{"not name exactly one exposure standard", WithBytes({{285, 1}})},
        RefusalCase{"not name exactly one exposure standard", WithBytes({{287, 0}})},
        RefusalCase{"both the dish and a low-gain antenna", WithBytes({{296, 1}})}));

TEST_F(DataCommandsTest, AnUnopenableFileWarnsAndChangesNothing) {
  const StationState before = form.State();
  Load(dir / "none.rsd");
  Load(dir.path().string());
  Load("/dev/zero");
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[0].text,
            "File \"" + (dir / "none.rsd") + "\" not found, create one first with Save Data!");
  // What is there but is no station file is told what is wrong with it.
  EXPECT_EQ(platform.messages[1].text,
            "Station file \"" + dir.path().string() +
                "\" was not loaded: it is a folder, not a station file.");
  EXPECT_EQ(platform.messages[2].text,
            "Station file \"/dev/zero\" was not loaded: it is not a regular file (a device, a "
            "pipe or a socket).");
  for (const auto& m : platform.messages) EXPECT_EQ(m.kind, MessageKind::Warning);
  EXPECT_TRUE(SameStation(before, form.State()));
}

TEST_F(DataCommandsTest, DefaultLoadsDefaultRsdFromTheCurrentFolder) {
  CurrentDir here(dir.path());
  const StationState before = form.State();
  form.DefaultDataClick();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "File \"default.rsd\" not found, create one first with Save Data!");
  EXPECT_TRUE(SameStation(before, form.State()));
  EXPECT_TRUE(platform.openRequests.empty());

  StationState file = SoundStation();
  file.VhfBandIndex = 1;  // 144 MHz
  WriteBytes("default.rsd", Bytes(EncodeStationRecord(file)));
  form.DefaultDataClick();
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(form.State().FrequencyMHz, 144);
  EXPECT_FALSE(form.State().DefaultLoadRequested);

  form.Get_FileClick();  // cancelled
  ASSERT_EQ(platform.openRequests.size(), 1u);
  EXPECT_EQ(platform.openRequests[0].fileName, "default.rsd");
}

TEST_F(DataCommandsTest, DialogsProposeTheNameTheyLastReturned) {
  form.Get_FileClick();  // cancelled
  SaveAs(dir / "a.rsd");
  Load(dir / "a.rsd");
  form.Get_FileClick();
  form.Save_DataClick();
  ASSERT_EQ(platform.openRequests.size(), 3u);
  ASSERT_EQ(platform.saveRequests.size(), 2u);
  for (const FileDialogRequest& r : {platform.openRequests[0], platform.saveRequests[0]}) {
    EXPECT_EQ(r.fileName, "*.rsd");
    EXPECT_EQ(r.filter, "Data|*.rsd");
    EXPECT_EQ(r.defaultExtension, "rsd");
  }
  EXPECT_EQ(platform.openRequests[2].fileName, dir / "a.rsd");
  EXPECT_EQ(platform.saveRequests[1].fileName, dir / "a.rsd");
  EXPECT_TRUE(platform.saveRequests[0].overwritePrompt);
  EXPECT_FALSE(platform.openRequests[0].overwritePrompt);
}

// A cancelled open dialog loads nothing, not even the file loaded before.
TEST_F(DataCommandsTest, ACancelledOpenDialogChangesNothing) {
  SaveAs(dir / "a.rsd");
  Load(dir / "a.rsd");
  Select("RadioGroup1", 5);
  form.RadioGroup1Click();
  form.BitBtn3Click();
  const StationState before = form.State();
  form.Get_FileClick();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(SameStation(before, form.State()));
  EXPECT_EQ(form.State().FrequencyMHz, 1296);
  EXPECT_FALSE(At("Panel83").visible);
}

TEST_F(DataCommandsTest, ACancelledSaveWritesNothingAndKeepsWatts) {
  form.BitBtn3Click();
  StationState expected = form.State();
  expected.HfBandIndex = At("RadioGroup8").itemIndex;  // recorded by every save
  form.Save_DataClick();                               // cancelled
  EXPECT_TRUE(SameStation(expected, form.State()));
  EXPECT_TRUE(fs::is_empty(dir.path()));
  EXPECT_FALSE(At("Panel83").visible);
}

TEST_F(DataCommandsTest, AFailedSaveWarnsAndKeepsTheOldFile) {
  const std::string path = dir / "station.rsd";
  SaveAs(path);
  const std::vector<std::uint8_t> old = ReadBytes(path);
  Select("RadioGroup1", 5);
  form.RadioGroup1Click();
  // The file's name through a link that leads round in a loop.
  const std::string loop = dir / "loop.rsd";
  fs::create_symlink("loop.rsd", loop);
  SaveAs(loop);
  SaveAs(dir / "none/station.rsd");
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
  EXPECT_EQ(platform.messages[0].text,
            "Station file \"" + loop + "\" was not saved: Too many levels of symbolic links.");
  EXPECT_TRUE(fs::is_symlink(loop));
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_FALSE(fs::exists(dir / "none"));
  EXPECT_EQ(form.State().PowerThousands, 1000);  // watts again
}

TEST_F(DataCommandsTest, CancelOnTheDataPanelResetsTheStation) {
  form.Panel46Click();
  form.BitBtn3Click();
  EXPECT_TRUE(At("Panel83").visible);
  form.BitBtn9Click();
  EXPECT_TRUE(form.State().DishSelected);
  EXPECT_FALSE(form.State().YagiSelected);
  EXPECT_FALSE(At("Panel83").visible);
}

// Inputs the fuzzer once found, and its seeds: each is refused with the
// station unchanged, or loads a station that calculates.
TEST_F(DataCommandsTest, FuzzerInputsAreRefusedOrLoadCleanly) {
  const fs::path inputs = fs::path(KORRIN_TEST_DATA_DIR) / "fuzz";
  ASSERT_TRUE(fs::is_directory(inputs));
  int count = 0;
  for (const auto& entry : fs::directory_iterator(inputs)) {
    if (!entry.is_regular_file()) continue;
    ++count;
    SCOPED_TRACE(entry.path().filename().string());
    const StationState before = form.State();
    platform.messages.clear();
    Load(entry.path().string());
    const StationState& s = form.State();
    if (!platform.messages.empty()) {
      EXPECT_TRUE(SameStation(before, s));
      continue;
    }
    EXPECT_EQ(FirstNonFiniteField(s), nullptr);
    EXPECT_EQ(s.DishSelected + s.YagiSelected + s.LowGainSelected, 1);
    EXPECT_NE(s.ShfBandsShown, s.HfBandsShown);
  }
  EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace korrin
