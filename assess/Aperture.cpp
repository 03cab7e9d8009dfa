// Step 7 of the method: a dish by OET 65's aperture equations (Bulletin 65,
// edition 97-01, section 2: the on-axis near-field, transition-region and
// far-field densities of a circular aperture), beside the calculator's own
// on-axis model of the same dish, run through the cycle's own code.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assess/Internal.h"
#include "assess/StationMethod.h"
#include "core/Calc.h"

namespace korrin::assess {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kNearFieldEndPerD2Lambda = 0.25L;  // R_nf = D^2 / (4 lambda)
constexpr Real kFarFieldStartPerD2Lambda = 0.6L;  // R_ff = 0.6 D^2 / lambda
constexpr Real kNearFieldDensityFactor = 16.0L;   // S_nf = 16 e P / (pi D^2)
constexpr Real kCentimetresPerMetre = 100.0L;

// The calculator's station holding only the dish, with a limit.
StationState CalculatorDish(const DishAperture& dish, Real wavelengthM, Real powerW,
                            Real limitWm2) {
  StationState s{};
  s.DishSelected = true;
  s.DishDiameterCopyCm = dish.diameterM * kCentimetresPerMetre;
  s.DishEfficiency = dish.efficiency;
  s.WavelengthM = wavelengthM;
  s.FeedPowerW = powerW;
  s.OverallDutyFactor = 1.0L;  // powerW is already the average
  s.StandardVariable = true;   // a limit of our own, which the cycle leaves alone
  s.RadiationLimit = limitWm2;
  DishFarField(s);
  return s;
}

}  // namespace

Real DishGainRatio(const DishAperture& dish, Real wavelengthM) {
  const Real x = kPi * dish.diameterM / wavelengthM;
  return dish.efficiency * x * x;
}

ApertureRegions ApertureRegionsOf(const DishAperture& dish, Real wavelengthM, Real powerW) {
  const Real d2 = dish.diameterM * dish.diameterM;
  ApertureRegions r;
  r.nearFieldWm2 = kNearFieldDensityFactor * dish.efficiency * powerW / (kPi * d2);
  r.nearFieldEndM = kNearFieldEndPerD2Lambda * d2 / wavelengthM;
  r.farFieldStartM = kFarFieldStartPerD2Lambda * d2 / wavelengthM;
  return r;
}

Real ApertureDensityWm2(const DishAperture& dish, Real wavelengthM, Real powerW, Real distanceM) {
  const ApertureRegions r = ApertureRegionsOf(dish, wavelengthM, powerW);
  if (distanceM < r.nearFieldEndM) return r.nearFieldWm2;
  if (distanceM < r.farFieldStartM) return r.nearFieldWm2 * r.nearFieldEndM / distanceM;
  return powerW * DishGainRatio(dish, wavelengthM) / (4.0L * kPi * distanceM * distanceM);
}

Real ApertureKeepOutM(const DishAperture& dish, Real wavelengthM, Real powerW, Real limitWm2) {
  const ApertureRegions r = ApertureRegionsOf(dish, wavelengthM, powerW);
  // Beyond the far-field start the density falls steadily: its crossing is
  // the outermost one when it lies there.  (At the start the far-field
  // formula lies 2.8 % above the transition density just inside, whatever
  // the dish: a limit between the two leaves a gap just inside the start,
  // which the keep-out distance covers.)
  const Real farField =
      std::sqrt(powerW * DishGainRatio(dish, wavelengthM) / (4.0L * kPi * limitWm2));
  if (farField >= r.farFieldStartM) return farField;
  if (!(r.nearFieldWm2 > limitWm2)) return 0;
  return r.nearFieldWm2 * r.nearFieldEndM / limitWm2;  // inside the transition region
}

Real CalculatorKeepOutM(const DishAperture& dish, Real wavelengthM, Real powerW, Real limitWm2) {
  return detail::SolveKeepOut(CalculatorDish(dish, wavelengthM, powerW, limitWm2)).crossingM;
}

std::shared_ptr<const StationState> CalculatorDishModel(const DishAperture& dish, Real wavelengthM,
                                                        Real powerW) {
  // The limit plays no part in the density.
  return std::make_shared<const StationState>(CalculatorDish(dish, wavelengthM, powerW, 1.0L));
}

}  // namespace korrin::assess
