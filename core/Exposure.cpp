// The exposure stage of the cycle: for the antenna in use, the gain in use,
// the far-field boundary and the average power density there, the dish's
// on-axis near-field scan, and the far-field distance at which the average
// density falls to the limit.
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

}  // namespace

Real NearFieldFactorAt(Real delta) {
  const Real x = kPi / (8.0L * delta);
  return kNearFieldScale * (1.0L - (16.0L * delta / kPi) * std::sin(x) +
                            (128.0L * delta * delta / (kPi * kPi)) * (1.0L - std::cos(x)));
}

// Scans inwards from the far-field boundary in steps of 0.0001 of it.  Pass
// 1 looks for the first range above the limit, pass 2 continues from where
// pass 1 stopped and looks for a second one.  Comparisons are strict: a
// density exactly at the limit ends the pass without recording an edge, and
// the edges this scan does not reach keep their earlier values.  The point
// at which each pass stops decides the result, so every pass runs to one of
// its own ends.
void ScanNearField(StationState& s) {
  const Real farField = s.FarFieldDensityWm2;
  const Real limit = s.RadiationLimit;
  Real delta = 1.0L;
  Real factor = s.NearFieldFactor;
  Real density = s.NearFieldDensityWm2;
  s.FirstZoneOpen = false;
  s.SecondZoneOpen = false;

  auto evaluate = [&] {
    factor = NearFieldFactorAt(delta);
    density = farField * factor;
  };

  for (;;) {
    if (delta <= 0) {
      s.FirstZoneInner = 0;
      s.FirstZoneOuter = 0;
      s.FirstZoneOpen = false;
      break;
    }
    evaluate();
    if (density < limit && !s.FirstZoneOpen) {
      delta -= kScanStep;
      s.FirstZoneOuter = delta;
    } else if (density > limit && !s.FirstZoneOpen) {
      s.FirstZoneOuter = delta;
      s.FirstZoneOpen = true;
      delta -= kScanStep;
    } else if (density > limit && s.FirstZoneOpen) {
      delta -= kScanStep;
    } else if (density < limit && s.FirstZoneOpen) {
      s.FirstZoneInner = delta;
      s.FirstZoneOpen = false;
      delta -= kScanStep;
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
    evaluate();
    if (density < limit && !s.SecondZoneOpen) {
      delta -= kScanStep;
      s.SecondZoneOuter = delta;
    } else if (density > limit && !s.SecondZoneOpen) {
      s.SecondZoneOuter = delta;
      s.SecondZoneOpen = true;
      delta -= kScanStep;
    } else if (density > limit && s.SecondZoneOpen) {
      delta -= kScanStep;
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
  ScanNearField(s);
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
