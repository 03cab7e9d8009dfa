// Where each spin button of the window stops: the floor a step down stops at
// and the ceiling a step up stops at, in the station's own units.  The
// handlers clamp to these figures and the view tells screen readers the
// same figures as the spin box's range, so the two cannot part.
#pragma once

#include <limits>
#include <optional>
#include <string_view>

#include "core/StationState.h"

namespace korrin {

struct StepBounds {
  const char* control;  // the spin button, as the handler table names it
  Real below;           // a step down that leaves the value under this ...
  Real floor;           // ... sets it to this
  Real ceiling;         // a step up never leaves the value above this
};

// Most values have no ceiling: their handlers let them grow without end.
// Their range is announced up to the largest double, the widest figure a
// screen reader is given, rather than a made-up top.
inline constexpr Real kNoCeiling = std::numeric_limits<double>::max();

namespace steps {

// Transmitter and dish.
inline constexpr StepBounds kFeedLoss{"SpinButton3", 0.0L, 0.0L, kNoCeiling};
// A diameter stepped under 1 cm starts again at 10 cm; the metric steps of
// 10 cm land on 10 cm, the imperial ones of 3.937 cm may pass under it
// first, so in feet the floor announced is the 1 cm below which the
// diameter restarts.
inline constexpr StepBounds kDishDiameterCm{"SpinButton1", 1.0L, 10.0L, kNoCeiling};
inline constexpr StepBounds kDishEfficiency{"SpinButton2", 0.01L, 0.01L, 1.0L};

// Yagis and the free-gain antenna.
inline constexpr StepBounds kYagiGain{"SpinButton7", 0.0L, 0.0L, kNoCeiling};
// Steps through the stacking table: 1 yagi at step 1, 256 at step 15.
inline constexpr StepBounds kYagiStack{"SpinButton8", 1.0L, 1.0L, 15.0L};
inline constexpr StepBounds kVariableGain{"VaryGain", 0.0L, 0.0L, kNoCeiling};

// The limit stepped by hand.
inline constexpr StepBounds kLimit{"RadUpDn", 0.1L, 0.1L, kNoCeiling};

// Receive chain.
inline constexpr StepBounds kLnaLoss{"LNALoss", 0.01L, 0.01L, kNoCeiling};
inline constexpr StepBounds kLnaNoiseFigure{"LNANf", 0.01L, 0.01L, kNoCeiling};
inline constexpr StepBounds kLnaGain{"LNAGain", 0.5L, 0.0L, kNoCeiling};
inline constexpr StepBounds kLnaRxLoss{"LNARxLoss", 0.1L, 0.0L, kNoCeiling};
inline constexpr StepBounds kRxNoiseFigure{"RxNF", 0.1L, 0.0L, kNoCeiling};
inline constexpr StepBounds kSkyTemp{"TSky", 0.1L, 0.0L, kNoCeiling};
inline constexpr StepBounds kBandwidth{"SpinButton5", 10.0L, 10.0L, kNoCeiling};

// Spillover and mesh.  The mesh spacing's floor is raised further to the
// wire's radius (see MeshSpacingFloor).
inline constexpr StepBounds kSpillover{"SpillOver", 0.1L, 0.1L, kNoCeiling};
inline constexpr StepBounds kMeshDiameter{"MeshDiam", 0.01L, 0.01L, kNoCeiling};
inline constexpr StepBounds kMeshSpacing{"MeshSpacing", 0.01L, 0.01L, kNoCeiling};
inline constexpr StepBounds kFeedThroughExtra{"FeedThr", 0.0L, 0.0L, kNoCeiling};

// Echo figures.
inline constexpr StepBounds kPathLoss{"SpinButton4", 0.0L, 0.0L, kNoCeiling};
inline constexpr StepBounds kSolarFlux{"SolarFlux", 1.0L, 1.0L, kNoCeiling};

}  // namespace steps

// The bounds of the value a spin button steps; nullptr for a spin button
// that chooses from a list and goes round (the vertical's length, the
// beam's band).
const StepBounds* FindStepBounds(std::string_view control);

// A dish diameter in centimetres as the window shows it: in metres, or in
// feet with imperial units.
Real ShownDishDiameter(const StationState& s, Real cm);

// The range of the value a spin button steps, as the window shows that
// value: the floor and ceiling its handler clamps to, the dish diameter in
// the unit in force, the stack as its count of yagis, the feed-through as
// the temperature shown beside it.  Nothing for a spin button that chooses
// from a list.
struct ShownRange {
  Real minimum;
  Real maximum;
};
std::optional<ShownRange> ShownStepRange(const StationState& s, std::string_view control);

// The mesh wires may close up to one radius apart (the radius of the last
// evaluation), and never below the spacing's own floor.
Real MeshSpacingFloor(const StationState& s);

}  // namespace korrin
