#include "moon/Echo.h"

#include "core/Calc.h"
#include "core/Tables.h"

namespace korrin::moon {

std::optional<double> BandPathLossDb(Real frequencyMHz) {
  for (const VhfBand& band : kVhfBands) {
    if (band.frequencyMHz == frequencyMHz) return static_cast<double>(band.pathLossDb);
  }
  return std::nullopt;
}

EchoAtPathLoss::EchoAtPathLoss(const StationState& station) : copy_(station) {
  Recalculate(copy_);
  stationSnDb_ = copy_.EchoSnrDb;
  stationPathLossDb_ = copy_.PathLoss;
}

double EchoAtPathLoss::SnDb(double pathLossDb) {
  copy_.PathLoss = static_cast<Real>(pathLossDb);
  EvaluateEcho(copy_);
  return static_cast<double>(copy_.EchoSnrDb);
}

}  // namespace korrin::moon
