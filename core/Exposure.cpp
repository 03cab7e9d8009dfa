// The exposure stage of the cycle: for the antenna in use, the gain in use,
// the far-field boundary and the average power density there, the dish's
// on-axis near-field scan, and the far-field distance at which the average
// density falls to the limit.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Calc.h"

namespace korrin {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

constexpr Real kNearFieldScale = 26.1L;   // on-axis near-field model
constexpr Real kScanStep = 0.0001L;       // of the far-field boundary
constexpr Real kApertureFactor = 0.125L;  // yagi / low-gain equivalent aperture

// Average density at distance `boundary` from an antenna of power gain
// `gain` fed with the station's average power.
Real DensityAt(const StationState& s, Real gain, Real boundary) {
  return s.FeedPowerW * s.OverallDutyFactor * gain / (4.0L * kPi * boundary * boundary);
}

// Far-field distance at which the average density equals the limit.
Real ExclusionDistance(const StationState& s, Real gain) {
  return std::sqrt(gain * s.FeedPowerW * s.OverallDutyFactor / (4.0L * kPi * s.RadiationLimit));
}

// Far-field boundary of an antenna known only by its gain: the square
// aperture of the same dBd gain.
Real EquivalentApertureBoundary(Real gainDbd, Real lambda) {
  const Real area = std::pow(10.0L, gainDbd / 10.0L) * kApertureFactor;
  const Real side = 2.0L * std::sqrt(area / lambda);
  const Real length = std::sqrt(2.0L * side * side);
  return 2.0L * length * length / lambda;
}

// Gain, boundary, density and distance of the yagi and low-gain branches.
void GainOnlyAntenna(StationState& s, Real gainDbi, Real gainDbd) {
  s.DishGainDbi = gainDbi;  // from here on, the gain in use
  s.AntennaGainRatio = std::pow(10.0L, gainDbi / 10.0L);
  s.FarFieldBoundaryM = EquivalentApertureBoundary(gainDbd, s.WavelengthM);
  s.FarFieldDensityWm2 = DensityAt(s, s.AntennaGainRatio, s.FarFieldBoundaryM);
  s.ExclusionDistanceM = ExclusionDistance(s, s.AntennaGainRatio);
}

void BringLimitUpToDate(StationState& s) {
  if (!s.StandardVariable) UpdateRadiationLimit(s);
}

// The factors of a single scan, computed at each step; nothing is known
// ahead of the step the scan is at.
struct ComputedFactors {
  static Real FactorAt(std::size_t /*step*/, Real delta) { return NearFieldFactorAt(delta); }
  static std::size_t Computed() { return 0; }
  static std::size_t FirstNotOnSide(std::size_t step, Real /*farField*/, Real /*limit*/,
                                    bool /*below*/) {
    return step;
  }
  static Real DeltaAt(std::size_t /*step*/) { return 0; }
};

// Scans inwards from the far-field boundary in steps of 0.0001 of it.  Pass
// 1 looks for the first range above the limit, pass 2 continues from where
// pass 1 stopped and looks for a second one.  Comparisons are strict: a
// density exactly at the limit ends the pass without recording an edge, and
// the edges this scan does not reach keep their earlier values.  The point
// at which each pass stops decides the result, so every pass runs to one of
// its own ends.
//
// The factors come from `source`: computed at each step, or taken from the
// table every scan shares, which may pass over the steps known to keep a
// pass walking.
template <typename Source>
void Scan(StationState& s, Source& source) {
  const Real farField = s.FarFieldDensityWm2;
  const Real limit = s.RadiationLimit;
  Real delta = 1.0L;
  std::size_t step = 0;  // counts the steps taken: delta's place in the walk
  Real factor = s.NearFieldFactor;
  Real density = s.NearFieldDensityWm2;
  s.FirstZoneOpen = false;
  s.SecondZoneOpen = false;

  auto evaluate = [&] {
    factor = source.FactorAt(step, delta);
    density = farField * factor;
  };
  // Passes over the steps before the next one that may end the walk on the
  // side of the limit the pass is on (`below`), as stepping would, `edge`
  // following each step below.
  auto passOver = [&](bool below, Real& edge) {
    if (step + 1 >= source.Computed()) return;  // nothing known ahead
    const std::size_t to = source.FirstNotOnSide(step, farField, limit, below);
    if (to > step + 1) {
      step = to - 1;
      delta = source.DeltaAt(step);
      if (below) edge = delta;
    }
  };
  auto next = [&] {
    delta -= kScanStep;
    ++step;
  };

  for (;;) {
    if (delta <= 0) {
      s.FirstZoneInner = 0;
      s.FirstZoneOuter = 0;
      s.FirstZoneOpen = false;
      break;
    }
    passOver(!s.FirstZoneOpen, s.FirstZoneOuter);
    evaluate();
    if (density < limit && !s.FirstZoneOpen) {
      next();
      s.FirstZoneOuter = delta;
    } else if (density > limit && !s.FirstZoneOpen) {
      s.FirstZoneOuter = delta;
      s.FirstZoneOpen = true;
      next();
    } else if (density > limit && s.FirstZoneOpen) {
      next();
    } else if (density < limit && s.FirstZoneOpen) {
      s.FirstZoneInner = delta;
      s.FirstZoneOpen = false;
      next();
      break;
    } else {
      break;  // exactly at the limit
    }
  }

  for (;;) {
    if (delta <= 0) {
      s.SecondZoneInner = 0;
      s.SecondZoneOuter = 0;
      break;
    }
    passOver(!s.SecondZoneOpen, s.SecondZoneOuter);
    evaluate();
    if (density < limit && !s.SecondZoneOpen) {
      next();
      s.SecondZoneOuter = delta;
    } else if (density > limit && !s.SecondZoneOpen) {
      s.SecondZoneOuter = delta;
      s.SecondZoneOpen = true;
      next();
    } else if (density > limit && s.SecondZoneOpen) {
      next();
    } else if (density < limit && s.SecondZoneOpen) {
      s.SecondZoneInner = delta;
      break;
    } else {
      break;  // exactly at the limit
    }
  }

  s.SearchStepDelta = delta;
  s.NearFieldFactor = factor;
  s.NearFieldDensityWm2 = density;
}

}  // namespace

Real NearFieldFactorAt(Real delta) {
  const Real x = kPi / (8.0L * delta);
  return kNearFieldScale * (1.0L - (16.0L * delta / kPi) * std::sin(x) +
                            (128.0L * delta * delta / (kPi * kPi)) * (1.0L - std::cos(x)));
}

void ScanNearField(StationState& s) {
  ComputedFactors source;
  Scan(s, source);
}

void ScanNearField(StationState& s, const NearFieldSteps& steps) {
  Scan(s, steps);
}

NearFieldSteps::NearFieldSteps() {
  static const Table kEveryStep = Build();
  table_ = &kEveryStep;
}

NearFieldSteps::Table NearFieldSteps::Build() {
  // The steps as every scan takes them, from the boundary (delta 1) down
  // to the antenna, in blocks of kBlock with their extremes.
  Table t;
  const auto steps = static_cast<std::size_t>(1.0L / kScanStep) + 1;
  t.factors.reserve(steps);
  t.blocks.reserve(steps / kBlock + 1);
  for (Real d = 1.0L; d > 0;) {
    Block block{d, HUGE_VALL, -HUGE_VALL};
    for (std::size_t i = 0; i < kBlock && d > 0; ++i, d -= kScanStep) {
      const Real factor = NearFieldFactorAt(d);
      t.factors.push_back(factor);
      block.lowest = std::min(block.lowest, factor);
      block.highest = std::max(block.highest, factor);
    }
    t.blocks.push_back(block);
  }
  return t;
}

Real NearFieldSteps::DeltaAt(std::size_t step) const {
  // From the block's first step, by the scan's own steps.
  Real delta = table_->blocks[step / kBlock].firstDelta;
  for (std::size_t i = 0; i < step % kBlock; ++i) delta -= kScanStep;
  return delta;
}

std::size_t NearFieldSteps::FirstNotOnSide(std::size_t step, Real farField, Real limit,
                                           bool below) const {
  // The density is farField times the factor, and rounding keeps the
  // order of the products, so a whole block lies strictly on one side
  // when its highest (lowest) factor does.
  if (!(farField >= 0)) return step;
  const auto onSide = [&](Real factor) {
    const Real density = farField * factor;
    return below ? density < limit : density > limit;
  };
  const std::vector<Real>& factors = table_->factors;
  const std::vector<Block>& blocks = table_->blocks;
  const std::size_t kept = factors.size();
  const std::size_t wholeBlocks = blocks.size();
  std::size_t j = step;
  while (j < kept && j % kBlock != 0) {
    if (!onSide(factors[j])) return j;
    ++j;
  }
  while (j / kBlock < wholeBlocks &&
         onSide(below ? blocks[j / kBlock].highest : blocks[j / kBlock].lowest)) {
    j += kBlock;
  }
  while (j < kept && onSide(factors[j])) ++j;
  return std::min(j, kept);  // the last block may end short, at the antenna
}

void DishFarField(StationState& s) {
  const Real d = s.DishDiameterCopyCm / 100.0L;
  const Real lambda = s.WavelengthM;
  const Real aperture = kPi * d / lambda;
  s.AntennaGainRatio = aperture * aperture * s.DishEfficiency;
  s.FarFieldBoundaryM = 2.0L * d * d / lambda;
  s.FarFieldDensityWm2 = DensityAt(s, s.AntennaGainRatio, s.FarFieldBoundaryM);
  s.ExclusionDistanceM = ExclusionDistance(s, s.AntennaGainRatio);
}

void DishBranch(StationState& s) {
  BringLimitUpToDate(s);
  DishFarField(s);
  ScanNearField(s, NearFieldSteps());
}

void RecalculateLimit(StationState& s) {
  // The branches of the cycle, each only as far as the limit reaches.
  if (s.DishSelected || s.YagiSelected || s.LowGainSelected) {
    BringLimitUpToDate(s);
    if (s.DishSelected) ScanNearField(s, NearFieldSteps());
    s.ExclusionDistanceM = ExclusionDistance(s, s.AntennaGainRatio);
  }
  UpdateGroundClearance(s);
}

void YagiBranch(StationState& s) {
  BringLimitUpToDate(s);
  EvaluateEcho(s);  // with the gain before the array's replaces it
  GainOnlyAntenna(s, s.YagiArrayGainDbi, s.YagiArrayGainDbd);
  EvaluateNoise(s);
}

void LowGainBranch(StationState& s) {
  UpdateLowGainAntenna(s);
  // The low-gain zone counts the ground reflection a second time; the
  // power displays keep the single factor.
  if (s.GroundReflection) s.FeedPowerW *= s.GroundReflectionFactor;
  BringLimitUpToDate(s);
  GainOnlyAntenna(s, s.LowGainDbi, s.LowGainDbd);
}

}  // namespace korrin
