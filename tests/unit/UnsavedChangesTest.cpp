// Unsaved changes on a headless window: which commands ask before they
// would lose them, what each answer does, when the station counts as saved,
// the title that names the station file and the folder the file dialogs
// start in.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "io/StationRecord.h"
#include "tests/unit/StationFileTestSupport.h"
#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin {
namespace {

using namespace testing_support;

constexpr const char* kCloseQuestion = "Save changes to the station before closing?";
constexpr const char* kResetQuestion = "Reset every input to its start-up value?";
constexpr const char* kReplaceQuestion = "Replace the station with the one in ";

// The record of a freshly started window.
StationRecordBytes StartUpRecord() {
  HeadlessPlatform platform;
  TForm1 form(platform);
  form.FormActivate();
  return form.CurrentRecord();
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  return ReadBytes(path);
}

// One window with a private folder; the station files of the cases lie in it.
class Window {
 public:
  Window() { form.FormActivate(); }

  // Power 1000 W instead of 1500 W: a change the record holds.
  void Change() {
    form.Board()["RadioGroup5"].itemIndex = 0;
    form.RadioGroup5Click();
  }
  bool SaveAs(const std::optional<std::string>& path) {
    platform.dialogAnswers.push_back(path);
    const std::size_t shown = Warnings();
    form.Save_DataClick();
    return Warnings() == shown;
  }
  void Load(const std::string& path) {
    platform.dialogAnswers.push_back(path);
    form.Get_FileClick();
  }
  std::size_t Warnings() const {
    std::size_t n = 0;
    for (const auto& m : platform.messages) n += m.kind == MessageKind::Warning ? 1 : 0;
    return n;
  }
  // Another station (1296 MHz) saved by another window.
  StationRecordBytes WriteOtherStation(const std::string& path) const {
    HeadlessPlatform otherPlatform;
    TForm1 other(otherPlatform);
    other.FormActivate();
    other.Board()["RadioGroup1"].itemIndex = 5;
    other.RadioGroup1Click();
    otherPlatform.dialogAnswers.push_back(path);
    other.Save_DataClick();
    EXPECT_TRUE(otherPlatform.messages.empty());
    return other.CurrentRecord();
  }

  HeadlessPlatform platform;
  TForm1 form{platform};
  TempDir dir;
};

// ---- the guarded commands ----------------------------------------------------

enum class Command { Close, DataCancel, GetData, Default };
enum class Before { StartUp, Saved, Changed };  // the station before the command
enum class After { AsBefore, StartUp, OtherFile };
enum class SaveDialog { None, Cancelled, Good, Unwritable };

struct GuardCase {
  const char* label;
  Command command;
  Before before;
  std::optional<Answer> answer;  // the answer given; nullopt: no question is expected
  SaveDialog save;               // the save dialog after Close's Save
  After after;
  bool ends;  // the program ends
};

std::ostream& operator<<(std::ostream& os, const GuardCase& c) {
  return os << c.label;
}

class GuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(GuardTest, AsksOnlyWithUnsavedChangesAndDoesWhatTheAnswerSays) {
  const GuardCase& c = GetParam();
  Window w;
  const std::string kept = w.dir / "kept.rsd";
  const std::string other = w.dir / "other.rsd";
  const std::string saveTo = w.dir / "save.rsd";
  const StationRecordBytes otherRecord = w.WriteOtherStation(other);
  const std::vector<std::uint8_t> otherBytes = FileBytes(other);
  // Default reads default.rsd in the current folder: the other station.
  CurrentDir here(w.dir.path());
  w.WriteOtherStation(w.dir / "default.rsd");

  if (c.before != Before::StartUp) w.Change();
  if (c.before == Before::Saved) {
    ASSERT_TRUE(w.SaveAs(kept));
  }
  ASSERT_EQ(w.form.Unsaved(), c.before == Before::Changed);
  const StationRecordBytes before = w.form.CurrentRecord();
  const std::vector<std::uint8_t> keptBytes = FileBytes(kept);

  if (c.answer) w.platform.questionAnswers.push_back(*c.answer);
  switch (c.save) {
    case SaveDialog::None:
    case SaveDialog::Cancelled:
      break;
    case SaveDialog::Good:
      w.platform.dialogAnswers.push_back(saveTo);
      break;
    case SaveDialog::Unwritable:
      w.platform.dialogAnswers.push_back(w.dir / "no-such-folder/save.rsd");
      break;
  }
  switch (c.command) {
    case Command::Close:
      w.form.BitBtn1Click();
      break;
    case Command::DataCancel:
      w.form.BitBtn3Click();
      w.form.BitBtn9Click();
      break;
    case Command::GetData:
      w.form.BitBtn3Click();
      w.Load(other);
      break;
    case Command::Default:
      w.form.BitBtn3Click();
      w.form.DefaultDataClick();
      break;
  }

  // The question, only with unsaved changes.
  if (c.answer) {
    ASSERT_EQ(w.platform.questions.size(), 1u);
    const Question& q = w.platform.questions[0];
    switch (c.command) {
      case Command::Close:
        EXPECT_EQ(q.text, kCloseQuestion);
        EXPECT_EQ(q.answers, (std::vector{Answer::Save, Answer::Discard, Answer::Cancel}));
        EXPECT_EQ(q.goAhead, Answer::Discard);
        EXPECT_EQ(q.escape, Answer::Cancel);
        break;
      case Command::DataCancel:
        EXPECT_EQ(q.text, kResetQuestion);
        EXPECT_EQ(q.answers, (std::vector{Answer::Reset, Answer::Keep}));
        EXPECT_EQ(q.goAhead, Answer::Reset);
        EXPECT_EQ(q.escape, Answer::Keep);
        break;
      case Command::GetData:
      case Command::Default:
        EXPECT_EQ(q.text.rfind(kReplaceQuestion, 0), 0u) << q.text;
        EXPECT_EQ(q.answers, (std::vector{Answer::Replace, Answer::Keep}));
        EXPECT_EQ(q.goAhead, Answer::Replace);
        EXPECT_EQ(q.escape, Answer::Keep);
        break;
    }
  } else {
    EXPECT_TRUE(w.platform.questions.empty());
  }

  // The station afterwards.
  switch (c.after) {
    case After::AsBefore:
      EXPECT_EQ(w.form.CurrentRecord(), before);
      break;
    case After::StartUp:
      EXPECT_EQ(w.form.CurrentRecord(), StartUpRecord());
      break;
    case After::OtherFile:
      EXPECT_EQ(w.form.CurrentRecord(), otherRecord);
      break;
  }
  EXPECT_EQ(w.platform.exitCode.has_value(), c.ends);
  if (c.ends) {
    EXPECT_EQ(*w.platform.exitCode, 0);
  }
  EXPECT_FALSE(w.form.Board().at("Panel83").visible);

  // The files: only Save writes, and it writes the station as it stood.
  EXPECT_EQ(FileBytes(other), otherBytes);
  EXPECT_EQ(FileBytes(kept), keptBytes);
  if (c.save == SaveDialog::Good) {
    EXPECT_EQ(FileBytes(saveTo), Bytes(before));
    EXPECT_FALSE(w.form.Unsaved());
  } else {
    EXPECT_FALSE(std::filesystem::exists(saveTo));
  }
  EXPECT_EQ(w.Warnings(), c.save == SaveDialog::Unwritable ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, GuardTest,
    ::testing::Values(GuardCase{"close at start-up", Command::Close, Before::StartUp, std::nullopt,
                                SaveDialog::None, After::AsBefore, true},
                      GuardCase{"close after a save", Command::Close, Before::Saved, std::nullopt,
                                SaveDialog::None, After::AsBefore, true},
                      GuardCase{"close unsaved, Discard", Command::Close, Before::Changed,
                                Answer::Discard, SaveDialog::None, After::AsBefore, true},
                      GuardCase{"close unsaved, Cancel", Command::Close, Before::Changed,
                                Answer::Cancel, SaveDialog::None, After::AsBefore, false},
                      GuardCase{"close unsaved, Save", Command::Close, Before::Changed,
                                Answer::Save, SaveDialog::Good, After::AsBefore, true},
                      GuardCase{"close unsaved, Save, dialog cancelled", Command::Close,
                                Before::Changed, Answer::Save, SaveDialog::Cancelled,
                                After::AsBefore, false},
                      GuardCase{"close unsaved, Save fails", Command::Close, Before::Changed,
                                Answer::Save, SaveDialog::Unwritable, After::AsBefore, false},
                      GuardCase{"data cancel at start-up", Command::DataCancel, Before::StartUp,
                                std::nullopt, SaveDialog::None, After::StartUp, false},
                      GuardCase{"data cancel after a save resets", Command::DataCancel,
                                Before::Saved, std::nullopt, SaveDialog::None, After::StartUp,
                                false},
                      GuardCase{"data cancel unsaved, Reset", Command::DataCancel, Before::Changed,
                                Answer::Reset, SaveDialog::None, After::StartUp, false},
                      GuardCase{"data cancel unsaved, Keep", Command::DataCancel, Before::Changed,
                                Answer::Keep, SaveDialog::None, After::AsBefore, false},
                      GuardCase{"get data at start-up", Command::GetData, Before::StartUp,
                                std::nullopt, SaveDialog::None, After::OtherFile, false},
                      GuardCase{"get data after a save", Command::GetData, Before::Saved,
                                std::nullopt, SaveDialog::None, After::OtherFile, false},
                      GuardCase{"get data unsaved, Replace", Command::GetData, Before::Changed,
                                Answer::Replace, SaveDialog::None, After::OtherFile, false},
                      GuardCase{"get data unsaved, Keep", Command::GetData, Before::Changed,
                                Answer::Keep, SaveDialog::None, After::AsBefore, false},
                      GuardCase{"default at start-up", Command::Default, Before::StartUp,
                                std::nullopt, SaveDialog::None, After::OtherFile, false},
                      GuardCase{"default unsaved, Replace", Command::Default, Before::Changed,
                                Answer::Replace, SaveDialog::None, After::OtherFile, false},
                      GuardCase{"default unsaved, Keep", Command::Default, Before::Changed,
                                Answer::Keep, SaveDialog::None, After::AsBefore, false}));

// Unasked, the headless platform goes ahead and lists the question with
// its answer, so that a scripted run ends with the station it always did.
TEST(HeadlessQuestionTest, UnscriptedQuestionsGoAheadAndAreListed) {
  Window w;
  w.Change();
  w.form.BitBtn3Click();
  w.form.BitBtn9Click();
  EXPECT_EQ(w.form.CurrentRecord(), StartUpRecord());
  ASSERT_EQ(w.platform.messages.size(), 1u);
  EXPECT_EQ(w.platform.messages[0].kind, MessageKind::Question);
  EXPECT_EQ(w.platform.messages[0].text, kResetQuestion);
  EXPECT_EQ(w.platform.messages[0].answer, "Reset");
  EXPECT_STREQ(MessageKindName(MessageKind::Question), "question");
}

// ---- when the station counts as saved ------------------------------------------

struct CleanCase {
  const char* label;
  std::function<void(Window&)> steps;
  bool unsaved;
  const char* title;
};

std::ostream& operator<<(std::ostream& os, const CleanCase& c) {
  return os << c.label;
}

class CleanRecordTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanRecordTest, UnsavedAndTitle) {
  const CleanCase& c = GetParam();
  Window w;
  c.steps(w);
  EXPECT_EQ(w.form.Unsaved(), c.unsaved);
  EXPECT_EQ(w.form.WindowTitle(), c.title);
}

// A record of zeros: refused (no band side, no standard).
void WriteRefusedFile(Window& w, const std::string& name) {
  WriteBytes(w.dir / name, std::vector<std::uint8_t>(kStationRecordSize, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CleanRecordTest,
    ::testing::Values(CleanCase{"start-up", [](Window&) {}, false, "Korrin"},
                      CleanCase{"a change", [](Window& w) { w.Change(); }, true, "Korrin"},
                      CleanCase{"a change undone",
                                [](Window& w) {
                                  w.Change();
                                  w.form.Board()["RadioGroup5"].itemIndex = 5;
                                  w.form.RadioGroup5Click();
                                },
                                false, "Korrin"},
                      CleanCase{"opening and closing the data panel",
                                [](Window& w) {
                                  w.form.BitBtn3Click();
                                  w.form.Memo2Click();
                                  w.form.SpeedButton1Click();
                                },
                                false, "Korrin"},
                      CleanCase{"a change saved",
                                [](Window& w) {
                                  w.Change();
                                  ASSERT_TRUE(w.SaveAs(w.dir / "a.rsd"));
                                },
                                false, "Korrin \u2014 a.rsd"},
                      CleanCase{"a change after the save",
                                [](Window& w) {
                                  ASSERT_TRUE(w.SaveAs(w.dir / "a.rsd"));
                                  w.Change();
                                },
                                true, "Korrin \u2014 a.rsd"},
                      CleanCase{"a cancelled save",
                                [](Window& w) {
                                  w.Change();
                                  w.SaveAs(std::nullopt);
                                },
                                true, "Korrin"},
                      CleanCase{"a failed save",
                                [](Window& w) {
                                  w.Change();
                                  ASSERT_FALSE(w.SaveAs(w.dir / "gone/a.rsd"));
                                },
                                true, "Korrin"},
                      CleanCase{"a load over a change",
                                [](Window& w) {
                                  w.WriteOtherStation(w.dir / "b.rsd");
                                  w.Change();
                                  w.Load(w.dir / "b.rsd");
                                },
                                false, "Korrin \u2014 b.rsd"},
                      CleanCase{"a refused load over a change",
                                [](Window& w) {
                                  WriteRefusedFile(w, "zeros.rsd");
                                  w.Change();
                                  w.Load(w.dir / "zeros.rsd");
                                  ASSERT_EQ(w.Warnings(), 1u);
                                },
                                true, "Korrin"},
                      CleanCase{"a refused load after a save moves nothing",
                                [](Window& w) {
                                  WriteRefusedFile(w, "zeros.rsd");
                                  ASSERT_TRUE(w.SaveAs(w.dir / "a.rsd"));
                                  w.Load(w.dir / "zeros.rsd");
                                  w.Load(w.dir / "missing.rsd");
                                  ASSERT_EQ(w.Warnings(), 2u);
                                },
                                false, "Korrin \u2014 a.rsd"},
                      CleanCase{"a refused load then a change",
                                [](Window& w) {
                                  WriteRefusedFile(w, "zeros.rsd");
                                  w.Load(w.dir / "zeros.rsd");
                                  w.Change();
                                },
                                true, "Korrin"},
                      CleanCase{"a load then Cancel and Reset",
                                [](Window& w) {
                                  w.WriteOtherStation(w.dir / "b.rsd");
                                  w.Load(w.dir / "b.rsd");
                                  w.form.BitBtn9Click();  // clean: resets unasked
                                },
                                true, "Korrin \u2014 b.rsd"},
                      CleanCase{"Default loads default.rsd",
                                [](Window& w) {
                                  w.WriteOtherStation(w.dir / "default.rsd");
                                  CurrentDir here(w.dir.path());
                                  w.Change();
                                  w.form.DefaultDataClick();
                                },
                                false, "Korrin \u2014 default.rsd"}));

// What Save Data writes is the record the window compares with: after a
// save the file holds exactly the station's record, on either side.
struct SavedStationCase {
  const char* label;
  std::function<void(TForm1&)> make;
};

std::ostream& operator<<(std::ostream& os, const SavedStationCase& c) {
  return os << c.label;
}

class SavedRecordTest : public ::testing::TestWithParam<SavedStationCase> {};

TEST_P(SavedRecordTest, TheFileHoldsTheCurrentRecord) {
  Window w;
  GetParam().make(w.form);
  ASSERT_TRUE(w.SaveAs(w.dir / "s.rsd"));
  EXPECT_EQ(FileBytes(w.dir / "s.rsd"), Bytes(w.form.CurrentRecord()));
  EXPECT_FALSE(w.form.Unsaved());
}

INSTANTIATE_TEST_SUITE_P(Stations, SavedRecordTest,
                         ::testing::Values(SavedStationCase{"start-up", [](TForm1&) {}},
                                           SavedStationCase{"HF, low-gain, imperial",
                                                            [](TForm1& f) {
                                                              f.HF_SelectClick();
                                                              f.Board()["RadioGroup8"].itemIndex =
                                                                  6;
                                                              f.RadioGroup8Click();
                                                              f.Button2Click();
                                                            }},
                                           SavedStationCase{
                                               "yagi array, 5678 W", [](TForm1& f) {
                                                 f.Panel46Click();
                                                 f.Board()["RadioGroup4"].itemIndex = 5;
                                                 f.Board()["RadioGroup5"].itemIndex = 6;
                                                 f.Board()["RadioGroup6"].itemIndex = 7;
                                                 f.Board()["RadioGroup7"].itemIndex = 8;
                                                 f.RadioGroup7Click();
                                                 f.SpinButton7UpClick();
                                               }}));

// ---- the folder the file dialogs start in --------------------------------------

TEST(StationFolderTest, DialogsStartWhereTheLastStationFileWasSavedOrLoaded) {
  Window w;
  TempDir elsewhere;
  std::filesystem::create_directories(elsewhere.path() / "sub");
  const std::string loadFrom = elsewhere / "sub/b.rsd";
  w.WriteOtherStation(loadFrom);
  WriteRefusedFile(w, "zeros.rsd");

  w.platform.dialogAnswers.push_back(std::nullopt);
  w.form.Get_FileClick();  // before any: the documents folder
  ASSERT_TRUE(w.SaveAs(w.dir / "a.rsd"));
  w.Load(w.dir / "zeros.rsd");  // refused: the folder stays
  w.SaveAs(std::nullopt);
  w.Load(loadFrom);
  w.SaveAs(std::nullopt);

  const std::string saved = w.dir.path().string();
  const std::string loaded = (elsewhere.path() / "sub").string();
  const auto folder = [](const FileDialogRequest& r) { return r.folder; };
  ASSERT_EQ(w.platform.openRequests.size(), 3u);
  ASSERT_EQ(w.platform.saveRequests.size(), 3u);
  EXPECT_EQ(folder(w.platform.openRequests[0]), "");
  EXPECT_EQ(folder(w.platform.saveRequests[0]), "");
  EXPECT_EQ(folder(w.platform.openRequests[1]), saved);
  EXPECT_EQ(folder(w.platform.saveRequests[1]), saved);
  EXPECT_EQ(folder(w.platform.openRequests[2]), saved);
  EXPECT_EQ(folder(w.platform.saveRequests[2]), loaded);
  EXPECT_EQ(w.platform.stationFolder, loaded);
}

}  // namespace
}  // namespace korrin
