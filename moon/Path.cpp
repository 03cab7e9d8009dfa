#include "moon/Path.h"

#include <cmath>
#include <numbers>

namespace korrin::moon {

double PathLossDb(double frequencyMHz, double distance1Km, double distance2Km) {
  constexpr double kPi = std::numbers::pi;
  const double sigma = kMoonReflectivity * kPi * kMoonRadiusM * kMoonRadiusM;
  const double lambda = kSpeedOfLightMps / (frequencyMHz * 1e6);
  const double d1 = distance1Km * 1000.0;
  const double d2 = distance2Km * 1000.0;
  // In logarithms, so that no term overflows or loses digits: d⁴ is 2e34 m⁴.
  return 10.0 * (3.0 * std::log10(4.0 * kPi) + 2.0 * std::log10(d1) + 2.0 * std::log10(d2) -
                 std::log10(sigma) - 2.0 * std::log10(lambda));
}

double EchoPathLossDb(double frequencyMHz, double distanceKm) {
  return PathLossDb(frequencyMHz, distanceKm, distanceKm);
}

double EchoDopplerHz(double frequencyMHz, double rangeRateMps) {
  return PathDopplerHz(frequencyMHz, rangeRateMps, rangeRateMps);
}

double PathDopplerHz(double frequencyMHz, double rangeRate1Mps, double rangeRate2Mps) {
  return -frequencyMHz * 1e6 * (rangeRate1Mps + rangeRate2Mps) / kSpeedOfLightMps;
}

}  // namespace korrin::moon
