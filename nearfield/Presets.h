// Wire antennas that need no file: each preset generates the wires of a
// WireModel from a few figures.  Coordinates are metres from the antenna's
// position on the ground (x = y = 0, z = 0); the wires of the dipole and
// the inverted V run along x.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "nearfield/WireModel.h"

namespace korrin::nearfield {

struct Preset {
  WireModel model;
  std::vector<std::string> problems;  // empty when the model can be built
};

// A horizontal dipole at `heightM`, half a wave long at `frequencyMHz`
// unless `lengthM` is given, fed in its middle.
Preset DipolePreset(Real frequencyMHz, Real heightM, std::optional<Real> lengthM, Real radiusM,
                    const Ground& ground);

// An inverted V with its apex at `apexHeightM` and each leg `droopDeg`
// below the horizontal; half a wave of wire in all unless `lengthM` is
// given.  The feed sits at the apex on a short horizontal wire of one
// segment, from whose ends the legs run down.
Preset InvertedVPreset(Real frequencyMHz, Real apexHeightM, Real droopDeg,
                       std::optional<Real> lengthM, Real radiusM, const Ground& ground);

// A quarter-wave vertical with its base at `baseHeightM`, fed at the base.
// Ground-mounted (base at 0 m): over a ground only, its radials not
// modelled (NEC-2 cannot model buried radials and connects the base to the
// ground as if perfectly; a note says so).  Elevated: `radials` horizontal
// quarter-wave radials from the base, evenly spread, at least one.
Preset VerticalPreset(Real frequencyMHz, Real baseHeightM, int radials, Real radiusM,
                      const Ground& ground);

}  // namespace korrin::nearfield
