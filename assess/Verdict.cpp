// Step 13 of the method: the verdict (every place meets its tier, every
// sum along the property line is at most 1) with each failure and its
// margin, and the warnings in plain words where the method is weak or a
// rule restricts what it may be used for.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <numbers>

#include "assess/StationInternal.h"
#include "core/Checked.h"

namespace korrin::assess::detail {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kFccLowestMHz = 0.3L;        // 47 CFR 1.1310 Table 1 starts here
constexpr Real kFccHighestMHz = 100000.0L;  // and ends here
constexpr Real kIcnirpFieldOnlyBelowMHz = 30.0L;
constexpr Real kNerveStimulationToMHz = 10.0L;

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

std::string Margin(const std::optional<Real>& db) {
  return db ? Fixed(*db, 2) + " dB" : std::string("none");
}

std::string ShortName(LimitSetChoice set, Tier tier, Criterion criterion) {
  std::string s = SetTierName(set, tier);
  if (criterion == Criterion::Instantaneous) s += " (instantaneous)";
  return s;
}

std::string Terms(const std::vector<SumTerm>& terms) {
  std::string s;
  for (const SumTerm& t : terms) {
    if (!s.empty()) s += ", ";
    s += Quoted(t.installation) + " " + Fixed(t.fraction, 3);
  }
  return s;
}

std::string TierWords(bool controlled) {
  return controlled ? "controlled: occupational limits" : "uncontrolled: general-public limits";
}

}  // namespace

std::string MegahertzText(Real f) {
  std::string text = Fixed(f, 4);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string Fixed(Real value, int decimals) {
  std::string text = FixedChars(static_cast<double>(value), decimals);
  if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return text;
}

Verdict Judge(const StationEvaluation& e, const std::vector<std::string>& problems,
              bool anythingToCheck) {
  Verdict v;
  v.failures = problems;
  v.nothingToCheck = !anythingToCheck;
  if (!anythingToCheck) {
    v.failures.push_back(
        "The station file gives no place and no property line, so the evaluation says nothing "
        "about where people can be: compliance is not shown. Add the places where people can "
        "be, or the property line.");
  }
  for (const PlaceResult& p : e.places) {
    for (const PlaceSum& s : p.sums) {
      if (!(s.sum > 1)) continue;
      const bool fields = s.criterion == Criterion::Instantaneous;
      std::string text = Quoted(p.name) + " (" + TierWords(p.controlled) + "), group " +
                         Quoted(s.group) + ": " + CriterionName(s.set, s.tier, s.criterion) +
                         (fields ? ", sum of field ratios " : ", sum of fractions ") +
                         Fixed(s.sum, 3) + " (margin " + Margin(s.marginDb) +
                         "): " + Terms(s.terms) + ".";
      bool eachWithin = s.terms.size() > 1;
      for (const SumTerm& t : s.terms) eachWithin = eachWithin && !(t.fraction > 1);
      if (eachWithin)
        text += "  Each installation alone is within the limit; together they are not.";
      v.failures.push_back(std::move(text));
    }
  }
  for (const PropertySum& s : e.property) {
    if (!(s.maxSum > 1)) continue;
    v.failures.push_back("Property line, group " + Quoted(s.group) + ": " +
                         CriterionName(s.set, s.tier, s.criterion) + ", largest sum " +
                         Fixed(s.maxSum, 3) + " at x " + Fixed(s.atXM, 2) + " m, y " +
                         Fixed(s.atYM, 2) + " m (margin " + Margin(s.marginDb) + ").");
  }
  v.complies = v.failures.empty();
  return v;
}

bool IcnirpFieldOnly(Real lowerMHz) {
  return lowerMHz < kIcnirpFieldOnlyBelowMHz;
}

bool NerveStimulationApplies(Real lowerMHz) {
  return lowerMHz <= kNerveStimulationToMHz;
}

std::string IcnirpPlaneWaveWarning() {
  return "Below 30 MHz ICNIRP 2020 gives field strengths only: the evaluation uses the plane-wave "
         "equivalent density E\u00b2/377, which holds in the far field.";
}

std::string NerveStimulationWarning() {
  // The levels as the table gives them.
  const auto level = [](Tier tier) {
    const nearfield::FieldLimitRow* row = NerveStimulationRow(tier);
    return row != nullptr ? Fixed(row->eVPerM, 0) + " V/m" : std::string("(no level)");
  };
  return "From 0.1 to 10 MHz ICNIRP also requires its 2010 levels against nerve stimulation (" +
         level(Tier::General) + " for the general public, " + level(Tier::Occupational) +
         " occupational), which are not averaged over time: they are checked against the peak "
         "envelope power at the antenna, and the larger keep-out distance of the two criteria "
         "stands.";
}

std::vector<std::string> MethodWarnings(const station::Station& station,
                                        const StationEvaluation& e) {
  std::vector<std::string> w;
  const auto has = [&](LimitSetChoice set) {
    for (LimitSetChoice s : e.limitSets) {
      if (s == set) return true;
    }
    return false;
  };
  bool fieldOnly = false;
  bool nerve = false;
  bool dish = false;
  for (const InstallationResult& r : e.installations) {
    dish = dish || r.dish;
    // Keep-out distances that the far-field formula puts inside lambda / 2
    // pi, listed by the frequency they were found at.
    std::vector<std::pair<Real, std::string>> byFrequency;
    for (const TierResult& t : r.results) {
      const CriterionResult* c = t.Governing();
      if (c == nullptr || !(c->keepOutM > 0)) continue;
      if (!(c->keepOutM < WavelengthM(c->frequencyMHz) / (2.0L * kPi))) continue;
      auto at = std::find_if(byFrequency.begin(), byFrequency.end(),
                             [&](const auto& b) { return b.first == c->frequencyMHz; });
      if (at == byFrequency.end()) {
        byFrequency.emplace_back(c->frequencyMHz, std::string());
        at = std::prev(byFrequency.end());
      }
      if (!at->second.empty()) at->second += ", ";
      at->second += ShortName(t.set, t.tier, c->criterion) + " " + Fixed(c->keepOutM, 2) + " m";
    }
    std::string inside;
    for (const auto& [f, list] : byFrequency) {
      if (!inside.empty()) inside += "; ";
      inside += list + " (\u03bb/2\u03c0 = " + Fixed(WavelengthM(f) / (2.0L * kPi), 2) + " m at " +
                MegahertzText(f) + " MHz)";
    }
    if (!inside.empty()) {
      w.push_back("Installation " + Quoted(r.id) +
                  ": keep-out distances inside the reactive near field: " + inside +
                  ". The far-field formula does not hold there; the electric and magnetic fields "
                  "that close need their own evaluation.");
    }
    const std::string range =
        MegahertzText(r.lowerMHz) +
        (r.upperMHz > r.lowerMHz ? "\u2013" + MegahertzText(r.upperMHz) : std::string()) + " MHz";
    if (has(LimitSetChoice::Fcc) && (r.lowerMHz < kFccLowestMHz || r.upperMHz >= kFccHighestMHz)) {
      w.push_back("Installation " + Quoted(r.id) + " (" + range +
                  "): outside 0.3\u2013100000 MHz the FCC's limits (47 CFR 1.1310) and its "
                  "exemption test (47 CFR 1.1307) do not apply" +
                  (has(LimitSetChoice::Icnirp2020)
                       ? std::string("; there ICNIRP 2020 alone evaluates it.")
                       : std::string("; no limit set of this file covers it there.")));
    }
    fieldOnly = fieldOnly || IcnirpFieldOnly(r.lowerMHz);
    nerve = nerve || NerveStimulationApplies(r.lowerMHz);
  }
  if (has(LimitSetChoice::Icnirp2020) && fieldOnly) w.push_back(IcnirpPlaneWaveWarning());
  if (has(LimitSetChoice::Icnirp2020) && nerve) w.push_back(NerveStimulationWarning());
  for (const PlaceResult& p : e.places) {
    if (p.controlled) {
      w.push_back("Place " + Quoted(p.name) +
                  " is evaluated against the occupational limits: 47 CFR 97.13(c) allows this "
                  "only for the licensee and members of the household who know of the exposure; "
                  "anyone else there needs the general-public limits.");
    }
    for (size_t i = 0; i < p.distancesM.size() && i < e.installations.size(); ++i) {
      const InstallationResult& r = e.installations[i];
      const Real reactive = WavelengthM(r.lowerMHz) / (2.0L * kPi);
      if (p.distancesM[i].second < reactive) {
        w.push_back("Place " + Quoted(p.name) + " lies " + Fixed(p.distancesM[i].second, 2) +
                    " m from the antenna of installation " + Quoted(r.id) +
                    ", within \u03bb/2\u03c0 = " + Fixed(reactive, 2) +
                    " m: the far-field estimate of the density does not hold that close, and "
                    "the fields there need their own evaluation.");
      }
    }
  }
  if (dish && (!station.places.empty() || station.property)) {
    w.push_back(
        "Distances are measured from each antenna's position as given (its feed point); the "
        "nearest part of a large antenna such as a dish can be closer to a place or the line.");
  }
  return w;
}

}  // namespace korrin::assess::detail
