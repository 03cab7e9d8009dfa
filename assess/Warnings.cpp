// Plain-word warnings where the method of the assessment is weak, and the
// line that says why the station evaluation's figures differ from the
// calculator's for the same station.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <numbers>
#include <string>

#include "assess/Internal.h"
#include "assess/StationInternal.h"
#include "core/Checked.h"
#include "core/Tables.h"
#include "station/FromCalculator.h"

namespace korrin::assess::detail {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kTodaysAveragingMinutes = 30.0L;  // the general-public tiers and ICNIRP occupational
constexpr Real kCalculatorAveragingMinutes = 6.0L;
constexpr Real kCalculatorMetresPerMicrosecond = 300.0L;  // the calculator's lambda = 300 / f

// A length in the station's unit system, with its unit.
std::string LengthWords(Real metres, bool metric) {
  return metric ? TwoDecimals(metres) + " m" : TwoDecimals(metres * kFeetPerMetre) + " ft";
}

// The shortest text of up to four decimals (a band edge to the 100 Hz):
// "450", "3.5", "14.35", "0.1357", "2.5".
std::string Shortest(Real value) {
  std::string text = FixedChars(static_cast<double>(value), 4);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string Megahertz(Real mhz) {
  return Shortest(mhz) + " MHz";
}

// "58.3 %", "50 %": one decimal, none when it is 0.
std::string Percent(Real fraction) {
  std::string text = FixedChars(static_cast<double>(fraction * 100.0L), 1);
  if (text.ends_with(".0")) text.resize(text.size() - 2);
  return text + " %";
}

// The entry's set in a few words: "FCC general population", "the
// calculator's AS2772", "ICNIRP 2020 general public (instantaneous)".
std::string ShortName(const LimitEntry& e) {
  std::string name;
  switch (e.set) {
    case LimitSet::FccGeneral:
      name = "FCC general population";
      break;
    case LimitSet::FccOccupational:
      name = "FCC occupational";
      break;
    case LimitSet::Icnirp2020:
      name = "ICNIRP 2020 general public";
      break;
    case LimitSet::Icnirp2020Occupational:
      name = "ICNIRP 2020 occupational";
      break;
    case LimitSet::CalculatorFcc:
      name = "the calculator's FCC";
      break;
    case LimitSet::Arpansa2002:
      name = "the calculator's ARPANSA 2002";
      break;
    case LimitSet::As2772:
      name = "the calculator's AS2772";
      break;
    case LimitSet::HandSet:
      name = "the calculator's hand-set limit";
      break;
    case LimitSet::Icnirp1998:
      name = "ICNIRP 1998 general public";
      break;
    case LimitSet::Icnirp1998Occupational:
      name = "ICNIRP 1998 occupational";
      break;
    case LimitSet::Sc6Uncontrolled:
      name = "Safety Code 6 uncontrolled";
      break;
    case LimitSet::Sc6Controlled:
      name = "Safety Code 6 controlled";
      break;
  }
  if (e.criterion == Criterion::Instantaneous) name += " (instantaneous)";
  return name;
}

const char* EdgeWords(FrequencyReason reason) {
  switch (reason) {
    case FrequencyReason::LowerEdge:
      return "its lower edge";
    case FrequencyReason::UpperEdge:
      return "its upper edge";
    case FrequencyReason::Breakpoint:
      return "a limit's breakpoint";
    case FrequencyReason::InsideBand:
      return "inside it";
    case FrequencyReason::Given:
      break;
  }
  return "the frequency given";
}

// The band's frequencies other than the calculator's that the evaluation's
// figures were found at, each once with why, ascending: "450 MHz (its upper
// edge)"; empty when there are none.
std::string FrequenciesEvaluated(const std::vector<LimitEntry>& entries, Real calculatorMHz,
                                 bool& every) {
  std::vector<std::pair<Real, FrequencyReason>> found;
  every = true;
  for (const LimitEntry& e : entries) {
    if (e.source != EntrySource::Evaluation || !e.frequencyMHz) continue;
    // A frequency given is the calculator's own, held as the file holds it.
    if (e.frequencyReason == FrequencyReason::Given || *e.frequencyMHz == calculatorMHz) {
      every = false;
      continue;
    }
    const bool known = std::any_of(found.begin(), found.end(),
                                   [&e](const auto& f) { return f.first == *e.frequencyMHz; });
    if (!known) found.emplace_back(*e.frequencyMHz, e.frequencyReason);
  }
  std::sort(found.begin(), found.end());
  std::string text;
  for (size_t i = 0; i < found.size(); ++i) {
    if (i > 0) text += i + 1 == found.size() ? " and " : ", ";
    text += Megahertz(found[i].first) + " (" + EdgeWords(found[i].second) + ")";
  }
  return text;
}

}  // namespace

std::string TwoDecimals(Real value) {
  std::string text = FixedChars(static_cast<double>(value), 2);
  if (text == "-0.00") text = "0.00";
  return text;
}

std::optional<std::string> ModelDifferences(const StationState& s, const TodaysRules& today) {
  if (!today.installation) return std::nullopt;
  const InstallationResult& r = *today.installation;
  std::vector<std::string> reasons;

  // The frequency: the band's edges or breakpoints, where the calculator
  // has its band point.
  bool every = false;
  const std::string evaluated = FrequenciesEvaluated(today.entries, s.FrequencyMHz, every);
  if (!evaluated.empty()) {
    reasons.push_back((today.band ? "the " + *today.band + " band (" + Shortest(today.lowerMHz) +
                                        "\u2013" + Shortest(today.upperMHz) +
                                        " MHz) evaluated where each keep-out distance is largest, "
                                  : std::string()) +
                      "at " + evaluated + (every ? "" : " for some limits") + ", not at " +
                      Megahertz(s.FrequencyMHz));
  }

  // The averaging pattern as a cycle over 30 minutes.
  if (const auto cycle = station::CalculatorCycle(static_cast<int>(s.AveragingIndex))) {
    const Cycle c{cycle->onMinutes, cycle->offMinutes};
    const Real over30 = TimeFraction(c, kTodaysAveragingMinutes);
    const Real over6 = TimeFraction(c, kCalculatorAveragingMinutes);
    if (over30 != over6) {
      reasons.push_back("\"" + Summarise(s).pattern + "\" as a cycle of " + Shortest(c.onMinutes) +
                        " minutes on and " + Shortest(c.offMinutes) + " off, " + Percent(over30) +
                        " of 30 minutes for the 30-minute limits, not " + Percent(over6) +
                        " of six minutes");
    }
  }

  // The ground reflection.
  if (s.GroundReflection) {
    const Real factor = s.GroundReflectionFactor;
    if (r.dish) {
      reasons.push_back(
          "no ground reflection for the dish (OET 65's aperture equations carry "
          "none), not \u00d7 " +
          TwoDecimals(factor));
    } else if (s.LowGainSelected && r.groundFactor > 1) {
      reasons.push_back("ground reflection counted once (\u00d7 " + TwoDecimals(r.groundFactor) +
                        "), not twice (\u00d7 " + TwoDecimals(factor * factor) +
                        ") as the calculator counts it for a low-gain antenna");
    }
  }

  // The half-wave dipole's gain.
  if (s.LowGainSelected && s.DipoleSelected && r.gainDbi != s.LowGainDbi) {
    reasons.push_back("the half-wave dipole's gain " + TwoDecimals(r.gainDbi) + " dBi, not " +
                      TwoDecimals(s.LowGainDbi) + " dBi");
  }

  // The dish: OET 65's aperture equations beside the calculator's model,
  // and the wavelength its gain is worked from.
  if (r.dish) {
    const bool aperture =
        std::any_of(today.entries.begin(), today.entries.end(), [](const LimitEntry& e) {
          return e.applies && e.model == ExposureModel::Aperture && e.keepOutM && *e.keepOutM > 0;
        });
    if (aperture) {
      reasons.push_back(
          "OET 65's aperture equations for the dish where they give a larger "
          "keep-out distance than the calculator's near-field model");
    }
    reasons.push_back("the dish's gain from \u03bb = 299.792458/f m, not " +
                      Shortest(kCalculatorMetresPerMicrosecond) + "/f m");
  }

  if (reasons.empty()) return std::nullopt;
  std::string line =
      "Today's limits (FCC and ICNIRP 2020) come from the station evaluation, whose model differs "
      "from the calculator's for this station: ";
  for (size_t i = 0; i < reasons.size(); ++i) {
    if (i > 0) line += "; ";
    line += reasons[i];
  }
  return line + ".";
}

std::vector<std::string> Warnings(const Assessment& a, const StationState& s,
                                  const TodaysRules& today) {
  std::vector<std::string> warnings;
  const bool metric = s.MetricUnits;

  if (today.problem) {
    warnings.push_back("Today's limits could not be evaluated: " + *today.problem);
  }
  if (const std::optional<std::string> differences = ModelDifferences(s, today)) {
    warnings.push_back(*differences);
  }

  // Keep-out distances inside lambda / 2 pi, grouped by the frequency
  // lambda is taken at.
  std::vector<std::pair<Real, std::string>> inside;  // lambda / 2 pi, the sets
  for (const LimitEntry& e : a.limits) {
    if (!e.keepOutM || !(*e.keepOutM > 0)) continue;
    const Real reactive = e.source == EntrySource::Evaluation && e.frequencyMHz
                              ? WavelengthM(*e.frequencyMHz) / (2.0L * kPi)
                              : a.reactiveNearFieldM;
    if (!(*e.keepOutM < reactive)) continue;
    const std::string at =
        LengthWords(reactive, metric) +
        (e.frequencyMHz
             ? (e.source == EntrySource::Calculator ? " (the calculator's) at " : " at ") +
                   Megahertz(*e.frequencyMHz)
             : std::string());
    auto group = std::find_if(inside.begin(), inside.end(),
                              [&](const auto& g) { return g.first == reactive; });
    if (group == inside.end()) {
      inside.emplace_back(reactive, "");
      group = std::prev(inside.end());
      group->second = "\u03bb/2\u03c0 = " + at + ": ";
    } else {
      group->second += ", ";
    }
    group->second += ShortName(e) + " " + LengthWords(*e.keepOutM, metric);
  }
  if (!inside.empty()) {
    std::string line = "Keep-out distances inside the reactive near field (";
    for (size_t i = 0; i < inside.size(); ++i) line += (i > 0 ? "; " : "") + inside[i].second;
    warnings.push_back(line +
                       "): power density is not the right measure that close to the antenna; "
                       "the electric and magnetic fields there need their own evaluation.");
  }

  const LimitEntry* selected = a.Selected();
  if (selected != nullptr && selected->zone && selected->zone->secondShown) {
    warnings.push_back(
        "The window shows two ranges above the limit in front of the dish: the gap between "
        "them is not a safe place. The keep-out distance covers both ranges and the gap.");
  }

  if (today.installation) {
    if (IcnirpFieldOnly(today.lowerMHz)) warnings.push_back(IcnirpPlaneWaveWarning());
    if (NerveStimulationApplies(today.lowerMHz)) warnings.push_back(NerveStimulationWarning());
  }
  return warnings;
}

}  // namespace korrin::assess::detail
