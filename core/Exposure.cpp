// Placeholder: limits, exclusion zone, near-field scan, tower clearance (being built).
#include "core/Calc.h"

namespace korrin {

void UpdateRadiationLimit(StationState&) {}
void DishBranch(StationState&) {}
void YagiBranch(StationState&) {}
void LowGainBranch(StationState&) {}
Real NearFieldFactorAt(Real) { return 0; }
void ScanNearField(StationState&) {}
void UpdateGroundClearance(StationState&) {}
int ClearanceBarPosition(Real) { return 0; }

}  // namespace korrin
