#include "ui/Controls.h"

#include <iterator>

#include "core/Tables.h"

namespace korrin {

const char* const kVersionCaption = "Korrin Ver 4.4";
const char* const kVersionHint = "korrin@users.noreply.example";

std::string VersionMessage() {
  return std::string("Korrin, the station's RF exposure and moon-bounce calculator\r") + "    " +
         kVersionHint + "\r" + "\r" + "Help infomation please refer to:-\r" +
         "    korrin-help.html";
}

const std::vector<std::string>& DisclaimerLines() {
  static const std::vector<std::string> lines = {
      " ",
      "  The accuracy of this software is in accordance with the calculation",
      "  methods prescribed in the respective Standard as selected.",
      "",
      "  The Safety Exclusion Zone value in this Software is the exposure",
      "  limit that applies to the General Public. (Uncontrolled environment)",
      "",
      "  The calculated Safety Exclusion Zone should only be taken as a",
      "  guide and must not be relied upon as safe for human exposure.",
      "",
      "  External influences can cause significant variations to predicted",
      "  values which cannot be accurately defined by software methods.",
      "",
      "  Accordingly the Exclusion Zone should be measured in the manner",
      "  prescribed and the readings thus obtained treated as absolute with",
      "  respect to safety matters and not those predicted by this software.",
      " ",
  };
  return lines;
}

namespace {

using K = ControlKind;

ControlDecl C(K kind, const char* name, const char* parent, const char* caption = "",
              const char* hint = "") {
  ControlDecl c;
  c.kind = kind;
  c.name = name;
  c.parent = parent;
  c.caption = caption;
  c.hint = hint;
  return c;
}

ControlDecl Hidden(ControlDecl c) {
  c.visible = false;
  return c;
}

ControlDecl Coloured(ControlDecl c, Colour color, Colour font = Colour::Black) {
  c.color = color;
  c.fontColor = font;
  return c;
}

template <typename Table>
std::vector<std::string> Captions(const Table& table) {
  std::vector<std::string> out;
  out.reserve(std::size(table));
  for (const auto& row : table) out.emplace_back(row.caption);
  return out;
}

std::vector<std::string> DigitItems(int unit) {
  std::vector<std::string> out;
  out.reserve(10);
  for (int i = 0; i < 10; ++i) out.push_back(std::to_string(i * unit));
  return out;
}

ControlDecl Group(const char* name, const char* caption, std::vector<std::string> items,
                  int columns, int itemIndex, const char* hint, bool showHint) {
  ControlDecl c = C(K::RadioGroup, name, "", caption, hint);
  c.items = std::move(items);
  c.columns = columns;
  c.itemIndex = itemIndex;
  c.color = Colour::TooltipBackground;
  c.showHint = showHint;
  return c;
}

std::vector<ControlDecl> Build() {
  const Colour tip = Colour::TooltipBackground;
  std::vector<ControlDecl> v;
  auto add = [&v](ControlDecl c) { v.push_back(std::move(c)); };
  const char* top = "Panel1";
  add(C(K::Panel, "Panel1", ""));

  // Band groups and the side switch.
  {
    ControlDecl g1 = Group("RadioGroup1", "VHF - SHF", Captions(kVhfBands), 3, -1,
                           "Select Band of operation", false);
    g1.parent = top;
    add(g1);
    ControlDecl g8 =
        Group("RadioGroup8", "HF", Captions(kHfBands), 3, 4, "Select Band of operation", false);
    g8.parent = top;
    g8.visible = false;
    add(g8);
  }
  add(C(K::Panel, "SHF_Select", top, "SHF", "Select VHF-SHF Bands"));
  add(C(K::Panel, "HF_Select", top, "HF", "Select HF Bands"));

  // Transmission mode and six-minute averaging.
  add(C(K::Panel, "Panel13", top));
  {
    ControlDecl m = Group("RadioGroup2", " Transmission Mode Form Factor ", Captions(kModes), 2, 5,
                          "Mode factors as defined by AS2772.2", true);
    m.parent = "Panel13";
    add(m);
    ControlDecl a = Group("RadioGroup3", "  Six Minute Period Average ", Captions(kAveraging), 1, 4,
                          "Modification factor for defined transmission sequences over a 6 "
                          "minute period",
                          true);
    a.parent = "Panel13";
    add(a);
  }
  add(C(K::Panel, "Panel30", "Panel13", "Form %", "Form Factor"));
  add(C(K::Panel, "Panel50", "Panel13", "6 Min %", "Six Minute Average"));
  add(C(K::Panel, "Panel14", "Panel13", "Duty % ", "Overall Transmission Factor"));

  // Transmitter power.
  add(C(K::Panel, "Panel15", top));
  {
    const char* captions[] = {"Thousand", "Hundred", "Tens", "Units "};
    const char* names[] = {"RadioGroup4", "RadioGroup5", "RadioGroup6", "RadioGroup7"};
    const int units[] = {1000, 100, 10, 1};
    const int start[] = {1, 5, 0, 0};
    for (int i = 0; i < 4; ++i) {
      ControlDecl g = Group(names[i], captions[i], DigitItems(units[i]), 1, start[i],
                            i == 0 ? "Select transmitter power out put" : "", false);
      g.parent = "Panel15";
      add(g);
    }
  }
  add(C(K::Panel, "Panel16", "Panel15", "", "Tx output power"));
  add(C(K::Panel, "Panel17", "Panel15"));
  add(C(K::Panel, "Panel23", "Panel15", "", "Feed and other losses"));
  add(C(K::SpinButton, "SpinButton3", "Panel15"));
  add(C(K::Panel, "Panel20", "Panel15", "", "Tx output power minus losses"));
  add(C(K::Panel, "Panel21", "Panel15"));
  add(C(K::Panel, "Panel10", "Panel15", "", "6 min Average EIRP"));
  add(C(K::Panel, "Panel11", "Panel15"));
  add(C(K::Panel, "Panel18", "Panel15", "", "Instantaneous Peak Power"));
  add(C(K::Panel, "GroundGainSelect", "Panel15", "", "Include ground reflection"));

  // Dish.
  add(Coloured(C(K::Panel, "Panel45", top, "", "Select Dish"), tip));
  add(Coloured(C(K::Panel, "Panel2", top, "Parabolic Reflector"), tip));
  add(Coloured(C(K::Panel, "Panel61", "Panel2", "Circular Aperature"), tip, Colour::Grey));
  add(C(K::Panel, "Panel4", "Panel2", "Diam"));
  add(C(K::SpinButton, "SpinButton1", "Panel2"));
  add(C(K::Panel, "Panel7", "Panel2", "%"));
  add(C(K::SpinButton, "SpinButton2", "Panel2"));
  add(C(K::Panel, "Panel5", "Panel2", "BW"));
  add(C(K::Panel, "Panel34", "Panel2", "Gain"));
  add(C(K::Panel, "Panel3", "Panel2", "dBD"));
  add(C(K::Panel, "Panel6", "Panel2", "dBi"));
  add(C(K::Button, "Button2", top, "Metric"));

  // Yagi array.
  add(C(K::Panel, "Panel46", top, "", "Select Yagi"));
  add(C(K::Panel, "Panel37", top, "Yagi Array"));
  add(Coloured(C(K::Panel, "Panel62", "Panel37", "Rectangular Aperature"), Colour::ButtonFace,
               Colour::Grey));
  add(C(K::Panel, "Panel38", "Panel37", "Single Yagi dbi", "Single Yagi Gain in dBi"));
  add(C(K::SpinButton, "SpinButton7", "Panel37"));
  add(C(K::Panel, "Panel39", "Panel37", "# Yagis", "Stacked yagis"));
  add(C(K::SpinButton, "SpinButton8", "Panel37"));
  add(C(K::Panel, "Panel40", "Panel37", "E BW"));
  add(C(K::Panel, "Panel43", "Panel37", "H BW"));
  add(C(K::Panel, "Panel41", "Panel37", "Yagi dBi"));
  add(C(K::Panel, "Panel42", "Panel37", "Yagi dBD"));

  // Low-gain antennas (HF side only).
  add(Hidden(C(K::Panel, "Panel85", top, "", "Select Low Gain Antennae")));
  add(Hidden(C(K::Panel, "Panel66", top, "Low Gain Antennae")));
  add(Coloured(C(K::Panel, "Panel82", "Panel66", "Rectangular Aperature"), Colour::ButtonFace,
               Colour::Grey));
  add(C(K::Panel, "Panel67", "Panel66", "\u00bd Dipole"));
  add(C(K::Panel, "Panel68", "Panel66", "\u00bc w vertical"));
  add(C(K::SpinButton, "VerticalS", "Panel66"));
  add(C(K::Panel, "Panel69", "Panel66", "3el 14 MHz"));
  add(C(K::SpinButton, "BeamS", "Panel66"));
  add(C(K::Panel, "Panel80", "Panel66", "Variable"));
  add(C(K::SpinButton, "VaryGain", "Panel66"));
  add(C(K::Panel, "Panel81", "Panel66", "dBi"));
  add(C(K::Panel, "Panel73", "Panel66", "dBD"));

  // Moon-bounce system performance.
  const char* sp = "SystemPerformance";
  add(C(K::Panel, sp, top));
  add(C(K::Label, "Label20", sp, "System Performance Calculator"));
  add(C(K::Panel, "Panel28", sp, "LNA Loss", "Loss between Ae and LNA"));
  add(C(K::Label, "Label24", sp, "LNA Loss"));
  add(C(K::SpinButton, "LNALoss", sp));
  add(C(K::Panel, "Panel27", sp, "LNA_Nf", "LNA Noise Figure"));
  add(C(K::Label, "Label23", sp, "LNA Nf"));
  add(C(K::SpinButton, "LNANf", sp));
  add(C(K::Panel, "Panel36", sp, "LNA G", "LNA Gain in dB"));
  add(C(K::Label, "Label37", sp, "LNA Gain"));
  add(C(K::SpinButton, "LNAGain", sp));
  add(C(K::Panel, "Panel52", sp, "LNA-Rx ", "Loss between LNA and Rx"));
  add(C(K::Label, "Label39", sp, "Coax Loss"));
  add(C(K::SpinButton, "LNARxLoss", sp));
  add(C(K::Panel, "Panel53", sp, "Rx Nf", "Rx Noise Figure in dB"));
  add(C(K::Label, "Label40", sp, "Rx Nf"));
  add(C(K::SpinButton, "RxNF", sp));
  add(C(K::Panel, "Panel31", sp, "T Sky"));
  add(C(K::Label, "Label11", sp, "T Sky"));
  add(C(K::SpinButton, "TSky", sp));
  add(C(K::Panel, "Panel29", sp, "Rx_BW"));
  add(C(K::Label, "Label25", sp, "Rx BW"));
  add(C(K::SpinButton, "SpinButton5", sp));
  add(C(K::Panel, "SpeedChange", sp, "", "Increment multiplier"));
  add(C(K::Label, "Multiplier", sp, "Multiplier"));
  add(C(K::Panel, "Panel65", sp));
  add(C(K::Panel, "Panel54", sp));
  add(Coloured(C(K::Panel, "Panel76", sp), Colour::ButtonFace, Colour::Green));
  add(Coloured(C(K::Panel, "Panel74", sp), Colour::ButtonFace, Colour::Red));
  add(C(K::Panel, "Panel55", sp, "Spill",
        "Ground Temperature Spill over referenced to 290\u00b0k"));
  add(C(K::Label, "Label41", sp, "Spillover"));
  add(C(K::SpinButton, "SpillOver", sp));
  add(C(K::Panel, "Panel71", sp, "SpilldB"));
  add(C(K::Panel, "Panel57", sp, "diam", "Diameter of Mesh (1.65mm = 16g)"));
  add(C(K::Label, "Label35", sp, "Diam"));
  add(C(K::SpinButton, "MeshDiam", sp));
  add(C(K::Panel, "Panel70", sp, "spacing", "Spacing between the Mesh wires (12.70 mm = \u00bd')"));
  add(C(K::Label, "Label45", sp, "Spacing"));
  add(C(K::SpinButton, "MeshSpacing", sp));
  add(C(K::Panel, "Solid_Mesh", sp, "", "Solid/Mesh Dish"));
  add(C(K::Label, "Label46", sp, "Mesh"));
  add(C(K::Panel, "Panel35", sp, "Panel35"));
  add(C(K::Panel, "Panel56", sp, "Feed thu",
        "Ground Temp as seen through dish referenced to 290\u00b0k calculated from Mesh size "
        "and frequency"));
  add(C(K::Label, "Label42", sp, "Feedthru"));
  add(C(K::SpinButton, "FeedThr", sp));
  add(C(K::Panel, "Panel72", sp, "FeeddB"));
  add(C(K::Panel, "Panel32", sp, "Freq"));
  add(C(K::Label, "Label43", sp, "Frequency"));
  add(C(K::Panel, "Panel24", sp, "Path Loss", "Perigee Path Loss"));
  add(C(K::Label, "Label26", sp, "Path Loss"));
  add(C(K::SpinButton, "SpinButton4", sp));
  add(C(K::Panel, "Panel26", sp, "Pn", "Returned Rx input signal level"));
  add(C(K::Label, "Label22", sp, "Sys Sensitivity"));
  add(C(K::Panel, "Panel25", sp, "S_N"));
  add(C(K::Label, "Label21", sp, "Echo S/N"));
  add(Hidden(C(K::Panel, "Panel22", sp, "Panel22", "Y factor Cold Sky to Ground")));
  add(C(K::Label, "Label47", sp, "Tsky - Gnd >"));
  add(C(K::Panel, "Panel33", sp, "Flux", "10.7 cm Solar Flux"));
  add(C(K::Label, "Label36", sp, "Solar Flux"));
  add(C(K::SpinButton, "SolarFlux", sp));
  add(C(K::Panel, "Panel58", sp, "Y Fact", "Calculated Y factor between Sun and Quiet sky"));
  add(C(K::Label, "Label38", sp, "Sun Y "));

  // Tower height and ground clearance (HF side only).
  add(Hidden(C(K::Panel, "Panel8", top, "Tower Height")));
  {
    ControlDecl t = C(K::TrackBar, "TrackBar1", "Panel8", "", "Tower Height ");
    t.showHint = false;
    t.minimum = 0;
    t.maximum = 30;
    t.position = 30;
    add(t);
  }
  add(C(K::Label, "Label49", "Panel8", "Tower Height"));
  add(C(K::StaticText, "StaticText2", "Panel8", "StaticText2"));
  add(C(K::Label, "Label51", "Panel8", "On Axis Exclusion Zone "));
  add(Coloured(C(K::StaticText, "StaticText1", "Panel8", "StaticText1"), Colour::ButtonFace,
               Colour::Navy));
  add(C(K::Label, "Label50", "Panel8", "Distance to Tower"));
  {
    ControlDecl p = C(K::ProgressBar, "ProgressBar1", "Panel8");
    p.minimum = 0;
    p.maximum = 40;
    add(p);
  }
  add(C(K::Label, "Label58", "Panel8", "Worse case situation. This does not "));
  add(C(K::Label, "Label57", "Panel8", "account for antennae directional characteristics"));

  // Exposure limits and exclusion zone.
  add(C(K::Panel, "Panel12", top));
  add(C(K::Label, "Label8", "Panel12", "Radiation Limits"));
  add(C(K::Label, "Label9", "Panel12", "On Axis Exclusion Zone"));
  add(C(K::Panel, "Panel75", "Panel12", "", "Australian Standard AS2772"));
  add(C(K::Label, "Label52", "Panel12", "AS 2772"));
  add(C(K::Panel, "Panel77", "Panel12", "",
        "Australian Radiation Protection & Nuclear Safety Agency"));
  add(C(K::Label, "Label53", "Panel12", "ARPNSA"));
  add(Coloured(C(K::Panel, "Panel78", "Panel12", "", "Federal Communications Commission (USA)"),
               Colour::Green));
  add(C(K::Label, "Label54", "Panel12", "FCC"));
  add(C(K::Panel, "Panel79", "Panel12", "", "Vary Radiation Limit "));
  add(C(K::Label, "Label55", "Panel12", "Variable"));
  add(Coloured(C(K::Panel, "Panel9", "Panel12", "Radiation Limit",
                 "Australian Limit is 2 watts / square metre"),
               Colour::ButtonFace, Colour::Red));
  add(Coloured(C(K::Label, "Label33", "Panel12", "mW/cm\u00b2"), Colour::ButtonFace, Colour::Red));
  add(C(K::SpinButton, "RadUpDn", "Panel12", "", "Change Radiation Limit"));
  add(C(K::Panel, "Panel64", "Panel12", "", "Radiation above limit selected"));
  add(C(K::Panel, "Panel63", "Panel12", "", "Radiation above limit selected"));
  add(C(K::Label, "Label7", "Panel12", "Far field Boundry"));
  add(C(K::Panel, "Panel47", "Panel12", "", "Distance to the far-field (Fraunhofer) region"));
  add(C(K::Panel, "Panel49", "Panel12", "", "Far Field Radiation in W/sq M"));

  // Window-level buttons and the data panel.
  add(Hidden(C(K::Button, "Button1", top, "Calculate")));
  add(Coloured(
      C(K::Button, "SpeedButton1", top, "   Disclaimer:      Important Safety Information "),
      Colour::ButtonFace, Colour::Grey));
  add(C(K::Button, "DefaultData", top, "Default", "Reload default data file"));
  add(C(K::Button, "BitBtn2", top, "Print"));
  add(C(K::Button, "BitBtn3", top, "&Data"));
  add(C(K::Button, "BitBtn1", top, "&Close"));
  add(Coloured(C(K::Panel, "Panel44", top, "", kVersionHint), Colour::ButtonFace, Colour::Grey));
  add(Hidden(C(K::Panel, "Panel83", top)));
  add(C(K::Button, "Save_Data", "Panel83", "Save Data"));
  add(C(K::Button, "Get_File", "Panel83", "Get Data      "));
  add(C(K::Button, "BitBtn9", "Panel83", "&Cancel"));
  {
    std::string text;
    for (size_t i = 0; i < DisclaimerLines().size(); ++i) {
      if (i) text += "\n";
      text += DisclaimerLines()[i];
    }
    ControlDecl memo = Hidden(Coloured(C(K::Memo, "Memo2", top), Colour::Yellow, Colour::Red));
    memo.caption = text;
    add(memo);
  }
  return v;
}

}  // namespace

const std::vector<ControlDecl>& MainWindowControls() {
  static const std::vector<ControlDecl> table = Build();
  return table;
}

const ControlDecl* FindControl(std::string_view name) {
  for (const ControlDecl& c : MainWindowControls()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

const ControlDecl& ControlNamed(std::string_view name) {
  static const ControlDecl none;
  const ControlDecl* c = FindControl(name);
  return c != nullptr ? *c : none;
}

void DeclareMainWindow(ControlBoard& board) {
  for (const ControlDecl& decl : MainWindowControls()) {
    Control c;
    c.text = decl.caption;
    c.visible = decl.visible;
    c.color = decl.color;
    c.fontColor = decl.fontColor;
    c.itemIndex = decl.itemIndex;
    c.position = decl.position;
    board.declare(decl.name, c);
  }
}

}  // namespace korrin
