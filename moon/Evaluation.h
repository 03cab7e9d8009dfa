// The moon-bounce plan of the calculator's station: the plan at the
// station's band, and for every row the echo S/N the station would have at
// that row's path loss.  The report and the Moon window both show this.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/StationState.h"
#include "moon/Plan.h"

namespace korrin::moon {

struct Evaluation {
  PlanRequest request;  // with the station's frequency
  Plan plan;
  std::vector<double> echoSnDb;          // one per row of the plan
  std::optional<double> bandPathLossDb;  // the band table's; empty off the VHF-SHF bands
  double stationPathLossDb = 0;          // the path loss the calculator uses now
  double stationSnDb = 0;                // the calculator's own echo S/N
};

// True when the station shows a band of the VHF-SHF side, the moon-bounce
// station; the HF side has no echo figures to give.
bool OnMoonBounceSide(const StationState& station);

// Plans `request` at the station's frequency (its own frequency is
// ignored); `station` is not changed.  The request must pass CheckRequest.
Evaluation Evaluate(const StationState& station, PlanRequest request, YearBestCache& cache);

// The row's change of path loss from the band table's figure; empty off
// the VHF-SHF bands.
std::optional<double> BandChangeDb(const Evaluation& e, const Row& row);

}  // namespace korrin::moon
