// Placeholder: dish, yagi and low-gain antenna models (being built).
#include "core/Calc.h"

namespace korrin {

void ComputeDishGain(StationState& s) { s.DishDiameterCopyCm = s.DishDiameterCm; }
void UpdateYagiArray(StationState&) {}
bool UpdateLowGainAntenna(StationState&) { return false; }
bool VerticalRow(int, const char**, Real*) { return false; }
bool BeamRow(int, const char**, Real*) { return false; }

}  // namespace korrin
