// The calculator's own echo figures at the path loss of a date: the echo
// signal-to-noise ratio comes from the cycle's echo step run on a copy of
// the station, so the calculator's figures never change.
#pragma once

#include <optional>

#include "core/StationState.h"

namespace korrin::moon {

// The path loss the calculator's band table gives at a frequency; empty
// for a frequency that is not one of its VHF-SHF bands.
std::optional<double> BandPathLossDb(Real frequencyMHz);

// The station's echo S/N at other path losses.
class EchoAtPathLoss {
 public:
  // Copies the station and runs the whole cycle on the copy once.
  explicit EchoAtPathLoss(const StationState& station);

  // The echo S/N in dB with the copy's path loss set to `pathLossDb`: the
  // path loss enters the cycle only in its echo step, which is run again.
  double SnDb(double pathLossDb);

  // The station's own figures, as the calculator shows them.
  double StationSnDb() const { return static_cast<double>(stationSnDb_); }
  double StationPathLossDb() const { return static_cast<double>(stationPathLossDb_); }
  double FrequencyMHz() const { return static_cast<double>(copy_.FrequencyMHz); }

 private:
  StationState copy_;
  Real stationSnDb_ = 0;
  Real stationPathLossDb_ = 0;
};

}  // namespace korrin::moon
