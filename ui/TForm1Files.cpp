// The data panel and the station data file commands: Save Data, Get Data,
// Default and Cancel, and how the window follows a loaded station.
#include <cctype>
#include <filesystem>
#include <system_error>

#include "io/StationFile.h"
#include "io/StationRecord.h"
#include "ui/TForm1.h"

namespace korrin {

namespace {

constexpr const char* kDefaultFileName = "default.rsd";

std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

std::string NotLoaded(const std::string& name, const std::string& reason) {
  return "Station file " + Quoted(name) + " was not loaded: " + reason + ".";
}

// True when `text` shows "nan" or "inf" as a word of its own, in any case:
// what the number texts make of a value that is not a finite number.
bool ShowsNonNumber(const std::string& text) {
  auto letter = [&text](std::size_t i) {
    return i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])) != 0;
  };
  for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
    std::string word = text.substr(i, 3);
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((word == "nan" || word == "inf") && (i == 0 || !letter(i - 1)) && !letter(i + 3)) {
      return true;
    }
  }
  return false;
}

// The folder a station file lies in, as an absolute path when it can be
// made one.
std::string FolderOf(const std::string& fileName) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(fileName, error);
  if (error) path = fileName;
  return path.parent_path().string();
}

}  // namespace

void TForm1::BitBtn3Click() {
  board_["Panel83"].visible = true;
  Recalculate();
}

void TForm1::BitBtn9Click() {
  if (Unsaved()) {
    const Question question{"Reset every input to its start-up value?",
                            {Answer::Reset, Answer::Keep},
                            Answer::Reset,
                            Answer::Keep};
    if (platform_.Ask(question) != Answer::Reset) {
      board_["Panel83"].visible = false;
      return;
    }
  }
  SetUp();
  board_["Panel83"].visible = false;
  Recalculate();
}

void TForm1::Save_DataClick() {
  SaveStation();
}

bool TForm1::SaveStation() {
  // The shown band's own path loss and sky temperature go into the file.
  if (s_.ShfBandsShown) RadioGroup1Click();
  if (s_.HfBandsShown) RadioGroup8Click();
  s_.VhfBandIndex = board_["RadioGroup1"].itemIndex;
  s_.HfBandIndex = board_["RadioGroup8"].itemIndex;
  // The file keeps the selected item numbers of the power groups, not watts.
  s_.PowerThousands = board_["RadioGroup4"].itemIndex;
  s_.PowerHundreds = board_["RadioGroup5"].itemIndex;
  s_.PowerTens = board_["RadioGroup6"].itemIndex;
  s_.PowerUnits = board_["RadioGroup7"].itemIndex;

  FileDialogRequest request;
  request.fileName = saveDialogFileName_;
  request.folder = platform_.StationFolder();
  request.overwritePrompt = true;
  const auto name = platform_.ExecuteSaveDialog(request);
  bool saved = false;
  if (name) {
    saveDialogFileName_ = *name;
    if (const auto error = WriteStationFile(*name, EncodeStationRecord(s_))) {
      platform_.ShowMessage(MessageKind::Warning,
                            "Station file " + Quoted(*name) + " was not saved: " + *error + ".");
    } else {
      saved = true;
    }
  }

  // Back to watts.
  RadioGroup4Click();
  RadioGroup5Click();
  RadioGroup6Click();
  RadioGroup7Click();
  board_["Panel83"].visible = false;
  Recalculate();
  if (saved) MarkClean(*name);
  return saved;
}

bool TForm1::MayReplaceStation(const std::string& name) {
  if (!Unsaved()) return true;
  const Question question{
      "Replace the station with the one in " + Quoted(name) + "? Its unsaved changes will be lost.",
      {Answer::Replace, Answer::Keep},
      Answer::Replace,
      Answer::Keep};
  return platform_.Ask(question) == Answer::Replace;
}

void TForm1::MarkClean(const std::string& fileName) {
  cleanRecord_ = CurrentRecord();
  stationFileName_ = fileName;
  platform_.RememberStationFolder(FolderOf(fileName));
}

StationRecordBytes TForm1::CurrentRecord() const {
  // As Save Data writes it: the selected items of the band and power groups.
  StationState station = s_;
  station.VhfBandIndex = board_.at("RadioGroup1").itemIndex;
  station.HfBandIndex = board_.at("RadioGroup8").itemIndex;
  station.PowerThousands = board_.at("RadioGroup4").itemIndex;
  station.PowerHundreds = board_.at("RadioGroup5").itemIndex;
  station.PowerTens = board_.at("RadioGroup6").itemIndex;
  station.PowerUnits = board_.at("RadioGroup7").itemIndex;
  return EncodeStationRecord(station);
}

bool TForm1::Unsaved() const {
  return activated_ && CurrentRecord() != cleanRecord_;
}

std::string TForm1::WindowTitle() const {
  if (stationFileName_.empty()) return "Korrin";
  const std::size_t slash = stationFileName_.find_last_of("/\\");
  const std::string base =
      slash == std::string::npos ? stationFileName_ : stationFileName_.substr(slash + 1);
  return "Korrin \u2014 " + base;
}

bool TForm1::CloseQuery() {
  if (!Unsaved()) return true;
  const Question question{"Save changes to the station before closing?",
                          {Answer::Save, Answer::Discard, Answer::Cancel},
                          Answer::Discard,
                          Answer::Cancel};
  switch (platform_.Ask(question)) {
    case Answer::Save:
      return SaveStation();
    case Answer::Discard:
      return true;
    default:
      return false;
  }
}

void TForm1::DefaultDataClick() {
  s_.DefaultLoadRequested = true;
  Get_FileClick();
}

void TForm1::Get_FileClick() {
  std::string name;
  if (s_.DefaultLoadRequested) {
    openDialogFileName_ = kDefaultFileName;
    s_.DefaultLoadRequested = false;
    name = kDefaultFileName;
  } else {
    FileDialogRequest request;
    request.fileName = openDialogFileName_;
    request.folder = platform_.StationFolder();
    const auto chosen = platform_.ExecuteOpenDialog(request);
    if (!chosen) {  // a cancelled dialog loads nothing
      board_["Panel83"].visible = false;
      return;
    }
    openDialogFileName_ = *chosen;
    name = *chosen;
  }

  // Every refusal leaves the station as it was; only the panel closes.
  auto refuse = [this](const std::string& text) {
    board_["Panel83"].visible = false;
    platform_.ShowMessage(MessageKind::Warning, text);
  };

  const StationFileRead read = ReadStationFile(name);
  if (read.status == StationFileRead::Status::CannotOpen) {
    s_.DataFileMissing = true;
    refuse("File " + Quoted(name) + " not found, create one first with Save Data!");
    s_.DataFileMissing = false;
    return;
  }
  if (read.status != StationFileRead::Status::Loaded) {
    refuse(NotLoaded(name, read.reason));
    return;
  }
  if (const auto problem = CheckStationRecord(read.record)) {
    refuse(NotLoaded(name, *problem));
    return;
  }

  if (!MayReplaceStation(name)) {
    board_["Panel83"].visible = false;
    return;
  }

  const StationState stationBefore = s_;
  const ControlBoard boardBefore = board_;
  DecodeStationRecord(read.record, s_);
  // The record has no place for the yagi array: it was the antenna in use
  // when neither the dish nor a low-gain antenna was.
  s_.YagiSelected = !s_.DishSelected && !s_.LowGainSelected;
  RestoreWindowFromStation();
  s_.DataFileMissing = false;
  Recalculate();

  // A last guard: whatever the file held, the station must still calculate.
  bool calculable = FirstNonFiniteField(s_) == nullptr;
  for (const std::string& control : board_.names()) {
    if (ShowsNonNumber(board_.at(control).text)) calculable = false;
  }
  if (!calculable) {
    s_ = stationBefore;
    for (const std::string& control : boardBefore.names()) {
      board_[control] = boardBefore.at(control);
    }
    refuse(NotLoaded(name, "its values give results that cannot be calculated"));
    return;
  }
  MarkClean(name);
}

void TForm1::RestoreWindowFromStation() {
  auto show = [this](const char* control, bool visible) { board_[control].visible = visible; };
  auto groundFactor = [this] { s_.GroundReflectionFactor = s_.GroundReflection ? 2.56L : 1.0L; };

  groundFactor();
  board_["GroundGainSelect"].color = s_.GroundReflection ? Colour::Red : Colour::ButtonFace;
  PaintStandards();
  if (s_.ShfBandsShown) {
    board_["RadioGroup1"].itemIndex = s_.VhfBandIndex;
    RadioGroup1Click();
    show("Panel66", false);
    show("Panel85", false);
    show("SystemPerformance", true);
    show("Panel8", false);
  }
  if (s_.HfBandsShown) {
    show("Panel66", true);
    show("Panel85", true);
    show("Panel8", true);
    show("SystemPerformance", false);
    board_["RadioGroup8"].itemIndex = s_.HfBandIndex;
    RadioGroup8Click();
  }
  // Exactly one family flag is set: the nine family panels follow it.
  PaintAntennaFamily();
  if (s_.DishSelected) {
    show("Panel66", false);
    show("Panel85", false);
    show("SystemPerformance", true);
    show("Panel8", false);
  }
  board_["Button2"].text = s_.MetricUnits ? "Metric" : "Imperial";

  // The record holds the power groups' item numbers; their handlers make
  // watts of them.
  board_["RadioGroup4"].itemIndex = s_.PowerThousands;
  RadioGroup4Click();
  board_["RadioGroup5"].itemIndex = s_.PowerHundreds;
  RadioGroup5Click();
  board_["RadioGroup6"].itemIndex = s_.PowerTens;
  RadioGroup6Click();
  board_["RadioGroup7"].itemIndex = s_.PowerUnits;
  RadioGroup7Click();

  board_["RadioGroup2"].itemIndex = s_.ModeIndex;
  board_["RadioGroup3"].itemIndex = s_.AveragingIndex;
  RadioGroup2Click();

  // The band groups and the side switch show the loaded side, so that the
  // switch leads to the other side and keeps each side's feed loss.
  show("RadioGroup8", s_.HfBandsShown);
  show("RadioGroup1", s_.ShfBandsShown);
  show("SHF_Select", s_.HfBandsShown);
  show("HF_Select", s_.ShfBandsShown);
  groundFactor();
  show("Panel83", false);
}

}  // namespace korrin
