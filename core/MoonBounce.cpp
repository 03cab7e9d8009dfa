// Moon-bounce performance of the station: the receive noise chain, the
// ground noise that passes the dish (spillover and mesh feed-through), the
// sun and cold-sky noise ratios, the echo budget and the path-loss cue.
#include <array>
#include <cmath>
#include <numbers>

#include "core/Calc.h"
#include "core/Tables.h"

namespace korrin {

namespace {

// Every temperature is referred to a 290 K ground.
constexpr Real kReferenceK = 290.0L;

// Boltzmann's constant of the echo budget's k·B·T.
constexpr Real kBoltzmann = 1.38e-23L;

// Isolation of a solid reflector, and what a mesh that passes everything is
// given instead of a negative isolation.
constexpr Real kSolidIsolationDb = 40.0L;
constexpr Real kOpenMeshIsolationDb = 1e-13L;

// Ceiling of the mesh isolation.  The mesh model has a pole where the wire
// diameter is about 0.564 of the spacing: there ln(A/B) passes through 0 and
// the isolation grows without bound on both sides, to infinity right at the
// pole.  No mesh is taken to isolate better than this ceiling.  Above 60 dB
// the leakage is already far below anything shown, so the ceiling changes
// no temperature; it keeps the isolation display finite, and it is reached
// only where |ln(A/B)| is below (wavelength / spacing) / 2e10, a hair-thin
// band of wire sizes around the pole (|ln(A/B)| < 3e-9 at 432 MHz with a
// 12.7 mm spacing).  Away from it meshes stay far below: a 1 mm wire at its
// finest spacing of 0.5 mm gives 71.5 dB at 432 MHz.
constexpr Real kMaxMeshIsolationDb = 200.0L;

// 10.7 cm solar flux to solar flux at the band's frequency.
struct SunFluxRow {
  Real frequencyMHz;
  Real factor;
};

constexpr std::array<SunFluxRow, 12> kSunFluxFactors{{
    {50.0L, 0.009L},
    {144.0L, 0.0673L},
    {220.0L, 0.15L},
    {432.0L, 0.25L},
    {900.0L, 0.45L},
    {1296.0L, 0.65L},
    {2304.0L, 0.9074L},
    {3456.0L, 1.1L},
    {5760.0L, 1.4133L},
    {10368.0L, 2.3002L},
    {24000.0L, 7.0L},
    {48000.0L, 14.0L},
}};

Real RatioOfDb(Real db) {
  return std::pow(10.0L, db / 10.0L);
}

// A noise temperature as the noise figure it adds to a 290 K source.
Real ReferredDb(Real tempK) {
  return 10.0L * std::log10((tempK + kReferenceK) / kReferenceK);
}

// Sun flux in solar flux units at the operating frequency; only the bands of
// the factor table have one (the HF bands have none).
Real SunFluxSfu(const StationState& s) {
  for (const SunFluxRow& row : kSunFluxFactors) {
    if (s.FrequencyMHz == row.frequencyMHz) return s.SolarFluxSfu * row.factor;
  }
  return 0.0L;
}

// Isolation in dB of a wire mesh reflector against ground noise.
//
// With x = 2π·radius/spacing, A = 0.83·e^x and B = e^x − 1 the model takes
// L = ln(A/B) and T = (wavelength / spacing) / L, and the isolation is
// 10·log10(T²/4).  A/B is worked out as 0.83 / (1 − e^−x): the same value,
// but free of the overflow of e^x when a thick wire meets a fine spacing.
//
// Past the pole (wire diameter above about 0.564 of the spacing, which the
// spacing's lower bound of one wire radius allows) A/B falls below 1 and L
// turns negative, towards ln 0.83 for ever thicker wire; T² keeps the
// isolation positive and finite there, and it is used as it comes.
Real MeshIsolationDb(Real wavelengthM, Real wireRadiusMm, Real spacingMm) {
  const Real radiusCm = wireRadiusMm / 10.0L;
  const Real spacingCm = spacingMm / 10.0L;
  const Real x = 2.0L * std::numbers::pi_v<Real> * radiusCm / spacingCm;
  const Real L = std::log(0.83L) - std::log(-std::expm1(-x));
  const Real T = (wavelengthM * 100.0L) / spacingCm * (1.0L / L);
  Real isolationDb = 10.0L * std::log10(T * T / 4.0L);
  if (std::isnan(isolationDb)) {
    // Only a wire or spacing that no control can set gets here; take the
    // mesh as passing the full ground noise.
    isolationDb = kOpenMeshIsolationDb;
  }
  if (isolationDb > kMaxMeshIsolationDb) isolationDb = kMaxMeshIsolationDb;
  return isolationDb;
}

}  // namespace

NoiseReport EvaluateNoise(StationState& s) {
  NoiseReport report;

  // Sun flux at the operating frequency, still in solar flux units.
  s.SunFluxDensity = SunFluxSfu(s);

  // Ground noise through the reflector.
  s.MeshWireRadiusMm = s.MeshWireDiameterMm / 2.0L;
  Real isolationDb = MeshIsolationDb(s.WavelengthM, s.MeshWireRadiusMm, s.MeshSpacingMm);
  if (s.SolidDish) isolationDb = kSolidIsolationDb;
  if (isolationDb < 0.0L) isolationDb = kOpenMeshIsolationDb;
  s.MeshAttenuationDb = isolationDb;
  s.MeshLeakTempK = kReferenceK / RatioOfDb(isolationDb);
  s.FeedThroughTempK = s.MeshLeakTempK + s.FeedThroughExtraK;
  s.FeedThroughDb = ReferredDb(s.FeedThroughTempK);

  // The receive chain, each stage as a temperature.
  s.LnaLossTempK = (RatioOfDb(s.LnaLossDb) - 1.0L) * kReferenceK;
  s.LnaNoiseTempK = (RatioOfDb(s.LnaNoiseFigureDb) - 1.0L) * kReferenceK;
  s.RxNoiseTempK = (RatioOfDb(s.RxNoiseFigureDb) - 1.0L) * kReferenceK;
  s.LnaGainRatio = RatioOfDb(s.LnaGainDb);

  // Everything referred to the antenna terminals: the loss ahead of the LNA,
  // the LNA seen through that loss, then the loss behind the LNA and the
  // receiver, both divided by the LNA gain.
  const Real L1 = RatioOfDb(s.LnaLossDb);
  const Real L2 = RatioOfDb(s.LnaRxLossDb);
  const Real G = s.LnaGainRatio;
  const Real antennaTempK = s.SkyTempK + s.SpilloverTempK + s.FeedThroughTempK;
  const Real chainTempK = (L1 - 1.0L) * kReferenceK + s.LnaNoiseTempK * L1 +
                          (L1 / G) * kReferenceK * (L2 - 1.0L) + (L1 * L2 / G) * s.RxNoiseTempK;
  s.SystemNoiseTempK = chainTempK + antennaTempK;
  s.SystemNoiseFigureDb = ReferredDb(s.SystemNoiseTempK);
  report.ReceiverTempK = chainTempK;
  report.ReceiverNoiseFigureDb = ReferredDb(chainTempK);

  // G/T, and the sun flux in W/m²/Hz.
  s.GainOverTemp = s.AntennaGainRatio / s.SystemNoiseTempK;
  s.SunFluxDensity = s.SunFluxDensity * std::pow(10.0L, -22.0L);

  // Cold sky against a 290 K ground in its place, seen by the front end only.
  const Real frontEndK = s.LnaLossTempK + s.LnaNoiseTempK + s.SpilloverTempK + s.FeedThroughTempK;
  const Real coldSkyRatio = (s.SkyTempK + frontEndK) / (kReferenceK + frontEndK);
  s.ColdSkyGroundYDb = std::fabs(10.0L * std::log10(coldSkyRatio));

  // The sun against quiet sky.
  const Real lambda = s.WavelengthM;
  s.SunYFactorDb =
      10.0L *
      std::log10(1.0L + lambda * lambda * s.SunFluxDensity * s.GainOverTemp /
                            (4.0L * std::numbers::pi_v<Real> * s.BoltzmannConstant * 1.13L));

  report.SpilloverDb = ReferredDb(s.SpilloverTempK);
  return report;
}

void EvaluateEcho(StationState& s) {
  s.NoisePowerDbw = 10.0L * std::log10(kBoltzmann * s.RxBandwidthHz * s.SystemNoiseTempK);
  // The same antenna sends and hears the echo: its gain counts twice.
  const Real G = s.DishGainDbi;
  s.EchoSnrDb = s.FeedPowerDbw + G - s.PathLoss + G - s.NoisePowerDbw;
}

bool MarkPathLossChange(const StationState& s) {
  bool changed = false;
  for (const VhfBand& band : kVhfBands) {
    if (s.FrequencyMHz == band.frequencyMHz && s.PathLoss != band.pathLossDb) changed = true;
  }
  return changed;
}

}  // namespace korrin
