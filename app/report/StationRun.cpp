// korrin-report on a station file: read it, evaluate it, print the report.
#include <string>

#include "app/report/StationReport.h"
#include "station/FromCalculator.h"
#include "station/StationFile.h"

namespace korrin::report {

int RunStationFile(const Options& options, const NumberLocale& locale, std::ostream& out,
                   std::ostream& err, const StationRunParts& parts) {
  const station::ReadResult read = station::ReadStationFile(options.stationFile);
  // A file with any error is not evaluated at all: a part of a station
  // passes for the whole of it.
  if (!read.station || !read.errors.empty()) {
    err << station::FormatDiagnostics(read.errors);
    const size_t n = read.errors.size();
    err << "korrin-report: " << n << (n == 1 ? " error" : " errors") << " in the station file \""
        << options.stationFile << "\"; nothing was evaluated, reported or written\n";
    return 1;
  }
  StationEvaluated evaluated;
  if (parts.evaluate) {
    evaluated = parts.evaluate(*read.station);
  } else {
    evaluated.evaluation = assess::Evaluate(*read.station);
  }
  if (!evaluated.usage.empty()) {
    err << "korrin-report: " << evaluated.usage << "; nothing was written\n";
    return 2;
  }
  const assess::StationEvaluation& e = evaluated.evaluation;
  const std::string failed =
      (parts.outputs ? parts.outputs(*read.station, e) : std::string()) + evaluated.errors;
  const NearFieldList* nearField = evaluated.nearField ? &*evaluated.nearField : nullptr;
  if (options.json) {
    out << StationJsonReport(e, nearField);
  } else if (options.station.csv) {
    out << StationCsv(e, nearField);
  } else {
    out << StationText(e, options.stationFile, locale);
    if (!evaluated.text.empty()) out << "\n" << evaluated.text;
  }
  out << std::flush;
  if (!failed.empty()) {
    err << "korrin-report: " << failed;
    return 1;
  }
  return e.verdict.complies ? 0 : 3;
}

std::string WriteCalculatorStation(const Options& options, const StationState& state,
                                   std::vector<std::string>& notes) {
  const std::string& path = options.station.writePath;
  if (path.empty()) return "";
  station::Station s = station::FromCalculator(state);
  s.callsign = options.callSign;
  s.site = options.site;
  s.evaluatedBy = options.evaluatedBy;
  // A station file is evaluated against FCC 47 CFR 1.1310 and ICNIRP 2020,
  // both tiers; a limit the window holds besides those is not carried over.
  const std::string evaluated =
      " is not part of a station file: \"" + path +
      "\" is evaluated against FCC 47 CFR 1.1310 (2021) and ICNIRP 2020, both tiers";
  if (state.StandardVariable) {
    notes.push_back("the hand-set limit of " + FixedText(state.RadiationLimit, 18, 3) +
                    " W/m\u00b2" + evaluated);
  } else if (state.StandardAS2772) {
    notes.push_back("the window's standard, AS2772 (withdrawn)," + evaluated);
  } else if (state.StandardARPANSA) {
    notes.push_back("the window's standard, ARPANSA (2002, superseded)," + evaluated);
  }
  if (const std::optional<std::string> error = station::SaveStationFile(path, s)) {
    return "cannot write the station file " + path + " (" + *error + ")";
  }
  return "";
}

}  // namespace korrin::report
