// The main window's logic, without a toolkit: the station, the control
// board and every handler of the window by its name.
#pragma once

#include <string>

#include "core/Calc.h"
#include "core/StationState.h"
#include "core/Zone.h"
#include "io/StationRecord.h"
#include "ui/ControlBoard.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"

namespace korrin {

class TForm1 {
 public:
  TForm1(Platform& platform, NumberLocale locale = {});

  StationState& State() { return s_; }
  const StationState& State() const { return s_; }
  ControlBoard& Board() { return board_; }
  const ControlBoard& Board() const { return board_; }
  const NumberLocale& Locale() const { return locale_; }

  // Activation of the window: the first one runs SetUp.  Closing one of the
  // program's own message boxes does not reset the station.
  void FormActivate();

  // Every input back to its default, then a full recalculation.
  void SetUp();

  // ---- the station as a file holds it ----
  // The record Save Data would write for the station as it stands.
  StationRecordBytes CurrentRecord() const;
  // The station differs from the one at start-up, at the last successful
  // save or at the last load (a refused load moves nothing).  Commands that
  // would lose such changes ask first.
  bool Unsaved() const;
  // The station file last saved or loaded, as named; empty before any.
  const std::string& StationFileName() const { return stationFileName_; }
  // "Korrin", or "Korrin — NAME.rsd" after a load or save.
  std::string WindowTitle() const;
  // Whether the program may end now: with unsaved changes it asks to save
  // them (Save runs Save Data), to discard them or to stay open.
  bool CloseQuery();

  // The display half of the cycle around the computing half in core.
  void Recalculate();

  // ---- window ----
  void Button1Click();  // SetUp
  void Button2Click();  // metric / imperial
  void BitBtn1Click();  // close
  void SpeedButton1Click();
  void Memo2Click();
  void Panel44Click();

  // ---- bands ----
  void RadioGroup1Click();
  void RadioGroup8Click();
  void HF_SelectClick();
  void SHF_SelectClick();

  // ---- antenna families ----
  void Panel45Click();
  void Panel46Click();
  void Panel85Click();

  // ---- transmitter power and feed loss ----
  void RadioGroup4Click();
  void RadioGroup5Click();
  void RadioGroup6Click();
  void RadioGroup7Click();
  void SpinButton3UpClick();
  void SpinButton3DownClick();

  // ---- mode and averaging ----
  void RadioGroup2Click();
  void RadioGroup3Click();

  // ---- dish ----
  void SpinButton1UpClick();
  void SpinButton1DownClick();
  void SpinButton2UpClick();
  void SpinButton2DownClick();

  // ---- yagi array ----
  void SpinButton7UpClick();
  void SpinButton7DownClick();
  void SpinButton8UpClick();
  void SpinButton8DownClick();

  // ---- low-gain antennas ----
  void Panel67Click();
  void Panel68Click();
  void Panel69Click();
  void Panel80Click();
  void VerticalSUpClick();
  void VerticalSDownClick();
  void BeamSUpClick();
  void BeamSDownClick();
  void VaryGainUpClick();
  void VaryGainDownClick();

  // ---- exposure limits, ground reflection, tower ----
  void Panel75Click();
  void Panel77Click();
  void Panel78Click();
  void Panel79Click();
  void RadUpDnUpClick();
  void RadUpDnDownClick();
  void GroundGainSelectClick();
  void TrackBar1Change();

  // ---- receive noise chain ----
  void LNALossUpClick();
  void LNALossDownClick();
  void LNANfUpClick();
  void LNANfDownClick();
  void LNAGainUpClick();
  void LNAGainDownClick();
  void LNARxLossUpClick();
  void LNARxLossDownClick();
  void RxNFUpClick();
  void RxNFDownClick();
  void TSkyUpClick();
  void TSkyDownClick();
  void SpinButton5UpClick();
  void SpinButton5DownClick();
  void SpeedChangeClick();

  // ---- spillover and mesh ----
  void SpillOverUpClick();
  void SpillOverDownClick();
  void MeshDiamUpClick();
  void MeshDiamDownClick();
  void MeshSpacingUpClick();
  void MeshSpacingDownClick();
  void FeedThrUpClick();
  void FeedThrDownClick();
  void Solid_MeshClick();

  // ---- echo figures ----
  void PathLossUpClick();    // SpinButton4 up
  void PathLossDownClick();  // SpinButton4 down
  void SolarFluxUpClick();
  void SolarFluxDownClick();

  // ---- station data files ----
  void BitBtn3Click();  // "&Data"
  void BitBtn9Click();  // "&Cancel"
  void Save_DataClick();
  void Get_FileClick();
  void DefaultDataClick();

  // ---- printing ----
  void BitBtn2Click();

  // Computations that write displays of their own; handlers run them too.
  NoiseReport EvaluateNoise();
  void UpdateLowGainAntenna();
  void UpdateYagiArray();

 private:
  // Display half of the cycle, by group.
  void DisplayDishLimitFactors();                      // rows 1-12
  void DisplayPowerChain(const CycleTrace& t);         // rows 13-19
  void DisplayLimit();                                 // rows 21-22
  void DisplayExclusionZone();                         // rows 23-26
  void DisplayPeakEirp();                              // row 27
  void DisplayNoise(const NoiseReport& noise);         // the noise evaluation's own texts
  void DisplayMoonBounceAndYagi(const CycleTrace& t);  // rows 28-52
  void DisplayGroundClearance();
  void DisplayLowGainGain();        // Panel81, Panel73
  void PaintLowGainPanels();        // the chosen antenna white
  void PaintAntennaFamily();        // nine panels by the family flags
  void PaintStandards();            // four standard panels by the flags
  void SelectStandard(bool& flag);  // shared by Panel75/77/78/79Click
  void RestoreWindowFromStation();  // the window after a station file load
  // Save Data's work; true when the file was written.
  bool SaveStation();
  // True when the station may be replaced: nothing unsaved, or the user
  // said Replace.
  bool MayReplaceStation(const std::string& name);
  // A save or load went through: the station is clean, and named after the
  // file, whose folder the dialogs start in from now on.
  void MarkClean(const std::string& fileName);

  std::string Fixed(long double v, int precision, int decimals) const {
    return FixedText(v, precision, decimals, locale_);
  }
  // Lengths in metres shown in the unit system in force.
  std::string Length(long double metres, int precision, int decimals) const;

  Platform& platform_;
  NumberLocale locale_;
  StationState s_{};
  ControlBoard board_;
  bool activated_ = false;
  StationRecordBytes cleanRecord_{};  // start-up, last save or last load
  std::string stationFileName_;

  // File dialogs propose the name they last returned.
  std::string openDialogFileName_ = "*.rsd";
  std::string saveDialogFileName_ = "*.rsd";
};

}  // namespace korrin
