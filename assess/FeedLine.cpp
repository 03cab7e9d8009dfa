// Steps 1 and 2 of the method: the feed line's loss, matched and with the
// mismatch an SWR causes, and the wavelength every later step uses.
#include <cmath>

#include "assess/StationMethod.h"

namespace korrin::assess {

namespace {

// The speed of light in MHz-metres: the evaluation's wavelength is the
// exact free-space one, lambda = c / f (47 CFR 1.1307(b)(3)(i)(C) and OET
// 65 speak of the free-space wavelength).  The calculator's window keeps its
// own 300 / f.
constexpr Real kSpeedOfLightMetresPerMicrosecond = 299.792458L;

}  // namespace

Real WavelengthM(Real frequencyMHz) {
  return kSpeedOfLightMetresPerMicrosecond / frequencyMHz;
}

std::optional<Real> FeedLineLossDb(const FeedLineLoss& line) {
  const Real a = std::pow(10.0L, line.matchedLossDb / 10.0L);  // matched loss as a power ratio
  Real gamma = 0;  // magnitude of the reflection coefficient at the antenna
  if (line.swr) {
    const Real s = *line.swr;
    const Real measured = (s - 1.0L) / (s + 1.0L);
    // A reflection seen at the transmitter has crossed the line twice:
    // Gamma_tx = Gamma_antenna / a.
    gamma = line.swrAt == station::SwrAt::Transmitter ? measured * a : measured;
    if (!(gamma < 1.0L)) return std::nullopt;
  }
  const Real g2 = gamma * gamma;
  return 10.0L * std::log10((a * a - g2) / (a * (1.0L - g2))) + line.extraLossDb;
}

}  // namespace korrin::assess
