// Placeholder: receive noise chain, mesh feed-through, echo (being built).
#include "core/Calc.h"

namespace korrin {

NoiseReport EvaluateNoise(StationState&) { return {}; }
void EvaluateEcho(StationState&) {}
bool MarkPathLossChange(const StationState&) { return false; }

}  // namespace korrin
