// Steps 6 and 7 of the method for one case (an installation at one
// frequency, for one criterion): the density along the main beam and the
// keep-out distance, by the far-field formula or, for a dish, by the larger
// of OET 65's aperture equations and the calculator's own model.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assess/StationMethod.h"

namespace korrin::assess {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

}  // namespace

Real DensityAtWm2(const ExposureCase& c, Real distanceM) {
  const Real r = std::max(distanceM, kClosestDistanceM);
  if (c.dish) {
    const std::shared_ptr<const StationState> model =
        c.calculatorDish ? c.calculatorDish : CalculatorDishModel(*c.dish, c.wavelengthM, c.powerW);
    return std::max(ApertureDensityWm2(*c.dish, c.wavelengthM, c.powerW, r),
                    DensityAlongBeam(*model, r));
  }
  // OET 65 eq. (6) with the ground factor F: S = F EIRP / (4 pi R^2).
  return c.groundFactor * c.powerW * c.gainRatio / (4.0L * kPi * r * r);
}

CaseKeepOut KeepOutOf(const ExposureCase& c) {
  CaseKeepOut k;
  if (!(c.powerW > 0) || !(c.limitWm2 > 0)) return k;
  if (!c.dish) {
    k.distanceM = std::sqrt(c.groundFactor * c.powerW * c.gainRatio / (4.0L * kPi * c.limitWm2));
    return k;
  }
  k.apertureM = ApertureKeepOutM(*c.dish, c.wavelengthM, c.powerW, c.limitWm2);
  k.scanM = CalculatorKeepOutM(*c.dish, c.wavelengthM, c.powerW, c.limitWm2);
  if (*k.scanM > *k.apertureM) {
    k.distanceM = *k.scanM;
    k.model = ExposureModel::CalculatorScan;
  } else {
    k.distanceM = *k.apertureM;
    k.model = ExposureModel::Aperture;
  }
  return k;
}

}  // namespace korrin::assess
