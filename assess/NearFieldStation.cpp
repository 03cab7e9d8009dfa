// The station evaluated with the near field of its wire antennas: the
// models' gains for "wires" antennas, a first evaluation for the powers, the
// near fields (with the places and the property line's points), and the
// evaluation again with the near field's fractions in the sums.
#include "assess/NearFieldStation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include "assess/StationInternal.h"
#include "station/FileWords.h"

namespace korrin::assess {

namespace {

namespace nf = korrin::nearfield;

// The near field's own set; empty for the sets it has no field limits of
// (ICNIRP 1998, Safety Code 6), which the far-field estimate evaluates.
std::optional<nf::LimitSet> NearFieldSet(LimitSetChoice set) {
  switch (set) {
    case LimitSetChoice::Fcc:
      return nf::LimitSet::Fcc;
    case LimitSetChoice::Icnirp2020:
      return nf::LimitSet::Icnirp2020;
    case LimitSetChoice::Icnirp1998:
    case LimitSetChoice::Sc6:
      break;
  }
  return std::nullopt;
}

nf::Tier NearFieldTier(Tier tier) {
  return tier == Tier::General ? nf::Tier::General : nf::Tier::Occupational;
}

// A point's key, to a micrometre: the property line's points are worked the
// same way here and by the evaluation.
std::pair<long long, long long> KeyOf(const Point3& p) {
  return {std::llround(p.xM * 1e6L) * 1000003LL + std::llround(p.yM * 1e6L),
          std::llround(p.heightM * 1e6L)};
}

// What an installation's fraction function needs, kept alive by it.
struct Fractions {
  const InstallationResult* farField = nullptr;  // of the first evaluation, kept alive below
  Point3 antenna;
  nf::LimitBand limitBand;
  nf::TransmitPower power;
  std::map<std::pair<long long, long long>, nf::FieldSample> at;
};

std::optional<Real> FractionOf(const Fractions& f, LimitSetChoice set, Tier tier,
                               Criterion criterion, const Point3& point) {
  const auto it = f.at.find(KeyOf(point));
  const std::optional<nf::LimitSet> nearFieldSet = NearFieldSet(set);
  if (it == f.at.end() || !nearFieldSet) {
    // Not a point the near field was computed at: the far-field estimate.
    return FractionAtPoint(*f.farField, set, tier, criterion, point);
  }
  const nf::LimitKind kind = criterion == Criterion::TimeAveraged ? nf::LimitKind::WholeBody
                                                                  : nf::LimitKind::NerveStimulation;
  const auto limit = nf::LowestFieldLimit(*nearFieldSet, NearFieldTier(tier), kind, f.limitBand);
  if (!limit) {
    // No field limit here (the FCC's above 300 MHz): the far-field estimate.
    return FractionAtPoint(*f.farField, set, tier, criterion, point);
  }
  return nf::ExposureAt(it->second, f.power.ForAveraging(limit->averagingMinutes), *limit);
}

nf::TransmitPower PowerOf(const InstallationResult& r) {
  std::optional<Cycle> cycle;
  if (r.onMinutes && r.offMinutes) cycle = Cycle{*r.onMinutes, *r.offMinutes};
  const Real p = r.mostPowerAtAntennaW;
  return {p, p * r.duty * TimeFraction(cycle, 6), p * r.duty * TimeFraction(cycle, 30)};
}

// The model's point of a site point.
nf::Point ModelPoint(const Point3& site, const Point3& antenna) {
  return {site.xM - antenna.xM, site.yM - antenna.yM, site.heightM};
}

std::vector<nf::LimitCase> CasesOf(const station::Station& station) {
  std::vector<nf::LimitCase> cases;
  for (const LimitSetChoice set : station.limitSets) {
    const std::optional<nf::LimitSet> s = NearFieldSet(set);
    if (!s) continue;
    cases.push_back({*s, nf::Tier::General});
    cases.push_back({*s, nf::Tier::Occupational});
  }
  return cases;
}

std::vector<Point3> PlacePoints(const station::Station& station) {
  std::vector<Point3> points;
  points.reserve(station.places.size());
  for (const station::Place& p : station.places) {
    points.push_back({p.x.Metres(), p.y.Metres(), p.height.Metres()});
  }
  return points;
}

// An installation of the station named, with its model's figures; Refused
// and why when it cannot be modelled.
NearFieldInstallation Named(const station::Installation& i, const station::Antenna& a,
                            const NearFieldModel& m) {
  NearFieldInstallation n;
  n.installation = i.id;
  n.antenna = a.id;
  n.frequencyMHz = m.frequencyMHz;
  n.limitBand = m.limitBand;
  n.alsoAtMHz = m.alsoAtMHz;
  n.positionM = m.positionM;
  n.notes = m.notes;
  if (!m.structure) {
    n.status = nf::Status::Refused;
    for (const std::string& p : m.problems) n.message += (n.message.empty() ? "" : "; ") + p;
  }
  return n;
}

nf::Request RequestOf(const NearFieldInstallation& n, const nf::Structure& structure,
                      const std::vector<nf::LimitCase>& cases,
                      const std::vector<Point3>& sitePoints, const NearFieldOptions& options) {
  nf::Request q;
  q.structure = structure;
  q.frequencyMHz = n.frequencyMHz;
  q.limitBand = n.limitBand;
  q.alsoAtMHz = n.alsoAtMHz;
  q.power = n.power;
  q.cases = cases;
  q.grid = options.grid;
  q.run = options.run;
  q.cacheFolder = options.cacheFolder;
  for (const Point3& p : sitePoints) q.points.push_back(ModelPoint(p, n.positionM));
  return q;
}

// Takes the engine's evaluation into `n`, with the exposure at each of the
// first points, the places, under each result.
void TakeEvaluation(NearFieldInstallation& n, nf::Evaluation ev,
                    const std::vector<std::string>& placeNames) {
  n.status = ev.status;
  n.message = ev.message;
  if (ev.status != nf::Status::Done) return;
  n.results = std::move(ev.results);
  n.solution = std::move(ev.solution);
  for (size_t p = 0; p < placeNames.size(); ++p) {
    NearFieldPlace place;
    place.name = placeNames[p];
    for (const nf::CaseResult& c : n.results) {
      Real most = 0;
      for (const nf::CriterionResult& h : c.head) {
        most = std::max(most, static_cast<Real>(
                                  nf::ExposureAt(n.solution->pointSamples[p], h.powerW, h.limit)));
      }
      place.exposure.push_back(most);
    }
    n.places.push_back(std::move(place));
  }
}

// Numbers exactly, for a key.
std::string Exact(Real v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%La ", v);
  return buffer;
}

std::string KeyOf(const nf::Request& q) {
  nf::Requests pattern;
  pattern.pattern = true;
  pattern.patternStepDeg = q.grid.patternStepDeg;
  std::string key = nf::WriteDeck(q.structure, q.frequencyMHz, pattern);
  if (q.limitBand) key += "|limits " + Exact(q.limitBand->lowerMHz) + Exact(q.limitBand->upperMHz);
  key += "|also ";
  for (Real f : q.alsoAtMHz) key += Exact(f);
  key += "|power " + Exact(q.power.peakEnvelopeW) + Exact(q.power.average6MinW) +
         Exact(q.power.average30MinW);
  key += "|cases ";
  for (const nf::LimitCase& c : q.cases) {
    key += std::to_string(static_cast<int>(c.set)) + std::to_string(static_cast<int>(c.tier)) + " ";
  }
  const nf::GridOptions& g = q.grid;
  key += "|grid " + Exact(g.stepM) + Exact(g.columnStepM) + Exact(g.levelStepM) +
         Exact(g.headHeightM) + Exact(g.bodyHeightM) + std::to_string(g.mostPointsAcross) + " " +
         (g.halfWidthM ? Exact(*g.halfWidthM) : std::string("- ")) +
         std::to_string(g.enlargements) + " " + Exact(g.patternStepDeg);
  key += "|points ";
  for (const nf::Point& p : q.points) key += Exact(p.x) + Exact(p.y) + Exact(p.z);
  return key;
}

}  // namespace

LimitSetChoice SetOf(const nf::CaseResult& r) {
  return r.limitCase.set == nf::LimitSet::Fcc ? LimitSetChoice::Fcc : LimitSetChoice::Icnirp2020;
}

Tier TierOf(const nf::CaseResult& r) {
  return r.limitCase.tier == nf::Tier::General ? Tier::General : Tier::Occupational;
}

const char* GovernsWord(const nf::CaseResult& r) {
  return r.wholeBodyGoverns == nf::Criterion::WholeBodyAverage ? "whole-body" : "head";
}

const char* GovernsPhrase(const nf::CaseResult& r) {
  return r.wholeBodyGoverns == nf::Criterion::WholeBodyAverage
             ? "set by the spatial average over the body"
             : "set by the levels that hold at every point";
}

Point3 SitePointOf(const NearFieldInstallation& n, const nf::Point& model) {
  return {model.x + n.positionM.xM, model.y + n.positionM.yM, model.z};
}

const NearFieldInstallation* StationNearField::Find(const std::string& installation) const {
  for (const NearFieldInstallation& n : installations) {
    if (n.installation == installation) return &n;
  }
  return nullptr;
}

StationNearField EvaluateWithNearField(const station::Station& station,
                                       const NearFieldOptions& options) {
  StationNearField out;
  const std::vector<nf::LimitCase> cases = CasesOf(station);

  // The wire installations and their models.
  std::vector<NearFieldModel> models;
  for (const station::Installation& i : station.installations) {
    const station::Antenna* a = station.FindAntenna(i.antenna);
    if (a == nullptr || !station::NearFieldKind(a->kind)) continue;
    models.push_back(ModelInstallation(station, i, options.folder));
    out.installations.push_back(Named(i, *a, models.back()));
  }

  // A "wires" antenna's gain: its model's peak over all its installations.
  station::Station copy = station;
  std::map<std::string, Real> gains;
  std::map<std::string, bool> overGround;
  for (size_t k = 0; k < models.size(); ++k) {
    NearFieldInstallation& n = out.installations[k];
    const station::Antenna* a =
        station.FindAntenna(station.FindInstallation(n.installation)->antenna);
    if (a->kind != "wires" || !models[k].structure) continue;
    nf::Requests pattern;
    pattern.pattern = true;
    const nf::FieldRun run =
        nf::ComputeFields(*models[k].structure, n.frequencyMHz, pattern, options.run);
    if (run.status != nf::Status::Done || !run.output.peak) {
      n.status = run.status == nf::Status::Done ? nf::Status::Unreadable : run.status;
      n.message = run.status == nf::Status::Done ? "the model radiates no pattern" : run.message;
      continue;
    }
    const Real g = run.output.peak->gainDbi;
    gains[a->id] = gains.contains(a->id) ? std::max(gains[a->id], g) : g;
    overGround[a->id] = models[k].structure->ground.kind != nf::GroundKind::FreeSpace;
  }
  for (station::Antenna& a : copy.antennas) {
    if (const auto g = gains.find(a.id); g != gains.end()) {
      a.gain = station::Gain{g->second, false};
      a.gainIncludesGround = overGround[a.id];
    }
  }

  // The first evaluation gives each installation's power at the antenna.
  const auto first = std::make_shared<StationEvaluation>(Evaluate(copy));
  std::vector<Point3> antennas;
  antennas.reserve(first->installations.size());
  for (const InstallationResult& r : first->installations) antennas.push_back(r.positionM);
  std::vector<Point3> sitePoints = PlacePoints(station);
  std::vector<std::string> placeNames;
  placeNames.reserve(station.places.size());
  for (const station::Place& p : station.places) placeNames.push_back(p.name);
  if (station.property) {
    for (const Point3& p :
         detail::OutlinePoints(*station.property, detail::kOutlineStepM, antennas)) {
      sitePoints.push_back(p);
    }
  }

  EvaluationOptions overrides;
  for (size_t k = 0; k < models.size(); ++k) {
    NearFieldInstallation& n = out.installations[k];
    if (!models[k].structure || !n.message.empty()) continue;
    const InstallationResult* r = first->FindInstallation(n.installation);
    if (r == nullptr) {
      n.status = nf::Status::Refused;
      n.message = "the installation cannot be evaluated, so neither can its near field";
      continue;
    }
    n.power = PowerOf(*r);
    TakeEvaluation(n, nf::Evaluate(RequestOf(n, *models[k].structure, cases, sitePoints, options)),
                   placeNames);
    if (n.status != nf::Status::Done) continue;

    // The fractions the sums take from the near field.
    auto fractions = std::make_shared<Fractions>();
    fractions->farField = r;
    fractions->antenna = n.positionM;
    fractions->limitBand = n.limitBand;
    fractions->power = n.power;
    for (size_t p = 0; p < sitePoints.size(); ++p) {
      fractions->at.emplace(KeyOf(sitePoints[p]), n.solution->pointSamples[p]);
    }
    overrides.fractionOverrides[n.installation] =
        [fractions, first](LimitSetChoice set, Tier tier, Criterion criterion, const Point3& at) {
          return FractionOf(*fractions, set, tier, criterion, at);
        };
  }
  out.evaluation = overrides.fractionOverrides.empty() ? *first : Evaluate(copy, overrides);
  return out;
}

std::optional<NearFieldJob> PrepareNearField(const station::Station& station,
                                             const StationEvaluation& evaluation,
                                             const std::string& installation,
                                             const NearFieldOptions& options) {
  const station::Installation* i = station.FindInstallation(installation);
  if (i == nullptr) return std::nullopt;
  const station::Antenna* a = station.FindAntenna(i->antenna);
  if (a == nullptr || !station::NearFieldKind(a->kind)) return std::nullopt;
  const NearFieldModel m = ModelInstallation(station, *i, options.folder);
  NearFieldJob job;
  job.installation = Named(*i, *a, m);
  if (!m.structure) return job;
  const InstallationResult* r = evaluation.FindInstallation(installation);
  if (r == nullptr) {
    job.installation.status = nf::Status::Refused;
    job.installation.message =
        "the installation cannot be evaluated, so neither can its near field";
    return job;
  }
  job.installation.power = PowerOf(*r);
  for (const station::Place& p : station.places) job.placeNames.push_back(p.name);
  job.request =
      RequestOf(job.installation, *m.structure, CasesOf(station), PlacePoints(station), options);
  job.key = KeyOf(*job.request);
  return job;
}

NearFieldInstallation FinishNearField(const NearFieldJob& job, nf::Evaluation evaluation) {
  NearFieldInstallation n = job.installation;
  TakeEvaluation(n, std::move(evaluation), job.placeNames);
  return n;
}

const nf::CaseResult* FindResult(const NearFieldInstallation& installation, LimitSetChoice set,
                                 Tier tier) {
  for (const nf::CaseResult& r : installation.results) {
    if (SetOf(r) == set && TierOf(r) == tier) return &r;
  }
  return nullptr;
}

}  // namespace korrin::assess
