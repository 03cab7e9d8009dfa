// A station file's evaluation as the readable report of korrin-report.
#include <string>
#include <string_view>
#include <vector>

#include "app/report/ReportOptions.h"
#include "app/report/ReportText.h"
#include "app/report/StationReport.h"
#include "station/Rules.h"
#include "ui/station/ResultTables.h"

namespace korrin::report {

namespace {

using assess::Criterion;
using assess::CriterionResult;
using assess::ExposureModel;
using assess::FrequencyReason;
using assess::InstallationResult;
using assess::LimitSetChoice;
using assess::StationEvaluation;
using assess::Tier;
using assess::TierResult;

constexpr size_t kLabelWidth = 30;  // where a line's value starts, after the indent
constexpr size_t kTextWidth = 78;   // where sentences are wrapped

// ---- numbers with their units ----

class Words {
 public:
  explicit Words(const NumberLocale& locale) : locale_(locale) {}

  std::string Fixed(Real v, int decimals) const { return FixedText(v, 18, decimals, locale_); }
  // Up to `decimals` decimals, trailing zeros dropped down to `kept`.
  std::string Trimmed(Real v, int decimals, size_t kept) const {
    std::string text = Fixed(v, decimals);
    const size_t point = text.find(locale_.decimalPoint);
    if (point == std::string::npos) return text;
    const size_t after = point + locale_.decimalPoint.size();
    while (text.size() > after + kept && text.back() == '0') text.pop_back();
    if (text.size() == after) text.erase(point);
    return text;
  }
  std::string Metres(Real m) const { return Fixed(m, 3) + " m"; }
  // 0: the density never reaches the limit.
  std::string KeepOut(Real m) const { return m > 0 ? Metres(m) : "none"; }
  std::string Position(Real m) const { return Fixed(m, 2) + " m"; }
  std::string Watts(Real w) const { return NumberText(w, 18, 2, locale_) + " W"; }
  std::string Density(Real wm2) const { return Fixed(wm2, 3) + " W/m\u00b2"; }
  std::string Megahertz(Real f) const { return Trimmed(f, 4, 1) + " MHz"; }
  std::string Range(Real lower, Real upper) const {
    return upper > lower ? Trimmed(lower, 4, 1) + "\u2013" + Megahertz(upper) : Megahertz(lower);
  }
  std::string Decibels(Real db) const { return Fixed(db, 2) + " dB"; }
  std::string Minutes(Real m) const { return Trimmed(m, 2, 0) + " min"; }
  std::string Percent(Real fraction) const { return Trimmed(fraction * 100, 1, 0) + " %"; }
  std::string Sum(Real sum) const { return Fixed(sum, 4); }
  std::string Margin(const std::optional<Real>& db) const {
    return db ? "margin " + Decibels(*db) : std::string("no exposure");
  }

 private:
  const NumberLocale& locale_;
};

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// ---- layout ----

void Line(std::string& out, const std::string& label, const std::string& value, size_t indent = 2) {
  std::string line = std::string(indent, ' ') + label;
  const size_t width = kLabelWidth + 2;
  const size_t used = TextWidth(line);
  line += used < width ? std::string(width - used, ' ') : " ";
  out += line + value + "\n";
}

// A unit stays on the line of its number: "m", "MHz);" and the like.
bool IsUnit(std::string word) {
  while (!word.empty() && std::string_view(").,;:").find(word.back()) != std::string_view::npos) {
    word.pop_back();
  }
  for (const char* unit : {"m", "MHz", "dB", "W", "W/m\u00b2", "%", "min"}) {
    if (word == unit) return true;
  }
  return false;
}

// `text` in lines of at most kTextWidth columns, the first starting with
// `first`, the others indented as far.
std::string Wrapped(const std::string& first, const std::string& text) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    std::string word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;  // the second blank after a full stop
    if (IsUnit(word) && !words.empty()) {
      words.back() += " " + word;
    } else {
      words.push_back(std::move(word));
    }
  }
  const std::string indent(TextWidth(first), ' ');
  std::string out;
  std::string line = first;
  bool bare = true;  // no word on the line yet
  for (const std::string& word : words) {
    if (!bare && TextWidth(line) + 1 + TextWidth(word) > kTextWidth) {
      out += line + "\n";
      line = indent;
      bare = true;
    }
    if (!bare) line += ' ';
    line += word;
    bare = false;
  }
  return out + line + "\n";
}

// Rows of cells in columns as wide as their widest cell, the headings
// underlined; columns marked right-aligned hold figures.
struct Table {
  std::vector<std::string> headings;
  std::vector<bool> right;
  std::vector<std::vector<std::string>> rows;

  std::string Text(size_t indent) const {
    std::vector<size_t> width(headings.size(), 0);
    const auto measure = [&width](const std::vector<std::string>& row) {
      for (size_t c = 0; c < row.size() && c < width.size(); ++c) {
        width[c] = std::max(width[c], TextWidth(row[c]));
      }
    };
    measure(headings);
    for (const auto& row : rows) measure(row);
    std::string out;
    const auto put = [&](const std::vector<std::string>& row) {
      std::string line(indent, ' ');
      for (size_t c = 0; c < width.size(); ++c) {
        const std::string cell = c < row.size() ? row[c] : std::string();
        const std::string pad(width[c] - TextWidth(cell), ' ');
        line += c < right.size() && right[c] ? pad + cell : cell + pad;
        if (c + 1 < width.size()) line += "  ";
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      out += line + "\n";
    };
    put(headings);
    std::string rule(indent, ' ');
    for (size_t c = 0; c < width.size(); ++c) {
      rule.append(width[c], '-').append(c + 1 < width.size() ? "  " : "");
    }
    out += rule + "\n";
    for (const auto& row : rows) put(row);
    return out;
  }
};

// ---- the program's words for the evaluation's values ----

std::string SetName(LimitSetChoice set, Tier tier) {
  return assess::SetTierName(set, tier);
}

std::string SetNameWithEdition(LimitSetChoice set) {
  switch (set) {
    case LimitSetChoice::Fcc:
      return "FCC 47 CFR 1.1310 (2021), both tiers";
    case LimitSetChoice::Icnirp2020:
      break;
    case LimitSetChoice::Icnirp1998:
      return "ICNIRP 1998 (1999/519/EC, 26. BImSchV), both tiers";
    case LimitSetChoice::Sc6:
      return "Health Canada Safety Code 6 (2015), both environments";
  }
  return "ICNIRP 2020 / ARPANSA RPS S-1 (2021), both tiers";
}

const char* ReasonWords(FrequencyReason reason) {
  switch (reason) {
    case FrequencyReason::Given:
      return "given";
    case FrequencyReason::LowerEdge:
      return "lower band edge";
    case FrequencyReason::UpperEdge:
      return "upper band edge";
    case FrequencyReason::Breakpoint:
      return "limit breakpoint";
    case FrequencyReason::InsideBand:
      return "peak inside the band";
  }
  return "";
}

std::string ModelWords(const CriterionResult& c, const Words& w) {
  switch (c.model) {
    case ExposureModel::FarField:
      return "far field";
    case ExposureModel::Aperture:
      return "aperture equations" +
             (c.scanKeepOutM ? " (calculator's model " + w.KeepOut(*c.scanKeepOutM) + ")"
                             : std::string());
    case ExposureModel::CalculatorScan:
      return "calculator's model" +
             (c.apertureKeepOutM ? " (aperture equations " + w.KeepOut(*c.apertureKeepOutM) + ")"
                                 : std::string());
  }
  return "";
}

// ---- sections ----

void Heading(std::string& out, const StationEvaluation& e, const std::string& fileName) {
  out += "Korrin station evaluation (" + VersionText() + ")\n\nStation\n";
  const auto given = [](const std::string& s) { return s.empty() ? "(not given)" : s; };
  Line(out, "File", fileName);
  Line(out, "Call sign", given(e.callsign));
  Line(out, "Site", given(e.site));
  Line(out, "Evaluated by", given(e.evaluatedBy));
  if (e.country) {
    const station::CountryRow* c = station::FindCountry(*e.country);
    Line(out, "Country", (c != nullptr ? c->name + " (" + *e.country + ")" : *e.country));
  }
  Line(out, "ITU region", std::to_string(e.region));
  std::string sets;
  for (LimitSetChoice set : e.limitSets) {
    sets += (sets.empty() ? "" : "; ") + SetNameWithEdition(set);
  }
  Line(out, "Limit sets", sets);
  Line(out, "Rules applied", assess::RulesAppliedText(e));
}

// The verdict on one line as the station window and the record give it,
// then every failure the line does not already give.
void VerdictSection(std::string& out, const StationEvaluation& e) {
  const std::string line = stationui::VerdictLine(e);
  out += "\nVerdict: " + line + "\n";
  for (const std::string& failure : e.verdict.failures) {
    if (line.find(failure) == std::string::npos) out += Wrapped("  - ", failure);
  }
}

std::string TransmitterWords(const InstallationResult& r, const Words& w) {
  std::string text = Quoted(r.transmitter) + ", " + w.Watts(r.transmitterPowerW) +
                     " peak envelope power, duty " + w.Percent(r.duty);
  switch (r.dutySource) {
    case assess::DutySource::Mode:
      text += " (" + r.mode + ")";
      break;
    case assess::DutySource::Duty:
      text += " (given)";
      break;
    case assess::DutySource::Assumed:
      text += " (assumed: no mode or duty given)";
      break;
  }
  if (r.onMinutes && r.offMinutes) {
    text += ", " + w.Minutes(*r.onMinutes) + " on / " + w.Minutes(*r.offMinutes) + " off";
    if (r.cycleSource == assess::CycleSource::Mode) text += " (the mode's own cycle)";
  } else {
    text += ", transmitting throughout (no cycle)";
  }
  return text;
}

// One row per criterion of each tier; the governing one marked when a tier
// has two.  Returns whether any row was marked.
bool ResultsTable(std::string& out, const InstallationResult& r, const Words& w) {
  Table t;
  t.headings = {
      "",    "Limit set and tier", "Criterion", "Frequency", "Chosen as", "Limit", "Power", "EIRP",
      "ERP", "Keep-out",           "Model"};
  t.right = {false, false, false, true, false, true, true, true, true, true, false};
  bool marked = false;
  for (const TierResult& tier : r.results) {
    const std::string averaged = SetName(tier.set, tier.tier) + ", " +
                                 w.Trimmed(tier.averagingMinutes, 2, 0) + "-minute average";
    const std::string instantaneous =
        SetName(tier.set, tier.tier) + ", nerve stimulation (" +
        (tier.set == LimitSetChoice::Sc6 ? "Safety Code 6" : "ICNIRP 2010") + ")";
    const CriterionResult* governing = tier.Governing();
    if (governing == nullptr) {
      t.rows.push_back(
          {"", averaged, "", "", "does not apply at " + w.Range(r.lowerMHz, r.upperMHz)});
      continue;
    }
    for (const Criterion criterion : {Criterion::TimeAveraged, Criterion::Instantaneous}) {
      const CriterionResult* c = tier.Find(criterion);
      if (c == nullptr) continue;
      const bool two = tier.timeAveraged && tier.instantaneous;
      const bool mark = two && c == governing;
      marked = marked || mark;
      const bool peak = criterion == Criterion::Instantaneous;
      t.rows.push_back({mark ? "*" : "", peak ? instantaneous : averaged,
                        assess::CriterionId(criterion), w.Megahertz(c->frequencyMHz),
                        ReasonWords(c->reason), w.Density(c->limitWm2),
                        w.Watts(c->powerW) + (peak ? " peak" : " average"), w.Watts(c->eirpW),
                        w.Watts(c->erpW), w.KeepOut(c->keepOutM), ModelWords(*c, w)});
    }
  }
  out += t.Text(2);
  return marked;
}

void ExemptionLines(std::string& out, const assess::InstallationExemption& x, const Words& w) {
  Line(out, "FCC exemption test",
       "47 CFR 1.1307(b)(3)(i)(C), at " + w.Megahertz(x.frequencyMHz) + " (" +
           ReasonWords(x.reason) + ")");
  Line(out, "ERP", w.Watts(x.erpW) + " (30-minute average, without ground reflection)", 4);
  Line(out, "Threshold met from", w.Metres(x.thresholdDistanceM), 4);
  Line(out, "\u03bb/2\u03c0", w.Metres(x.reactiveNearFieldM), 4);
  Line(out, "Minimum exempt distance", w.Metres(x.minimumDistanceM), 4);
  if (x.nearestPlace && x.distanceM && x.exempt) {
    Line(out, "Nearest uncontrolled place",
         Quoted(*x.nearestPlace) + ", " + w.Metres(*x.distanceM) + ": " +
             (*x.exempt ? "exempt" : "not exempt (the evaluation decides)"),
         4);
  } else {
    Line(out, "Nearest uncontrolled place", "none given", 4);
  }
}

void ThresholdLines(std::string& out, const assess::ThresholdResult& t, const Words& w) {
  Line(out, "Threshold test",
       assess::ThresholdTestName(t.test) + ", at " + w.Megahertz(t.frequencyMHz) + " (" +
           ReasonWords(t.reason) + ")");
  Line(out, "EIRP",
       w.Watts(t.eirpW) +
           (t.averagingMinutes ? " (" + w.Trimmed(*t.averagingMinutes, 2, 0) + "-minute average"
                               : std::string(" (peak envelope power")) +
           ", without ground reflection)",
       4);
  Line(out, "Threshold", w.Watts(t.thresholdW), 4);
  Line(out, "Result",
       std::string(t.below ? "below the threshold: " : "not below the threshold: ") +
           assess::ThresholdVerdictWords(t.test, t.below),
       4);
  out += Wrapped("    Source: ", t.source);
}

void Installation(std::string& out, const InstallationResult& r, const Words& w) {
  out += "\nInstallation " + Quoted(r.id) + ", group " + Quoted(r.group) + "\n";
  Line(out, "Transmitter", TransmitterWords(r, w));
  Line(out, "Feed line", r.feedline ? Quoted(*r.feedline) : "none (no loss)");
  Line(out, "Antenna",
       Quoted(r.antenna) + ", " + w.Fixed(r.gainDbi, 2) + " dBi, at x " +
           w.Position(r.positionM.xM) + ", y " + w.Position(r.positionM.yM) + ", height " +
           w.Position(r.positionM.heightM));
  std::string ground = r.groundFactor > 1 ? "on (factor " + w.Trimmed(r.groundFactor, 2, 0) + ")"
                       : r.groundReflectionAsked ? "asked, not applied (factor 1)"
                                                 : "off (factor 1)";
  Line(out, "Ground reflection", ground);
  std::string frequencies = w.Megahertz(r.lowerMHz) + " (given";
  if (r.upperMHz > r.lowerMHz) {
    frequencies = w.Range(r.lowerMHz, r.upperMHz) + " (band " + r.band.value_or("") +
                  ": its edges and every limit breakpoint inside";
  } else if (r.band) {
    frequencies += ", in band " + *r.band;
  }
  Line(out, "Frequencies evaluated", frequencies + ")");
  const std::string at = " at " + w.Megahertz(r.frequencyMHz);
  Line(out, "Feed-line loss", w.Decibels(r.feedLossDb) + at);
  Line(out, "Power at the antenna", w.Watts(r.powerAtAntennaW) + at);
  out += "\n";
  if (ResultsTable(out, r, w)) {
    out += Wrapped("  * ",
                   "governs the tier: the larger keep-out distance of its two criteria. Power is "
                   "the average over the tier's time, or the peak envelope power at the antenna "
                   "for the instantaneous criterion.");
  }
  if (r.fccExemption) {
    out += "\n";
    ExemptionLines(out, *r.fccExemption, w);
  }
  if (r.threshold) {
    out += "\n";
    ThresholdLines(out, *r.threshold, w);
  }
}

std::string Terms(const std::vector<assess::SumTerm>& terms, const Words& w) {
  std::string text;
  for (const assess::SumTerm& t : terms) {
    text += (text.empty() ? "" : ", ") + Quoted(t.installation) + " " + w.Sum(t.fraction);
  }
  return text;
}

void Place(std::string& out, const assess::PlaceResult& p, const Words& w) {
  out += "\nPlace " + Quoted(p.name) + "\n";
  Line(out, "Position",
       "x " + w.Position(p.positionM.xM) + ", y " + w.Position(p.positionM.yM) + ", height " +
           w.Position(p.positionM.heightM));
  Line(out, "Limits",
       p.controlled ? "controlled: occupational limits" : "uncontrolled: general-public limits");
  for (const auto& [installation, metres] : p.distancesM) {
    Line(out, "Distance to " + Quoted(installation), w.Metres(metres));
  }
  if (p.sums.empty() && p.fccExemptionSums.empty()) return;
  Table t;
  t.headings = {"Group", "Limit set and criterion", "Sum", "Margin", "", "Terms"};
  t.right = {false, false, true, true, false, false};
  for (const assess::PlaceSum& s : p.sums) {
    const bool fields = s.criterion == Criterion::Instantaneous;
    t.rows.push_back({Quoted(s.group),
                      SetName(s.set, s.tier) + (fields ? ", instantaneous (field ratios)" : ""),
                      w.Sum(s.sum), s.marginDb ? w.Decibels(*s.marginDb) : "no exposure",
                      s.sum > 1 ? "over the limit" : "within", Terms(s.terms, w)});
  }
  for (const assess::ExemptionSum& s : p.fccExemptionSums) {
    t.rows.push_back({Quoted(s.group), "FCC exemption (47 CFR 1.1307(b)(3)(ii)(B))", w.Sum(s.sum),
                      s.marginDb ? w.Decibels(*s.marginDb) : "no exposure",
                      s.sum > 1 ? "not exempt" : "exempt", Terms(s.terms, w)});
  }
  out += "\n" + t.Text(2);
}

void PropertySection(std::string& out, const StationEvaluation& e, const Words& w) {
  out += "\nProperty line\n";
  if (!e.propertyHeightM) {
    out += "  none given\n";
    return;
  }
  Line(out, "Checked at a height of", w.Position(*e.propertyHeightM));
  Table t;
  t.headings = {"Group", "Limit set and criterion", "Largest sum", "At", "Margin", ""};
  t.right = {false, false, true, false, true, false};
  for (const assess::PropertySum& s : e.property) {
    const bool fields = s.criterion == Criterion::Instantaneous;
    t.rows.push_back({Quoted(s.group),
                      SetName(s.set, s.tier) + (fields ? ", instantaneous (field ratios)" : ""),
                      w.Sum(s.maxSum), "x " + w.Position(s.atXM) + ", y " + w.Position(s.atYM),
                      s.marginDb ? w.Decibels(*s.marginDb) : "no exposure",
                      s.maxSum > 1 ? "over the limit" : "within"});
  }
  out += "\n" + t.Text(2);
}

}  // namespace

std::string StationText(const StationEvaluation& e, const std::string& fileName,
                        const NumberLocale& locale) {
  const Words w(locale);
  std::string out;
  Heading(out, e, fileName);
  VerdictSection(out, e);
  for (const InstallationResult& r : e.installations) Installation(out, r, w);
  for (const assess::PlaceResult& p : e.places) Place(out, p, w);
  PropertySection(out, e, w);
  out += "\nWarnings\n";
  if (e.warnings.empty()) out += "  none\n";
  for (const std::string& warning : e.warnings) out += Wrapped("  - ", warning);
  return out;
}

}  // namespace korrin::report
