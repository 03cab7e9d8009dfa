#include "app/report/StationOutputs.h"

#include <memory>
#include <utility>

#include "app/report/ReportNearField.h"
#include "assess/StationEvaluation.h"
#include "station/StationFile.h"
#include "ui/station/ResultTables.h"

#ifdef KORRIN_REPORT_PICTURES
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <cstdlib>
#include <memory>

#include "ui/qt/station/SitePlanPainter.h"
#include "ui/qt/station/StationRecord.h"
#endif

namespace korrin::report {

namespace {

#ifdef KORRIN_REPORT_PICTURES

std::string WriteOutputs(const station::Station& s, const assess::StationEvaluation& e,
                         const NearFieldList& nearField, const Options& options) {
  if (options.sitePlanPath.empty() && options.recordPath.empty()) return {};
  // No display is needed: draw on the offscreen platform unless told otherwise.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "korrin-report";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QApplication> app;
  if (QCoreApplication::instance() == nullptr) app = std::make_unique<QApplication>(argc, argv);

  std::string errors;
  if (!options.sitePlanPath.empty()) {
    const std::string error = SaveSitePlanFile(stationui::SitePlanOf(s, e),
                                               QFile::decodeName(options.sitePlanPath.c_str()), {},
                                               QString::fromStdString(stationui::VerdictLine(e)));
    if (!error.empty()) errors += error + "\n";
  }
  if (!options.recordPath.empty()) {
    StationRecordInput input = StationRecordInputOf(
        s, e, nearField, QFile::decodeName(options.stationFile.c_str()), false, false);
    // The heading given on the command line stands over the station's own.
    if (!options.callSign.empty())
      input.heading.callSign = QString::fromStdString(options.callSign);
    if (!options.site.empty()) input.heading.site = QString::fromStdString(options.site);
    if (!options.evaluatedBy.empty()) {
      input.heading.evaluatedBy = QString::fromStdString(options.evaluatedBy);
    }
    const RecordPageSize paper = options.pageSize.empty() ? PageSizeForLocale(QLocale::system())
                                 : options.pageSize == "Letter" ? RecordPageSize::Letter
                                                                : RecordPageSize::A4;
    const std::string error =
        WriteStationRecord(QFile::decodeName(options.recordPath.c_str()), input, paper);
    if (!error.empty()) errors += error + "\n";
  }
  return errors;
}

#else

std::string WriteOutputs(const station::Station&, const assess::StationEvaluation&,
                         const NearFieldList&, const Options& options) {
  if (options.sitePlanPath.empty() && options.recordPath.empty()) return {};
  return "this korrin-report was built without the Qt window and cannot draw the site plan or "
         "the record\n";
}

#endif

}  // namespace

StationRunParts StationRunPartsOf(const Options& options) {
  StationRunParts parts;
  // The record holds the near field of the wire antennas, so it asks for it
  // too: the record, the text and the exit status tell the same evaluation.
  const auto nearField = std::make_shared<NearFieldList>();
  if (options.nearField || !options.recordPath.empty()) {
    // With the near field of its wire antennas (app/report/ReportNearField.h).
    parts.evaluate = [&options, nearField](const station::Station& s) {
      NearFieldOutcome near = RunNearField(s, options);
      *nearField = near.nearField.installations;
      return StationEvaluated{std::move(near.nearField.evaluation), std::move(near.text),
                              std::move(near.errors), std::move(near.usage),
                              std::move(near.nearField.installations)};
    };
  }
  parts.outputs = [&options, nearField](const station::Station& s,
                                        const assess::StationEvaluation& e) {
    return WriteOutputs(s, e, *nearField, options);
  };
  return parts;
}

}  // namespace korrin::report
