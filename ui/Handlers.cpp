#include "ui/Handlers.h"

namespace korrin {

namespace {

using E = ControlEvent;

#define CLICK(control) \
  { #control "Click", #control, E::Click, &TForm1::control##Click }
#define SPIN(control, prefix)                                          \
  {#prefix "UpClick", #control, E::Up, &TForm1::prefix##UpClick}, {    \
#prefix "DownClick", #control, E::Down, &TForm1::prefix##DownClick \
  }

const std::vector<HandlerEntry> kHandlers = {
    CLICK(Button1),
    CLICK(Button2),
    CLICK(BitBtn1),
    CLICK(SpeedButton1),
    CLICK(Memo2),
    CLICK(Panel44),
    CLICK(RadioGroup1),
    CLICK(RadioGroup8),
    CLICK(HF_Select),
    CLICK(SHF_Select),
    CLICK(Panel45),
    CLICK(Panel46),
    CLICK(Panel85),
    CLICK(RadioGroup4),
    CLICK(RadioGroup5),
    CLICK(RadioGroup6),
    CLICK(RadioGroup7),
    SPIN(SpinButton3, SpinButton3),
    CLICK(RadioGroup2),
    CLICK(RadioGroup3),
    SPIN(SpinButton1, SpinButton1),
    SPIN(SpinButton2, SpinButton2),
    SPIN(SpinButton7, SpinButton7),
    SPIN(SpinButton8, SpinButton8),
    CLICK(Panel67),
    CLICK(Panel68),
    CLICK(Panel69),
    CLICK(Panel80),
    SPIN(VerticalS, VerticalS),
    SPIN(BeamS, BeamS),
    SPIN(VaryGain, VaryGain),
    CLICK(Panel75),
    CLICK(Panel77),
    CLICK(Panel78),
    CLICK(Panel79),
    SPIN(RadUpDn, RadUpDn),
    CLICK(GroundGainSelect),
    {"TrackBar1Change", "TrackBar1", E::Change, &TForm1::TrackBar1Change},
    SPIN(LNALoss, LNALoss),
    SPIN(LNANf, LNANf),
    SPIN(LNAGain, LNAGain),
    SPIN(LNARxLoss, LNARxLoss),
    SPIN(RxNF, RxNF),
    SPIN(TSky, TSky),
    SPIN(SpinButton5, SpinButton5),
    CLICK(SpeedChange),
    SPIN(SpillOver, SpillOver),
    SPIN(MeshDiam, MeshDiam),
    SPIN(MeshSpacing, MeshSpacing),
    SPIN(FeedThr, FeedThr),
    CLICK(Solid_Mesh),
    SPIN(SpinButton4, PathLoss),
    SPIN(SolarFlux, SolarFlux),
    CLICK(BitBtn3),
    CLICK(BitBtn9),
    CLICK(Save_Data),
    CLICK(Get_File),
    CLICK(DefaultData),
    CLICK(BitBtn2),
};

#undef CLICK
#undef SPIN

}  // namespace

const std::vector<HandlerEntry>& AllHandlers() {
  return kHandlers;
}

const HandlerEntry* FindHandler(std::string_view name) {
  for (const HandlerEntry& h : kHandlers) {
    if (name == h.name) return &h;
  }
  return nullptr;
}

const HandlerEntry* FindHandler(std::string_view control, ControlEvent event) {
  for (const HandlerEntry& h : kHandlers) {
    if (control == h.control && h.event == event) return &h;
  }
  return nullptr;
}

}  // namespace korrin
