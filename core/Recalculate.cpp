#include "core/Calc.h"

namespace korrin {

CycleTrace Recalculate(StationState& s) {
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
  trace.Noise = EvaluateNoise(s);
  EvaluateEcho(s);
  ComputePeakEirp(s);
  trace.PathLossChanged = MarkPathLossChange(s);
  UpdateGroundClearance(s);
  return trace;
}

}  // namespace korrin
