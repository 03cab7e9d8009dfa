// The one record of everything the calculator knows about the station:
// inputs, selections, flags, constants and every derived value.
//
// The field list is kept once, as an X-macro, so that the struct, the
// report's "state" object and the state comparisons in the tests can never
// drift apart.  Reals are long double (80-bit extended on x86-64),
// selections 32-bit signed integers, flags bools.  A value-initialised
// StationState{} is zero-filled, which is how the program starts.
#pragma once

#include <cstdint>

namespace korrin {

// X(type, name): type is one of Real, Int, Flag.
// clang-format off
#define KORRIN_STATION_FIELDS(X)                                               \
  /* band, frequency and band-group memory */                                \
  X(Real, FrequencyMHz)                                                      \
  X(Real, WavelengthM)                                                       \
  X(Int, VhfBandIndex)                                                       \
  X(Int, HfBandIndex)                                                        \
  X(Flag, ShfBandsShown)                                                     \
  X(Flag, HfBandsShown)                                                      \
  X(Real, ShfFeedLossDb)                                                     \
  X(Real, HfFeedLossDb)                                                      \
  /* transmitter, mode and averaging */                                      \
  X(Int, PowerThousands)                                                     \
  X(Int, PowerHundreds)                                                      \
  X(Int, PowerTens)                                                          \
  X(Int, PowerUnits)                                                         \
  X(Real, TxPowerW)                                                          \
  X(Real, TxPowerDbw)                                                        \
  X(Real, FeedLossDb)                                                        \
  X(Real, FeedPowerDbw)                                                      \
  X(Real, FeedPowerW)                                                        \
  X(Int, ModeIndex)                                                          \
  X(Int, AveragingIndex)                                                     \
  X(Real, FormFactor)                                                        \
  X(Real, SixMinuteFactor)                                                   \
  X(Real, OverallDutyFactor)                                                 \
  X(Real, AveragePowerW)                                                     \
  X(Real, AveragePowerDbw)                                                   \
  X(Real, PeakEirpW)                                                         \
  /* antennas */                                                             \
  X(Flag, DishSelected)                                                      \
  X(Flag, YagiSelected)                                                      \
  X(Flag, LowGainSelected)                                                   \
  X(Real, DishDiameterCm)                                                    \
  X(Real, DishDiameterCopyCm)                                                \
  X(Real, DishEfficiency)                                                    \
  X(Real, DishGainDbi)                                                       \
  X(Real, DishGainDbd)                                                       \
  X(Real, DishBeamwidthDeg)                                                  \
  X(Real, AntennaGainRatio)                                                  \
  X(Flag, SolidDish)                                                         \
  X(Real, YagiGainDbi)                                                       \
  X(Int, YagiStackStep)                                                      \
  X(Real, YagiCount)                                                         \
  X(Real, YagiArrayGainDbi)                                                  \
  X(Real, YagiArrayGainDbd)                                                  \
  X(Real, YagiEBeamwidthDeg)                                                 \
  X(Real, YagiHBeamwidthDeg)                                                 \
  X(Flag, DipoleSelected)                                                    \
  X(Flag, VerticalSelected)                                                  \
  X(Flag, BeamSelected)                                                      \
  X(Flag, VariableGainSelected)                                              \
  X(Int, VerticalLengthIndex)                                                \
  X(Int, BeamBandIndex)                                                      \
  X(Real, LowGainDbi)                                                        \
  X(Real, LowGainDbd)                                                        \
  /* exposure assessment */                                                  \
  X(Flag, StandardAS2772)                                                    \
  X(Flag, StandardARPANSA)                                                   \
  X(Flag, StandardFCC)                                                       \
  X(Flag, StandardVariable)                                                  \
  X(Real, RadiationLimit)                                                    \
  X(Int, LimitStepCount)                                                     \
  X(Flag, GroundReflection)                                                  \
  X(Real, GroundReflectionFactor)                                            \
  X(Real, FarFieldBoundaryM)                                                 \
  X(Real, FarFieldDensityWm2)                                                \
  X(Real, ExclusionDistanceM)                                                \
  X(Real, SearchStepDelta)                                                   \
  X(Real, NearFieldFactor)                                                   \
  X(Real, NearFieldDensityWm2)                                               \
  X(Real, FirstZoneInner)                                                    \
  X(Real, FirstZoneOuter)                                                    \
  X(Real, SecondZoneInner)                                                   \
  X(Real, SecondZoneOuter)                                                   \
  X(Flag, FirstZoneOpen)                                                     \
  X(Flag, SecondZoneOpen)                                                    \
  X(Int, TowerHeight)                                                        \
  X(Real, TowerClearanceM)                                                   \
  /* moon-bounce system performance */                                       \
  X(Real, PathLoss)                                                          \
  X(Real, SkyTempK)                                                          \
  X(Real, RxBandwidthHz)                                                     \
  X(Real, LnaLossDb)                                                         \
  X(Real, LnaNoiseFigureDb)                                                  \
  X(Real, LnaGainDb)                                                         \
  X(Real, LnaRxLossDb)                                                       \
  X(Real, RxNoiseFigureDb)                                                   \
  X(Real, SpilloverTempK)                                                    \
  X(Real, MeshWireDiameterMm)                                                \
  X(Real, MeshSpacingMm)                                                     \
  X(Real, FeedThroughExtraK)                                                 \
  X(Real, SolarFluxSfu)                                                      \
  X(Flag, IncrementMultiplier)                                               \
  X(Real, BoltzmannConstant)                                                 \
  X(Real, MeshWireRadiusMm)                                                  \
  X(Real, SystemNoiseTempK)                                                  \
  X(Real, SystemNoiseFigureDb)                                               \
  X(Real, LnaLossTempK)                                                      \
  X(Real, LnaNoiseTempK)                                                     \
  X(Real, RxNoiseTempK)                                                      \
  X(Real, LnaGainRatio)                                                      \
  X(Real, GainOverTemp)                                                      \
  X(Real, MeshAttenuationDb)                                                 \
  X(Real, MeshLeakTempK)                                                     \
  X(Real, FeedThroughTempK)                                                  \
  X(Real, FeedThroughDb)                                                     \
  X(Real, NoisePowerDbw)                                                     \
  X(Real, EchoSnrDb)                                                         \
  X(Real, SunFluxDensity)                                                    \
  X(Real, SunYFactorDb)                                                      \
  X(Real, ColdSkyGroundYDb)                                                  \
  /* display and stored-only fields */                                       \
  X(Flag, MetricUnits)                                                       \
  X(Flag, ReservedFlag1)                                                     \
  X(Flag, ReservedFlag2)                                                     \
  X(Flag, ReservedFlag3)                                                     \
  X(Flag, ReservedFlag4)                                                     \
  X(Flag, ReservedFlag5)                                                     \
  /* working flags of the data-file commands */                              \
  X(Flag, DefaultLoadRequested)                                              \
  X(Flag, DataFileMissing)
// clang-format on

using Real = long double;
using Int = std::int32_t;
using Flag = bool;

struct StationState {
#define KORRIN_DECLARE_FIELD(type, name) type name{};
  KORRIN_STATION_FIELDS(KORRIN_DECLARE_FIELD)
#undef KORRIN_DECLARE_FIELD
};

// Calls visit(name, field) for every field in declaration order; field is a
// reference to Real, Int or Flag.  Works on const and non-const states.
template <typename State, typename Visitor>
void ForEachStationField(State& s, Visitor&& visit) {
#define KORRIN_VISIT_FIELD(type, name) visit(#name, s.name);
  KORRIN_STATION_FIELDS(KORRIN_VISIT_FIELD)
#undef KORRIN_VISIT_FIELD
}

// Field-by-field equality (reals compared bitwise-equal as values; NaN
// never occurs in a valid station).  Padding is never compared.
bool SameStation(const StationState& a, const StationState& b);

}  // namespace korrin
