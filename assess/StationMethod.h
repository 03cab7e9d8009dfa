// The steps of a station's evaluation, each a function of plain values:
// the feed line's loss, the time fraction of a transmit/receive cycle, the
// dish's gain and OET 65's aperture equations, the keep-out distance of a
// case, the frequencies a band is evaluated at, the FCC exemption distance.
// assess/StationEvaluation.h puts them together.  Units as there.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "assess/StationEvaluation.h"
#include "nearfield/Tables.h"

namespace korrin::assess {

// ERP is referred to a half-wave dipole: ERP = EIRP / 1.64.
inline constexpr Real kDipoleGainRatio = 1.64L;

// ---- wavelength (FeedLine.cpp) ----

// lambda = c / f with c = 299.792458 m/us, metres.
Real WavelengthM(Real frequencyMHz);

// ---- feed line (FeedLine.cpp) ----

struct FeedLineLoss {
  Real matchedLossDb = 0;   // the line's own loss, matched
  Real extraLossDb = 0;     // connectors, switches, tuner
  std::optional<Real> swr;  // >= 1
  station::SwrAt swrAt = station::SwrAt::Antenna;
};

// The line's total loss in dB: the matched loss raised by the mismatch
// (Gamma = (s-1)/(s+1) at the antenna; an SWR measured at the transmitter
// gives the antenna's Gamma = Gamma_tx * 10^(L/10)), plus the extra loss.
// Empty when the SWR at the transmitter implies |Gamma| >= 1 at the antenna,
// which no line can show: the figures do not fit together.
std::optional<Real> FeedLineLossDb(const FeedLineLoss& line);

// ---- time fraction (TimeFraction.cpp) ----

struct Cycle {
  Real onMinutes = 0;   // > 0
  Real offMinutes = 0;  // >= 0
};

// The largest fraction of any `averagingMinutes` window that a cycle of
// `on` minutes transmitting and `off` minutes receiving transmits (the
// window starting as a transmission starts); 1 without a cycle.
Real TimeFraction(const std::optional<Cycle>& cycle, Real averagingMinutes);

// ---- dish (Aperture.cpp) ----

// G = e (pi D / lambda)^2.
Real DishGainRatio(const DishAperture& dish, Real wavelengthM);

// OET 65's aperture equations for a dish fed with `powerW`: the on-axis
// near-field density 16 e P / (pi D^2) out to D^2 / (4 lambda), falling as
// 1/R to the far field at 0.6 D^2 / lambda, P G / (4 pi R^2) beyond; no
// ground factor.
struct ApertureRegions {
  Real nearFieldWm2 = 0;
  Real nearFieldEndM = 0;   // D^2 / (4 lambda)
  Real farFieldStartM = 0;  // 0.6 D^2 / lambda
};
ApertureRegions ApertureRegionsOf(const DishAperture& dish, Real wavelengthM, Real powerW);
Real ApertureDensityWm2(const DishAperture& dish, Real wavelengthM, Real powerW, Real distanceM);

// The outermost distance at which the aperture equations exceed `limitWm2`
// (0 when they never do).
Real ApertureKeepOutM(const DishAperture& dish, Real wavelengthM, Real powerW, Real limitWm2);

// The outermost distance at which the calculator's on-axis model of the
// same dish exceeds `limitWm2`.
Real CalculatorKeepOutM(const DishAperture& dish, Real wavelengthM, Real powerW, Real limitWm2);

// The calculator's station holding only the dish, fed with `powerW` as its
// average power, its far-field figures worked by the cycle's own dish code;
// DensityAlongBeam gives its density anywhere on the beam.
std::shared_ptr<const StationState> CalculatorDishModel(const DishAperture& dish, Real wavelengthM,
                                                        Real powerW);

// Closer than this a point is taken to be this far: the far-field formula
// has no meaning on the antenna, and a figure must stay finite.
inline constexpr Real kClosestDistanceM = 0.01L;

// ---- keep-out distance of a case (KeepOutCase.cpp) ----

struct CaseKeepOut {
  Real distanceM = 0;  // 0: never above the limit
  ExposureModel model = ExposureModel::FarField;
  std::optional<Real> apertureM;  // dishes only
  std::optional<Real> scanM;      // dishes only
};

// Far field: R = sqrt(F P G / (4 pi S_L)).  A dish: the larger of the
// aperture equations and the calculator's model, naming the one that
// governs (the aperture equations on a tie).
CaseKeepOut KeepOutOf(const ExposureCase& c);

// ---- band frequencies (BandFrequencies.cpp) ----

struct CandidateFrequency {
  Real frequencyMHz = 0;
  FrequencyReason reason = FrequencyReason::Given;
};

// The frequencies a range [lowerMHz, upperMHz] is evaluated at: both edges
// and every breakpoint strictly inside, ascending, each once; the one
// frequency when the two are equal (reason Given).
std::vector<CandidateFrequency> CandidateFrequencies(Real lowerMHz, Real upperMHz,
                                                     const std::vector<Real>& breakpointsMHz);

// The frequency in [aMHz, bMHz] where `value` peaks inside the interval,
// when it rises from a and falls towards b; empty otherwise (the largest
// value is then at an end).  `value` is smooth between a and b.
std::optional<Real> PeakInside(Real aMHz, Real bMHz, const std::function<Real(Real)>& value);

// The set's limit at f, taken on the cautious side at a breakpoint: the
// lower of the two pieces that meet there.  Empty outside the set's range.
std::optional<Real> CautiousLimitWm2(LimitSet set, Real frequencyMHz);

// ICNIRP 2010's reference levels against nerve stimulation, which ICNIRP
// 2020 keeps for 0.1-10 MHz (the nerve-stimulation rows of
// data/field-limits.csv): the electric level as a plane-wave density; empty
// outside 0.1-10 MHz.
std::optional<Real> NerveStimulationLimitWm2(Tier tier, Real frequencyMHz);

// The table's row of the tier's nerve-stimulation levels; nullptr if the
// table lacks it (a test requires it).
const nearfield::FieldLimitRow* NerveStimulationRow(Tier tier);

// ---- FCC exemption (StationExemption.cpp) ----

// The threshold ERP per square metre of distance at f, cautious at its
// breakpoints as CautiousLimitWm2; empty outside 0.3-100000 MHz.
std::optional<Real> CautiousThresholdPerSquareMetre(Real frequencyMHz);

}  // namespace korrin::assess
