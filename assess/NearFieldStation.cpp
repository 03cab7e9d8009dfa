// The station evaluated with the near field of its wire antennas: the
// models' gains for "wires" antennas, a first evaluation for the powers, the
// near fields (with the places and the property line's points), and the
// evaluation again with the near field's fractions in the sums.
#include "assess/NearFieldStation.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "assess/StationInternal.h"
#include "station/FileWords.h"

namespace korrin::assess {

namespace {

namespace nf = korrin::nearfield;

nf::LimitSet NearFieldSet(LimitSetChoice set) {
  return set == LimitSetChoice::Fcc ? nf::LimitSet::Fcc : nf::LimitSet::Icnirp2020;
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
  Real frequencyMHz = 0;
  nf::TransmitPower power;
  std::map<std::pair<long long, long long>, nf::FieldSample> at;
};

std::optional<Real> FractionOf(const Fractions& f, LimitSetChoice set, Tier tier,
                               Criterion criterion, const Point3& point) {
  const auto it = f.at.find(KeyOf(point));
  if (it == f.at.end()) {
    // Not a point the near field was computed at: the far-field estimate.
    return FractionAtPoint(*f.farField, set, tier, criterion, point);
  }
  const nf::LimitKind kind = criterion == Criterion::TimeAveraged ? nf::LimitKind::WholeBody
                                                                  : nf::LimitKind::NerveStimulation;
  const auto limit = nf::FieldLimitAt(NearFieldSet(set), NearFieldTier(tier), kind, f.frequencyMHz);
  if (!limit) {
    // No field limit here (the FCC's above 300 MHz): the far-field estimate.
    return FractionAtPoint(*f.farField, set, tier, criterion, point);
  }
  return nf::ExposureAt(it->second, f.power.ForAveraging(limit->averagingMinutes), *limit);
}

nf::TransmitPower PowerOf(const InstallationResult& r) {
  std::optional<Cycle> cycle;
  if (r.onMinutes && r.offMinutes) cycle = Cycle{*r.onMinutes, *r.offMinutes};
  const Real p = r.powerAtAntennaW;
  return {p, p * r.duty * TimeFraction(cycle, 6), p * r.duty * TimeFraction(cycle, 30)};
}

// The model's point of a site point.
nf::Point ModelPoint(const Point3& site, const Point3& antenna) {
  return {site.xM - antenna.xM, site.yM - antenna.yM, site.heightM};
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
  std::vector<nf::LimitCase> cases;
  for (const LimitSetChoice set : station.limitSets) {
    cases.push_back({NearFieldSet(set), nf::Tier::General});
    cases.push_back({NearFieldSet(set), nf::Tier::Occupational});
  }

  // The wire installations and their models.
  std::vector<NearFieldModel> models;
  for (const station::Installation& i : station.installations) {
    const station::Antenna* a = station.FindAntenna(i.antenna);
    if (a == nullptr || !station::NearFieldKind(a->kind)) continue;
    NearFieldInstallation n;
    n.installation = i.id;
    n.antenna = a->id;
    models.push_back(ModelInstallation(station, i, options.folder));
    const NearFieldModel& m = models.back();
    n.frequencyMHz = m.frequencyMHz;
    n.positionM = m.positionM;
    n.notes = m.notes;
    if (!m.structure) {
      n.status = nf::Status::Refused;
      for (const std::string& p : m.problems) n.message += (n.message.empty() ? "" : "; ") + p;
    }
    out.installations.push_back(std::move(n));
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
  for (const InstallationResult& r : first->installations) antennas.push_back(r.positionM);
  std::vector<Point3> sitePoints;
  for (const station::Place& p : station.places) {
    sitePoints.push_back({p.x.Metres(), p.y.Metres(), p.height.Metres()});
  }
  const size_t placeCount = sitePoints.size();
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
    nf::Request q;
    q.structure = *models[k].structure;
    q.frequencyMHz = n.frequencyMHz;
    q.power = n.power;
    q.cases = cases;
    q.grid = options.grid;
    q.run = options.run;
    for (const Point3& p : sitePoints) q.points.push_back(ModelPoint(p, n.positionM));
    nf::Evaluation ev = nf::Evaluate(q);
    n.status = ev.status;
    n.message = ev.message;
    if (ev.status != nf::Status::Done) continue;
    n.results = std::move(ev.results);
    n.solution = std::move(ev.solution);

    // The exposure at each place under each result.
    const Real f = n.frequencyMHz;
    for (size_t p = 0; p < placeCount; ++p) {
      NearFieldPlace place;
      place.name = station.places[p].name;
      for (const nf::CaseResult& c : n.results) {
        Real most = 0;
        for (const nf::CriterionResult& h : c.head) {
          most = std::max(most, static_cast<Real>(nf::ExposureAt(n.solution->pointSamples[p],
                                                                 h.powerW, h.limit)));
        }
        place.exposure.push_back(most);
      }
      n.places.push_back(std::move(place));
    }
    // The fractions the sums take from the near field.
    auto fractions = std::make_shared<Fractions>();
    fractions->farField = r;
    fractions->antenna = n.positionM;
    fractions->frequencyMHz = f;
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

}  // namespace korrin::assess
