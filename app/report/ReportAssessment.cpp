#include "app/report/ReportAssessment.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "app/report/ReportJson.h"
#include "app/report/ReportText.h"
#include "assess/StationEvaluation.h"
#include "ui/ZoneText.h"

namespace korrin::report {

namespace {

using assess::Assessment;
using assess::FccExemption;
using assess::LimitEntry;

constexpr size_t kLabelWidth = 28;

void Line(std::string& out, const std::string& label, const std::string& value) {
  std::string line = "  " + label;
  const size_t width = kLabelWidth + 2;
  const size_t used = TextWidth(line);
  line += used < width ? std::string(width - used, ' ') : " ";
  out += line + value + "\n";
}

// A length in the station's unit system, with its unit.
std::string LengthWords(long double metres, bool metric, const NumberLocale& locale) {
  return metric ? FixedText(metres, 18, 2, locale) + " m"
                : FixedText(metres * kFeetPerMetre, 18, 2, locale) + " ft";
}

std::string Density(long double wm2, const NumberLocale& locale) {
  return FixedText(wm2, 18, 3, locale) + " W/m\u00b2";
}

// "432 MHz", "3.5 MHz", "4.0 MHz", "14.35 MHz": up to four decimals below
// 100 MHz and two above, trailing zeros dropped, one decimal kept below 100.
std::string FrequencyWords(long double mhz, const NumberLocale& locale) {
  const bool low = mhz < 100.0L;
  std::string text = FixedText(mhz, 18, low ? 4 : 2, locale);
  const size_t point = text.find(locale.decimalPoint);
  if (point != std::string::npos) {
    const size_t keep = point + locale.decimalPoint.size() + (low ? 1 : 0);
    while (text.size() > keep && text.back() == '0') text.pop_back();
    if (text.size() == point + locale.decimalPoint.size()) text.resize(point);
  }
  return text + " MHz";
}

std::string ZoneWords(const ZoneShown& zone, bool metric, const NumberLocale& locale) {
  const ZoneTexts t = ZoneText(zone, metric, locale);
  std::string text = t.first;
  if (zone.secondShown) text += "; " + t.second;
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first);
}

// Why the evaluation took a frequency, in a few words.
const char* ReasonWords(assess::FrequencyReason reason) {
  switch (reason) {
    case assess::FrequencyReason::LowerEdge:
      return "the band's lower edge";
    case assess::FrequencyReason::UpperEdge:
      return "the band's upper edge";
    case assess::FrequencyReason::Breakpoint:
      return "a limit's breakpoint";
    case assess::FrequencyReason::InsideBand:
      return "inside the band";
    case assess::FrequencyReason::Given:
      break;
  }
  return "the frequency given";
}

const char* ModelWords(assess::ExposureModel model) {
  switch (model) {
    case assess::ExposureModel::FarField:
      return "far-field formula";
    case assess::ExposureModel::Aperture:
      return "OET 65's aperture equations";
    case assess::ExposureModel::CalculatorScan:
      return "the calculator's near-field model of the dish";
  }
  return "";
}

std::string SetRow(const LimitEntry& e, const Assessment& a, const StationState& s,
                   const NumberLocale& locale) {
  const bool metric = s.MetricUnits;
  const bool evaluation = e.source == assess::EntrySource::Evaluation;
  std::string row = std::string(e.selected ? "* " : "  ") + assess::LimitSetName(e.set);
  if (e.criterion == assess::Criterion::Instantaneous) {
    row += ", nerve-stimulation level (instantaneous)";
  } else if (e.averagingMinutes) {
    row += ", " + FixedText(*e.averagingMinutes, 18, 0, locale) + "-minute average";
  }
  if (!e.applies) {
    return row + ": does not apply " +
           (evaluation && a.upperMHz > a.lowerMHz ? "in " + FrequencyWords(a.lowerMHz, locale) +
                                                        " to " + FrequencyWords(a.upperMHz, locale)
                                                  : "at " + FrequencyWords(a.frequencyMHz, locale));
  }
  row += ": limit " + Density(*e.limitWm2, locale);
  if (evaluation) {
    row += " at " + FrequencyWords(*e.frequencyMHz, locale) + " (" +
           ReasonWords(e.frequencyReason) + "), keep-out " +
           LengthWords(*e.keepOutM, metric, locale) + " (" +
           (!(*e.keepOutM > 0) ? "never above the limit"
            : e.model          ? ModelWords(*e.model)
                               : "far-field formula") +
           ")";
  } else {
    row += ", keep-out " + LengthWords(*e.keepOutM, metric, locale) + " (far-field distance " +
           LengthWords(*e.exclusionM, metric, locale) +
           "; the window's zone: " + (e.zone ? ZoneWords(*e.zone, metric, locale) : "") + ")";
  }
  if (e.headClearanceM && e.towerClearanceM) {
    row += "; head clearance " + LengthWords(*e.headClearanceM, metric, locale) +
           ", ground clearance " + LengthWords(*e.towerClearanceM, metric, locale);
  }
  return row;
}

JsonValue Optional(const std::optional<long double>& v) {
  return v ? JsonValue(*v) : JsonValue();
}

}  // namespace

std::string AssessmentText(const Assessment& a, const StationState& s, const NumberLocale& locale) {
  const bool metric = s.MetricUnits;
  std::string out = "\nAssessment against the exposure limits\n";
  Line(out, "Frequency", FrequencyWords(a.frequencyMHz, locale));
  Line(out, "Reactive near field (\u03bb/2\u03c0)",
       LengthWords(a.reactiveNearFieldM, metric, locale));
  if (a.farFieldBoundaryM) {
    Line(out, "Far-field boundary", LengthWords(*a.farFieldBoundaryM, metric, locale));
  }
  for (const LimitEntry& e : a.limits) {
    if (e.headClearanceM) {
      Line(out, "Head height", LengthWords(a.headHeightM, metric, locale));
      break;
    }
  }
  std::string band = a.band ? "the " + *a.band + " band, " : std::string();
  band += a.upperMHz > a.lowerMHz
              ? FrequencyWords(a.lowerMHz, locale) + " to " + FrequencyWords(a.upperMHz, locale)
              : FrequencyWords(a.lowerMHz, locale);
  out += "  Today's limits, by the station evaluation of " + band + ":\n";
  for (const LimitEntry& e : a.limits) {
    if (e.source == assess::EntrySource::Evaluation) out += "  " + SetRow(e, a, s, locale) + "\n";
  }
  out += "  The calculator's standards, by its own model at " +
         FrequencyWords(a.frequencyMHz, locale) + " (* the window's standard):\n";
  for (const LimitEntry& e : a.limits) {
    if (e.source == assess::EntrySource::Calculator) out += "  " + SetRow(e, a, s, locale) + "\n";
  }

  out += "\nFCC exemption test, 47 CFR 1.1307(b)(3)(i)(C)\n";
  if (!a.fccExemption) {
    Line(out, "Does not apply at", FrequencyWords(a.frequencyMHz, locale));
  } else {
    const FccExemption& x = *a.fccExemption;
    Line(out, "Frequency",
         FrequencyWords(x.frequencyMHz, locale) + " (" + ReasonWords(x.frequencyReason) + ")");
    Line(out, "Time-averaged ERP", NumberText(x.erpW, 18, 2, locale) + " W (30 minutes)");
    Line(out, "Reactive near field (\u03bb/2\u03c0)",
         LengthWords(x.reactiveNearFieldM, metric, locale));
    Line(out, "Threshold distance", LengthWords(x.thresholdDistanceM, metric, locale));
    Line(out, "Minimum exempt distance", LengthWords(x.minimumDistanceM, metric, locale));
    if (x.distanceM) {
      Line(out, "At " + LengthWords(*x.distanceM, metric, locale),
           *x.exempt ? "exempt" : "not exempt: evaluate the station");
    }
  }

  if (!a.warnings.empty()) {
    out += "\nWarnings\n";
    for (const std::string& w : a.warnings) out += "  - " + w + "\n";
  }
  return out;
}

JsonValue AssessmentJson(const Assessment& a, const StationState& s, const NumberLocale& locale) {
  JsonValue limits = JsonValue::array();
  for (const LimitEntry& e : a.limits) {
    JsonValue ranges = JsonValue::array();
    for (const auto& r : e.rangesM) ranges.push_back(JsonValue::array({r.fromM, r.toM}));
    JsonValue l;
    l["id"] = assess::LimitSetId(e.set);
    l["name"] = assess::LimitSetName(e.set);
    l["source"] = assess::EntrySourceId(e.source);
    l["averagingMinutes"] = Optional(e.averagingMinutes);
    l["frequencyMHz"] = Optional(e.frequencyMHz);
    l["frequencyReason"] =
        e.frequencyMHz ? JsonValue(assess::FrequencyReasonId(e.frequencyReason)) : JsonValue();
    l["criterion"] = e.applies ? JsonValue(assess::CriterionId(e.criterion)) : JsonValue();
    l["model"] = e.model ? JsonValue(assess::ExposureModelId(*e.model)) : JsonValue();
    l["limitWm2"] = Optional(e.limitWm2);
    l["exclusionM"] = Optional(e.exclusionM);
    l["rangesM"] = std::move(ranges);
    l["zoneText"] = e.zone ? JsonValue(ZoneWords(*e.zone, s.MetricUnits, locale)) : JsonValue();
    l["keepOutM"] = Optional(e.keepOutM);
    l["towerClearanceM"] = Optional(e.towerClearanceM);
    l["headClearanceM"] = Optional(e.headClearanceM);
    l["criteria"] = CriteriaJson(e.criteria);
    limits.push_back(std::move(l));
  }
  JsonValue exemption;  // null where the test does not apply
  if (a.fccExemption) {
    const FccExemption& x = *a.fccExemption;
    exemption["frequencyMHz"] = x.frequencyMHz;
    exemption["frequencyReason"] = assess::FrequencyReasonId(x.frequencyReason);
    exemption["erpW"] = x.erpW;
    exemption["reactiveNearFieldM"] = x.reactiveNearFieldM;
    exemption["minimumDistanceM"] = x.minimumDistanceM;
    exemption["distanceM"] = Optional(x.distanceM);
    exemption["exempt"] = x.exempt ? JsonValue(*x.exempt) : JsonValue();
  }
  JsonValue profile = JsonValue::array();
  for (const auto& p : a.profile) profile.push_back(JsonValue::array({p.distanceM, p.densityWm2}));

  JsonValue evaluated;
  evaluated["band"] = a.band ? JsonValue(*a.band) : JsonValue();
  evaluated["lowerMHz"] = a.lowerMHz;
  evaluated["upperMHz"] = a.upperMHz;

  JsonValue j;
  j["evaluated"] = std::move(evaluated);
  j["limits"] = std::move(limits);
  j["fccExemption"] = std::move(exemption);
  j["warnings"] = a.warnings;
  j["profile"] = std::move(profile);
  return j;
}

std::vector<std::string> BandAssessmentHeadings() {
  return {"Keep-out (window's)", "Keep-out (ICNIRP 2020)", "Keep-out (FCC)", "FCC exempt from"};
}

std::vector<std::string> BandAssessmentCells(const BandRow::Assessed& r, bool metric,
                                             const NumberLocale& locale) {
  const auto cell = [&](const std::optional<long double>& m) {
    return m ? LengthWords(*m, metric, locale) : std::string("does not apply");
  };
  return {cell(r.keepOutSelectedM), cell(r.keepOutIcnirpM), cell(r.keepOutFccM),
          cell(r.fccMinimumM)};
}

std::optional<long double> ParseMetres(const std::string& text) {
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  long double value = 0;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, value, std::chars_format::fixed);
  if (r.ec != std::errc() || r.ptr != end || !std::isfinite(value) || value < 0) {
    return std::nullopt;
  }
  return value;
}

}  // namespace korrin::report
