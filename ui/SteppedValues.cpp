#include "ui/SteppedValues.h"

#include <algorithm>
#include <array>

#include "core/Calc.h"

namespace korrin {

namespace {

constexpr std::array<const StepBounds*, 20> kAll = {
    &steps::kFeedLoss,     &steps::kDishDiameterCm, &steps::kDishEfficiency,
    &steps::kYagiGain,     &steps::kYagiStack,      &steps::kVariableGain,
    &steps::kLimit,        &steps::kLnaLoss,        &steps::kLnaNoiseFigure,
    &steps::kLnaGain,      &steps::kLnaRxLoss,      &steps::kRxNoiseFigure,
    &steps::kSkyTemp,      &steps::kBandwidth,      &steps::kSpillover,
    &steps::kMeshDiameter, &steps::kMeshSpacing,    &steps::kFeedThroughExtra,
    &steps::kPathLoss,     &steps::kSolarFlux,
};

}  // namespace

const StepBounds* FindStepBounds(std::string_view control) {
  for (const StepBounds* b : kAll) {
    if (control == b->control) return b;
  }
  return nullptr;
}

Real ShownDishDiameter(const StationState& s, Real cm) {
  return s.MetricUnits ? cm / 100.0L : cm / 12.0L * 0.3937L;
}

std::optional<ShownRange> ShownStepRange(const StationState& s, std::string_view control) {
  const StepBounds* b = FindStepBounds(control);
  if (b == nullptr) return std::nullopt;
  ShownRange r{b->floor, b->ceiling};
  if (b == &steps::kDishDiameterCm) {
    // In feet the steps pass under the restart, down to the lowest
    // diameter the handler lets stand.
    r.minimum = ShownDishDiameter(s, s.MetricUnits ? b->floor : b->below);
  } else if (b == &steps::kYagiStack) {
    // The count of yagis the array has at either end of the table.
    StationState at = s;
    at.YagiStackStep = static_cast<Int>(b->floor);
    UpdateYagiArray(at);
    r.minimum = at.YagiCount;
    at.YagiStackStep = static_cast<Int>(b->ceiling);
    UpdateYagiArray(at);
    r.maximum = at.YagiCount;
  } else if (b == &steps::kMeshSpacing) {
    r.minimum = MeshSpacingFloor(s);
  } else if (b == &steps::kFeedThroughExtra) {
    // The window shows what the mesh lets through with the extra added.
    r = {s.MeshLeakTempK + b->floor, b->ceiling};
  }
  return r;
}

Real MeshSpacingFloor(const StationState& s) {
  return std::max(s.MeshWireRadiusMm, steps::kMeshSpacing.floor);
}

}  // namespace korrin
