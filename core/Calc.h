// The calculations of the station.  Every function reads and writes the
// StationState it is given and nothing else: no window, no file, no clock.
#pragma once

#include <cstddef>
#include <vector>

#include "core/StationState.h"

namespace korrin {

// ---- power chain (transmitter) -------------------------------------------

// Sum of the four power digits; a sum below 1 W becomes 1e-10 W so that the
// logarithms stay finite.
void ComputeTxPowerSum(StationState& s);

// True when the transmitter delivers no power (all four digits are 0).
inline bool ZeroPower(const StationState& s) {
  return s.TxPowerW < 1.0L;
}

// TxPowerDbw, FeedPowerDbw, FeedPowerW (with ground reflection once),
// AveragePowerW and AveragePowerDbw, with the zero-power values cleared.
void ComputePowerChain(StationState& s);

// PeakEirpW from FeedPowerDbw and the gain in use (DishGainDbi); cleared at
// zero power.
void ComputePeakEirp(StationState& s);

// ---- antennas ---------------------------------------------------------------

// DishDiameterCopyCm, DishGainDbi, DishGainDbd, DishBeamwidthDeg.
void ComputeDishGain(StationState& s);

// YagiCount, YagiArrayGainDbi/Dbd and the E/H beamwidths from YagiGainDbi and
// YagiStackStep.
void UpdateYagiArray(StationState& s);

// Re-applies the chosen low-gain antenna (gain and flags) while the low-gain
// family is in use; LowGainDbd always follows LowGainDbi.  Returns false when
// the family is not in use and nothing was done.
bool UpdateLowGainAntenna(StationState& s);

// Low-gain table lookups (an index outside the list yields false).
bool VerticalRow(int index, const char** caption, Real* gainDbi);
bool BeamRow(int index, const char** caption, Real* gainDbi);
constexpr Real kDipoleGainDbi = 2.0L;

// ---- exposure ---------------------------------------------------------------

// RadiationLimit from the selected fixed standard and FrequencyMHz; does
// nothing while StandardVariable is set.
void UpdateRadiationLimit(StationState& s);

// The dish's AntennaGainRatio, FarFieldBoundaryM, FarFieldDensityWm2 and
// ExclusionDistanceM from its diameter, efficiency, WavelengthM, FeedPowerW,
// OverallDutyFactor and RadiationLimit, without the near-field scan.
void DishFarField(StationState& s);

// The three antenna branches of the cycle (limit, gain in use, far-field
// boundary and density, near-field scan for the dish, exclusion distance).
void DishBranch(StationState& s);
void YagiBranch(StationState& s);
void LowGainBranch(StationState& s);

// On-axis near-field factor N(delta) of the dish model.
Real NearFieldFactorAt(Real delta);

// The two-pass scan of the dish's near field (uses FarFieldDensityWm2 and
// RadiationLimit, writes the scan fields), computing the factor at each
// step it takes.
void ScanNearField(StationState& s);

// The near-field factor at every step of the dish's scan.  The steps and
// their factors depend on neither the station nor the limit (only where a
// scan stops does), so they are computed once, on first use, for every
// scan the program runs; a NearFieldSteps is a handle on them.
class NearFieldSteps {
 public:
  NearFieldSteps();

  // The factor at step `step` of the scan, whose delta is `delta`.  Every
  // step down to the antenna is kept, so `delta` is used only past them.
  Real FactorAt(std::size_t step, Real delta) const {
    return step < table_->factors.size() ? table_->factors[step] : NearFieldFactorAt(delta);
  }

  // The first step from `step` on at which the density (`farField` times
  // the factor) is not known to lie strictly below `limit` (with `below`,
  // else strictly above it); at most Computed().
  std::size_t FirstNotOnSide(std::size_t step, Real farField, Real limit, bool below) const;

  // The delta of a step kept (below Computed()), as the scan's steps reach it.
  Real DeltaAt(std::size_t step) const;

  std::size_t Computed() const { return table_->factors.size(); }

 private:
  struct Block {
    Real firstDelta;
    Real lowest;  // of its factors
    Real highest;
  };
  static constexpr std::size_t kBlock = 64;  // steps summed up together

  struct Table {
    std::vector<Real> factors;
    std::vector<Block> blocks;
  };
  static Table Build();

  const Table* table_;
};

// The same scan, its factors taken from `steps`: the same figures, without
// computing a factor, and passing at once over the steps known to keep a
// pass walking.
void ScanNearField(StationState& s, const NearFieldSteps& steps);

// TowerClearanceM from ExclusionDistanceM and TowerHeight.
void UpdateGroundClearance(StationState& s);

// Progress-bar position of the clearance: whole metres, halves to even.
int ClearanceBarPosition(Real clearanceM);

// ---- moon-bounce ------------------------------------------------------------

// Values that the noise evaluation shows but does not keep in the station.
struct NoiseReport {
  Real ReceiverTempK = 0;
  Real ReceiverNoiseFigureDb = 0;
  Real SpilloverDb = 0;
};

// Sun flux, mesh feed-through, receive-chain temperatures, system figures,
// G/T and both Y-factors.
NoiseReport EvaluateNoise(StationState& s);

// NoisePowerDbw and EchoSnrDb.
void EvaluateEcho(StationState& s);

// True when PathLoss differs from the band table's value at FrequencyMHz.
bool MarkPathLossChange(const StationState& s);

// ---- the cycle ----------------------------------------------------------------

// What the display half needs that the station no longer holds by the end of
// the cycle (values shown before a later step replaced them).
struct CycleTrace {
  Real DishGainDbiShown = 0;  // dish gain before the branch put in the gain in use
  Real FeedPowerWShown = 0;   // feed power before the low-gain branch's second reflection
  NoiseReport Noise;
  bool PathLossChanged = false;
};

// The computing half of the recalculation: derives every dependent field of
// the station in the fixed order of the cycle.
CycleTrace Recalculate(StationState& s);

// The cycle without its moon-bounce stage (system noise, echo, peak EIRP,
// path-loss cue), for what needs only the exposure figures: every field of
// the power chain, the antennas and the exclusion zone as Recalculate
// derives them; the moon-bounce figures are left as they were, except
// those the yagi's branch evaluates on its way.
void RecalculateExposure(StationState& s);

// The fields the cycle derives from the limit, derived anew for a station
// that the cycle has recalculated and whose standard or RadiationLimit has
// been changed since: the limit from the selected fixed standard, the
// exclusion distance, the dish's near-field scan and the ground clearance,
// for the antenna in use as the cycle's branches compute them.  Every field
// then equals what Recalculate would give the changed station.
void RecalculateLimit(StationState& s);

}  // namespace korrin
