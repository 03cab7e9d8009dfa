#include "ui/station/ResultTables.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/Checked.h"

namespace korrin::stationui {

namespace {

using assess::Criterion;
using assess::LimitSetChoice;
using assess::Tier;

std::string Fixed(Real value, int decimals) {
  std::string text = FixedChars(static_cast<double>(value), decimals);
  // "-0.00" is 0.
  if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return text;
}

// A figure to about four significant digits: "1500", "23.45", "0.1234".
std::string Figure(Real value) {
  const Real size = std::fabs(value);
  const int decimals = size >= 1000 ? 0 : size >= 100 ? 1 : size >= 10 ? 2 : size >= 1 ? 3 : 4;
  return Fixed(value, decimals);
}

std::string Megahertz(Real f) {
  std::string text = Fixed(f, 4);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string Margin(const std::optional<Real>& db) {
  return db ? Fixed(*db, 2) + " dB" : "—";
}

std::string Reason(assess::FrequencyReason r) {
  switch (r) {
    case assess::FrequencyReason::Given:
      return "";
    case assess::FrequencyReason::LowerEdge:
      return " (lower edge)";
    case assess::FrequencyReason::UpperEdge:
      return " (upper edge)";
    case assess::FrequencyReason::Breakpoint:
      return " (limit's breakpoint)";
    case assess::FrequencyReason::InsideBand:
      return " (inside the band)";
  }
  return "";
}

std::string ModelWords(assess::ExposureModel m) {
  switch (m) {
    case assess::ExposureModel::FarField:
      return "far field";
    case assess::ExposureModel::Aperture:
      return "OET 65 aperture";
    case assess::ExposureModel::CalculatorScan:
      return "on-axis near-field scan";
  }
  return "";
}

}  // namespace

std::string ShortCriterionName(LimitSetChoice set, Tier tier, Criterion criterion) {
  std::string s = assess::SetTierName(set, tier);
  if (criterion == Criterion::Instantaneous) s += " (instantaneous)";
  return s;
}

std::string DistanceText(Real metres, bool feet) {
  if (feet) return Fixed(metres / station::kMetresPerFoot, 2) + " ft";
  return Fixed(metres, 2) + " m";
}

TextTable InstallationResults(const assess::StationEvaluation& e, bool feet) {
  TextTable t;
  t.header = {"Installation", "Limits",   "Frequency (MHz)", "Average power (W)",
              "EIRP (W)",     "Keep-out", "Governed by"};
  for (const assess::InstallationResult& r : e.installations) {
    for (const assess::TierResult& tier : r.results) {
      std::vector<std::string> row{
          r.id, ShortCriterionName(tier.set, tier.tier, Criterion::TimeAveraged)};
      const assess::CriterionResult* averaged = tier.Find(Criterion::TimeAveraged);
      const assess::CriterionResult* governing = tier.Governing();
      if (averaged == nullptr || governing == nullptr) {
        row.insert(row.end(), {"—", "—", "—", "—", "the limits do not apply at this frequency"});
      } else {
        row.push_back(Megahertz(averaged->frequencyMHz) + Reason(averaged->reason));
        row.push_back(Figure(averaged->powerW));
        row.push_back(Figure(averaged->eirpW));
        row.push_back(DistanceText(governing->keepOutM, feet));
        std::string by = governing->criterion == Criterion::Instantaneous
                             ? "instantaneous level, " + Megahertz(governing->frequencyMHz) + " MHz"
                             : std::string("time-averaged");
        by += ", " + ModelWords(governing->model);
        row.push_back(by);
      }
      t.rows.push_back(std::move(row));
      t.over.push_back(false);
      t.subject.push_back(r.id);
    }
  }
  return t;
}

TextTable ExemptionResults(const assess::StationEvaluation& e, bool feet) {
  TextTable t;
  t.header = {"Installation", "Frequency (MHz)",      "ERP, 30 min (W)", "λ/2π",
              "Exempt from",  "Nearest public place", "Exempt there"};
  for (const assess::InstallationResult& r : e.installations) {
    if (!r.fccExemption) continue;
    const assess::InstallationExemption& x = *r.fccExemption;
    std::string verdict = "—";
    if (x.exempt) verdict = *x.exempt ? "yes" : "no: evaluate";
    std::string place = "—";
    if (x.nearestPlace) {
      place = *x.nearestPlace + (x.distanceM ? ", " + DistanceText(*x.distanceM, feet) : "");
    }
    t.rows.push_back({r.id, Megahertz(x.frequencyMHz) + Reason(x.reason), Figure(x.erpW),
                      DistanceText(x.reactiveNearFieldM, feet),
                      DistanceText(x.minimumDistanceM, feet), place, verdict});
    t.over.push_back(x.exempt.has_value() && !*x.exempt);
    t.subject.push_back(r.id);
  }
  return t;
}

TextTable PlaceResults(const assess::StationEvaluation& e) {
  TextTable t;
  t.header = {"Place", "Who", "Group", "Limits", "Sum", "Margin", "Largest terms"};
  for (const assess::PlaceResult& p : e.places) {
    const std::string who = p.controlled ? "household (controlled)" : "public (uncontrolled)";
    auto terms = [](const std::vector<assess::SumTerm>& list) {
      std::string s;
      for (const assess::SumTerm& term : list) {
        s += (s.empty() ? "" : ", ") + term.installation + " " + Fixed(term.fraction, 3);
      }
      return s;
    };
    for (const assess::PlaceSum& s : p.sums) {
      t.rows.push_back({p.name, who, s.group, ShortCriterionName(s.set, s.tier, s.criterion),
                        Fixed(s.sum, 4), Margin(s.marginDb), terms(s.terms)});
      t.over.push_back(s.sum > 1);
      t.subject.push_back(p.name);
    }
    for (const assess::ExemptionSum& s : p.fccExemptionSums) {
      // The margin says which side of the exemption the place is on: a
      // place not exempt may still comply by the limits above.
      t.rows.push_back({p.name, who, s.group, "FCC exemption, 47 CFR 1.1307(b)(3)(ii)(B)",
                        Fixed(s.sum, 4),
                        (s.marginDb ? Margin(s.marginDb) + ", " : std::string()) +
                            (s.sum > 1 ? "not exempt" : "exempt"),
                        terms(s.terms)});
      // Over 1 the place is not exempt: the limits above decide.
      t.over.push_back(false);
      t.subject.push_back(p.name);
    }
  }
  return t;
}

TextTable PropertyResults(const assess::StationEvaluation& e, bool feet) {
  TextTable t;
  t.header = {"Group", "Limits", "Largest sum", "Margin", "Where (east, north)"};
  for (const assess::PropertySum& s : e.property) {
    t.rows.push_back({s.group, ShortCriterionName(s.set, s.tier, s.criterion), Fixed(s.maxSum, 4),
                      Margin(s.marginDb),
                      DistanceText(s.atXM, feet) + ", " + DistanceText(s.atYM, feet)});
    t.over.push_back(s.maxSum > 1);
    t.subject.push_back({});
  }
  return t;
}

std::string VerdictLine(const assess::StationEvaluation& e) {
  if (e.verdict.complies) {
    return "Complies: every place and the property line are within their limits.";
  }
  if (e.verdict.nothingToCheck) return std::string(kNotShownVerdict);
  // Where: each place over its limits with the largest sum over 1 of each
  // limit set, and the line the same way; the tables give every sum.
  auto sumText = [](assess::LimitSetChoice set, assess::Tier tier, assess::Criterion criterion,
                    Real sum, const std::optional<Real>& margin) {
    return ShortCriterionName(set, tier, criterion) + " sum " + Fixed(sum, 4) + ", margin " +
           Margin(margin);
  };
  const assess::LimitSetChoice sets[] = {
      assess::LimitSetChoice::Fcc, assess::LimitSetChoice::Icnirp2020,
      assess::LimitSetChoice::Icnirp1998, assess::LimitSetChoice::Sc6};
  std::vector<std::string> where;
  for (const assess::PlaceResult& p : e.places) {
    std::string sums;
    for (const assess::LimitSetChoice set : sets) {
      const assess::PlaceSum* worst = nullptr;
      for (const assess::PlaceSum& s : p.sums) {
        if (s.set == set && s.sum > 1 && (worst == nullptr || s.sum > worst->sum)) worst = &s;
      }
      if (worst == nullptr) continue;
      sums += (sums.empty() ? "" : "; ") +
              sumText(worst->set, worst->tier, worst->criterion, worst->sum, worst->marginDb);
    }
    if (!sums.empty()) where.push_back("\"" + p.name + "\" (" + sums + ")");
  }
  std::string line;
  for (const assess::LimitSetChoice set : sets) {
    const assess::PropertySum* worst = nullptr;
    for (const assess::PropertySum& s : e.property) {
      if (s.set == set && s.maxSum > 1 && (worst == nullptr || s.maxSum > worst->maxSum)) {
        worst = &s;
      }
    }
    if (worst == nullptr) continue;
    line += (line.empty() ? "" : "; ") +
            sumText(worst->set, worst->tier, worst->criterion, worst->maxSum, worst->marginDb);
  }
  if (!line.empty()) where.push_back("the property line (" + line + ")");
  if (where.empty()) {
    // Not a sum over 1: an installation that could not be evaluated, or
    // nothing to check.
    return "Does not comply: " + (e.verdict.failures.empty()
                                      ? std::string("compliance is not shown.")
                                      : e.verdict.failures.front());
  }
  std::string text = "Does not comply at ";
  for (std::size_t i = 0; i < where.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == where.size() ? " and " : ", ") + where[i];
  }
  return text + ".";
}

std::optional<Real> LargestSum(const assess::PlaceResult& place) {
  std::optional<Real> largest;
  for (const assess::PlaceSum& s : place.sums) {
    if (!largest || s.sum > *largest) largest = s.sum;
  }
  return largest;
}

SitePlanContent SitePlanOf(const station::Station& station, const assess::StationEvaluation& e) {
  SitePlanContent c;
  c.circleHeightM = PlanHeightM(station);
  for (const station::Antenna& a : station.antennas) {
    c.antennas.push_back({a.id, {a.x.Metres(), a.y.Metres()}, a.height.Metres()});
  }
  for (const assess::InstallationResult& r : e.installations) {
    const auto radius =
        assess::KeepOutCircleRadiusM(r.GeneralKeepOutM(), r.positionM.heightM, c.circleHeightM);
    if (radius && *radius > 0) {
      c.circles.push_back({r.id, r.antenna, {r.positionM.xM, r.positionM.yM}, *radius});
    } else {
      c.withoutZone.push_back(r.id);
    }
  }
  for (const assess::PlaceResult& p : e.places) {
    c.places.push_back({p.name, {p.positionM.xM, p.positionM.yM}, p.controlled, LargestSum(p)});
  }
  if (station.property) {
    const Real toMetres =
        station.property->unit == station::LengthUnit::Feet ? station::kMetresPerFoot : 1;
    for (const auto& pt : station.property->outline) {
      c.outline.push_back({pt.x * toMetres, pt.y * toMetres});
    }
    for (const assess::PropertySum& s : e.property) {
      if (!c.lineSum || s.maxSum > *c.lineSum) {
        c.lineSum = s.maxSum;
        c.lineSumAt = PlanPoint{s.atXM, s.atYM};
      }
    }
  }
  return c;
}

std::string NoFailureWords(bool places, bool propertyLine) {
  if (places && propertyLine)
    return "None: every place and the property line are within their limits.";
  if (places) return "None: every place is within its limits.";
  if (propertyLine) return "None: the property line is within its limits.";
  return "None: the station gives no place and no property line to check.";
}

}  // namespace korrin::stationui
