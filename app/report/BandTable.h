// The station evaluated on every band of the band group in use, as if each
// band item were clicked in turn; the station and the window are left
// exactly as they were.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/HeadlessPlatform.h"
#include "ui/TForm1.h"

namespace korrin::report {

struct BandRow {
  std::string band;              // the item's caption, blanks trimmed
  std::string frequency;         // "432 MHz", "29.7 MHz"
  std::string limit;             // Panel9
  std::string gainInUse;         // DishGainDbi after the antenna step, dBi
  std::string farFieldBoundary;  // Panel47
  std::string exclusionZone;     // Panel64, and Panel63 when shown
  std::string towerClearance;    // StaticText1
  std::string echoSnr;           // Panel25 (VHF-SHF group only)
  std::string sunYFactor;        // Panel58 (VHF-SHF group only)

  // With the assessment (metres; empty where a set does not apply).
  struct Assessed {
    std::optional<long double> keepOutSelectedM;  // under the window's standard
    std::optional<long double> keepOutIcnirpM;    // ICNIRP 2020
    std::optional<long double> keepOutFccM;       // FCC general population
    std::optional<long double> fccMinimumM;       // FCC minimum exempt distance
  };
  std::optional<Assessed> assessed;
};

struct BandTable {
  bool vhfShf = true;     // the VHF-SHF group (with the moon-bounce columns) or HF
  bool assessed = false;  // every row has its assessment columns
  bool metric = true;     // the station's unit system, for the assessment columns
  std::vector<BandRow> rows;
};

// The station and window are left exactly as they were; `assess` adds the
// assessment columns.
BandTable EvaluateAllBands(TForm1& form, HeadlessPlatform& platform, bool assess = false);

// Blanks removed from both ends.
std::string Trimmed(const std::string& text);

}  // namespace korrin::report
