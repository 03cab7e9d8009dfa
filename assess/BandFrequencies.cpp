// Step 9 of the method: the frequencies an installation is evaluated at
// (the band's edges, every limit breakpoint inside it, and a peak between
// two of those when the keep-out distance has one there), and the limits
// taken on the cautious side where two pieces of a limit meet.
#include <algorithm>
#include <cmath>

#include "assess/StationMethod.h"
#include "nearfield/Tables.h"

namespace korrin::assess {

namespace {

constexpr Real kFreeSpaceImpedanceOhm = 377.0L;  // plane-wave equivalent S = E^2 / 377

// The step used to tell whether a value rises or falls at an end of an
// interval, as a share of the interval.
constexpr Real kSlopeStep = 1e-6L;
constexpr int kGoldenSteps = 200;
constexpr Real kPeakTolerance = 1e-10L;  // of the frequency: far below any figure shown

}  // namespace

std::vector<CandidateFrequency> CandidateFrequencies(Real lowerMHz, Real upperMHz,
                                                     const std::vector<Real>& breakpointsMHz) {
  if (!(upperMHz > lowerMHz)) return {{lowerMHz, FrequencyReason::Given}};
  std::vector<CandidateFrequency> c{{lowerMHz, FrequencyReason::LowerEdge}};
  std::vector<Real> inside;
  for (Real b : breakpointsMHz) {
    if (b > lowerMHz && b < upperMHz) inside.push_back(b);
  }
  std::sort(inside.begin(), inside.end());
  inside.erase(std::unique(inside.begin(), inside.end()), inside.end());
  for (Real b : inside) c.push_back({b, FrequencyReason::Breakpoint});
  c.push_back({upperMHz, FrequencyReason::UpperEdge});
  return c;
}

std::optional<Real> PeakInside(Real aMHz, Real bMHz, const std::function<Real(Real)>& value) {
  const Real h = (bMHz - aMHz) * kSlopeStep;
  if (!(h > 0)) return std::nullopt;
  // Both slopes are taken inside the interval: at its ends a limit may
  // already follow the next piece.
  const Real lo0 = aMHz + h;
  const Real hi0 = bMHz - h;
  if (!(value(aMHz + 2.0L * h) > value(lo0))) return std::nullopt;  // not rising from a
  if (!(value(hi0) < value(bMHz - 2.0L * h))) return std::nullopt;  // not falling towards b
  const Real invPhi = (std::sqrt(5.0L) - 1.0L) / 2.0L;
  Real lo = lo0;
  Real hi = hi0;
  Real x1 = hi - invPhi * (hi - lo);
  Real x2 = lo + invPhi * (hi - lo);
  Real v1 = value(x1);
  Real v2 = value(x2);
  for (int i = 0; i < kGoldenSteps && hi - lo > kPeakTolerance * hi; ++i) {
    if (v1 < v2) {
      lo = x1;
      x1 = x2;
      v1 = v2;
      x2 = lo + invPhi * (hi - lo);
      v2 = value(x2);
    } else {
      hi = x2;
      x2 = x1;
      v2 = v1;
      x1 = hi - invPhi * (hi - lo);
      v1 = value(x1);
    }
  }
  const Real peak = (lo + hi) / 2.0L;
  if (!(value(peak) > std::max(value(lo0), value(hi0)))) return std::nullopt;
  return peak;
}

std::optional<Real> CautiousLimitWm2(LimitSet set, Real frequencyMHz) {
  const std::optional<Real> here = LimitAtFrequency(set, frequencyMHz);
  if (!here) return std::nullopt;
  // Just below f: the piece that ends at f, when f is a breakpoint.  The
  // rules' tables do not say which piece holds at the breakpoint itself.
  const std::optional<Real> below = LimitAtFrequency(set, std::nextafter(frequencyMHz, 0.0L));
  return below ? std::min(*here, *below) : *here;
}

const nearfield::FieldLimitRow* NerveStimulationRow(Tier tier) {
  const nearfield::Tier wanted =
      tier == Tier::General ? nearfield::Tier::General : nearfield::Tier::Occupational;
  for (const nearfield::FieldLimitRow& row : nearfield::FieldLimitRows()) {
    if (row.set == nearfield::LimitSet::Icnirp2020 && row.tier == wanted &&
        row.kind == nearfield::LimitKind::NerveStimulation) {
      return &row;
    }
  }
  return nullptr;
}

std::optional<Real> NerveStimulationLimitWm2(Tier tier, Real frequencyMHz) {
  // The levels of data/field-limits.csv, which the near field uses too.
  const nearfield::FieldLimitRow* row = NerveStimulationRow(tier);
  if (row == nullptr) return std::nullopt;
  // Both ends inclusive: the cautious reading of "to 10 MHz".  Compared as
  // the table's doubles, so that 0.1 MHz is inside.
  const double f = static_cast<double>(frequencyMHz);
  if (f < static_cast<double>(row->lowerMHz) || f > static_cast<double>(row->upperMHz)) {
    return std::nullopt;
  }
  return row->eVPerM * row->eVPerM / kFreeSpaceImpedanceOhm;
}

}  // namespace korrin::assess
