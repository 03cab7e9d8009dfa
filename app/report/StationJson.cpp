// A station file's evaluation as the JSON object of korrin-report.
#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "app/report/StationReport.h"

namespace korrin::report {

namespace {

using assess::CriterionResult;
using assess::FrequencyReason;
using assess::InstallationResult;
using assess::StationEvaluation;
using assess::TierResult;

JsonValue Number(const std::optional<long double>& v) {
  return v ? JsonValue(*v) : JsonValue();
}

JsonValue Text(const std::optional<std::string>& s) {
  return s ? JsonValue(*s) : JsonValue();
}

// A tier's figures: the governing criterion's frequency, limit, keep-out
// distance and model; the time-averaged criterion's powers; and each
// criterion's own figures in "criteria".
JsonValue ResultJson(const TierResult& t) {
  const CriterionResult* averaged = t.timeAveraged ? &*t.timeAveraged : nullptr;
  const CriterionResult* governing = t.Governing();
  const auto of = [averaged](long double CriterionResult::*field) {
    return averaged != nullptr ? JsonValue(averaged->*field) : JsonValue();
  };
  const auto governs = [governing](long double CriterionResult::*field) {
    return governing != nullptr ? JsonValue(governing->*field) : JsonValue();
  };
  JsonValue j = JsonValue::object();
  j["set"] = assess::LimitSetChoiceId(t.set);
  j["tier"] = assess::TierId(t.tier);
  j["averagingMinutes"] = t.averagingMinutes;
  j["frequencyMHz"] = governs(&CriterionResult::frequencyMHz);
  j["frequencyReason"] =
      governing != nullptr ? JsonValue(assess::FrequencyReasonId(governing->reason)) : JsonValue();
  j["limitWm2"] = governs(&CriterionResult::limitWm2);
  j["averagePowerW"] = of(&CriterionResult::powerW);
  j["eirpW"] = of(&CriterionResult::eirpW);
  j["erpW"] = of(&CriterionResult::erpW);
  j["keepOutM"] = Number(t.KeepOutM());
  j["model"] =
      governing != nullptr ? JsonValue(assess::ExposureModelId(governing->model)) : JsonValue();
  j["criterion"] =
      governing != nullptr ? JsonValue(assess::CriterionId(governing->criterion)) : JsonValue();
  j["instantaneousKeepOutM"] = t.instantaneous ? JsonValue(t.instantaneous->keepOutM) : JsonValue();
  // Where the instantaneous criterion governs, keepOutM is its distance:
  // the time-averaged one stays beside it.
  j["timeAveragedKeepOutM"] = of(&CriterionResult::keepOutM);
  j["criteria"] = CriteriaJson(assess::CriteriaOf(t));
  return j;
}

JsonValue ExemptionJson(const std::optional<assess::InstallationExemption>& x) {
  if (!x) return JsonValue();
  JsonValue j = JsonValue::object();
  j["frequencyMHz"] = x->frequencyMHz;
  j["erpW"] = x->erpW;
  j["reactiveNearFieldM"] = x->reactiveNearFieldM;
  j["thresholdDistanceM"] = x->thresholdDistanceM;
  j["minimumDistanceM"] = x->minimumDistanceM;
  j["nearestPlace"] = Text(x->nearestPlace);
  j["distanceM"] = Number(x->distanceM);
  j["exempt"] = x->exempt ? JsonValue(*x->exempt) : JsonValue();
  return j;
}

JsonValue ThresholdJson(const std::optional<assess::ThresholdResult>& t) {
  if (!t) return JsonValue();
  JsonValue j = JsonValue::object();
  j["test"] = t->test;
  j["name"] = assess::ThresholdTestName(t->test);
  j["frequencyMHz"] = t->frequencyMHz;
  j["averagingMinutes"] = Number(t->averagingMinutes);
  j["eirpW"] = t->eirpW;
  j["thresholdW"] = t->thresholdW;
  j["below"] = t->below;
  j["meaning"] = assess::ThresholdVerdictWords(t->test, t->below);
  j["source"] = t->source;
  return j;
}

// A near-field keep-out distance: 0 where the limit is never reached, the
// distance found, or the computed plan's edge when the limit is still
// reached there (and `beyondGrid` says so).
JsonValue KeepOutJson(const nearfield::KeepOut& k) {
  return k.kind == nearfield::KeepOutKind::Never ? JsonValue(0.0L) : JsonValue(k.distanceM);
}

JsonValue NearFieldResultJson(const assess::NearFieldInstallation& n, size_t index) {
  const nearfield::CaseResult& r = n.results[index];
  JsonValue j = JsonValue::object();
  j["set"] = assess::LimitSetChoiceId(assess::SetOf(r));
  j["tier"] = assess::TierId(assess::TierOf(r));
  JsonValue places = JsonValue::object();
  if (!r.applies) {
    // No field limits at the frequency: nothing to compare the fields with.
    for (const char* key : {"peakExposure", "peakAtM", "keepOutHeadM", "keepOutHeadBeyondGrid",
                            "keepOutWholeBodyM", "keepOutWholeBodyBeyondGrid", "governs"}) {
      j[key] = JsonValue();
    }
    for (const assess::NearFieldPlace& p : n.places) places[p.name] = JsonValue();
    j["places"] = std::move(places);
    return j;
  }
  const assess::Point3 at = assess::SitePointOf(n, r.headPeak.at);
  JsonValue atM = JsonValue::array();
  atM.push_back(at.xM);
  atM.push_back(at.yM);
  atM.push_back(at.heightM);
  j["peakExposure"] = static_cast<long double>(r.headPeak.value);
  j["peakAtM"] = std::move(atM);
  j["keepOutHeadM"] = KeepOutJson(r.headKeepOut);
  j["keepOutHeadBeyondGrid"] = r.headKeepOut.kind == nearfield::KeepOutKind::BeyondGrid;
  j["keepOutWholeBodyM"] = KeepOutJson(r.wholeBodyKeepOut);
  j["keepOutWholeBodyBeyondGrid"] = r.wholeBodyKeepOut.kind == nearfield::KeepOutKind::BeyondGrid;
  j["governs"] = assess::GovernsWord(r);
  for (const assess::NearFieldPlace& p : n.places) {
    places[p.name] = index < p.exposure.size() ? JsonValue(p.exposure[index]) : JsonValue();
  }
  j["places"] = std::move(places);
  return j;
}

JsonValue InstallationJson(const InstallationResult& r, const NearFieldList* nearField) {
  JsonValue results = JsonValue::array();
  for (const TierResult& t : r.results) results.push_back(ResultJson(t));
  JsonValue j = JsonValue::object();
  j["id"] = r.id;
  j["transmitter"] = r.transmitter;
  j["feedline"] = Text(r.feedline);
  j["antenna"] = r.antenna;
  j["band"] = Text(r.band);
  j["frequencyMHz"] = r.frequencyMHz;
  j["feedLossDb"] = r.feedLossDb;
  j["powerAtAntennaW"] = r.powerAtAntennaW;
  j["gainDbi"] = r.gainDbi;
  j["groundReflection"] = r.groundFactor > 1;
  j["groundFactor"] = r.groundFactor;
  j["group"] = r.group;
  j["results"] = std::move(results);
  j["fccExemption"] = ExemptionJson(r.fccExemption);
  j["threshold"] = ThresholdJson(r.threshold);
  if (nearField != nullptr) {
    const auto n = std::find_if(nearField->begin(), nearField->end(),
                                [&r](const auto& n) { return n.installation == r.id; });
    j["nearField"] = n != nearField->end() ? NearFieldJson(*n) : JsonValue();
  }
  return j;
}

// Each transmitter's term of a sum: its installation with the largest
// fraction there.
JsonValue TermsJson(const std::vector<assess::SumTerm>& terms) {
  JsonValue list = JsonValue::array();
  for (const assess::SumTerm& t : terms) {
    JsonValue j = JsonValue::object();
    j["transmitter"] = t.transmitter;
    j["installation"] = t.installation;
    j["fraction"] = t.fraction;
    list.push_back(std::move(j));
  }
  return list;
}

JsonValue PlaceJson(const assess::PlaceResult& p) {
  JsonValue distances = JsonValue::object();
  for (const auto& [installation, metres] : p.distancesM) distances[installation] = metres;
  JsonValue sums = JsonValue::array();
  for (const assess::PlaceSum& s : p.sums) {
    JsonValue j = JsonValue::object();
    j["group"] = s.group;
    j["set"] = assess::LimitSetChoiceId(s.set);
    j["tier"] = assess::TierId(s.tier);
    j["criterion"] = assess::CriterionId(s.criterion);
    j["sum"] = s.sum;
    j["marginDb"] = Number(s.marginDb);
    j["terms"] = TermsJson(s.terms);
    sums.push_back(std::move(j));
  }
  JsonValue exemption = JsonValue::array();
  for (const assess::ExemptionSum& s : p.fccExemptionSums) {
    JsonValue j = JsonValue::object();
    j["group"] = s.group;
    j["sum"] = s.sum;
    j["marginDb"] = Number(s.marginDb);
    j["terms"] = TermsJson(s.terms);
    exemption.push_back(std::move(j));
  }
  JsonValue j = JsonValue::object();
  j["name"] = p.name;
  j["controlled"] = p.controlled;
  j["distancesM"] = std::move(distances);
  j["sums"] = std::move(sums);
  j["fccExemptionSums"] = std::move(exemption);
  return j;
}

JsonValue PropertyJson(const assess::PropertySum& s) {
  JsonValue at = JsonValue::array();
  at.push_back(s.atXM);
  at.push_back(s.atYM);
  JsonValue j = JsonValue::object();
  j["group"] = s.group;
  j["set"] = assess::LimitSetChoiceId(s.set);
  j["tier"] = assess::TierId(s.tier);
  j["criterion"] = assess::CriterionId(s.criterion);
  j["maxSum"] = s.maxSum;
  j["atM"] = std::move(at);
  j["marginDb"] = Number(s.marginDb);
  return j;
}

}  // namespace

JsonValue CriteriaJson(const std::vector<assess::CriterionFigures>& criteria) {
  JsonValue list = JsonValue::array();
  for (const assess::CriterionFigures& c : criteria) {
    JsonValue j = JsonValue::object();
    j["criterion"] = assess::CriterionId(c.criterion);
    j["governs"] = c.governs;
    j["frequencyMHz"] = c.frequencyMHz;
    j["frequencyReason"] = assess::FrequencyReasonId(c.reason);
    j["limitWm2"] = c.limitWm2;
    j["powerW"] = c.powerW;
    j["eirpW"] = c.eirpW;
    j["erpW"] = c.erpW;
    j["keepOutM"] = c.keepOutM;
    j["model"] = assess::ExposureModelId(c.model);
    list.push_back(std::move(j));
  }
  return list;
}

JsonValue NearFieldJson(const assess::NearFieldInstallation& n) {
  const bool done = n.status == nearfield::Status::Done && n.solution;
  JsonValue notes = JsonValue::array();
  for (const std::string& note : n.notes) notes.push_back(note);
  JsonValue results = JsonValue::array();
  if (done) {
    for (size_t k = 0; k < n.results.size(); ++k) results.push_back(NearFieldResultJson(n, k));
  }
  JsonValue j = JsonValue::object();
  j["engine"] = done ? JsonValue(n.solution->engine) : JsonValue();
  j["frequencyMHz"] = n.frequencyMHz;
  j["limitsMHz"] = JsonValue::array({n.limitBand.lowerMHz, n.limitBand.upperMHz});
  JsonValue fields = JsonValue::array({n.frequencyMHz});
  for (Real f : n.alsoAtMHz) fields.push_back(f);
  j["fieldsMHz"] = std::move(fields);
  j["segments"] = done ? JsonValue(n.solution->segments) : JsonValue();
  j["gridM"] = done ? JsonValue(n.solution->stepM) : JsonValue();
  j["results"] = std::move(results);
  j["notes"] = std::move(notes);
  j["error"] = done ? JsonValue() : JsonValue(n.message);
  return j;
}

JsonValue StationJson(const StationEvaluation& e, const NearFieldList* nearField) {
  // Each section is built whole before it joins the object: members of an
  // ordered object move as it grows.
  JsonValue station = JsonValue::object();
  station["callsign"] = e.callsign;
  station["site"] = e.site;
  station["evaluatedBy"] = e.evaluatedBy;
  station["country"] = Text(e.country);
  station["region"] = e.region;
  station["rulesApplied"] = assess::RulesAppliedText(e);
  JsonValue installations = JsonValue::array();
  for (const InstallationResult& r : e.installations) {
    installations.push_back(InstallationJson(r, nearField));
  }
  JsonValue notEvaluated = JsonValue::array();
  for (const assess::NotEvaluated& n : e.notEvaluated) {
    JsonValue entry = JsonValue::object();
    entry["id"] = n.id;
    entry["error"] = n.reason;
    notEvaluated.push_back(std::move(entry));
  }
  JsonValue places = JsonValue::array();
  for (const assess::PlaceResult& p : e.places) places.push_back(PlaceJson(p));
  JsonValue property = JsonValue::array();
  for (const assess::PropertySum& s : e.property) property.push_back(PropertyJson(s));
  JsonValue failures = JsonValue::array();
  for (const std::string& f : e.verdict.failures) failures.push_back(f);
  JsonValue verdict = JsonValue::object();
  verdict["complies"] = e.verdict.complies;
  verdict["nothingToCheck"] = e.verdict.nothingToCheck;
  verdict["failures"] = std::move(failures);
  JsonValue warnings = JsonValue::array();
  for (const std::string& w : e.warnings) warnings.push_back(w);

  JsonValue j = JsonValue::object();
  j["station"] = std::move(station);
  j["installations"] = std::move(installations);
  j["notEvaluated"] = std::move(notEvaluated);
  j["places"] = std::move(places);
  j["property"] = std::move(property);
  j["verdict"] = std::move(verdict);
  j["warnings"] = std::move(warnings);
  return j;
}

std::string StationJsonReport(const StationEvaluation& e, const NearFieldList* nearField) {
  return WriteJson(StationJson(e, nearField)) + "\n";
}

}  // namespace korrin::report
