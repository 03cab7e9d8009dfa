// The station's evaluation put together: the installations resolved and
// evaluated, the places, the property line, the verdict and the warnings;
// and the small functions of the result types.
#include "assess/StationEvaluation.h"

#include <algorithm>
#include <cmath>

#include "assess/StationInternal.h"
#include "assess/StationMethod.h"
#include "station/Rules.h"

namespace korrin::assess {

const char* LimitSetChoiceId(LimitSetChoice set) {
  switch (set) {
    case LimitSetChoice::Fcc:
      return "fcc";
    case LimitSetChoice::Icnirp2020:
      return "icnirp-2020";
    case LimitSetChoice::Icnirp1998:
      return "icnirp-1998";
    case LimitSetChoice::Sc6:
      return "sc6-2015";
  }
  return "";
}

const char* TierId(Tier tier) {
  return tier == Tier::General ? "general" : "occupational";
}

const char* CriterionId(Criterion criterion) {
  return criterion == Criterion::TimeAveraged ? "time-averaged" : "instantaneous";
}

const char* ExposureModelId(ExposureModel model) {
  switch (model) {
    case ExposureModel::FarField:
      return "far-field";
    case ExposureModel::Aperture:
      return "aperture";
    case ExposureModel::CalculatorScan:
      return "calculator-scan";
  }
  return "";
}

const char* FrequencyReasonId(FrequencyReason reason) {
  switch (reason) {
    case FrequencyReason::Given:
      return "given";
    case FrequencyReason::LowerEdge:
      return "lower-edge";
    case FrequencyReason::UpperEdge:
      return "upper-edge";
    case FrequencyReason::Breakpoint:
      return "breakpoint";
    case FrequencyReason::InsideBand:
      return "inside-band";
  }
  return "";
}

const char* FrequencyReasonWords(FrequencyReason reason) {
  switch (reason) {
    case FrequencyReason::Given:
      return "the frequency given";
    case FrequencyReason::LowerEdge:
      return "the band's lower edge";
    case FrequencyReason::UpperEdge:
      return "the band's upper edge";
    case FrequencyReason::Breakpoint:
      return "a limit's breakpoint inside the band";
    case FrequencyReason::InsideBand:
      return "inside the band, where the keep-out distance peaks between a band edge and a "
             "breakpoint";
  }
  return "";
}

LimitSet LimitSetFor(LimitSetChoice set, Tier tier) {
  const bool general = tier == Tier::General;
  switch (set) {
    case LimitSetChoice::Fcc:
      return general ? LimitSet::FccGeneral : LimitSet::FccOccupational;
    case LimitSetChoice::Icnirp2020:
      break;
    case LimitSetChoice::Icnirp1998:
      return general ? LimitSet::Icnirp1998 : LimitSet::Icnirp1998Occupational;
    case LimitSetChoice::Sc6:
      return general ? LimitSet::Sc6Uncontrolled : LimitSet::Sc6Controlled;
  }
  return general ? LimitSet::Icnirp2020 : LimitSet::Icnirp2020Occupational;
}

std::string SetTierName(LimitSetChoice set, Tier tier) {
  const bool general = tier == Tier::General;
  switch (set) {
    case LimitSetChoice::Fcc:
      return general ? "FCC general population" : "FCC occupational";
    case LimitSetChoice::Icnirp2020:
      break;
    case LimitSetChoice::Icnirp1998:
      return general ? "ICNIRP 1998 general public" : "ICNIRP 1998 occupational";
    case LimitSetChoice::Sc6:
      return general ? "Safety Code 6 uncontrolled" : "Safety Code 6 controlled";
  }
  return general ? "ICNIRP 2020 general public" : "ICNIRP 2020 occupational";
}

bool HasInstantaneousLevels(LimitSetChoice set) {
  return set == LimitSetChoice::Icnirp2020 || set == LimitSetChoice::Sc6;
}

std::string CriterionName(LimitSetChoice set, Tier tier, Criterion criterion) {
  if (criterion == Criterion::Instantaneous && set == LimitSetChoice::Sc6) {
    return std::string(
               "Health Canada Safety Code 6 (2015) nerve-stimulation level "
               "(instantaneous), ") +
           (tier == Tier::General ? "uncontrolled environments" : "controlled environments");
  }
  if (criterion == Criterion::Instantaneous) {
    return std::string("ICNIRP 2010 nerve-stimulation level (instantaneous), ") +
           (tier == Tier::General ? "general public" : "occupational");
  }
  return LimitSetName(LimitSetFor(set, tier));
}

Real DistanceM(const Point3& a, const Point3& b) {
  const Real dx = a.xM - b.xM;
  const Real dy = a.yM - b.yM;
  const Real dz = a.heightM - b.heightM;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

const CriterionResult* TierResult::Find(Criterion criterion) const {
  const std::optional<CriterionResult>& c =
      criterion == Criterion::TimeAveraged ? timeAveraged : instantaneous;
  return c ? &*c : nullptr;
}

const CriterionResult* TierResult::Governing() const {
  if (!timeAveraged) return instantaneous ? &*instantaneous : nullptr;
  if (instantaneous && instantaneous->keepOutM > timeAveraged->keepOutM) return &*instantaneous;
  return &*timeAveraged;
}

std::vector<CriterionFigures> CriteriaOf(const TierResult& t) {
  const CriterionResult* governing = t.Governing();
  std::vector<CriterionFigures> out;
  for (const CriterionResult* c :
       {t.Find(Criterion::TimeAveraged), t.Find(Criterion::Instantaneous)}) {
    if (c == nullptr) continue;
    out.push_back({c->criterion, c == governing, c->frequencyMHz, c->reason, c->limitWm2, c->powerW,
                   c->eirpW, c->erpW, c->keepOutM, c->model});
  }
  return out;
}

std::optional<Real> TierResult::KeepOutM() const {
  const CriterionResult* c = Governing();
  if (c == nullptr) return std::nullopt;
  return c->keepOutM;
}

const TierResult* InstallationResult::Find(LimitSetChoice set, Tier tier) const {
  for (const TierResult& t : results) {
    if (t.set == set && t.tier == tier) return &t;
  }
  return nullptr;
}

Real InstallationResult::GeneralKeepOutM() const {
  Real largest = 0;
  for (const TierResult& t : results) {
    if (t.tier == Tier::General) largest = std::max(largest, t.KeepOutM().value_or(0.0L));
  }
  return largest;
}

Real FractionAtDistance(const CriterionResult& c, bool dish, Real distanceM) {
  if (!dish) {
    // The far field falls as 1/R^2 at every frequency: the largest fraction
    // is the largest keep-out distance's, (keep-out / R)^2.
    const Real q = c.keepOutM / std::max(distanceM, kClosestDistanceM);
    return q * q;
  }
  Real largest = 0;
  for (const ExposureCase& e : c.cases) {
    largest = std::max(largest, DensityAtWm2(e, distanceM) / e.limitWm2);
  }
  return largest;
}

std::optional<Real> FractionAtPoint(const InstallationResult& installation, LimitSetChoice set,
                                    Tier tier, Criterion criterion, const Point3& at) {
  const TierResult* t = installation.Find(set, tier);
  const CriterionResult* c = t != nullptr ? t->Find(criterion) : nullptr;
  if (c == nullptr) return std::nullopt;
  return FractionAtDistance(*c, installation.dish, DistanceM(installation.positionM, at));
}

std::optional<Real> KeepOutCircleRadiusM(Real keepOutM, Real antennaHeightM, Real heightM) {
  const Real dh = std::fabs(antennaHeightM - heightM);
  if (!(keepOutM > dh)) return std::nullopt;
  return std::sqrt(keepOutM * keepOutM - dh * dh);
}

const InstallationResult* StationEvaluation::FindInstallation(const std::string& id) const {
  for (const InstallationResult& r : installations) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

const PlaceResult* StationEvaluation::FindPlace(const std::string& name) const {
  for (const PlaceResult& p : places) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

StationEvaluation Evaluate(const station::Station& station, const TableLookups& tables,
                           const EvaluationOptions& options) {
  StationEvaluation e;
  e.callsign = station.callsign;
  e.site = station.site;
  e.evaluatedBy = station.evaluatedBy;
  e.country = station.country;
  e.region = station.region;
  e.limitSets = station.limitSets;
  if (const station::CountryRow* c =
          station.country ? station::FindCountry(*station.country) : nullptr) {
    e.thresholdTest = c->thresholdTest;
  }

  detail::Resolution resolved = detail::Resolve(station, tables);
  std::vector<std::string> problems = std::move(resolved.problems);
  e.notEvaluated = std::move(resolved.notEvaluated);
  for (const detail::ResolvedInstallation& r : resolved.installations) {
    const std::size_t before = problems.size();
    std::optional<InstallationResult> result =
        detail::EvaluateInstallation(r, e.limitSets, problems);
    if (result && e.thresholdTest) {
      bool fits = true;
      result->threshold = detail::EvaluateThreshold(r, *e.thresholdTest, fits);
      if (!fits) {  // as EvaluateInstallation refuses a line that does not fit
        problems.push_back("Installation \"" + r.id +
                           "\" cannot be evaluated: the SWR measured at the transmitter does not "
                           "fit the feed line's loss at a frequency of the threshold test.");
        result.reset();
      }
    }
    if (result) {
      e.installations.push_back(std::move(*result));
    } else if (problems.size() > before) {
      e.notEvaluated.push_back({r.id, problems.back()});
    }
  }
  e.places = detail::EvaluatePlaces(station, e.installations, e.limitSets, options);
  if (station.property) {
    e.propertyHeightM = station.property->height.Metres();
    e.property =
        detail::EvaluatePropertyLine(*station.property, e.installations, e.limitSets, options);
  }
  const bool anythingToCheck =
      !station.places.empty() || (station.property && !station.property->outline.empty());
  e.verdict = detail::Judge(e, problems, anythingToCheck);
  e.warnings = std::move(resolved.warnings);
  for (std::string& w : detail::MethodWarnings(station, e)) e.warnings.push_back(std::move(w));
  return e;
}

}  // namespace korrin::assess
