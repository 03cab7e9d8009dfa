// Steps 2 to 9 of the method for one installation: for every tier of every
// limit set, the power at the antenna, averaged over the tier's time, the
// EIRP and the keep-out distance at each frequency of the band that can
// give the largest, and the frequency that does.
#include <algorithm>
#include <cmath>
#include <limits>

#include "assess/StationInternal.h"

namespace korrin::assess::detail {

namespace {

constexpr Real kDecibelsPerBel = 10.0L;

// The part of the power a feed line losing `lossDb` passes to the antenna.
Real PassedFraction(Real lossDb) {
  return std::pow(10.0L, -lossDb / kDecibelsPerBel);
}

// The range [lowerMHz, upperMHz] of a criterion: the set's own, lower bound
// inclusive, upper bound exclusive (or inclusive).
struct Range {
  Real lowerMHz = 0;
  Real upperMHz = 0;
  bool upperInclusive = false;
};

Range TimeAveragedRange(LimitSet set) {
  const std::vector<Real> b = LimitBreakpointsMHz(set);
  return {b.front(), b.back(), false};
}

// The nerve-stimulation levels: 0.1 to 10 MHz, both ends included.
constexpr Range kInstantaneousRange{0.1L, 10.0L, true};

// The part of [lower, upper] inside the range; empty when none is.
std::optional<std::pair<Real, Real>> Clip(Real lower, Real upper, const Range& range) {
  const Real top =
      range.upperInclusive ? range.upperMHz : std::nextafter(range.upperMHz, range.lowerMHz);
  const Real a = std::max(lower, range.lowerMHz);
  const Real b = std::min(upper, top);
  if (a > b) return std::nullopt;
  return std::make_pair(a, b);
}

struct CaseMaker {
  const ResolvedInstallation& r;
  LimitSet set;
  Tier tier;
  Criterion criterion;
  Real averagingMinutes;
  // The last loss met and its power ratio: a feed line's loss is often the
  // same at every frequency tried, and the power of ten is dear.
  mutable Real lastLossDb = std::numeric_limits<Real>::quiet_NaN();
  mutable Real lastLossRatio = 1;

  // Empty when the feed line's figures do not fit at f, or no limit holds.
  std::optional<ExposureCase> operator()(Real f, FrequencyReason reason, bool cautious) const {
    const std::optional<Real> loss = FeedLossDbAt(r, f);
    if (!loss) return std::nullopt;
    const std::optional<Real> limit = criterion == Criterion::Instantaneous
                                          ? InstantaneousLimitWm2(set, f)
                                      : cautious ? CautiousLimitWm2(set, f)
                                                 : LimitAtFrequency(set, f);
    if (!limit) return std::nullopt;
    ExposureCase c;
    c.frequencyMHz = f;
    c.reason = reason;
    c.wavelengthM = WavelengthM(f);
    c.feedLossDb = *loss;
    if (*loss != lastLossDb) {
      lastLossDb = *loss;
      lastLossRatio = PassedFraction(*loss);
    }
    c.powerAtAntennaW = r.powerW * lastLossRatio;
    // The nerve-stimulation levels are not time-averaged: the peak
    // envelope power counts, without duty or cycle.
    c.powerW = criterion == Criterion::Instantaneous
                   ? c.powerAtAntennaW
                   : c.powerAtAntennaW * r.duty *
                         TimeFraction(r.cycle,
                                      std::min(averagingMinutes, LimitAveragingMinutesAt(set, f)));
    c.gainRatio = GainRatioAt(r, f);
    c.groundFactor = r.groundFactor;
    c.limitWm2 = *limit;
    c.dish = r.dish;
    return c;
  }
};

// The criterion over the installation's frequencies; empty when it does
// not apply anywhere there.  `failed` turns true when a case cannot be
// worked although the criterion applies (a feed line that does not fit).
std::optional<CriterionResult> EvaluateCriterion(const CaseMaker& make, const Range& range,
                                                 const std::vector<Real>& breakpoints,
                                                 bool& failed) {
  const ResolvedInstallation& r = make.r;
  const auto clipped = Clip(r.lowerMHz, r.upperMHz, range);
  if (!clipped) return std::nullopt;
  std::vector<ExposureCase> cases;
  for (const CandidateFrequency& f :
       CandidateFrequencies(clipped->first, clipped->second, breakpoints)) {
    const std::optional<ExposureCase> c = make(f.frequencyMHz, ReasonAt(f.frequencyMHz, r), true);
    if (!c) {
      failed = true;
      return std::nullopt;
    }
    cases.push_back(*c);
  }
  // Between two of those the keep-out distance may still peak (a feed
  // line's loss rising with f against a gain or a limit that favours
  // higher f): look for it, and evaluate there too.
  const size_t ends = cases.size();
  for (size_t i = 0; i + 1 < ends; ++i) {
    const auto keepOut = [&](Real f) {
      const std::optional<ExposureCase> c = make(f, FrequencyReason::InsideBand, false);
      return c ? KeepOutOf(*c).distanceM : 0.0L;
    };
    const std::optional<Real> peak =
        PeakInside(cases[i].frequencyMHz, cases[i + 1].frequencyMHz, keepOut);
    if (peak) {
      const std::optional<ExposureCase> c = make(*peak, FrequencyReason::InsideBand, false);
      if (c) cases.push_back(*c);
    }
  }
  std::sort(cases.begin(), cases.end(), [](const ExposureCase& a, const ExposureCase& b) {
    return a.frequencyMHz < b.frequencyMHz;
  });
  for (ExposureCase& c : cases) {
    if (c.dish) c.calculatorDish = CalculatorDishModel(*c.dish, c.wavelengthM, c.powerW);
  }

  CriterionResult result;
  result.criterion = make.criterion;
  CaseKeepOut best;
  const ExposureCase* at = nullptr;
  for (const ExposureCase& c : cases) {
    const CaseKeepOut k = KeepOutOf(c);
    if (at == nullptr || k.distanceM > best.distanceM) {  // a tie keeps the lower frequency
      best = k;
      at = &c;
    }
  }
  result.frequencyMHz = at->frequencyMHz;
  result.reason = at->reason;
  result.limitWm2 = at->limitWm2;
  result.feedLossDb = at->feedLossDb;
  result.powerAtAntennaW = at->powerAtAntennaW;
  result.gainDbi = kDecibelsPerBel * std::log10(at->gainRatio);
  result.powerW = at->powerW;
  result.eirpW = at->powerW * at->gainRatio;
  result.erpW = result.eirpW / kDipoleGainRatio;
  result.keepOutM = best.distanceM;
  result.model = r.dish ? best.model : ExposureModel::FarField;
  result.apertureKeepOutM = best.apertureM;
  result.scanKeepOutM = best.scanM;
  result.cases = std::move(cases);
  return result;
}

}  // namespace

FrequencyReason ReasonAt(Real f, const ResolvedInstallation& r) {
  if (r.lowerMHz == r.upperMHz) return FrequencyReason::Given;
  if (f == r.lowerMHz) return FrequencyReason::LowerEdge;
  if (f == r.upperMHz) return FrequencyReason::UpperEdge;
  return FrequencyReason::Breakpoint;  // a limit's breakpoint, or where the set's range starts
}

std::optional<InstallationResult> EvaluateInstallation(const ResolvedInstallation& r,
                                                       const std::vector<LimitSetChoice>& sets,
                                                       std::vector<std::string>& problems) {
  InstallationResult out;
  out.id = r.id;
  out.transmitter = r.transmitter;
  out.feedline = r.feedlineId;
  out.antenna = r.antenna;
  out.band = r.band;
  out.group = r.group;
  out.positionM = r.positionM;
  out.lowerMHz = r.lowerMHz;
  out.upperMHz = r.upperMHz;
  out.transmitterPowerW = r.powerW;
  out.duty = r.duty;
  out.dutySource = r.dutySource;
  out.mode = r.mode;
  if (r.cycle) {
    out.onMinutes = r.cycle->onMinutes;
    out.offMinutes = r.cycle->offMinutes;
  }
  out.cycleSource = r.cycleSource;
  out.dish = r.dish.has_value();
  out.groundReflectionAsked = r.groundReflectionAsked;
  out.groundFactor = r.groundFactor;

  bool failed = false;
  for (LimitSetChoice set : sets) {
    for (Tier tier : {Tier::General, Tier::Occupational}) {
      TierResult t;
      t.set = set;
      t.tier = tier;
      const LimitSet limits = LimitSetFor(set, tier);
      t.averagingMinutes = LimitAveragingMinutes(limits).value_or(30.0L);
      const CaseMaker averaged{r, limits, tier, Criterion::TimeAveraged, t.averagingMinutes};
      t.timeAveraged = EvaluateCriterion(averaged, TimeAveragedRange(limits),
                                         LimitBreakpointsMHz(limits), failed);
      if (HasInstantaneousLevels(set)) {
        const CaseMaker peak{r, limits, tier, Criterion::Instantaneous, t.averagingMinutes};
        t.instantaneous =
            EvaluateCriterion(peak, kInstantaneousRange,
                              {kInstantaneousRange.lowerMHz, kInstantaneousRange.upperMHz}, failed);
      }
      out.results.push_back(std::move(t));
    }
  }
  if (std::find(sets.begin(), sets.end(), LimitSetChoice::Fcc) != sets.end()) {
    bool fits = true;
    out.fccExemption = EvaluateExemption(r, fits);
    failed = failed || !fits;
  }
  if (failed) {
    // The SWR as the file gives it: measured at the transmitter it may not
    // fit the line's loss; given at the antenna it is too large to be a
    // reflection of less than the whole power.
    const bool atTransmitter = r.feedline && r.feedline->swrAt == station::SwrAt::Transmitter;
    problems.push_back(
        "Installation \"" + r.id + "\" cannot be evaluated: " +
        (atTransmitter ? "the SWR measured at the transmitter does not fit the feed line's loss "
                         "(it would need a reflection at the antenna of 1 or more)."
                       : "the SWR at the antenna is too large to evaluate (it amounts to a "
                         "reflection of the whole power)."));
    return std::nullopt;
  }

  // The headline figures: at the first result's time-averaged frequency.
  Real f = r.lowerMHz;
  for (const TierResult& t : out.results) {
    if (t.timeAveraged) {
      f = t.timeAveraged->frequencyMHz;
      break;
    }
  }
  out.frequencyMHz = f;
  out.feedLossDb = FeedLossDbAt(r, f).value_or(0.0L);
  out.powerAtAntennaW = r.powerW * PassedFraction(out.feedLossDb);
  out.mostPowerAtAntennaW = out.powerAtAntennaW;
  for (Real edge : {r.lowerMHz, r.upperMHz}) {
    if (const std::optional<Real> loss = FeedLossDbAt(r, edge)) {
      out.mostPowerAtAntennaW = std::max(out.mostPowerAtAntennaW, r.powerW * PassedFraction(*loss));
    }
  }
  out.gainDbi = kDecibelsPerBel * std::log10(GainRatioAt(r, f));
  return out;
}

}  // namespace korrin::assess::detail
