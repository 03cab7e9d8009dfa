#include <cmath>

#include "core/Calc.h"

namespace korrin {

void ComputeTxPowerSum(StationState& s) {
  const Int sum = s.PowerThousands + s.PowerHundreds + s.PowerTens + s.PowerUnits;
  s.TxPowerW = static_cast<Real>(sum);
  if (s.TxPowerW < 1.0L) s.TxPowerW = 1e-10L;
}

void ComputePowerChain(StationState& s) {
  const bool none = ZeroPower(s);
  s.TxPowerDbw = 10.0L * std::log10(s.TxPowerW);
  if (none) s.TxPowerDbw = 0;
  s.FeedPowerDbw = s.TxPowerDbw - s.FeedLossDb;
  s.FeedPowerW = std::pow(10.0L, s.FeedPowerDbw / 10.0L);
  if (s.GroundReflection) s.FeedPowerW *= s.GroundReflectionFactor;
  s.AveragePowerW = s.FeedPowerW * s.OverallDutyFactor;
  s.AveragePowerDbw = 10.0L * std::log10(s.AveragePowerW);
  if (none) {
    s.FeedPowerW = 0;
    s.AveragePowerW = 0;
    s.FeedPowerDbw = 0;
    s.AveragePowerDbw = 0;
  }
}

void ComputePeakEirp(StationState& s) {
  s.PeakEirpW = std::pow(10.0L, (s.FeedPowerDbw + s.DishGainDbi) / 10.0L);
  if (ZeroPower(s)) s.PeakEirpW = 0;
}

}  // namespace korrin
