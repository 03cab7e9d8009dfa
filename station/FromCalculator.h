// The calculator's station as a station of the file: one transmitter, one
// feed line, one antenna and the installation that joins them, so that the
// whole-station evaluation can be run on what the calculator window shows.
#pragma once

#include <optional>
#include <string>

#include "core/StationState.h"
#include "station/Station.h"

namespace korrin::station {

// The station of a recalculated calculator state (its derived fields up to
// date), in ITU region 2 with both limit sets:
//   - the installation names the band of the calculator's band point, so the
//     evaluation covers the band's edges (the 80 m point 3.5 MHz becomes the
//     80m band, 3.5-4.0 MHz; 900 MHz the 33cm band; the 28.5 MHz point the
//     10m band);
//   - the transmitter has the calculator's power (0 W without power), its mode as a row of the
//     mode table (analog TV, which the table lacks, as its duty 0.6), and
//     the six-minute averaging pattern as a transmit/receive cycle (below);
//   - the feed line has the calculator's feed loss as loss-db;
//   - the antenna, at x 0, y 0 and the tower's height, is the table's
//     "dipole" for the dipole, a "dish" of the same diameter and efficiency,
//     a "yagi" of the array's gain, or a "gain" antenna of the low-gain
//     list's dBi;
//   - the ground reflection is the calculator's setting; no callsign or site.
// Values are held as the file would hold them (the nearest double).
Station FromCalculator(const korrin::StationState& recalculated);

// The band (region 2) of one of the calculator's band points; empty for a
// frequency that is none of them.
std::optional<std::string> CalculatorBandName(korrin::Real frequencyMHz);

// The transmit/receive cycle, in minutes on and off, that stands for one of
// the calculator's averaging patterns; empty for "Conversational" (the mode's
// duty alone) and an index outside the list.
struct Cycle {
  korrin::Real onMinutes = 0;
  korrin::Real offMinutes = 0;
};
std::optional<Cycle> CalculatorCycle(int averagingIndex);

}  // namespace korrin::station
