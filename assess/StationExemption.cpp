// Step 10 of the method: FCC 47 CFR 1.1307(b)(3)(i)(C) for one
// installation.  The 30-minute ERP (without ground reflection: the
// thresholds carry their own) against the threshold at distance R, which
// holds from lambda / 2 pi on; over a band, at the frequency that makes
// the minimum exempt distance largest.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "assess/StationInternal.h"

namespace korrin::assess {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kExemptionAveragingMinutes = 30.0L;

struct ExemptionAt {
  ExemptionCase c;
  Real thresholdDistanceM = 0;
  Real minimumDistanceM = 0;
};

std::optional<ExemptionAt> At(const detail::ResolvedInstallation& r, Real f, FrequencyReason reason,
                              bool cautious) {
  const std::optional<Real> loss = detail::FeedLossDbAt(r, f);
  const std::optional<Real> threshold =
      cautious ? CautiousThresholdPerSquareMetre(f) : FccThresholdErpW(f, 1.0L);
  if (!loss || !threshold) return std::nullopt;
  ExemptionAt e;
  e.c.frequencyMHz = f;
  e.c.reason = reason;
  const Real power = r.powerW * std::pow(10.0L, -*loss / 10.0L) * r.duty *
                     TimeFraction(r.cycle, kExemptionAveragingMinutes);
  e.c.erpW = power * detail::GainRatioAt(r, f) / kDipoleGainRatio;
  e.c.thresholdPerSquareMetre = *threshold;
  e.c.reactiveNearFieldM = WavelengthM(f) / (2.0L * kPi);
  e.thresholdDistanceM = std::sqrt(e.c.erpW / *threshold);
  e.minimumDistanceM = std::max(e.c.reactiveNearFieldM, e.thresholdDistanceM);
  return e;
}

}  // namespace

std::optional<Real> CautiousThresholdPerSquareMetre(Real frequencyMHz) {
  const std::optional<Real> here = FccThresholdErpW(frequencyMHz, 1.0L);
  if (!here) return std::nullopt;
  const std::optional<Real> below = FccThresholdErpW(std::nextafter(frequencyMHz, 0.0L), 1.0L);
  return below ? std::min(*here, *below) : *here;
}

namespace detail {

std::optional<InstallationExemption> EvaluateExemption(const ResolvedInstallation& r, bool& ok) {
  const std::vector<Real> breaks = FccThresholdBreakpointsMHz();
  const Real lowest = std::max(r.lowerMHz, breaks.front());
  const Real highest = std::min(r.upperMHz, std::nextafter(breaks.back(), 0.0L));
  if (lowest > highest) return std::nullopt;

  std::vector<ExemptionAt> at;
  for (const CandidateFrequency& f : CandidateFrequencies(lowest, highest, breaks)) {
    const std::optional<ExemptionAt> e = At(r, f.frequencyMHz, ReasonAt(f.frequencyMHz, r), true);
    if (!e) {
      ok = false;
      return std::nullopt;
    }
    at.push_back(*e);
  }
  const size_t ends = at.size();
  for (size_t i = 0; i + 1 < ends; ++i) {
    const auto distance = [&](Real f) {
      const std::optional<ExemptionAt> e = At(r, f, FrequencyReason::InsideBand, false);
      return e ? e->minimumDistanceM : 0.0L;
    };
    const std::optional<Real> peak =
        PeakInside(at[i].c.frequencyMHz, at[i + 1].c.frequencyMHz, distance);
    if (peak) {
      const std::optional<ExemptionAt> e = At(r, *peak, FrequencyReason::InsideBand, false);
      if (e) at.push_back(*e);
    }
  }

  const ExemptionAt* best = nullptr;
  for (const ExemptionAt& e : at) {
    if (best == nullptr || e.minimumDistanceM > best->minimumDistanceM) best = &e;
  }
  InstallationExemption out;
  out.frequencyMHz = best->c.frequencyMHz;
  out.reason = best->c.reason;
  out.erpW = best->c.erpW;
  out.reactiveNearFieldM = best->c.reactiveNearFieldM;
  out.thresholdDistanceM = best->thresholdDistanceM;
  out.minimumDistanceM = best->minimumDistanceM;
  for (const ExemptionAt& e : at) out.cases.push_back(e.c);
  std::sort(out.cases.begin(), out.cases.end(), [](const ExemptionCase& a, const ExemptionCase& b) {
    return a.frequencyMHz < b.frequencyMHz;
  });
  return out;
}

std::optional<Real> ExemptionTerm(const InstallationExemption& e, Real distanceM,
                                  const std::optional<Real>& mpeFraction) {
  std::optional<Real> term;
  for (const ExemptionCase& c : e.cases) {
    std::optional<Real> here;
    if (distanceM >= c.reactiveNearFieldM) {
      here = c.erpW / (c.thresholdPerSquareMetre * distanceM * distanceM);
    } else {
      here = mpeFraction;  // closer than lambda / 2 pi the ERP test does not apply
    }
    if (here && (!term || *here > *term)) term = here;
  }
  return term;
}

}  // namespace detail

}  // namespace korrin::assess
