#include "core/Calc.h"

namespace korrin {

namespace {

// The cycle in its fixed order; the moon-bounce system's stage only where
// asked for.
CycleTrace Cycle(StationState& s, bool moonBounce) {
  CycleTrace trace;
  s.WavelengthM = 300.0L / s.FrequencyMHz;
  ComputeTxPowerSum(s);
  ComputeDishGain(s);
  trace.DishGainDbiShown = s.DishGainDbi;
  ComputePowerChain(s);
  trace.FeedPowerWShown = s.FeedPowerW;
  UpdateYagiArray(s);
  if (s.DishSelected) {
    DishBranch(s);
  } else if (s.YagiSelected) {
    YagiBranch(s);
  } else if (s.LowGainSelected) {
    LowGainBranch(s);
  }
  if (moonBounce) {
    trace.Noise = EvaluateNoise(s);
    EvaluateEcho(s);
    ComputePeakEirp(s);
    trace.PathLossChanged = MarkPathLossChange(s);
  }
  UpdateGroundClearance(s);
  return trace;
}

}  // namespace

CycleTrace Recalculate(StationState& s) {
  return Cycle(s, true);
}

void RecalculateExposure(StationState& s) {
  Cycle(s, false);
}

}  // namespace korrin
