// A station file's evaluation in korrin-report: the text report, the JSON
// object, the CSV rows, and the run that reads the file and prints one of
// them.  The evaluation itself is assess/StationEvaluation.h; these only
// show it.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/report/ReportJson.h"
#include "app/report/ReportOptions.h"
#include "assess/NearFieldStation.h"
#include "assess/StationEvaluation.h"
#include "core/StationState.h"
#include "ui/NumberText.h"

namespace korrin::report {

// The readable report (StationText.cpp): the station, the verdict and its
// failures, each installation with its keep-out distance per limit set,
// tier and criterion and its FCC exemption, each place with its distances
// and sums, the property line and the warnings.  Every figure with its
// unit, numbers in `locale`; `fileName` names the file in the heading.
std::string StationText(const assess::StationEvaluation& e, const std::string& fileName,
                        const NumberLocale& locale);

// The near field of the station's wire antennas, when it was asked for:
// each wire installation's, in the file's order.
using NearFieldList = std::vector<assess::NearFieldInstallation>;

// The "station", "installations", "places", "property", "verdict" and
// "warnings" of the JSON report (StationJson.cpp): metres, W/m², MHz, W,
// null where a figure does not apply.  With `nearField`, each installation
// has a "nearField" object too (null for one without a wire antenna).
JsonValue StationJson(const assess::StationEvaluation& e, const NearFieldList* nearField = nullptr);
// The same laid out as the report's other JSON, every real with its 21
// digits, ending with a newline.
std::string StationJsonReport(const assess::StationEvaluation& e,
                              const NearFieldList* nearField = nullptr);

// An installation's "nearField" object: the engine, its segments and the
// grid's step, and per limit set and tier the largest exposure at head
// height and where it is (site coordinates), the keep-out distances at head
// height and over the whole body, what governs the latter, and the exposure
// at each place (1 at the limit).  A near field that was not computed is
// its "error" and no results.
JsonValue NearFieldJson(const assess::NearFieldInstallation& n);

// One CSV row per installation, limit set and tier under a header row
// (StationCsv.cpp): the names of the JSON's keys, "." as the decimal point,
// an empty cell where a figure does not apply, lines ending in "\n".  With
// `nearField`, four columns more: the near field's largest exposure at head
// height, its keep-out distances at head height and over the whole body
// (">" before a distance that is only the computed plan's edge), and what
// governs the latter.
std::string StationCsv(const assess::StationEvaluation& e,
                       const NearFieldList* nearField = nullptr);

// A station's evaluation as the run reports it: the plain one, or one that
// takes more than this library computes (the near field of wire antennas
// through nec2c), with what that adds to the text report.
struct StationEvaluated {
  assess::StationEvaluation evaluation;
  std::string text;    // added to the text report
  std::string errors;  // what could not be made (status 1), one line each
  std::string usage;   // the options ask for what the file lacks: nothing is done (status 2)
  std::optional<NearFieldList> nearField;  // when asked for: in the JSON and the CSV
};

// The parts of a station file's run that need more than this library: the
// evaluation (empty: assess::Evaluate), and the files written besides the
// report, which need the Qt window (the site plan, the record), returning
// "" when every one asked for was written, else what was not, one line each.
struct StationRunParts {
  std::function<StationEvaluated(const station::Station&)> evaluate;
  std::function<std::string(const station::Station&, const assess::StationEvaluation&)> outputs;
};

// The run of korrin-report on a station file (StationRun.cpp): reads
// options.stationFile, evaluates it, writes its outputs, and prints its
// evaluation on `out` as text (in `locale`), JSON or CSV by the options.
// Returns the exit status: 0 when the station complies, 3 when it does not
// (the report is printed all the same), 1 when the file cannot be read or
// has errors (every error on `err` with its file, line and column; nothing
// on `out`, nothing written) or an output could not be made (the report
// printed), 2 when the evaluation finds the options ask for what the file
// lacks (nothing printed or written).
int RunStationFile(const Options& options, const NumberLocale& locale, std::ostream& out,
                   std::ostream& err, const StationRunParts& parts = {});

// --station-file: the calculator's station (its state after the settings
// and actions) written to options.station.writePath as a station file of
// one installation, with the call sign, site and evaluator of the options.
// Returns "" when written, else why not (the file then left as it was);
// `notes` receives what the file cannot hold (a hand-set limit, a
// withdrawn standard in use).
std::string WriteCalculatorStation(const Options& options, const StationState& state,
                                   std::vector<std::string>& notes);

}  // namespace korrin::report
