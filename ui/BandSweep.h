// The station evaluated on every band of the band group in use, as if each
// band item were clicked in turn, without touching the window it comes
// from: the clicks run on a headless copy of the window logic, put back to
// the window's station and board before each band.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "ui/TForm1.h"

namespace korrin {

struct BandVisit {
  bool vhfShf = true;     // the VHF-SHF group, or the HF group
  std::size_t index = 0;  // the item's index in its radio group
  std::string caption;    // the item's caption, blanks trimmed
};

// Calls `visit` once per band item, in the group's order, with the copy as
// the band's click left it (station, board and messages).
using BandVisitor = std::function<void(const BandVisit& band, const TForm1& form)>;
void SweepBands(const TForm1& form, const BandVisitor& visit);

}  // namespace korrin
