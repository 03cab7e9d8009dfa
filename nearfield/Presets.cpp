#include "nearfield/Presets.h"

#include <algorithm>
#include <cmath>

namespace korrin::nearfield {

namespace {

bool Positive(Real v) {
  return std::isfinite(v) && v > 0;
}

void CheckCommon(Preset& p, Real frequencyMHz, Real radiusM) {
  if (!Positive(frequencyMHz)) p.problems.push_back("the frequency must be above 0 MHz");
  if (!Positive(radiusM)) p.problems.push_back("the wire radius must be above 0");
}

}  // namespace

Preset DipolePreset(Real frequencyMHz, Real heightM, std::optional<Real> lengthM, Real radiusM,
                    const Ground& ground) {
  Preset p;
  CheckCommon(p, frequencyMHz, radiusM);
  if (lengthM && !Positive(*lengthM)) p.problems.push_back("the length must be above 0 m");
  if (!std::isfinite(heightM) || (ground.kind != GroundKind::FreeSpace && !(heightM > 0))) {
    p.problems.push_back("a dipole over a ground must be above it: its height must be above 0 m");
  }
  if (!p.problems.empty()) return p;
  const Real half = lengthM.value_or(WavelengthM(frequencyMHz) / 2) / 2;
  p.model.wires = {{{-half, 0, heightM}, {half, 0, heightM}, radiusM}};
  p.model.feed = {0, std::nullopt};
  p.model.ground = ground;
  return p;
}

Preset InvertedVPreset(Real frequencyMHz, Real apexHeightM, Real droopDeg,
                       std::optional<Real> lengthM, Real radiusM, const Ground& ground) {
  Preset p;
  CheckCommon(p, frequencyMHz, radiusM);
  if (lengthM && !Positive(*lengthM)) p.problems.push_back("the length must be above 0 m");
  if (!std::isfinite(droopDeg) || droopDeg < 0 || droopDeg >= 90) {
    p.problems.push_back("the droop must be from 0 up to (not including) 90 degrees");
  }
  if (!std::isfinite(apexHeightM)) p.problems.push_back("the apex height must be a number");
  if (!p.problems.empty()) return p;
  const Real lambda = WavelengthM(frequencyMHz);
  const Real total = lengthM.value_or(lambda / 2);
  // The feed wire: one segment as long as the legs' own, never below 8 radii.
  const Real centre =
      std::max(lambda / (2 * kSegmentsPerHalfWave), kShortestSegmentInRadii * radiusM * 1.001L);
  if (total <= 3 * centre) {
    p.problems.push_back("the inverted V is too short for a feed wire and two legs");
    return p;
  }
  const Real leg = (total - centre) / 2;
  const Real droop = droopDeg * kPi / 180;
  const Real endZ = apexHeightM - leg * std::sin(droop);
  if (ground.kind != GroundKind::FreeSpace && endZ <= 0) {
    p.problems.push_back(
        "the legs' ends would be at or below the ground: raise the apex or droop less");
    return p;
  }
  const Real c = centre / 2;
  const Real endX = c + leg * std::cos(droop);
  p.model.wires = {{{-c, 0, apexHeightM}, {c, 0, apexHeightM}, radiusM},
                   {{-c, 0, apexHeightM}, {-endX, 0, endZ}, radiusM},
                   {{c, 0, apexHeightM}, {endX, 0, endZ}, radiusM}};
  p.model.feed = {0, 1};
  p.model.ground = ground;
  return p;
}

Preset VerticalPreset(Real frequencyMHz, Real baseHeightM, int radials, Real radiusM,
                      const Ground& ground) {
  Preset p;
  CheckCommon(p, frequencyMHz, radiusM);
  if (!std::isfinite(baseHeightM) || baseHeightM < 0) {
    p.problems.push_back("the base height must be 0 m (ground-mounted) or above");
  }
  if (radials < 0) p.problems.push_back("the number of radials cannot be negative");
  if (!p.problems.empty()) return p;
  const Real quarter = WavelengthM(frequencyMHz) / 4;
  const bool grounded = baseHeightM == 0;
  if (grounded && ground.kind == GroundKind::FreeSpace) {
    p.problems.push_back("a ground-mounted vertical needs a ground, not free space");
    return p;
  }
  if (!grounded && radials == 0) {
    p.problems.push_back("an elevated vertical needs at least one radial");
    return p;
  }
  p.model.wires.push_back({{0, 0, baseHeightM}, {0, 0, baseHeightM + quarter}, radiusM});
  if (grounded) {
    if (radials > 0) {
      p.model.notes.push_back(
          "the radials of a ground-mounted vertical are not modelled: NEC-2 cannot model buried "
          "radials and connects the base to the ground as if perfectly");
    }
  } else {
    for (int i = 0; i < radials; ++i) {
      const Real a = 2 * kPi * i / radials;
      p.model.wires.push_back({{0, 0, baseHeightM},
                               {quarter * std::cos(a), quarter * std::sin(a), baseHeightM},
                               radiusM});
    }
  }
  p.model.feed = {0, 1};
  p.model.ground = ground;
  return p;
}

}  // namespace korrin::nearfield
