#include "ui/qt/calculator/Layout.h"

namespace korrin {

namespace {

constexpr unsigned R = kRaised;
constexpr unsigned S = kSunken;
constexpr unsigned F = kFlat;

// The moon-bounce calculator is laid out on a grid of seven columns.
constexpr int SpCol(int i) {
  return 6 + 70 * i;
}
constexpr int kSpValue = 54;  // width of a value panel
constexpr int kSpSpin = 13;   // width of its spin button
constexpr int kSpCell = kSpValue + 1 + kSpSpin;

const std::vector<Placement> kPlacements = {
    // ---- the client panel -------------------------------------------------
    {"Panel1", {0, 0, 790, 541}, F},
    {"RadioGroup1", {5, 1, 279, 110}, 0},
    {"RadioGroup8", {5, 1, 279, 110}, 0},
    {"SHF_Select", {261, 95, 20, 15}, R | kSmall},
    {"HF_Select", {261, 95, 20, 15}, R | kSmall},
    {"Panel13", {289, 1, 500, 113}, R},
    {"Panel15", {5, 113, 279, 367}, R},
    {"Panel45", {291, 147, 20, 20}, R},
    {"Panel2", {317, 119, 471, 71}, R | kTitle},
    {"Button2", {427, 157, 50, 25}, 0},
    {"Panel46", {293, 213, 20, 20}, R},
    {"Panel37", {317, 193, 471, 71}, R | kTitle},
    {"Panel85", {293, 295, 20, 20}, R},
    {"Panel66", {317, 269, 470, 70}, R | kTitle},
    {"SystemPerformance", {287, 267, 501, 169}, R},
    {"Panel8", {316, 341, 470, 95}, R},
    {"Panel12", {287, 439, 407, 101}, R},
    {"Button1", {13, 461, 75, 25}, 0},
    {"SpeedButton1", {1, 487, 233, 45}, kSmall},
    {"DefaultData", {237, 487, 45, 45}, 0},
    {"BitBtn2", {703, 439, 75, 25}, 0},
    {"BitBtn3", {703, 465, 75, 25}, 0},
    {"BitBtn1", {703, 491, 75, 25}, 0},
    {"Panel44", {703, 517, 77, 19}, S | kSmall},
    {"Panel83", {695, 439, 92, 99}, R},
    {"Memo2", {113, 111, 557, 331}, F | kAlignLeft},

    // ---- mode and averaging (Panel13) -----------------------------------
    {"RadioGroup2", {4, 3, 228, 107}, 0},
    {"RadioGroup3", {235, 3, 150, 107}, 0},
    {"Panel30", {388, 19, 108, 19}, S},
    {"Panel50", {388, 56, 108, 19}, S},
    {"Panel14", {388, 93, 108, 17}, S},

    // ---- transmitter power (Panel15) ------------------------------------
    {"RadioGroup4", {4, 19, 66, 170}, 0},
    {"RadioGroup5", {72, 19, 66, 170}, 0},
    {"RadioGroup6", {140, 19, 66, 170}, 0},
    {"RadioGroup7", {208, 19, 66, 170}, 0},
    {"Panel16", {100, 194, 84, 21}, S},
    {"Panel17", {187, 194, 87, 21}, S},
    {"Panel23", {100, 228, 68, 21}, S},
    {"SpinButton3", {169, 228, 15, 21}, 0},
    {"Panel20", {100, 254, 84, 21}, S},
    {"Panel21", {187, 254, 85, 21}, S},
    {"Panel10", {100, 280, 84, 21}, S},
    {"Panel11", {187, 280, 85, 21}, S},
    {"Panel18", {100, 306, 172, 21}, S},
    {"GroundGainSelect", {100, 336, 15, 15}, R},

    // ---- dish (Panel2) ---------------------------------------------------
    {"Panel61", {366, 3, 100, 12}, F | kSmall | kAlignRight},
    {"Panel4", {8, 32, 62, 21}, S},
    {"SpinButton1", {71, 32, 15, 21}, 0},
    {"Panel7", {172, 32, 46, 21}, S},
    {"SpinButton2", {219, 32, 15, 21}, 0},
    {"Panel5", {244, 32, 62, 21}, S},
    {"Panel34", {314, 32, 66, 21}, S},
    {"Panel3", {386, 51, 80, 18}, S},
    {"Panel6", {386, 32, 80, 18}, S},

    // ---- yagi array (Panel37) --------------------------------------------
    {"Panel62", {346, 3, 120, 12}, F | kSmall | kAlignRight},
    {"Panel38", {8, 32, 74, 21}, S},
    {"SpinButton7", {83, 32, 15, 21}, 0},
    {"Panel39", {140, 32, 56, 21}, S},
    {"SpinButton8", {197, 32, 15, 21}, 0},
    {"Panel40", {258, 32, 70, 18}, S},
    {"Panel43", {258, 51, 70, 18}, S},
    {"Panel41", {370, 32, 90, 18}, S},
    {"Panel42", {370, 51, 90, 18}, S},

    // ---- low-gain antennas (Panel66) -------------------------------------
    {"Panel82", {346, 3, 120, 12}, F | kSmall | kAlignRight},
    {"Panel67", {8, 32, 74, 21}, R},
    {"Panel68", {88, 32, 80, 21}, R},
    {"VerticalS", {169, 32, 15, 21}, 0},
    {"Panel69", {192, 32, 76, 21}, R},
    {"BeamS", {269, 32, 15, 21}, 0},
    {"Panel80", {292, 32, 62, 21}, R},
    {"VaryGain", {355, 32, 15, 21}, 0},
    {"Panel81", {380, 32, 84, 17}, S},
    {"Panel73", {380, 50, 84, 17}, S},

    // ---- moon-bounce calculator (SystemPerformance) ----------------------
    {"Label20", {6, 3, 180, 14}, kBold | kAlignLeft},
    {"Panel76", {190, 3, 152, 14}, F},
    {"Panel74", {344, 3, 152, 14}, F},
    // first row: the receive chain, spillover and feed-through
    {"Panel65", {SpCol(0), 21, kSpValue, 13}, F},
    {"Panel54", {SpCol(1), 21, kSpValue, 13}, F},
    {"Panel71", {SpCol(5), 21, kSpValue, 13}, F},
    {"Panel72", {SpCol(6), 21, kSpValue, 13}, F},
    {"Panel28", {SpCol(0), 35, kSpValue, 20}, S},
    {"LNALoss", {SpCol(0) + kSpValue + 1, 35, kSpSpin, 20}, 0},
    {"Label24", {SpCol(0) - 1, 57, kSpCell + 2, 13}, 0},
    {"Panel27", {SpCol(1), 35, kSpValue, 20}, S},
    {"LNANf", {SpCol(1) + kSpValue + 1, 35, kSpSpin, 20}, 0},
    {"Label23", {SpCol(1) - 1, 57, kSpCell + 2, 13}, 0},
    {"Panel36", {SpCol(2), 35, kSpValue, 20}, S},
    {"LNAGain", {SpCol(2) + kSpValue + 1, 35, kSpSpin, 20}, 0},
    {"Label37", {SpCol(2) - 1, 57, kSpCell + 2, 13}, 0},
    {"Panel52", {SpCol(3), 35, kSpValue, 20}, S},
    {"LNARxLoss", {SpCol(3) + kSpValue + 1, 35, kSpSpin, 20}, 0},
    {"Label39", {SpCol(3) - 1, 57, kSpCell + 2, 13}, 0},
    {"Panel53", {SpCol(4), 35, kSpValue, 20}, S},
    {"RxNF", {SpCol(4) + kSpValue + 1, 35, kSpSpin, 20}, 0},
    {"Label40", {SpCol(4) - 1, 57, kSpCell + 2, 13}, 0},
    {"Panel55", {SpCol(5), 35, kSpValue, 20}, S},
    {"SpillOver", {SpCol(5) + kSpValue + 1, 35, kSpSpin, 20}, 0},
    {"Label41", {SpCol(5) - 1, 57, kSpCell + 2, 13}, 0},
    {"Panel56", {SpCol(6), 35, kSpValue, 20}, S},
    {"FeedThr", {SpCol(6) + kSpValue + 1, 35, kSpSpin, 20}, 0},
    {"Label42", {SpCol(6) - 1, 57, kSpCell + 2, 13}, 0},
    // second row: sky, bandwidth, multiplier and the mesh
    {"Label11", {SpCol(0) - 1, 80, kSpCell + 2, 13}, 0},
    {"Panel31", {SpCol(0), 94, kSpValue, 20}, S},
    {"TSky", {SpCol(0) + kSpValue + 1, 94, kSpSpin, 20}, 0},
    {"Label25", {SpCol(1) - 1, 80, kSpCell + 2, 13}, 0},
    {"Panel29", {SpCol(1), 94, kSpValue, 20}, S},
    {"SpinButton5", {SpCol(1) + kSpValue + 1, 94, kSpSpin, 20}, 0},
    {"Multiplier", {SpCol(2) - 1, 80, kSpCell + 2, 13}, 0},
    {"SpeedChange", {SpCol(2) + kSpCell / 2 - 7, 97, 14, 14}, R},
    {"Label35", {SpCol(3) - 1, 80, kSpCell + 2, 13}, 0},
    {"Panel57", {SpCol(3), 94, kSpValue, 20}, S},
    {"MeshDiam", {SpCol(3) + kSpValue + 1, 94, kSpSpin, 20}, 0},
    {"Panel35", {SpCol(4), 94, kSpCell, 20}, F},
    {"Label45", {SpCol(5) - 1, 80, kSpCell + 2, 13}, 0},
    {"Panel70", {SpCol(5), 94, kSpValue, 20}, S},
    {"MeshSpacing", {SpCol(5) + kSpValue + 1, 94, kSpSpin, 20}, 0},
    {"Label46", {SpCol(6) - 1, 80, kSpCell + 2, 13}, 0},
    {"Solid_Mesh", {SpCol(6) + kSpCell / 2 - 7, 97, 14, 14}, R},
    // third row: the echo figures
    {"Label43", {SpCol(0) - 1, 124, kSpCell + 2, 13}, 0},
    {"Panel32", {SpCol(0), 138, kSpCell, 20}, S},
    {"Label26", {SpCol(1) - 1, 124, kSpCell + 2, 13}, 0},
    {"Panel24", {SpCol(1), 138, kSpValue, 20}, S},
    {"SpinButton4", {SpCol(1) + kSpValue + 1, 138, kSpSpin, 20}, 0},
    {"Label22", {SpCol(2) - 8, 124, kSpCell + 16, 13}, 0},
    {"Panel26", {SpCol(2), 138, kSpCell, 20}, S},
    {"Label21", {SpCol(3) - 1, 124, kSpCell + 2, 13}, 0},
    {"Panel25", {SpCol(3), 138, kSpCell, 20}, S},
    {"Label36", {SpCol(4) - 1, 124, kSpCell + 2, 13}, 0},
    {"Panel33", {SpCol(4), 138, kSpValue, 20}, S},
    {"SolarFlux", {SpCol(4) + kSpValue + 1, 138, kSpSpin, 20}, 0},
    {"Label38", {SpCol(5) - 1, 124, kSpCell + 2, 13}, 0},
    {"Panel58", {SpCol(5), 138, kSpCell, 20}, S},
    {"Label47", {SpCol(6) - 1, 124, kSpCell + 2, 13}, 0},
    {"Panel22", {SpCol(6), 138, kSpCell, 20}, S},

    // ---- tower height and ground clearance (Panel8) ----------------------
    {"TrackBar1", {4, 2, 28, 91}, 0},
    {"Label49", {38, 5, 110, 14}, kAlignLeft},
    {"StaticText2", {38, 21, 110, 19}, S},
    {"Label51", {160, 5, 140, 14}, kAlignLeft},
    {"StaticText1", {160, 21, 130, 19}, S | kBold},
    {"Label50", {296, 23, 120, 15}, kAlignLeft},
    {"ProgressBar1", {38, 46, 424, 14}, 0},
    {"Label58", {38, 63, 424, 14}, kAlignLeft},
    {"Label57", {38, 77, 424, 14}, kAlignLeft},

    // ---- exposure limits and exclusion zone (Panel12) --------------------
    {"Label8", {6, 3, 140, 15}, kBold | kAlignLeft},
    {"Label9", {156, 3, 140, 15}, kBold | kAlignLeft},
    {"Panel75", {8, 21, 15, 15}, R},
    {"Label52", {27, 21, 54, 15}, kAlignLeft},
    {"Panel77", {84, 21, 15, 15}, R},
    {"Label53", {103, 21, 50, 15}, kAlignLeft},
    {"Panel78", {8, 41, 15, 15}, R},
    {"Label54", {27, 41, 54, 15}, kAlignLeft},
    {"Panel79", {84, 41, 15, 15}, R},
    {"Label55", {103, 41, 50, 15}, kAlignLeft},
    {"Panel9", {8, 61, 120, 21}, R},
    {"Label33", {8, 84, 136, 14}, kLimitFont},
    {"RadUpDn", {129, 61, 15, 21}, 0},
    {"Panel64", {156, 35, 142, 22}, S},
    {"Panel63", {156, 35, 142, 22}, S},
    {"Label7", {302, 3, 100, 15}, kAlignLeft},
    {"Panel47", {302, 35, 100, 22}, S},
    {"Panel49", {302, 62, 100, 22}, S},

    // ---- the data panel (Panel83) ----------------------------------------
    {"Save_Data", {4, 4, 84, 29}, 0},
    {"Get_File", {4, 35, 84, 29}, 0},
    {"BitBtn9", {4, 66, 84, 29}, 0},
};

const std::vector<Decoration> kDecorations = {
    // mode and averaging: caption panels over the three factors
    {"Panel13", "Form Factor", {388, 3, 108, 15}, R | kTooltipBack},
    {"Panel13", "Six Minute Average", {388, 40, 108, 15}, R | kTooltipBack},
    {"Panel13", "Overall Transmission", {388, 77, 108, 15}, R | kTooltipBack},

    // transmitter power
    {"Panel15", "Transmitter Power", {4, 3, 270, 15}, kBold},
    {"Panel15", "Tx Output Power", {6, 194, 92, 21}, kAlignLeft},
    {"Panel15", "", {3, 221, 273, 141}, R | kTooltipBack},
    {"Panel15", "Transmission Loss", {6, 228, 93, 21}, kAlignLeft},
    {"Panel15", "Power at Feed", {6, 254, 92, 21}, kAlignLeft},
    {"Panel15", "Average Tx Power", {6, 280, 92, 21}, kAlignLeft},
    {"Panel15", "Peak EIRP", {6, 306, 92, 21}, kAlignLeft},
    {"Panel15", "Ground Reflection", {6, 334, 92, 19}, kAlignLeft},

    // dish
    {"Panel2", "Diameter", {8, 18, 78, 13}, 0},
    {"Panel2", "Size", {110, 23, 50, 13}, 0},
    {"Panel2", "Efficiency", {172, 18, 62, 13}, 0},
    {"Panel2", "Beam Width", {244, 18, 62, 13}, 0},
    {"Panel2", "Dish Gain", {314, 18, 66, 13}, 0},
    {"Panel2", "dB Dish Gain", {386, 18, 80, 13}, 0},

    // yagi array
    {"Panel37", "Single Yagi Gain in dBi", {8, 18, 124, 13}, kAlignLeft},
    {"Panel37", "Number of Yagis", {140, 18, 90, 13}, kAlignLeft},
    {"Panel37", "Beam Width", {258, 18, 70, 13}, 0},
    {"Panel37", "E", {244, 32, 12, 18}, 0},
    {"Panel37", "H ", {244, 51, 12, 18}, 0},
    {"Panel37", "Array Gain", {370, 18, 90, 13}, 0},

    // low-gain antennas
    {"Panel66", "Array Gain", {380, 18, 84, 13}, 0},
};

}  // namespace

const std::vector<Placement>& Placements() {
  return kPlacements;
}

const Placement* FindPlacement(std::string_view name) {
  for (const Placement& p : kPlacements) {
    if (name == p.name) return &p;
  }
  return nullptr;
}

const std::vector<Decoration>& Decorations() {
  return kDecorations;
}

}  // namespace korrin
